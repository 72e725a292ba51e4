#pragma once
// Whether the database server answers at all, found out without blocking the
// user-interface thread: a TCP connection to the server's port and a TDS
// PRELOGIN, whose reply any SQL Server sends before a login. The start-up
// probe's retries ask this first, so that a host that takes connections and
// never answers costs the screen nothing while it stays that way.
#include <QObject>
#include <QString>
#include <QTimer>
#include <functional>
#include <memory>
#include <optional>

class QTcpSocket;

namespace kvet {

struct TdsEndpoint {
    QString host;
    quint16 port = 1433;
    bool operator==(const TdsEndpoint&) const = default;
};

// The host and TCP port the program's connection string leads to; nothing
// when the port is not known beforehand (a named instance without a port,
// whose port the driver asks the server's browser service for; an ODBC string
// of the installer's own; a string that does not parse).
std::optional<TdsEndpoint> tdsEndpoint(const QString& programString);

// The PRELOGIN packet sent to ask (version option only, TDS 7.4 framing).
QByteArray preLoginRequest();

class ServerAnswerCheck : public QObject {
    Q_OBJECT
public:
    explicit ServerAnswerCheck(QObject* parent = nullptr);
    ~ServerAnswerCheck() override;

    // Calls `done` once, from the event loop, with whether the server at
    // `endpoint` answered within `timeoutMs` (an earlier question still open
    // is answered false first).
    void ask(const TdsEndpoint& endpoint, int timeoutMs, std::function<void(bool answered)> done);

private:
    void finish(bool answered);

    std::unique_ptr<QTcpSocket> socket_;
    QTimer deadline_;
    std::function<void(bool)> done_;
};

} // namespace kvet
