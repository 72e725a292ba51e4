#include "check/check_hints.h"

#include "data/failure.h"

#include <initializer_list>

namespace kvet::check {
namespace {

bool containsAny(const QString& text, std::initializer_list<const char*> needles)
{
    for (const char* needle : needles)
        if (text.contains(QLatin1String(needle), Qt::CaseInsensitive))
            return true;
    return false;
}

} // namespace

LoginProblem classifyLoginFailure(const QString& message, const QString& state, long nativeCode)
{
    // The server's own error numbers first: they are the most precise.
    switch (nativeCode) {
    case 18452:
        return LoginProblem::WindowsAuthOnly;
    case 18456:
        return LoginProblem::LoginRefused;
    case 18486:
        return LoginProblem::LoginLocked;
    case 18487:
    case 18488:
        return LoginProblem::PasswordExpired;
    case 4060:
        return LoginProblem::DatabaseUnavailable;
    default:
        break;
    }
    // Encryption before reachability: a failed handshake is reported with the
    // same SQLSTATE 08001 as a server that is not there.
    if (containsAny(message, {"SSL", "TLS", "encrypt", "certificate", "handshake", "SECDoClientHandshake",
                              "security package", "SEC_E_"}))
        return LoginProblem::Encryption;
    if (state == QLatin1String("IM002") || containsAny(message, {"No ODBC driver", "Can't open lib", "Driver not found",
                                                                  "Data source name not found"}))
        return LoginProblem::NoDriver;
    if (containsAny(message, {"untrusted domain", "Windows authentication only"}))
        return LoginProblem::WindowsAuthOnly;
    if (containsAny(message, {"Login failed"}))
        return LoginProblem::LoginRefused;
    if (containsAny(message, {"Cannot open database"}))
        return LoginProblem::DatabaseUnavailable;
    if (state == QLatin1String("08001") || state == QLatin1String("08S01") || state == QLatin1String("HYT00") ||
        containsAny(message, {"Unable to connect", "unavailable or does not exist", "actively refused",
                              "network-related", "Login timeout expired", "server was not found",
                              "does not exist or access denied", "Connection refused", "Unknown host",
                              "Named Pipes Provider", "TCP Provider"}))
        return LoginProblem::ServerUnreachable;
    return LoginProblem::Unknown;
}

LoginProblem classifyLoginFailure(const DatabaseError& error)
{
    return classifyLoginFailure(error.message(), error.state(), error.nativeCode());
}

QStringList loginHints(LoginProblem problem, const QString& server, const QString& user, const QString& database)
{
    switch (problem) {
    case LoginProblem::NoDriver:
        return {QStringLiteral("没有可用的 SQL Server ODBC 驱动：Windows 自带“SQL Server”驱动；"
                               "Linux 上安装 tdsodbc（FreeTDS）或 Microsoft 的 msodbcsql18")};
    case LoginProblem::ServerUnreachable:
        return {QStringLiteral("连不上服务器“%1”：检查 kvet.ini 中 my= 的服务器名、实例名或端口"
                               "（写法：主机、主机\\实例 或 主机,端口）").arg(server),
                QStringLiteral("在服务器上检查：SQL Server 服务是否在运行，SQL Server 配置管理器里 TCP/IP 是否已启用，"
                               "防火墙是否放行端口（默认实例 TCP 1433）；命名实例还需要 SQL Server Browser 服务（UDP 1434），"
                               "或在 my= 里直接写端口")};
    case LoginProblem::LoginRefused:
        return {QStringLiteral("登录名“%1”被拒绝：检查 user= 和 password=（password= 是密码 UTF-8 字节的 Base64，"
                               "可用 kvet-check --encode-password 生成）").arg(user),
                QStringLiteral("服务器须启用“SQL Server 和 Windows 身份验证模式”（服务器属性 → 安全性，改后重启服务），"
                               "否则 SQL Server 登录名一律被拒绝；登录名须已启用、未锁定，且默认数据库可以打开"),
                QStringLiteral("确切原因只记在服务器的错误日志里（错误 18456 后的“状态”号）")};
    case LoginProblem::WindowsAuthOnly:
        return {QStringLiteral("服务器只允许 Windows 身份验证：在服务器属性 → 安全性 中选择“SQL Server 和 Windows 身份验证模式”，"
                               "然后重启 SQL Server 服务")};
    case LoginProblem::LoginLocked:
        return {QStringLiteral("登录名“%1”因多次密码错误被锁定：请数据库管理员解锁"
                               "（ALTER LOGIN [%1] WITH PASSWORD = '…' UNLOCK）").arg(user)};
    case LoginProblem::PasswordExpired:
        return {QStringLiteral("登录名“%1”的密码已过期或必须修改：请数据库管理员重设密码，"
                               "给仪表板用的登录名关闭 CHECK_EXPIRATION，再更新 kvet.ini 的 password=").arg(user)};
    case LoginProblem::DatabaseUnavailable:
        return {QStringLiteral("打不开数据库“%1”：检查 mydata= 的库名，并确认登录名“%2”在该库中有用户").arg(database, user)};
    case LoginProblem::Encryption:
        return {QStringLiteral("加密连接没有建立：服务器可能强制加密，或只允许 TLS 1.2 而驱动太旧"
                               "（Windows 自带的“SQL Server”驱动不支持 TLS 1.2）"),
                QStringLiteral("请安装 Microsoft ODBC Driver 18 for SQL Server（kvet 会自动选用它，并信任服务器证书）；"
                               "FreeTDS 需要带 TLS 支持的版本")};
    case LoginProblem::Unknown:
        break;
    }
    return {QStringLiteral("未能识别这个失败；请把上面的消息交给数据库管理员")};
}

} // namespace kvet::check
