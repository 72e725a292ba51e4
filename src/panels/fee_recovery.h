#pragma once
// Chart4: collected (Series4, orange, below) and unpaid (Series6, yellow, on
// top) water fee per billing month of the current year, in ten thousand yuan.
#include <QString>

namespace kvet {
class Query;
namespace chart { class Chart; }
} // namespace kvet

namespace kvet::panels {

// Button4Click. A failure creates V_W_dsj_jd2 and runs the routine once more
// at once on the connection left open. The re-run happens at most once: if it
// fails too, its own repair meets the view that now exists and that failure
// ends the batch.
void refreshFeeRecovery(chart::Chart& chart, Query& query, const QString& viewDefinition);

} // namespace kvet::panels
