// Timing of the run's numerical core on synthetic data from known coefficients: the fit,
// the normal matrix with its inverse, and the whole core with the report text.
#include "Lev_Marq.h"
#include "Unit2/RunCore.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>

namespace {

struct Problem {
    TPointArray T{};
    TPointArray Cp{};
    TRunInput Input;
    TXArray Solution{};   // a_j in units of 3R, Theta_j
};

// M points from 2 K upwards of an N-term sum with Theta_j doubling from 15 K, with a
// small deterministic scatter; the start point is 10 % off the generating coefficients.
std::unique_ptr<Problem> MakeProblem(int N, int M, double dT)
{
    auto p = std::make_unique<Problem>();
    for (int i = 1; i <= M; ++i) {
        const double T = 2.0 + dT * (i - 1);
        double c = 0.0;
        for (int j = 1; j <= N; ++j) {
            const double a = 0.1 + 0.02 * (j - 1);
            const double theta = 15.0 * std::pow(2.0, j - 1);
            c += ThreeR * a * EinsteinE(theta / T);
        }
        p->T[i] = T;
        p->Cp[i] = c * (1.0 + 0.001 * std::sin(1.7 * i));
    }
    TRunInput& in = p->Input;
    in.n = 2 * N;
    in.M = M;
    in.T = &p->T;
    in.Cp = &p->Cp;
    for (int j = 1; j <= N; ++j) {
        in.X[2 * j - 1] = ThreeR * (0.1 + 0.02 * (j - 1)) * 1.1;
        in.X[2 * j] = 15.0 * std::pow(2.0, j - 1) * 0.9;
    }
    const TRunResult r = RunCore(in);
    p->Solution = r.X;
    return p;
}

void Fit(benchmark::State& state, int N, int M, double dT)
{
    const auto p = MakeProblem(N, M, dT);
    for (auto _ : state) {
        TXArray X = p->Input.X;
        int status = 0;
        FitEinsteinSumLM(2 * N, M, X, status, p->T, p->Cp);
        if (status < 0)
            state.SkipWithError("fit failed");
        benchmark::DoNotOptimize(X);
    }
}

void NormalMatrixAndInverse(benchmark::State& state, int N, int M, double dT)
{
    const auto p = MakeProblem(N, M, dT);
    for (auto _ : state) {
        std::vector<double> W = NormalMatrix(2 * N, M, p->Solution, 0, p->T, p->Cp);
        double rcond = 0.0;
        benchmark::DoNotOptimize(InvertNormalMatrix(W, 2 * N, rcond));
        benchmark::DoNotOptimize(W.data());
    }
}

void WholeCore(benchmark::State& state, int N, int M, double dT)
{
    const auto p = MakeProblem(N, M, dT);
    for (auto _ : state) {
        const TRunResult r = RunCore(p->Input);
        if (!r.Solved)
            state.SkipWithError("no solution");
        benchmark::DoNotOptimize(r.Report.data());
    }
}

} // namespace

BENCHMARK_CAPTURE(Fit, points1000_terms10, 10, 1000, 1.0)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(NormalMatrixAndInverse, points1000_terms10, 10, 1000, 1.0)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(WholeCore, points1000_terms10, 10, 1000, 1.0)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Fit, points30_terms2, 2, 30, 10.0)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(NormalMatrixAndInverse, points30_terms2, 2, 30, 10.0)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(WholeCore, points30_terms2, 2, 30, 10.0)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
