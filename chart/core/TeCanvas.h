// The chart library's drawing surface and style objects: pens, brushes, fonts, shadows,
// gradients, the 3D view options, the 2D/3D surface with its projection and solids,
// gradient and shadow painting, transparency blending and smooth stretching.
#pragma once

#include "TeCanvas/Effects.h"
#include "TeCanvas/Helpers.h"
#include "TeCanvas/StyleObjects.h"
#include "TeCanvas/Surface.h"

#include <string>

// Unit start-up: the default font from the chart texts (size "8", name "Arial").
void InitTeCanvasUnit(const std::string& defaultSizeText, const std::string& defaultNameText);

// Text at (x, y), in markup when `markup` is set (ttfHtml), else plain.
void CanvasTextOutFormatted(TTeeCanvas* surface, int x, int y, bool markup, const std::string& text);
