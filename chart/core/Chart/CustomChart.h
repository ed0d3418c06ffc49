// The chart control: the axis panel with titles, walls, a legend place, click events and
// the search for the part of the chart under the mouse. TChart is the control placed on
// forms.
#pragma once

#include "Chart/Legend.h"
#include "Chart/Titles.h"
#include "Chart/Walls.h"
#include "Chart/Zoom.h"
#include "TeEngine/AxisPanel.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

class TChartSeries;

enum TChartClickedPartStyle {
    cpNone, cpLegend, cpAxis, cpSeries, cpTitle, cpFoot, cpChartRect, cpSeriesMarks, cpSubTitle, cpSubFoot
};

struct TChartClickedPart {
    TChartClickedPartStyle Part = cpNone;
    int PointIndex = -1;
    TChartSeries* ASeries = nullptr;
    TChartAxis* AAxis = nullptr;
};

using TChartClick = std::function<void(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y)>;
using TChartClickAxis =
    std::function<void(TObject* Sender, TChartAxis* Axis, TMouseButton Button, TShiftState Shift, int X, int Y)>;
using TChartClickSeries = std::function<void(TObject* Sender, TChartSeries* Series, int ValueIndex, TMouseButton Button,
                                             TShiftState Shift, int X, int Y)>;
using TChartClickTitle =
    std::function<void(TObject* Sender, TChartTitle* ATitle, TMouseButton Button, TShiftState Shift, int X, int Y)>;
using TOnGetLegendText = std::function<void(TObject* Sender, int LegendStyle, int Index, std::string& LegendText)>;

// Called with every chart created in a design state (none is set by the program).
extern std::function<void(class TCustomChart*)> TeeNewChartHook;

class TCustomChart : public TCustomAxisPanel {
public:
    DECLARE_CLASS_INFO(TCustomChart)
    explicit TCustomChart(TComponent* AOwner) : TCustomChart(AOwner, "TCustomChart") {}
    ~TCustomChart() override;

    // ---- owned elements ----
    TChartTitle* Title() const { return FTitle.get(); }
    TChartTitle* SubTitle() const { return FSubTitle.get(); }
    TChartTitle* Foot() const { return FFoot.get(); }
    TChartTitle* SubFoot() const { return FSubFoot.get(); }
    void SetTitle(TChartTitle* v) { FTitle->Assign(v); }
    void SetSubTitle(TChartTitle* v) { FSubTitle->Assign(v); }
    void SetFoot(TChartTitle* v) { FFoot->Assign(v); }
    void SetSubFoot(TChartTitle* v) { FSubFoot->Assign(v); }
    TChartWalls* Walls() const { return FWalls.get(); }
    TChartBackWall* BackWall() const { return FWalls->Back(); }
    TChartWall* BottomWall() const { return FWalls->Bottom(); }
    TChartWall* LeftWall() const { return FWalls->Left(); }
    TChartRightWall* RightWall() const { return FWalls->Right(); }
    void SetBackWall(TChartWall* v) { FWalls->Back()->Assign(v); }
    void SetBottomWall(TChartWall* v) { FWalls->Bottom()->Assign(v); }
    void SetLeftWall(TChartWall* v) { FWalls->Left()->Assign(v); }
    void SetRightWall(TChartWall* v) { FWalls->Right()->Assign(v); }
    TChartLegend* Legend() const { return FLegend.get(); }
    void SetLegend(TChartLegend* v) { FLegend->Assign(v); }
    // The plot's frame: the back wall's pen.
    TChartPen* Frame() const { return FWalls->Back()->Pen(); }
    void SetFrame(TChartPen* v) { FWalls->Back()->SetPen(v); }
    TMouseButton ScrollMouseButton() const { return FScrollMouseButton; }
    void SetScrollMouseButton(TMouseButton v) { FScrollMouseButton = v; }
    int ColorPaletteIndex() const { return FColorPaletteIndex; }
    // Applies palette v (ApplyChartPalette): 1..9 a named palette, others the default.
    void SetColorPaletteIndex(int v);
    // True until the axes' state is saved by a zoom or pan, and again after an undo.
    bool NothingSaved = true;
    // The automatic flags and the range of every axis but the depth axes.
    void SaveAxesState();
    // Puts the saved flags and ranges back and forgets them.
    void RestoreAxesState();
    // The saved axes come back (when something was saved); then OnUndoZoom, a repaint,
    // and Zoomed cleared.
    void UndoZoom() override;
    void AxisFreed(TChartAxis* Axis) override;

    // ---- zoom and panning ----
    // Zooms the four main axes to the values at the corners of Rect (client pixels).
    virtual void ZoomRect(const TRect& Rect);
    // Saves the axes (first time), steps towards the targets when animated, sets the
    // four main axes to them, marks the chart zoomed and fires OnZoom.
    void ZoomToValues(double LeftMin, double LeftMax, double RightMin, double RightMax, double TopMin, double TopMax,
                      double BottomMin, double BottomMax);
    // Moves every vertical axis by 3 % of its range: up for a positive WheelDelta
    // (wheel turned away from the user), down for a negative one; saves the axes for
    // the undo (first time) and fires OnScroll, as a pan does.
    void WheelScroll(int WheelDelta);
    // Moves Axis so that the value at pixel From comes to pixel To, unless OnAllowScroll
    // vetoes it.
    void ScrollAxis(TChartAxis* Axis, int From, int To);
    // Draws the zoom rectangle on the shown picture; drawn again, it is erased.
    void DrawZoomRectangle();

    // ---- events ----
    TChartClickAxis OnClickAxis;
    TChartClick OnClickBackground;
    TChartClick OnClickLegend;
    TChartClickSeries OnClickSeries;
    TChartClickTitle OnClickTitle;
    TOnGetLegendText OnGetLegendText;
    TOnGetLegendPos OnGetLegendPos;
    TOnGetLegendRect OnGetLegendRect;
    TChartAllowScrollEvent OnAllowScroll;

    // ---- look-ups ----
    // The part of the chart under (X, Y), first hit winning: custom-placed legend, series
    // (last to first), axes, legend, titles, the plot (with an active series).
    TChartClickedPart ClickedPart(int X, int Y, bool OnlyWithEvents = false);
    // The axis title, or the axis' standard name.
    std::string GetAxisName(const TChartAxis* Axis) const;
    TChartSeries* FirstActiveSeries() const;
    // Each active tool hears the mouse event until one sets CancelMouse.
    void NotifyToolsMouse(TTeeMouseEventKind Kind, TMouseButton Button, TShiftState Shift, int X, int Y);
    // Some active series uses axes (or none is active).
    bool SomeSeriesUsesAxes() const;

    // ---- slots ----
    TColor GetBackColor() const override;
    void ReserveWallSpace() override;
    int GetAxisWallSize(const TChartAxis* Axis) const override;
    void PlaceTitlesAndLegend(bool FirstPass) override;
    void DrawWalls() override;
    bool IsColorUnused(TColor Color, bool CheckBackground, TChartSeries* ExceptSeries) override;
    std::string FormatLegendString(TChartSeries* Series, int ValueIndex) override;
    void FillLegendSymbol(const TRect& R) override;
    // The legend's colour, or the chart's when the legend has the default colour.
    TColor LegendColor() const override;
    TLegendTextStyle LegendTextStyle() const override { return FLegend->TextStyle(); }

    // The stream value "BackColor": the back wall's colour, its brush made solid when
    // the chart is shown and not loading.
    void SetBackColor(TColor v);

    void Assign(TPersistent* Source) override;
    // "BackColor" (read only) and "ColorPaletteIndex".
    void DefineProperties(TFiler* Filer) override;

protected:
    // ClassTitle: the class name a new chart in a design state shows as its title.
    TCustomChart(TComponent* AOwner, const char* ClassTitle);
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    // A zoom drag grows its rectangle; a pan drag scrolls the axes.
    void MouseMove(TShiftState Shift, int X, int Y) override;
    // Ends a zoom drag (zooming or undoing) and any panning; the tools then hear it.
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    // The wheel event first, then the wheel scroll.
    bool DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) override;
    // The legend's place in the drawing; the legend fills them.
    virtual bool LegendToDraw() const { return FLegend->ShouldDraw(); }
    virtual bool LegendCustomPosition() const { return FLegend->CustomPosition(); }
    virtual bool LegendVertical() const { return FLegend->IsVertical(); }
    virtual void DrawLegend() { FLegend->Draw(); }
    virtual int LegendClicked(int X, int Y) { return FLegend->Clicked(X, Y); }
    // The zoom or panning that a click not claimed by an event may start.
    virtual void StartZoomOrPan(TMouseButton Button, TShiftState Shift, int X, int Y);

private:
    void DrawTitles(bool Custom);
    void DrawBackClick(TMouseButton Button, TShiftState Shift, int X, int Y, bool& Handled);
    bool SidePlaneFaces(bool LeftSide) const;
    int BackWallSizeIfVisible() const;
    void DrawWall(TCustomChartWall* Wall, int Which);
    void DrawLeftWall();
    void DrawRightWall();
    void DrawBottomWall();
    void DrawBackWall();
    bool WallInFront(const TCustomChartWall* Wall) const;
    // Scrolls the axes of one direction from pixel From to To; True when the panning
    // mode allowed it and the mouse moved.
    bool ScrollAxes(bool Horizontal, int From, int To);
    // A press of the button that is already dragging means its release never came:
    // that drag ends (its rectangle erased), so that the chart does not stay stuck in it.
    void DropLostDrags(TMouseButton Button);

    std::unique_ptr<TChartTitle> FTitle;
    std::unique_ptr<TChartTitle> FSubTitle;
    std::unique_ptr<TChartFootTitle> FFoot;
    std::unique_ptr<TChartFootTitle> FSubFoot;
    std::unique_ptr<TChartWalls> FWalls;
    std::unique_ptr<TChartLegend> FLegend;
    // The state of one axis, matched by the axis itself (an axis freed since leaves).
    struct TSavedAxis {
        TChartAxis* Axis = nullptr;
        bool Automatic = true, AutomaticMinimum = true, AutomaticMaximum = true;
        double Minimum = 0, Maximum = 0;
    };
    std::vector<TSavedAxis> FSavedAxes;
    TMouseButton FScrollMouseButton = mbRight;
    int FColorPaletteIndex = 0;
};

class TChart : public TCustomChart {
public:
    DECLARE_CLASS_INFO(TChart)
    explicit TChart(TComponent* AOwner) : TCustomChart(AOwner, "TChart") {}
};
