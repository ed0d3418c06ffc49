// Drawing and measuring markup text on a bitmap's canvas.
#include "TeeHtml.h"

#include "graphics/Graphics.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

// Readable sizes in failure messages.
static void PrintTo(const TMarkupSize& s, std::ostream* os)
{
    *os << s.Width << " x " << s.Height;
}

namespace {

constexpr TColor White = 0xFFFFFF;

struct Surface {
    TBitmap Bitmap{240, 120};
    TCanvas* C = Bitmap.Canvas();

    Surface()
    {
        C->Brush()->SetColor(White);
        C->FillRect(TRect(0, 0, 240, 120));
        C->SetBkMode(TRANSPARENT);
        C->Font()->SetSize(10);
        C->Font()->SetColor(clBlack);
    }
    void UseFixedMetrics() { C->SetTextMeasurer(std::make_shared<TFixedTextMeasurer>(7, 9, 3)); }
    TColor At(int x, int y) const { return C->Pixel(x, y) & 0xFFFFFF; }

    // The smallest rectangle of pixels that are not white; empty when all are.
    TRect Inked() const
    {
        TRect r(1000, 1000, -1, -1);
        for (int y = 0; y < 120; ++y)
            for (int x = 0; x < 240; ++x)
                if (At(x, y) != White)
                    r = TRect(std::min(r.Left, x), std::min(r.Top, y), std::max(r.Right, x + 1),
                              std::max(r.Bottom, y + 1));
        return r.Right < 0 ? TRect() : r;
    }
};

class MarkupDrawing : public ::testing::Test {
protected:
    void TearDown() override
    {
        GraphicForExtensionHook = nullptr;
        MarkupContentLoaderHook = nullptr;
    }
};

} // namespace

TEST_F(MarkupDrawing, DrawnTextStaysInsideTheMeasuredBox)
{
    int n = 0;
    for (const char* text : {"Heat <B>capacity</B> C<SUB>p</SUB> and T<SUPER>3</SUPER>",
                             "<FONT size=+6 color=red>big</FONT> line<BR><H3>second</H3> &lt;line&gt;",
                             "<CENTER>centred <U>text</U></CENTER><BR><PRE>pre</PRE> <HR>",
                             "a<SUB>b<SUB>c</SUB></SUB>d<SUPER>e</SUPER><BR>f<IMG src=x.bmp height=30>",
                             "unfinished <B>tag</B> <i"}) {   // a tag without ">" is drawn as written
        Surface s;
        const TRect bounds(0, 0, 240, 120);
        const TMarkupSize size = MeasureMarkupText(s.C, text, bounds);
        DrawMarkupText(s.C, 20, 15, text, bounds);
        const TRect ink = s.Inked();
        ASSERT_FALSE(IsRectEmpty(ink)) << text;
        EXPECT_GE(ink.Left, 20) << text;
        EXPECT_GE(ink.Top, 15) << text;
        EXPECT_LE(ink.Right, 20 + size.Width + 1) << text;
        EXPECT_LE(ink.Bottom, 15 + size.Height) << text;
        const std::string path = testsupport::ArtifactPath("markup-text-" + std::to_string(++n) + ".png");
        if (!path.empty())
            s.Bitmap.SaveToFile(path);
    }
}

TEST_F(MarkupDrawing, CanvasStateIsGivenBackAndStacksAreNotKept)
{
    Surface s;
    s.C->Pen()->SetColor(0x00AA00);
    s.C->Brush()->SetStyle(bsClear);
    s.C->SetTextAlign(TA_RIGHT | TA_BOTTOM);
    DrawMarkupText(s.C, 5, 5, "<FONT name=Courier New size=20 color=#FF0000><B><I>x<HR><IMG src=a.bmp>");
    EXPECT_EQ(s.C->Font()->Name(), "Arial");
    EXPECT_EQ(s.C->Font()->Size(), 10);
    EXPECT_EQ(s.C->Font()->Style(), TFontStyles());
    EXPECT_EQ(s.C->Font()->Color(), clBlack);
    EXPECT_EQ(s.C->Pen()->Color(), 0x00AA00);
    EXPECT_EQ(s.C->Brush()->Style(), bsClear);
    EXPECT_EQ(s.C->TextAlign(), TA_RIGHT | TA_BOTTOM);
    // A closing tag in a later text has nothing of the earlier text to close.
    EXPECT_EQ(MeasureMarkupText(s.C, "</FONT></>y"), MeasureMarkupText(s.C, "y"));
}

TEST_F(MarkupDrawing, RulesPlaceholdersAndUnfinishedTagsMeasured)
{
    Surface s;
    s.UseFixedMetrics();   // "W" is 12 pixels high
    const char* text = "<HR><IMG src=missing.bmp>";
    EXPECT_EQ(MeasureMarkupText(s.C, text), (TMarkupSize{MarkupRuleLength, 12 + 40}));
    EXPECT_EQ(MeasureMarkupText(s.C, "a<B>b</B>c<d").Width, 5 * 7);
    EXPECT_TRUE(IsRectEmpty(s.Inked()));
    DrawMarkupText(s.C, 10, 10, text);
    // The rule runs through the middle of its 12-pixel line.
    EXPECT_EQ(s.At(10, 16), 0x808080);
    EXPECT_EQ(s.At(109, 16), 0x808080);
    EXPECT_EQ(s.At(110, 16), White);
    // No picture: a red crossed box of 40 x 40, white inside.
    EXPECT_EQ(s.At(10, 22), clRed);
    EXPECT_EQ(s.At(49, 61), clRed);
    EXPECT_EQ(s.At(30, 42), clRed);
    EXPECT_EQ(s.At(20, 40), White);
}

TEST_F(MarkupDrawing, PicturesComeThroughTheHooks)
{
    const std::string file = testsupport::TempDir() + "/blue.bmp";
    TBitmap blue(6, 4);
    blue.Canvas()->Brush()->SetColor(clBlue);
    blue.Canvas()->FillRect(TRect(0, 0, 6, 4));
    blue.SaveToFile(file);
    std::ostringstream bytes;
    bytes << std::ifstream(file, std::ios::binary).rdbuf();
    const std::string content = bytes.str();

    std::string askedExtension, askedSource;
    GraphicForExtensionHook = [&](const std::string& ext) -> std::unique_ptr<TGraphic> {
        askedExtension = ext;
        return ext == ".BMP" ? std::make_unique<TBitmap>() : nullptr;
    };
    MarkupContentLoaderHook = [&](const std::string& source, TStream& stream) {
        askedSource = source;
        stream.WriteBuffer(content.data(), static_cast<int64_t>(content.size()));
        return 0;
    };
    Surface s;
    // Without a size the picture's own is taken.
    EXPECT_EQ(MeasureMarkupText(s.C, "<IMG src=\"pics/blue.bmp\">"), (TMarkupSize{6, 4}));
    EXPECT_EQ(askedExtension, ".BMP");
    EXPECT_EQ(askedSource, "pics/blue.bmp");
    DrawMarkupText(s.C, 50, 50, "<IMG src=blue.bmp width=12 height=8>");
    EXPECT_EQ(s.Inked(), TRect(50, 50, 62, 58));   // stretched to the asked size
    EXPECT_EQ(s.At(55, 55), clBlue);
    // A loader that fails gives the placeholder.
    MarkupContentLoaderHook = [](const std::string&, TStream&) { return 5; };
    EXPECT_EQ(MeasureMarkupText(s.C, "<IMG src=blue.bmp>"), (TMarkupSize{40, 40}));
}
