// The bubble series: each value a circle at (X, Y) whose radius, a third value, is
// measured in axis units.
#pragma once

#include "Series.h"

class TBubbleSeries : public TPointSeries {
public:
    DECLARE_SERIES_CLASS(TBubbleSeries)
    explicit TBubbleSeries(TComponent* AOwner);
    std::string EditorClassName() const override { return "TBubbleSeriesEditor"; }

    int AddBubble(double X, double Y, double Radius, const std::string& Label = {}, TColor Color = clDefault);

    // The pointer takes the radius' pixel length on the vertical axis (and on the
    // horizontal one unless Squared).
    void BeforeDrawPointer(int ValueIndex) override;
    void DrawValue(int ValueIndex) override;
    // Inside the value's symbol, by pointer style.
    int Clicked(int X, int Y) override;
    // The pointer fitted to the smaller side of R.
    void DrawSymbolShape(int ValueIndex, const TRect& R) override;
    // Y extremes reach each bubble's top and bottom.
    double GreatestY() const override;
    double LeastY() const override;
    // In 3D the bubbles reach the largest radius to either side in depth.
    double GreatestZ() const override;
    double LeastZ() const override;
    bool AcceptsDataSource(TComponent* Source) const override;
    int DefaultSampleCount() const override { return 8; }
    void Assign(TPersistent* Source) override;
    // Bubbles along the sample X range at random heights, with random radii.
    void MakeSamplePoints(int NumValues, bool OnlyMandatory) override;
    // As a point series, with the pointer's gradient.
    void SetUpGalleryPreview(bool Enabled) override;

    TChartValueList* RadiusValues() const { return FRadiusValues; }
    bool Squared() const { return FSquared; }
    void SetSquared(bool Value) { SetAndRepaint(FSquared, Value); }

private:
    bool PointerIn3D() const;

    TChartValueList* FRadiusValues;
    bool FSquared = true;
};

// The unit's start-up registers the bubble series in the series-type registry.
void BubbleChInitialization();
void BubbleChFinalization();
