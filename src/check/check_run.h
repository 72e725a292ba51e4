#pragma once
// kvet-check as a whole: the settings, the driver, the login, the views and
// every statement of the dashboard, on SQL Server or on the demo database.
#include "check/check_report.h"
#include "check/check_views.h"

#include <QString>
#include <memory>
#include <optional>

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
    QString exportFile;        // write what the dashboard reads into this new demo-schema file
    bool force = false;        // with exportFile: replace an existing file
};

struct LoginContext;

// kvet.ini's server as kvet would connect to it: the settings and the driver
// reported, the connection string set. Null when the password does not
// decode (kvet would not connect then; that is reported).
struct ServerLogin {
    std::unique_ptr<Connection> connection;
    QString server, user, database;
};
std::optional<ServerLogin> prepareServerLogin(const QString& settingsPath, Report& report);

// Login, server facts, views and statements on a connection that has its
// connection string; closes the connection at the end.
void checkDatabase(Connection& connection, const ViewCatalog& catalog, bool createViews,
                   const LoginContext& context, Report& report);

// Everything, ending with the summary line. Never throws. Returns the exit
// code: 0 only when all is well.
int runCheck(const CheckOptions& options, Report& report);

} // namespace kvet::check
