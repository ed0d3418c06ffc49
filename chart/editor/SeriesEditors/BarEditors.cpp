#include "SeriesEditors.h"

#include "system/ScopeGuard.h"
#include "system/SysUtils.h"

// ---- TStackBarSeriesEditor ---------------------------------------------------------------------

TStackBarSeriesEditor::TStackBarSeriesEditor(TComponent* AOwner) : TForm(AOwner)
{
    SetUniqueFormName(this, "StackBarSeriesEditor");
    BuildForm(this, 300, 150, {
        Columns({
            Column({
                Radios(RGMultiBar, "RGMultiBar", "&Multiple Bar:",
                       {"None", "Side", "Stacked", "Stacked 100%", "Side All", "Self Stack"}),
            }),
            Column({
                Row(LGroup, "LGroup", "&Stack Group:", {UpDownEdit(EGroup, "EGroup", UDGroup, "UDGroup", 0, 1000)}),
                Ctl(CBYOrigin, "CBYOrigin", "Use &Origin:"),
                Ctl(EYOrigin, "EYOrigin"),
            }),
        }),
    });
    SetAlign(alClient);

    RGMultiBar->OnClick = [this](TObject*) {
        if (!FLoading && FSeries != nullptr && RGMultiBar->ItemIndex() >= 0)
            FSeries->SetMultiBar(static_cast<TMultiBar>(RGMultiBar->ItemIndex()));
        EnableGroup();
    };
    WhenNumber(EGroup, [this] {
        if (!FLoading && FSeries != nullptr)
            FSeries->SetStackGroup(UDGroup->Position());
    });
    CBYOrigin->OnClick = [this](TObject*) {
        EYOrigin->SetEnabled(CBYOrigin->Checked());
        if (FLoading || FSeries == nullptr)
            return;
        FSeries->SetUseYOrigin(CBYOrigin->Checked());
        if (EYOrigin->Enabled())
            EYOrigin->SetFocus();
    };
    EYOrigin->OnChange = [this](TObject*) {
        if (FLoading || FSeries == nullptr)
            return;
        double origin = FSeries->YOrigin();
        if (TypedNumber(EYOrigin, origin))
            FSeries->SetYOrigin(origin);
    };
    OnShow = [this](TObject* s) { FormShow(s); };
    ReloadOnShowAgain(this);
    DoCreate();
}

void TStackBarSeriesEditor::EnableGroup()
{
    const int multi = RGMultiBar->ItemIndex();
    const bool stacked = multi == mbStacked || multi == mbStacked100;
    for (TControl* c : std::initializer_list<TControl*>{LGroup, EGroup, UDGroup})
        c->SetEnabled(stacked);
}

void TStackBarSeriesEditor::FormShow(TObject*)
{
    FLoading = true;
    auto loaded = TScopeGuard([this] { FLoading = false; });
    FSeries = dynamic_cast<TCustomBarSeries*>(TaggedSeries(this));
    if (FSeries == nullptr)
        return;
    RGMultiBar->SetItemIndex(int(FSeries->MultiBar()));
    UDGroup->SetPosition(FSeries->StackGroup());
    CBYOrigin->SetChecked(FSeries->UseYOrigin());
    EYOrigin->SetText(FloatToStr(FSeries->YOrigin()));
    EYOrigin->SetEnabled(FSeries->UseYOrigin());
    EnableGroup();
    CallFormShowHook(this);
}

// ---- TBarSeriesEditor ---------------------------------------------------------------------------

TBarSeriesEditor::TBarSeriesEditor(TComponent* AOwner) : TForm(AOwner)
{
    SetUniqueFormName(this, "BarSeriesEditor");
    BuildForm(this, 340, 170, {
        Pages(PageControl1, "PageControl1", {
            Page(TabFormat, "TabFormat", "Format", {
                Columns({
                    Column({
                        Row(LStyle, "LStyle", "St&yle:", {Combo(CBBarStyle, "CBBarStyle", {
                            "Rectangle", "Pyramid", "Invert. Pyramid", "Cylinder", "Ellipse", "Arrow", "Rect. Gradient",
                            "Cone", "Bevel", "Slant Cube", "Diamond", "Invert. Arrow", "Invert. Cone"})}),
                        Row(LBevel, "LBevel", "Be&vel size:", {UpDownEdit(EBevel, "EBevel", UDBevel, "UDBevel", 1, 100)}),
                        Line({Ctl(CBColorEach, "CBColorEach", "Color &Each"), Ctl(BBarColor, "BBarColor", "&Color...")}),
                        Ctl(CBDarkBar, "CBDarkBar", "&Dark Bar 3D Sides"),
                    }),
                    Column({
                        Ctl(BGradient, "BGradient", "&Gradient..."),
                        Ctl(BBarPen, "BBarPen", "&Border..."),
                        Ctl(BBarBrush, "BBarBrush", "&Pattern..."),
                        Ctl(BTickLines, "BTickLines", "&Tick lines..."),
                    }),
                }),
            }),
            Page(TabSize, "TabSize", "Size", {
                Row("% Bar &Width:", {UpDownEdit(SEBarwidth, "SEBarwidth", UDBarWidth, "UDBarWidth", 1, 100, 5)}),
                Row("% Bar O&ffset:", {UpDownEdit(SEBarOffset, "SEBarOffset", UDBarOffset, "UDBarOffset", -100, 100, 5)}),
                Row("% Bar &Depth:", {UpDownEdit(Edit1, "Edit1", UDDepth, "UDDepth", 1, 100, 5)}),
                Ctl(CBBarSideMargins, "CBBarSideMargins", "Bar S&ide Margins"),
                Ctl(CBMarksAutoPosition, "CBMarksAutoPosition", "&Auto Mark Position"),
            }),
        }),
    });
    SetAlign(alClient);
    PageControl1->SetActivePage(TabFormat);

    auto ready = [this] { return !FLoading && FSeries != nullptr; };
    CBBarStyle->OnChange = [this, ready](TObject*) {
        if (ready() && CBBarStyle->ItemIndex() >= 0)
            FSeries->SetBarStyle(static_cast<TBarStyle>(CBBarStyle->ItemIndex()));
        EnableStyleControls();
    };
    BGradient->OnClick = [this](TObject*) {
        if (FSeries == nullptr)
            return;
        FSeries->SetBarStyle(bsRectGradient);
        CBBarStyle->SetItemIndex(int(bsRectGradient));
        EnableStyleControls();
        ShowGradientEditor(this, FSeries->Gradient(), true, true);
    };
    WhenNumber(EBevel, [this, ready] {
        if (ready())
            FSeries->SetBevelSize(UDBevel->Position());
    });
    BBarBrush->OnClick = [this](TObject*) {
        if (FSeries != nullptr)
            ShowBrushEditor(this, FSeries->BarBrush());
    };
    CBColorEach->OnClick = [this, ready](TObject*) {
        BBarColor->SetEnabled(!CBColorEach->Checked());
        if (ready())
            FSeries->SetColorEachPoint(CBColorEach->Checked());
    };
    CBDarkBar->OnClick = [this, ready](TObject*) {
        if (ready())
            FSeries->SetDark3D(CBDarkBar->Checked());
    };
    WhenNumber(SEBarwidth, [this, ready] {
        if (ready())
            FSeries->SetBarWidthPercent(UDBarWidth->Position());
    });
    WhenNumber(SEBarOffset, [this, ready] {
        if (ready())
            FSeries->SetOffsetPercent(UDBarOffset->Position());
    });
    WhenNumber(Edit1, [this, ready] {
        if (ready())
            FSeries->SetDepthPercent(UDDepth->Position());
    });
    CBBarSideMargins->OnClick = [this, ready](TObject*) {
        if (ready())
            FSeries->SetSideMargins(CBBarSideMargins->Checked());
    };
    CBMarksAutoPosition->OnClick = [this, ready](TObject*) {
        if (ready())
            FSeries->SetAutoMarkPosition(CBMarksAutoPosition->Checked());
    };
    OnShow = [this](TObject* s) { FormShow(s); };
    ReloadOnShowAgain(this);
    DoCreate();
}

void TBarSeriesEditor::EnableStyleControls()
{
    const int style = CBBarStyle->ItemIndex();
    BGradient->SetEnabled(style == bsRectangle || style == bsRectGradient);
    for (TControl* c : std::initializer_list<TControl*>{LBevel, EBevel, UDBevel})
        c->SetEnabled(style == bsBevel);
}

void TBarSeriesEditor::FormShow(TObject*)
{
    FLoading = true;
    auto loaded = TScopeGuard([this] { FLoading = false; });
    FSeries = dynamic_cast<TCustomBarSeries*>(TaggedSeries(this));
    if (FSeries == nullptr)
        return;
    CBBarStyle->SetItemIndex(int(FSeries->BarStyle()));
    UDBevel->SetPosition(FSeries->BevelSize());
    AttachPen(BBarPen, FSeries->BarPen());
    AttachPen(BTickLines, FSeries->TickLines());
    CBColorEach->SetChecked(FSeries->ColorEachPoint());
    BBarColor->LinkProperty(FSeries, "SeriesColor");
    BBarColor->SetEnabled(!FSeries->ColorEachPoint());
    CBDarkBar->SetChecked(FSeries->Dark3D());
    UDBarWidth->SetPosition(FSeries->BarWidthPercent());
    UDBarOffset->SetPosition(FSeries->OffsetPercent());
    UDDepth->SetPosition(FSeries->DepthPercent());
    CBBarSideMargins->SetChecked(FSeries->SideMargins());
    CBMarksAutoPosition->SetChecked(FSeries->AutoMarkPosition());
    EnableStyleControls();
    if (FStackEditor == nullptr) {
        auto* stack = new TStackBarSeriesEditor(this);
        if (AddEditorTab(this, stack, 1, "Stack", FSeries) != nullptr)
            FStackEditor = stack;
    }
    CallFormShowHook(this);
}
