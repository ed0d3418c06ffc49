// Opening the series gallery with every type the program registers: the dialog created,
// its first page filled with one live chart per type (each with its sample values),
// every chart drawn, and the dialog freed.
#include "Galleries.h"
#include "ProgramUnits.h"

#include "controls/Forms.h"
#include "graphics/Bitmap.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>

namespace {

void BM_OpenSeriesGallery(benchmark::State& state)
{
    int charts = 0;
    for (auto _ : state) {
        auto gallery = std::make_unique<TTeeGallery>(nullptr);
        gallery->Show();
        TChartGalleryPanel* panel = gallery->ChartGalleryPanel1;
        charts = panel->ChartCount();
        for (int i = 0; i < charts; ++i) {
            TGalleryChart* chart = panel->Charts(i);
            std::unique_ptr<TBitmap> picture = chart->DrawToBitmap(clWhite, TRect(0, 0, chart->Width(), chart->Height()));
            benchmark::DoNotOptimize(picture->ScanLine(chart->Height() / 2));
        }
        gallery.reset();
    }
    state.counters["registered"] = SeriesTypeList()->Count();
    state.counters["charts"] = charts;
}
BENCHMARK(BM_OpenSeriesGallery)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    return RunBenchmarksWithProgramUnits(argc, argv);
}
