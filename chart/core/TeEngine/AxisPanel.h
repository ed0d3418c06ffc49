// The chart panel that has axes and series. This file holds its series side: the series
// list and its changes, the series events broadcast to the panel's listeners, the
// palette choice of a new series' colour, and data-source validation and refresh. The
// axes, tools, paging, 3D sizes and the drawing pipeline join it with the axis work.
#pragma once

#include "RizUridu.h"
#include "TeEngine/Lists.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

class TChartSeries;
class TCustomChartSeries;

class TCustomAxisPanel : public TCustomTeePanelExtended {
public:
    DECLARE_CLASS_NAME(TCustomAxisPanel)
    explicit TCustomAxisPanel(TComponent* AOwner);
    ~TCustomAxisPanel() override;

    // ---- series list ----
    TChartSeriesList* SeriesList() const { return FSeriesList.get(); }
    int SeriesCount() const { return FSeriesList->Count(); }
    // ERangeError outside 0..SeriesCount-1.
    TChartSeries* Series(int Index) const;
    int IndexOfSeries(const TCustomChartSeries* S) const;
    // Makes this panel the series' chart; answers the series.
    TChartSeries* AddSeries(TChartSeries* S);
    // Called back by the series when its chart becomes this panel: appends it (once),
    // lets it take its colour, sends event 0 and repaints.
    void InternalAddSeries(TChartSeries* S);
    // Sends event 1, detaches the series and drops it from the list; nothing for a
    // negative index.
    void RemoveSeriesAt(int Index);
    void RemoveSeries(TChartSeries* S);
    // Every series of the class (every series when Match is null) leaves the chart and
    // is freed.
    void RemoveEverySeries(const std::function<bool(const TChartSeries*)>& Match = nullptr);
    // Swaps two series in the list, sends event 4 and repaints.
    void ExchangeSeries(int A, int B);
    void ExchangeSeries(TChartSeries* A, TChartSeries* B);
    int ActiveSeriesCount() const;
    // The largest point count of an active series; 0 when none.
    int MaxPointsCount() const;

    // ---- events ----
    // Broadcasts a series event (codes 0..6) to the listeners.
    void BroadcastSeriesEvent(TChartSeries* S, int Code);

    // ---- palette ----
    // The chart's own palette; empty: the default palette applies.
    const std::vector<TColor>& ColorPalette() const { return FColorPalette; }
    void SetColorPalette(const std::vector<TColor>& V) { FColorPalette = V; }
    TColor PaletteColor(int Index) const;
    // The first palette colour IsColorUnused accepts, else the palette's last colour.
    TColor UnusedSeriesColor(bool CheckBackground, TChartSeries* S);
    // Every series with the default colour gets an unused one.
    void AssignSeriesColors();
    // Whether Color is free for a new series (the chart decides).
    virtual bool IsColorUnused(TColor Color, bool CheckBackground, TChartSeries* ExceptSeries) = 0;

    // ---- data sources ----
    virtual bool IsValidDataSource(TChartSeries* S, TComponent* Source);
    virtual void SeriesSourceRemoved(TChartSeries* S, TComponent* Source) {}
    // ChartException "Circular Series dependences are not allowed" when Source feeds,
    // directly or through other series, from S.
    void CheckCircularDependence(TChartSeries* S, TComponent* Source);
    // Refills a series from its sources (skipped while it is loading).
    virtual void RefreshSeriesData(TChartSeries* S);

private:
    std::unique_ptr<TChartSeriesList> FSeriesList;
    std::vector<TColor> FColorPalette;
};
