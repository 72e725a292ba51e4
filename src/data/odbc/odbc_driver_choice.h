#pragma once
// Which installed ODBC driver reaches SQL Server, and what family it belongs
// to (the family decides the keywords of the driver's connection string).
#include <QString>
#include <QStringList>

namespace kvet::odbc {

enum class DriverFamily {
    Microsoft,     // "ODBC Driver NN for SQL Server" (msodbcsql)
    NativeClient,  // "SQL Server Native Client NN.N"
    LegacyWindows, // Windows' own "SQL Server" driver
    FreeTds,       // "FreeTDS" (tdsodbc)
    Other,         // any other name given explicitly
};

// Preference: ODBC Driver 18, then 17, then any other "ODBC Driver NN for SQL
// Server" (newest first), then FreeTDS, then SQL Server Native Client (newest
// first), then Windows' "SQL Server". Names compare without regard to letter
// case. Empty when none of them is installed.
QString chooseSqlServerDriver(const QStringList& installed);

DriverFamily driverFamily(const QString& driverName);

} // namespace kvet::odbc
