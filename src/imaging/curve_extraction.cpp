#include "imaging/curve_extraction.h"
#include "common/translate.h"
#include "imaging/curve_trace.h"

#include <opencv2/imgproc.hpp>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <memory>
#include <utility>

namespace qf {
namespace {

using extraction::kSpeckPixels;
using extraction::LazyMask;
using extraction::Piece;
using extraction::Trace;
using extraction::TraceEnd;
using extraction::WorkMeter;

// Marker blobs: small, about as wide as high, mostly filled.
constexpr int kMaxMarkerSide = 30;
constexpr double kMinMarkerFill = 0.5;
constexpr int kMinMarkers = 3;

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

struct Run {
    int top, bottom;  // rows, inclusive
    int centre() const { return (top + bottom + 1) / 2; }
};

std::vector<Run> runsIn(const Trace& trace, int column, int rows, WorkMeter& work) {
    std::vector<Run> runs;
    work.add(rows);
    for (int y = 0; y < rows; ++y) {
        if (!trace.on(column, y)) continue;
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
ExtractionResult placeAlongLine(const Trace& trace, int rows, cv::Point origin, int count,
                                int reach, WorkMeter& work) {
    std::vector<int> columns;
    work.add(int64_t(trace.columns.size()));
    for (std::size_t x = 0; x < trace.columns.size(); ++x)
        if (trace.columns[x]) columns.push_back(int(x));
    if (columns.size() < 2)
        return failure(
            translate("qf::Messages",
                      "曲線が軸の矩形の中にほとんどありません。曲線が軸の矩形の中を通る所を"
                      "クリックしてください。"));
    if (int(columns.size()) < count)
        return failure(substitute(translate("qf::Messages",
                                            "曲線は %1 列にしかなく、%2 点を置けません。"
                                            "「点の数」を減らしてください。"),
                                  {std::to_string(columns.size()), std::to_string(count)}));
    const int first = columns.front(), last = columns.back();
    ExtractionResult r;
    r.ok = true;
    r.kind = ExtractedKind::Line;
    int previous = -1;
    int usedColumn = -1;
    for (int k = 0; k < count; ++k) {
        const double at =
            count == 1 ? (first + last) / 2.0 : first + double(last - first) * k / (count - 1);
        // The column with trace pixels nearest the even position (a dash's gap
        // has none), not one taken already; of two as near, the left one.
        const int want = int(std::lround(at));
        const int reachable = std::max(reach, 1) * 4;
        int column = -1;
        const auto from = std::lower_bound(columns.begin(), columns.end(), want);
        if (from != columns.begin() && *(from - 1) > usedColumn && want - *(from - 1) <= reachable)
            column = *(from - 1);
        const auto right = std::lower_bound(from, columns.end(), usedColumn + 1);
        if (right != columns.end() && *right - want <= reachable &&
            (column < 0 || *right - want < want - column))
            column = *right;
        if (column < 0) continue;
        usedColumn = column;
        const std::vector<Run> runs = runsIn(trace, column, rows, work);
        const Run* chosen = &runs.front();
        for (const Run& run : runs) {
            const bool better = previous < 0 ? run.bottom - run.top > chosen->bottom - chosen->top
                                             : std::abs(run.centre() - previous) <
                                                   std::abs(chosen->centre() - previous);
            if (better) chosen = &run;
        }
        previous = chosen->centre();
        r.points.push_back({origin.x + column, origin.y + previous});
    }
    if (int(r.points.size()) < count)
        return failure(
            substitute(translate("qf::Messages",
                                 "曲線の途切れが長く、%1 点を置けません。「途切れの橋渡し」を"
                                 "広げるか「点の数」を減らしてください。"),
                       {std::to_string(count)}));
    return r;
}

}  // namespace

ExtractionResult extractCurve(const cv::Mat& picture, const IntRect& axisRect, IntPoint seed,
                              const ExtractionSettings& settings, const ExtractionCancel& cancel) {
    if (picture.empty() || picture.type() != CV_8UC3)
        return failure(translate("qf::Messages", "画像がありません。"));
    const int tolerance =
        std::clamp(settings.tolerance, kMinExtractionTolerance, kMaxExtractionTolerance);
    const int count = std::clamp(settings.count, 1, kMaxExtractionCount);
    const int reach = std::clamp(settings.gap, 1, kMaxExtractionGap);

    // The axis rectangle with its right and bottom edges, on the picture.
    const int x0 = std::max(axisRect.left, 0);
    const int y0 = std::max(axisRect.top, 0);
    const int x1 = std::min(axisRect.right, picture.cols - 1);
    const int y1 = std::min(axisRect.bottom, picture.rows - 1);
    if (x0 >= x1 || y0 >= y1)
        return failure(translate("qf::Messages", "軸の矩形が画像の上にありません。"));
    if (seed.x < x0 || seed.x > x1 || seed.y < y0 || seed.y > y1)
        return failure(translate(
            "qf::Messages",
            "クリックした点が軸の矩形の外です。軸の矩形の中の曲線をクリックしてください。"));
    const cv::Point origin(x0, y0);
    const cv::Mat roi = picture(cv::Rect(x0, y0, x1 - x0 + 1, y1 - y0 + 1));
    WorkMeter work(cancel);
    const auto finished = [&work](ExtractionResult r) {
        r.work = work.done();
        return r;
    };
    const auto cancelled = [&] {
        ExtractionResult r = failure(translate("qf::Messages", "曲線の自動抽出を中止しました。"));
        r.cancelled = true;
        return finished(std::move(r));
    };

    // The ground: the rectangle's average colour, from every fourth pixel
    // of every fourth row (as good as all of them, at a sixteenth of the work).
    cv::Mat sampled;
    cv::resize(roi, sampled, cv::Size((roi.cols + 3) / 4, (roi.rows + 3) / 4), 0, 0,
               cv::INTER_NEAREST);
    cv::cvtColor(sampled, sampled, cv::COLOR_BGR2Lab);
    const cv::Scalar meanLab = cv::mean(sampled);
    const cv::Vec3b ground{uint8_t(meanLab[0]), uint8_t(meanLab[1]), uint8_t(meanLab[2])};
    work.add(2 * int64_t(sampled.total()));

    // The colour near the click, from the few pixels around it.
    const cv::Point local(seed.x - x0, seed.y - y0);
    constexpr int kPickReach = 4;  // the search and the averaging around its best pixel
    const cv::Rect near = cv::Rect(local.x - kPickReach, local.y - kPickReach, 2 * kPickReach + 1,
                                   2 * kPickReach + 1) &
                          cv::Rect(0, 0, roi.cols, roi.rows);
    cv::Mat nearLab;
    cv::cvtColor(roi(near), nearLab, cv::COLOR_BGR2Lab);
    Picked picked = pickColour(nearLab, local - near.tl(), ground, tolerance);
    work.add(2 * int64_t(near.area()));
    const auto nothingThere = [&] {
        return finished(failure(translate(
            "qf::Messages",
            "クリックした所の近くに曲線の色が見つかりません。曲線の上をクリックしてください。")));
    };
    if (!picked.found) return nothingThere();
    picked.at += near.tl();

    const cv::Scalar c(picked.lab[0], picked.lab[1], picked.lab[2]);
    LazyMask mask(roi, c - cv::Scalar::all(tolerance), c + cv::Scalar::all(tolerance), work);
    // The clicked piece: a speck is nothing, a small compact one a marker.
    const Piece seedPiece =
        pieceAt(mask, picked.at, (kMaxMarkerSide + 1) * (kMaxMarkerSide + 1), work);
    if (!mask.at(picked.at.x, picked.at.y) ||
        (seedPiece.complete && seedPiece.area <= kSpeckPixels))
        return nothingThere();
    if (work.cancelled()) return cancelled();

    ExtractionResult r;
    const auto markerShaped = [](int w, int h, int a) {
        return w <= kMaxMarkerSide && h <= kMaxMarkerSide && 3 * w >= 2 * h && 3 * h >= 2 * w &&
               a >= kMinMarkerFill * w * h && a > kSpeckPixels;
    };
    std::vector<cv::Point2d> markers;
    if (seedPiece.complete && markerShaped(seedPiece.width(), seedPiece.height(), seedPiece.area)) {
        // A marker series: every marker of that colour and about that size in
        // the rectangle, so the whole rectangle is needed.
        const cv::Mat whole = mask.whole();
        if (whole.empty()) return cancelled();
        cv::Mat labels, stats, centroids;
        const int n = cv::connectedComponentsWithStats(whole, labels, stats, centroids, 8, CV_32S);
        if (work.add(int64_t(whole.total()) + n)) return cancelled();
        const int sw = seedPiece.width(), sh = seedPiece.height(), sa = seedPiece.area;
        for (int i = 1; i < n; ++i) {
            const int w = stats.at<int>(i, cv::CC_STAT_WIDTH),
                      h = stats.at<int>(i, cv::CC_STAT_HEIGHT);
            const int a = stats.at<int>(i, cv::CC_STAT_AREA);
            if (markerShaped(w, h, a) && 2 * a >= sa && a <= 2 * sa &&
                std::abs(w - sw) <= std::max(2, sw / 3) && std::abs(h - sh) <= std::max(2, sh / 3))
                markers.emplace_back(centroids.at<double>(i, 0), centroids.at<double>(i, 1));
        }
    }
    if (int(markers.size()) >= kMinMarkers) {
        r.ok = true;
        r.kind = ExtractedKind::Markers;
        for (const cv::Point2d& m : markers)
            r.points.push_back({x0 + int(std::lround(m.x)), y0 + int(std::lround(m.y))});
        std::sort(r.points.begin(), r.points.end(), [](const SourcePoint& a, const SourcePoint& b) {
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
        const Trace trace = traceCurve(mask, picked.at, reach, work);
        if (trace.end == TraceEnd::Cancelled) return cancelled();
        if (trace.end == TraceEnd::TooLarge)
            return finished(failure(
                translate("qf::Messages",
                          "クリックした色が軸の矩形の大部分を占めていて、曲線ではありません。"
                          "曲線の上をクリックするか「色の許容差」を小さくしてください。")));
        r = placeAlongLine(trace, roi.rows, origin, count, reach, work);
        if (!r.ok) return finished(std::move(r));
        r.found = int(r.points.size());
    }
    cv::Mat bgr;
    cv::cvtColor(cv::Mat(1, 1, CV_8UC3, cv::Scalar(picked.lab[0], picked.lab[1], picked.lab[2])),
                 bgr, cv::COLOR_Lab2BGR);
    r.colour = bgr.at<cv::Vec3b>(0, 0);
    return finished(std::move(r));
}

std::string extractBeforeListed(const cv::Mat& picture, const IntRect& axisRect, IntPoint seed,
                                const ExtractionSettings& settings,
                                std::vector<SourcePoint>& points) {
    ExtractionResult r = extractCurve(picture, axisRect, seed, settings);
    if (!r.ok) return r.error;
    r.points.insert(r.points.end(), points.begin(), points.end());
    points = std::move(r.points);
    return {};
}

}  // namespace qf
