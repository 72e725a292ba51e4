// The whole screen at 1920 x 1080 on the demo database, and the ticker's
// 100-ms scroll step, which must repaint the band only, at 1920 x 1080 and
// 3840 x 2160. Offscreen, so the figures leave out the X server's share.
#include "app/main_window.h"
#include "bench_app.h"
#include "data/sqlite/demo_database.h"
#include "screen/panel.h"

#include <QCoreApplication>
#include <QPixmap>
#include <benchmark/benchmark.h>

namespace {

using namespace kvet;

std::unique_ptr<TForm1> filledScreen(int width = 1920, int height = 1080)
{
    bench::ensureApplication();
    WindowOptions o;
    o.readSettingsFile = false;
    o.errorBox = [](const QString&) {};
    auto form = std::make_unique<TForm1>(createDemoBackend(QDateTime::currentDateTime(), true), o);
    form->resize(width, height);
    form->show();
    form->scheduler().Timer4Timer();
    form->scheduler().Timer2Timer();
    form->scheduler().stop(); // the benchmark drives every step itself
    QCoreApplication::processEvents();
    return form;
}

void BM_WholeScreen1920x1080(benchmark::State& state)
{
    auto form = filledScreen();
    for (auto _ : state) {
        QPixmap picture = form->grab();
        benchmark::DoNotOptimize(picture);
    }
}
BENCHMARK(BM_WholeScreen1920x1080)->Unit(benchmark::kMillisecond);

// One scroll step as the timer runs it: move the grid one pixel and repaint
// what that exposes, which is inside the band.
// The ticker wraps round after its rows have passed, so the loop measures
// every kind of step: plain moves and the refill at the end of a pass.
void BM_TickerScrollStep(benchmark::State& state)
{
    auto form = filledScreen(int(state.range(0)), int(state.range(1)));
    for (auto _ : state) {
        form->scheduler().Timer1Timer();
        form->band().repaint();
    }
}
BENCHMARK(BM_TickerScrollStep)->Args({1920, 1080})->Args({3840, 2160})->Unit(benchmark::kMicrosecond);

} // namespace
