#include "chart/axes_geometry.h"

#include "chart/axis_scale.h"
#include "chart/number_format.h"

#include <QFontMetricsF>
#include <algorithm>
#include <cmath>

namespace kvet::chart {
namespace {

constexpr double kLabelGap = 3;      // pixels between a tick's end and its label
constexpr double kLabelSpacing = 6;  // least room between two bottom labels
constexpr double kLabelPitch = 1.8;  // value labels at least this many line heights apart

bool standsInSlots(SeriesKind kind) { return kind == SeriesKind::Bar3D || kind == SeriesKind::Cylinder; }

// Screen height of the tallest value mark of `series`, shadow included.
double tallestMark(const Series& series, double scale, bool antialiased)
{
    const MarkStyle& style = series.style().marks;
    if (style.content == MarkContent::None || series.points().empty())
        return 0;
    const QFont font = chartFont(style.font, scale, antialiased);
    double tallest = 0;
    for (const ChartPoint& p : series.points()) {
        const MarkGeometry mark = makeMark(style, font, {formatValue(p.value)});
        tallest = std::max(tallest, turnedHeight(mark.size, style.angle));
    }
    return tallest + (style.shadow != MarkShadow::None ? style.shadowOffset : 0);
}

// Screen width of the widest value mark of `series`, shadow included.
double widestMark(const Series& series, double scale, bool antialiased)
{
    const MarkStyle& style = series.style().marks;
    if (style.content == MarkContent::None || series.points().empty())
        return 0;
    const QFont font = chartFont(style.font, scale, antialiased);
    double widest = 0;
    for (const ChartPoint& p : series.points())
        widest = std::max(widest, makeMark(style, font, {formatValue(p.value)}).bounds().width());
    return widest + (style.shadow != MarkShadow::None ? style.shadowOffset : 0);
}

struct Pads {
    double low = 0, high = 0;
};

// Pixels needed below the lowest and above the highest value so that the
// columns' tops, markers and marks stay inside the plot.
Pads padsFor(const Chart& chart, double plotDepth, double slot, const Oblique& project, double scale)
{
    Pads pads;
    const double up = -project.shift(1).y(); // screen rise per pixel of depth
    for (std::size_t s = 0; s < chart.seriesCount(); ++s) {
        const Series& series = chart.series(s);
        const SeriesStyle& style = series.style();
        const double mark = tallestMark(series, scale, chart.style().antialiased);
        const bool above = style.marks.place == MarkPlace::Above && mark > 0;
        switch (style.kind) {
        case SeriesKind::Bar3D:
        case SeriesKind::Cylinder: {
            const DepthSlot z = barDepthSlot(style, plotDepth, slot * style.bar.widthPercent / 100.0);
            pads.high = std::max(pads.high, (z.z0 + z.depth) * up);
            if (above)
                pads.high = std::max(pads.high, z.middle() * up + style.marks.distance + mark);
            break;
        }
        case SeriesKind::Line:
            pads.low = std::max(pads.low, style.line.markerRadius + 1.0);
            pads.high = std::max(pads.high, style.line.markerRadius + 1.0);
            if (above)
                pads.high = std::max(pads.high, style.marks.distance + mark);
            break;
        case SeriesKind::Pie:
            break;
        }
    }
    return pads;
}

std::vector<QStringList> bottomLabelTexts(const Chart& chart, std::size_t count)
{
    std::vector<QStringList> labels(count);
    const int from = chart.style().labelSeries;
    if (from >= 0 && std::size_t(from) < chart.seriesCount()) {
        const auto& points = chart.series(std::size_t(from)).points();
        for (std::size_t i = 0; i < points.size() && i < count; ++i)
            labels[i] = splitLines(points[i].label);
    }
    return labels;
}

std::vector<double> between(const std::vector<double>& majors, int count)
{
    std::vector<double> minors;
    for (std::size_t i = 1; i < majors.size(); ++i)
        for (int k = 1; k <= count; ++k)
            minors.push_back(majors[i - 1] + (majors[i] - majors[i - 1]) * k / (count + 1));
    return minors;
}

WallGeometry wallsOf(const QRectF& f, QPointF s, double t)
{
    WallGeometry w;
    const QPointF tl = f.topLeft(), bl = f.bottomLeft(), br = f.bottomRight();
    w.back = QPolygonF(f.translated(s));
    w.leftFace = QPolygonF({tl, tl + s, bl + s, bl});
    w.leftFront = QPolygonF(QRectF(QPointF(f.left() - t, f.top()), QPointF(f.left(), f.bottom() + t)));
    w.leftTop = QPolygonF({QPointF(f.left() - t, f.top()), tl, tl + s, QPointF(f.left() - t, f.top()) + s});
    w.floorFace = QPolygonF({bl, br, br + s, bl + s});
    w.floorFront = QPolygonF(QRectF(bl, QPointF(f.right(), f.bottom() + t)));
    w.floorSide = QPolygonF({br, br + s, QPointF(f.right(), f.bottom() + t) + s, QPointF(f.right(), f.bottom() + t)});
    return w;
}

} // namespace

DepthSlot barDepthSlot(const SeriesStyle& style, double plotDepth, double columnWidth)
{
    double depth = plotDepth;
    if (style.bar.depth > 0)
        depth = style.bar.depth;
    else if (style.kind == SeriesKind::Cylinder) // round: as deep as wide, within the plot's depth
        depth = std::min(plotDepth, columnWidth);
    depth = std::max(0.0, depth);
    return {std::max(0.0, (plotDepth - depth) / 2), depth};
}

std::vector<std::vector<double>> stackBases(const Chart& chart)
{
    std::vector<std::vector<double>> bases;
    std::vector<double> tops;
    for (std::size_t s = 0; s < chart.seriesCount(); ++s) {
        const Series& series = chart.series(s);
        const auto& points = series.points();
        std::vector<double> base(points.size(), 0.0);
        if (series.style().bar.stacked)
            for (std::size_t i = 0; i < points.size() && i < tops.size(); ++i)
                base[i] = tops[i];
        tops.assign(points.size(), 0.0);
        for (std::size_t i = 0; i < points.size(); ++i)
            tops[i] = base[i] + finite(points[i].value);
        bases.push_back(std::move(base));
    }
    return bases;
}

std::size_t categoryCount(const Chart& chart)
{
    std::size_t n = 0;
    for (std::size_t s = 0; s < chart.seriesCount(); ++s)
        n = std::max(n, chart.series(s).points().size());
    return n;
}

double slotWidth(const AxesGeometry& axes, std::size_t categories)
{
    return std::abs(axes.categories.pixelsPerUnit()) * (categories ? 1.0 : 0.0);
}

namespace {

// What the series ask of the axes.
struct SeriesNeeds {
    bool columns = false;  // bars or cylinders: the categories are slots, values grow from 0
    bool hasLine = false;
    double markerPad = 0;  // room a line's first and last markers and marks need beside them
};

SeriesNeeds needsOf(const Chart& chart, double scale)
{
    SeriesNeeds needs;
    for (std::size_t s = 0; s < chart.seriesCount(); ++s) {
        const SeriesStyle& st = chart.series(s).style();
        needs.columns = needs.columns || standsInSlots(st.kind);
        if (st.kind != SeriesKind::Line)
            continue;
        needs.hasLine = true;
        needs.markerPad = std::max(needs.markerPad, st.line.markerRadius + 2.0);
        // A line's first and last marks stay clear of the axis labels.
        needs.markerPad =
            std::max(needs.markerPad, widestMark(chart.series(s), scale, chart.style().antialiased) / 2);
    }
    return needs;
}

// Range: the values the value axis must reach. Bars grow from 0 and reach the
// top of their stack; a line spans its own values.
ValueRange dataRange(const Chart& chart, const SeriesNeeds& needs)
{
    std::vector<double> ends;
    if (!needs.columns && needs.hasLine) {
        for (std::size_t s = 0; s < chart.seriesCount(); ++s)
            for (const ChartPoint& p : chart.series(s).points())
                ends.push_back(p.value);
    } else {
        const auto bases = stackBases(chart);
        for (std::size_t s = 0; s < chart.seriesCount(); ++s)
            for (std::size_t i = 0; i < chart.series(s).points().size(); ++i) {
                ends.push_back(bases[s][i] + finite(chart.series(s).points()[i].value));
                ends.push_back(bases[s][i]);
            }
    }
    return autoRange(ends, needs.columns);
}

double bottomLabelHeight(const QFont& font, const std::vector<QStringList>& labels)
{
    double height = blockSize(font, {QString()}).height();
    for (const QStringList& l : labels)
        height = std::max(height, blockSize(font, l).height());
    return height;
}

// The plot's front plane and depth when the left labels take `leftWidth`.
void placePlot(AxesGeometry& ax, const ChartStyle& cs, const QRectF& inner, double leftWidth, double labelHeight,
               double lineHeight, const Oblique& project)
{
    const double t = ax.wallThickness;
    const double left = inner.left() + leftWidth + kLabelGap + ax.left.majorOuter + t;
    const double bottom = inner.bottom() - labelHeight - kLabelGap - ax.bottom.majorOuter - t;
    const double top = inner.top() + lineHeight / 2;
    const QRectF plot(QPointF(left, top), QPointF(std::max(left + 1, inner.right()), std::max(top + 1, bottom)));
    const double depth = cs.view.kind == ViewKind::Oblique3D
                             ? std::max(0.0, cs.view.depthPercent) / 100.0 * std::min(plot.width(), plot.height())
                             : 0.0;
    ax.depth = project.shift(depth);
    ax.plotDepth = depth;
    ax.front = QRectF(QPointF(plot.left(), plot.top() - ax.depth.y()),
                      QPointF(std::max(plot.left() + 1, plot.right() - ax.depth.x()), plot.bottom()));
    if (ax.front.height() < 1)
        ax.front.setTop(ax.front.bottom() - 1);
}

struct ValueTicks {
    ValueRange range;
    double step = 1;
    std::vector<double> majors;
    double labelWidth = 0; // the widest major label, whole pixels
};

// Ticks: over the current front plane, the range widened for what stands out
// of the plot, its step and major ticks, and the width their labels take.
ValueTicks ticksFor(const Chart& chart, const AxesGeometry& ax, ValueRange data, std::size_t categories,
                    const Oblique& project, const QFontMetricsF& fm, double scale)
{
    const double slot = ax.front.width() / double(std::max<std::size_t>(1, categories));
    const Pads pads = padsFor(chart, ax.plotDepth, slot, project, scale);
    ValueTicks ticks;
    ticks.range = widenForPixels(data, ax.front.height(), pads.low, pads.high);
    const int maxSteps = std::max(1, int(ax.front.height() / (fm.height() * kLabelPitch)));
    ticks.step = niceStep(ticks.range.span(), maxSteps);
    ticks.majors = majorTicks(ticks.range, ticks.step);
    for (double v : ticks.majors)
        ticks.labelWidth = std::max(ticks.labelWidth, std::ceil(fm.horizontalAdvance(formatValue(v))));
    return ticks;
}

// Labels: the value axis's ticks and their labels, right-aligned beside the axis.
void placeValueAxis(AxesGeometry& ax, const ValueTicks& ticks, const QFont& font, double lineHeight)
{
    ax.values = ScaleMap(ticks.range, ax.front.bottom(), ax.front.top());
    for (double v : ticks.majors)
        ax.majorY.push_back(ax.values.toPixel(v));
    for (double v : minorTicks(ticks.range, ticks.step, ax.left.minorCount))
        ax.minorY.push_back(ax.values.toPixel(v));
    const double width = ticks.labelWidth;
    const double labelRight = ax.front.left() - ax.wallThickness - ax.left.majorOuter - kLabelGap;
    for (std::size_t i = 0; i < ticks.majors.size(); ++i) {
        const double y = ax.majorY[i];
        ax.leftLabels.push_back({QStringList{formatValue(ticks.majors[i])}, font, ax.left.labels.color,
                                 QRectF(labelRight - width - 1, y - lineHeight / 2, width + 1, lineHeight),
                                 int(Qt::AlignRight | Qt::AlignVCenter)});
    }
}

// Bars fill their columns exactly; a line's end markers stay inside the plot.
ScaleMap categoryMap(const QRectF& front, const SeriesNeeds& needs, std::size_t n)
{
    if (needs.columns || !needs.hasLine)
        return ScaleMap({-0.5, double(std::max<std::size_t>(1, n)) - 0.5}, front.left(), front.right());
    const ValueRange span = n > 1 ? ValueRange{0, double(n - 1)} : ValueRange{-1, 1};
    return ScaleMap(widenForPixels(span, front.width(), needs.markerPad, needs.markerPad), front.left(), front.right());
}

// Labels: the category labels that fit, each with its tick; one that would
// crowd the label before it is left out.
void placeCategoryLabels(AxesGeometry& ax, const std::vector<QStringList>& labels, const QFont& font)
{
    double lastRight = -1e9;
    const double labelTop = ax.front.bottom() + ax.wallThickness + ax.bottom.majorOuter + kLabelGap;
    for (std::size_t i = 0; i < labels.size(); ++i) {
        if (labels[i].join(QString()).isEmpty())
            continue;
        const double x = ax.categories.toPixel(double(i));
        const QSizeF size = blockSize(font, labels[i]);
        const QRectF rect(x - size.width() / 2, labelTop, size.width(), size.height());
        if (rect.left() < lastRight + kLabelSpacing)
            continue;
        lastRight = rect.right();
        ax.majorX.push_back(x);
        ax.bottomLabels.push_back({labels[i], font, ax.bottom.labels.color, rect.adjusted(-1, 0, 1, 0)});
    }
    ax.minorX = between(ax.majorX, ax.bottom.minorCount);
}

// Grid: lines on the back wall at every major tick, and across the walls'
// tops where the walls have a thickness.
void placeGrid(AxesGeometry& ax)
{
    const QRectF& f = ax.front;
    const QPointF s = ax.depth;
    const bool thick = ax.wallThickness > 0;
    for (double y : ax.majorY) {
        ax.grid.push_back({QPointF(f.left(), y) + s, QPointF(f.right(), y) + s});
        if (thick)
            ax.grid.push_back({QPointF(f.left(), y), QPointF(f.left(), y) + s});
    }
    for (double x : ax.majorX) {
        ax.grid.push_back({QPointF(x, f.top()) + s, QPointF(x, f.bottom()) + s});
        if (thick)
            ax.grid.push_back({QPointF(x, f.bottom()), QPointF(x, f.bottom()) + s});
    }
}

} // namespace

AxesGeometry layoutAxes(const Chart& chart, const QRectF& inner, double scale)
{
    const ChartStyle& cs = chart.style();
    AxesGeometry ax;
    ax.left = cs.leftAxis;
    ax.bottom = cs.bottomAxis;
    ax.outline = cs.plotOutline;
    ax.obliqueAngle = cs.view.obliqueAngle;
    const bool walls = cs.view.kind == ViewKind::Oblique3D && cs.walls.visible;
    ax.wallThickness = walls ? cs.walls.thickness : 0.0;
    const QFont leftFont = chartFont(cs.leftAxis.labels, scale, cs.antialiased);
    const QFont bottomFont = chartFont(cs.bottomAxis.labels, scale, cs.antialiased);
    const QFontMetricsF lfm(leftFont);
    const Oblique project(cs.view.obliqueAngle);

    // Range.
    const SeriesNeeds needs = needsOf(chart, scale);
    const ValueRange data = dataRange(chart, needs);
    const std::size_t n = categoryCount(chart);
    const auto labels = bottomLabelTexts(chart, n);
    const double labelHeight = bottomLabelHeight(bottomFont, labels);

    // Label width and ticks: the left labels' width moves the plot, which may
    // change the ticks and so the labels; a few passes settle it.
    ValueTicks ticks;
    double leftWidth = 0;
    for (int pass = 0; pass < 3; ++pass) {
        placePlot(ax, cs, inner, leftWidth, labelHeight, lfm.height(), project);
        ticks = ticksFor(chart, ax, data, n, project, lfm, scale);
        if (ticks.labelWidth == leftWidth)
            break;
        leftWidth = ticks.labelWidth;
    }

    // Labels, grid and walls.
    placeValueAxis(ax, ticks, leftFont, lfm.height());
    ax.categories = categoryMap(ax.front, needs, n);
    placeCategoryLabels(ax, labels, bottomFont);
    placeGrid(ax);
    if (walls) {
        ax.walls = wallsOf(ax.front, ax.depth, ax.wallThickness);
        ax.walls->leftColor = cs.walls.left;
        ax.walls->floorColor = cs.walls.floor;
    }
    return ax;
}

} // namespace kvet::chart
