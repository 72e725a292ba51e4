#include "panels/share_pies.h"

#include "chart/chart_model.h"
#include "data/connection.h"
#include "data/failure.h"
#include "data/query.h"
#include "data/view_repair.h"
#include "panels/panel_table.h"
#include "panels/status_cell.h"

namespace kvet::panels {
namespace {

// Runs the statement and adds one automatic-colour slice per row.
void fillSlices(chart::Series& slices, Query& query, const PanelEntry& entry)
{
    const QString& valueColumn = entry.reads.at(0).column;
    const QString& labelColumn = entry.reads.at(1).column;
    query.close();
    query.setSql(entry.statement);
    query.open();
    while (!query.eof()) {
        const auto value = query.fieldByName(valueColumn).asInteger();
        const QString label = query.fieldByName(labelColumn).asString();
        slices.add(static_cast<double>(value), label, chart::kAutoColor);
        query.next();
    }
}

} // namespace

void refreshViewPie(const PanelEntry& entry, PanelRun& run)
{
    run.chart->setTitle(entry.title);
    chart::Series& slices = run.chart->series(0);
    slices.clear();
    try {
        fillSlices(slices, run.query, entry);
    } catch (const std::exception&) {
        // The view is probably missing: create it; the next batch fills the pie.
        repairView(run.query, *run.viewDefinition);
        run.connection.close();
    }
}

void refreshStatusPie(const PanelEntry& entry, PanelRun& run)
{
    run.chart->setTitle(entry.title);
    try {
        run.chart->series(0).clear();
        fillSlices(run.chart->series(0), run.query, entry);
    } catch (const std::exception& e) {
        run.status.showStatus(messageOf(e));
        run.connection.close();
    }
}

} // namespace kvet::panels
