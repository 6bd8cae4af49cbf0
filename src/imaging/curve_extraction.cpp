#include "imaging/curve_extraction.h"
#include "common/translate.h"

#include <opencv2/imgproc.hpp>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <memory>
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

// A byte per pixel of the axis rectangle, kept in tiles that exist only
// where something was written: a curve crosses a small part of a large
// picture, and neither the work nor the memory should grow with the rest.
class Tiles {
public:
    static constexpr int kShift = 7;
    static constexpr int kTile = 1 << kShift;  // 128 x 128 pixels
    explicit Tiles(cv::Size size)
        : size_(size), across_((size.width + kTile - 1) >> kShift),
          tiles_(std::size_t(across_) * std::size_t((size.height + kTile - 1) >> kShift)) {}

    int cols() const { return size_.width; }
    int rows() const { return size_.height; }
    uint8_t get(int x, int y) const {
        const uint8_t* t = tiles_[index(x, y)].get();
        return t ? t[offset(x, y)] : 0;
    }
    bool has(int tx, int ty) const {
        return tiles_[std::size_t(ty) * std::size_t(across_) + std::size_t(tx)] != nullptr;
    }
    uint8_t& ref(int x, int y) {
        std::unique_ptr<uint8_t[]>& t = tiles_[index(x, y)];
        if (!t) t = std::make_unique<uint8_t[]>(kTile * kTile);  // zeroed
        return t[offset(x, y)];
    }
    // The tile at tile coordinates (tx, ty) as an image of its own size.
    cv::Mat tile(int tx, int ty) {
        const int x = tx << kShift, y = ty << kShift;
        uint8_t* origin = &ref(x, y);
        return cv::Mat(std::min(kTile, size_.height - y), std::min(kTile, size_.width - x), CV_8U,
                       origin, kTile);
    }

private:
    std::size_t index(int x, int y) const {
        return std::size_t(y >> kShift) * std::size_t(across_) + std::size_t(x >> kShift);
    }
    static std::size_t offset(int x, int y) {
        return std::size_t((y & (kTile - 1)) << kShift) + std::size_t(x & (kTile - 1));
    }
    cv::Size size_;
    int across_;
    std::vector<std::unique_ptr<uint8_t[]>> tiles_;
};

// The curve's colour as a mask of the axis rectangle, made tile by tile as
// the trace reaches it: converting and thresholding only what the curve
// crosses is what keeps a click quick on a large picture.
class LazyMask {
public:
    LazyMask(const cv::Mat& roi, const cv::Scalar& lo, const cv::Scalar& hi)
        : roi_(roi), lo_(lo), hi_(hi), mask_(roi.size()) {}

    int cols() const { return roi_.cols; }
    int rows() const { return roi_.rows; }
    // Makes every tile the box [x0, x1] x [y0, y1] touches.
    void prepare(int x0, int y0, int x1, int y1) {
        for (int ty = y0 >> Tiles::kShift; ty <= y1 >> Tiles::kShift; ++ty)
            for (int tx = x0 >> Tiles::kShift; tx <= x1 >> Tiles::kShift; ++tx) make(tx, ty);
    }
    // Only inside a prepared box.
    bool prepared(int x, int y) const { return mask_.get(x, y) != 0; }
    bool at(int x, int y) {
        make(x >> Tiles::kShift, y >> Tiles::kShift);
        return mask_.get(x, y) != 0;
    }

private:
    // A tile exists once it is made.
    void make(int tx, int ty) {
        if (mask_.has(tx, ty)) return;
        cv::Mat out = mask_.tile(tx, ty);
        const cv::Rect r(tx << Tiles::kShift, ty << Tiles::kShift, out.cols, out.rows);
        cv::cvtColor(roi_(r), lab_, cv::COLOR_BGR2Lab);
        cv::inRange(lab_, lo_, hi_, out);
    }

    const cv::Mat& roi_;
    cv::Scalar lo_, hi_;
    Tiles mask_;
    cv::Mat lab_;
};

// The 8-connected piece of the mask through p: its bounding box and size,
// found only as far as `limit` pixels (enough to tell a speck or a marker).
struct Piece {
    int left, top, right, bottom;
    int area = 0;
    bool complete = true;  // false: larger than the limit
    int width() const { return right - left + 1; }
    int height() const { return bottom - top + 1; }
};

Piece pieceAt(LazyMask& mask, cv::Point p, int limit) {
    Piece piece{p.x, p.y, p.x, p.y};
    std::vector<cv::Point> stack{p}, seen{p};
    const auto visited = [&seen](cv::Point q) {
        return std::find(seen.begin(), seen.end(), q) != seen.end();
    };
    while (!stack.empty()) {
        const cv::Point q = stack.back();
        stack.pop_back();
        ++piece.area;
        piece.left = std::min(piece.left, q.x);
        piece.right = std::max(piece.right, q.x);
        piece.top = std::min(piece.top, q.y);
        piece.bottom = std::max(piece.bottom, q.y);
        if (piece.area >= limit) {
            piece.complete = false;
            return piece;
        }
        for (int dy = -1; dy <= 1; ++dy) {
            for (int dx = -1; dx <= 1; ++dx) {
                const cv::Point n(q.x + dx, q.y + dy);
                if (n.x < 0 || n.y < 0 || n.x >= mask.cols() || n.y >= mask.rows()) continue;
                if (!mask.at(n.x, n.y) || visited(n)) continue;
                seen.push_back(n);
                stack.push_back(n);
            }
        }
    }
    return piece;
}

// Trace states.
constexpr uint8_t kOnTrace = 1;
constexpr uint8_t kSpeck = 2;  // seen across a gap, too small to follow

// The trace: every mask pixel reachable from the seed in steps to a mask
// pixel at most `reach` pixels away (1: touching; more bridges the gaps of a
// dashed line), specks of a few pixels left out. Returns the trace (kOnTrace
// on its pixels) and which columns it touches.
Tiles followTrace(LazyMask& mask, cv::Point seed, int reach, std::vector<char>& columns) {
    Tiles trace(cv::Size(mask.cols(), mask.rows()));
    columns.assign(std::size_t(mask.cols()), 0);
    columns[std::size_t(seed.x)] = 1;
    std::vector<cv::Point> queue{seed};
    trace.ref(seed.x, seed.y) = kOnTrace;
    const int w = mask.cols(), h = mask.rows();
    // A pixel touching the trace belongs to its piece: no speck.
    const auto touchesTrace = [&](int x, int y) {
        for (int v = std::max(y - 1, 0); v <= std::min(y + 1, h - 1); ++v)
            for (int u = std::max(x - 1, 0); u <= std::min(x + 1, w - 1); ++u)
                if (trace.get(u, v) == kOnTrace) return true;
        return false;
    };
    for (std::size_t next = 0; next < queue.size(); ++next) {
        const cv::Point p = queue[next];
        const int y0 = std::max(p.y - reach, 0), y1 = std::min(p.y + reach, h - 1);
        const int x0 = std::max(p.x - reach, 0), x1 = std::min(p.x + reach, w - 1);
        mask.prepare(x0, y0, x1, y1);
        for (int y = y0; y <= y1; ++y) {
            for (int x = x0; x <= x1; ++x) {
                if (!mask.prepared(x, y) || trace.get(x, y)) continue;
                if (!touchesTrace(x, y) && pieceAt(mask, {x, y}, kSpeckPixels + 1).complete) {
                    trace.ref(x, y) = kSpeck;
                    continue;
                }
                trace.ref(x, y) = kOnTrace;
                columns[std::size_t(x)] = 1;
                queue.emplace_back(x, y);
            }
        }
    }
    return trace;
}

struct Run {
    int top, bottom;  // rows, inclusive
    int centre() const { return (top + bottom + 1) / 2; }
};

std::vector<Run> runsIn(const Tiles& trace, int column) {
    std::vector<Run> runs;
    for (int y = 0; y < trace.rows(); ++y) {
        if (trace.get(column, y) != kOnTrace) continue;
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
ExtractionResult placeAlongLine(const Tiles& trace, const std::vector<char>& touched,
                                cv::Point origin, int count, int reach) {
    std::vector<int> columns;
    for (int x = 0; x < trace.cols(); ++x)
        if (touched[std::size_t(x)]) columns.push_back(x);
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
        return failure(
            substitute(translate("qf::Messages",
                                 "曲線の途切れが長く、%1 点を置けません。「途切れの橋渡し」を"
                                 "広げるか「点の数」を減らしてください。"),
                       {std::to_string(count)}));
    return r;
}

}  // namespace

ExtractionResult extractCurve(const cv::Mat& picture, const IntRect& axisRect, IntPoint seed,
                              const ExtractionSettings& settings) {
    if (picture.empty() || picture.type() != CV_8UC3)
        return failure(translate("qf::Messages", "画像がありません。"));
    const int tolerance = std::clamp(settings.tolerance, kMinExtractionTolerance,
                                     kMaxExtractionTolerance);
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

    // The ground: the rectangle's average colour, from every fourth pixel
    // of every fourth row (as good as all of them, at a sixteenth of the work).
    cv::Mat sampled;
    cv::resize(roi, sampled, cv::Size((roi.cols + 3) / 4, (roi.rows + 3) / 4), 0, 0,
               cv::INTER_NEAREST);
    cv::cvtColor(sampled, sampled, cv::COLOR_BGR2Lab);
    const cv::Scalar meanLab = cv::mean(sampled);
    const cv::Vec3b ground{uint8_t(meanLab[0]), uint8_t(meanLab[1]), uint8_t(meanLab[2])};

    // The colour near the click, from the few pixels around it.
    const cv::Point local(seed.x - x0, seed.y - y0);
    constexpr int kPickReach = 4;  // the search and the averaging around its best pixel
    const cv::Rect near = cv::Rect(local.x - kPickReach, local.y - kPickReach, 2 * kPickReach + 1,
                                   2 * kPickReach + 1) &
                          cv::Rect(0, 0, roi.cols, roi.rows);
    cv::Mat nearLab;
    cv::cvtColor(roi(near), nearLab, cv::COLOR_BGR2Lab);
    Picked picked = pickColour(nearLab, local - near.tl(), ground, tolerance);
    if (!picked.found)
        return failure(translate(
            "qf::Messages",
            "クリックした所の近くに曲線の色が見つかりません。曲線の上をクリックしてください。"));
    picked.at += near.tl();

    const cv::Scalar c(picked.lab[0], picked.lab[1], picked.lab[2]);
    LazyMask mask(roi, c - cv::Scalar::all(tolerance), c + cv::Scalar::all(tolerance));
    // The clicked piece: a speck is nothing, a small compact one a marker.
    const Piece seedPiece = pieceAt(mask, picked.at, (kMaxMarkerSide + 1) * (kMaxMarkerSide + 1));
    if (!mask.at(picked.at.x, picked.at.y) || (seedPiece.complete && seedPiece.area <= kSpeckPixels))
        return failure(translate(
            "qf::Messages",
            "クリックした所の近くに曲線の色が見つかりません。曲線の上をクリックしてください。"));

    ExtractionResult r;
    const auto markerShaped = [](int w, int h, int a) {
        return w <= kMaxMarkerSide && h <= kMaxMarkerSide && 3 * w >= 2 * h && 3 * h >= 2 * w &&
               a >= kMinMarkerFill * w * h && a > kSpeckPixels;
    };
    std::vector<cv::Point2d> markers;
    if (seedPiece.complete &&
        markerShaped(seedPiece.width(), seedPiece.height(), seedPiece.area)) {
        // A marker series: every marker of that colour and about that size in
        // the rectangle, so the whole rectangle is needed.
        cv::Mat lab, whole, labels, stats, centroids;
        cv::cvtColor(roi, lab, cv::COLOR_BGR2Lab);
        cv::inRange(lab, c - cv::Scalar::all(tolerance), c + cv::Scalar::all(tolerance), whole);
        const int n = cv::connectedComponentsWithStats(whole, labels, stats, centroids, 8, CV_32S);
        const int sw = seedPiece.width(), sh = seedPiece.height(), sa = seedPiece.area;
        for (int i = 1; i < n; ++i) {
            const int w = stats.at<int>(i, cv::CC_STAT_WIDTH), h = stats.at<int>(i, cv::CC_STAT_HEIGHT);
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
        const Tiles trace = followTrace(mask, picked.at, reach, touched);
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
