#include "tds_standin/tds_wire.h"

#include <QDeadlineTimer>
#include <cerrno>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace kvet::tds {

ByteWriter& ByteWriter::u8(std::uint8_t v)
{
    out_.append(char(v));
    return *this;
}
ByteWriter& ByteWriter::u16(std::uint16_t v)
{
    return u8(v & 0xFF).u8(v >> 8);
}
ByteWriter& ByteWriter::u16be(std::uint16_t v)
{
    return u8(v >> 8).u8(v & 0xFF);
}
ByteWriter& ByteWriter::u32(std::uint32_t v)
{
    return u16(v & 0xFFFF).u16(v >> 16);
}
ByteWriter& ByteWriter::u32be(std::uint32_t v)
{
    return u16be(v >> 16).u16be(v & 0xFFFF);
}
ByteWriter& ByteWriter::u64(std::uint64_t v)
{
    return u32(std::uint32_t(v)).u32(std::uint32_t(v >> 32));
}
ByteWriter& ByteWriter::bytes(const QByteArray& b)
{
    out_.append(b);
    return *this;
}
ByteWriter& ByteWriter::utf16(const QString& s)
{
    for (const QChar c : s)
        u16(c.unicode());
    return *this;
}
ByteWriter& ByteWriter::bVarchar(const QString& s)
{
    return u8(std::uint8_t(s.size())).utf16(s.left(255));
}
ByteWriter& ByteWriter::usVarchar(const QString& s)
{
    return u16(std::uint16_t(s.size())).utf16(s);
}

std::uint16_t readU16(const QByteArray& b, int at)
{
    if (at < 0 || at + 2 > b.size())
        return 0;
    return std::uint16_t(std::uint8_t(b[at]) | std::uint8_t(b[at + 1]) << 8);
}

std::uint32_t readU32(const QByteArray& b, int at)
{
    return readU16(b, at) | std::uint32_t(readU16(b, at + 2)) << 16;
}

QString readUtf16(const QByteArray& b, int at, int count)
{
    if (at < 0 || count < 0 || at + 2 * count > b.size())
        return {};
    QString s;
    for (int i = 0; i < count; ++i)
        s += QChar(readU16(b, at + 2 * i));
    return s;
}

Link::Link(int socket, const std::atomic<bool>& stopping, std::uint16_t spid)
    : socket_(socket), stopping_(stopping), spid_(spid)
{
}

Link::~Link()
{
    close();
}

void Link::close()
{
    if (socket_ >= 0) {
        ::shutdown(socket_, SHUT_RDWR);
        ::close(socket_);
    }
    socket_ = -1;
}

bool Link::readable(int waitMs)
{
    QDeadlineTimer deadline(waitMs);
    while (socket_ >= 0 && !stopping_) {
        pollfd p{socket_, POLLIN, 0};
        const int slice = int(qMin<qint64>(50, qMax<qint64>(0, deadline.remainingTime())));
        const int rc = ::poll(&p, 1, slice);
        if (rc > 0)
            return true;
        if (rc < 0 && errno != EINTR)
            return false;
        if (deadline.hasExpired())
            return false;
    }
    return false;
}

bool Link::readExactly(char* into, int bytes, int waitMs)
{
    QDeadlineTimer deadline(waitMs);
    int got = 0;
    while (got < bytes) {
        if (!readable(int(qMax<qint64>(0, deadline.remainingTime()))))
            return false;
        const ssize_t n = ::recv(socket_, into + got, size_t(bytes - got), 0);
        if (n <= 0) {
            if (n < 0 && errno == EINTR)
                continue;
            close();
            return false;
        }
        got += int(n);
    }
    return true;
}

bool Link::read(Message& message, int waitMs)
{
    message = Message{};
    for (;;) {
        char header[8];
        if (!readExactly(header, 8, waitMs))
            return false;
        const int length = std::uint8_t(header[2]) << 8 | std::uint8_t(header[3]);
        if (length < 8 || length > 65535) {
            close();
            return false;
        }
        QByteArray payload(length - 8, Qt::Uninitialized);
        if (!readExactly(payload.data(), length - 8, 10000))
            return false;
        message.type = std::uint8_t(header[0]);
        message.data += payload;
        if (std::uint8_t(header[1]) & 0x01)
            return true;
    }
}

bool Link::writeRaw(const QByteArray& bytes)
{
    int sent = 0;
    while (socket_ >= 0 && sent < bytes.size()) {
        const ssize_t n = ::send(socket_, bytes.constData() + sent, size_t(bytes.size() - sent), MSG_NOSIGNAL);
        if (n <= 0) {
            if (n < 0 && errno == EINTR)
                continue;
            close();
            return false;
        }
        sent += int(n);
    }
    return socket_ >= 0;
}

bool Link::write(std::uint8_t type, const QByteArray& payload)
{
    const int room = packetSize_ - 8;
    int at = 0;
    std::uint8_t packetId = 1;
    do {
        const int chunk = qMin(room, int(payload.size()) - at);
        const bool last = at + chunk >= payload.size();
        ByteWriter w;
        w.u8(type).u8(last ? 0x01 : 0x00).u16be(std::uint16_t(chunk + 8)).u16be(spid_).u8(packetId++).u8(0);
        w.bytes(payload.mid(at, chunk));
        if (!writeRaw(w.data()))
            return false;
        at += chunk;
    } while (at < payload.size());
    return true;
}

} // namespace kvet::tds
