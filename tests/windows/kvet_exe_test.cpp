// kvet.exe under Wine against the TDS stand-in through Wine's ODBC, which
// hands the calls to unixODBC and FreeTDS registered under the Windows
// driver names: the screen fills, a server that is down at start is waited
// for, a second kvet.exe ends at once.
#include "data/dashboard_sql.h"
#include "windows/windows_stand_in.h"
#include "support/wait_for.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QSet>
#include <QThread>

using namespace kvet;
using namespace kvet::testing;

namespace {

int coloursIn(const QImage& image, const QRect& area)
{
    QSet<QRgb> seen;
    for (int y = area.top(); y <= area.bottom(); y += 2)
        for (int x = area.left(); x <= area.right(); x += 2)
            seen.insert(image.pixel(x, y));
    return int(seen.size());
}

class KvetExe : public WindowsStandInTest {
protected:
    void SetUp() override
    {
        WindowsStandInTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        ASSERT_TRUE(server->start());
        kvet = copied(QStringLiteral("kvet.exe"));
        writeIni(utf16WithBom(QStringLiteral("[option]\r\nmydata=sfdb\r\nmy=127.0.0.1,%1\r\nuser=sa\r\n"
                                             "password=c2VjcmV0\r\n")
                                  .arg(server->port())));
    }

    QProcess* startKvet() { return wine->start(windowsPath(kvet), {}, dir.path()); }

    // Every statement of the screen reached the server: the probe, the six
    // charts' and the ticker's.
    bool screenFilled(int ms)
    {
        const QStringList wanted{
            QString::fromUtf8(statements::kProbe),          QString::fromUtf8(statements::kPaymentChannels),
            QString::fromUtf8(statements::kWaterUseCategories), QString::fromUtf8(statements::kReadingStatus),
            QString::fromUtf8(statements::kYearlyCharges),  QString::fromUtf8(statements::kFeeRecovery),
            QStringLiteral("top 15")};
        return waitFor(
            [&] {
                const QString sent = server->batches().join(u'\n');
                return std::all_of(wanted.begin(), wanted.end(), [&](const QString& s) { return sent.contains(s); });
            },
            ms);
    }

    QString kvet;
};

TEST_F(KvetExe, FillsTheScreenThroughTheSqlServerDriverAndStaysTheOnlyOne)
{
    const QImage blank = wine->screenshot();
    ASSERT_FALSE(blank.isNull());
    QProcess* running = startKvet();
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
    const WineRun second = wine->run(windowsPath(kvet), {}, 30000, dir.path());
    EXPECT_TRUE(second.finished) << "the second kvet.exe did not end";
    // Keep-awake and the idle pointer run from the start; a pointer that stays
    // still for longer than the idle time must not upset the dashboard.
    QThread::msleep(12000);
    EXPECT_EQ(running->state(), QProcess::Running) << running->readAllStandardError().toStdString();
}

TEST_F(KvetExe, WaitsForAServerDownAtStartThroughOdbcDriver18)
{
    wine->registerDrivers({QStringLiteral("ODBC Driver 18 for SQL Server")});
    const int port = server->port();
    server->stop();
    QProcess* running = startKvet();
    QThread::msleep(8000);
    EXPECT_EQ(running->state(), QProcess::Running);
    EXPECT_TRUE(server->batches().isEmpty());
    ASSERT_TRUE(server->start(port));
    ASSERT_TRUE(screenFilled(90000)) << server->batches().join(u'\n').toStdString();
    EXPECT_EQ(running->state(), QProcess::Running);
}

} // namespace
