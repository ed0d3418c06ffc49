// The confidence band against its floor: the same model evaluations (100,000 draws per
// point) spread over the cores with the normals already drawn. The band itself draws its
// normals from the one generator sequence on top of that.
#include "Lev_Marq.h"
#include "Unit2/BandCore.h"
#include "system/Parallel.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <vector>

#if defined(__GLIBC__)
#include <dlfcn.h>
#endif
#if defined(__unix__)
#include <csignal>
#include <sys/resource.h>
#include <sys/time.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace {

struct TBandProblem {
    TPointArray T{};
    std::vector<double> coef;
    std::vector<double> unc;
};

// M points from 2 K upwards; N terms with Theta_j from 15 K doubling, uncertainties of a
// few per cent.
TBandProblem MakeProblem(int N, int M)
{
    TBandProblem p;
    for (int i = 1; i <= M; ++i)
        p.T[i] = 2.0 + 298.0 * (i - 1) / std::max(M - 1, 1);
    for (int j = 0; j < N; ++j) {
        const double a = 1.0 / N;
        const double theta = 15.0 * std::pow(2.0, j);
        p.coef.insert(p.coef.end(), {a, theta});
        p.unc.insert(p.unc.end(), {0.02 * a, 0.03 * theta});
    }
    return p;
}

#if defined(__unix__)
double Seconds(const timeval& t)
{
    return static_cast<double>(t.tv_sec) + 1e-6 * static_cast<double>(t.tv_usec);
}
#endif

// The processor time of the whole process (every thread, user and system), in seconds.
double ProcessSeconds()
{
#if defined(__unix__)
    rusage r{};
    getrusage(RUSAGE_SELF, &r);
    return Seconds(r.ru_utime) + Seconds(r.ru_stime);
#else
    return 0.0;
#endif
}

// Runs Body once per iteration and gives the process's processor time per run (cpu_s):
// on a machine that other work shares, the band's processor time beside the serial
// computation's says what its wall time would be on a quiet one (cpu_s / threads).
template <class F> void TimedRuns(benchmark::State& state, const F& Body)
{
    const double before = ProcessSeconds();
    for (auto _ : state)
        Body();
    state.counters["cpu_s"] = (ProcessSeconds() - before) / static_cast<double>(state.iterations());
    state.counters["threads"] = ParallelThreadCount();
}

void BM_Band(benchmark::State& state)
{
    const int M = static_cast<int>(state.range(0));
    const int N = static_cast<int>(state.range(1));
    const TBandProblem p = MakeProblem(N, M);
    TimedRuns(state, [&] { benchmark::DoNotOptimize(ConfidenceBand(p.coef, p.unc, N, M, p.T)); });
}

// The draw-by-draw computation on one thread, as the band was computed before. Its time
// divided by the band's threads is the band's floor on a quiet machine.
void BM_BandSerial(benchmark::State& state)
{
    const int M = static_cast<int>(state.range(0));
    const int N = static_cast<int>(state.range(1));
    const TBandProblem p = MakeProblem(N, M);
    TimedRuns(state, [&] { benchmark::DoNotOptimize(ConfidenceBandSerial(p.coef, p.unc, N, M, p.T)); });
}

// The floor: each draw's model evaluation and squared deviation, the draws of a point cut
// into as many pieces as the band uses, with fixed normals in place of drawn ones. It
// evaluates one term at a time through EinsteinE and the library's exp with its errno
// check; the band evaluates its draws a chunk at a time and calls the exponential core
// directly, with the same values; the second floor does the latter.
template <class TE>
void BandFloor(benchmark::State& state, TE E)
{
    const int M = static_cast<int>(state.range(0));
    const int N = static_cast<int>(state.range(1));
    const TBandProblem p = MakeProblem(N, M);
    const int pieces = 4 * ParallelThreadCount();
    const int64_t draws = int64_t(M) * BandDraws;
    TimedRuns(state, [&] {
        std::atomic<int64_t> sink{0};
        ParallelFor(pieces, [&](int piece) {
            const int64_t d0 = draws * piece / pieces;
            const int64_t d1 = draws * (piece + 1) / pieces;
            double acc = 0;
            double x[20];
            for (int64_t d = d0; d < d1; ++d) {
                const double t = p.T[static_cast<int>(d / BandDraws) + 1];
                const double z = ((d * 7919) % 2001 - 1000) * 0.003;   // a normal-sized number
                for (int k = 0; k < 2 * N; ++k)
                    x[k] = z * p.unc[k] + p.coef[k];
                double c = 0;
                for (int j = 0; j < N; ++j) {
                    double u = x[2 * j + 1] / t;
                    if (u > ReportUCap)
                        u = ReportUCap;
                    c += ThreeR * x[2 * j] * E(u);
                }
                acc += c * c;
            }
            sink += static_cast<int64_t>(acc);
        });
        benchmark::DoNotOptimize(sink.load());
    });
}

void BM_BandFloor(benchmark::State& state)
{
    BandFloor(state, EinsteinE);
}

double LibraryExp(double x)
{
    return std::exp(x);
}

// The same floor with EinsteinE's formula for u > 0 written out over the exponential core
// that the band calls, where the library exports it.
void BM_BandFloorExpCore(benchmark::State& state)
{
    double (*core)(double) = LibraryExp;
#if defined(__GLIBC__) && defined(__x86_64__)
    if (void* found = dlvsym(RTLD_DEFAULT, "__exp_finite", "GLIBC_2.15"))
        core = reinterpret_cast<double (*)(double)>(found);
#endif
    BandFloor(state, [core](double u) {
        const double q = core(-u);
        const double den = u > 0.5 ? 1.0 - q : -std::expm1(-u);
        return u * u * q / (den * den);
    });
}

#if defined(__unix__)
// The band beside busy processes that share the machine (the third argument: how many).
// Counters per band: the process's system and user time, its context switches, and its
// processor time over the wall time; waiting threads that sleep keep the system time
// and the switches low.
void BM_BandBesideBusyProcesses(benchmark::State& state)
{
    const int M = static_cast<int>(state.range(0));
    const int N = static_cast<int>(state.range(1));
    const int busy = static_cast<int>(state.range(2));
    const TBandProblem p = MakeProblem(N, M);
    ConfidenceBand(p.coef, p.unc, N, 1, p.T);   // the pool's threads started
    std::vector<pid_t> children;
    for (int k = 0; k < busy; ++k) {
        const pid_t child = fork();
        if (child == 0) {
            volatile unsigned long spin = 0;
            for (;;)
                spin = spin + 1;
        }
        if (child > 0)
            children.push_back(child);
    }
    rusage before{};
    getrusage(RUSAGE_SELF, &before);
    const auto start = std::chrono::steady_clock::now();
    for (auto _ : state)
        benchmark::DoNotOptimize(ConfidenceBand(p.coef, p.unc, N, M, p.T));
    const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    rusage after{};
    getrusage(RUSAGE_SELF, &after);
    for (pid_t child : children) {
        kill(child, SIGKILL);
        waitpid(child, nullptr, 0);
    }
    const double runs = static_cast<double>(state.iterations());
    const double user = Seconds(after.ru_utime) - Seconds(before.ru_utime);
    const double sys = Seconds(after.ru_stime) - Seconds(before.ru_stime);
    state.counters["user_s"] = user / runs;
    state.counters["sys_s"] = sys / runs;
    state.counters["switches"] =
        static_cast<double>((after.ru_nvcsw + after.ru_nivcsw) - (before.ru_nvcsw + before.ru_nivcsw)) / runs;
    state.counters["cpu_per_wall"] = (user + sys) / wall;
}
#endif

} // namespace

#if defined(__unix__)
BENCHMARK(BM_BandBesideBusyProcesses)
    ->Args({1000, 10, 8})
    ->Args({1000, 10, 0})
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
#endif
BENCHMARK(BM_BandFloorExpCore)->Args({1000, 10})->Args({30, 2})->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_BandFloor)->Args({1000, 10})->Args({30, 2})->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Band)->Args({1000, 10})->Args({100, 10})->Args({30, 2})->Unit(benchmark::kMillisecond)->UseRealTime();
// A tenth of the band's points: the same work a point as at 1,000 points.
BENCHMARK(BM_BandSerial)->Args({100, 10})->Args({30, 2})->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_MAIN();
