// The legend as drawn: its items, symbols and texts, the room it takes from the chart
// rectangle on each side, and the item found under a point.
#include "chart_fixture_support.h"

#include <algorithm>

#include "ChartStarted.h"
#include "TestSupport.h"

#include <string>

using namespace charttest;

namespace {

class ClickChart : public TChart {
public:
    using TChart::TChart;
    using TChart::MouseDown;
};

struct LegendDraw : ChartTest {
    void SetUp() override
    {
        ChartTest::SetUp();
        chart->SetView3D(false);
    }
    TChartSeries* AddNamed(const std::string& Title, TColor Color)
    {
        TChartSeries* s = AddSeries();
        s->SetTitle(Title);
        s->SetSeriesColor(Color);
        return s;
    }
    // Pixels in R that differ from the background.
    static int InkIn(TBitmap& B, const TRect& R)
    {
        int n = 0;
        for (int y = R.Top; y < R.Bottom; ++y)
            for (int x = R.Left; x < R.Right; ++x)
                if (Px(B, x, y) != clWhite)
                    ++n;
        return n;
    }
    TChartLegend* L() { return chart->Legend(); }
};

TEST_F(LegendDraw, TwoSeriesGetARightLegendWithTheirColoursAndTitles)
{
    AddNamed("alpha", clRed);
    AddNamed("beta", clBlue);
    L()->Symbol()->SetWidthUnits(lcsPixels);
    auto bmp = Draw();
    if (const std::string path = testsupport::ArtifactPath("legend.png"); !path.empty())
        bmp->SaveToFile(path);

    EXPECT_EQ(L()->CalcLegendStyle(), lsSeries);
    ASSERT_EQ(L()->ItemPlaces().size(), 2u);
    const TRect box = L()->ShapeBounds;
    // Right-aligned: the box ends inside the chart, to the right of the plot.
    EXPECT_LT(box.Right, W);
    EXPECT_GT(box.Left, W / 2);
    EXPECT_GT(box.Left, chart->ChartRect.Right);
    // The frame is drawn in the legend's pen (black).
    EXPECT_EQ(Px(*bmp, box.Left, (box.Top + box.Bottom) / 2), clBlack);

    const auto& first = L()->ItemPlaces()[0];
    const auto& second = L()->ItemPlaces()[1];
    EXPECT_EQ(first.Index, 0);
    EXPECT_EQ(second.Index, 1);
    EXPECT_EQ(second.TextY - first.TextY, L()->ItemHeightUsed()) << "one item under the other";
    for (const auto* p : {&first, &second}) {
        EXPECT_GE(p->Symbol.Left, box.Left);
        EXPECT_LT(p->Symbol.Right, p->TextX) << "the symbol stands before the text";
        EXPECT_EQ(p->Symbol.Right - p->Symbol.Left, 20);
    }
    const TRect& s0 = first.Symbol;
    const TRect& s1 = second.Symbol;
    EXPECT_EQ(Px(*bmp, (s0.Left + s0.Right) / 2, (s0.Top + s0.Bottom) / 2), clRed);
    EXPECT_EQ(Px(*bmp, (s1.Left + s1.Right) / 2, (s1.Top + s1.Bottom) / 2), clBlue);

    // The titles are written beside the symbols: ink where the text goes, none after it.
    EXPECT_EQ(L()->ItemText(0), "alpha");
    EXPECT_EQ(L()->ItemText(1), "beta");
    EXPECT_GT(InkIn(*bmp, TRect(first.TextX, first.TextY, first.TextX + 5 * CharW, first.TextY + LineH)), 5);
    EXPECT_GT(InkIn(*bmp, TRect(second.TextX, second.TextY, second.TextX + 4 * CharW, second.TextY + LineH)), 5);
    EXPECT_EQ(InkIn(*bmp, TRect(second.TextX, second.TextY + LineH + 2, box.Right - 1, box.Bottom - 1)), 0)
        << "nothing below the last item";

    // The text event replaces an item's text: the box widens for the longer text.
    chart->OnGetLegendText = [](TObject*, int Style, int Index, std::string& Text) {
        if (Style == lsSeries && Index == 1)
            Text = "a much longer text";
    };
    Draw();
    EXPECT_EQ(L()->ShapeBounds.Right - L()->ShapeBounds.Left - (box.Right - box.Left), (18 - 5) * CharW);
}

TEST_F(LegendDraw, LegendTakesItsRoomFromTheChartRectangleOnItsSide)
{
    AddNamed("alpha", clRed);
    AddNamed("beta", clBlue);
    L()->SetVisible(false);
    Draw();
    const TRect plain = chart->ChartRect;

    // Right: the plot ends before the legend (the gap itself is pinned below).
    L()->SetVisible(true);
    Draw();
    EXPECT_LT(chart->ChartRect.Right, L()->ShapeBounds.Left);
    EXPECT_LT(chart->ChartRect.Right, plain.Right);
    EXPECT_EQ(chart->ChartRect.Left, plain.Left) << "the other sides stay";

    L()->SetHorizMargin(7);
    L()->SetAlignment(laLeft);
    Draw();
    EXPECT_GE(chart->ChartRect.Left, L()->ShapeBounds.Right + 7);
    EXPECT_GT(chart->ChartRect.Left, plain.Left);
    EXPECT_LT(L()->ShapeBounds.Right, W / 2);

    L()->SetAlignment(laTop);
    Draw();
    EXPECT_GT(chart->ChartRect.Top, L()->ShapeBounds.Bottom);
    EXPECT_GT(chart->ChartRect.Top, plain.Top);
    EXPECT_EQ(L()->Rows(), 1) << "two short items sit side by side";
    EXPECT_EQ(L()->Columns(), 2);

    L()->SetAlignment(laBottom);
    L()->SetVertMargin(5);
    Draw();
    EXPECT_LE(chart->ChartRect.Bottom, L()->ShapeBounds.Top - 5);
    EXPECT_LT(chart->ChartRect.Bottom, plain.Bottom);
    EXPECT_GT(L()->ShapeBounds.Top, H / 2);

    // Without ResizeChart the legend is drawn but the plot keeps its size.
    L()->SetAlignment(laRight);
    L()->SetResizeChart(false);
    Draw();
    EXPECT_EQ(chart->ChartRect.Right, plain.Right);
    EXPECT_EQ(L()->ItemPlaces().size(), 2u);

    // A custom-placed legend stands where it was put and takes no room either.
    L()->SetResizeChart(true);
    L()->SetLeft(30);
    L()->SetTop(40);
    EXPECT_TRUE(L()->CustomPosition());
    Draw();
    EXPECT_EQ(chart->ChartRect.Right, plain.Right);
    EXPECT_EQ(L()->ShapeBounds.Left, 30);
    EXPECT_EQ(L()->ShapeBounds.Top, 40);
    ASSERT_EQ(L()->ItemPlaces().size(), 2u);
    EXPECT_GT(L()->ItemPlaces()[0].TextY, 40);
}

// The gap between the legend and the plot is the margin set, or with margin 0 a share of
// the whole chart: 3 % of its width beside a left or right legend, 4 % of its height by a
// top or bottom one (not of the plot that titles and legend left), rounded.
TEST_F(LegendDraw, TheGapBesideTheLegendIsItsMarginOrAShareOfTheWholeChart)
{
    AddNamed("alpha", clRed);
    AddNamed("beta", clBlue);
    // No axis labels between the gap and the plot.
    chart->SetAxisVisible(false);
    struct Case {
        TLegendAlignment Alignment;
        int Width, Height, HorizMargin, VertMargin, Gap;
    };
    const Case cases[] = {
        {laRight, 500, 300, 0, 0, 15},  {laRight, 400, 300, 0, 9, 12}, {laRight, 433, 300, 0, 0, 13},
        {laRight, 400, 300, 7, 0, 7},   {laLeft, 500, 300, 0, 0, 15},  {laLeft, 400, 300, 7, 9, 7},
        {laTop, 400, 300, 0, 0, 12},    {laTop, 400, 350, 9, 0, 14},   {laTop, 400, 300, 7, 5, 5},
        {laBottom, 400, 362, 0, 0, 14}, {laBottom, 500, 300, 0, 0, 12}, {laBottom, 500, 300, 7, 5, 5},
    };
    for (const Case& c : cases) {
        L()->SetAlignment(c.Alignment);
        L()->SetHorizMargin(c.HorizMargin);
        L()->SetVertMargin(c.VertMargin);
        chart->SetBounds(0, 0, c.Width, c.Height);
        chart->DrawToBitmap(clWhite, TRect(0, 0, c.Width, c.Height));
        const TRect plot = chart->ChartRect;
        const TRect box = L()->ShapeBounds;
        const int gap = c.Alignment == laRight  ? box.Left - plot.Right
                        : c.Alignment == laLeft ? plot.Left - box.Right
                        : c.Alignment == laTop  ? plot.Top - box.Bottom - chart->Shadow()->VertSize()
                                                : box.Top - plot.Bottom;
        EXPECT_EQ(gap, c.Gap) << "alignment " << c.Alignment << " on " << c.Width << "x" << c.Height
                              << " with margins " << c.HorizMargin << "," << c.VertMargin;
    }
}

TEST_F(LegendDraw, HiddenLegendOrNoActiveSeriesTakesNoRoom)
{
    TChartSeries* a = AddNamed("alpha", clRed);
    Draw();
    const TRect withLegend = chart->ChartRect;
    L()->SetVisible(false);
    Draw();
    const TRect plain = chart->ChartRect;
    EXPECT_FALSE(L()->ShouldDraw());
    EXPECT_GT(plain.Right, withLegend.Right);
    EXPECT_EQ(plain.Left, withLegend.Left);

    // No active series: nothing to list, and no room taken (same plot as a hidden legend).
    a->SetActive(false);
    Draw();
    const TRect noSeriesHidden = chart->ChartRect;
    L()->SetVisible(true);
    EXPECT_FALSE(L()->ShouldDraw());
    Draw();
    EXPECT_EQ(chart->ChartRect.Right, noSeriesHidden.Right);
}

TEST_F(LegendDraw, ValuesStyleListsThePointsOfTheOnlySeries)
{
    TChartSeries* s = AddNamed("alpha", clRed);
    s->Clear();
    s->AddPointXY(1, 5, "a", clRed);
    s->AddPointXY(2, 7, "b", clLime);
    s->AddPointXY(3, 9, "c", clBlue);
    EXPECT_EQ(L()->CalcLegendStyle(), lsValues);
    EXPECT_EQ(L()->TotalItems(), 3);
    auto bmp = Draw();
    ASSERT_EQ(L()->ItemPlaces().size(), 3u);
    // The default text style puts the value before the label, in two columns.
    EXPECT_EQ(L()->ItemText(1), std::string("7") + char(6) + "b");
    const TColor expected[] = {clRed, clLime, clBlue};
    for (int t = 0; t < 3; ++t) {
        const TRect& r = L()->ItemPlaces()[t].Symbol;
        EXPECT_EQ(Px(*bmp, (r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2), expected[t]) << "value " << t;
    }

    L()->SetTextStyle(ltsPlain);
    EXPECT_EQ(L()->ItemText(2), "c");

    // FirstValue skips values; paging shows the current page's values.
    L()->SetFirstValue(1);
    Draw();
    ASSERT_EQ(L()->ItemPlaces().size(), 2u);
    EXPECT_EQ(L()->ItemPlaces()[0].Index, 1);
    L()->SetFirstValue(0);
    chart->SetMaxPointsPerPage(2);
    chart->SetPage(2);
    Draw();
    ASSERT_EQ(L()->ItemPlaces().size(), 1u);
    EXPECT_EQ(L()->ItemPlaces()[0].Index, 2);
    EXPECT_EQ(L()->FirstValue(), 0) << "paging leaves the property alone";

    // A second active series switches the automatic style to the series.
    AddNamed("beta", clBlue);
    EXPECT_EQ(L()->CalcLegendStyle(), lsSeries);
    L()->SetLegendStyle(lsLastValues);
    L()->SetTextStyle(ltsLeftValue);
    EXPECT_EQ(L()->ItemText(0), "9" + std::string(1, char(6)) + "c");
    EXPECT_EQ(L()->ItemText(1), "10") << "the last value of the second series";
}

TEST_F(LegendDraw, ClickedItemIsTheOneDrawnThereInEveryLayout)
{
    AddNamed("first series of three", clRed);
    AddNamed("second series of three", clLime);
    AddNamed("third series of three", clBlue);
    for (TLegendAlignment a : {laRight, laBottom}) {
        for (bool inverted : {false, true}) {
            L()->SetAlignment(a);
            L()->SetInverted(inverted);
            Draw();
            const auto places = L()->ItemPlaces();
            ASSERT_EQ(places.size(), 3u);
            if (a == laBottom) {
                EXPECT_EQ(L()->Columns(), 2) << "long titles leave a partly filled last row";
                // The empty cell after the last item of the last row holds no item.
                int right = places[0].TextX, bottom = places[0].TextY;
                for (const auto& p : places) {
                    right = std::max(right, p.TextX);
                    bottom = std::max(bottom, p.TextY);
                }
                EXPECT_EQ(L()->Clicked(right + 2, bottom + 3), -1) << "inverted " << inverted;
            }
            for (const auto& p : places)
                EXPECT_EQ(L()->Clicked(p.TextX + 2, p.TextY + 3), p.Index)
                    << "alignment " << a << " inverted " << inverted;
            EXPECT_EQ(L()->Clicked(L()->ShapeBounds.Left - 2, places[0].TextY + 3), -1);
            EXPECT_EQ(L()->Clicked(places[0].TextX + 2, L()->ShapeBounds.Bottom + 2), -1);
        }
    }
    // Inverted, the first item sits at the end.
    L()->SetAlignment(laRight);
    Draw();
    EXPECT_GT(L()->ItemPlaces()[0].TextY, L()->ItemPlaces()[2].TextY);

    // The chart's click search finds the legend item.
    const auto& p = L()->ItemPlaces()[1];
    const TChartClickedPart part = chart->ClickedPart(p.TextX + 2, p.TextY + 3);
    EXPECT_EQ(part.Part, cpLegend);
    EXPECT_EQ(part.PointIndex, 1);

    // Items wider than the chart still make one column, not none.
    L()->SetAlignment(laBottom);
    L()->SetInverted(false);
    chart->DrawToBitmap(clWhite, TRect(0, 0, 90, 300));
    EXPECT_EQ(L()->Columns(), 1);
    const auto& q = L()->ItemPlaces()[2];
    EXPECT_EQ(L()->Clicked(q.TextX + 2, q.TextY + 3), 2);
}

TEST_F(LegendDraw, CheckBoxesSwitchSeriesOnAndOff)
{
    ClickChart c(nullptr);
    c.Canvas()->SetTextMeasurer(std::make_shared<TFixedTextMeasurer>(CharW, 10, 3));
    c.SetBounds(0, 0, W, H);
    c.SetView3D(false);
    std::vector<TChartSeries*> series;
    for (int t = 0; t < 3; ++t) {
        auto* s = new TChartSeries(&form);
        c.AddSeries(s);
        s->AddPointXY(0, t);
        series.push_back(s);
    }
    c.Legend()->SetCheckBoxes(true);
    series[1]->SetActive(false);
    EXPECT_EQ(c.Legend()->TotalItems(), 3) << "check boxes list inactive series too";
    auto bmp = c.DrawToBitmap(clWhite, TRect(0, 0, W, H));
    ASSERT_EQ(c.Legend()->ItemPlaces().size(), 3u);
    EXPECT_GE(c.Legend()->ItemHeightUsed(), 17);

    int clicks = 0;
    c.OnClickLegend = [&](TObject*, TMouseButton, TShiftState, int, int) { ++clicks; };
    const auto place = c.Legend()->ItemPlaces()[1];
    c.MouseDown(mbLeft, 0, place.TextX + 2, place.TextY + 3);
    EXPECT_TRUE(series[1]->Active());
    EXPECT_EQ(clicks, 1);
    c.MouseDown(mbLeft, 0, place.TextX + 2, place.TextY + 3);
    EXPECT_FALSE(series[1]->Active());

    // Radio style: the switch leaves the first active series alone; a click selects one.
    series[1]->SetActive(true);
    c.Legend()->SetCheckBoxesStyle(cbsRadio);
    EXPECT_TRUE(series[0]->Active());
    EXPECT_FALSE(series[1]->Active());
    EXPECT_FALSE(series[2]->Active());
    EXPECT_TRUE(c.Legend()->ClickCheckBox(2));
    EXPECT_FALSE(series[0]->Active());
    EXPECT_TRUE(series[2]->Active());

    // Without check boxes a click toggles nothing.
    c.Legend()->SetCheckBoxes(false);
    EXPECT_FALSE(c.Legend()->ClickCheckBox(0));
    EXPECT_FALSE(series[0]->Active());
}

TEST(LegendChecks, FirstValueAndColorWidthRejectBadValues)
{
    const testsupport::ChartStarted started;
    {
        TChart c(nullptr);
        TChartLegend* l = c.Legend();
        l->SetFirstValue(3);
        try {
            l->SetFirstValue(-1);
            ADD_FAILURE() << "a negative first value is accepted";
        } catch (const LegendException& e) {
            EXPECT_EQ(e.Message(), "First Legend Value must be > 0");
        }
        EXPECT_EQ(l->FirstValue(), 3);
        l->SetFirstValue(0);
        EXPECT_EQ(l->FirstValue(), 0);

        EXPECT_EQ(l->ColorWidth(), 20);
        try {
            l->SetColorWidth(0);
            ADD_FAILURE() << "a zero colour width is accepted";
        } catch (const LegendException& e) {
            EXPECT_EQ(e.Message(), "Legend Color Width must be > 0%");
        }
        EXPECT_EQ(l->ColorWidth(), 20);
        l->SetColorWidth(35);
        EXPECT_EQ(l->Symbol()->Width(), 35);

        // Defaults the chart starts with.
        EXPECT_EQ(l->Alignment(), laRight);
        EXPECT_EQ(l->LegendStyle(), lsAuto);
        EXPECT_EQ(l->TextStyle(), ltsLeftValue);
        EXPECT_EQ(l->MaxNumRows(), 10);
        EXPECT_EQ(l->TopPos(), 10);
        EXPECT_TRUE(l->ResizeChart());
        EXPECT_FALSE(l->DividingLines()->Visible());
        EXPECT_EQ(l->LegendGradient()->Direction(), gdRightLeft);
        EXPECT_EQ(l->LegendGradient()->StartColor(), clSilver);
        EXPECT_TRUE(l->Title()->Transparent());
        EXPECT_TRUE(l->Title()->Font()->Style() & fsBold);
    }
}

} // namespace
