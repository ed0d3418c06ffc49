// The simplex minimiser, its random restart, its uniform generator and its objective.
#include "Unit2/NelderMead.h"
#include "Unit2/RunCore.h"

#include "system/SysUtils.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace {

struct MinimiserRun {
    TXArray X{};
    double FMIN = 0;
    int PS = 0;
    std::vector<std::string> Lines;
    int Calls = 0;
};

MinimiserRun Minimise(int N, const std::vector<double>& start, int ps, const std::function<double(const TXArray&)>& f)
{
    MinimiserRun r;
    TXArray S{};
    for (int k = 1; k <= N; ++k)
        r.X[k] = start[k - 1], S[k] = 1e-4;
    r.PS = ps;
    FMINSI(N, r.X, S, r.FMIN, r.PS, [&](int, const TXArray& x) { return ++r.Calls, f(x); },
           [&](const std::string& line) { r.Lines.push_back(line); });
    return r;
}

// Weighted quadratic with its minimum at c * (1, 2, .., N).
double Bowl(const TXArray& x, int N, double c)
{
    double s = 0;
    for (int k = 1; k <= N; ++k)
        s += k * (x[k] - c * k) * (x[k] - c * k);
    return s;
}

} // namespace

TEST(NelderMead, IterationLimit)
{
    EXPECT_EQ(NelderMeadMaxIterations(4), 1632);
    EXPECT_EQ(NelderMeadMaxIterations(3), 1214);   // 1213.5, halves to even
    // f = -x has no minimum; N = 1 allows 400 iterations (400.5 rounds down).
    const MinimiserRun r = Minimise(1, {1.0}, 0, [](const TXArray& x) { return -x[1]; });
    EXPECT_EQ(r.PS, NMIterationLimit);
    EXPECT_EQ(r.Lines, (std::vector<std::string>{" +++++FMINSI: STOPPED AFTER 401 ITERATIONS", " NO CONVERGENCE REACHED"}));
    EXPECT_EQ(r.FMIN, -r.X[1]);   // the best vertex and its value
    EXPECT_GT(r.X[1], 1e6);
}

TEST(NelderMead, ConvergesAndPrintsOnlyWhenAsked)
{
    auto bowl = [](const TXArray& x) { return Bowl(x, 4, 1.0); };
    EXPECT_TRUE(Minimise(4, {1, 2, 3, 4}, 0, bowl).Lines.empty());
    const MinimiserRun r = Minimise(4, {1, 2, 3, 4}, -1, bowl);   // started at the minimum
    EXPECT_EQ(r.PS, NMConverged);
    ASSERT_GE(r.Lines.size(), 14u);
    EXPECT_EQ(r.Lines[0], " START FMINSI, VERSION 1992/11/30");
    EXPECT_EQ(r.Lines[1], " EXPANSION FACTOR GAMMA = 1.75");
    EXPECT_EQ(r.Lines[6], "0.004");   // gradient steps 0.001 |x|
    EXPECT_EQ(r.Lines[8], " FUNCTION VALUE AT STARTING POINT : 0");
    EXPECT_EQ(r.Lines[9], " FUNCTION VALUE : " + FloatToStr(std::pow((1.0 + 0.001) - 1.0, 2)));
    EXPECT_EQ(r.Lines.back(), " CONVERGENCE ACHIEVED, FMIN=" + FloatToStr(r.FMIN));
    EXPECT_NEAR(r.X[3], 3.0, 1e-3);

    // 20 unknowns need 21 vertices.
    const MinimiserRun big = Minimise(20, std::vector<double>(20, 0.0), 0, [](const TXArray& x) { return Bowl(x, 20, 0.1); });
    EXPECT_EQ(big.PS, NMConverged);
    EXPECT_NEAR(big.X[20], 2.0, 2e-3);
}

TEST(NelderMead, FlatFunctionAndIllegalDimension)
{
    const MinimiserRun flat = Minimise(3, {1, 2, 3}, 0, [](const TXArray&) { return 5.0; });
    EXPECT_EQ(flat.PS, NMFlatStart);
    EXPECT_EQ(flat.Lines, (std::vector<std::string>{" +++++FMINSI: Function approximately constant",
                                                     " around starting point. F= 5"}));
    EXPECT_EQ(flat.X[2], 2.0);
    EXPECT_EQ(flat.Calls, 1 + 3 + 1 + 300);   // start, differences, random search: f(X) and 100 N trials

    const MinimiserRun bad = Minimise(0, {}, 0, [](const TXArray&) { return 0.0; });
    EXPECT_EQ(bad.PS, NMIllegalN);
    EXPECT_EQ(bad.Lines, std::vector<std::string>{" +++++FMINSI : N =0 ILLEGAL"});
}

TEST(NelderMead, UniformGeneratorFollowsWichmannHill)
{
    // AS 183 in its integer form, which keeps 171 * x within 16 bits.
    int ix = 1974, iy = 235, iz = 337;
    UniformRandomInit();
    const double first = UniformRandom();
    UniformRandomInit();
    for (int k = 0; k < 50; ++k) {
        ix = 171 * (ix % 177) - 2 * (ix / 177);
        iy = 172 * (iy % 176) - 35 * (iy / 176);
        iz = 170 * (iz % 178) - 63 * (iz / 178);
        ix += ix < 0 ? 30269 : 0;
        iy += iy < 0 ? 30307 : 0;
        iz += iz < 0 ? 30323 : 0;
        EXPECT_NEAR(UniformRandom(), std::fmod(ix / 30269.0 + iy / 30307.0 + iz / 30323.0, 1.0), 1e-15) << k;
    }
    UniformRandomInit();
    EXPECT_EQ(UniformRandom(), first);
    EXPECT_EQ(FminSign(-2.0, 3.0), -3.0);
    EXPECT_EQ(FminSign(2.0, -3.0), 3.0);
}

TEST(NelderMead, ObjectiveNormsAndLargeU)
{
    TPointArray T{}, Cp{};
    T[1] = 50, T[2] = 100, T[3] = 200;
    Cp[1] = 3, Cp[2] = 19, Cp[3] = 25;
    TXArray X{};
    X[1] = 10.0, X[2] = std::log(120.0), X[3] = 15.0, X[4] = std::log(600.0);
    auto dev = [&](int i) {   // in long double, where e^u cannot overflow
        long double v = 0;
        for (int j = 0; j < 2; ++j) {
            const long double u = std::exp(static_cast<long double>(X[2 * j + 2])) / T[i], d = std::expm1(u);
            v += X[2 * j + 1] * (u * u * std::exp(u) / (d * d));
        }
        return static_cast<double>(v - Cp[i]);
    };
    const double d1 = dev(1), d2 = dev(2), d3 = dev(3);
    EXPECT_NEAR(NelderMeadObjective(4, X, 0, 3, T, Cp), d1 * d1 + d2 * d2 + d3 * d3, 1e-9);
    EXPECT_NEAR(NelderMeadObjective(4, X, 2, 3, T, Cp), std::max({std::fabs(d1), std::fabs(d2), std::fabs(d3)}), 1e-9);

    // u = 600 at 1 K takes the form u^2 / e^u: 1e250 * 600^2 e^-600 is about 1e-5.
    T[1] = 1, Cp[1] = 0, X[1] = 0, X[3] = 1e250;
    EXPECT_NEAR(NelderMeadObjective(4, X, 1, 1, T, Cp) / dev(1), 1.0, 1e-9);
}

TEST(NelderMead, EinsteinFitEndsNearTheLevenbergMarquardtResult)
{
    TPointArray T{}, Cp{};
    for (int i = 1; i <= 40; ++i) {
        T[i] = 5.0 + 7.0 * i;
        Cp[i] = ThreeR * (0.4 * EinsteinE(80.0 / T[i]) + 0.6 * EinsteinE(350.0 / T[i])) * (1 + 0.005 * std::sin(i));
    }
    TRunInput in;
    in.n = 4, in.M = 40, in.T = &T, in.Cp = &Cp;
    in.X[1] = 10.0, in.X[2] = 50.0, in.X[3] = 15.0, in.X[4] = 300.0;
    const TRunResult lm = RunCore(in);
    in.Routine = RoutineNelderMead;
    in.X[2] = std::log(50.0), in.X[4] = std::log(300.0);
    const TRunResult nm = RunCore(in);
    ASSERT_TRUE(lm.Solved && nm.Solved);
    EXPECT_EQ(nm.Report[0], "ier = 1");   // no progress lines unless asked
    for (int j = 0; j < 2; ++j) {
        EXPECT_NEAR(nm.a[j] / lm.a[j], 1.0, 2e-3) << j;
        EXPECT_NEAR(nm.Theta[j] / lm.Theta[j], 1.0, 2e-3) << j;
    }
    in.PrintProgress = true;
    EXPECT_EQ(RunCore(in).Report[0], " START FMINSI, VERSION 1992/11/30");
}
