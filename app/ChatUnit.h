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
    TLineSeries* Series1;
    TPointSeries* Series2;
    TSpeedButton* sbUndoZoom;
    TSpeedButton* SpeedButton1;
    TLineSeries* Series3;

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
    // The confidence band: the two band series (created the first time, refilled after)
    // get the upper and lower curves under the axis choices of the run the chart shows,
    // so that the band lies over its curve; the window is shown.
    void ShowBand(const std::vector<TBandPoint>& Band);

private:
    // The axis choices of the run the chart shows (T and Cp before any run).
    int FXAxis = 0;
    int FYAxis = 0;
};

extern TfmChart* fmChart;
