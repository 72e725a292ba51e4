// One dashboard per session: the socket's name, the hand-over between two
// objects in this process, and two real kvet processes (offscreen, and on an
// X server when Xvfb is installed).
#include "kiosk/single_instance.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace kvet;

namespace {

bool waitFor(const std::function<bool()>& done, int ms)
{
    const QDeadlineTimer deadline(ms);
    while (!done() && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    return done();
}

TEST(SingleInstanceName, IsPerUserAndSafeInAName)
{
#ifdef Q_OS_WIN
    EXPECT_EQ(singleInstanceName(QStringLiteral("王 工\\x"), {}, 2), QStringLiteral("kvet-____x-s2"));
#else
    QTemporaryDir runtime;
    EXPECT_EQ(singleInstanceName(QStringLiteral("王 工/x"), runtime.path()),
              QDir(runtime.path()).filePath(QStringLiteral("kvet-____x")));
    EXPECT_EQ(singleInstanceName(QStringLiteral("kiosk"), QStringLiteral("/nonexistent")), QStringLiteral("kvet-kiosk"));
#endif
    EXPECT_NE(singleInstanceName(QStringLiteral("a"), {}), singleInstanceName(QStringLiteral("b"), {}));
}

TEST(SingleInstance, ASecondClaimAsksTheFirstToComeToTheFront)
{
    QTemporaryDir dir;
    const QString name = singleInstanceName(QStringLiteral("tester"), dir.path());
    SingleInstance first(name);
    int activations = 0;
    QObject::connect(&first, &SingleInstance::activationRequested, [&] { ++activations; });
    ASSERT_TRUE(first.claim());

    SingleInstance second(name);
    EXPECT_FALSE(second.claim());
    EXPECT_TRUE(waitFor([&] { return activations == 1; }, 5000));
}

#ifndef Q_OS_WIN
TEST(SingleInstance, ASocketLeftBehindDoesNotKeepTheDashboardFromStarting)
{
    QTemporaryDir dir;
    const QString name = singleInstanceName(QStringLiteral("tester"), dir.path());
    QFile stale(name);
    ASSERT_TRUE(stale.open(QIODevice::WriteOnly)); // what a killed dashboard leaves
    stale.close();
    SingleInstance first(name);
    ASSERT_TRUE(first.claim());
    SingleInstance second(name);
    EXPECT_FALSE(second.claim()); // the first really listens now
}
#endif

#ifndef Q_OS_WIN
// Two kvet programs with a kvet.ini pointing at a closed port, in a folder of
// their own that is also their runtime folder, where the socket appears.
class TwoDashboards : public ::testing::TestWithParam<const char*> {
protected:
    QTemporaryDir dir;
    QString kvet;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    QProcess xvfb;

    void SetUp() override
    {
        const QString built = QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("kvet"));
        if (!QFileInfo::exists(built))
            GTEST_SKIP() << "kvet is not built beside the tests";
        kvet = dir.filePath(QStringLiteral("kvet"));
        ASSERT_TRUE(QFile::copy(built, kvet)); // kvet reads the kvet.ini beside itself
        QTcpServer probe;
        ASSERT_TRUE(probe.listen(QHostAddress::LocalHost));
        const quint16 port = probe.serverPort();
        probe.close();
        QFile ini(dir.filePath(QStringLiteral("kvet.ini")));
        ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
        ini.write(QStringLiteral("[option]\nmydata=billing\nmy=127.0.0.1,%1\nuser=kv\npassword=c2VjcmV0\n").arg(port).toUtf8());
        ini.close();

        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), dir.path());
        env.insert(QStringLiteral("USER"), QStringLiteral("tester"));
        env.remove(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"));
        if (QByteArray(GetParam()) == "xcb")
            startXvfb();
        else
            env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    }

    void TearDown() override
    {
        if (xvfb.state() != QProcess::NotRunning) {
            xvfb.terminate();
            xvfb.waitForFinished(5000);
        }
    }

    void startXvfb()
    {
        const QString program = QStandardPaths::findExecutable(QStringLiteral("Xvfb"));
        if (program.isEmpty())
            GTEST_SKIP() << "Xvfb is not installed";
        // Xvfb writes the display number it chose to the descriptor given.
        xvfb.setProgram(program);
        xvfb.setArguments({QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-nolisten"),
                           QStringLiteral("tcp"), QStringLiteral("-screen"), QStringLiteral("0"),
                           QStringLiteral("1280x720x24")});
        xvfb.start();
        ASSERT_TRUE(xvfb.waitForStarted());
        ASSERT_TRUE(waitFor([&] { return xvfb.canReadLine() || xvfb.state() == QProcess::NotRunning; }, 10000));
        const QByteArray display = xvfb.readLine().trimmed();
        if (display.isEmpty())
            GTEST_SKIP() << "Xvfb did not start";
        env.insert(QStringLiteral("DISPLAY"), QStringLiteral(":") + QString::fromLatin1(display));
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    }
};

TEST_P(TwoDashboards, TheSecondStartEndsAtOnceWithExitCodeZeroAndTheFirstRunsOn)
{
    QProcess first;
    first.setProcessEnvironment(env);
    first.start(kvet, {});
    ASSERT_TRUE(first.waitForStarted());
    const QString socket = QDir(dir.path()).filePath(QStringLiteral("kvet-tester"));
    ASSERT_TRUE(waitFor([&] { return QFileInfo::exists(socket); }, 15000)) << qPrintable(first.readAllStandardError());

    QProcess second;
    second.setProcessEnvironment(env);
    second.start(kvet, {});
    ASSERT_TRUE(second.waitForFinished(10000));
    EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second.exitCode(), 0);

    EXPECT_EQ(first.state(), QProcess::Running);
    first.kill();
    first.waitForFinished(5000);
}

INSTANTIATE_TEST_SUITE_P(Platforms, TwoDashboards, ::testing::Values("offscreen", "xcb"));
#endif

} // namespace
