// A 2D chart whose axes span fixed ranges over a known plot rectangle, drawing its
// series as the drawing pipeline does: visible range, depth, then the values.
#pragma once

#include "Series.h"
#include "PixelProbe.h"
#include "TeeConst.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <memory>

namespace seriestest {

// Plot rectangle (10, 10)-(210, 160) and axes 0..10 both ways: a value v lies at
// x = 10 + 20 v and y = 160 - 15 v.
class SeriesPanel : public TCustomAxisPanel {
public:
    SeriesPanel() : TCustomAxisPanel(nullptr)
    {
        SetBounds(0, 0, 220, 170);
        SetBevelOuter(bvNone);
        SetColor(clWhite);
        SetView3D(false);
        BottomAxis()->SetMinMax(0, 10);
        LeftAxis()->SetMinMax(0, 10);
        Layout();
    }
    bool IsColorUnused(TColor, bool, TChartSeries*) override { return true; }
    void Layout()
    {
        ChartRect = TRect(10, 10, 210, 160);
        ChartWidth = 200;
        ChartHeight = 150;
        MaxZOrder = -1;
        for (TChartAxis* a : Axes()->List()) {
            a->RefreshRange();
            a->CalcPositions();
        }
        for (int t = 0; t < SeriesCount(); ++t) {
            Series(t)->FindVisibleIndexRange();
            Series(t)->ComputeZOrder();
            Series(t)->ComputeDepthExtent();
        }
    }
    std::unique_ptr<TBitmap> Picture() { return DrawToBitmap(clWhite, TRect(0, 0, 220, 170)); }

protected:
    void DrawContents(const TRect& R) override
    {
        DrawBackground(R);
        Layout();
        for (int t = 0; t < SeriesCount(); ++t)
            if (Series(t)->Active())
                Series(t)->DrawVisiblePoints();
    }
};

inline int PX(double v) { return 10 + int(20 * v); }
inline int PY(double v) { return 160 - int(15 * v); }

using testsupport::Px;

// Whether any pixel within one pixel of (x, y) has the colour.
inline bool Near(TBitmap& b, int x, int y, TColor c)
{
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx)
            if (Px(b, x + dx, y + dy) == c)
                return true;
    return false;
}

struct SeriesTest : ::testing::Test {
    void SetUp() override
    {
        TeeConstInitialization();
        TeEngineInitialization();
        chart = std::make_unique<SeriesPanel>();
    }
    void TearDown() override
    {
        chart.reset();
        TeEngineFinalization();
        TeeConstFinalization();
    }
    template <typename T> T* Add(TColor Color, std::initializer_list<std::pair<double, double>> Points)
    {
        auto* s = new T(&form);
        s->SetSeriesColor(Color);
        for (auto [x, y] : Points)
            s->AddPointXY(x, y);
        chart->AddSeries(s);
        chart->Layout();
        return s;
    }

    TComponent form{nullptr};
    std::unique_ptr<SeriesPanel> chart;
};

} // namespace seriestest
