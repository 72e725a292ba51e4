#pragma once
// What to look at when kvet cannot log in: the common causes, recognised from
// the driver's SQLSTATE, the server's error number and the message text.
#include <QString>
#include <QStringList>

namespace kvet {
class DatabaseError;
}

namespace kvet::check {

enum class LoginProblem {
    Unknown,
    NoDriver,            // no SQL Server ODBC driver installed
    ServerUnreachable,   // server name, instance, port, service, firewall
    LoginRefused,        // wrong user or password, or SQL Server authentication disabled
    WindowsAuthOnly,     // the server accepts only Windows logins
    LoginLocked,         // locked out after failed attempts
    PasswordExpired,     // expired or must be changed before use
    DatabaseUnavailable, // "mydata" names no database the login may open
    Encryption,          // TLS handshake, certificate, encryption required
};

LoginProblem classifyLoginFailure(const QString& message, const QString& state, long nativeCode);
LoginProblem classifyLoginFailure(const DatabaseError& error);

// The hint lines for a problem; `server`, `user` and `database` are the
// settings, quoted in the hints where they help.
QStringList loginHints(LoginProblem problem, const QString& server, const QString& user, const QString& database);

} // namespace kvet::check
