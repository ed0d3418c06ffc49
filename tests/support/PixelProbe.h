// One pixel of a bitmap read back as a colour, for the drawing tests.
#pragma once

#include "graphics/Graphics.h"

namespace testsupport {

inline TColor Px(TBitmap& b, int x, int y)
{
    const TRGBQuad q = b.ScanLine(y)[x];
    return RGB(q.rgbRed, q.rgbGreen, q.rgbBlue);
}

} // namespace testsupport
