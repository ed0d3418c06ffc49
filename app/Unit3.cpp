#include "Unit3.h"

#include "ChatUnit.h"
#include "Unit2.h"

#include "DataFile.h"

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
    SetBounds(0, 0, 819, 480);
    SetPosition(poScreenCenter);

    sbrun = new TSpeedButton(this);
    sbrun->SetName("sbrun");
    sbrun->SetParent(this);
    sbrun->SetBounds(8, 8, 113, 25);
    sbrun->SetCaption("Close && &RUN ");
    sbrun->OnClick = [this](TObject* Sender) { sbrunClick(Sender); };

    Label1 = new TLabel(this);
    Label1->SetName("Label1");
    Label1->SetParent(this);
    Label1->SetBounds(136, 12, 90, 17);
    Label1->SetCaption("Dividing string");

    cbDivString = new TComboBox(this, csDropDownList);
    cbDivString->SetName("cbDivString");
    cbDivString->SetParent(this);
    cbDivString->SetBounds(240, 8, 81, 21);
    cbDivString->Items()->Add("Space");
    cbDivString->Items()->Add("Tab");
    cbDivString->SetItemIndex(0);

    Label2 = new TLabel(this);
    Label2->SetName("Label2");
    Label2->SetParent(this);
    Label2->SetBounds(344, 12, 45, 17);
    Label2->SetCaption("T(max)");

    edTmax = new TEdit(this);
    edTmax->SetName("edTmax");
    edTmax->SetParent(this);
    edTmax->SetBounds(400, 8, 81, 21);
    edTmax->SetHint("Set higher temperature limit for the data array");

    BitBtn1 = new TBitBtn(this);
    BitBtn1->SetName("BitBtn1");
    BitBtn1->SetParent(this);
    BitBtn1->SetBounds(728, 8, 81, 25);
    BitBtn1->SetKind(bkClose);

    Memo1 = new TMemo(this);
    Memo1->SetName("Memo1");
    Memo1->SetParent(this);
    Memo1->SetBounds(0, 40, 819, 440);
    Memo1->SetFontName("Courier New");
    Memo1->SetScrollBars(ssVertical);
    Memo1->SetWordWrap(false);

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
    if (fmMain != nullptr)
        fmMain->sbrunClick(Sender);
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
