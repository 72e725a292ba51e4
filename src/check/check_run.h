#pragma once
// kvet-check as a whole: the settings, the driver, the login, the views and
// every statement of the dashboard, on SQL Server or on the demo database.
#include "check/check_report.h"
#include "check/check_views.h"

#include <QString>

namespace kvet {
class Connection;
}

namespace kvet::check {

struct CheckOptions {
    QString settingsPath;  // empty: kvet.ini beside the executable
    bool demo = false;     // the demo database instead of kvet.ini's server
    QString demoDatabase;  // with demo: a demo-schema SQLite file; empty: the sample in memory
    bool withoutViews = false; // with demo: the in-memory sample without its views
    bool createViews = false;  // create missing views (the only write)
};

struct LoginContext;

// Login, server facts, views and statements on a connection that has its
// connection string; closes the connection at the end.
void checkDatabase(Connection& connection, const ViewCatalog& catalog, bool createViews,
                   const LoginContext& context, Report& report);

// Everything, ending with the summary line. Never throws. Returns the exit
// code: 0 only when all is well.
int runCheck(const CheckOptions& options, Report& report);

} // namespace kvet::check
