// A canvas can carry a recorder that hears of every drawing operation before the canvas
// carries it out (the metafile canvas writes them as metafile records). The recorder
// reads the canvas's pens, brushes, fonts and attributes itself when it needs them.
#pragma once

#include "graphics/Canvas.h"

#include <string>

class TBitmap;
class TRegion;

struct TCanvasOp {
    enum Kind {
        MoveTo, LineTo, Polyline, Polygon, PolyBezier,
        Rectangle, RoundRect, Ellipse, Arc, ArcTo, Pie, Chord,
        FillRect, FrameRect, SetPixel, TextOut, TextRect,
        BeginPath, EndPath, AbortPath, CloseFigure, WidenPath, StrokePath, FillPath,
        StrokeAndFillPath, SelectClipPath,
        SelectClipRgn, ExtSelectClipRgn, IntersectClipRect, ExcludeClipRect, PushClip, PopClip,
        StretchBlt, AlphaBlend, DrawBitmap
    };
    Kind Op = MoveTo;
    // Coordinates in the order of the canvas call (a rectangle is left, top, right,
    // bottom; bit blocks are x, y, width, height, sx, sy, sw, sh); SetPixel's colour
    // is A[2]; AlphaBlend's constant alpha is Mode.
    int A[8] = {};
    const TPoint* Points = nullptr;
    int Count = 0;
    const std::string* Text = nullptr;
    const TRegion* Region = nullptr;   // nullptr with SelectClipRgn: no clipping
    int Mode = 0;                      // RGN_* of clip operations
    const TCanvas* Source = nullptr;
    TRop Rop = 0;
    const TBitmap* Bitmap = nullptr;
};

class TCanvasRecorder {
public:
    virtual ~TCanvasRecorder() = default;
    virtual void Record(TCanvas& canvas, const TCanvasOp& op) = 0;
};

// Attaches a recorder (not owned) to the canvas; nullptr detaches it.
void SetCanvasRecorder(TCanvas& canvas, TCanvasRecorder* recorder);
TCanvasRecorder* CanvasRecorder(const TCanvas& canvas);
