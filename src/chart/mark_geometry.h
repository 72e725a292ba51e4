#pragma once
// Where a mark (the small text box beside a point) goes: its box size from its
// lines, and its centre for the three placements the charts use.
#include "chart/chart_style.h"
#include "chart/text_block.h"

#include <QPolygonF>

namespace kvet::chart {

struct MarkGeometry {
    MarkStyle style;
    QFont font;
    QStringList lines;
    QSizeF size;    // the box before rotation
    QPointF center; // of the box on screen
    QPointF anchor; // the point it belongs to; the connector starts here

    QPolygonF box() const;   // corners on screen, turned by style.angle counter-clockwise
    QRectF bounds() const { return box().boundingRect(); }
    // Where the connector meets the box: the middle of its lowest edge.
    QPointF connectorEnd() const;
};

// A box sized for `lines` in `font`, with a little paper round the text.
MarkGeometry makeMark(const MarkStyle& style, const QFont& font, const QStringList& lines);

// Screen height of a box of `size` turned by `angleDegrees`.
double turnedHeight(QSizeF size, double angleDegrees);

void placeCentered(MarkGeometry& mark, QPointF at);
// The box's lowest point `distance` pixels above `point`, centred over it.
void placeAbove(MarkGeometry& mark, QPointF point, double distance);
// The box just below `top`, inside a column whose upper end is at `top`.
void placeInsideTop(MarkGeometry& mark, QPointF top);

} // namespace kvet::chart
