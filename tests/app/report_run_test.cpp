// The run's numerical core: refusals, restarts, uncertainties, report lines and chart points.
#include "Unit2/RunCore.h"

#include "system/SysUtils.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <regex>

namespace {

long double RefE(long double u)
{
    const long double d = std::expm1(u);
    return u * u * std::exp(u) / (d * d);
}

// Cp of a sum with a_j in units of 3R.
double RefCp(const std::vector<double>& a, const std::vector<double>& theta, double T)
{
    long double c = 0;
    for (std::size_t j = 0; j < a.size(); ++j)
        c += 3 * 8.3144621L * a[j] * RefE(theta[j] / T);
    return static_cast<double>(c);
}

double Num(const std::string& text)
{
    return testsupport::Number(Trim(text));
}

class RunCoreTest : public ::testing::Test {
protected:
    TPointArray T{}, Cp{};

    // Points at T0, T0 + dT, .. of a sum (a in units of 3R), times (1 + noise sin(1.3 i)).
    void Fill(const std::vector<double>& a, const std::vector<double>& theta, int M, double T0, double dT,
              double noise)
    {
        for (int i = 1; i <= M; ++i) {
            T[i] = T0 + dT * (i - 1);
            Cp[i] = RefCp(a, theta, T[i]) * (1.0 + noise * std::sin(1.3 * i));
        }
    }

    TRunInput Input(int n, int M, const std::vector<double>& start) const
    {
        TRunInput in;
        in.n = n;
        in.M = M;
        in.T = &T;
        in.Cp = &Cp;
        for (int k = 1; k <= n; ++k)
            in.X[k] = start[k - 1];
        return in;
    }
};

} // namespace

TEST_F(RunCoreTest, ReportOfASmallFile)
{
    const int M = 12;
    Fill({1.0}, {200.0}, M, 10.0, 10.0, 0.01);
    const TRunResult r = RunCore(Input(2, M, {1.0, 1.0}));
    ASSERT_TRUE(r.Solved);
    const std::vector<std::string>& L = r.Report;
    ASSERT_EQ(L.size(), 6u + M + 2 + 20 + 1 + 5);
    EXPECT_EQ(L[0], "ier = 1");
    EXPECT_EQ(L[1], "Solution: ");
    std::smatch m;
    ASSERT_TRUE(std::regex_match(L[2], m, std::regex(R"(^    a\[1\] = (\d\.\d{6}E[+-]\d{3})  \(([ \d.]{8})\)$)")));
    const double a = testsupport::Number(m[1].str()), ua = Num(m[2]);
    ASSERT_TRUE(std::regex_match(L[3], m, std::regex(R"(^Theta\[1\] = (\d\.\d{6}E[+-]\d{3})  \(([ \d.]{8})\) K$)")));
    const double theta = testsupport::Number(m[1].str()), ut = Num(m[2]);
    EXPECT_NEAR(a, 1.0, 0.02);
    EXPECT_NEAR(theta, 200.0, 3.0);
    EXPECT_EQ(r.Grid[0].Text, L[2].substr(11, 13));
    EXPECT_EQ(Num(r.Grid[3].Text), ut);

    // Uncertainties 2 sqrt(diag(inverse of sum g g^T) S / (M - n)), worked out here with
    // difference gradients and the 2 x 2 inverse.
    double w11 = 0, w12 = 0, w22 = 0, S = 0;
    for (int i = 1; i <= M; ++i) {
        const double g1 = (RefCp({a + 1e-6}, {theta}, T[i]) - RefCp({a - 1e-6}, {theta}, T[i])) / 2e-6;
        const double g2 = (RefCp({a}, {theta + 1e-4}, T[i]) - RefCp({a}, {theta - 1e-4}, T[i])) / 2e-4;
        w11 += g1 * g1, w12 += g1 * g2, w22 += g2 * g2;
        S += std::pow(Cp[i] - RefCp({a}, {theta}, T[i]), 2);
    }
    const double det = w11 * w22 - w12 * w12;
    EXPECT_NEAR(ua, 2 * std::sqrt(w22 / det * S / (M - 2)), 0.0015);
    EXPECT_NEAR(ut, 2 * std::sqrt(w11 / det * S / (M - 2)), 0.0015);

    EXPECT_EQ(L[4], "");
    EXPECT_EQ(L[5], "    T      Cp(exp)   Cp(calc)     delta ");
    const std::regex row(R"(^([ \d.-]{8})  ([ \d.-]{8})  ([ \d.-]{8})    ([ \d.-]{8})$)");
    double sumSq = 0, maxAbs = 0;
    for (int i = 1; i <= M; ++i) {
        ASSERT_TRUE(std::regex_match(L[5 + i], m, row)) << L[5 + i];
        const double calc = RefCp(r.a, r.Theta, T[i]);
        EXPECT_NEAR(Num(m[1]), T[i], 0.005);
        EXPECT_NEAR(Num(m[2]), Cp[i], 0.0005);
        EXPECT_NEAR(Num(m[3]), calc, 0.0005);
        EXPECT_NEAR(Num(m[4]), Cp[i] - calc, 0.000005);
        sumSq += std::pow(Cp[i] - calc, 2);
        maxAbs = std::max(maxAbs, std::fabs(Cp[i] - calc));
    }
    int k = 6 + M;
    EXPECT_EQ(L[k++], "");
    EXPECT_EQ(L[k++], "Extrapolation to Zero");
    for (int t = 1; t <= 20; ++t, ++k) {
        ASSERT_TRUE(std::regex_match(L[k], m, std::regex(R"(^T = (\d+)  Cp\(extr\) = (\d+(\.\d{0,5}[1-9])?)$)")))
            << L[k];
        EXPECT_EQ(std::stoi(m[1]), t);
        EXPECT_NEAR(testsupport::Number(m[2].str()), RefCp(r.a, r.Theta, t), 5.1e-7);
    }
    ASSERT_TRUE(std::regex_match(L[k++], m, std::regex(R"(^S\(298\.15\) ~ (\d+(\.\d?[1-9])?)$)")));
    const long double u = r.Theta[0] / 298.15;
    EXPECT_NEAR(testsupport::Number(m[1].str()), 3 * 8.3144621 * r.a[0] * (u / std::expm1(u) - std::log(1 - std::exp(-u))), 0.0051);
    EXPECT_EQ(L[k++], "");
    EXPECT_EQ(L[k++], "Approximation errors:");
    ASSERT_TRUE(std::regex_match(L[k++], m, std::regex(R"(^Root mean square \(RMS\) = (\d\.\d{3}E[+-]\d{3})$)")));
    EXPECT_NEAR(testsupport::Number(m[1].str()) / std::sqrt(sumSq / M), 1.0, 1e-3);
    EXPECT_TRUE(std::regex_match(L[k++], std::regex(R"(^Mean error = \d\.\d{3}E[+-]\d{3}$)")));
    ASSERT_TRUE(std::regex_match(L[k], m, std::regex(R"(^Maximum error = (\d\.\d{3}E[+-]\d{3}) at T = \d+$)")));
    EXPECT_NEAR(testsupport::Number(m[1].str()) / maxAbs, 1.0, 1e-3);
}

TEST_F(RunCoreTest, RelativeErrorUncertaintiesWeighEachPointByItsCp)
{
    const int M = 12;
    Fill({1.0}, {200.0}, M, 10.0, 10.0, 0.01);
    TRunInput in = Input(2, M, {20.0, 150.0});
    in.ErrorType = 1;
    const TRunResult r = RunCore(in);
    ASSERT_TRUE(r.Solved);
    ASSERT_EQ(r.Unc.size(), 2u);
    const double a = r.a[0], theta = r.Theta[0];
    // 2 sqrt(diag(inverse of sum g g^T) S / (M - 2)) with relative difference gradients
    // (g / Cp) and relative deviations in S.
    double w11 = 0, w12 = 0, w22 = 0, S = 0;
    for (int i = 1; i <= M; ++i) {
        const double g1 = (RefCp({a + 1e-6}, {theta}, T[i]) - RefCp({a - 1e-6}, {theta}, T[i])) / 2e-6 / Cp[i];
        const double g2 = (RefCp({a}, {theta + 1e-4}, T[i]) - RefCp({a}, {theta - 1e-4}, T[i])) / 2e-4 / Cp[i];
        w11 += g1 * g1, w12 += g1 * g2, w22 += g2 * g2;
        S += std::pow((Cp[i] - RefCp({a}, {theta}, T[i])) / Cp[i], 2);
    }
    const double det = w11 * w22 - w12 * w12;
    EXPECT_NEAR(r.Unc[0] / (2 * std::sqrt(w22 / det * S / (M - 2))), 1.0, 0.01);
    EXPECT_NEAR(r.Unc[1] / (2 * std::sqrt(w11 / det * S / (M - 2))), 1.0, 0.01);
}

TEST_F(RunCoreTest, SecondRunFromPreviousResultsReproducesTheFirst)
{
    Fill({0.35, 0.65}, {90.0, 330.0}, 30, 8.0, 9.0, 0.01);
    const TRunResult first = RunCore(Input(4, 30, {5.0, 50.0, 20.0, 400.0}));
    ASSERT_TRUE(first.Solved);
    std::vector<double> start(4);   // the grid's coefficients, amplitudes times 3 R
    for (const TGridText& g : first.Grid)
        if (g.Col == 2)
            start[g.Row - 1] = StrToFloat(g.Text) * (g.Row % 2 == 1 ? 3 * 8.3144621 : 1.0);
    const TRunResult second = RunCore(Input(4, 30, start));
    ASSERT_TRUE(second.Solved);
    for (int j = 0; j < 2; ++j) {
        EXPECT_NEAR(second.a[j] / first.a[j], 1.0, 1e-5);
        EXPECT_NEAR(second.Theta[j] / first.Theta[j], 1.0, 1e-5);
    }
}

TEST_F(RunCoreTest, MaximumErrorNamesTheFirstLargestDeviation)
{
    // Two points far below Theta / 700, where the model is zero: both deviate by exactly 0.5.
    Fill({1.0}, {300.0}, 25, 5.0, 12.0, 0.0);
    T[3] = 0.3, Cp[3] = 0.5;
    T[20] = 0.1, Cp[20] = 0.5;
    const TRunResult r = RunCore(Input(2, 25, {20.0, 250.0}));
    ASSERT_TRUE(r.Solved);
    EXPECT_EQ(r.Report.back(), "Maximum error = 5.000E-001 at T = 0.3");
}

// The error lines from the residual rows: the mean error is the mean absolute deviation,
// not the mean deviation nor the root mean square.
TEST_F(RunCoreTest, ApproximationErrorsOfTheResidualRows)
{
    TRunResult r;
    r.Solved = true;
    r.Residuals = {{10.0, 1.0, 0.9, 0.1}, {20.0, 2.0, 2.3, -0.3}};
    const TApproximationErrors e = ApproximationErrors(r.Residuals);
    r.RMS = e.RMS, r.MeanError = e.Mean, r.MaxError = e.Max, r.TatMax = e.TatMax;
    const std::vector<std::string> L = RunReport(r);
    ASSERT_GE(L.size(), 3u);
    EXPECT_EQ(std::vector<std::string>(L.end() - 3, L.end()),
              (std::vector<std::string>{"Root mean square (RMS) = 2.236E-001", "Mean error = 2.000E-001",
                                        "Maximum error = 3.000E-001 at T = 20"}));
}

TEST_F(RunCoreTest, RefusalsRestartsAndFailures)
{
    Fill({1.0}, {200.0}, 12, 10.0, 10.0, 0.0);
    EXPECT_EQ(RunCore(Input(4, 4, {1, 1, 1, 1})).Error, "Too few data points: 4 points for 4 unknowns");
    const TRunResult few = RunCore(Input(4, 3, {1, 1, 1, 1}));
    EXPECT_EQ(few.Error, "Too few data points: 3 points for 4 unknowns");
    EXPECT_TRUE(few.Report.empty());
    EXPECT_FALSE(RunCore(Input(0, 10, {})).Error.empty());

    Cp[7] = 0.0;   // refused for the relative error type only
    TRunInput in = Input(2, 10, {1, 1});
    in.ErrorType = 1;
    EXPECT_NE(RunCore(in).Error.find("Cp = 0 at T = 70 K"), std::string::npos);
    in.ErrorType = 0;
    EXPECT_TRUE(RunCore(in).Solved);

    // The relative error type still lists absolute deviations.
    Fill({1.0}, {200.0}, 12, 10.0, 10.0, 0.02);
    in.ErrorType = 1;
    TRunResult r = RunCore(in);
    EXPECT_NEAR(Num(r.Report[11].substr(32)), Cp[6] - RefCp(r.a, r.Theta, T[6]), 5e-6);

    // E is even in u: a fit started at a negative Theta ends there and restarts from 10 K.
    r = RunCore(Input(2, 12, {20.0, -150.0}));
    EXPECT_EQ(r.Attempts, 2);
    EXPECT_NEAR(r.Theta[0], 200.0, 5.0);

    T[5] = 0.0;   // no model value at 0 K, nor below: refused, naming the point
    EXPECT_EQ(RunCore(Input(2, 12, {1.0, 1.0})).Error, "Temperatures must be above 0 K: T = 0 K at point 5");
    T[5] = -50.0;
    EXPECT_EQ(RunCore(Input(2, 12, {1.0, 1.0})).Error, "Temperatures must be above 0 K: T = -50 K at point 5");
    T[5] = 50.0;
    Cp[5] = 1e300;   // a non-finite fit
    r = RunCore(Input(2, 12, {1.0, 1.0}));
    EXPECT_FALSE(r.Solved);
    ASSERT_EQ(r.Report.size(), 2u);
    EXPECT_EQ(r.Report[0].rfind("ier = ", 0), 0u);
    EXPECT_EQ(r.Report[1], "Solution not found");
    EXPECT_TRUE(r.Grid.empty() && r.Calculated.empty());
}

TEST_F(RunCoreTest, SingularMatrixGivesZeroUncertaintiesAndGoesOn)
{
    // Two identical terms stay identical, so the normal matrix is singular.
    Fill({1.0}, {200.0}, 12, 10.0, 10.0, 0.01);
    const TRunResult r = RunCore(Input(4, 12, {10.0, 150.0, 10.0, 150.0}));
    ASSERT_TRUE(r.Solved);
    const std::string head = "Working matrix is ill conditioned, covariance matrix can not be computed. "
                             "Reciprocal condition number is ";
    ASSERT_EQ(r.ConditionMessage.rfind(head, 0), 0u) << r.Warning;
    EXPECT_LT(StrToFloat(r.ConditionMessage.substr(head.size())), 1e-15);
    EXPECT_EQ(r.Unc, std::vector<double>(4, 0.0));
    EXPECT_EQ(r.Report[2].substr(r.Report[2].size() - 10), "(   0.000)");
}

TEST_F(RunCoreTest, ChartPointsFollowTheAxisChoices)
{
    const int M = 10;
    Fill({1.0}, {150.0}, M, 20.0, 15.0, 0.02);
    TRunInput in = Input(2, M, {20.0, 100.0});
    double num = 0, den = 0;
    for (int i = 1; i <= M; ++i)
        num += Cp[i] * std::pow(T[i], 3), den += std::pow(T[i], 6);
    in.XAxis = rxTCubed, in.YAxis = ryCpOverT;
    const TRunResult r = RunCore(in);
    in.XAxis = rxInvT, in.YAxis = ryCp;
    const TRunResult inv = RunCore(in);
    ASSERT_EQ(r.CubicLaw.size(), static_cast<std::size_t>(M));
    EXPECT_TRUE(inv.CubicLaw.empty());
    for (int i = 1; i <= M; ++i) {
        const double t = T[i];
        EXPECT_NEAR(r.Experiment[i - 1].X / (t * t * t), 1.0, 1e-12);
        EXPECT_NEAR(r.Experiment[i - 1].Y, Cp[i] / t, 1e-12);
        EXPECT_NEAR(r.Calculated[i - 1].Y, RefCp(r.a, r.Theta, t) / t, 1e-9);
        EXPECT_NEAR(r.CubicLaw[i - 1].Y / (num / den * t * t), 1.0, 1e-9);   // b T^3 / T
        EXPECT_NEAR(inv.Calculated[i - 1].X, 1 / t, 1e-15);
        EXPECT_NEAR(inv.Calculated[i - 1].Y, RefCp(r.a, r.Theta, t), 1e-9);
    }
}
