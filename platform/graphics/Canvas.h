// The device-context canvas: pens, brushes, fonts and the drawing state of the old
// graphics interface, drawn with QPainter on a raster image (a window's off-screen image
// or a bitmap) or on any other paint device (a printer, a PDF writer).
//
// Pixel conventions are the old interface's: a rectangle or ellipse excludes its right
// and bottom edge; a line leaves out its last pixel; text is placed by the alignment
// flags (TA_*); output is aliased; font escapement is counter-clockwise in tenths of a
// degree. Clipping is a region in device pixels with a stack per canvas (PushClip /
// PopClip), never a region shared between canvases.
#pragma once

#include "graphics/Colors.h"
#include "graphics/GdiConsts.h"
#include "graphics/GraphicsObjects.h"
#include "graphics/Region.h"
#include "graphics/TextMeasure.h"
#include "graphics/Types.h"

#include <memory>
#include <string>
#include <vector>

class TGraphic;


class TCanvas : public TPersistent {
public:
    DECLARE_CLASS_NAME(TCanvas)
    TCanvas();
    ~TCanvas() override;

    // ---- drawing objects (owned by the canvas) ----
    TPen* Pen() const;
    TBrush* Brush() const;
    TFont* Font() const;
    void SetPen(TPen* v) { Pen()->Assign(v); }
    void SetBrush(TBrush* v) { Brush()->Assign(v); }
    void SetFont(TFont* v) { Font()->Assign(v); }

    // ---- the target ----
    bool HandleAllocated() const;       // a target is attached
    bool IsRaster() const;              // the target is an image whose pixels can be read
    bool IsMonochrome() const;          // the target is a 1-bit image
    TSize DeviceSize() const;           // pixels of the target
    int PixelsPerInch() const;          // 96 for images; the device's for printers
    // Image pixels per device unit: 1, or the density of the screen an image is made for.
    // Coordinates, clipping, text measures and pixel reads stay in device units; lines,
    // text and fills are drawn at the image's resolution.
    double PixelRatio() const;
    // Finishes pending output (ends the painter); the next operation starts it again.
    void Flush();

    // ---- device-context attributes ----
    TColor BkColor() const;
    void SetBkColor(TColor c);
    int BkMode() const;                 // TRANSPARENT or OPAQUE
    void SetBkMode(int mode);
    TColor TextColor() const;
    void SetTextColor(TColor c);
    TTextAlign TextAlign() const;
    void SetTextAlign(TTextAlign flags);
    int TextCharacterExtra() const;
    void SetTextCharacterExtra(int extra);
    int ArcDirection() const;
    void SetArcDirection(int dir);
    int PolyFillMode() const;
    void SetPolyFillMode(int mode);
    TPoint PenPos() const;
    void SetPenPos(TPoint p);
    TRop CopyMode() const;

    // ---- mapping (logical to device) ----
    int MapMode() const;
    void SetMapMode(int mode);
    TPoint WindowOrg() const;
    void SetWindowOrg(int x, int y);
    TSize WindowExt() const;
    void SetWindowExt(int cx, int cy);
    TPoint ViewportOrg() const;
    void SetViewportOrg(int x, int y);
    TSize ViewportExt() const;
    void SetViewportExt(int cx, int cy);
    void LPtoDP(TPoint* points, int count) const;
    void DPtoLP(TPoint* points, int count) const;
    TPoint LPtoDP(TPoint p) const { LPtoDP(&p, 1); return p; }
    TPoint DPtoLP(TPoint p) const { DPtoLP(&p, 1); return p; }

    // ---- lines and shapes (logical coordinates) ----
    void MoveTo(int x, int y);
    void LineTo(int x, int y);
    void Polyline(const TPoint* points, int count);
    void Polyline(const std::vector<TPoint>& points) { Polyline(points.data(), int(points.size())); }
    void Polygon(const TPoint* points, int count);
    void Polygon(const std::vector<TPoint>& points) { Polygon(points.data(), int(points.size())); }
    // Cubic Bezier curves: the first point, then three points per curve.
    void PolyBezier(const TPoint* points, int count);
    void Rectangle(int x1, int y1, int x2, int y2);
    void Rectangle(const TRect& r) { Rectangle(r.Left, r.Top, r.Right, r.Bottom); }
    void RoundRect(int x1, int y1, int x2, int y2, int cornerWidth, int cornerHeight);
    void Ellipse(int x1, int y1, int x2, int y2);
    void Ellipse(const TRect& r) { Ellipse(r.Left, r.Top, r.Right, r.Bottom); }
    // Arcs of the ellipse in the box, from the radial through (x3, y3) to the radial
    // through (x4, y4), in the arc direction (counter-clockwise by default).
    void Arc(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4);
    // Like Arc, but first draws a line from the current position to the arc's start and
    // leaves the current position at its end.
    void ArcTo(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4);
    void Pie(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4);
    void Chord(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4);
    // Fills with the brush, no outline; right and bottom excluded.
    void FillRect(const TRect& r);
    // Fills the Count columns from Left on: column Left + k from row Tops[k] to Bottoms[k]
    // (both included, none when Tops[k] > Bottoms[k]) in the solid colour Colours[k], as
    // FillRect fills each in a solid brush of its colour; the brush is left as it was.
    void FillColumns(int Left, int Count, const int* Tops, const int* Bottoms, const TColor* Colours);
    // A one-pixel frame painted with the brush.
    void FrameRect(const TRect& r);
    TColor Pixel(int x, int y) const;   // CLR_INVALID outside the target or the clip
    void SetPixel(int x, int y, TColor c);

    // ---- text ----
    void TextOut(int x, int y, const std::string& text);
    // Text clipped to the rectangle (and drawn opaque over it when the brush is solid).
    void TextRect(const TRect& r, int x, int y, const std::string& text);
    int TextWidth(const std::string& text) const;
    int TextHeight(const std::string& text) const;
    TSize TextExtent(const std::string& text) const;
    TTextMetric GetTextMetrics() const;
    // The measurer used for text geometry (nullptr: the installed faces).
    void SetTextMeasurer(std::shared_ptr<const TTextMeasurer> m);

    // ---- paths ----
    void BeginPath();
    void EndPath();
    void AbortPath();
    void CloseFigure();
    bool HasPath() const;               // a closed path is ready
    void WidenPath();
    void StrokePath();
    void FillPath();
    void StrokeAndFillPath();
    // Combines the path (in device pixels) with the clip region by mode (RGN_*).
    void SelectClipPath(int mode);
    TRegion PathToRegion();

    // ---- clipping (device pixels) ----
    // The clip in force; false (and an empty region) when nothing is clipped.
    bool GetClipRgn(TRegion& out) const;
    // nullptr removes clipping; otherwise the region is copied.
    void SelectClipRgn(const TRegion* region);
    void ExtSelectClipRgn(const TRegion* region, int mode);
    void IntersectClipRect(int left, int top, int right, int bottom);
    void ExcludeClipRect(int left, int top, int right, int bottom);
    // Bounds of the clip in logical units (the whole target when unclipped).
    TRect ClipRect() const;
    // Saves the current clip; PopClip restores the most recently saved one.
    void PushClip();
    void PopClip();
    int ClipDepth() const;

    // ---- bit blocks (on raster targets; answer false when impossible) ----
    bool BitBlt(int x, int y, int width, int height, const TCanvas& source, int sx, int sy, TRop rop);
    bool StretchBlt(int x, int y, int width, int height, const TCanvas& source, int sx, int sy,
                    int sw, int sh, TRop rop);
    void CopyRect(const TRect& dest, const TCanvas& source, const TRect& src);
    // A plain copy of a whole image onto a whole image of the same size (colour, no alpha,
    // unclipped, shortcuts on) shares the source's pixels until either is drawn on next,
    // instead of copying them. When this canvas's image still shares its pixels with
    // `other`'s in that way and `cover` (device units) spans this whole image, it takes
    // pixels of its own, left undefined for a copy from `other` that is about to cover them
    // again, so that `other` can be drawn on in place rather than copied first.
    void UnshareImage(const TCanvas& other, const TRect& cover);
    // Blends the source over this canvas: result = src * alpha / 255 + dst * (255 - alpha) / 255.
    bool AlphaBlend(int x, int y, int width, int height, const TCanvas& source, int sx, int sy,
                    int sw, int sh, int constantAlpha);
    void Draw(int x, int y, TGraphic* graphic);
    void StretchDraw(const TRect& r, TGraphic* graphic);

    // Off: no shortcut that draws the same pixels faster (a figure well inside a complex
    // clip drawn under the clip's largest rectangle alone); for comparing the two.
    bool Shortcuts() const;
    void SetShortcuts(bool v);

    // ---- stamps: one small picture copied to many places ----
    // Whether Stamp can write straight into the target: a colour image mapped one to one
    // (one image pixel a logical pixel), not recorded and with no path under way.
    bool CanStamp() const;
    // A picture's drawn pixels as runs along its rows relative to its pixel (HotX, HotY),
    // the hot spot, made once for a picture that stays as it is. The picture was drawn
    // twice, over black (OnBlack) and over white (OnWhite): a pixel that came out the same
    // on both is drawn, the others are left as they were.
    struct TStampRuns {
        struct Run {
            int Dy, Dx, Length, First;   // First: into Colours
        };
        std::vector<Run> Runs;
        std::vector<uint32_t> Colours;   // opaque 0xAARRGGBB
        int Left = 0, Top = 0, Right = -1, Bottom = -1;   // the picture, relative to the hot spot
    };
    static TStampRuns StampRunsOf(const TCanvas& OnBlack, const TCanvas& OnWhite, int HotX, int HotY);
    // Copies the runs' pixels with the hot spot on the device point (X, Y), within the
    // clip. Nothing happens unless CanStamp().
    void Stamp(const TStampRuns& Runs, int X, int Y);

    struct Impl;
    Impl& impl() const { return *d; }

private:
    std::unique_ptr<Impl> d;
};
