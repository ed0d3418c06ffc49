// A small two-series chart for the export tests, and the independent readers that the
// written files are checked with (external converters run where they are installed).
#pragma once

#include "Chart.h"
#include "DataExport.h"
#include "PictureExport.h"
#include "Series.h"
#include "TeEngine.h"
#include "TeeConst.h"
#include "TeeStore.h"

#include "ChartStarted.h"
#include "TestSupport.h"

#include <QByteArray>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace exporttest {

struct ExportChart : testsupport::ChartStartedTest {
    void SetUp() override
    {
        form = std::make_unique<TComponent>(nullptr);
        form->SetName("Form1");
        chart = new TChart(form.get());
        chart->SetName("Chart1");
        chart->SetBounds(0, 0, W, H);
        chart->SetColor(clYellow);
        chart->SetView3D(false);
        line = new TLineSeries(form.get());
        line->SetName("Series1");
        line->SetSeriesColor(clRed);
        points = new TPointSeries(form.get());
        points->SetName("Series2");
        points->SetSeriesColor(clBlue);
        for (int i = 0; i < 8; ++i) {
            line->Add(i * i, "P" + std::to_string(i));
            points->Add(30 - 3 * i);
        }
        chart->AddSeries(line);
        chart->AddSeries(points);
    }
    void TearDown() override
    {
        form.reset();
    }
    std::string Temp(const std::string& Name) { return testsupport::TempDir() + "/" + Name; }
    QImage Reference() const
    {
        auto bmp = chart->DrawToBitmap(chart->Color(), TRect(0, 0, W, H));
        QImage image(W, H, QImage::Format_RGB32);
        for (int y = 0; y < H; ++y)
            for (int x = 0; x < W; ++x) {
                const TRGBQuad q = bmp->ScanLine(y)[x];
                image.setPixel(x, y, qRgb(q.rgbRed, q.rgbGreen, q.rgbBlue));
            }
        return image;
    }

    static constexpr int W = 400, H = 300;
    std::unique_ptr<TComponent> form;   // owns the chart and the series
    TChart* chart = nullptr;
    TLineSeries* line = nullptr;
    TPointSeries* points = nullptr;
};

inline std::vector<uint8_t> ReadBytes(const std::string& FileName)
{
    QFile f(QString::fromStdString(FileName));
    if (!f.open(QIODevice::ReadOnly))
        return {};
    const QByteArray b = f.readAll();
    return std::vector<uint8_t>(b.begin(), b.end());
}

inline std::string ReadText(const std::string& FileName)
{
    const std::vector<uint8_t> b = ReadBytes(FileName);
    return std::string(b.begin(), b.end());
}

inline bool Installed(const char* Program)
{
    return !QStandardPaths::findExecutable(Program).isEmpty();
}

// Runs a program; its exit code, or -1 when it did not run to its end.
inline int RunProgram(const QString& Program, const QStringList& Args)
{
    QProcess p;
    p.start(Program, Args);
    if (!p.waitForFinished(60000) || p.exitStatus() != QProcess::NormalExit)
        return -1;
    return p.exitCode();
}

// An SVG rasterised at Width x Height on white.
inline QImage RasterizeSvg(const std::string& Svg, int Width, int Height)
{
    const std::string png = Svg + ".png";
    if (RunProgram("rsvg-convert", {"-b", "white", "-w", QString::number(Width), "-h", QString::number(Height), "-o",
                             QString::fromStdString(png), QString::fromStdString(Svg)}) != 0)
        return {};
    return QImage(QString::fromStdString(png)).convertToFormat(QImage::Format_RGB32);
}

// The share of pixels of A that have no pixel of nearly the same colour at the same place
// in B or next to it (readers place edges and glyphs a pixel apart).
inline double DifferingShare(const QImage& A, const QImage& B)
{
    if (A.size() != B.size())
        return 1.0;
    auto near = [](QRgb p, QRgb q) {
        return std::abs(qRed(p) - qRed(q)) < 80 && std::abs(qGreen(p) - qGreen(q)) < 80
               && std::abs(qBlue(p) - qBlue(q)) < 80;
    };
    long differing = 0;
    for (int y = 0; y < A.height(); ++y)
        for (int x = 0; x < A.width(); ++x) {
            bool found = false;
            for (int dy = -1; dy <= 1 && !found; ++dy)
                for (int dx = -1; dx <= 1 && !found; ++dx) {
                    const int u = x + dx, v = y + dy;
                    found = u >= 0 && v >= 0 && u < B.width() && v < B.height() && near(A.pixel(x, y), B.pixel(u, v));
                }
            differing += !found;
        }
    return double(differing) / (double(A.width()) * A.height());
}

} // namespace exporttest
