// The base of components that fill a series from elsewhere: while active and linked to a
// series, the source loads the series' data; closing it clears the series.
#pragma once

#include "classes/TypInfo.h"

#include <memory>
#include <string>
#include <vector>

class TChartSeries;
class TSeriesWatcher;

class TTeeSeriesSource : public TComponent {
public:
    DECLARE_CLASS_INFO(TTeeSeriesSource)
    explicit TTeeSeriesSource(TComponent* AOwner);
    ~TTeeSeriesSource() override;
    // The settings of another source; the series each feeds stays its own.
    void Assign(TPersistent* Source) override;

    // ---- virtual slots ----
    // When the flag changes and a series is linked: True loads the data (not while
    // loading from a stream), False clears the series (not while the source or the
    // series is being destroyed). The flag is stored either way.
    virtual void SetActive(bool Value);
    // Queries whose meaning concrete sources give; the base answers True, "", 0 and 0.
    virtual bool SourceFlag() const { return true; }
    virtual std::string SourceText() const { return {}; }
    virtual int SourceValueA() const { return 0; }
    virtual int SourceValueB() const { return 0; }
    // Whether the source can feed S; any series in the base.
    virtual bool AcceptsSeries(const TChartSeries* S) const { return S != nullptr; }
    // Whether the series' data source is a source of this class (by class name).
    virtual bool IsSourceOfSeries(const TChartSeries* S) const;
    // SetActive(False), unless loading or being destroyed.
    virtual void Close();
    // Fills the linked series; nothing in the base.
    virtual void LoadData() {}
    // SetActive(True).
    virtual void Open();

    bool Active() const { return FActive; }
    TChartSeries* Series() const { return FSeries; }
    // When different: closes, then links to the new series (which takes this source as
    // its data source); the old series loses this source.
    void SetSeries(TChartSeries* Value);

    // After streaming: links the series when it now has a chart, and loads when Active.
    void Loaded() override;

private:
    // Makes this source the data source of the linked series when its chart accepts it.
    void LinkSeries();
    bool FActive = false;
    TChartSeries* FSeries = nullptr;
    // Watches the linked series: the series drops its own link to its sources when it
    // forgets them, so the source keeps a separate one.
    std::unique_ptr<TSeriesWatcher> FWatcher;
};

// The registered classes of series sources, created on first request and freed at the
// engine's shutdown.
std::vector<const TClassInfo*>* SeriesSourceClassList();
void FreeSeriesSourceClassList();
