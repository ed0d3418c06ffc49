#include "TeEngine/Tools.h"

#include "TeEngine/Axis.h"
#include "TeEngine/AxisPanel.h"
#include "TeEngine/Series.h"
#include "TeEngine/SeriesWatcher.h"
#include "classes/Streaming.h"

#include <algorithm>


// ---- published properties ----------------------------------------------------------

BEGIN_CLASS_INFO(TTeeCustomTool, TCustomChartElement)
    .ComponentFactory()
END_CLASS_INFO

BEGIN_CLASS_INFO(TTeeCustomToolSeries, TTeeCustomTool)
    .ComponentFactory()
    .Reference("Series", &TTeeCustomToolSeries::Series, &TTeeCustomToolSeries::SetSeries)
END_CLASS_INFO

// The axis travels as "AxisID".
BEGIN_CLASS_INFO(TTeeCustomToolAxis, TTeeCustomTool)
    .ComponentFactory()
END_CLASS_INFO

namespace {
// The chart's tools list; none while the chart is freeing its tools.
TChartTools* ToolsOf(TCustomAxisPanel* Chart)
{
    return Chart != nullptr ? Chart->Tools() : nullptr;
}
} // namespace

// ---- TTeeCustomTool -------------------------------------------------------------------

TTeeCustomTool::TTeeCustomTool(TComponent* AOwner) : TCustomChartElement(AOwner) {}

TTeeCustomTool::~TTeeCustomTool()
{
    if (FToolsList != nullptr)
        FToolsList->Remove(this);
}

void TTeeCustomTool::SetParentChart(TCustomAxisPanel* Value)
{
    if (Value == FParentChart)
        return;
    TCustomAxisPanel* old = FParentChart;
    if (FToolsList != nullptr)
        FToolsList->Remove(this);
    TCustomChartElement::SetParentChart(Value);
    if (old != nullptr && Value == nullptr)
        old->RequestRepaint();
    if (Value != nullptr)
        if (TChartTools* list = ToolsOf(Value))
            list->Insert(this);
}

// ---- TTeeCustomToolSeries -------------------------------------------------------------

TTeeCustomToolSeries::TTeeCustomToolSeries(TComponent* AOwner)
    : TTeeCustomTool(AOwner), FWatcher(std::make_unique<TSeriesWatcher>([this](TChartSeries* S) {
          if (S == FSeries)
              FSeries = nullptr;
      }))
{
}

TTeeCustomToolSeries::~TTeeCustomToolSeries() = default;

void TTeeCustomToolSeries::SetSeries(TChartSeries* Value)
{
    if (Value == FSeries)
        return;
    if (FSeries != nullptr)
        FWatcher->Unwatch(FSeries);
    FSeries = Value;
    if (Value != nullptr)
        FWatcher->Watch(Value);
}

// ---- TTeeCustomToolAxis ---------------------------------------------------------------

void TTeeCustomToolAxis::SetAxis(TChartAxis* Value)
{
    FPendingAxisID = -1;
    SetAndNotify(FAxis, Value, [this, Value] {
        // Clearing the axis keeps the tool in its chart.
        if (Value != nullptr)
            SetParentChart(Value->ParentChart());
        Repaint();
    });
}

void TTeeCustomToolAxis::SetParentChart(TCustomAxisPanel* Value)
{
    // An axis of another chart cannot stay bound.
    if (FAxis != nullptr && FAxis->ParentChart() != Value)
        FAxis = nullptr;
    TTeeCustomTool::SetParentChart(Value);
    ResolveAxisID();
}

void TTeeCustomToolAxis::DefineProperties(TFiler* Filer)
{
    TTeeCustomTool::DefineProperties(Filer);
    const int id = FAxis != nullptr && FParentChart != nullptr ? FParentChart->Axes()->IndexOf(FAxis) : -1;
    Filer->DefineProperty(
        "AxisID",
        [this](TReader* Reader) {
            FPendingAxisID = Reader->ReadInteger();
            ResolveAxisID();
        },
        [id](TWriter* Writer) { Writer->WriteInteger(id); }, id >= 0);
}

void TTeeCustomToolAxis::Loaded()
{
    TTeeCustomTool::Loaded();
    ResolveAxisID();
}

void TTeeCustomToolAxis::ResolveAxisID()
{
    if (FPendingAxisID < 0 || FParentChart == nullptr)
        return;
    TChartAxes* axes = FParentChart->Axes();
    // An index the chart does not have leaves the tool without an axis.
    if (FPendingAxisID < axes->Count())
        FAxis = axes->Items(FPendingAxisID);
    FPendingAxisID = -1;
}

// ---- TChartTools ----------------------------------------------------------------------

TChartTools::~TChartTools()
{
    Clear();
}

TTeeCustomTool* TChartTools::Tool(int Index) const
{
    if (Index < 0 || Index >= Count())
        throw ERangeError();
    return FItems[static_cast<size_t>(Index)];
}

int TChartTools::IndexOf(const TTeeCustomTool* Tool) const
{
    const auto it = std::find(FItems.begin(), FItems.end(), Tool);
    return it == FItems.end() ? -1 : static_cast<int>(it - FItems.begin());
}

TTeeCustomTool* TChartTools::AddTool(TTeeCustomTool* Tool)
{
    Tool->SetParentChart(FChart);
    // A chart that does not keep this list does not add the tool to it.
    if (IndexOf(Tool) < 0)
        Insert(Tool);
    return Tool;
}

void TChartTools::Insert(TTeeCustomTool* Tool)
{
    if (Tool->FToolsList == this)
        return;
    if (Tool->FToolsList != nullptr)
        Tool->FToolsList->Remove(Tool);
    FItems.push_back(Tool);
    Tool->FToolsList = this;
}

void TChartTools::Remove(const TTeeCustomTool* Tool)
{
    const int index = IndexOf(Tool);
    if (index < 0)
        return;
    FItems[static_cast<size_t>(index)]->FToolsList = nullptr;
    FItems.erase(FItems.begin() + index);
}

void TChartTools::Clear()
{
    while (!FItems.empty()) {
        TTeeCustomTool* tool = FItems.back();
        FItems.pop_back();
        tool->FToolsList = nullptr;
        // The chart may be going too: the tool must not reach back to it.
        tool->FParentChart = nullptr;
        if (auto* axisTool = dynamic_cast<TTeeCustomToolAxis*>(tool))
            axisTool->FAxis = nullptr;
        delete tool;
    }
}

void TChartTools::Exchange(int A, int B)
{
    if (A < 0 || A >= Count() || B < 0 || B >= Count())
        throw ERangeError();
    std::swap(FItems[static_cast<size_t>(A)], FItems[static_cast<size_t>(B)]);
}

std::vector<TTeeCustomTool*> TChartTools::ActiveTools() const
{
    std::vector<TTeeCustomTool*> result;
    for (TTeeCustomTool* t : FItems)
        if (t->Active())
            result.push_back(t);
    return result;
}

void TChartTools::NotifyStage(TChartToolEvent Stage)
{
    for (TTeeCustomTool* t : ActiveTools())
        if (IndexOf(t) >= 0 && t->Active())   // still here after the tools before it
            t->ChartStageEvent(Stage);
}

void TChartTools::HandleMouse(TTeeMouseEventKind Kind, TMouseButton Button, TShiftState Shift, int X, int Y)
{
    for (TTeeCustomTool* t : ActiveTools()) {
        if (FChart != nullptr && FChart->CancelMouse)
            return;
        if (IndexOf(t) >= 0 && t->Active())
            t->HandleChartMouse(Kind, Button, Shift, X, Y);
    }
}

void TChartTools::AxisRemoved(const TChartAxis* Axis)
{
    for (TTeeCustomTool* t : FItems)
        if (auto* axisTool = dynamic_cast<TTeeCustomToolAxis*>(t))
            if (Axis == nullptr || axisTool->FAxis == Axis) {
                axisTool->FAxis = nullptr;
                axisTool->FPendingAxisID = -1;
            }
}
