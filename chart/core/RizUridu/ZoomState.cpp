#include "RizUridu/ZoomState.h"

#include "graphics/GdiConsts.h"

#include <utility>


// ---- published properties ----------------------------------------------------------

BEGIN_CLASS_INFO(TTeeZoomBrush, TChartBrush)
    .Int("Color", &TBrush::Color, &TBrush::SetColor).Idents(ColorIdents()).Default(clWhite)
    // A colour makes a clear brush solid, so a clear brush with a colour of its own
    // writes its style after the colour.
    .Enum("Style", &TBrush::Style, &TBrush::SetStyle,
          {"bsSolid", "bsClear", "bsHorizontal", "bsVertical", "bsFDiagonal", "bsBDiagonal", "bsCross", "bsDiagCross"})
        .Stored([](TTeeZoomBrush& B) { return B.Style() != bsClear || B.Color() != clWhite; })
END_CLASS_INFO

BEGIN_CLASS_INFO(TTeeZoomPen, TChartPen)
    .Int("Color", &TPen::Color, &TPen::SetColor).Idents(ColorIdents()).Stored(&TTeeZoomPen::IsColorStored)
END_CLASS_INFO

BEGIN_CLASS_INFO(TTeeZoom, TPersistent)
    .Bool("Allow", &TTeeZoom::Allow, &TTeeZoom::SetAllow).Default(true)
    .Bool("Animated", &TTeeZoom::Animated, &TTeeZoom::SetAnimated).Default(false)
    .Int("AnimatedSteps", &TTeeZoom::AnimatedSteps, &TTeeZoom::SetAnimatedSteps).Default(8)
    .Object("Brush", &TTeeZoom::Brush)
    .Enum("Direction", &TTeeZoom::Direction, &TTeeZoom::SetDirection, {"tzdHorizontal", "tzdVertical", "tzdBoth"})
        .Default(tzdBoth)
    .SetOf("KeyShift", &TTeeZoom::KeyShift, &TTeeZoom::SetKeyShift,
           {"ssShift", "ssAlt", "ssCtrl", "ssLeft", "ssRight", "ssMiddle", "ssDouble"}).Default(0)
    .Int("MinimumPixels", &TTeeZoom::MinimumPixels, &TTeeZoom::SetMinimumPixels)
        .Within(-MaxStoredPixels, MaxStoredPixels).Default(16)
    .Enum("MouseButton", &TTeeZoom::MouseButton, &TTeeZoom::SetMouseButton, {"mbLeft", "mbRight", "mbMiddle"})
        .Default(mbLeft)
    .Object("Pen", &TTeeZoom::Pen)
    .Bool("UpLeftZooms", &TTeeZoom::UpLeftZooms, &TTeeZoom::SetUpLeftZooms).Default(false)
END_CLASS_INFO

void TZoomPanning::Activate(int X, int Y)
{
    X0 = X1 = X;
    Y0 = Y1 = Y;
    Active = true;
}

void TZoomPanning::Normalize()
{
    if (X0 > X1)
        std::swap(X0, X1);
    if (Y0 > Y1)
        std::swap(Y0, Y1);
}

TTeeZoomBrush::TTeeZoomBrush(TNotifyEvent onChange) : TChartBrush(std::move(onChange))
{
    SetColor(clWhite);
    SetStyle(bsClear);
}

TTeeZoomPen::TTeeZoomPen(TNotifyEvent onChange) : TChartPen(std::move(onChange))
{
    SetColor(clWhite);
}

TTeeZoom::TTeeZoom() = default;

TTeeZoom::~TTeeZoom() = default;

TTeeZoomBrush* TTeeZoom::Brush()
{
    if (!FBrush)
        FBrush = std::make_unique<TTeeZoomBrush>();
    return FBrush.get();
}

void TTeeZoom::SetBrush(TChartBrush* v)
{
    if (v == nullptr)
        FBrush.reset();
    else
        Brush()->Assign(v);
}

TTeeZoomPen* TTeeZoom::Pen()
{
    if (!FPen)
        FPen = std::make_unique<TTeeZoomPen>();
    return FPen.get();
}

void TTeeZoom::SetPen(TChartPen* v)
{
    if (v == nullptr)
        FPen.reset();
    else
        Pen()->Assign(v);
}

void TTeeZoom::Assign(TPersistent* Source)
{
    if (auto* z = dynamic_cast<TTeeZoom*>(Source)) {
        AssignProperties(this, z);
        return;
    }
    TPersistent::Assign(Source);
}

void DrawZoomRectangleOn(TTeeCanvas* Surface, TTeeZoom* Zoom, TColor BackColor)
{
    if (Surface == nullptr || Zoom == nullptr || Surface->ReferenceCanvas() == nullptr)
        return;
    TCanvas* c = Surface->ReferenceCanvas();
    const TColor inverseBack = 0xFFFFFF - ColorToDrawRGB(BackColor);
    const bool hasBrush = Zoom->HasBrush();
    if (hasBrush) {
        TTeeZoomBrush* b = Zoom->Brush();
        AssignBrushToCanvas(Surface, b, ColorToDrawRGB(b->Color()) ^ inverseBack, BackColor);
    } else {
        c->Brush()->SetStyle(bsClear);
    }
    TTeeZoomPen* pen = Zoom->Pen();
    Surface->AssignPen(pen, ColorToDrawRGB(pen->Color()) ^ inverseBack);
    c->Pen()->SetMode(pmNotXor);
    if (!hasBrush || Zoom->Brush()->Style() == bsClear)
        Surface->SetBackMode(TRANSPARENT);
    Surface->Rectangle(Zoom->X0, Zoom->Y0, Zoom->X1, Zoom->Y1);
    c->Pen()->SetMode(pmCopy);
}
