// A combo box that its owner may draw: owner-drawn items of a fixed height, a hook to
// paint over the drawn box, the mouse entering and leaving it, focus changes, and the
// width of its dropped-down list.
#pragma once

#include "OwnerDraw.h"
#include "StdCtrls.h"

#include "graphics/Colors.h"
#include "graphics/Types.h"

#include <functional>
#include <memory>

class TBitmap;
class TCanvas;


// The platform's messages for the width of the dropped-down list.
inline constexpr int CB_GETDROPPEDWIDTH = 351;
inline constexpr int CB_SETDROPPEDWIDTH = 352;

// Metrics of the classic desktop scheme that drawing code asks for.
inline constexpr int SM_CXVSCROLL = 2;
inline constexpr int SM_CXSIZE = 30;
// The metric's value in pixels; 0 for an index this platform does not know.
int GetSystemMetrics(int Index);

class TOwnerDrawComboBox : public TComboBox {
public:
    DECLARE_CLASS_NAME(TOwnerDrawComboBox)
    explicit TOwnerDrawComboBox(TComponent* AOwner);
    ~TOwnerDrawComboBox() override;

    // With OwnerDraw the items (and the closed box's current item) are drawn by DrawItem,
    // each ItemHeight pixels high.
    bool OwnerDraw() const { return FOwnerDraw; }
    void SetOwnerDraw(bool Value);
    int ItemHeight() const { return FItemHeight; }
    void SetItemHeight(int Value);

    // The background of the items (the window colour unless set).
    TColor Color() const { return FColor; }
    void SetColor(TColor Value);

    // The canvas DrawItem draws on; its brush and font come preset: the highlight colours
    // for a selected item, else the control's colour and the window text colour.
    TCanvas* Canvas() const { return FDrawCanvas; }
    TDrawItemEvent OnDrawItem;

    // The platform's messages this control answers (CB_GETDROPPEDWIDTH and
    // CB_SETDROPPEDWIDTH: the drop-down width); other messages answer 0.
    intptr_t Perform(int Msg, intptr_t WParam, intptr_t LParam);

    // True while the control has the keyboard focus.
    bool Focused() const;

    // Schedules a paint of the control.
    void Invalidate();
    virtual void Repaint() { Invalidate(); }
    // Makes Bitmap the control's size and paints the closed control into it.
    void PaintTo(TBitmap* Bitmap);
    // Makes Bitmap one item's size (Width x ItemHeight) and draws the item into it as
    // the dropped-down list does.
    void PaintItemTo(TBitmap* Bitmap, int Index, TOwnerDrawState State);

protected:
    // Draws item Index in Rect on Canvas; the base fires OnDrawItem, or fills the rectangle
    // and writes the item's text when there is no handler.
    virtual void DrawItem(int Index, const TRect& Rect, TOwnerDrawState State);
    // Draws over the painted control; Canvas is in client pixels. The base draws nothing.
    virtual void PaintOver(TCanvas* Canvas) {}
    virtual void MouseEnter() {}
    virtual void MouseLeave() {}
    // Called when the control gains or loses the focus.
    virtual void FocusChanged() {}

private:
    friend class ComboPainter;
    friend class OwnerDrawDelegate;
    struct Impl;
    std::unique_ptr<Impl> d;
    bool FOwnerDraw = false;
    int FItemHeight = 16;
    TColor FColor = clWindow;
    TCanvas* FDrawCanvas = nullptr;
};
