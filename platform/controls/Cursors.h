// Mouse cursors of the platform: the standard cursor numbers, and the screen's list of
// cursors to which a program adds its own pictures under numbers of its choice.
#pragma once

#include "graphics/Colors.h"
#include "graphics/Types.h"

#include <memory>

class TBitmap;

using TCursor = int;

// The standard cursors, numbered as on the platform.
constexpr TCursor crDefault = 0;
constexpr TCursor crNone = -1;
constexpr TCursor crArrow = -2;
constexpr TCursor crCross = -3;
constexpr TCursor crIBeam = -4;
constexpr TCursor crSizeNESW = -6;
constexpr TCursor crSizeNS = -7;
constexpr TCursor crSizeNWSE = -8;
constexpr TCursor crSizeWE = -9;
constexpr TCursor crUpArrow = -10;
constexpr TCursor crHourGlass = -11;
constexpr TCursor crDrag = -12;
constexpr TCursor crNoDrop = -13;
constexpr TCursor crHSplit = -14;
constexpr TCursor crVSplit = -15;
constexpr TCursor crMultiDrag = -16;
constexpr TCursor crSQLWait = -17;
constexpr TCursor crNo = -18;
constexpr TCursor crAppStart = -19;
constexpr TCursor crHelp = -20;
constexpr TCursor crHandPoint = -21;
constexpr TCursor crSizeAll = -22;

// The screen: its list of cursors and the mouse position.
class TScreen {
public:
    TScreen();
    ~TScreen();
    TScreen(const TScreen&) = delete;
    TScreen& operator=(const TScreen&) = delete;

    // Adds (or replaces) the cursor Index, made of Image: pixels of TransparentColor are
    // see-through; HotSpot is the pixel that points.
    void SetCursorImage(TCursor Index, const TBitmap& Image, TColor TransparentColor, TPoint HotSpot);
    // Removes a cursor that SetCursorImage added; the standard cursors stay.
    void RemoveCursor(TCursor Index);
    // True for the standard cursors and for those added and not removed.
    bool HasCursor(TCursor Index) const;
    // True when Index was added by SetCursorImage (and not removed).
    bool IsCustomCursor(TCursor Index) const;

    // The mouse position in screen pixels.
    TPoint CursorPos() const;
    // The size of the primary screen in pixels (640 x 480 without a screen).
    int Width() const;
    int Height() const;

    struct Impl;
    Impl& impl() const { return *d; }

private:
    std::unique_ptr<Impl> d;
};

// The process-wide screen object.
TScreen* Screen();
