#pragma once
// The fits of a document's series: the active one's is the one the report,
// the residuals and the generated graph show; the others' are kept beside
// it, so that the view draws every fitted series and a series made active
// again shows its fit at once.

#include <string>

#include "fit/svd.h"
#include "view/view_commands.h"
#include "view/view_state.h"

namespace qf {

// The last fit of a series, or null when it has none (never fitted, or its
// points or the axes changed since; changed fit settings wait for the next
// fit).
const SeriesFit* fitOfSeries(const ViewState& s, const Series& series);

// Keeps the fit just shown (s.fitResult, s.fitDetails, s.generated) as the
// active series' fit; fits of series that no longer exist as they were go.
void keepActiveSeriesFit(ViewState& s);

// The active series' fit, if it has one, becomes the one shown; else none is
// shown. For a change of the active series.
void showActiveSeriesFit(ViewState& s);

// Fits series `index` with its own settings: the active one as
// runFitCommand fits it, another one only into its kept fit.
FitCommandResult runSeriesFit(ViewState& s, int index, SvdFitWork& work);

// The page "フィッティング出力" of the active series' fit shown: the report as
// it is written to files, then what a user reads; of several series, headed
// by the series' name.
std::string activeFitReport(const ViewState& s);

// What the window calls series `index`: its name, or "系列 N" without one.
std::string seriesDisplayName(const DocumentRecord& r, int index);

}  // namespace qf
