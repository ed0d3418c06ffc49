// The chart window; it defines the application's point arrays (PointArrays.h).
#pragma once

#include "PointArrays.h"

#include "controls/Buttons.h"
#include "controls/ExtCtrls.h"
#include "controls/Forms.h"

#include "Chart.h"
#include "Series.h"

#include <string>
#include <vector>

struct TRunResult;
struct TBandPoint;

// The chart window: a tool bar (Panel1) with the close, "Undo Zoom" and "&EDIT" buttons
// above the chart area (Panel2), which the chart fills: "Calculated" (the fitted curve),
// "Experiment" (the measured points) and "T^3 law" (the cubic law, with X = T^3).
class TfmChart : public TForm {
public:
    DECLARE_CLASS_NAME(TfmChart)
    explicit TfmChart(TComponent* AOwner);

    TPanel* Panel1;
    TPanel* Panel2;
    TBitBtn* BitBtn1;
    TChart* Chart1;
    // The run's series, by their names. The chart editor may change a series' type (a
    // series of another class then takes its name and place) or delete it: the fields
    // follow, and a deleted one is null and stays out of later runs.
    TChartSeries* Series1;
    TChartSeries* Series2;
    TSpeedButton* sbUndoZoom;
    TSpeedButton* SpeedButton1;
    TChartSeries* Series3;

    // Undoes the chart's zoom and hides "Undo Zoom".
    void sbUndoZoomClick(TObject* Sender);
    // The chart was zoomed or scrolled: "Undo Zoom" shows.
    void Chart1Zoom(TObject* Sender);
    // Opens the chart editor modally on the chart, which it edits in place.
    void SpeedButton1Click(TObject* Sender);

    // What a run does to the chart window, in one place: before the run the band series
    // of the last confidence band leave the chart; after it the three series show the
    // run's points, the zoom is undone, the axis and chart titles are set and the window
    // is shown.
    void RemoveBandSeries();
    void ShowRunResults(const TRunResult& Run, const std::string& XTitle, const std::string& YTitle,
                        const std::string& ChartTitle);
    // Another data file was opened: the chart shows nothing of the previous file's run,
    // as before the first run: no points, no band, no zoom, no axis titles and the title
    // "Cp".
    void ClearRunResults();
    // The confidence band: the two band series (created the first time, refilled after)
    // get the upper and lower curves under the axis choices of the run the chart shows,
    // so that the band lies over its curve; the window is shown.
    void ShowBand(const std::vector<TBandPoint>& Band);

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    // Points the run's series fields at the form's series of their names.
    void FindRunSeries();
    // The view a run starts from: no zoom, these chart and axis titles.
    void ResetView(const std::string& Title, const std::string& XTitle, const std::string& YTitle);

    // The axis choices of the run the chart shows (T and Cp before any run).
    int FXAxis = 0;
    int FYAxis = 0;
    // The two band series, owned by this window; null until the first band and after the
    // editor deleted them.
    TChartSeries* FUpper = nullptr;
    TChartSeries* FLower = nullptr;
};

extern TfmChart* fmChart;
