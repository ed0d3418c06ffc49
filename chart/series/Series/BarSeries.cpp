#include "Series/BarSeries.h"

#include "Chart/SeriesTypes.h"
#include "RizUridu/Helpers.h"
#include "TeCanvas/Helpers.h"
#include "TeeConst.h"

#include <algorithm>
#include <cmath>

BEGIN_CLASS_INFO(TBarSeriesGradient, TTeeGradient)
    .Bool("Relative", &TBarSeriesGradient::Relative, &TBarSeriesGradient::SetRelative).Default(false)
    .Bool("Visible", &TBarSeriesGradient::Visible, &TBarSeriesGradient::SetVisible).Default(true)
END_CLASS_INFO

BEGIN_CLASS_INFO(TCustomBarSeries, TChartSeries)
    .Bool("AutoBarSize", &TCustomBarSeries::AutoBarSize, &TCustomBarSeries::SetAutoBarSize).Default(false)
    .Bool("AutoMarkPosition", &TCustomBarSeries::AutoMarkPosition, &TCustomBarSeries::SetAutoMarkPosition)
        .Default(true)
    .Object("BarBrush", &TCustomBarSeries::BarBrush)
    .Object("BarPen", &TCustomBarSeries::BarPen)
    .Enum("BarStyle", &TCustomBarSeries::BarStyle, &TCustomBarSeries::SetBarStyle,
          {"bsRectangle", "bsPyramid", "bsInvPyramid", "bsCilinder", "bsEllipse", "bsArrow", "bsRectGradient",
           "bsCone", "bsBevel", "bsSlantCube", "bsDiamond", "bsInvArrow", "bsInvCone"})
        .Default(bsRectangle)
    .Int("BarWidthPercent", &TCustomBarSeries::BarWidthPercent, &TCustomBarSeries::SetBarWidthPercent)
        .Within(-MaxStoredPercent, MaxStoredPercent).Default(70)
    .Int("BevelSize", &TCustomBarSeries::BevelSize, &TCustomBarSeries::SetBevelSize)
        .Within(-MaxStoredPixels, MaxStoredPixels).Default(1)
    .Bool("Dark3D", &TCustomBarSeries::Dark3D, &TCustomBarSeries::SetDark3D).Default(true)
    .Int("DepthPercent", &TCustomBarSeries::DepthPercent, &TCustomBarSeries::SetDepthPercent)
        .Within(-MaxStoredPercent, MaxStoredPercent).Default(100)
    .Object("Gradient", &TCustomBarSeries::Gradient)
    .Enum("MultiBar", &TCustomBarSeries::MultiBar, &TCustomBarSeries::SetMultiBar,
          {"mbNone", "mbSide", "mbStacked", "mbStacked100", "mbSideAll", "mbSelfStack"})
        .Default(mbSide)
    .Int("OffsetPercent", &TCustomBarSeries::OffsetPercent, &TCustomBarSeries::SetOffsetPercent)
        .Within(-MaxStoredPercent, MaxStoredPercent).Default(0)
    .Bool("SideMargins", &TCustomBarSeries::SideMargins, &TCustomBarSeries::SetSideMargins).Default(true)
    .Int("StackGroup", &TCustomBarSeries::StackGroup, &TCustomBarSeries::SetStackGroup).Default(0)
    .Object("TickLines", &TCustomBarSeries::TickLines)
    .Bool("UseYOrigin", &TCustomBarSeries::UseYOrigin, &TCustomBarSeries::SetUseYOrigin).Default(true)
    .Float("YOrigin", &TCustomBarSeries::YOrigin, &TCustomBarSeries::SetYOrigin).Default(0.0)
    .Event("OnGetBarStyle")
END_CLASS_INFO

BEGIN_CLASS_INFO(TBarSeries, TCustomBarSeries)
    .ComponentFactory()
    .Int("CustomBarWidth", &TBarSeries::CustomBarWidth, &TBarSeries::SetCustomBarWidth)
        .Within(-MaxStoredPixels, MaxStoredPixels).Default(0)
END_CLASS_INFO

BEGIN_CLASS_INFO(THorizBarSeries, TCustomBarSeries)
    .ComponentFactory()
    .Int("CustomBarHeight", &THorizBarSeries::CustomBarHeight, &THorizBarSeries::SetCustomBarHeight)
        .Within(-MaxStoredPixels, MaxStoredPixels).Default(0)
END_CLASS_INFO

// ---- gradient ---------------------------------------------------------------------------

TBarSeriesGradient::TBarSeriesGradient(TNotifyEvent onChange) : TTeeGradient(std::move(onChange))
{
    FBalance = 50;
    FStartColor = clWhite;
    FUseMiddle = false;
    FVisible = true;
}

void TBarSeriesGradient::SetRelative(bool v)
{
    SetAndNotify(FRelative, v, [this] { Changed(); });
}

void TBarSeriesGradient::Assign(TPersistent* Source)
{
    if (auto* g = dynamic_cast<TBarSeriesGradient*>(Source))
        AssignOwnProperties(this, g, TBarSeriesGradient::StaticClassInfo());
    TTeeGradient::Assign(Source);
}

// ---- construction and properties --------------------------------------------------------

TCustomBarSeries::TCustomBarSeries(TComponent* AOwner) : TChartSeries(AOwner)
{
    FGradient = std::make_unique<TBarSeriesGradient>(RepaintHandler());
    FTickLines = std::make_unique<TChartHiddenPen>(RepaintHandler());
    YValues()->SetName("Bar");
    Marks()->Show();
    Marks()->Callout()->SetDefaultLength(20);
    Marks()->Callout()->SetLength(20);
}

TCustomBarSeries::~TCustomBarSeries() = default;

void TCustomBarSeries::SetBarStyle(TBarStyle V)
{
    SetAndRepaint(FBarStyle, V);
}

void TCustomBarSeries::SetTransparency(int V)
{
    if (V < 0 || V > 100)
        throw ERangeError();
    SetAndRepaint(FTransparency, V);
}

void TCustomBarSeries::SetYOrigin(double V)
{
    SetAndRepaint(FYOrigin, V);
}

std::vector<TCustomBarSeries*> TCustomBarSeries::RelatedBars(bool OnlyActive) const
{
    std::vector<TCustomBarSeries*> result;
    if (FParentChart == nullptr)
        return result;
    for (int t = 0; t < FParentChart->SeriesCount(); ++t) {
        auto* s = dynamic_cast<TCustomBarSeries*>(FParentChart->Series(t));
        if (s != nullptr && SameClass(s) && (!OnlyActive || s->Active()))
            result.push_back(s);
    }
    return result;
}

void TCustomBarSeries::SetMultiBar(TMultiBar V)
{
    SetAndNotify(FMultiBar, V, [this, V] {
        // The placement belongs to every related bar series of the chart.
        for (TCustomBarSeries* s : RelatedBars(false)) {
            s->FMultiBar = V;
            s->FSideMargins = FSideMargins;
        }
        Repaint();
    });
}

void TCustomBarSeries::SetSideMargins(bool V)
{
    SetAndNotify(FSideMargins, V, [this, V] {
        for (TCustomBarSeries* s : RelatedBars(false)) {
            s->FMultiBar = FMultiBar;
            s->FSideMargins = V;
        }
        Repaint();
    });
}

void TCustomBarSeries::AttachedToChart()
{
    // A new bar series joins the placement of the bar series already there.
    for (TCustomBarSeries* s : RelatedBars(false))
        if (s != this) {
            FMultiBar = s->FMultiBar;
            FSideMargins = s->FSideMargins;
            break;
        }
    TChartSeries::AttachedToChart();
}

// By field: MultiBar's setter makes the chart's other bar series follow, which a copy
// must not; the OnGetBarStyle event goes with the settings.
void TCustomBarSeries::Assign(TPersistent* Source)
{
    if (auto* s = dynamic_cast<TCustomBarSeries*>(Source)) {
        FAutoBarSize = s->FAutoBarSize;
        FAutoMarkPosition = s->FAutoMarkPosition;
        FBarStyle = s->FBarStyle;
        FBarWidthPercent = s->FBarWidthPercent;
        FBevelSize = s->FBevelSize;
        FDark3D = s->FDark3D;
        FDepthPercent = s->FDepthPercent;
        FGradient->Assign(s->FGradient.get());
        FMultiBar = s->FMultiBar;
        FOffsetPercent = s->FOffsetPercent;
        FSideMargins = s->FSideMargins;
        FStackGroup = s->FStackGroup;
        FTickLines->Assign(s->FTickLines.get());
        FTransparency = s->FTransparency;
        FUseYOrigin = s->FUseYOrigin;
        FYOrigin = s->FYOrigin;
        OnGetBarStyle = s->OnGetBarStyle;
    }
    TChartSeries::Assign(Source);
}

// ---- positions ------------------------------------------------------------------------------

void TCustomBarSeries::PrepareSeriesPositions()
{
    FNumBars = 0;
    FMaxBarPoints = -1;
    FOrderPos = 1;
    FPreviousCount = 0;
    std::vector<int> groups;
    bool reached = false;
    for (TCustomBarSeries* s : RelatedBars(true)) {
        if (s == this)
            reached = true;
        const int count = s->Count() + (FSideMargins ? 1 : 0);
        if (count > FMaxBarPoints)
            FMaxBarPoints = count;
        switch (FMultiBar) {
        case mbNone:
        case mbSelfStack:
            FNumBars = 1;
            break;
        case mbSide:
        case mbSideAll:
            ++FNumBars;
            if (!reached)
                ++FOrderPos;
            break;
        case mbStacked:
        case mbStacked100:
            if (std::find(groups.begin(), groups.end(), s->FStackGroup) == groups.end()) {
                groups.push_back(s->FStackGroup);
                ++FNumBars;
            }
            break;
        }
        if (!reached)
            FPreviousCount += s->Count();
    }
    if (FMultiBar == mbStacked || FMultiBar == mbStacked100) {
        const auto it = std::find(groups.begin(), groups.end(), FStackGroup);
        FOrderPos = it == groups.end() ? 1 : int(it - groups.begin()) + 1;
    }
    if (FParentChart != nullptr && FParentChart->MaxPointsPerPage() > 0)
        FMaxBarPoints = FParentChart->MaxPointsPerPage();
}

int TCustomBarSeries::CalcBarWidth() const
{
    if (CustomBarSize() != 0)
        return CustomBarSize();
    if (FMaxBarPoints < 1)
        return 0;
    const TChartAxis* axis = CategoryAxis();
    if (axis == nullptr)
        return 0;
    int step = axis->Map().AxisSize / FMaxBarPoints;
    if (FAutoBarSize) {
        const double range = 2 + axis->Maximum() - axis->Minimum();
        step = range > 0 ? TeeRound(axis->Map().AxisSize / range) : 0;
    }
    int width = TeeRound(FBarWidthPercent * 0.01 * step) / std::max(1, FNumBars);
    if (width > 0 && width % 2 == 1)
        ++width;
    return width;
}

int TCustomBarSeries::SeriesPositionInChart() const
{
    return FParentChart == nullptr ? 0 : FParentChart->IndexOfSeries(this);
}

int TCustomBarSeries::BarPlacement(int ValueIndex) const
{
    const int width = CalcBarWidth();
    int result;
    switch (FMultiBar) {
    case mbSideAll:
        result = CategoryPixel(FPreviousCount + ValueIndex) - width / 2;
        break;
    case mbSelfStack:
        result = CategoryPixel(SeriesPositionInChart()) - width / 2;
        break;
    case mbNone:
        result = CategoryPixel(NotMandatoryValueList()->Value(ValueIndex)) - width / 2;
        break;
    default:
        result = CategoryPixel(NotMandatoryValueList()->Value(ValueIndex)) +
                 TeeRound(width * (FOrderPos - FNumBars * 0.5 - 1.0));
        break;
    }
    return result + TeeRound(FOffsetPercent * width * 0.01);
}

double TCustomBarSeries::StackSum(int ValueIndex, bool AllSeries) const
{
    double sum = 0;
    if (FParentChart == nullptr)
        return sum;
    const bool positive = MandatoryValueAt(ValueIndex) >= 0;
    for (TCustomBarSeries* s : RelatedBars(true)) {
        if (s == this && !AllSeries)
            break;
        if (s->FStackGroup != FStackGroup || s->Count() <= ValueIndex)
            continue;
        const double v = s->MandatoryValueAt(ValueIndex);
        if ((v >= 0) == positive)
            sum += v;
    }
    return sum;
}

double TCustomBarSeries::BarOriginValue(int ValueIndex) const
{
    switch (FMultiBar) {
    case mbStacked:
    case mbStacked100:
        return StackSum(ValueIndex, false);
    case mbSelfStack: {
        double sum = 0;
        for (int t = 0; t < ValueIndex; ++t)
            sum += MandatoryValueAt(t);
        return sum;
    }
    default:
        return FYOrigin;
    }
}

double TCustomBarSeries::Stack100Total(int ValueIndex) const
{
    // Positive values share out 100 % upwards, negative ones -100 % downwards.
    return std::fabs(StackSum(ValueIndex, true));
}

bool TCustomBarSeries::BarVisible(int ValueIndex) const
{
    if (ValueColor(ValueIndex) == clNone)
        return false;
    // A 100 % stack whose values are all zero has nothing to share out: no bar.
    return FMultiBar != mbStacked100 || Stack100Total(ValueIndex) != 0;
}

int TCustomBarSeries::OriginPixel(int ValueIndex) const
{
    switch (FMultiBar) {
    case mbStacked:
    case mbSelfStack:
        return ValueToScreenPos(BarOriginValue(ValueIndex));
    case mbStacked100: {
        const double total = Stack100Total(ValueIndex);
        return ValueToScreenPos(total == 0 ? 0 : BarOriginValue(ValueIndex) * 100.0 / total);
    }
    default:
        if (FUseYOrigin)
            return ValueToScreenPos(FYOrigin);
        if (const TChartAxis* axis = MandatoryAxis())
            return axis->Map().EndPos;
        return 0;
    }
}

int TCustomBarSeries::ValueEndPixel(int ValueIndex) const
{
    const double v = MandatoryValueAt(ValueIndex);
    switch (FMultiBar) {
    case mbStacked:
    case mbSelfStack:
        return ValueToScreenPos(BarOriginValue(ValueIndex) + v);
    case mbStacked100: {
        const double total = Stack100Total(ValueIndex);
        return ValueToScreenPos(total == 0 ? 0 : (BarOriginValue(ValueIndex) + v) * 100.0 / total);
    }
    default:
        return ValueToScreenPos(v);
    }
}

TRect TCustomBarSeries::BarRectangle(int ValueIndex) const
{
    const int start = BarPlacement(ValueIndex);
    int end = start + CalcBarWidth() + 1;
    if (FBarWidthPercent == 100 && CustomBarSize() == 0) {
        const TChartAxis* axis = CategoryAxis();
        const bool inverted = axis != nullptr && axis->Inverted();
        // Full-width bars touch their neighbour, when it stands further along: the bars of
        // a self-stacked column share one place, and unsorted values may lie behind.
        const int next = inverted != !VerticalBars() ? ValueIndex - 1 : ValueIndex + 1;
        if (next >= 0 && next < Count())
            if (const int neighbour = BarPlacement(next); neighbour > start)
                end = neighbour;
    }
    const int valueEnd = ValueEndPixel(ValueIndex);
    const int origin = OriginPixel(ValueIndex);
    TRect r = VerticalBars() ? TRect(start, valueEnd, end, origin) : TRect(origin, start, valueEnd, end);
    if (!Pen()->Visible()) {
        if (VerticalBars()) {
            (r.Top > r.Bottom ? r.Top : r.Bottom) += 1;
            r.Right += 1;
        } else {
            (r.Left > r.Right ? r.Left : r.Right) += 1;
            r.Bottom += 1;
        }
    }
    return r;
}

// ---- extremes ------------------------------------------------------------------------------

void TCustomBarSeries::ValueExtremes(double& Min, double& Max) const
{
    const TChartValueList* list = MandatoryValueList();
    switch (FMultiBar) {
    case mbStacked100: {
        Max = 100;
        Min = 0;
        for (int t = 0; t < Count(); ++t)
            if (list->Value(t) < 0)
                Min = -100;
        break;
    }
    case mbStacked:
        Min = Max = 0;
        for (int t = 0; t < Count(); ++t) {
            const double v = BarOriginValue(t) + list->Value(t);
            Min = t == 0 ? v : std::min(Min, v);
            Max = t == 0 ? v : std::max(Max, v);
        }
        break;
    case mbSelfStack: {
        double sum = 0;
        Min = Max = 0;
        for (int t = 0; t < Count(); ++t) {
            sum += list->Value(t);
            Min = std::min(Min, sum);
            Max = std::max(Max, sum);
        }
        break;
    }
    default:
        Min = list->MinValue();
        Max = list->MaxValue();
        break;
    }
    if (FUseYOrigin && FMultiBar != mbStacked100) {
        Min = std::min(Min, FYOrigin);
        Max = std::max(Max, FYOrigin);
    }
}

bool TCustomBarSeries::CategoryExtremes(double& Min, double& Max) const
{
    if (FMultiBar == mbSelfStack) {
        Min = Max = SeriesPositionInChart();
        return true;
    }
    // Side by side in one row: the series' bars follow the points of those before it.
    if (FMultiBar == mbSideAll && Count() > 0) {
        Min = FPreviousCount;
        Max = FPreviousCount + Count() - 1;
        return true;
    }
    return false;
}

double TCustomBarSeries::GreatestY() const
{
    double lo = 0, hi = 0;
    if (YMandatory()) {
        ValueExtremes(lo, hi);
        return hi;
    }
    return CategoryExtremes(lo, hi) ? hi : TChartSeries::GreatestY();
}

double TCustomBarSeries::LeastY() const
{
    double lo = 0, hi = 0;
    if (YMandatory()) {
        ValueExtremes(lo, hi);
        return lo;
    }
    return CategoryExtremes(lo, hi) ? lo : TChartSeries::LeastY();
}

double TCustomBarSeries::GreatestX() const
{
    double lo = 0, hi = 0;
    if (!YMandatory()) {
        ValueExtremes(lo, hi);
        return hi;
    }
    return CategoryExtremes(lo, hi) ? hi : TChartSeries::GreatestX();
}

double TCustomBarSeries::LeastX() const
{
    double lo = 0, hi = 0;
    if (!YMandatory()) {
        ValueExtremes(lo, hi);
        return lo;
    }
    return CategoryExtremes(lo, hi) ? lo : TChartSeries::LeastX();
}

// ---- depth ------------------------------------------------------------------------------------

void TCustomBarSeries::ComputeZOrder()
{
    // Side-by-side and stacked bars stand at one depth: that of the first related series.
    if (FParentChart != nullptr && FMultiBar != mbNone && FParentChart->View3D()) {
        for (TCustomBarSeries* s : RelatedBars(true)) {
            if (s == this)
                break;
            SetComputedZOrder(s->ZOrder());
            return;
        }
    }
    TChartSeries::ComputeZOrder();
}

void TCustomBarSeries::ComputeDepthExtent()
{
    TChartSeries::ComputeDepthExtent();
    if (FDepthPercent != 0 && FDepthPercent != 100) {
        const int shrink = TeeRound((EndZ() - StartZ()) * (100 - FDepthPercent) * 0.005);
        SetDepthExtent(StartZ() + shrink, EndZ() - shrink);
    }
}

bool TCustomBarSeries::SharesZOrder() const
{
    return FMultiBar != mbSideAll && TChartSeries::SharesZOrder();
}

void TCustomBarSeries::FindVisibleIndexRange()
{
    TChartSeries::FindVisibleIndexRange();
    // One point per page: that point alone.
    if (FParentChart != nullptr && FParentChart->MaxPointsPerPage() == 1) {
        const int index = FParentChart->Page() - 1;
        SetVisibleRange(index < Count() ? index : -1, index < Count() ? index : -1);
    }
}

// ---- margins ---------------------------------------------------------------------------------

void TCustomBarSeries::CategoryMargins(int& Low, int& High)
{
    PrepareSeriesPositions();
    const int width = CalcBarWidth();
    int margin = FMultiBar == mbSideAll ? width : width * std::max(1, FNumBars);
    if (!FSideMargins)
        margin /= 2;
    Low = std::max(Low, margin);
    High = std::max(High, margin);
}

int TCustomBarSeries::MarkSizeAlongBar(int ValueIndex)
{
    TCustomAxisPanel* chart = ParentChart();
    if (chart == nullptr || chart->Canvas()->ReferenceCanvas() == nullptr)
        return 0;
    chart->Canvas()->ApplyFont(Marks()->Font());
    if (VerticalBars())
        return CanvasLineHeight(chart->Canvas());
    return Marks()->MarkTextPixelWidth(ValueIndex) + chart->Canvas()->TextWidth("W");
}

void TCustomBarSeries::ValueMargins(int& Low, int& High)
{
    if (!Marks()->Visible() || Count() == 0)
        return;
    int size = 0;
    if (VerticalBars())
        size = MarkSizeAlongBar(0);
    else
        for (int t = 0; t < Count(); ++t)
            size = std::max(size, MarkSizeAlongBar(t));
    int room = size + Marks()->Callout()->Length() + 1;
    if (Marks()->Frame()->Visible())
        room += 2 * Marks()->Frame()->Width();
    High = std::max(High, room);
    if (MandatoryValueList()->MinValue() < FYOrigin)
        Low = std::max(Low, room);
}

void TCustomBarSeries::AxisMarginsA(int& Left, int& Right)
{
    TChartSeries::AxisMarginsA(Left, Right);
    if (VerticalBars())
        CategoryMargins(Left, Right);
    else if (GetHorizAxis() != nullptr && GetHorizAxis()->Inverted())
        ValueMargins(Right, Left);
    else
        ValueMargins(Left, Right);
}

void TCustomBarSeries::AxisMarginsB(int& Top, int& Bottom)
{
    TChartSeries::AxisMarginsB(Top, Bottom);
    if (VerticalBars()) {
        // The marks' room goes where the values point: downwards on an inverted axis.
        if (GetVertAxis() != nullptr && GetVertAxis()->Inverted())
            ValueMargins(Top, Bottom);
        else
            ValueMargins(Bottom, Top);
    } else
        CategoryMargins(Top, Bottom);
}

// ---- hit test ----------------------------------------------------------------------------------

bool TCustomBarSeries::IsPointInBar(int ValueIndex, int X, int Y)
{
    const TRect r = NormalizeRectCopy(BarRectangle(ValueIndex));
    const TPoint p(X, Y);
    const TBarStyle style = StyleOfValue(ValueIndex);
    const bool upward = style == bsPyramid || style == bsCone;
    const bool downward = style == bsInvPyramid || style == bsInvCone;
    if (upward || downward) {
        // Upward shapes point to the upper end (the right end of horizontal bars).
        if (VerticalBars())
            return upward ? PointInTriangleVertical(p, r.Left, r.Right, r.Top, r.Bottom)
                          : PointInTriangleVertical(p, r.Left, r.Right, r.Bottom, r.Top);
        return upward ? PointInTriangleHorizontal(p, r.Top, r.Bottom, r.Right, r.Left)
                      : PointInTriangleHorizontal(p, r.Top, r.Bottom, r.Left, r.Right);
    }
    if (style == bsEllipse)
        return PointInEllipseRect(p, r);
    return IsPointInRect(r, X, Y);
}

int TCustomBarSeries::Clicked(int X, int Y)
{
    TCustomAxisPanel* chart = ParentChart();
    if (chart == nullptr || FirstValueIndex() < 0)
        return -1;
    if (chart->View3D())
        chart->Canvas()->UnprojectPoint(X, Y, StartZ());
    PrepareSeriesPositions();
    for (int t = FirstValueIndex(); t <= LastValueIndex() && t < Count(); ++t)
        if (BarVisible(t) && IsPointInBar(t, X, Y))
            return t;
    return -1;
}

// ---- marks -------------------------------------------------------------------------------------

void TCustomBarSeries::DrawMark(int ValueIndex, const std::string& Text, TSeriesMarkPosition& Position)
{
    if (!BarVisible(ValueIndex))
        return;
    const TRect bar = BarRectangle(ValueIndex);
    const int valueEnd = ValueEndPixel(ValueIndex);
    const int origin = OriginPixel(ValueIndex);
    const int length = Marks()->Callout()->Length();
    const int distance = Marks()->Callout()->Distance();
    if (VerticalBars()) {
        const int mid = (bar.Left + bar.Right) / 2;
        const bool up = valueEnd <= origin;
        const int sign = up ? -1 : 1;
        Position.ArrowFrom = TPoint(mid, valueEnd + sign * distance);
        Position.ArrowTo = TPoint(mid, valueEnd + sign * (length + distance));
        Position.LeftTop = TPoint(mid - Position.Width / 2, up ? Position.ArrowTo.Y - Position.Height + 1
                                                               : Position.ArrowTo.Y);
    } else {
        const int mid = (bar.Top + bar.Bottom) / 2;
        const bool right = valueEnd >= origin;
        const int sign = right ? 1 : -1;
        Position.ArrowFrom = TPoint(valueEnd + sign * distance, mid);
        Position.ArrowTo = TPoint(valueEnd + sign * (length + distance), mid);
        Position.LeftTop = TPoint(right ? Position.ArrowTo.X : Position.ArrowTo.X - Position.Width + 1,
                                  mid - Position.Height / 2);
    }
    if (FAutoMarkPosition)
        Marks()->ResolveOverlap(FirstValueIndex(), ValueIndex, Position);
    TChartSeries::DrawMark(ValueIndex, Text, Position);
}

// ---- legend ------------------------------------------------------------------------------------

void TCustomBarSeries::PrepareSymbolCanvas()
{
    // The symbol uses the bar pen and brush, which PaintLegendSymbol selects.
}

void TCustomBarSeries::DrawSymbolShape(int ValueIndex, const TRect& R)
{
    TCustomAxisPanel* chart = ParentChart();
    if (chart == nullptr)
        return;
    TTeeCanvas3D* canvas = chart->Canvas();
    const TColor color = ValueIndex == -1 ? SeriesColor() : ColorOfLegendItem(ValueIndex);
    canvas->AssignPen(BarPen(), BarPen()->Color());
    if (!BarPen()->Visible())
        canvas->Pen()->SetStyle(psClear);
    AssignBrushToCanvas(canvas, BarBrush(), color,
                        BarBrush()->Color() == clDefault ? chart->Color() : BarBrush()->Color());
    TChartSeries::DrawSymbolShape(ValueIndex, R);
}

// ---- gallery and samples -----------------------------------------------------------------------

int TCustomBarSeries::DefaultSampleCount() const
{
    for (TCustomBarSeries* s : RelatedBars(false))
        if (s != this && s->Count() > 0)
            return s->Count();
    return 6;
}

void TCustomBarSeries::SetUpGalleryPreview(bool Enabled)
{
    TChartSeries::SetUpGalleryPreview(Enabled);
    SetBarWidthPercent(85);
    SetBarStyle(bsRectGradient);
    Gradient()->SetVisible(true);
    SetMultiBar(mbNone);
}

void TCustomBarSeries::AddSubGalleryStyles(std::vector<std::string>& Styles)
{
    TChartSeries::AddSubGalleryStyles(Styles);
    for (const std::string* name : {&TeeMsg_StyleColors, &TeeMsg_StylePyramid, &TeeMsg_StyleEllipse,
                                    &TeeMsg_StyleInvPyramid, &TeeMsg_StyleGradient})
        Styles.push_back(*name);
    if (HasStackGalleryStyles())
        for (const std::string* name : {&TeeMsg_GalleryStack, &TeeMsg_StyleStack100, &TeeMsg_StyleSelfStacked})
            Styles.push_back(*name);
    Styles.push_back(TeeMsg_StyleSides);
    Styles.push_back(TeeMsg_StyleSideAll);
}

void TCustomBarSeries::ApplySubGalleryStyle(int Index)
{
    switch (Index) {
    case 1: SetColorEachPoint(true); return;
    case 2: SetBarStyle(bsPyramid); return;
    case 3: SetBarStyle(bsEllipse); return;
    case 4: SetBarStyle(bsInvPyramid); return;
    case 5: SetBarStyle(bsRectGradient); return;
    default: break;
    }
    const int stacks = HasStackGalleryStyles() ? 3 : 0;
    static const TMultiBar stacked[] = {mbStacked, mbStacked100, mbSelfStack};
    if (Index >= 6 && Index < 6 + stacks)
        ApplyGalleryMultiBar(stacked[Index - 6]);
    else if (Index == 6 + stacks)
        ApplyGalleryMultiBar(mbSide);
    else if (Index == 7 + stacks)
        ApplyGalleryMultiBar(mbSideAll);
}

void TCustomBarSeries::ApplyGalleryMultiBar(TMultiBar Style)
{
    TCustomAxisPanel* chart = ParentChart();
    if (chart != nullptr && chart->SeriesCount() == 1) {
        TComponent* owner = Owner() != nullptr ? Owner() : chart;
        auto* partner = dynamic_cast<TCustomBarSeries*>(ClassInfo()->CreateComponent(owner));
        if (partner != nullptr) {
            partner->SetName(NumberedSeriesName(owner));
            partner->SetTitle("");
            partner->Marks()->Hide();
            partner->SetBarWidthPercent(FBarWidthPercent);
            chart->AddSeries(partner);
            partner->FillSampleValues(2);
        }
    }
    SetMultiBar(Style);
}
