#pragma once
// Keeps a chart's computed geometry and draws it. The geometry is rebuilt only
// when the model has changed (invalidate) or the size or scale differs from
// the cached one; paint() only draws.
#include "chart/chart_geometry.h"

#include <QImage>
#include <QPainter>

namespace kvet::chart {

class ChartRenderer {
public:
    explicit ChartRenderer(const Chart& chart, double scale = 1.0);

    // Font sizes are multiplied by `scale` (the screen's dpi / 96).
    void setScale(double scale);
    double scale() const { return scale_; }

    void invalidate() { dirty_ = true; }
    // The geometry for `size`, computed now if the cached one is stale.
    const ChartGeometry& prepare(QSizeF size);
    const ChartGeometry& geometry() const { return geometry_; }

    // Draws the prepared geometry; the panel's corners are left untouched.
    void paint(QPainter& painter) const;

private:
    const Chart& chart_;
    double scale_ = 1.0;
    bool dirty_ = true;
    ChartGeometry geometry_;
};

// Draws a computed geometry: background, title, plot, series, marks, legend.
void paintChart(QPainter& painter, const ChartGeometry& geometry);

// `chart` drawn at `size` (logical pixels) on a transparent image with the
// given device pixel ratio; for snapshots and tests.
QImage renderChart(const Chart& chart, QSize size, double scale = 1.0, qreal devicePixelRatio = 1.0);

} // namespace kvet::chart
