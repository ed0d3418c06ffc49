// Drawing of the bar series: each value's bar in its shape, the gradient, bevel and tick
// lines over it, and the vertical and horizontal series' own geometry.
#include "Series/BarSeries.h"

#include "TeCanvas/Helpers.h"
#include "system/ScopeGuard.h"

#include <algorithm>
#include <cmath>

TBarStyle TCustomBarSeries::StyleOfValue(int ValueIndex)
{
    TBarStyle style = FBarStyle;
    if (OnGetBarStyle)
        OnGetBarStyle(this, ValueIndex, style);
    return style;
}

bool TCustomBarSeries::CanJoinColumns() const
{
    const TCustomAxisPanel* chart = ParentChart();
    if (chart == nullptr || chart->View3D() || FTransparency != 0 || OnGetBarStyle || FBarStyle != bsRectangle ||
        FTickLines->Visible())
        return false;
    if (FMultiBar != mbNone && FMultiBar != mbSide && FMultiBar != mbSideAll)
        return false;
    if (BarBrush()->Style() != bsSolid || BarBrush()->HasImage())
        return false;
    // A visible pen outlines each bar: only bars without an inside are all pen.
    return !BarPen()->Visible() || (BarPen()->Width() == 1 && BarPen()->Style() == psSolid && CalcBarWidth() <= 1);
}

void TCustomBarSeries::DrawVisiblePoints()
{
    if (!CanJoinColumns() || FirstValueIndex() < 0) {
        TChartSeries::DrawVisiblePoints();
        return;
    }
    TCustomAxisPanel* chart = ParentChart();
    TTeeCanvas3D* canvas = chart->Canvas();
    const TColor color = SeriesColor();
    const auto prepare = [&] {
        FBarColor = color;
        canvas->AssignPen(BarPen(), BarPen()->Color());
        if (!BarPen()->Visible())
            canvas->Pen()->SetStyle(psClear);
        const TColor back = BarBrush()->Color() == clDefault ? chart->Color() : BarBrush()->Color();
        AssignBrushToCanvas(canvas, BarBrush(), color, back);
    };
    prepare();
    // Every bar rises from the same origin, so the bars of one column join into the
    // span from the highest top to the lowest bottom.
    bool open = false;
    TRect joined;
    const auto flush = [&] {
        if (open)
            DrawPlainRectangle(joined);
        open = false;
    };
    const bool forward = PointOrderForward();
    const int first = FirstValueIndex(), last = LastValueIndex();
    for (int k = first; k <= last; ++k) {
        const int t = forward ? k : first + last - k;
        if (!BarVisible(t))
            continue;
        const TRect r = NormalizeRectCopy(BarRectangle(t));
        const bool flat = VerticalBars() ? r.Top == r.Bottom : r.Left == r.Right;
        if (flat || ValueColor(t) != color) {
            // A bar of its own colour, or a flat one (a line in the brush colour): on its
            // own, in its turn.
            flush();
            DrawValue(t);
            prepare();
            continue;
        }
        const bool sameColumn = VerticalBars() ? open && r.Left == joined.Left && r.Right == joined.Right
                                               : open && r.Top == joined.Top && r.Bottom == joined.Bottom;
        if (sameColumn) {
            joined.Top = std::min(joined.Top, r.Top);
            joined.Bottom = std::max(joined.Bottom, r.Bottom);
            joined.Left = std::min(joined.Left, r.Left);
            joined.Right = std::max(joined.Right, r.Right);
        } else {
            flush();
            joined = r;
            open = true;
        }
    }
    flush();
}

void TCustomBarSeries::DrawValue(int ValueIndex)
{
    TCustomAxisPanel* chart = ParentChart();
    if (chart == nullptr || !BarVisible(ValueIndex))
        return;
    TTeeCanvas3D* canvas = chart->Canvas();
    FBarColor = ValueColor(ValueIndex);
    FBarBounds = BarRectangle(ValueIndex);

    std::unique_ptr<TTeeBlend> blend;
    if (FTransparency > 0) {
        const TRect r = NormalizeRectCopy(FBarBounds);
        TRect area = r;
        if (chart->View3D()) {
            area = ProjectedRectBounds(canvas, r, StartZ());
            const TRect back = ProjectedRectBounds(canvas, r, EndZ());
            UnionRect(area, area, back);
        }
        blend = canvas->BeginTransparency(area, FTransparency);
    }

    canvas->AssignPen(BarPen(), BarPen()->Color());
    if (!BarPen()->Visible())
        canvas->Pen()->SetStyle(psClear);
    // A hatched brush paints its background in its own colour, or the chart's.
    const TColor back = BarBrush()->Color() == clDefault ? chart->Color() : BarBrush()->Color();
    AssignBrushToCanvas(canvas, BarBrush(), FBarColor, back);

    const TBarStyle style = StyleOfValue(ValueIndex);
    FCurrentIndex = ValueIndex;
    // The bar's two ends: vertical bars the upper pixel first, horizontal bars the right one.
    const TRect& b = FBarBounds;
    if (VerticalBars())
        DrawBarShape(style, std::min(b.Top, b.Bottom), std::max(b.Top, b.Bottom));
    else
        DrawBarShape(style, std::max(b.Left, b.Right), std::min(b.Left, b.Right));
    DrawBarExtras(style, ValueIndex);

    if (blend)
        canvas->EndTransparency(std::move(blend));
}

void TCustomBarSeries::DrawPlainRectangle(const TRect& R)
{
    TTeeCanvas3D* canvas = ParentChart()->Canvas();
    TPen* pen = canvas->Pen();
    const TBrush* brush = canvas->Brush();
    if (brush->Style() == bsSolid) {
        const int width = R.Right - R.Left;
        const int height = R.Bottom - R.Top;
        const int penWidth = pen->Style() == psClear ? 0 : pen->Width();
        const auto penInBrushColour = [&] {
            pen->SetColor(brush->Color());
            if (pen->Style() == psClear)
                pen->SetStyle(psSolid);
        };
        if (width == 0 || height == 0) {
            // Nothing to fill: the bar shows as a line in its colour.
            penInBrushColour();
            canvas->Line(R.Left, R.Top, R.Right, R.Bottom);
            return;
        }
        if (width < penWidth || height < penWidth) {
            penInBrushColour();
            const TBrushStyle old = brush->Style();
            canvas->Brush()->SetStyle(bsClear);
            canvas->Rectangle(R.Left, R.Top, R.Right, R.Bottom);
            canvas->Brush()->SetStyle(old);
            return;
        }
    }
    canvas->Rectangle(R.Left, R.Top, R.Right, R.Bottom);
}

TColor TCustomBarSeries::GradientEndColor(int ValueIndex, TColor BarColor) const
{
    if (!FGradient->Relative())
        return BarColor;
    const TChartValueList* list = MandatoryValueList();
    const double lo = FUseYOrigin ? FYOrigin : list->MinValue();
    const double hi = list->MaxValue();
    // One colour when the range is empty: nothing to grade.
    if (hi == lo)
        return BarColor;
    const double f = std::clamp((MandatoryValueAt(ValueIndex) - lo) / (hi - lo), 0.0, 1.0);
    const TColor a = ColorToRGB(FGradient->StartColor());
    const TColor b = ColorToRGB(BarColor);
    const auto mix = [f](int x, int y) { return TeeRound(x + (y - x) * f); };
    return RGB(mix(GetRValue(a), GetRValue(b)), mix(GetGValue(a), GetGValue(b)), mix(GetBValue(a), GetBValue(b)));
}

void TCustomBarSeries::DrawBarExtras(TBarStyle Style, int ValueIndex)
{
    TCustomAxisPanel* chart = ParentChart();
    TTeeCanvas3D* canvas = chart->Canvas();
    const bool view3D = chart->View3D();
    const bool orthogonal = !view3D || chart->View3DOptions()->Orthogonal();
    const TRect bar = NormalizeRectCopy(FBarBounds);
    const int penWidth = BarPen()->Visible() ? BarPen()->Width() : 0;
    const TRect inner(bar.Left + penWidth, bar.Top + penWidth, bar.Right - penWidth, bar.Bottom - penWidth);

    if (Style == bsRectGradient && FGradient->Visible() && inner.Right > inner.Left && inner.Bottom > inner.Top) {
        TTeeGradient gradient;
        gradient.Assign(FGradient.get());
        const TColor end = GradientEndColor(ValueIndex, FBarColor);
        gradient.SetEndColor(end);
        if (FGradient->Relative() && MandatoryValueList()->MaxValue() == (FUseYOrigin ? FYOrigin
                                                                                      : MandatoryValueList()->MinValue()))
            gradient.SetStartColor(end);
        if (!view3D)
            gradient.Draw(canvas, inner);
        else if (orthogonal)
            gradient.Draw(canvas, ProjectRect3D(canvas, inner, StartZ()));
        else {
            const std::array<TPoint, 4> face = ProjectRectCorners3D(canvas, inner, StartZ());
            gradient.DrawPolygon(canvas, face.data(), 4);
        }
    }

    if (Style == bsBevel && orthogonal && inner.Right > inner.Left && inner.Bottom > inner.Top) {
        TRect r = view3D ? ProjectRect3D(canvas, inner, StartZ()) : inner;
        canvas->BevelFrame(r, LightenColor(FBarColor, TeeLightenAmount), FBevelSize,
                           DarkenColor(FBarColor, TeeDarkenAmount));
    }

    if (!FTickLines->Visible())
        return;
    const bool across = Style == bsRectangle || Style == bsRectGradient || Style == bsBevel;
    if (!across && Style != bsArrow)
        return;
    const TChartAxis* axis = MandatoryAxis();
    if (axis == nullptr)
        return;
    canvas->AssignPen(FTickLines.get(), FTickLines->Color());
    const bool vertical = VerticalBars();
    const int lo = vertical ? bar.Top : bar.Left;
    const int hi = vertical ? bar.Bottom : bar.Right;
    const int from = vertical ? bar.Left : bar.Top;
    const int to = vertical ? bar.Right : bar.Bottom;
    const int quarter = (to - from) / 4;
    for (const int tick : axis->Tick) {
        if (tick <= lo || tick >= hi)
            continue;
        if (across) {
            if (vertical) {
                canvas->HorizontalLineAtDepth(from, to, tick, StartZ());
                if (view3D)
                    canvas->DepthLine(to, tick, StartZ(), EndZ());
            } else {
                canvas->VerticalLineAtDepth(tick, from, to, StartZ());
                if (view3D)
                    canvas->DepthLine(tick, from, StartZ(), EndZ());
            }
        } else if (vertical)
            canvas->HorizontalLineAtDepth(from + quarter, to - quarter, tick, MiddleZ());
        else
            canvas->VerticalLineAtDepth(tick, from + quarter, to - quarter, MiddleZ());
    }
}

// ---- the bar's figure -------------------------------------------------------------------------

void TCustomBarSeries::DrawBarFigure(bool Vertical, int StartPos, int EndPos)
{
    // StartPos is the bar's value end, EndPos its origin end, along the value axis; across
    // it the bar spans FBarBounds. Points and rectangles are given along, then across.
    TCustomAxisPanel* chart = ParentChart();
    TTeeCanvas3D* canvas = chart->Canvas();
    const bool view3D = chart->View3D();
    const int low = Vertical ? FBarBounds.Left : FBarBounds.Top;
    const int high = Vertical ? FBarBounds.Right : FBarBounds.Bottom;
    const int mid = (low + high) / 2;
    const int z0 = StartZ(), z1 = EndZ(), zm = MiddleZ();
    const auto at = [Vertical](int Along, int Across) {
        return Vertical ? TPoint(Across, Along) : TPoint(Along, Across);
    };
    const auto box = [&](int From, int To) {
        const TPoint a = at(From, low), b = at(To, high);
        return TRect(a.X, a.Y, b.X, b.Y);
    };
    // The bar's rectangle as the canvas' shapes take it (top-left corner first), and the
    // same with its value and origin ends swapped, for the inverted shapes.
    const TRect r = Vertical ? box(StartPos, EndPos) : box(EndPos, StartPos);
    const TRect inverted = Vertical ? box(EndPos, StartPos) : box(StartPos, EndPos);
    const auto triangle = [&](int Base, int Apex) {
        const TPoint pts[3] = {at(Base, low), at(Apex, mid), at(Base, high)};
        canvas->Polygon(pts, 2);
    };
    switch (FCurrentStyle) {
    case bsRectangle:
    case bsRectGradient:
    case bsBevel:
        if (view3D)
            canvas->BoxBetweenDepths(r.Left, r.Right, r.Top, r.Bottom, z0, z1, Dark3D());
        else
            DrawPlainRectangle(r);
        break;
    case bsPyramid:
        if (view3D)
            canvas->Pyramid(Vertical, r.Left, r.Top, r.Right, r.Bottom, z0, z1, Dark3D());
        else
            triangle(EndPos, StartPos);
        break;
    case bsInvPyramid:
        if (view3D)
            canvas->Pyramid(Vertical, inverted.Left, inverted.Top, inverted.Right, inverted.Bottom, z0, z1, Dark3D());
        else
            triangle(StartPos, EndPos);
        break;
    case bsCilinder:
        if (view3D)
            canvas->Cylinder(Vertical, r, z0, z1, Dark3D());
        else
            DrawPlainRectangle(r);
        break;
    case bsEllipse:
        if (view3D)
            canvas->EllipseAtDepth(r.Left, r.Top, r.Right, r.Bottom, zm);
        else
            canvas->Ellipse(r.Left, r.Top, r.Right, r.Bottom);
        break;
    case bsArrow:
    case bsInvArrow: {
        const int width = high - low;
        const TPoint origin = at(EndPos, mid), value = at(StartPos, mid);
        const bool toValue = FCurrentStyle == bsArrow;
        canvas->Arrow(true, toValue ? origin : value, toValue ? value : origin, width, width / 2, view3D ? zm : 0, 50);
        break;
    }
    case bsCone:
        if (view3D)
            canvas->Cone(Vertical, r, z0, z1, Dark3D(), FConePercent);
        else
            triangle(EndPos, StartPos);
        break;
    case bsInvCone:
        if (view3D)
            canvas->Cone(Vertical, inverted, z0, z1, Dark3D(), FConePercent);
        else
            triangle(StartPos, EndPos);
        break;
    case bsSlantCube:
        if (view3D) {
            auto sides = RestoreOnExit(TeeNumCylinderSides);
            TeeNumCylinderSides = 4;
            canvas->Cylinder(Vertical, r, z0, z1, Dark3D());
        } else {
            DrawPlainRectangle(r);
            // The middle line runs down a vertical bar and rightwards along a horizontal one.
            const TPoint from = at(Vertical ? StartPos : EndPos, mid), to = at(Vertical ? EndPos : StartPos, mid);
            canvas->Line(from.X, from.Y, to.X, to.Y);
        }
        break;
    case bsDiamond: {
        const int middle = (StartPos + EndPos) / 2;
        const TPoint pts[4] = {at(StartPos, mid), at(middle, high), at(EndPos, mid), at(middle, low)};
        if (view3D)
            canvas->PolygonAtDepth(pts, 3, zm);
        else
            canvas->Polygon(pts, 3);
        break;
    }
    }
}

// ---- vertical bars ---------------------------------------------------------------------------

TBarSeries::TBarSeries(TComponent* AOwner) : TCustomBarSeries(AOwner)
{
    Gradient()->SetDirection(gdTopBottom);
}

void TBarSeries::Assign(TPersistent* Source)
{
    if (auto* s = dynamic_cast<TBarSeries*>(Source))
        AssignOwnProperties(this, s, TBarSeries::StaticClassInfo());
    TCustomBarSeries::Assign(Source);
}

int TBarSeries::PointScreenX(int Index) const
{
    return BarPlacement(Index);
}

int TBarSeries::PointScreenY(int Index) const
{
    return ValueEndPixel(Index);
}

void TBarSeries::DrawBarShape(TBarStyle Style, int Start, int End)
{
    FCurrentStyle = Style;
    DrawBar(FCurrentIndex, Start, End);
}

void TBarSeries::DrawBar(int BarIndex, int StartPos, int EndPos)
{
    DrawBarFigure(true, StartPos, EndPos);
}

// ---- horizontal bars -------------------------------------------------------------------------

THorizBarSeries::THorizBarSeries(TComponent* AOwner) : TCustomBarSeries(AOwner)
{
    SetHorizontal();
    XValues()->SetOrder(loNone);
    YValues()->SetOrder(loAscending);
    XValues()->SetName("Bar");
    YValues()->SetName("Y");
    Gradient()->SetDirection(gdLeftRight);
}

void THorizBarSeries::Assign(TPersistent* Source)
{
    if (auto* s = dynamic_cast<THorizBarSeries*>(Source))
        AssignOwnProperties(this, s, THorizBarSeries::StaticClassInfo());
    TCustomBarSeries::Assign(Source);
}

int THorizBarSeries::PointScreenX(int Index) const
{
    return ValueEndPixel(Index);
}

int THorizBarSeries::PointScreenY(int Index) const
{
    return BarPlacement(Index);
}

void THorizBarSeries::DrawBarShape(TBarStyle Style, int Start, int End)
{
    FCurrentStyle = Style;
    DrawBar(FCurrentIndex, Start, End);
}

void THorizBarSeries::DrawBar(int BarIndex, int StartPos, int EndPos)
{
    DrawBarFigure(false, StartPos, EndPos);
}
