#include "TeeAxisIncr.h"

#include "TeePenDlg.h"

#include "system/ScopeGuard.h"

#include <cmath>

const std::array<const char*, 27> DateTimeStepNames = {
    "One Microsecond", "One Millisecond", "One Second",   "Five Seconds",  "Ten Seconds",     "Fifteen Seconds",
    "Thirty Seconds",  "One Minute",      "Five Minutes", "Ten Minutes",   "Fifteen Minutes", "Thirty Minutes",
    "One Hour",        "Two Hours",       "Six Hours",    "Twelve Hours",  "One Day",         "Two Days",
    "Three Days",      "One Week",        "Half Month",   "One Month",     "Two Months",      "Three Months",
    "Four Months",     "Six Months",      "One Year"};

namespace {
constexpr int ItemStandard = 0;
constexpr int ItemCustom = 1;
} // namespace

TAxisIncrement::TAxisIncrement(TComponent* AOwner) : TForm(AOwner)
{
    SetUniqueFormName(this, "AxisIncrement");
    SetCaption("Axis Increment");
    BuildForm(this, 327, 114, {
        Columns({
            Column({
                Ctl(CBExact, "CBExact", "&Exact Date Time"),
                Line({Radios(RadioGroup1, "RadioGroup1", "Increment:", {"&Standard:", "&Custom:"}),
                      Column({Combo(CBSteps, "CBSteps", {}, csDropDownList, 150), Row(Label1, "Label1", "&Increment:", {Ctl(ECustom, "ECustom", "", 150)})})}),
            }),
            Column({Ctl(BOk, "BOk", "OK"), Ctl(BCancel, "BCancel", "Cancel"), Stretch()}),
        }),
    });
    for (const char* name : DateTimeStepNames)
        CBSteps->Items()->Add(name);
    CBSteps->SetDropDownCount(18);
    BOk->SetDefault(true);
    BCancel->SetCancel(true);
    BCancel->SetModalResult(mrCancel);
    SetPosition(poScreenCenter);
    SetFormBorderStyle(this, bsDialog);
    CBExact->OnClick = [this](TObject* s) { CBExactClick(s); };
    RadioGroup1->OnClick = [this](TObject* s) { RadioGroup1Click(s); };
    CBSteps->OnChange = [this](TObject* s) { CBStepsChange(s); };
    BOk->OnClick = [this](TObject* s) { BOkClick(s); };
    OnShow = [this](TObject* s) { FormShow(s); };
    DoCreate();
}

std::string TAxisIncrement::CustomText(double Value)
{
    // No step at all reads as the smallest step one would type: one second.
    if (Value <= 0)
        return TimeToStr(DateTimeStep[dtOneSecond]);
    if (Value >= 1) {
        const double days = std::floor(Value);
        std::string text = FloatToStr(days);
        if (Value > days)
            text += " " + TimeToStr(Value - days);
        return text;
    }
    return TimeToStr(Value);
}

double TAxisIncrement::ReadCustomText(const std::string& Text)
{
    const std::string text = Trim(Text);
    if (const size_t blank = text.find(' '); blank != std::string::npos)
        return StrToFloat(text.substr(0, blank)) + StrToTime(text.substr(blank + 1, 255));
    double value = 0;
    if (TryStrToFloat(text, value))
        return value;
    if (TryStrToTime(text, value))
        return value;
    return StrToFloat(text);
}

void TAxisIncrement::FormShow(TObject*)
{
    auto filling = RestoreOnExit(FFilling);
    FFilling = true;
    CBExact->SetVisible(IsDateTime);
    CBExact->SetChecked(Exact);
    if (IsDateTime) {
        ECustom->SetHint("Enter [Number of Days] [hh:nn:ss]");
        ECustom->SetText(CustomText(Increment));
        if (!Exact || StepIndex == dtNone) {
            RadioGroup1->SetItemIndex(ItemCustom);
            CBSteps->SetItemIndex(-1);
            CBSteps->SetEnabled(false);
            ECustom->SetEnabled(true);
        } else {
            RadioGroup1->SetItemIndex(ItemStandard);
            CBSteps->SetEnabled(true);
            CBSteps->SetItemIndex(StepIndex);
            ECustom->SetText("");
            ECustom->SetEnabled(false);
            CBSteps->SetFocus();
        }
    } else {
        SetControlsVisible({CBSteps, RadioGroup1}, false);
        RadioGroup1->SetItemIndex(ItemCustom);
        ECustom->SetHint("");
        ECustom->SetEnabled(true);
        ECustom->SetText(FloatToStr(Increment));
        ECustom->SetFocus();
    }
    CallFormShowHook(this);
}

void TAxisIncrement::CBExactClick(TObject*)
{
    if (FFilling)
        return;
    Exact = CBExact->Checked();
    if (Exact)
        return;
    {
        auto filling = RestoreOnExit(FFilling);
        FFilling = true;
        RadioGroup1->SetItemIndex(ItemCustom);
        CBSteps->SetEnabled(false);
    }
    ECustom->SetEnabled(true);
    ECustom->SetText(CustomText(Increment));
    ECustom->SetFocus();
}

void TAxisIncrement::RadioGroup1Click(TObject*)
{
    if (FFilling)
        return;
    auto filling = RestoreOnExit(FFilling);
    FFilling = true;
    const bool standard = RadioGroup1->ItemIndex() == ItemStandard;
    CBSteps->SetEnabled(standard);
    CBExact->SetEnabled(standard);
    CBExact->SetChecked(standard);
    Exact = standard;
    ECustom->SetEnabled(!standard);
    if (standard) {
        if (StepIndex == dtNone)
            StepIndex = 0;
        CBSteps->SetItemIndex(StepIndex);
        CBSteps->SetFocus();
    } else {
        ECustom->SetText(CustomText(Increment));
        ECustom->SetFocus();
    }
}

void TAxisIncrement::CBStepsChange(TObject*)
{
    if (CBSteps->ItemIndex() >= 0)
        StepIndex = CBSteps->ItemIndex();
}

void TAxisIncrement::BOkClick(TObject*)
{
    try {
        if (!IsDateTime)
            Increment = StrToFloat(Trim(ECustom->Text()));
        else if (RadioGroup1->ItemIndex() == ItemStandard && CBSteps->ItemIndex() >= 0)
            Increment = DateTimeStep[size_t(CBSteps->ItemIndex())];
        else
            Increment = ReadCustomText(ECustom->Text());
    } catch (const Exception& e) {
        ShowIncrementError(e.Message());
        return;
    }
    SetModalResult(mrOk);
}

void ShowIncrementError(const std::string& Reason)
{
    MessageDlg(Format("Incorrect value. Reason: %s", {Reason}), mtError, {mbOK}, 0);
}

void TeeAxisIncrInitialization()
{
    RegisterFormClass<TAxisIncrement>("TAxisIncrement");
}

void TeeAxisIncrFinalization()
{
    UnregisterFormClass("TAxisIncrement");
}
