#include "TeEngine/Pointer.h"

#include "TeCanvas/Effects.h"
#include "TeEngine/Exceptions.h"
#include "TeEngine/Marks.h"
#include "TeeConst.h"

#include <algorithm>
#include <climits>
#include <cstdint>


// ---- published properties ----------------------------------------------------------

namespace {
const std::vector<std::string> PointerStyleNames = {
    "psRectangle", "psCircle", "psTriangle", "psDownTriangle", "psCross", "psDiagCross", "psStar", "psDiamond",
    "psSmallDot", "psNothing", "psLeftTriangle", "psRightTriangle"};
} // namespace

BEGIN_CLASS_INFO(TSeriesPointer, TTeeCustomShapeBrushPen)
    .Bool("Dark3D", &TSeriesPointer::Dark3D, &TSeriesPointer::SetDark3D).Default(true)
    .Bool("Draw3D", &TSeriesPointer::Draw3D, &TSeriesPointer::SetDraw3D).Default(true)
    .Object("Gradient", &TSeriesPointer::Gradient)
    // Each series type shows or hides its pointer and lets it widen the axes or not, so
    // both are always written.
    .Bool("Visible", &TTeeCustomShapeBrushPen::Visible, &TTeeCustomShapeBrushPen::SetVisible)
    .Int("HorizSize", &TSeriesPointer::HorizSize, &TSeriesPointer::SetHorizSize)
        .Within(-MaxStoredPixels, MaxStoredPixels).Default(4)
    .Bool("InflateMargins", &TSeriesPointer::InflateMargins, &TSeriesPointer::SetInflateMargins)
    .Object("Pen", &TTeeCustomShapeBrushPen::Pen)
    .Enum("Style", &TSeriesPointer::Style, &TSeriesPointer::SetStyle, PointerStyleNames).Default(psRectangle)
    .Int("Transparency", &TSeriesPointer::Transparency, &TSeriesPointer::SetTransparency).Default(0)
    .Int("VertSize", &TSeriesPointer::VertSize, &TSeriesPointer::SetVertSize)
        .Within(-MaxStoredPixels, MaxStoredPixels).Default(4)
END_CLASS_INFO

BEGIN_CLASS_INFO(TCallout, TSeriesPointer)
    .Object("Arrow", &TCallout::Arrow)
    .Enum("ArrowHead", &TCallout::ArrowHead, &TCallout::SetArrowHead, {"ahNone", "ahLine", "ahSolid"}).Default(ahNone)
    .Int("ArrowHeadSize", &TCallout::ArrowHeadSize, &TCallout::SetArrowHeadSize)
        .Within(-MaxStoredPixels, MaxStoredPixels).Default(8)
    .Int("Distance", &TCallout::Distance, &TCallout::SetDistance).Within(-MaxStoredPixels, MaxStoredPixels).Default(0)
    .Bool("Draw3D", &TSeriesPointer::Draw3D, &TSeriesPointer::SetDraw3D).Default(false)
END_CLASS_INFO

BEGIN_CLASS_INFO(TMarksCallout, TCallout)
    .Int("Length", &TMarksCallout::Length, &TMarksCallout::SetLength)
        .Within(-MaxStoredPixels, MaxStoredPixels).Stored(&TMarksCallout::IsLengthStored)
    .Bool("Visible", &TTeeCustomShapeBrushPen::Visible, &TTeeCustomShapeBrushPen::SetVisible).Default(false)
END_CLASS_INFO

bool TeeCalloutArrowContrast = false;

namespace {

// A pixel coordinate computed wide and brought back into int range, so that huge sizes
// or far-off points never overflow.
bool ValidStyle(TSeriesPointerStyle s)
{
    return int(s) >= 0 && int(s) < TeePointerStyleCount;
}

TRect UnionRect(const TRect& a, const TRect& b)
{
    return TRect(std::min(a.Left, b.Left), std::min(a.Top, b.Top), std::max(a.Right, b.Right),
                 std::max(a.Bottom, b.Bottom));
}

} // namespace

// ---- TSeriesPointer ---------------------------------------------------------------------

TSeriesPointer::TSeriesPointer(TChartSeries* ASeries) : FSeries(ASeries)
{
    FGradient = std::make_unique<TTeeGradient>(RepaintHandler());
    if (ASeries != nullptr && ASeries->ParentChart() != nullptr)
        SetParentChart(ASeries->ParentChart());
}

TSeriesPointer::~TSeriesPointer() = default;

void TSeriesPointer::SetDark3D(bool v)
{
    SetAndNotify(FDark3D, v, [this] { Repaint(); });
}

void TSeriesPointer::SetDraw3D(bool v)
{
    SetAndNotify(FDraw3D, v, [this] { Repaint(); });
}

void TSeriesPointer::SetGradient(TCustomTeeGradient* v)
{
    FGradient->Assign(v);
}

void TSeriesPointer::SetHorizSize(int v)
{
    if (v < 1)
        throw ChartException(TeeMsg_PointerSize);
    SetAndNotify(FHorizSize, v, [this] { Repaint(); });
}

void TSeriesPointer::SetVertSize(int v)
{
    if (v < 1)
        throw ChartException(TeeMsg_PointerSize);
    SetAndNotify(FVertSize, v, [this] { Repaint(); });
}

void TSeriesPointer::SetInflateMargins(bool v)
{
    SetAndNotify(FInflateMargins, v, [this] { Repaint(); });
}

void TSeriesPointer::SetStyle(TSeriesPointerStyle v)
{
    if (!ValidStyle(v))
        throw ERangeError();
    SetAndNotify(FStyle, v, [this] { Repaint(); });
}

void TSeriesPointer::SetTransparency(int v)
{
    if (v < 0 || v > 100)
        throw ERangeError();
    SetAndNotify(FTransparency, v, [this] { Repaint(); });
}

void TSeriesPointer::SetDepthExtent(int StartZ, int MiddleZ, int EndZ)
{
    FStartZ = StartZ;
    FMiddleZ = MiddleZ;
    FEndZ = EndZ;
}

void TSeriesPointer::InflateHorizMargins(int& A, int& B) const
{
    if (!Visible() || !FInflateMargins)
        return;
    const int m = ClampPixel(int64_t(FHorizSize) + 1);
    A = std::max(A, m);
    B = std::max(B, m);
}

void TSeriesPointer::InflateVertMargins(int& A, int& B) const
{
    if (!Visible() || !FInflateMargins)
        return;
    const int m = ClampPixel(int64_t(FVertSize) + 1);
    A = std::max(A, m);
    B = std::max(B, m);
}

void TSeriesPointer::PrepareCanvas(TTeeCanvas* Surface, TColor Color)
{
    if (Surface == nullptr || Surface->ReferenceCanvas() == nullptr)
        return;
    TChartPen* pen = Pen();
    if (!pen->Visible())
        Surface->Pen()->SetStyle(psClear);
    else
        Surface->AssignPen(pen, pen->Color() == clDefault ? Color : pen->Color());
    TColor fill = Brush()->Color();
    if (fill == clDefault)
        fill = Brush()->Style() == bsSolid ? Color : clBlack;
    AssignBrushToCanvas(Surface, Brush(), fill, Color);
}

bool TSeriesPointer::ChartOrthogonal() const
{
    const TCustomTeePanel* chart = ParentChart();
    return chart == nullptr || chart->View3DOptions() == nullptr || chart->View3DOptions()->Orthogonal();
}

void TSeriesPointer::Draw(int X, int Y, TColor Color, TSeriesPointerStyle AStyle)
{
    TCustomTeePanel* chart = ParentChart();
    if (chart == nullptr || !Visible())
        return;
    DrawPointer(chart->Canvas(), chart->View3D(), X, Y, FHorizSize, FVertSize, Color, AStyle);
}

void TSeriesPointer::DrawPointer(TCanvas3D* Surface, bool Is3D, int X, int Y, int H, int V, TColor Color,
                                 TSeriesPointerStyle AStyle)
{
    if (Surface == nullptr)
        return;
    H = std::max(H, 0);
    V = std::max(V, 0);
    // Sizes are kept so that every corner (and corner + 1) still fits in an int.
    H = std::min(H, INT_MAX / 8);
    V = std::min(V, INT_MAX / 8);
    std::unique_ptr<TTeeBlend> blend;
    if (FTransparency > 0) {
        // What lies under the symbol, so the finished symbol can be blended over it.
        const TRect r(ClampPixel(int64_t(X) - H), ClampPixel(int64_t(Y) - V), ClampPixel(int64_t(X) + H + 1),
                      ClampPixel(int64_t(Y) + V + 1));
        TRect bounds = ProjectedRectBounds(Surface, r, Is3D ? FStartZ : 0);
        if (Is3D && FDraw3D && AStyle == psRectangle && Brush()->Style() != bsClear)
            bounds = UnionRect(bounds, ProjectedRectBounds(Surface, r, FEndZ));
        blend = Surface->BeginTransparency(bounds, FTransparency);
    }
    DrawShape(Surface, Is3D, X, Y, H, V, Color, AStyle);
    if (FGradient->Visible())
        DrawGradient(Surface, Is3D, X, Y, H, V, AStyle);
    if (blend)
        Surface->EndTransparency(std::move(blend));
}

void TSeriesPointer::DrawShape(TCanvas3D* S, bool Is3D, int X, int Y, int H, int V, TColor Color,
                               TSeriesPointerStyle AStyle)
{
    const int left = ClampPixel(int64_t(X) - H), right = ClampPixel(int64_t(X) + H);
    const int top = ClampPixel(int64_t(Y) - V), bottom = ClampPixel(int64_t(Y) + V);
    const int z = FStartZ;
    auto polygon = [&](std::initializer_list<TPoint> points) {
        const std::vector<TPoint> p(points);
        if (Is3D)
            S->PolygonAtDepth(p.data(), int(p.size()) - 1, z);
        else
            S->Polygon(p.data(), int(p.size()) - 1);
    };
    auto cross = [&] {
        if (Is3D) {
            S->VerticalLineAtDepth(X, top, bottom + 1, z);
            S->HorizontalLineAtDepth(left, right + 1, Y, z);
        } else {
            S->VerticalLine(X, top, bottom + 1);
            S->HorizontalLine(left, right + 1, Y);
        }
    };
    auto diagCross = [&] {
        if (Is3D) {
            S->LineAtDepth(left, top, right + 1, bottom + 1, z);
            S->LineAtDepth(right, top, left - 1, bottom + 1, z);
        } else {
            S->Line(left, top, right + 1, bottom + 1);
            S->Line(right, top, left - 1, bottom + 1);
        }
    };
    switch (AStyle) {
    case psRectangle:
        if (!Is3D)
            S->Rectangle(left, top, right + 1, bottom + 1);
        else if (FDraw3D)
            S->BoxBetweenDepths(left, right, top, bottom, FStartZ, FEndZ, FDark3D);
        else
            S->RectangleAtDepth(TRect(left, top, right + 1, bottom + 1), z);
        break;
    case psCircle:
        // No surface of this system is true 3D, so there is no sphere: in 3D the circle
        // is the ellipse at the front depth.
        if (Is3D)
            S->EllipseAtDepth(left, top, right, bottom, z);
        else
            S->Ellipse(left, top, right + 1, bottom + 1);
        break;
    case psTriangle:
    case psDownTriangle: {
        const int base = AStyle == psTriangle ? bottom : top;
        const int apex = AStyle == psTriangle ? top : bottom;
        if (Is3D && FDraw3D)
            S->Pyramid(true, left, apex, right, base, FStartZ, FEndZ, FDark3D);
        else
            polygon({TPoint(left, base), TPoint(right, base), TPoint(X, apex)});
        break;
    }
    case psCross:
        cross();
        break;
    case psDiagCross:
        diagCross();
        break;
    case psStar:
        cross();
        diagCross();
        break;
    case psDiamond:
        polygon({TPoint(X, top), TPoint(right, Y), TPoint(X, bottom), TPoint(left, Y)});
        break;
    case psSmallDot:
        if (Is3D)
            S->SetPixelAtDepth(X, Y, FMiddleZ, Color);
        else
            S->SetPixel(X, Y, Color);
        break;
    case psLeftTriangle:
        polygon({TPoint(left, Y), TPoint(right, bottom), TPoint(right, top)});
        break;
    case psRightTriangle:
        polygon({TPoint(right, Y), TPoint(left, bottom), TPoint(left, top)});
        break;
    case psNothing:
    default:
        break;
    }
}

void TSeriesPointer::DrawGradient(TCanvas3D* S, bool Is3D, int X, int Y, int H, int V,
                                  TSeriesPointerStyle AStyle)
{
    const int left = ClampPixel(int64_t(X) - H), right = ClampPixel(int64_t(X) + H);
    const int top = ClampPixel(int64_t(Y) - V), bottom = ClampPixel(int64_t(Y) + V);
    const int z = Is3D ? FStartZ : 0;
    const TRect box(left, top, right + 1, bottom + 1);
    if (Is3D && !ChartOrthogonal()) {
        // A rotated view: only the square's front face takes the gradient, straight.
        if (AStyle == psRectangle)
            FGradient->DrawRect3D(S, box, z);
        return;
    }
    auto clipped = [&](const std::vector<TPoint>& outline) {
        std::vector<TPoint> p(outline);
        for (TPoint& q : p)
            q = S->Calc3DPoint(q.X, q.Y, z);
        S->ClipToPolygon(p.data(), int(p.size()));
        FGradient->Draw(S, PolygonBounds(p.data(), int(p.size())));
        S->RemoveClipping();
    };
    switch (AStyle) {
    case psRectangle:
        clipped({box.TopLeft(), TPoint(box.Right, box.Top), box.BottomRight(), TPoint(box.Left, box.Bottom)});
        break;
    case psCircle: {
        const TRect r = Is3D ? ProjectRect3D(S, box, z) : box;
        S->ClipToEllipse(r);
        FGradient->Draw(S, r);
        S->RemoveClipping();
        break;
    }
    case psTriangle:
    case psDownTriangle:
        if (Is3D && FDraw3D)
            break;   // the pyramid's faces keep their shading
        if (AStyle == psTriangle)
            clipped({TPoint(left, bottom), TPoint(right, bottom), TPoint(X, top)});
        else
            clipped({TPoint(left, top), TPoint(right, top), TPoint(X, bottom)});
        break;
    case psLeftTriangle:
        clipped({TPoint(left, Y), TPoint(right, bottom), TPoint(right, top)});
        break;
    case psRightTriangle:
        clipped({TPoint(right, Y), TPoint(left, bottom), TPoint(left, top)});
        break;
    case psDiamond: {
        TPoint p[4] = {TPoint(X, top), TPoint(right, Y), TPoint(X, bottom), TPoint(left, Y)};
        for (TPoint& q : p)
            q = S->Calc3DPoint(q.X, q.Y, z);
        FGradient->DrawPolygon(S, p, 4);
        break;
    }
    default:
        break;   // crosses, the dot and nothing take no gradient
    }
}

void TSeriesPointer::Assign(TPersistent* Source)
{
    auto* s = dynamic_cast<TSeriesPointer*>(Source);
    if (s != nullptr)
        AssignOwnProperties(this, s, TSeriesPointer::StaticClassInfo());
    TTeeCustomShapeBrushPen::Assign(Source);
}

// ---- TCallout ---------------------------------------------------------------------------

TCallout::TCallout(TChartSeries* ASeries) : TSeriesPointer(ASeries)
{
    FArrow = std::make_unique<TWhitePen>(RepaintHandler());
    SetInflateMargins(true);
    SetStyle(psRectangle);
    SetVisible(true);
    SetDraw3D(false);
    Brush()->SetColor(clBlack);
}

TCallout::~TCallout() = default;

void TCallout::SetArrow(TChartPen* v)
{
    FArrow->Assign(v);
}

void TCallout::SetArrowHead(TArrowHeadStyle v)
{
    if (int(v) < int(ahNone) || int(v) > int(ahSolid))
        throw ERangeError();
    SetAndNotify(FArrowHead, v, [this] { Repaint(); });
}

void TCallout::SetArrowHeadSize(int v)
{
    SetAndNotify(FArrowHeadSize, v, [this] { Repaint(); });
}

void TCallout::SetDistance(int v)
{
    SetAndNotify(FDistance, v, [this] { Repaint(); });
}

void TCallout::Draw(TColor Color, const TPoint& From, int Z, const TPoint& To)
{
    TCustomTeePanel* chart = ParentChart();
    if (chart == nullptr)
        return;
    DrawOn(chart->Canvas(), chart->View3D(), Color, From, Z, To);
}

void TCallout::DrawOn(TCanvas3D* Surface, bool Is3D, TColor Color, const TPoint& From, int Z, const TPoint& To)
{
    if (Surface == nullptr || Surface->ReferenceCanvas() == nullptr)
        return;
    if (FArrow->Visible()) {
        Surface->Brush()->SetStyle(bsClear);
        TColor penColor = FArrow->Color();
        if (TeeCalloutArrowContrast) {
            const TColor back = ParentChart() != nullptr ? ParentChart()->GetBackColor() : clWhite;
            if (penColor == Color || penColor == back)
                penColor = ColorToRGB(back) == clBlack ? clWhite : clBlack;
        }
        Surface->AssignPen(FArrow.get(), penColor);
        const int z = Is3D ? Z : 0;
        switch (FArrowHead) {
        case ahLine:
            Surface->Arrow(false, From, To, FArrowHeadSize, FArrowHeadSize, z, 0);
            break;
        case ahSolid:
            // The head is filled in the arrow's colour; the shaft stays one pen wide.
            Surface->Brush()->SetStyle(bsSolid);
            Surface->Brush()->SetColor(penColor);
            Surface->Arrow(true, From, To, FArrowHeadSize, FArrowHeadSize, z, 0);
            break;
        case ahNone:
        default:
            if (Is3D)
                Surface->LineAtDepth(From.X, From.Y, To.X, To.Y, z);
            else
                Surface->Line(From.X, From.Y, To.X, To.Y);
            break;
        }
    }
    if (FArrowHead == ahNone && Visible()) {
        const TPoint at = Is3D ? Surface->Calc3DPoint(From.X, From.Y, Z) : From;
        PrepareCanvas(Surface, Brush()->Color());
        DrawPointer(Surface, false, at.X, at.Y, HorizSize(), VertSize(), Brush()->Color(), Style());
    }
}

void TCallout::Assign(TPersistent* Source)
{
    if (auto* s = dynamic_cast<TCallout*>(Source))
        AssignOwnProperties(this, s, TCallout::StaticClassInfo());
    TSeriesPointer::Assign(Source);
}

// ---- TMarksCallout ------------------------------------------------------------------------

TMarksCallout::TMarksCallout(TChartSeries* ASeries) : TCallout(ASeries)
{
    SetVisible(false);
    Arrow()->SetColor(clWhite);
}

void TMarksCallout::SetLength(int v)
{
    SetAndNotify(FLength, v, [this] { Repaint(); });
}

void TMarksCallout::ShiftMarkPosition(TPoint& ArrowFrom, TPoint& ArrowTo, TPoint& LeftTop) const
{
    const int d = Distance();
    const int t = ClampPixel(int64_t(FLength) + d);
    LeftTop.Y = ClampPixel(int64_t(LeftTop.Y) - t);
    ArrowTo.Y = ClampPixel(int64_t(ArrowTo.Y) - t);
    ArrowFrom.Y = ClampPixel(int64_t(ArrowFrom.Y) - d);
}

void TMarksCallout::ShiftMarkPosition(TSeriesMarkPosition& Position) const
{
    ShiftMarkPosition(Position.ArrowFrom, Position.ArrowTo, Position.LeftTop);
}

void TMarksCallout::Assign(TPersistent* Source)
{
    if (auto* s = dynamic_cast<TMarksCallout*>(Source))
        AssignOwnProperties(this, s, TMarksCallout::StaticClassInfo());
    TCallout::Assign(Source);
}
