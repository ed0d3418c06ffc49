#include "graphics/Metafile.h"

#include "classes/Streams.h"
#include "graphics/CanvasRecorder.h"
#include "graphics/QtBridge.h"

#include <QString>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <map>
#include <numeric>
#include <optional>

#include "graphics/MetafileFormat.h"

using namespace mfformat;

// ---- recording --------------------------------------------------------------------

namespace {

constexpr int kDefaultBkMode = OPAQUE;
// The most pixels a bitmap in a record may hold, recorded or read.
constexpr int64_t kMaxRecordedPixels = int64_t(1) << 24;

int MMFromPixels(int px) { return MulDiv(px, 2540, 96); }

uint32_t ColorRef(TColor c) { return uint32_t(ColorToDrawRGB(c)) & 0xFFFFFFu; }

// The device rectangle (inclusive) of a logical rectangle of the canvas.
TRect DeviceBox(const TCanvas& c, int l, int t, int r, int b, int grow)
{
    TPoint p[2] = {TPoint(l, t), TPoint(r, b)};
    c.LPtoDP(p, 2);
    TRect d(std::min(p[0].X, p[1].X), std::min(p[0].Y, p[1].Y), std::max(p[0].X, p[1].X), std::max(p[0].Y, p[1].Y));
    return TRect(d.Left - grow, d.Top - grow, d.Right + grow, d.Bottom + grow);
}

TRect PointsBox(const TPoint* pts, int n)
{
    TRect r(pts[0].X, pts[0].Y, pts[0].X, pts[0].Y);
    for (int i = 1; i < n; ++i) {
        r.Left = std::min(r.Left, pts[i].X);
        r.Top = std::min(r.Top, pts[i].Y);
        r.Right = std::max(r.Right, pts[i].X);
        r.Bottom = std::max(r.Bottom, pts[i].Y);
    }
    return r;
}

// The pixels of a graphic as a device-independent bitmap (32 bits, or 1 bit for a
// black-and-white source).
std::vector<uint8_t> ImageToDib(const QImage& img, bool mono)
{
    const int w = img.width(), h = img.height();
    const int bpp = mono ? 1 : 32;
    const uint32_t stride = DibStride(w, bpp);
    Writer out;
    out.u32(40);
    out.i32(w);
    out.i32(h);   // bottom-up rows
    out.u16(1);
    out.u16(uint16_t(bpp));
    out.u32(0);   // BI_RGB
    out.u32(stride * uint32_t(h));
    out.i32(3780);
    out.i32(3780);
    out.u32(mono ? 2 : 0);
    out.u32(0);
    if (mono) {
        out.u32(0x00000000);
        out.u32(0x00FFFFFF);
    }
    const size_t bitsAt = out.b.size();
    out.b.resize(bitsAt + size_t(stride) * size_t(h), 0);
    for (int y = 0; y < h; ++y) {
        const auto* src = reinterpret_cast<const QRgb*>(img.constScanLine(y));
        uint8_t* dst = out.b.data() + bitsAt + size_t(stride) * size_t(h - 1 - y);
        for (int x = 0; x < w; ++x) {
            if (mono) {
                if ((src[x] & 0xFFFFFF) != 0)
                    dst[x / 8] |= uint8_t(0x80 >> (x % 8));
            } else {
                dst[x * 4 + 0] = uint8_t(qBlue(src[x]));
                dst[x * 4 + 1] = uint8_t(qGreen(src[x]));
                dst[x * 4 + 2] = uint8_t(qRed(src[x]));
                dst[x * 4 + 3] = 0;
            }
        }
    }
    return out.b;
}

} // namespace

// Turns canvas operations into enhanced-metafile records. Pens, brushes, fonts and the
// device-context attributes are compared with what was last written before each
// operation, and only changes are written, in the order they take effect.
class TMetafileRecorder : public TCanvasRecorder {
public:
    explicit TMetafileRecorder(TRect frame) : FFrame(frame) {}

    void Record(TCanvas& c, const TCanvasOp& op) override;

    // Hands the records to the metafile.
    void Finish(TMetafile& m)
    {
        m.FRecords = std::move(FBody);
        m.FRecordCount = FCount;
        m.FHandles = uint16_t(FMaxSlot + 1);
        m.FBounds = FBounds;
        m.FHasContent = true;
        if (m.FWidth <= 0 || m.FHeight <= 0) {
            // No size given: the picture reaches to what was drawn.
            if (FBounds.Right >= FBounds.Left)
                m.SetSize(std::max(1, FBounds.Right + 1), std::max(1, FBounds.Bottom + 1));
        }
    }

private:
    void Emit(Writer rec)
    {
        if (rec.b.empty())
            return;
        rec.Finish();
        FBody.insert(FBody.end(), rec.b.begin(), rec.b.end());
        ++FCount;
    }
    static Writer New(uint32_t type)
    {
        Writer w;
        w.u32(type);
        w.u32(0);
        return w;
    }
    void Simple(uint32_t type, uint32_t v)
    {
        Writer w = New(type);
        w.u32(v);
        Emit(std::move(w));
    }
    void Pt(uint32_t type, int x, int y)
    {
        Writer w = New(type);
        w.i32(x);
        w.i32(y);
        Emit(std::move(w));
    }
    void Rect(Writer& w, const TRect& r)
    {
        w.i32(r.Left);
        w.i32(r.Top);
        w.i32(r.Right);
        w.i32(r.Bottom);
    }

    // Bounds of an operation in device pixels (inclusive), added to the picture's.
    TRect Touch(const TCanvas& c, TRect logical)
    {
        const int grow = std::max(1, c.Pen()->Width()) / 2 + 1;
        TRect d = DeviceBox(c, logical.Left, logical.Top, logical.Right, logical.Bottom, grow);
        if (FFrame.Right > FFrame.Left && FFrame.Bottom > FFrame.Top) {
            d.Left = std::max(d.Left, FFrame.Left);
            d.Top = std::max(d.Top, FFrame.Top);
            d.Right = std::min(d.Right, FFrame.Right - 1);
            d.Bottom = std::min(d.Bottom, FFrame.Bottom - 1);
        }
        if (d.Right < d.Left || d.Bottom < d.Top)
            return TRect(0, 0, -1, -1);
        if (FBounds.Right < FBounds.Left)
            FBounds = d;
        else
            FBounds = TRect(std::min(FBounds.Left, d.Left), std::min(FBounds.Top, d.Top),
                            std::max(FBounds.Right, d.Right), std::max(FBounds.Bottom, d.Bottom));
        return d;
    }

    // ---- objects ----
    int NewSlot()
    {
        for (size_t i = 1; i < FSlots.size(); ++i)
            if (!FSlots[i]) {
                FSlots[i] = true;
                return int(i);
            }
        FSlots.push_back(true);
        FMaxSlot = std::max(FMaxSlot, int(FSlots.size()) - 1);
        return int(FSlots.size()) - 1;
    }
    // Writes a new object (its record without the handle), selects it and deletes the
    // one it replaces.
    void Replace(uint32_t type, const std::vector<uint8_t>& body, int& slot)
    {
        const int old = slot;
        slot = NewSlot();
        Writer w = New(type);
        w.u32(uint32_t(slot));
        w.b.insert(w.b.end(), body.begin(), body.end());
        Emit(std::move(w));
        Simple(EMR_SELECTOBJECT, uint32_t(slot));
        if (old > 0) {
            Simple(EMR_DELETEOBJECT, uint32_t(old));
            FSlots[size_t(old)] = false;
        }
    }

    void SyncPen(const TCanvas& c)
    {
        const TPen& p = *c.Pen();
        Writer b;
        uint32_t type = EMR_CREATEPEN;
        if (!p.IsExtended()) {
            b.u32(uint32_t(p.Style()));
            b.i32(p.Width());
            b.i32(0);
            b.u32(ColorRef(p.Color()));
        } else {
            type = EMR_EXTCREATEPEN;
            const TExtPenInfo& e = p.ExtInfo();
            uint32_t style = p.Style() == psClear ? PS_NULL : p.Style() == psInsideFrame ? PS_INSIDEFRAME : uint32_t(p.Style());
            if (e.Alternate)
                style = PS_ALTERNATE;
            else if (!e.UserStyle.empty() && p.Style() != psClear)
                style = PS_USERSTYLE;
            if (!e.Alternate) {
                style |= PS_GEOMETRIC;
                style |= e.EndCap == pecSquare ? PS_ENDCAP_SQUARE : e.EndCap == pecFlat ? PS_ENDCAP_FLAT : 0;
                style |= e.Join == pjBevel ? PS_JOIN_BEVEL : e.Join == pjMiter ? PS_JOIN_MITER : 0;
            }
            const bool user = (style & 0xF) == PS_USERSTYLE;
            b.u32(0);   // offBmi, cbBmi, offBits, cbBits: no pattern
            b.u32(0);
            b.u32(0);
            b.u32(0);
            b.u32(style);
            b.u32(uint32_t(p.Width()));
            b.u32(0);   // BS_SOLID
            b.u32(ColorRef(p.Color()));
            b.u32(0);
            b.u32(user ? uint32_t(e.UserStyle.size()) : 0);
            if (user)
                for (int v : e.UserStyle)
                    b.u32(uint32_t(v));
        }
        std::vector<uint8_t> key = b.b;
        key.insert(key.begin(), uint8_t(type));
        if (FPenSlot > 0 && key == FPenKey)
            return;
        FPenKey = key;
        Replace(type, b.b, FPenSlot);
    }

    void SyncBrush(const TCanvas& c)
    {
        const TBrush& br = *c.Brush();
        Writer b;
        uint32_t type = EMR_CREATEBRUSHINDIRECT;
        const auto& pat = br.PatternPixels();
        if (!pat.Pixels.empty()) {
            type = EMR_CREATEDIBPATTERNBRUSHPT;
            QImage img(pat.Width, pat.Height, QImage::Format_RGB32);
            for (int y = 0; y < pat.Height; ++y)
                for (int x = 0; x < pat.Width; ++x)
                    img.setPixel(x, y, 0xFF000000u | pat.Pixels[size_t(y) * pat.Width + x]);
            const std::vector<uint8_t> d = ImageToDib(img, pat.Mono);
            const uint32_t bmiSize = pat.Mono ? 48 : 40;
            // iUsage, offBmi, cbBmi, offBits, cbBits; offsets from the record's start
            b.u32(0);   // DIB_RGB_COLORS
            b.u32(32);
            b.u32(bmiSize);
            b.u32(32 + bmiSize);
            b.u32(uint32_t(d.size()) - bmiSize);
            b.b.insert(b.b.end(), d.begin(), d.end());
        } else if (br.Style() == bsClear) {
            b.u32(BS_NULL);
            b.u32(ColorRef(br.Color()));
            b.u32(0);
        } else if (br.Style() == bsSolid) {
            b.u32(BS_SOLID);
            b.u32(ColorRef(br.Color()));
            b.u32(0);
        } else {
            b.u32(BS_HATCHED);
            b.u32(ColorRef(br.Color()));
            b.u32(uint32_t(br.Style() - bsHorizontal));
        }
        std::vector<uint8_t> key = b.b;
        key.insert(key.begin(), uint8_t(type));
        if (FBrushSlot > 0 && key == FBrushKey)
            return;
        FBrushKey = key;
        Replace(type, b.b, FBrushSlot);
    }

    void SyncFont(TCanvas& c)
    {
        const TFont& f = *c.Font();
        Writer b;
        b.i32(f.Height());
        b.i32(0);
        b.i32(f.Orientation());
        b.i32(f.Orientation());
        b.i32((f.Style() & fsBold) ? 700 : 400);
        b.u8((f.Style() & fsItalic) ? 1 : 0);
        b.u8((f.Style() & fsUnderline) ? 1 : 0);
        b.u8((f.Style() & fsStrikeOut) ? 1 : 0);
        b.u8(f.Charset());
        b.u8(0);
        b.u8(0);
        b.u8(f.Quality() == fqNonAntialiased ? 3 : f.Quality() == fqAntialiased ? 4 : 0);
        b.u8(f.Pitch() == fpFixed ? 1 : f.Pitch() == fpVariable ? 2 : 0);
        const QString face = QString::fromStdString(f.Name()).left(31);
        for (int i = 0; i < 32; ++i)
            b.u16(i < face.size() ? face.at(i).unicode() : 0);
        if (FFontSlot > 0 && b.b == FFontKey)
            return;
        FFontKey = b.b;
        Replace(EMR_EXTCREATEFONTINDIRECTW, b.b, FFontSlot);
        FTextColor.reset();   // the font brings its colour along: say the text colour again
    }

    void SyncAttributes(TCanvas& c)
    {
        auto sync = [&](std::optional<uint32_t>& seen, uint32_t now, uint32_t type) {
            if (!seen || *seen != now) {
                seen = now;
                Simple(type, now);
            }
        };
        sync(FBkColor, ColorRef(c.BkColor()), EMR_SETBKCOLOR);
        sync(FBkMode, uint32_t(c.BkMode()), EMR_SETBKMODE);
        sync(FTextColor, ColorRef(c.TextColor()), EMR_SETTEXTCOLOR);
        sync(FTextAlign, c.TextAlign().Bits(), EMR_SETTEXTALIGN);
        sync(FRop2, uint32_t(PenModeToRop2(c.Pen()->Mode())), EMR_SETROP2);
        sync(FFillMode, uint32_t(c.PolyFillMode()), EMR_SETPOLYFILLMODE);
        sync(FArcDir, uint32_t(c.ArcDirection()), EMR_SETARCDIRECTION);
        if (!FCharExtra || *FCharExtra != c.TextCharacterExtra()) {
            FCharExtra = c.TextCharacterExtra();
            Writer w = New(EMR_GDICOMMENT);
            w.u32(8);
            w.u32(kCharExtraTag);
            w.i32(*FCharExtra);
            Emit(std::move(w));
        }
        // Mapping: the mode first (it resets the extents), then extents, then origins.
        if (FMapMode != c.MapMode()) {
            FMapMode = c.MapMode();
            Simple(EMR_SETMAPMODE, uint32_t(FMapMode));
            FWinExt = TSize(1, 1);
            FVpExt = TSize(1, 1);
        }
        if (FMapMode == MM_ANISOTROPIC) {
            if (FWinExt != c.WindowExt()) {
                FWinExt = c.WindowExt();
                Pt(EMR_SETWINDOWEXTEX, FWinExt.cx, FWinExt.cy);
            }
            if (FVpExt != c.ViewportExt()) {
                FVpExt = c.ViewportExt();
                Pt(EMR_SETVIEWPORTEXTEX, FVpExt.cx, FVpExt.cy);
            }
        }
        if (FWinOrg != c.WindowOrg()) {
            FWinOrg = c.WindowOrg();
            Pt(EMR_SETWINDOWORGEX, FWinOrg.X, FWinOrg.Y);
        }
        if (FVpOrg != c.ViewportOrg()) {
            FVpOrg = c.ViewportOrg();
            Pt(EMR_SETVIEWPORTORGEX, FVpOrg.X, FVpOrg.Y);
        }
    }

    void SyncAll(TCanvas& c)
    {
        SyncPen(c);
        SyncBrush(c);
        SyncFont(c);
        SyncAttributes(c);
    }

    void Poly(TCanvas& c, uint32_t type, const TPoint* pts, int n)
    {
        const TRect b = Touch(c, PointsBox(pts, n));
        Writer w = New(type);
        Rect(w, b);
        w.u32(uint32_t(n));
        for (int i = 0; i < n; ++i) {
            w.i32(pts[i].X);
            w.i32(pts[i].Y);
        }
        Emit(std::move(w));
    }
    // A figure's box as the records keep it: normalised, right and bottom inclusive.
    static TRect Box(const int* a)
    {
        return TRect(std::min(a[0], a[2]), std::min(a[1], a[3]), std::max(a[0], a[2]) - 1, std::max(a[1], a[3]) - 1);
    }
    void BoxRecord(TCanvas& c, uint32_t type, const int* a, int extra)
    {
        Touch(c, TRect(std::min(a[0], a[2]), std::min(a[1], a[3]), std::max(a[0], a[2]), std::max(a[1], a[3])));
        Writer w = New(type);
        Rect(w, Box(a));
        for (int i = 0; i < extra; ++i)
            w.i32(a[4 + i]);
        Emit(std::move(w));
    }
    // A brush-pattern block without a source bitmap.
    void PatBlt(TCanvas& c, int x, int y, int cx, int cy, TRop rop)
    {
        const TRect b = Touch(c, TRect(x, y, x + cx, y + cy));
        Writer w = New(EMR_BITBLT);
        Rect(w, b);
        w.i32(x);
        w.i32(y);
        w.i32(cx);
        w.i32(cy);
        w.u32(rop);
        w.i32(0);
        w.i32(0);
        WriteIdentityXform(w);
        w.u32(0);   // crBkColorSrc
        w.u32(0);   // iUsageSrc
        w.u32(0);
        w.u32(0);
        w.u32(0);
        w.u32(0);
        Emit(std::move(w));
    }
    static void WriteIdentityXform(Writer& w)
    {
        w.f32(1);
        w.f32(0);
        w.f32(0);
        w.f32(1);
        w.f32(0);
        w.f32(0);
    }
    // A block with a source bitmap, laid out as EMR_STRETCHBLT (also ALPHABLEND and
    // TRANSPARENTBLT).
    void SourceBlt(TCanvas& c, uint32_t type, const int* a, uint32_t rop, const QImage& src, bool mono)
    {
        const TRect b = Touch(c, TRect(std::min(a[0], a[0] + a[2]), std::min(a[1], a[1] + a[3]),
                                       std::max(a[0], a[0] + a[2]), std::max(a[1], a[1] + a[3])));
        const std::vector<uint8_t> dib = ImageToDib(src, mono);
        const uint32_t bmiSize = mono ? 48 : 40;
        Writer w = New(type);
        Rect(w, b);
        w.i32(a[0]);
        w.i32(a[1]);
        w.i32(a[2]);
        w.i32(a[3]);
        w.u32(rop);
        w.i32(0);
        w.i32(0);
        WriteIdentityXform(w);
        w.u32(ColorRef(c.BkColor()));
        w.u32(0);
        w.u32(108);
        w.u32(bmiSize);
        w.u32(108 + bmiSize);
        w.u32(uint32_t(dib.size()) - bmiSize);
        w.i32(src.width());
        w.i32(src.height());
        w.b.insert(w.b.end(), dib.begin(), dib.end());
        Emit(std::move(w));
    }
    // Narrows the source span from..to (either way round, device units) to the source's
    // pixels 0..size and the destination span at..at+extent in proportion; false when
    // nothing is left.
    static bool ClipSpan(int& from, int& to, int size, int& at, int& extent)
    {
        const int64_t lo = std::max<int64_t>(std::min(from, to), 0);
        const int64_t hi = std::min<int64_t>(std::max(from, to), size);
        if (lo >= hi)
            return false;
        const int64_t newFrom = from < to ? lo : hi, newTo = from < to ? hi : lo;
        const double scale = double(extent) / (double(to) - double(from));
        const int64_t start = at + std::llround(scale * double(newFrom - from));
        const int64_t end = at + std::llround(scale * double(newTo - from));
        if (start == end || start < INT32_MIN || start > INT32_MAX || end - start < INT32_MIN || end - start > INT32_MAX)
            return false;
        from = int(newFrom);
        to = int(newTo);
        at = int(start);
        extent = int(end - start);
        return true;
    }
    // The source pixels of a block, in the direction of positive extents. Only the part
    // of the block on the source's pixels is taken, and the destination `dest` (x, y,
    // width, height) narrowed to it: nothing lies beyond them, and a block reaching far
    // beyond would make every such record as large as any a record may hold.
    static bool Grab(const TCanvas& src, int sx, int sy, int sw, int sh, int* dest, QImage& out)
    {
        QImage* img = qtbridge::RasterImage(src);
        if (img == nullptr || sw == 0 || sh == 0)
            return false;
        TPoint p[2] = {TPoint(sx, sy), TPoint(ClampDeviceCoord(int64_t(sx) + sw), ClampDeviceCoord(int64_t(sy) + sh))};
        src.LPtoDP(p, 2);
        const QSize held = qtbridge::DeviceSize(*img);
        if (!ClipSpan(p[0].X, p[1].X, held.width(), dest[0], dest[2]) ||
            !ClipSpan(p[0].Y, p[1].Y, held.height(), dest[1], dest[3]))
            return false;
        const QRect r = QRect(QPoint(p[0].X, p[0].Y), QPoint(p[1].X - 1, p[1].Y - 1)).normalized();
        // A source larger than any bitmap a record may hold is not recorded.
        if (r.isEmpty() || int64_t(r.width()) * r.height() > kMaxRecordedPixels)
            return false;
        // A denser source gives one pixel per device unit, as the record's extents count.
        out = img->copy(qtbridge::ImagePixels(src, r)).convertToFormat(QImage::Format_RGB32);
        if (out.size() != r.size())
            out = out.scaled(r.size());
        out.setDevicePixelRatio(1);
        const bool mx = p[1].X < p[0].X, my = p[1].Y < p[0].Y;
        if (mx || my)
            out = out.mirrored(mx, my);
        return true;
    }

    void Text(TCanvas& c, const TCanvasOp& op)
    {
        const QString qs = QString::fromStdString(*op.Text);
        const int x = op.A[op.Op == TCanvasOp::TextRect ? 4 : 0];
        const int y = op.A[op.Op == TCanvasOp::TextRect ? 5 : 1];
        const int w = c.TextWidth(*op.Text), h = c.TextHeight(*op.Text);
        const int reach = w + h;
        TRect b = Touch(c, TRect(x - reach, y - reach, x + reach, y + reach));
        Writer r = New(EMR_EXTTEXTOUTW);
        Rect(r, b);
        r.u32(1);   // GM_COMPATIBLE
        r.f32(1);
        r.f32(1);
        r.i32(x);
        r.i32(y);
        const uint32_t n = uint32_t(qs.size());
        const uint32_t stringBytes = (n * 2 + 3) & ~3u;
        r.u32(n);
        r.u32(76);
        uint32_t options = 0;
        TRect clip;
        if (op.Op == TCanvasOp::TextRect) {
            options = ETO_CLIPPED;
            if (c.Brush()->Style() != bsClear)
                options |= ETO_OPAQUE;
            clip = TRect(op.A[0], op.A[1], op.A[2], op.A[3]);
        }
        r.u32(options);
        Rect(r, clip);
        r.u32(76 + stringBytes);
        for (int i = 0; i < qs.size(); ++i)
            r.u16(qs.at(i).unicode());
        while (r.b.size() % 4)
            r.u8(0);
        // Advances of each character, so that other readers place them as we measure them.
        for (int i = 0; i < qs.size(); ++i) {
            const QChar ch = qs.at(i);
            if (ch.isLowSurrogate()) {
                r.i32(0);
                continue;
            }
            const QString one = ch.isHighSurrogate() && i + 1 < qs.size() ? qs.mid(i, 2) : QString(ch);
            r.i32(c.TextWidth(one.toStdString()));
        }
        Emit(std::move(r));
    }

    void Region(uint32_t mode, const TRegion* region)
    {
        Writer w = New(EMR_EXTSELECTCLIPRGN);
        if (region == nullptr) {
            w.u32(0);
            w.u32(uint32_t(mode));
            Emit(std::move(w));
            return;
        }
        const std::vector<TRect> rects = region->Rects();
        const TRect bounds = region->Bounds();
        w.u32(32 + 16 * uint32_t(rects.size()));
        w.u32(uint32_t(mode));
        w.u32(32);
        w.u32(1);   // RDH_RECTANGLES
        w.u32(uint32_t(rects.size()));
        w.u32(16 * uint32_t(rects.size()));
        Rect(w, bounds);
        for (const TRect& r : rects)
            Rect(w, r);
        Emit(std::move(w));
    }

    TRect FFrame;
    std::vector<uint8_t> FBody;
    uint32_t FCount = 0;
    TRect FBounds{0, 0, -1, -1};
    std::vector<bool> FSlots{true};
    int FMaxSlot = 0;
    int FPenSlot = 0, FBrushSlot = 0, FFontSlot = 0;
    std::vector<uint8_t> FPenKey, FBrushKey, FFontKey;
    // What was last written (the records' defaults where nothing was).
    std::optional<uint32_t> FBkColor = 0xFFFFFF, FBkMode = uint32_t(kDefaultBkMode), FTextColor,
                            FTextAlign = 0u, FRop2 = uint32_t(R2_COPYPEN), FFillMode = uint32_t(ALTERNATE),
                            FArcDir = uint32_t(AD_COUNTERCLOCKWISE);
    std::optional<int> FCharExtra = 0;
    int FMapMode = MM_TEXT;
    TPoint FWinOrg, FVpOrg;
    TSize FWinExt{1, 1}, FVpExt{1, 1};
    int FSaveDepth = 0;
};

void TMetafileRecorder::Record(TCanvas& c, const TCanvasOp& op)
{
    using K = TCanvasOp;
    const int* a = op.A;
    switch (op.Op) {
    case K::MoveTo:
        SyncAttributes(c);
        Pt(EMR_MOVETOEX, a[0], a[1]);
        return;
    case K::LineTo: {
        SyncAll(c);
        const TPoint p = c.PenPos();
        Touch(c, TRect(std::min(p.X, a[0]), std::min(p.Y, a[1]), std::max(p.X, a[0]), std::max(p.Y, a[1])));
        Pt(EMR_LINETO, a[0], a[1]);
        return;
    }
    case K::Polyline: SyncAll(c); Poly(c, EMR_POLYLINE, op.Points, op.Count); return;
    case K::Polygon: SyncAll(c); Poly(c, EMR_POLYGON, op.Points, op.Count); return;
    case K::PolyBezier: SyncAll(c); Poly(c, EMR_POLYBEZIER, op.Points, op.Count); return;
    case K::Rectangle: SyncAll(c); BoxRecord(c, EMR_RECTANGLE, a, 0); return;
    case K::Ellipse: SyncAll(c); BoxRecord(c, EMR_ELLIPSE, a, 0); return;
    case K::RoundRect: SyncAll(c); BoxRecord(c, EMR_ROUNDRECT, a, 2); return;
    case K::Arc: SyncAll(c); BoxRecord(c, EMR_ARC, a, 4); return;
    case K::ArcTo: {
        SyncAll(c);
        const TPoint p = c.PenPos();
        Touch(c, TRect(p.X, p.Y, p.X, p.Y));
        BoxRecord(c, EMR_ARCTO, a, 4);
        return;
    }
    case K::Pie: SyncAll(c); BoxRecord(c, EMR_PIE, a, 4); return;
    case K::Chord: SyncAll(c); BoxRecord(c, EMR_CHORD, a, 4); return;
    case K::FillRect: {
        SyncAll(c);
        int l = std::min(a[0], a[2]), t = std::min(a[1], a[3]), r = std::max(a[0], a[2]), b = std::max(a[1], a[3]);
        if (r > l && b > t)
            PatBlt(c, l, t, r - l, b - t, PATCOPY);
        return;
    }
    case K::FrameRect: {
        // The four edges, as the canvas paints them.
        const TRect r(a[0], a[1], a[2], a[3]);
        if (IsRectEmpty(r))
            return;
        SyncAll(c);
        const int w = r.Width(), h = r.Height();
        PatBlt(c, r.Left, r.Top, w, 1, PATCOPY);
        if (h > 1)
            PatBlt(c, r.Left, r.Bottom - 1, w, 1, PATCOPY);
        if (h > 2) {
            PatBlt(c, r.Left, r.Top + 1, 1, h - 2, PATCOPY);
            if (w > 1)
                PatBlt(c, r.Right - 1, r.Top + 1, 1, h - 2, PATCOPY);
        }
        return;
    }
    case K::SetPixel: {
        SyncAttributes(c);
        Touch(c, TRect(a[0], a[1], a[0], a[1]));
        Writer w = New(EMR_SETPIXELV);
        w.i32(a[0]);
        w.i32(a[1]);
        w.u32(ColorRef(TColor(a[2])));
        Emit(std::move(w));
        return;
    }
    case K::TextOut:
    case K::TextRect:
        SyncAll(c);
        Text(c, op);
        return;
    case K::BeginPath: SyncAttributes(c); Emit(New(EMR_BEGINPATH)); return;
    case K::EndPath: Emit(New(EMR_ENDPATH)); return;
    case K::AbortPath: Emit(New(EMR_ABORTPATH)); return;
    case K::CloseFigure: Emit(New(EMR_CLOSEFIGURE)); return;
    case K::WidenPath: SyncAll(c); Emit(New(EMR_WIDENPATH)); return;
    case K::StrokePath:
    case K::FillPath:
    case K::StrokeAndFillPath: {
        SyncAll(c);
        Writer w = New(op.Op == K::StrokePath ? EMR_STROKEPATH : op.Op == K::FillPath ? EMR_FILLPATH : EMR_STROKEANDFILLPATH);
        Rect(w, FFrame.Right > FFrame.Left ? TRect(FFrame.Left, FFrame.Top, FFrame.Right - 1, FFrame.Bottom - 1)
                                           : TRect(0, 0, -1, -1));
        if (FFrame.Right > FFrame.Left)
            Touch(c, c.ClipRect());
        Emit(std::move(w));
        return;
    }
    case K::SelectClipPath: SyncAttributes(c); Simple(EMR_SELECTCLIPPATH, uint32_t(op.Mode)); return;
    case K::SelectClipRgn: Region(RGN_COPY, op.Region); return;
    case K::ExtSelectClipRgn:
        if (op.Region == nullptr && op.Mode != RGN_COPY)
            return;
        Region(uint32_t(op.Mode), op.Region);
        return;
    case K::IntersectClipRect:
    case K::ExcludeClipRect: {
        SyncAttributes(c);
        Writer w = New(op.Op == K::IntersectClipRect ? EMR_INTERSECTCLIPRECT : EMR_EXCLUDECLIPRECT);
        Rect(w, TRect(a[0], a[1], a[2], a[3]));
        Emit(std::move(w));
        return;
    }
    case K::PushClip:
        ++FSaveDepth;
        Emit(New(EMR_SAVEDC));
        return;
    case K::PopClip:
        if (FSaveDepth > 0) {
            --FSaveDepth;
            Simple(EMR_RESTOREDC, uint32_t(-1));
            // A reader restores every attribute: write them again when next used.
            FPenKey.clear();
            FBrushKey.clear();
            FFontKey.clear();
            FBkColor.reset();
            FBkMode.reset();
            FTextColor.reset();
            FTextAlign.reset();
            FRop2.reset();
            FFillMode.reset();
            FArcDir.reset();
            FMapMode = -1;
            FWinOrg = TPoint(INT32_MIN, 0);
            FVpOrg = TPoint(INT32_MIN, 0);
        } else {
            Region(RGN_COPY, nullptr);   // nothing saved: the canvas drops its clip
        }
        return;
    case K::StretchBlt: {
        const uint8_t table = uint8_t((op.Rop >> 16) & 0xFF);
        const bool usesSource = ((table >> 2) & 0x33) != (table & 0x33);
        if (a[2] == 0 || a[3] == 0)
            return;
        SyncAll(c);
        if (!usesSource) {
            PatBlt(c, a[0], a[1], a[2], a[3], op.Rop);
            return;
        }
        QImage src;
        int args[4] = {a[0], a[1], a[2], a[3]};
        if (op.Source == nullptr || !Grab(*op.Source, a[4], a[5], a[6], a[7], args, src))
            return;
        SourceBlt(c, EMR_STRETCHBLT, args, op.Rop, src, op.Source->IsMonochrome());
        return;
    }
    case K::AlphaBlend: {
        QImage src;
        int args[4] = {a[0], a[1], a[2], a[3]};
        if (a[2] <= 0 || a[3] <= 0 || op.Source == nullptr || !Grab(*op.Source, a[4], a[5], a[6], a[7], args, src))
            return;
        SyncAll(c);
        const uint32_t blend = uint32_t(std::clamp(op.Mode, 0, 255)) << 16;
        SourceBlt(c, EMR_ALPHABLEND, args, blend, src, false);
        return;
    }
    case K::DrawBitmap: {
        const TBitmap* bmp = op.Bitmap;
        if (bmp == nullptr || bmp->Empty())
            return;
        SyncAll(c);
        const QImage& img = bmp->impl().Image();
        int args[4] = {a[0], a[1], a[2] - a[0], a[3] - a[1]};
        if (bmp->Transparent()) {
            SourceBlt(c, EMR_TRANSPARENTBLT, args, ColorRef(bmp->TransparentColor()), img, false);
            return;
        }
        // EMR_STRETCHDIBITS: the whole bitmap into the rectangle.
        const TRect b = Touch(c, TRect(std::min(a[0], a[2]), std::min(a[1], a[3]), std::max(a[0], a[2]), std::max(a[1], a[3])));
        const std::vector<uint8_t> dib = ImageToDib(img, false);
        Writer w = New(EMR_STRETCHDIBITS);
        Rect(w, b);
        w.i32(args[0]);
        w.i32(args[1]);
        w.i32(0);
        w.i32(0);
        w.i32(img.width());
        w.i32(img.height());
        w.u32(80);
        w.u32(40);
        w.u32(120);
        w.u32(uint32_t(dib.size()) - 40);
        w.u32(0);
        w.u32(SRCCOPY);
        w.i32(args[2]);
        w.i32(args[3]);
        w.b.insert(w.b.end(), dib.begin(), dib.end());
        Emit(std::move(w));
        return;
    }
    }
}

// ---- playback ---------------------------------------------------------------------

namespace {

TPenMode PenModeFromRop2(int rop2)
{
    for (int m = pmBlack; m <= pmNotXor; ++m)
        if (PenModeToRop2(TPenMode(m)) == rop2)
            return TPenMode(m);
    return pmCopy;
}

// A bitmap from a DIB (1, 24 or 32 bits, uncompressed); nullptr when the data do not
// hold one.
std::unique_ptr<TBitmap> DibToBitmap(const Reader& rec, uint32_t offBmi, uint32_t cbBmi, uint32_t offBits, uint32_t cbBits)
{
    if (cbBmi < 40 || !rec.Has(offBmi, cbBmi) || !rec.Has(offBits, cbBits))
        return nullptr;
    const int32_t w = rec.i32(offBmi + 4);
    const int32_t hRaw = rec.i32(offBmi + 8);
    const int bpp = rec.u16(offBmi + 14);
    const uint32_t compression = rec.u32(offBmi + 16);
    const int64_t h = std::abs(int64_t(hRaw));
    if (w <= 0 || h <= 0 || compression != 0 || (bpp != 1 && bpp != 24 && bpp != 32) || int64_t(w) * h > kMaxRecordedPixels)
        return nullptr;
    const uint32_t stride = DibStride(w, bpp);
    if (uint64_t(stride) * uint64_t(h) > cbBits)
        return nullptr;
    const uint32_t headerSize = rec.u32(offBmi);
    QRgb palette[2] = {0xFF000000u, 0xFFFFFFFFu};
    if (bpp == 1 && cbBmi >= headerSize + 8) {
        for (int k = 0; k < 2; ++k) {
            const uint32_t v = rec.u32(offBmi + headerSize + 4 * k);
            palette[k] = 0xFF000000u | (v & 0xFFFFFF);
        }
    }
    const bool mono = bpp == 1 && (palette[0] & 0xFFFFFF) == 0 && (palette[1] & 0xFFFFFF) == 0xFFFFFF;
    auto bmp = std::make_unique<TBitmap>(w, int(h), mono ? pf1bit : pfDevice);
    QImage& img = bmp->impl().Image();
    const uint8_t* bits = rec.p + offBits;
    for (int y = 0; y < h; ++y) {
        const uint8_t* src = bits + size_t(stride) * size_t(hRaw > 0 ? h - 1 - y : y);
        auto* dst = reinterpret_cast<QRgb*>(img.scanLine(y));
        for (int x = 0; x < w; ++x) {
            if (bpp == 1)
                dst[x] = palette[(src[x / 8] >> (7 - x % 8)) & 1];
            else if (bpp == 24)
                dst[x] = qRgb(src[x * 3 + 2], src[x * 3 + 1], src[x * 3]);
            else
                dst[x] = qRgb(src[x * 4 + 2], src[x * 4 + 1], src[x * 4]);
        }
    }
    return bmp;
}

// Plays enhanced-metafile records onto a canvas, the picture's device space mapped onto
// a rectangle of the canvas.
class Player {
public:
    Player(TCanvas& c, const TRect& dest, int width, int height) : C(c), Dest(dest), W(width), H(height)
    {
        SavePen.Assign(c.Pen());
        SaveBrush.Assign(c.Brush());
        SaveFont.Assign(c.Font());
        SaveBk = c.BkColor();
        SaveBkMode = c.BkMode();
        SaveText = c.TextColor();
        SaveAlign = c.TextAlign();
        SaveExtra = c.TextCharacterExtra();
        SaveArc = c.ArcDirection();
        SaveFill = c.PolyFillMode();
        SavePos = c.PenPos();
        SaveMap = c.MapMode();
        SaveWinOrg = c.WindowOrg();
        SaveWinExt = c.WindowExt();
        SaveVpOrg = c.ViewportOrg();
        SaveVpExt = c.ViewportExt();
        SaveHadClip = c.GetClipRgn(SaveClip);
        SaveDepth = c.ClipDepth();
        if (SaveMap != MM_ANISOTROPIC) {
            SaveWinExt = TSize(1, 1);
            SaveVpExt = TSize(1, 1);
        }

        // The playback never leaves the rectangle (nor the clip already in force).
        TPoint p[2] = {Dest.TopLeft(), Dest.BottomRight()};
        c.LPtoDP(p, 2);
        Base = TRegion::CreateRect(std::min(p[0].X, p[1].X), std::min(p[0].Y, p[1].Y), std::max(p[0].X, p[1].X),
                                   std::max(p[0].Y, p[1].Y));
        if (SaveHadClip)
            Base.Combine(SaveClip, RGN_AND);

        // The records start from the device context's defaults.
        TPen pen;
        TBrush brush;
        TFont font;
        c.Pen()->Assign(&pen);
        c.Brush()->Assign(&brush);
        c.Font()->Assign(&font);
        c.SetTextColor(clBlack);
        c.SetBkColor(clWhite);
        c.SetBkMode(OPAQUE);
        c.SetTextAlign(0);
        c.SetTextCharacterExtra(0);
        c.SetArcDirection(AD_COUNTERCLOCKWISE);
        c.SetPolyFillMode(ALTERNATE);
        ApplyMapping();
        c.MoveTo(0, 0);
        c.SelectClipRgn(&Base);
    }

    ~Player()
    {
        if (C.HasPath() || InPath)
            C.AbortPath();
        while (C.ClipDepth() > SaveDepth)
            C.PopClip();
        C.SelectClipRgn(SaveHadClip ? &SaveClip : nullptr);
        C.SetMapMode(SaveMap);
        if (SaveMap == MM_ANISOTROPIC) {
            C.SetWindowExt(SaveWinExt.cx, SaveWinExt.cy);
            C.SetViewportExt(SaveVpExt.cx, SaveVpExt.cy);
        }
        C.SetWindowOrg(SaveWinOrg.X, SaveWinOrg.Y);
        C.SetViewportOrg(SaveVpOrg.X, SaveVpOrg.Y);
        C.Pen()->Assign(&SavePen);
        C.Brush()->Assign(&SaveBrush);
        C.Font()->Assign(&SaveFont);
        C.SetTextColor(SaveText);
        C.SetBkColor(SaveBk);
        C.SetBkMode(SaveBkMode);
        C.SetTextAlign(SaveAlign);
        C.SetTextCharacterExtra(SaveExtra);
        C.SetArcDirection(SaveArc);
        C.SetPolyFillMode(SaveFill);
        C.MoveTo(SavePos.X, SavePos.Y);
    }

    void Run(const uint8_t* data, size_t size)
    {
        size_t at = 0;
        while (at + 8 <= size) {
            uint32_t type, len;
            std::memcpy(&type, data + at, 4);
            std::memcpy(&len, data + at + 4, 4);
            if (len < 8 || len % 4 != 0 || len > size - at)
                return;   // a damaged record ends the playback
            if (type == EMR_EOF)
                return;
            One(Reader{data + at, len}, type);
            at += len;
        }
    }

private:
    // Recorded device units to this canvas's device pixels, per axis.
    double ScaleX() const { return W > 0 ? double(Dest.Width()) / W : 1.0; }
    double ScaleY() const { return H > 0 ? double(Dest.Height()) / H : 1.0; }
    double DevX(double x) const
    {
        return SaveVpOrg.X + (Dest.Left + x * ScaleX() - SaveWinOrg.X) * SaveVpExt.cx / SaveWinExt.cx;
    }
    double DevY(double y) const
    {
        return SaveVpOrg.Y + (Dest.Top + y * ScaleY() - SaveWinOrg.Y) * SaveVpExt.cy / SaveWinExt.cy;
    }

    // The ratio num / den of two products of three ints, as a fraction whose terms are at
    // most 2^30. Products that fit 53 bits (every sane mapping) are exact and reduced by
    // their common divisor; larger ones lose only low bits.
    static void Reduce(double numProduct, double denProduct, int64_t& num, int64_t& den)
    {
        constexpr double kExact = 9007199254740992.0;   // 2^53
        if (std::abs(numProduct) < kExact && std::abs(denProduct) < kExact) {
            num = int64_t(numProduct);
            den = int64_t(denProduct);
            const int64_t g = std::gcd(num, den);
            if (g > 1) {
                num /= g;
                den /= g;
            }
        } else {
            const int shift = std::max(std::ilogb(std::abs(numProduct) + 1), std::ilogb(std::abs(denProduct) + 1)) - 30;
            num = int64_t(std::ldexp(numProduct, -shift));
            den = int64_t(std::ldexp(denProduct, -shift));
        }
        while (std::abs(num) > (int64_t(1) << 30) || std::abs(den) > (int64_t(1) << 30)) {
            num /= 2;
            den /= 2;
        }
        if (num == 0)
            num = 1;
        if (den == 0)
            den = 1;
    }

    // Sets the canvas's mapping to the recorded mapping followed by the placement into
    // the rectangle and the canvas's own mapping.
    void ApplyMapping()
    {
        const int dw = W > 0 ? Dest.Width() : 1, dh = H > 0 ? Dest.Height() : 1;
        const int mw = W > 0 ? W : 1, mh = H > 0 ? H : 1;
        int64_t nx, dx, ny, dy;
        Reduce(double(VpExt.cx) * dw * SaveVpExt.cx, double(WinExt.cx) * mw * SaveWinExt.cx, nx, dx);
        Reduce(double(VpExt.cy) * dh * SaveVpExt.cy, double(WinExt.cy) * mh * SaveWinExt.cy, ny, dy);
        const int ox = ClampDeviceCoord(DevX(VpOrg.X)), oy = ClampDeviceCoord(DevY(VpOrg.Y));
        if (nx == dx && ny == dy) {
            C.SetMapMode(MM_TEXT);
        } else {
            C.SetMapMode(MM_ANISOTROPIC);
            C.SetWindowExt(int(dx), int(dy));
            C.SetViewportExt(int(nx), int(ny));
        }
        C.SetWindowOrg(WinOrg.X, WinOrg.Y);
        C.SetViewportOrg(ox, oy);
    }

    TRegion MapRegion(const std::vector<TRect>& rects) const
    {
        TRegion out;
        QRegion& q = out.impl().Region;
        QVector<QRect> list;
        for (const TRect& r : rects) {
            const int l = ClampDeviceCoord(DevX(r.Left)), t = ClampDeviceCoord(DevY(r.Top));
            const int rr = ClampDeviceCoord(DevX(r.Right)), b = ClampDeviceCoord(DevY(r.Bottom));
            const QRect qr(QPoint(std::min(l, rr), std::min(t, b)), QPoint(std::max(l, rr) - 1, std::max(t, b) - 1));
            if (!qr.isEmpty())
                list.append(qr);
        }
        for (const QRect& r : list)
            q = q.united(r);
        return out;
    }

    TRect RectAt(const Reader& r, uint32_t at) const { return TRect(r.coord(at), r.coord(at + 4), r.coord(at + 8), r.coord(at + 12)); }

    void Points(const Reader& r, uint32_t at, bool small, std::vector<TPoint>& pts)
    {
        const uint32_t n = r.u32(at);
        const uint32_t each = small ? 4 : 8;
        pts.clear();
        if (!r.Has(at + 4, uint64_t(n) * each))
            return;
        pts.reserve(n);
        for (uint32_t i = 0; i < n; ++i) {
            const uint32_t o = at + 4 + i * each;
            pts.emplace_back(small ? r.i16(o) : r.coord(o), small ? r.i16(o + 2) : r.coord(o + 4));
        }
    }

    struct Object {
        std::unique_ptr<TPen> Pen;
        std::unique_ptr<TBrush> Brush;
        std::unique_ptr<TBitmap> Pattern;
        std::unique_ptr<TFont> Font;
    };

    void SelectPen(const TPen& p)
    {
        TPen pen;
        pen.Assign(const_cast<TPen*>(&p));
        pen.SetMode(C.Pen()->Mode());
        C.Pen()->Assign(&pen);
    }
    void SelectFont(const TFont& f)
    {
        const TColor tc = C.TextColor();
        TFont font;
        font.Assign(const_cast<TFont*>(&f));
        font.SetColor(tc);
        C.Font()->Assign(&font);
        C.SetTextColor(tc);
    }

    void Select(uint32_t h)
    {
        if (h & 0x80000000u) {
            // Stock objects.
            const uint32_t n = h & 0x7FFFFFFF;
            if (n <= 5) {
                TBrush b;
                static const TColor kGray[] = {clWhite, 0xC0C0C0, 0x808080, 0x404040, clBlack};
                if (n == 5)
                    b.SetStyle(bsClear);
                else
                    b.SetColor(kGray[n]);
                C.Brush()->Assign(&b);
            } else if (n >= 6 && n <= 8) {
                TPen p;
                if (n == 6)
                    p.SetColor(clWhite);
                if (n == 8)
                    p.SetStyle(psClear);
                SelectPen(p);
            }
            return;
        }
        auto it = Objects.find(h);
        if (it == Objects.end())
            return;
        if (it->second.Pen)
            SelectPen(*it->second.Pen);
        else if (it->second.Brush)
            C.Brush()->Assign(it->second.Brush.get());
        else if (it->second.Font)
            SelectFont(*it->second.Font);
    }

    void Blt(const Reader& r, uint32_t type)
    {
        if (r.len < 100)
            return;
        const int x = r.coord(24), y = r.coord(28), cx = r.coord(32), cy = r.coord(36);
        const uint32_t rop = r.u32(40);
        const int sx = r.coord(44), sy = r.coord(48);
        const uint32_t offBmi = r.u32(84), cbBmi = r.u32(88), offBits = r.u32(92), cbBits = r.u32(96);
        int sw = cx, sh = cy;
        if (type != EMR_BITBLT) {
            if (r.len < 108)
                return;
            sw = r.coord(100);
            sh = r.coord(104);
        }
        if (cbBmi == 0) {
            if (type != EMR_BITBLT)
                return;
            if (rop == PATCOPY)
                C.FillRect(TRect(x, y, x + cx, y + cy));
            else
                C.StretchBlt(x, y, cx, cy, C, 0, 0, cx, cy, rop);
            return;
        }
        auto bmp = DibToBitmap(r, offBmi, cbBmi, offBits, cbBits);
        if (!bmp)
            return;
        switch (type) {
        case EMR_ALPHABLEND:
            C.AlphaBlend(x, y, cx, cy, *bmp->Canvas(), sx, sy, sw, sh, int((rop >> 16) & 0xFF));
            break;
        case EMR_TRANSPARENTBLT:
            bmp->SetTransparentColor(TColor(rop & 0xFFFFFF));
            bmp->SetTransparent(true);
            bmp->Draw(C, TRect(x, y, x + cx, y + cy));
            break;
        default:
            C.StretchBlt(x, y, cx, cy, *bmp->Canvas(), sx, sy, sw, sh, rop);
            break;
        }
    }

    void One(const Reader& r, uint32_t type)
    {
        auto need = [&](uint32_t n) { return r.len >= n; };
        switch (type) {
        case EMR_SETWINDOWEXTEX:
        case EMR_SETVIEWPORTEXTEX:
            if (need(16) && MapMode == MM_ANISOTROPIC && r.coord(8) != 0 && r.coord(12) != 0) {
                (type == EMR_SETWINDOWEXTEX ? WinExt : VpExt) = TSize(r.coord(8), r.coord(12));
                ApplyMapping();
            }
            break;
        case EMR_SETWINDOWORGEX:
        case EMR_SETVIEWPORTORGEX:
            if (need(16)) {
                (type == EMR_SETWINDOWORGEX ? WinOrg : VpOrg) = TPoint(r.coord(8), r.coord(12));
                ApplyMapping();
            }
            break;
        case EMR_SETMAPMODE:
            if (need(12) && (r.coord(8) == MM_TEXT || r.coord(8) == MM_ANISOTROPIC)) {
                MapMode = r.coord(8);
                if (MapMode == MM_TEXT) {
                    WinExt = TSize(1, 1);
                    VpExt = TSize(1, 1);
                }
                ApplyMapping();
            }
            break;
        case EMR_SETBKMODE: if (need(12)) C.SetBkMode(r.coord(8)); break;
        case EMR_SETPOLYFILLMODE: if (need(12)) C.SetPolyFillMode(r.coord(8)); break;
        case EMR_SETROP2: if (need(12)) C.Pen()->SetMode(PenModeFromRop2(r.coord(8))); break;
        case EMR_SETTEXTALIGN: if (need(12)) C.SetTextAlign(TTextAlign::FromBits(r.u32(8))); break;
        case EMR_SETTEXTCOLOR: if (need(12)) C.SetTextColor(TColor(r.u32(8) & 0xFFFFFF)); break;
        case EMR_SETBKCOLOR: if (need(12)) C.SetBkColor(TColor(r.u32(8) & 0xFFFFFF)); break;
        case EMR_SETARCDIRECTION: if (need(12)) C.SetArcDirection(r.coord(8)); break;
        case EMR_GDICOMMENT:
            if (need(20) && r.u32(8) >= 8 && r.u32(12) == kCharExtraTag)
                C.SetTextCharacterExtra(r.coord(16));
            break;
        case EMR_MOVETOEX: if (need(16)) C.MoveTo(r.coord(8), r.coord(12)); break;
        case EMR_LINETO: if (need(16)) C.LineTo(r.coord(8), r.coord(12)); break;
        case EMR_POLYLINE:
        case EMR_POLYGON:
        case EMR_POLYBEZIER:
        case EMR_POLYLINE16:
        case EMR_POLYGON16:
        case EMR_POLYBEZIER16: {
            if (!need(28))
                break;
            const bool small = type >= EMR_POLYBEZIER16;
            Points(r, 24, small, Pts);
            if (Pts.empty())
                break;
            if (type == EMR_POLYLINE || type == EMR_POLYLINE16)
                C.Polyline(Pts);
            else if (type == EMR_POLYGON || type == EMR_POLYGON16)
                C.Polygon(Pts);
            else
                C.PolyBezier(Pts.data(), int(Pts.size()));
            break;
        }
        case EMR_RECTANGLE:
        case EMR_ELLIPSE:
            if (need(24)) {
                const TRect b = RectAt(r, 8);
                if (type == EMR_RECTANGLE)
                    C.Rectangle(b.Left, b.Top, b.Right + 1, b.Bottom + 1);
                else
                    C.Ellipse(b.Left, b.Top, b.Right + 1, b.Bottom + 1);
            }
            break;
        case EMR_ROUNDRECT:
            if (need(32)) {
                const TRect b = RectAt(r, 8);
                C.RoundRect(b.Left, b.Top, b.Right + 1, b.Bottom + 1, r.coord(24), r.coord(28));
            }
            break;
        case EMR_ARC:
        case EMR_ARCTO:
        case EMR_PIE:
        case EMR_CHORD:
            if (need(40)) {
                const TRect b = RectAt(r, 8);
                const int x1 = b.Left, y1 = b.Top, x2 = b.Right + 1, y2 = b.Bottom + 1;
                const int x3 = r.coord(24), y3 = r.coord(28), x4 = r.coord(32), y4 = r.coord(36);
                if (type == EMR_ARC)
                    C.Arc(x1, y1, x2, y2, x3, y3, x4, y4);
                else if (type == EMR_ARCTO)
                    C.ArcTo(x1, y1, x2, y2, x3, y3, x4, y4);
                else if (type == EMR_PIE)
                    C.Pie(x1, y1, x2, y2, x3, y3, x4, y4);
                else
                    C.Chord(x1, y1, x2, y2, x3, y3, x4, y4);
            }
            break;
        case EMR_SETPIXELV: if (need(20)) C.SetPixel(r.coord(8), r.coord(12), TColor(r.u32(16) & 0xFFFFFF)); break;
        case EMR_EXTTEXTOUTW: {
            if (!need(76))
                break;
            const int x = r.coord(36), y = r.coord(40);
            const uint32_t n = r.u32(44), off = r.u32(48), options = r.u32(52);
            if (!r.Has(off, uint64_t(n) * 2))
                break;
            QString qs(qsizetype(n), QChar(u' '));
            for (uint32_t i = 0; i < n; ++i)
                qs[qsizetype(i)] = QChar(r.u16(off + 2 * i));
            const std::string text = qs.toStdString();
            if (options & ETO_CLIPPED)
                C.TextRect(RectAt(r, 56), x, y, text);
            else
                C.TextOut(x, y, text);
            break;
        }
        case EMR_BEGINPATH: C.BeginPath(); InPath = true; break;
        case EMR_ENDPATH: C.EndPath(); InPath = false; break;
        case EMR_ABORTPATH: C.AbortPath(); InPath = false; break;
        case EMR_CLOSEFIGURE: C.CloseFigure(); break;
        case EMR_WIDENPATH: C.WidenPath(); break;
        case EMR_STROKEPATH: C.StrokePath(); break;
        case EMR_FILLPATH: C.FillPath(); break;
        case EMR_STROKEANDFILLPATH: C.StrokeAndFillPath(); break;
        case EMR_SELECTCLIPPATH:
            if (need(12)) {
                C.SelectClipPath(r.coord(8));
                C.ExtSelectClipRgn(&Base, RGN_AND);
            }
            break;
        case EMR_EXTSELECTCLIPRGN: {
            if (!need(16))
                break;
            const uint32_t cb = r.u32(8);
            const int mode = r.coord(12);
            if (cb == 0) {
                if (mode == RGN_COPY)
                    C.SelectClipRgn(&Base);
                break;
            }
            if (cb < 32 || !r.Has(16, cb))
                break;
            const uint32_t count = r.u32(16 + 8);
            if (!r.Has(16 + 32, uint64_t(count) * 16))
                break;
            std::vector<TRect> rects;
            for (uint32_t i = 0; i < count; ++i)
                rects.push_back(RectAt(r, 48 + 16 * i));
            const TRegion region = MapRegion(rects);
            C.ExtSelectClipRgn(&region, mode);
            C.ExtSelectClipRgn(&Base, RGN_AND);
            break;
        }
        case EMR_INTERSECTCLIPRECT:
        case EMR_EXCLUDECLIPRECT:
            if (need(24)) {
                const TRect b = RectAt(r, 8);
                if (type == EMR_INTERSECTCLIPRECT)
                    C.IntersectClipRect(b.Left, b.Top, b.Right, b.Bottom);
                else
                    C.ExcludeClipRect(b.Left, b.Top, b.Right, b.Bottom);
            }
            break;
        case EMR_SAVEDC:
            C.PushClip();
            ++Saves;
            break;
        case EMR_RESTOREDC:
            if (need(12)) {
                int k = r.coord(8) < 0 ? -r.coord(8) : 0;
                for (; k > 0 && Saves > 0; --k, --Saves)
                    C.PopClip();
            }
            break;
        case EMR_SELECTOBJECT: if (need(12)) Select(r.u32(8)); break;
        case EMR_DELETEOBJECT: if (need(12)) Objects.erase(r.u32(8)); break;
        case EMR_CREATEPEN:
            if (need(28)) {
                Object o;
                o.Pen = std::make_unique<TPen>();
                const uint32_t style = r.u32(12) & 0xF;
                o.Pen->SetStyle(style <= 6 ? TPenStyle(style) : psSolid);
                o.Pen->SetWidth(std::max(1, r.coord(16)));
                o.Pen->SetColor(TColor(r.u32(24) & 0xFFFFFF));
                Objects[r.u32(8)] = std::move(o);
            }
            break;
        case EMR_EXTCREATEPEN:
            if (need(52)) {
                Object o;
                o.Pen = std::make_unique<TPen>();
                const uint32_t style = r.u32(28);
                const uint32_t base = style & 0xF;
                o.Pen->SetStyle(base == PS_NULL ? psClear : base == PS_INSIDEFRAME ? psInsideFrame
                                : base <= 4 ? TPenStyle(base) : psSolid);
                o.Pen->SetWidth(std::max(1, r.coord(32)));
                o.Pen->SetColor(TColor(r.u32(40) & 0xFFFFFF));
                TExtPenInfo info;
                const uint32_t cap = style & 0xF00, join = style & 0xF000;
                info.EndCap = cap == PS_ENDCAP_SQUARE ? pecSquare : cap == PS_ENDCAP_FLAT ? pecFlat : pecRound;
                info.Join = join == PS_JOIN_BEVEL ? pjBevel : join == PS_JOIN_MITER ? pjMiter : pjRound;
                info.Alternate = base == PS_ALTERNATE;
                const uint32_t n = r.u32(48);
                if (base == PS_USERSTYLE && r.Has(52, uint64_t(n) * 4))
                    for (uint32_t i = 0; i < n && i < 64; ++i)
                        info.UserStyle.push_back(r.coord(52 + 4 * i));
                if ((style & PS_GEOMETRIC) || info.Alternate)
                    o.Pen->SetExtended(info);
                Objects[r.u32(8)] = std::move(o);
            }
            break;
        case EMR_CREATEBRUSHINDIRECT:
            if (need(24)) {
                Object o;
                o.Brush = std::make_unique<TBrush>();
                const uint32_t style = r.u32(12), hatch = r.u32(20);
                o.Brush->SetColor(TColor(r.u32(16) & 0xFFFFFF));
                if (style == BS_NULL)
                    o.Brush->SetStyle(bsClear);
                else if (style == BS_HATCHED && hatch <= 5)
                    o.Brush->SetStyle(TBrushStyle(bsHorizontal + int(hatch)));
                Objects[r.u32(8)] = std::move(o);
            }
            break;
        case EMR_CREATEDIBPATTERNBRUSHPT:
        case EMR_CREATEMONOBRUSH:
            if (need(32)) {
                Object o;
                o.Pattern = DibToBitmap(r, r.u32(16), r.u32(20), r.u32(24), r.u32(28));
                if (!o.Pattern)
                    break;
                o.Brush = std::make_unique<TBrush>();
                o.Brush->SetBitmap(o.Pattern.get());
                Objects[r.u32(8)] = std::move(o);
            }
            break;
        case EMR_EXTCREATEFONTINDIRECTW:
            if (need(12 + 92)) {
                Object o;
                o.Font = std::make_unique<TFont>();
                TFont& f = *o.Font;
                f.SetHeight(r.coord(12));
                f.SetOrientation(r.coord(20));
                TFontStyles st;
                if (r.coord(28) >= 600)
                    st |= fsBold;
                if (r.u8(32))
                    st |= fsItalic;
                if (r.u8(33))
                    st |= fsUnderline;
                if (r.u8(34))
                    st |= fsStrikeOut;
                f.SetStyle(st);
                f.SetCharset(r.u8(35));
                const uint8_t q = r.u8(38);
                f.SetQuality(q == 3 ? fqNonAntialiased : q == 4 ? fqAntialiased : fqDefault);
                const uint8_t pitch = r.u8(39) & 3;
                f.SetPitch(pitch == 1 ? fpFixed : pitch == 2 ? fpVariable : fpDefault);
                QString face;
                for (int i = 0; i < 32; ++i) {
                    const uint16_t ch = r.u16(40 + 2 * i);
                    if (ch == 0)
                        break;
                    face.append(QChar(ch));
                }
                f.SetName(face.toStdString());
                Objects[r.u32(8)] = std::move(o);
            }
            break;
        case EMR_BITBLT:
        case EMR_STRETCHBLT:
        case EMR_ALPHABLEND:
        case EMR_TRANSPARENTBLT:
            Blt(r, type);
            break;
        case EMR_STRETCHDIBITS: {
            if (!need(80))
                break;
            const int x = r.coord(24), y = r.coord(28), sx = r.coord(32), sy = r.coord(36), sw = r.coord(40), sh = r.coord(44);
            const uint32_t rop = r.u32(68);
            const int cx = r.coord(72), cy = r.coord(76);
            auto bmp = DibToBitmap(r, r.u32(48), r.u32(52), r.u32(56), r.u32(60));
            if (!bmp)
                break;
            if (rop == SRCCOPY && sx == 0 && sy == 0 && sw == bmp->Width() && sh == bmp->Height())
                bmp->Draw(C, TRect(x, y, x + cx, y + cy));
            else
                C.StretchBlt(x, y, cx, cy, *bmp->Canvas(), sx, sy, sw, sh, rop);
            break;
        }
        default:
            break;   // records this canvas has no use for
        }
    }

    TCanvas& C;
    TRect Dest;
    int W, H;
    TRegion Base;
    std::map<uint32_t, Object> Objects;
    std::vector<TPoint> Pts;
    int Saves = 0;
    bool InPath = false;
    int MapMode = MM_TEXT;
    TPoint WinOrg, VpOrg;
    TSize WinExt{1, 1}, VpExt{1, 1};

    TPen SavePen;
    TBrush SaveBrush;
    TFont SaveFont;
    TColor SaveBk = clWhite, SaveText = clBlack;
    int SaveBkMode = OPAQUE;
    TTextAlign SaveAlign;
    int SaveExtra = 0, SaveArc = AD_COUNTERCLOCKWISE, SaveFill = ALTERNATE;
    TPoint SavePos;
    int SaveMap = MM_TEXT;
    TPoint SaveWinOrg, SaveVpOrg;
    TSize SaveWinExt{1, 1}, SaveVpExt{1, 1};
    bool SaveHadClip = false;
    TRegion SaveClip;
    int SaveDepth = 0;
};

} // namespace

// ---- TMetafile --------------------------------------------------------------------

TMetafile::TMetafile() = default;
TMetafile::~TMetafile() = default;

void TMetafile::SetEnhanced(bool v)
{
    SetAndNotify(FEnhanced, v, [this] { Changed(); });
}

void TMetafile::SetSize(int width, int height)
{
    FWidth = std::max(0, width);
    FHeight = std::max(0, height);
    FMMWidth = MMFromPixels(FWidth);
    FMMHeight = MMFromPixels(FHeight);
}

void TMetafile::SetWidth(int v)
{
    if (v == FWidth)
        return;
    SetSize(v, FHeight);
    Changed();
}

void TMetafile::SetHeight(int v)
{
    if (v == FHeight)
        return;
    SetSize(FWidth, v);
    Changed();
}

void TMetafile::Clear()
{
    FRecords.clear();
    FRecordCount = 0;
    FHandles = 1;
    FBounds = TRect(0, 0, -1, -1);
    FHasContent = false;
    SetSize(0, 0);
    Changed();
}

void TMetafile::Draw(TCanvas& canvas, const TRect& rect)
{
    if (Empty() || rect.Width() == 0 || rect.Height() == 0)
        return;
    Player player(canvas, rect, FWidth, FHeight);
    player.Run(FRecords.data(), FRecords.size());
}

std::vector<uint8_t> TMetafile::SaveToBytes() const
{
    EmfParts parts{FRecords, FRecordCount, FHandles, FBounds, FWidth, FHeight, FMMWidth, FMMHeight};
    return FEnhanced ? WriteEmf(parts) : WriteWmf(parts);
}

void TMetafile::LoadFromBytes(const std::vector<uint8_t>& bytes)
{
    EmfParts parts;
    bool enhanced = true;
    if (!ReadMetafile(bytes, parts, enhanced))
        throw EInvalidGraphic("Metafile is not valid");
    FRecords = std::move(parts.Records);
    FRecordCount = parts.RecordCount;
    FHandles = parts.Handles;
    FBounds = parts.Bounds;
    FWidth = parts.Width;
    FHeight = parts.Height;
    FMMWidth = parts.MMWidth;
    FMMHeight = parts.MMHeight;
    FEnhanced = enhanced;
    FHasContent = true;
    Changed();
}

void TMetafile::SaveToStream(TStream* stream) const
{
    const std::vector<uint8_t> bytes = SaveToBytes();
    stream->WriteBuffer(bytes.data(), int64_t(bytes.size()));
}

void TMetafile::LoadFromStream(TStream* stream)
{
    const int64_t size = stream->Size() - stream->Position();
    if (size <= 0 || size > (int64_t(1) << 31))
        throw EInvalidGraphic("Metafile is not valid");
    std::vector<uint8_t> bytes(size_t(size), 0);
    stream->ReadBuffer(bytes.data(), size);
    LoadFromBytes(bytes);
}

void TMetafile::SaveToFile(const std::string& fileName) const
{
    WriteFileReplacing(fileName, [this](TStream* Stream) { SaveToStream(Stream); });
}

void TMetafile::LoadFromFile(const std::string& fileName)
{
    TFileStream f(fileName, fmOpenRead);
    LoadFromStream(&f);
}

std::unique_ptr<TGraphic> TMetafile::Clone() const
{
    auto m = std::make_unique<TMetafile>();
    m->Assign(const_cast<TMetafile*>(this));
    return m;
}

void TMetafile::Assign(TPersistent* Source)
{
    if (Source == this)
        return;
    if (Source == nullptr) {
        Clear();
        return;
    }
    if (auto* m = dynamic_cast<TMetafile*>(Source)) {
        FEnhanced = m->FEnhanced;
        FHasContent = m->FHasContent;
        FWidth = m->FWidth;
        FHeight = m->FHeight;
        FMMWidth = m->FMMWidth;
        FMMHeight = m->FMMHeight;
        FRecords = m->FRecords;
        FRecordCount = m->FRecordCount;
        FHandles = m->FHandles;
        FBounds = m->FBounds;
        FTransparent = m->FTransparent;
        Changed();
        return;
    }
    TGraphic::Assign(Source);
}

// ---- TMetafileCanvas --------------------------------------------------------------

struct TMetafileCanvas::Data {
    TMetafile* Metafile = nullptr;
    std::unique_ptr<TMetafileRecorder> Recorder;
    QImage Shadow;
};

TMetafileCanvas::TMetafileCanvas(TMetafile* metafile) : FData(std::make_unique<Data>())
{
    FData->Metafile = metafile;
    const int w = metafile ? metafile->Width() : 0, h = metafile ? metafile->Height() : 0;
    FData->Recorder = std::make_unique<TMetafileRecorder>(TRect(0, 0, w, h));
    if (w > 0 && h > 0) {
        FData->Shadow = QImage(w, h, QImage::Format_RGB32);
        FData->Shadow.fill(0xFFFFFFFFu);
        FData->Shadow.setDotsPerMeterX(3780);
        FData->Shadow.setDotsPerMeterY(3780);
        qtbridge::AttachImage(*this, &FData->Shadow, false);
    }
    SetCanvasRecorder(*this, FData->Recorder.get());
}

TMetafileCanvas::~TMetafileCanvas()
{
    SetCanvasRecorder(*this, nullptr);
    qtbridge::Detach(*this);
    if (FData->Metafile) {
        FData->Recorder->Finish(*FData->Metafile);
        FData->Metafile->Changed();
    }
}
