// The area series: the line engine fills each segment down to an origin (the axis end, the
// top of the stack below, or a fixed value), and the horizontal variant.
#pragma once

#include "Series/LineSeries.h"

#include <memory>

enum TMultiArea { maNone, maStacked, maStacked100 };

class TAreaSeries : public TCustomSeries {
public:
    DECLARE_SERIES_CLASS(TAreaSeries)
    explicit TAreaSeries(TComponent* AOwner);
    std::string EditorClassName() const override { return "TAreaSeriesEditor"; }

    // ---- origin and extremes ----
    // With UseYOrigin the pixel of YOrigin along the mandatory axis.
    int PointOriginValue(int ValueIndex) const override;
    double GreatestX() const override;
    double LeastX() const override;
    double GreatestY() const override;
    double LeastY() const override;
    // Stacked areas draw in the order of their mandatory axis, so they overlap alike.
    bool PointOrderForward() const override;

    // The area series itself, flat, solid, without gradient, transparency or stairs.
    bool AreaSegmentsArePlain() const override;

    // ---- legend ----
    void DrawSymbolShape(int ValueIndex, const TRect& R) override;

    // ---- properties ----
    TBrushStyle AreaBrush() const { return AreaChartBrush()->Style(); }
    void SetAreaBrush(TBrushStyle V) { AreaChartBrush()->SetStyle(V); }
    TMultiArea MultiArea() const;
    void SetMultiArea(TMultiArea V);
    bool UseYOrigin() const { return FUseYOrigin; }
    void SetUseYOrigin(bool V) { SetAndRepaint(FUseYOrigin, V); }
    double YOrigin() const { return FYOrigin; }
    void SetYOrigin(double V);

    void Assign(TPersistent* Source) override;
    // With its gradient, ending in the series colour.
    void SetUpGalleryPreview(bool Enabled) override;
    // Stairs, Marks, Colors, Hollow, No Lines, Stack, Stack 100%, Points, Gradient.
    void AddSubGalleryStyles(std::vector<std::string>& Styles) override;
    void ApplySubGalleryStyle(int Index) override;

protected:
    void DrawAreaSegment(int PrevX, int PrevY, int PrevOrigin, int X, int Y, int Origin, TColor Color,
                         bool IsLast) override;
    void HoldAreaBands(bool Hold) override;
    void AreaBandsOverdrawn(int X, int Top, int Bottom) override;
    bool HoldAreaColumn(int X, int Top, int Bottom, TColor Colour) override;

private:
    // The area colour of a value in Color.
    TColor AreaColorOf(TColor Color) const;
    void OriginExtreme(bool Mandatory, bool IsMax, double& Value) const;

    bool FUseYOrigin = false;
    double FYOrigin = 0;
    // The short polygons of segments far from their origin, drawn once by shape and colours
    // and stamped where they fall.
    struct TShapeStamps;
    std::shared_ptr<TShapeStamps> FStamps;
    // The bands of tall segments held back while HoldAreaBands holds them.
    struct TBandBatch;
    std::shared_ptr<TBandBatch> FBands;
};

class THorizAreaSeries : public TAreaSeries {
public:
    DECLARE_SERIES_CLASS(THorizAreaSeries)
    explicit THorizAreaSeries(TComponent* AOwner);
    int DefaultSampleCount() const override { return 10; }
    // To the right of the point by the callout's length and distance, centred vertically.
    void DrawMark(int ValueIndex, const std::string& Text, TSeriesMarkPosition& Position) override;
};
