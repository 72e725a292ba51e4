#include "app/demo_options.h"

#include "data/sqlite/demo_accounts.h"

namespace kvet {

std::optional<DemoOptions> parseDemoOptions(const QStringList& arguments, QString& error)
{
    DemoOptions o;
    for (int i = 0; i < arguments.size(); ++i) {
        const QString& a = arguments[i];
        auto value = [&](QString& target) {
            if (i + 1 >= arguments.size() || arguments[i + 1].isEmpty()) {
                error = QStringLiteral("%1 needs a file name").arg(a);
                return false;
            }
            target = arguments[++i];
            return true;
        };
        if (a == QLatin1String("--without-views"))
            o.withoutViews = true;
        else if (a == QLatin1String("--help") || a == QLatin1String("-h"))
            o.help = true;
        else if (a == QLatin1String("--database")) {
            if (!value(o.database))
                return std::nullopt;
        } else if (a == QLatin1String("--write-database")) {
            if (!value(o.writeDatabase))
                return std::nullopt;
        } else if (a == QLatin1String("--snapshot")) {
            if (!value(o.snapshot))
                return std::nullopt;
        } else if (a == QLatin1String("--screenshot")) {
            if (!value(o.screenshot))
                return std::nullopt;
        } else if (a == QLatin1String("--at")) {
            const QDateTime at = i + 1 < arguments.size()
                                     ? QDateTime::fromString(arguments[i + 1], QStringLiteral("yyyy-MM-dd HH:mm:ss"))
                                     : QDateTime();
            if (!at.isValid()) {
                error = QStringLiteral("--at needs a local date and time \"YYYY-MM-DD HH:MM:SS\"");
                return std::nullopt;
            }
            o.at = at;
            ++i;
        } else if (a == QLatin1String("--accounts")) {
            bool number = false;
            const int count = i + 1 < arguments.size() ? arguments[i + 1].toInt(&number) : 0;
            if (!number || count < 1 || count > sqlite::kDemoMaxAccountCount) {
                error = QStringLiteral("--accounts needs a number of accounts from 1 to %1")
                            .arg(sqlite::kDemoMaxAccountCount);
                return std::nullopt;
            }
            o.accounts = count;
            ++i;
        } else if (a == QLatin1String("--deadline")) {
            bool number = false;
            const int seconds = i + 1 < arguments.size() ? arguments[i + 1].toInt(&number) : 0;
            if (!number || seconds < 1 || seconds > 86400) {
                error = QStringLiteral("--deadline needs a number of seconds from 1 to 86400");
                return std::nullopt;
            }
            o.deadlineSeconds = seconds;
            ++i;
        } else {
            error = QStringLiteral("unknown option: %1").arg(a);
            return std::nullopt;
        }
    }
    if (o.withoutViews && !o.database.isEmpty()) {
        error = QStringLiteral("--without-views applies to the generated database, not to --database");
        return std::nullopt;
    }
    if (o.accounts && o.writeDatabase.isEmpty()) {
        error = QStringLiteral("--accounts applies to --write-database");
        return std::nullopt;
    }
    if (o.at && !o.writeDatabase.isEmpty()) {
        error = QStringLiteral("--at applies to the database shown, not to --write-database");
        return std::nullopt;
    }
    return o;
}

QString demoUsage()
{
    return QStringLiteral(
        "usage: kvet-demo [--without-views | --database FILE] [--at \"YYYY-MM-DD HH:MM:SS\"]\n"
        "                 [--snapshot FILE.json] [--screenshot FILE.png] [--deadline SECONDS]\n"
        "       kvet-demo --write-database FILE [--accounts N]\n"
        "Runs the dashboard on an embedded SQLite database made at start from sample data.\n"
        "  --without-views        start without the four reporting views; the first refresh creates them\n"
        "  --database FILE        use an existing SQLite file with the demo schema, as it is\n"
        "  --at \"YYYY-MM-DD HH:MM:SS\"  the server's clock stands still at this local time; without it a file\n"
        "                         written by kvet-check --export shows its time of export, others the clock\n"
        "  --write-database FILE  write the generated sample database to FILE and exit\n"
        "  --accounts N           the written sample's number of accounts (default 30000), with payments\n"
        "                         and bills in proportion\n"
        "  --snapshot FILE.json   after the first full refresh, write the screen's state and exit\n"
        "  --screenshot FILE.png  after the first full refresh, write a picture of the window and exit\n"
        "  --deadline SECONDS     how long those two wait for the first full refresh (default 60); then they\n"
        "                         write what the screen shows and exit with code 3\n"
        "Exit codes: 0 done; 1 the database could not be made, opened or written; 2 wrong command line;\n"
        "3 the first full refresh did not finish in time; 4 the snapshot or screenshot could not be written.\n");
}

} // namespace kvet
