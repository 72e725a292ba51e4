// kvet-demo: the very same window, scheduler and panels as kvet, on an
// embedded SQLite database instead of the utility's SQL Server.
#include "app/application.h"
#include "app/demo_options.h"
#include "app/main_window.h"
#include "app/snapshot.h"
#include "data/failure.h"
#include "data/sqlite/demo_database.h"

#include <QDateTime>
#include <QFile>
#include <QTimer>
#include <cstdio>

namespace {

// How long a snapshot waits for the first full refresh before it writes what
// the screen shows (a probe that keeps failing never starts the refresh).
constexpr int kSnapshotDeadlineMs = 60000;

bool writeFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size();
}

} // namespace

int main(int argc, char** argv)
{
    kvet::prepareProcess();
    kvet::KvetApplication app(argc, argv);
    QString error;
    const auto options = kvet::parseDemoOptions(app.arguments().mid(1), error);
    if (!options || options->help) {
        std::fputs(qPrintable((options ? QString() : error + "\n") + kvet::demoUsage()), options ? stdout : stderr);
        return options ? 0 : 2;
    }

    std::unique_ptr<kvet::Backend> backend;
    try {
        if (!options->writeDatabase.isEmpty()) {
            kvet::writeDemoDatabase(options->writeDatabase, QDateTime::currentDateTime());
            return 0;
        }
        backend = options->database.isEmpty()
                      ? kvet::createDemoBackend(QDateTime::currentDateTime(), !options->withoutViews)
                      : kvet::openDemoFile(options->database);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "kvet-demo: %s\n", qPrintable(kvet::messageOf(e)));
        return 1;
    }

    const bool capture = !options->snapshot.isEmpty() || !options->screenshot.isEmpty();
    kvet::TForm1* formPtr = nullptr;
    int exitCode = 0;
    auto captureAndQuit = [&](bool refreshed) {
        if (!formPtr)
            return;
        if (!options->snapshot.isEmpty() &&
            !writeFile(options->snapshot, kvet::snapshotJson(kvet::captureScreen(*formPtr))))
            exitCode = 1;
        if (!options->screenshot.isEmpty() && !formPtr->grab().save(options->screenshot, "PNG"))
            exitCode = 1;
        if (!refreshed) {
            std::fputs("kvet-demo: the first full refresh did not finish in time\n", stderr);
            exitCode = exitCode ? exitCode : 3;
        }
        formPtr = nullptr; // once
        app.quit();
    };

    kvet::WindowOptions windowOptions;
    windowOptions.readSettingsFile = false;
    windowOptions.connectionString = QStringLiteral("Provider=SQLite;Data Source=kvet-demo");
    if (capture) {
        // Let the batch's last repaint and the close of its connection finish first.
        windowOptions.onFirstRefreshDone = [&] { QTimer::singleShot(0, &app, [&] { captureAndQuit(true); }); };
    }
    kvet::TForm1 form(std::move(backend), windowOptions);
    formPtr = &form;
    app.setUncaughtHandler([&form](const QString& m) { form.showUncaught(m); });
    if (capture)
        QTimer::singleShot(kSnapshotDeadlineMs, &app, [&] { captureAndQuit(false); });
    form.showFullScreenMaximized();
    const int code = app.exec();
    return exitCode ? exitCode : code;
}
