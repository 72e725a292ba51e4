#include "tds/dashboard_window.h"

#include "chart/chart_model.h"
#include "data/odbc/odbc_backend.h"
#include "screen/ticker_grid.h"

#include <climits>

namespace kvet::testing {

SchedulerIntervals manualTimers()
{
    SchedulerIntervals i;
    i.scrollMs = i.firstRefreshMs = i.periodicMs = i.probeMs = i.probeRetryMs = INT_MAX;
    return i;
}

void Dashboard::startUp()
{
    scheduler().Timer4Timer();
    scheduler().Timer2Timer();
}

namespace {

std::unique_ptr<Dashboard> dashboard(std::unique_ptr<Backend> backend, const QString& connectionString,
                                     bool askServer = false)
{
    auto d = std::make_unique<Dashboard>();
    WindowOptions o;
    o.readSettingsFile = false;
    o.connectionString = connectionString;
    o.intervals = manualTimers();
    o.askServerBeforeProbeRetries = askServer;
    o.errorBox = [boxes = &d->errorBoxes](const QString& m) { *boxes << m; };
    d->form = std::make_unique<TForm1>(std::move(backend), o);
    return d;
}

} // namespace

std::unique_ptr<Dashboard> odbcDashboard(const QString& connectionString, bool askServer)
{
    return dashboard(std::make_unique<OdbcBackend>(), connectionString, askServer);
}

std::unique_ptr<Dashboard> sqliteDashboard(std::unique_ptr<Backend> database)
{
    return dashboard(std::move(database), QStringLiteral("Provider=SQLite;Data Source=kvet-demo"));
}

int filledCharts(TForm1& form)
{
    int filled = 0;
    for (int c = 1; c <= 6; ++c)
        if (!form.chart(c).series(0).points().empty())
            ++filled;
    return filled;
}

int filledTickerRows(TForm1& form)
{
    int filled = 0;
    for (int row = 0; row < 15; ++row)
        if (!form.grid().cell(0, row).isEmpty())
            ++filled;
    return filled;
}

} // namespace kvet::testing
