// The marks a series owns: their positions and items follow the series' points, they
// follow the series from chart to chart, take its depth, are copied with it, and draw
// through the series at its points' pixels.
#include "marks_fixture.h"

#include <string>
#include <vector>

using markstest::MarksPanel;
using markstest::MarksTest;
using markstest::Px;

namespace {

// Records every mark the series is asked to draw; passes it on to the base when asked.
class RecordingSeries : public TChartSeries {
public:
    using TChartSeries::TChartSeries;
    struct Drawn {
        int Index;
        std::string Text;
        TPoint At;
    };
    std::vector<Drawn> DrawnMarks;
    bool PassOn = false;
    void DrawMark(int ValueIndex, const std::string& Text, TSeriesMarkPosition& Position) override
    {
        DrawnMarks.push_back({ValueIndex, Text, Position.ArrowFrom});
        if (PassOn)
            TChartSeries::DrawMark(ValueIndex, Text, Position);
    }
};

// A series type that draws a pointer at its points.
class PointerSeries : public TChartSeries {
public:
    explicit PointerSeries(TComponent* AOwner)
        : TChartSeries(AOwner), FPointer(std::make_unique<TSeriesPointer>(this))
    {
    }
    TSeriesPointer* Pointer() const { return FPointer.get(); }

protected:
    TSeriesPointer* SeriesPointer() const override { return FPointer.get(); }

private:
    std::unique_ptr<TSeriesPointer> FPointer;
};

using SeriesMarks = MarksTest;

// Lays the axes out over R as a drawing does.
void PlotIn(MarksPanel& Chart, const TRect& R)
{
    Chart.ChartRect = R;
    Chart.ChartWidth = R.Width();
    Chart.ChartHeight = R.Height();
    for (TChartAxis* a : Chart.Axes()->List()) {
        a->RefreshRange();
        a->CalcPositions();
    }
}

// Stores a distinct position (its left = 100 + the point index) for each of Count points.
void StorePositions(TSeriesMarks* Marks, int Count)
{
    for (int i = 0; i < Count; ++i)
        Marks->Positions()->Ensure(i)->LeftTop = TPoint(100 + i, 0);
}

std::vector<int> StoredLefts(TSeriesMarks* Marks)
{
    std::vector<int> result;
    for (int i = 0; i < Marks->Positions()->Count(); ++i) {
        const TSeriesMarkPosition* p = Marks->Positions()->Position(i);
        result.push_back(p != nullptr ? p->LeftTop.X : -1);
    }
    return result;
}

TEST_F(SeriesMarks, PositionsAndItemsFollowDeleteDeleteRangeAndClear)
{
    ASSERT_NE(series->Marks(), nullptr);
    EXPECT_EQ(series->Marks()->Series(), series);
    for (int i = 0; i < 6; ++i)
        series->Add(i);
    StorePositions(marks, 6);
    marks->Item(2)->SetColor(clRed);
    marks->Item(4)->SetColor(clLime);

    series->Delete(1);
    EXPECT_EQ(StoredLefts(marks), (std::vector<int>{100, 102, 103, 104, 105}));
    ASSERT_NE(marks->Items()->Item(1), nullptr);
    EXPECT_EQ(marks->Items()->Item(1)->Color(), clRed);
    EXPECT_EQ(marks->Items()->Item(2), nullptr);
    EXPECT_EQ(marks->Items()->Item(3)->Color(), clLime);

    series->DeleteRange(1, 2);
    EXPECT_EQ(StoredLefts(marks), (std::vector<int>{100, 104, 105}));
    EXPECT_EQ(series->Count(), 3);

    series->Clear();
    EXPECT_EQ(marks->Positions()->Count(), 0);
    EXPECT_EQ(marks->Items()->Count(), 0);

    // Items read from a stream survive clearing the points; positions do not.
    series->Add(1);
    StorePositions(marks, 1);
    marks->Item(0)->SetColor(clRed);
    marks->Items()->SetLoaded(true);
    series->Clear();
    EXPECT_EQ(marks->Positions()->Count(), 0);
    EXPECT_EQ(marks->Items()->Count(), 1);
}

TEST_F(SeriesMarks, FollowTheSeriesChartAndAreCopiedWithIt)
{
    EXPECT_EQ(marks->ParentChart(), chart.get());
    marks->Symbol();   // sub-objects made in a chart follow it too
    marks->Callout();

    MarksPanel other;
    series->SetParentChart(&other);
    EXPECT_EQ(marks->ParentChart(), &other);
    EXPECT_EQ(marks->Symbol()->ParentChart(), &other);
    EXPECT_EQ(marks->Callout()->ParentChart(), &other);

    // Taken out of its chart, the series' marks point at no chart: the chart may go first.
    other.RemoveSeries(series);
    EXPECT_EQ(series->ParentChart(), nullptr);
    EXPECT_EQ(marks->ParentChart(), nullptr);
    EXPECT_EQ(marks->Symbol()->ParentChart(), nullptr);
    chart->AddSeries(series);
    EXPECT_EQ(marks->ParentChart(), chart.get());

    marks->SetStyle(smsPercent);
    marks->SetVisible(true);
    marks->SetDrawEvery(3);
    TChartSeries copy(nullptr);
    copy.Assign(series);
    EXPECT_NE(copy.Marks(), marks);
    EXPECT_EQ(copy.Marks()->Style(), smsPercent);
    EXPECT_TRUE(copy.Marks()->Visible());
    EXPECT_EQ(copy.Marks()->DrawEvery(), 3);

    TChartSeries target(nullptr);
    target.SetMarks(marks);
    EXPECT_EQ(target.Marks()->Style(), smsPercent);
    EXPECT_NE(target.Marks(), marks);
}

TEST_F(SeriesMarks, DepthExtentReachesMarksAndPointer)
{
    chart->SeriesWidth3D = 10;
    series->SetZOrder(2);
    series->ComputeDepthExtent();
    EXPECT_EQ(series->StartZ(), 20);
    EXPECT_EQ(series->EndZ(), 30);
    EXPECT_EQ(series->MiddleZ(), 25);
    EXPECT_EQ(marks->ZPosition(), 25);

    series->SetDepth(5);
    series->ComputeDepthExtent();
    EXPECT_EQ(series->EndZ(), 25);
    EXPECT_EQ(series->MiddleZ(), 22);   // (20 + 25) / 2 toward zero
    EXPECT_EQ(marks->ZPosition(), 22);

    auto* pointed = new PointerSeries(&form);
    EXPECT_EQ(pointed->Pointer()->ParentChart(), nullptr);
    chart->AddSeries(pointed);
    EXPECT_EQ(pointed->Pointer()->ParentChart(), chart.get());
    pointed->SetZOrder(1);
    pointed->ComputeDepthExtent();
    EXPECT_EQ(pointed->Pointer()->StartZ(), 10);
    EXPECT_EQ(pointed->Pointer()->MiddleZ(), 15);
    EXPECT_EQ(pointed->Pointer()->EndZ(), 20);
    EXPECT_EQ(pointed->Marks()->ZPosition(), 15);
    chart->RemoveSeries(pointed);
    EXPECT_EQ(pointed->Pointer()->ParentChart(), nullptr);
}

TEST_F(SeriesMarks, DrawThroughTheSeriesAtThePointsPixels)
{
    auto* s = new RecordingSeries(&form);
    chart->AddSeries(s);
    s->SetHorizAxis(aTopAxis);
    s->AddPointXY(2, 10, "a");
    s->AddPointXY(5, 20);
    s->AddNullPointXY(6, 30);   // null points get no mark
    s->AddPointXY(8, 40, "d");
    s->Marks()->SetVisible(true);
    s->Marks()->SetDrawEvery(1);
    chart->TopAxis()->SetMinMax(0, 10);
    chart->BottomAxis()->SetMinMax(0, 100);
    chart->LeftAxis()->SetMinMax(0, 50);

    std::vector<TPoint> expected;
    int bottomX = 0;
    chart->Contents = [&] {
        PlotIn(*chart, TRect(20, 10, 180, 150));
        for (int i = 0; i < s->Count(); ++i)
            expected.push_back(TPoint(chart->TopAxis()->CalcXPosValue(s->XValue(i)),
                                      chart->LeftAxis()->CalcYPosValue(s->YValue(i))));
        bottomX = chart->BottomAxis()->CalcXPosValue(s->XValue(1));
        s->FindVisibleIndexRange();
        s->DrawMarks();
    };
    chart->DrawToBitmap(clWhite, TRect(0, 0, 200, 160));

    ASSERT_EQ(s->DrawnMarks.size(), 3u);
    EXPECT_EQ(s->DrawnMarks[0].Index, 0);
    EXPECT_EQ(s->DrawnMarks[0].Text, "a");
    EXPECT_EQ(s->DrawnMarks[1].Index, 1);
    EXPECT_EQ(s->DrawnMarks[1].Text, s->ValueMarkText(1));
    EXPECT_EQ(s->DrawnMarks[1].Text, "20");
    EXPECT_EQ(s->DrawnMarks[2].Index, 3);
    for (const auto& m : s->DrawnMarks)
        EXPECT_EQ(m.At, expected[size_t(m.Index)]) << m.Index;
    // Against the top axis, not the bottom one.
    EXPECT_NE(bottomX, expected[1].X);
}

TEST_F(SeriesMarks, BaseDrawMarkDrawsTheBoxAndStoresItsPlace)
{
    auto* s = new RecordingSeries(&form);
    s->PassOn = true;
    chart->AddSeries(s);
    s->AddPointXY(5, 25, "Mark");
    s->Marks()->SetVisible(true);
    s->Marks()->SetColor(clYellow);
    s->Marks()->Shadow()->SetSize(0);
    chart->BottomAxis()->SetMinMax(0, 10);
    chart->LeftAxis()->SetMinMax(0, 50);

    TPoint at;
    chart->Contents = [&] {
        PlotIn(*chart, TRect(20, 10, 180, 150));
        at = TPoint(s->PointScreenX(0), s->PointScreenY(0));
        s->FindVisibleIndexRange();
        s->DrawMarks();
    };
    auto bmp = chart->DrawToBitmap(clWhite, TRect(0, 0, 200, 160));

    ASSERT_EQ(s->DrawnMarks.size(), 1u);
    const TSeriesMarkPosition* p = s->Marks()->Positions()->Position(0);
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(p->ArrowFrom, at);
    // The box stands on the point, centred over it, with its fill inside the frame.
    EXPECT_EQ(p->LeftTop.Y + p->Height - 1, at.Y);
    EXPECT_EQ(Px(*bmp, p->LeftTop.X + 1, p->LeftTop.Y + 1), clYellow);
    EXPECT_EQ(Px(*bmp, p->LeftTop.X, p->LeftTop.Y + 1), clBlack);
    EXPECT_EQ(Px(*bmp, p->LeftTop.X - 1, p->LeftTop.Y + 1), clWhite);
}

TEST(SeriesMarksAlone, SeriesWithoutChartHasMarksAndNoPixels)
{
    TChartSeries s(nullptr);
    s.AddPointXY(3, 4);
    ASSERT_NE(s.Marks(), nullptr);
    EXPECT_EQ(s.Marks()->ParentChart(), nullptr);
    EXPECT_EQ(s.PointScreenX(0), 0);
    EXPECT_EQ(s.PointScreenY(0), 0);
    s.DrawMarks();   // nothing to draw on
    EXPECT_EQ(s.Marks()->Positions()->Count(), 0);
    s.ComputeDepthExtent();
    EXPECT_EQ(s.EndZ(), 0);
}

} // namespace
