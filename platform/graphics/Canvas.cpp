#include "graphics/Canvas.h"

#include "graphics/Bitmap.h"
#include "graphics/CanvasRecorder.h"
#include "graphics/QtBridge.h"
#include "system/ScopeGuard.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPainterPathStroker>
#include <QPolygon>
#include <QTransform>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <optional>
#include <unordered_map>

namespace {

constexpr double kPi = 3.14159265358979323846;
// Geometric pens stroke through pixel centres; just below one half keeps the rasterizer's
// boundary rule from favouring one side, so odd widths spread evenly.
constexpr double kCentre = 0.49;

// 8 x 8 hatch patterns, one byte per row, bit 7 the leftmost pixel.
const uint8_t kHatch[6][8] = {
    {0x00, 0x00, 0x00, 0xFF, 0x00, 0x00, 0x00, 0x00}, // bsHorizontal
    {0x10, 0x10, 0x10, 0x10, 0x10, 0x10, 0x10, 0x10}, // bsVertical
    {0x80, 0x40, 0x20, 0x10, 0x08, 0x04, 0x02, 0x01}, // bsFDiagonal (\)
    {0x01, 0x02, 0x04, 0x08, 0x10, 0x20, 0x40, 0x80}, // bsBDiagonal (/)
    {0x10, 0x10, 0x10, 0xFF, 0x10, 0x10, 0x10, 0x10}, // bsCross
    {0x81, 0x42, 0x24, 0x18, 0x18, 0x24, 0x42, 0x81}, // bsDiagCross
};

// Composition mode and colour override of a binary raster operation.
struct RopInfo {
    QPainter::CompositionMode Mode = QPainter::CompositionMode_SourceOver;
    bool Nop = false;
    int Force = -1;   // 0 black, 1 white, -1 the object's colour
};

RopInfo Rop2Info(int rop2)
{
    RopInfo r;
    switch (rop2) {
    case R2_BLACK: r.Force = 0; break;
    case R2_WHITE: r.Force = 1; break;
    case R2_NOP: r.Nop = true; break;
    case R2_NOT: r.Mode = QPainter::RasterOp_NotDestination; break;
    case R2_XORPEN: r.Mode = QPainter::RasterOp_SourceXorDestination; break;
    case R2_NOTXORPEN: r.Mode = QPainter::RasterOp_NotSourceXorDestination; break;
    case R2_MASKPEN: r.Mode = QPainter::RasterOp_SourceAndDestination; break;
    case R2_NOTMASKPEN: r.Mode = QPainter::RasterOp_NotSourceOrNotDestination; break;
    case R2_MERGEPEN: r.Mode = QPainter::RasterOp_SourceOrDestination; break;
    case R2_NOTMERGEPEN: r.Mode = QPainter::RasterOp_NotSourceAndNotDestination; break;
    case R2_MASKNOTPEN: r.Mode = QPainter::RasterOp_NotSourceAndDestination; break;
    case R2_MERGENOTPEN: r.Mode = QPainter::RasterOp_NotSourceOrDestination; break;
    case R2_MASKPENNOT: r.Mode = QPainter::RasterOp_SourceAndNotDestination; break;
    case R2_MERGEPENNOT: r.Mode = QPainter::RasterOp_SourceOrNotDestination; break;
    case R2_NOTCOPYPEN: r.Mode = QPainter::RasterOp_NotSource; break;
    default: break;
    }
    return r;
}

// Applies a ternary raster operation (truth-table byte) bitwise to 24-bit values.
inline uint32_t ApplyRop3(uint8_t table, uint32_t p, uint32_t s, uint32_t d)
{
    uint32_t out = 0;
    for (int m = 0; m < 8; ++m) {
        if (!(table & (1u << m)))
            continue;
        const uint32_t pp = (m & 4) ? p : ~p;
        const uint32_t ss = (m & 2) ? s : ~s;
        const uint32_t dd = (m & 1) ? d : ~d;
        out |= pp & ss & dd;
    }
    return out & 0xFFFFFF;
}

QString QStr(const std::string& s) { return QString::fromUtf8(s.data(), qsizetype(s.size())); }

} // namespace

// Tells the canvas's recorder (if any) of an operation before it is carried out.
#define RECORD(...)                                                  \
    do {                                                             \
        if (TCanvasRecorder* rec_ = d->Rec) {                        \
            Impl::Mute mute_(*d);                                    \
            rec_->Record(*this, TCanvasOp{__VA_ARGS__});             \
        }                                                            \
    } while (0)

// ---- the canvas's state -------------------------------------------------------

struct TCanvas::Impl {
    std::unique_ptr<TPen> Pen = std::make_unique<TPen>();
    std::unique_ptr<TBrush> Brush = std::make_unique<TBrush>();
    std::unique_ptr<TFont> Font = std::make_unique<TFont>();

    // target
    QPaintDevice* Device = nullptr;
    QImage* Image = nullptr;
    bool Mono = false;
    int Dpi = 96;
    // Image pixels per device unit: above 1 on a denser screen, where the painter scales
    // every operation and the image holds that many pixels per unit in each direction.
    double Ratio = 1;
    QPainter Painter;

    // device-context attributes
    TColor BkColor = clWhite;
    int BkMode = OPAQUE;
    TColor TextColor = clBlack;
    unsigned TextAlign = 0;
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

    // clipping, in device pixels
    std::optional<QRegion> Clip;
    std::vector<std::optional<QRegion>> ClipStack;
    // Whether the clip is a region of more than one rectangle; the device bounds, with
    // the pen's reach, of the figure being drawn; and the rectangle the painter clips an
    // image to instead of the region while it draws that figure. Within the figure's bounds the
    // region is often one rectangle, which then draws the same pixels, and the raster
    // engine draws under a rectangle far faster than under a region.
    bool Shortcuts = true;
    bool ComplexClip = false;
    std::optional<QRect> FigureBounds;
    std::optional<QRect> ClipPart;
    // The part of the clip region inside b when it is one rectangle (or nothing): the
    // region's rectangles come in bands from top to bottom, and the rows of b meet one
    // span each, the same in every row, with no row left out between.
    std::optional<QRect> ClipPartWithin(const QRect& b) const
    {
        bool any = false;
        int top = 0, bottom = 0, left = 0, right = 0;
        for (const QRect& r : *Clip) {
            if (r.bottom() < b.top())
                continue;
            if (r.top() > b.bottom())
                break;
            const int l = std::max(r.left(), b.left()), rr = std::min(r.right(), b.right());
            if (l > rr)
                continue;
            const int t = std::max(r.top(), b.top()), bt = std::min(r.bottom(), b.bottom());
            if (!any) {
                any = true;
                top = t, bottom = bt, left = l, right = rr;
            } else if (l == left && rr == right && t == bottom + 1) {
                bottom = bt;
            } else {
                return std::nullopt;
            }
        }
        return any ? QRect(QPoint(left, top), QPoint(right, bottom)) : QRect();
    }

    // path
    bool InPath = false;
    bool PathReady = false;
    QPainterPath Path;

    std::shared_ptr<const TTextMeasurer> Measurer;

    // Hears of every drawing operation (a metafile canvas); not owned.
    TCanvasRecorder* Rec = nullptr;
    // Keeps the recorder quiet while one recorded operation calls another.
    struct Mute {
        Impl& D;
        TCanvasRecorder* Saved;
        explicit Mute(Impl& d) : D(d), Saved(d.Rec) { d.Rec = nullptr; }
        ~Mute() { D.Rec = Saved; }
    };

    // drawing objects built from the platform objects
    struct StrokeStyle {
        bool Null = true;
        bool Cosmetic = true;
        bool InsideFrame = false;
        int Width = 1;
        QPen Pen;
        bool Gap = false;
        QPen GapPen;
        RopInfo Rop;
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

    QPainter& P()
    {
        if (!Painter.isActive() && Device != nullptr) {
            Painter.begin(Device);
            Painter.setRenderHint(QPainter::Antialiasing, false);
            Painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
            PainterFontVer = 0;
            ApplyTransform();
            ApplyClip();
        }
        std::optional<QRect> part;
        if (ComplexClip && Shortcuts && Identity && Ratio == 1 && Image != nullptr && FigureBounds)
            part = ClipPartWithin(*FigureBounds);
        if (part != ClipPart && Painter.isActive()) {
            Painter.resetTransform();
            if (part)
                Painter.setClipRect(*part, Qt::ReplaceClip);
            else
                Painter.setClipRegion(*Clip, Qt::ReplaceClip);
            Painter.setWorldTransform(Xf);
            ClipPart = part;
        }
        return Painter;
    }
    bool Active() const { return Device != nullptr; }
    void End()
    {
        if (Painter.isActive())
            Painter.end();
    }

    void UpdateTransform()
    {
        QTransform t;
        if (MapMode == MM_ANISOTROPIC && WinExt.cx != 0 && WinExt.cy != 0) {
            const double sx = double(VpExt.cx) / WinExt.cx;
            const double sy = double(VpExt.cy) / WinExt.cy;
            t = QTransform(sx, 0, 0, sy, VpOrg.X - WinOrg.X * sx, VpOrg.Y - WinOrg.Y * sy);
        } else {
            t = QTransform::fromTranslate(double(VpOrg.X) - WinOrg.X, double(VpOrg.Y) - WinOrg.Y);
        }
        Xf = t;
        Identity = t.isIdentity();
        ApplyTransform();
    }
    void ApplyTransform()
    {
        if (Painter.isActive())
            Painter.setWorldTransform(Xf);
    }
    void ApplyClip()
    {
        ComplexClip = Clip && Clip->rectCount() > 1;
        ClipPart.reset();
        if (!Painter.isActive())
            return;
        if (Clip) {
            Painter.resetTransform();
            Painter.setClipRegion(*Clip, Qt::ReplaceClip);
            Painter.setWorldTransform(Xf);
        } else {
            // The whole device rather than setClipping(false): after that call the
            // raster engine ignores the next non-rectangular clip region.
            Painter.resetTransform();
            Painter.setClipRegion(QRegion(DeviceRect()), Qt::ReplaceClip);
            Painter.setWorldTransform(Xf);
        }
    }
    // The target in device units (an image's own pixels divided by the ratio).
    QRect DeviceRect() const
    {
        if (Device == nullptr)
            return QRect();
        if (Image != nullptr && Ratio != 1)
            return QRect(QPoint(0, 0), qtbridge::DeviceSize(*Image));
        return QRect(0, 0, Device->width(), Device->height());
    }
    // Device units to image pixels: the same at a ratio of 1, else scaled, each edge
    // rounded, so that neighbouring rectangles stay neighbours.
    int Px(int64_t v) const { return int(std::lround(double(v) * Ratio)); }
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
        return QPoint(std::min(int((q.x() + 0.5) * Ratio), Image->width() - 1),
                      std::min(int((q.y() + 0.5) * Ratio), Image->height() - 1));
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
    const StrokeStyle& S()
    {
        const TPen& pen = *Pen;
        if (StrokeVer == pen.Version() && StrokeBkMode == BkMode && StrokeBk == BkColor && StrokeMono == Mono &&
            StrokeRatio == Ratio)
            return Stroke;
        StrokeVer = pen.Version();
        StrokeBkMode = BkMode;
        StrokeBk = BkColor;
        StrokeMono = Mono;
        StrokeRatio = Ratio;
        StrokeStyle s;
        s.Rop = Rop2Info(PenModeToRop2(pen.Mode()));
        s.Null = pen.Style() == psClear || s.Rop.Nop;
        QColor c = s.Rop.Force == 0 ? QColor(Qt::black) : s.Rop.Force == 1 ? QColor(Qt::white) : Col(pen.Color());
        const TExtPenInfo& ext = pen.ExtInfo();
        s.Width = std::max(1, pen.Width());
        s.Cosmetic = s.Width <= 1;
        s.InsideFrame = pen.Style() == psInsideFrame;
        QVector<qreal> dashes;
        bool styled = false;
        if (pen.IsExtended() && ext.Alternate) {
            dashes = {1, 1};
            styled = true;
        } else if (pen.IsExtended() && !ext.UserStyle.empty()) {
            for (int v : ext.UserStyle)
                dashes.append(std::max(1, v));
            if (dashes.size() % 2)
                dashes.append(dashes.last());
            if (!s.Cosmetic)
                for (auto& v : dashes)
                    v /= s.Width;
            styled = true;
        } else {
            static const QVector<qreal> kCosmetic[] = {{}, {18, 6}, {3, 3}, {9, 6, 3, 6}, {9, 3, 3, 3, 3, 3}};
            static const QVector<qreal> kGeometric[] = {{}, {3, 1}, {1, 1}, {3, 1, 1, 1}, {3, 1, 1, 1, 1, 1}};
            const int st = pen.Style();
            if (st >= psDash && st <= psDashDotDot) {
                dashes = s.Cosmetic ? kCosmetic[st] : kGeometric[st];
                styled = true;
            }
        }
        if (s.Cosmetic) {
            s.Pen = OnePixelPen(c);
        } else {
            Qt::PenCapStyle cap = Qt::RoundCap;
            Qt::PenJoinStyle join = Qt::RoundJoin;
            if (pen.IsExtended()) {
                cap = ext.EndCap == pecFlat ? Qt::FlatCap : ext.EndCap == pecSquare ? Qt::SquareCap : Qt::RoundCap;
                join = ext.Join == pjMiter ? Qt::MiterJoin : ext.Join == pjBevel ? Qt::BevelJoin : Qt::RoundJoin;
            }
            s.Pen = QPen(c, s.Width, Qt::SolidLine, cap, join);
        }
        if (styled && !dashes.isEmpty()) {
            // Caps would close the gaps of a wide dashed line: its dashes end flat.
            if (!s.Cosmetic)
                s.Pen.setCapStyle(Qt::FlatCap);
            s.Pen.setDashPattern(dashes);
            if (BkMode == OPAQUE && s.Cosmetic) {
                s.Gap = true;
                s.GapPen = OnePixelPen(Col(BkColor));
            }
        }
        Stroke = s;
        return Stroke;
    }

    // ---- brushes ----
    const FillStyle& F()
    {
        const TBrush& br = *Brush;
        if (FillVer == br.Version() && FillPenVer == Pen->Version() && FillBkMode == BkMode && FillBk == BkColor &&
            FillText == TextColor && FillMono == Mono)
            return Fill;
        FillVer = br.Version();
        FillPenVer = Pen->Version();
        FillBkMode = BkMode;
        FillBk = BkColor;
        FillText = TextColor;
        FillMono = Mono;
        FillStyle f;
        f.Rop = Rop2Info(PenModeToRop2(Pen->Mode()));
        const auto& pat = br.PatternPixels();
        const QColor c = Col(br.Color());
        if (!pat.Pixels.empty()) {
            QImage img(pat.Width, pat.Height, QImage::Format_RGB32);
            const QRgb fg = Col(TextColor).rgb();
            const QRgb bg = Col(BkColor).rgb();
            for (int y = 0; y < pat.Height; ++y) {
                auto* row = reinterpret_cast<QRgb*>(img.scanLine(y));
                for (int x = 0; x < pat.Width; ++x) {
                    const uint32_t v = pat.Pixels[size_t(y) * pat.Width + x];
                    QRgb q = pat.Mono ? ((v & 0xFFFFFF) == 0 ? fg : bg) : (0xFF000000u | v);
                    row[x] = Mono ? qtbridge::ToMono(q) : q;
                }
            }
            f.Null = false;
            f.Solid = false;
            f.Brush = QBrush(img);
        } else if (br.Style() == bsClear) {
            f.Null = true;
        } else if (br.Style() == bsSolid) {
            f.Null = false;
            f.Solid = true;
            f.SolidRgb = c.rgb();
            f.Brush = QBrush(c);
        } else {
            const int h = int(br.Style()) - int(bsHorizontal);
            QImage img(8, 8, QImage::Format_ARGB32_Premultiplied);
            const QRgb fg = c.rgb();
            const QRgb bg = BkMode == OPAQUE ? Col(BkColor).rgb() : 0u;
            for (int y = 0; y < 8; ++y) {
                auto* row = reinterpret_cast<QRgb*>(img.scanLine(y));
                for (int x = 0; x < 8; ++x)
                    row[x] = (kHatch[h][y] & (0x80 >> x)) ? fg : bg;
            }
            f.Null = false;
            f.Solid = false;
            f.Brush = QBrush(img);
        }
        Fill = f;
        return Fill;
    }
    // The brush's colour at a device pixel (pattern brushes repeat from the origin).
    uint32_t BrushPixel(int x, int y)
    {
        const FillStyle& f = F();
        if (f.Null)
            return 0xFFFFFF;
        if (f.Solid)
            return f.SolidRgb & 0xFFFFFF;
        const QImage img = f.Brush.textureImage();
        if (img.isNull())
            return 0;
        const int w = img.width(), h = img.height();
        const QRgb v = img.pixel(((x % w) + w) % w, ((y % h) + h) % h);
        return (qAlpha(v) == 0 ? Col(BkColor).rgb() : v) & 0xFFFFFF;
    }

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

    // Metrics and widths: the given measurer, or the installed faces. Every font met is
    // kept, by what sets its face and size, with its metrics and the widths of the texts
    // measured in it: a chart measures the same labels in the same few fonts at every
    // redraw, and finding a face is slow.
    struct MeasuredFont {
        QFontMetrics Metrics;
        TTextMetric Metric;
        std::unordered_map<std::string, int> Widths;
    };
    std::unordered_map<std::string, std::unique_ptr<MeasuredFont>> Measured;
    MeasuredFont* Current = nullptr;
    uint64_t MetricsVer = 0;
    uint64_t PainterFontVer = 0;
    int PainterFontExtra = -1;
    MeasuredFont& FM()
    {
        if (MetricsVer != Font->Version() || Current == nullptr) {
            const std::string key = Font->Name() + '\n' + std::to_string(Font->Height()) + ' ' +
                                    std::to_string(int(Font->Style())) + ' ' + std::to_string(int(Font->Pitch())) +
                                    ' ' + std::to_string(int(Font->Quality()));
            std::unique_ptr<MeasuredFont>& slot = Measured[key];
            if (!slot) {
                if (Measured.size() > 64) {   // a bound for programs that make up fonts
                    Measured.clear();
                    return FM();
                }
                slot = std::make_unique<MeasuredFont>(QFontMetrics(qtbridge::ToQFont(*Font, 0)),
                                                      SystemTextMeasurer().Metrics(*Font),
                                                      std::unordered_map<std::string, int>());
            }
            Current = slot.get();
            MetricsVer = Font->Version();
        }
        return *Current;
    }
    TTextMetric Metrics()
    {
        if (Measurer)
            return Measurer->Metrics(*Font);
        return FM().Metric;
    }
    int Width(const std::string& text, const QString& qs)
    {
        if (Measurer)
            return Measurer->TextWidth(*Font, text, CharExtra);
        if (text.empty())
            return 0;
        MeasuredFont& f = FM();
        auto at = f.Widths.find(text);
        if (at == f.Widths.end()) {
            if (f.Widths.size() > 4096)
                f.Widths.clear();
            at = f.Widths.emplace(text, f.Metrics.horizontalAdvance(qs)).first;
        }
        return at->second + CharExtra * Utf8Length(text);
    }

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
    void StrokeShape(const QPainterPath& path)
    {
        const StrokeStyle& s = S();
        if (s.Null)
            return;
        QPainter& p = P();
        SetComp(p, s.Rop);
        p.setBrush(Qt::NoBrush);
        if (s.Cosmetic) {
            const QPainterPath& shape = Ratio == 1 ? path : Centred(path);
            if (s.Gap) {
                p.setPen(s.GapPen);
                p.drawPath(shape);
            }
            p.setPen(s.Pen);
            p.drawPath(shape);
        } else {
            p.setPen(s.Pen);
            p.drawPath(path.translated(kCentre, kCentre));
        }
    }
    // One cosmetic segment in device pixels, from its first pixel up to but not including
    // its last. The raster engine leaves out the end with the larger coordinate whatever
    // the direction, so a segment running toward smaller coordinates along its major
    // axis is slid one step along itself: it then starts on its first pixel and stops
    // short of its last, as the old interface draws it. `dashOffset` continues a dash
    // pattern from the previous segment.
    static QLineF CosmeticLine(QPoint a, QPoint b)
    {
        const int dx = b.x() - a.x(), dy = b.y() - a.y();
        const int major = std::max(std::abs(dx), std::abs(dy));
        const bool backwards = std::abs(dx) >= std::abs(dy) ? dx < 0 : dy < 0;
        if (!backwards)
            return QLineF(a, b);
        // Slide the segment one step along itself: same pixels per column (row), now
        // from its first pixel to just before its last.
        const QPointF step(-double(dx) / major, -double(dy) / major);
        return QLineF(QPointF(a) + step, QPointF(b) + step);
    }
    void CosmeticSegment(QPainter& p, const StrokeStyle& s, QPoint a, QPoint b, qreal dashOffset)
    {
        if (a == b)
            return;
        const QLineF line = CosmeticLine(a, b);
        if (s.Gap) {
            p.setPen(s.GapPen);
            p.drawLine(line);
        }
        if (dashOffset != 0 && s.Pen.style() == Qt::CustomDashLine) {
            QPen pen = s.Pen;
            pen.setDashOffset(dashOffset);
            p.setPen(pen);
        } else {
            p.setPen(s.Pen);
        }
        p.drawLine(line);
    }

    // Cosmetic polyline as a chain of segments (each leaves out its last pixel, which the
    // next one draws); the dash pattern runs on across the joins.
    void CosmeticPolyline(const QPoint* pts, int count)
    {
        const StrokeStyle& s = S();
        if (s.Null || count < 2)
            return;
        QPainter& p = P();
        SetComp(p, s.Rop);
        const bool mapped = !Identity;
        if (mapped)
            p.resetTransform();
        if (Ratio != 1) {
            std::vector<QPoint> dev(pts, pts + count);
            if (mapped)
                for (QPoint& q : dev)
                    q = DevicePoint(q);
            DensePolyline(p, s, dev);
            if (mapped)
                p.setWorldTransform(Xf);
            return;
        }
        QPoint prev = mapped ? DevicePoint(pts[0]) : pts[0];
        if (!s.Gap && s.Pen.style() == Qt::SolidLine) {
            // A solid line: the pen is set once and the segments follow one another.
            // (One drawLines call for them all is not used: the raster engine then
            // strokes a steep segment with other pixels than it does on its own.)
            p.setPen(s.Pen);
            for (int i = 1; i < count; ++i) {
                const QPoint next = mapped ? DevicePoint(pts[i]) : pts[i];
                if (next != prev)
                    p.drawLine(CosmeticLine(prev, next));
                prev = next;
            }
            if (mapped)
                p.setWorldTransform(Xf);
            return;
        }
        qreal run = 0;
        for (int i = 1; i < count; ++i) {
            const QPoint next = mapped ? DevicePoint(pts[i]) : pts[i];
            CosmeticSegment(p, s, prev, next, run);
            run += std::max(std::abs(next.x() - prev.x()), std::abs(next.y() - prev.y()));
            prev = next;
        }
        if (mapped)
            p.setWorldTransform(Xf);
    }
    QPoint DevicePoint(QPoint q) const { return ToDevice(q.x(), q.y()); }

    // A one-pixel polyline (device points) on a denser image: one stroke a device unit
    // wide through the pixel centres, from the outer edge of the first pixel to the outer
    // edge of the pixel before the last (half a step along the major axis beyond each
    // centre), so that it covers the pixels the one-pixel line covers, at the image's
    // resolution.
    void DensePolyline(QPainter& p, const StrokeStyle& s, const std::vector<QPoint>& pts)
    {
        std::vector<QPointF> c;
        c.reserve(pts.size());
        for (const QPoint& q : pts)
            if (c.empty() || QPointF(q) + QPointF(0.5, 0.5) != c.back())
                c.push_back(QPointF(q) + QPointF(0.5, 0.5));
        if (c.size() < 2)
            return;
        auto halfStep = [](QPointF from, QPointF to) {
            const QPointF d = to - from;
            return d * (0.5 / std::max(std::abs(d.x()), std::abs(d.y())));
        };
        const QPointF first = halfStep(c[0], c[1]), last = halfStep(c[c.size() - 2], c.back());
        c.front() -= first;
        c.back() -= last;
        QPainterPath path(c[0]);
        for (size_t i = 1; i < c.size(); ++i)
            path.lineTo(c[i]);
        if (s.Gap) {
            QPen gap = s.GapPen;
            gap.setCapStyle(Qt::FlatCap);
            p.setPen(gap);
            p.drawPath(path);
        }
        QPen pen = s.Pen;
        pen.setCapStyle(Qt::FlatCap);
        p.setPen(pen);
        p.drawPath(path);
    }

    void Line(int x1, int y1, int x2, int y2)
    {
        const StrokeStyle& s = S();
        if (s.Null)
            return;
        if (s.Cosmetic) {
            const QPoint pts[2] = {QPoint(x1, y1), QPoint(x2, y2)};
            CosmeticPolyline(pts, 2);
            return;
        }
        QPainter& p = P();
        SetComp(p, s.Rop);
        p.setPen(s.Pen);
        p.drawLine(QPointF(x1 + kCentre, y1 + kCentre), QPointF(x2 + kCentre, y2 + kCentre));
    }

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
    void ArcAngles(const QRectF& box, int x3, int y3, int x4, int y4, double& start, double& sweep) const
    {
        // The radials through (x3, y3) and (x4, y4) cut the ellipse where its parametric
        // angle (the one the path's arc takes) is the angle of the point scaled to a circle.
        const QPointF c = box.center();
        const double sx = box.width() > 0 ? 1.0 / box.width() : 1.0;
        const double sy = box.height() > 0 ? 1.0 / box.height() : 1.0;
        start = std::atan2(-(y3 - c.y()) * sy, (x3 - c.x()) * sx) * 180.0 / kPi;
        const double end = std::atan2(-(y4 - c.y()) * sy, (x4 - c.x()) * sx) * 180.0 / kPi;
        double ccw = std::fmod(end - start, 360.0);
        if (ccw <= 0)
            ccw += 360.0;
        sweep = ArcDir == AD_CLOCKWISE ? ccw - 360.0 : ccw;
        if (sweep == 0)
            sweep = -360.0;
    }
    // The figure of Arc/Pie/Chord (kind 0, 1, 2).
    QPainterPath ArcPath(int kind, int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) const
    {
        const QRectF box = ArcBox(x1, y1, x2, y2);
        double start, sweep;
        ArcAngles(box, x3, y3, x4, y4, start, sweep);
        QPainterPath path;
        if (kind == 1) {
            path.moveTo(box.center());
            path.arcTo(box, start, sweep);
            path.closeSubpath();
        } else {
            path.arcMoveTo(box, start);
            path.arcTo(box, start, sweep);
            if (kind == 2)
                path.closeSubpath();
        }
        return path;
    }
    // A closed figure: filled with the brush, outlined with the pen. `box` figures shrink
    // an inside-frame pen into their bounds.
    void Figure(const QPainterPath& path)
    {
        auto restore = RestoreOnExit(FigureBounds);
        const int reach = 2 + (S().Null ? 0 : S().Width);
        FigureBounds = path.boundingRect().toAlignedRect().adjusted(-reach, -reach, reach, reach);
        FillShape(path);
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
    void Text(int x, int y, const std::string& text, const QRect* clipTo = nullptr, bool opaqueRect = false)
    {
        SyncTextColor();
        if (TextAlign & TA_UPDATECP) {
            x = Pos.X;
            y = Pos.Y;
        }
        const QString qs = QStr(text);
        const TTextMetric m = Metrics();
        // The width places right and centred text, paints the opaque cell and advances
        // the current position; left-aligned transparent text needs none of that.
        const bool needWidth = (TextAlign & (TA_HORZMASK | TA_UPDATECP)) != 0 || BkMode == OPAQUE || InPath;
        const int w = needWidth ? Width(text, qs) : 0;
        double dx = 0;
        switch (TextAlign & TA_HORZMASK) {
        case TA_RIGHT: dx = -w; break;
        case TA_CENTER: dx = -(w / 2); break;
        default: break;
        }
        double top = 0;
        switch (TextAlign & TA_VERTMASK) {
        case TA_BASELINE: top = -m.Ascent; break;
        case TA_BOTTOM: top = -m.Height; break;
        default: break;
        }
        const double angle = Font->Orientation() / 10.0;
        if (InPath) {
            QPainterPath tp;
            tp.addText(QPointF(dx, top + m.Ascent), QF(), qs);
            QTransform t;
            t.translate(x, y);
            t.rotate(-angle);
            Path.addPath(t.map(tp));
        } else if (Active()) {
            QPainter& p = P();
            // Plain text needs no saved painter state; rotated or clipped text does.
            const bool simple = clipTo == nullptr && angle == 0;
            QPointF origin(x + dx, y + top);
            if (!simple) {
                p.save();
                if (clipTo)
                    p.setClipRect(*clipTo, Qt::IntersectClip);
                p.setCompositionMode(QPainter::CompositionMode_SourceOver);
                if (opaqueRect && clipTo && Brush->Style() != bsClear)
                    p.fillRect(*clipTo, Col(Brush->Color()));
                p.translate(x, y);
                if (angle != 0)
                    p.rotate(-angle);
                origin = QPointF(dx, top);
            }
            p.setCompositionMode(QPainter::CompositionMode_SourceOver);
            if (BkMode == OPAQUE && !text.empty())
                p.fillRect(QRectF(origin.x(), origin.y(), w, m.Height), Col(BkColor));
            if (simple) {
                if (PainterFontVer != QtFontVer || PainterFontExtra != QtFontExtra || QtFontVer != Font->Version()) {
                    p.setFont(QF());
                    PainterFontVer = QtFontVer;
                    PainterFontExtra = QtFontExtra;
                }
            } else {
                p.setFont(QF());
            }
            const QColor tc = Col(TextColor);
            if (p.pen().style() != Qt::SolidLine || p.pen().color() != tc || p.pen().widthF() != 0)
                p.setPen(QPen(tc, 0));
            p.drawText(QPointF(origin.x(), origin.y() + m.Ascent), qs);
            if (!simple) {
                p.restore();
                PainterFontVer = 0;
            }
        }
        if (TextAlign & TA_UPDATECP) {
            const double a = angle * kPi / 180.0;
            const int adv = (TextAlign & TA_HORZMASK) == TA_RIGHT ? -w : w;
            Pos.X = x + int(std::lround(adv * std::cos(a)));
            Pos.Y = y - int(std::lround(adv * std::sin(a)));
        }
    }

    // Combines a device region into the clip.
    void CombineClip(const QRegion& r, int mode)
    {
        switch (mode) {
        case RGN_AND: Clip = EffectiveClip().intersected(r); break;
        case RGN_OR: Clip = Clip ? Clip->united(r) : QRegion(DeviceRect()).united(r); break;
        case RGN_XOR: Clip = EffectiveClip().xored(r); break;
        case RGN_DIFF: Clip = EffectiveClip().subtracted(r); break;
        case RGN_COPY: Clip = r; break;
        default: return;
        }
        ApplyClip();
    }

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
                              const QRect& visible)
    {
        // Source column (row) of each visible column (row), -1 outside the image.
        auto axis = [](int visibleFrom, int count, int toFrom, int toCount, int fromFrom, int fromCount, bool mirror,
                       int imageSize) {
            std::vector<int> at(static_cast<size_t>(count));
            for (int k = 0; k < count; ++k) {
                int64_t t = int64_t(visibleFrom) + k - toFrom;
                if (mirror)
                    t = toCount - 1 - t;
                const int64_t j = int64_t(fromFrom) + (2 * t + 1) * fromCount / (2 * int64_t(toCount));
                at[size_t(k)] = j >= 0 && j < imageSize ? int(j) : -1;
            }
            return at;
        };
        const std::vector<int> cols = axis(visible.left(), visible.width(), to.left(), to.width(), from.left(),
                                           from.width(), mirrorX, src.width());
        const std::vector<int> rows = axis(visible.top(), visible.height(), to.top(), to.height(), from.top(),
                                           from.height(), mirrorY, src.height());
        const QImage pixels = src.format() == QImage::Format_RGB32 || src.format() == QImage::Format_ARGB32
                                  ? src
                                  : src.convertToFormat(QImage::Format_RGB32);
        QImage out(visible.size(), QImage::Format_RGB32);
        for (int yy = 0; yy < visible.height(); ++yy) {
            auto* row = reinterpret_cast<QRgb*>(out.scanLine(yy));
            const int sy = rows[size_t(yy)];
            const auto* srow = sy >= 0 ? reinterpret_cast<const QRgb*>(pixels.constScanLine(sy)) : nullptr;
            for (int xx = 0; xx < visible.width(); ++xx) {
                const int sx = cols[size_t(xx)];
                row[xx] = srow != nullptr && sx >= 0 ? (srow[sx] | 0xFF000000u) : 0xFF000000u;
            }
        }
        return out;
    }

    // Copies the image pixels `from` of `src` to the image pixels `to` of the target, of
    // the same size, as they are (a plain copy, neither stretched nor mirrored), within
    // the clip. False when the copy needs more than that (another raster operation, a
    // 1-bit target, pixels outside the source, a source that overlaps the target or
    // whose pixels carry an alpha that the target would read otherwise).
    bool CopyBlock(const QImage& src, const QRect& from, const QRect& to, TRop rop)
    {
        if (Image == nullptr || rop != SRCCOPY || Mono || from.size() != to.size() || !src.rect().contains(from))
            return false;
        const QImage::Format sf = src.format(), tf = Image->format();
        const bool compatible = sf == QImage::Format_RGB32 ||
                                (sf == QImage::Format_ARGB32_Premultiplied && tf == QImage::Format_ARGB32_Premultiplied);
        if (!compatible || (tf != QImage::Format_RGB32 && tf != QImage::Format_ARGB32_Premultiplied))
            return false;
        if (&src == Image && from.intersects(to))
            return false;
        const QRegion region = ImageRegion(EffectiveClip()).intersected(to.intersected(Image->rect()));
        const int dx = from.left() - to.left(), dy = from.top() - to.top();
        for (const QRect& r : region)
            for (int yy = r.top(); yy <= r.bottom(); ++yy)
                std::memcpy(reinterpret_cast<QRgb*>(Image->scanLine(yy)) + r.left(),
                            reinterpret_cast<const QRgb*>(src.constScanLine(yy + dy)) + r.left() + dx,
                            size_t(r.width()) * 4);
        return true;
    }

    // Writes `src` (RGB32) at image pixel (x, y) through a raster operation, clipped.
    void RopBlit(int x, int y, const QImage& src, TRop rop)
    {
        const uint8_t table = uint8_t((rop >> 16) & 0xFF);
        const QRect target = QRect(x, y, src.width(), src.height()).intersected(Image->rect());
        if (target.isEmpty())
            return;
        const QRegion region = ImageRegion(EffectiveClip()).intersected(target);
        const bool usesPattern = ((table >> 4) & 0x0F) != (table & 0x0F);
        for (const QRect& r : region) {
            for (int yy = r.top(); yy <= r.bottom(); ++yy) {
                auto* drow = reinterpret_cast<QRgb*>(Image->scanLine(yy));
                // r lies inside the device and the block: the offsets into src are in range.
                const auto* srow = reinterpret_cast<const QRgb*>(src.constScanLine(yy - y));
                const int64_t dx = int64_t(r.left()) - x;
                if (table == 0xCC && !Mono) {
                    std::memcpy(drow + r.left(), srow + dx, size_t(r.width()) * 4);
                    continue;
                }
                for (int xx = r.left(); xx <= r.right(); ++xx) {
                    // The brush pattern repeats in device units.
                    const uint32_t pat = !usesPattern ? 0
                                         : Ratio == 1 ? BrushPixel(xx, yy)
                                                      : BrushPixel(int(xx / Ratio), int(yy / Ratio));
                    uint32_t v = ApplyRop3(table, pat, srow[dx + (xx - r.left())], drow[xx]) | 0xFF000000u;
                    drow[xx] = Mono ? qtbridge::ToMono(v) : v;
                }
            }
        }
    }
};

// ---- construction and objects ------------------------------------------------

TCanvas::TCanvas() : d(std::make_unique<Impl>()) {}
TCanvas::~TCanvas() { d->End(); }

TPen* TCanvas::Pen() const { return d->Pen.get(); }
TBrush* TCanvas::Brush() const { return d->Brush.get(); }
TFont* TCanvas::Font() const { return d->Font.get(); }

bool TCanvas::HandleAllocated() const { return d->Device != nullptr; }
bool TCanvas::IsRaster() const { return d->Image != nullptr; }
bool TCanvas::IsMonochrome() const { return d->Mono; }
TSize TCanvas::DeviceSize() const
{
    const QRect r = d->DeviceRect();
    return TSize(r.width(), r.height());
}
int TCanvas::PixelsPerInch() const { return d->Dpi; }
double TCanvas::PixelRatio() const { return d->Ratio; }
void TCanvas::Flush() { d->End(); }

// ---- attributes ---------------------------------------------------------------

TColor TCanvas::BkColor() const { return d->BkColor; }
void TCanvas::SetBkColor(TColor c) { d->BkColor = c; }
int TCanvas::BkMode() const { return d->BkMode; }
void TCanvas::SetBkMode(int mode)
{
    if (mode == TRANSPARENT || mode == OPAQUE)
        d->BkMode = mode;
}
TColor TCanvas::TextColor() const
{
    d->SyncTextColor();
    return d->TextColor;
}
void TCanvas::SetTextColor(TColor c)
{
    d->SyncTextColor();
    d->TextColor = c;
}
unsigned TCanvas::TextAlign() const { return d->TextAlign; }
void TCanvas::SetTextAlign(unsigned flags) { d->TextAlign = flags; }
int TCanvas::TextCharacterExtra() const { return d->CharExtra; }
void TCanvas::SetTextCharacterExtra(int extra) { d->CharExtra = extra; }
int TCanvas::ArcDirection() const { return d->ArcDir; }
void TCanvas::SetArcDirection(int dir)
{
    if (dir == AD_CLOCKWISE || dir == AD_COUNTERCLOCKWISE)
        d->ArcDir = dir;
}
int TCanvas::PolyFillMode() const { return d->FillMode; }
void TCanvas::SetPolyFillMode(int mode)
{
    if (mode == ALTERNATE || mode == WINDING)
        d->FillMode = mode;
}
TPoint TCanvas::PenPos() const { return d->Pos; }
void TCanvas::SetPenPos(TPoint p) { MoveTo(p.X, p.Y); }
TRop TCanvas::CopyMode() const { return d->CopyMode; }
void TCanvas::SetCopyMode(TRop rop) { d->CopyMode = rop; }

// ---- mapping ------------------------------------------------------------------

int TCanvas::MapMode() const { return d->MapMode; }
void TCanvas::SetMapMode(int mode)
{
    if (mode != MM_TEXT && mode != MM_ANISOTROPIC)
        return;
    d->MapMode = mode;
    if (mode == MM_TEXT) {
        d->WinExt = TSize(1, 1);
        d->VpExt = TSize(1, 1);
    }
    d->UpdateTransform();
}
TPoint TCanvas::WindowOrg() const { return d->WinOrg; }
void TCanvas::SetWindowOrg(int x, int y)
{
    d->WinOrg = TPoint(x, y);
    d->UpdateTransform();
}
TSize TCanvas::WindowExt() const { return d->WinExt; }
void TCanvas::SetWindowExt(int cx, int cy)
{
    if (d->MapMode != MM_ANISOTROPIC || cx == 0 || cy == 0)
        return;
    d->WinExt = TSize(cx, cy);
    d->UpdateTransform();
}
TPoint TCanvas::ViewportOrg() const { return d->VpOrg; }
void TCanvas::SetViewportOrg(int x, int y)
{
    d->VpOrg = TPoint(x, y);
    d->UpdateTransform();
}
TSize TCanvas::ViewportExt() const { return d->VpExt; }
void TCanvas::SetViewportExt(int cx, int cy)
{
    if (d->MapMode != MM_ANISOTROPIC || cx == 0 || cy == 0)
        return;
    d->VpExt = TSize(cx, cy);
    d->UpdateTransform();
}
void TCanvas::LPtoDP(TPoint* points, int count) const
{
    for (int i = 0; i < count; ++i) {
        const QPoint q = d->ToDevice(points[i].X, points[i].Y);
        points[i] = TPoint(q.x(), q.y());
    }
}
void TCanvas::DPtoLP(TPoint* points, int count) const
{
    const QTransform inv = d->Xf.inverted();
    for (int i = 0; i < count; ++i) {
        const QPointF q = inv.map(QPointF(points[i].X, points[i].Y));
        points[i] = TPoint(ClampDeviceCoord(q.x()), ClampDeviceCoord(q.y()));
    }
}

// ---- lines and shapes ---------------------------------------------------------

void TCanvas::MoveTo(int x, int y)
{
    RECORD(.Op = TCanvasOp::MoveTo, .A = {x, y});
    d->Pos = TPoint(x, y);
    if (d->InPath)
        d->Path.moveTo(x, y);
}

void TCanvas::LineTo(int x, int y)
{
    RECORD(.Op = TCanvasOp::LineTo, .A = {x, y});
    if (d->InPath) {
        if (d->Path.elementCount() == 0)
            d->Path.moveTo(d->Pos.X, d->Pos.Y);
        d->Path.lineTo(x, y);
    } else if (d->Active()) {
        d->Line(d->Pos.X, d->Pos.Y, x, y);
    }
    d->Pos = TPoint(x, y);
}

void TCanvas::Polyline(const TPoint* points, int count)
{
    if (points != nullptr && count >= 2)
        RECORD(.Op = TCanvasOp::Polyline, .Points = points, .Count = count);
    if (points == nullptr || count < 2)
        return;
    const auto pathOf = [&] {
        QPainterPath path;
        path.moveTo(points[0].X, points[0].Y);
        for (int i = 1; i < count; ++i)
            path.lineTo(points[i].X, points[i].Y);
        return path;
    };
    if (d->InPath) {
        d->Path.addPath(pathOf());
        return;
    }
    if (!d->Active())
        return;
    const auto& s = d->S();
    if (s.Null)
        return;
    if (s.Cosmetic) {
        std::vector<QPoint> q(static_cast<size_t>(count));
        for (int i = 0; i < count; ++i)
            q[size_t(i)] = QPoint(points[i].X, points[i].Y);
        d->CosmeticPolyline(q.data(), count);
    } else {
        d->StrokeShape(pathOf());
    }
}

void TCanvas::Polygon(const TPoint* points, int count)
{
    if (points != nullptr && count >= 2)
        RECORD(.Op = TCanvasOp::Polygon, .Points = points, .Count = count);
    if (points == nullptr || count < 2)
        return;
    QPolygon poly(count);
    for (int i = 0; i < count; ++i)
        poly.setPoint(i, points[i].X, points[i].Y);
    QPainterPath path;
    path.addPolygon(poly);
    path.closeSubpath();
    path.setFillRule(d->FillMode == WINDING ? Qt::WindingFill : Qt::OddEvenFill);
    d->AddOrDrawFigure(path);
}

void TCanvas::PolyBezier(const TPoint* points, int count)
{
    if (points != nullptr && count >= 4)
        RECORD(.Op = TCanvasOp::PolyBezier, .Points = points, .Count = count);
    if (points == nullptr || count < 4)
        return;
    QPainterPath path;
    path.moveTo(points[0].X, points[0].Y);
    for (int i = 1; i + 2 < count; i += 3)
        path.cubicTo(points[i].X, points[i].Y, points[i + 1].X, points[i + 1].Y, points[i + 2].X, points[i + 2].Y);
    if (d->InPath)
        d->Path.addPath(path);
    else if (d->Active())
        d->StrokeShape(path);
}

void TCanvas::Rectangle(int x1, int y1, int x2, int y2)
{
    RECORD(.Op = TCanvasOp::Rectangle, .A = {x1, y1, x2, y2});
    if (x2 < x1)
        std::swap(x1, x2);
    if (y2 < y1)
        std::swap(y1, y2);
    if (d->InPath) {
        d->Path.addRect(QRectF(x1, y1, x2 - x1 - 1, y2 - y1 - 1));
        return;
    }
    if (!d->Active() || x2 - x1 < 1 || y2 - y1 < 1)
        return;
    const auto& s = d->S();
    const auto& f = d->F();
    QPainter& p = d->P();
    if (s.Null || !s.Cosmetic) {
        // Without a pen the fill is one pixel smaller on the right and bottom.
        QBrush brush;
        if (d->RopBrush(f, brush)) {
            d->SetComp(p, f.Rop);
            p.fillRect(QRect(x1, y1, x2 - x1 - 1, y2 - y1 - 1), brush);
        }
        if (!s.Null) {
            const double inset = s.InsideFrame ? (s.Width - 1) / 2.0 : 0.0;
            QPainterPath path;
            path.addRect(QRectF(x1 + inset, y1 + inset, x2 - x1 - 1 - 2 * inset, y2 - y1 - 1 - 2 * inset));
            d->StrokeShape(path);
        }
        return;
    }
    QBrush brush;
    if (d->RopBrush(f, brush) && x2 - x1 > 2 && y2 - y1 > 2) {
        d->SetComp(p, f.Rop);
        p.fillRect(QRect(x1 + 1, y1 + 1, x2 - x1 - 2, y2 - y1 - 2), brush);
    }
    if (!s.Gap && d->Identity && s.Rop.Force < 0 && s.Rop.Mode == QPainter::CompositionMode_SourceOver &&
        s.Pen.style() == Qt::SolidLine) {
        // A solid one-pixel frame is its four edges filled: the same pixels as stroking
        // it, at a fraction of the cost when many small rectangles are drawn.
        p.setCompositionMode(QPainter::CompositionMode_SourceOver);
        const QColor c = s.Pen.color();
        p.fillRect(QRect(x1, y1, x2 - x1, 1), c);
        p.fillRect(QRect(x1, y2 - 1, x2 - x1, 1), c);
        if (y2 - y1 > 2) {
            p.fillRect(QRect(x1, y1 + 1, 1, y2 - y1 - 2), c);
            p.fillRect(QRect(x2 - 1, y1 + 1, 1, y2 - y1 - 2), c);
        }
        return;
    }
    d->SetComp(p, s.Rop);
    p.setBrush(Qt::NoBrush);
    const QRect frame(x1, y1, x2 - x1 - 1, y2 - y1 - 1);
    for (const QPen* pen : {s.Gap ? &s.GapPen : nullptr, &s.Pen}) {
        if (pen == nullptr)
            continue;
        p.setPen(*pen);
        if (d->Ratio == 1)
            p.drawRect(frame);
        else
            p.drawRect(d->Centred(QRectF(frame)));
    }
}

void TCanvas::RoundRect(int x1, int y1, int x2, int y2, int cornerWidth, int cornerHeight)
{
    RECORD(.Op = TCanvasOp::RoundRect, .A = {x1, y1, x2, y2, cornerWidth, cornerHeight});
    if (x2 < x1)
        std::swap(x1, x2);
    if (y2 < y1)
        std::swap(y1, y2);
    QPainterPath path;
    path.addRoundedRect(QRectF(x1, y1, std::max(0, x2 - x1 - 1), std::max(0, y2 - y1 - 1)),
                        std::abs(cornerWidth) * 0.5, std::abs(cornerHeight) * 0.5);
    d->AddOrDrawFigure(path);
}

void TCanvas::Ellipse(int x1, int y1, int x2, int y2)
{
    RECORD(.Op = TCanvasOp::Ellipse, .A = {x1, y1, x2, y2});
    const QRectF box = Impl::ArcBox(x1, y1, x2, y2);
    if (!d->InPath && d->Active() && !d->S().Null && d->S().Cosmetic) {
        // One-pixel outlines take the midpoint ellipse, which reaches every edge of the box.
        const auto& s = d->S();
        const auto& f = d->F();
        QPainter& p = d->P();
        d->SetComp(p, s.Rop);
        QBrush brush;
        p.setBrush(d->RopBrush(f, brush) ? brush : QBrush(Qt::NoBrush));
        p.setPen(s.Gap ? s.GapPen : s.Pen);
        const QRect r = box.toRect();
        const auto ellipse = [&] {
            if (d->Ratio == 1)
                p.drawEllipse(r);
            else
                p.drawEllipse(d->Centred(QRectF(r)));
        };
        ellipse();
        if (s.Gap) {
            p.setBrush(Qt::NoBrush);
            p.setPen(s.Pen);
            ellipse();
        }
        return;
    }
    QPainterPath path;
    path.addEllipse(box);
    d->AddOrDrawFigure(path);
}

void TCanvas::Arc(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4)
{
    RECORD(.Op = TCanvasOp::Arc, .A = {x1, y1, x2, y2, x3, y3, x4, y4});
    const QPainterPath path = d->ArcPath(0, x1, y1, x2, y2, x3, y3, x4, y4);
    if (d->InPath)
        d->Path.addPath(path);
    else if (d->Active())
        d->StrokeShape(path);
}

void TCanvas::ArcTo(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4)
{
    RECORD(.Op = TCanvasOp::ArcTo, .A = {x1, y1, x2, y2, x3, y3, x4, y4});
    QPainterPath arc = d->ArcPath(0, x1, y1, x2, y2, x3, y3, x4, y4);
    const QPointF start = arc.elementCount() > 0 ? QPointF(arc.elementAt(0).x, arc.elementAt(0).y) : QPointF();
    const QPointF end = arc.currentPosition();
    if (d->InPath) {
        if (d->Path.elementCount() == 0)
            d->Path.moveTo(d->Pos.X, d->Pos.Y);
        d->Path.lineTo(start);
        d->Path.connectPath(arc);
    } else if (d->Active()) {
        QPainterPath path;
        path.moveTo(d->Pos.X, d->Pos.Y);
        path.lineTo(start);
        path.connectPath(arc);
        d->StrokeShape(path);
    }
    d->Pos = TPoint(int(std::lround(end.x())), int(std::lround(end.y())));
}

void TCanvas::Pie(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4)
{
    RECORD(.Op = TCanvasOp::Pie, .A = {x1, y1, x2, y2, x3, y3, x4, y4});
    d->AddOrDrawFigure(d->ArcPath(1, x1, y1, x2, y2, x3, y3, x4, y4));
}

void TCanvas::Chord(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4)
{
    RECORD(.Op = TCanvasOp::Chord, .A = {x1, y1, x2, y2, x3, y3, x4, y4});
    d->AddOrDrawFigure(d->ArcPath(2, x1, y1, x2, y2, x3, y3, x4, y4));
}

void TCanvas::FillRect(const TRect& r)
{
    RECORD(.Op = TCanvasOp::FillRect, .A = {r.Left, r.Top, r.Right, r.Bottom});
    if (!d->Active())
        return;
    const auto& f = d->F();
    if (f.Null)
        return;
    int l = r.Left, t = r.Top, rr = r.Right, b = r.Bottom;
    if (rr < l)
        std::swap(l, rr);
    if (b < t)
        std::swap(t, b);
    if (rr == l || b == t)
        return;
    QPainter& p = d->P();
    p.setCompositionMode(QPainter::CompositionMode_SourceOver);   // a pattern copy: no raster operation
    p.fillRect(QRect(l, t, rr - l, b - t), f.Brush);
}

void TCanvas::FrameRect(const TRect& r)
{
    RECORD(.Op = TCanvasOp::FrameRect, .A = {r.Left, r.Top, r.Right, r.Bottom});
    if (!d->Active() || IsRectEmpty(r))
        return;
    const auto& f = d->F();
    if (f.Null)
        return;
    QPainter& p = d->P();
    p.setCompositionMode(QPainter::CompositionMode_SourceOver);
    const int w = r.Width(), h = r.Height();
    p.fillRect(QRect(r.Left, r.Top, w, 1), f.Brush);
    if (h > 1)
        p.fillRect(QRect(r.Left, r.Bottom - 1, w, 1), f.Brush);
    if (h > 2) {
        p.fillRect(QRect(r.Left, r.Top + 1, 1, h - 2), f.Brush);
        if (w > 1)
            p.fillRect(QRect(r.Right - 1, r.Top + 1, 1, h - 2), f.Brush);
    }
}

TColor TCanvas::Pixel(int x, int y) const
{
    if (d->Image == nullptr)
        return CLR_INVALID;
    const QPoint q = d->ToDevice(x, y);
    if (!d->DeviceRect().contains(q) || (d->Clip && !d->Clip->contains(q)))
        return CLR_INVALID;
    const QRgb v = d->Image->pixel(d->ImagePoint(q));
    return RGB(qRed(v), qGreen(v), qBlue(v));
}

void TCanvas::SetPixel(int x, int y, TColor c)
{
    RECORD(.Op = TCanvasOp::SetPixel, .A = {x, y, int(c)});
    if (d->Image == nullptr) {
        if (d->Active()) {
            QPainter& p = d->P();
            p.setCompositionMode(QPainter::CompositionMode_SourceOver);
            p.fillRect(QRect(x, y, 1, 1), d->Col(c));
        }
        return;
    }
    const QPoint q = d->ToDevice(x, y);
    if (!d->DeviceRect().contains(q) || (d->Clip && !d->Clip->contains(q)))
        return;
    const QRgb v = d->Col(c).rgb();
    const QRect block = d->ImageRect(QRect(q, QSize(1, 1))).intersected(d->Image->rect());
    for (int yy = block.top(); yy <= block.bottom(); ++yy)
        std::fill_n(reinterpret_cast<QRgb*>(d->Image->scanLine(yy)) + block.left(), block.width(), v);
}

// ---- text -----------------------------------------------------------------------

void TCanvas::TextOut(int x, int y, const std::string& text)
{
    RECORD(.Op = TCanvasOp::TextOut, .A = {x, y}, .Text = &text);
    d->Text(x, y, text);
}

void TCanvas::TextRect(const TRect& r, int x, int y, const std::string& text)
{
    RECORD(.Op = TCanvasOp::TextRect, .A = {r.Left, r.Top, r.Right, r.Bottom, x, y}, .Text = &text);
    const QRect q(r.Left, r.Top, r.Width(), r.Height());
    d->Text(x, y, text, &q, true);
}

int TCanvas::TextWidth(const std::string& text) const { return d->Width(text, QStr(text)); }
int TCanvas::TextHeight(const std::string& text) const { return d->Metrics().Height; }
TSize TCanvas::TextExtent(const std::string& text) const { return TSize(TextWidth(text), TextHeight(text)); }
TTextMetric TCanvas::GetTextMetrics() const { return d->Metrics(); }
void TCanvas::SetTextMeasurer(std::shared_ptr<const TTextMeasurer> m) { d->Measurer = std::move(m); }
std::shared_ptr<const TTextMeasurer> TCanvas::TextMeasurer() const { return d->Measurer; }

// ---- paths ----------------------------------------------------------------------

void TCanvas::BeginPath()
{
    RECORD(.Op = TCanvasOp::BeginPath);
    d->InPath = true;
    d->PathReady = false;
    d->Path = QPainterPath();
    d->Path.moveTo(d->Pos.X, d->Pos.Y);
}

void TCanvas::EndPath()
{
    RECORD(.Op = TCanvasOp::EndPath);
    if (!d->InPath)
        return;
    d->InPath = false;
    d->PathReady = true;
}

void TCanvas::AbortPath()
{
    RECORD(.Op = TCanvasOp::AbortPath);
    d->InPath = false;
    d->PathReady = false;
    d->Path = QPainterPath();
}

void TCanvas::CloseFigure()
{
    RECORD(.Op = TCanvasOp::CloseFigure);
    if (d->InPath)
        d->Path.closeSubpath();
}

bool TCanvas::HasPath() const { return d->PathReady; }

void TCanvas::WidenPath()
{
    RECORD(.Op = TCanvasOp::WidenPath);
    if (!d->PathReady)
        return;
    const auto& s = d->S();
    QPainterPathStroker stroker;
    stroker.setWidth(s.Cosmetic ? 1.0 : s.Width);
    stroker.setCapStyle(s.Cosmetic ? Qt::FlatCap : s.Pen.capStyle());
    stroker.setJoinStyle(s.Cosmetic ? Qt::MiterJoin : s.Pen.joinStyle());
    QPainterPath widened = stroker.createStroke(d->Path);
    widened.setFillRule(Qt::WindingFill);
    d->Path = widened.simplified();
}

void TCanvas::StrokePath()
{
    RECORD(.Op = TCanvasOp::StrokePath);
    if (!d->PathReady)
        return;
    if (d->Active())
        d->StrokeShape(d->Path);
    AbortPath();
}

void TCanvas::FillPath()
{
    RECORD(.Op = TCanvasOp::FillPath);
    if (!d->PathReady)
        return;
    if (d->Active()) {
        QPainterPath p = d->Path;
        p.setFillRule(d->FillMode == WINDING ? Qt::WindingFill : Qt::OddEvenFill);
        d->FillShape(p);
    }
    AbortPath();
}

void TCanvas::StrokeAndFillPath()
{
    RECORD(.Op = TCanvasOp::StrokeAndFillPath);
    if (!d->PathReady)
        return;
    if (d->Active()) {
        QPainterPath p = d->Path;
        p.setFillRule(d->FillMode == WINDING ? Qt::WindingFill : Qt::OddEvenFill);
        d->FillShape(p);
        d->StrokeShape(p);
    }
    AbortPath();
}

TRegion TCanvas::PathToRegion()
{
    RECORD(.Op = TCanvasOp::AbortPath);   // the path is used up
    TRegion out;
    if (!d->PathReady)
        return out;
    QPainterPath p = d->Xf.map(d->Path);
    out.impl().Region = qtbridge::PathToRegion(p, d->FillMode == WINDING ? Qt::WindingFill : Qt::OddEvenFill);
    AbortPath();
    return out;
}

void TCanvas::SelectClipPath(int mode)
{
    if (!d->PathReady)
        return;
    RECORD(.Op = TCanvasOp::SelectClipPath, .Mode = mode);
    Impl::Mute mute(*d);
    const TRegion r = PathToRegion();
    d->CombineClip(r.impl().Region, mode);
}

// ---- clipping -------------------------------------------------------------------

bool TCanvas::GetClipRgn(TRegion& out) const
{
    out.impl().Region = d->Clip ? *d->Clip : QRegion();
    return d->Clip.has_value();
}

void TCanvas::SelectClipRgn(const TRegion* region)
{
    RECORD(.Op = TCanvasOp::SelectClipRgn, .Region = region, .Mode = RGN_COPY);
    if (region == nullptr)
        d->Clip.reset();
    else
        d->Clip = region->impl().Region;
    d->ApplyClip();
}

void TCanvas::ExtSelectClipRgn(const TRegion* region, int mode)
{
    RECORD(.Op = TCanvasOp::ExtSelectClipRgn, .Region = region, .Mode = mode);
    Impl::Mute mute(*d);
    if (region == nullptr) {
        if (mode == RGN_COPY)
            SelectClipRgn(nullptr);
        return;
    }
    d->CombineClip(region->impl().Region, mode);
}

void TCanvas::IntersectClipRect(int left, int top, int right, int bottom)
{
    RECORD(.Op = TCanvasOp::IntersectClipRect, .A = {left, top, right, bottom});
    const QRect r = d->ToDeviceRect(left, top, right, bottom);
    d->CombineClip(QRegion(r), RGN_AND);
}

void TCanvas::ExcludeClipRect(int left, int top, int right, int bottom)
{
    RECORD(.Op = TCanvasOp::ExcludeClipRect, .A = {left, top, right, bottom});
    const QRect r = d->ToDeviceRect(left, top, right, bottom);
    d->CombineClip(QRegion(r), RGN_DIFF);
}

TRect TCanvas::ClipRect() const
{
    QRect b = d->Clip ? d->Clip->boundingRect() : d->DeviceRect();
    TPoint pts[2] = {TPoint(b.left(), b.top()), TPoint(b.left() + b.width(), b.top() + b.height())};
    DPtoLP(pts, 2);
    return TRect(pts[0], pts[1]);
}

void TCanvas::PushClip()
{
    RECORD(.Op = TCanvasOp::PushClip);
    d->ClipStack.push_back(d->Clip);
}

void TCanvas::PopClip()
{
    RECORD(.Op = TCanvasOp::PopClip);
    if (d->ClipStack.empty()) {
        d->Clip.reset();
    } else {
        d->Clip = d->ClipStack.back();
        d->ClipStack.pop_back();
    }
    d->ApplyClip();
}

int TCanvas::ClipDepth() const { return int(d->ClipStack.size()); }

// ---- bit blocks -----------------------------------------------------------------

bool TCanvas::BitBlt(int x, int y, int width, int height, const TCanvas& source, int sx, int sy, TRop rop)
{
    return StretchBlt(x, y, width, height, source, sx, sy, width, height, rop);
}

bool TCanvas::StretchBlt(int x, int y, int width, int height, const TCanvas& source, int sx, int sy, int sw,
                         int sh, TRop rop)
{
    RECORD(.Op = TCanvasOp::StretchBlt, .A = {x, y, width, height, sx, sy, sw, sh}, .Source = &source, .Rop = rop);
    if (!d->Active() || width == 0 || height == 0)
        return false;
    // Extents that no device holds are refused.
    auto tooLarge = [](int v) { return v < -MaxDeviceCoord || v > MaxDeviceCoord; };
    if (tooLarge(width) || tooLarge(height) || tooLarge(sw) || tooLarge(sh))
        return false;
    const uint8_t table = uint8_t((rop >> 16) & 0xFF);
    const bool usesSource = ((table >> 2) & 0x33) != (table & 0x33);
    // Device pixels, mirrored where the extents are negative; only the visible part of
    // the block is computed.
    const QPoint dpos = d->ToDevice(x, y);
    const QPoint dend = d->ToDevice(int64_t(x) + width, int64_t(y) + height);
    const QRect drect = QRect(dpos, dend - QPoint(1, 1)).normalized();
    const QRect visible = d->VisiblePart(drect);
    // The same blocks in image pixels, where the pixels are copied.
    const QRect dpix = d->ImageRect(drect), vpix = d->ImageRect(visible);
    QImage src;
    if (usesSource) {
        QImage* simg = source.d->Image;
        if (simg == nullptr || sw == 0 || sh == 0)
            return false;
        const QPoint spos = source.d->ToDevice(sx, sy);
        const QPoint send = source.d->ToDevice(int64_t(sx) + sw, int64_t(sy) + sh);
        const QRect srect = QRect(spos, send - QPoint(1, 1)).normalized();
        if (visible.isEmpty() || srect.isEmpty())
            return true;
        const QRect spix = source.d->ImageRect(srect);
        const bool mirrorX = ((send.x() - spos.x()) < 0) != ((dend.x() - dpos.x()) < 0);
        const bool mirrorY = ((send.y() - spos.y()) < 0) != ((dend.y() - dpos.y()) < 0);
        if (!mirrorX && !mirrorY && !source.d->Mono && d->CopyBlock(*simg, spix, dpix, rop))
            return true;
        src = Impl::SampleBlock(*simg, spix, dpix, mirrorX, mirrorY, vpix);
        if (source.d->Mono && !d->Mono) {
            // A 1-bit source paints its black pixels in the text colour, white in the background colour.
            const QRgb fg = d->Col(d->TextColor).rgb(), bg = d->Col(d->BkColor).rgb();
            for (int yy = 0; yy < src.height(); ++yy) {
                auto* row = reinterpret_cast<QRgb*>(src.scanLine(yy));
                for (int xx = 0; xx < src.width(); ++xx)
                    row[xx] = (row[xx] & 0xFFFFFF) == 0 ? fg : bg;
            }
        }
    } else {
        if (visible.isEmpty())
            return true;
        src = QImage(vpix.size(), QImage::Format_RGB32);
        src.fill(0);
    }
    if (d->Image == nullptr) {
        // Other devices take plain copies only.
        if (!usesSource)
            return false;
        QPainter& p = d->P();
        p.save();
        p.resetTransform();
        p.setCompositionMode(QPainter::CompositionMode_SourceOver);
        p.drawImage(visible.topLeft(), src);
        p.restore();
        return true;
    }
    d->RopBlit(vpix.left(), vpix.top(), src, rop);
    return true;
}

void TCanvas::CopyRect(const TRect& dest, const TCanvas& source, const TRect& src)
{
    StretchBlt(dest.Left, dest.Top, dest.Width(), dest.Height(), source, src.Left, src.Top, src.Width(),
               src.Height(), d->CopyMode);
}

bool TCanvas::Shortcuts() const { return d->Shortcuts; }
void TCanvas::SetShortcuts(bool v) { d->Shortcuts = v; }

bool TCanvas::CanStamp() const
{
    return d->Image != nullptr && !d->Mono && d->Identity && d->Ratio == 1 && d->Rec == nullptr && !d->InPath &&
           (d->Image->format() == QImage::Format_RGB32 || d->Image->format() == QImage::Format_ARGB32);
}

void TCanvas::Stamp(const TCanvas& OnBlack, const TCanvas& OnWhite, int HotX, int HotY, const TPoint* At, int Count)
{
    const QImage* black = OnBlack.d->Image;
    const QImage* white = OnWhite.d->Image;
    if (!CanStamp() || black == nullptr || white == nullptr || black->size() != white->size() || At == nullptr)
        return;
    // The drawn pixels as runs along the rows, relative to the hot spot.
    struct Run {
        int Dy, Dx, Length;
        size_t First;   // into colours
    };
    std::vector<Run> runs;
    std::vector<QRgb> colours;
    for (int y = 0; y < black->height(); ++y) {
        const auto* b = reinterpret_cast<const QRgb*>(black->constScanLine(y));
        const auto* w = reinterpret_cast<const QRgb*>(white->constScanLine(y));
        for (int x = 0; x < black->width();) {
            if (((b[x] ^ w[x]) & 0xFFFFFF) != 0) {
                ++x;
                continue;
            }
            Run r{y - HotY, x - HotX, 0, colours.size()};
            for (; x < black->width() && ((b[x] ^ w[x]) & 0xFFFFFF) == 0; ++x, ++r.Length)
                colours.push_back(b[x] | 0xFF000000u);
            runs.push_back(r);
        }
    }
    if (runs.empty())
        return;
    const QRegion clip = d->EffectiveClip().intersected(d->DeviceRect());
    const std::vector<QRect> rects(clip.begin(), clip.end());
    const QRect box(-HotX, -HotY, black->width(), black->height());
    uchar* bits = d->Image->bits();
    const qsizetype stride = d->Image->bytesPerLine();
    for (int i = 0; i < Count; ++i) {
        const QRect at = box.translated(At[i].X, At[i].Y);
        for (const QRect& r : rects) {
            const QRect part = at.intersected(r);
            if (part.isEmpty())
                continue;
            for (const Run& run : runs) {
                const int y = At[i].Y + run.Dy;
                if (y < part.top() || y > part.bottom())
                    continue;
                const int from = std::max(At[i].X + run.Dx, part.left());
                const int to = std::min(At[i].X + run.Dx + run.Length - 1, part.right());
                if (from > to)
                    continue;
                auto* row = reinterpret_cast<QRgb*>(bits + stride * y);
                std::memcpy(row + from, colours.data() + run.First + (from - At[i].X - run.Dx),
                            size_t(to - from + 1) * sizeof(QRgb));
            }
        }
    }
}

bool TCanvas::AlphaBlend(int x, int y, int width, int height, const TCanvas& source, int sx, int sy, int sw, int sh,
                         int constantAlpha)
{
    RECORD(.Op = TCanvasOp::AlphaBlend, .A = {x, y, width, height, sx, sy, sw, sh}, .Mode = constantAlpha,
           .Source = &source);
    if (d->Image == nullptr || source.d->Image == nullptr || width <= 0 || height <= 0 || sw <= 0 || sh <= 0)
        return false;
    if (width > MaxDeviceCoord || height > MaxDeviceCoord || sw > MaxDeviceCoord || sh > MaxDeviceCoord)
        return false;
    const int a = std::clamp(constantAlpha, 0, 255);
    const QPoint dpos = d->ToDevice(x, y);
    const QPoint dend = d->ToDevice(int64_t(x) + width, int64_t(y) + height);
    const QRect drect = QRect(dpos, dend - QPoint(1, 1)).normalized();
    const QPoint spos = source.d->ToDevice(sx, sy);
    const QPoint send = source.d->ToDevice(int64_t(sx) + sw, int64_t(sy) + sh);
    const QRect srect = QRect(spos, send - QPoint(1, 1)).normalized();
    const QRect visible = d->VisiblePart(drect);
    if (visible.isEmpty() || srect.isEmpty())
        return true;
    // Blended in image pixels.
    const QRect target = d->ImageRect(visible).intersected(d->Image->rect());
    const QImage src = Impl::SampleBlock(*source.d->Image, source.d->ImageRect(srect), d->ImageRect(drect), false,
                                         false, target);
    const QRegion region = d->ImageRegion(d->EffectiveClip()).intersected(target);
    for (const QRect& r : region) {
        for (int yy = r.top(); yy <= r.bottom(); ++yy) {
            auto* drow = reinterpret_cast<QRgb*>(d->Image->scanLine(yy));
            const auto* srow = reinterpret_cast<const QRgb*>(src.constScanLine(yy - target.top()));
            for (int xx = r.left(); xx <= r.right(); ++xx) {
                const QRgb s = srow[xx - target.left()], t = drow[xx];
                auto mix = [a](int sv, int dv) { return (sv * a + dv * (255 - a) + 127) / 255; };
                QRgb v = qRgb(mix(qRed(s), qRed(t)), mix(qGreen(s), qGreen(t)), mix(qBlue(s), qBlue(t)));
                drow[xx] = d->Mono ? qtbridge::ToMono(v) : v;
            }
        }
    }
    return true;
}

void TCanvas::Draw(int x, int y, TGraphic* graphic)
{
    if (graphic == nullptr || graphic->Empty())
        return;
    graphic->Draw(*this, TRect(x, y, x + graphic->Width(), y + graphic->Height()));
}

void TCanvas::StretchDraw(const TRect& r, TGraphic* graphic)
{
    if (graphic == nullptr || graphic->Empty())
        return;
    graphic->Draw(*this, r);
}

// ---- the bridge -----------------------------------------------------------------

namespace qtbridge {

QColor ToQColor(TColor c)
{
    const TColor rgb = ColorToDrawRGB(c);
    return QColor(GetRValue(rgb), GetGValue(rgb), GetBValue(rgb));
}

QRgb ToMono(QRgb rgb)
{
    return (qRed(rgb) + qGreen(rgb) + qBlue(rgb)) * 2 > 765 ? 0xFFFFFFFFu : 0xFF000000u;
}

QFont ToQFont(const TFont& font, int charExtra)
{
    QFont q(QString::fromStdString(font.Name()));
    int h = font.Height();
    if (h > 0) {
        // A positive height is the cell height: find the em size that gives it.
        QFont probe(q);
        probe.setPixelSize(100);
        const QFontMetricsF fm(probe);
        const double cell = fm.ascent() + fm.descent();
        h = cell > 0 ? std::max(1, int(std::lround(h * 100.0 / cell))) : h;
    } else if (h < 0) {
        h = -h;
    } else {
        h = 12;
    }
    q.setPixelSize(std::max(1, h));
    q.setBold((font.Style() & fsBold) != 0);
    q.setItalic((font.Style() & fsItalic) != 0);
    q.setUnderline((font.Style() & fsUnderline) != 0);
    q.setStrikeOut((font.Style() & fsStrikeOut) != 0);
    if (font.Pitch() == fpFixed)
        q.setFixedPitch(true);
    q.setKerning(false);
    q.setStyleStrategy(font.Quality() == fqAntialiased ? QFont::PreferAntialias : QFont::NoAntialias);
    if (charExtra != 0)
        q.setLetterSpacing(QFont::AbsoluteSpacing, charExtra);
    return q;
}

QRegion PathToRegion(const QPainterPath& path, Qt::FillRule rule)
{
    const QRect bounds = path.boundingRect().toAlignedRect().adjusted(-1, -1, 1, 1);
    if (bounds.isEmpty() || bounds.width() > 20000 || bounds.height() > 20000)
        return QRegion();
    QImage mask(bounds.size(), QImage::Format_ARGB32_Premultiplied);
    mask.fill(0);
    {
        QPainter p(&mask);
        p.setRenderHint(QPainter::Antialiasing, false);
        QPainterPath pp = path.translated(-bounds.left(), -bounds.top());
        pp.setFillRule(rule);
        p.fillPath(pp, Qt::black);
    }
    // Runs of each row, rows with the same runs merged into bands.
    std::vector<QRect> rects;
    std::vector<std::pair<int, int>> prev, cur;
    int bandTop = 0;
    auto flush = [&](int bottom) {
        for (auto& r : prev)
            rects.emplace_back(bounds.left() + r.first, bounds.top() + bandTop, r.second - r.first, bottom - bandTop);
    };
    for (int y = 0; y < mask.height(); ++y) {
        cur.clear();
        const auto* row = reinterpret_cast<const QRgb*>(mask.constScanLine(y));
        int x = 0;
        while (x < mask.width()) {
            while (x < mask.width() && qAlpha(row[x]) == 0)
                ++x;
            const int start = x;
            while (x < mask.width() && qAlpha(row[x]) != 0)
                ++x;
            if (x > start)
                cur.emplace_back(start, x);
        }
        if (cur != prev) {
            flush(y);
            prev = cur;
            bandTop = y;
        }
    }
    flush(mask.height());
    // Unite pairwise so that the work stays near n log n.
    std::vector<QRegion> parts;
    parts.reserve(rects.size());
    for (const QRect& r : rects)
        parts.emplace_back(r);
    while (parts.size() > 1) {
        std::vector<QRegion> next;
        next.reserve(parts.size() / 2 + 1);
        for (size_t i = 0; i + 1 < parts.size(); i += 2)
            next.push_back(parts[i].united(parts[i + 1]));
        if (parts.size() % 2)
            next.push_back(parts.back());
        parts.swap(next);
    }
    return parts.empty() ? QRegion() : parts.front();
}

void AttachImage(TCanvas& canvas, QImage* image, bool mono)
{
    auto& d = canvas.impl();
    d.End();
    d.Device = image;
    d.Image = image;
    d.Mono = mono;
    d.Dpi = 96;
    d.Ratio = image != nullptr ? std::max(1.0, image->devicePixelRatio()) : 1.0;
    d.Clip.reset();
    d.ClipStack.clear();
}

void AttachDevice(TCanvas& canvas, QPaintDevice* device, int pixelsPerInch)
{
    auto& d = canvas.impl();
    d.End();
    d.Device = device;
    d.Image = nullptr;
    d.Mono = false;
    d.Ratio = 1;
    d.Dpi = pixelsPerInch > 0 ? pixelsPerInch : 96;
    d.Clip.reset();
    d.ClipStack.clear();
}

void Detach(TCanvas& canvas)
{
    auto& d = canvas.impl();
    d.End();
    d.Device = nullptr;
    d.Image = nullptr;
}

QImage* RasterImage(const TCanvas& canvas) { return canvas.impl().Image; }

QRect ImagePixels(const TCanvas& canvas, const QRect& deviceRect) { return canvas.impl().ImageRect(deviceRect); }

QSize DeviceSize(const QImage& image)
{
    const double r = image.devicePixelRatio();
    return QSize(int(image.width() / r + 1e-6), int(image.height() / r + 1e-6));
}

QImage NewImage(int width, int height, double ratio, QImage::Format format, QRgb fill)
{
    if (width <= 0 || height <= 0)
        return QImage();
    // Just enough pixels for the logical size (a fractional ratio rounds up).
    QImage img(int(std::ceil(width * ratio - 1e-6)), int(std::ceil(height * ratio - 1e-6)), format);
    img.fill(fill);
    img.setDotsPerMeterX(3780);
    img.setDotsPerMeterY(3780);
    img.setDevicePixelRatio(ratio);
    return img;
}

QPainter& ActivePainter(TCanvas& canvas) { return canvas.impl().P(); }

void ThresholdToMono(QImage& image, const QRect& r)
{
    const QRect b = r.intersected(image.rect());
    for (int y = b.top(); y <= b.bottom(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = b.left(); x <= b.right(); ++x)
            row[x] = ToMono(row[x]);
    }
}

} // namespace qtbridge

void SetCanvasRecorder(TCanvas& canvas, TCanvasRecorder* recorder) { canvas.impl().Rec = recorder; }
TCanvasRecorder* CanvasRecorder(const TCanvas& canvas) { return canvas.impl().Rec; }
