// Zoom by dragging a rectangle, undo by dragging the other way, panning with the scroll
// button, and scrolling the vertical axes with the wheel.
#include "Chart/CustomChart.h"

#include "TeEngine/Series.h"
#include "system/ScopeGuard.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

namespace {

bool KeysHeld(TShiftState Shift, TShiftState Keys)
{
    return (Shift & Keys) == Keys;
}

} // namespace

// ---- the zoom rectangle on screen ---------------------------------------------------------

void TCustomChart::DrawZoomRectangle()
{
    TTeeCanvas3D* s = Canvas();
    TBitmap* buffer = s->Buffer();
    if (s->GetBuffered() && buffer != nullptr && s->BufferValid()) {
        // The shown picture is the surface's buffer: the rectangle goes there, and the
        // window shows it again without the chart being redrawn.
        TCanvas* attached = s->ReferenceCanvas();
        AttachCanvasToSurface(s, buffer->Canvas());
        {
            TScopeGuard pointBack([s, attached] { AttachCanvasToSurface(s, attached); });
            DrawZoomRectangleOn(s, Zoom(), GetBackColor());
        }
        Invalidate();
    } else {
        // No picture to draw on: the next drawing shows the rectangle while the drag is
        // active, and leaves it out afterwards.
        RequestRepaint();
    }
}

// ---- mouse --------------------------------------------------------------------------------

void TCustomChart::StartZoomOrPan(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (!SomeSeriesUsesAxes())
        return;
    bool started = false;
    TTeeZoom* z = Zoom();
    if (z->Allow() && Button == z->MouseButton() && KeysHeld(Shift, z->KeyShift())) {
        // In a fixed direction the rectangle spans the whole plot.
        const TTeeZoomDirection d = z->Direction();
        if (d == tzdVertical)
            X = ChartRect.Left;
        else if (d == tzdHorizontal)
            Y = ChartRect.Top;
        z->Activate(X, Y);
        if (d == tzdVertical)
            z->X1 = ChartRect.Right;
        else if (d == tzdHorizontal)
            z->Y1 = ChartRect.Bottom;
        DrawZoomRectangle();
        started = true;
    }
    if (AllowPanning() != pmNone && Button == ScrollMouseButton() && KeysHeld(Shift, TeeScrollKeyShift)) {
        Panning()->Activate(X, Y);
        started = true;
    }
    if (started)
        SetCursor(OriginalCursor);
}

void TCustomChart::DropLostDrags(TMouseButton Button)
{
    TTeeZoom* z = Zoom();
    if (z->Active && Button == z->MouseButton()) {
        z->Active = false;
        DrawZoomRectangle();
    }
    if (Panning()->Active && Button == ScrollMouseButton())
        Panning()->Active = false;
}

void TCustomChart::MouseMove(TShiftState Shift, int X, int Y)
{
    TCustomAxisPanel::MouseMove(Shift, X, Y);
    if (CancelMouse)
        return;
    TTeeZoom* z = Zoom();
    TZoomPanning* p = Panning();
    if (z->Active) {
        if (z->Direction() == tzdVertical)
            X = ChartRect.Right;
        else if (z->Direction() == tzdHorizontal)
            Y = ChartRect.Bottom;
        if (X != z->X1 || Y != z->Y1) {
            DrawZoomRectangle();
            z->X1 = X;
            z->Y1 = Y;
            DrawZoomRectangle();
        }
        return;
    }
    if (p->Active) {
        if (!PtInRect(ChartRect, TPoint(X, Y))) {
            p->Active = false;
            return;
        }
        if (X == p->X1 && Y == p->Y1)
            return;
        if (NothingSaved) {
            SaveAxesState();
            NothingSaved = false;
        }
        const bool horizontal = ScrollAxes(true, p->X1, X);
        const bool vertical = ScrollAxes(false, p->Y1, Y);
        // The next step starts where this one ended.
        p->X1 = X;
        p->Y1 = Y;
        if (horizontal || vertical) {
            if (OnScroll)
                OnScroll(this);
            RequestRepaint();
        }
        return;
    }
    // A series under the mouse may show its own cursor.
    if (!IsSeriesHit(X, Y))
        SetCursor(OriginalCursor);
}

void TCustomChart::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    // The panel's own handling (listeners) first; the chart tells its tools itself, below.
    TCustomTeePanelExtended::MouseUp(Button, Shift, X, Y);
    TTeeZoom* z = Zoom();
    // The drag ends even when a listener claimed the event: a zoom left active would
    // make the chart ignore every later click.
    if (z->Active && Button == z->MouseButton()) {
        z->Active = false;
        DrawZoomRectangle();
        const TTeeZoomDirection d = z->Direction();
        if (d != tzdVertical)
            z->X1 = X;
        if (d != tzdHorizontal)
            z->Y1 = Y;
        const int minimum = z->MinimumPixels();
        const bool tooShort = (d != tzdVertical && std::abs(z->X1 - z->X0) <= minimum) ||
                              (d != tzdHorizontal && std::abs(z->Y1 - z->Y0) <= minimum);
        if (!tooShort) {
            const bool zoomIn = z->UpLeftZooms() || (d == tzdVertical ? z->Y1 > z->Y0 : z->X1 > z->X0);
            if (zoomIn)
                ZoomRect(TRect(z->X0, z->Y0, z->X1, z->Y1));
            else
                UndoZoom();
            RequestRepaint();
        }
    }
    Panning()->Active = false;
    // Every mouse-up reaches the tools, also one a listener claimed: a tool that began a
    // drag must hear it end.
    CancelMouse = false;
    NotifyToolsMouse(meUp, Button, Shift, X, Y);
}

bool TCustomChart::DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos)
{
    const bool handled = TCustomAxisPanel::DoMouseWheel(Shift, WheelDelta, MousePos);
    if (!TeeUseMouseWheel || WheelDelta == 0)
        return handled;
    WheelScroll(WheelDelta);
    return true;
}

// ---- zoom ---------------------------------------------------------------------------------

void TCustomChart::ZoomRect(const TRect& Rect)
{
    TZoomPanning r;
    r.X0 = Rect.Left;
    r.Y0 = Rect.Top;
    r.X1 = Rect.Right;
    r.Y1 = Rect.Bottom;
    r.Normalize();
    // The horizontal axes run from the left edge; the vertical ones have their minimum
    // at the bottom edge.
    const double x0 = BottomAxis()->ValueAtPixel(r.X0), x1 = BottomAxis()->ValueAtPixel(r.X1);
    const double y0 = LeftAxis()->ValueAtPixel(r.Y1), y1 = LeftAxis()->ValueAtPixel(r.Y0);
    const double tx0 = TopAxis()->ValueAtPixel(r.X0), tx1 = TopAxis()->ValueAtPixel(r.X1);
    const double ry0 = RightAxis()->ValueAtPixel(r.Y1), ry1 = RightAxis()->ValueAtPixel(r.Y0);

    ZoomToValues(y0, y1, ry0, ry1, tx0, tx1, x0, x1);
}

void TCustomChart::ZoomToValues(double LeftMin, double LeftMax, double RightMin, double RightMax, double TopMin,
                                double TopMax, double BottomMin, double BottomMax)
{
    if (NothingSaved) {
        SaveAxesState();
        NothingSaved = false;
    }
    struct Target {
        TChartAxis* Axis;
        double Min, Max;
    };
    // An inverted axis answers the larger value at the smaller pixel: every target is
    // put in order.
    const Target targets[] = {{LeftAxis(), std::min(LeftMin, LeftMax), std::max(LeftMin, LeftMax)},
                              {RightAxis(), std::min(RightMin, RightMax), std::max(RightMin, RightMax)},
                              {TopAxis(), std::min(TopMin, TopMax), std::max(TopMin, TopMax)},
                              {BottomAxis(), std::min(BottomMin, BottomMax), std::max(BottomMin, BottomMax)}};
    if (Zoom()->Animated()) {
        for (int step = 1; step < Zoom()->AnimatedSteps(); ++step) {
            for (const Target& t : targets) {
                TChartAxis* a = t.Axis;
                const double lo = a->Minimum() + (t.Min - a->Minimum()) / TeeZoomAnimationDivisor;
                const double hi = a->Maximum() - (a->Maximum() - t.Max) / TeeZoomAnimationDivisor;
                a->SetFixedRange(lo, hi);
            }
            RequestRepaint();
            Update();
        }
    }
    for (const Target& t : targets)
        t.Axis->SetFixedRange(t.Min, t.Max);
    SetZoomed(true);
    if (OnZoom)
        OnZoom(this);
}

// ---- scrolling ----------------------------------------------------------------------------

void TCustomChart::ScrollAxis(TChartAxis* Axis, int From, int To)
{
    if (Axis == nullptr || From == To)
        return;
    // The value under the mouse stays under it: the range moves against the drag. A
    // logarithmic axis moves by the ratio of the two values, so that it keeps its decades
    // and never reaches zero.
    double newMin, newMax;
    if (Axis->Logarithmic()) {
        const double factor = Axis->ValueAtPixel(From) / Axis->ValueAtPixel(To);
        double lo = Axis->Minimum(), hi = Axis->Maximum();
        // An automatic range from zero is shown from the range in use.
        if (!(lo > 0)) {
            lo = Axis->Map().Minimum;
            hi = Axis->Map().Maximum;
        }
        newMin = lo * factor;
        newMax = hi * factor;
        if (!(factor > 0) || !std::isfinite(factor) || !(newMin > 0) || !std::isfinite(newMax))
            return;
    } else {
        const double delta = Axis->ValueAtPixel(From) - Axis->ValueAtPixel(To);
        newMin = Axis->Minimum() + delta;
        newMax = Axis->Maximum() + delta;
    }
    bool allow = true;
    if (OnAllowScroll)
        OnAllowScroll(Axis, newMin, newMax, allow);
    if (allow)
        Axis->SetFixedRange(newMin, newMax);
}

bool TCustomChart::ScrollAxes(bool Horizontal, int From, int To)
{
    if (From == To)
        return false;
    const TPanningMode mode = AllowPanning();
    if (mode != pmBoth && mode != (Horizontal ? pmHorizontal : pmVertical))
        return false;
    // A copy: a scroll handler may add or remove custom axes.
    std::vector<TChartAxis*> axes;
    for (int t = 0; t < Axes()->Count(); ++t)
        axes.push_back(Axes()->Items(t));
    for (TChartAxis* a : axes)
        if (!a->IsDepthAxis() && a->Horizontal() == Horizontal)
            ScrollAxis(a, From, To);
    return true;
}

void TCustomChart::WheelScroll(int WheelDelta)
{
    if (WheelDelta == 0)
        return;
    // A wheel scroll is undone like a pan: the axes as they were before the first step.
    if (NothingSaved) {
        SaveAxesState();
        NothingSaved = false;
    }
    for (int t = 0; t < Axes()->Count(); ++t) {
        TChartAxis* a = Axes()->Items(t);
        if (a->Horizontal())
            continue;
        // Wheel turned towards the user (negative delta): the content moves down the
        // screen, so the range goes up, or down on an inverted axis.
        const bool up = (WheelDelta < 0) != a->Inverted();
        if (a->Logarithmic()) {
            // By a factor: the same share of the decades shown, never down to zero. An
            // automatic range from zero is scrolled from the range in use.
            double lo = a->Minimum(), hi = a->Maximum();
            if (!(lo > 0)) {
                lo = a->Map().Minimum;
                hi = a->Map().Maximum;
            }
            if (lo > 0 && hi > lo) {
                const double factor = std::pow(hi / lo, TeeWheelScrollFraction);
                const double f = up ? factor : 1 / factor;
                if (std::isfinite(hi * f) && lo * f > 0)
                    a->SetFixedRange(lo * f, hi * f);
            }
            continue;
        }
        const double delta = (a->Maximum() - a->Minimum()) * TeeWheelScrollFraction;
        a->Scroll(up ? delta : -delta, false);
    }
    if (OnScroll)
        OnScroll(this);
}
