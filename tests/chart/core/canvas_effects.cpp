// Gradient fills, shadows, transparency blending and smooth stretching.
#include "TeCanvas.h"
#include "PixelProbe.h"

#include <gtest/gtest.h>

#include <set>

namespace {

using testsupport::Px;

struct Flat {
    TBitmap bmp;
    TTeeCanvas3D s;
    TCanvas& c;
    Flat(int w, int h) : bmp(w, h), c(*bmp.Canvas())
    {
        s.SetBuffered(false);
        s.SetupProjection(&c, nullptr, TRect(0, 0, w, h), false);
        AssignStylesToCanvas(&s);
    }
};

std::set<TColor> ColumnColours(TBitmap& b, int x)
{
    std::set<TColor> s;
    for (int y = 0; y < b.Height(); ++y)
        s.insert(Px(b, x, y));
    return s;
}

void Fill(TBitmap& b, TColor c)
{
    b.Canvas()->Brush()->SetColor(c);
    b.Canvas()->Brush()->SetStyle(bsSolid);
    b.Canvas()->FillRect(TRect(0, 0, b.Width(), b.Height()));
}

} // namespace

TEST(CanvasGradient, VerticalBandsAndEndColours)
{
    Flat f(4, 10);
    f.s.FillGradient(TRect(0, 0, 4, 10), clWhite, clYellow, gdTopBottom);
    EXPECT_EQ(ColumnColours(f.bmp, 0).size(), 10u);   // one band per pixel row
    EXPECT_EQ(Px(f.bmp, 0, 9), clWhite);    // the start colour at the bottom edge
    EXPECT_EQ(Px(f.bmp, 0, 0), clYellow);   // the last band exactly the end colour
    Flat tall(2, 1000);
    tall.s.FillGradient(TRect(0, 0, 2, 1000), clBlack, clWhite, gdTopBottom);
    EXPECT_EQ(ColumnColours(tall.bmp, 0).size(), 256u);
    // The other direction exchanges the colours.
    Flat up(4, 10);
    up.s.FillGradient(TRect(0, 0, 4, 10), clWhite, clYellow, gdBottomTop);
    EXPECT_EQ(Px(up.bmp, 0, 9), clYellow);
    EXPECT_EQ(Px(up.bmp, 0, 0), clWhite);
    // Horizontal: step 0 at the right edge.
    Flat h(10, 2);
    h.s.FillGradient(TRect(0, 0, 10, 2), clRed, clBlue, gdLeftRight);
    EXPECT_EQ(Px(h.bmp, 9, 0), clRed);
    EXPECT_EQ(Px(h.bmp, 0, 0), clBlue);
    // The brush the surface had is put back.
    EXPECT_EQ(h.c.Brush()->Color(), clWhite);
}

TEST(CanvasGradient, BalanceBendsTheRamp)
{
    Flat even(1, 11), bent(1, 11);
    even.s.FillGradient(TRect(0, 0, 1, 11), clBlack, clWhite, gdTopBottom, 50);
    bent.s.FillGradient(TRect(0, 0, 1, 11), clBlack, clWhite, gdTopBottom, 100);
    const int mid = 5;
    EXPECT_EQ(GetRValue(Px(even.bmp, 0, mid)), 127);   // 255 * 5 / 10
    EXPECT_LT(GetRValue(Px(bent.bmp, 0, mid)), 127);   // exponent 2: darker middle
    EXPECT_EQ(Px(bent.bmp, 0, 0), clWhite);
}

TEST(CanvasGradient, OtherDirectionsPutTheirColoursWhereTheySay)
{
    Flat c(21, 21);
    c.s.FillGradient(TRect(0, 0, 21, 21), clRed, clBlue, gdFromCenter);
    EXPECT_EQ(Px(c.bmp, 0, 0), clBlue);
    EXPECT_EQ(Px(c.bmp, 10, 10), clRed);
    Flat d(20, 20);
    d.s.FillGradient(TRect(0, 0, 20, 20), clRed, clBlue, gdDiagonalDown);
    EXPECT_EQ(Px(d.bmp, 0, 0), clRed);
    EXPECT_EQ(Px(d.bmp, 19, 0), Px(d.bmp, 0, 19));   // lines run across the diagonal
    EXPECT_NE(Px(d.bmp, 19, 19), clRed);
    Flat u(20, 20);
    u.s.FillGradient(TRect(0, 0, 20, 20), clRed, clBlue, gdDiagonalUp);
    EXPECT_EQ(Px(u.bmp, 0, 19), clRed);
    Flat t(20, 20);
    t.s.FillGradient(TRect(0, 0, 20, 20), clRed, clBlue, gdFromTopLeft);
    EXPECT_EQ(Px(t.bmp, 0, 0), clBlue);
    EXPECT_NE(Px(t.bmp, 19, 19), clBlue);
    Flat b(20, 20);
    b.s.FillGradient(TRect(0, 0, 20, 20), clRed, clBlue, gdFromBottomLeft);
    EXPECT_EQ(Px(b.bmp, 0, 19), clBlue);
    // Every direction stays inside its rectangle.
    for (int dir = 0; dir < 10; ++dir) {
        Flat g(30, 30);
        g.s.FillGradient(TRect(5, 5, 25, 25), clRed, clBlue, TGradientDirection(dir));
        for (int i = 0; i < 30; ++i) {
            EXPECT_EQ(Px(g.bmp, i, 4), clWhite) << "direction " << dir;
            EXPECT_EQ(Px(g.bmp, i, 25), clWhite) << "direction " << dir;
            EXPECT_EQ(Px(g.bmp, 4, i), clWhite) << "direction " << dir;
            EXPECT_EQ(Px(g.bmp, 25, i), clWhite) << "direction " << dir;
        }
    }
}

// Tiny rectangles paint one colour, except that a vertical gradient less than two
// pixels high and a horizontal one less than two wide have fewer than two bands and
// paint nothing.
TEST(CanvasGradient, TinyRectanglesPaintOneColourOrNothingWithoutTwoBands)
{
    for (int dir = 0; dir < 10; ++dir)
        for (const TRect& r : {TRect(0, 0, 1, 1), TRect(0, 0, 2, 1), TRect(0, 0, 1, 3), TRect(0, 0, 2, 2),
                               TRect(0, 0, 0, 0)}) {
            Flat f(4, 4);
            TTeeGradient g;
            g.SetDirection(TGradientDirection(dir));
            g.SetStartColor(clRed);
            g.SetEndColor(clRed);
            g.Draw(&f.s, r);
            const bool vertical = dir == gdTopBottom || dir == gdBottomTop;
            const bool horizontal = dir == gdLeftRight || dir == gdRightLeft;
            const bool bands = !(vertical && r.Bottom - r.Top < 2) && !(horizontal && r.Right - r.Left < 2);
            const TColor expected = !IsRectEmpty(r) && bands ? clRed : clWhite;
            EXPECT_EQ(Px(f.bmp, 0, 0), expected) << "direction " << dir << ", " << r.Right << " x " << r.Bottom;
            EXPECT_EQ(Px(f.bmp, 3, 3), clWhite);
        }
}

TEST(CanvasGradient, RadialRunsFromStartAtTheCentreToEndAtTheRim)
{
    Flat f(41, 41);
    TTeeGradient g;
    g.SetDirection(gdRadial);
    g.SetStartColor(clRed);
    g.SetEndColor(clBlue);
    g.Draw(&f.s, TRect(0, 0, 40, 40));
    EXPECT_EQ(Px(f.bmp, 0, 0), clBlue);
    const TColor centre = Px(f.bmp, 21, 21);
    EXPECT_GT(GetRValue(centre), 200);
    EXPECT_LT(GetBValue(centre), 55);
    EXPECT_EQ(f.c.Pen()->Style(), psSolid);   // pen and brush put back
    EXPECT_EQ(f.c.Brush()->Color(), clWhite);
}

TEST(CanvasGradient, MiddleColourSplitsTheRectangle)
{
    Flat f(4, 20);
    TTeeGradient g;
    g.SetStartColor(clRed);
    g.SetMidColor(clWhite);
    g.SetEndColor(clBlue);
    g.Draw(&f.s, TRect(0, 0, 4, 20));
    EXPECT_EQ(Px(f.bmp, 0, 19), clRed);
    EXPECT_EQ(Px(f.bmp, 0, 0), clBlue);
    EXPECT_EQ(Px(f.bmp, 0, 9), clWhite);    // last band of the upper half
    EXPECT_EQ(Px(f.bmp, 0, 10), clWhite);   // last band of the lower half
    // Monochrome surfaces paint gray.
    Flat m(4, 4);
    m.s.SetMonochrome(true);
    TTeeGradient r;
    r.SetStartColor(clRed);
    r.SetEndColor(clRed);
    r.Draw(&m.s, TRect(0, 0, 4, 4));
    EXPECT_EQ(Px(m.bmp, 1, 1), RGB(85, 85, 85));
}

TEST(CanvasGradient, PolygonAndProjectedRectangleStayInTheirOutline)
{
    Flat f(20, 20);
    TTeeGradient g;
    g.SetStartColor(clRed);
    g.SetEndColor(clRed);
    const TPoint tri[3] = {{0, 0}, {19, 0}, {0, 19}};
    g.DrawPolygon(&f.s, tri, 3);
    EXPECT_EQ(Px(f.bmp, 2, 2), clRed);
    EXPECT_EQ(Px(f.bmp, 17, 17), clWhite);
    EXPECT_EQ(f.c.ClipDepth(), 0);
    Flat p(20, 20);
    g.DrawRect3D(&p.s, TRect(2, 2, 10, 10), 30);   // flat view: the rectangle itself
    EXPECT_EQ(Px(p.bmp, 5, 5), clRed);
    EXPECT_EQ(Px(p.bmp, 12, 12), clWhite);
}

TEST(CanvasShadow, HardAndSmoothShadowsLieOutsideTheObject)
{
    Flat f(40, 40);
    TTeeShadow hard;
    hard.SetSmooth(false);
    hard.SetColor(clGray);
    hard.SetSize(3);
    hard.DrawShadow(&f.s, TRect(5, 5, 20, 20));
    EXPECT_EQ(Px(f.bmp, 10, 21), clGray);   // bottom strip
    EXPECT_EQ(Px(f.bmp, 21, 10), clGray);   // right strip
    EXPECT_EQ(Px(f.bmp, 10, 10), clWhite);  // not under the object
    EXPECT_EQ(Px(f.bmp, 6, 21), clWhite);   // the strip starts shifted right
    EXPECT_EQ(Px(f.bmp, 10, 23), clWhite);

    Flat s(40, 40);
    TTeeShadow smooth;
    smooth.SetColor(clBlack);
    smooth.SetSize(4);
    smooth.DrawShadow(&s.s, TRect(5, 5, 20, 20));
    EXPECT_EQ(Px(s.bmp, 12, 20), clBlack);   // darkest at the edge of the object
    const int outer = GetRValue(Px(s.bmp, 12, 23));
    EXPECT_GT(outer, 150);                    // fading toward white
    EXPECT_LT(outer, 255);

    // Negative sizes put the strips above and to the left.
    Flat n(40, 40);
    hard.SetHorizSize(-3);
    hard.SetVertSize(-3);
    hard.DrawShadow(&n.s, TRect(10, 10, 30, 30));
    EXPECT_EQ(Px(n.bmp, 15, 8), clGray);
    EXPECT_EQ(Px(n.bmp, 8, 15), clGray);
    EXPECT_EQ(Px(n.bmp, 15, 31), clWhite);
}

// On a screen scaled by 125 % or 150 % a smooth shadow's steps meet one another and the
// framed object drawn over it: no pixel of the background between the object's frame and
// the shadow's outer edge, on either side.
TEST(CanvasShadow, SmoothShadowHasNoGapsAtAFractionalRatio)
{
    for (double ratio : {1.25, 1.5}) {
        SCOPED_TRACE(ratio);
        Flat f(60, 60);
        f.bmp.SetPixelRatio(ratio);
        TTeeShadow smooth;
        smooth.SetColor(clBlack);
        smooth.SetSize(4);
        for (int k = 0; k < 4; ++k) {
            // Boxes whose edges fall at every place within the pattern of one- and
            // two-pixel device units.
            const TRect box(2 + 14 * k, 2 + 14 * k, 9 + 14 * k + k % 2, 8 + 14 * k + k / 2);
            smooth.DrawShadow(&f.s, box);
            f.c.Pen()->SetStyle(psSolid);
            f.c.Pen()->SetColor(clRed);
            f.c.Brush()->SetColor(clYellow);
            f.c.Rectangle(box);
            const auto px = [&](int v) { return int(std::lround(v * ratio)); };
            // Across the right-hand shadow (the middle row) and the lower one (the middle
            // column), from the frame's last pixel to the shadow's outer edge.
            const int row = px((box.Top + box.Bottom) / 2 + 2), column = px((box.Left + box.Right) / 2 + 2);
            for (int x = px(box.Right) - 1; x < px(box.Right + 4); ++x)
                EXPECT_NE(Px(f.bmp, x, row), clWhite) << k << " column " << x;
            for (int y = px(box.Bottom) - 1; y < px(box.Bottom + 4); ++y)
                EXPECT_NE(Px(f.bmp, column, y), clWhite) << k << " row " << y;
        }
    }
}

TEST(CanvasShadow, ZeroSidesDrawNothingAndDivideByNothing)
{
    Flat f(30, 30);
    TTeeShadow none;
    none.SetTransparency(50);
    none.SetSize(0);
    none.DrawShadow(&f.s, TRect(5, 5, 20, 20));
    none.DrawEllipse(&f.s, TRect(5, 5, 20, 20));
    EXPECT_EQ(f.s.Transparency(), 0);   // no transparency bracket was opened
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 30; ++x)
            ASSERT_EQ(Px(f.bmp, x, y), clWhite);
    // A smooth shadow with one side of 0 draws the other side only.
    TTeeShadow one;
    one.SetColor(clBlack);
    one.SetVertSize(5);
    one.DrawShadow(&f.s, TRect(5, 5, 20, 20));
    EXPECT_EQ(Px(f.bmp, 10, 20), clBlack);
    EXPECT_EQ(Px(f.bmp, 21, 10), clWhite);
}

TEST(CanvasShadow, EllipseShadowIsRound)
{
    Flat f(50, 50);
    TTeeShadow s;
    s.SetColor(clGray);
    s.SetSize(5);
    s.DrawEllipse(&f.s, TRect(0, 0, 40, 40));
    EXPECT_EQ(Px(f.bmp, 6, 6), clWhite);     // outside the shifted circle
    EXPECT_NE(Px(f.bmp, 25, 25), clWhite);
    EXPECT_EQ(f.c.ClipDepth(), 0);
    Flat h(50, 50);
    s.SetSmooth(false);
    s.DrawEllipse(&h.s, TRect(0, 0, 40, 40));
    EXPECT_EQ(Px(h.bmp, 25, 25), clGray);
    EXPECT_EQ(Px(h.bmp, 6, 6), clWhite);
}

TEST(CanvasBlend, TransparencyMixesWithWhatLayBeneath)
{
    for (int percent : {0, 50, 100}) {
        Flat f(10, 10);
        f.c.Brush()->SetColor(RGB(200, 0, 100));
        f.s.FillRect(TRect(0, 0, 10, 10));
        auto blend = f.s.BeginTransparency(TRect(2, 2, 8, 8), percent);
        f.c.Brush()->SetColor(RGB(0, 100, 201));
        f.s.FillRect(TRect(0, 0, 10, 10));
        f.s.EndTransparency(std::move(blend));
        const TColor inside = Px(f.bmp, 4, 4);
        if (percent == 0)
            EXPECT_EQ(inside, RGB(0, 100, 201));   // exactly as drawn
        else if (percent == 100)
            EXPECT_EQ(inside, RGB(200, 0, 100));   // the background restored
        else
            EXPECT_EQ(inside, RGB(100, 50, 151));  // drawn + (background - drawn) / 2
        EXPECT_EQ(Px(f.bmp, 0, 0), RGB(0, 100, 201));   // outside the rectangle: as drawn
    }
    // White drawn pixels blend exactly too.
    Flat w(4, 4);
    w.c.Brush()->SetColor(clBlack);
    w.s.FillRect(TRect(0, 0, 4, 4));
    auto blend = w.s.BeginTransparency(TRect(0, 0, 4, 4), 50);
    w.c.Brush()->SetColor(clWhite);
    w.s.FillRect(TRect(0, 0, 4, 4));
    w.s.EndTransparency(std::move(blend));
    EXPECT_EQ(Px(w.bmp, 1, 1), RGB(128, 128, 128));
}

TEST(CanvasBlend, NestedBracketsEachEndWithTheirOwnPercent)
{
    // A box at 100 % around a shadow at 50 %: the box's bracket still restores all
    // that lay beneath, whatever the inner bracket blended meanwhile.
    Flat f(10, 10);
    f.c.Brush()->SetColor(RGB(200, 0, 100));
    f.s.FillRect(TRect(0, 0, 10, 10));
    auto outer = f.s.BeginTransparency(TRect(0, 0, 10, 10), 100);
    auto inner = f.s.BeginTransparency(TRect(5, 5, 10, 10), 50);
    f.c.Brush()->SetColor(clBlack);
    f.s.FillRect(TRect(5, 5, 10, 10));
    f.s.EndTransparency(std::move(inner));
    f.c.Brush()->SetColor(clWhite);
    f.s.FillRect(TRect(0, 0, 5, 5));
    f.s.EndTransparency(std::move(outer));
    EXPECT_EQ(Px(f.bmp, 2, 2), RGB(200, 0, 100));
    EXPECT_EQ(Px(f.bmp, 7, 7), RGB(200, 0, 100));
}

TEST(CanvasBlend, RectangleIsClippedToTheSurfaceAndSkippedWhenPrinting)
{
    Flat f(10, 10);
    TTeeBlend outside(&f.s, TRect(-5, -5, 3, 20));
    EXPECT_TRUE(outside.Valid());
    EXPECT_EQ(outside.BlendRect(), TRect(0, 0, 3, 10));
    TTeeBlend beyond(&f.s, TRect(20, 20, 30, 30));
    EXPECT_FALSE(beyond.Valid());
    beyond.DoBlend(50);   // nothing to do
    f.s.SetMetafileOrPrinting(true);
    auto blend = f.s.BeginTransparency(TRect(0, 0, 10, 10), 100);
    f.c.Brush()->SetColor(clRed);
    f.s.FillRect(TRect(0, 0, 10, 10));
    f.s.EndTransparency(std::move(blend));
    EXPECT_EQ(Px(f.bmp, 5, 5), clRed);
}

TEST(CanvasStretch, SizesAreCheckedSourceFirst)
{
    TBitmap small(1, 50), ok(4, 4), thin(1, 50);
    try {
        SmoothStretch(&ok, &thin, TriangleFilter, 1.0);
        FAIL() << "no exception";
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), "SmoothStretch: Destination bitmap too small");
    }
    try {
        SmoothStretch(&small, &thin, TriangleFilter, 1.0);
        FAIL() << "no exception";
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), "SmoothStretch: Source bitmap too small");
    }
    SmoothStretch(nullptr, &ok, TriangleFilter, 1.0);   // nothing happens
}

TEST(CanvasStretch, UniformStaysUniformAndEdgesKeepTheirColour)
{
    for (bool fast : {true, false}) {
        // Enlarging a 2 x 2 image reads far outside it with the wide filter.
        TBitmap src(2, 2), dst(9, 7);
        Fill(src, RGB(90, 160, 30));
        SmoothStretchBitmap(&src, &dst, fast);
        EXPECT_EQ(dst.PixelFormat(), pf24bit);
        for (int y = 0; y < dst.Height(); ++y)
            for (int x = 0; x < dst.Width(); ++x) {
                const TColor c = Px(dst, x, y);
                ASSERT_NEAR(GetRValue(c), 90, 2);
                ASSERT_NEAR(GetGValue(c), 160, 2);
                ASSERT_NEAR(GetBValue(c), 30, 2);
            }
        // Reductions by factors that are not whole (a picture for a screen of 125 % or
        // 150 %) keep a flat colour exactly: no faint grid of darker pixels.
        for (int size : {30, 25, 20}) {
            TBitmap large(40, 40), reduced(size, size);
            Fill(large, RGB(90, 160, 255));
            SmoothStretchBitmap(&large, &reduced, fast);
            int off = 0;
            for (int y = 0; y < size; ++y)
                for (int x = 0; x < size; ++x)
                    off += Px(reduced, x, y) != RGB(90, 160, 255) ? 1 : 0;
            EXPECT_EQ(off, 0) << size << (fast ? " fast" : " fine");
        }
        // Reducing a left-black, right-white image keeps black left, white right.
        TBitmap half(20, 10), small(5, 3);
        Fill(half, clWhite);
        half.Canvas()->Brush()->SetColor(clBlack);
        half.Canvas()->FillRect(TRect(0, 0, 10, 10));
        SmoothStretchBitmap(&half, &small, fast);
        EXPECT_LT(GetRValue(Px(small, 0, 1)), 20);
        EXPECT_GT(GetRValue(Px(small, 4, 1)), 235);
        const int middle = GetRValue(Px(small, 2, 1));
        EXPECT_GT(middle, 60);
        EXPECT_LT(middle, 200);
        EXPECT_EQ(Px(half, 0, 0), clBlack);   // the source is untouched
    }
}
