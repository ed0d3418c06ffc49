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

// For a token that a shortened line ends with, the hint that the line is shown shortened.
// For a token that holds the other divider (a tab while the divider is a space, or the
// reverse), the hint that the line is divided by it, so that a file read with the divider
// of the last one says which divider to choose; for one that holds a no-break space (text
// pasted from a document), which looks like a space in the message, the hint that it
// divides nothing; otherwise empty.
std::string DividerHint(const std::string& token, const std::string& divider)
{
    const std::string mark = DataFileShortenedMark;
    if (token.size() >= mark.size() && token.compare(token.size() - mark.size(), mark.size(), mark) == 0) {
        return " (the data window shows the line shortened after its first " + std::to_string(DataFileLineShowLimit) +
               " bytes, which must hold T and Cp)";
    }
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

    // Ends the parse at a fault: no points, and the message that names it.
    const auto fail = [&result, &Options](std::string message) {
        result.PointCount = 0;
        result.Error = std::move(message);
        if (Options.Source.LooksUtf16) {
            result.Error += "\nThe file looks like UTF-16 text without its byte-order mark (every other byte is "
                            "NUL): save it as UTF-8, or as UTF-16 with its mark.";
        }
        return result;
    };
    // Why declared lines are missing from a text that holds the first lines of its file.
    const std::string partNote = "the data window holds the first " + std::to_string(lineCount) +
                                 " lines of a file too large to show whole, which is read no further than its first " +
                                 std::to_string(DataFileMaxLinesRead) + " lines and " +
                                 std::to_string(DataFileReadLimit >> 20) + " MB";
    if (lineCount < 5)
        return Options.Source.EndsWithFile ? result : fail("Invalid data file: " + partNote);

    TStrParser parser(nullptr);
    parser.SetDividingString(Options.DividingString);
    parser.SetCaseSensitive(false);

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
        // A text cut before the P-th data line would give a run fewer points than the file
        // holds.
        if (!Options.Source.EndsWithFile && count > first && DataFileLastLine(count) >= lineCount) {
            const int64_t declared = std::max<int64_t>(int64_t(count) - first, 0);
            const int64_t present = std::clamp<int64_t>(lineCount - 5 - first, 0, declared);
            return fail("Only " + std::to_string(present) + " of the " + std::to_string(declared) +
                        " declared points could be read: " + partNote + ".");
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

namespace {

// Whether the first bytes of a file look like UTF-16 text without its byte-order mark: most
// two-byte pairs hold one NUL, always on the same side (characters of the one-byte range).
bool LooksLikeUtf16WithoutMark(const char* Bytes, size_t Size)
{
    if (Size >= 2 && ((Bytes[0] == '\xFF' && Bytes[1] == '\xFE') || (Bytes[0] == '\xFE' && Bytes[1] == '\xFF')))
        return false;
    const size_t pairs = Size / 2;
    if (pairs < 4)
        return false;
    size_t nulSecond = 0, nulFirst = 0;
    for (size_t i = 0; i < 2 * pairs; i += 2) {
        nulSecond += Bytes[i] != 0 && Bytes[i + 1] == 0;
        nulFirst += Bytes[i] == 0 && Bytes[i + 1] != 0;
    }
    return 4 * nulSecond >= 3 * pairs || 4 * nulFirst >= 3 * pairs;
}

// Cuts the lines of a file read in part from its bytes, block by block, until the lines a
// load can use are complete: the header, then the declared points. Line ends are those of
// the string list: CR, LF or CR LF. A line keeps at most DataFileLineShowLimit bytes of
// its own (see TDataFileText), so memory stays bounded however long the lines run.
class TLineCollector {
public:
    TStringList Lines;
    int64_t Shortened = 0;

    bool Done() const { return Lines.Count() >= FWanted; }

    // Takes bytes until the wanted lines are complete.
    void Feed(const char* Bytes, size_t Size)
    {
        size_t at = 0;
        if (FAfterCR && Size > 0) {
            FAfterCR = false;
            if (Bytes[0] == '\n')
                at = 1;
        }
        while (at < Size && !Done()) {
            const char* end = std::find_if(Bytes + at, Bytes + Size, [](char c) { return c == '\r' || c == '\n'; });
            Append(Bytes + at, static_cast<size_t>(end - (Bytes + at)));
            at = static_cast<size_t>(end - Bytes);
            if (at == Size)
                break;
            EndLine();
            if (Bytes[at] == '\r') {
                if (at + 1 == Size)
                    FAfterCR = true;
                else if (Bytes[at + 1] == '\n')
                    ++at;
            }
            ++at;
        }
    }
    // At the end of the file: a last line without a line end is a line too.
    void Finish()
    {
        if (FStarted && !Done())
            EndLine();
    }

private:
    std::string FLine;      // the line so far; of a long line, its first bytes after its leading blanks
    bool FStarted = false;  // the line has bytes
    bool FLong = false;     // longer than DataFileLineShowLimit
    bool FCut = false;      // a long line goes on, not blank, after the bytes kept
    bool FAfterCR = false;  // the last block ended with a CR: an LF first in the next belongs to it
    int64_t FWanted = 5;

    void Append(const char* Bytes, size_t Size)
    {
        FStarted = FStarted || Size > 0;
        if (!FLong && FLine.size() + Size <= DataFileLineShowLimit) {
            FLine.append(Bytes, Size);
            return;
        }
        if (!FLong) {
            FLong = true;
            FLine = TrimLeft(FLine);
        }
        size_t at = 0;
        if (FLine.empty()) {
            while (at < Size && static_cast<unsigned char>(Bytes[at]) <= ' ')
                ++at;
        }
        const size_t take = std::min(Size - at, DataFileLineShowLimit - FLine.size());
        FLine.append(Bytes + at, take);
        at += take;
        for (; at < Size && !FCut; ++at)
            FCut = static_cast<unsigned char>(Bytes[at]) > ' ';
    }

    void EndLine()
    {
        if (FLong) {
            ++Shortened;
            if (FCut) {
                // Whole characters only: a character begun in the last bytes kept goes.
                size_t lead = FLine.size();
                while (lead > 0 && FLine.size() - lead < 3 && (static_cast<unsigned char>(FLine[lead - 1]) & 0xC0) == 0x80)
                    --lead;
                if (lead > 0) {
                    const auto byte = static_cast<unsigned char>(FLine[lead - 1]);
                    const size_t length = byte >= 0xF0 ? 4 : byte >= 0xE0 ? 3 : byte >= 0xC0 ? 2 : 1;
                    if (lead - 1 + length > FLine.size())
                        FLine.resize(lead - 1);
                }
                FLine += DataFileShortenedMark;
            } else {
                FLine = TrimRight(FLine);
            }
        }
        Lines.Add(FLine);
        if (Lines.Count() == 4) {
            int32_t declared = 0;
            FWanted = 5 + (TryStrToInt(Trim(FLine), declared) && declared >= 0
                               ? std::min<int64_t>(declared, DataFileMaxLinesRead - 5)
                               : DataFileMaxLinesRead - 5);
        }
        FLine.clear();
        FStarted = FLong = FCut = false;
    }
};

} // namespace

TDataFileText ReadDataFileText(const std::string& FileName)
{
    TDataFileText result;
    TFileStream stream(FileName, fmOpenRead | fmShareDenyWrite);
    result.FileSize = static_cast<uint64_t>(std::max<int64_t>(stream.Size(), 0));
    char first[512];
    const int64_t firstSize = std::max<int64_t>(stream.Read(first, sizeof first), 0);
    stream.SetPosition(0);
    result.Source.LooksUtf16 = LooksLikeUtf16WithoutMark(first, static_cast<size_t>(firstSize));
    TStringList lines;
    if (result.FileSize <= DataFileShowLimit) {
        lines.LoadFromStream(&stream);
        result.Text = lines.Text();
        result.LinesShown = lines.Count();
        return result;
    }

    const auto startsWith = [&](const char* mark, int64_t size) {
        return firstSize >= size && std::equal(first, first + size, mark);
    };
    TLineCollector collector;
    bool end = false;
    if (startsWith("\xFF\xFE", 2) || startsWith("\xFE\xFF", 2)) {
        // UTF-16 text: its first bytes read into UTF-8, then cut into lines as any other.
        std::string wide(static_cast<size_t>(std::min(result.FileSize, DataFileReadLimit)), '\0');
        wide.resize(static_cast<size_t>(std::max<int64_t>(stream.Read(wide.data(), static_cast<int64_t>(wide.size())), 0)));
        end = wide.size() == result.FileSize;
        const std::string text = Utf16ToUtf8(reinterpret_cast<const uint8_t*>(wide.data()) + 2,
                                             static_cast<int64_t>(wide.size() - 2) / 2, first[0] == '\xFE');
        collector.Feed(text.data(), text.size());
    } else {
        if (startsWith("\xEF\xBB\xBF", 3))
            stream.SetPosition(3);
        std::string block(64 * 1024, '\0');
        uint64_t read = 0;
        while (!collector.Done() && !end && read < DataFileReadLimit) {
            const int64_t want = static_cast<int64_t>(std::min<uint64_t>(block.size(), DataFileReadLimit - read));
            const int64_t got = stream.Read(block.data(), want);
            end = got <= 0;
            if (!end) {
                read += static_cast<uint64_t>(got);
                collector.Feed(block.data(), static_cast<size_t>(got));
            }
        }
    }
    end = end || stream.Position() >= static_cast<int64_t>(result.FileSize);
    // At the end of the file its last line is whole; at the read limit the line begun is
    // not, and is left out, so that no cut line reads as a point.
    if (end)
        collector.Finish();
    result.StoppedAtReadLimit = !end && !collector.Done();
    result.Source.EndsWithFile = end;
    result.Text = collector.Lines.Text();
    result.LinesShown = collector.Lines.Count();
    result.LinesShortened = collector.Shortened;
    result.Whole = false;
    return result;
}
