// Delimited items, character substitution, separator transforms, numbered component
// names, the index sort and the default palette.
#include "RizUridu/Helpers.h"

#include "ChartStarted.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <random>

TEST(TextHelpers, DelimitedItems)
{
    EXPECT_EQ(CountDelimitedItems(""), 0);
    EXPECT_EQ(CountDelimitedItems("abc"), 1);
    // Two separators, the second at the very end: three items, the third empty.
    EXPECT_EQ(CountDelimitedItems("a;b;"), 3);
    EXPECT_EQ(DelimitedItem("a;b;", 2), "b");
    EXPECT_EQ(DelimitedItem("a;b;", 3), "");
    // Outside the items: nothing, not the last item again.
    EXPECT_EQ(DelimitedItem("a;b", 3), "");
    EXPECT_EQ(DelimitedItem("a;b", 0), "");
    EXPECT_EQ(CountDelimitedItemsBy("x||y||z", "||"), 3);
    EXPECT_EQ(DelimitedItemBy("x||y||z", 3, "||"), "z");
    EXPECT_EQ(DelimitedItemBy("a,b;c", 2, ","), "b;c");
}

TEST(TextHelpers, SubstituteAndTransformChars)
{
    EXPECT_EQ(SubstituteChar("a,b,,c", ',', ';'), "a;b;;c");
    EXPECT_EQ(SubstituteChar("a,b,,c", ',', '\0'), "abc");
    // Swapped separators are transformed in one pass, never twice.
    TFormatSettings& fs = FormatSettings();
    const TFormatSettings saved = fs;
    fs.DecimalSeparator = ',';
    fs.ThousandSeparator = '.';
    EXPECT_EQ(TransformCharsA("1,234.5"), "1.234,5");
    EXPECT_EQ(TransformCharsB("1.234,5"), "1,234.5");
    fs = saved;
}

TEST(TextHelpers, NumberedComponentNameTakesTheFirstFreeNumber)
{
    auto owner = std::make_unique<TComponent>(nullptr);
    EXPECT_EQ(NumberedComponentName(owner.get(), "Series"), "Series1");
    (new TComponent(owner.get()))->SetName("Series1");   // owned and freed by owner
    (new TComponent(owner.get()))->SetName("Series3");
    EXPECT_EQ(NumberedComponentName(owner.get(), "Series"), "Series2");
    (new TComponent(owner.get()))->SetName("series2");   // names compare without case
    EXPECT_EQ(NumberedComponentName(owner.get(), "Series"), "Series4");
    EXPECT_EQ(NumberedComponentName(nullptr, "Series"), "Series1");
}

TEST(IndexSort, MatchesStdSortAndStaysInRange)
{
    std::mt19937 rng(20240611);
    for (int n : {0, 1, 2, 3, 7, 100, 2000}) {
        for (int range : {3, 1000000}) {   // many equal keys, then almost none
            std::vector<int> data(n + 2, -1);   // guards at both ends stay untouched
            std::uniform_int_distribution<int> value(0, range);
            for (int i = 1; i <= n; ++i)
                data[i] = value(rng);
            std::vector<int> expected = data;
            std::sort(expected.begin() + 1, expected.end() - 1);
            const auto check = [&](int i) { ASSERT_TRUE(i >= 1 && i <= n) << i; };
            SortIndexRange(
                1, n,
                [&](int a, int b) {
                    check(a);
                    check(b);
                    return data[a] < data[b] ? -1 : data[a] > data[b] ? 1 : 0;
                },
                [&](int a, int b) {
                    check(a);
                    check(b);
                    std::swap(data[a], data[b]);
                });
            EXPECT_EQ(data, expected) << "n=" << n << " range=" << range;
        }
    }
}

TEST(DefaultPalette, WrapsAndIsNeverEmpty)
{
    {
        const testsupport::ChartStarted started;
        ASSERT_EQ(DefaultPalette().size(), 20u);
        EXPECT_EQ(GetDefaultPaletteColor(0), 0x0000FF);
        EXPECT_EQ(GetDefaultPaletteColor(20), 0x0000FF);
        EXPECT_EQ(GetDefaultPaletteColor(-1), 0xA4A0A0);
        const TColor three[] = {1, 2, 3};
        SetDefaultPalette(three);
        EXPECT_EQ(GetDefaultPaletteColor(4), 2);
        EXPECT_EQ(GetDefaultPaletteColor(-4), 3);
        SetDefaultPalette({});   // no colours: the built-in palette
        EXPECT_EQ(GetDefaultPaletteColor(1), 0x008000);
        SetDefaultPalette(three);
    }
    // Finishing the library puts the built-in palette back.
    EXPECT_EQ(DefaultPalette(), BuiltInDefaultPalette());
}
