#include "reading/plot_frame.h"

#include <algorithm>
#include <cmath>
#include <opencv2/imgproc.hpp>
#include <optional>

namespace qf {
namespace {

// A straight run of dark pixels along a row (horizontal) or a column.
struct Run {
    int across0 = 0, across1 = 0;  // the rows (or columns) it covers: its thickness
    int from = 0, to = 0;          // along it, inclusive
    int length() const { return to - from + 1; }
    double centre() const { return 0.5 * (across0 + across1); }
};

// The longest run in each row of the mask (gaps of two pixels bridged), and
// rows with a long run grouped with their neighbours into lines.
std::vector<Run> longLines(const cv::Mat& mask, int minLength) {
    std::vector<Run> lines;
    Run current;
    bool open = false;
    for (int y = 0; y < mask.rows; ++y) {
        const uchar* row = mask.ptr<uchar>(y);
        int bestFrom = 0, bestTo = -1, start = -1, lastDark = -10;
        for (int x = 0; x < mask.cols; ++x) {
            if (!row[x]) continue;
            if (x - lastDark > 3) start = x;
            lastDark = x;
            if (x - start > bestTo - bestFrom) bestFrom = start, bestTo = x;
        }
        const bool isLong = bestTo - bestFrom + 1 >= minLength;
        if (isLong && open &&
            std::min(bestTo, current.to) - std::max(bestFrom, current.from) > minLength / 2 &&
            y - current.across1 == 1) {
            current.across1 = y;
            current.from = std::min(current.from, bestFrom);
            current.to = std::max(current.to, bestTo);
            continue;
        }
        if (open) lines.push_back(current);
        open = isLong;
        if (isLong) current = {y, y, bestFrom, bestTo};
    }
    if (open) lines.push_back(current);
    // A thick band is a filled area or an edge, not a drawn line.
    std::erase_if(lines, [](const Run& r) { return r.across1 - r.across0 + 1 > 6; });
    return lines;
}

// Tick marks along a horizontal axis line (rows y0..y1) between columns x0
// and x1 of the mask: short dark runs leaving the line upward or downward.
// Positions weighted by darkness, to a fraction of a pixel.
std::vector<double> ticksAlong(const cv::Mat& mask, const cv::Mat& grey, int y0, int y1, int x0,
                               int x1, int reach, int& outside) {
    std::vector<double> ticks;
    std::vector<int> outLen(std::size_t(x1 - x0 + 1)), inLen(outLen.size());
    for (int x = x0; x <= x1; ++x) {
        int o = 0, i = 0;
        while (o < reach && y1 + 1 + o < mask.rows && mask.at<uchar>(y1 + 1 + o, x)) ++o;
        while (i < reach && y0 - 1 - i >= 0 && mask.at<uchar>(y0 - 1 - i, x)) ++i;
        outLen[std::size_t(x - x0)] = o;
        inLen[std::size_t(x - x0)] = i;
    }
    int longestOut = 0;
    for (int x = x0; x <= x1;) {
        const auto isTick = [&](int c) {
            return outLen[std::size_t(c - x0)] >= 2 || inLen[std::size_t(c - x0)] >= 3;
        };
        if (!isTick(x)) {
            ++x;
            continue;
        }
        int end = x;
        while (end + 1 <= x1 && isTick(end + 1)) ++end;
        if (end - x + 1 <= 4) {
            int out = 0, in = 0;
            for (int c = x; c <= end; ++c) {
                out = std::max(out, outLen[std::size_t(c - x0)]);
                in = std::max(in, inLen[std::size_t(c - x0)]);
            }
            // Darkness below the local paper over the tick's rows, one column
            // either side included: antialiased ticks are partly in both. The
            // row beside the axis is left out when the tick is long enough: at
            // a corner the other axis's line reaches into it.
            const int c0 = std::max(0, x - 1), c1 = std::min(grey.cols - 1, end + 1);
            const int outFrom = out >= 3 ? 2 : 1, inFrom = in >= 3 ? 2 : 1;
            // Inside the plot a curve or a grid line may meet the tick: only
            // its outside part counts when it has one.
            if (out >= 2) in = 0;
            int paper = 0;
            for (int c = c0; c <= c1; ++c) {
                for (int k = outFrom; k <= out; ++k)
                    paper = std::max<int>(paper, grey.at<uchar>(y1 + k, c));
                for (int k = inFrom; k <= in; ++k)
                    paper = std::max<int>(paper, grey.at<uchar>(y0 - k, c));
            }
            double sw = 0, sx = 0;
            for (int c = c0; c <= c1; ++c) {
                double wgt = 0;
                for (int k = outFrom; k <= out; ++k)
                    wgt += std::max(0, paper - grey.at<uchar>(y1 + k, c));
                for (int k = inFrom; k <= in; ++k)
                    wgt += std::max(0, paper - grey.at<uchar>(y0 - k, c));
                sw += wgt, sx += wgt * c;
            }
            if (sw > 0) ticks.push_back(sx / sw);
            longestOut = std::max(longestOut, out);
        }
        x = end + 1;
    }
    outside = longestOut;
    return ticks;
}

}  // namespace

cv::Mat toGrey(const cv::Mat& picture) {
    cv::Mat grey;
    if (picture.channels() == 3)
        cv::cvtColor(picture, grey, cv::COLOR_BGR2GRAY);
    else if (picture.channels() == 4)
        cv::cvtColor(picture, grey, cv::COLOR_BGRA2GRAY);
    else
        grey = picture;
    if (grey.depth() != CV_8U) grey.convertTo(grey, CV_8U);
    return grey;
}

cv::Mat darkMask(const cv::Mat& grey) {
    // The background: the brightest nearby (lines and text are thin), smoothed.
    cv::Mat bg;
    cv::dilate(grey, bg, cv::getStructuringElement(cv::MORPH_RECT, {15, 15}));
    cv::blur(bg, bg, {15, 15});
    cv::Mat mask(grey.size(), CV_8U);
    for (int y = 0; y < grey.rows; ++y) {
        const uchar* g = grey.ptr<uchar>(y);
        const uchar* b = bg.ptr<uchar>(y);
        uchar* m = mask.ptr<uchar>(y);
        // Darker than 60 % of the background: black and coloured lines, not a light grey grid.
        for (int x = 0; x < grey.cols; ++x) m[x] = (g[x] * 10 < b[x] * 6 && b[x] > 60) ? 255 : 0;
    }
    return mask;
}

PlotFrame findPlotFrame(const cv::Mat& picture) {
    PlotFrame frame;
    if (picture.empty() || picture.cols < 40 || picture.rows < 40) {
        frame.reason = "the picture is too small to hold a chart";
        return frame;
    }
    const cv::Mat grey = toGrey(picture);
    const cv::Mat mask = darkMask(grey);
    const cv::Mat maskT = mask.t();
    const std::vector<Run> rows = longLines(mask, grey.cols / 4);
    const std::vector<Run> cols = longLines(maskT, grey.rows / 4);

    // The bottom axis: the lowest long line that meets a long vertical line
    // at its left end; the left axis: the leftmost such vertical line.
    const Run* bottom = nullptr;
    const Run* left = nullptr;
    for (auto h = rows.rbegin(); h != rows.rend() && !bottom; ++h) {
        for (const Run& v : cols) {
            const bool meets =
                std::abs(h->from - int(v.centre())) <= 8 && std::abs(v.to - int(h->centre())) <= 8;
            if (meets) {
                bottom = &*h;
                left = &v;
                break;
            }
        }
    }
    if (!bottom) {
        frame.reason = rows.empty() || cols.empty()
                           ? "no axis lines found"
                           : "no horizontal and vertical axis lines meet at a corner";
        return frame;
    }
    IntRect r;
    r.left = int(std::lround(left->centre()));
    r.bottom = int(std::lround(bottom->centre()));
    r.right = bottom->to;
    r.top = left->from;
    if (r.width() < 20 || r.height() < 20) {
        frame.reason = "the axis lines found are too short";
        return frame;
    }
    frame.axisRect = r;
    frame.lineWidth =
        std::max(bottom->across1 - bottom->across0, left->across1 - left->across0) + 1;
    for (const Run& h : rows)
        frame.hasTop =
            frame.hasTop || (std::abs(h.centre() - r.top) <= 4 && h.length() > r.width() * 3 / 4);
    for (const Run& v : cols)
        frame.hasRight = frame.hasRight ||
                         (std::abs(v.centre() - r.right) <= 4 && v.length() > r.height() * 3 / 4);

    const int reach = std::clamp(std::min(grey.cols, grey.rows) / 40, 4, 14);
    frame.xTicks = ticksAlong(mask, grey, bottom->across0, bottom->across1, std::max(0, r.left - 2),
                              std::min(grey.cols - 1, r.right + 2), reach, frame.xTickOutside);
    // The left axis's ticks: the same along the transposed picture, where
    // "outside" (left of the axis) comes first.
    const cv::Mat greyT = grey.t();
    cv::Mat flippedMask, flippedGrey;
    cv::flip(maskT, flippedMask, 0);
    cv::flip(greyT, flippedGrey, 0);
    // In the flipped transposed picture the left axis (column c) is row W-1-c
    // and its outside (smaller columns) lies below it.
    const int w = grey.cols;
    frame.yTicks = ticksAlong(flippedMask, flippedGrey, w - 1 - left->across1,
                              w - 1 - left->across0, std::max(0, r.top - 2),
                              std::min(grey.rows - 1, r.bottom + 2), reach, frame.yTickOutside);
    frame.found = true;
    return frame;
}

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
