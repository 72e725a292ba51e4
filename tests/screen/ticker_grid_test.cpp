#include "screen/ticker_grid.h"

#include <QApplication>
#include <QImage>
#include <QMouseEvent>
#include <QPaintEvent>
#include <gtest/gtest.h>

namespace kvet {
namespace {

const QRgb kBlue = qRgb(0x00, 0x60, 0xE1);
const QRgb kYellow = qRgb(0xFF, 0xFF, 0x00);

int countPixels(const QImage& image, const QRect& area, QRgb colour)
{
    int n = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            n += (image.pixel(x, y) & 0xFFFFFF) == (colour & 0xFFFFFF);
    return n;
}

// Smallest rectangle holding every pixel of the area that is not the colour.
QRect inkBounds(const QImage& image, const QRect& area, QRgb background)
{
    QRect bounds;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if ((image.pixel(x, y) & 0xFFFFFF) != (background & 0xFFFFFF))
                bounds |= QRect(x, y, 1, 1);
    return bounds;
}

class TickerGridTest : public ::testing::Test {
protected:
    TickerGridTest()
    {
        grid.setDefaultColumnWidth(160);
        grid.resize(7 * 160 + 5, grid.height()); // 5 pixels of background past the last column
    }
    QImage render() { return grid.grab().toImage().convertToFormat(QImage::Format_RGB32); }

    TickerGrid grid;
};

TEST_F(TickerGridTest, CellsAndStatusCell)
{
    EXPECT_EQ(grid.objectName(), QStringLiteral("StringGrid1"));
    EXPECT_EQ(grid.columnCount(), 7);
    EXPECT_EQ(grid.rowCount(), 15);
    EXPECT_EQ(grid.height(), 450);
    grid.setCell(6, 14, QStringLiteral("支付宝"));
    grid.setCell(7, 0, QStringLiteral("beyond the last column"));
    grid.setCell(0, -1, QStringLiteral("above the first row"));
    EXPECT_EQ(grid.cell(6, 14), QStringLiteral("支付宝"));
    EXPECT_EQ(grid.cell(7, 0), QString());
    EXPECT_EQ(grid.cell(0, 15), QString());

    grid.setCell(0, 0, QStringLiteral("20240315000123"));
    grid.showStatus(QStringLiteral("[DBNETLIB]SQL Server 不存在或访问被拒绝"));
    EXPECT_EQ(grid.cell(0, 0), QStringLiteral("[DBNETLIB]SQL Server 不存在或访问被拒绝"));
    EXPECT_EQ(grid.cell(1, 0), QString());
}

TEST_F(TickerGridTest, DensityScalesRowsAndFontOnly)
{
    grid.applyScreenDensity(144);
    EXPECT_EQ(grid.rowHeight(), 45);
    EXPECT_EQ(grid.height(), 675);
    EXPECT_EQ(grid.font().pixelSize(), 26);
    EXPECT_EQ(grid.defaultColumnWidth(), 160);
}

// Row height and grid height are each scaled from their own design size: at
// 120 and 168 dots per inch 30 scales to 38 and 53, but 450 to 563 and 788,
// not 15 times the scaled row.
TEST_F(TickerGridTest, FractionalDensitiesScaleTheGridHeightOnItsOwn)
{
    const struct {
        double dpi;
        int row, height;
    } cases[] = {{96, 30, 450}, {120, 38, 563}, {168, 53, 788}, {192, 60, 900}};
    for (const auto& c : cases) {
        TickerGrid g;
        g.applyScreenDensity(c.dpi);
        EXPECT_EQ(g.rowHeight(), c.row) << c.dpi;
        EXPECT_EQ(g.height(), c.height) << c.dpi;
        EXPECT_EQ(g.sizeHint().height(), c.height) << c.dpi;
    }
}

TEST_F(TickerGridTest, NormalCellIsYellowOnBlueIndentedAndCentred)
{
    grid.setCell(2, 3, QStringLiteral("用户名 ABC"));
    const QImage image = render();
    const QRect cell = grid.cellRect(2, 3);
    EXPECT_EQ(image.pixel(cell.topLeft()) & 0xFFFFFF, kBlue & 0xFFFFFF);
    EXPECT_EQ(image.pixel(cell.bottomRight()) & 0xFFFFFF, kBlue & 0xFFFFFF);
    EXPECT_GT(countPixels(image, cell, kYellow), 20);

    const QRect ink = inkBounds(image, cell, kBlue);
    EXPECT_GE(ink.left(), cell.left() + 6);
    EXPECT_LE(ink.left(), cell.left() + 8);
    EXPECT_NEAR(ink.center().y(), cell.center().y(), 3);
    // No grid lines: outside the status cell and this text, the whole grid
    // (the strip past the last column included) is blue.
    int stray = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (!grid.cellRect(0, 0).contains(x, y) && !ink.contains(x, y))
                stray += (image.pixel(x, y) & 0xFFFFFF) != (kBlue & 0xFFFFFF);
    EXPECT_EQ(stray, 0);
}

TEST_F(TickerGridTest, StatusCellIsHighlightedAndCutAtItsEdge)
{
    const QColor selection = grid.palette().color(QPalette::Active, QPalette::Highlight);
    const QRect status = grid.cellRect(0, 0);
    {
        const QImage empty = render();
        EXPECT_EQ(empty.pixel(status.topLeft()) & 0xFFFFFF, selection.rgb() & 0xFFFFFF);
        EXPECT_EQ(empty.pixel(status.bottomRight()) & 0xFFFFFF, selection.rgb() & 0xFFFFFF);
        const QColor top = empty.pixelColor(status.center().x(), status.top() + 1);
        const QColor bottom = empty.pixelColor(status.center().x(), status.bottom() - 1);
        EXPECT_GT(top.lightness(), bottom.lightness());
        EXPECT_GT(bottom.lightness(), selection.lightness());
    }
    grid.showStatus(QStringLiteral("[Microsoft][ODBC SQL Server Driver][DBNETLIB]SQL Server 不存在或访问被拒绝"));
    const QImage image = render();
    EXPECT_EQ(countPixels(image, status, kYellow), 0);
    EXPECT_EQ(image.pixel(status.topLeft()) & 0xFFFFFF, selection.rgb() & 0xFFFFFF);
    EXPECT_EQ(image.pixel(status.right(), status.center().y()) & 0xFFFFFF, selection.rgb() & 0xFFFFFF);
    const QRect next = grid.cellRect(1, 0);
    EXPECT_EQ(countPixels(image, next, kBlue), next.width() * next.height());
}

TEST_F(TickerGridTest, LongTextIsCutAtTheCellsRightEdge)
{
    grid.setCell(3, 5, QStringLiteral("  广东省某市某区某街道某小区某栋某单元某号房"));
    const QImage image = render();
    const QRect cell = grid.cellRect(3, 5);
    const QRect lastColumns(cell.right() - 15, cell.top(), 16, cell.height());
    EXPECT_GT(countPixels(image, lastColumns, kYellow), 0); // the text reaches the edge ...
    const QRect next = grid.cellRect(4, 5);
    EXPECT_EQ(countPixels(image, next, kBlue), next.width() * next.height()); // ... and stops there
}

// The grid paints from a picture of its cells: every change must reach it, and
// what it shows must be what a grid freshly given the same state shows.
TEST_F(TickerGridTest, EveryChangeReachesThePictureItPaintsFrom)
{
    const auto freshlyMade = [this] {
        TickerGrid fresh;
        fresh.setFont(grid.font());
        fresh.setPalette(grid.palette());
        fresh.setRowHeight(grid.rowHeight());
        fresh.setDefaultColumnWidth(grid.defaultColumnWidth());
        fresh.resize(grid.size());
        for (int row = 0; row < grid.rowCount(); ++row)
            for (int column = 0; column < grid.columnCount(); ++column)
                fresh.setCell(column, row, grid.cell(column, row));
        return fresh.grab().toImage().convertToFormat(QImage::Format_RGB32);
    };
    grid.setCell(1, 2, QStringLiteral("1017227"));
    grid.setCell(5, 9, QStringLiteral("2026/12/9 07:57"));
    render();
    grid.setCell(1, 2, QStringLiteral("1017228")); // a new text in a drawn cell
    grid.setCell(5, 9, QString());                 // a cell emptied
    grid.showStatus(QStringLiteral("2074548"));
    EXPECT_EQ(render(), freshlyMade());

    QFont larger = grid.font();
    larger.setPixelSize(25);
    grid.setFont(larger);
    EXPECT_EQ(render(), freshlyMade());

    grid.setDefaultColumnWidth(120);
    grid.setRowHeight(40);
    EXPECT_EQ(render(), freshlyMade());

    QPalette red = grid.palette();
    red.setColor(QPalette::Window, Qt::darkRed);
    grid.setPalette(red);
    const QImage image = render();
    EXPECT_EQ(image, freshlyMade());
    EXPECT_EQ(image.pixel(grid.cellRect(3, 3).center()) & 0xFFFFFF, QColor(Qt::darkRed).rgb() & 0xFFFFFF);
}

// Records the areas the grid repaints.
class PaintRecorder : public QObject {
public:
    QRegion painted;
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            painted += static_cast<QPaintEvent*>(event)->region();
        return false;
    }
};

TEST_F(TickerGridTest, WritingACellRepaintsOnlyThatCell)
{
    grid.show();
    QApplication::processEvents();
    PaintRecorder recorder;
    grid.installEventFilter(&recorder);

    grid.setCell(4, 7, QStringLiteral("     12.50"));
    QApplication::processEvents();
    EXPECT_FALSE(recorder.painted.isEmpty());
    EXPECT_TRUE(grid.cellRect(4, 7).contains(recorder.painted.boundingRect()));

    recorder.painted = QRegion();
    grid.setCell(4, 7, QStringLiteral("     12.50")); // same text: nothing to repaint
    QApplication::processEvents();
    EXPECT_TRUE(recorder.painted.isEmpty());
    grid.removeEventFilter(&recorder);
}

TEST(TickerGridScroll, MovingTheGridRepaintsNothingOutsideTheBand)
{
    QWidget window;
    window.resize(800, 500);
    QWidget chart(&window); // a chart above the band
    chart.setGeometry(0, 0, 800, 299);
    QWidget band(&window);
    band.setGeometry(0, 300, 800, 200);
    TickerGrid grid(&band);
    grid.setDefaultColumnWidth(114);
    grid.setGeometry(1, 100, 799, grid.height());
    window.show();
    QApplication::processEvents();

    PaintRecorder chartPaints, gridPaints;
    chart.installEventFilter(&chartPaints);
    grid.installEventFilter(&gridPaints);
    for (int step = 0; step < 5; ++step) {
        grid.move(grid.x(), grid.y() - 1);
        QApplication::processEvents();
    }
    EXPECT_TRUE(chartPaints.painted.isEmpty());
    // The grid itself only repaints what the band shows of it.
    EXPECT_LE(gridPaints.painted.boundingRect().bottom(), band.height() - grid.y());
    chart.removeEventFilter(&chartPaints);
    grid.removeEventFilter(&gridPaints);
}

class DoubleClickCounter : public QWidget {
public:
    int doubleClicks = 0;

protected:
    void mouseDoubleClickEvent(QMouseEvent*) override { ++doubleClicks; }
};

TEST(TickerGridInput, DoubleClickDoesNotReachTheWindowAndFocusNeverComes)
{
    DoubleClickCounter window;
    auto* grid = new TickerGrid(&window);
    EXPECT_EQ(grid->focusPolicy(), Qt::NoFocus);
    QMouseEvent click(QEvent::MouseButtonDblClick, QPointF(20, 20), grid->mapToGlobal(QPointF(20, 20)),
                      Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(grid, &click);
    EXPECT_EQ(window.doubleClicks, 0);
}

} // namespace
} // namespace kvet
