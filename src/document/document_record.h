#pragma once
// One digitisation as a plain record: the picture it reads, the corners that
// straighten it, the axes, the clicked points and the fit and graph settings.
// The project file, the batch mode, the window and its undo history all hold
// the work in this form. Pictures are derived from it (read, processed,
// mapped) and never part of it.

#include <optional>
#include <string>
#include <vector>

#include "common/axis_settings.h"
#include "common/extraction_settings.h"
#include "common/geometry.h"
#include "common/mapping_method.h"
#include "fit/fit_types.h"
#include "graph/graph_style.h"

namespace qf {

struct DocumentRecord {
    std::string image;  // picture path; empty: no picture yet
    Quad corners{{{40, 40}, {120, 40}, {120, 100}, {40, 100}}};  // on the input picture
    IntRect graphRect{40, 40, 120, 100};  // where the corners' quadrilateral is mapped to
    MappingMethod mappingMethod = MappingMethod::Bilinear;  // for the next mapping run
    MappingSampling mappingSampling = MappingSampling::Nearest;  // perspective only
    bool applyMapping = false;  // the working picture is the mapped one
    // What the working picture was mapped with. The corners and the graph
    // rectangle may be moved after a mapping without running it again; the
    // picture and the points on it still follow these. Equal to corners and
    // graphRect when no mapping is applied.
    Quad mappedCorners = corners;
    IntRect mappedGraphRect = graphRect;
    MappingMethod mappedMethod = mappingMethod;
    MappingSampling mappedSampling = mappingSampling;
    AxisSettings axis;          // values, scales and the axis rectangle
    std::vector<SourcePoint> points;  // on the working picture, in the order clicked
    ExtractionSettings extraction;     // the automatic extraction's tolerance, count and gap
    // A click for the automatic extraction that a project file asks for: the
    // batch mode (and the window, when it opens the project) puts the
    // extracted points before `points`.
    std::optional<IntPoint> extractSeed;
    FitSettings fit;
    GraphStyle graph;
    friend bool operator==(const DocumentRecord&, const DocumentRecord&) = default;
};

// Runs the mapping in the record: the working picture is the corners'
// quadrilateral mapped onto the graph rectangle as they stand now.
inline void applyMappingNow(DocumentRecord& r) {
    r.applyMapping = true;
    r.mappedCorners = r.corners;
    r.mappedGraphRect = r.graphRect;
    r.mappedMethod = r.mappingMethod;
    r.mappedSampling = r.mappingSampling;
}

// The working picture is no longer a mapping (rebuilt from the input).
inline void dropMapping(DocumentRecord& r) {
    r.applyMapping = false;
    r.mappedCorners = r.corners;
    r.mappedGraphRect = r.graphRect;
    r.mappedMethod = r.mappingMethod;
    r.mappedSampling = r.mappingSampling;
}

}  // namespace qf
