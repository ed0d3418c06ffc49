// Component streaming: the text form, exactly, and the way back.
#include "streaming_samples.h"

#include <gtest/gtest.h>

using namespace sample;

namespace {

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

TEST(StreamingText, ErrorsNameTheLineAndLeaveTheOutputAlone)
{
    const std::pair<std::string, std::string> cases[] = {
        {"thing TNode\r\nend\r\n", "'object' expected on line 1"},
        {"object TNode\r\n  Count 5\r\nend\r\n", "'=' expected on line 2"},
        {"object TNode\r\n  Count = 1\r\n  Caption = 'abc\r\nend\r\n", "Invalid string constant on line 3"},
        {"object TNode\r\n  Payload = {0A1}\r\nend\r\n", "Invalid binary value on line 2"},
        {"object TNode\r\n  Count = 99999999999999999999\r\nend\r\n", "Number out of range on line 2"},
        {"object TNode\r\n  Count = 1\r\n", "Identifier expected on line 3"},
        {"object TNode\r\n  Count = " + std::string(1000, '(') + "\r\nend\r\n", "Invalid stream format on line 2"},
    };
    for (const auto& [text, message] : cases) {
        TMemoryStream in, out;
        Load(in, text);
        out.WriteBuffer("ab", 2);
        try {
            ObjectTextToBinary(&in, &out);
            ADD_FAILURE() << text;
        } catch (const EParserError& e) {
            EXPECT_EQ(e.Message(), message);
        }
        EXPECT_EQ(std::string(out.Memory(), static_cast<size_t>(out.Size())), "ab");
        EXPECT_EQ(out.Position(), 2);
    }
}

} // namespace
