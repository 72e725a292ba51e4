#pragma once
// The screen's state as JSON, for kvet-demo --snapshot and the end-to-end
// tests: banner caption, status cell, every chart's title and points, and the
// ticker grid's 15 rows of 7 texts.
#include "chart/chart_model.h"

#include <QByteArray>
#include <QString>
#include <array>
#include <vector>

namespace kvet {

class TForm1;

struct ChartState {
    QString name;  // "Chart1"
    QString title; // the title lines joined by a line break (one line on this screen)
    std::vector<std::pair<QString, std::vector<chart::ChartPoint>>> series; // in the chart's order
};

struct ScreenState {
    QString banner;
    QString status;
    std::vector<ChartState> charts;
    std::vector<std::array<QString, 7>> grid;
};

ScreenState captureScreen(TForm1& form);

// {"banner": ..., "status": ..., "charts": {"Chart1": {"title": ..., "series":
// {"PieSeries1": [{"value": 12.0, "label": "...", "color": "auto"}]}}, ...},
// "grid": [[7 texts] x 15]}; colours "auto" or "#RRGGBB", a CR kept as "\r".
QByteArray snapshotJson(const ScreenState& state);

// A JSON string literal for any text, control characters and lone surrogates included.
QByteArray jsonString(const QString& text);

} // namespace kvet
