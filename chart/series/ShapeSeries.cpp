#include "ShapeSeries.h"

#include "RizUridu/Helpers.h"
#include "TeeConst.h"

#include "system/Random.h"

#include <algorithm>
#include <cmath>

BEGIN_CLASS_INFO(TChartShape, TChartSeries)
    .ComponentFactory()
    .Enum("Alignment", &TChartShape::Alignment, &TChartShape::SetAlignment,
          {"taLeftJustify", "taRightJustify", "taCenter"}).Default(taCenter)
    .Object("Font", &TChartShape::Font)
    .Object("Gradient", &TChartShape::Gradient)
    .Bool("RoundRectangle", &TChartShape::RoundRectangle, &TChartShape::SetRoundRectangle).Default(false)
    .Enum("Style", &TChartShape::Style, &TChartShape::SetStyle,
          {"chasRectangle", "chasCircle", "chasVertLine", "chasHorizLine", "chasTriangle", "chasInvertTriangle",
           "chasLine", "chasDiamond", "chasCube", "chasCross", "chasDiagCross", "chasStar", "chasPyramid",
           "chasInvertPyramid"}).Default(chasCircle)
    .Object("Text", &TChartShape::Text)
    .Bool("Transparent", &TChartShape::Transparent, &TChartShape::SetTransparent).Default(false)
    .Enum("VertAlign", &TChartShape::VertAlign, &TChartShape::SetVertAlign, {"vaTop", "vaCenter", "vaBottom"})
        .Default(vaCenter)
    .Float("X0", &TChartShape::X0, &TChartShape::SetX0).Default(0.0)
    .Float("X1", &TChartShape::X1, &TChartShape::SetX1).Default(100.0)
    .Enum("XYStyle", &TChartShape::XYStyle, &TChartShape::SetXYStyle, {"xysPixels", "xysAxis", "xysAxisOrigin"})
        .Default(xysAxis)
    .Float("Y0", &TChartShape::Y0, &TChartShape::SetY0).Default(0.0)
    .Float("Y1", &TChartShape::Y1, &TChartShape::SetY1).Default(100.0)
END_CLASS_INFO

namespace {

int InitCount = 0;

// The default corners: (0, 0) and (100, 100).
constexpr double DefaultCorner[2] = {0, 100};

// R with its sides in order and at least one pixel wide and high.
TRect Ordered(const TRect& R)
{
    TRect r(std::min(R.Left, R.Right), std::min(R.Top, R.Bottom), std::max(R.Left, R.Right),
            std::max(R.Top, R.Bottom));
    if (r.Right == r.Left)
        r.Right = r.Left + 1;
    if (r.Bottom == r.Top)
        r.Bottom = r.Top + 1;
    return r;
}

} // namespace

// ---- construction and properties --------------------------------------------------------

TChartShape::TChartShape(TComponent* AOwner) : TChartSeries(AOwner)
{
    FText = std::make_unique<TStringList>();
    FText->OnChange = [this](TObject*) { Repaint(); };
    FFont = std::make_unique<TTeeFont>(RepaintHandler());
    FGradient = std::make_unique<TTeeGradient>(RepaintHandler());
    // The corners are points 0 and 1 whatever their X: no sorting.
    XValues()->SetOrder(loNone);
    AddPointXY(DefaultCorner[0], DefaultCorner[0]);
    AddPointXY(DefaultCorner[1], DefaultCorner[1]);
    SetSeriesColor(clWhite);
}

TChartShape::~TChartShape() = default;

void TChartShape::SetSeriesColor(TColor Value)
{
    TChartSeries::SetSeriesColor(Value);
    Brush()->SetColor(Value);
}

double TChartShape::CornerValue(int Index, bool IsX) const
{
    if (Count() <= Index)
        return DefaultCorner[Index];
    return IsX ? XValues()->Value(Index) : YValues()->Value(Index);
}

void TChartShape::SetCornerValue(int Index, bool IsX, double Value)
{
    while (Count() <= Index) {
        const double corner = DefaultCorner[Count() < 2 ? Count() : 1];
        AddPointXY(corner, corner);
    }
    (IsX ? XValues() : YValues())->SetValue(Index, Value);
    SetManualData(true);
    Repaint();
}

void TChartShape::SetStyle(TChartShapeStyle Value)
{
    SetAndRepaint(FStyle, Value);
}

void TChartShape::SetXYStyle(TChartShapeXYStyle Value)
{
    SetAndRepaint(FXYStyle, Value);
}

void TChartShape::SetAlignment(TAlignment Value)
{
    SetAndRepaint(FAlignment, Value);
}

void TChartShape::SetVertAlign(TTeeVertAlign Value)
{
    SetAndRepaint(FVertAlign, Value);
}

void TChartShape::SetText(TStrings* Value)
{
    FText->Assign(Value);
}

// By field: X0, Y0, X1 and Y1 of the table are the shape's points, which come with the
// data (TChartSeries::Assign).
void TChartShape::Assign(TPersistent* Source)
{
    if (auto* s = dynamic_cast<TChartShape*>(Source)) {
        FAlignment = s->FAlignment;
        FFont->Assign(s->FFont.get());
        FGradient->Assign(s->FGradient.get());
        FRoundRectangle = s->FRoundRectangle;
        FStyle = s->FStyle;
        FText->Assign(s->FText.get());
        FTransparent = s->FTransparent;
        FVertAlign = s->FVertAlign;
        FXYStyle = s->FXYStyle;
    }
    TChartSeries::Assign(Source);
}

bool TChartShape::AcceptsDataSource(TComponent* Source) const
{
    return dynamic_cast<TChartShape*>(Source) != nullptr && TChartSeries::AcceptsDataSource(Source);
}

void TChartShape::ComputeZOrder()
{
    if (UseAxis())
        TChartSeries::ComputeZOrder();
}

double TChartShape::GreatestX() const
{
    return FXYStyle == xysAxisOrigin && Count() > 0 ? X0() : TChartSeries::GreatestX();
}

double TChartShape::LeastX() const
{
    return FXYStyle == xysAxisOrigin && Count() > 0 ? X0() : TChartSeries::LeastX();
}

double TChartShape::GreatestY() const
{
    return FXYStyle == xysAxisOrigin && Count() > 0 ? Y0() : TChartSeries::GreatestY();
}

double TChartShape::LeastY() const
{
    return FXYStyle == xysAxisOrigin && Count() > 0 ? Y0() : TChartSeries::LeastY();
}

// ---- geometry -----------------------------------------------------------------------------

TRect TChartShape::GetShapeRectangle() const
{
    switch (FXYStyle) {
    case xysPixels:
        return TRect(static_cast<int>(X0()), static_cast<int>(Y0()), static_cast<int>(X1()),
                     static_cast<int>(Y1()));
    case xysAxisOrigin: {
        const int left = ValueToScreenX(X0());
        const int top = ValueToScreenY(Y0());
        return TRect(left, top, ClampPixel(int64_t(left) + static_cast<int64_t>(X1())),
                     ClampPixel(int64_t(top) + static_cast<int64_t>(Y1())));
    }
    default:
        return TRect(ValueToScreenX(X0()), ValueToScreenY(Y0()), ValueToScreenX(X1()), ValueToScreenY(Y1()));
    }
}

// ---- drawing ------------------------------------------------------------------------------

void TChartShape::DrawValue(int ValueIndex)
{
    TCustomAxisPanel* chart = ParentChart();
    if (ValueIndex != 0 || Count() != 2 || chart == nullptr)
        return;
    const TRect corners = GetShapeRectangle();
    const TRect r = Ordered(corners);
    TRect common;
    if (!IntersectRect(common, r, chart->ChartRect))
        return;
    const bool is3D = FXYStyle != xysPixels && chart->View3D();
    DrawShape(is3D, r, corners);
    DrawText(is3D, r);
}

void TChartShape::DrawSymbolShape(int ValueIndex, const TRect& R)
{
    if (ParentChart() != nullptr)
        DrawShape(false, R, R);
}

void TChartShape::DrawShape(bool Is3D, const TRect& R, const TRect& Corners)
{
    TTeeCanvas3D* canvas = ParentChart()->Canvas();
    canvas->AssignPen(Pen(), Pen()->Color());
    if (FTransparent)
        canvas->Brush()->SetStyle(bsClear);
    else
        AssignBrushToCanvas(canvas, Brush(), SeriesColor(), canvas->GetBackColor());
    const int z = MiddleZ();
    const int z0 = StartZ();
    const int z1 = EndZ();

    // A gradient fills a plain rectangle or an ellipse; the shape is then its outline.
    if (FGradient->Visible() && !FTransparent &&
        ((FStyle == chasRectangle && !FRoundRectangle) || FStyle == chasCircle)) {
        if (FStyle == chasRectangle) {
            if (Is3D)
                FGradient->DrawRect3D(canvas, R, z);
            else
                FGradient->Draw(canvas, R);
        } else {
            const TRect area = Is3D ? ProjectedRectBounds(canvas, R, z) : R;
            canvas->ClipToEllipse(area);
            FGradient->Draw(canvas, area);
            canvas->RemoveClipping();
        }
        canvas->Brush()->SetStyle(bsClear);
    }

    const int cx = (R.Left + R.Right) / 2;
    const int cy = (R.Top + R.Bottom) / 2;
    const auto line = [&](int x0, int y0, int x1, int y1) {
        if (Is3D)
            canvas->LineAtDepth(x0, y0, x1, y1, z);
        else
            canvas->Line(x0, y0, x1, y1);
    };
    const auto triangle = [&](const TPoint& a, const TPoint& b, const TPoint& c) {
        if (Is3D)
            canvas->TriangleAtDepth(a, b, c, z);
        else {
            const TPoint p[3] = {a, b, c};
            canvas->Polygon(p, 2);
        }
    };
    const auto cross = [&] {
        line(cx, R.Top, cx, R.Bottom);
        line(R.Left, cy, R.Right, cy);
    };
    const auto diagonalCross = [&] {
        line(R.Left, R.Top, R.Right, R.Bottom);
        line(R.Left, R.Bottom, R.Right, R.Top);
    };
    const bool darkSides = !FTransparent;

    switch (FStyle) {
    case chasRectangle:
        if (Is3D)
            canvas->RectangleAtDepth(R, z);
        else if (FRoundRectangle)
            canvas->RoundRect(R.Left, R.Top, R.Right, R.Bottom, 12, 12);
        else
            canvas->Rectangle(R.Left, R.Top, R.Right, R.Bottom);
        break;
    case chasCircle:
        if (Is3D)
            canvas->EllipseAtDepth(R.Left, R.Top, R.Right, R.Bottom, z);
        else
            canvas->Ellipse(R.Left, R.Top, R.Right, R.Bottom);
        break;
    case chasVertLine: line(cx, R.Top, cx, R.Bottom); break;
    case chasHorizLine: line(R.Left, cy, R.Right, cy); break;
    case chasTriangle:
    case chasPyramid:
        if (Is3D && FStyle == chasPyramid)
            canvas->Pyramid(true, R.Left, R.Top, R.Right, R.Bottom, z0, z1, darkSides);
        else
            triangle(TPoint(R.Left, R.Bottom), TPoint(cx, R.Top), TPoint(R.Right, R.Bottom));
        break;
    case chasInvertTriangle:
    case chasInvertPyramid:
        if (Is3D && FStyle == chasInvertPyramid)
            canvas->Pyramid(true, R.Left, R.Bottom, R.Right, R.Top, z0, z1, darkSides);
        else
            triangle(TPoint(R.Left, R.Top), TPoint(cx, R.Bottom), TPoint(R.Right, R.Top));
        break;
    case chasLine: line(Corners.Left, Corners.Top, Corners.Right, Corners.Bottom); break;
    case chasDiamond: {
        const TPoint p[4] = {TPoint(R.Left, cy), TPoint(cx, R.Top), TPoint(R.Right, cy), TPoint(cx, R.Bottom)};
        if (Is3D)
            canvas->PlaneOfFourPoints(p, z);
        else
            canvas->Polygon(p, 3);
        break;
    }
    case chasCube:
        if (Is3D)
            canvas->BoxBetweenDepths(R.Left, R.Right, R.Top, R.Bottom, z0, z1, darkSides);
        else
            canvas->Rectangle(R.Left, R.Top, R.Right, R.Bottom);
        break;
    case chasCross: cross(); break;
    case chasDiagCross: diagonalCross(); break;
    case chasStar:
        cross();
        diagonalCross();
        break;
    }
}

void TChartShape::DrawText(bool Is3D, const TRect& R)
{
    const int lines = FText->Count();
    if (lines == 0)
        return;
    TTeeCanvas3D* canvas = ParentChart()->Canvas();
    canvas->ApplyFont(FFont.get());
    // Text the colour of the fill would vanish: it is drawn white (or black) instead,
    // on the surface only, so the series' font keeps its colour.
    const TColor fontColor = canvas->Font()->Color();
    if (canvas->Brush()->Color() == fontColor)
        canvas->Font()->SetColor(fontColor == clBlack ? clWhite : clBlack);
    const int h = CanvasLineHeight(canvas);
    int y;
    switch (FVertAlign) {
    case vaTop: y = R.Top; break;
    case vaBottom: y = R.Bottom - lines * h; break;
    default: y = (R.Top + R.Bottom) / 2 - static_cast<int>(std::lround(lines * h / 2.0)); break;
    }
    canvas->SetBackMode(TRANSPARENT);
    canvas->SetTextAlign(TA_LEFT | TA_TOP);
    const int penWidth = Pen()->Width();
    for (int t = 0; t < lines; ++t) {
        const std::string& text = FText->Strings(t);
        const int w = canvas->TextWidth(text);
        int x;
        switch (FAlignment) {
        case taLeftJustify: x = R.Left + penWidth; break;
        case taRightJustify: x = R.Right - penWidth - w; break;
        default: x = (R.Left + R.Right) / 2 - w / 2; break;
        }
        if (Is3D)
            canvas->TextOutAtDepth(x, y, StartZ(), text);
        else
            canvas->TextOut(x, y, text);
        y += h;
    }
}

// ---- hit test -----------------------------------------------------------------------------

int TChartShape::Clicked(int X, int Y)
{
    if (Count() != 2)
        return -1;
    if (TCustomAxisPanel* chart = ParentChart(); chart != nullptr && chart->View3D())
        chart->Canvas()->UnprojectPoint(X, Y, StartZ());
    const TPoint p(X, Y);
    const TRect corners = GetShapeRectangle();
    const TRect r = Ordered(corners);
    const int cx = (r.Left + r.Right) / 2;
    const int cy = (r.Top + r.Bottom) / 2;
    bool hit;
    switch (FStyle) {
    case chasCircle: hit = PointInEllipseRect(p, r); break;
    case chasVertLine: hit = PointNearLineOfPoints(p, TPoint(cx, r.Top), TPoint(cx, r.Bottom)); break;
    case chasHorizLine: hit = PointNearLineOfPoints(p, TPoint(r.Left, cy), TPoint(r.Right, cy)); break;
    case chasTriangle:
    case chasPyramid: hit = PointInTriangleVertical(p, r.Left, r.Right, r.Top, r.Bottom); break;
    case chasInvertTriangle:
    case chasInvertPyramid: hit = PointInTriangleVertical(p, r.Left, r.Right, r.Bottom, r.Top); break;
    case chasLine:
        hit = PointNearLineOfPoints(p, TPoint(corners.Left, corners.Top), TPoint(corners.Right, corners.Bottom));
        break;
    case chasDiamond: {
        const TPoint d[4] = {TPoint(r.Left, cy), TPoint(cx, r.Top), TPoint(r.Right, cy), TPoint(cx, r.Bottom)};
        hit = PointInPolygon(p, d, 3);
        break;
    }
    default: hit = X >= r.Left && X <= r.Right && Y >= r.Top && Y <= r.Bottom; break;
    }
    return hit ? 0 : -1;
}

// ---- gallery ---------------------------------------------------------------------------

void TChartShape::AddSubGalleryStyles(std::vector<std::string>& Styles)
{
    TChartSeries::AddSubGalleryStyles(Styles);
    for (const std::string* name :
         {&TeeMsg_StyleRectangle, &TeeMsg_StyleVertLine, &TeeMsg_StyleHorizLine, &TeeMsg_StyleEllipse,
          &TeeMsg_StyleDownTriangle, &TeeMsg_StyleLine, &TeeMsg_StyleDiamond, &TeeMsg_StyleCube, &TeeMsg_StyleCross,
          &TeeMsg_StyleDiagCross, &TeeMsg_StyleStar, &TeeMsg_StylePyramid, &TeeMsg_StyleInvPyramid,
          &TeeMsg_StyleHollow})
        Styles.push_back(*name);
}

void TChartShape::ApplySubGalleryStyle(int Index)
{
    static constexpr TChartShapeStyle Styles[] = {chasRectangle, chasVertLine,  chasHorizLine, chasCircle,
                                                  chasInvertTriangle, chasLine, chasDiamond, chasCube,
                                                  chasCross, chasDiagCross, chasStar, chasPyramid,
                                                  chasInvertPyramid};
    if (Index >= 1 && Index <= 13)
        SetStyle(Styles[Index - 1]);
    else if (Index == 14)
        SetTransparent(!FTransparent);
}

void TChartShape::MakeSamplePoints(int NumValues, bool OnlyMandatory)
{
    const TSampleRange r = SampleRange(NumValues);
    Clear();
    if (r.StepX != 0) {
        AddPointXY(r.StartX + r.StepX / 8, r.FirstY / 2);
        AddPointXY(r.StartX + r.StepX - r.StepX / 8, r.FirstY + Random(static_cast<int>(std::lround(r.RangeY))));
    } else {
        AddPointXY(DefaultCorner[0], DefaultCorner[0]);
        AddPointXY(DefaultCorner[1], DefaultCorner[1]);
    }
}

void TChartShape::SetUpGalleryPreview(bool Enabled)
{
    TChartSeries::SetUpGalleryPreview(Enabled);
    FFont->SetColor(Enabled ? clYellow : clGray);
    FFont->SetStyle(FFont->Style() | fsBold);
    FFont->SetSize(12);
    FText->Clear();
    const bool second = ParentChart() != nullptr && ParentChart()->IndexOfSeries(this) == 1;
    SetStyle(second ? chasCircle : chasTriangle);
    FText->Add(second ? TeeMsg_FieldTypeText : TeeMsg_FieldTypeNumber);
    SetSeriesColor(!Enabled ? clSilver : second ? clBlue : clRed);
}

// ---- unit start-up ------------------------------------------------------------------------

void ShapeSeriesInitialization()
{
    if (InitCount++ > 0)
        return;
    RegisterSeriesType(TChartShape::StaticClassInfo(), &TeeMsg_GalleryShape, &TeeMsg_GalleryStandard, 2);
}

void ShapeSeriesFinalization()
{
    if (InitCount > 0)
        --InitCount;
}
