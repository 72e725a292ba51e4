#pragma once
// Form1: the one borderless, maximized window. It owns every region, the
// shared connection, the query objects, the stored view definitions and the
// scheduler with its four timers, for the whole life of the process.
#include "data/connection.h"
#include "data/query.h"
#include "schedule/scheduler.h"

#include <QString>
#include <QWidget>
#include <array>
#include <functional>
#include <memory>

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

    // The refresh routines, run by the scheduler's batches. Their numbers are
    // the designer's buttons, not the charts'. Charts sit in two rows of three:
    // Chart1, Chart3, Chart5 on top, Chart2, Chart4, Chart6 below.
    //
    //   routine       query      fills        panels/                                     on failure
    //   Button1Click  ADOQuery1  Chart1       share_pies       refreshPaymentChannels     creates V_W_dsj_jfqd (Memo1)
    //   Button2Click  ADOQuery8  Chart3       daily_workload   refreshDailyWorkload       status cell
    //   Button3Click  ADOQuery3  Chart2       yearly_charges   refreshYearlyCharges       creates V_W_dsj_jd1 (Memo2)
    //   Button4Click  ADOQuery4  Chart4       fee_recovery     refreshFeeRecovery         creates V_W_dsj_jd2 (Memo3)
    //   Button5Click  ADOQuery5  StringGrid1  recent_payments  refillRecentPayments       status cell
    //   Button6Click  ADOQuery6  Chart5       share_pies       refreshWaterUseCategories  creates V_W_dsj_yslb (Memo4)
    //   Button8Click  ADOQuery7  Chart6       share_pies       refreshReadingStatus       status cell
    //
    // Besides them the scheduler's Timer4 runs runStartupProbe (startup_probe)
    // on ADOQuery1 and writes the banner, Panel2; Timer1 steps the ticker
    // (scrollRecentPayments), which calls Button5Click at the end of each pass.
    void Button1Click();
    void Button2Click();
    void Button3Click();
    void Button4Click();
    void Button5Click();
    void Button6Click();
    void Button8Click();

    // The window's parts, for snapshots and tests.
    Connection& connection() { return ADOConnection1; }
    Scheduler& scheduler() { return *scheduler_; }
    Panel& banner() { return *Panel2; }
    Panel& band() { return *Panel1; }
    Panel& headingStrip() { return *Panel3; }
    TickerGrid& grid() { return *StringGrid1; }
    chart::ChartWidget& chartWidget(int number) { return *charts_.at(number - 1); }
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

    WindowOptions options_;
    double dpiScale_ = 1.0;
    bool errorBoxOpen_ = false;

    // Declared before the queries: they detach from it when they go.
    Connection ADOConnection1;
    Query ADOQuery1, ADOQuery3, ADOQuery4, ADOQuery5, ADOQuery6, ADOQuery7, ADOQuery8;
    // The stored CREATE VIEW texts, lines joined by CR LF.
    QString Memo1, Memo2, Memo3, Memo4;

    Panel* Panel2 = nullptr;      // banner
    Panel* Panel1 = nullptr;      // ticker band
    Panel* Panel3 = nullptr;      // heading strip
    TickerGrid* StringGrid1 = nullptr;
    std::array<QLabel*, 7> labels_{};
    std::array<chart::ChartWidget*, 6> charts_{}; // Chart1..Chart6
    std::unique_ptr<TickerBandAdapter> tickerBand_;
    std::unique_ptr<ServerAnswerCheck> serverAnswerCheck_;
    std::unique_ptr<Scheduler> scheduler_;
};

} // namespace kvet
