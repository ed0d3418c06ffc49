// Framed boxes: the common look of a chart's text blocks (titles, legend, walls, axis
// titles, marks). A box has a brush, a frame pen, a fill colour, an optional gradient,
// a drop shadow, a bevel, rounded corners, a transparency, a font and a text format, and
// remembers where it was last placed. Its owner computes the rectangle and draws the
// text; the box draws itself at a rectangle, optionally rotated and at a depth.
#pragma once

#include "RizUridu/PanelBase.h"
#include "TeeHtml.h"

#include <array>
#include <memory>

// The four corners of R turned by Angle degrees (counter-clockwise on the screen) about
// its centre: left-top, right-top, right-bottom, left-bottom.
std::array<TPoint, 4> RotatedRectCorners(const TRect& R, int Angle);

// A brush, a pen and a visibility that repaint the parent chart when they change.
class TTeeCustomShapeBrushPen : public TPersistent {
public:
    DECLARE_CLASS_INFO(TTeeCustomShapeBrushPen)
    // A descendant may hand in a brush of its own class; otherwise a TChartBrush.
    explicit TTeeCustomShapeBrushPen(std::unique_ptr<TChartBrush> Brush = nullptr);
    ~TTeeCustomShapeBrushPen() override;

    TChartBrush* Brush() const { return FBrush.get(); }
    void SetBrush(TChartBrush* v);
    TCustomTeePanel* ParentChart() const { return FParentChart; }
    virtual void SetParentChart(TCustomTeePanel* Value);
    TChartPen* Pen() const { return FPen.get(); }
    void SetPen(TChartPen* v);
    bool Visible() const { return FVisible; }
    void SetVisible(bool v);
    void Hide() { SetVisible(false); }
    void Show() { SetVisible(true); }

    // Asks the parent chart to repaint (nothing without one).
    void Repaint();
    void Assign(TPersistent* Source) override;

protected:
    TNotifyEvent RepaintHandler();

private:
    std::unique_ptr<TChartBrush> FBrush;
    TCustomTeePanel* FParentChart = nullptr;
    std::unique_ptr<TChartPen> FPen;
    bool FVisible = true;
};

enum TChartObjectShapeStyle { fosRectangle, fosRoundRectangle };
using TTeeTransparency = int;   // 0..100 percent

class TTeeCustomShape : public TTeeCustomShapeBrushPen {
public:
    DECLARE_CLASS_INFO(TTeeCustomShape)
    explicit TTeeCustomShape(TCustomTeePanel* AOwner = nullptr);
    ~TTeeCustomShape() override;

    // Where the box was last placed.
    TRect ShapeBounds;

    TBevelCut Bevel() const { return FBevel; }
    void SetBevel(TBevelCut v);
    int BevelWidth() const { return FBevelWidth; }
    void SetBevelWidth(int v);
    TColor Color() const { return FColor; }
    void SetColor(TColor v);
    TTeeFont* Font() const { return FFont.get(); }
    void SetFont(TTeeFont* v);
    TTeeShadow* Shadow() const { return FShadow.get(); }
    void SetShadow(TTeeShadow* v);
    TChartObjectShapeStyle ShapeStyle() const { return FShapeStyle; }
    void SetShapeStyle(TChartObjectShapeStyle v);
    TTextFormat TextFormat() const { return FTextFormat; }
    void SetTextFormat(TTextFormat v);
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool v);
    // Set by descendants that are transparent unless told otherwise.
    bool DefaultTransparent() const { return FDefaultTransparent; }
    bool IsTransparentStored() const { return FTransparent != FDefaultTransparent; }
    // Created on first read; nullptr frees it, anything else is copied in.
    TTeeGradient* Gradient();
    bool HasGradient() const { return FGradient != nullptr; }
    void SetGradient(TCustomTeeGradient* v);
    // 0..100; anything else raises ERangeError.
    TTeeTransparency Transparency() const { return FTransparency; }
    void SetTransparency(TTeeTransparency v);

    // Right - Left + 1 and Bottom - Top + 1 of ShapeBounds.
    int Width() const { return ShapeBounds.Right - ShapeBounds.Left + 1; }
    int Height() const { return ShapeBounds.Bottom - ShapeBounds.Top + 1; }
    // Bottom becomes Top + Value - 1.
    void SetHeight(int Value) { ShapeBounds.Bottom = ShapeBounds.Top + Value - 1; }

    // Draws the box at Rect turned by Angle degrees, at depth Z, on the parent chart's
    // surface. A Transparent box draws nothing.
    void DrawRectRotated(const TRect& Rect, int Angle = 0, int Z = 0);
    // Draws at ShapeBounds, unturned, at depth 0.
    void DrawAtOwnRect();

    void Assign(TPersistent* Source) override;
    // The legacy entries "ShadowColor" and "ShadowSize", read into Shadow.
    void DefineProperties(TFiler* Filer) override;

protected:
    // The shadow's defaults: black, 3 pixels each way. Descendants change them in their
    // own constructors.
    virtual void InitShadow(TTeeShadow* Shadow);
    // The class of a new gradient.
    virtual std::unique_ptr<TTeeGradient> CreateGradient();
    void SetDefaultTransparent(bool v)
    {
        FDefaultTransparent = v;
        FTransparent = v;
    }

private:
    void DrawRotatedShadow(TCanvas3D* Surface, const TRect& Rect, int Angle);

    TBevelCut FBevel = bvNone;
    int FBevelWidth = 2;
    TColor FColor = clWhite;
    std::unique_ptr<TTeeFont> FFont;
    std::unique_ptr<TTeeShadow> FShadow;
    TChartObjectShapeStyle FShapeStyle = fosRectangle;
    TTextFormat FTextFormat = ttfNormal;
    bool FTransparent = false;
    bool FDefaultTransparent = false;
    std::unique_ptr<TTeeGradient> FGradient;
    TTeeTransparency FTransparency = 0;
};

// The framed box as the chart's elements publish it.
class TTeeShape : public TTeeCustomShape {
public:
    DECLARE_CLASS_INFO(TTeeShape)
    using TTeeCustomShape::TTeeCustomShape;
};

// A box that can be placed by its owner or at a custom position (titles, legend).
class TTeeCustomShapePosition : public TTeeCustomShape {
public:
    DECLARE_CLASS_INFO(TTeeCustomShapePosition)
    using TTeeCustomShape::TTeeCustomShape;

    bool CustomPosition() const { return FCustomPosition; }
    void SetCustomPosition(bool v);
    bool IsCustomPositionStored() const { return FCustomPosition != FDefaultCustomPosition; }
    // ShapeBounds' corner; setting either turns CustomPosition on.
    int Left() const { return ShapeBounds.Left; }
    void SetLeft(int v);
    int Top() const { return ShapeBounds.Top; }
    void SetTop(int v);

    void Assign(TPersistent* Source) override;

protected:
    bool FDefaultCustomPosition = false;

private:
    bool FCustomPosition = false;
};
