// Markup text layout: lines, shared bottoms, sub- and superscripts, centring, rules and
// pictures, and a measured box that holds everything.
#include "TeeHtml.h"

#include <gtest/gtest.h>

// Readable sizes in failure messages.
static void PrintTo(const TMarkupSize& s, std::ostream* os)
{
    *os << s.Width << " x " << s.Height;
}

namespace {

// Every character is Size pixels wide; every line of text is 2 * Size high.
class SizeMeasurer : public TMarkupMeasurer {
public:
    TMarkupSize TextExtent(const TMarkupFont& Font, const std::string& Text) override
    {
        return {static_cast<int>(Text.size()) * Font.Size, 2 * Font.Size};
    }
};

TMarkupLayout Lay(const std::string& text, int x = 0, int y = 0, int centerLeft = 0, int centerRight = 0)
{
    TMarkupFont font;
    font.Size = 10;
    SizeMeasurer m;
    return LayoutMarkup(ParseMarkupText(text, font, true), x, y, m, centerLeft, centerRight);
}

} // namespace

TEST(MarkupLayout, LinesStackAndTheSizeSumsThem)
{
    auto l = Lay("abc", 5, 7);
    ASSERT_EQ(l.Boxes.size(), 1u);
    EXPECT_EQ(l.Boxes[0].Left, 5);
    EXPECT_EQ(l.Boxes[0].Top, 7);
    EXPECT_EQ(l.Size, (TMarkupSize{30, 20}));
    EXPECT_EQ(Lay("").Size, (TMarkupSize{0, 0}));

    l = Lay("ab<BR>abcd");
    EXPECT_EQ(l.Boxes[1].Left, 0);
    EXPECT_EQ(l.Boxes[1].Top, 20);
    EXPECT_EQ(l.Size, (TMarkupSize{40, 40}));
    // An empty line takes the height of "W"; a break at the very end adds nothing.
    EXPECT_EQ(Lay("a<P><P>b").Size.Height, 60);
    EXPECT_EQ(Lay("a\r\n").Size.Height, 20);
}

TEST(MarkupLayout, RunsShareTheLinesBottom)
{
    auto l = Lay("a<FONT size=20>B</FONT>c");
    EXPECT_EQ(l.Boxes[1].Top, 0);   // the tallest run starts the line
    EXPECT_EQ(l.Boxes[0].Top + l.Boxes[0].Height, 40);
    EXPECT_EQ(l.Boxes[2].Top + l.Boxes[2].Height, 40);
    EXPECT_EQ(l.Boxes[2].Left, 30);
    EXPECT_EQ(l.Size, (TMarkupSize{40, 40}));

    // Size 10 text is 20 high, the reduced size 5 is 10 high: a subscript ends 5 below
    // the line's text, a superscript's top meets the text's top.
    l = Lay("H<SUB>2</SUB>O");
    EXPECT_EQ(l.Boxes[0].Top, 0);
    EXPECT_EQ(l.Boxes[1].Top + l.Boxes[1].Height, 25);
    EXPECT_EQ(l.Size.Height, 25);
    l = Lay("x<SUPER>2</SUPER>");
    EXPECT_EQ(l.Boxes[1].Top, l.Boxes[0].Top);
    EXPECT_EQ(l.Size.Height, 20);
}

TEST(MarkupLayout, CentredRunsAreCentredTogether)
{
    const auto l = Lay("<CENTER>ab<B>cd</B></CENTER>", 0, 0, 0, 100);
    EXPECT_EQ(l.Boxes[0].Left, 30);   // 50 - 40 / 2
    EXPECT_EQ(l.Boxes[1].Left, 50);   // right after, no overlap
    EXPECT_EQ(Lay("x<CENTER>ab</CENTER>", 0, 0, 0, 100).Boxes[1].Left, 40);
}

TEST(MarkupLayout, RulesAndPicturesTakeRoom)
{
    auto l = Lay("ab<HR>cd");
    EXPECT_EQ(l.Boxes[1].Top, 30);   // middle of the rule's own line
    EXPECT_EQ(l.Boxes[1].Width, MarkupRuleLength);
    EXPECT_EQ(l.Boxes[2].Top, 40);
    EXPECT_EQ(l.Size, (TMarkupSize{100, 60}));

    l = Lay("a<IMG src=x.png>b<IMG src=y.bmp width=7 height=50>");
    EXPECT_EQ(l.Boxes[1].Width, MarkupImagePlaceholderSize);
    EXPECT_EQ(l.Boxes[1].Height, MarkupImagePlaceholderSize);
    EXPECT_EQ(l.Boxes[2].Left, 50);
    EXPECT_EQ(l.Size, (TMarkupSize{67, 50}));
}

TEST(MarkupLayout, HugePicturesAndEndlessRulesStayWithinWhatACanvasShows)
{
    auto l = Lay("a<IMG src=x.bmp width=2147483647 height=2147483647>b<HR>c");
    EXPECT_EQ(l.Boxes[1].Width, MarkupMaxExtent);
    EXPECT_EQ(l.Boxes[2].Left, 10 + MarkupMaxExtent);   // no overflow past the picture
    EXPECT_EQ(l.Size.Width, MarkupMaxExtent);

    // 60,000 rules of 20 pixels: lines below the largest extent are not laid out.
    std::string rules;
    for (int i = 0; i < 60000; ++i)
        rules += "<HR>";
    l = Lay(rules);
    EXPECT_EQ(l.Size.Height, MarkupMaxExtent);
    EXPECT_EQ(l.Boxes.size(), size_t((MarkupMaxExtent + 19) / 20));
}
