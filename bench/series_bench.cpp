// Redraw speed of large series: a flat chart of 1000 x 700 pixels, legend hidden, with one
// fast line, line, point or area series of N points of y = sin(i * 0.001) * 100 + i % 97, drawn into
// the same bitmap again and again. The floor is the plot's path drawn with QPainter
// directly: the same values to pixels, reduced to the first, lowest, highest and last
// point of each pixel column, and given to one drawLines call.
// Targets at 1e6 points: the fast line within 2x of the floor, the line series within 3x.
// The fast line, line and area series are also drawn onto a bitmap for a screen scaled by
// 125 %, where the canvas snaps its lines to whole image pixels.
// The point and area series have floors of their own: the squares filled one by one, and
// the reduced line's columns filled down to the bottom under the line.
// Every redraw of a series also counts what it asks of operator new (new_bytes, and the
// largest single block, largest_new): a redraw whose memory grows with the points shows
// there. The other plotting library's redraw of the point series is not recorded in
// figures; it was 1.6 times faster at 1e7 points before the point series stopped taking
// 8 bytes a point at every redraw.
#include "FlatChart.h"

#include <QApplication>
#include <QImage>
#include <QLine>
#include <QPainter>
#include <benchmark/benchmark.h>

#include <atomic>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>
#include <vector>

// What operator new is asked for while counting is on, over all threads.
namespace {
std::atomic<bool> gCounting{false};
std::atomic<int64_t> gNewBytes{0};
std::atomic<int64_t> gLargestNew{0};
} // namespace

void* operator new(std::size_t Size)
{
    if (gCounting.load(std::memory_order_relaxed)) {
        const auto n = static_cast<int64_t>(Size);
        gNewBytes.fetch_add(n, std::memory_order_relaxed);
        int64_t largest = gLargestNew.load(std::memory_order_relaxed);
        while (n > largest && !gLargestNew.compare_exchange_weak(largest, n, std::memory_order_relaxed)) {
        }
    }
    if (void* p = std::malloc(Size != 0 ? Size : 1))
        return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }

namespace {

constexpr int kWidth = 1000;
constexpr int kHeight = 700;

QApplication& App()
{
    static int argc = 1;
    static char name[] = "series_bench";
    static char* argv[] = {name, nullptr};
    static QApplication app(argc, argv);
    return app;
}

struct ChartScene {
    TComponent form{nullptr};
    std::unique_ptr<TChart> chart;
    TBitmap bitmap{kWidth, kHeight};

    template <typename S> explicit ChartScene(int N, S*) : chart(FlatChart<S>(form, N, kWidth, kHeight)) {}
    void Draw() { chart->DrawToCanvas(bitmap.Canvas(), TRect(0, 0, kWidth, kHeight)); bitmap.Canvas()->Flush(); }
};

template <typename S> void DrawSeries(benchmark::State& state, double Ratio = 1)
{
    App();
    ChartScene scene(int(state.range(0)), static_cast<S*>(nullptr));
    scene.bitmap.SetPixelRatio(Ratio);
    scene.Draw();
    gNewBytes = 0;
    gLargestNew = 0;
    gCounting = true;
    for (auto _ : state)
        scene.Draw();
    gCounting = false;
    state.counters["new_bytes"] = double(gNewBytes.load()) / double(state.iterations());
    state.counters["largest_new"] = double(gLargestNew.load());
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

void BM_FastLine(benchmark::State& state) { DrawSeries<TFastLineSeries>(state); }
void BM_LineSeries(benchmark::State& state) { DrawSeries<TLineSeries>(state); }
void BM_PointSeries(benchmark::State& state) { DrawSeries<TPointSeries>(state); }
void BM_AreaSeries(benchmark::State& state) { DrawSeries<TAreaSeries>(state); }
BENCHMARK(BM_FastLine)->Arg(1000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LineSeries)->Arg(1000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);
// Every point with its symbol, and every segment filled down to the axis.
BENCHMARK(BM_PointSeries)->Arg(1000)->Arg(100000)->Arg(1000000)->Arg(10000000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AreaSeries)->Arg(1000)->Arg(100000)->Unit(benchmark::kMillisecond);
// The same charts on a screen scaled by 125 %, where lines are snapped to whole pixels.
void BM_FastLineAt125(benchmark::State& state) { DrawSeries<TFastLineSeries>(state, 1.25); }
void BM_LineSeriesAt125(benchmark::State& state) { DrawSeries<TLineSeries>(state, 1.25); }
void BM_AreaSeriesAt125(benchmark::State& state) { DrawSeries<TAreaSeries>(state, 1.25); }
BENCHMARK(BM_FastLineAt125)->Arg(1000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LineSeriesAt125)->Arg(1000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AreaSeriesAt125)->Arg(1000)->Arg(100000)->Unit(benchmark::kMillisecond);

// Nearest integer, halves to even, for |v| < 2^31: the low bits of v + 1.5 * 2^52.
inline int RoundHalfEven(double v)
{
    const double shifted = v + 6755399441055744.0;
    uint64_t bits;
    std::memcpy(&bits, &shifted, sizeof bits);
    return int(int32_t(uint32_t(bits)));
}

struct RawPath {
    std::vector<double> xs, ys;
    double lo = 1e300, hi = -1e300;
    QRect plot{40, 10, kWidth - 60, kHeight - 40};
    std::vector<QPoint> pts;
    std::vector<QLine> lines;

    explicit RawPath(int N) : xs(static_cast<size_t>(N)), ys(static_cast<size_t>(N))
    {
        for (int i = 0; i < N; ++i) {
            xs[size_t(i)] = i;
            ys[size_t(i)] = Sample(i);
            lo = std::min(lo, ys[size_t(i)]);
            hi = std::max(hi, ys[size_t(i)]);
        }
    }
    // Values to pixels, keeping the first, lowest, highest and last point of each
    // column, and the segments between the points kept.
    void Reduce()
    {
        const int N = int(xs.size());
        const double sx = (plot.width() - 1) / double(std::max(1, N - 1));
        const double sy = (plot.height() - 1) / (hi - lo);
        pts.clear();
        int column = INT32_MIN, first = 0, low = 0, high = 0, lowAt = 0, highAt = 0, last = 0;
        const auto flush = [&] {
            if (column == INT32_MIN)
                return;
            const auto push = [&](int y) {
                if (pts.empty() || pts.back() != QPoint(column, y))
                    pts.emplace_back(column, y);
            };
            push(first);
            push(lowAt <= highAt ? low : high);
            push(lowAt <= highAt ? high : low);
            push(last);
        };
        // Pixels a block at a time in a loop of their own (which the compiler can run
        // side by side), then the reduction over them.
        constexpr int block = 256;
        int bx[block], by[block];
        const double x0 = xs[0];
        for (int start = 0; start < N; start += block) {
            const int n = std::min(block, N - start);
            const double* px = xs.data() + start;
            const double* py = ys.data() + start;
            for (int k = 0; k < n; ++k) {
                bx[k] = RoundHalfEven(plot.left() + (px[k] - x0) * sx);
                by[k] = RoundHalfEven(plot.bottom() - (py[k] - lo) * sy);
            }
            for (int k = 0; k < n; ++k) {
                const int x = bx[k], y = by[k], i = start + k;
                if (x != column) {
                    flush();
                    column = x;
                    first = low = high = last = y;
                    lowAt = highAt = i;
                } else {
                    if (y < low) { low = y; lowAt = i; }
                    if (y > high) { high = y; highAt = i; }
                    last = y;
                }
            }
        }
        flush();
        lines.clear();
        for (size_t k = 1; k < pts.size(); ++k)
            lines.emplace_back(pts[k - 1], pts[k]);
    }
    void Draw(QImage& img) const
    {
        QPainter p(&img);
        p.setRenderHint(QPainter::Antialiasing, false);
        p.setClipRect(plot);
        p.setPen(QPen(QColor(0, 0, 128), 0, Qt::SolidLine, Qt::FlatCap));
        p.drawLines(lines.data(), int(lines.size()));
        p.end();
    }
};

// The floor: values to pixels over a plot of about the chart's size, reduced per column,
// one drawLines call.
void BM_RawColumnReduced(benchmark::State& state)
{
    App();
    RawPath path(int(state.range(0)));
    QImage img(kWidth, kHeight, QImage::Format_RGB32);
    img.fill(Qt::white);
    for (auto _ : state) {
        path.Reduce();
        path.Draw(img);
        benchmark::DoNotOptimize(img.constBits());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_RawColumnReduced)->Arg(1000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);

// The drawLines call alone, of points reduced beforehand.
void BM_RawDrawLinesOnly(benchmark::State& state)
{
    App();
    RawPath path(int(state.range(0)));
    path.Reduce();
    QImage img(kWidth, kHeight, QImage::Format_RGB32);
    img.fill(Qt::white);
    for (auto _ : state) {
        path.Draw(img);
        benchmark::DoNotOptimize(img.constBits());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_RawDrawLinesOnly)->Arg(1000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);

// The floor of the point series: every point's square of 9 x 9 pixels as a black frame
// and a navy inside, two fills each.
void BM_RawSquares(benchmark::State& state)
{
    App();
    RawPath path(int(state.range(0)));
    QImage img(kWidth, kHeight, QImage::Format_RGB32);
    img.fill(Qt::white);
    const int N = int(state.range(0));
    const double sx = (path.plot.width() - 1) / double(std::max(1, N - 1));
    const double sy = (path.plot.height() - 1) / (path.hi - path.lo);
    for (auto _ : state) {
        QPainter p(&img);
        p.setClipRect(path.plot);
        for (int i = 0; i < N; ++i) {
            const int x = RoundHalfEven(path.plot.left() + path.xs[size_t(i)] * sx);
            const int y = RoundHalfEven(path.plot.bottom() - (path.ys[size_t(i)] - path.lo) * sy);
            p.fillRect(QRect(x - 4, y - 4, 9, 9), Qt::black);
            p.fillRect(QRect(x - 3, y - 3, 7, 7), QColor(0, 0, 128));
        }
        p.end();
        benchmark::DoNotOptimize(img.constBits());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_RawSquares)->Arg(1000)->Arg(100000)->Arg(1000000)->Arg(10000000)->Unit(benchmark::kMillisecond);

// The floor of the area series: the line reduced per column, each column filled from its
// highest point down to the bottom, and the line drawn over it.
void BM_RawArea(benchmark::State& state)
{
    App();
    RawPath path(int(state.range(0)));
    QImage img(kWidth, kHeight, QImage::Format_RGB32);
    img.fill(Qt::white);
    for (auto _ : state) {
        path.Reduce();
        QPainter p(&img);
        p.setClipRect(path.plot);
        const QColor fill(0, 0, 128);
        for (size_t k = 0; k < path.pts.size();) {
            const int x = path.pts[k].x();
            int top = path.pts[k].y();
            for (; k < path.pts.size() && path.pts[k].x() == x; ++k)
                top = std::min(top, path.pts[k].y());
            p.fillRect(QRect(QPoint(x, top), QPoint(x, path.plot.bottom())), fill);
        }
        p.setPen(QPen(Qt::black, 0));
        p.drawLines(path.lines.data(), int(path.lines.size()));
        p.end();
        benchmark::DoNotOptimize(img.constBits());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_RawArea)->Arg(1000)->Arg(100000)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
