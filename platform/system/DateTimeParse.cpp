#include "DateTimeParse.h"

#include <cctype>
#include <vector>

namespace {

struct Reader {
    const std::string& s;
    size_t i = 0;
    void Blanks()
    {
        while (i < s.size() && std::isspace(static_cast<unsigned char>(s[i])))
            ++i;
    }
    bool Number(int& v, int& digits)
    {
        v = 0;
        digits = 0;
        while (i < s.size() && std::isdigit(static_cast<unsigned char>(s[i])) && digits < 9) {
            v = v * 10 + (s[i] - '0');
            ++i;
            ++digits;
        }
        return digits > 0;
    }
    bool Char(char c)
    {
        if (i < s.size() && s[i] == c) {
            ++i;
            return true;
        }
        return false;
    }
    bool Word(const std::string& w)
    {
        if (w.empty() || s.size() - i < w.size())
            return false;
        for (size_t k = 0; k < w.size(); ++k)
            if (std::toupper(static_cast<unsigned char>(s[i + k])) != std::toupper(static_cast<unsigned char>(w[k])))
                return false;
        i += w.size();
        return true;
    }
    bool End() const { return i >= s.size(); }
};

// The order of day, month and year in the short date format: 'D', 'M', 'Y'.
std::string DateOrder(const std::string& format)
{
    std::string order;
    for (char c : format) {
        const char u = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        if ((u == 'D' || u == 'M' || u == 'Y') && order.find(u) == std::string::npos)
            order += u;
    }
    return order.size() == 3 ? order : "MDY";
}

bool ReadDate(Reader& r, const TFormatSettings& fs, TDateTime& date)
{
    const size_t start = r.i;
    std::vector<int> parts;
    std::vector<int> digits;
    int v = 0, n = 0;
    while (parts.size() < 3 && r.Number(v, n)) {
        parts.push_back(v);
        digits.push_back(n);
        if (!r.Char(fs.DateSeparator))
            break;
    }
    if (parts.size() < 2 || (r.i < r.s.size() && r.s[r.i] == fs.TimeSeparator)) {
        r.i = start;
        return false;
    }
    std::string order = DateOrder(fs.ShortDateFormat);
    int day = 0, month = 0, year = 0;
    if (parts.size() == 2) {
        // Day and month in the format's order; the year is this year.
        order.erase(order.find('Y'), 1);
        int d = 0, m = 0, y = 0;
        DecodeDate(Now(), y, m, d);
        year = y;
    }
    for (size_t k = 0; k < parts.size(); ++k) {
        switch (order[k]) {
        case 'D': day = parts[k]; break;
        case 'M': month = parts[k]; break;
        default:
            year = parts[k];
            if (digits[k] <= 2)
                year += year < 50 ? 2000 : 1900;
            break;
        }
    }
    try {
        date = EncodeDate(year, month, day);
    } catch (const EConvertError&) {
        return false;
    }
    return true;
}

bool ReadTime(Reader& r, const TFormatSettings& fs, TDateTime& time)
{
    int h = 0, m = 0, sec = 0, ms = 0, n = 0;
    if (!r.Number(h, n))
        return false;
    if (r.Char(fs.TimeSeparator)) {
        if (!r.Number(m, n))
            return false;
        if (r.Char(fs.TimeSeparator)) {
            if (!r.Number(sec, n))
                return false;
            if (r.Char(fs.DecimalSeparator) || r.Char('.')) {
                if (!r.Number(ms, n))
                    return false;
                while (n < 3) {
                    ms *= 10;
                    ++n;
                }
                while (n > 3) {
                    ms /= 10;
                    --n;
                }
            }
        }
    }
    r.Blanks();
    if (r.Word(fs.TimePMString) || r.Word("PM")) {
        if (h < 1 || h > 12)
            return false;
        if (h < 12)
            h += 12;
    } else if (r.Word(fs.TimeAMString) || r.Word("AM")) {
        if (h < 1 || h > 12)
            return false;
        if (h == 12)
            h = 0;
    }
    if (h > 23 || m > 59 || sec > 59)
        return false;
    time = EncodeTime(h, m, sec, ms);
    return true;
}

} // namespace

bool TryStrToDateTime(const std::string& s, TDateTime& value, const TFormatSettings& fs)
{
    Reader r{s};
    r.Blanks();
    TDateTime date = 0, time = 0;
    const bool hasDate = ReadDate(r, fs, date);
    r.Blanks();
    bool hasTime = false;
    if (!r.End()) {
        hasTime = ReadTime(r, fs, time);
        if (!hasTime)
            return false;
        r.Blanks();
    }
    if (!r.End() || (!hasDate && !hasTime))
        return false;
    // Days before 1899-12-30 count backwards while the time still runs forwards.
    value = date < 0 ? date - time : date + time;
    return true;
}

TDateTime StrToDateTime(const std::string& s, const TFormatSettings& fs)
{
    TDateTime v = 0;
    if (!TryStrToDateTime(s, v, fs))
        throw EConvertError(Format("'%s' is not a valid date and time", {s}));
    return v;
}

TDateTime StrToDateTime(const std::string& s)
{
    return StrToDateTime(s, FormatSettings());
}
