#include "data/field.h"

#include "data/decimal_text.h"
#include "data/failure.h"
#include "data/regional_format.h"

#include <QRegularExpression>
#include <cmath>
#include <limits>

namespace kvet {
namespace {

Failure notAnInteger(const QString& text)
{
    return Failure(QStringLiteral("'%1' is not a valid integer value").arg(text));
}

Failure notAFloat(const QString& text)
{
    return Failure(QStringLiteral("'%1' is not a valid floating point value").arg(text));
}

// Round half to even on a double; fails outside the 64-bit range.
std::int64_t roundDouble(double v, const QString& textForMessage)
{
    if (!std::isfinite(v) || v >= 9223372036854775808.0 || v < -9223372036854775808.0)
        throw notAnInteger(textForMessage);
    const double below = std::floor(v);
    const double diff = v - below;
    const double r = diff < 0.5   ? below
                     : diff > 0.5 ? below + 1.0
                                  : (std::fmod(below, 2.0) == 0.0 ? below : below + 1.0);
    if (r >= 9223372036854775808.0 || r < -9223372036854775808.0)
        throw notAnInteger(textForMessage);
    return static_cast<std::int64_t>(r);
}

// Exact round half to even of a decimal text such as "-1234.5678".
std::int64_t roundDecimal(const QString& text)
{
    const std::optional<DecimalText> parts = splitDecimalText(text);
    if (!parts)
        throw notAnInteger(text);
    const bool negative = parts->negative;
    const QStringView whole = parts->whole, fraction = parts->fraction;

    // Magnitude as unsigned to keep the most negative value representable.
    unsigned long long magnitude = 0;
    const unsigned long long limit = negative ? 9223372036854775808ULL : 9223372036854775807ULL;
    for (QChar c : whole) {
        const unsigned digit = c.unicode() - '0';
        if (magnitude > (limit - digit) / 10)
            throw notAnInteger(text);
        magnitude = magnitude * 10 + digit;
    }
    bool roundUp = false;
    if (!fraction.isEmpty()) {
        const QChar first = fraction.front();
        const bool restNonZero = fraction.mid(1).contains(QRegularExpression(QStringLiteral("[1-9]")));
        if (first > QLatin1Char('5') || (first == QLatin1Char('5') && restNonZero))
            roundUp = true;
        else if (first == QLatin1Char('5'))
            roundUp = magnitude % 2 == 1; // exactly half: to the even neighbour
    }
    if (roundUp) {
        if (magnitude == limit)
            throw notAnInteger(text);
        ++magnitude;
    }
    if (negative)
        return magnitude == 9223372036854775808ULL ? std::numeric_limits<std::int64_t>::min()
                                                   : -static_cast<std::int64_t>(magnitude);
    return static_cast<std::int64_t>(magnitude);
}

// Decimal text for display: trailing fraction zeros dropped, regional separator.
QString decimalForDisplay(QString text)
{
    if (text.contains(QLatin1Char('.'))) {
        while (text.endsWith(QLatin1Char('0')))
            text.chop(1);
        if (text.endsWith(QLatin1Char('.')))
            text.chop(1);
    }
    if (text == QLatin1String("-0"))
        text = QStringLiteral("0");
    return text.replace(QLatin1Char('.'), decimalSeparator());
}

// Days since 1899-12-30, the date-time as a floating value.
double dateTimeAsDays(const QDateTime& dt)
{
    static const QDate epoch(1899, 12, 30);
    const double days = static_cast<double>(epoch.daysTo(dt.date()));
    const double fraction = dt.time().msecsSinceStartOfDay() / 86400000.0;
    return days >= 0 ? days + fraction : days - fraction;
}

} // namespace

std::int64_t Field::asInteger() const
{
    return std::visit(
        [this](const auto& v) -> std::int64_t {
            using T = std::decay_t<decltype(v)>;
            if constexpr (std::is_same_v<T, Null>) {
                if (kind_ == ColumnKind::Text)
                    throw notAnInteger(QString());
                return 0;
            } else if constexpr (std::is_same_v<T, std::int64_t>) {
                return v;
            } else if constexpr (std::is_same_v<T, double>) {
                return roundDouble(v, formatFloat(v));
            } else if constexpr (std::is_same_v<T, Decimal>) {
                return roundDecimal(v.text);
            } else if constexpr (std::is_same_v<T, QString>) {
                bool ok = false;
                const qlonglong n = v.trimmed().toLongLong(&ok, 10);
                if (!ok)
                    throw notAnInteger(v);
                return n;
            } else {
                throw notAnInteger(asString());
            }
        },
        value_);
}

double Field::asFloat() const
{
    return std::visit(
        [](const auto& v) -> double {
            using T = std::decay_t<decltype(v)>;
            if constexpr (std::is_same_v<T, Null>) {
                return 0.0;
            } else if constexpr (std::is_same_v<T, std::int64_t>) {
                return static_cast<double>(v);
            } else if constexpr (std::is_same_v<T, double>) {
                return v;
            } else if constexpr (std::is_same_v<T, Decimal>) {
                bool ok = false;
                const double d = v.text.toDouble(&ok);
                if (!ok)
                    throw notAFloat(v.text);
                return d;
            } else if constexpr (std::is_same_v<T, QString>) {
                bool ok = false;
                double d = regionalLocale().toDouble(v.trimmed(), &ok);
                if (!ok)
                    d = v.trimmed().toDouble(&ok);
                if (!ok)
                    throw notAFloat(v);
                return d;
            } else {
                return dateTimeAsDays(v);
            }
        },
        value_);
}

QString Field::asString() const
{
    return std::visit(
        [](const auto& v) -> QString {
            using T = std::decay_t<decltype(v)>;
            if constexpr (std::is_same_v<T, Null>)
                return QString();
            else if constexpr (std::is_same_v<T, std::int64_t>)
                return QString::number(v);
            else if constexpr (std::is_same_v<T, double>)
                return formatFloat(v);
            else if constexpr (std::is_same_v<T, Decimal>)
                return decimalForDisplay(v.text);
            else if constexpr (std::is_same_v<T, QString>)
                return v;
            else
                return formatDateTime(v);
        },
        value_);
}

} // namespace kvet
