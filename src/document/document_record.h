#pragma once
// One digitisation as a plain record: the picture it reads, the corners that
// straighten it, the axes, the clicked points and the fit and graph settings.
// The project file, the batch mode, the window and its undo history all hold
// the work in this form. Pictures are derived from it (read, processed,
// mapped) and never part of it.

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "common/axis_settings.h"
#include "common/extraction_settings.h"
#include "common/geometry.h"
#include "common/mapping_geometry.h"
#include "common/pdf_resolution.h"
#include "fit/fit_types.h"
#include "graph/graph_style.h"

namespace qf {

// The colour a document's first series is drawn in: the one points always
// had. Further series take the next unused colour of seriesPalette.
inline constexpr uint32_t kFirstSeriesColour = 0x0000FF;
// As many curves as anyone reads off one chart, and a bound on what a file
// may ask for.
inline constexpr std::size_t kMaxSeries = 32;

// One curve of the chart: its points and how they were found and fitted.
struct Series {
    std::string name;                      // empty for the document's only series
    uint32_t colour = kFirstSeriesColour;  // 0x00BBGGRR, for its points, curve and tab
    std::vector<SourcePoint> points;       // on the working picture, in the order clicked
    ExtractionSettings extraction;         // the automatic extraction's tolerance, count and gap
    // A click for the automatic extraction that a project file asks for: the
    // batch mode (and the window, when it opens the project) puts the
    // extracted points before `points`.
    std::optional<IntPoint> extractSeed;
    FitSettings fit;
    friend bool operator==(const Series&, const Series&) = default;
};

struct DocumentRecord {
    std::string image;  // picture path; empty: no picture yet
    // When the picture is a PDF: the page shown (from 1) and the resolution
    // it is rendered at. No page: a picture file (or a PDF's first page).
    std::optional<int> page;
    int dpi = kDefaultPdfDpi;
    // The corners on the input picture and the graph rectangle they are
    // mapped to, with the method for the next mapping run.
    MappingGeometry mapping;
    // What the working picture was mapped with; none: it is the input. The
    // corners and the graph rectangle may be moved after a mapping without
    // running it again; the picture and the points on it still follow this.
    std::optional<MappingGeometry> applied;
    AxisSettings axis;  // values, scales and the axis rectangle
    // The curves read from the picture, never empty; the mouse tools, the
    // point list and the fit work on the active one.
    std::vector<Series> series{Series{}};
    int active = 0;
    GraphStyle graph;

    Series& current() { return series[std::size_t(active)]; }
    const Series& current() const { return series[std::size_t(active)]; }
    friend bool operator==(const DocumentRecord&, const DocumentRecord&) = default;
};

// The record of a document the user starts. Photographs are straightened far
// better by the perspective mapping, so a new document starts with it; a
// record read from a project file that names no method stays bilinear, as it
// was made.
inline DocumentRecord newDocumentRecord() {
    DocumentRecord r;
    r.mapping.method = MappingMethod::Perspective;
    return r;
}

// Runs the mapping in the record: the working picture is the corners'
// quadrilateral mapped onto the graph rectangle as they stand now.
inline void applyMappingNow(DocumentRecord& r) {
    r.applied = r.mapping;
}

// The geometry the working picture follows: the applied mapping's, or the
// handles' while nothing is mapped.
inline const MappingGeometry& workingGeometry(const DocumentRecord& r) {
    return r.applied ? *r.applied : r.mapping;
}

// Where the automatic extraction looks for a curve: the plot area (the graph
// rectangle the working picture follows) and the axis rectangle, which is
// often calibrated on inner ticks. Points beyond the axis rectangle take
// extrapolated values, as clicked ones do.
inline IntRect extractionArea(const DocumentRecord& r) {
    const IntRect& g = workingGeometry(r).graphRect;
    const IntRect& a = r.axis.axisRect;
    return {std::min(g.left, a.left), std::min(g.top, a.top), std::max(g.right, a.right),
            std::max(g.bottom, a.bottom)};
}

}  // namespace qf
