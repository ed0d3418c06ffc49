// The canvas on an image of a denser screen (two image pixels per device unit): the
// old pixel conventions hold in device units, and lines, fills and text are drawn at
// the image's resolution.
#include "GraphicsTestUtil.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <climits>

using namespace gfxtest;

namespace {

// A white bitmap of 16 x 16 device units at the ratio.
struct Dense {
    TBitmap bmp;
    TCanvas& c;
    explicit Dense(double ratio, int w = 16, int h = 16) : bmp(w, h), c(*bmp.Canvas()) { bmp.SetPixelRatio(ratio); }
    // Image pixels of the colour in columns [x0, x1) and rows [y0, y1).
    int Count(TColor colour, int x0, int y0, int x1, int y1)
    {
        int n = 0;
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x)
                n += Px(bmp, x, y) == colour ? 1 : 0;
        return n;
    }
    int Ink() { return bmp.PixelWidth() * bmp.PixelHeight() - Count(clWhite, 0, 0, bmp.PixelWidth(), bmp.PixelHeight()); }
};

} // namespace

TEST(CanvasDensity, BitmapKeepsItsLogicalSizeAndHoldsRatioTimesThePixels)
{
    Dense d(2, 10, 6);
    EXPECT_EQ(d.bmp.Width(), 10);
    EXPECT_EQ(d.bmp.Height(), 6);
    EXPECT_EQ(d.bmp.PixelWidth(), 20);
    EXPECT_EQ(d.bmp.PixelHeight(), 12);
    EXPECT_EQ(d.c.DeviceSize(), TSize(10, 6));
    EXPECT_EQ(d.c.PixelRatio(), 2.0);
    EXPECT_THROW(d.bmp.ScanLine(12), ERangeError);

    // A fractional ratio rounds the pixels up; the logical size stays.
    Dense f(1.5, 3, 5);
    EXPECT_EQ(f.bmp.PixelWidth(), 5);
    EXPECT_EQ(f.bmp.PixelHeight(), 8);
    EXPECT_EQ(f.c.DeviceSize(), TSize(3, 5));

    // Resizing keeps the ratio; changing the ratio resamples the picture; a copy keeps both.
    d.c.SetPixel(1, 1, clRed);
    d.bmp.SetSize(12, 7);
    EXPECT_EQ(d.bmp.PixelWidth(), 24);
    EXPECT_EQ(d.c.Pixel(1, 1), clRed);
    d.bmp.SetPixelRatio(3);
    EXPECT_EQ(d.bmp.PixelWidth(), 36);
    EXPECT_EQ(d.c.Pixel(1, 1), clRed);
    EXPECT_EQ(d.c.Pixel(2, 1), clWhite);
    TBitmap copy;
    copy.Assign(&d.bmp);
    EXPECT_EQ(copy.PixelRatio(), 3.0);
    EXPECT_EQ(copy.Width(), 12);
    EXPECT_EQ(copy.Canvas()->Pixel(1, 1), clRed);

    // As a brush pattern a dense bitmap gives one pixel per device unit.
    Dense pattern(2, 2, 2);
    pattern.c.SetPixel(1, 0, clRed);
    Dense filled(1, 4, 2);
    filled.c.Brush()->SetBitmap(&pattern.bmp);
    filled.c.FillRect(TRect(0, 0, 4, 2));
    EXPECT_EQ(filled.c.Pixel(1, 0), clRed);
    EXPECT_EQ(filled.c.Pixel(3, 0), clRed);
    EXPECT_EQ(filled.c.Pixel(2, 0), clWhite);
    EXPECT_EQ(filled.c.Pixel(1, 1), clWhite);
}

TEST(CanvasDensity, OnePixelLinesAreRatioPixelsWideAndLeaveOutTheirEnd)
{
    Dense d(2);
    d.c.Pen()->SetColor(clBlack);
    // Left to right along row 5: device columns 2..9, image columns 4..19, rows 10 and 11.
    d.c.MoveTo(2, 5);
    d.c.LineTo(10, 5);
    EXPECT_EQ(d.Count(clBlack, 4, 10, 20, 12), 32);
    EXPECT_EQ(d.Count(clBlack, 0, 9, 32, 10) + d.Count(clBlack, 0, 12, 32, 13), 0);
    EXPECT_EQ(Px(d.bmp, 3, 10), clWhite);
    EXPECT_EQ(Px(d.bmp, 20, 10), clWhite);
    EXPECT_EQ(d.c.Pixel(9, 5), clBlack);
    EXPECT_EQ(d.c.Pixel(10, 5), clWhite);

    // Bottom to top along column 12: device rows 14 down to 4 (the end, 3, left out).
    d.c.MoveTo(12, 14);
    d.c.LineTo(12, 3);
    EXPECT_EQ(d.Count(clBlack, 24, 8, 26, 30), 44);
    EXPECT_EQ(d.Count(clBlack, 23, 0, 24, 32) + d.Count(clBlack, 26, 0, 27, 32), 0);
    EXPECT_EQ(d.c.Pixel(12, 4), clBlack);
    EXPECT_EQ(d.c.Pixel(12, 3), clWhite);

    // A diagonal keeps to its device pixels: no ink outside the ratio-1 line's pixels
    // and their neighbours, and the end pixel's far corner stays clear.
    Dense one(1), two(2);
    for (Dense* s : {&one, &two}) {
        s->c.Pen()->SetColor(clBlack);
        s->c.MoveTo(1, 2);
        s->c.LineTo(13, 8);
    }
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x)
            if (Px(two.bmp, x, y) == clBlack) {
                bool near = false;
                for (int dy = -1; dy <= 1; ++dy)
                    for (int dx = -1; dx <= 1; ++dx)
                        near = near || one.c.Pixel(x / 2 + dx, y / 2 + dy) == clBlack;
                EXPECT_TRUE(near) << x << "," << y;
            }
    EXPECT_EQ(Px(two.bmp, 27, 17), clWhite);
    EXPECT_GT(two.Ink(), 3 * one.Ink());
}

// A polyline is its line alone, whatever figure the brush filled before it.
TEST(CanvasDensity, PolylineAfterAFilledFigureFillsNothing)
{
    Dense d(2, 40, 40);
    d.c.Brush()->SetColor(clLime);
    d.c.Pen()->SetColor(clBlack);
    d.c.Ellipse(0, 0, 6, 6);
    ASSERT_GT(d.Count(clLime, 0, 0, 12, 12), 0);
    d.c.Pen()->SetColor(clBlue);
    const TPoint vee[] = {{4, 36}, {20, 6}, {36, 36}};
    d.c.Polyline(vee, 3);
    d.c.Flush();
    EXPECT_EQ(d.c.Pixel(20, 30), clWhite);   // inside the V
    EXPECT_EQ(d.Count(clLime, 0, 14, 80, 80), 0);
    EXPECT_GT(d.Count(clBlue, 0, 0, 80, 80), 100);
}

TEST(CanvasDensity, FiguresFillsClipsAndPixelsStayInDeviceUnits)
{
    Dense d(2);
    d.c.Pen()->SetColor(clBlack);
    d.c.Brush()->SetColor(clYellow);
    d.c.Rectangle(2, 2, 8, 6);
    // Frame columns 2 and 7 of the device, two image pixels each; the inside is filled.
    EXPECT_EQ(Px(d.bmp, 4, 6), clBlack);
    EXPECT_EQ(Px(d.bmp, 5, 6), clBlack);
    EXPECT_EQ(Px(d.bmp, 6, 6), clYellow);
    EXPECT_EQ(Px(d.bmp, 15, 6), clBlack);
    EXPECT_EQ(Px(d.bmp, 16, 6), clWhite);
    EXPECT_EQ(Px(d.bmp, 8, 11), clBlack);
    EXPECT_EQ(Px(d.bmp, 8, 12), clWhite);
    EXPECT_EQ(d.c.Pixel(7, 5), clBlack);
    EXPECT_EQ(d.c.Pixel(8, 5), clWhite);

    // An ellipse keeps to its box, right and bottom excluded.
    d.c.Ellipse(9, 9, 15, 15);
    EXPECT_EQ(d.Count(clBlack, 0, 18, 18, 32), 0);
    EXPECT_GT(d.Count(clBlack, 18, 18, 20, 30), 0);
    EXPECT_GT(d.Count(clBlack, 18, 28, 30, 30), 0);
    EXPECT_EQ(d.Count(clBlack, 30, 18, 32, 32) + d.Count(clBlack, 18, 30, 32, 32), 0);

    // SetPixel paints the whole device pixel; a clip in device units cuts at its image edge.
    d.c.SetPixel(0, 15, clRed);
    EXPECT_EQ(d.Count(clRed, 0, 30, 2, 32), 4);
    d.c.IntersectClipRect(0, 0, 5, 16);
    d.c.Brush()->SetColor(clBlue);
    d.c.FillRect(TRect(0, 0, 16, 1));
    EXPECT_EQ(d.Count(clBlue, 0, 0, 32, 2), 20);
    EXPECT_EQ(d.c.Pixel(5, 0), CLR_INVALID);

    // A not-xor pen drawn twice leaves the picture as it was.
    Dense x(2);
    x.c.Brush()->SetColor(clAqua);
    x.c.FillRect(TRect(0, 0, 8, 16));
    TBitmap before;
    before.Assign(&x.bmp);
    x.c.Pen()->SetMode(pmNotXor);
    x.c.Pen()->SetColor(clRed);
    for (int i = 0; i < 2; ++i) {
        x.c.Brush()->SetStyle(bsClear);
        x.c.Rectangle(3, 3, 13, 11);
        x.c.MoveTo(0, 15);
        x.c.LineTo(15, 1);
    }
    for (int y = 0; y < 32; ++y)
        for (int xx = 0; xx < 32; ++xx)
            ASSERT_EQ(Px(x.bmp, xx, y), Px(before, xx, y)) << xx << "," << y;
}

TEST(CanvasDensity, BlitsCopyImagePixelsOneForOneAndSampleAcrossDensities)
{
    Dense a(2);
    a.c.Pen()->SetColor(clBlack);
    a.c.MoveTo(0, 0);
    a.c.LineTo(15, 6);
    a.c.SetPixel(15, 15, clRed);

    // Equal densities: every image pixel of the block arrives where it belongs, the
    // clip holds in device units.
    Dense b(2, 20, 20);
    b.c.BitBlt(3, 2, 16, 16, a.c, 0, 0, SRCCOPY);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x)
            ASSERT_EQ(Px(b.bmp, 6 + x, 4 + y), Px(a.bmp, x, y)) << x << "," << y;
    Dense clipped(2);
    clipped.c.IntersectClipRect(0, 0, 8, 16);
    clipped.c.BitBlt(0, 0, 16, 16, a.c, 0, 0, SRCCOPY);
    EXPECT_EQ(clipped.c.Pixel(15, 15), CLR_INVALID);
    clipped.c.SelectClipRgn(nullptr);
    EXPECT_EQ(clipped.c.Pixel(15, 15), clWhite);
    EXPECT_EQ(Px(clipped.bmp, 15, 6), Px(a.bmp, 15, 6));

    // Into a plain bitmap: each device pixel takes the image pixel under its centre.
    Dense plain(1);
    plain.c.BitBlt(0, 0, 16, 16, a.c, 0, 0, SRCCOPY);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            ASSERT_EQ(plain.c.Pixel(x, y), a.c.Pixel(x, y)) << x << "," << y;
    // And back: each device pixel becomes a block of its colour.
    Dense back(2);
    back.c.BitBlt(0, 0, 16, 16, plain.c, 0, 0, SRCCOPY);
    EXPECT_EQ(back.Count(clRed, 30, 30, 32, 32), 4);
    // A raster operation other than a copy works on image pixels too: the same picture
    // xored onto itself turns every pixel black.
    back.c.BitBlt(0, 0, 16, 16, plain.c, 0, 0, SRCINVERT);
    EXPECT_EQ(back.Count(clBlack, 0, 0, 32, 32), 32 * 32);
}

// The plain copy of an equal block (row by row) against the sampled copy that a mirrored
// block takes: mirrored twice, through a clip that is not a rectangle, the same pixels.
TEST(CanvasDensity, PlainCopyOfAnEqualBlockMatchesTheSampledCopy)
{
    for (double ratio : {1.0, 2.0}) {
        Dense src(ratio, 24, 20);
        for (int y = 0; y < 20; ++y)
            for (int x = 0; x < 24; ++x)
                src.c.SetPixel(x, y, RGB(x * 10, y * 12, (x * y) % 256));
        Dense plain(ratio, 30, 26), sampled(ratio, 30, 26), mirrored(ratio, 24, 20);
        for (Dense* d : {&plain, &sampled}) {
            d->c.BeginPath();
            d->c.Ellipse(2, 1, 28, 25);
            d->c.EndPath();
            d->c.SelectClipPath(RGN_COPY);
        }
        plain.c.BitBlt(4, 3, 20, 17, src.c, 2, 1, SRCCOPY);
        mirrored.c.StretchBlt(20, 0, -20, 17, src.c, 2, 1, 20, 17, SRCCOPY);
        sampled.c.StretchBlt(24, 3, -20, 17, mirrored.c, 0, 0, 20, 17, SRCCOPY);
        int inked = 0;
        for (int y = 0; y < plain.bmp.PixelHeight(); ++y)
            for (int x = 0; x < plain.bmp.PixelWidth(); ++x) {
                ASSERT_EQ(Px(plain.bmp, x, y), Px(sampled.bmp, x, y)) << ratio << ": " << x << "," << y;
                inked += Px(plain.bmp, x, y) != clWhite ? 1 : 0;
            }
        EXPECT_GT(inked, int(200 * ratio * ratio)) << ratio;
    }
}

TEST(CanvasDensity, TextIsDrawnAtTheImageResolution)
{
    Dense one(1, 120, 30), two(2, 120, 30);
    for (Dense* d : {&one, &two}) {
        d->c.Font()->SetName("Arial");
        d->c.Font()->SetSize(10);
        d->c.SetBkMode(TRANSPARENT);
        d->c.TextOut(4, 6, "Cp 298.15 K");
    }
    EXPECT_EQ(one.c.TextWidth("Cp 298.15 K"), two.c.TextWidth("Cp 298.15 K"));
    // About four times the ink of the plain picture: more than twice, at the same place.
    EXPECT_GT(two.Ink(), 2 * one.Ink());
    const TRect b1 = InkBounds(one.bmp);
    int left = two.bmp.PixelWidth(), right = 0;
    for (int y = 0; y < two.bmp.PixelHeight(); ++y)
        for (int x = 0; x < two.bmp.PixelWidth(); ++x)
            if (Px(two.bmp, x, y) != clWhite) {
                left = std::min(left, x);
                right = std::max(right, x + 1);
            }
    EXPECT_NEAR(left, 2 * b1.Left, 2);
    EXPECT_NEAR(right, 2 * b1.Right, 4);
    if (const std::string path = testsupport::ArtifactPath("canvas_text_ratio2.png"); !path.empty())
        two.bmp.SaveToFile(path);
}

namespace {

// The runs of one colour along image row (or column) `at`: where each starts and its length.
std::vector<std::pair<int, int>> Runs(TBitmap& b, bool row, int at, TColor ink)
{
    std::vector<std::pair<int, int>> runs;
    const int n = row ? b.PixelWidth() : b.PixelHeight();
    for (int i = 0; i < n; ++i) {
        if ((row ? Px(b, i, at) : Px(b, at, i)) != ink)
            continue;
        if (!runs.empty() && runs.back().first + runs.back().second == i)
            ++runs.back().second;
        else
            runs.push_back({i, 1});
    }
    return runs;
}

// The lengths of the runs, for messages.
std::string Lengths(const std::vector<std::pair<int, int>>& runs)
{
    std::string s;
    for (const auto& r : runs)
        s += std::to_string(r.second) + " ";
    return s;
}

} // namespace

// At a ratio that is not whole a line one device unit wide would cover one or two image
// pixels depending on where it falls. Every line of a pen keeps one width instead,
// round(width * ratio) and at least one image pixel, wherever it falls and whichever
// way it runs, on whole pixels; a box's four sides match, with its inside right up to them.
TEST(CanvasDensity, LinesAtAFractionalRatioKeepOneWidthWhereverTheyFall)
{
    for (double ratio : {1.25, 1.5}) {
        SCOPED_TRACE(ratio);
        const int one = std::max(1, int(std::lround(ratio)));
        const int two = int(std::lround(2 * ratio));
        const int middle = int(20.5 * ratio);   // the image row (column) of device row 20
        // Grid lines three units apart (every place a line can take within the pattern
        // of one- and two-pixel units), every other one drawn backwards; solid and dotted,
        // upright and level; then two units wide, four apart.
        for (TPenStyle style : {psSolid, psDot}) {
            for (bool upright : {true, false}) {
                SCOPED_TRACE(std::string(upright ? "upright" : "level") + (style == psDot ? " dotted" : ""));
                Dense d(ratio, 40, 40);
                d.c.Pen()->SetStyle(style);
                d.c.SetBkMode(TRANSPARENT);
                for (int k = 0; k < 12; ++k) {
                    const int at = 1 + 3 * k, from = k % 2 ? 38 : 2, to = k % 2 ? 2 : 38;
                    d.c.MoveTo(upright ? at : from, upright ? from : at);
                    d.c.LineTo(upright ? at : to, upright ? to : at);
                }
                // Every image row (column) the lines cross: each line is `one` pixels wide.
                int crossings = 0, crossed = 0;
                for (int i = int(4 * ratio); i < int(36 * ratio); ++i, ++crossed) {
                    const auto runs = Runs(d.bmp, upright, i, clBlack);
                    for (const auto& r : runs)
                        ASSERT_EQ(r.second, one) << "at " << i << ": " << Lengths(runs);
                    crossings += int(runs.size());
                }
                if (style == psSolid)
                    EXPECT_EQ(crossings, 12 * crossed);
                else
                    EXPECT_GT(crossings, 4 * crossed);
                for (int k = 0; k < 12 && style == psSolid; ++k)
                    EXPECT_EQ(d.c.Pixel(upright ? 1 + 3 * k : 20, upright ? 20 : 1 + 3 * k), clBlack) << k;
            }
        }
        Dense wide(ratio, 40, 40);
        wide.c.Pen()->SetWidth(2);
        for (int k = 0; k < 9; ++k) {
            wide.c.MoveTo(2 + 4 * k, 4);
            wide.c.LineTo(2 + 4 * k, 36);
        }
        const auto wideRuns = Runs(wide.bmp, true, middle, clBlack);
        ASSERT_EQ(wideRuns.size(), 9u) << Lengths(wideRuns);
        for (const auto& r : wideRuns)
            EXPECT_EQ(r.second, two) << Lengths(wideRuns);

        // Boxes along a diagonal, seven units apart: frame, inside, frame across each way,
        // framed by the pen (Rectangle, and a Polygon through the frame's pixels) and by
        // the brush (FrameRect).
        for (const char* kind : {"Rectangle", "Polygon", "FrameRect"}) {
            SCOPED_TRACE(kind);
            const bool brushFrame = kind == std::string("FrameRect");
            Dense d(ratio, 40, 40);
            for (int k = 0; k < 5; ++k) {
                const TRect box(1 + 7 * k, 1 + 7 * k, 7 + 7 * k, 7 + 7 * k);
                d.c.Brush()->SetColor(brushFrame ? clBlack : clYellow);
                if (brushFrame) {
                    d.c.FrameRect(box);
                } else if (kind == std::string("Polygon")) {
                    const TPoint corners[] = {{box.Left, box.Top}, {box.Right - 1, box.Top},
                                              {box.Right - 1, box.Bottom - 1}, {box.Left, box.Bottom - 1}};
                    d.c.Polygon(corners, 4);
                } else {
                    d.c.Rectangle(box);
                }
            }
            for (int k = 0; k < 5; ++k)
                for (bool row : {true, false}) {
                    const int through = int((4 + 7 * k + 0.5) * ratio);
                    const auto black = Runs(d.bmp, row, through, clBlack);
                    ASSERT_EQ(black.size(), 2u) << k << Lengths(black);
                    EXPECT_EQ(black[0].second, one) << k << " " << row;
                    EXPECT_EQ(black[1].second, one) << k << " " << row;
                    const int inside = black[1].first - black[0].first - one;
                    EXPECT_GT(inside, 0);
                    if (!brushFrame) {
                        EXPECT_EQ(Runs(d.bmp, row, through, clYellow),
                                  (std::vector<std::pair<int, int>>{{black[0].first + one, inside}}))
                            << k << " " << row;
                    }
                }
            if (const std::string path = testsupport::ArtifactPath(std::string("canvas_boxes_ratio") +
                                                                   (ratio == 1.25 ? "125_" : "150_") + kind + ".png");
                !path.empty())
                d.bmp.SaveToFile(path);
        }

        // A series line (one unit wide, shallow): every image column it passes between
        // its corners holds `one` of its pixels, or one more where it steps.
        Dense line(ratio, 60, 40);
        const TPoint zigzag[] = {{2, 30}, {20, 22}, {38, 33}, {57, 20}};
        line.c.Polyline(zigzag, 4);
        int fewest = 99, most = 0;
        for (int x = int(3 * ratio); x < int(56 * ratio); ++x) {
            if (std::abs(x / ratio - 20) < 2 || std::abs(x / ratio - 38) < 2)
                continue;
            int n = 0;
            for (int y = 0; y < line.bmp.PixelHeight(); ++y)
                n += Px(line.bmp, x, y) == clBlack ? 1 : 0;
            fewest = std::min(fewest, n);
            most = std::max(most, n);
        }
        EXPECT_EQ(fewest, one);
        EXPECT_LE(most, one + 1);
        if (const std::string path = testsupport::ArtifactPath(
                std::string("canvas_line_ratio") + (ratio == 1.25 ? "125" : "150") + ".png");
            !path.empty())
            line.bmp.SaveToFile(path);
    }
}

// A figure's inside stays within its outline wherever the outline runs: along slanted
// and curved sides as along upright ones, for a one-pixel pen and a wide one, at the
// ratios that snap lines to bands of whole pixels.
TEST(CanvasDensity, FiguresAtAFractionalRatioFillNothingBeyondTheirOutlines)
{
    for (double ratio : {1.25, 1.5}) {
        for (int width : {1, 2}) {
            SCOPED_TRACE(std::to_string(ratio) + " width " + std::to_string(width));
            Dense d(ratio, 64, 40);
            d.c.Pen()->SetColor(clBlack);
            d.c.Pen()->SetWidth(width);
            d.c.Brush()->SetColor(clRed);
            const TPoint triangle[] = {{3, 17}, {10, 3}, {17, 17}};
            d.c.Polygon(triangle, 3);
            const TPoint diamond[] = {{29, 2}, {36, 9}, {29, 16}, {22, 9}};
            d.c.Polygon(diamond, 4);
            d.c.Pie(41, 2, 61, 22, 61, 12, 51, 2);
            d.c.Ellipse(3, 21, 20, 38);
            d.c.RoundRect(24, 24, 44, 38, 10, 10);
            // Each way, every red pixel lies between the first and the last black one of
            // its row (column) within the figure's part of the picture.
            const int parts[][4] = {{0, 0, 20, 20}, {20, 0, 39, 20}, {39, 0, 64, 24}, {0, 20, 22, 40}, {22, 22, 46, 40}};
            for (const auto& part : parts)
                for (bool rows : {true, false}) {
                    const int x0 = int(part[0] * ratio), y0 = int(part[1] * ratio);
                    const int x1 = int(part[2] * ratio), y1 = int(part[3] * ratio);
                    for (int i = rows ? y0 : x0; i < (rows ? y1 : x1); ++i) {
                        int firstInk = INT_MAX, lastInk = -1, firstFill = INT_MAX, lastFill = -1;
                        for (int j = rows ? x0 : y0; j < (rows ? x1 : y1); ++j) {
                            const TColor c = rows ? Px(d.bmp, j, i) : Px(d.bmp, i, j);
                            if (c == clBlack) {
                                firstInk = std::min(firstInk, j);
                                lastInk = j;
                            } else if (c == clRed) {
                                firstFill = std::min(firstFill, j);
                                lastFill = j;
                            }
                        }
                        if (lastFill >= 0) {
                            EXPECT_LT(firstInk, firstFill) << (rows ? "row " : "column ") << i << " of part at " << part[0];
                            EXPECT_GT(lastInk, lastFill) << (rows ? "row " : "column ") << i << " of part at " << part[0];
                        }
                    }
                }
            if (const std::string path = testsupport::ArtifactPath("canvas_figures_ratio" +
                                                                   std::to_string(int(ratio * 100)) + "_pen" +
                                                                   std::to_string(width) + ".png");
                !path.empty())
                d.bmp.SaveToFile(path);
        }
    }
}

// Dotted and dashed one-pixel lines at a ratio that is not whole: every dash and every
// gap of one kind is as long as every other, so the pattern repeats the same pixels in
// each period along the line, level or upright.
TEST(CanvasDensity, DashesAtAFractionalRatioRepeatEvenly)
{
    TExtPenInfo alternate;
    alternate.Alternate = true;
    TExtPenInfo user;
    user.UserStyle = {5, 2, 1, 2};
    for (double ratio : {1.25, 1.5}) {
        for (int kind = 0; kind < 6; ++kind) {
            SCOPED_TRACE(std::to_string(ratio) + " kind " + std::to_string(kind));
            Dense d(ratio, 120, 120);
            d.c.SetBkMode(TRANSPARENT);
            d.c.Pen()->SetColor(clBlack);
            if (kind < 4)
                d.c.Pen()->SetStyle(TPenStyle(psDash + kind));
            else
                d.c.Pen()->SetExtended(kind == 4 ? alternate : user);
            const int entries = kind == 4 ? 2 : kind == 5 ? 4 : kind == 0 || kind == 1 ? 2 : 2 * (kind);
            d.c.MoveTo(10, 5);
            d.c.LineTo(117, 5);
            d.c.MoveTo(5, 10);
            d.c.LineTo(5, 117);
            for (bool row : {true, false}) {
                const int at = int(5.5 * ratio);
                std::vector<int> lengths;   // ink and gap runs in turn, from the first dash on
                const auto ink = Runs(d.bmp, row, at, clBlack);
                ASSERT_GT(ink.size(), size_t(2 * entries)) << Lengths(ink);
                for (size_t i = 0; i + 1 < ink.size(); ++i) {
                    lengths.push_back(ink[i].second);
                    lengths.push_back(ink[i + 1].first - ink[i].first - ink[i].second);
                }
                // The last dash may be cut by the line's end.
                for (size_t i = 0; i + size_t(entries) < lengths.size(); ++i)
                    EXPECT_EQ(lengths[i], lengths[i + size_t(entries)]) << (row ? "level" : "upright") << " run " << i;
            }
        }
    }
}

// A framed box at a ratio that is not whole covers the image pixels of its device area
// wherever it falls: a fill drawn beside it (a shadow) meets its frame without a gap.
TEST(CanvasDensity, BoxesAtAFractionalRatioCoverTheirOwnPixels)
{
    for (double ratio : {1.25, 1.5}) {
        for (bool brushFrame : {false, true}) {
            SCOPED_TRACE(std::to_string(ratio) + (brushFrame ? " FrameRect" : " Rectangle"));
            Dense d(ratio, 48, 48);
            d.c.Brush()->SetColor(clGray);
            d.c.FillRect(TRect(0, 0, 48, 48));
            const auto px = [&](int v) { return int(std::lround(v * ratio)); };
            for (int k = 0; k < 4; ++k) {
                // Corners at every place within the pattern of one- and two-pixel units.
                const TRect box(2 + 11 * k, 2 + 11 * k + k % 2, 9 + 11 * k + k % 3, 8 + 11 * k);
                d.c.Brush()->SetColor(clLime);
                d.c.FillRect(TRect(box.Right, box.Top + 2, box.Right + 2, box.Bottom + 2));
                d.c.FillRect(TRect(box.Left + 2, box.Bottom, box.Right + 2, box.Bottom + 2));
                d.c.Pen()->SetColor(clBlack);
                d.c.Brush()->SetColor(brushFrame ? clBlack : clWhite);
                if (brushFrame)
                    d.c.FrameRect(box);
                else
                    d.c.Rectangle(box);
                for (bool rows : {true, false}) {
                    // Through the box's middle: the shadow right after its image pixels,
                    // within them the frame and (for a rectangle) its inside.
                    const int through = px(rows ? (box.Top + box.Bottom) / 2 : (box.Left + box.Right) / 2);
                    const int from = px(rows ? box.Left : box.Top), to = px(rows ? box.Right : box.Bottom);
                    const auto at = [&](int i) { return rows ? Px(d.bmp, i, through) : Px(d.bmp, through, i); };
                    for (int i = from; i < to && !brushFrame; ++i) {
                        EXPECT_NE(at(i), clGray) << k << (rows ? " row: column " : " column: row ") << i;
                        EXPECT_NE(at(i), clLime) << k << (rows ? " row: column " : " column: row ") << i;
                    }
                    EXPECT_EQ(at(to), clLime) << k;
                    EXPECT_EQ(at(to - 1), clBlack) << k;
                    EXPECT_EQ(at(from), clBlack) << k;
                }
            }
        }
    }
}
