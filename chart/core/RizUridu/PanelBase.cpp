#include "RizUridu/PanelBase.h"
#include "classes/Streaming.h"

#include "controls/Printers.h"
#include "system/ScopeGuard.h"

#include <algorithm>
#include <cmath>


// ---- published properties ----------------------------------------------------------

BEGIN_CLASS_INFO(TCustomTeePanel, TComponent)
    .Int("Left", &TControl::Left, &TControl::SetLeft).Within(-MaxStoredPixels, MaxStoredPixels)
    .Int("Top", &TControl::Top, &TControl::SetTop).Within(-MaxStoredPixels, MaxStoredPixels)
    .Int("Width", &TControl::Width, &TControl::SetWidth).Within(-MaxStoredPixels, MaxStoredPixels)
    .Int("Height", &TControl::Height, &TControl::SetHeight).Within(-MaxStoredPixels, MaxStoredPixels)
    .Enum("BevelInner", &TCustomPanel::BevelInner, &TCustomPanel::SetBevelInner,
          {"bvNone", "bvLowered", "bvRaised", "bvSpace"}).Default(bvNone)
    .Enum("BevelOuter", &TCustomPanel::BevelOuter, &TCustomPanel::SetBevelOuter,
          {"bvNone", "bvLowered", "bvRaised", "bvSpace"}).Default(bvRaised)
    .Int("BevelWidth", &TCustomPanel::BevelWidth, &TCustomPanel::SetBevelWidth)
        .Within(-MaxStoredPixels, MaxStoredPixels).Default(1)
    .Int("BorderWidth", &TCustomPanel::BorderWidth, &TCustomPanel::SetBorderWidth)
        .Within(-MaxStoredPixels, MaxStoredPixels).Default(0)
    .Bool("Locked", &TCustomTeePanel::Locked, &TCustomTeePanel::SetLocked).Default(false)
    .Int("Color", &TCustomControl::Color, [](TCustomTeePanel& p, TColor v) { p.SetColor(v); })
        .Idents(ColorIdents()).Default(clBtnFace)
    .Object("Border", &TCustomTeePanel::Border)
    .Int("BorderRound", &TCustomTeePanel::BorderRound, &TCustomTeePanel::SetBorderRound)
        .Within(-MaxStoredPixels, MaxStoredPixels).Default(0)
    .Int("MarginBottom", &TCustomTeePanel::MarginBottom, &TCustomTeePanel::SetMarginBottom)
        .Within(0, MaxStoredPixels).Default(4)
    .Int("MarginLeft", &TCustomTeePanel::MarginLeft, &TCustomTeePanel::SetMarginLeft)
        .Within(0, MaxStoredPixels).Default(3)
    .Int("MarginRight", &TCustomTeePanel::MarginRight, &TCustomTeePanel::SetMarginRight)
        .Within(0, MaxStoredPixels).Default(3)
    .Int("MarginTop", &TCustomTeePanel::MarginTop, &TCustomTeePanel::SetMarginTop).Within(0, MaxStoredPixels).Default(4)
    .Enum("MarginUnits", &TCustomTeePanel::MarginUnits, &TCustomTeePanel::SetMarginUnits, {"muPercent", "muPixels"})
        .Default(muPercent)
    .Bool("Monochrome", &TCustomTeePanel::Monochrome, &TCustomTeePanel::SetMonochrome).Default(false)
    .Bool("PrintProportional", &TCustomTeePanel::PrintProportional, &TCustomTeePanel::SetPrintProportional)
        .Default(true)
    .Object("Shadow", &TCustomTeePanel::Shadow)
    .Bool("View3D", &TCustomTeePanel::View3D, &TCustomTeePanel::SetView3D).Default(true)
    .Object("View3DOptions", &TCustomTeePanel::View3DOptions)
END_CLASS_INFO

void TCustomTeePanel::DefineProperties(TFiler* Filer)
{
    TCustomPanelNoCaption::DefineProperties(Filer);
    Filer->DefineProperty(
        "BorderStyle",
        [this](TReader* Reader) {
            if (SameText(Reader->ReadIdent(), "bsSingle"))
                FBorder->SetVisible(true);
        },
        nullptr, false);
    const TRect& m = FPrintMargins;
    Filer->DefineProperty(
        "PrintMargins",
        [this](TReader* Reader) {
            Reader->ReadListBegin();
            auto percent = [Reader] {
                return int(std::clamp<int64_t>(Reader->ReadInteger(), -MaxStoredPercent, MaxStoredPercent));
            };
            TRect r;
            r.Left = percent();
            r.Top = percent();
            r.Right = percent();
            r.Bottom = percent();
            Reader->ReadListEnd();
            FPrintMargins = r;
        },
        [this](TWriter* Writer) {
            Writer->WriteListBegin();
            Writer->WriteInteger(FPrintMargins.Left);
            Writer->WriteInteger(FPrintMargins.Top);
            Writer->WriteInteger(FPrintMargins.Right);
            Writer->WriteInteger(FPrintMargins.Bottom);
            Writer->WriteListEnd();
        },
        m.Left != 15 || m.Top != 15 || m.Right != 15 || m.Bottom != 15);
}

bool TeeClipWhenPrinting = true;
bool TeeClipWhenMetafiling = true;
bool TeeEraseBack = false;
bool PrintTeePanel = false;

namespace {

} // namespace

// ---- small helpers --------------------------------------------------------------

std::string ChooseTextByValue(double Value)
{
    const TFormatSettings& fs = FormatSettings();
    return Value > 1 ? fs.ShortDateFormat : fs.ShortTimeFormat;
}

std::string IntToDecimalStr(int Value)
{
    return std::to_string(Value);
}

void DrawCheckBox(TCanvas* Canvas, int X, int Y, bool Checked, bool RadioButton)
{
    if (Canvas == nullptr)
        return;
    TPen* pen = Canvas->Pen();
    TBrush* brush = Canvas->Brush();
    TPen savedPen;
    savedPen.Assign(pen);
    TBrush savedBrush;
    savedBrush.Assign(brush);
    pen->SetStyle(psSolid);
    pen->SetWidth(1);
    pen->SetMode(pmCopy);
    brush->SetStyle(bsSolid);
    if (RadioButton) {
        // A sunken circle: dark upper-left rim, light lower-right rim, white inside.
        pen->SetColor(clBtnShadow);
        brush->SetColor(clWindow);
        Canvas->Ellipse(X, Y, X + 13, Y + 13);
        pen->SetColor(clBtnHighlight);
        Canvas->Arc(X, Y, X + 13, Y + 13, X + 12, Y + 1, X + 1, Y + 12);
        if (Checked) {
            pen->SetColor(clWindowText);
            brush->SetColor(clWindowText);
            Canvas->Ellipse(X + 4, Y + 4, X + 9, Y + 9);
        }
    } else {
        // Sunken frame of two lines, white square inside.
        TRect r(X, Y, X + 13, Y + 13);
        Frame3D(Canvas, r, clBtnShadow, clBtnHighlight, 1);
        Frame3D(Canvas, r, cl3DDkShadow, cl3DLight, 1);
        brush->SetColor(clWindow);
        Canvas->FillRect(r);
        if (Checked) {
            // The tick: a short leg down and a long leg up, three pixels thick.
            pen->SetColor(clWindowText);
            for (int i = 0; i < 3; ++i) {
                Canvas->MoveTo(X + 3, Y + 5 + i);
                Canvas->LineTo(X + 5, Y + 7 + i);
                Canvas->LineTo(X + 10, Y + 2 + i);
            }
        }
    }
    pen->Assign(&savedPen);
    brush->Assign(&savedBrush);
}

void DrawTeeBevel(TTeeCanvas* Surface, TBevelCut Bevel, TRect& R, int Width, int Round)
{
    if (Surface == nullptr || Bevel == bvNone)
        return;
    if (Bevel == bvSpace) {
        InflateRect(R, -Width, -Width);
        return;
    }
    const bool raised = Bevel == bvRaised;
    const TColor top = raised ? clBtnHighlight : clBtnShadow;
    const TColor bottom = raised ? clBtnShadow : clBtnHighlight;
    if (Round >= 1) {
        TCanvas* c = Surface->ReferenceCanvas();
        if (c != nullptr) {
            c->Pen()->SetStyle(psSolid);
            c->Pen()->SetWidth(1);
            c->Pen()->SetMode(pmCopy);
            c->Pen()->SetColor(top);
            c->Brush()->SetStyle(bsClear);
            Surface->RoundRect(R.Left, R.Top, R.Right, R.Bottom, Round, Round);
        }
        InflateRect(R, -Width, -Width);
    } else {
        Surface->BevelFrame(R, top, Width, bottom);
    }
}

TRect CalcProportionalPrintMargins(int ChartWidth, int ChartHeight, int PageWidth, int PageHeight,
                                   double VertToHorzDpi)
{
    TRect m(15, 15, 15, 15);
    if (ChartWidth <= 0 || ChartHeight <= 0 || PageWidth <= 0 || PageHeight <= 0 || !(VertToHorzDpi > 0))
        return m;
    // The chart's side along the kept 15 % margins takes 70 % of that page side; the
    // other side follows the chart's proportion, converted between the page's
    // horizontal and vertical pixels.
    auto centred = [](double keptSide, double otherSide, double ratio, double pixelRatio) {
        const double used = (keptSide - keptSide * 30 * 0.01) * ratio * pixelRatio;
        const int percent = TeeRound(100 * (otherSide - used) / otherSide) / 2;
        return std::clamp(percent, 0, 49);
    };
    if (ChartHeight < ChartWidth) {
        const int tb = centred(PageWidth, PageHeight, double(ChartHeight) / ChartWidth, VertToHorzDpi);
        m.Top = m.Bottom = tb;
    } else {
        const int lr = centred(PageHeight, PageWidth, double(ChartWidth) / ChartHeight, 1.0 / VertToHorzDpi);
        m.Left = m.Right = lr;
    }
    return m;
}

// ---- listeners ----------------------------------------------------------------------

int TTeeEventListeners::Add(IPanelEventListener* Listener)
{
    if (Listener == nullptr)
        return -1;
    const int at = IndexOf(Listener);
    if (at >= 0)
        return at;
    FItems.push_back(Listener);
    return Count() - 1;
}

void TTeeEventListeners::Remove(IPanelEventListener* Listener)
{
    auto it = std::find(FItems.begin(), FItems.end(), Listener);
    if (it == FItems.end() || Listener == nullptr)
        return;
    if (FRounds > 0)
        *it = nullptr;   // the round in progress skips it; the slot goes afterwards
    else
        FItems.erase(it);
}

int TTeeEventListeners::IndexOf(const IPanelEventListener* Listener) const
{
    if (Listener == nullptr)
        return -1;
    int index = 0;
    for (IPanelEventListener* l : FItems) {
        if (l == Listener)
            return index;
        if (l != nullptr)
            ++index;
    }
    return -1;
}

int TTeeEventListeners::Count() const
{
    return int(std::count_if(FItems.begin(), FItems.end(), [](IPanelEventListener* l) { return l != nullptr; }));
}

IPanelEventListener* TTeeEventListeners::Items(int Index) const
{
    if (Index >= 0) {
        for (IPanelEventListener* l : FItems)
            if (l != nullptr && Index-- == 0)
                return l;
    }
    throw ERangeError();
}

void TTeeEventListeners::Clear()
{
    if (FRounds > 0)
        std::fill(FItems.begin(), FItems.end(), nullptr);
    else
        FItems.clear();
}

void TTeeEventListeners::Compact()
{
    FItems.erase(std::remove(FItems.begin(), FItems.end(), nullptr), FItems.end());
}

void TTeeEventListeners::ForEach(const std::function<void(IPanelEventListener*)>& Call,
                                 const std::function<bool()>& Stop)
{
    struct Round {
        TTeeEventListeners& List;
        explicit Round(TTeeEventListeners& l) : List(l) { ++List.FRounds; }
        ~Round()
        {
            if (--List.FRounds == 0)
                List.Compact();
        }
    } round(*this);
    // Slots are read by index each time: the vector may grow while listeners run.
    const std::size_t n = FItems.size();
    for (std::size_t i = 0; i < n; ++i) {
        if (Stop && Stop())
            break;
        if (IPanelEventListener* l = FItems[i])
            Call(l);
    }
}

// ---- TCustomPanelNoCaption ----------------------------------------------------------

TCustomPanelNoCaption::TCustomPanelNoCaption(TComponent* AOwner) : TCustomPanel(AOwner)
{
    SetShowCaption(false);
}

// ---- TCustomTeePanel: creation ------------------------------------------------------

TCustomTeePanel::TCustomTeePanel(TComponent* AOwner) : TCustomPanelNoCaption(AOwner)
{
    FListeners = std::make_unique<TTeeEventListeners>();
    FView3DOptions = std::make_unique<TView3DOptions>(this, [this] { RequestRepaint(); });
    FSurface = std::make_unique<TTeeCanvas3D>();
    AttachCanvasToSurface(FSurface.get(), ReferenceCanvas());
    FPanning = std::make_unique<TZoomPanning>();
    FShadow = std::make_unique<TTeeShadow>(RepaintHandler());
    FBorder = std::make_unique<TChartHiddenPen>(RepaintHandler());
    FBorder->SetDefaultEndStyle(esFlat);
    SetBounds(Left(), Top(), 400, 250);
    OriginalCursor = Cursor();
    if (IsDesigning())
        TeeEraseBack = false;
}

TCustomTeePanel::~TCustomTeePanel()
{
    // Listeners hear nothing more from a panel that is going away.
    Destroying();
    FListeners->Clear();
}

TNotifyEvent TCustomTeePanel::RepaintHandler()
{
    return [this](TObject*) { RequestRepaint(); };
}

// ---- properties ----------------------------------------------------------------------

void TCustomTeePanel::SetBorder(TChartPen* v)
{
    FBorder->Assign(v);
}

void TCustomTeePanel::SetBorderRound(int v)
{
    SetAndNotify(FBorderRound, v, [this] {
        if (!IsLoading())
            ApplyRoundRegion();
        RequestRepaint();
    });
}

void TCustomTeePanel::ApplyRoundRegion()
{
    if (FApplyingRegion)
        return;
    auto applying = RestoreOnExit(FApplyingRegion);
    FApplyingRegion = true;
    if (FBorderRound >= 1 && HandleAllocated()) {
        const TRegion region = TRegion::CreateRoundRect(0, 0, Width(), Height(), FBorderRound, FBorderRound);
        SetWindowRegion(&region);
    } else {
        SetWindowRegion(nullptr);
    }
}

int TCustomTeePanel::GetMargin(int Index) const
{
    if (Index < 0 || Index > 3)
        throw ERangeError();
    return FMargins[Index];
}

void TCustomTeePanel::SetMargin(int Index, int Value)
{
    if (Index < 0 || Index > 3)
        throw ERangeError();
    SetAndRepaint(FMargins[Index], Value);
}

void TCustomTeePanel::SetMarginUnits(TTeeUnits v)
{
    SetAndRepaint(FMarginUnits, v);
}

void TCustomTeePanel::SetShadow(TTeeShadow* v)
{
    FShadow->Assign(v);
}

void TCustomTeePanel::SetView3D(bool v)
{
    SetAndNotify(FView3D, v, [this] {
        RequestRepaint();
        TTeeView3DEvent event;
        BroadcastEvent(&event);
    });
}

void TCustomTeePanel::SetView3DOptions(TView3DOptions* v)
{
    FView3DOptions->Assign(v);
}

bool TCustomTeePanel::Monochrome() const
{
    return FSurface->GetMonochrome();
}

void TCustomTeePanel::SetMonochrome(bool v)
{
    if (v == Monochrome())
        return;
    FSurface->SetMonochrome(v);
    RequestRepaint();
}

// ---- slots ----------------------------------------------------------------------------

TColor TCustomTeePanel::GetBackColor() const
{
    return Color();
}

void TCustomTeePanel::DrawContents(const TRect&) {}

void TCustomTeePanel::RedrawChart()
{
    RequestRepaint();
}

TRect TCustomTeePanel::GetDrawRect() const
{
    return Parent() == nullptr ? TRect(0, 0, Width(), Height()) : ClientRect();
}

void TCustomTeePanel::RequestRepaint()
{
    if (!FAutoRepaint)
        return;
    FSurface->MarkDirty();
    TCustomPanelNoCaption::Repaint();
}

void TCustomTeePanel::DrawToCanvas(TCanvas* Canvas, const TRect& Rect)
{
    TTeeCanvas3D* s = FSurface.get();
    ChartBounds = s->SetupProjection(Canvas, FView3DOptions.get(), Rect, FView3D);
    // What was drawn is incomplete when drawing raises: the buffer is not shown, the
    // window canvas is the surface's again.
    auto failed = TScopeGuard([this, s] {
        AttachCanvasToSurface(s, ReferenceCanvas());
        s->MarkDirty();
    });
    CalcChartRect();
    AssignStylesToCanvas(s);
    DrawContents(ChartBounds);
    failed.Dismiss();
    s->FinishBufferedDraw(Canvas, ReferenceCanvas(), Rect);
}

// ---- chart rectangle -----------------------------------------------------------------

int TCustomTeePanel::FrameWidth() const
{
    int w = BorderWidth();
    if (BevelInner() != bvNone)
        w = CheckedAdd(w, BevelWidth());
    if (BevelOuter() != bvNone)
        w = CheckedAdd(w, BevelWidth());
    if (FBorder->Visible())
        w = CheckedAdd(w, FBorder->Width());
    return w;
}

void TCustomTeePanel::CalcChartRect()
{
    const int frame = FrameWidth();
    const int w = ChartBounds.Width(), h = ChartBounds.Height();
    auto margin = [&](int index, int size) {
        return FMarginUnits == muPixels ? FMargins[index] : CheckedMul(FMargins[index], size) / 100;
    };
    ChartRect = TRect(CheckedAdd(ChartBounds.Left, CheckedAdd(frame, margin(0, w))), CheckedAdd(ChartBounds.Top, CheckedAdd(frame, margin(1, h))),
                      CheckedSub(ChartBounds.Right, CheckedAdd(frame, margin(2, w))),
                      CheckedSub(ChartBounds.Bottom, CheckedAdd(frame, margin(3, h))));
    RecalcWidthHeight();
}

void TCustomTeePanel::RecalcWidthHeight()
{
    TRect& r = ChartRect;
    const TRect& b = ChartBounds;
    r.Left = std::max(r.Left, b.Left);
    r.Top = std::max(r.Top, b.Top);
    // A corner pushed past the panel's far side is kept inside it.
    if (b.Right > b.Left)
        r.Left = std::min(r.Left, b.Right - 1);
    if (b.Bottom > b.Top)
        r.Top = std::min(r.Top, b.Bottom - 1);
    auto expand = [](int low, int& high, int whole, int limit) {
        if (low > high)
            high = CheckedAdd(low, 1);
        else if (low == high)
            // A collapsed side takes the panel's whole size, but not past its edge.
            high = limit > low ? std::min(CheckedAdd(low, whole), limit) : CheckedAdd(low, whole);
    };
    expand(r.Left, r.Right, Width(), b.Right);
    expand(r.Top, r.Bottom, Height(), b.Bottom);
    ChartWidth = CheckedSub(r.Right, r.Left);
    ChartHeight = CheckedSub(r.Bottom, r.Top);
    ChartXCenter = int((int64_t(r.Left) + r.Right) / 2);
    ChartYCenter = int((int64_t(r.Top) + r.Bottom) / 2);
}

void TCustomTeePanel::DrawPanelBevels(TRect Rect)
{
    TTeeCanvas3D* s = FSurface.get();
    TCanvas* c = s->ReferenceCanvas();
    if (c == nullptr)
        return;
    if (FBorder->Visible()) {
        const int w = FBorder->Width();
        s->AssignPen(FBorder.get(), FBorder->Color());
        c->Brush()->SetStyle(bsClear);
        // The pen is centred on the outline, so the outline runs half a pen inside.
        const int half = w / 2;
        const TRect b(Rect.Left + half, Rect.Top + half, Rect.Right - 1 - (w - 1 - half),
                      Rect.Bottom - 1 - (w - 1 - half));
        if (FBorderRound >= 1)
            s->RoundRect(b.Left, b.Top, b.Right, b.Bottom, FBorderRound, FBorderRound);
        else
            s->Rectangle(b.Left, b.Top, b.Right + 1, b.Bottom + 1);
        InflateRect(Rect, -w, -w);
    }
    if (FPrinting && !PrintTeePanel)
        return;
    c->Pen()->ClearExtended();
    c->Pen()->SetStyle(psSolid);
    c->Pen()->SetWidth(1);
    c->Pen()->SetMode(pmCopy);
    DrawTeeBevel(s, BevelOuter(), Rect, BevelWidth(), FBorderRound);
    if (BorderWidth() != 0 && Color() != clNone)
        s->BevelFrame(Rect, Color(), BorderWidth(), Color());
    else
        InflateRect(Rect, -BorderWidth(), -BorderWidth());
    DrawTeeBevel(s, BevelInner(), Rect, BevelWidth(), FBorderRound);
}

// ---- painting ------------------------------------------------------------------------

void TCustomTeePanel::Paint()
{
    if (FPrinting)
        return;
    if (FSurface->ReferenceCanvas() != ReferenceCanvas())
        AttachCanvasToSurface(FSurface.get(), ReferenceCanvas());
    if (Color() == clNone)
        // A see-through panel draws straight onto its window, where what it leaves
        // unpainted shows the parent; the buffer would cover it.
        DrawUnbuffered(ReferenceCanvas(), ClientRect());
    else if (!FSurface->BlitBufferIfValid())
        DrawToCanvas(ReferenceCanvas(), ClientRect());
}

void TCustomTeePanel::EraseBackground()
{
    if (TeeEraseBack)
        TCustomPanelNoCaption::EraseBackground();
}

void TCustomTeePanel::Resize()
{
    FSurface->MarkDirty();
    ApplyRoundRegion();
    TCustomPanelNoCaption::Resize();
}

void TCustomTeePanel::Loaded()
{
    TCustomPanelNoCaption::Loaded();
    OriginalCursor = Cursor();
    ApplyRoundRegion();
}

void TCustomTeePanel::DrawOffScreen(TCanvas* Canvas, const TRect& Rect)
{
    auto offScreen = RestoreOnExit(FOffScreen);
    FOffScreen = true;
    // Drawn straight into the target: the window's buffer is not touched by it.
    DrawUnbuffered(Canvas, Rect);
}

void TCustomTeePanel::DrawUnbuffered(TCanvas* Canvas, const TRect& Rect)
{
    TTeeCanvas3D* s = FSurface.get();
    TScopeGuard restore([s, buffered = s->GetBuffered()] { s->SetBuffered(buffered); });
    s->SetBuffered(false);
    DrawToCanvas(Canvas, Rect);
}

std::unique_ptr<TBitmap> TCustomTeePanel::DrawToBitmap(TColor BackColour, const TRect& Rect, TPixelFormat PixelFormat)
{
    const TRect r = NormalizeRectCopy(Rect);
    const int w = std::max(1, r.Width()), h = std::max(1, r.Height());
    auto bitmap = std::make_unique<TBitmap>(w, h, FSurface->IsTrue3D() ? pf24bit : PixelFormat);
    if (ColorToDrawRGB(BackColour) != clWhite && BackColour != clNone) {
        TCanvas* c = bitmap->Canvas();
        c->Brush()->SetStyle(bsSolid);
        c->Brush()->SetColor(BackColour);
        c->FillRect(TRect(0, 0, w, h));
    }
    DrawOffScreen(bitmap->Canvas(), TRect(0, 0, w, h));
    bitmap->Canvas()->Flush();
    return bitmap;
}

void TCustomTeePanel::CopyToGraphic(TPersistent* Dest)
{
    if (dynamic_cast<TGraphic*>(Dest) != nullptr || dynamic_cast<TPicture*>(Dest) != nullptr) {
        std::unique_ptr<TBitmap> bitmap = DrawToBitmap(Color(), GetDrawRect());
        Dest->Assign(bitmap.get());
        return;
    }
    TCustomPanelNoCaption::AssignTo(Dest);
}

void TCustomTeePanel::AssignTo(TPersistent* Dest)
{
    CopyToGraphic(Dest);
}

// ---- listeners ----------------------------------------------------------------------

void TCustomTeePanel::BroadcastEvent(TTeeEvent* Event)
{
    if (Event == nullptr || IsDestroying())
        return;
    Event->Sender = this;
    const bool mouse = dynamic_cast<TTeeMouseEvent*>(Event) != nullptr;
    FListeners->ForEach([Event](IPanelEventListener* l) { l->HandleEvent(Event); },
                        [this, mouse] { return mouse && CancelMouse; });
}

void TCustomTeePanel::BroadcastMouseEvent(TTeeMouseEventKind Kind, TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TTeeMouseEvent event;
    event.Event = Kind;
    event.Button = Button;
    event.Shift = Shift;
    event.X = X;
    event.Y = Y;
    BroadcastEvent(&event);
}

int TCustomTeePanel::AddListenerOnce(IPanelEventListener* Listener)
{
    return FListeners->Add(Listener);
}

void TCustomTeePanel::RemoveListener(IPanelEventListener* Listener)
{
    FListeners->Remove(Listener);
}

// ---- mouse ---------------------------------------------------------------------------
// Every mouse event starts with CancelMouse clear, so that a handler that claimed one
// event does not swallow the next (a mouse-up after a claimed mouse-down).

void TCustomTeePanel::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    CancelMouse = false;
    TCustomPanelNoCaption::MouseDown(Button, Shift, X, Y);
    if (FListeners->Count() > 0)
        BroadcastMouseEvent(meDown, Button, Shift, X, Y);
}

void TCustomTeePanel::MouseMove(TShiftState Shift, int X, int Y)
{
    CancelMouse = false;
    TCustomPanelNoCaption::MouseMove(Shift, X, Y);
    if (FListeners->Count() > 0 && !IsDesigning())
        BroadcastMouseEvent(meMove, mbLeft, Shift, X, Y);
}

void TCustomTeePanel::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    CancelMouse = false;
    TCustomPanelNoCaption::MouseUp(Button, Shift, X, Y);
    if (FListeners->Count() > 0)
        BroadcastMouseEvent(meUp, Button, Shift, X, Y);
}

void TCustomTeePanel::DblClick()
{
    CancelMouse = false;
    TCustomPanelNoCaption::DblClick();
    if (CancelMouse)
        AbortClick();
}

void TCustomTeePanel::MouseLeave()
{
    SetCursor(OriginalCursor);
    FPanning->Active = false;
    TCustomPanelNoCaption::MouseLeave();
}

// ---- printing ------------------------------------------------------------------------

void TCustomTeePanel::PrintPartialCanvas(TCanvas* Canvas, TRect Rect)
{
    if (Canvas == nullptr)
        return;
    Rect = NormalizeRectCopy(Rect);
    const TRect draw = GetDrawRect();
    // The chart keeps its own size (less PrintResolution percent) in logical units; the
    // mapping stretches that over the printer rectangle.
    int w = draw.Width(), h = draw.Height();
    w = std::max(1, CheckedSub(w, CheckedMul(w, FPrintResolution) / 100));
    h = std::max(1, CheckedSub(h, CheckedMul(h, FPrintResolution) / 100));
    const int pw = std::max(1, Rect.Width()), ph = std::max(1, Rect.Height());
    const int left = MulDiv(Rect.Left, w, pw), top = MulDiv(Rect.Top, h, ph);
    const TRect logical(left, top, CheckedAdd(left, w), CheckedAdd(top, h));

    const int oldMode = Canvas->MapMode();
    const TPoint oldWinOrg = Canvas->WindowOrg(), oldVpOrg = Canvas->ViewportOrg();
    const TSize oldWinExt = Canvas->WindowExt(), oldVpExt = Canvas->ViewportExt();
    Canvas->SetMapMode(MM_ANISOTROPIC);
    Canvas->SetWindowOrg(0, 0);
    Canvas->SetWindowExt(w, h);
    Canvas->SetViewportOrg(0, 0);
    Canvas->SetViewportExt(pw, ph);

    const bool wasMetafiling = FSurface->MetafileOrPrinting();
    bool clipped = false;
    auto printing = RestoreOnExit(FPrinting);
    FPrinting = true;
    auto restore = TScopeGuard([&] {
        if (clipped)
            Canvas->PopClip();
        Canvas->SetMapMode(oldMode);
        if (oldMode == MM_ANISOTROPIC) {
            Canvas->SetWindowExt(oldWinExt.cx, oldWinExt.cy);
            Canvas->SetViewportExt(oldVpExt.cx, oldVpExt.cy);
        }
        Canvas->SetWindowOrg(oldWinOrg.X, oldWinOrg.Y);
        Canvas->SetViewportOrg(oldVpOrg.X, oldVpOrg.Y);
        FSurface->SetMetafileOrPrinting(wasMetafiling);
    });
    FSurface->SetMetafileOrPrinting(true);
    if (ClippingAllowed()) {
        Canvas->PushClip();
        clipped = true;
        Canvas->IntersectClipRect(logical.Left, logical.Top, logical.Right, logical.Bottom);
    }
    if (OnBeforePrint)
        OnBeforePrint(this, Canvas, logical);
    DrawOffScreen(Canvas, logical);
}

void TCustomTeePanel::PrintToPrinter(const TRect& Rect)
{
    PrintPartialCanvas(Printer()->Canvas(), Rect);
}

TRect TCustomTeePanel::CalcPrintRect()
{
    if (FPrintProportional)
        CalcProportionalMargins();
    TPrinter* p = Printer();
    const int pw = p->PageWidth(), ph = p->PageHeight();
    auto scaled = [](int percent, int size) { return TeeRound(percent * double(size) / 100); };
    return TRect(scaled(FPrintMargins.Left, pw), scaled(FPrintMargins.Top, ph), pw - scaled(FPrintMargins.Right, pw),
                 ph - scaled(FPrintMargins.Bottom, ph));
}

void TCustomTeePanel::CalcProportionalMargins()
{
    const TRect draw = GetDrawRect();
    TPrinter* p = Printer();
    const int dpiX = p->PixelsPerInchX(), dpiY = p->PixelsPerInchY();
    const double d = dpiX > 0 && dpiY > 0 ? double(dpiY) / dpiX : 1.0;
    FPrintMargins = CalcProportionalPrintMargins(draw.Width(), draw.Height(), p->PageWidth(), p->PageHeight(), d);
}

// ---- the rest -------------------------------------------------------------------------

TPoint TCustomTeePanel::GetCursorPosition() const
{
    return ScreenToClient(Screen()->CursorPos());
}

bool TCustomTeePanel::GetBufferedDisplay() const
{
    return FSurface->GetBuffered();
}

void TCustomTeePanel::SetCanvasBuffered(bool v)
{
    FSurface->SetBuffered(v);
}

bool TCustomTeePanel::ClippingAllowed() const
{
    if (FSurface->IsTrue3D())
        return false;
    if (FPrinting)
        return TeeClipWhenPrinting;
    if (FOffScreen)
        return TeeClipWhenMetafiling;
    return true;
}

// By hand: the table lists the panel's place and size, which stay its own, and the
// margins, buffering and print settings are copied without a repaint each.
void TCustomTeePanel::Assign(TPersistent* Source)
{
    auto* p = dynamic_cast<TCustomTeePanel*>(Source);
    if (p == nullptr) {
        TCustomPanelNoCaption::Assign(Source);
        return;
    }
    FBorder->Assign(p->FBorder.get());
    FBorderRound = p->FBorderRound;
    FLocked = p->FLocked;
    FSurface->SetBuffered(p->FSurface->GetBuffered());
    FPrintMargins = p->FPrintMargins;
    FPrintProportional = p->FPrintProportional;
    FPrintResolution = p->FPrintResolution;
    std::copy(std::begin(p->FMargins), std::end(p->FMargins), std::begin(FMargins));
    FMarginUnits = p->FMarginUnits;
    FSurface->SetMonochrome(p->Monochrome());
    FShadow->Assign(p->FShadow.get());
    FView3D = p->FView3D;
    FView3DOptions->Assign(p->FView3DOptions.get());
    SetColor(p->Color());
    // The look of the panel: its place and size stay its own.
    SetTag(p->Tag());
    SetBevelInner(p->BevelInner());
    SetBevelOuter(p->BevelOuter());
    SetBevelWidth(p->BevelWidth());
    SetBorderWidth(p->BorderWidth());
    ApplyRoundRegion();
    RequestRepaint();
}
