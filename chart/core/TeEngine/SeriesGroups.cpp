#include "TeEngine/SeriesGroups.h"

#include "TeEngine/Series.h"
#include "TeEngine/SeriesWatcher.h"
#include "classes/Streaming.h"
#include "classes/TypInfo.h"
#include "system/ScopeGuard.h"

// ---- TSeriesGroupList ---------------------------------------------------------------

void TSeriesGroupList::Changed(TChartSeries* S, bool Added)
{
    if (auto* groups = dynamic_cast<TSeriesGroups*>(FGroup->Collection()))
        groups->SyncWatches(S);
}

// ---- TSeriesGroup -------------------------------------------------------------------

BEGIN_CLASS_INFO(TSeriesGroup, TCollectionItem)
    .ItemFactory()
    .Str("Name", &TSeriesGroup::Name, &TSeriesGroup::SetName)
END_CLASS_INFO

TSeriesGroup::TSeriesGroup(TCollection* Collection)
    : TCollectionItem(Collection), FSeries(std::make_unique<TSeriesGroupList>(this))
{
}

TSeriesGroup::~TSeriesGroup()
{
    // Let the collection stop watching the series only this group held.
    FSeries->Clear();
}

void TSeriesGroup::SetName(const std::string& Value)
{
    SetAndNotify(FName, Value, [this] { Changed(false); });
}

void TSeriesGroup::SetSeries(const TCustomSeriesList* List)
{
    if (List == nullptr)
        FSeries->Clear();
    else
        FSeries->Assign(*List);
}

TSeriesGroupActive TSeriesGroup::Active() const
{
    int active = 0;
    for (TChartSeries* s : FSeries->Items())
        if (s->Active())
            ++active;
    if (active == 0)
        return gaNo;
    return active == FSeries->Count() ? gaYes : gaSome;
}

void TSeriesGroup::SetActive(TSeriesGroupActive Value)
{
    if (Value == gaSome || Value == Active())
        return;
    FSeries->SetAllActive(Value == gaYes);
}

void TSeriesGroup::Assign(TPersistent* Source)
{
    if (auto* g = dynamic_cast<TSeriesGroup*>(Source)) {
        AssignOwnProperties(this, g, TSeriesGroup::StaticClassInfo());
        SetSeries(g->FSeries.get());   // the member list is not published
    } else {
        TCollectionItem::Assign(Source);
    }
}

void TSeriesGroup::DefineProperties(TFiler* Filer)
{
    TCollectionItem::DefineProperties(Filer);
    Filer->DefineProperty(
        "Series",
        [this](TReader* Reader) {
            FPendingNames.clear();
            Reader->ReadListBegin();
            while (!Reader->EndOfList())
                FPendingNames.push_back(Reader->ReadString());
            Reader->ReadListEnd();
        },
        [this](TWriter* Writer) {
            Writer->WriteListBegin();
            for (TChartSeries* s : FSeries->Items())
                Writer->WriteString(s->Name());
            Writer->WriteListEnd();
        },
        FSeries->Count() > 0);
}

// ---- TSeriesGroups ------------------------------------------------------------------

TSeriesGroups::TSeriesGroups(TPersistent* AOwner)
    : TOwnedCollection(AOwner, CollectionItemClassOf<TSeriesGroup>()),
      FWatcher(std::make_unique<TSeriesWatcher>([this](TChartSeries* S) { RemoveSeries(S); }))
{
}

TSeriesGroups::~TSeriesGroups()
{
    // The groups go while the watcher they report to still exists.
    Clear();
}

TSeriesGroup* TSeriesGroups::Group(int Index) const
{
    if (Index < 0 || Index >= Count())
        throw ERangeError();
    return static_cast<TSeriesGroup*>(Items(Index));
}

int TSeriesGroups::IndexOfSeries(const TChartSeries* S) const
{
    for (int t = 0; t < Count(); ++t)
        if (Group(t)->Series()->IndexOf(S) >= 0)
            return t;
    return -1;
}

void TSeriesGroups::RemoveSeries(const TChartSeries* S)
{
    for (int t = 0; t < Count(); ++t)
        while (Group(t)->Series()->Remove(S) >= 0) {
        }
}

void TSeriesGroups::SyncWatches(TChartSeries* S)
{
    if (IndexOfSeries(S) >= 0)
        FWatcher->Watch(S);
    else
        FWatcher->Unwatch(S);
}

void TSeriesGroups::ResolveNames(const TCustomSeriesList& Series)
{
    for (int t = 0; t < Count(); ++t) {
        TSeriesGroup* group = Group(t);
        std::vector<std::string> names;
        names.swap(group->FPendingNames);
        for (const std::string& name : names)
            for (TChartSeries* s : Series.Items())
                if (!name.empty() && SameText(s->Name(), name) && group->FSeries->IndexOf(s) < 0) {
                    group->FSeries->Add(s);
                    break;
                }
    }
}

void TSeriesGroups::AssignNamed(const TSeriesGroups& Source, const TCustomSeriesList& Series)
{
    BeginUpdate();
    TScopeGuard endUpdate([this] { EndUpdate(); });
    Clear();
    for (int t = 0; t < Source.Count(); ++t) {
        const TSeriesGroup* from = Source.Group(t);
        TSeriesGroup* group = Add();
        group->SetName(from->Name());
        group->FPendingNames = from->FPendingNames;
        for (TChartSeries* s : from->FSeries->Items())
            group->FPendingNames.push_back(s->Name());
    }
    ResolveNames(Series);
}
