#include "app/demo_options.h"

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
        } else {
            error = QStringLiteral("unknown option: %1").arg(a);
            return std::nullopt;
        }
    }
    if (o.withoutViews && !o.database.isEmpty()) {
        error = QStringLiteral("--without-views applies to the generated database, not to --database");
        return std::nullopt;
    }
    return o;
}

QString demoUsage()
{
    return QStringLiteral(
        "usage: kvet-demo [--without-views | --database FILE] [--snapshot FILE.json] [--screenshot FILE.png]\n"
        "       kvet-demo --write-database FILE\n"
        "Runs the dashboard on an embedded SQLite database made at start from sample data.\n"
        "  --without-views        start without the four reporting views; the first refresh creates them\n"
        "  --database FILE        use an existing SQLite file with the demo schema, as it is\n"
        "  --write-database FILE  write the generated sample database to FILE and exit\n"
        "  --snapshot FILE.json   after the first full refresh, write the screen's state and exit\n"
        "  --screenshot FILE.png  after the first full refresh, write a picture of the window and exit\n");
}

} // namespace kvet
