// Window controls that paint themselves: TCustomControl draws through Paint on a canvas
// over an off-screen image of the window (96 dots per inch per window unit, at the
// screen's pixel density) that the window then shows,
// and hears the mouse, the wheel, the keys and the mouse leaving; TCustomPanel is the
// platform's panel drawn that way, with bevels, a border and an optional caption.
// Every event from the toolkit reaches these controls through GuardedCall.
#pragma once

#include "Controls.h"
#include "Cursors.h"
#include "ExtCtrls.h"

#include "graphics/Canvas.h"
#include "graphics/Region.h"
#include "system/Flags.h"

#include <cstdint>
#include <functional>
#include <memory>

// ---- input types ------------------------------------------------------------------

enum TMouseButton { mbLeft, mbRight, mbMiddle };

// Keys and buttons held during an input event, as bits.
enum TShiftStateFlag : unsigned {
    ssShift = 1u << 0,
    ssAlt = 1u << 1,
    ssCtrl = 1u << 2,
    ssLeft = 1u << 3,
    ssRight = 1u << 4,
    ssMiddle = 1u << 5,
    ssDouble = 1u << 6,
};
using TShiftState = TFlags<TShiftStateFlag>;
DECLARE_FLAG_OPERATORS(TShiftStateFlag)

// Virtual key codes of the platform; letters and digits are their upper-case characters.
constexpr uint16_t VK_BACK = 0x08;
constexpr uint16_t VK_TAB = 0x09;
constexpr uint16_t VK_RETURN = 0x0D;
constexpr uint16_t VK_SHIFT = 0x10;
constexpr uint16_t VK_CONTROL = 0x11;
constexpr uint16_t VK_MENU = 0x12;
constexpr uint16_t VK_ESCAPE = 0x1B;
constexpr uint16_t VK_SPACE = 0x20;
constexpr uint16_t VK_PRIOR = 0x21;
constexpr uint16_t VK_NEXT = 0x22;
constexpr uint16_t VK_END = 0x23;
constexpr uint16_t VK_HOME = 0x24;
constexpr uint16_t VK_LEFT = 0x25;
constexpr uint16_t VK_UP = 0x26;
constexpr uint16_t VK_RIGHT = 0x27;
constexpr uint16_t VK_DOWN = 0x28;
constexpr uint16_t VK_INSERT = 0x2D;
constexpr uint16_t VK_DELETE = 0x2E;
constexpr uint16_t VK_F1 = 0x70;

using TMouseEvent = std::function<void(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y)>;
using TMouseMoveEvent = std::function<void(TObject* Sender, TShiftState Shift, int X, int Y)>;
// WheelDelta is positive when the wheel turns away from the user (up); 120 a notch.
using TMouseWheelEvent =
    std::function<void(TObject* Sender, TShiftState Shift, int WheelDelta, TPoint MousePos, bool& Handled)>;
using TKeyEvent = std::function<void(TObject* Sender, uint16_t& Key, TShiftState Shift)>;

class CustomControlWidget;

// ---- TCustomControl -----------------------------------------------------------------

class TCustomControl : public TWinControl {
public:
    DECLARE_CLASS_NAME(TCustomControl)
    explicit TCustomControl(TComponent* AOwner);
    ~TCustomControl() override;

    // The canvas of the window: valid for drawing during Paint; between paints it keeps
    // what was painted last.
    TCanvas* Canvas() const { return FCanvas.get(); }
    // Image pixels per device unit on the screen the window is on (at least 1): the
    // density its canvas gets at the next paint, for pictures made ahead of it.
    double PixelRatio() const;

    TColor Color() const { return FColor; }
    virtual void SetColor(TColor Value);

    TCursor Cursor() const { return FCursor; }
    void SetCursor(TCursor Value);

    // (0, 0, Width, Height): the window has no frame of its own.
    TRect ClientRect() const { return TRect(0, 0, Width(), Height()); }
    int ClientWidth() const { return Width(); }
    int ClientHeight() const { return Height(); }

    // Screen pixels to client pixels and back (unchanged while the window is not shown).
    TPoint ScreenToClient(TPoint P) const;
    TPoint ClientToScreen(TPoint P) const;

    // True while the control has a toolkit window.
    bool HandleAllocated() const;
    // The shape of the window in client pixels; nullptr makes it rectangular again.
    void SetWindowRegion(const TRegion* Region);
    bool HasWindowRegion() const;

    // Schedules a paint of the whole window.
    void Invalidate();
    // Paints what is scheduled at once (when the window is shown).
    void Update();
    // Invalidate; descendants override it to drop what they cached before. Also called
    // when the system colours change.
    virtual void Repaint();

    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;

    TMouseEvent OnMouseDown;
    TMouseEvent OnMouseUp;
    TMouseMoveEvent OnMouseMove;
    TMouseWheelEvent OnMouseWheel;
    TNotifyEvent OnDblClick;
    TNotifyEvent OnMouseLeave;
    TKeyEvent OnKeyDown;
    TKeyEvent OnKeyUp;
    TNotifyEvent OnResize;

    // The input entry points the toolkit window calls; tests call them too.
    void DispatchMouseDown(TMouseButton Button, TShiftState Shift, int X, int Y);
    void DispatchDoubleClick(TMouseButton Button, TShiftState Shift, int X, int Y);
    void DispatchMouseMove(TShiftState Shift, int X, int Y);
    void DispatchMouseUp(TMouseButton Button, TShiftState Shift, int X, int Y);
    bool DispatchMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos);
    void DispatchKeyDown(uint16_t& Key, TShiftState Shift);
    void DispatchKeyUp(uint16_t& Key, TShiftState Shift);
    void DispatchMouseLeave();
    // Paints the window image: erases it, calls Paint and finishes the output.
    void PaintWindow();

protected:
    // Draws the control on Canvas. The base does nothing.
    virtual void Paint();
    // Fills the window image with Color before Paint.
    virtual void EraseBackground();
    // Each fires its event; descendants add their handling around it.
    virtual void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y);
    virtual void MouseMove(TShiftState Shift, int X, int Y);
    virtual void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y);
    // Answers whether the wheel was handled.
    virtual bool DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos);
    virtual void DblClick();
    virtual void KeyDown(uint16_t& Key, TShiftState Shift);
    virtual void KeyUp(uint16_t& Key, TShiftState Shift);
    virtual void MouseLeave();
    // The control got or lost the keyboard focus.
    virtual void DoEnter() {}
    virtual void DoExit() {}
    virtual void Resize();
    // Called from DblClick: the mouse-down of the double click is then not delivered.
    void AbortClick() { FClickAborted = true; }

private:
    friend class CustomControlWidget;
    void CheckResize();

    struct Impl;
    std::unique_ptr<Impl> d;
    std::unique_ptr<TCanvas> FCanvas;
    TColor FColor = clBtnFace;
    TCursor FCursor = crDefault;
    bool FClickAborted = false;
    int FLastWidth = -1;
    int FLastHeight = -1;
};

// ---- TCustomPanel -----------------------------------------------------------------

using TBorderWidth = int;

// The platform's panel: filled with Color, framed by the outer bevel, a border of
// BorderWidth in Color and the inner bevel, with the caption centred when ShowCaption.
class TCustomPanel : public TCustomControl {
public:
    DECLARE_CLASS_NAME(TCustomPanel)
    explicit TCustomPanel(TComponent* AOwner);

    TBevelCut BevelOuter() const { return FBevelOuter; }
    void SetBevelOuter(TBevelCut Value);
    TBevelCut BevelInner() const { return FBevelInner; }
    void SetBevelInner(TBevelCut Value);
    int BevelWidth() const { return FBevelWidth; }
    void SetBevelWidth(int Value);
    TBorderWidth BorderWidth() const { return FBorderWidth; }
    void SetBorderWidth(TBorderWidth Value);
    bool ShowCaption() const { return FShowCaption; }
    void SetShowCaption(bool Value);

    // Children sit inside the bevels and the border.
    void GetClientArea(int& ALeft, int& ATop, int& AWidth, int& AHeight) const override;

protected:
    void Paint() override;
    void TextChanged() override;

private:
    TBevelCut FBevelOuter = bvRaised;
    TBevelCut FBevelInner = bvNone;
    int FBevelWidth = 1;
    TBorderWidth FBorderWidth = 0;
    bool FShowCaption = true;
};

// A 3D frame of Width pixels inside Rect: TopColor on the top and left edges,
// BottomColor on the bottom and right; Rect comes back shrunk by Width on every side.
void Frame3D(TCanvas* Canvas, TRect& Rect, TColor TopColor, TColor BottomColor, int Width);

// ---- TShape and TImage ------------------------------------------------------------

// A rectangle filled with BrushColor and framed in black (the platform's shape).
class TShape : public TCustomControl {
public:
    DECLARE_CLASS_NAME(TShape)
    explicit TShape(TComponent* AOwner);

    TColor BrushColor() const { return FBrushColor; }
    void SetBrushColor(TColor Value);

protected:
    void Paint() override;

private:
    TColor FBrushColor = clWhite;
};

class TPicture;

// Shows a picture, stretched to the control when Stretch (else at the top-left corner).
class TImage : public TCustomControl {
public:
    DECLARE_CLASS_NAME(TImage)
    explicit TImage(TComponent* AOwner);
    ~TImage() override;

    TPicture* Picture() const { return FPicture.get(); }
    bool Stretch() const { return FStretch; }
    void SetStretch(bool Value);

protected:
    void Paint() override;

private:
    std::unique_ptr<TPicture> FPicture;
    bool FStretch = false;
};
