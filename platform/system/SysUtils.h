// System unit of the platform layer: exceptions with the platform's texts, number and
// string conversions, Format and float pictures under one set of format settings.
#pragma once

#include <array>
#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <stdexcept>
#include <string>
#include <string_view>
#include <variant>

// ---- exceptions ---------------------------------------------------------------

// Root of every error the system raises; carries the message the user sees.
class Exception : public std::exception {
public:
    explicit Exception(std::string message) : FMessage(std::move(message)) {}
    const char* what() const noexcept override { return FMessage.c_str(); }
    const std::string& Message() const { return FMessage; }
    void SetMessage(const std::string& m) { FMessage = m; }
private:
    std::string FMessage;
};

// Conversion of a text to a number failed ("'%s' is not a valid integer value").
class EConvertError : public Exception { using Exception::Exception; };
// A checked index or integer sub-range was outside its bounds ("Range check error").
class ERangeError : public Exception {
public:
    ERangeError();
    using Exception::Exception;
};
// A checked integer operation overflowed ("Arithmetic overflow").
class EIntOverflow : public Exception {
public:
    EIntOverflow();
    using Exception::Exception;
};
// A floating-point operation failed (invalid operation, division by zero, overflow).
class EMathError : public Exception { using Exception::Exception; };
// Input/output failures; EFOpenError and EFCreateError carry the file name in their text.
class EInOutError : public Exception { using Exception::Exception; };
class EStreamError : public Exception { using Exception::Exception; };
class EFOpenError : public EStreamError { using EStreamError::EStreamError; };
class EFCreateError : public EStreamError { using EStreamError::EStreamError; };
class EReadError : public EStreamError { using EStreamError::EStreamError; };
class EWriteError : public EStreamError { using EStreamError::EStreamError; };
// An internal consistency check failed.
class EAssertionFailed : public Exception { using Exception::Exception; };
// A list index was out of bounds ("List index out of bounds (%d)").
class EListError : public Exception { using Exception::Exception; };
// Bad value for a property or argument.
class EInvalidOperation : public Exception { using Exception::Exception; };

// ---- format settings ----------------------------------------------------------

struct TFormatSettings {
    char DecimalSeparator = '.';
    char ThousandSeparator = ',';
    char DateSeparator = '/';
    char TimeSeparator = ':';
    std::string ShortDateFormat = "M/d/yyyy";
    std::string LongDateFormat = "dddd, MMMM d, yyyy";
    std::string ShortTimeFormat = "h:mm AMPM";
    std::string LongTimeFormat = "h:mm:ss AMPM";
    std::string TimeAMString = "AM";
    std::string TimePMString = "PM";
    std::string CurrencyString = "$";
    // Currency placement: 0 "$1", 1 "1$", 2 "$ 1", 3 "1 $"; negative forms 0..15 as the
    // platform numbers them (0 "($1)", 1 "-$1", ...).
    int CurrencyFormat = 0;
    int NegCurrFormat = 0;
    int CurrencyDecimals = 2;
    std::array<std::string, 12> ShortMonthNames{"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    std::array<std::string, 12> LongMonthNames{"January", "February", "March", "April", "May", "June",
                                               "July", "August", "September", "October", "November", "December"};
    std::array<std::string, 7> ShortDayNames{"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
    std::array<std::string, 7> LongDayNames{"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};
};

// The process-wide settings every conversion uses unless given others.
TFormatSettings& FormatSettings();

// ---- Format -------------------------------------------------------------------

// One argument of Format: an integer, a float or a string.
struct TVarRec {
    std::variant<int64_t, double, std::string> Value;
    TVarRec(int v) : Value(int64_t(v)) {}
    TVarRec(long v) : Value(int64_t(v)) {}
    TVarRec(long long v) : Value(int64_t(v)) {}
    TVarRec(unsigned v) : Value(int64_t(v)) {}
    // Sizes and counts; a value above the signed 64-bit range raises ERangeError.
    TVarRec(unsigned long v);
    TVarRec(unsigned long long v);
    TVarRec(char v) : Value(std::string(1, v)) {}
    TVarRec(float v) : Value(double(v)) {}
    TVarRec(double v) : Value(v) {}
    TVarRec(long double v) : Value(double(v)) {}
    TVarRec(const char* v) : Value(std::string(v)) {}
    TVarRec(std::string v) : Value(std::move(v)) {}
    TVarRec(std::string_view v) : Value(std::string(v)) {}
};

// The platform's Format: %d %u %x %s %f %e %g %n %m %p with optional "-", width and
// ".precision" ("*" takes them from the arguments), "%%" for a percent sign. The e form
// has one digit before the point, "precision" decimals (15 significant digits without
// one) and a signed exponent of at least three digits: Format("%.6e", {12.3456}) is
// "1.234560E+001". A wrong argument type, a missing argument or a bad specifier raises
// EConvertError "Format '%s' invalid or incompatible with argument".
std::string Format(std::string_view fmt, std::initializer_list<TVarRec> args);
std::string Format(std::string_view fmt, std::initializer_list<TVarRec> args, const TFormatSettings& fs);

// ---- numbers to text ----------------------------------------------------------
//
// Every float text starts from the value's decimal representation (the shortest digits
// that read back as the value, at most 15 significant) and rounds it half away from zero.

std::string IntToStr(int64_t value);
std::string IntToHex(int64_t value, int digits);

// General format: up to 15 significant digits, scientific form when the exponent is
// below -5 or above 14 ("1E-7", "1.5E20"), "NAN", "INF", "-INF".
std::string FloatToStr(double value);
std::string FloatToStr(double value, const TFormatSettings& fs);
// The same text appended to Out without building strings of its own, for writers of
// many numbers; the digits are those of FloatToStr.
void AppendFloatText(std::string& Out, double value, const TFormatSettings& fs);

enum class TFloatFormat { ffGeneral, ffExponent, ffFixed, ffNumber, ffCurrency };
std::string FloatToStrF(double value, TFloatFormat format, int precision, int digits);
std::string FloatToStrF(double value, TFloatFormat format, int precision, int digits, const TFormatSettings& fs);

// Float pictures: "0", "#", ".", ",", "E+0"/"E-0"/"e+0"/"e-0", quoted literals and up to
// three sections separated by ";" (positive;negative;zero). "0.######" gives at most six
// decimals without trailing zeros; "0.000e+0" gives three decimals and an exponent
// without leading zeros; "#,##0.###" groups thousands.
std::string FormatFloat(std::string_view picture, double value);
std::string FormatFloat(std::string_view picture, double value, const TFormatSettings& fs);

// ---- text to numbers ----------------------------------------------------------

// Integer conversion: optional sign, decimal digits or "$"/"0x" hex; blanks around are
// not accepted. Raises EConvertError "'%s' is not a valid integer value".
int32_t StrToInt(const std::string& s);
int64_t StrToInt64(const std::string& s);
int32_t StrToIntDef(const std::string& s, int32_t def);
bool TryStrToInt(const std::string& s, int32_t& value);

// Float conversion: optional sign, digits, the decimal separator, exponent; leading and
// trailing blanks allowed. Raises EConvertError "'%s' is not a valid floating point value".
double StrToFloat(const std::string& s);
double StrToFloat(const std::string& s, const TFormatSettings& fs);
double StrToFloatDef(const std::string& s, double def);
bool TryStrToFloat(const std::string& s, double& value);
bool TryStrToFloat(const std::string& s, double& value, const TFormatSettings& fs);

// ---- strings ------------------------------------------------------------------

std::string Trim(const std::string& s);        // removes blanks and control characters at both ends
std::string TrimLeft(const std::string& s);
std::string TrimRight(const std::string& s);
std::string UpperCase(const std::string& s);   // ASCII letters only, like the platform
std::string LowerCase(const std::string& s);
bool SameText(const std::string& a, const std::string& b);
int CompareText(const std::string& a, const std::string& b);
std::string StringReplaceAll(const std::string& s, const std::string& from, const std::string& to);
// The code point of the well-formed UTF-8 character at At, which moves past it; false, with
// At unmoved, when the bytes at At are no such character (overlong, surrogate, past the
// last plane, cut short).
bool TryNextUtf8Char(const std::string& s, size_t& At, char32_t& Code);
// The code point of the UTF-8 character at At, which moves past it; a byte that starts no
// well-formed character gives U+FFFD and moves one byte.
char32_t NextUtf8Char(const std::string& s, size_t& At);
// Appends code point Code (at most U+10FFFF) to out in UTF-8.
void AppendUtf8(std::string& out, char32_t Code);
// Units UTF-16 code units at p (little- or big-endian) as UTF-8; an unpaired surrogate
// becomes U+FFFD.
std::string Utf16ToUtf8(const uint8_t* p, int64_t Units, bool BigEndian);
std::string ChangeFileExt(const std::string& fileName, const std::string& ext);
std::string ExtractFileName(const std::string& path);
std::string ExtractFilePath(const std::string& path);  // with its trailing separator
std::string ExtractFileExt(const std::string& path);   // with its point
bool FileExists(const std::string& path);
// The operating system's text for an error number (errno).
std::string SysErrorMessage(int errorCode);

// ---- checked integers ---------------------------------------------------------

// Adds or multiplies 32-bit integers, raising EIntOverflow when the result does not fit.
int32_t CheckedAdd(int32_t a, int32_t b);
int32_t CheckedSub(int32_t a, int32_t b);
int32_t CheckedMul(int32_t a, int32_t b);
// Narrows a 64-bit value to 32 bits, raising ERangeError when it does not fit.
int32_t CheckedNarrow(int64_t v);

// Rounding of the platform: nearest integer, halves to the even one. Raises EIntOverflow
// when the value does not fit in 64 bits (or is not finite).
int64_t RoundWide(double v);   // for any value; Round hands it those beyond 2^51
inline int64_t Round(double v)
{
    // Below 2^51 in magnitude, adding 1.5 * 2^52 leaves no fraction bits, so the sum is
    // rounded to the nearest integer (halves to even) and taking it away again is exact.
    constexpr double shift = 6755399441055744.0;
    if (v > -2251799813685248.0 && v < 2251799813685248.0)
        return static_cast<int64_t>((v + shift) - shift);
    return RoundWide(v);
}
// Round for a value known to lie within 32 bits (pixel coordinates), without the checks:
// the low 32 bits of v + 1.5 * 2^52 hold the rounded value.
inline int32_t RoundInt32(double v)
{
    const double shifted = v + 6755399441055744.0;
    uint64_t bits;
    std::memcpy(&bits, &shifted, sizeof bits);
    return static_cast<int32_t>(static_cast<uint32_t>(bits));
}
// Drops the fraction. Raises EIntOverflow like Round.
int64_t Trunc(double v);

// ---- date and time ------------------------------------------------------------

// A date-time counts days since 1899-12-30; the fraction is the time of day.
using TDateTime = double;
TDateTime EncodeDate(int year, int month, int day);   // raises EConvertError on an invalid date
TDateTime EncodeTime(int hour, int minute, int second, int msec);
void DecodeDate(TDateTime dt, int& year, int& month, int& day);
void DecodeTime(TDateTime dt, int& hour, int& minute, int& second, int& msec);
int DaysInMonth(int year, int month);
bool IsLeapYear(int year);
TDateTime Now();
// Date-time pictures ("dd/mm/yyyy hh:nn:ss", "c", "t", "ddddd" ...) as the platform's
// FormatDateTime understands them.
std::string FormatDateTime(std::string_view picture, TDateTime dt);
std::string FormatDateTime(std::string_view picture, TDateTime dt, const TFormatSettings& fs);
std::string DateTimeToStr(TDateTime dt);
std::string DateToStr(TDateTime dt);
std::string TimeToStr(TDateTime dt);
// Reading what those write: a time "h:n[:s[.z]]" with an optional AM/PM after it, a date
// in the order of the short date format with the date separator (a two-digit year
// falls within 1950..2049), and a date followed by a blank and a time. Blanks around
// the text are ignored. Raise EConvertError "'%s' is not a valid time", "... date" and
// "... date and time".
TDateTime StrToTime(const std::string& s);
TDateTime StrToDate(const std::string& s);
TDateTime StrToDateTime(const std::string& s);
bool TryStrToTime(const std::string& s, TDateTime& value);
