// Number texts: the general, fixed, exponent, number and currency forms, float pictures,
// Format, and reading floats back. All of them start from one decimal representation of
// the value and round it half away from zero, independent of the C locale.
#include "SysUtils.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <vector>

namespace {

// ---- decimal representation ----------------------------------------------------

// A non-negative value as 0.D x 10^E: D holds the significant digits without leading or
// trailing zeros; an empty D is zero.
struct TDecimal {
    bool Negative = false;
    std::string Digits;
    int Exponent = 0;
    bool IsZero() const { return Digits.empty(); }
    // The digit at position i of 0.D (0 is the first significant digit), '0' past the end.
    char DigitAt(long i) const
    {
        return i >= 0 && i < static_cast<long>(Digits.size()) ? Digits[static_cast<size_t>(i)] : '0';
    }
};

const int MaxSignificant = 15;

void StripTrailingZeros(TDecimal& d)
{
    while (!d.Digits.empty() && d.Digits.back() == '0')
        d.Digits.pop_back();
    if (d.Digits.empty())
        d.Exponent = 0;
}

// Keeps n significant digits, rounding half away from zero; n <= 0 keeps none, so that
// the value becomes zero or (for n == 0 and a first digit of 5 or more) one unit higher.
void RoundSignificant(TDecimal& d, long n)
{
    if (d.IsZero() || n >= static_cast<long>(d.Digits.size()))
        return;
    if (n < 0) {
        d.Digits.clear();
        d.Exponent = 0;
        return;
    }
    bool up = d.Digits[static_cast<size_t>(n)] >= '5';
    d.Digits.resize(static_cast<size_t>(n));
    if (up) {
        while (!d.Digits.empty() && d.Digits.back() == '9')
            d.Digits.pop_back();
        if (d.Digits.empty()) {
            d.Digits = "1";
            d.Exponent += 1;
        } else {
            d.Digits.back() = static_cast<char>(d.Digits.back() + 1);
        }
    }
    StripTrailingZeros(d);
}

// Keeps `decimals` digits after the decimal point.
void RoundDecimals(TDecimal& d, long decimals)
{
    if (!d.IsZero())
        RoundSignificant(d, static_cast<long>(d.Exponent) + decimals);
}

// The shortest digits that read back as v, limited to 15 significant digits.
TDecimal ToDecimal(double v)
{
    TDecimal d;
    d.Negative = std::signbit(v);
    if (v == 0 || !std::isfinite(v))
        return d;
    char buf[64];
    auto res = std::to_chars(buf, buf + sizeof buf, std::fabs(v), std::chars_format::scientific);
    std::string_view s(buf, static_cast<size_t>(res.ptr - buf));
    size_t ePos = s.find('e');
    for (size_t i = 0; i < ePos; ++i)
        if (s[i] != '.')
            d.Digits += s[i];
    int exp10 = 0;
    std::string_view es = s.substr(ePos + 1);
    if (!es.empty() && es[0] == '+')
        es.remove_prefix(1);
    std::from_chars(es.data(), es.data() + es.size(), exp10);
    d.Exponent = exp10 + 1;
    StripTrailingZeros(d);
    RoundSignificant(d, MaxSignificant);
    return d;
}

std::string NonFinite(double v)
{
    if (std::isnan(v))
        return "NAN";
    return v > 0 ? "INF" : "-INF";
}

// Inserts the thousands separator between groups of three digits.
std::string Group(const std::string& digits, char sep)
{
    if (sep == '\0' || digits.size() <= 3)
        return digits;
    std::string r;
    size_t n = digits.size();
    for (size_t i = 0; i < n; ++i) {
        r += digits[i];
        size_t remaining = n - 1 - i;
        if (remaining > 0 && remaining % 3 == 0)
            r += sep;
    }
    return r;
}

// The integer digits of a (rounded) decimal, "0" for values below one.
std::string IntegerDigits(const TDecimal& d)
{
    if (d.IsZero() || d.Exponent <= 0)
        return "0";
    std::string r;
    r.reserve(static_cast<size_t>(d.Exponent));
    for (long i = 0; i < d.Exponent; ++i)
        r += d.DigitAt(i);
    return r;
}

// Fixed notation with exactly `decimals` decimals; the sign is left to the caller.
std::string FixedText(TDecimal d, long decimals, bool thousands, const TFormatSettings& fs)
{
    RoundDecimals(d, decimals);
    std::string r = IntegerDigits(d);
    if (thousands)
        r = Group(r, fs.ThousandSeparator);
    if (decimals > 0) {
        r += fs.DecimalSeparator;
        for (long i = 0; i < decimals; ++i)
            r += d.DigitAt(d.Exponent + i);
    }
    return r;
}

std::string ExponentText(long exp10, bool alwaysSign, int minDigits, char letter = 'E')
{
    std::string r(1, letter);
    if (exp10 < 0)
        r += '-';
    else if (alwaysSign)
        r += '+';
    std::string digits = std::to_string(exp10 < 0 ? -exp10 : exp10);
    if (static_cast<int>(digits.size()) < minDigits)
        digits.insert(0, static_cast<size_t>(minDigits) - digits.size(), '0');
    return r + digits;
}

// Scientific notation: one digit, the point and `decimals` more digits, then the exponent
// with its sign and at least `expDigits` digits.
std::string ScientificText(TDecimal d, long decimals, int expDigits, const TFormatSettings& fs)
{
    RoundSignificant(d, decimals + 1);
    long exp10 = d.IsZero() ? 0 : d.Exponent - 1;
    std::string r(1, d.DigitAt(0));
    if (decimals > 0) {
        r += fs.DecimalSeparator;
        for (long i = 1; i <= decimals; ++i)
            r += d.DigitAt(i);
    }
    return r + ExponentText(exp10, true, expDigits);
}

// The general form: `precision` significant digits without trailing zeros, fixed while
// the value has at most `precision` integer digits and is at least 0.00001, else
// scientific with an exponent sign only when it is negative.
std::string GeneralText(TDecimal d, int precision, int expDigits, const TFormatSettings& fs)
{
    RoundSignificant(d, precision);
    if (d.IsZero())
        return "0";
    std::string r;
    if (d.Exponent <= precision && d.Exponent >= -4) {
        r = IntegerDigits(d);
        if (static_cast<long>(d.Digits.size()) > d.Exponent) {
            r += fs.DecimalSeparator;
            for (long i = d.Exponent; i < static_cast<long>(d.Digits.size()); ++i)
                r += d.DigitAt(i);
        }
    } else {
        r = d.Digits.substr(0, 1);
        if (d.Digits.size() > 1) {
            r += fs.DecimalSeparator;
            r += d.Digits.substr(1);
        }
        r += ExponentText(d.Exponent - 1, false, expDigits);
    }
    return r;
}

std::string WithSign(const TDecimal& rounded, std::string text)
{
    return rounded.Negative && !rounded.IsZero() ? "-" + text : text;
}

// Whether `text` shows a zero value (only zeros among its digits).
bool ShowsZero(const std::string& text)
{
    for (char c : text)
        if (c >= '1' && c <= '9')
            return false;
    return true;
}

std::string CurrencyText(const TDecimal& d, int digits, const TFormatSettings& fs)
{
    std::string num = FixedText(d, digits, true, fs);
    const std::string& cur = fs.CurrencyString;
    if (!d.Negative || ShowsZero(num)) {
        switch (fs.CurrencyFormat) {
        case 1: return num + cur;
        case 2: return cur + " " + num;
        case 3: return num + " " + cur;
        default: return cur + num;
        }
    }
    switch (fs.NegCurrFormat) {
    case 1: return "-" + cur + num;
    case 2: return cur + "-" + num;
    case 3: return cur + num + "-";
    case 4: return "(" + num + cur + ")";
    case 5: return "-" + num + cur;
    case 6: return num + "-" + cur;
    case 7: return num + cur + "-";
    case 8: return "-" + num + " " + cur;
    case 9: return "-" + cur + " " + num;
    case 10: return num + " " + cur + "-";
    case 11: return cur + " " + num + "-";
    case 12: return cur + " -" + num;
    case 13: return num + "- " + cur;
    case 14: return "(" + cur + " " + num + ")";
    case 15: return "(" + num + " " + cur + ")";
    default: return "(" + cur + num + ")";
    }
}

// ---- float pictures -------------------------------------------------------------

struct TPictureToken {
    enum Kind { Digit, Point, Exponent, Literal } kind;
    char ch = 0;            // '0' or '#' for digits, the letter for the exponent
    bool plus = false;      // exponent shows '+' for positive exponents
    int minDigits = 0;      // exponent digits at least
    std::string text;       // literal text
};

struct TPictureSection {
    std::vector<TPictureToken> tokens;
    bool thousands = false;
    bool scientific = false;
    long digitCount = 0;
    long decimalIndex = 0;  // digit placeholders before the point
    long minInt = 0;        // integer digits always shown
    long minDec = 0;        // decimals always shown
};

std::vector<std::string_view> SplitSections(std::string_view pic)
{
    std::vector<std::string_view> sections;
    size_t start = 0, i = 0;
    while (i < pic.size()) {
        char c = pic[i];
        if (c == '"' || c == '\'') {
            size_t close = pic.find(c, i + 1);
            i = close == std::string_view::npos ? pic.size() : close + 1;
            continue;
        }
        if (c == ';') {
            sections.push_back(pic.substr(start, i - start));
            start = i + 1;
        }
        ++i;
    }
    sections.push_back(pic.substr(start));
    return sections;
}

TPictureSection ParseSection(std::string_view s)
{
    TPictureSection sec;
    long firstZero = -1, lastZero = -1;
    bool seenPoint = false;
    auto addLiteral = [&](std::string_view t) {
        if (!sec.tokens.empty() && sec.tokens.back().kind == TPictureToken::Literal)
            sec.tokens.back().text += t;
        else
            sec.tokens.push_back({TPictureToken::Literal, 0, false, 0, std::string(t)});
    };
    size_t i = 0;
    while (i < s.size()) {
        char c = s[i];
        if (c == '"' || c == '\'') {
            size_t close = s.find(c, i + 1);
            size_t end = close == std::string_view::npos ? s.size() : close;
            addLiteral(s.substr(i + 1, end - i - 1));
            i = close == std::string_view::npos ? s.size() : close + 1;
            continue;
        }
        if (c == '0' || c == '#') {
            if (c == '0') {
                if (firstZero < 0)
                    firstZero = sec.digitCount;
                lastZero = sec.digitCount + 1;
            }
            sec.tokens.push_back({TPictureToken::Digit, c, false, 0, {}});
            ++sec.digitCount;
        } else if (c == '.') {
            if (!seenPoint) {
                seenPoint = true;
                sec.decimalIndex = sec.digitCount;
                sec.tokens.push_back({TPictureToken::Point, c, false, 0, {}});
            }
        } else if (c == ',') {
            sec.thousands = true;
        } else if ((c == 'E' || c == 'e') && !sec.scientific && i + 1 < s.size() && (s[i + 1] == '+' || s[i + 1] == '-')) {
            sec.scientific = true;
            TPictureToken t{TPictureToken::Exponent, c, s[i + 1] == '+', 0, {}};
            i += 2;
            while (i < s.size() && (s[i] == '0' || s[i] == '#')) {
                if (s[i] == '0' && t.minDigits < 4)
                    ++t.minDigits;
                ++i;
            }
            sec.tokens.push_back(t);
            continue;
        } else {
            addLiteral(s.substr(i, 1));
        }
        ++i;
    }
    if (!seenPoint)
        sec.decimalIndex = sec.digitCount;
    sec.minInt = firstZero < 0 ? 0 : std::max(0L, sec.decimalIndex - firstZero);
    sec.minDec = lastZero < 0 ? 0 : std::max(0L, lastZero - sec.decimalIndex);
    return sec;
}

// Formats the magnitude of `value` with one section; sets `isZero` when the shown
// value is zero.
std::string FormatSection(const TPictureSection& sec, TDecimal d, const TFormatSettings& fs, bool& isZero)
{
    long decPlaces = sec.digitCount - sec.decimalIndex;
    long exp10 = 0;
    std::string intDigits, fracDigits;
    if (sec.scientific) {
        RoundSignificant(d, std::max(1L, sec.digitCount));
        if (!d.IsZero()) {
            exp10 = d.Exponent - sec.decimalIndex;
            for (long i = 0; i < sec.decimalIndex; ++i)
                intDigits += d.DigitAt(i);
            for (long i = sec.decimalIndex; i < static_cast<long>(d.Digits.size()); ++i)
                fracDigits += d.DigitAt(i);
        }
    } else {
        RoundDecimals(d, decPlaces);
        if (!d.IsZero()) {
            for (long i = 0; i < d.Exponent; ++i)
                intDigits += d.DigitAt(i);
            for (long i = std::max(0, d.Exponent); i < static_cast<long>(d.Digits.size()); ++i)
                fracDigits += d.DigitAt(i);
            if (d.Exponent < 0)
                fracDigits.insert(0, static_cast<size_t>(-d.Exponent), '0');
        }
    }
    isZero = d.IsZero();
    if (static_cast<long>(intDigits.size()) < sec.minInt)
        intDigits.insert(0, static_cast<size_t>(sec.minInt) - intDigits.size(), '0');
    if (static_cast<long>(fracDigits.size()) < sec.minDec)
        fracDigits.append(static_cast<size_t>(sec.minDec) - fracDigits.size(), '0');

    std::string out;
    const long L = static_cast<long>(intDigits.size());
    const long excess = L - sec.decimalIndex;
    auto emitInt = [&](long from, long to) {   // indexes [from, to] of intDigits
        for (long i = std::max(0L, from); i <= to && i < L; ++i) {
            out += intDigits[static_cast<size_t>(i)];
            long remaining = L - 1 - i;
            if (sec.thousands && fs.ThousandSeparator != '\0' && remaining > 0 && remaining % 3 == 0)
                out += fs.ThousandSeparator;
        }
    };
    long digitIndex = 0;      // ordinal of the digit placeholder
    bool intDone = sec.decimalIndex > 0;   // with no integer placeholders the digits go before the point
    for (const TPictureToken& t : sec.tokens) {
        switch (t.kind) {
        case TPictureToken::Digit:
            if (digitIndex < sec.decimalIndex) {
                long k = digitIndex;
                emitInt(k == 0 ? 0 : k + excess, k + excess);
            } else {
                if (!intDone) {
                    emitInt(0, L - 1);
                    intDone = true;
                }
                long j = digitIndex - sec.decimalIndex;
                if (j < static_cast<long>(fracDigits.size()))
                    out += fracDigits[static_cast<size_t>(j)];
            }
            ++digitIndex;
            break;
        case TPictureToken::Point:
            if (!intDone) {
                emitInt(0, L - 1);
                intDone = true;
            }
            if (!fracDigits.empty())
                out += fs.DecimalSeparator;
            break;
        case TPictureToken::Exponent:
            out += ExponentText(exp10, t.plus, std::max(1, t.minDigits), t.ch);
            break;
        case TPictureToken::Literal:
            out += t.text;
            break;
        }
    }
    return out;
}

// ---- Format ---------------------------------------------------------------------

const long MaxFormatWidth = 1L << 20;

[[noreturn]] void FormatError(std::string_view fmt)
{
    throw EConvertError("Format '" + std::string(fmt) + "' invalid or incompatible with argument");
}

size_t Utf8Length(const std::string& s)
{
    size_t n = 0;
    for (char c : s)
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80)
            ++n;
    return n;
}

// The first `count` characters of a UTF-8 text, never splitting a character.
std::string Utf8Prefix(const std::string& s, size_t count)
{
    size_t n = 0, i = 0;
    for (; i < s.size(); ++i) {
        if ((static_cast<unsigned char>(s[i]) & 0xC0) != 0x80) {
            if (n == count)
                break;
            ++n;
        }
    }
    return s.substr(0, i);
}

std::string UnsignedText(uint64_t u, unsigned base)
{
    static const char digits[] = "0123456789ABCDEF";
    std::string s;
    do {
        s.insert(s.begin(), digits[u % base]);
        u /= base;
    } while (u != 0);
    return s;
}

// Integers shown as unsigned take the 32-bit pattern when they fit in 32 bits, as the
// platform's integer arguments do.
uint64_t UnsignedPattern(int64_t v)
{
    if (v < 0 && v >= std::numeric_limits<int32_t>::min())
        return static_cast<uint32_t>(static_cast<int32_t>(v));
    return static_cast<uint64_t>(v);
}

} // namespace

// ---- public float texts ---------------------------------------------------------

std::string FloatToStr(double value)
{
    return FloatToStr(value, FormatSettings());
}

std::string FloatToStr(double value, const TFormatSettings& fs)
{
    if (!std::isfinite(value))
        return NonFinite(value);
    TDecimal d = ToDecimal(value);
    std::string r = GeneralText(d, MaxSignificant, 0, fs);
    return WithSign(d, r);
}

void AppendFloatText(std::string& Out, double value, const TFormatSettings& fs)
{
    if (!std::isfinite(value)) {
        Out += NonFinite(value);
        return;
    }
    if (value == 0) {
        Out += '0';
        return;
    }
    // The shortest digits that read back as the value, rounded half away from zero to
    // MaxSignificant, as ToDecimal does, but in fixed buffers.
    char buf[64];
    const auto res = std::to_chars(buf, buf + sizeof buf, std::fabs(value), std::chars_format::scientific);
    const char* e = std::find(buf, res.ptr, 'e');
    char digits[24];
    int n = 0;
    for (const char* c = buf; c < e && n < 20; ++c)
        if (*c != '.')
            digits[n++] = *c;
    int exp10 = 0;
    const char* es = e + 1;
    if (es < res.ptr && *es == '+')
        ++es;
    std::from_chars(es, res.ptr, exp10);
    int exponent = exp10 + 1;   // value = 0.digits x 10^exponent
    if (n > MaxSignificant) {
        const bool up = digits[MaxSignificant] >= '5';
        n = MaxSignificant;
        if (up) {
            while (n > 0 && digits[n - 1] == '9')
                --n;
            if (n == 0) {
                digits[n++] = '1';
                ++exponent;
            } else {
                ++digits[n - 1];
            }
        }
    }
    while (n > 0 && digits[n - 1] == '0')
        --n;
    char text[64];
    int t = 0;
    if (value < 0)
        text[t++] = '-';
    auto digitAt = [&](int i) { return i >= 0 && i < n ? digits[i] : '0'; };
    if (exponent <= MaxSignificant && exponent >= -4) {
        if (exponent <= 0)
            text[t++] = '0';
        for (int i = 0; i < exponent; ++i)
            text[t++] = digitAt(i);
        if (n > exponent) {
            text[t++] = fs.DecimalSeparator;
            for (int i = exponent; i < n; ++i)
                text[t++] = digitAt(i);
        }
    } else {
        text[t++] = digits[0];
        if (n > 1) {
            text[t++] = fs.DecimalSeparator;
            for (int i = 1; i < n; ++i)
                text[t++] = digits[i];
        }
        text[t++] = 'E';
        if (exponent - 1 < 0)
            text[t++] = '-';
        const auto r = std::to_chars(text + t, text + sizeof text, std::abs(exponent - 1));
        t = int(r.ptr - text);
    }
    Out.append(text, size_t(t));
}

std::string FloatToStrF(double value, TFloatFormat format, int precision, int digits)
{
    return FloatToStrF(value, format, precision, digits, FormatSettings());
}

std::string FloatToStrF(double value, TFloatFormat format, int precision, int digits, const TFormatSettings& fs)
{
    if (!std::isfinite(value))
        return NonFinite(value);
    precision = std::clamp(precision, 1, MaxSignificant);
    TDecimal d = ToDecimal(value);
    switch (format) {
    case TFloatFormat::ffGeneral: {
        TDecimal r = d;
        RoundSignificant(r, precision);
        return WithSign(r, GeneralText(d, precision, std::clamp(digits, 0, 4), fs));
    }
    case TFloatFormat::ffExponent: {
        TDecimal r = d;
        RoundSignificant(r, precision);
        return WithSign(r, ScientificText(d, precision - 1, std::clamp(digits, 0, 4), fs));
    }
    case TFloatFormat::ffFixed:
    case TFloatFormat::ffNumber: {
        digits = std::clamp(digits, 0, 18);
        // More integer digits than the precision: the exponent form.
        if (d.Exponent > precision) {
            TDecimal r = d;
            RoundSignificant(r, precision);
            return WithSign(r, ScientificText(d, precision - 1, 0, fs));
        }
        // The precision limits the significant digits; the rest are zeros.
        TDecimal r = d;
        RoundSignificant(r, std::min<long>(precision, static_cast<long>(d.Exponent) + digits));
        return WithSign(r, FixedText(r, digits, format == TFloatFormat::ffNumber, fs));
    }
    case TFloatFormat::ffCurrency: {
        digits = std::clamp(digits, 0, 18);
        TDecimal r = d;
        RoundSignificant(r, std::min<long>(precision, static_cast<long>(d.Exponent) + digits));
        return CurrencyText(r, digits, fs);
    }
    }
    return std::string();
}

std::string FormatFloat(std::string_view picture, double value)
{
    return FormatFloat(picture, value, FormatSettings());
}

std::string FormatFloat(std::string_view picture, double value, const TFormatSettings& fs)
{
    if (!std::isfinite(value))
        return NonFinite(value);
    if (picture.empty())
        return FloatToStr(value, fs);
    std::vector<std::string_view> sections = SplitSections(picture);
    TDecimal d = ToDecimal(value);
    size_t index = d.IsZero() ? 2 : (d.Negative ? 1 : 0);
    if (index >= sections.size() || sections[index].empty())
        index = 0;
    bool isZero = false;
    std::string r = FormatSection(ParseSection(sections[index]), d, fs, isZero);
    // A value that rounds to zero takes the zero section when there is one.
    if (isZero && index != 2 && sections.size() > 2 && !sections[2].empty()) {
        TDecimal zero;
        return FormatSection(ParseSection(sections[2]), zero, fs, isZero);
    }
    if (d.Negative && index == 0 && !isZero)
        r = "-" + r;
    return r;
}

// ---- text to float --------------------------------------------------------------

bool TryStrToFloat(const std::string& s, double& value)
{
    return TryStrToFloat(s, value, FormatSettings());
}

bool TryStrToFloat(const std::string& s, double& value, const TFormatSettings& fs)
{
    std::string t = Trim(s);
    size_t p = 0, n = t.size();
    std::string norm;   // the number rewritten with '.' for the locale-free parser
    bool neg = false;
    if (p < n && (t[p] == '+' || t[p] == '-')) {
        neg = t[p] == '-';
        ++p;
    }
    long intDigits = 0, fracDigits = 0;
    bool significant = false;
    long firstSignificant = 0;   // decimal position of the first non-zero digit
    for (; p < n && t[p] >= '0' && t[p] <= '9'; ++p) {
        if (t[p] != '0' && !significant) {
            significant = true;
            firstSignificant = intDigits;
        }
        ++intDigits;
        norm += t[p];
    }
    if (p < n && t[p] == fs.DecimalSeparator) {
        ++p;
        norm += '.';
        for (; p < n && t[p] >= '0' && t[p] <= '9'; ++p) {
            if (t[p] != '0' && !significant) {
                significant = true;
                firstSignificant = intDigits + fracDigits;
            }
            ++fracDigits;
            norm += t[p];
        }
    }
    if (intDigits + fracDigits == 0)
        return false;
    long exp10 = 0;
    if (p < n && (t[p] == 'e' || t[p] == 'E')) {
        ++p;
        bool eneg = false;
        if (p < n && (t[p] == '+' || t[p] == '-')) {
            eneg = t[p] == '-';
            ++p;
        }
        if (p >= n || t[p] < '0' || t[p] > '9')
            return false;
        for (; p < n && t[p] >= '0' && t[p] <= '9'; ++p)
            if (exp10 < 100000)
                exp10 = exp10 * 10 + (t[p] - '0');
        if (eneg)
            exp10 = -exp10;
    }
    if (p != n)
        return false;
    if (!significant) {
        value = neg ? -0.0 : 0.0;
        return true;
    }
    // Decimal exponent of the value's leading digit: decides overflow against underflow.
    long magnitude = intDigits - firstSignificant + exp10;
    if (magnitude > 400)
        return false;
    if (magnitude < -400) {
        value = neg ? -0.0 : 0.0;
        return true;
    }
    norm += 'e';
    norm += std::to_string(exp10);
    double v = 0;
    auto res = std::from_chars(norm.data(), norm.data() + norm.size(), v);
    if (res.ec == std::errc::result_out_of_range) {
        if (magnitude > 0)
            return false;
        v = 0;
    } else if (res.ec != std::errc() || res.ptr != norm.data() + norm.size()) {
        return false;
    }
    if (std::isinf(v))
        return false;
    value = neg ? -v : v;
    return true;
}

double StrToFloat(const std::string& s)
{
    return StrToFloat(s, FormatSettings());
}

double StrToFloat(const std::string& s, const TFormatSettings& fs)
{
    double v;
    if (!TryStrToFloat(s, v, fs))
        throw EConvertError("'" + s + "' is not a valid floating point value");
    return v;
}

double StrToFloatDef(const std::string& s, double def)
{
    double v;
    return TryStrToFloat(s, v) ? v : def;
}

// ---- Format ---------------------------------------------------------------------

std::string Format(std::string_view fmt, std::initializer_list<TVarRec> args)
{
    return Format(fmt, args, FormatSettings());
}

std::string Format(std::string_view fmt, std::initializer_list<TVarRec> args, const TFormatSettings& fs)
{
    std::string out;
    const TVarRec* argv = args.begin();
    const size_t argc = args.size();
    size_t argIndex = 0;
    size_t i = 0;
    const size_t n = fmt.size();

    auto nextArg = [&]() -> const TVarRec& {
        if (argIndex >= argc)
            FormatError(fmt);
        return argv[argIndex++];
    };
    // A number in the specifier, or "*" taking it from the next (integer) argument.
    auto readNumber = [&](long& value) -> bool {
        if (i < n && fmt[i] == '*') {
            ++i;
            const TVarRec& a = nextArg();
            auto* iv = std::get_if<int64_t>(&a.Value);
            if (iv == nullptr || *iv > MaxFormatWidth)
                FormatError(fmt);
            value = static_cast<long>(*iv);
            return true;
        }
        if (i >= n || fmt[i] < '0' || fmt[i] > '9')
            return false;
        value = 0;
        while (i < n && fmt[i] >= '0' && fmt[i] <= '9') {
            value = value * 10 + (fmt[i] - '0');
            if (value > MaxFormatWidth)
                FormatError(fmt);
            ++i;
        }
        return true;
    };

    while (i < n) {
        char c = fmt[i];
        if (c != '%') {
            out += c;
            ++i;
            continue;
        }
        ++i;
        if (i >= n)
            FormatError(fmt);
        if (fmt[i] == '%') {
            out += '%';
            ++i;
            continue;
        }
        // [index ":"] ["-"] [width] ["." precision] type
        bool leftJustify = false;
        long width = -1, precision = -1;
        // Digits followed by ':' select the argument; the following ones continue from it.
        size_t j = i;
        while (j < n && fmt[j] >= '0' && fmt[j] <= '9')
            ++j;
        if (j > i && j < n && fmt[j] == ':') {
            long index = 0;
            readNumber(index);
            if (static_cast<size_t>(index) >= argc)
                FormatError(fmt);
            argIndex = static_cast<size_t>(index);
            ++i;
        }
        if (i < n && fmt[i] == '-') {
            leftJustify = true;
            ++i;
        }
        readNumber(width);
        if (i < n && fmt[i] == '.') {
            ++i;
            if (!readNumber(precision))
                precision = 0;
        }
        if (i >= n)
            FormatError(fmt);
        char type = static_cast<char>(fmt[i] | 0x20);   // lower case
        ++i;

        std::string text;
        const TVarRec& arg = nextArg();
        const int64_t* iv = std::get_if<int64_t>(&arg.Value);
        const double* dv = std::get_if<double>(&arg.Value);
        const std::string* sv = std::get_if<std::string>(&arg.Value);
        switch (type) {
        case 'd':
        case 'u':
        case 'x': {
            if (iv == nullptr)
                FormatError(fmt);
            bool neg = type == 'd' && *iv < 0;
            uint64_t mag = type == 'd' ? (neg ? 0 - static_cast<uint64_t>(*iv) : static_cast<uint64_t>(*iv))
                                       : UnsignedPattern(*iv);
            text = UnsignedText(mag, type == 'x' ? 16 : 10);
            if (precision > static_cast<long>(text.size()))
                text.insert(0, static_cast<size_t>(precision) - text.size(), '0');
            if (neg)
                text.insert(0, 1, '-');
            break;
        }
        case 'p': {
            if (iv == nullptr)
                FormatError(fmt);
            text = UnsignedText(static_cast<uint64_t>(*iv), 16);
            text.insert(0, 16 - text.size(), '0');
            break;
        }
        case 's':
            if (sv == nullptr)
                FormatError(fmt);
            text = precision >= 0 ? Utf8Prefix(*sv, static_cast<size_t>(precision)) : *sv;
            break;
        case 'f':
        case 'e':
        case 'g':
        case 'n':
        case 'm': {
            if (dv == nullptr)
                FormatError(fmt);
            if (!std::isfinite(*dv)) {
                text = NonFinite(*dv);
                break;
            }
            TDecimal d = ToDecimal(*dv);
            if (type == 'f' || type == 'n') {
                long decimals = precision >= 0 ? precision : 2;
                TDecimal r = d;
                RoundDecimals(r, decimals);
                text = WithSign(r, FixedText(d, decimals, type == 'n', fs));
            } else if (type == 'e') {
                long decimals = precision >= 0 ? precision : MaxSignificant - 1;
                TDecimal r = d;
                RoundSignificant(r, decimals + 1);
                text = WithSign(r, ScientificText(d, decimals, 3, fs));
            } else if (type == 'g') {
                int prec = precision > 0 ? static_cast<int>(std::min<long>(precision, MaxSignificant)) : MaxSignificant;
                TDecimal r = d;
                RoundSignificant(r, prec);
                text = WithSign(r, GeneralText(d, prec, 0, fs));
            } else {
                long decimals = precision >= 0 ? precision : fs.CurrencyDecimals;
                TDecimal r = d;
                RoundDecimals(r, decimals);
                text = CurrencyText(r, static_cast<int>(std::min<long>(decimals, MaxFormatWidth)), fs);
            }
            break;
        }
        default:
            FormatError(fmt);
        }
        long len = static_cast<long>(Utf8Length(text));
        if (width > len) {
            std::string pad(static_cast<size_t>(width - len), ' ');
            text = leftJustify ? text + pad : pad + text;
        }
        out += text;
    }
    return out;
}
