#include "Splitter.h"

#include "Cursors.h"
#include "FormBuilder.h"
#include "FormStyles.h"

#include <algorithm>

TSplitter::TSplitter(TComponent* AOwner) : TCustomControl(AOwner)
{
    SetCursor(crHSplit);
    SetBounds(0, 0, 4, 100);
    SetFixedWidth(this, 4);
}

void TSplitter::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TCustomControl::MouseDown(Button, Shift, X, Y);
    if (Button != mbLeft || FControl == nullptr)
        return;
    // Screen pixels: the bar itself moves while the control's width changes.
    FDragging = true;
    FPressX = ClientToScreen(TPoint(X, Y)).X;
    FPressWidth = FControl->Width();
}

void TSplitter::MouseMove(TShiftState Shift, int X, int Y)
{
    TCustomControl::MouseMove(Shift, X, Y);
    if (!FDragging || FControl == nullptr)
        return;
    int width = std::max(FMinSize, FPressWidth + ClientToScreen(TPoint(X, Y)).X - FPressX);
    // The window's client area beyond what its layout needs is all the control may take.
    int needWidth = 0, needHeight = 0;
    if (TForm* form = GetParentForm(this); form != nullptr && ContentsMinimumSize(form, needWidth, needHeight))
        width = std::min(width, std::max(FControl->Width() + FormClientWidth(form) - needWidth, FMinSize));
    if (width == FControl->Width())
        return;
    SetFixedWidth(FControl, width);
    if (auto* parent = FControl->Parent())
        UpdateLayout(parent);
    if (OnMoved)
        OnMoved(this);
}

void TSplitter::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TCustomControl::MouseUp(Button, Shift, X, Y);
    FDragging = false;
}
