#pragma once
// The program's connection string, in the OLE DB form the billing database
// was always reached with ("Provider=SQLOLEDB.1;Password=...;Data Source=...").
// Writer and reader follow the OLE DB rules, so a value read back is exactly
// the value written.
#include <QString>
#include <utility>
#include <vector>

namespace kvet {

// Text of the failure for a string the reader cannot split into keys and values.
inline constexpr char kMalformedConnectionStringMessage[] =
    "Format of the initialization string is not valid";

// The eleven pieces in their fixed order; the server fills both Data Source
// and Workstation ID. A value that would not read back as itself (one holding
// ';', starting with a quote, a blank or '=', or ending with a blank) is
// wrapped in double quotes with inner double quotes doubled; any other value,
// one holding '=' further on included, goes in unchanged.
QString buildConnectionString(const QString& password, const QString& user,
                              const QString& database, const QString& server);

// One value as it stands in a connection string (quoted only when it must be).
QString quoteConnectionStringValue(const QString& value);

// Splits a connection string into its key/value pairs, in order. Keys and
// unquoted values lose surrounding blanks; a value in single or double quotes
// keeps everything inside, a doubled quote standing for one; "==" in a key
// stands for '='. Throws kvet::Failure (kMalformedConnectionStringMessage) for
// a piece without '=', an unterminated quote or text after a closing quote.
using ConnectionStringPairs = std::vector<std::pair<QString, QString>>;
ConnectionStringPairs parseConnectionString(const QString& text);

// The value of `key` (letter case ignored); the last occurrence wins, as with
// the OLE DB service components. Empty when the key is absent.
QString connectionStringValue(const ConnectionStringPairs& pairs, const QString& key);
bool hasConnectionStringKey(const ConnectionStringPairs& pairs, const QString& key);

} // namespace kvet
