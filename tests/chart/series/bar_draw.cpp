// Bar series in a whole chart: widths side by side, stacking with negative and zero
// values, the bar shapes in 2D and 3D, gradients, marks, hit test and the sampler picture.
#include "chart_fixture.h"

namespace charttest {
namespace {

const char* const StyleNames[] = {"Rectangle", "Pyramid", "InvPyramid", "Cilinder", "Ellipse", "Arrow", "RectGradient",
                                  "Cone",      "Bevel",   "SlantCube",  "Diamond",  "InvArrow", "InvCone"};

// Two bar series of four values in a small chart.
std::unique_ptr<TChart> StyleChart(TComponent& Form, TBarStyle Style, bool View3D, bool Horizontal,
                                   TMultiBar Multi = mbSide)
{
    auto chart = MakeChart(170, 140);
    chart->SetView3D(View3D);
    chart->Title()->Text()->Add(Style <= bsInvCone ? StyleNames[Style] : "");
    const double values[2][4] = {{3, 5, -2, 4}, {2, 4, 3, 1}};
    const TColor colors[2] = {clRed, clNavy};
    for (int k = 0; k < 2; ++k) {
        TCustomBarSeries* s = Horizontal ? static_cast<TCustomBarSeries*>(new THorizBarSeries(&Form))
                                         : static_cast<TCustomBarSeries*>(new TBarSeries(&Form));
        s->SetSeriesColor(colors[k]);
        s->Marks()->Hide();
        s->SetBarStyle(Style);
        for (double v : values[k])
            s->Add(v);
        chart->AddSeries(s);
        s->SetMultiBar(Multi);
    }
    return chart;
}

using BarSampler = ChartSeriesTest;

TEST_F(BarSampler, EveryStyleDrawsIn2DAnd3D)
{
    PictureSheet sheet(7, 6, 170, 140);
    for (int view = 0; view < 2; ++view) {
        for (int st = bsRectangle; st <= bsInvCone; ++st) {
            auto c = StyleChart(form, TBarStyle(st), view == 1, false);
            auto bmp = c->DrawToBitmap(clWhite, TRect(0, 0, 170, 140));
            // Some pixel of the red series, plain or shaded.
            bool red = false;
            for (int y = 20; y < 140 && !red; ++y)
                for (int x = 0; x < 170 && !red; ++x) {
                    const TColor c = Px(*bmp, x, y);
                    red = GetRValue(c) > 100 && GetGValue(c) < 60 && GetBValue(c) < 60;
                }
            EXPECT_TRUE(red) << StyleNames[st] << (view == 1 ? " 3D" : " 2D");
            sheet.Add(*c);
        }
        auto h = StyleChart(form, bsRectangle, view == 1, true);
        static_cast<TCustomBarSeries*>(h->Series(0))->Marks()->Show();
        h->Title()->Text()->Clear();
        h->Title()->Text()->Add("Horizontal");
        sheet.Add(*h);
    }
    // The placements, each in 2D and 3D.
    const TMultiBar modes[] = {mbStacked, mbStacked100, mbSelfStack, mbSideAll, mbNone};
    const char* modeNames[] = {"Stacked", "Stacked 100%", "Self stack", "Side all", "None"};
    for (int view = 0; view < 2; ++view)
        for (int m = 0; m < 5; ++m) {
            auto c = StyleChart(form, bsRectangle, view == 1, m == 4, modes[m]);
            if (m == 0)
                static_cast<TCustomBarSeries*>(c->Series(1))->Marks()->Show();
            c->Title()->Text()->Clear();
            c->Title()->Text()->Add(modeNames[m]);
            sheet.Add(*c);
        }
    sheet.Save("bars-sampler.png");
}

} // namespace
} // namespace charttest

namespace charttest {
namespace {

struct BarDraw : ChartSeriesTest {
    // Runs of the colour along row y: (first x, length) of each.
    static std::vector<std::pair<int, int>> Runs(TBitmap& b, int y, TColor c)
    {
        std::vector<std::pair<int, int>> runs;
        for (int x = 0; x < W; ++x)
            if (Px(b, x, y) == c) {
                if (!runs.empty() && runs.back().first + runs.back().second == x)
                    ++runs.back().second;
                else
                    runs.push_back({x, 1});
            }
        return runs;
    }
    // The middle pixel of bar i along the category axis, and of a value along the value axis.
    static int MidX(TCustomBarSeries* s, int i)
    {
        const TRect r = NormalizeRectCopy(s->BarRectangle(i));
        return (r.Left + r.Right) / 2;
    }
};

// 3D bars cut by the box of a zoomed chart: each figure drawn under the one rectangle the
// clip region makes within its bounds gives what the whole region gives, for every
// style, upright and lying, and seen from the side.
TEST_F(BarSampler, BarsUnderTheBoxClipDrawWhatTheWholeRegionDraws)
{
    const auto differing = [](TChart& c) {
        auto quick = c.DrawToBitmap(clWhite, TRect(0, 0, 170, 140));
        c.Canvas()->SetShortcuts(false);
        auto exact = c.DrawToBitmap(clWhite, TRect(0, 0, 170, 140));
        c.Canvas()->SetShortcuts(true);
        int differ = 0;
        for (int y = 0; y < 140; ++y)
            for (int x = 0; x < 170; ++x)
                differ += Px(*quick, x, y) != Px(*exact, x, y);
        return differ;
    };
    for (bool horizontal : {false, true})
        for (int st = bsRectangle; st <= bsInvCone; ++st) {
            auto c = StyleChart(form, TBarStyle(st), true, horizontal);
            TChartAxis* values = horizontal ? c->BottomAxis() : c->LeftAxis();
            values->SetMinMax(-1.2, 3.6);   // the 4 and 5 cut at the top, the -2 at the bottom
            EXPECT_EQ(differing(*c), 0) << StyleNames[st] << (horizontal ? " lying" : "");
        }
    auto c = StyleChart(form, bsRectangle, true, false);
    c->LeftAxis()->SetMinMax(-1.2, 3.6);
    c->View3DOptions()->SetOrthogonal(false);
    c->View3DOptions()->SetRotation(330);
    c->View3DOptions()->SetElevation(340);
    EXPECT_EQ(differing(*c), 0) << "rotated";
}

TEST_F(BarDraw, SideBySideWidthsFromTheAxisAndTheSlots)
{
    auto* a = Add<TBarSeries>(clRed, {1, 2, 3, 4, 5});
    auto* b = Add<TBarSeries>(clNavy, {2, 3, 4, 5, 6});
    a->BarPen()->Hide();
    b->BarPen()->Hide();
    a->Marks()->Hide();
    b->Marks()->Hide();
    auto bmp = Draw();
    EXPECT_EQ(a->NumberOfSlots(), 2);
    EXPECT_EQ(a->MaxBarPoints(), 6);   // five points and the side margins
    EXPECT_EQ(a->OwnSlot(), 1);
    EXPECT_EQ(b->OwnSlot(), 2);

    // The two bars of a value stand side by side, as wide as computed; the right one
    // covers the left one's last column, as a shared edge.
    const int width = a->CalcBarWidth();
    const int y = a->ValueToScreenY(0.5);
    const auto red = Runs(*bmp, y, clRed);
    const auto navy = Runs(*bmp, y, clNavy);
    ASSERT_EQ(red.size(), 5u);
    ASSERT_EQ(navy.size(), 5u);
    for (size_t i = 0; i < 5; ++i) {
        EXPECT_EQ(red[i].second, width);
        EXPECT_EQ(navy[i].second, width + 1);
        EXPECT_EQ(red[i].first + width, navy[i].first);
    }

    // 400 pixels for six places at 70 % in two slots: 66 -> 46.2 -> 23 -> even 24.
    TAxisScaleMap wide = chart->BottomAxis()->Map();
    wide.SetPixels(wide.StartPos, wide.StartPos + 400);
    const TAxisMapOverride widened(chart->BottomAxis(), wide);
    EXPECT_EQ(a->CalcBarWidth(), 24);
    a->SetBarWidthPercent(1);   // 0 stays 0
    EXPECT_EQ(a->CalcBarWidth(), 0);
    a->SetBarWidthPercent(70);
    b->SetCustomBarWidth(9);
    EXPECT_EQ(b->CalcBarWidth(), 9);
}

TEST_F(BarDraw, StackedBarsStackNegativeAndPositiveValuesApart)
{
    auto* a = Add<TBarSeries>(clRed, {3, -2, 0});
    auto* b = Add<TBarSeries>(clNavy, {2, -1, 4});
    b->SetMultiBar(mbStacked);
    EXPECT_EQ(a->MultiBar(), mbStacked);   // every related series
    a->Marks()->Hide();
    b->Marks()->Hide();
    EXPECT_EQ(b->BarOriginValue(0), 3);
    EXPECT_EQ(b->BarOriginValue(1), -2);   // on the negative stack only
    EXPECT_EQ(b->BarOriginValue(2), 0);    // a zero counts with the positive ones
    EXPECT_EQ(b->GreatestY(), 5);
    EXPECT_EQ(b->LeastY(), -3);
    auto bmp = Draw();
    EXPECT_EQ(a->NumberOfSlots(), 1);
    EXPECT_EQ(Px(*bmp, MidX(a, 0), a->ValueToScreenY(1.5)), clRed);
    EXPECT_EQ(Px(*bmp, MidX(b, 0), b->ValueToScreenY(4)), clNavy);
    EXPECT_EQ(Px(*bmp, MidX(a, 1), a->ValueToScreenY(-1)), clRed);
    EXPECT_EQ(Px(*bmp, MidX(b, 1), b->ValueToScreenY(-2.5)), clNavy);
    // Above the negative stack nothing (beside the grid line through the bar's middle).
    EXPECT_EQ(Px(*bmp, MidX(b, 1) + 3, b->ValueToScreenY(0.5)), clWhite);
    EXPECT_EQ(Px(*bmp, MidX(b, 2), b->ValueToScreenY(2)), clNavy);
}

TEST_F(BarDraw, AStackOfMixedSignsAtOneIndexSumsEachSignApart)
{
    auto* a = Add<TBarSeries>(clRed, {3, -1});
    auto* b = Add<TBarSeries>(clNavy, {-2, 5});
    auto* c = Add<TBarSeries>(clGreen, {4, -3});
    a->SetMultiBar(mbStacked);
    // Each bar starts where the bars of its own sign before it end.
    EXPECT_EQ(b->BarOriginValue(0), 0);
    EXPECT_EQ(c->BarOriginValue(0), 3);
    EXPECT_EQ(b->BarOriginValue(1), 0);
    EXPECT_EQ(c->BarOriginValue(1), -1);
    EXPECT_EQ(c->GreatestY(), 7);
    EXPECT_EQ(c->LeastY(), -4);
}

TEST_F(BarDraw, OnePointPerPageShowsThatPointAlone)
{
    auto* s = Add<TBarSeries>(clRed, {4, 7, 2});
    Add<TBarSeries>(clNavy, {1, 1, 1, 1});   // a fourth page
    chart->SetMaxPointsPerPage(1);
    const int expected[] = {0, 1, 2, -1};
    for (int page = 1; page <= 4; ++page) {
        chart->SetPage(page);
        s->FindVisibleIndexRange();
        EXPECT_EQ(s->FirstValueIndex(), expected[page - 1]) << page;
        EXPECT_EQ(s->LastValueIndex(), expected[page - 1]) << page;
    }
}

TEST_F(BarDraw, MarkRoomBelowTheOriginOnlyForValuesBelowIt)
{
    auto* s = Add<TBarSeries>(clRed, {2, 5});
    s->SetYOrigin(2);
    Draw();
    auto margins = [&] {
        int top = 0, bottom = 0;
        s->AxisMarginsB(top, bottom);
        return std::make_pair(top, bottom);
    };
    const auto [room, none] = margins();
    EXPECT_GT(room, 20);   // the text, the callout length 20 and one
    EXPECT_EQ(none, 0);    // a value at the origin goes up
    s->YValues()->SetValue(0, 1.9);
    EXPECT_EQ(margins(), std::make_pair(room, room));
    // Below zero but above the origin: none.
    s->SetYOrigin(-3);
    s->YValues()->SetValue(0, -2);
    EXPECT_EQ(margins(), std::make_pair(room, 0));
}

TEST_F(BarDraw, MarkRoomOnAnInvertedValueAxisIsWhereTheBarsPoint)
{
    auto* v = Add<TBarSeries>(clRed, {2, 5});
    auto* h = Add<THorizBarSeries>(clBlue, {});
    h->AddPointXY(3, 1);
    Draw();
    int top = 0, bottom = 0, left = 0, right = 0;
    v->AxisMarginsB(top, bottom);
    h->AxisMarginsA(left, right);
    ASSERT_GT(top, 20);
    ASSERT_GT(right, 20);
    EXPECT_EQ(bottom, 0);
    EXPECT_EQ(left, 0);
    chart->LeftAxis()->SetInverted(true);
    chart->BottomAxis()->SetInverted(true);
    int itop = 0, ibottom = 0, ileft = 0, iright = 0;
    v->AxisMarginsB(itop, ibottom);
    h->AxisMarginsA(ileft, iright);
    EXPECT_EQ(std::make_pair(itop, ibottom), std::make_pair(0, top));
    EXPECT_EQ(std::make_pair(ileft, iright), std::make_pair(right, 0));
}

TEST_F(BarDraw, FlatPyramidPointsUpAndTheInvertedOneDownForBothSigns)
{
    auto* s = Add<TBarSeries>(clRed, {6, -4});
    s->Marks()->Hide();
    s->BarPen()->Hide();
    for (TBarStyle style : {bsPyramid, bsInvPyramid}) {
        s->SetBarStyle(style);
        auto bmp = Draw();
        const bool inverted = style == bsInvPyramid;
        for (int i = 0; i < 2; ++i) {
            const TRect r = NormalizeRectCopy(s->BarRectangle(i));
            const int x = r.Left + (r.Right - r.Left) / 4;
            const int h = r.Bottom - r.Top;
            // A quarter of the bar from its top and from its bottom.
            EXPECT_EQ(Px(*bmp, x, r.Top + h / 4) == clRed, inverted) << style << " " << i;
            EXPECT_EQ(Px(*bmp, x, r.Bottom - h / 4) == clRed, !inverted) << style << " " << i;
            EXPECT_EQ(Px(*bmp, (r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2), clRed) << style << " " << i;
        }
    }
}

TEST_F(BarDraw, ABevelWiderThanTheBarStaysInsideIt)
{
    auto* s = Add<TBarSeries>(clRed, {6, 3});
    s->Marks()->Hide();
    s->SetBarStyle(bsBevel);
    s->SetBevelSize(100);
    auto bmp = Draw();
    const TRect bar = NormalizeRectCopy(s->BarRectangle(1));
    ASSERT_LT(bar.Right - bar.Left, 2 * 100);
    // The bevel's light and dark reds fill the bar; nothing red beside or above it (the
    // grid may show there).
    const auto reddish = [&](int x, int y) {
        const TColor c = Px(*bmp, x, y);
        return GetRValue(c) > GetGValue(c) + 40 && GetRValue(c) > GetBValue(c) + 40;
    };
    EXPECT_TRUE(reddish((bar.Left + bar.Right) / 2, (bar.Top + bar.Bottom) / 2));
    for (int d : {3, 9, 20}) {
        EXPECT_FALSE(reddish(bar.Right + d, (bar.Top + bar.Bottom) / 2)) << d;
        EXPECT_FALSE(reddish((bar.Left + bar.Right) / 2, bar.Top - d)) << d;
        EXPECT_FALSE(reddish(bar.Left - d, bar.Top - d)) << d;
    }
}

TEST_F(BarDraw, FullWidthBarsReachTheirNeighbourOnlyWhenItStandsFurtherAlong)
{
    auto* s = Add<TBarSeries>(clRed, {3, -2, 4});
    s->Marks()->Hide();
    s->SetBarWidthPercent(100);
    Draw();
    const auto width = [&](int i) { const TRect r = NormalizeRectCopy(s->BarRectangle(i)); return r.Right - r.Left; };
    const auto left = [&](int i) { return NormalizeRectCopy(s->BarRectangle(i)).Left; };
    EXPECT_EQ(NormalizeRectCopy(s->BarRectangle(0)).Right, left(1));
    // A self-stacked column: every bar as wide as the last one, not a line.
    s->SetMultiBar(mbSelfStack);
    Draw();
    ASSERT_GT(width(2), 10);
    EXPECT_EQ(width(0), width(2));
    EXPECT_EQ(width(1), width(2));
    // Unsorted values: a bar whose neighbour stands behind keeps its own width.
    s->SetMultiBar(mbSide);
    s->XValues()->SetOrder(loNone);
    s->XValues()->SetValue(1, 0);
    Draw();
    EXPECT_GT(width(0), 10);
}

TEST_F(BarDraw, HundredPercentStacksShareOutEachSignAndSkipZeroSums)
{
    auto* a = Add<TBarSeries>(clRed, {2, 0, -1});
    auto* b = Add<TBarSeries>(clNavy, {6, 0, -3});
    a->SetMultiBar(mbStacked100);
    EXPECT_EQ(b->GreatestY(), 100);
    EXPECT_EQ(b->LeastY(), -100);
    auto bmp = Draw();
    // 25 % red under 75 % navy; below the origin 25 % red over 75 % navy.
    EXPECT_EQ(b->PointScreenY(0), b->ValueToScreenY(100));
    EXPECT_EQ(a->PointScreenY(0), a->ValueToScreenY(25));
    EXPECT_EQ(b->PointScreenY(2), b->ValueToScreenY(-100));
    EXPECT_EQ(Px(*bmp, MidX(a, 0), a->ValueToScreenY(12)), clRed);
    EXPECT_EQ(Px(*bmp, MidX(b, 0), b->ValueToScreenY(60)), clNavy);
    EXPECT_EQ(Px(*bmp, MidX(a, 2), a->ValueToScreenY(-12)), clRed);
    EXPECT_EQ(Px(*bmp, MidX(b, 2), b->ValueToScreenY(-60)), clNavy);
    // All zero: neither bar nor mark, and nothing at the top of the surface either.
    EXPECT_FALSE(a->BarVisible(1));
    for (int y = 0; y < H; ++y) {
        EXPECT_NE(Px(*bmp, MidX(a, 1), y), clRed) << y;
        EXPECT_NE(Px(*bmp, MidX(b, 1), y), clNavy) << y;
    }
    EXPECT_EQ(a->Marks()->Positions()->Position(1), nullptr);
}

TEST_F(BarDraw, MarksStandOffTheValueEndAndTheHitTestFollowsTheShape)
{
    auto* s = Add<TBarSeries>(clRed, {4, -3, 2});
    auto bmp = Draw();
    const auto* up = s->Marks()->Positions()->Position(0);
    const auto* down = s->Marks()->Positions()->Position(1);
    ASSERT_NE(up, nullptr);
    ASSERT_NE(down, nullptr);
    EXPECT_EQ(up->ArrowTo.Y, s->ValueToScreenY(4) - 20);
    EXPECT_EQ(up->ArrowTo.X, MidX(s, 0));
    EXPECT_LT(up->LeftTop.Y + up->Height, s->ValueToScreenY(4));
    EXPECT_EQ(down->ArrowTo.Y, s->ValueToScreenY(-3) + 20);
    EXPECT_GT(down->LeftTop.Y, s->ValueToScreenY(-3));

    const TRect r = NormalizeRectCopy(s->BarRectangle(0));
    EXPECT_EQ(s->Clicked(MidX(s, 0), (r.Top + r.Bottom) / 2), 0);
    EXPECT_EQ(s->Clicked(r.Left + 1, r.Top + 1), 0);
    EXPECT_EQ(s->Clicked(MidX(s, 1), s->ValueToScreenY(-1)), 1);
    EXPECT_EQ(s->Clicked(MidX(s, 0), s->ValueToScreenY(4.5)), -1);
    // A pyramid leaves its upper corners empty.
    s->SetBarStyle(bsPyramid);
    EXPECT_EQ(s->Clicked(r.Left + 1, r.Top + 1), -1);
    EXPECT_EQ(s->Clicked(MidX(s, 0), r.Top + 2), 0);
    s->SetBarStyle(bsInvPyramid);
    EXPECT_EQ(s->Clicked(r.Left + 1, r.Top + 1), 0);
    EXPECT_EQ(s->Clicked(r.Left + 1, r.Bottom - 2), -1);
}

TEST_F(BarDraw, NullValueDrawsNoBarNorTickLines)
{
    auto* s = Add<TBarSeries>(clRed, {4});
    s->AddNull();
    s->Add(4);
    s->Marks()->Hide();
    s->TickLines()->Show();
    s->TickLines()->SetColor(clLime);
    auto bmp = Draw();
    EXPECT_EQ(Px(*bmp, MidX(s, 0), s->ValueToScreenY(1.25)), clRed);
    EXPECT_EQ(Px(*bmp, MidX(s, 2), s->ValueToScreenY(1.25)), clRed);
    // Tick lines across the drawn bars at the axis' ticks (every 0.5 here), none at the null.
    EXPECT_EQ(Px(*bmp, MidX(s, 0), s->ValueToScreenY(2)), clLime);
    for (int y = 0; y < H; ++y) {
        EXPECT_NE(Px(*bmp, MidX(s, 1), y), clRed);
        EXPECT_NE(Px(*bmp, MidX(s, 1), y), clLime);
    }
}

TEST_F(BarDraw, RelativeGradientGradesByValueAndAnEmptyRangeUsesOneColour)
{
    auto* s = Add<TBarSeries>(clBlue, {4, 2});
    s->Marks()->Hide();
    s->BarPen()->Hide();
    s->SetBarStyle(bsRectGradient);
    s->Gradient()->SetRelative(true);
    auto bmp = Draw();
    // The top of each bar takes the end colour: the full bar colour for the greatest
    // value, half way from white for the half value.
    const TColor full = Px(*bmp, MidX(s, 0), s->ValueToScreenY(3.95));
    const TColor half = Px(*bmp, MidX(s, 1), s->ValueToScreenY(1.95));
    EXPECT_LT(GetRValue(full), 16);
    EXPECT_GT(GetBValue(full), 240);
    EXPECT_GT(GetRValue(half), 100);
    EXPECT_LT(GetRValue(half), 156);

    // Equal values with the origin off: no range, one colour from end to end.
    s->SetUseYOrigin(false);
    s->Clear();
    s->Add(3);
    s->Add(3);
    chart->LeftAxis()->SetMinMax(0, 4);
    bmp = Draw();
    EXPECT_EQ(Px(*bmp, MidX(s, 0), s->ValueToScreenY(0.1)), clBlue);
    EXPECT_EQ(Px(*bmp, MidX(s, 0), s->ValueToScreenY(2.9)), clBlue);
}

TEST_F(BarDraw, StylesAtDepth)
{
    chart->SetView3D(true);
    chart->SetChart3DPercent(30);
    auto* a = Add<TBarSeries>(clRed, {4, 3});
    auto* b = Add<TBarSeries>(clNavy, {2, 1});
    a->Marks()->Hide();
    b->Marks()->Hide();
    a->BarPen()->Hide();
    b->BarPen()->Hide();
    auto bmp = Draw();
    // Side by side at one depth.
    EXPECT_EQ(a->ZOrder(), b->ZOrder());
    const int full = a->EndZ() - a->StartZ();
    ASSERT_GT(full, 10);
    TTeeCanvas3D* canvas = chart->Canvas();
    const TRect r = NormalizeRectCopy(a->BarRectangle(0));
    // A box shows its top face: the point half way back along the top edge is shaded red.
    const TPoint top = canvas->Calc3DPoint((r.Left + r.Right) / 2, r.Top, (a->StartZ() + a->EndZ()) / 2);
    const TColor topFace = Px(*bmp, top.X, top.Y + 1);
    EXPECT_GT(GetRValue(topFace), 100);
    EXPECT_LT(GetGValue(topFace), 100);
    // A pyramid has no top face there: its apex is in the middle.
    a->SetBarStyle(bsPyramid);
    bmp = Draw();
    const TPoint corner = canvas->Calc3DPoint(r.Left + 1, r.Top + 1, a->StartZ());
    EXPECT_EQ(Px(*bmp, corner.X, corner.Y), Px(*bmp, corner.X, corner.Y - 20));
    // The depth percent narrows the bar's depth at both ends.
    a->SetDepthPercent(50);
    Draw();
    EXPECT_EQ(a->EndZ() - a->StartZ(), full - 2 * TeeRound(full * 50 * 0.005));
    // Bars not side by side take their own depth.
    a->SetMultiBar(mbNone);
    Draw();
    EXPECT_NE(a->ZOrder(), b->ZOrder());
}

TEST_F(BarDraw, HorizontalBarsRunAlongTheBottomAxis)
{
    auto* s = Add<THorizBarSeries>(clGreen, {3, -1});
    s->Marks()->Hide();
    chart->BottomAxis()->SetMinMax(-2, 5);
    auto bmp = Draw();
    const TRect r = NormalizeRectCopy(s->BarRectangle(0));
    const int y = (r.Top + r.Bottom) / 2;
    EXPECT_EQ(Px(*bmp, s->ValueToScreenX(1.5), y), clGreen);
    EXPECT_EQ(Px(*bmp, s->ValueToScreenX(3.8), y), clWhite);
    EXPECT_EQ(s->Clicked(s->ValueToScreenX(2), y), 0);
    const TRect n = NormalizeRectCopy(s->BarRectangle(1));
    EXPECT_EQ(Px(*bmp, s->ValueToScreenX(-0.5), (n.Top + n.Bottom) / 2), clGreen);
    EXPECT_LT(n.Bottom, r.Top);   // the second value above the first
}

TEST_F(BarDraw, GalleryStylesAndPreview)
{
    auto* s = Add<TBarSeries>(clRed, {});
    std::vector<std::string> styles;
    s->AddSubGalleryStyles(styles);
    const std::vector<std::string> expected = {"Normal", "Colors", "Pyramid", "Ellipse", "Inv. Pyramid", "Gradient",
                                               "Stack", "Stack 100%", "Self Stacked", "Sides", "Side All"};
    EXPECT_EQ(styles, expected);
    s->SetUpGalleryPreview(true);
    EXPECT_EQ(s->Count(), 4);
    EXPECT_EQ(s->BarStyle(), bsRectGradient);
    EXPECT_EQ(s->MultiBar(), mbNone);
    // A stacking style on a chart of one series brings a partner to stack on.
    s->ApplySubGalleryStyle(7);
    ASSERT_EQ(chart->SeriesCount(), 2);
    auto* partner = dynamic_cast<TBarSeries*>(chart->Series(1));
    ASSERT_NE(partner, nullptr);
    EXPECT_EQ(partner->Count(), 2);
    EXPECT_EQ(partner->MultiBar(), mbStacked100);
    EXPECT_EQ(partner->BarWidthPercent(), 85);
    EXPECT_FALSE(partner->Marks()->Visible());
    s->ApplySubGalleryStyle(2);
    EXPECT_EQ(s->BarStyle(), bsPyramid);
    EXPECT_EQ(chart->SeriesCount(), 2);
}

TEST_F(BarDraw, ManyBarsPerPixelColumnLookAsWhenDrawnOneByOne)
{
    // 900 values on a plot some 350 pixels wide, positive and negative, one null.
    auto* s = Add<TBarSeries>(clRed, {});
    for (int t = 0; t < 900; ++t)
        s->Add(t % 7 == 3 ? 0 : (t % 13) - 4 + 0.37 * (t % 5));
    s->SetValueColor(450, clNone);
    s->Marks()->Hide();
    int joined = 0;
    for (bool pen : {true, false}) {
        s->BarPen()->SetVisible(pen);
        s->OnGetBarStyle = nullptr;
        auto fast = Draw();
        // Any style event makes the series draw every bar on its own.
        s->OnGetBarStyle = [&](TCustomBarSeries*, int, TBarStyle&) { ++joined; };
        auto plain = Draw();
        int differ = 0;
        for (int y = 0; y < H; ++y)
            for (int x = 0; x < W; ++x)
                differ += Px(*fast, x, y) != Px(*plain, x, y);
        EXPECT_EQ(differ, 0) << (pen ? "pen" : "no pen");
    }
    EXPECT_GT(joined, 0);
}

} // namespace
} // namespace charttest
