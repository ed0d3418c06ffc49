#include "TeEngine/AxisMap.h"

namespace {

// Rounds a pixel coordinate, keeping it within +-MaxPixelPos (and NaN off the chart).
int ClampedPixel(double X)
{
    if (!(X <= MaxPixelPos))
        return MaxPixelPos;
    if (X < -MaxPixelPos)
        return -MaxPixelPos;
    return static_cast<int>(Round(X));
}

}  // namespace

void TAxisScaleMap::Rescale()
{
    Range = Maximum - Minimum;
    RangeZero = Range == 0;
    Scale = RangeZero ? 0 : AxisSize / Range;
    // A range too wide for a double (or not finite) scales nothing rather than NaN.
    if (!std::isfinite(Scale))
        Scale = 0;
    if (Logarithmic) {
        LogMin = Minimum > 0 ? std::log(Minimum) : 0;
        LogMax = Maximum > 0 ? std::log(Maximum) : 0;
        LogRange = LogMax - LogMin;
        LogScale = LogRange == 0 ? 0 : AxisSize / LogRange;
    }
}

int TAxisScaleMap::LogPos(double Value, bool IsHorizontal) const
{
    if (LogRange == 0)
        return CenterPos;
    if (!(Value > 0)) {
        if (IsHorizontal)
            return Inverted ? EndPos : StartPos;
        return Inverted ? StartPos : EndPos;
    }
    const double d = Inverted ? LogMax - std::log(Value) : std::log(Value) - LogMin;
    const double p = d * LogScale;
    return ClampedPixel(IsHorizontal ? StartPos + p : EndPos - p);
}

int TAxisScaleMap::DepthPos(double Value) const
{
    if (RangeZero)
        return CenterPos;
    const double d = Inverted ? Maximum - Value : Value - Minimum;
    return ClampedPixel(d * Scale);
}

int TAxisScaleMap::Pos(double Value, bool IsHorizontal) const
{
    switch (Kind) {
    case TAxisCalcKind::Depth:
        return DepthPos(Value);
    case TAxisCalcKind::Logarithmic:
        return LogPos(Value, IsHorizontal);
    case TAxisCalcKind::LinearUnclamped:
    case TAxisCalcKind::LinearClamped:
        break;
    }
    TAxisLinearMap map;
    Linear(IsHorizontal, map);
    return map(Value);
}

double TAxisScaleMap::ValueAtPixel(int P) const
{
    const bool fromEnd = Inverted;
    if (!Logarithmic) {
        if (AxisSize < 1)
            return 0;
        double d = fromEnd ? double(EndPos) - P : double(P) - StartPos;
        // The fraction of the axis first: the pixels times a range near the largest
        // double would overflow.
        d = d / AxisSize * Range;
        return Horizontal ? Minimum + d : Maximum - d;
    }
    const bool maxAtStart = Horizontal == Inverted;   // horizontal inverted, or vertical normal
    if (P == StartPos)
        return maxAtStart ? Maximum : Minimum;
    if (P == EndPos)
        return maxAtStart ? Minimum : Maximum;
    if (LogRange != 0 && AxisSize != 0) {
        const double d = (fromEnd ? double(EndPos) - P : double(P) - StartPos) * LogRange / AxisSize;
        return Horizontal ? std::exp(LogMin + d) : std::exp(LogMax - d);
    }
    return Minimum;
}

int TAxisScaleMap::ValueLengthPixels(double Value) const
{
    if (!(Value > 0))
        return 0;
    if (Logarithmic)
        return LogRange == 0 ? 0 : ClampedPixel(std::log(Value) * LogScale);
    return Range == 0 ? 0 : ClampedPixel(Value * Scale);
}
