#include "check/check_options.h"

namespace kvet::check {

std::optional<CommandLine> parseCommandLine(const QStringList& arguments, QString& error)
{
    CommandLine line;
    QStringList files;
    for (int i = 0; i < arguments.size(); ++i) {
        const QString& a = arguments[i];
        if (a == QLatin1String("--export")) {
            if (i + 1 >= arguments.size() || arguments[i + 1].isEmpty() || arguments[i + 1].startsWith(QLatin1Char('-'))) {
                error = QStringLiteral("--export 后面要给导出的文件名");
                return std::nullopt;
            }
            line.check.exportFile = arguments[++i];
        } else if (a == QLatin1String("--force"))
            line.check.force = true;
        else if (a == QLatin1String("--help") || a == QLatin1String("-h") || a == QLatin1String("/?"))
            line.help = true;
        else if (a == QLatin1String("--demo"))
            line.check.demo = true;
        else if (a == QLatin1String("--without-views"))
            line.check.withoutViews = true;
        else if (a == QLatin1String("--create-views"))
            line.check.createViews = true;
        else if (a == QLatin1String("--encode-password"))
            line.encodePassword = true;
        else if (a.startsWith(QLatin1Char('-')) && a.size() > 1) {
            error = QStringLiteral("未知的选项：") + a;
            return std::nullopt;
        } else
            files << a;
    }
    if (files.size() > 1) {
        error = QStringLiteral("只能给一个文件：") + files.join(QLatin1Char(' '));
        return std::nullopt;
    }
    if (line.encodePassword && (line.check.demo || line.check.createViews || line.check.withoutViews || !files.isEmpty())) {
        error = QStringLiteral("--encode-password 不和其他选项或文件一起用");
        return std::nullopt;
    }
    if (line.check.force && line.check.exportFile.isEmpty()) {
        error = QStringLiteral("--force 只用于 --export");
        return std::nullopt;
    }
    if (!line.check.exportFile.isEmpty()
        && (line.check.demo || line.check.createViews || line.check.withoutViews || line.encodePassword)) {
        error = QStringLiteral("--export 只和 kvet.ini 及 --force 一起用");
        return std::nullopt;
    }
    if (line.check.withoutViews && !line.check.demo) {
        error = QStringLiteral("--without-views 只用于 --demo");
        return std::nullopt;
    }
    if (line.check.withoutViews && !files.isEmpty()) {
        error = QStringLiteral("--without-views 不和演示数据库文件一起用");
        return std::nullopt;
    }
    if (!files.isEmpty()) {
        if (line.check.demo)
            line.check.demoDatabase = files.first();
        else
            line.check.settingsPath = files.first();
    }
    return line;
}

QString usage()
{
    return QStringLiteral(
        "用法：\n"
        "  kvet-check [kvet.ini] [--create-views]\n"
        "      检查设置文件（默认是 kvet-check 旁边的 kvet.ini）和它指向的数据库\n"
        "  kvet-check --demo [--without-views | 演示数据库文件] [--create-views]\n"
        "      在演示数据库上做同样的检查\n"
        "  kvet-check [kvet.ini] --export 文件 [--force]\n"
        "      把大屏读取的数据从数据库导出成演示数据库文件，用 kvet-demo --database 文件 查看\n"
        "      （只读；账户的户名和地址只导出滚动条显示的那些；--force 替换已有的文件）\n"
        "  kvet-check --encode-password\n"
        "      输入密码（不回显），打印它的 Base64，填到 kvet.ini 的 password=\n"
        "\n"
        "  --create-views   创建缺少的报表视图（kvet-check 只有这一项会写数据库）\n"
        "\n"
        "退出码：0 一切正常；1 有错误或警告；2 命令行有误\n");
}

} // namespace kvet::check
