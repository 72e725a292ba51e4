// kvet-check.exe under Wine: kvet.ini read as Windows reads it (code page
// 936, UTF-16LE), named bare from the folder it is in; the drivers listed,
// kvet's own picked, the login made, the views checked; its report in the
// console's code page.
#include "tds/stand_in_fixture.h"
#include "windows/wine_session.h"

#include <QFile>
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

class KvetCheckExe : public WindowsTest {
protected:
    void SetUp() override
    {
        WindowsTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        server = std::make_unique<tds::TdsStandIn>(sampleCopy());
        server->setDatabases({kDatabase});
        server->setAccount({QStringLiteral("收费员"), kPassword});
        ASSERT_TRUE(server->start());
        ASSERT_TRUE(QFile::copy(program(QStringLiteral("kvet-check.exe")),
                                dir.filePath(QStringLiteral("kvet-check.exe"))));
    }

    void TearDown() override
    {
        WindowsTest::TearDown();
        server.reset();
    }

    QString iniText() const
    {
        return QStringLiteral("[option]\r\nmydata=%1\r\nmy=127.0.0.1,%2\r\nuser=收费员\r\npassword=%3\r\n")
            .arg(kDatabase)
            .arg(server->port())
            .arg(QString::fromLatin1(kPassword.toUtf8().toBase64()));
    }

    void writeIni(const QByteArray& bytes)
    {
        QFile ini(dir.filePath(QStringLiteral("kvet.ini")));
        ASSERT_TRUE(ini.open(QIODevice::WriteOnly | QIODevice::Truncate));
        ini.write(bytes);
    }

    // `kvet-check.exe kvet.ini` started in the folder, as from cmd there.
    QString report()
    {
        const WineRun run = wine->run(windowsPath(dir.filePath(QStringLiteral("kvet-check.exe"))),
                                      {QStringLiteral("kvet.ini")}, 120000, dir.path());
        EXPECT_TRUE(run.finished) << "kvet-check.exe did not end";
        QStringDecoder gbk("GB18030");
        return QString(gbk.decode(run.out + run.err)).remove(u'\r');
    }

    QTemporaryDir dir;
    std::unique_ptr<tds::TdsStandIn> server;
};

TEST_F(KvetCheckExe, ReadsKvetIniInCodePage936AndUtf16)
{
    QStringEncoder gbk("GB18030");
    QByteArray utf16("\xFF\xFE");
    const QString text = iniText();
    utf16.append(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
    const QByteArray cp936 = gbk.encode(text);
    for (const QByteArray& bytes : {cp936, utf16}) {
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
    QByteArray utf16("\xFF\xFE");
    const QString text = iniText();
    utf16.append(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
    writeIni(utf16);
    const QString out = report();
    const std::string shown = out.toStdString();
    EXPECT_TRUE(out.contains(QStringLiteral("选用的 ODBC 驱动：ODBC Driver 18 for SQL Server"))) << shown;
    EXPECT_TRUE(out.contains(QStringLiteral("TrustServerCertificate=yes"))) << shown;
    EXPECT_TRUE(out.contains(QStringLiteral("连接成功"))) << shown;
}

} // namespace
