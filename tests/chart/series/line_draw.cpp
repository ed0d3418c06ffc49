// Line series drawn into a bitmap: segments between the points' pixels, a gap before a
// null point, stairs both ways, no symbols while the pointer is hidden, the line that
// enters from the plot edge, and the outline and shadow passes.
#include "series_fixture.h"

#include "chart_fixture.h"

namespace seriestest {
namespace {

using LineDraw = SeriesTest;

TEST_F(LineDraw, JoinsThePointsPixelsWithoutSymbols)
{
    auto* s = Add<TLineSeries>(clRed, {{1, 2}, {4, 2}, {7, 8}});
    EXPECT_EQ(s->PointScreenX(1), PX(4));
    EXPECT_EQ(s->PointScreenY(2), PY(8));
    auto bmp = chart->Picture();
    for (int x = PX(1); x < PX(4); ++x)
        EXPECT_EQ(Px(*bmp, x, PY(2)), clRed) << x;
    // The slanted segment passes through its middle.
    EXPECT_TRUE(Near(*bmp, (PX(4) + PX(7)) / 2, (PY(2) + PY(8)) / 2, clRed));
    // The hidden pointer leaves the pixels around a point (off the line) white.
    EXPECT_EQ(Px(*bmp, PX(1), PY(2) - 3), clWhite);
    EXPECT_EQ(Px(*bmp, PX(1), PY(2) + 3), clWhite);
    // Nothing outside the path.
    EXPECT_EQ(Px(*bmp, PX(2), PY(5)), clWhite);
}

TEST_F(LineDraw, NullPointDropsOnlyTheSegmentEndingAtIt)
{
    auto* s = Add<TLineSeries>(clBlue, {{1, 2}});
    s->AddNullPointXY(4, 2);
    s->AddPointXY(7, 2);
    chart->Layout();
    auto bmp = chart->Picture();
    EXPECT_EQ(Px(*bmp, (PX(1) + PX(4)) / 2, PY(2)), clWhite);
    // The next segment starts from the null point's pixel.
    EXPECT_EQ(Px(*bmp, PX(4) + 2, PY(2)), clBlue);
    EXPECT_EQ(Px(*bmp, (PX(4) + PX(7)) / 2, PY(2)), clBlue);
}

TEST_F(LineDraw, StairsGoAcrossThenUpAndInvertedUpThenAcross)
{
    auto* s = Add<TLineSeries>(clGreen, {{1, 2}, {5, 6}});
    s->SetStairs(true);
    auto bmp = chart->Picture();
    EXPECT_EQ(Px(*bmp, PX(3), PY(2)), clGreen);
    EXPECT_EQ(Px(*bmp, PX(5), PY(4)), clGreen);
    EXPECT_EQ(Px(*bmp, PX(1), PY(4)), clWhite);
    EXPECT_EQ(Px(*bmp, PX(3), PY(4)), clWhite);   // no slanted line

    s->SetInvertedStairs(true);
    bmp = chart->Picture();
    EXPECT_EQ(Px(*bmp, PX(1), PY(4)), clGreen);
    EXPECT_EQ(Px(*bmp, PX(3), PY(6)), clGreen);
    EXPECT_EQ(Px(*bmp, PX(3), PY(2)), clWhite);
}

TEST_F(LineDraw, FirstVisiblePointJoinsFromThePlotEdgeAtTheInterpolatedHeight)
{
    auto* s = Add<TLineSeries>(clRed, {{0, 0}, {10, 10}});
    chart->BottomAxis()->SetMinMax(2, 10);
    chart->Layout();
    ASSERT_EQ(s->FirstValueIndex(), 1);
    // At the left edge (value 2 of the bottom axis, a fifth of the way) the line is at
    // height 2, with or without symbols.
    for (bool pointer : {false, true}) {
        s->Pointer()->SetVisible(pointer);
        auto bmp = chart->Picture();
        EXPECT_TRUE(Near(*bmp, 11, PY(2), clRed)) << pointer;
        EXPECT_EQ(Px(*bmp, 11, PY(5)), clWhite) << pointer;
        EXPECT_EQ(Px(*bmp, 11, PY(0) - 1), clWhite) << pointer;
    }
}

TEST_F(LineDraw, FromThePlotEdgeOnALogarithmicAxisInterpolatesGeometrically)
{
    auto* s = Add<TLineSeries>(clRed, {{0, 1}, {10, 100}});
    chart->LeftAxis()->SetMinMax(1, 100);
    chart->LeftAxis()->SetLogarithmic(true);
    chart->BottomAxis()->SetMinMax(5, 10);
    chart->Layout();
    auto bmp = chart->Picture();
    // Halfway in X is 10 (the geometric mean), which a log axis puts halfway up.
    const int y10 = s->ValueToScreenY(10);
    EXPECT_EQ(y10, (PY(0) + PY(10)) / 2);
    EXPECT_TRUE(Near(*bmp, 11, y10, clRed));
}

TEST_F(LineDraw, FromAZeroValueOnALogarithmicAxisInterpolatesLinearly)
{
    // ln 0 does not exist: the segment falls back to linear interpolation (50 halfway).
    auto* s = Add<TLineSeries>(clRed, {{0, 0}, {10, 100}});
    chart->LeftAxis()->SetMinMax(1, 100);
    chart->LeftAxis()->SetLogarithmic(true);
    chart->BottomAxis()->SetMinMax(5, 10);
    chart->Layout();
    auto bmp = chart->Picture();
    EXPECT_TRUE(Near(*bmp, 11, s->ValueToScreenY(50), clRed));
    EXPECT_EQ(Px(*bmp, 11, s->ValueToScreenY(10)), clWhite);
}

TEST_F(LineDraw, ManyPointsDrawWhatJoiningEverySegmentDraws)
{
    // Fewer points than pixel columns, with nulls: the very picture of every segment,
    // with a solid and with a dashed pen.
    auto* s = Add<TLineSeries>(clRed, {});
    AddNoisyPoints(*s, 150, 7, 20);
    chart->Layout();
    for (TPenStyle style : {psSolid, psDash}) {
        s->LinePen()->SetStyle(style);
        auto bmp = chart->Picture();
        EXPECT_EQ(Compare(*bmp, *EverySegment(*s, clRed, style)).Differ, 0) << style;
    }
    s->LinePen()->SetStyle(psSolid);
    // Symbols are still drawn at every point.
    s->Pointer()->SetVisible(true);
    EXPECT_GT(Compare(*chart->Picture(), *EverySegment(*s, clRed)).Differ, 100);
    s->Pointer()->SetVisible(false);

    // Far more points than columns: at most 1 % of the inked pixels differ.
    s->Clear();
    AddNoisyPoints(*s, 100000, 11, 25000);
    chart->Layout();
    auto bmp = chart->Picture();
    const PictureDifference d = Compare(*bmp, *EverySegment(*s, clRed));
    EXPECT_GT(d.Inked, 5000);
    EXPECT_LE(d.Differ * 100, d.Inked);
    if (const std::string path = testsupport::ArtifactPath("line-series-100000-points.png"); !path.empty())
        bmp->SaveToFile(path);
}

TEST_F(LineDraw, OutlinePassDrawsWiderUnderTheLineAndKeepsTheSeriesColour)
{
    auto* s = Add<TLineSeries>(clRed, {{1, 5}, {9, 5}});
    s->OutLine()->SetColor(clBlue);
    s->OutLine()->SetWidth(1);
    s->OutLine()->Show();
    auto bmp = chart->Picture();
    EXPECT_EQ(Px(*bmp, PX(5), PY(5)), clRed);
    // Width 2 x 1 + 1 + 1 = 4: blue above and below the red line.
    EXPECT_EQ(Px(*bmp, PX(5), PY(5) - 1), clBlue);
    EXPECT_EQ(Px(*bmp, PX(5), PY(5) + 1), clBlue);
    EXPECT_EQ(Px(*bmp, PX(5), PY(5) - 4), clWhite);
    EXPECT_EQ(s->SeriesColor(), clRed);
    EXPECT_EQ(s->LinePen()->Width(), 1);
}

TEST_F(LineDraw, ShadowPassIsMovedAndInTheShadowColour)
{
    auto* s = Add<TLineSeries>(clRed, {{1, 5}, {9, 5}});
    s->Shadow()->SetColor(clGray);
    s->Shadow()->SetHorizSize(0);
    s->Shadow()->SetVertSize(6);
    auto bmp = chart->Picture();
    EXPECT_EQ(Px(*bmp, PX(5), PY(5)), clRed);
    EXPECT_EQ(Px(*bmp, PX(5), PY(5) + 6), clGray);
    EXPECT_EQ(s->SeriesColor(), clRed);
    // The axes are back where they were.
    EXPECT_EQ(s->PointScreenY(0), PY(5));
}

TEST_F(LineDraw, LinesSharingADepthStartAfreshOnEveryDrawing)
{
    // Two lines at one explicit depth are drawn together, value by value; drawn again,
    // neither joins its first point to where the drawing before ended.
    auto c = charttest::MakeChart(300, 200);
    c->SetView3D(true);
    const double ys[2][3] = {{0, 8, 9}, {2, 3, 10}};
    const TColor colors[2] = {clRed, clBlue};
    for (int k = 0; k < 2; ++k) {
        auto* line = new TLineSeries(&form);
        line->SetSeriesColor(colors[k]);
        for (int i = 0; i < 3; ++i)
            line->AddPointXY(5 * i, ys[k][i]);
        line->SetZOrder(0);
        c->AddSeries(line);
    }
    const auto first = c->DrawToBitmap(clWhite, TRect(0, 0, 300, 200));
    const auto again = c->DrawToBitmap(clWhite, TRect(0, 0, 300, 200));
    int differing = 0;
    for (int y = 0; y < 200; ++y)
        for (int x = 0; x < 300; ++x)
            differing += Px(*first, x, y) != Px(*again, x, y);
    EXPECT_EQ(differing, 0);
}

TEST_F(LineDraw, RibbonIn3DIsFilledBetweenTheDepths)
{
    auto* s = Add<TLineSeries>(clRed, {{1, 5}, {9, 5}});
    chart->SetView3D(true);
    chart->SeriesWidth3D = 10;
    chart->SeriesHeight3D = 10;
    chart->Layout();
    EXPECT_EQ(s->EndZ() - s->StartZ(), 10);
    auto bmp = chart->Picture();
    int red = 0;
    for (int y = 0; y < bmp->Height(); ++y)
        red += Px(*bmp, PX(5), y) == clRed;
    EXPECT_GT(red, 3);   // a face, not a one-pixel line
}

} // namespace
} // namespace seriestest
