// A chart with axes laid out on a fixed 400 x 300 plot rectangle and fixed text metrics,
// shared by the axis tests.
#pragma once

#include "TeEngine.h"
#include "TeeConst.h"
#include "graphics/TextMeasure.h"

#include "ChartStarted.h"

#include <gtest/gtest.h>

#include <functional>

#include <memory>
#include <string>
#include <vector>

namespace axistest {

class AxisPanel : public TCustomAxisPanel {
public:
    using TCustomAxisPanel::TCustomAxisPanel;
    using TComponent::SetComponentState;
    bool IsColorUnused(TColor, bool, TChartSeries*) override { return true; }
    // What a drawing test paints (nothing when empty).
    std::function<void()> Contents;

protected:
    void DrawContents(const TRect& R) override
    {
        if (Contents)
            Contents();
        else
            TCustomAxisPanel::DrawContents(R);
    }
};

struct Label {
    int Pos;
    std::string Text;
};

struct AxisTest : testsupport::ChartStartedTest {
    void SetUp() override
    {
        chart = std::make_unique<AxisPanel>(nullptr);
        // Characters 6 pixels wide, lines 13 pixels high.
        chart->Canvas()->SetTextMeasurer(std::make_shared<TFixedTextMeasurer>(6, 10, 3));
        chart->ChartRect = TRect(40, 20, 440, 320);
        chart->ChartWidth = 400;
        chart->ChartHeight = 300;
    }
    void TearDown() override
    {
        chart.reset();
    }
    // A series of the chart (owned by the form) with the given points.
    TChartSeries* AddSeries(const std::vector<std::pair<double, double>>& Points)
    {
        auto* s = new TChartSeries(&form);
        for (auto [x, y] : Points)
            s->AddPointXY(x, y);
        chart->AddSeries(s);
        return s;
    }
    // Ranges and pixel extents of every axis, as before a drawing.
    void Layout()
    {
        for (TChartAxis* a : chart->Axes()->List()) {
            a->RefreshRange();
            a->CalcPositions();
        }
    }
    std::vector<Label> LabelsOf(TChartAxis* Axis)
    {
        std::vector<Label> result;
        Axis->CalcLabels([&](int P, const std::string& Text, TAxisItem*) { result.push_back({P, Text}); });
        return result;
    }
    static std::vector<std::string> Texts(const std::vector<Label>& Labels)
    {
        std::vector<std::string> t;
        for (const Label& l : Labels)
            t.push_back(l.Text);
        return t;
    }

    TComponent form{nullptr};
    std::unique_ptr<AxisPanel> chart;
};

}  // namespace axistest
