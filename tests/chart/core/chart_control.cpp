// The chart control: the clicked-part search, click events, axis names, colour choice,
// design-state title, copying, and a whole empty chart as a picture.
#include "chart_fixture_support.h"

#include "ChartStarted.h"
#include "TestSupport.h"

#include <string>
#include <vector>

using namespace charttest;

namespace {

// A chart whose mouse handler a test can call.
class ClickChart : public TChart {
public:
    using TChart::TChart;
    using TChart::MouseDown;
};

// A series that answers point 0 anywhere inside Box.
class BoxSeries : public TChartSeries {
public:
    using TChartSeries::TChartSeries;
    int Clicked(int X, int Y) override { return X >= Box.Left && X < Box.Right && Y >= Box.Top && Y < Box.Bottom ? 0 : -1; }
    TRect Box{100, 100, 120, 120};
};

struct Control : ChartTest {
    // A flat chart with a title "Cp" and one series, drawn once so that every part has
    // its place.
    void Prepare(TCustomChart* C)
    {
        C->Canvas()->SetTextMeasurer(std::make_shared<TFixedTextMeasurer>(CharW, 10, 3));
        C->SetBounds(0, 0, W, H);
        C->SetView3D(false);
        C->Title()->Text()->Add("Cp");
        C->DrawToBitmap(clWhite, TRect(0, 0, W, H));
    }
    TPoint TitleCentre(TCustomChart* C)
    {
        const TRect b = C->Title()->ShapeBounds;
        return TPoint((b.Left + b.Right) / 2, (b.Top + b.Bottom) / 2);
    }
};

TEST_F(Control, ClickedPartFindsTitleAxisSeriesAndPlot)
{
    auto* s = new BoxSeries(&form);
    chart->AddSeries(s);
    s->AddPointXY(0, 0);
    s->AddPointXY(10, 10);
    Prepare(chart.get());
    const TRect r = chart->ChartRect;

    const TPoint t = TitleCentre(chart.get());
    EXPECT_EQ(chart->ClickedPart(t.X, t.Y).Part, cpTitle);

    // On the left axis line, just left of the plot.
    const TChartClickedPart a = chart->ClickedPart(chart->LeftAxis()->PosAxis - 1, (r.Top + r.Bottom) / 2 + 3);
    EXPECT_EQ(a.Part, cpAxis);
    EXPECT_EQ(a.AAxis, chart->LeftAxis());

    // Inside the plot, away from the series: the chart rectangle.
    EXPECT_EQ(chart->ClickedPart(r.Right - 5, r.Top + 5).Part, cpChartRect);
    // On the series: found without events; skipped when only events count and nobody
    // listens, so the click falls through to the plot.
    s->Box = TRect(r.Left + 20, r.Top + 20, r.Left + 40, r.Top + 40);
    const TChartClickedPart p = chart->ClickedPart(r.Left + 30, r.Top + 30);
    EXPECT_EQ(p.Part, cpSeries);
    EXPECT_EQ(p.ASeries, s);
    EXPECT_EQ(p.PointIndex, 0);
    EXPECT_EQ(chart->ClickedPart(r.Left + 30, r.Top + 30, true).Part, cpChartRect);
    chart->OnClickSeries = [](TObject*, TChartSeries*, int, TMouseButton, TShiftState, int, int) {};
    EXPECT_EQ(chart->ClickedPart(r.Left + 30, r.Top + 30, true).Part, cpSeries);

    // Outside everything: none; the plot of a chart without active series: none.
    EXPECT_EQ(chart->ClickedPart(W - 2, H - 2).Part, cpNone);
    s->SetActive(false);
    EXPECT_EQ(chart->ClickedPart(r.Right - 5, r.Top + 5).Part, cpNone);
}

TEST_F(Control, ClickEventsClaimTheClickUnlessTheyGiveItBack)
{
    ClickChart c(nullptr);
    auto* s = new TChartSeries(&form);
    c.AddSeries(s);
    s->AddPointXY(0, 0);
    s->AddPointXY(1, 1);
    Prepare(&c);
    std::vector<std::string> log;
    c.OnClickTitle = [&](TObject*, TChartTitle* T, TMouseButton, TShiftState, int, int) {
        log.push_back(T == c.Title() ? "title" : "other title");
    };
    c.OnClickBackground = [&](TObject*, TMouseButton, TShiftState, int, int) { log.push_back("background"); };

    const TPoint t = TitleCentre(&c);
    c.MouseDown(mbLeft, 0, t.X, t.Y);
    EXPECT_EQ(log, (std::vector<std::string>{"title"}));
    EXPECT_FALSE(c.CancelMouse) << "the flag is cleared after the click";

    // A title handler that gives the click back lets the background hear it.
    log.clear();
    c.OnClickTitle = [&](TObject*, TChartTitle*, TMouseButton, TShiftState, int, int) {
        log.push_back("title");
        c.CancelMouse = false;
    };
    c.MouseDown(mbLeft, 0, t.X, t.Y);
    EXPECT_EQ(log, (std::vector<std::string>{"title", "background"}));

    // A click in the plot goes to the background once.
    log.clear();
    const TRect r = c.ChartRect;
    c.MouseDown(mbLeft, 0, r.Right - 5, r.Top + 5);
    EXPECT_EQ(log, (std::vector<std::string>{"background"}));
}

TEST_F(Control, AxisNamesColoursAndBackColour)
{
    EXPECT_EQ(chart->GetAxisName(chart->RightAxis()), "Right Axis");
    EXPECT_EQ(chart->GetAxisName(chart->LeftAxis()), "Left Axis");
    EXPECT_EQ(chart->GetAxisName(chart->TopAxis()), "Top Axis");
    EXPECT_EQ(chart->GetAxisName(chart->BottomAxis()), "Bottom Axis");
    EXPECT_EQ(chart->GetAxisName(chart->DepthAxis()), "Depth Right");
    EXPECT_EQ(chart->GetAxisName(chart->DepthTopAxis()), "Depth Top");
    chart->BottomAxis()->Title()->SetCaption("T, K");
    EXPECT_EQ(chart->GetAxisName(chart->BottomAxis()), "T, K");

    // The panel's colour is free unless the background counts; so is the back wall's.
    EXPECT_TRUE(chart->IsColorUnused(clWhite, false, nullptr));
    EXPECT_FALSE(chart->IsColorUnused(clWhite, true, nullptr));
    EXPECT_FALSE(chart->IsColorUnused(clSilver, true, nullptr));
    TChartSeries* s = AddSeries();
    const TColor used = s->SeriesColor();
    EXPECT_FALSE(chart->IsColorUnused(used, false, nullptr));
    EXPECT_TRUE(chart->IsColorUnused(used, false, s));
    // A second series takes another colour than the first.
    TChartSeries* s2 = AddSeries();
    EXPECT_NE(s2->SeriesColor(), used);

    EXPECT_EQ(chart->GetBackColor(), clWhite) << "transparent back wall: the panel's colour";
    chart->BackWall()->SetTransparent(false);
    EXPECT_EQ(chart->GetBackColor(), clSilver);
    chart->SetBackColor(clYellow);
    EXPECT_EQ(chart->BackWall()->Color(), clYellow);
}

TEST_F(Control, DesignStateTitleAndCopying)
{
    TComponent designForm(nullptr);
    designForm.SetDesigning(true);
    TChart* designed = new TChart(&designForm);
    ASSERT_EQ(designed->Title()->Text()->Count(), 1);
    EXPECT_EQ(designed->Title()->Text()->Strings(0), "TChart");
    EXPECT_EQ(chart->Title()->Text()->Count(), 0) << "not in a design state";

    TChart other(nullptr);
    other.Title()->Text()->Add("copied");
    other.Title()->SetAlignment(taRightJustify);
    other.LeftWall()->SetSize(9);
    other.SetScrollMouseButton(mbMiddle);
    other.SetView3DWalls(false);
    other.SetMaxPointsPerPage(4);
    chart->Assign(&other);
    EXPECT_EQ(chart->Title()->Text()->Strings(0), "copied");
    EXPECT_EQ(chart->Title()->Alignment(), taRightJustify);
    EXPECT_EQ(chart->LeftWall()->Size(), 9);
    EXPECT_EQ(chart->ScrollMouseButton(), mbMiddle);
    EXPECT_FALSE(chart->View3DWalls());
    EXPECT_EQ(chart->MaxPointsPerPage(), 4);
}

// A chart that draws itself into a canvas as its pictures are drawn.
class PictureChart : public TChart {
public:
    using TChart::DrawOffScreen;
    using TChart::TChart;
};

// A picture is the chart drawn on a white bitmap, whatever its own background leaves
// uncovered: no panel colour, a gradient, a shadow, round corners, a back image, black
// and white, 3D, and a printed chart, which draws no panel at all.
TEST(ChartPicture, APictureIsTheChartDrawnOnWhite)
{
    const testsupport::ChartStarted started;
    TBitmap tile(9, 7);
    tile.Canvas()->Brush()->SetColor(clTeal);
    tile.Canvas()->Ellipse(0, 0, 9, 7);
    struct Case {
        const char* Name;
        std::function<void(TChart&)> Setup;
        bool Printed = false;
    };
    const std::vector<Case> cases = {
        {"no-panel-colour", [](TChart& c) { c.SetColor(clNone); }},
        {"gradient",
         [](TChart& c) {
             c.Gradient()->SetStartColor(clYellow);
             c.Gradient()->SetEndColor(clNavy);
             c.Gradient()->SetVisible(true);
         }},
        {"shadow",
         [](TChart& c) {
             c.Shadow()->SetColor(clGray);
             c.Shadow()->SetSize(7);
         }},
        {"round-corners", [](TChart& c) { c.SetBorderRound(40); }},
        {"back-image",
         [&](TChart& c) {
             c.SetColor(clNone);
             c.BackImage()->SetGraphic(&tile);
             c.SetBackImageMode(pbmCenter);
         }},
        {"black-and-white", [](TChart& c) { c.SetMonochrome(true); }},
        {"3D", [](TChart& c) { c.SetView3D(true); }},
        {"printed", [](TChart&) {}, true},
    };
    constexpr int W = 240, H = 170;
    const TRect all(0, 0, W, H);
    for (const Case& k : cases) {
        PictureChart c(nullptr);
        c.Canvas()->SetTextMeasurer(std::make_shared<TFixedTextMeasurer>(CharW, 10, 3));
        c.SetBounds(0, 0, W, H);
        c.SetColor(clSilver);
        c.SetView3D(false);
        c.Title()->Text()->Add("Cp");
        auto* s = new TChartSeries(&c);
        c.AddSeries(s);
        s->AddPointXY(0, 2);
        s->AddPointXY(10, 7);
        k.Setup(c);
        TBitmap white(W, H);
        for (int y = 0; y < H; ++y)
            std::fill_n(reinterpret_cast<uint32_t*>(white.ScanLine(y)), W, 0xFFFFFFFFu);
        std::unique_ptr<TBitmap> picture;
        if (k.Printed) {
            picture = std::make_unique<TBitmap>(W, H);
            c.PrintPartialCanvas(picture->Canvas(), all);
            c.PrintPartialCanvas(white.Canvas(), all);
        } else {
            picture = c.DrawToBitmap(clWhite, all);
            c.DrawOffScreen(white.Canvas(), all);
        }
        int differ = 0;
        for (int y = 0; y < H; ++y)
            for (int x = 0; x < W; ++x)
                differ += Px(*picture, x, y) != Px(white, x, y) ? 1 : 0;
        EXPECT_EQ(differ, 0) << k.Name;
        if (const std::string path = testsupport::ArtifactPath(std::string("picture-on-white-") + k.Name + ".png");
            !path.empty())
            picture->SaveToFile(path);
    }
}

TEST(ChartPicture, EmptyChartWithTitleAxisTitlesWallsAndGrid)
{
    const testsupport::ChartStarted started;
    {
        TChart c(nullptr);
        c.SetBounds(0, 0, 600, 400);
        c.Title()->Text()->Add("Cp");
        c.BottomAxis()->Title()->SetCaption("T, K");
        c.LeftAxis()->Title()->SetCaption("Cp, J/(mol K)");
        // Fixed ranges and value labels give an empty chart labels and a grid.
        c.BottomAxis()->SetMinMax(0, 300);
        c.LeftAxis()->SetMinMax(0, 50);
        c.BottomAxis()->SetLabelStyle(talValue);
        c.LeftAxis()->SetLabelStyle(talValue);
        c.SetView3D(false);
        c.BackWall()->SetTransparent(false);
        c.BackWall()->SetColor(clWhite);
        auto bmp = c.DrawToBitmap(clWhite, TRect(0, 0, 600, 400));
        if (const std::string path = testsupport::ArtifactPath("chart-empty.png"); !path.empty())
            bmp->SaveToFile(path);
        const TRect r = c.ChartRect;
        // Title above the plot, axis titles beside it, all inside the picture.
        EXPECT_LT(c.Title()->ShapeBounds.Bottom, r.Top);
        EXPECT_GT(c.Title()->ShapeBounds.Top, 0);
        EXPECT_GT(r.Left, 20) << "room for the left axis' labels and title";
        EXPECT_LT(r.Bottom, 400 - 20) << "room for the bottom axis' labels and title";
        // The plot is white inside its black frame, crossed by grid lines.
        EXPECT_EQ(Px(*bmp, r.Left + 3, r.Top + 3), clWhite);
        int grid = 0;
        for (int y = r.Top + 2; y < r.Top + 10; ++y)
            for (int x = r.Left + 2; x < r.Right - 2; ++x)
                grid += Px(*bmp, x, y) != clWhite;
        EXPECT_GT(grid, 20);
        EXPECT_EQ(Px(*bmp, (r.Left + r.Right) / 2 + 1, r.Top), clBlack);
    }
}

} // namespace

namespace {

TEST_F(Control, UndoZoomPutsTheSavedAxesBackOnce)
{
    TChartAxis* x = chart->BottomAxis();
    TChartAxis* y = chart->LeftAxis();
    x->SetMinMax(10, 20);
    y->SetAutomatic(true);
    chart->SaveAxesState();
    chart->NothingSaved = false;
    // A zoom that lies wholly below the saved range, and one on the vertical axis.
    x->SetMinMax(1, 5);
    y->SetMinMax(-5, -1);
    chart->SetZoomed(true);
    int undos = 0;
    chart->OnUndoZoom = [&](TObject*) { ++undos; };

    chart->UndoZoom();
    EXPECT_DOUBLE_EQ(x->Minimum(), 10);
    EXPECT_DOUBLE_EQ(x->Maximum(), 20);
    EXPECT_FALSE(x->Automatic());
    EXPECT_TRUE(y->Automatic());
    EXPECT_TRUE(y->AutomaticMinimum());
    EXPECT_TRUE(chart->NothingSaved);
    EXPECT_FALSE(chart->Zoomed());
    EXPECT_EQ(undos, 1);

    // With nothing saved the axes stay, but the event still fires.
    x->SetMinMax(1, 2);
    chart->UndoZoom();
    EXPECT_DOUBLE_EQ(x->Minimum(), 1);
    EXPECT_EQ(undos, 2);
}

TEST_F(Control, UndoZoomMatchesTheSavedStateByTheAxis)
{
    auto* first = static_cast<TChartAxis*>(chart->CustomAxes()->Add());
    auto* second = static_cast<TChartAxis*>(chart->CustomAxes()->Add());
    first->SetMinMax(10, 20);
    second->SetAutomatic(true);
    chart->SaveAxesState();
    chart->NothingSaved = false;
    second->SetMinMax(3, 4);
    // The first custom axis goes: the second keeps its own saved state, not the first's.
    chart->CustomAxes()->Delete(0);
    // An axis added since the save, perhaps where the freed one was, has none.
    auto* added = static_cast<TChartAxis*>(chart->CustomAxes()->Add());
    added->SetMinMax(7, 8);
    chart->UndoZoom();
    EXPECT_TRUE(second->Automatic());
    EXPECT_TRUE(second->AutomaticMinimum());
    EXPECT_TRUE(second->AutomaticMaximum());
    EXPECT_FALSE(added->Automatic());
    EXPECT_DOUBLE_EQ(added->Minimum(), 7);
    EXPECT_DOUBLE_EQ(added->Maximum(), 8);
}

} // namespace
