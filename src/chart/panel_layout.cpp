#include "chart/panel_layout.h"

#include <QFontMetricsF>
#include <algorithm>
#include <cmath>

namespace kvet::chart {
namespace {
constexpr double kTitleTop = 4;  // pixels from the panel's top edge to the title
constexpr double kTitleSide = 12; // room kept free left and right of a title
constexpr double kBelowTitle = 4;
} // namespace

QPainterPath roundedPanel(QSizeF size, double radius)
{
    QPainterPath path;
    if (size.isEmpty())
        return path;
    const double r = std::clamp(radius, 0.0, std::min(size.width(), size.height()) / 2);
    path.addRoundedRect(QRectF(QPointF(0, 0), size), r, r);
    return path;
}

PanelLayout layoutPanel(const ChartStyle& style, const QStringList& titleLines, QSizeF size, double scale)
{
    PanelLayout layout;
    const double w = size.width(), h = size.height();
    double y = kTitleTop;
    const double room = std::max(1.0, w - 2 * kTitleSide);
    for (const QString& line : titleLines) {
        if (line.isEmpty() && titleLines.size() == 1)
            break;
        QFont font = chartFont(style.title, scale, style.antialiased);
        const double natural = QFontMetricsF(font).horizontalAdvance(line);
        if (natural > room) {
            const int px = std::max(6, int(std::floor(font.pixelSize() * room / natural)));
            font.setPixelSize(px);
        }
        const QFontMetricsF fm(font);
        const double lineHeight = std::ceil(fm.ascent() + fm.descent());
        layout.title.push_back({QStringList{line}, font, style.title.color, QRectF(0, y, w, lineHeight)});
        y += lineHeight;
    }
    const Margins& m = style.margins;
    const double top = std::max(h * m.top / 100.0, layout.title.empty() ? 0.0 : y + kBelowTitle);
    layout.inner = QRectF(QPointF(w * m.left / 100.0, top), QPointF(w - w * m.right / 100.0, h - h * m.bottom / 100.0));
    if (layout.inner.height() < 0)
        layout.inner.setHeight(0);
    if (layout.inner.width() < 0)
        layout.inner.setWidth(0);
    return layout;
}

} // namespace kvet::chart
