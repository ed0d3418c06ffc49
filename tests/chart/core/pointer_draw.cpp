// Point symbols drawn into small bitmaps: the extent, centre and colours of every flat
// style, the exclusive right and bottom edges, solids in a rotated 3D view, see-through
// and gradient symbols, hidden pointers, and the callout's arrow.
#include "TeEngine.h"
#include "PixelProbe.h"
#include "TeCanvas/Effects.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

using testsupport::Px;

// The inclusive bounds and count of the pixels that are not white.
struct Extent {
    int Left = INT_MAX, Top = INT_MAX, Right = INT_MIN, Bottom = INT_MIN, Count = 0;
};

Extent Painted(TBitmap& b)
{
    Extent e;
    for (int y = 0; y < b.Height(); ++y)
        for (int x = 0; x < b.Width(); ++x)
            if (Px(b, x, y) != clWhite) {
                e = {std::min(e.Left, x), std::min(e.Top, y), std::max(e.Right, x), std::max(e.Bottom, y), e.Count + 1};
            }
    return e;
}

// A white bitmap with a surface over it, flat or in a rotated 3D view.
struct Sheet {
    TBitmap bmp;
    TView3DOptions options;
    TTeeCanvas3D s;
    explicit Sheet(int w = 40, int h = 40, bool rotated = false) : bmp(w, h)
    {
        s.SetBuffered(false);
        options.SetOrthogonal(!rotated);
        options.SetRotation(330);
        options.SetElevation(340);
        options.SetPerspective(0);
        const TRect r(0, 0, w, h);
        bmp.Canvas()->Brush()->SetColor(clWhite);
        bmp.Canvas()->FillRect(r);
        s.SetupProjection(bmp.Canvas(), &options, r, rotated);
        s.SetupView(20, r);
    }
};

const TSeriesPointerStyle kAllStyles[] = {psRectangle, psCircle,   psTriangle, psDownTriangle,
                                          psCross,     psDiagCross, psStar,    psDiamond,
                                          psSmallDot,  psNothing,  psLeftTriangle, psRightTriangle};

// Draws one flat symbol at (20, 20), red with the pointer's pen (black by default).
void DrawFlat(Sheet& sh, TSeriesPointer& p, TSeriesPointerStyle style, int h = 4, int v = 4)
{
    p.PrepareCanvas(&sh.s, clRed);
    p.DrawPointer(&sh.s, false, 20, 20, h, v, clRed, style);
}

// A white panel drawing whatever the test gives it.
class TSheetPanel : public TCustomTeePanelExtended {
public:
    TSheetPanel() : TCustomTeePanelExtended(nullptr)
    {
        SetBounds(0, 0, 40, 40);
        SetBevelOuter(bvNone);
        SetColor(clWhite);
    }
    std::function<void()> Contents;

protected:
    void DrawContents(const TRect& R) override
    {
        DrawBackground(R);
        Contents();
    }
};

// A surface that counts its see-through blocks.
class TCountingSurface : public TTeeCanvas3D {
public:
    int Begun = 0, Ended = 0;
    std::unique_ptr<TTeeBlend> BeginTransparency(const TRect& r, int percent) override
    {
        return ++Begun, TTeeCanvas3D::BeginTransparency(r, percent);
    }
    void EndTransparency(std::unique_ptr<TTeeBlend> blend) override
    {
        ++Ended;
        TTeeCanvas3D::EndTransparency(std::move(blend));
    }
};

} // namespace

TEST(PointerDraw, FlatStylesFillTheirBoxWithExclusiveEdges)
{
    // Half sizes 3 across and 5 down: the box is 17..23 by 15..25, and nothing lands on
    // the column x + h + 1 or the row y + v + 1. Rectangles, ellipses and the upright
    // cross reach every edge exactly; outlined polygons reach each edge within a pixel
    // (the canvas fills polygons by the platform's rule); the diagonals, whose second
    // line ends at left - 1, are checked at equal sizes.
    for (TSeriesPointerStyle style : kAllStyles) {
        SCOPED_TRACE(int(style));
        Sheet sh;
        TSeriesPointer p;
        const bool diagonal = style == psDiagCross || style == psStar;
        const int h = diagonal ? 4 : 3, v = diagonal ? 4 : 5;
        DrawFlat(sh, p, style, h, v);
        const Extent e = Painted(sh.bmp);
        if (style == psNothing) {
            EXPECT_EQ(e.Count, 0);
            continue;
        }
        if (style == psSmallDot) {
            EXPECT_EQ(e.Count, 1);
            EXPECT_EQ(Px(sh.bmp, 20, 20), clRed);
            continue;
        }
        const int slack = (style == psRectangle || style == psCircle || style == psCross || diagonal) ? 0 : 1;
        auto at = [](int got, int edge, int inward) { return got == edge || got == edge + inward; };
        EXPECT_TRUE(at(e.Left, 20 - h, slack) && at(e.Right, 20 + h, -slack) && at(e.Top, 20 - v, slack) &&
                    at(e.Bottom, 20 + v, -slack))
            << e.Left << " " << e.Top << " " << e.Right << " " << e.Bottom;
    }
}

TEST(PointerDraw, FlatStylesHaveTheirShape)
{
    // Probes around (20, 20) with half sizes 4: the pen is black, the fill red.
    struct Probe {
        int X, Y;
        TColor C;
    };
    const TColor B = clBlack, R = clRed, W = clWhite;
    const std::vector<std::pair<TSeriesPointerStyle, std::vector<Probe>>> cases = {
        {psRectangle, {{16, 16, B}, {24, 24, B}, {20, 20, R}, {25, 20, W}, {20, 25, W}}},
        {psCircle, {{20, 20, R}, {16, 16, W}, {24, 24, W}, {20, 16, B}}},
        {psTriangle, {{20, 16, B}, {16, 24, B}, {16, 16, W}, {20, 22, R}}},
        {psDownTriangle, {{20, 24, B}, {16, 16, B}, {16, 24, W}, {20, 18, R}}},
        {psLeftTriangle, {{16, 20, B}, {24, 16, B}, {16, 16, W}}},
        {psRightTriangle, {{24, 20, B}, {16, 16, B}, {24, 16, W}}},
        {psDiamond, {{20, 20, R}, {16, 16, W}, {20, 16, B}, {16, 20, B}}},
        {psCross, {{20, 16, B}, {24, 20, B}, {17, 17, W}}},
        {psDiagCross, {{16, 16, B}, {24, 16, B}, {20, 16, W}}},
    };
    for (const auto& [style, probes] : cases) {
        SCOPED_TRACE(int(style));
        Sheet sh;
        TSeriesPointer p;
        DrawFlat(sh, p, style);
        for (const Probe& q : probes)
            EXPECT_EQ(Px(sh.bmp, q.X, q.Y), q.C) << q.X << "," << q.Y;
    }
    // Line styles: two lines of 9 pixels each, the star both pairs.
    for (auto [style, count] : {std::pair{psCross, 17}, {psDiagCross, 17}, {psStar, 33}}) {
        Sheet sh;
        TSeriesPointer p;
        DrawFlat(sh, p, style);
        EXPECT_EQ(Painted(sh.bmp).Count, count) << int(style);
    }
}

TEST(PointerDraw, PenAndBrushComeFromThePointer)
{
    TSeriesPointer p;
    auto centreAndCorner = [&] {
        Sheet sh;
        DrawFlat(sh, p, psRectangle);
        return std::pair{Px(sh.bmp, 20, 20), Px(sh.bmp, 16, 16)};
    };
    p.Pen()->SetColor(clDefault);   // the default colour stands for the point's
    EXPECT_EQ(centreAndCorner(), std::pair(clRed, clRed));
    p.Pen()->SetColor(clBlue);
    p.Brush()->SetColor(clLime);
    EXPECT_EQ(centreAndCorner(), std::pair(clLime, clBlue));
    p.Pen()->Hide();
    EXPECT_EQ(centreAndCorner(), std::pair(clLime, clLime));
    Sheet sh;   // a default-coloured hatch is black
    p.Brush()->SetColor(clDefault);
    p.Brush()->SetStyle(bsCross);
    p.PrepareCanvas(&sh.s, clRed);
    EXPECT_EQ(sh.s.Brush()->Color(), clBlack);
    EXPECT_EQ(sh.s.Pen()->Style(), psClear);
}

TEST(PointerDraw, HiddenPointerDrawsNothingOnItsChart)
{
    TSheetPanel panel;
    panel.SetView3D(false);
    TSeriesPointer p;
    p.SetParentChart(&panel);
    panel.Contents = [&] {
        p.PrepareCanvas(panel.Canvas(), clRed);
        p.Draw(20, 20, clRed);
    };
    const TRect all(0, 0, 40, 40);
    auto shown = panel.DrawToBitmap(clWhite, all);
    EXPECT_EQ(Px(*shown, 20, 20), clRed);
    EXPECT_EQ(Px(*shown, 16, 16), clBlack);
    p.Hide();
    EXPECT_EQ(Painted(*panel.DrawToBitmap(clWhite, all)).Count, 0);
}

TEST(PointerDraw, SolidsInARotatedViewStayInTheirProjectedBox)
{
    for (TSeriesPointerStyle style : kAllStyles) {
        SCOPED_TRACE(int(style));
        Sheet sh(80, 80, true);
        TSeriesPointer p;
        p.SetDepthExtent(0, 5, 10);
        p.PrepareCanvas(&sh.s, clRed);
        p.DrawPointer(&sh.s, true, 40, 40, 6, 6, clRed, style);
        const TRect front = ProjectedRectBounds(&sh.s, TRect(34, 34, 47, 47), 0);
        const TRect back = ProjectedRectBounds(&sh.s, TRect(34, 34, 47, 47), 10);
        const Extent e = Painted(sh.bmp);
        if (style == psNothing) {
            EXPECT_EQ(e.Count, 0);
            continue;
        }
        ASSERT_GT(e.Count, 0);
        EXPECT_GE(e.Left, std::min(front.Left, back.Left) - 1);
        EXPECT_GE(e.Top, std::min(front.Top, back.Top) - 1);
        EXPECT_LE(e.Right, std::max(front.Right, back.Right));
        EXPECT_LE(e.Bottom, std::max(front.Bottom, back.Bottom));
    }
    // The solid box shades its sides only with Dark3D, and only as a solid.
    auto shaded = [](bool dark, bool solid) {
        Sheet sh(80, 80, true);
        TSeriesPointer p;
        p.SetDark3D(dark);
        p.SetDraw3D(solid);
        p.SetDepthExtent(0, 10, 20);
        p.Pen()->Hide();
        p.PrepareCanvas(&sh.s, clRed);
        p.DrawPointer(&sh.s, true, 40, 40, 8, 8, clRed, psRectangle);
        int n = 0;
        for (int y = 0; y < 80; ++y)
            for (int x = 0; x < 80; ++x)
                n += (Px(sh.bmp, x, y) != clWhite && Px(sh.bmp, x, y) != clRed) ? 1 : 0;
        return n;
    };
    EXPECT_GT(shaded(true, true), 20);
    EXPECT_EQ(shaded(false, true), 0);
    EXPECT_EQ(shaded(true, false), 0);
}

TEST(PointerDraw, TransparencyBlendsAndAlwaysEnds)
{
    TCountingSurface s;
    TBitmap bmp(40, 40);
    bmp.Canvas()->Brush()->SetColor(clWhite);
    bmp.Canvas()->FillRect(TRect(0, 0, 40, 40));
    s.SetBuffered(false);
    s.SetupProjection(bmp.Canvas(), nullptr, TRect(0, 0, 40, 40), false);
    TSeriesPointer p;
    p.SetTransparency(50);
    p.PrepareCanvas(&s, clRed);
    p.DrawPointer(&s, false, 20, 20, 4, 4, clRed, psNothing);
    EXPECT_EQ(Painted(bmp).Count, 0);
    p.DrawPointer(&s, false, 20, 20, 4, 4, clRed, psRectangle);
    EXPECT_EQ(s.Begun, 2);
    EXPECT_EQ(s.Ended, 2);
    const TColor c = Px(bmp, 20, 20);   // half red, half white
    EXPECT_EQ(GetRValue(c), 255);
    EXPECT_NEAR(GetGValue(c), 127, 2);
    EXPECT_NEAR(GetBValue(c), 127, 2);
    EXPECT_EQ(Px(bmp, 25, 20), clWhite);
}

TEST(PointerDraw, GradientFillsOnlyTheShape)
{
    TSeriesPointer p;
    p.Gradient()->SetVisible(true);
    p.Gradient()->SetStartColor(clLime);
    p.Gradient()->SetEndColor(clLime);
    for (TSeriesPointerStyle style : {psRectangle, psCircle, psTriangle, psDiamond, psLeftTriangle, psCross}) {
        SCOPED_TRACE(int(style));
        Sheet sh;
        DrawFlat(sh, p, style);
        EXPECT_EQ(Px(sh.bmp, 20, 20) == clLime, style != psCross);   // lines take no gradient
        EXPECT_EQ(Px(sh.bmp, 25, 20), clWhite);
        EXPECT_EQ(Px(sh.bmp, 20, 25), clWhite);
        EXPECT_EQ(Px(sh.bmp, 24, 16) == clLime, style == psRectangle);   // corner of the box
    }
}

TEST(PointerDraw, CalloutArrowAndSymbol)
{
    TCallout c;
    c.Arrow()->SetColor(clBlue);
    auto draw = [&] {
        auto sh = std::make_unique<Sheet>(60, 40);
        c.DrawOn(&sh->s, false, clRed, TPoint(10, 20), 0, TPoint(50, 20));
        return sh;
    };
    auto sh = draw();   // no head: the line and the black symbol at its start
    EXPECT_EQ(Px(sh->bmp, 30, 20), clBlue);
    EXPECT_EQ(Px(sh->bmp, 6, 16), clBlack);
    c.SetArrowHead(ahLine);   // barbs at the end, open between them, no symbol
    sh = draw();
    EXPECT_EQ(Px(sh->bmp, 6, 16), clWhite);
    EXPECT_EQ(Px(sh->bmp, 46, 18), clBlue);
    EXPECT_EQ(Px(sh->bmp, 46, 22), clBlue);
    EXPECT_EQ(Px(sh->bmp, 45, 19), clWhite);
    c.SetArrowHead(ahSolid);   // a filled head
    sh = draw();
    EXPECT_EQ(Px(sh->bmp, 45, 19), clBlue);
    c.SetArrowHead(ahNone);   // a hidden pen leaves the symbol alone
    c.Arrow()->Hide();
    sh = draw();
    EXPECT_EQ(Px(sh->bmp, 30, 20), clWhite);
    EXPECT_EQ(Px(sh->bmp, 10, 20), clBlack);
    // With the contrast switch an arrow of the point's colour turns black on white.
    c.Arrow()->Show();
    c.Arrow()->SetColor(clRed);
    TeeCalloutArrowContrast = true;
    sh = draw();
    TeeCalloutArrowContrast = false;
    EXPECT_EQ(Px(sh->bmp, 30, 20), clBlack);
}

TEST(PointerDraw, PictureOfEveryStyle)
{
    // Row 1 flat, row 2 flat with a gradient, row 3 solids in a rotated view.
    const int cell = 48;
    Sheet sh(cell * 12, cell * 3);
    TSeriesPointer p;
    p.SetDepthExtent(0, 8, 16);
    p.Gradient()->SetStartColor(clYellow);
    p.Gradient()->SetEndColor(clBlue);
    for (int i = 0; i < 12; ++i) {
        for (int row = 0; row < 2; ++row) {
            p.Gradient()->SetVisible(row == 1);
            p.PrepareCanvas(&sh.s, clRed);
            p.DrawPointer(&sh.s, false, i * cell + cell / 2, row * cell + cell / 2, 13, 13, clRed, kAllStyles[i]);
        }
        Sheet one(cell, cell, true);
        p.Gradient()->SetVisible(false);
        p.PrepareCanvas(&one.s, clRed);
        p.DrawPointer(&one.s, true, cell / 2, cell / 2, 13, 13, clRed, kAllStyles[i]);
        sh.bmp.Canvas()->Draw(i * cell, 2 * cell, &one.bmp);
    }
    EXPECT_EQ(Px(sh.bmp, cell / 2, 2 * cell + cell / 2), clRed);
    const std::string path = testsupport::ArtifactPath("pointer-styles.png");
    if (!path.empty())
        sh.bmp.SaveToFile(path);
}
