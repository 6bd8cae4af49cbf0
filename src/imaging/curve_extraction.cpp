#include "imaging/curve_extraction.h"
#include "common/translate.h"
#include "imaging/curve_colours.h"
#include "imaging/curve_planes.h"
#include "imaging/curve_trace.h"

#include <opencv2/imgproc.hpp>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <memory>
#include <utility>

namespace qf {
namespace {

using extraction::labDistance;
using extraction::WorkMeter;

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

constexpr int kMinMarkers = 3;

// Evenly spaced points along the followed line; each at the nearest column
// the line was seen or bridged in (a dash's gap has none), not one taken
// already; of two as near, the left one.
ExtractionResult placeAlongLine(const extraction::Followed& f, const extraction::Planes& planes,
                                cv::Point origin, int count, int reach, WorkMeter& work) {
    std::vector<int> columns;
    work.add(int64_t(f.kind.size()));
    for (std::size_t x = 0; x < f.kind.size(); ++x)
        if (f.kind[x] != extraction::Followed::kOff) columns.push_back(int(x));
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
    int usedColumn = -1;
    const int reachable = std::max(reach, 1) * 4;
    for (int k = 0; k < count; ++k) {
        const double at =
            count == 1 ? (first + last) / 2.0 : first + double(last - first) * k / (count - 1);
        const int want = int(std::lround(at));
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
        const cv::Point pixel = planes.pictureAt(column, f.y[std::size_t(column)]);
        r.points.push_back({origin.x + pixel.x, origin.y + pixel.y});
    }
    if (int(r.points.size()) < count)
        return failure(
            substitute(translate("qf::Messages",
                                 "曲線の途切れが長く、%1 点を置けません。「途切れの橋渡し」を"
                                 "広げるか「点の数」を減らしてください。"),
                       {std::to_string(count)}));
    return r;
}

ExtractionResult notACurve() {
    return failure(translate("qf::Messages",
                             "クリックした色が軸の矩形の大部分を占めていて、曲線ではありません。"
                             "曲線の上をクリックするか「色の許容差」を小さくしてください。"));
}

}  // namespace

namespace extraction {

ExtractionResult extractInPlanes(Planes& planes, const PieceMap* pieces, cv::Point seed,
                                 cv::Point origin, int count, int reach, WorkMeter& work,
                                 Followed* followed, bool lookForMarkers) {
    const int64_t most = int64_t(planes.curve.total()) / kMostOfTheRectangle;
    PieceMap mapped;
    if (pieces) {
        const int label = pieces->labels.at<int>(seed);
        if (label > 0 && pieces->stats.at<int>(label, cv::CC_STAT_AREA) > most) return notACurve();
    } else {
        const PieceBox piece = pieceThrough(planes, seed, most, work);
        if (!piece.complete) return notACurve();
        // Only a piece that could be a marker needs the others mapped
        // (which leaves the specks out); a line, only the specks out.
        const int side = kMaxMarkerSide / planes.scale + 1;
        const int w = piece.box.width, h = piece.box.height;
        const bool markerLike = w <= side && h <= side && 3 * w >= h && 3 * h >= w;
        if (lookForMarkers && markerLike) {
            if (!mapPieces(planes, mapped, work)) return {};
            pieces = &mapped;
        } else {
            lookForMarkers = false;
            if (!clearSpecks(planes, work)) return {};
            planes.curve.at<uint8_t>(seed) = 255;  // of a piece larger than a speck
        }
    }
    if (work.cancelled()) return {};
    const int s = planes.scale;
    const std::vector<cv::Point2d> markers =
        lookForMarkers ? findMarkers(planes, *pieces, seed, work) : std::vector<cv::Point2d>();
    if (work.cancelled()) return {};
    ExtractionResult r;
    if (int(markers.size()) >= kMinMarkers) {
        r.ok = true;
        r.kind = ExtractedKind::Markers;
        for (const cv::Point2d& m : markers) {
            const cv::Point at = planes.pictureAt(m.x, m.y);
            r.points.push_back({origin.x + at.x, origin.y + at.y});
        }
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
        return r;
    }
    const int workingReach = std::max(1, (reach + s - 1) / s);
    Followed f = followCurve(planes, seed, workingReach, work);
    if (work.cancelled()) return {};
    r = placeAlongLine(f, planes, origin, count, workingReach, work);
    if (r.ok) r.found = int(r.points.size());
    if (followed) *followed = std::move(f);
    return r;
}

}  // namespace extraction

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

    const cv::Vec3b ground = extraction::groundOf(roi, work);

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

    const int scale = extraction::workingScale(roi.size());
    const cv::Mat bits = extraction::classify(roi, {picked.lab}, tolerance, ground, scale, work);
    if (bits.empty()) return cancelled();
    extraction::Planes planes = extraction::planesOf(bits, 0, scale, roi.size(), work);
    cv::Point at(picked.at.x / scale, picked.at.y / scale);
    // A click on what could be a marker (a small piece, before the lines
    // are taken out: a marker on a frame of its colour is part of it).
    const int side = extraction::kMaxMarkerSide / scale + 1;
    const extraction::PieceBox first =
        extraction::pieceThrough(planes, at, int64_t(2 * side) * (2 * side), work);
    const bool onMarker = first.complete && first.box.width <= side && first.box.height <= side;
    extraction::clearStraightLines(planes, &at, work, onMarker);
    if (!planes.curve.at<uint8_t>(at) ||
        extraction::pieceThrough(planes, at, extraction::kSpeckPixels, work).complete)
        return nothingThere();  // a speck
    ExtractionResult r =
        extraction::extractInPlanes(planes, nullptr, at, origin, count, reach, work);
    if (work.cancelled()) return cancelled();
    if (!r.ok) return finished(std::move(r));
    r.colour = extraction::bgrOf(picked.lab);
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
