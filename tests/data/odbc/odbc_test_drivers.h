#pragma once
// The real ODBC drivers the backend tests run against, registered under
// names of the tests' own in a private odbcinst.ini (ODBCSYSINI points at a
// temporary folder before the driver manager is first used), so the tests
// need nothing from the machine's own ODBC configuration.
#include <QString>

namespace kvet::test {

struct OdbcTestDrivers {
    QString sqlite;  // driver name for the SQLite3 ODBC driver, empty when absent
    QString freeTds; // "FreeTDS" when the FreeTDS driver is present
};

const OdbcTestDrivers& odbcTestDrivers();

#ifndef Q_OS_WIN
// A TCP socket bound to 127.0.0.1 on a free port. Until listen() it refuses
// connections; after it, connections complete but no byte is ever answered.
class SilentLoopbackServer {
public:
    SilentLoopbackServer();
    ~SilentLoopbackServer();
    SilentLoopbackServer(const SilentLoopbackServer&) = delete;
    SilentLoopbackServer& operator=(const SilentLoopbackServer&) = delete;
    int port() const { return port_; }
    bool listen();

private:
    int socket_ = -1;
    int port_ = 0;
};

// A loopback port on which nothing listens for the whole test run.
int closedLoopbackPort();
#endif

} // namespace kvet::test
