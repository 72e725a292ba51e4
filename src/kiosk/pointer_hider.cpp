#include "kiosk/pointer_hider.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QMouseEvent>
#include <QTabletEvent>
#include <memory>

namespace kvet {
namespace {

PointerHider::Clock monotonicClock()
{
    auto started = std::make_shared<QElapsedTimer>();
    started->start();
    return [started] { return started->elapsed(); };
}

} // namespace

PointerHider::PointerHider(QWidget& window, qint64 idleMs, Clock clock)
    : window_(&window), clock_(clock ? std::move(clock) : monotonicClock()), idle_(clock_(), idleMs)
{
    timer_.setSingleShot(true);
    connect(&timer_, &QTimer::timeout, this, &PointerHider::checkIdle);
    QCoreApplication::instance()->installEventFilter(this);
    armTimer();
}

PointerHider::~PointerHider()
{
    if (QCoreApplication::instance())
        QCoreApplication::instance()->removeEventFilter(this);
    if (idle_.hidden())
        show();
}

void PointerHider::armTimer()
{
    if (!idle_.hidden())
        timer_.start(int(qMin<qint64>(idle_.remaining(clock_()), 24 * 3600 * 1000)));
}

void PointerHider::checkIdle()
{
    if (idle_.due(clock_()))
        hide();
    else
        armTimer();
}

bool PointerHider::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::MouseMove:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::TabletMove: {
        // Every mouse event passes the window first and then the widget
        // under the pointer; the position is the same, so the second is no
        // movement of its own.
        const auto* pointer = static_cast<const QSinglePointEvent*>(event);
        const QPoint at = pointer->globalPosition().toPoint();
        const bool wasHidden = idle_.hidden();
        if (idle_.moved(clock_(), at) && wasHidden)
            show();
        if (!timer_.isActive())
            armTimer();
        break;
    }
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

void PointerHider::hide()
{
    if (!window_)
        return;
    hadOwnCursor_ = window_->testAttribute(Qt::WA_SetCursor);
    if (hadOwnCursor_)
        ownCursor_ = window_->cursor();
    window_->setCursor(Qt::BlankCursor);
}

void PointerHider::show()
{
    if (!window_)
        return;
    if (hadOwnCursor_)
        window_->setCursor(ownCursor_);
    else
        window_->unsetCursor();
}

} // namespace kvet
