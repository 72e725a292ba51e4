#include "data/regional_format.h"

#include <QByteArray>
#include <algorithm>
#include <cstdio>
#include <vector>

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

namespace {

// One piece of a Qt date-time pattern.
struct PatternPiece {
    enum Kind { Literal, Quoted, Field } kind;
    QString text; // as written, quotes included
};

bool isAsciiLetter(QChar c)
{
    return (c >= QLatin1Char('a') && c <= QLatin1Char('z')) || (c >= QLatin1Char('A') && c <= QLatin1Char('Z'));
}

// Fields are runs of one ASCII letter (and AP / ap), quoted text is literal
// ('' inside quotes is one quote), everything else is literal as written.
std::vector<PatternPiece> splitPattern(const QString& pattern)
{
    std::vector<PatternPiece> pieces;
    auto literal = [&pieces](QChar c) {
        if (pieces.empty() || pieces.back().kind != PatternPiece::Literal)
            pieces.push_back({PatternPiece::Literal, QString()});
        pieces.back().text += c;
    };
    for (qsizetype i = 0; i < pattern.size();) {
        const QChar c = pattern.at(i);
        if (c == QLatin1Char('\'')) {
            qsizetype j = i + 1;
            for (; j < pattern.size(); ++j) {
                if (pattern.at(j) != QLatin1Char('\''))
                    continue;
                if (j + 1 < pattern.size() && pattern.at(j + 1) == QLatin1Char('\'')) {
                    ++j;
                    continue;
                }
                break;
            }
            const qsizetype end = std::min(j + 1, pattern.size());
            pieces.push_back({PatternPiece::Quoted, pattern.mid(i, end - i)});
            i = end;
        } else if (isAsciiLetter(c)) {
            qsizetype j = i + 1;
            while (j < pattern.size() && pattern.at(j) == c)
                ++j;
            if (j == i + 1 && (c == QLatin1Char('A') || c == QLatin1Char('a')) && j < pattern.size() &&
                pattern.at(j) == (c == QLatin1Char('A') ? QLatin1Char('P') : QLatin1Char('p')))
                ++j;
            pieces.push_back({PatternPiece::Field, pattern.mid(i, j - i)});
            i = j;
        } else {
            literal(c);
            ++i;
        }
    }
    return pieces;
}

bool isZone(const PatternPiece& piece)
{
    return piece.kind == PatternPiece::Field && piece.text.startsWith(QLatin1Char('t'));
}

bool isSeparator(QChar c)
{
    return c.isSpace() || c == QLatin1Char(',');
}

QString trimmedLiteralEnd(QString text)
{
    while (!text.isEmpty() && isSeparator(text.back()))
        text.chop(1);
    return text;
}

QString trimmedLiteralStart(QString text)
{
    qsizetype n = 0;
    while (n < text.size() && isSeparator(text.at(n)))
        ++n;
    return text.mid(n);
}

} // namespace

QString longTimeWithoutZone(const QString& qtPattern)
{
    std::vector<PatternPiece> pieces = splitPattern(qtPattern);
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        if (!isZone(pieces[i]))
            continue;
        PatternPiece* before = i > 0 && pieces[i - 1].kind == PatternPiece::Literal ? &pieces[i - 1] : nullptr;
        PatternPiece* after =
            i + 1 < pieces.size() && pieces[i + 1].kind == PatternPiece::Literal ? &pieces[i + 1] : nullptr;
        QString left = before ? before->text.trimmed() : QString();
        QString right = after ? after->text.trimmed() : QString();
        // "(t)" and "[t]": the brackets go with the zone.
        if (!left.isEmpty() && !right.isEmpty() &&
            ((left.back() == QLatin1Char('(') && right.front() == QLatin1Char(')')) ||
             (left.back() == QLatin1Char('[') && right.front() == QLatin1Char(']')))) {
            before->text = before->text.trimmed().chopped(1);
            after->text = after->text.trimmed().mid(1);
        }
        if (before)
            before->text = trimmedLiteralEnd(before->text);
        if (after)
            after->text = trimmedLiteralStart(after->text);
        // A zone between two parts of the time leaves one blank between them.
        auto hasText = [](const PatternPiece& p) { return !p.text.trimmed().isEmpty(); };
        const bool textBefore = std::any_of(pieces.begin(), pieces.begin() + i, hasText);
        const bool textAfter = std::any_of(pieces.begin() + i + 1, pieces.end(), hasText);
        pieces[i] = {PatternPiece::Literal, textBefore && textAfter ? QStringLiteral(" ") : QString()};
    }
    QString out;
    for (const PatternPiece& piece : pieces) {
        // B (a flexible day period such as 上午 or 下午) is no letter of
        // Qt's patterns and would show as itself.
        if (piece.kind == PatternPiece::Field && piece.text.startsWith(QLatin1Char('B')))
            out += QStringLiteral("AP");
        else
            out += piece.text;
    }
    return out.trimmed();
}

DateTimeFormats dateTimeFormatsOf(const QLocale& locale)
{
    if (locale.language() == QLocale::C)
        return {QLocale(QLocale::Chinese, QLocale::China), QStringLiteral("yyyy/M/d"), QStringLiteral("H:mm:ss")};
    return {locale, locale.dateFormat(QLocale::ShortFormat),
            longTimeWithoutZone(locale.timeFormat(QLocale::LongFormat))};
}

QString formatDateTime(const QDateTime& value)
{
    return formatDateTime(value, QLocale::system());
}

QString formatDateTime(const QDateTime& value, const QLocale& locale)
{
    const DateTimeFormats formats = dateTimeFormatsOf(locale);
    QString text = formats.locale.toString(value.date(), formats.shortDate);
    if (value.time() == QTime(0, 0))
        return text;
    return text + QLatin1Char(' ') + formats.locale.toString(value.time(), formats.longTime);
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
