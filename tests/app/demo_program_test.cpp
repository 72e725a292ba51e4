// kvet-demo started from a shell: what needs no display, and how a capture
// that goes wrong ends (a reason on stderr and its own exit code).
#include "app/demo_options.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <optional>

namespace {

struct Run {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

// Runs kvet-demo; `display` false takes away every way to a screen, as in a
// bare ssh session: no offscreen platform, no X server, no Wayland.
std::optional<Run> runDemo(const QStringList& arguments, bool display, int waitMs = 60000)
{
    const QString program = QCoreApplication::applicationDirPath() + "/kvet-demo";
    if (!QFile::exists(program))
        return std::nullopt;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    if (display) {
        env.insert("QT_QPA_PLATFORM", "offscreen");
    } else {
        env.remove("QT_QPA_PLATFORM");
        env.remove("DISPLAY");
        env.remove("WAYLAND_DISPLAY");
    }
    QProcess p;
    p.setProcessEnvironment(env);
    p.start(program, arguments);
    if (!p.waitForFinished(waitMs))
        return Run{};
    return Run{p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, p.readAllStandardOutput(),
               p.readAllStandardError()};
}

TEST(DemoFromAShell, HelpAndWritingTheDatabaseNeedNoDisplay)
{
    const auto help = runDemo({"--help"}, false);
    if (!help)
        GTEST_SKIP() << "kvet-demo not built";
    EXPECT_EQ(help->exitCode, kvet::kDemoExitOk) << help->err.toStdString();
    EXPECT_TRUE(help->out.contains("--write-database FILE"));
    EXPECT_TRUE(help->out.contains("Exit codes:"));

    QTemporaryDir dir;
    const QString db = dir.filePath("demo.db");
    const auto written = runDemo({"--write-database", db}, false);
    EXPECT_EQ(written->exitCode, kvet::kDemoExitOk) << written->err.toStdString();
    EXPECT_GT(QFile(db).size(), 0);

    // The file exists now: refused, without a display too, and left alone.
    const qint64 size = QFile(db).size();
    const auto again = runDemo({"--write-database", db}, false);
    EXPECT_EQ(again->exitCode, kvet::kDemoExitDatabase);
    EXPECT_TRUE(again->err.contains("exists already")) << again->err.toStdString();
    EXPECT_EQ(QFile(db).size(), size);

    const auto wrong = runDemo({"--deadline", "soon"}, false);
    EXPECT_EQ(wrong->exitCode, kvet::kDemoExitUsage);
}

TEST(DemoFromAShell, ARefreshThatDoesNotFinishInTimeEndsWithTheStatusCellsText)
{
    // An SQLite file without the demo tables: the start-up probe keeps failing.
    QTemporaryDir dir;
    const QString db = dir.filePath("empty.db");
    QFile(db).open(QIODevice::WriteOnly);
    const QString json = dir.filePath("screen.json");
    const auto run = runDemo({"--database", db, "--snapshot", json, "--deadline", "2"}, true);
    if (!run)
        GTEST_SKIP() << "kvet-demo not built";
    EXPECT_EQ(run->exitCode, kvet::kDemoExitNotRefreshed) << run->err.toStdString();
    EXPECT_TRUE(run->err.contains("did not finish within 2 s; the status cell shows: ")) << run->err.toStdString();
    EXPECT_FALSE(run->err.contains("shows: (nothing)")) << run->err.toStdString();
    EXPECT_TRUE(QFile::exists(json)); // what the screen showed, for a look
}

TEST(DemoFromAShell, ASnapshotThatCannotBeWrittenSaysWhy)
{
    QTemporaryDir dir;
    const auto run = runDemo({"--snapshot", dir.filePath("no/such/folder/screen.json")}, true);
    if (!run)
        GTEST_SKIP() << "kvet-demo not built";
    EXPECT_EQ(run->exitCode, kvet::kDemoExitNotWritten) << run->err.toStdString();
    EXPECT_TRUE(run->err.contains("cannot write the snapshot")) << run->err.toStdString();
}

} // namespace
