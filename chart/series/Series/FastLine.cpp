#include "Series/FastLine.h"

#include "RizUridu/Helpers.h"
#include "Series/ColumnPolyline.h"

#include <algorithm>


// ---- published properties ----------------------------------------------------------

BEGIN_CLASS_INFO(TFastLineSeries, TCustomLineSeries)
    .ComponentFactory()
    .Bool("AutoRepaint", &TFastLineSeries::AutoRepaint, &TFastLineSeries::SetAutoRepaint).Default(true)
    .Bool("DrawAllPoints", &TFastLineSeries::DrawAllPoints, &TFastLineSeries::SetDrawAllPoints).Default(true)
    .Bool("IgnoreNulls", &TFastLineSeries::IgnoreNulls, &TFastLineSeries::SetIgnoreNulls).Default(true)
    .Bool("InvertedStairs", &TFastLineSeries::InvertedStairs, &TFastLineSeries::SetInvertedStairs).Default(false)
    .Bool("Stairs", &TFastLineSeries::Stairs, &TFastLineSeries::SetStairs).Default(false)
END_CLASS_INFO

TFastLineSeries::TFastLineSeries(TComponent* AOwner) : TCustomLineSeries(AOwner)
{
    FFunctionOnePoint = false;   // a whole-source function result shows as a level line
    // Zoomed in, only the points on the axis are drawn, and one on each side.
    FCalcVisiblePoints = true;
    FDrawBetweenPoints = true;
}

TFastLineSeries::~TFastLineSeries() = default;

void TFastLineSeries::SetSeriesColor(TColor Value)
{
    TCustomLineSeries::SetSeriesColor(Value);
    LinePen()->SetColor(Value);
}

void TFastLineSeries::SetPen(TChartPen* Value)
{
    TCustomLineSeries::SetPen(Value);
    if (Value != nullptr)
        SetSeriesColor(Value->Color());
}

void TFastLineSeries::Assign(TPersistent* Source)
{
    if (auto* s = dynamic_cast<TFastLineSeries*>(Source)) {
        AssignOwnProperties(this, s, TFastLineSeries::StaticClassInfo());
        FFastPen = s->FFastPen;   // a run-time switch, not published
    }
    TCustomLineSeries::Assign(Source);
}

bool TFastLineSeries::Is3D() const
{
    return ParentChart() != nullptr && ParentChart()->View3D();
}

void TFastLineSeries::MoveToPoint(int Index)
{
    FOldX = PointScreenX(Index);
    FOldY = PointScreenY(Index);
    TTeeCanvas3D* canvas = ParentChart()->Canvas();
    if (Is3D())
        canvas->MoveToAtDepth(FOldX, FOldY, MiddleZ());
    else
        canvas->MoveTo(FOldX, FOldY);
}

void TFastLineSeries::LineTo(int X, int Y)
{
    TTeeCanvas3D* canvas = ParentChart()->Canvas();
    if (Is3D())
        canvas->LineToAtDepth(X, Y, MiddleZ());
    else
        canvas->LineTo(X, Y);
}

void TFastLineSeries::DrawValue(int ValueIndex)
{
    TCustomAxisPanel* chart = ParentChart();
    if (chart == nullptr)
        return;
    const int x = PointScreenX(ValueIndex);
    const int y = PointScreenY(ValueIndex);
    // A null that leaves a gap is never skipped, or a point on the same column would
    // lose the gap.
    const bool gap = !FIgnoreNulls && IsNull(ValueIndex);
    if (x == FOldX && !gap) {
        if (!FDrawAllPoints || y == FOldY)
            return;
    }
    if (gap) {
        if (Is3D())
            chart->Canvas()->MoveToAtDepth(x, y, MiddleZ());
        else
            chart->Canvas()->MoveTo(x, y);
    } else {
        if (FStairs) {
            if (FInvertedStairs)
                LineTo(FOldX, y);
            else
                LineTo(x, FOldY);
        }
        LineTo(x, y);
    }
    FOldX = x;
    FOldY = y;
}

void TFastLineSeries::DrawVisiblePoints()
{
    TCustomAxisPanel* chart = ParentChart();
    if (chart == nullptr || chart->Canvas()->ReferenceCanvas() == nullptr)
        return;
    const int first = FirstValueIndex();
    const int last = LastValueIndex();
    if (first < 0 || last < first)
        return;
    TTeeCanvas3D* canvas = chart->Canvas();
    canvas->AssignPen(LinePen(), LinePen()->Color());
    canvas->Brush()->SetStyle(bsClear);
    // The point before the first visible one starts the line, so it enters from the edge.
    const int start = first >= 1 ? first - 1 : first;
    if (DrawReduced(start, last))
        return;
    MoveToPoint(start);
    for (int t = start + 1; t <= last; ++t)
        DrawValue(t);
}

bool TFastLineSeries::DrawReduced(int Start, int Last)
{
    TAxisLinearMap mx, my;
    if (Is3D() || FStairs || !PlainLinePen() || !LinearAxisMaps(mx, my))
        return false;
    const double* xs = XValues()->Data();
    const double* ys = YValues()->Data();
    // Without DrawAllPoints a point on the column of the last one drawn is skipped.
    TColumnPolyline line(!FDrawAllPoints);
    line.Add(mx(xs[Start]), my(ys[Start]));
    if (FIgnoreNulls)
        AddMappedPoints(line, xs, ys, Start + 1, Last, mx, my, [](int) { return true; });
    else   // a null leaves a gap
        AddMappedPoints(line, xs, ys, Start + 1, Last, mx, my, [this](int t) { return !IsNull(t); });
    line.Finish();
    DrawPolylinePieces(line);
    return true;
}

void TFastLineSeries::AfterAddValue(int ValueIndex, bool AddToDependents)
{
    if (FAutoRepaint) {
        TCustomLineSeries::AfterAddValue(ValueIndex, AddToDependents);
        return;
    }
    if (OnAfterAdd)
        OnAfterAdd(this, ValueIndex);
    if (AddToDependents)
        NotifyValue(veAdd, ValueIndex);
    TCustomAxisPanel* chart = ParentChart();
    if (!Active() || chart == nullptr || chart->Canvas()->ReferenceCanvas() == nullptr)
        return;
    // Only the new segment: from the value before it (or from itself when first).
    TTeeCanvas3D* canvas = chart->Canvas();
    if (FFastPen) {
        if (!FPlatformPen)
            FPlatformPen = std::make_unique<TPen>();
        FPlatformPen->Assign(LinePen());
        canvas->AssignPen(FPlatformPen.get(), LinePen()->Color());
    } else
        canvas->AssignPen(LinePen(), LinePen()->Color());
    canvas->Brush()->SetStyle(bsClear);
    MoveToPoint(ValueIndex > 0 ? ValueIndex - 1 : ValueIndex);
    DrawValue(ValueIndex);
}

int TFastLineSeries::Clicked(int X, int Y)
{
    TCustomAxisPanel* chart = ParentChart();
    if (chart == nullptr)
        return -1;
    if (chart->View3D())
        chart->Canvas()->UnprojectPoint(X, Y, MiddleZ());
    const int first = FirstValueIndex();
    const int last = LastValueIndex();
    if (first < 0)
        return -1;
    const TPoint p(X, Y);
    TPoint prev;
    for (int t = first; t <= last && t < Count(); ++t) {
        const TPoint at(PointScreenX(t), PointScreenY(t));
        if (at.X == X && at.Y == Y)
            return t;
        if (t > first && PointNearLineOfPoints(p, prev, at))
            return t - 1;
        prev = at;
    }
    return -1;
}

void TFastLineSeries::AxisMarginsA(int& Left, int& Right)
{
    TCustomLineSeries::AxisMarginsA(Left, Right);
    const int w = LinePen()->Width();
    Left += w - (w - 2) / 2;
    Right += w - (w - 2) / 2;
}

void TFastLineSeries::AxisMarginsB(int& Top, int& Bottom)
{
    TCustomLineSeries::AxisMarginsB(Top, Bottom);
    const int w = LinePen()->Width();
    Top += w - (w - 2) / 2;
    Bottom += w - (w - 2) / 2;
}

void TFastLineSeries::DrawMark(int ValueIndex, const std::string& Text, TSeriesMarkPosition& Position)
{
    // The callout's default length lifts the mark also before anything set it.
    Marks()->Callout()->ShiftMarkPosition(Position);
    TCustomLineSeries::DrawMark(ValueIndex, Text, Position);
}

void TFastLineSeries::DrawSymbolShape(int ValueIndex, const TRect& R)
{
    TCustomAxisPanel* chart = ParentChart();
    if (chart == nullptr)
        return;
    TTeeCanvas3D* canvas = chart->Canvas();
    const TColor color = ValueIndex == -1 ? SeriesColor() : ColorOfLegendItem(ValueIndex);
    canvas->AssignPen(LinePen(), color);
    canvas->Brush()->SetStyle(bsClear);
    const int middle = (R.Top + R.Bottom) / 2;
    canvas->Line(R.Left, middle, R.Right, middle);
}
