// The whole dashboard on the embedded demo database, as the hall would see it.
#include "app/main_window.h"
#include "app/snapshot.h"
#include "data/sqlite/demo_database.h"
#include "screen/panel.h"
#include "screen/ticker_grid.h"

#include <QCoreApplication>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace kvet;

namespace {

std::unique_ptr<TForm1> demoWindow(bool withViews, QStringList* boxes = nullptr)
{
    WindowOptions o;
    o.readSettingsFile = false;
    o.errorBox = [boxes](const QString& m) {
        if (boxes)
            *boxes << m;
    };
    return std::make_unique<TForm1>(createDemoBackend(QDateTime::currentDateTime(), withViews), o);
}

std::size_t points(TForm1& f, int chart, int series = 0)
{
    return f.chart(chart).series(series).points().size();
}

TEST(DemoDashboard, OneFirstFullRefreshFillsEveryChartAndTheTicker)
{
    QStringList boxes;
    auto form = demoWindow(true, &boxes);
    form->scheduler().Timer4Timer();
    EXPECT_EQ(form->banner().caption(), sqlite::demoUtilityName() + QStringLiteral("营业收费指标"));
    form->scheduler().Timer2Timer();

    const int month = QDate::currentDate().month();
    EXPECT_EQ(points(*form, 1), 10u); // every channel label occurs in the sample
    EXPECT_EQ(points(*form, 2), std::size_t(month));
    EXPECT_GT(points(*form, 3), 5u);
    EXPECT_EQ(points(*form, 4, 0), std::size_t(month));
    EXPECT_EQ(points(*form, 4, 1), std::size_t(month));
    EXPECT_GE(points(*form, 5), 3u);
    EXPECT_EQ(points(*form, 6), 2u);
    for (const auto& p : form->chart(5).series(0).points())
        EXPECT_GT(p.value, 100.0);
    for (int row = 0; row < 15; ++row)
        EXPECT_FALSE(form->grid().cell(0, row).isEmpty()) << row;
    EXPECT_FALSE(form->connection().connected());
    EXPECT_TRUE(boxes.isEmpty());
}

TEST(DemoDashboard, WithoutViewsTheFirstBatchRepairsAndTheNextFillsEverything)
{
    auto form = demoWindow(false);
    form->scheduler().Timer4Timer();
    form->scheduler().Timer2Timer();
    EXPECT_EQ(form->chart(1).titleLines(), QStringList{"近30天缴费渠道占比"});
    EXPECT_EQ(points(*form, 1), 0u);
    EXPECT_EQ(points(*form, 5), 0u);
    EXPECT_EQ(form->chart(2).titleLines(), QStringList{"月度收费情况"}); // kept as it was
    EXPECT_EQ(points(*form, 2), 0u);
    EXPECT_EQ(points(*form, 4), std::size_t(QDate::currentDate().month())); // re-run in the same call
    EXPECT_GT(points(*form, 3), 0u);
    EXPECT_EQ(points(*form, 6), 2u);

    form->scheduler().Timer3Timer();
    EXPECT_EQ(points(*form, 1), 10u);
    EXPECT_GE(points(*form, 5), 3u);
    EXPECT_EQ(points(*form, 2), std::size_t(QDate::currentDate().month()));
}

TEST(DemoDashboard, TheDemoProgramWritesASnapshotAfterTheFirstRefresh)
{
    const QString program = QCoreApplication::applicationDirPath() + "/kvet-demo";
    if (!QFile::exists(program))
        GTEST_SKIP() << "kvet-demo not built";
    QTemporaryDir dir;
    const QString json = dir.filePath("screen.json");
    const QString png = dir.filePath("screen.png");
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    p.setProcessEnvironment(env);
    p.start(program, {"--without-views", "--snapshot", json, "--screenshot", png});
    ASSERT_TRUE(p.waitForFinished(60000));
    EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();

    QFile f(json);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    QJsonParseError error;
    const QJsonObject root = QJsonDocument::fromJson(f.readAll(), &error).object();
    ASSERT_EQ(error.error, QJsonParseError::NoError);
    EXPECT_TRUE(root["banner"].toString().endsWith(QStringLiteral("营业收费指标")));
    EXPECT_EQ(root["grid"].toArray().size(), 15);
    EXPECT_EQ(root["grid"].toArray()[0].toArray().size(), 7);
    const QJsonObject charts = root["charts"].toObject();
    EXPECT_EQ(charts.size(), 6);
    EXPECT_TRUE(charts["Chart1"]["series"]["PieSeries1"].toArray().isEmpty());
    const QJsonArray unpaid = charts["Chart4"]["series"]["Series6"].toArray();
    ASSERT_FALSE(unpaid.isEmpty());
    EXPECT_TRUE(unpaid[0].toObject()["label"].toString().startsWith(QStringLiteral("未交\r")));
    EXPECT_EQ(unpaid[0].toObject()["color"].toString(), QStringLiteral("#FFFF00"));
    EXPECT_TRUE(QFile::exists(png));
}

TEST(DemoOptionsLine, UnknownOptionsAreRefusedWithUsage)
{
    const QString program = QCoreApplication::applicationDirPath() + "/kvet-demo";
    if (!QFile::exists(program))
        GTEST_SKIP() << "kvet-demo not built";
    QProcess p;
    p.start(program, {"--snapshot"});
    ASSERT_TRUE(p.waitForFinished(20000));
    EXPECT_EQ(p.exitCode(), 2);
    EXPECT_TRUE(p.readAllStandardError().contains("needs a file name"));
}

} // namespace
