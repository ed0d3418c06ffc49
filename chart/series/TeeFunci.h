// The ten calculated functions: add, subtract, multiply, divide, high, low, average,
// y = f(x), median and mode. Each supplies the arithmetic the function base runs: a value
// over a range of one source (CalculateRange) and a value across several sources at one
// point index (CalculateAtIndex); y = f(x) needs no source at all.
#pragma once

#include "TeEngine.h"

#include <functional>
#include <vector>

// Sum.
class TAddTeeFunction : public TTeeFunction {
public:
    DECLARE_CLASS_INFO(TAddTeeFunction)
    using TTeeFunction::TTeeFunction;
    double CalculateRange(TChartSeries* Source, int First, int Last) override;
    double CalculateAtIndex(const std::vector<TChartSeries*>& Sources, int Index) override;
};

// Folds the sources' values at one index from left to right through Combine. Over a
// single source there is nothing to combine: the range value is 0.
class TManySeriesTeeFunction : public TTeeFunction {
public:
    DECLARE_CLASS_INFO(TManySeriesTeeFunction)
    using TTeeFunction::TTeeFunction;
    double CalculateAtIndex(const std::vector<TChartSeries*>& Sources, int Index) override;
    virtual double Combine(double A, double B) { return 0; }
};

class TSubtractTeeFunction : public TManySeriesTeeFunction {
public:
    DECLARE_CLASS_INFO(TSubtractTeeFunction)
    using TManySeriesTeeFunction::TManySeriesTeeFunction;
    double Combine(double A, double B) override { return A - B; }
};

class TMultiplyTeeFunction : public TManySeriesTeeFunction {
public:
    DECLARE_CLASS_INFO(TMultiplyTeeFunction)
    using TManySeriesTeeFunction::TManySeriesTeeFunction;
    double Combine(double A, double B) override { return A * B; }
};

// A divisor of 0 leaves the running result as it is.
class TDivideTeeFunction : public TManySeriesTeeFunction {
public:
    DECLARE_CLASS_INFO(TDivideTeeFunction)
    using TManySeriesTeeFunction::TManySeriesTeeFunction;
    double Combine(double A, double B) override { return B == 0 ? A : A / B; }
};

// Largest value. A range starts from its own first value, and across sources the result
// starts from the first source that reaches the index (never from 0, which would beat
// negative values).
class THighTeeFunction : public TTeeFunction {
public:
    DECLARE_CLASS_INFO(THighTeeFunction)
    using TTeeFunction::TTeeFunction;
    double CalculateRange(TChartSeries* Source, int First, int Last) override;
    double CalculateAtIndex(const std::vector<TChartSeries*>& Sources, int Index) override;
};

// Smallest value, on the same terms as the high function.
class TLowTeeFunction : public TTeeFunction {
public:
    DECLARE_CLASS_INFO(TLowTeeFunction)
    using TTeeFunction::TTeeFunction;
    double CalculateRange(TChartSeries* Source, int First, int Last) override;
    double CalculateAtIndex(const std::vector<TChartSeries*>& Sources, int Index) override;
};

// Mean; with IncludeNulls off, null points are left out.
class TAverageTeeFunction : public TTeeFunction {
public:
    DECLARE_CLASS_INFO(TAverageTeeFunction)
    using TTeeFunction::TTeeFunction;
    std::string EditorClassName() const override { return "TAverageFuncEditor"; }
    double CalculateRange(TChartSeries* Source, int First, int Last) override;
    double CalculateAtIndex(const std::vector<TChartSeries*>& Sources, int Index) override;

    bool IncludeNulls() const { return FIncludeNulls; }
    // A change recalculates.
    void SetIncludeNulls(bool Value);

private:
    bool FIncludeNulls = true;
};

// y = f(x): the parent series gets NumPoints points from StartX on, Period apart, each Y
// answered by OnCalculate. Needs no data source.
class TCustomTeeFunction;
using TCalculateEvent = std::function<void(TCustomTeeFunction* Sender, double X, double& Y)>;

class TCustomTeeFunction : public TTeeFunction {
public:
    DECLARE_CLASS_INFO(TCustomTeeFunction)
    explicit TCustomTeeFunction(TComponent* AOwner);
    std::string EditorClassName() const override { return "TCustomFunctionEditor"; }
    // Refills the parent series through OnCalculate (nothing while it is not set).
    void AddPoints(TChartSeries* Source) override;

    int NumPoints() const { return FNumPoints; }
    void SetNumPoints(int Value);
    double StartX() const { return FStartX; }
    void SetStartX(double Value);
    // The X being calculated.
    double X() const { return FX; }

    TCalculateEvent OnCalculate;

private:
    int FNumPoints = 100;
    double FStartX = 0;
    double FX = 0;
};

// Functions of the source's values in ascending order. The values of a range (or of the
// sources at one index) are collected, put in order by OrderValues and handed to
// SortedResult.
class TCustomSortedFunction : public TTeeFunction {
public:
    DECLARE_CLASS_INFO(TCustomSortedFunction)
    using TTeeFunction::TTeeFunction;
    double CalculateRange(TChartSeries* Source, int First, int Last) override;
    double CalculateAtIndex(const std::vector<TChartSeries*>& Sources, int Index) override;
    // The result over the N ascending values S; 0 in the base.
    virtual double SortedResult(const double* S, int N) { return 0; }

    bool IncludeNulls() const { return FIncludeNulls; }
    // A change recalculates.
    void SetIncludeNulls(bool Value);
    void Assign(TPersistent* Source) override;

protected:
    // Puts the collected values in the order SortedResult reads: ascending here.
    virtual void OrderValues(std::vector<double>& Values);

private:
    double ResultOfCollected();

    bool FIncludeNulls = true;
    // The collected values; kept between ranges so that period after period reuses one
    // buffer, and emptied after each result.
    std::vector<double> FSorted;
};

// The middle value: of an odd count the one in the middle, of an even count the mean of
// the two middle ones.
class TMedianTeeFunction : public TCustomSortedFunction {
public:
    DECLARE_CLASS_INFO(TMedianTeeFunction)
    using TCustomSortedFunction::TCustomSortedFunction;
    double SortedResult(const double* S, int N) override;

protected:
    // Only the middle positions need their sorted values: a selection, not a sort.
    void OrderValues(std::vector<double>& Values) override;
};

// The most frequent value; of runs of equal length the smaller value.
class TModeTeeFunction : public TCustomSortedFunction {
public:
    DECLARE_CLASS_INFO(TModeTeeFunction)
    using TCustomSortedFunction::TCustomSortedFunction;
    double SortedResult(const double* S, int N) override;
};

// The unit's start-up registers the ten functions in the series-type registry, once
// however often it runs; the chart unit's end unregisters them.
void TeeFunciInitialization();
void TeeFunciFinalization();
