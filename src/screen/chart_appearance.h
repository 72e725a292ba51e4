#pragma once
// The look of the six dashboard charts, fixed when the window is built: each
// chart's kind, 3D view, background, margins, axes, legend, series styles and
// initial title, plus the sample columns the recovery chart shows until its
// first refresh.
#include "chart/chart_widget.h"

#include <memory>

namespace kvet {

// Chart `number` (1..6) as `Chart1`..`Chart6`, its model holding the named
// series in order and the initial title. `dpiScale` (dpi / 96) scales the
// chart fonts. Throws std::out_of_range for any other number.
std::unique_ptr<chart::ChartWidget> makeDashboardChart(int number, double dpiScale, QWidget* parent);

// The style part alone, for checks without a widget.
chart::ChartStyle dashboardChartStyle(int number);

} // namespace kvet
