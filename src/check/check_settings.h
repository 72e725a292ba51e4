#pragma once
// The first part of kvet-check: what kvet.ini says, as kvet reads it, and the
// connection string kvet would hand to its connection (password masked).
#include "settings/connection_settings.h"
#include "check/check_report.h"

#include <QString>

namespace kvet::check {

// Stands in for a password wherever a connection string is shown; the same
// length for every password, so that nothing of it shows.
inline constexpr char kMaskedPassword[] = "******";

struct SettingsCheck {
    ConnectionSettings settings;
    bool passwordDecodes = true;
    // What kvet applies to its connection: empty when the password does not
    // decode (kvet then leaves the connection string unset).
    QString connectionString;
};

// Reads the file as kvet does and reports the file, the three plain values,
// the password only as set or empty and whether it decodes, and the
// connection string with the password masked.
SettingsCheck checkSettings(const QString& path, Report& report);

// The connection string of these settings with the password replaced by
// kMaskedPassword (an empty password stays empty).
QString maskedConnectionString(const ConnectionSettings& settings);

// True when the stored value is the Base64 of what it decodes to, apart from
// padding, blanks and line breaks: a value that is not (a password written in
// plain text, a cut value) decodes leniently to something else.
bool isCanonicalPasswordValue(const QString& stored);

} // namespace kvet::check
