// kvet-check as the installer runs it: a program, its report on stdout and
// its exit code, on the demo database and against a server that is not there.
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTcpServer>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

struct Outcome {
    int exitCode = -1;
    QString out;
    QString err;
    qint64 ms = 0;
};

QString programPath(const char* name)
{
    QString file = QString::fromLatin1(name);
#ifdef Q_OS_WIN
    file += QStringLiteral(".exe");
#endif
    return QDir(QCoreApplication::applicationDirPath()).filePath(file);
}

Outcome runCheck(const QStringList& arguments, const QByteArray& input = {})
{
    QProcess p;
    p.setProgram(programPath("kvet-check"));
    p.setArguments(arguments);
    QElapsedTimer clock;
    clock.start();
    p.start();
    if (!p.waitForStarted())
        return {};
    p.write(input);
    p.closeWriteChannel();
    const bool ended = p.waitForFinished(60000);
    Outcome o;
    o.ms = clock.elapsed();
    o.exitCode = ended && p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    o.out = QString::fromUtf8(p.readAllStandardOutput());
    o.err = QString::fromUtf8(p.readAllStandardError());
    return o;
}

class KvetCheckProgram : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!QFileInfo::exists(programPath("kvet-check")))
            GTEST_SKIP() << "kvet-check is not built beside the tests";
    }
};

TEST_F(KvetCheckProgram, OnTheDemoDatabaseEveryStatementIsListedAndAllIsWell)
{
    const Outcome o = runCheck({"--demo"});
    ASSERT_EQ(o.exitCode, 0) << qPrintable(o.out + o.err);
    for (const char* query : {"ADOQuery1", "ADOQuery3", "ADOQuery4", "ADOQuery5", "ADOQuery6", "ADOQuery7", "ADOQuery8"})
        EXPECT_TRUE(o.out.contains(QStringLiteral("（%1）：").arg(QString::fromLatin1(query)))) << query;
    EXPECT_EQ(o.out.count(QStringLiteral(" 行；第一行：")), 8) << qPrintable(o.out);
    EXPECT_TRUE(o.out.endsWith(QStringLiteral("[正常] 检查完成：一切正常\n")));
}

TEST_F(KvetCheckProgram, ADemoWithoutViewsFailsUntilCreateViewsCreatesThem)
{
    const Outcome missing = runCheck({"--demo", "--without-views"});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_EQ(missing.out.count(QStringLiteral("[警告] 视图 V_W_dsj_")), 4) << qPrintable(missing.out);
    EXPECT_EQ(missing.out.count(QStringLiteral("\n        CREATE VIEW [dbo].")), 4);

    const Outcome created = runCheck({"--demo", "--without-views", "--create-views"});
    EXPECT_EQ(created.exitCode, 0) << qPrintable(created.out);
    EXPECT_EQ(created.out.count(QStringLiteral("[正常] 已创建视图 V_W_dsj_")), 4);
}

TEST_F(KvetCheckProgram, ADeadServerGivesTheConnectionFailureAHintAndANonZeroExitQuickly)
{
    // A port that was just free: nothing listens on it.
    QTcpServer probe;
    ASSERT_TRUE(probe.listen(QHostAddress::LocalHost));
    const quint16 port = probe.serverPort();
    probe.close();

    QTemporaryDir dir;
    QFile ini(dir.filePath("kvet.ini"));
    ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
    ini.write(QStringLiteral("[option]\nmydata=billing\nmy=127.0.0.1,%1\nuser=kv\npassword=c2VjcmV0\n").arg(port).toUtf8());
    ini.close();

    const Outcome o = runCheck({ini.fileName()});
    if (!o.out.contains(QStringLiteral("选用的 ODBC 驱动：FreeTDS")))
        GTEST_SKIP() << "FreeTDS is not the SQL Server driver here";
    EXPECT_EQ(o.exitCode, 1);
    EXPECT_LT(o.ms, 20000);
    EXPECT_TRUE(o.out.contains(QStringLiteral("[错误] 连接失败（"))) << qPrintable(o.out);
    EXPECT_TRUE(o.out.contains(QStringLiteral("[提示] 连不上服务器“127.0.0.1,%1”").arg(port))) << qPrintable(o.out);
    EXPECT_TRUE(o.out.contains(QStringLiteral("Password=******;"))) << qPrintable(o.out);
    EXPECT_FALSE(o.out.contains(QStringLiteral("secret")));
}

TEST_F(KvetCheckProgram, EncodePasswordPrintsTheBase64OfTheLineTyped)
{
    const Outcome o = runCheck({"--encode-password"}, QStringLiteral("水务 pass;word\r\n").toUtf8());
    EXPECT_EQ(o.exitCode, 0) << qPrintable(o.err);
    EXPECT_EQ(o.out, QString::fromLatin1(QStringLiteral("水务 pass;word").toUtf8().toBase64()) + "\n");
}

TEST_F(KvetCheckProgram, AWrongCommandLineExitsWithTwoAndTheUsage)
{
    const Outcome o = runCheck({"--frobnicate"});
    EXPECT_EQ(o.exitCode, 2);
    EXPECT_TRUE(o.err.contains(QStringLiteral("未知的选项：--frobnicate")));
    EXPECT_TRUE(o.err.contains(QStringLiteral("用法：")));
}

} // namespace
