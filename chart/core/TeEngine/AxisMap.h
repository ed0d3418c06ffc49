// The conversion between values and pixels of one axis as a plain value: the pixel
// extent, the range in use, the scale and the orientation. The axis keeps one up to date;
// series and drawing code read it (or a copy of it) instead of the axis' state.
#pragma once

#include "system/SysUtils.h"

#include <cmath>

// The largest pixel coordinate an axis conversion answers (set at engine start-up).
extern int MaxPixelPos;

// Which value-to-pixel conversion an axis uses.
enum class TAxisCalcKind { Depth, Logarithmic, LinearUnclamped, LinearClamped };

// The linear value-to-pixel conversion of an axis, copied out of it so that a drawing loop
// converts many values without a call per value; the pixels are those of CalcXPosValue
// and CalcYPosValue.
struct TAxisLinearMap {
    double Minimum = 0;
    double Scale = 0;     // pixels per unit, negative where pixels fall as values grow
    double Origin = 0;    // the pixel of Minimum
    bool Up = true;       // pixels grow with the value (Scale is the axis' own scale negated otherwise)
    bool Clamp = true;    // within +-MaxPixelPos; otherwise only within 32 bits
    bool Zero = false;    // a range of zero puts every value at Center
    int Center = 0;
    double MaxPos = 0;

    int operator()(double Value) const
    {
        if (Zero)
            return Center;
        if (Clamp)
            return Clamped(Value);
        return Unclamped(Value);
    }
    // Whether Clamped gives every pixel: no branch per value, so loops over many values
    // can run it side by side.
    bool Plain() const { return Clamp && !Zero; }
    int Clamped(double Value) const
    {
        double x = Origin + (Value - Minimum) * Scale;
        x = x < MaxPos ? x : MaxPos;     // NaN included
        x = x > -MaxPos ? x : -MaxPos;
        return RoundInt32(x);
    }
    int Unclamped(double Value) const
    {
        const double p = (Value - Minimum) * (Up ? Scale : -Scale);
        long long r;
        if (std::isnan(p))
            r = 0;
        else if (p <= -2147483648.0)
            r = -2147483648LL;
        else if (p >= 2147483647.0)
            r = 2147483647LL;
        else
            r = Round(p);
        const long long o = static_cast<long long>(Origin);
        const long long x = Up ? o + r : o - r;
        return static_cast<int>(x < -2147483648LL ? -2147483648LL : x > 2147483647LL ? 2147483647LL : x);
    }
};

// Every conversion of an axis. Pixels along X grow with the value from StartPos, pixels
// along Y from EndPos upwards; Inverted turns both round. A depth axis answers offsets
// from 0 over the chart's depth, a logarithmic one works on the logarithms of the ends.
struct TAxisScaleMap {
    // Pixel extent.
    int StartPos = 0;
    int EndPos = 0;
    int AxisSize = 0;
    int CenterPos = 0;     // where every value of a zero range lands
    // Range in use and its scale (pixels per unit; 0 for no range or no finite scale).
    double Minimum = 0;
    double Maximum = 0;
    double Range = 0;
    bool RangeZero = true;
    double Scale = 0;
    // Natural logarithms of the ends and the scale over them (logarithmic axes only).
    double LogMin = 0;
    double LogMax = 0;
    double LogRange = 0;
    double LogScale = 0;
    // The axis' settings the conversions follow.
    TAxisCalcKind Kind = TAxisCalcKind::LinearClamped;
    bool Horizontal = false;
    bool Inverted = false;
    bool Logarithmic = false;

    // Takes Start..End as the pixel extent (size and centre follow); the scale is left
    // for Rescale.
    void SetPixels(int Start, int End)
    {
        StartPos = Start;
        EndPos = End;
        AxisSize = End - Start;
        CenterPos = (Start + End) / 2;
    }
    // Range and scale from Minimum, Maximum and AxisSize; the logarithms too when
    // Logarithmic (otherwise they keep what they had).
    void Rescale();

    int CalcXPos(double Value) const { return Pos(Value, true); }
    int CalcYPos(double Value) const { return Pos(Value, false); }
    int CalcPos(double Value) const { return Pos(Value, Horizontal); }
    int Pos(double Value, bool IsHorizontal) const;
    // The value at pixel P along the axis (the inverse of CalcPos up to rounding).
    double ValueAtPixel(int P) const;
    // Pixels that a length of Value takes along the axis (0 for non-positive values).
    int ValueLengthPixels(double Value) const;
    // The conversion as a map for pixels along X (IsHorizontal) or Y; false for a
    // logarithmic or depth axis, which has no linear one.
    bool Linear(bool IsHorizontal, TAxisLinearMap& Map) const;
    // The same conversion with both ends moved by Pixels (the centre and scale stay), as a
    // series' shadow is drawn.
    TAxisScaleMap Shifted(int Pixels) const
    {
        TAxisScaleMap m = *this;
        m.StartPos += Pixels;
        m.EndPos += Pixels;
        return m;
    }

private:
    int LogPos(double Value, bool IsHorizontal) const;
    int DepthPos(double Value) const;
};

inline bool TAxisScaleMap::Linear(bool IsHorizontal, TAxisLinearMap& Map) const
{
    if (Kind == TAxisCalcKind::Depth || Kind == TAxisCalcKind::Logarithmic)
        return false;
    // From the start pixel for a normal horizontal or an inverted vertical axis.
    const bool up = IsHorizontal != Inverted;
    Map.Minimum = Minimum;
    Map.Up = up;
    Map.Scale = up ? Scale : -Scale;
    Map.Origin = up ? StartPos : EndPos;
    Map.Clamp = Kind == TAxisCalcKind::LinearClamped;
    Map.Zero = RangeZero;
    Map.Center = CenterPos;
    Map.MaxPos = MaxPixelPos;
    return true;
}
