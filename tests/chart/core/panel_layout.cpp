// The chart rectangle from bounds, frame and margins; print margins and rectangles.
#include "RizUridu.h"

#include "controls/Printers.h"

#include <gtest/gtest.h>

namespace {

// Lays the chart rectangle out the way a paint does, for a panel of the given size.
void Layout(TCustomTeePanel& panel)
{
    panel.ChartBounds = panel.GetDrawRect();
    panel.CalcChartRect();
}

} // namespace

TEST(PanelChartRect, PercentMarginsOfTheBoundsInsideTheFrame)
{
    TCustomTeePanel panel(nullptr);
    EXPECT_EQ(panel.Width(), 400);
    EXPECT_EQ(panel.Height(), 250);
    // Defaults: margins 3, 4, 3, 4 percent; a raised outer bevel of 1 pixel.
    EXPECT_EQ(panel.FrameWidth(), 1);
    Layout(panel);
    // 3 % of 400 = 12, 4 % of 250 = 10 (integer division).
    EXPECT_EQ(panel.ChartRect, TRect(13, 11, 387, 239));
    EXPECT_EQ(panel.ChartWidth, 374);
    EXPECT_EQ(panel.ChartHeight, 228);
    EXPECT_EQ(panel.ChartXCenter, 200);
    EXPECT_EQ(panel.ChartYCenter, 125);

    // Every part of the frame counts: border width, both bevels and a visible border pen.
    panel.SetBorderWidth(2);
    panel.SetBevelInner(bvLowered);
    panel.SetBevelWidth(3);
    panel.Border()->SetWidth(2);
    panel.Border()->SetVisible(true);
    EXPECT_EQ(panel.FrameWidth(), 2 + 3 + 3 + 2);
    panel.SetMarginLeft(10);   // 10 % of 400 = 40
    panel.SetMarginTop(7);     // 7 % of 250 = 17.5 -> 17
    Layout(panel);
    EXPECT_EQ(panel.ChartRect, TRect(50, 27, 400 - 10 - 12, 250 - 10 - 10));

    // Widths past any screen (a damaged file's) are held at 4096 a part.
    panel.SetBorderWidth(2000000000);
    panel.SetBevelWidth(2000000000);
    EXPECT_EQ(panel.FrameWidth(), 3 * 4096 + 2);
}

TEST(PanelChartRect, PixelMarginsAreTakenAsTheyAre)
{
    TCustomTeePanel panel(nullptr);
    panel.SetBevelOuter(bvNone);
    panel.SetMarginUnits(muPixels);
    panel.SetMarginLeft(30);
    panel.SetMarginTop(20);
    panel.SetMarginRight(7);
    panel.SetMarginBottom(9);
    Layout(panel);
    EXPECT_EQ(panel.ChartRect, TRect(30, 20, 393, 241));
    EXPECT_EQ(panel.GetMargin(2), 7);
    EXPECT_THROW(panel.GetMargin(4), ERangeError);
    EXPECT_THROW(panel.SetMargin(-1, 3), ERangeError);
}

TEST(PanelChartRect, CollapsedSidesStayInsideThePanel)
{
    TCustomTeePanel panel(nullptr);
    panel.SetBevelOuter(bvNone);
    panel.SetMarginUnits(muPixels);

    // Left meets Right: the chart takes the panel's width from Left, up to its edge.
    panel.SetMarginLeft(150);
    panel.SetMarginRight(250);
    Layout(panel);
    EXPECT_EQ(panel.ChartRect.Left, 150);
    EXPECT_EQ(panel.ChartRect.Right, 400);
    EXPECT_EQ(panel.ChartWidth, 250);

    // From the panel's left edge the whole width fits.
    panel.SetMarginLeft(0);
    panel.SetMarginRight(400);
    Layout(panel);
    EXPECT_EQ(panel.ChartRect.Left, 0);
    EXPECT_EQ(panel.ChartRect.Right, 400);

    // Left past Right: one pixel wide.
    panel.SetMarginLeft(300);
    panel.SetMarginRight(300);
    Layout(panel);
    EXPECT_EQ(panel.ChartRect.Left, 300);
    EXPECT_EQ(panel.ChartRect.Right, 301);
    EXPECT_EQ(panel.ChartWidth, 1);

    // Margins beyond the panel keep the corner inside it; top and bottom alike.
    panel.SetMarginLeft(900);
    panel.SetMarginTop(140);
    panel.SetMarginBottom(120);
    Layout(panel);
    EXPECT_EQ(panel.ChartRect.Left, 399);
    EXPECT_EQ(panel.ChartRect.Right, 400);
    EXPECT_EQ(panel.ChartRect.Top, 140);
    EXPECT_EQ(panel.ChartRect.Bottom, 141);
    EXPECT_EQ(panel.ChartHeight, 1);
}

TEST(PanelChartRect, AdjustmentRaisesLeftAndTopToTheBounds)
{
    TCustomTeePanel panel(nullptr);
    panel.ChartBounds = TRect(10, 20, 410, 270);
    panel.ChartRect = TRect(-5, 0, 300, 200);
    panel.RecalcWidthHeight();
    EXPECT_EQ(panel.ChartRect, TRect(10, 20, 300, 200));
    EXPECT_EQ(panel.ChartWidth, 290);
    EXPECT_EQ(panel.ChartHeight, 180);
    EXPECT_EQ(panel.ChartXCenter, 155);
    EXPECT_EQ(panel.ChartYCenter, 110);
}

TEST(PanelChartRect, OverflowingMarginsRaise)
{
    TCustomTeePanel panel(nullptr);
    panel.SetMarginLeft(2000000000);   // percent of 400: overflows
    panel.ChartBounds = panel.GetDrawRect();
    EXPECT_THROW(panel.CalcChartRect(), EIntOverflow);
}

TEST(PanelPrintMargins, WideChartKeepsSidesAndCentresTopAndBottom)
{
    // A 400 x 200 chart on a portrait page of 2000 x 3000 pixels, square pixels: the
    // chart is 1400 wide and 700 high, leaving (3000 - 700) / 2 = 38.3 % above and below.
    const TRect m = CalcProportionalPrintMargins(400, 200, 2000, 3000, 1.0);
    EXPECT_EQ(m.Left, 15);
    EXPECT_EQ(m.Right, 15);
    EXPECT_EQ(m.Top, 38);
    EXPECT_EQ(m.Bottom, 38);
    // Pixels twice as tall as wide in number (200 dpi down, 100 across): the chart needs
    // twice as many rows, 1400, leaving 26.7 % -> round(53.3) div 2 = 26.
    const TRect dense = CalcProportionalPrintMargins(400, 200, 2000, 3000, 2.0);
    EXPECT_EQ(dense.Top, 26);
    EXPECT_EQ(dense.Left, 15);
}

TEST(PanelPrintMargins, TallChartKeepsTopAndBottomAndCentresTheSides)
{
    // 200 x 400 on a landscape page of 3000 x 2000: 1400 rows, 700 columns wide.
    const TRect m = CalcProportionalPrintMargins(200, 400, 3000, 2000, 1.0);
    EXPECT_EQ(m.Top, 15);
    EXPECT_EQ(m.Bottom, 15);
    EXPECT_EQ(m.Left, 38);
    EXPECT_EQ(m.Right, 38);
    // Twice as many rows per inch as columns: the chart needs only 350 columns.
    const TRect dense = CalcProportionalPrintMargins(200, 400, 3000, 2000, 2.0);
    EXPECT_EQ(dense.Left, 44);   // round(100 * 2650 / 3000) div 2 = 88 div 2
}

TEST(PanelPrintMargins, StayWithinBoundsAndSurviveEmptySizes)
{
    // A nearly square wide chart on a landscape page does not fit: no negative margin.
    const TRect m = CalcProportionalPrintMargins(400, 399, 3000, 2000, 1.0);
    EXPECT_EQ(m.Top, 0);
    // A thin wide chart leaves at most 49 %.
    EXPECT_EQ(CalcProportionalPrintMargins(4000, 1, 2000, 3000, 1.0).Top, 49);
    const TRect all15(15, 15, 15, 15);
    EXPECT_EQ(CalcProportionalPrintMargins(0, 0, 2000, 3000, 1.0), all15);
    EXPECT_EQ(CalcProportionalPrintMargins(400, 0, 2000, 3000, 1.0), all15);
    EXPECT_EQ(CalcProportionalPrintMargins(400, 200, 0, 0, 1.0), all15);
}

TEST(PanelPrintMargins, PrintRectangleOnThePrintersPage)
{
    TCustomTeePanel panel(nullptr);   // 400 x 250: wide
    TPrinter* printer = Printer();
    printer->SetOrientation(poPortrait);
    const int pw = printer->PageWidth(), ph = printer->PageHeight();
    ASSERT_GT(pw, 0);
    ASSERT_GT(ph, pw);

    panel.SetPrintProportional(false);
    panel.SetPrintMargins(TRect(10, 20, 30, 40));
    EXPECT_EQ(panel.CalcPrintRect(), TRect(TeeRound(pw * 0.1), TeeRound(ph * 0.2), pw - TeeRound(pw * 0.3),
                                           ph - TeeRound(ph * 0.4)));

    panel.SetPrintProportional(true);
    const TRect r = panel.CalcPrintRect();
    EXPECT_EQ(panel.PrintMargins().Left, 15);
    EXPECT_EQ(panel.PrintMargins().Right, 15);
    EXPECT_GT(panel.PrintMargins().Top, 15);
    // The page rectangle keeps the chart's proportion within a few percent.
    const double paper = double(r.Width()) / r.Height(), chart = 400.0 / 250.0;
    EXPECT_NEAR(paper / chart, 1.0, 0.06);
}
