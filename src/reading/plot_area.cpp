#include "reading/plot_area.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <opencv2/imgproc.hpp>
#include <optional>
#include <vector>

namespace qf {
namespace {

// The paper: the median of the picture's outermost pixels.
int paperLevel(const cv::Mat& grey) {
    std::vector<uchar> edge;
    for (int x = 0; x < grey.cols; ++x)
        edge.push_back(grey.at<uchar>(0, x)), edge.push_back(grey.at<uchar>(grey.rows - 1, x));
    for (int y = 0; y < grey.rows; ++y)
        edge.push_back(grey.at<uchar>(y, 0)), edge.push_back(grey.at<uchar>(y, grey.cols - 1));
    std::nth_element(edge.begin(), edge.begin() + long(edge.size() / 2), edge.end());
    return edge[edge.size() / 2];
}

// A plot background filled in one shade apart from the paper (ggplot's grey):
// the commonest such shade, where it makes one large, nearly solid rectangle
// (its grid and curves closed over).
std::optional<cv::Rect> filledBackground(const cv::Mat& grey, int paper) {
    std::array<long, 256> count{};
    for (int y = 0; y < grey.rows; ++y)
        for (int x = 0; x < grey.cols; ++x) ++count[grey.at<uchar>(y, x)];
    int level = -1;
    for (int l = 0; l < 256; ++l)
        if (std::abs(l - paper) > 6 &&
            (level < 0 || count[std::size_t(l)] > count[std::size_t(level)]))
            level = l;
    if (level < 0 || count[std::size_t(level)] < long(grey.total()) / 12) return std::nullopt;
    cv::Mat fill;
    cv::inRange(grey, std::max(0, level - 3), std::min(255, level + 3), fill);
    cv::morphologyEx(fill, fill, cv::MORPH_CLOSE,
                     cv::getStructuringElement(cv::MORPH_RECT, {7, 7}));
    cv::Mat labels, stats, centroids;
    const int n = cv::connectedComponentsWithStats(fill, labels, stats, centroids, 8, CV_32S);
    int best = 0;
    for (int i = 1; i < n; ++i)
        if (best == 0 || stats.at<int>(i, cv::CC_STAT_AREA) > stats.at<int>(best, cv::CC_STAT_AREA))
            best = i;
    if (best == 0) return std::nullopt;
    const cv::Rect box(stats.at<int>(best, cv::CC_STAT_LEFT), stats.at<int>(best, cv::CC_STAT_TOP),
                       stats.at<int>(best, cv::CC_STAT_WIDTH),
                       stats.at<int>(best, cv::CC_STAT_HEIGHT));
    const double area = stats.at<int>(best, cv::CC_STAT_AREA);
    if (area < 0.85 * box.area() || box.area() < long(grey.total()) / 10) return std::nullopt;
    // Antialiased tick labels beside the background may have joined it:
    // its edges are the rows and columns it fills at least half of.
    const cv::Mat mine = labels(box) == best;
    cv::Mat perColumn, perRow;
    cv::reduce(mine / 255, perColumn, 0, cv::REDUCE_SUM, CV_32S);
    cv::reduce(mine / 255, perRow, 1, cv::REDUCE_SUM, CV_32S);
    int l = 0, r = box.width - 1, t = 0, b = box.height - 1;
    while (l < r && perColumn.at<int>(l) * 2 < box.height) ++l;
    while (r > l && perColumn.at<int>(r) * 2 < box.height) --r;
    while (t < b && perRow.at<int>(t) * 2 < box.width) ++t;
    while (b > t && perRow.at<int>(b) * 2 < box.width) --b;
    return cv::Rect(box.x + l, box.y + t, r - l + 1, b - t + 1);
}

int medianOf(std::vector<int> v) {
    if (v.empty()) return 0;
    std::nth_element(v.begin(), v.begin() + long(v.size() / 2), v.end());
    return v[v.size() / 2];
}

// A straight line of the grid: its column (to a fraction of a pixel) and the
// rows it runs over.
struct GridLine {
    double position = 0;
    int from = 0, to = 0;
};

// Vertical grid lines within `region`: columns whose pixels are lighter
// (sign +1) or darker (-1) than those three columns either side, along most
// of the region's height. An edge of the background is on one side only, so
// it is none. Dotted lines and crossings leave gaps, bridged. `nearInk`
// marks pixels beside dark ink: a curve crossing the line or a tick label
// under its end neither continues nor ends it.
std::vector<GridLine> gridLines(const cv::Mat& grey, const cv::Mat& nearInk, cv::Rect region,
                                int sign) {
    constexpr int kStep = 3, kContrast = 6;
    region &= cv::Rect(kStep, 0, grey.cols - 2 * kStep, grey.rows);
    std::vector<GridLine> lines;
    if (region.width <= 0 || region.height <= 0) return lines;
    const auto contrast = [&](int y, int x) {
        const int c = grey.at<uchar>(y, x), a = grey.at<uchar>(y, x - kStep),
                  b = grey.at<uchar>(y, x + kStep);
        const int d = sign > 0 ? std::min(c - a, c - b) : std::min(a - c, b - c);
        return d >= kContrast ? d : 0;
    };
    std::vector<double> weight(std::size_t(region.width), 0);
    std::vector<int> hits(weight.size(), 0);
    for (int x = region.x; x < region.x + region.width; ++x)
        for (int y = region.y; y < region.y + region.height; ++y)
            if (const int d = contrast(y, x)) {
                weight[std::size_t(x - region.x)] += d;
                ++hits[std::size_t(x - region.x)];
            }
    const int minHits = region.height / 4;
    const int maxGap = std::max(8, region.height / 30);
    for (int i = 0; i < region.width;) {
        if (hits[std::size_t(i)] < minHits) {
            ++i;
            continue;
        }
        int end = i;
        while (end + 1 < region.width && hits[std::size_t(end + 1)] >= minHits) ++end;
        if (end - i <= 3) {  // a line, not a band of texture
            double sw = 0, sx = 0;
            for (int k = std::max(0, i - 1); k <= std::min(region.width - 1, end + 1); ++k)
                sw += weight[std::size_t(k)], sx += weight[std::size_t(k)] * (region.x + k);
            // Its longest stretch, small gaps bridged; text beside its end
            // (a tick label under a grid line) is far darker than the line.
            std::vector<int> seen;
            for (int y = region.y; y < region.y + region.height; ++y)
                for (int k = i; k <= end; ++k)
                    if (const int d = contrast(y, region.x + k)) seen.push_back(d);
            const int typical = medianOf(seen);
            // Rows beside ink count as neither: only a gap of clean rows
            // ends a stretch.
            int bestFrom = 0, bestTo = -1, from = -1, gap = maxGap + 1;
            for (int y = region.y; y < region.y + region.height; ++y) {
                bool on = false, inked = false;
                for (int k = i; k <= end && !on; ++k) {
                    const int d = contrast(y, region.x + k);
                    inked = inked || nearInk.at<uchar>(y, region.x + k);
                    on = d > 0 && d <= 2 * typical + kContrast &&
                         !nearInk.at<uchar>(y, region.x + k);
                }
                if (!on) {
                    gap += inked ? 0 : 1;
                    continue;
                }
                if (gap > maxGap) from = y;
                gap = 0;
                if (y - from > bestTo - bestFrom) bestFrom = from, bestTo = y;
            }
            if (bestTo - bestFrom + 1 >= region.height / 2)
                lines.push_back({sx / sw, bestFrom, bestTo});
        }
        i = end + 1;
    }
    return lines;
}

// How far dark ink continues most of the grid lines past their common end
// `end` (a row for vertical lines, a column for horizontal ones), in
// direction `step`: the tick marks at their ends. The lines stop short of
// ink by the reach of `nearInk`, so the ink may start a few pixels on.
int inkBeyond(const cv::Mat& mask, const std::vector<GridLine>& lines, int end, int step,
              bool horizontal) {
    std::vector<int> runs;
    for (const GridLine& l : lines) {
        const int at = int(std::lround(l.position));
        const auto ink = [&](int k, int aside) {
            const int along = end + step * k;
            const int y = horizontal ? at + aside : along, x = horizontal ? along : at + aside;
            return x >= 0 && y >= 0 && x < mask.cols && y < mask.rows && mask.at<uchar>(y, x);
        };
        int k = 1;
        while (k <= 8 && !ink(k, 0)) ++k;
        int run = 0;
        bool wide = false;
        if (k <= 8)
            for (; k <= 20 && ink(k, 0); ++k) run = k, wide = wide || ink(k, -3) || ink(k, 3);
        // A tick mark is thin; a tick label's glyph is not.
        runs.push_back(wide ? 0 : run);
    }
    if (runs.empty()) return 0;
    // Tick marks are alike; the glyphs of labels beside the lines are not.
    const int run = medianOf(runs);
    const long alike =
        std::count_if(runs.begin(), runs.end(), [&](int r) { return std::abs(r - run) <= 1; });
    return run >= 2 && run < 20 && alike * 5 >= long(runs.size()) * 4 ? run : 0;
}

// A row of alike tick marks with nothing drawn: short thin marks sharing
// their ends, standing alone (a minus sign has its digit beside it).
// Vertical marks for the bottom axis; horizontal ones (`across`) for the
// left. Their box's union, or none when fewer than four line up.
std::optional<cv::Rect> tickRow(const cv::Mat& mask, bool across) {
    const cv::Mat m = across ? cv::Mat(mask.t()) : mask;
    cv::Mat labels, stats, centroids;
    const int n = cv::connectedComponentsWithStats(m, labels, stats, centroids, 8, CV_32S);
    std::vector<cv::Rect> marks;
    for (int i = 1; i < n; ++i) {
        const cv::Rect b(stats.at<int>(i, cv::CC_STAT_LEFT), stats.at<int>(i, cv::CC_STAT_TOP),
                         stats.at<int>(i, cv::CC_STAT_WIDTH), stats.at<int>(i, cv::CC_STAT_HEIGHT));
        if (b.width > 3 || b.height < 3 || b.height > 20) continue;
        bool alone = true;
        const cv::Rect beside(b.x - 3, b.y - 2, b.width + 6, b.height + 4);
        const cv::Rect seen = beside & cv::Rect(0, 0, m.cols, m.rows);
        for (int y = seen.y; y < seen.y + seen.height && alone; ++y)
            for (int x = seen.x; x < seen.x + seen.width && alone; ++x)
                alone = labels.at<int>(y, x) == 0 || labels.at<int>(y, x) == i;
        if (alone) marks.push_back(b);
    }
    std::optional<cv::Rect> best;
    std::size_t bestCount = 0;
    for (const cv::Rect& a : marks) {
        cv::Rect row = a;
        std::size_t count = 0;
        for (const cv::Rect& b : marks) {
            if (std::abs(b.y - a.y) <= 1 && std::abs(b.y + b.height - a.y - a.height) <= 1) {
                row |= b;
                ++count;
            }
        }
        if (count > bestCount) bestCount = count, best = row;
    }
    if (bestCount < 4 || best->width < m.cols / 3) return std::nullopt;
    if (across) return cv::Rect(best->y, best->x, best->height, best->width);
    return best;
}

}  // namespace

PlotFrame findPlotArea(const cv::Mat& grey, const cv::Mat& mask) {
    PlotFrame frame;
    const int paper = paperLevel(grey);
    const std::optional<cv::Rect> fill = filledBackground(grey, paper);
    const cv::Rect whole(0, 0, grey.cols, grey.rows);
    const cv::Rect region = fill.value_or(whole);
    const cv::Mat greyT = grey.t();
    const cv::Rect regionT(region.y, region.x, region.height, region.width);
    // Grid lines lighter than a filled background or darker than the paper;
    // whichever gives more.
    cv::Mat nearInk;
    cv::dilate(mask, nearInk, cv::getStructuringElement(cv::MORPH_RECT, {7, 7}));
    const cv::Mat nearInkT = nearInk.t();
    std::vector<GridLine> vertical, horizontal;
    for (int sign : {1, -1}) {
        std::vector<GridLine> v = gridLines(grey, nearInk, region, sign);
        std::vector<GridLine> h = gridLines(greyT, nearInkT, regionT, sign);
        if (v.size() + h.size() > vertical.size() + horizontal.size())
            vertical = std::move(v), horizontal = std::move(h);
    }
    IntRect r;
    if (fill) {
        r = {fill->x, fill->y, fill->x + fill->width - 1, fill->y + fill->height - 1};
    } else if (vertical.size() >= 2 && horizontal.size() >= 2) {
        // A grid's lines span the plot: its vertical lines from top to
        // bottom, its horizontal ones from left to right.
        std::vector<int> tops, bottoms, lefts, rights;
        for (const GridLine& l : vertical) tops.push_back(l.from), bottoms.push_back(l.to);
        for (const GridLine& l : horizontal) lefts.push_back(l.from), rights.push_back(l.to);
        r = {medianOf(lefts), medianOf(tops), medianOf(rights), medianOf(bottoms)};
        // Tick marks drawn inward from where the border would be continue
        // the grid lines to the plot's edge.
        r.bottom += inkBeyond(mask, vertical, r.bottom, +1, false);
        r.top -= inkBeyond(mask, vertical, r.top, -1, false);
        r.left -= inkBeyond(mask, horizontal, r.left, -1, true);
        r.right += inkBeyond(mask, horizontal, r.right, +1, true);
    } else if (const auto xs = tickRow(mask, false), ys = tickRow(mask, true);
               xs && ys && ys->x < xs->x + xs->width / 2 && xs->y > ys->y + ys->height / 2) {
        // Only tick marks (gnuplot without a border): the bottom axis is
        // where they line up, the left axis where theirs do.
        r = {ys->x, ys->y, xs->x + xs->width - 1, xs->y + xs->height - 1};
    } else {
        frame.reason = "no axis lines found";
        return frame;
    }
    if (r.width() < grey.cols / 5 || r.height() < grey.rows / 5) {
        frame.reason = "the axis lines found are too short";
        return frame;
    }
    frame.axisRect = r;
    frame.hasTop = frame.hasRight = true;
    // The background's edge may be a partly covered row: the ticks start
    // beyond it.
    std::vector<double> xOutward, yOutward;
    measureTicks(frame, grey, mask, r.bottom, r.bottom + 1, r.left - 1, r.left, &xOutward,
                 &yOutward);
    // The grid lines stand for tick marks where a style draws none. Where
    // both are drawn the marks count: Agg centres a mark on a whole pixel
    // and a line where it falls, and a mark is what a reader reads off.
    // Without an axis line anything may cross the edge where marks are
    // looked for (a tick label's glyph): with a grid only marks on its lines
    // count. A line at an edge is half clipped away, its centre moved: it
    // only vouches for a mark.
    const bool filled = fill.has_value();
    const auto merge = [filled](std::vector<double>& ticks, const std::vector<double>& outward,
                                const std::vector<GridLine>& lines, int lo, int hi) {
        const auto near = [](double a, double b) { return std::abs(a - b) <= 3; };
        std::vector<double> out;
        for (double t : ticks) {
            // A filled background's edge is as good as an axis line, for
            // the marks at its ends (where the grid's lines are clipped)
            // that reach outside: a curve leaving a corner reaches in.
            const bool atEnd = t < lo + 2.5 || t > hi - 2.5;
            bool onLine =
                lines.empty() ||
                (filled && atEnd && std::find(outward.begin(), outward.end(), t) != outward.end());
            // (A frame drawn light, as bmh's, is a line at each edge: a
            // curve leaving a corner is beside it but not on it.)
            for (const GridLine& l : lines) {
                const bool edge = l.position < lo + 2.5 || l.position > hi - 2.5;
                onLine = onLine || std::abs(l.position - t) <= (edge ? 1.0 : 3);
            }
            if (onLine) out.push_back(t);
        }
        for (const GridLine& l : lines) {
            bool marked = false;
            for (double t : ticks) marked = marked || near(l.position, t);
            if (!marked && l.position > lo + 2.5 && l.position < hi - 2.5)
                out.push_back(l.position);
        }
        std::sort(out.begin(), out.end());
        ticks = std::move(out);
    };
    merge(frame.xTicks, xOutward, vertical, r.left, r.right);
    merge(frame.yTicks, yOutward, horizontal, r.top, r.bottom);
    frame.found = true;
    return frame;
}

}  // namespace qf
