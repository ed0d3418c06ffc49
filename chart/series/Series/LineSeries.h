// The common engine of the series that join their points (TCustomSeries): segments
// straight, as stairs or as 3D ribbons, the point symbols, shadow and outline passes,
// stacking, the hit test and the legend symbol; and the line, horizontal line and point
// series built on it.
#pragma once

#include "TeEngine.h"

#include <functional>
#include <memory>

enum TCustomSeriesStack { cssNone, cssOverlap, cssStack, cssStack100 };

class TCustomSeries;
using TSeriesClickPointerEvent = std::function<void(TCustomSeries* Sender, int ValueIndex, int X, int Y)>;
using TOnGetPointerStyle = std::function<TSeriesPointerStyle(TChartSeries* Sender, int ValueIndex)>;

// A series whose element pen is its line pen.
class TCustomLineSeries : public TChartSeries {
public:
    DECLARE_SERIES_CLASS(TCustomLineSeries)
    using TChartSeries::TChartSeries;

    TChartPen* LinePen() const { return Pen(); }
    void SetLinePen(TChartPen* Value) { SetPen(Value); }

protected:
    // A visible, solid, one-pixel line pen that copies its colour: joining many points
    // with it inks the same pixels as a polyline reduced per pixel column.
    bool PlainLinePen() const;
    // The linear pixel maps of both axes; false without them or on a logarithmic axis.
    bool LinearAxisMaps(TAxisLinearMap& X, TAxisLinearMap& Y) const;
    // Draws the pieces of a reduced line with the canvas's pen, in 2D.
    void DrawPolylinePieces(const class TColumnPolyline& Line);
};

class TCustomSeries : public TCustomLineSeries {
public:
    DECLARE_SERIES_CLASS(TCustomSeries)
    explicit TCustomSeries(TComponent* AOwner);
    ~TCustomSeries() override;

    // ---- virtual slots ----
    // Room the marks keep from their point: the callout's length plus its distance.
    virtual int GetMarksOffset() const;
    // Whether (X, Y) lies inside the symbol of the value drawn at (PX, PY).
    virtual bool HitsPointer(int ValueIndex, int X, int Y, int PX, int PY);
    virtual TTeeGradient* GetGradient() const { return FGradient.get(); }
    virtual int GetTransparency() const { return FTransparency; }
    // 0..100; anything else raises ERangeError.
    virtual void SetTransparency(int Value);
    // A series type may size the pointer of a value here; nothing in the base.
    virtual void BeforeDrawPointer(int ValueIndex) {}
    // Whether every value is drawn as the series' symbol and nothing else, so that the
    // symbols may be stamped; no in the base, whose types draw lines and areas.
    virtual bool ValuesAreSymbols() const { return false; }
    // Whether DrawAreaSegment fills a flat segment as a polygon in the canvas's brush,
    // outlined with the area lines pen, and then draws its top edge with the line pen,
    // all solid, thin and copying; the area series says so when nothing else applies.
    virtual bool AreaSegmentsArePlain() const { return false; }
    // The pixel the value rises from: the top of the stack below it, else the axis end
    // that stands for the minimum.
    virtual int PointOriginValue(int ValueIndex) const;

    // ---- drawing ----
    // Shadow pass, outline pass, then every visible value.
    void DrawVisiblePoints() override;
    // A new drawing starts: no segment joins its first value to the last one drawn
    // before (series sharing a depth are drawn value by value, without DrawVisiblePoints).
    void FireBeforeDrawValues() override;
    void DrawValue(int ValueIndex) override;
    void ComputeDepthExtent() override;
    void ComputeZOrder() override;
    void DrawSymbolShape(int ValueIndex, const TRect& R) override;
    void PrepareSymbolCanvas() override;
    // A vertical series lifts the mark above its visible symbol first.
    void DrawMark(int ValueIndex, const std::string& Text, TSeriesMarkPosition& Position) override;
    // During the shadow and outline passes every value takes the pass colour.
    TColor ValueColor(int Index) const override;

    // ---- positions and extremes (stacked along the mandatory axis) ----
    int PointScreenX(int Index) const override;
    int PointScreenY(int Index) const override;
    double GreatestX() const override;
    double LeastX() const override;
    double GreatestY() const override;
    double LeastY() const override;
    // The sum of the related series' values at Index with the sign of this series' value,
    // from the series before this one (and this one with IncludeSelf); AllSeries sums
    // the whole stack.
    double PointSum(int Index, bool IncludeSelf, bool AllSeries = false) const;
    // The pixel of a stacked total at Index.
    int StackedPosition(int Index, double Total) const;
    bool IsStacked() const { return FStacked == cssStack || FStacked == cssStack100; }

    // ---- hit test and margins ----
    int Clicked(int X, int Y) override;
    void AxisMarginsA(int& Left, int& Right) override;
    void AxisMarginsB(int& Top, int& Bottom) override;

    // ---- properties ----
    TChartBrush* AreaChartBrush() const { return FAreaChartBrush.get(); }
    TColor AreaColor() const { return FAreaColor; }
    void SetAreaColor(TColor V) { SetAndRepaint(FAreaColor, V); }
    TChartPen* AreaLinesPen() const { return FAreaLinesPen.get(); }
    void SetAreaLinesPen(TChartPen* V) { FAreaLinesPen->Assign(V); }
    bool ClickableLine() const { return FClickableLine; }
    void SetClickableLine(bool V) { SetAndRepaint(FClickableLine, V); }
    bool ColorEachLine() const { return FColorEachLine; }
    void SetColorEachLine(bool V) { SetAndRepaint(FColorEachLine, V); }
    bool Dark3D() const { return FDark3D; }
    void SetDark3D(bool V) { SetAndRepaint(FDark3D, V); }
    bool DrawArea() const { return FDrawArea; }
    void SetDrawArea(bool V) { SetAndRepaint(FDrawArea, V); }
    bool DrawLine() const { return FDrawLine; }
    void SetDrawLine(bool V) { SetAndRepaint(FDrawLine, V); }
    bool InvertedStairs() const { return FInvertedStairs; }
    void SetInvertedStairs(bool V) { SetAndRepaint(FInvertedStairs, V); }
    TBrushStyle LineBrush() const { return Brush()->Style(); }
    void SetLineBrush(TBrushStyle V) { Brush()->SetStyle(V); }
    int LineHeight() const { return FLineHeight; }
    void SetLineHeight(int V) { SetAndRepaint(FLineHeight, V); }
    TChartHiddenPen* OutLine() const { return FOutLine.get(); }
    void SetOutLine(TChartPen* V) { FOutLine->Assign(V); }
    TSeriesPointer* Pointer() const { return FPointer.get(); }
    void SetPointer(TSeriesPointer* V) { FPointer->Assign(V); }
    TTeeShadow* Shadow() const { return FShadow.get(); }
    void SetShadow(TTeeShadow* V) { FShadow->Assign(V); }
    TCustomSeriesStack Stacked() const { return FStacked; }
    // Sets the whole stack: every series of the chart that is of this series' class.
    void SetStacked(TCustomSeriesStack V);
    bool Stairs() const { return FStairs; }
    void SetStairs(bool V) { SetAndRepaint(FStairs, V); }
    TTeeGradient* Gradient() const { return FGradient.get(); }

    TSeriesClickPointerEvent OnClickPointer;
    TOnGetPointerStyle OnGetPointerStyle;

    void Assign(TPersistent* Source) override;

protected:
    TSeriesPointer* SeriesPointer() const override { return FPointer.get(); }
    // The fill of one area segment, from (PrevX, PrevY) over PrevOrigin to (X, Y) over
    // Origin, IsLast at the last value drawn; the area series fill it.
    virtual void DrawAreaSegment(int PrevX, int PrevY, int PrevOrigin, int X, int Y, int Origin, TColor Color,
                                 bool IsLast) {}
    // Between HoldAreaBands(true) and HoldAreaBands(false) DrawAreaSegment may keep back
    // the fills its segments leave for last and write them together at the end, or before
    // it draws anything else; nothing in the base.
    virtual void HoldAreaBands(bool Hold) {}
    // While they are held, rows Top..Bottom of column X are about to be drawn over: a band
    // held there gives them up.
    virtual void AreaBandsOverdrawn(int X, int Top, int Bottom) {}
    // While they are held, rows Top..Bottom of column X in Colour, drawn over them, may be
    // held too, to be drawn before anything after them (less what a band held next in
    // the column covers); false when they are to be drawn now.
    virtual bool HoldAreaColumn(int X, int Top, int Bottom, TColor Colour) { return false; }
    // The pointer of a value at (X, Y) in Color, in the style the event gives.
    void DrawPointerOf(int ValueIndex, int X, int Y, TColor Color);
    // A horizontal series' mark: beside its point by the callout's length and distance,
    // centred vertically; to the right, or to the left when the point lies left of its
    // origin and Mirror is set.
    void PlaceMarkBeside(int ValueIndex, TSeriesMarkPosition& Position, bool Mirror) const;
    // A horizontal series' marks stand left of their points, so the axis keeps their room
    // on the left instead of the right.
    virtual bool MarksStandLeft() const { return false; }
    // The margins the marks keep, so that a mark at the end of an automatic axis stays
    // whole inside the chart: Along, beyond the points on the side the marks stand, the
    // callout's offset (for a vertical series also the pointer's lift) and the largest
    // mark box; Across, on both ends of the other axis, half the box centred on a point.
    void MarksRoom(int& Along, int& Across);

    bool FDrawArea = false;
    bool FDrawLine = false;
    bool FClickableLine = true;

private:
    // Forgets the value drawn last: the next one drawn is the first of a pass.
    void StartDrawing();
    void DrawAllValues();
    // The flat, unstacked, 2D line with nothing drawn per point, drawn as one polyline
    // reduced per pixel column; false (nothing drawn) when the series is not such a line.
    bool DrawReducedLine();
    // The symbols of a series that draws nothing else per value, all alike in 2D: one
    // symbol drawn, then copied to every place, skipping any that a later one covers
    // exactly; false (nothing drawn) when the series or the canvas does not allow it.
    bool DrawStampedPointers();
    // A flat area whose segments are plain: the segments within one pixel column, which
    // ink only that column, drawn as the few spans they leave; false (nothing drawn) when
    // the series is not such an area.
    bool DrawReducedArea();
    // Where the line from the point before the first visible one (off the axis) enters
    // the chart at pixel column EdgeX: its pixel row.
    int EdgeEntryY(int Before, int Index, int EdgeX, int Y) const;
    void DrawSegment(int X, int Y, TColor Color, bool IsLast);
    TColor SegmentBrushColor(TColor Color) const;
    void StackExtremes(bool IsMax, double& Value) const;
    TColor PassSeriesColor() const { return FPassColor != clNone ? FPassColor : SeriesColor(); }

    std::unique_ptr<TChartBrush> FAreaChartBrush;
    TColor FAreaColor = clDefault;
    std::unique_ptr<TChartPen> FAreaLinesPen;
    bool FColorEachLine = true;
    bool FDark3D = true;
    bool FInvertedStairs = false;
    int FLineHeight = 0;
    std::unique_ptr<TChartHiddenPen> FOutLine;
    std::unique_ptr<TSeriesPointer> FPointer;
    std::unique_ptr<TTeeShadow> FShadow;
    TCustomSeriesStack FStacked = cssNone;
    bool FStairs = false;
    int FTransparency = 0;
    std::unique_ptr<TTeeGradient> FGradient;

    // Drawing state of the current pass.
    bool FHasPrevious = false;
    int FOldIndex = -1;
    int FOldX = 0;
    int FOldY = 0;
    int FOldOrigin = 0;
    int FOrigin = 0;
    TColor FOldColor = clNone;
    double FSlopeLimit = 1;
    // The colour of the shadow or outline pass under way; clNone otherwise.
    TColor FPassColor = clNone;
};

class TLineSeries : public TCustomSeries {
public:
    DECLARE_SERIES_CLASS(TLineSeries)
    explicit TLineSeries(TComponent* AOwner);
    std::string EditorClassName() const override { return "TCustomSeriesEditor"; }
    void Assign(TPersistent* Source) override;
    // Stairs, Points, Height, Hollow, Colors, Marks, No Border, Outline.
    void AddSubGalleryStyles(std::vector<std::string>& Styles) override;
    void ApplySubGalleryStyle(int Index) override;
};

class THorizLineSeries : public TLineSeries {
public:
    DECLARE_SERIES_CLASS(THorizLineSeries)
    explicit THorizLineSeries(TComponent* AOwner);
    // Beside the point, away from its origin.
    void DrawMark(int ValueIndex, const std::string& Text, TSeriesMarkPosition& Position) override;

protected:
    // Away from the origin, which an inverted axis puts on the right.
    bool MarksStandLeft() const override;
};

class TPointSeries : public TCustomSeries {
public:
    DECLARE_SERIES_CLASS(TPointSeries)
    explicit TPointSeries(TComponent* AOwner);
    std::string EditorClassName() const override { return "TSeriesPointerEditor"; }
    virtual bool HasPointerStyleGallery() const { return true; }
    // The pointer's transparency.
    int GetTransparency() const override;
    void SetTransparency(int Value) override;
    // Each point its colour: the pointer brush goes back to the default-colour marker.
    void SetColorEachPoint(bool Value) override;
    // Pointers of half size 4 in a chart narrower than 50 pixels, else 6; the chart's
    // second series shows triangles.
    void SetUpGalleryPreview(bool Enabled) override;
    void Assign(TPersistent* Source) override;
    // The point series itself; a type built on it draws its values its own way.
    bool ValuesAreSymbols() const override;
    // Colors, Marks, Hollow, No Border, Gradient, and with the pointer style gallery
    // Point 2D and six pointer styles.
    void AddSubGalleryStyles(std::vector<std::string>& Styles) override;
    void ApplySubGalleryStyle(int Index) override;
};
