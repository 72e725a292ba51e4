#pragma once
// The machine's regional settings as the provider applies them when numbers
// and date-times are read as text: decimal separator, short date + long time.
#include <QDateTime>
#include <QLocale>
#include <QString>

namespace kvet {

// The system locale; a machine without regional settings (the "C" locale of a
// bare Linux box) reads like a Chinese Windows PC, for whom the screen is made.
QLocale regionalLocale();

// How date-times read as text: the locale that names and numbers them, its
// short date and its long time, in Qt's pattern letters.
struct DateTimeFormats {
    QLocale locale;
    QString shortDate;
    QString longTime;
};

// The formats of a locale: its own short date and its own long time without
// the time zone (Windows' long time has none). The bare "C" locale gets a
// Chinese (PRC) Windows PC's defaults, short date yyyy/M/d and long time
// H:mm:ss.
DateTimeFormats dateTimeFormatsOf(const QLocale& locale);

// A long-time pattern of Qt's with its time-zone token and the brackets,
// comma and blanks that only set the zone apart taken out; a day-period
// letter Qt does not format (B) reads as AM/PM.
QString longTimeWithoutZone(const QString& qtPattern);

QChar decimalSeparator(const QLocale& locale = regionalLocale());

// Short date, a blank, long time; the time is left out at exactly midnight.
// Without a locale: the machine's (the system locale's formats).
QString formatDateTime(const QDateTime& value);
QString formatDateTime(const QDateTime& value, const QLocale& locale);

// Shortest text of a double with up to 15 significant digits, no grouping.
QString formatFloat(double value, const QLocale& locale = regionalLocale());

// printf-style "%<width>.<decimals>f" with the regional decimal separator.
QString formatFixed(double value, int width, int decimals, const QLocale& locale = regionalLocale());

} // namespace kvet
