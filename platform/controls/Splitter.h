// A splitter: a narrow bar that the user drags sideways to change the width of the
// control at its left. The room it gives that control comes from the controls beside it,
// down to the least size their layout needs: the window never grows by a drag.
#pragma once

#include "CustomControls.h"

class TSplitter : public TCustomControl {
public:
    DECLARE_CLASS_NAME(TSplitter)
    explicit TSplitter(TComponent* AOwner);

    // The control whose width the bar changes (not owned).
    TControl* Control() const { return FControl; }
    void SetControl(TControl* Value) { FControl = Value; }
    // The least width a drag leaves the control.
    int MinSize() const { return FMinSize; }
    void SetMinSize(int Value) { FMinSize = Value; }

    // After a drag changed the control's width.
    TNotifyEvent OnMoved;

protected:
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;

private:
    TControl* FControl = nullptr;
    int FMinSize = 30;
    bool FDragging = false;
    // Screen x of the press and the control's width then.
    int FPressX = 0;
    int FPressWidth = 0;
};
