// The numerical core of a run: the fit (with restarts on a negative Theta), the
// uncertainties from the normal matrix, the report lines, the grid texts and the chart
// points. It works on the loaded points only, so that the window's run handler is a thin
// sequence of calls and everything here can be tested and timed directly.
#pragma once

#include "Lev_Marq.h"
#include "Unit2/NelderMead.h"

#include <cstdint>
#include <string>
#include <vector>

// Chart abscissa and ordinate, in the order of the main window's lists.
enum TRunXAxis { rxT = 0, rxInvT = 1, rxTSquared = 2, rxTCubed = 3 };
enum TRunYAxis { ryCp = 0, ryCpOverT = 1 };

// Minimiser choice, in the order of the main window's list.
inline constexpr int RoutineNelderMead = 0;
inline constexpr int RoutineLevMarq = 1;

struct TRunInput {
    int n = 0;                       // unknowns, 2 x the number of terms
    int M = 0;                       // points: slots 1..M of T and Cp
    const TPointArray* T = &TData;
    const TPointArray* Cp = &CpData;
    TXArray X{};                     // start point: A_j in J/(mol*K), Theta_j in K (ln Theta_j for Nelder-Mead)
    int ErrorType = 0;               // 0 absolute, 1 relative
    int Routine = RoutineLevMarq;
    int Norm = 0;                    // norm of the Nelder-Mead objective
    bool PrintProgress = false;      // progress lines of the Nelder-Mead routine
    int XAxis = rxT;
    int YAxis = ryCp;
    TWorkProgress* Progress = nullptr;   // iterations shown, and Stop to end the fit early
};

struct TChartPoint {
    double X = 0.0;
    double Y = 0.0;
};

// Where a heat capacity Cp at temperature T is drawn under the chart's axis choices
// (TRunXAxis, TRunYAxis): every curve of the chart window goes through it, so the points,
// the fitted curve, the cubic law and the confidence band share one pair of axes.
TChartPoint ChartPoint(int XAxis, int YAxis, double T, double Cp);

// A text for a cell of the grid of unknowns.
struct TGridText {
    int Col = 0;
    int Row = 0;
    std::string Text;
};

// One row of the report's residual table.
struct TResidualRow {
    double T = 0.0;
    double Cp = 0.0;                 // measured
    double Calc = 0.0;               // fitted
    double Delta = 0.0;              // Cp - Calc
};

// The report's approximation errors over the residual table.
struct TApproximationErrors {
    double RMS = 0.0;                // root mean square of the deltas
    double Mean = 0.0;               // mean absolute delta
    double Max = 0.0;                // largest absolute delta ...
    double TatMax = 0.0;             // ... and the T of its first row
};

// Cp extrapolated to 1, 2, .. 20 K in the report.
inline constexpr int ExtrapolationPoints = 20;

struct TRunResult {
    std::string Error;               // the run was refused; nothing else is filled

    int Status = 0;                  // minimiser's status; negative = no solution
    bool Stopped = false;            // the fit was stopped on request: only the report is filled
    bool Solved = false;             // Status >= 0: coefficients, grid and chart are valid
    int Attempts = 1;                // Levenberg-Marquardt fits made (restarts + 1)
    double FMIN = 0.0;               // final objective of the Nelder-Mead routine
    std::vector<std::string> FitLines;   // progress lines of the Nelder-Mead routine
    int64_t StoppedAfter = 0;        // a stopped fit: its iterations ...
    double StoppedSumOfSquares = 0.0;   // ... and its latest sum of squares

    TXArray X{};                     // a_j (units of 3R) in odd slots, Theta_j (K) in even ones
    std::vector<double> a;           // a_1..a_N at [0..N-1]
    std::vector<double> Theta;       // Theta_1..Theta_N at [0..N-1]
    std::vector<double> Unc;         // uncertainties of X(1..n) at [0..n-1]
    int Info = 0;                    // info code of the inverse of the normal matrix
    double RCond = 0.0;              // its reciprocal condition number

    double S = 0.0;                  // weighted sum of squared deviations
    double b = 0.0;                  // cubic-law coefficient
    double S298 = 0.0;
    double RMS = 0.0;
    double MeanError = 0.0;
    double MaxError = 0.0;
    double TatMax = 0.0;
    std::vector<TResidualRow> Residuals;   // one row per point
    std::vector<double> Extrapolated;      // Cp at 1 .. ExtrapolationPoints K

    std::vector<std::string> Report; // the report view's lines, in order (RunReport)
    std::string ConditionMessage;    // the information line, when the matrix is ill conditioned
    std::string Warning;             // "Covariance matrix can not be computed." when the inverse failed
    std::vector<std::string> Messages;   // further message boxes, in order
    std::vector<TGridText> Grid;     // results for grid columns 2 and 3

    int XAxis = rxT;                 // the axis choices the chart points below are drawn under
    int YAxis = ryCp;
    std::vector<TChartPoint> Calculated;
    std::vector<TChartPoint> Experiment;
    std::vector<TChartPoint> CubicLaw;
};

// Reasons to refuse a run before fitting: an empty text when the input is sound.
std::string CheckRunInput(const TRunInput& in);

// The minimise step: Levenberg-Marquardt with up to nine restarts from Theta = 10, 20, ..
// 90 K while a Theta comes out negative, or the Nelder-Mead routine on ln Theta (its
// lines go to `out`) with Theta exponentiated afterwards. X is in/out; returns the status.
int MinimiseEinsteinSum(const TRunInput& in, TXArray& X, int& attempts, double& fmin,
                        const TLineSink& out);

// Sum over the points of the squared (relative) deviations, u capped at 700.
double WeightedSumSquares(int n, int M, const TXArray& X, int ErrorType, const TPointArray& T,
                          const TPointArray& Cp);

// b of the cubic law Cp = b T^3 fitted by least squares through the origin.
double CubicLawCoefficient(int M, const TPointArray& T, const TPointArray& Cp);

// Normal matrix sum g g^T (n x n, row-major) of the model gradients in a_j and Theta_j,
// divided by Cp for the relative error type; u capped at 700.
std::vector<double> NormalMatrix(int n, int M, const TXArray& X, int ErrorType,
                                 const TPointArray& T, const TPointArray& Cp);

// Inverts W (n x n, row-major) in place; returns the library's info code (negative on
// failure) and the reciprocal condition number in the 1-norm.
int InvertNormalMatrix(std::vector<double>& W, int n, double& rcond);

// Cp at t from the terms with Theta_j / t <= 700 (the others left out).
double ExtrapolatedCp(const std::vector<double>& a, const std::vector<double>& theta, double t);

// Entropy S(T) of the fitted sum from the terms with u <= 700 and 1 - e^-u > 0. A term
// that does not evaluate to a finite number is left out and its message added.
double EinsteinSumEntropy(const std::vector<double>& a, const std::vector<double>& theta, double T,
                          std::vector<std::string>* messages);

TApproximationErrors ApproximationErrors(const std::vector<TResidualRow>& rows);

// The whole numerical part of a run; its Report is RunReport of the result.
TRunResult RunCore(const TRunInput& in);

// The texts of a_j, Theta_j and their uncertainties (j = 1..N) as the report and the grid show them.
struct TCoefficientTexts {
    std::string a;
    std::string Theta;
    std::string UncA;
    std::string UncTheta;
};
TCoefficientTexts CoefficientTexts(const TRunResult& r, int j);

// The report view's lines of a run's numbers: the Nelder-Mead routine's lines, the
// coefficients, the residual table, the extrapolation, the entropy and the errors.
std::vector<std::string> RunReport(const TRunResult& r);
