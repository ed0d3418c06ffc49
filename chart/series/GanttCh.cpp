#include "GanttCh.h"

#include "Chart.h"
#include "TeeConst.h"

#include "system/Random.h"
#include "system/SysUtils.h"

#include <algorithm>
#include <cmath>

BEGIN_CLASS_INFO(TGanttSeries, TPointSeries)
    .ComponentFactory()
    .Bool("ColorEachPoint", &TChartSeries::ColorEachPoint, &TChartSeries::SetColorEachPoint).Default(true)
    .Object("ConnectingPen", &TGanttSeries::ConnectingPen)
    .Object("StartValues", &TGanttSeries::StartValues)
    .Object("EndValues", &TGanttSeries::EndValues)
    .Object("NextTask", &TGanttSeries::NextTask)
END_CLASS_INFO

namespace {
int InitCount = 0;
}

TGanttSeries::TGanttSeries(TComponent* AOwner) : TPointSeries(AOwner)
{
    SetHorizontal();
    FCalcVisiblePoints = false;
    FClickableLine = false;
    SetColorEachPoint(true);
    Pointer()->SetStyle(psRectangle);
    // Tasks keep the order they were added in: NextTask refers to them by index.
    XValues()->SetOrder(loNone);
    XValues()->SetName(TeeMsg_ValuesGanttStart);
    XValues()->SetDateTime(true);
    XValues()->SetDefaultDateTime(true);
    FEndValues = new TChartValueList(this, TeeMsg_ValuesGanttEnd);
    FEndValues->SetDateTime(true);
    FEndValues->SetDefaultDateTime(true);
    FNextTask = new TChartValueList(this, TeeMsg_ValuesGanttNextTask);
    FNextTask->TempValue = -1;
}

int TGanttSeries::AddPointXY(double X, double Y, const std::string& Label, TColor Color)
{
    const int index = TPointSeries::AddPointXY(X, Y, Label, Color);
    // The next point has no next task unless its adder stages one.
    FNextTask->TempValue = -1;
    return index;
}

int TGanttSeries::AddGantt(double Start, double End, double Y, const std::string& Label, TColor Color)
{
    FEndValues->TempValue = End;
    FNextTask->TempValue = -1;
    return AddPointXY(Start, Y, Label, Color);
}

bool TGanttSeries::AcceptsDataSource(TComponent* Source) const
{
    return dynamic_cast<TGanttSeries*>(Source) != nullptr && TPointSeries::AcceptsDataSource(Source);
}

void TGanttSeries::Assign(TPersistent* Source)
{
    if (auto* g = dynamic_cast<TGanttSeries*>(Source))
        AssignOwnProperties(this, g, TGanttSeries::StaticClassInfo());
    TPointSeries::Assign(Source);
    if (dynamic_cast<TGanttSeries*>(Source) == nullptr)
        FClickableLine = false;
}

double TGanttSeries::GreatestX() const
{
    double v = TPointSeries::GreatestX();
    if (FEndValues->Count() > 0)
        v = std::max(v, FEndValues->MaxValue());
    return v;
}

void TGanttSeries::DrawValue(int ValueIndex)
{
    TCustomAxisPanel* chart = ParentChart();
    if (chart == nullptr || !Pointer()->Visible())
        return;
    const TColor color = ValueColor(ValueIndex);
    if (color == clNone)
        return;
    TTeeCanvas3D* canvas = chart->Canvas();
    const int x0 = StartPixel(ValueIndex);
    const int x1 = EndPixel(ValueIndex);
    // The bar spans both ends whichever lies left: an inverted axis puts the end first.
    const int half = std::abs(x1 - x0) / 2;
    const int y = PointScreenY(ValueIndex);
    const TSeriesPointerStyle style = OnGetPointerStyle ? OnGetPointerStyle(this, ValueIndex) : Pointer()->Style();
    Pointer()->PrepareCanvas(canvas, color);
    Pointer()->DrawPointer(canvas, chart->View3D(), std::min(x0, x1) + half, y, half, Pointer()->VertSize(), color,
                           style);

    // The line to the next task: along to the middle of the gap, across to the next
    // row, along to the next task's start.
    if (!ConnectingPen()->Visible())
        return;
    const double next = FNextTask->Value(ValueIndex);
    const long index = std::lround(next);
    if (!(next > -0.5) || index >= Count())
        return;
    const int nextIndex = static_cast<int>(index);
    const int nextStart = StartPixel(nextIndex);
    const int nextY = PointScreenY(nextIndex);
    const int middle = (x1 + nextStart) / 2;
    canvas->AssignPen(ConnectingPen(), ConnectingPen()->Color());
    canvas->Brush()->SetStyle(bsClear);
    const int z = MiddleZ();
    canvas->MoveToAtDepth(x1, y, z);
    canvas->LineToAtDepth(middle, y, z);
    canvas->LineToAtDepth(middle, nextY, z);
    canvas->LineToAtDepth(nextStart, nextY, z);
}

void TGanttSeries::DrawMark(int ValueIndex, const std::string& Text, TSeriesMarkPosition& Position)
{
    const int centre = (StartPixel(ValueIndex) + EndPixel(ValueIndex)) / 2;
    const int dx = centre - Position.ArrowFrom.X;
    Position.ArrowFrom.X += dx;
    Position.ArrowTo.X += dx;
    Position.LeftTop.X += dx;
    TPointSeries::DrawMark(ValueIndex, Text, Position);
}

int TGanttSeries::Clicked(int X, int Y)
{
    TCustomAxisPanel* chart = ParentChart();
    if (chart == nullptr)
        return -1;
    if (chart->View3D())
        chart->Canvas()->UnprojectPoint(X, Y, StartZ());
    // From the start to the end along the axis: leftwards on an inverted axis.
    const bool inverted = GetHorizAxis() != nullptr && GetHorizAxis()->Inverted();
    for (int t = 0; t < Count(); ++t) {
        const int from = inverted ? EndPixel(t) : StartPixel(t);
        const int to = inverted ? StartPixel(t) : EndPixel(t);
        if (X >= from && X <= to && std::abs(Y - PointScreenY(t)) < Pointer()->VertSize())
            return t;
    }
    return -1;
}

void TGanttSeries::MakeSamplePoints(int NumValues, bool OnlyMandatory)
{
    const std::string* rows[10] = {&TeeMsg_GanttDesign,       &TeeMsg_GanttPrototyping,
                                   &TeeMsg_GanttDevelopment,  &TeeMsg_GanttSales,
                                   &TeeMsg_GanttMarketing,    &TeeMsg_GanttTesting,
                                   &TeeMsg_GanttManufacturing, &TeeMsg_GanttDebugging,
                                   &TeeMsg_GanttNewVersion,   &TeeMsg_GanttBanking};
    const double today = std::floor(Now());
    const int last = std::min(NumValues - 1, Random(20) + 10);
    for (int k = 0; k <= last; ++k) {
        const double start = today + 3 * k + Random(5);
        const double end = start + 9 + Random(16);
        const int index = AddGantt(start, end, k % 10, *rows[k % 10]);
        for (int t = 0; t < index; ++t)
            if (FNextTask->Value(t) == -1 && FEndValues->Value(t) <= start) {
                FNextTask->SetValue(t, index);
                break;
            }
    }
}

void TGanttSeries::SetUpGalleryPreview(bool Enabled)
{
    TPointSeries::SetUpGalleryPreview(Enabled);
    SetColorEachPoint(true);
    Pointer()->SetVertSize(3);
    Pointer()->Gradient()->SetVisible(true);
}

void GanttChInitialization()
{
    if (InitCount++ > 0)
        return;
    RegisterSeriesType(TGanttSeries::StaticClassInfo(), &TeeMsg_GalleryGantt, &TeeMsg_GalleryStandard, 1);
}

void GanttChFinalization()
{
    if (InitCount > 0)
        --InitCount;
}
