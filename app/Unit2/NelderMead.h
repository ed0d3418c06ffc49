// Simplex (Nelder-Mead) minimiser with a finite-difference start, a line search along the
// estimated descent direction, adaptive expansion, per-unknown convergence limits and a
// random search when the function is flat at the start; its Einstein-sum objective; and
// the Wichmann-Hill uniform generator the random search draws from.
#pragma once

#include "Lev_Marq.h"
#include "WorkProgress.h"

#include <cstdint>
#include <functional>
#include <string>

// The function being minimised: N unknowns in X(1..N).
using TNMObjective = std::function<double(int N, const TXArray& X)>;
// Receives every progress and status line of the minimiser.
using TLineSink = std::function<void(const std::string& line)>;

// Status codes of FMINSI.
inline constexpr int NMConverged = 0;
inline constexpr int NMIllegalN = 1;
inline constexpr int NMIterationLimit = 2;
inline constexpr int NMFlatStart = 3;

// Minimises f over X(1..N). Step(1..N): the caller's convergence limits. PS in: negative
// to write progress lines; PS out: the status above. FMIN out: the final function value.
// Lines that report a failure are written whatever PS says. With Progress, Done and
// SumOfSquares show the iteration and the best value; a set Stop ends the search at the
// next iteration with PS = RunStatusStopped and the best vertex in X.
void FMINSI(int N, TXArray& X, const TXArray& Step, double& FMIN, int& PS, const TNMObjective& f,
            const TLineSink& out, TWorkProgress* Progress = nullptr);

// Iteration limit of FMINSI: N^3 / 2 + 400 N rounded to the nearest integer, halves to even.
int64_t NelderMeadMaxIterations(int N);

// The Einstein-sum objective over the points 1..M: X(2j-1) = A_j in J/(mol*K), X(2j) =
// ln Theta_j. Norm 0: sum of squared deviations; 1: sum of absolute deviations; 2: the
// largest absolute deviation.
double NelderMeadObjective(int N, const TXArray& X, int Norm, int M, const TPointArray& T,
                           const TPointArray& Cp);

// Random search for a point whose value differs from f(X). Status out: 0 found (X and F
// are then the new point and its value), 3 not found (X unchanged, F = f(X)).
void RandomSearchRestart(int N, TXArray& X, const TXArray& Step, int& Status, double& F,
                         const TNMObjective& f);

// Wichmann-Hill uniform generator: a value in [0, 1); UniformRandomInit resets the seeds.
double UniformRandom();
void UniformRandomInit();

// |B| with the sign of A (A < 0 gives -|B|).
double FminSign(double A, double B);
