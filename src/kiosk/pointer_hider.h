#pragma once
// Hides the mouse pointer over the dashboard window after five seconds
// without movement and shows it again when the mouse moves (PointerIdle
// decides; this object watches the application's mouse events and sets the
// window's cursor).
#include "kiosk/pointer_idle.h"

#include <QCursor>
#include <QObject>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <functional>

namespace kvet {

class PointerHider : public QObject {
    Q_OBJECT
public:
    using Clock = std::function<qint64()>;

    // `clock` reads milliseconds; empty: a monotonic clock started now.
    explicit PointerHider(QWidget& window, qint64 idleMs = kPointerIdleMs, Clock clock = {});
    ~PointerHider() override;

    bool pointerHidden() const { return idle_.hidden(); }

    // What the timer runs: hides the pointer when it is due, else waits on.
    void checkIdle();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void hide();
    void show();
    void armTimer();

    QPointer<QWidget> window_;
    Clock clock_;
    PointerIdle idle_;
    QTimer timer_;
    bool hadOwnCursor_ = false;
    QCursor ownCursor_;
};

} // namespace kvet
