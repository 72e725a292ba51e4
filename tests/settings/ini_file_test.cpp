#include "settings/ini_file.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using kvet::readProfileString;

namespace {

QString writeFile(const QTemporaryDir& dir, const QByteArray& bytes)
{
    const QString path = dir.filePath(QStringLiteral("kvet.ini"));
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
    return path;
}

struct Lookup {
    const char* name;
    const char* fileText; // UTF-8
    const char* section;
    const char* key;
    const char* expected; // UTF-8
};

class ProfileLookup : public ::testing::TestWithParam<Lookup> {};

TEST_P(ProfileLookup, FindsTheValueTheSystemReaderWould)
{
    const Lookup& c = GetParam();
    QTemporaryDir dir;
    const QString path = writeFile(dir, QByteArray(c.fileText));
    EXPECT_EQ(readProfileString(path, QString::fromUtf8(c.section), QString::fromUtf8(c.key)),
              QString::fromUtf8(c.expected));
}

const Lookup kLookups[] = {
    {"Plain", "[option]\nmydata=billing\n", "option", "mydata", "billing"},
    {"SectionCaseIgnored", "[OPTION]\nmydata=billing\n", "option", "mydata", "billing"},
    {"KeyCaseIgnored", "[option]\nMyData=billing\n", "option", "mydata", "billing"},
    {"BlanksAroundKeyAndValue", "[option]\n  my \t=  server01  \n", "option", "my", "server01"},
    {"BlanksInsideValueKept", "[option]\nuser=sa admin\n", "option", "user", "sa admin"},
    {"DoubleQuotesDropped", "[option]\nmy=\" host \"\n", "option", "my", " host "},
    {"SingleQuotesDropped", "[option]\nmy='host'\n", "option", "my", "host"},
    {"MismatchedQuotesKept", "[option]\nmy=\"host'\n", "option", "my", "\"host'"},
    {"LoneQuoteKept", "[option]\nmy=\"\n", "option", "my", "\""},
    {"SemicolonCommentIgnored", "[option]\n;my=old\nmy=new\n", "option", "my", "new"},
    {"HashCommentIgnored", "[option]\n#my=old\nmy=new\n", "option", "my", "new"},
    {"EqualsInValueKept", "[option]\npassword=YWJj==\n", "option", "password", "YWJj=="},
    {"EmptyValue", "[option]\npassword=\n", "option", "password", ""},
    {"KeyWithoutEqualsIsEmpty", "[option]\nmy\nmy=late\n", "option", "my", ""},
    {"MissingKey", "[option]\nmy=x\n", "option", "user", ""},
    {"MissingSection", "[other]\nmy=x\n", "option", "my", ""},
    {"KeyInOtherSectionIgnored", "[other]\nmy=wrong\n[option]\nuser=sa\n", "option", "my", ""},
    {"OtherSectionAfterwardsIgnored", "[option]\nuser=sa\n[other]\nmy=wrong\n", "option", "my", ""},
    {"KeyBeforeAnySectionIgnored", "my=wrong\n[option]\nuser=sa\n", "option", "my", ""},
    {"FirstKeyWins", "[option]\nmy=first\nmy=second\n", "option", "my", "first"},
    {"FirstSectionWins", "[option]\nmy=first\n[option]\nmy=second\nuser=u\n", "option", "user", ""},
    {"CrLfLineEnds", "[option]\r\nmydata=billing\r\nmy=srv\r\n", "option", "mydata", "billing"},
    {"LastLineWithoutLineEnd", "[option]\nmy=srv", "option", "my", "srv"},
    {"ChineseValue", "[option]\nmydata=营业收费\n", "option", "mydata", "营业收费"},
    {"BlanksInsideBrackets", "[ option ]\nmy=srv\n", "option", "my", "srv"},
};

INSTANTIATE_TEST_SUITE_P(IniFile, ProfileLookup, ::testing::ValuesIn(kLookups),
                         [](const auto& test) { return std::string(test.param.name); });

TEST(IniFile, MissingFileReadsEmpty)
{
    QTemporaryDir dir;
    EXPECT_EQ(readProfileString(dir.filePath(QStringLiteral("absent.ini")), QStringLiteral("option"),
                                QStringLiteral("my")),
              QString());
    EXPECT_EQ(readProfileString(dir.path(), QStringLiteral("option"), QStringLiteral("my")), QString());
}

TEST(IniFile, LongValueIsCutTo2047Units)
{
    QTemporaryDir dir;
    const QByteArray longValue(5000, 'x');
    const QString path = writeFile(dir, "[option]\nmy=" + longValue + "\nuser=after\n");
    const QString value = readProfileString(path, QStringLiteral("option"), QStringLiteral("my"));
    EXPECT_EQ(value, QString(2047, u'x'));
    EXPECT_EQ(readProfileString(path, QStringLiteral("option"), QStringLiteral("user")),
              QStringLiteral("after"));
}

TEST(IniFile, ValueOfExactly2047UnitsIsWhole)
{
    QTemporaryDir dir;
    const QString path = writeFile(dir, "[option]\nmy=" + QByteArray(2047, 'y') + "\n");
    EXPECT_EQ(readProfileString(path, QStringLiteral("option"), QStringLiteral("my")).size(), 2047);
}

class ProfileEncoding : public ::testing::TestWithParam<const char*> {};

QByteArray encoded(const QString& text, const std::string& how)
{
    if (how == "gb18030") {
        // What Notepad's "ANSI" writes on a Chinese Windows PC (code page 936).
        QByteArray bytes = text.toLatin1(); // the ASCII part; the Chinese value below
        bytes.replace("?", "\xCB\xAE\xCE\xF1\xD3\xAA\xD2\xB5");
        return bytes;
    }
    if (how == "utf8")
        return text.toUtf8();
    if (how == "utf8bom")
        return "\xEF\xBB\xBF" + text.toUtf8();
    QByteArray bytes = how == "utf16le" ? QByteArray("\xFF\xFE") : QByteArray("\xFE\xFF");
    for (const QChar c : text) {
        const char lo = char(c.unicode() & 0xFF);
        const char hi = char(c.unicode() >> 8);
        bytes.append(how == "utf16le" ? lo : hi);
        bytes.append(how == "utf16le" ? hi : lo);
    }
    return bytes;
}

TEST_P(ProfileEncoding, ReadsChineseValuesAndTheFirstSection)
{
    QTemporaryDir dir;
    const QString text = QStringLiteral("[option]\r\nmydata=水务营业\r\nmy=srv\r\n");
    const QString path = writeFile(dir, GetParam() == std::string("gb18030")
                                            ? encoded(QStringLiteral("[option]\r\nmydata=?\r\nmy=srv\r\n"), GetParam())
                                            : encoded(text, GetParam()));
    EXPECT_EQ(readProfileString(path, QStringLiteral("option"), QStringLiteral("mydata")),
              QStringLiteral("水务营业"));
    EXPECT_EQ(readProfileString(path, QStringLiteral("option"), QStringLiteral("my")),
              QStringLiteral("srv"));
}

INSTANTIATE_TEST_SUITE_P(IniFile, ProfileEncoding,
                         ::testing::Values("utf8", "utf8bom", "utf16le", "utf16be", "gb18030"));

TEST(IniFile, OnlyBytesThatAreNotUtf8AreReadAsGb18030)
{
    // Valid UTF-8 stays UTF-8 even where the same bytes would also be GB18030.
    EXPECT_EQ(kvet::decodeProfileBytes("mydata=\xE8\x90\xA5\xE4\xB8\x9A"), QStringLiteral("mydata=营业"));
    // One sequence that is not UTF-8 makes the whole file ANSI.
    const QString mixed = kvet::decodeProfileBytes("a=\xE8\x90\xA5\r\nb=\xCB\xAE\xCE\xF1");
    EXPECT_TRUE(mixed.startsWith(QStringLiteral("a=钀"))) << qPrintable(mixed);
    EXPECT_TRUE(mixed.endsWith(QStringLiteral("\nb=水务"))) << qPrintable(mixed);
    // The byte-order mark of UTF-8 goes, also before bytes that are not UTF-8.
    EXPECT_EQ(kvet::decodeProfileBytes("\xEF\xBB\xBF[option]"), QStringLiteral("[option]"));
    EXPECT_EQ(kvet::decodeProfileBytes("\xEF\xBB\xBF[option]\nmy=\xCB\xAE\xCE\xF1"), QStringLiteral("[option]\nmy=水务"));
    EXPECT_TRUE(kvet::isValidUtf8("plain ASCII"));
    EXPECT_FALSE(kvet::isValidUtf8("\xC0\xAF")); // overlong '/'
    EXPECT_FALSE(kvet::isValidUtf8("\xED\xA0\x80")); // a surrogate
}

} // namespace
