// Named groups of a chart's series, kept by the chart's series list. A group holds its
// series without owning them and forgets a series that is destroyed.
#pragma once

#include "TeEngine/Lists.h"
#include "classes/Collections.h"

#include <memory>
#include <string>
#include <vector>

class TSeriesGroup;
class TSeriesWatcher;

// Whether the series of a group are active: all, none (also an empty group) or some.
enum TSeriesGroupActive { gaYes, gaNo, gaSome };

// The series of one group; every change is reported to the groups collection, which
// watches the series for their destruction.
class TSeriesGroupList : public TCustomSeriesList {
public:
    DECLARE_CLASS_NAME(TSeriesGroupList)
    explicit TSeriesGroupList(TSeriesGroup* Group) : FGroup(Group) {}

protected:
    void Changed(TChartSeries* S, bool Added) override;

private:
    TSeriesGroup* FGroup;
};

class TSeriesGroup : public TCollectionItem {
public:
    DECLARE_CLASS_INFO(TSeriesGroup)
    explicit TSeriesGroup(TCollection* Collection);
    ~TSeriesGroup() override;

    const std::string& Name() const { return FName; }
    void SetName(const std::string& Value);
    TCustomSeriesList* Series() const { return FSeries.get(); }
    // The group takes the series of List.
    void SetSeries(const TCustomSeriesList* List);
    // Computed from the series: gaNo when none is active (or the group is empty), gaYes
    // when all are, gaSome otherwise.
    TSeriesGroupActive Active() const;
    // gaYes activates and gaNo deactivates every series; gaSome and the current state
    // change nothing.
    void SetActive(TSeriesGroupActive Value);

    std::string DisplayName() const override { return FName; }
    void Assign(TPersistent* Source) override;

protected:
    // "Series": the names of the group's series, stored when it holds any.
    void DefineProperties(TFiler* Filer) override;

private:
    friend class TSeriesGroups;
    std::string FName;
    // Names read from a stream, until the chart has its series (ResolveNames).
    std::vector<std::string> FPendingNames;
    std::unique_ptr<TSeriesGroupList> FSeries;
};

class TSeriesGroups : public TOwnedCollection {
public:
    DECLARE_CLASS_NAME(TSeriesGroups)
    explicit TSeriesGroups(TPersistent* AOwner);
    ~TSeriesGroups() override;

    TSeriesGroup* Add() { return static_cast<TSeriesGroup*>(TOwnedCollection::Add()); }
    // ERangeError outside 0..Count-1.
    TSeriesGroup* Group(int Index) const;
    TSeriesGroup* operator[](int Index) const { return Group(Index); }
    // The index of the first group holding S, or -1.
    int IndexOfSeries(const TChartSeries* S) const;
    // Every group lets S go (the chart calls this when a series leaves it).
    void RemoveSeries(const TChartSeries* S);
    // Every group takes the series of Series named by what it read from a stream
    // (compared without case); a name that matches none is dropped.
    void ResolveNames(const TCustomSeriesList& Series);
    // Takes the groups of Source (another chart's); each holds the series of Series
    // that have the names of its source group's series.
    void AssignNamed(const TSeriesGroups& Source, const TCustomSeriesList& Series);

private:
    friend class TSeriesGroupList;
    // Watches exactly the series that some group holds.
    void SyncWatches(TChartSeries* S);
    std::unique_ptr<TSeriesWatcher> FWatcher;
};
