// A chart control with fixed text metrics on a 400 x 300 window, for the chart tests.
#pragma once

#include "Chart.h"
#include "ChartStarted.h"
#include "PixelProbe.h"
#include "TeEngine.h"
#include "TeeConst.h"
#include "graphics/TextMeasure.h"

#include <gtest/gtest.h>

#include <memory>

namespace charttest {

using testsupport::Px;

// Characters 6 pixels wide; lines 13 pixels high.
inline constexpr int CharW = 6, LineH = 13;

struct ChartTest : testsupport::ChartStartedTest {
    void SetUp() override
    {
        chart = std::make_unique<TChart>(nullptr);
        chart->Canvas()->SetTextMeasurer(std::make_shared<TFixedTextMeasurer>(CharW, 10, 3));
        chart->SetBounds(0, 0, W, H);
        chart->SetColor(clWhite);
    }
    void TearDown() override
    {
        chart.reset();
    }
    std::unique_ptr<TBitmap> Draw() { return chart->DrawToBitmap(clWhite, TRect(0, 0, W, H)); }
    // A series bound to the left and bottom axes, with two points.
    TChartSeries* AddSeries()
    {
        auto* s = new TChartSeries(&form);
        chart->AddSeries(s);
        s->AddPointXY(0, 0);
        s->AddPointXY(10, 10);
        return s;
    }
    static constexpr int W = 400, H = 300;
    TComponent form{nullptr};
    std::unique_ptr<TChart> chart;
};

} // namespace charttest
