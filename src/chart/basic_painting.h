#pragma once
// Small drawing routines the chart painters share: text blocks, thin outlines
// and soft shadows.
#include "chart/text_block.h"

#include <QPainter>
#include <QPainterPath>

namespace kvet::chart {

void drawTextBlock(QPainter& painter, const TextBlock& block);

// A 1-pixel pen that stays 1 pixel wide under any transform.
QPen thinPen(const QColor& color);

// `shape` moved by `offset` in `color`, its edge fading out over a couple of
// pixels.
void drawSoftShadow(QPainter& painter, const QPainterPath& shape, const QColor& color, QPointF offset);

} // namespace kvet::chart
