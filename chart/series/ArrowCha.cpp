#include "ArrowCha.h"

#include "Chart.h"
#include "RizUridu/Helpers.h"
#include "TeeConst.h"

#include "system/Random.h"

#include <algorithm>
#include <cmath>

BEGIN_CLASS_INFO(TArrowSeries, TPointSeries)
    .ComponentFactory()
    .Int("ArrowHeight", &TArrowSeries::ArrowHeight, &TArrowSeries::SetArrowHeight)
        .Within(-MaxStoredPixels, MaxStoredPixels).Default(4)
    .Int("ArrowPercent", &TArrowSeries::ArrowPercent, &TArrowSeries::SetArrowPercent)
        .Within(-MaxStoredPercent, MaxStoredPercent).Default(50)
    .Int("ArrowWidth", &TArrowSeries::ArrowWidth, &TArrowSeries::SetArrowWidth)
        .Within(-MaxStoredPixels, MaxStoredPixels).Default(4)
    .Object("EndXValues", &TArrowSeries::EndXValues)
    .Object("EndYValues", &TArrowSeries::EndYValues)
    .Object("StartXValues", &TArrowSeries::StartXValues)
    .Object("StartYValues", &TArrowSeries::StartYValues)
END_CLASS_INFO

namespace {
int InitCount = 0;
}

TArrowSeries::TArrowSeries(TComponent* AOwner) : TPointSeries(AOwner)
{
    FCalcVisiblePoints = false;
    XValues()->SetDateTime(true);
    XValues()->SetDefaultDateTime(true);
    Pointer()->SetInflateMargins(false);
    Marks()->Frame()->SetDefaultVisible(false);
    Marks()->SetTransparent(true);
    FEndXValues = new TChartValueList(this, TeeMsg_ValuesArrowEndX);
    FEndXValues->SetDateTime(true);
    FEndXValues->SetDefaultDateTime(true);
    FEndYValues = new TChartValueList(this, TeeMsg_ValuesArrowEndY);
}

int TArrowSeries::AddArrow(double X0, double Y0, double X1, double Y1, const std::string& Label, TColor Color)
{
    FEndXValues->TempValue = X1;
    FEndYValues->TempValue = Y1;
    return AddPointXY(X0, Y0, Label, Color);
}

bool TArrowSeries::AcceptsDataSource(TComponent* Source) const
{
    return dynamic_cast<TArrowSeries*>(Source) != nullptr && TPointSeries::AcceptsDataSource(Source);
}

void TArrowSeries::Assign(TPersistent* Source)
{
    if (auto* a = dynamic_cast<TArrowSeries*>(Source))
        AssignOwnProperties(this, a, TArrowSeries::StaticClassInfo());
    TPointSeries::Assign(Source);
}

TPoint TArrowSeries::EndPoint(int Index) const
{
    return TPoint(ValueToScreenX(FEndXValues->Value(Index)), ValueToScreenY(FEndYValues->Value(Index)));
}

double TArrowSeries::GreatestX() const
{
    double v = TPointSeries::GreatestX();
    return FEndXValues->Count() > 0 ? std::max(v, FEndXValues->MaxValue()) : v;
}

double TArrowSeries::LeastX() const
{
    double v = TPointSeries::LeastX();
    return FEndXValues->Count() > 0 ? std::min(v, FEndXValues->MinValue()) : v;
}

double TArrowSeries::GreatestY() const
{
    double v = TPointSeries::GreatestY();
    return FEndYValues->Count() > 0 ? std::max(v, FEndYValues->MaxValue()) : v;
}

double TArrowSeries::LeastY() const
{
    double v = TPointSeries::LeastY();
    return FEndYValues->Count() > 0 ? std::min(v, FEndYValues->MinValue()) : v;
}

void TArrowSeries::DrawValue(int ValueIndex)
{
    TCustomAxisPanel* chart = ParentChart();
    if (chart == nullptr)
        return;
    const TColor color = ValueColor(ValueIndex);
    if (color == clNone)
        return;
    TTeeCanvas3D* canvas = chart->Canvas();
    const bool view3D = chart->View3D();
    if (view3D)
        Pointer()->PrepareCanvas(canvas, color);
    else
        canvas->AssignPen(Pointer()->Pen(), color);
    const TPoint from(PointScreenX(ValueIndex), PointScreenY(ValueIndex));
    canvas->Arrow(view3D, from, EndPoint(ValueIndex), ArrowWidth(), ArrowHeight(), MiddleZ(), FArrowPercent);
}

int TArrowSeries::Clicked(int X, int Y)
{
    TCustomAxisPanel* chart = ParentChart();
    if (chart == nullptr)
        return -1;
    if (chart->View3D())
        chart->Canvas()->UnprojectPoint(X, Y, MiddleZ());
    const TPoint p(X, Y);
    for (int t = 0; t < Count(); ++t) {
        const TPoint from(PointScreenX(t), PointScreenY(t));
        if (PointNearLine(p, from, EndPoint(t), LinePen()->Width()))
            return t;
    }
    return -1;
}

void TArrowSeries::MakeSamplePoints(int NumValues, bool OnlyMandatory)
{
    const TSampleRange r = SampleRange(NumValues);
    const double rangeX = r.StepX * std::max(NumValues - 1, 1);
    const int spanX = static_cast<int>(std::lround(rangeX));
    const int spanY = static_cast<int>(std::lround(r.RangeY));
    for (int t = 0; t < NumValues; ++t) {
        const double x0 = r.StartX + Random(spanX);
        const double y0 = r.MinY + Random(spanY);
        AddArrow(x0, y0, x0 + Random(spanX) - spanX / 2.0, y0 + Random(spanY) - spanY / 2.0);
    }
}

void TArrowSeries::SetUpGalleryPreview(bool Enabled)
{
    TPointSeries::SetUpGalleryPreview(Enabled);
    FillSampleValues(3);
    SetArrowWidth(12);
    SetArrowHeight(12);
    if (!Enabled)
        SetSeriesColor(clSilver);
}

void ArrowChaInitialization()
{
    if (InitCount++ > 0)
        return;
    RegisterSeriesType(TArrowSeries::StaticClassInfo(), &TeeMsg_GalleryArrow, &TeeMsg_GalleryExtended, 2);
}

void ArrowChaFinalization()
{
    if (InitCount > 0)
        --InitCount;
}
