#include "data/regional_format.h"

#include <QByteArray>
#include <QRegularExpression>
#include <cstdio>

namespace kvet {

QLocale regionalLocale()
{
    QLocale system = QLocale::system();
    if (system.language() == QLocale::C)
        return QLocale(QLocale::Chinese, QLocale::China);
    return system;
}

QChar decimalSeparator(const QLocale& locale)
{
    const QString point = locale.decimalPoint();
    return point.isEmpty() ? QChar('.') : point.front();
}

QString formatDateTime(const QDateTime& value, const QLocale& locale)
{
    QString text = locale.toString(value.date(), QLocale::ShortFormat);
    if (value.time() == QTime(0, 0))
        return text;
    // Qt's long time names the zone ("t"); drop that token and the blanks around it.
    static const QRegularExpression zone(QStringLiteral("\\s*\\bt+\\b\\s*"));
    QString format = locale.timeFormat(QLocale::LongFormat).replace(zone, QStringLiteral(" ")).trimmed();
    return text + QLatin1Char(' ') + locale.toString(value.time(), format);
}

QString formatFloat(double value, const QLocale& locale)
{
    QLocale plain = locale;
    plain.setNumberOptions(QLocale::OmitGroupSeparator);
    return plain.toString(value, 'g', 15);
}

QString formatFixed(double value, int width, int decimals, const QLocale& locale)
{
    // Sized from a first pass: a corrupt amount like 1e300 must not be cut.
    const int length = std::snprintf(nullptr, 0, "%*.*f", width, decimals, value);
    QByteArray buffer(length + 1, '\0');
    std::snprintf(buffer.data(), buffer.size(), "%*.*f", width, decimals, value);
    QString text = QString::fromLatin1(buffer.constData(), length);
    const QChar separator = decimalSeparator(locale);
    if (separator != QLatin1Char('.'))
        text.replace(QLatin1Char('.'), separator);
    return text;
}

} // namespace kvet
