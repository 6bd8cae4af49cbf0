#include "imaging/curve_extraction.h"

#include <opencv2/imgproc.hpp>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <deque>
#include <utility>

namespace qf {
namespace {

// Marker blobs: small, about as wide as high, mostly filled.
constexpr int kMaxMarkerSide = 30;
constexpr double kMinMarkerFill = 0.5;
constexpr int kMinMarkers = 3;
constexpr int kSpeckPixels = 3;  // components this small are noise

int labDistance(const cv::Vec3b& a, const cv::Vec3b& b) {
    return std::max({std::abs(a[0] - b[0]), std::abs(a[1] - b[1]), std::abs(a[2] - b[2])});
}

ExtractionResult failure(std::string why) {
    ExtractionResult r;
    r.error = std::move(why);
    return r;
}

// The colour the user means: near the click, the pixel that stands out most
// from the picture's ground (a click one pixel beside a thin line still
// finds it), averaged with its like neighbours.
struct Picked {
    cv::Point at;
    cv::Vec3b lab;
    bool found = false;
};

Picked pickColour(const cv::Mat& lab, cv::Point seed, const cv::Vec3b& ground, int tolerance) {
    Picked p;
    int best = -1;
    constexpr int reach = 3;
    for (int dy = -reach; dy <= reach; ++dy) {
        for (int dx = -reach; dx <= reach; ++dx) {
            const cv::Point q(seed.x + dx, seed.y + dy);
            if (q.x < 0 || q.y < 0 || q.x >= lab.cols || q.y >= lab.rows) continue;
            const int score = labDistance(lab.at<cv::Vec3b>(q), ground) -
                              6 * std::max(std::abs(dx), std::abs(dy));
            if (score > best) {
                best = score;
                p.at = q;
            }
        }
    }
    const cv::Vec3b centre = lab.at<cv::Vec3b>(p.at);
    if (labDistance(centre, ground) <= tolerance) return p;  // only ground near the click
    cv::Vec3i sum(0, 0, 0);
    int n = 0;
    for (int dy = -1; dy <= 1; ++dy) {
        for (int dx = -1; dx <= 1; ++dx) {
            const cv::Point q(p.at.x + dx, p.at.y + dy);
            if (q.x < 0 || q.y < 0 || q.x >= lab.cols || q.y >= lab.rows) continue;
            const cv::Vec3b c = lab.at<cv::Vec3b>(q);
            if (labDistance(c, centre) > tolerance / 2) continue;
            sum += cv::Vec3i(c[0], c[1], c[2]);
            ++n;
        }
    }
    p.lab = cv::Vec3b(uint8_t(sum[0] / n), uint8_t(sum[1] / n), uint8_t(sum[2] / n));
    p.found = true;
    return p;
}

// The trace: every mask pixel reachable from the seed in steps to a mask
// pixel at most `reach` pixels away (1: touching; more bridges the gaps of a
// dashed line). Returns the trace as a mask, and which columns it touches.
cv::Mat followTrace(const cv::Mat& mask, cv::Point seed, int reach, std::vector<char>& columns) {
    cv::Mat trace = cv::Mat::zeros(mask.size(), CV_8U);
    columns.assign(std::size_t(mask.cols), 0);
    columns[std::size_t(seed.x)] = 1;
    std::deque<cv::Point> queue{seed};
    trace.at<uint8_t>(seed) = 255;
    const int w = mask.cols, h = mask.rows;
    while (!queue.empty()) {
        const cv::Point p = queue.front();
        queue.pop_front();
        const int y0 = std::max(p.y - reach, 0), y1 = std::min(p.y + reach, h - 1);
        const int x0 = std::max(p.x - reach, 0), x1 = std::min(p.x + reach, w - 1);
        for (int y = y0; y <= y1; ++y) {
            const uint8_t* m = mask.ptr<uint8_t>(y);
            uint8_t* t = trace.ptr<uint8_t>(y);
            for (int x = x0; x <= x1; ++x) {
                if (m[x] && !t[x]) {
                    t[x] = 255;
                    columns[std::size_t(x)] = 1;
                    queue.emplace_back(x, y);
                }
            }
        }
    }
    return trace;
}

struct Run {
    int top, bottom;  // rows, inclusive
    int centre() const { return (top + bottom + 1) / 2; }
};

std::vector<Run> runsIn(const cv::Mat& trace, int column) {
    std::vector<Run> runs;
    for (int y = 0; y < trace.rows; ++y) {
        if (!trace.at<uint8_t>(y, column)) continue;
        if (!runs.empty() && runs.back().bottom == y - 1) {
            runs.back().bottom = y;
        } else {
            runs.push_back({y, y});
        }
    }
    return runs;
}

// Evenly spaced points along the trace, each at the middle of the line's
// thickness in its column; where a column holds more than one piece, the
// one nearest the previous point (the longest for the first).
ExtractionResult placeAlongLine(const cv::Mat& trace, const std::vector<char>& touched,
                                cv::Point origin, int count, int reach) {
    std::vector<int> columns;
    for (int x = 0; x < trace.cols; ++x)
        if (touched[std::size_t(x)]) columns.push_back(x);
    if (columns.size() < 2)
        return failure("曲線が軸の矩形の中にほとんどありません。曲線が軸の矩形の中を通る所をクリックしてください。");
    if (int(columns.size()) < count)
        return failure("曲線は " + std::to_string(columns.size()) + " 列にしかなく、" +
                       std::to_string(count) + " 点を置けません。点の数を減らしてください。");
    const int first = columns.front(), last = columns.back();
    ExtractionResult r;
    r.ok = true;
    r.kind = ExtractedKind::Line;
    int previous = -1;
    int usedColumn = -1;
    for (int k = 0; k < count; ++k) {
        const double at = count == 1 ? (first + last) / 2.0
                                     : first + double(last - first) * k / (count - 1);
        // The column with trace pixels nearest the even position (a dash's gap
        // has none), not one taken already.
        int column = -1;
        for (int d = 0; d <= std::max(reach, 1) * 4 && column < 0; ++d) {
            for (int c : {int(std::lround(at)) - d, int(std::lround(at)) + d}) {
                if (c <= usedColumn || c < first || c > last) continue;
                if (std::binary_search(columns.begin(), columns.end(), c)) {
                    column = c;
                    break;
                }
            }
        }
        if (column < 0) continue;
        usedColumn = column;
        const std::vector<Run> runs = runsIn(trace, column);
        const Run* chosen = &runs.front();
        for (const Run& run : runs) {
            const bool better = previous < 0
                                    ? run.bottom - run.top > chosen->bottom - chosen->top
                                    : std::abs(run.centre() - previous) <
                                          std::abs(chosen->centre() - previous);
            if (better) chosen = &run;
        }
        previous = chosen->centre();
        r.points.push_back({origin.x + column, origin.y + previous});
    }
    if (int(r.points.size()) < count)
        return failure("曲線の途切れが長く、" + std::to_string(count) +
                       " 点を置けません。つなぐ間隔を広げるか点の数を減らしてください。");
    return r;
}

}  // namespace

ExtractionResult extractCurve(const cv::Mat& picture, const IntRect& axisRect, IntPoint seed,
                              const ExtractionSettings& settings) {
    if (picture.empty() || picture.type() != CV_8UC3) return failure("画像がありません。");
    const int tolerance = std::clamp(settings.tolerance, kMinExtractionTolerance,
                                     kMaxExtractionTolerance);
    const int count = std::clamp(settings.count, 1, kMaxExtractionCount);
    const int reach = std::clamp(settings.gap, 1, kMaxExtractionGap);

    // The axis rectangle with its right and bottom edges, on the picture.
    const int x0 = std::max(axisRect.left, 0);
    const int y0 = std::max(axisRect.top, 0);
    const int x1 = std::min(axisRect.right, picture.cols - 1);
    const int y1 = std::min(axisRect.bottom, picture.rows - 1);
    if (x0 >= x1 || y0 >= y1) return failure("軸の矩形が画像の上にありません。");
    if (seed.x < x0 || seed.x > x1 || seed.y < y0 || seed.y > y1)
        return failure("クリックした点が軸の矩形の外です。軸の矩形の中の曲線をクリックしてください。");
    const cv::Point origin(x0, y0);
    const cv::Mat roi = picture(cv::Rect(x0, y0, x1 - x0 + 1, y1 - y0 + 1));

    cv::Mat lab;
    cv::cvtColor(roi, lab, cv::COLOR_BGR2Lab);
    const cv::Scalar meanLab = cv::mean(lab);
    const cv::Vec3b ground{uint8_t(meanLab[0]), uint8_t(meanLab[1]), uint8_t(meanLab[2])};
    const Picked picked = pickColour(lab, {seed.x - x0, seed.y - y0}, ground, tolerance);
    if (!picked.found)
        return failure("クリックした所の近くに曲線の色が見つかりません。曲線の上をクリックしてください。");

    cv::Mat mask;
    const cv::Scalar c(picked.lab[0], picked.lab[1], picked.lab[2]);
    cv::inRange(lab, c - cv::Scalar::all(tolerance), c + cv::Scalar::all(tolerance), mask);

    // Specks out; the blobs' sizes tell markers from a line.
    cv::Mat labels, stats, centroids;
    const int n = cv::connectedComponentsWithStats(mask, labels, stats, centroids, 8, CV_32S);
    std::vector<char> speck(std::size_t(n), 0);
    for (int i = 1; i < n; ++i) speck[std::size_t(i)] = stats.at<int>(i, cv::CC_STAT_AREA) <= kSpeckPixels;
    for (int y = 0; y < mask.rows; ++y) {
        uint8_t* m = mask.ptr<uint8_t>(y);
        const int* l = labels.ptr<int>(y);
        for (int x = 0; x < mask.cols; ++x)
            if (speck[std::size_t(l[x])]) m[x] = 0;
    }
    const int seedLabel = labels.at<int>(picked.at);
    if (seedLabel == 0 || !mask.at<uint8_t>(picked.at))
        return failure("クリックした所の近くに曲線の色が見つかりません。曲線の上をクリックしてください。");

    ExtractionResult r;
    const auto side = [&](int i, int which) { return stats.at<int>(i, which); };
    const int sw = side(seedLabel, cv::CC_STAT_WIDTH), sh = side(seedLabel, cv::CC_STAT_HEIGHT);
    const int sa = side(seedLabel, cv::CC_STAT_AREA);
    const auto markerLike = [&](int i) {
        const int w = side(i, cv::CC_STAT_WIDTH), h = side(i, cv::CC_STAT_HEIGHT);
        const int a = side(i, cv::CC_STAT_AREA);
        return w <= kMaxMarkerSide && h <= kMaxMarkerSide && 3 * w >= 2 * h && 3 * h >= 2 * w &&
               a >= kMinMarkerFill * w * h && a > kSpeckPixels;
    };
    std::vector<int> markers;
    if (markerLike(seedLabel)) {
        for (int i = 1; i < n; ++i) {
            const int a = side(i, cv::CC_STAT_AREA);
            if (markerLike(i) && 2 * a >= sa && a <= 2 * sa &&
                std::abs(side(i, cv::CC_STAT_WIDTH) - sw) <= std::max(2, sw / 3) &&
                std::abs(side(i, cv::CC_STAT_HEIGHT) - sh) <= std::max(2, sh / 3))
                markers.push_back(i);
        }
    }
    if (int(markers.size()) >= kMinMarkers) {
        r.ok = true;
        r.kind = ExtractedKind::Markers;
        for (int i : markers) {
            const cv::Point2d m(centroids.at<double>(i, 0), centroids.at<double>(i, 1));
            r.points.push_back(
                {x0 + int(std::lround(m.x)), y0 + int(std::lround(m.y))});
        }
        std::sort(r.points.begin(), r.points.end(),
                  [](const SourcePoint& a, const SourcePoint& b) {
                      return a.h != b.h ? a.h < b.h : a.v < b.v;
                  });
        r.found = int(r.points.size());
        if (r.found > kMaxExtractionCount) {
            std::vector<SourcePoint> kept;
            for (int k = 0; k < kMaxExtractionCount; ++k)
                kept.push_back(r.points[std::size_t(
                    std::lround(double(k) * (r.found - 1) / (kMaxExtractionCount - 1)))]);
            r.points = std::move(kept);
            r.thinned = true;
        }
    } else {
        std::vector<char> touched;
        const cv::Mat trace = followTrace(mask, picked.at, reach, touched);
        r = placeAlongLine(trace, touched, origin, count, reach);
        if (!r.ok) return r;
        r.found = int(r.points.size());
    }
    cv::Mat bgr;
    cv::cvtColor(cv::Mat(1, 1, CV_8UC3, cv::Scalar(picked.lab[0], picked.lab[1], picked.lab[2])),
                 bgr, cv::COLOR_Lab2BGR);
    r.colour = bgr.at<cv::Vec3b>(0, 0);
    return r;
}

}  // namespace qf
