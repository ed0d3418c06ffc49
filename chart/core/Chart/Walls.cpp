#include "Chart/Walls.h"

#include "TeEngine/AxisPanel.h"


// ---- published properties ----------------------------------------------------------

BEGIN_CLASS_INFO(TCustomChartWall, TTeeCustomShape)
    .Bool("AutoHide", &TCustomChartWall::AutoHide, &TCustomChartWall::SetAutoHide).Default(false)
    .Int("Color", &TTeeCustomShape::Color, &TTeeCustomShape::SetColor).Idents(ColorIdents())
        .Stored(&TCustomChartWall::IsColorStored)
    .Bool("Dark3D", &TCustomChartWall::Dark3D, &TCustomChartWall::SetDark3D).Default(true)
    .Object("Pen", &TTeeCustomShapeBrushPen::Pen)
    .Int("Size", &TCustomChartWall::Size, &TCustomChartWall::SetSize)
        .Within(-MaxStoredPixels, MaxStoredPixels).Default(0)
END_CLASS_INFO

BEGIN_CLASS_INFO(TChartRightWall, TCustomChartWall)
    .Bool("Visible", &TTeeCustomShapeBrushPen::Visible, &TTeeCustomShapeBrushPen::SetVisible).Default(false)
END_CLASS_INFO

TCustomChartWall::TCustomChartWall(TCustomTeePanel* Chart) : TTeeCustomShape(Chart)
{
    SetColor(clDefault);
}

void TCustomChartWall::SetAutoHide(bool v)
{
    SetAndNotify(FAutoHide, v, [this] { Repaint(); });
}

void TCustomChartWall::SetDark3D(bool v)
{
    SetAndNotify(FDark3D, v, [this] { Repaint(); });
}

void TCustomChartWall::SetSize(int v)
{
    SetAndNotify(FSize, v, [this] { Repaint(); });
}

void TCustomChartWall::InitColor(TColor c)
{
    FDefaultColor = c;
    SetColor(c);
}

bool TCustomChartWall::HasVisibleGradient() const
{
    return HasGradient() && const_cast<TCustomChartWall*>(this)->Gradient()->Visible();
}

bool TCustomChartWall::ShouldDark() const
{
    return Brush()->Style() != bsClear && !Brush()->HasImage() && FDark3D;
}

void TCustomChartWall::Assign(TPersistent* Source)
{
    if (auto* w = dynamic_cast<TCustomChartWall*>(Source))
        AssignOwnProperties(this, w, TCustomChartWall::StaticClassInfo());
    TTeeCustomShape::Assign(Source);
}

TChartBackWall::TChartBackWall(TCustomTeePanel* Chart) : TChartWall(Chart)
{
    SetDefaultTransparent(true);
}

TChartRightWall::TChartRightWall(TCustomTeePanel* Chart) : TChartWall(Chart)
{
    SetVisible(false);
}

TChartWalls::TChartWalls(TCustomAxisPanel* Chart)
    : FChart(Chart), FBack(std::make_unique<TChartBackWall>(Chart)), FBottom(std::make_unique<TChartWall>(Chart)),
      FLeft(std::make_unique<TChartWall>(Chart)), FRight(std::make_unique<TChartRightWall>(Chart))
{
    FBack->InitColor(clSilver);
    FBottom->InitColor(clWhite);
    FLeft->InitColor(static_cast<TColor>(0x80FFFF));
    FRight->InitColor(clSilver);
}

TChartWalls::~TChartWalls() = default;

void TChartWalls::SetSize(int v)
{
    FBack->SetSize(v);
    FBottom->SetSize(v);
    FLeft->SetSize(v);
    FRight->SetSize(v);
}

// By hand: the walls have no table of their own; the chart publishes each wall.
void TChartWalls::Assign(TPersistent* Source)
{
    if (auto* w = dynamic_cast<TChartWalls*>(Source)) {
        FBack->Assign(w->FBack.get());
        FBottom->Assign(w->FBottom.get());
        FLeft->Assign(w->FLeft.get());
        FRight->Assign(w->FRight.get());
        return;
    }
    TPersistent::Assign(Source);
}
