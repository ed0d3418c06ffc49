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

// The unit's state as a source for the table method.
struct TGlobalUniforms {
    double Next(bool openAtZero) { return NextUniform(openAtZero); }
    double Table() const { return U[I]; }
};

double RandomNormal()
{
    TGlobalUniforms source;
    return rndunit::NormalFrom(source);
}

TUniformHistory GetUniformHistory()
{
    // U[I] is the oldest value; the values before it in index order are ever newer.
    TUniformHistory history;
    for (int m = 0; m < UniformLag; ++m)
        history[m] = U[(I - 1 - m + 2 * UniformLag) % UniformLag + 1];
    return history;
}

void SetUniformHistory(const TUniformHistory& History)
{
    I = 17;
    J = 5;
    for (int m = 0; m < UniformLag; ++m)
        U[17 - m] = History[m];
}
