// The 2D drawing surface: pen and brush selection, text effects, bevels, clipping,
// buffering and the nesting bracket, checked on small bitmaps.
#include "TeCanvas.h"
#include "PixelProbe.h"

#include <gtest/gtest.h>

#include <chrono>

namespace {

using testsupport::Px;

int Count(TBitmap& b, TColor c, TRect r)
{
    int n = 0;
    for (int y = std::max(0, r.Top); y < std::min(b.Height(), r.Bottom); ++y)
        for (int x = std::max(0, r.Left); x < std::min(b.Width(), r.Right); ++x)
            n += Px(b, x, y) == c ? 1 : 0;
    return n;
}
int Count(TBitmap& b, TColor c) { return Count(b, c, TRect(0, 0, b.Width(), b.Height())); }

bool SamePixels(TBitmap& a, TBitmap& b)
{
    for (int y = 0; y < a.Height(); ++y)
        for (int x = 0; x < a.Width(); ++x)
            if (Px(a, x, y) != Px(b, x, y))
                return false;
    return true;
}

// A flat, unbuffered surface drawing straight onto a bitmap.
struct Flat {
    TBitmap bmp;
    TTeeCanvas3D s;
    TCanvas& c;
    explicit Flat(int w = 20, int h = 20) : bmp(w, h), c(*bmp.Canvas())
    {
        s.SetBuffered(false);
        s.SetupProjection(&c, nullptr, TRect(0, 0, w, h), false);
        AssignStylesToCanvas(&s);
    }
};

std::shared_ptr<const TTextMeasurer> Fixed() { return std::make_shared<TFixedTextMeasurer>(6, 10, 3); }

} // namespace

TEST(CanvasSurface, HiddenPenOnlyClearsTheStyle)
{
    Flat f;
    f.c.Pen()->SetColor(clRed);
    TChartPen pen;
    pen.SetColor(clBlue);
    pen.Hide();
    f.s.AssignPen(&pen, clBlue);
    EXPECT_EQ(f.c.Pen()->Style(), psClear);
    EXPECT_EQ(f.c.Pen()->Color(), clRed);
}

TEST(CanvasSurface, WidePensBecomeGeometricWithTheirEndStyle)
{
    Flat f;
    TChartPen pen;
    pen.SetWidth(3);
    pen.SetEndStyle(esFlat);
    f.s.AssignPen(&pen, clNavy);
    ASSERT_TRUE(f.c.Pen()->IsExtended());
    EXPECT_EQ(f.c.Pen()->ExtInfo().EndCap, pecFlat);
    EXPECT_EQ(f.c.Pen()->ExtInfo().Join, pjMiter);
    EXPECT_EQ(f.c.Pen()->Color(), clNavy);
    f.s.Line(4, 10, 14, 10);
    EXPECT_EQ(Px(f.bmp, 3, 10), clWhite);   // a flat end does not reach past the point
    EXPECT_EQ(Px(f.bmp, 4, 9), clNavy);
    TPen plain;
    f.s.AssignPen(&plain, clRed);   // a plain pen drops the geometric form
    EXPECT_FALSE(f.c.Pen()->IsExtended());
}

TEST(CanvasSurface, SmallDotsDrawEveryOtherPixelOrTheirOwnGap)
{
    Flat f(24, 4);
    TChartPen pen;
    pen.SetSmallDots(true);
    f.s.AssignPen(&pen, clBlack);
    f.s.Line(0, 1, 20, 1);
    EXPECT_EQ(Count(f.bmp, clBlack), 10);
    EXPECT_EQ(Px(f.bmp, 0, 1), clBlack);
    EXPECT_EQ(Px(f.bmp, 1, 1), clWhite);
    pen.SetSmallSpace(2);   // one dot, three pixels of gap
    f.s.AssignPen(&pen, clBlack);
    f.s.Line(0, 2, 20, 2);
    EXPECT_EQ(Count(f.bmp, clBlack, TRect(0, 2, 24, 3)), 5);
}

TEST(CanvasSurface, MonochromePensAreBlackAndBrushesWhite)
{
    Flat f;
    f.s.SetMonochrome(true);
    TChartPen pen;
    f.s.AssignPen(&pen, clRed);
    EXPECT_EQ(f.c.Pen()->Color(), clBlack);
    TChartBrush brush;
    AssignBrushToCanvas(&f.s, &brush, clRed, clNone);
    EXPECT_EQ(f.c.Brush()->Color(), clWhite);
    EXPECT_EQ(f.c.BkMode(), TRANSPARENT);
    f.s.Rectangle(2, 2, 10, 10);
    EXPECT_EQ(Px(f.bmp, 2, 2), clBlack);
    EXPECT_EQ(Px(f.bmp, 5, 5), clWhite);
    // A monochrome change marks the buffer stale and asks for a repaint.
    int repaints = 0;
    TView3DOptions view(nullptr, [&] { ++repaints; });
    TTeeCanvas3D s;
    s.SetupProjection(&f.c, &view, TRect(0, 0, 20, 20), false);
    s.SetMonochrome(true);
    s.SetMonochrome(true);
    EXPECT_EQ(repaints, 1);
    EXPECT_FALSE(s.BufferValid());
}

TEST(CanvasSurface, BrushSelectionSetsBackgroundAndLeavesPicturesAlone)
{
    Flat f;
    TChartBrush brush;
    brush.SetStyle(bsCross);
    AssignBrushToCanvas(&f.s, &brush, clRed, clYellow);
    EXPECT_EQ(f.c.Brush()->Style(), bsCross);
    EXPECT_EQ(f.c.BkMode(), OPAQUE);
    EXPECT_EQ(f.c.BkColor(), clYellow);
    AssignBrushColorToCanvas(&f.s, &brush, clBlue);   // the brush's own colour as background
    EXPECT_EQ(f.c.BkColor(), brush.Color());
    ShadeBrushColor(&f.s, RGB(100, 100, 100), 64);   // hatched: the background takes the shade
    EXPECT_EQ(f.c.BkColor(), RGB(36, 36, 36));

    // A picture brush paints its pattern; the stored picture keeps its pixels.
    TBitmap pattern(2, 2, pf1bit);
    pattern.Canvas()->SetPixel(0, 0, clBlack);
    brush.Image()->SetGraphic(&pattern);
    AssignBrushToCanvas(&f.s, &brush, clRed, clLime);
    f.s.FillRect(TRect(0, 0, 4, 4));
    EXPECT_EQ(Px(f.bmp, 0, 0), clRed);
    EXPECT_EQ(Px(f.bmp, 1, 0), clLime);
    TBitmap* stored = dynamic_cast<TBitmap*>(brush.Image()->Graphic());
    ASSERT_NE(stored, nullptr);
    EXPECT_EQ(stored->PixelFormat(), pf1bit);
    EXPECT_EQ(Px(*stored, 0, 0), clBlack);
    EXPECT_EQ(Px(*stored, 1, 0), clWhite);
}

TEST(CanvasSurface, TextWidthAndHeightCountTheShadow)
{
    Flat f;
    f.s.SetTextMeasurer(Fixed());
    TTeeFont plain;
    f.s.ApplyFont(&plain);
    EXPECT_EQ(f.s.TextWidth("ab"), 12);
    EXPECT_EQ(f.s.TextHeight("ab"), 13);
    TTeeFont shadowed;
    shadowed.Shadow()->SetHorizSize(-3);
    shadowed.Shadow()->SetVertSize(2);
    f.s.ApplyFont(&shadowed);
    EXPECT_EQ(f.s.CurrentFont(), &shadowed);
    EXPECT_EQ(shadowed.Surface(), &f.s);
    EXPECT_EQ(plain.Surface(), nullptr);
    EXPECT_EQ(f.s.TextWidth("ab"), 15);
    EXPECT_EQ(f.s.TextHeight("ab"), 15);
}

TEST(CanvasSurface, FreedFontAndSurfaceForgetEachOther)
{
    Flat f;
    {
        TTeeFont temporary;
        f.s.ApplyFont(&temporary);
        EXPECT_EQ(f.s.CurrentFont(), &temporary);
    }
    EXPECT_EQ(f.s.CurrentFont(), nullptr);
    TTeeFont font;
    {
        Flat g;
        g.s.ApplyFont(&font);
    }
    EXPECT_EQ(font.Surface(), nullptr);
}

TEST(CanvasSurface, ApplyFontZoomsWithoutReachingZero)
{
    Flat f;
    TTeeFont font;
    font.SetSize(8);
    font.SetInterCharSize(2);
    f.s.SetFontZoom(200);
    f.s.ApplyFont(&font);
    EXPECT_EQ(f.c.Font()->Size(), 16);
    EXPECT_EQ(f.c.TextCharacterExtra(), 2);
    f.s.SetFontZoom(1);
    f.s.ApplyFont(&font);
    EXPECT_EQ(f.c.Font()->Size(), 1);
    EXPECT_EQ(font.Size(), 8);   // the style font keeps its size
    f.s.SetMonochrome(true);
    font.SetColor(clRed);
    f.s.ApplyFont(&font);
    EXPECT_EQ(f.c.Font()->Color(), clBlack);
}

TEST(CanvasSurface, ShadowedTextPutsTheShadowOnTheSideOfItsSign)
{
    Flat f(60, 30);
    f.s.SetTextMeasurer(Fixed());
    TTeeFont font;
    font.SetColor(clBlack);
    font.SetHeight(-20);
    font.Shadow()->SetColor(clRed);
    font.Shadow()->SetHorizSize(4);
    font.Shadow()->SetVertSize(3);
    f.s.ApplyFont(&font);
    f.s.SetBackMode(TRANSPARENT);
    f.s.TextOut(5, 2, "I");
    // The text at the point, its shadow moved right and down.
    auto inkLeft = [&](TColor c) {
        for (int x = 0; x < f.bmp.Width(); ++x)
            for (int y = 0; y < f.bmp.Height(); ++y)
                if (Px(f.bmp, x, y) == c)
                    return x;
        return -1;
    };
    const int text = inkLeft(clBlack), shadow = inkLeft(clRed);
    ASSERT_GE(text, 0);
    ASSERT_GE(shadow, 0);
    EXPECT_EQ(shadow - text, 4);
    // A negative size moves the text instead and leaves the shadow at the point.
    Flat g(60, 30);
    font.Shadow()->SetHorizSize(-4);
    g.s.ApplyFont(&font);
    g.s.SetBackMode(TRANSPARENT);
    g.s.TextOut(5, 2, "I");
    const int gt = [&] {
        for (int x = 0; x < 60; ++x)
            for (int y = 0; y < 30; ++y)
                if (Px(g.bmp, x, y) == clBlack)
                    return x;
        return -1;
    }();
    EXPECT_EQ(gt, shadow);   // text now where the shadow was
}

TEST(CanvasSurface, OutlinedTextWithoutFillColourIsOnlyStroked)
{
    Flat f(80, 40);
    TTeeFont font;
    font.SetHeight(-30);
    font.SetStyle(fsBold);
    font.SetColor(clNone);
    font.OutLine()->Show();
    font.OutLine()->SetColor(clBlue);
    f.s.ApplyFont(&font);
    f.s.TextOut(2, 2, "O");
    const int outline = Count(f.bmp, clBlue);
    EXPECT_GT(outline, 20);
    EXPECT_EQ(Count(f.bmp, clWhite) + outline, 80 * 40);   // nothing filled
    // With a colour the glyph is filled and stroked.
    Flat g(80, 40);
    font.SetColor(clYellow);
    g.s.ApplyFont(&font);
    g.s.TextOut(2, 2, "O");
    EXPECT_GT(Count(g.bmp, clYellow), 20);
    EXPECT_GT(Count(g.bmp, clBlue), 20);
    EXPECT_EQ(g.c.ClipDepth(), 0);
}

TEST(CanvasSurface, GradientTextStaysInsideTheGlyphs)
{
    Flat f(80, 40);
    TTeeFont font;
    font.SetHeight(-30);
    font.SetStyle(fsBold);
    font.Gradient()->SetVisible(true);
    font.Gradient()->SetStartColor(clRed);
    font.Gradient()->SetEndColor(clRed);
    f.s.ApplyFont(&font);
    f.s.TextOut(2, 2, "H");
    const int red = Count(f.bmp, clRed);
    EXPECT_GT(red, 50);
    EXPECT_LT(red, 600);   // the glyph, not its rectangle
    EXPECT_EQ(Px(f.bmp, 0, 0), clWhite);
    EXPECT_EQ(f.c.ClipDepth(), 0);
}

TEST(CanvasSurface, BevelFrameDrawsNestedFramesAndShrinksTheRectangle)
{
    Flat f(12, 12);
    TRect r(0, 0, 10, 10);
    f.s.BevelFrame(r, clWhite, 2, clGray);
    EXPECT_EQ(r, TRect(2, 2, 8, 8));
    f.c.Brush()->SetColor(clRed);   // show the white frame against a background
    // Outer frame: top and left in the top colour, right and bottom in the other.
    EXPECT_EQ(Px(f.bmp, 9, 0), clGray);
    EXPECT_EQ(Px(f.bmp, 9, 9), clGray);
    EXPECT_EQ(Px(f.bmp, 0, 9), clGray);
    EXPECT_EQ(Px(f.bmp, 8, 8), clGray);
    EXPECT_EQ(Px(f.bmp, 1, 8), clGray);
    EXPECT_EQ(Count(f.bmp, clGray), (9 + 10) + (7 + 8));   // right column and bottom row of each frame
    EXPECT_EQ(Px(f.bmp, 10, 10), clWhite);
    EXPECT_EQ(Count(f.bmp, clGray, TRect(2, 2, 8, 8)), 0);
}

TEST(CanvasSurface, RemoveClippingUndoesOnlyTheLatestClip)
{
    Flat f;
    f.s.ClipToRect(TRect(0, 0, 10, 20));
    f.s.ClipToRect(TRect(0, 0, 20, 5));
    f.s.RemoveClipping();   // back to the first clip, not to none
    f.c.Brush()->SetColor(clRed);
    f.s.FillRect(TRect(0, 0, 20, 20));
    EXPECT_EQ(Count(f.bmp, clRed), 200);
    EXPECT_EQ(Count(f.bmp, clRed, TRect(10, 0, 20, 20)), 0);
    f.s.RemoveClipping();
    f.s.FillRect(TRect(0, 0, 20, 20));
    EXPECT_EQ(Count(f.bmp, clRed), 400);
}

TEST(CanvasSurface, PolygonAndEllipseClipsKeepTheCallersPoints)
{
    Flat f;
    f.c.SetWindowOrg(-5, -5);   // logical points differ from device ones
    const TPoint tri[3] = {{0, 0}, {10, 0}, {0, 10}};
    TPoint copy[3] = {tri[0], tri[1], tri[2]};
    f.s.ClipToPolygon(copy, 3);
    EXPECT_EQ(copy[0], tri[0]);
    EXPECT_EQ(copy[1], tri[1]);
    f.c.Brush()->SetColor(clRed);
    f.s.FillRect(TRect(-5, -5, 15, 15));
    EXPECT_EQ(Px(f.bmp, 6, 6), clRed);     // logical (1, 1)
    EXPECT_EQ(Px(f.bmp, 13, 13), clWhite); // logical (8, 8), outside the triangle
    f.s.RemoveClipping();
    f.c.SetWindowOrg(0, 0);
    // The excluding ellipse cuts a hole and saves nothing.
    f.s.ClipToEllipse(TRect(5, 5, 15, 15), true);
    EXPECT_EQ(f.c.ClipDepth(), 0);
    f.c.Brush()->SetColor(clBlue);
    f.s.FillRect(TRect(0, 0, 20, 20));
    EXPECT_EQ(Px(f.bmp, 8, 8), clRed);   // inside the hole: the earlier fill shows
    EXPECT_EQ(Px(f.bmp, 0, 19), clBlue);
}

TEST(CanvasSurface, RotatedTextReducesItsAngleInOneStep)
{
    auto draw = [](double angle) {
        auto f = std::make_unique<Flat>(60, 60);
        TTeeFont font;
        font.SetHeight(-14);
        f->s.ApplyFont(&font);
        f->s.RotatedText(30, 30, angle, "Tilted");
        return f;
    };
    auto a = draw(370), b = draw(10), c = draw(0);
    EXPECT_TRUE(SamePixels(a->bmp, b->bmp));
    EXPECT_FALSE(SamePixels(a->bmp, c->bmp));
    const auto start = std::chrono::steady_clock::now();
    auto huge = draw(1e15 + 10);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
    EXPECT_EQ(a->c.Font()->Orientation(), 0);   // the attached font is put back
}

TEST(CanvasSurface, SetTextAlignRejectsNegativeFlags)
{
    Flat f;
    EXPECT_THROW(f.s.SetTextAlign(TTextAlign::FromBits(0x80000000u)), ERangeError);
    f.s.SetTextAlign(TA_RIGHT | TA_BOTTOM);
    EXPECT_EQ(f.s.GetTextAlign(), TA_RIGHT | TA_BOTTOM);
    EXPECT_THROW(f.s.BeginTransparency(TRect(0, 0, 2, 2), 101), ERangeError);
}

TEST(CanvasSurface, BufferedDrawingCopiesTheBufferToTheDestination)
{
    TBitmap window(40, 30);
    TTeeCanvas3D s;
    const TRect drawIn = s.SetupProjection(window.Canvas(), nullptr, TRect(10, 5, 30, 25), false);
    EXPECT_EQ(drawIn, TRect(0, 0, 20, 20));
    ASSERT_NE(s.Buffer(), nullptr);
    EXPECT_EQ(s.ReferenceCanvas(), s.Buffer()->Canvas());
    s.ReferenceCanvas()->Brush()->SetColor(clRed);
    s.FillRect(TRect(0, 0, 20, 20));
    EXPECT_EQ(Count(window, clRed), 0);   // nothing on the window yet
    s.FinishBufferedDraw(window.Canvas(), window.Canvas(), TRect(10, 5, 30, 25));
    EXPECT_EQ(Count(window, clRed), 400);
    EXPECT_EQ(Px(window, 10, 5), clRed);
    EXPECT_TRUE(s.BufferValid());

    // A valid buffer repaints by copying; after MarkDirty nothing is copied.
    TBitmap other(40, 30);
    s.FinishBufferedDraw(window.Canvas(), other.Canvas(), TRect(10, 5, 30, 25));
    EXPECT_TRUE(s.BlitBufferIfValid());
    EXPECT_EQ(Count(other, clRed), 400);
    TBitmap third(40, 30);
    s.FinishBufferedDraw(window.Canvas(), third.Canvas(), TRect(10, 5, 30, 25));
    s.MarkDirty();
    EXPECT_FALSE(s.BlitBufferIfValid());
    EXPECT_EQ(Count(third, clRed), 0);

    s.SetBuffered(false);
    EXPECT_EQ(s.Buffer(), nullptr);
    const TRect direct = s.SetupProjection(window.Canvas(), nullptr, TRect(10, 5, 30, 25), false);
    EXPECT_EQ(direct, TRect(10, 5, 30, 25));
    EXPECT_EQ(s.ReferenceCanvas(), window.Canvas());
}

TEST(CanvasSurface, NestingSuspendsProjectionUntilTheOutermostEnd)
{
    TBitmap bmp(50, 50);
    TView3DOptions view;
    TTeeCanvas3D s;
    s.SetBuffered(false);
    s.SetupProjection(bmp.Canvas(), &view, TRect(0, 0, 50, 50), true);
    s.SetupView(10, TRect(0, 0, 50, 50));
    ASSERT_TRUE(s.Is3D());
    s.BeginNested();
    s.BeginNested();
    EXPECT_FALSE(s.Is3D());
    s.EndNested();
    EXPECT_FALSE(s.Is3D());
    s.EndNested();
    EXPECT_TRUE(s.Is3D());
    s.EndNested();   // unbalanced: ignored
    EXPECT_TRUE(s.Is3D());
}

TEST(CanvasSurface, GlyphEffectsFollowTheTextWhereverItsAlignmentPutsIt)
{
    TTeeFont font;
    font.SetHeight(-20);
    font.SetStyle(fsBold);
    font.Gradient()->SetVisible(true);
    font.Gradient()->SetStartColor(clRed);
    font.Gradient()->SetEndColor(clRed);
    // Bottom- and baseline-aligned text lies above the point: the gradient still fills it.
    for (TTextAlign align : {TA_LEFT | TA_BOTTOM, TA_CENTER | TA_BASELINE, TA_RIGHT | TA_BOTTOM}) {
        Flat f(120, 60);
        f.s.SetTextMeasurer(Fixed());
        f.s.ApplyFont(&font);
        f.s.SetTextAlign(align);
        f.s.TextOut(60, 40, "HH");
        EXPECT_GT(Count(f.bmp, clRed, TRect(0, 0, 120, 40)), 60) << "alignment " << align.Bits();
    }
    // Rotated text: the gradient covers the turned glyphs.
    Flat r(80, 80);
    r.s.ApplyFont(&font);
    r.s.RotatedText(40, 70, 90, "HH");
    EXPECT_GT(Count(r.bmp, clRed), 60);
    EXPECT_EQ(r.c.ClipDepth(), 0);

    // A fully see-through shadow of bottom-aligned text leaves no trace.
    TTeeFont shadowed;
    shadowed.SetHeight(-20);
    shadowed.SetStyle(fsBold);
    shadowed.Shadow()->SetColor(clRed);
    shadowed.Shadow()->SetSize(3);
    shadowed.Shadow()->SetTransparency(100);
    Flat s(120, 60);
    s.s.ApplyFont(&shadowed);
    s.s.SetTextAlign(TA_LEFT | TA_BOTTOM);
    s.s.TextOut(10, 40, "HH");
    EXPECT_EQ(Count(s.bmp, clRed), 0);
    EXPECT_GT(Count(s.bmp, clBlack), 30);
}

TEST(CanvasSurface, RotatedTextGivesBackTheFontAtItsOwnResolution)
{
    // A printer's font: at 600 dots per inch, 11 pixels high is a size of 1 point.
    Flat f(60, 60);
    f.c.Font()->SetPixelsPerInch(600);
    f.c.Font()->SetHeight(-11);
    f.s.RotatedText(30, 30, 45, "x");
    EXPECT_EQ(f.c.Font()->Height(), -11);
    EXPECT_EQ(f.c.Font()->PixelsPerInch(), 600);
    EXPECT_EQ(f.c.Font()->Orientation(), 0);
}

TEST(CanvasSurface, CentredMarkupIsCentredAcrossTheChartRectangle)
{
    // The canvas is wider than the chart: centring uses the chart, not the canvas.
    TBitmap bmp(300, 30);
    TTeeCanvas3D s;
    s.SetBuffered(false);
    s.SetupProjection(bmp.Canvas(), nullptr, TRect(0, 0, 200, 30), false);
    AssignStylesToCanvas(&s);
    TTeeFont font;
    font.SetHeight(-14);
    s.ApplyFont(&font);
    CanvasTextOutFormatted(&s, 0, 5, true, "<CENTER>WW</CENTER>");
    int left = -1, right = -1;
    for (int x = 0; x < 300; ++x)
        for (int y = 0; y < 30; ++y)
            if (Px(bmp, x, y) != clWhite) {
                if (left < 0)
                    left = x;
                right = x;
            }
    ASSERT_GE(left, 0);
    EXPECT_LE(std::abs((left + right) / 2 - 100), 3);
    // Without markup the text starts at the point.
    TBitmap plain(300, 30);
    s.SetupProjection(plain.Canvas(), nullptr, TRect(0, 0, 200, 30), false);
    CanvasTextOutFormatted(&s, 0, 5, false, "<CENTER>WW</CENTER>");
    EXPECT_LT(Count(plain, clWhite, TRect(0, 0, 20, 30)), 20 * 30);   // the tag is printed as text
}
