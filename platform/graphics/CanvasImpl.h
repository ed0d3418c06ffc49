// Inside the canvas's own files only: the canvas's state and the helpers that its
// drawing, text, clipping and bit-block files share.
#pragma once

#include "graphics/Canvas.h"
#include "graphics/Bitmap.h"
#include "graphics/CanvasRecorder.h"
#include "graphics/CanvasState.h"
#include "graphics/FontCache.h"
#include "graphics/LineSnap.h"
#include "graphics/QtBridge.h"
#include "system/ScopeGuard.h"

#include <QFontMetrics>
#include <QGlyphRun>
#include <QPainter>
#include <QPainterPathStroker>
#include <QPolygon>
#include <QTransform>

#include <algorithm>
#include <array>
#include <map>
#include <cmath>
#include <cstring>
#include <optional>
#include <thread>
#include <unordered_map>

constexpr double kPi = 3.14159265358979323846;

// Composition mode and colour override of a binary raster operation.
struct RopInfo {
    QPainter::CompositionMode Mode = QPainter::CompositionMode_SourceOver;
    bool Nop = false;
    int Force = -1;   // 0 black, 1 white, -1 the object's colour
};

// Tells the canvas's recorder (if any) of an operation before it is carried out.
#define RECORD(...)                                                  \
    do {                                                             \
        if (TCanvasRecorder* rec_ = d->Rec) {                        \
            Impl::Mute mute_(*d);                                    \
            rec_->Record(*this, TCanvasOp{__VA_ARGS__});             \
        }                                                            \
    } while (0)

// ---- the canvas's state -------------------------------------------------------

struct TCanvas::Impl : TCanvasState, TLineSnap {
    std::unique_ptr<TPen> Pen = std::make_unique<TPen>();
    std::unique_ptr<TBrush> Brush = std::make_unique<TBrush>();
    std::unique_ptr<TFont> Font = std::make_unique<TFont>();

    QPainter Painter;

    // The part of the clip region inside b when it is one rectangle (or nothing): the
    // region's rectangles come in bands from top to bottom, and the rows of b meet one
    // span each, the same in every row, with no row left out between.
    std::optional<QRect> ClipPartWithin(const QRect& b) const;

    // Keeps the recorder quiet while one recorded operation calls another.
    struct Mute {
        Impl& D;
        TCanvasRecorder* Saved;
        explicit Mute(Impl& d) : D(d), Saved(d.Rec) { d.Rec = nullptr; }
        ~Mute() { D.Rec = Saved; }
    };

    // drawing objects built from the platform objects
    // Width, and the image pixels that Pixels and Hairline tell at a ratio that is not
    // whole (see TLineSnap), are the band's.
    struct StrokeStyle : TLineBand {
        bool Null = true;
        bool Cosmetic = true;
        bool InsideFrame = false;
        QPen Pen;
        bool Gap = false;
        QPen GapPen;
        RopInfo Rop;
        // What DirectSegment needs of the pen, worked out when the pen is: whether it can be
        // written straight into an image (DirectPen), whether it is solid, its colours, and
        // its pattern in whole pixels (Period 0 when it has none: the engine draws it), with
        // which positions are inked and where the run holding each one ends.
        static constexpr int LongestPattern = 256;
        bool DirectOk = false;
        bool Solid = false;
        QRgb PenRgb = 0, GapRgb = 0;
        int Period = 0;
        std::array<bool, LongestPattern> Inked{};
        std::array<int, LongestPattern> RunEnd{};
        void Prepare();
    } Stroke;
    uint64_t StrokeVer = 0;
    int StrokeBkMode = -1;
    TColor StrokeBk = -2;
    bool StrokeMono = false;
    double StrokeRatio = 1;

    struct FillStyle {
        bool Null = true;
        QBrush Brush;
        RopInfo Rop;
        bool Solid = true;
        QRgb SolidRgb = 0;
    } Fill;
    uint64_t FillVer = 0;
    uint64_t FillPenVer = 0;
    int FillBkMode = -1;
    TColor FillBk = -2;
    TColor FillText = -2;
    bool FillMono = false;

    QFont QtFont;
    uint64_t QtFontVer = 0;
    int QtFontExtra = -1;

    // ---- helpers ----
    QColor Col(TColor c) const
    {
        QColor q = qtbridge::ToQColor(c);
        if (Mono)
            q = QColor::fromRgb(qtbridge::ToMono(q.rgb()));
        return q;
    }

    QPainter& P();
    bool Active() const { return Device != nullptr; }
    void End()
    {
        if (Painter.isActive())
            Painter.end();
    }

    void UpdateTransform();
    void ApplyTransform()
    {
        if (Painter.isActive())
            Painter.setWorldTransform(Xf);
    }
    void ApplyClip();
    // The target in device units (an image's own pixels divided by the ratio).
    QRect DeviceRect() const
    {
        if (Device == nullptr)
            return QRect();
        if (Image != nullptr && Ratio != 1)
            return QRect(QPoint(0, 0), qtbridge::DeviceSize(Image.Shape()));
        return QRect(0, 0, Device->width(), Device->height());
    }
    QRect ImageRect(const QRect& r) const
    {
        if (Ratio == 1)
            return r;
        const int l = Px(r.left()), t = Px(r.top());
        return QRect(l, t, Px(int64_t(r.left()) + r.width()) - l, Px(int64_t(r.top()) + r.height()) - t);
    }
    QRegion ImageRegion(const QRegion& r) const
    {
        if (Ratio == 1)
            return r;
        std::vector<QRect> rects;
        rects.reserve(size_t(r.rectCount()));
        for (const QRect& q : r)
            if (const QRect m = ImageRect(q); !m.isEmpty())
                rects.push_back(m);
        QRegion out;
        out.setRects(rects.data(), int(rects.size()));
        return out;
    }
    // The image pixel that stands for a device pixel: the one under its centre.
    QPoint ImagePoint(QPoint q) const
    {
        if (Ratio == 1)
            return q;
        return QPoint(std::min(int((q.x() + 0.5) * Ratio), Image.Shape().width() - 1),
                      std::min(int((q.y() + 0.5) * Ratio), Image.Shape().height() - 1));
    }
    QRegion EffectiveClip() const { return Clip ? *Clip : QRegion(DeviceRect()); }

    // Logical to device pixels, brought into the range MaxDeviceCoord; the 64-bit
    // arguments take sums such as x + width without overflow.
    QPoint ToDevice(int64_t x, int64_t y) const
    {
        if (Identity)
            return QPoint(ClampDeviceCoord(x), ClampDeviceCoord(y));
        const QPointF p = Xf.map(QPointF(double(x), double(y)));
        return QPoint(ClampDeviceCoord(p.x()), ClampDeviceCoord(p.y()));
    }
    QRect ToDeviceRect(int l, int t, int r, int b) const
    {
        const QPoint a = ToDevice(l, t);
        const QPoint c = ToDevice(r, b);
        return QRect(QPoint(std::min(a.x(), c.x()), std::min(a.y(), c.y())),
                     QPoint(std::max(a.x(), c.x()) - 1, std::max(a.y(), c.y()) - 1));
    }

    // ---- pens ----
    // The pen of one-pixel lines: the toolkit's one-pixel pen at a ratio of 1; on a denser
    // image a pen one device unit wide, drawn through pixel centres (Centred), whose
    // square ends reach the outer edges of the end pixels.
    QPen OnePixelPen(const QColor& c) const
    {
        if (Ratio == 1)
            return QPen(c, 0, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin);
        return QPen(c, 1, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin);
    }
    template <class Shape> Shape Centred(const Shape& shape) const
    {
        return shape.translated(0.5, 0.5);
    }

    // ---- lines at a ratio that is not whole (see TLineSnap) ----
    // A one-pixel-pen polyline (device points, painter's world transform reset) snapped:
    // each segment covers, along its axis, from the band of its first point up to the
    // band of its last (left out), the next segment going on from there; a closed one
    // returns to its first point.
    // `onBands`: the points are already the image pixels that begin their bands.
    void SnappedPolyline(QPainter& p, const StrokeStyle& s, const std::vector<QPoint>& pts, bool closed,
                         bool onBands = false);
    const StrokeStyle& S();

    // ---- brushes ----
    const FillStyle& F();
    // The brush's colour at a device pixel (pattern brushes repeat from the origin).
    uint32_t BrushPixel(int x, int y);

    // ---- fonts ----
    const QFont& QF()
    {
        if (QtFontVer != Font->Version() || QtFontExtra != CharExtra) {
            QtFont = qtbridge::ToQFont(*Font, CharExtra);
            QtFontVer = Font->Version();
            QtFontExtra = CharExtra;
        }
        return QtFont;
    }
    // A changed font brings its colour to the text colour, as selecting it does.
    void SyncTextColor()
    {
        if (FontSeen != Font->Version()) {
            FontSeen = Font->Version();
            TextColor = Font->Color();
        }
    }
    const TTextMeasurer& M() const { return Measurer ? *Measurer : SystemTextMeasurer(); }

    // Metrics and widths: the given measurer, or the installed faces, whose fonts the
    // canvases on the application's thread share (see TKeptFonts), with the widths and
    // shapes of the texts met in them; FontsThread is the thread the store is for.
    using MeasuredFont = TMeasuredFont;
    std::shared_ptr<TKeptFonts> Fonts;
    std::thread::id FontsThread;
    std::shared_ptr<TMeasuredFont> Current;
    uint64_t MetricsVer = 0;
    uint64_t PainterFontVer = 0;
    int PainterFontExtra = -1;
    MeasuredFont& FM();
    TTextMetric Metrics()
    {
        if (Measurer)
            return Measurer->Metrics(*Font);
        return FM().Metric;
    }
    int Width(const std::string& text);
    // Plain text drawn again where it was drawn before, in the same colour, over the same
    // pixels: the pixels it gave then, copied, instead of drawing its glyphs anew. The
    // glyphs are drawn (and their pixels kept for next time) otherwise.
    void DirectText(MeasuredFont::Shaped& shape, QPointF at, const QColor& colour);

    // ---- primitives ----
    void SetComp(QPainter& p, const RopInfo& r) { p.setCompositionMode(r.Mode); }

    // The brush of figure interiors, which follow the pen's raster operation (FillRect,
    // FrameRect and bit blocks copy the brush as it is). False when nothing is painted.
    bool RopBrush(const FillStyle& f, QBrush& out) const
    {
        if (f.Null || f.Rop.Nop)
            return false;
        if (f.Rop.Force >= 0)
            out = QBrush(f.Rop.Force == 0 ? QColor(Qt::black) : QColor(Qt::white));
        else
            out = f.Brush;
        return true;
    }

    // The fill rule of the polygon fill mode.
    Qt::FillRule FillRule() const { return FillMode == WINDING ? Qt::WindingFill : Qt::OddEvenFill; }
    // Fills a path (logical coordinates) with the brush.
    void FillShape(const QPainterPath& path)
    {
        const FillStyle& f = F();
        QBrush brush;
        if (!RopBrush(f, brush))
            return;
        QPainter& p = P();
        SetComp(p, f.Rop);
        p.fillPath(path, brush);
    }
    // Strokes a path with the pen; geometric pens stroke through pixel centres.
    // The path in the gap pen (an opaque background's gaps of a styled line), then the pen.
    void DrawPathInPens(QPainter& p, const StrokeStyle& s, const QPainterPath& path);
    void StrokeShape(const QPainterPath& path);
    // One cosmetic segment in device pixels, from its first pixel up to but not including
    // its last. The raster engine leaves out the end with the larger coordinate whatever
    // the direction, so a segment running toward smaller coordinates along its major
    // axis is slid one step along itself: it then starts on its first pixel and stops
    // short of its last, as the old interface draws it. `dashOffset` continues a dash
    // pattern from the previous segment.
    static QLineF CosmeticLine(QPoint a, QPoint b);
    void CosmeticSegment(QPainter& p, const StrokeStyle& s, QPoint a, QPoint b, qreal dashOffset);
    // A level or upright cosmetic segment (solid or dashed), or a slanted solid one
    // (DirectSlanted), written straight into the image,
    // with the pixels the raster engine gives it: the k-th pixel from the first is inked when
    // k plus the offset falls in a dash of the pattern (every one for a solid pen), the
    // others take the gap pen or nothing. False when it cannot be: the engine then draws it.
    bool DirectSegment(const StrokeStyle& s, QPoint a, QPoint b, qreal dashOffset);
    // A slanted solid segment written straight into the image with the pixels the raster
    // engine's one-pixel stroke gives it (CosmeticLine's pixels). False, nothing done, when
    // it reaches out of the clip.
    // `inside` tells that the segment's pixels, with one more on each side, are known to lie
    // within one rectangle of the clip.
    bool DirectSlanted(QRgb pen, QPoint a, QPoint b, bool inside = false);
    // A wide solid segment (a geometric pen) written straight into the image: the pixels the
    // engine gave the same segment, in the same pen shape and under the same clip, the first
    // time it was drawn, found by drawing it once into a mask of the image's size. False,
    // nothing done, when it cannot be (the engine then draws it).
    bool DirectWide(const StrokeStyle& s, QLineF line);
    // Segments met lately on this thread, by their ends, width, cap, join and image size:
    // the runs of pixels they cover, and the bounds of those, once found. Kept for the
    // thread rather than the canvas, so that a picture drawn on a new canvas finds them
    // as the window's kept canvas does.
    struct WideSegments {
        struct Covered {
            std::vector<QRect> Runs;
            QRect Box;
            bool Found = false;
        };
        static constexpr size_t MaxSegments = 256;
        std::map<std::array<qint64, 7>, Covered> Runs;
        std::optional<QImage> Mask;   // where a segment is drawn to find its runs
        static WideSegments& ForThisThread();
    };
    // Whether segments in the pen can be written straight into the image (DirectSegment).
    bool DirectPen(const StrokeStyle& s) const { return s.DirectOk && Writable(); }
    // Calls f with each rectangle of the clip within the image (device pixels).
    template <class F> void ForClipRects(F&& f) const
    {
        const QRect image = Image.Shape().rect();
        if (!Clip) {
            f(image);
            return;
        }
        for (const QRect& r : *Clip)
            if (const QRect part = r.intersected(image); !part.isEmpty())
                f(part);
    }
    // Whether the target is a colour image mapped one to one, with nothing recorded or
    // collected into a path: one whose pixels can be written straight.
    bool PlainImage() const
    {
        return Image != nullptr && !Mono && Identity && Ratio == 1 && Rec == nullptr && !InPath &&
               (Image.Shape().format() == QImage::Format_RGB32 || Image.Shape().format() == QImage::Format_ARGB32);
    }
    // Whether pixels may be written straight into the image: shortcuts on, a plain image.
    bool Writable() const { return Shortcuts && PlainImage(); }
    // Fills a device rectangle with one opaque colour within the clip, as the raster engine
    // fills it. False (nothing done) when the image cannot be written directly.
    bool DirectFill(const QRect& r, QRgb colour);
    // Tells the image that a fill of the rectangle (logical units) in the opaque colour
    // `colour` follows, which FillRect draws over what lies beneath: when it reaches every
    // pixel of the image (an image pixel per unit, unmapped, the clip holding the whole
    // image), the white that the pixels may owe is not needed (see TImageRef).
    void FillToCome(const QRect& r, QRgb colour)
    {
        if (!Image.Owing() || qAlpha(colour) != 255 || Ratio != 1 || !Identity)
            return;
        const QRect whole = Image.Shape().rect();
        if (r.contains(whole) && (!Clip || QRegion(whole).subtracted(*Clip).isEmpty()))
            Image.Forgo();
    }
    // The columns of FillColumns written straight into the image, within the clip, a row
    // at a time. False (nothing done) when the image cannot be written directly.
    bool DirectColumns(int left, int count, const int* tops, const int* bottoms, const TColor* colours);
    std::vector<uint32_t> ColumnTop, ColumnSpan;
    std::vector<QRgb> ColumnRgb;
    struct ColumnStretch {   // a few columns side by side: their rows, and the rows all of them hold
        int From, N, Top, Bottom, FullTop, FullBottom;
    };
    std::vector<ColumnStretch> ColumnStretches;
    struct ColumnRun {   // columns From..To - 1 of a row, copied whole or through the mask
        int From, To;
        bool Masked;
    };
    std::vector<ColumnRun> ColumnRuns;
    std::vector<int> ColumnEvents;
    // Whether the whole image is a colour image unclipped and unrecorded, as a share of
    // pixels between two canvases asks of both.
    bool WholeImagePlain() const
    {
        return Shortcuts && Image != nullptr && !Mono && Rec == nullptr && !InPath &&
               Image.Shape().format() == QImage::Format_RGB32 &&
               (!Clip || QRegion(DeviceRect()).subtracted(*Clip).isEmpty());
    }
    // The pixels of `src`'s whole image, shared, as the whole of this image (see
    // TCanvas::UnshareImage). False when the copy needs more.
    bool ShareWhole(Impl& src, const QRect& from, const QRect& to, TRop rop);

    // Cosmetic polyline as a chain of segments (each leaves out its last pixel, which the
    // next one draws); the dash pattern runs on across the joins.
    void CosmeticPolyline(const QPoint* pts, int count);
    QPoint DevicePoint(QPoint q) const { return ToDevice(q.x(), q.y()); }

    // A one-pixel polyline (device points) on a denser image: one stroke a device unit
    // wide through the pixel centres, from the outer edge of the first pixel to the outer
    // edge of the pixel before the last (half a step along the major axis beyond each
    // centre), so that it covers the pixels the one-pixel line covers, at the image's
    // resolution.
    void DensePolyline(QPainter& p, const StrokeStyle& s, const std::vector<QPoint>& pts);

    void Line(int x1, int y1, int x2, int y2);

    // The ellipse box of Arc, Pie, Chord and Ellipse: right and bottom excluded.
    static QRectF ArcBox(int x1, int y1, int x2, int y2)
    {
        if (x2 < x1)
            std::swap(x1, x2);
        if (y2 < y1)
            std::swap(y1, y2);
        return QRectF(x1, y1, std::max(0, x2 - x1 - 1), std::max(0, y2 - y1 - 1));
    }
    // Start angle and sweep (degrees, counter-clockwise positive) of the radials.
    void ArcAngles(const QRectF& box, int x3, int y3, int x4, int y4, double& start, double& sweep) const;
    // The figure of Arc/Pie/Chord (kind 0, 1, 2).
    QPainterPath ArcPath(int kind, int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) const;
    // A closed figure: filled with the brush, outlined with the pen. `box` figures shrink
    // an inside-frame pen into their bounds.
    void Figure(const QPainterPath& path)
    {
        auto restore = RestoreOnExit(FigureBounds);
        const int reach = 2 + (S().Null ? 0 : S().Width);
        FigureBounds = path.boundingRect().toAlignedRect().adjusted(-reach, -reach, reach, reach);
        if (Snapped() && !S().Null) {
            P().resetTransform();
            FillShape(SnapPath(path, Xf, S(), true));
            P().setWorldTransform(Xf);
        } else {
            FillShape(path);
        }
        StrokeShape(path);
    }
    void AddOrDrawFigure(const QPainterPath& path)
    {
        if (InPath)
            Path.addPath(path);
        else
            Figure(path);
    }

    // Draws text with its alignment; in a path bracket adds the glyph outlines instead.
    void Text(int x, int y, const std::string& text, const QRect* clipTo = nullptr, bool opaqueRect = false);

    // Combines a device region into the clip.
    void CombineClip(const QRegion& r, int mode);

    // The device pixels of a block that can be seen: its rectangle within the device and
    // the clip. Nothing outside it is ever allocated or indexed.
    QRect VisiblePart(const QRect& block) const
    {
        return block.intersected(DeviceRect()).intersected(EffectiveClip().boundingRect());
    }

    // The part `visible` of a block that stretches the device rectangle `from` of `src`
    // onto the device rectangle `to`, mirrored per axis as asked: each target pixel takes
    // the source pixel under its centre; source pixels outside the image are black. Only
    // the visible part is allocated, however large the block.
    static QImage SampleBlock(const QImage& src, const QRect& from, const QRect& to, bool mirrorX, bool mirrorY,
                              const QRect& visible);

    // Copies the image pixels `from` of `src` to the image pixels `to` of the target, of
    // the same size, as they are (a plain copy, neither stretched nor mirrored), within
    // the clip. False when the copy needs more than that (another raster operation, a
    // 1-bit target, pixels outside the source, a source that overlaps the target or
    // whose pixels carry an alpha that the target would read otherwise).
    bool CopyBlock(const QImage& src, const QRect& from, const QRect& to, TRop rop);

    // Writes `src` (RGB32) at image pixel (x, y) through a raster operation, clipped.
    void RopBlit(int x, int y, const QImage& src, TRop rop);
};
