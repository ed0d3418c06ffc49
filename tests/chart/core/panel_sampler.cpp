// One picture of a chart panel: a gradient background with a see-through tiled back
// image, a border, bevels and round corners, and framed boxes with shadows, rounded
// corners, a gradient, a bevel, transparency, rotation and markup text. Saved as
// panel-sampler.png when TEST_ARTIFACTS_DIR is set.
#include "RizUridu.h"
#include "PixelProbe.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace {

using testsupport::Px;

class TSamplerPanel : public TCustomTeePanelExtended {
public:
    using TCustomTeePanelExtended::TCustomTeePanelExtended;
    std::function<void()> Contents;

protected:
    void DrawContents(const TRect& R) override
    {
        DrawBackground(R);
        if (Contents)
            Contents();
    }
};

// A 24 x 24 tile: a small silver diamond on a see-through (fuchsia) ground.
void MakeTile(TBitmap& tile)
{
    tile.SetSize(24, 24);
    TCanvas* c = tile.Canvas();
    c->Brush()->SetColor(clFuchsia);
    c->FillRect(TRect(0, 0, 24, 24));
    c->Pen()->SetColor(RGB(150, 170, 200));
    c->Brush()->SetColor(RGB(205, 215, 235));
    const TPoint diamond[] = {{12, 4}, {20, 12}, {12, 20}, {4, 12}};
    c->Polygon(diamond, 4);
    c->Flush();
    tile.SetTransparentMode(tmFixed);
    tile.SetTransparentColor(clFuchsia);
}

void Label(TCustomTeePanel* panel, TTeeCustomShape& box, const std::string& text, int angle = 0)
{
    TTeeCanvas3D* s = panel->Canvas();
    s->ApplyFont(box.Font());
    s->SetBackMode(TRANSPARENT);
    const TRect& r = box.ShapeBounds;
    if (box.TextFormat() == ttfHtml) {
        DrawMarkupText(s, r.Left + 8, r.Top + 6, text, panel->ChartRect);
    } else if (angle != 0) {
        s->SetTextAlign(TA_CENTER | TA_BASELINE);
        s->RotatedText((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2 + 4, angle, text);
    } else {
        s->SetTextAlign(TA_LEFT | TA_TOP);
        s->TextOut(r.Left + 8, r.Top + 6, text);
    }
}

} // namespace

TEST(PanelSampler, DrawsBackgroundFrameAndBoxes)
{
    TSamplerPanel panel(nullptr);
    panel.SetBounds(0, 0, 640, 420);
    TTeeGradient* g = panel.Gradient();
    g->SetStartColor(RGB(255, 255, 255));
    g->SetEndColor(RGB(120, 160, 220));
    g->SetDirection(gdTopBottom);
    g->SetVisible(true);
    panel.SetBevelOuter(bvRaised);
    panel.SetBevelInner(bvLowered);
    panel.SetBevelWidth(2);
    panel.SetBorderWidth(0);
    panel.SetBorderRound(18);
    panel.Border()->SetColor(clNavy);
    panel.Border()->SetWidth(2);
    panel.Border()->SetVisible(true);

    TBitmap tile;
    MakeTile(tile);
    panel.BackImage()->SetGraphic(&tile);
    panel.SetBackImageMode(pbmTile);
    panel.SetBackImageTransp(true);

    TTeeShape plain(&panel), round(&panel), turned(&panel), bevelled(&panel), glass(&panel), hidden(&panel);
    plain.SetColor(RGB(255, 250, 200));
    plain.ShapeBounds = TRect(40, 40, 250, 100);
    plain.Font()->SetSize(11);

    round.SetShapeStyle(fosRoundRectangle);
    round.Gradient()->SetStartColor(RGB(255, 255, 255));
    round.Gradient()->SetEndColor(RGB(255, 200, 120));
    round.Gradient()->SetVisible(true);
    round.SetTextFormat(ttfHtml);
    round.Font()->SetSize(10);
    round.ShapeBounds = TRect(280, 40, 600, 130);

    turned.SetColor(RGB(200, 240, 200));
    turned.Pen()->SetColor(clGreen);
    turned.Pen()->SetWidth(2);
    turned.Shadow()->SetColor(clGray);
    turned.Shadow()->SetSize(5);
    turned.ShapeBounds = TRect(60, 180, 260, 240);
    turned.Font()->SetSize(12);
    turned.Font()->SetStyle(fsBold);

    bevelled.SetColor(clSilver);
    bevelled.SetBevel(bvRaised);
    bevelled.SetBevelWidth(3);
    bevelled.Shadow()->SetSize(0);
    bevelled.ShapeBounds = TRect(330, 180, 560, 230);

    glass.SetColor(clRed);
    glass.SetTransparency(60);
    glass.Shadow()->SetSize(0);
    glass.ShapeBounds = TRect(360, 280, 580, 360);

    hidden.SetTransparent(true);
    hidden.SetColor(clBlack);
    hidden.ShapeBounds = TRect(60, 300, 300, 380);

    panel.Contents = [&] {
        plain.DrawAtOwnRect();
        Label(&panel, plain, "Framed box with a shadow");
        round.DrawAtOwnRect();
        Label(&panel, round,
              "<b>Markup</b> text in a <i>rounded</i> box<br><font color=red>red</font>, "
              "<font color=BLUE>blue</font> and x<super>2</super>");
        turned.DrawRectRotated(turned.ShapeBounds, 20);
        Label(&panel, turned, "Turned by 20 degrees", 20);
        bevelled.DrawAtOwnRect();
        Label(&panel, bevelled, "Raised bevel, no shadow");
        // Something to see through the transparent box.
        TCanvas* c = panel.Canvas()->ReferenceCanvas();
        c->Brush()->SetStyle(bsSolid);
        c->Brush()->SetColor(clBlue);
        c->Pen()->SetStyle(psClear);
        panel.Canvas()->FillRect(TRect(400, 300, 440, 400));
        glass.DrawAtOwnRect();
        Label(&panel, glass, "60 % transparent");
        hidden.DrawAtOwnRect();
        DrawCheckBox(c, 60, 395, true);
        DrawCheckBox(c, 80, 395, false);
        DrawCheckBox(c, 100, 395, true, true);
        DrawCheckBox(c, 120, 395, false, true);
    };

    std::unique_ptr<TBitmap> bmp = panel.DrawToBitmap(clWhite, TRect(0, 0, 640, 420));
    const std::string path = testsupport::ArtifactPath("panel-sampler.png");
    if (!path.empty())
        bmp->SaveToFile(path);

    // Between the tiles' diamonds the gradient shows: its end colour (blue) at the top,
    // its start colour (white) at the bottom.
    const TColor top = Px(*bmp, 24 * 13 + 1, 24 * 1 + 1), bottom = Px(*bmp, 24 * 13 + 1, 24 * 16 + 1);
    EXPECT_LT(GetRValue(top), GetRValue(bottom));
    EXPECT_GT(GetRValue(bottom), 230);
    // The border is navy along the middle of the top edge, the raised bevel white inside it.
    EXPECT_EQ(Px(*bmp, 320, 0), clNavy);
    EXPECT_EQ(Px(*bmp, 320, 1), clNavy);
    EXPECT_EQ(Px(*bmp, 320, 2), clWhite);
    // The plain box: its fill, its frame, and the black shadow below and right of it.
    EXPECT_EQ(Px(*bmp, 45, 90), RGB(255, 250, 200));
    EXPECT_EQ(Px(*bmp, 40, 70), clBlack);
    EXPECT_EQ(Px(*bmp, 150, 100), clBlack);
    EXPECT_EQ(Px(*bmp, 250, 70), clBlack);
    // The transparent box shows the blue bar through its red.
    const TColor through = Px(*bmp, 420, 340), beside = Px(*bmp, 370, 340);
    EXPECT_NE(through, beside);
    EXPECT_GT(GetBValue(through), GetBValue(beside));
    // The hidden (Transparent) box left the background untouched: nothing black there.
    int black = 0;
    for (int y = 305; y < 375; y += 5)
        for (int x = 65; x < 295; x += 5)
            black += Px(*bmp, x, y) == clBlack ? 1 : 0;
    EXPECT_EQ(black, 0);
}
