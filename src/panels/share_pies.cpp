#include "panels/share_pies.h"

#include "chart/chart_model.h"
#include "data/connection.h"
#include "data/dashboard_sql.h"
#include "data/failure.h"
#include "data/query.h"
#include "data/view_repair.h"
#include "panels/status_cell.h"

namespace kvet::panels {
namespace {

// Runs the statement and adds one automatic-colour slice per row.
void fillSlices(chart::Series& slices, Query& query, const char* statement, const QString& valueColumn,
                const QString& labelColumn)
{
    query.close();
    query.setSql(QString::fromUtf8(statement));
    query.open();
    while (!query.eof()) {
        const auto value = query.fieldByName(valueColumn).asInteger();
        const QString label = query.fieldByName(labelColumn).asString();
        slices.add(static_cast<double>(value), label, chart::kAutoColor);
        query.next();
    }
}

void refreshViewPie(chart::Chart& chart, Query& query, Connection& connection, const QString& viewDefinition,
                    const QString& title, const char* statement, const QString& valueColumn,
                    const QString& labelColumn)
{
    chart.setTitle(title);
    chart::Series& slices = chart.series(0);
    slices.clear();
    try {
        fillSlices(slices, query, statement, valueColumn, labelColumn);
    } catch (const std::exception&) {
        // The view is probably missing: create it; the next batch fills the pie.
        repairView(query, viewDefinition);
        connection.close();
    }
}

} // namespace

void refreshPaymentChannels(chart::Chart& chart, Query& query, Connection& connection,
                            const QString& viewDefinition)
{
    refreshViewPie(chart, query, connection, viewDefinition, QStringLiteral("近30天缴费渠道占比"),
                   statements::kPaymentChannels, QStringLiteral("hj"), QStringLiteral("ren"));
}

void refreshWaterUseCategories(chart::Chart& chart, Query& query, Connection& connection,
                               const QString& viewDefinition)
{
    refreshViewPie(chart, query, connection, viewDefinition, QStringLiteral("用水类别占比"),
                   statements::kWaterUseCategories, QStringLiteral("数量"), QStringLiteral("用水类别"));
}

void refreshReadingStatus(chart::Chart& chart, Query& query, Connection& connection, StatusCell& status)
{
    chart.setTitle(QStringLiteral("抄录状态统计"));
    try {
        chart.series(0).clear();
        fillSlices(chart.series(0), query, statements::kReadingStatus, QStringLiteral("lr"), QStringLiteral("zt"));
    } catch (const std::exception& e) {
        status.showStatus(messageOf(e));
        connection.close();
    }
}

} // namespace kvet::panels
