// The stand-in's own protocol facts, checked byte for byte where FreeTDS
// 1.3 depends on them.
#include "tds_standin/tds_login.h"
#include "tds_standin/tds_tokens.h"
#include "tds_standin/tds_types.h"

#include <gtest/gtest.h>

using namespace kvet;
using namespace kvet::tds;

namespace {

TEST(TdsWire, PreLoginSaysEncryptionNotSupportedAndMarsOff)
{
    const QByteArray r = preLoginReply();
    // token 0x01 (encryption) points at one byte 0x02; token 0x04 (MARS) at 0x00.
    for (int at = 0; std::uint8_t(r[at]) != 0xFF; at += 5) {
        const int offset = std::uint8_t(r[at + 1]) << 8 | std::uint8_t(r[at + 2]);
        if (r[at] == 0x01) {
            EXPECT_EQ(r[offset], '\x02');
        }
        if (r[at] == 0x04) {
            EXPECT_EQ(r[offset], '\x00');
        }
    }
}

TEST(TdsWire, Login7StringsAndPasswordReadBack)
{
    // A LOGIN7 as FreeTDS lays it out: fixed part, offset table, UCS-2 strings.
    const QString user = QStringLiteral("收费员"), password = QStringLiteral("p}w;{= '\""), database = QStringLiteral("水费库");
    ByteWriter strings;
    const int base = 94;
    QByteArray table(94, '\0');
    auto put16 = [&table](int at, int v) {
        table[at] = char(v & 0xFF);
        table[at + 1] = char(v >> 8);
    };
    auto place = [&](int at, const QByteArray& bytes, int chars) {
        put16(at, base + strings.size());
        put16(at + 2, chars);
        strings.bytes(bytes);
    };
    ByteWriter u, d;
    u.utf16(user);
    d.utf16(database);
    place(40, u.data(), int(user.size()));
    place(44, obfuscatePassword(password), int(password.size()));
    place(68, d.data(), int(database.size()));
    QByteArray message = table + strings.data();
    const int total = int(message.size());
    message[0] = char(total & 0xFF);
    message[1] = char(total >> 8);
    message[4] = 0x04; // TDS 7.4, little-endian: 04 00 00 74
    message[7] = 0x74;
    const Login7 l = parseLogin7(message);
    ASSERT_TRUE(l.valid);
    EXPECT_EQ(l.tdsVersion, 0x74000004u);
    EXPECT_EQ(l.userName, user);
    EXPECT_EQ(l.password, password);
    EXPECT_EQ(l.database, database);
}

TEST(TdsWire, LoginAckCarriesTheVersionBigEndian)
{
    ByteWriter w;
    loginAck(w);
    EXPECT_EQ(w.data().mid(3, 5), QByteArray("\x01\x74\x00\x00\x04", 5));
}

TEST(TdsWire, MoneyHighHalfFirstAndVarcharInCodePage936WithItsCollation)
{
    std::vector<WireColumn> columns{{QStringLiteral("je"), WireType::Money}, {QStringLiteral("ren"), WireType::Varchar}};
    ByteWriter meta;
    colMetadata(meta, columns);
    EXPECT_TRUE(meta.data().contains(QByteArray("\xA7\x40\x1F\x04\x08\xD0\x00\x00", 8)));
    ByteWriter w;
    row(w, columns, {Decimal{QStringLiteral("-1.5")}, QStringLiteral("支付宝")});
    // -15000 as 8 bytes: high 32 bits then low 32 bits, each little-endian.
    EXPECT_EQ(w.data().mid(1, 9), QByteArray("\x08\xFF\xFF\xFF\xFF\x68\xC5\xFF\xFF", 9));
    EXPECT_EQ(fromCp936(w.data().mid(12)), QStringLiteral("支付宝"));
    EXPECT_EQ(w.data().mid(10, 2), QByteArray("\x06\x00", 2));
}

} // namespace
