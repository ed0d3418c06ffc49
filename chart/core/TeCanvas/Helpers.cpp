#include "TeCanvas/Helpers.h"

#include "system/SysUtils.h"

#include <algorithm>
#include <cmath>
#include <limits>

TPoint MakePoint(int x, int y) { return TPoint(x, y); }
TRect SetRectCorners(int left, int top, int right, int bottom) { return TRect(left, top, right, bottom); }

bool IsPointInRect(const TRect& r, int x, int y)
{
    return x >= r.Left && x <= r.Right && y >= r.Top && y <= r.Bottom;
}

bool IsTPointInRect(const TRect& r, const TPoint& p) { return IsPointInRect(r, p.X, p.Y); }

TRect NormalizeRectCopy(const TRect& r)
{
    TRect n = r;
    if (n.Left > n.Right)
        std::swap(n.Left, n.Right);
    if (n.Top > n.Bottom)
        std::swap(n.Top, n.Bottom);
    return n;
}

TSize GetRectExtent(const TRect& r)
{
    return TSize(CheckedSub(r.Right, r.Left), CheckedSub(r.Bottom, r.Top));
}

TPoint GetRectMidpoint(const TRect& r)
{
    return TPoint(CheckedAdd(r.Left, r.Right) / 2, CheckedAdd(r.Top, r.Bottom) / 2);
}

bool TriangleOrientation(const TPoint& p0, const TPoint& p1, const TPoint& p2)
{
    const int64_t a = int64_t(p0.X - int64_t(p1.X)) * (int64_t(p2.Y) - p1.Y);
    const int64_t b = int64_t(p2.X - int64_t(p1.X)) * (int64_t(p0.Y) - p1.Y);
    const int64_t v = a - b;
    if (v > INT32_MAX || v < INT32_MIN)
        throw EIntOverflow();
    return v < 0;
}

bool IsTriangleClockwise(const TPoint* points) { return TriangleOrientation(points[0], points[1], points[2]); }

void SwapPoints(TPoint& a, TPoint& b) { std::swap(a, b); }
void SwapIntegers(int& a, int& b) { std::swap(a, b); }
double VectorLength(double a, double b) { return std::sqrt(a * a + b * b); }

TRect PolygonBounds(const TPoint* points, int count)
{
    if (points == nullptr || count <= 0)
        return TRect();
    TRect r(points[0].X, points[0].Y, points[0].X, points[0].Y);
    for (int i = 1; i < count; ++i) {
        r.Left = std::min(r.Left, points[i].X);
        r.Top = std::min(r.Top, points[i].Y);
        r.Right = std::max(r.Right, points[i].X);
        r.Bottom = std::max(r.Bottom, points[i].Y);
    }
    r.Right = CheckedAdd(r.Right, 1);
    r.Bottom = CheckedAdd(r.Bottom, 1);
    return r;
}

void ColorToRGBBytes(TColor color, uint8_t& red, uint8_t& green, uint8_t& blue)
{
    red = uint8_t(GetRValue(color));
    green = uint8_t(GetGValue(color));
    blue = uint8_t(GetBValue(color));
}

TColor DarkenColor(TColor color, int amount)
{
    const TColor c = ColorToRGB(color);
    auto ch = [amount](int v) { return std::max(0, v - amount); };
    return RGB(ch(GetRValue(c)), ch(GetGValue(c)), ch(GetBValue(c)));
}

TColor LightenColor(TColor color, int amount)
{
    const TColor c = ColorToRGB(color);
    auto ch = [amount](int v) { return std::min(255, v + amount); };
    return RGB(ch(GetRValue(c)), ch(GetGValue(c)), ch(GetBValue(c)));
}

int TeeRound(double v)
{
    if (!std::isfinite(v))
        throw EIntOverflow();
    const double r = std::nearbyint(v);   // the default rounding mode: halves to even
    if (r > double(std::numeric_limits<int>::max()) || r < double(std::numeric_limits<int>::min()))
        throw EIntOverflow();
    return int(r);
}
