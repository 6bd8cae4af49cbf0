#include "project/fit_json.h"

#include <cmath>
#include <nlohmann/json.hpp>

namespace qf {
namespace {

using Json = nlohmann::ordered_json;

constexpr const char* kModelNames[] = {"polynomial", "exponentialProduct", "functionSum"};

// Not a number (R² of points that all have one value) is written as null.
Json number(double v) {
    return std::isfinite(v) ? Json(v) : Json(nullptr);
}

}  // namespace

std::string fitJsonText(const FitResult& r, const FitDetails& d, const FitSettings& settings) {
    const int kind = r.fitModelKind >= 0 && r.fitModelKind <= 2 ? r.fitModelKind : 0;
    const PlainFormula plain = plainFormulaOf(r, d.degree);
    Json root;
    root["format"] = "quillfen-fit";
    root["version"] = 1;
    root["model"] = kModelNames[kind];
    if (kind == FunctionSum) {
        root["functions"] = Json(settings.basisExpr);
    } else {
        root["degree"] = d.degree;
    }
    root["xLog"] = r.fitXLog;
    root["yLog"] = r.fitYLog;
    root["normalisation"] = {{"Nx", r.fitNx}, {"Ny", r.fitNy}};
    Json normalised = Json::array();
    for (int k = 0; k < r.fitCoefCount; ++k) normalised.push_back(r.fitCoefs[std::size_t(k)]);
    root["coefficients"] = normalised;

    Json p;
    p["coefficients"] = plain.coefs;
    if (kind == FunctionSum) {
        p["argument"] = "u = X / Nx";
    } else {
        p["powers"] = plain.powers;
    }
    p["formula"] = formulaText(plain);
    if (kind != FunctionSum) {
        p["python"] = pythonText(plain);
        p["spreadsheet"] = spreadsheetText(plain);
    }
    root["plain"] = p;

    root["statistics"] = {{"space", kind == ExponentialProduct ? "ln(y)"
                                    : r.fitYLog                ? "log10(y)"
                                                               : "y"},
                          {"points", d.pointCount},
                          {"coefficients", d.coefCount},
                          {"rank", d.rank},
                          {"r2", number(d.r2)},
                          {"rmse", number(d.rmse)},
                          {"maxResidual", number(d.maxResidual)},
                          {"maxResidualPoint", d.maxResidualPoint}};
    Json residuals = Json::array();
    for (double v : d.residuals) residuals.push_back(number(v));
    root["residuals"] = residuals;
    return root.dump(2) + "\n";
}

}  // namespace qf
