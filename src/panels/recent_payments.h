#pragma once
// The recent-payments ticker: StringGrid1 holds the 15 latest payments and
// scrolls up one pixel per step under the heading strip; at the end of each
// pass it jumps back below the band and is refilled from the database.
#include <functional>

namespace kvet {
class Connection;
class Query;
class StatusCell;
class CellWriter;
} // namespace kvet

namespace kvet::panels {

struct PanelEntry;
struct PanelRun;

// Button5Click. Rows beyond the result keep what they held. A failure goes to
// the status cell (column 0, row 0) and closes the connection; a failure of
// that close leaves the routine.
void refillRecentPayments(Query& query, Connection& connection, CellWriter& cells, StatusCell& status);
// The same as the table's routine for the ticker: its statement is assembled
// in the query's own text, so the routine keeps its pieces.
void refillTicker(const PanelEntry& entry, PanelRun& run);

// Where the grid sits inside the band, in physical pixels.
class TickerBand {
public:
    virtual ~TickerBand() = default;
    virtual int bandHeight() const = 0;
    virtual int gridTop() const = 0;
    virtual int gridHeight() const = 0;
    virtual void setGridTop(int top) = 0;
};

// Timer1Timer: one scroll step. The constants 1, 10 and 50 are plain pixels,
// never scaled with the screen density.
void scrollRecentPayments(TickerBand& band, const std::function<void()>& refill);

} // namespace kvet::panels
