// Playing recorded metafiles: the same pixels as drawing directly, through files of both
// kinds, stretched, and without disturbing the canvas played onto.
#include "GraphicsTestUtil.h"
#include "TestSupport.h"

#include "graphics/Metafile.h"
#include "controls/Clipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QMimeData>

#include <gtest/gtest.h>

#include <functional>

namespace {

constexpr int W = 64, H = 48;

// Shapes, pens, brushes, modes, clipping and bit blocks; no text and no curves.
void Shapes(TCanvas& c)
{
    c.Pen()->SetColor(clRed);
    c.MoveTo(2, 2);
    c.LineTo(40, 20);
    c.Pen()->SetStyle(psDash);
    c.LineTo(5, 40);
    c.Pen()->SetStyle(psSolid);
    c.Pen()->SetWidth(3);
    const TPoint poly[] = {TPoint(10, 5), TPoint(30, 8), TPoint(25, 30), TPoint(12, 25)};
    c.Brush()->SetColor(clYellow);
    c.Brush()->SetStyle(bsDiagCross);
    c.SetBkColor(clAqua);
    c.Polygon(poly, 4);
    c.Pen()->SetWidth(1);
    c.Brush()->SetStyle(bsSolid);
    c.Brush()->SetColor(clLime);
    c.Rectangle(40, 2, 60, 14);
    c.RoundRect(42, 16, 62, 30, 10, 4);   // unequal corner width and height
    c.Ellipse(2, 30, 20, 46);
    c.Pie(20, 28, 40, 46, 40, 28, 20, 28);
    c.Chord(44, 32, 62, 46, 62, 46, 44, 32);
    c.Arc(30, 2, 50, 22, 50, 12, 30, 12);
    c.Brush()->SetColor(clNavy);
    c.FrameRect(TRect(1, 1, 63, 47));
    c.SetPixel(0, 0, clFuchsia);
    c.PushClip();
    c.IntersectClipRect(20, 20, 40, 40);
    c.Brush()->SetColor(clPurple);
    c.FillRect(TRect(0, 0, 64, 48));
    c.PopClip();
    c.Pen()->SetMode(pmXor);
    c.Pen()->SetColor(clWhite);
    c.MoveTo(0, 24);
    c.LineTo(64, 24);
    c.Pen()->SetMode(pmCopy);
    const TPoint line[] = {TPoint(50, 40), TPoint(60, 44), TPoint(52, 47)};
    c.Polyline(line, 3);
    // A bit block from another bitmap, and a bitmap drawn see-through.
    TBitmap src(8, 8);
    src.Canvas()->Brush()->SetColor(clMaroon);
    src.Canvas()->FillRect(TRect(0, 0, 4, 8));
    c.BitBlt(44, 2, 8, 8, *src.Canvas(), 0, 0, SRCCOPY);
    c.StretchBlt(2, 14, 16, 8, *src.Canvas(), 0, 0, 8, 8, SRCINVERT);
    src.SetTransparent(true);
    src.SetTransparentColor(clWhite);
    c.Draw(24, 36, &src);
    TRegion r = TRegion::CreateEllipse(30, 30, 50, 46);
    c.SelectClipRgn(&r);
    c.Brush()->SetColor(clTeal);
    c.FillRect(TRect(0, 0, 64, 48));
    c.SelectClipRgn(nullptr);
    c.AlphaBlend(0, 0, 8, 8, *src.Canvas(), 0, 0, 8, 8, 128);
}

std::unique_ptr<TBitmap> Direct(const std::function<void(TCanvas&)>& paint, int w = W, int h = H)
{
    auto b = gfxtest::WhiteBitmap(w, h);
    paint(*b->Canvas());
    b->Canvas()->Flush();
    return b;
}

std::unique_ptr<TMetafile> Record(const std::function<void(TCanvas&)>& paint, int w = W, int h = H)
{
    auto m = std::make_unique<TMetafile>();
    m->SetWidth(w);
    m->SetHeight(h);
    TMetafileCanvas c(m.get());
    paint(c);
    return m;
}

std::unique_ptr<TBitmap> Played(TMetafile& m, int w = W, int h = H)
{
    auto b = gfxtest::WhiteBitmap(w, h);
    b->Canvas()->Draw(0, 0, &m);
    b->Canvas()->Flush();
    return b;
}

int Differences(TBitmap& a, TBitmap& b)
{
    int n = 0;
    for (int y = 0; y < a.Height(); ++y)
        for (int x = 0; x < a.Width(); ++x)
            n += gfxtest::Px(a, x, y) != gfxtest::Px(b, x, y) ? 1 : 0;
    return n;
}

void Save(TBitmap& b, const std::string& name)
{
    const std::string path = testsupport::ArtifactPath(name);
    if (!path.empty())
        b.SaveToFile(path);
}

} // namespace

TEST(MetafilePlayback, SamePixelsAsDrawingDirectly)
{
    auto direct = Direct(Shapes);
    auto m = Record(Shapes);
    EXPECT_FALSE(m->Empty());
    auto played = Played(*m);
    Save(*direct, "metafile_direct.png");
    Save(*played, "metafile_played.png");
    EXPECT_GT(gfxtest::Count(*direct, clWhite), 0);
    EXPECT_LT(gfxtest::Count(*direct, clWhite), W * H / 2);   // the drawing covers a good part
    EXPECT_EQ(Differences(*direct, *played), 0);
}

TEST(MetafilePlayback, SaveLoadAndPlayAgain)
{
    auto direct = Direct(Shapes);
    auto m = Record(Shapes);
    const std::string emf = testsupport::TempDir() + "/shapes.emf";
    m->SaveToFile(emf);
    TPicture pic;
    pic.LoadFromFile(emf);
    auto* loaded = dynamic_cast<TMetafile*>(pic.Graphic());
    ASSERT_NE(loaded, nullptr);
    EXPECT_TRUE(loaded->Enhanced());
    EXPECT_EQ(loaded->Width(), W);
    EXPECT_EQ(loaded->Height(), H);
    auto played = Played(*loaded);
    EXPECT_EQ(Differences(*direct, *played), 0);
    // Written again, the same bytes.
    EXPECT_EQ(loaded->SaveToBytes(), m->SaveToBytes());
}

TEST(MetafilePlayback, WindowsMetafileRoundTrip)
{
    // The 16-bit records have no blending and no see-through blocks: a drawing without them.
    auto paint = [](TCanvas& c) {
        c.Pen()->SetColor(clBlue);
        c.Brush()->SetColor(clYellow);
        c.Rectangle(4, 4, 30, 20);
        c.Brush()->SetStyle(bsCross);
        c.Ellipse(20, 10, 60, 44);
        c.Pen()->SetMode(pmNotXor);
        c.MoveTo(0, 0);
        c.LineTo(63, 47);
        c.Pen()->SetMode(pmCopy);
        c.PushClip();
        c.IntersectClipRect(0, 30, 20, 48);
        c.Brush()->SetStyle(bsSolid);
        c.Brush()->SetColor(clRed);
        c.FillRect(TRect(0, 0, 64, 48));
        c.PopClip();
        TRegion r = TRegion::CreateRect(40, 0, 64, 8);
        c.SelectClipRgn(&r);
        c.Brush()->SetColor(clGreen);
        c.FillRect(TRect(0, 0, 64, 48));
        c.SelectClipRgn(nullptr);
        TBitmap src(6, 6);
        src.Canvas()->Brush()->SetColor(clOlive);
        src.Canvas()->FillRect(TRect(0, 0, 3, 6));
        c.StretchBlt(30, 24, 12, 12, *src.Canvas(), 0, 0, 6, 6, SRCCOPY);
        c.SetPixel(63, 0, clFuchsia);
    };
    auto direct = Direct(paint);
    auto m = Record(paint);
    m->SetEnhanced(false);
    const std::string wmf = testsupport::TempDir() + "/shapes.wmf";
    m->SaveToFile(wmf);
    TPicture pic;
    pic.LoadFromFile(wmf);
    auto* loaded = dynamic_cast<TMetafile*>(pic.Graphic());
    ASSERT_NE(loaded, nullptr);
    EXPECT_FALSE(loaded->Enhanced());
    EXPECT_EQ(loaded->Width(), W);
    EXPECT_EQ(loaded->Height(), H);
    auto played = Played(*loaded);
    Save(*played, "metafile_wmf_played.png");
    EXPECT_EQ(Differences(*direct, *played), 0);
}

TEST(MetafilePlayback, TextWithinTolerance)
{
    auto paint = [](TCanvas& c) {
        c.Font()->SetName("Arial");
        c.Font()->SetHeight(-14);
        c.Font()->SetColor(clBlue);
        c.TextOut(2, 2, "Cp(T) fit");
        c.SetTextAlign(TA_RIGHT | TA_BOTTOM);
        c.SetBkMode(TRANSPARENT);
        c.Font()->SetStyle(fsBold);
        c.TextOut(62, 46, "Einstein");
        c.SetTextAlign(0);
        c.Brush()->SetColor(clYellow);
        c.TextRect(TRect(2, 20, 30, 32), 4, 20, "clipped text");
    };
    auto direct = Direct(paint);
    auto m = Record(paint);
    auto played = Played(*m);
    EXPECT_GT(W * H - gfxtest::Count(*direct, clWhite), 100);
    EXPECT_LE(Differences(*direct, *played), W * H / 100);
    // The yellow cell of the clipped text and the blue of the first text come through.
    EXPECT_GT(gfxtest::Count(*played, clYellow, TRect(2, 20, 30, 32)), 100);
    EXPECT_GT(gfxtest::Count(*played, clBlue, TRect(0, 0, 64, 18)), 10);
}

TEST(MetafilePlayback, StretchDrawScalesAndStaysInsideItsRectangle)
{
    auto paint = [](TCanvas& c) {
        c.Brush()->SetColor(clRed);
        c.FillRect(TRect(0, 0, 10, 10));
        c.Brush()->SetColor(clBlue);
        c.FillRect(TRect(-50, -50, 200, 0));   // outside the picture: never shown
    };
    auto m = Record(paint, 20, 10);
    auto b = gfxtest::WhiteBitmap(100, 60);
    b->Canvas()->StretchDraw(TRect(10, 20, 50, 40), m.get());
    b->Canvas()->Flush();
    EXPECT_EQ(gfxtest::InkBounds(*b), TRect(10, 20, 30, 40));
    EXPECT_EQ(gfxtest::Count(*b, clRed), 20 * 20);
    EXPECT_EQ(gfxtest::Count(*b, clBlue), 0);
    // Drawn at its own size at an offset: moved, not scaled.
    auto c = gfxtest::WhiteBitmap(100, 60);
    c->Canvas()->Draw(5, 7, m.get());
    c->Canvas()->Flush();
    EXPECT_EQ(gfxtest::InkBounds(*c), TRect(5, 7, 15, 17));
}

TEST(MetafilePlayback, EmptyMetafileDrawsNothingAndCanvasStateSurvives)
{
    auto b = gfxtest::WhiteBitmap(30, 30);
    TCanvas& c = *b->Canvas();
    TMetafile empty;
    EXPECT_TRUE(empty.Empty());
    c.StretchDraw(TRect(0, 0, 30, 30), &empty);
    empty.Draw(c, TRect(0, 0, 30, 30));
    c.Flush();
    EXPECT_EQ(gfxtest::Count(*b, clWhite), 900);

    // A metafile that changes everything leaves the canvas as it found it.
    auto m = Record([](TCanvas& mc) {
        mc.Pen()->SetColor(clGreen);
        mc.Pen()->SetWidth(4);
        mc.Brush()->SetStyle(bsClear);
        mc.Font()->SetHeight(-30);
        mc.SetTextColor(clRed);
        mc.SetBkMode(TRANSPARENT);
        mc.SetTextAlign(TA_CENTER);
        mc.PushClip();
        mc.IntersectClipRect(0, 0, 5, 5);
        mc.MoveTo(1, 1);
        mc.LineTo(20, 20);
    }, 30, 30);
    c.Pen()->SetColor(clMaroon);
    c.Brush()->SetColor(clOlive);
    c.Font()->SetHeight(-9);
    c.SetTextColor(clNavy);
    c.MoveTo(3, 4);
    c.IntersectClipRect(0, 0, 25, 25);
    const int depth = c.ClipDepth();
    c.Draw(0, 0, m.get());
    EXPECT_EQ(c.Pen()->Color(), clMaroon);
    EXPECT_EQ(c.Pen()->Width(), 1);
    EXPECT_EQ(c.Brush()->Color(), clOlive);
    EXPECT_EQ(c.Brush()->Style(), bsSolid);
    EXPECT_EQ(c.Font()->Height(), -9);
    EXPECT_EQ(c.TextColor(), clNavy);
    EXPECT_EQ(c.BkMode(), OPAQUE);
    EXPECT_EQ(c.TextAlign(), TTextAlign());
    EXPECT_EQ(c.PenPos(), TPoint(3, 4));
    EXPECT_EQ(c.ClipDepth(), depth);
    EXPECT_EQ(c.ClipRect(), TRect(0, 0, 25, 25));
}

TEST(MetafilePlayback, MetafileIntoMetafileAndAssign)
{
    auto inner = Record(Shapes);
    // Played into another metafile canvas, then out again: still the same pixels.
    auto outer = Record([&](TCanvas& c) { c.Draw(0, 0, inner.get()); });
    auto direct = Direct(Shapes);
    auto played = Played(*outer);
    EXPECT_EQ(Differences(*direct, *played), 0);

    TMetafile copy;
    copy.Assign(inner.get());
    EXPECT_EQ(copy.SaveToBytes(), inner->SaveToBytes());
    auto clone = inner->Clone();
    EXPECT_EQ(clone->Width(), W);
    // A picture turned into a bitmap plays the metafile into it.
    TPicture pic;
    pic.SetGraphic(inner.get());
    TBitmap* asBitmap = pic.Bitmap();
    EXPECT_EQ(Differences(*direct, *asBitmap), 0);
    copy.Clear();
    EXPECT_TRUE(copy.Empty());
    EXPECT_EQ(copy.Width(), 0);
}

TEST(MetafilePlayback, MetafileCanvasWithoutSizeTakesWhatWasDrawn)
{
    TMetafile m;
    {
        TMetafileCanvas c(&m);
        c.Brush()->SetColor(clRed);
        c.FillRect(TRect(5, 5, 25, 15));
    }
    EXPECT_FALSE(m.Empty());
    EXPECT_GE(m.Width(), 25);
    EXPECT_GE(m.Height(), 15);
    auto b = gfxtest::WhiteBitmap(m.Width(), m.Height());
    b->Canvas()->Draw(0, 0, &m);
    b->Canvas()->Flush();
    EXPECT_EQ(gfxtest::InkBounds(*b), TRect(5, 5, 25, 15));
}

TEST(MetafilePlayback, BlockReachingBeyondItsSourceRecordsOnlyTheSourcesPixels)
{
    TBitmap src(8, 8);
    src.Canvas()->Brush()->SetColor(clRed);
    src.Canvas()->FillRect(TRect(0, 0, 8, 8));
    // A source block twice the bitmap's size: its pixels land on the first half.
    auto half = Record([&](TCanvas& c) { c.StretchBlt(10, 10, 32, 32, *src.Canvas(), 0, 0, 16, 16, SRCCOPY); });
    EXPECT_EQ(gfxtest::InkBounds(*Played(*half)), TRect(10, 10, 26, 26));
    // A block far larger than its source makes a record no larger than the source.
    auto far = Record([&](TCanvas& c) { c.BitBlt(0, 0, 4000, 4000, *src.Canvas(), 0, 0, SRCCOPY); });
    EXPECT_LT(far->SaveToBytes().size(), 4096u);
    EXPECT_EQ(gfxtest::InkBounds(*Played(*far)), TRect(0, 0, 8, 8));
}

TEST(MetafileClipboard, MetafileAndBitmapGoOnTheClipboard)
{
    auto m = Record(Shapes);
    Clipboard()->Assign(m.get());
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    ASSERT_NE(data, nullptr);
    ASSERT_TRUE(data->hasImage());
    const QImage img = qvariant_cast<QImage>(data->imageData());
    EXPECT_EQ(img.width(), W);
    EXPECT_EQ(img.height(), H);
    auto direct = Direct(Shapes);
    const QRgb px = img.pixel(30, 20);
    EXPECT_EQ(RGB(qRed(px), qGreen(px), qBlue(px)), gfxtest::Px(*direct, 30, 20));
    const QByteArray emf = data->data("image/x-emf");
    const std::vector<uint8_t> bytes = m->SaveToBytes();
    EXPECT_EQ(emf, QByteArray(reinterpret_cast<const char*>(bytes.data()), qsizetype(bytes.size())));

    TBitmap bmp(7, 5);
    bmp.Canvas()->Brush()->SetColor(clRed);
    bmp.Canvas()->FillRect(TRect(0, 0, 7, 5));
    bmp.Canvas()->Flush();
    Clipboard()->Assign(&bmp);
    const QImage got = QGuiApplication::clipboard()->image();
    EXPECT_EQ(got.size(), QSize(7, 5));
    EXPECT_EQ(got.pixel(3, 3) & 0xFFFFFF, 0xFF0000u);
    TStringList notAPicture;
    EXPECT_THROW(Clipboard()->Assign(&notAPicture), EConvertError);
}

TEST(MetafilePlayback, PathsMappingPatternsAndGeometricPensReplay)
{
    auto paint = [](TCanvas& c) {
        // A mapped drawing: logical units twice the pixels, origin moved.
        c.SetMapMode(MM_ANISOTROPIC);
        c.SetWindowExt(2, 2);
        c.SetViewportExt(1, 1);
        c.SetViewportOrg(4, 3);
        c.Brush()->SetColor(clRed);
        c.Rectangle(0, 0, 40, 30);
        c.SetMapMode(MM_TEXT);
        c.SetViewportOrg(0, 0);
        // A path filled, then used as the clip.
        c.BeginPath();
        c.MoveTo(30, 4);
        c.LineTo(60, 10);
        c.LineTo(40, 30);
        c.CloseFigure();
        c.EndPath();
        c.Brush()->SetColor(clGreen);
        c.FillPath();
        c.BeginPath();
        c.Ellipse(2, 24, 30, 46);
        c.EndPath();
        c.SelectClipPath(RGN_COPY);
        // A pattern brush from a 1-bit bitmap paints in the text and background colours.
        TBitmap pattern(8, 8, pf1bit);
        pattern.Canvas()->Brush()->SetColor(clBlack);
        pattern.Canvas()->FillRect(TRect(0, 0, 4, 8));
        c.Brush()->SetBitmap(&pattern);
        c.SetTextColor(clBlue);
        c.SetBkColor(clYellow);
        c.FillRect(TRect(0, 0, 64, 48));
        c.Brush()->SetBitmap(nullptr);
        c.SelectClipRgn(nullptr);
        // A wide geometric pen with flat ends and a user dash, and a Bezier curve.
        c.Pen()->SetWidth(3);
        TExtPenInfo ext;
        ext.EndCap = pecFlat;
        ext.Join = pjMiter;
        ext.UserStyle = {6, 2};
        c.Pen()->SetExtended(ext);
        const TPoint curve[] = {TPoint(34, 40), TPoint(40, 20), TPoint(56, 46), TPoint(62, 30)};
        c.PolyBezier(curve, 4);
        c.Pen()->ClearExtended();
        c.Pen()->SetWidth(1);
        c.MoveTo(44, 2);
        c.ArcTo(44, 2, 62, 20, 62, 11, 44, 11);
        c.LineTo(63, 2);
        // A 1-bit source paints in the text and background colours too.
        TBitmap mono(6, 6, pf1bit);
        mono.Canvas()->Brush()->SetColor(clBlack);
        mono.Canvas()->FillRect(TRect(0, 0, 3, 3));
        c.SetTextColor(clFuchsia);
        c.BitBlt(56, 40, 6, 6, *mono.Canvas(), 0, 0, SRCCOPY);
    };
    auto direct = Direct(paint);
    auto m = Record(paint);
    auto played = Played(*m);
    Save(*played, "metafile_extras_played.png");
    EXPECT_GT(gfxtest::Count(*direct, clRed), 100);
    EXPECT_GT(gfxtest::Count(*direct, clYellow), 50);
    EXPECT_GT(gfxtest::Count(*direct, clFuchsia), 3);
    EXPECT_EQ(Differences(*direct, *played), 0);
    // Through a file as well.
    TMetafile loaded;
    loaded.LoadFromBytes(m->SaveToBytes());
    auto again = Played(loaded);
    EXPECT_EQ(Differences(*direct, *again), 0);
}

TEST(MetafilePlayback, PlaysThroughTheTargetsOwnMapping)
{
    auto m = Record([](TCanvas& c) {
        c.Brush()->SetColor(clRed);
        c.FillRect(TRect(2, 2, 6, 6));
    }, 10, 10);
    // The target maps logical units to pixels 1:1 from origin (20, 10).
    auto b = gfxtest::WhiteBitmap(60, 40);
    b->Canvas()->SetViewportOrg(20, 10);
    b->Canvas()->Draw(0, 0, m.get());
    b->Canvas()->Flush();
    EXPECT_EQ(gfxtest::InkBounds(*b), TRect(22, 12, 26, 16));
    EXPECT_EQ(b->Canvas()->ViewportOrg(), TPoint(20, 10));
}
