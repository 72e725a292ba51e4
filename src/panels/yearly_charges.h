#pragma once
// Chart2: the amount charged in each month of the current year, in ten
// thousand yuan, one yellow point per month.
#include <QString>

namespace kvet {
class Connection;
class Query;
namespace chart { class Chart; }
} // namespace kvet

namespace kvet::panels {

// Button3Click. Title and points are cleared only once the query has opened,
// so a failure keeps the previous line on screen; the failure creates
// V_W_dsj_jd1 and closes the connection.
void refreshYearlyCharges(chart::Chart& chart, Query& query, Connection& connection,
                          const QString& viewDefinition);

} // namespace kvet::panels
