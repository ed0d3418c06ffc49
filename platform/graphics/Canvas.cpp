// The canvas's state: construction, drawing objects, attributes, mapping, and the bridge to Qt.
#include "graphics/Canvas.h"

#include "graphics/CanvasImpl.h"

namespace {

// 8 x 8 hatch patterns, one byte per row, bit 7 the leftmost pixel.
const uint8_t kHatch[6][8] = {
    {0x00, 0x00, 0x00, 0xFF, 0x00, 0x00, 0x00, 0x00}, // bsHorizontal
    {0x10, 0x10, 0x10, 0x10, 0x10, 0x10, 0x10, 0x10}, // bsVertical
    {0x80, 0x40, 0x20, 0x10, 0x08, 0x04, 0x02, 0x01}, // bsFDiagonal (\)
    {0x01, 0x02, 0x04, 0x08, 0x10, 0x20, 0x40, 0x80}, // bsBDiagonal (/)
    {0x10, 0x10, 0x10, 0xFF, 0x10, 0x10, 0x10, 0x10}, // bsCross
    {0x81, 0x42, 0x24, 0x18, 0x18, 0x24, 0x42, 0x81}, // bsDiagCross
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

} // namespace

QPainter& TCanvas::Impl::P()
{
    if (!Painter.isActive() && Device != nullptr) {
        Image.Define();
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

void TCanvas::Impl::UpdateTransform()
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

const TCanvas::Impl::StrokeStyle& TCanvas::Impl::S()
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
    const bool snapped = Snapped();
    s.Pixels = snapped ? LinePixels(s.Width) : s.Width;
    s.Hairline = snapped && s.Pixels == 1;
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
    if (snapped && s.Cosmetic) {
        s.Pen = SnappedPen(c, s.Pixels);
    } else if (s.Cosmetic) {
        s.Pen = OnePixelPen(c);
    } else {
        Qt::PenCapStyle cap = Qt::RoundCap;
        Qt::PenJoinStyle join = Qt::RoundJoin;
        if (pen.IsExtended()) {
            cap = ext.EndCap == pecFlat ? Qt::FlatCap : ext.EndCap == pecSquare ? Qt::SquareCap : Qt::RoundCap;
            join = ext.Join == pjMiter ? Qt::MiterJoin : ext.Join == pjBevel ? Qt::BevelJoin : Qt::RoundJoin;
        }
        s.Pen = QPen(c, snapped ? s.Pixels / Ratio : s.Width, Qt::SolidLine, cap, join);
    }
    // A snapped one-pixel pen's dashes keep their length in device units: the one-pixel
    // stroker counts them in image pixels, a wider pen in its widths. The one-pixel
    // stroker's are rounded to whole pixels, so that every dash and gap of a kind is as
    // long as the others (from a fraction it makes them alternate between two lengths).
    if (snapped && s.Cosmetic)
        for (auto& v : dashes)
            v = s.Hairline ? std::max(1.0, std::round(v * Ratio)) : v * Ratio / s.Pixels;
    if (styled && !dashes.isEmpty()) {
        // Caps would close the gaps of a wide dashed line: its dashes end flat.
        if (!s.Cosmetic)
            s.Pen.setCapStyle(Qt::FlatCap);
        s.Pen.setDashPattern(dashes);
        if (BkMode == OPAQUE && s.Cosmetic) {
            s.Gap = true;
            s.GapPen = snapped ? SnappedPen(Col(BkColor), s.Pixels) : OnePixelPen(Col(BkColor));
        }
    }
    s.Prepare();
    Stroke = s;
    return Stroke;
}

const TCanvas::Impl::FillStyle& TCanvas::Impl::F()
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

uint32_t TCanvas::Impl::BrushPixel(int x, int y)
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
TTextAlign TCanvas::TextAlign() const { return d->TextAlign; }
void TCanvas::SetTextAlign(TTextAlign flags) { d->TextAlign = flags; }
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
    q.setBold(font.Style().Test(fsBold));
    q.setItalic(font.Style().Test(fsItalic));
    q.setUnderline(font.Style().Test(fsUnderline));
    q.setStrikeOut(font.Style().Test(fsStrikeOut));
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

void AttachImage(TCanvas& canvas, QImage* image, bool mono, bool* owed)
{
    auto& d = canvas.impl();
    d.End();
    d.Device = image;
    d.Image = TImageRef(image, owed);
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

QImage* RasterImage(const TCanvas& canvas) { return canvas.impl().Image.Defined(); }

QRect ImagePixels(const TCanvas& canvas, const QRect& deviceRect) { return canvas.impl().ImageRect(deviceRect); }

QSize DeviceSize(const QImage& image)
{
    const double r = image.devicePixelRatio();
    return QSize(int(image.width() / r + 1e-6), int(image.height() / r + 1e-6));
}

namespace {

// Just enough pixels for the logical size (a fractional ratio rounds up), not written.
QImage ImageOfSize(int width, int height, double ratio, QImage::Format format)
{
    if (width <= 0 || height <= 0)
        return QImage();
    QImage img(int(std::ceil(width * ratio - 1e-6)), int(std::ceil(height * ratio - 1e-6)), format);
    img.setDotsPerMeterX(3780);
    img.setDotsPerMeterY(3780);
    img.setDevicePixelRatio(ratio);
    return img;
}

} // namespace

QImage NewUnwrittenImage(int width, int height, double ratio, QImage::Format format)
{
    QImage img = ImageOfSize(width, height, ratio, format);
#ifndef NDEBUG
    img.fill(kUnwrittenPixel);
#endif
    return img;
}

QImage NewImage(int width, int height, double ratio, QImage::Format format, QRgb fill)
{
    QImage img = ImageOfSize(width, height, ratio, format);
    img.fill(fill);
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
