// Fast line series drawn into a bitmap: one polyline through the points' pixels, points on
// the column already drawn skipped, the gap rule for nulls, drawing a new point
// without a repaint; and its hit test, margins and colour-pen link.
#include "series_fixture.h"

#include "Chart.h"
#include "ChartStarted.h"

#include "Series/ColumnPolyline.h"

#include <vector>

namespace seriestest {
namespace {

using FastLineDraw = SeriesTest;

TEST_F(FastLineDraw, JoinsThePointsPixels)
{
    auto* s = Add<TFastLineSeries>(clRed, {{1, 2}, {4, 2}, {7, 8}});
    EXPECT_EQ(s->LinePen()->Color(), clRed);
    auto bmp = chart->Picture();
    for (int x = PX(1); x < PX(4); ++x)
        EXPECT_EQ(Px(*bmp, x, PY(2)), clRed) << x;
    EXPECT_TRUE(Near(*bmp, (PX(4) + PX(7)) / 2, (PY(2) + PY(8)) / 2, clRed));
    EXPECT_EQ(Px(*bmp, PX(2), PY(5)), clWhite);
    EXPECT_EQ(Px(*bmp, PX(1), PY(2) - 3), clWhite);
}

TEST_F(FastLineDraw, PointOnTheDrawnColumnIsSkippedOnlyWithoutDrawAllPoints)
{
    // The second point shares the first one's pixel column (20 px per unit) but lies
    // higher; the third is to the right at the first point's height.
    auto* s = Add<TFastLineSeries>(clBlue, {{1, 2}, {1.01, 8}, {6, 2}});
    auto bmp = chart->Picture();
    // Drawn: up the column, then the slant down to the third point.
    EXPECT_EQ(Px(*bmp, PX(1), PY(5)), clBlue);
    EXPECT_EQ(Px(*bmp, (PX(1) + PX(6)) / 2, PY(2)), clWhite);

    s->SetDrawAllPoints(false);
    bmp = chart->Picture();
    // Skipped: the line runs straight from the first point to the third.
    EXPECT_EQ(Px(*bmp, PX(1), PY(5)), clWhite);
    for (int x = PX(1); x < PX(6); ++x)
        EXPECT_EQ(Px(*bmp, x, PY(2)), clBlue) << x;
}

TEST_F(FastLineDraw, NullLeavesAGapOnlyWhenNullsAreNotIgnored)
{
    auto* s = Add<TFastLineSeries>(clGreen, {{1, 2}});
    s->AddNullPointXY(4, 2);
    s->AddPointXY(7, 2);
    chart->Layout();
    const int before = (PX(1) + PX(4)) / 2;
    const int after = (PX(4) + PX(7)) / 2;
    auto bmp = chart->Picture();
    EXPECT_EQ(Px(*bmp, before, PY(2)), clGreen);   // joined through the null
    EXPECT_EQ(Px(*bmp, after, PY(2)), clGreen);

    s->SetIgnoreNulls(false);
    bmp = chart->Picture();
    EXPECT_EQ(Px(*bmp, before, PY(2)), clWhite);   // the gap
    EXPECT_EQ(Px(*bmp, after, PY(2)), clGreen);    // the next piece starts at the null

    // A null on the column already drawn still leaves its gap.
    s->Clear();
    s->AddPointXY(1, 2);
    s->AddPointXY(3, 2);
    s->AddNullPointXY(3.01, 6);
    s->AddPointXY(7, 6);
    s->SetDrawAllPoints(false);
    chart->Layout();
    bmp = chart->Picture();
    EXPECT_EQ(Px(*bmp, (PX(1) + PX(3)) / 2, PY(2)), clGreen);
    EXPECT_FALSE(Near(*bmp, PX(5), (PY(2) + PY(6)) / 2, clGreen));   // no slant from the last drawn point
    EXPECT_EQ(Px(*bmp, PX(5), PY(6)), clGreen);
}

TEST_F(FastLineDraw, ManyPointsDrawWhatJoiningEverySegmentDraws)
{
    auto* s = Add<TFastLineSeries>(clBlue, {});
    s->SetIgnoreNulls(false);
    AddNoisyPoints(*s, 150, 3, 20);
    chart->Layout();
    for (TPenStyle style : {psSolid, psDash}) {
        s->LinePen()->SetStyle(style);
        EXPECT_EQ(Compare(*chart->Picture(), *EverySegment(*s, clBlue, style)).Differ, 0) << style;
    }
    s->LinePen()->SetStyle(psSolid);

    s->Clear();
    AddNoisyPoints(*s, 100000, 5, 25000);
    chart->Layout();
    auto bmp = chart->Picture();
    const PictureDifference d = Compare(*bmp, *EverySegment(*s, clBlue));
    EXPECT_GT(d.Inked, 5000);
    EXPECT_LE(d.Differ * 100, d.Inked);
    if (const std::string path = testsupport::ArtifactPath("fast-line-100000-points.png"); !path.empty())
        bmp->SaveToFile(path);
}

// A whole chart (axes with their lines, ticks, dotted grids and labels, a fast line)
// redrawn into the same picture, as a window repaints, or drawn into a new picture each
// time, as copies and exports are (finding the fonts and label pixels that the pictures
// before kept), gives what drawing it with no shortcut gives: unchanged, then with the
// values' range, the line's colour and the background changed between redraws.
TEST(FastLineChart, RedrawnIntoTheSamePictureDrawsWhatAPlainDrawingDraws)
{
    const testsupport::ChartStarted started;
    {
        TComponent form{nullptr};
        TChart chart(nullptr);
        chart.SetBounds(0, 0, 320, 240);
        chart.SetColor(clWhite);
        chart.SetView3D(false);
        chart.Legend()->SetVisible(false);
        auto* s = new TFastLineSeries(&form);
        s->SetSeriesColor(clNavy);
        for (int i = 0; i < 400; ++i)
            s->AddPointXY(i, std::sin(i * 0.05) * 40 + i % 23);
        chart.AddSeries(s);
        TBitmap quick(320, 240), exact(320, 240);
        const auto frame = [&](const std::string& what) {
            chart.Canvas()->SetShortcuts(true);
            chart.DrawToCanvas(quick.Canvas(), TRect(0, 0, 320, 240));
            quick.Canvas()->Flush();
            chart.Canvas()->SetShortcuts(false);
            chart.DrawToCanvas(exact.Canvas(), TRect(0, 0, 320, 240));
            exact.Canvas()->Flush();
            chart.Canvas()->SetShortcuts(true);
            const PictureDifference d = Compare(quick, exact);
            EXPECT_EQ(d.Differ, 0) << what;
            EXPECT_GT(d.Inked, 3000) << what;
            const std::unique_ptr<TBitmap> picture = chart.DrawToBitmap(chart.Color(), TRect(0, 0, 320, 240));
            EXPECT_EQ(Compare(*picture, exact).Differ, 0) << what << ", a new picture";
        };
        frame("first");
        frame("again");
        frame("and again");
        chart.LeftAxis()->SetMinMax(-30, 50);
        frame("range");
        frame("range again");
        s->SetSeriesColor(clMaroon);
        chart.SetColor(clYellow);
        frame("colours");
        frame("colours again");
        if (const std::string path = testsupport::ArtifactPath("fast-line-chart-redrawn.png"); !path.empty())
            quick.SaveToFile(path);
    }
}

// A line reduced in parts on several threads keeps the points and pieces that reducing
// it in one go keeps: parts meet where a run starts anyway, a column run longer than a
// part is never cut, and a gap at a part's start still ends the piece before it.
TEST_F(FastLineDraw, LineReducedInPartsKeepsThePointsOfOneGo)
{
    constexpr int N = 30000;
    std::vector<int> xs(N), ys(N);
    std::vector<bool> gap(N, false);
    unsigned r = 7;
    const auto next = [&r] { return (r = r * 1664525u + 1013904223u) >> 8; };
    for (int i = 0; i < N; ++i) {
        // Columns of 1 to 40 points, one column of 12000 points, and gaps now and then.
        xs[size_t(i)] = i < 9000 ? i / int(1 + i % 40) : i < 21000 ? 9000 : 9000 + (i - 21000) / 3;
        ys[size_t(i)] = int(next() % 500);
        gap[size_t(i)] = i % 997 == 0 || i == 21000 || i == 15000;
    }
    for (int i = 1; i < 9000; ++i)   // the column never goes back
        xs[size_t(i)] = std::max(xs[size_t(i)], xs[size_t(i - 1)]);
    const auto pixel = [&](int t, int& x, int& y) {
        x = xs[size_t(t)];
        y = ys[size_t(t)];
        return !gap[size_t(t)];
    };
    for (bool firstOnly : {false, true}) {
        TColumnPolyline one(firstOnly);
        one.Add(xs[0], ys[0]);
        one.AddRange(1, N - 1, pixel);
        one.Finish();
        for (int workers : {2, 3, 7, 64}) {
            TColumnPolyline parts(firstOnly);
            parts.Add(xs[0], ys[0]);
            parts.AddRangeSpread(1, N - 1, pixel, workers);
            parts.Finish();
            ASSERT_EQ(parts.Points().size(), one.Points().size()) << firstOnly << " " << workers;
            for (size_t k = 0; k < one.Points().size(); ++k)
                ASSERT_TRUE(parts.Points()[k].X == one.Points()[k].X && parts.Points()[k].Y == one.Points()[k].Y) << k << " " << firstOnly << " " << workers;
            ASSERT_EQ(parts.Pieces().size(), one.Pieces().size()) << firstOnly << " " << workers;
            for (size_t k = 0; k < one.Pieces().size(); ++k) {
                EXPECT_EQ(parts.Pieces()[k].Begin, one.Pieces()[k].Begin) << k;
                EXPECT_EQ(parts.Pieces()[k].End, one.Pieces()[k].End) << k;
            }
        }
        EXPECT_GT(one.Pieces().size(), 30u);
    }
}

TEST_F(FastLineDraw, ZoomedDrawsTheVisiblePointsAndOneOnEachSide)
{
    auto* s = Add<TFastLineSeries>(clBlue, {});
    for (int i = 0; i < 10; ++i)
        s->AddPointXY(i, i);
    chart->BottomAxis()->SetMinMax(2.5, 6.5);
    chart->Layout();
    EXPECT_EQ(s->FirstValueIndex(), 3);
    EXPECT_EQ(s->LastValueIndex(), 7);
    // The line still enters from the point before the first visible one: at the left
    // edge (2.5) it is at height 2.5.
    auto bmp = chart->Picture();
    EXPECT_TRUE(Near(*bmp, 11, PY(2.5), clBlue));
}

TEST_F(FastLineDraw, AddedPointIsDrawnAtOnceWithoutRepaint)
{
    auto* s = Add<TFastLineSeries>(clBlue, {{1, 2}});
    s->SetAutoRepaint(false);
    TBitmap bmp(220, 170);
    bmp.Canvas()->Brush()->SetColor(clWhite);
    bmp.Canvas()->FillRect(TRect(0, 0, 220, 170));
    AttachCanvasToSurface(chart->Canvas(), bmp.Canvas());
    int added = -1;
    s->OnAfterAdd = [&](TChartSeries*, int Index) { added = Index; };
    s->AddPointXY(4, 2);
    EXPECT_EQ(added, 1);
    for (int x = PX(1); x < PX(4); ++x)
        EXPECT_EQ(Px(bmp, x, PY(2)), clBlue) << x;
    s->AddPointXY(7, 8);
    EXPECT_TRUE(Near(bmp, (PX(4) + PX(7)) / 2, (PY(2) + PY(8)) / 2, clBlue));
    AttachCanvasToSurface(chart->Canvas(), nullptr);
}

TEST_F(FastLineDraw, MarksStandAboveThePointByTheCallout)
{
    auto* s = Add<TFastLineSeries>(clRed, {{1, 2}, {4, 6}});
    s->Marks()->Show();
    auto expectLifted = [&](int Distance, int Length) {
        TBitmap bmp(220, 170);
        AttachCanvasToSurface(chart->Canvas(), bmp.Canvas());
        chart->Layout();
        s->DrawMarks();
        AttachCanvasToSurface(chart->Canvas(), nullptr);
        for (int i = 0; i < 2; ++i) {
            const TSeriesMarkPosition* p = s->Marks()->Positions()->Position(i);
            ASSERT_NE(p, nullptr) << i;
            const int x = PX(s->XValue(i)), y = PY(s->YValue(i));
            EXPECT_EQ(p->ArrowFrom, TPoint(x, y - Distance)) << i;
            EXPECT_EQ(p->ArrowTo, TPoint(x, y - Distance - Length)) << i;
            EXPECT_EQ(p->LeftTop.Y + p->Height - 1, y - Distance - Length) << i;
        }
    };
    // The default callout, then one of its own length and distance.
    expectLifted(0, 8);
    s->Marks()->Callout()->SetLength(12);
    s->Marks()->Callout()->SetDistance(3);
    expectLifted(3, 12);
}

TEST_F(FastLineDraw, HitTestMarginsAndPenColour)
{
    auto* s = Add<TFastLineSeries>(clRed, {{1, 2}, {4, 2}, {7, 8}});
    EXPECT_EQ(s->Clicked(PX(4), PY(2)), 1);
    EXPECT_EQ(s->Clicked((PX(1) + PX(4)) / 2, PY(2)), 0);
    EXPECT_EQ(s->Clicked(PX(2), PY(8)), -1);

    int a = 0, b = 0;
    s->AxisMarginsA(a, b);
    EXPECT_EQ(a, 1);
    EXPECT_EQ(b, 1);
    s->LinePen()->SetWidth(6);
    s->AxisMarginsB(a, b);
    EXPECT_EQ(a, 4);   // 6 - (6 - 2) div 2

    TChartPen pen;
    pen.SetColor(clGreen);
    s->SetLinePen(&pen);
    EXPECT_EQ(s->SeriesColor(), clGreen);
    s->SetSeriesColor(clNavy);
    EXPECT_EQ(s->LinePen()->Color(), clNavy);

}

} // namespace
} // namespace seriestest
