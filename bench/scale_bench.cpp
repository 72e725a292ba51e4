// The dashboard on sample files of 30 000 and 300 000 accounts
// (bench_samples.h): each routine of a refresh batch (Button5 is the ticker's
// refill) on an open connection, as the batch runs them between two
// message-loop passes, and the first full screen: the window made on the file,
// the start-up probe and the first full refresh run at once, without the two
// 500-ms timers that wait for them in the program.
#include "app/main_window.h"
#include "bench_app.h"
#include "bench_samples.h"

#include <QCoreApplication>
#include <benchmark/benchmark.h>

namespace {

using namespace kvet;

WindowOptions benchOptions()
{
    WindowOptions o;
    o.readSettingsFile = false;
    o.errorBox = [](const QString&) {};
    return o;
}

// Probe and first full refresh done; nothing left to the timers.
std::unique_ptr<TForm1> filledScreen(int accounts)
{
    auto form = std::make_unique<TForm1>(openDemoFileAt(bench::sampleFile(accounts), bench::kSampleMoment),
                                         benchOptions());
    form->resize(1920, 1080);
    form->show();
    form->scheduler().Timer4Timer();
    form->scheduler().Timer2Timer();
    form->scheduler().stop();
    QCoreApplication::processEvents();
    return form;
}

void BM_ScaledBatchRoutine(benchmark::State& state, const char* routine)
{
    bench::ensureApplication();
    const std::unique_ptr<TForm1> form = filledScreen(int(state.range(0)));
    form->connection().open();
    for (auto _ : state) {
        form->runRoutine(QString::fromLatin1(routine));
        QCoreApplication::processEvents();
    }
}

#define KVET_SCALED_ROUTINE(button, name)                                                                  \
    BENCHMARK_CAPTURE(BM_ScaledBatchRoutine, button, #button)                                              \
        ->Name("Scale/" #button "_" name)                                                                  \
        ->Apply(bench::forEachSize)                                                                        \
        ->Unit(benchmark::kMillisecond)

KVET_SCALED_ROUTINE(Button1Click, "PaymentChannels");
KVET_SCALED_ROUTINE(Button2Click, "DailyWorkload");
KVET_SCALED_ROUTINE(Button3Click, "YearlyCharges");
KVET_SCALED_ROUTINE(Button4Click, "FeeRecovery");
KVET_SCALED_ROUTINE(Button5Click, "TickerRefill");
KVET_SCALED_ROUTINE(Button6Click, "WaterUseCategories");
KVET_SCALED_ROUTINE(Button8Click, "ReadingStatus");

void BM_ScaledFirstScreen(benchmark::State& state)
{
    bench::ensureApplication();
    const int accounts = int(state.range(0));
    bench::sampleFile(accounts); // written before the clock runs
    for (auto _ : state) {
        std::unique_ptr<TForm1> form = filledScreen(accounts);
        state.PauseTiming();
        form.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_ScaledFirstScreen)->Name("Scale/FirstScreen")->Apply(bench::forEachSize)->Unit(benchmark::kMillisecond);

} // namespace
