#pragma once
// kvet-demo's command line: the dashboard on the embedded SQLite database.
#include <QDateTime>
#include <QString>
#include <QStringList>
#include <optional>

namespace kvet {

struct DemoOptions {
    bool withoutViews = false;  // start on a database lacking the four views
    QString database;           // run on this SQLite file as it is
    QString writeDatabase;      // write the generated sample here and exit
    std::optional<int> accounts; // the written sample's number of accounts (default 30 000)
    QString snapshot;           // after the first full refresh: write the screen as JSON, exit
    QString screenshot;         // after the first full refresh: write a PNG of the window, exit
    std::optional<QDateTime> at; // the server clock pinned here (getdate() and the demo's "now")
    int deadlineSeconds = 60;   // how long a snapshot or screenshot waits for that refresh
    bool help = false;
};

// Parses the arguments after the program name; nullopt with `error` set for
// an unknown option or a missing file name.
std::optional<DemoOptions> parseDemoOptions(const QStringList& arguments, QString& error);

QString demoUsage();

// kvet-demo's exit codes.
enum DemoExit : int {
    kDemoExitOk = 0,
    kDemoExitDatabase = 1,      // the database could not be made, opened or written
    kDemoExitUsage = 2,         // a wrong command line
    kDemoExitNotRefreshed = 3,  // the first full refresh did not finish in time (the files hold what showed)
    kDemoExitNotWritten = 4,    // the snapshot or the screenshot could not be written
};

} // namespace kvet
