// The chart panel: the window control every chart is drawn on. It owns the 3D drawing
// surface and paints by copying the surface's off-screen buffer while that is still
// valid, or by drawing again through its virtual slots (which the axis panel and the
// chart fill). It keeps the margins, the border and bevels, the print settings and the
// listeners that hear the chart's events.
#pragma once

#include "RizUridu/ZoomState.h"
#include "TeCanvas.h"

#include "controls/CustomControls.h"
#include "controls/Cursors.h"

#include <functional>
#include <memory>
#include <string>
#include <type_traits>
#include <vector>

class TChartSeries;
class TCustomTeePanel;
class TMetafile;

// ---- process-wide switches --------------------------------------------------------

extern bool TeeClipWhenPrinting;     // True: clip while printing
extern bool TeeClipWhenMetafiling;   // True: clip while drawing into another canvas
extern bool TeeEraseBack;            // False: the window is not erased before painting
extern bool PrintTeePanel;           // False: a printed panel draws no bevels or colour

// ---- small helpers --------------------------------------------------------------

// The default date-time label format for a step: the short date format for steps above
// one day, else the short time format (of the format settings).
std::string ChooseTextByValue(double Value);
// The integer as plain decimal text, without separators.
std::string IntToDecimalStr(int Value);
// A 13 x 13 check box (or radio button) with its top-left at (X, Y), checked or not.
void DrawCheckBox(TCanvas* Canvas, int X, int Y, bool Checked, bool RadioButton = false);

// A bevel of Width pixels inside R: raised has the highlight colour on the top and left
// and the shadow colour on the bottom and right, lowered the reverse; with Round >= 1 a
// single rounded rectangle of that radius in the highlight (raised) or shadow colour.
// R comes back shrunk by Width. bvNone draws nothing and keeps R.
void DrawTeeBevel(TTeeCanvas* Surface, TBevelCut Bevel, TRect& R, int Width, int Round);

// Print margins in percent that keep a chart of ChartWidth x ChartHeight in proportion on
// a page of PageWidth x PageHeight device pixels. VertToHorzDpi is the page's vertical
// pixels per inch over its horizontal ones. The side along the longer side of the chart
// keeps 15 %; the other two are centred. Every margin stays within 0..49; a chart or a
// page of no size keeps 15 % all round.
TRect CalcProportionalPrintMargins(int ChartWidth, int ChartHeight, int PageWidth, int PageHeight,
                                   double VertToHorzDpi);

// ---- events and listeners ----------------------------------------------------------

// An event a panel tells its listeners; Sender is the panel.
class TTeeEvent : public TObject {
public:
    DECLARE_CLASS_NAME(TTeeEvent)
    TCustomTeePanel* Sender = nullptr;
};

enum TTeeMouseEventKind { meDown, meUp, meMove };

class TTeeMouseEvent : public TTeeEvent {
public:
    DECLARE_CLASS_NAME(TTeeMouseEvent)
    TTeeMouseEventKind Event = meDown;
    TMouseButton Button = mbLeft;
    TShiftState Shift;
    int X = 0;
    int Y = 0;
};

// Sent when the panel's View3D changes.
class TTeeView3DEvent : public TTeeEvent {
public:
    DECLARE_CLASS_NAME(TTeeView3DEvent)
};

// Sent when the chart shows another page.
class TChartChangePage : public TTeeEvent {
public:
    DECLARE_CLASS_NAME(TChartChangePage)
};

enum TTeeSeriesEventStyle {
    seAdd, seRemove, seChangeTitle, seChangeColor, seSwap, seChangeActive, seDataChanged
};

class TTeeSeriesEvent : public TTeeEvent {
public:
    DECLARE_CLASS_NAME(TTeeSeriesEvent)
    TTeeSeriesEventStyle Event = seAdd;
    TChartSeries* Series = nullptr;
};

// What listens to a panel: grids, list boxes, navigators. A listener removes itself
// before it goes away.
class IPanelEventListener {
public:
    virtual void HandleEvent(TTeeEvent* Event) = 0;

protected:
    ~IPanelEventListener() = default;
};

// The listeners of a panel, in the order they were added, each once. A listener
// removed while the list is being called is not called afterwards; one added meanwhile
// hears from the next event on.
class TTeeEventListeners {
public:
    // Adds the listener unless present; answers its position.
    int Add(IPanelEventListener* Listener);
    void Remove(IPanelEventListener* Listener);
    int IndexOf(const IPanelEventListener* Listener) const;
    int Count() const;
    IPanelEventListener* Items(int Index) const;   // ERangeError outside 0..Count-1
    void Clear();

    // Calls Call for each listener in order, first asking Stop (when given) whether to
    // end the round.
    void ForEach(const std::function<void(IPanelEventListener*)>& Call, const std::function<bool()>& Stop = nullptr);

private:
    void Compact();
    std::vector<IPanelEventListener*> FItems;   // nullptr: removed during a round
    int FRounds = 0;
};

// ---- panels -------------------------------------------------------------------------

// A panel whose caption is never drawn.
class TCustomPanelNoCaption : public TCustomPanel {
public:
    DECLARE_CLASS_NAME(TCustomPanelNoCaption)
    explicit TCustomPanelNoCaption(TComponent* AOwner);
};

enum TTeeUnits { muPercent, muPixels };

using TTeePrintEvent = std::function<void(TObject* Sender, TCanvas* Canvas, const TRect& R)>;

class TCustomTeePanel : public TCustomPanelNoCaption {
public:
    DECLARE_CLASS_INFO(TCustomTeePanel)
    explicit TCustomTeePanel(TComponent* AOwner);
    ~TCustomTeePanel() override;

    // ---- state the drawing and mouse code read and write ----
    // Set by a mouse handler, tool or listener to end the current mouse event.
    bool CancelMouse = false;
    TRect ChartBounds;   // the whole drawing rectangle
    TRect ChartRect;     // inside the border and margins
    int ChartWidth = 0;
    int ChartHeight = 0;
    int ChartXCenter = 0;
    int ChartYCenter = 0;
    // The cursor the panel returns to (its cursor at creation and after loading).
    TCursor OriginalCursor = crDefault;
    TTeePrintEvent OnBeforePrint;

    // ---- properties ----
    bool Locked() const { return FLocked; }
    void SetLocked(bool v) { FLocked = v; }
    // While False, repaint requests are ignored.
    bool AutoRepaint() const { return FAutoRepaint; }
    void SetAutoRepaint(bool v) { FAutoRepaint = v; }
    TChartHiddenPen* Border() const { return FBorder.get(); }
    void SetBorder(TChartPen* v);
    int BorderRound() const { return FBorderRound; }
    void SetBorderRound(int v);
    // Index 0 left, 1 top, 2 right, 3 bottom.
    int GetMargin(int Index) const;
    void SetMargin(int Index, int Value);
    int MarginLeft() const { return GetMargin(0); }
    void SetMarginLeft(int v) { SetMargin(0, v); }
    int MarginTop() const { return GetMargin(1); }
    void SetMarginTop(int v) { SetMargin(1, v); }
    int MarginRight() const { return GetMargin(2); }
    void SetMarginRight(int v) { SetMargin(2, v); }
    int MarginBottom() const { return GetMargin(3); }
    void SetMarginBottom(int v) { SetMargin(3, v); }
    TTeeUnits MarginUnits() const { return FMarginUnits; }
    void SetMarginUnits(TTeeUnits v);
    TZoomPanning* Panning() const { return FPanning.get(); }
    // True only inside PrintPartialCanvas.
    bool Printing() const { return FPrinting; }
    // Percentages of the page: left, top, right, bottom.
    const TRect& PrintMargins() const { return FPrintMargins; }
    void SetPrintMargins(const TRect& v) { FPrintMargins = v; }
    bool PrintProportional() const { return FPrintProportional; }
    void SetPrintProportional(bool v) { SetAndRepaint(FPrintProportional, v); }
    // Percent by which the chart's size shrinks when printed.
    int PrintResolution() const { return FPrintResolution; }
    void SetPrintResolution(int v) { SetAndRepaint(FPrintResolution, v); }
    TTeeShadow* Shadow() const { return FShadow.get(); }
    void SetShadow(TTeeShadow* v);
    bool View3D() const { return FView3D; }
    // Stores, repaints and tells the listeners (TTeeView3DEvent).
    void SetView3D(bool v);
    TView3DOptions* View3DOptions() const { return FView3DOptions.get(); }
    void SetView3DOptions(TView3DOptions* v);
    bool Monochrome() const;
    void SetMonochrome(bool v);
    TTeeEventListeners* Listeners() const { return FListeners.get(); }

    // The drawing surface (the window's own canvas is ReferenceCanvas).
    TTeeCanvas3D* Canvas() const { return FSurface.get(); }
    TCanvas* ReferenceCanvas() const { return TCustomControl::Canvas(); }

    // A setter's common part: stores Value and repaints when it differs from Field.
    template <class T>
    void SetAndRepaint(T& Field, std::type_identity_t<T> Value)
    {
        SetAndNotify(Field, Value, [this] { RequestRepaint(); });
    }

    // ---- virtual slots ----
    virtual TColor GetBackColor() const;
    // Draws the chart in Rect on the surface; empty here.
    virtual void DrawContents(const TRect& Rect);
    virtual void RedrawChart();
    // Draws the chart into Canvas at Rect through the surface.
    virtual void DrawToCanvas(TCanvas* Canvas, const TRect& Rect);
    // (0, 0, Width, Height) without a parent, else the client rectangle.
    virtual TRect GetDrawRect() const;

    // The repaint every setter ends in: marks the surface's buffer dirty and schedules a
    // paint, only while AutoRepaint.
    virtual void RequestRepaint();
    void Repaint() override { RequestRepaint(); }

    // ---- chart rectangle ----
    // Border, bevels and border width, in pixels.
    int FrameWidth() const;
    // ChartRect from ChartBounds, the frame and the margins, then RecalcWidthHeight.
    void CalcChartRect();
    // Keeps ChartRect within ChartBounds and not collapsed; derives the sizes and centre.
    void RecalcWidthHeight();
    // The border and bevels drawn inside Rect.
    void DrawPanelBevels(TRect Rect);

    // ---- pictures ----
    // A new bitmap of Rect's size with the chart drawn in it (filled with BackColour
    // first unless that is white). The caller owns it.
    std::unique_ptr<TBitmap> DrawToBitmap(TColor BackColour, const TRect& Rect, TPixelFormat PixelFormat = pfDevice);
    // A new metafile of Rect's size (at least 1 x 1), enhanced or not, with the chart
    // recorded in it. The caller owns it.
    std::unique_ptr<TMetafile> DrawToMetafile(bool Enhanced, const TRect& Rect);
    // A picture or graphic gets the chart drawn on the panel's colour; anything else is
    // refused as the platform refuses it.
    void CopyToGraphic(TPersistent* Dest);

    // ---- listeners ----
    // Sends Event to every listener in order; for a mouse event the round ends as soon as
    // CancelMouse is set. Nothing is sent while the panel is being destroyed.
    void BroadcastEvent(TTeeEvent* Event);
    void BroadcastMouseEvent(TTeeMouseEventKind Kind, TMouseButton Button, TShiftState Shift, int X, int Y);
    int AddListenerOnce(IPanelEventListener* Listener);
    void RemoveListener(IPanelEventListener* Listener);

    // ---- printing ----
    // Draws the chart into Rect of a printer's canvas, scaled from the chart's own size.
    // OnBeforePrint gets the rectangle in the chart's own (mapped) units, so that what it
    // draws there lands where the chart goes.
    void PrintPartialCanvas(TCanvas* Canvas, TRect Rect);
    // The same on the printer object's canvas; the caller begins and ends the job.
    void PrintToPrinter(const TRect& Rect);
    // The page rectangle inside PrintMargins (made proportional first when asked).
    TRect CalcPrintRect();
    void CalcProportionalMargins();

    // The mouse position in client pixels.
    TPoint GetCursorPosition() const;
    bool GetBufferedDisplay() const;
    void SetCanvasBuffered(bool v);
    bool ClippingAllowed() const;

    void Assign(TPersistent* Source) override;
    // "PrintMargins" (four integers) and the legacy "BorderStyle".
    void DefineProperties(TFiler* Filer) override;
    void Loaded() override;

protected:
    void Paint() override;
    void EraseBackground() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void DblClick() override;
    void MouseLeave() override;
    void Resize() override;
    void AssignTo(TPersistent* Dest) override;

    // Draws into a canvas other than the window's: unbuffered, with the off-screen flag set.
    void DrawOffScreen(TCanvas* Canvas, const TRect& Rect);
    // Draws straight into the canvas, the surface's buffer switched off meanwhile.
    void DrawUnbuffered(TCanvas* Canvas, const TRect& Rect);
    bool DrawingOffScreen() const { return FOffScreen; }
    TNotifyEvent RepaintHandler();

private:
    void ApplyRoundRegion();

    std::unique_ptr<TTeeEventListeners> FListeners;
    std::unique_ptr<TView3DOptions> FView3DOptions;
    std::unique_ptr<TTeeCanvas3D> FSurface;
    std::unique_ptr<TZoomPanning> FPanning;
    std::unique_ptr<TTeeShadow> FShadow;
    std::unique_ptr<TChartHiddenPen> FBorder;
    bool FLocked = false;
    bool FAutoRepaint = true;
    int FBorderRound = 0;
    int FMargins[4] = {3, 4, 3, 4};
    TTeeUnits FMarginUnits = muPercent;
    bool FPrinting = false;
    TRect FPrintMargins{15, 15, 15, 15};
    bool FPrintProportional = true;
    int FPrintResolution = 0;
    bool FView3D = true;
    bool FOffScreen = false;
    bool FApplyingRegion = false;
};

// Moves Listener (the component Self) from the panel Current to New: it then hears New's
// events and is told when New is freed, and Current becomes New. False when Current is
// New already.
template <class TPanel>
bool SwitchListenedPanel(TComponent* Self, IPanelEventListener* Listener, TPanel*& Current, TPanel* New)
{
    if (Current == New)
        return false;
    if (Current != nullptr) {
        Current->RemoveListener(Listener);
        Current->RemoveFreeNotification(Self);
    }
    Current = New;
    if (Current != nullptr) {
        Current->FreeNotification(Self);
        Current->AddListenerOnce(Listener);
    }
    return true;
}
