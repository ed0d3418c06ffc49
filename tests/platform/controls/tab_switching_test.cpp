// Page and tab controls: every way a user switches a tab asks OnChanging, which may veto,
// and then fires OnChange; a hidden tab is never reached.
#include "DialogRecorder.h"
#include "UserInput.h"

#include "controls/ComCtrls.h"
#include "controls/StdCtrls.h"

#include <QTabBar>

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include <memory>

namespace {

class TabSwitchingTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        form->SetBounds(0, 0, 400, 300);
        pages->SetParent(form.get());
        pages->SetBounds(0, 0, 400, 250);
        for (const char* caption : {"One", "Two", "Three", "Four"}) {
            auto* sheet = new TTabSheet(form.get());
            sheet->SetCaption(caption);
            sheet->SetPageControl(pages);
            auto* edit = new TEdit(form.get());
            edit->SetParent(sheet);
            edits.push_back(edit);
        }
        tabs->SetParent(form.get());
        tabs->SetBounds(0, 260, 400, 30);
        for (const char* caption : {"Left", "Middle", "Right"})
            tabs->Tabs()->Add(caption);
        pages->OnChanging = [this](TObject*, bool& Allow) {
            log += "changing " + pages->ActivePage()->Caption() + ";";
            Allow = allow;
        };
        pages->OnChange = [this](TObject*) { log += "change " + pages->ActivePage()->Caption() + ";"; };
        tabs->OnChanging = [this](TObject*, bool& Allow) {
            log += "changing " + std::to_string(tabs->TabIndex()) + ";";
            Allow = allow;
        };
        tabs->OnChange = [this](TObject*) { log += "change " + std::to_string(tabs->TabIndex()) + ";"; };
        user::ShowAndActivate(form.get());
    }

    QTabBar* BarOf(TControl* C) { return qobject_cast<QTabBar*>(C->Widget()) ? qobject_cast<QTabBar*>(C->Widget()) : C->Widget()->findChild<QTabBar*>(); }

    DialogRecorder dialogs;
    std::unique_ptr<TForm> form = std::make_unique<TForm>(nullptr);
    TPageControl* pages = new TPageControl(form.get());
    TTabControl* tabs = new TTabControl(form.get());
    std::vector<TEdit*> edits;
    std::string log;
    bool allow = true;
};

TEST_F(TabSwitchingTest, EveryWayOfSwitchingPagesAsksAndTellsOnce)
{
    pages->Pages(2)->SetTabVisible(false);
    QTabBar* bar = BarOf(pages);
    ASSERT_TRUE(user::Click(pages->Widget()));   // nothing on an empty page switches
    EXPECT_EQ(log, "");

    // The arrow key passes over the hidden "Three".
    ASSERT_TRUE(user::Key(bar, Qt::Key_Right));
    EXPECT_EQ(log, "changing One;change Two;");
    ASSERT_TRUE(user::Key(bar, Qt::Key_Right));
    EXPECT_EQ(pages->ActivePage()->Caption(), "Four");
    log.clear();
    // Ctrl+Tab from a control on the page wraps round to the first tab.
    ASSERT_TRUE(user::Key(edits[3], Qt::Key_Tab, Qt::ControlModifier));
    EXPECT_EQ(log, "changing Four;change One;");
    log.clear();
    ASSERT_TRUE(user::Key(edits[0], Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier));
    EXPECT_EQ(log, "changing One;change Four;");
    log.clear();
    // A wheel turn away from the user goes one tab back, from "Four" to "Two".
    ASSERT_TRUE(user::Wheel(bar, 1, bar->tabRect(0).center()));
    EXPECT_EQ(log, "changing Four;change Two;");
    log.clear();
    ASSERT_TRUE(user::ClickTab(pages, "One"));
    EXPECT_EQ(log, "changing Two;change One;");

    // The hidden tab is not offered at all.
    EXPECT_NONFATAL_FAILURE(user::ClickTab(pages, "Three"), "shows no tab");
    EXPECT_EQ(bar->count(), 3);
    // Nor does the program reach it: SelectPage answers false and asks nothing.
    log.clear();
    EXPECT_FALSE(pages->SelectPage(pages->Pages(2)));
    EXPECT_EQ(log, "");
    EXPECT_EQ(pages->ActivePage(), pages->Pages(0));

    // Hiding or showing another tab keeps the page the user is on.
    ASSERT_TRUE(user::ClickTab(pages, "Four"));
    log.clear();
    pages->Pages(1)->SetTabVisible(false);
    EXPECT_EQ(pages->ActivePage(), pages->Pages(3));
    pages->Pages(2)->SetTabVisible(true);
    pages->Pages(1)->SetTabVisible(true);
    EXPECT_EQ(pages->ActivePage(), pages->Pages(3));
    EXPECT_TRUE(edits[3]->Widget()->isVisible());
    EXPECT_EQ(log, "");
}

TEST_F(TabSwitchingTest, CtrlPageKeysAndCtrlTabSwitchPagesEvenFromAControlThatTakesKeysForItself)
{
    auto* combo = new TComboBox(form.get());
    combo->SetParent(pages->Pages(0));
    combo->SetTop(40);
    combo->SetStyle(csDropDownList);
    for (const char* item : {"a", "b", "c"})
        combo->Items()->Add(item);
    combo->SetItemIndex(0);
    ASSERT_TRUE(user::Key(edits[0], Qt::Key_PageDown, Qt::ControlModifier));
    EXPECT_EQ(log, "changing One;change Two;");
    log.clear();
    ASSERT_TRUE(user::Key(edits[1], Qt::Key_PageUp, Qt::ControlModifier));
    EXPECT_EQ(log, "changing Two;change One;");
    log.clear();
    // A combo box would take both Ctrl+PageUp and Ctrl+Tab for its own.
    ASSERT_TRUE(user::Key(combo, Qt::Key_PageUp, Qt::ControlModifier));
    EXPECT_EQ(log, "changing One;change Four;");
    log.clear();
    ASSERT_TRUE(user::ClickTab(pages, "One"));
    log.clear();
    ASSERT_TRUE(user::Key(combo, Qt::Key_Tab, Qt::ControlModifier));
    EXPECT_EQ(log, "changing One;change Two;");
    EXPECT_EQ(combo->ItemIndex(), 0);
}

TEST_F(TabSwitchingTest, AClickedTabTakesTheFocusSoTheArrowKeysGoOnFromIt)
{
    ASSERT_TRUE(user::ClickTab(pages, "Two"));
    log.clear();
    ASSERT_TRUE(user::Key(Qt::Key_Left));
    EXPECT_EQ(log, "changing Two;change One;");
    ASSERT_TRUE(user::ClickTab(tabs, "Middle"));
    log.clear();
    ASSERT_TRUE(user::Key(Qt::Key_Right));
    EXPECT_EQ(log, "changing 1;change 2;");
}

TEST_F(TabSwitchingTest, AVetoKeepsThePageWhicheverWayTheUserSwitches)
{
    allow = false;
    QTabBar* bar = BarOf(pages);
    ASSERT_TRUE(user::Key(bar, Qt::Key_Right));
    ASSERT_TRUE(user::Key(edits[0], Qt::Key_Tab, Qt::ControlModifier));
    ASSERT_TRUE(user::Wheel(bar, -1, bar->tabRect(0).center()));
    ASSERT_TRUE(user::ClickTab(pages, "Two"));
    EXPECT_EQ(log, "changing One;changing One;changing One;changing One;");
    EXPECT_EQ(pages->ActivePage(), pages->Pages(0));
    EXPECT_TRUE(edits[0]->Widget()->isVisible());
    EXPECT_FALSE(edits[1]->Widget()->isVisible());
}

TEST_F(TabSwitchingTest, TabControlSwitchesByKeyWheelAndClickThroughItsHandlers)
{
    QTabBar* bar = BarOf(tabs);
    ASSERT_TRUE(user::Key(bar, Qt::Key_Right));
    EXPECT_EQ(log, "changing 0;change 1;");
    log.clear();
    ASSERT_TRUE(user::Wheel(bar, -1, bar->tabRect(0).center()));
    EXPECT_EQ(log, "changing 1;change 2;");
    log.clear();
    allow = false;
    ASSERT_TRUE(user::ClickTab(tabs, "Left"));
    EXPECT_EQ(log, "changing 2;");
    EXPECT_EQ(tabs->TabIndex(), 2);
    // The program's own switch asks nothing.
    log.clear();
    tabs->SetTabIndex(0);
    pages->SetActivePage(pages->Pages(1));
    EXPECT_EQ(log, "");
}

TEST_F(TabSwitchingTest, AFormOnAPageTellsWhenItsTabShowsItAgain)
{
    auto* page = new TForm(form.get());
    page->OnShow = [this](TObject*) { log += "show;"; };
    page->OnShowAgain = [this](TObject*) { log += "again;"; };
    page->SetParent(pages->Pages(1));
    page->Show();
    // Shown the first time while its tab is away: only OnShow.
    EXPECT_EQ(log, "show;");
    log.clear();
    ASSERT_TRUE(user::ClickTab(pages, "Two"));
    EXPECT_EQ(log, "changing One;again;change Two;");
    log.clear();
    ASSERT_TRUE(user::ClickTab(pages, "Four"));
    ASSERT_TRUE(user::ClickTab(pages, "Two"));
    EXPECT_EQ(log, "changing Two;change Four;changing Four;again;change Two;");
    // Its own hide and show is a first show again; the window shown again shows it again.
    log.clear();
    page->Hide();
    page->Show();
    EXPECT_EQ(log, "show;");
    log.clear();
    form->Hide();
    user::ShowAndActivate(form.get());
    EXPECT_EQ(log, "again;");
}

} // namespace
