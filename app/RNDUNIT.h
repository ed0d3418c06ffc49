// Normal random deviates for the confidence band: a fast table method for N(0, 1) over a
// lagged subtractive uniform generator whose state is global to this unit.
#pragma once

#include <array>
#include <cmath>
#include <cstdint>

// Reseeds the generator from Seed; 0 leaves the state as it is. Returns the seed.
double RandomNormalInit(int32_t Seed);

// A standard normal deviate; advances the state.
double RandomNormal();

// |B| with the sign of A (A < 0 gives -|B|).
inline double RndSign(double A, double B)
{
    return A < 0 ? -std::fabs(B) : std::fabs(B);
}

// The uniform generator as a sequence: each new uniform is X[n] = X[n-17] - X[n-5], plus 1
// when below 0 (when not above 0 for the tail draws of RandomNormal). The history holds
// X[n-17] .. X[n-1], oldest first: what the next uniform is made from.
inline constexpr int UniformLag = 17;
using TUniformHistory = std::array<double, UniformLag>;
TUniformHistory GetUniformHistory();
void SetUniformHistory(const TUniformHistory& History);

// The table method itself over a source of uniforms: Next(openAtZero) gives the next
// uniform (in (0, 1] when openAtZero), Table() the history value that the next uniform
// will replace (X[n-16] after X[n] was taken). RandomNormal runs it over the unit's state;
// the confidence band runs it over uniforms made in advance.
namespace rndunit {

inline constexpr double AA = 12.375860299170562;
inline constexpr double B = 0.48789917776037894;
inline constexpr double C = 12.677058078865478;
inline constexpr double C1 = 0.9689279;
inline constexpr double C2 = 1.301198;
inline constexpr double PC = 0.019583033395554693;
inline constexpr double XN = 2.7769942696628753;
inline constexpr double XNInverse = 0.3601015713011907;

// Right edges of the 64 strips under the normal density, V[1..65] at [0..64] (the last
// four equal XN).
inline constexpr double V[65] = {
    0.3409450, 0.4573146, 0.5397793, 0.6062427, 0.6631691, 0.7136975, 0.7596125, 0.8020356, 0.8417227,
    0.8792102, 0.9148948, 0.9490791, 0.9820005, 1.0138492, 1.0447810, 1.0749254, 1.1043917, 1.1332738,
    1.1616530, 1.1896010, 1.2171815, 1.2444516, 1.2714635, 1.2982650, 1.3249008, 1.3514125, 1.3778399,
    1.4042211, 1.4305929, 1.4569915, 1.4834527, 1.5100122, 1.5367061, 1.5635712, 1.5906454, 1.6179680,
    1.6455802, 1.6735255, 1.7018503, 1.7306045, 1.7598422, 1.7896223, 1.8200099, 1.8510770, 1.8829044,
    1.9155831, 1.9492166, 1.9839239, 2.0198431, 2.0571356, 2.0959930, 2.1366450, 2.1793713, 2.2245175,
    2.2725186, 2.3239338, 2.3795008, 2.4402218, 2.5075117, 2.5834658, 2.6713916, 2.7769943, 2.7769943,
    2.7769943, 2.7769943};

// The first step of the method from the uniform un and the table value after it: r, and
// whether r is the deviate (true for most draws).
inline bool FastNormal(double un, double table, double& r)
{
    const double vni = 2 * un - 1;
    // j in 1..64 (the table value lies in [0, 1]); V[j] is at V[j - 1].
    const int j = (static_cast<int>(table * 128) & 63) + 1;
    r = vni * V[j];
    return std::fabs(r) <= V[j - 1];
}

// The wedge between strips j and j + 1 (V[j - 1], V[j]) for a first step r that was not
// the deviate: x the place in the wedge, y the next uniform. The cheap tests: true with the
// deviate in Out when they decide it.
inline bool WedgeCheap(double r, int j, double y, double& x, double& Out)
{
    const double vj = V[j - 1];
    const double vj1 = V[j];
    x = (std::fabs(r) - vj) / (vj1 - vj);
    const double s = x + y;
    Out = s > C2 ? RndSign(r, B - B * x) : r;
    return s > C2 || s <= C1;
}

template <class TSource>
double NormalFrom(TSource& Src)
{
    const double un = Src.Next(false);
    const double table = Src.Table();
    double r = 0;
    if (FastNormal(un, table, r))
        return r;
    const int j = (static_cast<int>(table * 128) & 63) + 1;
    const double vj1 = V[j];

    // The wedge between two strips: a cheap test first, the density itself when needed.
    const double y = Src.Next(false);
    double x = 0;
    double cheap = 0;
    if (WedgeCheap(r, j, y, x, cheap))
        return cheap;
    if (y > C - AA * std::exp(-0.5 * (B - B * x) * (B - B * x)))
        return RndSign(r, B - B * x);
    if (std::exp(-0.5 * vj1 * vj1) + y * PC / vj1 <= std::exp(-0.5 * r * r))
        return r;

    // The tail beyond XN.
    double t = 0;
    double y2 = 0;
    do {
        t = std::log(Src.Next(true)) * XNInverse;
        y2 = Src.Next(true);
    } while (!(-2 * std::log(y2) > t * t));
    return RndSign(r, XN - t);
}

} // namespace rndunit
