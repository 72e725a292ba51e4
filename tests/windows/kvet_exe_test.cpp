// kvet.exe under Wine against the TDS stand-in through Wine's ODBC, which
// hands the calls to unixODBC and FreeTDS registered under the Windows
// driver names: the screen fills, a server that is down at start is waited
// for, a second kvet.exe ends at once.
#include "data/dashboard_sql.h"
#include "tds/stand_in_fixture.h"
#include "windows/wine_session.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QSet>
#include <QThread>

using namespace kvet;
using namespace kvet::testing;

namespace {

bool waitUntil(const std::function<bool()>& done, int ms)
{
    const QDeadlineTimer deadline(ms);
    while (!done() && !deadline.hasExpired())
        QThread::msleep(100);
    return done();
}

// kvet.ini as Windows' profile API reads it: UTF-16LE with a byte-order mark.
QByteArray utf16Ini(const QString& text)
{
    QString crlf = text;
    crlf.replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
    QByteArray bytes("\xFF\xFE");
    bytes.append(reinterpret_cast<const char*>(crlf.utf16()), crlf.size() * 2);
    return bytes;
}

int coloursIn(const QImage& image, const QRect& area)
{
    QSet<QRgb> seen;
    for (int y = area.top(); y <= area.bottom(); y += 2)
        for (int x = area.left(); x <= area.right(); x += 2)
            seen.insert(image.pixel(x, y));
    return int(seen.size());
}

class KvetExe : public WindowsTest {
protected:
    void SetUp() override
    {
        WindowsTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        server = std::make_unique<tds::TdsStandIn>(sampleCopy());
        ASSERT_TRUE(server->start());
        ASSERT_TRUE(QFile::copy(program(QStringLiteral("kvet.exe")), dir.filePath(QStringLiteral("kvet.exe"))));
        QFile ini(dir.filePath(QStringLiteral("kvet.ini")));
        ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
        ini.write(utf16Ini(QStringLiteral("[option]\nmydata=sfdb\nmy=127.0.0.1,%1\nuser=sa\npassword=c2VjcmV0\n")
                               .arg(server->port())));
    }

    void TearDown() override
    {
        WindowsTest::TearDown();
        server.reset();
    }

    QProcess* startKvet() { return wine->start(windowsPath(dir.filePath(QStringLiteral("kvet.exe"))), {}, dir.path()); }

    // Every statement of the screen reached the server: the probe, the six
    // charts' and the ticker's.
    bool screenFilled(int ms)
    {
        const QStringList wanted{
            QString::fromUtf8(statements::kProbe),          QString::fromUtf8(statements::kPaymentChannels),
            QString::fromUtf8(statements::kWaterUseCategories), QString::fromUtf8(statements::kReadingStatus),
            QString::fromUtf8(statements::kYearlyCharges),  QString::fromUtf8(statements::kFeeRecovery),
            QStringLiteral("top 15")};
        return waitUntil(
            [&] {
                const QString sent = server->batches().join(u'\n');
                return std::all_of(wanted.begin(), wanted.end(), [&](const QString& s) { return sent.contains(s); });
            },
            ms);
    }

    QTemporaryDir dir;
    std::unique_ptr<tds::TdsStandIn> server;
};

TEST_F(KvetExe, FillsTheScreenThroughTheSqlServerDriverAndStaysTheOnlyOne)
{
    const QImage blank = wine->screenshot();
    ASSERT_FALSE(blank.isNull());
    QProcess* kvet = startKvet();
    ASSERT_TRUE(screenFilled(90000)) << server->batches().join(u'\n').toStdString();
    ASSERT_FALSE(server->logins().empty());
    EXPECT_EQ(server->logins().front().userName, QStringLiteral("sa"));
    EXPECT_EQ(server->logins().front().database, QStringLiteral("sfdb"));
    QThread::msleep(3000); // the last answers drawn
    const QImage screen = wine->screenshot();
    ASSERT_FALSE(screen.isNull());
    ASSERT_EQ(screen.size(), QSize(1920, 1080));
    screen.save(QStringLiteral("windows_kvet_screen.png"));

    // Banner (top strip), the six charts (middle) and the ticker (bottom).
    const QRect banner(0, 0, 1920, 80);
    const QRect charts(0, 100, 1920, 500);
    const QRect ticker(0, 760, 1920, 300);
    for (const QRect& area : {banner, charts, ticker})
        EXPECT_GT(coloursIn(screen, area), coloursIn(blank, area) + 8)
            << area.x() << "," << area.y() << " " << area.width() << "x" << area.height();

    // A second start (the autostart plus a start by hand) ends at once and
    // leaves the first one running.
    const WineRun second = wine->run(windowsPath(dir.filePath(QStringLiteral("kvet.exe"))), {}, 30000, dir.path());
    EXPECT_TRUE(second.finished) << "the second kvet.exe did not end";
    // Keep-awake and the idle pointer run from the start; a pointer that stays
    // still for longer than the idle time must not upset the dashboard.
    QThread::msleep(12000);
    EXPECT_EQ(kvet->state(), QProcess::Running) << kvet->readAllStandardError().toStdString();
}

TEST_F(KvetExe, WaitsForAServerDownAtStartThroughOdbcDriver18)
{
    wine->registerDrivers({QStringLiteral("ODBC Driver 18 for SQL Server")});
    const int port = server->port();
    server->stop();
    QProcess* kvet = startKvet();
    QThread::msleep(8000);
    EXPECT_EQ(kvet->state(), QProcess::Running);
    EXPECT_TRUE(server->batches().isEmpty());
    ASSERT_TRUE(server->start(port));
    ASSERT_TRUE(screenFilled(90000)) << server->batches().join(u'\n').toStdString();
    EXPECT_EQ(kvet->state(), QProcess::Running);
}

} // namespace
