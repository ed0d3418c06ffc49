// The canvas's paths and clipping.
#include "graphics/Canvas.h"

#include "graphics/CanvasImpl.h"

std::optional<QRect> TCanvas::Impl::ClipPartWithin(const QRect& b) const
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

void TCanvas::Impl::ApplyClip()
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

void TCanvas::Impl::CombineClip(const QRegion& r, int mode)
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
        p.setFillRule(d->FillRule());
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
        p.setFillRule(d->FillRule());
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
    out.impl().Region = qtbridge::PathToRegion(p, d->FillRule());
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
