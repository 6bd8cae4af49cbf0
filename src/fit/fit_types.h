#pragma once
// Settings, result and sampled curve of a fit.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace qf {

enum ModelKind : int32_t {
    Polynomial = 0,          // v = sum of A(k) * u^k (inverse powers for n < 0)
    ExponentialProduct = 1,  // ln y / Ny = sum of A(k) * u^k
    FunctionSum = 2,         // v = sum of A(k) * f(k)(u), six user formulas
};

inline constexpr int kMinDegree = -20;
inline constexpr int kMaxDegree = 20;
inline constexpr int kBasisFormulaCount = 6;
inline constexpr int kMaxFitPoints = 128;

struct FitSettings {
    int32_t modelKind = Polynomial;
    int32_t degree = 5;
    std::array<std::string, kBasisFormulaCount> basisExpr{
        "1", "x", "x * x", "x * x * x", "x * x * x * x", "x * x * x * x * x"};
    int32_t graphPointCount = 50;
    friend bool operator==(const FitSettings&, const FitSettings&) = default;
};

// Written only by a successful fit; meaningful while a generated graph exists.
struct FitResult {
    int32_t fitModelKind = Polynomial;
    int32_t fitCoefCount = 0;
    bool fitXLog = false;
    bool fitYLog = false;
    // On a date axis the fit works in days since the axis minimum: x = (t -
    // fitXOrigin) / 86400 s, the origin in seconds since the epoch.
    bool fitXTime = false;
    bool fitYTime = false;
    double fitXOrigin = 0.0;
    double fitYOrigin = 0.0;
    double fitNx = 1.0;
    double fitNy = 1.0;
    std::array<double, 32> fitCoefs{};
};

// The sampled fitted curve, in axis units (not logarithms).
struct GeneratedGraph {
    int32_t generatedCount = 0;  // 0: no generated graph
    std::vector<double> generatedX;
    std::vector<double> generatedY;
    // Values of a date axis, seconds since the epoch, written as dates.
    bool xTime = false;
    bool yTime = false;
};

}  // namespace qf
