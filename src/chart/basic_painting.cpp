#include "chart/basic_painting.h"

#include "chart/colors.h"
#include "chart/painter_saver.h"

#include <array>

namespace kvet::chart {
namespace {

// Three copies step out to the full offset; next to the shape all three
// overlap (darkest), at the far edge only one remains.
constexpr std::array<double, 3> kSteps{1.0, 2.0 / 3.0, 1.0 / 3.0}; // far copy first
constexpr double kLayerOpacity = 0.45;

// The colour seen where `layers` translucent copies overlap.
QColor layered(const QColor& color, int layers, const QColor& backdrop)
{
    QColor seen = backdrop;
    for (int i = 0; i < layers; ++i)
        seen = blended(color, color.alphaF() * kLayerOpacity, seen);
    return seen;
}

template <typename DrawAt>
void drawLayers(QPainter& painter, const QColor& color, const QColor& backdrop, DrawAt drawAt)
{
    PainterSaver saver(painter);
    painter.setPen(Qt::NoPen);
    if (backdrop.isValid()) {
        // Opaque: the nearer copy, darker, paints over the farther one.
        for (std::size_t i = 0; i < kSteps.size(); ++i) {
            painter.setBrush(layered(color, int(i) + 1, backdrop));
            drawAt(kSteps[i]);
        }
        return;
    }
    QColor layer = color;
    layer.setAlphaF(float(color.alphaF() * kLayerOpacity));
    painter.setBrush(layer);
    for (double step : kSteps)
        drawAt(step);
}

} // namespace

void drawTextBlock(QPainter& painter, const TextBlock& block)
{
    if (block.lines.isEmpty())
        return;
    PainterSaver saver(painter);
    painter.setFont(block.font);
    painter.setPen(block.color);
    painter.drawText(block.rect, block.align, block.lines.join(QLatin1Char('\n')));
}

QPen thinPen(const QColor& color)
{
    QPen pen(color, 1);
    pen.setCosmetic(true);
    return pen;
}

void drawOutlined(QPainter& painter, const QPainterPath& shape, const QBrush& fill, const QColor& outline)
{
    PainterSaver saver(painter);
    const bool smooth = painter.testRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(Qt::NoPen);
    painter.setBrush(fill);
    painter.drawPath(shape);
    painter.setRenderHint(QPainter::Antialiasing, smooth);
    painter.setPen(thinPen(outline));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(shape);
}

void drawOutlined(QPainter& painter, const QPolygonF& shape, const QBrush& fill, const QColor& outline)
{
    PainterSaver saver(painter);
    const bool smooth = painter.testRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(Qt::NoPen);
    painter.setBrush(fill);
    painter.drawPolygon(shape);
    painter.setRenderHint(QPainter::Antialiasing, smooth);
    painter.setPen(thinPen(outline));
    painter.setBrush(Qt::NoBrush);
    painter.drawPolygon(shape);
}

void drawSoftShadow(QPainter& painter, const QPainterPath& shape, const QColor& color, QPointF offset,
                    const QColor& backdrop)
{
    if (shape.isEmpty())
        return;
    drawLayers(painter, color, backdrop, [&](double step) {
        painter.save();
        painter.translate(offset * step);
        painter.drawPath(shape);
        painter.restore();
    });
}

void drawSoftShadow(QPainter& painter, const QRect& box, const QColor& color, QPoint offset, const QColor& backdrop)
{
    if (box.isEmpty())
        return;
    PainterSaver saver(painter);
    painter.setRenderHint(QPainter::Antialiasing, false);
    drawLayers(painter, color, backdrop, [&](double step) {
        painter.drawRect(box.translated((QPointF(offset) * step).toPoint()));
    });
}

} // namespace kvet::chart
