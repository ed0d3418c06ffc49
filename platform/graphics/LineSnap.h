// Lines on an image denser than the device: image pixels per device unit, and where the
// bands of whole image pixels that lines cover lie.
#pragma once

#include <QColor>
#include <QPainterPath>
#include <QPen>
#include <QPoint>
#include <QRect>
#include <QTransform>

#include <algorithm>
#include <cmath>
#include <cstdint>

// What the snapping asks of a pen: its width in device units and in image pixels, and
// whether it is one pixel, drawn by the one-pixel stroker on whole image pixels.
struct TLineBand {
    int Width = 1;
    int Pixels = 1;
    bool Hairline = false;
};

struct TLineSnap {
    // Image pixels per device unit: above 1 on a denser screen, where the painter scales
    // every operation and the image holds that many pixels per unit in each direction.
    double Ratio = 1;
    // Device units to image pixels: the same at a ratio of 1, else scaled, each edge
    // rounded, so that neighbouring rectangles stay neighbours.
    int Px(int64_t v) const { return int(std::lround(double(v) * Ratio)); }

    // At 1.25 or 1.5 image pixels per device unit, a line one unit wide drawn to scale
    // covers one or two image pixels depending on where it falls. There lines are snapped
    // instead: a pen w units wide is LinePixels(w) whole image pixels wide everywhere, on
    // a band centred where the pen's pixels are centred at a ratio of 1: the device
    // pixel's centre for an odd width, its left (top) edge for an even one; a tie goes
    // to the larger side, as a fill's edge rounds. Whole ratios draw to scale as before.
    bool Snapped() const { return Ratio != std::floor(Ratio); }
    int LinePixels(int w) const { return std::max(1, int(std::lround(w * Ratio))); }
    // The first image pixel of the band `pixels` wide that stands for device coordinate v
    // of a pen `units` wide.
    int BandStart(double v, int pixels, int units = 1) const
    {
        return int(std::floor((v + (units % 2 ? 0.5 : 0.0)) * Ratio - pixels * 0.5 + 0.5));
    }
    // Image pixels as the painter takes them (it scales by the ratio). Edges of filled
    // rectangles and wide strokes land on whole pixels and round back exactly; the
    // one-pixel stroker cuts its ends toward zero at 1/64 pixel, so a position for it is
    // nudged away from zero, lest the trip through the ratio land just short of it.
    QRectF FromImage(const QRect& r) const
    {
        return QRectF(r.x() / Ratio, r.y() / Ratio, r.width() / Ratio, r.height() / Ratio);
    }
    QPointF NudgedFromImage(QPointF q) const
    {
        constexpr double e = 1e-7;
        return QPointF((q.x() + (q.x() < 0 ? -e : e)) / Ratio, (q.y() + (q.y() < 0 ? -e : e)) / Ratio);
    }
    // A device point on the pen's band, as the painter takes it: the band's first pixel
    // for the one-pixel stroker, its middle for a pen stroked to its width.
    QPointF SnapPoint(QPointF q, const TLineBand& s) const
    {
        const int w = s.Pixels;
        const QPointF b(BandStart(q.x(), w, s.Width), BandStart(q.y(), w, s.Width));
        return s.Hairline ? NudgedFromImage(b) : (b + QPointF(w * 0.5, w * 0.5)) / Ratio;
    }
    // The pen of a snapped line `pixels` wide.
    QPen SnappedPen(const QColor& c, int pixels) const
    {
        return QPen(c, pixels == 1 ? 0 : pixels / Ratio, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin);
    }
    // A path (logical coordinates) with each point snapped onto the pen's band, for a
    // painter whose world transform is reset. To stroke it: as SnapPoint. To fill a figure
    // that the pen outlines (`inside`): for a one-pixel pen on the band's pixel's outer
    // edge, so that the inside meets the outline as it does at a ratio of 1, where it runs
    // from the left (top) outline's pixel up to the right (bottom) one's; for a wider band
    // through its middle, as the stroke, which then covers the inside's edge by half its
    // width on either side whichever way a side runs (from a band's corner a slanted or
    // curved side's inside would reach out beyond the stroke).
    // `xf` maps logical coordinates to device ones.
    QPainterPath SnapPath(const QPainterPath& path, const QTransform& xf, const TLineBand& s, bool inside = false) const;
    // The frame of a box (device corners a and b, right and bottom excluded) `pixels`
    // wide: the first pixels of its left (top) side and of its right (bottom) side as the
    // rectangle's left (top) and its width (height). The sides lie on the bands of lines
    // along the box's first and last columns (rows), except that a right (bottom) side
    // whose band leaves the last pixels of its column (row) goes on to them: the box then
    // covers its image pixels to their edge, so that whatever is drawn beside it (a
    // shadow) meets its frame without a gap, as at a ratio of 1.
    QRect BoxBands(QPoint a, QPoint b, int pixels) const;
};
