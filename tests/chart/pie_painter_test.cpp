// The pie painter on a recording paint device: which shapes it draws with
// smoothing, whatever pixels they end up as.
#include "chart/chart_geometry.h"
#include "chart/chart_model.h"
#include "chart/pie_painter.h"

#include <QPaintDevice>
#include <QPaintEngine>
#include <QPainter>
#include <gtest/gtest.h>

using namespace kvet::chart;

namespace {

// Counts the shapes drawn with and without smoothing.
class SmoothingRecorder : public QPaintEngine {
public:
    SmoothingRecorder() : QPaintEngine(QPaintEngine::AllFeatures) {}
    bool begin(QPaintDevice*) override { return true; }
    bool end() override { return true; }
    Type type() const override { return QPaintEngine::User; }
    void updateState(const QPaintEngineState& changed) override
    {
        if (changed.state() & QPaintEngine::DirtyHints)
            smooth_ = changed.renderHints().testFlag(QPainter::Antialiasing);
    }
    void drawPath(const QPainterPath&) override { count(); }
    void drawPolygon(const QPointF*, int, PolygonDrawMode) override { count(); }
    void drawRects(const QRectF*, int) override { count(); }
    void drawPixmap(const QRectF&, const QPixmap&, const QRectF&) override { count(); }

    int smoothed = 0, hard = 0;

private:
    void count() { ++(smooth_ ? smoothed : hard); }
    bool smooth_ = false;
};

class RecordingDevice : public QPaintDevice {
public:
    QPaintEngine* paintEngine() const override { return &engine; }
    mutable SmoothingRecorder engine;

protected:
    int metric(PaintDeviceMetric m) const override
    {
        switch (m) {
        case PdmWidth: return 640;
        case PdmHeight: return 360;
        case PdmDpiX:
        case PdmDpiY:
        case PdmPhysicalDpiX:
        case PdmPhysicalDpiY: return 96;
        case PdmWidthMM: return 169;
        case PdmHeightMM: return 95;
        case PdmDepth: return 32;
        case PdmDevicePixelRatio: return 1;
        case PdmDevicePixelRatioScaled: return int(devicePixelRatioFScale());
        default: return QPaintDevice::metric(m);
        }
    }
};

// A bevelled pie of three slices, as Chart1 draws it.
PieGeometry bevelledPie()
{
    Chart chart(QStringLiteral("Pie"));
    ChartStyle style;
    style.view = {ViewKind::Pie3D, 15, 315, 45};
    chart.setStyle(style);
    SeriesStyle series;
    series.kind = SeriesKind::Pie;
    series.pie.bevelPercent = 14;
    Series& pie = chart.addSeries(QStringLiteral("Slices"), series);
    for (int v : {5, 3, 2})
        pie.add(v, QString::number(v), kAutoColor);
    const ChartGeometry g = computeGeometry(chart, QSizeF(640, 360), 1.0);
    EXPECT_TRUE(g.pie);
    return g.pie ? *g.pie : PieGeometry{};
}

} // namespace

TEST(PieSmoothing, FollowsTheChartsSettingForEveryShapeOfABevelledPie)
{
    const PieGeometry pie = bevelledPie();
    ASSERT_FALSE(pie.slices.empty());
    ASSERT_FALSE(pie.slices.front().bevel.isEmpty());
    {
        RecordingDevice device;
        QPainter painter(&device);
        painter.setRenderHint(QPainter::Antialiasing, false);
        paintPie(painter, pie);
        painter.end();
        EXPECT_EQ(device.engine.smoothed, 0) << "smoothing off, yet shapes drawn smooth";
        EXPECT_GT(device.engine.hard, 0);
    }
    {
        // Smoothing on: the fills stay hard (the outlines cover their edges),
        // the outlines and the bevels are smooth.
        RecordingDevice device;
        QPainter painter(&device);
        painter.setRenderHint(QPainter::Antialiasing, true);
        paintPie(painter, pie);
        painter.end();
        EXPECT_GE(device.engine.smoothed, int(pie.slices.size()) * 2);
    }
}
