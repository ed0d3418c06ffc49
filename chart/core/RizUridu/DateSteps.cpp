#include "RizUridu/DateSteps.h"

#include <cmath>

namespace {

// Dates beyond the calendar's range are not split into year, month and day.
constexpr int MinYear = 1;
constexpr int MaxYear = 9999;

bool CanSplitDate(double Value)
{
    if (!std::isfinite(Value))
        return false;
    // Days since 1899-12-30 of 0001-01-01 and of 10000-01-01.
    return Value >= -693593.0 && Value < 2958466.0;
}

int ClampedDay(int Year, int Month, int Day)
{
    const int last = DaysInMonth(Year, Month);
    return Day > last ? last : Day;
}

// Moves (Year, Month) by Months, which may be negative.
void AddMonths(int& Year, int& Month, int Months)
{
    int index = Year * 12 + (Month - 1) + Months;
    Year = index / 12;
    Month = index % 12 + 1;
}

} // namespace

int DateTimeStepIndex(double Value)
{
    for (int i = dtOneYear; i >= dtOneMicroSecond; --i)
        if (std::fabs(DateTimeStep[i] - Value) < DateTimeStep[dtOneMicroSecond])
            return i;
    return dtNone;
}

double NextDateTimeStep(double Value)
{
    for (int i = dtSixMonths; i >= dtOneMicroSecond; --i)
        if (DateTimeStep[i] <= Value)
            return DateTimeStep[i + 1];
    return DateTimeStep[dtOneYear];
}

TDateTime RoundDateToStepStart(int StepIndex, TDateTime Value)
{
    if (Value <= DateTime1900 || !CanSplitDate(Value))
        return Value;
    int year, month, day;
    DecodeDate(Value, year, month, day);
    switch (StepIndex) {
    case dtHalfMonth:
        day = day >= 15 ? 15 : 1;
        break;
    case dtOneMonth: case dtTwoMonths: case dtThreeMonths: case dtFourMonths: case dtSixMonths:
        day = 1;
        break;
    case dtOneYear:
        day = 1;
        month = 1;
        break;
    default:
        break;
    }
    return EncodeDate(year, month, day);
}

void IncrementDateTimeStep(bool ExactDate, bool Increment, double& Value, int StepIndex, double StepValue)
{
    const auto plain = [&] { Value = Increment ? Value + StepValue : Value - StepValue; };
    if (!ExactDate || StepIndex < dtHalfMonth || StepIndex > dtOneYear || !CanSplitDate(Value)) {
        plain();
        return;
    }

    int year, month, day;
    DecodeDate(Value, year, month, day);
    switch (StepIndex) {
    case dtHalfMonth:
        if (Increment) {
            if (day < 15) {
                day = 15;
            } else {
                day = 1;
                AddMonths(year, month, 1);
            }
        } else {
            if (day >= 16) {
                day = 15;
            } else if (day >= 2) {
                day = 1;
            } else {
                day = 15;
                AddMonths(year, month, -1);
            }
        }
        break;
    case dtOneYear:
        year += Increment ? 1 : -1;
        break;
    default: {
        static constexpr int monthsOfStep[] = {1, 2, 3, 4, 6};   // dtOneMonth .. dtSixMonths
        const int months = monthsOfStep[StepIndex - dtOneMonth];
        AddMonths(year, month, Increment ? months : -months);
        break;
    }
    }
    if (year < MinYear || year > MaxYear) {
        plain();
        return;
    }
    Value = EncodeDate(year, month, ClampedDay(year, month, day));
}
