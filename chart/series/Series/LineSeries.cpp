#include "Series/LineSeries.h"

#include "Chart.h"
#include "RizUridu/Helpers.h"
#include "TeCanvas/Helpers.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <typeinfo>


// ---- published properties ----------------------------------------------------------

namespace {
const std::vector<std::string> StackNames = {"cssNone", "cssOverlap", "cssStack", "cssStack100"};
} // namespace

BEGIN_CLASS_INFO(TCustomLineSeries, TChartSeries)
    .Object("LinePen", &TCustomLineSeries::LinePen)
END_CLASS_INFO

BEGIN_CLASS_INFO(TCustomSeries, TCustomLineSeries)
    .Bool("ClickableLine", &TCustomSeries::ClickableLine, &TCustomSeries::SetClickableLine).Default(true)
    .Bool("ColorEachLine", &TCustomSeries::ColorEachLine, &TCustomSeries::SetColorEachLine).Default(true)
    .Bool("Dark3D", &TCustomSeries::Dark3D, &TCustomSeries::SetDark3D).Default(true)
    .Bool("InvertedStairs", &TCustomSeries::InvertedStairs, &TCustomSeries::SetInvertedStairs).Default(false)
    .Enum("LineBrush", &TCustomSeries::LineBrush, &TCustomSeries::SetLineBrush, {"bsSolid", "bsClear", "bsHorizontal", "bsVertical", "bsFDiagonal", "bsBDiagonal", "bsCross", "bsDiagCross"}).Default(bsSolid)
    .Int("LineHeight", &TCustomSeries::LineHeight, &TCustomSeries::SetLineHeight)
        .Within(-MaxStoredPixels, MaxStoredPixels).Default(0)
    .Object("OutLine", &TCustomSeries::OutLine)
    .Object("Pointer", &TCustomSeries::Pointer)
    .Object("Shadow", &TCustomSeries::Shadow)
    .Enum("Stacked", &TCustomSeries::Stacked, &TCustomSeries::SetStacked, StackNames).Default(cssNone)
    .Bool("Stairs", &TCustomSeries::Stairs, &TCustomSeries::SetStairs).Default(false)
END_CLASS_INFO

BEGIN_CLASS_INFO(TLineSeries, TCustomSeries)
    .ComponentFactory()
END_CLASS_INFO

BEGIN_CLASS_INFO(THorizLineSeries, TLineSeries)
    .ComponentFactory()
END_CLASS_INFO

BEGIN_CLASS_INFO(TPointSeries, TCustomSeries)
    .ComponentFactory()
    .Bool("ClickableLine", &TCustomSeries::ClickableLine, &TCustomSeries::SetClickableLine).Default(false)
    .Int("Transparency", &TCustomSeries::GetTransparency, &TCustomSeries::SetTransparency).Default(0)
    .Event("OnClickPointer")
END_CLASS_INFO

// ---- TCustomSeries: construction and properties --------------------------------------

TCustomSeries::TCustomSeries(TComponent* AOwner) : TCustomLineSeries(AOwner)
{
    FPointer = std::make_unique<TSeriesPointer>(this);
    FAreaLinesPen = MakeLinkedPen();
    FOutLine = std::make_unique<TChartHiddenPen>(RepaintHandler());
    FShadow = std::make_unique<TTeeShadow>(RepaintHandler());
    FAreaChartBrush = std::make_unique<TChartBrush>(RepaintHandler());
    FGradient = std::make_unique<TTeeGradient>(RepaintHandler());
    FCalcVisiblePoints = true;
}

TCustomSeries::~TCustomSeries() = default;

void TCustomSeries::SetTransparency(int Value)
{
    if (Value < 0 || Value > 100)
        throw ERangeError();
    SetAndRepaint(FTransparency, Value);
}

void TCustomSeries::SetStacked(TCustomSeriesStack V)
{
    SetAndNotify(FStacked, V, [this, V] {
        // A stack is set as a whole: every series of the chart of which this one is an
        // instance takes the same value.
        if (FParentChart != nullptr) {
            for (int t = 0; t < FParentChart->SeriesCount(); ++t) {
                auto* s = dynamic_cast<TCustomSeries*>(FParentChart->Series(t));
                if (s != nullptr && s != this && s->IsClassOf(this))
                    s->FStacked = V;
            }
        }
        Repaint();
    });
}

int TCustomSeries::GetMarksOffset() const
{
    return Marks()->Callout()->Length() + Marks()->Callout()->Distance();
}

// By field: Stacked's setter makes the chart's other series follow, which a copy must
// not; the area settings are published by the area series, not by this class.
void TCustomSeries::Assign(TPersistent* Source)
{
    if (auto* s = dynamic_cast<TCustomSeries*>(Source)) {
        FAreaChartBrush->Assign(s->FAreaChartBrush.get());
        FAreaColor = s->FAreaColor;
        FAreaLinesPen->Assign(s->FAreaLinesPen.get());
        FClickableLine = s->FClickableLine;
        FColorEachLine = s->FColorEachLine;
        FDark3D = s->FDark3D;
        FDrawArea = s->FDrawArea;
        FDrawLine = s->FDrawLine;
        FInvertedStairs = s->FInvertedStairs;
        FLineHeight = s->FLineHeight;
        FOutLine->Assign(s->FOutLine.get());
        FPointer->Assign(s->FPointer.get());
        FShadow->Assign(s->FShadow.get());
        FStacked = s->FStacked;
        FStairs = s->FStairs;
        FTransparency = s->FTransparency;
        FGradient->Assign(s->FGradient.get());
    }
    TCustomLineSeries::Assign(Source);
}

// ---- stacking -------------------------------------------------------------------------

double TCustomSeries::PointSum(int Index, bool IncludeSelf, bool AllSeries) const
{
    double sum = 0;
    if (FParentChart == nullptr)
        return sum;
    const bool positive = MandatoryValueAt(Index) >= 0;
    for (int t = 0; t < FParentChart->SeriesCount(); ++t) {
        const TChartSeries* s = FParentChart->Series(t);
        if (s == this && !IncludeSelf && !AllSeries)
            break;
        if (s->Active() && SameClass(s) && s->Count() > Index) {
            const double v = s->MandatoryValueAt(Index);
            if ((v >= 0) == positive)
                sum += v;
        }
        if (s == this && !AllSeries)
            break;
    }
    return sum;
}

int TCustomSeries::StackedPosition(int Index, double Total) const
{
    TChartAxis* axis = MandatoryAxis();
    if (axis == nullptr)
        return 0;
    if (FStacked == cssStack100) {
        const double all = PointSum(Index, true, true);
        return all == 0 ? axis->Map().EndPos : ValueToScreenPos(Total * 100.0 / all);
    }
    return std::min(ValueToScreenPos(Total), axis->Map().EndPos);
}

int TCustomSeries::PointScreenX(int Index) const
{
    if (!YMandatory() && IsStacked())
        return StackedPosition(Index, PointSum(Index, false) + MandatoryValueAt(Index));
    return TCustomLineSeries::PointScreenX(Index);
}

int TCustomSeries::PointScreenY(int Index) const
{
    if (YMandatory() && IsStacked())
        return StackedPosition(Index, PointSum(Index, false) + MandatoryValueAt(Index));
    return TCustomLineSeries::PointScreenY(Index);
}

int TCustomSeries::PointOriginValue(int ValueIndex) const
{
    if (IsStacked())
        return StackedPosition(ValueIndex, PointSum(ValueIndex, false));
    if (YMandatory()) {
        const TChartAxis* v = GetVertAxis();
        return v == nullptr ? 0 : (v->Inverted() ? v->Map().StartPos : v->Map().EndPos);
    }
    const TChartAxis* h = GetHorizAxis();
    return h == nullptr ? 0 : (h->Inverted() ? h->Map().EndPos : h->Map().StartPos);
}

void TCustomSeries::StackExtremes(bool IsMax, double& Value) const
{
    if (FStacked == cssStack100) {
        Value = IsMax ? 100 : 0;
        return;
    }
    if (FStacked != cssStack)
        return;
    for (int t = 0; t < Count(); ++t) {
        const double total = PointSum(t, false) + MandatoryValueAt(t);
        Value = IsMax ? std::max(Value, total) : std::min(Value, total);
    }
}

double TCustomSeries::GreatestY() const
{
    double v = TCustomLineSeries::GreatestY();
    if (YMandatory())
        StackExtremes(true, v);
    return v;
}

double TCustomSeries::LeastY() const
{
    double v = TCustomLineSeries::LeastY();
    if (YMandatory())
        StackExtremes(false, v);
    return v;
}

double TCustomSeries::GreatestX() const
{
    double v = TCustomLineSeries::GreatestX();
    if (!YMandatory())
        StackExtremes(true, v);
    return v;
}

double TCustomSeries::LeastX() const
{
    double v = TCustomLineSeries::LeastX();
    if (!YMandatory())
        StackExtremes(false, v);
    return v;
}

void TCustomSeries::ComputeZOrder()
{
    // A stacked series shares the Z position of the related series before it.
    if (ParentChart() != nullptr && IsStacked() && ParentChart()->View3D()) {
        for (int t = 0; t < ParentChart()->SeriesCount(); ++t) {
            const TChartSeries* s = ParentChart()->Series(t);
            if (s == this)
                break;
            if (s->Active() && SameClass(s)) {
                SetComputedZOrder(std::max(0, ParentChart()->MaxZOrder));
                return;
            }
        }
    }
    TCustomLineSeries::ComputeZOrder();
}

void TCustomSeries::ComputeDepthExtent()
{
    TCustomLineSeries::ComputeDepthExtent();
    // The marks stand at the series' front.
    Marks()->SetZPosition(StartZ());
}

// ---- margins ----------------------------------------------------------------------------

void TCustomSeries::AxisMarginsA(int& Left, int& Right)
{
    TCustomLineSeries::AxisMarginsA(Left, Right);
    FPointer->InflateHorizMargins(Left, Right);
    if (FDrawLine) {
        if (FStairs) {
            Left = std::max(Left, LinePen()->Width());
            Right = std::max(Right, LinePen()->Width());
        }
        if (FOutLine->Visible()) {
            Left = std::max(Left, FOutLine->Width());
            Right = std::max(Right, FOutLine->Width());
        }
    }
    if (Marks()->Visible()) {
        int along = 0, across = 0;
        MarksRoom(along, across);
        if (!YMandatory()) {
            int& side = MarksStandLeft() ? Left : Right;
            side = std::max(side, along);
        } else {
            Left = std::max(Left, across);
            Right = std::max(Right, across);
        }
    }
}

void TCustomSeries::AxisMarginsB(int& Top, int& Bottom)
{
    TCustomLineSeries::AxisMarginsB(Top, Bottom);
    FPointer->InflateVertMargins(Top, Bottom);
    if (FDrawLine) {
        if (FStairs) {
            Top = std::max(Top, LinePen()->Width());
            Bottom = std::max(Bottom, LinePen()->Width());
        }
        if (FOutLine->Visible()) {
            Top = std::max(Top, FOutLine->Width());
            Bottom = std::max(Bottom, FOutLine->Width());
        }
    }
    if (Marks()->Visible()) {
        int along = 0, across = 0;
        MarksRoom(along, across);
        if (YMandatory())
            Top = std::max(Top, along);
        else {
            Top = std::max(Top, across);
            Bottom = std::max(Bottom, across);
        }
    }
    if (ParentChart() != nullptr && ParentChart()->View3D() && FLineHeight > 0 && !FDrawArea)
        Bottom = std::max(Bottom, FLineHeight);
}

void TCustomSeries::MarksRoom(int& Along, int& Across)
{
    const TSize box = Marks()->LargestMarkSize(0, Count() - 1);
    if (!YMandatory()) {
        Along = GetMarksOffset() + box.cx;
        Across = (box.cy + 1) / 2;
        return;
    }
    // A vertical series' mark is lifted by the pointer and the callout, then stands on top.
    const int lift = FPointer->Visible() ? FPointer->VertSize() : 0;
    Along = lift + GetMarksOffset() + box.cy;
    Across = (box.cx + 1) / 2;
}

// ---- hit test ---------------------------------------------------------------------------

bool TCustomSeries::HitsPointer(int ValueIndex, int X, int Y, int PX, int PY)
{
    BeforeDrawPointer(ValueIndex);
    const TSeriesPointerStyle style = OnGetPointerStyle ? OnGetPointerStyle(this, ValueIndex) : FPointer->Style();
    if (style == psNothing)
        return false;
    return std::abs(X - PX) < FPointer->HorizSize() && std::abs(Y - PY) < FPointer->VertSize();
}

int TCustomSeries::Clicked(int X, int Y)
{
    TCustomAxisPanel* chart = ParentChart();
    if (chart != nullptr && chart->View3D())
        chart->Canvas()->UnprojectPoint(X, Y, StartZ());
    const int found = TCustomLineSeries::Clicked(X, Y);
    if (found != -1 || FirstValueIndex() < 0 || LastValueIndex() < 0)
        return found;
    const TPoint p(X, Y);
    const int from = std::max(0, FirstValueIndex() - (FClickableLine ? 1 : 0));
    TPoint prev;
    int prevOrigin = 0;
    for (int t = from; t <= LastValueIndex() && t < Count(); ++t) {
        const TPoint at(PointScreenX(t), PointScreenY(t));
        if (FPointer->Visible() && HitsPointer(t, X, Y, at.X, at.Y)) {
            if (OnClickPointer)
                OnClickPointer(this, t, X, Y);
            return t;
        }
        if (at.X == X && at.Y == Y)
            return t;
        const int origin = FDrawArea ? PointOriginValue(t) : 0;
        if (FClickableLine && t > from) {
            bool hit = false;
            if (chart != nullptr && chart->View3D()) {
                const int dx = chart->SeriesWidth3D;
                const int dy = chart->SeriesHeight3D;
                const TPoint quad[4] = {prev, at, TPoint(at.X + dx, at.Y - dy), TPoint(prev.X + dx, prev.Y - dy)};
                hit = PointInPolygon(p, quad, 3);
            } else if (FStairs) {
                const TPoint corner = FInvertedStairs ? TPoint(prev.X, at.Y) : TPoint(at.X, prev.Y);
                hit = PointNearLineOfPoints(p, prev, corner) || PointNearLineOfPoints(p, corner, at);
            } else
                hit = PointNearLineOfPoints(p, prev, at);
            if (!hit && FDrawArea) {
                const bool vertical = YMandatory();
                const TPoint quad[4] = {prev, at, vertical ? TPoint(at.X, origin) : TPoint(origin, at.Y),
                                        vertical ? TPoint(prev.X, prevOrigin) : TPoint(prevOrigin, prev.Y)};
                hit = PointInPolygon(p, quad, 3);
            }
            if (hit)
                return t - 1;
        }
        prev = at;
        prevOrigin = origin;
    }
    return -1;
}

void TCustomSeries::DrawMark(int ValueIndex, const std::string& Text, TSeriesMarkPosition& Position)
{
    if (YMandatory()) {
        if (FPointer->Visible()) {
            const int lift = FPointer->VertSize();
            Position.LeftTop.Y -= lift;
            Position.ArrowFrom.Y -= lift;
            Position.ArrowTo.Y -= lift;
        }
        // Then up by the callout; the margin MarksRoom reserves keeps the box inside.
        Marks()->Callout()->ShiftMarkPosition(Position);
    }
    TCustomLineSeries::DrawMark(ValueIndex, Text, Position);
}

void TCustomSeries::PlaceMarkBeside(int ValueIndex, TSeriesMarkPosition& Position, bool Mirror) const
{
    const int offset = TCustomSeries::GetMarksOffset();
    const TPoint p(PointScreenX(ValueIndex), PointScreenY(ValueIndex));
    const bool left = Mirror && p.X < PointOriginValue(ValueIndex);
    Position.ArrowFrom = p;
    Position.ArrowTo = TPoint(left ? p.X - offset : p.X + offset, p.Y);
    Position.LeftTop = TPoint(left ? p.X - offset - Position.Width : p.X + offset, p.Y - Position.Height / 2);
}

// ---- legend symbol ----------------------------------------------------------------------

void TCustomSeries::PrepareSymbolCanvas()
{
    // The symbol's brush and pen are chosen by DrawSymbolShape.
}

void TCustomSeries::DrawSymbolShape(int ValueIndex, const TRect& R)
{
    TCustomAxisPanel* chart = ParentChart();
    if (chart == nullptr)
        return;
    TTeeCanvas3D* canvas = chart->Canvas();
    const TColor color = ValueIndex == -1 ? SeriesColor() : ColorOfLegendItem(ValueIndex);
    // Symbols that touch (a continuous legend) are drawn filled, so they join up.
    const auto* owner = dynamic_cast<const TCustomChart*>(chart);
    const bool filled = owner != nullptr && owner->Legend()->Symbol()->Continuous();
    const auto lineSample = [&] {
        if (filled) {
            canvas->Brush()->SetStyle(bsSolid);
            canvas->Brush()->SetColor(canvas->GetMonochrome() ? clWhite : color);
            canvas->AssignPen(LinePen(), chart->View3D() ? LinePen()->Color() : color);
            CanvasRectangleOfRect(canvas, R);
            return;
        }
        if (chart->View3D()) {
            // In 3D the line is a ribbon filled in its colour and outlined by LinePen; its
            // sample is the rectangle drawn the same way, so that lines tell apart by colour.
            AssignBrushToCanvas(canvas, Brush(), canvas->GetMonochrome() ? clWhite : color, color);
            canvas->AssignPen(LinePen(), LinePen()->Color());
            CanvasRectangleOfRect(canvas, R);
            return;
        }
        canvas->Brush()->SetStyle(bsClear);
        canvas->AssignPen(LinePen(), color);
        const int middle = (R.Top + R.Bottom) / 2;
        canvas->Line(R.Left, middle, R.Right, middle);
    };
    if (!FPointer->Visible()) {
        if (FDrawLine && !FDrawArea)
            lineSample();
        else
            TCustomLineSeries::DrawSymbolShape(ValueIndex, R);
        return;
    }
    if (FDrawLine)
        lineSample();
    const int div = LinePen()->Visible() ? 3 : 2;
    const int h = std::min(FPointer->HorizSize(), (R.Right - R.Left) / div + (div == 2 ? 1 : 0));
    const int v = std::min(FPointer->VertSize(), (R.Bottom - R.Top) / div + (div == 2 ? 1 : 0));
    FPointer->PrepareCanvas(canvas, color);
    FPointer->DrawPointer(canvas, false, (R.Left + R.Right) / 2, (R.Top + R.Bottom) / 2, h, v, color,
                          FPointer->Style());
}

// ---- line series ------------------------------------------------------------------------

TLineSeries::TLineSeries(TComponent* AOwner) : TCustomSeries(AOwner)
{
    FDrawLine = true;
    Pointer()->Hide();
    FDrawBetweenPoints = true;
    FFunctionOnePoint = false;   // a whole-source function result shows as a level line
}

// A series of another type becomes a line: line drawn, no area, pointer hidden.
void TLineSeries::Assign(TPersistent* Source)
{
    TCustomSeries::Assign(Source);
    if (dynamic_cast<TLineSeries*>(Source) == nullptr) {
        FDrawArea = false;
        FDrawLine = true;
        Pointer()->Hide();
    }
}

THorizLineSeries::THorizLineSeries(TComponent* AOwner) : TLineSeries(AOwner)
{
    SetHorizontal();
    XValues()->SetOrder(loNone);
    YValues()->SetOrder(loAscending);
    FCalcVisiblePoints = false;
}

bool THorizLineSeries::MarksStandLeft() const
{
    return GetHorizAxis() != nullptr && GetHorizAxis()->Inverted();
}

void THorizLineSeries::DrawMark(int ValueIndex, const std::string& Text, TSeriesMarkPosition& Position)
{
    PlaceMarkBeside(ValueIndex, Position, true);
    TLineSeries::DrawMark(ValueIndex, Text, Position);
}

// ---- point series -----------------------------------------------------------------------

TPointSeries::TPointSeries(TComponent* AOwner) : TCustomSeries(AOwner)
{
    Pointer()->Show();
    FDrawArea = false;
    FDrawLine = false;
    FClickableLine = false;
    Marks()->Callout()->SetDefaultLength(0);
    Marks()->Callout()->SetLength(0);
}

bool TPointSeries::ValuesAreSymbols() const
{
    return typeid(*this) == typeid(TPointSeries);
}

int TPointSeries::GetTransparency() const
{
    return Pointer()->Transparency();
}

void TPointSeries::SetTransparency(int Value)
{
    Pointer()->SetTransparency(Value);
}

void TPointSeries::SetColorEachPoint(bool Value)
{
    TCustomSeries::SetColorEachPoint(Value);
    if (Value)
        Pointer()->Brush()->SetColor(clDefault);
}

void TPointSeries::SetUpGalleryPreview(bool Enabled)
{
    TCustomSeries::SetUpGalleryPreview(Enabled);
    TCustomAxisPanel* chart = ParentChart();
    const int size = chart != nullptr && chart->Width() < 50 ? 4 : 6;
    Pointer()->SetHorizSize(size);
    Pointer()->SetVertSize(size);
    if (chart != nullptr && chart->IndexOfSeries(this) == 1)
        Pointer()->SetStyle(psTriangle);
}

// A series of another type becomes points: pointer shown, neither line nor area.
void TPointSeries::Assign(TPersistent* Source)
{
    TCustomSeries::Assign(Source);
    if (dynamic_cast<TPointSeries*>(Source) != nullptr)
        return;
    Pointer()->Show();
    FDrawLine = false;
    FDrawArea = false;
    FClickableLine = false;
}
