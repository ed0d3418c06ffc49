// The published settings of an axis as plain values: its range, its labels and its ticks.
// The axis keeps one of each (with the step settings of AxisSteps.h); the label loops,
// the label texts and the painter read them without reaching into the axis.
#pragma once

#include "TeEngine/AxisSteps.h"

#include <string>

enum TAxisLabelAlign { alDefault, alOpposite };
enum TAxisLabelStyle { talAuto, talNone, talValue, talMark, talText };

// The picture that the axis' value labels use unless another is chosen.
inline constexpr const char* DefaultAxisValuesFormat = "#,##0.###";

// The range an axis shows: its ends, and which of them follow the series.
struct TAxisRange {
    double Minimum = 0;
    double Maximum = 0;
    bool Automatic = true;
    bool AutomaticMinimum = true;
    bool AutomaticMaximum = true;
};

// How an axis' labels read and stand (the label separation is a step setting).
struct TAxisLabelSettings {
    TAxisLabelAlign Align = alDefault;
    bool Alternate = false;        // two rows, every other label on the second
    int Angle = 0;                 // degrees, 0..359
    bool OnAxis = true;            // labels at the very ends of the axis are shown
    int Size = 0;                  // fixed room across the axis in pixels (0: measured)
    TAxisLabelStyle Style = talAuto;
    bool Exponent = false;         // an exponent after "E" drawn smaller and raised
    bool MultiLine = false;        // blanks break the text into lines
    std::string ValuesFormat = DefaultAxisValuesFormat;
    std::string DateTimeFormat;    // empty: chosen by the range
    bool ExactDateTime = true;     // calendar steps for months and years
    bool RoundFirstLabel = true;   // labels on multiples of the step
};

// The lengths and counts of an axis' ticks.
struct TAxisTickSettings {
    int Length = 4;
    int InnerLength = 0;
    int MinorLength = 2;
    int MinorCount = 3;
    bool OnLabelsOnly = true;      // ticks only where a label is shown
};
