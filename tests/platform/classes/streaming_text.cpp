// Component streaming: the text form, exactly, and the way back.
#include "streaming_samples.h"

#include <gtest/gtest.h>

#include <cctype>

using namespace sample;

namespace {

// Bad text is refused with Message, and the output stream (holding "ab" before) keeps
// what it had and where it stood.
void ExpectRefused(const std::string& Bad, const std::string& Message)
{
    TMemoryStream in, out;
    Load(in, Bad);
    out.WriteBuffer("ab", 2);
    try {
        ObjectTextToBinary(&in, &out);
        ADD_FAILURE() << Message;
    } catch (const EParserError& e) {
        EXPECT_EQ(e.Message(), Message);
    }
    EXPECT_EQ(Bytes(out), "ab");
    EXPECT_EQ(out.Position(), 2);
}

TEST(StreamingText, TinyStreamAsText)
{
    TLeaf leaf(nullptr);
    leaf.SetName("L");
    leaf.SetTag(-1);
    leaf.SetValue(200);
    leaf.SetFlag(true);
    std::string binary = BinaryOf(&leaf);
    const std::string text = "object L: TLeaf\r\n"
                             "  Tag = -1\r\n"
                             "  Value = 200\r\n"
                             "  Flag = True\r\n"
                             "end\r\n";
    EXPECT_EQ(TextOf(binary), text);
    EXPECT_EQ(BinaryOfText(text), binary);
}

TEST(StreamingText, EveryValueFormAsText)
{
    TNode root(nullptr);   // unnamed
    auto* child = new TNode(&root);
    child->SetName("Child");
    child->SetRatio(1e20);
    child->SetBig(-1);
    root.SetCount(3);
    root.SetKind(shSquare);
    root.SetStyles(1u << stBold | 1u << stUnderline);
    root.SetRatio(2.75);
    root.SetCaption("It's\r\nok");
    root.SetEnabled(false);
    root.SetLetter('z');
    root.SetBig(5000000000LL);
    root.SetLimit(5);
    root.SetScale(0.5f);
    root.Font()->SetName("Courier New");
    root.Font()->SetSize(12);
    root.Font()->SetStyles(1u << stItalic);
    root.Font()->SetColor(clRed);
    root.SetLink(child);
    auto* item = static_cast<TNodeItem*>(root.Items()->Add());
    item->Caption = "one";
    item->Weight = 0.5;
    item->Target = child;
    root.Items()->Add();
    root.Lines()->Add("x");
    root.Lines()->Add("y");
    root.Payload = std::string("\x00\x01\xFF", 3);
    root.Margins[0] = 1;
    root.Margins[1] = 2;
    root.Margins[2] = 3;
    root.Margins[3] = 4;
    std::string binary = BinaryOf(&root);

    const std::string text = "object TNode\r\n"
                             "  Count = 3\r\n"
                             "  Kind = shSquare\r\n"
                             "  Styles = [stBold, stUnderline]\r\n"
                             "  Ratio = 2.75\r\n"
                             "  Caption = 'It''s'#13#10'ok'\r\n"
                             "  Enabled = False\r\n"
                             "  Letter = 'z'\r\n"
                             "  Big = 5000000000\r\n"
                             "  Limit = 5\r\n"
                             "  Scale = 0.5s\r\n"
                             "  Font.Name = 'Courier New'\r\n"
                             "  Font.Size = 12\r\n"
                             "  Font.Styles = [stItalic]\r\n"
                             "  Font.Color = clRed\r\n"
                             "  Link = Child\r\n"
                             "  Items = <\r\n"
                             "    item\r\n"
                             "      Caption = 'one'\r\n"
                             "      Weight = 0.5\r\n"
                             "      Target = Child\r\n"
                             "    end\r\n"
                             "    item\r\n"
                             "    end>\r\n"
                             "  Lines.Strings = (\r\n"
                             "    'x'\r\n"
                             "    'y')\r\n"
                             "  Payload = {0001FF}\r\n"
                             "  Margins = (\r\n"
                             "    1\r\n"
                             "    2\r\n"
                             "    3\r\n"
                             "    4)\r\n"
                             "  object Child: TNode\r\n"
                             "    Count = 0\r\n"
                             "    Ratio = 1E20\r\n"
                             "    Big = -1\r\n"
                             "  end\r\n"
                             "end\r\n";
    EXPECT_EQ(TextOf(binary), text);
    EXPECT_EQ(BinaryOfText(text), binary);
    EXPECT_EQ(TextOf(BinaryOfText(text)), text);
}

TEST(StreamingText, LongStringsAndBinaryDataSpanLines)
{
    TNode root(nullptr);
    root.SetCount(1);
    root.SetCaption(std::string(70, 'a'));
    for (int i = 0; i < 40; ++i)
        root.Payload += static_cast<char>(i);
    const std::string text = "object TNode\r\n"
                             "  Count = 1\r\n"
                             "  Caption = \r\n"
                             "    '" + std::string(64, 'a') + "' +\r\n"
                             "    'aaaaaa'\r\n"
                             "  Payload = {\r\n"
                             "    000102030405060708090A0B0C0D0E0F101112131415161718191A1B1C1D1E1F\r\n"
                             "    2021222324252627}\r\n"
                             "end\r\n";
    std::string binary = BinaryOf(&root);
    EXPECT_EQ(TextOf(binary), text);
    EXPECT_EQ(BinaryOfText(text), binary);

}

// A binary value's text laid out plainly, a byte at a time: on the value's line when
// shorter than 32 bytes, else each 32 bytes on a line of their own after Indent.
std::string PlainBinaryText(const std::string& Bytes, const std::string& Indent)
{
    static const char Hex[] = "0123456789ABCDEF";
    std::string out = "{";
    for (size_t i = 0; i < Bytes.size(); ++i) {
        if (Bytes.size() >= 32 && i % 32 == 0)
            out += "\r\n" + Indent;
        out += Hex[static_cast<uint8_t>(Bytes[i]) >> 4];
        out += Hex[static_cast<uint8_t>(Bytes[i]) & 15];
    }
    return out + "}";
}

TEST(StreamingText, BinaryValuesOfAnyLengthAsPlainHex)
{
    // Lengths around the line and block sizes, and one past the chunks a stream that is
    // not in memory is read in; every byte value occurs.
    for (size_t n : {1, 15, 16, 17, 31, 32, 33, 63, 64, 65, 100, 70005}) {
        TNode root(nullptr);
        root.SetCount(1);
        for (size_t i = 0; i < n; ++i)
            root.Payload += static_cast<char>((i * 37 + 11) & 0xFF);
        const std::string binary = BinaryOf(&root);
        const std::string text =
            "object TNode\r\n  Count = 1\r\n  Payload = " + PlainBinaryText(root.Payload, "    ") + "\r\nend\r\n";
        EXPECT_EQ(TextOf(binary), text) << n;
        EXPECT_EQ(BinaryOfText(text), binary) << n;
        TStringStream binaryIn(binary), textOut, textIn(text), binaryOut;
        ObjectBinaryToText(&binaryIn, &textOut);
        EXPECT_EQ(textOut.DataString(), text) << n;
        ObjectTextToBinary(&textIn, &binaryOut);
        EXPECT_EQ(binaryOut.DataString(), binary) << n;
    }
}

TEST(StreamingText, BinaryValuesAreReadLenientlyAndCheckedWhole)
{
    TNode root(nullptr);
    root.SetCount(1);
    for (size_t i = 0; i < 100; ++i)
        root.Payload += static_cast<char>(255 - i);
    const std::string binary = BinaryOf(&root);
    const std::string head = "object TNode\r\n  Count = 1\r\n  Payload = ";
    const std::string text = head + PlainBinaryText(root.Payload, "    ") + "\r\nend\r\n";
    // Lower case, and blanks and line breaks of every kind anywhere, between the two
    // digits of a byte too.
    std::string hex = PlainBinaryText(root.Payload, "");
    std::string digits;
    for (char c : hex)
        if (std::isxdigit(static_cast<unsigned char>(c)))
            digits += c;
    std::string loose = "{";
    const char* blanks[] = {"\r\n  ", " ", "\t", "\n", "\r", "  \r\n"};
    for (size_t i = 0; i < digits.size(); ++i) {
        loose += (i / 50) % 2 ? static_cast<char>(std::tolower(static_cast<unsigned char>(digits[i]))) : digits[i];
        if (i % 7 == 6)
            loose += blanks[(i / 7) % 6];
    }
    loose += "}";
    EXPECT_EQ(BinaryOfText(head + loose + "\r\nend\r\n"), binary);

    // The value's lines are 4 to 7: a wrong character deep in one, a digit too few, the
    // closing brace missing (the next line then fails at its "n").
    std::string wrong = text;
    wrong[text.find("\r\n", text.find('{') + 3 * 66) - 20] = 'G';
    std::string odd = text;
    odd.erase(text.find('}') - 1, 1);
    std::string open = text;
    open.erase(text.find('}'), 1);
    const std::pair<std::string, std::string> cases[] = {
        {wrong, "Invalid binary value on line 6"},
        {odd, "Invalid binary value on line 7"},
        {open, "Invalid binary value on line 8"},
    };
    for (const auto& [bad, message] : cases)
        ExpectRefused(bad, message);

    // A binary stream cut short in the value leaves a memory stream as it was too.
    TMemoryStream in, out;
    Load(in, binary.substr(0, binary.size() - 30));
    out.WriteBuffer("ab", 2);
    EXPECT_THROW(ObjectBinaryToText(&in, &out), EReadError);
    EXPECT_EQ(Bytes(out), "ab");
    EXPECT_EQ(out.Position(), 2);
}

TEST(StreamingText, LargeBinaryValuesAreConvertedInPartsAsInOne)
{
    // A block large enough to be converted in parts on several threads: the plain text
    // both ways, the lenient forms (a byte split over a line break, lower case, tabs)
    // read back whole, and a fault anywhere told with its line as by one pass.
    const size_t n = (size_t(4) << 20) + 17;
    TNode root(nullptr);
    root.SetCount(1);
    root.Payload.reserve(n);
    for (size_t i = 0; i < n; ++i)
        root.Payload += static_cast<char>((i * 37 + 11) & 0xFF);
    const std::string binary = BinaryOf(&root);
    const std::string text = "object TNode\r\n  Count = 1\r\n  Payload = " + PlainBinaryText(root.Payload, "    ") + "\r\nend\r\n";
    EXPECT_TRUE(TextOf(binary) == text);
    EXPECT_TRUE(BinaryOfText(text) == binary);

    // Data line j (from 0) is text line 4 + j; its break is 70 j characters past the "{".
    const size_t lines = (n + 31) / 32, first = text.find('{') + 1;
    auto lineAt = [&](size_t j) { return first + j * 70; };
    std::string split = text;
    const size_t middle = lineAt(lines / 2);
    const char last = split[middle - 1];
    split.erase(middle - 1, 1);
    split.insert(middle + 5, 1, last);   // "..7\r\n    A" -> "..\r\n    7A"
    std::string loose = text;
    for (size_t i = lineAt(lines / 3); i < loose.size(); ++i)
        loose[i] = static_cast<char>(std::tolower(static_cast<unsigned char>(loose[i])));
    for (size_t j = 0; j < lines; j += 1000)
        loose[lineAt(j) + 2] = '\t';
    EXPECT_TRUE(BinaryOfText(split) == binary);
    EXPECT_TRUE(BinaryOfText(loose) == binary);
    // A byte's digits blanked: every byte after it one place earlier.
    std::string shorter = text;
    shorter.replace(lineAt(lines / 4) + 6, 2, "  ");
    TNode less(nullptr);
    less.SetCount(1);
    less.Payload = root.Payload;
    less.Payload.erase(lines / 4 * 32, 1);
    EXPECT_TRUE(BinaryOfText(shorter) == BinaryOf(&less));

    std::string early = text, late = text, odd = text, after = text;
    early[lineAt(lines / 4) + 40] = 'G';
    late[lineAt(3 * lines / 4) + 9] = 'x';
    odd.erase(text.find('}') - 1, 1);
    after.replace(after.size() - 5, 3, "=");
    const std::pair<std::string, std::string> cases[] = {
        {early, "Invalid binary value on line " + std::to_string(4 + lines / 4)},
        {late, "Invalid binary value on line " + std::to_string(4 + 3 * lines / 4)},
        {odd, "Invalid binary value on line " + std::to_string(4 + lines - 1)},
        {after, "Identifier expected on line " + std::to_string(4 + lines)},
    };
    for (const auto& [bad, message] : cases)
        ExpectRefused(bad, message);
}

TEST(StreamingText, OtherCharactersTravelAsCodePoints)
{
    // Written as #n escapes of their code points; escapes and quoted UTF-8 read back alike.
    TNode root(nullptr);
    root.SetCount(1);
    root.SetCaption("Temp \xC2\xB0" "C, \xCE\x98");
    const std::string binary = BinaryOf(&root);
    const std::string text = "object TNode\r\n"
                             "  Count = 1\r\n"
                             "  Caption = 'Temp '#176'C, '#920\r\n"
                             "end\r\n";
    EXPECT_EQ(TextOf(binary), text);
    EXPECT_EQ(BinaryOfText(text), binary);
    EXPECT_EQ(BinaryOfText("object TNode\r\n  Count = 1\r\n  Caption = 'Temp \xC2\xB0" "C, \xCE\x98'\r\nend\r\n"), binary);
    // Bytes that start no character (a lead byte past the last plane, a lone continuation
    // byte, a sequence cut short) are written one by one as their own values.
    root.SetCaption("\xF5\x80\x80" "a\x80" "\xE2\x82");
    EXPECT_EQ(TextOf(BinaryOf(&root)), "object TNode\r\n  Count = 1\r\n  Caption = #245#128#128'a'#128#226#130\r\nend\r\n");

    // A wide string (UTF-16, little-endian) as other writers give non-ASCII text.
    TRegistration registration;
    TMemoryStream wide;
    TWriter w(&wide);
    w.WriteSignature();
    w.WriteStr("TNode");
    w.WriteStr("");
    w.WriteStr("Caption");
    w.WriteValue(TValueType::vaWString);
    const uint8_t units[] = {3, 0, 0, 0, 0xB0, 0x00, 'C', 0x00, 0x98, 0x03};
    w.Write(units, sizeof units);
    w.WriteListEnd();
    w.WriteListEnd();
    wide.SetPosition(0);
    TNode read(nullptr);
    ReadComponent(&wide, &read);
    EXPECT_EQ(read.Caption(), "\xC2\xB0" "C\xCE\x98");
    EXPECT_EQ(TextOf(Bytes(wide)), "object TNode\r\n  Caption = #176'C'#920\r\nend\r\n");
}

TEST(StreamingText, TextIsReadLeniently)
{
    const std::string canonical = "object N: TNode\r\n"
                                  "  Count = 16\r\n"
                                  "  Ratio = 0.001\r\n"
                                  "  Caption = 'A''b'#13\r\n"
                                  "  Lines.Strings = (\r\n"
                                  "    'x')\r\n"
                                  "end\r\n";
    // Line feeds alone, other blanks, hex numbers, #$ codes, #39, joined pieces, any case.
    const std::string variant = "OBJECT N : TNode\n"
                                "\tCount=$10\n"
                                "  Ratio = 1.0E-3\n"
                                "  Caption = #$41#39 +\n 'b'#13\n"
                                "  Lines . Strings = ( 'x' )\n"
                                "End\n";
    EXPECT_EQ(BinaryOfText(variant), BinaryOfText(canonical));
    EXPECT_EQ(TextOf(BinaryOfText(variant)), canonical);
}

TEST(StreamingText, NumbersComeBackInTheirShortestExactText)
{
    // Fixed notation up to exponent 14, then the exponent; currencies keep the zeros
    // after the point that hold a place; 16 hex digits still fit 64 bits.
    const std::pair<std::string, std::string> cases[] = {
        {"1E14", "100000000000000.0"}, {"1000000000000000.0", "1E15"}, {"-0.00001", "-0.00001"},
        {"0.000001", "1E-6"},          {"1.5c", "1.5c"},                {"1.05c", "1.05c"},
        {"-0.0001c", "-0.0001c"},      {"$FFFFFFFFFFFFFFFF", "-1"},     {"$7FFFFFFFFFFFFFFF", "9223372036854775807"},
    };
    for (const auto& [typed, canonical] : cases)
        EXPECT_EQ(TextOf(BinaryOfText("object TNode\r\n  Ratio = " + typed + "\r\nend\r\n")),
                  "object TNode\r\n  Ratio = " + canonical + "\r\nend\r\n")
            << typed;
}

TEST(StreamingText, ListsNestedToTheLimitTravelBothWaysAndOneDeeperIsRefused)
{
    const auto nested = [](int Levels) {
        return "object TNode\r\n  Count = " + std::string(static_cast<size_t>(Levels), '(') + "1" +
               std::string(static_cast<size_t>(Levels), ')') + "\r\nend\r\n";
    };
    const int limit = 255;   // with the root object, 256 levels
    const std::string binary = BinaryOfText(nested(limit));
    EXPECT_EQ(BinaryOfText(TextOf(binary)), binary);
    ExpectRefused(nested(limit + 1), "Invalid stream format on line 2");
    // The same depth plus one, made in the binary form, is refused on the way to text.
    std::string deeper = binary;
    const size_t list = deeper.find("Count") + 5;
    deeper.insert(list, 1, '\x01');
    deeper.insert(deeper.size() - 2, 1, '\x00');
    TMemoryStream in, out;
    Load(in, deeper);
    EXPECT_THROW(ObjectBinaryToText(&in, &out), EReadError);
}

TEST(StreamingText, ErrorsNameTheLineAndLeaveTheOutputAlone)
{
    const std::pair<std::string, std::string> cases[] = {
        {"thing TNode\r\nend\r\n", "'object' expected on line 1"},
        {"object TNode\r\n  Count 5\r\nend\r\n", "'=' expected on line 2"},
        {"object TNode\r\n  Count = 1\r\n  Caption = 'abc\r\nend\r\n", "Invalid string constant on line 3"},
        {"object TNode\r\n  Payload = {0A1}\r\nend\r\n", "Invalid binary value on line 2"},
        {"object TNode\r\n  Caption = 'a'#\r\nend\r\n", "Invalid string constant on line 2"},
        {"object TNode\r\n  Count = 99999999999999999999\r\nend\r\n", "Number out of range on line 2"},
        {"object TNode\r\n  Count = $10000000000000000\r\nend\r\n", "Number out of range on line 2"},
        {"object TNode\r\n  Count = 1\r\n", "Identifier expected on line 3"},
        {"object TNode\r\n  Count = " + std::string(1000, '(') + "\r\nend\r\n", "Invalid stream format on line 2"},
    };
    for (const auto& [text, message] : cases)
        ExpectRefused(text, message);
}

} // namespace
