// The symbol a series draws at each point (square, circle, triangles, crosses, star,
// diamond, dot) flat or as a solid in a 3D chart, and the callout: that symbol plus an
// arrow line from a mark to its point. Every setter compares, stores and asks the
// chart to repaint.
#pragma once

#include "RizUridu/Shapes.h"
#include "TeEngine/AxisPanel.h"
#include "TeEngine/Series.h"

#include <memory>

enum TSeriesPointerStyle {
    psRectangle, psCircle, psTriangle, psDownTriangle, psCross, psDiagCross, psStar, psDiamond,
    psSmallDot, psNothing, psLeftTriangle, psRightTriangle
};
inline constexpr int TeePointerStyleCount = int(psRightTriangle) + 1;

enum TArrowHeadStyle { ahNone, ahLine, ahSolid };

class TSeriesMarkPosition;

// When on, a callout arrow whose colour would vanish against the point or the chart's
// background is drawn white on a black background, else black. Off by default.
extern bool TeeCalloutArrowContrast;

class TSeriesPointer : public TTeeCustomShapeBrushPen {
public:
    DECLARE_CLASS_INFO(TSeriesPointer)
    // With a series the pointer draws on the series' chart.
    explicit TSeriesPointer(TChartSeries* ASeries = nullptr);
    ~TSeriesPointer() override;

    TChartSeries* Series() const { return FSeries; }

    bool Dark3D() const { return FDark3D; }
    void SetDark3D(bool v);
    bool Draw3D() const { return FDraw3D; }
    void SetDraw3D(bool v);
    TTeeGradient* Gradient() const { return FGradient.get(); }
    void SetGradient(TCustomTeeGradient* v);
    // Half width in pixels; below 1 raises ChartException and keeps the old value.
    int HorizSize() const { return FHorizSize; }
    void SetHorizSize(int v);
    bool InflateMargins() const { return FInflateMargins; }
    void SetInflateMargins(bool v);
    // A value outside the style list raises ERangeError.
    TSeriesPointerStyle Style() const { return FStyle; }
    void SetStyle(TSeriesPointerStyle v);
    // 0..100 percent; anything else raises ERangeError.
    int Transparency() const { return FTransparency; }
    void SetTransparency(int v);
    // Half height in pixels; below 1 raises ChartException and keeps the old value.
    int VertSize() const { return FVertSize; }
    void SetVertSize(int v);
    // Whether the sizes may be edited (the bubble series sizes its pointer itself).
    bool AllowSizeChanges() const { return FAllowSizeChanges; }
    void SetAllowSizeChanges(bool v) { FAllowSizeChanges = v; }
    // Sizes a series type computes for each value (a bubble's radius): stored as they
    // are, without the size check and without a repaint.
    void StoreSizes(int H, int V)
    {
        FHorizSize = H;
        FVertSize = V;
    }

    // The depths the owner series draws at (front, middle, back); all 0 until the
    // series computes its depth extent and hands them over.
    int StartZ() const { return FStartZ; }
    int MiddleZ() const { return FMiddleZ; }
    int EndZ() const { return FEndZ; }
    void SetDepthExtent(int StartZ, int MiddleZ, int EndZ);

    // Each margin becomes at least the half size + 1, when visible and InflateMargins.
    void InflateHorizMargins(int& A, int& B) const;
    void InflateVertMargins(int& A, int& B) const;

    // Brings the pen and brush to the surface; the default colour (0x20000000) of either
    // stands for Color (a non-solid default brush is black).
    void PrepareCanvas(TTeeCanvas* Surface, TColor Color);
    // DrawPointer on the chart's surface (3D when the chart is), with the pointer's sizes.
    // The caller prepares the canvas first. Nothing without a chart or while hidden.
    void Draw(int X, int Y, TColor Color, TSeriesPointerStyle AStyle);
    void Draw(int X, int Y, TColor Color) { Draw(X, Y, Color, FStyle); }
    // The symbol of style AStyle centred at (X, Y) with half sizes H and V. Sizes below
    // 0 count as 0; an unknown style draws nothing.
    void DrawPointer(TCanvas3D* Surface, bool Is3D, int X, int Y, int H, int V, TColor Color,
                     TSeriesPointerStyle AStyle);

    void Assign(TPersistent* Source) override;

private:
    void DrawShape(TCanvas3D* Surface, bool Is3D, int X, int Y, int H, int V, TColor Color,
                   TSeriesPointerStyle AStyle);
    void DrawGradient(TCanvas3D* Surface, bool Is3D, int X, int Y, int H, int V, TSeriesPointerStyle AStyle);
    bool ChartOrthogonal() const;

    bool FDark3D = true;
    bool FDraw3D = true;
    std::unique_ptr<TTeeGradient> FGradient;
    int FHorizSize = 4;
    bool FInflateMargins = true;
    TChartSeries* FSeries = nullptr;
    TSeriesPointerStyle FStyle = psRectangle;
    int FTransparency = 0;
    int FVertSize = 4;
    bool FAllowSizeChanges = true;
    int FStartZ = 0;
    int FMiddleZ = 0;
    int FEndZ = 0;
};

class TCallout : public TSeriesPointer {
public:
    DECLARE_CLASS_INFO(TCallout)
    explicit TCallout(TChartSeries* ASeries = nullptr);
    ~TCallout() override;

    // The line from the mark to the point.
    TWhitePen* Arrow() const { return FArrow.get(); }
    void SetArrow(TChartPen* v);
    TArrowHeadStyle ArrowHead() const { return FArrowHead; }
    void SetArrowHead(TArrowHeadStyle v);
    int ArrowHeadSize() const { return FArrowHeadSize; }
    void SetArrowHeadSize(int v);
    int Distance() const { return FDistance; }
    void SetDistance(int v);

    // The arrow from From to To at depth Z, then (without an arrow head) the callout's
    // symbol at From. Color is the point's colour. Nothing without a chart.
    void Draw(TColor Color, const TPoint& From, int Z, const TPoint& To);
    // The same on a given surface.
    void DrawOn(TCanvas3D* Surface, bool Is3D, TColor Color, const TPoint& From, int Z, const TPoint& To);
    using TSeriesPointer::Draw;

    void Assign(TPersistent* Source) override;

private:
    std::unique_ptr<TWhitePen> FArrow;
    TArrowHeadStyle FArrowHead = ahNone;
    int FArrowHeadSize = 8;
    int FDistance = 0;
};

// The callout the series marks own: hidden symbol, white arrow, and a length.
class TMarksCallout : public TCallout {
public:
    DECLARE_CLASS_INFO(TMarksCallout)
    explicit TMarksCallout(TChartSeries* ASeries = nullptr);

    // The arrow length in pixels.
    int Length() const { return FLength; }
    void SetLength(int v);
    // The length a series type starts from; Length is stored only when different.
    int DefaultLength() const { return FDefaultLength; }
    void SetDefaultLength(int v) { FDefaultLength = v; }
    bool IsLengthStored() const { return FLength != FDefaultLength; }

    // Moves a mark away from its point: the mark's top-left and the arrow end go up by
    // Length + Distance, the arrow start by Distance.
    void ShiftMarkPosition(TPoint& ArrowFrom, TPoint& ArrowTo, TPoint& LeftTop) const;
    // The same on a mark's position record.
    void ShiftMarkPosition(TSeriesMarkPosition& Position) const;

    void Assign(TPersistent* Source) override;

private:
    int FLength = 8;
    int FDefaultLength = 8;
};
