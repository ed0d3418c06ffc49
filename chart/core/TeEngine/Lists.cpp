#include "TeEngine/Lists.h"

#include "TeEngine/Series.h"
#include "TeEngine/SeriesPoints.h"
#include "TeEngine/SeriesGroups.h"
#include "system/ScopeGuard.h"

#include <algorithm>

namespace {
const char* const SListIndexError = "List index out of bounds (%d)";
}

// ---- TLabelsList ----------------------------------------------------------------

std::string TLabelsList::Label(int Index) const
{
    return Index >= 0 && Index < Count() ? FItems[static_cast<size_t>(Index)] : std::string();
}

void TLabelsList::Extend(int Index)
{
    if (Index >= Count())
        FItems.resize(static_cast<size_t>(Index) + 1);
}

void TLabelsList::SetLabel(int Index, const std::string& Text)
{
    if (Index < 0)
        throw ERangeError();
    if (!Text.empty()) {
        Extend(Index);
        FItems[static_cast<size_t>(Index)] = Text;
    } else if (Index < Count()) {
        FItems[static_cast<size_t>(Index)].clear();
    }
    if (FOwner != nullptr)
        FOwner->NotifyChanged();
}

void TLabelsList::InsertLabel(int Index, const std::string& Text)
{
    if (Index < 0)
        throw ERangeError();
    if (Text.empty() && FItems.empty())
        return;
    if (Index > Count())
        FItems.resize(static_cast<size_t>(Index));
    FItems.insert(FItems.begin() + Index, Text);
}

void TLabelsList::DeleteLabel(int Index)
{
    if (Index >= 0 && Index < Count())
        FItems.erase(FItems.begin() + Index);
}

void TLabelsList::DeleteRange(int Start, int Quantity)
{
    if (Start < 0 || Start >= Count() || Quantity <= 0)
        return;
    const int end = static_cast<int>(std::min<int64_t>(int64_t(Start) + Quantity, Count()));
    FItems.erase(FItems.begin() + Start, FItems.begin() + end);
}

void TLabelsList::Exchange(int A, int B)
{
    if (A < 0 || B < 0)
        throw ERangeError();
    if (A >= Count() && B >= Count())
        return;   // both empty labels
    Extend(std::max(A, B));
    std::swap(FItems[static_cast<size_t>(A)], FItems[static_cast<size_t>(B)]);
}

// ---- TCustomSeriesList ------------------------------------------------------------

void TCustomSeriesList::CheckIndex(int Index) const
{
    if (Index < 0 || Index >= Count())
        TList::Error(SListIndexError, Index);
}

TChartSeries* TCustomSeriesList::Series(int Index) const
{
    CheckIndex(Index);
    return FItems[static_cast<size_t>(Index)];
}

int TCustomSeriesList::IndexOf(const TChartSeries* S) const
{
    const auto it = std::find(FItems.begin(), FItems.end(), S);
    return it == FItems.end() ? -1 : static_cast<int>(it - FItems.begin());
}

int TCustomSeriesList::Add(TChartSeries* S)
{
    FItems.push_back(S);
    Changed(S, true);
    return Count() - 1;
}

void TCustomSeriesList::Insert(int Index, TChartSeries* S)
{
    if (Index < 0 || Index > Count())
        TList::Error(SListIndexError, Index);
    FItems.insert(FItems.begin() + Index, S);
    Changed(S, true);
}

void TCustomSeriesList::Delete(int Index)
{
    CheckIndex(Index);
    TChartSeries* s = FItems[static_cast<size_t>(Index)];
    FItems.erase(FItems.begin() + Index);
    Changed(s, false);
}

int TCustomSeriesList::Remove(const TChartSeries* S)
{
    const int index = IndexOf(S);
    if (index >= 0)
        Delete(index);
    return index;
}

void TCustomSeriesList::Clear()
{
    while (!FItems.empty())
        Delete(Count() - 1);
}

void TCustomSeriesList::Assign(const TCustomSeriesList& Source)
{
    if (&Source == this)
        return;
    Clear();
    for (TChartSeries* s : Source.FItems)
        Add(s);
}

void TCustomSeriesList::Exchange(int A, int B)
{
    CheckIndex(A);
    CheckIndex(B);
    std::swap(FItems[static_cast<size_t>(A)], FItems[static_cast<size_t>(B)]);
}

bool TCustomSeriesList::AllActive() const
{
    return std::all_of(FItems.begin(), FItems.end(), [](TChartSeries* s) { return s->Active(); });
}

void TCustomSeriesList::SetAllActive(bool Value)
{
    // A copy: a series may leave the list while it changes.
    const std::vector<TChartSeries*> items = FItems;
    for (TChartSeries* s : items)
        s->SetActive(Value);
}

void TCustomSeriesList::ClearAll()
{
    const std::vector<TChartSeries*> items = FItems;
    for (TChartSeries* s : items)
        s->Clear();
}

// ---- TChartSeriesList ------------------------------------------------------------

TChartSeriesList::TChartSeriesList() : FGroups(std::make_unique<TSeriesGroups>(nullptr)) {}

TChartSeriesList::~TChartSeriesList() = default;

TSeriesGroup* TChartSeriesList::AddGroup(const std::string& Name)
{
    TSeriesGroup* group = FGroups->Add();
    group->SetName(Name);
    return group;
}

void FillSeriesItems(TStrings* Strings, const TCustomSeriesList* List, bool UseTitles)
{
    Strings->BeginUpdate();
    TScopeGuard endUpdate([Strings] { Strings->EndUpdate(); });
    for (TChartSeries* s : List->Items())
        Strings->AddObject(UseTitles ? s->Title() : s->Name(), s);
}

// ---- TDataSourcesList -------------------------------------------------------------

TComponent* TDataSourcesList::Item(int Index) const
{
    if (Index < 0 || Index >= Count())
        TList::Error(SListIndexError, Index);
    return FItems[static_cast<size_t>(Index)];
}

int TDataSourcesList::IndexOf(const TComponent* C) const
{
    const auto it = std::find(FItems.begin(), FItems.end(), C);
    return it == FItems.end() ? -1 : static_cast<int>(it - FItems.begin());
}

int TDataSourcesList::Add(TComponent* C)
{
    FItems.push_back(C);
    return Count() - 1;
}

int TDataSourcesList::Remove(const TComponent* C)
{
    const int index = IndexOf(C);
    if (index >= 0)
        FItems.erase(FItems.begin() + index);
    return index;
}

void TDataSourcesList::Put(int Index, TComponent* C)
{
    if (Index < 0 || Index >= Count())
        TList::Error(SListIndexError, Index);
    FItems[static_cast<size_t>(Index)] = C;
}
