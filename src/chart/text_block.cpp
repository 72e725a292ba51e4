#include "chart/text_block.h"

#include <QFontMetricsF>
#include <QRegularExpression>
#include <algorithm>
#include <cmath>

namespace kvet::chart {

QFont chartFont(const FontStyle& style, double scale, bool antialiased)
{
    QFont font(style.family);
    const double px = std::isfinite(scale) && scale > 0 ? style.pixelSize * scale : style.pixelSize;
    font.setPixelSize(std::max(1, int(std::lround(px))));
    font.setWeight(QFont::Normal);
    font.setItalic(false);
    font.setUnderline(false);
    font.setStyleStrategy(antialiased ? QFont::PreferAntialias : QFont::NoAntialias);
    return font;
}

QStringList splitLines(const QString& label)
{
    static const QRegularExpression breaks(QStringLiteral("\r\n|\r|\n"));
    return label.split(breaks);
}

QSizeF blockSize(const QFont& font, const QStringList& lines)
{
    const QFontMetricsF fm(font);
    double width = 0;
    for (const QString& line : lines)
        width = std::max(width, fm.horizontalAdvance(line));
    return {std::ceil(width), std::ceil(fm.height() * std::max<qsizetype>(1, lines.size()))};
}

} // namespace kvet::chart
