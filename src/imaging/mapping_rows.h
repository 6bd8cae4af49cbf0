#pragma once
// The part of the mapping that touches every pixel: filling the graph
// rectangle's rows from the sample steps computed for each row.

#include <opencv2/core.hpp>

#include <cstdint>
#include <vector>

#include "common/geometry.h"
#include "common/mapping_method.h"

namespace qf {

// Column j of a row takes the input pixel (trunc(j * cx + g.x), trunc(j * cy + g.y)),
// or white when that lies outside the input.
struct RowSamples {
    IntPoint g;
    double cx = 0.0;
    double cy = 0.0;
};

// Writes output rows top .. top + rows.size() - 1, columns j0 .. j1 - 1 of the
// rectangle whose first column is `left` (left + j0 and left + j1 - 1 must lie
// on the output). The input and output are 8-bit BGR and do not overlap.
void sampleRows(const cv::Mat& in, cv::Mat& out, int top, int left, int64_t j0, int64_t j1,
                const std::vector<RowSamples>& rows);

// A row of the perspective mapping: column j takes the input pixel nearest to
// ((x0 + j xj) / (w0 + j wj), (y0 + j yj) / (w0 + j wj)), or white when that
// lies outside the input.
struct PerspectiveRow {
    double x0 = 0.0, xj = 0.0;
    double y0 = 0.0, yj = 0.0;
    double w0 = 1.0, wj = 0.0;
};

// Writes output rows top .. top + rows.size() - 1, columns j0 .. j1 - 1 of the
// rectangle whose first column is `left`, as sampleRows does. Interpolated
// samples repeat the input's edge pixels beyond its border; a sample whose
// nearest pixel is outside the input is white either way.
void samplePerspectiveRows(const cv::Mat& in, cv::Mat& out, int top, int left, int64_t j0,
                           int64_t j1, const std::vector<PerspectiveRow>& rows,
                           MappingSampling sampling);

}  // namespace qf
