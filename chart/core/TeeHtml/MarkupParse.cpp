// Tokenizer, entities, colours, FONT tags and the parser of markup text.
#include "TeeHtml.h"

#include <algorithm>
#include <cctype>

TGraphicForExtension GraphicForExtensionHook;
TMarkupContentLoader MarkupContentLoaderHook;

namespace {

const char* const CrLf = "\r\n";

bool StartsWith(const std::string& s, const char* prefix)
{
    return s.rfind(prefix, 0) == 0;
}

std::string Unquoted(const std::string& s)
{
    if (s.size() >= 2 && s.front() == '"' && s.back() == '"')
        return s.substr(1, s.size() - 2);
    return s;
}

struct TAttribute {
    std::string Name;    // upper-cased
    std::string Value;   // trimmed, surrounding quotes removed
};

// Attributes "name=value name2=value with blanks": as many as there are "=" signs; a
// value runs up to the last blank before the next "=".
std::vector<TAttribute> ParseAttributes(const std::string& s)
{
    std::vector<std::size_t> equals;
    for (std::size_t i = 0; i < s.size(); ++i)
        if (s[i] == '=')
            equals.push_back(i);

    std::vector<TAttribute> result;
    std::size_t nameStart = 0;
    for (std::size_t k = 0; k < equals.size(); ++k) {
        TAttribute a;
        a.Name = UpperCase(Trim(s.substr(nameStart, equals[k] - nameStart)));
        const std::size_t valueStart = equals[k] + 1;
        if (k + 1 == equals.size()) {
            a.Value = Trim(s.substr(valueStart));
        } else {
            const std::string segment = s.substr(valueStart, equals[k + 1] - valueStart);
            const std::size_t blank = segment.find_last_of(' ');
            if (blank == std::string::npos) {
                nameStart = valueStart;   // no blank: the next name takes it all
            } else {
                a.Value = Trim(segment.substr(0, blank));
                nameStart = valueStart + blank + 1;
            }
        }
        a.Value = Unquoted(a.Value);
        result.push_back(std::move(a));
    }
    return result;
}

[[noreturn]] void NotAnInteger(const std::string& s)
{
    throw EConvertError(Format("'%s' is not a valid integer value", {s}));
}

// Two hexadecimal digits of a "#RRGGBB" colour.
int HexByte(const std::string& pair)
{
    if (pair.size() != 2 || !std::isxdigit(static_cast<unsigned char>(pair[0])) ||
        !std::isxdigit(static_cast<unsigned char>(pair[1])))
        NotAnInteger(pair);
    return std::stoi(pair, nullptr, 16);
}

// A colour constant name ("clNavy", "clBtnFace", without regard to case) or a colour
// number ("$0000FF", "255").
TColor ColorFromText(const std::string& Upper)
{
    static const struct { const char* Name; TColor Color; } constants[] = {
        {"CLBLACK", clBlack}, {"CLMAROON", clMaroon}, {"CLGREEN", clGreen}, {"CLOLIVE", clOlive},
        {"CLNAVY", clNavy}, {"CLPURPLE", clPurple}, {"CLTEAL", clTeal}, {"CLGRAY", clGray},
        {"CLSILVER", clSilver}, {"CLRED", clRed}, {"CLLIME", clLime}, {"CLYELLOW", clYellow},
        {"CLBLUE", clBlue}, {"CLFUCHSIA", clFuchsia}, {"CLAQUA", clAqua}, {"CLLTGRAY", clLtGray},
        {"CLDKGRAY", clDkGray}, {"CLWHITE", clWhite}, {"CLMONEYGREEN", clMoneyGreen},
        {"CLSKYBLUE", clSkyBlue}, {"CLCREAM", clCream}, {"CLMEDGRAY", clMedGray},
        {"CLNONE", clNone}, {"CLDEFAULT", clDefault},
        {"CLSCROLLBAR", clScrollBar}, {"CLBACKGROUND", clBackground}, {"CLACTIVECAPTION", clActiveCaption},
        {"CLINACTIVECAPTION", clInactiveCaption}, {"CLMENU", clMenu}, {"CLWINDOW", clWindow},
        {"CLWINDOWFRAME", clWindowFrame}, {"CLMENUTEXT", clMenuText}, {"CLWINDOWTEXT", clWindowText},
        {"CLCAPTIONTEXT", clCaptionText}, {"CLACTIVEBORDER", clActiveBorder},
        {"CLINACTIVEBORDER", clInactiveBorder}, {"CLAPPWORKSPACE", clAppWorkSpace},
        {"CLHIGHLIGHT", clHighlight}, {"CLHIGHLIGHTTEXT", clHighlightText}, {"CLBTNFACE", clBtnFace},
        {"CLBTNSHADOW", clBtnShadow}, {"CLGRAYTEXT", clGrayText}, {"CLBTNTEXT", clBtnText},
        {"CLINACTIVECAPTIONTEXT", clInactiveCaptionText}, {"CLBTNHIGHLIGHT", clBtnHighlight},
        {"CL3DDKSHADOW", cl3DDkShadow}, {"CL3DLIGHT", cl3DLight}, {"CLINFOTEXT", clInfoText},
        {"CLINFOBK", clInfoBk},
    };
    for (const auto& c : constants)
        if (Upper == c.Name)
            return c.Color;
    int32_t value = 0;
    if (TryStrToInt(Upper, value))
        return value;
    NotAnInteger(Upper);
}

void SetSize(TMarkupFont& Font, int64_t Size)
{
    Font.Size = static_cast<int>(std::clamp<int64_t>(Size, 1, 32767));
}

// NextMarkupToken from position At of Text, which moves past the token: the parser walks
// a long text without cutting its front off again and again.
void NextMarkupTokenAt(const std::string& Text, std::size_t& At, std::string& Token)
{
    const std::size_t lt = Text.find('<', At);
    if (lt == std::string::npos) {
        Token = Text.substr(At);
        At = Text.size();
    } else if (lt > At) {
        Token = Text.substr(At, lt - At);
        At = lt;
    } else {
        const std::size_t gt = Text.find('>', At);
        if (gt == std::string::npos)
            throw HtmlParserException("Missing > at " + Text.substr(At + 1));
        Token = Text.substr(At, gt + 1 - At);
        At = gt + 1;
    }
}

// Parses one text into items, keeping its own font and tag stacks.
class TMarkupParser {
public:
    TMarkupParser(const TMarkupFont& Font, bool Strict) : FFont(Font), FStrict(Strict) {}

    std::vector<TMarkupItem> Run(const std::string& Text)
    {
        std::string token;
        std::size_t at = 0;
        while (at < Text.size()) {
            try {
                NextMarkupTokenAt(Text, at, token);
            } catch (const HtmlParserException&) {
                if (FStrict)
                    throw;
                AddText(Text.substr(at));   // the unfinished tag is shown as it was written
                break;
            }
            Interpret(token);
        }
        return std::move(FItems);
    }

private:
    TMarkupItem NewItem(TMarkupItemKind Kind) const
    {
        TMarkupItem item;
        item.Kind = Kind;
        item.Font = FFont;
        item.Centered = FCentered;
        item.Shifts = FShifts;
        return item;
    }

    void AddBreak() { FItems.push_back(NewItem(TMarkupItemKind::LineBreak)); }

    // A run as written; every CR LF in it breaks the line.
    void AddText(const std::string& Raw)
    {
        std::size_t start = 0;
        for (;;) {
            const std::size_t crlf = Raw.find(CrLf, start);
            const std::string part = Raw.substr(start, crlf == std::string::npos ? std::string::npos : crlf - start);
            if (!part.empty()) {
                TMarkupItem item = NewItem(TMarkupItemKind::Text);
                item.Text = DecodeMarkupEntities(part);
                if (!item.Text.empty())
                    FItems.push_back(std::move(item));
            }
            if (crlf == std::string::npos)
                break;
            AddBreak();
            start = crlf + 2;
        }
    }

    // The font is saved as the FONT tag that brings it back.
    void SaveFont()
    {
        FFontStack.push_back(FontToMarkup(FFont));
        FTokenSavedFont = true;
    }

    // Gives back the last saved font; with none saved the font stays as it is.
    void RestoreFont()
    {
        if (FFontStack.empty())
            return;
        const std::string tag = std::move(FFontStack.back());
        FFontStack.pop_back();
        ApplyFontTag(tag, FFont);
    }

    void PopShift(bool Down)
    {
        if (!FShifts.empty() && FShifts.back().Down == Down)
            FShifts.pop_back();
    }

    void OpenStyle(const std::string& Upper, unsigned Style)
    {
        FFont.Style |= Style;
        FTagStack.push_back(Upper);
    }

    // Removes Style and forgets the innermost open tag that set it.
    void CloseStyle(unsigned Style, std::initializer_list<const char*> Openers)
    {
        FFont.Style &= ~Style;
        for (auto it = FTagStack.rbegin(); it != FTagStack.rend(); ++it) {
            if (std::any_of(Openers.begin(), Openers.end(), [&](const char* o) { return *it == o; })) {
                FTagStack.erase(std::next(it).base());
                break;
            }
        }
    }

    void AddImage(const std::string& Token)
    {
        std::string body = Token.substr(5);   // after "<IMG "
        if (StartsWith(body, CrLf))
            body.erase(0, 2);
        if (!body.empty() && body.back() == '>')
            body.pop_back();
        TMarkupItem item = NewItem(TMarkupItemKind::Image);
        for (const auto& a : ParseAttributes(body)) {
            if (a.Name == "WIDTH")
                item.Width = std::max(0, StrToInt(a.Value));
            else if (a.Name == "HEIGHT")
                item.Height = std::max(0, StrToInt(a.Value));
            else if (a.Name == "SRC")
                item.Source = a.Value;
        }
        if (!item.Source.empty())
            FItems.push_back(std::move(item));
    }

    void Interpret(const std::string& Token)
    {
        FTokenSavedFont = false;
        InterpretTag(Token);
        FPreviousSavedFont = FTokenSavedFont;
    }

    void InterpretTag(const std::string& Token)
    {
        const std::string t = UpperCase(Token);
        static const int headingSizes[] = {48, 36, 24, 18, 12, 8};

        if (t == "<BR>" || t == "<P>") {
            AddBreak();
        } else if (t == "<BIG>") {
            SaveFont();
            SetSize(FFont, int64_t(FFont.Size) + 2);
        } else if (t == "<SMALL>") {
            SaveFont();
            SetSize(FFont, int64_t(FFont.Size) - 2);
        } else if (t == "</SUB>") {
            RestoreFont();
            PopShift(true);
        } else if (t == "<SUB>" || t == "<SUPER>") {
            SaveFont();
            SetSize(FFont, FFont.Size / 2);
            FShifts.push_back({t == "<SUB>", FFont});
        } else if (t == "</SUPER>") {
            RestoreFont();
            PopShift(false);
        } else if (t.size() == 4 && StartsWith(t, "<H") && t[2] >= '1' && t[2] <= '6' && t[3] == '>') {
            SaveFont();
            SetSize(FFont, headingSizes[t[2] - '1']);
        } else if (t == "<PRE>") {
            SaveFont();
            ApplyFontTag("<FONT NAME=\"Courier New\">", FFont);
        } else if (t == "<CENTER>") {
            FCentered = true;
        } else if (t == "<B>" || t == "<BOLD>" || t == "<STRONG>") {
            OpenStyle(t, mfsBold);
        } else if (t == "<I>") {
            OpenStyle(t, mfsItalic);
        } else if (t == "<U>") {
            OpenStyle(t, mfsUnderline);
        } else if (t == "<STRIKE>") {
            OpenStyle(t, mfsStrikeOut);
        } else if (StartsWith(t, "<IMG ")) {
            AddImage(Token);
        } else if (t == "</B>" || t == "</BOLD>" || t == "</STRONG>") {
            CloseStyle(mfsBold, {"<B>", "<BOLD>", "<STRONG>"});
        } else if (t == "</I>") {
            CloseStyle(mfsItalic, {"<I>"});
        } else if (t == "</U>") {
            CloseStyle(mfsUnderline, {"<U>"});
        } else if (t == "</STRIKE>") {
            CloseStyle(mfsStrikeOut, {"<STRIKE>"});
        } else if (StartsWith(t, "</FONT") || t == "</PRE>" || t == "</BIG>" || t == "</SMALL>" ||
                   (t.size() == 5 && StartsWith(t, "</H") && t[3] >= '1' && t[3] <= '6' && t[4] == '>')) {
            RestoreFont();
        } else if (t == "</CENTER>") {
            FCentered = false;
        } else if (StartsWith(t, "<FONT ")) {
            SaveFont();
            ApplyFontTag(Token, FFont);
        } else if (t == "</>") {
            // Closes the font tag just before it, or else the innermost open style tag.
            if (FPreviousSavedFont) {
                RestoreFont();
            } else if (!FTagStack.empty()) {
                const std::string opener = FTagStack.back();
                InterpretTag("</" + opener.substr(1));
            }
        } else if (t == "<HR>") {
            FItems.push_back(NewItem(TMarkupItemKind::Rule));
        } else {
            AddText(Token);
        }
    }

    TMarkupFont FFont;
    bool FStrict;
    bool FCentered = false;
    bool FTokenSavedFont = false;
    bool FPreviousSavedFont = false;
    std::vector<std::string> FFontStack;
    std::vector<std::string> FTagStack;
    std::vector<TMarkupShift> FShifts;
    std::vector<TMarkupItem> FItems;
};

} // namespace

void NextMarkupToken(std::string& Text, std::string& Token)
{
    std::size_t at = 0;
    NextMarkupTokenAt(Text, at, Token);
    Text.erase(0, at);
}

std::string DecodeMarkupEntities(const std::string& Text)
{
    std::string s = StringReplaceAll(Text, "&lt;", "<");
    s = StringReplaceAll(s, "&gt;", ">");
    s = StringReplaceAll(s, "&amp;", "&");
    return StringReplaceAll(s, "&quot;", "\"");
}

TColor MarkupColorToColor(const std::string& Value)
{
    const std::string v = UpperCase(Trim(Value));
    static const struct { const char* Name; TColor Color; } names[] = {
        {"BLACK", 0x000000}, {"RED", 0x0000FF}, {"BLUE", 0xFF0000}, {"YELLOW", 0x00FFFF},
        {"WHITE", 0xFFFFFF}, {"GREEN", 0x008000}, {"LIME", 0x00FF00},
    };
    for (const auto& n : names)
        if (v == n.Name)
            return n.Color;
    if (StartsWith(v, "#")) {
        const std::string digits = v.substr(1);
        auto pair = [&](std::size_t at) { return at < digits.size() ? digits.substr(at, 2) : std::string(); };
        if (digits.size() > 6)
            NotAnInteger(digits);
        const int r = HexByte(pair(0));
        const int g = HexByte(pair(2));
        const int b = HexByte(pair(4));
        return r | (g << 8) | (b << 16);
    }
    return ColorFromText(v);
}

void ApplyFontTag(const std::string& Tag, TMarkupFont& Font)
{
    // Drop "<FONT " and ">".
    const std::string body = Tag.size() > 7 ? Tag.substr(6, Tag.size() - 7) : std::string();
    for (const auto& a : ParseAttributes(body)) {
        if (a.Name == "NAME" || a.Name == "FAMILY") {
            Font.Name = a.Value;
        } else if (a.Name == "SIZE") {
            const int64_t n = StrToInt(a.Value);
            if (!a.Value.empty() && (a.Value[0] == '+' || a.Value[0] == '-'))
                SetSize(Font, Font.Size + n);
            else
                SetSize(Font, n);
        } else if (a.Name == "COLOR") {
            Font.Color = MarkupColorToColor(a.Value);
        } else if (a.Name == "WEIGHT") {
            const std::string w = UpperCase(a.Value);
            unsigned style = 0;
            if (Trim(w) != "NORMAL") {
                std::size_t start = 0;
                for (;;) {
                    const std::size_t comma = w.find(',', start);
                    const std::string word = Trim(w.substr(start, comma == std::string::npos ? std::string::npos : comma - start));
                    if (word == "BOLD")
                        style |= mfsBold;
                    else if (word == "ITALIC")
                        style |= mfsItalic;
                    else if (word == "UNDERLINE")
                        style |= mfsUnderline;
                    else if (word == "STRIKE")
                        style |= mfsStrikeOut;
                    else
                        throw Exception("Unknown field in FONT WEIGHT=" + a.Value);
                    if (comma == std::string::npos)
                        break;
                    start = comma + 1;
                }
            }
            Font.Style = style;
        } else {
            throw Exception("Unknown field in FONT: " + a.Name);
        }
    }
}

std::string FontToMarkup(const TMarkupFont& Font)
{
    static const struct { unsigned Style; const char* Word; } words[] = {
        {mfsBold, "BOLD"}, {mfsItalic, "ITALIC"}, {mfsUnderline, "UNDERLINE"}, {mfsStrikeOut, "STRIKE"},
    };
    std::string weight;
    for (const auto& w : words)
        if (Font.Style & w.Style)
            weight += (weight.empty() ? "" : ", ") + std::string(w.Word);
    if (weight.empty())
        weight = "NORMAL";
    return "<FONT size=" + std::to_string(Font.Size) + " name=" + Font.Name + " color=" +
           std::to_string(Font.Color) + " weight=" + weight + ">";
}

std::vector<TMarkupItem> ParseMarkupText(const std::string& Text, const TMarkupFont& Font, bool Strict)
{
    return TMarkupParser(Font, Strict).Run(Text);
}
