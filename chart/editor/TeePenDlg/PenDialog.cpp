#include "PenDialog.h"

#include "DialogHelpers.h"

#include "RizUridu.h"
#include "TeeConst.h"
#include "TeePenDlg.h"

#include "controls/FormBuilder.h"
#include "graphics/GdiConsts.h"

// ---- TPenDialog -------------------------------------------------------------------------

namespace {

// The style list holds the five drawn styles; a clear or inside-frame pen selects none.
int StyleItem(TPenStyle Style)
{
    return Style <= psDashDotDot ? int(Style) : -1;
}

} // namespace

TPenDialog::TPenDialog(TComponent* AOwner) : TForm(AOwner)
{
    SetUniqueFormName(this, "PenDialog");
    SetCaption("Border Editor");
    BuildForm(this, 269, 104, {
        Columns({
            Column({
                Ctl(CBVisible, "CBVisible", "&Visible"),
                Row(LStyle, "LStyle", "&Style:", {Combo(CBStyle, "CBStyle", {"Solid", "Dash", "Dot", "Dash Dot", "Dash Dot Dot"})}),
                Row(LWidth, "LWidth", "&Width:", {UpDownEdit(SEWidth, "SEWidth", UDWidth, "UDWidth", 1, 100),
                                                  Ctl(BColor, "BColor", "&Color...")}),
            }),
            Column({
                Ctl(BOk, "BOk", "OK"),
                Ctl(BCancel, "BCancel", "Cancel"),
                Ctl(CBEndStyle, "CBEndStyle"),
            }),
        }),
    });
    CBStyle->SetOwnerDraw(true);
    CBStyle->SetItemHeight(16);
    for (const char* style : {"Round", "Square", "Flat"})
        CBEndStyle->Items()->Add(style);
    BOk->SetDefault(true);
    BOk->SetModalResult(mrOk);
    BCancel->SetCancel(true);
    BCancel->SetModalResult(mrCancel);

    CBVisible->OnClick = [this](TObject* s) { CBVisibleClick(s); };
    SEWidth->OnChange = [this](TObject* s) { SEWidthChange(s); };
    CBStyle->OnChange = [this](TObject* s) { CBStyleChange(s); };
    CBStyle->OnDrawItem = [this](TWinControl* c, int i, const TRect& r, TOwnerDrawState st) {
        CBStyleDrawItem(c, i, r, st);
    };
    CBEndStyle->OnChange = [this](TObject* s) { CBEndStyleChange(s); };
    BColor->OnClick = [this](TObject* s) { BColorClick(s); };
    BCancel->OnClick = [this](TObject* s) { BCancelClick(s); };
    OnCreate = [this](TObject* s) { FormCreate(s); };
    OnShow = [this](TObject* s) { FormShow(s); };
    OnClose = [this](TObject* s, TCloseAction& a) { FormClose(s, a); };
    DoCreate();
}

TPenDialog::~TPenDialog() = default;

void TPenDialog::FormCreate(TObject*)
{
    SetFormBorderStyle(this, bsDialog);
    SetFormBorderIcons(this, biSystemMenu);
}

void TPenDialog::EnableWidth(bool Value)
{
    SEWidth->SetEnabled(Value);
    UDWidth->SetEnabled(Value);
}

void TPenDialog::ApplyWidthRule()
{
    if (!FExtendedPens)
        CBStyle->SetEnabled(UDWidth->Position() == 1);
}

void TPenDialog::FormShow(TObject*)
{
    FLoading = true;
    FBackupPen = std::make_unique<TChartPen>();
    if (FPen != nullptr)
        FBackupPen->Assign(FPen);

    auto* chartPen = dynamic_cast<TChartPen*>(FPen);
    // The small-dots item exists only for chart pens on platforms with extended pens.
    while (CBStyle->Items()->Count() > 5)
        CBStyle->Items()->Delete(CBStyle->Items()->Count() - 1);
    EnableWidth(true);
    if (chartPen == nullptr) {
        CBVisible->Hide();
        if (FPen != nullptr)
            CBStyle->SetItemIndex(StyleItem(FPen->Style()));
    } else {
        CBVisible->Show();
        CBVisible->SetChecked(chartPen->Visible());
        FBackupPen->SetVisible(chartPen->Visible());
        if (FExtendedPens)
            CBStyle->Items()->Add(TeeMsg_StyleSmallDots);
        if (FExtendedPens && chartPen->SmallDots()) {
            CBStyle->SetItemIndex(CBStyle->Items()->Count() - 1);
            EnableWidth(false);
        } else {
            CBStyle->SetItemIndex(StyleItem(chartPen->Style()));
        }
        CBEndStyle->SetVisible(FExtendedPens);
        if (FExtendedPens)
            CBEndStyle->SetItemIndex(chartPen->EndStyle());
    }
    // End styles belong to chart pens only.
    if (chartPen == nullptr)
        CBEndStyle->Hide();

    if (FPen != nullptr)
        UDWidth->SetPosition(FPen->Width());
    ApplyWidthRule();

    if (FPen != nullptr)
        BColor->LinkProperty(FPen, "Color");
    CallFormShowHook(this);
    FModified = false;
    FLoading = false;
}

void TPenDialog::FormClose(TObject*, TCloseAction&)
{
    // Closed without OK (the window's close box answers Cancel too): the pen goes back
    // before its copy is freed.
    if (ModalResult() != mrOk)
        RestorePen();
    FBackupPen.reset();
}

void TPenDialog::CBVisibleClick(TObject*)
{
    auto* chartPen = dynamic_cast<TChartPen*>(FPen);
    if (FLoading || chartPen == nullptr)
        return;
    chartPen->SetVisible(CBVisible->Checked());
    FModified = true;
}

void TPenDialog::SEWidthChange(TObject*)
{
    if (FLoading || FPen == nullptr)
        return;
    FPen->SetWidth(UDWidth->Position());
    ApplyWidthRule();
    FModified = true;
}

void TPenDialog::CBStyleChange(TObject*)
{
    const int index = CBStyle->ItemIndex();
    if (FPen == nullptr || index < 0)
        return;
    auto* chartPen = dynamic_cast<TChartPen*>(FPen);
    if (chartPen != nullptr && FExtendedPens && index == CBStyle->Items()->Count() - 1) {
        chartPen->SetSmallDots(true);
        EnableWidth(false);
    } else {
        FPen->SetStyle(static_cast<TPenStyle>(index));
        if (chartPen != nullptr)
            chartPen->SetSmallDots(false);
        EnableWidth(true);
    }
    FModified = true;
}

void TPenDialog::CBEndStyleChange(TObject*)
{
    auto* chartPen = dynamic_cast<TChartPen*>(FPen);
    const int index = CBEndStyle->ItemIndex();
    if (chartPen == nullptr || index < 0)
        return;
    chartPen->SetEndStyle(static_cast<TPenEndStyle>(index));
    FModified = true;
}

void TPenDialog::BColorClick(TObject*)
{
    CBStyle->Repaint();
    // The colour button wrote the pen's colour: Cancel must put it back too.
    FModified = true;
}

void TPenDialog::BCancelClick(TObject*)
{
    RestorePen();
    SetModalResult(mrCancel);
}

void TPenDialog::RestorePen()
{
    if (FModified && FPen != nullptr && FBackupPen) {
        if (auto* chartPen = dynamic_cast<TChartPen*>(FPen)) {
            // Restored quietly, then the owner is told once.
            TNotifyEvent handler = std::move(chartPen->OnChange);
            chartPen->OnChange = nullptr;
            chartPen->Assign(FBackupPen.get());
            chartPen->SetVisible(FBackupPen->Visible());
            chartPen->OnChange = std::move(handler);
            if (chartPen->OnChange)
                chartPen->OnChange(chartPen);
        } else {
            FPen->Assign(FBackupPen.get());
        }
        FModified = false;
    }
}

void TPenDialog::CBStyleDrawItem(TWinControl*, int Index, const TRect& Rect, TOwnerDrawState State)
{
    TCanvas* canvas = CBStyle->Canvas();
    if (canvas == nullptr)
        return;
    canvas->FillRect(Rect);
    const TColor background = (State & odSelected) ? clHighlight : CBStyle->Color();
    TColor color = FPen != nullptr ? FPen->Color() : clBlack;
    if (ColorToRGB(color) == ColorToRGB(background))
        color = ColorToRGB(color) == clWhite ? clBlack : clWhite;
    TPen* pen = canvas->Pen();
    pen->ClearExtended();
    pen->SetWidth(1);
    pen->SetColor(color);
    const bool smallDots = dynamic_cast<TChartPen*>(FPen) != nullptr && FExtendedPens && Index == 5;
    if (smallDots) {
        pen->SetStyle(psSolid);
        TExtPenInfo info;
        info.EndCap = pecFlat;
        info.Alternate = true;
        pen->SetExtended(info);
    } else {
        pen->SetStyle(static_cast<TPenStyle>(std::clamp(Index, 0, int(psInsideFrame))));
    }
    canvas->MoveTo(Rect.Left + 2, Rect.Top + 8);
    canvas->LineTo(Rect.Left + 30, Rect.Top + 8);
    canvas->Brush()->SetStyle(bsClear);
    canvas->SetBkMode(TRANSPARENT);
    if (Index >= 0 && Index < CBStyle->Items()->Count())
        canvas->TextOut(Rect.Left + 34, Rect.Top + 2, CBStyle->Items()->Get(Index));
}

// ---- TButtonPen -------------------------------------------------------------------------

TButtonPen::TButtonPen(TComponent* AOwner) : TTeeButton(AOwner) {}

void TButtonPen::DrawSymbol(TTeeCanvas* Canvas)
{
    TPen* pen = LinkedPen();
    if (!Enabled() || pen == nullptr)
        return;
    const int width = pen->Width();
    TNotifyEvent handler;
    const bool narrowed = width >= 7;
    if (narrowed) {
        handler = std::move(pen->OnChange);
        pen->OnChange = nullptr;
        pen->SetWidth(6);
    }
    Canvas->Brush()->SetStyle(bsClear);
    Canvas->AssignPen(pen, pen->Color());
    const int y = Height() / 2;
    Canvas->Line(Width() - 17, y, Width() - 6, y);
    if (narrowed) {
        pen->SetWidth(width);
        pen->OnChange = std::move(handler);
    }
}

void TButtonPen::Click()
{
    TPen* pen = LinkedPen();
    if (pen == nullptr) {
        TTeeButton::Click();
        return;
    }
    const TColor own = pen->Color();
    if (DrawnColor)
        pen->SetColor(DrawnColor());
    if (ShowPenEditor(this, pen, FHideColor)) {
        Repaint();
        TTeeButton::Click();
    } else {
        pen->SetColor(own);
    }
}

bool ShowPenEditor(TComponent* AOwner, TPen* Pen, bool HideColor)
{
    std::unique_ptr<TPenDialog> dialog(CreateDialogForm<TPenDialog>(AOwner));
    dialog->SetPen(Pen);
    if (HideColor)
        dialog->BColor->Hide();
    if (dialog->ShowModal() == mrOk)
        return true;
    // Closed some other way than by its Cancel button: still a cancel.
    dialog->RestorePen();
    return false;
}

void AttachPen(TButtonPen* Button, TPen* Pen)
{
    Button->LinkProperty(Pen, "");
    Button->Repaint();
}

// ---- unit start-up ----------------------------------------------------------------------

void TeePenDlgInitialization()
{
    RegisterFormClass<TPenDialog>("TPenDialog");
    InitArrowGlyphResources();
}

void TeePenDlgFinalization()
{
    UnregisterFormClass("TPenDialog");
}
