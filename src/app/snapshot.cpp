#include "app/snapshot.h"

#include "app/main_window.h"
#include "screen/panel.h"
#include "screen/ticker_grid.h"

#include <algorithm>
#include <cmath>

namespace kvet {
namespace {

QByteArray jsonNumber(double v)
{
    if (!std::isfinite(v))
        return "null"; // JSON has no NaN or infinity
    if (v == std::trunc(v) && std::fabs(v) < 1e15)
        return QByteArray::number(v, 'f', 0) + ".0";
    QByteArray text = QByteArray::number(v, 'g', 17);
    // Shortest text that reads back to the same double.
    for (int precision = 1; precision <= 17; ++precision) {
        QByteArray t = QByteArray::number(v, 'g', precision);
        if (t.toDouble() == v) {
            text = t;
            break;
        }
    }
    if (!text.contains('.') && !text.contains('e'))
        text += ".0";
    return text;
}

QByteArray jsonColour(const QColor& c)
{
    if (!c.isValid())
        return "\"auto\"";
    return "\"" + c.name(QColor::HexRgb).toUpper().toLatin1() + "\"";
}

} // namespace

QByteArray jsonString(const QString& text)
{
    QByteArray out = "\"";
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        switch (c) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\b': out += "\\b"; break;
        case '\f': out += "\\f"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        default:
            // U+FEFF escaped too: Qt's JSON reader drops it at the start of a string.
            if (c < 0x20 || c == 0xFEFF || (QChar::isSurrogate(c) &&
                             !(QChar::isHighSurrogate(c) && i + 1 < text.size() && text[i + 1].isLowSurrogate()))) {
                // Control characters and lone surrogates as escapes: the file stays valid UTF-8.
                out += "\\u" + QByteArray::number(c, 16).rightJustified(4, '0');
            } else if (QChar::isHighSurrogate(c)) {
                out += QString(text.mid(i, 2)).toUtf8();
                ++i;
            } else {
                out += QString(QChar(c)).toUtf8();
            }
        }
    }
    return out + "\"";
}

ScreenState captureScreen(TForm1& form)
{
    ScreenState s;
    s.banner = form.banner().caption();
    s.status = form.grid().cell(0, 0);
    // In the designer's numbering (Chart1, Chart2, ...), whatever the order
    // of the batches.
    QStringList names;
    for (const panels::PanelEntry& entry : form.panelTable()) {
        if (entry.isChart())
            names << entry.chartName;
    }
    std::sort(names.begin(), names.end(), [](const QString& a, const QString& b) {
        return a.size() != b.size() ? a.size() < b.size() : a < b;
    });
    for (const QString& name : names) {
        const chart::Chart& c = form.chartWidget(name).model();
        ChartState cs;
        cs.name = name;
        cs.title = c.titleLines().join(QLatin1Char('\n'));
        for (std::size_t i = 0; i < c.seriesCount(); ++i)
            cs.series.emplace_back(c.series(i).name(), c.series(i).points());
        s.charts.push_back(std::move(cs));
    }
    for (int row = 0; row < form.grid().rowCount(); ++row) {
        std::array<QString, 7> cells;
        for (int col = 0; col < 7; ++col)
            cells[col] = form.grid().cell(col, row);
        s.grid.push_back(cells);
    }
    return s;
}

QByteArray snapshotJson(const ScreenState& state)
{
    QByteArray out = "{\"banner\": " + jsonString(state.banner) + ", \"status\": " + jsonString(state.status) +
                     ",\n \"charts\": {";
    for (std::size_t c = 0; c < state.charts.size(); ++c) {
        const ChartState& cs = state.charts[c];
        out += (c ? ",\n  " : "\n  ") + jsonString(cs.name) + ": {\"title\": " + jsonString(cs.title) +
               ", \"series\": {";
        for (std::size_t s = 0; s < cs.series.size(); ++s) {
            out += (s ? ", " : "") + jsonString(cs.series[s].first) + ": [";
            const auto& points = cs.series[s].second;
            for (std::size_t p = 0; p < points.size(); ++p) {
                out += (p ? ", " : "") + QByteArray("{\"value\": ") + jsonNumber(points[p].value) +
                       ", \"label\": " + jsonString(points[p].label) + ", \"color\": " + jsonColour(points[p].color) +
                       "}";
            }
            out += "]";
        }
        out += "}}";
    }
    out += "},\n \"grid\": [";
    for (std::size_t r = 0; r < state.grid.size(); ++r) {
        out += r ? ",\n  [" : "\n  [";
        for (int c = 0; c < 7; ++c)
            out += (c ? ", " : "") + jsonString(state.grid[r][c]);
        out += "]";
    }
    out += "]}\n";
    return out;
}

} // namespace kvet
