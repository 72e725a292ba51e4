#pragma once
// A chart on the screen: owns its model, repaints when the model changes, and
// draws on an azure panel whose corners are cut to quarter circles so that the
// window's blue shows there. It answers no mouse input; a double-click on it
// is taken and dropped so that it never reaches the window, which closes on
// double-click.
#include "chart/chart_model.h"
#include "chart/chart_renderer.h"

#include <QImage>
#include <QWidget>

namespace kvet::chart {

class ChartWidget : public QWidget {
    Q_OBJECT
public:
    // `name` becomes both the object name and the model's name ("Chart1").
    explicit ChartWidget(const QString& name, double scale = 1.0, QWidget* parent = nullptr);
    ~ChartWidget() override;

    Chart& model() { return model_; }
    const Chart& model() const { return model_; }

    // Font sizes are multiplied by `scale` (the screen's dpi / 96).
    void setScale(double scale);
    double scale() const { return renderer_.scale(); }

    // The geometry of the current size, as the next paint will draw it.
    const ChartGeometry& chartGeometry();

    // The chart drawn at `size` on a transparent image, independent of the
    // widget's own size.
    QImage renderToImage(QSize size, qreal devicePixelRatio = 1.0) const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    void modelChanged();

    Chart model_;
    ChartRenderer renderer_;
};

} // namespace kvet::chart
