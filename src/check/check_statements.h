#pragma once
// Every statement the dashboard sends, run the way its panel runs it: through
// the panel's own query object, reading the panel's columns the panel's way,
// so that a failure shows with the very message the status cell would show.
// Only statements that read; nothing here writes.
#include "check/check_report.h"
#include "data/dashboard_sql.h"
#include "panels/panel_table.h"

#include <QSet>
#include <QString>
#include <optional>
#include <vector>

namespace kvet {
class Connection;
}

namespace kvet::check {

using panels::ColumnRead;
using panels::ReadAs;

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

// The start-up probe, then the statements of the table's panels in the
// table's order.
std::vector<DashboardStatement> dashboardStatements(const panels::PanelTable& table = panels::dashboardPanels());

// "zls=某某水务，help=（空）": the row's columns as text, as the regional
// readers give them; NULL shows as "NULL".
QString describeRow(const QStringList& columns, const QStringList& values);

// Runs each statement once and reports OK with its row count and first row,
// or its failure. A failure of a statement on a view already reported
// missing is only noted, not counted again. Returns the number that failed.
int checkStatements(Connection& connection, const QSet<ReportingView>& missingViews, Report& report,
                    const panels::PanelTable& table = panels::dashboardPanels());

} // namespace kvet::check
