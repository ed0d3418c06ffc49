#include "Unit2.h"

#include "DataFile.h"
#include "Unit3.h"

#include <filesystem>
#include <system_error>

TfmMain* fmMain = nullptr;

namespace {

// Creates a control owned by the form, named, placed in Parent at the given bounds.
template <class T, class... Args>
T* Place(TForm* Form, TWinControl* Parent, const char* Name, int Left, int Top, int Width, int Height, Args... Extra)
{
    T* c = new T(Form, Extra...);
    c->SetName(Name);
    c->SetParent(Parent);
    c->SetBounds(Left, Top, Width, Height);
    return c;
}

TComboBox* PlaceList(TForm* Form, TWinControl* Parent, const char* Name, int Left, int Top, int Width,
                     std::initializer_list<const char*> Items, int ItemIndex)
{
    auto* box = Place<TComboBox>(Form, Parent, Name, Left, Top, Width, 21, csDropDownList);
    for (const char* item : Items)
        box->Items()->Add(item);
    box->SetItemIndex(ItemIndex);
    return box;
}

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
    SetBounds(0, 0, 1029, 744);
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
    Data1->OnClick = [this](TObject* Sender) { Data1Click(Sender); };
    About1->OnClick = [this](TObject* Sender) { About1Click(Sender); };
    SetMenu(MainMenu1);

    // Problem details, on the left.
    GroupBox3 = Place<TGroupBox>(this, this, "GroupBox3", 4, 4, 345, 690);
    GroupBox3->SetCaption(" Problem details ");
    GroupBox3->SetFontName("Times New Roman");

    Panel3 = Place<TPanel>(this, GroupBox3, "Panel3", 0, 0, 0, 272);
    Panel3->SetAlign(alTop);
    Panel3->SetBevelOuter(bvNone);

    Label1 = Place<TLabel>(this, Panel3, "Label1", 12, 12, 28, 17);
    Label1->SetCaption("N = ");
    edN = Place<TEdit>(this, Panel3, "edN", 44, 8, 49, 23);
    edN->SetText("2");

    chbPrev = Place<TCheckBox>(this, Panel3, "chbPrev", 12, 40, 300, 21);
    chbPrev->SetCaption("Use previous results as initial guess");

    Label2 = Place<TLabel>(this, Panel3, "Label2", 12, 74, 12, 17);
    Label2->SetCaption("X");
    cbX = PlaceList(this, Panel3, "cbX", 28, 70, 89, {"T", "1/T", "T*T", "T^3"}, 0);
    Label6 = Place<TLabel>(this, Panel3, "Label6", 136, 74, 12, 17);
    Label6->SetCaption("Y");
    cbY = PlaceList(this, Panel3, "cbY", 152, 70, 105, {"Cp(T)", "Cp(T)/T"}, 0);

    Label5 = Place<TLabel>(this, Panel3, "Label5", 12, 106, 90, 17);
    Label5->SetCaption("Minimize error");
    cbErrortype = PlaceList(this, Panel3, "cbErrortype", 108, 102, 97, {"Absolute", "Relative"}, 0);
    cbSave = Place<TCheckBox>(this, Panel3, "cbSave", 224, 104, 73, 21);
    cbSave->SetCaption("Save");

    sbrun = Place<TSpeedButton>(this, Panel3, "sbrun", 12, 138, 97, 33);
    sbrun->SetCaption("&RUN");
    sbrun->OnClick = [this](TObject* Sender) { sbrunClick(Sender); };
    SpeedButton1 = Place<TSpeedButton>(this, Panel3, "SpeedButton1", 120, 138, 97, 33);
    SpeedButton1->SetCaption("Conf. intl.");
    SpeedButton1->OnClick = [this](TObject* Sender) { SpeedButton1Click(Sender); };
    BitBtn2 = Place<TBitBtn>(this, Panel3, "BitBtn2", 228, 138, 89, 33);
    BitBtn2->SetKind(bkClose);
    sbStop = Place<TSpeedButton>(this, Panel3, "sbStop", 12, 240, 97, 25);
    sbStop->SetCaption("Stop");
    sbStop->SetEnabled(false);
    sbStop->OnClick = [this](TObject* Sender) { sbStopClick(Sender); };
    lbProgress = Place<TLabel>(this, Panel3, "lbProgress", 120, 244, 220, 17);
    lbProgress->SetCaption("");

    // Choices that stay at their defaults: nothing in the program shows them.
    chbTest = Place<TCheckBox>(this, Panel3, "chbTest", 12, 182, 57, 21);
    chbTest->SetCaption("Test");
    chbTest->SetVisible(false);
    Label3 = Place<TLabel>(this, Panel3, "Label3", 76, 186, 32, 17);
    Label3->SetCaption("Norm");
    Label3->SetVisible(false);
    cbNorm = PlaceList(this, Panel3, "cbNorm", 112, 182, 105, {"LSQ", "Sum of abs dev", "Abs deviation"}, 0);
    cbNorm->SetVisible(false);
    Label4 = Place<TLabel>(this, Panel3, "Label4", 12, 212, 48, 17);
    Label4->SetCaption("Routine");
    Label4->SetVisible(false);
    cbRoutine = PlaceList(this, Panel3, "cbRoutine", 64, 208, 113, {"Nelder-Mead", "Lev-Marquardt"}, 1);
    cbRoutine->SetVisible(false);

    infopanel = Place<TPanel>(this, GroupBox3, "infopanel", 0, 0, 0, 73);
    infopanel->SetAlign(alBottom);
    infopanel->SetBevelOuter(bvLowered);
    Memo2 = Place<TMemo>(this, infopanel, "Memo2", 0, 0, 0, 0);
    Memo2->SetAlign(alClient);
    Memo2->SetFontColor(clRed);

    sgIniGuess = Place<TStringGrid>(this, GroupBox3, "sgIniGuess", 0, 0, 0, 0);
    sgIniGuess->SetAlign(alClient);
    sgIniGuess->SetColCount(4);
    sgIniGuess->SetFixedCols(1);
    sgIniGuess->SetFixedRows(1);
    sgIniGuess->SetDefaultColWidth(90);
    sgIniGuess->SetOptions(goEditing);

    // The report view, on the right.
    GroupBox2 = Place<TGroupBox>(this, this, "GroupBox2", 353, 4, 668, 690);
    GroupBox2->SetCaption(" Solution ");
    Memo1 = Place<TMemo>(this, GroupBox2, "Memo1", 0, 0, 0, 0);
    Memo1->SetAlign(alClient);
    Memo1->SetFontName("Courier New");
    Memo1->SetScrollBars(ssVertical);
    Memo1->Lines()->SetText("Memo1");

    OpenDialog1 = new TOpenDialog(this);
    OpenDialog1->SetName("OpenDialog1");
    OpenDialog1->SetDefaultExt("dat");
    OpenDialog1->SetFilter("Data (*.dat)|*.dat");
    OpenDialog1->SetInitialDir(ExamplesFolder());

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
    if (text.empty())
        return;
    // A text that is no integer raises the conversion error before the grid changes.
    int n = CheckedMul(2, StrToInt(text));
    if (n < 1)
        return;
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
    if (!OpenDialog1->Execute())
        return;
    const std::string fileName = OpenDialog1->FileName();
    // Read the file first: when it cannot be read, the data window keeps its text.
    const TDataFileText text = ReadDataFileText(fileName);
    fmData->Memo1->Lines()->SetText(text.Text);
    SetCaption(fileName);
    fmData->SetCaption(fileName);
    for (int row = 1; row <= 21; ++row) {
        sgIniGuess->SetCells(1, row, "1");
        sgIniGuess->SetCells(2, row, "");
        sgIniGuess->SetCells(3, row, "");
    }
    fmData->Show();
    if (!text.Whole) {
        MessageDlg("The file is too large to show whole (" + FormatFloat("0.0", text.FileSize / 1048576.0) +
                       " MB). The data window shows its first " + IntToStr(text.LinesShown) +
                       " lines: the header and the data lines that a run reads.",
                   mtInformation, {mbOK}, 0);
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
