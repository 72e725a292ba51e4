// kvet-check.exe under Wine: kvet.ini read as Windows reads it (code page
// 936, UTF-16LE), named bare from the folder it is in; the drivers listed,
// kvet's own picked, the login made, the views checked; its report in the
// console's code page.
#include "windows/windows_stand_in.h"

#include <QStringDecoder>
#include <QStringEncoder>

using namespace kvet;
using namespace kvet::testing;

namespace {

const QString kDatabase = QStringLiteral("收费库");
// Braced in the connection string. No "}": the Windows driver names here
// stand for FreeTDS, which does not undo a doubled one as Microsoft's
// drivers do.
const QString kPassword = QStringLiteral("密 码;=1");

class KvetCheckExe : public WindowsStandInTest {
protected:
    void SetUp() override
    {
        WindowsStandInTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        server->setDatabases({kDatabase});
        server->setAccount({QStringLiteral("收费员"), kPassword});
        ASSERT_TRUE(server->start());
        kvetCheck = copied(QStringLiteral("kvet-check.exe"));
    }

    QString iniText() const
    {
        return QStringLiteral("[option]\r\nmydata=%1\r\nmy=127.0.0.1,%2\r\nuser=收费员\r\npassword=%3\r\n")
            .arg(kDatabase)
            .arg(server->port())
            .arg(QString::fromLatin1(kPassword.toUtf8().toBase64()));
    }

    // `kvet-check.exe kvet.ini` started in the folder, as from cmd there.
    QString report()
    {
        const WineRun run = wine->run(windowsPath(kvetCheck),
                                      {QStringLiteral("kvet.ini")}, 120000, dir.path());
        EXPECT_TRUE(run.finished) << "kvet-check.exe did not end";
        QStringDecoder gbk("GB18030");
        return QString(gbk.decode(run.out + run.err)).remove(u'\r');
    }

    QString kvetCheck;
};

TEST_F(KvetCheckExe, ReadsKvetIniInCodePage936AndUtf16)
{
    QStringEncoder gbk("GB18030");
    const QByteArray cp936 = gbk.encode(iniText());
    for (const QByteArray& bytes : {cp936, utf16WithBom(iniText())}) {
        writeIni(bytes);
        const QString out = report();
        const std::string shown = out.toStdString();
        EXPECT_TRUE(out.contains(QStringLiteral("已安装的 ODBC 驱动：SQL Server"))) << shown;
        EXPECT_TRUE(out.contains(QStringLiteral("选用的 ODBC 驱动：SQL Server"))) << shown;
        EXPECT_TRUE(out.contains(QStringLiteral("连接成功"))) << shown;
        EXPECT_TRUE(out.contains(QStringLiteral("视图 V_W_dsj_jfqd 存在"))) << shown;
        EXPECT_TRUE(out.contains(kDatabase)) << shown;
        EXPECT_FALSE(out.contains(QStringLiteral("连接失败"))) << shown;
    }
    ASSERT_FALSE(server->logins().empty());
    EXPECT_EQ(server->logins().back().userName, QStringLiteral("收费员"));
    EXPECT_EQ(server->logins().back().password, kPassword);
    EXPECT_EQ(server->logins().back().database, kDatabase);
}

TEST_F(KvetCheckExe, PicksDriver18WithItsEncryptionKeywords)
{
    wine->registerDrivers({QStringLiteral("SQL Server"), QStringLiteral("ODBC Driver 18 for SQL Server")});
    writeIni(utf16WithBom(iniText()));
    const QString out = report();
    const std::string shown = out.toStdString();
    EXPECT_TRUE(out.contains(QStringLiteral("选用的 ODBC 驱动：ODBC Driver 18 for SQL Server"))) << shown;
    EXPECT_TRUE(out.contains(QStringLiteral("TrustServerCertificate=yes"))) << shown;
    EXPECT_TRUE(out.contains(QStringLiteral("连接成功"))) << shown;
}

} // namespace
