// Value lists: one dimension (X, Y, or an extra one such as an end value) of a series'
// points, kept in one contiguous array that grows in steps, with an optional order and
// lazily computed statistics. A series' points (TSeriesPoints) own their lists through
// TChartValueLists.
#pragma once

#include "classes/Classes.h"

#include <memory>
#include <string>
#include <vector>

class TChartSeries;
class TSeriesPoints;

enum TChartListOrder { loNone, loAscending, loDescending };

// Number of values by which a list's array grows.
inline constexpr int TeeValueListCapacityStep = 1000;

class TChartValueList : public TPersistent {
public:
    DECLARE_CLASS_INFO(TChartValueList)
    // Appends itself to Owner's value lists, which then own it. Owner must not be null.
    TChartValueList(TSeriesPoints* Owner, const std::string& Name);
    // Appends itself to the series' points.
    TChartValueList(TChartSeries* Owner, const std::string& Name);
    ~TChartValueList() override;

    // ---- virtual slots ----
    // Stores Value as the pending value and places it by InsertOrdered; answers its index.
    virtual int AddInOrder(double Value);
    // Count 0 and the array released.
    virtual void ClearValues();
    // Inserts Value at Index (0..Count), moving the later values up.
    virtual void InsertAt(int Index, double Value);
    // Removes the value at Index (0..Count-1).
    virtual void Delete(int Index);
    // From another value list: Order, DateTime and ValueSource (not the name or values).
    void Assign(TPersistent* Source) override;

    // ---- values ----
    // Index must lie inside the array (ERangeError otherwise).
    double Value(int Index) const;
    void SetValue(int Index, double V);
    double operator[](int Index) const { return Value(Index); }
    // The values 0..Count-1 in place, for loops over many of them.
    const double* Data() const { return FValues.data(); }
    // Raises EAssertionFailed when the count has outgrown the array.
    int Count() const;
    void SetCount(int N);
    int Capacity() const { return static_cast<int>(FValues.size()); }
    // The values become Values, their count the list's count (a series read whole).
    void TakeValues(std::vector<double>&& Values);
    double First() const;
    double Last() const;

    // ---- statistics (refreshed first when modified) ----
    double MaxValue() const;
    double MinValue() const;
    double Total() const;
    double TotalAbsolute() const;
    double Range() const;
    // Takes a part counted twice out of the totals (a pie's grouped values, which its
    // other slice repeats); the totals are computed afresh when the list changes.
    void ExcludeFromTotals(double Value);
    bool Modified() const { return FModified; }
    void SetModified() { FModified = true; }

    // ---- ordered insertion and editing ----
    // The value the next InsertOrdered places (series types set it on extra lists).
    double TempValue = 0;
    // Places TempValue by Order (stable for equal values) and answers its index.
    int InsertOrdered();
    void DeleteRange(int Start, int Quantity);
    // Swaps two values; ChartException "List index out of bounds (%d)" outside 0..Count-1.
    void Exchange(int A, int B);
    // Every value becomes its own index.
    void FillWithIndexes();
    // Sorts the owner's points by this list's values when Order is not loNone.
    void SortPoints();
    // -1, 0 or 1 as value A is below, equal to or above value B (reversed when descending).
    int CompareValues(int A, int B) const;
    int IndexOfValue(double V) const;
    int IndexOfValueBetween(int First, int Last, double V) const;

    // ---- properties ----
    const std::string& Name() const { return FName; }
    void SetName(const std::string& V) { FName = V; }
    TChartListOrder Order() const { return FOrder; }
    void SetOrder(TChartListOrder V) { FOrder = V; }
    bool DateTime() const { return FDateTime; }
    // Stores the flag; the owner repaints when it changed.
    void SetDateTime(bool V);
    // The DateTime value that is not streamed; series types that make a list date-time
    // by default set both.
    bool DefaultDateTime() const { return FDefaultDateTime; }
    void SetDefaultDateTime(bool V) { FDefaultDateTime = V; }
    bool IsDateTimeStored() const { return FDateTime != FDefaultDateTime; }
    const std::string& ValueSource() const { return FValueSource; }
    // When changed, the owner refills itself from its data source.
    void SetValueSource(const std::string& V);
    TSeriesPoints* Owner() const { return FOwner; }

    // Room for N values at least (a reader that knows the count asks once).
    void Reserve(int N)
    {
        if (Capacity() < N)
            FValues.resize(static_cast<size_t>(N));
    }
    // The obsolete "Multiplier": read only, a value other than 1 is reported.
    void DefineProperties(TFiler* Filer) override;

private:
    void Grow(int Needed);
    void RecalcStats() const;
    void CheckIndex(int Index) const;

    bool FDateTime = false;
    mutable double FMaxValue = 0;
    mutable double FMinValue = 0;
    std::string FName;
    TChartListOrder FOrder = loNone;
    TSeriesPoints* FOwner;
    mutable double FTotal = 0;
    mutable double FTotalABS = 0;
    std::string FValueSource;
    bool FDefaultDateTime = false;
    mutable int FCount = 0;
    std::vector<double> FValues;
    mutable bool FModified = true;
};

// The value lists of one point store, X first and Y second. It owns its lists.
class TChartValueLists : public TObject {
public:
    DECLARE_CLASS_NAME(TChartValueLists)
    TChartValueLists() = default;
    ~TChartValueLists() override;

    int Count() const { return static_cast<int>(FItems.size()); }
    // Raises EListError "List index out of bounds (%d)" outside 0..Count-1.
    TChartValueList* ValueList(int Index) const;
    TChartValueList* operator[](int Index) const { return ValueList(Index); }
    // nullptr for an index at or past the count (or negative).
    TChartValueList* Get(int Index) const;
    int IndexOf(const TChartValueList* List) const;
    // Takes ownership of List and appends it; answers its index.
    int Add(TChartValueList* List);
    // Destroys every list, then empties itself.
    void Clear();

private:
    std::vector<std::unique_ptr<TChartValueList>> FItems;
};
