#pragma once
// The three share pies: payment channels of the last 30 days (Chart1),
// metered accounts by water-use category (Chart5) and this cycle's readings
// entered against not entered (Chart6). One slice per result row, in the order
// the rows arrive, each with the automatic palette colour.
#include <QString>

namespace kvet {
class Connection;
class Query;
class StatusCell;
namespace chart { class Chart; }
} // namespace kvet

namespace kvet::panels {

// Button1Click. A failed query creates V_W_dsj_jfqd from its stored text and
// closes the connection; the pie, cleared first, stays empty until next time.
void refreshPaymentChannels(chart::Chart& chart, Query& query, Connection& connection,
                            const QString& viewDefinition);

// Button6Click: the same for V_W_dsj_yslb, categories above 100 accounts.
void refreshWaterUseCategories(chart::Chart& chart, Query& query, Connection& connection,
                               const QString& viewDefinition);

// Button8Click. Reads sf_yh directly, so nothing is repaired: a failure goes
// to the status cell and the connection is closed.
void refreshReadingStatus(chart::Chart& chart, Query& query, Connection& connection, StatusCell& status);

} // namespace kvet::panels
