#include "tds_standin/tds_tokens.h"

namespace kvet::tds {

QByteArray chineseCollation()
{
    return QByteArray("\x04\x08\xD0\x00\x00", 5);
}

void envChangeText(ByteWriter& w, std::uint8_t type, const QString& now, const QString& before)
{
    ByteWriter body;
    body.u8(type).bVarchar(now).bVarchar(before);
    w.u8(0xE3).u16(std::uint16_t(body.size())).bytes(body.data());
}

void envChangeCollation(ByteWriter& w, const QByteArray& collation)
{
    ByteWriter body;
    body.u8(7).u8(std::uint8_t(collation.size())).bytes(collation).u8(0);
    w.u8(0xE3).u16(std::uint16_t(body.size())).bytes(body.data());
}

void message(ByteWriter& w, const ServerMessage& m)
{
    ByteWriter body;
    body.u32(m.number).u8(m.state).u8(m.severity).usVarchar(m.text);
    body.bVarchar(QString::fromLatin1(kServerName)).bVarchar(QString()).u32(m.line);
    w.u8(m.severity > 10 ? 0xAA : 0xAB).u16(std::uint16_t(body.size())).bytes(body.data());
}

void loginAck(ByteWriter& w)
{
    ByteWriter body;
    // The TDS version here is big-endian, unlike LOGIN7's.
    body.u8(1).u32be(0x74000004).bVarchar(QStringLiteral("Microsoft SQL Server"));
    body.u8(15).u8(0).u8(0x07).u8(0xD0);
    w.u8(0xAD).u16(std::uint16_t(body.size())).bytes(body.data());
}

void done(ByteWriter& w, std::uint16_t status, std::uint64_t rows, std::uint16_t command)
{
    w.u8(0xFD).u16(status).u16(command).u64(rows);
}

} // namespace kvet::tds
