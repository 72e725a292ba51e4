#include "app/server_answer_check.h"

#include "data/connection_string.h"
#include "data/odbc/odbc_connection_string.h"

#include <QTcpSocket>

namespace kvet {

std::optional<TdsEndpoint> tdsEndpoint(const QString& programString)
{
    if (odbc::isOdbcPassthrough(programString))
        return std::nullopt;
    ConnectionStringPairs pairs;
    try {
        pairs = parseConnectionString(programString);
    } catch (...) {
        return std::nullopt; // the probe itself reports the string
    }
    const odbc::ServerAddress address = odbc::parseDataSource(odbc::dataSourceOf(pairs));
    if (address.host.isEmpty() || address.host.contains(u':'))
        return std::nullopt; // np:, lpc: and other non-TCP forms
    TdsEndpoint endpoint;
    endpoint.host = odbc::tcpHost(address.host);
    if (!address.port.isEmpty()) {
        bool ok = false;
        const uint port = address.port.toUInt(&ok);
        if (!ok || port == 0 || port > 65535)
            return std::nullopt;
        endpoint.port = quint16(port);
    } else if (!address.instance.isEmpty()) {
        return std::nullopt;
    }
    return endpoint;
}

QByteArray preLoginRequest()
{
    // Header: type 0x12 (PRELOGIN), status 0x01 (end of message), length
    // (big-endian), SPID 0, packet 1, window 0. Payload: the VERSION option
    // (token 0, offset 6, length 6), the terminator 0xFF, then the version
    // data (major, minor, build, sub-build); a server answers any version.
    static const char packet[] = {'\x12', '\x01', '\x00', '\x14', '\x00', '\x00', '\x01', '\x00',
                                  '\x00', '\x00', '\x06', '\x00', '\x06', '\xFF',
                                  '\x01', '\x00', '\x00', '\x00', '\x00', '\x00'};
    return QByteArray(packet, sizeof packet);
}

ServerAnswerCheck::ServerAnswerCheck(QObject* parent) : QObject(parent)
{
    deadline_.setSingleShot(true);
    connect(&deadline_, &QTimer::timeout, this, [this] { finish(false); });
}

ServerAnswerCheck::~ServerAnswerCheck()
{
    // Nobody waits for an answer any more; the socket goes without signals.
    done_ = nullptr;
    if (socket_)
        socket_->disconnect(this);
}

void ServerAnswerCheck::ask(const TdsEndpoint& endpoint, int timeoutMs, std::function<void(bool)> done)
{
    if (done_)
        finish(false);
    done_ = std::move(done);
    socket_ = std::make_unique<QTcpSocket>();
    connect(socket_.get(), &QTcpSocket::connected, this, [this] { socket_->write(preLoginRequest()); });
    // Any bytes back mean a TDS server is there and talking.
    connect(socket_.get(), &QTcpSocket::readyRead, this, [this] { finish(true); });
    connect(socket_.get(), &QAbstractSocket::errorOccurred, this, [this] { finish(false); });
    deadline_.start(timeoutMs);
    socket_->connectToHost(endpoint.host, endpoint.port);
}

void ServerAnswerCheck::finish(bool answered)
{
    if (!done_)
        return;
    std::function<void(bool)> done = std::exchange(done_, nullptr);
    deadline_.stop();
    socket_->disconnect(this);
    socket_->abort();
    // The socket may be inside one of its own signals: it goes later.
    socket_.release()->deleteLater();
    done(answered);
}

} // namespace kvet
