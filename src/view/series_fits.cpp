#include "view/series_fits.h"

#include <algorithm>

#include "common/translate.h"
#include "fit/readable_results.h"
#include "fit/report.h"

namespace qf {

namespace {

// Changed fit settings wait for the next fit, as the active series' do: the
// fit stays the series' while its points and the axes are as they were.
bool madeFrom(const SeriesFit& f, const Series& series, const AxisSettings& axis) {
    return f.points == series.points && f.axis == axis;
}

void keep(ViewState& s, SeriesFit fit) {
    // Only fits some series still matches are worth keeping: the list stays
    // as short as the series.
    auto& fits = s.seriesFits;
    fits.erase(std::remove_if(fits.begin(), fits.end(),
                              [&](const SeriesFit& f) {
                                  if (f.points == fit.points && f.axis == fit.axis) return true;
                                  return std::none_of(
                                      s.doc.series.begin(), s.doc.series.end(),
                                      [&](const Series& x) { return madeFrom(f, x, s.doc.axis); });
                              }),
               fits.end());
    fits.push_back(std::move(fit));
}

}  // namespace

const SeriesFit* fitOfSeries(const ViewState& s, const Series& series) {
    for (const SeriesFit& f : s.seriesFits)
        if (madeFrom(f, series, s.doc.axis) && f.generated.generatedCount > 0) return &f;
    return nullptr;
}

void keepActiveSeriesFit(ViewState& s) {
    const Series& active = s.doc.current();
    if (!detailsMatch(s.fitDetails, active.points, s.doc.axis)) return;
    keep(s, {active.points, active.fit, s.doc.axis, s.fitResult, s.fitDetails, s.generated});
}

void showActiveSeriesFit(ViewState& s) {
    if (const SeriesFit* f = fitOfSeries(s, s.doc.current())) {
        s.fitResult = f->result;
        s.fitDetails = f->details;
        s.generated = f->generated;
        return;
    }
    s.fitResult = FitResult{};
    s.fitDetails = FitDetails{};
    s.generated = GeneratedGraph{};
}

FitCommandResult runSeriesFit(ViewState& s, int index, SvdFitWork& work) {
    if (index == s.doc.active) return runFitCommand(s, work);
    const Series& series = s.doc.series[std::size_t(index)];
    FitInput in;
    in.points = series.points.data();
    in.pointCount = int32_t(series.points.size());
    in.axis = s.doc.axis;
    in.settings = series.fit;
    in.imagePresent = s.imagePresent();
    FitCommandResult r;
    SeriesFit fit{series.points, series.fit, s.doc.axis, {}, {}, {}};
    r.outcome = runFit(in, work, fit.result, fit.generated);
    if (r.outcome.modesCleared) s.tools.clear();
    if (r.outcome.status == FitOk) {
        fit.details = fitDetailsOf(in, fit.result, work);
        keep(s, std::move(fit));
    }
    return r;
}

std::string activeFitReport(const ViewState& s) {
    std::string report = fitReportForPage(s.fitResult, s.doc.current().fit.basisExpr) +
                         readableResultsText(s.fitResult, s.fitDetails);
    if (s.doc.series.size() > 1)
        report = substitute(translate("qf::Series", "系列: %1"),
                            {seriesDisplayName(s.doc, s.doc.active)}) +
                 "\r\n" + report;
    return report;
}

std::string seriesDisplayName(const DocumentRecord& r, int index) {
    const std::string& name = r.series[std::size_t(index)].name;
    if (!name.empty()) return name;
    return substitute(translate("qf::Series", "系列 %1"), {std::to_string(index + 1)});
}

}  // namespace qf
