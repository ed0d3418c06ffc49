// A text record's spacing array on its way from an enhanced metafile into a Windows
// metafile: kept when it holds an advance for every character, refused when it is short.
#include "graphics/Metafile.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {

uint32_t U32(const std::vector<uint8_t>& b, size_t at)
{
    uint32_t v = 0;
    std::memcpy(&v, b.data() + at, 4);
    return v;
}
uint16_t U16(const std::vector<uint8_t>& b, size_t at) { return uint16_t(b[at] | (b[at + 1] << 8)); }
void Put32(std::vector<uint8_t>& b, size_t at, uint32_t v) { std::memcpy(b.data() + at, &v, 4); }

constexpr uint32_t EmrExtTextOutW = 84;
constexpr uint16_t MetaExtTextOut = 0x0A32;
const std::string Text = "AW i";   // four characters of unequal advances

struct TextSpacing : ::testing::Test {
    void SetUp() override
    {
        TMetafile m;
        m.SetWidth(80);
        m.SetHeight(20);
        {
            TMetafileCanvas c(&m);
            c.TextOut(3, 2, Text);
        }
        emf = m.SaveToBytes();
        for (size_t at = 0; at + 8 <= emf.size(); at += U32(emf, at + 4))
            if (U32(emf, at) == EmrExtTextOutW)
                record = at;
        ASSERT_NE(record, 0u);
        ASSERT_EQ(U32(emf, record + 44), Text.size());
        // The spacing array ends the record.
        const uint32_t offDx = U32(emf, record + 72);
        ASSERT_EQ(offDx + 4 * Text.size(), U32(emf, record + 4));
        for (size_t i = 0; i < Text.size(); ++i)
            advances.push_back(int16_t(U32(emf, record + offDx + 4 * i)));
    }
    // The enhanced bytes with the spacing array's last entry cut off the text record.
    std::vector<uint8_t> ShortArray() const
    {
        std::vector<uint8_t> b = emf;
        const uint32_t size = U32(b, record + 4);
        b.erase(b.begin() + long(record + size - 4), b.begin() + long(record + size));
        Put32(b, record + 4, size - 4);
        Put32(b, 48, uint32_t(b.size()));   // the header's byte count
        return b;
    }
    // The text record of the Windows metafile written from Bytes: its advances, when it
    // carries any.
    static std::vector<int> WindowsAdvances(const std::vector<uint8_t>& Bytes)
    {
        TMetafile m;
        m.LoadFromBytes(Bytes);
        m.SetEnhanced(false);
        const std::vector<uint8_t> wmf = m.SaveToBytes();
        std::vector<int> out;
        bool found = false;
        for (size_t at = 40; at + 6 <= wmf.size() && U32(wmf, at) >= 3; at += 2 * U32(wmf, at)) {
            if (U16(wmf, at + 4) != MetaExtTextOut)
                continue;
            found = true;
            const size_t words = U32(wmf, at);
            const uint16_t count = U16(wmf, at + 10);
            EXPECT_EQ(count, Text.size());
            size_t s = at + 14 + ((U16(wmf, at + 12) & 6) != 0 ? 8 : 0);
            EXPECT_EQ(std::string(reinterpret_cast<const char*>(wmf.data() + s), count), Text);
            s += (count + 1) / 2 * 2;
            for (; s + 2 <= at + 2 * words; s += 2)
                out.push_back(int16_t(U16(wmf, s)));
        }
        EXPECT_TRUE(found) << "no text record";
        return out;
    }
    std::vector<uint8_t> emf;
    size_t record = 0;
    std::vector<int> advances;
};

TEST_F(TextSpacing, AFullArrayIsKeptAndAShortOneRefused)
{
    ASSERT_NE(advances[0], advances[3]);
    EXPECT_EQ(WindowsAdvances(emf), advances);
    // One advance short of the text: the text is kept, the array is not.
    EXPECT_EQ(WindowsAdvances(ShortArray()), std::vector<int>{});
}

} // namespace
