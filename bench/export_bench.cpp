// Chart data export of a large series: one line series of 1,000,000 points with X values
// (i / 10) and Y values (sin(i * 0.001) * 100 + i % 97) written whole as delimited text
// and as XML, with the header and the point index. Target under 1 s each on one core.
#include "Chart.h"
#include "DataExport.h"
#include "Series.h"
#include "TeEngine.h"
#include "TeeConst.h"

#include <QApplication>
#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>

namespace {

QApplication& App()
{
    static int argc = 1;
    static char name[] = "export_bench";
    static char* argv[] = {name, nullptr};
    static QApplication app(argc, argv);
    return app;
}

struct BigSeries {
    TComponent form{nullptr};
    std::unique_ptr<TChart> chart;
    TLineSeries* series = nullptr;

    explicit BigSeries(int N)
    {
        static const bool started = [] {
            TeeConstInitialization();
            TeEngineInitialization();
            return true;
        }();
        (void)started;
        chart = std::make_unique<TChart>(nullptr);
        series = new TLineSeries(&form);
        for (int i = 0; i < N; ++i)
            series->AddPointXY(i / 10.0, std::sin(i * 0.001) * 100 + i % 97);
        chart->AddSeries(series);
    }
};

template <typename Exporter> void Export(benchmark::State& state)
{
    App();
    BigSeries data(int(state.range(0)));
    size_t bytes = 0;
    for (auto _ : state) {
        Exporter exporter(data.chart.get(), data.series);
        exporter.IncludeHeader = true;
        exporter.IncludeIndex = true;
        const std::string text = exporter.GetText();
        bytes = text.size();
        benchmark::DoNotOptimize(text.data());
    }
    state.counters["bytes"] = double(bytes);
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

void BM_DelimitedText(benchmark::State& state) { Export<TSeriesDataText>(state); }
void BM_Xml(benchmark::State& state) { Export<TSeriesDataXML>(state); }

BENCHMARK(BM_DelimitedText)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Xml)->Arg(1000000)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
