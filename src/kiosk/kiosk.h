#pragma once
// What makes kvet a kiosk beyond what the screen shows: the display stays
// awake while the dashboard runs, the pointer hides over the window when the
// mouse rests, and a second start of kvet brings this window to the front.
// kvet-demo has none of it, so that tests can run several at once.
#include "kiosk/keep_awake.h"
#include "kiosk/pointer_hider.h"

class QWidget;

namespace kvet {

class SingleInstance;

// Un-minimizes, raises and activates the window, keeping it full screen.
void bringToFront(QWidget& window);

class Kiosk {
public:
    Kiosk(QWidget& window, SingleInstance& instance);
    Kiosk(const Kiosk&) = delete;
    Kiosk& operator=(const Kiosk&) = delete;

private:
    KeepAwake keepAwake_;
    PointerHider pointer_;
};

} // namespace kvet
