// The Windows programs as built: what they import, and kvet-demo.exe's
// screen and console text against the Linux kvet-demo's.
#include "windows/wine_session.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSet>
#include <QStringDecoder>

using namespace kvet::testing;

namespace {

const char kPinnedMoment[] = "2026-06-15 10:30:00";

// What a Windows 10 or 11 PC has of its own. Anything else (libstdc++-6,
// libwinpthread-1, Qt6*.dll, sqlite3.dll) would have to be shipped, and
// nothing ships it.
bool isWindowsOwn(const QString& dll)
{
    static const QSet<QString> own{
        QStringLiteral("advapi32.dll"), QStringLiteral("authz.dll"),    QStringLiteral("bcrypt.dll"),
        QStringLiteral("comctl32.dll"), QStringLiteral("comdlg32.dll"), QStringLiteral("crypt32.dll"),
        QStringLiteral("d2d1.dll"),     QStringLiteral("d3d11.dll"),    QStringLiteral("d3d9.dll"),
        QStringLiteral("dnsapi.dll"),   QStringLiteral("dwmapi.dll"),   QStringLiteral("dwrite.dll"),
        QStringLiteral("dxgi.dll"),     QStringLiteral("gdi32.dll"),    QStringLiteral("imm32.dll"),
        QStringLiteral("iphlpapi.dll"), QStringLiteral("kernel32.dll"), QStringLiteral("mpr.dll"),
        QStringLiteral("msvcrt.dll"),   QStringLiteral("netapi32.dll"), QStringLiteral("odbc32.dll"),
        QStringLiteral("ole32.dll"),    QStringLiteral("oleaut32.dll"), QStringLiteral("powrprof.dll"),
        QStringLiteral("secur32.dll"),  QStringLiteral("setupapi.dll"), QStringLiteral("shcore.dll"),
        QStringLiteral("shell32.dll"),  QStringLiteral("shlwapi.dll"),  QStringLiteral("user32.dll"),
        QStringLiteral("userenv.dll"),  QStringLiteral("uxtheme.dll"),  QStringLiteral("version.dll"),
        QStringLiteral("winhttp.dll"),  QStringLiteral("winmm.dll"),    QStringLiteral("ws2_32.dll"),
        QStringLiteral("wtsapi32.dll"),
    };
    const QString name = dll.toLower();
    return own.contains(name) || name.startsWith(QStringLiteral("api-ms-win-"));
}

QStringList importsOf(const QString& exe)
{
    QProcess objdump;
    objdump.start(QStringLiteral("x86_64-w64-mingw32-objdump"), {QStringLiteral("-p"), exe});
    objdump.waitForFinished(60000);
    QStringList dlls;
    static const QRegularExpression line(QStringLiteral("DLL Name: (\\S+)"));
    auto it = line.globalMatch(QString::fromLatin1(objdump.readAllStandardOutput()));
    while (it.hasNext())
        dlls << it.next().captured(1);
    return dlls;
}

// Console text of the Windows programs, redirected: the console's code page,
// 936 under the Chinese locale.
QString fromCodePage936(const QByteArray& bytes)
{
    QStringDecoder gbk("GB18030");
    return gbk.decode(bytes);
}

struct LinuxRun {
    int exitCode = -1;
    QByteArray out, err;
};

LinuxRun runLinuxDemo(const QStringList& args, const QProcessEnvironment& wineEnv)
{
    QProcess demo;
    QProcessEnvironment env = wineEnv; // the same zh_CN locale
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    demo.setProcessEnvironment(env);
    demo.start(QStringLiteral(KVET_LINUX_DEMO), args);
    if (!demo.waitForFinished(180000))
        demo.kill();
    return {demo.exitCode(), demo.readAllStandardOutput(), demo.readAllStandardError()};
}

class WindowsPrograms : public WindowsTest {};

TEST_F(WindowsPrograms, NeedNoDllBeyondWindowsOwn)
{
    for (const QString& name : QDir(windowsDist()).entryList({QStringLiteral("*.exe")})) {
        const QStringList dlls = importsOf(program(name));
        EXPECT_FALSE(dlls.isEmpty()) << name.toStdString();
        for (const QString& dll : dlls)
            EXPECT_TRUE(isWindowsOwn(dll)) << name.toStdString() << " imports " << dll.toStdString();
    }
}

TEST_F(WindowsPrograms, DemoSnapshotEqualsTheLinuxOneAtThePinnedMoment)
{
    QTemporaryDir dir;
    const QString linuxJson = dir.filePath(QStringLiteral("linux.json"));
    const QString windowsJson = dir.filePath(QStringLiteral("windows.json"));
    const LinuxRun onLinux = runLinuxDemo(
        {QStringLiteral("--at"), QString::fromLatin1(kPinnedMoment), QStringLiteral("--snapshot"), linuxJson},
        wine->environment());
    ASSERT_EQ(onLinux.exitCode, 0) << onLinux.err.toStdString();
    const WineRun onWindows = wine->run(program(QStringLiteral("kvet-demo.exe")),
                                      {QStringLiteral("--at"), QString::fromLatin1(kPinnedMoment),
                                       QStringLiteral("--snapshot"), windowsPath(windowsJson)},
                                      240000);
    ASSERT_TRUE(onWindows.finished) << "kvet-demo.exe did not end";
    QFile a(linuxJson), b(windowsJson);
    ASSERT_TRUE(a.open(QIODevice::ReadOnly));
    ASSERT_TRUE(b.open(QIODevice::ReadOnly)) << fromCodePage936(onWindows.err).toStdString();
    const QByteArray expected = a.readAll();
    const QByteArray got = b.readAll();
    // Dates in the ticker as a Chinese Windows writes them (yyyy/M/d H:mm:ss).
    EXPECT_TRUE(got.contains("2026/6/")) << got.left(2000).toStdString();
    EXPECT_EQ(got, expected);
}

TEST_F(WindowsPrograms, DemoConsoleTextReadsAsOnLinux)
{
    // --help, and a usage error with its exit code: the same text, in the
    // console's code page.
    for (const QStringList& args : {QStringList{QStringLiteral("--help")}, QStringList{QStringLiteral("--bogus")}}) {
        const LinuxRun onLinux = runLinuxDemo(args, wine->environment());
        const WineRun onWindows = wine->run(program(QStringLiteral("kvet-demo.exe")), args, 60000);
        ASSERT_TRUE(onWindows.finished);
        const QString expected = QString::fromUtf8(onLinux.out + onLinux.err);
        ASSERT_FALSE(expected.isEmpty());
        EXPECT_EQ(fromCodePage936(onWindows.out + onWindows.err).remove(u'\r'), expected) << args.join(' ').toStdString();
        EXPECT_EQ(onWindows.exitCode, onLinux.exitCode) << args.join(' ').toStdString();
    }
    // A database the first refresh cannot read: exit code 3 and the reason,
    // as the status cell shows it.
    QTemporaryDir dir;
    const QString empty = dir.filePath(QStringLiteral("空库.db"));
    QFile(empty).open(QIODevice::WriteOnly);
    const QStringList args{QStringLiteral("--deadline"), QStringLiteral("3"), QStringLiteral("--snapshot")};
    const LinuxRun onLinux = runLinuxDemo(
        QStringList{QStringLiteral("--database"), empty} + args + QStringList{dir.filePath(QStringLiteral("l.json"))},
        wine->environment());
    const WineRun onWindows = wine->run(program(QStringLiteral("kvet-demo.exe")),
                                        QStringList{QStringLiteral("--database"), windowsPath(empty)} + args +
                                            QStringList{windowsPath(dir.filePath(QStringLiteral("w.json")))},
                                        90000);
    ASSERT_TRUE(onWindows.finished);
    EXPECT_EQ(onWindows.exitCode, 3);
    EXPECT_EQ(onLinux.exitCode, 3);
    const QString reason = fromCodePage936(onWindows.err).remove(u'\r');
    EXPECT_TRUE(reason.contains(QStringLiteral("no such table"))) << reason.toStdString();
    EXPECT_TRUE(QString::fromUtf8(onLinux.err).endsWith(reason)) << reason.toStdString();
}

} // namespace
