#pragma once
// The looks of the dashboard's charts, fixed when the window is built: each
// chart's kind, 3D view, background, margins, axes, legend, series styles and
// initial title, plus the sample columns the recovery chart shows until its
// first refresh. The panels table says which chart wears which look.
#include "chart/chart_widget.h"

#include <memory>
#include <vector>

namespace kvet {

struct SeriesLook {
    QString name; // the designer's series name, e.g. "PieSeries1"
    chart::SeriesStyle style;
    std::vector<chart::ChartPoint> samples; // shown until the first refresh clears them
};

struct ChartLook {
    chart::ChartStyle style;
    QString title; // shown until the first refresh sets its own
    std::vector<SeriesLook> series;
};

ChartLook paymentChannelsLook();    // 3D pie, the first of the three (rotated, bevelled)
ChartLook waterUseCategoriesLook(); // 3D pie
ChartLook readingStatusLook();      // 3D pie
ChartLook yearlyChargesLook();      // 2D line on a radial gradient
ChartLook dailyWorkloadLook();      // oblique 3D bars, not antialiased
ChartLook feeRecoveryLook();        // stacked cylinders with sample columns

// A chart widget named `name` ("Chart1") wearing `look`, its model holding the
// look's series in order and its initial title. `dpiScale` (dpi / 96) scales
// the chart fonts.
std::unique_ptr<chart::ChartWidget> makeChartWidget(const QString& name, const ChartLook& look, double dpiScale,
                                                    QWidget* parent);

} // namespace kvet
