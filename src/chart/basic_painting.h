#pragma once
// Small drawing routines the chart painters share: text blocks, outlined
// shapes and soft shadows.
#include "chart/text_block.h"

#include <QPainter>
#include <QPainterPath>

namespace kvet::chart {

void drawTextBlock(QPainter& painter, const TextBlock& block);

// A 1-pixel pen that stays 1 pixel wide under any transform.
QPen thinPen(const QColor& color);

// A shape filled and then outlined with a thin pen. The fill is drawn without
// smoothing (several times cheaper) and the smoothed outline covers its edge,
// so the result looks the same as a fully smoothed drawing.
void drawOutlined(QPainter& painter, const QPainterPath& shape, const QBrush& fill, const QColor& outline);
void drawOutlined(QPainter& painter, const QPolygonF& shape, const QBrush& fill, const QColor& outline);

// `shape` moved by `offset` in `color` (its alpha included), fading out
// towards the far edge. With a valid `backdrop` (the uniform colour the shadow
// falls on) the layers are mixed beforehand and drawn opaque, which is much
// cheaper for large shapes.
void drawSoftShadow(QPainter& painter, const QPainterPath& shape, const QColor& color, QPointF offset,
                    const QColor& backdrop = QColor());

// The same for an upright rectangle, snapped to whole pixels.
void drawSoftShadow(QPainter& painter, const QRect& box, const QColor& color, QPoint offset,
                    const QColor& backdrop = QColor());

} // namespace kvet::chart
