#include "graphics/Region.h"

#include "graphics/GdiConsts.h"
#include "graphics/QtBridge.h"

#include <QPainterPath>
#include <QPolygon>

TRegion::TRegion() : d(std::make_unique<Impl>()) {}
TRegion::TRegion(const TRegion& other) : d(std::make_unique<Impl>(*other.d)) {}
TRegion& TRegion::operator=(const TRegion& other)
{
    if (this != &other)
        *d = *other.d;
    return *this;
}
TRegion::TRegion(TRegion&& other) noexcept : d(std::make_unique<Impl>())
{
    std::swap(d->Region, other.d->Region);
}
TRegion& TRegion::operator=(TRegion&& other) noexcept
{
    std::swap(d->Region, other.d->Region);
    return *this;
}
TRegion::~TRegion() = default;

static QRect NormalRect(int left, int top, int right, int bottom)
{
    if (right < left)
        std::swap(left, right);
    if (bottom < top)
        std::swap(top, bottom);
    return QRect(left, top, right - left, bottom - top);
}

TRegion TRegion::CreateRect(int left, int top, int right, int bottom)
{
    TRegion r;
    r.d->Region = QRegion(NormalRect(left, top, right, bottom));
    return r;
}

TRegion TRegion::CreateRoundRect(int left, int top, int right, int bottom, int cornerWidth, int cornerHeight)
{
    TRegion r;
    const QRect q = NormalRect(left, top, right, bottom);
    if (q.isEmpty())
        return r;
    QPainterPath path;
    path.addRoundedRect(QRectF(q), std::abs(cornerWidth) * 0.5, std::abs(cornerHeight) * 0.5);
    r.d->Region = qtbridge::PathToRegion(path, Qt::WindingFill);
    return r;
}

TRegion TRegion::CreateEllipse(int left, int top, int right, int bottom)
{
    TRegion r;
    const QRect q = NormalRect(left, top, right, bottom);
    if (!q.isEmpty())
        r.d->Region = QRegion(q, QRegion::Ellipse);
    return r;
}

TRegion TRegion::CreatePolygon(const TPoint* points, int count, int fillMode)
{
    TRegion r;
    if (points == nullptr || count < 3)
        return r;
    QPolygon poly(count);
    for (int i = 0; i < count; ++i)
        poly.setPoint(i, points[i].X, points[i].Y);
    r.d->Region = QRegion(poly, fillMode == WINDING ? Qt::WindingFill : Qt::OddEvenFill);
    return r;
}

void TRegion::Combine(const TRegion& other, int mode)
{
    switch (mode) {
    case RGN_AND: d->Region = d->Region.intersected(other.d->Region); break;
    case RGN_OR: d->Region = d->Region.united(other.d->Region); break;
    case RGN_XOR: d->Region = d->Region.xored(other.d->Region); break;
    case RGN_DIFF: d->Region = d->Region.subtracted(other.d->Region); break;
    case RGN_COPY: d->Region = other.d->Region; break;
    default: break;
    }
}

void TRegion::Offset(int dx, int dy) { d->Region.translate(dx, dy); }
bool TRegion::IsEmpty() const { return d->Region.isEmpty(); }
bool TRegion::Contains(int x, int y) const { return d->Region.contains(QPoint(x, y)); }

TRect TRegion::Bounds() const
{
    if (d->Region.isEmpty())
        return TRect();
    const QRect b = d->Region.boundingRect();
    return TRect(b.left(), b.top(), b.left() + b.width(), b.top() + b.height());
}

std::vector<TRect> TRegion::Rects() const
{
    std::vector<TRect> out;
    for (const QRect& q : d->Region)
        out.emplace_back(q.left(), q.top(), q.left() + q.width(), q.top() + q.height());
    return out;
}

bool TRegion::operator==(const TRegion& other) const { return d->Region == other.d->Region; }
