// Axis room and axis drawing: the room the left and bottom axes cut from the chart
// rectangle with fixed text metrics, and the axis line, ticks, grid, labels and title as
// pixels of a bitmap.
#include "axis_fixture.h"
#include "PixelProbe.h"

#include "TestSupport.h"
#include "graphics/Graphics.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <set>
#include <string>

using axistest::AxisTest;

namespace {

using testsupport::Px;

bool Ink(TColor c) { return c != clWhite; }

struct Box {
    int Left = INT_MAX, Top = INT_MAX, Right = INT_MIN, Bottom = INT_MIN, Count = 0;
};

// Inclusive bounds of the non-white pixels inside R.
Box InkIn(TBitmap& b, const TRect& R)
{
    Box e;
    for (int y = std::max(0, R.Top); y < std::min(b.Height(), R.Bottom); ++y)
        for (int x = std::max(0, R.Left); x < std::min(b.Width(), R.Right); ++x)
            if (Ink(Px(b, x, y)))
                e = {std::min(e.Left, x), std::min(e.Top, y), std::max(e.Right, x), std::max(e.Bottom, y), e.Count + 1};
    return e;
}

constexpr int W = 480;
constexpr int H = 380;

struct AxisDraw : AxisTest {
    void SetUp() override
    {
        AxisTest::SetUp();
        chart->SetBounds(0, 0, W, H);
        chart->SetView3D(false);
        series = AddSeries({{0, 0}, {5, 40}, {10, 100}});
        chart->LeftAxis()->Title()->SetCaption("Cp");
        chart->BottomAxis()->Title()->SetCaption("T");
    }
    // The chart's layout on Outer: ranges and extents, every shown axis cuts its room,
    // and the extents again on what is left.
    void Place(const TRect& Outer)
    {
        SetRect(Outer);
        Layout();
        TRect r = Outer;
        for (TChartAxis* a : chart->Axes()->List()) {
            TRect cut = r;
            a->CalcRect(cut, true);
            r = cut;
        }
        SetRect(r);
        for (TChartAxis* a : chart->Axes()->List())
            a->CalcPositions();
    }
    void SetRect(const TRect& R)
    {
        chart->ChartRect = R;
        chart->ChartWidth = R.Right - R.Left;
        chart->ChartHeight = R.Bottom - R.Top;
    }
    std::unique_ptr<TBitmap> Draw(const std::vector<TChartAxis*>& Axes, const TRect& Outer = Outer0)
    {
        chart->Contents = [&] {
            Place(Outer);
            for (TChartAxis* a : Axes)
                a->DrawAxis(true);
        };
        return chart->DrawToBitmap(clWhite, TRect(0, 0, W, H));
    }
    static inline const TRect Outer0{0, 20, 470, 360};
    TChartSeries* series = nullptr;
};

// ---- room -----------------------------------------------------------------------------

TEST_F(AxisDraw, LeftAndBottomAxesCutTitleLabelsAndTicks)
{
    // Ticks: pen 2 + 1 and length 4. Left labels "0".."100": three characters and a
    // blank of 6 pixels. Titles and bottom labels: one line of 13 pixels.
    Place(Outer0);
    EXPECT_EQ(chart->ChartRect.Left, 0 + 13 + 24 + 7);
    EXPECT_EQ(chart->ChartRect.Bottom, 360 - 13 - 13 - 7);
    EXPECT_EQ(chart->ChartRect.Top, 20);
    EXPECT_EQ(chart->ChartRect.Right, 470);
    EXPECT_EQ(chart->LeftAxis()->PosTitle, 13);
    EXPECT_EQ(chart->LeftAxis()->PosLabels, 37);
    EXPECT_EQ(chart->BottomAxis()->PosTitle, 347);
    EXPECT_EQ(chart->BottomAxis()->PosLabels, 334);
    EXPECT_EQ(chart->LeftAxis()->SizeTickAxis(), 7);
    EXPECT_EQ(chart->LeftAxis()->SizeLabels(), 24);
    EXPECT_EQ(chart->BottomAxis()->SizeLabels(), 13);
}

TEST_F(AxisDraw, FixedSizesHiddenPartsAndAlternateRows)
{
    Layout();
    TChartAxis* left = chart->LeftAxis();
    TChartAxis* bottom = chart->BottomAxis();
    TRect r(0, 0, 400, 300);

    left->SetTitleSize(30);
    left->Title()->SetCaption("a much longer title than thirty pixels");
    left->CalcRect(r, true);
    EXPECT_EQ(r.Left, 30 + 24 + 7);

    bottom->SetLabelsAlternate(true);
    EXPECT_EQ(bottom->SizeLabels(), 26);
    bottom->SetLabelsSize(20);
    EXPECT_EQ(bottom->SizeLabels(), 40);

    // Without the axis pen, ticks and minor ticks nothing is cut for them.
    left->Axis()->SetVisible(false);
    left->Ticks()->SetVisible(false);
    left->MinorTicks()->SetVisible(false);
    EXPECT_EQ(left->SizeTickAxis(), 0);
    left->SetLabels(false);
    left->Title()->SetVisible(false);
    TRect r2(0, 0, 400, 300);
    left->CalcRect(r2, true);
    EXPECT_EQ(r2, TRect(0, 0, 400, 300));

    // An invisible axis takes nothing even with every part on.
    bottom->SetVisible(false);
    TRect r3(0, 0, 400, 300);
    bottom->CalcRect(r3, true);
    EXPECT_EQ(r3, TRect(0, 0, 400, 300));
}

TEST_F(AxisDraw, FinalPlacementAndOtherSideAxes)
{
    Layout();
    TChartAxis* right = chart->RightAxis();
    TChartAxis* top = chart->TopAxis();
    series->SetVertAxis(aRightAxis);
    series->SetHorizAxis(aTopAxis);
    Layout();
    TRect r(40, 20, 440, 320);
    right->CalcRect(r, false);
    EXPECT_EQ(right->PosAxis, 440);
    EXPECT_EQ(right->PosLabels, 447);
    EXPECT_EQ(right->PosTitle, 447 + 24);
    top->CalcRect(r, false);
    EXPECT_EQ(top->PosAxis, 20);
    EXPECT_EQ(top->PosLabels, 13);
    EXPECT_EQ(top->PosTitle, 0);
    // Reserving room cuts the top and right sides.
    TRect cut(0, 0, 400, 300);
    top->CalcRect(cut, true);
    right->CalcRect(cut, true);
    EXPECT_EQ(cut, TRect(0, 7 + 13, 400 - 7 - 24, 300));
    // A position offset moves the axis line into the chart.
    right->SetPositionUnits(muPixels);
    right->SetPositionPercent(10);
    TRect r4(40, 20, 440, 320);
    right->CalcRect(r4, false);
    EXPECT_EQ(right->PosAxis, 430);
}

// ---- pixels -----------------------------------------------------------------------------

TEST_F(AxisDraw, AxisLineTicksAndGridStandWhereTheLabelValuesMap)
{
    TChartAxis* bottom = chart->BottomAxis();
    auto bmp = Draw({bottom});
    const int y = chart->ChartRect.Bottom;
    const TRect plot = chart->ChartRect;

    // The axis line: two pixels thick at the chart's bottom edge, across the axis.
    const int mid = (bottom->Map().StartPos + bottom->Map().EndPos) / 2 + 3;
    EXPECT_EQ(Px(*bmp, mid, y), clBlack);
    EXPECT_EQ(Px(*bmp, bottom->Map().StartPos, y), clBlack);
    EXPECT_EQ(Px(*bmp, bottom->Map().EndPos, y), clBlack);
    EXPECT_NE(Px(*bmp, bottom->Map().EndPos + 2, y), clBlack);

    // Major ticks 4 pixels long start under the line; in their last row nothing else.
    std::set<int> expected;
    for (const auto& l : LabelsOf(bottom))
        expected.insert(bottom->CalcPosValue(testsupport::Number(l.Text)));
    ASSERT_GE(expected.size(), 3u);
    std::set<int> found;
    for (int x = 0; x < W; ++x)
        if (Ink(Px(*bmp, x, y + 1 + 3)))
            found.insert(x);
    EXPECT_EQ(found, expected);
    for (int p : expected)
        EXPECT_FALSE(Ink(Px(*bmp, p, y + 1 + 4))) << p;

    // Grid: a dotted line at every tick strictly inside the axis, none at the ends.
    for (int p : expected) {
        const Box g = InkIn(*bmp, TRect(p, plot.Top, p + 1, plot.Bottom - 1));
        if (p > bottom->Map().StartPos && p < bottom->Map().EndPos)
            EXPECT_GT(g.Count, (plot.Bottom - plot.Top) / 4) << p;
        else
            EXPECT_EQ(g.Count, 0) << p;
    }
    // Between two ticks the plot is empty.
    const int a = *expected.begin();
    const int b = *std::next(expected.begin());
    EXPECT_EQ(InkIn(*bmp, TRect(a + 1, plot.Top, b, plot.Bottom - 1)).Count, 0);
}

TEST_F(AxisDraw, CentredGridLiesBetweenTheLabels)
{
    TChartAxis* bottom = chart->BottomAxis();
    bottom->SetGridCentered(true);
    bottom->SetIncrement(2.5);
    auto bmp = Draw({bottom});
    const TRect plot = chart->ChartRect;
    const auto labels = LabelsOf(bottom);
    ASSERT_EQ(labels.size(), 5u);
    std::set<int> columns;
    for (int x = plot.Left + 1; x < plot.Right - 1; ++x)
        if (InkIn(*bmp, TRect(x, plot.Top + 1, x + 1, plot.Bottom - 2)).Count > 0)
            columns.insert(x);
    std::set<int> mids;
    for (size_t t = 1; t < labels.size(); ++t)
        mids.insert(static_cast<int>(std::nearbyint((labels[t - 1].Pos + labels[t].Pos) / 2.0)));
    EXPECT_EQ(columns, mids);
}

TEST_F(AxisDraw, LabelTextAndVerticalTitleArePlacedByTheirAlignment)
{
    TChartAxis* left = chart->LeftAxis();
    TChartAxis* bottom = chart->BottomAxis();
    left->Title()->SetCaption("Heat capacity");
    auto bmp = Draw({left, bottom});

    // The bottom label "10" is centred under its tick, its top at PosLabels.
    const int p10 = bottom->CalcPosValue(10);
    const Box l = InkIn(*bmp, TRect(p10 - 20, bottom->PosLabels, p10 + 20, bottom->PosLabels + 13));
    ASSERT_GT(l.Count, 0);
    EXPECT_NEAR((l.Left + l.Right) / 2.0, p10, 3);
    EXPECT_GE(l.Top, bottom->PosLabels);
    // Glyphs on the background, not a filled text cell.
    EXPECT_LT(l.Count, (l.Right - l.Left + 1) * (l.Bottom - l.Top + 1) * 7 / 10);
    EXPECT_EQ(InkIn(*bmp, TRect(p10 - 20, bottom->PosLabels - 2, p10 + 20, bottom->PosLabels)).Count, 0);

    // A left label ends at PosLabels, centred on its tick's height.
    const int p100 = left->CalcPosValue(100);
    const Box v = InkIn(*bmp, TRect(0, p100 - 10, left->PosLabels + 1, p100 + 10));
    ASSERT_GT(v.Count, 0);
    EXPECT_LE(v.Right, left->PosLabels);
    EXPECT_GE(v.Left, left->PosLabels - 24);
    EXPECT_NEAR((v.Top + v.Bottom) / 2.0, p100, 3);

    // The title reads upward in its own band left of PosTitle, centred on the axis.
    const Box t = InkIn(*bmp, TRect(0, chart->ChartRect.Top, left->PosTitle + 1, chart->ChartRect.Bottom));
    ASSERT_GT(t.Count, 0);
    EXPECT_GT(t.Bottom - t.Top, 3 * (t.Right - t.Left));
    EXPECT_LE(t.Right, left->PosTitle);
    EXPECT_LT(t.Count, (t.Right - t.Left + 1) * (t.Bottom - t.Top + 1) * 7 / 10);
    // Real glyphs are placed by the fixed 6-pixel widths: a few pixels of play.
    EXPECT_NEAR((t.Top + t.Bottom) / 2.0, left->Map().CenterPos, 8);
    // The bottom title stands under the labels, centred.
    const Box bt = InkIn(*bmp, TRect(chart->ChartRect.Left, bottom->PosTitle, W, H));
    ASSERT_GT(bt.Count, 0);
    EXPECT_NEAR((bt.Left + bt.Right) / 2.0, bottom->Map().CenterPos, 4);
}

TEST_F(AxisDraw, HiddenAxisAndSuppressedLabelsDrawNothingOfThem)
{
    TChartAxis* bottom = chart->BottomAxis();
    bottom->SetVisible(false);
    auto empty = Draw({bottom});
    EXPECT_EQ(InkIn(*empty, TRect(0, 0, W, H)).Count, 0);

    bottom->SetVisible(true);
    int calls = 0;
    bottom->OnDrawLabel = [&](TChartAxis*, int, int, int, std::string&, bool& DrawLabel) {
        ++calls;
        DrawLabel = false;
    };
    bottom->Title()->SetVisible(false);
    auto bmp = Draw({bottom});
    EXPECT_GT(calls, 2);
    // No text under the ticks, but the ticks are there.
    EXPECT_EQ(InkIn(*bmp, TRect(0, bottom->PosLabels, W, H)).Count, 0);
    EXPECT_TRUE(Ink(Px(*bmp, bottom->CalcPosValue(10), chart->ChartRect.Bottom + 3)));
}

TEST_F(AxisDraw, FramedLabelEnclosesItsText)
{
    TChartAxis* bottom = chart->BottomAxis();
    bottom->Items()->AddText(5, "five");
    TAxisItem* item = bottom->Items()->Item(0);
    item->SetTransparent(false);
    item->SetColor(clYellow);
    item->Shadow()->SetSize(0);
    bottom->Title()->SetVisible(false);
    auto bmp = Draw({bottom});
    const int p = bottom->CalcPosValue(5);
    // The yellow box spans the text's 24 pixels and its line, around the tick.
    Box frame;
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x)
            if (Px(*bmp, x, y) == clYellow)
                frame = {std::min(frame.Left, x), std::min(frame.Top, y), std::max(frame.Right, x),
                         std::max(frame.Bottom, y), frame.Count + 1};
    ASSERT_GT(frame.Count, 0);
    EXPECT_LE(frame.Left, p - 12);
    EXPECT_GE(frame.Right, p + 11);
    EXPECT_LE(frame.Top, bottom->PosLabels);
    EXPECT_GE(frame.Bottom, bottom->PosLabels + 12);
    EXPECT_LT(frame.Right - frame.Left, 40);
}

// ---- picture ---------------------------------------------------------------------------

TEST_F(AxisDraw, SamplerPicture)
{
    // Left and bottom axes with grid, labels and titles; an inverted logarithmic right
    // axis; a date-time top axis.
    auto* other = AddSeries({{45000, 1}, {45030, 10}, {45060, 1000}});
    other->XValues()->SetDateTime(true);
    other->SetVertAxis(aRightAxis);
    other->SetHorizAxis(aTopAxis);
    chart->RightAxis()->SetLogarithmic(true);
    chart->RightAxis()->SetInverted(true);
    chart->RightAxis()->Title()->SetCaption("log, inverted");
    chart->TopAxis()->Title()->SetCaption("date");
    chart->TopAxis()->SetDateTimeFormat("dd.mm");
    chart->LeftAxis()->Title()->SetCaption("Cp, J/(mol K)");
    chart->BottomAxis()->Title()->SetCaption("T, K");
    chart->LeftAxis()->SetMinorTickCount(4);
    chart->Canvas()->SetTextMeasurer(nullptr);
    TChartAxis* axes[] = {chart->LeftAxis(), chart->BottomAxis(), chart->RightAxis(), chart->TopAxis()};
    auto bmp = Draw({axes[0], axes[1], axes[2], axes[3]}, TRect(5, 5, W - 5, H - 5));
    // Every axis drew its line at its own side of the chart rectangle.
    const TRect r = chart->ChartRect;
    EXPECT_EQ(Px(*bmp, (r.Left + r.Right) / 2 + 1, r.Bottom), clBlack);
    EXPECT_EQ(Px(*bmp, (r.Left + r.Right) / 2 + 1, r.Top), clBlack);
    EXPECT_EQ(Px(*bmp, r.Left, (r.Top + r.Bottom) / 2 + 1), clBlack);
    EXPECT_EQ(Px(*bmp, r.Right, (r.Top + r.Bottom) / 2 + 1), clBlack);
    const std::string path = testsupport::ArtifactPath("axes-sampler.png");
    if (!path.empty())
        bmp->SaveToFile(path);
}

}  // namespace
