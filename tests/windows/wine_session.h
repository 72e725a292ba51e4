#pragma once
// The Windows programs built by scripts/build-windows.sh, run under Wine on a
// virtual screen of their own: a 64-bit Wine prefix made once for the build
// folder (Chinese locale, code page 936; Arial, 黑体 and 宋体 mapped to
// metric-compatible faces; no crash dialog), FreeTDS registered under the
// Windows driver names for Wine's ODBC, which hands every call to unixODBC.
//
// Every Wine call is bounded in time, and a session ends every Wine process
// of its prefix when it goes. Wine's exit codes are not to be trusted: tests
// check files, output and the stand-in's record instead.
#include <QImage>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

namespace kvet::testing {

// build-windows/dist of this tree, where the Windows programs are.
QString windowsDist();

// The path under which Wine's programs see a Linux path (drive Z:).
QString windowsPath(const QString& linuxPath);

// Text as Windows' own Unicode files hold it: UTF-16LE after a byte-order
// mark (the form kvet.ini is written in by the installer).
QByteArray utf16WithBom(const QString& text);

struct WineRun {
    bool finished = false; // false: ended by the time limit
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

class WineSession {
public:
    // ownPrefix: a private copy of the prefix, for tests that install into
    // it; otherwise the build folder's shared prefix.
    explicit WineSession(bool ownPrefix = false);
    ~WineSession();
    WineSession(const WineSession&) = delete;
    WineSession& operator=(const WineSession&) = delete;

    // Empty when ready; else why not (a test skips or fails with it).
    const QString& problem() const { return problem_; }
    const QString& prefix() const { return prefix_; }
    const QString& display() const { return display_; }
    QProcessEnvironment environment() const { return env_; }

    // The ODBC drivers Wine's driver manager lists, each the FreeTDS driver
    // under a Windows name ("SQL Server", "ODBC Driver 18 for SQL Server").
    void registerDrivers(const QStringList& windowsNames);

    // Runs `wine program args...` to its end or for at most timeoutMs.
    WineRun run(const QString& program, const QStringList& args, int timeoutMs,
                const QString& workDir = {}, const QByteArray& input = {});
    // Starts it and leaves it running (ended with the session at the latest).
    QProcess* start(const QString& program, const QStringList& args, const QString& workDir = {});

    // The virtual screen as it is now.
    QImage screenshot();
    // Ends every Wine process of the prefix and waits for that.
    void endWine();

private:
    QString problem_;
    QString prefix_;
    QString display_;
    QProcessEnvironment env_;
    QTemporaryDir scratch_;
    QProcess xvfb_;
    std::vector<std::unique_ptr<QProcess>> started_;
};

// A test of the Windows programs: skipped when the Windows build is not
// there, unless KVET_REQUIRE_WINDOWS=1 (the test command sets it), then failed.
class WindowsTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    virtual bool ownPrefix() const { return false; }
    // dist/NAME
    static QString program(const QString& name);

    std::unique_ptr<WineSession> wine;
};

} // namespace kvet::testing
