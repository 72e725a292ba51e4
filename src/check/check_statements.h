#pragma once
// Every statement the dashboard sends, run the way its panel runs it: through
// the panel's own query object, reading the panel's columns the panel's way,
// so that a failure shows with the very message the status cell would show.
// Only statements that read; nothing here writes.
#include "check/check_report.h"
#include "data/dashboard_sql.h"

#include <QSet>
#include <QString>
#include <optional>
#include <vector>

namespace kvet {
class Connection;
}

namespace kvet::check {

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

struct DashboardStatement {
    QString title;     // the panel, as the person at the screen knows it
    QString queryName; // the query object the panel runs it through
    QString text;      // as the server receives it
    // Read on every row; `firstRowReads` only on the first (titles, banner),
    // also when there is none, as the panels do.
    std::vector<ColumnRead> reads;
    std::vector<ColumnRead> firstRowReads;
    std::optional<ReportingView> view; // the reporting view it reads
    QStringList shown; // every column it selects, shown for the first row
};

// The start-up probe, then the seven panel statements in the order of the
// first full refresh.
const std::vector<DashboardStatement>& dashboardStatements();

// "zls=某某水务，help=（空）": the row's columns as text, as the regional
// readers give them; NULL shows as "NULL".
QString describeRow(const QStringList& columns, const QStringList& values);

// Runs each statement once and reports OK with its row count and first row,
// or its failure. A failure of a statement on a view already reported
// missing is only noted, not counted again. Returns the number that failed.
int checkStatements(Connection& connection, const QSet<ReportingView>& missingViews, Report& report);

} // namespace kvet::check
