#pragma once
// The server's tokens: ENVCHANGE, INFO, ERROR, LOGINACK and DONE, in the
// TDS 7.4 layout FreeTDS asks for (8-byte DONE counts, 4-byte user types).
#include "tds_standin/tds_wire.h"

namespace kvet::tds {

// DONE status bits.
enum DoneStatus : std::uint16_t {
    kDoneFinal = 0x0000,
    kDoneMore = 0x0001,
    kDoneError = 0x0002,
    kDoneCount = 0x0010,
    kDoneAttention = 0x0020,
};

// Chinese_PRC_CI_AS: LCID 0x0804 with case, kana and width ignored, sort id 0.
QByteArray chineseCollation();

inline constexpr char kServerName[] = "KVETSTANDIN";

void envChangeText(ByteWriter& w, std::uint8_t type, const QString& now, const QString& before);
void envChangeCollation(ByteWriter& w, const QByteArray& collation);

struct ServerMessage {
    std::uint32_t number = 0;
    std::uint8_t state = 1;
    std::uint8_t severity = 0; // 10 and below: INFO; above: ERROR
    QString text;
    std::uint32_t line = 1;
};
void message(ByteWriter& w, const ServerMessage& m);

void loginAck(ByteWriter& w);
void done(ByteWriter& w, std::uint16_t status, std::uint64_t rows = 0, std::uint16_t command = 0xC1);

} // namespace kvet::tds
