#include "Unit2/NelderMead.h"

#include "system/SysUtils.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

// Seeds of the uniform generator.
struct TWichmannHill {
    int X = 1974;
    int Y = 235;
    int Z = 337;
};
TWichmannHill& UniformSeeds()
{
    static TWichmannHill seeds;
    return seeds;
}

void Say(const TLineSink& out, const std::string& line)
{
    if (out)
        out(line);
}

// The simplex: N + 1 vertices with their values, 1-based, every access checked.
class TSimplex {
public:
    explicit TSimplex(int N) : FVertices(static_cast<std::size_t>(N) + 1), FValues(static_cast<std::size_t>(N) + 1) {}
    TXArray& V(int j) { return FVertices.at(Slot(j)); }
    double& FV(int j) { return FValues.at(Slot(j)); }
    void Exchange(int a, int b)
    {
        std::swap(FVertices.at(Slot(a)), FVertices.at(Slot(b)));
        std::swap(FValues.at(Slot(a)), FValues.at(Slot(b)));
    }
private:
    std::size_t Slot(int j) const
    {
        if (j < 1 || static_cast<std::size_t>(j) > FValues.size())
            throw ERangeError();
        return static_cast<std::size_t>(j - 1);
    }
    std::vector<TXArray> FVertices;
    std::vector<double> FValues;
};

} // namespace

double FminSign(double A, double B)
{
    return A < 0 ? -std::fabs(B) : std::fabs(B);
}

void UniformRandomInit()
{
    UniformSeeds() = TWichmannHill{};
}

double UniformRandom()
{
    TWichmannHill& s = UniformSeeds();
    s.X = (171 * s.X) % 30269;
    s.Y = (172 * s.Y) % 30307;
    s.Z = (170 * s.Z) % 30323;
    const double r = s.X / 30269.0 + s.Y / 30307.0 + s.Z / 30323.0;
    return r - std::floor(r);
}

int64_t NelderMeadMaxIterations(int N)
{
    const double n = N;
    return Round(n * n * n / 2.0 + 400.0 * n);
}

double NelderMeadObjective(int N, const TXArray& X, int Norm, int M, const TPointArray& T,
                           const TPointArray& Cp)
{
    const int terms = N / 2;
    double result = 0.0;
    for (int i = 1; i <= M; ++i) {
        const double t = T[i];
        double value = 0.0;
        for (int j = 1; j <= terms; ++j) {
            const double A = X[2 * j - 1];
            const double u = std::exp(X[2 * j]) / t;
            if (u <= ObjectiveAsymptoticU)
                value += A * EinsteinE(u);
            else
                value += A * (u * (u * std::exp(-u)));   // A u^2 / e^u
        }
        const double dev = value - Cp[i];
        switch (Norm) {
        case 1:
            result += std::fabs(dev);
            break;
        case 2:
            result = std::max(result, std::fabs(dev));
            break;
        default:
            result += dev * dev;
            break;
        }
    }
    return result;
}

void RandomSearchRestart(int N, TXArray& X, const TXArray& Step, int& Status, double& F,
                         const TNMObjective& f)
{
    Status = NMFlatStart;
    UniformRandomInit();
    std::vector<double> range(static_cast<std::size_t>(N) + 1);
    for (int k = 1; k <= N; ++k)
        range.at(k) = 10.0 * Step[k];
    const int64_t limit = static_cast<int64_t>(N) * N;
    F = f(N, X);
    int64_t failures = 0;
    TXArray Y = X;
    const int64_t trials = 100 * static_cast<int64_t>(N);
    for (int64_t trial = 1; trial <= trials; ++trial) {
        for (int k = 1; k <= N; ++k) {
            const double u = UniformRandom();
            Y[k] = X[k] + (u - 0.5) * 2.0 * range.at(k);
        }
        const double Fy = f(N, Y);
        if (Fy != F) {
            F = Fy;
            X = Y;
            Status = 0;
            return;
        }
        if (++failures >= limit) {
            for (int k = 1; k <= N; ++k)
                range.at(k) *= 2.0;
            failures = 0;
        }
    }
}

void FMINSI(int N, TXArray& X, const TXArray& Step, double& FMIN, int& PS, const TNMObjective& f,
            const TLineSink& out, TWorkProgress* Progress)
{
    // 1. Print flag and iteration limit.
    const bool print = PS < 0;
    const int64_t MAXIT = NelderMeadMaxIterations(N);
    PS = NMConverged;
    auto Print = [&](const std::string& line) {
        if (print)
            Say(out, line);
    };
    Print(" START FMINSI, VERSION 1992/11/30");

    // 2. Dimension.
    if (N < 1) {
        Say(out, " +++++FMINSI : N =" + IntToStr(N) + " ILLEGAL");
        PS = NMIllegalN;
        return;
    }
    if (N > 1000) {
        Say(out, " +++++FMINSI: DIMENSION N =" + IntToStr(N) + " TOO LARGE");
        PS = NMIllegalN;
        return;
    }

    // 3. Expansion factor.
    double gamma = 1.0 + 3.0 / N;
    const double gamma0 = gamma;
    Print(" EXPANSION FACTOR GAMMA = " + FloatToStr(gamma));

    // 4. Convergence limits.
    TXArray S{};
    bool modified = false;
    for (int i = 1; i <= N; ++i) {
        S[i] = std::max(std::fabs(Step[i]), 1e-5 * std::fabs(X[i]));
        if (S[i] < 1e-30)
            S[i] = std::max(1e-12 * std::fabs(X[i]), 1e-12);
        if (S[i] != Step[i])
            modified = true;
    }
    if (modified)
        Print(" CONVERGENCE LIMITS MODIFIED");

    // 5. Steps of the difference gradient.
    TXArray H{};
    Print(" STEP SIZE TO ESTIMATE GRADIENT : ");
    for (int i = 1; i <= N; ++i) {
        H[i] = std::max(0.001 * std::fabs(X[i]), S[i]);
        Print(FloatToStr(H[i]));
    }
    Print(" DIFFERENCE APPROXIMATION FOR -G :");

    // 6. Difference approximation of the negative gradient; initial simplex directions.
    TXArray G{};
    TXArray D{};
    double F0 = f(N, X);
    Print(" FUNCTION VALUE AT STARTING POINT : " + FloatToStr(F0));
    for (int i = 1; i <= N; ++i) {
        TXArray Xi = X;
        Xi[i] = X[i] + H[i];
        const double Fi = f(N, Xi);
        Print(" FUNCTION VALUE : " + FloatToStr(Fi));
        D[i] = F0 < Fi ? -H[i] : H[i];
        G[i] = (F0 - Fi) / H[i];
    }

    // 7. Scale the direction; a flat start needs a random search.
    double Gmax = 0.0;
    double Hmax = 0.0;
    for (int i = 1; i <= N; ++i) {
        Gmax = std::max(Gmax, std::fabs(G[i]));
        Hmax = std::max(Hmax, std::fabs(H[i]));
    }
    if (Gmax >= 1e-30) {
        for (int i = 1; i <= N; ++i)
            G[i] = G[i] * Hmax / Gmax;
    } else {
        TXArray Xr = X;
        double Fr = 0.0;
        RandomSearchRestart(N, Xr, S, PS, Fr, f);
        if (PS == NMFlatStart) {
            Say(out, " +++++FMINSI: Function approximately constant");
            Say(out, " around starting point. F= " + FloatToStr(F0));
            FMIN = F0;
            return;
        }
        if (Fr > F0) {
            std::swap(X, Xr);
            std::swap(F0, Fr);
        }
        for (int i = 1; i <= N; ++i) {
            G[i] = Xr[i] - X[i];
            D[i] = std::fabs(G[i]) >= S[i] ? G[i] : FminSign(G[i], S[i]);
        }
    }

    // 8. Line search along G.
    TSimplex simplex(N);
    double t = 0.125;
    int k = 0;
    for (;;) {
        ++k;
        t = 8.0 * t;
        for (int i = 1; i <= N; ++i)
            X[i] = X[i] + t * G[i];
        const double Fn = f(N, X);
        if (Fn <= F0 && k <= 10) {
            F0 = Fn;
            continue;
        }
        break;
    }
    simplex.FV(N + 1) = F0;
    for (int i = 1; i <= N; ++i)
        X[i] = X[i] - t * G[i];
    t = std::max(t / 8.0, 8.0);

    // 9. Initial simplex around the point found.
    simplex.V(N + 1) = X;
    for (int j = 1; j <= N; ++j) {
        simplex.V(j) = X;
        simplex.V(j)[j] = X[j] + t * D[j];
        simplex.FV(j) = f(N, simplex.V(j));
    }
    TXArray centroid{};
    bool centroidValid = false;
    int64_t iter = 0;
    int64_t fails = 0;
    int64_t expfails = 0;

    auto Converged = [&]() {
        Print(" CONVERGENCE ACHIEVED, FMIN=" + FloatToStr(simplex.FV(1)));
        X = simplex.V(1);
        FMIN = simplex.FV(1);
        PS = NMConverged;
    };
    auto WithinLimits = [&]() {
        for (int i = 1; i <= N; ++i) {
            if (std::fabs(simplex.V(N + 1)[i] - simplex.V(1)[i]) > S[i])
                return false;
        }
        return true;
    };

    for (;;) {
        // 10. Iteration limit.
        ++iter;
        if (Progress != nullptr) {
            Progress->Done = iter;
            Progress->SumOfSquares = simplex.FV(1);
            if (Progress->Stop) {
                PS = RunStatusStopped;
                X = simplex.V(1);
                FMIN = simplex.FV(1);
                return;
            }
        }
        if (iter > MAXIT) {
            PS = NMIterationLimit;
            Say(out, " +++++FMINSI: STOPPED AFTER " + IntToStr(iter) + " ITERATIONS");
            Say(out, " NO CONVERGENCE REACHED");
            X = simplex.V(1);
            FMIN = simplex.FV(1);
            return;
        }

        // 11. Best vertex first, worst last.
        int lo = 1;
        int hi = 1;
        double FVmin = simplex.FV(1);
        double FVmax = FVmin;
        for (int j = 2; j <= N + 1; ++j) {
            if (simplex.FV(j) < FVmin) {
                lo = j;
                FVmin = simplex.FV(j);
            } else if (simplex.FV(j) > FVmax) {
                hi = j;
                FVmax = simplex.FV(j);
            }
        }
        if (lo == hi) {
            X = simplex.V(lo);
            FMIN = simplex.FV(lo);
            Print(" FUNCTION CONSTANT =" + FloatToStr(FMIN));
            PS = NMConverged;
            return;
        }
        if (lo == N + 1)
            lo = hi;
        if (hi != N + 1) {
            simplex.Exchange(hi, N + 1);
            if (centroidValid) {
                for (int i = 1; i <= N; ++i)
                    centroid[i] += (simplex.V(hi)[i] - simplex.V(N + 1)[i]) / N;
            }
        }
        if (lo != 1)
            simplex.Exchange(lo, 1);

        // 12. Stop tests.
        if (fails > 3 * static_cast<int64_t>(N + 1)) {
            Print(" STOPPED AFTER " + IntToStr(fails) + " FAILED CONTRACTION STEPS");
            Converged();
            return;
        }
        if (WithinLimits()) {
            if (!modified) {
                Converged();
                return;
            }
            for (int i = 1; i <= N; ++i)
                S[i] = std::max(std::fabs(Step[i]), 1e-5 * std::fabs(simplex.V(1)[i]));
            modified = false;
            Print(" CONVERGENCE LIMITS RESTORED");
            if (WithinLimits()) {
                Converged();
                return;
            }
        }

        // 13. One simplex move.
        TXArray& W = simplex.V(N + 1);
        double B = simplex.FV(1);
        if (!centroidValid) {
            for (int i = 1; i <= N; ++i) {
                double sum = 0.0;
                for (int j = 1; j <= N; ++j)
                    sum += simplex.V(j)[i];
                centroid[i] = sum / N;
            }
            centroidValid = true;
        }
        TXArray R{};
        for (int i = 1; i <= N; ++i)
            R[i] = 2.0 * centroid[i] - W[i];
        const double FR = f(N, R);

        if (FR < B) {
            Print(" REFLEXION SUCCESSFUL, FST =" + FloatToStr(FR));
            TXArray E{};
            for (int i = 1; i <= N; ++i)
                E[i] = (1.0 - gamma) * centroid[i] + gamma * R[i];
            const double FE = f(N, E);
            if (FE <= FR) {
                Print(" EXPANSION SUCCESSFUL, FSTST =" + FloatToStr(FE));
                fails = 0;
                expfails = 0;
                gamma = gamma0;
                W = E;
                simplex.FV(N + 1) = FE;
            } else {
                ++expfails;
                if (expfails > N) {
                    gamma = (1.0 + gamma) / 2.0;
                    Print(" EXPANSION FACTOR REDUCED TO " + FloatToStr(gamma));
                }
                W = R;
                simplex.FV(N + 1) = FR;
                fails = 0;
            }
            continue;
        }

        bool betterThanSome = false;
        for (int j = 2; j <= N; ++j) {
            if (FR < simplex.FV(j)) {
                betterThanSome = true;
                break;
            }
        }
        if (betterThanSome) {
            W = R;
            simplex.FV(N + 1) = FR;
            fails = 0;
            continue;
        }

        // Contraction.
        if (FR < simplex.FV(N + 1)) {
            W = R;
            simplex.FV(N + 1) = FR;
        }
        Print(" CONTRACTION TOWARDS CENTER");
        TXArray K{};
        for (int i = 1; i <= N; ++i)
            K[i] = (W[i] + centroid[i]) / 2.0;
        const double FK = f(N, K);
        if (FK < B) {
            Print(" NEW MINIMUM FOUND BY CONTRACTION:" + FloatToStr(FK));
            fails = 0;
        } else {
            ++fails;
        }
        if (FK < simplex.FV(N + 1)) {
            W = K;
            simplex.FV(N + 1) = FK;
        } else {
            centroidValid = false;
            Print(" SIMPLEX CONTRACTED");
            int b = 1;
            for (int j = 2; j <= N + 1; ++j) {
                TXArray& Vj = simplex.V(j);
                const TXArray& Vb = simplex.V(b);
                for (int i = 1; i <= N; ++i)
                    Vj[i] = (Vj[i] + Vb[i]) / 2.0;
                simplex.FV(j) = f(N, Vj);
                if (simplex.FV(j) < B) {
                    B = simplex.FV(j);
                    b = j;
                    fails = 0;
                }
            }
        }
    }
}
