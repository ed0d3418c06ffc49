// Drawing of the series that join their points: the shadow and outline passes, and each
// value as a segment from the previous point followed by the previous point's symbol.
#include "Series/LineSeries.h"

#include "Series/ColumnPolyline.h"
#include "TeCanvas/Helpers.h"
#include "graphics/Bitmap.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <memory>
#include <optional>

// ---- the plain line drawn as a reduced polyline ------------------------------------------

bool TCustomLineSeries::PlainLinePen() const
{
    const TChartPen* pen = LinePen();
    return pen->Visible() && pen->Style() == psSolid && pen->Width() <= 1 && pen->Mode() == pmCopy &&
           !pen->SmallDots() && !pen->IsExtended();
}

bool TCustomLineSeries::LinearAxisMaps(TAxisLinearMap& X, TAxisLinearMap& Y) const
{
    const TChartAxis* h = GetHorizAxis();
    const TChartAxis* v = GetVertAxis();
    return h != nullptr && v != nullptr && h->LinearMap(true, X) && v->LinearMap(false, Y);
}

void TCustomLineSeries::DrawPolylinePieces(const TColumnPolyline& Line)
{
    TTeeCanvas3D* canvas = ParentChart()->Canvas();
    const std::vector<TPoint>& points = Line.Points();
    for (const TColumnPolyline::Piece& piece : Line.Pieces())
        if (piece.End - piece.Begin >= 2)
            canvas->Polyline(points.data() + piece.Begin, int(piece.End - piece.Begin) - 1);
}

// ---- values one by one --------------------------------------------------------------------

TColor TCustomSeries::ValueColor(int Index) const
{
    const TColor c = TCustomLineSeries::ValueColor(Index);
    return FPassColor != clNone && c != clNone ? FPassColor : c;
}

void TCustomSeries::StartDrawing()
{
    FHasPrevious = false;
    FOldColor = clNone;
    FOldIndex = -1;
}

void TCustomSeries::FireBeforeDrawValues()
{
    StartDrawing();
    TCustomLineSeries::FireBeforeDrawValues();
}

void TCustomSeries::DrawAllValues()
{
    StartDrawing();
    if (!DrawReducedLine() && !DrawStampedPointers() && !DrawReducedArea())
        TCustomLineSeries::DrawVisiblePoints();
}

bool TCustomSeries::DrawReducedArea()
{
    TCustomAxisPanel* chart = ParentChart();
    TTeeCanvas3D* canvas = chart->Canvas();
    const TChartPen* areaPen = AreaLinesPen();
    const bool linePen = LinePen()->Visible();
    if (!canvas->Shortcuts() || !FDrawArea || !AreaSegmentsArePlain() || FPointer->Visible() || !YMandatory() ||
        (linePen && !PlainLinePen()) || canvas->GetMonochrome() || canvas->ReferenceCanvas() == nullptr)
        return false;
    const int first = FirstValueIndex();
    const int last = LastValueIndex();
    if (first < 0 || last < first)
        return true;
    // Where the plain drawing starts: at the value before the first visible one.
    const int from = first > 0 ? first - 1 : first;
    const bool forward = PointOrderForward();
    if (!forward)
        return false;
    // One colour for every value, none of them null: without colours of their own and
    // without a palette they all take the series' (or the pass') colour.
    const TColor color = ValueColor(from);
    if (color == clNone)
        return false;
    if (Colors() != nullptr || ColorEachPoint())
        for (int t = from; t <= last; ++t)
            if (ValueColor(t) != color)
                return false;
    const TColor areaLines = areaPen->Color() == clDefault || !areaPen->Visible() ? color : areaPen->Color();
    const TColor lineColor = LinePen()->Color();

    // The segments along one column, from the last back: each inks the part of its span
    // that the later ones left (the segments' spans always join up, so what is inked
    // stays one run of rows).
    struct Span {
        int Top, Bottom;
        bool Line;
    };
    std::vector<Span> spans;
    const auto drawColumn = [&](int x, int begin, int end, const std::vector<int>& ys, const std::vector<int>& origins) {
        // Segments begin+1..end join points begin..end, all on column x.
        spans.clear();
        bool any = false;
        int lo = 0, hi = 0;
        const auto ink = [&](int top, int bottom, bool line) {
            if (!any) {
                spans.push_back({top, bottom, line});
                any = true;
                lo = top, hi = bottom;
                return;
            }
            if (top < lo)
                spans.push_back({top, lo - 1, line});
            if (bottom > hi)
                spans.push_back({hi + 1, bottom, line});
            lo = std::min(lo, top), hi = std::max(hi, bottom);
        };
        for (int k = end; k > begin; --k) {
            const int y0 = ys[size_t(k - 1)], y1 = ys[size_t(k)];
            if (y0 == y1)
                continue;   // the same pixel twice draws nothing
            if (linePen) {   // from y0 to just before y1
                const int step = y1 > y0 ? 1 : -1;
                ink(std::min(y0, y1 - step), std::max(y0, y1 - step), true);
            }
            if (areaPen->Visible())
                ink(std::min({y0, y1, origins[size_t(k - 1)], origins[size_t(k)]}),
                    std::max({y0, y1, origins[size_t(k - 1)], origins[size_t(k)]}), false);
        }
        if (any)
            AreaBandsOverdrawn(x, lo, hi);
        TCanvas* c = canvas->ReferenceCanvas();
        c->Brush()->SetStyle(bsSolid);
        for (const Span& s : spans) {
            if (!s.Line && s.Bottom == hi && HoldAreaColumn(x, s.Top, s.Bottom, areaLines))
                continue;
            c->Brush()->SetColor(s.Line ? lineColor : areaLines);
            c->FillRect(TRect(x, s.Top, x + 1, s.Bottom + 1));
        }
    };

    // The points' pixels, then the segments in order: those between columns drawn as they
    // are, the runs within one column as their spans.
    const int n = last - from + 1;
    std::vector<int> xs(static_cast<size_t>(n)), ys(xs.size()), origins(xs.size());
    TAxisLinearMap mx, my;
    if (!IsStacked() && LinearAxisMaps(mx, my)) {
        // Unstacked on linear axes: the positions straight from the values, and one origin
        // (the axis end or the fixed origin) for all of them.
        const double* xv = XValues()->Data() + from;
        const double* yv = YValues()->Data() + from;
        const int origin = PointOriginValue(from);
        if (mx.Plain() && my.Plain())
            for (size_t k = 0; k < size_t(n); ++k) {
                xs[k] = mx.Clamped(xv[k]);
                ys[k] = my.Clamped(yv[k]);
            }
        else
            for (size_t k = 0; k < size_t(n); ++k) {
                xs[k] = mx(xv[k]);
                ys[k] = my(yv[k]);
            }
        std::fill(origins.begin(), origins.end(), origin);
    } else
        for (int k = 0; k < n; ++k) {
            xs[size_t(k)] = PointScreenX(from + k);
            ys[size_t(k)] = PointScreenY(from + k);
            origins[size_t(k)] = PointOriginValue(from + k);
        }
    HoldAreaBands(true);
    for (int k = 1; k < n;) {
        if (xs[size_t(k)] != xs[size_t(k - 1)]) {
            DrawAreaSegment(xs[size_t(k - 1)], ys[size_t(k - 1)], origins[size_t(k - 1)], xs[size_t(k)],
                            ys[size_t(k)], origins[size_t(k)], color, from + k == last);
            ++k;
            continue;
        }
        int end = k;
        while (end + 1 < n && xs[size_t(end + 1)] == xs[size_t(k)])
            ++end;
        drawColumn(xs[size_t(k)], k - 1, end, ys, origins);
        k = end + 1;
    }
    HoldAreaBands(false);
    return true;
}

bool TCustomSeries::DrawStampedPointers()
{
    TCustomAxisPanel* chart = ParentChart();
    TTeeCanvas3D* surface = chart->Canvas();
    TCanvas* target = surface->ReferenceCanvas();
    const TSeriesPointer* pointer = FPointer.get();
    const TChartPen* pen = pointer->Pen();
    const TChartBrush* brush = pointer->Brush();
    // A stamp is the same picture wherever it lands: whole pixels copied, no pattern that
    // follows the canvas origin, no blending.
    const bool plainPen = !pen->Visible() || (pen->Style() == psSolid && pen->Width() <= 1 && pen->Mode() == pmCopy &&
                                              !pen->SmallDots() && !pen->IsExtended());
    const bool plainBrush = (brush->Style() == bsSolid || brush->Style() == bsClear) && !brush->HasImage();
    constexpr int largest = 64;   // half size; larger symbols are few and drawn as they are
    if (!surface->Shortcuts() || !ValuesAreSymbols() || FDrawLine || FDrawArea || chart->View3D() ||
        !pointer->Visible() || OnGetPointerStyle || pointer->Transparency() > 0 || pointer->Gradient()->Visible() ||
        !plainPen || !plainBrush || pointer->HorizSize() > largest || pointer->VertSize() > largest ||
        target == nullptr || !target->CanStamp() || surface->GetMonochrome())
        return false;
    const int first = FirstValueIndex();
    const int last = LastValueIndex();
    if (first < 0 || last < first)
        return true;
    // One colour for every drawn value (a null, clNone, is not drawn).
    TColor color = clNone;
    bool nulls = false;
    for (int t = first; t <= last; ++t) {
        const TColor c = ValueColor(t);
        nulls = nulls || c == clNone;
        if (c == clNone || c == color)
            continue;
        if (color != clNone)
            return false;
        color = c;
    }
    if (color == clNone)
        return true;

    // The symbol drawn over black and over white, around its hot spot, with room for the
    // pixels a symbol draws past its size; it must stay inside that room.
    const int h = std::max(pointer->HorizSize(), 0), v = std::max(pointer->VertSize(), 0);
    const int hotX = h + 3, hotY = v + 3;
    const int w = 2 * hotX + 1, ht = 2 * hotY + 1;
    TBitmap onBlack(w, ht), onWhite(w, ht);
    TTeeCanvas3D scratch;
    const auto drawOn = [&](TBitmap& b, TColor background) {
        b.Canvas()->Brush()->SetColor(background);
        b.Canvas()->FillRect(TRect(0, 0, w, ht));
        AttachCanvasToSurface(&scratch, b.Canvas());
        scratch.Pen()->SetColor(clBlack);
        FPointer->PrepareCanvas(&scratch, color);
        FPointer->DrawPointer(&scratch, false, hotX, hotY, pointer->HorizSize(), pointer->VertSize(), color,
                              pointer->Style());
        AttachCanvasToSurface(&scratch, nullptr);
        b.Canvas()->Flush();
    };
    drawOn(onBlack, clBlack);
    drawOn(onWhite, clWhite);
    for (int y = 0; y < ht; ++y)
        for (int x = 0; x < w; ++x)
            if (x == 0 || y == 0 || x == w - 1 || y == ht - 1) {
                const TRGBQuad a = onBlack.ScanLine(y)[x], b = onWhite.ScanLine(y)[x];
                if (a.rgbRed == b.rgbRed && a.rgbGreen == b.rgbGreen && a.rgbBlue == b.rgbBlue)
                    return false;   // drawn on the edge of the room: it may reach further
            }

    // Of two symbols on one place only the later shows, so a place on the device is stamped
    // for the last point drawn there alone, in drawing order: a first pass notes in each
    // device pixel the low byte of its last point's number, the second stamps a point whose
    // byte is still there. Where two numbers share their low byte the earlier symbol is
    // stamped too and covered by the later one, which costs a stamp and changes no pixel.
    // Places off the device are all stamped. Nothing here grows with the points.
    TAxisLinearMap mx, my;
    const bool linear = !IsStacked() && LinearAxisMaps(mx, my);
    const double* xv = XValues()->Data();
    const double* yv = YValues()->Data();
    const auto placeOf = [&](int t) {
        return linear ? TPoint(mx(xv[t]), my(yv[t])) : TPoint(PointScreenX(t), PointScreenY(t));
    };
    const TSize device = target->DeviceSize();
    const size_t cx = size_t(std::max(device.cx, 0)), cy = size_t(std::max(device.cy, 0));
    const auto pixelOf = [&](const TPoint& p) {
        return p.X >= 0 && p.Y >= 0 && size_t(p.X) < cx && size_t(p.Y) < cy ? size_t(p.Y) * cx + size_t(p.X)
                                                                             : SIZE_MAX;
    };
    // Read only where the first pass wrote.
    const auto lastAt = std::make_unique_for_overwrite<uint8_t[]>(cx * cy);
    const bool forward = PointOrderForward();
    const auto inDrawingOrder = [&](const auto& each) {
        for (int k = 0; k <= last - first; ++k)
            if (const int t = forward ? first + k : last - k; !nulls || ValueColor(t) != clNone)
                each(uint8_t(k), placeOf(t));
    };
    inDrawingOrder([&](uint8_t k, const TPoint& p) {
        if (const size_t pixel = pixelOf(p); pixel != SIZE_MAX)
            lastAt[pixel] = k;
    });
    const TCanvas::TStampRuns runs = TCanvas::StampRunsOf(*onBlack.Canvas(), *onWhite.Canvas(), hotX, hotY);
    inDrawingOrder([&](uint8_t k, const TPoint& p) {
        if (const size_t pixel = pixelOf(p); pixel == SIZE_MAX || lastAt[pixel] == k)
            target->Stamp(runs, p.X, p.Y);
    });
    // The canvas is left as the last symbol would leave it.
    if (surface->Pen()->Color() != clBlack)
        surface->Pen()->SetColor(clBlack);
    FPointer->PrepareCanvas(surface, color);
    return true;
}

void TCustomSeries::DrawVisiblePoints()
{
    TCustomAxisPanel* chart = ParentChart();
    if (chart == nullptr || chart->Canvas()->ReferenceCanvas() == nullptr)
        return;
    // Shadow: the whole series once more in the shadow colour, moved by the shadow's
    // offsets, without symbols.
    if (FShadow->HorizSize() != 0 || FShadow->VertSize() != 0) {
        TChartAxis* h = GetHorizAxis();
        TChartAxis* v = GetVertAxis();
        const bool pointerVisible = FPointer->Visible();
        const bool oldRepaint = chart->AutoRepaint();
        chart->SetAutoRepaint(false);
        FPassColor = FShadow->Color();
        FPointer->SetVisible(false);
        {
            // The axes convert by copies of their maps moved by the offsets for this pass.
            std::optional<TAxisMapOverride> shiftH, shiftV;
            if (h != nullptr)
                shiftH.emplace(h, h->Map().Shifted(FShadow->HorizSize()));
            if (v != nullptr)
                shiftV.emplace(v, v->Map().Shifted(FShadow->VertSize()));
            DrawAllValues();
        }
        FPointer->SetVisible(pointerVisible);
        FPassColor = clNone;
        chart->SetAutoRepaint(oldRepaint);
    }
    // Outline: a wider line under the series' own, in the outline's colour.
    if (FOutLine->Visible()) {
        const bool oldRepaint = chart->AutoRepaint();
        chart->SetAutoRepaint(false);
        TChartPen saved;
        saved.Assign(LinePen());
        LinePen()->Assign(FOutLine.get());
        FPassColor = FOutLine->Color();
        LinePen()->SetWidth(2 * saved.Width() + FOutLine->Width() + 1);
        DrawAllValues();
        LinePen()->Assign(&saved);
        // The series keeps its own colour (the pass colour only lives for the pass).
        FPassColor = clNone;
        chart->SetAutoRepaint(oldRepaint);
    }
    DrawAllValues();
}

void TCustomSeries::DrawPointerOf(int ValueIndex, int X, int Y, TColor Color)
{
    if (!FPointer->Visible())
        return;
    BeforeDrawPointer(ValueIndex);
    // The pointer starts from a black pen; set here only, so that a line without
    // pointers keeps its pen from segment to segment.
    TTeeCanvas3D* canvas = ParentChart()->Canvas();
    if (canvas->Pen()->Color() != clBlack)
        canvas->Pen()->SetColor(clBlack);
    const TSeriesPointerStyle style = OnGetPointerStyle ? OnGetPointerStyle(this, ValueIndex) : FPointer->Style();
    FPointer->PrepareCanvas(canvas, Color);
    FPointer->Draw(X, Y, Color, style);
}

TColor TCustomSeries::SegmentBrushColor(TColor Color) const
{
    if (FDrawArea) {
        if (FAreaColor != clDefault && !ColorEachPoint())
            return FAreaColor;
        return Color;
    }
    return FColorEachLine ? Color : PassSeriesColor();
}

void TCustomSeries::DrawSegment(int X, int Y, TColor Color, bool IsLast)
{
    if ((FOldX == X && FOldY == Y) || Color == clNone)
        return;
    TCustomAxisPanel* chart = ParentChart();
    TTeeCanvas3D* canvas = chart->Canvas();
    const bool view3D = chart->View3D();
    if (view3D && (FDrawArea || FDrawLine)) {
        canvas->AssignPen(LinePen(), LinePen()->Color());
        TColor brushColor = SegmentBrushColor(Color);
        AssignBrushToCanvas(canvas, Brush(), brushColor, brushColor);
        const int z0 = StartZ();
        const int z1 = EndZ();
        const auto shade = [&](TColor c) {
            if (canvas->GetMonochrome())
                canvas->Brush()->SetColor(clWhite);
            else
                ShadeBrushColor(canvas, c, TeeDarkenAmount);
        };
        if (!FStairs) {
            const TPoint p(FOldX, FOldY);
            const TPoint q(X, Y);
            if (FLineHeight > 0 && !FDrawArea) {
                const TPoint front[4] = {p, q, TPoint(X, Y + FLineHeight), TPoint(FOldX, FOldY + FLineHeight)};
                canvas->PlaneOfFourPoints(front, z0);
                if (IsLast)
                    canvas->RectangleAtConstantX(X, Y, Y + FLineHeight, z0, z1);
            }
            if (FDark3D && !canvas->IsTrue3D() && X != FOldX && FSlopeLimit != 0 &&
                FSlopeLimit < double(FOldY - Y) / double(X - FOldX))
                shade(brushColor);
            else if (canvas->GetMonochrome())
                canvas->Brush()->SetColor(clWhite);
            canvas->PlaneBetweenDepths(p, q, z0, z1);
        } else {
            // A horizontal series exchanges the roles of X and Y.
            const bool vertical = YMandatory();
            const auto acrossFace = [&](int at, int from, int to) {   // across the value axis
                if (vertical)
                    canvas->RectangleAtConstantX(at, from, to, z0, z1);
                else
                    canvas->RectangleAtConstantY(from, at, to, z0, z1);
            };
            const auto alongFace = [&](int at, int from, int to) {    // along the value axis
                if (FDark3D)
                    shade(brushColor);
                if (vertical)
                    canvas->RectangleAtConstantY(from, at, to, z0, z1);
                else
                    canvas->RectangleAtConstantX(at, from, to, z0, z1);
            };
            const int newA = vertical ? X : Y, oldA = vertical ? FOldX : FOldY;
            const int newB = vertical ? Y : X, oldB = vertical ? FOldY : FOldX;
            if (!FInvertedStairs) {
                acrossFace(newA, oldB, newB);
                alongFace(oldB, oldA, newA);
            } else {
                alongFace(newB, oldA, newA);
                AssignBrushToCanvas(canvas, Brush(), brushColor, brushColor);
                acrossFace(oldA, oldB, newB);
            }
        }
    } else if (!FDrawArea && FDrawLine) {
        const TColor lineColor = ColorEachPoint() && FColorEachLine ? Color : PassSeriesColor();
        canvas->AssignPen(LinePen(), lineColor);
        canvas->Brush()->SetStyle(bsClear);
        canvas->MoveTo(FOldX, FOldY);
        if (FStairs) {
            if (FInvertedStairs)
                canvas->LineTo(FOldX, Y);
            else
                canvas->LineTo(X, FOldY);
        }
        canvas->LineTo(X, Y);
    }
    if (FDrawArea)
        DrawAreaSegment(FOldX, FOldY, FOldOrigin, X, Y, FOrigin, Color, IsLast);
}

int TCustomSeries::EdgeEntryY(int Before, int Index, int EdgeX, int Y) const
{
    // Interpolated in value space (in logarithms on a logarithmic axis) at the edge's value.
    const TChartAxis* h = GetHorizAxis();
    const double x0 = XValue(Before);
    const double x1 = XValue(Index);
    if (x1 == x0 || h == nullptr)
        return Y;
    const double f = (h->ValueAtPixel(EdgeX) - x0) / (x1 - x0);
    const double y0 = YValue(Before);
    const double y1 = YValue(Index);
    const TChartAxis* v = GetVertAxis();
    double yv;
    if (v != nullptr && v->Logarithmic() && y0 > 0 && y1 > 0)
        yv = std::exp(std::log(y0) + (std::log(y1) - std::log(y0)) * f);
    else
        yv = y0 + (y1 - y0) * f;
    return ValueToScreenY(yv);
}

bool TCustomSeries::DrawReducedLine()
{
    TCustomAxisPanel* chart = ParentChart();
    if (chart->View3D() || !FDrawLine || FDrawArea || FStairs || IsStacked() || FPointer->Visible() ||
        !YMandatory() || !PointOrderForward() || (ColorEachPoint() && FColorEachLine) || !PlainLinePen())
        return false;
    const TColor lineColor = PassSeriesColor();
    if (!ColorEachPoint() && SeriesColor() == clNone)
        return false;
    TAxisLinearMap mx, my;
    if (!LinearAxisMaps(mx, my))
        return false;
    const int first = FirstValueIndex();
    const int last = LastValueIndex();
    if (first < 0 || last < first)
        return true;
    // A value is null when its own colour is clNone (the series colour is not).
    const std::vector<TColor>* colors = Colors();
    const int colored = colors != nullptr ? std::min(int(colors->size()), last + 1) : 0;
    const auto isNull = [&](int i) { return i < colored && (*colors)[size_t(i)] == clNone; };
    const double* xs = XValues()->Data();
    const double* ys = YValues()->Data();
    TColumnPolyline line;
    int x = mx(xs[first]);
    int y = my(ys[first]);
    if (first > 0 && !isNull(first - 1) && !isNull(first)) {
        // The point before lies off the axis: the line comes in from the chart's edge.
        const int edgeX = chart->ChartRect.Left;
        line.Add(edgeX, EdgeEntryY(first - 1, first, edgeX, y));
    }
    line.Add(x, y);
    // The segment that ends at a null is left out; the line goes on from its pixel.
    if (colored == 0)
        AddMappedPoints(line, xs, ys, first + 1, last, mx, my, [](int) { return true; });
    else
        AddMappedPoints(line, xs, ys, first + 1, last, mx, my, [&](int t) { return !isNull(t); });
    line.Finish();
    TTeeCanvas3D* canvas = chart->Canvas();
    canvas->AssignPen(LinePen(), lineColor);
    canvas->Brush()->SetStyle(bsClear);
    DrawPolylinePieces(line);
    return true;
}

void TCustomSeries::DrawValue(int ValueIndex)
{
    TCustomAxisPanel* chart = ParentChart();
    if (chart == nullptr)
        return;
    TTeeCanvas3D* canvas = chart->Canvas();
    const TColor c = ValueColor(ValueIndex);
    const int x = PointScreenX(ValueIndex);
    const int y = PointScreenY(ValueIndex);
    if (canvas->Brush()->Color() != c)
        canvas->Brush()->SetColor(c);
    if (!FHasPrevious) {
        FOldX = x;
        FOldY = y;
    }
    FOrigin = PointOriginValue(ValueIndex);
    const bool forward = PointOrderForward();
    const bool isLast = ValueIndex == (forward ? LastValueIndex() : FirstValueIndex());
    const bool isFirst = !FHasPrevious;
    if (isFirst) {
        if (FDark3D) {
            FSlopeLimit = chart->SeriesWidth3D == 0
                              ? 1
                              : std::fabs(double(chart->SeriesHeight3D) / double(chart->SeriesWidth3D));
        }
        FOldOrigin = FOrigin;
        if (ValueIndex == FirstValueIndex() && ValueIndex > 0) {
            // The point before lies off the axis: the line comes in from the chart's edge.
            const int before = ValueIndex - 1;
            if (FDrawArea) {
                FOldX = PointScreenX(before);
                FOldY = PointScreenY(before);
                FOldOrigin = PointOriginValue(before);
            } else {
                TChartAxis* h = GetHorizAxis();
                FOldX = h != nullptr && h->Inverted() ? chart->ChartRect.Right : chart->ChartRect.Left;
                FOldY = FStairs ? PointScreenY(before) : EdgeEntryY(before, ValueIndex, FOldX, y);
            }
            if (!IsNull(before))
                DrawSegment(x, y, c, isLast);
        }
        if (isLast && c != clNone)
            DrawPointerOf(ValueIndex, x, y, c);
    } else {
        DrawSegment(x, y, c, isLast);
        // Symbols come one value late, so that the next segment does not cover them.
        if (FOldColor != clNone)
            DrawPointerOf(FOldIndex, FOldX, FOldY, FOldColor);
        if (isLast && c != clNone)
            DrawPointerOf(ValueIndex, x, y, c);
    }
    FHasPrevious = true;
    FOldIndex = ValueIndex;
    FOldX = x;
    FOldY = y;
    FOldOrigin = FOrigin;
    FOldColor = c;
}
