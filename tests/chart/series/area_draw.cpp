// Area series drawn into a bitmap: the fill between the line and the axis origin, a fixed
// origin, stacked areas filling between each other, the unfilled segment of a null point,
// stairs and the horizontal variant; and the area's extremes, stack view and legend.
#include "series_fixture.h"

namespace seriestest {
namespace {

using AreaDraw = SeriesTest;

// Areas without their outlines, so that every pixel inside is in the fill colour.
template <typename T> void Plain(T* s)
{
    s->AreaLinesPen()->Hide();
    s->LinePen()->Hide();
}

TEST_F(AreaDraw, FillsBetweenTheLineAndTheAxisOrigin)
{
    auto* s = Add<TAreaSeries>(clRed, {{1, 2}, {5, 6}, {9, 4}});
    auto bmp = chart->Picture();
    // Below the line down to the bottom of the axis: red; above it: white.
    EXPECT_EQ(Px(*bmp, PX(3), PY(1)), clRed);
    EXPECT_EQ(Px(*bmp, PX(3), PY(3.5)), clRed);
    EXPECT_EQ(Px(*bmp, PX(5) + 2, PY(5.5)), clRed);
    EXPECT_EQ(Px(*bmp, PX(3), PY(4.5)), clWhite);
    EXPECT_EQ(Px(*bmp, PX(7), PY(6)), clWhite);
    // Nothing before the first point nor after the last.
    EXPECT_EQ(Px(*bmp, PX(0.5), PY(1)), clWhite);
    EXPECT_EQ(Px(*bmp, PX(9.5), PY(1)), clWhite);
    // The top edge in the line pen (black by default).
    EXPECT_TRUE(Near(*bmp, PX(3), PY(4), clBlack));

    Plain(s);
    s->SetAreaColor(clLime);
    bmp = chart->Picture();
    EXPECT_EQ(Px(*bmp, PX(3), PY(1)), clLime);
    EXPECT_EQ(Px(*bmp, PX(3), PY(3.8)), clLime);
    EXPECT_FALSE(Near(*bmp, PX(3), PY(4), clBlack));
}

// Many points to a column: the runs of segments within one column drawn as the spans
// they leave give the picture that drawing every segment gives, with and without the
// area lines and the top line, with lines of their own colour, down to a fixed origin
// that the values cross, zoomed so that the first point lies off the axis, and with
// columns of a single point.
TEST_F(AreaDraw, ColumnsDrawnAsTheirSpansDrawWhatEverySegmentDraws)
{
    auto* s = Add<TAreaSeries>(clRed, {});
    AddNoisyPoints(*s, 6000, 5);
    chart->Layout();
    const auto compare = [&](const std::string& what) { ExpectShortcutsDrawAsPlain("area-columns", what, 3000); };
    compare("default");
    s->AreaLinesPen()->SetColor(clBlue);
    s->LinePen()->SetColor(clGreen);
    compare("coloured-lines");
    s->AreaLinesPen()->Hide();
    compare("no-area-lines");
    s->AreaLinesPen()->Show();
    s->LinePen()->Hide();
    compare("no-top-line");
    s->LinePen()->Show();
    s->SetUseYOrigin(true);
    s->SetYOrigin(5.5);
    compare("origin-crossed");
    s->SetUseYOrigin(false);
    chart->BottomAxis()->SetMinMax(2.5, 7.5);
    compare("zoomed");
    chart->BottomAxis()->SetMinMax(0, 10);
    s->Clear();
    AddNoisyPoints(*s, 300, 9);
    compare("sparse");
}

// The pixels of an unstacked area taken from the axes' scales directly give those of each
// value's own position: on an inverted value axis, with values beyond the value axis'
// range at both ends, with one value axis range far beyond the pixels, on a logarithmic
// value axis, and with a fixed origin on an inverted axis.
TEST_F(AreaDraw, PositionsFromTheAxisScalesDrawWhatEachValuesPositionDraws)
{
    auto* s = Add<TAreaSeries>(clRed, {});
    AddNoisyPoints(*s, 6000, 5);
    chart->Layout();
    const auto compare = [&](const std::string& what, int inked) { ExpectShortcutsDrawAsPlain("area-scales", what, inked); };
    chart->LeftAxis()->SetInverted(true);
    compare("inverted", 3000);
    chart->LeftAxis()->SetInverted(false);
    chart->LeftAxis()->SetMinMax(3, 6);
    compare("beyond-range", 3000);
    chart->LeftAxis()->SetMinMax(4.9999999, 5.0000001);
    compare("tiny-range", 1000);
    chart->LeftAxis()->SetAutomatic(true);
    chart->LeftAxis()->SetLogarithmic(true);
    compare("logarithmic", 3000);
    chart->LeftAxis()->SetLogarithmic(false);
    chart->LeftAxis()->SetInverted(true);
    s->SetUseYOrigin(true);
    s->SetYOrigin(5.5);
    compare("inverted-origin", 3000);
}

// Segments far from their origin, drawn as two short polygons and the band between them,
// give the pixels of the one tall polygon: drawn value by value (with symbols), on a
// horizontal area, with the area lines in a colour of their own and hidden, and down to an
// origin above the values.
TEST_F(AreaDraw, TallSegmentsDrawnInPartsDrawWhatOnePolygonDraws)
{
    auto* s = Add<TAreaSeries>(clRed, {});
    AddNoisyPoints(*s, 120, 3);
    s->Pointer()->SetVisible(true);
    s->Pointer()->SetHorizSize(2);
    s->Pointer()->SetVertSize(2);
    chart->Layout();
    const auto compare = [&](const std::string& what) { ExpectShortcutsDrawAsPlain("area-parts", what, 3000); };
    compare("symbols");
    s->AreaLinesPen()->SetColor(clBlue);
    compare("coloured-lines");
    s->AreaLinesPen()->Hide();
    s->SetUseYOrigin(true);
    s->SetYOrigin(9.5);
    compare("origin-above");
    chart->RemoveSeries(s);
    auto* h = Add<THorizAreaSeries>(clNavy, {});
    for (int i = 0; i < 90; ++i)
        h->AddPointXY(5 + 3 * std::sin(i * 0.11) + (i * 37 % 11) / 10.0, i / 9.0);
    h->AreaLinesPen()->SetColor(clGreen);
    chart->Layout();
    compare("horizontal");
}

// The bands of the segments far from their origin, held back and written together, give
// the pixels that drawing each segment gives: segments several columns wide (the fill
// between the outline's sides) with the outline in a colour of its own and without it, on
// an inverted bottom axis (drawn right to left), down to an origin above the values, in a
// colour for each point, and steep rises and falls between runs within one column.
TEST_F(AreaDraw, BandsHeldBackDrawWhatEverySegmentDraws)
{
    auto* s = Add<TAreaSeries>(clRed, {});
    AddNoisyPoints(*s, 40, 7);
    s->AreaLinesPen()->SetColor(clBlue);
    s->LinePen()->SetColor(clGreen);
    chart->Layout();
    const auto compare = [&](const std::string& what) { ExpectShortcutsDrawAsPlain("area-held", what, 3000); };
    compare("wide");
    s->AreaLinesPen()->Hide();
    compare("wide-no-area-lines");
    s->AreaLinesPen()->Show();
    chart->BottomAxis()->SetInverted(true);
    compare("right-to-left");
    chart->BottomAxis()->SetInverted(false);
    s->SetUseYOrigin(true);
    s->SetYOrigin(9.5);
    compare("origin-above");
    s->SetUseYOrigin(false);
    s->SetColorEachPoint(true);
    compare("colour-each-point");
    s->SetColorEachPoint(false);
    s->Clear();
    for (int i = 0; i < 700; ++i)   // rising ramps that drop at once, a few to a column
        s->AddPointXY(i / 70.0, (i % 53) * (i % 3 ? 0.15 : 0.12));
    compare("sawtooth");
    s->AreaLinesPen()->Hide();
    compare("sawtooth-no-area-lines");
}

TEST_F(AreaDraw, UseYOriginFillsToTheOriginAndWidensTheRange)
{
    auto* s = Add<TAreaSeries>(clBlue, {{1, 2}, {5, 4}, {9, 2}});
    Plain(s);
    s->SetUseYOrigin(true);
    s->SetYOrigin(8);
    EXPECT_EQ(s->GreatestY(), 8);
    EXPECT_EQ(s->LeastY(), 2);
    EXPECT_EQ(s->PointOriginValue(0), PY(8));
    auto bmp = chart->Picture();
    // Between the values and the origin line above them.
    EXPECT_EQ(Px(*bmp, PX(5), PY(6)), clBlue);
    EXPECT_EQ(Px(*bmp, PX(3), PY(7.5)), clBlue);
    EXPECT_EQ(Px(*bmp, PX(3), PY(8.5)), clWhite);
    // Below the values nothing.
    EXPECT_EQ(Px(*bmp, PX(5), PY(2)), clWhite);
    EXPECT_EQ(Px(*bmp, PX(3), PY(1)), clWhite);

    s->SetYOrigin(-3);
    EXPECT_EQ(s->LeastY(), -3);
}

TEST_F(AreaDraw, StackedAreasFillBetweenEachOther)
{
    auto* a = Add<TAreaSeries>(clRed, {{1, 2}, {9, 2}});
    auto* b = Add<TAreaSeries>(clBlue, {{1, 3}, {9, 3}});
    Plain(a);
    Plain(b);
    b->SetMultiArea(maStacked);
    EXPECT_EQ(a->MultiArea(), maStacked);   // the whole stack
    EXPECT_EQ(a->Stacked(), cssStack);
    EXPECT_EQ(b->GreatestY(), 5);
    auto bmp = chart->Picture();
    EXPECT_EQ(Px(*bmp, PX(5), PY(1)), clRed);
    EXPECT_EQ(Px(*bmp, PX(5), PY(3)), clBlue);    // above the red one, up to 2 + 3
    EXPECT_EQ(Px(*bmp, PX(5), PY(4.5)), clBlue);
    EXPECT_EQ(Px(*bmp, PX(5), PY(5.5)), clWhite);

    b->SetMultiArea(maStacked100);
    EXPECT_EQ(a->Stacked(), cssStack100);
    EXPECT_EQ(b->GreatestY(), 100);
    chart->LeftAxis()->SetMinMax(0, 100);
    bmp = chart->Picture();
    // 40 % red, 60 % blue (a percent p lies at PY(p / 10)).
    EXPECT_EQ(Px(*bmp, PX(5), PY(3)), clRed);
    EXPECT_EQ(Px(*bmp, PX(5), PY(5)), clBlue);
    EXPECT_EQ(Px(*bmp, PX(5), PY(9.5)), clBlue);

    b->SetMultiArea(maNone);
    EXPECT_EQ(a->Stacked(), cssNone);
}

TEST_F(AreaDraw, NullPointLeavesItsSegmentUnfilled)
{
    auto* s = Add<TAreaSeries>(clGreen, {{1, 4}});
    s->AddNullPointXY(4, 4);
    s->AddPointXY(7, 4);
    chart->Layout();
    Plain(s);
    auto bmp = chart->Picture();
    EXPECT_EQ(Px(*bmp, (PX(1) + PX(4)) / 2, PY(2)), clWhite);
    // The next segment starts from the null point's pixel.
    EXPECT_EQ(Px(*bmp, PX(4) + 2, PY(2)), clGreen);
    EXPECT_EQ(Px(*bmp, (PX(4) + PX(7)) / 2, PY(2)), clGreen);
}

TEST_F(AreaDraw, StairsFillAtTheStepHeight)
{
    auto* s = Add<TAreaSeries>(clRed, {{1, 2}, {5, 6}});
    Plain(s);
    s->SetStairs(true);
    auto bmp = chart->Picture();
    EXPECT_EQ(Px(*bmp, PX(3), PY(1)), clRed);
    EXPECT_EQ(Px(*bmp, PX(3), PY(3)), clWhite);   // the step stays at the first height
    // The step reaches the next point's column, and no further.
    EXPECT_EQ(Px(*bmp, PX(5), PY(1)), clRed);
    EXPECT_EQ(Px(*bmp, PX(5) + 1, PY(1)), clWhite);
    s->SetInvertedStairs(true);
    bmp = chart->Picture();
    EXPECT_EQ(Px(*bmp, PX(3), PY(5)), clRed);     // up first
    EXPECT_EQ(Px(*bmp, PX(3), PY(6.5)), clWhite);
}

TEST_F(AreaDraw, HorizontalAreaFillsToTheLeftAxis)
{
    auto* s = Add<THorizAreaSeries>(clNavy, {{4, 1}, {4, 9}});
    Plain(s);
    auto bmp = chart->Picture();
    EXPECT_EQ(Px(*bmp, PX(2), PY(5)), clNavy);
    EXPECT_EQ(Px(*bmp, PX(6), PY(5)), clWhite);
    EXPECT_EQ(Px(*bmp, PX(2), PY(0.5)), clWhite);
}

TEST_F(AreaDraw, GradientSpansTheSeriesValuesAndTheAreaReachesTheOrigin)
{
    // Values 6..8 well above the axis origin: the gradient runs from the greatest value
    // (the end colour, blue) to the least (the start colour, yellow); below that the
    // area keeps its own colour.
    auto* s = Add<TAreaSeries>(clRed, {{1, 8}, {9, 6}});
    Plain(s);
    s->Gradient()->SetVisible(true);
    s->Gradient()->SetStartColor(clYellow);
    s->Gradient()->SetEndColor(clBlue);
    auto bmp = chart->Picture();
    const TColor top = Px(*bmp, PX(1) + 1, PY(8) + 1);
    const TColor bottom = Px(*bmp, PX(5), PY(6));
    EXPECT_LT(GetRValue(top), 25);
    EXPECT_GT(GetBValue(top), 230);
    EXPECT_GT(GetRValue(bottom), 230);
    EXPECT_LT(GetBValue(bottom), 25);
    EXPECT_EQ(Px(*bmp, PX(5), PY(3)), clRed);
    EXPECT_EQ(Px(*bmp, PX(5), PY(0.5)), clRed);
    EXPECT_EQ(Px(*bmp, PX(5), PY(7.5)), clWhite);
}

TEST_F(AreaDraw, TransparentStackShowsTheLowerArea)
{
    auto* a = Add<TAreaSeries>(clRed, {{1, 8}, {9, 8}});
    auto* b = Add<TAreaSeries>(clBlue, {{1, 6}, {9, 6}});
    Plain(a);
    Plain(b);
    b->SetTransparency(50);
    auto bmp = chart->Picture();
    const TColor mixed = Px(*bmp, PX(5), PY(3));
    EXPECT_NE(mixed, clBlue);
    EXPECT_NE(mixed, clRed);
    EXPECT_GT(GetRValue(mixed), 0x40);
    EXPECT_GT(GetBValue(mixed), 0x40);
    EXPECT_EQ(Px(*bmp, PX(5), PY(7)), clRed);

    if (const std::string path = testsupport::ArtifactPath("area-fastline.png"); !path.empty()) {
        b->SetTransparency(0);
        a->LinePen()->Show();
        b->SetUseYOrigin(true);
        b->SetYOrigin(5);
        b->AddPointXY(10, 3);
        auto* f = Add<TFastLineSeries>(clGreen, {{0, 1}, {2, 9}, {4, 2}, {6, 7}, {8, 3}, {10, 9}});
        f->LinePen()->SetWidth(2);
        chart->Picture()->SaveToFile(path);
    }
}

TEST_F(AreaDraw, LegendSymbolAndCopy)
{
    auto* s = Add<TAreaSeries>(clRed, {{1, 2}, {5, 6}});
    TBitmap bmp(40, 20);
    bmp.Canvas()->Brush()->SetColor(clWhite);
    bmp.Canvas()->FillRect(TRect(0, 0, 40, 20));
    AttachCanvasToSurface(chart->Canvas(), bmp.Canvas());
    s->SetAreaColor(clLime);
    s->PaintLegendSymbol(-1, TRect(2, 2, 30, 16));
    EXPECT_EQ(Px(bmp, 15, 9), clLime);
    s->Gradient()->SetVisible(true);
    s->Gradient()->SetStartColor(clFuchsia);
    s->Gradient()->SetEndColor(clFuchsia);
    s->PaintLegendSymbol(-1, TRect(2, 2, 30, 16));
    EXPECT_EQ(Px(bmp, 15, 9), clFuchsia);
    AttachCanvasToSurface(chart->Canvas(), nullptr);

    s->SetUseYOrigin(true);
    s->SetYOrigin(3);
    TAreaSeries copy(&form);
    copy.Assign(s);
    EXPECT_TRUE(copy.UseYOrigin());
    EXPECT_EQ(copy.YOrigin(), 3);
}

} // namespace
} // namespace seriestest
