// Standard controls of the platform layer: label, edit, memo, combo box, check box and
// group box, each over the toolkit widget that does its job.
#pragma once

#include "Controls.h"

#include <memory>
#include <string>

// A text that the user cannot edit (QLabel). "&" marks an accelerator, "&&" an ampersand.
// With AutoSize (the default) the label takes the size of its text.
class TLabel : public TControl {
public:
    DECLARE_CLASS_NAME(TLabel)
    explicit TLabel(TComponent* AOwner);

    bool AutoSize() const { return FAutoSize; }
    // The control that the caption's accelerator ("A&xes:") gives the focus to; without
    // one the caption shows plain.
    void SetFocusControl(TControl* Control);

protected:
    void TextChanged() override;
    void FontChanged() override;

private:
    void AdjustSize();
    bool FAutoSize = true;
};

// A one-line edit (QLineEdit). OnChange fires whenever the text changes, whether the user
// typed or the program set Text, as on the platform.
class TEdit : public TWinControl {
public:
    DECLARE_CLASS_NAME(TEdit)
    explicit TEdit(TComponent* AOwner);

    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool Value);
    // The most characters the text holds (0: no limit); typing stops there.
    int MaxLength() const { return FMaxLength; }
    void SetMaxLength(int Value);
    // Selects the whole text, so that typing replaces it.
    void SelectAll();

    TNotifyEvent OnChange;

protected:
    std::string GetText() const override;
    void TextChanged() override;
    virtual void Change();

private:
    bool FReadOnly = false;
    int FMaxLength = 0;
};

enum TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };

// A multi-line edit (QPlainTextEdit). Lines is a string list over its text: a text that
// ends with a line break has no empty last line, as on the platform. OnChange fires
// whenever the text changes, by the user or the program.
class TMemo : public TWinControl {
public:
    DECLARE_CLASS_NAME(TMemo)
    explicit TMemo(TComponent* AOwner);
    ~TMemo() override;

    TStrings* Lines() const { return FLines.get(); }
    void Clear();

    TScrollStyle ScrollBars() const { return FScrollBars; }
    void SetScrollBars(TScrollStyle Value);
    bool WordWrap() const { return FWordWrap; }
    void SetWordWrap(bool Value);
    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool Value);
    // False (the default): Tab and Shift+Tab move the focus on, as in a one-line edit.
    // True: Tab types a tab character into the text.
    bool WantTabs() const { return FWantTabs; }
    void SetWantTabs(bool Value);

    TNotifyEvent OnChange;

protected:
    std::string GetText() const override;
    void TextChanged() override;

private:
    std::unique_ptr<TStrings> FLines;
    TScrollStyle FScrollBars = ssNone;
    bool FWordWrap = true;
    bool FReadOnly = false;
    bool FWantTabs = false;
};

enum TComboBoxStyle { csDropDown, csDropDownList };

// A combo box (QComboBox) with its Items as a string list. OnChange fires when the user
// picks an item or types; setting ItemIndex from the program does not fire it.
class TComboBox : public TWinControl {
public:
    DECLARE_CLASS_NAME(TComboBox)
    // Made in its style at once: a list-only box never builds the editing field that an
    // editable one has.
    explicit TComboBox(TComponent* AOwner, TComboBoxStyle AStyle = csDropDown);
    ~TComboBox() override;

    TComboBoxStyle Style() const { return FStyle; }
    void SetStyle(TComboBoxStyle Value);
    TStrings* Items() const { return FItems.get(); }
    // -1 when no item is selected; an index outside the items selects none.
    int ItemIndex() const;
    void SetItemIndex(int Value);
    // What the user's pick of an item does: selects it and fires OnChange.
    void Pick(int Index);
    // The number of rows the dropped-down list shows before it scrolls (8 at first).
    int DropDownCount() const;
    void SetDropDownCount(int Value);
    // The width of the dropped-down list, never less than the control's width
    // (0 at first: as wide as the control).
    int DropDownWidth() const;
    void SetDropDownWidth(int Value);

    TNotifyEvent OnChange;

protected:
    std::string GetText() const override;
    void TextChanged() override;
    virtual void Change();

private:
    std::unique_ptr<TStrings> FItems;
    TComboBoxStyle FStyle = csDropDown;
};

// A check box (QCheckBox). Changing Checked, by the user or the program, fires OnClick,
// as on the platform.
class TCheckBox : public TWinControl {
public:
    DECLARE_CLASS_NAME(TCheckBox)
    explicit TCheckBox(TComponent* AOwner);

    bool Checked() const;
    void SetChecked(bool Value);

protected:
    void TextChanged() override;
};

// A framed group with a caption (QGroupBox); its children sit below the caption.
class TGroupBox : public TWinControl {
public:
    DECLARE_CLASS_NAME(TGroupBox)
    explicit TGroupBox(TComponent* AOwner);
    void GetClientArea(int& ALeft, int& ATop, int& AWidth, int& AHeight) const override;

protected:
    void TextChanged() override;
};

// Removes the accelerator marks of a caption: "&a" gives "a", "&&" gives "&".
std::string StripHotkey(const std::string& Caption);

// A radio button (QRadioButton); the buttons with the same parent exclude each other.
// Checking it, by the user or the program, fires OnClick, as on the platform.
class TRadioButton : public TWinControl {
public:
    DECLARE_CLASS_NAME(TRadioButton)
    explicit TRadioButton(TComponent* AOwner);

    bool Checked() const;
    void SetChecked(bool Value);

protected:
    void TextChanged() override;
};

enum TScrollBarKind { sbHorizontal, sbVertical };

// A scroll bar (QScrollBar) between Min and Max; setting Position, by the user or the
// program, fires OnChange when it changes.
class TScrollBar : public TWinControl {
public:
    DECLARE_CLASS_NAME(TScrollBar)
    explicit TScrollBar(TComponent* AOwner);

    TScrollBarKind Kind() const { return FKind; }
    void SetKind(TScrollBarKind Value);
    int Min() const;
    void SetMin(int Value);
    int Max() const;
    void SetMax(int Value);
    int Position() const;
    void SetPosition(int Value);
    // A scroll bar is a tab stop, moved by the arrow, page, Home and End keys; one that is
    // not takes no focus by a click either, as the platform's scroll bar control.
    void SetTabStop(bool Value) override;

    TNotifyEvent OnChange;

private:
    TScrollBarKind FKind = sbHorizontal;
};
