// Date-time values: days since 1899-12-30 with the time of day as the fraction.
// A negative value counts its whole days backwards but its time forwards (-1.25 is
// 1899-12-29 06:00), as the platform does.
#include "SysUtils.h"

#include <chrono>
#include <cmath>
#include <ctime>

namespace {

const int64_t MSecsPerDay = 86400000;
const int64_t DateDelta = 693594;   // days from 0001-01-01 (day 1) to 1899-12-30

const int MonthDays[2][12] = {
    {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31},
    {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31},
};

// A date-time split into the day number (1 = 0001-01-01) and milliseconds of the day.
struct TTimeStamp {
    int64_t Date = 0;
    int64_t Time = 0;
    bool Valid = false;
};

TTimeStamp ToTimeStamp(TDateTime dt)
{
    TTimeStamp ts;
    // Beyond these bounds no calendar date exists (or the arithmetic would overflow).
    if (!std::isfinite(dt) || std::fabs(dt) > 1e9)
        return ts;
    double whole = std::trunc(dt);
    int64_t ms = static_cast<int64_t>(std::nearbyint(std::fabs(dt - whole) * MSecsPerDay));
    int64_t day = static_cast<int64_t>(whole);
    // A time that rounds to a whole day moves on to the next day instead of showing 24:00.
    if (ms >= MSecsPerDay) {
        ms -= MSecsPerDay;
        day += dt < 0 ? -1 : 1;
    }
    ts.Date = day + DateDelta;
    ts.Time = ms;
    ts.Valid = true;
    return ts;
}

bool DecodeDays(int64_t t, int& year, int& month, int& day)
{
    if (t <= 0) {
        year = month = day = 0;
        return false;
    }
    const int64_t D1 = 365, D4 = D1 * 4 + 1, D100 = D4 * 25 - 1, D400 = D100 * 4 + 1;
    --t;
    int64_t y = 1 + (t / D400) * 400;
    t %= D400;
    int64_t i = t / D100, d = t % D100;
    if (i == 4) {
        --i;
        d += D100;
    }
    y += i * 100;
    i = d / D4;
    d %= D4;
    y += i * 4;
    i = d / D1;
    d %= D1;
    if (i == 4) {
        --i;
        d += D1;
    }
    y += i;
    const int* table = MonthDays[IsLeapYear(static_cast<int>(y)) ? 1 : 0];
    int m = 0;
    while (d >= table[m]) {
        d -= table[m];
        ++m;
    }
    year = static_cast<int>(y);
    month = m + 1;
    day = static_cast<int>(d) + 1;
    return true;
}

struct TDateParts {
    int Year = 0, Month = 0, Day = 0, DayOfWeek = 0;   // DayOfWeek 1 = Sunday
    int Hour = 0, Minute = 0, Second = 0, MSec = 0;
};

TDateParts Decode(TDateTime dt)
{
    TDateParts p;
    TTimeStamp ts = ToTimeStamp(dt);
    if (!ts.Valid)
        return p;
    if (DecodeDays(ts.Date, p.Year, p.Month, p.Day))
        p.DayOfWeek = static_cast<int>(ts.Date % 7) + 1;
    int64_t ms = ts.Time;
    p.Hour = static_cast<int>(ms / 3600000);
    p.Minute = static_cast<int>(ms / 60000 % 60);
    p.Second = static_cast<int>(ms / 1000 % 60);
    p.MSec = static_cast<int>(ms % 1000);
    return p;
}

std::string Number(int value, int minDigits)
{
    std::string s = std::to_string(value);
    if (static_cast<int>(s.size()) < minDigits)
        s.insert(0, static_cast<size_t>(minDigits) - s.size(), '0');
    return s;
}

bool StartsWithNoCase(std::string_view s, size_t pos, std::string_view what)
{
    if (pos + what.size() > s.size())
        return false;
    for (size_t i = 0; i < what.size(); ++i) {
        char a = s[pos + i], b = what[i];
        if (a >= 'a' && a <= 'z')
            a = static_cast<char>(a - 32);
        if (a != b)
            return false;
    }
    return true;
}

char UpperChar(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c; }

void AppendFormat(std::string& out, std::string_view f, const TDateParts& p, const TFormatSettings& fs, int level)
{
    char lastToken = ' ';
    size_t i = 0;
    const size_t n = f.size();
    while (i < n) {
        char starter = f[i];
        size_t start = i;
        ++i;
        // Repetitions of the same letter make one specifier ("dd", "mmmm").
        auto count = [&]() {
            while (i < n && f[i] == starter)
                ++i;
            return static_cast<int>(i - start);
        };
        char token = UpperChar(starter);
        if (token >= 'A' && token <= 'Z') {
            if (token == 'M' && lastToken == 'H')
                token = 'N';
            lastToken = token;
        }
        switch (token) {
        case 'Y': {
            int c = count();
            if (c <= 2)
                out += Number(p.Year % 100, 2);
            else
                out += Number(p.Year, 4);
            break;
        }
        case 'M': {
            int c = count();
            if (c <= 2)
                out += Number(p.Month, c);
            else if (p.Month >= 1)
                out += c == 3 ? fs.ShortMonthNames[static_cast<size_t>(p.Month - 1)]
                              : fs.LongMonthNames[static_cast<size_t>(p.Month - 1)];
            break;
        }
        case 'D': {
            int c = count();
            if (c <= 2)
                out += Number(p.Day, c);
            else if (c <= 4) {
                if (p.DayOfWeek >= 1)
                    out += c == 3 ? fs.ShortDayNames[static_cast<size_t>(p.DayOfWeek - 1)]
                                  : fs.LongDayNames[static_cast<size_t>(p.DayOfWeek - 1)];
            } else if (level < 2) {
                AppendFormat(out, c == 5 ? fs.ShortDateFormat : fs.LongDateFormat, p, fs, level + 1);
            }
            break;
        }
        case 'H': {
            int c = std::min(count(), 2);
            // Twelve-hour clock when an am/pm specifier follows before the next hour.
            bool twelve = false;
            char quote = 0;
            for (size_t k = i; k < n; ++k) {
                char ch = f[k];
                if (quote != 0) {
                    if (ch == quote)
                        quote = 0;
                    continue;
                }
                if (ch == '"' || ch == '\'') {
                    quote = ch;
                } else if (ch == 'a' || ch == 'A') {
                    twelve = StartsWithNoCase(f, k, "AM/PM") || StartsWithNoCase(f, k, "A/P") ||
                             StartsWithNoCase(f, k, "AMPM");
                    break;
                } else if (ch == 'h' || ch == 'H') {
                    break;
                }
            }
            int h = p.Hour;
            if (twelve) {
                if (h == 0)
                    h = 12;
                else if (h > 12)
                    h -= 12;
            }
            out += Number(h, c);
            break;
        }
        case 'N': {
            int c = std::min(count(), 2);
            out += Number(p.Minute, c);
            break;
        }
        case 'S': {
            int c = std::min(count(), 2);
            out += Number(p.Second, c);
            break;
        }
        case 'Z': {
            int c = std::min(count(), 3);
            out += Number(p.MSec, c);
            break;
        }
        case 'T': {
            int c = count();
            if (level < 2)
                AppendFormat(out, c == 1 ? fs.ShortTimeFormat : fs.LongTimeFormat, p, fs, level + 1);
            break;
        }
        case 'C': {
            count();
            if (level < 2) {
                AppendFormat(out, fs.ShortDateFormat, p, fs, level + 1);
                if (p.Hour != 0 || p.Minute != 0 || p.Second != 0) {
                    out += ' ';
                    AppendFormat(out, fs.LongTimeFormat, p, fs, level + 1);
                }
            }
            break;
        }
        case 'A': {
            bool pm = p.Hour >= 12;
            if (StartsWithNoCase(f, start, "AM/PM")) {
                out += f.substr(pm ? start + 3 : start, 2);
                i = start + 5;
            } else if (StartsWithNoCase(f, start, "A/P")) {
                out += f[pm ? start + 2 : start];
                i = start + 3;
            } else if (StartsWithNoCase(f, start, "AMPM")) {
                out += pm ? fs.TimePMString : fs.TimeAMString;
                i = start + 4;
            } else {
                out += starter;
            }
            break;
        }
        case '/':
            out += fs.DateSeparator;
            break;
        case ':':
            out += fs.TimeSeparator;
            break;
        case '"':
        case '\'': {
            size_t close = f.find(starter, i);
            size_t end = close == std::string_view::npos ? n : close;
            out += f.substr(i, end - i);
            i = close == std::string_view::npos ? n : close + 1;
            break;
        }
        default:
            out += starter;
            break;
        }
    }
}

} // namespace

bool IsLeapYear(int year)
{
    return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
}

int DaysInMonth(int year, int month)
{
    if (month < 1 || month > 12)
        throw ERangeError();
    return MonthDays[IsLeapYear(year) ? 1 : 0][month - 1];
}

TDateTime EncodeDate(int year, int month, int day)
{
    if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1 || day > DaysInMonth(year, month))
        throw EConvertError("Invalid argument to date encode");
    const int* table = MonthDays[IsLeapYear(year) ? 1 : 0];
    int64_t days = day;
    for (int m = 0; m < month - 1; ++m)
        days += table[m];
    int64_t y = year - 1;
    return static_cast<double>(y * 365 + y / 4 - y / 100 + y / 400 + days - DateDelta);
}

TDateTime EncodeTime(int hour, int minute, int second, int msec)
{
    if (hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59 || msec < 0 || msec > 999)
        throw EConvertError("Invalid argument to time encode");
    return static_cast<double>(hour * 3600000 + minute * 60000 + second * 1000 + msec) / MSecsPerDay;
}

void DecodeDate(TDateTime dt, int& year, int& month, int& day)
{
    TDateParts p = Decode(dt);
    year = p.Year;
    month = p.Month;
    day = p.Day;
}

void DecodeTime(TDateTime dt, int& hour, int& minute, int& second, int& msec)
{
    TDateParts p = Decode(dt);
    hour = p.Hour;
    minute = p.Minute;
    second = p.Second;
    msec = p.MSec;
}

TDateTime Now()
{
    using namespace std::chrono;
    auto now = system_clock::now();
    std::time_t t = system_clock::to_time_t(now);
    int ms = static_cast<int>(duration_cast<milliseconds>(now.time_since_epoch()).count() % 1000);
    std::tm local{};
    localtime_r(&t, &local);
    return EncodeDate(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday) +
           EncodeTime(local.tm_hour, local.tm_min, std::min(local.tm_sec, 59), ms);
}

std::string FormatDateTime(std::string_view picture, TDateTime dt)
{
    return FormatDateTime(picture, dt, FormatSettings());
}

std::string FormatDateTime(std::string_view picture, TDateTime dt, const TFormatSettings& fs)
{
    std::string out;
    TDateParts p = Decode(dt);
    AppendFormat(out, picture.empty() ? std::string_view("c") : picture, p, fs, 0);
    return out;
}

std::string DateTimeToStr(TDateTime dt)
{
    return FormatDateTime("c", dt);
}

std::string DateToStr(TDateTime dt)
{
    return FormatDateTime("ddddd", dt);
}

std::string TimeToStr(TDateTime dt)
{
    return FormatDateTime("tt", dt);
}
