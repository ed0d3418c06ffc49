#include "Unit3.h"

#include "ChatUnit.h"
#include "Unit2.h"

#include "DataFile.h"

#include "controls/FormBuilder.h"

#include <vector>

TfmData* fmData = nullptr;

bool StrToFloatChecked(const std::string& Text, double& Value)
{
    if (TryReadPlainNumber(Text, Value))
        return true;
    ShowMessage("Invalid number: " + Text);
    return false;
}

double StrToFloatChecked(const std::string& Text)
{
    double value = 0;
    return StrToFloatChecked(Text, value) ? value : 0;
}

TfmData::TfmData(TComponent* AOwner) : TForm(AOwner)
{
    SetName("fmData");
    SetCaption("fmData");
    SetPosition(poScreenCenter);

    // A tool row above the data text, which takes the rest of the window.
    BuildForm(this, 819, 480, {
        Line({Ctl(sbrun, "sbrun", "Close && &RUN ", 113), Ctl(Label1, "Label1", "Dividing string"),
              Combo(cbDivString, "cbDivString", {"Space", "Tab"}, csDropDownList, 81), Ctl(Label2, "Label2", "T(max)"),
              Ctl(edTmax, "edTmax", "", 81), Stretch(), KindButton(BitBtn1, "BitBtn1", bkClose, 81)}),
        Growing(Ctl(Memo1, "Memo1")),
    });
    sbrun->OnClick = [this](TObject* Sender) { sbrunClick(Sender); };
    cbDivString->SetItemIndex(0);
    edTmax->SetHint("Set higher temperature limit for the data array");
    Memo1->SetFontName("Courier New");
    Memo1->SetScrollBars(ssVertical);
    Memo1->SetWordWrap(false);
    // The points may be split by tabs, so Tab types one into the data.
    Memo1->SetWantTabs(true);
    Memo1->OnChange = [this](TObject*) { FModified = true; };

    StrParser1 = new TStrParser(this);
    StrParser1->SetName("StrParser1");
    StrParser1->SetDividingString(" ");
    StrParser1->SetCaseSensitive(false);

    OnCreate = [this](TObject* Sender) { FormCreate(Sender); };
    DoCreate();
}

void TfmData::FormCreate(TObject* Sender)
{
    Memo1->Clear();
}

void TfmData::sbrunClick(TObject* Sender)
{
    Close();
    if (fmMain != nullptr) {
        // The user goes on in the main window, which shows the report.
        fmMain->BringToFront();
        fmMain->sbrunClick(Sender);
    }
}

void TfmData::SetFileText(const TDataFileText& Text)
{
    Memo1->Lines()->SetText(Text.Text);
    FModified = false;
    FShownInPart = !Text.Whole;
    FSource = Text.Source;
}

bool TfmData::LoadDataPoints()
{
    FPointCount = 0;
    FTMaxLimit = 0;

    TDataFileOptions options;
    const std::string tmaxText = edTmax->Text();
    if (!Trim(tmaxText).empty()) {
        if (!TryStrToFloat(Trim(tmaxText), options.TMaxLimit)) {
            ShowMessage("Invalid T(max) value: " + tmaxText);
            return false;
        }
        FTMaxLimit = options.TMaxLimit;
    }
    options.DividingString = cbDivString->ItemIndex() == 0 ? " " : "\t";
    options.Source = FSource;
    StrParser1->SetDividingString(options.DividingString);

    TStrings* memoLines = Memo1->Lines();
    std::vector<std::string> lines;
    lines.reserve(static_cast<size_t>(memoLines->Count()));
    for (int i = 0; i < memoLines->Count(); ++i)
        lines.push_back(memoLines->Get(i));

    const TDataFileResult loaded = ParseDataFile(lines, options, TData, CpData);
    FPointCount = loaded.PointCount;
    FFirstPoint = loaded.FirstPoint;
    if (!loaded.Error.empty()) {
        MessageDlg(loaded.Error, mtError, {mbOK}, 0);
        return false;
    }
    return true;
}
