#pragma once
// Reading a whole result from an executed statement: column names and kinds,
// then every row, each value in the C type that keeps it intact (text as
// UTF-16, whole numbers as 64-bit, money and other decimals as exact text,
// dates as timestamps in local time without zone conversion).
#include "data/odbc/odbc_api.h"
#include "data/value.h"

#include <QByteArray>
#include <cstddef>
#include <functional>

namespace kvet::odbc {

// The kind a declared SQL type is read as.
ColumnKind columnKindOf(SQLSMALLINT sqlType);

// Decimal text as a driver gives it (".5000", "-1.50", "1e+3", "+7") in the
// form Decimal holds: optional '-', digits, optional '.' and digits. Empty
// when the text is no number.
QString plainDecimalText(const QByteArray& text);

// Fetches every row of the statement's current result. Failures throw
// DatabaseError with the driver's cleaned message.
ResultSet fetchResult(SQLHSTMT statement);

// The same in pieces of at most chunkRows rows, each handed to piece with the
// columns; memory stays bounded by one piece.
void fetchResultInPieces(SQLHSTMT statement, std::size_t chunkRows,
                         const std::function<void(ResultSet&)>& piece);

} // namespace kvet::odbc
