#include "kiosk/kiosk.h"

#include "kiosk/single_instance.h"

#include <QWidget>

namespace kvet {

void bringToFront(QWidget& window)
{
    window.setWindowState((window.windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
    window.show();
    window.raise();
    window.activateWindow();
}

Kiosk::Kiosk(QWidget& window, SingleInstance& instance) : pointer_(window)
{
    QObject::connect(&instance, &SingleInstance::activationRequested, &window, [&window] { bringToFront(window); });
}

} // namespace kvet
