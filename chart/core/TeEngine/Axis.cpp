#include "TeEngine/Axis.h"

#include "TeEngine/AxisPanel.h"
#include "TeEngine/Exceptions.h"
#include "TeEngine/Series.h"
#include "TeEngine/Tools.h"
#include "TeeConst.h"
#include "system/ScopeGuard.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <limits>


// ---- published properties ----------------------------------------------------------

BEGIN_CLASS_INFO(TChartAxisPen, TChartPen)
    .Int("Width", &TPen::Width, &TPen::SetWidth).Within(-MaxStoredPixels, MaxStoredPixels).Default(2)
END_CLASS_INFO

BEGIN_CLASS_INFO(TAxisGridPen, TDottedGrayPen)
    .Float("ZPosition", &TAxisGridPen::ZPosition, &TAxisGridPen::SetZPosition)
        .Within(-MaxStoredPercent, MaxStoredPercent)
        .Stored(&TAxisGridPen::IsZPositionStored)
END_CLASS_INFO

BEGIN_CLASS_INFO(TChartAxisTitle, TTeeCustomShape)
    .Int("Angle", &TChartAxisTitle::Angle, &TChartAxisTitle::SetAngle)
        .Within(-MaxStoredDegrees, MaxStoredDegrees).Stored(&TChartAxisTitle::IsAngleStored)
    .Str("Caption", &TChartAxisTitle::Caption, &TChartAxisTitle::SetCaption)
END_CLASS_INFO

BEGIN_CLASS_INFO(TChartAxis, TCollectionItem)
    .ItemFactory()
    .Bool("Automatic", &TChartAxis::Automatic, &TChartAxis::SetAutomatic).Default(true)
    .Bool("AutomaticMaximum", &TChartAxis::AutomaticMaximum, &TChartAxis::SetAutomaticMaximum).Default(true)
    .Bool("AutomaticMinimum", &TChartAxis::AutomaticMinimum, &TChartAxis::SetAutomaticMinimum).Default(true)
    .Object("Axis", &TChartAxis::Axis)
    .Str("AxisValuesFormat", &TChartAxis::AxisValuesFormat, &TChartAxis::SetAxisValuesFormat)
        .Stored(&TChartAxis::IsAxisValuesFormatStored)
    .Str("DateTimeFormat", &TChartAxis::DateTimeFormat, &TChartAxis::SetDateTimeFormat)
    .Float("EndPosition", &TChartAxis::EndPosition, &TChartAxis::SetEndPosition)
        .Within(-MaxStoredPercent, MaxStoredPercent).Stored(&TChartAxis::IsEndPositionStored)
    .Bool("ExactDateTime", &TChartAxis::ExactDateTime, &TChartAxis::SetExactDateTime).Default(true)
    .Object("Grid", &TChartAxis::Grid)
    .Bool("GridCentered", &TChartAxis::GridCentered, &TChartAxis::SetGridCentered).Default(false)
    .Bool("Horizontal", &TChartAxis::Horizontal, &TChartAxis::SetHorizontal).Stored(&TChartAxis::IsHorizontalStored)
    .Float("Increment", &TChartAxis::Increment, &TChartAxis::SetIncrement).Default(0)
    .Bool("Inverted", &TChartAxis::Inverted, &TChartAxis::SetInverted).Default(false)
    .Bool("Labels", &TChartAxis::Labels, &TChartAxis::SetLabels).Default(true)
    .Enum("LabelsAlign", &TChartAxis::LabelsAlign, &TChartAxis::SetLabelsAlign, {"alDefault", "alOpposite"})
        .Default(alDefault)
    .Bool("LabelsAlternate", &TChartAxis::LabelsAlternate, &TChartAxis::SetLabelsAlternate).Default(false)
    .Int("LabelsAngle", &TChartAxis::LabelsAngle, &TChartAxis::SetLabelsAngle).Default(0)
    .Bool("LabelsExponent", &TChartAxis::LabelsExponent, &TChartAxis::SetLabelsExponent).Default(false)
    .Object("LabelsFont", &TChartAxis::LabelsFont)
    .Bool("LabelsMultiLine", &TChartAxis::LabelsMultiLine, &TChartAxis::SetLabelsMultiLine).Default(false)
    .Bool("LabelsOnAxis", &TChartAxis::LabelsOnAxis, &TChartAxis::SetLabelsOnAxis).Default(true)
    .Int("LabelsSeparation", &TChartAxis::LabelsSeparation, &TChartAxis::SetLabelsSeparation)
        .Within(-MaxStoredPercent, MaxStoredPercent).Default(10)
    .Int("LabelsSize", &TChartAxis::LabelsSize, &TChartAxis::SetLabelsSize)
        .Within(-MaxStoredPixels, MaxStoredPixels).Default(0)
    .Enum("LabelStyle", &TChartAxis::LabelStyle, &TChartAxis::SetLabelStyle,
          {"talAuto", "talNone", "talValue", "talMark", "talText"}).Default(talAuto)
    .Bool("Logarithmic", &TChartAxis::Logarithmic, &TChartAxis::SetLogarithmic).Default(false)
    .Float("LogarithmicBase", &TChartAxis::LogarithmicBase, &TChartAxis::SetLogarithmicBase).Stored(&TChartAxis::IsLogarithmicBaseStored)
    .Float("Maximum", &TChartAxis::Maximum, &TChartAxis::SetMaximum).Stored(&TChartAxis::IsMaximumStored)
    .Int("MaximumOffset", &TChartAxis::MaximumOffset, &TChartAxis::SetMaximumOffset)
        .Within(-MaxStoredPixels, MaxStoredPixels).Default(0)
    .Float("Minimum", &TChartAxis::Minimum, &TChartAxis::SetMinimum).Stored(&TChartAxis::IsMinimumStored)
    .Int("MinimumOffset", &TChartAxis::MinimumOffset, &TChartAxis::SetMinimumOffset)
        .Within(-MaxStoredPixels, MaxStoredPixels).Default(0)
    .Object("MinorGrid", &TChartAxis::MinorGrid)
    .Int("MinorTickCount", &TChartAxis::MinorTickCount, &TChartAxis::SetMinorTickCount).Default(3)
    .Int("MinorTickLength", &TChartAxis::MinorTickLength, &TChartAxis::SetMinorTickLength)
        .Within(-MaxStoredPixels, MaxStoredPixels).Default(2)
    .Object("MinorTicks", &TChartAxis::MinorTicks)
    .Bool("OtherSide", &TChartAxis::OtherSide, &TChartAxis::SetOtherSide).Stored(&TChartAxis::IsOtherSideStored)
    .Float("PositionPercent", &TChartAxis::PositionPercent, &TChartAxis::SetPositionPercent)
        .Within(-MaxStoredPercent, MaxStoredPercent).Stored(&TChartAxis::IsPositionPercentStored)
    .Enum("PositionUnits", &TChartAxis::PositionUnits, &TChartAxis::SetPositionUnits, {"muPercent", "muPixels"})
        .Default(muPercent)
    .Bool("RoundFirstLabel", &TChartAxis::RoundFirstLabel, &TChartAxis::SetRoundFirstLabel).Default(true)
    .Float("StartPosition", &TChartAxis::StartPosition, &TChartAxis::SetStartPosition)
        .Within(-MaxStoredPercent, MaxStoredPercent).Stored(&TChartAxis::IsStartPositionStored)
    .Int("TickInnerLength", &TChartAxis::TickInnerLength, &TChartAxis::SetTickInnerLength)
        .Within(-MaxStoredPixels, MaxStoredPixels).Default(0)
    .Int("TickLength", &TChartAxis::TickLength, &TChartAxis::SetTickLength)
        .Within(-MaxStoredPixels, MaxStoredPixels).Default(4)
    .Bool("TickOnLabelsOnly", &TChartAxis::TickOnLabelsOnly, &TChartAxis::SetTickOnLabelsOnly).Default(true)
    .Object("Ticks", &TChartAxis::Ticks)
    .Object("TicksInner", &TChartAxis::TicksInner)
    .Object("Title", &TChartAxis::Title)
    .Int("TitleSize", &TChartAxis::TitleSize, &TChartAxis::SetTitleSize)
        .Within(-MaxStoredPixels, MaxStoredPixels).Default(0)
    .Bool("Visible", &TChartAxis::Visible, &TChartAxis::SetVisible).Default(true)
    .Float("ZPosition", &TChartAxis::ZPosition, &TChartAxis::SetZPosition)
        .Within(-MaxStoredPercent, MaxStoredPercent).Stored(&TChartAxis::IsZPositionStored)
    .Event("OnDrawLabel")
END_CLASS_INFO

BEGIN_CLASS_INFO(TChartDepthAxis, TChartAxis)
    .Bool("Visible", &TChartAxis::Visible, &TChartAxis::SetVisible).Default(false)
END_CLASS_INFO

BEGIN_CLASS_INFO(TChartCustomAxes, TCollection)
END_CLASS_INFO

int MaxPixelPos = 67108863;
const char TeeLineSeparator = '\r';

int ClampPixel(int64_t v)
{
    return int(std::clamp<int64_t>(v, INT_MIN / 2, INT_MAX / 2));
}

std::vector<std::string> SplitTextLines(const std::string& Text)
{
    std::vector<std::string> lines;
    size_t start = 0;
    for (;;) {
        const size_t i = Text.find(TeeLineSeparator, start);
        lines.push_back(Text.substr(start, i == std::string::npos ? std::string::npos : i - start));
        if (i == std::string::npos)
            return lines;
        start = i + 1;
    }
}

// ---- pens and title ---------------------------------------------------------------------

TChartAxisPen::TChartAxisPen(TNotifyEvent onChange) : TChartPen(std::move(onChange))
{
    SetWidth(2);
}

void TAxisGridPen::SetCentered(bool v)
{
    if (FCentered != v) {
        FCentered = v;
        Changed();
    }
}

void TAxisGridPen::SetZPosition(double v)
{
    if (FZPosition != v) {
        FZPosition = v;
        Changed();
    }
}

void TAxisGridPen::Assign(TPersistent* Source)
{
    if (auto* g = dynamic_cast<TAxisGridPen*>(Source)) {
        AssignOwnProperties(this, g, TAxisGridPen::StaticClassInfo());
        FCentered = g->FCentered;   // the axis publishes it as GridCentered
    }
    TDottedGrayPen::Assign(Source);
}

TChartAxisTitle::TChartAxisTitle(TCustomTeePanel* AOwner) : TTeeCustomShape(AOwner)
{
    // The caption stands on the chart's background unless a frame is asked for.
    SetDefaultTransparent(true);
}

void TChartAxisTitle::SetAngle(int v)
{
    v %= 360;
    if (v < 0)
        v += 360;
    if (FAngle != v) {
        FAngle = v;
        Repaint();
    }
}

void TChartAxisTitle::SetCaption(const std::string& v)
{
    if (FCaption != v) {
        FCaption = v;
        Repaint();
    }
}

void TChartAxisTitle::Assign(TPersistent* Source)
{
    if (auto* t = dynamic_cast<TChartAxisTitle*>(Source))
        AssignOwnProperties(this, t, TChartAxisTitle::StaticClassInfo());
    TTeeCustomShape::Assign(Source);
}

// ---- custom labels ---------------------------------------------------------------------

TAxisItem::TAxisItem(TCustomTeePanel* Chart, TAxisItems* Owner) : TTeeCustomShape(Chart), FItems(Owner)
{
    SetDefaultTransparent(true);
}

void TAxisItem::SetValue(double v)
{
    if (FValue != v) {
        FValue = v;
        Repaint();
    }
}

void TAxisItem::SetText(const std::string& v)
{
    if (FText != v) {
        FText = v;
        Repaint();
    }
}

TAxisItems::TAxisItems(TCustomTeePanel* Chart) : FChart(Chart), FFormat(std::make_unique<TTeeShape>(Chart))
{
    FFormat->SetTransparent(true);
}

TAxisItems::~TAxisItems() = default;

TAxisItem* TAxisItems::Item(int Index) const
{
    if (Index < 0 || Index >= Count())
        throw ERangeError();
    return FItems[static_cast<size_t>(Index)].get();
}

TAxisItem* TAxisItems::Add(double Value)
{
    FItems.push_back(std::make_unique<TAxisItem>(FChart, this));
    TAxisItem* item = FItems.back().get();
    item->SetValue(Value);
    return item;
}

TAxisItem* TAxisItems::AddText(double Value, const std::string& Text)
{
    TAxisItem* item = Add(Value);
    item->SetText(Text);
    return item;
}

void TAxisItems::Clear()
{
    FItems.clear();
    if (FChart != nullptr)
        FChart->RequestRepaint();
}

// By hand: the custom labels are a list that no table holds.
void TAxisItems::Assign(TPersistent* Source)
{
    auto* other = dynamic_cast<TAxisItems*>(Source);
    if (other == nullptr) {
        TPersistent::Assign(Source);
        return;
    }
    if (other == this)
        return;
    FFormat->Assign(other->FFormat.get());
    Clear();
    for (const auto& item : other->FItems)
        AddText(item->Value(), item->Text());
}

// ---- axis: construction ---------------------------------------------------------------------

namespace {

TCustomAxisPanel* ChartOfCollection(TCollection* Collection)
{
    return Collection != nullptr ? dynamic_cast<TCustomAxisPanel*>(Collection->GetOwner()) : nullptr;
}

// Rounds a pixel offset that may be unbounded to the nearest value that fits 32 bits.
int SaturatedPixel(double X)
{
    constexpr double lo = std::numeric_limits<int>::min();
    constexpr double hi = std::numeric_limits<int>::max();
    if (std::isnan(X))
        return 0;
    if (X <= lo)
        return std::numeric_limits<int>::min();
    if (X >= hi)
        return std::numeric_limits<int>::max();
    return static_cast<int>(Round(X));
}

// Whether Chart is being read from a stream, or loading.
bool ChartReading(const TCustomAxisPanel* Chart)
{
    return Chart != nullptr && (Chart->ComponentState() & csReading) != 0;
}

bool ChartLoading(const TCustomAxisPanel* Chart)
{
    return Chart != nullptr && Chart->IsLoading();
}

}  // namespace

TChartAxis::TChartAxis(TCollection* Collection) : TCollectionItem(Collection)
{
    Init(ChartOfCollection(Collection));
}

TChartAxis::TChartAxis(TCustomAxisPanel* Chart) : TCollectionItem(nullptr)
{
    Init(Chart);
}

void TChartAxis::Init(TCustomAxisPanel* Chart)
{
    FParentChart = Chart;
    TNotifyEvent repaint = [this](TObject*) { Repaint(); };
    FAxis = std::make_unique<TChartAxisPen>(repaint);
    FTitle = std::make_unique<TChartAxisTitle>(Chart);
    FGrid = std::make_unique<TAxisGridPen>(repaint);
    FItems = std::make_unique<TAxisItems>(Chart);
    FMinorGrid = std::make_unique<TChartHiddenPen>(repaint);
    FMinorTicks = std::make_unique<TDarkGrayPen>(repaint);
    FTicks = std::make_unique<TDarkGrayPen>(repaint);
    FTicksInner = std::make_unique<TDarkGrayPen>(repaint);
    if (Chart != nullptr) {
        Chart->Axes()->FChart = Chart;
        Chart->Axes()->FItems.push_back(this);
    }
    SetCalcFunctions();
}

TChartAxis::~TChartAxis()
{
    if (FParentChart == nullptr)
        return;
    // Series drawn against this axis go back to the standard axes.
    for (int t = 0; t < FParentChart->SeriesCount(); ++t) {
        TChartSeries* s = FParentChart->Series(t);
        if (s->CustomHorizAxis() == this)
            s->SetCustomHorizAxis(nullptr);
        if (s->CustomVertAxis() == this)
            s->SetCustomVertAxis(nullptr);
    }
    // Axis tools bound to this axis let it go (the tools list is gone when the chart ends).
    if (TChartTools* tools = FParentChart->Tools())
        tools->AxisRemoved(this);
    FParentChart->AxisFreed(this);
    // Custom axes that follow this one lose their master.
    for (TChartAxis* a : FParentChart->Axes()->FItems)
        if (a->FMasterAxis == this)
            a->FMasterAxis = nullptr;
    auto& items = FParentChart->Axes()->FItems;
    items.erase(std::remove(items.begin(), items.end(), this), items.end());
}

// ---- helpers -----------------------------------------------------------------------------

void TChartAxis::Repaint()
{
    if (FParentChart != nullptr)
        FParentChart->RequestRepaint();
}

bool TChartAxis::IsCustom() const
{
    return FParentChart != nullptr && FParentChart->Axes()->IndexOf(this) >= 6;
}

bool TChartAxis::IsAxisValuesFormatStored() const
{
    return FLabelSettings.ValuesFormat != DefaultAxisValuesFormat;
}

bool TChartAxis::IsZPositionStored() const
{
    if (FPlace.IsDepthAxis)
        return false;
    return FPlace.OtherSide ? FPlace.ZPosition != 100 : FPlace.ZPosition > 0.011;
}

// ---- range setters ----------------------------------------------------------------------

void TChartAxis::SetAutomatic(bool v)
{
    SetAndRepaint(FRange.Automatic, v);
    if (!ChartLoading(FParentChart)) {
        FRange.AutomaticMinimum = v;
        FRange.AutomaticMaximum = v;
    }
}

void TChartAxis::SetAutomaticMaximum(bool v)
{
    SetAndRepaint(FRange.AutomaticMaximum, v);
    if (!v)
        FRange.Automatic = false;
    else if (FRange.AutomaticMinimum)
        FRange.Automatic = true;
}

void TChartAxis::SetAutomaticMinimum(bool v)
{
    SetAndRepaint(FRange.AutomaticMinimum, v);
    if (!v)
        FRange.Automatic = false;
    else if (FRange.AutomaticMaximum)
        FRange.Automatic = true;
}

void TChartAxis::SetIncrement(double v)
{
    // NaN is refused with negative values: it would make every step computation fail.
    if (!(v >= 0))
        throw AxisException(TeeMsg_AxisIncrementNeg);
    SetAndRepaint(FSteps.Increment, v);
}

void TChartAxis::SetMaximum(double v)
{
    if (!ChartReading(FParentChart) && v < FRange.Minimum)
        throw AxisException(TeeMsg_AxisMaxMin);
    SetAndRepaint(FRange.Maximum, v);
}

void TChartAxis::SetMinimum(double v)
{
    if (!ChartReading(FParentChart) && v > FRange.Maximum)
        throw AxisException(TeeMsg_AxisMinMax);
    SetAndRepaint(FRange.Minimum, v);
}

void TChartAxis::SetFixedRange(double AMin, double AMax)
{
    // Masters that follow each other in a ring stop at the axis that started.
    if (FInFixedRange)
        return;
    auto reset = RestoreOnExit(FInFixedRange);
    FInFixedRange = true;
    FRange.Automatic = false;
    FRange.AutomaticMaximum = false;
    FRange.AutomaticMinimum = false;
    if (AMin > AMax)
        std::swap(AMin, AMax);
    SetAndRepaint(FRange.Minimum, AMin);
    SetAndRepaint(FRange.Maximum, AMax);
    if (FRange.Maximum - FRange.Minimum < 1e-10)
        SetAndRepaint(FRange.Maximum, FRange.Minimum + 1e-10);
    if (FParentChart != nullptr)
        FParentChart->CustomAxes()->PropagateMinMax(this);
}

void TChartAxis::SetLogarithmicBase(double v)
{
    if (v == 1 || !(v > 0))
        throw AxisException(TeeMsg_AxisLogBase);
    SetAndRepaint(FSteps.LogarithmicBase, v);
}

void TChartAxis::SetLogarithmic(bool v)
{
    if (v) {
        if (IsDateTimeAxis())
            throw AxisException(TeeMsg_AxisLogDateTime);
        RefreshRange();
        if (FMap.Minimum < 0 || FMap.Maximum < 0)
            throw AxisException(TeeMsg_AxisLogNotPositive);
    }
    SetAndRepaint(FSteps.Logarithmic, v);
    SetCalcFunctions();
}

void TChartAxis::SetMaximumOffset(int v) { SetAndRepaint(FPlace.MaximumOffset, v); }
void TChartAxis::SetMinimumOffset(int v) { SetAndRepaint(FPlace.MinimumOffset, v); }
void TChartAxis::SetInverted(bool v)
{
    SetAndRepaint(FPlace.Inverted, v);
    SetCalcFunctions();
}

// ---- place setters -------------------------------------------------------------------------

void TChartAxis::SetHorizontal(bool v)
{
    SetAndRepaint(FPlace.Horizontal, v);
    SetCalcFunctions();
}

void TChartAxis::SetOtherSide(bool v) { SetAndRepaint(FPlace.OtherSide, v); }
void TChartAxis::SetVisible(bool v) { SetAndRepaint(FPlace.Visible, v); }
void TChartAxis::SetStartPosition(double v) { SetAndRepaint(FPlace.StartPosition, v); }
void TChartAxis::SetEndPosition(double v) { SetAndRepaint(FPlace.EndPosition, v); }
void TChartAxis::SetPositionPercent(double v) { SetAndRepaint(FPlace.PositionPercent, v); }

void TChartAxis::SetPositionUnits(TTeeUnits v) { SetAndRepaint(FPlace.PositionUnits, v); }

void TChartAxis::SetZPosition(double v)
{
    // A depth of 0 is stored as 0.01.
    SetAndRepaint(FPlace.ZPosition, v == 0 ? 0.01 : v);
}

void TChartAxis::SetIsDepthAxis(bool v)
{
    FPlace.IsDepthAxis = v;
    SetCalcFunctions();
}

void TChartAxis::SetTitleSize(int v) { SetAndRepaint(FPlace.TitleSize, v); }
void TChartAxis::SetMinorTickCount(int v) { SetAndRepaint(FTickSettings.MinorCount, v); }
void TChartAxis::SetMinorTickLength(int v) { SetAndRepaint(FTickSettings.MinorLength, v); }
void TChartAxis::SetTickInnerLength(int v) { SetAndRepaint(FTickSettings.InnerLength, v); }
void TChartAxis::SetTickLength(int v) { SetAndRepaint(FTickSettings.Length, v); }
void TChartAxis::SetTickOnLabelsOnly(bool v) { SetAndRepaint(FTickSettings.OnLabelsOnly, v); }

// ---- label setters --------------------------------------------------------------------------

void TChartAxis::SetLabelsAlign(TAxisLabelAlign v) { SetAndRepaint(FLabelSettings.Align, v); }

void TChartAxis::SetLabelsAlternate(bool v) { SetAndRepaint(FLabelSettings.Alternate, v); }

void TChartAxis::SetLabelsAngle(int v)
{
    v %= 360;
    if (v < 0)
        v += 360;
    SetAndRepaint(FLabelSettings.Angle, v);
}

void TChartAxis::SetLabelsOnAxis(bool v) { SetAndRepaint(FLabelSettings.OnAxis, v); }

void TChartAxis::SetLabelsSeparation(int v)
{
    if (v < 0)
        throw AxisException(TeeMsg_AxisLabelSep);
    SetAndRepaint(FSteps.LabelsSeparation, v);
}

void TChartAxis::SetLabelsSize(int v) { SetAndRepaint(FLabelSettings.Size, v); }

void TChartAxis::SetLabelStyle(TAxisLabelStyle v) { SetAndRepaint(FLabelSettings.Style, v); }

void TChartAxis::SetLabelsExponent(bool v) { SetAndRepaint(FLabelSettings.Exponent, v); }
void TChartAxis::SetLabelsMultiLine(bool v) { SetAndRepaint(FLabelSettings.MultiLine, v); }

void TChartAxis::SetAxisValuesFormat(const std::string& v) { SetAndRepaint(FLabelSettings.ValuesFormat, v); }

void TChartAxis::SetDateTimeFormat(const std::string& v) { SetAndRepaint(FLabelSettings.DateTimeFormat, v); }

void TChartAxis::SetExactDateTime(bool v) { SetAndRepaint(FLabelSettings.ExactDateTime, v); }
void TChartAxis::SetRoundFirstLabel(bool v) { SetAndRepaint(FLabelSettings.RoundFirstLabel, v); }

// ---- range and scale ----------------------------------------------------------------------

bool TChartAxis::IsDateTimeAxis() const
{
    if (FParentChart == nullptr)
        return false;
    for (int t = 0; t < FParentChart->SeriesCount(); ++t) {
        TChartSeries* s = FParentChart->Series(t);
        if (!s->Active())
            continue;
        if (TChartValueList* list = s->ValueListForAxis(const_cast<TChartAxis*>(this)))
            return list->DateTime();
    }
    return false;
}

void TChartAxis::CalcAutomaticMinMax(double& AMin, double& AMax)
{
    if (FParentChart == nullptr)
        return;
    if (FRange.Automatic || FRange.AutomaticMaximum)
        AMax = FParentChart->MinMaxValue(this, false, FPlace.Horizontal);
    if (FRange.Automatic || FRange.AutomaticMinimum)
        AMin = FParentChart->MinMaxValue(this, true, FPlace.Horizontal);
}

void TChartAxis::RefreshRange()
{
    CalcAutomaticMinMax(FRange.Minimum, FRange.Maximum);
    FMap.Minimum = FRange.Minimum;
    FMap.Maximum = FRange.Maximum;
    RecalcScale();
}

void TChartAxis::SetRangeInUse(double AMin, double AMax)
{
    FMap.Minimum = AMin;
    FMap.Maximum = AMax;
    RecalcScale();
}

void TChartAxis::RecalcScale()
{
    FMap.Rescale();
    int size = 0;
    if (FParentChart != nullptr)
        size = FPlace.IsDepthAxis ? FParentChart->ChartHeight : FParentChart->Width3D;
    IZPos = static_cast<int>(Round(size * FPlace.ZPosition * 0.01));
}

void TChartAxis::CalcPositions()
{
    int origin = 0;
    int length = 0;
    if (FParentChart != nullptr) {
        if (FPlace.IsDepthAxis) {
            length = FParentChart->Width3D;
        } else if (FPlace.Horizontal) {
            origin = FParentChart->ChartRect.Left;
            length = FParentChart->ChartWidth;
        } else {
            origin = FParentChart->ChartRect.Top;
            length = FParentChart->ChartHeight;
        }
    }
    FMap.SetPixels(origin + static_cast<int>(Round(length * 0.01 * FPlace.StartPosition)),
                   origin + static_cast<int>(Round(length * 0.01 * FPlace.EndPosition)));
    RecalcScale();
}

void TChartAxis::FitToRect(const TRect& R)
{
    const int a = FPlace.Horizontal ? R.Left : R.Top;
    const int b = FPlace.Horizontal ? R.Right : R.Bottom;
    const int oldStart = FMap.StartPos;
    const int oldEnd = FMap.EndPos;
    // Margins that would leave the axis no pixels (huge pointers, an empty bar series'
    // room for a bar as wide as the axis) are left out, so the values keep the axis.
    if (a + b >= oldEnd - oldStart)
        return;
    FMap.StartPos += a;
    FMap.EndPos -= b;
    FMap.AxisSize = FMap.EndPos - FMap.StartPos;
    // Values at the old end pixels, with the new pixels and the old range.
    const double vA = ValueAtPixel(oldStart);
    const double vB = ValueAtPixel(oldEnd);
    // A range near the largest double has no room for margins: it stays as it is.
    if (!std::isfinite(vA) || !std::isfinite(vB) || !std::isfinite(vB - vA)) {
        FMap.StartPos = oldStart;
        FMap.EndPos = oldEnd;
        FMap.AxisSize = oldEnd - oldStart;
        return;
    }
    FMap.Maximum = vB;
    FMap.Minimum = vA;
    if (FMap.Minimum > FMap.Maximum)
        std::swap(FMap.Minimum, FMap.Maximum);
    // The axis keeps its whole extent: the wider range puts the old range's ends the
    // margins inside it, once (the narrower pixels served only to find that range).
    FMap.StartPos = oldStart;
    FMap.EndPos = oldEnd;
    FMap.AxisSize = oldEnd - oldStart;
    RecalcScale();
}

void TChartAxis::Scroll(double Offset, bool CheckLimits)
{
    bool go = !CheckLimits;
    if (CheckLimits && FParentChart != nullptr) {
        if (Offset > 0)
            go = FParentChart->MinMaxValue(this, false, FPlace.Horizontal) > FRange.Maximum;
        else if (Offset < 0)
            go = FParentChart->MinMaxValue(this, true, FPlace.Horizontal) < FRange.Minimum;
    }
    if (!go)
        return;
    FRange.Automatic = false;
    FRange.AutomaticMaximum = false;
    FRange.AutomaticMinimum = false;
    FRange.Maximum += Offset;
    FRange.Minimum += Offset;
    Repaint();
}

void TChartAxis::SetCalcFunctions()
{
    if (FPlace.IsDepthAxis)
        FMap.Kind = TAxisCalcKind::Depth;
    else if (FSteps.Logarithmic)
        FMap.Kind = TAxisCalcKind::Logarithmic;
    else if (FParentChart != nullptr && FParentChart->Axes()->FastCalc())
        FMap.Kind = TAxisCalcKind::LinearUnclamped;
    else
        FMap.Kind = TAxisCalcKind::LinearClamped;
    FMap.Horizontal = FPlace.Horizontal;
    FMap.Inverted = FPlace.Inverted;
    FMap.Logarithmic = FSteps.Logarithmic;
}

// ---- conversions --------------------------------------------------------------------------

int TChartAxis::SideCoordinate(const TRect& R) const
{
    if (FPlace.Horizontal)
        return FPlace.OtherSide ? R.Top : R.Bottom;
    return FPlace.OtherSide ? R.Right : R.Left;
}

int TChartAxis::ApplyPosition(int P, const TRect& R) const
{
    if (FPlace.PositionPercent == 0)
        return P;
    int offset;
    if (FPlace.PositionUnits == muPixels) {
        offset = SaturatedPixel(FPlace.PositionPercent);
    } else {
        const int extent = FPlace.Horizontal ? R.Bottom - R.Top : R.Right - R.Left;
        offset = SaturatedPixel(0.01 * FPlace.PositionPercent * extent);
    }
    if (FPlace.OtherSide)
        offset = -offset;
    if (FPlace.Horizontal)
        offset = -offset;
    return P + offset;
}

int TChartAxis::DepthAxisPos() const
{
    if (FParentChart == nullptr)
        return 0;
    return FPlace.OtherSide ? FParentChart->ChartRect.Bottom - IZPos : FParentChart->ChartRect.Top + IZPos;
}

TRect TChartAxis::AxisRect() const
{
    const int a = std::min(FMap.StartPos, FMap.EndPos);
    const int b = std::max(FMap.StartPos, FMap.EndPos);
    int c;
    int d;
    if (PosLabels >= PosAxis) {
        c = PosAxis - 3;
        d = PosLabels;
    } else {
        c = PosLabels;
        d = PosAxis + 3;
    }
    return FPlace.Horizontal ? TRect(a, c, b, d) : TRect(c, a, d, b);
}

bool TChartAxis::Clicked(int X, int Y) const
{
    if (FParentChart == nullptr || !FParentChart->IsAxisVisible(this))
        return false;
    const TRect r = AxisRect();
    return X >= r.Left && X < r.Right && Y >= r.Top && Y < r.Bottom;
}

// ---- assign -----------------------------------------------------------------------------

// By field: the range setters check each end against the other and the scale setters
// recompute, so both ends and the scale are taken at once and recomputed once.
void TChartAxis::Assign(TPersistent* Source)
{
    auto* a = dynamic_cast<TChartAxis*>(Source);
    if (a == nullptr) {
        TCollectionItem::Assign(Source);
        return;
    }
    if (a == this)
        return;
    FAxis->Assign(a->FAxis.get());
    FItems->Assign(a->FItems.get());
    FTicks->Assign(a->FTicks.get());
    FTicksInner->Assign(a->FTicksInner.get());
    FGrid->Assign(a->FGrid.get());
    FMinorTicks->Assign(a->FMinorTicks.get());
    FMinorGrid->Assign(a->FMinorGrid.get());
    FTitle->Assign(a->FTitle.get());
    FRange = a->FRange;
    FSteps = a->FSteps;
    FLabelSettings = a->FLabelSettings;
    FTickSettings = a->FTickSettings;
    FPlace = a->FPlace;
    // The copied scale and orientation need their own conversions.
    SetCalcFunctions();
}

// ---- depth axis --------------------------------------------------------------------------

TChartDepthAxis::TChartDepthAxis(TCustomAxisPanel* Chart) : TChartAxis(Chart)
{
    SetVisible(false);
    SetIsDepthAxis(true);
}

TAxisLabelStyle TChartDepthAxis::AutoLabelStyle()
{
    TCustomAxisPanel* chart = ParentChart();
    if (chart == nullptr)
        return talText;
    for (int t = 0; t < chart->SeriesCount(); ++t) {
        TChartSeries* s = chart->Series(t);
        if (!s->Active())
            continue;
        if (s->LeastZ() != s->GreatestZ())
            return talValue;
    }
    return talText;
}

void TChartDepthAxis::SetInverted(bool v)
{
    TChartAxis::SetInverted(v);
    TCustomAxisPanel* chart = ParentChart();
    if (chart != nullptr && chart->DepthAxis() != this)
        chart->DepthAxis()->SetInverted(v);
}

// ---- lists ---------------------------------------------------------------------------------

TChartAxis* TChartAxes::Items(int Index) const
{
    if (Index < 0 || Index >= Count())
        throw ERangeError();
    return FItems[static_cast<size_t>(Index)];
}

int TChartAxes::IndexOf(const TChartAxis* Axis) const
{
    for (size_t t = 0; t < FItems.size(); ++t)
        if (FItems[t] == Axis)
            return static_cast<int>(t);
    return -1;
}

TChartAxis* TChartAxes::LeftAxis() const { return FChart != nullptr ? FChart->LeftAxis() : nullptr; }
TChartAxis* TChartAxes::TopAxis() const { return FChart != nullptr ? FChart->TopAxis() : nullptr; }
TChartAxis* TChartAxes::RightAxis() const { return FChart != nullptr ? FChart->RightAxis() : nullptr; }
TChartAxis* TChartAxes::BottomAxis() const { return FChart != nullptr ? FChart->BottomAxis() : nullptr; }
TChartDepthAxis* TChartAxes::DepthAxis() const { return FChart != nullptr ? FChart->DepthAxis() : nullptr; }
TChartDepthAxis* TChartAxes::DepthTopAxis() const { return FChart != nullptr ? FChart->DepthTopAxis() : nullptr; }

bool TChartAxes::Behind() const { return FChart != nullptr && FChart->AxisBehind(); }

void TChartAxes::SetBehind(bool v)
{
    if (FChart != nullptr)
        FChart->SetAxisBehind(v);
}

bool TChartAxes::Visible() const { return FChart != nullptr && FChart->AxisVisible(); }

void TChartAxes::SetVisible(bool v)
{
    if (FChart != nullptr)
        FChart->SetAxisVisible(v);
}

void TChartAxes::Clear()
{
    // The custom axes are the collection's to free; each leaves this list as it goes.
    // Freeing the standard axes here would leave the chart pointing at freed axes.
    if (FChart != nullptr && FChart->CustomAxes() != nullptr)
        FChart->CustomAxes()->Clear();
}

void TChartAxes::SetFastCalc(bool v)
{
    if (FFastCalc == v)
        return;
    FFastCalc = v;
    for (TChartAxis* a : FItems)
        a->SetCalcFunctions();
}

TChartCustomAxes::TChartCustomAxes(TCustomAxisPanel* Chart)
    : TOwnedCollection(Chart, CollectionItemClassOf<TChartAxis>())
{
}

TChartAxis* TChartCustomAxes::Items(int Index) const
{
    return static_cast<TChartAxis*>(TOwnedCollection::Items(Index));
}

void TChartCustomAxes::PropagateMinMax(TChartAxis* Axis)
{
    for (int t = 0; t < Count(); ++t) {
        TChartAxis* a = Items(t);
        if (a != Axis && a->MasterAxis() == Axis)
            a->SetFixedRange(Axis->Minimum(), Axis->Maximum());
    }
}
