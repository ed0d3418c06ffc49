#include "RNDUNIT.h"

#include "system/CheckedArray.h"

#include <cmath>
#include <cstdlib>

namespace {

// The lagged table and its two indices, with the values the program starts from.
TCheckedArray<double, 1, 17> U = [] {
    TCheckedArray<double, 1, 17> u;
    const double start[17] = {0.47196098157788474, 0.9303234532056696,  0.11016179093373084, 0.05715019962731395,
                              0.4024675547797383,  0.4511819534274595,  0.2960761523427211,  0.012820218932588811,
                              0.3142746938509736,  0.0033552136675229494, 0.48868504520043937, 0.19547042686565677,
                              0.8641627067917735,  0.3355059558152592,  0.3771902001990581,  0.4007803921148183,
                              0.37422421418220747};
    for (int k = 1; k <= 17; ++k)
        u[k] = start[k - 1];
    return u;
}();
int I = 17;
int J = 5;

constexpr double AA = 12.375860299170562;
constexpr double B = 0.48789917776037894;
constexpr double C = 12.677058078865478;
constexpr double C1 = 0.9689279;
constexpr double C2 = 1.301198;
constexpr double PC = 0.019583033395554693;
constexpr double XN = 2.7769942696628753;
constexpr double XNInverse = 0.3601015713011907;

// Right edges of the 64 strips under the normal density (the last four equal XN).
constexpr double V[65] = {
    0.3409450, 0.4573146, 0.5397793, 0.6062427, 0.6631691, 0.7136975, 0.7596125, 0.8020356, 0.8417227,
    0.8792102, 0.9148948, 0.9490791, 0.9820005, 1.0138492, 1.0447810, 1.0749254, 1.1043917, 1.1332738,
    1.1616530, 1.1896010, 1.2171815, 1.2444516, 1.2714635, 1.2982650, 1.3249008, 1.3514125, 1.3778399,
    1.4042211, 1.4305929, 1.4569915, 1.4834527, 1.5100122, 1.5367061, 1.5635712, 1.5906454, 1.6179680,
    1.6455802, 1.6735255, 1.7018503, 1.7306045, 1.7598422, 1.7896223, 1.8200099, 1.8510770, 1.8829044,
    1.9155831, 1.9492166, 1.9839239, 2.0198431, 2.0571356, 2.0959930, 2.1366450, 2.1793713, 2.2245175,
    2.2725186, 2.3239338, 2.3795008, 2.4402218, 2.5075117, 2.5834658, 2.6713916, 2.7769943, 2.7769943,
    2.7769943, 2.7769943};

// V[1..65] as the table is numbered.
double Strip(int k)
{
    if (k < 1 || k > 65)
        throw ERangeError();
    return V[k - 1];
}

// The next uniform of the lagged table, in [0, 1); the tail draws take it in (0, 1].
double NextUniform(bool openAtZero)
{
    double w = U[I] - U[J];
    if (openAtZero ? w <= 0 : w < 0)
        w += 1;
    U[I] = w;
    I = I == 1 ? 17 : I - 1;
    J = J == 1 ? 17 : J - 1;
    return w;
}

} // namespace

double RndSign(double A, double B)
{
    return A < 0 ? -std::fabs(B) : std::fabs(B);
}

double RandomNormalInit(int32_t Seed)
{
    if (Seed == 0)
        return Seed;
    I = 17;
    J = 5;
    int64_t s = std::llabs(int64_t(Seed)) % 32707;
    int64_t i1 = 1947;
    int64_t i2 = 1111;
    for (int k = 1; k <= 17; ++k) {
        double sum = 0;
        double t = 0.5;
        for (int bit = 0; bit < 95; ++bit) {
            int64_t m = i1 - s;
            if (m < 0) {
                m += 32707;
                sum += t;
            }
            s = i2;
            i2 = i1;
            i1 = m;
            t /= 2;
        }
        U[k] = sum;
    }
    return Seed;
}

double RandomNormal()
{
    const double un = NextUniform(false);
    const double vni = 2 * un - 1;
    const int j = static_cast<int>(U[I] * 128) % 64 + 1;
    const double r = vni * Strip(j + 1);
    if (std::fabs(r) <= Strip(j))
        return r;

    // The wedge between two strips: a cheap test first, the density itself when needed.
    const double x = (std::fabs(r) - Strip(j)) / (Strip(j + 1) - Strip(j));
    const double y = NextUniform(false);
    const double s = x + y;
    if (s > C2)
        return RndSign(r, B - B * x);
    if (s <= C1)
        return r;
    if (y > C - AA * std::exp(-0.5 * (B - B * x) * (B - B * x)))
        return RndSign(r, B - B * x);
    if (std::exp(-0.5 * Strip(j + 1) * Strip(j + 1)) + y * PC / Strip(j + 1) <= std::exp(-0.5 * r * r))
        return r;

    // The tail beyond XN.
    double t = 0;
    double y2 = 0;
    do {
        t = std::log(NextUniform(true)) * XNInverse;
        y2 = NextUniform(true);
    } while (!(-2 * std::log(y2) > t * t));
    return RndSign(r, XN - t);
}
