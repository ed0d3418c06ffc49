// Text-number conversions, their error texts, rounding, checked integers, strings and
// file names.
#include "classes/Streaming.h"
#include "classes/Streams.h"
#include "system/CheckedArray.h"
#include "system/ScopeGuard.h"
#include "system/SysUtils.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

namespace {

// The message of the exception that `f` raises, or "" when it raises none.
template <typename E, typename F>
std::string MessageOf(F f)
{
    try {
        f();
    } catch (const E& e) {
        return e.Message();
    }
    return {};
}

TEST(StrToIntTest, AcceptsDecimalHexAndSigns)
{
    EXPECT_EQ(StrToInt("0"), 0);
    EXPECT_EQ(StrToInt("-17"), -17);
    EXPECT_EQ(StrToInt("+17"), 17);
    EXPECT_EQ(StrToInt("$FF"), 255);
    EXPECT_EQ(StrToInt("0x1f"), 31);
    EXPECT_EQ(StrToInt("-$10"), -16);
    EXPECT_EQ(StrToInt("2147483647"), 2147483647);
    EXPECT_EQ(StrToInt("-2147483648"), std::numeric_limits<int32_t>::min());
    EXPECT_EQ(StrToInt64("-9223372036854775808"), std::numeric_limits<int64_t>::min());
    EXPECT_EQ(StrToInt64("9223372036854775807"), std::numeric_limits<int64_t>::max());
}

TEST(StrToIntTest, RejectsOddInputWithThePlatformText)
{
    EXPECT_EQ(MessageOf<EConvertError>([] { StrToInt("99999999999"); }), "'99999999999' is not a valid integer value");
    EXPECT_EQ(MessageOf<EConvertError>([] { StrToInt("2147483648"); }), "'2147483648' is not a valid integer value");
    EXPECT_EQ(MessageOf<EConvertError>([] { StrToInt("$100000000"); }), "'$100000000' is not a valid integer value");
    EXPECT_EQ(MessageOf<EConvertError>([] { StrToInt64("9223372036854775808"); }),
              "'9223372036854775808' is not a valid integer value");
    for (const char* bad : {"", " 12", "12 ", "1.5", "+", "-", "$", "0x", "12a", "1e3", "--1", "$G"})
        EXPECT_EQ(MessageOf<EConvertError>([&] { StrToInt(bad); }), std::string("'") + bad + "' is not a valid integer value")
            << bad;
    std::string huge(10000, '9');
    EXPECT_THROW(StrToInt64(huge), EConvertError);
    EXPECT_EQ(StrToIntDef("x", 7), 7);
    int32_t v = 3;
    EXPECT_FALSE(TryStrToInt("99999999999", v));
    EXPECT_EQ(v, 3);
    EXPECT_TRUE(TryStrToInt("-42", v));
    EXPECT_EQ(v, -42);
}

TEST(StrToFloatTest, ReadsNumbersWithTheSettingsSeparator)
{
    EXPECT_DOUBLE_EQ(StrToFloat("1.5"), 1.5);
    EXPECT_DOUBLE_EQ(StrToFloat("  -2.25e3\t"), -2250.0);
    EXPECT_DOUBLE_EQ(StrToFloat(".5"), 0.5);
    EXPECT_DOUBLE_EQ(StrToFloat("5."), 5.0);
    EXPECT_DOUBLE_EQ(StrToFloat("1E-2"), 0.01);
    EXPECT_DOUBLE_EQ(StrToFloat("+7"), 7.0);
    EXPECT_EQ(StrToFloat("0.1"), 0.1);   // exactly the nearest double
    EXPECT_EQ(StrToFloat("1e-400"), 0.0);
    EXPECT_EQ(StrToFloat("0.000000000000000000000000000000000000000000000000000000000000001e60"), 1e-3);
    EXPECT_EQ(StrToFloat(std::string(400, '0') + "1"), 1.0);

    TFormatSettings comma;
    comma.DecimalSeparator = ',';
    EXPECT_DOUBLE_EQ(StrToFloat("3,25", comma), 3.25);
    double v = 9;
    EXPECT_FALSE(TryStrToFloat("3.25", v, comma));
    EXPECT_EQ(v, 9);
}

TEST(StrToFloatTest, RejectsOddInputWithThePlatformText)
{
    for (const char* bad : {"", " ", ".", "1,5", "1,000.5", "1e", "1e+", "e5", "1.5x", "- 1", "1 5", "INF", "NAN", "1e400"})
        EXPECT_EQ(MessageOf<EConvertError>([&] { StrToFloat(bad); }),
                  std::string("'") + bad + "' is not a valid floating point value")
            << bad;
    EXPECT_THROW(StrToFloat("1e99999999999999999999"), EConvertError);
    EXPECT_EQ(StrToFloat("1e-99999999999999999999"), 0.0);
    EXPECT_EQ(StrToFloatDef("abc", 2.5), 2.5);
}

// Sets the C library's numbers to a locale with a decimal comma: an installed one, else
// one made with localedef in a temporary folder (read through LOCPATH). False when neither
// can be had.
bool UseDecimalCommaLocale()
{
    const auto comma = [] { return std::localeconv()->decimal_point[0] == ','; };
    for (const char* name : {"de_DE.UTF-8", "fr_FR.UTF-8", "ru_RU.UTF-8"})
        if (std::setlocale(LC_NUMERIC, name) && comma())
            return true;
    const std::string dir = testsupport::TempDir();
    if (std::system(("localedef -i de_DE -f UTF-8 '" + dir + "/de_DE.UTF-8' >/dev/null 2>&1").c_str()) != 0)
        return false;
    setenv("LOCPATH", dir.c_str(), 1);
    return std::setlocale(LC_NUMERIC, "de_DE.UTF-8") && comma();
}

// The program's numbers, as text and back, and the text form of streamed floats.
std::vector<std::string> ConvertedNumbers()
{
    TStringStream text("object C: TChart\r\n  Value = 2.5\r\n  Scale = -1.25E-5\r\nend\r\n"), binary, back;
    ObjectTextToBinary(&text, &binary);
    binary.SetPosition(0);
    ObjectBinaryToText(&binary, &back);
    return {Format("%8.3f|%10.3e|%g", {2.5, -1234.5, 0.125}), FloatToStr(1.0 / 3), FormatFloat("#,##0.###", 12345.678),
            FloatToStrF(2.5e-7, TFloatFormat::ffGeneral, 15, 0), FloatToStr(StrToFloat("0.75") + StrToFloat("1e-2")),
            MessageOf<EConvertError>([] { StrToFloat("2,5"); }), back.DataString()};
}

// A desktop whose locale writes a decimal comma changes the C library's conversions; the
// program's own conversions and chart files keep the point and the same digits.
TEST(ConversionLocaleTest, ADecimalCommaLocaleChangesNoNumber)
{
    const std::string saved = std::setlocale(LC_NUMERIC, nullptr);
    const char* savedPath = std::getenv("LOCPATH");
    const auto restore = TScopeGuard([&, path = std::string(savedPath ? savedPath : "")] {
        std::setlocale(LC_NUMERIC, saved.c_str());
        if (savedPath)
            setenv("LOCPATH", path.c_str(), 1);
        else
            unsetenv("LOCPATH");
    });
    std::setlocale(LC_NUMERIC, "C");
    const std::vector<std::string> expected = ConvertedNumbers();
    if (!UseDecimalCommaLocale())
        GTEST_SKIP() << "no locale with a decimal comma can be installed or made here";
    char probe[16];
    std::snprintf(probe, sizeof probe, "%.1f", 2.5);
    ASSERT_STREQ(probe, "2,5");   // the locale really bites the C library
    EXPECT_EQ(ConvertedNumbers(), expected);
}

TEST(RoundTest, HalvesGoToTheEvenNeighbour)
{
    EXPECT_EQ(Round(0.5), 0);
    EXPECT_EQ(Round(1.5), 2);
    EXPECT_EQ(Round(2.5), 2);
    EXPECT_EQ(Round(-2.5), -2);
    EXPECT_EQ(Round(-3.5), -4);
    EXPECT_EQ(Round(2.4999999), 2);
    EXPECT_EQ(Round(-0.6), -1);
    EXPECT_EQ(Round(1e15 + 0.5), 1000000000000000);
    EXPECT_EQ(Trunc(-2.9), -2);
    EXPECT_EQ(Trunc(2.9), 2);
    EXPECT_EQ(MessageOf<EIntOverflow>([] { Round(1e19); }), "Arithmetic overflow");
    EXPECT_THROW(Round(std::nan("")), EIntOverflow);
    EXPECT_THROW(Trunc(-std::numeric_limits<double>::infinity()), EIntOverflow);
    EXPECT_EQ(Trunc(-9223372036854775808.0), std::numeric_limits<int64_t>::min());
}

TEST(CheckedIntegerTest, OverflowAndRangeErrors)
{
    EXPECT_EQ(CheckedAdd(2147483600, 47), 2147483647);
    EXPECT_EQ(MessageOf<EIntOverflow>([] { CheckedAdd(2147483600, 48); }), "Arithmetic overflow");
    EXPECT_THROW(CheckedAdd(std::numeric_limits<int32_t>::min(), -1), EIntOverflow);
    EXPECT_EQ(CheckedMul(-46340, 46340), -2147395600);
    EXPECT_THROW(CheckedMul(65536, 32768), EIntOverflow);
    EXPECT_EQ(CheckedNarrow(-2147483648LL), std::numeric_limits<int32_t>::min());
    EXPECT_EQ(MessageOf<ERangeError>([] { CheckedNarrow(2147483648LL); }), "Range check error");

    TCheckedArray<double, 1, 3> a;
    a[1] = 1.5;
    a[3] = 3.5;
    EXPECT_EQ(a[1] + a[3], 5.0);
    EXPECT_THROW(a[0], ERangeError);
    EXPECT_THROW(a[4], ERangeError);
}

TEST(StringTest, TrimCaseAndReplace)
{
    EXPECT_EQ(Trim(" \t\r\n ab c\x01 "), "ab c");
    EXPECT_EQ(Trim("\xC3\xA9 "), "\xC3\xA9");   // bytes of UTF-8 characters are no blanks
    EXPECT_EQ(TrimLeft("  a "), "a ");
    EXPECT_EQ(TrimRight("  a "), "  a");
    EXPECT_EQ(Trim("   "), "");
    EXPECT_EQ(UpperCase("abZ\xC3\xA9"), "ABZ\xC3\xA9");
    EXPECT_EQ(LowerCase("ABz"), "abz");
    EXPECT_TRUE(SameText("Series1", "SERIES1"));
    EXPECT_FALSE(SameText("Series1", "Series10"));
    EXPECT_LT(CompareText("abc", "ABD"), 0);
    EXPECT_GT(CompareText("b", "A"), 0);
    EXPECT_LT(CompareText("ab", "abc"), 0);
    EXPECT_EQ(StringReplaceAll("a--b--c", "--", "+"), "a+b+c");
    EXPECT_EQ(StringReplaceAll("aaa", "a", "aa"), "aaaaaa");
    EXPECT_EQ(StringReplaceAll("abc", "", "x"), "abc");
    EXPECT_EQ(IntToStr(-12), "-12");
    EXPECT_EQ(IntToHex(255, 4), "00FF");
    EXPECT_EQ(IntToHex(0x123456, 2), "123456");
}

TEST(FileNameTest, PartsOfAPath)
{
    EXPECT_EQ(ExtractFileName("/data/run.1/cu.dat"), "cu.dat");
    EXPECT_EQ(ExtractFilePath("/data/run.1/cu.dat"), "/data/run.1/");
    EXPECT_EQ(ExtractFileExt("/data/run.1/cu.dat"), ".dat");
    EXPECT_EQ(ExtractFileExt("/data/run.1/cu"), "");
    EXPECT_EQ(ExtractFileName("C:\\data\\cu.dat"), "cu.dat");
    EXPECT_EQ(ChangeFileExt("/data/run.1/cu.dat", ".TBL"), "/data/run.1/cu.TBL");
    EXPECT_EQ(ChangeFileExt("/data/run.1/cu", ".TBL"), "/data/run.1/cu.TBL");
    EXPECT_EQ(ChangeFileExt("cu.dat", ""), "cu");
    EXPECT_FALSE(FileExists("/definitely/not/here.dat"));
    EXPECT_FALSE(FileExists("/"));   // a folder is no file
    EXPECT_FALSE(FileExists(""));
}

} // namespace
