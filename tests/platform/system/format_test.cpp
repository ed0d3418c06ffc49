// Format, the general float text and float pictures.
#include "system/SysUtils.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

const double Inf = std::numeric_limits<double>::infinity();

TEST(FormatTest, FixedWidthAndPrecision)
{
    EXPECT_EQ(Format("%8.3f", {1.5}), "   1.500");
    EXPECT_EQ(Format("%8.3f", {-1.5}), "  -1.500");
    EXPECT_EQ(Format("%-8.3f|", {1.5}), "1.500   |");
    EXPECT_EQ(Format("%f", {2.0}), "2.00");
    EXPECT_EQ(Format("%.0f", {2.5}), "3");     // half away from zero
    EXPECT_EQ(Format("%.0f", {-2.5}), "-3");
    EXPECT_EQ(Format("%.2f", {0.125}), "0.13");
    EXPECT_EQ(Format("%.2f", {-0.001}), "0.00");   // no sign on a value shown as zero
    EXPECT_EQ(Format("%2.1f", {123.45}), "123.5");  // wider than the width: never cut
    EXPECT_EQ(Format("%.3f", {1e20}), "100000000000000000000.000");
    EXPECT_EQ(Format("%.20f", {1.0 / 3}), "0.33333333333333300000");
}

TEST(FormatTest, ScientificHasOneDigitAndThreeExponentDigits)
{
    EXPECT_EQ(Format("%12.6e", {12.3456}), "1.234560E+001");
    EXPECT_EQ(Format("%14.6e", {12.3456}), " 1.234560E+001");
    EXPECT_EQ(Format("%14.6e", {-12.3456}), "-1.234560E+001");
    EXPECT_EQ(Format("%9.3e", {0.012345}), "1.235E-002");
    EXPECT_EQ(Format("%.3e", {1.5e200}), "1.500E+200");
    EXPECT_EQ(Format("%.3e", {2.5e-120}), "2.500E-120");
    EXPECT_EQ(Format("%.2e", {1.7976931348623157e308}), "1.80E+308");
    EXPECT_EQ(Format("%.2e", {5e-324}), "5.00E-324");
    EXPECT_EQ(Format("%.3e", {0.0}), "0.000E+000");
    EXPECT_EQ(Format("%.3e", {-0.0}), "0.000E+000");
    EXPECT_EQ(Format("%.6e", {9.9999995}), "1.000000E+001");
    EXPECT_EQ(Format("%.6e", {-9.9999995}), "-1.000000E+001");
    EXPECT_EQ(Format("%.6e", {9.9999994}), "9.999999E+000");
    EXPECT_EQ(Format("%.0e", {7.0}), "7E+000");
    EXPECT_EQ(Format("%e", {12.3456}), "1.23456000000000E+001");
}

TEST(FormatTest, IntegersStringsAndArguments)
{
    EXPECT_EQ(Format("%d|%5d|%-5d|", {42, -7, 3}), "42|   -7|3    |");
    EXPECT_EQ(Format("%.3d", {-5}), "-005");
    EXPECT_EQ(Format("%d", {std::numeric_limits<int64_t>::min()}), "-9223372036854775808");
    EXPECT_EQ(Format("%x %.4x %u", {255, 10, -1}), "FF 000A 4294967295");
    EXPECT_EQ(Format("%s and %s", {"a", std::string("b")}), "a and b");
    EXPECT_EQ(Format("[%5s][%-5s][%.2s]", {"ab", "ab", "abc"}), "[   ab][ab   ][ab]");
    EXPECT_EQ(Format("[%3s][%.1s]", {"\xC3\xA9", "\xC3\xA9t\xC3\xA9"}), "[  \xC3\xA9][\xC3\xA9]");
    EXPECT_EQ(Format("%1:s %0:s %s", {"x", "y"}), "y x y");
    EXPECT_EQ(Format("%*d|%-*.*f|", {5, 1, 8, 2, 3.14159}), "    1|3.14    |");
    EXPECT_EQ(Format("100%% of %d", {3}), "100% of 3");
    EXPECT_EQ(Format("Page %d of %d", {2, 5}), "Page 2 of 5");
    EXPECT_EQ(Format("%d bytes", {size_t(1234)}), "1234 bytes");
    EXPECT_EQ(Format("%n", {1234567.891}), "1,234,567.89");
    EXPECT_EQ(Format("%.0n", {-1234567.5}), "-1,234,568");
    EXPECT_EQ(Format("%m", {1234.5}), "$1,234.50");
    EXPECT_EQ(Format("%m", {-1234.5}), "($1,234.50)");
    EXPECT_EQ(Format("%g|%g|%.3g", {0.1, 1e20, 1234.5}), "0.1|1E20|1.23E3");
    EXPECT_EQ(Format("%f %e", {Inf, -Inf}), "INF -INF");
}

TEST(FormatTest, BadFormatsRaiseConvertError)
{
    auto message = [](std::string_view fmt, std::initializer_list<TVarRec> args) {
        try {
            Format(fmt, args);
        } catch (const EConvertError& e) {
            return e.Message();
        }
        return std::string("no error");
    };
    EXPECT_EQ(message("%d %d", {1}), "Format '%d %d' invalid or incompatible with argument");
    EXPECT_EQ(message("%d", {1.5}), "Format '%d' invalid or incompatible with argument");
    EXPECT_EQ(message("%f", {1}), "Format '%f' invalid or incompatible with argument");
    EXPECT_EQ(message("%s", {2}), "Format '%s' invalid or incompatible with argument");
    EXPECT_EQ(message("%q", {2}), "Format '%q' invalid or incompatible with argument");
    EXPECT_EQ(message("50%", {}), "Format '50%' invalid or incompatible with argument");
    EXPECT_EQ(message("%5:d", {1}), "Format '%5:d' invalid or incompatible with argument");
    EXPECT_EQ(message("%*d", {1.5, 2}), "Format '%*d' invalid or incompatible with argument");
    EXPECT_EQ(message("%999999999999d", {1}), "Format '%999999999999d' invalid or incompatible with argument");
}

TEST(FormatTest, UsesTheGivenSeparators)
{
    TFormatSettings fs;
    fs.DecimalSeparator = ',';
    fs.ThousandSeparator = '.';
    EXPECT_EQ(Format("%8.3f|%.2e|%n", {1.5, 12.5, 1234.5}, fs), "   1,500|1,25E+001|1.234,50");
    EXPECT_EQ(FloatToStr(0.25, fs), "0,25");
    EXPECT_EQ(FormatFloat("#,##0.###", 1234.5, fs), "1.234,5");
}

TEST(FloatToStrTest, GeneralFormWithFifteenDigits)
{
    EXPECT_EQ(FloatToStr(0.1), "0.1");
    EXPECT_EQ(FloatToStr(0.1 + 0.2), "0.3");
    EXPECT_EQ(FloatToStr(1e-7), "1E-7");
    EXPECT_EQ(FloatToStr(1e-5), "0.00001");
    EXPECT_EQ(FloatToStr(-1.5e-6), "-1.5E-6");
    EXPECT_EQ(FloatToStr(123456789012345.0), "123456789012345");
    EXPECT_EQ(FloatToStr(1234567890123456.0), "1.23456789012346E15");
    EXPECT_EQ(FloatToStr(999999999999999.9), "1E15");
    EXPECT_EQ(FloatToStr(1.5e20), "1.5E20");
    EXPECT_EQ(FloatToStr(1.7976931348623157e308), "1.79769313486232E308");
    EXPECT_EQ(FloatToStr(5e-324), "5E-324");
    EXPECT_EQ(FloatToStr(-0.0), "0");
    EXPECT_EQ(FloatToStr(100.0), "100");
    EXPECT_EQ(FloatToStr(-Inf), "-INF");
    EXPECT_EQ(FloatToStr(Inf), "INF");
    EXPECT_EQ(FloatToStr(std::nan("")), "NAN");
    // Every text reads back to a value within the fifteen-digit rounding.
    for (double v : {3.14159265358979, 2.0 / 3, 6.02214076e23, -1.602e-19, 12345.678})
        EXPECT_NEAR(StrToFloat(FloatToStr(v)), v, std::fabs(v) * 1e-14) << v;
}

TEST(FloatToStrTest, BufferedTextEqualsTheGeneralForm)
{
    TFormatSettings comma;
    comma.DecimalSeparator = ',';
    const double values[] = {0.0, -0.0, 1.0, -2.5, 0.1, 1.0 / 3, 2.0 / 3, 123456789012345678.0, 999999999999999.9,
                             9.9999999999999999e14, 1e15, 1e-5, 1.5e-4, -7.25e-300, 1e300, 0.000123456789012345678,
                             12345.678901234567, std::numeric_limits<double>::quiet_NaN(),
                             std::numeric_limits<double>::infinity(), 4.35, 1e100 / 3};
    for (double v : values) {
        std::string out = "x";
        AppendFloatText(out, v, comma);
        EXPECT_EQ(out, "x" + FloatToStr(v, comma)) << v;
    }
}

TEST(FloatToStrFTest, FixedNumberExponentGeneral)
{
    EXPECT_EQ(FloatToStrF(1.23456789, TFloatFormat::ffFixed, 3, 5), "1.23000");
    EXPECT_EQ(FloatToStrF(-1234.5, TFloatFormat::ffNumber, 15, 2), "-1,234.50");
    EXPECT_EQ(FloatToStrF(1234.5, TFloatFormat::ffExponent, 4, 2), "1.235E+03");
    EXPECT_EQ(FloatToStrF(1234.5, TFloatFormat::ffGeneral, 3, 0), "1.23E3");
    EXPECT_EQ(FloatToStrF(12345.0, TFloatFormat::ffFixed, 3, 2), "1.23E+4");
    EXPECT_EQ(FloatToStrF(-3.0, TFloatFormat::ffCurrency, 15, 2), "($3.00)");
}

TEST(FormatFloatTest, DecimalPictures)
{
    EXPECT_EQ(FormatFloat("0.######", 1.0 / 3), "0.333333");
    EXPECT_EQ(FormatFloat("0.######", 2.5), "2.5");
    EXPECT_EQ(FormatFloat("0.######", 7.0), "7");
    EXPECT_EQ(FormatFloat("0.######", 0.00000049), "0");
    EXPECT_EQ(FormatFloat("0.######", 0.0000005), "0.000001");
    EXPECT_EQ(FormatFloat("0.##", 2.675), "2.68");
    EXPECT_EQ(FormatFloat("0.##", -2.675), "-2.68");
    EXPECT_EQ(FormatFloat("0.##", 2.0), "2");
    EXPECT_EQ(FormatFloat("0.000", 1.0), "1.000");
    EXPECT_EQ(FormatFloat("0.000", 0.0005), "0.001");
    EXPECT_EQ(FormatFloat("0.00000", 1e-7), "0.00000");
    EXPECT_EQ(FormatFloat("0.0", -0.04), "0.0");
    EXPECT_EQ(FormatFloat("0.0", 0.95), "1.0");
    EXPECT_EQ(FormatFloat("#,##0.###", 1234567.8915), "1,234,567.892");
    EXPECT_EQ(FormatFloat("#,##0.###", -1234.0), "-1,234");
    EXPECT_EQ(FormatFloat("#,##0.###", 0.5), "0.5");
    EXPECT_EQ(FormatFloat("#,##0.###", 999.9999), "1,000");
    EXPECT_EQ(FormatFloat("##0.## %", 12.5), "12.5 %");
    EXPECT_EQ(FormatFloat("##0.## %", 0.0), "0 %");
    EXPECT_EQ(FormatFloat("#.#", 0.0), "");
    EXPECT_EQ(FormatFloat("#.#", 0.25), ".3");
    EXPECT_EQ(FormatFloat("000", 7.0), "007");
    EXPECT_EQ(FormatFloat("0", 1e20), "100000000000000000000");
    EXPECT_EQ(FormatFloat("\"T=\"0.0' K'", 4.25), "T=4.3 K");
    EXPECT_EQ(FormatFloat("", 2.5), "2.5");
    EXPECT_EQ(FormatFloat("0.00", Inf), "INF");
    EXPECT_EQ(FormatFloat("0.00", std::nan("")), "NAN");
}

TEST(FormatFloatTest, ExponentPictures)
{
    EXPECT_EQ(FormatFloat("0.000e+0", 12345.678), "1.235e+4");
    EXPECT_EQ(FormatFloat("0.000e+0", 0.00123), "1.230e-3");
    EXPECT_EQ(FormatFloat("0.000e+0", -0.00123), "-1.230e-3");
    EXPECT_EQ(FormatFloat("0.000e+0", 0.0), "0.000e+0");
    EXPECT_EQ(FormatFloat("0.000e+0", 9.9995), "1.000e+1");
    EXPECT_EQ(FormatFloat("0.000e+0", 1.5e-200), "1.500e-200");
    EXPECT_EQ(FormatFloat("0.00e+0", 42.0), "4.20e+1");
    EXPECT_EQ(FormatFloat("0.00E+00", 1e100), "1.00E+100");
    EXPECT_EQ(FormatFloat("0.00E+00", 12.0), "1.20E+01");
    EXPECT_EQ(FormatFloat("0.0E-0", 12.0), "1.2E1");
    EXPECT_EQ(FormatFloat("0.0E-0", 0.012), "1.2E-2");
    EXPECT_EQ(FormatFloat("00e-0", 12345.0), "12e3");
    EXPECT_EQ(FormatFloat("#.0 \"x10\" E+0", 12345.0), "1.2 x10 E+4");
    // Reading back a printed value gives the rounded value (the table file does this).
    EXPECT_DOUBLE_EQ(StrToFloat(FormatFloat("0.000e+0", 31.415926)), 31.42);
}

TEST(FormatFloatTest, Sections)
{
    const char* pic = "#,##0.00;(#,##0.00);\"zero\"";
    EXPECT_EQ(FormatFloat(pic, 1234.5), "1,234.50");
    EXPECT_EQ(FormatFloat(pic, -1234.5), "(1,234.50)");
    EXPECT_EQ(FormatFloat(pic, 0.0), "zero");
    EXPECT_EQ(FormatFloat(pic, -0.001), "zero");   // rounds to zero: the zero section
    EXPECT_EQ(FormatFloat("0.0;;\"none\"", -2.0), "-2.0");   // empty negative section: the first, signed
    EXPECT_EQ(FormatFloat("0.0;-0.0 \"below\"", -2.0), "-2.0 below");
    EXPECT_EQ(FormatFloat("\"a;b\"0", 3.0), "a;b3");   // a quoted ';' splits nothing
}

} // namespace
