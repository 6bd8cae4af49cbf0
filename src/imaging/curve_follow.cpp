// Following a curve column by column, by continuity of position and slope.

#include <algorithm>
#include <cmath>
#include <deque>
#include <limits>

#include "imaging/curve_planes.h"

namespace qf::extraction {
namespace {

struct Run {
    int top, bottom;
    int length() const { return bottom - top + 1; }
    double centre() const { return (top + bottom) / 2.0; }
};

class Follower {
public:
    Follower(const Planes& p, int reach, WorkMeter& work)
        : p_(p), w_(p.curve.cols), h_(p.curve.rows), reach_(reach), work_(work) {
        f_.y.assign(std::size_t(w_), std::numeric_limits<float>::quiet_NaN());
        f_.kind.assign(std::size_t(w_), Followed::kOff);
        f_.taken.assign(std::size_t(w_), cv::Vec2i(0, -1));
        // The walk of a column near its curve is cheap; this keeps noise,
        // where every column holds runs, from costing more than two passes.
        budget_ = work.done() + 2 * int64_t(p.curve.total()) + 4096;
    }

    Followed run(cv::Point seed) {
        std::vector<Run> runs;
        runsIn(seed.x, seed.y, seed.y, 2, runs);
        if (runs.empty()) return f_;
        const Run first = runs.front();
        record(seed.x, first.centre(), first);
        oneWay(seed.x, first, -1);
        oneWay(seed.x, first, +1);
        bridge();
        return f_;
    }

private:
    bool curveAt(int x, int y) const { return p_.curve.at<uint8_t>(y, x) != 0; }
    bool hiddenAt(int x, int y) const { return p_.hidden.at<uint8_t>(y, x) != 0; }
    bool lineAt(int x, int y) const { return p_.hidden.at<uint8_t>(y, x) == kHiddenLine; }

    // The runs of the colour in column x that meet rows lo..hi, each whole;
    // runs parted by no more than `join` hidden pixels are one, and a run
    // goes on into the colour's own straight line it touches (the curve
    // lies along it there).
    void runsIn(int x, int lo, int hi, int join, std::vector<Run>& out) {
        out.clear();
        lo = std::max(lo, 0);
        hi = std::min(hi, h_ - 1);
        if (lo > hi) return;
        int looked = 0;
        int y = lo;
        if (curveAt(x, y))
            while (y > 0 && curveAt(x, y - 1)) --y, ++looked;
        while (y <= hi) {
            ++looked;
            if (!curveAt(x, y)) {
                ++y;
                continue;
            }
            int b = y;
            for (;;) {
                while (b + 1 < h_ && curveAt(x, b + 1)) ++b, ++looked;
                int j = b + 1;
                while (j < h_ && j - b - 1 < join && hiddenAt(x, j) && !curveAt(x, j)) ++j;
                looked += j - b;
                if (j > b + 1 && j < h_ && curveAt(x, j)) {
                    b = j;
                    continue;
                }
                break;
            }
            int t = y;
            for (int k = 0; k < join && t > 0 && lineAt(x, t - 1); ++k) --t;
            for (int k = 0; k < join && b + 1 < h_ && lineAt(x, b + 1); ++k) ++b;
            looked += 2 * join;
            out.push_back({t, b});
            y = b + 1;
        }
        work_.add(looked);
    }

    bool hiddenNear(int x, double y, double half) {
        const int lo = std::max(0, int(std::floor(y - half))),
                  hi = std::min(h_ - 1, int(std::ceil(y + half)));
        work_.add(std::max(0, hi - lo + 1));
        for (int v = lo; v <= hi; ++v)
            if (hiddenAt(x, v)) return true;
        return false;
    }

    void record(int x, double y, Run taken) {
        f_.y[std::size_t(x)] = float(y);
        f_.kind[std::size_t(x)] = Followed::kSeen;
        f_.taken[std::size_t(x)] = cv::Vec2i(taken.top, taken.bottom);
    }

    static double median(std::deque<int> v) {
        std::nth_element(v.begin(), v.begin() + std::ptrdiff_t(v.size() / 2), v.end());
        return v[v.size() / 2];
    }

    // Where the recent clean positions lead: y = a + b u + c u^2 with u
    // the columns from the last one, by least squares (a bend is followed
    // into a stretch hidden under another curve); a straight line while
    // they are few.
    struct Course {
        double a = 0, b = 0, c = 0;
        double at(double u) const { return a + b * u + c * u * u; }
    };
    static Course courseOf(const std::deque<cv::Point2d>& h, double lastX) {
        Course k;
        k.a = h.back().y;
        if (h.size() < 2) return k;
        const double n = double(h.size());
        double s1 = 0, s2 = 0, s3 = 0, s4 = 0, t0 = 0, t1 = 0, t2 = 0;
        for (const cv::Point2d& p : h) {
            const double u = p.x - lastX, u2 = u * u;
            s1 += u, s2 += u2, s3 += u2 * u, s4 += u2 * u2;
            t0 += p.y, t1 += u * p.y, t2 += u2 * p.y;
        }
        if (h.size() >= 8) {
            const cv::Matx33d m(n, s1, s2, s1, s2, s3, s2, s3, s4);
            cv::Vec3d abc;
            if (cv::solve(m, cv::Vec3d(t0, t1, t2), abc, cv::DECOMP_LU)) {
                k.a = abc[0], k.b = abc[1], k.c = abc[2];
                return k;
            }
        }
        const double d = n * s2 - s1 * s1;
        if (d > 0) {
            k.b = (n * t1 - s1 * t0) / d;
            k.a = (t0 - k.b * s1) / n;
        }
        return k;
    }

    void oneWay(int seedX, Run seedRun, int dir) {
        std::deque<cv::Point2d> history{{double(seedX), seedRun.centre()}};
        std::deque<int> lengths{seedRun.length()};
        int lastX = seedX;
        double lastY = seedRun.centre();
        Run lastRun = seedRun;
        int gap = 0, hiddenColumns = 0, merged = 0;
        const int mostHidden = std::max(reach_, w_ / 5);
        std::vector<Run> runs;
        for (int x = seedX + dir; x >= 0 && x < w_; x += dir) {
            if (work_.cancelled() || work_.done() > budget_) return;
            const double thick = median(lengths);
            const std::size_t keep = std::size_t(std::clamp(int(4 * thick), 8, 30));
            const int dx = std::abs(x - lastX);
            const Course course = courseOf(history, history.back().x);
            const double fromHistory = x - history.back().x;
            // The bend is trusted for a stretch about as long as the history.
            const double bend =
                std::clamp(fromHistory, -double(history.size()), double(history.size()));
            const double expected =
                merged ? lastY + course.b * (x - lastX)
                       : course.a + course.b * fromHistory + course.c * bend * fromHistory;
            const double window = std::max(thick / 2, 1.5) + 1.5 + 0.2 * (dx - 1);
            // Leaving the rectangle: the curve is clipped there.
            if (expected < -window || expected > h_ - 1 + window) return;
            int lo = int(std::floor(expected - window)), hi = int(std::ceil(expected + window));
            if (dx == 1) lo = std::min(lo, lastRun.top - 1), hi = std::max(hi, lastRun.bottom + 1);
            runsIn(x, lo, hi, std::max(2, int(thick)), runs);
            const Run* best = nullptr;
            double bestDistance = 0;
            for (const Run& r : runs) {
                const double d = std::max({0.0, r.top - expected, expected - r.bottom});
                const bool touching =
                    dx == 1 && r.top <= lastRun.bottom + 1 && r.bottom >= lastRun.top - 1;
                if ((d <= window || touching) && (!best || d < bestDistance))
                    best = &r, bestDistance = d;
            }
            if (!best) {
                if (hiddenNear(x, expected, window)) {
                    if (++hiddenColumns > mostHidden) return;
                } else if (++gap > reach_) {
                    return;
                }
                continue;
            }
            gap = hiddenColumns = 0;
            const Run r = *best;
            double y = r.centre();
            Run taken = r;
            // Much longer than the line is thick: another curve of the colour
            // meets it here, and the position goes on as it came.
            if (r.length() > 1.6 * thick + 3 && merged < 2 * thick + 8) {
                ++merged;
                const double lo2 = r.top + thick / 2, hi2 = r.bottom - thick / 2;
                y = lo2 <= hi2 ? std::clamp(expected, lo2, hi2) : y;
                taken = {int(std::floor(y - thick / 2)), int(std::ceil(y + thick / 2))};
            } else if (r.length() + 1 < thick &&
                       ((r.top > 0 && hiddenAt(x, r.top - 1)) ||
                        (r.bottom + 1 < h_ && hiddenAt(x, r.bottom + 1)))) {
                // Thinner than the line, against something drawn over it: only
                // part of the line shows, and where in it is not known.
                const double lo2 = r.bottom - thick / 2, hi2 = r.top + thick / 2;
                y = lo2 <= hi2 ? std::clamp(expected, lo2, hi2) : y;
            } else {
                merged = 0;
                history.emplace_back(x, y);
                lengths.push_back(r.length());
                while (history.size() > keep) history.pop_front();
                while (lengths.size() > 30) lengths.pop_front();
            }
            record(x, y, taken);
            lastX = x;
            lastY = y;
            lastRun = taken;
        }
    }

    // Stretches longer than a gap were crossed hidden: the curve runs there
    // from one seen end to the other.
    void bridge() {
        int last = -1;
        for (int x = 0; x < w_; ++x) {
            if (f_.kind[std::size_t(x)] != Followed::kSeen) continue;
            if (last >= 0 && x - last - 1 > reach_) {
                const float a = f_.y[std::size_t(last)], b = f_.y[std::size_t(x)];
                for (int u = last + 1; u < x; ++u) {
                    f_.y[std::size_t(u)] = a + (b - a) * float(u - last) / float(x - last);
                    f_.kind[std::size_t(u)] = Followed::kBridged;
                }
            }
            last = x;
        }
        work_.add(w_);
    }

    const Planes& p_;
    const int w_, h_, reach_;
    WorkMeter& work_;
    int64_t budget_;
    Followed f_;
};

}  // namespace

Followed followCurve(const Planes& planes, cv::Point seed, int reach, WorkMeter& work) {
    return Follower(planes, reach, work).run(seed);
}

}  // namespace qf::extraction
