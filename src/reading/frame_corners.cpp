#include "reading/frame_corners.h"

#include <algorithm>
#include <cmath>
#include <opencv2/imgproc.hpp>
#include <optional>

#include "reading/plot_frame.h"

namespace qf {
namespace {

// The line through the thin dark run crossing each sample of a coarse edge
// (from a to b), fitted by least squares with the far samples left out:
// where a tick or the curve meets the edge the run is long and is skipped.
bool refineEdge(const cv::Mat& mask, cv::Point2d a, cv::Point2d b, cv::Point2d& p,
                cv::Point2d& dir) {
    const cv::Point2d d = b - a;
    const double len = cv::norm(d);
    if (len < 20) return false;
    const cv::Point2d u = d / len, n(-u.y, u.x);
    std::vector<cv::Point2d> pts;
    for (double s = 0.1 * len; s <= 0.9 * len; s += 1.0) {
        const cv::Point2d c = a + u * s;
        std::vector<std::pair<int, int>> runs;  // from, to along the normal
        int start = 0;
        bool in = false;
        for (int k = -12; k <= 13; ++k) {
            const cv::Point q = c + n * double(k);
            const bool dark = k <= 12 && q.x >= 0 && q.y >= 0 && q.x < mask.cols &&
                              q.y < mask.rows && mask.at<uchar>(q) != 0;
            if (dark && !in) start = k, in = true;
            if (!dark && in) runs.push_back({start, k - 1}), in = false;
        }
        if (runs.size() != 1 || runs[0].second - runs[0].first > 4) continue;
        pts.push_back(c + n * (0.5 * (runs[0].first + runs[0].second)));
    }
    if (pts.size() < 10) return false;
    std::vector<bool> keep(pts.size(), true);
    for (int round = 0; round < 3; ++round) {
        std::vector<cv::Point2f> in;
        for (std::size_t i = 0; i < pts.size(); ++i)
            if (keep[i]) in.emplace_back(pts[i]);
        if (in.size() < 10) return false;
        cv::Vec4f l;
        cv::fitLine(in, l, cv::DIST_L2, 0, 0.01, 0.01);
        dir = {l[0], l[1]};
        p = {l[2], l[3]};
        const cv::Point2d nn(-dir.y, dir.x);
        for (std::size_t i = 0; i < pts.size(); ++i)
            keep[i] = std::abs((pts[i] - p).dot(nn)) <= 1.5;
    }
    return true;
}

// Where a line of ink starting at `from` and heading along `toward` ends:
// the last ink before a gap of more than four pixels.
cv::Point2d lineEnd(const cv::Mat& mask, cv::Point2d from, cv::Point2d toward) {
    const double len = cv::norm(toward);
    if (len < 1) return from;
    const cv::Point2d u = toward / len, n(-u.y, u.x);
    double last = 0;
    for (double t = 0; t <= 1.5 * len && t - last <= 4; t += 0.5) {
        for (int k = -2; k <= 2; ++k) {
            const cv::Point q = from + u * t + n * double(k);
            if (q.x >= 0 && q.y >= 0 && q.x < mask.cols && q.y < mask.rows && mask.at<uchar>(q)) {
                last = t;
                break;
            }
        }
    }
    return from + u * last;
}

// Where the direction of an axis meets the horizon of the photograph: tick
// marks evenly spaced on the paper are spaced ever closer toward it, and
// their positions along the axis, t_i = (a i + b) / (c i + 1), give it at
// t = a / c. The ticks are looked for on either side of the axis (from
// `from` along `u`, up to `len`); empty when neither side has at least four
// ticks that such a spacing fits to a third of a pixel.
std::optional<cv::Point2d> vanishingPoint(const cv::Mat& mask, cv::Point2d from, cv::Point2d u,
                                          double len, bool& parallel) {
    const cv::Point2d n(-u.y, u.x);
    for (int side : {1, -1}) {
        std::vector<double> ticks;
        double start = -1, last = -1;
        for (double t = 4; t <= len - 2; t += 0.5) {
            int hits = 0;
            for (int k = 2; k <= 6; ++k) {
                const cv::Point q = from + u * t + n * double(side * k);
                hits +=
                    q.x >= 0 && q.y >= 0 && q.x < mask.cols && q.y < mask.rows && mask.at<uchar>(q)
                        ? 1
                        : 0;
            }
            if (hits >= 2) {
                if (start < 0) start = t;
                last = t;
            } else if (start >= 0) {
                if (last - start <= 4) ticks.push_back(0.5 * (start + last));
                start = -1;
            }
        }
        if (ticks.size() < 4) continue;
        // Least squares of a i + b - c i t_i = t_i.
        cv::Mat A(int(ticks.size()), 3, CV_64F), B(int(ticks.size()), 1, CV_64F), x;
        for (int i = 0; i < int(ticks.size()); ++i) {
            A.at<double>(i, 0) = i;
            A.at<double>(i, 1) = 1;
            A.at<double>(i, 2) = -i * ticks[std::size_t(i)];
            B.at<double>(i) = ticks[std::size_t(i)];
        }
        if (!cv::solve(A, B, x, cv::DECOMP_SVD)) continue;
        const double a = x.at<double>(0), b = x.at<double>(1), c = x.at<double>(2);
        double worst = 0;
        for (int i = 0; i < int(ticks.size()); ++i)
            worst = std::max(worst, std::abs((a * i + b) / (c * i + 1) - ticks[std::size_t(i)]));
        if (worst > 0.35) continue;
        parallel = std::abs(c) < 1e-9 || std::abs(a / c) > 1e7;
        return parallel ? u : from + u * (a / c);
    }
    return std::nullopt;
}

bool intersect(cv::Point2d p1, cv::Point2d d1, cv::Point2d p2, cv::Point2d d2, cv::Point2d& out) {
    const double den = d1.x * d2.y - d1.y * d2.x;
    if (std::abs(den) < 1e-6) return false;
    const cv::Point2d w = p2 - p1;
    const double t = (w.x * d2.y - w.y * d2.x) / den;
    out = p1 + d1 * t;
    return true;
}

}  // namespace

FrameCorners findFrameCorners(const cv::Mat& photo) {
    FrameCorners fc;
    if (photo.empty() || photo.cols < 40 || photo.rows < 40) {
        fc.reason = "the picture is too small to hold a chart";
        return fc;
    }
    const cv::Mat grey = toGrey(photo);
    cv::Mat mask = darkMask(grey);
    // Only thin strokes: the shadowed border of the page is a wide band.
    cv::Mat wide;
    cv::morphologyEx(mask, wide, cv::MORPH_OPEN, cv::getStructuringElement(cv::MORPH_RECT, {5, 5}));
    mask.setTo(0, wide);

    // The frame: the piece of ink with the largest extent.
    cv::Mat labels, stats, centroids;
    const int n = cv::connectedComponentsWithStats(mask, labels, stats, centroids, 8, CV_32S);
    int best = 0;
    long bestArea = 0;
    for (int i = 1; i < n; ++i) {
        const long area =
            long(stats.at<int>(i, cv::CC_STAT_WIDTH)) * stats.at<int>(i, cv::CC_STAT_HEIGHT);
        if (area > bestArea) bestArea = area, best = i;
    }
    if (best == 0 || bestArea < long(photo.total()) / 20) {
        fc.reason = "no frame of a plot found";
        return fc;
    }
    std::vector<cv::Point> ink;
    cv::findNonZero(labels == best, ink);
    std::vector<cv::Point> hull, quad;
    cv::convexHull(ink, hull);
    const double perimeter = cv::arcLength(hull, true);
    for (double eps = 0.01; eps < 0.1 && quad.size() != 4; eps += 0.005)
        cv::approxPolyDP(hull, quad, eps * perimeter, true);
    if (quad.size() != 4) {
        fc.reason = "the plot's frame is not a quadrilateral";
        return fc;
    }
    // Order: top-left first (smallest x + y), then clockwise on the picture.
    std::vector<cv::Point2d> q(quad.begin(), quad.end());
    if (cv::contourArea(quad, true) < 0) std::reverse(q.begin(), q.end());
    const auto first = std::min_element(q.begin(), q.end(),
                                        [](auto& a, auto& b) { return a.x + a.y < b.x + b.y; });
    std::rotate(q.begin(), first, q.end());

    cv::Mat thin = (labels == best);
    std::array<cv::Point2d, 4> p, d;
    std::array<bool, 4> followed{};
    for (std::size_t e = 0; e < 4; ++e)
        followed[e] = refineEdge(thin, q[e], q[(e + 1) % 4], p[e], d[e]);
    if (followed[0] && followed[1] && followed[2] && followed[3]) {
        for (std::size_t c = 0; c < 4; ++c) {
            // Corner c joins edge c-1 (ending there) and edge c (starting there).
            if (!intersect(p[(c + 3) % 4], d[(c + 3) % 4], p[c], d[c], fc.precise[c])) {
                fc.reason = "two sides of the plot's frame are parallel";
                return fc;
            }
        }
    } else if (followed[2] && followed[3]) {
        // Only the left and bottom axes: they end at the top-left and
        // bottom-right corners, and the sides they lack head for where the
        // axes meet the horizon, which their tick marks tell.
        cv::Point2d bl;
        if (!intersect(p[2], d[2], p[3], d[3], bl)) {
            fc.reason = "the axes of the plot are parallel";
            return fc;
        }
        const auto toward = [&](cv::Point2d dir, cv::Point2d corner) {
            return dir.dot(corner - bl) < 0 ? -dir : dir;
        };
        const cv::Point2d up = toward(d[3], q[0]), right = toward(d[2], q[2]);
        const cv::Point2d tl = lineEnd(thin, bl, up * cv::norm(q[0] - bl));
        const cv::Point2d br = lineEnd(thin, bl, right * cv::norm(q[2] - bl));
        bool flatX = false, flatY = false;
        const std::optional<cv::Point2d> vx =
            vanishingPoint(thin, bl, right, cv::norm(br - bl), flatX);
        const std::optional<cv::Point2d> vy =
            vanishingPoint(thin, bl, up, cv::norm(tl - bl), flatY);
        if (!vx || !vy) {
            fc.reason = "the plot has no top and right sides, and its ticks do not show its tilt";
            return fc;
        }
        const cv::Point2d topDir = flatX ? *vx : *vx - tl, rightDir = flatY ? *vy : *vy - br;
        cv::Point2d tr;
        if (!intersect(tl, topDir, br, rightDir, tr)) {
            fc.reason = "the plot's missing sides cannot be placed";
            return fc;
        }
        fc.precise = {tl, tr, br, bl};
    } else {
        fc.reason = "a side of the plot's frame could not be followed";
        return fc;
    }
    for (std::size_t c = 0; c < 4; ++c)
        fc.corners[c] = {int(std::lround(fc.precise[c].x)), int(std::lround(fc.precise[c].y))};
    std::vector<cv::Point2f> poly(fc.precise.begin(), fc.precise.end());
    if (!cv::isContourConvex(poly)) {
        fc.reason = "the corners found do not make a convex quadrilateral";
        return fc;
    }
    fc.found = true;
    return fc;
}

}  // namespace qf
