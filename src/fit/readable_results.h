#pragma once
// What a user reads after a fit beyond the report: the formula in the axes'
// own units (the normalisation undone), how well it fits, and each point's
// residual.

#include <cstdint>
#include <string>
#include <vector>

#include "common/axis_settings.h"
#include "common/geometry.h"
#include "fit/fit_driver.h"
#include "fit/fit_types.h"

namespace qf {

// The statistics of one successful fit, in the space the fit works in: the
// values themselves on linear axes, log10 of them on logarithmic ones, ln y
// for the exponential product.
struct FitDetails {
    int32_t degree = 0;      // the degree fitted (the power models)
    int32_t pointCount = 0;  // N
    int32_t coefCount = 0;   // M
    int32_t rank = 0;        // singular values the solver kept (M unless some were zeroed)
    std::vector<double> observed;   // each point's value in the fitted space
    std::vector<double> residuals;  // observed minus the fitted curve there
    double r2 = 0.0;  // 1 - SSres / SStot; not a number when all observed values are equal
    double rmse = 0.0;
    double maxResidual = 0.0;      // the largest |residual|, with its sign
    int32_t maxResidualPoint = 0;  // its point, numbered from 1
    // What the fit was made from: the residuals belong to these points on
    // these axes only.
    std::vector<SourcePoint> points;
    AxisSettings axis;
};

// The details of the fit runFit has just made from `in` (its work area still
// holds the fit's data and, for the function sum, the compiled formulas).
FitDetails fitDetailsOf(const FitInput& in, const FitResult& result, const SvdFitWork& work);

// True when the details belong to these points and axes.
bool detailsMatch(const FitDetails& d, const std::vector<SourcePoint>& points,
                  const AxisSettings& axis);

// The fitted formula with the normalisation undone:
//   power models  F = sum of c[k] * X^p[k]   (p[k] = k, or -k for a negative degree)
//   function sum  F = sum of c[k] * f[k](X / Nx)
// with X = x, or log10(x) on a logarithmic X axis, and y = F, 10^F on a
// logarithmic Y axis, exp(F) for the exponential product.
struct PlainFormula {
    int32_t modelKind = Polynomial;
    bool xLog = false;
    bool yLog = false;
    double nx = 1.0;                // the function sum's argument is X / Nx
    std::vector<double> coefs;      // c[k], full precision
    std::vector<int32_t> powers;    // p[k] (power models)
};

PlainFormula plainFormulaOf(const FitResult& result, int32_t degree);

// y at x (in axis units) by the plain formula. The function sum evaluates the
// formulas the engine has compiled, which are the fit's right after it.
double evaluatePlainFormula(const PlainFormula& f, double x);

// The formula ready to paste: the formula language's own notation, Python
// (with `import math`) and a spreadsheet cell formula reading x from A1.
// The function sum has only the first.
std::string formulaText(const PlainFormula& f);
std::string pythonText(const PlainFormula& f);
std::string spreadsheetText(const PlainFormula& f);

// The forms of one fit's formula that the window offers to copy; the
// function sum has only the first.
struct FormulaForms {
    std::string formula;
    std::string python;
    std::string spreadsheet;
};
FormulaForms formulaFormsOf(const FitResult& result, const FitDetails& details);

// The section shown after the report in "フィッティング出力" (CR LF line ends).
std::string readableResultsText(const FitResult& result, const FitDetails& details);

// Coefficients and statistics as "%.17g" would write them, so that a
// number read back is the same double.
std::string fullPrecision(double v);

}  // namespace qf
