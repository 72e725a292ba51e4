#pragma once
// kvet-demo's command line: the dashboard on the embedded SQLite database.
#include <QString>
#include <QStringList>
#include <optional>

namespace kvet {

struct DemoOptions {
    bool withoutViews = false;  // start on a database lacking the four views
    QString database;           // run on this SQLite file as it is
    QString writeDatabase;      // write the generated sample here and exit
    QString snapshot;           // after the first full refresh: write the screen as JSON, exit
    QString screenshot;         // after the first full refresh: write a PNG of the window, exit
    bool help = false;
};

// Parses the arguments after the program name; nullopt with `error` set for
// an unknown option or a missing file name.
std::optional<DemoOptions> parseDemoOptions(const QStringList& arguments, QString& error);

QString demoUsage();

} // namespace kvet
