#pragma once
// The real window, scheduler and panels, on the ODBC backend pointed at the
// stand-in or on the SQLite backend over the same rows. The timers never fire
// by themselves: the tests call the scheduler's slots.
#include "app/main_window.h"
#include "app/snapshot.h"

#include <QStringList>
#include <memory>

namespace kvet::testing {

SchedulerIntervals manualTimers();

struct Dashboard {
    std::unique_ptr<TForm1> form;
    QStringList errorBoxes;

    Scheduler& scheduler() { return form->scheduler(); }
    QByteArray snapshot() { return snapshotJson(captureScreen(*form)); }
    QString status() { return captureScreen(*form).status; }
    // Probe, then the first full refresh.
    void startUp();
};

// On the production engine, logging in with connectionString; askServer as
// kvet itself runs it (probe retries ask the server first).
std::unique_ptr<Dashboard> odbcDashboard(const QString& connectionString, bool askServer = false);
// On the demo engine over database.
std::unique_ptr<Dashboard> sqliteDashboard(std::unique_ptr<Backend> database);

// The charts and rows a snapshot holds, for comparing fill states.
int filledCharts(TForm1& form);
int filledTickerRows(TForm1& form);

} // namespace kvet::testing
