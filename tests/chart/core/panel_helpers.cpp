// The unit's small helpers: enabling lists of controls, class bitmaps, the hand cursor,
// check boxes and markup text on the chart surface.
#include "RizUridu.h"
#include "ChartStarted.h"
#include "PixelProbe.h"

#include "controls/Cursors.h"
#include "controls/StdCtrls.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using testsupport::Px;

// An object of a class that has no bitmap of its own.
class TNoBitmapChart : public TObject {
public:
    DECLARE_CLASS_NAME(TNoBitmapChart)
};

} // namespace

TEST(PanelHelpers, ForEachItemSetsEveryControlAndSkipsNulls)
{
    TEdit a(nullptr), b(nullptr);
    ForEachItem(false, {&a, nullptr, &b});
    EXPECT_FALSE(a.Enabled());
    EXPECT_FALSE(b.Enabled());
    std::vector<TControl*> list = {&b};
    ForEachItem(true, list);
    EXPECT_FALSE(a.Enabled());
    EXPECT_TRUE(b.Enabled());
}

TEST(PanelHelpers, ClassBitmapsComeFromTheProgramsResources)
{
    TBitmap bmp;
    EXPECT_FALSE(FindBitmapInModules(&bmp, "TNoSuchClass"));
    EXPECT_TRUE(bmp.Empty());
    ASSERT_TRUE(FindBitmapInModules(&bmp, "TNoSuchClass", "TChart"));
    EXPECT_EQ(bmp.Width(), 24);
    EXPECT_EQ(bmp.Height(), 24);
    EXPECT_EQ(Px(bmp, 0, 0), clSilver);   // the icon's ground
    EXPECT_EQ(Px(bmp, 3, 21), clBlack);   // its axes

    TNoBitmapChart object;
    TBitmap byClass;
    EXPECT_FALSE(LoadBitmapForClass(&object, &byClass));
    EXPECT_TRUE(LoadBitmapForClass(&object, &byClass, "TChart"));
    EXPECT_EQ(Px(byClass, 3, 21), clBlack);
}

TEST(PanelHelpers, HandCursorLivesFromStartUpToFinalisation)
{
    {
        const testsupport::ChartStarted started;
        EXPECT_TRUE(Screen()->IsCustomCursor(crTeeHand));
        EXPECT_TRUE(Screen()->HasCursor(crTeeHand));
        TCustomTeePanel panel(nullptr);
        panel.SetCursor(crTeeHand);
        EXPECT_EQ(panel.Cursor(), crTeeHand);
    }
    EXPECT_FALSE(Screen()->HasCursor(crTeeHand));
    EXPECT_TRUE(Screen()->HasCursor(crHandPoint));   // standard cursors stay
}

TEST(PanelHelpers, CheckBoxesAreThirteenPixelsAndShowTheirState)
{
    TBitmap bmp(40, 20);
    TCanvas* c = bmp.Canvas();
    DrawCheckBox(c, 2, 3, true);
    DrawCheckBox(c, 20, 3, false);
    c->Flush();
    // Sunken frames: shadow on the top-left edge, highlight on the bottom-right.
    EXPECT_EQ(Px(bmp, 2, 8), ColorToRGB(clBtnShadow));
    EXPECT_EQ(Px(bmp, 14, 8), ColorToRGB(clBtnHighlight));
    EXPECT_EQ(Px(bmp, 8, 15), ColorToRGB(clBtnHighlight));
    EXPECT_EQ(Px(bmp, 15, 8), clWhite);   // outside: untouched
    int inkChecked = 0, inkEmpty = 0;
    for (int y = 5; y < 14; ++y)
        for (int x = 0; x < 9; ++x) {
            inkChecked += Px(bmp, 4 + x, y) == clBlack ? 1 : 0;
            inkEmpty += Px(bmp, 22 + x, y) == clBlack ? 1 : 0;
        }
    EXPECT_GT(inkChecked, 12);
    EXPECT_EQ(inkEmpty, 0);
    // The canvas' pen and brush are as they were.
    EXPECT_EQ(c->Pen()->Color(), clBlack);
    EXPECT_EQ(c->Brush()->Color(), clWhite);
}

TEST(PanelHelpers, MarkupOnTheSurfaceCentresAcrossTheChartRect)
{
    TBitmap bmp(200, 40);
    TTeeCanvas3D surface;
    surface.SetBuffered(false);
    surface.SetTextMeasurer(std::make_shared<TFixedTextMeasurer>(6, 8, 2));
    surface.SetupProjection(bmp.Canvas(), nullptr, TRect(0, 0, 200, 40), false);
    AssignStylesToCanvas(&surface);
    surface.SetBackMode(TRANSPARENT);
    // "abcd" is 24 pixels wide: centred between 100 and 200 it starts at 138.
    const TMarkupSize size = MeasureMarkupText(&surface, "<center>abcd</center>", TRect(100, 0, 200, 40));
    EXPECT_EQ(size.Width, 24 + 138);
    DrawMarkupText(&surface, 0, 0, "<center>abcd</center>", TRect(100, 0, 200, 40));
    bmp.Canvas()->Flush();
    int left = 200;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 200; ++x)
            if (Px(bmp, x, y) != clWhite)
                left = std::min(left, x);
    EXPECT_GE(left, 138);
    EXPECT_LT(left, 150);

    TTeeCanvas3D detached;
    EXPECT_EQ(DrawMarkupText(&detached, 0, 0, "x", TRect()).Width, 0);
}
