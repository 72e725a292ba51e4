#pragma once
// The four connection settings of kvet.ini, read once while the main window
// is created and turned at once into the connection string.
#include <QString>

namespace kvet {

struct ConnectionSettings {
    QString database; // key "mydata"
    QString server;   // key "my"
    QString user;     // key "user"
    QString password; // key "password", decoded

    void clear();
};

// kvet.ini in the executable's own folder; the file is looked for nowhere else.
QString settingsPathBesideExecutable();

// Reads "mydata", "my", "user" and "password" from section "option" of the
// file at `path`, in that order, storing each of the first three as read.
// Missing file, section or key read as empty text. When the stored password
// does not decode to UTF-8 text, kvet::Failure propagates: the first three
// fields keep what was read and the password stays empty (the caller shows
// the error and leaves the connection string unset).
void readConnectionSettings(const QString& path, ConnectionSettings& settings);

// The connection string for these settings.
QString connectionStringFor(const ConnectionSettings& settings);

} // namespace kvet
