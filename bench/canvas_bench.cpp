// Drawing speed of the device-context canvas against QPainter used directly: line
// segments, rectangles and text into a 1000 x 700 bitmap. The canvas should stay within
// 1.3 times the raw figures.
#include "graphics/Graphics.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <benchmark/benchmark.h>

#include <random>
#include <vector>

namespace {

constexpr int kWidth = 1000;
constexpr int kHeight = 700;

struct Segment {
    int x1, y1, x2, y2;
};

const std::vector<Segment>& Segments(int count)
{
    static std::vector<Segment> cache;
    if (int(cache.size()) != count) {
        std::mt19937 rng(12345);
        std::uniform_int_distribution<int> x(0, kWidth - 1), y(0, kHeight - 1), len(-40, 40);
        cache.clear();
        for (int i = 0; i < count; ++i) {
            const int ax = x(rng), ay = y(rng);
            cache.push_back({ax, ay, ax + len(rng), ay + len(rng)});
        }
    }
    return cache;
}

QGuiApplication& App()
{
    static int argc = 1;
    static char name[] = "canvas_bench";
    static char* argv[] = {name, nullptr};
    static QGuiApplication app(argc, argv);
    return app;
}

// ---- lines ----

void BM_CanvasLines(benchmark::State& state)
{
    App();
    const auto& segs = Segments(100000);
    TBitmap bmp(kWidth, kHeight);
    TCanvas* c = bmp.Canvas();
    for (auto _ : state) {
        c->Pen()->SetColor(clNavy);
        for (const Segment& s : segs) {
            c->MoveTo(s.x1, s.y1);
            c->LineTo(s.x2, s.y2);
        }
        c->Flush();
    }
    state.SetItemsProcessed(state.iterations() * int64_t(segs.size()));
}
BENCHMARK(BM_CanvasLines)->Unit(benchmark::kMillisecond);

void BM_QPainterLines(benchmark::State& state)
{
    App();
    const auto& segs = Segments(100000);
    QImage img(kWidth, kHeight, QImage::Format_RGB32);
    img.fill(Qt::white);
    for (auto _ : state) {
        QPainter p(&img);
        p.setRenderHint(QPainter::Antialiasing, false);
        p.setPen(QPen(QColor(0, 0, 128), 0, Qt::SolidLine, Qt::FlatCap));
        for (const Segment& s : segs)
            p.drawLine(s.x1, s.y1, s.x2, s.y2);
        p.end();
    }
    state.SetItemsProcessed(state.iterations() * int64_t(segs.size()));
}
BENCHMARK(BM_QPainterLines)->Unit(benchmark::kMillisecond);

// The same through the floating-point overload, which the raster engine strokes faster.
void BM_QPainterLinesF(benchmark::State& state)
{
    App();
    const auto& segs = Segments(100000);
    QImage img(kWidth, kHeight, QImage::Format_RGB32);
    img.fill(Qt::white);
    for (auto _ : state) {
        QPainter p(&img);
        p.setRenderHint(QPainter::Antialiasing, false);
        p.setPen(QPen(QColor(0, 0, 128), 0, Qt::SolidLine, Qt::FlatCap));
        for (const Segment& s : segs)
            p.drawLine(QLineF(s.x1, s.y1, s.x2, s.y2));
        p.end();
    }
    state.SetItemsProcessed(state.iterations() * int64_t(segs.size()));
}
BENCHMARK(BM_QPainterLinesF)->Unit(benchmark::kMillisecond);

// With a clip rectangle of the whole image, as the canvas always has: the raster engine
// then takes its fast path for segments that leave the image.
void BM_QPainterLinesClipped(benchmark::State& state)
{
    App();
    const auto& segs = Segments(100000);
    QImage img(kWidth, kHeight, QImage::Format_RGB32);
    img.fill(Qt::white);
    for (auto _ : state) {
        QPainter p(&img);
        p.setRenderHint(QPainter::Antialiasing, false);
        p.setClipRect(QRect(0, 0, kWidth, kHeight));
        p.setPen(QPen(QColor(0, 0, 128), 0, Qt::SolidLine, Qt::FlatCap));
        for (const Segment& s : segs)
            p.drawLine(s.x1, s.y1, s.x2, s.y2);
        p.end();
    }
    state.SetItemsProcessed(state.iterations() * int64_t(segs.size()));
}
BENCHMARK(BM_QPainterLinesClipped)->Unit(benchmark::kMillisecond);

// ---- rectangles ----

void BM_CanvasRectangles(benchmark::State& state)
{
    App();
    const auto& segs = Segments(10000);
    TBitmap bmp(kWidth, kHeight);
    TCanvas* c = bmp.Canvas();
    for (auto _ : state) {
        c->Pen()->SetColor(clBlack);
        c->Brush()->SetColor(clYellow);
        for (const Segment& s : segs)
            c->Rectangle(s.x1, s.y1, s.x2, s.y2);
        c->Flush();
    }
    state.SetItemsProcessed(state.iterations() * int64_t(segs.size()));
}
BENCHMARK(BM_CanvasRectangles)->Unit(benchmark::kMillisecond);

void BM_QPainterRectangles(benchmark::State& state)
{
    App();
    const auto& segs = Segments(10000);
    QImage img(kWidth, kHeight, QImage::Format_RGB32);
    img.fill(Qt::white);
    for (auto _ : state) {
        QPainter p(&img);
        p.setRenderHint(QPainter::Antialiasing, false);
        p.setPen(QPen(Qt::black, 0, Qt::SolidLine, Qt::FlatCap));
        p.setBrush(Qt::yellow);
        for (const Segment& s : segs)
            p.drawRect(QRect(QPoint(s.x1, s.y1), QPoint(s.x2, s.y2)).normalized());
        p.end();
    }
    state.SetItemsProcessed(state.iterations() * int64_t(segs.size()));
}
BENCHMARK(BM_QPainterRectangles)->Unit(benchmark::kMillisecond);

// ---- text ----

void BM_CanvasText(benchmark::State& state)
{
    App();
    const auto& segs = Segments(1000);
    TBitmap bmp(kWidth, kHeight);
    TCanvas* c = bmp.Canvas();
    c->Font()->SetName("Arial");
    c->Font()->SetSize(8);
    c->SetBkMode(TRANSPARENT);
    for (auto _ : state) {
        for (const Segment& s : segs)
            c->TextOut(s.x1, s.y1, "Cp(T) 298.15 K");
        c->Flush();
    }
    state.SetItemsProcessed(state.iterations() * int64_t(segs.size()));
}
BENCHMARK(BM_CanvasText)->Unit(benchmark::kMillisecond);

void BM_QPainterText(benchmark::State& state)
{
    App();
    const auto& segs = Segments(1000);
    QImage img(kWidth, kHeight, QImage::Format_RGB32);
    img.fill(Qt::white);
    QFont font("Arial");
    font.setPixelSize(11);
    font.setStyleStrategy(QFont::NoAntialias);
    const QString text = QStringLiteral("Cp(T) 298.15 K");
    for (auto _ : state) {
        QPainter p(&img);
        p.setFont(font);
        p.setPen(Qt::black);
        const int ascent = p.fontMetrics().ascent();
        for (const Segment& s : segs)
            p.drawText(s.x1, s.y1 + ascent, text);
        p.end();
    }
    state.SetItemsProcessed(state.iterations() * int64_t(segs.size()));
}
BENCHMARK(BM_QPainterText)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
