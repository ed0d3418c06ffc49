// The zoom rectangle: drawn so that a second drawing restores the pixels, in the pen's
// colour over the back colour, and by the chart's drawing while a drag is on.
#include "chart_fixture_support.h"

using namespace charttest;

namespace {

struct Canvas {
    TBitmap bmp;
    TTeeCanvas3D s;
    explicit Canvas(TColor Back, int w = 40, int h = 30) : bmp(w, h)
    {
        s.SetBuffered(false);
        s.SetupProjection(bmp.Canvas(), nullptr, TRect(0, 0, w, h), false);
        AssignStylesToCanvas(&s);
        bmp.Canvas()->Brush()->SetColor(Back);
        bmp.Canvas()->Brush()->SetStyle(bsSolid);
        bmp.Canvas()->FillRect(TRect(0, 0, w, h));
        // A black mark under the outline, to see it come back.
        s.SetPixel(10, 5, clBlack);
    }
};

TEST(ZoomRectangle, DrawnTwiceRestoresThePixelsAndShowsThePenColourOverTheBack)
{
    const TColor back = RGB(192, 192, 192);
    Canvas f(back);
    TTeeZoom zoom;
    zoom.Pen()->SetColor(clRed);
    zoom.X0 = 5;
    zoom.Y0 = 5;
    zoom.X1 = 30;
    zoom.Y1 = 20;
    DrawZoomRectangleOn(&f.s, &zoom, back);
    EXPECT_EQ(Px(f.bmp, 5, 12), clRed) << "left edge";
    EXPECT_EQ(Px(f.bmp, 20, 5), clRed) << "top edge";
    EXPECT_EQ(Px(f.bmp, 20, 12), back) << "inside: no brush, nothing filled";
    EXPECT_EQ(Px(f.bmp, 2, 2), back) << "outside";
    EXPECT_NE(Px(f.bmp, 10, 5), clBlack) << "the outline combines with what lies under it";
    EXPECT_EQ(f.bmp.Canvas()->Pen()->Mode(), pmCopy) << "the canvas draws normally afterwards";

    DrawZoomRectangleOn(&f.s, &zoom, back);
    EXPECT_EQ(Px(f.bmp, 5, 12), back);
    EXPECT_EQ(Px(f.bmp, 20, 5), back);
    EXPECT_EQ(Px(f.bmp, 10, 5), clBlack);
}

TEST_F(ChartTest, TheChartDrawsTheRectangleOnlyWhileTheDragIsOn)
{
    chart->SetView3D(false);
    AddSeries();
    chart->Zoom()->Pen()->SetColor(clRed);
    auto before = Draw();
    const TRect p = chart->ChartRect;
    const int x0 = p.Left + 20, y0 = p.Top + 20, x1 = p.Right - 20, y1 = p.Bottom - 20;
    chart->DispatchMouseDown(mbLeft, 0, x0, y0);
    chart->DispatchMouseMove(0, x1, y1);
    ASSERT_TRUE(chart->Zoom()->Active);
    auto during = Draw();
    const int midY = (y0 + y1) / 2;
    EXPECT_NE(Px(*during, x0, midY), Px(*before, x0, midY));
    EXPECT_NE(Px(*during, x1 - 1, midY), Px(*before, x1 - 1, midY));
    EXPECT_EQ(Px(*during, (x0 + x1) / 2 + 1, midY + 1), Px(*before, (x0 + x1) / 2 + 1, midY + 1));
    chart->DispatchMouseUp(mbLeft, 0, x1, y1);
    EXPECT_FALSE(chart->Zoom()->Active);
}

} // namespace
