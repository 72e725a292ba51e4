#pragma once
// Results of the SQLite backend as short texts, for comparing whole results:
// one "a|b|c" line per row, NULL as "NULL", numbers as the shortest text.
#include "data/value.h"

#include <QStringList>
#include <string>
#include <vector>

namespace kvet::testing {

inline QString cellText(const Value& v)
{
    if (isNull(v))
        return QStringLiteral("NULL");
    if (const auto* i = std::get_if<std::int64_t>(&v))
        return QString::number(*i);
    if (const auto* d = std::get_if<double>(&v))
        return QString::number(*d, 'g', 12);
    if (const auto* t = std::get_if<QDateTime>(&v))
        return t->toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    if (const auto* s = std::get_if<QString>(&v))
        return *s;
    return std::get<Decimal>(v).text;
}

// Rows in result order; sorted when the statement sets no order.
inline std::vector<std::string> rowTexts(const ResultSet& rs, bool sorted = false)
{
    QStringList lines;
    for (const auto& row : rs.rows) {
        QStringList cells;
        for (const Value& v : row)
            cells << cellText(v);
        lines << cells.join('|');
    }
    if (sorted)
        lines.sort();
    std::vector<std::string> out;
    for (const QString& line : lines)
        out.push_back(line.toStdString());
    return out;
}

} // namespace kvet::testing
