#include "chart/pie_geometry.h"

#include "chart/colors.h"
#include "chart/number_format.h"

#include <cmath>

namespace kvet::chart {
namespace {

constexpr double kFullCircle = 359.999;

std::vector<double> values(const Series& series)
{
    std::vector<double> v;
    for (const ChartPoint& p : series.points())
        v.push_back(p.value);
    return v;
}

QPainterPath sector(const QRectF& top, const SliceAngle& a)
{
    QPainterPath path;
    if (a.span >= kFullCircle) {
        path.addEllipse(top);
    } else if (a.span > 0) {
        path.moveTo(top.center());
        path.arcTo(top, a.start, a.span);
        path.closeSubpath();
    }
    return path;
}

// The band between the ellipse `outer` and the smaller `inner` over the slice.
QPainterPath band(const QRectF& outer, const QRectF& inner, const SliceAngle& a)
{
    QPainterPath path;
    if (a.span >= kFullCircle) {
        path.addEllipse(outer);
        path.addEllipse(inner);
        path.setFillRule(Qt::OddEvenFill);
    } else if (a.span > 0) {
        path.moveTo(pointOnEllipse(outer, a.start));
        path.arcTo(outer, a.start, a.span);
        path.lineTo(pointOnEllipse(inner, a.start + a.span));
        path.arcTo(inner, a.start + a.span, -a.span);
        path.closeSubpath();
    }
    return path;
}

QPainterPath rimOf(const PieFrame& frame, const SliceAngle& a)
{
    QPainterPath path;
    if (frame.rim <= 0)
        return path;
    const QRectF bottom = frame.top.translated(0, frame.rim);
    for (auto [from, to] : frontArcs(a)) {
        path.moveTo(pointOnEllipse(frame.top, from));
        path.arcTo(frame.top, from, to - from);
        path.lineTo(pointOnEllipse(bottom, to));
        path.arcTo(bottom, to, -(to - from));
        path.closeSubpath();
    }
    return path;
}

QPainterPath silhouetteOf(const PieFrame& frame)
{
    QPainterPath path;
    const QRectF bottom = frame.top.translated(0, frame.rim);
    path.moveTo(pointOnEllipse(frame.top, 0));
    path.arcTo(frame.top, 0, 180);
    path.lineTo(pointOnEllipse(bottom, 180));
    path.arcTo(bottom, 180, 180);
    path.closeSubpath();
    return path;
}

double shareOf(double v, double total)
{
    return (std::isfinite(v) && total > 0) ? std::abs(v) / total : 0.0;
}

} // namespace

std::vector<QColor> sliceColors(const Series& series)
{
    std::vector<QColor> colors;
    for (std::size_t i = 0; i < series.points().size(); ++i)
        colors.push_back(pointColor(series.points()[i].color, i));
    return colors;
}

std::vector<LegendEntry> legendEntries(const Series& series)
{
    std::vector<LegendEntry> entries;
    const auto colors = sliceColors(series);
    for (std::size_t i = 0; i < series.points().size(); ++i) {
        const ChartPoint& p = series.points()[i];
        entries.push_back({colors[i], formatValue(p.value), splitLines(p.label)});
    }
    return entries;
}

PieGeometry layoutPie(const Series& series, const View3D& view, const QRectF& area)
{
    PieGeometry pie;
    pie.style = series.style().pie;
    pie.frame = tiltedPie(area, view.tiltDegrees(), view.depthPercent, pie.style.shadowOffset);
    const auto angles = sliceAngles(values(series), pie.style.rotation);
    const auto colors = sliceColors(series);
    const double bevel = std::clamp(pie.style.bevelPercent, 0.0, 100.0) / 100.0;
    const QRectF inner = pie.frame.scaled(1.0 - bevel);
    for (std::size_t i = 0; i < angles.size(); ++i) {
        SliceGeometry s;
        s.angle = angles[i];
        s.color = colors[i];
        s.top = sector(pie.frame.top, angles[i]);
        s.rim = rimOf(pie.frame, angles[i]);
        if (bevel > 0)
            s.bevel = band(pie.frame.top, inner, angles[i]);
        pie.slices.push_back(std::move(s));
    }
    pie.order = backToFrontOrder(angles);
    if (pie.frame.radius() > 0)
        pie.silhouette = silhouetteOf(pie.frame);
    return pie;
}

std::vector<MarkGeometry> pieMarks(const Series& series, const PieGeometry& pie, double scale, bool antialiased)
{
    std::vector<MarkGeometry> marks;
    const MarkStyle& style = series.style().marks;
    if (style.content == MarkContent::None || pie.frame.radius() <= 0)
        return marks;
    double total = 0;
    for (const ChartPoint& p : series.points())
        total += std::isfinite(p.value) ? std::abs(p.value) : 0.0;
    const QFont font = chartFont(style.font, scale, antialiased);
    for (std::size_t i = 0; i < pie.slices.size(); ++i) {
        if (pie.slices[i].angle.span <= 0)
            continue;
        const ChartPoint& p = series.points()[i];
        QStringList lines = style.content == MarkContent::LabelAndPercent ? splitLines(p.label) : QStringList{};
        lines << (style.content == MarkContent::Value ? formatValue(p.value) : formatPercent(shareOf(p.value, total)));
        MarkGeometry mark = makeMark(style, font, lines);
        placeCentered(mark, markAnchor(pie.frame, pie.slices[i].angle));
        marks.push_back(std::move(mark));
    }
    return marks;
}

} // namespace kvet::chart
