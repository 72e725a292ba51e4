#pragma once
// Form1: the one borderless, maximized window. It owns every region, the
// shared connection, the query objects, the stored view definitions and the
// scheduler with its four timers, for the whole life of the process.
#include "data/connection.h"
#include "data/query.h"
#include "panels/panel_table.h"
#include "schedule/scheduler.h"

#include <QString>
#include <QWidget>
#include <array>
#include <functional>
#include <map>
#include <memory>
#include <vector>

class QLabel;

namespace kvet {

class ServerAnswerCheck;

class Panel;
class TickerGrid;
class TickerBandAdapter;
namespace chart {
class Chart;
class ChartWidget;
} // namespace chart

struct WindowOptions {
    // kvet reads kvet.ini beside itself; the demo hands its own connection string.
    bool readSettingsFile = true;
    QString settingsPath;     // empty: beside the executable
    QString connectionString; // used when the settings file is not read
    SchedulerIntervals intervals;
    // Shows the modal error box; tests replace it with a recorder.
    std::function<void(const QString& message)> errorBox;
    // Runs once, after the first full refresh batch has finished.
    std::function<void()> onFirstRefreshDone;
    // Retries of a failed start-up probe first ask the SQL Server named in the
    // connection string, without blocking, whether it answers (kvet on a real
    // server; the demo's database is always there).
    bool askServerBeforeProbeRetries = false;
    // The charts and the ticker the window shows, refreshes and lays out.
    panels::PanelTable panelTable = panels::dashboardPanels();
};

class TForm1 : public QWidget {
    Q_OBJECT
public:
    TForm1(std::unique_ptr<Backend> backend, WindowOptions options = {});
    ~TForm1() override;

    // Shows the window over the whole screen, with or without a window manager.
    void showFullScreenMaximized();

    // A failure that no routine caught: the modal error box with the
    // application's title, unless a box is already open (then the status cell).
    void showUncaught(const QString& message);

    // Runs the refresh routine of the table's entry named `routineName`
    // ("Button1Click"), as the batches do. Throws std::out_of_range for a
    // name the table does not hold; otherwise only what the routine lets out
    // (the failure of its own repair or close).
    void runRoutine(const QString& routineName);

    // The window's parts, for snapshots and tests.
    Connection& connection() { return ADOConnection1; }
    Scheduler& scheduler() { return *scheduler_; }
    Panel& banner() { return *Panel2; }
    Panel& band() { return *Panel1; }
    Panel& headingStrip() { return *Panel3; }
    TickerGrid& grid() { return *StringGrid1; }
    const panels::PanelTable& panelTable() const { return options_.panelTable; }
    // The chart named "Chart<number>" (or `name`); throws std::out_of_range if none.
    chart::ChartWidget& chartWidget(const QString& name);
    chart::ChartWidget& chartWidget(int number) { return chartWidget(QStringLiteral("Chart%1").arg(number)); }
    chart::Chart& chart(int number);
    QLabel& heading(int number) { return *labels_.at(number - 1); }
    double dpiScale() const { return dpiScale_; }

protected:
    void resizeEvent(QResizeEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void FormCreate();
    void FormResize();
    void FormDblClick();
    void Panel2DblClick();
    void buildRegions();
    void applySettings();
    SchedulerHooks schedulerHooks();
    void runEntry(const panels::PanelEntry& entry);
    Query& query(const QString& name);

    WindowOptions options_;
    double dpiScale_ = 1.0;
    bool errorBoxOpen_ = false;

    // Declared before the queries: they detach from it when they go.
    Connection ADOConnection1;
    // ADOQuery1 (the probe's) first, then one per query name of the table.
    std::vector<std::unique_ptr<Query>> queries_;
    // The stored CREATE VIEW texts of the views the table's panels read
    // (the designer's Memo1 to Memo4), lines joined by CR LF.
    std::map<ReportingView, QString> viewDefinitions_;

    Panel* Panel2 = nullptr;      // banner
    Panel* Panel1 = nullptr;      // ticker band
    Panel* Panel3 = nullptr;      // heading strip
    TickerGrid* StringGrid1 = nullptr;
    std::array<QLabel*, 7> labels_{};
    std::vector<chart::ChartWidget*> charts_; // per table entry; null for the ticker
    std::unique_ptr<TickerBandAdapter> tickerBand_;
    std::unique_ptr<ServerAnswerCheck> serverAnswerCheck_;
    std::unique_ptr<Scheduler> scheduler_;
};

} // namespace kvet
