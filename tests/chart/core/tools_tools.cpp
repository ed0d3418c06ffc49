// Chart tools: the stages and mouse events a chart's tools list passes on, the tools list
// following the tool's chart, and tools bound to a series or an axis.
#include "tools_fixture.h"

#include <string>
#include <vector>

namespace {

using toolstest::ToolsChart;
using toolstest::ToolsTest;

// Records what it hears; can claim the mouse event for itself.
class RecordingTool : public TTeeCustomTool {
public:
    using TTeeCustomTool::TTeeCustomTool;
    std::vector<std::string>* Log = nullptr;
    bool CancelsMouse = false;
    void ChartStageEvent(TChartToolEvent Stage) override { Log->push_back(Name() + ":stage" + std::to_string(Stage)); }
    void HandleChartMouse(TTeeMouseEventKind Kind, TMouseButton Button, TShiftState, int X, int Y) override
    {
        Log->push_back(Name() + ":mouse" + std::to_string(Kind) + "@" + std::to_string(X) + "," + std::to_string(Y));
        if (CancelsMouse)
            ParentChart()->CancelMouse = true;
    }
    std::string Description() const override { return "Recorder"; }
};

class SeriesTool : public TTeeCustomToolSeries {
public:
    using TTeeCustomToolSeries::TTeeCustomToolSeries;
};
class AxisTool : public TTeeCustomToolAxis {
public:
    using TTeeCustomToolAxis::TTeeCustomToolAxis;
};

struct Tools : ToolsTest {
    RecordingTool* NewTool(const char* Name)
    {
        auto* t = new RecordingTool(&form);
        t->SetName(Name);
        t->Log = &log;
        chart->Tools()->AddTool(t);
        return t;
    }
    std::vector<std::string> log;
};

TEST_F(Tools, ActiveToolsHearStagesAndMouseInOrderUntilOneCancels)
{
    RecordingTool* a = NewTool("A");
    RecordingTool* b = NewTool("B");
    RecordingTool* c = NewTool("C");
    b->SetActive(false);
    chart->Tools()->NotifyStage(cteAfterBackground);
    chart->Tools()->NotifyStage(cteMouseLeave);
    chart->Tools()->HandleMouse(meMove, mbLeft, {}, 7, 9);
    EXPECT_EQ(log, (std::vector<std::string>{"A:stage2", "C:stage2", "A:stage5", "C:stage5", "A:mouse2@7,9",
                                             "C:mouse2@7,9"}));

    // A tool that claims the event keeps it from the tools after it.
    log.clear();
    b->SetActive(true);
    a->CancelsMouse = true;
    chart->Tools()->HandleMouse(meDown, mbLeft, {}, 1, 2);
    EXPECT_EQ(log, (std::vector<std::string>{"A:mouse0@1,2"}));
    EXPECT_EQ(c->Description(), "Recorder");
}

TEST_F(Tools, ToolFollowsItsChartAndLeavesTheListWhenFreed)
{
    RecordingTool* a = NewTool("A");
    RecordingTool* b = NewTool("B");
    ASSERT_EQ(chart->Tools()->Count(), 2);
    EXPECT_EQ(a->ParentChart(), chart.get());
    EXPECT_EQ(chart->Tools()->Tool(1), b);
    EXPECT_THROW(chart->Tools()->Tool(2), ERangeError);

    ToolsChart other(nullptr);
    a->SetParentChart(&other);
    EXPECT_EQ(chart->Tools()->Count(), 1);
    EXPECT_EQ(other.Tools()->IndexOf(a), 0);

    // Leaving for no chart repaints the chart left.
    const int repaints = other.Repaints;
    a->SetParentChart(nullptr);
    EXPECT_EQ(other.Tools()->Count(), 0);
    EXPECT_GT(other.Repaints, repaints);

    delete b;
    EXPECT_EQ(chart->Tools()->Count(), 0);
    delete a;
}

TEST_F(Tools, ClearAndTheChartsEndFreeTheTools)
{
    NewTool("A");
    NewTool("B");
    EXPECT_EQ(form.ComponentCount(), 2);
    chart->Tools()->Clear();
    EXPECT_EQ(chart->Tools()->Count(), 0);
    EXPECT_EQ(form.ComponentCount(), 0);

    NewTool("C");
    chart.reset();
    EXPECT_EQ(form.ComponentCount(), 0);
}

TEST_F(Tools, SeriesToolForgetsAFreedSeries)
{
    TChartSeries* s1 = AddSeries("S1");
    TChartSeries* s2 = AddSeries("S2");
    auto* tool = new SeriesTool(&form);
    chart->Tools()->AddTool(tool);
    EXPECT_EQ(tool->EditorClassName(), "TSeriesToolEditor");

    tool->SetSeries(s1);
    tool->SetSeries(s2);
    delete s1;   // no longer its series
    EXPECT_EQ(tool->Series(), s2);
    // The series dropping its data sources does not cut the tool's watch.
    s2->SetDataSource(nullptr);
    delete s2;
    EXPECT_EQ(tool->Series(), nullptr);
}

TEST_F(Tools, AxisToolTakesTheAxisChartAndLosesRemovedAxes)
{
    auto* tool = new AxisTool(&form);
    EXPECT_EQ(tool->EditorClassName(), "TAxisToolEditor");
    tool->SetAxis(chart->LeftAxis());
    EXPECT_EQ(tool->ParentChart(), chart.get());
    EXPECT_EQ(chart->Tools()->IndexOf(tool), 0);

    // Clearing the axis keeps the tool in its chart.
    tool->SetAxis(nullptr);
    EXPECT_EQ(tool->ParentChart(), chart.get());
    EXPECT_EQ(chart->Tools()->Count(), 1);

    tool->SetAxis(chart->BottomAxis());
    chart->Tools()->AxisRemoved(chart->TopAxis());
    EXPECT_EQ(tool->Axis(), chart->BottomAxis());
    chart->Tools()->AxisRemoved(chart->BottomAxis());
    EXPECT_EQ(tool->Axis(), nullptr);

    // A custom axis freed on its own lets its tools go.
    auto* custom = static_cast<TChartAxis*>(chart->CustomAxes()->Add());
    tool->SetAxis(custom);
    chart->CustomAxes()->Delete(0);
    EXPECT_EQ(tool->Axis(), nullptr);

    // An axis of one chart does not stay bound when the tool moves to another.
    tool->SetAxis(chart->RightAxis());
    ToolsChart other(nullptr);
    tool->SetParentChart(&other);
    EXPECT_EQ(tool->Axis(), nullptr);
    delete tool;
}

} // namespace
