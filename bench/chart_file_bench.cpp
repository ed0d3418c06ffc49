// Chart files with a million points: a chart whose one series holds 1,000,000 points
// (16 MB of doubles) written with its data and read back, in binary and in text form,
// beside the floor: the same doubles written raw into a memory stream and read back
// into two arrays. The goals: the binary round trip within 1.5 times the floor, the
// text form within 3 times the binary one.
#include "Chart.h"
#include "Series.h"
#include "TeEngine.h"
#include "TeeConst.h"
#include "TeeStore.h"
#include "classes/Streaming.h"

#include <QApplication>
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>
#include <vector>

namespace {

// CHART_FILE_POINTS may ask for another count.
const int kPoints = std::getenv("CHART_FILE_POINTS") != nullptr ? std::atoi(std::getenv("CHART_FILE_POINTS")) : 1000000;

QApplication& App()
{
    static int argc = 1;
    static char name[] = "chart_file_bench";
    static char* argv[] = {name, nullptr};
    if (std::getenv("QT_QPA_PLATFORM") == nullptr)
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    static QApplication app(argc, argv);
    static bool started = [] {
        TeeConstInitialization();
        TeEngineInitialization();
        TeeStoreInitialization();
        RegisterClasses({TFastLineSeries::StaticClassInfo()});
        return true;
    }();
    (void)started;
    return app;
}

std::unique_ptr<TChart> BigChart()
{
    auto chart = std::make_unique<TChart>(nullptr);
    auto* s = new TFastLineSeries(chart.get());
    s->SetName("Big");
    chart->AddSeries(s);
    s->BeginUpdate();
    for (int i = 0; i < kPoints; ++i)
        s->AddPointXY(i * 0.001, (i * 7919) % 1000 * 0.01);
    s->EndUpdate();
    return chart;
}

void RoundTrip(benchmark::State& State, bool Text)
{
    App();
    auto chart = BigChart();
    int64_t bytes = 0;
    for (auto _ : State) {
        TMemoryStream file;
        WriteChartToStream(chart.get(), &file, true, Text);
        bytes = file.Size();
        file.SetPosition(0);
        TMemoryStream binary;
        TStream* source = &file;
        if (Text) {
            ObjectTextToBinary(&file, &binary);
            binary.SetPosition(0);
            source = &binary;
        } else {
            file.Seek(4, TSeekOrigin::soCurrent);
        }
        TChart read(nullptr);
        ReadComponent(source, &read);
        if (read.SeriesCount() != 1 || read.Series(0)->Count() != kPoints)
            State.SkipWithError("the chart did not read back whole");
    }
    State.counters["MB"] = double(bytes) / 1e6;
}

// The floor: the points' doubles written raw into a memory stream, X and Y interleaved,
// and read back into the two arrays a series keeps.
void BM_RawFloor(benchmark::State& State)
{
    App();
    auto chart = BigChart();
    const TChartSeries* s = chart->Series(0);
    const double* xs = s->XValues()->Data();
    const double* ys = s->YValues()->Data();
    for (auto _ : State) {
        TMemoryStream file;
        file.SetSize(16 * static_cast<int64_t>(kPoints));
        auto* out = reinterpret_cast<double*>(file.Memory());
        for (int i = 0; i < kPoints; ++i) {
            out[2 * i] = xs[i];
            out[2 * i + 1] = ys[i];
        }
        std::vector<double> x(static_cast<size_t>(kPoints)), y(static_cast<size_t>(kPoints));
        const auto* p = reinterpret_cast<const double*>(file.Memory());
        for (int i = 0; i < kPoints; ++i) {
            x[static_cast<size_t>(i)] = p[2 * i];
            y[static_cast<size_t>(i)] = p[2 * i + 1];
        }
        benchmark::DoNotOptimize(x.data());
        benchmark::DoNotOptimize(y.data());
    }
}

void BM_BinaryRoundTrip(benchmark::State& State) { RoundTrip(State, false); }
void BM_TextRoundTrip(benchmark::State& State) { RoundTrip(State, true); }

} // namespace

BENCHMARK(BM_RawFloor)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BinaryRoundTrip)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TextRoundTrip)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
