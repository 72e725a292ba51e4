// Cost of drawing the six dashboard charts offscreen at 640 x 360 (the size on
// a 1920 x 1080 screen), filled as a live refresh fills them.
#include "bench_app.h"
#include "chart/chart_renderer.h"
#include "panels/panel_table.h"

#include <QApplication>
#include <QFont>
#include <QPainter>
#include <benchmark/benchmark.h>
#include <memory>
#include <vector>

namespace {

using namespace kvet;
using namespace kvet::chart;

void ensureApplication() { kvet::bench::ensureApplication(); }

QString month(int m) { return QStringLiteral("%1月").arg(m, 2, 10, QLatin1Char('0')); }

void addAll(Series& s, const std::vector<double>& values, const QStringList& labels, const QColor& color)
{
    s.clear();
    for (std::size_t i = 0; i < values.size(); ++i)
        s.add(values[i], labels.value(int(i)), color);
}

std::unique_ptr<ChartWidget> liveChart(int number)
{
    auto w = kvet::panels::makePanelChart(
        kvet::panels::panelByChart(kvet::panels::dashboardPanels(), QStringLiteral("Chart%1").arg(number)), 1.0, nullptr);
    Chart& m = w->model();
    QStringList months, days;
    for (int i = 1; i <= 31; ++i) {
        months << month(i);
        days << QStringLiteral("%1日").arg(i);
    }
    switch (number) {
    case 1:
        addAll(m.series(0), {8120, 5230, 3410, 1520, 410, 260},
               {"微信", "柜台", "支付宝", "银行代扣", "自助终端", "网上营业厅"}, kAutoColor);
        break;
    case 2:
        addAll(m.series(0), {245, 231, 268, 252, 281, 307, 334, 329, 296, 271, 258, 262}, months, QColor(0xFF, 0xFF, 0x00));
        break;
    case 3: {
        std::vector<double> v;
        for (int i = 0; i < 26; ++i)
            v.push_back(300 + (i * 137) % 650);
        addAll(m.series(0), v, days, QColor(0xFF, 0x82, 0x00));
        break;
    }
    case 4: {
        QStringList unpaid;
        for (const QString& mm : months)
            unpaid << QStringLiteral("未交\r") + mm;
        addAll(m.series(0), {238, 226, 251, 244, 262, 281, 298, 290, 240}, months, QColor(0xFF, 0x82, 0x00));
        addAll(m.series(1), {4, 6, 9, 12, 15, 22, 31, 48, 76}, unpaid, QColor(0xFF, 0xFF, 0x00));
        break;
    }
    case 5:
        addAll(m.series(0), {45210, 3820, 620, 150, 130},
               {"居民生活用水", "非居民用水", "行政事业用水", "特种行业用水", "消防用水"}, kAutoColor);
        break;
    case 6:
        addAll(m.series(0), {32840, 12160}, {"已录入", "未录入"}, kAutoColor);
        break;
    }
    return w;
}

const QSize kChartSize(640, 360);

// New data: geometry computed and drawn (what a refresh costs).
void BM_RenderChart(benchmark::State& state)
{
    ensureApplication();
    const auto chart = liveChart(int(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(renderChart(chart->model(), kChartSize));
}
BENCHMARK(BM_RenderChart)->DenseRange(1, 6)->MeasureProcessCPUTime()->Unit(benchmark::kMillisecond);

// All six after a refresh, one after another; at 1920 x 1080, and at 3840 x
// 2160 with fonts scaled for 192 dpi.
void BM_RenderAllSix(benchmark::State& state)
{
    ensureApplication();
    const double scale = double(state.range(0));
    std::vector<std::unique_ptr<ChartWidget>> charts;
    for (int n = 1; n <= 6; ++n)
        charts.push_back(liveChart(n));
    for (auto _ : state)
        for (const auto& c : charts)
            benchmark::DoNotOptimize(renderChart(c->model(), kChartSize * scale, scale));
}
BENCHMARK(BM_RenderAllSix)->Arg(1)->Arg(2)->MeasureProcessCPUTime()->Unit(benchmark::kMillisecond);

// A repaint without new data: the cached geometry is only drawn.
void BM_RepaintAllSix(benchmark::State& state)
{
    ensureApplication();
    std::vector<std::unique_ptr<ChartWidget>> charts;
    std::vector<std::unique_ptr<ChartRenderer>> renderers;
    for (int n = 1; n <= 6; ++n) {
        charts.push_back(liveChart(n));
        renderers.push_back(std::make_unique<ChartRenderer>(charts.back()->model()));
        renderers.back()->prepare(QSizeF(kChartSize));
    }
    QImage image(kChartSize, QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        for (const auto& r : renderers) {
            image.fill(Qt::transparent);
            QPainter painter(&image);
            r->paint(painter);
        }
        benchmark::DoNotOptimize(image.constBits());
    }
}
BENCHMARK(BM_RepaintAllSix)->MeasureProcessCPUTime()->Unit(benchmark::kMillisecond);

} // namespace
