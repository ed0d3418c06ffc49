// Opening the series gallery: the dialog created, its first page filled with one live
// chart per registered series type (each with its sample values), every chart painted,
// and the dialog freed.
#include "Galleries.h"
#include "Series.h"
#include "TeEngine.h"
#include "TeeConst.h"

#include "classes/TypInfo.h"
#include "controls/Forms.h"
#include "graphics/Bitmap.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

namespace {

// The series classes of the program under class information of their own, so that the
// registry can create them; registered on the "Standard" page like the standard types.
template <class Base, int N>
class TBenchSeries : public Base {
public:
    using Base::Base;
    static const TClassInfo* StaticClassInfo()
    {
        static const TClassInfo info = TClassBuilder<TBenchSeries>("TBenchSeries" + std::to_string(N),
                                                                   TChartSeries::StaticClassInfo())
                                           .ComponentFactory()
                                           .Build();
        return &info;
    }
    const TClassInfo* ClassInfo() const override { return StaticClassInfo(); }
};

std::vector<std::unique_ptr<std::string>> Names;

void RegisterBenchTypes()
{
    const std::vector<std::pair<const TClassInfo*, std::string>> types = {
        {TBenchSeries<TLineSeries, 0>::StaticClassInfo(), "Line"},
        {TBenchSeries<THorizLineSeries, 1>::StaticClassInfo(), "Horizontal\rLine"},
        {TBenchSeries<TPointSeries, 2>::StaticClassInfo(), "Point"},
        {TBenchSeries<TAreaSeries, 3>::StaticClassInfo(), "Area"},
        {TBenchSeries<THorizAreaSeries, 4>::StaticClassInfo(), "Horizontal\rArea"},
        {TBenchSeries<TFastLineSeries, 5>::StaticClassInfo(), "Fast Line"},
    };
    for (const auto& [cls, name] : types) {
        Names.push_back(std::make_unique<std::string>(name));
        RegisterStandardSeriesType(cls, Names.back().get());
    }
}

void BM_OpenSeriesGallery(benchmark::State& state)
{
    for (auto _ : state) {
        auto gallery = std::make_unique<TTeeGallery>(nullptr);
        gallery->Show();
        TChartGalleryPanel* panel = gallery->ChartGalleryPanel1;
        for (int i = 0; i < panel->ChartCount(); ++i) {
            TGalleryChart* chart = panel->Charts(i);
            std::unique_ptr<TBitmap> picture = chart->DrawToBitmap(clWhite, TRect(0, 0, chart->Width(), chart->Height()));
            benchmark::DoNotOptimize(picture->ScanLine(chart->Height() / 2));
        }
        gallery.reset();
    }
    state.counters["types"] = SeriesTypeList()->Count();
}
BENCHMARK(BM_OpenSeriesGallery)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    InitializeFormsUnit();
    Application->Initialize();
    TeeConstInitialization();
    TeEngineInitialization();
    ChartInitialization();
    GalleriesInitialization();
    RegisterBenchTypes();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    GalleriesFinalization();
    ChartFinalization();
    TeEngineFinalization();
    TeeConstFinalization();
    FinalizeFormsUnit();
    return 0;
}
