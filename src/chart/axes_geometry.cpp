#include "chart/axes_geometry.h"

#include "chart/number_format.h"

#include <QFontMetricsF>
#include <algorithm>
#include <cmath>

namespace kvet::chart {
namespace {

constexpr double kLabelGap = 3;      // pixels between a tick's end and its label
constexpr double kLabelSpacing = 6;  // least room between two bottom labels
constexpr double kLabelPitch = 1.8;  // value labels at least this many line heights apart

double finite(double v) { return std::isfinite(v) ? v : 0.0; }

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

AxesGeometry layoutAxes(const Chart& chart, const QRectF& inner, double scale)
{
    const ChartStyle& cs = chart.style();
    AxesGeometry ax;
    ax.left = cs.leftAxis;
    ax.bottom = cs.bottomAxis;
    ax.outline = cs.plotOutline;
    const QFont leftFont = chartFont(cs.leftAxis.labels, scale, cs.antialiased);
    const QFont bottomFont = chartFont(cs.bottomAxis.labels, scale, cs.antialiased);
    const QFontMetricsF lfm(leftFont);

    const std::size_t n = categoryCount(chart);
    const auto labels = bottomLabelTexts(chart, n);
    double bottomLabelHeight = blockSize(bottomFont, {QString()}).height();
    for (const QStringList& l : labels)
        bottomLabelHeight = std::max(bottomLabelHeight, blockSize(bottomFont, l).height());

    const bool threeD = cs.view.kind == ViewKind::Oblique3D;
    const double t = (threeD && cs.walls.visible) ? cs.walls.thickness : 0.0;
    ax.wallThickness = t;
    bool columns = false, hasLine = false;
    double markerPad = 0;
    for (std::size_t s = 0; s < chart.seriesCount(); ++s) {
        const SeriesStyle& st = chart.series(s).style();
        columns = columns || standsInSlots(st.kind);
        hasLine = hasLine || st.kind == SeriesKind::Line;
        if (st.kind == SeriesKind::Line)
            markerPad = std::max(markerPad, st.line.markerRadius + 2.0);
        // A line's first and last marks stay clear of the axis labels.
        if (st.kind == SeriesKind::Line)
            markerPad = std::max(markerPad, widestMark(chart.series(s), scale, cs.antialiased) / 2);
    }

    const auto bases = stackBases(chart);
    std::vector<double> ends;
    for (std::size_t s = 0; s < chart.seriesCount(); ++s)
        for (std::size_t i = 0; i < chart.series(s).points().size(); ++i) {
            ends.push_back(bases[s][i] + finite(chart.series(s).points()[i].value));
            ends.push_back(bases[s][i]);
        }
    // Bars grow from 0; a line spans its own values.
    if (!columns && hasLine) {
        ends.clear();
        for (std::size_t s = 0; s < chart.seriesCount(); ++s)
            for (const ChartPoint& p : chart.series(s).points())
                ends.push_back(p.value);
    }
    const ValueRange data = autoRange(ends, columns);
    const Oblique project(cs.view.obliqueAngle);
    ax.obliqueAngle = cs.view.obliqueAngle;

    double leftWidth = 0;
    std::vector<double> majors;
    double step = 1;
    ValueRange range = data;
    for (int pass = 0; pass < 3; ++pass) {
        const double left = inner.left() + leftWidth + kLabelGap + ax.left.majorOuter + t;
        const double bottom = inner.bottom() - bottomLabelHeight - kLabelGap - ax.bottom.majorOuter - t;
        const double top = inner.top() + lfm.height() / 2;
        const QRectF plot(QPointF(left, top), QPointF(std::max(left + 1, inner.right()), std::max(top + 1, bottom)));
        const double depth = threeD ? std::max(0.0, cs.view.depthPercent) / 100.0 * std::min(plot.width(), plot.height()) : 0.0;
        ax.depth = project.shift(depth);
        ax.plotDepth = depth;
        ax.front = QRectF(QPointF(plot.left(), plot.top() - ax.depth.y()),
                          QPointF(std::max(plot.left() + 1, plot.right() - ax.depth.x()), plot.bottom()));
        if (ax.front.height() < 1)
            ax.front.setTop(ax.front.bottom() - 1);

        const double slot = ax.front.width() / double(std::max<std::size_t>(1, n));
        const Pads pads = padsFor(chart, depth, slot, project, scale);
        range = widenForPixels(data, ax.front.height(), pads.low, pads.high);
        const int maxSteps = std::max(1, int(ax.front.height() / (lfm.height() * kLabelPitch)));
        step = niceStep(range.span(), maxSteps);
        majors = majorTicks(range, step);
        double widest = 0;
        for (double v : majors)
            widest = std::max(widest, std::ceil(lfm.horizontalAdvance(formatValue(v))));
        if (widest == leftWidth)
            break;
        leftWidth = widest;
    }
    ax.values = ScaleMap(range, ax.front.bottom(), ax.front.top());
    for (double v : majors)
        ax.majorY.push_back(ax.values.toPixel(v));
    for (double v : minorTicks(range, step, ax.left.minorCount))
        ax.minorY.push_back(ax.values.toPixel(v));
    const double leftLabelRight = ax.front.left() - t - ax.left.majorOuter - kLabelGap;
    for (std::size_t i = 0; i < majors.size(); ++i) {
        const double y = ax.majorY[i];
        ax.leftLabels.push_back({QStringList{formatValue(majors[i])}, leftFont, ax.left.labels.color,
                                 QRectF(leftLabelRight - leftWidth - 1, y - lfm.height() / 2, leftWidth + 1, lfm.height()),
                                 int(Qt::AlignRight | Qt::AlignVCenter)});
    }

    // Bars fill their columns exactly; a line's end markers stay inside the plot.
    if (columns || !hasLine) {
        ax.categories = ScaleMap({-0.5, double(std::max<std::size_t>(1, n)) - 0.5}, ax.front.left(), ax.front.right());
    } else {
        const ValueRange span = n > 1 ? ValueRange{0, double(n - 1)} : ValueRange{-1, 1};
        ax.categories = ScaleMap(widenForPixels(span, ax.front.width(), markerPad, markerPad), ax.front.left(),
                                 ax.front.right());
    }
    double lastRight = -1e9;
    const double labelTop = ax.front.bottom() + t + ax.bottom.majorOuter + kLabelGap;
    for (std::size_t i = 0; i < n; ++i) {
        if (labels[i].join(QString()).isEmpty())
            continue;
        const double x = ax.categories.toPixel(double(i));
        const QSizeF size = blockSize(bottomFont, labels[i]);
        const QRectF rect(x - size.width() / 2, labelTop, size.width(), size.height());
        if (rect.left() < lastRight + kLabelSpacing)
            continue;
        lastRight = rect.right();
        ax.majorX.push_back(x);
        ax.bottomLabels.push_back({labels[i], bottomFont, ax.bottom.labels.color, rect.adjusted(-1, 0, 1, 0)});
    }
    ax.minorX = between(ax.majorX, ax.bottom.minorCount);

    const QRectF& f = ax.front;
    const QPointF s = ax.depth;
    for (double y : ax.majorY) {
        ax.grid.push_back({QPointF(f.left(), y) + s, QPointF(f.right(), y) + s});
        if (t > 0)
            ax.grid.push_back({QPointF(f.left(), y), QPointF(f.left(), y) + s});
    }
    for (double x : ax.majorX) {
        ax.grid.push_back({QPointF(x, f.top()) + s, QPointF(x, f.bottom()) + s});
        if (t > 0)
            ax.grid.push_back({QPointF(x, f.bottom()), QPointF(x, f.bottom()) + s});
    }
    if (threeD && cs.walls.visible) {
        ax.walls = wallsOf(f, s, t);
        ax.walls->leftColor = cs.walls.left;
        ax.walls->floorColor = cs.walls.floor;
    }
    return ax;
}

} // namespace kvet::chart
