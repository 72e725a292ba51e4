// The Windows installer and kvet-keeper under Wine: a silent install with
// settings, kvet.ini as written and as kvet-check.exe reads it, a reinstall
// that keeps it, the uninstaller, and the keeper bringing back a kvet that
// crashed or was killed. The installer is the one scripts/build-windows.sh left
// in build-windows/dist, or, when there is none, one made here from the
// programs there by packaging/windows/make-installer.sh.

#include "windows/wine_session.h"
#include "support/wait_for.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>
#include <QThread>

#include <functional>

using namespace kvet::testing;

namespace {

const QString kUninstallKey = QStringLiteral(R"(HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\kvet)");
// Quotes, spaces, '=', ';', an option look-alike, Chinese and a character
// outside the BMP (a surrogate pair in UTF-16): all must reach kvet intact.
const QString kPassword = QStringLiteral("密 码;a=b\"c'd /x=🙂");

QByteArray fileBytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QString utf16File(const QString& path)
{
    QByteArray bytes = fileBytes(path);
    if (bytes.startsWith("\xFF\xFE"))
        bytes.remove(0, 2);
    return QString::fromUtf16(reinterpret_cast<const char16_t*>(bytes.constData()), bytes.size() / 2);
}

// A Linux program to its end within ms; its output, or why it failed.
bool runLinux(const QString& program, const QStringList& args, int ms, QByteArray* output)
{
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(program, args);
    const bool ended = p.waitForStarted(10000) && p.waitForFinished(ms);
    if (!ended)
        p.kill(), p.waitForFinished(5000);
    *output = p.readAll();
    return ended && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

// The installer scripts/build-windows.sh left in the dist folder; without one,
// one made here once for the whole test program (makensis compresses some
// 60 MB: minutes on a loaded machine).
QString installer(std::string* problem)
{
    const QStringList built = QDir(windowsDist()).entryList({QStringLiteral("kvet-setup-*.exe")}, QDir::Files);
    if (!built.isEmpty())
        return windowsDist() + QLatin1Char('/') + built.first();
    static QTemporaryDir made;
    static QString path;
    static std::string why;
    if (path.isEmpty() && why.empty()) {
        QByteArray output;
        if (runLinux(QStringLiteral("bash"),
                     {QStringLiteral(KVET_SOURCE_DIR "/packaging/windows/make-installer.sh"), windowsDist(),
                      QStringLiteral("1.0.0"), made.path()},
                     900000, &output))
            path = made.filePath(QStringLiteral("kvet-setup-1.0.0.exe"));
        else
            why = "make-installer.sh failed:\n" + output.toStdString();
    }
    *problem = why;
    return path;
}

class Installer : public WindowsTest {
protected:
    bool ownPrefix() const override { return true; }

    void setWindowsVersion(const QString& version)
    {
        wine->run(QStringLiteral("reg"),
                  {QStringLiteral("add"), QStringLiteral(R"(HKCU\Software\Wine)"), QStringLiteral("/v"),
                   QStringLiteral("Version"), QStringLiteral("/t"), QStringLiteral("REG_SZ"), QStringLiteral("/d"),
                   version, QStringLiteral("/f")},
                  60000);
    }

    void findInstaller()
    {
        std::string problem;
        setup = installer(&problem);
        ASSERT_EQ(problem, "");
    }

    WineRun install(const QStringList& options)
    {
        return wine->run(windowsPath(setup), QStringList{QStringLiteral("/S")} + options, 180000);
    }

    QString driveC() const { return wine->prefix() + QStringLiteral("/drive_c"); }
    QString installed(const QString& name) const { return driveC() + QStringLiteral("/Program Files/kvet/") + name; }
    QString startMenu() const { return driveC() + QStringLiteral("/ProgramData/Microsoft/Windows/Start Menu/Programs"); }
    // %TEMP%\kvet-setup.log of the prefix's user, where the installer and the
    // uninstaller say what they did.
    QString setupLog() const
    {
        QString text;
        const QString users = driveC() + QStringLiteral("/users/");
        for (const QString& home : QDir(users).entryList(QDir::Dirs | QDir::NoDotAndDotDot))
            for (const char* temp : {"/Temp/", "/AppData/Local/Temp/"})
                text += utf16File(users + home + QLatin1String(temp) + QStringLiteral("kvet-setup.log"));
        return text;
    }
    std::string logText() const { return setupLog().toStdString(); }

    QString setup;
    QTemporaryDir scratch;
};

} // namespace

TEST_F(Installer, RefusesWhatCannotRunKvetAndSaysWhy)
{
    ASSERT_NO_FATAL_FAILURE(findInstaller());
    // Windows 7: nothing installed, the reason in the log.
    setWindowsVersion(QStringLiteral("win7"));
    install({QStringLiteral("/SERVER=s"), QStringLiteral("/DATABASE=d"), QStringLiteral("/USER=u"),
             QStringLiteral("/PASSWORD=p")});
    setWindowsVersion(QStringLiteral("win10"));
    EXPECT_FALSE(QFileInfo::exists(installed(QStringLiteral("kvet.exe"))));
    EXPECT_TRUE(setupLog().contains(QStringLiteral("需要 64 位的 Windows 10 或 Windows 11"))) << logText();

    // A silent first install without all four settings: nothing half-installed.
    install({QStringLiteral("/SERVER=s"), QStringLiteral("/DATABASE=d")});
    EXPECT_FALSE(QFileInfo::exists(installed(QStringLiteral("kvet.exe"))));
    EXPECT_TRUE(setupLog().contains(QStringLiteral("静默安装需要 /SERVER= /DATABASE= /USER= /PASSWORD="))) << logText();
}

TEST_F(Installer, InstallsKeepsKvetIniOnReinstallAndUninstallsTheRest)
{
    ASSERT_NO_FATAL_FAILURE(findInstaller());
    const WineRun first = install({QStringLiteral(R"(/SERVER=db01\SQLEXPRESS,1433)"), QStringLiteral("/DATABASE=收费库"),
                                   QStringLiteral("/USER=大屏 user"), QStringLiteral("/PASSWORD=") + kPassword});
    for (const char* name : {"kvet.exe", "kvet-demo.exe", "kvet-check.exe", "kvet-keeper.exe", "uninstall.exe"})
        EXPECT_TRUE(QFileInfo::exists(installed(QLatin1String(name)))) << name << "\n" << logText();
    EXPECT_TRUE(QFileInfo::exists(startMenu() + QStringLiteral("/StartUp/kvet.lnk")));
    EXPECT_TRUE(QFileInfo::exists(startMenu() + QStringLiteral("/kvet/kvet-check.lnk")));
    const WineRun key = wine->run(QStringLiteral("reg"), {QStringLiteral("query"), kUninstallKey}, 60000);
    EXPECT_TRUE(key.out.contains(R"("C:\Program Files\kvet\uninstall.exe" /S)")) << key.out.toStdString();

    // kvet.ini as Windows' profile functions read it: UTF-16LE with its mark,
    // the keys in kvet's order, the password as Base64 of its UTF-8 bytes.
    const QString ini = installed(QStringLiteral("kvet.ini"));
    EXPECT_TRUE(fileBytes(ini).startsWith("\xFF\xFE"));
    const QString written = utf16File(ini);
    EXPECT_EQ(written.toStdString(),
              (QStringLiteral("[option]\r\nmydata=收费库\r\nmy=db01\\SQLEXPRESS,1433\r\nuser=大屏 user\r\npassword=") +
               QString::fromLatin1(kPassword.toUtf8().toBase64()) + QStringLiteral("\r\n"))
                  .toStdString());

    // kvet's own reading of it, from the install folder as the Start-menu entry runs it.
    const WineRun check = wine->run(QStringLiteral(R"(C:\Program Files\kvet\kvet-check.exe)"), {}, 180000,
                                    driveC() + QStringLiteral("/Program Files/kvet"));
    QStringDecoder gbk("GB18030");
    const QString report = QString(gbk.decode(check.out + check.err)).remove(u'\r');
    EXPECT_TRUE(report.contains(QStringLiteral("数据库（mydata）：收费库"))) << report.toStdString();
    EXPECT_TRUE(report.contains(QStringLiteral("服务器（my）：db01\\SQLEXPRESS,1433"))) << report.toStdString();
    EXPECT_TRUE(report.contains(QStringLiteral("用户（user）：大屏 user"))) << report.toStdString();
    EXPECT_TRUE(report.contains(QStringLiteral("密码（password）：已设置，可以解码"))) << report.toStdString();

    // A reinstall (an upgrade) with other settings, and one with none, leave
    // the hall's file alone.
    install({QStringLiteral("/SERVER=other"), QStringLiteral("/DATABASE=other"), QStringLiteral("/USER=other"),
             QStringLiteral("/PASSWORD=other")});
    install({});
    EXPECT_EQ(utf16File(ini), written);
    EXPECT_TRUE(QFileInfo::exists(installed(QStringLiteral("uninstall.exe"))));

    // The uninstaller copies itself away and returns at once: wait for its work.
    wine->run(QStringLiteral(R"(C:\Program Files\kvet\uninstall.exe)"), {QStringLiteral("/S")}, 60000);
    EXPECT_TRUE(waitFor(
        [&] {
            return !QFileInfo::exists(installed(QStringLiteral("uninstall.exe"))) &&
                   !QFileInfo::exists(startMenu() + QStringLiteral("/StartUp/kvet.lnk"));
        },
        90000))
        << logText();
    for (const char* name : {"kvet.exe", "kvet-demo.exe", "kvet-check.exe", "kvet-keeper.exe"})
        EXPECT_FALSE(QFileInfo::exists(installed(QLatin1String(name)))) << name;
    EXPECT_FALSE(QFileInfo::exists(startMenu() + QStringLiteral("/kvet")));
    const WineRun gone = wine->run(QStringLiteral("reg"), {QStringLiteral("query"), kUninstallKey}, 60000);
    EXPECT_FALSE(gone.out.contains("DisplayName")) << gone.out.toStdString();
    EXPECT_EQ(utf16File(ini), written);
    EXPECT_TRUE(setupLog().contains(QStringLiteral("保留了数据库设置"))) << logText();

    // Installed again on the kept file, then removed with /REMOVEINI: nothing stays.
    install({});
    EXPECT_EQ(utf16File(ini), written);
    wine->run(QStringLiteral(R"(C:\Program Files\kvet\uninstall.exe)"),
              {QStringLiteral("/S"), QStringLiteral("/REMOVEINI")}, 60000);
    EXPECT_TRUE(waitFor([&] { return !QFileInfo::exists(driveC() + QStringLiteral("/Program Files/kvet")); }, 90000))
        << logText();
}

// The real keeper beside a stand-in kvet.exe that records each start and ends
// as order.txt in its folder says: a number is its exit code, "kill" ends it
// by TerminateProcess with code 1 (what taskkill /F and Task Manager do; Wine's
// own taskkill ends a process with code 0), "crash" writes through a null
// pointer.
TEST_F(Installer, KeeperBringsKvetBackUntilItExitsWithZero)
{
    const QString folder = driveC() + QStringLiteral("/keeper-test");
    QDir().mkpath(folder);
    ASSERT_TRUE(QFile::copy(program(QStringLiteral("kvet-keeper.exe")), folder + QStringLiteral("/kvet-keeper.exe")));
    const QString source = scratch.filePath(QStringLiteral("stand_in_kvet.c"));
    QFile c(source);
    ASSERT_TRUE(c.open(QIODevice::WriteOnly));
    c.write(R"(#include <windows.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
int main(void)
{
    char folder[MAX_PATH], runs[MAX_PATH + 16], order[MAX_PATH + 16], word[32] = "";
    DWORD n = GetModuleFileNameA(NULL, folder, MAX_PATH);
    while (n > 0 && folder[n - 1] != '\\') --n;
    folder[n] = 0;
    snprintf(runs, sizeof runs, "%sruns.txt", folder);
    snprintf(order, sizeof order, "%sorder.txt", folder);
    FILE* f = fopen(runs, "a");
    if (f) { fprintf(f, "%lu\n", GetCurrentProcessId()); fclose(f); }
    for (;;) {
        FILE* o = fopen(order, "r");
        if (o) {
            int got = fscanf(o, "%31s", word);
            fclose(o);
            if (got == 1 && DeleteFileA(order)) {
                if (!strcmp(word, "kill")) TerminateProcess(GetCurrentProcess(), 1);
                if (!strcmp(word, "crash")) *(volatile int*)0 = 0;
                return atoi(word);
            }
        }
        Sleep(100);
    }
}
)");
    c.close();
    QByteArray output;
    ASSERT_TRUE(runLinux(QStringLiteral("x86_64-w64-mingw32-gcc-posix"),
                         {QStringLiteral("-O2"), QStringLiteral("-o"), folder + QStringLiteral("/kvet.exe"), source},
                         120000, &output))
        << output.toStdString();

    const QString orderFile = folder + QStringLiteral("/order.txt");
    auto order = [&](const char* what) {
        QFile f(orderFile);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(what);
    };
    auto starts = [&] { return fileBytes(folder + QStringLiteral("/runs.txt")).count('\n'); };
    auto ended = [](QProcess* p) { return p->state() == QProcess::NotRunning || p->waitForFinished(0); };

    QProcess* keeper = wine->start(windowsPath(folder + QStringLiteral("/kvet-keeper.exe")), {});
    ASSERT_TRUE(waitFor([&] { return starts() == 1; }, 90000));

    // One keeper per session: a second one ends at once and starts no kvet.
    QProcess* second = wine->start(windowsPath(folder + QStringLiteral("/kvet-keeper.exe")), {});
    EXPECT_TRUE(second->waitForFinished(60000));

    qsizetype count = 1;
    for (const char* end : {"crash", "kill", "3"}) {
        order(end);
        // The pause is ten seconds; a loaded prefix takes longer to start kvet.
        EXPECT_TRUE(waitFor([&] { return starts() == count + 1; }, 90000)) << "no new start after " << end;
        count = starts();
        EXPECT_FALSE(ended(keeper)) << "the keeper ended after " << end;
    }
    EXPECT_EQ(count, 4);

    // Exit code 0 (the double-click on the banner): the keeper ends too, and
    // starts nothing more.
    order("0");
    EXPECT_TRUE(keeper->waitForFinished(60000));
    QThread::msleep(12000);
    EXPECT_EQ(starts(), count);
}
