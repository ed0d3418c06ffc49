// The data-file reader: the text of a .dat file into point arrays, without any window, so
// that the data window, tests and fuzzing share one parser.
#pragma once

#include "PointArrays.h"

#include <cstdint>
#include <string>
#include <vector>

// What the text to parse is of the file it was read from.
struct TDataFileSource {
    // False: the text holds only the first lines of a file that goes on after them, so a
    // declared line past its end is not in the text rather than empty, and the parse is
    // refused. True: the text ends where the file does (or was typed).
    bool EndsWithFile = true;
    // The file's first bytes look like UTF-16 text without its byte-order mark (every
    // other byte NUL): every fault says so.
    bool LooksUtf16 = false;
};

struct TDataFileOptions {
    std::string DividingString = " ";   // between T and Cp: a space or a tab
    double TMaxLimit = 0;               // lines with a greater T are skipped; 0: no filter
    TDataFileSource Source;
};

struct TDataFileResult {
    int32_t PointCount = 0;   // P capped at F + the accepted lines; 0: no data
    int32_t FirstPoint = 0;   // F as read from line 5
    std::string Error;        // the first fault, naming its line; empty when none was found
};

// The application's number reader without a message: the first "," of Text counts as the
// decimal point; otherwise Text must be a plain decimal number (sign, digits, point,
// exponent; blanks around are allowed) that a double holds. A number too small to hold
// reads as 0.
bool TryReadPlainNumber(const std::string& Text, double& Value);

// The last line (0-based) that a data file declaring P points can hold a point in: the
// P-th data line. Nothing after it is read.
int64_t DataFileLastLine(int32_t PointCount);

// Parses the lines of a data file into slots of T and Cp. Line 4 holds the point count P,
// line 5 the first point F; lines F+6 .. P+5 (1-based) hold "T Cp", which fill the
// slots in order from slot 1. Lines with T above the limit are skipped, as are empty
// lines after the last point. Fewer than 5 lines are no data and no fault. The parse
// stops at the first fault, with PointCount 0 and Error saying what and where: a line 4
// or 5 that is no count, or more than 1000 points ("Invalid data file: " and the line
// with the reason), a token that is no number (with the divider to choose when the token
// holds the other one), a line without Cp, an empty line between points, or declared
// points past the end of a text that holds only the first lines of its file. Slots
// written before the fault keep their new values.
TDataFileResult ParseDataFile(const std::vector<std::string>& Lines, const TDataFileOptions& Options,
                              TPointArray& T, TPointArray& Cp);

// What File > Open puts into the data window: the file's text, whole when it is at most
// DataFileShowLimit bytes. A larger file is read only up to the lines a load can use (the
// header and the declared points, at most 2000), and no further than DataFileReadLimit
// bytes, whole lines only, so that opening it takes no longer and no more memory than
// those lines need. Of such a file, a line longer than DataFileLineShowLimit bytes is
// shown without the blanks at its ends and, when still longer, cut after its first
// DataFileLineShowLimit bytes with DataFileShortenedMark attached: the token cut reads as
// no number, so a shortened line gives the point of the whole line or a fault, never
// another point.
struct TDataFileText {
    std::string Text;
    bool Whole = true;          // false: Text holds the first LinesShown lines only
    int64_t LinesShown = 0;
    int64_t LinesShortened = 0;
    // The reading stopped at DataFileReadLimit before the declared lines were complete.
    bool StoppedAtReadLimit = false;
    uint64_t FileSize = 0;      // bytes
    TDataFileSource Source;
};
inline constexpr uint64_t DataFileShowLimit = 1u << 20;
inline constexpr uint64_t DataFileReadLimit = 16u << 20;
inline constexpr size_t DataFileLineShowLimit = 1024;
inline constexpr int64_t DataFileMaxLinesRead = 2005;
inline constexpr const char* DataFileShortenedMark = "\xE2\x80\xA6";   // a horizontal ellipsis
// Raises the platform's file error when the file cannot be read.
TDataFileText ReadDataFileText(const std::string& FileName);
