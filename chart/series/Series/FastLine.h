// A series that draws many points as one polyline with little work per point: no
// pointers, no areas, no per-segment colours; it skips points on the pixel column already
// drawn and can draw each new point at once without repainting the chart.
#pragma once

#include "Series/LineSeries.h"

#include <memory>

class TFastLineSeries : public TCustomLineSeries {
public:
    DECLARE_SERIES_CLASS(TFastLineSeries)
    explicit TFastLineSeries(TComponent* AOwner);
    ~TFastLineSeries() override;

    std::string EditorClassName() const override { return "TFastLineSeriesEditor"; }
    // Marks, Dotted, Stairs.
    void AddSubGalleryStyles(std::vector<std::string>& Styles) override;
    void ApplySubGalleryStyle(int Index) override;

    // ---- drawing ----
    void DrawVisiblePoints() override;
    void DrawValue(int ValueIndex) override;
    void DrawSymbolShape(int ValueIndex, const TRect& R) override;
    // A mark stands above its point by the callout's length and distance.
    void DrawMark(int ValueIndex, const std::string& Text, TSeriesMarkPosition& Position) override;
    // Without AutoRepaint the new segment is drawn at once instead of repainting.
    void AfterAddValue(int ValueIndex, bool AddToDependents) override;

    // ---- pixels, hit test and margins ----
    // The point's pixel straight from the axes: no stacking, no offsets.
    int PointScreenX(int Index) const override { return ValueToScreenX(XValue(Index)); }
    int PointScreenY(int Index) const override { return ValueToScreenY(YValue(Index)); }
    int Clicked(int X, int Y) override;
    void AxisMarginsA(int& Left, int& Right) override;
    void AxisMarginsB(int& Top, int& Bottom) override;

    // ---- colour and pen kept together ----
    // The line pen takes the series colour.
    void SetSeriesColor(TColor Value) override;
    // The series takes the pen's colour.
    void SetPen(TChartPen* Value) override;

    // ---- properties ----
    bool AutoRepaint() const { return FAutoRepaint; }
    void SetAutoRepaint(bool V) { FAutoRepaint = V; }
    bool DrawAllPoints() const { return FDrawAllPoints; }
    void SetDrawAllPoints(bool V) { SetAndRepaint(FDrawAllPoints, V); }
    // Draw added segments with a pen the series keeps instead of LinePen.
    bool FastPen() const { return FFastPen; }
    void SetFastPen(bool V) { FFastPen = V; }
    bool IgnoreNulls() const { return FIgnoreNulls; }
    void SetIgnoreNulls(bool V) { SetAndRepaint(FIgnoreNulls, V); }
    bool InvertedStairs() const { return FInvertedStairs; }
    void SetInvertedStairs(bool V) { SetAndRepaint(FInvertedStairs, V); }
    bool Stairs() const { return FStairs; }
    void SetStairs(bool V) { SetAndRepaint(FStairs, V); }

    void Assign(TPersistent* Source) override;

private:
    // Moves the pen to the pixel of Index, which becomes the previous point.
    void MoveToPoint(int Index);
    void LineTo(int X, int Y);
    // The flat, solid line from Start to Last as one polyline reduced per pixel column;
    // false (nothing drawn) for stairs, 3D, or a pen or axis that needs the point path.
    bool DrawReduced(int Start, int Last);
    bool Is3D() const;

    bool FAutoRepaint = true;
    bool FDrawAllPoints = true;
    bool FFastPen = false;
    bool FIgnoreNulls = true;
    bool FInvertedStairs = false;
    bool FStairs = false;
    std::unique_ptr<TPen> FPlatformPen;
    int FOldX = 0;
    int FOldY = 0;
};
