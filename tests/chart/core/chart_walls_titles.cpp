// Walls and titles of the chart control: defaults, wall sizes beside the axes, the room
// titles take from the chart rectangle and what the walls draw.
#include "chart_fixture_support.h"

#include "ChartStarted.h"
#include "TestSupport.h"

#include <map>
#include <string>
#include <vector>

using namespace charttest;

namespace {

struct WallsTitles : ChartTest {
    // The top of the plot box after a flat drawing.
    int PlotTopAfterDraw()
    {
        Draw();
        return chart->ChartRect.Top;
    }
};

TEST_F(WallsTitles, WallAndTitleDefaults)
{
    EXPECT_EQ(chart->BackWall()->Color(), clSilver);
    EXPECT_TRUE(chart->BackWall()->Transparent());
    EXPECT_FALSE(chart->BackWall()->IsTransparentStored());
    EXPECT_EQ(chart->BottomWall()->Color(), clWhite);
    EXPECT_EQ(chart->LeftWall()->Color(), TColor(0x80FFFF));
    EXPECT_FALSE(chart->LeftWall()->IsColorStored());
    EXPECT_FALSE(chart->RightWall()->Visible());
    EXPECT_TRUE(chart->View3DWalls());
    EXPECT_EQ(chart->Frame(), chart->BackWall()->Pen());

    EXPECT_TRUE(chart->Title()->AtTop());
    EXPECT_FALSE(chart->Foot()->AtTop());
    EXPECT_EQ(chart->Title()->Font()->Color(), clBlue);
    EXPECT_EQ(chart->Foot()->Font()->Color(), clRed);
    EXPECT_EQ(chart->SubFoot()->Font()->Style(), TFontStyles(fsItalic));
    EXPECT_EQ(chart->Title()->Alignment(), taCenter);
    EXPECT_EQ(chart->Title()->Text()->Count(), 0);

    chart->Walls()->SetSize(4);
    EXPECT_EQ(chart->LeftWall()->Size(), 4);
    EXPECT_EQ(chart->BackWall()->Size(), 4);
}

// A chart that counts its repaint requests.
class CountingChart : public TChart {
public:
    using TChart::TChart;
    void RequestRepaint() override
    {
        if (AutoRepaint())
            ++Repaints;
    }
    int Repaints = 0;
};

TEST(ChartTitleText, EveryTextChangeAndWallSettingRepaints)
{
    const testsupport::ChartStarted started;
    {
        CountingChart c(nullptr);
        c.Repaints = 0;
        c.Title()->Text()->Add("a");
        EXPECT_EQ(c.Repaints, 1);
        c.Foot()->Text()->Clear();
        c.SubTitle()->Text()->Add("b");
        EXPECT_GE(c.Repaints, 2);
        const int before = c.Repaints;
        c.LeftWall()->SetSize(3);
        c.LeftWall()->SetSize(3);
        EXPECT_EQ(c.Repaints, before + 1) << "an unchanged value asks for nothing";
        c.Title()->SetAlignment(taRightJustify);
        EXPECT_EQ(c.Repaints, before + 2);
    }
}

TEST_F(WallsTitles, WallSizesStandBesideTheirAxesOnlyIn3DWithWalls)
{
    chart->LeftWall()->SetSize(5);
    chart->BottomWall()->SetSize(7);
    chart->BackWall()->SetSize(3);
    EXPECT_EQ(chart->GetAxisWallSize(chart->LeftAxis()), 5);
    EXPECT_EQ(chart->GetAxisWallSize(chart->BottomAxis()), 7);
    EXPECT_EQ(chart->GetAxisWallSize(chart->TopAxis()), 3);
    EXPECT_EQ(chart->GetAxisWallSize(chart->RightAxis()), 0) << "the right wall is hidden";
    chart->LeftWall()->SetVisible(false);
    EXPECT_EQ(chart->GetAxisWallSize(chart->LeftAxis()), 0);
    chart->SetView3DWalls(false);
    EXPECT_EQ(chart->GetAxisWallSize(chart->BottomAxis()), 0);
    chart->SetView3DWalls(true);
    chart->SetView3D(false);
    EXPECT_EQ(chart->GetAxisWallSize(chart->BottomAxis()), 0);
}

TEST_F(WallsTitles, OneLineTitleTakesItsHeightPlusMarginsFromTheTop)
{
    chart->SetView3D(false);
    AddSeries();
    const int bare = PlotTopAfterDraw();
    const int marginTop = chart->FrameWidth() + H * 4 / 100;

    chart->Title()->Text()->Add("Cp");
    chart->Title()->Pen()->SetVisible(false);
    EXPECT_EQ(PlotTopAfterDraw(), bare + LineH + 5);
    EXPECT_EQ(chart->Title()->ShapeBounds.Top, marginTop);
    EXPECT_EQ(chart->Title()->ShapeBounds.Bottom, marginTop + LineH);
    // Centred box as wide as the text and one "W".
    const TRect b = chart->Title()->ShapeBounds;
    EXPECT_EQ(b.Right - b.Left, 2 * CharW + CharW);

    // A visible one-pixel frame adds itself above, below and to the distance.
    chart->Title()->Pen()->SetVisible(true);
    EXPECT_EQ(PlotTopAfterDraw(), bare + LineH + 2 + 5 + 1);

    // Two lines take two line heights.
    chart->Title()->Pen()->SetVisible(false);
    chart->Title()->Text()->Add("J/(mol K)");
    EXPECT_EQ(PlotTopAfterDraw(), bare + 2 * LineH + 5);

    // No text, no room; hidden, no room.
    chart->Title()->Text()->Clear();
    EXPECT_EQ(PlotTopAfterDraw(), bare);
    chart->Title()->Text()->Add("Cp");
    chart->Title()->SetVisible(false);
    EXPECT_EQ(PlotTopAfterDraw(), bare);
}

TEST_F(WallsTitles, FeetStackUpwardsAndCustomTitlesTakeNoRoom)
{
    chart->SetView3D(false);
    AddSeries();
    Draw();
    const int bareBottom = chart->ChartRect.Bottom;
    const int bareTop = chart->ChartRect.Top;
    chart->Foot()->Text()->Add("foot");
    chart->SubFoot()->Text()->Add("sub");
    chart->Foot()->Pen()->SetVisible(false);
    chart->SubFoot()->Pen()->SetVisible(false);
    Draw();
    EXPECT_EQ(chart->ChartRect.Bottom, bareBottom - 2 * (LineH + 5));
    EXPECT_GT(chart->Foot()->ShapeBounds.Top, chart->SubFoot()->ShapeBounds.Top) << "the foot is the lower one";
    EXPECT_EQ(chart->Foot()->ShapeBounds.Bottom, H - chart->FrameWidth() - H * 4 / 100);
    // A foot in markup gets a box as wide as the text it shows and one "W", not as its
    // tagged source.
    chart->Foot()->Text()->Put(0, "<b>foot</b>");
    chart->Foot()->SetTextFormat(ttfHtml);
    chart->Foot()->SetTransparent(false);
    {
        auto bmp = Draw();
        if (const std::string path = testsupport::ArtifactPath("chart-foot-markup.png"); !path.empty())
            bmp->SaveToFile(path);
    }
    EXPECT_EQ(chart->Foot()->ShapeBounds.Right - chart->Foot()->ShapeBounds.Left, 4 * CharW + CharW);
    chart->Foot()->Text()->Put(0, "foot");
    chart->Foot()->SetTextFormat(ttfNormal);
    chart->Foot()->SetTransparent(true);

    chart->Title()->Text()->Add("free");
    chart->Title()->SetLeft(20);
    EXPECT_TRUE(chart->Title()->CustomPosition());
    chart->Title()->SetTop(30);
    Draw();
    EXPECT_EQ(chart->ChartRect.Top, bareTop);
    EXPECT_EQ(chart->Title()->ShapeBounds.Top, 30);
    EXPECT_EQ(chart->Title()->ShapeBounds.Left, 20);
    EXPECT_TRUE(chart->Title()->Clicked(21, 31));
    EXPECT_FALSE(chart->Title()->Clicked(19, 31));

    // A right-aligned foot placed by the user starts where the user put it, drawing
    // after drawing.
    chart->Foot()->SetAlignment(taRightJustify);
    chart->Foot()->SetLeft(40);
    chart->Foot()->SetTop(60);
    for (int pass = 0; pass < 2; ++pass) {
        Draw();
        EXPECT_EQ(chart->Foot()->ShapeBounds.Left, 40);
        EXPECT_EQ(chart->Foot()->ShapeBounds.Right, 40 + 4 * CharW + CharW);
        EXPECT_EQ(chart->Foot()->ShapeBounds.Top, 60);
    }
}

TEST_F(WallsTitles, LeftAlignedTitleStartsAtThePlotsLeftEdge)
{
    chart->SetView3D(false);
    chart->Title()->Text()->Add("abc");
    chart->Title()->Pen()->SetVisible(false);
    chart->Title()->SetAlignment(taLeftJustify);
    auto bmp = Draw();
    const int left = chart->FrameWidth() + W * 3 / 100;
    EXPECT_EQ(chart->Title()->ShapeBounds.Left, left);
    EXPECT_EQ(chart->Title()->ShapeBounds.Right, left + 3 * CharW + CharW);
    // The text starts half a "W" in, in the title's blue.
    bool blue = false;
    for (int x = left; x < left + CharW / 2 + 3 * CharW; ++x)
        for (int y = chart->Title()->ShapeBounds.Top; y < chart->Title()->ShapeBounds.Bottom; ++y)
            blue = blue || Px(*bmp, x, y) == clBlue;
    EXPECT_TRUE(blue);
    for (int y = 0; y < H; ++y)
        EXPECT_NE(Px(*bmp, left + 1, y), clBlue) << y;

    // Right-justified, it keeps the same margin from the right edge.
    chart->Title()->SetAlignment(taRightJustify);
    Draw();
    EXPECT_EQ(chart->Title()->ShapeBounds.Right, W - chart->FrameWidth() - W * 3 / 100);
}

TEST_F(WallsTitles, FlatBackWallFillsAndFramesThePlot)
{
    chart->SetView3D(false);
    chart->BackWall()->SetTransparent(false);
    chart->BackWall()->SetColor(clYellow);
    auto bmp = Draw();
    const TRect r = chart->ChartRect;
    int yellow = 0, total = 0;
    for (int y = r.Top + 1; y < r.Bottom; ++y)
        for (int x = r.Left + 1; x < r.Right - 1; ++x, ++total)
            yellow += Px(*bmp, x, y) == clYellow;
    EXPECT_GT(yellow, total * 9 / 10);
    // The frame: the back wall's black pen on the plot's top edge.
    EXPECT_EQ(Px(*bmp, (r.Left + r.Right) / 2 + 1, r.Top), clBlack);
    // Outside the plot nothing of the wall.
    EXPECT_NE(Px(*bmp, r.Left - 20, r.Top + 10), clYellow);

    // A transparent back wall leaves the panel's colour inside the plot.
    chart->BackWall()->SetTransparent(true);
    bmp = Draw();
    EXPECT_EQ(Px(*bmp, chart->ChartRect.Left + 3, chart->ChartRect.Top + 3), clWhite);
}

TEST_F(WallsTitles, ThreeDWallsReserveDepthAndDrawBesideThePlot)
{
    AddSeries();
    chart->Legend()->SetVisible(false);   // the plot keeps the panel's width
    chart->BackWall()->SetTransparent(false);
    chart->LeftWall()->SetColor(clLime);
    chart->BottomWall()->SetColor(clAqua);
    auto bmp = Draw();
    if (const std::string path = testsupport::ArtifactPath("chart-walls-3d.png"); !path.empty())
        bmp->SaveToFile(path);
    ASSERT_GT(chart->Width3D, 0);
    const TRect r = chart->ChartRect;
    // The depth goes up and to the right: the plot gave that room away.
    EXPECT_LE(r.Right + chart->Width3D, W - W * 3 / 100);
    // The left wall's face is the parallelogram from the plot's left edge up to the right
    // (probed half-way between two grid lines, which run over the walls too).
    const int d = chart->Width3D / 2;
    const int midY = (r.Top + r.Bottom) / 2 + (r.Bottom - r.Top) / 20;
    const int midX = (r.Left + r.Right) / 2 + (r.Right - r.Left) / 20;
    EXPECT_EQ(Px(*bmp, r.Left + d, midY), clLime);
    // The bottom wall lies under the plot's bottom edge, towards the back.
    EXPECT_EQ(Px(*bmp, midX + d, r.Bottom - d + 1), clAqua);

    // Without 3D walls neither is drawn.
    chart->SetView3DWalls(false);
    bmp = Draw();
    const TRect r2 = chart->ChartRect;
    EXPECT_NE(Px(*bmp, r2.Left + d, (r2.Top + r2.Bottom) / 2 + (r2.Bottom - r2.Top) / 20), clLime);
    EXPECT_NE(Px(*bmp, (r2.Left + r2.Right) / 2 + (r2.Right - r2.Left) / 20 + d, r2.Bottom - d + 1), clAqua);
}

TEST_F(WallsTitles, AnAxisDrawnAgainInFrontOfATurnedViewStandsWhereItStood)
{
    AddSeries();
    chart->SetView3D(true);
    TView3DOptions* view = chart->View3DOptions();
    view->SetOrthogonal(false);
    view->SetElevation(345);
    // Where each label of the left axis lands on the screen, once per drawing of it.
    std::map<std::string, std::vector<TPoint>> shown;
    chart->LeftAxis()->OnDrawLabel = [&](TChartAxis*, int X, int Y, int Z, std::string& Text, bool&) {
        shown[Text].push_back(chart->Canvas()->Calc3DPoint(X, Y, Z));
    };
    // Turned to the right, the left side plane faces away: the left axis is drawn once
    // more after the series, over the same pixels.
    view->SetRotation(30);
    Draw();
    ASSERT_GE(shown.size(), 5u);
    for (const auto& [text, points] : shown) {
        ASSERT_EQ(points.size(), 2u) << text;
        EXPECT_EQ(points[0].X, points[1].X) << text;
        EXPECT_EQ(points[0].Y, points[1].Y) << text;
    }
    // Turned to the left, the left side plane faces the viewer: drawn once.
    view->SetRotation(330);
    shown.clear();
    Draw();
    ASSERT_GE(shown.size(), 5u);
    for (const auto& [text, points] : shown)
        EXPECT_EQ(points.size(), 1u) << text;
}

} // namespace
