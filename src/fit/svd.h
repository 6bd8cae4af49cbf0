#pragma once
// Weighted linear least squares by singular value decomposition
// (Householder bidiagonalisation, then implicitly shifted QR on the bidiagonal).
// All arrays are 1-based: element 0 is never used. Matrices are stored row by
// row with a fixed row length of kSvdRow, element [i][j] at i * kSvdRow + j.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace qf {

inline constexpr int kSvdMaxPoints = 128;  // N
inline constexpr int kSvdMaxCoefs = 32;    // M
inline constexpr int kSvdRow = 129;

// Fills phi[1..m] with the basis functions evaluated at u.
using BasisFunction = void (*)(double u, double* phi, int m);

// The solver's working storage; one record for the life of the view, so a fit
// allocates nothing.
struct SvdFitWork {
    std::array<double, kSvdRow> sigma{};              // sigma[1..N]
    std::array<double, kSvdMaxCoefs + 1> coef{};      // a[1..M], the result
    std::array<double, kSvdRow * kSvdRow> uMatrix{};  // design matrix, then U
    std::array<double, kSvdRow * kSvdRow> vMatrix{};  // V
    std::array<double, kSvdMaxCoefs + 1> wValues{};   // singular values
    std::array<double, kSvdRow> xData{};              // x[1..N]
    std::array<double, kSvdRow> yData{};              // y[1..N]
    std::array<double, kSvdMaxCoefs + 1> phiEval{};   // for the caller's own use
    std::string errorText;                            // each message ends in CR LF
    int32_t errorCount = 0;
    std::array<double, kSvdRow> tmp{};
    std::array<double, kSvdMaxCoefs + 1> rv1{};
    std::array<double, kSvdRow> rhs{};  // b[1..N]
    std::array<double, kSvdMaxCoefs + 1> phi{};

    double& u(int i, int j) { return uMatrix[i * kSvdRow + j]; }
    double& v(int i, int j) { return vMatrix[i * kSvdRow + j]; }
};

// Fits coef[1..m] to xData, yData, sigma [1..n]. The caller clears errorText
// and errorCount before and tests errorCount afterwards; coef is always filled.
void svdFit(SvdFitWork& work, int n, int m, BasisFunction basis);

// uMatrix (m x n) = U * diag(wValues) * V^T in place; m < n is allowed.
// The singular values are not sorted.
void svdDecompose(SvdFitWork& work, int m, int n);

// coef[1..n] from uMatrix, wValues, vMatrix and rhs; zero singular values are skipped.
void svdBackSubstitute(SvdFitWork& work, int m, int n);

// errorText += message + "\r\n"; errorCount + 1.
void addSolverError(SvdFitWork& work, std::string_view message);

// sqrt(a^2 + b^2) without destructive underflow or overflow.
double hypot2(double a, double b);

}  // namespace qf
