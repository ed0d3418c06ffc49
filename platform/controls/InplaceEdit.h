// An edit that reports its keys: the in-place editors that lists and grids open over one
// of their lines use it to end the edit on Enter, Escape or a move.
#pragma once

#include "CustomControls.h"
#include "StdCtrls.h"

class TInplaceEdit : public TEdit {
public:
    DECLARE_CLASS_NAME(TInplaceEdit)
    explicit TInplaceEdit(TComponent* AOwner);
    ~TInplaceEdit() override;

    // Fired for each key pressed in the edit; setting Key to 0 swallows it.
    TKeyEvent OnKeyDown;
    // Delivers a key as if pressed in the edit (tests and forwarding controls use it).
    void DispatchKeyDown(uint16_t& Key, TShiftState Shift);

private:
    class KeyFilter;
};
