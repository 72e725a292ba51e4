// The kvet program itself, with a kvet.ini beside it pointing at the
// stand-in, on an X server (Xvfb): the banner, the six charts and the ticker
// fill from the server, with every statement answered.
#include "data/dashboard_sql.h"
#include "tds/stand_in_fixture.h"
#include "support/wait_for.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QSet>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>

using namespace kvet;
using namespace kvet::testing;

namespace {

class KvetProgram : public StandInTest {
protected:
    void SetUp() override
    {
        StandInTest::SetUp();
        if (!server)
            return;
        const QString built = QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("kvet"));
        xvfbProgram = QStandardPaths::findExecutable(QStringLiteral("Xvfb"));
        importProgram = QStandardPaths::findExecutable(QStringLiteral("import"));
        if (!QFileInfo::exists(built) || xvfbProgram.isEmpty() || importProgram.isEmpty())
            GTEST_SKIP() << "needs kvet built beside the tests, Xvfb and ImageMagick's import";
        kvet = dir.filePath(QStringLiteral("kvet"));
        ASSERT_TRUE(QFile::copy(built, kvet));
        QFile ini(dir.filePath(QStringLiteral("kvet.ini")));
        ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
        ini.write(QStringLiteral("[option]\nmydata=sfdb\nmy=127.0.0.1,%1\nuser=sa\npassword=c2VjcmV0\n")
                      .arg(server->port())
                      .toUtf8());
        ini.close();
        xvfb.setProgram(xvfbProgram);
        xvfb.setArguments({QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-nolisten"),
                           QStringLiteral("tcp"), QStringLiteral("-screen"), QStringLiteral("0"),
                           QStringLiteral("1280x720x24")});
        xvfb.start();
        ASSERT_TRUE(xvfb.waitForStarted());
        QDeadlineTimer deadline(10000);
        while (!xvfb.canReadLine() && xvfb.state() != QProcess::NotRunning && !deadline.hasExpired())
            xvfb.waitForReadyRead(100);
        display = QStringLiteral(":") + QString::fromLatin1(xvfb.readLine().trimmed());
        if (display == QStringLiteral(":"))
            GTEST_SKIP() << "Xvfb did not start";
        env.insert(QStringLiteral("DISPLAY"), display);
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), dir.path());
        env.remove(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"));
    }

    void TearDown() override
    {
        for (QProcess* p : {&program, &xvfb}) {
            if (p->state() != QProcess::NotRunning) {
                p->terminate();
                if (!p->waitForFinished(5000)) {
                    p->kill();
                    p->waitForFinished(5000);
                }
            }
        }
    }

    QImage screenshot()
    {
        const QString file = dir.filePath(QStringLiteral("screen.png"));
        QProcess import;
        import.start(importProgram, {QStringLiteral("-display"), display, QStringLiteral("-window"),
                                     QStringLiteral("root"), file});
        if (!import.waitForFinished(20000))
            return {};
        return QImage(file);
    }

    // Distinct colours in a rectangle of the screen: an empty chart has its
    // background, frame and title only; a filled one has its series' colours
    // and their anti-aliased edges.
    static int colours(const QImage& image, const QRect& area)
    {
        QSet<QRgb> seen;
        for (int y = area.top(); y <= area.bottom(); y += 2)
            for (int x = area.left(); x <= area.right(); x += 2)
                seen.insert(image.pixel(x, y));
        return int(seen.size());
    }

    QTemporaryDir dir;
    QString kvet, xvfbProgram, importProgram, display;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    QProcess xvfb, program;
};

TEST_F(KvetProgram, ShowsBannerChartsAndTickerFromTheServer)
{
    // An empty screen first, for comparison.
    const QImage blank = screenshot();
    ASSERT_FALSE(blank.isNull());

    program.setProcessEnvironment(env);
    program.start(kvet, {});
    ASSERT_TRUE(program.waitForStarted());
    const QStringList wanted{QString::fromUtf8(statements::kProbe), QString::fromUtf8(statements::kPaymentChannels),
                             QString::fromUtf8(statements::kWaterUseCategories),
                             QString::fromUtf8(statements::kReadingStatus), QString::fromUtf8(statements::kYearlyCharges),
                             QString::fromUtf8(statements::kFeeRecovery), QStringLiteral("top 15")};
    auto allSent = [&] {
        const QString sent = server->batches().join(u'\n');
        return std::all_of(wanted.begin(), wanted.end(), [&](const QString& s) { return sent.contains(s); });
    };
    ASSERT_TRUE(waitFor(allSent, 30000)) << server->batches().join(u'\n').toStdString()
                                         << program.readAllStandardError().toStdString();
    QThread::msleep(1500); // the last answers drawn
    const QImage screen = screenshot();
    ASSERT_FALSE(screen.isNull());
    screen.save(QStringLiteral("tds_kvet_screen.png"));
    EXPECT_EQ(program.state(), QProcess::Running);

    // Banner (top strip), the chart area (middle) and the ticker (bottom third).
    const int w = screen.width(), h = screen.height();
    const QRect banner(0, 0, w, h / 12);
    const QRect charts(0, h / 12, w, h / 2);
    const QRect ticker(0, h * 2 / 3, w, h / 3 - 1);
    for (const QRect& area : {banner, charts, ticker})
        EXPECT_GT(colours(screen, area), colours(blank, area) + 8)
            << area.x() << "," << area.y() << " " << area.width() << "x" << area.height();
}

} // namespace
