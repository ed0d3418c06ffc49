// Exceptions, format settings, integer conversions, strings, file names and checked
// integer arithmetic. Float formatting is in FloatFormat.cpp, dates in DateTime.cpp.
#include "SysUtils.h"

#include <cerrno>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <limits>

ERangeError::ERangeError() : Exception("Range check error") {}
EIntOverflow::EIntOverflow() : Exception("Arithmetic overflow") {}

TVarRec::TVarRec(unsigned long v) : Value(int64_t(0))
{
    if (v > static_cast<unsigned long>(std::numeric_limits<int64_t>::max()))
        throw ERangeError();
    Value = static_cast<int64_t>(v);
}

TVarRec::TVarRec(unsigned long long v) : Value(int64_t(0))
{
    if (v > static_cast<unsigned long long>(std::numeric_limits<int64_t>::max()))
        throw ERangeError();
    Value = static_cast<int64_t>(v);
}

TFormatSettings& FormatSettings()
{
    static TFormatSettings settings;
    return settings;
}

// ---- integers -------------------------------------------------------------------

std::string IntToStr(int64_t value)
{
    return std::to_string(value);
}

std::string IntToHex(int64_t value, int digits)
{
    static const char hex[] = "0123456789ABCDEF";
    uint64_t u = static_cast<uint64_t>(value);
    std::string s;
    do {
        s.insert(s.begin(), hex[u & 15]);
        u >>= 4;
    } while (u != 0);
    if (digits > 16)
        digits = 16;
    if (static_cast<int>(s.size()) < digits)
        s.insert(0, static_cast<size_t>(digits) - s.size(), '0');
    return s;
}

namespace {

// Parses a whole text as a signed integer within [lo, hi]: optional sign, then decimal
// digits or "$"/"0x" hexadecimal. Nothing else is accepted, not even blanks.
bool ParseInteger(const std::string& s, int64_t lo, int64_t hi, int64_t& out)
{
    size_t p = 0, n = s.size();
    bool neg = false;
    if (p < n && (s[p] == '+' || s[p] == '-')) {
        neg = s[p] == '-';
        ++p;
    }
    unsigned base = 10;
    if (p < n && s[p] == '$') {
        base = 16;
        ++p;
    } else if (p + 1 < n && s[p] == '0' && (s[p + 1] == 'x' || s[p + 1] == 'X')) {
        base = 16;
        p += 2;
    }
    if (p >= n)
        return false;
    // The magnitude may reach |lo| for negative numbers.
    const uint64_t limit = neg ? static_cast<uint64_t>(-(lo + 1)) + 1 : static_cast<uint64_t>(hi);
    uint64_t value = 0;
    for (; p < n; ++p) {
        char c = s[p];
        unsigned d;
        if (c >= '0' && c <= '9')
            d = static_cast<unsigned>(c - '0');
        else if (base == 16 && c >= 'a' && c <= 'f')
            d = static_cast<unsigned>(c - 'a' + 10);
        else if (base == 16 && c >= 'A' && c <= 'F')
            d = static_cast<unsigned>(c - 'A' + 10);
        else
            return false;
        if (value > (limit - d) / base)
            return false;
        value = value * base + d;
    }
    out = neg ? static_cast<int64_t>(0 - value) : static_cast<int64_t>(value);
    return true;
}

[[noreturn]] void InvalidInteger(const std::string& s)
{
    throw EConvertError("'" + s + "' is not a valid integer value");
}

} // namespace

int32_t StrToInt(const std::string& s)
{
    int64_t v;
    if (!ParseInteger(s, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max(), v))
        InvalidInteger(s);
    return static_cast<int32_t>(v);
}

int64_t StrToInt64(const std::string& s)
{
    int64_t v;
    if (!ParseInteger(s, std::numeric_limits<int64_t>::min(), std::numeric_limits<int64_t>::max(), v))
        InvalidInteger(s);
    return v;
}

int32_t StrToIntDef(const std::string& s, int32_t def)
{
    int32_t v;
    return TryStrToInt(s, v) ? v : def;
}

bool TryStrToInt(const std::string& s, int32_t& value)
{
    int64_t v;
    if (!ParseInteger(s, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max(), v))
        return false;
    value = static_cast<int32_t>(v);
    return true;
}

// ---- strings --------------------------------------------------------------------

namespace {
bool IsBlank(char c) { return static_cast<unsigned char>(c) <= ' '; }
char Upper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c; }
char Lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; }
bool IsPathDelimiter(char c) { return c == '/' || c == '\\'; }
} // namespace

std::string Trim(const std::string& s)
{
    size_t b = 0, e = s.size();
    while (b < e && IsBlank(s[b]))
        ++b;
    while (e > b && IsBlank(s[e - 1]))
        --e;
    return s.substr(b, e - b);
}

std::string TrimLeft(const std::string& s)
{
    size_t b = 0;
    while (b < s.size() && IsBlank(s[b]))
        ++b;
    return s.substr(b);
}

std::string TrimRight(const std::string& s)
{
    size_t e = s.size();
    while (e > 0 && IsBlank(s[e - 1]))
        --e;
    return s.substr(0, e);
}

std::string UpperCase(const std::string& s)
{
    std::string r(s);
    for (char& c : r)
        c = Upper(c);
    return r;
}

std::string LowerCase(const std::string& s)
{
    std::string r(s);
    for (char& c : r)
        c = Lower(c);
    return r;
}

int CompareText(const std::string& a, const std::string& b)
{
    size_t n = std::min(a.size(), b.size());
    for (size_t i = 0; i < n; ++i) {
        int ca = static_cast<unsigned char>(Upper(a[i]));
        int cb = static_cast<unsigned char>(Upper(b[i]));
        if (ca != cb)
            return ca - cb;
    }
    if (a.size() == b.size())
        return 0;
    return a.size() < b.size() ? -1 : 1;
}

bool SameText(const std::string& a, const std::string& b)
{
    return a.size() == b.size() && CompareText(a, b) == 0;
}

bool TryNextUtf8Char(const std::string& s, size_t& At, char32_t& Code)
{
    const auto byte = [&](size_t i) { return i < s.size() ? static_cast<unsigned char>(s[i]) : 0u; };
    const unsigned c = byte(At);
    int len = c < 0x80 ? 1 : (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : (c >> 3) == 30 ? 4 : 0;
    char32_t code = len == 1 ? c : len == 2 ? (c & 0x1F) : len == 3 ? (c & 0x0F) : (c & 0x07);
    for (int k = 1; k < len; ++k) {
        const unsigned b = byte(At + size_t(k));
        if ((b & 0xC0) != 0x80) {
            len = 0;
            break;
        }
        code = (code << 6) | (b & 0x3F);
    }
    // Overlong forms, surrogates and values past the last plane are no characters.
    static const char32_t least[] = {0, 0, 0x80, 0x800, 0x10000};
    if (len == 0 || code < least[len] || (code >= 0xD800 && code <= 0xDFFF) || code > 0x10FFFF)
        return false;
    At += size_t(len);
    Code = code;
    return true;
}

char32_t NextUtf8Char(const std::string& s, size_t& At)
{
    char32_t code = 0xFFFD;
    if (!TryNextUtf8Char(s, At, code))
        ++At;
    return code;
}

void AppendUtf8(std::string& out, char32_t Code)
{
    if (Code < 0x80) {
        out += static_cast<char>(Code);
    } else if (Code < 0x800) {
        out += static_cast<char>(0xC0 | (Code >> 6));
        out += static_cast<char>(0x80 | (Code & 0x3F));
    } else if (Code < 0x10000) {
        out += static_cast<char>(0xE0 | (Code >> 12));
        out += static_cast<char>(0x80 | ((Code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (Code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (Code >> 18));
        out += static_cast<char>(0x80 | ((Code >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((Code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (Code & 0x3F));
    }
}

std::string Utf16ToUtf8(const uint8_t* p, int64_t Units, bool BigEndian)
{
    std::string out;
    out.reserve(static_cast<size_t>(std::max<int64_t>(Units, 0)));
    const auto unit = [p, BigEndian](int64_t i) {
        const uint32_t first = p[2 * i];
        const uint32_t second = p[2 * i + 1];
        return BigEndian ? (first << 8) | second : first | (second << 8);
    };
    for (int64_t i = 0; i < Units; ++i) {
        const uint32_t u = unit(i);
        if (u >= 0xD800 && u < 0xDC00 && i + 1 < Units) {
            const uint32_t v = unit(i + 1);
            if (v >= 0xDC00 && v < 0xE000) {
                AppendUtf8(out, 0x10000 + ((u - 0xD800) << 10) + (v - 0xDC00));
                ++i;
                continue;
            }
        }
        AppendUtf8(out, u >= 0xD800 && u < 0xE000 ? 0xFFFD : u);
    }
    return out;
}

std::string StringReplaceAll(const std::string& s, const std::string& from, const std::string& to)
{
    if (from.empty())
        return s;
    std::string r;
    size_t p = 0;
    for (;;) {
        size_t q = s.find(from, p);
        if (q == std::string::npos)
            break;
        r.append(s, p, q - p);
        r += to;
        p = q + from.size();
    }
    r.append(s, p, std::string::npos);
    return r;
}

namespace {
// Index of the point that starts the extension, or npos when the name has none.
size_t ExtensionStart(const std::string& path)
{
    for (size_t i = path.size(); i > 0; --i) {
        char c = path[i - 1];
        if (c == '.')
            return i - 1;
        if (IsPathDelimiter(c))
            break;
    }
    return std::string::npos;
}

size_t NameStart(const std::string& path)
{
    for (size_t i = path.size(); i > 0; --i)
        if (IsPathDelimiter(path[i - 1]))
            return i;
    return 0;
}
} // namespace

std::string ChangeFileExt(const std::string& fileName, const std::string& ext)
{
    size_t p = ExtensionStart(fileName);
    return (p == std::string::npos ? fileName : fileName.substr(0, p)) + ext;
}

std::string ExtractFileName(const std::string& path)
{
    return path.substr(NameStart(path));
}

std::string ExtractFilePath(const std::string& path)
{
    return path.substr(0, NameStart(path));
}

std::string ExtractFileExt(const std::string& path)
{
    size_t p = ExtensionStart(path);
    return p == std::string::npos ? std::string() : path.substr(p);
}

bool FileExists(const std::string& path)
{
    std::error_code ec;
    return !path.empty() && std::filesystem::is_regular_file(std::filesystem::path(path), ec);
}

std::string SysErrorMessage(int errorCode)
{
    return std::strerror(errorCode);
}

// ---- checked integers -----------------------------------------------------------

int32_t CheckedAdd(int32_t a, int32_t b)
{
    int32_t r;
    if (__builtin_add_overflow(a, b, &r))
        throw EIntOverflow();
    return r;
}

int32_t CheckedSub(int32_t a, int32_t b)
{
    int32_t r;
    if (__builtin_sub_overflow(a, b, &r))
        throw EIntOverflow();
    return r;
}

int32_t CheckedMul(int32_t a, int32_t b)
{
    int32_t r;
    if (__builtin_mul_overflow(a, b, &r))
        throw EIntOverflow();
    return r;
}

int32_t CheckedNarrow(int64_t v)
{
    if (v < std::numeric_limits<int32_t>::min() || v > std::numeric_limits<int32_t>::max())
        throw ERangeError();
    return static_cast<int32_t>(v);
}

namespace {
// True when a whole number (already rounded or truncated) fits in int64_t; false for NaN.
bool FitsInt64(double r)
{
    return r >= -9223372036854775808.0 && r < 9223372036854775808.0;
}
} // namespace

int64_t RoundWide(double v)
{
    double f = std::floor(v);
    double diff = v - f;
    double r;
    if (diff < 0.5)
        r = f;
    else if (diff > 0.5)
        r = f + 1;
    else
        r = std::fmod(f, 2.0) == 0 ? f : f + 1;
    if (!FitsInt64(r))
        throw EIntOverflow();
    return static_cast<int64_t>(r);
}

int64_t Trunc(double v)
{
    double r = std::trunc(v);
    if (!FitsInt64(r))
        throw EIntOverflow();
    return static_cast<int64_t>(r);
}
