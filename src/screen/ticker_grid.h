#pragma once
// The ticker grid StringGrid1: 7 columns × 15 rows of one-line text cells on
// the screen blue, no grid lines, no border, no input. Its first cell is the
// status cell, always drawn highlighted. The grid lives inside the ticker band,
// which clips it; the ticker's scroll step moves it with QWidget::move.
//
// The scroll step must not lay out text again every 100 ms: the grid keeps
// its cells drawn in a picture of itself and a paint only copies from it.
// A cell is drawn again when its text changes; the whole picture when the
// size, font, palette or pixel ratio changes.
#include "panels/cell_writer.h"
#include "panels/status_cell.h"

#include <QPixmap>
#include <QRegion>
#include <QString>
#include <QWidget>
#include <array>

namespace kvet {

class TickerGrid : public QWidget, public StatusCell, public CellWriter {
    Q_OBJECT
public:
    static constexpr int kColumns = 7;
    static constexpr int kRows = 15;

    explicit TickerGrid(QWidget* parent = nullptr);

    // Row height (30), grid height (450) and font size (17 px) are design
    // sizes at 96 dots per inch; this scales each of them on its own to the
    // screen the window was created on.
    void applyScreenDensity(double dpi);

    int columnCount() const { return kColumns; }
    int rowCount() const override { return kRows; }
    int rowHeight() const { return rowHeight_; }
    int defaultColumnWidth() const { return columnWidth_; }
    // Leaves the grid's height as it is; at 96 dots per inch the 15 rows fill
    // the 450 pixels exactly, at other densities the last row may end a few
    // pixels short of the grid's bottom or be cut by it.
    void setRowHeight(int pixels);
    void setDefaultColumnWidth(int pixels);
    QRect cellRect(int column, int row) const;

    void setCell(int column, int row, const QString& text) override;
    QString cell(int column, int row) const override;
    void showStatus(const QString& message) override;

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    static bool inRange(int column, int row);
    void paintCell(class QPainter& painter, int column, int row) const;
    // Draws the cells in stale_ into picture_, first making it when it has
    // no longer the grid's size or pixel ratio.
    void bringPictureUpToDate();
    void invalidatePicture();

    std::array<QString, kColumns * kRows> cells_;
    int rowHeight_ = 30;
    int columnWidth_ = 64;
    QPixmap picture_;
    QRegion stale_; // parts of picture_ that no longer show the cells
};

} // namespace kvet
