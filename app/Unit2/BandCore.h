// The Monte-Carlo confidence band: at every point, the spread of the fitted Cp when the
// coefficients are drawn from normal distributions with the reported uncertainties.
#pragma once

#include "PointArrays.h"
#include "WorkProgress.h"

#include <vector>

struct TBandPoint {
    double T = 0.0;       // K
    double Upper = 0.0;   // fitted Cp + 3 standard deviations
    double Lower = 0.0;   // fitted Cp - 3 standard deviations
};

// Draws per point.
inline constexpr int BandDraws = 100000;

// How the band's work is cut: uniforms per block and pieces per block (0: the defaults),
// and whether the first step of the normals is taken without wide vectors, as on machines
// that have none. Only the speed depends on it; tests make the cuts small to reach every
// seam and take both ways.
struct TBandSplit {
    int BlockUniforms = 0;
    int Pieces = 0;
    bool Plain = false;
};

// Coefficients and uncertainties of the unknowns X1..X2N at [0..2N-1]: amplitudes in units
// of 3R, Theta in K. Reseeds the normal generator (seed 100), so that the same values
// always give the same band; the points are slots 1..M of T. The draws are those of one
// generator sequence, point after point, as RandomNormal gives them; the uniforms are made
// and the model evaluated on all cores, and the numbers are those of the one-by-one
// computation (ConfidenceBandSerial). With Progress, Done counts the finished points and a
// set Stop ends the work early with an empty band.
std::vector<TBandPoint> ConfidenceBand(const std::vector<double>& coef, const std::vector<double>& unc, int N,
                                       int M, const TPointArray& T, TWorkProgress* Progress = nullptr,
                                       const TBandSplit& Split = {});

// The same computed draw by draw on the calling thread.
std::vector<TBandPoint> ConfidenceBandSerial(const std::vector<double>& coef, const std::vector<double>& unc,
                                             int N, int M, const TPointArray& T);
