// kvet-check against the stand-in, as the installer would run it against the
// utility's SQL Server through FreeTDS.
#include "check/check_run.h"
#include "check/check_statements.h"
#include "tds/stand_in_fixture.h"

#include <QFile>
#include <QTemporaryDir>

using namespace kvet;
using namespace kvet::check;
using namespace kvet::testing;

namespace {

class KvetCheckOnTheWire : public StandInTest {
protected:
    Report check(const QString& user, const QString& password, const QString& database, bool createViews = false)
    {
        QFile ini(dir.filePath(QStringLiteral("kvet.ini")));
        EXPECT_TRUE(ini.open(QIODevice::WriteOnly));
        ini.write(QStringLiteral("[option]\nmydata=%1\nmy=127.0.0.1,%2\nuser=%3\npassword=%4\n")
                      .arg(database)
                      .arg(server->port())
                      .arg(user, QString::fromLatin1(password.toUtf8().toBase64()))
                      .toUtf8());
        ini.close();
        Report report;
        CheckOptions o;
        o.settingsPath = ini.fileName();
        o.createViews = createViews;
        runCheck(o, report);
        return report;
    }
    static bool has(const Report& r, Verdict verdict, const QString& text)
    {
        for (const Finding& f : r.findings())
            if (f.verdict == verdict && f.text.contains(text))
                return true;
        return false;
    }
    QTemporaryDir dir;
};

TEST_F(KvetCheckOnTheWire, EveryLineAsForARealServer)
{
    const Report r = check(QStringLiteral("sa"), QStringLiteral("secret"), QStringLiteral("sfdb"));
    EXPECT_TRUE(r.allWell()) << qPrintable(r.text());
    EXPECT_TRUE(has(r, Verdict::Info, QStringLiteral("SQL Server 15.0.2000.5"))) << qPrintable(r.text());
    EXPECT_TRUE(has(r, Verdict::Info, QStringLiteral("Chinese_PRC_CI_AS")) || has(r, Verdict::Ok, QStringLiteral("Chinese_PRC_CI_AS")))
        << qPrintable(r.text());
    for (const DashboardStatement& s : dashboardStatements()) {
        const QString prefix = QStringLiteral("%1（%2）：").arg(s.title, s.queryName);
        EXPECT_TRUE(has(r, Verdict::Ok, prefix + QString())) << qPrintable(prefix);
    }
    EXPECT_TRUE(r.text().contains(QStringLiteral(" 行；第一行："))) << qPrintable(r.text());
}

TEST_F(KvetCheckOnTheWire, MissingViewCreatedOnRequestAndPermissionReported)
{
    server->runner().sql(QStringLiteral("drop view V_W_dsj_jfqd"));
    Report r = check(QStringLiteral("sa"), QStringLiteral("secret"), QStringLiteral("sfdb"));
    EXPECT_FALSE(r.allWell());
    EXPECT_TRUE(r.text().contains(QStringLiteral("V_W_dsj_jfqd"))) << qPrintable(r.text());
    r = check(QStringLiteral("sa"), QStringLiteral("secret"), QStringLiteral("sfdb"), true);
    EXPECT_TRUE(r.allWell()) << qPrintable(r.text());
    r = check(QStringLiteral("sa"), QStringLiteral("secret"), QStringLiteral("sfdb"));
    EXPECT_TRUE(r.allWell()) << qPrintable(r.text());

    server->runner().sql(QStringLiteral("drop view V_W_dsj_jfqd"));
    server->runner().setCreateViewDenied(true);
    r = check(QStringLiteral("sa"), QStringLiteral("secret"), QStringLiteral("sfdb"), true);
    EXPECT_FALSE(r.allWell());
    EXPECT_TRUE(r.text().contains(QStringLiteral("CREATE VIEW"))) << qPrintable(r.text());
}

TEST_F(KvetCheckOnTheWire, EachRefusedLoginGetsItsOwnHint)
{
    Report r = check(QStringLiteral("sa"), QStringLiteral("wrong"), QStringLiteral("sfdb"));
    EXPECT_FALSE(r.allWell());
    EXPECT_TRUE(has(r, Verdict::Error, QStringLiteral("Login failed for user 'sa'"))) << qPrintable(r.text());
    EXPECT_TRUE(has(r, Verdict::Hint, QStringLiteral("登录名“sa”被拒绝"))) << qPrintable(r.text());

    r = check(QStringLiteral("sa"), QStringLiteral("secret"), QStringLiteral("nodb"));
    EXPECT_TRUE(has(r, Verdict::Error, QStringLiteral("Cannot open database \"nodb\""))) << qPrintable(r.text());
    EXPECT_TRUE(has(r, Verdict::Hint, QStringLiteral("打不开数据库“nodb”"))) << qPrintable(r.text());
    EXPECT_FALSE(has(r, Verdict::Hint, QStringLiteral("被拒绝"))) << qPrintable(r.text());
}

} // namespace
