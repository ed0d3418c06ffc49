// The step between an axis' value labels, from the axis' settings and range alone: the
// numeric steps of the 1, 2, 5, 10 sequence (or powers of a logarithmic base), and the
// date-time steps.
#pragma once

// Loops that walk label values or grow a step stop after this many steps, whatever the
// range.
inline constexpr int MaxLabelSteps = 10000;

// The step after Step in the 1, 2, 5, 10 sequence (always greater than Step). Step must
// be positive and finite; anything else is answered unchanged.
double NextStepValue(double Step);

// The power of Base nearest to Value in logarithmic terms; a non-positive or non-finite
// Value is answered unchanged.
double NearestPowerOfBase(double Value, double Base);

// The settings of an axis that choose its label step.
struct TAxisStepSettings {
    double Increment = 0;          // the smallest step asked for (0: automatic)
    int LabelsSeparation = 10;     // room between labels in percent; 0 takes the first step
    bool Logarithmic = false;
    double LogarithmicBase = 10;
};

// The step for at most MaxLabels value labels over Range (the axis' maximum less its
// minimum). WholeSteps keeps an automatic step of a range of 1 or more at 1 or more: a
// series with few points along the axis gets one label per point at most.
double NumericLabelStep(const TAxisStepSettings& Settings, double Range, int MaxLabels, bool WholeSteps);

// The date-time step for at most MaxLabels labels over Range, at least Increment.
double DateTimeLabelStep(double Increment, double Range, int MaxLabels);
