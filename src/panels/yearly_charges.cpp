#include "panels/yearly_charges.h"

#include "chart/chart_model.h"
#include "data/connection.h"
#include "data/query.h"
#include "data/view_repair.h"
#include "panels/panel_colors.h"
#include "panels/panel_table.h"
#include "panels/point_labels.h"

namespace kvet::panels {

void refreshYearlyCharges(const PanelEntry& entry, PanelRun& run)
{
    Query& query = run.query;
    try {
        query.close();
        query.setSql(entry.statement);
        query.open();
        run.chart->clearTitle();
        run.chart->addTitleLine(firstFour(query.fieldByName(entry.firstRowReads.at(0).column).asString()) +
                                entry.title + QStringLiteral("(单位:万元)"));
        chart::Series& line = run.chart->series(0);
        line.clear();
        while (!query.eof()) {
            const auto value = query.fieldByName(entry.reads.at(0).column).asInteger();
            const QString month = lastTwo(query.fieldByName(entry.reads.at(1).column).asString());
            line.add(static_cast<double>(value), month + QStringLiteral("月"), kYellow);
            query.next();
        }
    } catch (const std::exception&) {
        repairView(query, *run.viewDefinition);
        run.connection.close();
    }
}

} // namespace kvet::panels
