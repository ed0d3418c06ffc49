// Text placement, clipping, mapping, paths and bit blocks of the device-context canvas.
#include "GraphicsTestUtil.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <thread>
#include <vector>

using namespace gfxtest;

namespace {

struct Surface {
    TBitmap bmp;
    TCanvas& c;
    explicit Surface(int w = 16, int h = 16, TPixelFormat f = pfDevice) : bmp(w, h, f), c(*bmp.Canvas()) {}
};

// Pixels of two pictures of one size whose colours differ, and pixels not white in the
// first.
struct Difference {
    int Differ = 0;
    int Inked = 0;
};
Difference Compare(TBitmap& a, TBitmap& b)
{
    Difference d;
    for (int y = 0; y < a.Height(); ++y)
        for (int x = 0; x < a.Width(); ++x) {
            const TRGBQuad p = a.ScanLine(y)[x], q = b.ScanLine(y)[x];
            d.Differ += p.rgbRed != q.rgbRed || p.rgbGreen != q.rgbGreen || p.rgbBlue != q.rgbBlue;
            d.Inked += p.rgbRed != 255 || p.rgbGreen != 255 || p.rgbBlue != 255;
        }
    return d;
}

// 6-pixel characters, 10 above the baseline and 3 below.
std::shared_ptr<const TTextMeasurer> Fixed() { return std::make_shared<TFixedTextMeasurer>(6, 10, 3); }

} // namespace

// ---- text -----------------------------------------------------------------------

TEST(CanvasText, MeasuresWithTheGivenMeasurer)
{
    TBitmap b(10, 10);
    TCanvas& c = *b.Canvas();
    c.SetTextMeasurer(Fixed());
    EXPECT_EQ(c.TextWidth("abc"), 18);
    EXPECT_EQ(c.TextHeight("abc"), 13);
    c.SetTextCharacterExtra(2);
    EXPECT_EQ(c.TextExtent("abc"), TSize(24, 13));
}

TEST(CanvasText, InstalledFacesMeasurePlausibly)
{
    TBitmap b(10, 10);
    TCanvas& c = *b.Canvas();
    c.Font()->SetName("Arial");
    c.Font()->SetSize(8);
    EXPECT_EQ(c.Font()->Height(), -11);
    const int h = c.TextHeight("W");
    EXPECT_GE(h, 11);
    EXPECT_LE(h, 15);
    EXPECT_GT(c.TextWidth("WWW"), c.TextWidth("iii"));   // proportional face
    c.Font()->SetName("Courier New");
    EXPECT_EQ(c.TextWidth("WWW"), c.TextWidth("iii"));   // fixed face
}

// Widths are kept per font: a text measured again after the face, size or style changed
// has the new font's width, and the first font's width when it comes back.
TEST(CanvasText, WidthsFollowTheFontTheyWereMeasuredIn)
{
    TBitmap b(10, 10);
    TCanvas& c = *b.Canvas();
    c.Font()->SetName("Arial");
    c.Font()->SetSize(8);
    const int plain = c.TextWidth("Wide 123");
    // Measured anew, past every width that canvases keep.
    const auto fresh = [&c] { return SystemTextMeasurer().TextWidth(*c.Font(), "Wide 123", 0); };
    c.Font()->SetStyle(TFontStyles(fsBold));
    EXPECT_EQ(c.TextWidth("Wide 123"), fresh());
    EXPECT_NE(c.TextWidth("Wide 123"), plain);
    c.Font()->SetStyle(TFontStyles());
    c.Font()->SetSize(16);
    EXPECT_EQ(c.TextWidth("Wide 123"), fresh());
    EXPECT_GT(c.TextWidth("Wide 123"), plain);
    c.Font()->SetName("Courier New");
    EXPECT_EQ(c.TextWidth("Wide 123"), fresh());
    c.Font()->SetName("Arial");
    c.Font()->SetSize(8);
    EXPECT_EQ(c.TextWidth("Wide 123"), plain);
    c.SetTextCharacterExtra(2);
    EXPECT_EQ(c.TextWidth("Wide 123"), plain + 16);
}

TEST(CanvasText, OpaqueCellFollowsAlignmentFlags)
{
    struct Case {
        TTextAlign align;
        TRect cell;
    };
    // Reference point (30, 20); text "ab" is 12 x 13 with the baseline 10 below the top.
    const Case cases[] = {
        {TA_LEFT | TA_TOP, TRect(30, 20, 42, 33)},
        {TA_RIGHT | TA_TOP, TRect(18, 20, 30, 33)},
        {TA_CENTER | TA_TOP, TRect(24, 20, 36, 33)},
        {TA_LEFT | TA_BASELINE, TRect(30, 10, 42, 23)},
        {TA_LEFT | TA_BOTTOM, TRect(30, 7, 42, 20)},
        {TA_RIGHT | TA_BOTTOM, TRect(18, 7, 30, 20)},
    };
    for (const Case& k : cases) {
        Surface s(60, 40);
        s.c.SetTextMeasurer(Fixed());
        s.c.SetBkMode(OPAQUE);
        s.c.SetBkColor(clYellow);
        s.c.SetTextAlign(k.align);
        s.c.TextOut(30, 20, "ab");
        EXPECT_EQ(InkBounds(s.bmp), k.cell) << "align " << k.align.Bits();
        EXPECT_GT(Count(s.bmp, clYellow), 12 * 13 / 2);
    }
}

TEST(CanvasText, TransparentTextDrawsGlyphsOnlyInTheTextColour)
{
    Surface s(60, 30);
    s.c.SetBkMode(TRANSPARENT);
    s.c.Font()->SetColor(clRed);
    s.c.TextOut(2, 2, "HI");
    const TRect ink = InkBounds(s.bmp);
    EXPECT_FALSE(IsRectEmpty(ink));
    EXPECT_GE(ink.Left, 2);
    EXPECT_GE(ink.Top, 2);
    EXPECT_EQ(Count(s.bmp, clRed) + Count(s.bmp, clWhite), 60 * 30);   // aliased: no mixed pixels
    // SetTextColor overrides the font colour until the font changes.
    s.c.SetTextColor(clBlue);
    s.c.TextOut(30, 2, "HI");
    EXPECT_GT(Count(s.bmp, clBlue), 0);
}

// Plain text drawn from glyphs shaped once and kept with their font gives the pixels that
// shaping it at every call gives: several faces, sizes and styles (underlined and struck
// out too), each alignment, opaque and transparent, each text drawn twice and again in
// another font, which must not take the first font's glyphs.
TEST(CanvasText, KeptShapesDrawWhatShapingEachTimeDraws)
{
    const auto draw = [](bool shortcuts) {
        auto b = WhiteBitmap(300, 240);
        TCanvas& c = *b->Canvas();
        c.SetShortcuts(shortcuts);
        const char* faces[] = {"Arial", "Times New Roman", "Courier New"};
        const char* texts[] = {"-12.5", "1,000", "Wäg fi ĳ", "Axis Title"};
        const TTextAlign aligns[] = {TA_LEFT | TA_TOP, TA_RIGHT | TA_BOTTOM, TA_CENTER | TA_BASELINE};
        for (int i = 0; i < 18; ++i) {
            TFont& f = *c.Font();
            f.SetName(faces[i % 3]);
            f.SetSize(7 + i % 5 * 2);
            f.SetStyle(TFontStyles(i % 4 == 1 ? fsBold | fsItalic : i % 4 == 2 ? fsUnderline | fsStrikeOut : 0));
            f.SetColor(i % 2 ? clNavy : clMaroon);
            c.SetTextAlign(aligns[i % 3]);
            c.SetBkMode(i % 5 == 0 ? OPAQUE : TRANSPARENT);
            c.SetBkColor(clYellow);
            const int x = 10 + (i % 3) * 100 + (i % 3 == 1 ? 80 : i % 3 == 2 ? 40 : 0), y = 14 + (i / 3) * 38;
            c.TextOut(x, y, texts[i % 4]);
            c.TextOut(x + 3, y + 17, texts[(i + 1) % 4]);
        }
        c.Flush();
        return b;
    };
    auto kept = draw(true), shaped = draw(false);
    const auto [differ, inked] = Compare(*kept, *shaped);
    EXPECT_EQ(differ, 0);
    EXPECT_GT(inked, 2000);
    if (const std::string path = testsupport::ArtifactPath("canvas_kept_text.png"); !path.empty())
        kept->SaveToFile(path);
}

// Text drawn again where it was drawn before copies the pixels it gave then only while the
// pixels under it and its colour are as they were: frames redrawn over the same background,
// over a new one, with a line through two labels, in another colour and one pixel further,
// each frame compared with drawing every glyph anew. Drawn on one kept canvas (a window),
// on a new canvas each frame (a picture, whose canvas finds what the last one kept), and
// so on two threads at once.
TEST(CanvasText, TextDrawnAgainGivesWhatDrawingItAnewGives)
{
    constexpr int kFrames = 8;
    const char* texts[] = {"0", "1,000", "-12.5", "Wäg fi"};
    const auto drawFrame = [&](TBitmap& b, int frame) {
        TCanvas& c = *b.Canvas();
        c.Brush()->SetColor(frame == 3 ? clYellow : clWhite);
        c.FillRect(TRect(0, 0, 200, 120));
        if (frame == 5) {
            c.Pen()->SetColor(clRed);
            c.MoveTo(0, 42);
            c.LineTo(200, 42);
        }
        c.SetBkMode(TRANSPARENT);
        c.Font()->SetName("Arial");
        for (int i = 0; i < 8; ++i) {
            c.Font()->SetSize(8 + i % 3 * 2);
            c.Font()->SetColor(frame == 6 && i % 2 == 1 ? clGreen : clNavy);
            c.TextOut(10 + i % 2 * 90 + (frame == 7 && i == 0 ? 1 : 0), 8 + i / 2 * 26, texts[i % 4]);
        }
        c.Flush();
    };
    // Each frame drawn with every shortcut, on one canvas or a new one each time: the
    // pixels that differ from drawing it anew, and the pixels in the text colour.
    using Seen = std::vector<std::pair<int, int>>;
    const auto quickFrames = [&](bool newCanvas) {
        Seen seen;
        auto quick = WhiteBitmap(200, 120);
        for (int frame = 0; frame < kFrames; ++frame) {
            if (newCanvas)
                quick = WhiteBitmap(200, 120);
            drawFrame(*quick, frame);
            auto exact = WhiteBitmap(200, 120);
            exact->Canvas()->SetShortcuts(false);
            drawFrame(*exact, frame);
            seen.emplace_back(Compare(*quick, *exact).Differ, Count(*quick, clNavy));
        }
        return seen;
    };
    enum Way { KeptCanvas, NewCanvas, TwoThreads };
    for (const Way way : {KeptCanvas, NewCanvas, TwoThreads}) {
        std::vector<Seen> runs;
        if (way == TwoThreads) {
            Seen other;
            std::thread worker([&] { other = quickFrames(true); });
            runs.push_back(quickFrames(true));
            worker.join();
            runs.push_back(other);
        } else {
            runs.push_back(quickFrames(way == NewCanvas));
        }
        for (const Seen& seen : runs)
            for (int frame = 0; frame < kFrames; ++frame) {
                EXPECT_EQ(seen[size_t(frame)].first, 0) << "way " << way << ", frame " << frame;
                EXPECT_GT(seen[size_t(frame)].second, 100) << "way " << way << ", frame " << frame;
            }
    }
    if (const std::string path = testsupport::ArtifactPath("canvas_text_drawn_again.png"); !path.empty()) {
        auto last = WhiteBitmap(200, 120);
        drawFrame(*last, kFrames - 1);
        last->SaveToFile(path);
    }
}

TEST(CanvasText, UpdateCpStartsAtAndAdvancesThePenPosition)
{
    Surface s(60, 20);
    s.c.SetTextMeasurer(Fixed());
    s.c.SetTextAlign(TA_UPDATECP);
    s.c.MoveTo(5, 3);
    s.c.TextOut(100, 100, "abc");
    EXPECT_EQ(s.c.PenPos(), TPoint(23, 3));
}

TEST(CanvasText, EscapementTurnsTheTextCounterClockwise)
{
    Surface s(40, 60);
    s.c.SetTextMeasurer(Fixed());
    s.c.SetBkMode(OPAQUE);
    s.c.SetBkColor(clYellow);
    s.c.Font()->SetOrientation(900);
    s.c.TextOut(10, 50, "abcd");   // 24 long, going up from (10, 50)
    const TRect ink = InkBounds(s.bmp);
    EXPECT_EQ(ink, TRect(10, 26, 23, 50));
}

// ---- clipping -------------------------------------------------------------------

TEST(CanvasClip, StackRestoresTheClipInForceBeforeEachPush)
{
    Surface s(20, 20);
    s.c.Brush()->SetColor(clRed);
    s.c.PushClip();
    s.c.IntersectClipRect(0, 0, 10, 20);
    s.c.PushClip();
    s.c.IntersectClipRect(0, 0, 20, 5);
    s.c.FillRect(TRect(0, 0, 20, 20));
    EXPECT_EQ(InkBounds(s.bmp), TRect(0, 0, 10, 5));
    s.c.PopClip();   // back to the first clip, not to none
    s.c.Brush()->SetColor(clBlue);
    s.c.FillRect(TRect(0, 0, 20, 20));
    EXPECT_EQ(InkBounds(s.bmp), TRect(0, 0, 10, 20));
    EXPECT_EQ(Count(s.bmp, clBlue, TRect(10, 0, 20, 20)), 0);
    s.c.PopClip();
    s.c.FillRect(TRect(0, 0, 20, 20));
    EXPECT_EQ(Count(s.bmp, clBlue), 400);
    EXPECT_EQ(s.c.ClipDepth(), 0);
}

TEST(CanvasClip, TwoCanvasesKeepTheirOwnClips)
{
    Surface a(10, 10), b(10, 10);
    a.c.IntersectClipRect(0, 0, 5, 5);
    TRegion r;
    EXPECT_FALSE(b.c.GetClipRgn(r));
    EXPECT_TRUE(a.c.GetClipRgn(r));
    EXPECT_EQ(r.Bounds(), TRect(0, 0, 5, 5));
}

TEST(CanvasClip, ExcludeAndSelectRegions)
{
    Surface s(20, 20);
    s.c.ExcludeClipRect(5, 5, 15, 15);
    s.c.Brush()->SetColor(clRed);
    s.c.FillRect(TRect(0, 0, 20, 20));
    EXPECT_EQ(Count(s.bmp, clRed), 400 - 100);
    const TRegion ell = TRegion::CreateEllipse(0, 0, 20, 20);
    s.c.SelectClipRgn(&ell);
    s.c.Brush()->SetColor(clBlue);
    s.c.FillRect(TRect(0, 0, 20, 20));
    EXPECT_EQ(Px(s.bmp, 0, 0), clRed);
    EXPECT_EQ(Px(s.bmp, 10, 10), clBlue);
    s.c.SelectClipRgn(nullptr);
    EXPECT_EQ(s.c.ClipRect(), TRect(0, 0, 20, 20));
}

TEST(CanvasClip, RegionsCombine)
{
    TRegion a = TRegion::CreateRect(0, 0, 10, 10);
    const TRegion b = TRegion::CreateRect(5, 5, 15, 15);
    auto area = [](const TRegion& r) {
        int n = 0;
        for (const TRect& q : r.Rects())
            n += q.Width() * q.Height();
        return n;
    };
    TRegion x = a;
    x.Combine(b, RGN_AND);
    EXPECT_EQ(area(x), 25);
    x = a;
    x.Combine(b, RGN_OR);
    EXPECT_EQ(area(x), 175);
    x = a;
    x.Combine(b, RGN_XOR);
    EXPECT_EQ(area(x), 150);
    x = a;
    x.Combine(b, RGN_DIFF);
    EXPECT_EQ(area(x), 75);
    EXPECT_TRUE(a.Contains(9, 9));
    EXPECT_FALSE(a.Contains(10, 9));
    const TPoint tri[] = {{0, 0}, {10, 0}, {0, 10}};
    const TRegion t = TRegion::CreatePolygon(tri, 3, ALTERNATE);
    EXPECT_TRUE(t.Contains(1, 1));
    EXPECT_FALSE(t.Contains(8, 8));
}

TEST(CanvasClip, ClipToAPathOfText)
{
    Surface s(60, 30);
    s.c.SetBkMode(TRANSPARENT);
    s.c.Font()->SetHeight(-24);
    s.c.BeginPath();
    s.c.TextOut(2, 2, "OO");
    s.c.EndPath();
    s.c.SelectClipPath(RGN_AND);
    s.c.Brush()->SetColor(clRed);
    s.c.FillRect(TRect(0, 0, 60, 30));
    const int red = Count(s.bmp, clRed);
    EXPECT_GT(red, 50);
    EXPECT_LT(red, 60 * 30 / 2);
    EXPECT_EQ(Px(s.bmp, 0, 0), clWhite);
}

// ---- mapping --------------------------------------------------------------------

// Under a clip region of many rectangles (a slanted hexagon), figures drawn under the one
// rectangle the region makes within their bounds, solid fills written into the image,
// columns of their own rows and colours written a row at a time or one by one, and symbols
// stamped, give the pixels that the whole region gives.
TEST(CanvasClip, ShortcutsUnderARegionDrawWhatTheRegionDraws)
{
    const auto draw = [](bool shortcuts) {
        auto b = WhiteBitmap(120, 100);
        TCanvas& c = *b->Canvas();
        c.SetShortcuts(shortcuts);
        const TPoint hull[] = {{10, 90}, {10, 25}, {30, 5}, {110, 5}, {110, 70}, {90, 90}};
        const TRegion region = TRegion::CreatePolygon(hull, 6, ALTERNATE);
        c.SelectClipRgn(&region);
        c.Pen()->SetColor(clNavy);
        for (int i = 0; i < 24; ++i) {   // some inside, some across the slanted edges
            const int x = 2 + i * 5, top = 2 + (i * 37) % 60;
            c.Brush()->SetColor(i % 2 ? clRed : clYellow);
            const TPoint face[] = {{x, top}, {x + 6, top - 4}, {x + 6, 97}, {x, 99}};
            c.Polygon(face, 4);
            c.Rectangle(x + 1, top + 10, x + 4, top + 30);
            c.Brush()->SetColor(i % 3 ? clTeal : clFuchsia);   // right to left, some past the image
            c.FillRect(TRect(x + 3, top - 12 + i % 4, x - 2 - i % 3, top - 2 + (i % 5) * 9));
        }
        // From past the left edge to past the right one, some columns empty, some past the
        // top or the bottom; the brush stays as it was.
        std::vector<int> tops, bottoms;
        std::vector<TColor> colours;
        for (int k = 0; k < 130; ++k) {
            tops.push_back(k % 7 == 3 ? 50 : -5 + (k * 23) % 70);
            bottoms.push_back(k % 7 == 3 ? 40 : tops.back() + (k * 11) % 45);
            colours.push_back(k % 5 < 3 ? clOlive : clPurple);
        }
        c.Brush()->SetColor(clAqua);
        c.FillColumns(-5, 130, tops.data(), bottoms.data(), colours.data());
        // One column at a time too: one empty, some across the region's edges or past the
        // image's.
        for (int k = 0; k < 12; ++k) {
            const int top = k == 5 ? 30 : -3 + (k * 19) % 80, bottom = k == 5 ? 29 : top + 4 + (k * 13) % 40;
            const TColor colour = k % 2 ? clMaroon : clLime;
            c.FillColumns(-1 + k * 11, 1, &top, &bottom, &colour);
        }
        EXPECT_EQ(c.Brush()->Color(), clAqua);
        EXPECT_EQ(c.Brush()->Style(), bsSolid);
        TBitmap black(5, 5), white(5, 5);
        for (TBitmap* s : {&black, &white}) {
            s->Canvas()->Brush()->SetColor(s == &black ? clBlack : clWhite);
            s->Canvas()->FillRect(TRect(0, 0, 5, 5));
            s->Canvas()->Pen()->SetColor(clGreen);
            s->Canvas()->MoveTo(0, 2);
            s->Canvas()->LineTo(5, 2);
            s->Canvas()->MoveTo(2, 0);
            s->Canvas()->LineTo(2, 5);
        }
        std::vector<TPoint> at;
        for (int i = 0; i < 60; ++i)
            at.push_back(TPoint((i * 53) % 125 - 2, (i * 29) % 105 - 2));
        EXPECT_TRUE(c.CanStamp());
        const TCanvas::TStampRuns runs = TCanvas::StampRunsOf(*black.Canvas(), *white.Canvas(), 2, 2);
        for (const TPoint& p : at)
            c.Stamp(runs, p.X, p.Y);
        c.Flush();
        return b;
    };
    auto quick = draw(true), exact = draw(false);
    const auto [differ, inked] = Compare(*quick, *exact);
    EXPECT_EQ(differ, 0);
    EXPECT_GT(inked, 3000);
    EXPECT_EQ(Count(*quick, clGreen, TRect(0, 0, 10, 100)), 0);   // stamps stay inside the region
    EXPECT_GT(Count(*quick, clGreen), 100);
}

// Under one clip rectangle and under none: fills of whole rows (the whole image, a band of
// rows, rows the clip cuts) written at once, and a picture stamped inside, across each edge
// of the clip and of the image and beyond them, give what filling row by row and drawing
// the picture at each place give.
TEST(CanvasClip, WholeRowsAndStampsByOneRectangleDrawWhatPlainDrawingDraws)
{
    TBitmap black(5, 5), white(5, 5);
    const auto cross = [](TCanvas& c, int x, int y) {   // the picture, its hot spot at (x, y)
        c.Pen()->SetColor(clGreen);
        c.MoveTo(x - 2, y);
        c.LineTo(x + 3, y);
        c.Pen()->SetColor(clRed);
        c.MoveTo(x, y - 2);
        c.LineTo(x, y + 3);
    };
    for (TBitmap* s : {&black, &white}) {
        s->Canvas()->Brush()->SetColor(s == &black ? clBlack : clWhite);
        s->Canvas()->FillRect(TRect(0, 0, 5, 5));
        cross(*s->Canvas(), 2, 2);
    }
    const TCanvas::TStampRuns runs = TCanvas::StampRunsOf(*black.Canvas(), *white.Canvas(), 2, 2);
    std::vector<TPoint> at;
    for (const int x : {-2, -1, 0, 9, 10, 11, 12, 40, 67, 68, 69, 70, 71, 88, 89, 90, 91})
        for (const int y : {-2, 0, 1, 6, 7, 8, 9, 30, 58, 59, 60, 61, 68, 69, 71})
            at.push_back(TPoint(x, y));
    const auto draw = [&](bool shortcuts) {
        auto b = WhiteBitmap(90, 70);
        TCanvas& c = *b->Canvas();
        c.SetShortcuts(shortcuts);
        c.Brush()->SetColor(clTeal);
        c.FillRect(TRect(95, 75, -5, -5));
        c.Brush()->SetColor(clOlive);
        c.FillRect(TRect(0, 20, 90, 31));
        for (const bool clipped : {true, false}) {
            if (clipped)
                c.IntersectClipRect(10, 8, 70, 60);
            c.Brush()->SetColor(clipped ? clPurple : clNavy);
            c.FillRect(TRect(0, clipped ? 40 : 64, 90, clipped ? 45 : 66));
            for (size_t i = clipped ? 0 : 1; i < at.size(); i += 2) {
                EXPECT_TRUE(c.CanStamp());
                if (shortcuts)
                    c.Stamp(runs, at[i].X, at[i].Y);
                else
                    cross(c, at[i].X, at[i].Y);
            }
            c.SelectClipRgn(nullptr);
        }
        c.Flush();
        return b;
    };
    auto quick = draw(true), exact = draw(false);
    const auto [differ, inked] = Compare(*quick, *exact);
    EXPECT_EQ(differ, 0);
    EXPECT_GT(inked, 90 * 70 / 2);
    EXPECT_GT(Count(*quick, clRed, TRect(0, 0, 10, 70)), 0);   // the unclipped ones reach the edges
    EXPECT_EQ(Count(*quick, clNavy), 90 * 2);
}

// One-pixel lines, level and upright ones written straight into the image, give the pixels
// the raster engine gives them: solid and every dash style, both directions, with and
// without the opaque background in the gaps, the pattern running on across a polyline's
// joins, runs up and down one column, under a clip region that cuts some of them and past
// the image's edge.
TEST(CanvasClip, ShortcutLinesDrawWhatTheEngineDraws)
{
    const auto draw = [](bool shortcuts) {
        auto b = WhiteBitmap(160, 120);
        TCanvas& c = *b->Canvas();
        c.SetShortcuts(shortcuts);
        const TPoint hull[] = {{4, 110}, {4, 20}, {30, 3}, {150, 3}, {150, 90}, {120, 116}};
        const TRegion region = TRegion::CreatePolygon(hull, 6, ALTERNATE);
        c.SelectClipRgn(&region);
        c.SetBkColor(clYellow);
        const TPenStyle styles[] = {psDash, psDot, psDashDot, psDashDotDot, psSolid};
        for (int i = 0; i < 14; ++i) {
            TPen& pen = *c.Pen();
            pen.SetColor(i % 3 == 0 ? clNavy : i % 3 == 1 ? clRed : clGreen);
            if (i < 8 || i >= 12) {
                pen.SetStyle(i < 8 ? styles[i % 5] : psSolid);
            } else {
                pen.SetStyle(psSolid);
                TExtPenInfo info;
                if (i % 2)
                    info.Alternate = true;
                else
                    info.UserStyle = {2, 5, 4};
                pen.SetExtended(info);
            }
            c.SetBkMode(i % 2 ? OPAQUE : TRANSPARENT);
            const int at = 2 + i * 9;
            c.MoveTo(0, at);   // left to right, from outside the region
            c.LineTo(157 - i, at);
            c.MoveTo(159 - i, at + 3);   // right to left
            c.LineTo(i * 3, at + 3);
            c.MoveTo(at + 10, 1 + i);   // downwards and upwards
            c.LineTo(at + 10, 118 - i);
            c.MoveTo(at + 13, 117);
            c.LineTo(at + 13, i * 5);
            const TPoint turns[] = {{20 + i, 30 + i}, {60 + i, 30 + i}, {60 + i, 70}, {35, 70}, {35, 45 + i}, {50, 58}};
            c.Polyline(turns, 6);
            // Up and down one column, away and back to it further down.
            const int x = 40 + i * 7;
            const TPoint column[] = {{x, 20}, {x, 50}, {x, 35 - i}, {x, 80}, {x + 3, 80}, {x, 100}, {x, 90}, {x + 1, 60}};
            c.Polyline(column, 8);
        }
        c.Flush();
        return b;
    };
    auto quick = draw(true), exact = draw(false);
    const int differ = Compare(*quick, *exact).Differ;
    EXPECT_EQ(differ, 0);
    EXPECT_GT(Count(*quick, clYellow), 500);
    EXPECT_GT(Count(*quick, clNavy), 500);
    EXPECT_EQ(Count(*quick, clRed, TRect(0, 0, 4, 120)), 0);   // nothing outside the region
    if (const std::string path = testsupport::ArtifactPath("canvas_dashed_lines.png"); !path.empty())
        quick->SaveToFile(path);
}

// Slanted solid one-pixel lines written straight into the image give the pixels the raster
// engine gives them: every slope in both directions, short and long, alone and as polylines,
// under a clip rectangle that some of them cross (the engine draws those).
TEST(CanvasClip, ShortcutSlantedLinesDrawWhatTheEngineDraws)
{
    const auto draw = [](bool shortcuts) {
        auto b = WhiteBitmap(300, 240);
        TCanvas& c = *b->Canvas();
        c.SetShortcuts(shortcuts);
        c.IntersectClipRect(8, 6, 292, 230);
        for (int i = 0; i < 96; ++i) {
            c.Pen()->SetColor(i % 2 ? clNavy : clMaroon);
            const int cx = 40 + (i % 8) * 32, cy = 30 + (i / 8) * 17;
            const int len = 1 + (i * 7) % 37;   // the fan's rays: all directions and slopes
            for (int k = 0; k < 16; ++k) {
                const double a = (i * 16 + k) * 0.3927 + i * 0.05;
                c.MoveTo(cx, cy);
                c.LineTo(cx + int(std::lround(len * std::cos(a))), cy + int(std::lround(len * std::sin(a))));
            }
        }
        std::vector<TPoint> zigzag;   // short steps up and down, as a series draws them
        for (int i = 0; i < 280; ++i)
            zigzag.push_back(TPoint(4 + i, 120 + int(std::lround(100 * std::sin(i * 0.11) * std::cos(i * 0.023)))));
        c.Pen()->SetColor(clGreen);
        c.Polyline(zigzag.data(), int(zigzag.size()));
        c.Flush();
        return b;
    };
    auto quick = draw(true), exact = draw(false);
    const int differ = Compare(*quick, *exact).Differ;
    EXPECT_EQ(differ, 0);
    EXPECT_GT(Count(*quick, clNavy), 2000);
    EXPECT_GT(Count(*quick, clGreen), 300);
    EXPECT_EQ(Count(*quick, clGreen, TRect(0, 0, 8, 240)), 0);   // the clip holds
    if (const std::string path = testsupport::ArtifactPath("canvas_slanted_lines.png"); !path.empty())
        quick->SaveToFile(path);
}

// Wide solid lines written from the pixels the engine gave the same line before give the
// pixels the engine gives: widths 2 to 5, each cap and join, level, upright, slanted and
// zero-length, each drawn three times over a cleared picture (the later times from what
// the earlier found), some across the edge of a clip rectangle and of the image, then
// again under a clip region; and on a new canvas, which finds what the first one found.
TEST(CanvasClip, ShortcutWideLinesDrawWhatTheEngineDraws)
{
    const auto draw = [](bool shortcuts) {
        auto b = WhiteBitmap(240, 200);
        TCanvas& c = *b->Canvas();
        c.SetShortcuts(shortcuts);
        const auto lines = [&c](int pass) {
            for (int i = 0; i < 24; ++i) {
                TPen& pen = *c.Pen();
                pen.SetColor(i % 2 ? clNavy : clMaroon);
                pen.SetWidth(2 + i % 4);
                TExtPenInfo info;
                info.EndCap = TPenEndCap(i % 3);
                info.Join = TPenJoin(i / 3 % 3);
                if (i % 5 != 0)
                    pen.SetExtended(info);
                const int x = 6 + (i % 6) * 38 + pass, y = 8 + (i / 6) * 44 + pass;
                const int kind = (i + pass) % 4;
                c.MoveTo(x, y);
                if (kind == 0)
                    c.LineTo(x + 30, y);
                else if (kind == 1)
                    c.LineTo(x, y + 34);
                else if (kind == 2)
                    c.LineTo(x + 25, y + 31);
                else
                    c.LineTo(x, y);
                c.MoveTo(x + 30, y + 20);   // right to left, and upwards
                c.LineTo(x + 4, y + 20);
                c.MoveTo(x + 33, y + 36);
                c.LineTo(x + 33, y + 6 - i % 3);
            }
        };
        // Each pass over a cleared picture: the later ones draw from what the earlier found.
        const auto passes = [&](int at) {
            for (int pass = 0; pass < 3; ++pass) {
                c.Brush()->SetColor(clWhite);
                c.FillRect(TRect(0, 0, 240, 200));
                lines(at);
            }
        };
        c.IntersectClipRect(4, 4, 236, 170);
        passes(0);
        lines(1);
        const TPoint hull[] = {{0, 120}, {120, 0}, {240, 120}, {120, 200}};
        const TRegion region = TRegion::CreatePolygon(hull, 4, ALTERNATE);
        c.SelectClipRgn(&region);
        passes(2);
        c.Flush();
        return b;
    };
    auto quick = draw(true), exact = draw(false);
    const int differ = Compare(*quick, *exact).Differ;
    EXPECT_EQ(differ, 0);
    // A new canvas on the same thread draws from the first pass on with what the first found.
    EXPECT_EQ(Compare(*draw(true), *exact).Differ, 0);
    EXPECT_GT(Count(*quick, clNavy), 1500);
    EXPECT_EQ(Count(*quick, clNavy, TRect(0, 0, 4, 4)), 0);   // the clip holds
    if (const std::string path = testsupport::ArtifactPath("canvas_wide_lines.png"); !path.empty())
        quick->SaveToFile(path);
}

// A picture stamped, drawn on further (its painter still at work) and taken again puts
// down its new pixels the second time.
TEST(CanvasClip, AChangedPictureStampsItsNewPixels)
{
    TBitmap black(3, 3), white(3, 3);
    const auto line = [&](TColor c, TPoint from, TPoint to) {   // slanted: drawn by the painter
        for (TBitmap* p : {&black, &white}) {
            p->Canvas()->Pen()->SetColor(c);
            p->Canvas()->MoveTo(from.X, from.Y);
            p->Canvas()->LineTo(to.X, to.Y);
        }
    };
    for (TBitmap* p : {&black, &white}) {
        p->Canvas()->Brush()->SetColor(p == &black ? clBlack : clWhite);
        p->Canvas()->FillRect(TRect(0, 0, 3, 3));
    }
    line(clRed, TPoint(0, 0), TPoint(2, 2));
    auto b = WhiteBitmap(20, 10);
    const TPoint first(3, 3), second(12, 3);
    b->Canvas()->Stamp(TCanvas::StampRunsOf(*black.Canvas(), *white.Canvas(), 1, 1), first.X, first.Y);
    line(clBlue, TPoint(2, 0), TPoint(0, 2));
    b->Canvas()->Stamp(TCanvas::StampRunsOf(*black.Canvas(), *white.Canvas(), 1, 1), second.X, second.Y);
    b->Canvas()->Flush();
    EXPECT_EQ(Count(*b, clRed, TRect(0, 0, 10, 10)), 2);
    EXPECT_EQ(Count(*b, clBlue, TRect(0, 0, 10, 10)), 0);
    EXPECT_EQ(Count(*b, clRed, TRect(10, 0, 20, 10)), 1);
    EXPECT_EQ(Count(*b, clBlue, TRect(10, 0, 20, 10)), 2);
}

TEST(CanvasMapping, AnisotropicScalesLogicalUnits)
{
    Surface s(40, 40);
    s.c.SetMapMode(MM_ANISOTROPIC);
    s.c.SetWindowExt(10, 10);
    s.c.SetViewportExt(20, 40);
    s.c.Brush()->SetColor(clRed);
    s.c.FillRect(TRect(1, 1, 5, 5));
    EXPECT_EQ(InkBounds(s.bmp), TRect(2, 4, 10, 20));
    TPoint p(5, 5);
    s.c.LPtoDP(&p, 1);
    EXPECT_EQ(p, TPoint(10, 20));
    s.c.DPtoLP(&p, 1);
    EXPECT_EQ(p, TPoint(5, 5));
}

TEST(CanvasMapping, OriginsShiftAndClipRectsFollow)
{
    Surface s(20, 20);
    s.c.SetWindowOrg(5, 5);
    s.c.Brush()->SetColor(clRed);
    s.c.FillRect(TRect(5, 5, 7, 7));
    EXPECT_EQ(InkBounds(s.bmp), TRect(0, 0, 2, 2));
    s.c.IntersectClipRect(5, 5, 10, 10);   // logical: device (0,0)-(5,5)
    TRegion r;
    ASSERT_TRUE(s.c.GetClipRgn(r));
    EXPECT_EQ(r.Bounds(), TRect(0, 0, 5, 5));
    EXPECT_EQ(s.c.ClipRect(), TRect(5, 5, 10, 10));
    s.c.SetMapMode(MM_TEXT);
    s.c.SetWindowOrg(0, 0);
    EXPECT_EQ(s.c.LPtoDP(TPoint(3, 4)), TPoint(3, 4));
}

// ---- paths ----------------------------------------------------------------------

TEST(CanvasPath, FillStrokeAndWiden)
{
    Surface s(20, 20);
    s.c.Brush()->SetColor(clRed);
    s.c.BeginPath();
    s.c.Rectangle(2, 2, 12, 12);
    s.c.EndPath();
    EXPECT_TRUE(s.c.HasPath());
    s.c.FillPath();
    EXPECT_FALSE(s.c.HasPath());
    EXPECT_EQ(Count(s.bmp, clRed), 81);
    // A widened path filled shows only the outline.
    Surface w(20, 20);
    w.c.Pen()->SetWidth(2);
    w.c.Pen()->SetExtended(TExtPenInfo{pecFlat, pjMiter, {}, false});
    w.c.Brush()->SetColor(clBlue);
    w.c.BeginPath();
    w.c.MoveTo(2, 10);
    w.c.LineTo(18, 10);
    w.c.EndPath();
    w.c.WidenPath();
    w.c.FillPath();
    EXPECT_EQ(Count(w.bmp, clBlue), 16 * 2);
}

// ---- bit blocks -----------------------------------------------------------------

TEST(CanvasBitBlt, RasterOperations)
{
    TBitmap src(4, 4);
    src.Canvas()->Brush()->SetColor(clRed);
    src.Canvas()->FillRect(TRect(0, 0, 4, 4));
    Surface s(10, 10);
    s.c.Brush()->SetColor(clBlue);
    s.c.FillRect(TRect(0, 0, 10, 10));
    ASSERT_TRUE(s.c.BitBlt(1, 1, 4, 4, *src.Canvas(), 0, 0, SRCCOPY));
    EXPECT_EQ(Count(s.bmp, clRed), 16);
    EXPECT_EQ(InkBounds(s.bmp, clBlue), TRect(1, 1, 5, 5));
    s.c.BitBlt(1, 1, 2, 2, *src.Canvas(), 0, 0, SRCINVERT);   // red xor red
    EXPECT_EQ(Px(s.bmp, 1, 1), clBlack);
    s.c.BitBlt(0, 6, 2, 2, *src.Canvas(), 0, 0, SRCPAINT);   // blue or red
    EXPECT_EQ(Px(s.bmp, 0, 6), clFuchsia);
    s.c.BitBlt(3, 6, 1, 1, *src.Canvas(), 0, 0, DSTINVERT);
    EXPECT_EQ(Px(s.bmp, 3, 6), clYellow);
    s.c.Brush()->SetColor(clLime);
    s.c.BitBlt(5, 6, 1, 1, *src.Canvas(), 0, 0, PATCOPY);
    EXPECT_EQ(Px(s.bmp, 5, 6), clLime);
    s.c.BitBlt(6, 6, 1, 1, *src.Canvas(), 0, 0, WHITENESS);
    EXPECT_EQ(Px(s.bmp, 6, 6), clWhite);
}

// A copy of a whole image onto a whole image of its size shares the pixels: drawing on
// either afterwards, through the painter or straight into the pixels, leaves the other as
// it was. A destination that lets go of the shared pixels before a copy that covers it does
// so; one not covered whole keeps them.
TEST(CanvasBitBlt, AWholeImageCopyLeavesEachImageItsOwn)
{
    TBitmap src(8, 8);
    src.Canvas()->Brush()->SetColor(clRed);
    src.Canvas()->FillRect(TRect(0, 0, 8, 8));
    src.Canvas()->Pen()->SetColor(clNavy);
    src.Canvas()->MoveTo(0, 7);
    src.Canvas()->LineTo(8, 7);   // the painter is still at work on the source
    Surface s(8, 8);
    ASSERT_TRUE(s.c.BitBlt(0, 0, 8, 8, *src.Canvas(), 0, 0, SRCCOPY));
    EXPECT_EQ(Count(s.bmp, clRed), 56);
    src.Canvas()->MoveTo(0, 0);
    src.Canvas()->LineTo(8, 0);
    src.Canvas()->Brush()->SetColor(clBlue);
    src.Canvas()->FillRect(TRect(0, 2, 4, 4));
    EXPECT_EQ(Count(s.bmp, clRed), 56);
    EXPECT_EQ(Count(s.bmp, clNavy), 8);
    s.c.Brush()->SetColor(clLime);
    s.c.FillRect(TRect(6, 2, 8, 4));
    s.c.SetPixel(5, 5, clYellow);
    EXPECT_EQ(Count(src, clLime) + Count(src, clYellow), 0);
    EXPECT_EQ(Count(src, clBlue), 8);
    EXPECT_EQ(Count(src, clNavy), 16);

    ASSERT_TRUE(s.c.BitBlt(0, 0, 8, 8, *src.Canvas(), 0, 0, SRCCOPY));
    s.c.UnshareImage(*src.Canvas(), TRect(0, 0, 7, 8));   // not covered whole: kept
    EXPECT_EQ(Count(s.bmp, clBlue), 8);
    s.c.UnshareImage(*src.Canvas(), TRect(0, 0, 8, 8));
    src.Canvas()->FillRect(TRect(0, 0, 8, 8));
    ASSERT_TRUE(s.c.BitBlt(0, 0, 8, 8, *src.Canvas(), 0, 0, SRCCOPY));
    EXPECT_EQ(Count(s.bmp, clBlue), 64);
}

TEST(CanvasBitBlt, RespectsTheClipAndStretches)
{
    TBitmap src(2, 2);
    src.Canvas()->SetPixel(0, 0, clRed);
    Surface s(10, 10);
    s.c.IntersectClipRect(0, 0, 3, 10);
    ASSERT_TRUE(s.c.StretchBlt(0, 0, 4, 4, *src.Canvas(), 0, 0, 2, 2, SRCCOPY));
    EXPECT_EQ(Count(s.bmp, clRed), 4);      // the red pixel doubled
    EXPECT_EQ(Px(s.bmp, 3, 3), clWhite);    // clipped column
    // A copy within one bitmap reads the source before writing.
    Surface t(6, 1);
    t.c.SetPixel(0, 0, clRed);
    t.c.SetPixel(1, 0, clBlue);
    t.c.CopyRect(TRect(1, 0, 3, 1), t.c, TRect(0, 0, 2, 1));
    EXPECT_EQ(Px(t.bmp, 1, 0), clRed);
    EXPECT_EQ(Px(t.bmp, 2, 0), clBlue);
    // The same one row down, overlapping: no row is copied from one already written.
    Surface v(1, 4);
    v.c.SetPixel(0, 0, clRed);
    v.c.SetPixel(0, 1, clBlue);
    v.c.SetPixel(0, 2, clLime);
    v.c.CopyRect(TRect(0, 1, 1, 4), v.c, TRect(0, 0, 1, 3));
    EXPECT_EQ(Px(v.bmp, 0, 1), clRed);
    EXPECT_EQ(Px(v.bmp, 0, 2), clBlue);
    EXPECT_EQ(Px(v.bmp, 0, 3), clLime);
}

TEST(CanvasBitBlt, BlocksFarOutsideTheDeviceTouchOnlyWhatIsSeen)
{
    TBitmap src(2, 2);
    src.Canvas()->SetPixel(0, 0, clRed);
    Surface s(8, 8);
    // A block at the smallest x reaches nothing; a huge one is stretched over the device
    // without being made whole (200,000 x 200,000 pixels would not fit in memory).
    EXPECT_TRUE(s.c.BitBlt(INT_MIN, 0, 4, 4, *src.Canvas(), 0, 0, SRCINVERT));
    EXPECT_TRUE(s.c.StretchBlt(INT_MAX - 2, INT_MAX - 2, 4, 4, *src.Canvas(), 0, 0, 2, 2, SRCCOPY));
    EXPECT_EQ(Count(s.bmp, clWhite), 64);
    EXPECT_TRUE(s.c.StretchBlt(-100000, -100000, 200000, 200000, *src.Canvas(), 0, 0, 2, 2, SRCCOPY));
    EXPECT_EQ(Count(s.bmp, clRed), 0);   // the device shows the source's lower right pixel
    EXPECT_TRUE(s.c.StretchBlt(0, 0, 200000, 200000, *src.Canvas(), 0, 0, 2, 2, SRCCOPY));
    EXPECT_EQ(Count(s.bmp, clRed), 64);
    EXPECT_TRUE(s.c.AlphaBlend(-4, -4, 200000, 200000, *src.Canvas(), 1, 1, 1, 1, 255));
    EXPECT_EQ(Count(s.bmp, clWhite), 64);
    // Extents that no device holds are refused.
    EXPECT_FALSE(s.c.StretchBlt(0, 0, INT_MAX, 4, *src.Canvas(), 0, 0, 2, 2, SRCCOPY));
    EXPECT_FALSE(s.c.BitBlt(0, 0, 4, INT_MIN, *src.Canvas(), 0, 0, SRCCOPY));
}

TEST(CanvasBitBlt, AlphaBlendMixesByConstantAlpha)
{
    TBitmap src(2, 1);
    src.Canvas()->Brush()->SetColor(RGB(200, 100, 0));
    src.Canvas()->FillRect(TRect(0, 0, 2, 1));
    Surface s(3, 1);
    s.c.Brush()->SetColor(RGB(0, 0, 100));
    s.c.FillRect(TRect(0, 0, 3, 1));
    ASSERT_TRUE(s.c.AlphaBlend(0, 0, 1, 1, *src.Canvas(), 0, 0, 1, 1, 0));
    EXPECT_EQ(Px(s.bmp, 0, 0), RGB(0, 0, 100));
    s.c.AlphaBlend(1, 0, 1, 1, *src.Canvas(), 0, 0, 1, 1, 255);
    EXPECT_EQ(Px(s.bmp, 1, 0), RGB(200, 100, 0));
    s.c.AlphaBlend(2, 0, 1, 1, *src.Canvas(), 0, 0, 1, 1, 51);   // 20 %
    EXPECT_EQ(Px(s.bmp, 2, 0), RGB(40, 20, 80));
}

TEST(CanvasClip, AShapedClipAfterARemovedOneStillClips)
{
    // Clip, draw, remove, then clip to an ellipse: the painter must take the new shape.
    Surface s(40, 40);
    s.c.Brush()->SetColor(clBlue);
    s.c.PushClip();
    s.c.IntersectClipRect(0, 0, 5, 5);
    s.c.FillRect(TRect(0, 0, 40, 40));
    s.c.PopClip();
    s.c.PushClip();
    const TRegion e = TRegion::CreateEllipse(10, 10, 40, 40);
    s.c.ExtSelectClipRgn(&e, RGN_AND);
    s.c.TextOut(0, 0, "x");   // text saves and restores painter state
    s.c.Brush()->SetColor(clRed);
    s.c.FillRect(TRect(10, 10, 40, 40));
    EXPECT_EQ(Px(s.bmp, 11, 11), clWhite);   // outside the ellipse
    EXPECT_EQ(Px(s.bmp, 25, 25), clRed);
    EXPECT_EQ(Count(s.bmp, clBlue), 25);
}
