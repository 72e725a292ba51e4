#pragma once
// From the program's OLE DB connection string to the connection string of an
// ODBC driver for SQL Server.
//
// Mapped keys: Data Source → SERVER (FreeTDS: SERVER plus PORT), Initial
// Catalog → DATABASE, User ID → UID, Password → PWD, Workstation ID → WSID.
// Always a SQL Server login, never a Windows one. For the Microsoft drivers
// "Auto Translate" becomes AutoTranslate and "Use Encryption for Data=False"
// becomes Encrypt=no with TrustServerCertificate=yes (Driver 18 would
// otherwise insist on an encrypted session with a certificate the server may
// not have); FreeTDS gets TDS 7.4, UTF-8 client text and Timeout=15 (its
// default wait for a reply, which also bounds the login where the login
// time-out attribute is not honoured; statements set their own 30 s).
//
// Two ways around the choice of driver, for tests and for odd installations:
// - a key "Driver" in the program's string names the ODBC driver to use
//   instead of choosing one from the installed drivers;
// - a string that starts with "ODBC;" is handed to the driver manager as it
//   stands after that prefix ("ODBC;DRIVER={SQLite3};Database=/tmp/x.db").
#include "data/connection_string.h"
#include "data/odbc/odbc_driver_choice.h"

#include <QString>
#include <optional>

namespace kvet::odbc {

// Login wait in seconds: the connection's time-out.
inline constexpr int kLoginTimeoutSeconds = 15;
// Command wait in seconds, per statement.
inline constexpr int kCommandTimeoutSeconds = 30;

// Where "Data Source" points: "host", "host\instance", "host,port" and
// "tcp:host,port", "host\instance,port".
struct ServerAddress {
    QString host;
    QString instance;
    QString port;
    bool operator==(const ServerAddress&) const = default;
};
ServerAddress parseDataSource(const QString& dataSource);

// Where the program's string points: "Data Source", or "Server" without it.
QString dataSourceOf(const ConnectionStringPairs& pairs);

// The host as a TCP client names it: the local-server aliases of the Windows
// client libraries, "." and "(local)", mean the loopback address.
QString tcpHost(const QString& host);

// True for "ODBC;..." (letter case ignored); the rest is the ODBC string.
bool isOdbcPassthrough(const QString& programString);
QString odbcPassthroughText(const QString& programString);

// The driver named by the program's own string ("Driver" key), or empty.
QString explicitDriver(const ConnectionStringPairs& pairs);

// A value as it must stand in an ODBC string for Microsoft's drivers, which
// undo doubled braces: in braces, with '}' doubled, when it holds ';', '{',
// '}', '=' or a blank.
QString quoteOdbcValue(const QString& value);

// A value as FreeTDS reads it back exactly: bare unless it holds ';' or
// starts with '{', then in braces; nothing when such a value also holds '}'
// (FreeTDS 1.3 keeps doubled braces as they stand, and an undoubled '}'
// breaks the standard reading of the string, so no form is safe).
std::optional<QString> quoteFreeTdsValue(const QString& value);

// The ODBC connection string for `driverName` (used as the DRIVER keyword).
// Throws DatabaseError (IM012) when a value cannot reach FreeTDS exactly.
QString odbcConnectionString(const ConnectionStringPairs& pairs, const QString& driverName);

} // namespace kvet::odbc
