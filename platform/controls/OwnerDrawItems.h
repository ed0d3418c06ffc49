// Internal to the controls: draws one owner-drawn item on a platform canvas.
#pragma once

#include "OwnerDraw.h"

#include "graphics/Colors.h"

#include <QImage>
#include <QPainter>
#include <QStyleOptionViewItem>

#include <functional>

class TCanvas;

// Draws into Image (of the item's size) through a canvas whose coordinates are Rect's,
// its brush and font preset to the highlight colours for a selected item, else to Colour
// and the window text colour; Draw gets that canvas, the item's rectangle and state.
void DrawOwnerDrawnItem(QImage& Image, const TRect& Rect, TOwnerDrawState State, TColor Colour,
                        const std::function<void(TCanvas& Canvas)>& Draw);

// Paints one row of an item view as an owner-drawn item: Draw fills an image of the row's
// size, given the row's rectangle and its selected, focused and disabled state, and the
// image is put where the row stands.
void PaintOwnerDrawnRow(QPainter* Painter, const QStyleOptionViewItem& Option,
                        const std::function<void(QImage& Image, const TRect& Rect, TOwnerDrawState State)>& Draw);
