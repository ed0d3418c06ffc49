#include "TeCanvas.h"

#include <algorithm>
#include <cmath>

int TeeNumCylinderSides = 16;
int TeeDefaultConePercent = 0;

namespace {
constexpr double kDegToRad = 0.017453292519943295;
constexpr double kPi = 3.14159265358979323846;
// Smallest perspective denominator: points behind the eye would otherwise flip.
constexpr double kMinPerspectiveDenominator = 0.05;
} // namespace

// ---- projection -------------------------------------------------------------------

void TCanvas3D::ComputeRotation()
{
    const double a = -FView3DOptions->Elevation() * kDegToRad;
    const double b = -FView3DOptions->Rotation() * kDegToRad;
    const double c = FView3DOptions->Tilt() * kDegToRad;
    FSinA = std::sin(a);
    FCosA = std::cos(a);
    FSinB = std::sin(b);
    FCosB = std::cos(b);
    FSinC = std::sin(c);
    FCosC = std::cos(c);
    FTilted = c != 0;
}

TRect TCanvas3D::SetupProjection(TCanvas* destination, TView3DOptions* options, const TRect& chartRect, bool is3D)
{
    FBounds = chartRect;
    FView3DOptions = options;
    if (options != nullptr)
        FFontZoom = options->FontZoom();
    // Without view options there is nothing to project with: 3D behaves as 2D.
    F3D = is3D && options != nullptr;
    FOrthogonal = false;
    FZoom = 1;
    FPerspective = false;
    FPerspectiveFactor = 0;
    if (F3D) {
        FOrthogonal = options->Orthogonal();
        if (FOrthogonal)
            OrthoSlope(options->OrthoAngle(), FOrthoRatio, FOrthoSign);
        FZoom = options->Zoom() * 0.01;
        FZoomText = options->ZoomText();
        if (!FOrthogonal)
            ComputeRotation();
    }
    return chartRect;
}

void TCanvas3D::SetupView(int depth, const TRect& chartRect)
{
    FXCenter = (chartRect.Left + chartRect.Right) / 2 + TeeRound(FRotCenterX);
    FYCenter = (chartRect.Top + chartRect.Bottom) / 2 + TeeRound(FRotCenterY);
    FZCenter = TeeRound(depth * 0.5 + FRotCenterZ);
    FXCenterOffset = FXCenter;
    FYCenterOffset = FYCenter;
    if (FView3DOptions != nullptr) {
        FXCenterOffset += FView3DOptions->HorizOffset();
        FYCenterOffset += FView3DOptions->VertOffset();
        FPerspective = F3D && !FOrthogonal && FView3DOptions->Perspective() > 0;
        FPerspectiveFactor = FPerspective ? FView3DOptions->Perspective() * FZoom * (1.0 / 150.0) /
                                                std::max(1, chartRect.Right - chartRect.Left)
                                          : 0;
    }
}

TPoint TCanvas3D::Calc3DFloatPoint(double x, double y, int z) const
{
    if (!F3D)
        return TPoint(TeeRound(x), TeeRound(y));
    if (FOrthogonal)
        return TPoint(TeeRound((z * FOrthoSign + (x - FXCenter)) * FZoom) + FXCenterOffset,
                      TeeRound(((y - FYCenter) - z * FOrthoRatio) * FZoom) + FYCenterOffset);
    const double dx = x - FXCenter, dy = y - FYCenter, dz = z - FZCenter;
    const double t = dz * FCosB - dx * FSinB;
    double f = FZoom;
    if (FPerspective) {
        const double den = (FCosA * t + dy * FSinA) * FPerspectiveFactor + 1;
        f = FZoom / std::max(den, kMinPerspectiveDenominator);
    }
    const double u = dx * FCosB + dz * FSinB;
    const double v = dy * FCosA - FSinA * t;
    if (!FTilted)
        return TPoint(TeeRound(u * f) + FXCenterOffset, TeeRound(v * f) + FYCenterOffset);
    return TPoint(TeeRound((FCosC * u - FSinC * v) * f) + FXCenterOffset,
                  TeeRound((FCosC * v + FSinC * u) * f) + FYCenterOffset);
}

TPoint TCanvas3D::Calc3DPoint(int x, int y, int z) const
{
    if (!F3D)
        return TPoint(x, y);
    return Calc3DFloatPoint(x, y, z);
}

void TCanvas3D::UnprojectPoint(int& x, int& y, int z) const
{
    if (!F3D || FZoom == 0)
        return;
    const double sx = x - FXCenterOffset, sy = y - FYCenterOffset;
    if (FOrthogonal) {
        x = TeeRound(sx / FZoom - z * FOrthoSign) + FXCenter;
        y = TeeRound(sy / FZoom + z * FOrthoRatio) + FYCenter;
        return;
    }
    // The rotated projection is linear in (dx, dy) for a given depth (with perspective,
    // after multiplying by its denominator): solve the 2 x 2 system.
    const double dz = z - FZCenter;
    // u, v and the perspective denominator as a*dx + b*dy + c.
    const double au = FCosB, bu = 0, cu = dz * FSinB;
    const double av = FSinA * FSinB, bv = FCosA, cv = -FSinA * FCosB * dz;
    const double pf = FPerspective ? FPerspectiveFactor : 0;
    const double aD = -pf * FCosA * FSinB, bD = pf * FSinA, cD = pf * FCosA * FCosB * dz + 1;
    // Screen x' = zoom * (cosC u - sinC v) / D and y' = zoom * (cosC v + sinC u) / D.
    const double axs = FCosC * au - FSinC * av, bxs = FCosC * bu - FSinC * bv, cxs = FCosC * cu - FSinC * cv;
    const double ays = FCosC * av + FSinC * au, bys = FCosC * bv + FSinC * bu, cys = FCosC * cv + FSinC * cu;
    const double a1 = FZoom * axs - sx * aD, b1 = FZoom * bxs - sx * bD, r1 = sx * cD - FZoom * cxs;
    const double a2 = FZoom * ays - sy * aD, b2 = FZoom * bys - sy * bD, r2 = sy * cD - FZoom * cys;
    const double det = a1 * b2 - a2 * b1;
    if (std::fabs(det) < 1e-9)
        return;   // the plane is seen edge-on: no single answer
    const double dx = (r1 * b2 - r2 * b1) / det;
    const double dy = (a1 * r2 - a2 * r1) / det;
    x = FXCenter + TeeRound(dx);
    y = FYCenter + TeeRound(dy);
}

void TCanvas3D::BeginNested()
{
    if (FNested == 0)
        Suspend3D();
    ++FNested;
}

void TCanvas3D::EndNested()
{
    if (FNested <= 0)
        return;
    --FNested;
    if (FNested == 0)
        Resume3D();
}

// ---- projection helpers ---------------------------------------------------------------

TPoint ProjectPoint3D(const TCanvas3D* surface, int x, int y, int z) { return surface->Calc3DPoint(x, y, z); }

TRect ProjectRect3D(const TCanvas3D* surface, const TRect& r, int z)
{
    return TRect(surface->Calc3DPoint(r.Left, r.Top, z), surface->Calc3DPoint(r.Right, r.Bottom, z));
}

std::array<TPoint, 4> ProjectRectCorners3D(const TCanvas3D* surface, const TRect& r, int z)
{
    return {surface->Calc3DPoint(r.Left, r.Top, z), surface->Calc3DPoint(r.Right, r.Top, z),
            surface->Calc3DPoint(r.Right, r.Bottom, z), surface->Calc3DPoint(r.Left, r.Bottom, z)};
}

TRect ProjectedRectBounds(const TCanvas3D* surface, const TRect& r, int z)
{
    const auto pts = ProjectRectCorners3D(surface, r, z);
    return PolygonBounds(pts.data(), 4);
}

TPoint ProjectFloatPoint(const TCanvas3D* surface, double x, double y, int z)
{
    return surface->Calc3DFloatPoint(x, y, z);
}

void CanvasLineOfPoints3D(TCanvas3D* surface, const TPoint& a, const TPoint& b, int z)
{
    surface->LineAtDepth(a.X, a.Y, b.X, b.Y, z);
}

void CanvasPlaneOfPoints(TCanvas3D* surface, const TPoint& p, const TPoint& q, int z0, int z1)
{
    surface->PlaneBetweenDepths(p, q, z0, z1);
}

void CanvasRectangleWithZ(TCanvas3D* surface, const TRect& r, int z) { surface->RectangleAtDepth(r, z); }

void CanvasCubeOfRect(TCanvas3D* surface, const TRect& r, int z0, int z1, bool darkSides)
{
    surface->BoxBetweenDepths(r.Left, r.Right, r.Top, r.Bottom, z0, z1, darkSides);
}

void CanvasArrowHalfBody(TCanvas3D* surface, bool filled, const TPoint& from, const TPoint& to, int headWidth,
                         int headHeight, int z)
{
    surface->Arrow(filled, from, to, headWidth, headHeight, z, 50);
}

std::vector<TPoint> ConvexHull(std::vector<TPoint> points)
{
    if (points.size() < 3)
        return {};
    if (points.size() == 3)
        return points;
    // Pivot: the smallest y, ties broken by the largest x.
    size_t pivotIndex = 0;
    for (size_t i = 1; i < points.size(); ++i)
        if (points[i].Y < points[pivotIndex].Y ||
            (points[i].Y == points[pivotIndex].Y && points[i].X > points[pivotIndex].X))
            pivotIndex = i;
    const TPoint pivot = points[pivotIndex];
    points.erase(points.begin() + long(pivotIndex));
    auto angle = [&pivot](const TPoint& p) { return std::atan2(double(pivot.Y - p.Y), double(pivot.X - p.X)); };
    std::stable_sort(points.begin(), points.end(), [&](const TPoint& a, const TPoint& b) {
        const double aa = angle(a), ab = angle(b);
        if (aa != ab)
            return aa < ab;
        const long long da = (long long)(a.X - pivot.X) * (a.X - pivot.X) + (long long)(a.Y - pivot.Y) * (a.Y - pivot.Y);
        const long long db = (long long)(b.X - pivot.X) * (b.X - pivot.X) + (long long)(b.Y - pivot.Y) * (b.Y - pivot.Y);
        return da < db;
    });
    std::vector<TPoint> hull{pivot};
    auto cross = [](const TPoint& o, const TPoint& a, const TPoint& b) {
        return (long long)(a.X - o.X) * (b.Y - o.Y) - (long long)(a.Y - o.Y) * (b.X - o.X);
    };
    for (const TPoint& p : points) {
        // Drop points that make a concave turn (or lie on a straight run).
        while (hull.size() >= 2 && cross(hull[hull.size() - 2], hull.back(), p) <= 0)
            hull.pop_back();
        if (hull.back() != p)
            hull.push_back(p);
    }
    return hull;
}

// ---- TTeeCanvas3D: 3D operations ------------------------------------------------------

TRect TTeeCanvas3D::SetupProjection(TCanvas* destination, TView3DOptions* options, const TRect& chartRect, bool is3D)
{
    TRect result = chartRect;
    if (FBuffered) {
        const int w = std::max(1, chartRect.Width()), h = std::max(1, chartRect.Height());
        if (!FBuffer)
            FBuffer = std::make_unique<TBitmap>();
        // The buffer has the destination's density, so that the chart is drawn at its
        // resolution and copied to it pixel for pixel.
        FBuffer->SetPixelRatio(destination != nullptr ? destination->PixelRatio() : 1.0);
        FBuffer->SetSize(w, h);
        // A destination that still shows the last picture through the buffer's own pixels
        // lets go of them, since the picture drawn now covers it all again: the buffer is
        // then drawn on where it is instead of being copied first.
        if (destination != nullptr)
            destination->UnshareImage(*FBuffer->Canvas(), chartRect);
        Attach(FBuffer->Canvas());
        result = TRect(0, 0, w, h);
    } else {
        Attach(destination);
    }
    TCanvas3D::SetupProjection(destination, options, result, is3D);
    return result;
}

void TTeeCanvas3D::Suspend3D()
{
    FSaved3D = F3D;
    F3D = false;
}

void TTeeCanvas3D::Resume3D() { F3D = FSaved3D; }

TColor TTeeCanvas3D::GetPixelAtDepth(int x, int y, int z)
{
    const TPoint p = Calc3DPoint(x, y, z);
    return GetPixel(p.X, p.Y);
}

void TTeeCanvas3D::SetPixelAtDepth(int x, int y, int z, TColor c)
{
    const TPoint p = Calc3DPoint(x, y, z);
    if (FCanvas && FCanvas->Pen()->Width() != 1) {
        FCanvas->Pen()->SetColor(c);
        FCanvas->MoveTo(p.X, p.Y);
        FCanvas->LineTo(p.X, p.Y);
    } else {
        SetPixel(p.X, p.Y, c);
    }
}

TColor TTeeCanvas3D::ReferenceColor() const
{
    if (FCanvas == nullptr)
        return clWhite;
    return FCanvas->Brush()->Style() == bsSolid ? FCanvas->Brush()->Color() : FCanvas->BkColor();
}

bool TTeeCanvas3D::BrushIsClear() const { return FCanvas == nullptr || FCanvas->Brush()->Style() == bsClear; }
bool TTeeCanvas3D::PenIsClear() const { return FCanvas == nullptr || FCanvas->Pen()->Style() == psClear; }

bool TTeeCanvas3D::StoreFace(const TPoint& a, int za, const TPoint& b, int zb, const TPoint& c, int zc,
                             const TPoint& d, int zd)
{
    FPoints = {Calc3DPoint(a.X, a.Y, za), Calc3DPoint(b.X, b.Y, zb), Calc3DPoint(c.X, c.Y, zc),
               Calc3DPoint(d.X, d.Y, zd)};
    // Positive turn on the screen (y down): the face looks at the viewer. The larger of
    // the two triangles decides, so a face with one collapsed edge still counts.
    auto cross = [](const TPoint& o, const TPoint& p, const TPoint& q) {
        return (long long)(p.X - o.X) * (q.Y - p.Y) - (long long)(p.Y - o.Y) * (q.X - p.X);
    };
    const long long c1 = cross(FPoints[0], FPoints[1], FPoints[2]);
    const long long c2 = cross(FPoints[2], FPoints[3], FPoints[0]);
    return c1 + c2 > 0;
}

void TTeeCanvas3D::PolygonOfStoredPoints()
{
    if (FCanvas)
        FCanvas->Polygon(FPoints.data(), 4);
}

void TTeeCanvas3D::HorizontalLineAtDepth(int left, int right, int y, int z)
{
    LineAtDepth(left, y, right, y, z);
}

void TTeeCanvas3D::VerticalLineAtDepth(int x, int top, int bottom, int z) { LineAtDepth(x, top, x, bottom, z); }

void TTeeCanvas3D::DepthLine(int x, int y, int z0, int z1)
{
    if (FCanvas == nullptr)
        return;
    const TPoint a = Calc3DPoint(x, y, z0), b = Calc3DPoint(x, y, z1);
    FCanvas->MoveTo(a.X, a.Y);
    FCanvas->LineTo(b.X, b.Y);
}

void TTeeCanvas3D::LineAtDepth(int x0, int y0, int x1, int y1, int z)
{
    if (FCanvas == nullptr)
        return;
    const TPoint a = Calc3DPoint(x0, y0, z), b = Calc3DPoint(x1, y1, z);
    FCanvas->MoveTo(a.X, a.Y);
    FCanvas->LineTo(b.X, b.Y);
}

void TTeeCanvas3D::MoveToAtDepth(int x, int y, int z)
{
    const TPoint p = Calc3DPoint(x, y, z);
    MoveTo(p.X, p.Y);
}

void TTeeCanvas3D::LineToAtDepth(int x, int y, int z)
{
    const TPoint p = Calc3DPoint(x, y, z);
    LineTo(p.X, p.Y);
}

void TTeeCanvas3D::PlaneBetweenDepths(const TPoint& p, const TPoint& q, int z0, int z1)
{
    StoreFace(p, z0, q, z0, q, z1, p, z1);
    PolygonOfStoredPoints();
}

void TTeeCanvas3D::PlaneOfFourPoints(const TPoint* points, int z)
{
    StoreFace(points[0], z, points[1], z, points[2], z, points[3], z);
    PolygonOfStoredPoints();
}

void TTeeCanvas3D::PlaneOfFourFloatPoints(const TFloatPoint* points, int z)
{
    for (int i = 0; i < 4; ++i)
        FPoints[i] = Calc3DFloatPoint(points[i].X, points[i].Y, z);
    PolygonOfStoredPoints();
}

void TTeeCanvas3D::PolygonAtDepth(const TPoint* points, int last, int z)
{
    if (points == nullptr || last < 0)
        return;
    std::vector<TPoint> p(size_t(last) + 1);
    for (int i = 0; i <= last; ++i)
        p[i] = Calc3DPoint(points[i].X, points[i].Y, z);
    Polygon(p.data(), last);
}

void TTeeCanvas3D::PolylineAtDepth(const TPoint* points, int last, int z)
{
    if (points == nullptr || last < 0)
        return;
    std::vector<TPoint> p(size_t(last) + 1);
    for (int i = 0; i <= last; ++i)
        p[i] = Calc3DPoint(points[i].X, points[i].Y, z);
    Polyline(p.data(), last);
}

void TTeeCanvas3D::RectangleAtDepth(const TRect& r, int z)
{
    if (!F3D) {
        Rectangle(r.Left, r.Top, r.Right, r.Bottom);
        return;
    }
    StoreFace(r.TopLeft(), z, TPoint(r.Right, r.Top), z, r.BottomRight(), z, TPoint(r.Left, r.Bottom), z);
    PolygonOfStoredPoints();
}

void TTeeCanvas3D::RectangleAtConstantY(int x0, int y, int x1, int z0, int z1)
{
    StoreFace(TPoint(x0, y), z0, TPoint(x1, y), z0, TPoint(x1, y), z1, TPoint(x0, y), z1);
    PolygonOfStoredPoints();
}

void TTeeCanvas3D::RectangleAtConstantX(int x, int y0, int y1, int z0, int z1)
{
    StoreFace(TPoint(x, y0), z0, TPoint(x, y0), z1, TPoint(x, y1), z1, TPoint(x, y1), z0);
    PolygonOfStoredPoints();
}

void TTeeCanvas3D::TriangleAtDepth(const TPoint& p0, const TPoint& p1, const TPoint& p2, int z)
{
    const TPoint p[3] = {Calc3DPoint(p0.X, p0.Y, z), Calc3DPoint(p1.X, p1.Y, z), Calc3DPoint(p2.X, p2.Y, z)};
    Polygon(p, 2);
}

void TTeeCanvas3D::SpatialTriangle(const TPoint& p0, int z0, const TPoint& p1, int z1, const TPoint& p2, int z2,
                                   TColor color)
{
    if (FCanvas && FCanvas->Brush()->Style() != bsClear)
        FCanvas->Brush()->SetColor(color);
    const TPoint p[3] = {Calc3DPoint(p0.X, p0.Y, z0), Calc3DPoint(p1.X, p1.Y, z1), Calc3DPoint(p2.X, p2.Y, z2)};
    Polygon(p, 2);
}

void TTeeCanvas3D::EllipseAtDepth(int x1, int y1, int x2, int y2, int z)
{
    if (FCanvas == nullptr)
        return;
    if (!F3D) {
        Ellipse(x1, y1, x2 + 1, y2 + 1);
        return;
    }
    if (FOrthogonal) {
        const TPoint a = Calc3DPoint(x1, y1, z), b = Calc3DPoint(x2, y2, z);
        Ellipse(a.X, a.Y, b.X, b.Y);
        return;
    }
    const double cx = (x1 + x2) / 2, cy = (y1 + y2) / 2;
    const double rx = (x2 - x1) / 2, ry = (y2 - y1) / 2;
    TPoint pts[65];
    for (int i = 0; i < 64; ++i) {
        const double a = i * 2 * kPi / 64;
        pts[i] = Calc3DFloatPoint(cx + rx * std::cos(a), cy + ry * std::sin(a), z);
    }
    pts[64] = pts[0];
    if (!BrushIsClear()) {
        // A fan of triangles from the centre, without outlines.
        const TPoint c = Calc3DFloatPoint(cx, cy, z);
        const TPenStyle style = FCanvas->Pen()->Style();
        FCanvas->Pen()->SetStyle(psClear);
        for (int i = 0; i < 64; ++i) {
            const TPoint tri[3] = {c, pts[i], pts[i + 1]};
            FCanvas->Polygon(tri, 3);
        }
        FCanvas->Pen()->SetStyle(style);
    }
    if (!PenIsClear())
        FCanvas->Polyline(pts, 65);
}

void TTeeCanvas3D::CircleAtDepth(int x, int y, double radius, int z)
{
    const int h = TeeRound(radius);
    EllipseAtDepth(x - h, y - h, x + h, y + h, z);
}

void TTeeCanvas3D::TextOutAtDepth(int x, int y, int z, const std::string& text)
{
    if (FCanvas == nullptr)
        return;
    const TPoint p = Calc3DPoint(x, y, z);
    TFont* font = FCanvas->Font();
    const int savedHeight = font->Height();
    bool changed = false;
    if (FZoomText && FZoom != 1) {
        const int size = std::max(1, TeeRound(font->Size() * FZoom));
        const int height = -MulDiv(size, font->PixelsPerInch(), 72);
        if (height != savedHeight) {
            font->SetHeight(height);
            changed = true;
        }
    }
    TextOut(p.X, p.Y, text);
    if (changed)
        font->SetHeight(savedHeight);
}

void TTeeCanvas3D::RotatedTextAtDepth(int x, int y, int z, double angle, const std::string& text)
{
    const TPoint p = Calc3DPoint(x, y, z);
    RotatedText(p.X, p.Y, angle, text);
}

void TTeeCanvas3D::ClipToBoxOutline(const TRect& r, int z0, int z1)
{
    if (!F3D) {
        ClipToRect(TRect(r.Left + 1, r.Top + 1, r.Right, r.Bottom - 1));
        return;
    }
    std::vector<TPoint> pts = {
        Calc3DPoint(r.Left, r.Bottom, z0), Calc3DPoint(r.Left, r.Bottom, z1), Calc3DPoint(r.Left, r.Top, z1),
        Calc3DPoint(r.Right, r.Top, z1),   Calc3DPoint(r.Right, r.Top, z0),   Calc3DPoint(r.Right, r.Bottom, z0),
        Calc3DPoint(r.Left, r.Top, z0),    Calc3DPoint(r.Right, r.Bottom, z1)};
    const std::vector<TPoint> hull = ConvexHull(pts);
    if (hull.size() >= 3)
        ClipToPolygon(hull.data(), int(hull.size()));
    else
        ClipToRect(ProjectedRectBounds(this, r, z0));
}

// ---- solids -------------------------------------------------------------------------

void TTeeCanvas3D::BoxBetweenDepths(int left, int right, int top, int bottom, int z0, int z1, bool darkSides)
{
    if (FCanvas == nullptr)
        return;
    if (!F3D) {
        Rectangle(left, top, right, bottom);
        return;
    }
    const bool clear = BrushIsClear();
    const TColor ref = ReferenceColor();
    const TColor brushColor = FCanvas->Brush()->Color();
    const TColor backColor = FCanvas->BkColor();
    auto shade = [&](int amount) {
        if (darkSides)
            ShadeBrushColor(this, ref, amount);
    };
    auto restore = [&] {
        if (darkSides) {
            if (FCanvas->Brush()->Style() == bsSolid) {
                if (FCanvas->Brush()->Color() != brushColor)
                    FCanvas->Brush()->SetColor(brushColor);
            } else {
                FCanvas->SetBkColor(backColor);
            }
        }
    };
    const TPoint lt(left, top), rt(right, top), rb(right, bottom), lb(left, bottom);
    // Front face, or the back one when the front looks away.
    if (StoreFace(lt, z0, rt, z0, rb, z0, lb, z0) || clear) {
        PolygonOfStoredPoints();
    } else {
        StoreFace(lt, z1, rt, z1, rb, z1, lb, z1);
        PolygonOfStoredPoints();
    }
    if (StoreFace(rt, z0, rt, z1, rb, z1, rb, z0) || clear) {   // right
        shade(128);
        PolygonOfStoredPoints();
    }
    if (StoreFace(lt, z0, lb, z0, lb, z1, lt, z1) || clear) {   // left
        shade(128);
        PolygonOfStoredPoints();
    }
    if (StoreFace(lt, z0, lt, z1, rt, z1, rt, z0) || clear) {   // top
        shade(64);
        PolygonOfStoredPoints();
    }
    if (StoreFace(lb, z0, rb, z0, rb, z1, lb, z1) || clear) {   // bottom
        shade(64);
        PolygonOfStoredPoints();
    }
    restore();
}

void TTeeCanvas3D::PrismBetweenDepths(const TRect& r, int z0, int z1, bool flag)
{
    if (FCanvas == nullptr)
        return;
    RectangleAtDepth(r, z1);
    if (!flag && z0 == z1) {
        RectangleAtConstantY(r.Left, r.Top, r.Right, z0, z1);
    } else {
        RectangleAtConstantX(r.Left, r.Top, r.Bottom, z0, z1);
        RectangleAtConstantX(r.Right, r.Top, r.Bottom, z0, z1);
        RectangleAtConstantY(r.Left, r.Top, r.Right, z0, z1);
        RectangleAtConstantY(r.Left, r.Bottom, r.Right, z0, z1);
    }
    RectangleAtDepth(r, z0);
}

void TTeeCanvas3D::Cylinder(bool vertical, const TRect& r, int z0, int z1, bool darkSides)
{
    CylinderOrCone(vertical, r, z0, z1, darkSides, 100);
}

void TTeeCanvas3D::Cone(bool vertical, const TRect& r, int z0, int z1, bool darkSides, int conePercent)
{
    CylinderOrCone(vertical, r, z0, z1, darkSides, conePercent == 0 ? TeeDefaultConePercent : conePercent);
}

void TTeeCanvas3D::CylinderOrCone(bool vertical, const TRect& rect, int z0, int z1, bool darkSides, int percent)
{
    if (FCanvas == nullptr)
        return;
    // A rectangle given upside down (bottom above top, or right left of left) narrows
    // the other end: an inverted cone.
    const bool inverted = vertical ? rect.Top > rect.Bottom : rect.Left > rect.Right;
    const TRect r = NormalizeRectCopy(rect);
    const int sides = std::max(3, TeeNumCylinderSides);
    const TColor ref = ReferenceColor();
    const TColor brushColor = FCanvas->Brush()->Color();
    const TColor backColor = FCanvas->BkColor();
    const bool solid = FCanvas->Brush()->Style() == bsSolid;
    const double cz = (z0 + z1) * 0.5, rz = (z1 - z0) * 0.5;
    const double scale = percent * 0.01;
    // The rim of each end: end 0 full size, end 1 narrowed to the cone percent.
    struct Rim {
        std::vector<TPoint> pts;   // chart x/y of each rim point
        std::vector<int> z;
    } rim[2];
    const double cAxis = vertical ? (r.Left + r.Right) * 0.5 : (r.Top + r.Bottom) * 0.5;
    const double radius = vertical ? (r.Right - r.Left) * 0.5 : (r.Bottom - r.Top) * 0.5;
    for (int e = 0; e < 2; ++e) {
        const double k = e == 0 ? 1.0 : scale;
        // Vertical: end 0 at the bottom, the narrowed end at the top; horizontal: end 0
        // at the left, the narrowed end at the right.
        const bool first = (e == 0) != inverted;
        const int along = vertical ? (first ? r.Bottom : r.Top) : (first ? r.Left : r.Right);
        for (int i = 0; i <= sides; ++i) {
            const double a = i * 2 * kPi / sides;
            const int off = TeeRound(cAxis + radius * k * std::sin(a));
            const int zz = TeeRound(cz - rz * k * std::cos(a));
            rim[e].pts.push_back(vertical ? TPoint(off, along) : TPoint(along, off));
            rim[e].z.push_back(zz);
        }
    }
    for (int i = 0; i < sides; ++i) {
        const TPoint& b0 = rim[0].pts[i];
        const TPoint& b1 = rim[0].pts[i + 1];
        const TPoint& t0 = rim[1].pts[i];
        const TPoint& t1 = rim[1].pts[i + 1];
        bool faces;
        if (inverted) {   // the ends exchanged: the same faces turn the other way
            if (vertical)
                faces = StoreFace(b0, rim[0].z[i], b1, rim[0].z[i + 1], t1, rim[1].z[i + 1], t0, rim[1].z[i]);
            else
                faces = StoreFace(t0, rim[1].z[i], b0, rim[0].z[i], b1, rim[0].z[i + 1], t1, rim[1].z[i + 1]);
        } else if (vertical)
            faces = StoreFace(t0, rim[1].z[i], t1, rim[1].z[i + 1], b1, rim[0].z[i + 1], b0, rim[0].z[i]);
        else
            faces = StoreFace(b0, rim[0].z[i], t0, rim[1].z[i], t1, rim[1].z[i + 1], b1, rim[0].z[i + 1]);
        if (!faces)   // hidden sides are skipped, with a clear brush too
            continue;
        if (darkSides)
            ShadeBrushColor(this, ref, (256 / (2 * sides)) * i);
        PolygonOfStoredPoints();
    }
    // Shading changed the brush colour, or the background of a hatched brush.
    if (darkSides && solid)
        FCanvas->Brush()->SetColor(brushColor);
    else if (darkSides)
        FCanvas->SetBkColor(backColor);
    // The end cap that looks at the viewer, drawn last.
    for (int e = 1; e >= 0; --e) {
        if (e == 1 && percent == 0)
            continue;
        std::vector<TPoint> cap(sides);
        for (int i = 0; i < sides; ++i) {
            const int j = e == 1 ? i : sides - i;   // reversed on the other end, so outward turns agree
            cap[i] = Calc3DPoint(rim[e].pts[j].X, rim[e].pts[j].Y, rim[e].z[j]);
        }
        long long area = 0;
        for (int i = 0; i < sides; ++i) {
            const TPoint& a = cap[i];
            const TPoint& b = cap[(i + 1) % sides];
            area += (long long)a.X * b.Y - (long long)b.X * a.Y;
        }
        const bool facing = (area < 0) != inverted;
        if (facing) {
            FCanvas->Polygon(cap.data(), sides);
            break;
        }
    }
}

void TTeeCanvas3D::Pyramid(bool vertical, int left, int top, int right, int bottom, int z0, int z1, bool darkSides)
{
    if (FCanvas == nullptr)
        return;
    const TColor ref = ReferenceColor();
    const TColor brushColor = FCanvas->Brush()->Color();
    const TColor backColor = FCanvas->BkColor();
    const bool solid = FCanvas->Brush()->Style() == bsSolid;
    const int cz = (z0 + z1) / 2;
    // Puts back what shading changed: the brush colour, or the background of a hatched brush.
    auto restore = [&] {
        if (darkSides && solid)
            FCanvas->Brush()->SetColor(brushColor);
        else if (darkSides)
            FCanvas->SetBkColor(backColor);
    };
    const bool inverted = vertical ? top > bottom : right < left;
    // The base first, a depth plane drawn only when it faces the viewer: its corners go
    // round as the cube's bottom (left) face does, the other way for an inverted pyramid.
    const bool baseFaces =
        vertical ? StoreFace(TPoint(left, bottom), z0, TPoint(right, bottom), z0, TPoint(right, bottom), z1,
                             TPoint(left, bottom), z1)
                 : StoreFace(TPoint(left, top), z0, TPoint(left, bottom), z0, TPoint(left, bottom), z1,
                             TPoint(left, top), z1);
    if (baseFaces != inverted) {
        if (darkSides)
            ShadeBrushColor(this, ref, vertical ? 64 : 128);
        PolygonOfStoredPoints();
        restore();
    }
    struct Face {
        TPoint a;
        int za;
        TPoint b;
        int zb;
        int shade;
    };
    std::vector<Face> faces;
    TPoint apex;
    if (vertical) {
        apex = TPoint((left + right) / 2, top);
        faces = {{TPoint(left, bottom), z0, TPoint(right, bottom), z0, 0},
                 {TPoint(right, bottom), z0, TPoint(right, bottom), z1, 128},
                 {TPoint(right, bottom), z1, TPoint(left, bottom), z1, 0},
                 {TPoint(left, bottom), z1, TPoint(left, bottom), z0, 128}};
    } else {
        apex = TPoint(right, (top + bottom) / 2);
        faces = {{TPoint(left, bottom), z0, TPoint(left, top), z0, 0},
                 {TPoint(left, top), z0, TPoint(left, top), z1, 64},
                 {TPoint(left, top), z1, TPoint(left, bottom), z1, 0},
                 {TPoint(left, bottom), z1, TPoint(left, bottom), z0, 64}};
    }
    const TPoint pa = Calc3DPoint(apex.X, apex.Y, cz);
    for (const Face& f : faces) {
        const TPoint p0 = Calc3DPoint(f.a.X, f.a.Y, f.za);
        const TPoint p2 = Calc3DPoint(f.b.X, f.b.Y, f.zb);
        const bool visible = TriangleOrientation(p0, pa, p2) != inverted;
        if (!visible)   // hidden faces are skipped, with a clear brush too
            continue;
        if (darkSides && f.shade != 0)
            ShadeBrushColor(this, ref, f.shade);
        else
            restore();
        const TPoint tri[3] = {p0, pa, p2};
        FCanvas->Polygon(tri, 3);
    }
    restore();
}

int SolidPieSlicePoints(double startAngle, double endAngle)
{
    return std::min(94, TeeRound(std::fabs(startAngle - endAngle) * 180 / kPi / 2)) + 2;
}

void TTeeCanvas3D::SolidPieSlice(int cx, int cy, int radiusX, int radiusY, double startAngle, double endAngle,
                                 int z0, int z1, int donutPercent, bool darkSides, bool drawStart, bool drawEnd)
{
    if (FCanvas == nullptr)
        return;
    const int count = SolidPieSlicePoints(startAngle, endAngle);
    const double step = (endAngle - startAngle) / (count - 1);
    const bool donut = donutPercent > 0;
    const double k = donut ? donutPercent * 0.01 : 0;
    std::vector<TPoint> outer(count), inner(count);
    for (int i = 0; i < count; ++i) {
        const double a = startAngle + i * step;
        outer[i] = TPoint(cx + TeeRound(std::cos(a) * radiusX), cy - TeeRound(std::sin(a) * radiusY));
        inner[i] = donut ? TPoint(cx + TeeRound(std::cos(a) * radiusX * k), cy - TeeRound(std::sin(a) * radiusY * k))
                         : TPoint(cx, cy);
    }
    const TColor ref = ReferenceColor();
    const TColor brushColor = FCanvas->Brush()->Color();
    const bool solid = FCanvas->Brush()->Style() == bsSolid;
    if (darkSides)
        ShadeBrushColor(this, ref, 32);
    if (F3D && z0 != z1) {
        // End faces, from the centre (or inner rim) to the outer rim.
        if (drawStart) {
            StoreFace(inner[0], z0, outer[0], z0, outer[0], z1, inner[0], z1);
            PolygonOfStoredPoints();
        }
        if (drawEnd) {
            StoreFace(outer[count - 1], z0, inner[count - 1], z0, inner[count - 1], z1, outer[count - 1], z1);
            PolygonOfStoredPoints();
        }
        // Outer rim strips that look at the viewer, then the inner rim of a donut.
        // The strips are filled without outlines (one line per strip would hatch the
        // rim); the rim's far edge is outlined afterwards.
        const TPenStyle penStyle = FCanvas->Pen()->Style();
        std::vector<int> visible;
        FCanvas->Pen()->SetStyle(psClear);
        for (int i = 0; i + 1 < count; ++i)
            if (StoreFace(outer[i], z0, outer[i + 1], z0, outer[i + 1], z1, outer[i], z1)) {
                PolygonOfStoredPoints();
                visible.push_back(i);
            }
        std::vector<int> visibleInner;
        if (donut)
            for (int i = 0; i + 1 < count; ++i)
                if (StoreFace(inner[i], z0, inner[i], z1, inner[i + 1], z1, inner[i + 1], z0)) {
                    PolygonOfStoredPoints();
                    visibleInner.push_back(i);
                }
        FCanvas->Pen()->SetStyle(penStyle);
        if (penStyle != psClear) {
            for (int i : visible)
                LineAtDepth(outer[i].X, outer[i].Y, outer[i + 1].X, outer[i + 1].Y, z1);
            for (int i : visibleInner)
                LineAtDepth(inner[i].X, inner[i].Y, inner[i + 1].X, inner[i + 1].Y, z1);
        }
    }
    if (darkSides && solid)
        FCanvas->Brush()->SetColor(brushColor);
    else if (darkSides)
        FCanvas->SetBkColor(ref);
    // The top face, in the brush colour.
    std::vector<TPoint> top;
    top.reserve(size_t(count) * 2 + 1);
    for (int i = 0; i < count; ++i)
        top.push_back(Calc3DPoint(outer[i].X, outer[i].Y, z0));
    if (donut)
        for (int i = count - 1; i >= 0; --i)
            top.push_back(Calc3DPoint(inner[i].X, inner[i].Y, z0));
    else
        top.push_back(Calc3DPoint(cx, cy, z0));
    FCanvas->Polygon(top.data(), int(top.size()));
}

void TTeeCanvas3D::Arrow(bool filled, const TPoint& from, const TPoint& to, int headWidth, int headHeight, int z,
                         double bodyPercent)
{
    if (FCanvas == nullptr)
        return;
    const double dx = to.X - from.X, dy = to.Y - from.Y;
    const double length = VectorLength(dx, dy);
    if (length == 0)
        return;
    const double head = std::min<double>(headHeight, length);
    const double ux = dx / length, uy = dy / length;   // along the arrow
    const double nx = -uy, ny = ux;                   // across it
    const double hw = headWidth * 0.5;
    const double bx = to.X - ux * head, by = to.Y - uy * head;   // base of the head
    auto at = [&](double x, double y) { return Calc3DFloatPoint(x, y, z); };
    if (!filled) {
        const TPoint a = at(from.X, from.Y), b = at(to.X, to.Y);
        const TPoint l = at(bx + nx * hw, by + ny * hw), r = at(bx - nx * hw, by - ny * hw);
        FCanvas->MoveTo(a.X, a.Y);
        FCanvas->LineTo(b.X, b.Y);
        FCanvas->MoveTo(b.X, b.Y);
        FCanvas->LineTo(l.X, l.Y);
        FCanvas->MoveTo(b.X, b.Y);
        FCanvas->LineTo(r.X, r.Y);
        return;
    }
    const double sw = hw * bodyPercent * 0.01;
    const TPoint pts[7] = {at(from.X + nx * sw, from.Y + ny * sw), at(bx + nx * sw, by + ny * sw),
                           at(bx + nx * hw, by + ny * hw),         at(to.X, to.Y),
                           at(bx - nx * hw, by - ny * hw),         at(bx - nx * sw, by - ny * sw),
                           at(from.X - nx * sw, from.Y - ny * sw)};
    FCanvas->Polygon(pts, 7);
}

void DrawGraphicAtDepth(TCanvas3D* surface, const TRect& r, TGraphic* graphic, int z)
{
    if (surface == nullptr || graphic == nullptr || graphic->Empty() || surface->ReferenceCanvas() == nullptr)
        return;
    // A copy in full colour; the stored graphic is not touched.
    TBitmap bmp;
    bmp.Assign(graphic);
    if (bmp.PixelFormat() == pf1bit)
        bmp.SetPixelFormat(pf24bit);
    const int cols = bmp.Width(), rows = bmp.Height();
    if (cols <= 0 || rows <= 0)
        return;
    TCanvas* c = surface->ReferenceCanvas();
    const TPenStyle savedStyle = c->Pen()->Style();
    const TColor savedColor = c->Brush()->Color();
    const TBrushStyle savedBrush = c->Brush()->Style();
    c->Pen()->SetStyle(psClear);
    c->Brush()->SetStyle(bsSolid);
    const int w = r.Width(), h = r.Height();
    auto corner = [&](int col, int row) {
        return surface->Calc3DPoint(r.Left + TeeRound(double(col) * w / cols), r.Top + TeeRound(double(row) * h / rows), z);
    };
    // A see-through pixel (less than half opaque) leaves what lies beneath; the others
    // are drawn in their own colour.
    const bool alpha = bmp.HasAlpha();
    auto unpremultiply = [](uint8_t v, uint8_t a) { return uint8_t(std::min(255, v * 255 / a)); };
    for (int row = 0; row < rows; ++row) {
        const TRGBQuad* line = bmp.ScanLine(row);
        for (int col = 0; col < cols; ++col) {
            const TRGBQuad& p = line[col];
            if (alpha && p.rgbReserved < 128)
                continue;
            if (alpha)
                c->Brush()->SetColor(RGB(unpremultiply(p.rgbRed, p.rgbReserved), unpremultiply(p.rgbGreen, p.rgbReserved),
                                         unpremultiply(p.rgbBlue, p.rgbReserved)));
            else
                c->Brush()->SetColor(RGB(p.rgbRed, p.rgbGreen, p.rgbBlue));
            const TPoint q[4] = {corner(col, row), corner(col + 1, row), corner(col + 1, row + 1), corner(col, row + 1)};
            c->Polygon(q, 4);
        }
    }
    c->Pen()->SetStyle(savedStyle);
    c->Brush()->SetColor(savedColor);
    c->Brush()->SetStyle(savedBrush);
}
