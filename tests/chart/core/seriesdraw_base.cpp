// The series base facing the drawing pipeline: the visible index range,
// the drawing order, Z order and depth, and the base legend symbol.
#include "axis_fixture.h"

#include <vector>

namespace {

// A series that records the values it is asked to draw and can search its visible range.
class TRecordingSeries : public TChartSeries {
public:
    DECLARE_SERIES_CLASS(TRecordingSeries)
    explicit TRecordingSeries(TComponent* AOwner, bool Search = true, bool JoinNext = false) : TChartSeries(AOwner)
    {
        FCalcVisiblePoints = Search;
        FDrawBetweenPoints = JoinNext;
    }
    void DrawValue(int ValueIndex) override { Drawn.push_back(ValueIndex); }
    std::vector<int> Drawn;
};

BEGIN_CLASS_INFO(TRecordingSeries, TChartSeries)
END_CLASS_INFO

struct SeriesDrawBase : axistest::AxisTest {
    TRecordingSeries* AddRecording(bool Search = true, bool JoinNext = false, int N = 10)
    {
        auto* s = new TRecordingSeries(&form, Search, JoinNext);
        for (int i = 0; i < N; ++i)
            s->AddPointXY(i, i);
        chart->AddSeries(s);
        return s;
    }
};

TEST_F(SeriesDrawBase, VisibleRangeFromTheHorizontalAxis)
{
    auto* pts = AddRecording(true, false);
    auto* line = AddRecording(true, true);
    auto* all = AddRecording(false);
    chart->BottomAxis()->SetMinMax(2.5, 6.5);
    Layout();
    for (TChartSeries* s : {static_cast<TChartSeries*>(pts), static_cast<TChartSeries*>(line),
                            static_cast<TChartSeries*>(all)})
        s->FindVisibleIndexRange();
    EXPECT_EQ(pts->FirstValueIndex(), 3);
    EXPECT_EQ(pts->LastValueIndex(), 6);
    EXPECT_EQ(line->LastValueIndex(), 7);
    EXPECT_EQ(all->FirstValueIndex(), 0);
    EXPECT_EQ(all->LastValueIndex(), 9);

    // The range reaching past the last value keeps the last point.
    chart->BottomAxis()->SetMinMax(8, 20);
    Layout();
    pts->FindVisibleIndexRange();
    EXPECT_EQ(pts->FirstValueIndex(), 8);
    EXPECT_EQ(pts->LastValueIndex(), 9);

    pts->Clear();
    pts->FindVisibleIndexRange();
    EXPECT_EQ(pts->FirstValueIndex(), -1);
    EXPECT_EQ(pts->LastValueIndex(), -1);
}

TEST_F(SeriesDrawBase, DrawsTheVisibleRangeBackwardsOnAnInvertedAxis)
{
    auto* s = AddRecording();
    chart->BottomAxis()->SetMinMax(2.5, 5.5);
    Layout();
    s->FindVisibleIndexRange();
    s->DrawVisiblePoints();
    EXPECT_EQ(s->Drawn, (std::vector<int>{3, 4, 5}));
    EXPECT_TRUE(s->PointOrderForward());
    chart->BottomAxis()->SetInverted(true);
    Layout();
    s->Drawn.clear();
    s->DrawVisiblePoints();
    EXPECT_FALSE(s->PointOrderForward());
    EXPECT_EQ(s->Drawn, (std::vector<int>{5, 4, 3}));
    // Only the axis across the values matters.
    chart->BottomAxis()->SetInverted(false);
    chart->LeftAxis()->SetInverted(true);
    EXPECT_TRUE(s->PointOrderForward());
}

TEST_F(SeriesDrawBase, ZOrderAndDepth)
{
    auto* a = AddRecording();
    auto* b = AddRecording();
    auto* c = AddRecording();
    chart->SetView3D(true);
    chart->SeriesWidth3D = 15;
    chart->MaxZOrder = -1;
    c->SetZOrder(2);
    for (TChartSeries* s : {static_cast<TChartSeries*>(a), static_cast<TChartSeries*>(b),
                            static_cast<TChartSeries*>(c)}) {
        s->ComputeZOrder();
        s->ComputeDepthExtent();
    }
    EXPECT_EQ(a->ZOrder(), 0);
    EXPECT_EQ(b->ZOrder(), 1);
    EXPECT_EQ(c->ZOrder(), 2);   // explicit, whatever its place
    EXPECT_EQ(chart->MaxZOrder, 2);
    EXPECT_EQ(b->StartZ(), 15);
    EXPECT_EQ(b->EndZ(), 30);
    EXPECT_EQ(b->MiddleZ(), 22);
    EXPECT_TRUE(a->IsFirstOfZOrder());
    EXPECT_FALSE(a->SharesZOrder());

    c->SetZOrder(1);
    EXPECT_TRUE(b->SharesZOrder());
    EXPECT_TRUE(b->IsFirstOfZOrder());
    EXPECT_FALSE(c->IsFirstOfZOrder());
    b->SetActive(false);
    EXPECT_FALSE(b->IsFirstOfZOrder());
    EXPECT_TRUE(c->IsFirstOfZOrder());

    chart->SetView3D(false);
    a->ComputeZOrder();
    EXPECT_EQ(a->ZOrder(), 0);
    EXPECT_FALSE(c->SharesZOrder());

    // A series without points takes no depth of its own: first, the front one; later,
    // the depth of the series before it.
    chart->SetView3D(true);
    auto* none = AddRecording(true, false, 0);
    chart->MaxZOrder = -1;
    none->ComputeZOrder();
    EXPECT_EQ(none->ZOrder(), 0);
    EXPECT_EQ(chart->MaxZOrder, -1);
    a->ComputeZOrder();
    none->ComputeZOrder();
    b->ComputeZOrder();
    EXPECT_EQ(none->ZOrder(), 0);
    EXPECT_EQ(b->ZOrder(), 1);
    EXPECT_EQ(chart->MaxZOrder, 1);
}

TEST_F(SeriesDrawBase, BaseLegendSymbolFillsTheRectangleInTheValueColour)
{
    auto* s = AddRecording(true, false, 2);
    s->SetSeriesColor(clRed);
    s->SetValueColor(1, clNone);
    TBitmap bmp(30, 20);
    bmp.Canvas()->Brush()->SetColor(clWhite);
    bmp.Canvas()->FillRect(TRect(0, 0, 30, 20));
    AttachCanvasToSurface(chart->Canvas(), bmp.Canvas());
    const auto px = [&](int x, int y) {
        const TRGBQuad q = bmp.ScanLine(y)[x];
        return RGB(q.rgbRed, q.rgbGreen, q.rgbBlue);
    };
    s->PaintLegendSymbol(1, TRect(5, 5, 25, 15));   // null: nothing
    EXPECT_EQ(px(15, 10), clWhite);
    s->PaintLegendSymbol(0, TRect(5, 5, 25, 15));
    EXPECT_EQ(px(15, 10), clRed);
    EXPECT_EQ(px(26, 10), clWhite);
}

} // namespace
