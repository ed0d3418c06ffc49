// The bar series: one bar per value from an origin to the value, in thirteen shapes,
// side by side with the chart's other bar series or stacked on them; TBarSeries draws
// vertical bars and THorizBarSeries horizontal ones.
#pragma once

#include "TeEngine.h"

#include <functional>
#include <memory>
#include <vector>

enum TBarStyle {
    bsRectangle, bsPyramid, bsInvPyramid, bsCilinder, bsEllipse, bsArrow, bsRectGradient, bsCone, bsBevel,
    bsSlantCube, bsDiamond, bsInvArrow, bsInvCone
};

enum TMultiBar { mbNone, mbSide, mbStacked, mbStacked100, mbSideAll, mbSelfStack };

class TCustomBarSeries;
using TGetBarStyleEvent = std::function<void(TCustomBarSeries* Sender, int ValueIndex, TBarStyle& TheBarStyle)>;

// The fill of gradient bars. With Relative the end colour lies between the start colour
// and the bar colour in proportion to the value within the series' range.
class TBarSeriesGradient : public TTeeGradient {
public:
    DECLARE_CLASS_INFO(TBarSeriesGradient)
    explicit TBarSeriesGradient(TNotifyEvent onChange = nullptr);
    bool Relative() const { return FRelative; }
    void SetRelative(bool v);
    void Assign(TPersistent* Source) override;

private:
    bool FRelative = false;
};

class TCustomBarSeries : public TChartSeries {
public:
    DECLARE_CLASS_INFO(TCustomBarSeries)
    bool IsClassOf(const TChartSeries* S) const override { return dynamic_cast<const TCustomBarSeries*>(S) != nullptr; }
    explicit TCustomBarSeries(TComponent* AOwner);
    ~TCustomBarSeries() override;
    std::string EditorClassName() const override { return "TBarSeriesEditor"; }

    // ---- virtual slots ----
    // The size of a mark along the bar: its text height (its width for horizontal bars).
    virtual int MarkSizeAlongBar(int ValueIndex);
    virtual bool IsPointInBar(int ValueIndex, int X, int Y);
    virtual bool HasStackGalleryStyles() const { return true; }
    // The value the bar of ValueIndex rises from: the top of the stack below it, the sum
    // of the series' own values before it, or YOrigin.
    virtual double BarOriginValue(int ValueIndex) const;

    // ---- positions ----
    void PrepareSeriesPositions() override;
    // The bar width in pixels (across the axis the bars stand on).
    int CalcBarWidth() const;
    // The pixel where the bar of ValueIndex starts along its category axis.
    int BarPlacement(int ValueIndex) const;
    // The pixels of the bar's origin and value end along the value axis.
    int OriginPixel(int ValueIndex) const;
    int ValueEndPixel(int ValueIndex) const;
    // Whether the bar of ValueIndex is drawn: not a null point, and not a 100 % stack
    // whose values are all zero.
    bool BarVisible(int ValueIndex) const;
    // Left, top, right, bottom of the bar of ValueIndex (right and bottom excluded).
    TRect BarRectangle(int ValueIndex) const;
    // Set while a value is drawn: the bar rectangle and its colour.
    const TRect& BarBounds() const { return FBarBounds; }
    int NumberOfSlots() const { return FNumBars; }
    int OwnSlot() const { return FOrderPos; }
    int MaxBarPoints() const { return FMaxBarPoints; }
    int PointsBefore() const { return FPreviousCount; }

    // ---- drawing ----
    // Plain flat bars of one colour that fall on the same pixel columns are drawn as one
    // (many more bars than pixels); otherwise each value on its own.
    void DrawVisiblePoints() override;
    void DrawValue(int ValueIndex) override;
    void ComputeZOrder() override;
    void ComputeDepthExtent() override;
    bool SharesZOrder() const override;
    void DrawMark(int ValueIndex, const std::string& Text, TSeriesMarkPosition& Position) override;
    void DrawSymbolShape(int ValueIndex, const TRect& R) override;
    void PrepareSymbolCanvas() override;
    void FindVisibleIndexRange() override;
    int Clicked(int X, int Y) override;

    // ---- extremes and margins ----
    double GreatestX() const override;
    double LeastX() const override;
    double GreatestY() const override;
    double LeastY() const override;
    void AxisMarginsA(int& Left, int& Right) override;
    void AxisMarginsB(int& Top, int& Bottom) override;
    void AttachedToChart() override;

    // ---- gallery and samples ----
    int DefaultSampleCount() const override;
    // Gradient bars at 85 %, each series on its own.
    void SetUpGalleryPreview(bool Enabled) override;
    // After the plain style: "Colors", "Pyramid", "Ellipse", "Inv. Pyramid", "Gradient",
    // the three stacking styles when the type has them, "Sides" and "Side All".
    void AddSubGalleryStyles(std::vector<std::string>& Styles) override;
    void ApplySubGalleryStyle(int Index) override;

    // ---- properties ----
    bool AutoBarSize() const { return FAutoBarSize; }
    void SetAutoBarSize(bool V) { SetAndRepaint(FAutoBarSize, V); }
    bool AutoMarkPosition() const { return FAutoMarkPosition; }
    void SetAutoMarkPosition(bool V) { SetAndRepaint(FAutoMarkPosition, V); }
    TChartBrush* BarBrush() const { return Brush(); }
    void SetBarBrush(TChartBrush* V) { SetBrush(V); }
    TChartPen* BarPen() const { return Pen(); }
    void SetBarPen(TChartPen* V) { SetPen(V); }
    TBarStyle BarStyle() const { return FBarStyle; }
    void SetBarStyle(TBarStyle V);
    int BarWidthPercent() const { return FBarWidthPercent; }
    void SetBarWidthPercent(int V) { SetAndRepaint(FBarWidthPercent, V); }
    int BevelSize() const { return FBevelSize; }
    void SetBevelSize(int V) { SetAndRepaint(FBevelSize, V); }
    bool Dark3D() const { return FDark3D; }
    void SetDark3D(bool V) { SetAndRepaint(FDark3D, V); }
    int DepthPercent() const { return FDepthPercent; }
    void SetDepthPercent(int V) { SetAndRepaint(FDepthPercent, V); }
    TBarSeriesGradient* Gradient() const { return FGradient.get(); }
    void SetGradient(TTeeGradient* V) { FGradient->Assign(V); }
    TMultiBar MultiBar() const { return FMultiBar; }
    // Copied to every related bar series of the chart.
    void SetMultiBar(TMultiBar V);
    int OffsetPercent() const { return FOffsetPercent; }
    void SetOffsetPercent(int V) { SetAndRepaint(FOffsetPercent, V); }
    bool SideMargins() const { return FSideMargins; }
    // Copied to every related bar series of the chart.
    void SetSideMargins(bool V);
    int StackGroup() const { return FStackGroup; }
    void SetStackGroup(int V) { SetAndRepaint(FStackGroup, V); }
    TChartHiddenPen* TickLines() const { return FTickLines.get(); }
    void SetTickLines(TChartPen* V) { FTickLines->Assign(V); }
    // 0..100; anything else raises ERangeError.
    int Transparency() const { return FTransparency; }
    void SetTransparency(int V);
    bool UseYOrigin() const { return FUseYOrigin; }
    void SetUseYOrigin(bool V) { SetAndRepaint(FUseYOrigin, V); }
    double YOrigin() const { return FYOrigin; }
    void SetYOrigin(double V);
    TGetBarStyleEvent OnGetBarStyle;

    void Assign(TPersistent* Source) override;

protected:
    // Draws the bar in BarBounds between the two pixels along the value axis (the
    // smaller first) in the style.
    virtual void DrawBarShape(TBarStyle Style, int Start, int End) = 0;
    // The width used by the series' custom width property; 0 = computed.
    virtual int CustomBarSize() const = 0;
    // Whether the bars stand on the horizontal axis.
    bool VerticalBars() const { return YMandatory(); }
    // The axis the bars stand on, and its pixel of a category value.
    TChartAxis* CategoryAxis() const { return YMandatory() ? GetHorizAxis() : GetVertAxis(); }
    int CategoryPixel(double Value) const { return YMandatory() ? ValueToScreenX(Value) : ValueToScreenY(Value); }
    // The style of one value (the event may change it).
    TBarStyle StyleOfValue(int ValueIndex);
    // Whether the bars may be drawn column by column: flat rectangles from one origin in
    // one colour, whose union looks the same as the bars drawn one by one.
    bool CanJoinColumns() const;
    // The rectangle drawn with the 2D special cases of thin bars.
    void DrawPlainRectangle(const TRect& R);
    // The bar of the current style between StartPos (value end) and EndPos (origin end)
    // along the value axis, across FBarBounds: vertical bars or horizontal ones.
    void DrawBarFigure(bool Vertical, int StartPos, int EndPos);
    // After the shape: the gradient fill, bevel frame and tick lines.
    void DrawBarExtras(TBarStyle Style, int ValueIndex);
    // The gradient's end colour for a value.
    TColor GradientEndColor(int ValueIndex, TColor BarColor) const;
    // Sum of the values of the same sign at ValueIndex over the stack (this series'
    // group): the series before this one, or all of them.
    double StackSum(int ValueIndex, bool AllSeries) const;
    // The 100 % stack total at ValueIndex (0 when nothing to share out).
    double Stack100Total(int ValueIndex) const;
    // Minimum and maximum of the bar ends along the value axis.
    void ValueExtremes(double& Min, double& Max) const;
    // The bars' range along the category axis: the series position for a self stack,
    // the running position for side-all bars.
    bool CategoryExtremes(double& Min, double& Max) const;
    int SeriesPositionInChart() const;
    // Related bar series of the chart, active ones only, in chart order.
    std::vector<TCustomBarSeries*> RelatedBars(bool OnlyActive) const;
    void CategoryMargins(int& Low, int& High);
    void ValueMargins(int& Low, int& High);

    TRect FBarBounds;
    TColor FBarColor = clDefault;
    // The value being drawn and its style.
    int FCurrentIndex = -1;
    TBarStyle FCurrentStyle = bsRectangle;
    int FConePercent = 0;

private:
    // A multi-bar style shown on a preview chart with this series alone: a second series
    // of the class joins it, so that the placement shows.
    void ApplyGalleryMultiBar(TMultiBar Style);

    bool FAutoBarSize = false;
    bool FAutoMarkPosition = true;
    TBarStyle FBarStyle = bsRectangle;
    int FBarWidthPercent = 70;
    int FBevelSize = 1;
    bool FDark3D = true;
    int FDepthPercent = 100;
    std::unique_ptr<TBarSeriesGradient> FGradient;
    TMultiBar FMultiBar = mbSide;
    int FOffsetPercent = 0;
    bool FSideMargins = true;
    int FStackGroup = 0;
    std::unique_ptr<TChartHiddenPen> FTickLines;
    int FTransparency = 0;
    bool FUseYOrigin = true;
    double FYOrigin = 0;

    // Positions prepared before each drawing.
    int FNumBars = 0;
    int FMaxBarPoints = -1;
    int FOrderPos = 1;
    int FPreviousCount = 0;
};

class TBarSeries : public TCustomBarSeries {
public:
    DECLARE_CLASS_INFO(TBarSeries)
    bool IsClassOf(const TChartSeries* S) const override { return dynamic_cast<const TBarSeries*>(S) != nullptr; }
    explicit TBarSeries(TComponent* AOwner);

    int CustomBarWidth() const { return FCustomBarWidth; }
    void SetCustomBarWidth(int V) { SetAndRepaint(FCustomBarWidth, V); }
    // The left edge of the bar.
    int PointScreenX(int Index) const override;
    // The value end of the bar.
    int PointScreenY(int Index) const override;
    // The bar between the upper and the lower pixel (Top <= Bottom) in the style.
    virtual void DrawBar(int BarIndex, int StartPos, int EndPos);
    void Assign(TPersistent* Source) override;

protected:
    void DrawBarShape(TBarStyle Style, int Start, int End) override;
    int CustomBarSize() const override { return FCustomBarWidth; }

private:
    int FCustomBarWidth = 0;
};

class THorizBarSeries : public TCustomBarSeries {
public:
    DECLARE_CLASS_INFO(THorizBarSeries)
    bool IsClassOf(const TChartSeries* S) const override { return dynamic_cast<const THorizBarSeries*>(S) != nullptr; }
    explicit THorizBarSeries(TComponent* AOwner);

    int CustomBarHeight() const { return FCustomBarHeight; }
    void SetCustomBarHeight(int V) { SetAndRepaint(FCustomBarHeight, V); }
    int PointScreenX(int Index) const override;
    // The top edge of the bar.
    int PointScreenY(int Index) const override;
    // The bar between the right and the left pixel in the style.
    virtual void DrawBar(int BarIndex, int StartPos, int EndPos);
    void Assign(TPersistent* Source) override;

protected:
    void DrawBarShape(TBarStyle Style, int Start, int End) override;
    int CustomBarSize() const override { return FCustomBarHeight; }

private:
    int FCustomBarHeight = 0;
};
