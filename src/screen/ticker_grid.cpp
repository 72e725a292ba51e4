#include "screen/ticker_grid.h"

#include "chart/chart_style.h"
#include "screen/appearance.h"
#include "screen/layout.h"

#include <QEvent>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QWheelEvent>

namespace kvet {

namespace {
constexpr int kDesignFontPixels = 17;
// Text starts 1 pixel of cell inset plus a 5-pixel indent right of the cell's
// left edge; plain pixels, not scaled.
constexpr int kTextIndent = 6;

// A tint of the colour toward white: 0 keeps it, 1 gives white.
QColor tint(const QColor& colour, double towardWhite)
{
    const auto mix = [towardWhite](int c) { return c + static_cast<int>((255 - c) * towardWhite + 0.5); };
    return QColor(mix(colour.red()), mix(colour.green()), mix(colour.blue()));
}
} // namespace

TickerGrid::TickerGrid(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("StringGrid1"));
    // Only the two roles the grid owns are set; the selection colours of the
    // status cell keep following the system's palette.
    QPalette pal = palette();
    pal.setColor(QPalette::Window, appearance::kScreenBlue);
    pal.setColor(QPalette::WindowText, chart::colors::kTextYellow);
    setPalette(pal);
    setFont(appearance::heiti(kDesignFontPixels));
    // The grid paints every pixel itself: moving it every scroll step then
    // needs no erase of the band behind it.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoMousePropagation);
    setFocusPolicy(Qt::NoFocus);
    resize(kColumns * columnWidth_, design::kGridHeight);
}

void TickerGrid::applyScreenDensity(double dpi)
{
    QFont f = font();
    f.setPixelSize(scaleDesign(kDesignFontPixels, dpi));
    setFont(f);
    setRowHeight(scaleDesign(design::kGridRowHeight, dpi));
    resize(width(), scaleDesign(design::kGridHeight, dpi));
    update();
}

void TickerGrid::setRowHeight(int pixels)
{
    rowHeight_ = pixels > 0 ? pixels : 0;
    invalidatePicture();
}

void TickerGrid::setDefaultColumnWidth(int pixels)
{
    columnWidth_ = pixels > 0 ? pixels : 0;
    invalidatePicture();
}

QRect TickerGrid::cellRect(int column, int row) const
{
    return QRect(column * columnWidth_, row * rowHeight_, columnWidth_, rowHeight_);
}

bool TickerGrid::inRange(int column, int row)
{
    return column >= 0 && column < kColumns && row >= 0 && row < kRows;
}

void TickerGrid::setCell(int column, int row, const QString& text)
{
    if (!inRange(column, row))
        return;
    QString& slot = cells_[row * kColumns + column];
    if (slot == text)
        return;
    slot = text;
    stale_ += cellRect(column, row);
    update(cellRect(column, row));
}

QString TickerGrid::cell(int column, int row) const
{
    return inRange(column, row) ? cells_[row * kColumns + column] : QString();
}

void TickerGrid::showStatus(const QString& message)
{
    setCell(0, 0, message);
}

QSize TickerGrid::sizeHint() const
{
    return QSize(kColumns * columnWidth_, height());
}

void TickerGrid::invalidatePicture()
{
    stale_ = QRegion(rect());
    update();
}

void TickerGrid::resizeEvent(QResizeEvent*)
{
    invalidatePicture();
}

void TickerGrid::changeEvent(QEvent* event)
{
    switch (event->type()) {
    case QEvent::FontChange:
    case QEvent::PaletteChange:
    case QEvent::StyleChange:
        invalidatePicture();
        break;
    default:
        break;
    }
    QWidget::changeEvent(event);
}

void TickerGrid::bringPictureUpToDate()
{
    const qreal ratio = devicePixelRatioF();
    const QSize pixels = (QSizeF(size()) * ratio).toSize();
    if (picture_.size() != pixels || picture_.devicePixelRatio() != ratio) {
        picture_ = QPixmap(pixels);
        picture_.setDevicePixelRatio(ratio);
        stale_ = QRegion(rect());
    }
    if (stale_.isEmpty() || picture_.isNull())
        return;
    QPainter painter(&picture_);
    // A painter on a pixmap starts with the application's font, not the grid's.
    painter.setFont(font());
    for (const QRect& dirty : stale_) {
        painter.save();
        painter.setClipRect(dirty);
        // Also the strip right of the last column, (W − 1) mod 7 pixels wide.
        painter.fillRect(dirty, palette().color(QPalette::Window));
        if (rowHeight_ > 0 && columnWidth_ > 0) {
            const int firstRow = std::max(0, dirty.top() / rowHeight_);
            const int lastRow = std::min(kRows - 1, dirty.bottom() / rowHeight_);
            const int firstColumn = std::max(0, dirty.left() / columnWidth_);
            const int lastColumn = std::min(kColumns - 1, dirty.right() / columnWidth_);
            for (int row = firstRow; row <= lastRow; ++row)
                for (int column = firstColumn; column <= lastColumn; ++column)
                    if (column != 0 || row != 0)
                        paintCell(painter, column, row);
        }
        painter.restore();
    }
    stale_ = QRegion();
}

void TickerGrid::paintEvent(QPaintEvent* event)
{
    bringPictureUpToDate();
    QPainter painter(this);
    if (picture_.isNull())
        return;
    // A scroll step exposes only a strip: copy that much of the picture.
    const qreal ratio = picture_.devicePixelRatio();
    for (const QRect& dirty : event->region()) {
        const QRectF source(dirty.x() * ratio, dirty.y() * ratio, dirty.width() * ratio, dirty.height() * ratio);
        painter.drawPixmap(QRectF(dirty), picture_, source);
    }
    // The status cell is drawn where it is: its gradient's rounding depends
    // on where on the screen it lies, so a copy would be off by one level.
    if (event->region().intersects(cellRect(0, 0)))
        paintCell(painter, 0, 0);
}

void TickerGrid::paintCell(QPainter& painter, int column, int row) const
{
    const QRect rect = cellRect(column, row);
    const QString& text = cells_[row * kColumns + column];
    const bool status = column == 0 && row == 0;
    painter.save();
    painter.setClipRect(rect);
    if (status) {
        // Always highlighted, whether it holds a serial number or a failure
        // message: a frame in the selection colour around a light gradient.
        const QColor selection = palette().color(QPalette::Active, QPalette::Highlight);
        QLinearGradient gradient(rect.topLeft(), rect.bottomLeft());
        gradient.setColorAt(0.0, tint(selection, 0.45));
        gradient.setColorAt(1.0, tint(selection, 0.15));
        painter.fillRect(rect, selection);
        painter.fillRect(rect.adjusted(1, 1, -1, -1), gradient);
        painter.setPen(palette().color(QPalette::Active, QPalette::HighlightedText));
    } else {
        painter.setPen(palette().color(QPalette::WindowText));
    }
    if (!text.isEmpty()) {
        // The text box runs on past the cell so that long text is cut by the
        // clip at the cell's edge instead of being elided or wrapped.
        const QRect textBox(rect.left() + kTextIndent, rect.top(), 1 << 16, rect.height());
        painter.drawText(textBox, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, text);
    }
    painter.restore();
}

// The grid takes no input, and a double-click on it must not reach the window,
// whose double-click closes the program.
void TickerGrid::mousePressEvent(QMouseEvent* event) { event->accept(); }
void TickerGrid::mouseReleaseEvent(QMouseEvent* event) { event->accept(); }
void TickerGrid::mouseDoubleClickEvent(QMouseEvent* event) { event->accept(); }
void TickerGrid::mouseMoveEvent(QMouseEvent* event) { event->accept(); }
void TickerGrid::wheelEvent(QWheelEvent* event) { event->accept(); }

} // namespace kvet
