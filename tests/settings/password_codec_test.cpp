#include "settings/password_codec.h"

#include "data/failure.h"

#include <QList>
#include <gtest/gtest.h>

using namespace kvet;

namespace {

TEST(PasswordCodec, DecodesStandardBase64OfUtf8)
{
    EXPECT_EQ(decodePassword(QStringLiteral("cGFzc3dvcmQ=")), QStringLiteral("password"));
    EXPECT_EQ(decodePassword(QStringLiteral("5rC05Yqh")), QStringLiteral("水务"));
    EXPECT_EQ(decodePassword(QString()), QString());
    // The bytes of a byte order mark are the password's first character, not a marker to drop.
    EXPECT_EQ(decodePassword(QStringLiteral("77u/cHc=")), QStringLiteral("\uFEFFpw"));
    EXPECT_EQ(decodePassword(encodePassword(QStringLiteral("\uFEFF"))), QStringLiteral("\uFEFF"));
}

TEST(PasswordCodec, SkipsPadsBlanksLineBreaksAndForeignCharactersAnywhere)
{
    const QString clean = decodePassword(QStringLiteral("cGFzc3dvcmQ"));
    EXPECT_EQ(decodePassword(QStringLiteral("cGFz\r\nc3dv cmQ=")), clean);
    EXPECT_EQ(decodePassword(QStringLiteral("=c=G=F=z=c3dvcmQ")), clean);
    EXPECT_EQ(decodePassword(QStringLiteral("\tcGFzc3-dvc*mQ\n")), clean);
    EXPECT_EQ(decodePassword(QStringLiteral("cG水Fzc3dvcmQ=")), clean);
}

struct GroupCase {
    int accepted;   // accepted characters
    int bytes;      // bytes they give
};

class Base64Group : public ::testing::TestWithParam<GroupCase> {};

TEST_P(Base64Group, LeftoverBitsAreDropped)
{
    const QString text = QString(GetParam().accepted, u'Q');
    EXPECT_EQ(decodeBase64Leniently(text).size(), GetParam().bytes);
}

INSTANTIATE_TEST_SUITE_P(PasswordCodec, Base64Group,
                         ::testing::Values(GroupCase{0, 0}, GroupCase{1, 0}, GroupCase{2, 1},
                                         GroupCase{3, 2}, GroupCase{4, 3}, GroupCase{5, 3},
                                         GroupCase{6, 4}, GroupCase{7, 5}, GroupCase{8, 6}));

TEST(PasswordCodec, PartialGroupsKeepTheirLeadingBits)
{
    // "YWJjZA" is "abcd" without its pads; "YWJjZ" leaves "abc" (a lone 'Z' adds nothing).
    EXPECT_EQ(decodeBase64Leniently(QStringLiteral("YWJjZA")), QByteArray("abcd"));
    EXPECT_EQ(decodeBase64Leniently(QStringLiteral("YWJjZ")), QByteArray("abc"));
    EXPECT_EQ(decodeBase64Leniently(QStringLiteral("YWJjZGU")), QByteArray("abcde"));
    EXPECT_EQ(decodeBase64Leniently(QStringLiteral("+/+/")), QByteArray("\xFB\xFF\xBF"));
}

class StrictUtf8Rejects : public ::testing::TestWithParam<const char*> {};

TEST_P(StrictUtf8Rejects, WithTheNoMappingMessage)
{
    try {
        decodeUtf8Strictly(QByteArray(GetParam()));
        FAIL() << "accepted ill-formed UTF-8";
    } catch (const Failure& f) {
        EXPECT_EQ(f.message(), QStringLiteral(
            "No mapping for the Unicode character exists in the target multi-byte code page"));
    }
}

INSTANTIATE_TEST_SUITE_P(
    PasswordCodec, StrictUtf8Rejects,
    ::testing::Values("\xC0\xAF",          // overlong '/'
                    "\xC1\xBF",          // overlong two-byte lead
                    "\xE0\x80\xAF",      // overlong three-byte
                    "\xF0\x80\x80\xAF",  // overlong four-byte
                    "\xED\xA0\x80",      // surrogate D800
                    "\xED\xBF\xBF",      // surrogate DFFF
                    "\xF4\x90\x80\x80",  // above U+10FFFF
                    "\xF5\x80\x80\x80",  // lead byte beyond Unicode
                    "\xFF",              // never a UTF-8 byte
                    "ab\xE6\xB0",        // truncated at the end
                    "\xE6\xB0" "a",      // truncated before an ASCII byte
                    "\x80",              // stray continuation byte
                    "a\xBF" "b"));       // stray continuation in the middle

TEST(PasswordCodec, StrictUtf8AcceptsTheEdgesOfEachForm)
{
    const QByteArray bytes("\x7F\xC2\x80\xDF\xBF\xE0\xA0\x80\xEF\xBF\xBD\xEE\x80\x80"
                           "\xF0\x90\x80\x80\xF4\x8F\xBF\xBF");
    const QString text = decodeUtf8Strictly(bytes);
    EXPECT_EQ(text.toUtf8(), bytes);
    EXPECT_EQ(text.toUcs4().size(), 8);
}

TEST(PasswordCodec, Base64OfNonUtf8BytesFails)
{
    // "/w==" is the single byte 0xFF.
    EXPECT_THROW(decodePassword(QStringLiteral("/w==")), Failure);
}

TEST(PasswordCodec, EncoderRoundTrips)
{
    for (const QString& password : {QString(), QStringLiteral("a"), QStringLiteral("ab"),
                                    QStringLiteral("p@ss;word=\"x\""), QStringLiteral("水务营业收费😀")}) {
        EXPECT_EQ(decodePassword(encodePassword(password)), password);
    }
    EXPECT_EQ(encodePassword(QStringLiteral("password")), QStringLiteral("cGFzc3dvcmQ="));
}

} // namespace
