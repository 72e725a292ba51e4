#include "windows/wine_session.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QStandardPaths>
#include <QThread>

namespace kvet::testing {
namespace {

constexpr int kBootMs = 180000;

// The shared prefix and the Chinese locale live in the build folder, made
// by the first test that needs them.
QString wineRoot()
{
    return QStringLiteral(KVET_WINE_ROOT);
}

QString localeRoot()
{
    return wineRoot() + QStringLiteral("/locale");
}

QString sharedPrefix()
{
    return wineRoot() + QStringLiteral("/prefix");
}

// Runs a Linux program to its end within ms; false when it did not finish.
bool runBounded(QProcess& p, const QString& program, const QStringList& args, int ms,
                const QProcessEnvironment& env)
{
    p.setProcessEnvironment(env);
    p.start(program, args);
    if (!p.waitForStarted(10000))
        return false;
    if (!p.waitForFinished(ms)) {
        p.kill();
        p.waitForFinished(5000);
        return false;
    }
    return true;
}

bool writeUtf16File(const QString& path, const QString& text)
{
    QFile f(path);
    const QByteArray bytes = utf16WithBom(text);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size();
}

// The settings every test prefix gets: Windows 10 (a new prefix of Debian's
// Wine 8 says Windows 7, which Qt 6 and the installer do not run on), no
// crash dialog (a crash would
// otherwise leave a window that never ends), and the faces a Windows PC has
// mapped to metric-compatible ones from Debian (Arial, the charts' default
// face: Liberation Sans; 黑体 and 宋体: WenQuanYi Micro Hei, as on Linux).
const char16_t kPrefixSettings[] = u"Windows Registry Editor Version 5.00\r\n\r\n"
                                   u"[HKEY_CURRENT_USER\\Software\\Wine]\r\n"
                                   u"\"Version\"=\"win10\"\r\n\r\n"
                                   u"[HKEY_CURRENT_USER\\Software\\Wine\\WineDbg]\r\n"
                                   u"\"ShowCrashDialog\"=dword:00000000\r\n\r\n"
                                   u"[HKEY_CURRENT_USER\\Software\\Wine\\Fonts\\Replacements]\r\n"
                                   u"\"Arial\"=\"Liberation Sans\"\r\n"
                                   u"\"黑体\"=\"WenQuanYi Micro Hei\"\r\n"
                                   u"\"SimHei\"=\"WenQuanYi Micro Hei\"\r\n"
                                   u"\"宋体\"=\"WenQuanYi Micro Hei\"\r\n"
                                   u"\"SimSun\"=\"WenQuanYi Micro Hei\"\r\n"
                                   u"\"Microsoft YaHei\"=\"WenQuanYi Micro Hei\"\r\n"
                                   u"\"微软雅黑\"=\"WenQuanYi Micro Hei\"\r\n\r\n";

} // namespace

QString windowsDist()
{
    return QStringLiteral(KVET_SOURCE_DIR "/build-windows/dist");
}

QByteArray utf16WithBom(const QString& text)
{
    QByteArray bytes("\xFF\xFE");
    bytes.append(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
    return bytes;
}

QString windowsPath(const QString& linuxPath)
{
    return QStringLiteral("Z:") + QDir::toNativeSeparators(QFileInfo(linuxPath).absoluteFilePath());
}

WineSession::WineSession(bool ownPrefix)
{
    const QString wine = QStandardPaths::findExecutable(QStringLiteral("wine"));
    const QString xvfb = QStandardPaths::findExecutable(QStringLiteral("Xvfb"));
    if (wine.isEmpty() || xvfb.isEmpty()) {
        problem_ = QStringLiteral("needs wine and Xvfb");
        return;
    }
    xvfb_.setProgram(xvfb);
    xvfb_.setArguments({QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-nolisten"),
                        QStringLiteral("tcp"), QStringLiteral("-screen"), QStringLiteral("0"),
                        QStringLiteral("1920x1080x24")});
    xvfb_.start();
    QDeadlineTimer deadline(10000);
    while (!xvfb_.canReadLine() && xvfb_.state() != QProcess::NotRunning && !deadline.hasExpired())
        xvfb_.waitForReadyRead(100);
    display_ = QStringLiteral(":") + QString::fromLatin1(xvfb_.readLine().trimmed());
    if (display_ == QStringLiteral(":")) {
        problem_ = QStringLiteral("Xvfb did not start");
        return;
    }

    QDir().mkpath(wineRoot());
    env_ = QProcessEnvironment::systemEnvironment();
    env_.insert(QStringLiteral("DISPLAY"), display_);
    env_.insert(QStringLiteral("WINEDEBUG"), QStringLiteral("-all"));
    env_.insert(QStringLiteral("WINEDLLOVERRIDES"), QStringLiteral("mscoree,mshtml="));
    // Code page 936 needs a real zh_CN locale; without one Wine silently
    // takes 1252.
    env_.insert(QStringLiteral("LOCPATH"), localeRoot());
    env_.insert(QStringLiteral("LANG"), QStringLiteral("zh_CN.UTF-8"));
    env_.insert(QStringLiteral("LC_ALL"), QStringLiteral("zh_CN.UTF-8"));
    env_.remove(QStringLiteral("QT_QPA_PLATFORM"));
    env_.remove(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"));

    QLockFile lock(wineRoot() + QStringLiteral("/prefix.lock"));
    lock.setStaleLockTime(0);
    if (!lock.tryLock(kBootMs)) {
        problem_ = QStringLiteral("the shared Wine prefix stays locked");
        return;
    }
    if (!QFileInfo::exists(localeRoot() + QStringLiteral("/zh_CN.UTF-8/LC_CTYPE"))) {
        QDir().mkpath(localeRoot());
        QProcess localedef;
        runBounded(localedef, QStringLiteral("localedef"),
                   {QStringLiteral("-i"), QStringLiteral("zh_CN"), QStringLiteral("-f"), QStringLiteral("UTF-8"),
                    localeRoot() + QStringLiteral("/zh_CN.UTF-8")},
                   60000, QProcessEnvironment::systemEnvironment());
        if (!QFileInfo::exists(localeRoot() + QStringLiteral("/zh_CN.UTF-8/LC_CTYPE"))) {
            problem_ = QStringLiteral("localedef could not make zh_CN.UTF-8: ") +
                       QString::fromLocal8Bit(localedef.readAllStandardError());
            return;
        }
    }
    const QString ready = sharedPrefix() + QStringLiteral("/.kvet-ready");
    if (!QFileInfo::exists(ready)) {
        QDir(sharedPrefix()).removeRecursively();
        env_.insert(QStringLiteral("WINEPREFIX"), sharedPrefix());
        prefix_ = sharedPrefix();
        QProcess boot;
        if (!runBounded(boot, QStringLiteral("wineboot"), {QStringLiteral("-i")}, kBootMs, env_)) {
            problem_ = QStringLiteral("wineboot did not finish");
            endWine();
            return;
        }
        const QString settings = scratch_.filePath(QStringLiteral("settings.reg"));
        writeUtf16File(settings, QString::fromUtf16(kPrefixSettings));
        const WineRun reg = run(QStringLiteral("regedit"), {QStringLiteral("/S"), windowsPath(settings)}, 60000);
        endWine();
        if (!reg.finished || !QFileInfo::exists(sharedPrefix() + QStringLiteral("/system.reg"))) {
            problem_ = QStringLiteral("the Wine prefix could not be made");
            return;
        }
        QFile(ready).open(QIODevice::WriteOnly);
    }
    prefix_ = sharedPrefix();
    if (ownPrefix) {
        prefix_ = scratch_.filePath(QStringLiteral("prefix"));
        QProcess copy;
        if (!runBounded(copy, QStringLiteral("cp"), {QStringLiteral("-a"), sharedPrefix(), prefix_}, 120000,
                        QProcessEnvironment::systemEnvironment())) {
            problem_ = QStringLiteral("the Wine prefix could not be copied");
            return;
        }
    }
    env_.insert(QStringLiteral("WINEPREFIX"), prefix_);
    registerDrivers({QStringLiteral("SQL Server")});
}

WineSession::~WineSession()
{
    endWine();
    if (xvfb_.state() != QProcess::NotRunning) {
        xvfb_.terminate();
        if (!xvfb_.waitForFinished(5000)) {
            xvfb_.kill();
            xvfb_.waitForFinished(5000);
        }
    }
}

void WineSession::registerDrivers(const QStringList& windowsNames)
{
    const QString dir = scratch_.filePath(QStringLiteral("odbc"));
    QDir().mkpath(dir);
    const QString driver = QStringLiteral("/usr/lib/x86_64-linux-gnu/odbc/libtdsodbc.so");
    QFile ini(dir + QStringLiteral("/odbcinst.ini"));
    ini.open(QIODevice::WriteOnly | QIODevice::Truncate);
    for (const QString& name : windowsNames)
        ini.write(QStringLiteral("[%1]\nDescription=FreeTDS under a Windows driver name\nDriver=%2\n\n")
                      .arg(name, driver)
                      .toUtf8());
    ini.close();
    QFile(dir + QStringLiteral("/odbc.ini")).open(QIODevice::WriteOnly | QIODevice::Truncate);
    env_.insert(QStringLiteral("ODBCSYSINI"), dir);
    env_.insert(QStringLiteral("ODBCINSTINI"), QStringLiteral("odbcinst.ini"));
    env_.insert(QStringLiteral("ODBCINI"), dir + QStringLiteral("/odbc.ini"));
}

WineRun WineSession::run(const QString& program, const QStringList& args, int timeoutMs, const QString& workDir,
                         const QByteArray& input)
{
    WineRun result;
    QProcess p;
    p.setProcessEnvironment(env_);
    if (!workDir.isEmpty())
        p.setWorkingDirectory(workDir);
    p.start(QStringLiteral("wine"), QStringList{program} + args);
    if (!p.waitForStarted(10000))
        return result;
    if (!input.isEmpty())
        p.write(input);
    p.closeWriteChannel();
    result.finished = p.waitForFinished(timeoutMs);
    if (!result.finished) {
        p.kill();
        p.waitForFinished(5000);
        endWine();
    }
    result.exitCode = p.exitCode();
    result.out = p.readAllStandardOutput();
    result.err = p.readAllStandardError();
    return result;
}

QProcess* WineSession::start(const QString& program, const QStringList& args, const QString& workDir)
{
    auto p = std::make_unique<QProcess>();
    p->setProcessEnvironment(env_);
    if (!workDir.isEmpty())
        p->setWorkingDirectory(workDir);
    p->start(QStringLiteral("wine"), QStringList{program} + args);
    p->waitForStarted(10000);
    started_.push_back(std::move(p));
    return started_.back().get();
}

QImage WineSession::screenshot()
{
    const QString file = scratch_.filePath(QStringLiteral("screen.png"));
    QFile::remove(file);
    QProcess import;
    runBounded(import, QStringLiteral("import"),
               {QStringLiteral("-display"), display_, QStringLiteral("-window"), QStringLiteral("root"), file}, 30000,
               QProcessEnvironment::systemEnvironment());
    return QImage(file);
}

void WineSession::endWine()
{
    if (!prefix_.isEmpty()) {
        QProcess kill;
        runBounded(kill, QStringLiteral("wineserver"), {QStringLiteral("-k")}, 20000, env_);
        QProcess wait;
        runBounded(wait, QStringLiteral("wineserver"), {QStringLiteral("-w")}, 30000, env_);
    }
    for (auto& p : started_) {
        if (p->state() != QProcess::NotRunning) {
            p->kill();
            p->waitForFinished(5000);
        }
    }
    started_.clear();
}

void WindowsTest::SetUp()
{
    const bool required = qgetenv("KVET_REQUIRE_WINDOWS") == "1";
    if (!QFileInfo::exists(program(QStringLiteral("kvet.exe")))) {
        if (required)
            FAIL() << "no Windows build in " << windowsDist().toStdString() << " (scripts/build-windows.sh)";
        GTEST_SKIP() << "no Windows build in " << windowsDist().toStdString() << " (scripts/build-windows.sh)";
    }
    wine = std::make_unique<WineSession>(ownPrefix());
    if (!wine->problem().isEmpty()) {
        if (required)
            FAIL() << wine->problem().toStdString();
        GTEST_SKIP() << wine->problem().toStdString();
    }
}

void WindowsTest::TearDown()
{
    wine.reset();
}

QString WindowsTest::program(const QString& name)
{
    return windowsDist() + QLatin1Char('/') + name;
}

} // namespace kvet::testing
