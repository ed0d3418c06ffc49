// The series: its points (held in a TSeriesPoints, with forwarders for the names callers
// use), the events and dependent-series notices around their edits, data sources and
// dependent series, axes, marks, legend texts, and the virtual drawing operations that
// series types fill.
#pragma once

#include "TeEngine/ChartElement.h"
#include "TeEngine/Lists.h"
#include "TeEngine/SeriesPoints.h"
#include "TeEngine/ValueList.h"

#include "controls/Cursors.h"
#include "controls/CustomControls.h"
#include "system/Flags.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

class TChartAxis;
class TSeriesMarkPosition;
class TSeriesMarks;
class TSeriesPointer;
class TTeeFunction;

// Separates the two text columns of a legend item (value and label, for instance).
inline constexpr char TeeColumnSeparator = 6;

// A series type's class name and its class test (see TChartSeries::IsClassOf).
// Every series type declares its published properties (BEGIN_CLASS_INFO in its source).
#define DECLARE_SERIES_CLASS(Name) \
    DECLARE_CLASS_INFO(Name) \
    bool IsClassOf(const TChartSeries* S) const override { return dynamic_cast<const Name*>(S) != nullptr; }

// Codes of TChartSeries::NotifyValue, sent to the dependent series.
enum TValueEvent { veClear, veAdd, veDelete, veRefresh, veModified };

enum THorizAxis { aTopAxis, aBottomAxis, aBothHorizAxis, aCustomHorizAxis };
enum TVertAxis { aLeftAxis, aRightAxis, aBothVertAxis, aCustomVertAxis };

// Dependent refresh options: which changes of a source series a dependent copies.
enum TSeriesRefreshFlag : unsigned {
    srfOnDelete = 1u << 0,
    srfOnModify = 1u << 1,
    srfOnAdd = 1u << 2,
    srfOnClear = 1u << 3,
};
using TSeriesRefreshOptions = TFlags<TSeriesRefreshFlag>;
DECLARE_FLAG_OPERATORS(TSeriesRefreshFlag)
inline constexpr TSeriesRefreshOptions srfAll = srfOnDelete | srfOnModify | srfOnAdd | srfOnClear;

enum TLegendTextStyle : int {
    ltsPlain, ltsLeftValue, ltsRightValue, ltsLeftPercent, ltsRightPercent,
    ltsXValue, ltsValue, ltsPercent, ltsXAndValue, ltsXAndPercent
};

// Where random sample points go: X from StartX by StepX, Y from FirstY, wandering
// within a range of RangeY above MinY.
struct TSampleRange {
    double StartX = 0;
    double StepX = 0;
    double FirstY = 0;
    double MinY = 0;
    double RangeY = 0;
};

class TChartSeries;
using TSeriesOnBeforeAdd = std::function<bool(TChartSeries* Sender)>;
using TSeriesOnAfterAdd = std::function<void(TChartSeries* Sender, int ValueIndex)>;
using TSeriesClickEvent = std::function<void(TChartSeries* Sender, int ValueIndex, TMouseButton Button,
                                             TShiftState Shift, int X, int Y)>;
using TSeriesOnGetMarkText = std::function<void(TChartSeries* Sender, int ValueIndex, std::string& MarkText)>;

class TChartSeries : public TCustomChartSeries, private TSeriesPointsOwner {
public:
    DECLARE_CLASS_INFO(TChartSeries)
    explicit TChartSeries(TComponent* AOwner);
    ~TChartSeries() override;

    // ---- virtual slots ----
    // Adds the point Index of Source to this series' lists; answers the new index.
    virtual int CopyPointValues(TChartSeries* Source, int Index);
    // CopyPointValues, then the source's colour and label at the new index.
    virtual void CopyPointFrom(TChartSeries* Source, int Index);
    // Refills the series from Source (by its function, or point by point).
    virtual void AddValues(TChartSeries* Source);
    virtual void FindVisibleIndexRange();
    // With an explicit Z order the chart's maximum Z takes it in; otherwise a 3D chart
    // hands out its next Z position (the pipeline resets MaxZOrder to -1 first) and a
    // 2D chart puts every series at 0.
    virtual void ComputeZOrder();
    // Start, middle and end depth from the Z order and the chart's series depth; the
    // marks (and a pointer the series draws) take them.
    virtual void ComputeDepthExtent();
    // Every value list emptied, the colours freed, the labels cleared, the marks'
    // positions and items cleared.
    virtual void ClearLists();
    // The names of the type's sub-gallery styles, in order: the base lists the plain
    // style ("Normal"), series types append theirs; ApplySubGalleryStyle(n) applies the
    // n-th of them.
    virtual void AddSubGalleryStyles(std::vector<std::string>& Styles);
    // A point of a source series was deleted: this series deletes the same index.
    virtual void SourceValueDeleted(TChartSeries* Source, int ValueIndex);
    virtual void FireAfterDrawValues();
    virtual void FireBeforeDrawValues();
    virtual void DrawVisiblePoints();
    // The legend symbol of a value (-1: of the series) in R; the base fills R with the
    // canvas' current pen and brush.
    virtual void DrawSymbolShape(int ValueIndex, const TRect& R);
    // Draws one mark at Position (series types move it first); the base draws the
    // marks' box in the point's colour.
    virtual void DrawMark(int ValueIndex, const std::string& Text, TSeriesMarkPosition& Position);
    virtual void DrawValue(int ValueIndex) {}
    virtual TColor ValueColor(int Index) const;
    virtual double XValue(int Index) const { return FPoints.XValues()->Value(Index); }
    virtual double YValue(int Index) const { return FPoints.YValues()->Value(Index); }
    // OnAfterAdd, the dependents told (event 1) and a repaint when Active.
    virtual void AfterAddValue(int ValueIndex, bool AddToDependents);
    // Tells the dependent series of a change (unless updating).
    virtual void NotifyValue(TValueEvent ValueEvent, int ValueIndex);
    // In a 3D chart: another active series of the chart has the same Z order.
    virtual bool SharesZOrder() const;
    virtual void PrepareSymbolCanvas() {}
    virtual void SetColorEachPoint(bool Value);
    virtual void SetSeriesColor(TColor Value);
    virtual void ApplySubGalleryStyle(int Index) {}
    virtual TChartValueList* ValueListForAxis(TChartAxis* Axis) const;
    virtual int Add(double Value, const std::string& Label = {}, TColor Color = clDefault);
    virtual int AddNull(const std::string& Label = {});
    virtual int AddNullPointXY(double X, double Y, const std::string& Label = {});
    virtual int AddPointXY(double X, double Y, const std::string& Label = {}, TColor Color = clDefault);
    virtual bool IsBoundToAxis(TChartAxis* Axis) const;
    virtual void Clear();
    virtual int LegendItemCount() const { return Count(); }
    // ChartException "Series Delete: ValueIndex %d out of bounds (0 to %d)." outside
    // 0..Count-1.
    virtual void Delete(int ValueIndex);
    virtual void DeleteRange(int Start, int Quantity, bool RenumberX = false);
    virtual int ValueIndexOfLegendItem(int Index) const { return Index; }
    virtual TColor ColorOfLegendItem(int Index) const { return ValueColor(Index); }
    virtual std::string LegendString(int LegendIndex, TLegendTextStyle Style) const;
    virtual double GreatestX() const { return FPoints.XValues()->MaxValue(); }
    virtual double GreatestY() const { return FPoints.YValues()->MaxValue(); }
    virtual double GreatestZ() const { return ZOrder(); }
    virtual double LeastX() const { return FPoints.XValues()->MinValue(); }
    virtual double LeastY() const { return FPoints.YValues()->MinValue(); }
    virtual double LeastZ() const { return ZOrder(); }
    // The pixel of a point along the horizontal and the vertical axis in use; 0
    // outside a chart.
    virtual int PointScreenX(int Index) const { return ValueToScreenX(XValue(Index)); }
    virtual int PointScreenY(int Index) const { return ValueToScreenY(YValue(Index)); }
    virtual TChartValueList* ValueListByName(const std::string& Name) const;
    // The point under (X, Y); none in the base.
    virtual int Clicked(int X, int Y) { return -1; }
    virtual double ValueForMark(int Index) const { return MandatoryValueAt(Index); }
    virtual double MandatoryValueAt(int Index) const { return FPoints.MandatoryValueList()->Value(Index); }
    // Points are drawn from first to last unless the axis across the mandatory one is
    // inverted.
    virtual bool PointOrderForward() const;
    virtual bool SeriesOrderForward() const;
    // The legend symbol of a value (-1: of the series) in the value's colour: nothing for
    // a null value, nor for the series' own symbol when each point has its colour.
    virtual void PaintLegendSymbol(int ValueIndex, const TRect& R);
    virtual bool UseAxis() const { return true; }
    virtual void SetFunction(TTeeFunction* Value);

    // ---- overridable operations outside the slot order ----
    // Whether S is an instance of this series' class (or of a descendant of it). Series
    // types answer with DECLARE_SERIES_CLASS.
    virtual bool IsClassOf(const TChartSeries* S) const { return S != nullptr; }
    // The chart added this series: a series without a colour takes the chart's first
    // unused palette colour.
    virtual void AttachedToChart();
    // The chart lets the series go: a chart showing the series' cursor gets its own back.
    virtual void DetachedFromChart();
    // The chart's mouse moved to (X, Y): over a point OnMouseEnter fires once; moving off
    // fires OnMouseLeave once. Answers whether the mouse is over a point (the chart then
    // shows the series' cursor). Series with the default cursor and neither handler are
    // not asked.
    bool CheckMouse(int X, int Y);
    // Adds NumValues random points within SampleRange (only Y values through Add when
    // OnlyMandatory), in the default colour.
    virtual void MakeSamplePoints(int NumValues, bool OnlyMandatory);
    // Prepares the series as a small gallery preview: four sample points, hidden small
    // marks, one colour (silver when not Enabled, else the chart's palette colour 0 for
    // its first series and 3 for the others).
    virtual void SetUpGalleryPreview(bool Enabled);
    // ChartException "FillSampleValues NumValues must be > 0" below 0; 0 takes the
    // sample count or the series type's default. The points are replaced by random ones.
    virtual void FillSampleValues(int NumValues = 0);
    virtual void ApplyMandatoryOrder() {}
    // Any series but this one.
    virtual bool AcceptsDataSource(TComponent* Source) const;
    // The function's answer; any source without a function.
    virtual bool FunctionAcceptsSource(TComponent* Source) const;
    virtual int DefaultSampleCount() const { return 25; }
    // Swaps two points in every value list, the colour list and the labels.
    virtual void ExchangePoints(int A, int B);

    // ---- points ----
    // The store of the points; the members below forward to it.
    TSeriesPoints& Points() { return FPoints; }
    const TSeriesPoints& Points() const { return FPoints; }
    int Count() const { return FPoints.Count(); }
    TChartValueLists* ValuesList() { return FPoints.ValuesList(); }
    const TChartValueLists* ValuesList() const { return FPoints.ValuesList(); }
    TChartValueList* XValues() const { return FPoints.XValues(); }
    TChartValueList* YValues() const { return FPoints.YValues(); }
    TChartValueList* MandatoryValueList() const { return FPoints.MandatoryValueList(); }
    TChartValueList* NotMandatoryValueList() const { return FPoints.NotMandatoryValueList(); }
    bool YMandatory() const { return FPoints.YMandatory(); }
    // A horizontal series: X becomes the mandatory list.
    void SetHorizontal() { FPoints.SetHorizontal(); }
    std::string LabelText(int Index) const { return FPoints.LabelText(Index); }
    void SetLabel(int Index, const std::string& Text) { FPoints.SetLabel(Index, Text); }
    TLabelsList* Labels() { return FPoints.Labels(); }
    // The colour list, or nullptr while no point has its own colour.
    const std::vector<TColor>* Colors() const { return FPoints.Colors(); }
    // Repaints (unless clDefault is given while no point has its own colour).
    void SetValueColor(int Index, TColor Color) { FPoints.SetValueColor(Index, Color); }
    bool IsNull(int Index) const { return ValueColor(Index) == clNone; }

    // ---- texts ----
    // The text of the point's mark (Marks()->MarkText with the legend's text style).
    std::string ValueMarkText(int Index) const;
    std::string ValueText(int Index) const;
    std::string XValueText(int Index) const;
    std::string PercentText(int Index) const;
    const std::string& ValueFormat() const { return FValueFormat; }
    void SetValueFormat(const std::string& V) { SetAndRepaint(FValueFormat, V); }
    const std::string& PercentFormat() const { return FPercentFormat; }
    void SetPercentFormat(const std::string& V) { SetAndRepaint(FPercentFormat, V); }

    // ---- colours ----
    // The stored colour, or the default colour while none is stored.
    TColor SeriesColor() const { return FColor == clDefault ? FDefaultColor : FColor; }
    TColor StoredSeriesColor() const { return FColor; }
    TColor DefaultColor() const { return FDefaultColor; }
    bool ColorEachPoint() const { return FColorEachPoint; }
    const std::string& ColorSource() const { return FColorSource; }
    void SetColorSource(const std::string& V) { SetAndRepaint(FColorSource, V); }

    // ---- other properties ----
    TCursor Cursor() const { return FCursor; }
    void SetCursor(TCursor V) { FCursor = V; }
    int Depth() const { return FDepth; }
    void SetDepth(int V) { SetAndRepaint(FDepth, V); }
    const std::string& XLabelsSource() const { return FXLabelsSource; }
    void SetXLabelsSource(const std::string& V) { SetAndRepaint(FXLabelsSource, V); }
    THorizAxis HorizAxis() const { return FHorizAxis; }
    void SetHorizAxis(THorizAxis V);
    TVertAxis VertAxis() const { return FVertAxis; }
    void SetVertAxis(TVertAxis V);
    // The axes in use: bottom or top, left or right, or the custom axis; nullptr
    // outside a chart.
    TChartAxis* GetHorizAxis() const { return FGetHorizAxis; }
    TChartAxis* GetVertAxis() const { return FGetVertAxis; }
    TChartAxis* CustomHorizAxis() const { return FCustomHorizAxis; }
    TChartAxis* CustomVertAxis() const { return FCustomVertAxis; }
    // A custom axis makes HorizAxis aCustomHorizAxis; nullptr goes back to aBottomAxis.
    void SetCustomHorizAxis(TChartAxis* Value);
    // A custom axis makes VertAxis aCustomVertAxis; nullptr goes back to aLeftAxis.
    void SetCustomVertAxis(TChartAxis* Value);
    // Resolves the axes in use from the bindings and the chart.
    void RecalcGetAxis();
    // A value as a pixel along the horizontal or vertical axis in use; 0 outside a chart.
    int ValueToScreenX(double Value) const;
    int ValueToScreenY(double Value) const;
    // The vertical axis in use for a Y-mandatory series, else the horizontal one.
    TChartAxis* MandatoryAxis() const { return FPoints.YMandatory() ? FGetVertAxis : FGetHorizAxis; }
    // A value as a pixel along the mandatory axis.
    int ValueToScreenPos(double Value) const
    {
        return FPoints.YMandatory() ? ValueToScreenY(Value) : ValueToScreenX(Value);
    }
    // Same class, or one class derives from the other: such series stack together.
    bool SameClass(const TChartSeries* S) const { return S != nullptr && (IsClassOf(S) || S->IsClassOf(this)); }
    // Active and no active series before it in the chart's list has the same Z order.
    bool IsFirstOfZOrder() const;
    int ZOrder() const { return FZOrder >= 0 ? FZOrder : FComputedZOrder; }
    void SetZOrder(int V) { SetAndRepaint(FZOrder, V); }
    // The depths computed by ComputeDepthExtent.
    int StartZ() const { return FStartZ; }
    int MiddleZ() const { return FMiddleZ; }
    int EndZ() const { return FEndZ; }
    TSeriesRefreshOptions RefreshOptions() const { return FRefreshOptions; }
    void SetRefreshOptions(TSeriesRefreshOptions V) { FRefreshOptions = V; }
    bool ManualData() const { return FManualData; }
    void SetManualData(bool V) { FManualData = V; }
    int FirstValueIndex() const { return FFirstVisibleIndex; }
    int LastValueIndex() const { return FLastVisibleIndex; }
    // The ranges of random sample points: those the chart's series already span along
    // this series' axes, else 0..NumValues - 1 (from today for date-time X) and 0..1000.
    TSampleRange SampleRange(int NumValues) const;
    int SampleCount() const { return FSampleCount; }
    void SetSampleCount(int V) { FSampleCount = V; }
    // The series' own marks, made with the series.
    TSeriesMarks* Marks() const { return FMarks.get(); }
    // Copies the settings of Value into the series' marks.
    void SetMarks(TSeriesMarks* Value);
    // The marks of the visible points, each placed at its point's pixel and drawn by
    // DrawMark.
    void DrawMarks();
    // The calculated function that fills the series, or nullptr. The series frees it
    // when given another one and when it is freed itself.
    TTeeFunction* FunctionType() const { return FFunction; }
    // Whether a function over a whole source gives one point at the centre of the
    // source's range; otherwise two points, a level line across the range.
    bool FunctionAsOnePoint() const { return FFunctionOnePoint; }

    // ---- data sources and dependents ----
    // The first data source, or nullptr.
    TComponent* DataSource() const { return FDataSources.Count() > 0 ? FDataSources.Item(0) : nullptr; }
    // nullptr removes every source; anything else replaces them.
    void SetDataSource(TComponent* Value);
    TDataSourcesList* DataSources() { return &FDataSources; }
    // Adds a source after the chart accepts it (see the messages); with Replace the
    // other sources leave first.
    void AddDataSource(TComponent* Source, bool Replace = false);
    void RemoveDataSource(TComponent* Source);
    // Refills the series from its sources through the chart, unless updating.
    void CheckDataSource();
    TCustomSeriesList* LinkedSeries() { return &FLinkedSeries; }
    void AddLinkedSeries(TChartSeries* S);
    // NewSource feeds this series in OldSource's place among its sources (appended when
    // OldSource is not one); the dependency links move with it.
    void ReplaceSourceSeries(TChartSeries* OldSource, TChartSeries* NewSource);
    void RemoveLinkedSeries(TChartSeries* S);

    // ---- the stream ----
    // The flag byte of "Data": bit 0 not-mandatory values, bit 1 colours, bit 2 labels,
    // bit 3 mark positions, bit 4 labels with 32-bit lengths (some label is longer than
    // a length byte holds).
    uint8_t SeriesDataFlags() const;
    // The points as "Data" holds them, and back (appended inside one update; the points
    // become the series' own).
    virtual void WriteData(TStream* Stream);
    void ReadData(TStream* Stream);
    // Set for the duration of a chart save: write "Data" whatever the points are, or not
    // at all.
    bool DontSaveData = false;
    bool ForceSaveData = false;
    // Whether "Data" is written.
    bool IsDataStored() const { return ForceSaveData || (FManualData && !DontSaveData); }
    void DefineProperties(TFiler* Filer) override;
    // The calculated function is written right after the series, as its child.
    void GetChildren(const TGetChildProc& Proc, TComponent* Root) override;

    // ---- updates ----
    void BeginUpdate() { ++FUpdateCount; }
    void EndUpdate();
    bool Updating() const { return FUpdateCount > 0; }
    // The dependents refresh (event 3) and the chart hears "data changed" (event 6).
    void RefreshSeries();

    // ---- events ----
    TNotifyEvent AfterDrawValues;
    TNotifyEvent BeforeDrawValues;
    TSeriesOnAfterAdd OnAfterAdd;
    TSeriesOnBeforeAdd OnBeforeAdd;
    TNotifyEvent OnClearValues;
    TSeriesClickEvent OnClick;
    TSeriesClickEvent OnDblClick;
    TSeriesOnGetMarkText OnGetMarkText;
    TNotifyEvent OnMouseEnter;
    TNotifyEvent OnMouseLeave;

    void SetParentChart(TCustomAxisPanel* Value) override;
    void Assign(TPersistent* Source) override;
    // After streaming: the pending data-source names are looked up among the owner's
    // components and added as sources; then the data is refreshed.
    void Loaded() override;
    // Names of data sources read from a stream, resolved by Loaded.
    std::vector<std::string>& PendingDataSourceNames() { return FPendingDataSources; }


protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;
    // The pointer the series draws at its points, for series types that have one; the
    // base gives it the series' chart and depths. None in the base.
    virtual TSeriesPointer* SeriesPointer() const { return nullptr; }
    // Series types that place themselves in depth (stacks) set the computed Z order; so
    // does the chart when it turns the drawing order round.
    void SetComputedZOrder(int V) { FComputedZOrder = V; }
    // Series types that use part of their depth (bars) narrow the computed extent; the
    // middle depth and the marks follow.
    void SetDepthExtent(int StartZ, int EndZ);
    // Series types that show other points than the axis range gives set them here.
    void SetVisibleRange(int First, int Last)
    {
        FFirstVisibleIndex = First;
        FLastVisibleIndex = Last;
    }

    // Off: every point is drawn whatever the axis range (no visible-range search).
    bool FCalcVisiblePoints = false;
    // On: the series joins the last visible point to the next one, so that point stays in
    // the visible range.
    bool FDrawBetweenPoints = false;
    // Off for series types that draw a whole-source function result as a level line.
    bool FFunctionOnePoint = true;
    // On for series types that take no place in depth: no other series shares their Z
    // order.
    bool FNoZOrder = false;

private:
    friend class TTeeFunction;
    friend class TCustomAxisPanel;
    // Forgets F, when it is this series' function, without freeing it.
    void DetachFunction(TTeeFunction* F);
    void ClearDataSources();
    void InternalRemoveDataSource(TComponent* Source);
    // The store's own changes: dependents told of a modification (veModified), the data
    // source asked again, a repaint, and sorting's swap through ExchangePoints.
    void SeriesPointsModified(int ValueIndex) override { NotifyValue(veModified, ValueIndex); }
    void SeriesPointsSourceChanged() override { CheckDataSource(); }
    void SeriesPointsChanged() override { Repaint(); }
    void SeriesPointsExchange(int A, int B) override { ExchangePoints(A, B); }

    TColor FColor = clDefault;
    bool FColorEachPoint = false;
    std::string FColorSource;
    TCursor FCursor = crDefault;
    TDataSourcesList FDataSources{this};
    int FDepth = -1;
    TChartAxis* FGetHorizAxis = nullptr;
    TChartAxis* FGetVertAxis = nullptr;
    std::string FXLabelsSource;
    TCustomSeriesList FLinkedSeries;
    std::unique_ptr<TSeriesMarks> FMarks;
    std::string FPercentFormat;
    std::string FValueFormat;
    TSeriesPoints FPoints{this};
    THorizAxis FHorizAxis = aBottomAxis;
    TChartAxis* FCustomHorizAxis = nullptr;
    TChartAxis* FCustomVertAxis = nullptr;
    int FZOrder = -1;
    TVertAxis FVertAxis = aLeftAxis;
    TSeriesRefreshOptions FRefreshOptions = srfAll;
    TTeeFunction* FFunction = nullptr;
    bool FMouseInside = false;
    TColor FDefaultColor = clDefault;
    bool FManualData = false;
    int FFirstVisibleIndex = -1;
    int FLastVisibleIndex = -1;
    int FSampleCount = 0;
    int FUpdateCount = 0;
    int FComputedZOrder = 0;
    int FStartZ = 0;
    int FMiddleZ = 0;
    int FEndZ = 0;
    bool FDestroyingSeries = false;
    std::vector<std::string> FPendingDataSources;
};
