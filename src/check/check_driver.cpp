#include "check/check_driver.h"

#include "data/connection_string.h"
#include "data/failure.h"
#include "data/odbc/odbc_connection_string.h"
#include "data/odbc/odbc_driver_choice.h"

namespace kvet::check {

QString checkDriver(const QStringList& installed, const QString& maskedConnectionString, Report& report)
{
    if (installed.isEmpty())
        report.info(QStringLiteral("已安装的 ODBC 驱动：无"));
    else
        report.info(QStringLiteral("已安装的 ODBC 驱动：") + installed.join(QStringLiteral("、")));

    ConnectionStringPairs pairs;
    try {
        pairs = parseConnectionString(maskedConnectionString);
    } catch (const std::exception& e) {
        report.error(QStringLiteral("连接串无法拆分：") + messageOf(e));
        return {};
    }
    QString driver = odbc::explicitDriver(pairs);
    const bool named = !driver.isEmpty();
    if (!named)
        driver = odbc::chooseSqlServerDriver(installed);
    if (driver.isEmpty()) {
        report.error(QStringLiteral("没有可用的 SQL Server ODBC 驱动"));
#ifdef Q_OS_WIN
        report.hint(QStringLiteral("Windows 自带“SQL Server”驱动（odbcad32 的“驱动程序”页可见）；"
                                   "也可安装 Microsoft ODBC Driver 18 for SQL Server"));
#else
        report.hint(QStringLiteral("安装 FreeTDS 驱动（Debian：apt install tdsodbc）或 Microsoft ODBC Driver 18 for SQL Server（msodbcsql18）"));
#endif
        return {};
    }
    if (named && !installed.contains(driver, Qt::CaseInsensitive))
        report.warning(QStringLiteral("连接串指定的 ODBC 驱动“%1”不在已安装的驱动之中").arg(driver));
    else
        report.ok(QStringLiteral("选用的 ODBC 驱动：") + driver);
    if (odbc::driverFamily(driver) == odbc::DriverFamily::LegacyWindows)
        report.hint(QStringLiteral("Windows 自带的“SQL Server”驱动只支持旧的 TLS 版本；服务器要求 TLS 1.2 或加密时，"
                                   "请安装 Microsoft ODBC Driver 18 for SQL Server，kvet 会自动选用它"));
    // No connection string at all (the password did not decode): kvet hands
    // the driver nothing, so there is no ODBC string to show.
    if (!maskedConnectionString.isEmpty()) {
        try {
            report.info(QStringLiteral("ODBC 连接串：") + odbc::odbcConnectionString(pairs, driver));
        } catch (const DatabaseError& e) {
            report.error(e.message());
            return {};
        }
    }
    return driver;
}

} // namespace kvet::check
