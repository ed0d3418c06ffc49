#include "SeriesEditors.h"

#include "system/ScopeGuard.h"
#include "system/SysUtils.h"

// ---- TGanttSeriesEditor ---------------------------------------------------------------------

TGanttSeriesEditor::TGanttSeriesEditor(TComponent* AOwner) : TForm(AOwner)
{
    SetUniqueFormName(this, "GanttSeriesEditor");
    BuildForm(this, 300, 120, {
        Columns({
            Column({
                Row("&Height:", {UpDownEdit(SEPointVertSize, "SEPointVertSize", UDPointVertSize, "UDPointVertSize", 1, 1000)}),
                Row("&Transparency:", {UpDownEdit(Edit1, "Edit1", UpDown1, "UpDown1", 0, 100)}),
            }),
            Column({
                Ctl(BConnLines, "BConnLines", "Co&nnecting Lines..."),
                Line({Ctl(CBColorEach, "CBColorEach", "Color &Each"), Ctl(BColor, "BColor", "&Color...")}),
            }),
        }),
    });
    SetAlign(alClient);

    WhenNumber(SEPointVertSize, [this] {
        if (Ready())
            FSeries->Pointer()->SetVertSize(UDPointVertSize->Position());
    });
    // Picking one colour ends the colour of each task.
    BColor->OnClick = [this](TObject*) {
        if (FSeries == nullptr)
            return;
        FSeries->SetColorEachPoint(false);
        CBColorEach->SetChecked(false);
    };
    CBColorEach->OnClick = [this](TObject*) {
        BColor->SetEnabled(!CBColorEach->Checked());
        if (Ready())
            FSeries->SetColorEachPoint(CBColorEach->Checked());
    };
    WhenNumber(Edit1, [this] {
        if (Ready())
            FSeries->SetTransparency(UpDown1->Position());
    });
    OnShow = [this](TObject* s) { FormShow(s); };
    ReloadOnShowAgain(this);
    DoCreate();
}

void TGanttSeriesEditor::FormShow(TObject*)
{
    FShowing = false;
    auto showing = TScopeGuard([this] { FShowing = true; });
    FSeries = dynamic_cast<TGanttSeries*>(TaggedSeries(this));
    if (FSeries == nullptr)
        return;
    UDPointVertSize->SetPosition(FSeries->Pointer()->VertSize());
    AttachPen(BConnLines, FSeries->ConnectingPen());
    BColor->LinkProperty(FSeries, "SeriesColor");
    CBColorEach->SetChecked(FSeries->ColorEachPoint());
    BColor->SetEnabled(!FSeries->ColorEachPoint());
    UpDown1->SetPosition(FSeries->GetTransparency());
    if (FPointerEditor == nullptr) {
        // The bars' height is on this page; the pointer page keeps its sizes hidden.
        auto* pointer = new TSeriesPointerEditor(this);
        pointer->ShowSizes = false;
        if (AddEditorTab(this, pointer, -1, "Gantt", FSeries) != nullptr)
            FPointerEditor = pointer;
    }
    CallFormShowHook(this);
}

// ---- TArrowSeriesEditor ---------------------------------------------------------------------

TArrowSeriesEditor::TArrowSeriesEditor(TComponent* AOwner) : TForm(AOwner)
{
    SetUniqueFormName(this, "ArrowSeriesEditor");
    BuildForm(this, 300, 120, {
        Row("&Width:", {UpDownEdit(SEArrowWidth, "SEArrowWidth", UDArrowWidth, "UDArrowWidth", 1, 1000),
                        Ctl(BPen, "BPen", "&Border...")}),
        Row("&Height:", {UpDownEdit(SEArrowHeight, "SEArrowHeight", UDArrowHeight, "UDArrowHeight", 1, 1000),
                         Ctl(BBrush, "BBrush", "&Pattern...")}),
        Row("&Size:", {Ctl(SBPercent, "SBPercent", "", 160), Ctl(LPercent, "LPercent", "", 40)}),
        Line({Ctl(CBColorEach, "CBColorEach", "Color &Each"), Ctl(BArrowColor, "BArrowColor", "&Color..."), Stretch()}),
    });
    SetAlign(alClient);
    SBPercent->SetMin(0);
    SBPercent->SetMax(100);

    BBrush->OnClick = [this](TObject*) {
        if (FSeries != nullptr)
            ShowBrushEditor(this, FSeries->Pointer()->Brush());
    };
    WhenNumber(SEArrowWidth, [this] {
        if (Ready())
            FSeries->SetArrowWidth(UDArrowWidth->Position());
    });
    WhenNumber(SEArrowHeight, [this] {
        if (Ready())
            FSeries->SetArrowHeight(UDArrowHeight->Position());
    });
    SBPercent->OnChange = [this](TObject*) {
        LPercent->SetCaption(IntToStr(SBPercent->Position()) + "%");
        if (Ready())
            FSeries->SetArrowPercent(SBPercent->Position());
    };
    CBColorEach->OnClick = [this](TObject*) {
        BArrowColor->SetEnabled(!CBColorEach->Checked());
        if (!Ready())
            return;
        FSeries->SetColorEachPoint(CBColorEach->Checked());
        if (CBColorEach->Checked())
            FSeries->Pointer()->Brush()->SetColor(clDefault);
    };
    OnShow = [this](TObject* s) { FormShow(s); };
    ReloadOnShowAgain(this);
    DoCreate();
}

void TArrowSeriesEditor::FormShow(TObject*)
{
    FShowing = false;
    auto showing = TScopeGuard([this] { FShowing = true; });
    FSeries = dynamic_cast<TArrowSeries*>(TaggedSeries(this));
    if (FSeries == nullptr)
        return;
    AttachPen(BPen, FSeries->Pointer()->Pen());
    UDArrowWidth->SetPosition(FSeries->ArrowWidth());
    UDArrowHeight->SetPosition(FSeries->ArrowHeight());
    SBPercent->SetPosition(FSeries->ArrowPercent());
    LPercent->SetCaption(IntToStr(FSeries->ArrowPercent()) + "%");
    CBColorEach->SetChecked(FSeries->ColorEachPoint());
    BArrowColor->LinkProperty(FSeries, "SeriesColor");
    BArrowColor->SetEnabled(!FSeries->ColorEachPoint());
    CallFormShowHook(this);
}

// ---- TBubbleSeriesEditor ----------------------------------------------------------------------

TBubbleSeriesEditor::TBubbleSeriesEditor(TComponent* AOwner) : TSeriesPointerEditor(AOwner)
{
    SetUniqueFormName(this, "BubbleSeriesEditor");
    AppendInto(this, this, {Row("&Transparency:", {UpDownEdit(Edit1, "Edit1", UDTransp, "UDTransp", 0, 100, 5)})});
    SetAlign(alClient);
    WhenNumber(Edit1, [this] {
        if (!FLoading && FSeries != nullptr)
            FSeries->SetTransparency(UDTransp->Position());
    });
    OnShow = [this](TObject* s) { BubbleShow(s); };
    ReloadOnShowAgain(this);
}

void TBubbleSeriesEditor::BubbleShow(TObject* Sender)
{
    FLoading = true;
    auto loaded = TScopeGuard([this] { FLoading = false; });
    FormShow(Sender);
    CBDrawPoint->Hide();
    FSeries = dynamic_cast<TBubbleSeries*>(TaggedSeries(this));
    if (FSeries != nullptr)
        UDTransp->SetPosition(FSeries->GetTransparency());
}

// ---- registration ---------------------------------------------------------------------------

namespace {

const char* const EditorNames[] = {
    "TCustomSeriesEditor", "TAreaSeriesEditor", "TStackBarSeriesEditor", "TBarSeriesEditor",
    "TCircledSeriesEditor", "TPieSeriesEditor", "TFastLineSeriesEditor", "TChartShapeEditor",
    "TGanttSeriesEditor", "TArrowSeriesEditor", "TBubbleSeriesEditor"};

} // namespace

void SeriesEditorsInitialization()
{
    RegisterFormClass<TCustomSeriesEditor>(EditorNames[0]);
    RegisterFormClass<TAreaSeriesEditor>(EditorNames[1]);
    RegisterFormClass<TStackBarSeriesEditor>(EditorNames[2]);
    RegisterFormClass<TBarSeriesEditor>(EditorNames[3]);
    RegisterFormClass<TCircledSeriesEditor>(EditorNames[4]);
    RegisterFormClass<TPieSeriesEditor>(EditorNames[5]);
    RegisterFormClass<TFastLineSeriesEditor>(EditorNames[6]);
    RegisterFormClass<TChartShapeEditor>(EditorNames[7]);
    RegisterFormClass<TGanttSeriesEditor>(EditorNames[8]);
    RegisterFormClass<TArrowSeriesEditor>(EditorNames[9]);
    RegisterFormClass<TBubbleSeriesEditor>(EditorNames[10]);
}

void SeriesEditorsFinalization()
{
    for (const char* name : EditorNames)
        UnregisterFormClass(name);
}
