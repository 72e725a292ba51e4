#pragma once
// Everything a chart's painters need, computed once from the model, the size
// and the density scale, and kept until the data or the size changes.
#include "chart/axis_scale.h"
#include "chart/chart_model.h"
#include "chart/mark_geometry.h"
#include "chart/pie_math.h"
#include "chart/text_block.h"

#include <QBrush>
#include <QLineF>
#include <QPainterPath>
#include <QPolygonF>
#include <optional>
#include <vector>

namespace kvet::chart {

struct SliceGeometry {
    SliceAngle angle;
    QColor color;
    QPainterPath top;   // the slice's part of the top face
    QPainterPath rim;   // its part of the visible (front) rim; may be empty
    QPainterPath bevel; // brighter band along the rim; empty without a bevel
};

struct PieGeometry {
    PieFrame frame;
    PieStyle style;
    std::vector<SliceGeometry> slices;
    std::vector<std::size_t> order; // back to front
    QPainterPath silhouette;        // top face and rim together, for the shadow
    QColor backdrop;                // what the shadow falls on, when uniform
};

struct LegendRow {
    QColor color;
    QRectF square;
    TextBlock value;
    TextBlock label;
};

struct LegendGeometry {
    LegendStyle style;
    QColor backdrop; // what the shadow falls on, when uniform
    QRectF box;
    std::vector<LegendRow> rows;
};

// Walls of the 3D bar charts as screen polygons.
struct WallGeometry {
    QColor leftColor, floorColor;
    QPolygonF back;                          // transparent, only outlined
    QPolygonF leftFace, leftFront, leftTop;  // light yellow face, darker edges
    QPolygonF floorFace, floorFront, floorSide;
};

struct GridLine {
    QPointF from, to;
};

struct AxesGeometry {
    AxisStyle left, bottom;
    QRectF front;           // plot rectangle on the front plane
    QPointF depth;          // shift from the front plane to the back plane
    double plotDepth = 0;   // pixels of depth behind the front plane
    double obliqueAngle = 45;
    ScaleMap values;        // value -> y pixel
    ScaleMap categories;    // point index -> x pixel
    std::vector<double> majorY, minorY, majorX, minorX; // pixels on the front plane
    std::vector<GridLine> grid;
    std::vector<TextBlock> leftLabels, bottomLabels;
    std::optional<WallGeometry> walls;
    bool outline = false;   // flat chart: thin rectangle round the plot
    double wallThickness = 0;
};

struct BoxGeometry { // a 3D bar: front face, top and right side
    QPolygonF front, top, side;
    QColor color;
};

struct CylinderGeometry {
    QPolygonF side;   // the visible half of the mantle
    QPolygonF cap;    // the top face
    QBrush sideBrush; // shaded or flat
    QColor capColor;
    QColor outline;
    QLineF litLine;   // down the mantle where it shows the plain column colour
};

struct LineGeometry {
    std::vector<QPointF> points;
    std::vector<QColor> colors;
    LineStyle style;
};

struct ChartGeometry {
    QSizeF size;
    QPainterPath panel; // the rounded panel: everything is drawn inside it
    // Some piece reaches into a cut-away corner (only with absurd data or tiny
    // sizes): then painting is clipped to the panel, which costs several times
    // more, so it is done only when needed.
    bool clipToPanel = false;
    Background background;
    bool antialiased = true;
    std::vector<TextBlock> title;
    std::optional<PieGeometry> pie;
    std::optional<LegendGeometry> legend;
    std::optional<AxesGeometry> axes;
    std::vector<BoxGeometry> bars;
    std::vector<CylinderGeometry> cylinders;
    std::vector<LineGeometry> lines;
    std::vector<MarkGeometry> marks;
};

ChartGeometry computeGeometry(const Chart& chart, QSizeF size, double scale);

// Whether `box` lies inside the panel of `size` and clear of its four corner
// squares of `radius`, where the rounded outline cuts in.
bool clearOfCorners(const QRectF& box, QSizeF size, double radius);

} // namespace kvet::chart
