#include "SeriesEditors.h"
#include "TeeEdiLege.h"
#include "TeePenDlg/DialogHelpers.h"

#include "system/ScopeGuard.h"
#include "system/SysUtils.h"

// ---- TCircledSeriesEditor -------------------------------------------------------------------

TCircledSeriesEditor::TCircledSeriesEditor(TComponent* AOwner) : TForm(AOwner)
{
    SetUniqueFormName(this, "CircledSeriesEditor");
    BuildForm(this, 300, 150, {
        Columns({
            Column({
                Ctl(CBCircled, "CBCircled", "&Circled"),
                Ctl(CB3D, "CB3D", "&3 Dimensions"),
                Row("&Rotation:", {UpDownEdit(Edit1, "Edit1", UDRot, "UDRot", 0, 360, 5)}),
                Line({Ctl(BBack, "BBack", "C&olor..."), Ctl(CBTransp, "CBTransp", "&Transparent")}),
                Ctl(BGradient, "BGradient", "&Gradient..."),
            }),
            Column({
                Group(GBRadius, "GBRadius", "Radius", {
                    Row("&Horizontal:", {UpDownEdit(Edit2, "Edit2", UDX, "UDX", 0, 2000, 5), Ctl(CBAutoXR, "CBAutoXR", "&Auto")}),
                    Row("&Vertical:", {UpDownEdit(Edit3, "Edit3", UDY, "UDY", 0, 2000, 5), Ctl(CBAutoYR, "CBAutoYR", "A&uto")}),
                }),
            }),
        }),
    });
    SetAlign(alClient);

    auto ready = [this] { return !FLoading && FSeries != nullptr; };
    CBCircled->OnClick = [this, ready](TObject*) {
        if (ready())
            FSeries->SetCircled(CBCircled->Checked());
    };
    CB3D->OnClick = [this, ready](TObject*) {
        if (ready() && FSeries->ParentChart() != nullptr)
            FSeries->ParentChart()->SetView3D(CB3D->Checked());
    };
    WhenNumber(Edit1, [this, ready] {
        if (ready())
            FSeries->SetRotationAngle(UDRot->Position());
    });
    WhenNumber(Edit2, [this, ready] {
        if (!ready())
            return;
        FSeries->SetCustomXRadius(UDX->Position());
        ShowRadii();
    });
    WhenNumber(Edit3, [this, ready] {
        if (!ready())
            return;
        FSeries->SetCustomYRadius(UDY->Position());
        ShowRadii();
    });
    CBAutoXR->OnClick = [this, ready](TObject*) {
        if (!ready() || !CBAutoXR->Checked())
            return;
        FSeries->SetCustomXRadius(0);
        ShowRadii();
    };
    CBAutoYR->OnClick = [this, ready](TObject*) {
        if (!ready() || !CBAutoYR->Checked())
            return;
        FSeries->SetCustomYRadius(0);
        ShowRadii();
    };
    BBack->OnClick = [this](TObject*) {
        CBTransp->SetEnabled(true);
        CBTransp->SetChecked(false);
    };
    CBTransp->OnClick = [this, ready](TObject*) {
        BBack->SetEnabled(!CBTransp->Checked());
        if (!ready() || !CBTransp->Checked())
            return;
        FSeries->SetCircleBackColor(clDefault);
        FSeries->Gradient()->SetVisible(false);
        BBack->Repaint();
        BGradient->Repaint();
    };
    BGradient->OnClick = [this](TObject*) {
        if (FSeries != nullptr && FSeries->Gradient()->Visible()) {
            CBTransp->SetEnabled(true);
            CBTransp->SetChecked(false);
        }
    };
    OnShow = [this](TObject* s) { FormShow(s); };
    ReloadOnShowAgain(this);
    DoCreate();
}

// The radii as the series has them; "Auto" ticked while a radius is 0.
void TCircledSeriesEditor::ShowRadii()
{
    auto loading = RestoreOnExit(FLoading);
    FLoading = true;
    if (FSeries->CustomXRadius() != UDX->Position())
        UDX->SetPosition(FSeries->CustomXRadius());
    if (FSeries->CustomYRadius() != UDY->Position())
        UDY->SetPosition(FSeries->CustomYRadius());
    CBAutoXR->SetChecked(FSeries->CustomXRadius() == 0);
    CBAutoYR->SetChecked(FSeries->CustomYRadius() == 0);
}

void TCircledSeriesEditor::FormShow(TObject*)
{
    FSeries = dynamic_cast<TCircledSeries*>(TaggedSeries(this));
    if (FSeries == nullptr)
        return;
    auto loading = RestoreOnExit(FLoading);
    FLoading = true;
    CBCircled->SetChecked(FSeries->Circled());
    CB3D->SetChecked(SeriesIn3DChart(FSeries));
    UDRot->SetPosition(FSeries->RotationAngle());
    ShowRadii();
    BBack->LinkProperty(FSeries, "CircleBackColor");
    const bool transparent = FSeries->CircleBackColor() == clDefault && !FSeries->Gradient()->Visible();
    CBTransp->SetChecked(transparent);
    BBack->SetEnabled(!transparent);
    AttachGradient(BGradient, FSeries->Gradient());
    CallFormShowHook(this);
}

// ---- TPieSeriesEditor ---------------------------------------------------------------------------

TPieSeriesEditor::TPieSeriesEditor(TComponent* AOwner) : TForm(AOwner)
{
    SetUniqueFormName(this, "PieSeriesEditor");
    BuildForm(this, 340, 190, {
        Pages(PageControl1, "PageControl1", {
            Page(TabOptions, "TabOptions", "Options", {
                Columns({
                    Column({
                        Ctl(CBDark3d, "CBDark3d", "&Dark 3D"),
                        Row("&Explode biggest:", {UpDownEdit(SEExpBig, "SEExpBig", UDExpBig, "UDExpBig", 0, 100)}),
                        Row("Total angle:", {UpDownEdit(Edit1, "Edit1", UDAngleSize, "UDAngleSize", 1, 360)}),
                        Row("Dark Border:", {UpDownEdit(Edit2, "Edit2", UpDown1, "UpDown1", 0, 255)}),
                        Row("&Multiple Pies:", {Combo(CBMultiple, "CBMultiple", {"Automatic", "Disable"})}),
                    }),
                    Column({
                        Ctl(CBPatterns, "CBPatterns", "Pa&tterns"),
                        Ctl(CBMarksAutoPosition, "CBMarksAutoPosition", "&Auto Mark Position"),
                        Ctl(BPen, "BPen", "&Border..."),
                        Ctl(BShadow, "BShadow", "S&hadow..."),
                        Ctl(BGradient, "BGradient", "3D &Gradient..."),
                    }),
                }),
            }),
            Page(TabGroup, "TabGroup", "Group Slices", {
                Row("&Style:", {Combo(CBOther, "CBOther", {"None", "Below %", "Below Value"})}),
                Row("&Value:", {Ctl(EOtherValue, "EOtherValue")}),
                Row("&Label:", {Ctl(EOtherLabel, "EOtherLabel")}),
                Ctl(Button2, "Button2", "Le&gend...", 90),
            }),
            Page(TabColors, "TabColors", "Colors", {
                Ctl(CBColorEach, "CBColorEach", "Color &Each slice"),
                Ctl(BColor, "BColor", "&Color...", 90),
            }),
        }),
    });
    SetAlign(alClient);
    PageControl1->SetActivePage(TabOptions);
    UDAngleSize->SetPosition(360);
    UpDown1->SetPosition(255);
    CBMarksAutoPosition->SetChecked(true);
    EOtherLabel->SetText("Other");
    BGradient->SetHideEndColor(true);

    CBDark3d->OnClick = [this](TObject*) {
        if (Ready())
            FSeries->SetDark3D(CBDark3d->Checked());
    };
    WhenNumber(SEExpBig, [this] {
        if (Ready())
            FSeries->SetExplodeBiggest(UDExpBig->Position());
    });
    CBPatterns->OnClick = [this](TObject*) {
        if (Ready())
            FSeries->SetUsePatterns(CBPatterns->Checked());
    };
    WhenNumber(Edit1, [this] {
        if (Ready())
            FSeries->SetAngleSize(UDAngleSize->Position());
    });
    BShadow->OnClick = [this](TObject*) {
        if (FSeries != nullptr)
            ShowShadowEditor(this, FSeries->Shadow());
    };
    CBMarksAutoPosition->OnClick = [this](TObject*) {
        if (Ready())
            FSeries->SetAutoMarkPosition(CBMarksAutoPosition->Checked());
    };
    WhenNumber(Edit2, [this] {
        if (Ready())
            FSeries->SetDarkPen(UpDown1->Position());
    });
    CBMultiple->OnChange = [this](TObject*) {
        if (Ready() && CBMultiple->ItemIndex() >= 0)
            FSeries->SetMultiPie(static_cast<TMultiPie>(CBMultiple->ItemIndex()));
    };
    CBOther->OnChange = [this](TObject*) {
        if (Ready() && CBOther->ItemIndex() >= 0)
            FSeries->OtherSlice()->SetStyle(static_cast<TPieOtherStyle>(CBOther->ItemIndex()));
        EnableOther();
    };
    EOtherValue->OnChange = [this](TObject*) {
        double value = 0;
        if (Ready() && TypedNumber(EOtherValue, value))
            FSeries->OtherSlice()->SetValue(value);
    };
    EOtherLabel->OnChange = [this](TObject*) {
        if (Ready())
            FSeries->OtherSlice()->SetText(EOtherLabel->Text());
    };
    // The chart editor's legend page, on the other slice's own legend.
    Button2->OnClick = [this](TObject*) {
        if (FSeries == nullptr)
            return;
        TChartLegend* legend = FSeries->OtherSlice()->Legend();
        if (legend == nullptr)
            return;
        // A dialog over the window that shows the button, as every dialog of the pages.
        std::unique_ptr<TForm> page(CreateLegendEditor(DialogFormOwner(Button2), legend));
        PrepareDialogForm(page.get());
        page->ShowModal();
    };
    CBColorEach->OnClick = [this](TObject*) {
        BColor->SetEnabled(!CBColorEach->Checked());
        if (Ready())
            FSeries->SetColorEachPoint(CBColorEach->Checked());
    };
    OnShow = [this](TObject* s) { FormShow(s); };
    ReloadOnShowAgain(this);
    DoCreate();
}

void TPieSeriesEditor::EnableOther()
{
    const bool grouping = CBOther->ItemIndex() > 0;
    EOtherValue->SetEnabled(grouping);
    EOtherLabel->SetEnabled(grouping);
}

void TPieSeriesEditor::FormShow(TObject*)
{
    FShowing = false;
    auto showing = TScopeGuard([this] { FShowing = true; });
    FSeries = dynamic_cast<TPieSeries*>(TaggedSeries(this));
    if (FSeries == nullptr)
        return;
    CBDark3d->SetChecked(FSeries->Dark3D());
    CBDark3d->SetEnabled(SeriesIn3DChart(FSeries));
    UDExpBig->SetPosition(FSeries->ExplodeBiggest());
    CBPatterns->SetChecked(FSeries->UsePatterns());
    AttachPen(BPen, FSeries->PiePen());
    UDAngleSize->SetPosition(FSeries->AngleSize());
    CBMarksAutoPosition->SetChecked(FSeries->AutoMarkPosition());
    AttachGradient(BGradient, FSeries->Gradient());
    UpDown1->SetPosition(FSeries->DarkPen());
    CBMultiple->SetItemIndex(int(FSeries->MultiPie()));
    TPieOtherSlice* other = FSeries->OtherSlice();
    CBOther->SetItemIndex(int(other->Style()));
    EOtherValue->SetText(FloatToStr(other->Value()));
    EOtherLabel->SetText(other->Text());
    EnableOther();
    CBColorEach->SetChecked(FSeries->ColorEachPoint());
    BColor->LinkProperty(FSeries, "SeriesColor");
    BColor->SetEnabled(!FSeries->ColorEachPoint());
    if (FCircledEditor == nullptr) {
        auto* circled = new TCircledSeriesEditor(this);
        SetControlsVisible({circled->BBack, circled->CBTransp, circled->BGradient}, false);
        if (AddEditorTab(this, circled, 1, "Circled", FSeries) != nullptr)
            FCircledEditor = circled;
    }
    CallFormShowHook(this);
}
