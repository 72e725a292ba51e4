// Keeping the display awake on Linux: kvet asks the session's freedesktop
// screen saver to hold off and lets go when it ends. Run against a private
// bus with a stand-in screen saver, when dbus-daemon is installed.
#include "kiosk/keep_awake.h"

#include <gtest/gtest.h>

#if defined(KVET_HAVE_DBUS) && !defined(Q_OS_WIN)
#include <QCoreApplication>
#include <QDBusConnection>
#include <QDeadlineTimer>
#include <QMutex>
#include <QProcess>
#include <QStandardPaths>
#include <QThread>
#include <atomic>

using kvet::KeepAwake;

namespace {

// Lives in its own thread: kvet's release waits for the answer on the
// user-interface thread, as it does at exit.
class FakeScreenSaver : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.ScreenSaver")
public:
    QMutex mutex;
    QStringList calls;

public slots:
    uint Inhibit(const QString& application, const QString& reason)
    {
        QMutexLocker lock(&mutex);
        calls << QStringLiteral("Inhibit %1 (%2)").arg(application, reason);
        return 4711;
    }
    void UnInhibit(uint cookie)
    {
        QMutexLocker lock(&mutex);
        calls << QStringLiteral("UnInhibit %1").arg(cookie);
    }
};

class ScreenSaverThread : public QThread {
public:
    explicit ScreenSaverThread(QString address) : address_(std::move(address)) {}
    FakeScreenSaver* saver = nullptr;
    std::atomic<bool> ready{false};

protected:
    void run() override
    {
        FakeScreenSaver fake;
        {
            QDBusConnection bus = QDBusConnection::connectToBus(address_, QStringLiteral("fake-screen-saver"));
            bus.registerObject(QStringLiteral("/org/freedesktop/ScreenSaver"), &fake, QDBusConnection::ExportAllSlots);
            bus.registerService(QStringLiteral("org.freedesktop.ScreenSaver"));
        }
        saver = &fake;
        ready = true;
        exec();
        QDBusConnection::disconnectFromBus(QStringLiteral("fake-screen-saver"));
        saver = nullptr;
    }

private:
    QString address_;
};

QStringList callsOf(FakeScreenSaver* saver)
{
    QMutexLocker lock(&saver->mutex);
    return saver->calls;
}

TEST(KeepAwake, InhibitsTheScreenSaverWhileItLivesAndReleasesItsCookie)
{
    const QString daemon = QStandardPaths::findExecutable(QStringLiteral("dbus-daemon"));
    if (daemon.isEmpty())
        GTEST_SKIP() << "dbus-daemon is not installed";
    QProcess bus;
    bus.start(daemon, {QStringLiteral("--session"), QStringLiteral("--nofork"), QStringLiteral("--print-address=1")});
    ASSERT_TRUE(bus.waitForStarted());
    ASSERT_TRUE(bus.waitForReadyRead(10000));
    const QString address = QString::fromUtf8(bus.readLine().trimmed());
    ASSERT_FALSE(address.isEmpty());

    ScreenSaverThread saver(address);
    saver.start();
    const QDeadlineTimer ready(10000);
    while (!saver.ready && !ready.hasExpired())
        QThread::msleep(10);
    ASSERT_TRUE(saver.ready);

    {
        KeepAwake awake(address);
        const QDeadlineTimer answered(10000);
        while (!awake.active() && !answered.hasExpired())
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        ASSERT_TRUE(awake.active());
        EXPECT_EQ(callsOf(saver.saver), QStringList{QStringLiteral("Inhibit kvet (营业收费大屏正在显示)")});
    }
    EXPECT_EQ(callsOf(saver.saver).value(1), QStringLiteral("UnInhibit 4711"));

    saver.quit();
    saver.wait();
    bus.terminate();
    bus.waitForFinished(5000);
}

TEST(KeepAwake, WithoutABusItDoesNothingAndDoesNotFail)
{
    KeepAwake awake(QStringLiteral("unix:path=/nonexistent/bus"));
    QCoreApplication::processEvents();
    EXPECT_FALSE(awake.active());
}

} // namespace

#include "keep_awake_test.moc"
#endif
