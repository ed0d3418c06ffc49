// Small controls of the chart's editor dialogs: a push button that paints a symbol at its
// right through the chart drawing surface, the colour button whose symbol is a colour
// swatch and whose click picks a colour for a linked property, and a drop-down list
// drawn with a flat frame.
#pragma once

#include "TeCanvas.h"

#include "controls/ComboCtrls.h"
#include "controls/StdButtons.h"
#include "classes/TypInfo.h"

#include <functional>
#include <string>

// ---- colour properties found by name -----------------------------------------------------

// The published property of that name (compared without case) in the class information
// of the object's class, when it is an integer property (colours are); nullptr when the
// class lists no such property.
const TPropInfo* FindColorProperty(const TPersistent* Instance, const std::string& Name);

// ---- TTeeButton ------------------------------------------------------------------------

// A push button (75 x 25) that draws a symbol at its right: after the button is painted,
// a chart surface over the painted image is handed to DrawSymbol.
class TTeeButton : public TButton {
public:
    DECLARE_CLASS_NAME(TTeeButton)
    explicit TTeeButton(TComponent* AOwner);

    // The symbol's place: (Width - 19, Height - 3 * (Height div 4), Width - 6,
    // Height - Height div 4).
    TRect SymbolRect() const;

    // Links the button to an object, and with a non-empty name to that colour property of
    // the object's class (none when it has no such property); repaints.
    void LinkProperty(TPersistent* Instance, const std::string& PropName);
    TPersistent* Instance() const { return FInstance; }
    const TPropInfo* LinkedProperty() const { return FInfo; }

protected:
    // Draws the symbol; the base draws nothing.
    virtual void DrawSymbol(TTeeCanvas* Canvas) {}
    void PaintOver(TCanvas* Canvas) override;

    TPersistent* FInstance = nullptr;
    const TPropInfo* FInfo = nullptr;
};

// ---- TButtonColor ------------------------------------------------------------------------

using TGetColorEvent = std::function<TColor()>;

class TButtonColor : public TTeeButton {
public:
    DECLARE_CLASS_NAME(TButtonColor)
    explicit TButtonColor(TComponent* AOwner);

    // The colour shown: GetColorProc's answer when assigned; else the linked property's
    // value resolved to RGB; else the button's own colour.
    TColor SymbolColor() const;
    // Writes the linked property when one is linked, else the button's own colour.
    void SetSymbolColor(TColor Value);

    TGetColorEvent GetColorProc;

    // Asks for a colour starting at the one shown; when the user picks another, writes it,
    // repaints and then fires OnClick. Nothing happens (not even OnClick) otherwise.
    void Click() override;

protected:
    void DrawSymbol(TTeeCanvas* Canvas) override;

private:
    TColor FColor = clBlack;
};

// The colour dialog, owned by AOwner for its lifetime, starting at AColor and with the
// program's custom colours: the chosen colour when the user confirms (the dialog's
// custom colours are then kept for the next one), else AColor.
TColor EditColor(TComponent* AOwner, TColor AColor);
// The button's colour picked in the dialog.
TColor PickColorInDialog(TButtonColor* Button, TColor AColor);

// ---- TComboFlat --------------------------------------------------------------------------

// A drop-down list (height 21, items 13 pixels high, nothing selected) that draws a flat
// frame over itself unless the mouse is over it or it has the focus.
class TComboFlat : public TOwnerDrawComboBox {
public:
    DECLARE_CLASS_NAME(TComboFlat)
    explicit TComboFlat(TComponent* AOwner);

    bool MouseInControl() const { return FMouseInControl; }
    // DropDownWidth is written only when it differs from Width.
    bool IsDropDownWidthStored() const { return DropDownWidth() != Width(); }

protected:
    void PaintOver(TCanvas* Canvas) override;
    void MouseEnter() override;
    void MouseLeave() override;
    void FocusChanged() override;

private:
    bool FMouseInControl = false;
};

// ---- unit start-up ------------------------------------------------------------------------

// Nothing to prepare: every class lists its colours in its class information.
void TeeButtonsInitialization();
// Frees the program's list of custom colours.
void TeeButtonsFinalization();
