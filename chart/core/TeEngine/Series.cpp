#include "TeEngine/Series.h"

#include "RizUridu.h"
#include "TeEngine/AxisPanel.h"
#include "TeEngine/Exceptions.h"
#include "TeEngine/Function.h"
#include "TeEngine/Marks.h"
#include "TeEngine/Pointer.h"
#include "TeEngine/SeriesSource.h"
#include "TeeConst.h"
#include "classes/TypInfo.h"
#include "system/Random.h"
#include "system/ScopeGuard.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>

namespace {

// The legend's column separator as a text.
const std::string ColumnSeparator(1, TeeColumnSeparator);

} // namespace

TChartSeries::TChartSeries(TComponent* AOwner) : TCustomChartSeries(AOwner)
{
    FPercentFormat = TeeMsg_DefPercentFormat;
    FValueFormat = TeeMsg_DefValueFormat;
    FMarks = std::make_unique<TSeriesMarks>(this);
}

TChartSeries::~TChartSeries()
{
    FDestroyingSeries = true;
    if (FParentChart != nullptr)
        FParentChart->RemoveSeries(this);
    FParentChart = nullptr;
    // Sources that the series owns go with it; the others only forget it.
    const int sources = FDataSources.Count();
    for (int t = sources - 1; t >= 0; --t) {
        TComponent* source = FDataSources.Item(t);
        if (auto* s = dynamic_cast<TChartSeries*>(source))
            s->RemoveLinkedSeries(this);
        else {
            source->RemoveFreeNotification(this);
            if (source->Owner() == this)
                delete source;
        }
    }
    FDataSources.Clear();
    // The series that depend on this one lose it as a source. One that stays in a live
    // chart refills from what it has left, so that a function does not go on showing
    // points calculated from a series that is gone.
    const std::vector<TChartSeries*> dependents = FLinkedSeries.Items();
    FLinkedSeries.Clear();
    for (TChartSeries* d : dependents) {
        d->FDataSources.Remove(this);
        TCustomAxisPanel* chart = d->FParentChart;
        if (!d->FDestroyingSeries && !d->IsDestroying() && chart != nullptr && !chart->IsDestroying())
            d->CheckDataSource();
    }
    // The function goes with the series.
    if (TTeeFunction* f = FFunction) {
        DetachFunction(f);
        delete f;
    }
    ClearLists();
    // The marks go with the unique_ptr, after everything that could still draw them.
}

// ---- adding points ------------------------------------------------------------

int TChartSeries::AddPointXY(double X, double Y, const std::string& Label, TColor Color)
{
    FPoints.XValues()->TempValue = X;
    FPoints.YValues()->TempValue = Y;
    if (OnBeforeAdd && !OnBeforeAdd(this))
        return -1;
    const int index = FPoints.InsertPending(Label, Color);
    if (!Updating())
        AfterAddValue(index, true);
    return index;
}

int TChartSeries::Add(double Value, const std::string& Label, TColor Color)
{
    if (FPoints.YMandatory())
        return AddPointXY(FPoints.XValues()->Count(), Value, Label, Color);
    return AddPointXY(Value, FPoints.YValues()->Count(), Label, Color);
}

int TChartSeries::AddNull(const std::string& Label)
{
    return Add(0, Label, clNone);
}

int TChartSeries::AddNullPointXY(double X, double Y, const std::string& Label)
{
    return AddPointXY(X, Y, Label, clNone);
}

void TChartSeries::AfterAddValue(int ValueIndex, bool AddToDependents)
{
    if (OnAfterAdd)
        OnAfterAdd(this, ValueIndex);
    if (AddToDependents)
        NotifyValue(veAdd, ValueIndex);
    if (FActive)
        Repaint();
}

// ---- removing points ------------------------------------------------------------

void TChartSeries::ClearLists()
{
    FPoints.Clear();
    FMarks->Clear();
}

void TChartSeries::Clear()
{
    FFirstVisibleIndex = -1;
    FLastVisibleIndex = -1;
    ClearLists();
    if (OnClearValues)
        OnClearValues(this);
    NotifyValue(veClear, 0);
    if (FFunction != nullptr)
        FFunction->DataCleared();
    if (FActive && FParentChart != nullptr && !FParentChart->IsDestroying())
        Repaint();
}

void TChartSeries::Delete(int ValueIndex)
{
    FPoints.Delete(ValueIndex);
    FMarks->DeletePoint(ValueIndex);
    NotifyValue(veDelete, ValueIndex);
    if (FActive)
        Repaint();
}

void TChartSeries::DeleteRange(int Start, int Quantity, bool RenumberX)
{
    if (!FPoints.DeleteRange(Start, Quantity))
        return;
    FMarks->Positions()->DeleteRange(Start, Quantity);
    NotifyValue(veDelete, -1);
    if (FActive)
        Repaint();
    if (RenumberX)
        FPoints.XValues()->FillWithIndexes();
}

void TChartSeries::SourceValueDeleted(TChartSeries* Source, int ValueIndex)
{
    // A range deletion (index -1) names no single point: copy the source again.
    if (ValueIndex >= 0 && ValueIndex < Count())
        Delete(ValueIndex);
    else
        AddValues(Source);
}

void TChartSeries::ExchangePoints(int A, int B)
{
    FPoints.ExchangePoints(A, B);
}

// ---- colours --------------------------------------------------------------------

TColor TChartSeries::ValueColor(int Index) const
{
    const TColor c = FPoints.StoredColor(Index);
    if (c != clDefault)
        return c;
    if (FColorEachPoint)
        return FParentChart != nullptr ? FParentChart->PaletteColor(Index) : GetDefaultPaletteColor(Index);
    return SeriesColor();
}

void TChartSeries::SetSeriesColor(TColor Value)
{
    if (FColor == clDefault && Value == FDefaultColor)
        return;
    SetAndRepaint(FColor, Value);
    FDefaultColor = Value;
    SendChartEvent(seChangeColor);
}

void TChartSeries::SetColorEachPoint(bool Value)
{
    SetAndRepaint(FColorEachPoint, Value);
}

// ---- texts ----------------------------------------------------------------------

std::string TChartSeries::ValueMarkText(int Index) const
{
    return FMarks->MarkText(Index, FParentChart != nullptr ? FParentChart->LegendTextStyle() : ltsLeftValue);
}

std::string TChartSeries::ValueText(int Index) const
{
    const double v = MandatoryValueAt(Index);
    if (FPoints.MandatoryValueList()->DateTime())
        return FormatDateTime(ChooseTextByValue(v), v);
    return FormatFloat(FValueFormat, v);
}

std::string TChartSeries::XValueText(int Index) const
{
    if (FGetHorizAxis != nullptr)
        return FGetHorizAxis->LabelValueText(XValue(Index));
    return FormatFloat(FValueFormat, XValue(Index));
}

std::string TChartSeries::PercentText(int Index) const
{
    const double total = FPoints.MandatoryValueList()->TotalAbsolute();
    const double percent = total == 0 ? 100.0 : MandatoryValueAt(Index) / total * 100.0;
    return FormatFloat(FPercentFormat, percent);
}

std::string TChartSeries::LegendString(int LegendIndex, TLegendTextStyle Style) const
{
    const int index = ValueIndexOfLegendItem(LegendIndex);
    const std::string label = LabelText(index);
    auto withLabelLeft = [&](const std::string& Text) {
        return label.empty() ? Text : label + ColumnSeparator + Text;
    };
    auto withLabelRight = [&](const std::string& Text) {
        return label.empty() ? Text : Text + ColumnSeparator + label;
    };
    switch (Style) {
    case ltsPlain:
        return label;
    case ltsLeftValue:
        return withLabelRight(ValueText(index));
    case ltsRightValue:
        return withLabelLeft(ValueText(index));
    case ltsLeftPercent:
        return withLabelRight(PercentText(index));
    case ltsRightPercent:
        return withLabelLeft(PercentText(index));
    case ltsXValue:
        return XValueText(index);
    case ltsValue:
        return ValueText(index);
    case ltsPercent:
        return PercentText(index);
    case ltsXAndValue:
        return XValueText(index) + ColumnSeparator + ValueText(index);
    case ltsXAndPercent:
        return XValueText(index) + ColumnSeparator + PercentText(index);
    }
    return label;
}

TChartValueList* TChartSeries::ValueListByName(const std::string& Name) const
{
    return FPoints.ValueListByName(Name);
}

// ---- axes and drawing -------------------------------------------------------------

void TChartSeries::SetHorizAxis(THorizAxis V)
{
    FHorizAxis = V;
    if (V != aCustomHorizAxis && !IsLoading())
        FCustomHorizAxis = nullptr;
    RecalcGetAxis();
    Repaint();
}

void TChartSeries::SetVertAxis(TVertAxis V)
{
    FVertAxis = V;
    if (V != aCustomVertAxis && !IsLoading())
        FCustomVertAxis = nullptr;
    RecalcGetAxis();
    Repaint();
}

void TChartSeries::SetCustomHorizAxis(TChartAxis* Value)
{
    FCustomHorizAxis = Value;
    FHorizAxis = Value != nullptr ? aCustomHorizAxis : aBottomAxis;
    RecalcGetAxis();
    Repaint();
}

void TChartSeries::SetCustomVertAxis(TChartAxis* Value)
{
    FCustomVertAxis = Value;
    FVertAxis = Value != nullptr ? aCustomVertAxis : aLeftAxis;
    RecalcGetAxis();
    Repaint();
}

void TChartSeries::RecalcGetAxis()
{
    FGetHorizAxis = nullptr;
    FGetVertAxis = nullptr;
    if (FParentChart == nullptr)
        return;
    FGetHorizAxis = FParentChart->BottomAxis();
    if (FHorizAxis == aTopAxis)
        FGetHorizAxis = FParentChart->TopAxis();
    else if (FHorizAxis == aCustomHorizAxis && FCustomHorizAxis != nullptr)
        FGetHorizAxis = FCustomHorizAxis;
    FGetVertAxis = FParentChart->LeftAxis();
    if (FVertAxis == aRightAxis)
        FGetVertAxis = FParentChart->RightAxis();
    else if (FVertAxis == aCustomVertAxis && FCustomVertAxis != nullptr)
        FGetVertAxis = FCustomVertAxis;
}

int TChartSeries::ValueToScreenX(double Value) const
{
    return FGetHorizAxis != nullptr ? FGetHorizAxis->CalcXPosValue(Value) : 0;
}

int TChartSeries::ValueToScreenY(double Value) const
{
    return FGetVertAxis != nullptr ? FGetVertAxis->CalcYPosValue(Value) : 0;
}

bool TChartSeries::IsBoundToAxis(TChartAxis* Axis) const
{
    if (!UseAxis() || Axis == nullptr)
        return false;
    if (Axis->Horizontal())
        return FHorizAxis == aBothHorizAxis || Axis == FGetHorizAxis;
    return FVertAxis == aBothVertAxis || Axis == FGetVertAxis;
}

TChartValueList* TChartSeries::ValueListForAxis(TChartAxis* Axis) const
{
    if (!IsBoundToAxis(Axis))
        return nullptr;
    return Axis->Horizontal() ? FPoints.XValues() : FPoints.YValues();
}

void TChartSeries::FindVisibleIndexRange()
{
    FFirstVisibleIndex = -1;
    FLastVisibleIndex = -1;
    const int count = Count();
    if (count == 0)
        return;
    const TChartValueList* notMandatory = FPoints.NotMandatoryValueList();
    TChartAxis* axis = FPoints.YMandatory() ? FGetHorizAxis : FGetVertAxis;
    if (!FCalcVisiblePoints || notMandatory->Order() == loNone || axis == nullptr) {
        FFirstVisibleIndex = 0;
        FLastVisibleIndex = count - 1;
        return;
    }
    const double lo = axis->Minimum();
    const double hi = axis->Maximum();
    int first = 0;
    while (first < count && notMandatory->Value(first) < lo)
        ++first;
    if (first == count)
        return;
    FFirstVisibleIndex = first;
    if (notMandatory->Last() <= hi) {
        FLastVisibleIndex = count - 1;
        return;
    }
    int last = first;
    while (last < count - 1 && notMandatory->Value(last) < hi)
        ++last;
    // A series that does not join its last point to the next stops at the last point
    // inside the range.
    if (!FDrawBetweenPoints && notMandatory->Value(last) > hi)
        --last;
    FLastVisibleIndex = last;
}

bool TChartSeries::PointOrderForward() const
{
    const TChartAxis* across = FPoints.YMandatory() ? FGetHorizAxis : FGetVertAxis;
    const bool inverted = across != nullptr && across->Inverted();
    if (FPoints.YMandatory() && FParentChart != nullptr && FParentChart->ReversedDrawing)
        return inverted;
    return !inverted;
}

bool TChartSeries::SeriesOrderForward() const
{
    return FParentChart == nullptr || !FParentChart->ReversedDrawing;
}

void TChartSeries::ComputeZOrder()
{
    if (FParentChart == nullptr) {
        FComputedZOrder = 0;
        return;
    }
    if (FZOrder >= 0)
        FParentChart->MaxZOrder = std::max(FParentChart->MaxZOrder, FZOrder);
    else if (FParentChart->View3D() && Count() == 0)
        // A series without points takes no depth of its own: it stands with the last one.
        FComputedZOrder = std::max(FParentChart->MaxZOrder, 0);
    else if (FParentChart->View3D())
        FComputedZOrder = ++FParentChart->MaxZOrder;
    else
        FComputedZOrder = 0;
}

bool TChartSeries::SharesZOrder() const
{
    if (FParentChart == nullptr || !FParentChart->View3D())
        return false;
    for (int t = 0; t < FParentChart->SeriesCount(); ++t) {
        const TChartSeries* s = FParentChart->Series(t);
        if (s != this && s->Active() && !s->FNoZOrder && s->ZOrder() == ZOrder())
            return true;
    }
    return false;
}

bool TChartSeries::IsFirstOfZOrder() const
{
    if (!FActive)
        return false;
    if (FParentChart == nullptr)
        return true;
    for (int t = 0; t < FParentChart->SeriesCount(); ++t) {
        const TChartSeries* s = FParentChart->Series(t);
        if (s == this)
            break;
        if (s->Active() && s->ZOrder() == ZOrder())
            return false;
    }
    return true;
}

void TChartSeries::DrawSymbolShape(int ValueIndex, const TRect& R)
{
    if (FParentChart != nullptr)
        FParentChart->FillLegendSymbol(R);
}

void TChartSeries::PaintLegendSymbol(int ValueIndex, const TRect& R)
{
    if (FParentChart == nullptr || (ValueIndex == -1 && FColorEachPoint))
        return;
    const TColor color = ValueIndex == -1 ? SeriesColor() : ValueColor(ValueIndex);
    if (color == clNone)
        return;
    TTeeCanvas3D* canvas = FParentChart->Canvas();
    if (canvas->ReferenceCanvas() == nullptr)
        return;
    AssignPenToCanvas(canvas, Pen());
    PrepareSymbolCanvas();
    TBrush* target = canvas->Brush();
    TScopeGuard restoreStyle([target, oldStyle = target->Style()] { target->SetStyle(oldStyle); });
    AssignBrushToCanvas(canvas, Brush(), color, FParentChart->LegendColor());
    DrawSymbolShape(ValueIndex, R);
}

void TChartSeries::DrawVisiblePoints()
{
    if (FFirstVisibleIndex < 0 || FLastVisibleIndex < FFirstVisibleIndex)
        return;
    if (PointOrderForward()) {
        for (int t = FFirstVisibleIndex; t <= FLastVisibleIndex; ++t)
            DrawValue(t);
    } else {
        for (int t = FLastVisibleIndex; t >= FFirstVisibleIndex; --t)
            DrawValue(t);
    }
}

void TChartSeries::ComputeDepthExtent()
{
    const int depth = FParentChart != nullptr ? FParentChart->SeriesWidth3D : 0;
    // 64-bit on the way, so that a huge explicit depth or Z order cannot overflow.
    const auto clampInt = [](int64_t v) { return int(std::clamp<int64_t>(v, INT_MIN, INT_MAX)); };
    FStartZ = clampInt(int64_t(depth) * ZOrder());
    FEndZ = clampInt(int64_t(FStartZ) + (FDepth == -1 ? depth : FDepth));
    FMiddleZ = int((int64_t(FStartZ) + FEndZ) / 2);
    FMarks->SetZPosition(FMiddleZ);
    if (TSeriesPointer* pointer = SeriesPointer())
        pointer->SetDepthExtent(FStartZ, FMiddleZ, FEndZ);
}

void TChartSeries::SetDepthExtent(int StartZ, int EndZ)
{
    FStartZ = StartZ;
    FEndZ = EndZ;
    FMiddleZ = int((int64_t(FStartZ) + FEndZ) / 2);
    FMarks->SetZPosition(FMiddleZ);
    if (TSeriesPointer* pointer = SeriesPointer())
        pointer->SetDepthExtent(FStartZ, FMiddleZ, FEndZ);
}

void TChartSeries::DrawMark(int ValueIndex, const std::string& Text, TSeriesMarkPosition& Position)
{
    FMarks->DrawItem(ValueIndex, ValueColor(ValueIndex), Text, Position);
}

void TChartSeries::DrawMarks()
{
    FMarks->DrawMarks(
        FirstValueIndex(), LastValueIndex(), [this](int i) { return TPoint(PointScreenX(i), PointScreenY(i)); },
        [this](int i, const std::string& Text, TSeriesMarkPosition& Position) { DrawMark(i, Text, Position); });
}

void TChartSeries::SetMarks(TSeriesMarks* Value)
{
    FMarks->Assign(Value);
}

void TChartSeries::FireBeforeDrawValues()
{
    if (BeforeDrawValues)
        BeforeDrawValues(this);
}

void TChartSeries::FireAfterDrawValues()
{
    if (AfterDrawValues)
        AfterDrawValues(this);
}

// ---- chart attachment ---------------------------------------------------------------

void TChartSeries::SetParentChart(TCustomAxisPanel* Value)
{
    if (FParentChart == Value)
        return;
    if (FParentChart != nullptr)
        FParentChart->RemoveSeries(this);
    FParentChart = Value;
    RecalcGetAxis();
    FMarks->SetParentChart(Value);
    if (TSeriesPointer* pointer = SeriesPointer())
        pointer->SetParentChart(Value);
    if (Value != nullptr)
        Value->InternalAddSeries(this);
}

void TChartSeries::AttachedToChart()
{
    if (FParentChart != nullptr && SeriesColor() == clDefault)
        SetSeriesColor(FParentChart->UnusedSeriesColor(true, this));
    CheckDataSource();
}

void TChartSeries::DetachedFromChart()
{
    FMouseInside = false;
    if (FParentChart != nullptr && FCursor != crDefault && FParentChart->Cursor() == FCursor)
        FParentChart->SetCursor(FParentChart->OriginalCursor);
}

bool TChartSeries::CheckMouse(int X, int Y)
{
    if (FParentChart == nullptr || (FCursor == crDefault && !OnMouseEnter && !OnMouseLeave))
        return false;
    if (Clicked(X, Y) >= 0) {
        if (!FMouseInside) {
            FMouseInside = true;
            if (OnMouseEnter)
                OnMouseEnter(this);
        }
        return true;
    }
    if (FMouseInside) {
        FMouseInside = false;
        if (OnMouseLeave)
            OnMouseLeave(this);
    }
    return false;
}

// ---- data sources and dependents ------------------------------------------------------

bool TChartSeries::AcceptsDataSource(TComponent* Source) const
{
    auto* s = dynamic_cast<TChartSeries*>(Source);
    return s != nullptr && s != this;
}

void TChartSeries::SetDataSource(TComponent* Value)
{
    if (Value == nullptr) {
        ClearDataSources();
        CheckDataSource();
    } else {
        AddDataSource(Value, true);
    }
}

void TChartSeries::AddDataSource(TComponent* Source, bool Replace)
{
    if (FParentChart == nullptr)
        throw ChartException(TeeMsg_SeriesSetDataSource);
    if (!FParentChart->IsValidDataSource(this, Source))
        throw ChartException(Format(TeeMsg_SeriesInvDataSource, {Source != nullptr ? Source->Name() : std::string()}));
    if (FDataSources.IndexOf(Source) >= 0)
        return;
    auto* sourceSeries = dynamic_cast<TChartSeries*>(Source);
    if (sourceSeries != nullptr)
        FParentChart->CheckCircularDependence(this, sourceSeries);
    if (Replace && !FParentChart->IsLoading())
        ClearDataSources();
    FDataSources.Add(Source);
    FManualData = false;
    if (sourceSeries == nullptr)
        Source->FreeNotification(this);
    // A series source now feeds this series: it leaves its old series and, when it was
    // open, opens again here. It finds itself listed already, so it does not add itself
    // a second time.
    auto* seriesSource = dynamic_cast<TTeeSeriesSource*>(Source);
    if (seriesSource != nullptr && seriesSource->Series() != this) {
        const bool wasActive = seriesSource->Active();
        seriesSource->SetSeries(this);
        if (wasActive)
            seriesSource->Open();
    }
    if (sourceSeries != nullptr)
        sourceSeries->AddLinkedSeries(this);
    CheckDataSource();
}

void TChartSeries::ClearDataSources()
{
    // Emptied first: a series source let go below looks the list up again.
    const int count = FDataSources.Count();
    std::vector<TComponent*> sources;
    for (int t = 0; t < count; ++t)
        sources.push_back(FDataSources.Item(t));
    FDataSources.Clear();
    for (TComponent* source : sources) {
        if (auto* s = dynamic_cast<TChartSeries*>(source)) {
            s->RemoveLinkedSeries(this);
            continue;
        }
        source->RemoveFreeNotification(this);
        // A series source that still feeds this series would load into it again when
        // opened: it lets the series go (a source being freed is past that).
        if (source->IsDestroying() || FDestroyingSeries)
            continue;
        auto* seriesSource = dynamic_cast<TTeeSeriesSource*>(source);
        if (seriesSource != nullptr && seriesSource->Series() == this)
            seriesSource->SetSeries(nullptr);
    }
}

void TChartSeries::InternalRemoveDataSource(TComponent* Source)
{
    const int index = FDataSources.IndexOf(Source);
    if (index < 0)
        return;
    if (FDestroyingSeries || IsDestroying())
        return;
    if (FParentChart != nullptr)
        FParentChart->SeriesSourceRemoved(this, Source);
    if (index == 0) {
        ClearDataSources();
    } else {
        if (auto* s = dynamic_cast<TChartSeries*>(Source))
            s->RemoveLinkedSeries(this);
        else
            Source->RemoveFreeNotification(this);
        FDataSources.Remove(Source);
    }
    CheckDataSource();
}

void TChartSeries::RemoveDataSource(TComponent* Source)
{
    InternalRemoveDataSource(Source);
}

void TChartSeries::Notification(TComponent* AComponent, TOperation Operation)
{
    TCustomChartSeries::Notification(AComponent, Operation);
    if (Operation == TOperation::opRemove && AComponent != nullptr && AComponent == FFunction) {
        DetachFunction(FFunction);
        return;
    }
    if (Operation == TOperation::opRemove && AComponent != this)
        InternalRemoveDataSource(AComponent);
}

void TChartSeries::CheckDataSource()
{
    if (!Updating() && FParentChart != nullptr)
        FParentChart->RefreshSeriesData(this);
}

void TChartSeries::SetFunction(TTeeFunction* Value)
{
    if (Value != FFunction) {
        // The previous function is freed; the new one leaves any other series first.
        if (TTeeFunction* old = FFunction) {
            DetachFunction(old);
            delete old;
        }
        if (Value != nullptr) {
            if (Value->FParentSeries != nullptr)
                Value->FParentSeries->DetachFunction(Value);
            FFunction = Value;
            Value->FParentSeries = this;
            Value->FreeNotification(this);
        }
    }
    FManualData = false;
    CheckDataSource();
}

void TChartSeries::DetachFunction(TTeeFunction* F)
{
    if (F == nullptr || F != FFunction)
        return;
    FFunction = nullptr;
    F->FParentSeries = nullptr;
    F->RemoveFreeNotification(this);
}

bool TChartSeries::FunctionAcceptsSource(TComponent* Source) const
{
    return FFunction == nullptr || FFunction->AcceptsSource(Source);
}

void TChartSeries::AddLinkedSeries(TChartSeries* S)
{
    if (FLinkedSeries.IndexOf(S) < 0)
        FLinkedSeries.Add(S);
}

void TChartSeries::RemoveLinkedSeries(TChartSeries* S)
{
    FLinkedSeries.Remove(S);
}

void TChartSeries::ReplaceSourceSeries(TChartSeries* OldSource, TChartSeries* NewSource)
{
    const int index = FDataSources.IndexOf(OldSource);
    if (OldSource != nullptr)
        OldSource->RemoveLinkedSeries(this);
    if (NewSource == nullptr || NewSource == this) {
        if (index >= 0)
            FDataSources.Remove(OldSource);
        return;
    }
    if (FDataSources.IndexOf(NewSource) >= 0) {
        if (index >= 0)
            FDataSources.Remove(OldSource);
    } else if (index >= 0) {
        FDataSources.Put(index, NewSource);
    } else {
        FDataSources.Add(NewSource);
    }
    NewSource->AddLinkedSeries(this);
}

int TChartSeries::CopyPointValues(TChartSeries* Source, int Index)
{
    return FPoints.CopyPointValues(Source->FPoints, Index);
}

void TChartSeries::CopyPointFrom(TChartSeries* Source, int Index)
{
    const int index = CopyPointValues(Source, Index);
    FPoints.CopyPointExtras(Source->FPoints, Index, index);
    AfterAddValue(index, true);
}

void TChartSeries::AddValues(TChartSeries* Source)
{
    BeginUpdate();
    TScopeGuard endUpdate([this] { EndUpdate(); });
    Clear();
    if (FFunction != nullptr) {
        FPoints.XValues()->SetDateTime(Source->XValues()->DateTime());
        FPoints.YValues()->SetDateTime(Source->YValues()->DateTime());
        FFunction->AddPoints(Source);
    } else if (AcceptsDataSource(Source)) {
        const int count = Source->Count();
        for (int t = 0; t < count; ++t)
            CopyPointFrom(Source, t);
    }
}

void TChartSeries::NotifyValue(TValueEvent ValueEvent, int ValueIndex)
{
    if (Updating())
        return;
    // A copy: a dependent may unlink itself while it refreshes.
    const std::vector<TChartSeries*> dependents = FLinkedSeries.Items();
    for (TChartSeries* d : dependents) {
        if (FLinkedSeries.IndexOf(d) < 0)
            continue;
        switch (ValueEvent) {
        case veClear:
            if (d->FRefreshOptions.Test(srfOnClear))
                d->Clear();
            break;
        // A series filled by a function cannot copy one point: it computes again.
        case veAdd:
            if (d->FRefreshOptions.Test(srfOnAdd)) {
                if (d->FFunction == nullptr)
                    d->CopyPointFrom(this, ValueIndex);
                else
                    d->AddValues(this);
            }
            break;
        case veDelete:
            if (d->FRefreshOptions.Test(srfOnDelete)) {
                if (d->FFunction == nullptr)
                    d->SourceValueDeleted(this, ValueIndex);
                else
                    d->AddValues(this);
            }
            break;
        case veRefresh:
            d->AddValues(this);
            break;
        case veModified:
            if (d->FRefreshOptions.Test(srfOnModify))
                d->AddValues(this);
            break;
        }
    }
}

void TChartSeries::EndUpdate()
{
    if (FUpdateCount > 0) {
        --FUpdateCount;
        if (FUpdateCount == 0)
            RefreshSeries();
    }
}

void TChartSeries::RefreshSeries()
{
    NotifyValue(veRefresh, 0);
    SendChartEvent(seDataChanged);
}

void TChartSeries::Loaded()
{
    TCustomChartSeries::Loaded();
    const std::vector<std::string> names = std::move(FPendingDataSources);
    FPendingDataSources.clear();
    TComponent* owner = Owner();
    for (const std::string& name : names)
        if (TComponent* source = owner != nullptr ? owner->FindComponent(name) : nullptr)
            if (FParentChart != nullptr)
                AddDataSource(source);
    CheckDataSource();
}

// ---- sample values ------------------------------------------------------------------

TSampleRange TChartSeries::SampleRange(int NumValues) const
{
    double minX, maxX, minY, maxY;
    if (FParentChart != nullptr && FParentChart->MaxPointsCount() > 0) {
        minX = FParentChart->MinXValue(FGetHorizAxis);
        maxX = FParentChart->MaxXValue(FGetHorizAxis);
        minY = FParentChart->MinYValue(FGetVertAxis);
        maxY = FParentChart->MaxYValue(FGetVertAxis);
        // A horizontal series runs its points along the vertical axis.
        if (!FPoints.YMandatory()) {
            std::swap(minX, minY);
            std::swap(maxX, maxY);
        }
        if (maxY == minY)
            maxY = minY == 0 ? 1000 : 2 * minY;
        if (maxX == minX)
            maxX = minX == 0 ? NumValues - 1 : 2 * minX;
    } else {
        minX = FPoints.NotMandatoryValueList()->DateTime() ? std::floor(Now()) : 0;
        maxX = minX + NumValues - 1;
        minY = 0;
        maxY = 1000;
    }
    TSampleRange r;
    r.StartX = minX;
    r.StepX = NumValues > 1 ? (maxX - minX) / (NumValues - 1) : 0;
    r.MinY = minY;
    r.RangeY = std::clamp(maxY - minY, -2147483647.0, 2147483647.0);
    r.FirstY = Random(100) * 0.01 * r.RangeY + minY;
    return r;
}

void TChartSeries::MakeSamplePoints(int NumValues, bool OnlyMandatory)
{
    const TSampleRange r = SampleRange(NumValues);
    const double quarter = r.RangeY / 4;
    double x = r.StartX;
    double y = r.FirstY;
    for (int t = 0; t < NumValues; ++t) {
        y = std::fabs(Random(100) * 0.01 * quarter + y - quarter / 2);
        if (OnlyMandatory)
            Add(y);
        else if (FPoints.YMandatory())
            AddPointXY(x, y);
        else
            AddPointXY(y, x);
        x += r.StepX;
    }
}

void TChartSeries::FillSampleValues(int NumValues)
{
    if (NumValues < 0)
        throw ChartException(TeeMsg_FillSample);
    if (NumValues == 0) {
        NumValues = FSampleCount;
        if (NumValues <= 0)
            NumValues = DefaultSampleCount();
    }
    Clear();
    RandSeed = Random(7774444);
    {
        BeginUpdate();
        TScopeGuard endUpdate([this] { EndUpdate(); });
        MakeSamplePoints(NumValues, false);
        ApplyMandatoryOrder();
    }
    FManualData = false;
}

void TChartSeries::AddSubGalleryStyles(std::vector<std::string>& Styles)
{
    Styles.push_back(TeeMsg_StyleNormal);
}

void TChartSeries::SetUpGalleryPreview(bool Enabled)
{
    FillSampleValues(4);
    FMarks->SetVisible(false);
    FMarks->Font()->SetSize(7);
    FMarks->Callout()->SetLength(4);
    FMarks->SetDrawEvery(2);
    SetColorEachPoint(false);
    if (!Enabled)
        SetSeriesColor(clSilver);
    else {
        const int index = FParentChart != nullptr && FParentChart->IndexOfSeries(this) > 0 ? 3 : 0;
        SetSeriesColor(FParentChart != nullptr ? FParentChart->PaletteColor(index) : GetDefaultPaletteColor(index));
    }
}

// ---- copying ----------------------------------------------------------------------

// By hand: the value lists, points, data sources, function and axes need the order and
// the exchange of X and Y below, which no table expresses.
void TChartSeries::Assign(TPersistent* Source)
{
    auto* s = dynamic_cast<TChartSeries*>(Source);
    if (s == nullptr || s == this) {
        TCustomChartSeries::Assign(Source);
        return;
    }
    TCustomChartSeries::Assign(Source);
    ClearDataSources();
    FPoints.AssignListSettings(s->FPoints);
    FXLabelsSource = s->FXLabelsSource;
    FColorSource = s->FColorSource;
    FColor = s->FColor;
    FDefaultColor = s->FDefaultColor;
    FColorEachPoint = s->FColorEachPoint;
    FValueFormat = s->FValueFormat;
    FPercentFormat = s->FPercentFormat;
    FHorizAxis = s->FHorizAxis;
    FVertAxis = s->FVertAxis;
    FCustomHorizAxis = s->FCustomHorizAxis;
    FCustomVertAxis = s->FCustomVertAxis;
    RecalcGetAxis();
    FRefreshOptions = s->FRefreshOptions;
    FCursor = s->FCursor;
    FDepth = s->FDepth;
    FMarks->Assign(s->FMarks.get());
    // The source's function, when this series has none: a new one of its class.
    if (FFunction == nullptr && s->FFunction != nullptr && s->FFunction->ClassInfo()->CreateComponent) {
        TComponent* created = CreateComponentOfClass(s->FFunction->ClassInfo(), Owner());
        if (auto* function = dynamic_cast<TTeeFunction*>(created)) {
            function->Assign(s->FFunction);
            SetFunction(function);
        } else {
            delete created;
        }
    }
    FManualData = s->FManualData;
    if (s->FDataSources.Count() > 0 && FParentChart != nullptr) {
        for (int t = 0; t < s->FDataSources.Count(); ++t)
            AddDataSource(s->FDataSources.Item(t));
    } else {
        // The points themselves, after what the series type keeps per point is cleared.
        ClearLists();
        FPoints.AssignPoints(s->FPoints);
        Repaint();
    }
}
