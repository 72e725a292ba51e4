#include "chart/legend_geometry.h"

#include <QFontMetricsF>
#include <algorithm>
#include <cmath>

namespace kvet::chart {
namespace {
constexpr double kPad = 4;         // pixels inside the frame
constexpr double kGap = 5;         // between square, value and label
constexpr double kMaxWidthShare = 0.45; // of the inner width
constexpr double kSmallestShare = 0.75; // of the styled font size

struct Measured {
    double square = 0, valueWidth = 0, labelWidth = 0, lineHeight = 0;
    std::vector<double> rowHeights;
    double width() const { return 2 * kPad + square + kGap + valueWidth + kGap + labelWidth; }
    double height(std::size_t rows) const
    {
        double h = 2 * kPad;
        for (std::size_t i = 0; i < rows && i < rowHeights.size(); ++i)
            h += rowHeights[i];
        return h;
    }
};

Measured measure(const QFont& font, const std::vector<LegendEntry>& entries)
{
    const QFontMetricsF fm(font);
    Measured m;
    m.lineHeight = std::ceil(fm.height());
    m.square = std::max(6.0, std::round(fm.ascent() * 0.8));
    for (const LegendEntry& e : entries) {
        m.valueWidth = std::max(m.valueWidth, std::ceil(fm.horizontalAdvance(e.value)));
        for (const QString& line : e.label)
            m.labelWidth = std::max(m.labelWidth, std::ceil(fm.horizontalAdvance(line)));
        m.rowHeights.push_back(m.lineHeight * std::max<qsizetype>(1, e.label.size()) + 1);
    }
    return m;
}

} // namespace

std::optional<LegendGeometry> layoutLegend(const LegendStyle& style, const std::vector<LegendEntry>& entries,
                                           const QRectF& inner, double scale, bool antialiased)
{
    if (entries.empty() || inner.width() <= 0 || inner.height() <= 0)
        return std::nullopt;

    QFont font = chartFont(style.font, scale, antialiased);
    const int largest = font.pixelSize();
    const int smallest = std::max(6, int(std::floor(largest * kSmallestShare)));
    Measured m = measure(font, entries);
    while (m.height(entries.size()) > inner.height() && font.pixelSize() > smallest) {
        font.setPixelSize(font.pixelSize() - 1);
        m = measure(font, entries);
    }
    std::size_t rows = entries.size();
    while (rows > 0 && m.height(rows) > inner.height())
        --rows;
    if (rows == 0)
        return std::nullopt;

    const double maxWidth = inner.width() * kMaxWidthShare;
    if (m.width() > maxWidth)
        m.labelWidth = std::max(0.0, m.labelWidth - (m.width() - maxWidth));
    if (m.width() > maxWidth) // absurdly long values: shorten them too
        m.valueWidth = std::max(0.0, m.valueWidth - (m.width() - maxWidth));

    LegendGeometry legend;
    legend.style = style;
    const double h = m.height(rows), w = m.width();
    legend.box = QRectF(inner.right() - w - style.shadowOffset, inner.center().y() - h / 2, w, h);
    const QFontMetricsF fm(font);
    double y = legend.box.top() + kPad;
    for (std::size_t i = 0; i < rows; ++i) {
        const LegendEntry& e = entries[i];
        const double rowH = m.rowHeights[i];
        const double x = legend.box.left() + kPad;
        LegendRow row;
        row.color = e.color;
        row.square = QRectF(x, y + (m.lineHeight - m.square) / 2, m.square, m.square);
        row.value = {QStringList{fm.elidedText(e.value, Qt::ElideRight, m.valueWidth + 0.5)}, font, style.font.color,
                     QRectF(x + m.square + kGap, y, m.valueWidth, m.lineHeight), int(Qt::AlignRight | Qt::AlignVCenter)};
        QStringList label;
        for (const QString& line : e.label)
            label << fm.elidedText(line, Qt::ElideRight, m.labelWidth + 0.5);
        row.label = {label, font, style.font.color,
                     QRectF(x + m.square + kGap + m.valueWidth + kGap, y, m.labelWidth + 1, rowH - 1),
                     int(Qt::AlignLeft | Qt::AlignTop)};
        legend.rows.push_back(row);
        y += rowH;
    }
    return legend;
}

} // namespace kvet::chart
