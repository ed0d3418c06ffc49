// Bitmaps, pictures, colours and the change notification of pens, brushes and fonts.
#include "GraphicsTestUtil.h"

#include "TestSupport.h"
#include "classes/Streams.h"
#include "graphics/QtBridge.h"

#include <QPdfWriter>
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <tuple>

#include <gtest/gtest.h>

using namespace gfxtest;

TEST(GraphicsObjects, SettersNotifyOnlyOnChange)
{
    TPen pen;
    int changes = 0;
    pen.OnChange = [&](TObject*) { ++changes; };
    pen.SetColor(clBlack);   // the current value
    pen.SetWidth(1);
    EXPECT_EQ(changes, 0);
    pen.SetColor(clRed);
    pen.SetStyle(psDot);
    pen.SetMode(pmXor);
    EXPECT_EQ(changes, 3);
    TPen other;
    other.Assign(&pen);
    EXPECT_EQ(other.Color(), clRed);
    EXPECT_EQ(other.Style(), psDot);
    EXPECT_EQ(other.Mode(), pmXor);
}

TEST(GraphicsObjects, ExtendedPenIsDroppedByPlainSetters)
{
    TPen pen;
    pen.SetWidth(3);
    pen.SetExtended(TExtPenInfo{pecSquare, pjBevel, {}, false});
    EXPECT_TRUE(pen.IsExtended());
    pen.SetMode(pmXor);   // mode is device state: the pen stays geometric
    EXPECT_TRUE(pen.IsExtended());
    pen.SetColor(clRed);
    EXPECT_FALSE(pen.IsExtended());
}

TEST(GraphicsObjects, FontSizeAndHeightConvertAtItsResolution)
{
    TFont f;
    f.SetSize(8);
    EXPECT_EQ(f.Height(), -11);
    EXPECT_EQ(f.Size(), 8);
    f.SetSize(10);
    EXPECT_EQ(f.Height(), -13);
    f.SetHeight(-16);
    EXPECT_EQ(f.Size(), 12);
    TFont printer;
    printer.SetPixelsPerInch(600);
    printer.Assign(&f);   // the size in points travels
    EXPECT_EQ(printer.Size(), 12);
    EXPECT_EQ(printer.Height(), -100);
    EXPECT_EQ(MulDiv(-11, 72, 96), -8);
    EXPECT_EQ(MulDiv(3, 1, 2), 2);
    EXPECT_EQ(MulDiv(-3, 1, 2), -2);
    EXPECT_EQ(MulDiv(1, 1, 0), -1);
}

TEST(GraphicsObjects, ColoursResolve)
{
    EXPECT_EQ(ColorToRGB(clBtnFace), RGB(212, 208, 200));
    EXPECT_EQ(ColorToRGB(clWindow), clWhite);
    EXPECT_EQ(ColorToRGB(clRed), clRed);
    EXPECT_EQ(ColorToDrawRGB(clNone), 0xFFFFFF);
    EXPECT_EQ(GetRValue(RGB(1, 2, 3)), 1);
    EXPECT_EQ(GetBValue(RGB(1, 2, 3)), 3);
    // A brush given a colour turns solid again.
    TBrush b;
    b.SetStyle(bsClear);
    b.SetColor(clRed);
    EXPECT_EQ(b.Style(), bsSolid);
}

TEST(Bitmaps, ResizeKeepsPixelsAndWhitensNewOnes)
{
    TBitmap b(4, 4);
    b.Canvas()->SetPixel(3, 3, clRed);
    b.SetSize(6, 5);
    EXPECT_EQ(Px(b, 3, 3), clRed);
    EXPECT_EQ(Px(b, 5, 4), clWhite);
    b.Canvas()->SetPixel(5, 4, clBlue);   // the canvas follows the new image
    EXPECT_EQ(Px(b, 5, 4), clBlue);
    EXPECT_THROW(b.ScanLine(5), ERangeError);
    EXPECT_THROW(b.ScanLine(-1), ERangeError);
    b.SetSize(0, 0);
    EXPECT_TRUE(b.Empty());
}

// A new bitmap's white is written when its pixels are first reached, whichever way that is.
TEST(Bitmaps, ANewBitmapIsWhiteWhicheverWayItsPixelsAreFirstReached)
{
    using Colours = std::vector<TColor>;
    const auto all = [](TBitmap& b) {
        Colours v;
        for (int y = 0; y < b.PixelHeight(); ++y)
            for (int x = 0; x < b.PixelWidth(); ++x)
                v.push_back(Px(b, x, y));
        return v;
    };
    // Through a black bitmap that the new one is copied onto.
    const auto onto = [all](auto copy) {
        return [all, copy](TBitmap& b) {
            TBitmap d(b.Width(), b.Height());
            d.Canvas()->Brush()->SetColor(clBlack);
            d.Canvas()->FillRect(TRect(0, 0, d.Width(), d.Height()));
            copy(b, *d.Canvas());
            return all(d);
        };
    };
    const std::vector<std::pair<const char*, std::function<Colours(TBitmap&)>>> reads = {
        {"scan line", all},
        {"canvas pixel",
         [](TBitmap& b) {
             Colours v;
             for (int y = 0; y < b.Height(); ++y)
                 for (int x = 0; x < b.Width(); ++x)
                     v.push_back(b.Canvas()->Pixel(x, y));
             return v;
         }},
        {"transparent colour", [](TBitmap& b) { return Colours{b.TransparentColor()}; }},
        {"bitmap file",
         [all](TBitmap& b) {
             TMemoryStream s;
             b.SaveToStream(&s);
             s.SetPosition(0);
             TBitmap c;
             c.LoadFromStream(&s);
             return all(c);
         }},
        {"png file",
         [all](TBitmap& b) {
             const std::string file = testsupport::TempDir() + "/new.png";
             b.SaveToFile(file);
             TBitmap c;
             c.LoadFromFile(file);
             return all(c);
         }},
        {"copy",
         [all](TBitmap& b) {
             TBitmap c;
             c.Assign(&b);
             return all(c);
         }},
        {"blit source", onto([](TBitmap& b, TCanvas& c) { c.BitBlt(0, 0, b.Width(), b.Height(), *b.Canvas(), 0, 0, SRCCOPY); })},
        {"stretched blit source",
         onto([](TBitmap& b, TCanvas& c) { c.StretchBlt(0, 0, b.Width(), b.Height(), *b.Canvas(), 0, 0, 2, 2, SRCCOPY); })},
        {"blend source",
         onto([](TBitmap& b, TCanvas& c) { c.AlphaBlend(0, 0, b.Width(), b.Height(), *b.Canvas(), 0, 0, b.Width(), b.Height(), 255); })},
        {"drawn", onto([](TBitmap& b, TCanvas& c) { c.Draw(0, 0, &b); })},
        {"stamp",
         [](TBitmap& b) {
             TBitmap white(b.Width(), b.Height());
             white.Canvas()->Brush()->SetColor(clWhite);
             white.Canvas()->FillRect(TRect(0, 0, b.Width(), b.Height()));
             Colours v;
             for (const uint32_t c : TCanvas::StampRunsOf(*b.Canvas(), *white.Canvas(), 0, 0).Colours)
                 v.push_back(RGB((c >> 16) & 0xFF, (c >> 8) & 0xFF, c & 0xFF));
             return v.size() == size_t(b.Width()) * size_t(b.Height()) ? v : Colours{};
         }},
        {"one bit", [all](TBitmap& b) { b.SetPixelFormat(pf1bit); return all(b); }},
        {"24 bits", [all](TBitmap& b) { b.SetPixelFormat(pf24bit); return all(b); }},
        {"larger", [all](TBitmap& b) { b.SetSize(9, 2); return all(b); }},
        {"smaller", [all](TBitmap& b) { b.SetSize(2, 1); return all(b); }},
        {"denser", [all](TBitmap& b) { b.SetPixelRatio(1.5); return all(b); }},
    };
    for (const auto& [name, read] : reads) {
        TBitmap b(5, 3);
        const Colours seen = read(b);
        EXPECT_FALSE(seen.empty()) << name;
        EXPECT_EQ(std::count(seen.begin(), seen.end(), clWhite), std::ptrdiff_t(seen.size())) << name;
        EXPECT_EQ(Count(b, clWhite), b.Width() * b.Height()) << name;   // and the bitmap itself afterwards
    }
}

TEST(Bitmaps, SaveAndLoadBmpInColourAndMonochrome)
{
    const std::string dir = testsupport::TempDir();
    TBitmap b(5, 3);
    b.Canvas()->SetPixel(1, 1, RGB(10, 20, 30));
    b.SaveToFile(dir + "/c.bmp");
    TBitmap c;
    c.LoadFromFile(dir + "/c.bmp");
    EXPECT_EQ(c.Width(), 5);
    EXPECT_EQ(c.Height(), 3);
    EXPECT_EQ(Px(c, 1, 1), RGB(10, 20, 30));

    TBitmap m(9, 2, pf1bit);
    m.Canvas()->SetPixel(8, 1, clNavy);
    m.SaveToFile(dir + "/m.bmp");
    TBitmap n;
    n.LoadFromFile(dir + "/m.bmp");
    EXPECT_EQ(n.PixelFormat(), pf1bit);
    EXPECT_EQ(Px(n, 8, 1), clBlack);
    EXPECT_EQ(Px(n, 0, 0), clWhite);

    // One bit: a grey of 128 and more is white, below it black; a row of 33 pixels takes
    // 8 bytes (rows are whole 4-byte words).
    TBitmap g(33, 2, pf1bit);
    g.Canvas()->SetPixel(0, 0, TColor(0x808080));
    g.Canvas()->SetPixel(1, 0, TColor(0x7F7F7F));
    g.Canvas()->SetPixel(32, 1, clNavy);
    g.SaveToFile(dir + "/g.bmp");
    EXPECT_EQ(std::filesystem::file_size(dir + "/g.bmp"), 14u + 40 + 2 * 4 + 2 * 8);
    n.LoadFromFile(dir + "/g.bmp");
    EXPECT_EQ(Px(n, 0, 0), clWhite);
    EXPECT_EQ(Px(n, 1, 0), clBlack);
    EXPECT_EQ(Px(n, 32, 1), clBlack);
    EXPECT_EQ(Px(n, 31, 1), clWhite);

    EXPECT_THROW(c.LoadFromFile(dir + "/missing.bmp"), EFOpenError);
    TPicture p;
    EXPECT_THROW(p.LoadFromFile(dir + "/x.xyz"), EInvalidGraphic);
    p.LoadFromFile(dir + "/c.bmp");
    EXPECT_EQ(p.Width(), 5);
}

// Each depth's pixel layout: the left pixel of a 4-bit pair in the high nibble (read back
// as such); 16 bits with bit fields as 5-6-5 after the three masks, without as 5-5-5, each
// read back with as many bits of green. Each loads back in the depth it was written in.
TEST(Bitmaps, PixelsAreWrittenInEachDepthsLayout)
{
    const std::string file = testsupport::TempDir() + "/depth.bmp";
    const std::tuple<TPixelFormat, std::string, TColor> cases[] = {
        {pf4bit, "", clLime},
        {pf16bit, std::string("\xE0\x07\x00\x00", 4), TColor(0x00FC00)},
        {pf15bit, std::string("\xE0\x03\x00\x00", 4), TColor(0x00F800)},
    };
    for (const auto& [format, first, lime] : cases) {
        SCOPED_TRACE(int(format));
        TBitmap b(3, 1, format);
        b.Canvas()->SetPixel(0, 0, clLime);
        b.Canvas()->SetPixel(1, 0, clBlack);
        b.Canvas()->SetPixel(2, 0, clLime);
        b.SaveToFile(file);
        std::ifstream in(file, std::ios::binary);
        const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        ASSERT_GT(bytes.size(), 14u);
        const size_t pixelsAt = uint8_t(bytes[10]) | size_t(uint8_t(bytes[11])) << 8;
        if (!first.empty()) {
            EXPECT_EQ(pixelsAt, format == pf16bit ? 14u + 40 + 12 : 14u + 40);
            EXPECT_EQ(bytes.substr(pixelsAt, first.size()), first);
        }
        TBitmap read;
        read.LoadFromFile(file);
        EXPECT_EQ(read.PixelFormat(), format);
        EXPECT_EQ(Px(read, 0, 0), lime);
        EXPECT_EQ(Px(read, 1, 0), clBlack);
        EXPECT_EQ(Px(read, 2, 0), lime);
    }
}

TEST(Bitmaps, APictureWithSeeThroughPartsIsDrawnOverWhatLiesBeneath)
{
    // A PNG whose left half is see-through (its colour black, as such files often
    // store) and whose right half is opaque red.
    const std::string file = testsupport::TempDir() + "/alpha.png";
    QImage png(4, 2, QImage::Format_ARGB32);
    png.fill(QColor(0, 0, 0, 0));
    for (int y = 0; y < 2; ++y)
        for (int x = 2; x < 4; ++x)
            png.setPixelColor(x, y, QColor(255, 0, 0, 255));
    ASSERT_TRUE(png.save(QString::fromStdString(file)));
    TPicture picture;
    picture.LoadFromFile(file);
    TBitmap target(8, 4);
    target.Canvas()->Brush()->SetColor(clYellow);
    target.Canvas()->FillRect(TRect(0, 0, 8, 4));
    target.Canvas()->StretchDraw(TRect(0, 0, 8, 4), picture.Graphic());
    EXPECT_EQ(Px(target, 1, 1), clYellow);
    EXPECT_EQ(Px(target, 6, 2), clRed);
}

TEST(Bitmaps, IndexedFilesOfMoreColoursThanTheirTableTakeTheNearestEntry)
{
    // 300 greys: more than 8 bits' table holds, let alone 4 bits'.
    const std::string dir = testsupport::TempDir();
    for (TPixelFormat format : {pf4bit, pf8bit}) {
        TBitmap b(300, 2, format);
        for (int x = 0; x < 300; ++x) {
            const int g = x * 255 / 299;
            b.Canvas()->SetPixel(x, 0, RGB(g, g, g));
            b.Canvas()->SetPixel(x, 1, RGB(255 - g / 2, g / 3, 40));
        }
        b.SaveToFile(dir + "/many.bmp");
        std::ifstream in(dir + "/many.bmp", std::ios::binary);
        std::vector<unsigned char> head(54);
        in.read(reinterpret_cast<char*>(head.data()), 54);
        const int bits = head[28], entries = head[46] | (head[47] << 8);
        EXPECT_EQ(bits, format == pf4bit ? 4 : 8);
        EXPECT_EQ(entries, format == pf4bit ? 16 : 216);
        TBitmap c;
        c.LoadFromFile(dir + "/many.bmp");
        // Each pixel is within half a step of the table's spacing of its own colour.
        const int tolerance = format == pf4bit ? 100 : 26;
        for (int y = 0; y < 2; ++y)
            for (int x = 0; x < 300; x += 7) {
                const TColor want = Px(b, x, y), got = Px(c, x, y);
                EXPECT_LE(std::abs(GetRValue(want) - GetRValue(got)), tolerance) << x << "," << y;
                EXPECT_LE(std::abs(GetGValue(want) - GetGValue(got)), tolerance) << x << "," << y;
                EXPECT_LE(std::abs(GetBValue(want) - GetBValue(got)), tolerance) << x << "," << y;
            }
        EXPECT_EQ(Px(c, 0, 0), clBlack);
        EXPECT_EQ(Px(c, 299, 0), clWhite);
    }
}

TEST(Bitmaps, TransparentDrawSkipsTheKeyColour)
{
    TBitmap sprite(3, 3);
    sprite.Canvas()->Brush()->SetColor(clLime);   // bottom-left pixel: the key
    sprite.Canvas()->FillRect(TRect(0, 0, 3, 3));
    sprite.Canvas()->SetPixel(1, 1, clRed);
    sprite.SetTransparent(true);
    TBitmap dst(5, 5);
    dst.Canvas()->Draw(1, 1, &sprite);
    EXPECT_EQ(Count(dst, clLime), 0);
    EXPECT_EQ(Px(dst, 2, 2), clRed);
    sprite.SetTransparent(false);
    dst.Canvas()->StretchDraw(TRect(0, 0, 5, 5), &sprite);
    EXPECT_GT(Count(dst, clLime), 10);
}

TEST(Bitmaps, CopiesAreIndependentAndPicturesOwnTheirGraphic)
{
    TBitmap a(2, 2);
    a.Canvas()->SetPixel(0, 0, clRed);
    TBitmap b;
    b.Assign(&a);
    a.Canvas()->SetPixel(0, 0, clBlue);
    EXPECT_EQ(Px(b, 0, 0), clRed);
    EXPECT_EQ(Px(a, 0, 0), clBlue);

    TPicture pic;
    int changes = 0;
    pic.OnChange = [&](TObject*) { ++changes; };
    pic.SetGraphic(&a);
    EXPECT_EQ(changes, 1);
    a.Canvas()->SetPixel(1, 1, clGreen);
    EXPECT_EQ(Px(*pic.Bitmap(), 1, 1), clWhite);   // the picture holds its own copy
    pic.Bitmap()->SetWidth(3);
    EXPECT_EQ(changes, 2);
    pic.Assign(nullptr);
    EXPECT_TRUE(pic.Empty());
}

TEST(Bitmaps, CanvasDrawsOnAPrinterLikeDeviceToo)
{
    // A vector device: the same calls, no pixel read-back.
    const std::string file = testsupport::TempDir() + "/page.pdf";
    {
        QPdfWriter pdf(QString::fromStdString(file));
        pdf.setResolution(300);
        TCanvas c;
        qtbridge::AttachDevice(c, &pdf, 300);
        EXPECT_TRUE(c.HandleAllocated());
        EXPECT_FALSE(c.IsRaster());
        EXPECT_EQ(c.PixelsPerInch(), 300);
        c.Brush()->SetColor(clRed);
        c.Rectangle(100, 100, 800, 600);
        c.TextOut(120, 120, "Page");
        EXPECT_EQ(c.Pixel(200, 200), CLR_INVALID);
        TBitmap src(2, 2);
        EXPECT_FALSE(src.Canvas()->BitBlt(0, 0, 2, 2, c, 0, 0, SRCCOPY));   // nothing to read
        EXPECT_TRUE(c.BitBlt(10, 10, 2, 2, *src.Canvas(), 0, 0, SRCCOPY));  // plain copies work
        qtbridge::Detach(c);
    }
    std::ifstream in(file, std::ios::binary | std::ios::ate);
    ASSERT_TRUE(in.good());
    EXPECT_GT(int(in.tellg()), 500);
}
