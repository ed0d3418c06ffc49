#include "TeeFuncEdit.h"

#include "Galleries.h"
#include "TeeAxisIncr.h"
#include "TeeConst.h"
#include "TeeFunci.h"
#include "TeePenDlg.h"

#include "RizUridu/DateSteps.h"
#include "system/ScopeGuard.h"
#include "system/SysUtils.h"

#include <algorithm>
#include <cmath>
#include <utility>

TCreateSelectListForm CreateSelectListFormHook;

namespace {

// The number of points a period groups, as the function base counts them: rounded half
// to even, at least one point for any positive period, none for no period.
int PeriodPoints(double Period)
{
    if (!(Period > 0))
        return 0;
    const double r = std::nearbyint(Period);
    return r < 1 ? 1 : static_cast<int>(std::min(r, 2147483647.0));
}

// A gallery name shown on one line.
std::string OneLine(std::string Text)
{
    std::replace(Text.begin(), Text.end(), TeeLineSeparator, ' ');
    return Text;
}

} // namespace

// ---- TTeeFuncEditor ----------------------------------------------------------------

TTeeFuncEditor::TTeeFuncEditor(TComponent* AOwner) : TBaseSourceEditor(AOwner)
{
    SetUniqueFormName(this, "TeeFuncEditor");
    LLabel->SetCaption("&Functions:");
    BuildInto(Pan, this, {
        Pages(PageControl1, "PageControl1", {
            Page(TabSource, "TabSource", "Source Series", {
                Panel(PanSingle, "PanSingle", {
                    Row(LSingle, "LSingle", "&Series:", {Combo(CBSingle, "CBSingle", {})}),
                    Row(LValues, "LValues", "&Values:", {Combo(CBValues, "CBValues", {})}),
                    Buttons({Ctl(BNone, "BNone", "&None")}),
                }),
                Growing(Panel(PanSelectList, "PanSelectList", {})),
            }),
            Page(TabOptions, "TabOptions", "Options", {}),
        }),
    });
    CBValues->SetEnabled(false);
    BNone->SetEnabled(false);

    // "Copy" and every function type that is no series type, by name.
    std::vector<std::pair<std::string, TTeeFunctionClass>> items{{TeeMsg_Copy, nullptr}};
    TTeeSeriesTypes* types = SeriesTypeList();
    for (int i = 0; i < types->Count(); ++i) {
        TTeeSeriesType* t = types->Get(i);
        if (t->FunctionClass == nullptr || t->SeriesClass != nullptr)
            continue;
        const bool listed = std::any_of(items.begin(), items.end(), [&](const auto& p) { return p.second == t->FunctionClass; });
        if (!listed)
            items.emplace_back(OneLine(t->DescriptionText()), t->FunctionClass);
    }
    std::stable_sort(items.begin(), items.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    for (const auto& [name, cls] : items) {
        CBSources->Items()->Add(name);
        FClasses.push_back(cls);
    }

    OnShow = [this](TObject* s) { FormShow(s); };
    // Series added or removed meanwhile were listed as the chart told; a rename tells nothing.
    OnShowAgain = [this](TObject*) { RetitleSourceSeries(); };
    CBSources->OnChange = [this](TObject* s) { CBSourcesChange(s); };
    CBSingle->OnChange = [this](TObject* s) { CBSingleChange(s); };
    CBValues->OnChange = [this](TObject*) { BApply->SetEnabled(true); };
    BNone->OnClick = [this](TObject* s) { BNoneClick(s); };
    BApply->OnClick = [this](TObject* s) { BApplyClick(s); };
}

TTeeFuncEditor::~TTeeFuncEditor()
{
    FDestroying = true;
    ListenTo(nullptr);
}

void TTeeFuncEditor::ListenTo(TCustomAxisPanel* Chart)
{
    SwitchListenedPanel(this, this, FChart, Chart);
}

void TTeeFuncEditor::Notification(TComponent* AComponent, TOperation Operation)
{
    TBaseSourceEditor::Notification(AComponent, Operation);
    // A chart that goes has no listeners left to tell.
    if (Operation == TOperation::opRemove && AComponent == FChart)
        FChart = nullptr;
}

TTeeFunctionClass TTeeFuncEditor::SelectedFunctionClass() const
{
    const int i = CBSources->ItemIndex();
    return i >= 0 && i < static_cast<int>(FClasses.size()) ? FClasses[size_t(i)] : nullptr;
}

TListBox* TTeeFuncEditor::ChooserList(const char* Name) const
{
    return FSelectList != nullptr ? dynamic_cast<TListBox*>(FSelectList->FindComponent(Name)) : nullptr;
}

void TTeeFuncEditor::FormShow(TObject* Sender)
{
    auto loading = RestoreOnExit(FLoading);
    FLoading = true;
    TBaseSourceEditor::FormShow(Sender);
    if (FSeries == nullptr)
        return;
    ListenTo(FSeries->ParentChart());
    if (FSelectList == nullptr && CreateSelectListFormHook) {
        FSelectList = CreateSelectListFormHook(this, [this](TObject* s) {
            if (!FLoading)
                CBSourcesChange(s);
        });
        if (FSelectList != nullptr)
            EmbedFormInPanel(FSelectList, PanSelectList);
    }
    FillSourceSeries();
    TTeeFunction* f = FSeries->FunctionType();
    const TTeeFunctionClass current = f != nullptr ? f->ClassInfo() : nullptr;
    auto item = std::find(FClasses.begin(), FClasses.end(), current);
    if (item == FClasses.end()) {
        // A function of a type the registry does not list keeps its place under its class name.
        CBSources->Items()->Add(current->ClassName);
        FClasses.push_back(current);
        item = FClasses.end() - 1;
    }
    CBSources->SetItemIndex(static_cast<int>(item - FClasses.begin()));
    CBSourcesChange(this);
    SelectSingleSource();
    BApply->SetEnabled(false);
}

void TTeeFuncEditor::SelectSingleSource()
{
    TComponent* source = FSeries->DataSource();
    const int index = source != nullptr ? CBSingle->Items()->IndexOfObject(source) : -1;
    CBSingle->SetItemIndex(index);
    CBSingleChange(this);
    const std::string& values = FSeries->MandatoryValueList()->ValueSource();
    if (!values.empty())
        CBValues->SetItemIndex(CBValues->Items()->IndexOf(values));
}

void TTeeFuncEditor::FillSourceSeries(TChartSeries* Removing)
{
    TObject* keep = CBSingle->ItemIndex() >= 0 ? CBSingle->Items()->GetObject(CBSingle->ItemIndex()) : nullptr;
    CBSingle->Items()->Clear();
    TListBox* from = ChooserList("FromList");
    TListBox* to = ChooserList("ToList");
    if (from != nullptr)
        from->Items()->Clear();
    if (to != nullptr)
        to->Items()->Clear();
    if (FSeries == nullptr)
        return;
    TCustomAxisPanel* chart = FSeries->ParentChart();
    TComponent* owner = FSeries->Owner();
    auto sources = FSeries->DataSources();
    auto isSource = [&](TComponent* c) {
        for (int i = 0; i < sources->Count(); ++i)
            if (sources->Item(i) == c)
                return true;
        return false;
    };
    if (chart != nullptr && owner != nullptr) {
        for (int i = 0; i < owner->ComponentCount(); ++i) {
            auto* s = dynamic_cast<TChartSeries*>(owner->Components(i));
            if (s == nullptr || s == Removing || s->IsDestroying() || !chart->IsValidDataSource(FSeries, s))
                continue;
            CBSingle->Items()->AddObject(s->Title(), s);
            if (from != nullptr && !isSource(s))
                from->Items()->AddObject(s->Title(), s);
        }
    }
    if (to != nullptr)
        for (int i = 0; i < sources->Count(); ++i)
            if (auto* s = dynamic_cast<TChartSeries*>(sources->Item(i)); s != nullptr && s != Removing)
                to->Items()->AddObject(s->Title(), s);
    if (keep != nullptr && keep != Removing)
        CBSingle->SetItemIndex(CBSingle->Items()->IndexOfObject(keep));
    // The chooser's buttons follow the lists just filled; refilling changes no choice.
    if (auto* chooser = dynamic_cast<TSelectListForm*>(FSelectList)) {
        auto loading = RestoreOnExit(FLoading);
        FLoading = true;
        chooser->EnableButtons();
    }
}

void TTeeFuncEditor::RetitleSourceSeries()
{
    // Retitled in place, the items keep their selection.
    auto retitle = [](TStrings* Items) {
        for (int i = 0; i < Items->Count(); ++i)
            if (auto* s = dynamic_cast<TChartSeries*>(Items->GetObject(i)); s != nullptr && Items->Get(i) != s->Title())
                Items->Put(i, s->Title());
    };
    retitle(CBSingle->Items());
    for (const char* name : {"FromList", "ToList"})
        if (TListBox* list = ChooserList(name))
            retitle(list->Items());
}

void TTeeFuncEditor::FreeOptions()
{
    delete std::exchange(FOptions, nullptr);
}

void TTeeFuncEditor::SetFunctionClass(TTeeFunctionClass FunctionClass)
{
    if (FSeries == nullptr)
        return;
    TTeeFunction* f = FSeries->FunctionType();
    if (FunctionClass == nullptr) {
        if (f != nullptr)
            FSeries->SetFunction(nullptr);
        return;
    }
    if (f != nullptr && f->ClassInfo() == FunctionClass)
        return;
    // The options form edits the old function: it goes first.
    FreeOptions();
    FSeries->SetFunction(nullptr);
    CreateFunctionForSeries(FSeries, FunctionClass);
    BApply->SetEnabled(false);
}

void TTeeFuncEditor::CBSourcesChange(TObject*)
{
    if (!FLoading)
        BApply->SetEnabled(true);
    const TTeeFunctionClass cls = SelectedFunctionClass();
    TabOptions->SetTabVisible(cls != nullptr);
    if (FSeries == nullptr)
        return;
    if (cls == nullptr) {
        FreeOptions();
        SetFunctionClass(nullptr);
        TabSource->SetTabVisible(true);
        PanSingle->SetVisible(true);
        SetControlsVisible({LValues, CBValues}, false);
        if (FSelectList != nullptr)
            PanSelectList->SetVisible(false);
        PageControl1->SetActivePage(TabSource);
        return;
    }
    SetFunctionClass(cls);
    TTeeFunction* f = FSeries->FunctionType();
    if (f == nullptr)
        return;
    const bool needsSource = !f->NoSourceRequired();
    // Without the chooser of several sources, one source is picked in the series list.
    const bool single = needsSource && (f->SingleSource() || FSelectList == nullptr);
    PanSingle->SetVisible(single);
    SetControlsVisible({LValues, CBValues}, single && !f->HideSourceList());
    if (FSelectList != nullptr)
        PanSelectList->SetVisible(needsSource && !single);
    const std::string editorName = f->EditorClassName();
    FreeOptions();
    if (editorName.empty()) {
        TabOptions->SetTabVisible(false);
    } else if ((FOptions = CreateFormOfClass(editorName, this)) != nullptr) {
        FOptions->SetAlign(alClient);
        EmbedFormInPanel(FOptions, TabOptions, reinterpret_cast<intptr_t>(static_cast<TObject*>(f)));
    } else {
        TabOptions->SetTabVisible(false);
    }
    TabSource->SetTabVisible(needsSource);
    if (!needsSource && TabOptions->TabVisible())
        PageControl1->SetActivePage(TabOptions);
    else
        PageControl1->SetActivePage(TabSource);
}

void TTeeFuncEditor::CBSingleChange(TObject*)
{
    if (!FLoading)
        BApply->SetEnabled(true);
    CBValues->Items()->Clear();
    const int index = CBSingle->ItemIndex();
    auto* source = index >= 0 ? dynamic_cast<TChartSeries*>(CBSingle->Items()->GetObject(index)) : nullptr;
    CBValues->SetEnabled(source != nullptr);
    BNone->SetEnabled(CBValues->Enabled());
    if (source == nullptr)
        return;
    const TChartValueLists* lists = source->ValuesList();
    for (int i = 1; i < lists->Count(); ++i)
        CBValues->Items()->Add(lists->ValueList(i)->Name());
    if (CBValues->Items()->Count() > 0)
        CBValues->SetItemIndex(0);
}

void TTeeFuncEditor::BNoneClick(TObject* Sender)
{
    CBSingle->SetItemIndex(-1);
    CBSingleChange(Sender);
}

void TTeeFuncEditor::BApplyClick(TObject*)
{
    if (FSeries == nullptr)
        return;
    if (FOptions != nullptr && FOptions->OnCloseQuery) {
        bool canClose = true;
        FOptions->OnCloseQuery(FOptions, canClose);
        if (!canClose)
            return;
    }
    {
        FSeries->BeginUpdate();
        TScopeGuard endUpdate([s = FSeries] { s->EndUpdate(); });
        if (PanSingle->Visible()) {
            const int index = CBSingle->ItemIndex();
            auto* source = index >= 0 ? dynamic_cast<TChartSeries*>(CBSingle->Items()->GetObject(index)) : nullptr;
            if (source == nullptr) {
                FSeries->SetDataSource(nullptr);
                FSeries->MandatoryValueList()->SetValueSource("");
            } else {
                FSeries->SetDataSource(source);
                FSeries->MandatoryValueList()->SetValueSource(CBValues->Visible() && CBValues->ItemIndex() >= 0
                                                                  ? CBValues->Text()
                                                                  : std::string());
            }
        } else if (TListBox* to = ChooserList("ToList"); to != nullptr && PanSelectList->Visible()) {
            std::vector<TChartSeries*> chosen;
            for (int i = 0; i < to->Items()->Count(); ++i)
                if (auto* s = dynamic_cast<TChartSeries*>(to->Items()->GetObject(i)))
                    chosen.push_back(s);
            if (FSeries->ParentChart() != nullptr)
                for (TChartSeries* s : chosen)
                    FSeries->ParentChart()->CheckCircularDependence(FSeries, s);
            FSeries->SetDataSource(nullptr);
            for (TChartSeries* s : chosen)
                FSeries->AddDataSource(s);
        }
        SetFunctionClass(SelectedFunctionClass());
    }
    FSeries->CheckDataSource();
    // Both ways of choosing show the sources now applied, whichever of them was used.
    FillSourceSeries();
    BApply->SetEnabled(false);
}

void TTeeFuncEditor::HandleEvent(TTeeEvent* Event)
{
    auto* e = dynamic_cast<TTeeSeriesEvent*>(Event);
    if (e == nullptr || FDestroying || !(e->Event == seAdd || e->Event == seRemove || e->Event == seSwap))
        return;
    if (e->Series != nullptr && e->Series == FSeries) {
        BApply->SetEnabled(false);
        if (e->Event == seRemove) {
            // The series goes: nothing may refer to it any more.
            FreeOptions();
            FSeries = nullptr;
            FillSourceSeries();
        }
        return;
    }
    FillSourceSeries(e->Event == seRemove ? e->Series : nullptr);
}

// ---- TBaseFunctionEditor -----------------------------------------------------------

TBaseFunctionEditor::TBaseFunctionEditor(TComponent* AOwner) : TForm(AOwner)
{
    SetUniqueFormName(this, "BaseFunctionEditor");
    SetAlign(alClient);
    OnShow = [this](TObject* s) { FormShow(s); };
    OnCloseQuery = [this](TObject* s, bool& CanClose) { FormCloseQuery(s, CanClose); };
}

void TBaseFunctionEditor::FormShow(TObject*)
{
    auto loading = RestoreOnExit(FLoading);
    FLoading = true;
    FFunction = dynamic_cast<TTeeFunction*>(reinterpret_cast<TObject*>(Tag()));
    if (FFunction != nullptr)
        LoadFromFunction();
}

TChartSeries* TBaseFunctionEditor::EditedSeries() const
{
    auto* page = dynamic_cast<TBaseSourceEditor*>(Owner());
    return page != nullptr ? page->TheSeries() : nullptr;
}

void TBaseFunctionEditor::FormCloseQuery(TObject*, bool& CanClose)
{
    CanClose = true;
    if (FFunction == nullptr) {
        auto* page = dynamic_cast<TTeeFuncEditor*>(Owner());
        TChartSeries* series = EditedSeries();
        if (page == nullptr || series == nullptr || page->SelectedFunctionClass() == nullptr)
            return;
        FFunction = CreateFunctionForSeries(series, page->SelectedFunctionClass());
    }
    FFunction->BeginUpdate();
    TScopeGuard endUpdate([f = FFunction] { f->EndUpdate(); });
    ApplyToFunction();
}

void TBaseFunctionEditor::EnableApply()
{
    if (FLoading)
        return;
    if (auto* page = dynamic_cast<TBaseSourceEditor*>(Owner()))
        page->BApply->SetEnabled(true);
}

// ---- TTeeFunctionEditor ------------------------------------------------------------

TTeeFunctionEditor::TTeeFunctionEditor(TComponent* AOwner) : TBaseFunctionEditor(AOwner)
{
    SetUniqueFormName(this, "TeeFunctionEditor");
    BuildForm(this, 260, 120, {
        Row(LStyle, "LStyle", "&Calculate using:",
            {Combo(CBStyle, "CBStyle", {"All points", "Every number of points", "Every range"})}),
        Row(LNum, "LNum", "&Number of points:", {Ctl(ENum, "ENum", "", 90), Ctl(BChange, "BChange", "&Change...")}),
        Row(LAlign, "LAlign", "&Alignment:", {Combo(CBAlign, "CBAlign", {"First", "Center", "Last"})}),
        Panel(PanelMore, "PanelMore", {}),
    });
    ENum->SetText("0");
    ENum->SetEnabled(false);
    BChange->SetEnabled(false);
    CBStyle->OnChange = [this](TObject* s) { CBStyleChange(s); };
    CBAlign->OnChange = [this](TObject*) { EnableApply(); };
    ENum->OnChange = [this](TObject*) { EnableApply(); };
    BChange->OnClick = [this](TObject* s) { BChangeClick(s); };
}

void TTeeFunctionEditor::LoadFromFunction()
{
    const bool moving = dynamic_cast<TTeeMovingFunction*>(FFunction) != nullptr;
    if (FFunction->PeriodStyle() == psRange && !moving)
        CBStyle->SetItemIndex(2);
    else if (PeriodPoints(FFunction->Period()) != 0)
        CBStyle->SetItemIndex(1);
    else
        CBStyle->SetItemIndex(0);
    CBAlign->SetItemIndex(static_cast<int>(FFunction->PeriodAlign()));
    CBStyleChange(this);
}

void TTeeFunctionEditor::CBStyleChange(TObject*)
{
    const int style = CBStyle->ItemIndex();
    ENum->SetEnabled(style > 0);
    BChange->SetEnabled(style == 2);
    const double period = FFunction != nullptr ? FFunction->Period() : 0;
    if (style == 2)
        ENum->SetText(FloatToStr(period));
    else if (style == 1)
        ENum->SetText(IntToStr(PeriodPoints(period)));
    else
        ENum->SetText("");
    // The user who picks a grouping types its size next: the number edit takes the focus,
    // its text selected so that typing replaces it.
    if (!FLoading && ENum->Enabled()) {
        ENum->SetFocus();
        ENum->SelectAll();
    }
    EnableApply();
}

void TTeeFunctionEditor::ApplyToFunction()
{
    if (FFunction == nullptr)
        return;
    FFunction->SetPeriodAlign(static_cast<TFunctionPeriodAlign>(std::max(0, CBAlign->ItemIndex())));
    FFunction->SetPeriodStyle(CBStyle->ItemIndex() == 2 ? psRange : psNumPoints);
    FFunction->SetPeriod(StrToFloatDef(ENum->Text(), 0));
}

void TTeeFunctionEditor::BChangeClick(TObject*)
{
    TAxisIncrement dialogForm(nullptr);
    TAxisIncrement* dialog = &dialogForm;
    PrepareDialogForm(dialog);
    dialog->SetCaption("Period range");
    // Without a function or a source series the period is plain numbers.
    TChartSeries* parent = FFunction != nullptr ? FFunction->ParentSeries() : nullptr;
    auto* source = parent != nullptr ? dynamic_cast<TChartSeries*>(parent->DataSource()) : nullptr;
    dialog->IsDateTime = source != nullptr && source->XValues()->DateTime();
    dialog->Exact = true;
    dialog->Increment = FFunction != nullptr ? FFunction->Period() : 0;
    dialog->StepIndex = DateTimeStepIndex(dialog->Increment);
    if (dialog->ShowModal() == mrOk)
        ENum->SetText(FloatToStr(dialog->Increment));
}

// ---- TAverageFuncEditor ------------------------------------------------------------

TAverageFuncEditor::TAverageFuncEditor(TComponent* AOwner) : TTeeFunctionEditor(AOwner)
{
    SetUniqueFormName(this, "AverageFuncEditor");
    BuildInto(PanelMore, this, {Ctl(CBNulls, "CBNulls", "&Include Null values")});
    CBNulls->OnClick = [this](TObject*) { EnableApply(); };
}

void TAverageFuncEditor::LoadFromFunction()
{
    TTeeFunctionEditor::LoadFromFunction();
    if (auto* f = dynamic_cast<TAverageTeeFunction*>(FFunction))
        CBNulls->SetChecked(f->IncludeNulls());
}

void TAverageFuncEditor::ApplyToFunction()
{
    TTeeFunctionEditor::ApplyToFunction();
    if (auto* f = dynamic_cast<TAverageTeeFunction*>(FFunction))
        f->SetIncludeNulls(CBNulls->Checked());
}

// ---- TCustomFunctionEditor ---------------------------------------------------------

TCustomFunctionEditor::TCustomFunctionEditor(TComponent* AOwner) : TForm(AOwner)
{
    SetUniqueFormName(this, "CustomFunctionEditor");
    BuildForm(this, 220, 100, {
        Row(LStart, "LStart", "&Start X:", {Ctl(EStart, "EStart", "", 100)}),
        Row(LStep, "LStep", "S&tep:", {Ctl(EStep, "EStep", "", 100)}),
        Row(LNum, "LNum", "&Num. points:", {Ctl(ENum, "ENum", "", 100)}),
    });
    SetAlign(alClient);
    EStart->SetText("0");
    EStep->SetText("1");
    ENum->SetText("100");
    for (TEdit* e : {EStart, EStep, ENum})
        e->OnChange = [this](TObject* s) { EditChange(s); };
    OnShow = [this](TObject* s) { FormShow(s); };
    OnCloseQuery = [this](TObject* s, bool& CanClose) { FormCloseQuery(s, CanClose); };
}

void TCustomFunctionEditor::FormShow(TObject*)
{
    auto loading = RestoreOnExit(FLoading);
    FLoading = true;
    FFunction = dynamic_cast<TCustomTeeFunction*>(reinterpret_cast<TObject*>(Tag()));
    if (FFunction == nullptr)
        return;
    EStart->SetText(FloatToStr(FFunction->StartX()));
    EStep->SetText(FloatToStr(FFunction->Period()));
    ENum->SetText(IntToStr(FFunction->NumPoints()));
}

void TCustomFunctionEditor::EditChange(TObject*)
{
    if (FLoading)
        return;
    if (auto* page = dynamic_cast<TBaseSourceEditor*>(Owner()))
        page->BApply->SetEnabled(true);
}

void TCustomFunctionEditor::FormCloseQuery(TObject*, bool& CanClose)
{
    CanClose = true;
    const double start = StrToFloat(EStart->Text());
    const double step = StrToFloat(EStep->Text());
    const int count = StrToInt(ENum->Text());
    if (count < 1 || count > MaxCustomFunctionPoints)
        throw ERangeError();
    if (!(step >= 0) || std::isinf(step) || !std::isfinite(start))
        throw ChartException(TeeMsg_FunctionPeriod);
    if (FFunction == nullptr) {
        auto* page = dynamic_cast<TBaseSourceEditor*>(Owner());
        TChartSeries* series = page != nullptr ? page->TheSeries() : nullptr;
        if (series == nullptr)
            return;
        FFunction = new TCustomTeeFunction(series->Owner());
        if (series->FunctionType() == nullptr)
            FFunction->SetParentSeries(series);
    }
    FFunction->BeginUpdate();
    TScopeGuard endUpdate([f = FFunction] { f->EndUpdate(); });
    FFunction->SetStartX(start);
    FFunction->SetPeriod(step);
    FFunction->SetNumPoints(count);
}

void TeeFuncEditInitialization()
{
    CreateSelectListFormHook = [](TComponent* AOwner, TNotifyEvent OnChange) -> TForm* {
        auto* form = new TSelectListForm(AOwner);
        form->OnChange = std::move(OnChange);
        return form;
    };
    RegisterFormClass<TTeeFuncEditor>("TTeeFuncEditor");
    RegisterFormClass<TBaseFunctionEditor>("TBaseFunctionEditor");
    RegisterFormClass<TTeeFunctionEditor>("TTeeFunctionEditor");
    RegisterFormClass<TCustomFunctionEditor>("TCustomFunctionEditor");
    RegisterFormClass<TAverageFuncEditor>("TAverageFuncEditor");
}

void TeeFuncEditFinalization()
{
    for (const char* name : {"TAverageFuncEditor", "TCustomFunctionEditor", "TTeeFunctionEditor", "TBaseFunctionEditor",
                             "TTeeFuncEditor"})
        UnregisterFormClass(name);
    CreateSelectListFormHook = nullptr;
}
