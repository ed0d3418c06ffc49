// The shape series: its corners as two points, the three ways of placing them, the
// styles by pixels and by hit test, its text, and a sampler of every style in 2D and 3D
// saved as shapes-sampler.png.
#include "series_fixture.h"

#include "ShapeSeries.h"

namespace seriestest {
namespace {

struct ShapeSeriesTest : SeriesTest {
    TChartShape* Shape(TChartShapeStyle Style, double X0, double Y0, double X1, double Y1, TColor Color = clRed)
    {
        auto* s = new TChartShape(&form);
        s->SetSeriesColor(Color);
        s->SetStyle(Style);
        s->SetX0(X0);
        s->SetY0(Y0);
        s->SetX1(X1);
        s->SetY1(Y1);
        chart->AddSeries(s);
        chart->Layout();
        return s;
    }
};

TEST_F(ShapeSeriesTest, DrawnOnlyWithExactlyTwoPoints)
{
    auto* s = Shape(chasRectangle, 2, 2, 8, 8);
    EXPECT_EQ(Px(*chart->Picture(), PX(5), PY(5)), clRed);
    s->AddPointXY(9, 9);
    EXPECT_EQ(Px(*chart->Picture(), PX(5), PY(5)), clWhite);
    s->Delete(2);
    s->Delete(1);
    EXPECT_EQ(Px(*chart->Picture(), PX(5), PY(5)), clWhite);
    // A corner setter adds the missing corners instead of writing past the end.
    s->Clear();
    s->SetY1(8);
    ASSERT_EQ(s->Count(), 2);
    EXPECT_EQ(s->X0(), 0);
    EXPECT_EQ(s->Y0(), 0);
    EXPECT_EQ(s->X1(), 100);
    EXPECT_EQ(s->Y1(), 8);
    EXPECT_TRUE(s->ManualData());
}

TEST_F(ShapeSeriesTest, CornersInAxisValuesPixelsOrAnOriginWithAPixelSize)
{
    auto* s = Shape(chasRectangle, 2, 5, 0, 0);
    s->SetXYStyle(xysAxisOrigin);
    s->SetX1(50);
    s->SetY1(-20);
    EXPECT_EQ(s->GetShapeRectangle(), TRect(PX(2), PY(5), PX(2) + 50, PY(5) - 20));
    // The pixel size is no axis value: the extremes are point 0's.
    EXPECT_EQ(s->GreatestX(), 2);
    EXPECT_EQ(s->LeastY(), 5);
    auto bmp = chart->Picture();
    // Put in order: 50 wide, its top 20 pixels above point 0.
    EXPECT_EQ(Px(*bmp, PX(2) + 25, PY(5) - 10), clRed);
    EXPECT_EQ(Px(*bmp, PX(2) + 25, PY(5) - 22), clWhite);
    EXPECT_EQ(Px(*bmp, PX(2) + 52, PY(5) - 10), clWhite);
    EXPECT_EQ(Px(*bmp, PX(2) + 25, PY(5) + 2), clWhite);
    s->SetXYStyle(xysPixels);
    EXPECT_FALSE(s->UseAxis());
    EXPECT_EQ(s->GetShapeRectangle(), TRect(2, 5, 50, -20));

    // A line keeps its direction: from (100, 0) down to (0, 100) is the falling diagonal.
    auto* line = Shape(chasLine, 100, 0, 0, 100, clRed);
    line->SetXYStyle(xysPixels);
    s->Hide();
    bmp = chart->Picture();
    EXPECT_TRUE(Near(*bmp, 75, 25, clBlack));
    EXPECT_TRUE(Near(*bmp, 25, 75, clBlack));
    EXPECT_EQ(Px(*bmp, 30, 30), clWhite);
    EXPECT_EQ(line->Clicked(75, 25), 0);
    EXPECT_EQ(line->Clicked(30, 30), -1);
}

TEST_F(ShapeSeriesTest, StylesByPixelsAndByHitTest)
{
    // Corners (2, 2) and (8, 8): x 50..170, y 40..130, centre (110, 85).
    auto* s = Shape(chasCircle, 2, 2, 8, 8);
    auto bmp = chart->Picture();
    EXPECT_EQ(Px(*bmp, 110, 85), clRed);
    EXPECT_EQ(Px(*bmp, 53, 43), clWhite);   // the rectangle's corner lies outside
    EXPECT_EQ(s->Clicked(110, 85), 0);
    EXPECT_EQ(s->Clicked(53, 43), -1);

    s->SetStyle(chasTriangle);
    bmp = chart->Picture();
    EXPECT_EQ(Px(*bmp, 110, 125), clRed);
    EXPECT_EQ(Px(*bmp, 60, 50), clWhite);
    EXPECT_EQ(s->Clicked(110, 125), 0);
    EXPECT_EQ(s->Clicked(60, 50), -1);
    s->SetStyle(chasInvertPyramid);   // flat: the downward triangle
    bmp = chart->Picture();
    EXPECT_EQ(Px(*bmp, 110, 45), clRed);
    EXPECT_EQ(Px(*bmp, 60, 125), clWhite);
    EXPECT_EQ(s->Clicked(60, 125), -1);
    EXPECT_EQ(s->Clicked(110, 45), 0);

    s->SetStyle(chasDiamond);
    bmp = chart->Picture();
    EXPECT_EQ(Px(*bmp, 110, 85), clRed);
    EXPECT_EQ(Px(*bmp, 60, 50), clWhite);
    EXPECT_EQ(s->Clicked(60, 50), -1);

    s->SetStyle(chasStar);
    bmp = chart->Picture();
    EXPECT_EQ(Px(*bmp, 110, 60), clBlack);   // vertical centre line
    EXPECT_EQ(Px(*bmp, 80, 85), clBlack);    // horizontal centre line
    EXPECT_TRUE(Near(*bmp, 80, 62, clBlack));   // a diagonal
    EXPECT_EQ(Px(*bmp, 90, 50), clWhite);    // no fill

    s->SetStyle(chasVertLine);
    EXPECT_EQ(s->Clicked(110, 50), 0);
    EXPECT_EQ(s->Clicked(100, 50), -1);
    s->SetStyle(chasCube);
    EXPECT_EQ(s->Clicked(55, 45), 0);
    EXPECT_EQ(Px(*chart->Picture(), 55, 45), clRed);
    s->SetTransparent(true);
    EXPECT_EQ(Px(*chart->Picture(), 55, 45), clWhite);
}

TEST_F(ShapeSeriesTest, TextPlacedByAlignmentAndNeverLostOnItsFill)
{
    auto* s = Shape(chasRectangle, 1, 1, 9, 9, clBlack);   // y 25..145
    s->Text()->Add("WWWW");
    s->SetVertAlign(vaTop);
    s->SetAlignment(taLeftJustify);
    auto bmp = chart->Picture();
    // Black text on a black fill is drawn white, and the series' font stays black.
    const auto whiteIn = [&](int x0, int x1, int y0, int y1) {
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x)
                if (Px(*bmp, x, y) == clWhite)
                    return true;
        return false;
    };
    EXPECT_TRUE(whiteIn(PX(1) + 1, PX(1) + 40, PY(9), PY(9) + 16));
    EXPECT_FALSE(whiteIn(PX(1) + 1, PX(9), PY(9) + 30, PY(1) - 1));
    EXPECT_FALSE(whiteIn(PX(5), PX(9), PY(9), PY(9) + 16));
    EXPECT_EQ(s->Font()->Color(), clBlack);
    s->SetVertAlign(vaBottom);
    s->SetAlignment(taRightJustify);
    bmp = chart->Picture();
    EXPECT_TRUE(whiteIn(PX(9) - 40, PX(9), PY(1) - 16, PY(1)));
    EXPECT_FALSE(whiteIn(PX(1) + 1, PX(9), PY(9), PY(1) - 30));
    EXPECT_FALSE(whiteIn(PX(1) + 1, PX(5), PY(1) - 16, PY(1)));
}

TEST_F(ShapeSeriesTest, SamplerOfEveryStyleIn2DAnd3D)
{
    const char* names[] = {"Rectangle", "Circle", "Vert.Line", "Horiz.Line", "Triangle", "Inv.Triangle", "Line",
                           "Diamond", "Cube", "Cross", "Diag.Cross", "Star", "Pyramid", "Inv.Pyramid"};
    const TColor colors[] = {clRed, clGreen, clBlue, clNavy, clTeal, clPurple, clMaroon,
                             clOlive, RGB(255, 128, 0), clFuchsia, clGray, RGB(0, 160, 200), clLime, clAqua};
    TBitmap sheet;
    sheet.SetSize(840, 660);
    sheet.Canvas()->Brush()->SetColor(clWhite);
    sheet.Canvas()->FillRect(TRect(0, 0, 840, 660));
    TColor cubeSide = clNone;
    for (int pass = 0; pass < 2; ++pass) {
        TChart view(nullptr);
        view.SetBounds(0, 0, 840, 330);
        view.SetColor(clWhite);
        view.SetView3D(pass == 1);
        view.Legend()->Hide();
        view.BottomAxis()->SetMinMax(0, 70);
        view.LeftAxis()->SetMinMax(0, 19);
        view.Title()->Text()->Clear();
        view.Title()->Text()->Add(pass == 0 ? "Shape styles, 2D" : "Shape styles, 3D");
        for (int k = 0; k < 14; ++k) {
            auto* s = new TChartShape(&form);
            s->SetStyle(TChartShapeStyle(k));
            s->SetSeriesColor(colors[k]);
            const double x = (k % 7) * 10, y = (k / 7) * 10;
            s->SetX0(x + 1);
            s->SetY0(y + 8);
            s->SetX1(x + 9);
            s->SetY1(y + 1);
            s->Text()->Add(names[k]);
            s->Font()->SetColor(k == 2 || k == 3 || k == 6 || (k >= 9 && k <= 11) ? clBlack : clWhite);
            if (k == 0)
                s->SetRoundRectangle(true);
            if (k == 1) {
                s->Gradient()->SetVisible(true);
                s->Gradient()->SetStartColor(clWhite);
                s->Gradient()->SetEndColor(colors[k]);
            }
            s->SetZOrder(0);   // side by side at one depth
            view.AddSeries(s);
        }
        auto bmp = view.DrawToBitmap(clWhite, TRect(0, 0, 840, 330));
        if (pass == 1) {
            // The cube's right side is its colour darkened.
            auto* cube = dynamic_cast<TChartShape*>(view.Series(8));
            const TRect r = cube->GetShapeRectangle();
            const TPoint side = view.Canvas()->Calc3DPoint(std::max(r.Left, r.Right), (r.Top + r.Bottom) / 2,
                                                           (cube->StartZ() + cube->EndZ()) / 2);
            cubeSide = Px(*bmp, side.X + 1, side.Y);
        }
        sheet.Canvas()->Draw(0, pass * 330, bmp.get());
    }
    EXPECT_NE(cubeSide, RGB(255, 128, 0));
    EXPECT_NE(cubeSide, clWhite);
    EXPECT_LT(GetRValue(cubeSide), 255);
    if (const std::string path = testsupport::ArtifactPath("shapes-sampler.png"); !path.empty())
        sheet.SaveToFile(path);
}

} // namespace
} // namespace seriestest
