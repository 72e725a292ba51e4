#pragma once
// When the mouse pointer over the dashboard hides and when it comes back: it
// hides after a stretch without movement and shows again at the next
// movement, so that a person can still aim the double-click that closes the
// program. Plain arithmetic on a millisecond clock, so that tests need no
// waiting and no display.
#include <QPoint>
#include <QtGlobal>
#include <optional>

namespace kvet {

// Idle time before the pointer hides, in milliseconds.
inline constexpr qint64 kPointerIdleMs = 5000;

class PointerIdle {
public:
    // `start`: the clock's reading when the window appears; the pointer
    // counts as last moved then.
    explicit PointerIdle(qint64 start, qint64 idleMs = kPointerIdleMs) : lastMove_(start), idleMs_(idleMs) {}

    // A mouse event at `now` with the pointer at `position` (global pixels).
    // An event at the same place as the last one is no movement (the window
    // system repeats positions when windows change under a resting pointer).
    // True when the pointer was hidden and is to show again.
    bool moved(qint64 now, QPoint position)
    {
        if (lastPosition_ && *lastPosition_ == position)
            return false;
        lastPosition_ = position;
        lastMove_ = now;
        const bool wasHidden = hidden_;
        hidden_ = false;
        return wasHidden;
    }

    // The clock says `now`. True when the pointer is to hide now.
    bool due(qint64 now)
    {
        if (hidden_ || now - lastMove_ < idleMs_)
            return false;
        hidden_ = true;
        return true;
    }

    // Milliseconds from `now` until the pointer is due to hide; 0 when it is
    // due or already hidden.
    qint64 remaining(qint64 now) const { return hidden_ ? 0 : qMax<qint64>(0, lastMove_ + idleMs_ - now); }

    bool hidden() const { return hidden_; }

private:
    qint64 lastMove_;
    qint64 idleMs_;
    std::optional<QPoint> lastPosition_;
    bool hidden_ = false;
};

} // namespace kvet
