#include "PointerEditor.h"

#include "Series.h"
#include "TeeEdiSeri.h"

#include "graphics/GdiConsts.h"
#include "system/ScopeGuard.h"

TSeriesPointerEditor::TSeriesPointerEditor(TComponent* AOwner) : TForm(AOwner)
{
    SetUniqueFormName(this, "SeriesPointerEditor");
    BuildForm(this, 300, 200, {
        Group(GPPoint, "GPPoint", "", {
            Line({Ctl(CBDrawPoint, "CBDrawPoint", "&Visible"), Ctl(CB3dPoint, "CB3dPoint", "&3D"),
                  Ctl(CBPoDark, "CBPoDark", "Dar&k 3D"), Stretch()}),
            Ctl(CBInflate, "CBInflate", "Inflate &Margins"),
            Row(LStyle, "LStyle", "&Style:", {Combo(CBStyle, "CBStyle", {
                "Square", "Circle", "Triangle", "Down Triangle", "Cross", "Diagonal Cross", "Star", "Diamond",
                "Small Dot", "Nothing", "Left Triangle", "Right Triangle"})}),
            Row(LWidth, "LWidth", "&Width:", {UpDownEdit(SEPointHorizSize, "SEPointHorizSize", UDPointHorizSize, "UDPointHorizSize", 1, 1000)}),
            Row(LHeight, "LHeight", "&Height:", {UpDownEdit(SEPointVertSize, "SEPointVertSize", UDPointVertSize, "UDPointVertSize", 1, 1000)}),
            Group(GroupBox1, "GroupBox1", "", {
                Line({Ctl(BPointFillColor, "BPointFillColor", "&Pattern..."), Ctl(CBDefBrushColor, "CBDefBrushColor", "&Default"),
                      Ctl(BPoinPenCol, "BPoinPenCol", "B&order...")}),
            }),
        }),
        Line({Ctl(CBColorEach, "CBColorEach", "&Color Each "), Ctl(BGradient, "BGradient", "&Gradient..."), Stretch()}),
        Panel(PanelBottom, "PanelBottom", {Buttons({Ctl(Button1, "Button1", "Close")})}),
    });
    CBStyle->SetOwnerDraw(true);
    CBStyle->SetItemHeight(16);
    CBStyle->SetDropDownWidth(CBStyle->Width());
    PanelBottom->Hide();
    Button1->SetModalResult(mrOk);
    Button1->SetCancel(true);

    CBDrawPoint->OnClick = [this](TObject* s) { CBDrawPointClick(s); };
    CB3dPoint->OnClick = [this](TObject* s) { CB3dPointClick(s); };
    CBPoDark->OnClick = [this](TObject* s) { CBPoDarkClick(s); };
    SEPointHorizSize->OnChange = [this](TObject* s) { SizeChange(s); };
    SEPointVertSize->OnChange = [this](TObject* s) { SizeChange(s); };
    CBStyle->OnChange = [this](TObject* s) { CBStyleChange(s); };
    CBStyle->OnDrawItem = [this](TWinControl* c, int i, const TRect& r, TOwnerDrawState st) { CBStyleDrawItem(c, i, r, st); };
    CBInflate->OnClick = [this](TObject* s) { CBInflateClick(s); };
    BPointFillColor->OnClick = [this](TObject* s) { BPointFillColorClick(s); };
    BPoinPenCol->OnClick = [this](TObject* s) { BPoinPenColClick(s); };
    CBDefBrushColor->OnClick = [this](TObject* s) { CBDefBrushColorClick(s); };
    CBColorEach->OnClick = [this](TObject* s) { CBColorEachClick(s); };
    OnShow = [this](TObject* s) { FormShow(s); };
    ReloadOnShowAgain(this);
    DoCreate();
}

TChartSeries* TSeriesPointerEditor::Series() const
{
    return FPointer != nullptr ? FPointer->Series() : nullptr;
}

void TSeriesPointerEditor::FormShow(TObject*)
{
    // The handlers write only once the controls show the pointer.
    FShowing = false;
    auto showing = TScopeGuard([this] { FShowing = true; });
    TObject* tagged = reinterpret_cast<TObject*>(Tag());
    if (auto* pointer = dynamic_cast<TSeriesPointer*>(tagged)) {
        FPointer = pointer;
        CBColorEach->SetEnabled(false);
        CBColorEach->Hide();
    } else if (auto* series = dynamic_cast<TCustomSeries*>(tagged)) {
        FPointer = series->Pointer();
        CBColorEach->SetChecked(series->ColorEachPoint());
    }
    if (FPointer == nullptr)
        return;
    CBDrawPoint->SetChecked(FPointer->Visible());
    CB3dPoint->SetChecked(FPointer->Draw3D());
    UDPointHorizSize->SetPosition(FPointer->HorizSize());
    UDPointVertSize->SetPosition(FPointer->VertSize());
    CBStyle->SetItemIndex(FPointer->Style());
    CBInflate->SetChecked(FPointer->InflateMargins());
    CBPoDark->SetChecked(FPointer->Dark3D());
    CheckDefaultColor();
    AttachPen(BPoinPenCol, FPointer->Pen());
    AttachGradient(BGradient, FPointer->Gradient());
    const bool sizes = ShowSizes && FPointer->AllowSizeChanges();
    SetControlsVisible({LWidth, SEPointHorizSize, UDPointHorizSize, LHeight, SEPointVertSize, UDPointVertSize}, sizes);
    EnableVisible();
    CallFormShowHook(this);
}

void TSeriesPointerEditor::CheckDefaultColor()
{
    CBDefBrushColor->OnClick = nullptr;
    CBDefBrushColor->SetChecked(FPointer->Brush()->Color() == clDefault && FPointer->Pen()->Color() == clDefault);
    CBDefBrushColor->OnClick = [this](TObject* s) { CBDefBrushColorClick(s); };
}

void TSeriesPointerEditor::Enable3D()
{
    bool on = false;
    if (TCustomTeePanel* chart = FPointer != nullptr ? FPointer->ParentChart() : nullptr) {
        const TSeriesPointerStyle style = FPointer->Style();
        on = chart->View3D() &&
             (style == psRectangle || style == psTriangle || style == psDownTriangle ||
              (style == psCircle && chart->Canvas() != nullptr && chart->Canvas()->IsTrue3D()));
    }
    const bool visible = FPointer != nullptr && FPointer->Visible();
    CB3dPoint->SetEnabled(on && visible);
    CBPoDark->SetEnabled(on && visible && CB3dPoint->Checked());
}

void TSeriesPointerEditor::EnableVisible()
{
    const bool visible = FPointer != nullptr && FPointer->Visible();
    for (TControl* c : std::initializer_list<TControl*>{CBInflate, SEPointHorizSize, UDPointHorizSize, SEPointVertSize,
                                                       UDPointVertSize, BPointFillColor, CBStyle, BPoinPenCol,
                                                       CBDefBrushColor})
        c->SetEnabled(visible);
    Enable3D();
}

void TSeriesPointerEditor::CBDrawPointClick(TObject*)
{
    if (!Ready())
        return;
    FPointer->SetVisible(CBDrawPoint->Checked());
    EnableVisible();
}

void TSeriesPointerEditor::CB3dPointClick(TObject*)
{
    if (!Ready())
        return;
    FPointer->SetDraw3D(CB3dPoint->Checked());
    Enable3D();
}

void TSeriesPointerEditor::CBPoDarkClick(TObject*)
{
    if (Ready())
        FPointer->SetDark3D(CBPoDark->Checked());
}

void TSeriesPointerEditor::SizeChange(TObject* Sender)
{
    if (!Ready())
        return;
    if (Sender == SEPointHorizSize)
        FPointer->SetHorizSize(UDPointHorizSize->Position());
    else
        FPointer->SetVertSize(UDPointVertSize->Position());
}

void TSeriesPointerEditor::CBStyleChange(TObject*)
{
    if (!Ready() || CBStyle->ItemIndex() < 0)
        return;
    FPointer->SetStyle(static_cast<TSeriesPointerStyle>(CBStyle->ItemIndex()));
    Enable3D();
}

void TSeriesPointerEditor::CBInflateClick(TObject*)
{
    if (Ready())
        FPointer->SetInflateMargins(CBInflate->Checked());
}

void TSeriesPointerEditor::BPointFillColorClick(TObject*)
{
    if (FPointer == nullptr)
        return;
    ShowBrushEditor(this, FPointer->Brush());
    CheckDefaultColor();
    CBStyle->Repaint();
}

void TSeriesPointerEditor::BPoinPenColClick(TObject*)
{
    if (FPointer == nullptr)
        return;
    CheckDefaultColor();
    CBStyle->Repaint();
}

void TSeriesPointerEditor::CBDefBrushColorClick(TObject*)
{
    if (!Ready())
        return;
    if (CBDefBrushColor->Checked()) {
        FPointer->Brush()->SetColor(clDefault);
        FPointer->Pen()->SetColor(clDefault);
    } else if (FPointer->Pen()->Color() == clDefault) {
        FPointer->Pen()->SetColor(clBlack);
    }
    BPoinPenCol->Repaint();
    CBStyle->Repaint();
}

void TSeriesPointerEditor::CBColorEachClick(TObject*)
{
    if (!Ready())
        return;
    if (auto* series = dynamic_cast<TCustomSeries*>(Series()))
        series->SetColorEachPoint(CBColorEach->Checked());
}

void TSeriesPointerEditor::CBStyleDrawItem(TWinControl*, int Index, const TRect& Rect, TOwnerDrawState)
{
    TCanvas* canvas = CBStyle->Canvas();
    if (canvas == nullptr || Index < 0)
        return;
    canvas->FillRect(Rect);
    if (FPointer != nullptr) {
        TColor color = FPointer->Brush()->Color();
        if (color == clDefault)
            color = Series() != nullptr ? Series()->SeriesColor() : clBlack;
        TTeeCanvas3D surface;
        AttachCanvasToSurface(&surface, canvas);
        FPointer->PrepareCanvas(&surface, color);
        const auto style = static_cast<TSeriesPointerStyle>(Index);
        const bool lineOnly = style == psCross || style == psDiagCross || style == psStar || style == psSmallDot;
        if (lineOnly && !FPointer->Pen()->Visible())
            surface.AssignPen(FPointer->Pen(), color), surface.Pen()->SetStyle(psSolid), surface.Pen()->SetWidth(1);
        FPointer->DrawPointer(&surface, false, Rect.Left + 6, Rect.Top + 8, 4, 4, color, style);
        AttachCanvasToSurface(&surface, nullptr);
    }
    canvas->Brush()->SetStyle(bsClear);
    canvas->SetBkMode(TRANSPARENT);
    canvas->TextOut(Rect.Left + 14, Rect.Top + 2, CBStyle->Items()->Get(Index));
}

bool ShowPointerEditor(TComponent* AOwner, TSeriesPointer* Pointer)
{
    std::unique_ptr<TSeriesPointerEditor> editor(CreateDialogForm<TSeriesPointerEditor>(AOwner));
    editor->SetCaption("Pointer");
    editor->SetTag(reinterpret_cast<intptr_t>(static_cast<TObject*>(Pointer)));
    SetControlsVisible({editor->CBInflate, editor->CBColorEach}, false);
    editor->PanelBottom->Show();
    editor->ShowModal();
    return true;
}

TSeriesPointerEditor* EmbedPointerEditor(TForm* Page, TObject* Tagged, const std::string& Caption)
{
    TFormTeeSeries* seriesPage = nullptr;
    for (TWinControl* p = Page != nullptr ? Page->Parent() : nullptr; p != nullptr && seriesPage == nullptr;
         p = p->Parent())
        seriesPage = dynamic_cast<TFormTeeSeries*>(p);
    if (seriesPage == nullptr)
        return nullptr;
    auto* tab = new TTabSheet(seriesPage);
    tab->SetCaption(Caption);
    tab->SetPageControl(seriesPage->PageSeries);
    // An empty built page takes the embedded form into its layout, filling it.
    BuildInto(tab, seriesPage, {});
    auto* editor = new TSeriesPointerEditor(seriesPage);
    if (!EmbedEditorForm(seriesPage, editor, tab, Tagged)) {
        delete tab;
        return nullptr;
    }
    return editor;
}

void PointerEditorInitialization()
{
    RegisterFormClass<TSeriesPointerEditor>("TSeriesPointerEditor");
}

void PointerEditorFinalization()
{
    UnregisterFormClass("TSeriesPointerEditor");
}
