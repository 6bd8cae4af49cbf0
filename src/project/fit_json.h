#pragma once
// fit.json: the batch mode's record of a fit for other programs to read.

#include <cstdint>
#include <string>
#include <vector>

#include "fit/fit_types.h"
#include "fit/readable_results.h"

namespace qf {

// UTF-8 JSON: model, degree, formulas, normalisation factors, the normalised
// and the plain coefficients, the statistics and each point's residual
// (numbers written so that they read back as the same doubles).
std::string fitJsonText(const FitResult& result, const FitDetails& details,
                        const FitSettings& settings);

// One series' fit for seriesFitJsonText.
struct SeriesFitJson {
    std::string name;     // as the project names it
    std::string folder;   // where its points.csv, fit.csv and graph.png are
    uint32_t colour = 0;  // 0x00BBGGRR, written "#RRGGBB" as in the project file
    const FitResult* result = nullptr;
    const FitDetails* details = nullptr;
    const FitSettings* settings = nullptr;
};

// fit.json of a project of several series (version 2): "series", one entry
// per series with its name, folder and colour and the keys a one-fit
// fit.json holds after "version".
std::string seriesFitJsonText(const std::vector<SeriesFitJson>& series);

}  // namespace qf
