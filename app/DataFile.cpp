#include "DataFile.h"

#include "StrParser.h"
#include "system/SysUtils.h"

#include <algorithm>
#include <charconv>

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Reads a plain decimal number, independent of any locale: [+-] digits [. digits]
// [e|E [+-] digits], with digits on at least one side of the point.
bool ParsePlainNumber(const std::string& Text, double& Value)
{
    const std::string s = Trim(Text);
    size_t i = 0;
    if (i < s.size() && (s[i] == '+' || s[i] == '-'))
        ++i;
    const size_t numberStart = i;
    size_t digits = 0;
    while (i < s.size() && IsDigit(s[i]))
        ++i, ++digits;
    if (i < s.size() && s[i] == '.') {
        ++i;
        while (i < s.size() && IsDigit(s[i]))
            ++i, ++digits;
    }
    if (digits == 0)
        return false;
    bool negativeExponent = false;
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        ++i;
        if (i < s.size() && (s[i] == '+' || s[i] == '-'))
            negativeExponent = s[i++] == '-';
        size_t expDigits = 0;
        while (i < s.size() && IsDigit(s[i]))
            ++i, ++expDigits;
        if (expDigits == 0)
            return false;
    }
    if (i != s.size())
        return false;
    double v = 0;
    const char* first = s.data() + numberStart;
    const auto [end, ec] = std::from_chars(first, s.data() + s.size(), v, std::chars_format::general);
    if (ec == std::errc::result_out_of_range) {
        // Too small to hold is zero; too large is no number.
        if (!negativeExponent)
            return false;
        v = 0;
    } else if (ec != std::errc() || end != s.data() + s.size()) {
        return false;
    }
    Value = (numberStart > 0 && s[0] == '-') ? -v : v;
    return true;
}

std::string LineName(int64_t index) { return "line " + std::to_string(index + 1); }

} // namespace

bool TryReadPlainNumber(const std::string& Text, double& Value)
{
    std::string copy = Text;
    if (const auto comma = copy.find(','); comma != std::string::npos)
        copy[comma] = '.';
    return ParsePlainNumber(copy, Value);
}

TDataFileResult ParseDataFile(const std::vector<std::string>& Lines, const TDataFileOptions& Options,
                              TPointArray& T, TPointArray& Cp)
{
    TDataFileResult result;
    const int64_t lineCount = static_cast<int64_t>(Lines.size());
    if (lineCount < 5)
        return result;

    TStrParser parser(nullptr);
    parser.SetDividingString(Options.DividingString);
    parser.SetCaseSensitive(false);

    // Ends the parse at a fault: no points, and the message that names it.
    const auto fail = [&result](std::string message) {
        result.PointCount = 0;
        result.Error = std::move(message);
        return result;
    };

    try {
        const int32_t count = StrToInt(Trim(Lines[3]));
        const int32_t first = StrToInt(Trim(Lines[4]));
        // A negative count or first point describes no data; left alone it would make the
        // run read slots that no load wrote.
        if (count < 0 || first < 0)
            return fail("Invalid data file");
        result.PointCount = count;
        result.FirstPoint = first;

        // Lines past the end of the text read as empty, which end the data: the walk can
        // stop at the last line, however large the count.
        const int64_t last = std::min<int64_t>(int64_t(count) + 5, lineCount - 1);
        int32_t accepted = 0;
        int64_t emptyLine = -1;   // the first empty line since the last point
        for (int64_t index = int64_t(first) + 5; index <= last; ++index) {
            const std::string line = Trim(Lines[static_cast<size_t>(index)]);
            if (line.empty()) {
                if (emptyLine < 0)
                    emptyLine = index;
                continue;
            }
            parser.Split(line);
            TStringList* tokens = parser.Tokens();

            // The first two tokens that are not empty after trimming: T and Cp.
            std::string texts[2];
            int taken = 0;
            for (int i = 0; i < tokens->Count() && taken < 2; ++i) {
                std::string token = Trim(tokens->Get(i));
                if (!token.empty())
                    texts[taken++] = std::move(token);
            }
            // A trimmed line starts with a token, so T is there; a line above T(max) is
            // skipped before its Cp is looked at.
            double values[2] = {0, 0};
            if (!TryReadPlainNumber(texts[0], values[0]))
                return fail("Invalid number: " + texts[0] + " in " + LineName(index));
            if (Options.TMaxLimit > 0 && values[0] > Options.TMaxLimit)
                continue;
            if (taken < 2)
                return fail("No Cp value in " + LineName(index) + ": " + line);
            if (!TryReadPlainNumber(texts[1], values[1]))
                return fail("Invalid number: " + texts[1] + " in " + LineName(index));
            // An empty line before a point would leave that point's slot unwritten.
            if (emptyLine >= 0)
                return fail("Empty " + LineName(emptyLine) + " inside the data");

            // The points fill the slots in order from slot 1, so that a line T(max) leaves
            // out leaves no gap holding an earlier load's point for the run to use. Without
            // such lines this is the line's own position. Past 1000 the arrays raise.
            const int slot = accepted + 1;
            T[slot] = values[0];
            Cp[slot] = values[1];
            ++accepted;
        }
        if (result.PointCount > accepted)
            result.PointCount = accepted;
    } catch (const Exception&) {
        return fail("Invalid data file");
    }
    return result;
}
