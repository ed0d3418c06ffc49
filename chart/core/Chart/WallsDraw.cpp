// The chart's walls: the room they take from the chart rectangle, their sizes beside the
// axes, the facing tests of the side planes and the drawing of each wall.
#include "Chart/CustomChart.h"
#include "TeEngine/Series.h"

#include <algorithm>
#include <cstdlib>

int TCustomChart::GetAxisWallSize(const TChartAxis* Axis) const
{
    if (!View3D() || !View3DWalls())
        return 0;
    const TCustomChartWall* wall = Axis == LeftAxis()     ? static_cast<const TCustomChartWall*>(LeftWall())
                                   : Axis == BottomAxis() ? static_cast<const TCustomChartWall*>(BottomWall())
                                   : Axis == RightAxis()  ? static_cast<const TCustomChartWall*>(RightWall())
                                                          : static_cast<const TCustomChartWall*>(BackWall());
    return wall->Visible() ? wall->Size() : 0;
}

void TCustomChart::ReserveWallSpace()
{
    Calc3DSize();
    if (View3D() && View3DOptions()->Orthogonal()) {
        bool usesAxes = false;
        for (int t = 0; t < SeriesCount(); ++t)
            if (Series(t)->Active() && Series(t)->UseAxis())
                usesAxes = true;
        const int back = usesAxes ? BackWall()->Size() : 0;
        const int depth = std::abs(Width3D) + back;
        // The room goes to the side the depth is projected to: right for an oblique
        // angle below 90 degrees, left otherwise.
        if (View3DOptions()->OrthoAngle() < 90) {
            ChartRect.Right -= depth;
            if (RightWall()->Visible())
                ChartRect.Right -= RightWall()->Size() + 1;
        } else {
            ChartRect.Left += depth;
            if (LeftWall()->Visible())
                ChartRect.Left += LeftWall()->Size() + 1;
        }
        ChartRect.Top += std::abs(Height3D) + back;
    }
    RecalcWidthHeight();
}

int TCustomChart::BackWallSizeIfVisible() const
{
    return BackWall()->Visible() ? BackWall()->Size() : 0;
}

bool TCustomChart::SidePlaneFaces(bool LeftSide) const
{
    if (!View3D())
        return false;
    const int x = LeftSide ? ChartRect.Left : ChartRect.Right;
    const int bottom = ChartRect.Bottom + BottomWall()->Size();
    const TCanvas3D* c = Canvas();
    const TPoint a = ProjectPoint3D(c, x, bottom, 0);
    const TPoint b = ProjectPoint3D(c, x, ChartRect.Top, 0);
    const TPoint d = ProjectPoint3D(c, x, bottom, Width3D + BackWall()->Size());
    const bool clockwise = TriangleOrientation(a, b, d);
    return LeftSide ? clockwise : !clockwise;
}

bool TCustomChart::WallInFront(const TCustomChartWall* Wall) const
{
    return View3DWalls() && Wall->Visible() && !Wall->AutoHide();
}

// Pen, brush (clear when transparent) and, around the wall, a transparency block.
void TCustomChart::DrawWall(TCustomChartWall* Wall, int Which)
{
    TTeeCanvas3D* c = Canvas();
    const TRect& r = ChartRect;
    const int w3 = Width3D;
    const int leftSize = LeftWall()->Visible() ? LeftWall()->Size() : 0;
    const int bottomSize = BottomWall()->Visible() ? BottomWall()->Size() : 0;

    c->AssignPen(Wall->Pen(), Wall->Pen()->Color());
    if (Wall->Transparent())
        c->Brush()->SetStyle(bsClear);
    else
        AssignBrushToCanvas(c, Wall->Brush(), Wall->Color(), Color());
    std::unique_ptr<TTeeBlend> blend;
    if (!Wall->Transparent() && Wall->Transparency() > 0)
        blend = c->BeginTransparency(ProjectedRectBounds(c, r, 0), Wall->Transparency());

    const bool gradient = Wall->HasVisibleGradient() && !Wall->Transparent();
    const bool dark = Wall->ShouldDark();
    switch (Which) {
    case 0: {   // left
        const int bottom = r.Bottom + bottomSize;
        if (gradient) {
            const TPoint q[4] = {c->Calc3DPoint(r.Left, r.Top, 0), c->Calc3DPoint(r.Left, r.Top, w3),
                                 c->Calc3DPoint(r.Left, bottom, w3), c->Calc3DPoint(r.Left, bottom, 0)};
            Wall->Gradient()->DrawPolygon(c, q, 4);
            c->Brush()->SetStyle(bsClear);
        }
        if (Wall->Size() >= 1)
            c->BoxBetweenDepths(r.Left - Wall->Size(), r.Left, r.Top, bottom, 0, w3, dark);
        else
            c->RectangleAtConstantX(r.Left, r.Top, bottom, 0, w3);
        break;
    }
    case 1: {   // right
        const int bottom = r.Bottom + bottomSize;
        if (gradient) {
            const TPoint q[4] = {c->Calc3DPoint(r.Right, r.Top, 0), c->Calc3DPoint(r.Right, r.Top, w3 + 1),
                                 c->Calc3DPoint(r.Right, bottom, w3 + 1), c->Calc3DPoint(r.Right, bottom, 0)};
            Wall->Gradient()->DrawPolygon(c, q, 4);
            c->Brush()->SetStyle(bsClear);
        }
        if (Wall->Size() >= 1)
            c->BoxBetweenDepths(r.Right, r.Right + Wall->Size(), r.Top, bottom, 0, w3 + BackWallSizeIfVisible(), dark);
        else
            c->RectangleAtConstantX(r.Right, r.Top, bottom, 0, w3 + 1);
        break;
    }
    case 2: {   // bottom
        const int y = r.Bottom + (c->IsTrue3D() ? 1 : 0);
        int left = r.Left;
        if (LeftWall()->Visible() && IsAxisVisible(LeftAxis()) && SidePlaneFaces(true))
            left -= LeftWall()->Size();
        if (gradient) {
            const TPoint q[4] = {c->Calc3DPoint(left, y, 0), c->Calc3DPoint(r.Right, y, 0),
                                 c->Calc3DPoint(r.Right, y, w3), c->Calc3DPoint(left, y, w3)};
            Wall->Gradient()->DrawPolygon(c, q, 4);
            c->Brush()->SetStyle(bsClear);
        }
        if (Wall->Size() >= 1)
            c->BoxBetweenDepths(left, r.Right, y, y + Wall->Size(), 0, w3, dark);
        else
            c->RectangleAtConstantY(left, y, r.Right, 0, w3);
        break;
    }
    default: {   // back
        if (!View3D()) {
            const TRect box(r.Left, r.Top, r.Right, r.Bottom + 1);
            if (gradient) {
                Wall->Gradient()->Draw(c, box);
                c->Brush()->SetStyle(bsClear);
            }
            c->Rectangle(box.Left, box.Top, box.Right, box.Bottom);
        } else {
            const TRect plane(r.Left - leftSize, r.Top, r.Right, r.Bottom + bottomSize);
            if (gradient) {
                Wall->Gradient()->DrawRect3D(c, plane, w3);
                c->Brush()->SetStyle(bsClear);
            }
            if (Wall->Size() >= 1) {
                const int z1 = w3 >= 0 ? w3 + Wall->Size() : w3 - Wall->Size();
                c->BoxBetweenDepths(plane.Left, plane.Right, plane.Top, plane.Bottom, std::min(w3, z1),
                                    std::max(w3, z1), dark);
            } else {
                c->RectangleAtDepth(plane, w3);
            }
        }
        if (BackImageInside() && HasBackImage()) {
            TRect image = r;
            if (Wall->Pen()->Visible()) {
                --image.Top;
                --image.Left;
            }
            DrawBackImage(image, View3D() ? w3 : 0);
        }
        break;
    }
    }
    if (blend)
        c->EndTransparency(std::move(blend));
}

void TCustomChart::DrawLeftWall() { DrawWall(LeftWall(), 0); }
void TCustomChart::DrawRightWall() { DrawWall(RightWall(), 1); }
void TCustomChart::DrawBottomWall() { DrawWall(BottomWall(), 2); }
void TCustomChart::DrawBackWall() { DrawWall(BackWall(), 3); }

void TCustomChart::DrawWalls()
{
    if (!SomeSeriesUsesAxes())
        return;
    const bool walls3D = View3D() && View3DWalls();
    if (walls3D && RightWall()->Visible() && SidePlaneFaces(false))
        DrawRightWall();
    // In 2D the back wall is the plot's frame and fill; in 3D it needs the 3D walls on.
    if ((!View3D() || View3DWalls()) && BackWall()->Visible() && !IsPlaneBackFacing(Width3D))
        DrawBackWall();
    if (walls3D) {
        if (LeftWall()->Visible() && SidePlaneFaces(true))
            DrawLeftWall();
        if (BottomWall()->Visible())
            DrawBottomWall();
        if (IsPlaneBackFacing(Width3D)) {
            if (IsAxisVisible(TopAxis()))
                TopAxis()->DrawAxis(false);
            if (IsAxisVisible(BottomAxis()))
                BottomAxis()->DrawAxis(false);
        }
    }
}
