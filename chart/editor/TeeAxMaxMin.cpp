#include "TeeAxMaxMin.h"

#include "TeeAxisIncr.h"
#include "TeePenDlg.h"

TAxisMaxMin::TAxisMaxMin(TComponent* AOwner) : TForm(AOwner)
{
    SetUniqueFormName(this, "AxisMaxMin");
    BuildForm(this, 250, 90, {
        Columns({
            Column({Row(Label1, "Label1", "&Date:", {Ctl(EMaximum, "EMaximum", "", 140)}),
                    Row(Label2, "Label2", "&Time:", {Ctl(EMinimum, "EMinimum", "", 140)}), Stretch()}),
            Column({Ctl(BitBtn1, "BitBtn1", "OK"), Ctl(BCancel, "BCancel", "Cancel"), Stretch()}),
        }),
    });
    EMaximum->SetHint("Enter Date");
    EMinimum->SetHint("Enter Time");
    BitBtn1->SetDefault(true);
    BCancel->SetCancel(true);
    BCancel->SetModalResult(mrCancel);
    BitBtn1->OnClick = [this](TObject* s) { BitBtn1Click(s); };
    OnShow = [this](TObject* s) { FormShow(s); };
    SetFormBorderStyle(this, bsDialog);
    DoCreate();
}

// Dates before the epoch are negative and have a date part too; only a time of day
// (0 up to 1) is shown without one.
bool TAxisMaxMin::DateShown() const
{
    return !(Value >= 0 && Value < 1);
}

void TAxisMaxMin::FormShow(TObject*)
{
    if (!IsDateTime) {
        EMaximum->SetText("");
        EMinimum->SetText("");
        Label1->SetCaption("Value:");
        EMaximum->SetText(FloatToStr(Value));
        SetControlsVisible({Label2, EMinimum}, false);
    } else {
        SetControlsVisible({Label1, EMaximum}, DateShown());
        if (DateShown())
            EMaximum->SetText(DateToStr(Value));
        EMinimum->SetText(TimeToStr(Value));
    }
    CallFormShowHook(this);
}

void TAxisMaxMin::BitBtn1Click(TObject*)
{
    try {
        if (IsDateTime && DateShown())
            Value = StrToDateTime(EMaximum->Text() + " " + EMinimum->Text());
        else if (IsDateTime)
            Value = StrToTime(EMinimum->Text());
        else
            Value = StrToFloat(Trim(EMaximum->Text()));
    } catch (const Exception& e) {
        ShowIncrementError(e.Message());
        return;
    }
    SetModalResult(mrOk);
}
