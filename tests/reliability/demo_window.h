#pragma once
// The real window, scheduler and panels on a copy of the demo database, with
// every database call passing through a FaultyBackend. The timers are set far
// beyond any test's length, so nothing fires by itself: the tests call the
// scheduler's slots, and every run makes the same calls in the same order.
#include "app/main_window.h"
#include "app/snapshot.h"
#include "data/sqlite/sqlite_backend.h"
#include "support/faulty_backend.h"

#include <QDateTime>
#include <QStringList>
#include <memory>
#include <ostream>

// Readable texts in failure messages (also inside QStringList).
inline void PrintTo(const QString& text, std::ostream* os)
{
    *os << '"' << text.toStdString() << '"';
}

namespace kvet::testing {

// The moment the sample data are made relative to, unless a test picks another.
QDateTime demoMoment();

// Timers that never fire during a test.
SchedulerIntervals manualIntervals();

// A fresh in-memory copy of the sample made for `moment`, with its four
// views. The sample itself is made once per moment and process.
std::unique_ptr<SqliteBackend> demoCopy(const QDateTime& moment, SqliteBackend::Clock clock);

class DemoWindow {
public:
    explicit DemoWindow(const QDateTime& moment = demoMoment(), SchedulerIntervals intervals = manualIntervals(),
                        const panels::PanelTable& table = panels::dashboardPanels());
    ~DemoWindow();
    DemoWindow(const DemoWindow&) = delete;
    DemoWindow& operator=(const DemoWindow&) = delete;

    TForm1& form() { return *form_; }
    Scheduler& scheduler() { return form_->scheduler(); }
    SqliteBackend& database() { return *database_; }
    FaultyBackend& backend() { return *backend_; }
    FaultPlan& plan() { return *plan_; }
    const QStringList& errorBoxes() const { return errorBoxes_; }

    // The server's clock (getdate()); starts at the sample's moment.
    QDateTime now() const { return *now_; }
    void setNow(const QDateTime& moment) { *now_ = moment; }

    // The server refuses new sessions and breaks the open one, or takes them again.
    void serverDown(const QString& message);
    void serverUp();

    // Runs SQL on the database directly, as another program would.
    void sql(const QString& statement);
    bool viewExists(const QString& name);
    // The first column of the first row, as text.
    QString scalar(const QString& query);

    // The scroll step that ends a pass: the grid jumps back below the band and
    // is refilled (Button5Click through the scheduler's Timer1Timer).
    void endTickerPass();

    ScreenState screen() { return captureScreen(*form_); }
    QByteArray snapshot() { return snapshotJson(screen()); }

private:
    std::shared_ptr<QDateTime> now_;
    std::shared_ptr<FaultPlan> plan_;
    SqliteBackend* database_ = nullptr; // owned through backend_
    FaultyBackend* backend_ = nullptr;  // owned by the window's connection
    QStringList errorBoxes_;
    std::unique_ptr<TForm1> form_;
};

// Title and every series' points equal.
bool sameChart(const ChartState& a, const ChartState& b);
// For failure messages: the chart's title and points, short.
std::string describeChart(const ChartState& chart);

} // namespace kvet::testing
