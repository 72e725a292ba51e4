#include "odbc_test_drivers.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#ifndef Q_OS_WIN
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>
#endif

namespace kvet::test {
namespace {

// Where Debian and other Unix systems install ODBC driver libraries.
QString findDriverLibrary(const QString& fileName)
{
    QStringList folders{QStringLiteral("/usr/lib/odbc"), QStringLiteral("/usr/lib64"),
                        QStringLiteral("/usr/local/lib"), QStringLiteral("/usr/local/lib/odbc"),
                        QStringLiteral("/usr/lib")};
    const QDir lib(QStringLiteral("/usr/lib"));
    for (const QString& triplet : lib.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        folders << lib.filePath(triplet + QStringLiteral("/odbc")) << lib.filePath(triplet);
    }
    for (const QString& folder : folders) {
        const QFileInfo candidate(QDir(folder).filePath(fileName));
        if (candidate.exists())
            return candidate.absoluteFilePath();
    }
    return {};
}

OdbcTestDrivers registerDrivers()
{
    OdbcTestDrivers drivers;
#ifndef Q_OS_WIN
    static QTemporaryDir folder;
    const QString sqlite = findDriverLibrary(QStringLiteral("libsqlite3odbc.so"));
    const QString freeTds = findDriverLibrary(QStringLiteral("libtdsodbc.so"));
    QByteArray ini;
    if (!sqlite.isEmpty()) {
        ini += "[kvet SQLite3]\nDriver=" + QFile::encodeName(sqlite) + "\n\n";
        drivers.sqlite = QStringLiteral("kvet SQLite3");
    }
    if (!freeTds.isEmpty()) {
        ini += "[FreeTDS]\nDriver=" + QFile::encodeName(freeTds) + "\n\n";
        drivers.freeTds = QStringLiteral("FreeTDS");
    }
    QFile file(folder.filePath(QStringLiteral("odbcinst.ini")));
    if (!folder.isValid() || !file.open(QIODevice::WriteOnly) || file.write(ini) != ini.size())
        return {};
    file.close();
    qputenv("ODBCSYSINI", QFile::encodeName(folder.path()));
    qputenv("ODBCINSTINI", "odbcinst.ini");
#endif
    return drivers;
}

// Registered while the test program starts, before any test reaches the
// driver manager (which reads the variables once).
[[maybe_unused]] const bool registeredAtStart = (odbcTestDrivers(), true);

} // namespace

const OdbcTestDrivers& odbcTestDrivers()
{
    static const OdbcTestDrivers drivers = registerDrivers();
    return drivers;
}

#ifndef Q_OS_WIN
SilentLoopbackServer::SilentLoopbackServer()
{
    socket_ = ::socket(AF_INET, SOCK_STREAM, 0);
    if (socket_ < 0)
        return;
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (::bind(socket_, reinterpret_cast<sockaddr*>(&address), length) != 0
        || ::getsockname(socket_, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        ::close(socket_);
        socket_ = -1;
        return;
    }
    port_ = ntohs(address.sin_port);
}

SilentLoopbackServer::~SilentLoopbackServer()
{
    if (socket_ >= 0)
        ::close(socket_);
}

bool SilentLoopbackServer::listen()
{
    return socket_ >= 0 && ::listen(socket_, 8) == 0;
}

int closedLoopbackPort()
{
    // Bound but never listening: connections to it are refused, and no other
    // program can take the port while the test runs.
    static SilentLoopbackServer reserved;
    return reserved.port();
}
#endif

} // namespace kvet::test
