// Component streaming: the exact bytes of the binary form, worked out by hand.
#include "streaming_samples.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <functional>
#include <initializer_list>

using namespace sample;

namespace {

std::string B(std::initializer_list<int> bytes)
{
    std::string s;
    for (int b : bytes)
        s += static_cast<char>(b);
    return s;
}

// What one writer call puts into a stream.
std::string Written(const std::function<void(TWriter&)>& write)
{
    TMemoryStream s;
    TWriter w(&s);
    write(w);
    return Bytes(s);
}

TEST(StreamingBytes, TinyStreamsByHand)
{
    TLeaf leaf(nullptr);
    leaf.SetName("L");
    leaf.SetTag(-1);      // int8
    leaf.SetValue(200);   // does not fit int8: int16
    leaf.SetFlag(true);
    EXPECT_EQ(BinaryOf(&leaf),
              B({'T', 'P', 'F', '0',
                 5, 'T', 'L', 'e', 'a', 'f', 1, 'L',
                 3, 'T', 'a', 'g', 2, 0xFF,
                 5, 'V', 'a', 'l', 'u', 'e', 3, 0xC8, 0x00,
                 4, 'F', 'l', 'a', 'g', 9,
                 0,     // end of the properties
                 0}));  // end of the children

    // A root with one child: the child's own two terminators, then the root's.
    THolder holder(nullptr);
    holder.SetName("H");
    auto* child = new TLeaf(&holder);
    child->SetName("L1");
    child->SetValue(1);
    child->SetHolder(&holder);
    EXPECT_EQ(BinaryOf(&holder),
              B({'T', 'P', 'F', '0',
                 7, 'T', 'H', 'o', 'l', 'd', 'e', 'r', 1, 'H',
                 0,
                 5, 'T', 'L', 'e', 'a', 'f', 2, 'L', '1',
                 5, 'V', 'a', 'l', 'u', 'e', 2, 1,
                 0, 0,
                 0}));
}

TEST(StreamingBytes, IntegersTakeTheSmallestTag)
{
    struct Case {
        int64_t value;
        std::string bytes;
    };
    const Case cases[] = {
        {0, B({2, 0})},
        {127, B({2, 0x7F})},
        {-128, B({2, 0x80})},
        {128, B({3, 0x80, 0x00})},
        {-129, B({3, 0x7F, 0xFF})},
        {32767, B({3, 0xFF, 0x7F})},
        {-32768, B({3, 0x00, 0x80})},
        {32768, B({4, 0x00, 0x80, 0x00, 0x00})},
        {-32769, B({4, 0xFF, 0x7F, 0xFF, 0xFF})},
        {2147483647, B({4, 0xFF, 0xFF, 0xFF, 0x7F})},
        {2147483648LL, B({19, 0x00, 0x00, 0x00, 0x80, 0x00, 0x00, 0x00, 0x00})},
        {-2147483649LL, B({19, 0xFF, 0xFF, 0xFF, 0x7F, 0xFF, 0xFF, 0xFF, 0xFF})},
    };
    for (const Case& c : cases) {
        std::string bytes = Written([&](TWriter& w) { w.WriteInteger(c.value); });
        EXPECT_EQ(bytes, c.bytes) << c.value;
        TMemoryStream s;
        Load(s, bytes);
        TReader r(&s);
        EXPECT_EQ(r.ReadInt64(), c.value);
    }
    // ReadInteger takes any tag whose value fits 32 bits.
    TMemoryStream s;
    Load(s, B({19, 5, 0, 0, 0, 0, 0, 0, 0, 19, 0, 0, 0, 0, 1, 0, 0, 0}));
    TReader r(&s);
    EXPECT_EQ(r.ReadInteger(), 5);
    EXPECT_THROW(r.ReadInteger(), EReadError);
}

TEST(StreamingBytes, ExtendedFloatsByHand)
{
    // 1.0: mantissa 1.000 (integer bit set), exponent 16383 = 0x3FFF.
    // -2.5: 1.01b * 2^1, mantissa 0xA000..., exponent 0x4000 with the sign bit.
    const std::pair<double, std::string> cases[] = {
        {1.0, B({0, 0, 0, 0, 0, 0, 0, 0x80, 0xFF, 0x3F})},
        {-2.5, B({0, 0, 0, 0, 0, 0, 0, 0xA0, 0x00, 0xC0})},
        {0.0, B({0, 0, 0, 0, 0, 0, 0, 0, 0, 0})},
        {0.75, B({0, 0, 0, 0, 0, 0, 0, 0xC0, 0xFE, 0x3F})},
    };
    for (const auto& [value, bytes] : cases) {
        uint8_t ext[10];
        DoubleToExtended(value, ext);
        EXPECT_EQ(std::string(reinterpret_cast<char*>(ext), 10), bytes) << value;
        EXPECT_EQ(Written([&](TWriter& w) { w.WriteFloat(value); }), B({5}) + bytes);
        EXPECT_EQ(ExtendedToDouble(reinterpret_cast<const uint8_t*>(bytes.data())), value);
    }
    // Every double survives the trip exactly, sign of zero, subnormals and limits included.
    for (double v : {0.1, -1e-300, 4.9406564584124654e-324, -DBL_MAX, DBL_MIN, 123456789.125, -0.0,
                     HUGE_VAL}) {
        uint8_t ext[10];
        DoubleToExtended(v, ext);
        double back = ExtendedToDouble(ext);
        EXPECT_EQ(back, v);
        EXPECT_EQ(std::signbit(back), std::signbit(v));
    }
    uint8_t ext[10];
    DoubleToExtended(std::nan(""), ext);
    EXPECT_TRUE(std::isnan(ExtendedToDouble(ext)));
    // Beyond the double range an extended becomes infinite.
    EXPECT_TRUE(std::isinf(ExtendedToDouble(reinterpret_cast<const uint8_t*>(
        B({0, 0, 0, 0, 0, 0, 0, 0x80, 0xFF, 0x7F}).data()))));
}

TEST(StreamingBytes, OtherValueForms)
{
    EXPECT_EQ(Written([](TWriter& w) { w.WriteString("abc"); }), B({6, 3, 'a', 'b', 'c'}));
    EXPECT_EQ(Written([](TWriter& w) { w.WriteString(std::string(255, 'x')); }), B({6, 255}) + std::string(255, 'x'));
    EXPECT_EQ(Written([](TWriter& w) { w.WriteString(std::string(256, 'x')); }),
              B({12, 0x00, 0x01, 0, 0}) + std::string(256, 'x'));
    EXPECT_EQ(Written([](TWriter& w) { w.WriteString("\xC3\xA9"); }), B({20, 2, 0, 0, 0, 0xC3, 0xA9}));
    EXPECT_EQ(Written([](TWriter& w) {
                  w.WriteIdent("true");
                  w.WriteIdent("False");
                  w.WriteIdent("nil");
                  w.WriteIdent("Foo");
              }),
              B({9, 8, 13, 7, 3, 'F', 'o', 'o'}));
    EXPECT_EQ(Written([](TWriter& w) { w.WriteSingle(1.5f); }), B({15, 0x00, 0x00, 0xC0, 0x3F}));
    EXPECT_EQ(Written([](TWriter& w) { w.WriteCurrency(1.5); }), B({16, 0x98, 0x3A, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(Written([](TWriter& w) { w.WriteDate(1.0); }), B({17, 0, 0, 0, 0, 0, 0, 0xF0, 0x3F}));
    EXPECT_EQ(Written([](TWriter& w) { w.WriteDouble(1.0); }), B({21, 0, 0, 0, 0, 0, 0, 0xF0, 0x3F}));
    EXPECT_THROW(Written([](TWriter& w) { w.WriteStr(std::string(256, 'x')); }), ERangeError);

    // Every number form reads back as a float; strings of every form as strings.
    TMemoryStream s;
    Load(s, B({15, 0x00, 0x00, 0xC0, 0x3F, 16, 0x98, 0x3A, 0, 0, 0, 0, 0, 0, 2, 0xFE, 20, 2, 0, 0, 0, 0xC3, 0xA9,
               12, 1, 0, 0, 0, 'q', 8, 13}));
    TReader r(&s);
    EXPECT_EQ(r.ReadFloat(), 1.5);
    EXPECT_EQ(r.ReadFloat(), 1.5);
    EXPECT_EQ(r.ReadFloat(), -2.0);
    EXPECT_EQ(r.ReadString(), "\xC3\xA9");
    EXPECT_EQ(r.ReadString(), "q");
    EXPECT_EQ(r.ReadIdent(), "False");
    EXPECT_EQ(r.ReadIdent(), "nil");

    // Sets, binary and list entries inside a component.
    TNode node(nullptr);
    node.SetStyles(1u << stBold | 1u << stUnderline);
    node.Payload = "\x01\x02";
    node.Margins[1] = 300;
    std::string binary = BinaryOf(&node);
    EXPECT_NE(binary.find(B({6, 'S', 't', 'y', 'l', 'e', 's', 11, 6, 's', 't', 'B', 'o', 'l', 'd', 11, 's', 't', 'U',
                             'n', 'd', 'e', 'r', 'l', 'i', 'n', 'e', 0})),
              std::string::npos);
    EXPECT_NE(binary.find(B({7, 'P', 'a', 'y', 'l', 'o', 'a', 'd', 10, 2, 0, 0, 0, 1, 2})), std::string::npos);
    EXPECT_NE(binary.find(B({7, 'M', 'a', 'r', 'g', 'i', 'n', 's', 1, 2, 15, 3, 0x2C, 0x01, 2, 15, 2, 15, 0})),
              std::string::npos);
}

} // namespace
