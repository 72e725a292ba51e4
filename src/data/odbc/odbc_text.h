#pragma once
// Wide text between QString and the driver manager: both are UTF-16 units.
#include "data/odbc/odbc_api.h"

#include <QString>
#include <vector>

namespace kvet::odbc {

// A writable, terminated copy, since several ODBC calls take non-const text.
inline std::vector<SQLWCHAR> toSqlWide(const QString& text)
{
    std::vector<SQLWCHAR> wide(std::size_t(text.size()) + 1, 0);
    const QChar* units = text.constData();
    for (qsizetype i = 0; i < text.size(); ++i)
        wide[std::size_t(i)] = SQLWCHAR(units[i].unicode());
    return wide;
}

inline QString fromSqlWide(const SQLWCHAR* units, qsizetype count)
{
    return QString(reinterpret_cast<const QChar*>(units), count);
}

// Text up to the terminator, never past `capacity` units.
inline QString fromSqlWideTerminated(const SQLWCHAR* units, qsizetype capacity)
{
    qsizetype n = 0;
    while (n < capacity && units[n] != 0)
        ++n;
    return fromSqlWide(units, n);
}

} // namespace kvet::odbc
