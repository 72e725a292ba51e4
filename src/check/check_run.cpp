#include "check/check_run.h"

#include "check/check_connection.h"
#include "check/check_driver.h"
#include "check/check_settings.h"
#include "check/check_statements.h"
#include "data/connection.h"
#include "data/failure.h"
#include "data/odbc/odbc_backend.h"
#include "data/sqlite/demo_database.h"

#include <QDateTime>

namespace kvet::check {
namespace {

void checkSqlServer(const CheckOptions& options, Report& report)
{
    std::optional<ServerLogin> login = prepareServerLogin(options.settingsPath, report);
    if (!login)
        return;
    const LoginContext context{login->server, login->user, login->database};
    checkDatabase(*login->connection, sqlServerCatalog(), options.createViews, context, report);
}

void checkDemo(const CheckOptions& options, Report& report)
{
    std::unique_ptr<Backend> backend;
    if (!options.demoDatabase.isEmpty()) {
        report.info(QStringLiteral("演示数据库：") + options.demoDatabase + QStringLiteral("（不读取 kvet.ini）"));
        try {
            backend = openDemoFile(options.demoDatabase);
        } catch (const std::exception& e) {
            report.error(QStringLiteral("打不开演示数据库：") + messageOf(e));
            return;
        }
    } else {
        report.info(options.withoutViews ? QStringLiteral("演示数据库：内存中的示例数据，不含四个报表视图（不读取 kvet.ini）")
                                         : QStringLiteral("演示数据库：内存中的示例数据（不读取 kvet.ini）"));
        backend = createDemoBackend(QDateTime::currentDateTime(), !options.withoutViews);
    }
    Connection connection(std::move(backend));
    connection.setConnectionString(demoConnectionString());
    checkDatabase(connection, demoCatalog(), options.createViews, LoginContext{}, report);
}

} // namespace

std::optional<ServerLogin> prepareServerLogin(const QString& settingsPath, Report& report)
{
    const QString path = settingsPath.isEmpty() ? settingsPathBesideExecutable() : settingsPath;
    const SettingsCheck settings = checkSettings(path, report);

    auto backend = std::make_unique<OdbcBackend>();
    QStringList installed;
    try {
        installed = backend->installedDrivers();
    } catch (const std::exception& e) {
        report.error(QStringLiteral("ODBC 驱动管理器不可用：") + messageOf(e));
    }
    checkDriver(installed, settings.passwordDecodes ? maskedConnectionString(settings.settings) : QString(), report);

    if (!settings.passwordDecodes) {
        // kvet leaves its connection string unset then: a login attempt here
        // would only add a driver's complaint about the empty string, which
        // reads like a second, unrelated fault.
        report.info(QStringLiteral("密码不能解码，kvet 不会去连接数据库：跳过登录、视图和语句的检查"));
        return std::nullopt;
    }
    ServerLogin login;
    login.connection = std::make_unique<Connection>(std::move(backend));
    login.connection->setConnectionString(settings.connectionString);
    login.server = settings.settings.server;
    login.user = settings.settings.user;
    login.database = settings.settings.database;
    return login;
}

void checkDatabase(Connection& connection, const ViewCatalog& catalog, bool createViews,
                   const LoginContext& context, Report& report)
{
    if (!checkConnection(connection, context, report)) {
        report.info(QStringLiteral("没有连上数据库，跳过视图和语句的检查"));
        return;
    }
    checkServerFacts(connection, catalog, report);
    const auto missing = checkViews(connection, catalog, createViews, report);
    checkStatements(connection, missing.value_or(QSet<ReportingView>{}), report);
    try {
        connection.close();
    } catch (const std::exception& e) {
        report.warning(QStringLiteral("断开连接时出错：") + messageOf(e));
    }
}

int runCheck(const CheckOptions& options, Report& report)
{
    try {
        if (options.demo)
            checkDemo(options, report);
        else
            checkSqlServer(options, report);
    } catch (const std::exception& e) {
        report.error(QStringLiteral("检查中断：") + messageOf(e));
    } catch (...) {
        report.error(QStringLiteral("检查中断：未知的失败"));
    }
    const Finding summary = report.summary();
    report.add(summary.verdict, summary.text);
    return report.exitCode();
}

} // namespace kvet::check
