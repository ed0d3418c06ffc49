#include "Unit2/BandCore.h"

#include "Lev_Marq.h"
#include "RNDUNIT.h"

#include <cmath>

namespace {

// Cp of the sum with u capped at 700; x holds a_j, Theta_j pairs.
double SumAt(const double* x, int N, double T)
{
    double c = 0.0;
    for (int j = 0; j < N; ++j) {
        double u = x[2 * j + 1] / T;
        if (u > ReportUCap)
            u = ReportUCap;
        c += ThreeR * x[2 * j] * EinsteinE(u);
    }
    return c;
}

} // namespace

std::vector<TBandPoint> ConfidenceBand(const std::vector<double>& coef, const std::vector<double>& unc, int N,
                                       int M, const TPointArray& T)
{
    RandomNormalInit(100);
    const int n = 2 * N;
    if (N < 0 || static_cast<int>(coef.size()) < n || static_cast<int>(unc.size()) < n)
        throw ERangeError();
    std::vector<double> p(n);
    std::vector<TBandPoint> band;
    for (int i = 1; i <= M; ++i) {
        const double t = T[i];
        const double c0 = SumAt(coef.data(), N, t);
        double var = 0.0;
        for (int draw = 0; draw < BandDraws; ++draw) {
            for (int k = 0; k < n; ++k)
                p[k] = RandomNormal() * unc[k] + coef[k];
            const double d = SumAt(p.data(), N, t) - c0;
            var += d * d;
        }
        const double sd = std::sqrt(var / BandDraws);
        band.push_back({t, c0 + 3 * sd, c0 - 3 * sd});
    }
    return band;
}
