// The text form of a component stream: conversion from the binary form and back.
#include "Streaming.h"

#include "system/ScopeGuard.h"
#include "system/SysUtils.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>
#include <string_view>
#include <system_error>
#include <thread>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

constexpr std::string_view LineBreak = "\r\n";
// Strings longer than this are split into pieces of this many bytes.
constexpr int LineLength = 64;
// Binary values are written in lines of this many bytes when they are at least that long.
constexpr int BytesPerLine = 32;
constexpr int MaxNesting = 256;

uint64_t GetLE(const uint8_t* p, int n)
{
    uint64_t v = 0;
    for (int i = 0; i < n; ++i)
        v |= static_cast<uint64_t>(p[i]) << (8 * i);
    return v;
}

// ---- hex digits of binary values ------------------------------------------------------

// Each byte's two digits.
const std::array<char, 512> HexPairs = [] {
    static const char Hex[] = "0123456789ABCDEF";
    std::array<char, 512> p{};
    for (int b = 0; b < 256; ++b) {
        p[static_cast<size_t>(2 * b)] = Hex[b >> 4];
        p[static_cast<size_t>(2 * b + 1)] = Hex[b & 15];
    }
    return p;
}();

// Each character's digit value; -1 for a blank, -2 for anything else.
const std::array<int8_t, 256> HexValues = [] {
    std::array<int8_t, 256> d;
    d.fill(-2);
    for (int c = 0; c < 10; ++c)
        d[static_cast<size_t>('0' + c)] = static_cast<int8_t>(c);
    for (int c = 0; c < 6; ++c)
        d[static_cast<size_t>('A' + c)] = d[static_cast<size_t>('a' + c)] = static_cast<int8_t>(10 + c);
    for (char c : {' ', '\t', '\r', '\n'})
        d[static_cast<uint8_t>(c)] = -1;
    return d;
}();

// The upper-case digits of Count bytes, two per byte.
inline void WriteHex(const uint8_t* In, int64_t Count, char* Out)
{
    int64_t i = 0;
#if defined(__SSE2__)
    // Sixteen bytes at a time: their nibbles interleaved, high first, and each nibble n
    // made '0' + n, or 'A' + n - 10 past nine.
    const __m128i low4 = _mm_set1_epi8(0x0F), nine = _mm_set1_epi8(9), zero = _mm_set1_epi8('0'),
                  letters = _mm_set1_epi8('A' - '0' - 10);
    auto digits = [&](__m128i n) {
        return _mm_add_epi8(_mm_add_epi8(n, zero), _mm_and_si128(_mm_cmpgt_epi8(n, nine), letters));
    };
    for (; i + 16 <= Count; i += 16) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(In + i));
        const __m128i high = _mm_and_si128(_mm_srli_epi16(v, 4), low4), low = _mm_and_si128(v, low4);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(Out + 2 * i), digits(_mm_unpacklo_epi8(high, low)));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(Out + 2 * i + 16), digits(_mm_unpackhi_epi8(high, low)));
    }
#endif
    for (; i < Count; ++i)
        std::memcpy(Out + 2 * i, &HexPairs[2 * size_t(In[i])], 2);
}

// When the 32 characters at In are all hex digits (either case): their 16 bytes into Out,
// and true; else false, Out untouched.
inline bool ReadHex32(const char* In, uint8_t* Out)
{
#if defined(__SSE2__)
    // A character is a digit when c - '0' is at most 9, a letter when (c | 32) - 'a' is at
    // most 5 (unsigned); each byte is then its first digit times 16 plus its second.
    const __m128i nine = _mm_set1_epi8(9), five = _mm_set1_epi8(5), zero = _mm_set1_epi8('0'),
                  a = _mm_set1_epi8('a'), caseBit = _mm_set1_epi8(0x20), ten = _mm_set1_epi8(10),
                  lowByte = _mm_set1_epi16(0x00FF);
    auto values = [&](__m128i c, __m128i& valid) {
        const __m128i d = _mm_sub_epi8(c, zero);
        const __m128i l = _mm_sub_epi8(_mm_or_si128(c, caseBit), a);
        const __m128i isDigit = _mm_cmpeq_epi8(_mm_min_epu8(d, nine), d);
        const __m128i isLetter = _mm_cmpeq_epi8(_mm_min_epu8(l, five), l);
        valid = _mm_and_si128(valid, _mm_or_si128(isDigit, isLetter));
        const __m128i v = _mm_or_si128(_mm_and_si128(isDigit, d), _mm_and_si128(isLetter, _mm_add_epi8(l, ten)));
        // Pairs as 16-bit lanes, the first digit in the low byte.
        return _mm_or_si128(_mm_slli_epi16(_mm_and_si128(v, lowByte), 4), _mm_srli_epi16(v, 8));
    };
    __m128i valid = _mm_set1_epi8(-1);
    const __m128i first = values(_mm_loadu_si128(reinterpret_cast<const __m128i*>(In)), valid);
    const __m128i second = values(_mm_loadu_si128(reinterpret_cast<const __m128i*>(In + 16)), valid);
    if (_mm_movemask_epi8(valid) != 0xFFFF)
        return false;
    _mm_storeu_si128(reinterpret_cast<__m128i*>(Out), _mm_packus_epi16(first, second));
    return true;
#else
    uint8_t bytes[16];
    for (int i = 0; i < 16; ++i) {
        const int h = HexValues[static_cast<uint8_t>(In[2 * i])], l = HexValues[static_cast<uint8_t>(In[2 * i + 1])];
        if ((h | l) < 0)
            return false;
        bytes[i] = static_cast<uint8_t>(h * 16 + l);
    }
    std::memcpy(Out, bytes, 16);
    return true;
#endif
}

// Where the processor has 256-bit integer vectors: whole lines of BytesPerLine bytes
// (64 digits) a vector at a time. Elsewhere these do nothing and the loops above them
// take every line.
#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#define OBJECT_TEXT_AVX2 1
#include <immintrin.h>

bool HasAvx2()
{
    static const bool has = __builtin_cpu_supports("avx2");
    return has;
}

// Whole lines of Count bytes at In into text at p (moved past them), each line a
// break and indent of LineStart characters (the first LineStart of the 16 at Head)
// then its digits; answers the bytes done, all but a last part line.
__attribute__((target("avx2"))) int64_t WriteLinesAvx2Body(const uint8_t* In, int64_t Count, char*& p, const char* Head, size_t LineStart)
{
    const __m256i digits = _mm256_setr_epi8('0', '1', '2', '3', '4', '5', '6', '7', '8', '9', 'A', 'B', 'C', 'D', 'E', 'F',
                                            '0', '1', '2', '3', '4', '5', '6', '7', '8', '9', 'A', 'B', 'C', 'D', 'E', 'F');
    const __m256i low4 = _mm256_set1_epi8(0x0F);
    const __m128i head = _mm_loadu_si128(reinterpret_cast<const __m128i*>(Head));
    char* out = p;
    int64_t at = 0;
    for (; at + BytesPerLine <= Count; at += BytesPerLine) {
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out), head);
        out += LineStart;
        const __m256i v = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(In + at));
        const __m256i high = _mm256_and_si256(_mm256_srli_epi16(v, 4), low4), low = _mm256_and_si256(v, low4);
        // Within each half: the nibbles of its first eight bytes, then of its last eight.
        const __m256i first = _mm256_unpacklo_epi8(high, low), second = _mm256_unpackhi_epi8(high, low);
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(out), _mm256_shuffle_epi8(digits, _mm256_permute2x128_si256(first, second, 0x20)));
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + 32), _mm256_shuffle_epi8(digits, _mm256_permute2x128_si256(first, second, 0x31)));
        out += 2 * BytesPerLine;
    }
    p = out;
    return at;
}

// The 64 characters at In, when all are hex digits (either case), as 32 bytes into Out,
// and true; else false, Out untouched.
__attribute__((target("avx2"))) inline bool ReadHex64Avx2(const char* In, uint8_t* Out)
{
    const __m256i nine = _mm256_set1_epi8(9), five = _mm256_set1_epi8(5), zero = _mm256_set1_epi8('0'),
                  a = _mm256_set1_epi8('a'), caseBit = _mm256_set1_epi8(0x20), ten = _mm256_set1_epi8(10),
                  weights = _mm256_set1_epi16(0x0110);
    // Each pair's first digit times 16 plus its second, as a 16-bit lane, for each half.
    __m256i valid = _mm256_set1_epi8(-1);
    __m256i pairs[2];
    for (int h = 0; h < 2; ++h) {
        const __m256i c = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(In + 32 * h));
        const __m256i d = _mm256_sub_epi8(c, zero);
        const __m256i l = _mm256_sub_epi8(_mm256_or_si256(c, caseBit), a);
        const __m256i isDigit = _mm256_cmpeq_epi8(_mm256_min_epu8(d, nine), d);
        const __m256i isLetter = _mm256_cmpeq_epi8(_mm256_min_epu8(l, five), l);
        valid = _mm256_and_si256(valid, _mm256_or_si256(isDigit, isLetter));
        pairs[h] = _mm256_maddubs_epi16(_mm256_blendv_epi8(_mm256_add_epi8(l, ten), d, isDigit), weights);
    }
    if (_mm256_movemask_epi8(valid) != -1)
        return false;
    // packus interleaves the halves; the permutation puts the bytes back in order.
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(Out), _mm256_permute4x64_epi64(_mm256_packus_epi16(pairs[0], pairs[1]), 0xD8));
    return true;
}

// Lines of the text from p: runs of 64 digits and line breaks each followed by blanks,
// into the bytes at Out + q (below Room), until anything else (p, q and Line moved past
// what is read).
__attribute__((target("avx2"))) void ReadLinesAvx2Body(const char* s, size_t Size, size_t& P, uint8_t* Out, size_t& Q, size_t Room, int& Line)
{
    size_t p = P, q = Q;
    for (;;) {
        if (p + 1 < Size && s[p] == '\r' && s[p + 1] == '\n') {
            ++Line;
            p += 2;
            while (p < Size && s[p] == ' ')
                ++p;
        } else if (p + 64 <= Size && q + 32 <= Room && ReadHex64Avx2(s + p, Out + q)) {
            p += 64;
            q += 32;
        } else {
            break;
        }
    }
    P = p;
    Q = q;
}
#endif

int64_t WriteLinesAvx2([[maybe_unused]] const uint8_t* In, [[maybe_unused]] int64_t Count, [[maybe_unused]] char*& p,
                       [[maybe_unused]] const char* Head, [[maybe_unused]] size_t LineStart)
{
#if defined(OBJECT_TEXT_AVX2)
    if (HasAvx2())
        return WriteLinesAvx2Body(In, Count, p, Head, LineStart);
#endif
    return 0;
}

void ReadLinesAvx2([[maybe_unused]] const char* s, [[maybe_unused]] size_t Size, [[maybe_unused]] size_t& P,
                   [[maybe_unused]] uint8_t* Out, [[maybe_unused]] size_t& Q, [[maybe_unused]] size_t Room, [[maybe_unused]] int& Line)
{
#if defined(OBJECT_TEXT_AVX2)
    if (HasAvx2())
        ReadLinesAvx2Body(s, Size, P, Out, Q, Room, Line);
#endif
}

// Blocks from this size on are converted in parts on threads of their own: started for
// the block alone, so that no part waits on other work, and only where the time saved is
// far more than the start of a thread.
constexpr int64_t ParallelBytes = int64_t(4) << 20;
constexpr int64_t BytesPerPart = int64_t(2) << 20;
constexpr int MaxParts = 4;

int Parts(int64_t Bytes)
{
    if (Bytes < ParallelBytes)
        return 1;
    static const int cores = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
    return static_cast<int>(std::min<int64_t>({MaxParts, cores, Bytes / BytesPerPart}));
}

// Part(k) for k below Count, the first on this thread; a part whose thread cannot be
// started runs here too. Part must not throw.
template <class F>
void RunParts(int Count, const F& Part)
{
    std::vector<std::thread> threads;
    threads.reserve(static_cast<size_t>(std::max(Count - 1, 0)));   // no allocation once threads run
    for (int k = 1; k < Count; ++k) {
        try {
            threads.emplace_back(Part, k);
        } catch (const std::system_error&) {
            Part(k);
        }
    }
    Part(0);
    for (auto& t : threads)
        t.join();
}

// What one part of a block gave: where it stopped, its bytes and line breaks, and
// whether its digits made whole bytes that fitted.
struct TPart {
    size_t Stop = 0;
    size_t Bytes = 0;
    int Lines = 0;
    bool Whole = false;
};

// The bytes of the text from From up to To or to the first character that is neither a
// hex digit nor a blank (space, tab, CR, LF), into at most Room bytes at Out. A CR
// followed by LF is one line break, as is a CR or LF alone.
TPart DecodePart(const char* s, size_t From, size_t To, uint8_t* Out, size_t Room)
{
    size_t p = From, q = 0;
    int high = -1, lines = 0;
    while (p < To) {
        if (high < 0) {
            ReadLinesAvx2(s, To, p, Out, q, Room, lines);
            while (p + 32 <= To && q + 16 <= Room && HexValues[static_cast<uint8_t>(s[p])] >= 0 && ReadHex32(s + p, Out + q)) {
                q += 16;
                p += 32;
            }
            if (p >= To)
                break;
        }
        const char c = s[p];
        const int d = HexValues[static_cast<uint8_t>(c)];
        if (d == -2)
            break;
        ++p;
        if (d < 0) {
            if (c == '\n' || (c == '\r' && (p >= To || s[p] != '\n')))
                ++lines;
        } else if (high < 0) {
            high = d;
        } else {
            if (q >= Room)
                return {p, q, lines, false};
            Out[q++] = static_cast<uint8_t>(high * 16 + d);
            high = -1;
        }
    }
    return {p, q, lines, high < 0};
}

// The text being written, straight into a memory stream behind what it holds.
class TTextOut {
public:
    explicit TTextOut(TMemoryStream* Stream) : FStream(Stream) {}
    TTextOut& operator+=(std::string_view Text)
    {
        if (!Text.empty())
            std::memcpy(Room(Text.size()), Text.data(), Text.size());
        return *this;
    }
    TTextOut& operator+=(char c)
    {
        *Room(1) = c;
        return *this;
    }
    void append(size_t Count, char c)
    {
        if (Count != 0)
            std::memset(Room(Count), c, Count);
    }
    // Count more characters, for the caller to fill.
    char* Room(size_t Count) { return FStream->Extend(static_cast<int64_t>(Count)); }

private:
    TMemoryStream* FStream;
};

// A float in the shortest digits that read back as the same value: fixed notation with a
// point for exponents from -5 to 14 ("0.5", "100.0"), else "1.5E20" or "1E-7".
template <class F>
std::string FloatText(F value)
{
    if (std::isnan(value))
        return "NAN";
    if (std::isinf(value))
        return value < 0 ? "-INF" : "INF";
    char buf[64];
    auto res = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::scientific);
    std::string sci(buf, res.ptr);   // "-d.ddde+XX"
    std::string sign;
    if (sci[0] == '-') {
        sign = "-";
        sci.erase(0, 1);
    }
    auto e = sci.find('e');
    int exp10 = std::stoi(sci.substr(e + 1));
    std::string digits = sci.substr(0, e);
    if (digits.size() > 1)
        digits.erase(1, 1);   // the point
    if (exp10 >= -5 && exp10 < 15) {
        std::string intPart, frac;
        if (exp10 >= 0) {
            if (digits.size() <= static_cast<size_t>(exp10) + 1) {
                intPart = digits + std::string(static_cast<size_t>(exp10) + 1 - digits.size(), '0');
            } else {
                intPart = digits.substr(0, static_cast<size_t>(exp10) + 1);
                frac = digits.substr(static_cast<size_t>(exp10) + 1);
            }
        } else {
            intPart = "0";
            frac = std::string(static_cast<size_t>(-exp10 - 1), '0') + digits;
        }
        return sign + intPart + "." + (frac.empty() ? std::string("0") : frac);
    }
    std::string mantissa = digits.substr(0, 1);
    if (digits.size() > 1)
        mantissa += "." + digits.substr(1);
    return sign + mantissa + "E" + std::to_string(exp10);
}

// A currency held as ten-thousandths, written exactly.
std::string CurrencyText(int64_t scaled)
{
    uint64_t magnitude = scaled < 0 ? 0 - static_cast<uint64_t>(scaled) : static_cast<uint64_t>(scaled);
    std::string s = (scaled < 0 ? "-" : "") + std::to_string(magnitude / 10000);
    if (uint64_t frac = magnitude % 10000) {
        std::string f = std::to_string(frac);
        f = std::string(4 - f.size(), '0') + f;
        while (f.back() == '0')
            f.pop_back();
        s += "." + f;
    }
    return s;
}

// ---- binary to text -------------------------------------------------------------------

class TBinaryToText {
public:
    TBinaryToText(TStream* Input, TMemoryStream* Output) : R(Input), Out(Output) {}

    void Convert()
    {
        R.ReadSignature();
        ConvertObject();
    }

private:
    void Indent() { Out.append(static_cast<size_t>(2 * Level), ' '); }
    void NewLine()
    {
        Out += LineBreak;
        Indent();
    }
    void Enter()
    {
        if (++Depth > MaxNesting)
            throw EReadError(SInvalidImage);
    }

    void ConvertObject()
    {
        Enter();
        std::string className = R.ReadStr();
        std::string name = R.ReadStr();
        Indent();
        Out += "object ";
        if (!name.empty())
            Out += name + ": ";
        Out += className;
        Out += LineBreak;
        ++Level;
        while (!R.EndOfList())
            ConvertProperty();
        R.ReadListEnd();
        while (!R.EndOfList())
            ConvertObject();
        R.ReadListEnd();
        --Level;
        Indent();
        Out += "end";
        Out += LineBreak;
        --Depth;
    }

    void ConvertProperty()
    {
        std::string name = R.ReadStr();
        Indent();
        Out += name + " = ";
        ConvertValue();
        Out += LineBreak;
    }

    void ConvertValue()
    {
        uint8_t b[10];
        switch (R.NextValue()) {
        case TValueType::vaList:
            Enter();
            R.ReadValue();
            Out += "(";
            ++Level;
            while (!R.EndOfList()) {
                NewLine();
                ConvertValue();
            }
            R.ReadListEnd();
            --Level;
            Out += ")";
            --Depth;
            return;
        case TValueType::vaInt8:
        case TValueType::vaInt16:
        case TValueType::vaInt32:
        case TValueType::vaInt64:
            Out += std::to_string(R.ReadInt64());
            return;
        case TValueType::vaExtended:
        case TValueType::vaDouble:
            Out += FloatText(R.ReadFloat());
            return;
        case TValueType::vaSingle:
            Out += FloatText(static_cast<float>(R.ReadFloat())) + "s";
            return;
        case TValueType::vaCurrency:
            R.ReadValue();
            R.Read(b, 8);
            Out += CurrencyText(static_cast<int64_t>(GetLE(b, 8))) + "c";
            return;
        case TValueType::vaDate:
            Out += FloatText(R.ReadFloat()) + "d";
            return;
        case TValueType::vaString:
        case TValueType::vaLString:
        case TValueType::vaUTF8String:
        case TValueType::vaWString:
            ConvertString(R.ReadString());
            return;
        case TValueType::vaIdent:
        case TValueType::vaFalse:
        case TValueType::vaTrue:
        case TValueType::vaNil:
        case TValueType::vaNull:
            Out += R.ReadIdent();
            return;
        case TValueType::vaBinary:
            ConvertBinary();
            return;
        case TValueType::vaSet: {
            R.ReadValue();
            Out += "[";
            bool first = true;
            for (std::string s = R.ReadStr(); !s.empty(); s = R.ReadStr()) {
                if (!first)
                    Out += ", ";
                Out += s;
                first = false;
            }
            Out += "]";
            return;
        }
        case TValueType::vaCollection:
            Enter();
            R.ReadValue();
            Out += "<";
            ++Level;
            while (!R.EndOfList()) {
                NewLine();
                Out += "item";
                Out += LineBreak;
                R.ReadListBegin();
                ++Level;
                while (!R.EndOfList())
                    ConvertProperty();
                R.ReadListEnd();
                --Level;
                Indent();
                Out += "end";
            }
            R.ReadListEnd();
            --Level;
            Out += ">";
            --Depth;
            return;
        default:
            throw EReadError(SInvalidPropertyValue);
        }
    }

    // Printable ASCII runs in quotes (a quote doubled), every other character as #n, its
    // code point (a byte that starts no UTF-8 sequence as itself); a string longer than
    // one line starts on a new line and continues in pieces joined by " +".
    void ConvertString(const std::string& s)
    {
        const size_t n = s.size();
        if (n == 0) {
            Out += "''";
            return;
        }
        ++Level;
        if (n > static_cast<size_t>(LineLength))
            NewLine();
        size_t i = 0, lineStart = 0;
        while (i < n) {
            bool lineBreak = false;
            auto printable = [](char c) { return static_cast<unsigned char>(c) >= ' ' && static_cast<unsigned char>(c) < 0x80; };
            if (printable(s[i])) {
                size_t j = i;
                while (i < n && printable(s[i]) && i - lineStart < static_cast<size_t>(LineLength))
                    ++i;
                if (i - lineStart >= static_cast<size_t>(LineLength))
                    lineBreak = true;
                Out += '\'';
                for (size_t k = j; k < i; ++k) {
                    if (s[k] == '\'')
                        Out += '\'';
                    Out += s[k];
                }
                Out += '\'';
            } else {
                Out += "#" + std::to_string(NextCodePoint(s, i));
                if (i - lineStart >= static_cast<size_t>(LineLength))
                    lineBreak = true;
            }
            if (lineBreak && i < n) {
                Out += " +";
                NewLine();
                lineStart = i;
            }
        }
        --Level;
    }

    // The code point of the UTF-8 sequence at i, which i passes; a byte that starts no
    // whole sequence is taken alone, as its own value.
    static uint32_t NextCodePoint(const std::string& s, size_t& i)
    {
        char32_t c = 0;
        if (TryNextUtf8Char(s, i, c))
            return c;
        return static_cast<unsigned char>(s[i++]);
    }

    void ConvertBinary()
    {
        R.ReadValue();
        int64_t count = R.ReadLength();
        const bool multiLine = count >= BytesPerLine;
        Out += '{';
        ++Level;
        // Lines of BytesPerLine bytes, each on a new line when there are several; the
        // text of a run of lines is laid out in one piece.
        const size_t lineStart = multiLine ? LineBreak.size() + 2 * static_cast<size_t>(Level) : 0;
        // A line's start (its break and indent) is stored at once from a copy padded with
        // blanks, the digits written after it over the padding; where the line is too
        // short to take the padding, or the indent too deep, it is written as it is.
        std::array<char, 16> head;
        head.fill(' ');
        std::memcpy(head.data(), LineBreak.data(), LineBreak.size());
        auto writeLines = [&](const uint8_t* In, int64_t Count, char* p) {
            int64_t at = 0;
            if (multiLine && lineStart <= head.size())
                at = WriteLinesAvx2(In, Count, p, head.data(), lineStart);
            for (; at < Count; at += BytesPerLine) {
                if (multiLine) {
                    if (lineStart + 2 * static_cast<size_t>(std::min<int64_t>(Count - at, BytesPerLine)) >= head.size() &&
                        lineStart <= head.size()) {
                        std::memcpy(p, head.data(), head.size());
                    } else {
                        std::memcpy(p, LineBreak.data(), LineBreak.size());
                        std::memset(p + LineBreak.size(), ' ', lineStart - LineBreak.size());
                    }
                    p += lineStart;
                }
                const int64_t k = std::min<int64_t>(Count - at, BytesPerLine);
                WriteHex(In + at, k, p);
                p += 2 * k;
            }
        };
        auto textSize = [&](int64_t Count) {
            return static_cast<size_t>((Count + BytesPerLine - 1) / BytesPerLine) * lineStart + 2 * static_cast<size_t>(Count);
        };
        if (auto* memory = dynamic_cast<TMemoryStream*>(R.Stream())) {
            // Bytes in memory are read where they are.
            const auto* in = reinterpret_cast<const uint8_t*>(memory->Memory()) + memory->Position();
            memory->Seek(count, TSeekOrigin::soCurrent);
            char* text = Out.Room(textSize(count));
            // A large block is laid out in parts on threads of its own, each part whole
            // lines at their known place; the text is the same as from one thread.
            const int parts = Parts(count);
            const int64_t lines = (count + BytesPerLine - 1) / BytesPerLine;
            RunParts(parts, [&](int k) {
                const int64_t first = lines * k / parts, last = lines * (k + 1) / parts;
                const int64_t from = first * BytesPerLine, to = std::min(last * BytesPerLine, count);
                writeLines(in + from, to - from, text + textSize(from));
            });
        } else {
            constexpr int64_t Chunk = BytesPerLine * 2048;
            std::vector<uint8_t> buf(static_cast<size_t>(std::min(count, Chunk)));
            while (count > 0) {
                const int64_t n = std::min(count, Chunk);
                R.Read(buf.data(), n);
                writeLines(buf.data(), n, Out.Room(textSize(n)));
                count -= n;
            }
        }
        --Level;
        Out += '}';
    }

    TReader R;
    TTextOut Out;
    int Level = 0;
    int Depth = 0;
};

// ---- text to binary -------------------------------------------------------------------

enum class TTokenKind { End, Symbol, String, Integer, Float, Char };

class TTextToBinary {
public:
    // Source stays the caller's while the converter lives.
    TTextToBinary(std::string_view Source, TMemoryStream* Output) : S(Source), Out(Output), W(Output)
    {
        if (S.compare(0, 3, "\xEF\xBB\xBF") == 0)
            P = 3;
        Next();
    }

    void Convert()
    {
        W.WriteSignature();
        // The root object is the first level, as the reader and the way back count it, so
        // that every text read here can be read as a stream and written as text again.
        ConvertObject(1);
    }

private:
    [[noreturn]] void Error(const std::string& Msg) const
    {
        throw EParserError(Msg + " on line " + std::to_string(Line));
    }

    bool IsSymbol(const char* Word) const { return Kind == TTokenKind::Symbol && SameText(Text, Word); }
    bool IsChar(char c) const { return Kind == TTokenKind::Char && Ch == c; }
    void ExpectChar(char c)
    {
        if (!IsChar(c))
            Error(std::string("'") + c + "' expected");
        Next();
    }
    std::string ExpectIdent()
    {
        if (Kind != TTokenKind::Symbol)
            Error("Identifier expected");
        std::string s = Text;
        Next();
        return s;
    }
    // An identifier with dotted parts ("Font.Size", "Form1.Series1").
    std::string ExpectDottedIdent()
    {
        std::string s = ExpectIdent();
        while (IsChar('.')) {
            Next();
            s += "." + ExpectIdent();
        }
        return s;
    }

    static bool IsIdentStart(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; }
    static bool IsDigit(char c) { return c >= '0' && c <= '9'; }
    static bool IsHexDigit(char c) { return IsDigit(c) || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f'); }
    static int HexValue(char c) { return IsDigit(c) ? c - '0' : (c | 0x20) - 'a' + 10; }

    void AppendCode(std::string& out, uint32_t code) const
    {
        // Every escape is a code point.
        if (code <= 0x10FFFF) {
            AppendUtf8(out, code);
        } else {
            Error("Invalid string constant");
        }
    }

    void SkipBlanks()
    {
        while (P < S.size()) {
            char c = S[P];
            if (c == '\n' || (c == '\r' && (P + 1 >= S.size() || S[P + 1] != '\n')))
                ++Line;
            if (c != ' ' && c != '\t' && c != '\r' && c != '\n')
                break;
            ++P;
        }
    }

    void Next()
    {
        SkipBlanks();
        Text.clear();
        if (P >= S.size()) {
            Kind = TTokenKind::End;
            return;
        }
        char c = S[P];
        if (IsIdentStart(c)) {
            size_t start = P;
            while (P < S.size() && (IsIdentStart(S[P]) || IsDigit(S[P])))
                ++P;
            Kind = TTokenKind::Symbol;
            Text = S.substr(start, P - start);
        } else if (c == '\'' || c == '#') {
            ScanString();
        } else if (IsDigit(c) || c == '$' || (c == '-' && P + 1 < S.size() && (IsDigit(S[P + 1]) || S[P + 1] == '$'))) {
            ScanNumber();
        } else {
            Kind = TTokenKind::Char;
            Ch = c;
            ++P;
        }
    }

    void ScanString()
    {
        Kind = TTokenKind::String;
        for (;;) {
            if (P < S.size() && S[P] == '\'') {
                ++P;
                for (;;) {
                    if (P >= S.size() || S[P] == '\r' || S[P] == '\n')
                        Error("Invalid string constant");
                    if (S[P] == '\'') {
                        if (P + 1 < S.size() && S[P + 1] == '\'') {
                            Text += '\'';
                            P += 2;
                            continue;
                        }
                        ++P;
                        break;
                    }
                    Text += S[P++];
                }
            } else if (P < S.size() && S[P] == '#') {
                ++P;
                uint32_t code = 0;
                size_t start = P;
                if (P < S.size() && S[P] == '$') {
                    ++P;
                    start = P;
                    while (P < S.size() && IsHexDigit(S[P]) && code <= 0x10FFFF)
                        code = code * 16 + static_cast<uint32_t>(HexValue(S[P++]));
                } else {
                    while (P < S.size() && IsDigit(S[P]) && code <= 0x10FFFF)
                        code = code * 10 + static_cast<uint32_t>(S[P++] - '0');
                }
                if (P == start)
                    Error("Invalid string constant");
                AppendCode(Text, code);
            } else {
                return;
            }
        }
    }

    void ScanNumber()
    {
        size_t start = P;
        bool negative = false;
        if (S[P] == '-') {
            negative = true;
            ++P;
        }
        if (S[P] == '$') {
            ++P;
            size_t digits = P;
            uint64_t v = 0;
            while (P < S.size() && IsHexDigit(S[P])) {
                if (v >> 60)
                    Error("Number out of range");
                v = v * 16 + static_cast<uint64_t>(HexValue(S[P++]));
            }
            if (P == digits)
                Error("Number expected");
            Kind = TTokenKind::Integer;
            Int = static_cast<int64_t>(negative ? 0 - v : v);
            return;
        }
        bool isFloat = false;
        while (P < S.size() && IsDigit(S[P]))
            ++P;
        if (P + 1 < S.size() && S[P] == '.' && IsDigit(S[P + 1])) {
            isFloat = true;
            ++P;
            while (P < S.size() && IsDigit(S[P]))
                ++P;
        }
        if (P < S.size() && (S[P] == 'E' || S[P] == 'e')) {
            size_t q = P + 1;
            if (q < S.size() && (S[q] == '+' || S[q] == '-'))
                ++q;
            if (q < S.size() && IsDigit(S[q])) {
                isFloat = true;
                P = q;
                while (P < S.size() && IsDigit(S[P]))
                    ++P;
            }
        }
        std::string number(S.substr(start, P - start));
        FloatType = 0;
        if (P < S.size() && std::strchr("sScCdD", S[P]) != nullptr &&
            (P + 1 >= S.size() || !(IsIdentStart(S[P + 1]) || IsDigit(S[P + 1])))) {
            FloatType = static_cast<char>(S[P] | 0x20);
            isFloat = true;
            ++P;
        }
        if (isFloat) {
            Kind = TTokenKind::Float;
            // A single is read as a single, so that its shortest digits give it back.
            std::errc ec;
            const char* end;
            if (FloatType == 's') {
                float f = 0;
                auto res = std::from_chars(number.data(), number.data() + number.size(), f);
                ec = res.ec;
                end = res.ptr;
                Float = f;
            } else {
                auto res = std::from_chars(number.data(), number.data() + number.size(), Float);
                ec = res.ec;
                end = res.ptr;
            }
            if (ec != std::errc() || end != number.data() + number.size())
                Error("Number expected");
        } else {
            Kind = TTokenKind::Integer;
            auto res = std::from_chars(number.data(), number.data() + number.size(), Int);
            if (res.ec == std::errc::result_out_of_range)
                Error("Number out of range");
            if (res.ec != std::errc() || res.ptr != number.data() + number.size())
                Error("Number expected");
        }
    }

    void ConvertObject(int Depth)
    {
        if (Depth > MaxNesting)
            Error(SInvalidImage);
        if (!IsSymbol("object"))
            Error("'object' expected");
        Next();
        std::string first = ExpectIdent();
        std::string name, className;
        if (IsChar(':')) {
            Next();
            name = first;
            className = ExpectIdent();
        } else {
            className = first;
        }
        W.WriteStr(className);
        W.WriteStr(name);
        while (!IsSymbol("end") && !IsSymbol("object"))
            ConvertProperty(Depth);
        W.WriteListEnd();
        while (IsSymbol("object"))
            ConvertObject(Depth + 1);
        if (!IsSymbol("end"))
            Error("'end' expected");
        Next();
        W.WriteListEnd();
    }

    void ConvertProperty(int Depth)
    {
        std::string name = ExpectDottedIdent();
        ExpectChar('=');
        W.WriteStr(name);
        ConvertValue(Depth);
    }

    void ConvertValue(int Depth)
    {
        if (Depth > MaxNesting)
            Error(SInvalidImage);
        switch (Kind) {
        case TTokenKind::Integer:
            W.WriteInteger(Int);
            Next();
            return;
        case TTokenKind::Float:
            switch (FloatType) {
            case 's':
                W.WriteSingle(static_cast<float>(Float));
                break;
            case 'c':
                W.WriteCurrency(Float);
                break;
            case 'd':
                W.WriteDate(Float);
                break;
            default:
                W.WriteFloat(Float);
                break;
            }
            Next();
            return;
        case TTokenKind::String: {
            std::string s = Text;
            Next();
            while (IsChar('+')) {
                Next();
                if (Kind != TTokenKind::String)
                    Error("String expected");
                s += Text;
                Next();
            }
            W.WriteString(s);
            return;
        }
        case TTokenKind::Symbol:
            W.WriteIdent(ExpectDottedIdent());
            return;
        case TTokenKind::Char:
            break;
        case TTokenKind::End:
            Error("Invalid property value");
        }
        switch (Ch) {
        case '(':
            Next();
            W.WriteListBegin();
            while (!IsChar(')')) {
                if (Kind == TTokenKind::End)
                    Error("')' expected");
                ConvertValue(Depth + 1);
            }
            Next();
            W.WriteListEnd();
            return;
        case '[':
            Next();
            W.WriteValue(TValueType::vaSet);
            if (!IsChar(']')) {
                for (;;) {
                    W.WriteStr(ExpectIdent());
                    if (!IsChar(','))
                        break;
                    Next();
                }
            }
            ExpectChar(']');
            W.WriteStr(std::string());
            return;
        case '<':
            Next();
            W.WriteValue(TValueType::vaCollection);
            while (IsSymbol("item")) {
                Next();
                W.WriteListBegin();
                while (!IsSymbol("end"))
                    ConvertProperty(Depth + 1);
                Next();
                W.WriteListEnd();
            }
            ExpectChar('>');
            W.WriteListEnd();
            return;
        case '{':
            ConvertBinary();
            return;
        default:
            Error("Invalid property value");
        }
    }

    // The hex digits up to "}", blanks and line breaks between them ignored.
    void ConvertBinary()
    {
        const auto& Digits = HexValues;
        // The bytes are decoded straight into the output (written at its end), behind
        // their tag and room for their length, in room for as many bytes as the rest of
        // the text could give; what is not used is never touched and is cut off after.
        W.WriteValue(TValueType::vaBinary);
        const int64_t at = Out->Position();
        uint8_t len[4] = {};
        W.Write(len, 4);
        const int64_t start = at + 4;
        const char* s = S.data();
        const size_t size = S.size();
        size_t p = P, q = 0;
        auto* bytes = reinterpret_cast<uint8_t*>(Out->Extend(static_cast<int64_t>((size - p) / 2)));
        int high = -1;
        DecodeInParts(p, bytes, q);
        for (;;) {
            // Runs of 32 digits sixteen bytes at a time, the common case.
            if (high < 0 && p < size && (s[p] == '\r' || Digits[static_cast<uint8_t>(s[p])] >= 0))
                ReadLinesAvx2(s, size, p, bytes, q, (size - P) / 2, Line);
            if (high < 0 && p < size && Digits[static_cast<uint8_t>(s[p])] >= 0)
                while (p + 32 <= size && Digits[static_cast<uint8_t>(s[p])] >= 0 && ReadHex32(s + p, bytes + q)) {
                    q += 16;
                    p += 32;
                }
            if (p >= size) {
                P = p;
                Error("Invalid binary value");
            }
            const char c = s[p];
            const int d = Digits[static_cast<uint8_t>(c)];
            if (d >= 0) {
                if (high < 0) {
                    high = d;
                } else {
                    bytes[q++] = static_cast<uint8_t>(high * 16 + d);
                    high = -1;
                }
                ++p;
                continue;
            }
            if (d == -2) {
                if (c == '}')
                    break;
                P = p;
                Error("Invalid binary value");
            }
            // A line break and the indent of the next line, the common case, at once.
            if (c == '\r' && p + 1 < size && s[p + 1] == '\n') {
                ++Line;
                p += 2;
                while (p < size && s[p] == ' ')
                    ++p;
                continue;
            }
            ++p;
            if (c == '\n' || (c == '\r' && (p >= size || s[p] != '\n')))
                ++Line;
        }
        P = p + 1;   // past the "}"
        if (high >= 0 || q > static_cast<size_t>(std::numeric_limits<int32_t>::max()))
            Error("Invalid binary value");
        Out->SetSize(start + static_cast<int64_t>(q));
        for (int i = 0; i < 4; ++i)
            len[i] = static_cast<uint8_t>(q >> (8 * i));
        Out->SetPosition(at);
        W.Write(len, 4);
        Out->SetPosition(start + static_cast<int64_t>(q));
        Next();
    }

    // A large block decoded in parts on threads of their own, each part from a line
    // break at the place and into the bytes where the layout of the first line puts it
    // (a break, the indent, 64 digits); Count and From move past the block. Nothing is
    // done when the text is short, or when the parts do not join up (whole bytes each,
    // each ending where the next begins, the last at a "}"): the block is then read in
    // one pass, which also tells where a fault is.
    void DecodeInParts(size_t& From, uint8_t* Bytes, size_t& Count)
    {
        const size_t rest = S.size() - From, room = rest / 2;
        const int parts = Parts(static_cast<int64_t>(room));
        if (parts < 2 || S.compare(From, LineBreak.size(), LineBreak) != 0)
            return;
        size_t indent = From + LineBreak.size();
        while (indent < S.size() && S[indent] == ' ')
            ++indent;
        const size_t line = indent - From + 2 * BytesPerLine;
        const auto n = static_cast<size_t>(parts);
        std::vector<size_t> starts(n + 1, S.size()), at(n + 1, room);
        for (size_t k = 0; k < n; ++k) {
            const size_t lines = rest * k / n / line;
            starts[k] = From + lines * line;
            at[k] = lines * BytesPerLine;
            if (S.compare(starts[k], LineBreak.size(), LineBreak) != 0)
                return;
        }
        std::vector<TPart> done(n);
        RunParts(parts, [&](int k) {
            const auto i = static_cast<size_t>(k);
            done[i] = DecodePart(S.data(), starts[i], starts[i + 1], Bytes + at[i], at[i + 1] - at[i]);
        });
        int lines = 0;
        for (size_t k = 0; k < n; ++k) {
            if (!done[k].Whole)
                return;
            lines += done[k].Lines;
            if (done[k].Stop < starts[k + 1]) {
                if (S[done[k].Stop] != '}')
                    return;
                Count = at[k] + done[k].Bytes;
                Line += lines;
                From = done[k].Stop;
                return;
            }
            if (at[k] + done[k].Bytes != at[k + 1])
                return;
        }
    }

    std::string_view S;
    TMemoryStream* Out;
    size_t P = 0;
    int Line = 1;
    TTokenKind Kind = TTokenKind::End;
    std::string Text;
    int64_t Int = 0;
    double Float = 0;
    char FloatType = 0;
    char Ch = 0;
    TWriter W;
};

} // namespace

void ObjectBinaryToText(TStream* Input, TStream* Output)
{
    // A memory stream written at its end (not the input, which is read in place) takes
    // the text directly and is cut back on an error; any other gets it whole at the end.
    // Binary data takes a little over twice its size in text, and memory reserved beyond
    // what is used is never touched.
    auto* memory = dynamic_cast<TMemoryStream*>(Output);
    if (memory != nullptr && Output != Input && memory->Position() == memory->Size()) {
        const int64_t end = memory->Size();
        TScopeGuard cutBack([memory, end] { memory->SetSize(end); });
        memory->Reserve(end + 5 * std::max<int64_t>(Input->Size() - Input->Position(), 0) / 2 + 4096);
        TBinaryToText(Input, memory).Convert();
        cutBack.Dismiss();
        memory->SetPosition(memory->Size());
        return;
    }
    TMemoryStream text;
    text.Reserve(5 * std::max<int64_t>(Input->Size() - Input->Position(), 0) / 2 + 4096);
    TBinaryToText(Input, &text).Convert();
    Output->WriteBuffer(text.Memory(), text.Size());
}

void ObjectTextToBinary(TStream* Input, TStream* Output)
{
    const int64_t size = std::max<int64_t>(Input->Size() - Input->Position(), 0);
    // A memory stream's text is read where it is; another stream's is read into a memory
    // stream's memory, which the read fills (not cleared first) and which a large text
    // gets in large pages.
    TMemoryStream copy;
    std::string_view text;
    if (auto* m = dynamic_cast<TMemoryStream*>(Input)) {
        text = std::string_view(m->Memory() + m->Position(), static_cast<size_t>(size));
        m->Seek(size, TSeekOrigin::soCurrent);
    } else {
        copy.Reserve(size);
        Input->ReadBuffer(copy.Extend(size), size);
        text = std::string_view(copy.Memory(), static_cast<size_t>(size));
    }
    // A text with an error leaves Output as it was: a memory stream written at its end
    // (not the input, whose text is read in place) takes the bytes directly and is cut
    // back on an error; any other gets them whole at the end.
    auto* memory = dynamic_cast<TMemoryStream*>(Output);
    if (memory != nullptr && Output != Input && memory->Position() == memory->Size()) {
        TScopeGuard cutBack([memory, end = memory->Size()] {
            memory->SetSize(end);
            memory->SetPosition(end);
        });
        TTextToBinary(text, memory).Convert();
        cutBack.Dismiss();
        return;
    }
    TMemoryStream binary;
    TTextToBinary(text, &binary).Convert();
    Output->WriteBuffer(binary.Memory(), binary.Size());
}
