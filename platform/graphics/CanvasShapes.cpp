// The canvas's lines, shapes and pixels.
#include "graphics/Canvas.h"

#include "graphics/CanvasImpl.h"

#include <climits>
#include <cstdint>
#include <cstring>
#include <cwchar>
#include <utility>

namespace {

// Geometric pens stroke through pixel centres; just below one half keeps the rasterizer's
// boundary rule from favouring one side, so odd widths spread evenly.
constexpr double kCentre = 0.49;

} // namespace

void TCanvas::Impl::DrawPathInPens(QPainter& p, const StrokeStyle& s, const QPainterPath& path)
{
    if (s.Gap) {
        p.setPen(s.GapPen);
        p.drawPath(path);
    }
    p.setPen(s.Pen);
    p.drawPath(path);
}

void TCanvas::Impl::StrokeShape(const QPainterPath& path)
{
    const StrokeStyle& s = S();
    if (s.Null)
        return;
    QPainter& p = P();
    SetComp(p, s.Rop);
    p.setBrush(Qt::NoBrush);
    if (Snapped()) {
        p.resetTransform();
        DrawPathInPens(p, s, SnapPath(path, Xf, s));
        p.setWorldTransform(Xf);
        return;
    }
    if (s.Cosmetic) {
        DrawPathInPens(p, s, Ratio == 1 ? path : Centred(path));
    } else {
        p.setPen(s.Pen);
        p.drawPath(path.translated(kCentre, kCentre));
    }
}

QLineF TCanvas::Impl::CosmeticLine(QPoint a, QPoint b)
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

void TCanvas::Impl::StrokeStyle::Prepare()
{
    Solid = Pen.style() == Qt::SolidLine && !Gap;
    DirectOk = !Rop.Nop && Rop.Force < 0 && Rop.Mode == QPainter::CompositionMode_SourceOver &&
               (Solid || Pen.style() == Qt::CustomDashLine) && Pen.color().alpha() == 255 &&
               (!Gap || GapPen.color().alpha() == 255);
    PenRgb = Pen.color().rgba();
    GapRgb = Gap ? GapPen.color().rgba() : 0;
    Inked.fill(false);
    Inked[0] = true;
    Period = 1;
    if (!Solid) {
        const QList<qreal> pattern = Pen.dashPattern();
        Period = 0;
        for (qsizetype i = 0; i < pattern.size() && Period >= 0; ++i) {
            const qreal v = pattern[i];
            if (v < 1 || v != std::floor(v) || Period + int(v) > LongestPattern) {
                Period = -1;
                break;
            }
            for (int k = 0; k < int(v); ++k)
                Inked[size_t(Period++)] = i % 2 == 0;
        }
        if (Period <= 0 || pattern.size() % 2 != 0) {
            Period = 0;
            return;
        }
    }
    RunEnd[size_t(Period - 1)] = Period;
    for (int p = Period - 2; p >= 0; --p)
        RunEnd[size_t(p)] = Inked[size_t(p)] == Inked[size_t(p + 1)] ? RunEnd[size_t(p + 1)] : p + 1;
}

bool TCanvas::Impl::DirectSlanted(QRgb pen, QPoint a, QPoint b, bool inside)
{
    // Only a segment whose pixels all lie within one rectangle of the clip: the engine
    // shortens one that leaves its clip's bounds, and that moves its pixels.
    if (!inside) {
        const QRect box = QRect(a, b).normalized().adjusted(-1, -1, 1, 1);
        ForClipRects([&](const QRect& r) { inside = inside || r.contains(box); });
        if (!inside)
            return false;
    }
    // The engine's walk: the ends in 1/64 pixel (cut toward zero), one pixel per step
    // along the major axis from the rounded first end up to the rounded last (left out),
    // the minor coordinate in 1/65536 pixel starting where the major one enters the first
    // pixel (its middle when the minor coordinate grows), each pixel its whole part.
    const QLineF line = CosmeticLine(a, b);
    int x1 = int(line.x1() * 64.), y1 = int(line.y1() * 64.), x2 = int(line.x2() * 64.), y2 = int(line.y2() * 64.);
    const bool steep = std::abs(x2 - x1) < std::abs(y2 - y1);
    if (!steep) {
        std::swap(x1, y1);
        std::swap(x2, y2);
    }
    if (y1 > y2) {
        std::swap(x1, x2);
        std::swap(y1, y2);
    }
    const int first = (y1 + 32) >> 6, last = (y2 + 32) >> 6;
    if (y1 == y2 || first >= last)
        return true;
    const int inc = int((int64_t(x2 - x1) << 16) / (y2 - y1));
    int minor = x1 * (1 << 10) + ((((first << 6) + (inc > 0 ? 32 : 0) - y1) * inc) >> 6);
    uchar* bits = Image->bits();
    const qsizetype stride = Image->bytesPerLine();
    for (int major = first; major < last; ++major, minor += inc) {
        const int x = steep ? minor >> 16 : major, y = steep ? major : minor >> 16;
        reinterpret_cast<QRgb*>(bits + stride * y)[x] = pen;
    }
    return true;
}

bool TCanvas::Impl::DirectSegment(const StrokeStyle& s, QPoint a, QPoint b, qreal dashOffset)
{
    const bool solid = s.Solid;
    if (a.x() != b.x() && a.y() != b.y())
        return solid && DirectPen(s) && DirectSlanted(s.PenRgb, a, b);
    if (dashOffset != std::floor(dashOffset) || dashOffset < 0 || !DirectPen(s) || s.Period == 0)
        return false;
    // The pattern in whole pixels: which of its positions are inked (a solid line: all).
    const int period = s.Period;
    const bool* inked = s.Inked.data();
    const int* runEnd = s.RunEnd.data();
    const QRgb pen = s.PenRgb;
    const QRgb gap = s.GapRgb;
    const bool level = a.y() == b.y();
    const int length = level ? std::abs(b.x() - a.x()) : std::abs(b.y() - a.y());
    const int step = level ? (b.x() > a.x() ? 1 : -1) : (b.y() > a.y() ? 1 : -1);
    const int start = int(std::fmod(dashOffset, double(period)));
    // The segment's pixels as a range along its axis, clipped by each rectangle of the clip.
    const int along0 = level ? a.x() : a.y();
    const int last = along0 + step * (length - 1);
    const int lo = std::min(along0, last), hi = std::max(along0, last);
    const int across = level ? a.y() : a.x();
    uchar* bits = Image->bits();
    const qsizetype stride = Image->bytesPerLine();
    const auto draw = [&](const QRect& r) {
        const int acrossLo = level ? r.top() : r.left(), acrossHi = level ? r.bottom() : r.right();
        if (across < acrossLo || across > acrossHi)
            return;
        const int from = std::max(lo, level ? r.left() : r.top());
        const int to = std::min(hi, level ? r.right() : r.bottom());
        if (from > to)
            return;
        // Walked from the segment's first pixel on, so the phase only steps forward.
        const int first = step > 0 ? from : to, count = to - from + 1;
        int phase = int((int64_t(first - along0) * step + start) % period);
        QRgb* pixel = level ? reinterpret_cast<QRgb*>(bits + stride * across) + first
                            : reinterpret_cast<QRgb*>(bits + stride * first) + across;
        const qsizetype advance = (level ? 1 : stride / qsizetype(sizeof(QRgb))) * step;
        if (solid) {
            for (int n = 0; n < count; ++n, pixel += advance)
                *pixel = pen;
            return;
        }
        if (!s.Gap) {
            // Pixels of one colour only: each inked run of the pattern written a period apart,
            // the one the walk starts inside cut to what is left of it.
            for (int p = 0; p < period; p = runEnd[p]) {
                if (!inked[p])
                    continue;
                const int runLength = runEnd[p] - p;
                if (phase > p && phase < runEnd[p])
                    for (int k = 0, n = std::min(runEnd[p] - phase, count); k < n; ++k)
                        pixel[advance * k] = pen;
                for (int base = (p - phase + period) % period; base < count; base += period) {
                    QRgb* at = pixel + advance * base;
                    for (int k = 0, n = std::min(runLength, count - base); k < n; ++k)
                        at[advance * k] = pen;
                }
            }
            return;
        }
        // A dash (or gap) at a time: runEnd tells where the run holding each phase ends.
        for (int n = 0; n < count;) {
            const int len = std::min(runEnd[phase] - phase, count - n);
            if (inked[phase] || s.Gap) {
                const QRgb colour = inked[phase] ? pen : gap;
                for (int k = 0; k < len; ++k, pixel += advance)
                    *pixel = colour;
            } else {
                pixel += advance * len;
            }
            n += len;
            phase += len;
            if (phase == period)
                phase = 0;
        }
    };
    ForClipRects(draw);
    return true;
}

namespace {

// Writes n pixels of one colour from `to` on. On x86 by one string store, which on long runs
// writes whole cache lines without reading them first: a background of 1000 by 700 pixels
// takes a fifth less time than row by row.
inline void FillRun(QRgb* to, size_t n, QRgb colour)
{
#if defined(__x86_64__) || defined(__i386__)
    static_assert(sizeof(QRgb) == 4);
    asm volatile("rep stosl" : "+D"(to), "+c"(n) : "a"(colour) : "memory");
#else
    std::fill_n(to, n, colour);
#endif
}

} // namespace

bool TCanvas::Impl::DirectFill(const QRect& r, QRgb colour)
{
    if (!Writable() || qAlpha(colour) != 255)
        return false;
    uchar* bits = Image->bits();
    const qsizetype stride = Image->bytesPerLine();
    ForClipRects([&](const QRect& clip) {
        const QRect part = clip.intersected(r);
        if (part.isEmpty())
            return;
        QRgb* row = reinterpret_cast<QRgb*>(bits + stride * part.top()) + part.left();
        const qsizetype next = stride / qsizetype(sizeof(QRgb));
        const int w = part.width();
        if (w == 2) {   // an area's two-pixel bands: one 8-byte store a row
            const uint64_t pair = uint64_t(colour) << 32 | colour;
            for (int y = part.height(); y > 0; --y, row += next)
                std::memcpy(row, &pair, sizeof pair);
            return;
        }
        if (w <= 4) {   // other narrow columns: rows written pixel by pixel
            for (int y = part.height(); y > 0; --y, row += next)
                for (int x = 0; x < w; ++x)
                    row[x] = colour;
            return;
        }
        if (w == next) {   // whole rows of the image (a background): one run of pixels
            FillRun(row, size_t(w) * size_t(part.height()), colour);
            return;
        }
        static_assert(sizeof(wchar_t) == sizeof(QRgb));
        for (int y = part.height(); y > 0; --y, row += next)
            std::wmemset(reinterpret_cast<wchar_t*>(row), wchar_t(colour), size_t(w));
    });
    return true;
}

TCanvas::Impl::WideSegments& TCanvas::Impl::WideSegments::ForThisThread()
{
    thread_local WideSegments segments;
    return segments;
}

bool TCanvas::Impl::DirectWide(const StrokeStyle& s, QLineF line)
{
    if (!s.DirectOk || !s.Solid || s.Cosmetic || !Writable())
        return false;
    const auto bits = [](double v) {
        qint64 b;
        std::memcpy(&b, &v, sizeof b);
        return b;
    };
    const std::array<qint64, 7> key{bits(line.x1()), bits(line.y1()), bits(line.x2()), bits(line.y2()),
                                    bits(s.Pen.widthF()), qint64(s.Pen.capStyle()) << 32 | qint64(s.Pen.joinStyle()),
                                    qint64(Image->width()) << 32 | Image->height()};
    WideSegments& wide = WideSegments::ForThisThread();
    // A segment met for the first time is only noted: one drawn once costs no more than
    // drawing it; its pixels are found the second time.
    auto found = wide.Runs.find(key);
    if (found == wide.Runs.end()) {
        if (wide.Runs.size() > WideSegments::MaxSegments)
            wide.Runs.clear();
        wide.Runs.emplace(key, WideSegments::Covered{});
        return false;
    }
    if (!found->second.Found) {
        // The mask is drawn clipped to the whole device, as the engine draws an unclipped
        // image; the segment's pixels are found within the reach of its pen.
        if (!wide.Mask || wide.Mask->size() != Image->size()) {
            wide.Mask.emplace(Image->size(), QImage::Format_Alpha8);
            wide.Mask->fill(0);
        }
        {
            QPainter mask(&*wide.Mask);
            mask.setRenderHint(QPainter::Antialiasing, false);
            mask.setClipRegion(QRegion(wide.Mask->rect()));
            QPen pen = s.Pen;
            pen.setColor(Qt::black);
            mask.setPen(pen);
            mask.drawLine(line);
        }
        const double reach = s.Pen.widthF() + 2;
        const QRect area = QRectF(line.p1(), line.p2())
                               .normalized()
                               .adjusted(-reach, -reach, reach, reach)
                               .toAlignedRect()
                               .intersected(wide.Mask->rect());
        WideSegments::Covered covered;
        for (int y = area.top(); y <= area.bottom(); ++y) {
            uchar* row = wide.Mask->scanLine(y);
            for (int x = area.left(); x <= area.right();) {
                if (row[x] == 0) {
                    ++x;
                    continue;
                }
                const int from = x;
                for (; x <= area.right() && row[x] != 0; ++x)
                    row[x] = 0;
                covered.Runs.push_back(QRect(from, y, x - from, 1));
                covered.Box |= covered.Runs.back();
            }
        }
        covered.Found = true;
        found->second = std::move(covered);
    }
    // Only a segment that lies within one rectangle of the clip: a clip that cuts it may
    // change how the engine fills it.
    const QRect box = found->second.Box;
    bool inside = false;
    ForClipRects([&](const QRect& r) { inside = inside || r.contains(box); });
    if (!inside && !box.isEmpty())
        return false;
    const QRgb pen = s.PenRgb;
    uchar* out = Image->bits();
    const qsizetype stride = Image->bytesPerLine();
    for (const QRect& run : found->second.Runs)
        std::fill_n(reinterpret_cast<QRgb*>(out + stride * run.top()) + run.left(), run.width(), pen);
    return true;
}

void TCanvas::Impl::CosmeticSegment(QPainter& p, const StrokeStyle& s, QPoint a, QPoint b, qreal dashOffset)
{
    if (a == b)
        return;
    if (DirectSegment(s, a, b, dashOffset))
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

void TCanvas::Impl::CosmeticPolyline(const QPoint* pts, int count)
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
        if (Snapped())
            SnappedPolyline(p, s, dev, false);
        else
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
        // Upright segments that follow one another on one column ink one unbroken run of
        // it, written once: in one colour, copied, the order of the pixels does not matter.
        const bool direct = DirectPen(s);
        // Slanted segments need not each be checked against the clip when the whole line,
        // with a pixel more on each side, lies within one rectangle of it.
        bool inside = false;
        if (direct) {
            int l = pts[0].x(), r = l, t = pts[0].y(), b = t;
            for (int i = 1; i < count; ++i) {
                l = std::min(l, pts[i].x()), r = std::max(r, pts[i].x());
                t = std::min(t, pts[i].y()), b = std::max(b, pts[i].y());
            }
            const QRect box = QRect(QPoint(l, t), QPoint(r, b)).adjusted(-1, -1, 1, 1);
            ForClipRects([&](const QRect& clip) { inside = inside || clip.contains(box); });
        }
        bool pending = false;
        int runX = 0, runLo = 0, runHi = 0;
        const auto flush = [&] {
            if (std::exchange(pending, false))
                DirectSegment(s, QPoint(runX, runLo), QPoint(runX, runHi + 1), 0);
        };
        for (int i = 1; i < count; ++i) {
            const QPoint next = mapped ? DevicePoint(pts[i]) : pts[i];
            if (next == prev)
                continue;
            if (direct && next.x() == prev.x()) {
                const int step = next.y() > prev.y() ? 1 : -1;
                const int lo = std::min(prev.y(), next.y() - step), hi = std::max(prev.y(), next.y() - step);
                if (pending && runX == prev.x()) {
                    runLo = std::min(runLo, lo);
                    runHi = std::max(runHi, hi);
                } else {
                    flush();
                    pending = true;
                    runX = prev.x(), runLo = lo, runHi = hi;
                }
            } else {
                flush();
                const bool slanted = next.x() != prev.x() && next.y() != prev.y();
                if (!direct || !(inside && slanted ? DirectSlanted(s.PenRgb, prev, next, true)
                                                   : DirectSegment(s, prev, next, 0)))
                    p.drawLine(CosmeticLine(prev, next));
            }
            prev = next;
        }
        flush();
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

void TCanvas::Impl::DensePolyline(QPainter& p, const StrokeStyle& s, const std::vector<QPoint>& pts)
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
    // Only the line: a path drawn with the painter's brush of an earlier figure would
    // also fill the polygon its points make.
    p.setBrush(Qt::NoBrush);
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

void TCanvas::Impl::SnappedPolyline(QPainter& p, const StrokeStyle& s, const std::vector<QPoint>& pts, bool closed,
                                    bool onBands)
{
    // Each point as the first image pixel of its band (a band's start grows with its
    // coordinate, so only repeated points meet).
    const int w = s.Pixels;
    std::vector<QPoint> at;
    at.reserve(pts.size());
    for (const QPoint& q : pts)
        if (const QPoint b = onBands ? q : QPoint(BandStart(q.x(), w), BandStart(q.y(), w)); at.empty() || b != at.back())
            at.push_back(b);
    if (closed && at.size() > 1 && at.front() == at.back())
        at.pop_back();
    if (at.size() < 2)
        return;
    p.setBrush(Qt::NoBrush);
    const size_t segments = closed ? at.size() : at.size() - 1;
    if (s.Hairline) {
        // One pixel wide: the segments of a ratio of 1 on image pixels, the dashes running
        // on across the joins.
        qreal run = 0;
        for (size_t i = 0; i < segments; ++i) {
            const QPoint a = at[i], b = at[(i + 1) % at.size()];
            const QLineF l = CosmeticLine(a, b);
            const QLineF line(NudgedFromImage(l.p1()), NudgedFromImage(l.p2()));
            if (s.Gap) {
                p.setPen(s.GapPen);
                p.drawLine(line);
            }
            QPen pen = s.Pen;
            if (run != 0 && pen.style() == Qt::CustomDashLine)
                pen.setDashOffset(run);
            p.setPen(pen);
            p.drawLine(line);
            run += std::max(std::abs(b.x() - a.x()), std::abs(b.y() - a.y()));
        }
        return;
    }
    // Wider: one stroke through the bands' middles, its open ends reaching back half a
    // band to the first band's outer edge and stopping where the last band begins.
    std::vector<QPointF> c;
    c.reserve(at.size());
    for (const QPoint& q : at)
        c.push_back(QPointF(q) + QPointF(w * 0.5, w * 0.5));
    if (!closed) {
        auto halfBand = [w](QPointF from, QPointF to) {
            const QPointF d = to - from;
            return d * (w * 0.5 / std::max(std::abs(d.x()), std::abs(d.y())));
        };
        const QPointF first = halfBand(c[0], c[1]), last = halfBand(c[c.size() - 2], c.back());
        c.front() -= first;
        c.back() -= last;
    }
    QPainterPath path(c[0] / Ratio);
    for (size_t i = 1; i < c.size(); ++i)
        path.lineTo(c[i] / Ratio);
    if (closed)
        path.closeSubpath();
    DrawPathInPens(p, s, path);
}

void TCanvas::Impl::Line(int x1, int y1, int x2, int y2)
{
    const StrokeStyle& s = S();
    if (s.Null)
        return;
    if (s.Cosmetic) {
        // A segment written straight into the image needs no painter (ticks and grids).
        const QPoint pts[2] = {QPoint(x1, y1), QPoint(x2, y2)};
        if (DirectPen(s) && (pts[0] == pts[1] || DirectSegment(s, pts[0], pts[1], 0)))
            return;
        CosmeticPolyline(pts, 2);
        return;
    }
    if (Snapped()) {
        QPainterPath path(QPointF(x1, y1));
        path.lineTo(x2, y2);
        StrokeShape(path);
        return;
    }
    QPainter& p = P();
    SetComp(p, s.Rop);
    p.setPen(s.Pen);
    const QLineF line(QPointF(x1 + kCentre, y1 + kCentre), QPointF(x2 + kCentre, y2 + kCentre));
    if (!DirectWide(s, line))
        p.drawLine(line);
}

void TCanvas::Impl::ArcAngles(const QRectF& box, int x3, int y3, int x4, int y4, double& start, double& sweep) const
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

QPainterPath TCanvas::Impl::ArcPath(int kind, int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) const
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
    path.setFillRule(d->FillRule());
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
    if (d->Snapped()) {
        // The frame along the inner edges of the box's image pixels (see BoxBands), the
        // inside filled up to the frame's inner edges.
        const QRect bands = d->BoxBands(d->ToDevice(x1, y1), d->ToDevice(x2, y2), s.Pixels);
        const int w = s.Pixels;
        p.resetTransform();
        if (d->RopBrush(f, brush) && bands.width() > w && bands.height() > w) {
            d->SetComp(p, f.Rop);
            p.fillRect(d->FromImage(QRect(bands.left() + w, bands.top() + w, bands.width() - w, bands.height() - w)),
                       brush);
        }
        d->SetComp(p, s.Rop);
        d->SnappedPolyline(p, s,
                           {bands.topLeft(), QPoint(bands.x() + bands.width(), bands.y()),
                            QPoint(bands.x() + bands.width(), bands.y() + bands.height()),
                            QPoint(bands.x(), bands.y() + bands.height())},
                           true, true);
        p.setWorldTransform(d->Xf);
        return;
    }
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
        const bool snapped = d->Snapped();
        QRectF onBands;
        if (snapped) {
            // From the band of the box's first pixel to that of its last, each way.
            onBands = QRectF(d->SnapPoint(d->Xf.map(QPointF(r.topLeft())), s),
                             d->SnapPoint(d->Xf.map(QPointF(r.x() + r.width(), r.y() + r.height())), s));
            p.resetTransform();
        }
        const auto ellipse = [&] {
            if (snapped)
                p.drawEllipse(onBands);
            else if (d->Ratio == 1)
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
        if (snapped)
            p.setWorldTransform(d->Xf);
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
    if (f.Solid) {
        d->FillToCome(QRect(l, t, rr - l, b - t), f.SolidRgb);
        if (d->DirectFill(QRect(l, t, rr - l, b - t), f.SolidRgb))
            return;
    }
    QPainter& p = d->P();
    p.setCompositionMode(QPainter::CompositionMode_SourceOver);   // a pattern copy: no raster operation
    p.fillRect(QRect(l, t, rr - l, b - t), f.Brush);
}

void TCanvas::FillColumns(int Left, int Count, const int* Tops, const int* Bottoms, const TColor* Colours)
{
    if (Count <= 0 || !d->Active())
        return;
    if (d->DirectColumns(Left, Count, Tops, Bottoms, Colours))
        return;
    // Column by column through FillRect, in a solid brush of each column's colour.
    TBrush saved;
    saved.Assign(Brush());
    Brush()->SetStyle(bsSolid);
    for (int k = 0; k < Count; ++k)
        if (Tops[k] <= Bottoms[k]) {
            Brush()->SetColor(Colours[k]);
            FillRect(TRect(Left + k, Tops[k], Left + k + 1, Bottoms[k] + 1));
        }
    Brush()->Assign(&saved);
}

namespace {

// One row of a few columns: each pixel that its column holds (y - first <= span) takes
// the column's colour, without a branch; in wider vectors where the processor has them.
__attribute__((target_clones("avx2", "default"))) void MaskedColumnsRow(QRgb* __restrict row, int n, uint32_t y,
                                                                          const uint32_t* __restrict first,
                                                                          const uint32_t* __restrict span,
                                                                          const QRgb* __restrict rgb)
{
    for (int i = 0; i < n; ++i) {
        const uint32_t in = 0u - uint32_t(y - first[i] <= span[i]);
        row[i] = (rgb[i] & in) | (row[i] & ~in);
    }
}

} // namespace

bool TCanvas::Impl::DirectColumns(int left, int count, const int* tops, const int* bottoms, const TColor* colours)
{
    if (!Writable())
        return false;
    if (count == 1)   // one column (a held band's end written early): a rectangle one pixel wide
        return tops[0] > bottoms[0] ||
               DirectFill(QRect(left, tops[0], 1, bottoms[0] - tops[0] + 1), Col(colours[0]).rgb());
    // Each column as its first row and its length less one, unsigned, so that one
    // comparison tells whether a row lies in it (an empty column: a first row beyond
    // every row and a length of one).
    ColumnTop.resize(size_t(count));
    ColumnSpan.resize(size_t(count));
    ColumnRgb.resize(size_t(count));
    TColor last = clNone;
    QRgb lastRgb = 0;
    for (size_t k = 0; k < size_t(count); ++k) {
        if (k == 0 || colours[k] != last) {
            last = colours[k];
            lastRgb = Col(last).rgb();
            if (qAlpha(lastRgb) != 255)
                return false;
        }
        ColumnRgb[k] = lastRgb;
        const bool empty = tops[k] > bottoms[k];
        ColumnTop[k] = empty ? uint32_t(INT32_MAX) : uint32_t(tops[k]);
        ColumnSpan[k] = empty ? 0 : uint32_t(bottoms[k]) - uint32_t(tops[k]);
    }
    uchar* bits = Image->bits();
    const qsizetype stride = Image->bytesPerLine();
    // A row at a time, down the image, in stretches of a few columns.
    constexpr int chunk = 16;
    using Stretch = ColumnStretch;
    std::vector<Stretch>& stretches = ColumnStretches;
    ForClipRects([&](const QRect& clip) {
        const int from = std::max(left, clip.left()), to = std::min(left + count - 1, clip.right());
        stretches.clear();
        int top = INT_MAX, bottom = INT_MIN;
        for (int c0 = from; c0 <= to; c0 += chunk) {
            Stretch st{c0, std::min(to, c0 + chunk - 1) - c0 + 1, INT_MAX, INT_MIN, INT_MIN, INT_MAX};
            for (int x = c0; x < c0 + st.N; ++x) {
                const size_t k = size_t(x - left);
                if (tops[k] <= bottoms[k]) {
                    st.Top = std::min(st.Top, tops[k]), st.Bottom = std::max(st.Bottom, bottoms[k]);
                    st.FullTop = std::max(st.FullTop, tops[k]), st.FullBottom = std::min(st.FullBottom, bottoms[k]);
                } else {
                    st.FullTop = INT_MAX, st.FullBottom = INT_MIN;
                }
            }
            if (st.Top > st.Bottom)
                continue;
            top = std::min(top, st.Top), bottom = std::max(bottom, st.Bottom);
            stretches.push_back(st);
        }
        top = std::max(top, clip.top());
        bottom = std::min(bottom, clip.bottom());
        // The rows where what a stretch does changes: between two of them every row is
        // written alike, by runs of columns found once.
        std::vector<int>& events = ColumnEvents;
        events.clear();
        events.push_back(top), events.push_back(bottom + 1);
        for (const Stretch& st : stretches) {
            events.push_back(st.Top), events.push_back(st.Bottom + 1);
            if (st.FullTop <= st.FullBottom)
                events.push_back(st.FullTop), events.push_back(st.FullBottom + 1);
        }
        std::sort(events.begin(), events.end());
        events.erase(std::unique(events.begin(), events.end()), events.end());
        std::vector<ColumnRun>& runs = ColumnRuns;
        // From the bottom up: the rows written last before (a background filled downwards)
        // are the likeliest still in the processor's cache.
        for (size_t e = events.size() - 1; e-- > 0;) {
            const int y0 = std::max(events[e], top), y1 = std::min(events[e + 1] - 1, bottom);
            if (y0 > y1)
                continue;
            // A row that every column of a stretch holds is copied (stretches side by side
            // as one), one that some hold is written through a mask of them (no branch),
            // one that none holds is left.
            runs.clear();
            for (const Stretch& st : stretches) {
                if (y0 < st.Top || y0 > st.Bottom)
                    continue;
                const bool full = y0 >= st.FullTop && y0 <= st.FullBottom;
                if (full && !runs.empty() && !runs.back().Masked && runs.back().To == st.From)
                    runs.back().To += st.N;
                else
                    runs.push_back({st.From, st.From + st.N, !full});
            }
            for (int y = y1; y >= y0; --y) {
                QRgb* line = reinterpret_cast<QRgb*>(bits + stride * y);
                for (const ColumnRun& run : runs) {
                    const size_t k = size_t(run.From - left);
                    if (run.Masked)
                        MaskedColumnsRow(line + run.From, run.To - run.From, uint32_t(y), ColumnTop.data() + k,
                                         ColumnSpan.data() + k, ColumnRgb.data() + k);
                    else if (run.To - run.From > 8)
                        std::memcpy(line + run.From, ColumnRgb.data() + k, size_t(run.To - run.From) * sizeof(QRgb));
                    else   // a few pixels (a column or two) copied inline
                        for (int x = run.From; x < run.To; ++x)
                            line[x] = ColumnRgb[size_t(x - left)];
                }
            }
        }
    });
    return true;
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
    if (d->Snapped()) {
        // The four sides a one-pixel line wide, as a snapped rectangle's frame.
        const int k = d->LinePixels(1);
        const QRect bands = d->BoxBands(d->ToDevice(r.Left, r.Top), d->ToDevice(r.Right, r.Bottom), k);
        const int left = bands.x(), top = bands.y(), right = left + bands.width(), bottom = top + bands.height();
        p.resetTransform();
        const auto side = [&](int x, int y, int cx, int cy) {
            if (cx > 0 && cy > 0)
                p.fillRect(d->FromImage(QRect(x, y, cx, cy)), f.Brush);
        };
        side(left, top, right + k - left, k);
        if (bottom > top)
            side(left, bottom, right + k - left, k);
        side(left, top + k, k, bottom - top - k);
        if (right > left)
            side(right, top + k, k, bottom - top - k);
        p.setWorldTransform(d->Xf);
        return;
    }
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
