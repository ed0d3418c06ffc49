#include "Lev_Marq.h"

#include <cmath>
#include <exception>

#include "NumericsModule.h"

namespace {

// d = e^u - 1 with the zero guard; expm1 keeps small u accurate.
double GuardedD(double u)
{
    double d = std::expm1(u);
    if (std::fabs(d) == 0.0)
        d = ZeroDenominatorGuard;
    return d;
}

// E(u) and dE/du from one exponential. For u > 0 the forms with e^-u are used:
// e^u / d^2 = e^-u / (1 - e^-u)^2 and e^u / d = 1 / (1 - e^-u), so nothing overflows.
inline void EAndDerivative(double u, double& e, double& de)
{
    if (u > 0.0) {
        const double q = std::exp(-u);
        const double den = OneMinusQ(u, q);
        const double r = q / (den * den);
        e = u * u * r;
        de = u * r * (2.0 + u - 2.0 * u / den);
        return;
    }
    const double d = GuardedD(u);
    const double eu = std::exp(u);
    // (u e^u) first, so that a very negative u gives 0 rather than inf * 0.
    const double r = (u * eu) / (d * d);
    e = r * u;
    de = r * (2.0 + u - 2.0 * u * eu / d);
}

} // namespace

double EinsteinE(double u)
{
    if (u > 0.0) {
        const double q = std::exp(-u);
        return EinsteinEFromQ(u, q, OneMinusQ(u, q));
    }
    double e = 0.0;
    double de = 0.0;
    EAndDerivative(u, e, de);
    return e;
}

double EinsteinDEdu(double u)
{
    double e = 0.0;
    double de = 0.0;
    EAndDerivative(u, e, de);
    return de;
}

double EinsteinEntropy(double u, bool& ok)
{
    const double oneMinus = -std::expm1(-u);   // 1 - e^-u
    ok = oneMinus > 0.0;
    if (!ok)
        return 0.0;
    return u * EinsteinEnthalpyFactor(u) - std::log(oneMinus);
}

double EinsteinEnthalpyFactor(double u)
{
    if (u > 0.0)
        return std::exp(-u) / OneMinusQ(u, std::exp(-u));   // 1 / (e^u - 1)
    return 1.0 / GuardedD(u);
}

double EinsteinSumCp(const std::vector<double>& a, const std::vector<double>& theta, double T,
                     bool leaveOutAbove)
{
    return EinsteinSum(static_cast<int>(a.size()), a.data(), theta.data(), 1, T, leaveOutAbove);
}

double EinsteinResiduals(int n, int M, const double* x, int ErrType, const TPointArray& T,
                         const TPointArray& Cp, double* fi, double* jac)
{
    const int N = n / 2;
    double f = 0.0;
    for (int i = 1; i <= M; ++i) {
        const double t = T[i];
        const double c = Cp[i];
        double* row = jac ? jac + static_cast<std::size_t>(i - 1) * n : nullptr;
        double value = 0.0;
        for (int j = 1; j <= N; ++j) {
            const double A = x[2 * j - 2];
            double u = x[2 * j - 1] / t;
            if (u > DriverUCap)
                u = DriverUCap;
            if (!row) {
                value += A * EinsteinE(u);
                continue;
            }
            double e = 0.0;
            double de = 0.0;
            EAndDerivative(u, e, de);
            value += A * e;
            double dA = e;
            double dTheta = A * de / t;
            if (ErrType == 1) {
                dA /= c;
                dTheta /= c;
            }
            row[2 * j - 2] = dA;
            row[2 * j - 1] = dTheta;
        }
        const double r = ErrType == 1 ? (value - c) / c : value - c;
        if (fi)
            fi[i - 1] = r;
        f += r * r;
    }
    return f;
}

void FitEinsteinSumLM(int n, int M, TXArray& X, int& ErrTypeStatus, const TPointArray& T,
                      const TPointArray& Cp, TWorkProgress* Progress)
{
    const int errType = ErrTypeStatus;
    if (n < 1 || n > 20 || n % 2 != 0 || M < 1 || M > TPointArray::Length) {
        ErrTypeStatus = LMStatusBadParameters;
        return;
    }
    for (int k = 1; k <= n; ++k) {
        if (!std::isfinite(X[k])) {
            ErrTypeStatus = LMStatusBadParameters;
            return;
        }
    }

    // The minimiser's requests are answered here; the answer asks it to stop when a value
    // is not finite (nothing sound can come of further steps) or when the user stops.
    struct Answers {
        int n, M, errType;
        const TPointArray& T;
        const TPointArray& Cp;
        TWorkProgress* Progress;
        std::vector<double> fi, jac;
        bool notFinite = false;
        bool stopped = false;
    } answers{n, M, errType, T, Cp, Progress, std::vector<double>(static_cast<std::size_t>(M)),
              std::vector<double>(static_cast<std::size_t>(M) * n)};
    TLmProblem problem;
    problem.n = n;
    problem.m = M;
    problem.EpsX = 0.001;
    problem.MaxIts = 0;
    problem.Fi = answers.fi.data();
    problem.Jac = answers.jac.data();
    problem.Context = &answers;
    problem.Answer = [](void* context, TLmRequest request, const double* cx, double* F) {
        Answers& a = *static_cast<Answers*>(context);
        if (request == LmNeedF) {
            *F = EinsteinResiduals(a.n, a.M, cx, a.errType, a.T, a.Cp, nullptr, nullptr);
            a.notFinite = a.notFinite || !std::isfinite(*F);
        } else if (request == LmNeedFi) {
            EinsteinResiduals(a.n, a.M, cx, a.errType, a.T, a.Cp, a.fi.data(), nullptr);
            for (double v : a.fi)
                a.notFinite = a.notFinite || !std::isfinite(v);
        } else {
            const double f = EinsteinResiduals(a.n, a.M, cx, a.errType, a.T, a.Cp, a.fi.data(), a.jac.data());
            if (a.Progress != nullptr) {
                a.Progress->SumOfSquares = f;
                ++a.Progress->Done;
            }
            for (double v : a.fi)
                a.notFinite = a.notFinite || !std::isfinite(v);
            for (double v : a.jac)
                a.notFinite = a.notFinite || !std::isfinite(v);
        }
        if (a.notFinite)
            return true;
        if (!a.stopped && a.Progress != nullptr && a.Progress->Stop) {
            a.stopped = true;
            return true;
        }
        return false;
    };

    double x[20];
    for (int k = 0; k < n; ++k)
        x[k] = X[k + 1];
    int terminationType = 0;
    if (NumericsModule().LmFit(&problem, x, &terminationType) != 0) {
        ErrTypeStatus = LMStatusBadParameters;
        return;
    }
    for (int k = 0; k < n; ++k)
        X[k + 1] = x[k];
    ErrTypeStatus = terminationType;
    const bool stopped = answers.stopped;
    const bool notFinite = answers.notFinite;

    if (stopped) {
        ErrTypeStatus = RunStatusStopped;
        return;
    }
    if (notFinite && ErrTypeStatus >= 0)
        ErrTypeStatus = LMStatusNotFinite;
    for (int k = 1; k <= n && ErrTypeStatus >= 0; ++k) {
        if (!std::isfinite(X[k]))
            ErrTypeStatus = LMStatusNotFinite;
    }
}

void FitEinsteinSumLM(int n, int M, TXArray& X, int& ErrTypeStatus)
{
    FitEinsteinSumLM(n, M, X, ErrTypeStatus, TData, CpData);
}
