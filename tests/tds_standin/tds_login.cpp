#include "tds_standin/tds_login.h"

#include "tds_standin/tds_wire.h"

namespace kvet::tds {

QByteArray preLoginReply()
{
    // Option table: token, offset (big-endian), length (big-endian); 0xFF ends it.
    const QByteArray version("\x0F\x00\x07\xD0\x00\x00", 6); // 15.0.2000
    const QByteArray values[] = {version, QByteArray(1, '\x02'), QByteArray(1, '\x00'), QByteArray(1, '\x00')};
    const std::uint8_t tokens[] = {0x00, 0x01, 0x02, 0x04};
    const int tableSize = 4 * 5 + 1;
    ByteWriter table;
    QByteArray body;
    for (int i = 0; i < 4; ++i) {
        table.u8(tokens[i]).u16be(std::uint16_t(tableSize + body.size())).u16be(std::uint16_t(values[i].size()));
        body += values[i];
    }
    table.u8(0xFF);
    return table.data() + body;
}

namespace {

QString field(const QByteArray& d, int at, bool password = false)
{
    const int offset = readU16(d, at);
    const int count = readU16(d, at + 2);
    if (!password)
        return readUtf16(d, offset, count);
    if (offset + 2 * count > d.size())
        return {};
    QByteArray plain = d.mid(offset, 2 * count);
    for (char& c : plain) {
        const std::uint8_t b = std::uint8_t(c) ^ 0xA5;
        c = char(std::uint8_t(b << 4 | b >> 4));
    }
    return readUtf16(plain, 0, count);
}

} // namespace

Login7 parseLogin7(const QByteArray& d)
{
    Login7 l;
    if (d.size() < 94 || readU32(d, 0) > std::uint32_t(d.size()))
        return l;
    l.tdsVersion = readU32(d, 4);
    l.packetSize = readU32(d, 8);
    l.hostName = field(d, 36);
    l.userName = field(d, 40);
    l.password = field(d, 44, true);
    l.appName = field(d, 48);
    l.serverName = field(d, 52);
    l.libraryName = field(d, 60);
    l.language = field(d, 64);
    l.database = field(d, 68);
    l.valid = true;
    return l;
}

QByteArray obfuscatePassword(const QString& password)
{
    ByteWriter w;
    w.utf16(password);
    QByteArray b = w.data();
    for (char& c : b) {
        const std::uint8_t v = std::uint8_t(c);
        c = char(std::uint8_t(v << 4 | v >> 4) ^ 0xA5);
    }
    return b;
}

} // namespace kvet::tds
