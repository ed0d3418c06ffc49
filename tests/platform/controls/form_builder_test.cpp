// Forms declared as tables: names, captions, layout positions, the size rule, tab pages
// that may refuse a change, and controls that keep their platform events.
#include "DialogRecorder.h"
#include "UserInput.h"

#include "controls/FormBuilder.h"

#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QFont>
#include <QFrame>
#include <QLayout>
#include <QLineEdit>
#include <QMenu>
#include <QWidget>

#include <memory>

namespace {

class SampleForm : public TForm {
public:
    explicit SampleForm(TComponent* AOwner, int Width = 200, int Height = 100) : TForm(AOwner)
    {
        SetName("SampleForm");
        BuildForm(this, Width, Height, {
            Ctl(CBVisible, "CBVisible", "&Visible"),
            Row(LName, "LName", "&Name:", {Ctl(EName, "EName")}),
            Row("&Size:", {UpDownEdit(ESize, "ESize", UDSize, "UDSize", 1, 20)}),
            Radios(RGKind, "RGKind", "Kind:", {"&One", "&Two"}),
            Pages(PC, "PC", {
                Page(TabA, "TabA", "First", {Track(TBOffset, "TBOffset", -300, 300, 50)}),
                Page(TabB, "TabB", "Second", {Combo(CBItems, "CBItems", {"a", "b"})}),
            }),
            Buttons({Ctl(BOk, "BOk", "OK"), Ctl(BCancel, "BCancel", "Cancel")}),
        });
    }
    TCheckBox* CBVisible;
    TLabel* LName;
    TEdit* EName;
    TEdit* ESize;
    TUpDown* UDSize;
    TRadioGroup* RGKind;
    TPageControl* PC;
    TTabSheet* TabA;
    TTabSheet* TabB;
    TTrackBar* TBOffset;
    TComboBox* CBItems;
    TButton* BOk;
    TButton* BCancel;
};

TEST(FormBuilderTest, ControlsCarryTheirNamesAndCaptionsAndSitWhereTheLayoutPutThem)
{
    SampleForm form(nullptr);
    form.Show();
    EXPECT_EQ(form.FindComponent("EName"), form.EName);
    EXPECT_EQ(form.Widget()->findChild<QWidget*>("UDSize"), form.UDSize->Widget());
    EXPECT_EQ(form.LName->Caption(), "&Name:");
    EXPECT_EQ(form.RGKind->Items()->Count(), 2);
    EXPECT_EQ(form.UDSize->Position(), 1);
    EXPECT_EQ(form.ESize->Text(), "1");
    EXPECT_EQ(form.TBOffset->Frequency(), 50);
    // Rows stack downwards; a row's field is right of its label; buttons sit at the right.
    EXPECT_LT(form.CBVisible->Top(), form.EName->Top());
    EXPECT_LT(form.EName->Top(), form.ESize->Top());
    EXPECT_GT(form.EName->Left(), form.LName->Left() + form.LName->Width() - 1);
    EXPECT_EQ(form.UDSize->Left(), form.ESize->Left() + form.ESize->Width());
    EXPECT_EQ(form.BOk->Top(), form.BCancel->Top());
    EXPECT_GT(form.BCancel->Left(), form.BOk->Left());
    EXPECT_GE(form.BCancel->Left() + form.BCancel->Width(), form.Width() - 10);
    // The stored size when it is enough, more when the contents need it.
    EXPECT_GT(form.Height(), 100);
    SampleForm roomy(nullptr, 600, 500);
    EXPECT_EQ(roomy.Width(), 600);
    EXPECT_EQ(roomy.Height(), 500);
}

TEST(FormBuilderTest, HiddenControlGivesUpItsRoom)
{
    SampleForm form(nullptr, 300, 420);
    form.Show();
    const int top = form.ESize->Top();
    form.EName->Hide();
    form.LName->Hide();
    form.ClientWidget()->layout()->activate();
    EXPECT_LT(form.ESize->Top(), top);
}

TEST(FormBuilderTest, TabChangeCanBeRefusedAndControlsKeepTheirEvents)
{
    SampleForm form(nullptr);
    bool allow = false;
    int changes = 0, clicks = 0, moves = 0;
    form.PC->OnChanging = [&](TObject*, bool& Allow) { Allow = allow; };
    form.PC->OnChange = [&](TObject*) { ++changes; };
    form.RGKind->OnClick = [&](TObject*) { ++clicks; };
    form.TBOffset->OnChange = [&](TObject*) { ++moves; };

    EXPECT_FALSE(form.PC->SelectPage(form.TabB));
    EXPECT_EQ(form.PC->ActivePage(), form.TabA);
    allow = true;
    EXPECT_TRUE(form.PC->SelectPage(form.TabB));
    EXPECT_EQ(form.PC->ActivePage(), form.TabB);
    EXPECT_EQ(changes, 1);
    form.PC->SetActivePage(form.TabA);   // from the program: no events
    EXPECT_EQ(changes, 1);

    form.RGKind->SetItemIndex(1);
    form.RGKind->SetItemIndex(1);
    EXPECT_EQ(clicks, 1);
    form.TBOffset->SetPosition(-50);
    EXPECT_EQ(form.TBOffset->Position(), -50);
    EXPECT_EQ(moves, 1);
    form.TBOffset->SetPosition(-400);
    EXPECT_EQ(form.TBOffset->Position(), -300);
}

TEST(FormBuilderTest, ArrowKeysInAnUpDownsEditStepItWithinItsLimitsAndTabPassesTheArrows)
{
    SampleForm form(nullptr, 300, 420);
    user::ShowAndActivate(&form);
    int changes = 0;
    form.ESize->OnChange = [&](TObject*) { ++changes; };
    ASSERT_TRUE(user::Focus(form.ESize));
    user::Key(Qt::Key_Up);
    user::Key(Qt::Key_Up);
    EXPECT_EQ(form.ESize->Text(), "3");
    EXPECT_EQ(changes, 2);
    user::Key(Qt::Key_Down);
    EXPECT_EQ(form.UDSize->Position(), 2);
    user::Key(Qt::Key_Down);
    user::Key(Qt::Key_Down);   // at Min: no step below it
    EXPECT_EQ(form.ESize->Text(), "1");
    // A typed number is where the keys step from.
    user::Key(Qt::Key_A, Qt::ControlModifier);
    ASSERT_TRUE(user::Type("19"));
    user::Key(Qt::Key_Up);
    user::Key(Qt::Key_Up);
    EXPECT_EQ(form.ESize->Text(), "20");
    // Tab goes from the edit to the next control, not into the arrows.
    user::Key(Qt::Key_Tab);
    EXPECT_FALSE(form.UDSize->Widget()->isAncestorOf(QApplication::focusWidget()));
    EXPECT_NE(QApplication::focusWidget(), form.ESize->Widget());

    // An up-down declared with a step of 5 goes up by 5 a key.
    TForm stepped(nullptr);
    TEdit* edit = nullptr;
    TUpDown* upDown = nullptr;
    BuildForm(&stepped, 200, 60, {Row("&Step:", {UpDownEdit(edit, "EStep", upDown, "UDStep", 0, 100, 5)})});
    user::ShowAndActivate(&stepped);
    ASSERT_TRUE(user::Key(edit, Qt::Key_Up));
    EXPECT_EQ(edit->Text(), "5");
}

TEST(FormBuilderTest, AnUpDownsEditRefusesATypedTextOutsideItsLimitsWithAMessageAndKeepsTheFocus)
{
    DialogRecorder dialogs;
    SampleForm form(nullptr, 300, 420);
    user::ShowAndActivate(&form);
    QWidget* edit = form.ESize->Widget();
    ASSERT_TRUE(user::Focus(form.ESize));
    user::Key(Qt::Key_A, Qt::ControlModifier);
    ASSERT_TRUE(user::Type("25"));
    user::Key(Qt::Key_Tab);   // leaving the edit
    ASSERT_EQ(dialogs.Texts(), std::vector<std::string>{"Value must be between 1 and 20."});
    EXPECT_EQ(form.ESize->Text(), "20");   // the nearest allowed value, which Position gives
    EXPECT_EQ(QApplication::focusWidget(), edit);
    EXPECT_EQ(static_cast<QLineEdit*>(edit)->selectedText(), "20");
    // Enter refuses too, and a text that is no number at all.
    ASSERT_TRUE(user::Type("x1"));
    user::Key(Qt::Key_Return);
    ASSERT_EQ(dialogs.Requests.size(), 2U);
    EXPECT_EQ(dialogs.Requests[1].Text, "'x1' is not a valid integer value.");
    EXPECT_EQ(form.ESize->Text(), "20");
    EXPECT_EQ(QApplication::focusWidget(), edit);
    // Numbers at either limit, and an empty edit, leave without a word.
    for (const char* typed : {"1", "20", ""}) {
        ASSERT_TRUE(user::Focus(form.ESize));
        user::Key(Qt::Key_A, Qt::ControlModifier);
        user::Key(Qt::Key_Delete);
        ASSERT_TRUE(user::Type(typed));
        user::Key(Qt::Key_Tab);
        EXPECT_NE(QApplication::focusWidget(), edit) << typed;
        EXPECT_EQ(form.ESize->Text(), typed);
    }
    EXPECT_EQ(dialogs.Requests.size(), 2U);

    // Enter on a valid number finishes the typing, then presses the default button.
    int okClicks = 0;
    form.BOk->SetDefault(true);
    form.BOk->OnClick = [&](TObject*) { ++okClicks; };
    ASSERT_TRUE(user::Focus(form.ESize));
    ASSERT_TRUE(user::Type("7"));
    ASSERT_TRUE(user::Key(Qt::Key_Return));
    EXPECT_EQ(form.UDSize->Position(), 7);
    EXPECT_EQ(okClicks, 1);
    // A popup opened from the edit holding a bad number is no leaving of it: the refusal
    // waits until the focus really leaves.
    user::Key(Qt::Key_A, Qt::ControlModifier);
    ASSERT_TRUE(user::Type("99"));
    QMenu popup(edit);
    popup.addAction("Copy");
    popup.popup(edit->mapToGlobal(QPoint(5, 5)));
    QApplication::processEvents();
    QApplication::processEvents();
    EXPECT_EQ(dialogs.Requests.size(), 2U);
    popup.close();
    QApplication::processEvents();
    ASSERT_TRUE(user::Key(form.ESize, Qt::Key_Tab));
    QApplication::processEvents();
    ASSERT_EQ(dialogs.Requests.size(), 3U);
    EXPECT_EQ(dialogs.Requests[2].Text, "Value must be between 1 and 20.");
    EXPECT_EQ(okClicks, 1);
}

TEST(FormBuilderTest, ALabelsAcceleratorMovesTheFocusToItsControl)
{
    SampleForm form(nullptr, 300, 420);
    user::ShowAndActivate(&form);
    ASSERT_TRUE(user::Focus(form.CBVisible));
    user::Key(Qt::Key_S, Qt::AltModifier);
    EXPECT_EQ(QApplication::focusWidget(), form.ESize->Widget());
    user::Key(Qt::Key_N, Qt::AltModifier);
    EXPECT_EQ(QApplication::focusWidget(), form.EName->Widget());
    EXPECT_EQ(form.LName->Caption(), "&Name:");

    // A label standing alone above its control, in a column, works the same.
    TForm columns(nullptr);
    TLabel* label = nullptr;
    TListBox* list = nullptr;
    TCheckBox* check = nullptr;
    BuildForm(&columns, 300, 200, {Columns({Column({Ctl(label, "LItems", "It&ems:"), List(list, "LBItems", {"a", "b"}),
                                                    Ctl(check, "CBShow", "&Show")})})});
    user::ShowAndActivate(&columns);
    ASSERT_TRUE(user::Focus(check));
    user::Key(Qt::Key_E, Qt::AltModifier);
    EXPECT_EQ(QApplication::focusWidget(), list->Widget());
}

TEST(FormBuilderTest, AnItemWithItsOwnFontNameHandsItToTheControlsInIt)
{
    TForm form(nullptr);
    TGroupBox* group = nullptr;
    TLabel* inside = nullptr;
    TComboBox* choice = nullptr;
    TEdit* single = nullptr;
    TEdit* outside = nullptr;
    BuildForm(&form, 300, 200, {
        WithFontName(Group(group, "group", "Group", {Ctl(inside, "inside", "Inside"), Combo(choice, "choice", {"a", "b"})}),
                     "Courier New"),
        WithFontName(Ctl(single, "single"), "Times New Roman"),
        Ctl(outside, "outside"),
    });
    EXPECT_EQ(group->FontName(), "Courier New");
    EXPECT_EQ(inside->Widget()->font().family(), "Courier New");
    EXPECT_EQ(single->FontName(), "Times New Roman");
    EXPECT_NE(outside->Widget()->font().family(), "Courier New");
    EXPECT_NE(outside->Widget()->font().family(), "Times New Roman");
    // A combo box made with that font builds its list's popup only when it drops down,
    // and the list shows that font.
    auto* box = static_cast<QComboBox*>(choice->Widget());
    EXPECT_EQ(box->font().family(), "Courier New");
    EXPECT_EQ(box->findChild<QFrame*>(), nullptr);
    user::ShowAndActivate(&form);
    box->showPopup();
    EXPECT_EQ(box->view()->font().family(), "Courier New");
    box->hidePopup();
}

} // namespace
