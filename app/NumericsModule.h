// The calls into the numerical library (the Levenberg-Marquardt minimiser and the matrix
// inverse). They live in a module of their own that is loaded at the first call, so that
// starting the program does not load and bind the library: only a fit needs it.
#pragma once

extern "C" {

// What the minimiser asks for at a point x.
enum TLmRequest { LmNeedF = 1, LmNeedFi = 2, LmNeedFij = 3 };

// Answers a request at x (n unknowns): LmNeedF puts the sum of squares into *F; LmNeedFi
// fills the problem's Fi (m residuals); LmNeedFij fills Fi and Jac (m rows of n, row by
// row). Returns true when the minimiser is to stop after this step. It must not throw.
using TLmAnswer = bool (*)(void* Context, TLmRequest Request, const double* x, double* F);

struct TLmProblem {
    int n = 0;             // unknowns
    int m = 0;             // residuals
    double EpsX = 0;       // the minimiser's step condition
    int MaxIts = 0;        // 0: no limit
    double* Fi = nullptr;  // m values, filled by Answer
    double* Jac = nullptr; // m * n values, filled by Answer
    TLmAnswer Answer = nullptr;
    void* Context = nullptr;
};

}

// The module's calls (its entry NumericsCalls gives their table).
struct TNumericsModule {
    // Minimises from x (n values, replaced by the result). Returns 0 and the library's
    // termination type in *TerminationType, or -1 when the library reported an error.
    int (*LmFit)(const TLmProblem* Problem, double* x, int* TerminationType);
    // Inverts the n x n matrix A (row by row) in place. Returns 0 with the library's
    // result code in *Info and the reciprocal condition number in *RCond, or -1 when the
    // library reported an error.
    int (*Invert)(double* A, int n, int* Info, double* RCond);
};

// The module's calls, loaded at the first call (from any thread). Raises an Exception
// saying why when the module cannot be loaded.
const TNumericsModule& NumericsModule();
