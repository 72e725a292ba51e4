// kvet-check's reading of kvet.ini and its choice of driver: what it says
// about each password form, that the password never shows, and which driver
// and ODBC string kvet would use.
#include "app/password_codec.h"
#include "check/check_driver.h"
#include "check/check_options.h"
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
    const auto found = std::find_if(report.findings().begin(), report.findings().end(), [](const Finding& f) {
        return f.text.startsWith(QStringLiteral("密码（password）："));
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
                      CommandCase{{"--verbose"}, false, false, {}, {}}));

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
