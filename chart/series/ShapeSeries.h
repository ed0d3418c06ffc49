// The shape series: one geometric shape (rectangle, ellipse, lines, triangles, diamond,
// cube, crosses, star, pyramids) with optional lines of text, between two corners kept
// as the series' first two points, placed in axis values or in pixels.
#pragma once

#include "Chart.h"
#include "Series.h"

#include <memory>

enum TChartShapeStyle {
    chasRectangle, chasCircle, chasVertLine, chasHorizLine, chasTriangle, chasInvertTriangle, chasLine,
    chasDiamond, chasCube, chasCross, chasDiagCross, chasStar, chasPyramid, chasInvertPyramid
};
// How the corners are placed: in pixels; both through the axes; the first through the
// axes and the second as a width and height in pixels.
enum TChartShapeXYStyle { xysPixels, xysAxis, xysAxisOrigin };
enum TTeeVertAlign { vaTop, vaCenter, vaBottom };

class TChartShape : public TChartSeries {
public:
    DECLARE_SERIES_CLASS(TChartShape)
    explicit TChartShape(TComponent* AOwner);
    ~TChartShape() override;
    std::string EditorClassName() const override { return "TChartShapeEditor"; }

    // ---- virtual slots after the base's ----
    // The corner rectangle in pixels, as placed (not put in order).
    virtual TRect GetShapeRectangle() const;
    virtual void SetText(TStrings* Value);

    // ---- series operations ----
    // Also the brush colour.
    void SetSeriesColor(TColor Value) override;
    // The shape and its text, drawn once (for point 0) while the series has two points.
    void DrawValue(int ValueIndex) override;
    // The shape drawn flat into R.
    void DrawSymbolShape(int ValueIndex, const TRect& R) override;
    // 0 when (X, Y) lies on the shape, else -1.
    int Clicked(int X, int Y) override;
    bool UseAxis() const override { return FXYStyle != xysPixels; }
    // Placed at an origin with a pixel size, only the first corner is an axis value.
    double GreatestX() const override;
    double LeastX() const override;
    double GreatestY() const override;
    double LeastY() const override;
    void ComputeZOrder() override;
    bool SharesZOrder() const override { return false; }
    bool AcceptsDataSource(TComponent* Source) const override;
    void Assign(TPersistent* Source) override;
    // After the plain style: thirteen shape styles and "Hollow".
    void AddSubGalleryStyles(std::vector<std::string>& Styles) override;
    // Entries 1..13 choose a style, 14 ("Hollow") toggles Transparent.
    void ApplySubGalleryStyle(int Index) override;
    // Two corners within the sample ranges (the default ones without an X step).
    void MakeSamplePoints(int NumValues, bool OnlyMandatory) override;
    // Bold size 12 text: a blue circle "abc" as the chart's second series, else a red
    // triangle "123"; silver when disabled.
    void SetUpGalleryPreview(bool Enabled) override;

    // ---- properties ----
    double X0() const { return CornerValue(0, true); }
    void SetX0(double Value) { SetCornerValue(0, true, Value); }
    double Y0() const { return CornerValue(0, false); }
    void SetY0(double Value) { SetCornerValue(0, false, Value); }
    double X1() const { return CornerValue(1, true); }
    void SetX1(double Value) { SetCornerValue(1, true, Value); }
    double Y1() const { return CornerValue(1, false); }
    void SetY1(double Value) { SetCornerValue(1, false, Value); }
    TChartShapeStyle Style() const { return FStyle; }
    void SetStyle(TChartShapeStyle Value);
    TChartShapeXYStyle XYStyle() const { return FXYStyle; }
    void SetXYStyle(TChartShapeXYStyle Value);
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment Value);
    TTeeVertAlign VertAlign() const { return FVertAlign; }
    void SetVertAlign(TTeeVertAlign Value);
    TStrings* Text() const { return FText.get(); }
    TTeeFont* Font() const { return FFont.get(); }
    void SetFont(TTeeFont* Value) { FFont->Assign(Value); }
    TTeeGradient* Gradient() const { return FGradient.get(); }
    void SetGradient(TTeeGradient* Value) { FGradient->Assign(Value); }
    bool RoundRectangle() const { return FRoundRectangle; }
    void SetRoundRectangle(bool Value) { SetAndRepaint(FRoundRectangle, Value); }
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool Value) { SetAndRepaint(FTransparent, Value); }

private:
    double CornerValue(int Index, bool IsX) const;
    // Writes a corner value; the missing default corners are added first.
    void SetCornerValue(int Index, bool IsX, double Value);
    // The shape in R (put in order) or, for a line, from Corners' first to its second
    // corner; flat, or in 3D between the series' depths.
    void DrawShape(bool Is3D, const TRect& R, const TRect& Corners);
    void DrawText(bool Is3D, const TRect& R);

    TChartShapeStyle FStyle = chasCircle;
    TChartShapeXYStyle FXYStyle = xysAxis;
    TAlignment FAlignment = taCenter;
    TTeeVertAlign FVertAlign = vaCenter;
    std::unique_ptr<TStringList> FText;
    std::unique_ptr<TTeeFont> FFont;
    std::unique_ptr<TTeeGradient> FGradient;
    bool FRoundRectangle = false;
    bool FTransparent = false;
};

// The unit's start-up registers the shape series in the series-type registry.
void ShapeSeriesInitialization();
void ShapeSeriesFinalization();
