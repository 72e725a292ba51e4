#pragma once
// The share pies: one slice per result row, in the order the rows arrive,
// each with the automatic palette colour. The entry's first read is the
// slice's value, its second the slice's label; the title is the entry's.
namespace kvet::panels {

struct PanelEntry;
struct PanelRun;

// Button1Click (Chart1) and Button6Click (Chart5). A failed query creates the
// entry's view from its stored text and closes the connection; the pie,
// cleared first, stays empty until next time.
void refreshViewPie(const PanelEntry& entry, PanelRun& run);

// Button8Click (Chart6). Reads tables directly, so nothing is repaired: a
// failure goes to the status cell and the connection is closed.
void refreshStatusPie(const PanelEntry& entry, PanelRun& run);

} // namespace kvet::panels
