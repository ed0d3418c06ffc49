// The canvas's bit blocks: copies, stretching, stamps, blending and graphics.
#include "graphics/Canvas.h"

#include "graphics/CanvasImpl.h"

namespace {

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

} // namespace

QImage TCanvas::Impl::SampleBlock(const QImage& src, const QRect& from, const QRect& to, bool mirrorX,
                                  bool mirrorY, const QRect& visible)
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

bool TCanvas::Impl::CopyBlock(const QImage& src, const QRect& from, const QRect& to, TRop rop)
{
    if (Image == nullptr || rop != SRCCOPY || Mono || from.size() != to.size() || !src.rect().contains(from))
        return false;
    const QImage::Format sf = src.format(), tf = Image.Shape().format();
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

bool TCanvas::Impl::ShareWhole(Impl& src, const QRect& from, const QRect& to, TRop rop)
{
    if (rop != SRCCOPY || &src == this || src.Image == nullptr || src.Image == Image || !WholeImagePlain())
        return false;
    const QImage &theirs = src.Image.Shape(), &own = Image.Shape();
    if (theirs.format() != QImage::Format_RGB32 || theirs.size() != own.size() ||
        theirs.devicePixelRatio() != own.devicePixelRatio() || from != theirs.rect() || to != own.rect())
        return false;
    // Neither painter may go on writing into the shared pixels: the next drawing on either
    // image begins a painter anew, which gives that image pixels of its own first.
    End();
    src.End();
    // Every pixel of this image is replaced: whatever it owed is not needed.
    Image.Forgo();
    *Image = *src.Image;
    return true;
}

void TCanvas::UnshareImage(const TCanvas& other, const TRect& cover)
{
    // Only the images' identities are compared: pixels that share with another image's
    // are written, and owe nothing.
    const QImage* own = d->Image.ShapePtr();
    const QImage* theirs = other.d->Image.ShapePtr();
    if (own == nullptr || theirs == nullptr || own == theirs || own->isDetached() || !d->WholeImagePlain() ||
        own->constBits() != theirs->constBits() || !d->Identity)
        return;
    if (!QRect(cover.Left, cover.Top, cover.Width(), cover.Height()).contains(d->DeviceRect()))
        return;
    d->End();
    QImage fresh(own->size(), own->format());
    fresh.setDevicePixelRatio(own->devicePixelRatio());
    *d->Image = std::move(fresh);
}

void TCanvas::Impl::RopBlit(int x, int y, const QImage& src, TRop rop)
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
        QImage* simg = source.d->Image.Defined();
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
        if (!mirrorX && !mirrorY && !source.d->Mono &&
            (d->ShareWhole(*source.d, spix, dpix, rop) || d->CopyBlock(*simg, spix, dpix, rop)))
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
    return d->PlainImage();
}

namespace {

// The pixels that came out the same over black and over white, as runs along the rows.
TCanvas::TStampRuns RunsOf(const QImage& black, const QImage& white, int HotX, int HotY)
{
    TCanvas::TStampRuns made;
    const int width = black.width();
    for (int y = 0; y < black.height(); ++y) {
        const auto* b = reinterpret_cast<const QRgb*>(black.constScanLine(y));
        const auto* w = reinterpret_cast<const QRgb*>(white.constScanLine(y));
        for (int x = 0; x < width;) {
            if (((b[x] ^ w[x]) & 0xFFFFFF) != 0) {
                ++x;
                continue;
            }
            TCanvas::TStampRuns::Run r{y - HotY, x - HotX, 0, int(made.Colours.size())};
            for (; x < width && ((b[x] ^ w[x]) & 0xFFFFFF) == 0; ++x, ++r.Length)
                made.Colours.push_back(b[x] | 0xFF000000u);
            made.Runs.push_back(r);
        }
    }
    made.Left = -HotX, made.Top = -HotY;
    made.Right = width - 1 - HotX, made.Bottom = black.height() - 1 - HotY;
    return made;
}

// Copies the runs with the hot spot on (x, y), within `part`.
inline void StampRunsWithin(uchar* bits, qsizetype stride, const TCanvas::TStampRuns& runs, int x, int y,
                            const QRect& part)
{
    for (const auto& run : runs.Runs) {
        const int row = y + run.Dy;
        if (row < part.top() || row > part.bottom())
            continue;
        const int from = std::max(x + run.Dx, part.left());
        const int to = std::min(x + run.Dx + run.Length - 1, part.right());
        if (from > to)
            continue;
        QRgb* out = reinterpret_cast<QRgb*>(bits + stride * row) + from;
        const QRgb* colour = runs.Colours.data() + run.First + (from - x - run.Dx);
        if (to - from < 4)   // short runs, the most, copied inline
            for (int n = to - from; n >= 0; --n)
                out[n] = colour[n];
        else
            std::memcpy(out, colour, size_t(to - from + 1) * sizeof(QRgb));
    }
}

} // namespace

TCanvas::TStampRuns TCanvas::StampRunsOf(const TCanvas& OnBlack, const TCanvas& OnWhite, int HotX, int HotY)
{
    const QImage* black = OnBlack.d->Image.Defined();
    const QImage* white = OnWhite.d->Image.Defined();
    if (black == nullptr || white == nullptr || black->size() != white->size())
        return {};
    OnBlack.d->End();
    OnWhite.d->End();
    return RunsOf(*black, *white, HotX, HotY);
}

void TCanvas::Stamp(const TStampRuns& Runs, int X, int Y)
{
    if (Runs.Runs.empty() || !CanStamp())
        return;
    const QRect at(X + Runs.Left, Y + Runs.Top, Runs.Right - Runs.Left + 1, Runs.Bottom - Runs.Top + 1);
    uchar* bits = d->Image->bits();
    const qsizetype stride = d->Image->bytesPerLine();
    // Inside the image and one clip rectangle, the most: every run copied whole. Compared
    // inline, as the checks cost as much as the copying of a small picture.
    const auto within = [&](const QRect& r) {
        return at.left() >= r.left() && at.top() >= r.top() && at.right() <= r.right() && at.bottom() <= r.bottom();
    };
    const QRect image(0, 0, d->Image->width(), d->Image->height());
    if (within(image) && (!d->Clip || (!d->ComplexClip && within(d->Clip->boundingRect())))) {
        for (const auto& run : Runs.Runs) {
            QRgb* out = reinterpret_cast<QRgb*>(bits + stride * (Y + run.Dy)) + (X + run.Dx);
            const QRgb* colour = Runs.Colours.data() + run.First;
            if (run.Length <= 4)
                for (int n = run.Length - 1; n >= 0; --n)
                    out[n] = colour[n];
            else
                std::memcpy(out, colour, size_t(run.Length) * sizeof(QRgb));
        }
        return;
    }
    d->ForClipRects([&](const QRect& r) {
        if (const QRect part = at.intersected(r); !part.isEmpty())
            StampRunsWithin(bits, stride, Runs, X, Y, part);
    });
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
