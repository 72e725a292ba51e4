// kvet-demo's sample database, built as at start: it has to be ready by the
// start-up probe, half a second after the window appears, or the first full
// screen waits for it.
#include "data/sqlite/demo_database.h"

#include <QDateTime>
#include <benchmark/benchmark.h>

namespace {

void BM_DemoSampleBuild(benchmark::State& state)
{
    const QDateTime now = QDateTime::currentDateTime();
    for (auto _ : state)
        benchmark::DoNotOptimize(kvet::createDemoBackend(now, true));
}
BENCHMARK(BM_DemoSampleBuild)->Name("Sample/DemoBuildWithViews")->Unit(benchmark::kMillisecond);

} // namespace
