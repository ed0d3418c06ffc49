// The state of a mouse drag on a chart (zoom rectangle or panning) and the zoom
// settings the chart panel keeps. The mouse handling that uses them belongs to the chart.
#pragma once

#include "TeCanvas.h"
#include "controls/CustomControls.h"

#include <memory>

// One drag: its start corner (X0, Y0) and current corner (X1, Y1), in client pixels.
class TZoomPanning : public TPersistent {
public:
    DECLARE_CLASS_NAME(TZoomPanning)
    bool Active = false;
    int X0 = 0, Y0 = 0, X1 = 0, Y1 = 0;

    // Both corners at (X, Y); the drag becomes active.
    void Activate(int X, int Y);
    // Puts the smaller coordinates in X0 and Y0.
    void Normalize();
};

class TTeeZoomBrush : public TChartBrush {
public:
    DECLARE_CLASS_INFO(TTeeZoomBrush)
    explicit TTeeZoomBrush(TNotifyEvent onChange = nullptr);   // white, clear
};

class TTeeZoomPen : public TChartPen {
public:
    DECLARE_CLASS_INFO(TTeeZoomPen)
    explicit TTeeZoomPen(TNotifyEvent onChange = nullptr);     // white
    bool IsColorStored() const { return Color() != clWhite; }
};

enum TTeeZoomDirection { tzdHorizontal, tzdVertical, tzdBoth };

class TTeeZoom : public TZoomPanning {
public:
    DECLARE_CLASS_INFO(TTeeZoom)
    TTeeZoom();
    ~TTeeZoom() override;

    bool Allow() const { return FAllow; }
    void SetAllow(bool v) { FAllow = v; }
    bool Animated() const { return FAnimated; }
    void SetAnimated(bool v) { FAnimated = v; }
    int AnimatedSteps() const { return FAnimatedSteps; }
    void SetAnimatedSteps(int v) { FAnimatedSteps = v; }
    // Created on first read; nullptr frees it, anything else is copied in.
    TTeeZoomBrush* Brush();
    bool HasBrush() const { return FBrush != nullptr; }
    void SetBrush(TChartBrush* v);
    TTeeZoomDirection Direction() const { return FDirection; }
    void SetDirection(TTeeZoomDirection v) { FDirection = v; }
    TShiftState KeyShift() const { return FKeyShift; }
    void SetKeyShift(TShiftState v) { FKeyShift = v; }
    int MinimumPixels() const { return FMinimumPixels; }
    void SetMinimumPixels(int v) { FMinimumPixels = v; }
    TMouseButton MouseButton() const { return FMouseButton; }
    void SetMouseButton(TMouseButton v) { FMouseButton = v; }
    TTeeZoomPen* Pen();
    bool HasPen() const { return FPen != nullptr; }
    void SetPen(TChartPen* v);
    bool UpLeftZooms() const { return FUpLeftZooms; }
    void SetUpLeftZooms(bool v) { FUpLeftZooms = v; }

    void Assign(TPersistent* Source) override;

private:
    bool FAllow = true;
    bool FAnimated = false;
    int FAnimatedSteps = 8;
    std::unique_ptr<TTeeZoomBrush> FBrush;
    TTeeZoomDirection FDirection = tzdBoth;
    TShiftState FKeyShift;
    int FMinimumPixels = 16;
    TMouseButton FMouseButton = mbLeft;
    std::unique_ptr<TTeeZoomPen> FPen;
    bool FUpLeftZooms = false;
};

// Draws the rectangle X0, Y0, X1, Y1 of Zoom on Surface so that a second call puts the
// pixels back: the pen (and the brush, when Zoom has one) are combined with the inverse
// of BackColor and drawn in not-xor mode, so over the back colour the outline shows in
// the pen's own colour. The canvas' pen mode is copy again afterwards.
void DrawZoomRectangleOn(TTeeCanvas* Surface, TTeeZoom* Zoom, TColor BackColor);
