// Pixel helpers shared by the graphics tests.
#pragma once

#include "graphics/Graphics.h"
#include "PixelProbe.h"

#include <string>

namespace gfxtest {

// A bitmap of the size, filled white.
inline std::unique_ptr<TBitmap> WhiteBitmap(int w, int h, TPixelFormat f = pfDevice)
{
    auto b = std::make_unique<TBitmap>(w, h, f);
    return b;
}

using testsupport::Px;

// Pixels of the colour inside the rectangle (right and bottom exclusive).
inline int Count(TBitmap& b, TColor c, TRect r)
{
    int n = 0;
    for (int y = std::max(0, r.Top); y < std::min(b.Height(), r.Bottom); ++y)
        for (int x = std::max(0, r.Left); x < std::min(b.Width(), r.Right); ++x)
            n += Px(b, x, y) == c ? 1 : 0;
    return n;
}
inline int Count(TBitmap& b, TColor c) { return Count(b, c, TRect(0, 0, b.Width(), b.Height())); }

// Bounding box of the pixels that differ from `background` (empty when none).
inline TRect InkBounds(TBitmap& b, TColor background = clWhite)
{
    TRect r(b.Width(), b.Height(), 0, 0);
    for (int y = 0; y < b.Height(); ++y)
        for (int x = 0; x < b.Width(); ++x)
            if (Px(b, x, y) != background) {
                r.Left = std::min(r.Left, x);
                r.Top = std::min(r.Top, y);
                r.Right = std::max(r.Right, x + 1);
                r.Bottom = std::max(r.Bottom, y + 1);
            }
    return IsRectEmpty(r) ? TRect() : r;
}

// The picture as rows of characters: '#' for `ink`, '.' for white, '?' otherwise.
inline std::string Ascii(TBitmap& b, TColor ink = clBlack)
{
    std::string s;
    for (int y = 0; y < b.Height(); ++y) {
        for (int x = 0; x < b.Width(); ++x) {
            const TColor c = Px(b, x, y);
            s += c == ink ? '#' : c == clWhite ? '.' : '?';
        }
        s += '\n';
    }
    return s;
}

} // namespace gfxtest
