// One axis of a chart: its value range (automatic from the series or fixed), linear or
// logarithmic scale, direction, place on the chart, the settings of its increment,
// labels, ticks, grid and title. Its conversions between values and pixels are a scale
// map (AxisMap.h) that it keeps up to date; its settings are values (AxisSettings.h), the
// label step comes from AxisSteps.h, the label texts from AxisLabelFormat.h, the label
// loops from AxisLabelLoop.h; sizing and drawing are in AxisDraw.cpp.
#pragma once

#include "RizUridu.h"
#include "TeEngine/AxisMap.h"
#include "TeEngine/AxisLabelFormat.h"
#include "classes/Collections.h"

#include <functional>
#include <memory>
#include <cmath>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

class TChartAxis;
class TChartSeries;
class TCustomAxisPanel;

// A 64-bit pixel sum brought back into the int range with room to spare, so that sums of
// clamped coordinates cannot overflow either.
int ClampPixel(int64_t v);
// Breaks a label, mark or legend text into lines.
extern const char TeeLineSeparator;
// The lines of a label, mark or legend text: Text split at TeeLineSeparator (at least one).
std::vector<std::string> SplitTextLines(const std::string& Text);

using TAxisDrawLabelEvent =
    std::function<void(TChartAxis* Sender, int X, int Y, int Z, std::string& Text, bool& DrawLabel)>;
using TAxisOnGetLabel =
    std::function<void(TChartAxis* Sender, TChartSeries* Series, int ValueIndex, std::string& LabelText)>;
using TAxisOnGetNextLabel =
    std::function<void(TChartAxis* Sender, int LabelIndex, double& LabelValue, bool& Stop)>;

// The lines of a label text (0 for an empty text).
int CountLabelLines(const std::string& Text);
// The widest line of Text (split at TeeLineSeparator) on the chart's surface with its
// current font, and the number of lines (0 and 0 for an empty text).
int MultiLineTextWidth(TCustomAxisPanel* Chart, const std::string& Text, int& NumLines);

// ---- pens and title ----------------------------------------------------------------

// The axis line pen: Width 2 by default.
class TChartAxisPen : public TChartPen {
public:
    DECLARE_CLASS_INFO(TChartAxisPen)
    explicit TChartAxisPen(TNotifyEvent onChange = nullptr);
};

class TAxisGridPen : public TDottedGrayPen {
public:
    DECLARE_CLASS_INFO(TAxisGridPen)
    using TDottedGrayPen::TDottedGrayPen;

    bool Centered() const { return FCentered; }
    void SetCentered(bool v);
    double ZPosition() const { return FZPosition; }
    void SetZPosition(double v);
    double DefaultZPosition() const { return FDefaultZ; }
    // The panel sets the default (and the value) for the top and right axes.
    void SetDefaultZPosition(double v) { FDefaultZ = v; FZPosition = v; }
    bool IsZPositionStored() const { return FZPosition != FDefaultZ; }
    void Assign(TPersistent* Source) override;

private:
    bool FCentered = false;
    double FZPosition = 0;
    double FDefaultZ = 0;
};

class TChartAxisTitle : public TTeeCustomShape {
public:
    DECLARE_CLASS_INFO(TChartAxisTitle)
    explicit TChartAxisTitle(TCustomTeePanel* AOwner);

    int Angle() const { return FAngle; }
    // Stored modulo 360.
    void SetAngle(int v);
    const std::string& Caption() const { return FCaption; }
    void SetCaption(const std::string& v);
    int DefaultAngle() const { return FDefaultAngle; }
    // The panel's default for the left (90) and right (270) axes; sets the angle too.
    void SetDefaultAngle(int v) { FDefaultAngle = v; FAngle = v; }
    bool IsAngleStored() const { return FAngle != FDefaultAngle; }
    void Assign(TPersistent* Source) override;

private:
    int FAngle = 0;
    int FDefaultAngle = 0;
    std::string FCaption;
};

// ---- custom labels ------------------------------------------------------------------

class TAxisItems;

class TAxisItem : public TTeeCustomShape {
public:
    DECLARE_CLASS_NAME(TAxisItem)
    TAxisItem(TCustomTeePanel* Chart, TAxisItems* Owner);

    double Value() const { return FValue; }
    void SetValue(double v);
    const std::string& Text() const { return FText; }
    void SetText(const std::string& v);
    TAxisItems* Items() const { return FItems; }

private:
    TAxisItems* FItems;
    double FValue = 0;
    std::string FText;
};

// The custom labels of an axis. Its format shape carries the labels' visibility and font.
class TAxisItems : public TPersistent {
public:
    DECLARE_CLASS_NAME(TAxisItems)
    explicit TAxisItems(TCustomTeePanel* Chart);
    ~TAxisItems() override;

    TTeeShape* Format() const { return FFormat.get(); }
    int Count() const { return static_cast<int>(FItems.size()); }
    // ERangeError outside 0..Count-1.
    TAxisItem* Item(int Index) const;
    TAxisItem* Add(double Value);
    TAxisItem* AddText(double Value, const std::string& Text);
    // Frees every item and repaints.
    void Clear();
    // The format, then every item's value and text (not the item formats).
    void Assign(TPersistent* Source) override;

private:
    TCustomTeePanel* FChart;
    std::unique_ptr<TTeeShape> FFormat;
    std::vector<std::unique_ptr<TAxisItem>> FItems;
};

// ---- the axis -------------------------------------------------------------------------

// Where an axis stands on the chart and how its pixels run.
struct TAxisPlacement {
    bool Horizontal = false;
    bool OtherSide = false;        // top or right instead of bottom or left
    bool Inverted = false;
    bool Visible = true;
    double StartPosition = 0;      // percent of the chart's extent along the axis
    double EndPosition = 100;
    double PositionPercent = 0;    // offset across the axis from its side
    TTeeUnits PositionUnits = muPercent;
    double ZPosition = 0;          // percent of the depth
    int MinimumOffset = 0;         // pixels left free at the ends
    int MaximumOffset = 0;
    int TitleSize = 0;             // fixed room of the title in pixels (0: measured)
    bool IsDepthAxis = false;      // one of the chart's two axes along the depth
};

// Called for each label the label loops place: its pixel position along the axis, its
// text and, for a custom label, the item whose format it uses (else nullptr).
using TAxisLabelProc = std::function<void(int Position, const std::string& Text, TAxisItem* Format)>;

class TChartAxis : public TCollectionItem {
public:
    DECLARE_CLASS_INFO(TChartAxis)
    // A custom axis: the chart is the owner of the collection.
    explicit TChartAxis(TCollection* Collection);
    // A standard axis of Chart, outside any collection.
    explicit TChartAxis(TCustomAxisPanel* Chart);
    ~TChartAxis() override;

    TCustomAxisPanel* ParentChart() const { return FParentChart; }

    // ---- range ----
    bool Automatic() const { return FRange.Automatic; }
    void SetAutomatic(bool v);
    bool AutomaticMaximum() const { return FRange.AutomaticMaximum; }
    void SetAutomaticMaximum(bool v);
    bool AutomaticMinimum() const { return FRange.AutomaticMinimum; }
    void SetAutomaticMinimum(bool v);
    double Increment() const { return FSteps.Increment; }
    void SetIncrement(double v);
    double Maximum() const { return FRange.Maximum; }
    void SetMaximum(double v);
    double Minimum() const { return FRange.Minimum; }
    void SetMinimum(double v);
    void SetMinMax(double AMin, double AMax) { SetFixedRange(AMin, AMax); }
    void SetFixedRange(double AMin, double AMax);
    bool Logarithmic() const { return FSteps.Logarithmic; }
    void SetLogarithmic(bool v);
    double LogarithmicBase() const { return FSteps.LogarithmicBase; }
    void SetLogarithmicBase(double v);
    int MaximumOffset() const { return FPlace.MaximumOffset; }
    void SetMaximumOffset(int v);
    int MinimumOffset() const { return FPlace.MinimumOffset; }
    void SetMinimumOffset(int v);
    bool Inverted() const { return FPlace.Inverted; }
    virtual void SetInverted(bool v);

    // ---- place ----
    bool Horizontal() const { return FPlace.Horizontal; }
    void SetHorizontal(bool v);
    bool OtherSide() const { return FPlace.OtherSide; }
    void SetOtherSide(bool v);
    bool Visible() const { return FPlace.Visible; }
    void SetVisible(bool v);
    double StartPosition() const { return FPlace.StartPosition; }
    void SetStartPosition(double v);
    double EndPosition() const { return FPlace.EndPosition; }
    void SetEndPosition(double v);
    double PositionPercent() const { return FPlace.PositionPercent; }
    void SetPositionPercent(double v);
    TTeeUnits PositionUnits() const { return FPlace.PositionUnits; }
    void SetPositionUnits(TTeeUnits v);
    double ZPosition() const { return FPlace.ZPosition; }
    // Stores and repaints; exactly 0 becomes 0.01.
    void SetZPosition(double v);
    bool IsDepthAxis() const { return FPlace.IsDepthAxis; }
    // Set by the panel for the two depth axes; re-chooses the conversions.
    void SetIsDepthAxis(bool v);
    // A custom axis that follows the fixed range of its master.
    TChartAxis* MasterAxis() const { return FMasterAxis; }
    void SetMasterAxis(TChartAxis* v) { FMasterAxis = v; }

    // ---- pens and title ----
    TChartAxisPen* Axis() const { return FAxis.get(); }
    void SetAxis(TChartPen* v) { FAxis->Assign(v); }
    TAxisGridPen* Grid() const { return FGrid.get(); }
    void SetGrid(TChartPen* v) { FGrid->Assign(v); }
    bool GridCentered() const { return FGrid->Centered(); }
    void SetGridCentered(bool v) { FGrid->SetCentered(v); }
    TChartHiddenPen* MinorGrid() const { return FMinorGrid.get(); }
    void SetMinorGrid(TChartPen* v) { FMinorGrid->Assign(v); }
    TDarkGrayPen* MinorTicks() const { return FMinorTicks.get(); }
    void SetMinorTicks(TChartPen* v) { FMinorTicks->Assign(v); }
    TDarkGrayPen* Ticks() const { return FTicks.get(); }
    void SetTicks(TChartPen* v) { FTicks->Assign(v); }
    TDarkGrayPen* TicksInner() const { return FTicksInner.get(); }
    void SetTicksInner(TChartPen* v) { FTicksInner->Assign(v); }
    TChartAxisTitle* Title() const { return FTitle.get(); }
    void SetTitle(TChartAxisTitle* v) { FTitle->Assign(v); }
    int TitleSize() const { return FPlace.TitleSize; }
    void SetTitleSize(int v);
    int MinorTickCount() const { return FTickSettings.MinorCount; }
    void SetMinorTickCount(int v);
    int MinorTickLength() const { return FTickSettings.MinorLength; }
    void SetMinorTickLength(int v);
    int TickInnerLength() const { return FTickSettings.InnerLength; }
    void SetTickInnerLength(int v);
    int TickLength() const { return FTickSettings.Length; }
    void SetTickLength(int v);
    bool TickOnLabelsOnly() const { return FTickSettings.OnLabelsOnly; }
    void SetTickOnLabelsOnly(bool v);

    // ---- labels ----
    TAxisItems* Items() const { return FItems.get(); }
    bool Labels() const { return FItems->Format()->Visible(); }
    void SetLabels(bool v) { FItems->Format()->SetVisible(v); }
    TTeeFont* LabelsFont() const { return FItems->Format()->Font(); }
    void SetLabelsFont(TTeeFont* v) { FItems->Format()->SetFont(v); }
    TAxisLabelAlign LabelsAlign() const { return FLabelSettings.Align; }
    void SetLabelsAlign(TAxisLabelAlign v);
    bool LabelsAlternate() const { return FLabelSettings.Alternate; }
    void SetLabelsAlternate(bool v);
    int LabelsAngle() const { return FLabelSettings.Angle; }
    // Stored modulo 360.
    void SetLabelsAngle(int v);
    bool LabelsOnAxis() const { return FLabelSettings.OnAxis; }
    void SetLabelsOnAxis(bool v);
    int LabelsSeparation() const { return FSteps.LabelsSeparation; }
    // AxisException for a negative value; 0 is accepted.
    void SetLabelsSeparation(int v);
    int LabelsSize() const { return FLabelSettings.Size; }
    void SetLabelsSize(int v);
    TAxisLabelStyle LabelStyle() const { return FLabelSettings.Style; }
    void SetLabelStyle(TAxisLabelStyle v);
    bool LabelsExponent() const { return FLabelSettings.Exponent; }
    void SetLabelsExponent(bool v);
    bool LabelsMultiLine() const { return FLabelSettings.MultiLine; }
    void SetLabelsMultiLine(bool v);
    const std::string& AxisValuesFormat() const { return FLabelSettings.ValuesFormat; }
    void SetAxisValuesFormat(const std::string& v);
    const std::string& DateTimeFormat() const { return FLabelSettings.DateTimeFormat; }
    void SetDateTimeFormat(const std::string& v);
    bool ExactDateTime() const { return FLabelSettings.ExactDateTime; }
    void SetExactDateTime(bool v);
    bool RoundFirstLabel() const { return FLabelSettings.RoundFirstLabel; }
    void SetRoundFirstLabel(bool v);

    TAxisDrawLabelEvent OnDrawLabel;

    // ---- the settings as values ----
    const TAxisRange& Range() const { return FRange; }
    // The settings that choose the step (see NumericLabelStep).
    const TAxisStepSettings& StepSettings() const { return FSteps; }
    const TAxisLabelSettings& LabelSettings() const { return FLabelSettings; }
    const TAxisTickSettings& TickSettings() const { return FTickSettings; }
    const TAxisPlacement& Placement() const { return FPlace; }

    // ---- stored rules of the published properties ----
    bool IsMaximumStored() const { return !FRange.Automatic && !FRange.AutomaticMaximum; }
    bool IsMinimumStored() const { return !FRange.Automatic && !FRange.AutomaticMinimum; }
    bool IsAxisValuesFormatStored() const;
    bool IsLogarithmicBaseStored() const { return FSteps.LogarithmicBase != 10; }
    bool IsStartPositionStored() const { return FPlace.StartPosition != 0; }
    bool IsEndPositionStored() const { return FPlace.EndPosition != 100; }
    bool IsPositionPercentStored() const { return FPlace.PositionPercent != 0; }
    // Only custom axes (index 6 or more in the chart's axes list).
    bool IsHorizontalStored() const { return IsCustom(); }
    bool IsOtherSideStored() const { return IsCustom(); }
    bool IsZPositionStored() const;
    // Index 6 or more in the chart's axes list.
    bool IsCustom() const;

    // ---- range and scale ----
    // The date-time flag of the value list that the chart's first active series uses
    // on this axis.
    bool IsDateTimeAxis() const;
    void CalcAutomaticMinMax(double& AMin, double& AMax);
    // Writes the automatic ends into Minimum and Maximum, takes them as the range in use
    // and recomputes the scale.
    void RefreshRange();
    void RecalcScale();
    // The pixel extent along the chart rectangle (or the depth), then the scale.
    void CalcPositions();
    // Narrows the pixel extent by the margins of R and widens the range so that the old
    // end pixels keep their values.
    void FitToRect(const TRect& R);
    // Moves the range by Offset (see CheckLimits) and repaints.
    void Scroll(double Offset, bool CheckLimits);
    // Chooses the conversion (kind and orientation) from the settings.
    void SetCalcFunctions();
    TAxisCalcKind CalcKind() const { return FMap.Kind; }
    // The conversions between values and pixels as they stand: the pixel extent, the range
    // in use and the scale. Series and drawing code read these.
    const TAxisScaleMap& Map() const { return FMap; }
    // Takes AMin..AMax as the range in use (not the Minimum and Maximum settings) and
    // recomputes the scale.
    void SetRangeInUse(double AMin, double AMax);

    // ---- conversions ----
    int CalcXPosValue(double Value) const { return FMap.CalcXPos(Value); }
    int CalcYPosValue(double Value) const { return FMap.CalcYPos(Value); }
    int CalcPosValue(double Value) const { return FMap.CalcPos(Value); }
    // The conversion as a map for pixels along X (IsHorizontal) or Y; false for a
    // logarithmic or depth axis, which has no linear one.
    bool LinearMap(bool IsHorizontal, TAxisLinearMap& Map) const { return FMap.Linear(IsHorizontal, Map); }
    double ValueAtPixel(int P) const { return FMap.ValueAtPixel(P); }
    int ValueLengthPixels(double Value) const { return FMap.ValueLengthPixels(Value); }
    // Side coordinate of R for this axis: bottom, top, left or right edge.
    int SideCoordinate(const TRect& R) const;
    // P offset by PositionPercent (pixels or percent of R's extent across the axis).
    int ApplyPosition(int P, const TRect& R) const;
    // The vertical pixel of a depth axis' labels.
    int DepthAxisPos() const;
    // The rectangle the axis line and labels occupy (2D).
    TRect AxisRect() const;
    bool Clicked(int X, int Y) const;

    // ---- increments and labels ----
    virtual std::string LabelValueText(double Value);
    virtual TAxisLabelStyle AutoLabelStyle();
    TAxisLabelStyle GetLabelStyle();
    int MaxLabelsWidth();
    // Runs the label loop that the style and settings choose: empties the tick positions,
    // then records the position of each label handled and calls Draw (when given) for
    // each label to show.
    void CalcLabels(const TAxisLabelProc& Draw);

    // ---- sizing and drawing ----
    // Pixels across the axis for its line and ticks.
    int SizeTickAxis() const;
    // Pixels across the axis for its labels (doubled for two alternating rows).
    int SizeLabels();
    // P moved away from the chart by Size.
    int OutwardPos(int P, int Size) const;
    // With Inflate, cuts the axis' title, labels and ticks from R's side; without it,
    // places the axis line, labels and title on R as it is.
    void CalcRect(TRect& R, bool Inflate);
    // Title, labels, axis line, ticks, grid, minor ticks and minor grid.
    void DrawAxis(bool CalcPosAxis);

    void Assign(TPersistent* Source) override;

    // ---- run-time state ----
    // Pixel coordinates across the axis of its line, labels and title.
    int PosAxis = 0;
    int PosTitle = 0;
    int PosLabels = 0;
    // Pixel positions of the labels handled, for ticks and grid.
    std::vector<int> Tick;

protected:
    void Repaint();
    // Stores Value into Field and repaints when it differs; answers whether it did.
    template <class T, class V>
    bool SetAndRepaint(T& Field, V Value)
    {
        return SetAndNotify(Field, std::move(Value), [this] { Repaint(); });
    }

private:
    friend class TAxisMapOverride;
    void Init(TCustomAxisPanel* Chart);

    TCustomAxisPanel* FParentChart = nullptr;
    TAxisRange FRange;
    TAxisStepSettings FSteps;
    TAxisLabelSettings FLabelSettings;
    TAxisTickSettings FTickSettings;
    TAxisPlacement FPlace;
    std::unique_ptr<TChartAxisPen> FAxis;
    std::unique_ptr<TChartAxisTitle> FTitle;
    std::unique_ptr<TAxisGridPen> FGrid;
    std::unique_ptr<TAxisItems> FItems;
    // Value label texts, with the decimals the last label step asked for.
    TAxisLabelFormatter FFormatter;
    std::unique_ptr<TChartHiddenPen> FMinorGrid;
    std::unique_ptr<TDarkGrayPen> FMinorTicks;
    std::unique_ptr<TDarkGrayPen> FTicks;
    std::unique_ptr<TDarkGrayPen> FTicksInner;
    TChartAxis* FMasterAxis = nullptr;
    bool FInFixedRange = false;
    // The conversions in use (see Map).
    TAxisScaleMap FMap;
    // The depth of the axis in pixels, where its line and labels are drawn on a 3D chart.
    int IZPos = 0;
};

// Makes an axis convert by Map until the override ends, then gives it back its own map:
// a pass drawn through the axis (a series' shadow) lands where Map puts it.
class TAxisMapOverride {
public:
    TAxisMapOverride(TChartAxis* Axis, const TAxisScaleMap& Map) : FAxis(Axis), FSaved(Axis->FMap) { Axis->FMap = Map; }
    ~TAxisMapOverride() { FAxis->FMap = FSaved; }
    TAxisMapOverride(const TAxisMapOverride&) = delete;
    TAxisMapOverride& operator=(const TAxisMapOverride&) = delete;

private:
    TChartAxis* FAxis;
    TAxisScaleMap FSaved;
};

class TChartDepthAxis : public TChartAxis {
public:
    DECLARE_CLASS_INFO(TChartDepthAxis)
    explicit TChartDepthAxis(TCustomAxisPanel* Chart);
    TAxisLabelStyle AutoLabelStyle() override;
    // The depth-top axis passes the flag on to the chart's depth axis.
    void SetInverted(bool v) override;
};

// ---- lists of axes ---------------------------------------------------------------------

// Every axis of a chart, standard ones first; it does not own them.
class TChartAxes {
public:
    int Count() const { return static_cast<int>(FItems.size()); }
    // ERangeError outside 0..Count-1.
    TChartAxis* Items(int Index) const;
    TChartAxis* Axis(int Index) const { return Items(Index); }
    TChartAxis* operator[](int Index) const { return Items(Index); }
    // The chart's standard axes (nullptr before the chart has made them).
    TChartAxis* LeftAxis() const;
    TChartAxis* TopAxis() const;
    TChartAxis* RightAxis() const;
    TChartAxis* BottomAxis() const;
    TChartDepthAxis* DepthAxis() const;
    TChartDepthAxis* DepthTopAxis() const;
    // The chart's axes-visible flag.
    bool Visible() const;
    void SetVisible(bool v);
    // The chart's axes-behind flag.
    bool Behind() const;
    void SetBehind(bool v);
    // Frees every custom axis; the standard axes belong to the chart and stay.
    void Clear();
    int IndexOf(const TChartAxis* Axis) const;
    const std::vector<TChartAxis*>& List() const { return FItems; }
    // Fast mode: linear conversions skip the MaxPixelPos clamping.
    bool FastCalc() const { return FFastCalc; }
    void SetFastCalc(bool v);

private:
    friend class TChartAxis;
    TCustomAxisPanel* FChart = nullptr;
    std::vector<TChartAxis*> FItems;
    bool FFastCalc = false;
};

// The chart's custom axes: an owned collection of TChartAxis items.
class TChartCustomAxes : public TOwnedCollection {
public:
    DECLARE_CLASS_INFO(TChartCustomAxes)
    explicit TChartCustomAxes(TCustomAxisPanel* Chart);
    TChartAxis* Items(int Index) const;
    // Every custom axis whose master is Axis takes Axis' fixed range.
    void PropagateMinMax(TChartAxis* Axis);
};
