// The numerical module: the program's only calls into ALGLIB (see NumericsModule.h).
#include "NumericsModule.h"

#include "linalg.h"
#include "optimization.h"

#include <cstddef>

namespace {

int LmFit(const TLmProblem* P, double* x, int* TerminationType)
{
    const int n = P->n;
    const int m = P->m;
    try {
        alglib::real_1d_array ax;
        ax.setlength(n);
        for (int k = 0; k < n; ++k)
            ax[k] = x[k];
        alglib::minlmstate state;
        alglib::minlmcreatevj(n, m, ax, state);
        alglib::minlmsetcond(state, P->EpsX, P->MaxIts);
        while (alglib::minlmiteration(state)) {
            const double* cx = state.x.getcontent();
            bool stop = false;
            if (state.needf) {
                double f = 0;
                stop = P->Answer(P->Context, LmNeedF, cx, &f);
                state.f = f;
            } else if (state.needfi) {
                stop = P->Answer(P->Context, LmNeedFi, cx, nullptr);
                for (int i = 0; i < m; ++i)
                    state.fi[i] = P->Fi[i];
            } else if (state.needfij) {
                stop = P->Answer(P->Context, LmNeedFij, cx, nullptr);
                for (int i = 0; i < m; ++i) {
                    state.fi[i] = P->Fi[i];
                    for (int k = 0; k < n; ++k)
                        state.j[i][k] = P->Jac[static_cast<std::size_t>(i) * n + k];
                }
            }
            if (stop)
                alglib::minlmrequesttermination(state);
        }
        alglib::minlmreport rep;
        alglib::minlmresults(state, ax, rep);
        for (int k = 0; k < n; ++k)
            x[k] = ax[k];
        *TerminationType = static_cast<int>(rep.terminationtype);
        return 0;
    } catch (const alglib::ap_error&) {
        return -1;
    }
}

int Invert(double* A, int n, int* Info, double* RCond)
{
    try {
        alglib::real_2d_array a;
        a.setlength(n, n);
        for (int r = 0; r < n; ++r)
            for (int c = 0; c < n; ++c)
                a[r][c] = A[static_cast<std::size_t>(r) * n + c];
        alglib::ae_int_t info = 0;
        alglib::matinvreport rep;
        alglib::rmatrixinverse(a, n, info, rep);
        *RCond = rep.r1;
        for (int r = 0; r < n; ++r)
            for (int c = 0; c < n; ++c)
                A[static_cast<std::size_t>(r) * n + c] = a[r][c];
        *Info = static_cast<int>(info);
        return 0;
    } catch (const alglib::ap_error&) {
        return -1;
    }
}

const TNumericsModule Calls{LmFit, Invert};

} // namespace

extern "C" __attribute__((visibility("default"))) const void* NumericsCalls()
{
    return &Calls;
}
