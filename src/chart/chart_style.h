#pragma once
// How a chart and its series look. Plain values compared with ==, so the
// appearance table can be checked directly. Font sizes are character heights in
// pixels at 96 dpi; the widget multiplies them by its density scale.
#include <QColor>
#include <QPointF>
#include <QString>

namespace kvet::chart {

namespace colors {
inline const QColor kChartAzure{0x00, 0x80, 0xFF};
inline const QColor kTitleYellow{0xFF, 0xFF, 0x80};
inline const QColor kTextYellow{0xFF, 0xFF, 0x00};
inline const QColor kMarkPaper{0xFF, 0xFF, 0xE1};
inline const QColor kTickGrey{0x80, 0x80, 0x80};
inline const QColor kGridSilver{0xC0, 0xC0, 0xC0};
inline const QColor kPieShadow{0xA0, 0xA0, 0xA0};
} // namespace colors

inline const QString kTitleFace = QStringLiteral("黑体");
inline const QString kDefaultFace = QStringLiteral("Arial");

struct FontStyle {
    QString family = kDefaultFace;
    double pixelSize = 13.0; // at 96 dpi
    QColor color = Qt::black;
    bool operator==(const FontStyle&) const = default;
};

struct Background {
    QColor color = colors::kChartAzure;
    // A radial gradient from `color` at the centre to `outerColor` at the edge;
    // `balance` (0..1) is where the blend is half way.
    bool radial = false;
    QColor outerColor = colors::kChartAzure;
    double balance = 0.5;
    bool operator==(const Background&) const = default;
};

// Margins between the panel edge and the plot, in percent of the chart's width
// (left, right) or height (top, bottom).
struct Margins {
    double left = 3, top = 4, right = 3, bottom = 4;
    bool operator==(const Margins&) const = default;
};

enum class ViewKind { Flat, Pie3D, Oblique3D };

struct View3D {
    ViewKind kind = ViewKind::Flat;
    double depthPercent = 0;  // pie rim thickness in % of the diameter; plot depth in % of the smaller plot side
    double elevation = 315;   // pies: 315 = tilted 45 degrees, seen from above
    double obliqueAngle = 45; // bars: direction in which depth recedes, degrees above the x axis
    double tiltDegrees() const { return 360.0 - elevation; }
    bool operator==(const View3D&) const = default;
};

struct AxisStyle {
    FontStyle labels{kDefaultFace, 13.0, colors::kTitleYellow};
    QColor lineColor = Qt::black;
    int lineWidth = 2;
    QColor tickColor = colors::kTickGrey;
    int majorOuter = 4; // pixels outside the plot
    int majorInner = 0; // pixels inside the plot
    int minorLength = 2;
    int minorCount = 3; // between two major ticks
    QColor gridColor = colors::kGridSilver;
    bool operator==(const AxisStyle&) const = default;
};

struct WallStyle {
    bool visible = false;
    QColor left{0xFF, 0xFF, 0x80};
    QColor floor = Qt::white;
    int thickness = 4; // pixels; the slab's edge faces are shaded darker
    bool operator==(const WallStyle&) const = default;
};

struct LegendStyle {
    bool visible = false;
    FontStyle font{kDefaultFace, 8.0 * 96.0 / 72.0, Qt::black}; // 8 points
    QColor background = Qt::white;
    QColor frame = Qt::black;
    int shadowOffset = 3; // soft black shadow to the lower right
    bool operator==(const LegendStyle&) const = default;
};

struct ChartStyle {
    Background background;
    int cornerRadius = 25;
    FontStyle title{kTitleFace, 25.0, colors::kTitleYellow};
    Margins margins;
    bool antialiased = true;
    View3D view;
    bool axes = false;        // bar and line charts
    bool plotOutline = false; // flat charts: a thin black rectangle round the plot
    AxisStyle leftAxis;
    AxisStyle bottomAxis;
    WallStyle walls;
    LegendStyle legend;
    // Series whose point labels name the bottom axis positions.
    int labelSeries = 0;
    bool operator==(const ChartStyle&) const = default;
};

enum class SeriesKind { Pie, Bar3D, Cylinder, Line };

struct PieStyle {
    double rotation = 0;      // degrees counter-clockwise from 3 o'clock for the first slice
    double bevelPercent = 0;  // width of the brighter band along the rim, % of the radius
    int bevelSteps = 32;      // added to each colour channel
    QPointF shadowOffset{3, 3};
    QColor shadowColor = colors::kPieShadow;
    bool operator==(const PieStyle&) const = default;
};

struct BarStyle {
    double widthPercent = 60; // of the slot
    int depth = 8;            // pixels; 0 = the whole plot depth
    bool shadedSides = false;
    int transparencyPercent = 0;
    bool outlineDarker = false; // outline in a darker shade of the fill instead of black
    int sides = 128;            // cylinders
    bool stacked = false;       // stands on the series before it
    bool operator==(const BarStyle&) const = default;
};

struct LineStyle {
    int width = 3;
    int markerRadius = 5; // diamond reaching this far left, right, up and down
    bool operator==(const LineStyle&) const = default;
};

enum class MarkContent { None, Value, LabelAndPercent };
enum class MarkPlace { HalfRadius, Above, InsideTop };
enum class MarkShadow { None, Soft, Hard };

struct MarkStyle {
    MarkContent content = MarkContent::None;
    MarkPlace place = MarkPlace::Above;
    FontStyle font{kDefaultFace, 13.0, Qt::black};
    QColor paper = colors::kMarkPaper;
    bool frame = false;
    MarkShadow shadow = MarkShadow::Soft;
    QColor shadowColor = colors::kTickGrey;
    int shadowOffset = 3;
    int distance = 20;       // pixels between the point and the mark
    bool connector = false;  // thin line from the point to the mark
    QColor connectorColor = Qt::white;
    double angle = 0;        // degrees counter-clockwise
    bool operator==(const MarkStyle&) const = default;
};

struct SeriesStyle {
    SeriesKind kind = SeriesKind::Pie;
    PieStyle pie;
    BarStyle bar;
    LineStyle line;
    MarkStyle marks;
    bool operator==(const SeriesStyle&) const = default;
};

} // namespace kvet::chart
