// Gantt bars with their links to the next task, arrows with their heads, and bubbles
// sized by their radius on either axis; their hit tests and extremes.
#include "series_fixture.h"

#include "ArrowCha.h"
#include "BubbleCh.h"
#include "GanttCh.h"

namespace seriestest {
namespace {

using GanttArrowBubble = SeriesTest;

TEST_F(GanttArrowBubble, GanttBarsAndTheLineToTheNextTask)
{
    auto* g = Add<TGanttSeries>(clRed, {});
    g->Pointer()->SetVertSize(3);
    g->AddGantt(2, 4, 2, "Design", clRed);
    g->AddGantt(6, 9, 5, "Testing", clBlue);
    g->AddGantt(1, 3, 8, "Sales", clGreen);
    g->NextTask()->SetValue(0, 1);    // Design -> Testing
    g->NextTask()->SetValue(2, 7);    // past the last task: no line
    EXPECT_EQ(g->NextTask()->Value(1), -1);
    EXPECT_EQ(g->GreatestX(), 9);
    chart->Layout();
    auto bmp = chart->Picture();
    // Each bar spans its task, in its own colour.
    EXPECT_EQ(Px(*bmp, PX(2) + 2, PY(2)), clRed);
    EXPECT_EQ(Px(*bmp, PX(4) - 2, PY(2) + 2), clRed);
    EXPECT_EQ(Px(*bmp, PX(4) + 3, PY(2) + 2), clWhite);
    EXPECT_EQ(Px(*bmp, PX(7.5), PY(5)), clBlue);
    // The link: along to the middle of the gap, up to the next row, on to its start.
    const int middle = (PX(4) + PX(6)) / 2;
    EXPECT_EQ(Px(*bmp, (PX(4) + middle) / 2, PY(2)), clBlack);
    EXPECT_EQ(Px(*bmp, middle, PY(3.5)), clBlack);
    EXPECT_EQ(Px(*bmp, (middle + PX(6)) / 2, PY(5)), clBlack);
    // No link from the task whose next task does not exist.
    EXPECT_EQ(Px(*bmp, PX(3) + 3, (PY(8) + PY(9)) / 2), clWhite);
    EXPECT_EQ(Px(*bmp, PX(5), PY(8)), clWhite);

    EXPECT_EQ(g->Clicked(PX(3), PY(2) + 2), 0);
    EXPECT_EQ(g->Clicked(PX(3), PY(2) + 3), -1);
    EXPECT_EQ(g->Clicked(PX(5), PY(2)), -1);
    // A task that ends before it starts never answers.
    g->AddGantt(9, 7, 0);
    EXPECT_EQ(g->Clicked(PX(8), PY(0)), -1);
}

TEST_F(GanttArrowBubble, GanttBarOnAnInvertedAxisSpansItsTaskAndAnswersClicks)
{
    chart->BottomAxis()->SetInverted(true);
    auto* g = Add<TGanttSeries>(clRed, {});
    g->Pointer()->SetVertSize(3);
    g->AddGantt(2, 6, 5, "Design", clRed);
    chart->Layout();
    auto bmp = chart->Picture();
    // Value v lies at 210 - 20 v: the task runs leftwards from x = 170 to x = 90.
    const int start = 210 - 20 * 2, end = 210 - 20 * 6;
    EXPECT_EQ(Px(*bmp, start - 3, PY(5) + 1), clRed);
    EXPECT_EQ(Px(*bmp, (start + end) / 2 + 7, PY(5) - 1), clRed);
    EXPECT_EQ(Px(*bmp, end + 3, PY(5) + 1), clRed);
    EXPECT_EQ(Px(*bmp, end - 4, PY(5)), clWhite);
    EXPECT_EQ(g->Clicked(end + 10, PY(5)), 0);
    EXPECT_EQ(g->Clicked(start - 10, PY(5) + 2), 0);
    EXPECT_EQ(g->Clicked(start + 10, PY(5)), -1);
}

TEST_F(GanttArrowBubble, ArrowShaftAndHead)
{
    auto* a = Add<TArrowSeries>(clBlue, {});
    a->SetArrowWidth(12);
    a->SetArrowHeight(12);
    a->AddArrow(1, 2, 8, 2, "", clBlue);
    a->AddArrow(5, 9, 5, 6, "", clRed);
    EXPECT_EQ(a->GreatestX(), 8);
    EXPECT_EQ(a->LeastY(), 2);
    EXPECT_EQ(a->GreatestY(), 9);
    chart->Layout();
    auto bmp = chart->Picture();
    EXPECT_EQ(Px(*bmp, PX(4), PY(2)), clBlue);
    // The barbs start at the tip and end 12 pixels back, 6 to either side.
    EXPECT_TRUE(Near(*bmp, PX(8) - 11, PY(2) - 6, clBlue));
    EXPECT_TRUE(Near(*bmp, PX(8) - 11, PY(2) + 6, clBlue));
    EXPECT_EQ(Px(*bmp, PX(8) - 6, PY(2) - 6), clWhite);
    // A downward arrow: its barbs point up from the tip.
    EXPECT_TRUE(Near(*bmp, PX(5) - 6, PY(6) - 11, clRed));
    EXPECT_TRUE(Near(*bmp, PX(5) + 6, PY(6) - 11, clRed));
    EXPECT_EQ(Px(*bmp, PX(5) + 6, PY(6) + 6), clWhite);

    EXPECT_EQ(a->Clicked(PX(3), PY(2) + 1), 0);
    EXPECT_EQ(a->Clicked(PX(5) + 1, PY(7.5)), 1);
    EXPECT_EQ(a->Clicked(PX(3), PY(4)), -1);
}

TEST_F(GanttArrowBubble, BubbleRadiusOnBothAxes)
{
    auto* b = Add<TBubbleSeries>(clGreen, {});
    b->AddBubble(5, 5, 2, "", clGreen);
    EXPECT_EQ(b->GreatestY(), 7);
    EXPECT_EQ(b->LeastY(), 3);
    // Squared: 2 units are 30 pixels high and as wide.
    chart->Layout();
    auto bmp = chart->Picture();
    EXPECT_EQ(Px(*bmp, PX(5), PY(5) - 28), clGreen);
    EXPECT_EQ(Px(*bmp, PX(5) + 28, PY(5)), clGreen);
    EXPECT_EQ(Px(*bmp, PX(5) + 34, PY(5)), clWhite);
    EXPECT_EQ(b->Clicked(PX(5) + 28, PY(5)), 0);
    EXPECT_EQ(b->Clicked(PX(5) + 25, PY(5) - 25), -1);   // outside the circle, inside its box
    // Not squared: 2 units are 40 pixels wide, an ellipse.
    b->SetSquared(false);
    bmp = chart->Picture();
    EXPECT_EQ(Px(*bmp, PX(5) + 37, PY(5)), clGreen);
    EXPECT_EQ(Px(*bmp, PX(5), PY(5) - 34), clWhite);
    EXPECT_EQ(b->Clicked(PX(5) + 37, PY(5)), 0);
    b->Pointer()->SetStyle(psDiamond);
    EXPECT_EQ(b->Clicked(PX(5) + 30, PY(5) - 20), -1);
    EXPECT_EQ(b->Clicked(PX(5) + 15, PY(5) - 10), 0);
}

} // namespace
} // namespace seriestest
