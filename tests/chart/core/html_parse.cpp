// Markup text: tokens, entities, colours, FONT tags and the parsed items.
#include "TeeHtml.h"

#include <gtest/gtest.h>

namespace {

std::vector<std::string> Tokens(std::string text)
{
    std::vector<std::string> tokens;
    for (std::string token; !text.empty(); tokens.push_back(token))
        NextMarkupToken(text, token);
    return tokens;
}

TMarkupFont BaseFont() { return {"Arial", 10, 0x112233, 0}; }

// The text items of a parse, in order.
std::vector<TMarkupItem> Texts(const std::string& markup, bool strict = true)
{
    std::vector<TMarkupItem> texts;
    for (auto& i : ParseMarkupText(markup, BaseFont(), strict))
        if (i.Kind == TMarkupItemKind::Text)
            texts.push_back(i);
    return texts;
}

std::string MessageOf(const std::function<void()>& f)
{
    try {
        f();
    } catch (const Exception& e) {
        return e.Message();
    }
    return "no exception";
}

} // namespace

TEST(MarkupTokens, RunsTagsAndAMissingTagEnd)
{
    EXPECT_EQ(Tokens("a<B>bc</B>d"), (std::vector<std::string>{"a", "<B>", "bc", "</B>", "d"}));
    EXPECT_EQ(Tokens("plain > text"), (std::vector<std::string>{"plain > text"}));
    std::string text = "<B x", token;
    EXPECT_EQ(MessageOf([&] { NextMarkupToken(text, token); }), "Missing > at B x");
    EXPECT_EQ(text, "<B x");
    EXPECT_THROW(ParseMarkupText("ok<B", BaseFont(), true), HtmlParserException);
    // Drawing and measuring parse leniently: the rest is text as written.
    const auto items = Texts("a<B>b<c", false);
    ASSERT_EQ(items.size(), 3u);
    EXPECT_EQ(items[2].Text, "<c");
    EXPECT_EQ(items[2].Font.Style, unsigned(mfsBold));
}

TEST(MarkupEntities, ReplacedInOrder)
{
    EXPECT_EQ(DecodeMarkupEntities("&gt;&quot;x&quot;&lt;&lt;&amp;"), ">\"x\"<<&");
    // "&amp;" is replaced after "&lt;", so it can write the entity itself.
    EXPECT_EQ(DecodeMarkupEntities("&amp;lt;"), "&lt;");
    EXPECT_EQ(Texts("a&lt;b")[0].Text, "a<b");
}

TEST(MarkupColors, NamesHexAndNumbers)
{
    EXPECT_EQ(MarkupColorToColor("#FF0000"), 0x0000FF);
    EXPECT_EQ(MarkupColorToColor("red"), 0x0000FF);
    EXPECT_EQ(MarkupColorToColor(" Lime "), 0x00FF00);
    EXPECT_EQ(MarkupColorToColor("#102030"), 0x302010);
    EXPECT_EQ(MarkupColorToColor("$00FF00"), 0x00FF00);
    EXPECT_EQ(MarkupColorToColor("clNavy"), 0x800000);
    EXPECT_EQ(MarkupColorToColor("clBtnFace"), clBtnFace);
    for (const char* bad : {"#GG0000", "#FF00", "#FF000000", "purplish"})
        EXPECT_THROW(MarkupColorToColor(bad), EConvertError) << bad;
}

TEST(MarkupFontTags, AttributesAndErrors)
{
    TMarkupFont f = BaseFont();
    ApplyFontTag("<FONT SIZE=+4>", f);
    EXPECT_EQ(f.Size, 14);
    ApplyFontTag("<FONT size=-2>", f);
    EXPECT_EQ(f.Size, 12);
    ApplyFontTag("<FONT name=Times New Roman size=9 color=#00FF00 weight=bold, underline>", f);
    EXPECT_EQ(f.Name, "Times New Roman");
    EXPECT_EQ(f.Size, 9);
    EXPECT_EQ(f.Color, 0x00FF00);
    EXPECT_EQ(f.Style, unsigned(mfsBold | mfsUnderline));
    ApplyFontTag("<FONT family=\"Courier New\" weight=NORMAL size=-50>", f);
    EXPECT_EQ(f.Name, "Courier New");
    EXPECT_EQ(f.Style, 0u);
    EXPECT_EQ(f.Size, 1);   // a font never shrinks to nothing
    EXPECT_EQ(MessageOf([&] { ApplyFontTag("<FONT face=Arial>", f); }), "Unknown field in FONT: FACE");
    EXPECT_EQ(MessageOf([&] { ApplyFontTag("<FONT weight=heavy>", f); }), "Unknown field in FONT WEIGHT=heavy");
    EXPECT_THROW(ApplyFontTag("<FONT size=big>", f), EConvertError);
}

TEST(MarkupFontTags, AFontWrittenAsATagComesBackTheSame)
{
    TMarkupFont f{"Times New Roman", 14, 0x0000FF, mfsBold | mfsStrikeOut};
    EXPECT_EQ(FontToMarkup(f), "<FONT size=14 name=Times New Roman color=255 weight=BOLD, STRIKE>");
    EXPECT_EQ(FontToMarkup(BaseFont()), "<FONT size=10 name=Arial color=1122867 weight=NORMAL>");
    // Every style and a system colour (a negative number) survive the round trip.
    for (const TMarkupFont& font : {f, BaseFont(), TMarkupFont{"Courier New", 7, clBtnFace, 15u}}) {
        TMarkupFont back{"Other", 30, clWhite, mfsItalic};
        ApplyFontTag(FontToMarkup(font), back);
        EXPECT_EQ(back, font) << FontToMarkup(font);
    }
}

TEST(MarkupParse, StyleTagsAndGenericClose)
{
    auto items = Texts("<B>x</>y");
    EXPECT_EQ(items[0].Font.Style, unsigned(mfsBold));
    EXPECT_EQ(items[1].Font.Style, 0u);
    // Right after a font-saving tag "</>" gives the font back at once.
    EXPECT_EQ(Texts("<BIG></>z")[0].Font.Size, 10);
    // Otherwise it closes the innermost open style tag, then the next one.
    items = Texts("<B>a<I>b</>c</>d");
    ASSERT_EQ(items.size(), 4u);
    EXPECT_EQ(items[1].Font.Style, unsigned(mfsBold | mfsItalic));
    EXPECT_EQ(items[2].Font.Style, unsigned(mfsBold));
    EXPECT_EQ(items[3].Font.Style, 0u);
    // With nothing open it does nothing and draws nothing.
    items = Texts("a</>b");
    ASSERT_EQ(items.size(), 2u);
    EXPECT_EQ(items[0].Text + items[1].Text, "ab");
}

TEST(MarkupParse, NestedFontsAndClosingTags)
{
    auto items = Texts("<b><i>a<FONT color=red size=+2>b<font size=20>c</font>d</FONT>e</i></b>");
    ASSERT_EQ(items.size(), 5u);
    EXPECT_EQ(items[2].Font.Size, 20);
    EXPECT_EQ(items[3].Font.Size, 12);
    EXPECT_EQ(items[3].Font.Color, 0x0000FF);
    EXPECT_EQ(items[4].Font.Color, BaseFont().Color);
    EXPECT_EQ(items[4].Font.Style, unsigned(mfsBold | mfsItalic));

    items = Texts("<H1>a</H1><BIG>b</BIG><SMALL>c</SMALL><PRE>d</PRE>e");
    ASSERT_EQ(items.size(), 5u);
    EXPECT_EQ(items[0].Font.Size, 48);
    EXPECT_EQ(items[1].Font.Size, 12);
    EXPECT_EQ(items[2].Font.Size, 8);
    EXPECT_EQ(items[3].Font.Name, "Courier New");
    EXPECT_EQ(items[4].Font, BaseFont());   // closing tags restore, and are not drawn
}

TEST(MarkupParse, UnclosedTagsDoNotReachTheNextText)
{
    // Each parse starts with empty stacks: what one text leaves open, the next cannot
    // close, and a stray closing tag leaves the font as it is.
    EXPECT_EQ(Texts("<FONT size=30><B>open")[0].Font.Size, 30);
    const auto items = Texts("</FONT></SUB>x</>y");
    ASSERT_EQ(items.size(), 2u);
    EXPECT_EQ(items[0].Font, BaseFont());
    EXPECT_EQ(items[1].Font, BaseFont());
}
