#pragma once
// Chart2: the amount charged in each month of the current year, in ten
// thousand yuan, one yellow point per month. Reads: the value (je), the
// yyyymm month (rq); the first row's month gives the title's year.
namespace kvet::panels {

struct PanelEntry;
struct PanelRun;

// Button3Click. Title and points are cleared only once the query has opened,
// so a failure keeps the previous line on screen; the failure creates
// V_W_dsj_jd1 and closes the connection.
void refreshYearlyCharges(const PanelEntry& entry, PanelRun& run);

} // namespace kvet::panels
