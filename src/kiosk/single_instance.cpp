#include "kiosk/single_instance.h"

#include <QDir>
#include <QFileInfo>
#include <QLocalSocket>
#include <QRegularExpression>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace kvet {
namespace {

// What a second start sends; anything else on the socket is ignored.
constexpr char kActivate[] = "activate\n";

// How long a second start waits for the first to answer, in milliseconds: the
// first is busy only between two panels of a refresh batch.
constexpr int kAnswerWaitMs = 2000;

QString userName()
{
    for (const char* variable : {"USER", "USERNAME", "LOGNAME"}) {
        const QString value = qEnvironmentVariable(variable);
        if (!value.isEmpty())
            return value;
    }
    return QStringLiteral("user");
}

} // namespace

QString singleInstanceName(const QString& user, const QString& runtimeDir, quint32 windowsSession)
{
    static const QRegularExpression unsafe(QStringLiteral("[^A-Za-z0-9._-]"));
    QString safeUser = user;
    safeUser.replace(unsafe, QStringLiteral("_"));
    if (safeUser.isEmpty())
        safeUser = QStringLiteral("user");
    const QString base = QStringLiteral("kvet-") + safeUser;
#ifdef Q_OS_WIN
    Q_UNUSED(runtimeDir);
    return base + QStringLiteral("-s") + QString::number(windowsSession);
#else
    Q_UNUSED(windowsSession);
    if (!runtimeDir.isEmpty() && QFileInfo(runtimeDir).isDir())
        return QDir(runtimeDir).filePath(base);
    return base;
#endif
}

QString sessionSingleInstanceName()
{
#ifdef Q_OS_WIN
    DWORD session = 0;
    ProcessIdToSessionId(GetCurrentProcessId(), &session);
    return singleInstanceName(userName(), QString(), quint32(session));
#else
    return singleInstanceName(userName(), qEnvironmentVariable("XDG_RUNTIME_DIR"));
#endif
}

SingleInstance::SingleInstance(QString name, QObject* parent) : QObject(parent), name_(std::move(name))
{
    connect(&server_, &QLocalServer::newConnection, this, &SingleInstance::accept);
}

bool SingleInstance::claim()
{
    QLocalSocket running;
    running.connectToServer(name_);
    if (running.waitForConnected(kAnswerWaitMs)) {
#ifdef Q_OS_WIN
        // Windows lets only the foreground process hand the foreground on;
        // a process just started by the user (or at logon) is that one.
        AllowSetForegroundWindow(ASFW_ANY);
#endif
        running.write(kActivate);
        running.waitForBytesWritten(kAnswerWaitMs);
        running.disconnectFromServer();
        if (running.state() != QLocalSocket::UnconnectedState)
            running.waitForDisconnected(kAnswerWaitMs);
        return false;
    }

    // Only this user may connect; the name already carries the user.
    server_.setSocketOptions(QLocalServer::UserAccessOption);
    if (server_.listen(name_))
        return true;
    if (server_.serverError() == QAbstractSocket::AddressInUseError) {
        // Left behind by a dashboard that did not end cleanly: nobody
        // answered above, so nobody listens on it.
        QLocalServer::removeServer(name_);
        server_.listen(name_);
    }
    return true;
}

void SingleInstance::accept()
{
    while (QLocalSocket* socket = server_.nextPendingConnection()) {
        auto readRequest = [this, socket] {
            while (socket->canReadLine()) {
                if (socket->readLine(64) == kActivate)
                    emit activationRequested();
            }
            // A peer that sends more than a line without ending it is not
            // a dashboard; drop it.
            if (socket->bytesAvailable() > 64)
                socket->abort();
        };
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, readRequest);
        readRequest(); // what arrived before the connection above
    }
}

} // namespace kvet
