// Zooming by dragging a rectangle, undoing by dragging back, panning with the scroll
// button and wheel scrolling, all driven through the chart's mouse entry points.
#include "chart_fixture_support.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

using namespace charttest;

namespace {

// Records the mouse events it hears.
class UpRecorder : public TTeeCustomTool {
public:
    using TTeeCustomTool::TTeeCustomTool;
    std::vector<TTeeMouseEventKind> Heard;
    void HandleChartMouse(TTeeMouseEventKind Kind, TMouseButton, TShiftState, int, int) override
    {
        Heard.push_back(Kind);
    }
};

struct ZoomTest : ChartTest {
    void SetUp() override
    {
        ChartTest::SetUp();
        chart->SetView3D(false);
        AddSeries();
        X()->SetMinMax(0, 100);
        Y()->SetMinMax(0, 50);
        Layout();
        chart->OnZoom = [this](TObject*) { ++zooms; };
        chart->OnUndoZoom = [this](TObject*) { ++undos; };
        chart->OnScroll = [this](TObject*) { ++scrolls; };
    }
    TChartAxis* X() { return chart->BottomAxis(); }
    TChartAxis* Y() { return chart->LeftAxis(); }
    // Drawing places the plot and the axes' pixel scales.
    void Layout() { Draw(); }
    int Px(double v) { return X()->CalcXPosValue(v); }
    int Py(double v) { return Y()->CalcYPosValue(v); }
    // Value units per pixel along each axis, from two known positions.
    double XPerPixel() { return 100.0 / (Px(100) - Px(0)); }
    double YPerPixel() { return 50.0 / (Py(0) - Py(50)); }
    void Drag(TMouseButton B, int X0, int Y0, int X1, int Y1)
    {
        chart->DispatchMouseDown(B, 0, X0, Y0);
        chart->DispatchMouseMove(0, (X0 + X1) / 2, (Y0 + Y1) / 2);
        chart->DispatchMouseMove(0, X1, Y1);
        chart->DispatchMouseUp(B, 0, X1, Y1);
    }
    void ExpectRange(TChartAxis* A, double Min, double Max, double Tol)
    {
        EXPECT_NEAR(A->Minimum(), Min, Tol);
        EXPECT_NEAR(A->Maximum(), Max, Tol);
    }
    int zooms = 0, undos = 0, scrolls = 0;
};

TEST_F(ZoomTest, DragDownRightZoomsToTheValuesUnderTheCorners)
{
    auto* tool = new UpRecorder(&form);
    chart->Tools()->AddTool(tool);
    const double tx = XPerPixel(), ty = YPerPixel();
    Drag(mbLeft, Px(20), Py(40), Px(60), Py(10));

    ExpectRange(X(), 20, 60, tx);
    ExpectRange(Y(), 10, 40, ty);
    EXPECT_EQ(zooms, 1);
    EXPECT_EQ(undos, 0);
    EXPECT_TRUE(chart->Zoomed());
    EXPECT_FALSE(chart->Zoom()->Active);
    EXPECT_FALSE(chart->NothingSaved);
    // The zoom does not swallow the button's release.
    ASSERT_FALSE(tool->Heard.empty());
    EXPECT_EQ(tool->Heard.back(), meUp);
}

TEST_F(ZoomTest, DragTheOtherWayUndoesUnlessUpLeftZooms)
{
    Drag(mbLeft, Px(20), Py(40), Px(60), Py(10));
    Layout();
    Drag(mbLeft, Px(30), Py(35), Px(50), Py(15));   // two zooms
    Layout();
    ASSERT_EQ(zooms, 2);
    ExpectRange(X(), 30, 50, XPerPixel());
    // Up and to the left: back to the ranges before the first zoom.
    Drag(mbLeft, Px(45), Py(20), Px(35), Py(30));
    EXPECT_EQ(undos, 1);
    EXPECT_EQ(zooms, 2);
    EXPECT_FALSE(chart->Zoomed());
    EXPECT_TRUE(chart->NothingSaved);
    ExpectRange(X(), 0, 100, 1e-9);
    ExpectRange(Y(), 0, 50, 1e-9);

    // Only the horizontal sense counts: left-and-down undoes, right-and-up zooms.
    Layout();
    Drag(mbLeft, Px(60), Py(40), Px(20), Py(10));
    EXPECT_EQ(undos, 2);
    EXPECT_EQ(zooms, 2);
    Drag(mbLeft, Px(20), Py(10), Px(60), Py(40));
    EXPECT_EQ(zooms, 3);
    ExpectRange(X(), 20, 60, XPerPixel());
    ExpectRange(Y(), 10, 40, YPerPixel());
    chart->UndoZoom();
    Layout();

    // With UpLeftZooms the reversed drag zooms to the same rectangle.
    chart->Zoom()->SetUpLeftZooms(true);
    Drag(mbLeft, Px(60), Py(10), Px(20), Py(40));
    EXPECT_EQ(zooms, 4);
    EXPECT_EQ(undos, 3);
    ExpectRange(X(), 20, 60, XPerPixel());
}

TEST_F(ZoomTest, OneDirectionZoomsSpanThePlotAndDecideBySense)
{
    const TRect plot = chart->ChartRect;
    chart->Zoom()->SetDirection(tzdHorizontal);
    chart->DispatchMouseDown(mbLeft, 0, Px(20), Py(30));
    EXPECT_EQ(chart->Zoom()->Y0, plot.Top);
    EXPECT_EQ(chart->Zoom()->Y1, plot.Bottom);
    chart->DispatchMouseUp(mbLeft, 0, Px(70), Py(30));   // no vertical movement at all
    EXPECT_EQ(zooms, 1);
    ExpectRange(X(), 20, 70, XPerPixel());
    // The vertical range covers the whole plot: it stays (within a pixel).
    ExpectRange(Y(), 0, 50, YPerPixel());
    Layout();
    Drag(mbLeft, Px(60), Py(30), Px(30), Py(30));   // right to left undoes
    EXPECT_EQ(undos, 1);

    chart->Zoom()->SetDirection(tzdVertical);
    Layout();
    Drag(mbLeft, Px(50), Py(40), Px(50), Py(10));   // downwards zooms
    EXPECT_EQ(zooms, 2);
    ExpectRange(Y(), 10, 40, YPerPixel());
    Layout();
    Drag(mbLeft, Px(50), Py(10), Px(50), Py(40));   // upwards undoes
    EXPECT_EQ(undos, 2);
    ExpectRange(Y(), 0, 50, 1e-9);
}

TEST_F(ZoomTest, DragsOfAtMostMinimumPixelsDoNothing)
{
    const int m = chart->Zoom()->MinimumPixels();
    const int x = Px(20), y = Py(40);
    Drag(mbLeft, x, y, x + m, y + 100);   // exactly the minimum across
    Drag(mbLeft, x, y, x + 100, y + m);   // exactly the minimum down
    EXPECT_EQ(zooms, 0);
    EXPECT_EQ(undos, 0);
    EXPECT_TRUE(chart->NothingSaved);
    ExpectRange(X(), 0, 100, 0);
    Drag(mbLeft, x, y, x + m + 1, y + m + 1);
    EXPECT_EQ(zooms, 1);
}

TEST_F(ZoomTest, UndoZoomRestoresTheAutomaticRanges)
{
    X()->SetAutomatic(true);
    Y()->SetAutomatic(true);
    Layout();
    const double xmin = X()->Minimum(), xmax = X()->Maximum();
    Drag(mbLeft, Px(2), Py(8), Px(6), Py(2));
    EXPECT_FALSE(X()->Automatic());
    chart->UndoZoom();
    EXPECT_TRUE(X()->Automatic());
    EXPECT_TRUE(Y()->Automatic());
    EXPECT_EQ(undos, 1);
    Layout();
    ExpectRange(X(), xmin, xmax, 1e-9);
}

TEST_F(ZoomTest, AnimatedZoomEndsOnTheTargetsAndFiresOnce)
{
    chart->Zoom()->SetAnimated(true);
    chart->Zoom()->SetAnimatedSteps(4);
    chart->ZoomToValues(10, 20, 0, 1, 0, 1, 30, 40);
    ExpectRange(Y(), 10, 20, 1e-9);
    ExpectRange(X(), 30, 40, 1e-9);
    EXPECT_EQ(zooms, 1);
    // The saved state is the one before the first step.
    chart->UndoZoom();
    ExpectRange(X(), 0, 100, 1e-9);
}

TEST_F(ZoomTest, AClaimedMouseDownStartsNoDrag)
{
    chart->OnClickBackground = [](TObject*, TMouseButton, TShiftState, int, int) {};
    Drag(mbLeft, Px(20), Py(40), Px(60), Py(10));
    EXPECT_FALSE(chart->Zoom()->Active);
    EXPECT_EQ(zooms, 0);
    ExpectRange(X(), 0, 100, 0);

    // A handler that gives the click back lets the drag start.
    chart->OnClickBackground = [this](TObject*, TMouseButton, TShiftState, int, int) { chart->CancelMouse = false; };
    Drag(mbLeft, Px(20), Py(40), Px(60), Py(10));
    EXPECT_EQ(zooms, 1);
}

TEST_F(ZoomTest, ARightDragPansByTheDraggedValues)
{
    const double tx = XPerPixel(), ty = YPerPixel();
    const double dmin = chart->DepthAxis()->Minimum(), dmax = chart->DepthAxis()->Maximum();
    const int x = Px(50), y = Py(25);
    chart->DispatchMouseDown(mbRight, 0, x, y);
    EXPECT_TRUE(chart->Panning()->Active);
    EXPECT_FALSE(chart->Zoom()->Active);
    chart->DispatchMouseMove(0, x + 10, y - 4);   // right and up
    EXPECT_EQ(scrolls, 1);
    EXPECT_FALSE(chart->NothingSaved);
    // The data follows the mouse: the range moves against the drag.
    ExpectRange(X(), -10 * tx, 100 - 10 * tx, 1e-9);
    ExpectRange(Y(), -4 * ty, 50 - 4 * ty, 1e-9);
    // The next step counts from where the last one ended, in either direction.
    chart->DispatchMouseMove(0, x + 4, y);
    ExpectRange(X(), -4 * tx, 100 - 4 * tx, 1e-9);
    ExpectRange(Y(), 0, 50, 1e-9);
    EXPECT_EQ(scrolls, 2);
    EXPECT_DOUBLE_EQ(chart->DepthAxis()->Minimum(), dmin);
    EXPECT_DOUBLE_EQ(chart->DepthAxis()->Maximum(), dmax);
    // Leaving the plot ends the panning.
    chart->DispatchMouseMove(0, chart->ChartRect.Right + 5, y);
    EXPECT_FALSE(chart->Panning()->Active);
    chart->DispatchMouseMove(0, x, y);
    EXPECT_EQ(scrolls, 2);
    chart->DispatchMouseUp(mbRight, 0, x, y);
    EXPECT_FALSE(chart->Zoomed());
    // Undo puts the ranges from before the panning back.
    chart->UndoZoom();
    ExpectRange(X(), 0, 100, 0);
}

TEST_F(ZoomTest, PanningModeAndAllowScrollLimitTheAxes)
{
    const double tx = XPerPixel();
    const int x = Px(50), y = Py(25);
    chart->SetAllowPanning(pmHorizontal);
    chart->DispatchMouseDown(mbRight, 0, x, y);
    chart->DispatchMouseMove(0, x + 10, y - 10);
    ExpectRange(X(), -10 * tx, 100 - 10 * tx, 1e-9);
    ExpectRange(Y(), 0, 50, 0);
    // Only a vertical move: no horizontal pass, the vertical one is not allowed.
    chart->DispatchMouseMove(0, x + 10, y);
    EXPECT_EQ(scrolls, 1);
    chart->DispatchMouseUp(mbRight, 0, x + 10, y);

    chart->SetAllowPanning(pmBoth);
    std::vector<TChartAxis*> asked;
    chart->OnAllowScroll = [&](TChartAxis* A, double& AMin, double& AMax, bool& Allow) {
        asked.push_back(A);
        if (A == Y())
            Allow = false;   // the vertical axis stays
        else {
            AMin = 1;
            AMax = 2;
        }
    };
    chart->DispatchMouseDown(mbRight, 0, x, y);
    chart->DispatchMouseMove(0, x + 3, y + 3);
    ExpectRange(Y(), 0, 50, 0);
    ExpectRange(X(), 1, 2, 0);
    EXPECT_NE(std::find(asked.begin(), asked.end(), chart->TopAxis()), asked.end());
    EXPECT_EQ(std::find(asked.begin(), asked.end(), chart->DepthAxis()), asked.end());

    // Panning off: the right button starts nothing.
    chart->DispatchMouseUp(mbRight, 0, x, y);
    chart->SetAllowPanning(pmNone);
    chart->DispatchMouseDown(mbRight, 0, x, y);
    EXPECT_FALSE(chart->Panning()->Active);
}

TEST_F(ZoomTest, WheelScrollsTheVerticalAxesByThreePercent)
{
    bool heard = false;
    chart->OnMouseWheel = [&](TObject*, TShiftState, int, TPoint, bool&) {
        if (!heard) {
            EXPECT_DOUBLE_EQ(Y()->Minimum(), 0) << "the wheel event comes first";
        }
        heard = true;
    };
    chart->RightAxis()->SetMinMax(10, 20);
    EXPECT_TRUE(chart->DispatchMouseWheel(0, -120, TPoint(Px(50), Py(25))));   // down
    EXPECT_TRUE(heard);
    ExpectRange(Y(), 1.5, 51.5, 1e-9);
    ExpectRange(chart->RightAxis(), 10.3, 20.3, 1e-9);
    ExpectRange(X(), 0, 100, 0);
    chart->DispatchMouseWheel(0, 120, TPoint(Px(50), Py(25)));   // up
    ExpectRange(Y(), 0, 50, 1e-9);
}

TEST_F(ZoomTest, OnAnInvertedAxisTheWheelMovesTheContentTheSameWay)
{
    // Wheel down moves the data down the screen on either axis: up the values of a
    // normal axis, down those of an inverted one.
    chart->RightAxis()->SetMinMax(10, 20);
    chart->RightAxis()->SetInverted(true);
    Layout();
    const int before = chart->RightAxis()->CalcYPosValue(15);
    chart->DispatchMouseWheel(0, -120, TPoint(Px(50), Py(25)));
    ExpectRange(Y(), 1.5, 51.5, 1e-9);
    ExpectRange(chart->RightAxis(), 9.7, 19.7, 1e-9);
    Layout();
    EXPECT_GT(chart->RightAxis()->CalcYPosValue(15), before);
}

TEST_F(ZoomTest, ALogarithmicAxisScrollsByFactorsAndNeverReachesZero)
{
    Y()->SetMinMax(1, 1000);
    Y()->SetLogarithmic(true);
    Layout();
    // The wheel keeps the decades shown and moves them by 3 % of them.
    chart->DispatchMouseWheel(0, -120, TPoint(Px(50), Py(25)));
    const double f = std::pow(1000.0, 0.03);
    ExpectRange(Y(), f, 1000 * f, 1e-9);
    for (int t = 0; t < 30; ++t)
        chart->DispatchMouseWheel(0, 120, TPoint(Px(50), Py(25)));
    EXPECT_GT(Y()->Minimum(), 0);
    EXPECT_NEAR(Y()->Maximum() / Y()->Minimum(), 1000, 1e-6);

    // A drag keeps the value under the mouse under it, by the ratio of the values.
    Y()->SetMinMax(1, 1000);
    Layout();
    const int y = Py(10);
    const double under = Y()->ValueAtPixel(y);
    chart->DispatchMouseDown(mbRight, 0, Px(50), y);
    chart->DispatchMouseMove(0, Px(50), y + 40);
    chart->DispatchMouseUp(mbRight, 0, Px(50), y + 40);
    EXPECT_NEAR(Y()->Maximum() / Y()->Minimum(), 1000, 1e-6);
    Layout();
    EXPECT_NEAR(Y()->ValueAtPixel(y + 40) / under, 1, 0.02);
    // Dragged far down, the range keeps above zero.
    for (int t = 0; t < 20; ++t) {
        chart->DispatchMouseDown(mbRight, 0, Px(50), chart->ChartRect.Top + 1);
        chart->DispatchMouseMove(0, Px(50), chart->ChartRect.Bottom - 2);
        chart->DispatchMouseUp(mbRight, 0, Px(50), chart->ChartRect.Bottom - 2);
        Layout();
    }
    EXPECT_GT(Y()->Minimum(), 0);
    EXPECT_NEAR(Y()->Maximum() / Y()->Minimum(), 1000, 1e-6);
}

TEST_F(ZoomTest, AWheelScrollIsToldAndUndoneLikeAPan)
{
    chart->DispatchMouseWheel(0, -120, TPoint(Px(50), Py(25)));
    chart->DispatchMouseWheel(0, -120, TPoint(Px(50), Py(25)));
    EXPECT_EQ(scrolls, 2);
    EXPECT_FALSE(chart->NothingSaved);
    ASSERT_GT(Y()->Minimum(), 1);

    chart->UndoZoom();
    ExpectRange(Y(), 0, 50, 0);
    ExpectRange(X(), 0, 100, 0);
}

TEST_F(ZoomTest, AClaimedMouseUpStillEndsTheDrag)
{
    struct Claimer : IPanelEventListener {
        TCustomChart* C;
        void HandleEvent(TTeeEvent* E) override
        {
            if (auto* m = dynamic_cast<TTeeMouseEvent*>(E); m != nullptr && m->Event == meUp)
                C->CancelMouse = true;
        }
    } claimer;
    claimer.C = chart.get();
    chart->AddListenerOnce(&claimer);
    Drag(mbLeft, Px(20), Py(40), Px(60), Py(10));
    EXPECT_FALSE(chart->Zoom()->Active);
    EXPECT_EQ(zooms, 1);
    // The chart still answers the next drag.
    Layout();
    Drag(mbLeft, Px(50), Py(20), Px(30), Py(30));
    EXPECT_EQ(undos, 1);
    chart->RemoveListener(&claimer);
}

TEST_F(ZoomTest, APressOfTheDraggingButtonEndsADragWhoseReleaseWasLost)
{
    chart->DispatchMouseDown(mbLeft, 0, Px(20), Py(40));
    chart->DispatchMouseMove(0, Px(60), Py(10));
    ASSERT_TRUE(chart->Zoom()->Active);
    // Another button while dragging is ignored; the same button again starts afresh.
    chart->DispatchMouseDown(mbRight, 0, Px(50), Py(25));
    EXPECT_FALSE(chart->Panning()->Active);
    EXPECT_TRUE(chart->Zoom()->Active);
    Drag(mbLeft, Px(30), Py(30), Px(70), Py(20));
    EXPECT_EQ(zooms, 1);
    ExpectRange(X(), 30, 70, XPerPixel());
    ExpectRange(Y(), 20, 30, YPerPixel());

    Layout();
    chart->DispatchMouseDown(mbRight, 0, Px(50), Py(25));
    ASSERT_TRUE(chart->Panning()->Active);
    chart->DispatchMouseDown(mbRight, 0, Px(40), Py(25));   // lost release
    EXPECT_TRUE(chart->Panning()->Active);
    EXPECT_EQ(chart->Panning()->X0, Px(40));
}

} // namespace
