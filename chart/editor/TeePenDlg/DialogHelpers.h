// Routines shared by the editor forms: the registry of form classes by name, creating a
// dialog form, embedding a form as a page, confirmations, value formats, cursor lists,
// arrow glyphs and moving items between two list boxes.
#pragma once

#include "controls/Buttons.h"
#include "controls/Cursors.h"
#include "controls/Forms.h"
#include "controls/FormStyles.h"
#include "controls/ListBoxes.h"
#include "controls/StdCtrls.h"

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <string>

// ---- form classes by name ------------------------------------------------------------

// Creates a form of one class, owned by AOwner.
using TFormFactory = std::function<TForm*(TComponent* AOwner)>;

// Adds (or replaces) the form class of that name; names compare without case.
void RegisterFormClass(const std::string& ClassName, TFormFactory Factory);
template <class T>
void RegisterFormClass(const std::string& ClassName)
{
    RegisterFormClass(ClassName, [](TComponent* AOwner) -> TForm* { return new T(AOwner); });
}
void UnregisterFormClass(const std::string& ClassName);
bool FormClassRegistered(const std::string& ClassName);
// A new form of the registered class owned by AOwner, or nullptr for an unknown name.
TForm* CreateFormOfClass(const std::string& ClassName, TComponent* AOwner);

// ---- dialogs and pages ----------------------------------------------------------------

// The owner a dialog created for AOwner gets: AOwner's parent form when AOwner is a
// control on a form, else AOwner itself.
TComponent* DialogFormOwner(TComponent* AOwner);
// Readies a new dialog form: no alignment, centred on its owner's form (on the screen
// without an owner), a dialog frame.
void PrepareDialogForm(TForm* Form);

// Creates a dialog of the form class for AOwner (see DialogFormOwner). The owner frees the
// form; without one the caller does.
template <class T>
T* CreateDialogForm(TComponent* AOwner)
{
    T* form = new T(DialogFormOwner(AOwner));
    PrepareDialogForm(form);
    return form;
}
// The same by registered class name; nullptr for an unknown name.
TForm* CreateDialogFormByName(const std::string& ClassName, TComponent* AOwner);

// Names the form Base, or Base_1, Base_2, ... when its owner already has a component of
// that name.
void SetUniqueFormName(TForm* Form, const std::string& Base);

// Turns the form into a page inside Parent: parent colour, designed position, no frame,
// no border icons, Tag := ATag, placed at left 4 and top max(4, |client height of Parent -
// client height of Form| div 2), and shown (Parent is visible while the form is shown, and
// then as visible as it was). A Parent built from a form table (FormBuilder.h) instead
// takes the form into its layout, which makes the form fill it.
void EmbedFormInPanel(TForm* Form, TWinControl* Parent, intptr_t ATag = 0);
void EmbedForm(TForm* Form, TWinControl* Parent);
void EmbedFormWithTag(TForm* Form, TWinControl* Parent, intptr_t ATag);
// Makes the page load its controls again, through its show handler (whichever is set
// then), each time it shows again inside its tab: other pages and the chart window change
// what it shows while the tab is away. The show handler must then only load.
void ReloadOnShowAgain(TForm* Form);

// Shows or hides every control of the list, in order; null entries are skipped.
void SetControlsVisible(std::initializer_list<TControl*> Controls, bool Visible);

// Asks Message with Yes and No (the default cursor on screen meanwhile); with a control,
// the box's corner is 20 pixels right of and 30 below the control's screen origin.
// True only for Yes.
bool ConfirmQuestion(const std::string& Message, TControl* Control = nullptr);
// ConfirmQuestion with the chart text "Delete %s ?" for the name.
bool ConfirmDelete(const std::string& Name, TControl* Control = nullptr);

// Appends the usual number format pictures.
void AddValueFormats(TStrings* Items);

// Gives the two buttons the program's up and down arrow glyphs.
void LoadArrowGlyphs(TSpeedButton* UpButton, TSpeedButton* DownButton);

// Appends the selected items of Source (texts and objects, in order) to Destination,
// then deletes them from Source.
void MoveSelectedItems(TListBox* Source, TListBox* Destination);
// Appends every item of Source to Destination, then clears Source.
void MoveAllItems(TListBox* Source, TListBox* Destination);

// ---- cursors by name ------------------------------------------------------------------

inline constexpr const char* TeeHandCursorName = "crTeeHand";

// The cursor of a name shown in a cursor list ("TeeHand", "Cross", ...); ADefault when no
// cursor has that name.
TCursor CursorFromName(TCursor ADefault, const std::string& DisplayName);
// The identifier of a cursor ("crTeeHand" for the hand cursor); false when it has none.
bool CursorToName(TCursor Cursor, std::string& Name);
// The identifier without a leading "cr".
std::string CursorDisplayName(const std::string& Ident);
// Fills the combo box with the display names of the platform's cursors and "TeeHand",
// and selects the current cursor's (nothing when it has no identifier).
void FillCursorList(TComboBox* Combo, TCursor Current);

// Collects cursor names into a combo box during the platform's enumeration of them.
class TTempCursors {
public:
    explicit TTempCursors(TComboBox* ACombo) : FCombo(ACombo) {}
    void ProcGetCursors(const std::string& Ident);

private:
    TComboBox* FCombo;
};

// Readies the arrow glyph bitmaps (part of the unit's start-up).
void InitArrowGlyphResources();
