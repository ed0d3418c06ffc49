#include "graphics/LineSnap.h"

QPainterPath TLineSnap::SnapPath(const QPainterPath& path, const QTransform& xf, const TLineBand& s, bool inside) const
{
    QPainterPath out = path;
    for (int i = 0; i < out.elementCount(); ++i) {
        const QPainterPath::Element e = out.elementAt(i);
        const QPointF d = xf.map(QPointF(e.x, e.y));
        const QPointF q = inside && s.Hairline ? QPointF(BandStart(d.x(), 1, s.Width), BandStart(d.y(), 1, s.Width)) / Ratio
                                               : SnapPoint(d, s);
        out.setElementPositionAt(i, q.x(), q.y());
    }
    return out;
}

QRect TLineSnap::BoxBands(QPoint a, QPoint b, int pixels) const
{
    const int x0 = std::min(a.x(), b.x()), y0 = std::min(a.y(), b.y());
    const int x1 = std::max(a.x(), b.x()), y1 = std::max(a.y(), b.y());
    const int l = BandStart(x0, pixels), t = BandStart(y0, pixels);
    const int r = std::max({l, BandStart(x1 - 1, pixels), Px(x1) - pixels});
    const int btm = std::max({t, BandStart(y1 - 1, pixels), Px(y1) - pixels});
    return QRect(l, t, r - l, btm - t);
}
