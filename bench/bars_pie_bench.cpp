// Redraw speed of bar and pie charts into a 1000 x 700 bitmap: 10,000 bars in 2D and in
// 3D, and a pie of 1,000 slices flat and in 3D. Target: the 10,000-bar 2D chart under
// 20 ms. The floor of the 3D bars is the same 10,000 bars drawn with QPainter directly:
// each bar's front face, right side and top as three polygons with a black outline and
// the chart's colours; target: BM_Bars3D within 2x of it.
#include "Chart.h"
#include "Series.h"
#include "ProgramUnits.h"
#include "controls/Forms.h"

#include <QImage>
#include <QPainter>
#include <QPolygon>
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>
#include <random>
#include <vector>

namespace {

constexpr int kWidth = 1000;
constexpr int kHeight = 700;

struct BenchChart {
    TComponent form{nullptr};
    std::unique_ptr<TChart> chart = std::make_unique<TChart>(nullptr);
    std::unique_ptr<TBitmap> bitmap = std::make_unique<TBitmap>(kWidth, kHeight);

    explicit BenchChart(bool View3D)
    {
        chart->SetBounds(0, 0, kWidth, kHeight);
        chart->SetView3D(View3D);
        chart->Legend()->Hide();
    }
    void Draw() { chart->DrawToCanvas(bitmap->Canvas(), TRect(0, 0, kWidth, kHeight)); }
};

// Random values in 1..1000; the marks are off, since 10,000 labels are not a bar chart.
template <typename T> T* Fill(BenchChart& c, int Count)
{
    auto* s = new T(&c.form);
    std::mt19937 rng(7);
    std::uniform_int_distribution<int> value(1, 1000);
    s->BeginUpdate();
    for (int t = 0; t < Count; ++t)
        s->Add(value(rng));
    s->EndUpdate();
    s->Marks()->Hide();
    c.chart->AddSeries(s);
    return s;
}

void Bars(benchmark::State& state, bool View3D)
{
    StartProgramUnits();
    BenchChart c(View3D);
    Fill<TBarSeries>(c, 10000);
    for (auto _ : state)
        c.Draw();
    state.SetItemsProcessed(state.iterations() * 10000);
}

void Pie(benchmark::State& state, bool View3D)
{
    StartProgramUnits();
    BenchChart c(View3D);
    Fill<TPieSeries>(c, 1000);
    for (auto _ : state)
        c.Draw();
    state.SetItemsProcessed(state.iterations() * 1000);
}

void BM_Bars2D(benchmark::State& state) { Bars(state, false); }
void BM_Bars3D(benchmark::State& state) { Bars(state, true); }
void BM_Pie2D(benchmark::State& state) { Pie(state, false); }
void BM_Pie3D(benchmark::State& state) { Pie(state, true); }
BENCHMARK(BM_Bars2D)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Bars3D)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Pie2D)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Pie3D)->Unit(benchmark::kMillisecond);

// The floor of BM_Bars3D: the chart's bars over its plot (x 67..957, bottom 652, values
// 0..1000 over 610 pixels, depth 12 pixels right and up), each as a front face in red,
// a right side in half red and a top in three quarters red, outlined in black.
void BM_RawBars3D(benchmark::State& state)
{
    constexpr int left = 67, width = 890, bottom = 652, height = 610, depth = 12, count = 10000;
    std::vector<int> values(count);
    std::mt19937 rng(7);
    std::uniform_int_distribution<int> value(1, 1000);
    for (int& v : values)
        v = value(rng);
    QImage img(kWidth, kHeight, QImage::Format_RGB32);
    img.fill(QColor(212, 208, 200));
    const QBrush front(QColor(255, 0, 0)), side(QColor(127, 0, 0)), top(QColor(191, 0, 0));
    for (auto _ : state) {
        QPainter p(&img);
        p.setPen(QPen(Qt::black, 0));
        for (int i = 0; i < count; ++i) {
            const int l = left + i * width / count, r = l + 1;
            const int t = bottom - values[size_t(i)] * height / 1000;
            p.setBrush(front);
            p.drawConvexPolygon(QPolygon({QPoint(l, t), QPoint(r, t), QPoint(r, bottom), QPoint(l, bottom)}));
            p.setBrush(side);
            p.drawConvexPolygon(QPolygon(
                {QPoint(r, t), QPoint(r + depth, t - depth), QPoint(r + depth, bottom - depth), QPoint(r, bottom)}));
            p.setBrush(top);
            p.drawConvexPolygon(QPolygon({QPoint(l, t), QPoint(l + depth, t - depth), QPoint(r + depth, t - depth), QPoint(r, t)}));
        }
        p.end();
        benchmark::DoNotOptimize(img.constBits());
    }
    state.SetItemsProcessed(state.iterations() * count);
}
BENCHMARK(BM_RawBars3D)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
