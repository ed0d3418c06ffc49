// The chart's zoom and panning: the settings every chart shares and the scroll event.
// The mouse handling itself is part of TCustomChart (Chart/Zoom.cpp).
#pragma once

#include "controls/CustomControls.h"

#include <functional>

class TChartAxis;

// Keys that must be held with the scroll mouse button for panning (none).
inline constexpr TShiftState TeeScrollKeyShift;
// The mouse wheel scrolls the vertical axes.
inline constexpr bool TeeUseMouseWheel = true;
// Each step of an animated zoom covers this fraction (1 / divisor) of the way left.
inline constexpr double TeeZoomAnimationDivisor = 3.0;
// The part of an axis' range one wheel notch scrolls.
inline constexpr double TeeWheelScrollFraction = 3 * 0.01;

// Asked before a pan moves Sender to AMin..AMax; the handler may change the range or
// veto the move by clearing AllowScroll.
using TChartAllowScrollEvent =
    std::function<void(TChartAxis* Sender, double& AMin, double& AMax, bool& AllowScroll)>;
