#pragma once
// The dashboard's panels, described once: for each, its designer names, its
// place in the grid of six, its look, its statement, the view it reads, how
// its columns are read into points and its refresh routine. The window, the
// layout, both refresh batches, the snapshot and kvet-check's statement checks
// read this table; adding a chart is one entry here, plus a routine in
// panels/ when its rows need their own reading.
#include "data/dashboard_sql.h"
#include "screen/chart_appearance.h"
#include "screen/layout.h"

#include <QString>
#include <QStringList>
#include <memory>
#include <optional>
#include <vector>

namespace kvet {
class CellWriter;
class Connection;
class Query;
class StatusCell;
namespace chart { class Chart; }
} // namespace kvet

namespace kvet::panels {

enum class ReadAs {
    Integer,    // a chart value: read as a whole number
    Float,      // the ticker's amount
    Text,       // labels and cells
    DayOfMonth, // the workload chart's label: the last two characters of a yymmdd text as a number
};

struct ColumnRead {
    QString column;
    ReadAs as = ReadAs::Text;
};

struct PanelEntry;

// What one run of a refresh routine works on: the window's objects for the
// entry's designer names.
struct PanelRun {
    chart::Chart* chart = nullptr; // the entry's chart; null for the ticker
    Query& query;                  // the entry's query object
    Connection& connection;        // the shared connection
    StatusCell& status;
    CellWriter* cells = nullptr;                // the ticker grid, for the ticker alone
    const QString* viewDefinition = nullptr;    // the stored CREATE VIEW text of the entry's view
};

// No exception of a failed query leaves a routine; only the failure of its
// own repair or close does, and the batch ends on it.
using RefreshRoutine = void (*)(const PanelEntry& entry, PanelRun& run);

struct PanelEntry {
    QString title;       // the panel as the person at the screen knows it; kvet-check names it so
    QString chartName;   // "Chart1".."Chart6"; empty for the ticker, which fills StringGrid1
    GridPlace place;     // the chart's cell in the grid of six
    ChartLook (*look)() = nullptr; // null for the ticker
    QString routineName; // "Button1Click"
    QString queryName;   // "ADOQuery1"
    QString statement;   // as the server receives it
    std::optional<ReportingView> view; // the view it reads, repaired from its stored text
    // Read on every row, in the routine's order; `firstRowReads` only once the
    // query has opened (the year in a title), also when there is no row.
    std::vector<ColumnRead> reads;
    std::vector<ColumnRead> firstRowReads;
    QStringList shown; // every column it selects, as kvet-check shows the first row
    RefreshRoutine refresh = nullptr;
    bool periodic = true; // in the ten-minute batch too; the ticker refills itself at the end of each pass

    bool isChart() const { return look != nullptr; }
};

// Both batches run the entries in the table's order (the periodic one leaves
// out those not `periodic`), and kvet-check checks them in it.
using PanelTable = std::vector<PanelEntry>;

// The six charts and the ticker of this dashboard.
const PanelTable& dashboardPanels();

// The entry whose routine is `routineName`; throws std::out_of_range if none.
const PanelEntry& panelByRoutine(const PanelTable& table, const QString& routineName);

// The entry that fills the chart named `chartName`; throws std::out_of_range if none.
const PanelEntry& panelByChart(const PanelTable& table, const QString& chartName);

// The chart of `entry` as the window builds it before its first refresh.
std::unique_ptr<chart::ChartWidget> makePanelChart(const PanelEntry& entry, double dpiScale, QWidget* parent);

} // namespace kvet::panels
