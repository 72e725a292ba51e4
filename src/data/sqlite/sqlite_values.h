#pragma once
// How SQLite's dynamically typed cells become the program's values: the kind
// of a column from its declared type (or, for an expression, from the values
// it holds), and date-times from their local-time text.
#include "data/value.h"

#include <optional>
#include <sqlite3.h>

namespace kvet::sqlite {

// The kind a declared column type stands for, following SQLite's affinity
// rules, with any type naming DATE or TIME taken as a date and time.
// Empty for an expression, which has no declared type.
std::optional<ColumnKind> kindOfDeclaredType(const char* declaredType);

// For a column without declared type: the kind of its first non-NULL value.
// A column of NULLs only is taken as a number, since the program's untyped
// columns are sums and ratios, and a NULL number reads as 0.
ColumnKind kindOfValues(const std::vector<std::vector<Value>>& rows, std::size_t column);

// 'YYYY-MM-DD', optionally followed by ' ' or 'T' and HH:MM, HH:MM:SS or
// HH:MM:SS.fff, as a local date and time; empty for anything else, including
// dates and times that do not exist.
std::optional<QDateTime> parseLocalDateTime(const QString& text);

// How a column's cells read beyond SQLite's own storage classes.
enum class CellKind { Plain, DateTime, Decimal };

// The cell in column of the statement's current row. Text in a date-time
// column becomes a QDateTime, or NULL when it is no date and time that exists
// (SQL Server's datetime holds no other value); text in a decimal column
// becomes a Decimal.
Value readCell(sqlite3_stmt* statement, int column, CellKind kind);

// The local date and time as SQLite's date functions write it.
QString formatLocalDateTime(const QDateTime& moment);

} // namespace kvet::sqlite
