#include "data/decimal_text.h"

namespace kvet {
namespace {

bool allDigits(QStringView s)
{
    for (QChar c : s)
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    return true;
}

} // namespace

std::optional<DecimalText> splitDecimalText(QStringView text)
{
    QStringView t = text.trimmed();
    DecimalText parts;
    if (t.startsWith(QLatin1Char('-')) || t.startsWith(QLatin1Char('+'))) {
        parts.negative = t.front() == QLatin1Char('-');
        t = t.mid(1);
    }
    const qsizetype point = t.indexOf(QLatin1Char('.'));
    parts.whole = point < 0 ? t : t.left(point);
    parts.fraction = point < 0 ? QStringView() : t.mid(point + 1);
    if ((parts.whole.isEmpty() && parts.fraction.isEmpty()) || !allDigits(parts.whole)
        || !allDigits(parts.fraction))
        return std::nullopt;
    return parts;
}

} // namespace kvet
