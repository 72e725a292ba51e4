#include "check/check_connection.h"

#include "check/check_hints.h"
#include "data/connection.h"
#include "data/failure.h"

#include <QDateTime>
#include <QElapsedTimer>

namespace kvet::check {

bool checkConnection(Connection& connection, const LoginContext& context, Report& report)
{
    const QString started = QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    QElapsedTimer clock;
    clock.start();
    auto took = [&clock] { return QString::number(double(clock.elapsed()) / 1000.0, 'f', 2); };
    try {
        connection.open();
    } catch (const std::exception& e) {
        report.error(QStringLiteral("连接失败（%1 开始，用时 %2 秒）：%3").arg(started, took(), messageOf(e)));
        const auto* database = dynamic_cast<const DatabaseError*>(&e);
        const LoginProblem problem = database ? classifyLoginFailure(*database) : LoginProblem::Unknown;
        for (const QString& hint : loginHints(problem, context.server, context.user, context.database))
            report.hint(hint);
        return false;
    }
    report.ok(QStringLiteral("连接成功（%1 开始，用时 %2 秒）").arg(started, took()));
    return true;
}

} // namespace kvet::check
