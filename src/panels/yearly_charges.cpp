#include "panels/yearly_charges.h"

#include "chart/chart_model.h"
#include "data/connection.h"
#include "data/dashboard_sql.h"
#include "data/query.h"
#include "data/view_repair.h"
#include "panels/panel_colors.h"

namespace kvet::panels {

void refreshYearlyCharges(chart::Chart& chart, Query& query, Connection& connection,
                          const QString& viewDefinition)
{
    try {
        query.close();
        query.setSql(QString::fromUtf8(statements::kYearlyCharges));
        query.open();
        chart.clearTitle();
        chart.addTitleLine(firstFour(query.fieldByName(QStringLiteral("rq")).asString()) +
                           QStringLiteral("年度收费情况(单位:万元)"));
        chart::Series& line = chart.series(0);
        line.clear();
        while (!query.eof()) {
            const auto value = query.fieldByName(QStringLiteral("je")).asInteger();
            const QString month = lastTwo(query.fieldByName(QStringLiteral("rq")).asString());
            line.add(static_cast<double>(value), month + QStringLiteral("月"), kYellow);
            query.next();
        }
    } catch (const std::exception&) {
        repairView(query, viewDefinition);
        connection.close();
    }
}

} // namespace kvet::panels
