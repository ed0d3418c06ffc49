#include "BubbleCh.h"

#include "Chart.h"
#include "RizUridu/Helpers.h"
#include "TeeConst.h"

#include "system/Random.h"

#include <algorithm>
#include <cmath>

BEGIN_CLASS_INFO(TBubbleSeries, TPointSeries)
    .ComponentFactory()
    .Bool("ColorEachPoint", &TChartSeries::ColorEachPoint, &TChartSeries::SetColorEachPoint).Default(true)
    .Object("RadiusValues", &TBubbleSeries::RadiusValues)
    .Bool("Squared", &TBubbleSeries::Squared, &TBubbleSeries::SetSquared).Default(true)
END_CLASS_INFO

namespace {
int InitCount = 0;
}

TBubbleSeries::TBubbleSeries(TComponent* AOwner) : TPointSeries(AOwner)
{
    FRadiusValues = new TChartValueList(this, TeeMsg_ValuesBubbleRadius);
    Pointer()->SetInflateMargins(false);
    Pointer()->SetStyle(psCircle);
    Pointer()->SetAllowSizeChanges(false);
    Marks()->Frame()->SetDefaultVisible(false);
    Marks()->SetTransparent(true);
    SetColorEachPoint(true);
}

int TBubbleSeries::AddBubble(double X, double Y, double Radius, const std::string& Label, TColor Color)
{
    FRadiusValues->TempValue = Radius;
    return AddPointXY(X, Y, Label, Color);
}

bool TBubbleSeries::AcceptsDataSource(TComponent* Source) const
{
    return dynamic_cast<TBubbleSeries*>(Source) != nullptr && TPointSeries::AcceptsDataSource(Source);
}

void TBubbleSeries::Assign(TPersistent* Source)
{
    if (auto* b = dynamic_cast<TBubbleSeries*>(Source))
        AssignOwnProperties(this, b, TBubbleSeries::StaticClassInfo());
    TPointSeries::Assign(Source);
}

void TBubbleSeries::BeforeDrawPointer(int ValueIndex)
{
    const double radius = FRadiusValues->Value(ValueIndex);
    const TChartAxis* v = GetVertAxis();
    const TChartAxis* h = GetHorizAxis();
    const int vert = v != nullptr ? v->ValueLengthPixels(radius) : 0;
    const int horiz = FSquared || h == nullptr ? vert : h->ValueLengthPixels(radius);
    Pointer()->StoreSizes(horiz, vert);
}

void TBubbleSeries::DrawValue(int ValueIndex)
{
    if (ParentChart() == nullptr)
        return;
    const TColor color = ValueColor(ValueIndex);
    if (color != clNone)
        DrawPointerOf(ValueIndex, PointScreenX(ValueIndex), PointScreenY(ValueIndex), color);
}

int TBubbleSeries::Clicked(int X, int Y)
{
    TCustomAxisPanel* chart = ParentChart();
    if (chart == nullptr || !Pointer()->Visible())
        return -1;
    if (chart->View3D())
        chart->Canvas()->UnprojectPoint(X, Y, StartZ());
    const TPoint p(X, Y);
    for (int t = 0; t < Count(); ++t) {
        BeforeDrawPointer(t);
        const int x = PointScreenX(t);
        const int y = PointScreenY(t);
        const int h = Pointer()->HorizSize();
        const int v = Pointer()->VertSize();
        const TRect r(x - h, y - v, x + h, y + v);
        const TSeriesPointerStyle style = OnGetPointerStyle ? OnGetPointerStyle(this, t) : Pointer()->Style();
        bool hit;
        switch (style) {
        case psCircle: hit = PointInEllipseRect(p, r); break;
        case psTriangle: hit = PointInTriangleVertical(p, r.Left, r.Right, r.Top, r.Bottom); break;
        case psDownTriangle: hit = PointInTriangleVertical(p, r.Left, r.Right, r.Bottom, r.Top); break;
        case psLeftTriangle: hit = PointInTriangleHorizontal(p, r.Top, r.Bottom, r.Left, r.Right); break;
        case psRightTriangle: hit = PointInTriangleHorizontal(p, r.Top, r.Bottom, r.Right, r.Left); break;
        case psDiamond: {
            const TPoint diamond[4] = {TPoint(r.Left, y), TPoint(x, r.Top), TPoint(r.Right, y), TPoint(x, r.Bottom)};
            hit = PointInPolygon(p, diamond, 3);
            break;
        }
        case psNothing: hit = false; break;
        default: hit = X >= r.Left && X <= r.Right && Y >= r.Top && Y <= r.Bottom; break;
        }
        if (hit)
            return t;
    }
    return -1;
}

void TBubbleSeries::DrawSymbolShape(int ValueIndex, const TRect& R)
{
    TCustomAxisPanel* chart = ParentChart();
    if (chart == nullptr)
        return;
    const TColor color = ValueIndex == -1 ? SeriesColor() : ColorOfLegendItem(ValueIndex);
    const int size = std::min(R.Right - R.Left, R.Bottom - R.Top) / 2;
    TTeeCanvas3D* canvas = chart->Canvas();
    Pointer()->PrepareCanvas(canvas, color);
    Pointer()->DrawPointer(canvas, false, (R.Left + R.Right) / 2, (R.Top + R.Bottom) / 2, size, size, color,
                           Pointer()->Style());
}

double TBubbleSeries::GreatestY() const
{
    double v = TPointSeries::GreatestY();
    for (int t = 0; t < Count(); ++t)
        v = std::max(v, YValues()->Value(t) + FRadiusValues->Value(t));
    return v;
}

double TBubbleSeries::LeastY() const
{
    double v = TPointSeries::LeastY();
    for (int t = 0; t < Count(); ++t)
        v = std::min(v, YValues()->Value(t) - FRadiusValues->Value(t));
    return v;
}

bool TBubbleSeries::PointerIn3D() const
{
    return Pointer()->Draw3D() && ParentChart() != nullptr && ParentChart()->View3D();
}

double TBubbleSeries::GreatestZ() const
{
    if (!PointerIn3D() || Count() == 0)
        return TPointSeries::GreatestZ();
    return FRadiusValues->MaxValue();
}

double TBubbleSeries::LeastZ() const
{
    if (!PointerIn3D() || Count() == 0)
        return TPointSeries::LeastZ();
    return -FRadiusValues->MaxValue();
}

void TBubbleSeries::MakeSamplePoints(int NumValues, bool OnlyMandatory)
{
    const TSampleRange r = SampleRange(NumValues);
    const double range = r.RangeY;
    double x = r.StartX;
    for (int t = 0; t < NumValues; ++t) {
        const double y = r.MinY + Random(static_cast<int>(std::lround(range)));
        const double radius = std::round(range / (10 + Random(15))) + range / 15;
        AddBubble(x, y, radius);
        x += r.StepX;
    }
}

void TBubbleSeries::SetUpGalleryPreview(bool Enabled)
{
    TPointSeries::SetUpGalleryPreview(Enabled);
    Pointer()->Gradient()->SetVisible(true);
}

void BubbleChInitialization()
{
    if (InitCount++ > 0)
        return;
    RegisterSeriesType(TBubbleSeries::StaticClassInfo(), &TeeMsg_GalleryBubble, &TeeMsg_GalleryStandard, 1);
}

void BubbleChFinalization()
{
    if (InitCount > 0)
        --InitCount;
}
