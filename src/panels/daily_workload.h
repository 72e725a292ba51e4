#pragma once
// Chart3: meter readings entered per day, one orange bar per entry date,
// labelled with the day of the month ("5日"). Reads: the count (hj), the
// yymmdd entry date (cbrq1).
namespace kvet::panels {

struct PanelEntry;
struct PanelRun;

// Button2Click. A failure (also a date text whose day is no number) goes to the
// status cell and closes the connection; bars added before it stay.
void refreshDailyWorkload(const PanelEntry& entry, PanelRun& run);

} // namespace kvet::panels
