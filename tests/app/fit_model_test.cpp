// The Einstein function, the driver's residuals and Jacobian, and the Levenberg-Marquardt fit.
#include "Lev_Marq.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

// Reference E(u) in long double, where e^700 squared does not overflow.
long double RefE(long double u)
{
    const long double d = std::expm1(u);
    return u * u * std::exp(u) / (d * d);
}

struct Points {
    TPointArray T{}, Cp{};
    int M = 0;
};

// Points of sum_j A_j E(Theta_j / T) at T0, T0 + dT, .., times (1 + noise sin(1.3 i)).
Points Make(const std::vector<double>& A, const std::vector<double>& theta, int M, double T0, double dT,
            double noise)
{
    Points p;
    p.M = M;
    for (int i = 1; i <= M; ++i) {
        p.T[i] = T0 + dT * (i - 1);
        long double c = 0;
        for (std::size_t j = 0; j < A.size(); ++j)
            c += A[j] * RefE(theta[j] / p.T[i]);
        p.Cp[i] = static_cast<double>(c) * (1.0 + noise * std::sin(1.3 * i));
    }
    return p;
}

int Fit(const Points& p, TXArray& X, int n, int errType)
{
    int status = errType;
    FitEinsteinSumLM(n, p.M, X, status, p.T, p.Cp);
    return status;
}

} // namespace

TEST(EinsteinFunction, ValuesCapsAndLargeU)
{
    // One term, A = 3R, Theta = 300 K, at T = 300 K: 3R e / (e - 1)^2.
    Points p;
    p.T[1] = 300.0;
    const double x[2] = {ThreeR, 300.0};
    double fi = 0;
    EinsteinResiduals(2, 1, x, 0, p.T, p.Cp, &fi, nullptr);
    const double e = std::exp(1.0);
    EXPECT_NEAR(fi, ThreeR * e / ((e - 1) * (e - 1)), 1e-12);

    // Near u = 700 the plain formula overflows; the value must stay finite and right.
    for (double u : {650.0, 700.0, 2.5, 1e-9, -3.0})
        EXPECT_NEAR(EinsteinE(u) / static_cast<double>(RefE(u)), 1.0, 1e-12) << u;
    EXPECT_EQ(EinsteinE(0.0), 0.0);   // d = 0 takes the 1e-30 guard
    EXPECT_EQ(EinsteinE(-1e6), 0.0);

    // The driver uses u = 100 for T = 2 K, Theta = 1000 K, with the true T in dTheta.
    p.T[1] = 2.0;
    const double y[2] = {7.0, 1000.0};
    double jac[2];
    EinsteinResiduals(2, 1, y, 0, p.T, p.Cp, &fi, jac);
    const long double e100 = RefE(100.0L);
    const long double de100 = e100 * (2.0L / 100 + 1 - 2.0L / (1 - std::exp(-100.0L)));
    EXPECT_NEAR(fi / static_cast<double>(7 * e100), 1.0, 1e-12);
    EXPECT_NEAR(jac[0] / static_cast<double>(e100), 1.0, 1e-12);
    EXPECT_NEAR(jac[1] / static_cast<double>(7 * de100 / 2), 1.0, 1e-10);
}

TEST(EinsteinFunction, JacobianMatchesResidualDifferencesInBothErrorTypes)
{
    const Points p = Make({10.0, 14.0}, {60.0, 250.0}, 8, 8.0, 17.0, 0.02);
    const std::vector<double> x = {9.0, 70.0, 15.0, 230.0};
    for (int errType : {0, 1}) {
        std::vector<double> fi(p.M), jac(p.M * 4), fp(p.M), fm(p.M);
        const double F = EinsteinResiduals(4, p.M, x.data(), errType, p.T, p.Cp, fi.data(), jac.data());
        double sum = 0;
        for (int i = 0; i < p.M; ++i) {
            const double value = x[0] * RefE(x[1] / p.T[i + 1]) + x[2] * RefE(x[3] / p.T[i + 1]);
            const double c = p.Cp[i + 1];
            EXPECT_NEAR(fi[i], errType == 1 ? (value - c) / c : value - c, 1e-12);
            sum += fi[i] * fi[i];
        }
        EXPECT_NEAR(F, sum, 1e-12 * sum);
        for (int k = 0; k < 4; ++k) {
            std::vector<double> xp = x, xm = x;
            const double h = 1e-6 * x[k];
            xp[k] += h;
            xm[k] -= h;
            EinsteinResiduals(4, p.M, xp.data(), errType, p.T, p.Cp, fp.data(), nullptr);
            EinsteinResiduals(4, p.M, xm.data(), errType, p.T, p.Cp, fm.data(), nullptr);
            for (int i = 0; i < p.M; ++i) {
                const double fd = (fp[i] - fm[i]) / (2 * h);
                EXPECT_NEAR(jac[i * 4 + k], fd, 1e-6 * std::max(1e-3, std::fabs(fd))) << errType << i << k;
            }
        }
    }
}

TEST(LevMarqFit, RecoversKnownCoefficientsFromTheDefaultStart)
{
    const Points p = Make({0.4 * ThreeR, 0.6 * ThreeR}, {80.0, 350.0}, 40, 12.0, 7.0, 0.0);
    for (int i = 1; i <= p.M; ++i) {   // the variant without arrays reads the global ones
        TData[i] = p.T[i];
        CpData[i] = p.Cp[i];
    }
    for (int errType : {0, 1}) {
        TXArray X{};
        X.Fill(1.0);   // the grid's default guesses
        int status = errType;
        FitEinsteinSumLM(4, p.M, X, status);
        ASSERT_GT(status, 0) << errType;
        const int lo = X[2] < X[4] ? 1 : 3, hi = 4 - lo;   // the terms come out in either order
        EXPECT_NEAR(X[lo] / (0.4 * ThreeR), 1.0, 1e-4);
        EXPECT_NEAR(X[lo + 1] / 80.0, 1.0, 1e-4);
        EXPECT_NEAR(X[hi] / (0.6 * ThreeR), 1.0, 1e-4);
        EXPECT_NEAR(X[hi + 1] / 350.0, 1.0, 1e-4);
    }
}

TEST(LevMarqFit, NoLowerSumOfSquaresNearTheResult)
{
    // Noisy data: the minimum is not the generating point, so this checks the fit itself.
    const Points p = Make({9.0, 16.0}, {70.0, 300.0}, 30, 10.0, 9.0, 0.03);
    for (int errType : {0, 1}) {
        TXArray X{};
        X[1] = 5.0, X[2] = 50.0, X[3] = 20.0, X[4] = 400.0;
        ASSERT_GT(Fit(p, X, 4, errType), 0);
        std::vector<double> best = {X[1], X[2], X[3], X[4]};
        const double s0 = EinsteinResiduals(4, p.M, best.data(), errType, p.T, p.Cp, nullptr, nullptr);
        for (int k = 0; k < 4; ++k) {
            for (double sign : {-1.0, 1.0}) {
                std::vector<double> moved = best;
                moved[k] *= 1 + sign * 1e-3;
                EXPECT_GT(EinsteinResiduals(4, p.M, moved.data(), errType, p.T, p.Cp, nullptr, nullptr), s0) << k;
            }
        }
    }
}

TEST(LevMarqFit, NonFiniteValuesAndBadInputEndInNegativeStatus)
{
    const Points p = Make({20.0}, {200.0}, 10, 10.0, 10.0, 0.01);
    TXArray start{};
    start[1] = 10.0;
    start[2] = 100.0;
    TXArray X = start;
    EXPECT_GT(Fit(p, X, 2, 0), 0);

    Points zeroT = p;   // infinite Jacobian
    zeroT.T[4] = 0.0;
    X = start;
    EXPECT_LT(Fit(zeroT, X, 2, 0), 0);
    Points zeroCp = p;   // relative residual divides by zero
    zeroCp.Cp[3] = 0.0;
    X = start;
    EXPECT_LT(Fit(zeroCp, X, 2, 1), 0);
    X[2] = std::nan("");
    EXPECT_LT(Fit(p, X, 2, 0), 0);
    X = start;
    EXPECT_LT(Fit(p, X, 0, 0), 0);
}
