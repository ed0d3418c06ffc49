// Markup text: chart texts in a small HTML-like markup whose tags change the font, break
// lines, centre, draw rules and pictures, and whose entities stand for the markup
// characters. A text is parsed into items (runs of text with their font, line breaks,
// rules and pictures), laid out with a text measurer, and then drawn or only measured.
#pragma once

#include "graphics/Colors.h"
#include "graphics/Types.h"
#include "system/SysUtils.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class TCanvas;
class TGraphic;
class TStream;

// How a chart text is written: plain, or in the markup of this unit.
enum TTextFormat { ttfNormal, ttfHtml };

// Raised by the tokenizer on a "<" without its ">" ("Missing > at " + the rest).
class HtmlParserException : public Exception { using Exception::Exception; };

// ---- font state -----------------------------------------------------------------

// The same bits as the platform font's styles.
enum TMarkupFontStyle : unsigned {
    mfsBold = 1u << 0,
    mfsItalic = 1u << 1,
    mfsUnderline = 1u << 2,
    mfsStrikeOut = 1u << 3,
};

// The font that a run of markup text is drawn in. Colours are 0x00BBGGRR values.
struct TMarkupFont {
    std::string Name = "Arial";
    int Size = 8;            // points, never below 1
    TColor Color = clBlack;
    unsigned Style = 0;      // TMarkupFontStyle bits
    bool operator==(const TMarkupFont&) const = default;
};

// ---- tokens, entities, colours and FONT tags ----------------------------------------

// Takes the next token off Text: a run of text up to the next "<", or a tag from "<" to
// the next ">" inclusive. Raises HtmlParserException when a tag has no ">"; Text is then
// left as it was.
void NextMarkupToken(std::string& Text, std::string& Token);

// Replaces "&lt;", "&gt;", "&amp;" and "&quot;", in that order.
std::string DecodeMarkupEntities(const std::string& Text);

// A colour name (BLACK, RED, BLUE, YELLOW, WHITE, GREEN, LIME), "#RRGGBB", a colour
// constant name ("clNavy") or a colour number. Raises EConvertError for anything else.
TColor MarkupColorToColor(const std::string& Value);

// Applies the attributes of a FONT tag ("<FONT size=+2 color=RED>") to Font: NAME or
// FAMILY, SIZE (absolute, or relative with a sign), COLOR, WEIGHT (BOLD, ITALIC,
// UNDERLINE, STRIKE separated by ", ", or NORMAL). Values may hold blanks but not "=";
// one pair of surrounding double quotes is removed. An unknown attribute or weight
// raises Exception ("Unknown field in FONT: ", "Unknown field in FONT WEIGHT=").
void ApplyFontTag(const std::string& Tag, TMarkupFont& Font);

// The FONT tag that gives Font back through ApplyFontTag:
// "<FONT size=8 name=Arial color=255 weight=BOLD, ITALIC>", the colour as a decimal
// number, the weight listing BOLD, ITALIC, UNDERLINE and STRIKE, or NORMAL for none.
std::string FontToMarkup(const TMarkupFont& Font);

// ---- parsing ----------------------------------------------------------------------

enum class TMarkupItemKind { Text, LineBreak, Rule, Image };

// An open subscript (Down) or superscript level, with the reduced font it started with.
struct TMarkupShift {
    bool Down = true;
    TMarkupFont Font;
};

struct TMarkupItem {
    TMarkupItemKind Kind = TMarkupItemKind::Text;
    std::string Text;                  // Text: the run, entities decoded
    TMarkupFont Font;                  // the font in force (breaks and rules take the
                                       // height of "W" in it)
    bool Centered = false;             // inside CENTER
    std::vector<TMarkupShift> Shifts;  // open SUB and SUPER levels, outermost first
    std::string Source;                // Image: the picture's source
    int Width = 0;                     // Image: requested size, 0 for the picture's own
    int Height = 0;
};

// Parses Text, starting in Font, into items. Every call starts with empty font and tag
// stacks. When Strict, a tag without ">" raises HtmlParserException; otherwise the rest
// of the text from that "<" on is taken as plain text.
std::vector<TMarkupItem> ParseMarkupText(const std::string& Text, const TMarkupFont& Font, bool Strict);

// ---- layout -----------------------------------------------------------------------

struct TMarkupSize {
    int Width = 0;
    int Height = 0;
    bool operator==(const TMarkupSize&) const = default;
};

// Measures text for the layout: the canvas in the program, a fixed measurer in tests.
class TMarkupMeasurer {
public:
    virtual ~TMarkupMeasurer() = default;
    virtual TMarkupSize TextExtent(const TMarkupFont& Font, const std::string& Text) = 0;
};

// Where one item goes: a text run's or picture's top-left and size; a rule's start,
// its line's middle and length.
struct TMarkupBox {
    std::size_t Item = 0;
    int Left = 0;
    int Top = 0;
    int Width = 0;
    int Height = 0;
};

struct TMarkupLayout {
    std::vector<TMarkupBox> Boxes;
    TMarkupSize Size;   // the box that holds everything, measured from (X, Y)
};

// Width and height that a picture item takes: its requested size (at most
// MarkupMaxExtent), 40 for a side of 0.
inline constexpr int MarkupImagePlaceholderSize = 40;
// The most pixels a picture's side or the laid-out text takes: more than any canvas
// shows. Lines below it are not laid out.
inline constexpr int MarkupMaxExtent = 32767;
// Length of a rule.
inline constexpr int MarkupRuleLength = 100;

// Lays the items out from (X, Y): each line starts one line height below the previous
// one, runs of a line share its bottom (subscripts below it, superscripts above), a
// line break on an empty line takes the height of "W". Centred runs of a line are
// centred, as a group, between CenterLeft and CenterRight.
TMarkupLayout LayoutMarkup(const std::vector<TMarkupItem>& Items, int X, int Y,
                           TMarkupMeasurer& Measurer, int CenterLeft, int CenterRight);

// ---- drawing and measuring ----------------------------------------------------------

// Lays Text out from (X, Y) in the canvas' font and, when Draw, draws it: runs with
// their fonts (top-left aligned), rules as gray lines, pictures from the hooks or a
// crossed placeholder. Centred runs are centred between CenterBounds' left and right.
// A tag without ">" is drawn as written. The canvas' font, pen, brush and text
// alignment are as they were afterwards. Answers the size of the laid-out text.
TMarkupSize ProcessMarkupText(TCanvas* Canvas, int X, int Y, bool Draw, const std::string& Text,
                              const TRect& CenterBounds);

// Draws Text with its top-left at (X, Y); centring uses CenterBounds, or the canvas'
// clip rectangle.
void DrawMarkupText(TCanvas* Canvas, int X, int Y, const std::string& Text, const TRect& CenterBounds);
void DrawMarkupText(TCanvas* Canvas, int X, int Y, const std::string& Text);
// The size DrawMarkupText takes, without drawing.
TMarkupSize MeasureMarkupText(TCanvas* Canvas, const std::string& Text, const TRect& CenterBounds);
TMarkupSize MeasureMarkupText(TCanvas* Canvas, const std::string& Text);

// ---- hooks ------------------------------------------------------------------------

// Answers a new, empty picture for a file extension with its point, upper-cased
// (".BMP"), or null when no picture kind reads such files. Set by the export unit.
using TGraphicForExtension = std::function<std::unique_ptr<TGraphic>(const std::string& Extension)>;
extern TGraphicForExtension GraphicForExtensionHook;

// Fills Stream with the content of Source and answers 0, or answers an error code.
// Nothing in the program sets it; without it pictures are drawn as placeholders.
using TMarkupContentLoader = std::function<int(const std::string& Source, TStream& Stream)>;
extern TMarkupContentLoader MarkupContentLoaderHook;
