#include "chart/series_geometry.h"

#include "chart/axes_geometry.h"
#include "chart/axis_scale.h"
#include "chart/colors.h"
#include "chart/number_format.h"
#include "chart/projection.h"

#include <QLinearGradient>
#include <algorithm>
#include <cmath>
#include <numbers>

namespace kvet::chart {
namespace {

constexpr double kPi = std::numbers::pi;
// Light on the cylinders comes from the front left: the mantle is brightest
// where its outward normal (in the x-z plane) points this way.
const double kLightAngle = std::atan2(-0.9, -0.45);
constexpr double kDarkest = 0.55; // share of the colour left where no light falls

double lightFactor(double t) { return kDarkest + (1 - kDarkest) * std::max(0.0, std::cos(t - kLightAngle)); }

QColor withOpacity(QColor c, int transparencyPercent)
{
    c.setAlphaF(float(std::clamp(1.0 - transparencyPercent / 100.0, 0.0, 1.0)));
    return c;
}

// What a series of columns (boxes or cylinders) shares: the projection, the
// column width and depth, and the font of its marks.
struct ColumnSlot {
    ColumnSlot(const Series& series, const AxesGeometry& ax, double scale, bool antialiased)
        : project(ax.obliqueAngle),
          width(slotWidth(ax, series.points().size()) * series.style().bar.widthPercent / 100.0),
          z(barDepthSlot(series.style(), ax.plotDepth, width)),
          markFont(chartFont(series.style().marks.font, scale, antialiased))
    {
    }
    Oblique project;
    double width;
    DepthSlot z;
    QFont markFont;
};

void addBars(const Series& series, const std::vector<double>& bases, const AxesGeometry& ax, double scale,
             bool antialiased, ChartGeometry& out)
{
    const SeriesStyle& st = series.style();
    const auto [project, width, z, markFont] = ColumnSlot(series, ax, scale, antialiased);
    const QPointF front = project.shift(z.z0), deep = project.shift(z.depth);
    for (std::size_t i = 0; i < series.points().size(); ++i) {
        const ChartPoint& p = series.points()[i];
        const double x = ax.categories.toPixel(double(i));
        const double y0 = ax.values.toPixel(bases[i]), y1 = ax.values.toPixel(bases[i] + finite(p.value));
        const QRectF face = QRectF(QPointF(x - width / 2, std::min(y0, y1)), QPointF(x + width / 2, std::max(y0, y1)))
                                .translated(front);
        BoxGeometry box;
        box.color = withOpacity(pointColor(p.color, i), st.bar.transparencyPercent);
        box.front = QPolygonF(face);
        box.top = QPolygonF({face.topLeft(), face.topRight(), face.topRight() + deep, face.topLeft() + deep});
        box.side = QPolygonF({face.topRight(), face.bottomRight(), face.bottomRight() + deep, face.topRight() + deep});
        out.bars.push_back(box);
        if (st.marks.content != MarkContent::None) {
            MarkGeometry mark = makeMark(st.marks, markFont, {formatValue(p.value)});
            placeAbove(mark, QPointF(x, y1) + project.shift(z.middle()), st.marks.distance);
            out.marks.push_back(std::move(mark));
        }
    }
}

void addCylinders(const Series& series, const std::vector<double>& bases, const AxesGeometry& ax, double scale,
                  bool antialiased, ChartGeometry& out)
{
    const SeriesStyle& st = series.style();
    const auto [project, width, z, markFont] = ColumnSlot(series, ax, scale, antialiased);
    for (std::size_t i = 0; i < series.points().size(); ++i) {
        const ChartPoint& p = series.points()[i];
        CylinderShape shape;
        shape.x = ax.categories.toPixel(double(i));
        shape.zc = z.middle();
        shape.rx = width / 2;
        shape.rz = z.depth / 2;
        const double y0 = ax.values.toPixel(bases[i]), y1 = ax.values.toPixel(bases[i] + finite(p.value));
        shape.yTop = std::min(y0, y1);
        shape.yBottom = std::max(y0, y1);
        out.cylinders.push_back(cylinderGeometry(shape, ax.obliqueAngle, st.bar.sides, pointColor(p.color, i), st.bar));
        if (st.marks.content == MarkContent::None)
            continue;
        MarkGeometry mark = makeMark(st.marks, markFont, {formatValue(p.value)});
        if (st.marks.place == MarkPlace::InsideTop) // below the cap's front edge, centred on the column
            placeInsideTop(mark, QPointF(project(shape.x, y1, shape.zc).x(), project(shape.x, y1, shape.zc - shape.rz).y()));
        else
            placeAbove(mark, project(shape.x, y1, shape.zc), st.marks.distance);
        out.marks.push_back(std::move(mark));
    }
}

void addLine(const Series& series, const AxesGeometry& ax, double scale, bool antialiased, ChartGeometry& out)
{
    const SeriesStyle& st = series.style();
    LineGeometry line;
    line.style = st.line;
    const QFont markFont = chartFont(st.marks.font, scale, antialiased);
    for (std::size_t i = 0; i < series.points().size(); ++i) {
        const ChartPoint& p = series.points()[i];
        const QPointF at(ax.categories.toPixel(double(i)), ax.values.toPixel(finite(p.value)));
        line.points.push_back(at);
        line.colors.push_back(pointColor(p.color, i));
        if (st.marks.content != MarkContent::None) {
            MarkGeometry mark = makeMark(st.marks, markFont, {formatValue(p.value)});
            placeAbove(mark, at, st.marks.distance);
            out.marks.push_back(std::move(mark));
        }
    }
    out.lines.push_back(std::move(line));
}

} // namespace

CylinderGeometry cylinderGeometry(const CylinderShape& c, double obliqueAngle, int sides, const QColor& color,
                                  const BarStyle& style)
{
    const Oblique project(obliqueAngle);
    const double ux = project.shift(1).x();
    sides = std::clamp(sides, 8, 1024);
    auto at = [&](double t, double y) { return project(c.x + c.rx * std::cos(t), y, c.zc + c.rz * std::sin(t)); };

    CylinderGeometry g;
    for (int k = 0; k < sides; ++k)
        g.cap << at(2 * kPi * k / sides, c.yTop);
    // The mantle's outline on screen turns where its x is extreme: t1 on the
    // right, t1 - pi on the left; the half nearer the viewer lies between.
    const double t1 = std::atan2(ux * c.rz, c.rx);
    const int half = sides / 2;
    for (int k = 0; k <= half; ++k)
        g.side << at(t1 - kPi * k / half, c.yTop);
    for (int k = half; k >= 0; --k)
        g.side << at(t1 - kPi * k / half, c.yBottom);

    const QColor fill = withOpacity(color, style.transparencyPercent);
    g.capColor = fill;
    g.outline = style.outlineDarker ? shaded(color, 0.8) : QColor(Qt::black);
    const double lit = std::clamp(kLightAngle, t1 - kPi, t1);
    g.litLine = QLineF(at(lit, c.yTop), at(lit, c.yBottom));
    if (!style.shadedSides) {
        g.sideBrush = QBrush(fill);
        return g;
    }
    const double xLeft = at(t1 - kPi, c.yTop).x(), xRight = at(t1, c.yTop).x();
    QLinearGradient gradient(QPointF(xLeft, 0), QPointF(xRight, 0));
    auto stop = [&](double t) {
        const double pos = xRight > xLeft ? (at(t, c.yTop).x() - xLeft) / (xRight - xLeft) : 0.0;
        gradient.setColorAt(std::clamp(pos, 0.0, 1.0), shaded(fill, lightFactor(t)));
    };
    constexpr int kStops = 16;
    for (int k = 0; k <= kStops; ++k)
        stop(t1 - kPi + kPi * k / kStops);
    stop(lit);
    g.sideBrush = QBrush(gradient);
    return g;
}

void layoutCartesianSeries(const Chart& chart, const AxesGeometry& axes, double scale, ChartGeometry& out)
{
    const auto bases = stackBases(chart);
    const bool aa = chart.style().antialiased;
    for (std::size_t s = 0; s < chart.seriesCount(); ++s) {
        const Series& series = chart.series(s);
        switch (series.style().kind) {
        case SeriesKind::Bar3D:
            addBars(series, bases[s], axes, scale, aa, out);
            break;
        case SeriesKind::Cylinder:
            addCylinders(series, bases[s], axes, scale, aa, out);
            break;
        case SeriesKind::Line:
            addLine(series, axes, scale, aa, out);
            break;
        case SeriesKind::Pie:
            break;
        }
    }
}

} // namespace kvet::chart
