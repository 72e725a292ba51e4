#include "kiosk/keep_awake.h"

#include <QtGlobal>

#ifdef Q_OS_WIN
#include <windows.h>
#elif defined(KVET_HAVE_DBUS)
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#endif

namespace kvet {
namespace {

#if !defined(Q_OS_WIN) && defined(KVET_HAVE_DBUS)
const QString kScreenSaverService = QStringLiteral("org.freedesktop.ScreenSaver");
const QString kScreenSaverPath = QStringLiteral("/org/freedesktop/ScreenSaver");
const QString kScreenSaverInterface = QStringLiteral("org.freedesktop.ScreenSaver");
// The release at exit waits at most this long for the screen saver, in
// milliseconds; the inhibition also ends with the bus connection.
constexpr int kReleaseWaitMs = 1000;
#endif

} // namespace

KeepAwake::KeepAwake(QObject* parent) : KeepAwake(QString(), parent) {}

KeepAwake::KeepAwake(const QString& busAddress, QObject* parent) : QObject(parent)
{
#ifdef Q_OS_WIN
    Q_UNUSED(busAddress);
    // Held for as long as this thread (the user-interface thread) says so.
    setActive(SetThreadExecutionState(ES_CONTINUOUS | ES_DISPLAY_REQUIRED) != 0);
#elif defined(KVET_HAVE_DBUS)
    QDBusConnection bus = busAddress.isEmpty()
                              ? QDBusConnection::sessionBus()
                              : QDBusConnection::connectToBus(busAddress, QStringLiteral("kvet-keep-awake"));
    ownConnection_ = !busAddress.isEmpty();
    connectionName_ = bus.name();
    if (!bus.isConnected())
        return; // no session bus: a bare X server or a console; nothing to ask
    QDBusMessage inhibit = QDBusMessage::createMethodCall(kScreenSaverService, kScreenSaverPath,
                                                          kScreenSaverInterface, QStringLiteral("Inhibit"));
    inhibit << QStringLiteral("kvet") << QStringLiteral("营业收费大屏正在显示");
    // Asked without waiting: a slow or missing screen saver must not hold up
    // the window.
    auto* watcher = new QDBusPendingCallWatcher(bus.asyncCall(inhibit), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher* call) {
        const QDBusPendingReply<quint32> reply = *call;
        if (!reply.isError()) {
            cookie_ = reply.value();
            setActive(true);
        }
        call->deleteLater();
    });
#else
    Q_UNUSED(busAddress);
#endif
}

KeepAwake::~KeepAwake()
{
    release();
#if !defined(Q_OS_WIN) && defined(KVET_HAVE_DBUS)
    if (ownConnection_)
        QDBusConnection::disconnectFromBus(connectionName_);
#endif
}

void KeepAwake::setActive(bool active)
{
    if (active_ == active)
        return;
    active_ = active;
    emit activeChanged(active);
}

void KeepAwake::release()
{
    if (!active_)
        return;
#ifdef Q_OS_WIN
    SetThreadExecutionState(ES_CONTINUOUS);
#elif defined(KVET_HAVE_DBUS)
    QDBusConnection bus(connectionName_);
    if (bus.isConnected()) {
        QDBusMessage uninhibit = QDBusMessage::createMethodCall(kScreenSaverService, kScreenSaverPath,
                                                                kScreenSaverInterface, QStringLiteral("UnInhibit"));
        uninhibit << cookie_;
        bus.call(uninhibit, QDBus::Block, kReleaseWaitMs);
    }
#endif
    active_ = false;
}

} // namespace kvet
