#include "chart/chart_widget.h"

#include <QMouseEvent>
#include <QPainter>

namespace kvet::chart {

ChartWidget::ChartWidget(const QString& name, double scale, QWidget* parent)
    : QWidget(parent), model_(name), renderer_(model_, scale)
{
    setObjectName(name);
    // Only the rounded panel is painted; the parent shows in the corners.
    setAutoFillBackground(false);
    setAttribute(Qt::WA_OpaquePaintEvent, false);
    model_.setOnChanged([this] { modelChanged(); });
}

ChartWidget::~ChartWidget()
{
    model_.setOnChanged({});
}

void ChartWidget::setScale(double scale)
{
    renderer_.setScale(scale);
    update();
}

const ChartGeometry& ChartWidget::chartGeometry()
{
    return renderer_.prepare(QSizeF(size()));
}

QImage ChartWidget::renderToImage(QSize size, qreal devicePixelRatio) const
{
    return renderChart(model_, size, renderer_.scale(), devicePixelRatio);
}

void ChartWidget::modelChanged()
{
    renderer_.invalidate();
    update();
}

void ChartWidget::paintEvent(QPaintEvent*)
{
    // Nothing may leave a paint event: a failure leaves the panel as it was.
    try {
        renderer_.prepare(QSizeF(size()));
        QPainter painter(this);
        renderer_.paint(painter);
    } catch (...) {
    }
}

void ChartWidget::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    renderer_.invalidate();
}

void ChartWidget::mouseDoubleClickEvent(QMouseEvent* event)
{
    event->accept();
}

} // namespace kvet::chart
