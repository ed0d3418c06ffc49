// Regions in device pixels: rectangles, rounded rectangles, ellipses and polygons,
// combined with AND, OR, XOR and DIFF. Rectangular bounds exclude their right and
// bottom edge, as the graphics interface counts them.
#pragma once

#include "graphics/Types.h"

#include <memory>
#include <vector>

class TRegion {
public:
    TRegion();                        // empty
    TRegion(const TRegion& other);
    TRegion& operator=(const TRegion& other);
    TRegion(TRegion&&) noexcept;
    TRegion& operator=(TRegion&&) noexcept;
    ~TRegion();

    static TRegion CreateRect(int left, int top, int right, int bottom);
    static TRegion CreateRect(const TRect& r) { return CreateRect(r.Left, r.Top, r.Right, r.Bottom); }
    static TRegion CreateRoundRect(int left, int top, int right, int bottom, int cornerWidth, int cornerHeight);
    static TRegion CreateEllipse(int left, int top, int right, int bottom);
    // fillMode: ALTERNATE (even-odd) or WINDING.
    static TRegion CreatePolygon(const TPoint* points, int count, int fillMode);

    // this := this <op> other with RGN_AND, RGN_OR, RGN_XOR, RGN_DIFF or RGN_COPY.
    void Combine(const TRegion& other, int mode);
    void Offset(int dx, int dy);

    bool IsEmpty() const;
    bool Contains(int x, int y) const;
    TRect Bounds() const;             // (0,0,0,0) when empty
    // The region as disjoint rectangles.
    std::vector<TRect> Rects() const;
    bool operator==(const TRegion& other) const;

    struct Impl;
    Impl& impl() const { return *d; }

private:
    std::unique_ptr<Impl> d;
};
