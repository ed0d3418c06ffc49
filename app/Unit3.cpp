#include "Unit3.h"

#include "ChatUnit.h"
#include "Unit2.h"

#include <algorithm>
#include <charconv>

TfmData* fmData = nullptr;

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Reads a plain decimal number, independent of any locale: [+-] digits [. digits]
// [e|E [+-] digits], with digits on at least one side of the point.
bool ParsePlainNumber(const std::string& Text, double& Value)
{
    const std::string s = Trim(Text);
    size_t i = 0;
    if (i < s.size() && (s[i] == '+' || s[i] == '-'))
        ++i;
    const size_t numberStart = i;
    size_t digits = 0;
    while (i < s.size() && IsDigit(s[i]))
        ++i, ++digits;
    if (i < s.size() && s[i] == '.') {
        ++i;
        while (i < s.size() && IsDigit(s[i]))
            ++i, ++digits;
    }
    if (digits == 0)
        return false;
    bool negativeExponent = false;
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        ++i;
        if (i < s.size() && (s[i] == '+' || s[i] == '-'))
            negativeExponent = s[i++] == '-';
        size_t expDigits = 0;
        while (i < s.size() && IsDigit(s[i]))
            ++i, ++expDigits;
        if (expDigits == 0)
            return false;
    }
    if (i != s.size())
        return false;
    double v = 0;
    const char* first = s.data() + numberStart;
    const auto [end, ec] = std::from_chars(first, s.data() + s.size(), v, std::chars_format::general);
    if (ec == std::errc::result_out_of_range) {
        // Too small to hold is zero; too large is no number.
        if (!negativeExponent)
            return false;
        v = 0;
    } else if (ec != std::errc() || end != s.data() + s.size()) {
        return false;
    }
    Value = (numberStart > 0 && s[0] == '-') ? -v : v;
    return true;
}

} // namespace

double StrToFloatChecked(const std::string& Text)
{
    std::string copy = Text;
    if (const auto comma = copy.find(','); comma != std::string::npos)
        copy[comma] = '.';
    double value = 0;
    if (ParsePlainNumber(copy, value))
        return value;
    ShowMessage("Invalid number: " + Text);
    return 0;
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

    cbDivString = new TComboBox(this);
    cbDivString->SetName("cbDivString");
    cbDivString->SetParent(this);
    cbDivString->SetBounds(240, 8, 81, 21);
    cbDivString->SetStyle(csDropDownList);
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

void TfmData::LoadDataPoints()
{
    FPointCount = 0;
    FTMaxLimit = 0;

    const std::string tmaxText = edTmax->Text();
    if (!Trim(tmaxText).empty()) {
        double limit = 0;
        if (!TryStrToFloat(Trim(tmaxText), limit)) {
            ShowMessage("Invalid T(max) value: " + tmaxText);
            return;
        }
        FTMaxLimit = limit;
    }

    StrParser1->SetDividingString(cbDivString->ItemIndex() == 0 ? " " : "\t");

    TStrings* lines = Memo1->Lines();
    const int lineCount = lines->Count();
    if (lineCount < 5)
        return;

    try {
        const int32_t count = StrToInt(Trim(lines->Get(3)));
        const int32_t first = StrToInt(Trim(lines->Get(4)));
        // A negative count or first point describes no data; left alone it would make
        // the run read slots that no load wrote.
        if (count < 0 || first < 0)
            throw EConvertError("Invalid point count");
        FPointCount = count;
        FFirstPoint = first;

        // Lines past the end of the text read as empty, which are skipped: the walk can
        // stop at the last line, however large the count.
        const int64_t last = std::min<int64_t>(int64_t(count) + 5, lineCount - 1);
        int32_t accepted = 0;
        for (int64_t index = int64_t(first) + 5; index <= last; ++index) {
            const std::string line = Trim(lines->Get(static_cast<int>(index)));
            if (line.empty())
                continue;
            StrParser1->Split(line);
            TStringList* tokens = StrParser1->Tokens();

            // A trimmed line starts with a token, so the filter's T is also the point's.
            bool haveT = false;
            double t = 0;
            if (FTMaxLimit > 0 && tokens->Count() > 0) {
                t = StrToFloatChecked(Trim(tokens->Get(0)));
                haveT = true;
                if (t > FTMaxLimit)
                    continue;
            }

            // The slot follows the line's position; outside 1..1000 the arrays raise.
            const int slot = CheckedNarrow(index - 4 - first);
            int taken = 0;
            for (int i = 0; i < tokens->Count() && taken < 2; ++i) {
                const std::string token = Trim(tokens->Get(i));
                if (token.empty())
                    continue;
                if (taken == 0) {
                    double& target = TData[slot];
                    target = (i == 0 && haveT) ? t : StrToFloatChecked(token);
                } else {
                    double& target = CpData[slot];
                    target = StrToFloatChecked(token);
                }
                ++taken;
            }
            ++accepted;
        }
        if (FPointCount > accepted)
            FPointCount = accepted;
    } catch (const Exception&) {
        FPointCount = 0;
        MessageDlg("Invalid data file", mtError, {mbOK}, 0);
    }
}
