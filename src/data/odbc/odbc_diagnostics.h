#pragma once
// Diagnostic records as the driver reports them, and the one message made of
// them for the status cell. Records stay structured until a failure leaves
// the backend; only then are they formatted.
#include "data/failure.h"
#include "data/odbc/odbc_api.h"

#include <QString>
#include <vector>

namespace kvet::odbc {

struct Diagnostic {
    QString state; // five-character SQLSTATE
    long nativeCode = 0;
    QString text;
    bool operator==(const Diagnostic&) const = default;
};

// Every record attached to the handle, in the driver's order.
std::vector<Diagnostic> collectDiagnostics(SQLSMALLINT handleType, SQLHANDLE handle);

// Drops the leading component tags ("[Microsoft][ODBC Driver 18 for SQL
// Server][SQL Server]", "[FreeTDS][SQL Server]", "[unixODBC][Driver
// Manager]"), then every trailing blank, line break and full stop. Tags stop
// at "[SQL Server]": what follows is the server's own text, kept whole.
QString cleanDriverText(const QString& text);

// The record a failure is shown by: the server's "cannot open database"
// (4060) when there is one, since the "Login failed" (18456) that follows it
// would send the reader to the password; else the first one that is not a
// warning (class 01), or the first one when all are warnings.
const Diagnostic* leadingDiagnostic(const std::vector<Diagnostic>& records);

// Whether any record says the link to the server is gone: an 08xxx state, or
// FreeTDS's numbers for a lost link, which it reports under state 01000 or
// HY000 (20004 read failed, 20006 write failed, 20017 unexpected EOF).
bool reportsLostLink(const std::vector<Diagnostic>& records);

// "OLE error %.8x": the text shown when the driver gives none.
QString oleErrorText(long nativeCode);

// The failure for a set of records; `fallbackCode` stands in when there are
// none (0x80004005, the generic failure the OLE DB layer reports).
DatabaseError databaseErrorFrom(const std::vector<Diagnostic>& records,
                                long fallbackCode = long(0x80004005u));

// Throws the failure recorded on a handle after a call that did not succeed.
[[noreturn]] void throwDiagnostics(SQLSMALLINT handleType, SQLHANDLE handle);

} // namespace kvet::odbc
