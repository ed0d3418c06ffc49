// One picture with everything the drawing surface paints: pen styles, brushes, shapes,
// rotated and shadowed text, the ten gradient directions, a soft shadow, a blended
// rectangle and the 3D solids in a rotated view. Saved as canvas-sampler.png when
// TEST_ARTIFACTS_DIR is set, so that a person can look at it.
#include "TeCanvas.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <set>

namespace {

void Caption(TTeeCanvas3D& s, int x, int y, const std::string& text)
{
    TCanvas* c = s.ReferenceCanvas();
    c->Font()->SetColor(clBlack);
    c->Font()->SetHeight(-11);
    c->Font()->SetStyle(0);
    c->Font()->SetOrientation(0);
    s.SetBackMode(TRANSPARENT);
    s.SetTextAlign(TA_LEFT | TA_TOP);
    s.TextOut(x, y, text);
}

void DrawSampler(TBitmap& bmp)
{
    TCanvas* c = bmp.Canvas();
    c->Brush()->SetColor(clWhite);
    c->FillRect(TRect(0, 0, bmp.Width(), bmp.Height()));

    TTeeCanvas3D s;
    s.SetBuffered(false);
    s.SetupProjection(c, nullptr, TRect(0, 0, bmp.Width(), bmp.Height()), false);
    AssignStylesToCanvas(&s);

    // Pen styles, thin and thick, and the small-dots pen.
    Caption(s, 10, 4, "Pen styles");
    const TPenStyle styles[] = {psSolid, psDash, psDot, psDashDot, psDashDotDot, psInsideFrame};
    for (int i = 0; i < 6; ++i) {
        TChartPen pen;
        pen.SetStyle(styles[i]);
        pen.SetColor(clNavy);
        s.AssignPen(&pen, pen.Color());
        s.Line(10, 24 + i * 8, 200, 24 + i * 8);
        TChartPen wide;
        wide.SetStyle(styles[i]);
        wide.SetWidth(3);
        wide.SetEndStyle(TPenEndStyle(i % 3));
        s.AssignPen(&wide, clMaroon);
        s.Line(220, 24 + i * 8, 410, 24 + i * 8);
    }
    TChartPen dots;
    dots.SetSmallDots(true);
    s.AssignPen(&dots, clGreen);
    s.Line(10, 76, 200, 76);
    dots.SetSmallSpace(3);
    s.AssignPen(&dots, clGreen);
    s.Line(220, 76, 410, 76);

    // Brushes and shapes.
    Caption(s, 430, 4, "Brushes and shapes");
    const TBrushStyle brushes[] = {bsSolid, bsClear, bsHorizontal, bsVertical, bsFDiagonal, bsBDiagonal, bsCross, bsDiagCross};
    TChartPen black;
    for (int i = 0; i < 8; ++i) {
        TChartBrush brush;
        brush.SetStyle(brushes[i]);
        s.AssignPen(&black, clBlack);
        AssignBrushToCanvas(&s, &brush, clTeal, i % 2 ? clYellow : clNone);
        s.Rectangle(430 + i * 45, 22, 470 + i * 45, 52);
    }
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(clSkyBlue);
    s.Ellipse(430, 58, 490, 88);
    c->Brush()->SetColor(clMoneyGreen);
    s.Pie(500, 58, 560, 118, 560, 88, 530, 58);
    c->Brush()->SetColor(clCream);
    s.RoundRect(570, 58, 640, 98, 16, 16);
    c->Brush()->SetColor(clFuchsia);
    s.RingSector(700, 88, 30, 30, 15, 15, 0.3, 2.4);
    c->Brush()->SetColor(clAqua);
    const TPoint star[] = {{770, 58}, {782, 96}, {750, 72}, {790, 72}, {758, 96}};
    s.Polygon(star, 4);
    TRect bevel(810, 58, 880, 110);
    s.BevelFrame(bevel, clWhite, 3, clGray);
    c->Brush()->SetColor(clBtnFace);
    s.FillRect(bevel);

    // Text: rotated, shadowed, outlined, gradient-filled.
    Caption(s, 10, 124, "Text");
    TTeeFont font;
    font.SetHeight(-16);
    font.SetColor(clBlack);
    s.ApplyFont(&font);
    s.SetBackMode(TRANSPARENT);
    for (int a = 0; a < 360; a += 45)
        s.RotatedText(90, 210, a, "   Rotate");
    TTeeFont shadowed;
    shadowed.SetHeight(-22);
    shadowed.SetStyle(fsBold);
    shadowed.SetColor(clNavy);
    shadowed.Shadow()->SetSize(3);
    shadowed.Shadow()->SetColor(clSilver);
    s.ApplyFont(&shadowed);
    s.TextOut(200, 140, "Shadowed text");
    TTeeFont outlined;
    outlined.SetHeight(-28);
    outlined.SetStyle(fsBold);
    outlined.SetColor(clYellow);
    outlined.OutLine()->Show();
    outlined.OutLine()->SetColor(clRed);
    s.ApplyFont(&outlined);
    s.TextOut(200, 175, "Outlined");
    TTeeFont graded;
    graded.SetHeight(-30);
    graded.SetStyle(fsBold);
    graded.Gradient()->SetVisible(true);
    graded.Gradient()->SetStartColor(clRed);
    graded.Gradient()->SetEndColor(clBlue);
    s.ApplyFont(&graded);
    s.TextOut(200, 215, "Gradient");
    TTeeFont transparentShadow;
    transparentShadow.SetHeight(-22);
    transparentShadow.SetStyle(fsBold | fsItalic);
    transparentShadow.Shadow()->SetHorizSize(-4);
    transparentShadow.Shadow()->SetVertSize(4);
    transparentShadow.Shadow()->SetColor(clRed);
    transparentShadow.Shadow()->SetTransparency(60);
    s.ApplyFont(&transparentShadow);
    s.TextOut(420, 140, "See-through shadow");
    // Gradient glyphs placed by their bottom edge, and turned like an axis title.
    s.ApplyFont(&graded);
    s.SetTextAlign(TA_LEFT | TA_BOTTOM);
    s.TextOut(420, 245, "Bottom");
    s.SetTextAlign(TA_LEFT | TA_TOP);
    s.RotatedText(640, 250, 90, "Turned");
    s.ClearCurrentFont();

    // The ten gradient directions.
    Caption(s, 10, 262, "Gradients");
    const char* names[] = {"TopBottom", "BottomTop", "LeftRight", "RightLeft", "FromCenter",
                           "FromTopLeft", "FromBottomLeft", "Radial", "DiagonalUp", "DiagonalDown"};
    for (int i = 0; i < 10; ++i) {
        TTeeGradient g;
        g.SetVisible(true);
        g.SetDirection(TGradientDirection(i));
        g.SetStartColor(clYellow);
        g.SetEndColor(clNavy);
        const TRect r(10 + i * 88, 280, 90 + i * 88, 340);
        g.Draw(&s, r);
        Caption(s, r.Left, r.Bottom + 2, names[i]);
    }
    TTeeGradient middle;
    middle.SetVisible(true);
    middle.SetStartColor(clRed);
    middle.SetMidColor(clWhite);
    middle.SetEndColor(clBlue);
    middle.Draw(&s, TRect(10, 360, 180, 400), 12);
    Caption(s, 10, 402, "Middle colour, rounded");

    // Soft shadow and a blended rectangle.
    TTeeShadow soft;
    soft.SetSize(8);
    soft.SetColor(clGray);
    soft.DrawShadow(&s, TRect(220, 360, 330, 410));
    c->Brush()->SetColor(clWhite);
    c->Brush()->SetStyle(bsSolid);
    s.AssignPen(&black, clBlack);
    s.Rectangle(220, 360, 330, 410);
    Caption(s, 226, 378, "Soft shadow");
    TTeeShadow round;
    round.SetSize(6);
    round.SetColor(clGray);
    round.DrawEllipse(&s, TRect(350, 360, 420, 410));
    c->Brush()->SetColor(clLime);
    s.Ellipse(350, 360, 420, 410);
    for (int i = 0; i < 8; ++i) {
        c->Brush()->SetColor(i % 2 ? clRed : clWhite);
        s.FillRect(TRect(450 + i * 15, 360, 465 + i * 15, 410));
    }
    auto blend = s.BeginTransparency(TRect(460, 370, 550, 400), 50);
    c->Brush()->SetColor(clBlue);
    s.FillRect(TRect(460, 370, 550, 400));
    s.EndTransparency(std::move(blend));
    Caption(s, 450, 412, "Blend 50 %");

    // 3D solids in a rotated view.
    TView3DOptions view;
    view.SetOrthogonal(false);
    view.SetElevation(340);
    view.SetRotation(330);
    view.SetPerspective(20);
    const TRect area(20, 440, 880, 690);
    s.SetupProjection(c, &view, area, true);
    s.SetupView(60, area);
    Caption(s, 10, 430, "3D solids");
    s.AssignPen(&black, clBlack);
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(clRed);
    s.BoxBetweenDepths(60, 160, 520, 640, 0, 60, true);
    c->Brush()->SetColor(clLime);
    s.Cylinder(true, TRect(200, 520, 290, 640), 0, 60, true);
    c->Brush()->SetColor(clYellow);
    s.Cone(true, TRect(330, 500, 420, 640), 0, 60, true, 0);
    c->Brush()->SetColor(clAqua);
    s.Pyramid(true, 460, 500, 560, 640, 0, 60, true);
    c->Brush()->SetColor(clFuchsia);
    s.SolidPieSlice(680, 580, 80, 60, 0.4, 4.2, 0, 40, 0, true, true, true);
    c->Brush()->SetColor(clSkyBlue);
    s.SolidPieSlice(690, 570, 80, 60, 4.3, 6.5, 0, 40, 40, true, true, true);
    c->Brush()->SetColor(clTeal);
    s.Cylinder(false, TRect(60, 660, 300, 690), 0, 30, true);
    c->Brush()->SetColor(clOlive);
    s.Arrow(true, TPoint(420, 680), TPoint(560, 660), 24, 20, 30, 40);
    s.AssignPen(&black, clNavy);
    s.EllipseAtDepth(600, 650, 700, 690, 30);
    // Outlines only: the hidden sides stay hidden.
    s.AssignPen(&black, clBlack);
    c->Brush()->SetStyle(bsClear);
    s.Cylinder(true, TRect(790, 445, 850, 510), 0, 40, false);
    s.Pyramid(true, 790, 525, 850, 590, 0, 40, false);
    c->Brush()->SetStyle(bsSolid);
    s.BeginNested();
    Caption(s, 760, 682, "flat caption");
    s.EndNested();
}

} // namespace

TEST(CanvasSampler, DrawsEveryKindOfOutput)
{
    TBitmap bmp(900, 700);
    DrawSampler(bmp);
    // A busy picture: many colours, ink in every band.
    std::set<TColor> colours;
    for (int y = 0; y < bmp.Height(); y += 3)
        for (int x = 0; x < bmp.Width(); x += 3) {
            const TRGBQuad q = bmp.ScanLine(y)[x];
            colours.insert(RGB(q.rgbRed, q.rgbGreen, q.rgbBlue));
        }
    EXPECT_GT(colours.size(), 200u);
    auto inkIn = [&](int top, int bottom) {
        int n = 0;
        for (int y = top; y < bottom; ++y)
            for (int x = 0; x < bmp.Width(); ++x) {
                const TRGBQuad q = bmp.ScanLine(y)[x];
                n += (q.rgbRed & q.rgbGreen & q.rgbBlue) != 255 ? 1 : 0;
            }
        return n;
    };
    EXPECT_GT(inkIn(20, 80), 1000);
    EXPECT_GT(inkIn(130, 250), 2000);
    EXPECT_GT(inkIn(280, 340), 40000);
    EXPECT_GT(inkIn(440, 700), 30000);
    const std::string path = testsupport::ArtifactPath("canvas-sampler.png");
    if (!path.empty())
        bmp.SaveToFile(path);
}
