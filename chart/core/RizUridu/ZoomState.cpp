#include "RizUridu/ZoomState.h"

#include "graphics/GdiConsts.h"

#include <utility>

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
    auto* z = dynamic_cast<TTeeZoom*>(Source);
    if (z == nullptr) {
        TPersistent::Assign(Source);
        return;
    }
    FAllow = z->FAllow;
    FAnimated = z->FAnimated;
    FAnimatedSteps = z->FAnimatedSteps;
    SetBrush(z->FBrush.get());
    FDirection = z->FDirection;
    FKeyShift = z->FKeyShift;
    FMouseButton = z->FMouseButton;
    SetPen(z->FPen.get());
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
