// Speed of the calculated functions over a source of 1,000,000 points: over the whole
// source and by periods of 100 and of 1000 points (the time must not grow with the
// period); the subtract, multiply and divide functions across two such sources, which is
// what they compute; y = f(x) for 1,000,000 points; and the redraw of 10,000 bubbles into
// a 1000 x 700 bitmap. Target: every function under 100 ms.
#include "BubbleCh.h"
#include "Chart.h"
#include "Series.h"
#include "ProgramUnits.h"
#include "TeeFunci.h"
#include "controls/Forms.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>
#include <random>

namespace {

constexpr int kSourcePoints = 1000000;

// A chart holding the sources (a random walk each) and the result series.
struct FunctionChart {
    TComponent form{nullptr};
    std::unique_ptr<TChart> chart = std::make_unique<TChart>(nullptr);
    TLineSeries* result = nullptr;

    TLineSeries* AddSource(unsigned Seed)
    {
        auto* s = new TLineSeries(&form);
        std::mt19937 rng(Seed);
        std::normal_distribution<double> step(0, 1);
        double y = 1000;
        s->BeginUpdate();
        for (int t = 0; t < kSourcePoints; ++t) {
            y += step(rng);
            s->AddPointXY(t, y);
        }
        s->EndUpdate();
        chart->AddSeries(s);
        return s;
    }
    // The result series computed by F from the sources.
    void Compute(TTeeFunction* F, double Period, std::initializer_list<TLineSeries*> Sources)
    {
        result = new TLineSeries(&form);
        chart->AddSeries(result);
        F->BeginUpdate();
        F->SetPeriod(Period);
        result->SetFunction(F);
        F->EndUpdate();
        for (TLineSeries* s : Sources)
            result->AddDataSource(s);
    }
};

template <class F>
void BM_Function(benchmark::State& state)
{
    StartProgramUnits();
    const double period = double(state.range(0));
    const bool twoSources = state.range(1) != 0;
    FunctionChart c;
    TLineSeries* a = c.AddSource(1);
    TLineSeries* b = twoSources ? c.AddSource(2) : nullptr;
    auto* f = new F(&c.form);
    if (twoSources)
        c.Compute(f, period, {a, b});
    else
        c.Compute(f, period, {a});
    for (auto _ : state) {
        // As after a change of the source: its statistics are computed again.
        a->YValues()->SetModified();
        c.result->CheckDataSource();
        benchmark::DoNotOptimize(c.result->Count());
    }
    state.counters["points"] = double(c.result->Count());
}

void BM_YOfX(benchmark::State& state)
{
    StartProgramUnits();
    FunctionChart c;
    auto* f = new TCustomTeeFunction(&c.form);
    f->SetNumPoints(kSourcePoints);
    f->SetPeriod(0.001);
    f->OnCalculate = [](TCustomTeeFunction*, double X, double& Y) { Y = X * X - 3 * X; };
    c.result = new TLineSeries(&c.form);
    c.chart->AddSeries(c.result);
    c.result->SetFunction(f);
    for (auto _ : state) {
        f->AddPoints(nullptr);
        benchmark::DoNotOptimize(c.result->Count());
    }
}

void BM_Bubbles(benchmark::State& state)
{
    StartProgramUnits();
    TComponent form(nullptr);
    TChart chart(nullptr);
    chart.SetBounds(0, 0, 1000, 700);
    chart.SetView3D(state.range(0) != 0);
    chart.Legend()->Hide();
    auto* s = new TBubbleSeries(&form);
    std::mt19937 rng(7);
    std::uniform_real_distribution<double> xy(0, 1000), radius(2, 20);
    for (int t = 0; t < 10000; ++t)
        s->AddBubble(xy(rng), xy(rng), radius(rng));
    chart.AddSeries(s);
    std::unique_ptr<TBitmap> bmp;
    for (auto _ : state) {
        bmp = chart.DrawToBitmap(clWhite, TRect(0, 0, 1000, 700));
        benchmark::DoNotOptimize(bmp.get());
    }
    // Share of the picture the bubbles cover (their colour), to show they were drawn.
    int inked = 0;
    for (int y = 0; y < 700; ++y)
        for (int x = 0; x < 1000; ++x) {
            const TRGBQuad q = bmp->ScanLine(y)[x];
            inked += RGB(q.rgbRed, q.rgbGreen, q.rgbBlue) == s->ValueColor(0);
        }
    state.counters["first colour %"] = inked / 7000.0;
}

} // namespace

// Args: period (0 = the whole source), two sources.
#define FUNCTION_BENCH(F) BENCHMARK_TEMPLATE(BM_Function, F)->Args({0, 0})->Args({100, 0})->Args({1000, 0})->Unit(benchmark::kMillisecond)
FUNCTION_BENCH(TAddTeeFunction);
FUNCTION_BENCH(THighTeeFunction);
FUNCTION_BENCH(TLowTeeFunction);
FUNCTION_BENCH(TAverageTeeFunction);
FUNCTION_BENCH(TMedianTeeFunction);
FUNCTION_BENCH(TModeTeeFunction);
BENCHMARK_TEMPLATE(BM_Function, TSubtractTeeFunction)->Args({0, 1})->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(BM_Function, TMultiplyTeeFunction)->Args({0, 1})->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(BM_Function, TDivideTeeFunction)->Args({0, 1})->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(BM_Function, TAddTeeFunction)->Args({0, 1})->Unit(benchmark::kMillisecond);
BENCHMARK(BM_YOfX)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Bubbles)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
