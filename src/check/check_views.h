#pragma once
// Which of the four reporting views exist, the statement that creates a
// missing one, whether the login may create views in dbo, and what the
// database's collation means for the dashboard's statements. The questions
// are put in each engine's own dialect; the answers are reported alike.
#include "check/check_report.h"
#include "data/dashboard_sql.h"

#include <QSet>
#include <optional>

namespace kvet {
class Connection;
}

namespace kvet::check {

struct ViewCatalog {
    // One row per reporting view that exists in dbo, its name in column "name".
    QString existingViews;
    // One row: create_view and alter_dbo (1, 0 or NULL) and db_user, the
    // login's user in the database. Empty: the engine lets any login create
    // views (the demo).
    QString createPermission;
    // One row: version, edition, db (database name), collation and
    // code_page. Empty: nothing to ask (the demo).
    QString serverFacts;
};

ViewCatalog sqlServerCatalog();
ViewCatalog demoCatalog();

// Reports the server's version and the database's collation: one that
// tells letter case apart breaks the statements (they write sf_yh and Sf_yh),
// one whose code page holds no Chinese turns the statements' literals into
// question marks.
void checkServerFacts(Connection& connection, const ViewCatalog& catalog, Report& report);

// Code pages that hold the Chinese literals of the statements (GBK and UTF-8).
bool codePageHoldsChinese(int codePage);

// Reports each view and, for a missing one, the statement that creates it;
// with createViews it executes that statement (the only write kvet-check
// ever makes). Returns the views still missing at the end; nullopt when the
// database could not be asked.
std::optional<QSet<ReportingView>> checkViews(Connection& connection, const ViewCatalog& catalog, bool createViews,
                                              Report& report);

} // namespace kvet::check
