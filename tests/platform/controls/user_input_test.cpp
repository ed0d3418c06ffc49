// The user-input helper: it reaches what a user reaches, refuses what a user cannot, and
// acts inside modal forms while their loop runs.
#include "DialogRecorder.h"
#include "UserInput.h"

#include "controls/StdButtons.h"
#include "controls/StdCtrls.h"

#include <QWidget>

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include <initializer_list>
#include <memory>

namespace {

class UserInputTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        form->SetBounds(0, 0, 300, 200);
        edit->SetParent(form.get());
        edit->SetBounds(10, 10, 120, 24);
        ok->SetParent(form.get());
        ok->SetBounds(10, 50, 75, 25);
        ok->OnClick = [this](TObject*) { ++okClicks; };
        off->SetParent(form.get());
        off->SetBounds(100, 50, 75, 25);
        off->OnClick = [this](TObject*) { ++offClicks; };
        user::ShowAndActivate(form.get());
    }

    DialogRecorder dialogs;
    std::unique_ptr<TForm> form = std::make_unique<TForm>(nullptr);
    TEdit* edit = new TEdit(form.get());
    TButton* ok = new TButton(form.get());
    TButton* off = new TButton(form.get());
    int okClicks = 0;
    int offClicks = 0;
};

TEST_F(UserInputTest, ClickAndTypeReachTheControlsAndTheirEvents)
{
    ok->SetName("Ok");
    std::string typed;
    edit->OnChange = [&](TObject*) { typed = edit->Text(); };
    EXPECT_TRUE(user::Type(edit, "a&b"));
    EXPECT_EQ(typed, "a&b");
    EXPECT_TRUE(user::Click(user::Find("Ok")));
    EXPECT_EQ(okClicks, 1);
}

TEST_F(UserInputTest, CtrlZUndoesAndCtrlYRedoesTypingInEditsAndMemos)
{
    auto* memo = new TMemo(form.get());
    memo->SetParent(form.get());
    memo->SetBounds(10, 90, 200, 80);
    for (TWinControl* control : std::initializer_list<TWinControl*>{edit, memo}) {
        const auto text = [&] { return control == edit ? edit->Text() : Trim(memo->Text()); };
        ASSERT_TRUE(user::Type(control, "typed"));
        EXPECT_EQ(text(), "typed");
        ASSERT_TRUE(user::Key(control, Qt::Key_Z, Qt::ControlModifier));
        EXPECT_EQ(text(), "");
        ASSERT_TRUE(user::Key(control, Qt::Key_Y, Qt::ControlModifier));
        EXPECT_EQ(text(), "typed");
    }
}

TEST_F(UserInputTest, RefusesDisabledHiddenAndCoveredControls)
{
    off->SetEnabled(false);
    EXPECT_NONFATAL_FAILURE(user::Click(off), "it is disabled");
    off->SetEnabled(true);
    off->Hide();
    EXPECT_NONFATAL_FAILURE(user::Click(off), "it is hidden");
    off->Show();
    // A button laid over the left half of the other covers it there, not on its right.
    ok->SetBounds(100, 50, 30, 25);
    ok->Widget()->raise();
    EXPECT_NONFATAL_FAILURE(user::Click(off, QPoint(5, 12)), "covered");
    EXPECT_TRUE(user::Click(off, QPoint(60, 12)));
    EXPECT_EQ(offClicks, 1);
    EXPECT_EQ(okClicks, 0);
}

TEST_F(UserInputTest, DefaultAndCancelButtonsAnswerEnterAndEscapeInAModalForm)
{
    auto dialog = std::make_unique<TForm>(nullptr);
    auto* field = new TEdit(dialog.get());
    field->SetParent(dialog.get());
    auto* yes = new TButton(dialog.get());
    yes->SetParent(dialog.get());
    yes->SetTop(40);
    yes->SetDefault(true);
    yes->SetModalResult(mrYes);
    auto* no = new TButton(dialog.get());
    no->SetParent(dialog.get());
    no->SetTop(80);
    no->SetCancel(true);
    no->SetModalResult(mrNo);

    // In a window that is not modal, Escape closes nothing (in the main window it would
    // end the program).
    ASSERT_TRUE(user::Key(edit, Qt::Key_Escape));
    EXPECT_TRUE(form->Visible());

    user::ModalActions modal(dialogs);
    modal.Then([&](TForm*) {
        // The form's own loop runs: the window behind it is blocked.
        EXPECT_NONFATAL_FAILURE(user::Click(ok), "blocks it");
        user::Key(field, Qt::Key_Return);
    });
    EXPECT_EQ(dialog->ShowModal(), mrYes);
    modal.Then([&](TForm*) { user::Key(field, Qt::Key_Escape); });
    EXPECT_EQ(dialog->ShowModal(), mrNo);
    // Without a cancel button Escape still closes it, as Cancel.
    no->Hide();
    modal.Then([&](TForm*) { user::Key(field, Qt::Key_Escape); });
    EXPECT_EQ(dialog->ShowModal(), mrCancel);
    // The keypad's Enter is Enter.
    no->Show();
    modal.Then([&](TForm*) { user::Key(field, Qt::Key_Enter, Qt::KeypadModifier); });
    EXPECT_EQ(dialog->ShowModal(), mrYes);
    // A greyed button is pressed by neither key: Enter leaves the form open; Escape closes
    // it as Cancel without the greyed Cancel's click.
    int noClicks = 0;
    no->OnClick = [&](TObject*) { ++noClicks; };
    yes->SetEnabled(false);
    no->SetEnabled(false);
    modal.Then([&](TForm* f) {
        user::Key(field, Qt::Key_Return);
        EXPECT_TRUE(f->Visible());
    });
    modal.Then([&](TForm*) { user::Key(field, Qt::Key_Escape); });
    EXPECT_EQ(dialog->ShowModal(), mrCancel);
    EXPECT_EQ(noClicks, 0);
    EXPECT_EQ(modal.Started(), 5);
    EXPECT_EQ(okClicks, 0);
}

// OnClose answering "do not close" keeps a modal form in its loop after its OK button;
// the application's Terminate ends the loop of any modal form, as Cancel.
TEST_F(UserInputTest, AModalFormStaysUntilItMayCloseAndTerminateCancelsIt)
{
    auto dialog = std::make_unique<TForm>(nullptr);
    auto* yes = new TButton(dialog.get());
    yes->SetParent(dialog.get());
    yes->SetModalResult(mrOk);
    bool refuse = true;
    int closes = 0;
    dialog->OnClose = [&](TObject*, TCloseAction& Action) {
        ++closes;
        if (refuse)
            Action = caNone;
    };
    bool returned = false;
    user::ModalActions modal(dialogs);
    modal.Then([&](TForm*) { user::Click(yes); });
    modal.Then([&](TForm* f) {
        EXPECT_FALSE(returned);
        EXPECT_TRUE(f->Visible());
        EXPECT_EQ(closes, 1);
        refuse = false;
        user::Click(yes);
    });
    EXPECT_EQ(dialog->ShowModal(), mrOk);
    returned = true;
    EXPECT_EQ(closes, 2);
    EXPECT_EQ(modal.Started(), 1);

    modal.Then([&](TForm*) { Application->Terminate(); });
    EXPECT_EQ(dialog->ShowModal(), mrCancel);
    EXPECT_FALSE(dialog->Visible());
    FinalizeFormsUnit();   // an application not terminated for what follows
    InitializeFormsUnit();
}

TEST_F(UserInputTest, AModalFormLeftOpenFailsTheTestAndIsClosed)
{
    auto dialog = std::make_unique<TForm>(nullptr);
    user::ModalActions modal(dialogs);
    modal.Then([](TForm*) {});
    TModalResult result = mrNone;
    EXPECT_NONFATAL_FAILURE(result = dialog->ShowModal(), "stays open");
    EXPECT_EQ(result, mrCancel);
}

} // namespace
