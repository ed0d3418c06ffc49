#include "Unit2/BandCore.h"

#include "Lev_Marq.h"
#include "RNDUNIT.h"
#include "system/Parallel.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <exception>
#include <mutex>

#if defined(__x86_64__)
// GCC 12 takes the deliberately undefined start values inside the 512-bit intrinsics for
// uninitialised ones.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#endif
#include <immintrin.h>
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic pop
#endif
#endif
#if defined(__GLIBC__)
#include <dlfcn.h>
#endif

// How the band is spread over the cores with the numbers of the one-by-one computation:
// - The uniforms X[n] = X[n-17] - X[n-5] (mod 1) are exact sums of multiples of 2^-53 once
//   the 17 values of the history are (a few draws after seeding), so the generator is then
//   a linear recurrence modulo 2^53 and its history any number of steps ahead follows from
//   a power of its 17 x 17 step matrix. The stream is cut into pieces that are made apart.
// - A normal takes one uniform, sometimes more; where the normals start is found by decoding
//   each piece from its first uniform as if a normal started there. Decodings that start
//   out of step fall into step within a few normals; the seams are then mended one after
//   the other from the true end of the piece before.
// - The draws (2N normals each) are evaluated in parallel, a chunk of draws at a time with
//   each draw's operations in the one-by-one order; each point's variance is summed in draw
//   order, as one by one.
// Anything the fast path cannot make exactly (a history off the grid, a tail draw meeting a
// zero uniform, a normal running past its piece's margin) falls back to the one-by-one way.

namespace {

// Cp of the sum with u capped at 700; x holds a_j, Theta_j pairs.
inline double SumAt(const double* x, int N, double T)
{
    return EinsteinSum(N, x, x + 1, 2, T, false);
}

// (c - c0)^2 of one draw from its normals z[0..n-1].
inline double DrawDeviation(const double* z, const double* coef, const double* unc, int N, double t, double c0)
{
    double p[20];
    for (int k = 0; k < 2 * N; ++k)
        p[k] = z[k] * unc[k] + coef[k];
    const double d = SumAt(p, N, t) - c0;
    return d * d;
}

// The C library's exp is its exponential core behind a wrapper that sets errno on
// overflow and underflow; the wrapper is inside the library, so compiling without errno
// does not avoid it, and it costs the inner loop about 2.6 ns of its 3.7 per call. Where
// the core is exported on its own it is called directly, once it gives the library's
// values; anywhere else std::exp is used, with the same numbers.
using TExp = double (*)(double);

double LibraryExp(double x)
{
    return std::exp(x);
}

TExp FindExpCore()
{
#if defined(__GLIBC__) && defined(__x86_64__)
    if (void* found = dlvsym(RTLD_DEFAULT, "__exp_finite", "GLIBC_2.15")) {
        const TExp core = reinterpret_cast<TExp>(found);
        for (double x : {0.0, -1e-9, -0.1, -0.5, -1.0, -3.7, -10.0, -123.456, -700.0, -745.1, 1.0, 700.0})
            if (core(x) != std::exp(x))
                return LibraryExp;
        return core;
    }
#endif
    return LibraryExp;
}

const TExp ExpCore = FindExpCore();

// Draws evaluated a chunk at a time and term by term across the chunk, so that the
// divisions run side by side and the exponentials back to back. Every draw's Cp is made
// with the operations of SumAt and EinsteinE in their order, so the numbers are theirs.
constexpr int EvalChunk = 64;

struct TDrawChunk {
    const double* Z[EvalChunk];   // each draw's 2N normals
    double T[EvalChunk];
    double C0[EvalChunk];
    int Count = 0;
};

// (c - c0)^2 of the chunk's draws into d2[0..Count-1].
void EvaluateChunk(const TDrawChunk& ch, const double* coef, const double* unc, int N, double* d2)
{
    const int m = ch.Count;
    double c[EvalChunk];
    double a[EvalChunk];
    double u[EvalChunk];
    double q[EvalChunk];
    double e[EvalChunk];
    double den[EvalChunk];
    for (int b = 0; b < m; ++b)
        c[b] = 0.0;
    for (int j = 0; j < N; ++j) {
        const double ca = coef[2 * j];
        const double ua = unc[2 * j];
        const double ct = coef[2 * j + 1];
        const double ut = unc[2 * j + 1];
        for (int b = 0; b < m; ++b) {
            a[b] = ch.Z[b][2 * j] * ua + ca;
            CappedU(ch.Z[b][2 * j + 1] * ut + ct, ch.T[b], false, u[b]);
        }
        for (int b = 0; b < m; ++b)
            q[b] = ExpCore(-u[b]);
        // EinsteinE for u > 0, with OneMinusQ cut in two loops: the loops without calls
        // run on vectors.
        for (int b = 0; b < m; ++b)
            den[b] = 1.0 - q[b];
        for (int b = 0; b < m; ++b)
            if (!(u[b] > 0.5))
                den[b] = OneMinusQ(u[b], q[b]);
        for (int b = 0; b < m; ++b)
            e[b] = EinsteinEFromQ(u[b], q[b], den[b]);
        for (int b = 0; b < m; ++b)
            if (!(u[b] > 0.0))
                e[b] = EinsteinE(u[b]);
        for (int b = 0; b < m; ++b)
            c[b] += ThreeR * a[b] * e[b];
    }
    for (int b = 0; b < m; ++b) {
        const double d = c[b] - ch.C0[b];
        d2[b] = d * d;
    }
}

void CheckArguments(const std::vector<double>& coef, const std::vector<double>& unc, int N)
{
    if (N < 0 || N > 10 || static_cast<int>(coef.size()) < 2 * N || static_cast<int>(unc.size()) < 2 * N)
        throw ERangeError();
}

std::vector<double> FittedCurve(const std::vector<double>& coef, int N, int M, const TPointArray& T)
{
    std::vector<double> c0(static_cast<std::size_t>(std::max(M, 0)));
    for (int i = 1; i <= M; ++i)
        c0[i - 1] = SumAt(coef.data(), N, T[i]);
    return c0;
}

TBandPoint BandPoint(double t, double c0, double var)
{
    const double sd = std::sqrt(var / BandDraws);
    return {t, c0 + 3 * sd, c0 - 3 * sd};
}

// ---- the generator modulo 2^53 ------------------------------------------------------

constexpr double Two53 = 9007199254740992.0;
constexpr double InverseTwo53 = 1.0 / Two53;   // a power of two: multiplying is exact
constexpr uint64_t Mask53 = (uint64_t(1) << 53) - 1;
using THistory = TUniformHistory;
using TMatrix = std::array<uint64_t, UniformLag * UniformLag>;

bool OnGrid(const THistory& h)
{
    for (double v : h) {
        const double scaled = v * Two53;
        if (!(v >= 0 && v < 1) || scaled != std::floor(scaled))
            return false;
    }
    return true;
}

TMatrix Multiply(const TMatrix& a, const TMatrix& b)
{
    TMatrix c{};
    for (int r = 0; r < UniformLag; ++r)
        for (int k = 0; k < UniformLag; ++k) {
            const uint64_t f = a[r * UniformLag + k];
            if (f == 0)
                continue;
            for (int col = 0; col < UniformLag; ++col)
                c[r * UniformLag + col] += f * b[k * UniformLag + col];   // wraps modulo 2^64
        }
    for (uint64_t& v : c)
        v &= Mask53;
    return c;
}

// The step matrix to the power Steps: history (oldest first) to the history Steps later.
TMatrix JumpMatrix(int64_t Steps)
{
    TMatrix step{};
    for (int r = 0; r + 1 < UniformLag; ++r)
        step[r * UniformLag + r + 1] = 1;
    step[(UniformLag - 1) * UniformLag + 0] = 1;              // + X[n-17]
    step[(UniformLag - 1) * UniformLag + 12] = Mask53;        // - X[n-5]
    TMatrix result{};
    for (int r = 0; r < UniformLag; ++r)
        result[r * UniformLag + r] = 1;
    for (; Steps > 0; Steps >>= 1) {
        if (Steps & 1)
            result = Multiply(result, step);
        step = Multiply(step, step);
    }
    return result;
}

THistory Jump(const TMatrix& a, const THistory& h)
{
    uint64_t x[UniformLag];
    for (int c = 0; c < UniformLag; ++c)
        x[c] = static_cast<uint64_t>(h[c] * Two53);
    THistory out;
    for (int r = 0; r < UniformLag; ++r) {
        uint64_t s = 0;
        for (int c = 0; c < UniformLag; ++c)
            s += a[r * UniformLag + c] * x[c];
        out[r] = static_cast<double>(s & Mask53) / Two53;
    }
    return out;
}

// ---- pieces of the uniform stream ---------------------------------------------------

// Uniforms a normal may read past its piece before the piece gives up.
constexpr int Margin = 64;
// Starts of the decoding kept for mending a seam.
constexpr int KeptStarts = 64;

inline double Uniform(uint64_t bits)
{
    return static_cast<double>(static_cast<int64_t>(bits)) * InverseTwo53;
}

// The method's first step at positions 0..Count-1 of a piece's uniforms, each as if a
// normal started there: R[k] from x[k + 17] and the table value x[k + 1], and bit k of Ok
// set when R[k] is the normal. Exact operations only, so every way gives the same bits.
void FirstStepsPlain(const uint64_t* x, std::size_t Count, double* R, uint64_t* Ok)
{
    for (std::size_t w = 0; w * 64 < Count; ++w)
        Ok[w] = 0;
    for (std::size_t k = 0; k < Count; ++k) {
        double r = 0;
        const bool ok = rndunit::FastNormal(Uniform(x[k + UniformLag]), Uniform(x[k + 1]), r);
        R[k] = r;
        Ok[k / 64] |= uint64_t(ok) << (k % 64);
    }
}

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#define BAND_HAVE_AVX512 1
// Eight positions at a time: the table index int(table * 128) is bits 46..51 of the
// table value's integer form, the two strip edges are gathered.
__attribute__((target("avx512f,avx512dq"))) void FirstStepsAvx512(const uint64_t* x, std::size_t Count, double* R,
                                                                   uint64_t* Ok)
{
    for (std::size_t w = 0; w * 64 < Count; ++w)
        Ok[w] = 0;
    const __m512d scale = _mm512_set1_pd(InverseTwo53);
    const __m512d two = _mm512_set1_pd(2.0);
    const __m512d one = _mm512_set1_pd(1.0);
    const __m512i low6 = _mm512_set1_epi64(63);
    std::size_t k = 0;
    for (; k + 8 <= Count; k += 8) {
        const __m512d un =
            _mm512_mul_pd(_mm512_cvtepi64_pd(_mm512_loadu_si512(x + k + UniformLag)), scale);
        const __m512i j = _mm512_and_si512(_mm512_srli_epi64(_mm512_loadu_si512(x + k + 1), 46), low6);
        const __m512d edge = _mm512_i64gather_pd(j, rndunit::V + 1, 8);   // V[j]
        const __m512d inner = _mm512_i64gather_pd(j, rndunit::V, 8);      // V[j - 1]
        const __m512d r = _mm512_mul_pd(_mm512_sub_pd(_mm512_mul_pd(two, un), one), edge);
        _mm512_storeu_pd(R + k, r);
        const __mmask8 ok = _mm512_cmp_pd_mask(_mm512_abs_pd(r), inner, _CMP_LE_OQ);
        Ok[k / 64] |= uint64_t(ok) << (k % 64);
    }
    for (; k < Count; ++k) {
        double r = 0;
        const bool ok = rndunit::FastNormal(Uniform(x[k + UniformLag]), Uniform(x[k + 1]), r);
        R[k] = r;
        Ok[k / 64] |= uint64_t(ok) << (k % 64);
    }
}
#endif

using TFirstSteps = void (*)(const uint64_t*, std::size_t, double*, uint64_t*);

TFirstSteps ChooseFirstSteps()
{
#ifdef BAND_HAVE_AVX512
    if (__builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512dq"))
        return FirstStepsAvx512;
#endif
    return FirstStepsPlain;
}

const TFirstSteps WideFirstSteps = ChooseFirstSteps();

// Uniforms of a piece as the table method's source: X[0..16] the history, then the piece,
// as multiples of 2^-53.
struct TPieceSource {
    const uint64_t* X;
    int64_t Cur;
    int64_t Limit;
    bool Bad = false;
    double Next(bool openAtZero)
    {
        if (Cur >= Limit) {
            Bad = true;
            return 0.5;
        }
        const double v = Uniform(X[Cur++]);
        // The one-by-one generator would make this a 1 and go on from there.
        if (openAtZero && v == 0)
            Bad = true;
        return v;
    }
    double Table() const { return Uniform(X[Cur - UniformLag]); }
};

struct TPiece {
    int64_t Start = 0;            // stream position of its first uniform
    int64_t Length = 0;
    THistory First{};             // the history before Start
    // The piece's first uniforms with the history before them, times 2^53: as far as
    // mending a seam may read. The whole piece is made in a scratch of the thread.
    std::vector<uint64_t> Head;
    std::vector<double> Z;        // normals decoded from Start on (ZCount of them)
    std::size_t ZCount = 0;
    std::vector<int64_t> Starts;  // positions of the first decoded normals
    int64_t End = 0;              // where the first normal at or after the piece's end starts
    bool Bad = false;
    // After mending: normals made at the seam, then Z from Skip on.
    std::vector<double> Fixed;
    std::size_t Skip = 0;
    int64_t TrueStart = 0;        // where the true decoding enters the piece

    void Make(const THistory& h, TFirstSteps FirstSteps)
    {
        // The generator modulo 2^53, with no branch on the sign of the difference, made a
        // stretch at a time just ahead of the decoding so that both work in the cache.
        const std::size_t size = static_cast<std::size_t>(UniformLag + Length + Margin);
        First = h;
        static thread_local std::vector<uint64_t> X;
        if (X.size() < size)
            X.resize(size);
        for (int k = 0; k < UniformLag; ++k)
            X[k] = static_cast<uint64_t>(h[k] * Two53);
        std::size_t made = UniformLag;   // X[0..made-1] are made
        const auto makeTo = [this, size, &made](std::size_t upTo) {
            upTo = std::min(upTo, size);
            uint64_t* x = X.data();
            // Five at a time with the last five in registers: each new value reads the
            // five before it, which vector code would load across two stores not yet
            // written to the cache.
            std::size_t i = made;
            if (i + 5 <= upTo) {
                uint64_t p0 = x[i - 5], p1 = x[i - 4], p2 = x[i - 3], p3 = x[i - 2], p4 = x[i - 1];
                for (; i + 5 <= upTo; i += 5) {
                    p0 = (x[i - 17] - p0) & Mask53;
                    p1 = (x[i - 16] - p1) & Mask53;
                    p2 = (x[i - 15] - p2) & Mask53;
                    p3 = (x[i - 14] - p3) & Mask53;
                    p4 = (x[i - 13] - p4) & Mask53;
                    x[i] = p0;
                    x[i + 1] = p1;
                    x[i + 2] = p2;
                    x[i + 3] = p3;
                    x[i + 4] = p4;
                }
            }
            for (; i < upTo; ++i)
                x[i] = (x[i - 17] - x[i - 5]) & Mask53;
            made = std::max(made, upTo);
        };

        // Decoding from the first position: the method's first step is taken at every
        // position of a stretch at once; the runs of normals it makes are copied, and the
        // normals that read on are decoded whole where they start.
        const std::size_t positions = static_cast<std::size_t>(Length);
        Z.resize(positions + 8);
        Starts.clear();
        ZCount = 0;
        Bad = false;
        constexpr std::size_t Stretch = 1024;
        double r[Stretch + 8];
        uint64_t ok[Stretch / 64];
        double* z = Z.data();
        std::size_t pos = 0;
        // One normal that reads on: decoded over what is made a margin ahead, and over the
        // whole piece again if it reads past that.
        const auto decodeWhole = [&] {
            makeTo(pos + UniformLag + Margin);
            int64_t at = Start + static_cast<int64_t>(pos);
            bool ranShort = false;
            double v = DecodeIn(X.data(), static_cast<int64_t>(made), at, ranShort);
            if (ranShort && made < size) {
                makeTo(size);
                at = Start + static_cast<int64_t>(pos);
                ranShort = false;
                v = DecodeIn(X.data(), static_cast<int64_t>(size), at, ranShort);
            }
            Bad = Bad || ranShort;
            z[ZCount++] = v;
            pos = static_cast<std::size_t>(at - Start);
        };
        while (pos < positions) {
            const std::size_t from = pos;
            const std::size_t stretchEnd = std::min(positions, pos + Stretch);
            makeTo(stretchEnd + UniformLag);
            FirstSteps(X.data() + from, stretchEnd - from, r, ok);
            while (pos < stretchEnd) {
                const std::size_t k = pos - from;
                if (Starts.size() < KeptStarts) {
                    // The first normals one at a time, their starts kept.
                    Starts.push_back(Start + static_cast<int64_t>(pos));
                    if (ok[k / 64] >> (k % 64) & 1) {
                        z[ZCount++] = r[k];
                        ++pos;
                    } else {
                        decodeWhole();
                    }
                    continue;
                }
                // The run of first-step normals from k on.
                std::size_t end = k;
                const std::size_t last = stretchEnd - from;
                while (end < last) {
                    const uint64_t failed = ~ok[end / 64] >> (end % 64);
                    if (failed != 0) {
                        end += static_cast<std::size_t>(__builtin_ctzll(failed));
                        break;
                    }
                    end += 64 - end % 64;
                }
                end = std::min(end, last);
                // Eight at a time, past the run's end into the slack of r and Z.
                for (std::size_t i = k; i < end; i += 8)
                    std::memcpy(z + ZCount + (i - k), r + i, 8 * sizeof(double));
                ZCount += end - k;
                pos = from + end;
                if (pos >= stretchEnd)
                    break;
                // A normal that reads on: most take one more uniform and are decided by the
                // wedge's cheap tests here.
                double v = 0;
                double x = 0;
                const std::size_t next = pos + 1 + UniformLag;
                if (next < made &&
                    rndunit::WedgeCheap(r[end], static_cast<int>(X[pos + 1] >> 46 & 63) + 1, Uniform(X[next]), x, v)) {
                    z[ZCount++] = v;
                    pos += 2;
                } else {
                    decodeWhole();
                }
            }
        }
        End = Start + static_cast<int64_t>(pos);
        // What mending may read: the whole piece while all its normals are kept starts,
        // else up to the last kept start and two margins on.
        std::size_t head = size;
        if (Starts.size() < ZCount)
            head = std::min(size, static_cast<std::size_t>(UniformLag + (Starts.back() - Start) + 2 * Margin));
        makeTo(head);
        Head.assign(X.begin(), X.begin() + static_cast<std::ptrdiff_t>(head));
    }
    // All the piece's uniforms with the history before them and the margin, made again.
    std::vector<uint64_t> AllUniforms() const
    {
        std::vector<uint64_t> x(static_cast<std::size_t>(UniformLag + Length + Margin));
        for (int k = 0; k < UniformLag; ++k)
            x[k] = static_cast<uint64_t>(First[k] * Two53);
        for (std::size_t i = UniformLag; i < x.size(); ++i)
            x[i] = (x[i - 17] - x[i - 5]) & Mask53;
        return x;
    }
    // Decodes one normal at stream position Pos (inside the piece or its margin) from the
    // piece's uniforms x, reading no further than x[Made - 1] (Failed when it would).
    double DecodeIn(const uint64_t* x, int64_t Made, int64_t& Pos, bool& Failed) const
    {
        TPieceSource src{x, Pos - Start + UniformLag, Made};
        const double z = rndunit::NormalFrom(src);
        Failed = Failed || src.Bad;
        Pos = Start + src.Cur - UniformLag;
        return z;
    }
    // Puts the piece in step with the true decoding, which reaches it at stream position
    // Pos; returns where the true decoding leaves it. Failed when the seam cannot be mended.
    int64_t Mend(int64_t Pos, bool& Failed)
    {
        Fixed.clear();
        Skip = ZCount;
        TrueStart = Pos;
        if (Pos >= Start + Length)
            return Pos;   // a normal of a piece before ran over this whole piece
        std::size_t idx = 0;
        for (;;) {
            while (idx < Starts.size() && Starts[idx] < Pos)
                ++idx;
            if (idx < Starts.size() && Starts[idx] == Pos) {
                Skip = idx;
                return End;
            }
            if (Pos >= Start + Length)
                return Pos;
            if (idx >= Starts.size() && Starts.size() < ZCount) {
                Failed = true;   // not in step within the kept starts
                return Pos;
            }
            Fixed.push_back(DecodeIn(Head.data(), static_cast<int64_t>(Head.size()), Pos, Failed));
        }
    }
    std::size_t Count() const { return Fixed.size() + (ZCount - Skip); }
    double Normal(std::size_t k) const { return k < Fixed.size() ? Fixed[k] : Z[Skip + k - Fixed.size()]; }
    // The history before stream position Pos (inside the piece or its margin) from the
    // piece's uniforms x.
    THistory HistoryAt(const std::vector<uint64_t>& x, int64_t Pos) const
    {
        THistory h;
        const std::size_t at = static_cast<std::size_t>(Pos - Start);
        for (int k = 0; k < UniformLag; ++k)
            h[k] = Uniform(x[at + k]);
        return h;
    }
};

// The normals of one batch in stream order: a carried part, then the pieces.
struct TBatch {
    std::vector<double> Carry;
    std::vector<TPiece> Pieces;
    int64_t FirstNormal = 0;      // global index of Carry[0]
    int64_t NormalCount = 0;
    std::vector<int64_t> Offset;  // global index of each piece's first normal
    std::vector<double> D2;       // (c - c0)^2 of the draws that start in this batch
    int64_t FirstDraw = 0;
    int64_t DrawCount = 0;

    double NormalAt(int64_t g) const
    {
        int64_t k = g - FirstNormal;
        if (k < static_cast<int64_t>(Carry.size()))
            return Carry[static_cast<std::size_t>(k)];
        const auto it = std::upper_bound(Offset.begin(), Offset.end(), g) - 1;
        const std::size_t p = static_cast<std::size_t>(it - Offset.begin());
        return Pieces[p].Normal(static_cast<std::size_t>(g - *it));
    }
};

// The first normals one by one after seeding, until the history lies on the 2^-53 grid
// (into First.Carry); false when it does not within the band's normals or 100,000.
bool DrawUntilOnGrid(int64_t totalNormals, TBatch& First, THistory& History)
{
    RandomNormalInit(100);
    History = GetUniformHistory();
    while (!OnGrid(History) && static_cast<int64_t>(First.Carry.size()) < std::min<int64_t>(totalNormals, 100000)) {
        First.Carry.push_back(RandomNormal());
        History = GetUniformHistory();
    }
    First.FirstNormal = 0;
    return OnGrid(History);
}

// The band's work in rounds: each decodes the current batch, evaluates the one before and
// sums the one before that. A round's items are handed out one at a time to whichever
// thread asks next; whoever finishes a round's last item does its serial part and opens
// the next round, while the others sleep until it is open.
class TBandRounds {
public:
    TBandRounds(const std::vector<double>& Coef, const std::vector<double>& Unc, int N, int M, const TPointArray& T,
                TWorkProgress* Progress, const TBandSplit& Split, TBatch First, const THistory& History)
        : FCoef(Coef), FUnc(Unc), FN(N), Fn(2 * N), FM(M), FT(T), FProgress(Progress),
          FTotalNormals(int64_t(M) * BandDraws * 2 * N), FC0(FittedCurve(Coef, N, M, T)),
          FPieces(Split.Pieces > 0 ? Split.Pieces : 4 * ParallelThreadCount()),
          FPieceLength(std::max<int64_t>(1, (Split.BlockUniforms > 0 ? Split.BlockUniforms : BlockUniforms) /
                                                 FPieces)),
          FJump(JumpMatrix(FPieceLength)), FFirstSteps(Split.Plain ? FirstStepsPlain : WideFirstSteps),
          FHistory(History), FVar(static_cast<std::size_t>(M), 0.0)
    {
        FBatches[0] = std::move(First);
    }

    // Runs the rounds to the end of the band, a stop or a failure.
    void Run()
    {
        bool more = Prepare();
        while (more)
            more = RunCall();
    }
    bool Stopped() const { return FStopped; }
    // Something the fast path cannot make exactly: the one-by-one way must make the band.
    bool Failed() const { return FFailed; }
    std::vector<TBandPoint>& Band() { return FBand; }

private:
    // Uniforms a round decodes: a round ends when its last item does, which a thread that
    // the system has put aside for a time slice holds up while the others sleep; long
    // rounds make that wait rare beside busy programs.
    static constexpr int64_t BlockUniforms = int64_t(1) << 21;
    // Rounds run in one parallel call before the threads are given back, so that other
    // work may have them between calls (about a second of a quiet machine's work).
    static constexpr int RoundsPerCall = 8;
    static constexpr int EvalParts = 2;

    int ItemCount() const { return FDecodeItems + FEvalItems + FSumItems; }

    // One parallel call of up to RoundsPerCall rounds; false when the band is complete.
    bool RunCall()
    {
        // Tickets: the round in the high half, the next item in the low half. The open round
        // and its item count likewise; a ticket of a round no longer open is spent. Phase
        // changes whenever a round opens or the call ends, and sleepers wait on it.
        std::atomic<uint64_t> ticket{0};
        std::atomic<uint64_t> open{static_cast<uint64_t>(ItemCount())};
        std::atomic<int> done{0};
        std::atomic<bool> over{false};
        std::atomic<uint32_t> phase{0};
        int roundsLeft = RoundsPerCall;
        bool more = false;
        std::exception_ptr error;
        std::mutex errorMutex;
        const auto wake = [&] {
            phase.fetch_add(1);
            phase.notify_all();
        };
        const auto fail = [&] {
            {
                std::lock_guard<std::mutex> lock(errorMutex);
                if (!error)
                    error = std::current_exception();
            }
            over.store(true);
            wake();
        };
        ParallelFor(ParallelThreadCount(), [&](int) {
            while (!over.load()) {
                const uint64_t t = ticket.fetch_add(1);
                const uint64_t r = t >> 32;
                const uint64_t item = t & 0xffffffffu;
                const uint64_t o = open.load();
                const uint64_t count = o & 0xffffffffu;
                if ((o >> 32) == r && item < count) {
                    try {
                        RunItem(static_cast<int>(item));
                    } catch (...) {
                        fail();
                    }
                    if (static_cast<uint64_t>(done.fetch_add(1)) + 1 == count) {
                        // The round's last item: its serial part and the next round.
                        more = false;
                        try {
                            more = !over.load() && FinishRound() && Prepare();
                        } catch (...) {
                            fail();
                        }
                        if (!more || --roundsLeft == 0) {
                            over.store(true);   // the next round, if any, opens the next call
                            wake();
                            return;
                        }
                        done.store(0);
                        open.store((r + 1) << 32 | static_cast<uint64_t>(ItemCount()));
                        ticket.store((r + 1) << 32);
                        wake();
                    }
                    continue;
                }
                // The round's items are all taken: sleep until the next round opens. The
                // phase is read first, so that an opening after the check still wakes.
                const uint32_t seen = phase.load();
                if ((ticket.load() >> 32) == r && !over.load())
                    phase.wait(seen);
            }
        });
        if (error)
            std::rethrow_exception(error);
        return more;
    }

    // Sets up the next round; false when there is none.
    bool Prepare()
    {
        if (FFailed)
            return false;
        if (FProgress != nullptr && FProgress->Stop.load()) {
            FStopped = true;
            return false;
        }
        if (!FDecoding && FEvaluating == nullptr && FSumming == nullptr)
            return false;   // cannot happen: every draw has been summed once the decoding ends
        FDec = FDecoding ? &FBatches[FCurrent] : nullptr;
        FStarts.clear();
        if (FDec) {
            FDec->Pieces.resize(static_cast<std::size_t>(FPieces));
            for (int k = 0; k < FPieces; ++k) {
                FStarts.push_back(FHistory);
                FDec->Pieces[k].Start = FNextStart;
                FDec->Pieces[k].Length = FPieceLength;
                FHistory = Jump(FJump, FHistory);
                FNextStart += FPieceLength;
            }
        }
        // The items are handed out in order: the sum, the pieces to decode, then the draws
        // to evaluate in halves, so that the last items of the round are short ones.
        FDecodeItems = FDec ? FPieces : 0;
        FEvalItems = FEvaluating ? EvalParts * (static_cast<int>(FEvaluating->Pieces.size()) + 1) : 0;
        FSumItems = FSumming ? 1 : 0;
        return true;
    }

    void RunItem(int item)
    {
        if (item < FSumItems)
            return SumVariances(*FSumming);
        item -= FSumItems;
        if (item < FDecodeItems)
            return FDec->Pieces[static_cast<std::size_t>(item)].Make(FStarts[static_cast<std::size_t>(item)],
                                                                     FFirstSteps);
        item -= FDecodeItems;
        Evaluate(*FEvaluating, item / EvalParts, item % EvalParts);
    }

    // Each point's variance summed in draw order, as one by one.
    void SumVariances(const TBatch& b)
    {
        for (int64_t d = 0; d < b.DrawCount;) {
            const int64_t i = (b.FirstDraw + d) / BandDraws;
            const int64_t end = std::min(b.DrawCount, (i + 1) * BandDraws - b.FirstDraw);
            double v = FVar[static_cast<std::size_t>(i)];
            for (; d < end; ++d)
                v += b.D2[static_cast<std::size_t>(d)];
            FVar[static_cast<std::size_t>(i)] = v;
        }
    }

    // Part `part` of the draws whose first normal lies in the carried part (item 0) or a piece.
    void Evaluate(TBatch& b, int item, int part)
    {
        const int n = Fn;
        const int64_t from = item == 0 ? b.FirstNormal : b.Offset[static_cast<std::size_t>(item - 1)];
        const int64_t to = item == 0 ? b.FirstNormal + static_cast<int64_t>(b.Carry.size())
                                     : from + static_cast<int64_t>(b.Pieces[static_cast<std::size_t>(item - 1)].Count());
        const int64_t first = std::max((from + n - 1) / n, b.FirstDraw);
        const int64_t last = std::max(first, std::min((to + n - 1) / n, b.FirstDraw + b.DrawCount));
        const int64_t d0 = first + (last - first) * part / EvalParts;
        const int64_t d1 = first + (last - first) * (part + 1) / EvalParts;
        // Draws wholly inside the piece's decoded run are read in place; the few at a seam
        // are gathered.
        const TPiece* piece = item == 0 ? nullptr : &b.Pieces[static_cast<std::size_t>(item - 1)];
        const int64_t runFrom = piece ? from + static_cast<int64_t>(piece->Fixed.size()) : to;
        double gathered[EvalChunk][20];
        TDrawChunk chunk;
        for (int64_t d = d0; d < d1; ++d) {
            const int at = chunk.Count++;
            if (d * n >= runFrom && d * n + n <= to) {
                const std::size_t k = piece->Skip + static_cast<std::size_t>(d * n - runFrom);
                chunk.Z[at] = piece->Z.data() + k;
                // The normals were made on another core: asked for two chunks ahead.
                const std::size_t ahead = k + static_cast<std::size_t>(2 * EvalChunk * n);
                if (ahead + static_cast<std::size_t>(n) <= piece->ZCount)
                    for (int line = 0; line < n; line += 8)
                        __builtin_prefetch(piece->Z.data() + ahead + line);
            } else {
                for (int k = 0; k < n; ++k)
                    gathered[at][k] = b.NormalAt(d * n + k);
                chunk.Z[at] = gathered[at];
            }
            const int64_t i = d / BandDraws;
            chunk.T[at] = FT[static_cast<int>(i) + 1];
            chunk.C0[at] = FC0[static_cast<std::size_t>(i)];
            if (chunk.Count == EvalChunk || d + 1 == d1) {
                EvaluateChunk(chunk, FCoef.data(), FUnc.data(), FN, b.D2.data() + (d + 1 - chunk.Count - b.FirstDraw));
                chunk.Count = 0;
            }
        }
    }

    // Mends the seams in order and lays out the batch's normals.
    void FinishBatch(TBatch& b)
    {
        b.Offset.clear();
        int64_t g = b.FirstNormal + static_cast<int64_t>(b.Carry.size());
        for (TPiece& p : b.Pieces) {
            FTruePos = p.Mend(FTruePos, FFailed);
            FFailed = FFailed || p.Bad;
            b.Offset.push_back(g);
            g += static_cast<int64_t>(p.Count());
        }
        b.NormalCount = g - b.FirstNormal;
        b.FirstDraw = b.FirstNormal / Fn;
        const int64_t lastNormal = std::min(g, FTotalNormals);
        b.DrawCount = std::max<int64_t>(0, lastNormal / Fn - b.FirstDraw);
        b.D2.assign(static_cast<std::size_t>(b.DrawCount), 0.0);
    }

    // The round's serial part; false when the band is complete.
    bool FinishRound()
    {
        if (FSumming) {
            const int64_t summedDraws = FSumming->FirstDraw + FSumming->DrawCount;
            while (static_cast<int64_t>(FBand.size()) < FM && summedDraws >= int64_t(FBand.size() + 1) * BandDraws) {
                const std::size_t i = FBand.size();
                FBand.push_back(BandPoint(FT[static_cast<int>(i) + 1], FC0[i], FVar[i]));
            }
            if (FProgress)
                FProgress->Done = static_cast<int64_t>(FBand.size());
            if (static_cast<int64_t>(FBand.size()) == FM)
                return false;
        }
        FSumming = FEvaluating;
        FEvaluating = nullptr;
        if (FDec) {
            FinishBatch(*FDec);
            FEvaluating = FDec;
            const int64_t end = FDec->FirstNormal + FDec->NormalCount;
            if (end >= FTotalNormals) {
                LeaveGeneratorAfter(*FDec);
                FDecoding = false;
            } else {
                // The next batch starts with the normals of the last, incomplete draw.
                // The slot's pieces keep their memory from batch to batch.
                TBatch& next = FBatches[(FCurrent + 1) % 3];
                next.Carry.clear();
                const int64_t carryFrom = std::min(end, (end / Fn) * Fn);
                for (int64_t g = carryFrom; g < end; ++g)
                    next.Carry.push_back(FDec->NormalAt(g));
                next.FirstNormal = carryFrom;
                FCurrent = (FCurrent + 1) % 3;
            }
        }
        return true;
    }

    // The generator is left as the one-by-one computation leaves it: after the last normal
    // drawn, which is found by decoding its piece again.
    void LeaveGeneratorAfter(const TBatch& b)
    {
        std::size_t p = 0;
        while (p + 1 < b.Pieces.size() && b.Offset[p + 1] <= FTotalNormals)
            ++p;
        const TPiece& piece = b.Pieces[p];
        const std::vector<uint64_t> x = piece.AllUniforms();
        int64_t pos = piece.TrueStart;
        for (int64_t g = b.Offset[p]; g < FTotalNormals; ++g)
            piece.DecodeIn(x.data(), static_cast<int64_t>(x.size()), pos, FFailed);
        SetUniformHistory(piece.HistoryAt(x, pos));
    }

    const std::vector<double>& FCoef;
    const std::vector<double>& FUnc;
    const int FN;
    const int Fn;                     // normals per draw
    const int FM;
    const TPointArray& FT;
    TWorkProgress* const FProgress;
    const int64_t FTotalNormals;
    const std::vector<double> FC0;    // the fitted curve at the points
    const int FPieces;
    const int64_t FPieceLength;
    const TMatrix FJump;
    const TFirstSteps FFirstSteps;

    THistory FHistory;                // the history before the next piece
    std::vector<double> FVar;
    std::vector<TBandPoint> FBand;
    int64_t FNextStart = 0;           // stream position of the next piece (0: after the prefix)
    int64_t FTruePos = 0;             // where the true decoding has reached
    bool FFailed = false;
    bool FStopped = false;
    TBatch FBatches[3];
    int FCurrent = 0;                 // the batch being decoded
    TBatch* FEvaluating = nullptr;    // decoded and mended, to be evaluated
    TBatch* FSumming = nullptr;       // evaluated, to be summed
    bool FDecoding = true;
    // This round's items.
    TBatch* FDec = nullptr;
    std::vector<THistory> FStarts;
    int FDecodeItems = 0;
    int FEvalItems = 0;
    int FSumItems = 0;
};

} // namespace

std::vector<TBandPoint> ConfidenceBandSerial(const std::vector<double>& coef, const std::vector<double>& unc,
                                             int N, int M, const TPointArray& T)
{
    CheckArguments(coef, unc, N);
    RandomNormalInit(100);
    const int n = 2 * N;
    const std::vector<double> c0 = FittedCurve(coef, N, M, T);
    std::vector<TBandPoint> band;
    double z[20];
    for (int i = 1; i <= M; ++i) {
        double var = 0.0;
        for (int draw = 0; draw < BandDraws; ++draw) {
            for (int k = 0; k < n; ++k)
                z[k] = RandomNormal();
            var += DrawDeviation(z, coef.data(), unc.data(), N, T[i], c0[i - 1]);
        }
        band.push_back(BandPoint(T[i], c0[i - 1], var));
    }
    return band;
}

std::vector<TBandPoint> ConfidenceBand(const std::vector<double>& coef, const std::vector<double>& unc, int N,
                                       int M, const TPointArray& T, TWorkProgress* Progress,
                                       const TBandSplit& Split)
{
    CheckArguments(coef, unc, N);
    M = std::max(M, 0);
    if (N == 0 || M == 0) {
        RandomNormalInit(100);
        std::vector<TBandPoint> band;
        const std::vector<double> c0 = FittedCurve(coef, N, M, T);
        for (int i = 1; i <= M; ++i)
            band.push_back(BandPoint(T[i], c0[i - 1], 0.0));
        return band;
    }
    TBatch first;
    THistory history;
    if (!DrawUntilOnGrid(int64_t(M) * BandDraws * 2 * N, first, history))
        return ConfidenceBandSerial(coef, unc, N, M, T);
    TBandRounds rounds(coef, unc, N, M, T, Progress, Split, std::move(first), history);
    rounds.Run();
    if (rounds.Stopped())
        return {};
    if (rounds.Failed())
        return ConfidenceBandSerial(coef, unc, N, M, T);
    return std::move(rounds.Band());
}
