#include "project/fit_json.h"

#include <cmath>
#include <nlohmann/json.hpp>

#include "common/date_axis.h"

namespace qf {
namespace {

using Json = nlohmann::ordered_json;

constexpr const char* kModelNames[] = {"polynomial", "exponentialProduct", "functionSum"};

// Not a number (R² of points that all have one value) is written as null.
Json number(double v) {
    return std::isfinite(v) ? Json(v) : Json(nullptr);
}

// One fit's keys after the format's own, into root.
void addFit(Json& root, const FitResult& r, const FitDetails& d, const FitSettings& settings) {
    const int kind = r.fitModelKind >= 0 && r.fitModelKind <= 2 ? r.fitModelKind : 0;
    const PlainFormula plain = plainFormulaOf(r, d.degree);
    root["model"] = kModelNames[kind];
    if (kind == FunctionSum) {
        root["functions"] = Json(settings.basisExpr);
    } else {
        root["degree"] = d.degree;
    }
    root["xLog"] = r.fitXLog;
    root["yLog"] = r.fitYLog;
    // Only on date axes, so that other fits are written as they always were.
    const auto time = [](double origin) {
        const std::string at = formatIsoDateTime(origin);
        return Json{{"origin", at}, {"unit", "days"}, {"meaning", "days since " + at}};
    };
    if (r.fitXTime) root["xTime"] = time(r.fitXOrigin);
    if (r.fitYTime) root["yTime"] = time(r.fitYOrigin);
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
}

std::string colourText(uint32_t bgr) {
    static const char* digits = "0123456789ABCDEF";
    std::string text = "#";
    for (int shift : {0, 8, 16}) {
        const unsigned byte = (bgr >> shift) & 0xFF;
        text += digits[byte >> 4];
        text += digits[byte & 15];
    }
    return text;
}

}  // namespace

std::string fitJsonText(const FitResult& r, const FitDetails& d, const FitSettings& settings) {
    Json root;
    root["format"] = "quillfen-fit";
    root["version"] = 1;
    addFit(root, r, d, settings);
    return root.dump(2) + "\n";
}

std::string seriesFitJsonText(const std::vector<SeriesFitJson>& series) {
    Json root;
    root["format"] = "quillfen-fit";
    root["version"] = 2;
    Json list = Json::array();
    for (const SeriesFitJson& s : series) {
        Json entry;
        entry["name"] = s.name;
        entry["folder"] = s.folder;
        entry["colour"] = colourText(s.colour);
        addFit(entry, *s.result, *s.details, *s.settings);
        list.push_back(std::move(entry));
    }
    root["series"] = std::move(list);
    // Names need not be UTF-8 in a project written by hand.
    return root.dump(2, ' ', false, Json::error_handler_t::replace) + "\n";
}

}  // namespace qf
