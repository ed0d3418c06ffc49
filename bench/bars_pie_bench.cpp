// Redraw speed of bar and pie charts into a 1000 x 700 bitmap: 10,000 bars in 2D and in
// 3D, and a pie of 1,000 slices flat and in 3D. Target: the 10,000-bar 2D chart under
// 20 ms.
#include "Chart.h"
#include "Series.h"
#include "ProgramUnits.h"
#include "controls/Forms.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>
#include <random>

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

} // namespace

BENCHMARK_MAIN();
