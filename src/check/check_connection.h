#pragma once
// The login, timed, with the message the status cell would show on failure
// and hints for the common causes.
#include "check/check_report.h"

#include <QString>

namespace kvet {
class Connection;
}

namespace kvet::check {

// The settings the hints quote.
struct LoginContext {
    QString server;
    QString user;
    QString database;
};

// Opens the connection and reports when it started, how long it took and
// how it ended. True when it is open.
bool checkConnection(Connection& connection, const LoginContext& context, Report& report);

} // namespace kvet::check
