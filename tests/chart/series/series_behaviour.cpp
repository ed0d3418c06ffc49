// What a joined series answers without drawing: the visible index range under the axis
// range, clicks on points and segments, legend items and symbols, and stacks.
#include "series_fixture.h"

#include "Chart.h"
#include "chart_fixture.h"
#include "graphics/TextMeasure.h"

namespace seriestest {
namespace {

using SeriesRange = SeriesTest;

TEST_F(SeriesRange, VisibleRangeFollowsTheAxisRange)
{
    auto* line = Add<TLineSeries>(clRed, {});
    auto* points = Add<TPointSeries>(clBlue, {});
    for (int i = 0; i < 10; ++i) {
        line->AddPointXY(i, i);
        points->AddPointXY(i, i);
    }
    chart->BottomAxis()->SetMinMax(2.5, 6.5);
    chart->Layout();
    // The line keeps the point after the range to draw the segment towards it.
    EXPECT_EQ(line->FirstValueIndex(), 3);
    EXPECT_EQ(line->LastValueIndex(), 7);
    EXPECT_EQ(points->FirstValueIndex(), 3);
    EXPECT_EQ(points->LastValueIndex(), 6);

    chart->BottomAxis()->SetMinMax(20, 30);
    chart->Layout();
    EXPECT_EQ(line->FirstValueIndex(), -1);
    EXPECT_EQ(line->LastValueIndex(), -1);

    // Unordered X: every point, whatever the range.
    line->XValues()->SetOrder(loNone);
    chart->Layout();
    EXPECT_EQ(line->FirstValueIndex(), 0);
    EXPECT_EQ(line->LastValueIndex(), 9);
}

TEST_F(SeriesRange, HorizontalLineDrawsEveryPointAlongTheLeftAxis)
{
    auto* s = Add<THorizLineSeries>(clRed, {{2, 1}, {5, 3}, {3, 9}});
    EXPECT_FALSE(s->YMandatory());
    chart->LeftAxis()->SetMinMax(2, 4);
    chart->Layout();
    EXPECT_EQ(s->FirstValueIndex(), 0);
    EXPECT_EQ(s->LastValueIndex(), 2);
    auto bmp = chart->Picture();
    EXPECT_TRUE(Near(*bmp, (PX(2) + PX(5)) / 2, (s->PointScreenY(0) + s->PointScreenY(1)) / 2, clRed));
}

using SeriesClick = SeriesTest;

TEST_F(SeriesClick, PointerPixelAndSegment)
{
    auto* p = Add<TPointSeries>(clRed, {{2, 2}, {8, 2}});
    EXPECT_EQ(p->Clicked(PX(8), PY(2)), 1);
    EXPECT_EQ(p->Clicked(PX(8) + 3, PY(2) - 3), 1);   // inside the half size 4
    EXPECT_EQ(p->Clicked(PX(8) + 4, PY(2)), -1);      // on the edge: outside
    EXPECT_EQ(p->Clicked(PX(5), PY(2)), -1);          // the line is not clickable
    int clickedIndex = -1;
    p->OnClickPointer = [&](TCustomSeries*, int i, int, int) { clickedIndex = i; };
    p->Clicked(PX(2) + 1, PY(2));
    EXPECT_EQ(clickedIndex, 0);

    // A symbol that draws nothing is never hit; the point's own pixel always is.
    p->Pointer()->SetStyle(psNothing);
    EXPECT_EQ(p->Clicked(PX(8) + 1, PY(2)), -1);
    EXPECT_EQ(p->Clicked(PX(8), PY(2)), 1);

    auto* l = Add<TLineSeries>(clBlue, {{1, 6}, {5, 6}, {9, 6}});
    EXPECT_EQ(l->Clicked(PX(7), PY(6)), 1);   // the segment answers its first point
    EXPECT_EQ(l->Clicked(PX(3), PY(6)), 0);
    EXPECT_EQ(l->Clicked(PX(3), PY(6) - 5), -1);
    l->SetClickableLine(false);
    EXPECT_EQ(l->Clicked(PX(3), PY(6)), -1);
}

TEST_F(SeriesClick, StairsAnswerOnBothLegs)
{
    auto* l = Add<TLineSeries>(clBlue, {{1, 2}, {5, 6}});
    l->SetStairs(true);
    EXPECT_EQ(l->Clicked(PX(3), PY(2)), 0);
    EXPECT_EQ(l->Clicked(PX(5), PY(4)), 0);
    EXPECT_EQ(l->Clicked(PX(3), PY(4)), -1);
}

using SeriesLegend = SeriesTest;

TEST_F(SeriesLegend, ItemsCarryTitleAndColours)
{
    auto* s = Add<TLineSeries>(clRed, {{1, 1}, {2, 2}});
    s->SetTitle("Calculated");
    s->SetValueColor(1, clGreen);
    EXPECT_EQ(s->LegendItemCount(), 2);
    EXPECT_EQ(s->ColorOfLegendItem(0), clRed);
    EXPECT_EQ(s->ColorOfLegendItem(1), clGreen);
    EXPECT_EQ(s->Title(), "Calculated");
}

// The symbol painted into a 20 x 10 rectangle of a fresh picture.
std::unique_ptr<TBitmap> Symbol(SeriesPanel& chart, TChartSeries* s, int Index)
{
    auto bmp = std::make_unique<TBitmap>(30, 20);
    bmp->Canvas()->Brush()->SetColor(clWhite);
    bmp->Canvas()->FillRect(TRect(0, 0, 30, 20));
    AttachCanvasToSurface(chart.Canvas(), bmp->Canvas());
    s->PaintLegendSymbol(Index, TRect(5, 5, 25, 15));
    return bmp;
}

TEST_F(SeriesLegend, LineSampleAndPointerSymbol)
{
    auto* l = Add<TLineSeries>(clRed, {{1, 1}});
    auto bmp = Symbol(*chart, l, -1);
    EXPECT_EQ(Px(*bmp, 15, 10), clRed);   // across the vertical middle
    EXPECT_EQ(Px(*bmp, 15, 7), clWhite);

    auto* p = Add<TPointSeries>(clBlue, {{1, 1}});
    p->AddNullPointXY(2, 2);
    bmp = Symbol(*chart, p, 0);
    EXPECT_EQ(Px(*bmp, 15, 10), clBlue);
    EXPECT_EQ(Px(*bmp, 15, 8), clBlue);    // a symbol, not a line
    bmp = Symbol(*chart, p, 1);            // null point: nothing
    EXPECT_EQ(Px(*bmp, 15, 10), clWhite);
    p->SetColorEachPoint(true);
    bmp = Symbol(*chart, p, -1);           // each point its colour: no series symbol
    EXPECT_EQ(Px(*bmp, 15, 10), clWhite);
}

TEST_F(SeriesLegend, ContinuousLegendFillsTheLineSample)
{
    TChart owner(nullptr);
    auto* l = new TLineSeries(&form);
    l->SetSeriesColor(clRed);
    owner.AddSeries(l);
    auto draw = [&] {
        auto bmp = std::make_unique<TBitmap>(30, 20);
        bmp->Canvas()->Brush()->SetColor(clWhite);
        bmp->Canvas()->FillRect(TRect(0, 0, 30, 20));
        AttachCanvasToSurface(owner.Canvas(), bmp->Canvas());
        l->PaintLegendSymbol(-1, TRect(5, 5, 25, 15));
        return bmp;
    };
    // In 2D a line across the middle, in the series colour.
    owner.SetView3D(false);
    auto flat = draw();
    EXPECT_EQ(Px(*flat, 15, 7), clWhite);
    EXPECT_EQ(Px(*flat, 15, 10), clRed);
    owner.Legend()->Symbol()->SetContinuous(true);
    auto bmp = draw();
    EXPECT_EQ(Px(*bmp, 15, 7), clRed);
    EXPECT_EQ(Px(*bmp, 15, 10), clRed);
    EXPECT_EQ(Px(*bmp, 15, 3), clWhite);
    // In 3D the line is a ribbon: its sample is filled in its colour and framed by LinePen,
    // not a line in the pen's colour that every line series would share.
    owner.Legend()->Symbol()->SetContinuous(false);
    owner.SetView3D(true);
    l->LinePen()->SetColor(clBlue);
    auto ribbon = draw();
    EXPECT_EQ(Px(*ribbon, 15, 7), clRed);
    EXPECT_EQ(Px(*ribbon, 15, 5), clBlue);
    EXPECT_EQ(Px(*ribbon, 15, 3), clWhite);
}

using SeriesStack = SeriesTest;

TEST_F(SeriesStack, SumsBelowBySignAndAcrossTheWholeStack)
{
    auto* a = Add<TLineSeries>(clRed, {{1, 2}, {2, -1}, {3, 0}});
    auto* b = Add<TLineSeries>(clBlue, {{1, 3}, {2, 4}, {3, 0}});
    b->SetStacked(cssStack);
    EXPECT_EQ(a->Stacked(), cssStack);   // the stack is set as a whole
    EXPECT_EQ(b->PointScreenY(0), PY(5));
    EXPECT_EQ(b->PointOriginValue(0), PY(2));
    // A positive value does not stack on a negative one.
    EXPECT_EQ(b->PointScreenY(1), PY(4));
    EXPECT_EQ(a->PointOriginValue(0), PY(0));
    EXPECT_DOUBLE_EQ(b->GreatestY(), 5);
    EXPECT_DOUBLE_EQ(a->LeastY(), -1);

    b->SetStacked(cssStack100);
    chart->LeftAxis()->SetMinMax(0, 100);
    chart->Layout();
    EXPECT_EQ(a->PointScreenY(0), chart->LeftAxis()->CalcYPosValue(40));
    EXPECT_EQ(b->PointScreenY(0), chart->LeftAxis()->CalcYPosValue(100));
    // All zero at an index: the axis end.
    EXPECT_EQ(b->PointScreenY(2), chart->LeftAxis()->Map().EndPos);
    EXPECT_DOUBLE_EQ(a->LeastY(), 0);
    EXPECT_DOUBLE_EQ(a->GreatestY(), 100);
}

TEST_F(SeriesStack, PointSeriesIsNotPartOfALineStack)
{
    auto* a = Add<TLineSeries>(clRed, {{1, 2}});
    auto* p = Add<TPointSeries>(clGreen, {{1, 3}});
    auto* b = Add<TLineSeries>(clBlue, {{1, 3}});
    b->SetStacked(cssStack);
    EXPECT_EQ(p->Stacked(), cssNone);
    EXPECT_EQ(b->PointScreenY(0), PY(5));
    EXPECT_EQ(a->PointScreenY(0), PY(2));
}

using SeriesRoom = SeriesTest;

TEST_F(SeriesRoom, MarginsAndMarksKeepClearOfTheSymbols)
{
    auto* p = Add<TPointSeries>(clRed, {{1, 1}});
    TBitmap bmp(220, 170);
    AttachCanvasToSurface(chart->Canvas(), bmp.Canvas());
    chart->Canvas()->SetTextMeasurer(std::make_shared<TFixedTextMeasurer>(6, 10, 3));
    int a = 0, b = 0;
    p->AxisMarginsB(a, b);
    EXPECT_EQ(a, 5);   // half size 4 + 1
    EXPECT_EQ(b, 5);
    // Visible marks keep room above for the lift by the symbol (4) and the callout (12)
    // and the whole box: a 13-pixel line, 2 for the frame, and the frame's and the
    // shadow's pixel below it.
    p->Marks()->Show();
    p->Marks()->Callout()->SetLength(12);
    p->AxisMarginsB(a, b);
    EXPECT_EQ(a, 4 + 12 + 17);
    p->Pointer()->Hide();
    a = 0;
    p->AxisMarginsB(a, b);
    EXPECT_EQ(a, 12 + 17);
    p->Pointer()->Show();

    auto* l = Add<TLineSeries>(clBlue, {{1, 1}});
    l->SetLineHeight(9);
    l->AxisMarginsB(a, b);
    EXPECT_EQ(b, 0);   // a raised line only in 3D
    chart->SetView3D(true);
    l->AxisMarginsB(a, b);
    EXPECT_EQ(b, 9);

    // A vertical series lifts its mark above a visible symbol, then by the callout's
    // length and distance; the arrow starts at the distance.
    TSeriesMarkPosition pos;
    pos.LeftTop = TPoint(50, 50);
    pos.ArrowFrom = TPoint(60, 70);
    pos.ArrowTo = TPoint(60, 70);
    p->Marks()->Callout()->SetDistance(3);
    p->DrawMark(0, "x", pos);
    EXPECT_EQ(pos.LeftTop.Y, 50 - 4 - 15);
    EXPECT_EQ(pos.ArrowTo.Y, 70 - 4 - 15);
    EXPECT_EQ(pos.ArrowFrom.Y, 70 - 4 - 3);
    pos.LeftTop = TPoint(50, 50);
    l->DrawMark(0, "x", pos);
    EXPECT_EQ(pos.LeftTop.Y, 50 - l->Marks()->Callout()->Length());
}

TEST_F(SeriesRoom, HorizontalLineMarksBesideThePointAwayFromTheOrigin)
{
    auto* h = Add<THorizLineSeries>(clRed, {{5, 3}, {12.5, 6}});
    chart->BottomAxis()->SetMinMax(0, 20);
    chart->Layout();
    TBitmap bmp(220, 170);
    AttachCanvasToSurface(chart->Canvas(), bmp.Canvas());
    chart->Canvas()->SetTextMeasurer(std::make_shared<TFixedTextMeasurer>(6, 10, 3));
    // The callout's length and the widest mark box, "12.5" (24 pixels, a "W", 2 for the
    // frame and the frame's and the shadow's pixel beside it), keep the right margin free.
    h->Marks()->Show();
    EXPECT_EQ(h->GetMarksOffset(), 8);
    int a = 0, b = 0;
    h->AxisMarginsA(a, b);
    EXPECT_EQ(b, 8 + 34);

    const int length = h->Marks()->Callout()->Length() + h->Marks()->Callout()->Distance();
    TSeriesMarkPosition pos;
    pos.Width = 30;
    pos.Height = 10;
    h->DrawMark(0, "5", pos);
    const int x = h->PointScreenX(0), y = h->PointScreenY(0);
    EXPECT_EQ(pos.LeftTop, TPoint(x + length, y - 5));
    EXPECT_EQ(pos.ArrowTo, TPoint(x + length, y));
    // On an inverted axis the origin is on the right: the mark goes to the left.
    chart->BottomAxis()->SetInverted(true);
    chart->Layout();
    const int xi = h->PointScreenX(0);
    h->DrawMark(0, "5", pos);
    EXPECT_EQ(pos.LeftTop, TPoint(xi - length - 30, y - 5));
    EXPECT_EQ(pos.ArrowTo, TPoint(xi - length, y));
}

TEST_F(SeriesRoom, HorizontalLineMarksKeepTheirRoomOnTheSideTheyStand)
{
    auto* h = Add<THorizLineSeries>(clRed, {{5, 3}, {12.5, 6}});
    TBitmap bmp(220, 170);
    AttachCanvasToSurface(chart->Canvas(), bmp.Canvas());
    chart->Canvas()->SetTextMeasurer(std::make_shared<TFixedTextMeasurer>(6, 10, 3));
    h->Marks()->Show();
    const auto margins = [&] {
        int left = 0, right = 0;
        h->AxisMarginsA(left, right);
        return std::make_pair(left, right);
    };
    EXPECT_EQ(margins(), std::make_pair(0, 42));
    // An inverted axis puts the origin on the right and the marks left of their points.
    chart->BottomAxis()->SetInverted(true);
    EXPECT_EQ(margins(), std::make_pair(42, 0));
}

// A two-line mark lifted by a long callout from a point at the end of an automatic axis
// stays whole inside the chart: above a vertical series' top point, right of a
// horizontal series' rightmost one, and across the axis of the points. Its frame's outer row (column) is a whole line of
// the frame inside the picture.
TEST_F(SeriesRoom, LiftedMarksAtTheEndOfAnAutomaticAxisStayWholeInsideTheChart)
{
    struct Case {
        const char* Name;
        bool Horizontal;
    };
    for (const Case& c : {Case{"marks-top-edge", false}, Case{"marks-right-edge", true}}) {
        SCOPED_TRACE(c.Name);
        constexpr int W = 300, H = 200;
        auto chart = charttest::MakeChart(W, H);
        TCustomSeries* s = c.Horizontal ? static_cast<TCustomSeries*>(new THorizLineSeries(&form))
                                        : static_cast<TCustomSeries*>(new TPointSeries(&form));
        s->SetSeriesColor(clBlue);
        // The top value in the middle of the points along the other axis.
        s->AddPointXY(c.Horizontal ? 2 : 1, c.Horizontal ? 1 : 2, "low");
        s->AddPointXY(c.Horizontal ? 9 : 2, c.Horizontal ? 2 : 9, "top");
        s->AddPointXY(c.Horizontal ? 4 : 3, c.Horizontal ? 3 : 4, "mid");
        chart->AddSeries(s);
        s->Marks()->Show();
        s->Marks()->SetStyle(smsLabelValue);
        s->Marks()->SetMultiLine(true);
        s->Marks()->Frame()->SetColor(clFuchsia);
        s->Marks()->Callout()->SetLength(25);
        auto bmp = chart->DrawToBitmap(clWhite, TRect(0, 0, W, H));
        if (const std::string path = testsupport::ArtifactPath(std::string(c.Name) + ".png"); !path.empty())
            bmp->SaveToFile(path);
        // The outermost row (column) of the frame, and how much of it is frame.
        int outer = -1, run = 0;
        const int lines = c.Horizontal ? W : H;
        for (int i = 0; i < lines && outer < 0; ++i) {
            const int line = c.Horizontal ? W - 1 - i : i;
            int n = 0;
            for (int j = 0; j < (c.Horizontal ? H : W); ++j)
                n += (c.Horizontal ? Px(*bmp, line, j) : Px(*bmp, j, line)) == clFuchsia;
            if (n > 0) {
                outer = line;
                run = n;
            }
        }
        ASSERT_GE(outer, 0) << "the mark is drawn";
        EXPECT_TRUE(c.Horizontal ? outer < W - 1 : outer > 0) << outer;
        EXPECT_GE(run, 2 * 13) << "a whole side of the frame, two lines long";
        // No frame touches an edge of the picture: the marks centred across the axis of
        // the points (the horizontal series' "mid" at the top) stay inside as well.
        for (int i = 0; i < W; ++i) {
            EXPECT_NE(Px(*bmp, i, 0), clFuchsia) << i;
            EXPECT_NE(Px(*bmp, i, H - 1), clFuchsia) << i;
        }
        for (int j = 0; j < H; ++j) {
            EXPECT_NE(Px(*bmp, 0, j), clFuchsia) << j;
            EXPECT_NE(Px(*bmp, W - 1, j), clFuchsia) << j;
        }
    }
}

} // namespace
} // namespace seriestest

namespace {

using namespace seriestest;

// The whole source summed into one value.
class TotalFunction : public TTeeFunction {
public:
    using TTeeFunction::TTeeFunction;
    double CalculateRange(TChartSeries* Source, int First, int Last) override
    {
        return ValueListText(Source)->Total();
    }
};

struct SeriesFunction : SeriesTest {
    // Puts a total over the whole of Source into Target and answers Target's points.
    std::vector<std::pair<double, double>> TotalInto(TChartSeries* Source, TChartSeries* Target)
    {
        chart->AddSeries(Target);
        Target->SetFunction(new TotalFunction(&form));
        Target->SetDataSource(Source);
        std::vector<std::pair<double, double>> points;
        for (int t = 0; t < Target->Count(); ++t)
            points.emplace_back(Target->XValue(t), Target->YValue(t));
        return points;
    }
};

TEST_F(SeriesFunction, LineFamiliesShowAWholeSourceResultAsALevelLine)
{
    auto* source = Add<TPointSeries>(clRed, {{1, 1}, {4, 2}, {7, 3}});
    const std::vector<std::pair<double, double>> level{{1, 6}, {7, 6}};
    EXPECT_EQ(TotalInto(source, new TLineSeries(&form)), level);
    EXPECT_EQ(TotalInto(source, new TAreaSeries(&form)), level);
    EXPECT_EQ(TotalInto(source, new TFastLineSeries(&form)), level);
    // A point series keeps the one centred point.
    EXPECT_EQ(TotalInto(source, new TPointSeries(&form)), (std::vector<std::pair<double, double>>{{4, 6}}));
}

} // namespace
