#pragma once
// TDS framing: the 8-byte packet header, messages split into packets and read
// back whole, and the little-endian byte writer every token is built with.
// Every socket wait is bounded and gives up when the server stops.
#include <QByteArray>
#include <QString>
#include <atomic>
#include <cstdint>

namespace kvet::tds {

// Packet types (first header byte).
enum PacketType : std::uint8_t {
    kSqlBatch = 0x01,
    kRpc = 0x03,
    kTabularResult = 0x04,
    kAttention = 0x06,
    kTransactionManager = 0x0E,
    kLogin7 = 0x10,
    kPreLogin = 0x12,
};

struct Message {
    std::uint8_t type = 0;
    QByteArray data; // every packet's payload, headers removed
};

// Appends little-endian fields, TDS strings and raw bytes.
class ByteWriter {
public:
    ByteWriter& u8(std::uint8_t v);
    ByteWriter& u16(std::uint16_t v);
    ByteWriter& u16be(std::uint16_t v);
    ByteWriter& u32(std::uint32_t v);
    ByteWriter& u32be(std::uint32_t v);
    ByteWriter& u64(std::uint64_t v);
    ByteWriter& bytes(const QByteArray& b);
    ByteWriter& utf16(const QString& s);        // UCS-2 LE, no length
    ByteWriter& bVarchar(const QString& s);     // 1-byte length in characters
    ByteWriter& usVarchar(const QString& s);    // 2-byte length in characters
    const QByteArray& data() const { return out_; }
    int size() const { return int(out_.size()); }

private:
    QByteArray out_;
};

std::uint16_t readU16(const QByteArray& b, int at);
std::uint32_t readU32(const QByteArray& b, int at);
// count UTF-16 code units at byte offset at; empty when out of range.
QString readUtf16(const QByteArray& b, int at, int count);

// One client's socket. Reads and writes whole messages.
class Link {
public:
    Link(int socket, const std::atomic<bool>& stopping, std::uint16_t spid);
    ~Link();
    Link(const Link&) = delete;
    Link& operator=(const Link&) = delete;

    // The next whole message; false when the peer closed, the server stops,
    // or nothing came within waitMs.
    bool read(Message& message, int waitMs);
    // True when a message is waiting or the peer closed, within waitMs.
    bool readable(int waitMs);
    // Sends payload as packets of at most packetSize bytes; false when the link is gone.
    bool write(std::uint8_t type, const QByteArray& payload);
    // Sends raw bytes as they are (a result cut short).
    bool writeRaw(const QByteArray& bytes);
    void setPacketSize(int size) { packetSize_ = size; }
    void close();
    bool open() const { return socket_ >= 0; }

private:
    bool readExactly(char* into, int bytes, int waitMs);

    int socket_;
    const std::atomic<bool>& stopping_;
    std::uint16_t spid_;
    int packetSize_ = 4096;
};

} // namespace kvet::tds
