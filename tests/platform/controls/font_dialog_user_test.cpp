// The font dialog as the user answers it: a font named by an alias of the system's
// (the chart's "Arial") opens on the face that draws it and keeps its name on OK. The
// toolkit's dialogs hand the keyboard back to the window that opened them.
#include "DialogRecorder.h"
#include "UserInput.h"

#include "controls/CommonDialogs.h"
#include "controls/StdCtrls.h"

#include <QApplication>
#include <QFont>
#include <QFontDatabase>
#include <QFontInfo>
#include <QLineEdit>
#include <QWidget>

#include <gtest/gtest.h>

namespace {

class FontDialogUserTest : public ::testing::Test {
protected:
    // The family the dialog shows in its family field.
    void ExpectFamilyShown(const QString& Family)
    {
        modal.ThenInDialog([=](QWidget* d) {
            bool shown = false;
            for (QLineEdit* e : d->findChildren<QLineEdit*>())
                shown = shown || e->text() == Family;
            EXPECT_TRUE(shown) << Family.toStdString();
            ASSERT_TRUE(user::Key(Qt::Key_Return));
        });
    }

    DialogRecorder dialogs;
    user::ModalActions modal{dialogs};
    TFontDialog dialog{nullptr};
};

TEST_F(FontDialogUserTest, AnAliasOpensOnTheFaceThatDrawsItAndOkKeepsTheName)
{
    const QString face = QFontInfo(QFont("Arial")).family();
    ASSERT_NE(face, "Arial") << "the system has a face named Arial: nothing to test";
    dialog.Font()->SetName("Arial");
    dialog.Font()->SetSize(11);
    dialog.Font()->SetStyle(TFontStyles(fsBold));
    ExpectFamilyShown(face);
    ASSERT_TRUE(dialog.Execute());
    EXPECT_EQ(dialog.Font()->Name(), "Arial");
    EXPECT_EQ(dialog.Font()->Size(), 11);
    EXPECT_EQ(dialog.Font()->Style(), TFontStyles(fsBold));
}

TEST_F(FontDialogUserTest, AFamilyOfTheSystemOpensOnItself)
{
    dialog.Font()->SetName("Liberation Serif");
    ExpectFamilyShown("Liberation Serif");
    ASSERT_TRUE(dialog.Execute());
    EXPECT_EQ(dialog.Font()->Name(), "Liberation Serif");
}

TEST_F(FontDialogUserTest, AFamilyWhoseRegularFaceIsNotCalledRegularOpensOnItsPlainFace)
{
    // The plain face of this family is called "Book"; its first style is "Oblique".
    if (!QFontDatabase::hasFamily("DejaVu Sans"))
        GTEST_SKIP() << "no DejaVu Sans on this system";
    dialog.Font()->SetName("DejaVu Sans");
    dialog.Font()->SetSize(9);
    dialog.Font()->SetStyle(0);
    ExpectFamilyShown("DejaVu Sans");
    ASSERT_TRUE(dialog.Execute());
    EXPECT_EQ(dialog.Font()->Style(), TFontStyles(0));
    EXPECT_EQ(dialog.Font()->Size(), 9);
}

TEST_F(FontDialogUserTest, TheWindowThatOpenedADialogHasTheKeyboardBackAfterIt)
{
    TForm form(nullptr);
    form.SetBounds(0, 0, 200, 100);
    auto* edit = new TEdit(&form);
    edit->SetParent(&form);
    user::ShowAndActivate(&form);
    ASSERT_TRUE(user::Focus(edit));
    modal.ThenInDialog([](QWidget*) { ASSERT_TRUE(user::Key(Qt::Key_Escape)); });
    TColorDialog colours(nullptr);
    EXPECT_FALSE(colours.Execute());
    QApplication::processEvents();
    EXPECT_EQ(QApplication::activeWindow(), form.Widget());
    EXPECT_EQ(QApplication::focusWidget(), edit->Widget());
    modal.ThenInDialog([](QWidget*) { ASSERT_TRUE(user::Key(Qt::Key_Return)); });
    ASSERT_TRUE(dialog.Execute());
    QApplication::processEvents();
    EXPECT_EQ(QApplication::activeWindow(), form.Widget());
    EXPECT_EQ(QApplication::focusWidget(), edit->Widget());
}

// The toolkit's font dialog has no colour of its own: a "Color..." button among the
// effects asks the colour dialog; OK keeps the colour chosen, Cancel the font's own.
TEST(FontDialogColourTest, TheEffectsChooseTheTextColour)
{
    DialogRecorder dialogs;
    dialogs.Answer = [](TDialogRequest& r) {
        TColorDialogRequest* c = AsColorDialogRequest(r);
        if (c == nullptr)
            return int(mrCancel);
        c->Color = clRed;
        return int(mrOk);
    };
    user::ModalActions modal{dialogs};
    TFontDialog dialog{nullptr};
    dialog.Font()->SetColor(clNavy);
    const auto chooseColour = [](int Answer) {
        return [Answer](QWidget* d) {
            ASSERT_TRUE(user::Click(d->findChild<QWidget*>("FontColor")));
            ASSERT_TRUE(user::Key(Answer));
        };
    };
    modal.ThenInDialog(chooseColour(Qt::Key_Escape));
    EXPECT_FALSE(dialog.Execute());
    EXPECT_EQ(dialog.Font()->Color(), clNavy);
    modal.ThenInDialog(chooseColour(Qt::Key_Return));
    ASSERT_TRUE(dialog.Execute());
    EXPECT_EQ(dialog.Font()->Color(), clRed);
    ASSERT_EQ(dialogs.Requests.size(), 4u);   // each font dialog asked one colour
}

} // namespace
