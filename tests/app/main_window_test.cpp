// The window as a whole on a scripted database: creation, settings, the
// double-click rules, the layout applied to the widgets and a full refresh.
#include "app/main_window.h"
#include "chart/chart_widget.h"
#include "data/failure.h"
#include "screen/panel.h"
#include "screen/ticker_grid.h"
#include "support/scripted_backend.h"

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace kvet;
using kvet::testing::Script;
using kvet::testing::ScriptedBackend;
using kvet::testing::table;

namespace {

struct Window : ::testing::Test {
    std::shared_ptr<Script> script = std::make_shared<Script>();
    QTemporaryDir dir;
    QStringList boxes;

    std::unique_ptr<TForm1> make(const QByteArray& ini = {})
    {
        const QString path = dir.filePath("kvet.ini");
        if (!ini.isNull()) {
            QFile f(path);
            EXPECT_TRUE(f.open(QIODevice::WriteOnly));
            f.write(ini);
        }
        WindowOptions o;
        o.settingsPath = path;
        o.errorBox = [this](const QString& m) { boxes << m; };
        return std::make_unique<TForm1>(std::make_unique<ScriptedBackend>(script), o);
    }

    static void doubleClick(QWidget* w)
    {
        const QPointF at(w->width() / 2.0, w->height() / 2.0);
        QMouseEvent e(QEvent::MouseButtonDblClick, at, w->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
        QApplication::sendEvent(w, &e);
    }
};

TEST_F(Window, CreationReadsTheSettingsButNeverTouchesTheDatabase)
{
    auto form = make("[option]\nmydata=billing\nmy=db1\nuser=kv\npassword=c2VjcmV0\n");
    EXPECT_TRUE(script->calls.isEmpty());
    EXPECT_EQ(form->connection().connectionString(),
              "Provider=SQLOLEDB.1;Password=secret;Persist Security Info=True;User ID=kv;Initial Catalog=billing;"
              "Data Source=db1;Use Procedure for Prepare=1;Auto Translate=True;Packet Size=4096;Workstation ID=db1;"
              "Use Encryption for Data=False;Tag with column collation when possible=False");
    EXPECT_EQ(form->windowTitle(), QStringLiteral("营业收费大屏"));
    EXPECT_TRUE(form->windowFlags() & Qt::FramelessWindowHint);
    EXPECT_EQ(form->banner().caption(), QStringLiteral("营业收费系统指标"));
    EXPECT_TRUE(boxes.isEmpty());
}

TEST_F(Window, NoSettingsFileGivesEmptyValuesAndNoMessage)
{
    auto form = make();
    EXPECT_TRUE(form->connection().connectionString().startsWith("Provider=SQLOLEDB.1;Password=;Persist"));
    EXPECT_TRUE(boxes.isEmpty());
}

TEST_F(Window, APasswordThatIsNotUtf8ShowsOneBoxAndLeavesTheConnectionStringEmpty)
{
    auto form = make("[option]\nmy=db1\npassword=//79\n"); // bytes FF FE FD
    ASSERT_EQ(boxes.size(), 1);
    EXPECT_EQ(boxes[0], QStringLiteral("No mapping for the Unicode character exists in the target multi-byte code page."));
    EXPECT_TRUE(form->connection().connectionString().isEmpty());
}

TEST_F(Window, AFurtherUncaughtFailureWhileTheBoxIsOpenGoesToTheStatusCell)
{
    auto form = make();
    TForm1* f = form.get();
    WindowOptions o;
    QStringList shown;
    // Reproduce a box that, while open, sees another uncaught failure.
    auto nested = std::make_unique<TForm1>(std::make_unique<ScriptedBackend>(script), [&] {
        WindowOptions w;
        w.readSettingsFile = false;
        w.errorBox = [&](const QString& m) {
            shown << m;
            if (shown.size() == 1)
                f->showUncaught("ignored"); // a different window: shows its own box
        };
        return w;
    }());
    nested->showUncaught(QStringLiteral("first"));
    nested->showUncaught(QStringLiteral("second"));
    EXPECT_EQ(shown, QStringList({"first.", "second."}));

    WindowOptions w2;
    w2.readSettingsFile = false;
    TForm1* self = nullptr;
    w2.errorBox = [&](const QString& m) {
        shown << m;
        self->showUncaught(QStringLiteral("während"));
    };
    TForm1 reentrant(std::make_unique<ScriptedBackend>(script), w2);
    self = &reentrant;
    reentrant.showUncaught(QStringLiteral("outer"));
    EXPECT_EQ(shown.back(), QStringLiteral("outer."));
    EXPECT_EQ(reentrant.grid().cell(0, 0), QStringLiteral("während"));
}

TEST_F(Window, DoubleClickOnTheBannerClosesOnAChartOrTheGridItDoesNot)
{
    auto form = make();
    form->resize(1366, 768);
    form->show();
    doubleClick(&form->chartWidget(3));
    doubleClick(&form->grid());
    doubleClick(&form->headingStrip());
    EXPECT_TRUE(form->isVisible());
    doubleClick(&form->banner());
    EXPECT_FALSE(form->isVisible());
    EXPECT_FALSE(form->scheduler().timer1().isActive());
}

TEST_F(Window, TheLayoutPlacesEveryRegion)
{
    auto form = make();
    form->resize(1920, 1080);
    form->show();
    if (form->dpiScale() != 1.0)
        GTEST_SKIP() << "the figures below are for 96 dpi";
    EXPECT_EQ(form->chartWidget(1).geometry(), QRect(0, 61, 640, 360));
    EXPECT_EQ(form->chartWidget(5).geometry(), QRect(1282, 61, 640, 360));
    EXPECT_EQ(form->chartWidget(4).geometry(), QRect(641, 422, 640, 360));
    EXPECT_EQ(form->band().geometry(), QRect(0, 783, 1920, 297));
    EXPECT_EQ(form->headingStrip().geometry(), QRect(0, 0, 1920, 28));
    EXPECT_EQ(form->grid().geometry(), QRect(1, 297, 1919, 450));
    EXPECT_EQ(form->grid().defaultColumnWidth(), 274);
    const int lefts[] = {10, 284, 558, 872, 1146, 1380, 1654};
    for (int i = 0; i < 7; ++i)
        EXPECT_EQ(form->heading(i + 1).x(), lefts[i]);
    EXPECT_EQ(form->heading(1).y(), 5);
}

TEST_F(Window, ProbeThenFirstRefreshFillsEveryRegion)
{
    script->onRun = [](const QString& s) -> ResultSet {
        if (s.contains("sf_sb_"))
            return table({"zls", "help"}, {{QStringLiteral("清河县自来水公司"), Null{}}});
        if (s.contains("V_W_dsj_jfqd"))
            return table({"hj", "ren"}, {{std::int64_t(5), QStringLiteral("支付宝")}});
        if (s.contains("V_W_dsj_yslb"))
            return table({"数量", "用水类别"}, {{std::int64_t(500), QStringLiteral("居民生活")}});
        if (s.contains("V_W_dsj_jd1"))
            return table({"rq", "je"}, {{QStringLiteral("202612"), Decimal{"3.2"}}});
        if (s.contains("V_W_dsj_jd2"))
            return table({"jfsj", "sf", "tq"}, {{QStringLiteral("202612"), Decimal{"3"}, Decimal{"1"}}});
        if (s.contains("cbrq1"))
            return table({"cbrq1", "hj"}, {{QStringLiteral("261208"), std::int64_t(9)}});
        if (s.contains("lrzt=1 and cbch>0 UNION"))
            return table({"zt", "lr"}, {{QStringLiteral("已录入"), std::int64_t(9)}, {QStringLiteral("未录入"), std::int64_t(1)}});
        return table({"lsh", "tzh", "hm", "dz", "je", "ren", "rq"},
                     {{std::int64_t(77), QStringLiteral("0101"), QStringLiteral("李"), QStringLiteral("路"),
                       Decimal{"1"}, QStringLiteral("微信"), QDateTime(QDate(2026, 12, 8), QTime(8, 0))}});
    };
    auto form = make();
    form->scheduler().Timer4Timer();
    EXPECT_EQ(form->banner().caption(), QStringLiteral("清河县自来水公司营业收费指标"));
    EXPECT_TRUE(form->scheduler().timer2().isActive());
    form->scheduler().Timer2Timer();
    EXPECT_FALSE(form->connection().connected());
    EXPECT_EQ(form->chart(1).series(0).points().size(), 1u);
    EXPECT_EQ(form->chart(2).titleLines(), QStringList{"2026年度收费情况(单位:万元)"});
    EXPECT_EQ(form->chart(3).series(0).points()[0].label, QStringLiteral("8日"));
    EXPECT_EQ(form->chart(4).series(1).points()[0].label, QStringLiteral("未交\r12月"));
    EXPECT_EQ(form->chart(5).series(0).points()[0].label, QStringLiteral("居民生活"));
    EXPECT_EQ(form->chart(6).series(0).points().size(), 2u);
    EXPECT_EQ(form->grid().cell(0, 0), QStringLiteral("77"));
}

struct PaintCounter : QObject {
    int paints = 0;
    bool eventFilter(QObject*, QEvent* e) override
    {
        paints += e->type() == QEvent::Paint ? 1 : 0;
        return false;
    }
};

TEST_F(Window, ATickerStepRepaintsTheBandButNoChart)
{
    auto form = make();
    form->resize(1366, 768);
    form->show();
    for (int i = 0; i < 5; ++i)
        QCoreApplication::processEvents();
    PaintCounter charts, grid;
    for (int n = 1; n <= 6; ++n)
        form->chartWidget(n).installEventFilter(&charts);
    form->grid().installEventFilter(&grid);
    const int top = form->grid().y();
    for (int i = 0; i < 5; ++i) {
        form->scheduler().Timer1Timer();
        QCoreApplication::processEvents();
    }
    EXPECT_EQ(form->grid().y(), top - 5);
    EXPECT_EQ(charts.paints, 0);
    EXPECT_TRUE(script->calls.isEmpty()); // no refill in mid-pass
}

} // namespace
