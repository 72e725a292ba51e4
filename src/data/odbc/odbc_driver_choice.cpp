#include "data/odbc/odbc_driver_choice.h"

#include <QRegularExpression>

namespace kvet::odbc {
namespace {

// Version number of "ODBC Driver NN for SQL Server", or -1.
int microsoftDriverVersion(const QString& name)
{
    static const QRegularExpression pattern(
        QStringLiteral("^ODBC Driver (\\d+) for SQL Server$"), QRegularExpression::CaseInsensitiveOption);
    const auto match = pattern.match(name.trimmed());
    return match.hasMatch() ? match.captured(1).toInt() : -1;
}

// Version of "SQL Server Native Client NN.N" times ten, or -1.
int nativeClientVersion(const QString& name)
{
    static const QRegularExpression pattern(
        QStringLiteral("^SQL Server Native Client (\\d+)(?:\\.(\\d))?$"),
        QRegularExpression::CaseInsensitiveOption);
    const auto match = pattern.match(name.trimmed());
    return match.hasMatch() ? match.captured(1).toInt() * 10 + match.captured(2).toInt() : -1;
}

bool isNamed(const QString& name, const char* wanted)
{
    return name.trimmed().compare(QLatin1String(wanted), Qt::CaseInsensitive) == 0;
}

} // namespace

QString chooseSqlServerDriver(const QStringList& installed)
{
    // Rank: 18 and 17 first, then other Microsoft versions by number, then the rest.
    auto rank = [](const QString& name) -> long {
        const int microsoft = microsoftDriverVersion(name);
        if (microsoft == 18)
            return 4'000'000;
        if (microsoft == 17)
            return 3'999'999;
        if (microsoft >= 0)
            return 3'000'000 + qMin(microsoft, 999'998);
        if (isNamed(name, "FreeTDS"))
            return 2'000'000;
        const int native = nativeClientVersion(name);
        if (native >= 0)
            return 1'000'000 + qMin(native, 999'998);
        if (isNamed(name, "SQL Server"))
            return 1;
        return 0;
    };
    QString best;
    long bestRank = 0;
    for (const QString& name : installed) {
        const long r = rank(name);
        if (r > bestRank) {
            best = name;
            bestRank = r;
        }
    }
    return best;
}

DriverFamily driverFamily(const QString& driverName)
{
    const QString name = driverName.trimmed();
    if (microsoftDriverVersion(name) >= 0 || name.contains(QLatin1String("msodbcsql"), Qt::CaseInsensitive))
        return DriverFamily::Microsoft;
    if (name.contains(QLatin1String("FreeTDS"), Qt::CaseInsensitive)
        || name.contains(QLatin1String("tdsodbc"), Qt::CaseInsensitive))
        return DriverFamily::FreeTds;
    if (nativeClientVersion(name) >= 0)
        return DriverFamily::NativeClient;
    if (isNamed(name, "SQL Server"))
        return DriverFamily::LegacyWindows;
    return DriverFamily::Other;
}

} // namespace kvet::odbc
