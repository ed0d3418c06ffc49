// The drawing side of an axis: the room it takes from the chart rectangle (line and
// ticks, labels, title) and the drawing of its title, labels, line, ticks and grids, in
// 2D or at the axis' depth on a 3D chart.
#include "TeEngine/Axis.h"

#include "TeEngine/AxisPanel.h"
#include "graphics/GdiConsts.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

namespace {

constexpr TTextAlign AlignLeft = TA_LEFT;
constexpr TTextAlign AlignRight = TA_RIGHT;
constexpr TTextAlign AlignCenter = TA_CENTER;
constexpr TTextAlign AlignCenterBottom = TA_CENTER | TA_BOTTOM;

constexpr double Pi = std::numbers::pi;

// A pixel coordinate kept within +-MaxPixelPos.
int ClampedPixelOf(double X)
{
    if (!(X <= MaxPixelPos))
        return MaxPixelPos;
    if (X < -MaxPixelPos)
        return -MaxPixelPos;
    return static_cast<int>(X);
}

// Integer sums that saturate instead of wrapping, for sizes taken from user settings.
int AddSat(long long A, long long B)
{
    return static_cast<int>(std::clamp<long long>(A + B, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

// The chart's wall size beside Axis: walls stand only on a 3D chart; their sizes are the
// chart's to answer.
int AxisWallSize(const TChartAxis& Axis)
{
    return Axis.ParentChart() != nullptr ? Axis.ParentChart()->GetAxisWallSize(&Axis) : 0;
}

// The chart draws its axes before the series unless told otherwise.
bool AxesBehind(const TChartAxis& Axis)
{
    return Axis.ParentChart() == nullptr || Axis.ParentChart()->AxisBehind();
}

// Line at (X, Y) aligned by Align, its exponent after an "E" smaller and raised.
void DrawExponentLine(TTeeCanvas3D* canvas, int Z, int X, int Y, TTextAlign Align, const std::string& Line)
{
    size_t e = std::string::npos;
    for (size_t i = 0; i < Line.size(); ++i)
        if (Line[i] == 'E' || Line[i] == 'e') {
            e = i;
            break;
        }
    if (e == std::string::npos) {
        canvas->TextOutAtDepth(X, Y, Z, Line);
        return;
    }
    const std::string mantissa = Line.substr(0, e);
    const std::string exponent = Line.substr(e + 1);
    TFont* font = canvas->Font();
    const int H = canvas->TextHeight("W") - 1;
    const int S = font->Size();
    const int small = S - S / 4;
    const int ey = Y - H / 2 + 2;
    const int mantissaWidth = canvas->TextWidth(mantissa);
    font->SetSize(small);
    const int exponentWidth = canvas->TextWidth(exponent);
    font->SetSize(S);
    const TTextAlignFlag horz = HorzAlign(Align);
    if (horz == TA_CENTER) {
        // Both parts left-aligned from the start of the whole, so that they centre on X
        // together instead of overlapping.
        const TTextAlign saved = canvas->GetTextAlign();
        canvas->SetTextAlign(TA_LEFT | VertAlign(Align));
        const int start = X - (mantissaWidth + 1 + exponentWidth) / 2;
        canvas->TextOutAtDepth(start, Y, Z, mantissa);
        font->SetSize(small);
        canvas->TextOutAtDepth(start + mantissaWidth + 1, ey, Z, exponent);
        font->SetSize(S);
        canvas->SetTextAlign(saved);
        return;
    }
    if (horz == TA_LEFT) {
        canvas->TextOutAtDepth(X, Y, Z, mantissa);
        font->SetSize(small);
        canvas->TextOutAtDepth(X + mantissaWidth + 1, ey, Z, exponent);
        font->SetSize(S);
        return;
    }
    font->SetSize(small);
    canvas->TextOutAtDepth(X, ey, Z, exponent);
    font->SetSize(S);
    canvas->TextOutAtDepth(X - (exponentWidth + 1), Y, Z, mantissa);
}

// ---- the painter -----------------------------------------------------------------------

// One drawing of an axis' title, labels (as the label loops place them), line, ticks and
// grids. It reads the axis' settings as values, converts by Map and draws at the depth ZPos.
class TAxisPainter {
public:
    // Alternating labels start on the first row for a horizontal axis.
    TAxisPainter(TChartAxis& Axis, const TAxisScaleMap& Map, int ZPos)
        : A(Axis),
          Chart(Axis.ParentChart()),
          Canvas(Axis.ParentChart()->Canvas()),
          Map(Map),
          ZPos(ZPos),
          Labels(Axis.LabelSettings()),
          Place(Axis.Placement()),
          AlternateFirstRow(Axis.Horizontal())
    {
    }
    void Title(int X, int Y);
    void Label(int P, const std::string& Text, TAxisItem* Format);
    void TicksAndGrids();

private:
    // Draws Text at (X, Y) as a label turned by Angle, framed by Format, its exponents
    // raised when Exponent.
    void TextAt(int X, int Y, int Angle, const std::string& Text, TTeeCustomShape* Format, bool Exponent);
    // Ticks at Positions, D pixels out from the axis line and Length long.
    void TickSet(const std::vector<int>& Positions, int D, int Length);
    void GridLine(int P, bool Behind);
    // The minor marks between, before and after the ticks.
    std::vector<int> MinorPositions() const;

    TChartAxis& A;
    TCustomAxisPanel* Chart;
    TTeeCanvas3D* Canvas;
    const TAxisScaleMap& Map;
    const int ZPos;
    const TAxisLabelSettings& Labels;
    const TAxisPlacement& Place;
    // Chooses the row of the next alternating label; toggles per label.
    bool AlternateFirstRow;
};

// Pixels a text takes across Axis: FixedSize when not 0, else its width or the height of
// "W" by the angle; an empty Text measures the widest label.
int SizeOfText(TChartAxis& Axis, TTeeFont* Font, int Angle, int FixedSize, const std::string& Text)
{
    if (FixedSize != 0)
        return FixedSize;
    TCustomAxisPanel* chart = Axis.ParentChart();
    if (chart == nullptr)
        return 0;
    TTeeCanvas3D* canvas = chart->Canvas();
    canvas->ApplyFont(Font);
    const bool alongText = Axis.Horizontal() ? (Angle != 0 && Angle != 180) : (Angle != 90 && Angle != 270);
    if (!alongText)
        return canvas->TextHeight("W");
    if (Text.empty())
        return Axis.MaxLabelsWidth();
    int lines = 0;
    return MultiLineTextWidth(chart, Text, lines);
}

}  // namespace

// ---- sizing ---------------------------------------------------------------------------

int TChartAxis::SizeTickAxis() const
{
    long long result = FAxis->Visible() ? FAxis->Width() + 1 : 0;
    if (FTicks->Visible())
        result += FTickSettings.Length;
    if (FMinorTicks->Visible())
        result = std::max<long long>(result, FTickSettings.MinorLength);
    return AddSat(result, 0);
}

int TChartAxis::SizeLabels()
{
    const int size = SizeOfText(*this, LabelsFont(), FLabelSettings.Angle, FLabelSettings.Size, "");
    return FLabelSettings.Alternate ? AddSat(size, size) : size;
}

int TChartAxis::OutwardPos(int P, int Size) const
{
    // Away from the chart: down or up for horizontal axes, left or right for vertical.
    const bool plus = FPlace.Horizontal ? !FPlace.OtherSide : FPlace.OtherSide;
    return AddSat(P, plus ? static_cast<long long>(Size) : -static_cast<long long>(Size));
}

void TChartAxis::CalcRect(TRect& R, bool Inflate)
{
    // An axis the chart does not show takes no room.
    if (FParentChart == nullptr || !FParentChart->IsAxisVisible(this))
        return;
    if (!Inflate) {
        PosAxis = ApplyPosition(SideCoordinate(R), R);
        PosLabels = OutwardPos(PosAxis, SizeTickAxis());
        PosTitle = OutwardPos(PosLabels, SizeLabels());
        return;
    }
    // Cuts a band from R's side of the axis and answers the new side coordinate.
    auto cut = [&](int Size) -> int {
        if (FPlace.Horizontal) {
            if (FPlace.OtherSide)
                return R.Top = AddSat(R.Top, Size);
            return R.Bottom = AddSat(R.Bottom, -static_cast<long long>(Size));
        }
        if (FPlace.OtherSide)
            return R.Right = AddSat(R.Right, -static_cast<long long>(Size));
        return R.Left = AddSat(R.Left, Size);
    };
    if (!FPlace.IsDepthAxis && FTitle->Visible() && !FTitle->Caption().empty())
        PosTitle = cut(SizeOfText(*this, FTitle->Font(), FTitle->Angle(), FPlace.TitleSize, FTitle->Caption()));
    if (Labels())
        PosLabels = cut(SizeLabels());
    const int band = AddSat(AxisWallSize(*this), SizeTickAxis());
    if (band > 0)
        cut(band);
    PosTitle = ApplyPosition(PosTitle, R);
    PosLabels = ApplyPosition(PosLabels, R);
}

// ---- drawing --------------------------------------------------------------------------

void TChartAxis::DrawAxis(bool CalcPosAxis)
{
    if (FParentChart == nullptr || !FParentChart->IsAxisVisible(this))
        return;
    if (CalcPosAxis)
        PosAxis = ApplyPosition(SideCoordinate(FParentChart->ChartRect), FParentChart->ChartRect);
    TAxisPainter painter(*this, FMap, IZPos);
    if (FTitle->Visible() && !FTitle->Caption().empty()) {
        if (FPlace.IsDepthAxis)
            painter.Title(PosTitle, DepthAxisPos());
        else if (FPlace.Horizontal)
            painter.Title(FMap.CenterPos, PosTitle);
        else
            painter.Title(PosTitle, FMap.CenterPos);
    }
    // The label loops record every tick position themselves.
    CalcLabels([&](int P, const std::string& Text, TAxisItem* Format) { painter.Label(P, Text, Format); });
    painter.TicksAndGrids();
}

void TAxisPainter::Title(int X, int Y)
{
    TChartAxisTitle* title = A.Title();
    Canvas->ApplyFont(title->Font());
    Canvas->SetBackMode(TRANSPARENT);
    if (A.IsDepthAxis()) {
        const TTextAlign saved = Canvas->GetTextAlign();
        Canvas->SetTextAlign(Place.OtherSide ? AlignLeft : AlignRight);
        Canvas->TextOutAtDepth(X, Y, Chart->Width3D / 2, title->Caption());
        Canvas->SetTextAlign(saved);
        return;
    }
    // A title is drawn as a label, without the raised exponents of the value labels.
    TextAt(X, Y, title->Angle(), title->Caption(), title, false);
}

void TAxisPainter::TextAt(int X, int Y, int Angle, const std::string& Text, TTeeCustomShape* Format, bool Exponent)
{
    TTeeCanvas3D* canvas = Canvas;
    if (Format == nullptr)
        Format = A.Items()->Format();
    Angle %= 360;
    if (Angle < 0)
        Angle += 360;
    const bool o = Place.OtherSide;
    canvas->ApplyFont(Format->Font());
    const int height = canvas->TextHeight("W");
    const int h = height / 2;

    // Alignment and offset by angle.
    auto align0 = [&](bool other) -> TTextAlign {
        if (Place.Horizontal)
            return other ? AlignCenterBottom : AlignCenter;
        return other ? AlignLeft : AlignRight;
    };
    TTextAlign align = AlignLeft;
    switch (Angle) {
    case 0:
        if (!Place.Horizontal && Labels.Align == alOpposite) {
            const int size = A.SizeLabels();
            align = o ? AlignRight : AlignLeft;
            X = AddSat(X, o ? static_cast<long long>(size) : -static_cast<long long>(size));
        } else {
            align = align0(o);
        }
        if (!Place.Horizontal)
            Y -= h;
        canvas->ApplyFont(Format->Font());
        break;
    case 180:
        if (!Place.Horizontal && Labels.Align == alOpposite) {
            const int size = A.SizeLabels();
            align = !o ? AlignRight : AlignLeft;
            X = AddSat(X, !o ? static_cast<long long>(size) : -static_cast<long long>(size));
        } else {
            align = align0(!o);
        }
        if (!Place.Horizontal)
            Y += h;
        canvas->ApplyFont(Format->Font());
        break;
    case 90:
        if (Place.Horizontal) {
            align = o ? AlignLeft : AlignRight;
            X -= h;
        } else {
            align = o ? AlignCenter : AlignCenterBottom;
        }
        break;
    case 270:
        if (Place.Horizontal) {
            align = o ? AlignRight : AlignLeft;
            X += h;
        } else {
            align = o ? AlignCenterBottom : AlignCenter;
        }
        break;
    default:
        align = AlignLeft;
        break;
    }

    std::string text = Text;
    // The label event sees the place and text first, so that a suppressed label gets no
    // frame and a changed text gets a frame that fits it.
    if (A.OnDrawLabel) {
        bool drawLabel = true;
        A.OnDrawLabel(&A, X, Y, ZPos, text, drawLabel);
        if (!drawLabel)
            return;
    }
    if (Angle == 45 && Place.Horizontal && !o) {
        // Moved back along its direction so that the text ends at the axis.
        const double shift = canvas->TextWidth(text) * std::sin(Pi / 4);
        X = static_cast<int>(std::lround(X - shift));
        Y = static_cast<int>(std::lround(Y + shift));
    }

    // Start point of the first line: a single line stands at the position itself, more
    // lines grow away from the axis or centre on the position.
    const std::vector<std::string> lines = SplitTextLines(text);
    const int n = CountLabelLines(text);
    const int L = (Angle == 180 || Angle == 270) ? -height : height;
    const int T = static_cast<int>(std::lround(static_cast<double>(L) * n));
    const int M = static_cast<int>(std::nearbyint(L * 0.5 * (n + 1)));
    const bool alongY = Angle != 90 && Angle != 270;
    const bool straight = Angle == 0 || Angle == 180 || Angle == 90 || Angle == 270;
    if (Place.Horizontal) {
        if (Angle == 0)
            Y -= o ? T : L;
        else if (Angle == 180)
            Y -= o ? L : T;
        else if (Angle == 90 || Angle == 270)
            X -= M;
    } else {
        if (Angle == 0 || Angle == 180)
            Y -= M;
        else if (Angle == 90)
            X -= o ? L : T;
        else if (Angle == 270)
            X -= o ? T : L;
    }

    // The frame around the text block, turned with the text about the first line's anchor.
    if (!Format->Transparent() && n > 0) {
        int width = 0;
        for (const std::string& line : lines)
            width = std::max(width, canvas->TextWidth(line));
        // Text frame: x along the baseline from the anchor, y down the lines.
        double x0 = 0;
        if (HorzAlign(align) == TA_CENTER)
            x0 = -width / 2.0;
        else if (HorzAlign(align) == TA_RIGHT)
            x0 = -width;
        const double y0 = (align & TA_BOTTOM) ? -height : 0;
        const double cx = x0 + width / 2.0;
        const double cy = y0 + height * n / 2.0;
        // First line's anchor on the screen (straight angles advance one line first).
        const int ax = straight && !alongY ? X + L : X;
        const int ay = straight && alongY ? Y + L : Y;
        const double ang = Angle * Pi / 180;
        const double sx = ax + cx * std::cos(ang) + cy * std::sin(ang);
        const double sy = ay - cx * std::sin(ang) + cy * std::cos(ang);
        const int bw = width + 4;
        const int bh = height * n + 2;
        const int left = static_cast<int>(std::lround(sx - bw / 2.0));
        const int top = static_cast<int>(std::lround(sy - bh / 2.0));
        Format->DrawRectRotated(TRect(left, top, left + bw, top + bh), Angle, ZPos);
        if (canvas->Brush() != nullptr)
            canvas->Brush()->SetStyle(bsClear);
        canvas->ApplyFont(Format->Font());
    }

    // Text over the chart's background, never on a filled cell of its own.
    canvas->SetBackMode(TRANSPARENT);
    const TTextAlign saved = canvas->GetTextAlign();
    canvas->SetTextAlign(align);
    const double a = Angle * Pi / 180;
    for (size_t i = 0; i < lines.size(); ++i) {
        int x = X;
        int y = Y;
        const int step = static_cast<int>(i) + 1;
        if (straight) {
            // Each line one line height further, the first one included.
            if (alongY)
                y = AddSat(Y, static_cast<long long>(L) * step);
            else
                x = AddSat(X, static_cast<long long>(L) * step);
        } else {
            // A slanted label's further lines follow down the text's own direction.
            x = AddSat(X, std::lround(static_cast<double>(i) * height * std::sin(a)));
            y = AddSat(Y, std::lround(static_cast<double>(i) * height * std::cos(a)));
        }
        if (Angle == 0) {
            if (Exponent)
                DrawExponentLine(canvas, ZPos, x, y, align, lines[i]);
            else
                canvas->TextOutAtDepth(x, y, ZPos, lines[i]);
        } else {
            canvas->RotatedTextAtDepth(x, y, ZPos, Angle, lines[i]);
        }
    }
    canvas->SetTextAlign(saved);
}

void TAxisPainter::Label(int P, const std::string& Text, TAxisItem* Format)
{
    TTeeCanvas3D* canvas = Canvas;
    canvas->ApplyFont(Format != nullptr ? Format->Font() : A.LabelsFont());
    if (canvas->Brush() != nullptr)
        canvas->Brush()->SetStyle(bsClear);
    if (A.IsDepthAxis()) {
        canvas->SetBackMode(TRANSPARENT);
        const TTextAlign saved = canvas->GetTextAlign();
        canvas->SetTextAlign(Place.OtherSide ? AlignLeft : AlignRight);
        // Centred on the tick's height.
        const int y = A.DepthAxisPos() - canvas->TextHeight("W") / 2;
        const int x = Place.OtherSide ? A.PosLabels : A.PosLabels - 2 - canvas->TextWidth("W") / 2;
        canvas->TextOutAtDepth(x, y, P, Text);
        canvas->SetTextAlign(saved);
        return;
    }
    int row = A.PosLabels;
    if (Labels.Alternate) {
        if (!AlternateFirstRow) {
            if (Place.Horizontal) {
                const int h = canvas->TextHeight("W");
                row = Place.OtherSide ? A.PosLabels - h : A.PosLabels + h;
            } else {
                const int w = A.MaxLabelsWidth();
                canvas->ApplyFont(Format != nullptr ? Format->Font() : A.LabelsFont());
                row = Place.OtherSide ? A.PosLabels + w : A.PosLabels - w;
            }
        }
        AlternateFirstRow = !AlternateFirstRow;
    }
    if (Place.Horizontal)
        TextAt(P, row, Labels.Angle, Text, Format, Labels.Exponent);
    else
        TextAt(row, P, Labels.Angle, Text, Format, Labels.Exponent);
}

// ---- ticks and grids ------------------------------------------------------------------

void TAxisPainter::TickSet(const std::vector<int>& Positions, int D, int Length)
{
    TTeeCanvas3D* canvas = Canvas;
    const int w = AxisWallSize(A);
    const int z = ZPos;
    for (const int p : Positions) {
        if (A.IsDepthAxis()) {
            const int y = A.DepthAxisPos();
            const int x0 = Place.OtherSide ? A.PosAxis + D : A.PosAxis - D;
            const int x1 = Place.OtherSide ? x0 + Length : x0 - Length;
            canvas->LineAtDepth(x0, y, x1, y, p);
        } else if (Place.Horizontal) {
            const int y0 = Place.OtherSide ? A.PosAxis - D : A.PosAxis + w + D;
            const int y1 = Place.OtherSide ? y0 - Length : y0 + Length;
            canvas->LineAtDepth(p, y0, p, y1, z);
        } else {
            const int x0 = Place.OtherSide ? A.PosAxis + D : A.PosAxis - (w + D);
            const int x1 = Place.OtherSide ? x0 + Length : x0 - Length;
            canvas->LineAtDepth(x0, p, x1, p, z);
        }
    }
}

void TAxisPainter::GridLine(int P, bool Behind)
{
    TTeeCanvas3D* canvas = Canvas;
    const TRect& r = Chart->ChartRect;
    const int depth = Chart->Width3D;
    if (A.IsDepthAxis()) {
        // Across the floor and up the left wall at the depth of the position.
        canvas->LineAtDepth(r.Left, r.Bottom, r.Right, r.Bottom, P);
        canvas->LineAtDepth(r.Left, r.Top, r.Left, r.Bottom, P);
        return;
    }
    // Between the axis lines that frame the plot, not over them.
    auto across = [&](int z) {
        if (Place.Horizontal)
            canvas->LineAtDepth(P, r.Top + 1, P, r.Bottom - 1, z);
        else
            canvas->LineAtDepth(r.Left + 1, P, r.Right - 1, P, z);
    };
    if (!Chart->View3D()) {
        across(0);
        return;
    }
    if (!Behind) {
        across(0);
        return;
    }
    across(depth);
    const int z0 = static_cast<int>(std::lround(depth * A.Grid()->ZPosition() * 0.01));
    if (Place.Horizontal)
        canvas->DepthLine(P, Place.OtherSide ? r.Top : r.Bottom, z0, depth);
    else
        canvas->DepthLine(Place.OtherSide ? r.Right : r.Left, P, z0, depth);
}

std::vector<int> TAxisPainter::MinorPositions() const
{
    std::vector<int> result;
    if (A.Tick.empty() || A.TickSettings().MinorCount <= 0)
        return result;
    // More than one minor mark per pixel draws nothing new.
    const int count = std::min(A.TickSettings().MinorCount, std::max(1, std::abs(Map.AxisSize)));
    const double f = 1.0 / (A.TickSettings().MinorCount + 1.0);
    if (!A.StepSettings().Logarithmic) {
        if (A.Tick.size() < 2)
            return result;
        const double d = (static_cast<double>(A.Tick[1]) - A.Tick[0]) * f;
        const double first = A.Tick.front();
        const double last = A.Tick.back();
        for (int k = 1; k <= count; ++k) {
            result.push_back(ClampedPixelOf(first - std::nearbyint(k * d)));
            result.push_back(ClampedPixelOf(last + std::nearbyint(k * d)));
        }
        for (size_t t = 1; t < A.Tick.size(); ++t) {
            const double prev = A.Tick[t - 1];
            const double dd = (static_cast<double>(A.Tick[t]) - prev) * f;
            for (int k = 1; k <= count; ++k)
                result.push_back(ClampedPixelOf(prev + std::nearbyint(k * dd)));
        }
    } else {
        std::vector<double> values;
        auto addOnce = [&](double v) {
            if (std::find(values.begin(), values.end(), v) == values.end())
                values.push_back(v);
        };
        const double first = Map.ValueAtPixel(A.Tick.front());
        addOnce(first / A.StepSettings().LogarithmicBase);
        for (const int p : A.Tick)
            addOnce(Map.ValueAtPixel(p));
        addOnce(Map.ValueAtPixel(A.Tick.back()) * A.StepSettings().LogarithmicBase);
        for (const double v : values) {
            const double span = v * A.StepSettings().LogarithmicBase - v;
            for (int k = 1; k <= count; ++k) {
                const double m = v + k * span * f;
                if (m >= Map.Minimum && m <= Map.Maximum)
                    result.push_back(Map.CalcPos(m));
            }
        }
    }
    return result;
}

void TAxisPainter::TicksAndGrids()
{
    TTeeCanvas3D* canvas = Canvas;
    if (canvas->Brush() != nullptr)
        canvas->Brush()->SetStyle(bsClear);
    canvas->SetBackMode(TRANSPARENT);
    const int w = AxisWallSize(A);
    const bool behind = AxesBehind(A);

    if (A.Axis()->Visible()) {
        canvas->AssignPen(A.Axis(), A.Axis()->Color());
        if (A.IsDepthAxis()) {
            canvas->DepthLine(A.PosAxis, A.DepthAxisPos(), Map.StartPos, Map.EndPos);
        } else if (Place.Horizontal) {
            const int y = Place.OtherSide ? A.PosAxis : A.PosAxis + w;
            canvas->LineAtDepth(Map.StartPos, y, Map.EndPos + 1, y, ZPos);
        } else {
            const int x = Place.OtherSide ? A.PosAxis : A.PosAxis - w;
            canvas->LineAtDepth(x, Map.StartPos, x, Map.EndPos + 1, ZPos);
        }
    }
    if (A.Ticks()->Visible()) {
        canvas->AssignPen(A.Ticks(), A.Ticks()->Color());
        TickSet(A.Tick, 1, A.TickSettings().Length);
    }
    auto inside = [&](int p) { return p > std::min(Map.StartPos, Map.EndPos) && p < std::max(Map.StartPos, Map.EndPos); };
    if (A.Grid()->Visible()) {
        canvas->AssignPen(A.Grid(), A.Grid()->Color());
        if (A.Grid()->Centered()) {
            for (size_t t = 1; t < A.Tick.size(); ++t) {
                const int p = static_cast<int>(std::nearbyint((static_cast<double>(A.Tick[t - 1]) + A.Tick[t]) * 0.5));
                if (inside(p))
                    GridLine(p, behind);
            }
        } else {
            for (const int p : A.Tick)
                if (inside(p))
                    GridLine(p, behind);
        }
    }
    if (A.TicksInner()->Visible()) {
        canvas->AssignPen(A.TicksInner(), A.TicksInner()->Color());
        TickSet(A.Tick, -1, -A.TickSettings().InnerLength);
    }
    const bool minorTicks = A.MinorTicks()->Visible();
    const bool minorGrid = A.MinorGrid()->Visible();
    if (!A.Tick.empty() && (minorTicks || minorGrid)) {
        std::vector<int> minor = MinorPositions();
        minor.erase(std::remove_if(minor.begin(), minor.end(), [&](int p) { return !inside(p); }), minor.end());
        if (minorTicks) {
            canvas->AssignPen(A.MinorTicks(), A.MinorTicks()->Color());
            TickSet(minor, 1, A.TickSettings().MinorLength);
        }
        if (minorGrid) {
            canvas->AssignPen(A.MinorGrid(), A.MinorGrid()->Color());
            for (const int p : minor)
                GridLine(p, behind);
        }
    }
    canvas->SetBackMode(OPAQUE);
}
