// The Monte-Carlo confidence band: at every point, the spread of the fitted Cp when the
// coefficients are drawn from normal distributions with the reported uncertainties.
#pragma once

#include "PointArrays.h"

#include <vector>

struct TBandPoint {
    double T = 0.0;       // K
    double Upper = 0.0;   // fitted Cp + 3 standard deviations
    double Lower = 0.0;   // fitted Cp - 3 standard deviations
};

// Draws per point.
inline constexpr int BandDraws = 100000;

// Coefficients and uncertainties of the unknowns X1..X2N at [0..2N-1]: amplitudes in units
// of 3R, Theta in K. Reseeds the normal generator (seed 100), so that the same values
// always give the same band; the points are slots 1..M of T.
std::vector<TBandPoint> ConfidenceBand(const std::vector<double>& coef, const std::vector<double>& unc, int N,
                                       int M, const TPointArray& T);
