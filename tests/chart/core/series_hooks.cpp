// The series' mouse hook (cursor, enter and leave), the drawing order of series in
// depth, the drawing-order flags, the page range past the last page, mark labels on an
// axis, exchanging series, date-time texts in marks, what Assign and Loaded bring, axis
// names and the mouse-up the tools always hear.
#include "chart_fixture_support.h"

#include "TestSupport.h"

namespace {

using charttest::ChartTest;

// A series whose only "point" is the square 100..200 x 100..200.
class SquareSeries : public TChartSeries {
public:
    using TChartSeries::TChartSeries;
    int Clicked(int X, int Y) override { return X >= 100 && X < 200 && Y >= 100 && Y < 200 ? 0 : -1; }
};

TEST_F(ChartTest, MouseEntersAndLeavesASeriesOnceAndTheCursorFollows)
{
    auto* s = new SquareSeries(&form);
    chart->AddSeries(s);
    int enters = 0, leaves = 0;
    s->OnMouseEnter = [&](TObject*) { ++enters; };
    s->OnMouseLeave = [&](TObject*) { ++leaves; };
    s->SetCursor(crHandPoint);
    chart->DispatchMouseMove(0, 50, 50);
    EXPECT_EQ(enters, 0);
    chart->DispatchMouseMove(0, 150, 150);
    chart->DispatchMouseMove(0, 160, 150);
    EXPECT_EQ(enters, 1);
    EXPECT_EQ(leaves, 0);
    EXPECT_EQ(chart->Cursor(), crHandPoint);
    chart->DispatchMouseMove(0, 250, 150);
    chart->DispatchMouseMove(0, 260, 150);
    EXPECT_EQ(leaves, 1);
    EXPECT_EQ(chart->Cursor(), chart->OriginalCursor);

    // Leaving the chart while the series' cursor shows gives the chart its own back.
    chart->DispatchMouseMove(0, 150, 150);
    EXPECT_EQ(enters, 2);
    chart->RemoveSeries(s);
    EXPECT_EQ(chart->Cursor(), chart->OriginalCursor);
}

TEST_F(ChartTest, ReversedDrawingAndPagesPastTheEnd)
{
    TChartSeries* s = AddSeries();
    EXPECT_TRUE(s->PointOrderForward());
    EXPECT_TRUE(s->SeriesOrderForward());
    chart->ReversedDrawing = true;
    EXPECT_FALSE(s->PointOrderForward());
    EXPECT_FALSE(s->SeriesOrderForward());
    chart->BottomAxis()->SetInverted(true);
    EXPECT_TRUE(s->PointOrderForward());
    chart->ReversedDrawing = false;

    for (int t = 2; t < 25; ++t)
        s->AddPointXY(t * 10, t);
    chart->SetMaxPointsPerPage(10);
    chart->SetPage(3);
    int first = 0, last = 0;
    chart->PageValueRange(s, first, last);
    EXPECT_EQ(first, 20);
    EXPECT_EQ(last, 24);
    // A page number beyond the points (the points went meanwhile) shows the last full
    // page rather than nothing.
    s->DeleteRange(10, 15);
    chart->PageValueRange(s, first, last);
    EXPECT_EQ(first, 0);
    EXPECT_EQ(last, 9);
}

// Fills a large rectangle at its own depth.
class PlaneSeries : public TChartSeries {
public:
    using TChartSeries::TChartSeries;
    void DrawValue(int) override
    {
        TTeeCanvas3D* c = ParentChart()->Canvas();
        c->Brush()->SetStyle(bsSolid);
        c->Brush()->SetColor(SeriesColor());
        c->Pen()->SetColor(SeriesColor());
        const TRect& r = ParentChart()->ChartRect;
        c->RectangleAtDepth(TRect(r.Left + 40, r.Top + 40, r.Right - 40, r.Bottom - 40), StartZ());
    }
};

TEST_F(ChartTest, InThreeDimensionsTheLastSeriesIsInFrontAndDrawnOverTheOthers)
{
    chart->SetView3D(true);
    chart->SetChart3DPercent(40);
    auto* back = new PlaneSeries(&form);
    auto* front = new PlaneSeries(&form);
    for (PlaneSeries* s : {back, front}) {
        chart->AddSeries(s);
        s->AddPointXY(0, 0);
        s->AddPointXY(1, 1);
    }
    back->SetSeriesColor(clRed);
    front->SetSeriesColor(clBlue);
    auto bmp = Draw();
    if (const std::string path = testsupport::ArtifactPath("series-depth-order.png"); !path.empty())
        bmp->SaveToFile(path);
    EXPECT_EQ(front->StartZ(), 0);
    EXPECT_GT(back->StartZ(), 0);
    // Where the two planes overlap, the front one shows.
    const TRect& r = chart->ChartRect;
    EXPECT_EQ(charttest::Px(*bmp, (r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2), clBlue);
}

TEST_F(ChartTest, AVerticalAxisOfMarkLabelsReservesTheirWidth)
{
    TChartSeries* s = AddSeries();
    s->Marks()->SetStyle(smsLabel);
    s->SetLabel(0, "Short");
    s->SetLabel(1, "A much longer label");
    int keyed = 0;
    s->OnGetMarkText = [&](TChartSeries*, int, std::string& Text) {
        ++keyed;
        Text += "!";
    };
    chart->LeftAxis()->SetLabelStyle(talMark);
    Draw();
    EXPECT_GT(keyed, 0);
    EXPECT_EQ(chart->LargestMarkWidth(), 20 * charttest::CharW);
    EXPECT_EQ(chart->LeftAxis()->MaxLabelsWidth(), 20 * charttest::CharW);
    const int withLongLabels = chart->ChartRect.Left;
    s->SetLabel(1, "B");
    Draw();
    EXPECT_EQ(chart->ChartRect.Left + 14 * charttest::CharW, withLongLabels);
}

// A source that feeds no series.
class ClosedSource : public TTeeSeriesSource {
public:
    using TTeeSeriesSource::TTeeSeriesSource;
    bool AcceptsSeries(const TChartSeries*) const override { return false; }
};

TEST_F(ChartTest, ExchangedSeriesSwapTheirComponentPlacesAndSourcesAreAsked)
{
    TChartSeries* a = AddSeries();
    auto* other = new TComponent(&form);
    TChartSeries* b = AddSeries();
    ASSERT_EQ(a->ComponentIndex(), 0);
    ASSERT_EQ(b->ComponentIndex(), 2);
    chart->ExchangeSeries(a, b);
    EXPECT_EQ(chart->Series(0), b);
    EXPECT_EQ(b->ComponentIndex(), 0);
    EXPECT_EQ(other->ComponentIndex(), 1);
    EXPECT_EQ(a->ComponentIndex(), 2);

    ClosedSource closed(&form);
    TTeeSeriesSource open(&form);
    EXPECT_FALSE(chart->IsValidDataSource(a, &closed));
    EXPECT_TRUE(chart->IsValidDataSource(a, &open));
}

TEST_F(ChartTest, ADateTimeXShowsAsADateInMarksOfTheLegendStyle)
{
    TChartSeries* s = AddSeries();
    s->Clear();
    s->XValues()->SetDateTime(true);
    s->AddPointXY(45000.5, 1);
    s->AddPointXY(45010.5, 2);
    s->Marks()->SetStyle(smsLegend);
    chart->Legend()->SetTextStyle(ltsXValue);
    Draw();
    EXPECT_EQ(s->ValueMarkText(0), FormatDateTime(FormatSettings().ShortDateFormat, 45000.5));
    chart->Legend()->SetTextStyle(ltsPlain);
    s->SetLabel(0, "first");
    EXPECT_EQ(s->ValueMarkText(0), "first");
}

class TCopiedFunction : public TTeeFunction {
public:
    DECLARE_CLASS_INFO(TCopiedFunction)
    using TTeeFunction::TTeeFunction;
};
BEGIN_CLASS_INFO(TCopiedFunction, TTeeFunction)
    .ComponentFactory()
END_CLASS_INFO

TEST_F(ChartTest, AssignCopiesTheFunctionAndLoadedResolvesSourceNames)
{
    TChartSeries* source = AddSeries();
    source->SetName("Source");
    auto* fed = new TChartSeries(&form);
    chart->AddSeries(fed);
    auto* f = new TCopiedFunction(&form);
    f->SetPeriod(3);
    fed->SetFunction(f);
    auto* copy = new TChartSeries(&form);
    chart->AddSeries(copy);
    copy->Assign(fed);
    ASSERT_NE(copy->FunctionType(), nullptr);
    EXPECT_NE(copy->FunctionType(), f);
    EXPECT_EQ(copy->FunctionType()->ClassInfo(), TCopiedFunction::StaticClassInfo());
    EXPECT_EQ(copy->FunctionType()->Period(), 3);

    copy->PendingDataSourceNames() = {"Source", "Missing"};
    copy->Loaded();
    EXPECT_EQ(copy->DataSource(), source);
    EXPECT_EQ(copy->DataSources()->Count(), 1);
    EXPECT_TRUE(copy->PendingDataSourceNames().empty());
}

class MouseUpCounter : public TTeeCustomTool {
public:
    using TTeeCustomTool::TTeeCustomTool;
    int Ups = 0;
    void HandleChartMouse(TTeeMouseEventKind Kind, TMouseButton, TShiftState, int, int) override
    {
        if (Kind == meUp)
            ++Ups;
    }
};

TEST_F(ChartTest, ToolsHearAClaimedMouseUpAndAxisNamesAreChartTexts)
{
    auto* tool = new MouseUpCounter(&form);
    chart->Tools()->AddTool(tool);
    chart->OnMouseUp = [&](TObject*, TMouseButton, TShiftState, int, int) { chart->CancelMouse = true; };
    chart->DispatchMouseUp(mbLeft, 0, 5, 5);
    EXPECT_EQ(tool->Ups, 1);

    const std::string saved = TeeMsg_LeftAxis;
    TeeMsg_LeftAxis = "Linke Achse";
    EXPECT_EQ(chart->GetAxisName(chart->LeftAxis()), "Linke Achse");
    TeeMsg_LeftAxis = saved;
    EXPECT_EQ(chart->GetAxisName(chart->DepthTopAxis()), TeeMsg_DepthTopAxis);
}

} // namespace
