// The panel's listeners and mouse events: order, uniqueness, removal while events are
// being sent, CancelMouse, and the cursor and panning state when the mouse leaves.
#include "RizUridu.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

// Records what it hears as text ("down 3,4") and runs an optional reaction.
class TRecorder : public IPanelEventListener {
public:
    explicit TRecorder(std::vector<std::string>& log, std::string name) : FLog(log), FName(std::move(name)) {}
    std::function<void(TTeeEvent*)> React;
    void HandleEvent(TTeeEvent* Event) override
    {
        std::string text = FName + ":";
        if (auto* m = dynamic_cast<TTeeMouseEvent*>(Event)) {
            static const char* const kinds[] = {"down", "up", "move"};
            text += std::string(kinds[m->Event]) + " " + std::to_string(m->X) + "," + std::to_string(m->Y);
        } else if (dynamic_cast<TTeeView3DEvent*>(Event)) {
            text += "3d";
        } else {
            text += Event->ClassName();
        }
        FLog.push_back(text);
        LastSender = Event->Sender;
        if (React)
            React(Event);
    }
    TCustomTeePanel* LastSender = nullptr;

private:
    std::vector<std::string>& FLog;
    std::string FName;
};

using Log = std::vector<std::string>;

} // namespace

TEST(PanelListeners, EachListenerOnceInTheOrderAdded)
{
    TCustomTeePanel panel(nullptr);
    Log log;
    TRecorder a(log, "a"), b(log, "b");
    EXPECT_EQ(panel.AddListenerOnce(&a), 0);
    EXPECT_EQ(panel.AddListenerOnce(&b), 1);
    EXPECT_EQ(panel.AddListenerOnce(&a), 0);   // already there: not added again
    EXPECT_EQ(panel.Listeners()->Count(), 2);

    TChartChangePage page;
    panel.BroadcastEvent(&page);
    EXPECT_EQ(log, (Log{"a:TChartChangePage", "b:TChartChangePage"}));
    EXPECT_EQ(a.LastSender, &panel);

    panel.RemoveListener(&a);
    log.clear();
    panel.SetView3D(false);
    panel.SetView3D(false);   // no change, no event
    EXPECT_EQ(log, (Log{"b:3d"}));
    EXPECT_EQ(panel.Listeners()->Items(0), &b);
    EXPECT_THROW(panel.Listeners()->Items(1), ERangeError);
}

TEST(PanelListeners, RemovalDuringABroadcastIsSafe)
{
    TCustomTeePanel panel(nullptr);
    Log log;
    TRecorder a(log, "a"), b(log, "b"), c(log, "c"), d(log, "d");
    for (TRecorder* r : {&a, &b, &c})
        panel.AddListenerOnce(r);
    // a removes the listener after it, removes itself and adds d.
    a.React = [&](TTeeEvent*) {
        panel.RemoveListener(&b);
        panel.RemoveListener(&a);
        panel.AddListenerOnce(&d);
    };
    TChartChangePage page;
    panel.BroadcastEvent(&page);
    EXPECT_EQ(log, (Log{"a:TChartChangePage", "c:TChartChangePage"}));
    EXPECT_EQ(panel.Listeners()->Count(), 2);

    log.clear();
    panel.BroadcastEvent(&page);
    EXPECT_EQ(log, (Log{"c:TChartChangePage", "d:TChartChangePage"}));

    // Clearing the list from inside a broadcast ends the round there.
    c.React = [&](TTeeEvent*) { panel.Listeners()->Clear(); };
    log.clear();
    panel.BroadcastEvent(&page);
    EXPECT_EQ(log, (Log{"c:TChartChangePage"}));
    EXPECT_EQ(panel.Listeners()->Count(), 0);
}

TEST(PanelListeners, CancelMouseStopsTheMouseRoundButNotTheNextEvent)
{
    TCustomTeePanel panel(nullptr);
    Log log;
    TRecorder a(log, "a"), b(log, "b");
    panel.AddListenerOnce(&a);
    panel.AddListenerOnce(&b);
    int handlerDowns = 0, handlerUps = 0;
    panel.OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int, int) { ++handlerDowns; };
    panel.OnMouseUp = [&](TObject*, TMouseButton, TShiftState, int, int) { ++handlerUps; };

    // a claims the mouse-down: b does not hear it.
    a.React = [&](TTeeEvent* e) {
        if (static_cast<TTeeMouseEvent*>(e)->Event == meDown)
            panel.CancelMouse = true;
    };
    panel.DispatchMouseDown(mbLeft, ssLeft, 3, 4);
    EXPECT_EQ(log, (Log{"a:down 3,4"}));
    EXPECT_TRUE(panel.CancelMouse);

    // The mouse-up that follows reaches everyone.
    log.clear();
    panel.DispatchMouseUp(mbLeft, 0, 5, 6);
    EXPECT_EQ(log, (Log{"a:up 5,6", "b:up 5,6"}));
    EXPECT_FALSE(panel.CancelMouse);
    EXPECT_EQ(handlerDowns, 1);
    EXPECT_EQ(handlerUps, 1);

    // A claim set by the mouse handler itself stops every listener of that event.
    panel.OnMouseUp = [&](TObject*, TMouseButton, TShiftState, int, int) { panel.CancelMouse = true; };
    log.clear();
    panel.DispatchMouseUp(mbLeft, 0, 1, 1);
    EXPECT_TRUE(log.empty());
    panel.DispatchMouseMove(0, 7, 8);
    EXPECT_EQ(log, (Log{"a:move 7,8", "b:move 7,8"}));
}

TEST(PanelListeners, DoubleClickClaimedByItsHandlerSwallowsTheMouseDown)
{
    TCustomTeePanel panel(nullptr);
    Log log;
    TRecorder a(log, "a");
    panel.AddListenerOnce(&a);
    TShiftState seen;
    panel.OnMouseDown = [&](TObject*, TMouseButton, TShiftState s, int, int) { seen = s; };

    panel.DispatchDoubleClick(mbLeft, ssLeft, 2, 2);
    EXPECT_EQ(log, (Log{"a:down 2,2"}));
    EXPECT_TRUE(seen & ssDouble);

    log.clear();
    seen = 0;
    panel.OnDblClick = [&](TObject*) { panel.CancelMouse = true; };
    panel.DispatchDoubleClick(mbLeft, ssLeft, 2, 2);
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(seen, TShiftState());
}

TEST(PanelListeners, LeavingRestoresTheCursorAndStopsPanning)
{
    TCustomTeePanel panel(nullptr);
    panel.SetCursor(crCross);
    panel.OriginalCursor = crHandPoint;
    panel.Panning()->Activate(10, 20);
    ASSERT_TRUE(panel.Panning()->Active);
    bool told = false;
    panel.OnMouseLeave = [&](TObject*) { told = true; };
    panel.DispatchMouseLeave();
    EXPECT_EQ(panel.Cursor(), crHandPoint);
    EXPECT_FALSE(panel.Panning()->Active);
    EXPECT_TRUE(told);
}

namespace {

// A panel that tells its listeners something while it is being destroyed.
struct TLoudPanel : TCustomTeePanel {
    using TCustomTeePanel::TCustomTeePanel;
    ~TLoudPanel() override
    {
        TChartChangePage page;
        BroadcastEvent(&page);
    }
};

} // namespace

TEST(PanelListeners, NothingIsSentWhileThePanelGoesAway)
{
    Log log;
    TRecorder a(log, "a");
    {
        // Freed by its owner: marked as being destroyed before its destructors run.
        TComponent owner(nullptr);
        auto* loud = new TLoudPanel(&owner);
        loud->AddListenerOnce(&a);
        TChartChangePage page;
        loud->BroadcastEvent(&page);
        ASSERT_EQ(log.size(), 1u);
    }
    EXPECT_EQ(log.size(), 1u);
}
