// libFuzzer target for the curve extraction: small pictures of a few colours,
// any settings, any click and axis rectangle. An extraction must end within
// its work bound with points inside the rectangle or a reason; and the pass
// over the whole rectangle must find the same trace as the walk.
//
// Input: width, height (see sideOf), tolerance, count, gap (bytes as
// they come: the extraction clamps them), click x and y, the axis
// rectangle's left, top, right and bottom (each byte % (side + 8) - 4, so
// some lie off the picture), four BGR colours, then two bits per pixel
// naming a colour, row by row (missing ones are colour 0).

#include <opencv2/imgproc.hpp>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "imaging/curve_extraction.h"
#include "imaging/curve_trace.h"

namespace {

constexpr std::size_t kHeader = 11 + 12;

struct Input {
    const uint8_t* data;
    std::size_t size;
    uint8_t at(std::size_t i) const { return i < size ? data[i] : 0; }
};

// Most pictures are at most 32 pixels a side, so that a run is quick; one
// side in eight is longer than a mask tile (128 pixels), to cross its edge,
// and then the other is short.
int sideOf(uint8_t b) {
    return b < 224 ? 2 + b % 31 : 130 + (b - 224);
}

void abortUnless(bool ok) {
    if (!ok) std::abort();
}

// The walk (when it finishes within its budget) and the whole pass give
// the same trace from the same click.
void checkTraces(const cv::Mat& roi, const qf::ExtractionSettings& s, cv::Point click) {
    using namespace qf::extraction;
    const int tolerance =
        std::clamp(s.tolerance, qf::kMinExtractionTolerance, qf::kMaxExtractionTolerance);
    const int reach = std::clamp(s.gap, 1, qf::kMaxExtractionGap);
    cv::Mat lab;
    cv::cvtColor(roi(cv::Rect(click, cv::Size(1, 1))), lab, cv::COLOR_BGR2Lab);
    const cv::Vec3b c = lab.at<cv::Vec3b>(0, 0);
    const cv::Scalar lo(c[0] - tolerance, c[1] - tolerance, c[2] - tolerance);
    const cv::Scalar hi(c[0] + tolerance, c[1] + tolerance, c[2] + tolerance);
    const qf::ExtractionCancel never;
    WorkMeter work(never);
    LazyMask mask(roi, lo, hi, work);
    if (inSpeck(mask, click, work)) return;  // no trace starts there
    const Trace either = traceCurve(mask, click, reach, work);
    if (!either.walked) return;  // the walk gave up: both came from the whole pass
    WorkMeter wholeWork(never);
    LazyMask wholeMask(roi, lo, hi, wholeWork);
    const Trace whole = traceCurve(wholeMask, click, reach, wholeWork, TraceWay::Whole);
    abortUnless(either.end == whole.end);
    if (either.end != TraceEnd::Done) return;
    abortUnless(either.pixels == whole.pixels && either.columns == whole.columns);
    for (int y = 0; y < roi.rows; ++y)
        for (int x = 0; x < roi.cols; ++x) abortUnless(either.on(x, y) == whole.on(x, y));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const Input in{data, size};
    const int w = sideOf(in.at(0)), h = w > 32 ? 2 + in.at(1) % 31 : sideOf(in.at(1));
    qf::ExtractionSettings settings;
    settings.tolerance = in.at(2);
    settings.count = in.at(3);
    settings.gap = in.at(4);
    const qf::IntPoint click{in.at(5) % (w + 8) - 4, in.at(6) % (h + 8) - 4};
    const qf::IntRect axis{in.at(7) % (w + 8) - 4, in.at(8) % (h + 8) - 4, in.at(9) % (w + 8) - 4,
                           in.at(10) % (h + 8) - 4};
    cv::Vec3b colours[4];
    for (int i = 0; i < 4; ++i)
        colours[i] = {in.at(11 + 3 * i), in.at(12 + 3 * i), in.at(13 + 3 * i)};
    cv::Mat picture(h, w, CV_8UC3);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const std::size_t bit = 2 * (std::size_t(y) * std::size_t(w) + std::size_t(x));
            picture.at<cv::Vec3b>(y, x) = colours[in.at(kHeader + bit / 8) >> (bit % 8) & 3];
        }
    }

    const qf::ExtractionResult r = qf::extractCurve(picture, axis, click, settings);
    // The rectangle on the picture, as the extraction clips it.
    const int x0 = std::max(axis.left, 0), y0 = std::max(axis.top, 0);
    const int x1 = std::min(axis.right, w - 1), y1 = std::min(axis.bottom, h - 1);
    const int64_t area = x0 < x1 && y0 < y1 ? int64_t(x1 - x0 + 1) * (y1 - y0 + 1) : 0;
    abortUnless(r.work <= qf::extractionWorkBound(area));
    abortUnless(!r.cancelled);
    if (!r.ok) {
        abortUnless(!r.error.empty() && r.points.empty());
    } else {
        abortUnless(r.error.empty() && !r.points.empty() &&
                    int(r.points.size()) <= qf::kMaxExtractionCount);
        if (r.kind == qf::ExtractedKind::Line)
            abortUnless(int(r.points.size()) ==
                        std::clamp(settings.count, 1, qf::kMaxExtractionCount));
        for (const qf::SourcePoint& p : r.points)
            abortUnless(p.h >= x0 && p.h <= x1 && p.v >= y0 && p.v <= y1);
    }
    if (area > 0 && click.x >= x0 && click.x <= x1 && click.y >= y0 && click.y <= y1) {
        const cv::Mat roi = picture(cv::Rect(x0, y0, x1 - x0 + 1, y1 - y0 + 1));
        checkTraces(roi, settings, cv::Point(click.x - x0, click.y - y0));
    }
    return 0;
}
