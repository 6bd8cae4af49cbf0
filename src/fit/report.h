#pragma once
// Texts made from a fit: the report shown after a successful fit and the
// generated-graph file (the report's header, then the generated points).

#include <array>
#include <string>

#include "fit/fit_types.h"

namespace qf {

// The model's formula in words; "x/Nx" and "y/Ny" become "log10(x)/Nx" and
// "log10(y)/Ny" on logarithmic axes.
std::string modelDescription(int32_t modelKind, bool xLog, bool yLog);

// The report; the formula lines come from the texts as they are now.
std::string buildFitReport(const FitResult& result,
                           const std::array<std::string, kBasisFormulaCount>& basisExpr);

// The same report as the page "フィッティング出力" shows it: its headings in
// the user's language. The files keep the report as it is.
std::string fitReportForPage(const FitResult& result,
                             const std::array<std::string, kBasisFormulaCount>& basisExpr);

// The generated-graph file text: the report's header (with the degree line for
// every model), then "No.,X,Y" and one row per generated point.
std::string generatedGraphFileText(const FitResult& result, const GeneratedGraph& graph,
                                   const std::array<std::string, kBasisFormulaCount>& basisExpr);

}  // namespace qf
