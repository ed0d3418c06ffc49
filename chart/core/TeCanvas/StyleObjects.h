// Style objects owned by chart elements: pens, brushes, fonts, drop shadows, gradients
// and the 3D view options. Every setter compares, stores and tells the owner through
// the change handler given at creation, so that the owner repaints.
#pragma once

#include "classes/TypInfo.h"
#include "graphics/Graphics.h"

#include <functional>
#include <memory>
#include <string>

class TTeeCanvas;
class TCanvas3D;
class TTeeBlend;

// ---- pens -----------------------------------------------------------------------

enum TPenEndStyle { esRound, esSquare, esFlat };

class TChartPen : public TPen {
public:
    DECLARE_CLASS_INFO(TChartPen)
    explicit TChartPen(TNotifyEvent onChange = nullptr);

    TPenEndStyle EndStyle() const { return FEndStyle; }
    void SetEndStyle(TPenEndStyle v);
    bool SmallDots() const { return FSmallDots; }
    void SetSmallDots(bool v);
    int SmallSpace() const { return FSmallSpace; }
    void SetSmallSpace(int v);
    bool Visible() const { return FVisible; }
    void SetVisible(bool v);
    void Hide() { SetVisible(false); }
    void Show() { SetVisible(true); }

    TPenEndStyle DefaultEndStyle() const { return FDefaultEndStyle; }
    // The end style or visibility, and the one that is not streamed.
    void SetDefaultEndStyle(TPenEndStyle v)
    {
        FDefaultEndStyle = v;
        FEndStyle = v;
    }
    void SetDefaultVisible(bool v)
    {
        FDefaultVisible = v;
        FVisible = v;
    }
    bool DefaultVisible() const { return FDefaultVisible; }
    // Stream tests: written only when different from the pen's own defaults.
    bool IsEndStyleStored() const { return FEndStyle != FDefaultEndStyle; }
    bool IsVisibleStored() const { return FVisible != FDefaultVisible; }
    bool IsSmallDotsStored() const { return FSmallDots; }
    bool IsSmallSpaceStored() const { return FSmallSpace != 0; }

    void Assign(TPersistent* Source) override;

protected:
    TPenEndStyle FDefaultEndStyle = esRound;
    bool FDefaultVisible = true;
    TPenEndStyle FEndStyle = esRound;
    bool FSmallDots = false;
    int FSmallSpace = 0;
    bool FVisible = true;
};

// Invisible until shown; Visible is streamed only when True.
class TChartHiddenPen : public TChartPen {
public:
    DECLARE_CLASS_NAME(TChartHiddenPen)
    explicit TChartHiddenPen(TNotifyEvent onChange = nullptr);
};

class TDottedGrayPen : public TChartPen {
public:
    DECLARE_CLASS_INFO(TDottedGrayPen)
    explicit TDottedGrayPen(TNotifyEvent onChange = nullptr);
};

class TDarkGrayPen : public TChartPen {
public:
    DECLARE_CLASS_INFO(TDarkGrayPen)
    explicit TDarkGrayPen(TNotifyEvent onChange = nullptr);
};

class TWhitePen : public TChartPen {
public:
    DECLARE_CLASS_INFO(TWhitePen)
    explicit TWhitePen(TNotifyEvent onChange = nullptr);
};

// ---- brush ----------------------------------------------------------------------

class TChartBrush : public TBrush {
public:
    DECLARE_CLASS_INFO(TChartBrush)
    explicit TChartBrush(TNotifyEvent onChange = nullptr);
    ~TChartBrush() override;

    // Created on first read, with the brush's change handler; streamed as the picture's
    // "Data" entry (Image.Data) when it holds a graphic.
    TPicture* Image();
    // Whether the brush fills with a picture: it has one holding a graphic.
    bool HasImage() const { return FImage != nullptr && FImage->Graphic() != nullptr; }
    // Assigns the picture into the brush's own (nullptr frees it), then Changed.
    void SetImage(TPicture* v);

    void Assign(TPersistent* Source) override;

private:
    std::unique_ptr<TPicture> FImage;
};

// ---- shadow ---------------------------------------------------------------------

class TTeeShadow : public TPersistent {
public:
    DECLARE_CLASS_INFO(TTeeShadow)
    explicit TTeeShadow(TNotifyEvent onChange = nullptr);
    ~TTeeShadow() override;

    TColor Color() const { return FColor; }
    void SetColor(TColor v);
    int HorizSize() const { return FHorizSize; }
    void SetHorizSize(int v);
    bool Smooth() const { return FSmooth; }
    void SetSmooth(bool v);
    // 0..100; anything else raises ERangeError.
    int Transparency() const { return FTransparency; }
    void SetTransparency(int v);
    int VertSize() const { return FVertSize; }
    void SetVertSize(int v);
    // The larger of the two sizes; writing sets both.
    int Size() const { return std::max(FHorizSize, FVertSize); }
    void SetSize(int v);

    // Defaults an owner may change after creation (they decide what is streamed).
    TColor DefaultColor = clSilver;
    int DefaultSize = 0;
    bool IsColorStored() const { return FColor != DefaultColor; }
    bool IsHorizSizeStored() const { return FHorizSize != DefaultSize; }
    bool IsVertSizeStored() const { return FVertSize != DefaultSize; }

    // The shadow of a rectangle, or of the ellipse in it, at depth z.
    void DrawShadow(TCanvas3D* surface, const TRect& rect, int z = 0);
    void DrawEllipse(TCanvas3D* surface, const TRect& rect, int z = 0);

    void Assign(TPersistent* Source) override;
    TNotifyEvent OnChange;

private:
    void Changed();
    TColor FColor = clSilver;
    int FHorizSize = 0;
    bool FSmooth = true;
    int FTransparency = 0;
    int FVertSize = 0;
    std::unique_ptr<TTeeBlend> FBlend;   // between the start and end of a transparent shadow
};

// ---- gradients ------------------------------------------------------------------

enum TGradientDirection {
    gdTopBottom, gdBottomTop, gdLeftRight, gdRightLeft, gdFromCenter, gdFromTopLeft,
    gdFromBottomLeft, gdRadial, gdDiagonalUp, gdDiagonalDown
};

class TCustomTeeGradient : public TPersistent {
public:
    DECLARE_CLASS_NAME(TCustomTeeGradient)
    explicit TCustomTeeGradient(TNotifyEvent onChange = nullptr);

    // Percent of the way at which the middle colour sits; kept within 0..100.
    int Balance() const { return FBalance; }
    void SetBalance(int v);
    TGradientDirection Direction() const { return FDirection; }
    void SetDirection(TGradientDirection v);
    TColor EndColor() const { return FEndColor; }
    void SetEndColor(TColor v);
    // clNone while the middle colour is off; writing clNone turns it off.
    TColor MidColor() const { return FUseMiddle ? FMidColor : clNone; }
    void SetMidColor(TColor v);
    // Turns the middle colour on without changing the stored one.
    void UseMiddleColor();
    bool UseMiddle() const { return FUseMiddle; }
    int RadialX() const { return FRadialX; }
    void SetRadialX(int v);
    int RadialY() const { return FRadialY; }
    void SetRadialY(int v);
    TColor StartColor() const { return FStartColor; }
    void SetStartColor(TColor v);
    bool Visible() const { return FVisible; }
    void SetVisible(bool v);

    // Fills the rectangle (rounded by a corner size above 0), a polygon, or a rectangle
    // projected at depth z.
    void Draw(TTeeCanvas* surface, const TRect& rect, int cornerSize = 0);
    void DrawPolygon(TTeeCanvas* surface, const TPoint* points, int count);
    void DrawRect3D(TCanvas3D* surface, const TRect& rect, int z);

    void Assign(TPersistent* Source) override;
    TNotifyEvent OnChange;

protected:
    void Changed();
    int FBalance = 50;
    TGradientDirection FDirection = gdTopBottom;
    TColor FEndColor = clYellow;
    TColor FMidColor = clNone;
    int FRadialX = 0;
    int FRadialY = 0;
    TColor FStartColor = clWhite;
    bool FVisible = false;
    bool FUseMiddle = false;
};

class TTeeGradient : public TCustomTeeGradient {
public:
    DECLARE_CLASS_INFO(TTeeGradient)
    using TCustomTeeGradient::TCustomTeeGradient;
};

// A gradient in glyphs; with Outline it fills the outline pen's stroke instead.
class TTeeFontGradient : public TTeeGradient {
public:
    DECLARE_CLASS_INFO(TTeeFontGradient)
    using TTeeGradient::TTeeGradient;
    bool Outline() const { return FOutline; }
    void SetOutline(bool v);
    void Assign(TPersistent* Source) override;
private:
    bool FOutline = false;
};

// ---- font -----------------------------------------------------------------------

// The default font of chart elements, set at unit start-up from the chart texts.
const std::string& TeeDefaultFontName();
int TeeDefaultFontSize();
void SetTeeDefaultFont(const std::string& name, int size);

class TTeeFont : public TFont {
public:
    DECLARE_CLASS_INFO(TTeeFont)
    explicit TTeeFont(TNotifyEvent onChange = nullptr);
    ~TTeeFont() override;

    // The sub-objects are created on first read with the font's change handler.
    TTeeFontGradient* Gradient();
    bool HasGradient() const { return FGradient != nullptr; }
    void SetGradient(TCustomTeeGradient* v);
    TChartHiddenPen* OutLine();
    bool HasOutLine() const { return FOutLine != nullptr; }
    void SetOutLine(TChartPen* v);
    TTeeShadow* Shadow();
    bool HasShadow() const { return FShadow != nullptr; }
    void SetShadow(TTeeShadow* v);
    // Without creating them: nullptr when never read.
    TTeeFontGradient* GradientIfAny() const { return FGradient.get(); }
    TChartHiddenPen* OutLineIfAny() const { return FOutLine.get(); }
    TTeeShadow* ShadowIfAny() const { return FShadow.get(); }

    // Extra pixels between characters; notifies OnChange with the font as sender.
    int InterCharSize() const { return FInterCharSize; }
    void SetInterCharSize(int v);

    TColor DefaultColor = clBlack;
    TFontStyles DefaultStyle;
    bool IsColorStored() const { return Color() != DefaultColor; }
    bool IsStyleStored() const { return Style() != DefaultStyle; }
    bool IsHeightStored() const { return Size() != TeeDefaultFontSize(); }
    bool IsNameStored() const { return Name() != TeeDefaultFontName(); }

    // The surface that applied this font last (see TTeeCanvas::ApplyFont).
    TTeeCanvas* Surface() const { return FSurface; }

    void Assign(TPersistent* Source) override;

private:
    friend class TTeeCanvas;
    TNotifyEvent FChangeHandler;
    std::unique_ptr<TTeeFontGradient> FGradient;
    std::unique_ptr<TChartHiddenPen> FOutLine;
    std::unique_ptr<TTeeShadow> FShadow;
    int FInterCharSize = 0;
    TTeeCanvas* FSurface = nullptr;
};

// ---- 3D view options ------------------------------------------------------------

class TView3DOptions : public TPersistent {
public:
    DECLARE_CLASS_INFO(TView3DOptions)
    // `parent` is the panel that owns the options; `repaint` its repaint request.
    explicit TView3DOptions(TComponent* parent = nullptr, std::function<void()> repaint = nullptr);

    TComponent* Parent() const { return FParent; }
    void Repaint() const;

    int Elevation() const { return FElevation; }
    void SetElevation(int v);
    int FontZoom() const { return FFontZoom; }
    void SetFontZoom(int v);
    int HorizOffset() const { return FHorizOffset; }
    void SetHorizOffset(int v);
    bool Orthogonal() const { return FOrthogonal; }
    void SetOrthogonal(bool v);
    int OrthoAngle() const { return FOrthoAngle; }
    void SetOrthoAngle(int v);
    int Perspective() const { return FPerspective; }
    void SetPerspective(int v);
    int Rotation() const { return FRotation; }
    void SetRotation(int v);
    int Tilt() const { return FTilt; }
    void SetTilt(int v);
    int VertOffset() const { return FVertOffset; }
    void SetVertOffset(int v);
    int Zoom() const { return FZoom; }
    void SetZoom(int v);
    bool ZoomText() const { return FZoomText; }
    void SetZoomText(bool v);
    double ZoomFloat() const { return FZoom * 0.01; }

    // Slope of the depth axis: sin(a)/cos(a) of the orthogonal angle (folded below 90),
    // or 1 when cos(a) is not above 0.01 or the view is not orthogonal.
    double OrthoRatio() const;

    std::function<void(bool Horizontal)> OnScrolled;
    std::function<void(int NewZoom)> OnChangedZoom;

    void Assign(TPersistent* Source) override;

private:
    TComponent* FParent;
    std::function<void()> FRepaint;
    int FElevation = 345;
    int FFontZoom = 100;
    int FHorizOffset = 0;
    bool FOrthogonal = true;
    int FOrthoAngle = 45;
    int FPerspective = 15;
    int FRotation = 345;
    int FTilt = 0;
    int FVertOffset = 0;
    int FZoom = 100;
    bool FZoomText = true;
};

// Slope and sign of the orthogonal depth axis for an angle in degrees.
void OrthoSlope(int angle, double& ratio, double& sign);
