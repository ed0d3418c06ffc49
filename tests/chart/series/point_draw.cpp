// Point series: circle symbols at every point but a null one, no line; the application's
// chart of a hidden-pointer line, circle points and a blue cubic-law line, saved as a
// picture when artifacts are wanted.
#include "series_fixture.h"

namespace seriestest {
namespace {

using PointDraw = SeriesTest;

TEST_F(PointDraw, CircleAtEachPointNoneAtANullPointAndNoLine)
{
    auto* s = Add<TPointSeries>(clRed, {{2, 2}});
    s->AddNullPointXY(5, 5);
    s->AddPointXY(8, 2);
    s->Pointer()->SetStyle(psCircle);
    chart->Layout();
    auto bmp = chart->Picture();
    for (double x : {2.0, 8.0}) {
        EXPECT_EQ(Px(*bmp, PX(x), PY(2)), clRed) << x;
        // The black rim of a circle of half size 4 lies 4 pixels away; a circle leaves
        // the square's corner white.
        EXPECT_TRUE(Near(*bmp, PX(x) + 4, PY(2), clBlack)) << x;
        EXPECT_EQ(Px(*bmp, PX(x) + 4, PY(2) - 4), clWhite) << x;
    }
    for (int dx = -4; dx <= 4; ++dx)
        EXPECT_EQ(Px(*bmp, PX(5) + dx, PY(5)), clWhite) << dx;
    EXPECT_EQ(Px(*bmp, PX(5), PY(2)), clWhite);   // no line between the points
}

TEST_F(PointDraw, PointerStyleComesFromTheEventWhenSet)
{
    auto* s = Add<TPointSeries>(clRed, {{2, 2}, {8, 2}});
    s->OnGetPointerStyle = [](TChartSeries*, int i) { return i == 0 ? psNothing : psRectangle; };
    auto bmp = chart->Picture();
    EXPECT_EQ(Px(*bmp, PX(2), PY(2)), clWhite);
    EXPECT_EQ(Px(*bmp, PX(8), PY(2)), clRed);
}

// Symbols stamped from one drawn symbol, later ones hiding earlier ones on the same
// place, give the picture that drawing each symbol gives, in every style and colouring,
// with a null, overlapping symbols, a symbol cut by the picture's edge, in either order
// and on either kind of axis.
TEST_F(PointDraw, StampedSymbolsDrawWhatDrawingEachSymbolDraws)
{
    auto* s = Add<TPointSeries>(clRed, {});
    AddNoisyPoints(*s, 400, 11, 37);
    s->AddPointXY(10.45, 10.6);   // cut by the right and top edges
    s->AddPointXY(5, 5);
    s->AddPointXY(5.02, 5);        // a neighbour covering most of the one before
    s->AddPointXY(5, 5);           // the first again, now on top of its neighbour
    chart->Layout();
    const auto compare = [&](const std::string& what) { ExpectShortcutsDrawAsPlain("points-stamped", what, 300); };
    for (int style = 0; style < TeePointerStyleCount; ++style) {
        if (style == psNothing)
            continue;
        s->Pointer()->SetStyle(TSeriesPointerStyle(style));
        compare("style " + std::to_string(style));
    }
    s->Pointer()->SetStyle(psRectangle);
    s->Pointer()->SetHorizSize(2);
    s->Pointer()->SetVertSize(2);
    compare("small");
    s->Pointer()->Brush()->SetStyle(bsClear);
    compare("hollow");
    s->Pointer()->Brush()->SetStyle(bsSolid);
    s->Pointer()->Pen()->Hide();
    compare("no border");
    s->Pointer()->Pen()->Show();
    s->Pointer()->Pen()->SetColor(clBlue);
    s->Pointer()->SetHorizSize(5);
    s->Pointer()->SetVertSize(3);
    compare("wide, blue border");
    // Drawn from the last point to the first, placed through a logarithmic axis, and with
    // places beyond the picture's edges.
    chart->BottomAxis()->SetInverted(true);
    compare("inverted");
    chart->BottomAxis()->SetInverted(false);
    chart->LeftAxis()->SetLogarithmic(true);
    compare("logarithmic");
    chart->LeftAxis()->SetLogarithmic(false);
    chart->BottomAxis()->SetMinMax(1.5, 8.5);
    compare("zoomed");
}

TEST_F(PointDraw, ApplicationChartPicture)
{
    auto* calc = Add<TLineSeries>(clRed, {});
    calc->SetTitle("Calculated");
    auto* exp = Add<TPointSeries>(clGreen, {});
    exp->SetTitle("Experiment");
    exp->Pointer()->SetStyle(psCircle);
    exp->SetClickableLine(false);
    auto* law = Add<TLineSeries>(clBlue, {});
    law->SetTitle("T^3 law");
    for (int i = 1; i <= 9; ++i) {
        const double t = i;
        calc->AddPointXY(t, 10 * t * t / (t * t + 9));
        exp->AddPointXY(t, 10 * t * t / (t * t + 9) + (i % 2 ? 1.5 : -1.5));
        law->AddPointXY(t, 0.01 * t * t * t);
    }
    chart->Layout();
    auto bmp = chart->Picture();
    // Every experimental point has its green circle; the calculated curve has no symbols.
    for (int i = 1; i <= 9; ++i)
        EXPECT_TRUE(Near(*bmp, exp->PointScreenX(i - 1), exp->PointScreenY(i - 1), clGreen)) << i;
    EXPECT_EQ(Px(*bmp, calc->PointScreenX(0) - 3, calc->PointScreenY(0) - 3), clWhite);
    EXPECT_TRUE(Near(*bmp, law->PointScreenX(8), law->PointScreenY(8), clBlue));
    if (const std::string path = testsupport::ArtifactPath("line-point-series.png"); !path.empty())
        bmp->SaveToFile(path);
}

} // namespace
} // namespace seriestest
