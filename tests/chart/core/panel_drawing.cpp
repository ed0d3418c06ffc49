// What the panel draws: background colour, border and bevels, the back image in its
// modes, the window paint through the off-screen buffer, pictures and printing.
#include "RizUridu.h"
#include "PixelProbe.h"
#include "TestSupport.h"

#include "controls/Printers.h"
#include "graphics/Metafile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>

namespace {

using testsupport::Px;

// A panel that draws its background and counts its drawings.
class TTestPanel : public TCustomTeePanelExtended {
public:
    using TCustomTeePanelExtended::TCustomTeePanelExtended;
    int Draws = 0;
    std::function<void()> Contents;

protected:
    void DrawContents(const TRect& R) override
    {
        ++Draws;
        DrawBackground(R);
        if (Contents)
            Contents();
    }
};

// A plain panel of one colour, no bevels.
void Plain(TTestPanel& panel, int w, int h, TColor color)
{
    panel.SetBounds(0, 0, w, h);
    panel.SetBevelOuter(bvNone);
    panel.SetColor(color);
}

// A bitmap of w x h filled with one colour, with (0, 0) in another.
std::unique_ptr<TBitmap> Marked(int w, int h, TColor fill, TColor mark)
{
    auto b = std::make_unique<TBitmap>(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const TColor c = x == 0 && y == 0 ? mark : fill;
            b->ScanLine(y)[x] = TRGBQuad{uint8_t(GetBValue(c)), uint8_t(GetGValue(c)), uint8_t(GetRValue(c)), 0};
        }
    return b;
}

} // namespace

TEST(PanelBitmap, BackgroundColourBorderAndBevels)
{
    TTestPanel panel(nullptr);
    Plain(panel, 100, 60, clYellow);
    auto bmp = panel.DrawToBitmap(clWhite, TRect(0, 0, 100, 60));
    ASSERT_EQ(bmp->Width(), 100);
    ASSERT_EQ(bmp->Height(), 60);
    EXPECT_EQ(Px(*bmp, 0, 0), clYellow);
    EXPECT_EQ(Px(*bmp, 99, 59), clYellow);

    // A red border of 1, then a raised bevel of 2: highlight top-left, shadow bottom-right.
    panel.Border()->SetColor(clRed);
    panel.Border()->SetVisible(true);
    panel.SetBevelOuter(bvRaised);
    panel.SetBevelWidth(2);
    bmp = panel.DrawToBitmap(clWhite, TRect(0, 0, 100, 60));
    const TColor light = ColorToRGB(clBtnHighlight), dark = ColorToRGB(clBtnShadow);
    for (auto [x, y] : {std::pair{0, 0}, {50, 0}, {99, 30}, {50, 59}, {0, 59}})
        EXPECT_EQ(Px(*bmp, x, y), clRed) << x << "," << y;
    EXPECT_EQ(Px(*bmp, 1, 30), light);
    EXPECT_EQ(Px(*bmp, 2, 30), light);
    EXPECT_EQ(Px(*bmp, 50, 1), light);
    EXPECT_EQ(Px(*bmp, 98, 30), dark);
    EXPECT_EQ(Px(*bmp, 97, 30), dark);
    EXPECT_EQ(Px(*bmp, 50, 58), dark);
    EXPECT_EQ(Px(*bmp, 3, 3), clYellow);
    // A lowered bevel swaps the colours.
    panel.SetBevelOuter(bvLowered);
    bmp = panel.DrawToBitmap(clWhite, TRect(0, 0, 100, 60));
    EXPECT_EQ(Px(*bmp, 1, 30), dark);
    EXPECT_EQ(Px(*bmp, 98, 30), light);
}

TEST(PanelBitmap, ClNoneFillsNothingAndGradientFillsAll)
{
    TTestPanel panel(nullptr);
    Plain(panel, 50, 40, clNone);
    auto bmp = panel.DrawToBitmap(clAqua, TRect(0, 0, 50, 40));
    EXPECT_EQ(Px(*bmp, 25, 20), clAqua);
    EXPECT_EQ(Px(*bmp, 0, 0), clAqua);

    panel.SetColor(clRed);
    TTeeGradient* g = panel.Gradient();
    g->SetStartColor(clWhite);
    g->SetEndColor(clBlack);
    g->SetDirection(gdLeftRight);
    g->SetVisible(true);
    bmp = panel.DrawToBitmap(clWhite, TRect(0, 0, 50, 40));
    EXPECT_NE(Px(*bmp, 2, 20), Px(*bmp, 47, 20));
    EXPECT_EQ(Px(*bmp, 25, 20) & 0xFF, GetBValue(Px(*bmp, 25, 20)));   // a gray, no red
    panel.SetGradient(nullptr);
    EXPECT_FALSE(panel.HasGradient());
    bmp = panel.DrawToBitmap(clWhite, TRect(0, 0, 50, 40));
    EXPECT_EQ(Px(*bmp, 25, 20), clRed);
}

TEST(PanelBitmap, ShadowLeavesTheParentColourInTheCorner)
{
    TTestPanel panel(nullptr);
    Plain(panel, 60, 40, clYellow);
    panel.Shadow()->SetColor(clBlack);
    panel.Shadow()->SetSmooth(false);
    panel.Shadow()->SetSize(4);
    auto bmp = panel.DrawToBitmap(clWhite, TRect(0, 0, 60, 40));
    EXPECT_EQ(Px(*bmp, 10, 10), clYellow);
    EXPECT_EQ(Px(*bmp, 30, 38), clBlack);   // under the panel
    EXPECT_EQ(Px(*bmp, 58, 20), clBlack);   // right of it
    EXPECT_EQ(Px(*bmp, 58, 1), clYellow);   // the top-right corner: the panel's own colour
    EXPECT_EQ(Px(*bmp, 1, 38), clYellow);
}

TEST(PanelBitmap, AShadowLargerThanThePanelLeavesItsGradient)
{
    TTestPanel panel(nullptr);
    Plain(panel, 60, 40, clYellow);
    TTeeGradient* g = panel.Gradient();
    g->SetStartColor(clRed);
    g->SetEndColor(clRed);
    g->SetVisible(true);
    panel.Shadow()->SetColor(clBlack);
    panel.Shadow()->SetSmooth(false);
    panel.Shadow()->SetSize(100);
    auto bmp = panel.DrawToBitmap(clWhite, TRect(0, 0, 60, 40));
    if (const std::string path = testsupport::ArtifactPath("panel-shadow-larger-than-panel.png"); !path.empty())
        bmp->SaveToFile(path);
    for (auto [x, y] : {std::pair{1, 1}, {30, 20}, {58, 38}})
        EXPECT_EQ(Px(*bmp, x, y), clRed) << x << "," << y;
    // A shadow that still fits keeps the gradient on what it leaves of the panel.
    panel.Shadow()->SetSize(10);
    bmp = panel.DrawToBitmap(clWhite, TRect(0, 0, 60, 40));
    EXPECT_EQ(Px(*bmp, 20, 15), clRed);
    EXPECT_EQ(Px(*bmp, 55, 35), clBlack);
}

TEST(PanelBackImage, TileStretchCentreAndCustom)
{
    TTestPanel panel(nullptr);
    Plain(panel, 35, 25, clYellow);
    auto tile = Marked(10, 10, clGreen, clRed);
    panel.BackImage()->SetGraphic(tile.get());
    panel.SetBackImageMode(pbmTile);
    auto bmp = panel.DrawToBitmap(clWhite, TRect(0, 0, 35, 25));
    for (int y : {0, 10, 20})
        for (int x : {0, 10, 20, 30})
            EXPECT_EQ(Px(*bmp, x, y), clRed) << x << "," << y;
    EXPECT_EQ(Px(*bmp, 5, 5), clGreen);
    EXPECT_EQ(Px(*bmp, 34, 24), clGreen);

    // Stretched over the whole panel: the marked pixel grows to 3 x 2 pixels.
    panel.SetBackImageMode(pbmStretch);
    bmp = panel.DrawToBitmap(clWhite, TRect(0, 0, 35, 25));
    EXPECT_EQ(Px(*bmp, 2, 1), clRed);
    EXPECT_EQ(Px(*bmp, 4, 3), clGreen);
    EXPECT_EQ(Px(*bmp, 34, 24), clGreen);

    // Centred at its own size on the filled background.
    auto blue = Marked(10, 10, clBlue, clBlue);
    panel.BackImage()->SetGraphic(blue.get());
    panel.SetBackImageMode(pbmCenter);
    bmp = panel.DrawToBitmap(clWhite, TRect(0, 0, 35, 25));
    EXPECT_EQ(Px(*bmp, 12, 7), clBlue);
    EXPECT_EQ(Px(*bmp, 21, 16), clBlue);
    EXPECT_EQ(Px(*bmp, 11, 6), clYellow);
    EXPECT_EQ(Px(*bmp, 22, 17), clYellow);

    // At Left, Top.
    panel.SetBackImageMode(pbmCustom);
    panel.BackImage()->SetLeft(3);
    panel.BackImage()->SetTop(4);
    bmp = panel.DrawToBitmap(clWhite, TRect(0, 0, 35, 25));
    EXPECT_EQ(Px(*bmp, 3, 4), clBlue);
    EXPECT_EQ(Px(*bmp, 12, 13), clBlue);
    EXPECT_EQ(Px(*bmp, 2, 4), clYellow);
    EXPECT_EQ(Px(*bmp, 13, 13), clYellow);

    // An inside image belongs to the chart's back wall: the background leaves it out.
    panel.SetBackImageInside(true);
    bmp = panel.DrawToBitmap(clWhite, TRect(0, 0, 35, 25));
    EXPECT_EQ(Px(*bmp, 3, 4), clYellow);
}

TEST(PanelWindow, PaintsThroughTheBufferUntilARepaintIsRequested)
{
    TTestPanel panel(nullptr);
    Plain(panel, 120, 80, clLime);
    panel.PaintWindow();
    EXPECT_EQ(panel.Draws, 1);
    EXPECT_EQ(panel.ReferenceCanvas()->Pixel(60, 40), clLime);

    panel.PaintWindow();   // the buffer is still valid: copied, not drawn
    EXPECT_EQ(panel.Draws, 1);
    EXPECT_EQ(panel.ReferenceCanvas()->Pixel(60, 40), clLime);

    panel.SetColor(clMaroon);
    panel.PaintWindow();
    EXPECT_EQ(panel.Draws, 2);
    EXPECT_EQ(panel.ReferenceCanvas()->Pixel(60, 40), clMaroon);

    // Without AutoRepaint a change asks for nothing; the old picture stays.
    panel.SetAutoRepaint(false);
    panel.SetColor(clNavy);
    panel.PaintWindow();
    EXPECT_EQ(panel.Draws, 2);
    panel.SetAutoRepaint(true);

    // Pictures drawn elsewhere do not take the window's buffer.
    auto bmp = panel.DrawToBitmap(clWhite, TRect(0, 0, 30, 30));
    EXPECT_EQ(Px(*bmp, 10, 10), clNavy);
    EXPECT_EQ(panel.Draws, 3);
    panel.PaintWindow();
    EXPECT_EQ(panel.Draws, 4);
    EXPECT_EQ(panel.ReferenceCanvas()->Pixel(119, 79), clNavy);

    // Unbuffered, every paint draws.
    panel.SetCanvasBuffered(false);
    EXPECT_FALSE(panel.GetBufferedDisplay());
    panel.PaintWindow();
    panel.PaintWindow();
    EXPECT_EQ(panel.Draws, 6);
}

TEST(PanelWindow, RoundBorderShapesTheWindow)
{
    TTestPanel panel(nullptr);
    panel.SetBorderRound(20);
    EXPECT_TRUE(panel.HasWindowRegion());
    panel.SetBorderRound(0);
    EXPECT_FALSE(panel.HasWindowRegion());
}

TEST(PanelPicture, CopiesItselfIntoAPicture)
{
    TTestPanel panel(nullptr);
    Plain(panel, 70, 30, clTeal);
    TPicture picture;
    picture.Assign(&panel);
    ASSERT_EQ(picture.Width(), 70);
    ASSERT_EQ(picture.Height(), 30);
    EXPECT_EQ(Px(*picture.Bitmap(), 35, 15), clTeal);
    TStringList list;
    EXPECT_THROW(list.Assign(&panel), EConvertError);
}

TEST(PanelPicture, RecordsItselfAsAMetafile)
{
    TTestPanel panel(nullptr);
    Plain(panel, 80, 50, clYellow);
    bool metafiling = false;
    panel.Contents = [&] {
        metafiling = panel.Canvas()->MetafileOrPrinting();
        TCanvas* c = panel.Canvas()->ReferenceCanvas();
        c->Brush()->SetStyle(bsSolid);
        c->Brush()->SetColor(clBlue);
        panel.Canvas()->FillRect(TRect(10, 10, 30, 20));
    };
    std::unique_ptr<TMetafile> meta = panel.DrawToMetafile(true, TRect(0, 0, 80, 50));
    ASSERT_TRUE(meta);
    EXPECT_TRUE(metafiling);
    EXPECT_FALSE(panel.Canvas()->MetafileOrPrinting());
    EXPECT_TRUE(meta->Enhanced());
    EXPECT_FALSE(meta->Empty());
    EXPECT_EQ(meta->Width(), 80);
    EXPECT_EQ(meta->Height(), 50);
    // Played back, it shows what was drawn.
    TBitmap shown(80, 50);
    meta->Draw(*shown.Canvas(), TRect(0, 0, 80, 50));
    shown.Canvas()->Flush();
    EXPECT_EQ(Px(shown, 40, 40), clYellow);
    EXPECT_EQ(Px(shown, 15, 15), clBlue);
    EXPECT_EQ(Px(shown, 35, 15), clYellow);

    // A plain metafile; an empty rectangle still makes a picture of one pixel.
    meta = panel.DrawToMetafile(false, TRect(5, 5, 5, 5));
    EXPECT_FALSE(meta->Enhanced());
    EXPECT_EQ(meta->Width(), 1);
    EXPECT_EQ(meta->Height(), 1);
    // The window still paints itself afterwards.
    panel.PaintWindow();
    EXPECT_EQ(panel.ReferenceCanvas()->Pixel(40, 40), clYellow);
}

TEST(PanelPrint, PrintsToAPdfFile)
{
    TTestPanel panel(nullptr);
    Plain(panel, 300, 200, clYellow);
    panel.SetBevelOuter(bvRaised);
    bool printingSeen = false, clipSeen = false;
    TCanvas* beforePrintCanvas = nullptr;
    panel.OnBeforePrint = [&](TObject*, TCanvas* c, const TRect&) { beforePrintCanvas = c; };
    panel.Contents = [&] {
        printingSeen = panel.Printing();
        clipSeen = panel.ClippingAllowed();
    };
    const std::string file = testsupport::TempDir() + "/chart.pdf";
    TPrinter* printer = Printer();
    printer->SetFileName(file);
    printer->BeginDoc();
    panel.PrintToPrinter(panel.CalcPrintRect());
    printer->EndDoc();
    printer->SetFileName({});
    EXPECT_TRUE(printingSeen);
    EXPECT_TRUE(clipSeen);
    EXPECT_EQ(beforePrintCanvas, printer->Canvas());
    EXPECT_FALSE(panel.Printing());
    ASSERT_TRUE(std::filesystem::exists(file));
    EXPECT_GT(std::filesystem::file_size(file), 500u);
    std::ifstream in(file, std::ios::binary);
    std::string head(4, '\0');
    in.read(head.data(), 4);
    EXPECT_EQ(head, "%PDF");
}

TEST(PanelPrint, ScalesIntoTheRectangleAndRestoresTheCanvas)
{
    TTestPanel panel(nullptr);
    Plain(panel, 400, 250, clYellow);
    TBitmap page(300, 200);
    TCanvas* c = page.Canvas();
    // A printed panel leaves its colour out.
    panel.PrintPartialCanvas(c, TRect(20, 10, 220, 135));
    EXPECT_EQ(Px(page, 100, 60), clWhite);
    // Contents that fill the chart themselves.
    panel.Contents = [&] {
        TCanvas* rc = panel.Canvas()->ReferenceCanvas();
        rc->Brush()->SetStyle(bsSolid);
        rc->Brush()->SetColor(clYellow);
        panel.Canvas()->FillRect(panel.ChartBounds);
    };
    panel.PrintPartialCanvas(c, TRect(20, 10, 220, 135));
    // The whole 400 x 250 chart lands in the 200 x 125 rectangle.
    EXPECT_EQ(Px(page, 20, 10), clYellow);
    EXPECT_EQ(Px(page, 219, 134), clYellow);
    EXPECT_EQ(Px(page, 221, 136), clWhite);
    EXPECT_EQ(Px(page, 19, 9), clWhite);
    EXPECT_EQ(c->MapMode(), MM_TEXT);
    EXPECT_EQ(c->ClipDepth(), 0);

    // A resolution of 100 % still leaves a chart of one logical pixel.
    panel.SetPrintResolution(100);
    panel.PrintPartialCanvas(c, TRect(0, 0, 100, 100));
    EXPECT_EQ(panel.ChartBounds.Width(), 1);
    EXPECT_EQ(panel.ChartBounds.Height(), 1);
    panel.SetPrintResolution(0);

    // Drawing that raises still ends the printing state and the canvas' mapping.
    panel.Contents = [] { throw Exception("broken"); };
    EXPECT_THROW(panel.PrintPartialCanvas(c, TRect(0, 0, 100, 100)), Exception);
    EXPECT_FALSE(panel.Printing());
    EXPECT_EQ(c->MapMode(), MM_TEXT);
    EXPECT_EQ(c->ClipDepth(), 0);
    EXPECT_TRUE(panel.GetBufferedDisplay());
}

TEST(PanelPrint, BeforePrintDrawsWhereTheChartGoes)
{
    TTestPanel panel(nullptr);
    Plain(panel, 400, 250, clYellow);
    TBitmap page(300, 200);
    TCanvas* c = page.Canvas();
    // The handler fills the rectangle it is given; the panel's own colour is left out
    // of a print, so only the handler's fill shows.
    TRect told;
    panel.OnBeforePrint = [&](TObject* Sender, TCanvas* Canvas, const TRect& R) {
        EXPECT_EQ(Sender, &panel);
        told = R;
        Canvas->Brush()->SetStyle(bsSolid);
        Canvas->Brush()->SetColor(clGreen);
        Canvas->FillRect(R);
    };
    panel.PrintPartialCanvas(c, TRect(20, 10, 220, 135));
    // In the chart's units: the 400 x 250 chart, its corner scaled along.
    EXPECT_EQ(told, TRect(40, 20, 440, 270));
    EXPECT_EQ(Px(page, 20, 10), clGreen);
    EXPECT_EQ(Px(page, 219, 134), clGreen);
    EXPECT_EQ(Px(page, 19, 9), clWhite);
    EXPECT_EQ(Px(page, 221, 136), clWhite);
}

TEST(PanelWindow, PrintSettingsAskForARepaint)
{
    TTestPanel panel(nullptr);
    Plain(panel, 60, 40, clLime);
    panel.PaintWindow();
    ASSERT_TRUE(panel.Canvas()->BufferValid());
    panel.SetPrintProportional(true);   // unchanged: nothing to do
    EXPECT_TRUE(panel.Canvas()->BufferValid());
    panel.SetPrintProportional(false);
    EXPECT_FALSE(panel.PrintProportional());
    EXPECT_FALSE(panel.Canvas()->BufferValid());
    panel.PaintWindow();
    panel.SetPrintResolution(30);
    EXPECT_EQ(panel.PrintResolution(), 30);
    EXPECT_FALSE(panel.Canvas()->BufferValid());
}
