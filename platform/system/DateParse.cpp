// Reading date and time texts with the format settings' separators and date order.
#include "SysUtils.h"

#include <cctype>
#include <vector>

namespace {

// Splits the digits of Text at Separator into numbers; false when anything else is met.
bool Numbers(const std::string& Text, char Separator, std::vector<int>& Out)
{
    Out.clear();
    std::string part;
    auto flush = [&]() {
        if (part.empty() || part.size() > 9)
            return false;
        Out.push_back(std::stoi(part));
        part.clear();
        return true;
    };
    for (char c : Text) {
        if (c == Separator) {
            if (!flush())
                return false;
        } else if (std::isdigit(static_cast<unsigned char>(c))) {
            part += c;
        } else {
            return false;
        }
    }
    return flush();
}

bool ScanTime(std::string Text, TDateTime& Value)
{
    Text = Trim(Text);
    const TFormatSettings& fs = FormatSettings();
    int shift = -1;   // hours added for PM, -1 without AM/PM
    for (const auto& [mark, add] : {std::pair{fs.TimeAMString, 0}, std::pair{fs.TimePMString, 12},
                                    std::pair{std::string("AM"), 0}, std::pair{std::string("PM"), 12}}) {
        if (!mark.empty() && Text.size() > mark.size() &&
            SameText(Text.substr(Text.size() - mark.size()), mark)) {
            Text = Trim(Text.substr(0, Text.size() - mark.size()));
            shift = add;
            break;
        }
    }
    int msec = 0;
    if (const size_t dot = Text.find(fs.DecimalSeparator); dot != std::string::npos) {
        const std::string digits = Text.substr(dot + 1);
        if (digits.empty() || digits.size() > 3)
            return false;
        for (char c : digits)
            if (!std::isdigit(static_cast<unsigned char>(c)))
                return false;
        msec = std::stoi(digits) * (digits.size() == 1 ? 100 : digits.size() == 2 ? 10 : 1);
        Text = Text.substr(0, dot);
    }
    std::vector<int> parts;
    if (!Numbers(Text, fs.TimeSeparator, parts) || parts.size() > 3 || (parts.size() < 2 && shift < 0))
        return false;
    int hour = parts[0];
    const int minute = parts.size() > 1 ? parts[1] : 0;
    const int second = parts.size() > 2 ? parts[2] : 0;
    if (shift >= 0) {
        if (hour < 1 || hour > 12)
            return false;
        hour = hour % 12 + shift;
    }
    if (hour > 23 || minute > 59 || second > 59)
        return false;
    Value = EncodeTime(hour, minute, second, msec);
    return true;
}

bool ScanDate(const std::string& Text, TDateTime& Value)
{
    const TFormatSettings& fs = FormatSettings();
    std::vector<int> parts;
    if (!Numbers(Trim(Text), fs.DateSeparator, parts) || parts.size() != 3)
        return false;
    // The order of day, month and year in the short date format.
    std::string order;
    for (char c : fs.ShortDateFormat) {
        const char k = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        if ((k == 'd' || k == 'm' || k == 'y') && order.find(k) == std::string::npos)
            order += k;
    }
    if (order.size() != 3)
        order = "mdy";
    int day = 0, month = 0, year = 0;
    for (size_t i = 0; i < 3; ++i)
        (order[i] == 'd' ? day : order[i] == 'm' ? month : year) = parts[i];
    if (year < 100)
        year += year < 50 ? 2000 : 1900;
    if (month < 1 || month > 12 || day < 1 || year > 9999 || day > DaysInMonth(year, month))
        return false;
    Value = EncodeDate(year, month, day);
    return true;
}

[[noreturn]] void Invalid(const char* What, const std::string& s)
{
    throw EConvertError("'" + s + "' is not a valid " + What);
}

} // namespace

bool TryStrToTime(const std::string& s, TDateTime& value)
{
    return ScanTime(s, value);
}

TDateTime StrToTime(const std::string& s)
{
    TDateTime t = 0;
    if (!ScanTime(s, t))
        Invalid("time", s);
    return t;
}

TDateTime StrToDate(const std::string& s)
{
    TDateTime d = 0;
    if (!ScanDate(s, d))
        Invalid("date", s);
    return d;
}

TDateTime StrToDateTime(const std::string& s)
{
    const std::string text = Trim(s);
    const size_t blank = text.find(' ');
    TDateTime d = 0, t = 0;
    if (blank == std::string::npos) {
        if (ScanDate(text, d))
            return d;
        if (ScanTime(text, t))
            return t;
        Invalid("date and time", s);
    }
    if (!ScanDate(text.substr(0, blank), d) || !ScanTime(text.substr(blank + 1), t))
        Invalid("date and time", s);
    // Before the epoch the time of day counts away from zero, as the platform stores it.
    return d < 0 ? d - t : d + t;
}
