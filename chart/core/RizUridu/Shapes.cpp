#include "RizUridu/Shapes.h"
#include "classes/Streaming.h"

#include <algorithm>
#include <cmath>
#include <numbers>


// ---- published properties ----------------------------------------------------------
//
// The brush-and-pen base publishes Brush and Visible; the framed box adds its looks. The
// users publish the pen under their own name (Frame or Pen).

BEGIN_CLASS_INFO(TTeeCustomShapeBrushPen, TPersistent)
    .Object("Brush", &TTeeCustomShapeBrushPen::Brush)
    .Bool("Visible", &TTeeCustomShapeBrushPen::Visible, &TTeeCustomShapeBrushPen::SetVisible).Default(true)
END_CLASS_INFO

BEGIN_CLASS_INFO(TTeeCustomShape, TTeeCustomShapeBrushPen)
    .Enum("Bevel", &TTeeCustomShape::Bevel, &TTeeCustomShape::SetBevel, {"bvNone", "bvLowered", "bvRaised", "bvSpace"})
        .Default(bvNone)
    .Int("BevelWidth", &TTeeCustomShape::BevelWidth, &TTeeCustomShape::SetBevelWidth)
        .Within(-MaxStoredPixels, MaxStoredPixels).Default(2)
    .Int("Color", &TTeeCustomShape::Color, &TTeeCustomShape::SetColor).Idents(ColorIdents()).Default(clWhite)
    .Object("Font", &TTeeCustomShape::Font)
    .Object("Gradient", &TTeeCustomShape::Gradient)
    .Object("Shadow", &TTeeCustomShape::Shadow)
    .Enum("ShapeStyle", &TTeeCustomShape::ShapeStyle, &TTeeCustomShape::SetShapeStyle,
          {"fosRectangle", "fosRoundRectangle"}).Default(fosRectangle)
    .Enum("TextFormat", &TTeeCustomShape::TextFormat, &TTeeCustomShape::SetTextFormat, {"ttfNormal", "ttfHtml"})
        .Default(ttfNormal)
    .Int("Transparency", &TTeeCustomShape::Transparency, &TTeeCustomShape::SetTransparency).Default(0)
    .Bool("Transparent", &TTeeCustomShape::Transparent, &TTeeCustomShape::SetTransparent)
        .Stored(&TTeeCustomShape::IsTransparentStored)
END_CLASS_INFO

BEGIN_CLASS_INFO(TTeeShape, TTeeCustomShape)
END_CLASS_INFO

// Left and Top only while the box is placed by hand.
BEGIN_CLASS_INFO(TTeeCustomShapePosition, TTeeCustomShape)
    .Bool("CustomPosition", &TTeeCustomShapePosition::CustomPosition, &TTeeCustomShapePosition::SetCustomPosition)
        .Stored(&TTeeCustomShapePosition::IsCustomPositionStored)
    .Int("Left", &TTeeCustomShapePosition::Left, &TTeeCustomShapePosition::SetLeft)
        .Within(-MaxStoredPixels, MaxStoredPixels)
        .Stored(&TTeeCustomShapePosition::CustomPosition)
    .Int("Top", &TTeeCustomShapePosition::Top, &TTeeCustomShapePosition::SetTop)
        .Within(-MaxStoredPixels, MaxStoredPixels)
        .Stored(&TTeeCustomShapePosition::CustomPosition)
END_CLASS_INFO

void TTeeCustomShape::DefineProperties(TFiler* Filer)
{
    TTeeCustomShapeBrushPen::DefineProperties(Filer);
    Filer->DefineProperty(
        "ShadowColor",
        [this](TReader* Reader) { Shadow()->SetColor(ReadStreamedColor(Reader)); },
        nullptr, false);
    Filer->DefineProperty(
        "ShadowSize",
        [this](TReader* Reader) {
            Shadow()->SetSize(int(std::clamp<int64_t>(Reader->ReadInteger(), -MaxStoredPixels, MaxStoredPixels)));
        },
        nullptr, false);
}

std::array<TPoint, 4> RotatedRectCorners(const TRect& R, int Angle)
{
    const double a = Angle * std::numbers::pi / 180.0;
    const double s = std::sin(a), c = std::cos(a);
    const int cx = int((int64_t(R.Left) + R.Right) / 2), cy = int((int64_t(R.Top) + R.Bottom) / 2);
    auto turn = [&](int x, int y) {
        const double dx = double(x) - cx, dy = double(y) - cy;
        return TPoint(TeeRound(dx * c + dy * s) + cx, TeeRound(-dx * s + dy * c) + cy);
    };
    return {turn(R.Left, R.Top), turn(R.Right, R.Top), turn(R.Right, R.Bottom), turn(R.Left, R.Bottom)};
}

// ---- TTeeCustomShapeBrushPen ------------------------------------------------------------

TTeeCustomShapeBrushPen::TTeeCustomShapeBrushPen(std::unique_ptr<TChartBrush> Brush)
    : FBrush(Brush ? std::move(Brush) : std::make_unique<TChartBrush>())
{
    FBrush->OnChange = RepaintHandler();
    FPen = std::make_unique<TChartPen>(RepaintHandler());
}

TTeeCustomShapeBrushPen::~TTeeCustomShapeBrushPen() = default;

TNotifyEvent TTeeCustomShapeBrushPen::RepaintHandler()
{
    return [this](TObject*) { Repaint(); };
}

void TTeeCustomShapeBrushPen::SetBrush(TChartBrush* v)
{
    FBrush->Assign(v);
}

void TTeeCustomShapeBrushPen::SetParentChart(TCustomTeePanel* Value)
{
    FParentChart = Value;
}

void TTeeCustomShapeBrushPen::SetPen(TChartPen* v)
{
    FPen->Assign(v);
}

void TTeeCustomShapeBrushPen::SetVisible(bool v)
{
    if (FParentChart != nullptr)
        FParentChart->SetAndRepaint(FVisible, v);
    else
        FVisible = v;
}

void TTeeCustomShapeBrushPen::Repaint()
{
    if (FParentChart != nullptr)
        FParentChart->RequestRepaint();
}

void TTeeCustomShapeBrushPen::Assign(TPersistent* Source)
{
    auto* s = dynamic_cast<TTeeCustomShapeBrushPen*>(Source);
    if (s == nullptr) {
        TPersistent::Assign(Source);
        return;
    }
    AssignOwnProperties(this, s, TTeeCustomShapeBrushPen::StaticClassInfo());
    FPen->Assign(s->FPen.get());   // each shape publishes it under its own name (Pen, Frame)
}

// ---- TTeeCustomShape -----------------------------------------------------------------------

TTeeCustomShape::TTeeCustomShape(TCustomTeePanel* AOwner)
{
    SetParentChart(AOwner);
    FFont = std::make_unique<TTeeFont>(RepaintHandler());
    FShadow = std::make_unique<TTeeShadow>(RepaintHandler());
    InitShadow(FShadow.get());
}

TTeeCustomShape::~TTeeCustomShape() = default;

void TTeeCustomShape::InitShadow(TTeeShadow* Shadow)
{
    Shadow->DefaultColor = clBlack;
    Shadow->DefaultSize = 3;
    Shadow->SetColor(clBlack);
    Shadow->SetSize(3);
}

std::unique_ptr<TTeeGradient> TTeeCustomShape::CreateGradient()
{
    return std::make_unique<TTeeGradient>(RepaintHandler());
}

void TTeeCustomShape::SetBevel(TBevelCut v)
{
    SetAndNotify(FBevel, v, [this] { Repaint(); });
}

void TTeeCustomShape::SetBevelWidth(int v)
{
    SetAndNotify(FBevelWidth, v, [this] { Repaint(); });
}

void TTeeCustomShape::SetColor(TColor v)
{
    SetAndNotify(FColor, v, [this] { Repaint(); });
}

void TTeeCustomShape::SetFont(TTeeFont* v)
{
    FFont->Assign(v);
}

void TTeeCustomShape::SetShadow(TTeeShadow* v)
{
    FShadow->Assign(v);
}

void TTeeCustomShape::SetShapeStyle(TChartObjectShapeStyle v)
{
    SetAndNotify(FShapeStyle, v, [this] { Repaint(); });
}

void TTeeCustomShape::SetTextFormat(TTextFormat v)
{
    SetAndNotify(FTextFormat, v, [this] { Repaint(); });
}

void TTeeCustomShape::SetTransparent(bool v)
{
    SetAndNotify(FTransparent, v, [this] { Repaint(); });
}

TTeeGradient* TTeeCustomShape::Gradient()
{
    if (!FGradient) {
        FGradient = CreateGradient();
        FGradient->OnChange = RepaintHandler();
    }
    return FGradient.get();
}

void TTeeCustomShape::SetGradient(TCustomTeeGradient* v)
{
    if (v == nullptr) {
        if (FGradient) {
            FGradient.reset();
            Repaint();
        }
        return;
    }
    Gradient()->Assign(v);
}

void TTeeCustomShape::SetTransparency(TTeeTransparency v)
{
    if (v < 0 || v > 100)
        throw ERangeError();
    SetAndNotify(FTransparency, v, [this] { Repaint(); });
}

void TTeeCustomShape::DrawAtOwnRect()
{
    DrawRectRotated(ShapeBounds, 0, 0);
}

void TTeeCustomShape::DrawRotatedShadow(TCanvas3D* Surface, const TRect& Rect, int Angle)
{
    TCanvas* c = Surface->ReferenceCanvas();
    int dx = FShadow->HorizSize(), dy = FShadow->VertSize();
    if (Pen()->Visible() && FShadow->Size() > 0) {
        dx += dx > 0 ? Pen()->Width() : dx < 0 ? -Pen()->Width() : 0;
        dy += dy > 0 ? Pen()->Width() : dy < 0 ? -Pen()->Width() : 0;
    }
    TRect moved = Rect;
    OffsetRect(moved, dx, dy);
    auto corners = RotatedRectCorners(moved, Angle);
    std::unique_ptr<TTeeBlend> blend;
    if (FShadow->Transparency() > 0) {
        const TRect bounds = Angle % 360 != 0 ? PolygonBounds(corners.data(), 4) : moved;
        blend = Surface->BeginTransparency(bounds, FShadow->Transparency());
    }
    c->Pen()->SetStyle(psClear);
    c->Brush()->SetBitmap(nullptr);
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(Surface->GetMonochrome() ? clBlack : FShadow->Color());
    if (Angle % 360 != 0)
        Surface->Polygon(corners.data(), 3);
    else
        Surface->RoundRect(moved.Left, moved.Top, moved.Right, moved.Bottom, 16, 16);
    if (blend)
        Surface->EndTransparency(std::move(blend));
}

void TTeeCustomShape::DrawRectRotated(const TRect& Rect, int Angle, int Z)
{
    if (FTransparent || ParentChart() == nullptr)
        return;
    TTeeCanvas3D* s = ParentChart()->Canvas();
    TCanvas* c = s->ReferenceCanvas();
    if (c == nullptr)
        return;
    const bool rotated = Angle % 360 != 0;
    const bool round = FShapeStyle == fosRoundRectangle;
    const auto corners = RotatedRectCorners(Rect, Angle);

    std::unique_ptr<TTeeBlend> blend;
    if (FTransparency > 0)
        blend = s->BeginTransparency(rotated ? PolygonBounds(corners.data(), 4) : Rect, FTransparency);

    // The shadow (none under a clear brush). A plain rectangle uses the shadow object;
    // a rounded or turned box gets a solid copy of its outline, moved by the shadow's size.
    if ((FShadow->HorizSize() != 0 || FShadow->VertSize() != 0) && Brush()->Style() != bsClear) {
        if (!rotated && !round) {
            const bool nested = !s->IsTrue3D();
            if (nested)
                s->BeginNested();
            FShadow->DrawShadow(s, Rect, Z);
            if (nested)
                s->EndNested();
        } else {
            DrawRotatedShadow(s, Rect, Angle);
        }
    }

    // The fill: the brush in Color, or the gradient (then the frame must not refill it).
    if (FGradient && FGradient->Visible()) {
        if (rotated)
            FGradient->DrawPolygon(s, corners.data(), 4);
        else if (s->IsTrue3D())
            FGradient->DrawRect3D(s, Rect, Z);
        else if (round && Pen()->Visible())
            // Kept inside the rounded frame, whose corners the clip region overshoots.
            FGradient->Draw(s, TRect(Rect.Left + 1, Rect.Top + 1, Rect.Right - 1, Rect.Bottom - 1), 16);
        else
            FGradient->Draw(s, Rect, round ? 16 : 0);
        c->Brush()->SetBitmap(nullptr);
        c->Brush()->SetStyle(bsClear);
    } else {
        AssignBrushColorToCanvas(s, Brush(), FColor);
    }

    // The frame.
    s->AssignPen(Pen(), Pen()->Color());
    if (rotated)
        s->Polygon(corners.data(), 3);
    else if (s->IsTrue3D())
        s->RectangleAtDepth(Rect, Z);
    else if (round)
        s->RoundRect(Rect.Left, Rect.Top, Rect.Right, Rect.Bottom, 16, 16);
    else
        s->Rectangle(Rect.Left, Rect.Top, Rect.Right, Rect.Bottom);

    if (!rotated && FBevel != bvNone) {
        TRect r = Rect;
        DrawTeeBevel(s, FBevel, r, FBevelWidth, 0);
    }

    if (blend)
        s->EndTransparency(std::move(blend));
}

// By hand: the gradient is made on first use, and a copy leaves it unmade when the
// source has none.
void TTeeCustomShape::Assign(TPersistent* Source)
{
    if (auto* s = dynamic_cast<TTeeCustomShape*>(Source)) {
        FBevel = s->FBevel;
        FBevelWidth = s->FBevelWidth;
        FColor = s->FColor;
        FFont->Assign(s->FFont.get());
        SetGradient(s->FGradient.get());
        FShapeStyle = s->FShapeStyle;
        FShadow->Assign(s->FShadow.get());
        FTextFormat = s->FTextFormat;
        FTransparent = s->FTransparent;
        FTransparency = s->FTransparency;
    }
    TTeeCustomShapeBrushPen::Assign(Source);
}

// ---- TTeeCustomShapePosition ----------------------------------------------------------------

void TTeeCustomShapePosition::SetCustomPosition(bool v)
{
    SetAndNotify(FCustomPosition, v, [this] { Repaint(); });
}

void TTeeCustomShapePosition::SetLeft(int v)
{
    FCustomPosition = true;
    ShapeBounds.Left = v;
    Repaint();
}

void TTeeCustomShapePosition::SetTop(int v)
{
    FCustomPosition = true;
    ShapeBounds.Top = v;
    Repaint();
}

// By field: Left and Top turn CustomPosition on when set, so the position is copied only
// with a custom position, as it is.
void TTeeCustomShapePosition::Assign(TPersistent* Source)
{
    if (auto* s = dynamic_cast<TTeeCustomShapePosition*>(Source)) {
        FCustomPosition = s->FCustomPosition;
        if (FCustomPosition) {
            ShapeBounds.Left = s->ShapeBounds.Left;
            ShapeBounds.Top = s->ShapeBounds.Top;
        }
    }
    TTeeCustomShape::Assign(Source);
}
