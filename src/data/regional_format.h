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

QChar decimalSeparator(const QLocale& locale = regionalLocale());

// Short date, a blank, long time; the time is left out at exactly midnight.
// The long time carries no time-zone name (Windows' long time has none).
QString formatDateTime(const QDateTime& value, const QLocale& locale = regionalLocale());

// Shortest text of a double with up to 15 significant digits, no grouping.
QString formatFloat(double value, const QLocale& locale = regionalLocale());

// printf-style "%<width>.<decimals>f" with the regional decimal separator.
QString formatFixed(double value, int width, int decimals, const QLocale& locale = regionalLocale());

} // namespace kvet
