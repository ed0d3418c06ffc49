// Shapes, lines, pens, brushes and raster operations of the device-context canvas,
// checked pixel by pixel on small bitmaps.
#include "GraphicsTestUtil.h"

#include <algorithm>
#include <functional>

#include <gtest/gtest.h>

using namespace gfxtest;

namespace {

struct Surface {
    TBitmap bmp;
    TCanvas& c;
    explicit Surface(int w = 16, int h = 16, TPixelFormat f = pfDevice) : bmp(w, h, f), c(*bmp.Canvas()) {}
};

} // namespace

TEST(CanvasShapes, RectangleExcludesRightAndBottomEdge)
{
    Surface s;
    s.c.Pen()->SetColor(clBlack);
    s.c.Brush()->SetColor(clRed);
    s.c.Rectangle(2, 3, 8, 10);
    EXPECT_EQ(InkBounds(s.bmp), TRect(2, 3, 8, 10));
    // Outline on the edges, brush inside.
    EXPECT_EQ(Px(s.bmp, 2, 3), clBlack);
    EXPECT_EQ(Px(s.bmp, 7, 9), clBlack);
    EXPECT_EQ(Px(s.bmp, 3, 4), clRed);
    EXPECT_EQ(Count(s.bmp, clRed), 4 * 5);
}

TEST(CanvasShapes, RectangleWithoutPenFillsOnePixelLess)
{
    Surface s;
    s.c.Pen()->SetStyle(psClear);
    s.c.Brush()->SetColor(clBlue);
    s.c.Rectangle(2, 2, 8, 8);
    EXPECT_EQ(InkBounds(s.bmp), TRect(2, 2, 7, 7));
    EXPECT_EQ(Count(s.bmp, clBlue), 25);
}

TEST(CanvasShapes, FillRectAndFrameRectCoverExactly)
{
    Surface s;
    s.c.Brush()->SetColor(clGreen);
    s.c.FillRect(TRect(1, 1, 5, 4));
    EXPECT_EQ(Count(s.bmp, clGreen), 12);
    EXPECT_EQ(InkBounds(s.bmp), TRect(1, 1, 5, 4));
    s.c.Brush()->SetColor(clRed);
    s.c.FrameRect(TRect(8, 8, 13, 12));
    EXPECT_EQ(Count(s.bmp, clRed), 5 * 4 - 3 * 2);
    EXPECT_EQ(Px(s.bmp, 10, 10), clWhite);
}

// The first fill on a new bitmap draws what it draws on a white one: the pixels it does
// not reach (a row or column short, clipped, between hatch lines, mapped aside, at a
// denser ratio) stay white, and what it combines with the pixels beneath finds white.
TEST(CanvasShapes, AFirstFillOnANewBitmapDrawsWhatItDrawsOnAWhiteOne)
{
    struct Case {
        const char* Name;
        double Ratio;
        std::function<void(TCanvas&)> Draw;
        int White;   // image pixels left white
    };
    const auto fill = [](TRect r) {
        return [r](TCanvas& c) {
            c.Brush()->SetColor(clRed);
            c.FillRect(r);
        };
    };
    const TRect whole(0, 0, 7, 5);
    const std::vector<Case> cases = {
        {"whole", 1, fill(whole), 0},
        {"beyond every edge", 1, fill(TRect(-2, -3, 9, 8)), 0},
        {"corners swapped", 1, fill(TRect(7, 5, 0, 0)), 0},
        {"one column short on the left", 1, fill(TRect(1, 0, 7, 5)), 5},
        {"one column short on the right", 1, fill(TRect(0, 0, 6, 5)), 5},
        {"one row short at the top", 1, fill(TRect(0, 1, 7, 5)), 7},
        {"one row short at the bottom", 1, fill(TRect(0, 0, 7, 4)), 7},
        {"clipped one row short",
         1,
         [&](TCanvas& c) {
             c.IntersectClipRect(0, 0, 7, 4);
             fill(whole)(c);
         },
         7},
        {"clipped around one pixel",
         1,
         [&](TCanvas& c) {
             c.ExcludeClipRect(3, 2, 4, 3);
             fill(whole)(c);
         },
         1},
        {"clipped by bands that cover it",
         1,
         [&](TCanvas& c) {
             TRegion r = TRegion::CreateRect(0, 0, 7, 5);
             r.Combine(TRegion::CreateRect(2, 4, 9, 7), RGN_OR);
             c.SelectClipRgn(&r);
             fill(whole)(c);
         },
         0},
        {"mapped a column aside",
         1,
         [&](TCanvas& c) {
             c.SetWindowOrg(1, 0);
             fill(whole)(c);
         },
         5},
        {"hatched",
         1,
         [&](TCanvas& c) {
             c.SetBkMode(TRANSPARENT);
             c.Brush()->SetStyle(bsCross);
             fill(whole)(c);
         },
         7 * 5 - (7 + 5 - 1)},
        {"through a raster operation",
         1,
         [&](TCanvas& c) {
             c.Pen()->SetStyle(psClear);
             c.Pen()->SetMode(pmXor);
             c.Brush()->SetColor(clRed);
             c.Rectangle(0, 0, 8, 6);
         },
         0},
        // 10 x 7 image pixels: the fill's 9.1 x 6.5 reach the centres of 9 x 6 of them.
        {"denser", 1.3, fill(whole), 10 + 7 - 1},
        {"denser, one column short", 1.3, fill(TRect(0, 0, 6, 5)), 2 * 7 + 8},
    };
    for (const Case& k : cases) {
        TBitmap fresh(7, 5), white(7, 5);
        fresh.SetPixelRatio(k.Ratio);
        white.SetPixelRatio(k.Ratio);
        for (int y = 0; y < white.PixelHeight(); ++y)
            std::fill_n(reinterpret_cast<uint32_t*>(white.ScanLine(y)), white.PixelWidth(), 0xFFFFFFFFu);
        k.Draw(*fresh.Canvas());
        k.Draw(*white.Canvas());
        int same = 0, left = 0;
        for (int y = 0; y < fresh.PixelHeight(); ++y)
            for (int x = 0; x < fresh.PixelWidth(); ++x) {
                same += Px(fresh, x, y) == Px(white, x, y) ? 1 : 0;
                left += Px(fresh, x, y) == clWhite ? 1 : 0;
            }
        EXPECT_EQ(same, fresh.PixelWidth() * fresh.PixelHeight()) << k.Name;
        EXPECT_EQ(left, k.White) << k.Name;
    }
}

TEST(CanvasShapes, LineToLeavesOutItsLastPixelAndMovesThePen)
{
    Surface s;
    s.c.MoveTo(1, 1);
    s.c.LineTo(6, 1);
    EXPECT_EQ(Count(s.bmp, clBlack), 5);
    EXPECT_EQ(Px(s.bmp, 6, 1), clWhite);
    EXPECT_EQ(s.c.PenPos(), TPoint(6, 1));
    s.c.LineTo(6, 5);   // continues from the pen position: (6,1) is now drawn
    EXPECT_EQ(Px(s.bmp, 6, 1), clBlack);
    EXPECT_EQ(Px(s.bmp, 6, 5), clWhite);
}

TEST(CanvasShapes, LinesInEveryDirectionLeaveOutTheirEnd)
{
    Surface s;
    s.c.MoveTo(8, 1);
    s.c.LineTo(0, 1);   // leftwards: 8..1
    EXPECT_EQ(Px(s.bmp, 8, 1), clBlack);
    EXPECT_EQ(Px(s.bmp, 0, 1), clWhite);
    s.c.MoveTo(3, 12);
    s.c.LineTo(3, 4);   // upwards: 12..5
    EXPECT_EQ(Px(s.bmp, 3, 12), clBlack);
    EXPECT_EQ(Px(s.bmp, 3, 4), clWhite);
    EXPECT_EQ(Count(s.bmp, clBlack), 8 + 8);
    s.c.MoveTo(10, 10);
    s.c.LineTo(10, 10);   // no length: nothing
    EXPECT_EQ(Px(s.bmp, 10, 10), clWhite);
    s.c.MoveTo(14, 14);
    s.c.LineTo(10, 10);   // diagonal towards the origin
    EXPECT_EQ(Px(s.bmp, 14, 14), clBlack);
    EXPECT_EQ(Px(s.bmp, 11, 11), clBlack);
    EXPECT_EQ(Px(s.bmp, 10, 10), clWhite);
}

TEST(CanvasShapes, PolylineKeepsJoinsAndDropsOnlyTheFinalPixel)
{
    Surface s;
    const TPoint pts[] = {{1, 1}, {5, 1}, {5, 5}};
    s.c.Polyline(pts, 3);
    EXPECT_EQ(Px(s.bmp, 5, 1), clBlack);
    EXPECT_EQ(Px(s.bmp, 5, 4), clBlack);
    EXPECT_EQ(Px(s.bmp, 5, 5), clWhite);
    EXPECT_EQ(Count(s.bmp, clBlack), 8);
    // Back to the left: the final point is left out there too.
    Surface t;
    const TPoint back[] = {{8, 1}, {8, 5}, {0, 5}};
    t.c.Polyline(back, 3);
    EXPECT_EQ(Px(t.bmp, 0, 5), clWhite);
    EXPECT_EQ(Px(t.bmp, 1, 5), clBlack);
    EXPECT_EQ(Count(t.bmp, clBlack), 4 + 8);
}

TEST(CanvasShapes, PolygonFillsInsideAndOutlinesAllVertices)
{
    Surface s;
    s.c.Brush()->SetColor(clYellow);
    const TPoint pts[] = {{2, 2}, {10, 2}, {10, 10}, {2, 10}};
    s.c.Polygon(pts, 4);
    EXPECT_EQ(InkBounds(s.bmp), TRect(2, 2, 11, 11));
    EXPECT_EQ(Count(s.bmp, clYellow), 7 * 7);
}

TEST(CanvasShapes, EllipseStaysInsideItsBox)
{
    Surface s(20, 20);
    s.c.Brush()->SetColor(clRed);
    s.c.Ellipse(2, 4, 14, 12);
    EXPECT_EQ(InkBounds(s.bmp), TRect(2, 4, 14, 12));
    EXPECT_EQ(Px(s.bmp, 8, 8), clRed);
    EXPECT_EQ(Px(s.bmp, 2, 4), clWhite);   // corners stay free
}

TEST(CanvasShapes, PieFillsOnlyItsQuadrant)
{
    Surface s(21, 21);
    s.c.Pen()->SetStyle(psClear);
    s.c.Brush()->SetColor(clBlue);
    // Counter-clockwise from the radial to the right to the radial upwards: upper right.
    s.c.Pie(0, 0, 21, 21, 20, 10, 10, 0);
    EXPECT_GT(Count(s.bmp, clBlue, TRect(11, 0, 21, 10)), 40);
    EXPECT_EQ(Count(s.bmp, clBlue, TRect(0, 0, 9, 21)), 0);
    EXPECT_EQ(Count(s.bmp, clBlue, TRect(0, 12, 21, 21)), 0);
    // Clockwise turns the other way round: everything but that quadrant.
    Surface t(21, 21);
    t.c.Pen()->SetStyle(psClear);
    t.c.Brush()->SetColor(clBlue);
    t.c.SetArcDirection(AD_CLOCKWISE);
    t.c.Pie(0, 0, 21, 21, 20, 10, 10, 0);
    EXPECT_EQ(Count(t.bmp, clBlue, TRect(12, 0, 21, 8)), 0);
    EXPECT_GT(Count(t.bmp, clBlue, TRect(0, 12, 21, 21)), 40);
}

TEST(CanvasShapes, PieOnAnEllipseEndsOnItsRadials)
{
    // The slice runs from the radial through the box's top-right corner to the radial
    // upwards, also when the box is not square.
    Surface s(81, 21);
    s.c.Pen()->SetStyle(psClear);
    s.c.Brush()->SetColor(clBlue);
    s.c.Pie(0, 0, 81, 21, 80, 0, 40, 0);
    EXPECT_EQ(Px(s.bmp, 60, 3), clBlue);    // above the corner radial
    EXPECT_NE(Px(s.bmp, 70, 6), clBlue);    // below it
}

TEST(CanvasShapes, PenStylesAndOpaqueBackground)
{
    Surface s(40, 4);
    s.c.Pen()->SetStyle(psDot);
    s.c.SetBkMode(TRANSPARENT);
    s.c.MoveTo(0, 1);
    s.c.LineTo(40, 1);
    EXPECT_EQ(Count(s.bmp, clBlack), 21);   // 3 on, 3 off
    EXPECT_EQ(Px(s.bmp, 3, 1), clWhite);
    // Opaque background fills the gaps of styled lines with the background colour.
    s.c.SetBkMode(OPAQUE);
    s.c.SetBkColor(clRed);
    s.c.MoveTo(0, 2);
    s.c.LineTo(40, 2);
    EXPECT_EQ(Px(s.bmp, 3, 2), clRed);
    EXPECT_EQ(Px(s.bmp, 0, 2), clBlack);
}

TEST(CanvasShapes, ClearPenAndNopModeDrawNothing)
{
    Surface s;
    s.c.Pen()->SetStyle(psClear);
    s.c.MoveTo(0, 0);
    s.c.LineTo(10, 10);
    s.c.Pen()->SetStyle(psSolid);
    s.c.Pen()->SetMode(pmNop);
    s.c.Rectangle(1, 1, 9, 9);
    EXPECT_EQ(Count(s.bmp, clWhite), 16 * 16);
}

TEST(CanvasShapes, XorPenTwiceRestoresAndNotInverts)
{
    Surface s;
    s.c.Brush()->SetColor(clRed);
    s.c.FillRect(TRect(0, 0, 16, 16));
    s.c.Pen()->SetMode(pmXor);
    s.c.Pen()->SetColor(clWhite);
    s.c.MoveTo(0, 5);
    s.c.LineTo(16, 5);
    EXPECT_EQ(Px(s.bmp, 4, 5), clAqua);   // red xor white
    s.c.MoveTo(0, 5);
    s.c.LineTo(16, 5);
    EXPECT_EQ(Px(s.bmp, 4, 5), clRed);
    s.c.Pen()->SetMode(pmNot);
    s.c.MoveTo(0, 7);
    s.c.LineTo(16, 7);
    EXPECT_EQ(Px(s.bmp, 4, 7), clAqua);
    // Figures fill through the raster operation; FillRect copies the brush as it is.
    s.c.Pen()->SetMode(pmXor);
    s.c.Pen()->SetStyle(psClear);
    s.c.Brush()->SetColor(clWhite);
    s.c.Rectangle(0, 10, 5, 15);
    EXPECT_EQ(Px(s.bmp, 1, 11), clAqua);
    s.c.FillRect(TRect(8, 10, 12, 14));
    EXPECT_EQ(Px(s.bmp, 9, 11), clWhite);
}

TEST(CanvasShapes, WideGeometricPenIsCentredOnThePath)
{
    Surface s(20, 12);
    s.c.Pen()->SetWidth(3);
    s.c.Pen()->SetExtended(TExtPenInfo{pecFlat, pjMiter, {}, false});
    s.c.MoveTo(4, 5);
    s.c.LineTo(14, 5);
    EXPECT_EQ(InkBounds(s.bmp), TRect(4, 4, 14, 7));
    // Round caps reach past the ends.
    Surface r(20, 12);
    r.c.Pen()->SetWidth(3);
    r.c.MoveTo(4, 5);
    r.c.LineTo(14, 5);
    EXPECT_EQ(Px(r.bmp, 3, 5), clBlack);
}

TEST(CanvasShapes, HatchedBrushUsesBackgroundOnlyWhenOpaque)
{
    Surface s(8, 8);
    s.c.Brush()->SetColor(clBlue);
    s.c.Brush()->SetStyle(bsHorizontal);
    s.c.SetBkMode(TRANSPARENT);
    s.c.FillRect(TRect(0, 0, 8, 8));
    EXPECT_EQ(Count(s.bmp, clBlue), 8);
    EXPECT_EQ(Count(s.bmp, clWhite), 56);
    s.c.SetBkMode(OPAQUE);
    s.c.SetBkColor(clYellow);
    s.c.FillRect(TRect(0, 0, 8, 8));
    EXPECT_EQ(Count(s.bmp, clBlue), 8);
    EXPECT_EQ(Count(s.bmp, clYellow), 56);
}

TEST(CanvasShapes, MonochromeBitmapKeepsBlackAndWhiteOnly)
{
    Surface s(16, 16, pf1bit);
    s.c.Brush()->SetColor(clYellow);   // light: white
    s.c.Pen()->SetColor(clRed);        // dark: black
    s.c.Rectangle(0, 0, 10, 10);
    EXPECT_EQ(Px(s.bmp, 0, 0), clBlack);
    EXPECT_EQ(Px(s.bmp, 5, 5), clWhite);
    s.c.Brush()->SetColor(clNavy);
    s.c.FillRect(TRect(10, 10, 16, 16));
    EXPECT_EQ(Px(s.bmp, 12, 12), clBlack);
    EXPECT_EQ(Count(s.bmp, clBlack) + Count(s.bmp, clWhite), 256);
}

TEST(CanvasShapes, PatternBrushFromMonochromeBitmapTakesTextAndBackColours)
{
    TBitmap pattern(2, 2, pf1bit);
    pattern.Canvas()->SetPixel(0, 0, clBlack);
    Surface s(4, 4);
    s.c.Brush()->SetBitmap(&pattern);
    s.c.SetTextColor(clRed);
    s.c.SetBkColor(clLime);
    s.c.FillRect(TRect(0, 0, 4, 4));
    EXPECT_EQ(Px(s.bmp, 0, 0), clRed);
    EXPECT_EQ(Px(s.bmp, 2, 2), clRed);
    EXPECT_EQ(Px(s.bmp, 1, 0), clLime);
    EXPECT_EQ(Count(s.bmp, clRed), 4);
}

TEST(CanvasShapes, PixelsReadAndWriteWithinTargetAndClip)
{
    Surface s(8, 8);
    s.c.SetPixel(3, 4, clRed);
    EXPECT_EQ(s.c.Pixel(3, 4), clRed);
    EXPECT_EQ(s.c.Pixel(8, 0), CLR_INVALID);
    EXPECT_EQ(s.c.Pixel(-1, 0), CLR_INVALID);
    s.c.SetPixel(20, 20, clRed);   // outside: ignored
    s.c.IntersectClipRect(0, 0, 2, 2);
    EXPECT_EQ(s.c.Pixel(3, 4), CLR_INVALID);
    s.c.SetPixel(5, 5, clBlue);
    EXPECT_EQ(Px(s.bmp, 5, 5), clWhite);
}
