#include "imaging/curve_trace.h"

#include <opencv2/imgproc.hpp>

#include <algorithm>
#include <unordered_set>

namespace qf::extraction {

Tiles::Tiles(cv::Size size)
    : size_(size),
      across_((size.width + kTile - 1) >> kShift),
      tiles_(std::size_t(across_) * std::size_t((size.height + kTile - 1) >> kShift)) {}

cv::Mat Tiles::tile(int tx, int ty) {
    const int x = tx << kShift, y = ty << kShift;
    uint8_t* origin = &ref(x, y);
    return cv::Mat(std::min(kTile, size_.height - y), std::min(kTile, size_.width - x), CV_8U,
                   origin, kTile);
}

// A tile exists once it is made.
void LazyMask::make(int tx, int ty) {
    if (mask_.has(tx, ty)) return;
    cv::Mat out = mask_.tile(tx, ty);
    const cv::Rect r(tx << Tiles::kShift, ty << Tiles::kShift, out.cols, out.rows);
    cv::cvtColor(roi_(r), lab_, cv::COLOR_BGR2Lab);
    cv::inRange(lab_, lo_, hi_, out);
    work_.add(2 * int64_t(r.area()));
}

cv::Mat LazyMask::whole() {
    cv::Mat out(roi_.size(), CV_8U);
    for (int y = 0; y < roi_.rows; y += Tiles::kTile) {
        const cv::Rect band(0, y, roi_.cols, std::min(Tiles::kTile, roi_.rows - y));
        cv::cvtColor(roi_(band), lab_, cv::COLOR_BGR2Lab);
        cv::Mat into = out(band);
        cv::inRange(lab_, lo_, hi_, into);
        if (work_.add(2 * int64_t(band.area()))) return {};
    }
    return out;
}

Piece pieceAt(LazyMask& mask, cv::Point p, int limit, WorkMeter& work) {
    Piece piece{p.x, p.y, p.x, p.y};
    std::vector<cv::Point> stack{p};
    const auto key = [](cv::Point q) { return uint64_t(uint32_t(q.y)) << 32 | uint32_t(q.x); };
    std::unordered_set<uint64_t> seen{key(p)};
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
        work.add(8);
        for (int dy = -1; dy <= 1; ++dy) {
            for (int dx = -1; dx <= 1; ++dx) {
                const cv::Point n(q.x + dx, q.y + dy);
                if (n.x < 0 || n.y < 0 || n.x >= mask.cols() || n.y >= mask.rows()) continue;
                if (!mask.at(n.x, n.y) || !seen.insert(key(n)).second) continue;
                stack.push_back(n);
            }
        }
    }
    return piece;
}

bool inSpeck(LazyMask& mask, cv::Point p, WorkMeter& work) {
    // The walk asks this of every pixel it reaches across a gap: a few
    // pixels on the stack, no allocation.
    cv::Point piece[kSpeckPixels] = {p};
    int n = 1;
    for (int i = 0; i < n; ++i) {
        work.add(8);
        for (int dy = -1; dy <= 1; ++dy) {
            for (int dx = -1; dx <= 1; ++dx) {
                const cv::Point q(piece[i].x + dx, piece[i].y + dy);
                if (q.x < 0 || q.y < 0 || q.x >= mask.cols() || q.y >= mask.rows()) continue;
                if (!mask.at(q.x, q.y) || std::find(piece, piece + n, q) != piece + n) continue;
                if (n == kSpeckPixels) return false;
                piece[n++] = q;
            }
        }
    }
    return true;
}

namespace {

// Walk states.
constexpr uint8_t kOnTrace = 1;
constexpr uint8_t kSpeck = 2;  // seen across a gap, too small to follow

// The walk hands over to the whole pass after examining this many pixels
// per pixel of the rectangle: about what the pass costs, each of its pixels
// being dearer than a look at a mask tile.
constexpr int64_t kWalkWorkPerPixel = 4;

enum class WalkEnd { Done, TooLarge, Cancelled, OverBudget };

// Breadth first from the seed, stepping to any mask pixel at most `reach`
// away. The walk's states are kept apart from the result, which holds only
// the trace.
WalkEnd walk(LazyMask& mask, cv::Point seed, int reach, int64_t budget, int64_t cap,
             WorkMeter& work, Trace& t) {
    const int w = mask.cols(), h = mask.rows();
    Tiles& trace = t.walked.emplace(cv::Size(w, h));
    t.columns.assign(std::size_t(w), 0);
    t.columns[std::size_t(seed.x)] = 1;
    std::vector<cv::Point> queue{seed};
    trace.ref(seed.x, seed.y) = kOnTrace;
    t.pixels = 1;
    const int64_t start = work.done();
    // A pixel touching the trace belongs to its piece: no speck.
    const auto touchesTrace = [&](int x, int y) {
        for (int v = std::max(y - 1, 0); v <= std::min(y + 1, h - 1); ++v)
            for (int u = std::max(x - 1, 0); u <= std::min(x + 1, w - 1); ++u)
                if (trace.get(u, v) == kOnTrace) return true;
        return false;
    };
    for (std::size_t next = 0; next < queue.size(); ++next) {
        const cv::Point p = queue[next];
        // Inside a piece (every neighbour of the colour) the neighbours are
        // all a search needs: any pixel within reach of this one is within
        // reach of a pixel of the piece's edge, whose search finds it. On a
        // thick line most pixels are inside.
        int r = 1;
        {
            const int u0 = std::max(p.x - 1, 0), u1 = std::min(p.x + 1, w - 1);
            const int v0 = std::max(p.y - 1, 0), v1 = std::min(p.y + 1, h - 1);
            mask.prepare(u0, v0, u1, v1);
            for (int v = v0; v <= v1 && r == 1; ++v)
                for (int u = u0; u <= u1; ++u)
                    if (!mask.prepared(u, v)) {
                        r = reach;
                        break;
                    }
            work.add(9);
        }
        const int y0 = std::max(p.y - r, 0), y1 = std::min(p.y + r, h - 1);
        const int x0 = std::max(p.x - r, 0), x1 = std::min(p.x + r, w - 1);
        mask.prepare(x0, y0, x1, y1);
        for (int y = y0; y <= y1; ++y) {
            if (work.add(x1 - x0 + 1)) return WalkEnd::Cancelled;
            if (work.done() - start > budget) return WalkEnd::OverBudget;
            for (int x = x0; x <= x1; ++x) {
                if (!mask.prepared(x, y) || trace.get(x, y)) continue;
                work.add(9);
                if (!touchesTrace(x, y) && inSpeck(mask, {x, y}, work)) {
                    trace.ref(x, y) = kSpeck;
                    continue;
                }
                trace.ref(x, y) = kOnTrace;
                t.columns[std::size_t(x)] = 1;
                queue.emplace_back(x, y);
                if (++t.pixels > cap) return WalkEnd::TooLarge;
            }
        }
    }
    return WalkEnd::Done;
}

// Each pixel of `mask` spread over the square of reach x reach pixels from
// it to the right and down, by a pass over rows and one over columns.
cv::Mat squares(const cv::Mat& mask, int reach, WorkMeter& work) {
    cv::Mat out(mask.size(), CV_8U);
    std::vector<int> lastRow(std::size_t(mask.cols), -reach);  // the last row with a set pixel
    for (int y = 0; y < mask.rows; ++y) {
        const uint8_t* in = mask.ptr<uint8_t>(y);
        uint8_t* o = out.ptr<uint8_t>(y);
        int lastColumn = -reach;
        for (int x = 0; x < mask.cols; ++x) {
            if (in[x]) lastColumn = x;
            if (x - lastColumn < reach) lastRow[std::size_t(x)] = y;
            o[x] = y - lastRow[std::size_t(x)] < reach ? 255 : 0;
        }
        if (work.add(2 * int64_t(mask.cols))) return {};
    }
    return out;
}

// The whole rectangle at once. Two pixels are within reach of each other
// when their squares overlap or touch, so the trace is made of the mask's
// pixels in the seed's 8-connected region of the squares' union: the same
// pixels the walk finds, for work that does not grow with the reach.
TraceEnd wholePass(LazyMask& lazy, cv::Point seed, int reach, int64_t cap, WorkMeter& work,
                   Trace& t) {
    cv::Mat mask = lazy.whole();
    if (mask.empty()) return TraceEnd::Cancelled;
    const int64_t area = int64_t(mask.total());
    {
        cv::Mat labels, stats, centroids;
        const int n = cv::connectedComponentsWithStats(mask, labels, stats, centroids, 8, CV_32S);
        if (work.add(area)) return TraceEnd::Cancelled;
        std::vector<uint8_t> kept(std::size_t(n), 0);  // the ground (label 0) is not
        for (int i = 1; i < n; ++i)
            kept[std::size_t(i)] = stats.at<int>(i, cv::CC_STAT_AREA) > kSpeckPixels ? 255 : 0;
        for (int y = 0; y < mask.rows; ++y) {
            const int* l = labels.ptr<int>(y);
            uint8_t* m = mask.ptr<uint8_t>(y);
            for (int x = 0; x < mask.cols; ++x) m[x] = kept[std::size_t(l[x])];
            if (work.add(mask.cols)) return TraceEnd::Cancelled;
        }
    }
    cv::Mat reached = squares(mask, reach, work);
    if (reached.empty()) return TraceEnd::Cancelled;
    constexpr uint8_t kSeedRegion = 128;
    cv::floodFill(reached, seed, kSeedRegion, nullptr, 0, 0, 8);
    if (work.add(area)) return TraceEnd::Cancelled;
    t.columns.assign(std::size_t(mask.cols), 0);
    t.pixels = 0;
    for (int y = 0; y < mask.rows; ++y) {
        const uint8_t* r = reached.ptr<uint8_t>(y);
        uint8_t* m = mask.ptr<uint8_t>(y);
        for (int x = 0; x < mask.cols; ++x) {
            m[x] = m[x] && r[x] == kSeedRegion;
            if (m[x]) {
                t.columns[std::size_t(x)] = 1;
                ++t.pixels;
            }
        }
        if (work.add(mask.cols)) return TraceEnd::Cancelled;
    }
    t.whole = std::move(mask);
    return t.pixels > cap ? TraceEnd::TooLarge : TraceEnd::Done;
}

}  // namespace

bool Trace::on(int x, int y) const {
    return walked ? walked->get(x, y) == kOnTrace : whole.at<uint8_t>(y, x) != 0;
}

Trace traceCurve(LazyMask& mask, cv::Point seed, int reach, WorkMeter& work, TraceWay way) {
    const int64_t area = int64_t(mask.cols()) * mask.rows();
    const int64_t cap = area / kMostOfTheRectangle;
    Trace t;
    if (way != TraceWay::Whole) {
        const int64_t budget = way == TraceWay::Walk ? INT64_MAX : kWalkWorkPerPixel * area;
        switch (walk(mask, seed, reach, budget, cap, work, t)) {
            case WalkEnd::Done:
                return t;
            case WalkEnd::TooLarge:
                t.end = TraceEnd::TooLarge;
                return t;
            case WalkEnd::Cancelled:
                t.end = TraceEnd::Cancelled;
                return t;
            case WalkEnd::OverBudget:
                t = Trace();
                break;
        }
    }
    t.end = wholePass(mask, seed, reach, cap, work, t);
    return t;
}

}  // namespace qf::extraction
