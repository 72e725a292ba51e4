#include "panels/fee_recovery.h"

#include "chart/chart_model.h"
#include "data/query.h"
#include "data/view_repair.h"
#include "panels/panel_colors.h"
#include "panels/panel_table.h"
#include "panels/point_labels.h"

namespace kvet::panels {
namespace {

void runOnce(const PanelEntry& entry, PanelRun& run, bool isRerun)
{
    Query& query = run.query;
    chart::Chart& chart = *run.chart;
    try {
        query.close();
        query.setSql(entry.statement);
        query.open();
        chart.clearTitle();
        chart.addTitleLine(firstFour(query.fieldByName(entry.firstRowReads.at(0).column).asString()) +
                           QStringLiteral("年度") + entry.title + QStringLiteral("(单位:万元)"));
        chart::Series& collected = chart.series(0);
        chart::Series& unpaid = chart.series(1);
        collected.clear();
        unpaid.clear();
        while (!query.eof()) {
            const QString month = lastTwo(query.fieldByName(entry.reads.at(0).column).asString());
            const auto paid = query.fieldByName(entry.reads.at(1).column).asInteger();
            collected.add(static_cast<double>(paid), month + QStringLiteral("月"), kOrange);
            const auto open = query.fieldByName(entry.reads.at(2).column).asInteger();
            unpaid.add(static_cast<double>(open), QStringLiteral("未交\r") + month + QStringLiteral("月"), kYellow);
            query.next();
        }
    } catch (const std::exception&) {
        repairView(query, *run.viewDefinition);
        // Guard against a loop when the repair itself keeps succeeding.
        if (!isRerun)
            runOnce(entry, run, true);
    }
}

} // namespace

void refreshFeeRecovery(const PanelEntry& entry, PanelRun& run)
{
    runOnce(entry, run, false);
}

} // namespace kvet::panels
