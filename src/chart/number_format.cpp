#include "chart/number_format.h"

#include <cmath>

namespace kvet::chart {
namespace {

// |value| with `decimals` places, trailing zeros and a bare point dropped.
QString fixedTrimmed(double magnitude, int decimals)
{
    QString text = QString::number(magnitude, 'f', decimals);
    if (text.contains(QLatin1Char('.'))) {
        while (text.endsWith(QLatin1Char('0')))
            text.chop(1);
        if (text.endsWith(QLatin1Char('.')))
            text.chop(1);
    }
    return text;
}

QString withSign(double value, QString digits)
{
    // Rounding can leave nothing but zeros: no "-0".
    const bool zero = digits.count(QLatin1Char('0')) + digits.count(QLatin1Char('.')) + digits.count(QLatin1Char(','))
                      == digits.size();
    return (value < 0 && !zero) ? QLatin1Char('-') + digits : digits;
}

} // namespace

QString formatValue(double value)
{
    if (!std::isfinite(value))
        return {};
    QString text = fixedTrimmed(std::abs(value), 3);
    const qsizetype point = text.indexOf(QLatin1Char('.'));
    for (qsizetype i = (point < 0 ? text.size() : point) - 3; i > 0; i -= 3)
        text.insert(i, QLatin1Char(','));
    return withSign(value, text);
}

QString formatPercent(double fraction)
{
    if (!std::isfinite(fraction))
        return {};
    return withSign(fraction, fixedTrimmed(std::abs(fraction * 100.0), 2)) + QStringLiteral(" %");
}

} // namespace kvet::chart
