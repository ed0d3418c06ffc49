#include "TeEngine/ValueList.h"

#include "controls/Dialogs.h"
#include "classes/Streaming.h"

#include "RizUridu/Helpers.h"
#include "TeEngine/Exceptions.h"
#include "TeEngine/Series.h"
#include "TeEngine/SeriesPoints.h"

#include <cmath>
#include <limits>


// ---- published properties ----------------------------------------------------------

BEGIN_CLASS_INFO(TChartValueList, TPersistent)
    .Bool("DateTime", &TChartValueList::DateTime, &TChartValueList::SetDateTime)
        .Stored(&TChartValueList::IsDateTimeStored)
    .Str("Name", &TChartValueList::Name, &TChartValueList::SetName)
    // Each series orders its lists its own way, so the order is always written.
    .Enum("Order", &TChartValueList::Order, &TChartValueList::SetOrder, {"loNone", "loAscending", "loDescending"})
    .Str("ValueSource", &TChartValueList::ValueSource, &TChartValueList::SetValueSource)
END_CLASS_INFO

namespace {
const char* const ObsoleteMultiplierMessage =
    "Error: Multiplier property is obsolete.\rModify DuzErov.inc (enable Multiplier) and recompile.";
} // namespace

void TChartValueList::DefineProperties(TFiler* Filer)
{
    TPersistent::DefineProperties(Filer);
    Filer->DefineProperty(
        "Multiplier",
        [](TReader* Reader) {
            if (Reader->ReadFloat() != 1)
                MessageBoxRequest(ObsoleteMultiplierMessage, "", MB_OK | MB_ICONERROR);
        },
        nullptr, false);
}

namespace {

const char* const SListIndexError = "List index out of bounds (%d)";

[[noreturn]] void AssertionFailed(const std::string& Text)
{
    throw EAssertionFailed(Text);
}

} // namespace

// ---- TChartValueList ------------------------------------------------------------

TChartValueList::TChartValueList(TChartSeries* Owner, const std::string& Name)
    : TChartValueList(&Owner->Points(), Name)
{
}

TChartValueList::TChartValueList(TSeriesPoints* Owner, const std::string& Name)
    : FName(Name), FOwner(Owner)
{
    FModified = true;
    if (FOwner != nullptr)
        FOwner->ValuesList()->Add(this);
    ClearValues();
}

TChartValueList::~TChartValueList()
{
    FValues.clear();
    FCount = 0;
}

void TChartValueList::CheckIndex(int Index) const
{
    if (Index < 0 || Index >= Capacity())
        throw ERangeError();
}

double TChartValueList::Value(int Index) const
{
    CheckIndex(Index);
    return FValues[static_cast<size_t>(Index)];
}

void TChartValueList::SetValue(int Index, double V)
{
    CheckIndex(Index);
    FValues[static_cast<size_t>(Index)] = V;
    FModified = true;
}

int TChartValueList::Count() const
{
    if (FCount > Capacity())
        AssertionFailed("ValueList Count (" + IntToStr(FCount) + ") greater than array length (" +
                        IntToStr(Capacity()) + ").");
    return FCount;
}

void TChartValueList::SetCount(int N)
{
    FCount = N;
    FModified = true;
    if (FCount < 0)
        AssertionFailed("ValueList Count must be greater than zero.");
}

double TChartValueList::First() const
{
    if (FCount <= 0)
        throw ERangeError();
    return Value(0);
}

double TChartValueList::Last() const
{
    if (FCount <= 0)
        throw ERangeError();
    return Value(FCount - 1);
}

void TChartValueList::Grow(int Needed)
{
    if (Capacity() < Needed)
        FValues.resize(static_cast<size_t>(CheckedAdd(Capacity(), TeeValueListCapacityStep)));
}

void TChartValueList::RecalcStats() const
{
    if (FCount > Capacity())
        FCount = Capacity();
    if (FCount <= 0) {
        FMaxValue = FMinValue = FTotal = FTotalABS = 0;
    } else {
        double v = FValues[0];
        FMaxValue = FMinValue = FTotal = v;
        FTotalABS = std::fabs(v);
        for (int t = 1; t < FCount; ++t) {
            v = FValues[static_cast<size_t>(t)];
            if (v < FMinValue)
                FMinValue = v;
            else if (v > FMaxValue)
                FMaxValue = v;
            FTotal += v;
            FTotalABS += std::fabs(v);
        }
    }
    FModified = false;
}

double TChartValueList::MaxValue() const
{
    if (FModified)
        RecalcStats();
    return FMaxValue;
}

double TChartValueList::MinValue() const
{
    if (FModified)
        RecalcStats();
    return FMinValue;
}

double TChartValueList::Total() const
{
    if (FModified)
        RecalcStats();
    return FTotal;
}

double TChartValueList::TotalAbsolute() const
{
    if (FModified)
        RecalcStats();
    return FTotalABS;
}

void TChartValueList::ExcludeFromTotals(double Value)
{
    if (FModified)
        RecalcStats();
    FTotal -= Value;
    FTotalABS -= std::fabs(Value);
}

double TChartValueList::Range() const
{
    if (FModified)
        RecalcStats();
    return FMaxValue - FMinValue;
}

int TChartValueList::AddInOrder(double Value)
{
    TempValue = Value;
    return InsertOrdered();
}

int TChartValueList::InsertOrdered()
{
    const int count = Count();
    const double v = TempValue;
    int index;
    const bool append = FOrder == loNone || count == 0 ||
                        (FOrder == loAscending && v >= FValues[static_cast<size_t>(count - 1)]) ||
                        (FOrder == loDescending && v <= FValues[static_cast<size_t>(count - 1)]);
    const int newCount = CheckedAdd(count, 1);
    Grow(newCount);
    if (append) {
        index = count;
    } else {
        int t = count - 1;
        if (FOrder == loAscending) {
            while (t >= 0 && FValues[static_cast<size_t>(t)] > v)
                --t;
        } else {
            while (t >= 0 && FValues[static_cast<size_t>(t)] < v)
                --t;
        }
        index = t + 1;
        for (int i = count; i > index; --i)
            FValues[static_cast<size_t>(i)] = FValues[static_cast<size_t>(i - 1)];
    }
    FValues[static_cast<size_t>(index)] = v;
    FCount = newCount;
    FModified = true;
    return index;
}

void TChartValueList::InsertAt(int Index, double Value)
{
    const int count = Count();
    if (Index < 0 || Index > count)
        throw ERangeError();
    const int newCount = CheckedAdd(count, 1);
    Grow(newCount);
    for (int i = count; i > Index; --i)
        FValues[static_cast<size_t>(i)] = FValues[static_cast<size_t>(i - 1)];
    FValues[static_cast<size_t>(Index)] = Value;
    FCount = newCount;
    FModified = true;
}

void TChartValueList::Delete(int Index)
{
    const int count = Count();
    if (Index < 0 || Index >= count)
        throw ERangeError();
    const int newCount = count - 1;
    for (int i = Index; i < newCount; ++i)
        FValues[static_cast<size_t>(i)] = FValues[static_cast<size_t>(i + 1)];
    FCount = newCount;
    FModified = true;
}

void TChartValueList::DeleteRange(int Start, int Quantity)
{
    const int count = Count();
    // 64-bit sum: Start + Quantity must not wrap around before it is checked.
    const int64_t end = int64_t(Start) + Quantity - 1;
    if (end >= count)
        AssertionFailed("Quantity of data to delete must be less than Count.");
    if (Start < 0 || Quantity < 1)
        throw ERangeError();
    const int newCount = count - Quantity;
    for (int i = Start; i < newCount; ++i)
        FValues[static_cast<size_t>(i)] = FValues[static_cast<size_t>(i + Quantity)];
    FCount = newCount;
    FModified = true;
}

void TChartValueList::TakeValues(std::vector<double>&& Values)
{
    if (Values.size() > static_cast<size_t>(std::numeric_limits<int>::max()))
        throw ERangeError();
    FValues = std::move(Values);
    FCount = static_cast<int>(FValues.size());
    FModified = true;
}

void TChartValueList::ClearValues()
{
    FValues.clear();
    FValues.shrink_to_fit();
    FCount = 0;
    FModified = true;
}

void TChartValueList::Exchange(int A, int B)
{
    const int count = Count();
    if (A < 0 || A >= count)
        throw ChartException(Format(SListIndexError, {A}));
    if (B < 0 || B >= count)
        throw ChartException(Format(SListIndexError, {B}));
    std::swap(FValues[static_cast<size_t>(A)], FValues[static_cast<size_t>(B)]);
    FModified = true;
    if (FOwner != nullptr)
        FOwner->NotifyModified(A);
}

void TChartValueList::FillWithIndexes()
{
    const int count = Count();
    for (int t = 0; t < count; ++t)
        FValues[static_cast<size_t>(t)] = t;
    FModified = true;
    if (FOwner != nullptr)
        FOwner->NotifyModified(0);
}

int TChartValueList::CompareValues(int A, int B) const
{
    const double a = Value(A);
    const double b = Value(B);
    const int result = a < b ? -1 : (a > b ? 1 : 0);
    return FOrder == loDescending ? -result : result;
}

void TChartValueList::SortPoints()
{
    if (FOrder == loNone || FOwner == nullptr)
        return;
    SortIndexRange(0, Count() - 1, [this](int A, int B) { return CompareValues(A, B); },
                   [this](int A, int B) { FOwner->SortExchange(A, B); });
}

int TChartValueList::IndexOfValue(double V) const
{
    const int count = Count();
    for (int t = 0; t < count; ++t)
        if (FValues[static_cast<size_t>(t)] == V)
            return t;
    return -1;
}

int TChartValueList::IndexOfValueBetween(int First, int Last, double V) const
{
    if (Last < First)
        return -1;
    for (int t = First; t <= Last; ++t)
        if (Value(t) == V)
            return t;
    return -1;
}

// By field: the list's Name is its place in its series, which a copy keeps.
void TChartValueList::Assign(TPersistent* Source)
{
    if (auto* s = dynamic_cast<TChartValueList*>(Source)) {
        FOrder = s->FOrder;
        FDateTime = s->FDateTime;
        FValueSource = s->FValueSource;
    } else {
        TPersistent::Assign(Source);
    }
}

void TChartValueList::SetValueSource(const std::string& V)
{
    SetAndNotify(FValueSource, V, [this] {
        if (FOwner != nullptr)
            FOwner->NotifySourceChanged();
    });
}

void TChartValueList::SetDateTime(bool V)
{
    SetAndNotify(FDateTime, V, [this] {
        if (FOwner != nullptr)
            FOwner->NotifyChanged();
    });
}

// ---- TChartValueLists ------------------------------------------------------------

TChartValueLists::~TChartValueLists()
{
    Clear();
}

TChartValueList* TChartValueLists::ValueList(int Index) const
{
    if (Index < 0 || Index >= Count())
        TList::Error(SListIndexError, Index);
    return FItems[static_cast<size_t>(Index)].get();
}

TChartValueList* TChartValueLists::Get(int Index) const
{
    return Index >= 0 && Index < Count() ? FItems[static_cast<size_t>(Index)].get() : nullptr;
}

int TChartValueLists::IndexOf(const TChartValueList* List) const
{
    for (int t = 0; t < Count(); ++t)
        if (FItems[static_cast<size_t>(t)].get() == List)
            return t;
    return -1;
}

int TChartValueLists::Add(TChartValueList* List)
{
    FItems.emplace_back(List);
    return Count() - 1;
}

void TChartValueLists::Clear()
{
    // Destroy last first; the vector is emptied only after every list is gone.
    std::vector<std::unique_ptr<TChartValueList>> items;
    items.swap(FItems);
    items.clear();
}
