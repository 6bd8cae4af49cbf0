#include "reading/plot_frame.h"

#include <algorithm>
#include <cmath>
#include <opencv2/imgproc.hpp>

#include "reading/plot_area.h"

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
// Positions weighted by darkness, to a fraction of a pixel; those reaching
// outside also into `outward` when given.
std::vector<double> ticksAlong(const cv::Mat& mask, const cv::Mat& grey, int y0, int y1, int x0,
                               int x1, int reach, int& outside,
                               std::vector<double>* outward = nullptr) {
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
            const int o = outLen[std::size_t(c - x0)], i = inLen[std::size_t(c - x0)];
            // Out, in, or short ones crossing the axis.
            return o >= 2 || i >= 3 || (o >= 1 && i >= 1 && o + i >= 3);
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
            if (sw > 0 && outward && out >= 2) outward->push_back(sx / sw);
            longestOut = std::max(longestOut, out);
        }
        x = end + 1;
    }
    outside = longestOut;
    return ticks;
}

}  // namespace

void measureTicks(PlotFrame& frame, const cv::Mat& grey, const cv::Mat& mask, int b0, int b1,
                  int l0, int l1, std::vector<double>* xOutward, std::vector<double>* yOutward) {
    const IntRect& r = frame.axisRect;
    const int reach = std::clamp(std::min(grey.cols, grey.rows) / 40, 4, 14);
    frame.xTicks =
        ticksAlong(mask, grey, b0, b1, std::max(0, r.left - 2),
                   std::min(grey.cols - 1, r.right + 2), reach, frame.xTickOutside, xOutward);
    // The left axis's ticks: the same along the transposed picture, where
    // "outside" (left of the axis) comes first.
    const cv::Mat greyT = grey.t(), maskT = mask.t();
    cv::Mat flippedMask, flippedGrey;
    cv::flip(maskT, flippedMask, 0);
    cv::flip(greyT, flippedGrey, 0);
    // In the flipped transposed picture the left axis (column c) is row W-1-c
    // and its outside (smaller columns) lies below it.
    const int w = grey.cols;
    frame.yTicks =
        ticksAlong(flippedMask, flippedGrey, w - 1 - l1, w - 1 - l0, std::max(0, r.top - 2),
                   std::min(grey.rows - 1, r.bottom + 2), reach, frame.yTickOutside, yOutward);
}

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
        // Many styles draw no axis lines: the plot's background or grid
        // shows where it is.
        PlotFrame area = findPlotArea(grey, mask);
        if (area.found) return area;
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

    measureTicks(frame, grey, mask, bottom->across0, bottom->across1, left->across0, left->across1);
    frame.found = true;
    return frame;
}

}  // namespace qf
