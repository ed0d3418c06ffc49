#include "Unit2.h"

#include "ChatUnit.h"
#include "DataFile.h"
#include "Unit3.h"

#include "classes/Streams.h"
#include "controls/FormBuilder.h"

#include <filesystem>
#include <system_error>

TfmMain* fmMain = nullptr;

namespace {

TMenuItem* MenuItem(TForm* Form, TMenuItem* Parent, const char* Name, const char* Caption)
{
    auto* item = new TMenuItem(Form);
    item->SetName(Name);
    item->SetCaption(Caption);
    Parent->Add(item);
    return item;
}

// The examples folder of the checkout, when the program runs from there.
std::string ExamplesFolder()
{
    std::error_code ec;
    const auto dir = std::filesystem::current_path(ec) / "examples";
    if (!ec && std::filesystem::is_directory(dir, ec))
        return dir.string();
    return {};
}

} // namespace

TfmMain::TfmMain(TComponent* AOwner) : TForm(AOwner)
{
    SetName("fmMain");
    SetCaption("Low temperature heat capacity approximation");
    SetPosition(poScreenCenter);
    SetFontName("MS Sans Serif");

    MainMenu1 = new TMainMenu(this);
    MainMenu1->SetName("MainMenu1");
    File1 = MenuItem(this, MainMenu1->Items(), "File1", "&File");
    Open1 = MenuItem(this, File1, "Open1", "&Open");
    Save1 = MenuItem(this, File1, "Save1", "&Save");
    N1 = MenuItem(this, File1, "N1", "-");
    Exit1 = MenuItem(this, File1, "Exit1", "E&xit");
    Data1 = MenuItem(this, MainMenu1->Items(), "Data1", "Data");
    About1 = MenuItem(this, MainMenu1->Items(), "About1", "About");
    Open1->OnClick = [this](TObject* Sender) { Open1Click(Sender); };
    Exit1->OnClick = [this](TObject* Sender) { Exit1Click(Sender); };
    Save1->OnClick = [this](TObject* Sender) { Save1Click(Sender); };
    OnCloseQuery = [this](TObject* Sender, bool& CanClose) { FormCloseQuery(Sender, CanClose); };
    Data1->OnClick = [this](TObject* Sender) { Data1Click(Sender); };
    About1->OnClick = [this](TObject* Sender) { About1Click(Sender); };
    SetMenu(MainMenu1);

    // Problem details on the left (options above the grid of unknowns, the information
    // line below it), the report view on the right taking the width left over.
    BuildForm(this, 1029, 744, {
        Columns({
            Column({Growing(WithFontName(Group(GroupBox3, "GroupBox3", " Problem details ", {
                Panel(Panel3, "Panel3", {
                    Row(Label1, "Label1", "N = ", {Ctl(edN, "edN", "", 49)}),
                    Ctl(chbPrev, "chbPrev", "Use previous results as initial guess"),
                    Row(Label2, "Label2", "X", {
                        Combo(cbX, "cbX", {"T", "1/T", "T*T", "T^3"}, csDropDownList, 89),
                        Ctl(Label6, "Label6", "Y"),
                        Combo(cbY, "cbY", {"Cp(T)", "Cp(T)/T"}, csDropDownList, 105),
                    }),
                    Row(Label5, "Label5", "Minimize error", {
                        Combo(cbErrortype, "cbErrortype", {"Absolute", "Relative"}, csDropDownList, 97),
                        Ctl(cbSave, "cbSave", "Save"),
                    }),
                    Line({Ctl(sbrun, "sbrun", "&RUN", 97), Ctl(SpeedButton1, "SpeedButton1", "Conf. intl.", 97),
                          KindButton(BitBtn2, "BitBtn2", bkClose, 89), Stretch()}),
                    Line({Ctl(sbStop, "sbStop", "Stop", 97), Ctl(lbProgress, "lbProgress")}),
                    // Choices that stay at their defaults: nothing in the program shows them.
                    Line({Ctl(chbTest, "chbTest", "Test"), Ctl(Label3, "Label3", "Norm"),
                          Combo(cbNorm, "cbNorm", {"LSQ", "Sum of abs dev", "Abs deviation"}, csDropDownList, 105),
                          Stretch()}),
                    Row(Label4, "Label4", "Routine",
                        {Combo(cbRoutine, "cbRoutine", {"Nelder-Mead", "Lev-Marquardt"}, csDropDownList, 113)}),
                }),
                Growing(Ctl(sgIniGuess, "sgIniGuess")),
                Panel(infopanel, "infopanel", {Growing(Ctl(Memo2, "Memo2"))}),
            }), "Times New Roman"))}),
            Growing(Column({Growing(Group(GroupBox2, "GroupBox2", " Solution ", {Growing(Ctl(Memo1, "Memo1"))}))})),
        }),
    });
    SetFixedWidth(GroupBox3, 345);

    edN->SetText("2");
    cbX->SetItemIndex(0);
    cbY->SetItemIndex(0);
    cbErrortype->SetItemIndex(0);
    sbrun->OnClick = [this](TObject* Sender) { sbrunClick(Sender); };
    SpeedButton1->OnClick = [this](TObject* Sender) { SpeedButton1Click(Sender); };
    sbStop->SetEnabled(false);
    sbStop->OnClick = [this](TObject* Sender) { sbStopClick(Sender); };
    for (TControl* hidden : {static_cast<TControl*>(chbTest), static_cast<TControl*>(Label3),
                             static_cast<TControl*>(cbNorm), static_cast<TControl*>(Label4),
                             static_cast<TControl*>(cbRoutine)})
        hidden->SetVisible(false);
    cbNorm->SetItemIndex(0);
    cbRoutine->SetItemIndex(1);

    infopanel->SetBevelOuter(bvLowered);
    SetFixedHeight(infopanel, 73);
    Memo2->SetFontColor(clRed);

    sgIniGuess->SetColCount(4);
    sgIniGuess->SetFixedCols(1);
    sgIniGuess->SetFixedRows(1);
    sgIniGuess->SetDefaultColWidth(90);
    sgIniGuess->SetOptions(goEditing);

    Memo1->SetFontName("Courier New");
    // The report's tables keep their columns in a narrow window: lines scroll sideways
    // rather than break.
    Memo1->SetWordWrap(false);
    Memo1->SetScrollBars(ssBoth);
    // The report starts empty: FormCreate would clear a text set here before anyone saw it.
    // The information line comes before the grid in the order of Tab.
    SetTabOrder({Memo2, sgIniGuess});
    UpdateLayout(this);

    OpenDialog1 = new TOpenDialog(this);
    OpenDialog1->SetName("OpenDialog1");
    OpenDialog1->SetDefaultExt("dat");
    OpenDialog1->SetFilter("Data (*.dat)|*.dat");
    OpenDialog1->SetInitialDir(ExamplesFolder());
    // File > Save asks for a file name when no data file is open.
    SaveDialog1 = new TSaveDialog(this);
    SaveDialog1->SetName("SaveDialog1");
    SaveDialog1->SetDefaultExt("dat");
    SaveDialog1->SetFilter("Data (*.dat)|*.dat");
    SaveDialog1->SetInitialDir(ExamplesFolder());

    edN->OnChange = [this](TObject* Sender) { edNChange(Sender); };
    OnCreate = [this](TObject* Sender) { FormCreate(Sender); };
    DoCreate();
}

void TfmMain::FormCreate(TObject* Sender)
{
    Memo1->Clear();
    sgIniGuess->SetColWidths(0, 45);
    sgIniGuess->SetColWidths(1, 95);
    sgIniGuess->SetCells(0, 0, "Unkn.");
    sgIniGuess->SetCells(1, 0, "Init. guess");
    sgIniGuess->SetCells(2, 0, "Coefficients");
    sgIniGuess->SetCells(3, 0, "Unc");
    edNChange(Sender);
}

void TfmMain::edNChange(TObject* Sender)
{
    const std::string text = Trim(edN->Text());
    // Empty, or a sign alone as the first key of a number being typed: nothing yet.
    if (text.empty() || text == "+" || text == "-")
        return;
    // A text that is no integer raises the conversion error before the grid changes. The
    // number of terms is compared before it is doubled, so that a number too large to
    // double is capped with the warning like any other above 10.
    const int terms = StrToInt(text);
    if (terms < 1)
        return;
    int n = terms <= 10 ? 2 * terms : 21;
    if (n > 20) {
        MessageDlg("Maximum number of unknowns is " + IntToStr(20), mtWarning, {mbOK}, 0);
        n = 20;
        edN->SetText("10");
    }
    sgIniGuess->SetRowCount(n + 1);
    for (int k = 1; k <= n; ++k) {
        sgIniGuess->SetCells(0, k, "X" + IntToStr(k));
        if (Trim(sgIniGuess->Cells(1, k)).empty())
            sgIniGuess->SetCells(1, k, "1");
    }
}

void TfmMain::Open1Click(TObject* Sender)
{
    if (!AskToSaveData())
        return;
    if (!OpenDialog1->Execute())
        return;
    const std::string fileName = OpenDialog1->FileName();
    // Read the file first: when it cannot be read, the data window keeps its text.
    const TDataFileText text = ReadDataFileText(fileName);
    fmData->SetFileText(text);
    SetCaption(fileName);
    // A text shown in part says so in the data window's title, as long as it is shown.
    fmData->SetCaption(text.Whole ? fileName
                                  : fileName + " (first " + IntToStr(text.LinesShown) + " lines" +
                                        (text.LinesShortened > 0 ? std::string(", long lines shortened") : "") + ")");
    for (int row = 1; row <= 21; ++row) {
        sgIniGuess->SetCells(1, row, "1");
        sgIniGuess->SetCells(2, row, "");
        sgIniGuess->SetCells(3, row, "");
    }
    // The results of the previous file go with its coefficients: its report, the
    // information line, and the chart with its band and title.
    Memo1->Clear();
    Memo2->Clear();
    if (fmChart != nullptr)
        fmChart->ClearRunResults();
    fmData->Show();
    if (!text.Whole) {
        const std::string size = FormatFloat("0.0", text.FileSize / 1048576.0) + " MB";
        const std::string lines = text.LinesShown == 1 ? std::string("line") : IntToStr(text.LinesShown) + " lines";
        std::string note;
        if (!text.StoppedAtReadLimit) {
            note = "The file is too large to show whole (" + size + "). The data window shows its first " + lines +
                   ": the header and the data lines that a run reads.";
        } else {
            note = "The file is too large to show whole (" + size + "), and its first " +
                   IntToStr(int(DataFileReadLimit >> 20)) + " MB end before the points that line 4 declares" +
                   (text.LinesShown == 0 ? ", inside its first line: the data window shows nothing of it"
                                         : ": the data window shows its first " + lines) +
                   ", and a run is refused.";
        }
        if (text.LinesShortened > 0) {
            note += " Lines longer than " + IntToStr(int(DataFileLineShowLimit)) + " bytes are shown shortened, marked " +
                    DataFileShortenedMark + ": a run reads T and Cp from what is shown.";
        }
        MessageDlg(note, mtInformation, {mbOK}, 0);
    }
}

void TfmMain::Data1Click(TObject* Sender)
{
    fmData->Show();
}

void TfmMain::About1Click(TObject* Sender)
{
    MessageDlg("Low temperature heat capacity approximation\n\n"
               "Fits the heat capacity Cp(T) of a solid with a sum of N Einstein functions "
               "a*3R*u^2*e^u/(e^u-1)^2, u = Theta/T, by the Levenberg-Marquardt method, "
               "and reports the coefficients with their uncertainties, the residuals, "
               "the extrapolation to zero temperature and the entropy S(298.15).",
               mtInformation, {mbOK}, 0);
}

void TfmMain::Exit1Click(TObject* Sender)
{
    Close();
}

void TfmMain::Save1Click(TObject* Sender)
{
    SaveDataText();
}

void TfmMain::FormCloseQuery(TObject* Sender, bool& CanClose)
{
    CanClose = AskToSaveData();
}

bool TfmMain::SaveDataText()
{
    std::string fileName = OpenDialog1->FileName();
    // Data typed with no file open are saved under a name the user chooses, which then
    // is the open data file.
    const bool newFile = fileName.empty();
    if (newFile) {
        if (!SaveDialog1->Execute())
            return false;
        fileName = SaveDialog1->FileName();
    }
    if (fmData->ShownInPart()) {
        MessageDlg("The data window shows only the first lines of " + fileName +
                       ", which can not be saved over the whole file.",
                   mtError, {mbOK}, 0);
        return false;
    }
    // Whole or not at all: a failed write leaves the file as it was.
    try {
        TStrings* lines = fmData->Memo1->Lines();
        WriteFileReplacing(fileName, [lines](TStream* Stream) { lines->SaveToStream(Stream); });
    } catch (const Exception& e) {
        MessageDlg(e.Message(), mtError, {mbOK}, 0);
        return false;
    }
    fmData->SetModified(false);
    if (newFile) {
        OpenDialog1->SetFileName(fileName);
        SetCaption(fileName);
        fmData->SetCaption(fileName);
    }
    return true;
}

bool TfmMain::AskToSaveData()
{
    if (fmData == nullptr || !fmData->Modified())
        return true;
    const std::string fileName = OpenDialog1->FileName();
    // Changes to a file shown in part cannot be saved over it: they go only when the
    // user says so.
    if (fmData->ShownInPart()) {
        return MessageDlg("The changes to the data of " + fileName +
                              " cannot be saved: the data window shows only the first lines of the file. "
                              "Discard them?",
                          mtConfirmation, {mbOK, mbCancel}, 0) == mrOk;
    }
    // With no file open, only a text that holds something is worth a question.
    if (fileName.empty() && Trim(fmData->Memo1->Lines()->Text()).empty())
        return true;
    const std::string question = fileName.empty() ? std::string("Save the data typed in the data window?")
                                                   : "Save the changes to the data of " + fileName + "?";
    switch (MessageDlg(question, mtConfirmation, {mbYes, mbNo, mbCancel}, 0)) {
    case mrYes:
        return SaveDataText();
    case mrNo:
        return true;
    default:
        return false;
    }
}
