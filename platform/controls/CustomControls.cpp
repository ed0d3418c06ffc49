#include "CustomControls.h"

#include "CursorsQt.h"
#include "KeysQt.h"
#include "QtBridge.h"
#include "StdCtrls.h"

#include "graphics/Bitmap.h"
#include "graphics/QtBridge.h"
#include "system/ScopeGuard.h"

#include <QEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPointer>
#include <QWheelEvent>
#include <QWidget>

#include <algorithm>
#include <utility>

using namespace ctlqt;

namespace ctlqt {

TShiftState ShiftOf(Qt::KeyboardModifiers mods, Qt::MouseButtons buttons)
{
    TShiftState s;
    if (mods & Qt::ShiftModifier)
        s |= ssShift;
    if (mods & Qt::AltModifier)
        s |= ssAlt;
    if (mods & Qt::ControlModifier)
        s |= ssCtrl;
    if (buttons & Qt::LeftButton)
        s |= ssLeft;
    if (buttons & Qt::RightButton)
        s |= ssRight;
    if (buttons & Qt::MiddleButton)
        s |= ssMiddle;
    return s;
}

} // namespace ctlqt

namespace {

bool ButtonOf(Qt::MouseButton b, TMouseButton& out)
{
    switch (b) {
    case Qt::LeftButton: out = mbLeft; return true;
    case Qt::RightButton: out = mbRight; return true;
    case Qt::MiddleButton: out = mbMiddle; return true;
    default: return false;
    }
}

} // namespace

namespace ctlqt {

uint16_t VirtualKeyOf(int key)
{
    if ((key >= Qt::Key_A && key <= Qt::Key_Z) || (key >= Qt::Key_0 && key <= Qt::Key_9))
        return uint16_t(key);
    if (key >= Qt::Key_F1 && key <= Qt::Key_F24)
        return uint16_t(VK_F1 + (key - Qt::Key_F1));
    switch (key) {
    case Qt::Key_Backspace: return VK_BACK;
    case Qt::Key_Tab: return VK_TAB;
    case Qt::Key_Return:
    case Qt::Key_Enter: return VK_RETURN;
    case Qt::Key_Shift: return VK_SHIFT;
    case Qt::Key_Control: return VK_CONTROL;
    case Qt::Key_Alt: return VK_MENU;
    case Qt::Key_Escape: return VK_ESCAPE;
    case Qt::Key_Space: return VK_SPACE;
    case Qt::Key_PageUp: return VK_PRIOR;
    case Qt::Key_PageDown: return VK_NEXT;
    case Qt::Key_End: return VK_END;
    case Qt::Key_Home: return VK_HOME;
    case Qt::Key_Left: return VK_LEFT;
    case Qt::Key_Up: return VK_UP;
    case Qt::Key_Right: return VK_RIGHT;
    case Qt::Key_Down: return VK_DOWN;
    case Qt::Key_Insert: return VK_INSERT;
    case Qt::Key_Delete: return VK_DELETE;
    default: return 0;
    }
}

} // namespace ctlqt

// The toolkit window of a custom control: it hands its input to the control and shows
// the control's window image.
class CustomControlWidget : public QWidget {
public:
    explicit CustomControlWidget(TCustomControl* AControl) : FControl(AControl)
    {
        setMouseTracking(true);
        setFocusPolicy(Qt::StrongFocus);
        setAttribute(Qt::WA_OpaquePaintEvent);
    }
    QImage Image;
    // The control is going: the widget hands nothing more to it (the toolkit still sends
    // a leave or hide while the widget is taken down).
    void Release() { FControl = nullptr; }

protected:
    bool event(QEvent* e) override
    {
        return FControl != nullptr ? QWidget::event(e) : false;
    }
    void paintEvent(QPaintEvent*) override
    {
        GuardedCall([this] { FControl->PaintWindow(); });
        QPainter p(this);
        p.drawImage(0, 0, Image);
    }
    void mousePressEvent(QMouseEvent* e) override
    {
        TMouseButton b;
        if (!ButtonOf(e->button(), b))
            return;
        FClicking = b == mbLeft;
        const TShiftState s = ShiftOf(e->modifiers(), e->buttons());
        const QPoint p = e->position().toPoint();
        GuardedCall([&] { FControl->DispatchMouseDown(b, s, p.x(), p.y()); });
    }
    void mouseDoubleClickEvent(QMouseEvent* e) override
    {
        TMouseButton b;
        if (!ButtonOf(e->button(), b))
            return;
        // The second press of a double click makes no click of its own.
        FClicking = false;
        const TShiftState s = ShiftOf(e->modifiers(), e->buttons());
        const QPoint p = e->position().toPoint();
        GuardedCall([&] { FControl->DispatchDoubleClick(b, s, p.x(), p.y()); });
    }
    void mouseMoveEvent(QMouseEvent* e) override
    {
        const TShiftState s = ShiftOf(e->modifiers(), e->buttons());
        const QPoint p = e->position().toPoint();
        GuardedCall([&] { FControl->DispatchMouseMove(s, p.x(), p.y()); });
    }
    void mouseReleaseEvent(QMouseEvent* e) override
    {
        TMouseButton b;
        if (!ButtonOf(e->button(), b))
            return;
        const TShiftState s = ShiftOf(e->modifiers(), e->buttons());
        const QPoint p = e->position().toPoint();
        QPointer<QWidget> alive(this);
        GuardedCall([&] { FControl->DispatchMouseUp(b, s, p.x(), p.y()); });
        // A left press and release over the control is a click, as on the platform.
        if (alive && b == mbLeft && std::exchange(FClicking, false) && rect().contains(p))
            GuardedCall([this] { FControl->Click(); });
    }
    void wheelEvent(QWheelEvent* e) override
    {
        const TShiftState s = ShiftOf(e->modifiers(), e->buttons());
        const QPoint g = e->globalPosition().toPoint();
        bool handled = false;
        GuardedCall([&] { handled = FControl->DispatchMouseWheel(s, e->angleDelta().y(), TPoint(g.x(), g.y())); });
        e->setAccepted(handled);
    }
    void keyPressEvent(QKeyEvent* e) override
    {
        uint16_t key = VirtualKeyOf(e->key());
        const TShiftState s = ShiftOf(e->modifiers(), Qt::NoButton);
        GuardedCall([&] { FControl->DispatchKeyDown(key, s); });
        // Enter and Escape that the control left go on to its window's default and
        // cancel buttons.
        if (key != 0 && (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter || e->key() == Qt::Key_Escape))
            e->ignore();
    }
    void keyReleaseEvent(QKeyEvent* e) override
    {
        uint16_t key = VirtualKeyOf(e->key());
        const TShiftState s = ShiftOf(e->modifiers(), Qt::NoButton);
        GuardedCall([&] { FControl->DispatchKeyUp(key, s); });
    }
    void leaveEvent(QEvent*) override
    {
        GuardedCall([this] { FControl->DispatchMouseLeave(); });
    }
    void focusInEvent(QFocusEvent* e) override
    {
        QWidget::focusInEvent(e);
        GuardedCall([this] { FControl->DoEnter(); });
    }
    void focusOutEvent(QFocusEvent* e) override
    {
        QWidget::focusOutEvent(e);
        GuardedCall([this] { FControl->DoExit(); });
    }
    void resizeEvent(QResizeEvent*) override
    {
        GuardedCall([this] { FControl->CheckResize(); });
    }
    // New system colours: what was painted in the old ones is painted again.
    void changeEvent(QEvent* e) override
    {
        if (e->type() == QEvent::PaletteChange)
            GuardedCall([this] { FControl->Repaint(); });
        QWidget::changeEvent(e);
    }

private:
    TCustomControl* FControl;
    bool FClicking = false;
};

struct TCustomControl::Impl {
    CustomControlWidget* Window = nullptr;
    bool HasRegion = false;
};

// ---- TCustomControl -----------------------------------------------------------------

TCustomControl::TCustomControl(TComponent* AOwner)
    : TWinControl(AOwner), d(std::make_unique<Impl>()), FCanvas(std::make_unique<TCanvas>())
{
    d->Window = new CustomControlWidget(this);
    SetWidget(d->Window);
}

TCustomControl::~TCustomControl()
{
    if (auto* window = dynamic_cast<CustomControlWidget*>(Widget()))
        window->Release();
    // The canvas lets go of the window image before the widget and its image go.
    qtbridge::Detach(*FCanvas);
}

void TCustomControl::SetColor(TColor Value)
{
    SetAndNotify(FColor, Value, [this, Value] {
        // A see-through control lets its parent paint below it.
        if (QWidget* w = Widget())
            w->setAttribute(Qt::WA_OpaquePaintEvent, Value != clNone);
        Repaint();
    });
}

void TCustomControl::SetCursor(TCursor Value)
{
    FCursor = Value;
    if (QWidget* w = Widget()) {
        if (Value == crDefault)
            w->unsetCursor();
        else
            w->setCursor(ToQCursor(Value));
    }
}

TPoint TCustomControl::ScreenToClient(TPoint P) const
{
    QWidget* w = Widget();
    if (w == nullptr || !w->isVisible())
        return P;
    const QPoint q = w->mapFromGlobal(QPoint(P.X, P.Y));
    return {q.x(), q.y()};
}

TPoint TCustomControl::ClientToScreen(TPoint P) const
{
    QWidget* w = Widget();
    if (w == nullptr || !w->isVisible())
        return P;
    const QPoint q = w->mapToGlobal(QPoint(P.X, P.Y));
    return {q.x(), q.y()};
}

bool TCustomControl::HandleAllocated() const
{
    return Widget() != nullptr;
}

void TCustomControl::SetWindowRegion(const TRegion* Region)
{
    QWidget* w = Widget();
    if (w == nullptr)
        return;
    if (Region == nullptr) {
        w->clearMask();
        d->HasRegion = false;
    } else {
        w->setMask(Region->impl().Region);
        d->HasRegion = true;
    }
}

bool TCustomControl::HasWindowRegion() const
{
    return d->HasRegion;
}

void TCustomControl::Invalidate()
{
    if (QWidget* w = Widget())
        w->update();
}

void TCustomControl::Update()
{
    if (QWidget* w = Widget(); w != nullptr && w->isVisible())
        w->repaint();
}

void TCustomControl::Repaint()
{
    Invalidate();
}

void TCustomControl::SetBounds(int ALeft, int ATop, int AWidth, int AHeight)
{
    TWinControl::SetBounds(ALeft, ATop, AWidth, AHeight);
    // A window without a parent keeps the control's size too, so that what it paints
    // matches the control.
    if (QWidget* w = Widget(); w != nullptr && Parent() == nullptr)
        w->resize(Width(), Height());
    CheckResize();
}

void TCustomControl::CheckResize()
{
    if (Width() == FLastWidth && Height() == FLastHeight)
        return;
    FLastWidth = Width();
    FLastHeight = Height();
    Resize();
}

double TCustomControl::PixelRatio() const
{
    const CustomControlWidget* w = d->Window;
    return w != nullptr ? std::max(1.0, w->devicePixelRatio()) : 1.0;
}

void TCustomControl::PaintWindow()
{
    CustomControlWidget* w = d->Window;
    if (w == nullptr)
        return;
    const int width = std::max(w->width(), 1), height = std::max(w->height(), 1);
    // The image has the screen's density, so that what is drawn is drawn at the screen's
    // resolution; a control of colour clNone keeps an alpha channel, through which its
    // parent shows wherever Paint leaves the image as it was erased.
    const double ratio = std::max(1.0, w->devicePixelRatio());
    const bool seeThrough = FColor == clNone;
    const QImage::Format format = seeThrough ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32;
    const QImage& shown = w->Image;
    if (shown.isNull() || shown.format() != format || shown.devicePixelRatio() != ratio ||
        qtbridge::DeviceSize(shown) != QSize(width, height)) {
        qtbridge::Detach(*FCanvas);
        w->Image = qtbridge::NewImage(width, height, ratio, format, seeThrough ? 0u : 0xFFFFFFFFu);
    } else if (seeThrough) {
        w->Image.fill(0u);
    }
    // A fresh attachment for every paint: no clipping or mapping is left over.
    qtbridge::AttachImage(*FCanvas, &w->Image, false);
    auto flush = TScopeGuard([this] { FCanvas->Flush(); });
    EraseBackground();
    Paint();
}

void TCustomControl::Paint() {}

void TCustomControl::EraseBackground()
{
    if (FColor == clNone)
        return;
    TBrush saved;
    saved.Assign(FCanvas->Brush());
    FCanvas->Brush()->SetColor(FColor);
    FCanvas->Brush()->SetStyle(bsSolid);
    FCanvas->FillRect(ClientRect());
    FCanvas->Brush()->Assign(&saved);
}

void TCustomControl::DispatchMouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (QWidget* w = Widget(); w != nullptr && w->focusPolicy() != Qt::NoFocus)
        w->setFocus(Qt::MouseFocusReason);
    MouseDown(Button, Shift, X, Y);
}

void TCustomControl::DispatchDoubleClick(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    FClickAborted = false;
    if (Button == mbLeft)
        DblClick();
    if (FClickAborted) {
        FClickAborted = false;
        return;
    }
    MouseDown(Button, Shift | ssDouble, X, Y);
}

void TCustomControl::DispatchMouseMove(TShiftState Shift, int X, int Y)
{
    MouseMove(Shift, X, Y);
}

void TCustomControl::DispatchMouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    MouseUp(Button, Shift, X, Y);
}

bool TCustomControl::DispatchMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos)
{
    return DoMouseWheel(Shift, WheelDelta, MousePos);
}

void TCustomControl::DispatchKeyDown(uint16_t& Key, TShiftState Shift)
{
    KeyDown(Key, Shift);
}

void TCustomControl::DispatchKeyUp(uint16_t& Key, TShiftState Shift)
{
    KeyUp(Key, Shift);
}

void TCustomControl::DispatchMouseLeave()
{
    MouseLeave();
}

void TCustomControl::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (OnMouseDown)
        OnMouseDown(this, Button, Shift, X, Y);
}

void TCustomControl::MouseMove(TShiftState Shift, int X, int Y)
{
    if (OnMouseMove)
        OnMouseMove(this, Shift, X, Y);
}

void TCustomControl::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (OnMouseUp)
        OnMouseUp(this, Button, Shift, X, Y);
}

bool TCustomControl::DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos)
{
    bool handled = false;
    if (OnMouseWheel)
        OnMouseWheel(this, Shift, WheelDelta, MousePos, handled);
    return handled;
}

void TCustomControl::DblClick()
{
    if (OnDblClick)
        OnDblClick(this);
}

void TCustomControl::KeyDown(uint16_t& Key, TShiftState Shift)
{
    if (OnKeyDown)
        OnKeyDown(this, Key, Shift);
}

void TCustomControl::KeyUp(uint16_t& Key, TShiftState Shift)
{
    if (OnKeyUp)
        OnKeyUp(this, Key, Shift);
}

void TCustomControl::MouseLeave()
{
    if (OnMouseLeave)
        OnMouseLeave(this);
}

void TCustomControl::Resize()
{
    if (OnResize)
        OnResize(this);
}

// ---- TCustomPanel -----------------------------------------------------------------

void Frame3D(TCanvas* Canvas, TRect& Rect, TColor TopColor, TColor BottomColor, int Width)
{
    if (Canvas == nullptr)
        return;
    TPen* pen = Canvas->Pen();
    pen->SetWidth(1);
    pen->SetStyle(psSolid);
    pen->SetMode(pmCopy);
    Rect.Right -= 1;
    Rect.Bottom -= 1;
    for (int i = 0; i < Width; ++i) {
        pen->SetColor(TopColor);
        const TPoint a[] = {{Rect.Left, Rect.Bottom}, {Rect.Left, Rect.Top}, {Rect.Right, Rect.Top}};
        Canvas->Polyline(a, 3);
        pen->SetColor(BottomColor);
        const TPoint b[] = {{Rect.Right, Rect.Top}, {Rect.Right, Rect.Bottom}, {Rect.Left - 1, Rect.Bottom}};
        Canvas->Polyline(b, 3);
        InflateRect(Rect, -1, -1);
    }
    Rect.Right += 1;
    Rect.Bottom += 1;
}

TCustomPanel::TCustomPanel(TComponent* AOwner) : TCustomControl(AOwner)
{
    SetBounds(0, 0, 185, 41);
}

void TCustomPanel::SetBevelOuter(TBevelCut Value)
{
    SetAndNotify(FBevelOuter, Value, [this] {
        Realign();
        Repaint();
    });
}

void TCustomPanel::SetBevelInner(TBevelCut Value)
{
    SetAndNotify(FBevelInner, Value, [this] {
        Realign();
        Repaint();
    });
}

// The widest bevel or border a panel takes: wider than any screen, and small enough
// that the client area's arithmetic and the frames' rings stay bounded.
constexpr int MaxPanelFrameWidth = 4096;

void TCustomPanel::SetBevelWidth(int Value)
{
    Value = std::clamp(Value, 1, MaxPanelFrameWidth);
    SetAndNotify(FBevelWidth, Value, [this] {
        Realign();
        Repaint();
    });
}

void TCustomPanel::SetBorderWidth(TBorderWidth Value)
{
    Value = std::clamp(Value, 0, MaxPanelFrameWidth);
    SetAndNotify(FBorderWidth, Value, [this] {
        Realign();
        Repaint();
    });
}

void TCustomPanel::SetShowCaption(bool Value)
{
    SetAndNotify(FShowCaption, Value, [this] { Repaint(); });
}

void TCustomPanel::GetClientArea(int& ALeft, int& ATop, int& AWidth, int& AHeight) const
{
    int border = FBorderWidth;
    if (FBevelOuter != bvNone)
        border += FBevelWidth;
    if (FBevelInner != bvNone)
        border += FBevelWidth;
    ALeft = border;
    ATop = border;
    AWidth = std::max(Width() - 2 * border, 0);
    AHeight = std::max(Height() - 2 * border, 0);
}

void TCustomPanel::Paint()
{
    TCanvas* c = Canvas();
    TRect r = ClientRect();
    auto bevel = [&](TBevelCut cut) {
        if (cut == bvNone)
            return;
        if (cut == bvSpace) {
            InflateRect(r, -FBevelWidth, -FBevelWidth);
            return;
        }
        const bool raised = cut == bvRaised;
        Frame3D(c, r, raised ? clBtnHighlight : clBtnShadow, raised ? clBtnShadow : clBtnHighlight, FBevelWidth);
    };
    bevel(FBevelOuter);
    if (Color() != clNone)
        Frame3D(c, r, Color(), Color(), FBorderWidth);
    else
        InflateRect(r, -FBorderWidth, -FBorderWidth);
    bevel(FBevelInner);
    if (Color() != clNone) {
        c->Brush()->SetColor(Color());
        c->Brush()->SetStyle(bsSolid);
        c->FillRect(r);
    }
    if (FShowCaption && !Caption().empty()) {
        c->Brush()->SetStyle(bsClear);
        c->SetBkMode(TRANSPARENT);
        c->Font()->SetColor(clBtnText);
        c->SetTextAlign(TA_CENTER | TA_TOP);
        const std::string text = StripHotkey(Caption());
        c->TextOut((r.Left + r.Right) / 2, (r.Top + r.Bottom - c->TextHeight(text)) / 2, text);
    }
}

void TCustomPanel::TextChanged()
{
    Repaint();
}

// ---- TShape -----------------------------------------------------------------------

TShape::TShape(TComponent* AOwner) : TCustomControl(AOwner)
{
    SetBounds(Left(), Top(), 65, 65);
}

void TShape::SetBrushColor(TColor Value)
{
    SetAndNotify(FBrushColor, Value, [this] { Invalidate(); });
}

void TShape::Paint()
{
    TCanvas* canvas = Canvas();
    canvas->Pen()->SetStyle(psSolid);
    canvas->Pen()->SetWidth(1);
    canvas->Pen()->SetColor(clBlack);
    canvas->Brush()->SetStyle(bsSolid);
    canvas->Brush()->SetColor(FBrushColor);
    canvas->Rectangle(0, 0, Width(), Height());
}

// ---- TImage -----------------------------------------------------------------------

TImage::TImage(TComponent* AOwner) : TCustomControl(AOwner), FPicture(std::make_unique<TPicture>())
{
    FPicture->OnChange = [this](TObject*) { Invalidate(); };
    SetBounds(Left(), Top(), 105, 105);
}

TImage::~TImage() = default;

void TImage::SetStretch(bool Value)
{
    FStretch = Value;
    Invalidate();
}

void TImage::Paint()
{
    TGraphic* graphic = FPicture->Graphic();
    if (graphic == nullptr || graphic->Empty())
        return;
    const TRect r = FStretch ? TRect(0, 0, Width(), Height()) : TRect(0, 0, graphic->Width(), graphic->Height());
    graphic->Draw(*Canvas(), r);
}
