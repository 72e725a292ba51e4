#pragma once
// The two messages before a session: PRELOGIN (answered with encryption "not
// supported", so that FreeTDS logs in in clear) and LOGIN7, whose strings are
// read back exactly as the client sent them.
#include <QByteArray>
#include <QString>
#include <cstdint>

namespace kvet::tds {

// The PRELOGIN answer: version, encryption 0x02 (not supported), no
// instance, MARS off.
QByteArray preLoginReply();

struct Login7 {
    std::uint32_t tdsVersion = 0; // as the client sent it (little-endian on the wire)
    std::uint32_t packetSize = 0;
    QString hostName, userName, password, appName, serverName, libraryName, language, database;
    bool valid = false;
};

// Reads a LOGIN7 message; the password is undone from its nibble swap and XOR 0xA5.
Login7 parseLogin7(const QByteArray& data);

// The password bytes as a client obfuscates them (for tests of the decoder).
QByteArray obfuscatePassword(const QString& password);

} // namespace kvet::tds
