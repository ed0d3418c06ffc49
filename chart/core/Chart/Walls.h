// The walls that frame a chart's plot: left, bottom, back and right. In 3D each is a
// plane (or a box when it has a size) beside its axis; the back wall is also the plot's
// frame and fill in 2D.
#pragma once

#include "RizUridu.h"

#include <memory>

class TCustomAxisPanel;

class TCustomChartWall : public TTeeCustomShape {
public:
    DECLARE_CLASS_INFO(TCustomChartWall)
    explicit TCustomChartWall(TCustomTeePanel* Chart);

    bool AutoHide() const { return FAutoHide; }
    void SetAutoHide(bool v);
    bool Dark3D() const { return FDark3D; }
    void SetDark3D(bool v);
    // Thickness in pixels; 0 draws a flat plane.
    int Size() const { return FSize; }
    void SetSize(int v);
    TColor DefaultColor() const { return FDefaultColor; }
    // The wall's own colour: Color and its default both take it.
    void InitColor(TColor c);
    bool IsColorStored() const { return Color() != FDefaultColor; }

    // The gradient exists and is visible.
    bool HasVisibleGradient() const;
    // Shaded sides: a brush that is not clear and has no image, and Dark3D.
    bool ShouldDark() const;

    void Assign(TPersistent* Source) override;

private:
    bool FAutoHide = false;
    bool FDark3D = true;
    int FSize = 0;
    TColor FDefaultColor = clDefault;
};

class TChartWall : public TCustomChartWall {
public:
    DECLARE_CLASS_NAME(TChartWall)
    using TCustomChartWall::TCustomChartWall;
};

// The back wall: transparent unless told otherwise.
class TChartBackWall : public TChartWall {
public:
    DECLARE_CLASS_NAME(TChartBackWall)
    explicit TChartBackWall(TCustomTeePanel* Chart);
};

// The right wall: hidden unless told otherwise.
class TChartRightWall : public TChartWall {
public:
    DECLARE_CLASS_INFO(TChartRightWall)
    explicit TChartRightWall(TCustomTeePanel* Chart);
};

class TChartWalls : public TPersistent {
public:
    DECLARE_CLASS_NAME(TChartWalls)
    explicit TChartWalls(TCustomAxisPanel* Chart);
    ~TChartWalls() override;

    TCustomAxisPanel* Chart() const { return FChart; }
    TChartBackWall* Back() const { return FBack.get(); }
    TChartWall* Bottom() const { return FBottom.get(); }
    TChartWall* Left() const { return FLeft.get(); }
    TChartRightWall* Right() const { return FRight.get(); }
    // Every wall's size.
    void SetSize(int v);
    void Assign(TPersistent* Source) override;

private:
    TCustomAxisPanel* FChart;
    std::unique_ptr<TChartBackWall> FBack;
    std::unique_ptr<TChartWall> FBottom;
    std::unique_ptr<TChartWall> FLeft;
    std::unique_ptr<TChartRightWall> FRight;
};
