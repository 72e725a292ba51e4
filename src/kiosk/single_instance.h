#pragma once
// One dashboard per session: the first kvet listens on a local socket named
// for the user; a second start finds it, asks it to come to the front and
// ends, so that an autostart entry plus a start by hand never put two
// windows on the screen and two sets of queries on the database.
#include <QLocalServer>
#include <QObject>
#include <QString>

namespace kvet {

// The socket's name for a user: on Windows a pipe name that also carries the
// session number (the same user may sit at two sessions); elsewhere a path in
// the session's runtime folder when there is one, else a name that Qt puts
// in the temporary folder. `user` is reduced to characters safe in a name.
QString singleInstanceName(const QString& user, const QString& runtimeDir, quint32 windowsSession = 0);

// The name for the user and session this process runs in.
QString sessionSingleInstanceName();

class SingleInstance : public QObject {
    Q_OBJECT
public:
    explicit SingleInstance(QString name = sessionSingleInstanceName(), QObject* parent = nullptr);

    // True when this process is the session's dashboard (it now listens).
    // False when another one answered: it has been asked to come to the
    // front, and this process should end. A socket that cannot be set up
    // (an odd temporary folder) does not keep the dashboard from running.
    bool claim();

    const QString& name() const { return name_; }

signals:
    // A second start asked this dashboard to come to the front.
    void activationRequested();

private:
    void accept();

    QString name_;
    QLocalServer server_;
};

} // namespace kvet
