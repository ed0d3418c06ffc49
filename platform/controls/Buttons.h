// Buttons of the platform layer: the speed button and the bitmap button.
#pragma once

#include "Controls.h"
#include "Dialogs.h"

// A flat tool button (QToolButton); OnClick fires when it is pressed.
class TSpeedButton : public TControl {
public:
    DECLARE_CLASS_NAME(TSpeedButton)
    explicit TSpeedButton(TComponent* AOwner);

    bool Flat() const { return FFlat; }
    void SetFlat(bool Value);
    // While held down, the button clicks again after Delay ms and then every Interval ms.
    bool AutoRepeat() const { return FAutoRepeat; }
    void SetAutoRepeat(bool Value, int Delay = 400, int Interval = 100);
    // Fired when the mouse presses the button (before its click).
    TNotifyEvent OnMouseDown;
    // A focus rectangle drawn 3 pixels inside the button (1 pixel lower right while it is
    // down): for a bar that takes the keys for its buttons and shows which one they reach.
    bool FocusFrame() const { return FFocusFrame; }
    void SetFocusFrame(bool Value);
    // Whether Tab stops at the button itself (it does by default).
    void SetTakesFocus(bool Value);

protected:
    void TextChanged() override;

private:
    bool FFlat = false;
    bool FAutoRepeat = false;
    bool FFocusFrame = false;
};

enum TBitBtnKind { bkCustom, bkOK, bkCancel, bkClose };

// A push button (QPushButton) of a kind: bkClose closes its form (for the main form that
// ends the program); bkOK and bkCancel end a modal form with mrOk and mrCancel.
class TBitBtn : public TWinControl {
public:
    DECLARE_CLASS_NAME(TBitBtn)
    explicit TBitBtn(TComponent* AOwner);

    TBitBtnKind Kind() const { return FKind; }
    // Sets the kind with its platform caption ("OK", "Cancel", "&Close") and result.
    void SetKind(TBitBtnKind Value);
    TModalResult ModalResult() const { return FModalResult; }
    void SetModalResult(TModalResult Value) { FModalResult = Value; }

    void Click() override;

protected:
    void TextChanged() override;

private:
    TBitBtnKind FKind = bkCustom;
    TModalResult FModalResult = mrNone;
};
