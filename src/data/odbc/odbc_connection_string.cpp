#include "data/odbc/odbc_connection_string.h"

#include "data/failure.h"

namespace kvet::odbc {
namespace {

void append(QString& out, const char* key, const QString& value)
{
    out += QLatin1String(key);
    out += u'=';
    out += quoteOdbcValue(value);
    out += u';';
}

// The program's name for each ODBC keyword, for the message that refuses a
// value FreeTDS cannot receive.
QString settingName(const char* key)
{
    static const struct {
        const char* odbc;
        const char* program;
    } names[] = {{"SERVER", "Data Source"}, {"PORT", "Data Source"}, {"DATABASE", "Initial Catalog"},
                 {"UID", "User ID"},        {"PWD", "Password"},     {"WSID", "Workstation ID"}};
    for (const auto& n : names) {
        if (qstrcmp(n.odbc, key) == 0)
            return QLatin1String(n.program);
    }
    return QLatin1String(key);
}

void appendFreeTds(QString& out, const char* key, const QString& value)
{
    const std::optional<QString> quoted = quoteFreeTdsValue(value);
    if (!quoted)
        throw DatabaseError(QStringLiteral("The FreeTDS driver cannot receive a %1 that holds \"}\" together "
                                           "with \";\" or a leading \"{\"; change it or use Microsoft's "
                                           "ODBC Driver for SQL Server")
                                .arg(settingName(key)),
                            QStringLiteral("IM012"));
    out += QLatin1String(key);
    out += u'=';
    out += *quoted;
    out += u';';
}

bool isTrue(const QString& value)
{
    const QString v = value.trimmed();
    return v.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0
        || v.compare(QLatin1String("yes"), Qt::CaseInsensitive) == 0 || v == QLatin1String("1");
}

QString valueOf(const ConnectionStringPairs& pairs, const char* key, const char* synonym = nullptr)
{
    if (hasConnectionStringKey(pairs, QLatin1String(key)) || !synonym)
        return connectionStringValue(pairs, QLatin1String(key));
    return connectionStringValue(pairs, QLatin1String(synonym));
}

} // namespace

QString dataSourceOf(const ConnectionStringPairs& pairs)
{
    return valueOf(pairs, "Data Source", "Server");
}

QString tcpHost(const QString& host)
{
    if (host == QLatin1String(".") || host.compare(QLatin1String("(local)"), Qt::CaseInsensitive) == 0)
        return QStringLiteral("127.0.0.1");
    return host;
}

ServerAddress parseDataSource(const QString& dataSource)
{
    QString rest = dataSource.trimmed();
    if (rest.startsWith(QLatin1String("tcp:"), Qt::CaseInsensitive))
        rest = rest.mid(4).trimmed();
    ServerAddress address;
    const qsizetype comma = rest.lastIndexOf(u',');
    if (comma >= 0) {
        address.port = rest.mid(comma + 1).trimmed();
        rest = rest.left(comma).trimmed();
    }
    const qsizetype backslash = rest.indexOf(u'\\');
    if (backslash >= 0) {
        address.instance = rest.mid(backslash + 1).trimmed();
        rest = rest.left(backslash).trimmed();
    }
    address.host = rest;
    return address;
}

bool isOdbcPassthrough(const QString& programString)
{
    return programString.startsWith(QLatin1String("ODBC;"), Qt::CaseInsensitive);
}

QString odbcPassthroughText(const QString& programString)
{
    return programString.mid(5);
}

QString explicitDriver(const ConnectionStringPairs& pairs)
{
    return connectionStringValue(pairs, QStringLiteral("Driver")).trimmed();
}

QString quoteOdbcValue(const QString& value)
{
    static const QString special = QStringLiteral(";{}= \t");
    bool braces = false;
    for (const QChar c : value) {
        if (special.contains(c)) {
            braces = true;
            break;
        }
    }
    if (!braces)
        return value;
    QString escaped = value;
    escaped.replace(u'}', QStringLiteral("}}"));
    return u'{' + escaped + u'}';
}

std::optional<QString> quoteFreeTdsValue(const QString& value)
{
    // FreeTDS 1.3 reads a value without braces up to the next ';', blanks
    // and all, and a braced one up to the first "};" without undoing doubled
    // braces (later versions do undo them), while the driver manager reads
    // the string by the standard rules. Only the forms every reader reads
    // alike are used: bare where possible, braced only when nothing in the
    // value is a '}'.
    const bool needsBraces = value.contains(u';') || value.startsWith(u'{');
    if (!needsBraces)
        return value;
    if (value.contains(u'}'))
        return std::nullopt;
    return u'{' + value + u'}';
}

QString odbcConnectionString(const ConnectionStringPairs& pairs, const QString& driverName)
{
    const DriverFamily family = driverFamily(driverName);
    const bool freeTds = family == DriverFamily::FreeTds;
    const auto append = [&](QString& out, const char* key, const QString& value) {
        if (freeTds)
            appendFreeTds(out, key, value);
        else
            kvet::odbc::append(out, key, value);
    };
    const QString dataSource = dataSourceOf(pairs);

    QString out = QStringLiteral("DRIVER={");
    out += QString(driverName).replace(u'}', QStringLiteral("}}"));
    out += QStringLiteral("};");

    if (family == DriverFamily::FreeTds) {
        const ServerAddress address = parseDataSource(dataSource);
        // FreeTDS resolves names itself, but not the Windows aliases.
        const QString host = tcpHost(address.host);
        if (!address.port.isEmpty() || address.instance.isEmpty()) {
            append(out, "SERVER", host);
            if (!address.port.isEmpty())
                append(out, "PORT", address.port);
        } else {
            append(out, "SERVER", host + u'\\' + address.instance);
        }
    } else {
        append(out, "SERVER", dataSource);
    }
    append(out, "DATABASE", valueOf(pairs, "Initial Catalog", "Database"));
    append(out, "UID", valueOf(pairs, "User ID"));
    append(out, "PWD", valueOf(pairs, "Password"));
    if (hasConnectionStringKey(pairs, QStringLiteral("Workstation ID")))
        append(out, "WSID", valueOf(pairs, "Workstation ID"));

    switch (family) {
    case DriverFamily::FreeTds:
        out += QStringLiteral("TDS_Version=7.4;ClientCharset=UTF-8;Timeout=%1;").arg(kLoginTimeoutSeconds);
        break;
    case DriverFamily::Microsoft:
    case DriverFamily::NativeClient:
        if (isTrue(valueOf(pairs, "Use Encryption for Data")))
            out += QStringLiteral("Encrypt=yes;");
        else
            out += QStringLiteral("Encrypt=no;TrustServerCertificate=yes;");
        [[fallthrough]];
    case DriverFamily::LegacyWindows:
        if (hasConnectionStringKey(pairs, QStringLiteral("Auto Translate")))
            out += isTrue(valueOf(pairs, "Auto Translate")) ? QStringLiteral("AutoTranslate=yes;")
                                                             : QStringLiteral("AutoTranslate=no;");
        break;
    case DriverFamily::Other:
        break;
    }
    out.chop(1); // the last ';'
    return out;
}

} // namespace kvet::odbc
