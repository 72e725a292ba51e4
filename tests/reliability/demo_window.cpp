#include "reliability/demo_window.h"

#include "data/failure.h"
#include "data/sqlite/demo_database.h"
#include "data/sqlite/sqlite_handles.h"
#include "screen/ticker_grid.h"
#include "support/sample_copy.h"

#include <climits>
#include <map>

namespace kvet::testing {

QDateTime demoMoment()
{
    return QDateTime(QDate(2026, 6, 15), QTime(10, 30, 0));
}

SchedulerIntervals manualIntervals()
{
    SchedulerIntervals i;
    i.scrollMs = i.firstRefreshMs = i.periodicMs = i.probeMs = i.probeRetryMs = INT_MAX;
    return i;
}

std::unique_ptr<SqliteBackend> demoCopy(const QDateTime& moment, SqliteBackend::Clock clock)
{
    return copyOfSample(moment, true, std::move(clock));
}

DemoWindow::DemoWindow(const QDateTime& moment, SchedulerIntervals intervals, const panels::PanelTable& table)
    : now_(std::make_shared<QDateTime>(moment)), plan_(std::make_shared<FaultPlan>())
{
    auto database = demoCopy(moment, [now = now_] { return *now; });
    database_ = database.get();
    auto backend = std::make_unique<FaultyBackend>(std::move(database), plan_);
    backend_ = backend.get();
    WindowOptions o;
    o.readSettingsFile = false;
    o.connectionString = demoConnectionString();
    o.intervals = intervals;
    o.panelTable = table;
    o.errorBox = [this](const QString& message) { errorBoxes_ << message; };
    form_ = std::make_unique<TForm1>(std::move(backend), o);
}

DemoWindow::~DemoWindow() = default;

void DemoWindow::serverDown(const QString& message)
{
    database_->setRefuseConnections(true, message);
    backend_->breakSession(message);
}

void DemoWindow::serverUp()
{
    database_->setRefuseConnections(false);
}

void DemoWindow::sql(const QString& statement)
{
    sqlite::exec(database_->handle(), statement.toUtf8().constData());
}

bool DemoWindow::viewExists(const QString& name)
{
    QString quoted = name;
    quoted.replace(u'\'', QStringLiteral("''"));
    return scalar(QStringLiteral("SELECT count(*) FROM sqlite_master WHERE type = 'view' AND name = '%1'")
                      .arg(quoted)) != QStringLiteral("0");
}

QString DemoWindow::scalar(const QString& query)
{
    sqlite::StatementHandle s = sqlite::prepare(database_->handle(), query.toUtf8());
    if (!s || sqlite3_step(s.get()) != SQLITE_ROW)
        return {};
    return QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(s.get(), 0)));
}

void DemoWindow::endTickerPass()
{
    // The step refills once the grid's bottom is 50 pixels or less below the
    // band's top; every step before that only moves the grid.
    TickerGrid& grid = form_->grid();
    grid.move(grid.x(), 50 - grid.height());
    form_->scheduler().Timer1Timer();
}

bool sameChart(const ChartState& a, const ChartState& b)
{
    return a.name == b.name && a.title == b.title && a.series == b.series;
}

std::string describeChart(const ChartState& chart)
{
    QString out = chart.name + QStringLiteral(" \"") + chart.title + QStringLiteral("\"");
    for (const auto& [name, points] : chart.series) {
        out += QStringLiteral(" %1:[").arg(name);
        for (const auto& p : points)
            out += QStringLiteral("%1 %2, ").arg(p.value).arg(QString(p.label).replace(u'\r', u'|'));
        out += u']';
    }
    return out.toStdString();
}

} // namespace kvet::testing
