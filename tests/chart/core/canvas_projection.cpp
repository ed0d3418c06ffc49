// The 3D projection and its inverse, and the 3D primitives and solids.
#include "TeCanvas.h"
#include "PixelProbe.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <QImage>

#include <cmath>
#include <set>

namespace {

constexpr double kPi = 3.14159265358979323846;

using testsupport::Px;

struct View {
    TBitmap bmp;
    TView3DOptions options;
    TTeeCanvas3D s;
    TCanvas& c;
    View(int w, int h) : bmp(w, h), c(*bmp.Canvas()) { s.SetBuffered(false); }
    void Setup(bool is3D, int depth = 40, bool withOptions = true)
    {
        const TRect r(0, 0, bmp.Width(), bmp.Height());
        s.SetupProjection(&c, withOptions ? &options : nullptr, r, is3D);
        s.SetupView(depth, r);
    }
};

} // namespace

TEST(CanvasProjection, FlatViewsLeavePointsAlone)
{
    View v(100, 80);
    v.Setup(false);
    for (int z : {-50, 0, 7, 1000})
        EXPECT_EQ(v.s.ProjectToPoint(13, 27, z), TPoint(13, 27));
    // A 3D request without view options has nothing to project with: it stays flat.
    v.Setup(true, 40, false);
    EXPECT_FALSE(v.s.Is3D());
    EXPECT_EQ(v.s.ProjectToPoint(13, 27, 99), TPoint(13, 27));
    int x = 5, y = 6;
    v.s.UnprojectPoint(x, y, 10);
    EXPECT_EQ(TPoint(x, y), TPoint(5, 6));
}

TEST(CanvasProjection, OrthogonalSlopes)
{
    View v(200, 100);
    v.options.SetHorizOffset(7);
    v.options.SetVertOffset(-3);
    v.Setup(true);
    const TPoint c = v.s.Center();
    const TPoint o = v.s.OffsetCenter();
    EXPECT_EQ(c, TPoint(100, 50));
    EXPECT_EQ(o, TPoint(107, 47));
    EXPECT_EQ(v.s.ProjectToPoint(c.X, c.Y, 10), TPoint(o.X + 10, o.Y - 10));
    // At 90 degrees cos is 0: ratio 1 and the depth runs to the left.
    v.options.SetOrthoAngle(90);
    v.Setup(true);
    EXPECT_EQ(v.s.ProjectToPoint(c.X, c.Y, 10), TPoint(o.X - 10, o.Y - 10));
    // Zoom scales around the centre.
    v.options.SetOrthoAngle(45);
    v.options.SetZoom(200);
    v.Setup(true);
    EXPECT_EQ(v.s.ProjectToPoint(c.X + 5, c.Y + 5, 0), TPoint(o.X + 10, o.Y + 10));
}

TEST(CanvasProjection, UnprojectUndoesTheProjectionAtItsDepth)
{
    struct Case {
        bool orthogonal;
        int elevation, rotation, tilt, perspective, zoom;
    };
    const Case cases[] = {
        {true, 345, 345, 0, 0, 100},  {true, 345, 345, 0, 0, 150},  {false, 345, 345, 0, 0, 100},
        {false, 315, 20, 0, 0, 100},  {false, 340, 330, 12, 0, 120}, {false, 350, 300, 0, 30, 100},
        {false, 300, 45, 25, 60, 80},
    };
    for (const Case& k : cases) {
        View v(400, 300);
        v.options.SetOrthogonal(k.orthogonal);
        v.options.SetElevation(k.elevation);
        v.options.SetRotation(k.rotation);
        v.options.SetTilt(k.tilt);
        v.options.SetPerspective(k.perspective);
        v.options.SetZoom(k.zoom);
        v.options.SetHorizOffset(11);
        v.options.SetVertOffset(-9);
        v.Setup(true, 80);
        for (int z : {0, 25, 80})
            for (int x : {10, 150, 390})
                for (int y : {5, 140, 290}) {
                    const TPoint p = v.s.ProjectToPoint(x, y, z);
                    int ux = p.X, uy = p.Y;
                    v.s.UnprojectPoint(ux, uy, z);
                    // One screen pixel spans at most about 1 / zoom chart pixels.
                    const int tolerance = 1 + int(100 / k.zoom);
                    EXPECT_NEAR(ux, x, tolerance) << "case e" << k.elevation << " r" << k.rotation << " z" << z;
                    EXPECT_NEAR(uy, y, tolerance) << "case e" << k.elevation << " r" << k.rotation << " z" << z;
                }
    }
}

TEST(CanvasProjection, RotatedViewKeepsTheCentreAndTurnsDepth)
{
    View v(200, 200);
    v.options.SetOrthogonal(false);
    v.options.SetElevation(0);
    v.options.SetRotation(90);
    v.options.SetPerspective(0);
    v.Setup(true, 40);
    const TPoint c = v.s.Center();
    EXPECT_EQ(v.s.ZCenter(), 20);
    EXPECT_EQ(v.s.ProjectToPoint(c.X, c.Y, 20), v.s.OffsetCenter());
    // Turned a quarter about the vertical axis: depth becomes horizontal, x collapses.
    const TPoint deep = v.s.ProjectToPoint(c.X, c.Y, 40);
    EXPECT_EQ(std::abs(deep.X - c.X), 20);
    EXPECT_EQ(deep.Y, c.Y);
    EXPECT_EQ(v.s.ProjectToPoint(c.X + 30, c.Y, 20).X, c.X);
}

TEST(CanvasProjection, PerspectiveNeverFlipsPointsBehindTheEye)
{
    View v(100, 100);
    v.options.SetOrthogonal(false);
    v.options.SetPerspective(100);
    v.options.SetElevation(0);
    v.options.SetRotation(0);
    v.Setup(true, 10);
    const TPoint c = v.s.Center();
    // Far in front and far behind: both finite, both keep the side of the centre.
    const TPoint a = v.s.ProjectToPoint(c.X + 20, c.Y, -100000);
    const TPoint b = v.s.ProjectToPoint(c.X + 20, c.Y, 1000);
    EXPECT_GT(a.X, c.X);
    EXPECT_GT(b.X, c.X);
    EXPECT_LT(b.X - c.X, 20);   // deeper points shrink toward the centre
}

TEST(CanvasProjection, PieSlicePointCounts)
{
    EXPECT_EQ(SolidPieSlicePoints(0, 2 * kPi), 96);
    EXPECT_EQ(SolidPieSlicePoints(0, 4 * kPi), 96);
    EXPECT_EQ(SolidPieSlicePoints(0, kPi / 180), 2);
    EXPECT_EQ(SolidPieSlicePoints(kPi / 2, 0), 47);
}

TEST(CanvasProjection, CircleAtDepthRoundsItsRadiusHalfToEven)
{
    View v(20, 20);
    v.Setup(false);
    v.c.Pen()->SetColor(clBlack);
    v.c.Brush()->SetColor(clBlack);
    v.s.CircleAtDepth(10, 10, 2.5, 0);   // half side 2: x 8..12 inclusive
    int minX = 99, maxX = -1;
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 20; ++x)
            if (Px(v.bmp, x, y) == clBlack) {
                minX = std::min(minX, x);
                maxX = std::max(maxX, x);
            }
    EXPECT_EQ(minX, 8);
    EXPECT_EQ(maxX, 12);
}

TEST(CanvasProjection, BoxOutlineClipInTwoAndThreeDimensions)
{
    View v(40, 40);
    v.Setup(false);
    v.s.ClipToBoxOutline(TRect(0, 0, 10, 10), 0, 5);
    TRegion r;
    ASSERT_TRUE(v.c.GetClipRgn(r));
    EXPECT_EQ(r.Bounds(), TRect(1, 1, 10, 9));
    v.s.RemoveClipping();
    // In 3D the clip is the hull of the projected box.
    v.options.SetHorizOffset(0);
    v.Setup(true, 10);
    v.s.ClipToBoxOutline(TRect(5, 15, 25, 35), 0, 10);
    ASSERT_TRUE(v.c.GetClipRgn(r));
    EXPECT_TRUE(r.Contains(15, 25));
    EXPECT_TRUE(r.Contains(30, 12));    // the back top-right corner region
    EXPECT_FALSE(r.Contains(5, 10));    // above the front face, left of the depth edge
    EXPECT_FALSE(r.Contains(33, 34));   // right of the front face, below the depth edge
}

TEST(CanvasProjection, ConvexHullDropsInnerAndConcavePoints)
{
    const std::vector<TPoint> square = {{0, 0}, {10, 0}, {10, 10}, {0, 10}, {5, 5}, {3, 7}};
    const auto hull = ConvexHull(square);
    EXPECT_EQ(hull.size(), 4u);
    const std::set<std::pair<int, int>> corners(
        [&] {
            std::set<std::pair<int, int>> s;
            for (const TPoint& p : hull)
                s.insert({p.X, p.Y});
            return s;
        }());
    EXPECT_EQ(corners, (std::set<std::pair<int, int>>{{0, 0}, {10, 0}, {10, 10}, {0, 10}}));
    // The pivot: smallest y, ties to the largest x.
    EXPECT_EQ(hull.front(), TPoint(10, 0));
    EXPECT_EQ(ConvexHull({{0, 0}, {1, 1}, {2, 0}}).size(), 3u);
    EXPECT_TRUE(ConvexHull({{0, 0}, {1, 1}}).empty());
}

TEST(CanvasProjection, CubeShadesItsVisibleSidesOnly)
{
    View v(80, 80);
    v.Setup(true, 20);   // orthogonal 45: the front, right and top faces show
    v.c.Pen()->SetStyle(psClear);
    v.c.Brush()->SetColor(RGB(200, 200, 200));
    v.s.BoxBetweenDepths(20, 50, 30, 60, 0, 20, true);
    auto at = [&](int x, int y, int z) {
        const TPoint p = v.s.ProjectToPoint(x, y, z);
        return Px(v.bmp, p.X, p.Y);
    };
    EXPECT_EQ(at(35, 45, 0), RGB(200, 200, 200));   // front keeps the brush colour
    EXPECT_EQ(at(50, 45, 10), RGB(72, 72, 72));     // right side darkened by 128
    EXPECT_EQ(at(35, 30, 10), RGB(136, 136, 136));  // top darkened by 64
    EXPECT_EQ(v.c.Brush()->Color(), RGB(200, 200, 200));   // the brush is put back
    // In 2D the cube is a rectangle.
    View f(20, 20);
    f.Setup(false);
    f.c.Brush()->SetColor(clRed);
    f.s.BoxBetweenDepths(2, 10, 2, 10, 0, 50, true);
    EXPECT_EQ(Px(f.bmp, 5, 5), clRed);
    EXPECT_EQ(Px(f.bmp, 12, 5), clWhite);
}

TEST(CanvasProjection, SolidsDrawOnlyInsideTheirProjectedBounds)
{
    View v(300, 200);
    v.options.SetOrthogonal(false);
    v.options.SetElevation(340);
    v.options.SetRotation(330);
    v.Setup(true, 40);
    v.c.Brush()->SetColor(clRed);
    v.s.Cylinder(true, TRect(40, 50, 100, 150), 0, 40, true);
    v.s.Cone(true, TRect(120, 50, 180, 150), 0, 40, true, 0);
    v.s.Pyramid(true, 200, 50, 260, 150, 0, 40, true);
    // Dark sides give the cylinder several shades of red.
    std::set<TColor> shades;
    for (int y = 0; y < 200; ++y)
        for (int x = 0; x < 110; ++x) {
            const TColor c = Px(v.bmp, x, y);
            if (GetGValue(c) == 0 && GetBValue(c) == 0 && GetRValue(c) > 0)
                shades.insert(c);
        }
    EXPECT_GT(shades.size(), 4u);
    // The cone narrows to a point at its top: its top row is narrow.
    int top = -1, width = 0;
    for (int y = 0; y < 200 && top < 0; ++y)
        for (int x = 110; x < 190; ++x)
            if (Px(v.bmp, x, y) != clWhite) {
                top = y;
                break;
            }
    ASSERT_GE(top, 0);
    for (int x = 110; x < 190; ++x)
        width += Px(v.bmp, x, top + 2) != clWhite ? 1 : 0;
    EXPECT_LT(width, 8);
}

TEST(CanvasProjection, EllipseAtDepthFallsBackToTheFlatEllipseWithItsEdge)
{
    View v(20, 20);
    v.Setup(false);
    v.c.Brush()->SetColor(clRed);
    v.s.EllipseAtDepth(2, 2, 10, 10, 5);   // flat: (2, 2, 11, 11)
    int maxX = -1;
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 20; ++x)
            if (Px(v.bmp, x, y) != clWhite)
                maxX = std::max(maxX, x);
    EXPECT_EQ(maxX, 10);
}

TEST(CanvasProjection, GraphicAtDepthPaintsEveryPixelAsAQuadrilateral)
{
    View v(40, 40);
    v.Setup(false);
    TBitmap pic(2, 2);
    pic.Canvas()->SetPixel(0, 0, clRed);
    pic.Canvas()->SetPixel(1, 1, clBlue);
    DrawGraphicAtDepth(&v.s, TRect(10, 10, 30, 30), &pic, 0);
    EXPECT_EQ(Px(v.bmp, 12, 12), clRed);
    EXPECT_EQ(Px(v.bmp, 25, 25), clBlue);
    EXPECT_EQ(Px(v.bmp, 25, 12), clWhite);
    EXPECT_EQ(Px(v.bmp, 30, 30), clWhite);
    EXPECT_EQ(Px(pic, 0, 0), clRed);   // the graphic itself is untouched
}

TEST(CanvasProjection, GraphicAtDepthLeavesWhatLiesBeneathItsSeeThroughPixels)
{
    // A picture file whose left column is see-through (stored black) and whose right
    // column is opaque red, drawn over a yellow plane.
    const std::string file = testsupport::TempDir() + "/see-through.png";
    QImage png(2, 1, QImage::Format_ARGB32);
    png.setPixelColor(0, 0, QColor(0, 0, 0, 0));
    png.setPixelColor(1, 0, QColor(255, 0, 0, 255));
    ASSERT_TRUE(png.save(QString::fromStdString(file)));
    TPicture pic;
    pic.LoadFromFile(file);
    View v(40, 40);
    v.Setup(false);
    v.c.Brush()->SetColor(clYellow);
    v.c.FillRect(TRect(0, 0, 40, 40));
    DrawGraphicAtDepth(&v.s, TRect(10, 10, 30, 30), pic.Graphic(), 0);
    EXPECT_EQ(Px(v.bmp, 14, 20), clYellow);
    EXPECT_EQ(Px(v.bmp, 25, 20), clRed);
}

TEST(CanvasProjection, RoundSolidsSkipHiddenFacesEvenWithAClearBrush)
{
    // A clear brush outlines the same faces that a white one fills: the hidden sides at
    // the back are not drawn through the solid.
    auto ink = [](TBrushStyle style, int solid) {
        View v(200, 200);
        v.options.SetOrthogonal(false);
        v.options.SetElevation(340);
        v.options.SetRotation(330);
        v.Setup(true, 60);
        v.c.Brush()->SetColor(clWhite);
        v.c.Brush()->SetStyle(style);
        v.c.Pen()->SetColor(clBlack);
        if (solid == 0)
            v.s.Cylinder(true, TRect(60, 40, 140, 160), 0, 60, false);
        else if (solid == 1)
            v.s.Cone(true, TRect(60, 40, 140, 160), 0, 60, false, 0);
        else
            v.s.Pyramid(true, 60, 40, 140, 160, 0, 60, false);
        int n = 0;
        for (int y = 0; y < 200; ++y)
            for (int x = 0; x < 200; ++x)
                n += Px(v.bmp, x, y) == clBlack ? 1 : 0;
        return n;
    };
    for (int solid = 0; solid < 3; ++solid) {
        const int filled = ink(bsSolid, solid), outlined = ink(bsClear, solid);
        EXPECT_GT(filled, 100) << "solid " << solid;
        EXPECT_LE(outlined, filled + filled / 20) << "solid " << solid;
    }
    // The pyramid's base (darkened by 64) shows from below only.
    auto baseShown = [](int elevation) {
        View v(200, 200);
        v.options.SetOrthogonal(false);
        v.options.SetElevation(elevation);
        v.Setup(true, 60);
        v.c.Pen()->SetStyle(psClear);
        v.c.Brush()->SetColor(clRed);
        v.s.Pyramid(true, 60, 40, 140, 160, 0, 60, true);
        int n = 0;
        for (int y = 0; y < 200; ++y)
            for (int x = 0; x < 200; ++x)
                n += Px(v.bmp, x, y) == RGB(191, 0, 0) ? 1 : 0;
        return n;
    };
    EXPECT_EQ(baseShown(340), 0);
    EXPECT_GT(baseShown(20), 50);
}

TEST(CanvasProjection, ShadedSolidsGiveBackTheBrushAndBackground)
{
    for (int solid = 0; solid < 4; ++solid)
        for (TBrushStyle style : {bsSolid, bsCross}) {
            View v(120, 120);
            v.options.SetOrthogonal(false);
            v.Setup(true, 30);
            v.c.Brush()->SetColor(RGB(200, 180, 160));
            v.c.Brush()->SetStyle(style);
            v.c.SetBkColor(RGB(10, 200, 90));
            const TRect r(30, 30, 90, 90);
            switch (solid) {
            case 0: v.s.Cylinder(true, r, 0, 30, true); break;
            case 1: v.s.Cone(false, r, 0, 30, true, 30); break;
            case 2: v.s.Pyramid(true, r.Left, r.Top, r.Right, r.Bottom, 0, 30, true); break;
            default: v.s.BoxBetweenDepths(r.Left, r.Right, r.Top, r.Bottom, 0, 30, true); break;
            }
            EXPECT_EQ(v.c.Brush()->Color(), RGB(200, 180, 160)) << "solid " << solid;
            EXPECT_EQ(v.c.Brush()->Style(), style) << "solid " << solid;
            EXPECT_EQ(v.c.BkColor(), RGB(10, 200, 90)) << "solid " << solid << " style " << style;
        }
}
