#include "SeriesEditors.h"

#include "system/ScopeGuard.h"

#include <cmath>

// ---- TCustomSeriesEditor ------------------------------------------------------------------

TCustomSeriesEditor::TCustomSeriesEditor(TComponent* AOwner) : TForm(AOwner)
{
    SetUniqueFormName(this, "CustomSeriesEditor");
    BuildForm(this, 330, 150, {
        Columns({
            Column({
                Line({Ctl(BLineBorder, "BLineBorder", "&Border..."), Ctl(BLineColor, "BLineColor", "&Color...")}),
                Line({Ctl(BBrush, "BBrush", "&Pattern..."), Ctl(BOutline, "BOutline", "&Outline...")}),
                Line({Ctl(CBColorEach, "CBColorEach", "Color &Each"), Ctl(CBDark3D, "CBDark3D", "&Dark 3D")}),
                Ctl(CheckBox1, "CheckBox1", "Color Each line"),
                Ctl(CBClick, "CBClick", "Clic&kable"),
                Row(LStack, "LStack", "S&tack:", {Combo(CBStack, "CBStack", {"None", "Overlap", "Stack", "Stack 100%"})}),
            }),
            Column({
                Group(GBStair, "GBStair", "", {
                    Ctl(CBStairs, "CBStairs", "&Stairs"),
                    Ctl(CBInvStairs, "CBInvStairs", "&Inverted"),
                }),
                Row(LHeight, "LHeight", "&Height 3D:", {UpDownEdit(EHeight, "EHeight", UDHeight, "UDHeight", -1000, 1000)}),
                Ctl(Button1, "Button1", "S&hadow..."),
            }),
        }),
    });
    SetAlign(alClient);

    BLineBorder->OnClick = [this](TObject*) {
        if (FSeries == nullptr)
            return;
        if (!SeriesIn3DChart(FSeries))
            FSeries->SetSeriesColor(FSeries->LinePen()->Color());
        BLineColor->Repaint();
    };
    // A 2D line is drawn in the series' colour: its pen opens with that colour, so that OK
    // without a change keeps it.
    BLineBorder->DrawnColor = [this] {
        return FSeries != nullptr && !SeriesIn3DChart(FSeries) ? FSeries->SeriesColor() : BLineBorder->LinkedPen()->Color();
    };
    BLineColor->OnClick = [this](TObject*) { BLineBorder->Repaint(); };
    const auto series = [this] { return Ready() ? FSeries : nullptr; };
    WhenStairs(CBStairs, CBInvStairs, series);
    WhenColorEach(CBColorEach, BLineColor, series);
    WhenChecked(CBDark3D, series, &TCustomSeries::SetDark3D);
    CBStack->OnChange = [this](TObject*) {
        if (Ready() && CBStack->ItemIndex() >= 0)
            FSeries->SetStacked(static_cast<TCustomSeriesStack>(CBStack->ItemIndex()));
    };
    WhenNumber(EHeight, [this] {
        if (Ready())
            FSeries->SetLineHeight(UDHeight->Position());
    });
    WhenChecked(CBClick, series, &TCustomSeries::SetClickableLine);
    BBrush->OnClick = [this](TObject*) {
        if (FSeries != nullptr)
            ShowBrushEditor(this, FSeries->Brush());
    };
    WhenChecked(CheckBox1, series, &TCustomSeries::SetColorEachLine);
    Button1->OnClick = [this](TObject*) {
        if (FSeries == nullptr)
            return;
        std::unique_ptr<TTeeShadowEditor> editor(CreateDialogForm<TTeeShadowEditor>(this));
        editor->SetShadow(FSeries->Shadow());
        SetControlsVisible({editor->CBSmooth, editor->EShadowTransp, editor->UDShadowTransp}, false);
        // The transparency row's label goes with its edit.
        for (int i = 0; i < editor->ComponentCount(); ++i)
            if (auto* label = dynamic_cast<TLabel*>(editor->Components(i)); label != nullptr && label->Caption() == "&Transparency:")
                label->Hide();
        editor->ShowModal();
    };
    OnShow = [this](TObject* s) { FormShow(s); };
    ReloadOnShowAgain(this);
    DoCreate();
}

void TCustomSeriesEditor::FormShow(TObject*)
{
    FShowing = false;
    auto showing = TScopeGuard([this] { FShowing = true; });
    FSeries = dynamic_cast<TCustomSeries*>(TaggedSeries(this));
    if (FSeries == nullptr)
        return;
    AttachPen(BLineBorder, FSeries->LinePen());
    BLineColor->LinkProperty(FSeries, "SeriesColor");
    ShowStairs(CBStairs, CBInvStairs, FSeries);
    CBColorEach->SetChecked(FSeries->ColorEachPoint());
    BLineColor->SetEnabled(!FSeries->ColorEachPoint());
    CBDark3D->SetChecked(FSeries->Dark3D());
    CBStack->SetItemIndex(int(FSeries->Stacked()));
    UDHeight->SetPosition(FSeries->LineHeight());
    CBClick->SetChecked(FSeries->ClickableLine());
    AttachPen(BOutline, FSeries->OutLine());
    CheckBox1->SetChecked(FSeries->ColorEachLine());
    const bool line = dynamic_cast<TLineSeries*>(FSeries) != nullptr;
    SetControlsVisible({BBrush, BOutline, GBStair, CBDark3D, LHeight, EHeight, UDHeight}, line);
    if (FPointerEditor == nullptr)
        FPointerEditor = AddPointerTab(this, FSeries, "Point");
    CallFormShowHook(this);
}

// ---- TAreaSeriesEditor ----------------------------------------------------------------------

TAreaSeriesEditor::TAreaSeriesEditor(TComponent* AOwner) : TForm(AOwner)
{
    SetUniqueFormName(this, "AreaSeriesEditor");
    BuildForm(this, 360, 160, {
        Columns({
            Column({
                Radios(RGMultiArea, "RGMultiArea", "&Multiple Areas:", {"None", "Stacked", "Stacked 100%"}),
                Line({Ctl(CBStairs, "CBStairs", "&Stairs"), Ctl(CBInvStairs, "CBInvStairs", "Inverted"), Stretch()}),
                Row("Tra&nsparency:", {UpDownEdit(ETransp, "ETransp", UDTransp, "UDTransp", 0, 100)}),
            }),
            Column({
                Ctl(BAreaLinesPen, "BAreaLinesPen", "Area &Lines..."),
                Ctl(BAreaLinePen, "BAreaLinePen", "&Border..."),
                Line({Ctl(BPattern, "BPattern", "&Pattern..."), Ctl(Button1, "Button1", "&Top...")}),
                Line({Ctl(CBColorEach, "CBColorEach", "Color &Each"), Ctl(BAreaColor, "BAreaColor", "&Color...")}),
                Ctl(CBUseOrigin, "CBUseOrigin", "&Use Origin"),
                Row(LOrigin, "LOrigin", "&Origin:", {UpDownEdit(EOrigin, "EOrigin", UDOrigin, "UDOrigin", -30000, 30000)}),
            }),
        }),
    });
    SetAlign(alClient);

    RGMultiArea->OnClick = [this](TObject*) {
        if (Ready() && RGMultiArea->ItemIndex() >= 0)
            FSeries->SetMultiArea(static_cast<TMultiArea>(RGMultiArea->ItemIndex()));
    };
    const auto series = [this] { return Ready() ? FSeries : nullptr; };
    WhenStairs(CBStairs, CBInvStairs, series);
    BPattern->OnClick = [this](TObject*) {
        if (FSeries != nullptr)
            ShowBrushEditor(this, FSeries->AreaChartBrush());
    };
    Button1->OnClick = [this](TObject*) {
        if (FSeries != nullptr)
            ShowBrushEditor(this, FSeries->Brush());
    };
    WhenColorEach(CBColorEach, BAreaColor, series);
    // The area colour while it has its own, else the series colour.
    BAreaColor->GetColorProc = [this]() -> TColor {
        if (FSeries == nullptr)
            return clBlack;
        return FSeries->AreaColor() == clDefault ? FSeries->SeriesColor() : FSeries->AreaColor();
    };
    CBUseOrigin->OnClick = [this](TObject*) {
        if (Ready())
            FSeries->SetUseYOrigin(CBUseOrigin->Checked());
        EnableOrigin();
    };
    WhenNumber(EOrigin, [this] {
        if (Ready())
            FSeries->SetYOrigin(UDOrigin->Position());
    });
    WhenNumber(ETransp, [this] {
        if (Ready())
            FSeries->SetTransparency(UDTransp->Position());
    });
    OnShow = [this](TObject* s) { FormShow(s); };
    ReloadOnShowAgain(this);
    DoCreate();
}

void TAreaSeriesEditor::EnableOrigin()
{
    for (TControl* c : std::initializer_list<TControl*>{LOrigin, EOrigin, UDOrigin})
        c->SetEnabled(CBUseOrigin->Checked());
}

void TAreaSeriesEditor::FormShow(TObject*)
{
    FShowing = false;
    auto showing = TScopeGuard([this] { FShowing = true; });
    FSeries = dynamic_cast<TAreaSeries*>(TaggedSeries(this));
    if (FSeries == nullptr)
        return;
    RGMultiArea->SetItemIndex(int(FSeries->MultiArea()));
    ShowStairs(CBStairs, CBInvStairs, FSeries);
    AttachPen(BAreaLinesPen, FSeries->AreaLinesPen());
    AttachPen(BAreaLinePen, FSeries->LinePen());
    CBColorEach->SetChecked(FSeries->ColorEachPoint());
    BAreaColor->SetEnabled(!FSeries->ColorEachPoint());
    BAreaColor->LinkProperty(FSeries, "SeriesColor");
    CBUseOrigin->SetChecked(FSeries->UseYOrigin());
    UDOrigin->SetPosition(static_cast<int>(std::lround(FSeries->YOrigin())));
    UDTransp->SetPosition(FSeries->GetTransparency());
    EnableOrigin();
    if (FPointerEditor == nullptr) {
        FPointerEditor = AddPointerTab(this, FSeries, "Point");
        if (FPointerEditor != nullptr) {
            FGradientEditor = CreateEmbeddedGradientEditor(this, FSeries->Gradient());
            AddEditorTab(this, FGradientEditor, 2, "Gradient", FSeries->Gradient());
        }
    }
    CallFormShowHook(this);
}
