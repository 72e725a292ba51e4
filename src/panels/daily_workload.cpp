#include "panels/daily_workload.h"

#include "chart/chart_model.h"
#include "data/connection.h"
#include "data/dashboard_sql.h"
#include "data/failure.h"
#include "data/field.h"
#include "data/query.h"
#include "panels/panel_colors.h"
#include "panels/status_cell.h"

namespace kvet::panels {

void refreshDailyWorkload(chart::Chart& chart, Query& query, Connection& connection, StatusCell& status)
{
    chart.setTitle(QStringLiteral("每日抄表工作量"));
    chart::Series& bars = chart.series(0);
    bars.clear();
    try {
        query.close();
        query.setSql(QString::fromUtf8(statements::kDailyWorkload));
        query.open();
        while (!query.eof()) {
            const auto count = query.fieldByName(QStringLiteral("hj")).asInteger();
            const QString date = query.fieldByName(QStringLiteral("cbrq1")).asString();
            // The day is the last two characters of cbrq1 (yymmdd), read as a
            // text field's whole number: "05" gives 5, and a day that is no
            // number fails with the message a text column gives.
            const auto day = Field(lastTwo(date), ColumnKind::Text).asInteger();
            bars.add(static_cast<double>(count), QString::number(day) + QStringLiteral("日"), kOrange);
            query.next();
        }
    } catch (const std::exception& e) {
        status.showStatus(messageOf(e));
        connection.close();
    }
}

} // namespace kvet::panels
