#include "Unit2/RunCore.h"

#include "system/SysUtils.h"

#include <algorithm>
#include <cmath>

#include "NumericsModule.h"

namespace {

constexpr double NMInitialStep = 0.0001;
constexpr double ConditionLimit = 1e-15;
constexpr int MaxAttempts = 10;
constexpr int InverseNotPossible = -3;   // the library's code for a singular matrix

bool AllFinite(const TXArray& X, int n)
{
    for (int k = 1; k <= n; ++k) {
        if (!std::isfinite(X[k]))
            return false;
    }
    return true;
}

// Cp of the fitted sum at T with u capped at 700 (X: a_j in units of 3R, Theta_j).
double CappedSum(int N, const TXArray& X, double T)
{
    return EinsteinSum(N, X.Data(), X.Data() + 1, 2, T, false);
}

double Transform(int axis, double T)
{
    switch (axis) {
    case rxInvT:
        return 1.0 / T;
    case rxTSquared:
        return T * T;
    case rxTCubed:
        return T * T * T;
    default:
        return T;
    }
}

} // namespace

TChartPoint ChartPoint(int XAxis, int YAxis, double T, double Cp)
{
    return {Transform(XAxis, T), YAxis == ryCpOverT ? Cp / T : Cp};
}

std::string CheckRunInput(const TRunInput& in)
{
    if (in.n < 2 || in.n > 20 || in.n % 2 != 0)
        return "Number of Einstein terms must be between 1 and 10";
    if (in.M <= in.n) {
        const int points = std::max(in.M, 0);
        return "Too few data points: " + IntToStr(points) + (points == 1 ? " point for " : " points for ") +
               IntToStr(in.n) + " unknowns";
    }
    // The model is a function of Theta / T: a point at or below 0 K has no value, and the
    // fit would only end in "Solution not found" without saying why.
    for (int i = 1; i <= in.M; ++i) {
        if (!((*in.T)[i] > 0.0)) {
            return "Temperatures must be above 0 K: T = " + FloatToStr((*in.T)[i]) + " K at point " +
                   IntToStr(i);
        }
    }
    if (in.ErrorType == 1) {
        for (int i = 1; i <= in.M; ++i) {
            if ((*in.Cp)[i] == 0.0) {
                return "Relative error needs a non-zero Cp: Cp = 0 at T = " + FloatToStr((*in.T)[i]) +
                       " K";
            }
        }
    }
    return std::string();
}

int MinimiseEinsteinSum(const TRunInput& in, TXArray& X, int& attempts, double& fmin,
                        const TLineSink& out)
{
    const int n = in.n;
    const int N = n / 2;
    attempts = 1;
    if (in.Routine == RoutineNelderMead) {
        TXArray step{};
        for (int k = 1; k <= n; ++k)
            step[k] = NMInitialStep;
        const int norm = in.Norm;
        const int M = in.M;
        const TPointArray& T = *in.T;
        const TPointArray& Cp = *in.Cp;
        auto objective = [&](int count, const TXArray& x) {
            return NelderMeadObjective(count, x, norm, M, T, Cp);
        };
        int status = in.PrintProgress ? -10 : 0;
        FMINSI(n, X, step, fmin, status, objective, out, in.Progress);
        if (status == RunStatusStopped)
            return status;
        for (int j = 1; j <= N; ++j)
            X[2 * j] = std::exp(X[2 * j]);
        return status;
    }

    int status = 0;
    for (;;) {
        status = in.ErrorType;
        FitEinsteinSumLM(n, in.M, X, status, *in.T, *in.Cp, in.Progress);
        if (status == RunStatusStopped)
            return status;
        bool restart = false;
        for (int j = 1; j <= N; ++j) {
            if (X[2 * j] < 0 && attempts < MaxAttempts) {
                for (int i = 1; i <= N; ++i)
                    X[2 * i] = 10.0 * attempts;
                ++attempts;
                restart = true;
                break;
            }
        }
        if (!restart)
            return status;
    }
}

double WeightedSumSquares(int n, int M, const TXArray& X, int ErrorType, const TPointArray& T,
                          const TPointArray& Cp)
{
    double s = 0.0;
    for (int i = 1; i <= M; ++i) {
        double d = std::fabs(Cp[i] - CappedSum(n / 2, X, T[i]));
        if (ErrorType == 1)
            d /= Cp[i];
        s += d * d;
    }
    return s;
}

double CubicLawCoefficient(int M, const TPointArray& T, const TPointArray& Cp)
{
    // sum Cp T^3 / sum T^6, with T scaled by its largest magnitude so that no power overflows.
    double scale = 0.0;
    for (int i = 1; i <= M; ++i)
        scale = std::max(scale, std::fabs(T[i]));
    if (scale == 0.0 || !std::isfinite(scale))
        return 0.0;
    double num = 0.0;
    double den = 0.0;
    for (int i = 1; i <= M; ++i) {
        const double t3 = std::pow(T[i] / scale, 3.0);
        num += Cp[i] * t3;
        den += std::pow(T[i] / scale, 6.0);
    }
    return num / den / (scale * scale * scale);
}

std::vector<double> NormalMatrix(int n, int M, const TXArray& X, int ErrorType,
                                 const TPointArray& T, const TPointArray& Cp)
{
    const int N = n / 2;
    std::vector<double> W(static_cast<std::size_t>(n) * n, 0.0);
    std::vector<double> g(static_cast<std::size_t>(n));
    for (int i = 1; i <= M; ++i) {
        const double t = T[i];
        for (int j = 1; j <= N; ++j) {
            double u = 0.0;
            CappedU(X[2 * j], t, false, u);
            double ga = ThreeR * EinsteinE(u);
            double gt = ThreeR * X[2 * j - 1] * EinsteinDEdu(u) / t;
            if (ErrorType == 1) {
                ga /= Cp[i];
                gt /= Cp[i];
            }
            g[2 * j - 2] = ga;
            g[2 * j - 1] = gt;
        }
        for (int r = 0; r < n; ++r) {
            double* row = W.data() + static_cast<std::size_t>(r) * n;
            for (int c = 0; c < n; ++c)
                row[c] += g[r] * g[c];
        }
    }
    return W;
}

int InvertNormalMatrix(std::vector<double>& W, int n, double& rcond)
{
    rcond = 0.0;
    if (n < 1 || W.size() != static_cast<std::size_t>(n) * n)
        return InverseNotPossible;
    for (double v : W) {
        if (!std::isfinite(v))
            return InverseNotPossible;
    }
    int info = 0;
    if (NumericsModule().Invert(W.data(), n, &info, &rcond) != 0)
        return InverseNotPossible;
    return info;
}

double ExtrapolatedCp(const std::vector<double>& a, const std::vector<double>& theta, double t)
{
    return EinsteinSumCp(a, theta, t, true);
}

double EinsteinSumEntropy(const std::vector<double>& a, const std::vector<double>& theta, double T,
                          std::vector<std::string>* messages)
{
    double s = 0.0;
    for (std::size_t j = 0; j < a.size(); ++j) {
        double u = 0.0;
        if (!CappedU(theta[j], T, true, u))
            continue;
        bool ok = false;
        const double e = EinsteinEntropy(u, ok);
        if (!ok)
            continue;
        const double term = ThreeR * a[j] * e;
        if (!std::isfinite(term)) {
            if (messages)
                messages->push_back("1-exp(-D) =" + FloatToStr(-std::expm1(-u)));
            continue;
        }
        s += term;
    }
    return s;
}

TApproximationErrors ApproximationErrors(const std::vector<TResidualRow>& rows)
{
    TApproximationErrors e;
    if (rows.empty())
        return e;
    double sumSq = 0.0;
    double sumAbs = 0.0;
    for (const TResidualRow& r : rows) {
        sumSq += r.Delta * r.Delta;
        sumAbs += std::fabs(r.Delta);
        if (std::fabs(r.Delta) > e.Max) {
            e.Max = std::fabs(r.Delta);
            e.TatMax = r.T;
        }
    }
    const double M = static_cast<double>(rows.size());
    e.RMS = std::sqrt(sumSq / M);
    e.Mean = sumAbs / M;
    return e;
}

TRunResult RunCore(const TRunInput& in)
{
    TRunResult res;
    res.XAxis = in.XAxis;
    res.YAxis = in.YAxis;
    res.Error = CheckRunInput(in);
    if (!res.Error.empty())
        return res;

    const int n = in.n;
    const int N = n / 2;
    const int M = in.M;
    const TPointArray& T = *in.T;
    const TPointArray& Cp = *in.Cp;

    // Minimise, then amplitudes to units of 3R.
    TXArray X = in.X;
    res.Status = MinimiseEinsteinSum(in, X, res.Attempts, res.FMIN,
                                     [&res](const std::string& line) { res.FitLines.push_back(line); });
    if (res.Status == RunStatusStopped) {
        res.Stopped = true;
        res.FitLines.clear();   // nothing of the half-made fit is reported
        res.StoppedAfter = in.Progress != nullptr ? in.Progress->Done.load() : 0;
        res.StoppedSumOfSquares = in.Progress != nullptr ? in.Progress->SumOfSquares.load() : 0.0;
        res.Report = RunReport(res);
        return res;
    }
    for (int j = 1; j <= N; ++j)
        X[2 * j - 1] = X[2 * j - 1] / ThreeR;

    res.S = WeightedSumSquares(n, M, X, in.ErrorType, T, Cp);
    res.b = CubicLawCoefficient(M, T, Cp);
    if (res.Status >= 0 && (!AllFinite(X, n) || !std::isfinite(res.S)))
        res.Status = LMStatusNotFinite;
    res.X = X;

    // Uncertainties from the inverse of the normal matrix.
    std::vector<double> W = NormalMatrix(n, M, X, in.ErrorType, T, Cp);
    res.Info = InvertNormalMatrix(W, n, res.RCond);
    res.Unc.assign(static_cast<std::size_t>(n), 0.0);
    if (res.Info < 0) {
        res.Warning = "Covariance matrix can not be computed.";
    } else if (res.RCond < ConditionLimit) {
        res.ConditionMessage =
            "Working matrix is ill conditioned, covariance matrix can not be computed. "
            "Reciprocal condition number is " +
            FloatToStr(res.RCond);
    } else {
        for (int k = 1; k <= n; ++k) {
            const double wkk = W[static_cast<std::size_t>(k - 1) * n + (k - 1)];
            res.Unc[k - 1] = 2.0 * std::sqrt(wkk * res.S / (M - n));
        }
    }
    if (res.Status < 0) {
        res.Report = RunReport(res);
        return res;
    }
    res.Solved = true;

    for (int j = 1; j <= N; ++j) {
        res.a.push_back(X[2 * j - 1]);
        res.Theta.push_back(X[2 * j]);
        const TCoefficientTexts texts = CoefficientTexts(res, j);
        res.Grid.push_back({2, 2 * j - 1, texts.a});
        res.Grid.push_back({2, 2 * j, texts.Theta});
        res.Grid.push_back({3, 2 * j - 1, texts.UncA});
        res.Grid.push_back({3, 2 * j, texts.UncTheta});
    }

    // Residuals and chart points.
    for (int i = 1; i <= M; ++i) {
        const double t = T[i];
        const double c = Cp[i];
        const double calc = CappedSum(N, X, t);
        if (in.XAxis == rxTCubed)
            res.CubicLaw.push_back(ChartPoint(in.XAxis, in.YAxis, t, res.b * (t * t * t)));
        res.Calculated.push_back(ChartPoint(in.XAxis, in.YAxis, t, calc));
        res.Experiment.push_back(ChartPoint(in.XAxis, in.YAxis, t, c));
        res.Residuals.push_back({t, c, calc, c - calc});
    }

    // Extrapolation to zero and the entropy at 298.15 K.
    for (int t = 1; t <= ExtrapolationPoints; ++t)
        res.Extrapolated.push_back(ExtrapolatedCp(res.a, res.Theta, t));
    res.S298 = EinsteinSumEntropy(res.a, res.Theta, 298.15, &res.Messages);

    const TApproximationErrors errors = ApproximationErrors(res.Residuals);
    res.RMS = errors.RMS;
    res.MeanError = errors.Mean;
    res.MaxError = errors.Max;
    res.TatMax = errors.TatMax;
    res.Report = RunReport(res);
    return res;
}

TCoefficientTexts CoefficientTexts(const TRunResult& r, int j)
{
    return {Format("%12.6e", {r.a[j - 1]}), Format("%12.6e", {r.Theta[j - 1]}), Format("%8.3f", {r.Unc[2 * j - 2]}),
            Format("%8.3f", {r.Unc[2 * j - 1]})};
}

std::vector<std::string> RunReport(const TRunResult& r)
{
    std::vector<std::string> L;
    if (!r.Error.empty())
        return L;
    if (r.Stopped) {
        L.push_back("Solution not found");
        L.push_back("Stopped by the user after " + IntToStr(r.StoppedAfter) + " iterations (sum of squares " +
                    Format("%9.3e", {r.StoppedSumOfSquares}) + ")");
        return L;
    }
    L = r.FitLines;
    L.push_back("ier = " + IntToStr(r.Info));
    if (!r.Solved) {
        L.push_back("Solution not found");
        return L;
    }

    L.push_back("Solution: ");
    for (int j = 1; j <= static_cast<int>(r.a.size()); ++j) {
        const TCoefficientTexts texts = CoefficientTexts(r, j);
        L.push_back("    a[" + IntToStr(j) + "] = " + texts.a + "  (" + texts.UncA + ")");
        L.push_back("Theta[" + IntToStr(j) + "] = " + texts.Theta + "  (" + texts.UncTheta + ") K");
    }

    L.push_back("");
    L.push_back("    T      Cp(exp)   Cp(calc)     delta ");
    for (const TResidualRow& row : r.Residuals)
        L.push_back(Format("%8.2f", {row.T}) + "  " + Format("%8.3f", {row.Cp}) + "  " + Format("%8.3f", {row.Calc}) +
                    "    " + Format("%8.5f", {row.Delta}));

    L.push_back("");
    L.push_back("Extrapolation to Zero");
    for (std::size_t t = 0; t < r.Extrapolated.size(); ++t)
        L.push_back("T = " + IntToStr(static_cast<int>(t) + 1) + "  Cp(extr) = " + FormatFloat("0.######", r.Extrapolated[t]));
    L.push_back("S(298.15) ~ " + FormatFloat("0.##", r.S298));

    L.push_back("");
    L.push_back("Approximation errors:");
    L.push_back("Root mean square (RMS) = " + Format("%9.3e", {r.RMS}));
    L.push_back("Mean error = " + Format("%9.3e", {r.MeanError}));
    L.push_back("Maximum error = " + Format("%9.3e", {r.MaxError}) + " at T = " + FormatFloat("0.##", r.TatMax));
    return L;
}
