#include "settings/connection_settings.h"

#include "settings/ini_file.h"
#include "settings/password_codec.h"
#include "data/connection_string.h"

#include <QCoreApplication>
#include <QDir>

namespace kvet {

void ConnectionSettings::clear()
{
    database.clear();
    server.clear();
    user.clear();
    password.clear();
}

QString settingsPathBesideExecutable()
{
    return QDir::toNativeSeparators(QCoreApplication::applicationDirPath()
                                    + QStringLiteral("/kvet.ini"));
}

void readConnectionSettings(const QString& path, ConnectionSettings& settings)
{
    const QString section = QStringLiteral("option");
    settings.database = readProfileString(path, section, QStringLiteral("mydata"));
    settings.server = readProfileString(path, section, QStringLiteral("my"));
    settings.user = readProfileString(path, section, QStringLiteral("user"));
    settings.password.clear();
    const QString stored = readProfileString(path, section, QStringLiteral("password"));
    settings.password = decodePassword(stored);
}

QString connectionStringFor(const ConnectionSettings& settings)
{
    return buildConnectionString(settings.password, settings.user, settings.database,
                                 settings.server);
}

} // namespace kvet
