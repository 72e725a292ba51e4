// kvet-demo: the very same window, scheduler and panels as kvet, on an
// embedded SQLite database instead of the utility's SQL Server.
#include "app/application.h"
#include "app/command_line.h"
#include "app/console_text.h"
#include "app/demo_options.h"
#include "app/main_window.h"
#include "app/snapshot.h"
#include "data/failure.h"
#include "data/pending_backend.h"
#include "data/sqlite/demo_database.h"
#include "data/sqlite/demo_sample_size.h"

#include <QDateTime>
#include <QFile>
#include <QImageWriter>
#include <QTimer>
#include <cstdio>
#include <future>
#include <optional>
#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace {

void complain(const QString& message)
{
    kvet::writeText(stderr, QStringLiteral("kvet-demo: %1\n").arg(message));
}

// Empty when written, else why not.
QString writeFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return f.errorString();
    if (f.write(bytes) != bytes.size() || !f.flush())
        return f.errorString();
    return {};
}

QString writePng(const QString& path, const QImage& image)
{
    QImageWriter writer(path, "PNG");
    return writer.write(image) ? QString() : writer.errorString();
}

// --help, a wrong command line and --write-database: answered before any
// application object, so that they work from a shell without a display.
// nullopt when the window is to come up.
std::optional<int> answerWithoutWindow(const std::optional<kvet::DemoOptions>& options, const QString& error)
{
    if (!options || options->help) {
        const QString text = options ? kvet::demoUsage() : error + QStringLiteral("\n") + kvet::demoUsage();
        kvet::writeText(options ? stdout : stderr, text);
        return options ? kvet::kDemoExitOk : kvet::kDemoExitUsage;
    }
    if (options->writeDatabase.isEmpty())
        return std::nullopt;
    try {
        kvet::writeDemoDatabase(options->writeDatabase, QDateTime::currentDateTime(),
                                options->accounts.value_or(kvet::sqlite::kDemoAccountCount));
        return kvet::kDemoExitOk;
    } catch (const std::exception& e) {
        complain(kvet::messageOf(e));
        return kvet::kDemoExitDatabase;
    }
}

// The sample, built on a thread of its own while the window comes up and its
// start-up timers run; the probe waits for it if need be. A failed build ends
// the program with its reason once the event loop runs.
std::unique_ptr<kvet::Backend> sampleBeingBuilt(const kvet::DemoOptions& options, QCoreApplication& app)
{
#if defined(__GLIBC__)
    // One malloc arena for all threads: what the build frees is used again
    // by the window's thread, instead of staying in an arena of the build's
    // own (about 3 MB more for as long as the program runs).
    mallopt(M_ARENA_MAX, 1);
#endif
    const std::optional<QDateTime> at = options.at;
    const bool withViews = !options.withoutViews;
    return std::make_unique<kvet::PendingBackend>(
        std::async(std::launch::async, [&app, at, withViews]() -> std::unique_ptr<kvet::Backend> {
            try {
                if (at)
                    return kvet::createDemoBackend(*at, withViews, [at] { return *at; });
                return kvet::createDemoBackend(QDateTime::currentDateTime(), withViews);
            } catch (const std::exception& e) {
                const QString message = kvet::messageOf(e);
                QMetaObject::invokeMethod(
                    &app,
                    [message] {
                        complain(message);
                        QCoreApplication::exit(kvet::kDemoExitDatabase);
                    },
                    Qt::QueuedConnection);
                throw;
            }
        }));
}

// --snapshot and --screenshot: the screen as it stands, written once the
// first full refresh has finished (refreshed) or the deadline has passed;
// the exit code that tells which, and whether the files were written.
int writeCapture(kvet::TForm1& form, const kvet::DemoOptions& options, bool refreshed)
{
    int exitCode = kvet::kDemoExitOk;
    const kvet::ScreenState state = kvet::captureScreen(form);
    if (!refreshed) {
        // What the status cell shows is the reason: the probe's failure, or
        // the panel statement still running.
        complain(QStringLiteral("the first full refresh did not finish within %1 s; the status cell shows: %2")
                     .arg(options.deadlineSeconds)
                     .arg(state.status.isEmpty() ? QStringLiteral("(nothing)") : state.status));
        exitCode = kvet::kDemoExitNotRefreshed;
    }
    if (!options.snapshot.isEmpty()) {
        const QString why = writeFile(options.snapshot, kvet::snapshotJson(state));
        if (!why.isEmpty()) {
            complain(QStringLiteral("cannot write the snapshot %1: %2").arg(options.snapshot, why));
            exitCode = kvet::kDemoExitNotWritten;
        }
    }
    if (!options.screenshot.isEmpty()) {
        const QString why = writePng(options.screenshot, form.grab().toImage());
        if (!why.isEmpty()) {
            complain(QStringLiteral("cannot write the screenshot %1: %2").arg(options.screenshot, why));
            exitCode = kvet::kDemoExitNotWritten;
        }
    }
    return exitCode;
}

} // namespace

int main(int argc, char** argv)
{
    kvet::prepareProcess();
    kvet::attachParentConsole();
    QString error;
    const auto options = kvet::parseDemoOptions(kvet::commandLineArguments(argc, argv), error);
    if (const std::optional<int> answered = answerWithoutWindow(options, error))
        return *answered;

    kvet::KvetApplication app(argc, argv);
    std::unique_ptr<kvet::Backend> backend;
    if (options->database.isEmpty()) {
        backend = sampleBeingBuilt(*options, app);
    } else {
        try {
            backend = kvet::openDemoFileAt(options->database, options->at);
        } catch (const std::exception& e) {
            complain(kvet::messageOf(e));
            return kvet::kDemoExitDatabase;
        }
    }

    const bool capture = !options->snapshot.isEmpty() || !options->screenshot.isEmpty();
    kvet::TForm1* formPtr = nullptr;
    int exitCode = kvet::kDemoExitOk;
    auto captureAndQuit = [&](bool refreshed) {
        if (!formPtr)
            return;
        exitCode = writeCapture(*formPtr, *options, refreshed);
        formPtr = nullptr; // once
        app.quit();
    };

    kvet::WindowOptions windowOptions;
    windowOptions.readSettingsFile = false;
    windowOptions.connectionString = kvet::demoConnectionString();
    if (capture) {
        // Let the batch's last repaint and the close of its connection finish first.
        windowOptions.onFirstRefreshDone = [&] { QTimer::singleShot(0, &app, [&] { captureAndQuit(true); }); };
    }
    kvet::TForm1 form(std::move(backend), windowOptions);
    formPtr = &form;
    app.setUncaughtHandler([&form](const QString& m) { form.showUncaught(m); });
    if (capture)
        QTimer::singleShot(options->deadlineSeconds * 1000, &app, [&] { captureAndQuit(false); });
    form.showFullScreenMaximized();
    const int code = app.exec();
    return exitCode ? exitCode : code;
}
