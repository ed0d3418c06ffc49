#include "TeEngine/AxisSteps.h"

#include "RizUridu/DateSteps.h"

#include <algorithm>
#include <cmath>

namespace {

// Rounds to the nearest integer, halves to even, without raising for large values.
double RoundEven(double X) { return std::nearbyint(X); }

}  // namespace

double NextStepValue(double Step)
{
    if (!(Step > 0) || !std::isfinite(Step))
        return Step;
    // Bring the step into [1, 10) by a power of ten, pick the next of 2, 5, 10, scale
    // back. The power is applied in one exact operation (powers of ten are exact doubles
    // up to 1e22), so that steps such as 10,000 come out exact and labels land on round
    // values, 0 included.
    int exponent = static_cast<int>(std::floor(std::log10(Step)));
    const auto scaled = [&](double v, int e) { return e >= 0 ? v / std::pow(10.0, e) : v * std::pow(10.0, -e); };
    const auto unscaled = [&](double v, int e) { return e >= 0 ? v * std::pow(10.0, e) : v / std::pow(10.0, -e); };
    double s = scaled(Step, exponent);
    if (s >= 10)
        s = scaled(Step, ++exponent);
    else if (s < 1)
        s = scaled(Step, --exponent);
    const double next = s < 2 ? 2 : (s < 5 ? 5 : 10);
    double result = unscaled(next, exponent);
    // Scaling back may round to the step itself (or below) at the ends of the doubles.
    if (!(result > Step))
        result = Step * 2;
    return result;
}

double NearestPowerOfBase(double Value, double Base)
{
    // No logarithm of a non-positive value: such a value is answered unchanged.
    if (!(Value > 0) || !std::isfinite(Value))
        return Value;
    const double e = std::log(Value) / std::log(Base);
    if (!std::isfinite(e))
        return Value;
    return std::pow(Base, RoundEven(e));
}

double NumericLabelStep(const TAxisStepSettings& Settings, double Range, int MaxLabels, bool WholeSteps)
{
    double step;
    if (Settings.Increment > 0) {
        step = Settings.Increment;
    } else if (Range == 0) {
        step = 1;
    } else {
        step = std::fabs(Range) / (MaxLabels + 1.0);
        if (Settings.Logarithmic)
            step = NearestPowerOfBase(step, Settings.LogarithmicBase);
        // A few points along X get one label each at most: never fractions of a point.
        if (Range >= 1 && WholeSteps)
            step = std::max(step, 1.0);
    }
    // A step too small to grow (zero, denormal or NaN from a degenerate range) starts
    // from the smallest step instead.
    if (!(step > 0))
        step = 1e-12;
    if (Settings.LabelsSeparation > 0) {
        // A logarithmic base below 1 would shrink the step: grow in 1-2-5 steps then.
        const bool byBase = Settings.Logarithmic && Settings.LogarithmicBase > 1;
        double c = MaxLabels + 1.0;
        for (int guard = 0; guard < MaxLabelSteps; ++guard) {
            const double q = Range / step;
            const bool tooMany = !(std::fabs(q) < 2147483647.0);
            if (!tooMany)
                c = RoundEven(q);
            if (tooMany || c > MaxLabels)
                step = byBase ? step * Settings.LogarithmicBase : NextStepValue(step);
            if (c <= MaxLabels || step > Range || std::isinf(step))
                break;
        }
    }
    if (std::isinf(step))
        return Range;
    return std::max(step, 1e-12);
}

double DateTimeLabelStep(double Increment, double Range, int MaxLabels)
{
    double step = std::max(DateTimeStep[dtOneMicroSecond], Increment);
    if (step > 0 && MaxLabels >= 1 && std::isfinite(Range)) {
        if (Range / step > 1000000.0)
            step = Range / 1000000.0;
        // At most a million steps to start from, and every pass grows the step.
        while (RoundEven(Range / step) > MaxLabels) {
            if (step >= DateTimeStep[dtOneYear])
                step *= 2;
            else if (step >= DateTimeStep[dtOneSecond])
                step = NextDateTimeStep(step);
            else
                step = NextStepValue(step);
        }
    }
    return std::max(DateTimeStep[dtOneMicroSecond], step);
}

