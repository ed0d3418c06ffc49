// The arrow series: each value an arrow from its start point to its end point, the
// head's size taken from the pointer.
#pragma once

#include "Series.h"

class TArrowSeries : public TPointSeries {
public:
    DECLARE_SERIES_CLASS(TArrowSeries)
    explicit TArrowSeries(TComponent* AOwner);
    std::string EditorClassName() const override { return "TArrowSeriesEditor"; }
    bool HasPointerStyleGallery() const override { return false; }

    // An arrow from (X0, Y0) to (X1, Y1).
    int AddArrow(double X0, double Y0, double X1, double Y1, const std::string& Label = {},
                 TColor Color = clDefault);

    void DrawValue(int ValueIndex) override;
    // The first arrow whose line passes within the line pen's width of (X, Y).
    int Clicked(int X, int Y) override;
    double GreatestX() const override;
    double LeastX() const override;
    double GreatestY() const override;
    double LeastY() const override;
    bool AcceptsDataSource(TComponent* Source) const override;
    void Assign(TPersistent* Source) override;
    // Arrows from random starts within the sample ranges to random offsets of them.
    void MakeSamplePoints(int NumValues, bool OnlyMandatory) override;
    // As a point series with three arrows of 12 by 12 heads.
    void SetUpGalleryPreview(bool Enabled) override;

    TChartValueList* StartXValues() const { return XValues(); }
    TChartValueList* StartYValues() const { return YValues(); }
    TChartValueList* EndXValues() const { return FEndXValues; }
    TChartValueList* EndYValues() const { return FEndYValues; }
    // Percent of the head's width that the shaft takes (filled arrows).
    int ArrowPercent() const { return FArrowPercent; }
    void SetArrowPercent(int Value) { SetAndRepaint(FArrowPercent, Value); }
    // The head's width and height: the pointer's horizontal and vertical size.
    int ArrowWidth() const { return Pointer()->HorizSize(); }
    void SetArrowWidth(int Value) { Pointer()->SetHorizSize(Value); }
    int ArrowHeight() const { return Pointer()->VertSize(); }
    void SetArrowHeight(int Value) { Pointer()->SetVertSize(Value); }

private:
    TPoint EndPoint(int Index) const;

    TChartValueList* FEndXValues;
    TChartValueList* FEndYValues;
    int FArrowPercent = 50;
};

// The unit's start-up registers the arrow series in the series-type registry.
void ArrowChaInitialization();
void ArrowChaFinalization();
