// Framed boxes: size, what a transparent, clear-brushed, turned or see-through box
// draws, corners of a turned rectangle, repaint requests and copying.
#include "RizUridu.h"
#include "PixelProbe.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>

namespace {

using testsupport::Px;

int CountNot(TBitmap& b, TColor c)
{
    int n = 0;
    for (int y = 0; y < b.Height(); ++y)
        for (int x = 0; x < b.Width(); ++x)
            n += Px(b, x, y) != c ? 1 : 0;
    return n;
}

int Count(TBitmap& b, TColor c)
{
    return b.Width() * b.Height() - CountNot(b, c);
}

// A white panel whose contents are the test's drawing.
class TBoxPanel : public TCustomTeePanelExtended {
public:
    explicit TBoxPanel(int w = 120, int h = 100) : TCustomTeePanelExtended(nullptr)
    {
        SetBounds(0, 0, w, h);
        SetBevelOuter(bvNone);
        SetColor(clWhite);
    }
    std::function<void()> Contents;
    std::unique_ptr<TBitmap> Draw() { return DrawToBitmap(clWhite, TRect(0, 0, Width(), Height())); }

protected:
    void DrawContents(const TRect& R) override
    {
        DrawBackground(R);
        if (Contents)
            Contents();
    }
};

} // namespace

TEST(ShapeBox, SizeFromItsBounds)
{
    TTeeShape box;
    box.ShapeBounds = TRect(10, 20, 50, 40);
    EXPECT_EQ(box.Width(), 41);
    EXPECT_EQ(box.Height(), 21);
    box.SetHeight(10);
    EXPECT_EQ(box.ShapeBounds.Bottom, 29);
    EXPECT_EQ(box.Height(), 10);
    EXPECT_THROW(box.SetTransparency(101), ERangeError);
    EXPECT_THROW(box.SetTransparency(-1), ERangeError);
}

TEST(ShapeBox, TransparentDrawsNothingAndClearBrushHasNoShadow)
{
    TBoxPanel panel;
    TTeeShape box(&panel);
    box.SetColor(clRed);
    box.Shadow()->SetSmooth(false);
    panel.Contents = [&] { box.DrawRectRotated(TRect(20, 20, 80, 60)); };

    auto bmp = panel.Draw();
    EXPECT_EQ(Px(*bmp, 50, 40), clRed);
    EXPECT_EQ(Px(*bmp, 20, 40), clBlack);   // frame
    EXPECT_EQ(Px(*bmp, 81, 40), clBlack);   // shadow, right of the box
    EXPECT_EQ(Px(*bmp, 50, 61), clBlack);   // shadow, under it

    box.SetTransparent(true);
    bmp = panel.Draw();
    EXPECT_EQ(CountNot(*bmp, clWhite), 0);

    box.SetTransparent(false);
    box.Brush()->SetStyle(bsClear);
    bmp = panel.Draw();
    EXPECT_EQ(Px(*bmp, 20, 40), clBlack);   // the frame still
    EXPECT_EQ(Px(*bmp, 50, 40), clWhite);   // no fill
    EXPECT_EQ(Px(*bmp, 81, 40), clWhite);   // no shadow
    EXPECT_EQ(Px(*bmp, 50, 61), clWhite);
}

TEST(ShapeBox, BevelAndRoundCornersOnlyWhenNotTurned)
{
    TBoxPanel panel;
    TTeeShape box(&panel);
    box.SetColor(clYellow);
    box.Shadow()->SetSize(0);
    box.SetBevel(bvLowered);
    box.SetBevelWidth(2);
    box.SetShapeStyle(fosRoundRectangle);
    int angle = 0;
    panel.Contents = [&] { box.DrawRectRotated(TRect(20, 40, 101, 61), angle); };

    const TColor dark = ColorToRGB(clBtnShadow);
    auto bmp = panel.Draw();
    EXPECT_GT(Count(*bmp, dark), 0);          // the lowered bevel's upper-left edges
    box.SetBevel(bvNone);
    bmp = panel.Draw();
    EXPECT_EQ(Px(*bmp, 20, 40), clWhite);     // a rounded corner leaves the corner out
    EXPECT_EQ(Px(*bmp, 60, 40), clBlack);
    box.SetBevel(bvLowered);

    angle = 90;
    bmp = panel.Draw();
    EXPECT_EQ(Count(*bmp, dark), 0);          // no bevel
    // Turned about its centre (60, 50): now 21 wide and 81 high.
    EXPECT_EQ(Px(*bmp, 60, 15), clYellow);
    EXPECT_EQ(Px(*bmp, 30, 50), clWhite);
    // Square corners: the polygon reaches its corner pixel.
    const auto c = RotatedRectCorners(TRect(20, 40, 101, 61), 90);
    const TPoint top = std::min({c[0], c[1], c[2], c[3]}, [](TPoint a, TPoint b) { return a.Y * 1000 + a.X < b.Y * 1000 + b.X; });
    EXPECT_EQ(Px(*bmp, top.X, top.Y), clBlack);
}

TEST(ShapeBox, RotatedCornersTurnAboutTheCentre)
{
    const TRect r(0, 0, 100, 50);
    const auto same = RotatedRectCorners(r, 0);
    EXPECT_EQ(same[0], TPoint(0, 0));
    EXPECT_EQ(same[1], TPoint(100, 0));
    EXPECT_EQ(same[2], TPoint(100, 50));
    EXPECT_EQ(same[3], TPoint(0, 50));
    // A quarter turn counter-clockwise on the screen: the right-top corner goes up.
    const auto q = RotatedRectCorners(r, 90);
    EXPECT_EQ(q[0], TPoint(25, 75));
    EXPECT_EQ(q[1], TPoint(25, -25));
    EXPECT_EQ(q[2], TPoint(75, -25));
    EXPECT_EQ(q[3], TPoint(75, 75));
    // Half a turn swaps opposite corners; 30 degrees keeps the distances to the centre.
    const auto h = RotatedRectCorners(r, 180);
    EXPECT_EQ(h[0], TPoint(100, 50));
    EXPECT_EQ(h[2], TPoint(0, 0));
    for (const TPoint& p : RotatedRectCorners(r, 30)) {
        const double d = std::hypot(p.X - 50.0, p.Y - 25.0);
        EXPECT_NEAR(d, std::hypot(50.0, 25.0), 1.0);
    }
}

TEST(ShapeBox, TransparencyBlendsWithWhatLiesBeneath)
{
    TBoxPanel panel;
    TTeeShape box(&panel);
    box.SetColor(clRed);
    box.Shadow()->SetSize(0);
    box.Pen()->Hide();
    box.SetTransparency(50);
    panel.Contents = [&] { box.DrawRectRotated(TRect(10, 10, 60, 60)); };
    auto bmp = panel.Draw();
    const TColor c = Px(*bmp, 30, 30);
    EXPECT_EQ(GetRValue(c), 255);
    EXPECT_NEAR(GetGValue(c), 127, 2);
    EXPECT_NEAR(GetBValue(c), 127, 2);
}

TEST(ShapeBox, GradientFillsTheBox)
{
    TBoxPanel panel;
    TTeeShape box(&panel);
    box.Shadow()->SetSize(0);
    box.SetColor(clRed);
    box.Gradient()->SetStartColor(clBlue);
    box.Gradient()->SetEndColor(clLime);
    box.Gradient()->SetDirection(gdLeftRight);
    box.Gradient()->SetVisible(true);
    panel.Contents = [&] { box.DrawRectRotated(TRect(10, 10, 110, 60)); };
    auto bmp = panel.Draw();
    EXPECT_EQ(Count(*bmp, clRed), 0);
    EXPECT_NE(Px(*bmp, 12, 30), Px(*bmp, 107, 30));
    EXPECT_EQ(Px(*bmp, 10, 30), clBlack);   // the frame over it
}

TEST(ShapeBox, ChangesAskTheChartToRepaint)
{
    TBoxPanel panel;
    TTeeShape box(&panel);
    auto painted = [&] {
        panel.PaintWindow();
        return panel.Canvas()->BufferValid();
    };
    ASSERT_TRUE(painted());
    box.SetVisible(false);
    EXPECT_FALSE(box.Visible());
    EXPECT_FALSE(panel.Canvas()->BufferValid());
    ASSERT_TRUE(painted());
    box.Pen()->SetColor(clRed);
    EXPECT_FALSE(panel.Canvas()->BufferValid());
    ASSERT_TRUE(painted());
    box.Font()->SetSize(20);
    EXPECT_FALSE(panel.Canvas()->BufferValid());
    ASSERT_TRUE(painted());
    box.Gradient()->SetVisible(true);
    EXPECT_FALSE(panel.Canvas()->BufferValid());
}

TEST(ShapeBox, AssignCopiesTheBoxAndAMissingGradient)
{
    TTeeShape a, b;
    a.SetBevel(bvRaised);
    a.Shadow()->SetSize(7);
    a.SetTransparency(30);
    a.Pen()->SetWidth(4);
    a.Hide();
    b.Gradient()->SetVisible(true);
    b.Assign(&a);
    EXPECT_EQ(b.Bevel(), bvRaised);
    EXPECT_EQ(b.Shadow()->HorizSize(), 7);
    EXPECT_EQ(b.Transparency(), 30);
    EXPECT_EQ(b.Pen()->Width(), 4);
    EXPECT_FALSE(b.Visible());
    EXPECT_FALSE(b.HasGradient());   // a has none: b's goes
}

TEST(ShapeBox, SettingLeftOrTopPlacesTheBoxItself)
{
    TTeeCustomShapePosition title;
    EXPECT_FALSE(title.CustomPosition());
    title.SetLeft(15);
    EXPECT_TRUE(title.CustomPosition());
    EXPECT_EQ(title.ShapeBounds.Left, 15);
    EXPECT_TRUE(title.IsCustomPositionStored());

    TTeeCustomShapePosition other;
    other.SetTop(9);
    TTeeCustomShapePosition copy;
    copy.Assign(&other);
    EXPECT_TRUE(copy.CustomPosition());
    EXPECT_EQ(copy.Top(), 9);
}
