#include "ChartPreview.h"

#include "TeePenDlg.h"

#include "controls/Cursors.h"
#include "controls/FormBuilder.h"
#include "controls/FormStyles.h"
#include "controls/Printers.h"
#include "graphics/Bitmap.h"
#include "graphics/Metafile.h"
#include "system/ScopeGuard.h"

#include <algorithm>
#include <cstdlib>

namespace {

// Pixels within which a press counts as on an edge.
constexpr int DragThreshold = 5;

// The page of the printer, turned as the preview asks.
void PageSize(int& Width, int& Height)
{
    TPrinter* p = Printer();
    Width = p->PageWidth();
    Height = p->PageHeight();
}

} // namespace

// ---- small classes ----------------------------------------------------------------------

TPreviewChartPen::TPreviewChartPen(TNotifyEvent onChange) : TChartPen(std::move(onChange))
{
    SetSmallDots(true);
}

TCustomTeePanel* TTeePanelsList::Items(int Index) const
{
    if (Index < 0 || Index >= Count())
        throw EListError(Format("List index out of bounds (%d)", {Index}));
    return FItems[static_cast<size_t>(Index)];
}

int TTeePanelsList::IndexOf(const TCustomTeePanel* Panel) const
{
    const auto it = std::find(FItems.begin(), FItems.end(), Panel);
    return it == FItems.end() ? -1 : static_cast<int>(it - FItems.begin());
}

void TTeePanelsList::Delete(int Index)
{
    Items(Index);
    FItems.erase(FItems.begin() + Index);
}

int TTeePanelsList::Remove(const TCustomTeePanel* Panel)
{
    const int i = IndexOf(Panel);
    if (i >= 0)
        Delete(i);
    return i;
}

// ---- TTeePreviewPanel -------------------------------------------------------------------

BEGIN_CLASS_INFO(TTeePreviewPanel, TComponent)
    .ComponentFactory()
    .Bool("AllowMove", &TTeePreviewPanel::AllowMove, &TTeePreviewPanel::SetAllowMove).Default(true)
    .Bool("AllowResize", &TTeePreviewPanel::AllowResize, &TTeePreviewPanel::SetAllowResize).Default(true)
    .Bool("AsBitmap", &TTeePreviewPanel::AsBitmap, &TTeePreviewPanel::SetAsBitmap).Default(false)
    .Object("Margins", &TTeePreviewPanel::Margins)
    .Enum("Orientation", &TTeePreviewPanel::Orientation, &TTeePreviewPanel::SetOrientation,
          {"ppoDefault", "ppoPortrait", "ppoLandscape"}).Default(ppoDefault)
    .Reference("Panel", &TTeePreviewPanel::Panel, &TTeePreviewPanel::SetPanel)
    .Int("PaperColor", &TTeePreviewPanel::PaperColor, &TTeePreviewPanel::SetPaperColor).Default(clWhite)
    .Object("PaperShadow", &TTeePreviewPanel::PaperShadow)
    .Bool("ShowImage", &TTeePreviewPanel::ShowImage, &TTeePreviewPanel::SetShowImage).Default(true)
    .Bool("SmoothBitmap", &TTeePreviewPanel::SmoothBitmap, &TTeePreviewPanel::SetSmoothBitmap).Default(true)
    .Str("Title", &TTeePreviewPanel::Title, &TTeePreviewPanel::SetTitle)
    .Event("OnChangeMargins")
    .Event("OnGetPaperRect")
END_CLASS_INFO

TTeePreviewPanel::TTeePreviewPanel(TComponent* AOwner)
    : TCustomTeePanelExtended(AOwner), FMargins(std::make_unique<TPreviewChartPen>(RepaintHandler())),
      FPaperShadow(std::make_unique<TTeeShadow>(RepaintHandler()))
{
    FPaperShadow->DefaultColor = clGray;
    FPaperShadow->DefaultSize = 4;
    FPaperShadow->SetColor(clGray);
    FPaperShadow->SetSize(4);
    SetView3D(false);
    SetBounds(Left(), Top(), 432, 312);
}

TTeePreviewPanel::~TTeePreviewPanel()
{
    while (FPanels.Count() > 0) {
        FPanels.Items(0)->RemoveFreeNotification(this);
        FPanels.Delete(0);
    }
}

void TTeePreviewPanel::SetPanel(TCustomTeePanel* Value)
{
    if (Value == Panel() || Value == this)
        return;
    if (FPanels.Count() > 0) {
        TCustomTeePanel* old = FPanels.Items(0);
        FPanels.Delete(0);
        if (FPanels.IndexOf(old) < 0)
            old->RemoveFreeNotification(this);
    }
    if (Value != nullptr && FPanels.IndexOf(Value) < 0) {
        // The given panel becomes the first of the list.
        FPanels.Insert(0, Value);
        Value->FreeNotification(this);
    }
    if (FPanels.Count() > 0)
        SetAsBitmap(FPanels.Items(0)->Canvas()->IsTrue3D());
    Repaint();
}

void TTeePreviewPanel::AddPanel(TCustomTeePanel* Value)
{
    if (Value == nullptr || Value == this || FPanels.IndexOf(Value) >= 0)
        return;
    FPanels.Add(Value);
    Value->FreeNotification(this);
    Repaint();
}

void TTeePreviewPanel::Notification(TComponent* AComponent, TOperation Operation)
{
    TCustomTeePanelExtended::Notification(AComponent, Operation);
    if (Operation != TOperation::opRemove)
        return;
    // A freed panel leaves the list, wherever it was in it.
    bool removed = false;
    for (int i = FPanels.Count() - 1; i >= 0; --i)
        if (static_cast<TComponent*>(FPanels.Items(i)) == AComponent) {
            FPanels.Delete(i);
            removed = true;
        }
    if (removed)
        Repaint();
}

void TTeePreviewPanel::SetOrientation(TTeePreviewPanelOrientation Value)
{
    SetAndNotify(FOrientation, Value, [this] {
        ApplyOrientation();
        Repaint();
    });
}

void TTeePreviewPanel::ApplyOrientation()
{
    if (FOrientation != ppoDefault && !Printer()->Printing())
        Printer()->SetOrientation(FOrientation == ppoLandscape ? poLandscape : poPortrait);
}

TRect TTeePreviewPanel::PaperRect()
{
    ApplyOrientation();
    int pw = 0, ph = 0;
    PageSize(pw, ph);
    const int cw = ClientWidth(), ch = ClientHeight();
    TRect r;
    if (static_cast<long long>(ch) * pw < static_cast<long long>(cw) * ph) {
        // The client area is relatively wider than the page.
        const int h = ch - static_cast<int>(Round(ch / 5.0));
        r.Top = static_cast<int>(Round(ch / 10.0));
        r.Bottom = r.Top + h;
        const int w = ph < 1 ? cw : MulDiv(h, pw, ph);
        r.Left = (cw - w) / 2;
        r.Right = r.Left + w;
    } else {
        const int w = cw - static_cast<int>(Round(cw / 5.0));
        r.Left = static_cast<int>(Round(cw / 10.0));
        r.Right = r.Left + w;
        const int h = pw < 1 ? ch : MulDiv(w, ph, pw);
        r.Top = (ch - h) / 2;
        r.Bottom = r.Top + h;
    }
    if (OnGetPaperRect)
        OnGetPaperRect(this, r);
    FPaper = r;
    return r;
}

TRect TTeePreviewPanel::PanelRect(TCustomTeePanel* APanel)
{
    TRect m(15, 15, 15, 15);
    if (APanel != nullptr) {
        if (APanel->PrintProportional())
            APanel->CalcProportionalMargins();
        m = APanel->PrintMargins();
    }
    const int w = FPaper.Width(), h = FPaper.Height();
    return TRect(FPaper.Left + MulDiv(m.Left, w, 100), FPaper.Top + MulDiv(m.Top, h, 100),
                 FPaper.Right - MulDiv(m.Right, w, 100), FPaper.Bottom - MulDiv(m.Bottom, h, 100));
}

void TTeePreviewPanel::Paint()
{
    Canvas()->MarkDirty();
    TCustomTeePanelExtended::Paint();
}

void TTeePreviewPanel::DrawContents(const TRect& Rect)
{
    DrawBackground(Rect);
    TCanvas* c = Canvas()->GetHandle();
    PaperRect();
    FPaperShadow->DrawShadow(Canvas(), FPaper);
    c->Pen()->SetStyle(psSolid);
    c->Pen()->SetColor(clBlack);
    c->Pen()->SetWidth(1);
    c->Pen()->SetMode(pmCopy);
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(FPaperColor);
    c->Rectangle(FPaper.Left, FPaper.Top, FPaper.Right, FPaper.Bottom);
    for (int i = 0; i < FPanels.Count(); ++i) {
        TCustomTeePanel* p = FPanels.Items(i);
        const TRect r = PanelRect(p);
        if (i == 0)
            FChartRect = r;
        c->PushClip();
        TScopeGuard unclip([c] { c->PopClip(); });
        const TRect clip = p->ClippingAllowed() ? r : FPaper;
        c->IntersectClipRect(clip.Left, clip.Top, clip.Right, clip.Bottom);
        if (FShowImage)
            DrawPanel(c, p, r);
    }
    if (FPanels.Count() == 0)
        FChartRect = PanelRect(nullptr);
    if (FMargins->Visible() && FPanels.Count() > 0) {
        const TRect r = FChartRect;
        c->Pen()->Assign(FMargins.get());
        if (FMargins->SmallDots())
            c->Pen()->SetStyle(psDot);
        c->Pen()->SetMode(pmNotXor);
        c->Brush()->SetStyle(bsClear);
        c->MoveTo(r.Left, FPaper.Top);
        c->LineTo(r.Left, FPaper.Bottom);
        c->MoveTo(r.Right, FPaper.Top);
        c->LineTo(r.Right, FPaper.Bottom);
        c->MoveTo(FPaper.Left, r.Top);
        c->LineTo(FPaper.Right, r.Top);
        c->MoveTo(FPaper.Left, r.Bottom - 1);
        c->LineTo(FPaper.Right, r.Bottom - 1);
        c->Pen()->SetMode(pmCopy);
    }
    if (OnAfterDraw)
        OnAfterDraw(this);
}

// The panel recorded at its own size, shown stretched into R (or through a bitmap of R's
// size, smoothly scaled).
void TTeePreviewPanel::DrawPanel(TCanvas* Canvas, TCustomTeePanel* APanel, const TRect& R)
{
    if (R.Width() <= 0 || R.Height() <= 0)
        return;
    const std::unique_ptr<TMetafile> picture =
        APanel->DrawToMetafile(true, TRect(0, 0, std::max(1, APanel->Width()), std::max(1, APanel->Height())));
    if (FAsBitmap && FSmoothBitmap) {
        TBitmap bitmap(R.Width(), R.Height());
        bitmap.SetPixelRatio(Canvas->PixelRatio());
        picture->Draw(*bitmap.Canvas(), TRect(0, 0, R.Width(), R.Height()));
        Canvas->Draw(R.Left, R.Top, &bitmap);
    } else {
        Canvas->StretchDraw(R, picture.get());
    }
}

TPreviewDragZone TTeePreviewPanel::ZoneAt(int X, int Y)
{
    PaperRect();
    const TRect r = PanelRect(Panel());
    auto near = [](int a, int b) { return std::abs(a - b) < DragThreshold; };
    const bool left = near(X, r.Left), right = near(X, r.Right), top = near(Y, r.Top), bottom = near(Y, r.Bottom);
    TPreviewDragZone zone = pdNone;
    if (left && top)
        zone = pdLeftTop;
    else if (left && bottom)
        zone = pdLeftBottom;
    else if (right && top)
        zone = pdRightTop;
    else if (right && bottom)
        zone = pdRightBottom;
    else if (left)
        zone = pdLeft;
    else if (right)
        zone = pdRight;
    else if (top)
        zone = pdTop;
    else if (bottom)
        zone = pdBottom;
    else if (FAllowMove && X >= r.Left && X < r.Right && Y >= r.Top && Y < r.Bottom)
        return pdMove;
    if (!FAllowResize && zone != pdNone)
        return FAllowMove && X >= r.Left && X < r.Right && Y >= r.Top && Y < r.Bottom ? pdMove : pdNone;
    return zone;
}

void TTeePreviewPanel::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TCustomTeePanelExtended::MouseDown(Button, Shift, X, Y);
    if (Button != mbLeft || Panel() == nullptr)
        return;
    FDragZone = ZoneAt(X, Y);
    if (FDragZone == pdNone)
        return;
    FDragging = true;
    FDownPoint = TPoint(X, Y);
    FDownRect = PanelRect(Panel());
    FDownMargins = Panel()->PrintMargins();
}

void TTeePreviewPanel::MouseMove(TShiftState Shift, int X, int Y)
{
    TCustomTeePanelExtended::MouseMove(Shift, X, Y);
    if (FDragging) {
        Drag(X, Y);
        return;
    }
    if (Panel() == nullptr)
        return;
    switch (ZoneAt(X, Y)) {
    case pdLeft:
    case pdRight: SetCursor(crSizeWE); break;
    case pdTop:
    case pdBottom: SetCursor(crSizeNS); break;
    case pdLeftTop:
    case pdRightBottom: SetCursor(crSizeNWSE); break;
    case pdLeftBottom:
    case pdRightTop: SetCursor(crSizeNESW); break;
    case pdMove: SetCursor(crSizeAll); break;
    default: SetCursor(crDefault); break;
    }
}

void TTeePreviewPanel::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TCustomTeePanelExtended::MouseUp(Button, Shift, X, Y);
    FDragging = false;
    FDragZone = pdNone;
}

// The dragged edges follow the mouse within the paper, each staying on its side of the
// opposite edge; a move shifts the whole rectangle, kept on the paper. The margins are
// then the rectangle's distances from the paper's edges in percent.
void TTeePreviewPanel::Drag(int X, int Y)
{
    TCustomTeePanel* p = Panel();
    if (p == nullptr || !(X >= FPaper.Left && X <= FPaper.Right && Y >= FPaper.Top && Y <= FPaper.Bottom))
        return;
    TRect r = FDownRect;
    const bool dragLeft = FDragZone == pdLeft || FDragZone == pdLeftTop || FDragZone == pdLeftBottom;
    const bool dragRight = FDragZone == pdRight || FDragZone == pdRightTop || FDragZone == pdRightBottom;
    const bool dragTop = FDragZone == pdTop || FDragZone == pdLeftTop || FDragZone == pdRightTop;
    const bool dragBottom = FDragZone == pdBottom || FDragZone == pdLeftBottom || FDragZone == pdRightBottom;
    if (dragLeft)
        r.Left = std::clamp(X, FPaper.Left, r.Right - 1);
    if (dragRight)
        r.Right = std::clamp(X, r.Left + 1, FPaper.Right);
    if (dragTop)
        r.Top = std::clamp(Y, FPaper.Top, r.Bottom - 1);
    if (dragBottom)
        r.Bottom = std::clamp(Y, r.Top + 1, FPaper.Bottom);
    if (FDragZone == pdMove) {
        const int dx = std::clamp(X - FDownPoint.X, FPaper.Left - r.Left, FPaper.Right - r.Right);
        const int dy = std::clamp(Y - FDownPoint.Y, FPaper.Top - r.Top, FPaper.Bottom - r.Bottom);
        OffsetRect(r, dx, dy);
    }
    // Only the sides that moved take new percentages; the others keep theirs exactly.
    const bool moving = FDragZone == pdMove;
    const int w = std::max(1, FPaper.Width()), h = std::max(1, FPaper.Height());
    TRect m = FDownMargins;
    if (dragLeft || moving)
        m.Left = MulDiv(r.Left - FPaper.Left, 100, w);
    if (dragTop || moving)
        m.Top = MulDiv(r.Top - FPaper.Top, 100, h);
    if (dragRight || moving)
        m.Right = MulDiv(FPaper.Right - r.Right, 100, w);
    if (dragBottom || moving)
        m.Bottom = MulDiv(FPaper.Bottom - r.Bottom, 100, h);
    // Whole percents never let the margins meet or cross, nor go below 0: a dragged
    // side stops before the side that stays.
    auto keepApart = [](int& Moved, int& Fixed) {
        Fixed = std::clamp(Fixed, 0, 99);
        Moved = std::clamp(Moved, 0, 99 - Fixed);
    };
    if (dragRight && !dragLeft)
        keepApart(m.Right, m.Left);
    else
        keepApart(m.Left, m.Right);
    if (dragBottom && !dragTop)
        keepApart(m.Bottom, m.Top);
    else
        keepApart(m.Top, m.Bottom);
    p->SetPrintProportional(false);
    p->SetPrintMargins(m);
    if (OnChangeMargins)
        OnChangeMargins(this, true, m);
    Repaint();
}

void TTeePreviewPanel::Print()
{
    if (FPanels.Count() == 0)
        return;
    auto cursor = ScreenCursorWhile(crHourGlass);
    TPrinter* printer = Printer();
    ApplyOrientation();
    std::string title = FTitle;
    if (title.empty())
        title = FPanels.Items(0)->Name();
    printer->SetTitle(title);
    printer->BeginDoc();
    // A failure part-way abandons the job instead of leaving it open.
    TScopeGuard abort([printer] { printer->Abort(); });
    for (int i = 0; i < FPanels.Count(); ++i) {
        TCustomTeePanel* p = FPanels.Items(i);
        const TRect r = p->CalcPrintRect();
        if (FAsBitmap) {
            const std::unique_ptr<TMetafile> picture =
                p->DrawToMetafile(true, TRect(0, 0, std::max(1, p->Width()), std::max(1, p->Height())));
            printer->Canvas()->StretchDraw(r, picture.get());
        } else {
            p->PrintPartialCanvas(printer->Canvas(), r);
        }
    }
    if (OnAfterDraw)
        OnAfterDraw(this);
    abort.Dismiss();
    printer->EndDoc();
}

// ---- TChartPreview ----------------------------------------------------------------------

TChartPreview::TChartPreview(TComponent* AOwner) : TForm(AOwner)
{
    SetName("ChartPreview");
    SetCaption("RurEvido Print Preview");
    SetPosition(poScreenCenter);
    BuildForm(this, 502, 392, {
        Panel(PanelTop, "PanelTop", {
            // The printer names are long: the list takes what the button leaves.
            Row(LPrinters, "LPrinters", "P&rinter:", {Combo(CBPrinters, "CBPrinters", {}, csDropDownList, 240),
                                                        Ctl(BSetupPrinter, "BSetupPrinter", "&Setup...")}),
        }),
        Columns({
            Column({Growing(Ctl(TeePreviewPanel1, "TeePreviewPanel1"))}),
            Column({
                Radios(Orientation, "Orientation", "Orien&tation:", {"P&ortrait", "&Landscape"}, 2),
                Group(GBMargins, "GBMargins", "Margins (%)", {
                    Line({Row("Left", {UpDownEdit(SELeftMa, "SELeftMa", UDLeftMa, "UDLeftMa", 0, 100, 5)}),
                          Row("Right", {UpDownEdit(SERightMa, "SERightMa", UDRightMa, "UDRightMa", 0, 100, 5)})}),
                    Line({Row("Top", {UpDownEdit(SETopMa, "SETopMa", UDTopMa, "UDTopMa", 0, 100, 5)}),
                          Row("Bottom", {UpDownEdit(SEBotMa, "SEBotMa", UDBotMa, "UDBotMa", 0, 100, 5)})}),
                    Ctl(BReset, "BReset", "Reset &Margins"),
                }),
                Ctl(LResolution, "LResolution", "Detail:"),
                Track(Resolution, "Resolution", 0, 100, 10),
                Line({Ctl(LMore, "LMore", "More"), Stretch(), Ctl(LNormal, "LNormal", "Normal")}),
                Line({Ctl(ShowMargins, "ShowMargins", "&View Margins"), Ctl(CBProp, "CBProp", "Proport&ional")}),
                Ctl(CheckBox1, "CheckBox1", "Sm&ooth"),
                Stretch(),
                Buttons({Ctl(BPrint, "BPrint", "&Print"), Ctl(BClose, "BClose", "Close")}),
            }),
        }),
    });
    Resolution->SetLineSize(2);
    Resolution->SetPosition(99);
    ShowMargins->SetChecked(true);
    CBProp->SetChecked(true);
    BReset->SetEnabled(false);
    BClose->SetDefault(true);
    BClose->SetCancel(true);
    BClose->SetModalResult(mrCancel);
    TeePreviewPanel1->OnChangeMargins = [this](TObject*, bool Disable, const TRect& M) {
        PanelMarginsChanged(Disable, M);
    };

    OnShow = [this](TObject* s) { FormShow(s); };
    CBPrinters->OnChange = [this](TObject* s) { CBPrintersChange(s); };
    BSetupPrinter->OnClick = [this](TObject* s) { BSetupPrinterClick(s); };
    Orientation->OnClick = [this](TObject* s) { OrientationClick(s); };
    // A margin is checked when the arrows step it and when the user is done typing it
    // (leaving the field or Enter), not on every keystroke: with Left at 60, typing 35 into
    // Right passes through 3, and a field may be empty while a new number is typed.
    const std::pair<TEdit*, TUpDown*> fields[] = {
        {SELeftMa, UDLeftMa}, {SETopMa, UDTopMa}, {SERightMa, UDRightMa}, {SEBotMa, UDBotMa}};
    for (const auto& [e, ud] : fields) {
        ud->OnChange = [this, e = e](TObject*) { MarginChange(e); };
        ud->OnTyped = [this, e = e](TObject*) { MarginChange(e); };
    }
    BReset->OnClick = [this](TObject* s) { BResetClick(s); };
    Resolution->OnChange = [this](TObject* s) { ResolutionChange(s); };
    ShowMargins->OnClick = [this](TObject* s) { ShowMarginsClick(s); };
    CBProp->OnClick = [this](TObject* s) { CBPropClick(s); };
    CheckBox1->OnClick = [this](TObject* s) { CheckBox1Click(s); };
    BPrint->OnClick = [this](TObject* s) { BPrintClick(s); };
    DoCreate();
}

TChartPreview::~TChartPreview() = default;

void TChartPreview::FillPrinters()
{
    auto filling = RestoreOnExit(FFilling);
    FFilling = true;
    CBPrinters->Items()->Clear();
    const std::vector<std::string> names = Printer()->Printers();
    for (const std::string& n : names)
        CBPrinters->Items()->Add(n);
    CBPrinters->SetItemIndex(Printer()->PrinterIndex());
    const bool any = !names.empty();
    BPrint->SetEnabled(any);
    BSetupPrinter->SetEnabled(any);
    CBPrinters->SetEnabled(any);
    Orientation->SetItemIndex(Printer()->Orientation() == poLandscape ? 1 : 0);
}

void TChartPreview::FormShow(TObject*)
{
    ShowOwnCloseButton(BClose, this);
    if (MakePageNavigator && FPageNavigator == nullptr) {
        FPageNavigator = MakePageNavigator(this);
        // The page buttons go below the printer's line.
        SetMinimumSize(FPageNavigator, FPageNavigator->Width(), FPageNavigator->Height());
        TFormItem navigator;
        navigator.FixedWidth = FPageNavigator->Width();
        navigator.Make = [this](TComponent*) -> TControl* { return FPageNavigator; };
        AppendInto(PanelTop, this, {navigator});
        FPageNavigator->OnButtonClicked = [this](TObject*, TRizIvoigateBtn) { TeePreviewPanel1->Repaint(); };
    }
    if (Tag() != 0)
        TeePreviewPanel1->SetPanel(reinterpret_cast<TCustomTeePanel*>(Tag()));
    FillPrinters();
    TCustomTeePanel* p = PreviewedPanel();
    for (TControl* c : std::initializer_list<TControl*>{CBProp, Resolution, GBMargins, SELeftMa, SETopMa, SERightMa,
                                                        SEBotMa, BReset})
        c->SetEnabled(p != nullptr);
    if (p == nullptr)
        return;
    {
        auto filling = RestoreOnExit(FFilling);
        FFilling = true;
        CBProp->SetChecked(p->PrintProportional());
        Resolution->SetPosition(p->PrintResolution() + 100);
    }
    FOldMargins = p->PrintMargins();
    if (p->PrintProportional())
        p->CalcProportionalMargins();
    ShowMarginFields();
    BReset->SetEnabled(false);
    if (FPageNavigator != nullptr)
        FPageNavigator->SetPanel(p);
}

void TChartPreview::ShowMarginFields()
{
    TCustomTeePanel* p = PreviewedPanel();
    if (p == nullptr)
        return;
    auto filling = RestoreOnExit(FFilling);
    FFilling = true;
    const TRect m = p->PrintMargins();
    UDLeftMa->SetPosition(m.Left);
    UDTopMa->SetPosition(m.Top);
    UDRightMa->SetPosition(m.Right);
    UDBotMa->SetPosition(m.Bottom);
    SELeftMa->SetText(IntToStr(m.Left));
    SETopMa->SetText(IntToStr(m.Top));
    SERightMa->SetText(IntToStr(m.Right));
    SEBotMa->SetText(IntToStr(m.Bottom));
}

void TChartPreview::CBPrintersChange(TObject*)
{
    if (FFilling || CBPrinters->ItemIndex() < 0)
        return;
    Printer()->SetPrinterIndex(CBPrinters->ItemIndex());
    FillPrinters();
    TeePreviewPanel1->Repaint();
}

void TChartPreview::BSetupPrinterClick(TObject*)
{
    if (Printer()->ExecuteSetup()) {
        FillPrinters();
        TeePreviewPanel1->Repaint();
    }
}

void TChartPreview::OrientationClick(TObject*)
{
    if (FFilling || Orientation->ItemIndex() < 0)
        return;
    TeePreviewPanel1->SetOrientation(Orientation->ItemIndex() == 1 ? ppoLandscape : ppoPortrait);
    TeePreviewPanel1->ApplyOrientation();
    if (TCustomTeePanel* p = PreviewedPanel(); p != nullptr && p->PrintProportional()) {
        p->CalcProportionalMargins();
        ShowMarginFields();
    }
    TeePreviewPanel1->Repaint();
}

// A margin takes the new value only while it and the opposite margin sum to less than
// 100 (and it is no negative number); otherwise the field goes back to the old value.
void TChartPreview::MarginChange(TEdit* Edit)
{
    TCustomTeePanel* p = PreviewedPanel();
    if (FFilling || p == nullptr)
        return;
    TRect m = p->PrintMargins();
    int* field = Edit == SELeftMa ? &m.Left : Edit == SETopMa ? &m.Top : Edit == SERightMa ? &m.Right : &m.Bottom;
    const int opposite = Edit == SELeftMa ? m.Right : Edit == SETopMa ? m.Bottom : Edit == SERightMa ? m.Left : m.Top;
    int value = 0;
    if (!TryStrToInt(Trim(Edit->Text()), value) || value < 0 || value + opposite >= 100) {
        ShowMarginFields();
        return;
    }
    // Leaving a field unchanged changes nothing (nor unchecks Proportional).
    if (value == *field)
        return;
    *field = value;
    p->SetPrintMargins(m);
    p->SetPrintProportional(false);
    {
        auto filling = RestoreOnExit(FFilling);
        FFilling = true;
        CBProp->SetChecked(false);
        TUpDown* ud = Edit == SELeftMa ? UDLeftMa : Edit == SETopMa ? UDTopMa : Edit == SERightMa ? UDRightMa : UDBotMa;
        ud->SetPosition(value);
    }
    BReset->SetEnabled(m != FOldMargins);
    TeePreviewPanel1->Repaint();
}

void TChartPreview::BResetClick(TObject*)
{
    if (TCustomTeePanel* p = PreviewedPanel()) {
        p->SetPrintMargins(FOldMargins);
        ShowMarginFields();
        TeePreviewPanel1->Repaint();
    }
    BReset->SetEnabled(false);
}

void TChartPreview::ResolutionChange(TObject*)
{
    if (FFilling)
        return;
    if (TCustomTeePanel* p = PreviewedPanel()) {
        p->SetPrintResolution(Resolution->Position() - 100);
        TeePreviewPanel1->Repaint();
    }
}

void TChartPreview::ShowMarginsClick(TObject*)
{
    TeePreviewPanel1->Margins()->SetVisible(ShowMargins->Checked());
}

void TChartPreview::CBPropClick(TObject*)
{
    TCustomTeePanel* p = PreviewedPanel();
    if (FFilling || p == nullptr)
        return;
    p->SetPrintProportional(CBProp->Checked());
    if (p->PrintProportional())
        p->CalcProportionalMargins();
    ShowMarginFields();
    TeePreviewPanel1->Repaint();
}

void TChartPreview::CheckBox1Click(TObject*)
{
    TeePreviewPanel1->SetAsBitmap(CheckBox1->Checked());
}

void TChartPreview::BPrintClick(TObject*)
{
    auto cursor = ScreenCursorWhile(crHourGlass);
    if (FPageNavigator != nullptr && FPageNavigator->PageCount() > 1)
        FPageNavigator->Print();
    else
        TeePreviewPanel1->Print();
}

void TChartPreview::PanelMarginsChanged(bool DisableProportional, const TRect& NewMargins)
{
    TCustomTeePanel* p = PreviewedPanel();
    if (p == nullptr)
        return;
    if (DisableProportional) {
        p->SetPrintProportional(false);
        auto filling = RestoreOnExit(FFilling);
        FFilling = true;
        CBProp->SetChecked(false);
    }
    ShowMarginFields();
    BReset->SetEnabled(NewMargins != FOldMargins);
}

void ChartPreview(TComponent* AOwner, TCustomTeePanel* Panel)
{
    auto dialog = std::make_unique<TChartPreview>(AOwner);
    dialog->SetTag(reinterpret_cast<intptr_t>(Panel));
    dialog->ShowModal();
}

void ChartPreviewInitialization()
{
    RegisterFormClass<TChartPreview>("TChartPreview");
}

void ChartPreviewFinalization()
{
    UnregisterFormClass("TChartPreview");
}
