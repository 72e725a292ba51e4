#include "panels/fee_recovery.h"

#include "chart/chart_model.h"
#include "data/dashboard_sql.h"
#include "data/query.h"
#include "data/view_repair.h"
#include "panels/panel_colors.h"

namespace kvet::panels {
namespace {

void runOnce(chart::Chart& chart, Query& query, const QString& viewDefinition, bool isRerun)
{
    try {
        query.close();
        query.setSql(QString::fromUtf8(statements::kFeeRecovery));
        query.open();
        chart.clearTitle();
        chart.addTitleLine(firstFour(query.fieldByName(QStringLiteral("jfsj")).asString()) +
                           QStringLiteral("年度水费回收情况(单位:万元)"));
        chart::Series& collected = chart.series(0);
        chart::Series& unpaid = chart.series(1);
        collected.clear();
        unpaid.clear();
        while (!query.eof()) {
            const QString month = lastTwo(query.fieldByName(QStringLiteral("jfsj")).asString());
            const auto paid = query.fieldByName(QStringLiteral("sf")).asInteger();
            collected.add(static_cast<double>(paid), month + QStringLiteral("月"), kOrange);
            const auto open = query.fieldByName(QStringLiteral("tq")).asInteger();
            unpaid.add(static_cast<double>(open), QStringLiteral("未交\r") + month + QStringLiteral("月"), kYellow);
            query.next();
        }
    } catch (const std::exception&) {
        repairView(query, viewDefinition);
        // Guard against a loop when the repair itself keeps succeeding.
        if (!isRerun)
            runOnce(chart, query, viewDefinition, true);
    }
}

} // namespace

void refreshFeeRecovery(chart::Chart& chart, Query& query, const QString& viewDefinition)
{
    runOnce(chart, query, viewDefinition, false);
}

} // namespace kvet::panels
