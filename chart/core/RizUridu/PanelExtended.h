// The chart panel with a background: the panel gradient, the back image and the zoom and
// panning settings.
#pragma once

#include "RizUridu/PanelBase.h"

#include <memory>

class TCustomTeePanelExtended;

enum TPanningMode { pmNone, pmHorizontal, pmVertical, pmBoth };
enum TTeeBackImageMode { pbmStretch, pbmTile, pbmCenter, pbmCustom };

// The picture behind a chart. Inside False covers the whole panel, True only the chart
// rectangle or back wall. Left and Top place it in pbmCustom mode.
class TBackImage : public TPicture {
public:
    DECLARE_CLASS_NAME(TBackImage)
    explicit TBackImage(TCustomTeePanelExtended* Owner = nullptr);

    bool Inside() const { return FInside; }
    void SetInside(bool v);
    TTeeBackImageMode Mode() const { return FMode; }
    void SetMode(TTeeBackImageMode v);
    int Left() const { return FLeft; }
    void SetLeft(int v);
    int Top() const { return FTop; }
    void SetTop(int v);

    // The picture and the four settings.
    void Assign(TPersistent* Source) override;

private:
    void RepaintOwner();
    TCustomTeePanelExtended* FOwner;
    bool FInside = false;
    TTeeBackImageMode FMode = pbmStretch;
    int FLeft = 0;
    int FTop = 0;
};

class TCustomTeePanelExtended : public TCustomTeePanel {
public:
    DECLARE_CLASS_INFO(TCustomTeePanelExtended)
    explicit TCustomTeePanelExtended(TComponent* AOwner);
    ~TCustomTeePanelExtended() override;

    TPanningMode AllowPanning() const { return FAllowPanning; }
    void SetAllowPanning(TPanningMode v) { FAllowPanning = v; }
    // Created on first read; nullptr frees it, anything else is copied in.
    TTeeGradient* Gradient();
    bool HasGradient() const { return FGradient != nullptr; }
    void SetGradient(TCustomTeeGradient* v);
    TTeeZoom* Zoom() const { return FZoom.get(); }
    void SetZoom(TTeeZoom* v);
    bool Zoomed() const { return FZoomed; }
    void SetZoomed(bool v) { FZoomed = v; }
    // Created on first read; nullptr empties it, anything else is copied in.
    TBackImage* BackImage();
    bool HasBackImage() const { return FBackImage != nullptr; }
    void SetBackImage(TPicture* v);
    bool BackImageInside() const { return FBackImage != nullptr && FBackImage->Inside(); }
    void SetBackImageInside(bool v) { BackImage()->SetInside(v); }
    TTeeBackImageMode BackImageMode() const { return FBackImage ? FBackImage->Mode() : pbmStretch; }
    void SetBackImageMode(TTeeBackImageMode v) { BackImage()->SetMode(v); }
    // The see-through flag of the loaded picture (False without one).
    bool BackImageTransp() const;
    void SetBackImageTransp(bool v);

    TNotifyEvent OnAfterDraw;
    TNotifyEvent OnScroll;
    TNotifyEvent OnUndoZoom;
    TNotifyEvent OnZoom;

    // Fills Rect with the gradient when it is visible, else with Color (not when
    // printing, unless PrintTeePanel, and not for clNone).
    virtual void FillBackground(const TRect& Rect);
    // The shadow, the fill, the back image (when not Inside) and the border and bevels.
    virtual void DrawBackground(const TRect& Rect);
    // The back image in Rect at depth Z, by its mode.
    void DrawBackImage(const TRect& Rect, int Z);
    // Fires OnUndoZoom, repaints and clears Zoomed.
    virtual void UndoZoom();

    void Assign(TPersistent* Source) override;
    // The legacy "AllowZoom", "AnimatedZoom" and "AnimatedZoomSteps", read into Zoom.
    void DefineProperties(TFiler* Filer) override;

private:
    TPanningMode FAllowPanning = pmBoth;
    std::unique_ptr<TTeeGradient> FGradient;
    std::unique_ptr<TTeeZoom> FZoom;
    bool FZoomed = false;
    std::unique_ptr<TBackImage> FBackImage;
};
