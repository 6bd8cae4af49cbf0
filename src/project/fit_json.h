#pragma once
// fit.json: the batch mode's record of a fit for other programs to read.

#include <string>

#include "fit/fit_types.h"
#include "fit/readable_results.h"

namespace qf {

// UTF-8 JSON: model, degree, formulas, normalisation factors, the normalised
// and the plain coefficients, the statistics and each point's residual
// (numbers written so that they read back as the same doubles).
std::string fitJsonText(const FitResult& result, const FitDetails& details,
                        const FitSettings& settings);

}  // namespace qf
