// Date-time label steps: finding a step, growing it, rounding to a step's start and
// stepping by calendar units at month ends.
#include "RizUridu/DateSteps.h"

#include <gtest/gtest.h>

namespace {

std::string DateText(double value) { return FormatDateTime("yyyy-mm-dd hh:nn", value); }

double Date(int y, int m, int d) { return EncodeDate(y, m, d); }

// The date text after one calendar step.
std::string Step(double value, int index, bool up)
{
    IncrementDateTimeStep(true, up, value, index, DateTimeStep[index]);
    return FormatDateTime("yyyy-mm-dd", value);
}

} // namespace

TEST(DateSteps, IndexAndNextStep)
{
    EXPECT_EQ(DateTimeStepIndex(1.0 / 24), dtOneHour);
    EXPECT_EQ(DateTimeStepIndex(1.0 + 1e-12), dtOneDay);
    EXPECT_EQ(DateTimeStepIndex(3.5), dtNone);
    EXPECT_EQ(NextDateTimeStep(0.3), 0.5);
    EXPECT_EQ(NextDateTimeStep(7.0), 15.0);
    EXPECT_EQ(NextDateTimeStep(365.0), 365.0);
    EXPECT_EQ(NextDateTimeStep(1e-13), 365.0);   // below the table: its last entry
}

TEST(DateSteps, RoundToTheStartOfAStep)
{
    const double t = Date(2024, 3, 20) + 13.0 / 24;
    EXPECT_EQ(DateText(RoundDateToStepStart(dtHalfMonth, t)), "2024-03-15 00:00");
    EXPECT_EQ(DateText(RoundDateToStepStart(dtHalfMonth, Date(2024, 3, 15) + 0.5)), "2024-03-15 00:00");
    EXPECT_EQ(DateText(RoundDateToStepStart(dtHalfMonth, Date(2024, 3, 14) + 0.5)), "2024-03-01 00:00");
    EXPECT_EQ(DateText(RoundDateToStepStart(dtTwoMonths, t)), "2024-03-01 00:00");
    EXPECT_EQ(DateText(RoundDateToStepStart(dtOneYear, t)), "2024-01-01 00:00");
    // Up to 1 January 1900 nothing is rounded.
    EXPECT_EQ(DateTime1900, Date(1900, 1, 1));
    EXPECT_EQ(RoundDateToStepStart(dtOneYear, 1.5), 1.5);
}

TEST(DateSteps, CalendarStepsClampTheDayAtMonthEnds)
{
    EXPECT_EQ(Step(Date(2024, 1, 31), dtOneMonth, true), "2024-02-29");
    EXPECT_EQ(Step(Date(2023, 1, 31), dtOneMonth, true), "2023-02-28");
    EXPECT_EQ(Step(Date(2023, 12, 31), dtTwoMonths, true), "2024-02-29");
    EXPECT_EQ(Step(Date(2024, 5, 31), dtFourMonths, true), "2024-09-30");
    EXPECT_EQ(Step(Date(2024, 8, 31), dtSixMonths, true), "2025-02-28");
    EXPECT_EQ(Step(Date(2024, 2, 29), dtOneYear, false), "2023-02-28");
    double v = Date(2024, 1, 10) + 0.5;
    IncrementDateTimeStep(true, true, v, dtOneMonth, 30);
    EXPECT_EQ(DateText(v), "2024-02-10 00:00");   // the time of day is dropped
}

TEST(DateSteps, HalfMonthSteps)
{
    // Upwards always forward: to the 15th, or to the next month's 1st.
    EXPECT_EQ(Step(Date(2024, 1, 1), dtHalfMonth, true), "2024-01-15");
    EXPECT_EQ(Step(Date(2024, 1, 15), dtHalfMonth, true), "2024-02-01");
    EXPECT_EQ(Step(Date(2024, 12, 20), dtHalfMonth, true), "2025-01-01");
    // Downwards: after the 15th to the 15th, days 2 to 15 to the 1st, the 1st to the
    // previous month's 15th.
    EXPECT_EQ(Step(Date(2024, 1, 20), dtHalfMonth, false), "2024-01-15");
    EXPECT_EQ(Step(Date(2024, 1, 15), dtHalfMonth, false), "2024-01-01");
    EXPECT_EQ(Step(Date(2024, 1, 1), dtHalfMonth, false), "2023-12-15");
}

TEST(DateSteps, EveryStepMovesInItsDirection)
{
    for (int index = dtHalfMonth; index <= dtOneYear; ++index) {
        double up = Date(2023, 12, 31), down = up;
        for (int i = 0; i < 60; ++i) {
            double nextUp = up, nextDown = down;
            IncrementDateTimeStep(true, true, nextUp, index, DateTimeStep[index]);
            IncrementDateTimeStep(true, false, nextDown, index, DateTimeStep[index]);
            ASSERT_GT(nextUp, up) << "step " << index << " from " << DateText(up);
            ASSERT_LT(nextDown, down) << "step " << index << " from " << DateText(down);
            up = nextUp;
            down = nextDown;
        }
    }
    // Without calendar steps, or below half a month, the step is added.
    double v = 100.25;
    IncrementDateTimeStep(false, true, v, dtOneMonth, 30.0);
    EXPECT_EQ(v, 130.25);
    IncrementDateTimeStep(true, false, v, dtOneDay, 1.0);
    EXPECT_EQ(v, 129.25);
}
