// A chart that keeps a tools list and accepts series sources, for the tool, source and
// group tests.
#pragma once

#include "TeEngine.h"
#include "TeeConst.h"

#include <gtest/gtest.h>

#include <memory>

namespace toolstest {

class ToolsChart : public TCustomAxisPanel, public IChartToolsHost {
public:
    explicit ToolsChart(TComponent* AOwner) : TCustomAxisPanel(AOwner), FTools(std::make_unique<TChartTools>(this)) {}
    ~ToolsChart() override { FTools.reset(); }
    TChartTools* Tools() const override { return FTools.get(); }
    bool IsColorUnused(TColor, bool, TChartSeries*) override { return true; }
    bool IsValidDataSource(TChartSeries* S, TComponent* Source) override
    {
        return dynamic_cast<TTeeSeriesSource*>(Source) != nullptr || TCustomAxisPanel::IsValidDataSource(S, Source);
    }
    int Repaints = 0;
    void RequestRepaint() override { ++Repaints; }

private:
    std::unique_ptr<TChartTools> FTools;
};

struct ToolsTest : ::testing::Test {
    void SetUp() override
    {
        TeeConstInitialization();
        chart = std::make_unique<ToolsChart>(nullptr);
    }
    void TearDown() override
    {
        chart.reset();
        TeeConstFinalization();
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
