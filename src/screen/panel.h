#pragma once
// A flat panel of the screen: a background colour and an optional caption
// centred both ways (the banner Panel2, the band Panel1, the strip Panel3).
// No bevel, no border. A double-click either runs the panel's handler (the
// banner closes the window) or is swallowed, so that it never reaches the
// window behind.
#include <QColor>
#include <QString>
#include <QWidget>
#include <functional>

namespace kvet {

class Panel : public QWidget {
    Q_OBJECT
public:
    explicit Panel(const QString& name, QWidget* parent = nullptr);

    void setCaption(const QString& caption);
    const QString& caption() const { return caption_; }
    void setBackground(const QColor& colour);
    QColor background() const { return background_; }
    void setTextColour(const QColor& colour);

    void setOnDoubleClick(std::function<void()> handler) { onDoubleClick_ = std::move(handler); }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    QString caption_;
    QColor background_;
    QColor text_;
    std::function<void()> onDoubleClick_;
};

} // namespace kvet
