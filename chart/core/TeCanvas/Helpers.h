// Point, rectangle and colour helpers shared by the drawing surface and the painters.
// Integer arithmetic is checked: an overflow raises EIntOverflow.
#pragma once

#include "graphics/Colors.h"
#include "graphics/Types.h"

#include <cstdint>

TPoint MakePoint(int x, int y);
TRect SetRectCorners(int left, int top, int right, int bottom);
// Edges count as inside.
bool IsPointInRect(const TRect& r, int x, int y);
bool IsTPointInRect(const TRect& r, const TPoint& p);
TRect NormalizeRectCopy(const TRect& r);
// Width = right - left, height = bottom - top.
TSize GetRectExtent(const TRect& r);
// ((left + right) div 2, (top + bottom) div 2), truncating toward zero.
TPoint GetRectMidpoint(const TRect& r);
// True when (P0.x - P1.x) * (P2.y - P1.y) - (P2.x - P1.x) * (P0.y - P1.y) < 0: clockwise
// on the screen (y down).
bool TriangleOrientation(const TPoint& p0, const TPoint& p1, const TPoint& p2);
bool IsTriangleClockwise(const TPoint* points);
void SwapPoints(TPoint& a, TPoint& b);
void SwapIntegers(int& a, int& b);
double VectorLength(double a, double b);
// The minimum and maximum of the points, right and bottom increased by 1.
TRect PolygonBounds(const TPoint* points, int count);

void ColorToRGBBytes(TColor color, uint8_t& red, uint8_t& green, uint8_t& blue);
// Each channel of the colour (resolved to RGB) reduced by the amount, not below 0.
TColor DarkenColor(TColor color, int amount);
// Each channel increased by the amount, not above 255.
TColor LightenColor(TColor color, int amount);

// Rounds half to even into an int; EIntOverflow when the value does not fit.
int TeeRound(double v);

// Shading amounts of 3D faces and bevels.
constexpr int TeeDarkenAmount = 64;
constexpr int TeeLightenAmount = 128;
