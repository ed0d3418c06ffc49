// The plain state of a canvas: its target, its device-context attributes, its mapping,
// clipping and path. The canvas's files read and set it; how lines snap to the pixels of a
// denser image is in LineSnap.h, the fonts in FontCache.h.
#pragma once

#include "graphics/Colors.h"
#include "graphics/GdiConsts.h"
#include "graphics/ImageRef.h"
#include "graphics/TextMeasure.h"
#include "graphics/Types.h"

#include <QImage>
#include <QPainterPath>
#include <QRegion>
#include <QTransform>

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

class QPaintDevice;
class TCanvasRecorder;

struct TCanvasState {
    // target
    QPaintDevice* Device = nullptr;
    TImageRef Image;   // the raster target, through which its pixels are defined first
    bool Mono = false;
    int Dpi = 96;   // the image pixels per device unit are TLineSnap::Ratio

    // device-context attributes
    TColor BkColor = clWhite;
    int BkMode = OPAQUE;
    TColor TextColor = clBlack;
    TTextAlign TextAlign;
    int CharExtra = 0;
    int ArcDir = AD_COUNTERCLOCKWISE;
    int FillMode = ALTERNATE;
    TPoint Pos;
    TRop CopyMode = SRCCOPY;
    uint64_t FontSeen = 0;   // font version whose colour the text colour follows

    // mapping
    int MapMode = MM_TEXT;
    TPoint WinOrg, VpOrg;
    TSize WinExt{1, 1}, VpExt{1, 1};
    bool Identity = true;
    QTransform Xf;

    // Whether the canvas takes its quicker ways (each draws the pixels of the plain one).
    bool Shortcuts = true;

    // clipping, in device pixels
    std::optional<QRegion> Clip;
    std::vector<std::optional<QRegion>> ClipStack;
    // Whether the clip is a region of more than one rectangle; the device bounds, with
    // the pen's reach, of the figure being drawn; and the rectangle the painter clips an
    // image to instead of the region while it draws that figure. Within the figure's bounds the
    // region is often one rectangle, which then draws the same pixels, and the raster
    // engine draws under a rectangle far faster than under a region.
    bool ComplexClip = false;
    std::optional<QRect> FigureBounds;
    std::optional<QRect> ClipPart;

    // path
    bool InPath = false;
    bool PathReady = false;
    QPainterPath Path;

    std::shared_ptr<const TTextMeasurer> Measurer;

    // Hears of every drawing operation (a metafile canvas); not owned.
    TCanvasRecorder* Rec = nullptr;
};
