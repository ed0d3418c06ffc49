// The text of an axis' value label: the value picture, the date-time format, the general
// format where the picture would mislead, and the decimals that the label step needs.
#pragma once

#include "TeEngine/AxisSettings.h"

#include <cstdint>
#include <string>
#include <unordered_map>

// The texts of numeric label values (by their bits) in the format and separators last
// asked for: a chart formats the same labels at every redraw.
class TAxisLabelTexts {
public:
    // Value formatted by Format with the current separators.
    const std::string& Text(double Value, const std::string& Format);

private:
    std::string FFormat;
    char FDecimal = 0;
    char FThousand = 0;
    std::unordered_map<uint64_t, std::string> FTexts;
};

// Turns label values into texts for one axis. It keeps the decimals that the last label
// step asked for, so that texts asked for between drawings (marks, legends) read as the
// labels do.
class TAxisLabelFormatter {
public:
    // The text of Value: on a date-time axis a date (none for a negative value) in
    // DateTimeFormat, or else in the format the range calls for (Range in days); else the
    // value picture, the default one with the decimals of the step. The chart's label
    // event and the multi-line rule are the axis' to apply.
    std::string Text(double Value, const TAxisLabelSettings& Labels, bool Logarithmic, bool DateTime, double Range);

    // Decimals of the default value picture for the current step: more than its three
    // when the labels a step apart would otherwise read the same.
    int Decimals() const { return FDecimals; }
    void SetDecimals(int Decimals) { FDecimals = Decimals; }
    // Whether labels a Step apart need more decimals than the default picture's three
    // (numeric labels in the default picture; logarithmic ones only with an increment).
    static bool StepNeedsDecimals(double Step, const TAxisLabelSettings& Labels, const TAxisStepSettings& Steps,
                                  bool DateTime);
    // The decimals that show every multiple of Step: 2 for 0.05, 5 for 0.00002; at most 15.
    static int DecimalsOfStep(double Step);

private:
    TAxisLabelTexts FTexts;
    int FDecimals = 3;
};
