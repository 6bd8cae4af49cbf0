#pragma once
// A picture of a chart read without a click: its frame (and on a photograph
// the corners that straighten it), its axes from the tick labels, and every
// series drawn inside, as a complete record the batch mode replays and the
// window opens; or, when the axes cannot be read, why, and no record.

#include <opencv2/core.hpp>
#include <string>
#include <vector>

#include "common/extraction_settings.h"
#include "document/document_record.h"
#include "fit/fit_types.h"

namespace qf {

// A cubic: smooth enough for most measured curves, and it needs only four
// points.
inline FitSettings defaultAutoFit() {
    FitSettings f;
    f.degree = 3;
    return f;
}

struct AutoOptions {
    FitSettings fit = defaultAutoFit();  // given to every series
    ExtractionSettings extraction;       // the window's defaults
};

struct AutoChart {
    bool ok = false;
    // When ok: the picture's calibrated record, one series per curve found
    // (none found: the one empty series), its image the path given.
    DocumentRecord record;
    // When not ok: one line per reason, in English, naming the axis ("the X
    // axis: ..."), or the picture's own problem.
    std::vector<std::string> refusal;
    bool photographed = false;  // straightened through the frame's corners
    // What the user should know of a record that reads (no series found,
    // two series of one colour, ...), in English, one line each.
    std::vector<std::string> notes;
    double ocrSeconds = 0;  // of the whole time, what text recognition took
};

// Reads a picture already loaded (8-bit BGR, as readImageFile gives it).
// `path` only goes into the record.
AutoChart readChartPicture(const cv::Mat& picture, const std::string& path,
                           const AutoOptions& options);

// Reads the picture file (or a PDF's first page) at path.
AutoChart readChart(const std::string& path, const AutoOptions& options);

}  // namespace qf
