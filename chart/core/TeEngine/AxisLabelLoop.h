// The loops that place an axis' labels, and the label step and sizes they work with.
#pragma once

#include "TeEngine/Axis.h"
#include "TeEngine/AxisLabelFormat.h"

// One pass over an axis' labels: down the values by a step, up the powers of a
// logarithmic base, as the chart's event asks, along the series' points, down the depth
// rows or over the custom labels. It reads the axis' settings as values and converts by
// Map; it notes the tick of every label it handles on the axis and hands each label to
// show to Draw (when given). Formatter takes the decimals that the step asks for.
class TAxisLabelLoop {
public:
    TAxisLabelLoop(TChartAxis& Axis, TAxisScaleMap& Map, TAxisLabelFormatter& Formatter,
                   TAxisLabelProc Draw = nullptr);

    // Empties the tick positions and runs the loop that the style and settings choose.
    void Run();

    // The label step of the range (with the decimals it needs, which the formatter keeps).
    double Step();
    // The step for labels Size pixels long.
    double StepForSize(int Size);
    // The step for at most MaxLabels labels (the smallest step when there is no room).
    double StepForCount(int MaxLabels);
    // Pixels that the label of Value takes along the axis.
    int LabelSize(double Value);
    // The widest label of the axis in pixels.
    int MaxLabelsWidth();

private:
    void Values(double Step, int StepIndex);
    void Logarithmic();
    // False when the event gave no label, so that the values are walked instead.
    bool Event();
    void Series(TAxisLabelStyle Style);
    void Depth();
    void Custom();
    // The label at V; with Dec, V then moves down by the step.
    void LabelAt(double& V, double Step, int StepIndex, bool Dec);
    void MoveDown(double& V, double Step, int StepIndex) const;
    void AddTick(int P) { A.Tick.push_back(P); }
    // Of the candidate label values (Index numbering them along the axis), those to label:
    // all when they stand their size and the label separation apart, else those whose
    // index is a multiple of the smallest stride that does (strides 1, 2, 3... with
    // EveryKth, else 1, 2, 5, 10...). Values that are not shown on the axis are left out.
    std::vector<double> Spaced(const std::vector<double>& Values, const std::vector<long long>& Index,
                               bool EveryKth);
    // The height of "W" for each line of Text.
    int LabelExtent(const std::string& Text) const;
    // The numeric step for at most MaxLabels labels: whole steps when a series on this
    // axis has no more points than labels.
    double NumericStep(int MaxLabels) const;

    TChartAxis& A;
    TCustomAxisPanel* Chart;
    TAxisScaleMap& Map;
    TAxisLabelFormatter& Formatter;
    const TAxisLabelProc Draw;
    const TAxisLabelSettings& Labels;
    const TAxisStepSettings& Steps;
    const TAxisTickSettings& Ticks;
    const bool Horizontal;
    // Whether the labels are dates.
    const bool DateTime;
};
