#pragma once
// Chart4: collected (Series4, orange, below) and unpaid (Series6, yellow, on
// top) water fee per billing month of the current year, in ten thousand yuan.
// Reads: the yyyymm month (jfsj), collected (sf), unpaid (tq); the first
// row's month gives the title's year.
namespace kvet::panels {

struct PanelEntry;
struct PanelRun;

// Button4Click. A failure creates V_W_dsj_jd2 and runs the routine once more
// at once on the connection left open. The re-run happens at most once: if it
// fails too, its own repair meets the view that now exists and that failure
// ends the batch.
void refreshFeeRecovery(const PanelEntry& entry, PanelRun& run);

} // namespace kvet::panels
