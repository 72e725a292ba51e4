#pragma once
// Typed values of a fetched result. Money and other DECIMAL/NUMERIC columns stay
// exact decimal text ("1234.5678", always '.' as separator) until a reader
// converts them, so rounding happens once, on the exact value.
#include <QDateTime>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <variant>
#include <vector>

namespace kvet {

struct Null {
    bool operator==(const Null&) const = default;
};
struct Decimal {
    QString text; // optional '-', digits, optional '.' and digits
    bool operator==(const Decimal&) const = default;
};

using Value = std::variant<Null, std::int64_t, double, Decimal, QString, QDateTime>;

// What kind of column the database declared; decides how a NULL reads
// (a NULL in a text column read as a whole number fails like empty text).
enum class ColumnKind { Integer, Float, Decimal, Text, DateTime, Other };

struct Column {
    QString name;
    ColumnKind kind = ColumnKind::Other;
};

// A whole result, fetched when the statement ran (client-side cursor).
struct ResultSet {
    std::vector<Column> columns;
    std::vector<std::vector<Value>> rows;
};

inline bool isNull(const Value& v) { return std::holds_alternative<Null>(v); }

} // namespace kvet
