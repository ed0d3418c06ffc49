// The Gantt series: each task a horizontal bar from its start to its end date on its
// row, with lines from the end of a task to the start of the task that follows it.
#pragma once

#include "Series.h"

class TGanttSeries : public TPointSeries {
public:
    DECLARE_SERIES_CLASS(TGanttSeries)
    explicit TGanttSeries(TComponent* AOwner);
    std::string EditorClassName() const override { return "TGanttSeriesEditor"; }

    // A task from Start to End on row Y; its NextTask is -1.
    int AddGantt(double Start, double End, double Y, const std::string& Label = {}, TColor Color = clDefault);
    int AddPointXY(double X, double Y, const std::string& Label = {}, TColor Color = clDefault) override;

    void DrawValue(int ValueIndex) override;
    // Centred between the task's start and end.
    void DrawMark(int ValueIndex, const std::string& Text, TSeriesMarkPosition& Position) override;
    // The task whose bar holds (X, Y): between its start and end pixel, within the
    // pointer's height of its row.
    int Clicked(int X, int Y) override;
    double GreatestX() const override;
    bool AcceptsDataSource(TComponent* Source) const override;
    void Assign(TPersistent* Source) override;
    // Up to NumValues - 1 tasks of the sample rows from today on, each linked from the
    // first earlier task that ends by its start and has no next task yet.
    void MakeSamplePoints(int NumValues, bool OnlyMandatory) override;
    // As a point series, each task its colour, thin bars with a gradient.
    void SetUpGalleryPreview(bool Enabled) override;

    TChartValueList* StartValues() const { return XValues(); }
    TChartValueList* EndValues() const { return FEndValues; }
    TChartValueList* NextTask() const { return FNextTask; }
    // The lines to the next task: the series' line pen.
    TChartPen* ConnectingPen() const { return Pen(); }
    void SetConnectingPen(TChartPen* Value) { Pen()->Assign(Value); }

private:
    // The pixel extent of task i: its start and end along the horizontal axis.
    int StartPixel(int Index) const { return ValueToScreenX(XValues()->Value(Index)); }
    int EndPixel(int Index) const { return ValueToScreenX(FEndValues->Value(Index)); }

    TChartValueList* FEndValues;
    TChartValueList* FNextTask;
};

// The unit's start-up registers the Gantt series in the series-type registry.
void GanttChInitialization();
void GanttChFinalization();
