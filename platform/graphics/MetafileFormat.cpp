#include "graphics/MetafileFormat.h"

#include "graphics/GdiConsts.h"
#include "graphics/GraphicsObjects.h"

#include <QString>

#include <algorithm>
#include <map>
#include <optional>

namespace mfformat {

namespace {

Writer Emr(uint32_t type)
{
    Writer w;
    w.u32(type);
    w.u32(0);
    return w;
}

// One Windows-metafile record: size in 16-bit words, function, parameters.
struct WRec {
    Writer w;
    explicit WRec(uint16_t fn)
    {
        w.u32(0);
        w.u16(fn);
    }
    std::vector<uint8_t>& Done()
    {
        if (w.b.size() % 2)
            w.u8(0);
        w.put32(0, uint32_t(w.b.size() / 2));
        return w.b;
    }
};

// Lowest-free slot numbering of a Windows metafile's object table.
struct Slots {
    std::vector<bool> used;
    int Take()
    {
        for (size_t i = 0; i < used.size(); ++i)
            if (!used[i]) {
                used[i] = true;
                return int(i);
            }
        used.push_back(true);
        return int(used.size()) - 1;
    }
    void Free(int i)
    {
        if (i >= 0 && size_t(i) < used.size())
            used[size_t(i)] = false;
    }
};

void PutDib(Writer& w, const Reader& r, uint32_t offBmi, uint32_t cbBmi, uint32_t offBits, uint32_t cbBits)
{
    w.b.insert(w.b.end(), r.p + offBmi, r.p + offBmi + cbBmi);
    w.b.insert(w.b.end(), r.p + offBits, r.p + offBits + cbBits);
}

// Points of a cubic Bezier chain, flattened for a format that has no curves.
std::vector<TPoint> Flatten(const std::vector<TPoint>& p)
{
    std::vector<TPoint> out{p.front()};
    for (size_t i = 1; i + 2 < p.size(); i += 3) {
        const TPoint a = p[i - 1], b = p[i], c = p[i + 1], d = p[i + 2];
        for (int k = 1; k <= 16; ++k) {
            const double t = k / 16.0, u = 1 - t;
            const double x = u * u * u * a.X + 3 * u * u * t * b.X + 3 * u * t * t * c.X + t * t * t * d.X;
            const double y = u * u * u * a.Y + 3 * u * u * t * b.Y + 3 * u * t * t * c.Y + t * t * t * d.Y;
            out.emplace_back(int(std::lround(x)), int(std::lround(y)));
        }
    }
    return out;
}

// What the Windows-metafile writer follows of the device context: the selected pen and
// brush, the background mode, and
// the mapping of logical to device units as the enhanced records set it, so that the
// Windows metafile can carry device units throughout (a placeable file's reader sets up
// its own mapping from the header, which any mapping record in the stream would undo).
struct DeviceState {
    int Pen = -1;     // object-table slots of the selected pen and brush
    int Brush = -1;
    int BkMode = OPAQUE;
    std::optional<TPoint> Current;   // the pen position
    int Mode = MM_TEXT;
    TPoint WinOrg{0, 0}, VpOrg{0, 0};
    TSize WinExt{1, 1}, VpExt{1, 1};
    bool Scaled() const { return Mode == MM_ANISOTROPIC && WinExt.cx != 0 && WinExt.cy != 0; }
    int X(int x) const
    {
        const int64_t d = int64_t(x) - WinOrg.X;
        return ClampDeviceCoord((Scaled() ? d * VpExt.cx / WinExt.cx : d) + VpOrg.X);
    }
    int Y(int y) const
    {
        const int64_t d = int64_t(y) - WinOrg.Y;
        return ClampDeviceCoord((Scaled() ? d * VpExt.cy / WinExt.cy : d) + VpOrg.Y);
    }
    // Lengths keep their sign (a negative font height means the character height).
    int DX(int v) const { return Scaled() ? ClampDeviceCoord(int64_t(v) * std::abs(VpExt.cx) / std::abs(WinExt.cx)) : v; }
    int DY(int v) const { return Scaled() ? ClampDeviceCoord(int64_t(v) * std::abs(VpExt.cy) / std::abs(WinExt.cy)) : v; }
};

} // namespace

std::vector<uint8_t> WriteEmf(const EmfParts& m)
{
    Writer h = Emr(EMR_HEADER);
    const bool drawn = m.Bounds.Right >= m.Bounds.Left && m.Bounds.Bottom >= m.Bounds.Top;
    const TRect bounds = drawn ? m.Bounds : TRect(0, 0, -1, -1);
    h.i32(bounds.Left);
    h.i32(bounds.Top);
    h.i32(bounds.Right);
    h.i32(bounds.Bottom);
    // The frame, inclusive, in hundredths of a millimetre.
    h.i32(0);
    h.i32(0);
    h.i32(std::max(0, m.MMWidth - 1));
    h.i32(std::max(0, m.MMHeight - 1));
    h.u32(kEmfSignature);
    h.u32(0x10000);
    const size_t nBytesAt = h.b.size();
    h.u32(0);
    h.u32(m.RecordCount + 2);
    h.u16(m.Handles);
    h.u16(0);
    h.u32(0);   // no description
    h.u32(0);
    h.u32(0);   // no palette
    // A 96 dots-per-inch reference device.
    h.i32(1920);
    h.i32(1080);
    h.i32(508);
    h.i32(286);
    h.u32(0);   // no pixel format
    h.u32(0);
    h.u32(0);   // not OpenGL
    h.i32(508000);
    h.i32(285750);
    h.Finish();
    std::vector<uint8_t> out = std::move(h.b);
    out.insert(out.end(), m.Records.begin(), m.Records.end());
    Writer eof = Emr(EMR_EOF);
    eof.u32(0);
    eof.u32(16);
    eof.u32(20);
    eof.Finish();
    out.insert(out.end(), eof.b.begin(), eof.b.end());
    const uint32_t total = uint32_t(out.size());
    std::memcpy(out.data() + nBytesAt, &total, 4);
    return out;
}

std::vector<uint8_t> WriteWmf(const EmfParts& m)
{
    std::vector<uint8_t> body;
    uint32_t maxRecord = 3;
    auto add = [&](WRec& rec) {
        const std::vector<uint8_t>& b = rec.Done();
        maxRecord = std::max(maxRecord, uint32_t(b.size() / 2));
        body.insert(body.end(), b.begin(), b.end());
    };
    {
        WRec org(META_SETWINDOWORG);
        org.w.i16(0);
        org.w.i16(0);
        add(org);
        WRec ext(META_SETWINDOWEXT);
        ext.w.i16(m.Height);
        ext.w.i16(m.Width);
        add(ext);
    }
    Slots objTable;
    std::map<uint32_t, int> handle;
    // Per object-table slot: a pen, a brush or another object, and whether it is plain
    // (solid or null pen, solid brush).
    enum class Kind { Other, Pen, Brush };
    struct SlotKind {
        Kind What = Kind::Other;
        bool Plain = false;
    };
    std::map<int, SlotKind> slotKind;
    size_t maxObjects = 0;
    auto create = [&](uint32_t h) {
        auto it = handle.find(h);
        if (it != handle.end())
            objTable.Free(it->second);
        handle[h] = objTable.Take();
        slotKind[handle[h]] = SlotKind{};
        maxObjects = std::max(maxObjects, objTable.used.size());
    };
    // Selects a clip region given as rectangles (device units).
    auto clipRegion = [&](const std::vector<TRect>& rects, TRect bbox) {
        std::map<std::pair<int, int>, std::vector<std::pair<int, int>>> bands;
        for (const TRect& r : rects)
            bands[{r.Top, r.Bottom}].emplace_back(r.Left, r.Right);
        WRec reg(META_CREATEREGION);
        size_t maxScan = 0, size = 22;
        for (auto& [tb, xs] : bands) {
            std::sort(xs.begin(), xs.end());
            maxScan = std::max(maxScan, xs.size() * 2);
            size += 8 + 4 * xs.size();
        }
        reg.w.u16(0);
        reg.w.u16(6);
        reg.w.u32(0);
        reg.w.u16(uint16_t(std::min<size_t>(size, 0xFFFF)));
        reg.w.u16(uint16_t(bands.size()));
        reg.w.u16(uint16_t(maxScan));
        reg.w.i16(bbox.Left);
        reg.w.i16(bbox.Top);
        reg.w.i16(bbox.Right);
        reg.w.i16(bbox.Bottom);
        for (auto& [tb, xs] : bands) {
            reg.w.u16(uint16_t(xs.size() * 2));
            reg.w.i16(tb.first);
            reg.w.i16(tb.second);
            for (auto& [l, r] : xs) {
                reg.w.i16(l);
                reg.w.i16(r);
            }
            reg.w.u16(uint16_t(xs.size() * 2));
        }
        add(reg);
        const int slot = objTable.Take();
        maxObjects = std::max(maxObjects, objTable.used.size());
        WRec sel(META_SELECTCLIPREGION);
        sel.w.u16(uint16_t(slot));
        add(sel);
        WRec del(META_DELETEOBJECT);
        del.w.u16(uint16_t(slot));
        add(del);
        objTable.Free(slot);
    };
    auto rect4 = [](Writer& w, int l, int t, int r, int b) {   // bottom, right, top, left
        w.i16(b);
        w.i16(r);
        w.i16(t);
        w.i16(l);
    };
    // Every coordinate is written in device units (see DeviceState); the mapping records
    // themselves are not written.
    DeviceState map;
    std::vector<DeviceState> saved;
    // A solid fill outlined by a plain pen looks the same in either background mode, but
    // some readers draw fills half see-through in the transparent one: such a shape is
    // written in the opaque mode.
    auto addFilled = [&](WRec& rec) {
        const bool swap = map.BkMode == TRANSPARENT && map.Brush >= 0 && slotKind[map.Brush].Plain
                          && (map.Pen < 0 || slotKind[map.Pen].Plain);
        auto mode = [&](int m) {
            WRec w(META_SETBKMODE);
            w.w.u16(uint16_t(m));
            add(w);
        };
        if (swap)
            mode(OPAQUE);
        add(rec);
        if (swap)
            mode(TRANSPARENT);
    };
    auto lineTo = [&](uint16_t fn, TPoint p) {
        WRec w(fn);
        w.w.i16(p.Y);
        w.w.i16(p.X);
        add(w);
    };

    size_t at = 0;
    const std::vector<uint8_t>& recs = m.Records;
    while (at + 8 <= recs.size()) {
        const Reader r{recs.data() + at, uint32_t(std::min<size_t>(recs.size() - at, 0xFFFFFFFFu))};
        const uint32_t type = r.u32(0), len = r.u32(4);
        if (len < 8 || len > recs.size() - at)
            break;
        const Reader q{recs.data() + at, len};
        at += len;
        switch (type) {
        case EMR_SETBKCOLOR:
        case EMR_SETTEXTCOLOR: {
            WRec w(type == EMR_SETBKCOLOR ? META_SETBKCOLOR : META_SETTEXTCOLOR);
            w.w.u32(q.u32(8));
            add(w);
            break;
        }
        case EMR_SETMAPMODE: {
            const int mode = int(q.u32(8));
            if (mode == MM_TEXT || mode == MM_ANISOTROPIC) {
                map.Mode = mode;
                map.WinExt = map.VpExt = TSize(1, 1);
            }
            break;
        }
        case EMR_SETWINDOWORGEX:
            map.WinOrg = TPoint(q.coord(8), q.coord(12));
            break;
        case EMR_SETVIEWPORTORGEX:
            map.VpOrg = TPoint(q.coord(8), q.coord(12));
            break;
        case EMR_SETWINDOWEXTEX:
        case EMR_SETVIEWPORTEXTEX:
            if (map.Mode == MM_ANISOTROPIC && q.coord(8) != 0 && q.coord(12) != 0)
                (type == EMR_SETWINDOWEXTEX ? map.WinExt : map.VpExt) = TSize(q.coord(8), q.coord(12));
            break;
        case EMR_SETBKMODE:
            map.BkMode = int(q.u32(8));
            [[fallthrough]];
        case EMR_SETROP2:
        case EMR_SETPOLYFILLMODE:
        case EMR_SETTEXTALIGN: {
            const uint16_t fn = type == EMR_SETBKMODE ? META_SETBKMODE : type == EMR_SETROP2 ? META_SETROP2
                                : type == EMR_SETPOLYFILLMODE ? META_SETPOLYFILLMODE : META_SETTEXTALIGN;
            WRec w(fn);
            w.w.u16(uint16_t(q.u32(8)));
            add(w);
            break;
        }
        case EMR_GDICOMMENT:
            if (q.u32(12) == kCharExtraTag) {
                WRec w(META_SETTEXTCHAREXTRA);
                w.w.i16(q.coord(16));
                add(w);
            }
            break;
        case EMR_MOVETOEX:
        case EMR_LINETO:
            map.Current = TPoint(map.X(q.coord(8)), map.Y(q.coord(12)));
            lineTo(type == EMR_MOVETOEX ? META_MOVETO : META_LINETO, *map.Current);
            break;
        case EMR_POLYLINE:
        case EMR_POLYGON:
        case EMR_POLYBEZIER: {
            const uint32_t n = q.u32(24);
            if (!q.Has(28, uint64_t(n) * 8) || n == 0)
                break;
            std::vector<TPoint> pts;
            for (uint32_t i = 0; i < n; ++i)
                pts.emplace_back(map.X(q.coord(28 + 8 * i)), map.Y(q.coord(32 + 8 * i)));
            if (type == EMR_POLYBEZIER)
                pts = Flatten(pts);
            if (type != EMR_POLYGON) {
                // An open line goes as line segments: readers that turn the 16-bit
                // polyline into an outline shape fill it. The current position is put
                // back afterwards, as a polyline leaves it alone.
                lineTo(META_MOVETO, pts[0]);
                for (size_t i = 1; i < pts.size(); ++i)
                    lineTo(META_LINETO, pts[i]);
                if (map.Current)
                    lineTo(META_MOVETO, *map.Current);
                break;
            }
            WRec w(META_POLYGON);
            w.w.u16(uint16_t(std::min<size_t>(pts.size(), 0x7FFF)));
            for (size_t i = 0; i < pts.size() && i < 0x7FFF; ++i) {
                w.w.i16(pts[i].X);
                w.w.i16(pts[i].Y);
            }
            addFilled(w);
            break;
        }
        case EMR_RECTANGLE:
        case EMR_ELLIPSE:
        case EMR_ROUNDRECT:
        case EMR_ARC:
        case EMR_PIE:
        case EMR_CHORD: {
            const uint16_t fn = type == EMR_RECTANGLE ? META_RECTANGLE : type == EMR_ELLIPSE ? META_ELLIPSE
                                : type == EMR_ROUNDRECT ? META_ROUNDRECT : type == EMR_ARC ? META_ARC
                                : type == EMR_PIE ? META_PIE : META_CHORD;
            WRec w(fn);
            if (type == EMR_ROUNDRECT) {
                w.w.i16(map.DY(q.coord(28)));
                w.w.i16(map.DX(q.coord(24)));
            } else if (type == EMR_ARC || type == EMR_PIE || type == EMR_CHORD) {
                w.w.i16(map.Y(q.coord(36)));
                w.w.i16(map.X(q.coord(32)));
                w.w.i16(map.Y(q.coord(28)));
                w.w.i16(map.X(q.coord(24)));
            }
            // The 16-bit records take the box as the call did: right and bottom exclusive.
            rect4(w.w, map.X(q.coord(8)), map.Y(q.coord(12)), map.X(q.coord(16) + 1), map.Y(q.coord(20) + 1));
            if (type == EMR_ARC)
                add(w);
            else
                addFilled(w);
            break;
        }
        case EMR_SETPIXELV: {
            WRec w(META_SETPIXEL);
            w.w.u32(q.u32(16));
            w.w.i16(map.Y(q.coord(12)));
            w.w.i16(map.X(q.coord(8)));
            add(w);
            break;
        }
        case EMR_EXTTEXTOUTW: {
            const uint32_t n = q.u32(44), off = q.u32(48), options = q.u32(52);
            if (!q.Has(off, uint64_t(n) * 2) || n > 0x7FFF)
                break;
            QString qs(qsizetype(n), QChar(u' '));
            for (uint32_t i = 0; i < n; ++i)
                qs[qsizetype(i)] = QChar(q.u16(off + 2 * i));
            const QByteArray bytes = qs.toLatin1();
            WRec w(META_EXTTEXTOUT);
            w.w.i16(map.Y(q.coord(40)));
            w.w.i16(map.X(q.coord(36)));
            w.w.u16(uint16_t(bytes.size()));
            w.w.u16(uint16_t(options & (ETO_OPAQUE | ETO_CLIPPED)));
            if (options & (ETO_OPAQUE | ETO_CLIPPED)) {
                w.w.i16(map.X(q.coord(56)));
                w.w.i16(map.Y(q.coord(60)));
                w.w.i16(map.X(q.coord(64)));
                w.w.i16(map.Y(q.coord(68)));
            }
            for (char ch : bytes)
                w.w.u8(uint8_t(ch));
            if (bytes.size() % 2)
                w.w.u8(0);
            const uint32_t offDx = q.u32(72);
            if (offDx != 0 && q.Has(offDx, uint64_t(n) * 4) && qsizetype(n) == bytes.size())
                for (uint32_t i = 0; i < n; ++i)
                    w.w.i16(map.DX(q.coord(offDx + 4 * i)));
            add(w);
            break;
        }
        case EMR_SAVEDC: {
            saved.push_back(map);
            WRec w(META_SAVEDC);
            add(w);
            break;
        }
        case EMR_RESTOREDC: {
            // Relative (negative) or absolute (positive) as the record says.
            const int n = q.coord(8);
            const size_t keep = n < 0 ? (size_t(-int64_t(n)) <= saved.size() ? saved.size() - size_t(-int64_t(n)) : saved.size())
                                      : (n >= 1 && size_t(n) <= saved.size() ? size_t(n) - 1 : saved.size());
            if (keep < saved.size()) {
                map = saved[keep];
                saved.resize(keep);
            }
            WRec w(META_RESTOREDC);
            w.w.i16(n);
            add(w);
            break;
        }
        case EMR_INTERSECTCLIPRECT:
        case EMR_EXCLUDECLIPRECT: {
            WRec w(type == EMR_INTERSECTCLIPRECT ? META_INTERSECTCLIPRECT : META_EXCLUDECLIPRECT);
            rect4(w.w, map.X(q.coord(8)), map.Y(q.coord(12)), map.X(q.coord(16)), map.Y(q.coord(20)));
            add(w);
            break;
        }
        case EMR_EXTSELECTCLIPRGN: {
            const uint32_t cb = q.u32(8), mode = q.u32(12);
            if (cb == 0) {
                if (mode == RGN_COPY)
                    clipRegion({TRect(0, 0, m.Width, m.Height)}, TRect(0, 0, m.Width, m.Height));
                break;
            }
            const uint32_t count = q.u32(24);
            if (!q.Has(48, uint64_t(count) * 16))
                break;
            std::vector<TRect> rects;
            for (uint32_t i = 0; i < count; ++i)
                rects.emplace_back(q.coord(48 + 16 * i), q.coord(52 + 16 * i), q.coord(56 + 16 * i), q.coord(60 + 16 * i));
            const TRect bbox(q.coord(32), q.coord(36), q.coord(40), q.coord(44));
            if (mode == RGN_COPY) {
                clipRegion(rects, bbox);
            } else if (rects.size() == 1 && (mode == RGN_AND || mode == RGN_DIFF)) {
                WRec w(mode == RGN_AND ? META_INTERSECTCLIPRECT : META_EXCLUDECLIPRECT);
                rect4(w.w, rects[0].Left, rects[0].Top, rects[0].Right, rects[0].Bottom);
                add(w);
            }
            break;
        }
        case EMR_SELECTOBJECT:
        case EMR_DELETEOBJECT: {
            auto it = handle.find(q.u32(8));
            if (it == handle.end())
                break;
            WRec w(type == EMR_SELECTOBJECT ? META_SELECTOBJECT : META_DELETEOBJECT);
            w.w.u16(uint16_t(it->second));
            add(w);
            if (type == EMR_SELECTOBJECT && slotKind[it->second].What != Kind::Other)
                (slotKind[it->second].What == Kind::Pen ? map.Pen : map.Brush) = it->second;
            if (type == EMR_DELETEOBJECT) {
                objTable.Free(it->second);
                handle.erase(it);
            }
            break;
        }
        case EMR_CREATEPEN:
        case EMR_EXTCREATEPEN: {
            create(q.u32(8));
            const uint32_t style = (type == EMR_CREATEPEN ? q.u32(12) : q.u32(28)) & 0xF;
            slotKind[handle[q.u32(8)]] = SlotKind{Kind::Pen, style == 0 || style == PS_NULL || style == PS_INSIDEFRAME};
            WRec w(META_CREATEPENINDIRECT);
            if (type == EMR_CREATEPEN) {
                w.w.u16(uint16_t(q.u32(12)));
                w.w.i16(map.DX(q.coord(16)));
                w.w.i16(0);
                w.w.u32(q.u32(24));
            } else {
                // The 16-bit pen has no caps, joins or user dashes: its plain style.
                const uint32_t base = q.u32(28) & 0xF;
                w.w.u16(uint16_t(base <= PS_INSIDEFRAME ? base : 0));
                w.w.i16(map.DX(q.coord(32)));
                w.w.i16(0);
                w.w.u32(q.u32(40));
            }
            add(w);
            break;
        }
        case EMR_CREATEBRUSHINDIRECT: {
            create(q.u32(8));
            slotKind[handle[q.u32(8)]] = SlotKind{Kind::Brush, q.u32(12) == BS_SOLID};
            WRec w(META_CREATEBRUSHINDIRECT);
            w.w.u16(uint16_t(q.u32(12)));
            w.w.u32(q.u32(16));
            w.w.u16(uint16_t(q.u32(20)));
            add(w);
            break;
        }
        case EMR_CREATEDIBPATTERNBRUSHPT: {
            const uint32_t offBmi = q.u32(16), cbBmi = q.u32(20), offBits = q.u32(24), cbBits = q.u32(28);
            if (!q.Has(offBmi, cbBmi) || !q.Has(offBits, cbBits))
                break;
            create(q.u32(8));
            WRec w(META_DIBCREATEPATTERNBRUSH);
            w.w.u16(6);   // BS_DIBPATTERNPT
            w.w.u16(0);   // DIB_RGB_COLORS
            PutDib(w.w, q, offBmi, cbBmi, offBits, cbBits);
            add(w);
            break;
        }
        case EMR_EXTCREATEFONTINDIRECTW: {
            create(q.u32(8));
            WRec w(META_CREATEFONTINDIRECT);
            w.w.i16(map.DY(q.coord(12)));
            w.w.i16(map.DX(q.coord(16)));
            for (int k = 2; k < 5; ++k)
                w.w.i16(q.coord(12 + 4 * k));
            for (int k = 0; k < 8; ++k)
                w.w.u8(q.u8(32 + k));
            QString face;
            for (int i = 0; i < 32 && q.u16(40 + 2 * i) != 0; ++i)
                face.append(QChar(q.u16(40 + 2 * i)));
            QByteArray name = face.toLatin1().left(31);
            name.resize(32, '\0');
            for (char ch : name)
                w.w.u8(uint8_t(ch));
            add(w);
            break;
        }
        case EMR_BITBLT:
        case EMR_STRETCHBLT:
        case EMR_STRETCHDIBITS: {
            const bool dibits = type == EMR_STRETCHDIBITS;
            const uint32_t cbBmi = q.u32(dibits ? 52 : 88);
            const int x = map.X(q.coord(24)), y = map.Y(q.coord(28));
            const uint32_t rop = q.u32(dibits ? 68 : 40);
            const int rawCx = q.coord(dibits ? 72 : 32), rawCy = q.coord(dibits ? 76 : 36);
            const int cx = map.DX(rawCx), cy = map.DY(rawCy);
            if (cbBmi == 0 && rop == PATCOPY && map.Pen >= 0) {
                // A fill with the brush: readers that leave block transfers out still
                // show it as a rectangle without outline (one pixel wider and higher,
                // as a rectangle without a pen fills one pixel less).
                const int slot = objTable.Take();
                maxObjects = std::max(maxObjects, objTable.used.size());
                WRec pen(META_CREATEPENINDIRECT);
                pen.w.u16(uint16_t(PS_NULL));
                pen.w.i16(0);
                pen.w.i16(0);
                pen.w.u32(0);
                add(pen);
                WRec sel(META_SELECTOBJECT);
                sel.w.u16(uint16_t(slot));
                add(sel);
                WRec box(META_RECTANGLE);
                rect4(box.w, std::min(x, x + cx), std::min(y, y + cy), std::max(x, x + cx) + 1, std::max(y, y + cy) + 1);
                const int selectedPen = map.Pen;
                map.Pen = slot;
                slotKind[slot] = SlotKind{Kind::Pen, true};
                addFilled(box);
                map.Pen = selectedPen;
                WRec back(META_SELECTOBJECT);
                back.w.u16(uint16_t(map.Pen));
                add(back);
                WRec del(META_DELETEOBJECT);
                del.w.u16(uint16_t(slot));
                add(del);
                objTable.Free(slot);
                break;
            }
            if (cbBmi == 0) {
                WRec w(META_PATBLT);
                w.w.u32(rop);
                w.w.i16(cy);
                w.w.i16(cx);
                w.w.i16(y);
                w.w.i16(x);
                add(w);
                break;
            }
            const uint32_t offBmi = q.u32(dibits ? 48 : 84), offBits = q.u32(dibits ? 56 : 92);
            const uint32_t cbBits = q.u32(dibits ? 60 : 96);
            if (!q.Has(offBmi, cbBmi) || !q.Has(offBits, cbBits))
                break;
            int sx = q.coord(dibits ? 32 : 44), sy = q.coord(dibits ? 36 : 48), sw = rawCx, sh = rawCy;
            if (dibits) {
                sw = q.coord(40);
                sh = q.coord(44);
            } else if (type == EMR_STRETCHBLT) {
                sw = q.coord(100);
                sh = q.coord(104);
            }
            WRec w(META_STRETCHDIB);
            w.w.u32(rop);
            w.w.u16(0);
            w.w.i16(sh);
            w.w.i16(sw);
            w.w.i16(sy);
            w.w.i16(sx);
            w.w.i16(cy);
            w.w.i16(cx);
            w.w.i16(y);
            w.w.i16(x);
            PutDib(w.w, q, offBmi, cbBmi, offBits, cbBits);
            add(w);
            break;
        }
        default:
            break;   // paths, blending and see-through blocks have no 16-bit record
        }
    }
    WRec eof(META_EOF);
    add(eof);

    Writer out;
    // Placeable header: key, handle, bounding box, units per inch, reserved, checksum.
    out.u32(kPlaceableKey);
    out.u16(0);
    out.i16(0);
    out.i16(0);
    out.i16(m.Width);
    out.i16(m.Height);
    out.u16(96);
    out.u32(0);
    uint16_t sum = 0;
    for (size_t i = 0; i < 20; i += 2)
        sum ^= uint16_t(out.b[i] | (out.b[i + 1] << 8));
    out.u16(sum);
    // METAHEADER: memory metafile, 9-word header, version 3.0.
    out.u16(1);
    out.u16(9);
    out.u16(0x0300);
    out.u32(uint32_t(9 + body.size() / 2));
    out.u16(uint16_t(std::max<size_t>(maxObjects, 0)));
    out.u32(maxRecord);
    out.u16(0);
    out.b.insert(out.b.end(), body.begin(), body.end());
    return out.b;
}

namespace {

bool ReadEmf(const std::vector<uint8_t>& bytes, EmfParts& out)
{
    const Reader all{bytes.data(), uint32_t(std::min<size_t>(bytes.size(), 0xFFFFFFFFu))};
    const uint32_t headerSize = all.u32(4);
    if (headerSize < 88 || headerSize % 4 || headerSize > bytes.size() || all.u32(40) != kEmfSignature)
        return false;
    out.Bounds = TRect(all.coord(8), all.coord(12), all.coord(16), all.coord(20));
    const int64_t mmw = int64_t(all.i32(32)) - all.i32(24) + 1, mmh = int64_t(all.i32(36)) - all.i32(28) + 1;
    out.MMWidth = int(std::clamp<int64_t>(mmw, 0, 1 << 24));
    out.MMHeight = int(std::clamp<int64_t>(mmh, 0, 1 << 24));
    out.Width = MulDiv(out.MMWidth, 96, 2540);
    out.Height = MulDiv(out.MMHeight, 96, 2540);
    out.Handles = std::max<uint16_t>(1, all.u16(56));
    size_t at = headerSize;
    while (at + 8 <= bytes.size()) {
        const uint32_t type = all.u32(at), len = all.u32(at + 4);
        if (len < 8 || len % 4 || len > bytes.size() - at)
            return false;
        if (type == EMR_EOF)
            return true;
        if (type != EMR_HEADER) {
            out.Records.insert(out.Records.end(), bytes.begin() + long(at), bytes.begin() + long(at + len));
            ++out.RecordCount;
        }
        at += len;
    }
    return true;
}

// Windows-metafile records turned back into enhanced records.
bool ReadWmf(const std::vector<uint8_t>& bytes, EmfParts& out)
{
    const Reader all{bytes.data(), uint32_t(std::min<size_t>(bytes.size(), 0xFFFFFFFFu))};
    size_t at = 0;
    int inch = 96;
    if (all.u32(0) == kPlaceableKey) {
        if (bytes.size() < 22 + 18)
            return false;
        inch = all.u16(14) > 0 ? all.u16(14) : 96;
        out.Width = MulDiv(all.i16(10) - all.i16(6), 96, inch);
        out.Height = MulDiv(all.i16(12) - all.i16(8), 96, inch);
        at = 22;
    }
    const uint16_t type = all.u16(at), hsize = all.u16(at + 2);
    if ((type != 1 && type != 2) || hsize != 9 || !all.Has(at, 18))
        return false;
    at += 18;
    out.MMWidth = MulDiv(out.Width, 2540, 96);
    out.MMHeight = MulDiv(out.Height, 2540, 96);
    Slots objTable;
    std::map<int, uint32_t> handleOf;   // slot to enhanced handle (0: a region)
    std::map<int, std::vector<TRect>> Regions;
    uint32_t nextHandle = 1;
    auto push = [&](Writer& w) {
        w.Finish();
        out.Records.insert(out.Records.end(), w.b.begin(), w.b.end());
        ++out.RecordCount;
    };
    auto simple = [&](uint32_t t, uint32_t v) {
        Writer w = Emr(t);
        w.u32(v);
        push(w);
    };
    // A Windows-metafile record keeps its parameters last first, an enhanced record first
    // first: writes the Count 16-bit parameters that start at From as 32-bit values in
    // the enhanced order.
    auto params = [](Writer& w, const Reader& r, uint32_t From, uint32_t Count) {
        for (uint32_t k = Count; k-- > 0;)
            w.i32(r.i16(From + 2 * k));
    };
    // The empty bounds rectangle that starts the drawing records.
    auto noBounds = [](Writer& w) {
        for (int v : {0, 0, -1, -1})
            w.i32(v);
    };
    // A record of type t made of the Count parameters alone.
    auto coords = [&](uint32_t t, const Reader& r, uint32_t From, uint32_t Count) {
        Writer w = Emr(t);
        params(w, r, From, Count);
        push(w);
    };
    auto newObject = [&]() {
        const int slot = objTable.Take();
        handleOf[slot] = nextHandle;
        out.Handles = uint16_t(std::max<uint32_t>(out.Handles, nextHandle + 1));
        return nextHandle++;
    };
    auto dibAt = [&](Writer& w, const Reader& r, uint64_t off, uint64_t end) {
        // A packed DIB: header (and colour table) then bits.
        const uint32_t hs = r.u32(off);
        const uint16_t bpp = r.u16(off + 14);
        const uint32_t colors = r.u32(off + 32) ? r.u32(off + 32) : (bpp == 1 ? 2 : 0);
        const uint64_t bmi = uint64_t(hs) + 4ull * colors;
        if (hs < 40 || off + bmi > end)
            return std::pair<uint32_t, uint32_t>(0, 0);
        const size_t base = w.b.size();
        w.b.insert(w.b.end(), r.p + off, r.p + end);
        return std::pair<uint32_t, uint32_t>(uint32_t(base), uint32_t(bmi));
    };
    while (at + 6 <= bytes.size()) {
        const uint64_t words = all.u32(at);
        const uint16_t fn = all.u16(at + 4);
        if (words < 3 || words * 2 > bytes.size() - at)
            return false;
        const Reader q{bytes.data() + at, uint32_t(words * 2)};
        at += size_t(words * 2);
        if (fn == META_EOF)
            break;
        const uint32_t P = 6;   // parameters start here
        switch (fn) {
        case META_SETBKCOLOR: simple(EMR_SETBKCOLOR, q.u32(P)); break;
        case META_SETTEXTCOLOR: simple(EMR_SETTEXTCOLOR, q.u32(P)); break;
        case META_SETBKMODE: simple(EMR_SETBKMODE, q.u16(P)); break;
        case META_SETMAPMODE: simple(EMR_SETMAPMODE, q.u16(P)); break;
        case META_SETROP2: simple(EMR_SETROP2, q.u16(P)); break;
        case META_SETPOLYFILLMODE: simple(EMR_SETPOLYFILLMODE, q.u16(P)); break;
        case META_SETTEXTALIGN: simple(EMR_SETTEXTALIGN, q.u16(P)); break;
        case META_SETTEXTCHAREXTRA: {
            Writer w = Emr(EMR_GDICOMMENT);
            w.u32(8);
            w.u32(kCharExtraTag);
            w.i32(q.i16(P));
            push(w);
            break;
        }
        case META_SETWINDOWORG: coords(EMR_SETWINDOWORGEX, q, P, 2); break;
        case META_SETWINDOWEXT: coords(EMR_SETWINDOWEXTEX, q, P, 2); break;
        case META_SETVIEWPORTORG: coords(EMR_SETVIEWPORTORGEX, q, P, 2); break;
        case META_SETVIEWPORTEXT: coords(EMR_SETVIEWPORTEXTEX, q, P, 2); break;
        case META_MOVETO: coords(EMR_MOVETOEX, q, P, 2); break;
        case META_LINETO: coords(EMR_LINETO, q, P, 2); break;
        case META_POLYLINE:
        case META_POLYGON: {
            const uint16_t n = q.u16(P);
            if (!q.Has(P + 2, 4ull * n))
                break;
            Writer w = Emr(fn == META_POLYGON ? EMR_POLYGON : EMR_POLYLINE);
            noBounds(w);
            w.u32(n);
            for (uint16_t i = 0; i < n; ++i) {
                w.i32(q.i16(P + 2 + 4 * i));
                w.i32(q.i16(P + 4 + 4 * i));
            }
            push(w);
            break;
        }
        case META_RECTANGLE:
        case META_ELLIPSE:
        case META_ROUNDRECT:
        case META_ARC:
        case META_PIE:
        case META_CHORD: {
            const uint32_t extra = fn == META_ROUNDRECT ? 2 : (fn == META_RECTANGLE || fn == META_ELLIPSE) ? 0 : 4;
            const uint32_t b = P + 2 * extra;   // bottom, right, top, left follow the extras
            Writer w = Emr(fn == META_RECTANGLE ? EMR_RECTANGLE : fn == META_ELLIPSE ? EMR_ELLIPSE
                           : fn == META_ROUNDRECT ? EMR_ROUNDRECT : fn == META_ARC ? EMR_ARC
                           : fn == META_PIE ? EMR_PIE : EMR_CHORD);
            params(w, q, b + 4, 2);
            w.i32(q.i16(b + 2) - 1);
            w.i32(q.i16(b) - 1);
            params(w, q, P, extra);
            push(w);
            break;
        }
        case META_SETPIXEL: {
            Writer w = Emr(EMR_SETPIXELV);
            params(w, q, P + 4, 2);
            w.u32(q.u32(P));
            push(w);
            break;
        }
        case META_EXTTEXTOUT: {
            const int y = q.i16(P), x = q.i16(P + 2);
            const uint16_t n = q.u16(P + 4), options = q.u16(P + 6);
            uint32_t s = P + 8;
            TRect rc;
            if (options & (ETO_OPAQUE | ETO_CLIPPED)) {
                rc = TRect(q.i16(s), q.i16(s + 2), q.i16(s + 4), q.i16(s + 6));
                s += 8;
            }
            if (!q.Has(s, n))
                break;
            const QString text = QString::fromLatin1(reinterpret_cast<const char*>(q.p + s), n);
            Writer w = Emr(EMR_EXTTEXTOUTW);
            noBounds(w);
            w.u32(1);
            w.f32(1);
            w.f32(1);
            w.i32(x);
            w.i32(y);
            w.u32(uint32_t(text.size()));
            w.u32(76);
            w.u32(options);
            w.i32(rc.Left);
            w.i32(rc.Top);
            w.i32(rc.Right);
            w.i32(rc.Bottom);
            w.u32(0);
            for (QChar ch : text)
                w.u16(ch.unicode());
            push(w);
            break;
        }
        case META_SAVEDC: {
            Writer w = Emr(EMR_SAVEDC);
            push(w);
            break;
        }
        case META_RESTOREDC: simple(EMR_RESTOREDC, uint32_t(int32_t(q.i16(P)))); break;
        case META_INTERSECTCLIPRECT:
        case META_EXCLUDECLIPRECT:
            coords(fn == META_INTERSECTCLIPRECT ? EMR_INTERSECTCLIPRECT : EMR_EXCLUDECLIPRECT, q, P, 4);
            break;
        case META_CREATEREGION: {
            // Kept as rectangles under its slot; selecting it sets the clip.
            const int slot = objTable.Take();
            handleOf[slot] = 0;
            std::vector<TRect> rects;
            const uint16_t scans = q.u16(P + 10);
            uint32_t s = P + 22;
            for (uint16_t i = 0; i < scans && q.Has(s, 6); ++i) {
                const uint16_t cnt = q.u16(s);
                const int top = q.i16(s + 2), bottom = q.i16(s + 4);
                for (uint16_t k = 0; k + 1 < cnt && q.Has(s + 6 + 2 * k, 4); k += 2)
                    rects.emplace_back(q.i16(s + 6 + 2 * k), top, q.i16(s + 8 + 2 * k), bottom);
                s += 8 + 2 * cnt;
            }
            Regions[slot] = rects;
            break;
        }
        case META_SELECTCLIPREGION: {
            auto it = Regions.find(q.u16(P));
            if (it == Regions.end())
                break;
            Writer w = Emr(EMR_EXTSELECTCLIPRGN);
            const auto& rects = it->second;
            w.u32(32 + 16 * uint32_t(rects.size()));
            w.u32(RGN_COPY);
            w.u32(32);
            w.u32(1);
            w.u32(uint32_t(rects.size()));
            w.u32(16 * uint32_t(rects.size()));
            TRect bb;
            for (const TRect& r : rects)
                UnionRect(bb, bb, r);
            for (int v : {bb.Left, bb.Top, bb.Right, bb.Bottom})
                w.i32(v);
            for (const TRect& r : rects)
                for (int v : {r.Left, r.Top, r.Right, r.Bottom})
                    w.i32(v);
            push(w);
            break;
        }
        case META_SELECTOBJECT:
        case META_DELETEOBJECT: {
            const int slot = q.u16(P);
            auto it = handleOf.find(slot);
            if (it == handleOf.end())
                break;
            if (it->second != 0)
                simple(fn == META_SELECTOBJECT ? EMR_SELECTOBJECT : EMR_DELETEOBJECT, it->second);
            if (fn == META_DELETEOBJECT) {
                Regions.erase(slot);
                handleOf.erase(it);
                objTable.Free(slot);
            }
            break;
        }
        case META_CREATEPENINDIRECT: {
            Writer w = Emr(EMR_CREATEPEN);
            w.u32(newObject());
            w.u32(q.u16(P));
            w.i32(q.i16(P + 2));
            w.i32(0);
            w.u32(q.u32(P + 6));
            push(w);
            break;
        }
        case META_CREATEBRUSHINDIRECT: {
            Writer w = Emr(EMR_CREATEBRUSHINDIRECT);
            w.u32(newObject());
            w.u32(q.u16(P));
            w.u32(q.u32(P + 2));
            w.u32(q.u16(P + 6));
            push(w);
            break;
        }
        case META_DIBCREATEPATTERNBRUSH: {
            Writer w = Emr(EMR_CREATEDIBPATTERNBRUSHPT);
            w.u32(newObject());
            w.u32(0);
            const size_t fix = w.b.size();
            w.u32(0);
            w.u32(0);
            w.u32(0);
            w.u32(0);
            auto [base, bmi] = dibAt(w, q, P + 4, q.len);
            if (bmi != 0) {
                w.put32(fix, base);
                w.put32(fix + 4, bmi);
                w.put32(fix + 8, base + bmi);
                w.put32(fix + 12, uint32_t(w.b.size()) - base - bmi);
            }
            push(w);
            break;
        }
        case META_CREATEFONTINDIRECT: {
            Writer w = Emr(EMR_EXTCREATEFONTINDIRECTW);
            w.u32(newObject());
            for (int k = 0; k < 5; ++k)
                w.i32(q.i16(P + 2 * k));
            for (int k = 0; k < 8; ++k)
                w.u8(q.u8(P + 10 + k));
            QByteArray name;
            for (int k = 0; k < 32 && q.u8(P + 18 + k) != 0; ++k)
                name.append(char(q.u8(P + 18 + k)));
            const QString face = QString::fromLatin1(name);
            for (int k = 0; k < 32; ++k)
                w.u16(k < face.size() ? face.at(k).unicode() : 0);
            push(w);
            break;
        }
        case META_PATBLT: {
            Writer w = Emr(EMR_BITBLT);
            noBounds(w);
            params(w, q, P + 4, 4);
            w.u32(q.u32(P));
            for (int k = 0; k < 2 + 6 + 6; ++k)
                w.u32(k >= 2 && (k == 2 || k == 5) ? 0x3F800000u : 0);   // identity transform
            push(w);
            break;
        }
        case META_STRETCHDIB: {
            Writer w = Emr(EMR_STRETCHBLT);
            noBounds(w);
            params(w, q, P + 14, 4);   // x, y, cx, cy
            w.u32(q.u32(P));
            params(w, q, P + 10, 2);   // sx, sy
            for (float v : {1.f, 0.f, 0.f, 1.f, 0.f, 0.f})
                w.f32(v);
            w.u32(0);
            w.u32(0);
            const size_t fix = w.b.size();
            for (int k = 0; k < 4; ++k)
                w.u32(0);
            params(w, q, P + 6, 2);   // sw, sh
            auto [base, bmi] = dibAt(w, q, P + 22, q.len);
            if (bmi == 0)
                break;
            w.put32(fix, base);
            w.put32(fix + 4, bmi);
            w.put32(fix + 8, base + bmi);
            w.put32(fix + 12, uint32_t(w.b.size()) - base - bmi);
            push(w);
            break;
        }
        default:
            break;
        }
    }
    if (out.Width <= 0 || out.Height <= 0) {
        out.Width = std::max(out.Width, 1);
        out.Height = std::max(out.Height, 1);
        out.MMWidth = MulDiv(out.Width, 2540, 96);
        out.MMHeight = MulDiv(out.Height, 2540, 96);
    }
    return true;
}

} // namespace

bool ReadMetafile(const std::vector<uint8_t>& bytes, EmfParts& out, bool& enhanced)
{
    out = EmfParts();
    if (bytes.size() >= 88 && Reader{bytes.data(), uint32_t(std::min<size_t>(bytes.size(), 0xFFFFFFFFu))}.u32(0) == EMR_HEADER) {
        enhanced = true;
        return ReadEmf(bytes, out);
    }
    enhanced = false;
    return ReadWmf(bytes, out);
}

} // namespace mfformat
