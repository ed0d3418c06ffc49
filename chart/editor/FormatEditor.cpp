#include "FormatEditor.h"

#include "TeePenDlg.h"

#include "RizUridu.h"

#include "system/ScopeGuard.h"

#include <algorithm>

TFormatEditor::TFormatEditor(TComponent* AOwner) : TForm(AOwner)
{
    SetUniqueFormName(this, "FormatEditor");
    SetCaption("Numeric Format");
    BuildForm(this, 290, 250, {
        Panel(Panel2, "Panel2", {
            Line({Ctl(RBInteger, "RBInteger", "&Number"), Ctl(CBPercent, "CBPercent", "&Percent"),
                  Ctl(CBThousands, "CBThousands", "&Thousands"), Ctl(CBCurrency, "CBCurrency", "C&urrency"), Stretch()}),
            Line({Row("D&ecimals:", {UpDownEdit(Edit1, "Edit1", UpDown1, "UpDown1", 0, 20)}),
                  Ctl(CBFixedDecimals, "CBFixedDecimals", "F&ixed"),
                  Row("&Fixed:", {UpDownEdit(Edit2, "Edit2", UpDown2, "UpDown2", 0, 20)})}),
        }),
        Group(GroupBox1, "GroupBox1", "", {
            Row("", {Ctl(RBDate, "RBDate", "&Date Time:", 110), Combo(CBDate, "CBDate", {"mm-yyyy", "mm-dd-yy", "dd-mm-yyyy", "mmm", "ddd", "MM"}, csDropDown, 160)}),
            Row("", {Ctl(RBCustom, "RBCustom", "&Custom:", 110), Combo(CBCustom, "CBCustom", {}, csDropDown, 160)}),
            Row("", {Ctl(RBGeo, "RBGeo", "&Geographic:", 110), Combo(CBGeo, "CBGeo", {}, csDropDown, 160)}),
        }),
        Panel(Panel1, "Panel1", {Buttons({Ctl(Button1, "Button1", "OK"), Ctl(Button2, "Button2", "Cancel")})}),
    });
    Button1->SetDefault(true);
    Button1->SetModalResult(mrOk);
    Button2->SetCancel(true);
    Button2->SetModalResult(mrCancel);
    const TFormatSettings& fs = FormatSettings();
    for (const std::string& f : {fs.ShortDateFormat, fs.LongTimeFormat})
        if (CBDate->Items()->IndexOf(f) < 0)
            CBDate->Items()->Add(f);
    for (TControl* c : std::initializer_list<TControl*>{CBDate, CBCustom, CBGeo})
        c->SetEnabled(false);
    SetPosition(poScreenCenter);
    SetFormBorderStyle(this, bsDialog);

    for (TControl* c : std::initializer_list<TControl*>{RBDate, RBCustom, RBGeo, CBThousands, CBCurrency})
        c->OnClick = [this](TObject* s) { OptionChange(s); };
    RBInteger->OnClick = [this](TObject* s) { RBIntegerClick(s); };
    CBPercent->OnClick = [this](TObject* s) { CBPercentClick(s); };
    CBDate->OnChange = [this](TObject*) { TheFormat = CBDate->Text(); };
    CBCustom->OnChange = [this](TObject*) { TheFormat = CBCustom->Text(); };
    CBGeo->OnChange = [this](TObject*) { TheFormat = CBGeo->Text(); };
    OnShow = [this](TObject* s) { FormShow(s); };
    DoCreate();
}

void TFormatEditor::FormShow(TObject*)
{
    CBCustom->Items()->Clear();
    CBCustom->Items()->Add("#.#");
    CBCustom->Items()->Add("0.0%");
    CBGeo->Items()->Clear();
    for (const char* g : {"ddd\xC2\xB0 mm' ss\".zzz", "ddd mm' ss\".zzz", "ddd deg mm' ss\".zzz", "ddd mm' ss\".zzz",
                          "ddd mm ss.zzz", "ddd mm ss", "ddd mm", "ddd\xC2\xB0", "ddd"})
        CBGeo->Items()->Add(g);
    // The lists are new; their texts stay empty until a format is read into one of them.
    const std::string format = TheFormat;
    CBCustom->SetItemIndex(-1);
    CBGeo->SetItemIndex(-1);
    TheFormat = format;
    ReadFormat(TheFormat);
    CallFormShowHook(this);
}

namespace {

// Shows Text in the combo, adding it when missing.
void ShowInCombo(TComboBox* Combo, const std::string& Text)
{
    Combo->SetEnabled(true);
    int index = Combo->Items()->IndexOf(Text);
    if (index < 0)
        index = Combo->Items()->Add(Text);
    Combo->SetItemIndex(index);
    Combo->SetText(Text);
}

bool RemoveAll(std::string& S, const std::string& Part)
{
    if (Part.empty() || S.find(Part) == std::string::npos)
        return false;
    for (size_t at; (at = S.find(Part)) != std::string::npos;)
        S.erase(at, Part.size());
    return true;
}

} // namespace

void TFormatEditor::ReadFormat(const std::string& Format)
{
    auto updating = RestoreOnExit(FUpdating);
    FUpdating = true;
    if (IsDateTime || CBDate->Items()->IndexOf(Format) >= 0) {
        ShowInCombo(CBDate, Format);
        CBDate->SetFocus();
        RBDate->SetChecked(true);
        return;
    }
    if (IsGeographic || CBGeo->Items()->IndexOf(Format) >= 0) {
        ShowInCombo(CBGeo, Format);
        CBGeo->SetFocus();
        RBGeo->SetChecked(true);
        return;
    }
    std::string rest = Format;
    if (RemoveAll(rest, "%")) {
        CBPercent->SetChecked(true);
        CBPercentClick(CBPercent);
    }
    if (RemoveAll(rest, FormatSettings().CurrencyString))
        CBCurrency->SetChecked(true);
    if (RemoveAll(rest, ","))
        CBThousands->SetChecked(true);
    if (const size_t point = rest.find('.'); point != std::string::npos) {
        RBInteger->SetChecked(true);
        size_t end = point + 1;
        while (end < rest.size() && (rest[end] == '#' || rest[end] == '0'))
            ++end;
        const std::string decimals = rest.substr(point + 1, end - point - 1);
        UpDown1->SetPosition(int(decimals.size()));
        CBFixedDecimals->SetChecked(!decimals.empty() && decimals.find('#') == std::string::npos);
        rest.erase(point, end - point);
    }
    if (rest.find_first_not_of("#0") != std::string::npos) {
        ShowInCombo(CBCustom, Format);
        RBCustom->SetChecked(true);
        RBInteger->SetChecked(false);
        CBPercent->SetEnabled(false);
    } else {
        RBInteger->SetChecked(true);
        UpDown2->SetPosition(int(std::count(rest.begin(), rest.end(), '0')));
    }
}

std::string TFormatEditor::BuildFormat() const
{
    if (CBCustom->Enabled())
        return CBCustom->Text();
    if (RBDate->Checked())
        return CBDate->Text();
    if (RBGeo->Checked())
        return CBGeo->Text();
    if (!RBInteger->Checked())
        return "";
    std::string result = CBCurrency->Checked() ? FormatSettings().CurrencyString : "";
    const int fixed = UpDown2->Position();
    const bool thousands = CBThousands->Checked();
    if (fixed == 0)
        result += thousands ? "#,###" : "#";
    else if (!thousands)
        result += std::string(size_t(fixed), '0');
    else if (fixed < 4)
        result += "#," + std::string(size_t(3 - fixed), '#') + std::string(size_t(fixed), '0');
    else
        result += std::string(size_t(fixed - 3), '0') + ",000";
    if (const int decimals = UpDown1->Position(); decimals > 0)
        result += "." + std::string(size_t(decimals), CBFixedDecimals->Checked() ? '0' : '#');
    if (CBPercent->Checked())
        result += "%";
    return result;
}

void TFormatEditor::OptionChange(TObject*)
{
    if (FUpdating)
        return;
    auto updating = RestoreOnExit(FUpdating);
    FUpdating = true;
    IsDateTime = RBDate->Checked();
    IsGeographic = RBGeo->Checked();
    if (RBDate->Checked() || RBCustom->Checked() || RBGeo->Checked())
        RBInteger->SetChecked(false);
    CBDate->SetEnabled(RBDate->Checked());
    CBCustom->SetEnabled(RBCustom->Checked());
    CBGeo->SetEnabled(RBGeo->Checked());
    const bool decimals = !RBDate->Checked() && !RBGeo->Checked();
    Edit1->SetEnabled(decimals);
    UpDown1->SetEnabled(decimals);
    if (RBDate->Checked()) {
        if (CBDate->Text().empty()) {
            CBDate->SetText(FormatSettings().ShortDateFormat);
            CBDate->SetFocus();
        }
        TheFormat = CBDate->Text();
    } else if (RBGeo->Checked()) {
        if (CBGeo->Text().empty() && CBGeo->Items()->Count() > 0) {
            CBGeo->SetText(CBGeo->Items()->Get(0));
            CBGeo->SetFocus();
        }
        TheFormat = CBGeo->Text();
    } else {
        CBPercent->SetEnabled(!CBCustom->Enabled());
        if (CBCustom->Enabled() && CBCustom->Text().empty()) {
            CBCustom->SetEnabled(false);
            const std::string built = BuildFormat();
            CBCustom->SetEnabled(true);
            CBCustom->SetText(built);
            CBCustom->SetFocus();
        }
    }
}

void TFormatEditor::RBIntegerClick(TObject* Sender)
{
    if (FUpdating || !RBInteger->Checked())
        return;
    {
        auto updating = RestoreOnExit(FUpdating);
        FUpdating = true;
        for (TRadioButton* b : {RBDate, RBGeo, RBCustom})
            b->SetChecked(false);
    }
    OptionChange(Sender);
}

void TFormatEditor::CBPercentClick(TObject*)
{
    const bool percent = CBPercent->Checked();
    if (percent) {
        CBThousands->SetChecked(false);
        CBCurrency->SetChecked(false);
    }
    CBThousands->SetEnabled(!percent);
    CBCurrency->SetEnabled(!percent);
}

std::string ShowFormatEditor(TComponent* AOwner, const std::string& Format, bool ShowButtons)
{
    std::unique_ptr<TFormatEditor> editor(CreateDialogForm<TFormatEditor>(AOwner));
    editor->TheFormat = Format;
    editor->Panel1->SetVisible(ShowButtons);
    if (editor->ShowModal() == mrOk)
        return editor->BuildFormat();
    return Format;
}

void FormatEditorInitialization()
{
    RegisterFormClass<TFormatEditor>("TFormatEditor");
}

void FormatEditorFinalization()
{
    UnregisterFormClass("TFormatEditor");
}
