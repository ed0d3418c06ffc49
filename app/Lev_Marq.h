// The Einstein-sum model of the heat capacity and its least-squares fit by the
// Levenberg-Marquardt minimiser.
#pragma once

#include "PointArrays.h"
#include "WorkProgress.h"
#include "system/CheckedArray.h"

#include <cmath>
#include <cstddef>
#include <vector>

// The unknowns of a fit, slots 1..n (odd: amplitude, even: characteristic temperature).
using TXArray = TCheckedArray<double, 1, 1000>;

// 3R and R in J/(mol*K).
inline constexpr double ThreeR = 24.9433863;
inline constexpr double GasConstR = 8.3144621;

// Caps on u = Theta / T: the fit driver limits u to 100, the report and the band to 700.
inline constexpr double DriverUCap = 100.0;
inline constexpr double ReportUCap = 700.0;
// Above this u the Nelder-Mead objective uses the asymptotic form u^2 / e^u.
inline constexpr double ObjectiveAsymptoticU = 500.0;
// Replaces d = e^u - 1 when it is exactly zero.
inline constexpr double ZeroDenominatorGuard = 1e-30;

// E(u) = u^2 e^u / (e^u - 1)^2 with d = e^u - 1 replaced by 1e-30 when it is zero.
// For u > 0 it is evaluated as u^2 e^-u / (1 - e^-u)^2, so no intermediate overflows.
double EinsteinE(double u);

// 1 - e^-u for u > 0, given q = e^-u: the plain difference loses nothing once q < 0.61.
inline double OneMinusQ(double u, double q)
{
    return u > 0.5 ? 1.0 - q : -std::expm1(-u);
}

// E(u) for u > 0 from q = e^-u and den = OneMinusQ(u, q). Every evaluation of E for
// u > 0, one at a time or many side by side, ends in this.
inline double EinsteinEFromQ(double u, double q, double den)
{
    return u * u * q / (den * den);
}

// u = Theta / T under the report's and the band's cap: above 700 the term is either
// evaluated at 700 or left out (false). A NaN u is neither above nor below the cap: it is
// kept, so that a term without a value makes the sum NaN rather than vanish.
inline bool CappedU(double theta, double T, bool leaveOutAbove, double& u)
{
    u = theta / T;
    if (u > ReportUCap) {
        if (leaveOutAbove)
            return false;
        u = ReportUCap;
    }
    return true;
}

// Cp(T) = sum_j 3R a_j E(u_j) over N terms whose amplitude (units of 3R) and Theta lie
// at a[j * Stride] and theta[j * Stride], u under CappedU. The one Einstein sum of the
// report, the table and the band.
inline double EinsteinSum(int N, const double* a, const double* theta, std::ptrdiff_t Stride, double T,
                          bool leaveOutAbove)
{
    double c = 0.0;
    for (int j = 0; j < N; ++j) {
        double u = 0.0;
        if (CappedU(theta[j * Stride], T, leaveOutAbove, u))
            c += ThreeR * a[j * Stride] * EinsteinE(u);
    }
    return c;
}

// dE/du = u e^u / d^2 * (2 + u - 2 u e^u / d); d(A E(Theta/T))/dTheta = A * EinsteinDEdu(u) / T.
double EinsteinDEdu(double u);

// Entropy of one term in units of its amplitude: u / d - ln(1 - e^-u). Defined only when
// 1 - e^-u > 0 (u > 0); `ok` is false otherwise and the caller leaves the term out.
double EinsteinEntropy(double u, bool& ok);

// Enthalpy H(T) - H(0) of one term in units of its amplitude times Theta: 1 / d.
double EinsteinEnthalpyFactor(double u);

// EinsteinSum with a_j (units of 3R) and Theta_j at index j - 1.
double EinsteinSumCp(const std::vector<double>& a, const std::vector<double>& theta, double T,
                     bool leaveOutAbove);

// One pass of the driver over the points 1..M: the residuals (value - C, or (value - C) / C
// for the relative error type) into `fi` (M entries, when not null), the Jacobian into `jac`
// (M x n, row-major, when not null); returns the sum of squared residuals. x is 0-based:
// A_j = x[2j-2], Theta_j = x[2j-1]. u is capped at 100.
double EinsteinResiduals(int n, int M, const double* x, int ErrType, const TPointArray& T,
                         const TPointArray& Cp, double* fi, double* jac);

// Fits the Einstein sum with n unknowns to the points 1..M of T and Cp. In: X(1..n) the start
// point, ErrTypeStatus the error type (0 absolute, 1 relative). Out: X(1..n) the result and
// ErrTypeStatus the minimiser's termination type; negative means no solution (bad
// parameters, or a residual or Jacobian that is not finite). With Progress, Done counts the
// iterations (Jacobians computed) and SumOfSquares holds the latest sum of squared
// residuals; a set Stop ends the fit at its next request with RunStatusStopped.
void FitEinsteinSumLM(int n, int M, TXArray& X, int& ErrTypeStatus, const TPointArray& T,
                      const TPointArray& Cp, TWorkProgress* Progress = nullptr);
// The same over the application's point arrays TData and CpData.
void FitEinsteinSumLM(int n, int M, TXArray& X, int& ErrTypeStatus);

// Termination types the driver reports itself.
inline constexpr int LMStatusBadParameters = -1;
inline constexpr int LMStatusNotFinite = -8;
// A fit (of either minimiser) that was stopped on request before it ended.
inline constexpr int RunStatusStopped = -100;
