// Internal to the controls: draws one owner-drawn item on a platform canvas.
#pragma once

#include "OwnerDraw.h"

#include "graphics/Colors.h"

#include <QImage>

#include <functional>

class TCanvas;

// Draws into Image (of the item's size) through a canvas whose coordinates are Rect's,
// its brush and font preset to the highlight colours for a selected item, else to Colour
// and the window text colour; Draw gets that canvas, the item's rectangle and state.
void DrawOwnerDrawnItem(QImage& Image, const TRect& Rect, TOwnerDrawState State, TColor Colour,
                        const std::function<void(TCanvas& Canvas)>& Draw);
