#include "DialogHelpers.h"

#include "TeeConst.h"
#include "RizUridu.h"

#include "controls/CommonDialogs.h"
#include "controls/CursorNames.h"
#include "controls/FormBuilder.h"
#include "controls/Resources.h"
#include "controls/StdButtons.h"
#include "graphics/Bitmap.h"
#include "system/ScopeGuard.h"

#include <cstdlib>
#include <map>

// The arrow glyphs are a resource file of this library; naming its initialiser keeps the
// linker from dropping it.
int qInitResources_editorglyphs();

namespace {

std::map<std::string, TFormFactory>& FormClasses()
{
    static std::map<std::string, TFormFactory> classes;
    return classes;
}

} // namespace

// ---- form classes by name ------------------------------------------------------------

void RegisterFormClass(const std::string& ClassName, TFormFactory Factory)
{
    if (ClassName.empty() || !Factory)
        return;
    FormClasses()[UpperCase(ClassName)] = std::move(Factory);
}

void UnregisterFormClass(const std::string& ClassName)
{
    FormClasses().erase(UpperCase(ClassName));
}

bool FormClassRegistered(const std::string& ClassName)
{
    return FormClasses().count(UpperCase(ClassName)) != 0;
}

TForm* CreateFormOfClass(const std::string& ClassName, TComponent* AOwner)
{
    auto it = FormClasses().find(UpperCase(ClassName));
    return it != FormClasses().end() ? it->second(AOwner) : nullptr;
}

// ---- dialogs and pages ----------------------------------------------------------------

TComponent* DialogFormOwner(TComponent* AOwner)
{
    if (auto* control = dynamic_cast<TControl*>(AOwner))
        if (TForm* form = GetParentForm(control))
            return form;
    return AOwner;
}

void PrepareDialogForm(TForm* Form)
{
    Form->SetAlign(alNone);
    Form->SetPosition(Form->Owner() != nullptr ? poOwnerFormCenter : poScreenCenter);
    SetFormBorderStyle(Form, bsDialog);
}

TForm* CreateDialogFormByName(const std::string& ClassName, TComponent* AOwner)
{
    TForm* form = CreateFormOfClass(ClassName, DialogFormOwner(AOwner));
    if (form != nullptr)
        PrepareDialogForm(form);
    return form;
}

void SetUniqueFormName(TForm* Form, const std::string& Base)
{
    TComponent* owner = Form->Owner();
    std::string name = Base;
    for (int i = 1; owner != nullptr && owner->FindComponent(name) != nullptr && owner->FindComponent(name) != Form; ++i)
        name = Base + "_" + IntToStr(i);
    Form->SetName(name);
}

void EmbedFormInPanel(TForm* Form, TWinControl* Parent, intptr_t ATag)
{
    SetFormParentColor(Form, true);
    Form->SetPosition(poDesigned);
    SetFormBorderStyle(Form, bsNone);
    SetFormBorderIcons(Form, 0);
    Form->SetTag(ATag);
    const bool wasVisible = Parent->Visible();
    // A page built from a form table takes the form into its layout, filling it.
    if (!FillLaidOutHost(Parent, Form)) {
        Form->SetParent(Parent);
        Parent->SetVisible(true);
        Form->SetLeft(4);
        Form->SetTop(std::max(4, std::abs(ControlClientHeight(Parent) - FormClientHeight(Form)) / 2));
    }
    Parent->SetVisible(true);
    Form->Show();
    Parent->SetVisible(wasVisible);
}

void EmbedForm(TForm* Form, TWinControl* Parent)
{
    EmbedFormInPanel(Form, Parent, 0);
}

void EmbedFormWithTag(TForm* Form, TWinControl* Parent, intptr_t ATag)
{
    EmbedFormInPanel(Form, Parent, ATag);
}

void ReloadOnShowAgain(TForm* Form)
{
    Form->OnShowAgain = [Form](TObject* Sender) {
        if (Form->OnShow)
            Form->OnShow(Sender);
    };
}

void SetControlsVisible(std::initializer_list<TControl*> Controls, bool Visible)
{
    for (TControl* control : Controls)
        if (control != nullptr)
            control->SetVisible(Visible);
}

bool ConfirmQuestion(const std::string& Message, TControl* Control)
{
    SetScreenCursor(crDefault);
    if (Control != nullptr) {
        const TPoint p = ControlScreenOrigin(Control);
        return MessageDlgPos(Message, mtConfirmation, {mbYes, mbNo}, 0, p.X + 20, p.Y + 30) == mrYes;
    }
    return MessageDlg(Message, mtConfirmation, {mbYes, mbNo}, 0) == mrYes;
}

bool ConfirmDelete(const std::string& Name, TControl* Control)
{
    return ConfirmQuestion(Format(TeeMsg_SureToDelete, {Name}), Control);
}

void AddValueFormats(TStrings* Items)
{
    for (const char* picture : {"#,##0.###", "0", "0.0", "0.#", "#.#", "#,##0.00;(#,##0.00)", "00e-0",
                                "#.0 \"x10\" E+0", "#.# x10E-#"})
        Items->Add(picture);
}

void InitArrowGlyphResources()
{
    static const int done = qInitResources_editorglyphs();
    (void)done;
}

void LoadArrowGlyphs(TSpeedButton* UpButton, TSpeedButton* DownButton)
{
    InitArrowGlyphResources();
    TBitmap glyph;
    if (UpButton != nullptr && LoadBitmapResource(&glyph, "DorOvoriUp"))
        SetSpeedButtonGlyph(UpButton, glyph);
    if (DownButton != nullptr && LoadBitmapResource(&glyph, "DorOvoriDown"))
        SetSpeedButtonGlyph(DownButton, glyph);
}

void MoveSelectedItems(TListBox* Source, TListBox* Destination)
{
    TStrings* from = Source->Items();
    TStrings* to = Destination->Items();
    for (int i = 0; i < from->Count(); ++i)
        if (Source->Selected(i))
            to->AddObject(from->Get(i), from->GetObject(i));
    for (int i = from->Count() - 1; i >= 0; --i)
        if (Source->Selected(i))
            from->Delete(i);
}

void MoveAllItems(TListBox* Source, TListBox* Destination)
{
    TStrings* from = Source->Items();
    TStrings* to = Destination->Items();
    for (int i = 0; i < from->Count(); ++i)
        to->AddObject(from->Get(i), from->GetObject(i));
    from->Clear();
}

// ---- cursors by name ------------------------------------------------------------------

TCursor CursorFromName(TCursor ADefault, const std::string& DisplayName)
{
    const std::string ident = "cr" + DisplayName;
    if (SameText(ident, TeeHandCursorName))
        return crTeeHand;
    TCursor cursor = ADefault;
    return IdentToCursor(ident, cursor) ? cursor : ADefault;
}

bool CursorToName(TCursor Cursor, std::string& Name)
{
    if (Cursor == crTeeHand) {
        Name = TeeHandCursorName;
        return true;
    }
    return CursorToIdent(Cursor, Name);
}

std::string CursorDisplayName(const std::string& Ident)
{
    if (Ident.size() >= 2 && SameText(Ident.substr(0, 2), "cr"))
        return Ident.substr(2);
    return Ident;
}

void TTempCursors::ProcGetCursors(const std::string& Ident)
{
    FCombo->Items()->Add(CursorDisplayName(Ident));
}

void FillCursorList(TComboBox* Combo, TCursor Current)
{
    TStrings* items = Combo->Items();
    items->BeginUpdate();
    {
        auto update = TScopeGuard([items] { items->EndUpdate(); });
        items->Clear();
        TTempCursors collector(Combo);
        GetCursorValues([&collector](const std::string& Ident) { collector.ProcGetCursors(Ident); });
        items->Add(CursorDisplayName(TeeHandCursorName));
    }
    std::string ident;
    Combo->SetItemIndex(CursorToName(Current, ident) ? items->IndexOf(CursorDisplayName(ident)) : -1);
}
