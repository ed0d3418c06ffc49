#include "TeEngine/SeriesPoints.h"

#include "RizUridu.h"
#include "TeEngine/Exceptions.h"
#include "TeeConst.h"

#include <algorithm>
#include <cstdint>

TSeriesPoints::TSeriesPoints(TSeriesPointsOwner* Owner) : FOwner(Owner)
{
    // Each list adopts itself into FValuesList, which owns it.
    FXValues = new TChartValueList(this, "X");
    FXValues->SetOrder(loAscending);
    FYValues = new TChartValueList(this, "Y");
    FMandatory = FYValues;
    FNotMandatory = FXValues;
}

TSeriesPoints::~TSeriesPoints() = default;

void TSeriesPoints::SetHorizontal()
{
    FMandatory = FXValues;
    FNotMandatory = FYValues;
    FYMandatory = false;
}

TChartValueList* TSeriesPoints::ValueListByName(const std::string& Name) const
{
    for (int t = 2; t < FValuesList.Count(); ++t) {
        TChartValueList* list = FValuesList.ValueList(t);
        if (SameText(list->Name(), Name))
            return list;
    }
    return FYValues;
}

// ---- labels and colours ------------------------------------------------------------

void TSeriesPoints::SetValueColor(int Index, TColor Color)
{
    if (!FColors) {
        if (Color == clDefault)
            return;
        FColors = std::make_unique<std::vector<TColor>>(static_cast<size_t>(Count()), clDefault);
    }
    if (Index < 0 || Index >= static_cast<int>(FColors->size()))
        throw ERangeError();
    (*FColors)[static_cast<size_t>(Index)] = Color;
    NotifyChanged();
}

void TSeriesPoints::InsertColor(int Index, TColor Color)
{
    if (FColors) {
        FColors->insert(FColors->begin() + Index, Color);
    } else if (Color != clDefault) {
        FColors = std::make_unique<std::vector<TColor>>(static_cast<size_t>(Count() - 1), clDefault);
        FColors->insert(FColors->begin() + Index, Color);
    }
}

// ---- adding ----------------------------------------------------------------------

int TSeriesPoints::InsertPending(const std::string& Label, TColor Color)
{
    const int index = FXValues->InsertOrdered();
    FYValues->InsertAt(index, FYValues->TempValue);
    for (int t = 2; t < FValuesList.Count(); ++t) {
        TChartValueList* list = FValuesList.ValueList(t);
        list->InsertAt(index, list->TempValue);
    }
    InsertColor(index, Color);
    FLabels.InsertLabel(index, Label);
    return index;
}

int TSeriesPoints::AddXY(double X, double Y, const std::string& Label, TColor Color)
{
    FXValues->TempValue = X;
    FYValues->TempValue = Y;
    return InsertPending(Label, Color);
}

int TSeriesPoints::Add(double Value, const std::string& Label, TColor Color)
{
    if (FYMandatory)
        return AddXY(FXValues->Count(), Value, Label, Color);
    return AddXY(Value, FYValues->Count(), Label, Color);
}

int TSeriesPoints::CopyPointValues(const TSeriesPoints& Source, int Index)
{
    double x = Source.FXValues->Value(Index);
    double y = Source.FYValues->Value(Index);
    if (FYMandatory != Source.FYMandatory)
        std::swap(x, y);
    const int index = FXValues->AddInOrder(x);
    FYValues->InsertAt(index, y);
    for (int t = 2; t < FValuesList.Count(); ++t) {
        TChartValueList* source = Source.FValuesList.Get(t);
        FValuesList.ValueList(t)->InsertAt(index, source != nullptr ? source->Value(Index) : 0.0);
    }
    return index;
}

void TSeriesPoints::CopyPointExtras(const TSeriesPoints& Source, int SourceIndex, int Index)
{
    InsertColor(Index, Source.StoredColor(SourceIndex));
    FLabels.InsertLabel(Index, Source.LabelText(SourceIndex));
}

// ---- removing and moving -----------------------------------------------------------

void TSeriesPoints::Delete(int Index)
{
    if (Index < 0 || Index >= Count())
        throw ChartException(Format(TeeMsg_SeriesDelete, {Index, Count() - 1}));
    for (int t = 0; t < FValuesList.Count(); ++t)
        FValuesList.ValueList(t)->Delete(Index);
    if (FColors && Index < static_cast<int>(FColors->size()))
        FColors->erase(FColors->begin() + Index);
    FLabels.DeleteLabel(Index);
}

bool TSeriesPoints::DeleteRange(int Start, int Quantity)
{
    if (Quantity < 1)
        throw EAssertionFailed("Quantity of data points to delete must be greater than zero.");
    if (Start >= Count())
        return false;
    if (Start < 0)
        throw ERangeError();
    if (int64_t(Start) + Quantity - 1 >= Count())
        throw EAssertionFailed("Quantity of data to delete must be less than Count.");
    for (int t = 0; t < FValuesList.Count(); ++t)
        FValuesList.ValueList(t)->DeleteRange(Start, Quantity);
    if (FColors) {
        const int size = static_cast<int>(FColors->size());
        const int end = std::min(Start + Quantity, size);
        if (Start < end)
            FColors->erase(FColors->begin() + Start, FColors->begin() + end);
        if (FColors->empty())
            FColors.reset();
    }
    FLabels.DeleteRange(Start, Quantity);
    return true;
}

void TSeriesPoints::ExchangePoints(int A, int B)
{
    for (int t = 0; t < FValuesList.Count(); ++t)
        FValuesList.ValueList(t)->Exchange(A, B);
    if (FColors) {
        const int size = static_cast<int>(FColors->size());
        if (A < size && B < size)
            std::swap((*FColors)[static_cast<size_t>(A)], (*FColors)[static_cast<size_t>(B)]);
    }
    FLabels.Exchange(A, B);
}

void TSeriesPoints::Clear()
{
    for (int t = 0; t < FValuesList.Count(); ++t)
        FValuesList.ValueList(t)->ClearValues();
    FColors.reset();
    FLabels.Clear();
}

// ---- copying ------------------------------------------------------------------------

void TSeriesPoints::AssignListSettings(const TSeriesPoints& Source)
{
    const bool crossed = FYMandatory != Source.FYMandatory;
    FXValues->Assign(crossed ? Source.FYValues : Source.FXValues);
    FYValues->Assign(crossed ? Source.FXValues : Source.FYValues);
    const int lists = std::min(FValuesList.Count(), Source.FValuesList.Count());
    for (int t = 2; t < lists; ++t)
        FValuesList.ValueList(t)->Assign(Source.FValuesList.ValueList(t));
}

void TSeriesPoints::AssignPoints(const TSeriesPoints& Source)
{
    Clear();
    const int count = Source.Count();
    for (int l = 0; l < FValuesList.Count(); ++l) {
        TChartValueList* target = FValuesList.ValueList(l);
        TChartValueList* source = Source.FValuesList.Get(l);
        for (int t = 0; t < count; ++t)
            target->InsertAt(t, source != nullptr ? source->Value(t) : 0.0);
    }
    if (Source.FColors)
        FColors = std::make_unique<std::vector<TColor>>(*Source.FColors);
    FLabels.Assign(Source.FLabels);
}

// ---- what a stream needs to know ------------------------------------------------------

bool TSeriesPoints::HasCustomXValues() const
{
    const int n = Count();
    for (int i = 0; i < n; ++i)
        if (FNotMandatory->Value(i) != i)
            return true;
    return false;
}

bool TSeriesPoints::HasPointColors(TColor SeriesColor) const
{
    if (!FColors)
        return false;
    for (TColor c : *FColors)
        if (c != clDefault && c != SeriesColor)
            return true;
    return false;
}

bool TSeriesPoints::HasLabels() const
{
    const int n = std::min(Count(), FLabels.Count());
    for (int i = 0; i < n; ++i)
        if (!FLabels.Label(i).empty())
            return true;
    return false;
}

bool TSeriesPoints::HasLongLabels() const
{
    const int n = std::min(Count(), FLabels.Count());
    for (int i = 0; i < n; ++i)
        if (FLabels.Label(i).size() > 255)
            return true;
    return false;
}

void TSeriesPoints::TakePoints(std::vector<std::vector<double>>&& Columns, std::vector<TColor>&& Colors,
                             const std::vector<std::string>& Labels)
{
    for (int k = 0; k < FValuesList.Count(); ++k)
        FValuesList.ValueList(k)->TakeValues(std::move(Columns[static_cast<size_t>(k)]));
    if (std::any_of(Colors.begin(), Colors.end(), [](TColor c) { return c != clDefault; }))
        FColors = std::make_unique<std::vector<TColor>>(std::move(Colors));
    for (int i = 0; i < static_cast<int>(Labels.size()); ++i)
        FLabels.InsertLabel(i, Labels[static_cast<size_t>(i)]);
}

// ---- the owner ------------------------------------------------------------------------

void TSeriesPoints::NotifyModified(int ValueIndex)
{
    if (FOwner != nullptr)
        FOwner->SeriesPointsModified(ValueIndex);
}

void TSeriesPoints::NotifySourceChanged()
{
    if (FOwner != nullptr)
        FOwner->SeriesPointsSourceChanged();
}

void TSeriesPoints::NotifyChanged()
{
    if (FOwner != nullptr)
        FOwner->SeriesPointsChanged();
}

void TSeriesPoints::SortExchange(int A, int B)
{
    if (FOwner != nullptr)
        FOwner->SeriesPointsExchange(A, B);
    else
        ExchangePoints(A, B);
}
