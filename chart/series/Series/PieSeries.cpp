#include "Series/PieSeries.h"

#include "Chart.h"
#include "RizUridu/Helpers.h"
#include "TeCanvas/Helpers.h"
#include "TeeConst.h"
#include "system/Random.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <numbers>

namespace {

constexpr double Pi = std::numbers::pi;

// Brings an angle into 0..2 pi.
double NormalAngle(double A)
{
    A = std::fmod(A, 2 * Pi);
    return A < 0 ? A + 2 * Pi : A;
}

} // namespace

BEGIN_CLASS_INFO(TCircledSeries, TChartSeries)
    .Int("CircleBackColor", &TCircledSeries::CircleBackColor, &TCircledSeries::SetCircleBackColor)
        .Default(clDefault)
    .Bool("Circled", &TCircledSeries::Circled, &TCircledSeries::SetCircled).Default(false)
    .Int("CustomXRadius", &TCircledSeries::CustomXRadius, &TCircledSeries::SetCustomXRadius)
        .Within(-MaxStoredPixels, MaxStoredPixels).Default(0)
    .Int("CustomYRadius", &TCircledSeries::CustomYRadius, &TCircledSeries::SetCustomYRadius)
        .Within(-MaxStoredPixels, MaxStoredPixels).Default(0)
    .Int("RotationAngle", &TCircledSeries::RotationAngle, &TCircledSeries::SetRotationAngle)
        .Within(-MaxStoredDegrees, MaxStoredDegrees).Default(0)
END_CLASS_INFO

BEGIN_CLASS_INFO(TPieOtherSlice, TPersistent)
    .Int("Color", &TPieOtherSlice::Color, &TPieOtherSlice::SetColor).Default(clDefault)
    .Object("Legend", &TPieOtherSlice::Legend).Stored(&TPieOtherSlice::HasLegend)
    .Enum("Style", &TPieOtherSlice::Style, &TPieOtherSlice::SetStyle, {"poNone", "poBelowPercent", "poBelowValue"})
        .Default(poNone)
    .Str("Text", &TPieOtherSlice::Text, &TPieOtherSlice::SetText).Stored(&TPieOtherSlice::IsTextStored)
    .Float("Value", &TPieOtherSlice::Value, &TPieOtherSlice::SetValue).Default(0.0)
END_CLASS_INFO

BEGIN_CLASS_INFO(TPieShadow, TTeeShadow)
    .Int("Color", &TPieShadow::Color, &TPieShadow::SetColor).Default(0xA0A0A0)
END_CLASS_INFO

BEGIN_CLASS_INFO(TPieSeries, TCircledSeries)
    .ComponentFactory()
    .Int("AngleSize", &TPieSeries::AngleSize, &TPieSeries::SetAngleSize)
        .Within(-MaxStoredDegrees, MaxStoredDegrees).Default(360)
    .Bool("AutoMarkPosition", &TPieSeries::AutoMarkPosition, &TPieSeries::SetAutoMarkPosition).Default(true)
    .Bool("ColorEachPoint", &TPieSeries::ColorEachPoint, &TPieSeries::SetColorEachPoint).Default(true)
    .Bool("Dark3D", &TPieSeries::Dark3D, &TPieSeries::SetDark3D).Default(true)
    .Int("DarkPen", &TPieSeries::DarkPen, &TPieSeries::SetDarkPen).Default(0)
    .Int("ExplodeBiggest", &TPieSeries::ExplodeBiggest, &TPieSeries::SetExplodeBiggest)
        .Within(-MaxStoredPercent, MaxStoredPercent).Default(0)
    .Object("Gradient", &TPieSeries::Gradient)
    .Enum("MultiPie", &TPieSeries::MultiPie, &TPieSeries::SetMultiPie, {"mpAutomatic", "mpDisabled"})
        .Default(mpAutomatic)
    .Object("OtherSlice", &TPieSeries::OtherSlice)
    .Object("PiePen", &TPieSeries::PiePen)
    // The slices' values under their own name: read from older streams, written as YValues.
    .Object("PieValues", &TPieSeries::PieValues).Stored(false)
    .Object("Shadow", &TPieSeries::Shadow)
    .Bool("UsePatterns", &TPieSeries::UsePatterns, &TPieSeries::SetUsePatterns).Default(false)
END_CLASS_INFO

// ---- TCircledSeries ---------------------------------------------------------------------------

TCircledSeries::TCircledSeries(TComponent* AOwner) : TChartSeries(AOwner)
{
    FGradient = std::make_unique<TTeeGradient>(RepaintHandler());
    XValues()->SetName("Angle");
}

TCircledSeries::~TCircledSeries()
{
    RestoreView3D();
}

std::vector<TCircledSeries*> TCircledSeries::RoundSeries() const
{
    std::vector<TCircledSeries*> result;
    if (FParentChart == nullptr)
        return result;
    for (int t = 0; t < FParentChart->SeriesCount(); ++t)
        if (auto* s = dynamic_cast<TCircledSeries*>(FParentChart->Series(t)); s != nullptr && s != this && IsClassOf(s))
            result.push_back(s);
    return result;
}

void TCircledSeries::SetCircled(bool V)
{
    const bool clearRadii = !V && !IsLoading();
    for (TCircledSeries* s : RoundSeries()) {
        s->FCircled = V;
        if (clearRadii)
            s->FCustomXRadius = s->FCustomYRadius = 0;
    }
    if (clearRadii)
        FCustomXRadius = FCustomYRadius = 0;
    SetAndRepaint(FCircled, V);
}

void TCircledSeries::SetCustomXRadius(int V)
{
    for (TCircledSeries* s : RoundSeries())
        s->FCustomXRadius = V;
    SetAndRepaint(FCustomXRadius, V);
}

void TCircledSeries::SetCustomYRadius(int V)
{
    for (TCircledSeries* s : RoundSeries())
        s->FCustomYRadius = V;
    SetAndRepaint(FCustomYRadius, V);
}

void TCircledSeries::SetRotationAngle(int V)
{
    V %= 360;
    if (V < 0)
        V += 360;
    FRotationRadians = V * Pi / 180;
    SetAndRepaint(FRotationAngle, V);
}

// By field: the circle and radius setters make the chart's other round series follow,
// which a copy must not; the gradient is published by the pie.
void TCircledSeries::Assign(TPersistent* Source)
{
    if (auto* s = dynamic_cast<TCircledSeries*>(Source)) {
        FCircleBackColor = s->FCircleBackColor;
        FCircled = s->FCircled;
        FCustomXRadius = s->FCustomXRadius;
        FCustomYRadius = s->FCustomYRadius;
        FRotationAngle = s->FRotationAngle;
        FRotationRadians = s->FRotationRadians;
        FGradient->Assign(s->FGradient.get());
    }
    TChartSeries::Assign(Source);
}

// ---- 3D view of the chart -----------------------------------------------------------------------

void TCircledSeries::SaveView3D()
{
    if (FSavedView || FParentChart == nullptr || !FActive || FParentChart->Canvas()->IsTrue3D())
        return;
    FSavedView = std::make_unique<TView3DOptions>();
    FSavedView->Assign(FParentChart->View3DOptions());
    AdjustView3D(FParentChart->View3DOptions());
}

void TCircledSeries::RestoreView3D()
{
    if (!FSavedView)
        return;
    if (FParentChart != nullptr)
        FParentChart->View3DOptions()->Assign(FSavedView.get());
    FSavedView.reset();
}

void TCircledSeries::SetActive(bool Value)
{
    if (!Value)
        RestoreView3D();
    TChartSeries::SetActive(Value);
    if (Value)
        SaveView3D();
}

void TCircledSeries::SetParentChart(TCustomAxisPanel* Value)
{
    if (Value == FParentChart)
        return;
    RestoreView3D();
    TChartSeries::SetParentChart(Value);
    SaveView3D();
}

// ---- depth and extremes ---------------------------------------------------------------------------

void TCircledSeries::ComputeZOrder()
{
    // A round series takes no place in depth: it uses the whole of it.
    SetComputedZOrder(0);
}

void TCircledSeries::ComputeDepthExtent()
{
    TChartSeries::ComputeDepthExtent();
    SetDepthExtent(0, FParentChart != nullptr ? FParentChart->Width3D : 0);
    // The marks stand at the depth of the slices' faces.
    Marks()->SetZPosition(StartZ());
}

double TCircledSeries::GreatestX() const
{
    return GetHorizAxis() != nullptr ? GetHorizAxis()->Maximum() : 0;
}

double TCircledSeries::LeastX() const
{
    return GetHorizAxis() != nullptr ? GetHorizAxis()->Minimum() : 0;
}

double TCircledSeries::GreatestY() const
{
    return GetVertAxis() != nullptr ? GetVertAxis()->Maximum() : 0;
}

double TCircledSeries::LeastY() const
{
    return GetVertAxis() != nullptr ? GetVertAxis()->Minimum() : 0;
}

// ---- geometry ---------------------------------------------------------------------------------------

void TCircledSeries::SetCircleRect(const TRect& R)
{
    FCircleRect = R;
    NormalizeCircle();
}

void TCircledSeries::NormalizeCircle()
{
    TRect& r = FCircleRect;
    r = NormalizeRectCopy(r);
    FCircleWidth = r.Right - r.Left;
    FCircleHeight = r.Bottom - r.Top;
    if (FCircleWidth % 2 != 0)
        --FCircleWidth;
    if (FCircleHeight % 2 != 0)
        --FCircleHeight;
    FCircleWidth = std::max(FCircleWidth, 4);
    FCircleHeight = std::max(FCircleHeight, 4);
    r.Right = r.Left + FCircleWidth;
    r.Bottom = r.Top + FCircleHeight;
    FXRadius = FCircleWidth / 2;
    FYRadius = FCircleHeight / 2;
    FXCenter = r.Left + FXRadius;
    FYCenter = r.Top + FYRadius;
}

void TCircledSeries::CalcCircleRect()
{
    if (FParentChart == nullptr)
        return;
    FCircleRect = FParentChart->ChartRect;
    NormalizeCircle();
    int horizontal = 0, vertical = 0;
    MarksRoom(horizontal, vertical);
    if (horizontal != 0 || vertical != 0) {
        FCircleRect.Left += horizontal;
        FCircleRect.Right -= horizontal;
        FCircleRect.Top += vertical;
        FCircleRect.Bottom -= vertical;
        NormalizeCircle();
    }
    if (FCircled) {
        // Round on the screen: the longer side shrinks equally at both ends (the screen
        // has as many pixels per inch across as down).
        const int w = FCircleWidth, h = FCircleHeight;
        if (w > h) {
            const int d = (w - h) / 2;
            FCircleRect.Left += d;
            FCircleRect.Right -= d;
        } else if (h > w) {
            const int d = (h - w) / 2;
            FCircleRect.Top += d;
            FCircleRect.Bottom -= d;
        }
        NormalizeCircle();
    }
    if (FCustomXRadius != 0) {
        FXRadius = FCustomXRadius;
        FCircleWidth = 2 * FXRadius;
    }
    if (FCustomYRadius != 0) {
        FYRadius = FCustomYRadius;
        FCircleHeight = 2 * FYRadius;
    }
    FCircleRect = TRect(FXCenter - FXRadius, FYCenter - FYRadius, FXCenter + FXRadius, FYCenter + FYRadius);
}

void TCircledSeries::AngleToPoint(double Angle, double XRadius, double YRadius, int& X, int& Y) const
{
    const double a = Angle + FRotationRadians;
    X = FXCenter + TeeRound(XRadius * std::cos(a));
    Y = FYCenter - TeeRound(YRadius * std::sin(a));
}

TPoint TCircledSeries::AngleToPoint(double Angle) const
{
    TPoint p;
    AngleToPoint(Angle, FXRadius, FYRadius, p.X, p.Y);
    return p;
}

TColor TCircledSeries::CalcCircleBackColor() const
{
    if (FCircleBackColor != clDefault)
        return FCircleBackColor;
    if (FParentChart == nullptr)
        return clWhite;
    if (FParentChart->Canvas()->GetMonochrome())
        return clWhite;
    if (auto* chart = dynamic_cast<TCustomChart*>(FParentChart); chart != nullptr && !chart->BackWall()->Transparent())
        return chart->BackWall()->Color();
    return FParentChart->Color();
}

void TCircledSeries::DrawCircle()
{
    if (FParentChart == nullptr || (FParentChart->View3D() && !FParentChart->View3DOptions()->Orthogonal()))
        return;
    TTeeCanvas3D* canvas = FParentChart->Canvas();
    const TRect r = FParentChart->View3D() ? ProjectRect3D(canvas, FCircleRect, EndZ()) : FCircleRect;
    canvas->ClipToEllipse(r);
    FGradient->Draw(canvas, r);
    canvas->RemoveClipping();
}

// ---- TSliceValueList --------------------------------------------------------------------------------

void TSliceValueList::SetValue(int Index, int V)
{
    if (Index < 0)
        throw ERangeError();
    if (Index >= int(FItems.size()))
        FItems.resize(size_t(Index) + 1, 0);
    FItems[size_t(Index)] = V;
}

void TSliceValueList::Delete(int Index)
{
    if (Index >= 0 && Index < int(FItems.size()))
        FItems.erase(FItems.begin() + Index);
}

void TSliceValueList::Exchange(int A, int B)
{
    const int a = Value(A), b = Value(B);
    if (a != b || std::max(A, B) < Count()) {
        SetValue(A, b);
        SetValue(B, a);
    }
}

// ---- TPieOtherSlice ---------------------------------------------------------------------------------

TPieOtherSlice::TPieOtherSlice(TPieSeries* Pie) : FPie(Pie) {}

TPieOtherSlice::~TPieOtherSlice() = default;

TPersistent* TPieOtherSlice::GetOwner() const
{
    return FPie;
}

void TPieOtherSlice::Changed()
{
    if (FPie != nullptr)
        FPie->Repaint();
}

void TPieOtherSlice::SetColor(TColor V)
{
    SetAndNotify(FColor, V, [this] { Changed(); });
}

void TPieOtherSlice::SetStyle(TPieOtherStyle V)
{
    SetAndNotify(FStyle, V, [this] { Changed(); });
}

std::string TPieOtherSlice::Text() const
{
    return FText.empty() ? std::string(TeeMsg_GalleryOther) : FText;
}

void TPieOtherSlice::SetText(const std::string& V)
{
    SetAndNotify(FText, V, [this] { Changed(); });
}

void TPieOtherSlice::SetValue(double V)
{
    SetAndNotify(FValue, V, [this] { Changed(); });
}

TChartLegend* TPieOtherSlice::Legend()
{
    if (!FLegend) {
        auto* chart = FPie != nullptr ? dynamic_cast<TCustomChart*>(FPie->ParentChart()) : nullptr;
        if (chart == nullptr)
            return nullptr;
        FLegend = std::make_unique<TChartLegend>(chart);
        FLegend->Hide();
        FLegend->SetLegendStyle(lsValues);
        FLegend->SetOwnSeries(FPie);
    }
    return FLegend.get();
}

void TPieOtherSlice::ChartChanged()
{
    if (!FLegend)
        return;
    auto* chart = dynamic_cast<TCustomChart*>(FPie->ParentChart());
    std::unique_ptr<TChartLegend> old = std::move(FLegend);
    if (chart != nullptr) {
        Legend()->Assign(old.get());
        FLegend->SetOwnSeries(FPie);
    }
}

// By field: Text reads the default caption while none is set, and the legend is made on
// first use.
void TPieOtherSlice::Assign(TPersistent* Source)
{
    if (auto* s = dynamic_cast<TPieOtherSlice*>(Source)) {
        FColor = s->FColor;
        FStyle = s->FStyle;
        FText = s->FText;
        FValue = s->FValue;
        if (s->FLegend)
            if (TChartLegend* legend = Legend())
                legend->Assign(s->FLegend.get());
        Changed();
        return;
    }
    TPersistent::Assign(Source);
}

// ---- TPieShadow -------------------------------------------------------------------------------------

TPieShadow::TPieShadow(TNotifyEvent onChange) : TTeeShadow(std::move(onChange))
{
    DefaultColor = 0xA0A0A0;
    SetColor(0xA0A0A0);
}

// ---- TPieSeries: construction and properties -------------------------------------------------------

TPieSeries::TPieSeries(TComponent* AOwner) : TCircledSeries(AOwner)
{
    FOtherSlice = std::make_unique<TPieOtherSlice>(this);
    FShadow = std::make_unique<TPieShadow>(RepaintHandler());
    YValues()->SetName("Pie");
    SetColorEachPoint(true);
    Marks()->Show();
    Marks()->Callout()->SetDefaultLength(8);
    Marks()->Callout()->SetLength(8);
}

TPieSeries::~TPieSeries() = default;

void TPieSeries::SetExplodeBiggest(int V)
{
    SetAndRepaint(FExplodeBiggest, V);
    CalcExplodeBiggest();
}

void TPieSeries::SetMultiPie(TMultiPie V)
{
    SetAndRepaint(FMultiPie, V);
}

// By field: ExplodeBiggest's setter explodes a slice of the points present, and the
// points come later (TChartSeries::Assign); the donut size is published by a descendant.
void TPieSeries::Assign(TPersistent* Source)
{
    if (auto* s = dynamic_cast<TPieSeries*>(Source)) {
        FAngleSize = s->FAngleSize;
        FAutoMarkPosition = s->FAutoMarkPosition;
        FDark3D = s->FDark3D;
        FDarkPen = s->FDarkPen;
        FDonutPercent = s->FDonutPercent;
        FExplodeBiggest = s->FExplodeBiggest;
        FMultiPie = s->FMultiPie;
        FOtherSlice->Assign(s->FOtherSlice.get());
        FShadow->Assign(s->FShadow.get());
        FUsePatterns = s->FUsePatterns;
    }
    TCircledSeries::Assign(Source);
}

void TPieSeries::AdjustView3D(TView3DOptions* View)
{
    View->SetOrthogonal(false);
    View->SetRotation(360);
    View->SetElevation(315);
    View->SetPerspective(0);
    View->SetTilt(0);
}

void TPieSeries::SetParentChart(TCustomAxisPanel* Value)
{
    TCircledSeries::SetParentChart(Value);
    FOtherSlice->ChartChanged();
}

// ---- points -------------------------------------------------------------------------------------------

void TPieSeries::ClearLists()
{
    TCircledSeries::ClearLists();
    FExplodedSlice.Clear();
    FSliceHeight.Clear();
}

void TPieSeries::Delete(int ValueIndex)
{
    TCircledSeries::Delete(ValueIndex);
    FExplodedSlice.Delete(ValueIndex);
    FSliceHeight.Delete(ValueIndex);
}

void TPieSeries::ExchangePoints(int A, int B)
{
    TCircledSeries::ExchangePoints(A, B);
    FExplodedSlice.Exchange(A, B);
    FSliceHeight.Exchange(A, B);
}

void TPieSeries::MakeSamplePoints(int NumValues, bool OnlyMandatory)
{
    static const std::string* const labels[] = {&TeeMsg_SampleCars,     &TeeMsg_SamplePhones, &TeeMsg_SampleTables,
                                                &TeeMsg_SampleMonitors, &TeeMsg_SampleLamps,  &TeeMsg_SampleKeyboards,
                                                &TeeMsg_SampleBikes,    &TeeMsg_SampleChairs};
    for (int t = 0; t < NumValues; ++t)
        Add(Random(1000) + 1, *labels[t % 8]);
}

void TPieSeries::SetUpGalleryPreview(bool Enabled)
{
    TCircledSeries::SetUpGalleryPreview(Enabled);
    // Each slice its colour; a disabled preview stays in its one grey.
    SetColorEachPoint(Enabled);
    FillSampleValues(8);
    if (TCustomAxisPanel* chart = ParentChart()) {
        chart->SetChart3DPercent(75);
        chart->View3DOptions()->SetOrthogonal(false);
        chart->View3DOptions()->SetRotation(0);
        chart->View3DOptions()->SetElevation(305);
    }
    Marks()->Callout()->SetLength(0);
    Marks()->SetDrawEvery(1);
    Gradient()->SetVisible(true);
}

void TPieSeries::AddSubGalleryStyles(std::vector<std::string>& Styles)
{
    TCircledSeries::AddSubGalleryStyles(Styles);
    for (const std::string* name : {&TeeMsg_StylePatterns, &TeeMsg_StyleExploded, &TeeMsg_StyleShadow,
                                    &TeeMsg_StyleMarks, &TeeMsg_StyleSemiPie, &TeeMsg_StyleNoBorder,
                                    &TeeMsg_StyleDarkBorder})
        Styles.push_back(*name);
}

void TPieSeries::ApplySubGalleryStyle(int Index)
{
    switch (Index) {
    case 1: SetUsePatterns(true); break;
    case 2: SetExplodeBiggest(30); break;
    case 3:
        FShadow->SetHorizSize(10);
        FShadow->SetVertSize(10);
        break;
    case 4:
        Marks()->Show();
        Clear();
        Add(30, "A");
        Add(70, "B");
        break;
    case 5: SetAngleSize(180); break;
    case 6: PiePen()->Hide(); break;
    case 7: SetDarkPen(32); break;
    default: break;
    }
}

// ---- the other slice ------------------------------------------------------------------------------------

void TPieSeries::RemoveOtherSlice()
{
    for (int t = Count() - 1; t >= 0; --t)
        if (XValues()->Value(t) == OtherSliceX)
            Delete(t);
}

void TPieSeries::WriteData(TStream* Stream)
{
    RemoveOtherSlice();
    TCircledSeries::WriteData(Stream);
}

void TPieSeries::PrepareOtherSlice()
{
    if (PieValues()->Order() != loNone)
        PieValues()->SortPoints();
    RemoveOtherSlice();
    XValues()->FillWithIndexes();
    if (FOtherSlice->Style() == poNone)
        return;
    const double total = PieValues()->TotalAbsolute();
    if (!(total > 0))
        return;
    double sum = 0;
    bool found = false;
    for (int t = 0; t < Count(); ++t) {
        const double v = std::fabs(PieValues()->Value(t));
        const double measure = FOtherSlice->Style() == poBelowPercent ? v * 100 / total : v;
        if (measure < FOtherSlice->Value()) {
            XValues()->SetValue(t, GroupedX);
            sum += v;
            found = true;
        }
    }
    if (found) {
        AddPointXY(OtherSliceX, sum, FOtherSlice->Text(), FOtherSlice->Color());
        // Percentages share out the values once: the grouped ones live on in the sum.
        PieValues()->ExcludeFromTotals(sum);
    }
}

void TPieSeries::PrepareSeriesPositions()
{
    TCircledSeries::PrepareSeriesPositions();
    PrepareOtherSlice();
}

void TPieSeries::FindVisibleIndexRange()
{
    if (Count() == 0) {
        SetVisibleRange(-1, -1);
        return;
    }
    if (FOtherSlice->Style() != poNone || ParentChart() == nullptr || ParentChart()->MaxPointsPerPage() == 0) {
        SetVisibleRange(0, Count() - 1);
        return;
    }
    int first = -1, last = -1;
    ParentChart()->PageValueRange(this, first, last);
    SetVisibleRange(first, last);
}

int TPieSeries::PointScreenX(int Index) const
{
    return XValues()->Value(Index) == OtherSliceX ? 0 : TCircledSeries::PointScreenX(Index);
}

// ---- angles and explosion ---------------------------------------------------------------------------------

void TPieSeries::ComputeSliceAngles()
{
    FAngles.assign(size_t(Count()), TPieAngle{});
    const int first = FirstValueIndex(), last = LastValueIndex();
    if (first < 0)
        return;
    const double totalAngle = FAngleSize * Pi / 180;
    double total = 0;
    for (int t = first; t <= last; ++t)
        if (XValues()->Value(t) != GroupedX)
            total += std::fabs(PieValues()->Value(t));
    const double factor = total == 0 ? 0 : totalAngle / total;
    double previous = 0, running = 0;
    for (int t = first; t <= last; ++t) {
        TPieAngle& a = FAngles[size_t(t)];
        a.StartAngle = previous;
        if (XValues()->Value(t) != GroupedX)
            running += std::fabs(PieValues()->Value(t));
        a.EndAngle = total == 0 ? a.StartAngle : std::min(running * factor, a.StartAngle + totalAngle);
        a.MidAngle = (a.StartAngle + a.EndAngle) / 2;
        previous = a.EndAngle;
    }
}

void TPieSeries::CalcExplodeBiggest()
{
    if (FExplodeBiggest <= 0 || Count() == 0)
        return;
    int first = 0, last = Count() - 1;
    if (ParentChart() != nullptr && ParentChart()->MaxPointsPerPage() > 0 && FirstValueIndex() >= 0) {
        first = FirstValueIndex();
        last = LastValueIndex();
    }
    int biggest = first;
    for (int t = first + 1; t <= last; ++t)
        if (PieValues()->Value(t) > PieValues()->Value(biggest))
            biggest = t;
    FExplodedSlice.SetValue(biggest, FExplodeBiggest);
}

int TPieSeries::LargestExplodePercent() const
{
    int largest = 0;
    for (int t = FirstValueIndex(); t >= 0 && t <= LastValueIndex(); ++t)
        largest = std::max(largest, FExplodedSlice.Value(t));
    return largest;
}

void TPieSeries::CalcExplodedOffset(int ValueIndex, int& DX, int& DY) const
{
    DX = DY = 0;
    const int percent = FExplodedSlice.Value(ValueIndex);
    if (!FIsExploded || percent <= 0 || ValueIndex >= int(FAngles.size()))
        return;
    const double a = FAngles[size_t(ValueIndex)].MidAngle + RotationRadians();
    DX = TeeRound(double(XRadius()) * percent * 0.01 * std::cos(a));
    DY = TeeRound(double(YRadius()) * percent * 0.01 * std::sin(a));
}

// ---- placement -------------------------------------------------------------------------------------------------

void TPieSeries::MarksRoom(int& Horizontal, int& Vertical)
{
    // The marks of this pie, or of the first related pie that shows them.
    TSeriesMarks* marks = Marks()->Visible() ? Marks() : nullptr;
    TChartSeries* owner = this;
    if (marks == nullptr && ParentChart() != nullptr)
        for (int t = 0; t < ParentChart()->SeriesCount(); ++t) {
            TChartSeries* s = ParentChart()->Series(t);
            if (s != this && s->Active() && SameClass(s) && s->Marks()->Visible()) {
                marks = s->Marks();
                owner = s;
                break;
            }
        }
    if (marks == nullptr || ParentChart() == nullptr)
        return;
    TTeeCanvas3D* canvas = ParentChart()->Canvas();
    canvas->ApplyFont(marks->Font());
    const int frame = marks->Frame()->Visible() ? 2 * marks->Frame()->Width() : 0;
    const int length = marks->Callout()->Length();
    Vertical = CanvasLineHeight(canvas) + length + frame;
    int widest = 0;
    for (int t = 0; t < ParentChart()->SeriesCount(); ++t) {
        TChartSeries* s = ParentChart()->Series(t);
        if (!s->Active() || !s->Marks()->Visible())
            continue;
        for (int i = 0; i < s->Count(); ++i)
            widest = std::max(widest, s->Marks()->MarkTextPixelWidth(i));
    }
    (void)owner;
    Horizontal = canvas->TextWidth("W") + widest + length + frame;
}

bool TPieSeries::MultiPieCell(TRect& Cell) const
{
    if (FMultiPie != mpAutomatic || ParentChart() == nullptr)
        return false;
    int n = 0, k = 0;
    for (int t = 0; t < ParentChart()->SeriesCount(); ++t) {
        TChartSeries* s = ParentChart()->Series(t);
        if (s == this)
            k = n;
        if (s->Active() && SameClass(s))
            ++n;
    }
    if (n < 2)
        return false;
    // Enough rows for every pie inside the chart rectangle.
    const int columns = std::max(1, TeeRound(std::sqrt(double(n))));
    const int rows = (n + columns - 1) / columns;
    const TRect r = ParentChart()->ChartRect;
    const int w = (r.Right - r.Left) / columns, h = (r.Bottom - r.Top) / rows;
    const int column = k % columns, row = k / columns;
    Cell = TRect(r.Left + column * w, r.Top + row * h, r.Left + (column + 1) * w, r.Top + (row + 1) * h);
    return true;
}

// ---- drawing -------------------------------------------------------------------------------------------------

std::vector<int> TPieSeries::DepthSortedIndices() const
{
    std::vector<int> order;
    for (int t = FirstValueIndex(); t >= 0 && t <= LastValueIndex(); ++t)
        order.push_back(t);
    // The viewer looks at the pie's lower edge (angle 3/2 pi on the screen): slices
    // farther from it come first.
    const auto distance = [this](int i) {
        const double a = NormalAngle(FAngles[size_t(i)].MidAngle + RotationRadians() - 1.5 * Pi);
        return a > Pi ? 2 * Pi - a : a;
    };
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return distance(a) > distance(b); });
    return order;
}

void TPieSeries::DrawVisiblePoints()
{
    TCustomAxisPanel* chart = ParentChart();
    if (chart == nullptr || chart->Canvas()->ReferenceCanvas() == nullptr || FirstValueIndex() < 0)
        return;
    TTeeCanvas3D* canvas = chart->Canvas();
    const TRect savedRect = chart->ChartRect;
    TRect cell;
    const bool multi = MultiPieCell(cell);
    if (multi)
        chart->ChartRect = cell;
    CalcCircleRect();

    CalcExplodeBiggest();
    const int largest = LargestExplodePercent();
    ComputeSliceAngles();
    FIsExploded = largest > 0 || !FExplodedSlice.Empty();
    if (largest > 0) {
        // The most exploded slice must stay inside: the circle shrinks by half its offset.
        for (int t = FirstValueIndex(); t <= LastValueIndex(); ++t)
            if (FExplodedSlice.Value(t) == largest) {
                int dx = 0, dy = 0;
                CalcExplodedOffset(t, dx, dy);
                TRect r = CircleRect();
                r.Left += std::abs(dx) / 2;
                r.Right -= std::abs(dx) / 2;
                r.Top += std::abs(dy) / 2;
                r.Bottom -= std::abs(dy) / 2;
                SetCircleRect(r);
                break;
            }
    }
    FPreviousEnd = AngleToPoint(0);
    if (FShadow->HorizSize() != 0 || FShadow->VertSize() != 0)
        FShadow->DrawEllipse(canvas, CircleRect(), EndZ() - 10);

    if (CircleWidth() >= 5 && CircleHeight() >= 5) {
        if (chart->View3D() && !canvas->IsTrue3D() && (FIsExploded || FDonutPercent > 0)) {
            const std::vector<int> order = DepthSortedIndices();
            const bool partial = FAngleSize < 360 && FDonutPercent > 0;
            for (int i : order)
                DrawSlice(i, FIsExploded || (partial && (i == FirstValueIndex() || i == LastValueIndex())));
        } else
            for (int t = FirstValueIndex(); t <= LastValueIndex(); ++t)
                DrawSlice(t, FIsExploded);
    }
    if (multi)
        chart->ChartRect = savedRect;

    if (FOtherSlice->Style() != poNone && FOtherSlice->HasLegend() && FOtherSlice->Legend()->Visible())
        FOtherSlice->Legend()->Draw();
}

void TPieSeries::DrawValue(int ValueIndex)
{
    if (ValueIndex >= 0 && ValueIndex < int(FAngles.size()))
        DrawSlice(ValueIndex, FIsExploded);
}

void TPieSeries::DrawSlice(int ValueIndex, bool Sides)
{
    if (CircleWidth() < 5 || CircleHeight() < 5 || XValues()->Value(ValueIndex) == GroupedX)
        return;
    TCustomAxisPanel* chart = ParentChart();
    TTeeCanvas3D* canvas = chart->Canvas();
    const TPieAngle& angle = FAngles[size_t(ValueIndex)];
    TColor color = ValueColor(ValueIndex);
    const bool null = color == clNone;
    if (canvas->GetMonochrome() && !null)
        color = clBlack;

    if (FDarkPen > 0)
        canvas->AssignPen(PiePen(), DarkenColor(color, 255 - FDarkPen));
    else
        canvas->AssignPen(PiePen(), PiePen()->Color());
    if (!PiePen()->Visible())
        canvas->Pen()->SetStyle(psClear);
    if (null)
        canvas->Brush()->SetStyle(bsClear);
    else {
        AssignBrushToCanvas(canvas, Brush(), color, CalcCircleBackColor());
        TBrushStyle style = bsSolid;
        if (FUsePatterns || canvas->GetMonochrome())
            style = TBrushStyle(2 + ValueIndex % 6);
        canvas->Brush()->SetStyle(style);
    }

    int dx = 0, dy = 0;
    CalcExplodedOffset(ValueIndex, dx, dy);
    const int cx = CircleXCenter() + dx, cy = CircleYCenter() - dy;
    const double start = angle.StartAngle + RotationRadians();
    const double end = angle.EndAngle + RotationRadians();

    // On a 3D view the slice stands from the front depth back to its own depth, and its
    // face lies at that far end: the view looks at a pie from above its face, so the rim
    // shows at the front, below the face, and a deeper slice stands higher.
    const int percent = FSliceHeight.Value(ValueIndex);
    const int faceZ = percent == 0 ? EndZ() : StartZ() + TeeRound(percent * (EndZ() - StartZ()) * 0.01);

    // The slice's face, filled with the gradient that ends in the slice colour and
    // outlined again.
    const auto gradientFace = [&](bool Donut) {
        if (!Gradient()->Visible() || null || end <= start)
            return;
        const int n = SolidPieSlicePoints(start, end);
        const double k = Donut ? FDonutPercent * 0.01 : 0;
        std::vector<TPoint> outer, inner;
        for (int i = 0; i < n; ++i) {
            const double a = start + (end - start) * i / (n - 1);
            const double c = std::cos(a), sn = std::sin(a);
            outer.push_back(canvas->Calc3DPoint(cx + TeeRound(c * XRadius()), cy - TeeRound(sn * YRadius()), faceZ));
            if (Donut)
                inner.push_back(
                    canvas->Calc3DPoint(cx + TeeRound(c * XRadius() * k), cy - TeeRound(sn * YRadius() * k), faceZ));
        }
        if (Donut)
            outer.insert(outer.end(), inner.rbegin(), inner.rend());
        else
            outer.push_back(canvas->Calc3DPoint(cx, cy, faceZ));
        TTeeGradient gradient;
        gradient.Assign(Gradient());
        gradient.SetEndColor(color);
        gradient.DrawPolygon(canvas, outer.data(), int(outer.size()));
        if (canvas->Pen()->Style() != psClear) {
            canvas->Brush()->SetStyle(bsClear);
            canvas->Polygon(outer.data(), int(outer.size()) - 1);
        }
    };

    if (chart->View3D()) {
        if (end > start) {
            canvas->SolidPieSlice(cx, cy, XRadius(), YRadius(), start, end, faceZ, StartZ(), FDonutPercent, FDark3D,
                                  Sides, Sides);
            gradientFace(FDonutPercent > 0);
        }
        return;
    }
    if (FDonutPercent > 0) {
        if (end > start) {
            canvas->RingSector(cx, cy, XRadius(), YRadius(), TeeRound(XRadius() * FDonutPercent * 0.01),
                               TeeRound(YRadius() * FDonutPercent * 0.01), start, end);
            gradientFace(true);
        }
        return;
    }
    const TPoint endPoint = AngleToPoint(angle.EndAngle);
    if (endPoint == FPreviousEnd && Count() > 1 && angle.EndAngle - angle.StartAngle <= 1)
        return;
    int x0, y0, x1, y1;
    AngleToPoint(angle.StartAngle, XRadius(), YRadius(), x0, y0);
    AngleToPoint(angle.EndAngle, XRadius(), YRadius(), x1, y1);
    const TRect& r = CircleRect();
    if (Gradient()->Visible() && !null) {
        gradientFace(false);
        canvas->Brush()->SetStyle(bsClear);
    }
    canvas->Pie(r.Left + dx, r.Top - dy, r.Right + dx, r.Bottom - dy, x0 + dx, y0 - dy, x1 + dx, y1 - dy);
    FPreviousEnd = endPoint;
}

// ---- marks, legend and hit test ----------------------------------------------------------------------------------

void TPieSeries::DrawMark(int ValueIndex, const std::string& Text, TSeriesMarkPosition& Position)
{
    if (XValues()->Value(ValueIndex) == GroupedX || ValueIndex >= int(FAngles.size()))
        return;
    int dx = 0, dy = 0;
    CalcExplodedOffset(ValueIndex, dx, dy);
    const double mid = FAngles[size_t(ValueIndex)].MidAngle;
    const int length = Marks()->Callout()->Length();
    const int distance = Marks()->Callout()->Distance();
    const double extra = std::hypot(double(dx), double(dy));
    int x0, y0, x1, y1;
    AngleToPoint(mid, XRadius() + extra + distance, YRadius() + extra + distance, x0, y0);
    AngleToPoint(mid, XRadius() + extra + length + distance, YRadius() + extra + length + distance, x1, y1);
    Position.ArrowFrom = TPoint(x0, y0);
    Position.ArrowTo = TPoint(x1, y1);
    Position.LeftTop.X = x1 > CircleXCenter() ? x1 : x1 - Position.Width + 1;
    Position.LeftTop.Y = y1 > CircleYCenter() ? y1 : y1 - Position.Height + 1;
    if (FAutoMarkPosition)
        Marks()->ResolveOverlap(FirstValueIndex(), ValueIndex, Position);
    TCircledSeries::DrawMark(ValueIndex, Text, Position);
}

void TPieSeries::DrawSymbolShape(int ValueIndex, const TRect& R)
{
    TCustomAxisPanel* chart = ParentChart();
    if (chart != nullptr && Gradient()->Visible()) {
        TTeeCanvas3D* canvas = chart->Canvas();
        TColor color = ValueIndex == -1 ? SeriesColor() : ColorOfLegendItem(ValueIndex);
        if (canvas->GetMonochrome())
            color = clBlack;
        TTeeGradient gradient;
        gradient.Assign(Gradient());
        gradient.SetEndColor(color);
        gradient.Draw(canvas, R);
        canvas->AssignPen(PiePen(), PiePen()->Color());
        canvas->Brush()->SetStyle(bsClear);
        if (PiePen()->Visible())
            canvas->Rectangle(R.Left, R.Top, R.Right, R.Bottom);
        return;
    }
    TCircledSeries::DrawSymbolShape(ValueIndex, R);
}

int TPieSeries::Clicked(int X, int Y)
{
    TCustomAxisPanel* chart = ParentChart();
    if (chart == nullptr || FAngles.empty() || FirstValueIndex() < 0)
        return -1;
    if (chart->View3D())
        chart->Canvas()->UnprojectPoint(X, Y, StartZ());
    // Each slice around its own (exploded) centre: within its angles and inside the
    // ellipse, outside the donut hole.
    const double hole = FDonutPercent * 0.01;
    for (int t = FirstValueIndex(); t <= LastValueIndex() && t < int(FAngles.size()); ++t) {
        if (XValues()->Value(t) == GroupedX || XRadius() == 0 || YRadius() == 0)
            continue;
        int dx = 0, dy = 0;
        CalcExplodedOffset(t, dx, dy);
        const double fx = double(X - CircleXCenter() - dx) / XRadius();
        const double fy = double(CircleYCenter() - dy - Y) / YRadius();
        const double d = fx * fx + fy * fy;
        if (d > 1 || d < hole * hole)
            continue;
        const double a = NormalAngle(std::atan2(fy, fx) - RotationRadians());
        const TPieAngle& s = FAngles[size_t(t)];
        if (a >= s.StartAngle && a <= s.EndAngle)
            return t;
    }
    return -1;
}
