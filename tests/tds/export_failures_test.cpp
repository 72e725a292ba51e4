// kvet-check --export as a program against the stand-in, stopped by what the
// installer's machine does to it: a disk that fills up half-way, and Ctrl+C or
// a kill while it runs. Each ends without a file, whole or partial.
#include "tds/stand_in_fixture.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>

#include <csignal>

using namespace kvet;
using namespace kvet::testing;

namespace {

class ExportStopped : public StandInTest {
protected:
    void SetUp() override
    {
        StandInTest::SetUp();
        if (!server)
            return;
        program = QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("kvet-check"));
        if (!QFileInfo::exists(program))
            GTEST_SKIP() << "kvet-check is not built beside the tests";
        ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("out")));
        QFile ini(dir.filePath(QStringLiteral("kvet.ini")));
        ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
        ini.write(QStringLiteral("[option]\nmydata=sfdb\nmy=127.0.0.1,%1\nuser=sa\npassword=c2VjcmV0\n")
                      .arg(server->port())
                      .toUtf8());
    }
    QString out() const { return dir.filePath(QStringLiteral("out")); }
    QString target() const { return dir.filePath(QStringLiteral("out/hall.db")); }
    QStringList leftOver() const { return QDir(out()).entryList(QDir::Files | QDir::Hidden); }
    QStringList exportArguments() const
    {
        return {dir.filePath(QStringLiteral("kvet.ini")), QStringLiteral("--export"), target()};
    }

    QTemporaryDir dir;
    QString program;
};

// A tmpfs of its own, mounted over the output folder in a mount namespace
// that lives as long as the shell: it lists what the export left on that disk
// before the namespace, and the disk with it, goes away.
TEST_F(ExportStopped, AFullDiskEndsWithItsOwnMessageAndNoFile)
{
    const QString unshare = QStandardPaths::findExecutable(QStringLiteral("unshare"));
    if (unshare.isEmpty())
        GTEST_SKIP() << "needs unshare(1) for a small file system of the test's own";
    if (QProcess::execute(unshare, {QStringLiteral("-rm"), QStringLiteral("true")}) != 0)
        GTEST_SKIP() << "no mount namespace can be made here (unshare -rm)";
    const QString listing = dir.filePath(QStringLiteral("listing.txt"));
    for (const char* size : {"64k", "1m"}) {
        QProcess p;
        p.setProgram(unshare);
        p.setArguments({QStringLiteral("-rm"), QStringLiteral("sh"), QStringLiteral("-c"),
                        QStringLiteral("mount -t tmpfs -o size=%1 kvet-full \"$1\" || exit 99; "
                                       "\"$2\" \"$3\" --export \"$1/hall.db\"; rc=$?; ls -A \"$1\" > \"$4\"; exit $rc")
                            .arg(QLatin1String(size)),
                        QStringLiteral("sh"), out(), program, dir.filePath(QStringLiteral("kvet.ini")), listing});
        p.start();
        ASSERT_TRUE(p.waitForFinished(120000));
        const QString report = QString::fromUtf8(p.readAllStandardOutput() + p.readAllStandardError());
        if (p.exitCode() == 99)
            GTEST_SKIP() << "no tmpfs can be mounted here: " << qPrintable(report);
        EXPECT_EQ(p.exitCode(), 1) << size << qPrintable(report);
        EXPECT_TRUE(report.contains(QStringLiteral("磁盘已满"))) << size << qPrintable(report);
        EXPECT_TRUE(report.contains(QStringLiteral("没有留下文件"))) << size << qPrintable(report);
        QFile list(listing);
        ASSERT_TRUE(list.open(QIODevice::ReadOnly)) << size;
        EXPECT_EQ(list.readAll().trimmed(), QByteArray()) << size << " left on the full disk";
        list.close();
        QFile::remove(listing);
    }
    EXPECT_TRUE(leftOver().isEmpty()) << qPrintable(leftOver().join(u' '));
}

// Stopped once rows are being written: the partial file is there and grows.
TEST_F(ExportStopped, AnInterruptOrAKillLeavesNoPartialFile)
{
    server->setDelayMs(150); // every answer, so that the export lasts
    for (const int signal : {SIGINT, SIGTERM}) {
        QProcess p;
        p.setProgram(program);
        p.setArguments(exportArguments());
        // As from a terminal, whatever this test was started from: a
        // background job's children would ignore SIGINT.
        p.setChildProcessModifier([] {
            std::signal(SIGINT, SIG_DFL);
            std::signal(SIGTERM, SIG_DFL);
        });
        p.start();
        ASSERT_TRUE(p.waitForStarted());
        const QDeadlineTimer deadline(60000);
        bool writing = false;
        while (!writing && !deadline.hasExpired() && p.state() == QProcess::Running) {
            for (const QFileInfo& f : QDir(out()).entryInfoList(QDir::Files))
                writing = writing || (f.fileName().endsWith(QStringLiteral(".partial")) && f.size() > 0);
            if (!writing)
                QThread::msleep(5);
        }
        ASSERT_TRUE(writing) << "signal " << signal << ": the export never began writing";
        ASSERT_EQ(::kill(pid_t(p.processId()), signal), 0);
        ASSERT_TRUE(p.waitForFinished(30000));
        EXPECT_EQ(p.exitStatus(), QProcess::CrashExit) << "signal " << signal;
        EXPECT_TRUE(leftOver().isEmpty()) << "signal " << signal << ": " << qPrintable(leftOver().join(u' '));
    }
}

} // namespace
