// A month on the wall, compressed: the real window, scheduler and panels on
// the demo database (a fifth of it, see thinOut), shown (offscreen) so that
// every chart and the grid repaint, with the server clock moving ten minutes
// per periodic batch and a payment coming in each time. The timers are driven directly: one periodic
// batch (Timer3Timer) and, in between, the ticker's passes ending in a refill
// (Timer1Timer), 40 000 over 4 320 batches as in 30 days of ten-minute
// batches and 65-second passes.
//
// Every hundred batches it records resident memory and the handle counts. It
// fails when memory grows by more than 2 MB from the first record to the last,
// or when a count grows at all: SQLite statements left open, query objects
// holding a result, objects owned by the window, top-level windows.
//
// CI runs 300 batches. The whole month:
//   KVET_SOAK_FULL=1 build-rel/reliability_tests --gtest_filter='Soak.*'
#include "reliability/demo_window.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QWidget>
#include <cstdio>
#include <cstdlib>
#include <gtest/gtest.h>

#if defined(Q_OS_LINUX)
#include <unistd.h>
#endif

#if defined(__SANITIZE_ADDRESS__)
#define KVET_UNDER_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define KVET_UNDER_ASAN 1
#endif
#endif

namespace kvet::testing {
namespace {

struct Record {
    int batch = 0;
    double residentMb = -1; // -1 where the system does not tell
    int openStatements = 0;
    int activeQueries = 0;
    int windowObjects = 0;
    int topLevelWindows = 0;
};

double residentMb()
{
#if defined(Q_OS_LINUX)
    long pages = 0, resident = 0;
    if (FILE* f = std::fopen("/proc/self/statm", "r")) {
        const int read = std::fscanf(f, "%ld %ld", &pages, &resident);
        std::fclose(f);
        if (read == 2)
            return double(resident) * double(sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0);
    }
#endif
    return -1;
}

Record record(DemoWindow& w, int batch)
{
    Record r;
    r.batch = batch;
    r.residentMb = residentMb();
    r.openStatements = w.database().openStatementCount();
    r.activeQueries = w.form().connection().activeQueryCount();
    r.windowObjects = int(w.form().findChildren<QObject*>().size());
    r.topLevelWindows = int(QApplication::topLevelWidgets().size());
    return r;
}

// Keeps every fifth account, payment and bill: each statement then takes a
// fifth of the time, while every chart keeps its number of points (channels,
// months, days), but for the water-use pie: three categories keep more than
// 100 accounts instead of five.
void thinOut(DemoWindow& w)
{
    w.sql(QStringLiteral("DELETE FROM sf_sr WHERE lsh % 5 != 0"));
    w.sql(QStringLiteral("DELETE FROM sf_yh WHERE rowid % 5 != 0"));
    w.sql(QStringLiteral("DELETE FROM sf_yhsf WHERE rowid % 5 != 0"));
    w.sql(QStringLiteral("VACUUM"));
}

void newPayment(DemoWindow& w)
{
    // The oldest payment goes as a new one comes, so the table keeps its size
    // and the memory curve shows the program, not the sample growing.
    w.sql(QStringLiteral("DELETE FROM sf_sr WHERE lsh = (SELECT min(lsh) FROM sf_sr)"));
    w.sql(QStringLiteral("INSERT INTO sf_sr (tzh, je, ren, rq) VALUES ((SELECT tzh FROM sf_yh ORDER BY random() "
                         "LIMIT 1), 88.5, 'ZFB', '%1')")
              .arg(w.now().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"))));
}

TEST(Soak, AMonthOfBatchesAndTickerPassesHoldsMemoryAndHandles)
{
    const bool full = qEnvironmentVariableIntValue("KVET_SOAK_FULL") == 1;
    const int batches = full ? 4320 : 300;
    const int refills = full ? 40000 : 2778;

    DemoWindow w;
    w.plan().keepLog = false;
    thinOut(w);
    w.form().resize(1920, 1080);
    w.form().show();
    QApplication::processEvents();
    w.scheduler().Timer4Timer();
    w.scheduler().Timer2Timer();
    ASSERT_FALSE(w.scheduler().timer2().isActive());

    std::vector<Record> records;
    QElapsedTimer clock;
    clock.start();
    int refillsDone = 0;
    for (int batch = 1; batch <= batches; ++batch) {
        w.setNow(w.now().addSecs(600));
        newPayment(w);
        w.scheduler().Timer3Timer();
        const int due = int(std::int64_t(batch) * refills / batches) - refillsDone;
        for (int pass = 0; pass < due; ++pass) {
            for (int step = 0; step < 3; ++step)
                w.scheduler().Timer1Timer(); // the grid moves up
            w.endTickerPass();
            QApplication::processEvents(); // the grid repaints
            ++refillsDone;
        }
        if (batch % 100 == 0)
            records.push_back(record(w, batch));
    }
    const double seconds = double(clock.elapsed()) / 1000.0;

    std::printf("soak: %d batches, %d refills in %.1f s\n", batches, refillsDone, seconds);
    std::printf("soak: batch  resident MB  statements  queries  objects  windows\n");
    for (const Record& r : records)
        std::printf("soak: %5d  %11.2f  %10d  %7d  %7d  %7d\n", r.batch, r.residentMb, r.openStatements,
                    r.activeQueries, r.windowObjects, r.topLevelWindows);

    EXPECT_EQ(refillsDone, refills);
    EXPECT_TRUE(w.errorBoxes().isEmpty());
    ASSERT_GE(records.size(), 2u);
    const Record& first = records.front();
    for (const Record& r : records) {
        SCOPED_TRACE("batch " + std::to_string(r.batch));
        EXPECT_EQ(r.openStatements, 0);
        EXPECT_LE(r.activeQueries, first.activeQueries);
        EXPECT_LE(r.windowObjects, first.windowObjects);
        EXPECT_LE(r.topLevelWindows, first.topLevelWindows);
    }
#ifdef KVET_UNDER_ASAN
    std::printf("soak: resident memory not judged under AddressSanitizer (its quarantine holds freed blocks)\n");
#else
    if (first.residentMb >= 0) {
        EXPECT_LE(records.back().residentMb - first.residentMb, 2.0) << "resident memory grew";
    }
#endif
    // The screen is still the live one: the newest payment heads the ticker.
    EXPECT_EQ(w.screen().status, w.scalar(QStringLiteral("SELECT max(lsh) FROM sf_sr")));
}

} // namespace
} // namespace kvet::testing
