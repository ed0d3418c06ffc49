#include "DataFile.h"

#include "StrParser.h"
#include "classes/Classes.h"
#include "classes/Streams.h"
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

// For a token that holds the other divider (a tab while the divider is a space, or the
// reverse), the hint that the line is divided by it, so that a file read with the divider
// of the last one says which divider to choose; for one that holds a no-break space (text
// pasted from a document), which looks like a space in the message, the hint that it
// divides nothing; otherwise empty.
std::string DividerHint(const std::string& token, const std::string& divider)
{
    if (token.find("\xC2\xA0") != std::string::npos)
        return " (the line holds a no-break space, which divides nothing: type a space or a tab)";
    if (divider == " " && token.find('\t') != std::string::npos)
        return " (the line is divided by tabs: choose the dividing string \"Tab\")";
    if (divider == "\t" && token.find(' ') != std::string::npos)
        return " (the line is divided by spaces: choose the dividing string \"Space\")";
    return std::string();
}

// A text of the file as a message quotes it: a line of a file that is no data file (a
// binary one) can run to thousands of characters, which would stretch the message box
// past the screen, so a long text is cut after its first characters (whole UTF-8
// characters; a byte that starts none counts as one).
std::string Excerpt(const std::string& text)
{
    constexpr int shown = 40;
    size_t at = 0;
    for (int n = 0; n < shown && at < text.size(); ++n) {
        char32_t code = 0;
        if (!TryNextUtf8Char(text, at, code))
            ++at;
    }
    return at < text.size() ? text.substr(0, at) + "..." : text;
}

} // namespace

int64_t DataFileLastLine(int32_t PointCount)
{
    return int64_t(PointCount) + 4;
}

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
        // Line 4 holds the point count, line 5 the first point. A negative number describes
        // no data; left alone it would make the run read slots that no load wrote.
        int32_t header[2] = {0, 0};
        const char* what[2] = {"the number of points", "the first point to use"};
        for (int k = 0; k < 2; ++k) {
            const std::string text = Trim(Lines[static_cast<size_t>(3 + k)]);
            if (!TryStrToInt(text, header[k]) || header[k] < 0) {
                return fail("Invalid data file: " + LineName(3 + k) + " must hold " + what[k] +
                            " (a whole number, 0 or more), not \"" + Excerpt(text) + "\"");
            }
        }
        const int32_t count = header[0];
        const int32_t first = header[1];
        result.PointCount = count;
        result.FirstPoint = first;

        // The data lines are F+1 .. P (file lines F+6 .. P+5): nothing after the P-th data
        // line is read. Lines past the end of the text read as empty, which end the data,
        // so the walk can stop at the last line, however large the count.
        const int64_t last = std::min<int64_t>(DataFileLastLine(count), lineCount - 1);
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
            const auto badNumber = [&](const std::string& token) {
                return fail("Invalid number: " + Excerpt(token) + " in " + LineName(index) +
                            DividerHint(token, Options.DividingString));
            };
            if (!TryReadPlainNumber(texts[0], values[0]))
                return badNumber(texts[0]);
            if (Options.TMaxLimit > 0 && values[0] > Options.TMaxLimit)
                continue;
            if (taken < 2)
                return fail("No Cp value in " + LineName(index) + ": " + Excerpt(line));
            if (!TryReadPlainNumber(texts[1], values[1]))
                return badNumber(texts[1]);
            // An empty line before a point would leave that point's slot unwritten.
            if (emptyLine >= 0)
                return fail("Empty " + LineName(emptyLine) + " inside the data");

            // The points fill the slots in order from slot 1, so that a line T(max) leaves
            // out leaves no gap holding an earlier load's point for the run to use. Without
            // such lines this is the line's own position.
            if (accepted >= TPointArray::Length) {
                return fail("Invalid data file: more than " + std::to_string(TPointArray::Length) +
                            " points (" + LineName(index) + ")");
            }
            const int slot = accepted + 1;
            T[slot] = values[0];
            Cp[slot] = values[1];
            ++accepted;
        }
        // The run takes PointCount - F points: capped at F + accepted, every point read is
        // used, the last F ones too.
        if (int64_t(result.PointCount) - first > accepted)
            result.PointCount = static_cast<int32_t>(int64_t(first) + accepted);
    } catch (const Exception&) {
        return fail("Invalid data file");
    }
    return result;
}

TDataFileText ReadDataFileText(const std::string& FileName)
{
    TDataFileText result;
    TFileStream stream(FileName, fmOpenRead | fmShareDenyWrite);
    result.FileSize = static_cast<uint64_t>(std::max<int64_t>(stream.Size(), 0));
    TStringList lines;
    if (result.FileSize <= DataFileShowLimit) {
        lines.LoadFromStream(&stream);
        result.Text = lines.Text();
        result.LinesShown = lines.Count();
        return result;
    }

    // Reads blocks until the lines a load can use are complete. Line ends are those of
    // the string list: CR, LF or CR LF.
    constexpr int64_t MaxDataLines = 2000;
    int64_t wanted = 5;   // the header, then the declared points
    std::string head;
    int64_t lineCount = 0;
    size_t scanned = 0;
    size_t lineStart = 0;
    std::string block(64 * 1024, '\0');
    bool end = false;
    while (lineCount < wanted && !end) {
        const int64_t got = stream.Read(block.data(), static_cast<int64_t>(block.size()));
        end = got <= 0;
        if (!end)
            head.append(block.data(), static_cast<size_t>(got));
        for (; scanned < head.size() && lineCount < wanted; ++scanned) {
            const char c = head[scanned];
            if (c != '\r' && c != '\n')
                continue;
            // A CR LF pair ends one line; wait for the next block when CR ends this one.
            if (c == '\r' && scanned + 1 == head.size() && !end)
                break;
            if (c == '\r' && scanned + 1 < head.size() && head[scanned + 1] == '\n')
                ++scanned;
            ++lineCount;
            if (lineCount == 4) {
                int32_t declared = 0;
                const std::string text = Trim(head.substr(lineStart, scanned - lineStart));
                wanted = 5 + (TryStrToInt(text, declared) && declared >= 0 ? std::min<int64_t>(declared, MaxDataLines)
                                                                          : MaxDataLines);
            }
            lineStart = scanned + 1;
        }
        // Lines that run on for megabytes (a file of no lines, such as a binary one) are
        // read no further than a file shown whole could be, and only whole lines of them
        // are shown, so that no cut line reads as a point; the first bytes when no line
        // is whole.
        if (lineCount < wanted && !end && head.size() >= DataFileShowLimit) {
            scanned = lineCount > 0 ? lineStart : static_cast<size_t>(DataFileShowLimit);
            break;
        }
    }
    head.resize(std::min(scanned, head.size()));
    lines.SetText(head.size() >= 3 && head.compare(0, 3, "\xEF\xBB\xBF") == 0 ? head.substr(3) : head);
    result.Text = lines.Text();
    result.LinesShown = lines.Count();
    result.Whole = false;
    return result;
}
