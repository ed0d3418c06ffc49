// Round series: TCircledSeries places an ellipse or circle in the chart rectangle and
// converts between angles and points; TPieSeries draws one slice per value, flat or in
// 3D, with exploded slices, a donut hole, a shadow and an "other" slice that groups
// small values.
#pragma once

#include "TeEngine.h"

#include <memory>
#include <vector>

class TChartLegend;

class TCircledSeries : public TChartSeries {
public:
    DECLARE_CLASS_INFO(TCircledSeries)
    bool IsClassOf(const TChartSeries* S) const override { return dynamic_cast<const TCircledSeries*>(S) != nullptr; }
    explicit TCircledSeries(TComponent* AOwner);
    ~TCircledSeries() override;

    // ---- geometry ----
    // Places the circle in the chart rectangle (see CalcCircleRect) and normalises it.
    void CalcCircleRect();
    // Even width and height of at least 4; radii and centre from the rectangle.
    void NormalizeCircle();
    // The point at Angle (radians, the rotation added) on an ellipse of the radii.
    void AngleToPoint(double Angle, double XRadius, double YRadius, int& X, int& Y) const;
    TPoint AngleToPoint(double Angle) const;
    // The circle background: CircleBackColor's gradient inside the ellipse.
    void DrawCircle();
    // CircleBackColor, or the chart's background when it is the default colour.
    TColor CalcCircleBackColor() const;
    bool HasBackColor() const { return FCircleBackColor != clDefault && FCircleBackColor != clNone; }

    int XRadius() const { return FXRadius; }
    int YRadius() const { return FYRadius; }
    int CircleXCenter() const { return FXCenter; }
    int CircleYCenter() const { return FYCenter; }
    int CircleWidth() const { return FCircleWidth; }
    int CircleHeight() const { return FCircleHeight; }
    const TRect& CircleRect() const { return FCircleRect; }
    void SetCircleRect(const TRect& R);
    double RotationRadians() const { return FRotationRadians; }

    // ---- properties ----
    TColor CircleBackColor() const { return FCircleBackColor; }
    void SetCircleBackColor(TColor V) { SetAndRepaint(FCircleBackColor, V); }
    bool Circled() const { return FCircled; }
    // Copied to every round series of the chart; off (outside loading) clears their
    // custom radii.
    void SetCircled(bool V);
    int CustomXRadius() const { return FCustomXRadius; }
    void SetCustomXRadius(int V);
    int CustomYRadius() const { return FCustomYRadius; }
    void SetCustomYRadius(int V);
    int RotationAngle() const { return FRotationAngle; }
    // Stored modulo 360.
    void SetRotationAngle(int V);
    TTeeGradient* Gradient() const { return FGradient.get(); }
    void SetGradient(TTeeGradient* V) { FGradient->Assign(V); }

    // ---- engine ----
    bool UseAxis() const override { return false; }
    void SetActive(bool Value) override;
    void SetParentChart(TCustomAxisPanel* Value) override;
    void ComputeZOrder() override;
    void ComputeDepthExtent() override;
    bool SharesZOrder() const override { return false; }
    double GreatestX() const override;
    double LeastX() const override;
    double GreatestY() const override;
    double LeastY() const override;
    void Assign(TPersistent* Source) override;

protected:
    // The view a round series gives a chart that is not truly 3D while it is active.
    virtual void AdjustView3D(TView3DOptions* View) {}
    // How much the placement leaves around the circle for marks; none in the base.
    virtual void MarksRoom(int& Horizontal, int& Vertical) {}
    // Every series of the chart of this class but this one.
    std::vector<TCircledSeries*> RoundSeries() const;

private:
    void SaveView3D();
    void RestoreView3D();

    TColor FCircleBackColor = clDefault;
    bool FCircled = false;
    int FCustomXRadius = 0;
    int FCustomYRadius = 0;
    int FRotationAngle = 0;
    int FXRadius = 0, FYRadius = 0;
    std::unique_ptr<TView3DOptions> FSavedView;
    int FCircleWidth = 0, FCircleHeight = 0;
    int FXCenter = 0, FYCenter = 0;
    TRect FCircleRect;
    double FRotationRadians = 0;
    std::unique_ptr<TTeeGradient> FGradient;
};

// One integer per value (explode and depth percents): reading past the end gives 0,
// writing past the end extends the list.
class TSliceValueList {
public:
    int Value(int Index) const { return Index >= 0 && Index < int(FItems.size()) ? FItems[Index] : 0; }
    void SetValue(int Index, int V);
    int Count() const { return int(FItems.size()); }
    bool Empty() const { return FItems.empty(); }
    void Clear() { FItems.clear(); }
    void Delete(int Index);
    void Exchange(int A, int B);
    std::vector<int>& Items() { return FItems; }

private:
    std::vector<int> FItems;
};

enum TMultiPie { mpAutomatic, mpDisabled };
enum TPieOtherStyle { poNone, poBelowPercent, poBelowValue };

class TPieSeries;

// The slice that groups the values below a threshold, with a legend of its own.
class TPieOtherSlice : public TPersistent {
public:
    DECLARE_CLASS_INFO(TPieOtherSlice)
    explicit TPieOtherSlice(TPieSeries* Pie);
    ~TPieOtherSlice() override;

    TColor Color() const { return FColor; }
    void SetColor(TColor V);
    // Created hidden on first access, listing the pie (nullptr while the pie has no chart).
    TChartLegend* Legend();
    bool HasLegend() const { return FLegend != nullptr; }
    TPieOtherStyle Style() const { return FStyle; }
    void SetStyle(TPieOtherStyle V);
    // Empty reads as the chart text "Other".
    std::string Text() const;
    void SetText(const std::string& V);
    bool IsTextStored() const { return !FText.empty(); }
    double Value() const { return FValue; }
    void SetValue(double V);

    TPersistent* GetOwner() const override;
    void Assign(TPersistent* Source) override;
    // The pie moved to another chart: the legend follows it.
    void ChartChanged();

private:
    void Changed();
    TPieSeries* FPie;
    TColor FColor = clDefault;
    std::unique_ptr<TChartLegend> FLegend;
    TPieOtherStyle FStyle = poNone;
    std::string FText;
    double FValue = 0;
};

// The pie's shadow: grey by default.
class TPieShadow : public TTeeShadow {
public:
    DECLARE_CLASS_INFO(TPieShadow)
    explicit TPieShadow(TNotifyEvent onChange = nullptr);
};

// One slice's angles in radians, without the rotation.
struct TPieAngle {
    double StartAngle = 0;
    double MidAngle = 0;
    double EndAngle = 0;
};

class TPieSeries : public TCircledSeries {
public:
    DECLARE_CLASS_INFO(TPieSeries)
    bool IsClassOf(const TChartSeries* S) const override { return dynamic_cast<const TPieSeries*>(S) != nullptr; }
    explicit TPieSeries(TComponent* AOwner);
    ~TPieSeries() override;
    std::string EditorClassName() const override { return "TPieSeriesEditor"; }

    // ---- angles and explosion ----
    // The angles of every visible value from its share of the total.
    void ComputeSliceAngles();
    const std::vector<TPieAngle>& Angles() const { return FAngles; }
    // The offset of an exploded slice (0, 0 for others).
    void CalcExplodedOffset(int ValueIndex, int& DX, int& DY) const;
    // ExplodeBiggest applied to the largest value.
    void CalcExplodeBiggest();
    // The X value of the values grouped into the other slice, and of the other slice.
    static constexpr double GroupedX = -1;
    static constexpr double OtherSliceX = 2147483647.0;

    // ---- engine ----
    void PrepareSeriesPositions() override;
    void FindVisibleIndexRange() override;
    void DrawVisiblePoints() override;
    void DrawValue(int ValueIndex) override;
    void DrawMark(int ValueIndex, const std::string& Text, TSeriesMarkPosition& Position) override;
    void DrawSymbolShape(int ValueIndex, const TRect& R) override;
    int Clicked(int X, int Y) override;
    int PointScreenX(int Index) const override;
    void ClearLists() override;
    void Delete(int ValueIndex) override;
    void ExchangePoints(int A, int B) override;
    void SetParentChart(TCustomAxisPanel* Value) override;
    int DefaultSampleCount() const override { return 8; }
    // Random(1000) + 1 each, labelled "Cars", "Phones", ... in turn.
    void MakeSamplePoints(int NumValues, bool OnlyMandatory) override;
    // Eight sample values in a deep, tilted 3D pie with every mark.
    void SetUpGalleryPreview(bool Enabled) override;
    // After the plain style: "Patterns", "Exploded", "Shadow", "Marks", "Semi Pie",
    // "No Border", "Dark Border".
    void AddSubGalleryStyles(std::vector<std::string>& Styles) override;
    void ApplySubGalleryStyle(int Index) override;

    // ---- properties ----
    int AngleSize() const { return FAngleSize; }
    void SetAngleSize(int V) { SetAndRepaint(FAngleSize, V); }
    bool AutoMarkPosition() const { return FAutoMarkPosition; }
    void SetAutoMarkPosition(bool V) { SetAndRepaint(FAutoMarkPosition, V); }
    bool Dark3D() const { return FDark3D; }
    void SetDark3D(bool V) { SetAndRepaint(FDark3D, V); }
    int DarkPen() const { return FDarkPen; }
    void SetDarkPen(int V) { SetAndRepaint(FDarkPen, V); }
    int DonutPercent() const { return FDonutPercent; }
    void SetDonutPercent(int V) { SetAndRepaint(FDonutPercent, V); }
    TSliceValueList& ExplodedSlice() { return FExplodedSlice; }
    int ExplodeBiggest() const { return FExplodeBiggest; }
    void SetExplodeBiggest(int V);
    TMultiPie MultiPie() const { return FMultiPie; }
    void SetMultiPie(TMultiPie V);
    TPieOtherSlice* OtherSlice() const { return FOtherSlice.get(); }
    void SetOtherSlice(TPieOtherSlice* V) { FOtherSlice->Assign(V); }
    TChartPen* PiePen() const { return Pen(); }
    void SetPiePen(TChartPen* V) { SetPen(V); }
    TChartValueList* PieValues() const { return YValues(); }
    TPieShadow* Shadow() const { return FShadow.get(); }
    void SetShadow(TTeeShadow* V) { FShadow->Assign(V); }
    TSliceValueList& SliceHeight() { return FSliceHeight; }
    bool UsePatterns() const { return FUsePatterns; }
    void SetUsePatterns(bool V) { SetAndRepaint(FUsePatterns, V); }

    void Assign(TPersistent* Source) override;
    // The points without the computed other slice, which the next drawing adds again.
    void WriteData(TStream* Stream) override;

protected:
    void AdjustView3D(TView3DOptions* View) override;
    void MarksRoom(int& Horizontal, int& Vertical) override;

private:
    friend class TPieOtherSlice;
    // Groups the small values into the other slice (before drawing).
    void PrepareOtherSlice();
    // Deletes the point of the other slice, when there is one.
    void RemoveOtherSlice();
    // The chart rectangle of this pie's cell when several pies share the chart.
    bool MultiPieCell(TRect& Cell) const;
    int LargestExplodePercent() const;
    // Back-to-front drawing order of the visible values in a 3D view.
    std::vector<int> DepthSortedIndices() const;
    void DrawSlice(int ValueIndex, bool Sides);

    int FAngleSize = 360;
    bool FAutoMarkPosition = true;
    bool FDark3D = true;
    int FDarkPen = 0;
    int FDonutPercent = 0;
    TSliceValueList FExplodedSlice;
    int FExplodeBiggest = 0;
    TMultiPie FMultiPie = mpAutomatic;
    std::unique_ptr<TPieOtherSlice> FOtherSlice;
    std::unique_ptr<TPieShadow> FShadow;
    TSliceValueList FSliceHeight;
    bool FUsePatterns = false;
    std::vector<TPieAngle> FAngles;
    TPoint FPreviousEnd;
    bool FIsExploded = false;
};
