// The chart data grid over a series of 1,000,000 points: opening it (binding the series
// and painting the first screen) should take under 200 ms, and a page-down with its
// repaint under 20 ms.
#include "ChartGrid.h"
#include "TeEngine.h"
#include "TeeConst.h"

#include "controls/Forms.h"
#include "graphics/Bitmap.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>

namespace {

constexpr int kPoints = 1000000;

struct GridFixture {
    GridFixture()
    {
        setenv("QT_QPA_PLATFORM", "offscreen", 0);
        InitializeFormsUnit();
        Application->Initialize();
        TeeConstInitialization();
        TeEngineInitialization();
        form = std::make_unique<TForm>(nullptr);
        form->SetBounds(0, 0, 600, 500);
        series = new TChartSeries(form.get());
        for (int i = 0; i < kPoints; ++i)
            series->AddPointXY(i * 0.5, (i % 1000) * 1.25);
        grid = new TChartGrid(form.get());
        grid->SetParent(form.get());
        grid->SetBounds(0, 0, 580, 480);
        form->Show();
    }
    std::unique_ptr<TForm> form;
    TChartSeries* series = nullptr;
    TChartGrid* grid = nullptr;
};

GridFixture& Fixture()
{
    static GridFixture fixture;
    return fixture;
}

void BM_GridOpenMillionPoints(benchmark::State& state)
{
    GridFixture& f = Fixture();
    TBitmap picture;
    for (auto _ : state) {
        state.PauseTiming();
        f.grid->SetSeries(nullptr);
        f.grid->PaintTo(&picture);
        state.ResumeTiming();
        f.grid->SetSeries(f.series);
        f.grid->PaintTo(&picture);
    }
    state.counters["rows"] = f.grid->RowCount();
}
BENCHMARK(BM_GridOpenMillionPoints)->Unit(benchmark::kMillisecond);

void BM_GridPageDownRepaint(benchmark::State& state)
{
    GridFixture& f = Fixture();
    f.grid->SetSeries(f.series);
    TBitmap picture;
    f.grid->PaintTo(&picture);
    for (auto _ : state) {
        int top = f.grid->TopRow() + f.grid->VisibleRowCount();
        if (top > f.grid->RowCount() - 2 * f.grid->VisibleRowCount())
            top = f.grid->FirstDataRow();
        f.grid->SetTopRow(top);
        f.grid->PaintTo(&picture);
    }
    state.counters["top"] = f.grid->TopRow();
}
BENCHMARK(BM_GridPageDownRepaint)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
