// Repainting a chart window whose picture is still valid: the chart's buffer copied to
// the window image, as every paint without a change does. Run with QT_SCALE_FACTOR=2
// for a screen of twice the density.
#include "Chart.h"
#include "Series.h"
#include "ProgramUnits.h"

#include "controls/Forms.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdlib>
#include <memory>

namespace {

void BM_ChartWindowRepaint(benchmark::State& state)
{
    auto chart = std::make_unique<TChart>(nullptr);
    chart->SetBounds(0, 0, 1000, 700);
    chart->SetView3D(false);
    auto* line = new TLineSeries(chart.get());
    for (int i = 0; i < 1000; ++i)
        line->AddPointXY(i, std::sin(i * 0.01));
    chart->AddSeries(line);
    chart->PaintWindow();   // draws the chart once; later paints copy its buffer
    for (auto _ : state)
        chart->PaintWindow();
    state.counters["ratio"] = chart->Canvas()->ReferenceCanvas()->PixelRatio();
}
BENCHMARK(BM_ChartWindowRepaint)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    return RunBenchmarksWithProgramUnits(argc, argv);
}
