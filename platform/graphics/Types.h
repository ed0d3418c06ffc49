// Points, sizes and rectangles of the platform, with the usual helpers. A rectangle's
// right and bottom are exclusive where the graphics interface draws or fills it.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>

// The coordinate range that the graphics code takes from outside data (metafile records,
// mappings): far beyond any device, and small enough that sums and differences of a few
// such values stay inside int.
inline constexpr int MaxDeviceCoord = 67108863;   // 2^26 - 1
constexpr int ClampDeviceCoord(int64_t v)
{
    return int(std::clamp<int64_t>(v, -MaxDeviceCoord, MaxDeviceCoord));
}
inline int ClampDeviceCoord(double v)
{
    if (std::isnan(v))
        return 0;
    return int(std::lround(std::clamp<double>(v, -MaxDeviceCoord, MaxDeviceCoord)));
}

// The largest size or offset in pixels, percentage and angle in degrees that a stored
// chart or picture gives its drawing (a property's table keeps a file's values within
// them): far beyond any sensible one, and small enough that drawing arithmetic on a few
// of them, sums or a size times a percentage, stays inside int.
inline constexpr int MaxStoredPixels = 32767;
inline constexpr int MaxStoredPercent = 10000;
inline constexpr int MaxStoredDegrees = 36000;

struct TPoint {
    int X = 0;
    int Y = 0;
    constexpr TPoint() = default;
    constexpr TPoint(int x, int y) : X(x), Y(y) {}
    friend constexpr bool operator==(const TPoint&, const TPoint&) = default;
};

struct TSize {
    int cx = 0;
    int cy = 0;
    constexpr TSize() = default;
    constexpr TSize(int w, int h) : cx(w), cy(h) {}
    friend constexpr bool operator==(const TSize&, const TSize&) = default;
};

struct TRect {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;
    constexpr TRect() = default;
    constexpr TRect(int l, int t, int r, int b) : Left(l), Top(t), Right(r), Bottom(b) {}
    constexpr TRect(TPoint tl, TPoint br) : Left(tl.X), Top(tl.Y), Right(br.X), Bottom(br.Y) {}
    constexpr int Width() const { return Right - Left; }
    constexpr int Height() const { return Bottom - Top; }
    constexpr TPoint TopLeft() const { return {Left, Top}; }
    constexpr TPoint BottomRight() const { return {Right, Bottom}; }
    friend constexpr bool operator==(const TRect&, const TRect&) = default;
};

// A point with Double coordinates (3D helpers project these).
struct TFloatPoint {
    double X = 0;
    double Y = 0;
};

constexpr TPoint Point(int x, int y) { return {x, y}; }
constexpr TRect Rect(int l, int t, int r, int b) { return {l, t, r, b}; }
constexpr TRect Bounds(int l, int t, int w, int h) { return {l, t, l + w, t + h}; }

// True when the rectangle holds no pixel (right <= left or bottom <= top).
constexpr bool IsRectEmpty(const TRect& r) { return r.Right <= r.Left || r.Bottom <= r.Top; }
// Left and top inclusive, right and bottom exclusive, as the graphics interface counts.
constexpr bool PtInRect(const TRect& r, TPoint p)
{
    return p.X >= r.Left && p.X < r.Right && p.Y >= r.Top && p.Y < r.Bottom;
}
// The common part of two rectangles; answers false (and an empty rectangle) when none.
inline bool IntersectRect(TRect& dst, const TRect& a, const TRect& b)
{
    dst = TRect(std::max(a.Left, b.Left), std::max(a.Top, b.Top), std::min(a.Right, b.Right),
                std::min(a.Bottom, b.Bottom));
    if (IsRectEmpty(dst)) {
        dst = TRect();
        return false;
    }
    return true;
}
// The smallest rectangle holding both; an empty one does not count.
inline bool UnionRect(TRect& dst, const TRect& a, const TRect& b)
{
    if (IsRectEmpty(a))
        dst = b;
    else if (IsRectEmpty(b))
        dst = a;
    else
        dst = TRect(std::min(a.Left, b.Left), std::min(a.Top, b.Top), std::max(a.Right, b.Right),
                    std::max(a.Bottom, b.Bottom));
    return !IsRectEmpty(dst);
}
inline void OffsetRect(TRect& r, int dx, int dy)
{
    r.Left += dx;
    r.Right += dx;
    r.Top += dy;
    r.Bottom += dy;
}
inline void InflateRect(TRect& r, int dx, int dy)
{
    r.Left -= dx;
    r.Right += dx;
    r.Top -= dy;
    r.Bottom += dy;
}
