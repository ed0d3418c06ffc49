// Numeric constants of the device-context interface: text alignment, background modes,
// mapping modes, raster operations, region combination, arc direction and fill modes.
#pragma once

#include "system/Flags.h"

#include <cstdint>

// Text alignment flags (SetTextAlign). Horizontal: left 0, right 2, centre 6; vertical:
// top 0, bottom 8, baseline 24; TA_UPDATECP makes TextOut start at and advance the
// current position. Left and top are no bits, and centre and baseline hold the bits of
// right and bottom, so an alignment is read by its parts (HorzAlign, VertAlign), not by
// testing single flags.
enum TTextAlignFlag : unsigned {
    TA_NOUPDATECP = 0,
    TA_UPDATECP = 1,
    TA_LEFT = 0,
    TA_RIGHT = 2,
    TA_CENTER = 6,
    TA_TOP = 0,
    TA_BOTTOM = 8,
    TA_BASELINE = 24,
};
using TTextAlign = TFlags<TTextAlignFlag>;
DECLARE_FLAG_OPERATORS(TTextAlignFlag)

// The horizontal part of an alignment: TA_LEFT, TA_RIGHT or TA_CENTER (or the lone
// bit 4, which places text as left does).
constexpr TTextAlignFlag HorzAlign(TTextAlign a) { return TTextAlignFlag(a.Bits() & 6u); }
// The vertical part: TA_TOP, TA_BOTTOM or TA_BASELINE (or the lone bit 16, placed as top).
constexpr TTextAlignFlag VertAlign(TTextAlign a) { return TTextAlignFlag(a.Bits() & 24u); }

// Background modes.
constexpr int TRANSPARENT = 1;
constexpr int OPAQUE = 2;

// Mapping modes: MM_TEXT maps one logical unit to one pixel; MM_ANISOTROPIC scales by
// viewport extent / window extent on each axis.
constexpr int MM_TEXT = 1;
constexpr int MM_ANISOTROPIC = 8;

// Binary raster operations of pens and brushes (SetROP2); the TPenMode values follow
// the same order.
constexpr int R2_BLACK = 1;
constexpr int R2_NOTMERGEPEN = 2;
constexpr int R2_MASKNOTPEN = 3;
constexpr int R2_NOTCOPYPEN = 4;
constexpr int R2_MASKPENNOT = 5;
constexpr int R2_NOT = 6;
constexpr int R2_XORPEN = 7;
constexpr int R2_NOTMASKPEN = 8;
constexpr int R2_MASKPEN = 9;
constexpr int R2_NOTXORPEN = 10;
constexpr int R2_NOP = 11;
constexpr int R2_MERGENOTPEN = 12;
constexpr int R2_COPYPEN = 13;
constexpr int R2_MERGEPENNOT = 14;
constexpr int R2_MERGEPEN = 15;
constexpr int R2_WHITE = 16;

// Ternary raster operations of bit blocks: bits 16..23 are the truth table over
// pattern (bit 2), source (bit 1) and destination (bit 0).
using TRop = uint32_t;
constexpr TRop SRCCOPY = 0x00CC0020;
constexpr TRop SRCPAINT = 0x00EE0086;
constexpr TRop SRCAND = 0x008800C6;
constexpr TRop SRCINVERT = 0x00660046;
constexpr TRop SRCERASE = 0x00440328;
constexpr TRop NOTSRCCOPY = 0x00330008;
constexpr TRop NOTSRCERASE = 0x001100A6;
constexpr TRop MERGECOPY = 0x00C000CA;
constexpr TRop MERGEPAINT = 0x00BB0226;
constexpr TRop PATCOPY = 0x00F00021;
constexpr TRop PATPAINT = 0x00FB0A09;
constexpr TRop PATINVERT = 0x005A0049;
constexpr TRop DSTINVERT = 0x00550009;
constexpr TRop BLACKNESS = 0x00000042;
constexpr TRop WHITENESS = 0x00FF0062;

// Region combination (CombineRgn, ExtSelectClipRgn).
constexpr int RGN_AND = 1;
constexpr int RGN_OR = 2;
constexpr int RGN_XOR = 3;
constexpr int RGN_DIFF = 4;
constexpr int RGN_COPY = 5;

// Arc drawing direction.
constexpr int AD_COUNTERCLOCKWISE = 1;
constexpr int AD_CLOCKWISE = 2;

// Polygon fill modes.
constexpr int ALTERNATE = 1;
constexpr int WINDING = 2;

// Result of GetPixel outside the surface or the clip region.
constexpr int32_t CLR_INVALID = -1;
