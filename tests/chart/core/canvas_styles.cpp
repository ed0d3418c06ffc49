// Style objects and the point, rectangle and colour helpers of the drawing surface.
#include "TeCanvas.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>

namespace {

struct Counter {
    int Count = 0;
    TObject* LastSender = nullptr;
    TNotifyEvent Handler()
    {
        return [this](TObject* s) {
            ++Count;
            LastSender = s;
        };
    }
};

} // namespace

TEST(CanvasStyles, PenSettersNotifyOnlyWhenTheValueChanges)
{
    Counter n;
    TChartPen pen(n.Handler());
    pen.SetVisible(true);
    pen.SetEndStyle(esRound);
    pen.SetSmallDots(false);
    EXPECT_EQ(n.Count, 0);
    pen.SetVisible(false);
    EXPECT_EQ(n.Count, 1);
    pen.Hide();
    EXPECT_EQ(n.Count, 1);
    pen.Show();
    pen.SetSmallSpace(2);
    pen.SetEndStyle(esFlat);
    EXPECT_EQ(n.Count, 4);
    // Assign copies the chart fields without notification, then the plain pen's.
    TChartPen copy;
    copy.Assign(&pen);
    EXPECT_EQ(copy.SmallSpace(), 2);
    EXPECT_EQ(copy.EndStyle(), esFlat);
}

TEST(CanvasStyles, PensStreamOnlyWhatDiffersFromTheirDefaults)
{
    TChartPen plain;
    EXPECT_FALSE(plain.IsVisibleStored());
    EXPECT_FALSE(plain.IsEndStyleStored());
    plain.Hide();
    EXPECT_TRUE(plain.IsVisibleStored());
    TChartHiddenPen hidden;
    EXPECT_FALSE(hidden.Visible());
    EXPECT_FALSE(hidden.IsVisibleStored());
    hidden.Show();
    EXPECT_TRUE(hidden.IsVisibleStored());

    TDottedGrayPen dotted;
    EXPECT_EQ(dotted.Color(), clGray);
    EXPECT_EQ(dotted.Style(), psDot);
    EXPECT_EQ(TDarkGrayPen().Color(), clGray);
    EXPECT_EQ(TWhitePen().Color(), clWhite);
}

TEST(CanvasStyles, BrushImageIsCreatedOnFirstReadAndCopied)
{
    Counter n;
    TChartBrush brush(n.Handler());
    EXPECT_EQ(brush.Color(), clDefault);
    EXPECT_FALSE(brush.HasImage());
    TPicture* img = brush.Image();
    ASSERT_NE(img, nullptr);
    // An empty picture (such as the one a chart file's writer reads) fills nothing.
    EXPECT_FALSE(brush.HasImage());
    TBitmap bmp(3, 2);
    TPicture pic;
    pic.SetGraphic(&bmp);
    brush.SetImage(&pic);
    EXPECT_TRUE(brush.HasImage());
    EXPECT_EQ(brush.Image()->Width(), 3);
    Counter m;
    TChartBrush other(m.Handler());
    other.Assign(&brush);
    EXPECT_EQ(other.Image()->Height(), 2);
    brush.SetImage(nullptr);
    EXPECT_FALSE(brush.HasImage());
    // A source without a picture clears the target's, and the target's owner is told
    // even though colour and style stay.
    const int told = m.Count;
    other.Assign(&brush);
    EXPECT_FALSE(other.HasImage());
    EXPECT_EQ(m.Count, told + 1);
    EXPECT_GE(n.Count, 2);
}

TEST(CanvasStyles, GradientMiddleColourAndBalance)
{
    Counter n;
    TTeeGradient g(n.Handler());
    EXPECT_EQ(g.MidColor(), clNone);
    EXPECT_FALSE(g.Visible());
    EXPECT_EQ(g.Direction(), gdTopBottom);
    EXPECT_EQ(g.StartColor(), clWhite);
    EXPECT_EQ(g.EndColor(), clYellow);
    g.SetMidColor(clBlack);
    EXPECT_EQ(g.MidColor(), clBlack);
    EXPECT_TRUE(g.UseMiddle());
    g.SetMidColor(clNone);
    EXPECT_FALSE(g.UseMiddle());
    EXPECT_EQ(g.MidColor(), clNone);
    g.UseMiddleColor();   // the stored colour comes back
    EXPECT_EQ(g.MidColor(), clBlack);
    EXPECT_EQ(n.Count, 3);
    g.SetBalance(150);
    EXPECT_EQ(g.Balance(), 100);
    g.SetBalance(-5);
    EXPECT_EQ(g.Balance(), 0);
    TTeeFontGradient f;
    f.SetOutline(true);
    f.SetDirection(gdRadial);
    TTeeFontGradient h;
    h.Assign(&f);
    EXPECT_TRUE(h.Outline());
    EXPECT_EQ(h.Direction(), gdRadial);
}

TEST(CanvasStyles, ShadowSizesAndTransparencyRange)
{
    Counter n;
    TTeeShadow s(n.Handler());
    EXPECT_EQ(s.Color(), clSilver);
    EXPECT_TRUE(s.Smooth());
    s.SetSize(4);
    EXPECT_EQ(s.HorizSize(), 4);
    EXPECT_EQ(s.VertSize(), 4);
    EXPECT_EQ(n.Count, 2);
    s.SetHorizSize(-6);
    EXPECT_EQ(s.Size(), 4);
    EXPECT_THROW(s.SetTransparency(101), ERangeError);
    EXPECT_THROW(s.SetTransparency(-1), ERangeError);
    s.SetTransparency(100);
    EXPECT_EQ(s.Transparency(), 100);
}

TEST(CanvasStyles, FontDefaultsAndLazySubObjects)
{
    Counter n;
    TTeeFont f(n.Handler());
    EXPECT_EQ(f.Color(), clBlack);
    EXPECT_EQ(f.Charset(), DEFAULT_CHARSET);
    EXPECT_EQ(f.Name(), TeeDefaultFontName());
    EXPECT_EQ(f.Size(), TeeDefaultFontSize());
    EXPECT_FALSE(f.IsHeightStored());
    EXPECT_FALSE(f.HasShadow());
    EXPECT_FALSE(f.OutLine()->Visible());
    f.Shadow()->SetSize(2);
    EXPECT_TRUE(f.HasShadow());
    EXPECT_GE(n.Count, 2);   // the sub-object reports through the font's handler

    // InterCharSize notifies with the font as sender.
    n.Count = 0;
    f.SetInterCharSize(3);
    EXPECT_EQ(n.Count, 1);
    EXPECT_EQ(n.LastSender, &f);

    // Assigning a font whose shadow was never read frees the target's shadow.
    TTeeFont plain;
    f.Assign(&plain);
    EXPECT_FALSE(f.HasShadow());
    EXPECT_FALSE(f.HasOutLine());
    EXPECT_EQ(f.InterCharSize(), 0);
    plain.Gradient()->SetVisible(true);
    f.Assign(&plain);
    ASSERT_TRUE(f.HasGradient());
    EXPECT_TRUE(f.Gradient()->Visible());
}

TEST(CanvasStyles, ViewOptionsNotifyAndRepaint)
{
    int repaints = 0;
    TView3DOptions v(nullptr, [&] { ++repaints; });
    EXPECT_EQ(v.Elevation(), 345);
    EXPECT_EQ(v.Rotation(), 345);
    EXPECT_EQ(v.Perspective(), 15);
    EXPECT_TRUE(v.Orthogonal());
    int seenOld = -1, seenNew = -1;
    v.OnChangedZoom = [&](int z) {
        seenNew = z;
        seenOld = v.Zoom();   // still the old value
    };
    v.SetZoom(150);
    EXPECT_EQ(seenNew, 150);
    EXPECT_EQ(seenOld, 100);
    EXPECT_EQ(v.Zoom(), 150);
    std::vector<bool> scrolled;
    v.OnScrolled = [&](bool h) { scrolled.push_back(h); };
    v.SetHorizOffset(5);
    v.SetVertOffset(-5);
    v.SetVertOffset(-5);
    EXPECT_EQ(scrolled, (std::vector<bool>{true, false}));
    EXPECT_EQ(repaints, 3);
    TView3DOptions w;
    w.Assign(&v);
    EXPECT_EQ(w.Zoom(), 150);
    EXPECT_EQ(w.VertOffset(), -5);
    EXPECT_EQ(repaints, 3);
    // The depth slope: 45 degrees gives 1; 90 is guarded (cos not above 0.01).
    EXPECT_NEAR(v.OrthoRatio(), 1.0, 1e-12);
    v.SetOrthoAngle(30);
    EXPECT_NEAR(v.OrthoRatio(), std::tan(30 * 3.14159265358979323846 / 180), 1e-12);
    v.SetOrthoAngle(90);
    EXPECT_EQ(v.OrthoRatio(), 1.0);
    v.SetOrthoAngle(120);   // folded to 60
    EXPECT_NEAR(v.OrthoRatio(), std::tan(60 * 3.14159265358979323846 / 180), 1e-12);
}

TEST(CanvasHelpers, PointsAndRectangles)
{
    EXPECT_EQ(GetRectMidpoint(TRect(-3, -3, 0, 0)), TPoint(-1, -1));   // truncation, not floor
    EXPECT_EQ(GetRectMidpoint(TRect(0, 0, 5, 7)), TPoint(2, 3));
    const TRect r(0, 0, 10, 5);
    EXPECT_TRUE(IsPointInRect(r, 0, 0));
    EXPECT_TRUE(IsPointInRect(r, 10, 5));
    EXPECT_TRUE(IsPointInRect(r, 10, 0));
    EXPECT_TRUE(IsTPointInRect(r, TPoint(0, 5)));
    EXPECT_FALSE(IsPointInRect(r, 11, 0));
    EXPECT_EQ(NormalizeRectCopy(TRect(5, 8, 1, 2)), TRect(1, 2, 5, 8));
    EXPECT_EQ(GetRectExtent(TRect(1, 2, 5, 8)), TSize(4, 6));
    EXPECT_TRUE(TriangleOrientation(TPoint(0, 10), TPoint(5, 0), TPoint(10, 10)));
    EXPECT_FALSE(TriangleOrientation(TPoint(10, 10), TPoint(5, 0), TPoint(0, 10)));
    const TPoint tri[3] = {{0, 10}, {5, 0}, {10, 10}};
    EXPECT_TRUE(IsTriangleClockwise(tri));
    EXPECT_EQ(PolygonBounds(tri, 3), TRect(0, 0, 11, 11));
    EXPECT_DOUBLE_EQ(VectorLength(3, 4), 5);
    TPoint a(1, 2), b(3, 4);
    SwapPoints(a, b);
    EXPECT_EQ(a, TPoint(3, 4));
    // Screen-coordinate helpers raise on overflow instead of wrapping.
    EXPECT_THROW(GetRectMidpoint(TRect(INT_MAX, 0, INT_MAX, 0)), EIntOverflow);
    EXPECT_THROW(GetRectExtent(TRect(INT_MIN, 0, INT_MAX, 0)), EIntOverflow);
    EXPECT_THROW(TeeRound(1e12), EIntOverflow);
    EXPECT_EQ(TeeRound(2.5), 2);
    EXPECT_EQ(TeeRound(3.5), 4);
}

TEST(CanvasHelpers, DarkenAndLightenClampEachChannel)
{
    EXPECT_EQ(DarkenColor(RGB(0x30, 0x20, 0x10), 0x20), RGB(0x10, 0, 0));
    EXPECT_EQ(LightenColor(RGB(0xF0, 0xF0, 0xF0), 0x20), clWhite);
    EXPECT_EQ(DarkenColor(clBtnFace, 8), RGB(204, 200, 192));   // system colours resolve first
    uint8_t r, g, b;
    ColorToRGBBytes(RGB(1, 2, 3), r, g, b);
    EXPECT_EQ(r, 1);
    EXPECT_EQ(g, 2);
    EXPECT_EQ(b, 3);
}

TEST(CanvasHelpers, DefaultFontComesFromTheUnitStartUp)
{
    InitTeCanvasUnit("10", "Times New Roman");
    TTeeFont f;
    EXPECT_EQ(f.Size(), 10);
    EXPECT_EQ(f.Name(), "Times New Roman");
    InitTeCanvasUnit("x", "");   // unreadable texts fall back to 8 and Arial
    EXPECT_EQ(TeeDefaultFontSize(), 8);
    EXPECT_EQ(TeeDefaultFontName(), "Arial");
}
