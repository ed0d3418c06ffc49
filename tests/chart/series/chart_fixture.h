// A whole chart control (titles, legend, axes with automatic ranges and margins) with
// fixed text metrics, for series types that place themselves in the drawing pipeline.
#pragma once

#include "Chart.h"
#include "Series.h"
#include "TeeConst.h"
#include "graphics/TextMeasure.h"

#include "ChartStarted.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace charttest {

inline TColor Px(TBitmap& b, int x, int y)
{
    const TRGBQuad q = b.ScanLine(y)[x];
    return RGB(q.rgbRed, q.rgbGreen, q.rgbBlue);
}

// Characters 6 pixels wide; lines 13 pixels high.
inline std::unique_ptr<TChart> MakeChart(int Width, int Height)
{
    auto chart = std::make_unique<TChart>(nullptr);
    chart->Canvas()->SetTextMeasurer(std::make_shared<TFixedTextMeasurer>(6, 10, 3));
    chart->SetBounds(0, 0, Width, Height);
    chart->SetColor(clWhite);
    chart->SetView3D(false);
    chart->Legend()->Hide();
    return chart;
}

struct ChartSeriesTest : testsupport::ChartStartedTest {
    void SetUp() override
    {
        chart = MakeChart(W, H);
    }
    void TearDown() override
    {
        chart.reset();
    }
    std::unique_ptr<TBitmap> Draw() { return chart->DrawToBitmap(clWhite, TRect(0, 0, W, H)); }
    template <typename T> T* Add(TColor Color, std::initializer_list<double> Values)
    {
        auto* s = new T(&form);
        s->SetSeriesColor(Color);
        for (double v : Values)
            s->Add(v);
        chart->AddSeries(s);
        return s;
    }
    static constexpr int W = 400, H = 300;
    TComponent form{nullptr};
    std::unique_ptr<TChart> chart;
};

// Pictures of several small charts side by side, saved under the artifacts folder.
class PictureSheet {
public:
    PictureSheet(int Columns, int Rows, int CellWidth, int CellHeight)
        : FColumns(Columns), FCellWidth(CellWidth), FCellHeight(CellHeight),
          FSheet(std::make_unique<TBitmap>(Columns * CellWidth, Rows * CellHeight))
    {
        FSheet->Canvas()->Brush()->SetColor(clWhite);
        FSheet->Canvas()->FillRect(TRect(0, 0, Columns * CellWidth, Rows * CellHeight));
    }
    // Draws the chart into the next cell.
    void Add(TChart& Chart)
    {
        auto bmp = Chart.DrawToBitmap(clWhite, TRect(0, 0, FCellWidth, FCellHeight));
        FSheet->Canvas()->Draw((FCount % FColumns) * FCellWidth, (FCount / FColumns) * FCellHeight, bmp.get());
        ++FCount;
    }
    void Skip() { ++FCount; }
    void Save(const std::string& Name)
    {
        if (const std::string path = testsupport::ArtifactPath(Name); !path.empty())
            FSheet->SaveToFile(path);
    }

private:
    int FColumns, FCellWidth, FCellHeight;
    int FCount = 0;
    std::unique_ptr<TBitmap> FSheet;
};

} // namespace charttest
