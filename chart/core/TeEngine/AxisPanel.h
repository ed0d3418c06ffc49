// The chart panel that has axes, series and tools. This file holds its series side: the
// series list and its changes, the series events broadcast to the panel's listeners, the
// palette choice of a new series' colour, data-source validation and refresh; the axes:
// the six standard axes, the custom axes, and the series ranges the automatic axes take;
// and the tools, which hear the chart's mouse events. Paging and the drawing pipeline
// join it with their own work.
#pragma once

#include "RizUridu.h"
#include "TeEngine/Axis.h"
#include "TeEngine/Lists.h"
#include "TeEngine/Tools.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

class TChartSeries;
class TCustomChartSeries;
enum TLegendTextStyle : int;

// Draws at (X, Y) the bitmap resource named after the object's class (editor icons of
// series and tools); nothing when there is none.
void DrawClassBitmap(TCanvas* Canvas, const TObject* Object, int X, int Y);

class TCustomAxisPanel : public TCustomTeePanelExtended, public IChartToolsHost {
public:
    DECLARE_CLASS_INFO(TCustomAxisPanel)
    explicit TCustomAxisPanel(TComponent* AOwner);
    ~TCustomAxisPanel() override;

    // ---- series list ----
    TChartSeriesList* SeriesList() const { return FSeriesList.get(); }
    // The named groups of the series (published, so that chart files keep them).
    TSeriesGroups* SeriesGroups() const { return FSeriesList->Groups(); }
    int SeriesCount() const { return FSeriesList->Count(); }
    // ERangeError outside 0..SeriesCount-1.
    TChartSeries* Series(int Index) const;
    int IndexOfSeries(const TCustomChartSeries* S) const;
    // Makes this panel the series' chart; answers the series.
    TChartSeries* AddSeries(TChartSeries* S);
    // Called back by the series when its chart becomes this panel: appends it (once),
    // lets it take its colour, sends event 0 and repaints.
    void InternalAddSeries(TChartSeries* S);
    // Sends event 1, detaches the series and drops it from the list; nothing for a
    // negative index.
    void RemoveSeriesAt(int Index);
    void RemoveSeries(TChartSeries* S);
    // Every series of the class (every series when Match is null) leaves the chart and
    // is freed.
    void RemoveEverySeries(const std::function<bool(const TChartSeries*)>& Match = nullptr);
    // A new series of the class, owned by the panel's owner, added to the panel.
    // EClassNotFound for a class without a factory.
    TChartSeries* AddSeriesOfClass(const TClassInfo* SeriesClass);
    // The widest mark text of the active series' points, with the current font.
    int LargestMarkWidth();
    // Swaps two series in the list, among their owner's components and in every group
    // that holds both, sends event 4 and repaints.
    void ExchangeSeries(int A, int B);
    void ExchangeSeries(TChartSeries* A, TChartSeries* B);
    int ActiveSeriesCount() const;
    // The largest point count of an active series; 0 when none.
    int MaxPointsCount() const;

    // ---- events ----
    // Broadcasts a series event (codes 0..6) to the listeners.
    void BroadcastSeriesEvent(TChartSeries* S, int Code);

    // ---- palette ----
    // The chart's own palette; empty: the default palette applies.
    const std::vector<TColor>& ColorPalette() const { return FColorPalette; }
    void SetColorPalette(const std::vector<TColor>& V) { FColorPalette = V; }
    TColor PaletteColor(int Index) const;
    // The first palette colour IsColorUnused accepts, else the palette's last colour.
    TColor UnusedSeriesColor(bool CheckBackground, TChartSeries* S);
    // Every series with the default colour gets an unused one.
    void AssignSeriesColors();
    // Whether Color is free for a new series (the chart decides).
    virtual bool IsColorUnused(TColor Color, bool CheckBackground, TChartSeries* ExceptSeries) = 0;

    // ---- data sources ----
    // False for S itself; True for another series that S accepts and for a series source.
    virtual bool IsValidDataSource(TChartSeries* S, TComponent* Source);
    // A series source that S lets go is unlinked from S.
    virtual void SeriesSourceRemoved(TChartSeries* S, TComponent* Source);
    // ChartException "Circular Series dependences are not allowed" when Source feeds,
    // directly or through other series, from S.
    void CheckCircularDependence(TChartSeries* S, TComponent* Source);
    // Refills a series from its sources (skipped while it is loading): from a source
    // series, or by an open series source's LoadData.
    virtual void RefreshSeriesData(TChartSeries* S);

    // ---- axes ----
    // Every axis: bottom, top, left, right, depth, depth-top, then the custom axes.
    TChartAxes* Axes() const { return FAxes.get(); }
    // An axis of this chart is being freed: what the chart keeps of it goes. Nothing here.
    virtual void AxisFreed(TChartAxis* Axis) {}
    TChartAxis* BottomAxis() const { return FBottomAxis.get(); }
    TChartAxis* TopAxis() const { return FTopAxis.get(); }
    TChartAxis* LeftAxis() const { return FLeftAxis.get(); }
    TChartAxis* RightAxis() const { return FRightAxis.get(); }
    TChartDepthAxis* DepthAxis() const { return FDepthAxis.get(); }
    TChartDepthAxis* DepthTopAxis() const { return FDepthTopAxis.get(); }
    TChartCustomAxes* CustomAxes() const { return FCustomAxes.get(); }
    bool AxisVisible() const { return FAxisVisible; }
    void SetAxisVisible(bool v) { SetAndRepaint(FAxisVisible, v); }
    // Whether the chart shows the axis: axes on, the axis visible, a depth axis only in
    // 3D, and some active series bound to it (any axis while no series is active).
    bool IsAxisVisible(const TChartAxis* Axis) const;
    // The smallest or largest value the series put on the axis (X or Y values as IsX),
    // from the active series, or from all when no active series is bound to it; 0 when
    // no series qualifies. Depth axes span the series' Z orders.
    double MinMaxValue(TChartAxis* Axis, bool IsMin, bool IsX) const;
    double MinXValue(TChartAxis* Axis) const { return MinMaxValue(Axis, true, true); }
    double MaxXValue(TChartAxis* Axis) const { return MinMaxValue(Axis, false, true); }
    double MinYValue(TChartAxis* Axis) const { return MinMaxValue(Axis, true, false); }
    double MaxYValue(TChartAxis* Axis) const { return MinMaxValue(Axis, false, false); }
    // Draws points and series in the reverse of their usual order.
    bool ReversedDrawing = false;
    // The back colour of legend symbols: the chart colour here.
    virtual TColor LegendColor() const { return Color(); }
    // The text style of legend items, which marks of the legend style follow.
    virtual TLegendTextStyle LegendTextStyle() const;
    // The largest Z order of the series, kept while drawing.
    int MaxZOrder = 0;
    // 3D sizes in pixels (0 in 2D).
    int SeriesWidth3D = 0;
    int SeriesHeight3D = 0;
    int Width3D = 0;
    int Height3D = 0;

    TAxisOnGetLabel OnGetAxisLabel;
    TAxisOnGetNextLabel OnGetNextAxisLabel;

    // ---- tools ----
    // The chart's tools, in the order they hear its stages and mouse events.
    TChartTools* Tools() const override { return FTools.get(); }
    // Every active tool, in order, hears the drawing stage.
    void NotifyToolsStage(TChartToolEvent Stage) { FTools->NotifyStage(Stage); }

    // ---- 3D and drawing settings ----
    int Chart3DPercent() const { return FChart3DPercent; }
    // Exception "3D effect percent must be between 1 and 100" outside 1..100.
    void SetChart3DPercent(int v);
    bool AxisBehind() const { return FAxisBehind; }
    void SetAxisBehind(bool v) { SetAndRepaint(FAxisBehind, v); }
    bool ClipPoints() const { return FClipPoints; }
    void SetClipPoints(bool v) { SetAndRepaint(FClipPoints, v); }
    bool View3DWalls() const { return FView3DWalls; }
    void SetView3DWalls(bool v) { SetAndRepaint(FView3DWalls, v); }
    // The 3D sizes from ChartWidth, Chart3DPercent, the view and MaxZOrder (0 in 2D).
    void Calc3DSize();
    // Set at the start of each drawing: the chart is seen from behind.
    bool BackFacing() const { return FBackFacing; }
    // The rectangle the last drawing filled.
    const TRect& DrawRect() const { return FDrawRect; }

    // ---- paging ----
    int Page() const { return FPage; }
    // Clamped to 1..NumPages; a change repaints, tells the listeners and fires OnPageChange.
    void SetPage(int Value);
    int MaxPointsPerPage() const { return FMaxPointsPerPage; }
    // ChartException "MaxPointsPerPage must be >= 0" below 0.
    void SetMaxPointsPerPage(int Value);
    bool ScaleLastPage() const { return FScaleLastPage; }
    void SetScaleLastPage(bool v) { SetAndRepaint(FScaleLastPage, v); }
    virtual int NumPages() const;
    void NextPage() { SetPage(FPage + 1); }
    void PreviousPage() { SetPage(FPage - 1); }
    // One printer job: the pages FromPage..ToPage (0: 1 and NumPages), each on its own
    // sheet in the print rectangle; the page shown before comes back, also on failure.
    void PrintPages(int FromPage = 0, int ToPage = 0);
    // The first and last point index of S on the current page (-1, -1 without points).
    void PageValueRange(const TChartSeries* S, int& First, int& Last) const;

    // ---- series look-ups ----
    // Over active series, or all when no active series is bound to the axis.
    TChartSeries* FirstSeriesForAxis(TChartAxis* Axis) const;
    TChartSeries* SeriesWithMostPointsForAxis(TChartAxis* Axis) const;
    // The Index-th series shown in the legend (and active when asked); nullptr when none.
    TChartSeries* SeriesLegend(int Index, bool OnlyActive) const;
    std::string LegendSeriesTitle(int Index, bool OnlyActive) const;
    // Every active series, last to first, checks the mouse at (X, Y) (cursor, enter and
    // leave events); True when any has a point under it.
    bool IsSeriesHit(int X, int Y);

    // ---- drawing slots the chart fills ----
    // Shrinks ChartRect for the walls and computes the 3D sizes; here only the sizes.
    virtual void ReserveWallSpace() { Calc3DSize(); }
    // The wall thickness beside the axis; none here.
    virtual int GetAxisWallSize(const TChartAxis* Axis) const { return 0; }
    virtual void FireAfterDraw();
    virtual void FireBeforeDrawAxes();
    virtual void FireBeforeDrawChart();
    virtual void FireBeforeDrawSeries();
    // Titles and legend: the first pass takes their room, the final pass draws what
    // lies on top. Nothing here.
    virtual void PlaceTitlesAndLegend(bool FirstPass) {}
    // ChartRect projected at depth Z does not turn clockwise.
    virtual bool IsPlaneBackFacing(int Z) const;
    // R filled with the surface's brush and pen, outlined only in the back colour.
    virtual void FillLegendSymbol(const TRect& R);
    virtual void DrawWalls() {}
    virtual std::string FormatLegendString(TChartSeries* Series, int ValueIndex) { return {}; }

    // The whole chart in R, in the fixed order of stages.
    void DrawContents(const TRect& R) override;
    // The visible axes (with OnBeforeDrawAxes) when AxisVisible.
    void DrawAxes();

    TNotifyEvent OnPageChange;
    TNotifyEvent OnBeforeDrawChart;
    TNotifyEvent OnBeforeDrawAxes;
    TNotifyEvent OnBeforeDrawSeries;

    void Assign(TPersistent* Source) override;
    // The components the chart streams: those of its own that are not series or tools
    // (when it is the root), then its series, then its tools, each when Root owns it.
    void GetChildren(const TGetChildProc& Proc, TComponent* Root) override;
    // The series groups read from a stream take their series.
    void Loaded() override;

protected:
    // After the panel's own handling, the active tools hear the event unless a listener
    // claimed it (CancelMouse).
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    // After the panel's own handling the active tools hear cteMouseLeave.
    void MouseLeave() override;

private:
    void LayoutAxes();
    void ApplySeriesMargins();
    void DrawAllSeries();
    void DrawOneSeries(TChartSeries* S, int Index);
    void ClipToPlot();
    void DrawSeriesMarks(TChartSeries* S);
    void DrawZoomRectangle();
    int PageCountOfAxis(TChartAxis* Axis) const;

    std::unique_ptr<TChartSeriesList> FSeriesList;
    // The list outlives the axes, which leave it as they are freed.
    std::unique_ptr<TChartAxes> FAxes;
    std::unique_ptr<TChartAxis> FBottomAxis;
    std::unique_ptr<TChartAxis> FTopAxis;
    std::unique_ptr<TChartAxis> FLeftAxis;
    std::unique_ptr<TChartAxis> FRightAxis;
    std::unique_ptr<TChartDepthAxis> FDepthAxis;
    std::unique_ptr<TChartDepthAxis> FDepthTopAxis;
    std::unique_ptr<TChartCustomAxes> FCustomAxes;
    std::unique_ptr<TChartTools> FTools;
    bool FAxisVisible = true;
    std::vector<TColor> FColorPalette;
    int FChart3DPercent = 15;
    bool FAxisBehind = true;
    bool FClipPoints = true;
    bool FView3DWalls = true;
    int FPage = 1;
    int FMaxPointsPerPage = 0;
    bool FScaleLastPage = true;
    bool FBackFacing = false;
    TRect FDrawRect;
};
