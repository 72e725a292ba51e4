// kvet-check's reading of kvet.ini and its choice of driver: what it says
// about each password form, that the password never shows, and which driver
// and ODBC string kvet would use.
#include "settings/password_codec.h"
#include "check/check_driver.h"
#include "check/check_options.h"
#include "check/check_run.h"
#include "check/check_settings.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace kvet;
using namespace kvet::check;

namespace {

struct PasswordCase {
    const char* stored;
    Verdict verdict;
    const char* says;
    bool connectionStringSet;
};

class PasswordFinding : public ::testing::TestWithParam<PasswordCase> {};

TEST_P(PasswordFinding, SaysSetOrEmptyAndWhetherItDecodesButNeverShowsIt)
{
    const PasswordCase& c = GetParam();
    QTemporaryDir dir;
    const QString path = dir.filePath("kvet.ini");
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(QByteArray("[option]\nmydata=billing\nmy=db1\\SQLEXPRESS\nuser=kv\npassword=") + c.stored + "\n");
    f.close();

    Report report;
    const SettingsCheck s = checkSettings(path, report);
    const auto found = std::find_if(report.findings().begin(), report.findings().end(), [](const Finding& finding) {
        return finding.text.startsWith(QStringLiteral("密码（password）："));
    });
    ASSERT_NE(found, report.findings().end());
    EXPECT_EQ(found->verdict, c.verdict) << qPrintable(found->text);
    EXPECT_TRUE(found->text.contains(QString::fromUtf8(c.says))) << qPrintable(found->text);
    EXPECT_EQ(!s.connectionString.isEmpty(), c.connectionStringSet);
    const QString decoded = s.settings.password;
    if (!decoded.isEmpty()) {
        EXPECT_FALSE(report.text().contains(decoded)) << qPrintable(report.text());
    }
    EXPECT_TRUE(report.text().contains(QStringLiteral("服务器（my）：db1\\SQLEXPRESS")));
}

INSTANTIATE_TEST_SUITE_P(
    Forms, PasswordFinding,
    ::testing::Values(PasswordCase{"c2VjcmV0", Verdict::Ok, "已设置，可以解码", true},
                      PasswordCase{"c2Vj cmV0\t==", Verdict::Ok, "已设置，可以解码", true},
                      PasswordCase{"", Verdict::Warning, "空", true},
                      // Characters outside Base64 are skipped: "foo" plus a stray "!".
                      PasswordCase{"Zm9v!", Verdict::Warning, "不是规范的 Base64", true},
                      // A password written in plain text whose bits happen to decode.
                      PasswordCase{"Hi", Verdict::Warning, "不是规范的 Base64", true},
                      PasswordCase{"c2VjcmV0Cg==", Verdict::Warning, "控制字符", true}, // "secret\n"
                      PasswordCase{"//79", Verdict::Error, "不是 UTF-8 文本", false}));

TEST(CheckSettings, AMissingFileAndEmptyValuesAreErrors)
{
    Report report;
    checkSettings(QStringLiteral("/nonexistent/kvet.ini"), report);
    EXPECT_TRUE(report.findings().front().text.startsWith(QStringLiteral("设置文件不存在：")));
    EXPECT_EQ(report.count(Verdict::Error), 4); // file, mydata, my, user
}

TEST(CheckSettings, MaskedConnectionStringHidesThePasswordAndKeepsEverythingElse)
{
    ConnectionSettings s{QStringLiteral("billing"), QStringLiteral("db1,1433"), QStringLiteral("kv"),
                         QStringLiteral("p;w=\"d")};
    const QString masked = maskedConnectionString(s);
    EXPECT_FALSE(masked.contains(QStringLiteral("p;w")));
    ConnectionSettings same = s;
    same.password = QString::fromLatin1(kMaskedPassword);
    EXPECT_EQ(masked, connectionStringFor(same));
    s.password.clear();
    EXPECT_EQ(maskedConnectionString(s), connectionStringFor(s));
}

TEST(CheckDriver, ChoosesAsKvetDoesAndShowsTheDriversStringMasked)
{
    ConnectionSettings s{QStringLiteral("billing"), QStringLiteral("127.0.0.1,1444"), QStringLiteral("kv"),
                         QStringLiteral("secret")};
    Report report;
    const QString driver = checkDriver({"SQLite3", "FreeTDS", "ODBC Driver 17 for SQL Server"},
                                       maskedConnectionString(s), report);
    EXPECT_EQ(driver, QStringLiteral("ODBC Driver 17 for SQL Server"));
    EXPECT_TRUE(report.allWell());
    EXPECT_TRUE(report.text().contains(QStringLiteral("PWD=******"))) << qPrintable(report.text());

    Report none;
    EXPECT_TRUE(checkDriver({"SQLite3"}, maskedConnectionString(s), none).isEmpty());
    EXPECT_EQ(none.count(Verdict::Error), 1);
    EXPECT_EQ(none.count(Verdict::Hint), 1);
}

struct CommandCase {
    QStringList arguments;
    bool valid;
    bool demo;
    QString settingsPath;
    QString demoDatabase;
};

class CheckCommandLine : public ::testing::TestWithParam<CommandCase> {};

TEST_P(CheckCommandLine, AcceptsTheDocumentedFormsOnly)
{
    const CommandCase& c = GetParam();
    QString error;
    const auto line = parseCommandLine(c.arguments, error);
    ASSERT_EQ(line.has_value(), c.valid) << qPrintable(error);
    if (!line) {
        EXPECT_FALSE(error.isEmpty());
        return;
    }
    EXPECT_EQ(line->check.demo, c.demo);
    EXPECT_EQ(line->check.settingsPath, c.settingsPath);
    EXPECT_EQ(line->check.demoDatabase, c.demoDatabase);
}

INSTANTIATE_TEST_SUITE_P(
    Forms, CheckCommandLine,
    ::testing::Values(CommandCase{{}, true, false, {}, {}},
                      CommandCase{{"C:/kvet/kvet.ini", "--create-views"}, true, false, "C:/kvet/kvet.ini", {}},
                      CommandCase{{"--demo", "--without-views"}, true, true, {}, {}},
                      CommandCase{{"--demo", "export.db"}, true, true, {}, "export.db"},
                      CommandCase{{"--without-views"}, false, false, {}, {}},
                      CommandCase{{"--demo", "--without-views", "export.db"}, false, false, {}, {}},
                      CommandCase{{"a.ini", "b.ini"}, false, false, {}, {}},
                      CommandCase{{"--encode-password", "--demo"}, false, false, {}, {}},
                      CommandCase{{"--verbose"}, false, false, {}, {}},
                      CommandCase{{"--export"}, false, false, {}, {}},
                      CommandCase{{"--export", "--force"}, false, false, {}, {}},
                      CommandCase{{"--force"}, false, false, {}, {}},
                      CommandCase{{"--demo", "--export", "a.db"}, false, false, {}, {}},
                      CommandCase{{"--export", "a.db", "--create-views"}, false, false, {}, {}}));

TEST(CheckCommandLine, ExportTakesTheFileAfterItAndKvetIniWhereverItStands)
{
    QString error;
    const auto line = parseCommandLine({"--export", "hall.db", "C:/kvet/kvet.ini", "--force"}, error);
    ASSERT_TRUE(line) << qPrintable(error);
    EXPECT_EQ(line->check.exportFile, QStringLiteral("hall.db"));
    EXPECT_EQ(line->check.settingsPath, QStringLiteral("C:/kvet/kvet.ini"));
    EXPECT_TRUE(line->check.force);
    const auto plain = parseCommandLine({"--export", "hall.db"}, error);
    ASSERT_TRUE(plain);
    EXPECT_FALSE(plain->check.force);
    EXPECT_TRUE(plain->check.settingsPath.isEmpty());
}

TEST(CheckReport, AFindingKeepsToOneLineWithItsDetailIndentedBelow)
{
    const QString text = formatFinding({Verdict::Error, QStringLiteral("连接失败：first\r\nsecond"), {"SELECT 1"}});
    EXPECT_EQ(text, QStringLiteral("[错误] 连接失败：first\n        second\n        SELECT 1\n"));
}

TEST(CheckReport, OnlyWarningsAndErrorsSpoilTheExitCode)
{
    Report report;
    report.info("a");
    report.ok("b");
    report.hint("c");
    EXPECT_EQ(report.exitCode(), 0);
    EXPECT_EQ(report.summary().text, QStringLiteral("检查完成：一切正常"));
    report.warning("d");
    EXPECT_EQ(report.exitCode(), 1);
    report.error("e");
    EXPECT_EQ(report.summary().text, QStringLiteral("检查完成：1 个错误，1 个警告"));
}

} // namespace

namespace {

QString writeSettings(const QTemporaryDir& dir, const QByteArray& bytes)
{
    const QString path = dir.filePath("kvet.ini");
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
    return path;
}

bool saysSomething(const Report& report, Verdict verdict, const QString& part)
{
    return std::any_of(report.findings().begin(), report.findings().end(),
                       [&](const Finding& f) { return f.verdict == verdict && f.text.contains(part); });
}

const QByteArray kAsciiBody = "[option]\r\nmydata=billing\r\nmy=db1\r\nuser=kv\r\npassword=c2VjcmV0\r\n";

TEST(CheckSettingsFile, WarnsOfAUtf8ByteOrderMarkThatHidesTheFirstSectionOnWindows)
{
    QTemporaryDir dir;
    Report report;
    checkSettings(writeSettings(dir, "\xEF\xBB\xBF" + kAsciiBody), report);
    EXPECT_TRUE(saysSomething(report, Verdict::Warning, QStringLiteral("字节顺序标记（BOM）"))) << qPrintable(report.text());
    EXPECT_EQ(report.count(Verdict::Warning), 1);

    Report plain;
    checkSettings(writeSettings(dir, kAsciiBody), plain);
    EXPECT_TRUE(plain.allWell()) << qPrintable(plain.text());

    // UTF-16LE with its mark is what Windows calls Unicode: nothing to say
    // (QString's units are little-endian on the machines the tests run on).
    const QString text = QStringLiteral("[option]\r\nmydata=水务\r\nmy=db1\r\nuser=kv\r\npassword=c2VjcmV0\r\n");
    Report unicode;
    checkSettings(writeSettings(dir, "\xFF\xFE" + QByteArray(reinterpret_cast<const char*>(text.utf16()), 2 * text.size())),
                  unicode);
    EXPECT_TRUE(unicode.allWell()) << qPrintable(unicode.text());
    EXPECT_TRUE(unicode.text().contains(QStringLiteral("数据库（mydata）：水务")));
}

TEST(CheckSettingsFile, Utf8ChineseIsAWarningWithWhatAChineseWindowsReads)
{
    QTemporaryDir dir;
    Report report;
    const SettingsCheck s = checkSettings(
        writeSettings(dir, "[option]\nmydata=\xE8\x90\xA5\xE4\xB8\x9A\xE6\x94\xB6\xE8\xB4\xB9\nmy=db1\nuser=kv\npassword=c2VjcmV0\n"), report);
    EXPECT_EQ(s.settings.database, QStringLiteral("营业收费"));
    EXPECT_TRUE(saysSomething(report, Verdict::Warning, QStringLiteral("按 UTF-8 保存"))) << qPrintable(report.text());
    // The same twelve bytes as code page 936 sees them.
    EXPECT_TRUE(saysSomething(report, Verdict::Info, QStringLiteral("数据库（mydata）在中文 Windows 上会读成：钀ヤ笟鏀惰垂")))
        << qPrintable(report.text());
    EXPECT_FALSE(report.text().contains(QStringLiteral("服务器（my）在中文"))); // ASCII values read alike
}

TEST(CheckSettingsFile, AnAnsiFileFromAChineseWindowsReadsAsWrittenThere)
{
    QTemporaryDir dir;
    Report report;
    const SettingsCheck s =
        checkSettings(writeSettings(dir, "[option]\r\nmydata=\xCB\xAE\xCE\xF1\r\nmy=db1\r\nuser=kv\r\npassword=c2VjcmV0\r\n"), report);
    EXPECT_EQ(s.settings.database, QStringLiteral("水务"));
    EXPECT_TRUE(report.allWell()) << qPrintable(report.text());
    EXPECT_TRUE(saysSomething(report, Verdict::Info, QStringLiteral("代码页 936")));
}

TEST(CheckSettingsFile, AValueHoldingASemicolonAfterABlankIsALikelyInlineComment)
{
    QTemporaryDir dir;
    Report report;
    // The README's old example, copied as written.
    const SettingsCheck s = checkSettings(
        writeSettings(dir, "[option]\nmydata=billing        ; database\nmy=db1\nuser=kv\n"
                           "password=c2VjcmV0     ; Base64 of the password's UTF-8 bytes\n"),
        report);
    EXPECT_TRUE(saysSomething(report, Verdict::Warning, QStringLiteral("数据库（mydata）的值里有“ ;”"))) << qPrintable(report.text());
    EXPECT_TRUE(saysSomething(report, Verdict::Warning, QStringLiteral("密码（password）的值里有“ ;”")));
    EXPECT_FALSE(saysSomething(report, Verdict::Warning, QStringLiteral("服务器（my）的值")));
    EXPECT_FALSE(s.passwordDecodes);

    Report fine;
    checkSettings(writeSettings(dir, "[option]\n; database\nmydata=a;b\nmy=db1\nuser=kv\npassword=c2VjcmV0\n"), fine);
    EXPECT_TRUE(fine.allWell()) << qPrintable(fine.text());
}

TEST(CheckSettingsFile, APasswordThatDoesNotDecodeIsTheOnlyFaultReported)
{
    QTemporaryDir dir;
    CheckOptions options;
    options.settingsPath = writeSettings(dir, "[option]\nmydata=billing\nmy=127.0.0.1,1\nuser=kv\npassword=//79\n");
    Report report;
    EXPECT_EQ(runCheck(options, report), 1);
    EXPECT_TRUE(saysSomething(report, Verdict::Error, QStringLiteral("不是 UTF-8 文本")));
    EXPECT_TRUE(saysSomething(report, Verdict::Info, QStringLiteral("跳过登录")));
    EXPECT_FALSE(report.text().contains(QStringLiteral("连接失败"))) << qPrintable(report.text());
    EXPECT_FALSE(report.text().contains(QStringLiteral("ODBC 连接串"))); // it has none to show
}

} // namespace
