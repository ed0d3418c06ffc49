// The axis panel's drawing pipeline: the order of its stages, the axes it lays out and
// draws, series drawing with clipping and the axes over or under the series, 3D sizes
// and paging.
#include "TeEngine.h"
#include "PixelProbe.h"
#include "TeeConst.h"
#include "graphics/TextMeasure.h"

#include "ChartStarted.h"
#include "TestSupport.h"
#include "controls/Printers.h"

#include <gtest/gtest.h>

#include <filesystem>

#include <memory>
#include <string>
#include <vector>

namespace {

using testsupport::Px;

// A panel that writes every slot it is asked to fill into a shared log.
class LogPanel : public TCustomAxisPanel {
public:
    LogPanel(TComponent* AOwner, std::vector<std::string>& Log) : TCustomAxisPanel(AOwner), FLog(Log) {}
    bool IsColorUnused(TColor, bool, TChartSeries*) override { return true; }
    void ReserveWallSpace() override
    {
        FLog.push_back("reserve");
        TCustomAxisPanel::ReserveWallSpace();
    }
    void DrawWalls() override { FLog.push_back("walls"); }
    void PlaceTitlesAndLegend(bool FirstPass) override { FLog.push_back(FirstPass ? "titles1" : "titles0"); }

private:
    std::vector<std::string>& FLog;
};

class LogTool : public TTeeCustomTool {
public:
    LogTool(TComponent* AOwner, std::vector<std::string>& Log) : TTeeCustomTool(AOwner), FLog(Log) {}
    void ChartStageEvent(TChartToolEvent Stage) override
    {
        FLog.push_back("stage" + std::to_string(int(Stage)));
        if (ParentChart() != nullptr && ParentChart()->AutoRepaint())
            FLog.push_back("repaint-on");
    }

private:
    std::vector<std::string>& FLog;
};

// A series that paints its whole point range as one red block far beyond the plot.
class BlockSeries : public TChartSeries {
public:
    using TChartSeries::TChartSeries;
    void DrawValue(int ValueIndex) override
    {
        TTeeCanvas3D* c = ParentChart()->Canvas();
        c->Brush()->SetStyle(bsSolid);
        c->Brush()->SetColor(clRed);
        c->Pen()->SetStyle(psClear);
        c->FillRect(TRect(-1000, -1000, 5000, 5000));
        Drawn.push_back(ValueIndex);
    }
    std::vector<int> Drawn;
};

struct Pipeline : testsupport::ChartStartedTest {
    void SetUp() override
    {
        chart = std::make_unique<LogPanel>(nullptr, log);
        chart->Canvas()->SetTextMeasurer(std::make_shared<TFixedTextMeasurer>(6, 10, 3));
        chart->SetBounds(0, 0, W, H);
        chart->SetColor(clWhite);
    }
    void TearDown() override
    {
        chart.reset();
    }
    std::unique_ptr<TBitmap> Draw() { return chart->DrawToBitmap(clWhite, TRect(0, 0, W, H)); }
    static constexpr int W = 400, H = 300;
    std::vector<std::string> log;
    TComponent form{nullptr};
    std::unique_ptr<LogPanel> chart;
};

TEST_F(Pipeline, StagesReachToolsAndSlotsInTheirFixedOrder)
{
    auto* tool = new LogTool(&form, log);
    chart->Tools()->AddTool(tool);
    auto* quiet = new LogTool(&form, log);
    chart->Tools()->AddTool(quiet);
    quiet->SetActive(false);
    chart->OnBeforeDrawChart = [&](TObject*) { log.push_back("beforeChart"); };
    chart->OnBeforeDrawAxes = [&](TObject*) { log.push_back("beforeAxes"); };
    chart->OnBeforeDrawSeries = [&](TObject*) { log.push_back("beforeSeries"); };
    chart->OnAfterDraw = [&](TObject*) { log.push_back("afterDraw"); };

    Draw();
    const std::vector<std::string> behind = {"stage2", "beforeChart", "titles1", "reserve", "walls",
                                             "stage3", "beforeAxes", "stage1", "beforeSeries", "stage4",
                                             "titles0", "stage0", "afterDraw"};
    EXPECT_EQ(log, behind);
    EXPECT_TRUE(chart->AutoRepaint()) << "automatic repaint comes back after drawing";

    log.clear();
    chart->SetAxisBehind(false);
    Draw();
    const std::vector<std::string> over = {"stage2", "beforeChart", "titles1", "reserve", "walls",
                                           "stage1", "beforeSeries", "stage4", "stage3", "beforeAxes",
                                           "titles0", "stage0", "afterDraw"};
    EXPECT_EQ(log, over);

    // Hidden axes: no axis stage event for them, but the stage still reaches the tools.
    log.clear();
    chart->SetAxisVisible(false);
    Draw();
    EXPECT_EQ(std::count(log.begin(), log.end(), "beforeAxes"), 0);
    EXPECT_EQ(std::count(log.begin(), log.end(), "stage3"), 1);
}

TEST_F(Pipeline, AutomaticRepaintComesBackWhenADrawingStepFails)
{
    chart->OnBeforeDrawSeries = [](TObject*) { throw Exception("broken handler"); };
    EXPECT_THROW(Draw(), Exception);
    EXPECT_TRUE(chart->AutoRepaint());
    chart->SetAutoRepaint(false);
    chart->OnBeforeDrawSeries = nullptr;
    Draw();
    EXPECT_FALSE(chart->AutoRepaint()) << "a switched-off repaint stays off";
}

TEST_F(Pipeline, EmptyFlatChartLaysOutAndDrawsItsLeftAndBottomAxes)
{
    chart->SetView3D(false);
    auto bmp = Draw();
    const TRect plot = chart->ChartRect;
    // The axes took room for their labels and ticks from the margins' rectangle.
    EXPECT_GT(plot.Left, W * 3 / 100 + 6);
    EXPECT_LT(plot.Bottom, H - H * 4 / 100 - 6);
    EXPECT_EQ(chart->ChartWidth, plot.Right - plot.Left);

    // Left axis line just left of the plot, bottom axis line at its bottom edge.
    const int midY = (plot.Top + plot.Bottom) / 2, midX = (plot.Left + plot.Right) / 2;
    bool left = false, bottom = false;
    for (int x = plot.Left - 3; x <= plot.Left; ++x)
        left = left || Px(*bmp, x, midY + 1) == clBlack;
    for (int y = plot.Bottom - 1; y <= plot.Bottom + 2; ++y)
        bottom = bottom || Px(*bmp, midX + 1, y) == clBlack;
    EXPECT_TRUE(left);
    EXPECT_TRUE(bottom);
    // The corner outside the plot keeps the panel's colour.
    EXPECT_EQ(Px(*bmp, W - 2, 2), clWhite);
}

TEST_F(Pipeline, SeriesAreClippedToThePlotAndAxesDrawnUnderOrOverThem)
{
    chart->SetView3D(false);
    auto* s = new BlockSeries(&form);
    chart->AddSeries(s);
    s->AddPointXY(0, 0);
    s->AddPointXY(1, 1);
    s->AddPointXY(2, 2);

    auto bmp = Draw();
    EXPECT_EQ(s->Drawn, (std::vector<int>{0, 1, 2}));
    const TRect plot = chart->ChartRect;
    EXPECT_EQ(Px(*bmp, (plot.Left + plot.Right) / 2, (plot.Top + plot.Bottom) / 2), clRed);
    EXPECT_EQ(Px(*bmp, 1, 1), clWhite) << "the series stays inside the plot box";
    EXPECT_EQ(Px(*bmp, plot.Left - 8, (plot.Top + plot.Bottom) / 2), clWhite);

    // With the axes behind the series, the grid lines are covered; drawn after, they show.
    auto countGrid = [&](TBitmap& b) {
        int n = 0;
        for (int y = plot.Top + 2; y < plot.Bottom - 2; ++y)
            for (int x = plot.Left + 2; x < plot.Right - 2; ++x)
                n += Px(b, x, y) != clRed;
        return n;
    };
    EXPECT_EQ(countGrid(*bmp), 0);
    chart->SetAxisBehind(false);
    bmp = Draw();
    EXPECT_GT(countGrid(*bmp), 50);

    // Without clipping the block covers the whole picture.
    chart->SetClipPoints(false);
    bmp = Draw();
    EXPECT_EQ(Px(*bmp, 1, 1), clRed);
}

TEST_F(Pipeline, ThreeDSizesFollowPercentViewAndZoom)
{
    EXPECT_THROW(chart->SetChart3DPercent(0), Exception);
    EXPECT_THROW(chart->SetChart3DPercent(101), Exception);
    chart->SetChart3DPercent(1);
    chart->SetChart3DPercent(100);
    chart->SetChart3DPercent(15);

    chart->ChartWidth = 400;
    chart->View3DOptions()->SetOrthogonal(true);
    chart->Calc3DSize();
    EXPECT_EQ(chart->SeriesWidth3D, 6);   // 400 * 0.015
    EXPECT_EQ(chart->SeriesHeight3D, 6);
    chart->MaxZOrder = 2;
    chart->Calc3DSize();
    EXPECT_EQ(chart->Width3D, 18);
    EXPECT_EQ(chart->Height3D, 18);

    chart->MaxZOrder = 0;
    chart->View3DOptions()->SetOrthogonal(false);
    chart->View3DOptions()->SetZoom(200);
    chart->Calc3DSize();
    EXPECT_EQ(chart->SeriesWidth3D, 6);    // 12 shrunk by the zoom of 2
    EXPECT_EQ(chart->SeriesHeight3D, 12);

    chart->SetView3D(false);
    chart->Calc3DSize();
    EXPECT_EQ(chart->Width3D, 0);
    EXPECT_EQ(chart->SeriesHeight3D, 0);
}

TEST_F(Pipeline, FlatChartDrawsNoDepth)
{
    chart->SetView3D(false);
    auto* s = new BlockSeries(&form);
    chart->AddSeries(s);
    s->AddPointXY(0, 0);
    Draw();
    EXPECT_EQ(chart->Width3D, 0);
    EXPECT_EQ(chart->MaxZOrder, 0);
    EXPECT_FALSE(chart->BackFacing());
    EXPECT_FALSE(chart->IsPlaneBackFacing(0));
    chart->SetView3D(true);
    Draw();
    EXPECT_GT(chart->Width3D, 0);
}

TEST_F(Pipeline, PagesClampAndScaleTheLastPage)
{
    auto* s = new TChartSeries(&form);
    chart->AddSeries(s);
    for (int i = 0; i < 25; ++i)
        s->AddPointXY(i, 100 + i);
    EXPECT_EQ(chart->NumPages(), 1);
    EXPECT_THROW(chart->SetMaxPointsPerPage(-1), ChartException);

    int changes = 0;
    chart->OnPageChange = [&](TObject*) { ++changes; };
    chart->SetMaxPointsPerPage(10);
    EXPECT_EQ(chart->NumPages(), 3);
    chart->SetPage(0);
    EXPECT_EQ(chart->Page(), 1);
    chart->SetPage(9);
    EXPECT_EQ(chart->Page(), 3);
    EXPECT_EQ(changes, 1);

    TChartAxis* x = chart->BottomAxis();
    EXPECT_DOUBLE_EQ(chart->MinXValue(x), 20);
    EXPECT_DOUBLE_EQ(chart->MaxXValue(x), 24);
    // Not paged: the vertical axis spans every point.
    EXPECT_DOUBLE_EQ(chart->MinYValue(chart->LeftAxis()), 100);
    EXPECT_DOUBLE_EQ(chart->MaxYValue(chart->LeftAxis()), 124);
    // A short last page keeps the spacing of a full one: 5 points over 10 slots.
    chart->SetScaleLastPage(false);
    EXPECT_DOUBLE_EQ(chart->MaxXValue(x), 28);
    chart->SetPage(2);
    EXPECT_DOUBLE_EQ(chart->MinXValue(x), 10);
    EXPECT_DOUBLE_EQ(chart->MaxXValue(x), 19);

    // Fewer points per page than the page shown: the page comes down to the last one.
    chart->SetMaxPointsPerPage(20);
    EXPECT_EQ(chart->Page(), 2);
    chart->SetMaxPointsPerPage(30);
    EXPECT_EQ(chart->Page(), 1);
}

TEST_F(Pipeline, PrintPagesSelectsEachPageAndComesBackToTheOneShown)
{
    auto* s = new TChartSeries(&form);
    chart->AddSeries(s);
    for (int i = 0; i < 25; ++i)
        s->AddPointXY(i, i);
    chart->SetMaxPointsPerPage(10);
    chart->SetPage(2);
    std::vector<int> printed;
    chart->OnBeforeDrawChart = [&](TObject*) { printed.push_back(chart->Page()); };

    const std::string file = testsupport::TempDir() + "/pages.pdf";
    Printer()->SetFileName(file);
    chart->PrintPages();
    Printer()->SetFileName({});
    EXPECT_EQ(printed, (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(chart->Page(), 2);
    EXPECT_FALSE(Printer()->Printing());
    EXPECT_TRUE(std::filesystem::exists(file));

    // A failing page ends the job and still brings the shown page back.
    printed.clear();
    chart->OnBeforeDrawChart = [&](TObject*) {
        printed.push_back(chart->Page());
        if (chart->Page() == 3)
            throw Exception("paper jam");
    };
    Printer()->SetFileName(file);
    EXPECT_THROW(chart->PrintPages(2, 0), Exception);
    Printer()->SetFileName({});
    EXPECT_EQ(printed, (std::vector<int>{2, 3}));
    EXPECT_EQ(chart->Page(), 2);
    EXPECT_FALSE(Printer()->Printing());
}

} // namespace
