// See-through drawing by blending what was drawn with what lay beneath, and the
// filtered two-pass bitmap resize.
#pragma once

#include "TeCanvas/Surface.h"

#include <functional>
#include <memory>

class TTeeBlend : public TObject {
public:
    DECLARE_CLASS_NAME(TTeeBlend)
    // Captures the pixels under the rectangle (normalized, within the surface); percent
    // is the transparency this bracket ends with, so that brackets can nest.
    TTeeBlend(TTeeCanvas* surface, const TRect& r, int percent = 0);
    ~TTeeBlend() override;

    bool Valid() const { return FValid; }
    const TRect& BlendRect() const { return FRect; }
    int Percent() const { return FPercent; }
    // Mixes the captured background into what was drawn since: each channel becomes
    // drawn + (background - drawn) * percent / 100. 0 leaves the drawing as it is.
    void DoBlend(int percent);

private:
    TTeeCanvas* FSurface;
    TRect FRect;
    bool FValid = false;
    int FPercent = 0;
    std::unique_ptr<TBitmap> FBackground;
};

using TFilterFunction = std::function<double(double)>;
double TriangleFilter(double x);
double Lanczos3Filter(double x);

// Resizes Source into Destination (both at least 2 x 2, else Exception) with the
// filter and its support; nullptr bitmaps do nothing.
void SmoothStretch(TBitmap* source, TBitmap* destination, const TFilterFunction& filter, double support);
// Fast: triangle filter, support 1; otherwise Lanczos-3, support 3.
void SmoothStretchBitmap(TBitmap* source, TBitmap* destination, bool fast);
