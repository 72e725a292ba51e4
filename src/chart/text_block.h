#pragma once
// Text as the charts draw it: fonts from a style at a density scale, labels
// broken into lines at carriage returns, and the size of a block of lines.
#include "chart/chart_style.h"

#include <QColor>
#include <QFont>
#include <QRectF>
#include <QStringList>

namespace kvet::chart {

// The style's face at its pixel size times `scale` (whole pixels, at least 1),
// regular weight; `antialiased` false draws hard-edged glyphs.
QFont chartFont(const FontStyle& style, double scale, bool antialiased = true);

// A label broken at CR (code 13), LF or CR LF.
QStringList splitLines(const QString& label);

// Width of the widest line and height of all lines together.
QSizeF blockSize(const QFont& font, const QStringList& lines);

// Lines drawn centred (or aligned) in a rectangle.
struct TextBlock {
    QStringList lines;
    QFont font;
    QColor color;
    QRectF rect;
    int align = Qt::AlignCenter;
};

} // namespace kvet::chart
