// Each routine of a refresh batch on the demo database, one at a time on an
// open connection, as the batch runs them between message-loop passes: the
// longest of them is the longest the screen can stand still during a batch.
#include "app/main_window.h"
#include "bench_app.h"
#include "data/sqlite/demo_database.h"

#include <QCoreApplication>
#include <benchmark/benchmark.h>

namespace {

using namespace kvet;

std::unique_ptr<TForm1> openScreen()
{
    bench::ensureApplication();
    WindowOptions o;
    o.readSettingsFile = false;
    o.errorBox = [](const QString&) {};
    auto made = std::make_unique<TForm1>(createDemoBackend(QDateTime::currentDateTime(), true), o);
    made->resize(1920, 1080);
    made->show();
    made->scheduler().Timer4Timer();
    made->scheduler().Timer2Timer();
    made->scheduler().stop(); // the benchmark runs every routine itself
    made->connection().open();
    QCoreApplication::processEvents();
    return made;
}

void BM_BatchRoutine(benchmark::State& state, const char* routine)
{
    const std::unique_ptr<TForm1> form = openScreen();
    for (auto _ : state) {
        form->runRoutine(QString::fromLatin1(routine));
        // What the routine changed is painted in the next pass, also part of
        // the time the screen does not move.
        QCoreApplication::processEvents();
    }
}

BENCHMARK_CAPTURE(BM_BatchRoutine, Button1, "Button1Click")->Name("Batch/Button1_PaymentChannels")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_BatchRoutine, Button2, "Button2Click")->Name("Batch/Button2_DailyWorkload")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_BatchRoutine, Button3, "Button3Click")->Name("Batch/Button3_YearlyCharges")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_BatchRoutine, Button4, "Button4Click")->Name("Batch/Button4_FeeRecovery")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_BatchRoutine, Button5, "Button5Click")->Name("Batch/Button5_RecentPayments")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_BatchRoutine, Button6, "Button6Click")->Name("Batch/Button6_WaterUseCategories")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_BatchRoutine, Button8, "Button8Click")->Name("Batch/Button8_ReadingStatus")->Unit(benchmark::kMillisecond);

} // namespace
