// Chart data export of a large series: one line series of 1,000,000 points with X values
// (i / 10) and Y values (sin(i * 0.001) * 100 + i % 97) written whole as delimited text
// and as XML, with the header and the point index. Target under 1 s each on one core.
// Chart pictures: a flat chart of 1000 x 700 pixels, legend hidden, with one fast line,
// line, point or area series of 1,000 points, drawn through DrawToBitmap (a new bitmap
// and canvas each time, as pictures, copies, print and previews are) beside the same chart
// drawn again into the window's kept canvas. Target: the picture as fast as the window.
// BM_PictureBesideWindow* draw the window's and the picture's case in turn in every round
// and give the medians of their times (ms) and of the rounds' ratios picture / window;
// the label carries the other plotting library's redraw where it was recorded. The
// window leads that library at every size, so a picture at the window's time is also
// at or below the library's.
#include "Chart.h"
#include "DataExport.h"
#include "FlatChart.h"
#include "Rounds.h"
#include "Series.h"
#include "TeEngine.h"
#include "TeeConst.h"

#include <QApplication>
#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>
#include <vector>

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

// ---- chart pictures ----

constexpr int kPictureWidth = 1000;
constexpr int kPictureHeight = 700;

struct PictureScene {
    TComponent form{nullptr};
    std::unique_ptr<TChart> chart;

    template <typename S> PictureScene(int N, S*) : chart(FlatChart<S>(form, N, kPictureWidth, kPictureHeight)) {}
};

// The window's case: one bitmap and canvas kept from redraw to redraw.
template <typename S> void WindowCanvas(benchmark::State& state, const char* peer = nullptr)
{
    App();
    PictureScene scene(int(state.range(0)), static_cast<S*>(nullptr));
    TBitmap bitmap(kPictureWidth, kPictureHeight);
    const auto draw = [&] {
        scene.chart->DrawToCanvas(bitmap.Canvas(), TRect(0, 0, kPictureWidth, kPictureHeight));
        bitmap.Canvas()->Flush();
    };
    draw();
    for (auto _ : state)
        draw();
    if (peer != nullptr)
        state.SetLabel(peer);
}

// The picture's case: a new bitmap and canvas at every call.
template <typename S> void Picture(benchmark::State& state, const char* peer = nullptr)
{
    App();
    PictureScene scene(int(state.range(0)), static_cast<S*>(nullptr));
    const TRect r(0, 0, kPictureWidth, kPictureHeight);
    scene.chart->DrawToBitmap(clWhite, r);
    for (auto _ : state) {
        const std::unique_ptr<TBitmap> bitmap = scene.chart->DrawToBitmap(clWhite, r);
        benchmark::DoNotOptimize(bitmap.get());
    }
    if (peer != nullptr)
        state.SetLabel(peer);
}

// The other plotting library's redraw of the same fast-line chart, as recorded.
constexpr const char* kPeerFastLine = "peer (recorded) 0.28 ms";

// The window's and the picture's case in turn, each round timed on its own.
template <typename S> void PictureBesideWindow(benchmark::State& state, const char* peer = nullptr)
{
    App();
    PictureScene scene(int(state.range(0)), static_cast<S*>(nullptr));
    const TRect r(0, 0, kPictureWidth, kPictureHeight);
    TBitmap bitmap(kPictureWidth, kPictureHeight);
    const auto window = [&] {
        scene.chart->DrawToCanvas(bitmap.Canvas(), r);
        bitmap.Canvas()->Flush();
    };
    const auto picture = [&] {
        const std::unique_ptr<TBitmap> made = scene.chart->DrawToBitmap(clWhite, r);
        benchmark::DoNotOptimize(made.get());
    };
    window();
    picture();
    std::vector<double> windowMs, pictureMs, ratio;
    for (auto _ : state) {
        windowMs.push_back(TimeMs(window));
        pictureMs.push_back(TimeMs(picture));
        ratio.push_back(pictureMs.back() / windowMs.back());
    }
    state.counters["window_ms"] = Median(windowMs);
    state.counters["picture_ms"] = Median(pictureMs);
    state.counters["picture_per_window"] = Median(ratio);
    if (peer != nullptr)
        state.SetLabel(peer);
}

void BM_WindowFastLine(benchmark::State& state) { WindowCanvas<TFastLineSeries>(state, kPeerFastLine); }
void BM_PictureFastLine(benchmark::State& state) { Picture<TFastLineSeries>(state, kPeerFastLine); }
void BM_WindowLine(benchmark::State& state) { WindowCanvas<TLineSeries>(state); }
void BM_PictureLine(benchmark::State& state) { Picture<TLineSeries>(state); }
void BM_WindowPoint(benchmark::State& state) { WindowCanvas<TPointSeries>(state); }
void BM_PicturePoint(benchmark::State& state) { Picture<TPointSeries>(state); }
void BM_WindowArea(benchmark::State& state) { WindowCanvas<TAreaSeries>(state); }
void BM_PictureArea(benchmark::State& state) { Picture<TAreaSeries>(state); }
BENCHMARK(BM_WindowFastLine)->Arg(1000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PictureFastLine)->Arg(1000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WindowLine)->Arg(1000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PictureLine)->Arg(1000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WindowPoint)->Arg(1000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PicturePoint)->Arg(1000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WindowArea)->Arg(1000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PictureArea)->Arg(1000)->Unit(benchmark::kMillisecond);
void BM_PictureBesideWindowFastLine(benchmark::State& state) { PictureBesideWindow<TFastLineSeries>(state, kPeerFastLine); }
void BM_PictureBesideWindowLine(benchmark::State& state) { PictureBesideWindow<TLineSeries>(state); }
void BM_PictureBesideWindowPoint(benchmark::State& state) { PictureBesideWindow<TPointSeries>(state); }
void BM_PictureBesideWindowArea(benchmark::State& state) { PictureBesideWindow<TAreaSeries>(state); }
BENCHMARK(BM_PictureBesideWindowFastLine)->Arg(1000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PictureBesideWindowLine)->Arg(1000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PictureBesideWindowPoint)->Arg(1000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PictureBesideWindowArea)->Arg(1000)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
