// Date-time label steps of the axes: the table of 27 calendar-like steps and the helpers
// that find, grow, round to and move by a step.
#pragma once

#include "system/SysUtils.h"

#include <array>

// Indexes into DateTimeStep; dtNone (27) means that no date-time step applies.
enum TDateTimeStep {
    dtOneMicroSecond, dtOneMillisecond, dtOneSecond, dtFiveSeconds, dtTenSeconds,
    dtFifteenSeconds, dtThirtySeconds, dtOneMinute, dtFiveMinutes, dtTenMinutes,
    dtFifteenMinutes, dtThirtyMinutes, dtOneHour, dtTwoHours, dtSixHours, dtTwelveHours,
    dtOneDay, dtTwoDays, dtThreeDays, dtOneWeek, dtHalfMonth, dtOneMonth, dtTwoMonths,
    dtThreeMonths, dtFourMonths, dtSixMonths, dtOneYear, dtNone
};

// The length of each step in days.
inline constexpr std::array<double, 27> DateTimeStep = {
    1.0 / 86400000000.0, 1.0 / 86400000.0, 1.0 / 86400.0, 5.0 / 86400.0, 10.0 / 86400.0,
    15.0 / 86400.0, 30.0 / 86400.0, 1.0 / 1440.0, 5.0 / 1440.0, 10.0 / 1440.0,
    15.0 / 1440.0, 30.0 / 1440.0, 1.0 / 24.0, 2.0 / 24.0, 0.25, 0.5,
    1.0, 2.0, 3.0, 7.0, 15.0, 30.0, 60.0,
    90.0, 120.0, 182.0, 365.0
};

// 1 January 1900: dates up to it are never rounded to a step start.
inline constexpr TDateTime DateTime1900 = 2.0;

// The highest step index whose length differs from Value by less than one microsecond;
// dtNone when there is none.
int DateTimeStepIndex(double Value);

// The step after the longest step of at most Value (steps up to six months grow to the
// next one). A Value below the shortest step answers one year.
double NextDateTimeStep(double Value);

// The start of the half month (step dtHalfMonth), month (dtOneMonth .. dtSixMonths) or
// year (dtOneYear) that holds Value, as a whole date; other steps only drop the time of
// day. Values up to 1 January 1900 are answered unchanged.
TDateTime RoundDateToStepStart(int StepIndex, TDateTime Value);

// Moves Value one step up (Increment) or down. Without ExactDate, or for a step below half
// a month, StepValue is added or subtracted. With ExactDate the steps from half a month to
// a year move by calendar units and answer a whole date:
//  - half month up: a day before the 15th goes to the 15th, the 15th or later to the 1st
//    of the next month; down: a day after the 15th goes to the 15th, days 2 to 15 to the
//    1st, the 1st to the 15th of the previous month;
//  - months and years: the day is kept, or clamped to the last day of a shorter month.
void IncrementDateTimeStep(bool ExactDate, bool Increment, double& Value, int StepIndex, double StepValue);
