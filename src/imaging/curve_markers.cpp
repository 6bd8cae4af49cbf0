// Gathering the markers of a marker series.

#include <opencv2/imgproc.hpp>

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "imaging/curve_planes.h"

namespace qf::extraction {
namespace {

// Marker blobs: small, about as wide as high, mostly filled (a line drawn
// over one takes some of it).
constexpr double kMinMarkerFill = 0.5;

struct Box {
    int left = INT32_MAX, top = INT32_MAX, right = -1, bottom = -1, area = 0;
    int width() const { return right - left + 1; }
    int height() const { return bottom - top + 1; }
};

bool markerShaped(int w, int h, int a, int most) {
    return w <= most && h <= most && 3 * w >= 2 * h && 3 * h >= 2 * w &&
           a >= kMinMarkerFill * w * h && a > kSpeckPixels;
}

// Whether one of the rows through the marker meets three short separate
// pieces of other ink within a few marker widths: a legend's text. `apart` is the
// ink away from the colour (not the blended rims of the markers).
bool textBeside(const cv::Mat& apart, const Box& b, WorkMeter& work) {
    const int span = 8 * b.width();
    const int middle = (b.top + b.bottom) / 2, quarter = b.height() / 4;
    for (const int y : {middle - quarter, middle, middle + quarter}) {
        if (y < 0 || y >= apart.rows) continue;
        const uint8_t* h = apart.ptr<uint8_t>(y);
        for (const int dir : {-1, 1}) {
            // Strokes of letters are short; a line drawn past is not text.
            int pieces = 0, run = 0;
            const int from = dir < 0 ? b.left - 1 : b.right + 1;
            for (int k = 0; k < span; ++k) {
                const int x = from + dir * k;
                const bool ink = x >= 0 && x < apart.cols && h[x] == kHiddenInk;
                if (ink) {
                    ++run;
                    continue;
                }
                if (run > 0 && run <= std::max(3, b.width())) ++pieces;
                run = 0;
                if (x < 0 || x >= apart.cols) break;
            }
            work.add(span);
            if (pieces >= 3) return true;
        }
    }
    return false;
}

}  // namespace

std::vector<cv::Point2d> findMarkers(const Planes& p, const PieceMap& pieces, cv::Point seed,
                                     WorkMeter& work) {
    const int most = kMaxMarkerSide / p.scale + 1;
    const int label = pieces.labels.at<int>(seed);
    if (label <= 0) return {};
    // Nothing like a marker, even one cut by a line drawn over it: no
    // need to look at the whole rectangle.
    const int w = pieces.stats.at<int>(label, cv::CC_STAT_WIDTH);
    const int h = pieces.stats.at<int>(label, cv::CC_STAT_HEIGHT);
    if (w > most || h > most || 3 * w < h || 3 * h < w ||
        pieces.stats.at<int>(label, cv::CC_STAT_AREA) <= kSpeckPixels)
        return {};
    // Each marker with the hidden pixels around it, so a line drawn across
    // it does not cut it in two.
    cv::Mat near, joined, labels, stats, centroids;
    cv::dilate(p.curve, near, cv::getStructuringElement(cv::MORPH_RECT, {5, 5}));
    cv::bitwise_and(near, p.hidden, joined);
    cv::bitwise_or(joined, p.curve, joined);
    cv::Mat apart;
    cv::bitwise_not(near, apart);
    cv::bitwise_and(apart, p.hidden, apart);
    const int n = cv::connectedComponentsWithStats(joined, labels, stats, centroids, 8, CV_32S);
    if (work.addRows(p.curve.rows, 4 * int64_t(p.curve.cols))) return {};
    // The box and area of the colour's own pixels in each joined piece.
    std::vector<Box> boxes(static_cast<std::size_t>(n));
    for (int y = 0; y < labels.rows; ++y) {
        const int* l = labels.ptr<int>(y);
        const uint8_t* c = p.curve.ptr<uint8_t>(y);
        for (int x = 0; x < labels.cols; ++x) {
            if (!c[x]) continue;
            Box& b = boxes[std::size_t(l[x])];
            b.left = std::min(b.left, x), b.right = std::max(b.right, x);
            b.top = std::min(b.top, y), b.bottom = std::max(b.bottom, y);
            ++b.area;
        }
    }
    if (work.addRows(p.curve.rows, p.curve.cols)) return {};
    const Box& s = boxes[std::size_t(labels.at<int>(seed))];
    if (s.area == 0 || !markerShaped(s.width(), s.height(), s.area, most)) return {};
    const int sw = s.width(), sh = s.height();
    const auto near2 = [](int a, int b) { return std::abs(a - b) <= std::max(2, b / 3); };
    constexpr int kEdge = 4;  // a clipped marker ends this near the rectangle's edge
    std::vector<cv::Point2d> markers;
    for (int i = 1; i < n; ++i) {
        const Box& b = boxes[std::size_t(i)];
        if (b.area == 0 || b.width() > most || b.height() > most) continue;
        const bool clipLeft = b.left < kEdge, clipRight = b.right >= labels.cols - kEdge;
        const bool clipTop = b.top < kEdge, clipBottom = b.bottom >= labels.rows - kEdge;
        const bool clippedX = (clipLeft || clipRight) && b.width() < sw - 1;
        const bool clippedY = (clipTop || clipBottom) && b.height() < sh - 1;
        const bool widthFits =
            clippedX ? 3 * b.width() >= sw && b.width() <= sw : near2(b.width(), sw);
        const bool heightFits =
            clippedY ? 3 * b.height() >= sh && b.height() <= sh : near2(b.height(), sh);
        if (!widthFits || !heightFits) continue;
        if (!clippedX && !clippedY &&
            (!markerShaped(b.width(), b.height(), b.area, most) || 2 * b.area < s.area ||
             b.area > 2 * s.area))
            continue;
        if (clippedX || clippedY) {
            if (b.area < kMinMarkerFill * b.width() * b.height() || b.area <= kSpeckPixels)
                continue;
        }
        if (textBeside(apart, b, work)) continue;
        double cx = (b.left + b.right) / 2.0, cy = (b.top + b.bottom) / 2.0;
        if (clippedX) cx = clipLeft ? b.right - (sw - 1) / 2.0 : b.left + (sw - 1) / 2.0;
        if (clippedY) cy = clipTop ? b.bottom - (sh - 1) / 2.0 : b.top + (sh - 1) / 2.0;
        // A marker centred on the edge is the series' end; one centred
        // well beyond it is outside the chart.
        const double outX = std::max(-cx, cx - (labels.cols - 1));
        const double outY = std::max(-cy, cy - (labels.rows - 1));
        if (outX > sw / 4.0 || outY > sh / 4.0) continue;
        markers.emplace_back(std::clamp(cx, 0.0, double(labels.cols - 1)),
                             std::clamp(cy, 0.0, double(labels.rows - 1)));
    }
    return markers;
}

}  // namespace qf::extraction
