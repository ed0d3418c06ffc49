// Tools, series sources and series groups as parts of a chart: the chart's mouse events
// reach its tools, the tools go with the chart, a source on a series of a chart loads
// through the chart, and the chart's series changes keep the groups in step.
#include "tools_fixture.h"

#include <string>
#include <vector>

namespace {

using toolstest::ToolsTest;

class LoggingTool : public TTeeCustomTool {
public:
    using TTeeCustomTool::TTeeCustomTool;
    std::vector<std::string>* Log = nullptr;
    bool* Freed = nullptr;
    ~LoggingTool() override
    {
        if (Freed != nullptr)
            *Freed = true;
    }
    void ChartStageEvent(TChartToolEvent Stage) override { Log->push_back("stage" + std::to_string(Stage)); }
    void HandleChartMouse(TTeeMouseEventKind Kind, TMouseButton, TShiftState, int X, int Y) override
    {
        Log->push_back("mouse" + std::to_string(Kind) + "@" + std::to_string(X) + "," + std::to_string(Y));
    }
};

class AxisTool : public TTeeCustomToolAxis {
public:
    using TTeeCustomToolAxis::TTeeCustomToolAxis;
};

class SeriesTool : public TTeeCustomToolSeries {
public:
    using TTeeCustomToolSeries::TTeeCustomToolSeries;
};

// Fills its series with one point per load.
class CountingSource : public TTeeSeriesSource {
public:
    using TTeeSeriesSource::TTeeSeriesSource;
    using TComponent::Exclude;
    using TComponent::Include;
    int Loads = 0;
    void LoadData() override
    {
        ++Loads;
        Series()->AddPointXY(Loads, 10.0 * Loads);
    }
};

struct ChartTools : ToolsTest {
    LoggingTool* NewTool()
    {
        auto* t = new LoggingTool(&form);
        t->Log = &log;
        chart->Tools()->AddTool(t);
        return t;
    }
    std::vector<std::string> log;
};

TEST_F(ChartTools, ToolsHearTheChartsMouseUnlessItWasClaimed)
{
    LoggingTool* tool = NewTool();
    EXPECT_EQ(chart->Tools()->Chart(), chart.get());
    chart->DispatchMouseDown(mbLeft, ssLeft, 3, 4);
    chart->DispatchMouseMove(ssLeft, 5, 6);
    chart->DispatchMouseUp(mbLeft, 0, 7, 8);
    EXPECT_EQ(log, (std::vector<std::string>{"mouse0@3,4", "mouse2@5,6", "mouse1@7,8"}));

    // A handler of the chart that claims the event keeps it from the tools; the next
    // event reaches them again.
    log.clear();
    chart->OnMouseUp = [&](TObject*, TMouseButton, TShiftState, int, int) { chart->CancelMouse = true; };
    chart->DispatchMouseUp(mbLeft, 0, 1, 1);
    chart->DispatchMouseDown(mbLeft, ssLeft, 2, 2);
    EXPECT_EQ(log, (std::vector<std::string>{"mouse0@2,2"}));

    // Leaving: after the chart's own handler, the tools hear the leave stage.
    log.clear();
    chart->OnMouseLeave = [&](TObject*) { log.push_back("chart left"); };
    chart->DispatchMouseLeave();
    EXPECT_EQ(log, (std::vector<std::string>{"chart left", "stage5"}));

    // An inactive tool hears nothing.
    log.clear();
    tool->SetActive(false);
    chart->DispatchMouseDown(mbLeft, ssLeft, 3, 4);
    chart->DispatchMouseLeave();
    EXPECT_EQ(log, (std::vector<std::string>{"chart left"}));
}

TEST_F(ChartTools, ToolsAreFreedWithTheChart)
{
    bool freed = false;
    LoggingTool* tool = NewTool();
    tool->Freed = &freed;
    TChartSeries* s = AddSeries("S");
    auto* seriesTool = new SeriesTool(&form);
    seriesTool->SetSeries(s);
    chart->Tools()->AddTool(seriesTool);
    auto* custom = static_cast<TChartAxis*>(chart->CustomAxes()->Add());
    auto* axisTool = new AxisTool(&form);
    axisTool->SetAxis(custom);
    EXPECT_EQ(axisTool->ParentChart(), chart.get());
    ASSERT_EQ(chart->Tools()->Count(), 3);
    const int owned = form.ComponentCount();

    chart.reset();   // the sanitizer catches any tool that reaches a freed axis or series
    EXPECT_TRUE(freed);
    EXPECT_EQ(form.ComponentCount(), owned - 4);   // three tools and the series
}

using ChartSources = ToolsTest;

TEST_F(ChartSources, AnOpenSourceGivenToASeriesLoadsIntoIt)
{
    TChartSeries* s = AddSeries("S");
    auto* source = new CountingSource(&form);
    source->Open();   // no series yet: nothing to load
    EXPECT_EQ(source->Loads, 0);

    s->SetDataSource(source);   // the chart accepts it; it moves to the series and loads
    EXPECT_EQ(source->Series(), s);
    EXPECT_EQ(s->DataSource(), source);
    EXPECT_TRUE(source->Active());
    ASSERT_GE(source->Loads, 1);
    EXPECT_GE(s->Count(), 1);

    // The series asks again for its data: the chart has the open source load it.
    const int loads = source->Loads;
    s->CheckDataSource();
    EXPECT_EQ(source->Loads, loads + 1);
    // A closed source loads nothing.
    source->Close();
    EXPECT_EQ(s->Count(), 0);
    s->CheckDataSource();
    EXPECT_EQ(source->Loads, loads + 1);
    // Nor does one loading from a stream.
    source->Open();
    source->Include(csLoading);
    s->CheckDataSource();
    EXPECT_EQ(source->Loads, loads + 2);
    source->Exclude(csLoading);
}

TEST_F(ChartSources, ASeriesLettingItsSourceGoUnlinksIt)
{
    TChartSeries* s = AddSeries("S");
    TChartSeries* other = AddSeries("T");
    auto* first = new CountingSource(&form);
    first->SetSeries(s);
    first->Open();
    EXPECT_EQ(s->Count(), 1);

    // Replaced by another source: the first lets the series go.
    auto* second = new CountingSource(&form);
    s->SetDataSource(second);
    EXPECT_EQ(first->Series(), nullptr);
    EXPECT_FALSE(first->Active());
    EXPECT_EQ(s->DataSource(), second);
    EXPECT_EQ(second->Series(), s);
    first->Open();   // linked to nothing: loads nowhere
    EXPECT_EQ(first->Loads, 1);

    // Given to another series: the old one loses it.
    other->SetDataSource(second);
    EXPECT_EQ(s->DataSource(), nullptr);
    EXPECT_EQ(second->Series(), other);

    // Removed by the series: the source forgets the series.
    other->SetDataSource(nullptr);
    EXPECT_EQ(second->Series(), nullptr);
    other->RemoveDataSource(second);   // no longer listed: nothing happens
    EXPECT_EQ(other->DataSource(), nullptr);

    // Any series source or other series may feed a series; the series itself may not.
    EXPECT_TRUE(chart->IsValidDataSource(s, second));
    EXPECT_TRUE(chart->IsValidDataSource(s, other));
    EXPECT_FALSE(chart->IsValidDataSource(s, s));
    EXPECT_FALSE(chart->IsValidDataSource(s, nullptr));
}

using ChartGroups = ToolsTest;

TEST_F(ChartGroups, ExchangeAndRemovalKeepGroupsInStep)
{
    TChartSeries* a = AddSeries("A");
    TChartSeries* b = AddSeries("B");
    TChartSeries* c = AddSeries("C");
    TSeriesGroup* both = chart->SeriesList()->AddGroup("both");
    both->Series()->Add(a);
    both->Series()->Add(c);
    both->Series()->Add(b);
    TSeriesGroup* one = chart->SeriesList()->AddGroup("one");
    one->Series()->Add(b);
    one->Series()->Add(c);

    chart->ExchangeSeries(a, b);
    EXPECT_EQ(chart->Series(0), b);
    EXPECT_EQ(chart->Series(1), a);
    EXPECT_EQ(both->Series()->Items(), (std::vector<TChartSeries*>{b, c, a}));
    EXPECT_EQ(one->Series()->Items(), (std::vector<TChartSeries*>{b, c}));   // holds only b

    chart->RemoveSeries(c);
    EXPECT_EQ(both->Series()->Items(), (std::vector<TChartSeries*>{b, a}));
    EXPECT_EQ(one->Series()->Items(), (std::vector<TChartSeries*>{b}));
    EXPECT_EQ(chart->SeriesList()->Groups()->IndexOfSeries(c), -1);
    delete c;
}

} // namespace
