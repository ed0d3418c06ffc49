// The save dialog as the user answers it: the filter chosen in the toolkit's dialog is
// the one reported, and a name typed without extension takes the filter's extension.
#include "DialogRecorder.h"
#include "TestSupport.h"
#include "UserInput.h"

#include "controls/Dialogs.h"

#include <QComboBox>
#include <QLineEdit>
#include <QWidget>

#include <gtest/gtest.h>

namespace {

class SaveDialogUserTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        save.SetFilter("Metafiles (*.emf)|*.emf|Bitmaps (*.bmp)|*.bmp|All files (*.*)|*.*");
        save.SetFilterIndex(1);
        save.SetDefaultExt("emf");
        save.SetInitialDir(dir);
    }
    // In the dialog: the filter Steps entries below the shown one, then the name and Enter.
    void Answer(int Steps, const std::string& Name)
    {
        modal.ThenInDialog([=](QWidget* d) {
            auto* types = d->findChild<QComboBox*>("fileTypeCombo");
            auto* name = d->findChild<QLineEdit*>("fileNameEdit");
            ASSERT_NE(types, nullptr);
            ASSERT_NE(name, nullptr);
            for (int i = 0; i < Steps; ++i)
                ASSERT_TRUE(user::Key(types, Qt::Key_Down));
            ASSERT_TRUE(user::Type(name, Name));
            ASSERT_TRUE(user::Key(Qt::Key_Return));
        });
    }

    DialogRecorder dialogs;
    user::ModalActions modal{dialogs};
    const std::string dir = testsupport::TempDir();
    TSaveDialog save{nullptr};
};

TEST_F(SaveDialogUserTest, TheChosenFilterGivesItsIndexAndExtension)
{
    Answer(1, "picture");
    ASSERT_TRUE(save.Execute());
    EXPECT_EQ(save.FilterIndex(), 2);
    EXPECT_EQ(save.FileName(), dir + "/picture.bmp");
}

TEST_F(SaveDialogUserTest, AFilterWithoutExtensionKeepsTheDefaultOne)
{
    save.SetFilterIndex(2);
    Answer(1, "notes");
    ASSERT_TRUE(save.Execute());
    EXPECT_EQ(save.FilterIndex(), 3);
    EXPECT_EQ(save.FileName(), dir + "/notes.emf");
}

TEST_F(SaveDialogUserTest, TheFilterShownFirstGivesItsExtensionToo)
{
    save.SetFilterIndex(2);
    Answer(0, "plain");
    ASSERT_TRUE(save.Execute());
    EXPECT_EQ(save.FilterIndex(), 2);
    EXPECT_EQ(save.FileName(), dir + "/plain.bmp");
}

TEST_F(SaveDialogUserTest, ATypedExtensionStaysWhateverTheFilter)
{
    Answer(0, "drawing.bmp");
    ASSERT_TRUE(save.Execute());
    EXPECT_EQ(save.FilterIndex(), 1);
    EXPECT_EQ(save.FileName(), dir + "/drawing.bmp");
}

} // namespace
