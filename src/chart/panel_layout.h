#pragma once
// The parts every chart shares: the rounded panel, the title lines at the top
// and the inner rectangle left for the plot after margins and title.
#include "chart/chart_style.h"
#include "chart/text_block.h"

#include <QPainterPath>
#include <vector>

namespace kvet::chart {

// The panel with its corners cut to quarter circles of `radius` pixels.
QPainterPath roundedPanel(QSizeF size, double radius);

struct PanelLayout {
    std::vector<TextBlock> title;
    QRectF inner; // inside the margins and below the title
};

// Title lines centred at the top; a line too wide for the panel is drawn in a
// smaller size rather than cut.
PanelLayout layoutPanel(const ChartStyle& style, const QStringList& titleLines, QSizeF size, double scale);

} // namespace kvet::chart
