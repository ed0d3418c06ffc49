// Small lists around the series: the per-point labels, plain lists of series, the
// chart's series list with its groups, and the data sources of a series.
#pragma once

#include "classes/Classes.h"

#include <memory>
#include <string>
#include <vector>

class TChartSeries;
class TSeriesPoints;
class TSeriesGroup;
class TSeriesGroups;
class TStrings;

// One optional label per point index; entries past the end are empty labels.
class TLabelsList : public TObject {
public:
    DECLARE_CLASS_NAME(TLabelsList)
    explicit TLabelsList(TSeriesPoints* Owner) : FOwner(Owner) {}

    int Count() const { return static_cast<int>(FItems.size()); }
    // Empty for an index outside the list.
    std::string Label(int Index) const;
    // A non-empty text extends the list up to Index; an empty one clears the entry
    // when the list reaches it. The owner repaints.
    void SetLabel(int Index, const std::string& Text);
    // A non-empty text is inserted at Index (after extending the list up to it); an
    // empty one only when the list already has entries.
    void InsertLabel(int Index, const std::string& Text);
    // Removes the entry at Index when the list reaches it.
    void DeleteLabel(int Index);
    // Removes up to Quantity entries from Start, as far as the list reaches.
    void DeleteRange(int Start, int Quantity);
    // Swaps two entries, extending the list with empty ones as needed.
    void Exchange(int A, int B);
    void Clear() { FItems.clear(); }
    void Assign(const TLabelsList& Source) { FItems = Source.FItems; }

private:
    void Extend(int Index);
    TSeriesPoints* FOwner;
    std::vector<std::string> FItems;
};

// A plain list of series; it owns none of them.
class TCustomSeriesList : public TObject {
public:
    DECLARE_CLASS_NAME(TCustomSeriesList)
    TCustomSeriesList() = default;
    TCustomSeriesList(const TCustomSeriesList&) = delete;
    TCustomSeriesList& operator=(const TCustomSeriesList&) = delete;
    int Count() const { return static_cast<int>(FItems.size()); }
    // EListError "List index out of bounds (%d)" outside 0..Count-1.
    TChartSeries* Series(int Index) const;
    TChartSeries* operator[](int Index) const { return Series(Index); }
    int IndexOf(const TChartSeries* S) const;
    int Add(TChartSeries* S);
    void Insert(int Index, TChartSeries* S);
    void Delete(int Index);
    int Remove(const TChartSeries* S);
    void Exchange(int A, int B);
    void Clear();
    // Takes the series of Source, in its order.
    void Assign(const TCustomSeriesList& Source);
    // True when every series is active (also when empty).
    bool AllActive() const;
    void SetAllActive(bool Value);
    // Clears the points of every series.
    void ClearAll();
    const std::vector<TChartSeries*>& Items() const { return FItems; }

protected:
    // Told after a series joined (Added) or left the list.
    virtual void Changed(TChartSeries* S, bool Added) {}

private:
    void CheckIndex(int Index) const;
    std::vector<TChartSeries*> FItems;
};

// The series list of a chart, with the named groups of its series.
class TChartSeriesList : public TCustomSeriesList {
public:
    DECLARE_CLASS_NAME(TChartSeriesList)
    TChartSeriesList();
    ~TChartSeriesList() override;
    TSeriesGroups* Groups() const { return FGroups.get(); }
    // Adds a group of that name and answers it.
    TSeriesGroup* AddGroup(const std::string& Name);

private:
    std::unique_ptr<TSeriesGroups> FGroups;
};

// Inside one update of Strings, adds every series of List with the series as the item's
// object and, as text, its display title (UseTitles) or its component name.
void FillSeriesItems(TStrings* Strings, const TCustomSeriesList* List, bool UseTitles);

// The components that feed a series; the first is its DataSource. Owns none of them.
class TDataSourcesList : public TObject {
public:
    DECLARE_CLASS_NAME(TDataSourcesList)
    explicit TDataSourcesList(TChartSeries* Owner) : FOwner(Owner) {}
    int Count() const { return static_cast<int>(FItems.size()); }
    TComponent* Item(int Index) const;   // EListError outside 0..Count-1
    int IndexOf(const TComponent* C) const;
    int Add(TComponent* C);
    int Remove(const TComponent* C);
    // Puts C in place of the source at Index (EListError outside 0..Count-1).
    void Put(int Index, TComponent* C);
    void Clear() { FItems.clear(); }
    TChartSeries* Owner() const { return FOwner; }

private:
    TChartSeries* FOwner;
    std::vector<TComponent*> FItems;
};
