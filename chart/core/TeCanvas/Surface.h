// The drawing surface every chart painter draws on. TTeeCanvas declares the 2D
// operations, TCanvas3D adds the projection of 3D points and the 3D primitives, and
// TTeeCanvas3D implements them on an attached platform canvas: the destination's, or
// that of an off-screen bitmap the surface owns.
#pragma once

#include "TeCanvas/Helpers.h"
#include "TeCanvas/StyleObjects.h"

#include "graphics/Graphics.h"

#include <array>
#include <memory>
#include <string>
#include <vector>

class TTeeBlend;

// ---- TTeeCanvas: the 2D surface ---------------------------------------------------

class TTeeCanvas : public TObject {
public:
    DECLARE_CLASS_NAME(TTeeCanvas)
    TTeeCanvas();
    ~TTeeCanvas() override;

    // The attached platform canvas and its own pen, brush and font.
    TCanvas* ReferenceCanvas() const { return FCanvas; }
    TPen* Pen() const { return FCanvas ? FCanvas->Pen() : nullptr; }
    TBrush* Brush() const { return FCanvas ? FCanvas->Brush() : nullptr; }
    TFont* Font() const { return FCanvas ? FCanvas->Font() : nullptr; }

    // True while the panel draws into a metafile or onto a printer: no blending then.
    bool MetafileOrPrinting() const { return FMetafileOrPrinting; }
    void SetMetafileOrPrinting(bool v) { FMetafileOrPrinting = v; }
    int Transparency() const { return FTransparency; }
    const TRect& Bounds() const { return FBounds; }
    TTeeFont* CurrentFont() const { return FCurrentFont; }
    double FontZoom() const { return FFontZoom; }
    void SetFontZoom(double v) { FFontZoom = v; }

    // Gives every canvas the surface attaches this measurer (nullptr: the installed faces).
    void SetTextMeasurer(std::shared_ptr<const TTextMeasurer> m);
    // Off: every element is drawn one by one, without the shortcuts that draw the same
    // picture faster (symbols stamped from one picture, the cheaper clip); for comparing
    // the two. Every canvas the surface attaches follows it.
    bool Shortcuts() const { return FShortcuts; }
    void SetShortcuts(bool v);

    // ---- operations, in slot order ----
    virtual TColor GetBackColor() const = 0;
    virtual int GetBackMode() const = 0;
    virtual TCanvas* GetHandle() const = 0;
    virtual bool GetMonochrome() const = 0;
    virtual TColor GetPixel(int x, int y) const = 0;
    virtual bool IsTrue3D() const = 0;
    virtual TTextAlign GetTextAlign() const = 0;
    virtual bool GetBuffered() const = 0;
    virtual void SetBackColor(TColor c) = 0;
    virtual void SetBackMode(int mode) = 0;
    virtual void SetMonochrome(bool v) = 0;
    virtual void SetPixel(int x, int y, TColor c) = 0;
    // Flags with the sign bit set (negative as an integer) raise ERangeError.
    virtual void SetTextAlign(TTextAlign flags) = 0;
    virtual void SetBuffered(bool v) = 0;
    virtual void AssignPen(TPen* pen, TColor color);
    // Remembers the percent (0..100, else ERangeError) and captures what lies under the
    // rectangle; EndTransparency blends it back in and frees the blend.
    virtual std::unique_ptr<TTeeBlend> BeginTransparency(const TRect& r, int percent);
    virtual void EndTransparency(std::unique_ptr<TTeeBlend> blend);
    virtual void Arc(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) = 0;
    // A filled ring sector (2D) between two angles in radians, counter-clockwise.
    virtual void RingSector(int cx, int cy, int outerX, int outerY, int innerX, int innerY,
                            double startAngle, double endAngle) = 0;
    virtual void DrawGraphic(int x, int y, TGraphic* graphic) = 0;
    virtual void Ellipse(int x1, int y1, int x2, int y2) = 0;
    virtual void FillRect(const TRect& r) = 0;
    // Width nested frames, top-left and bottom-right colours; the rectangle comes back
    // shrunk by the width on every side.
    virtual void BevelFrame(TRect& r, TColor topColor, int width, TColor bottomColor);
    virtual void LineTo(int x, int y) = 0;
    virtual void MoveTo(int x, int y) = 0;
    virtual void Pie(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) = 0;
    virtual void Rectangle(int x0, int y0, int x1, int y1) = 0;
    virtual void RoundRect(int x1, int y1, int x2, int y2, int cornerWidth, int cornerHeight) = 0;
    virtual void StretchGraphic(const TRect& r, TGraphic* graphic) = 0;
    virtual void TextOut(int x, int y, const std::string& text) = 0;
    virtual int TextWidth(const std::string& text);
    virtual int TextHeight(const std::string& text);
    // Clip calls stack on the attached canvas; RemoveClipping undoes the latest one.
    virtual void ClipToRect(const TRect& r) = 0;
    virtual void ClipToRoundRect(const TRect& r, int cornerSize);
    // With `exclude` the ellipse is cut out of the clip (exclusive-or), saving nothing.
    virtual void ClipToEllipse(const TRect& r, bool exclude = false);
    virtual void ClipToPolygon(const TPoint* points, int count);
    virtual void HorizontalLine(int left, int right, int y) = 0;
    virtual void VerticalLine(int x, int top, int bottom) = 0;
    virtual void ClearRect(const TRect& r) = 0;
    virtual void FillGradient(const TRect& r, TColor startColor, TColor endColor, TGradientDirection direction,
                              int balance = 50) = 0;
    virtual void MarkDirty() = 0;
    virtual void Line(int x0, int y0, int x1, int y1) = 0;
    virtual void Polyline(const TPoint* points, int last) = 0;
    virtual void Polygon(const TPoint* points, int last) = 0;
    virtual void RotatedText(int x, int y, double angle, const std::string& text) = 0;
    virtual void RemoveClipping() = 0;

    // Convenience forms.
    void Polyline(const std::vector<TPoint>& pts) { if (!pts.empty()) Polyline(pts.data(), int(pts.size()) - 1); }
    void Polygon(const std::vector<TPoint>& pts) { if (!pts.empty()) Polygon(pts.data(), int(pts.size()) - 1); }

    // Brings a style font to the attached canvas (zoomed, black when monochrome) and
    // makes it the current font, whose outline, shadow and gradient shape TextOut.
    void ApplyFont(TTeeFont* font);
    // Forgets the current font (the reset before a chart is drawn).
    void ClearCurrentFont();

protected:
    friend class TTeeFont;
    friend void AttachCanvasToSurface(TTeeCanvas* surface, TCanvas* canvas);
    friend void AssignStylesToCanvas(TTeeCanvas* surface);
    virtual void Attach(TCanvas* canvas);

    TCanvas* FCanvas = nullptr;
    bool FMetafileOrPrinting = false;
    int FTransparency = 0;
    TRect FBounds;
    TTeeFont* FCurrentFont = nullptr;
    double FFontZoom = 100;
    std::shared_ptr<const TTextMeasurer> FMeasurer;
    bool FShortcuts = true;
};

// ---- TCanvas3D: projection and 3D primitives --------------------------------------

// Program-wide settings of the cylinder and cone solids.
extern int TeeNumCylinderSides;   // 16; the bar series uses 4 for its slanted cube
extern int TeeDefaultConePercent; // 0

class TCanvas3D : public TTeeCanvas {
public:
    DECLARE_CLASS_NAME(TCanvas3D)

    TView3DOptions* View3DOptions() const { return FView3DOptions; }
    bool Is3D() const { return F3D; }
    bool IsOrthogonal() const { return FOrthogonal; }
    double ZoomFactor() const { return FZoom; }
    bool ZoomText() const { return FZoomText; }
    int NestingLevel() const { return FNested; }
    TPoint Center() const { return {FXCenter, FYCenter}; }
    int ZCenter() const { return FZCenter; }
    TPoint OffsetCenter() const { return {FXCenterOffset, FYCenterOffset}; }
    // The last projected quadrilateral.
    const std::array<TPoint, 4>& StoredPoints() const { return FPoints; }

    // ---- projection (non-virtual, exact) ----
    TPoint Calc3DPoint(int x, int y, int z) const;
    TPoint Calc3DFloatPoint(double x, double y, int z) const;

    // ---- operations, in slot order ----
    virtual TColor GetPixelAtDepth(int x, int y, int z) = 0;
    virtual bool ReservedQuery() { return false; }
    virtual void SetPixelAtDepth(int x, int y, int z, TColor c) = 0;
    // Screen (x, y) at depth z back to chart coordinates.
    virtual void UnprojectPoint(int& x, int& y, int z) const;
    virtual TPoint ProjectToPoint(int x, int y, int z) const { return Calc3DPoint(x, y, z); }
    virtual TRect SetupProjection(TCanvas* destination, TView3DOptions* options, const TRect& chartRect, bool is3D);
    virtual void CopySettingsFrom(TTeeCanvas* other) = 0;
    virtual void SetupView(int depth, const TRect& chartRect);
    virtual void FinishBufferedDraw(TCanvas* destination, TCanvas* attach, const TRect& r) = 0;
    virtual bool BlitBufferIfValid() = 0;
    virtual void Arrow(bool filled, const TPoint& from, const TPoint& to, int headWidth, int headHeight, int z,
                       double bodyPercent) = 0;
    virtual void ClipToBoxOutline(const TRect& r, int z0, int z1) = 0;
    virtual void Cone(bool vertical, const TRect& r, int z0, int z1, bool darkSides, int conePercent) = 0;
    virtual void BoxBetweenDepths(int left, int right, int top, int bottom, int z0, int z1, bool darkSides) = 0;
    virtual void Cylinder(bool vertical, const TRect& r, int z0, int z1, bool darkSides) = 0;
    virtual void Suspend3D() {}
    virtual void EllipseAtDepth(int x1, int y1, int x2, int y2, int z) = 0;
    virtual void Resume3D() {}
    virtual void HorizontalLineAtDepth(int left, int right, int y, int z) = 0;
    virtual void VerticalLineAtDepth(int x, int top, int bottom, int z) = 0;
    virtual void DepthLine(int x, int y, int z0, int z1) = 0;
    // Flat drawing over a 3D chart: projection off from the outermost BeginNested to the
    // matching EndNested.
    virtual void BeginNested();
    virtual void EndNested();
    virtual void LineAtDepth(int x0, int y0, int x1, int y1, int z) = 0;
    virtual void MoveToAtDepth(int x, int y, int z) = 0;
    virtual void LineToAtDepth(int x, int y, int z) = 0;
    // A pie or donut slice between two depths; angles in radians, counter-clockwise.
    virtual void SolidPieSlice(int cx, int cy, int radiusX, int radiusY, double startAngle, double endAngle,
                               int z0, int z1, int donutPercent, bool darkSides, bool drawStart,
                               bool drawEnd) = 0;
    virtual void PlaneBetweenDepths(const TPoint& p, const TPoint& q, int z0, int z1) = 0;
    virtual void PlaneOfFourPoints(const TPoint* points, int z) = 0;
    virtual void PlaneOfFourFloatPoints(const TFloatPoint* points, int z) = 0;
    virtual void PolygonAtDepth(const TPoint* points, int last, int z) = 0;
    virtual void PolylineAtDepth(const TPoint* points, int last, int z) = 0;
    virtual void Pyramid(bool vertical, int left, int top, int right, int bottom, int z0, int z1,
                         bool darkSides) = 0;
    virtual void PrismBetweenDepths(const TRect& r, int z0, int z1, bool flag) = 0;
    virtual void RectangleAtDepth(const TRect& r, int z) = 0;
    virtual void RectangleAtConstantY(int x0, int y, int x1, int z0, int z1) = 0;
    virtual void RectangleAtConstantX(int x, int y0, int y1, int z0, int z1) = 0;
    virtual void RotatedTextAtDepth(int x, int y, int z, double angle, const std::string& text) = 0;
    virtual void CircleAtDepth(int x, int y, double radius, int z) = 0;
    virtual void ReservedOperation(int, int, int, int, int, int, int) {}
    virtual void TextOutAtDepth(int x, int y, int z, const std::string& text) = 0;
    virtual void SpatialTriangle(const TPoint& p0, int z0, const TPoint& p1, int z1, const TPoint& p2, int z2,
                                 TColor color) = 0;
    virtual void TriangleAtDepth(const TPoint& p0, const TPoint& p1, const TPoint& p2, int z) = 0;
    virtual void PolygonOfStoredPoints() = 0;
    virtual void FreeBuffer() = 0;
    virtual void BlitBufferTo(int x, int y, TCanvas* canvas) = 0;

protected:
    void ComputeRotation();

    TView3DOptions* FView3DOptions = nullptr;
    int FNested = 0;
    bool F3D = false;
    bool FOrthogonal = false;
    bool FZoomText = true;
    int FXCenter = 0, FYCenter = 0, FZCenter = 0;
    int FXCenterOffset = 0, FYCenterOffset = 0;
    double FRotCenterX = 0, FRotCenterY = 0, FRotCenterZ = 0;
    double FSinA = 0, FCosA = 1, FSinB = 0, FCosB = 1, FSinC = 0, FCosC = 1;
    bool FTilted = false;
    bool FPerspective = false;
    double FPerspectiveFactor = 0;
    double FOrthoSign = 1, FOrthoRatio = 1;
    double FZoom = 1;
    std::array<TPoint, 4> FPoints{};
};

// ---- TTeeCanvas3D: the implementation ---------------------------------------------

class TTeeCanvas3D : public TCanvas3D {
public:
    DECLARE_CLASS_NAME(TTeeCanvas3D)
    TTeeCanvas3D();
    ~TTeeCanvas3D() override;

    TBitmap* Buffer() const { return FBuffer.get(); }
    bool BufferValid() const { return !FDirty; }

    // 2D
    TColor GetBackColor() const override;
    int GetBackMode() const override;
    TCanvas* GetHandle() const override { return FCanvas; }
    bool GetMonochrome() const override { return FMonochrome; }
    TColor GetPixel(int x, int y) const override;
    bool IsTrue3D() const override { return false; }
    TTextAlign GetTextAlign() const override;
    bool GetBuffered() const override { return FBuffered; }
    void SetBackColor(TColor c) override;
    void SetBackMode(int mode) override;
    void SetMonochrome(bool v) override;
    void SetPixel(int x, int y, TColor c) override;
    void SetTextAlign(TTextAlign flags) override;
    void SetBuffered(bool v) override;
    void Arc(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) override;
    void RingSector(int cx, int cy, int outerX, int outerY, int innerX, int innerY, double startAngle,
                    double endAngle) override;
    void DrawGraphic(int x, int y, TGraphic* graphic) override;
    void Ellipse(int x1, int y1, int x2, int y2) override;
    void FillRect(const TRect& r) override;
    void LineTo(int x, int y) override;
    void MoveTo(int x, int y) override;
    void Pie(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) override;
    void Rectangle(int x0, int y0, int x1, int y1) override;
    void RoundRect(int x1, int y1, int x2, int y2, int cornerWidth, int cornerHeight) override;
    void StretchGraphic(const TRect& r, TGraphic* graphic) override;
    void TextOut(int x, int y, const std::string& text) override;
    void ClipToRect(const TRect& r) override;
    void HorizontalLine(int left, int right, int y) override;
    void VerticalLine(int x, int top, int bottom) override;
    void ClearRect(const TRect& r) override { FillRect(r); }
    void FillGradient(const TRect& r, TColor startColor, TColor endColor, TGradientDirection direction,
                      int balance = 50) override;
    void MarkDirty() override { FDirty = true; }
    void Line(int x0, int y0, int x1, int y1) override;
    void Polyline(const TPoint* points, int last) override;
    void Polygon(const TPoint* points, int last) override;
    void RotatedText(int x, int y, double angle, const std::string& text) override;
    void RemoveClipping() override;
    using TTeeCanvas::Polygon;
    using TTeeCanvas::Polyline;

    // 3D
    TColor GetPixelAtDepth(int x, int y, int z) override;
    void SetPixelAtDepth(int x, int y, int z, TColor c) override;
    TRect SetupProjection(TCanvas* destination, TView3DOptions* options, const TRect& chartRect, bool is3D) override;
    void CopySettingsFrom(TTeeCanvas* other) override;
    void FinishBufferedDraw(TCanvas* destination, TCanvas* attach, const TRect& r) override;
    bool BlitBufferIfValid() override;
    void Arrow(bool filled, const TPoint& from, const TPoint& to, int headWidth, int headHeight, int z,
               double bodyPercent) override;
    void ClipToBoxOutline(const TRect& r, int z0, int z1) override;
    void Cone(bool vertical, const TRect& r, int z0, int z1, bool darkSides, int conePercent) override;
    void BoxBetweenDepths(int left, int right, int top, int bottom, int z0, int z1, bool darkSides) override;
    void Cylinder(bool vertical, const TRect& r, int z0, int z1, bool darkSides) override;
    void Suspend3D() override;
    void EllipseAtDepth(int x1, int y1, int x2, int y2, int z) override;
    void Resume3D() override;
    void HorizontalLineAtDepth(int left, int right, int y, int z) override;
    void VerticalLineAtDepth(int x, int top, int bottom, int z) override;
    void DepthLine(int x, int y, int z0, int z1) override;
    void LineAtDepth(int x0, int y0, int x1, int y1, int z) override;
    void MoveToAtDepth(int x, int y, int z) override;
    void LineToAtDepth(int x, int y, int z) override;
    void SolidPieSlice(int cx, int cy, int radiusX, int radiusY, double startAngle, double endAngle, int z0,
                       int z1, int donutPercent, bool darkSides, bool drawStart, bool drawEnd) override;
    void PlaneBetweenDepths(const TPoint& p, const TPoint& q, int z0, int z1) override;
    void PlaneOfFourPoints(const TPoint* points, int z) override;
    void PlaneOfFourFloatPoints(const TFloatPoint* points, int z) override;
    void PolygonAtDepth(const TPoint* points, int last, int z) override;
    void PolylineAtDepth(const TPoint* points, int last, int z) override;
    void Pyramid(bool vertical, int left, int top, int right, int bottom, int z0, int z1, bool darkSides) override;
    void PrismBetweenDepths(const TRect& r, int z0, int z1, bool flag) override;
    void RectangleAtDepth(const TRect& r, int z) override;
    void RectangleAtConstantY(int x0, int y, int x1, int z0, int z1) override;
    void RectangleAtConstantX(int x, int y0, int y1, int z0, int z1) override;
    void RotatedTextAtDepth(int x, int y, int z, double angle, const std::string& text) override;
    void CircleAtDepth(int x, int y, double radius, int z) override;
    void TextOutAtDepth(int x, int y, int z, const std::string& text) override;
    void SpatialTriangle(const TPoint& p0, int z0, const TPoint& p1, int z1, const TPoint& p2, int z2,
                         TColor color) override;
    void TriangleAtDepth(const TPoint& p0, const TPoint& p1, const TPoint& p2, int z) override;
    void PolygonOfStoredPoints() override;
    void FreeBuffer() override;
    void BlitBufferTo(int x, int y, TCanvas* canvas) override;

private:
    // The colour the brush shades 3D faces from: its colour when solid, else the background.
    TColor ReferenceColor() const;
    bool BrushIsClear() const;
    bool PenIsClear() const;
    // Stores the projected quadrilateral and answers whether it faces the viewer.
    bool StoreFace(const TPoint& a, int za, const TPoint& b, int zb, const TPoint& c, int zc, const TPoint& d, int zd);
    void CylinderOrCone(bool vertical, const TRect& r, int z0, int z1, bool darkSides, int percent);

    std::unique_ptr<TBitmap> FBuffer;
    bool FDirty = true;
    bool FMonochrome = false;
    bool FBuffered = true;
    bool FSaved3D = false;
};

// ---- style selection helpers --------------------------------------------------------

void AssignPenToCanvas(TTeeCanvas* surface, TPen* pen);
void AssignBrushColorToCanvas(TTeeCanvas* surface, TChartBrush* brush, TColor color);
void AssignBrushToCanvas(TTeeCanvas* surface, TChartBrush* brush, TColor color, TColor backColor);
void AttachCanvasToSurface(TTeeCanvas* surface, TCanvas* canvas);
// The reset before a chart is drawn.
void AssignStylesToCanvas(TTeeCanvas* surface);
// The colour darkened by the amount becomes the brush colour (solid brush) or the
// background colour (hatched brushes paint their background in it).
void ShadeBrushColor(TTeeCanvas* surface, TColor color, int amount);
int CanvasLineHeight(TTeeCanvas* surface);

void CanvasRectangleOfRect(TTeeCanvas* surface, const TRect& r);
void CanvasEllipseOfRect(TTeeCanvas* surface, const TRect& r);
void CanvasRoundRectOfRect(TTeeCanvas* surface, const TRect& r, int cornerSize);
void CanvasLineOfPoints(TTeeCanvas* surface, const TPoint& a, const TPoint& b);
void CanvasArrowHalfBody(TCanvas3D* surface, bool filled, const TPoint& from, const TPoint& to, int headWidth,
                         int headHeight, int z);

// ---- helpers over the projection ----------------------------------------------------

TPoint ProjectPoint3D(const TCanvas3D* surface, int x, int y, int z);
TRect ProjectRect3D(const TCanvas3D* surface, const TRect& r, int z);
// Left-top, right-top, right-bottom, left-bottom.
std::array<TPoint, 4> ProjectRectCorners3D(const TCanvas3D* surface, const TRect& r, int z);
TRect ProjectedRectBounds(const TCanvas3D* surface, const TRect& r, int z);
TPoint ProjectFloatPoint(const TCanvas3D* surface, double x, double y, int z);
void CanvasLineOfPoints3D(TCanvas3D* surface, const TPoint& a, const TPoint& b, int z);
void CanvasPlaneOfPoints(TCanvas3D* surface, const TPoint& p, const TPoint& q, int z0, int z1);
void CanvasRectangleWithZ(TCanvas3D* surface, const TRect& r, int z);
void CanvasCubeOfRect(TCanvas3D* surface, const TRect& r, int z0, int z1, bool darkSides = true);
// The graphic drawn pixel by pixel onto the plane of the rectangle at depth z.
void DrawGraphicAtDepth(TCanvas3D* surface, const TRect& r, TGraphic* graphic, int z);
// Points on the arc of a pie slice: one per two degrees, 2 to 96.
int SolidPieSlicePoints(double startAngle, double endAngle);
// The convex outline of the points (fewer than three: an empty list).
std::vector<TPoint> ConvexHull(std::vector<TPoint> points);
