#include "data/sqlite/sqlite_values.h"

#include <QRegularExpression>

namespace kvet::sqlite {

std::optional<ColumnKind> kindOfDeclaredType(const char* declaredType)
{
    if (!declaredType || !*declaredType)
        return std::nullopt;
    const QString type = QString::fromUtf8(declaredType).toUpper();
    if (type.contains(QLatin1String("DATE")) || type.contains(QLatin1String("TIME")))
        return ColumnKind::DateTime;
    if (type.contains(QLatin1String("INT")))
        return ColumnKind::Integer;
    if (type.contains(QLatin1String("CHAR")) || type.contains(QLatin1String("CLOB")) ||
        type.contains(QLatin1String("TEXT")))
        return ColumnKind::Text;
    if (type.contains(QLatin1String("BLOB")))
        return ColumnKind::Other;
    // REAL, FLOAT, DOUBLE and the NUMERIC family (DECIMAL, MONEY, ...):
    // SQLite hands them out as whole or floating numbers.
    return ColumnKind::Float;
}

ColumnKind kindOfValues(const std::vector<std::vector<Value>>& rows, std::size_t column)
{
    for (const auto& row : rows) {
        const Value& v = row.at(column);
        if (std::holds_alternative<std::int64_t>(v))
            return ColumnKind::Integer;
        if (std::holds_alternative<double>(v))
            return ColumnKind::Float;
        if (std::holds_alternative<QString>(v))
            return ColumnKind::Text;
        if (std::holds_alternative<QDateTime>(v))
            return ColumnKind::DateTime;
    }
    return ColumnKind::Float;
}

std::optional<QDateTime> parseLocalDateTime(const QString& text)
{
    static const QRegularExpression pattern(QStringLiteral(
        "^(\\d{4})-(\\d{2})-(\\d{2})(?:[ T](\\d{2}):(\\d{2})(?::(\\d{2})(?:\\.(\\d{1,3})\\d*)?)?)?$"));
    const QRegularExpressionMatch m = pattern.match(text.trimmed());
    if (!m.hasMatch())
        return std::nullopt;
    const QDate date(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt());
    QString millis = m.captured(7);
    while (!millis.isEmpty() && millis.size() < 3)
        millis += QLatin1Char('0');
    const QTime time(m.captured(4).toInt(), m.captured(5).toInt(), m.captured(6).toInt(),
                     millis.toInt());
    if (!date.isValid() || !time.isValid())
        return std::nullopt;
    QDateTime moment(date, time);
    // A wall-clock time skipped by a daylight-saving change does not exist.
    if (!moment.isValid() || moment.date() != date || moment.time() != time)
        return std::nullopt;
    return moment;
}

Value readCell(sqlite3_stmt* statement, int column, CellKind kind)
{
    switch (sqlite3_column_type(statement, column)) {
    case SQLITE_INTEGER:
        return std::int64_t(sqlite3_column_int64(statement, column));
    case SQLITE_FLOAT:
        return sqlite3_column_double(statement, column);
    case SQLITE_NULL:
        return Null{};
    default: {
        // TEXT, and BLOB read as UTF-8 text rather than lost.
        const auto* bytes = reinterpret_cast<const char*>(sqlite3_column_text(statement, column));
        const QString text = QString::fromUtf8(bytes, sqlite3_column_bytes(statement, column));
        if (kind == CellKind::DateTime) {
            if (auto moment = parseLocalDateTime(text))
                return *moment;
            return Null{};
        }
        if (kind == CellKind::Decimal)
            return Decimal{text};
        return text;
    }
    }
}

QString formatLocalDateTime(const QDateTime& moment)
{
    return moment.toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

} // namespace kvet::sqlite
