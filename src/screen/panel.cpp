#include "screen/panel.h"

#include <QMouseEvent>
#include <QPainter>

namespace kvet {

Panel::Panel(const QString& name, QWidget* parent) : QWidget(parent)
{
    setObjectName(name);
    // Painted whole by paintEvent: Qt need not clear the area first.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void Panel::setCaption(const QString& caption)
{
    if (caption_ == caption)
        return;
    caption_ = caption;
    update();
}

void Panel::setBackground(const QColor& colour)
{
    background_ = colour;
    update();
}

void Panel::setTextColour(const QColor& colour)
{
    text_ = colour;
    update();
}

void Panel::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    painter.fillRect(event->rect(), background_);
    if (caption_.isEmpty())
        return;
    painter.setPen(text_);
    painter.setFont(font());
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.drawText(rect(), Qt::AlignCenter | Qt::TextSingleLine, caption_);
}

void Panel::mouseDoubleClickEvent(QMouseEvent* event)
{
    event->accept();
    if (onDoubleClick_)
        onDoubleClick_();
}

} // namespace kvet
