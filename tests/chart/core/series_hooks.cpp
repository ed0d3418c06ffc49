// The series' mouse hook (cursor, enter and leave), the drawing-order flags and the
// page range past the last page.
#include "chart_fixture_support.h"

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

} // namespace
