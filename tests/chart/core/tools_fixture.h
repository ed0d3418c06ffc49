// A chart that counts its repaint requests, for the tool, source and group tests.
#pragma once

#include "TeEngine.h"
#include "TeeConst.h"

#include "ChartStarted.h"

#include <gtest/gtest.h>

#include <memory>

namespace toolstest {

class ToolsChart : public TCustomAxisPanel {
public:
    explicit ToolsChart(TComponent* AOwner) : TCustomAxisPanel(AOwner) {}
    bool IsColorUnused(TColor, bool, TChartSeries*) override { return true; }
    int Repaints = 0;
    void RequestRepaint() override { ++Repaints; }
};

struct ToolsTest : testsupport::ChartStartedTest {
    void SetUp() override
    {
        chart = std::make_unique<ToolsChart>(nullptr);
    }
    void TearDown() override
    {
        chart.reset();
    }
    // A series of the chart, owned by the form.
    TChartSeries* AddSeries(const char* Name)
    {
        auto* s = new TChartSeries(&form);
        s->SetName(Name);
        chart->AddSeries(s);
        return s;
    }
    TComponent form{nullptr};
    std::unique_ptr<ToolsChart> chart;
};

} // namespace toolstest
