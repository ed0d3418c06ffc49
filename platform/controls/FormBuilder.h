// Declarative building of forms and pages: a form is written as a table of items (rows of
// a label and a control, group boxes, panels, tab pages, button rows, side-by-side
// columns), which the builder turns into controls laid out by the toolkit's layouts.
//
//   BuildForm(this, 269, 104, {
//       Ctl(CBVisible, "CBVisible", "&Visible"),
//       Row(LStyle, "LStyle", "&Style:", {Combo(CBStyle, "CBStyle", {"Solid", "Dash"})}),
//       Row("&Width:", {UpDownEdit(SEWidth, "SEWidth", UDWidth, "UDWidth", 1, 100)}),
//       Pages(PageAxis, "PageAxis", {
//           Page(TabScales, "TabScales", "Scales", {Ctl(CBAuto, "CBAuto", "&Automatic")}),
//       }),
//       Buttons({Ctl(BOk, "BOk", "OK"), Ctl(BCancel, "BCancel", "Cancel")}),
//   });
//
// Every control is created owned by the form, with its name as component name (and so
// as the widget's objectName) and its caption, and is stored in the reference given;
// controls keep their platform behaviour (events, Text, Checked, ...). Inside a
// container (the form, a group, a panel, a page) the items stack downwards; the labels
// of consecutive rows share one column. Positions come from the layouts: Left, Top,
// Width and Height of a built control follow where the layout put it. A form's size is
// the given client size, or larger when its contents need more room.
#pragma once

#include "Buttons.h"
#include "ComCtrls.h"
#include "ExtCtrls.h"
#include "Forms.h"
#include "ListBoxes.h"
#include "StdButtons.h"
#include "StdCtrls.h"

#include <functional>
#include <initializer_list>
#include <string>
#include <type_traits>
#include <vector>

// One entry of a form table; made by the functions below.
struct TFormItem {
    enum class TKind { Control, Row, Line, Group, Pages, Page, Buttons, Columns, Column, Stretch };
    TKind Kind = TKind::Control;
    std::string Caption;
    // Control: creates the control (owned by Owner) and stores it in its reference.
    std::function<TControl*(TComponent* Owner)> Make;
    // A control that keeps the width it is given instead of stretching across its row.
    int FixedWidth = 0;
    // Takes the height left over in its container (see Growing).
    bool Grows = false;
    std::vector<TFormItem> Children;
};
using TFormItems = std::vector<TFormItem>;

// ---- controls ---------------------------------------------------------------------

// Any control class: `new T(Owner)`, named, captioned (when Caption is not empty),
// optionally given a fixed width, and stored in Ref.
template <class T>
TFormItem Ctl(T*& Ref, const std::string& Name, const std::string& Caption = "", int FixedWidth = 0)
{
    TFormItem item;
    item.FixedWidth = FixedWidth;
    item.Make = [&Ref, Name, Caption](TComponent* Owner) -> TControl* {
        T* control = new T(Owner);
        control->SetName(Name);
        if (!Caption.empty())
            control->SetCaption(Caption);
        Ref = control;
        return control;
    };
    return item;
}

// A combo box (or descendant) with its items; a drop-down list unless Style says else.
template <class T>
TFormItem Combo(T*& Ref, const std::string& Name, std::initializer_list<const char*> Items,
                TComboBoxStyle Style = csDropDownList, int FixedWidth = 0)
{
    std::vector<std::string> items(Items.begin(), Items.end());
    TFormItem item;
    item.FixedWidth = FixedWidth;
    item.Make = [items, Name, Style, &Ref](TComponent* Owner) -> TControl* {
        T* control;
        // Made in its style when the class allows, so that a list never makes the line
        // edit (and drop-down) of an editable box only to drop them.
        if constexpr (std::is_constructible_v<T, TComponent*, TComboBoxStyle>) {
            control = new T(Owner, Style);
        } else {
            control = new T(Owner);
            control->SetStyle(Style);
        }
        control->SetName(Name);
        Ref = control;
        for (const std::string& s : items)
            control->Items()->Add(s);
        return control;
    };
    return item;
}

// A bitmap button of a standard kind (its caption and symbol come from the kind).
TFormItem KindButton(TBitBtn*& Ref, const std::string& Name, TBitBtnKind Kind, int FixedWidth = 0);

// A list box with its items.
TFormItem List(TListBox*& Ref, const std::string& Name, std::initializer_list<const char*> Items = {});

// An edit with an up-down at its right, stepping Min..Max by Increment; the edit starts
// at Min's text (Position Min).
TFormItem UpDownEdit(TEdit*& Edit, const std::string& EditName, TUpDown*& UpDown, const std::string& UpDownName,
                     int Min, int Max, int Increment = 1);

// A track bar over Min..Max with ticks every Frequency positions.
TFormItem Track(TTrackBar*& Ref, const std::string& Name, int Min, int Max, int Frequency = 1);

// A framed group of radio buttons with its items.
TFormItem Radios(TRadioGroup*& Ref, const std::string& Name, const std::string& Caption,
                 std::initializer_list<const char*> Items, int Columns = 1);
// The same with items known only when the form is built.
TFormItem Radios(TRadioGroup*& Ref, const std::string& Name, const std::string& Caption,
                 const std::vector<std::string>& Items, int Columns = 1);

// ---- arrangement ------------------------------------------------------------------

// A label (captioned, named when LabelName is not empty) and at its right the items in a
// line. The row's first item gets the label's accelerator.
TFormItem Row(TLabel*& Label, const std::string& LabelName, const std::string& Caption, TFormItems Items);
TFormItem Row(const std::string& Caption, TFormItems Items);
// Items side by side across the whole width.
TFormItem Line(TFormItems Items);
// A group box (TGroupBox, or TRadioGroup-like containers) holding items.
TFormItem Group(TGroupBox*& Ref, const std::string& Name, const std::string& Caption, TFormItems Items);
// A panel without bevel holding items (a container the code may hide or show whole).
TFormItem Panel(TPanel*& Ref, const std::string& Name, TFormItems Items);
// A page control and its pages.
TFormItem Pages(TPageControl*& Ref, const std::string& Name, TFormItems PageItems);
TFormItem Page(TTabSheet*& Ref, const std::string& Name, const std::string& Caption, TFormItems Items);
// A row of buttons at the right edge.
TFormItem Buttons(TFormItems Items);
// Blocks side by side, each stacking its items downwards; the column marked Growing
// (else the first) takes the width the others leave.
TFormItem Columns(TFormItems ColumnItems);
TFormItem Column(TFormItems Items);
// Empty room that takes what is left over.
TFormItem Stretch();
// The item takes the height its container has left over (a picture or a preview that
// fills a column, for instance).
TFormItem Growing(TFormItem Item);
// The item's control (for a group, its box) has a font family of its own, given as it is
// made: the controls placed in it take that font when they join, instead of each changing
// to it again afterwards.
TFormItem WithFontName(TFormItem Item, const std::string& FontName);

// ---- building ---------------------------------------------------------------------

// Builds the items into the form, owned by it, and gives it the client size
// ClientWidth x ClientHeight (grown to what the contents need).
void BuildForm(TForm* Form, int ClientWidth, int ClientHeight, TFormItems Items);
// Builds the items into an existing container (a page, panel or group), owned by Owner;
// a container that was built empty takes them in its own layout.
void BuildInto(TWinControl* Container, TComponent* Owner, TFormItems Items);

// Places Control (a form, for instance) in Host's layout so that it fills Host; false
// when Host was not built by the builder.
bool FillLaidOutHost(TWinControl* Host, TControl* Control);

// The least client size the control's laid-out contents need; false when it has no layout.
bool ContentsMinimumSize(TWinControl* Control, int& Width, int& Height);

// The least room a layout gives the control (for controls that paint themselves and so
// tell no size of their own).
void SetMinimumSize(TControl* Control, int Width, int Height);
// Keeps the control's room in its layout while it is hidden, so that the controls beside
// it stay where they are when it shows and hides.
void KeepRoomWhenHidden(TControl* Control);
// Keeps the control at that width in its layout.
void SetFixedWidth(TControl* Control, int Width);
// Keeps the control at that height in its layout.
void SetFixedHeight(TControl* Control, int Height);
// The contents of a built container (a panel, for instance) end Pixels before its right
// edge, however wide the container becomes.
void SetRightMargin(TWinControl* Container, int Pixels);
// Sets the keyboard focus order of the controls (all in one window) to the order given,
// where the order of the table would otherwise decide it.
void SetTabOrder(std::initializer_list<TControl*> Controls);
// Lays a built container out again at once (after controls in it were shown or hidden)
// and gives its controls their new bounds.
void UpdateLayout(TWinControl* Container);

// Puts Control (made by the caller, parented like Old) into the place that Old has in its
// layout; Old leaves the layout and hides. False when Old was not laid out by the builder.
bool ReplaceInLayout(TControl* Old, TControl* Control);

// Moves a control laid out in a line to the front of that line, Indent pixels from the
// left edge of its parent's client area. False when the control is in no line.
bool MoveToLineStart(TControl* Control, int Indent);

// Saves a picture of the control as it shows now (PNG); false when it cannot be written.
bool SaveControlPicture(TControl* Control, const std::string& FileName);

// Adds the items below what a built container (a form, page, panel or group) already
// holds, owned by Owner; the container grows when the items need more room.
void AppendInto(TWinControl* Container, TComponent* Owner, TFormItems Items);
