// The main window, driven as a user would: set controls, press buttons and menu items,
// read the controls and the answered message boxes.
#include "AppWindows.h"

#include "ChatUnit.h"
#include "DataFile.h"
#include "TestSupport.h"
#include "Unit2.h"
#include "Unit3.h"
#include "UserInput.h"

#include <QAbstractButton>
#include <QApplication>
#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenuBar>
#include <QPixmap>
#include <QTableWidget>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>

namespace {

class MainWindowTest : public AppWindowsTest {
protected:
    TStringGrid* Grid() const { return main->sgIniGuess; }
    std::vector<std::string> Column(int col, int rows) const
    {
        std::vector<std::string> cells;
        for (int r = 1; r <= rows; ++r)
            cells.push_back(Grid()->Cells(col, r));
        return cells;
    }
    void AnswerOpenWith(const std::string& fileName)
    {
        dialogs.Answer = [fileName](TDialogRequest& r) {
            if (r.Kind != TDialogKind::dkOpenFile)
                return mrOk;
            r.FileName = fileName;
            return mrOk;
        };
    }
};

std::string Combo(const TComboBox* box)
{
    std::string items;
    for (int i = 0; i < box->Items()->Count(); ++i)
        items += box->Items()->Get(i) + "|";
    return items + std::to_string(box->ItemIndex());
}

TEST_F(MainWindowTest, StartsWithTheStoredLayout)
{
    EXPECT_EQ(main->Caption(), "Low temperature heat capacity approximation");
    EXPECT_EQ(main->Width(), 1029);
    EXPECT_EQ(main->Height(), 744);
    EXPECT_EQ(main->edN->Text(), "2");
    EXPECT_FALSE(main->chbPrev->Checked());
    EXPECT_EQ(main->chbPrev->Caption(), "Use previous results as initial guess");
    EXPECT_EQ(Combo(main->cbX), "T|1/T|T*T|T^3|0");
    EXPECT_EQ(Combo(main->cbY), "Cp(T)|Cp(T)/T|0");
    EXPECT_EQ(Combo(main->cbErrortype), "Absolute|Relative|0");
    EXPECT_EQ(Combo(main->cbNorm), "LSQ|Sum of abs dev|Abs deviation|0");
    EXPECT_EQ(Combo(main->cbRoutine), "Nelder-Mead|Lev-Marquardt|1");
    EXPECT_FALSE(main->cbSave->Checked());
    EXPECT_FALSE(main->chbTest->Checked());
    for (TControl* hidden : std::initializer_list<TControl*>{main->chbTest, main->Label3, main->cbNorm, main->Label4, main->cbRoutine})
        EXPECT_FALSE(hidden->Visible()) << hidden->Name();
    EXPECT_EQ(main->sbrun->Caption(), "&RUN");
    EXPECT_EQ(main->SpeedButton1->Caption(), "Conf. intl.");
    EXPECT_EQ(main->BitBtn2->Kind(), bkClose);
    EXPECT_EQ(main->GroupBox3->Caption(), " Problem details ");
    EXPECT_EQ(main->GroupBox3->FontName(), "Times New Roman");
    EXPECT_EQ(main->GroupBox2->Caption(), " Solution ");
    EXPECT_EQ(main->Memo1->FontName(), "Courier New");
    EXPECT_EQ(main->Memo1->ScrollBars(), ssBoth);
    EXPECT_EQ(main->Memo1->Lines()->Count(), 0);   // the report starts empty
    EXPECT_EQ(main->Memo2->FontColor(), clRed);
    EXPECT_EQ(main->OpenDialog1->DefaultExt(), "dat");
    EXPECT_EQ(main->OpenDialog1->Filter(), "Data (*.dat)|*.dat");

    // The grid of unknowns after FormCreate: header, widths and N = 2.
    EXPECT_EQ(Grid()->ColCount(), 4);
    EXPECT_EQ(Grid()->RowCount(), 5);
    EXPECT_EQ(Grid()->ColWidths(0), 45);
    EXPECT_EQ(Grid()->ColWidths(1), 95);
    EXPECT_EQ(Grid()->Cells(0, 0) + "|" + Grid()->Cells(1, 0) + "|" + Grid()->Cells(2, 0) + "|" + Grid()->Cells(3, 0),
              "Unkn.|Init. guess|Coefficients|Unc");
    EXPECT_EQ(Column(0, 4), (std::vector<std::string>{"X1", "X2", "X3", "X4"}));
    EXPECT_EQ(Column(1, 4), (std::vector<std::string>(4, "1")));

    // Everything fits in the window.
    for (TControl* c : {static_cast<TControl*>(main->GroupBox3), static_cast<TControl*>(main->GroupBox2)}) {
        EXPECT_GE(c->Left(), 0);
        EXPECT_LE(c->Left() + c->Width(), main->Width());
    }
    if (const std::string path = testsupport::ArtifactPath("main_window.png"); !path.empty()) {
        main->Show();
        main->Widget()->grab().save(QString::fromStdString(path));
    }
}

TEST_F(MainWindowTest, ToolkitObjectsCarryTheLayoutNames)
{
    QWidget* win = main->Widget();
    EXPECT_EQ(win->objectName(), "fmMain");
    for (const char* name : {"GroupBox3", "Panel3", "edN", "chbPrev", "cbX", "cbY", "sgIniGuess", "infopanel", "Memo2",
                             "GroupBox2", "Memo1", "sbrun", "Label5", "cbErrortype", "cbSave", "SpeedButton1",
                             "chbTest", "Label3", "cbNorm", "Label4", "cbRoutine", "BitBtn2"})
        EXPECT_NE(win->findChild<QWidget*>(name), nullptr) << name;
    EXPECT_EQ(static_cast<QWidget*>(win->findChild<QLineEdit*>("edN")), main->edN->Widget());
    EXPECT_NE(win->findChild<QTableWidget*>("sgIniGuess"), nullptr);

    QMenuBar* bar = static_cast<QMainWindow*>(win)->menuBar();
    std::vector<std::string> top;
    for (QAction* a : bar->actions())
        top.push_back(a->objectName().toStdString() + "=" + a->text().toStdString());
    EXPECT_EQ(top, (std::vector<std::string>{"File1=&File", "Data1=Data", "About1=About"}));
    std::vector<std::string> file;
    for (QAction* a : main->File1->Action()->menu()->actions())
        file.push_back(a->objectName().toStdString() + (a->isSeparator() ? "=-" : "=" + a->text().toStdString()));
    EXPECT_EQ(file, (std::vector<std::string>{"Open1=&Open", "Save1=&Save", "N1=-", "Exit1=E&xit"}));
}

TEST_F(MainWindowTest, MoreThanTenTermsAreCappedWithAWarning)
{
    main->edN->SetText("11");
    ASSERT_EQ(dialogs.Requests.size(), 1u);
    EXPECT_EQ(dialogs.Requests[0].Text, "Maximum number of unknowns is 20");
    EXPECT_EQ(dialogs.Requests[0].Type, mtWarning);
    EXPECT_TRUE(dialogs.Requests[0].Buttons == TMsgDlgButtons({mbOK}));
    EXPECT_EQ(main->edN->Text(), "10");
    EXPECT_EQ(Grid()->RowCount(), 21);
    EXPECT_EQ(Grid()->Cells(0, 1), "X1");
    EXPECT_EQ(Grid()->Cells(0, 20), "X20");
    EXPECT_EQ(Column(1, 20), (std::vector<std::string>(20, "1")));
}

TEST_F(MainWindowTest, NonPositiveOrEmptyNChangesNothing)
{
    Grid()->SetCells(1, 2, "7");
    // A sign alone is a number still being typed.
    for (const char* text : {"0", "-3", "  ", "-", "+"}) {
        main->edN->SetText(text);
        EXPECT_EQ(Grid()->RowCount(), 5) << text;
        EXPECT_EQ(Grid()->Cells(1, 2), "7");
    }
    EXPECT_TRUE(dialogs.Requests.empty());
}

TEST_F(MainWindowTest, NonIntegerNReachesTheDefaultHandler)
{
    main->edN->SetText("3");
    main->edN->SetText("2.5");
    main->edN->SetText("99999999999");
    ASSERT_EQ(dialogs.Requests.size(), 2u);
    EXPECT_EQ(dialogs.Requests[0].Text, "'2.5' is not a valid integer value.");
    EXPECT_EQ(dialogs.Requests[0].Type, mtError);
    EXPECT_EQ(dialogs.Requests[1].Type, mtError);
    EXPECT_EQ(Grid()->RowCount(), 7);   // the layout of N = 3 stays

    // A value too large to double neither wraps nor overflows: it is capped like 11.
    dialogs.Requests.clear();
    main->edN->SetText("1500000000");
    ASSERT_EQ(dialogs.Requests.size(), 1u);
    EXPECT_EQ(dialogs.Requests[0].Text, "Maximum number of unknowns is 20");
    EXPECT_EQ(main->edN->Text(), "10");
    EXPECT_EQ(Grid()->RowCount(), 21);
}

TEST_F(MainWindowTest, LoweringNKeepsTheHiddenRows)
{
    main->edN->SetText("5");
    for (int k = 1; k <= 10; ++k)
        Grid()->SetCells(2, k, "c" + std::to_string(k));
    Grid()->SetCells(1, 9, "300");
    main->edN->SetText("2");
    EXPECT_EQ(Grid()->RowCount(), 5);
    EXPECT_EQ(Grid()->Cells(2, 4), "c4");
    EXPECT_EQ(Grid()->Cells(2, 10), "c10");
    main->edN->SetText("5");
    auto* table = static_cast<QTableWidget*>(Grid()->Widget());
    ASSERT_EQ(table->rowCount(), 11);
    EXPECT_EQ(table->item(10, 2)->text(), "c10");
    EXPECT_EQ(Grid()->Cells(1, 9), "300");   // an existing guess stays
}

TEST_F(MainWindowTest, OpenLoadsTheFileAndResetsAllRows)
{
    const std::string path = testsupport::TempDir() + "/sample.dat";
    std::ofstream(path) << "a\nb\nc\n1\n0\n10 2\n";
    for (int k = 1; k <= 21; ++k) {
        Grid()->SetCells(1, k, "g");
        Grid()->SetCells(2, k, "a");
        Grid()->SetCells(3, k, "u");
    }
    AnswerOpenWith(path);
    main->Open1->Action()->trigger();
    ASSERT_EQ(dialogs.Requests.size(), 1u);
    EXPECT_EQ(dialogs.Requests[0].Kind, TDialogKind::dkOpenFile);
    EXPECT_EQ(fmData->Memo1->Lines()->Count(), 6);
    EXPECT_EQ(fmData->Memo1->Lines()->Get(5), "10 2");
    EXPECT_EQ(main->Caption(), path);
    EXPECT_EQ(fmData->Caption(), path);
    EXPECT_TRUE(fmData->Visible());
    EXPECT_EQ(Grid()->RowCount(), 5);
    EXPECT_EQ(Column(1, 21), (std::vector<std::string>(21, "1")));
    EXPECT_EQ(Column(2, 21), (std::vector<std::string>(21, "")));
    EXPECT_EQ(Column(3, 21), (std::vector<std::string>(21, "")));
}

TEST_F(MainWindowTest, FileSaveWritesTheDataAndClosingOrOpeningAsksAboutUnsavedChanges)
{
    const std::string path = testsupport::TempDir() + "/edited.dat";
    const std::string original = "a\nb\nc\n1\n0\n10 2\n";
    std::ofstream(path) << original;
    const auto fileText = [&path] {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    };
    AnswerOpenWith(path);
    main->Open1->Action()->trigger();
    dialogs.Requests.clear();
    EXPECT_TRUE(main->CloseQuery());   // nothing changed, nothing asked
    EXPECT_TRUE(dialogs.Requests.empty());

    user::ShowAndActivate(fmData);
    ASSERT_TRUE(user::Key(fmData->Memo1, Qt::Key_End, Qt::ControlModifier));
    ASSERT_TRUE(user::Key(Qt::Key_Up));   // from the empty line after the last point
    ASSERT_TRUE(user::Key(Qt::Key_End));
    ASSERT_TRUE(user::Type("0"));
    // Cancel keeps the program and the file as they were.
    dialogs.Answer = [](TDialogRequest&) { return mrCancel; };
    main->Exit1->Action()->trigger();
    ASSERT_EQ(dialogs.Requests.size(), 1u);
    EXPECT_EQ(dialogs.Requests[0].Text, "Save the changes to the data of " + path + "?");
    EXPECT_EQ(dialogs.Requests[0].Type, mtConfirmation);
    EXPECT_FALSE(Application->Terminated());
    EXPECT_EQ(fileText(), original);
    // Yes saves the text before the window closes.
    dialogs.Answer = [](TDialogRequest&) { return mrYes; };
    EXPECT_TRUE(main->CloseQuery());
    EXPECT_EQ(fileText(), "a\r\nb\r\nc\r\n1\r\n0\r\n10 20\r\n");
    dialogs.Requests.clear();
    EXPECT_TRUE(main->CloseQuery());
    EXPECT_TRUE(dialogs.Requests.empty());

    // File > Save writes without asking.
    ASSERT_TRUE(user::Type("5"));
    main->Save1->Action()->trigger();
    EXPECT_TRUE(dialogs.Requests.empty());
    EXPECT_EQ(fileText(), "a\r\nb\r\nc\r\n1\r\n0\r\n10 205\r\n");

    // Opening a file asks too; No drops the change.
    ASSERT_TRUE(user::Type("9"));
    dialogs.Answer = [path](TDialogRequest& r) {
        if (r.Kind == TDialogKind::dkOpenFile)
            r.FileName = path;
        return r.Kind == TDialogKind::dkOpenFile ? mrOk : mrNo;
    };
    main->Open1->Action()->trigger();
    ASSERT_EQ(dialogs.Requests.size(), 2u);
    EXPECT_EQ(dialogs.Requests[0].Type, mtConfirmation);
    EXPECT_EQ(fmData->Memo1->Lines()->Get(5), "10 205");
    EXPECT_FALSE(fmData->Modified());
}

// A file too large to show whole cannot be saved from its first lines; changes to them go
// only when the user says so.
TEST_F(MainWindowTest, ChangesToAFileShownInPartAreNeverSavedAndGoOnlyWhenTheUserSaysSo)
{
    const std::string path = testsupport::TempDir() + "/large.dat";
    const std::string original = "a\nb\nc\n1\n0\n10 2\n" + std::string(DataFileShowLimit, '#') + "\n";
    std::ofstream(path, std::ios::binary) << original;
    const auto fileText = [&path] {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    };
    AnswerOpenWith(path);
    main->Open1->Action()->trigger();
    ASSERT_TRUE(fmData->ShownInPart());
    dialogs.Requests.clear();
    EXPECT_TRUE(main->CloseQuery());   // nothing changed, nothing asked
    EXPECT_TRUE(dialogs.Requests.empty());

    user::ShowAndActivate(fmData);
    ASSERT_TRUE(user::Key(fmData->Memo1, Qt::Key_End, Qt::ControlModifier));
    ASSERT_TRUE(user::Type("5"));
    main->Save1->Action()->trigger();
    ASSERT_EQ(dialogs.Requests.size(), 1u);
    EXPECT_EQ(dialogs.Requests[0].Type, mtError);
    EXPECT_EQ(dialogs.Requests[0].Text,
              "The data window shows only the first lines of " + path + ", which can not be saved over the whole file.");

    // Cancel keeps the program and the changes; OK lets them go. The file stays as it was.
    const std::string question = "The changes to the data of " + path +
                                 " cannot be saved: the data window shows only the first lines of the file. Discard them?";
    for (const TModalResult answer : {mrCancel, mrOk}) {
        dialogs.Requests.clear();
        dialogs.Answer = [answer](TDialogRequest&) { return answer; };
        EXPECT_EQ(main->CloseQuery(), answer == mrOk);
        ASSERT_EQ(dialogs.Requests.size(), 1u);
        EXPECT_EQ(dialogs.Requests[0].Text, question);
        EXPECT_EQ(dialogs.Requests[0].Type, mtConfirmation);
        EXPECT_EQ(fileText(), original);
    }
}

TEST_F(MainWindowTest, DataTypedWithNoFileOpenAreSavedUnderANameTheUserChooses)
{
    const std::string path = testsupport::TempDir() + "/typed.dat";
    std::filesystem::remove(path);
    user::ShowAndActivate(fmData);
    ASSERT_TRUE(user::Type(fmData->Memo1, "x"));

    // Closing asks; Yes with the save dialog cancelled keeps the program open.
    dialogs.Answer = [](TDialogRequest& r) { return r.Kind == TDialogKind::dkSaveFile ? mrCancel : mrYes; };
    EXPECT_FALSE(main->CloseQuery());
    ASSERT_EQ(dialogs.Requests.size(), 2u);
    EXPECT_EQ(dialogs.Requests[0].Text, "Save the data typed in the data window?");
    EXPECT_EQ(dialogs.Requests[1].Kind, TDialogKind::dkSaveFile);
    EXPECT_FALSE(std::filesystem::exists(path));

    // File > Save asks for the name; the file saved then is the open data file.
    dialogs.Requests.clear();
    dialogs.Answer = [path](TDialogRequest& r) {
        r.FileName = path;
        return mrOk;
    };
    main->Save1->Action()->trigger();
    ASSERT_EQ(dialogs.Requests.size(), 1u);
    EXPECT_EQ(dialogs.Requests[0].Kind, TDialogKind::dkSaveFile);
    std::ifstream in(path, std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "x");
    EXPECT_EQ(main->Caption(), path);
    EXPECT_EQ(fmData->Caption(), path);
    EXPECT_EQ(main->OpenDialog1->FileName(), path);
    dialogs.Requests.clear();
    EXPECT_TRUE(main->CloseQuery());
    EXPECT_TRUE(dialogs.Requests.empty());
}

TEST_F(MainWindowTest, CancelledOrUnreadableOpenKeepsEverything)
{
    fmData->Memo1->Lines()->SetText("kept\n");
    fmData->SetModified(false);   // as loaded: no question about saving it
    Grid()->SetCells(2, 1, "a");
    main->Open1->Action()->trigger();   // cancelled
    AnswerOpenWith(testsupport::TempDir() + "/missing.dat");
    main->Open1->Action()->trigger();
    ASSERT_EQ(dialogs.Requests.size(), 3u);
    EXPECT_EQ(dialogs.Requests[2].Type, mtError);   // the file error, through the default handler
    EXPECT_NE(dialogs.Requests[2].Text.find("missing.dat"), std::string::npos);
    EXPECT_EQ(fmData->Memo1->Text(), "kept\r\n");
    EXPECT_EQ(Grid()->Cells(2, 1), "a");
    EXPECT_EQ(main->Caption(), "Low temperature heat capacity approximation");
    EXPECT_FALSE(fmData->Visible());
}

TEST_F(MainWindowTest, MenuShowsDataWindowAndAboutBox)
{
    main->Data1->Action()->trigger();
    EXPECT_TRUE(fmData->Visible());
    main->About1->Action()->trigger();
    ASSERT_EQ(dialogs.Requests.size(), 1u);
    EXPECT_EQ(dialogs.Requests[0].Type, mtInformation);
    EXPECT_TRUE(dialogs.Requests[0].Buttons == TMsgDlgButtons({mbOK}));
    EXPECT_EQ(dialogs.Requests[0].Text.rfind("Low temperature heat capacity approximation", 0), 0u);
}

// The data window, once shown, may lie behind the main window: Data brings it back to the
// front, as a second File > Open does.
TEST_F(MainWindowTest, DataMenuBringsTheDataWindowBackToTheFront)
{
    for (int pass = 0; pass < 2; ++pass) {
        user::ShowAndActivate(main.get());
        ASSERT_EQ(QApplication::activeWindow(), main->Widget()) << pass;
        main->Data1->Action()->trigger();
        QApplication::processEvents();
        EXPECT_TRUE(fmData->Visible());
        EXPECT_EQ(QApplication::activeWindow(), fmData->Widget()) << pass;
    }
}

TEST_F(MainWindowTest, RunWithoutPointsSaysSo)
{
    main->Memo2->Lines()->SetText("old warning");
    static_cast<QAbstractButton*>(main->sbrun->Widget())->click();
    ASSERT_EQ(dialogs.Requests.size(), 1u);
    EXPECT_EQ(dialogs.Requests[0].Text, "Number of data points = 0");
    // A refused run changes nothing else, the last run's information line included.
    EXPECT_EQ(main->Memo2->Lines()->Count(), 1);
    EXPECT_EQ(dialogs.Requests[0].Type, mtError);

    // The data window's "Close && &RUN " hides it and runs the same.
    fmData->Show();
    fmData->Memo1->Lines()->SetText("1\n2\n3\n1\n0\n10 20\n");
    static_cast<QAbstractButton*>(fmData->sbrun->Widget())->click();
    EXPECT_FALSE(fmData->Visible());
    EXPECT_EQ(fmData->PointCount(), 1);
    // One point cannot determine four unknowns: the run says so instead of fitting.
    ASSERT_EQ(dialogs.Requests.size(), 2u);
    EXPECT_EQ(dialogs.Requests[1].Text, "Too few data points: 1 point for 4 unknowns");
}

TEST(MainProgramTest, ClosingTheMainWindowEndsTheProgram)
{
    DialogRecorder dialogs;
    Application->CreateForm(fmMain);
    Application->CreateForm(fmData);
    Application->CreateForm(fmChart);
    ASSERT_EQ(Application->MainForm(), fmMain);
    EXPECT_EQ(fmChart->Caption(), "Chart");
    EXPECT_EQ(fmChart->Width(), 696);
    EXPECT_FALSE(fmChart->sbUndoZoom->Visible());
    EXPECT_EQ(fmChart->SpeedButton1->Caption(), "&EDIT");
    fmChart->Show();
    fmData->Show();
    if (const std::string path = testsupport::ArtifactPath("chart_window.png"); !path.empty())
        fmChart->Widget()->grab().save(QString::fromStdString(path));
    if (const std::string path = testsupport::ArtifactPath("data_window.png"); !path.empty())
        fmData->Widget()->grab().save(QString::fromStdString(path));
    static_cast<QAbstractButton*>(fmChart->BitBtn1->Widget())->click();
    EXPECT_FALSE(fmChart->Visible());
    EXPECT_FALSE(Application->Terminated());

    static_cast<QAbstractButton*>(fmMain->BitBtn2->Widget())->click();
    EXPECT_TRUE(Application->Terminated());
    FinalizeFormsUnit();   // frees the three windows with the application
    fmMain = nullptr;
    fmData = nullptr;
    fmChart = nullptr;
}

} // namespace
