// A chart that counts its repaint requests and draws whatever a test gives it, with one
// series whose marks the tests look at.
#pragma once

#include "TeEngine.h"
#include "ChartStarted.h"
#include "PixelProbe.h"
#include "TeeConst.h"
#include "graphics/TextMeasure.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace markstest {

class MarksPanel : public TCustomAxisPanel {
public:
    explicit MarksPanel() : TCustomAxisPanel(nullptr)
    {
        SetBounds(0, 0, 200, 160);
        SetBevelOuter(bvNone);
        SetColor(clWhite);
        SetView3D(false);
    }
    bool IsColorUnused(TColor, bool, TChartSeries*) override { return true; }
    void RequestRepaint() override
    {
        if (AutoRepaint())
            ++Repaints;
        TCustomAxisPanel::RequestRepaint();
    }
    int Repaints = 0;
    std::function<void()> Contents;

protected:
    void DrawContents(const TRect& R) override
    {
        DrawBackground(R);
        if (Contents)
            Contents();
    }
};

using testsupport::Px;

struct MarksTest : testsupport::ChartStartedTest {
    void SetUp() override
    {
        chart = std::make_unique<MarksPanel>();
        series = new TChartSeries(&form);
        chart->AddSeries(series);
        marks = series->Marks();
    }
    void TearDown() override
    {
        chart.reset();
    }
    // Characters 6 pixels wide, lines 13 pixels high.
    void FixedMetrics() { chart->Canvas()->SetTextMeasurer(std::make_shared<TFixedTextMeasurer>(6, 10, 3)); }

    TComponent form{nullptr};
    std::unique_ptr<MarksPanel> chart;
    TChartSeries* series = nullptr;
    TSeriesMarks* marks = nullptr;
};

} // namespace markstest
