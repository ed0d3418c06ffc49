// Dates: encoding and decoding across month ends and leap years, times, pictures.
#include "system/SysUtils.h"

#include <gtest/gtest.h>

namespace {

TEST(DateTest, KnownDays)
{
    EXPECT_EQ(EncodeDate(1899, 12, 30), 0.0);
    EXPECT_EQ(EncodeDate(1900, 1, 1), 2.0);
    EXPECT_EQ(EncodeDate(2000, 1, 1), 36526.0);
    EXPECT_EQ(EncodeDate(1, 1, 1), -693593.0);
    EXPECT_EQ(EncodeDate(9999, 12, 31), 2958465.0);
}

TEST(DateTest, EveryDayRoundTripsAcrossMonthEndsAndLeapYears)
{
    for (int year : {1600, 1896, 1899, 1900, 1999, 2000, 2001, 2004, 2100, 2400}) {
        double previous = EncodeDate(year, 1, 1) - 1;
        for (int month = 1; month <= 12; ++month) {
            for (int day = 1; day <= DaysInMonth(year, month); ++day) {
                double dt = EncodeDate(year, month, day);
                ASSERT_EQ(dt, previous + 1) << year << "-" << month << "-" << day;
                previous = dt;
                int y, m, d;
                // A time of day: added after the epoch, subtracted before it.
                DecodeDate(dt >= 0 ? dt + 0.75 : dt - 0.75, y, m, d);
                ASSERT_EQ(y, year);
                ASSERT_EQ(m, month);
                ASSERT_EQ(d, day);
            }
        }
    }
    EXPECT_EQ(DaysInMonth(1900, 2), 28);
    EXPECT_EQ(DaysInMonth(2000, 2), 29);
    EXPECT_EQ(DaysInMonth(2023, 2), 28);
    EXPECT_EQ(DaysInMonth(2024, 2), 29);
    EXPECT_FALSE(IsLeapYear(2100));
    EXPECT_THROW(DaysInMonth(2024, 13), ERangeError);
}

TEST(DateTest, InvalidDatesRaise)
{
    for (auto [y, m, d] : {std::tuple{2023, 2, 29}, {1900, 2, 29}, {2024, 4, 31}, {2024, 13, 1}, {2024, 0, 1},
                           {2024, 1, 0}, {0, 1, 1}, {10000, 1, 1}}) {
        try {
            EncodeDate(y, m, d);
            ADD_FAILURE() << y << "-" << m << "-" << d << " was accepted";
        } catch (const EConvertError& e) {
            EXPECT_EQ(e.Message(), "Invalid argument to date encode");
        }
    }
    EXPECT_THROW(EncodeTime(24, 0, 0, 0), EConvertError);
    EXPECT_THROW(EncodeTime(0, 0, 0, 1000), EConvertError);
}

TEST(TimeTest, EncodeDecodeAndMidnight)
{
    EXPECT_DOUBLE_EQ(EncodeTime(6, 0, 0, 0), 0.25);
    int h, n, s, z;
    DecodeTime(EncodeTime(13, 5, 9, 7), h, n, s, z);
    EXPECT_EQ(std::tuple(h, n, s, z), std::tuple(13, 5, 9, 7));
    // Just before midnight rounds to the next day, never to 24:00.
    double almost = EncodeDate(2023, 12, 31) + 0.9999999999;
    DecodeTime(almost, h, n, s, z);
    EXPECT_EQ(std::tuple(h, n, s, z), std::tuple(0, 0, 0, 0));
    int y, m, d;
    DecodeDate(almost, y, m, d);
    EXPECT_EQ(std::tuple(y, m, d), std::tuple(2024, 1, 1));
    // Before the epoch the days count back and the time forward.
    DecodeDate(-1.25, y, m, d);
    DecodeTime(-1.25, h, n, s, z);
    EXPECT_EQ(std::tuple(y, m, d, h), std::tuple(1899, 12, 29, 6));
    // Values without a calendar date decode to zeros instead of failing.
    DecodeDate(1e300, y, m, d);
    EXPECT_EQ(std::tuple(y, m, d), std::tuple(0, 0, 0));
}

TEST(FormatDateTimeTest, Pictures)
{
    double dt = EncodeDate(2024, 2, 29) + EncodeTime(13, 5, 9, 7);
    EXPECT_EQ(FormatDateTime("dd/mm/yyyy hh:nn:ss.zzz", dt), "29/02/2024 13:05:09.007");
    EXPECT_EQ(FormatDateTime("d/m/yy h:n:s.z", dt), "29/2/24 13:5:9.7");
    EXPECT_EQ(FormatDateTime("ddd dddd mmm mmmm", dt), "Thu Thursday Feb February");
    EXPECT_EQ(FormatDateTime("h:mm", dt), "13:05");   // m after h is the minute
    EXPECT_EQ(FormatDateTime("hh:nn am/pm", dt), "01:05 pm");
    EXPECT_EQ(FormatDateTime("h A/P", EncodeTime(0, 30, 0, 0)), "12 A");
    EXPECT_EQ(FormatDateTime("h ampm", EncodeTime(12, 0, 0, 0)), "12 PM");
    EXPECT_EQ(FormatDateTime("\"at\" hh 'h'", dt), "at 13 h");
    EXPECT_EQ(FormatDateTime("c", dt), "2/29/2024 1:05:09 PM");
    EXPECT_EQ(FormatDateTime("c", EncodeDate(2024, 2, 29)), "2/29/2024");
    EXPECT_EQ(FormatDateTime("ddddd", dt), "2/29/2024");
    EXPECT_EQ(FormatDateTime("dddddd", dt), "Thursday, February 29, 2024");
    EXPECT_EQ(FormatDateTime("t|tt", dt), "1:05 PM|1:05:09 PM");
    EXPECT_EQ(DateToStr(dt), "2/29/2024");
    EXPECT_EQ(TimeToStr(dt), "1:05:09 PM");

    TFormatSettings fs;
    fs.DateSeparator = '.';
    fs.TimeSeparator = '-';
    EXPECT_EQ(FormatDateTime("dd/mm/yyyy hh:nn", dt, fs), "29.02.2024 13-05");
}

TEST(NowTest, IsTodayAsTheCalendarSaysIt)
{
    double now = Now();
    int y, m, d;
    DecodeDate(now, y, m, d);
    EXPECT_GE(y, 2024);
    EXPECT_NEAR(EncodeDate(y, m, d) + 0.5, now, 0.5);
}

} // namespace
