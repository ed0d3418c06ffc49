// Markup text on a chart's drawing surface: drawn on the canvas the surface draws on,
// in the font the surface applied last, with centred runs centred across the chart
// rectangle.
#pragma once

#include "TeeHtml.h"

class TTeeCanvas;

// Draws Text with its top-left at (X, Y); nothing when the surface has no canvas.
TMarkupSize DrawMarkupText(TTeeCanvas* Surface, int X, int Y, const std::string& Text, const TRect& ChartRect);
// The size that DrawMarkupText takes, without drawing.
TMarkupSize MeasureMarkupText(TTeeCanvas* Surface, const std::string& Text, const TRect& ChartRect);
