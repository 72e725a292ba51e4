#include "panels/daily_workload.h"

#include "chart/chart_model.h"
#include "data/connection.h"
#include "data/failure.h"
#include "data/query.h"
#include "panels/panel_colors.h"
#include "panels/panel_table.h"
#include "panels/point_labels.h"
#include "panels/status_cell.h"

namespace kvet::panels {

void refreshDailyWorkload(const PanelEntry& entry, PanelRun& run)
{
    Query& query = run.query;
    run.chart->setTitle(entry.title);
    chart::Series& bars = run.chart->series(0);
    bars.clear();
    try {
        query.close();
        query.setSql(entry.statement);
        query.open();
        while (!query.eof()) {
            const auto count = query.fieldByName(entry.reads.at(0).column).asInteger();
            const auto day = dayOfMonth(query.fieldByName(entry.reads.at(1).column).asString());
            bars.add(static_cast<double>(count), QString::number(day) + QStringLiteral("日"), kOrange);
            query.next();
        }
    } catch (const std::exception& e) {
        run.status.showStatus(messageOf(e));
        run.connection.close();
    }
}

} // namespace kvet::panels
