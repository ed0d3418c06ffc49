#include "TeeFunci.h"

#include "Chart.h"
#include "TeeConst.h"

#include <algorithm>
#include <bit>
#include <cstdint>

BEGIN_CLASS_INFO(TAddTeeFunction, TTeeFunction)
    .ComponentFactory()
END_CLASS_INFO

BEGIN_CLASS_INFO(TManySeriesTeeFunction, TTeeFunction)
    .ComponentFactory()
END_CLASS_INFO

BEGIN_CLASS_INFO(TSubtractTeeFunction, TManySeriesTeeFunction)
    .ComponentFactory()
END_CLASS_INFO

BEGIN_CLASS_INFO(TMultiplyTeeFunction, TManySeriesTeeFunction)
    .ComponentFactory()
END_CLASS_INFO

BEGIN_CLASS_INFO(TDivideTeeFunction, TManySeriesTeeFunction)
    .ComponentFactory()
END_CLASS_INFO

BEGIN_CLASS_INFO(THighTeeFunction, TTeeFunction)
    .ComponentFactory()
END_CLASS_INFO

BEGIN_CLASS_INFO(TLowTeeFunction, TTeeFunction)
    .ComponentFactory()
END_CLASS_INFO

BEGIN_CLASS_INFO(TAverageTeeFunction, TTeeFunction)
    .ComponentFactory()
    .Bool("IncludeNulls", &TAverageTeeFunction::IncludeNulls, &TAverageTeeFunction::SetIncludeNulls).Default(true)
END_CLASS_INFO

BEGIN_CLASS_INFO(TCustomTeeFunction, TTeeFunction)
    .ComponentFactory()
    .Float("Period", &TTeeFunction::Period, &TTeeFunction::SetPeriod).Default(1.0)
    .Int("NumPoints", &TCustomTeeFunction::NumPoints, &TCustomTeeFunction::SetNumPoints).Default(100)
    .Float("StartX", &TCustomTeeFunction::StartX, &TCustomTeeFunction::SetStartX).Default(0.0)
    .Event("OnCalculate")
END_CLASS_INFO

BEGIN_CLASS_INFO(TCustomSortedFunction, TTeeFunction)
    .ComponentFactory()
END_CLASS_INFO

BEGIN_CLASS_INFO(TMedianTeeFunction, TCustomSortedFunction)
    .ComponentFactory()
    .Bool("IncludeNulls", &TCustomSortedFunction::IncludeNulls, &TCustomSortedFunction::SetIncludeNulls)
        .Default(true)
END_CLASS_INFO

BEGIN_CLASS_INFO(TModeTeeFunction, TCustomSortedFunction)
    .ComponentFactory()
END_CLASS_INFO

namespace {

// The sources whose list (the one the function reads) is longer than Index.
template <class F>
void ForSourcesAt(const TTeeFunction* Function, const std::vector<TChartSeries*>& Sources, int Index, F Each)
{
    for (TChartSeries* s : Sources) {
        TChartValueList* list = Function->ValueListText(s);
        if (list->Count() > Index)
            Each(s, list->Value(Index));
    }
}

// The largest (Greater) or smallest value of First..Last, from the range's own first value.
template <class Better>
double BestOfRange(const TChartValueList* List, int First, int Last, Better IsBetter)
{
    if (Last < First)
        return 0;
    double result = List->Value(First);
    for (int t = First + 1; t <= Last; ++t) {
        const double v = List->Value(t);
        if (IsBetter(v, result))
            result = v;
    }
    return result;
}

// Across sources: from the first source that reaches Index on; 0 when none does.
template <class Better>
double BestAtIndex(const TTeeFunction* Function, const std::vector<TChartSeries*>& Sources, int Index,
                   Better IsBetter)
{
    bool found = false;
    double result = 0;
    ForSourcesAt(Function, Sources, Index, [&](TChartSeries*, double v) {
        if (!found || IsBetter(v, result))
            result = v;
        found = true;
    });
    return result;
}

// Ascending order. Long lists (a whole source of a million points) go through a radix
// sort of the values' bit patterns, ordered like the numbers, in four 16-bit passes:
// linear where a comparison sort takes n log n.
void SortAscending(std::vector<double>& Values)
{
    const size_t n = Values.size();
    if (n < 65536) {
        std::sort(Values.begin(), Values.end());
        return;
    }
    std::vector<uint64_t> keys(n);
    std::vector<uint64_t> other(n);
    for (size_t t = 0; t < n; ++t) {
        const auto bits = std::bit_cast<uint64_t>(Values[t]);
        keys[t] = (bits >> 63) != 0 ? ~bits : bits | (uint64_t(1) << 63);
    }
    std::vector<size_t> count(65536);
    for (int shift = 0; shift < 64; shift += 16) {
        std::fill(count.begin(), count.end(), 0);
        for (uint64_t k : keys)
            ++count[(k >> shift) & 0xFFFF];
        if (count[(keys[0] >> shift) & 0xFFFF] == n)
            continue;   // every key has the same digit here
        size_t start = 0;
        for (size_t& c : count) {
            const size_t here = c;
            c = start;
            start += here;
        }
        for (uint64_t k : keys)
            other[count[(k >> shift) & 0xFFFF]++] = k;
        keys.swap(other);
    }
    for (size_t t = 0; t < n; ++t) {
        const uint64_t k = keys[t];
        Values[t] = std::bit_cast<double>((k >> 63) != 0 ? k & ~(uint64_t(1) << 63) : ~k);
    }
}

int InitCount = 0;

} // namespace

// ---- add ------------------------------------------------------------------------------

double TAddTeeFunction::CalculateRange(TChartSeries* Source, int First, int Last)
{
    const TChartValueList* list = ValueListText(Source);
    if (First == -1 && Last == -1)
        return list->Total();
    double sum = 0;
    for (int t = First; t <= Last; ++t)
        sum += list->Value(t);
    return sum;
}

double TAddTeeFunction::CalculateAtIndex(const std::vector<TChartSeries*>& Sources, int Index)
{
    double sum = 0;
    ForSourcesAt(this, Sources, Index, [&](TChartSeries*, double v) { sum += v; });
    return sum;
}

// ---- subtract, multiply, divide ---------------------------------------------------------

double TManySeriesTeeFunction::CalculateAtIndex(const std::vector<TChartSeries*>& Sources, int Index)
{
    bool first = true;
    double result = 0;
    ForSourcesAt(this, Sources, Index, [&](TChartSeries*, double v) {
        result = first ? v : Combine(result, v);
        first = false;
    });
    return result;
}

// ---- high and low -----------------------------------------------------------------------

double THighTeeFunction::CalculateRange(TChartSeries* Source, int First, int Last)
{
    const TChartValueList* list = ValueListText(Source);
    if (First == -1 && Last == -1)
        return list->MaxValue();
    return BestOfRange(list, First, Last, [](double a, double b) { return a > b; });
}

double THighTeeFunction::CalculateAtIndex(const std::vector<TChartSeries*>& Sources, int Index)
{
    return BestAtIndex(this, Sources, Index, [](double a, double b) { return a > b; });
}

double TLowTeeFunction::CalculateRange(TChartSeries* Source, int First, int Last)
{
    const TChartValueList* list = ValueListText(Source);
    if (First == -1 && Last == -1)
        return list->MinValue();
    return BestOfRange(list, First, Last, [](double a, double b) { return a < b; });
}

double TLowTeeFunction::CalculateAtIndex(const std::vector<TChartSeries*>& Sources, int Index)
{
    return BestAtIndex(this, Sources, Index, [](double a, double b) { return a < b; });
}

// ---- average ----------------------------------------------------------------------------

void TAverageTeeFunction::SetIncludeNulls(bool Value)
{
    SetAndNotify(FIncludeNulls, Value, [this] { Recalculate(); });
}


double TAverageTeeFunction::CalculateRange(TChartSeries* Source, int First, int Last)
{
    const TChartValueList* list = ValueListText(Source);
    if (First == -1 && Last == -1) {
        if (FIncludeNulls)
            return Source->Count() == 0 ? 0 : list->Total() / Source->Count();
        First = 0;
        Last = Source->Count() - 1;
    }
    double sum = 0;
    int counted = 0;
    for (int t = First; t <= Last; ++t) {
        if (!FIncludeNulls && Source->IsNull(t))
            continue;
        sum += list->Value(t);
        ++counted;
    }
    return counted == 0 ? 0 : sum / counted;
}

double TAverageTeeFunction::CalculateAtIndex(const std::vector<TChartSeries*>& Sources, int Index)
{
    double sum = 0;
    int counted = 0;
    ForSourcesAt(this, Sources, Index, [&](TChartSeries* s, double v) {
        if (FIncludeNulls || !s->IsNull(Index)) {
            sum += v;
            ++counted;
        }
    });
    return counted == 0 ? 0 : sum / counted;
}

// ---- y = f(x) ---------------------------------------------------------------------------

TCustomTeeFunction::TCustomTeeFunction(TComponent* AOwner) : TTeeFunction(AOwner)
{
    FPeriod = 1;
    FNoSourceRequired = true;
}

void TCustomTeeFunction::SetNumPoints(int Value)
{
    SetAndNotify(FNumPoints, Value, [this] { Recalculate(); });
}

void TCustomTeeFunction::SetStartX(double Value)
{
    SetAndNotify(FStartX, Value, [this] { Recalculate(); });
}


void TCustomTeeFunction::AddPoints(TChartSeries* Source)
{
    TChartSeries* parent = ParentSeries();
    if (!OnCalculate || parent == nullptr)
        return;
    parent->Clear();
    double x = FStartX;
    for (int t = 0; t < FNumPoints; ++t) {
        FX = x;
        double y = 0;
        OnCalculate(this, x, y);
        if (parent->YMandatory())
            parent->AddPointXY(x, y);
        else
            parent->AddPointXY(y, x);
        x += FPeriod;
    }
}

// ---- median and mode --------------------------------------------------------------------

void TCustomSortedFunction::SetIncludeNulls(bool Value)
{
    SetAndNotify(FIncludeNulls, Value, [this] { Recalculate(); });
}

void TCustomSortedFunction::Assign(TPersistent* Source)
{
    // Only the median publishes IncludeNulls; the mode keeps it unpublished.
    if (auto* f = dynamic_cast<TCustomSortedFunction*>(Source))
        FIncludeNulls = f->FIncludeNulls;
    TTeeFunction::Assign(Source);
}

void TCustomSortedFunction::OrderValues(std::vector<double>& Values)
{
    SortAscending(Values);
}

double TCustomSortedFunction::ResultOfCollected()
{
    double result = 0;
    if (!FSorted.empty()) {
        OrderValues(FSorted);
        result = SortedResult(FSorted.data(), static_cast<int>(FSorted.size()));
    }
    FSorted.clear();
    return result;
}

double TCustomSortedFunction::CalculateRange(TChartSeries* Source, int First, int Last)
{
    const TChartValueList* list = Source->MandatoryValueList();
    if (First == -1 && Last == -1) {
        First = 0;
        Last = Source->Count() - 1;
    }
    FSorted.clear();
    if (Last >= First)
        FSorted.reserve(static_cast<size_t>(Last - First + 1));
    for (int t = First; t <= Last; ++t)
        if (FIncludeNulls || !Source->IsNull(t))
            FSorted.push_back(list->Value(t));
    return ResultOfCollected();
}

double TCustomSortedFunction::CalculateAtIndex(const std::vector<TChartSeries*>& Sources, int Index)
{
    FSorted.clear();
    for (TChartSeries* s : Sources) {
        const TChartValueList* list = s->MandatoryValueList();
        if (list->Count() > Index && (FIncludeNulls || !s->IsNull(Index)))
            FSorted.push_back(list->Value(Index));
    }
    return ResultOfCollected();
}

void TMedianTeeFunction::OrderValues(std::vector<double>& Values)
{
    // The upper middle value in place, everything below it not greater; for an even count
    // the greatest of those below becomes the lower middle one.
    const size_t n = Values.size();
    const auto middle = Values.begin() + static_cast<std::ptrdiff_t>(n / 2);
    std::nth_element(Values.begin(), middle, Values.end());
    if (n % 2 == 0 && n >= 2)
        std::iter_swap(std::max_element(Values.begin(), middle), middle - 1);
}

double TMedianTeeFunction::SortedResult(const double* S, int N)
{
    if (N <= 0)
        return 0;
    const int m = N / 2;
    return N % 2 == 1 ? S[m] : (S[m - 1] + S[m]) * 0.5;
}

double TModeTeeFunction::SortedResult(const double* S, int N)
{
    if (N <= 0)
        return 0;
    double best = S[0];
    int bestRun = 0;
    int t = 0;
    while (t < N) {
        int end = t + 1;
        while (end < N && S[end] == S[t])
            ++end;
        // Only a strictly longer run replaces the best, so ties keep the smaller value.
        if (end - t > bestRun) {
            bestRun = end - t;
            best = S[t];
        }
        t = end;
    }
    return best;
}

// ---- unit start-up ----------------------------------------------------------------------

void TeeFunciInitialization()
{
    if (InitCount++ > 0)
        return;
    RegisterStandardFunctionType(TAddTeeFunction::StaticClassInfo(), &TeeMsg_FunctionAdd);
    RegisterStandardFunctionType(TSubtractTeeFunction::StaticClassInfo(), &TeeMsg_FunctionSubtract);
    RegisterStandardFunctionType(TMultiplyTeeFunction::StaticClassInfo(), &TeeMsg_FunctionMultiply);
    RegisterStandardFunctionType(TDivideTeeFunction::StaticClassInfo(), &TeeMsg_FunctionDivide);
    RegisterStandardFunctionType(THighTeeFunction::StaticClassInfo(), &TeeMsg_FunctionHigh);
    RegisterStandardFunctionType(TLowTeeFunction::StaticClassInfo(), &TeeMsg_FunctionLow);
    RegisterStandardFunctionType(TAverageTeeFunction::StaticClassInfo(), &TeeMsg_FunctionAverage);
    RegisterStandardFunctionType(TCustomTeeFunction::StaticClassInfo(), &TeeMsg_FunctionCustom);
    RegisterStandardFunctionType(TMedianTeeFunction::StaticClassInfo(), &TeeMsg_FunctionMedian);
    RegisterStandardFunctionType(TModeTeeFunction::StaticClassInfo(), &TeeMsg_FunctionMode);
}

void TeeFunciFinalization()
{
    if (InitCount > 0)
        --InitCount;
}
