// What self-painting controls show: their Paint on the window image, the panel's bevels
// and caption, cursors from the screen's list, window shapes, the printer's PDF output
// and the program's bitmap resources.
#include "TestSupport.h"

#include "controls/ComboCtrls.h"
#include "controls/CustomControls.h"
#include "controls/Printers.h"
#include "controls/Resources.h"
#include "controls/StdButtons.h"
#include "graphics/Bitmap.h"

#include <QCoreApplication>
#include <QCursor>
#include <QEvent>
#include <QImage>
#include <QPixmap>
#include <QWidget>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace {

TColor At(const QImage& img, int x, int y)
{
    const QRgb p = img.pixel(x, y);
    return RGB(qRed(p), qGreen(p), qBlue(p));
}

// Paints a red square at (10, 10) on whatever was erased before.
class TSquareControl : public TCustomControl {
public:
    using TCustomControl::TCustomControl;
    int Paints = 0;

protected:
    void Paint() override
    {
        ++Paints;
        Canvas()->Brush()->SetColor(clRed);
        Canvas()->FillRect(TRect(10, 10, 20, 20));
    }
};

} // namespace

TEST(CustomControlPaint, PaintDrawsOnTheErasedWindowImage)
{
    TSquareControl control(nullptr);
    control.SetBounds(0, 0, 40, 30);
    control.SetColor(clYellow);
    const QImage shown = control.Widget()->grab().toImage();
    EXPECT_GE(control.Paints, 1);
    ASSERT_EQ(shown.width(), 40);
    EXPECT_EQ(At(shown, 15, 15), clRed);
    EXPECT_EQ(At(shown, 2, 2), clYellow);
    // Between paints the canvas keeps the picture.
    EXPECT_EQ(control.Canvas()->Pixel(12, 12), clRed);
}

// Run once more on a screen of twice the density (QT_SCALE_FACTOR=2, see the test list):
// the window image has the screen's density, the canvas keeps the window's units.
TEST(CustomControlDensity, WindowImageHasTheScreensDensity)
{
    struct TLineControl : TCustomControl {
        using TCustomControl::TCustomControl;
        void Paint() override
        {
            Canvas()->Pen()->SetColor(clBlack);
            Canvas()->MoveTo(5, 10);
            Canvas()->LineTo(30, 10);
        }
    } control(nullptr);
    control.SetBounds(0, 0, 40, 30);
    control.SetColor(clWhite);
    const QImage shown = control.Widget()->grab().toImage();
    const int k = int(control.Widget()->devicePixelRatio());
    ASSERT_GE(k, 1);
    EXPECT_EQ(shown.width(), 40 * k);
    EXPECT_EQ(control.Canvas()->DeviceSize(), TSize(40, 30));
    EXPECT_EQ(control.Canvas()->PixelRatio(), double(k));
    // The one-pixel line covers k rows of k pixels per unit, from x = 5 to 29.
    for (int i = 0; i < k; ++i) {
        EXPECT_EQ(At(shown, 5 * k, 10 * k + i), clBlack);
        EXPECT_EQ(At(shown, 30 * k - 1, 10 * k + i), clBlack);
    }
    EXPECT_EQ(At(shown, 30 * k, 10 * k), clWhite);
    EXPECT_EQ(At(shown, 20 * k, 10 * k - 1), clWhite);
    EXPECT_EQ(At(shown, 20 * k, 11 * k), clWhite);
}

// Run once more on a screen of twice the density: a button's face, the toolkit's caption
// and what PaintOver adds, is drawn at the screen's density, not enlarged from one pixel
// per unit (which left captions blocky at 200 % and blurred at 125 %).
TEST(ButtonDensity, FaceAndPaintOverTakeTheScreensDensity)
{
    struct TSwatchButton : TButton {
        using TButton::TButton;
        double SeenRatio = 0;
        void PaintOver(TCanvas* Canvas) override
        {
            SeenRatio = Canvas->PixelRatio();
            Canvas->Pen()->SetColor(clRed);
            Canvas->MoveTo(60, 12);
            Canvas->LineTo(70, 12);
        }
    } button(nullptr);
    button.SetBounds(0, 0, 80, 25);
    button.SetCaption("Border...");
    const QImage shown = button.Widget()->grab().toImage();
    const int k = int(button.Widget()->devicePixelRatio());
    ASSERT_EQ(shown.width(), 80 * k);
    EXPECT_EQ(button.SeenRatio, double(k));
    for (int i = 0; i < k; ++i)
        EXPECT_EQ(At(shown, 60 * k, 12 * k + i), clRed);
    EXPECT_NE(At(shown, 60 * k, 13 * k), clRed);
    // An enlarged picture repeats each pixel over a k x k block; the caption drawn at
    // the density has blocks whose pixels differ.
    if (k > 1) {
        int mixed = 0;
        for (int y = 0; y + k <= shown.height(); y += k)
            for (int x = 0; x + k <= shown.width(); x += k)
                for (int j = 0; j < k * k; ++j)
                    if (shown.pixel(x + j % k, y + j / k) != shown.pixel(x, y)) {
                        ++mixed;
                        break;
                    }
        EXPECT_GT(mixed, 20);
    }
}

// Run once more on a screen of twice the density: the closed owner-drawn box draws its
// item and what PaintOver adds on canvases of the screen's density.
TEST(ComboDensity, OwnerDrawnItemTakesTheScreensDensity)
{
    struct TRatioCombo : TOwnerDrawComboBox {
        using TOwnerDrawComboBox::TOwnerDrawComboBox;
        double ItemRatio = 0, OverRatio = 0;
        void DrawItem(int, const TRect& Rect, TOwnerDrawState) override
        {
            ItemRatio = Canvas()->PixelRatio();
            Canvas()->FillRect(Rect);
        }
        void PaintOver(TCanvas* Canvas) override { OverRatio = Canvas->PixelRatio(); }
    } combo(nullptr);
    combo.SetOwnerDraw(true);
    combo.Items()->Add("line");
    combo.SetItemIndex(0);
    combo.SetBounds(0, 0, 120, 24);
    const QImage shown = combo.Widget()->grab().toImage();
    const int k = int(combo.Widget()->devicePixelRatio());
    ASSERT_GE(shown.width(), 40 * k);
    EXPECT_EQ(combo.ItemRatio, double(k));
    EXPECT_EQ(combo.OverRatio, double(k));
}

TEST(CustomControlPaint, NewSystemColoursRepaint)
{
    // Counts the repaint requests that reach the control.
    struct TCountingControl : TCustomControl {
        using TCustomControl::TCustomControl;
        int Requests = 0;
        void Repaint() override
        {
            ++Requests;
            TCustomControl::Repaint();
        }
    } control(nullptr);
    control.SetBounds(0, 0, 20, 20);
    const int before = control.Requests;
    QEvent colours(QEvent::PaletteChange), font(QEvent::FontChange);
    QCoreApplication::sendEvent(control.Widget(), &colours);
    EXPECT_EQ(control.Requests, before + 1);
    QCoreApplication::sendEvent(control.Widget(), &font);
    EXPECT_EQ(control.Requests, before + 1);
}

TEST(CustomControlPaint, PanelBevelsBorderAndCaption)
{
    TCustomPanel panel(nullptr);
    panel.SetBounds(0, 0, 60, 40);
    panel.SetBevelInner(bvLowered);
    panel.SetBorderWidth(2);
    int l, t, w, h;
    panel.GetClientArea(l, t, w, h);
    EXPECT_EQ(l, 4);
    EXPECT_EQ(w, 52);
    panel.PaintWindow();
    TCanvas* c = panel.Canvas();
    const TColor light = ColorToRGB(clBtnHighlight), dark = ColorToRGB(clBtnShadow), face = ColorToRGB(clBtnFace);
    EXPECT_EQ(c->Pixel(0, 20), light);    // raised outer bevel
    EXPECT_EQ(c->Pixel(59, 20), dark);
    EXPECT_EQ(c->Pixel(1, 20), face);     // border in the panel colour
    EXPECT_EQ(c->Pixel(3, 20), dark);     // lowered inner bevel
    EXPECT_EQ(c->Pixel(56, 20), light);

    // The caption is drawn only while ShowCaption.
    auto ink = [&] {
        int n = 0;
        for (int y = 5; y < 35; ++y)
            for (int x = 5; x < 55; ++x)
                n += c->Pixel(x, y) == clBlack ? 1 : 0;
        return n;
    };
    panel.SetCaption("Wm");
    panel.PaintWindow();
    EXPECT_GT(ink(), 5);
    panel.SetShowCaption(false);
    panel.PaintWindow();
    EXPECT_EQ(ink(), 0);
}

TEST(CustomControlPaint, CursorsFromTheScreensList)
{
    TBitmap arrow(8, 8);
    TCanvas* c = arrow.Canvas();
    c->Brush()->SetColor(clFuchsia);
    c->FillRect(TRect(0, 0, 8, 8));
    c->Brush()->SetColor(clBlack);
    c->FillRect(TRect(0, 0, 4, 4));
    c->Flush();
    constexpr TCursor custom = 4711;
    EXPECT_FALSE(Screen()->HasCursor(custom));
    Screen()->SetCursorImage(custom, arrow, clFuchsia, TPoint(1, 2));
    EXPECT_TRUE(Screen()->HasCursor(custom));

    TCustomControl control(nullptr);
    control.SetCursor(custom);
    const QCursor shown = control.Widget()->cursor();
    EXPECT_EQ(shown.shape(), Qt::BitmapCursor);
    EXPECT_EQ(shown.hotSpot(), QPoint(1, 2));
    const QImage img = shown.pixmap().toImage().convertToFormat(QImage::Format_ARGB32);
    EXPECT_EQ(qAlpha(img.pixel(1, 1)), 255);
    EXPECT_EQ(qAlpha(img.pixel(6, 6)), 0);   // the transparent colour is see-through

    control.SetCursor(crCross);
    EXPECT_EQ(control.Widget()->cursor().shape(), Qt::CrossCursor);
    control.SetCursor(crHandPoint);
    EXPECT_EQ(control.Widget()->cursor().shape(), Qt::PointingHandCursor);
    Screen()->RemoveCursor(custom);
    EXPECT_FALSE(Screen()->HasCursor(custom));
    EXPECT_TRUE(Screen()->HasCursor(crHourGlass));
}

TEST(CustomControlPaint, WindowRegionShapesTheWindow)
{
    TCustomControl control(nullptr);
    control.SetBounds(0, 0, 50, 50);
    const TRegion round = TRegion::CreateEllipse(0, 0, 50, 50);
    control.SetWindowRegion(&round);
    EXPECT_TRUE(control.HasWindowRegion());
    EXPECT_FALSE(control.Widget()->mask().contains(QPoint(1, 1)));
    EXPECT_TRUE(control.Widget()->mask().contains(QPoint(25, 25)));
    control.SetWindowRegion(nullptr);
    EXPECT_FALSE(control.HasWindowRegion());
    EXPECT_TRUE(control.Widget()->mask().isEmpty());
}

TEST(CustomControlPaint, PrinterWritesAPdfFile)
{
    TPrinter printer;
    const std::string file = testsupport::TempDir() + "/page.pdf";
    printer.SetFileName(file);
    printer.SetTitle("test page");
    EXPECT_THROW(printer.NewPage(), EPrinter);
    printer.SetOrientation(poLandscape);
    EXPECT_EQ(printer.Orientation(), poLandscape);
    EXPECT_GT(printer.PageWidth(), printer.PageHeight());
    printer.BeginDoc();
    EXPECT_TRUE(printer.Printing());
    EXPECT_THROW(printer.BeginDoc(), EPrinter);
    EXPECT_THROW(printer.SetOrientation(poPortrait), EPrinter);
    TCanvas* c = printer.Canvas();
    c->Brush()->SetColor(clNavy);
    c->FillRect(TRect(100, 100, 600, 400));
    c->TextOut(100, 500, "first page");
    printer.NewPage();
    EXPECT_EQ(printer.PageNumber(), 2);
    c->TextOut(100, 100, "second page");
    printer.EndDoc();
    EXPECT_FALSE(printer.Printing());
    ASSERT_TRUE(std::filesystem::exists(file));
    std::ifstream in(file, std::ios::binary);
    const std::string pdf((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(pdf.substr(0, 4), "%PDF");
    EXPECT_NE(pdf.find("/Count 2"), std::string::npos);   // two pages
    EXPECT_THROW(printer.EndDoc(), EPrinter);
}

TEST(CustomControlPaint, BitmapResourcesOfTheProgram)
{
    EXPECT_TRUE(BitmapResourceExists("TChart"));
    EXPECT_FALSE(BitmapResourceExists("tchart"));
    EXPECT_FALSE(BitmapResourceExists(""));
    TBitmap bmp(3, 3);
    EXPECT_FALSE(LoadBitmapResource(&bmp, "TNothing"));
    EXPECT_EQ(bmp.Width(), 3);
    ASSERT_TRUE(LoadBitmapResource(&bmp, "TChart"));
    EXPECT_EQ(bmp.Width(), 24);
    EXPECT_EQ(bmp.Height(), 24);
    EXPECT_FALSE(LoadBitmapResource(nullptr, "TChart"));
}
