// The open dialog as the user answers it: a typed name opens the file of that name when
// there is one, whatever its extension; only a name that names no file takes the default
// extension.
#include "DialogRecorder.h"
#include "TestSupport.h"
#include "UserInput.h"

#include "controls/Dialogs.h"

#include <QLineEdit>
#include <QWidget>

#include <filesystem>
#include <fstream>

#include <gtest/gtest.h>

namespace {

class OpenDialogUserTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::filesystem::create_directories(dir);
        for (const char* name : {"plain", "plain.dat", "notes.txt", "only.dat"})
            std::ofstream(dir + "/" + name) << "3\n";
        open.SetFilter("Data (*.dat)|*.dat");
        open.SetDefaultExt("dat");
        open.SetInitialDir(dir);
    }
    void TearDown() override { std::filesystem::remove_all(dir); }

    void Answer(const std::string& Name)
    {
        modal.ThenInDialog([=](QWidget* d) {
            auto* name = d->findChild<QLineEdit*>("fileNameEdit");
            ASSERT_NE(name, nullptr);
            name->clear();
            ASSERT_TRUE(user::Type(name, Name));
            ASSERT_TRUE(user::Key(Qt::Key_Return));
        });
    }

    DialogRecorder dialogs;
    user::ModalActions modal{dialogs};
    const std::string dir = testsupport::TempDir() + "/open dialog é";
    TOpenDialog open{nullptr};
};

TEST_F(OpenDialogUserTest, TypedNamesOpenTheFileOfThatNameOrTakeTheDefaultExtension)
{
    for (const auto& [typed, opened] : {std::pair<std::string, std::string>{"plain", "plain"},
                                        {"notes.txt", "notes.txt"},
                                        {"only", "only.dat"}}) {
        Answer(typed);
        ASSERT_TRUE(open.Execute()) << typed;
        EXPECT_EQ(open.FileName(), dir + "/" + opened) << typed;
    }
}

} // namespace
