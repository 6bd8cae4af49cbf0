// Straight lines and specks out of a colour's plane.

#include <opencv2/imgproc.hpp>

#include <algorithm>
#include <cstdlib>

#include "imaging/curve_colours.h"
#include "imaging/curve_planes.h"

namespace qf::extraction {

Planes planesOf(const cv::Mat& classBits, int k, int scale, cv::Size area, WorkMeter& work) {
    Planes p;
    p.scale = scale;
    p.area = area;
    p.curve.create(classBits.size(), CV_8U);
    p.hidden.create(classBits.size(), CV_8U);
    const uint8_t mine = colourBit(k);
    for (int y = 0; y < classBits.rows; ++y) {
        const uint8_t* in = classBits.ptr<uint8_t>(y);
        uint8_t* c = p.curve.ptr<uint8_t>(y);
        uint8_t* h = p.hidden.ptr<uint8_t>(y);
        for (int x = 0; x < classBits.cols; ++x) {
            c[x] = (in[x] & mine) ? 255 : 0;
            h[x] = (in[x] & mine)         ? 0
                   : (in[x] & ~kFaintInk) ? kHiddenInk
                   : in[x]                ? kHiddenFaint
                                          : 0;
        }
    }
    work.addRows(classBits.rows, classBits.cols);
    return p;
}

namespace {

// A row (column) is a line's when the colour covers a share of it (1/n)
// and spreads over half: a curve crosses a row in a few pixels, while a
// grid line stays a line when dashed or when curves are drawn over parts of
// it.
struct Lines {
    std::vector<char> rows, columns;
};

Lines straightLines(const cv::Mat& curve, int share, WorkMeter& work) {
    const int w = curve.cols, h = curve.rows;
    std::vector<int> rowCount(std::size_t(h), 0), rowFirst(std::size_t(h), w),
        rowLast(std::size_t(h), -1);
    std::vector<int> colCount(std::size_t(w), 0), colFirst(std::size_t(w), h),
        colLast(std::size_t(w), -1);
    for (int y = 0; y < h; ++y) {
        const uint8_t* c = curve.ptr<uint8_t>(y);
        for (int x = 0; x < w; ++x) {
            if (!c[x]) continue;
            ++rowCount[std::size_t(y)];
            rowFirst[std::size_t(y)] = std::min(rowFirst[std::size_t(y)], x);
            rowLast[std::size_t(y)] = x;
            ++colCount[std::size_t(x)];
            colFirst[std::size_t(x)] = std::min(colFirst[std::size_t(x)], y);
            colLast[std::size_t(x)] = y;
        }
    }
    work.addRows(curve.rows, curve.cols);
    Lines l;
    l.rows.assign(std::size_t(h), 0);
    l.columns.assign(std::size_t(w), 0);
    for (int y = 0; y < h; ++y)
        l.rows[std::size_t(y)] = rowCount[std::size_t(y)] >= std::max(3, w / share) &&
                                 rowLast[std::size_t(y)] - rowFirst[std::size_t(y)] >= w / 2;
    for (int x = 0; x < w; ++x)
        l.columns[std::size_t(x)] = colCount[std::size_t(x)] >= std::max(3, h / share) &&
                                    colLast[std::size_t(x)] - colFirst[std::size_t(x)] >= h / 2;
    // The smoothed edge of a line, beside it, is only partly of the colour.
    const auto fringe = [](std::vector<char>& marked, const std::vector<int>& count, int least) {
        std::vector<char> out = marked;
        for (std::size_t i = 0; i < marked.size(); ++i) {
            if (marked[i] || count[i] < least) continue;
            const bool beside =
                (i > 0 && marked[i - 1]) || (i + 1 < marked.size() && marked[i + 1]);
            out[i] = beside;
        }
        marked = std::move(out);
    };
    fringe(l.rows, rowCount, std::max(3, w / 16));
    fringe(l.columns, colCount, std::max(3, h / 16));
    return l;
}

// Unmarks the band of marked lines through i.
void keepBand(std::vector<char>& marked, int i) {
    if (!marked[std::size_t(i)]) return;
    for (int j = i; j >= 0 && marked[std::size_t(j)]; --j) marked[std::size_t(j)] = 0;
    for (int j = i + 1; j < int(marked.size()) && marked[std::size_t(j)]; ++j)
        marked[std::size_t(j)] = 0;
}

}  // namespace

void clearStraightLines(Planes& planes, cv::Point* seed, WorkMeter& work, bool onMarker) {
    cv::Mat& curve = planes.curve;
    Lines lines = straightLines(curve, onMarker ? 1 : 4, work);
    const auto onLine = [&](int x, int y) {
        return lines.rows[std::size_t(y)] || lines.columns[std::size_t(x)];
    };
    if (seed && onLine(seed->x, seed->y)) {
        // The nearest pixel of the colour off the lines, a few pixels away,
        // in a piece of its own that is more than a line's frayed edge.
        const int reach = std::max(2, 4 / planes.scale);
        std::vector<std::pair<int, cv::Point>> near;
        for (int dy = -reach; dy <= reach; ++dy) {
            for (int dx = -reach; dx <= reach; ++dx) {
                const cv::Point q(seed->x + dx, seed->y + dy);
                if (q.x < 0 || q.y < 0 || q.x >= curve.cols || q.y >= curve.rows) continue;
                if (curve.at<uint8_t>(q) && !onLine(q.x, q.y))
                    near.push_back({dx * dx + dy * dy, q});
            }
        }
        std::sort(near.begin(), near.end(),
                  [](const auto& a, const auto& b) { return a.first < b.first; });
        work.add(int64_t(2 * reach + 1) * (2 * reach + 1));
        const auto offTheLines = [&](cv::Point from) {
            constexpr int kEnough = 12;
            std::vector<cv::Point> piece{from};
            for (std::size_t i = 0; i < piece.size() && piece.size() < kEnough; ++i) {
                work.add(8);
                for (int dy = -1; dy <= 1; ++dy)
                    for (int dx = -1; dx <= 1; ++dx) {
                        const cv::Point q = piece[i] + cv::Point(dx, dy);
                        if (q.x < 0 || q.y < 0 || q.x >= curve.cols || q.y >= curve.rows) continue;
                        if (!curve.at<uint8_t>(q) || onLine(q.x, q.y)) continue;
                        if (std::find(piece.begin(), piece.end(), q) == piece.end())
                            piece.push_back(q);
                    }
            }
            return piece.size() >= kEnough;
        };
        const auto found = std::find_if(near.begin(), near.end(),
                                        [&](const auto& n) { return offTheLines(n.second); });
        if (found != near.end()) {
            *seed = found->second;
        } else {
            keepBand(lines.rows, seed->y);
            keepBand(lines.columns, seed->x);
        }
    }
    for (int y = 0; y < curve.rows; ++y) {
        uint8_t* c = curve.ptr<uint8_t>(y);
        uint8_t* h = planes.hidden.ptr<uint8_t>(y);
        const bool row = lines.rows[std::size_t(y)];
        for (int x = 0; x < curve.cols; ++x) {
            if (c[x] && (row || lines.columns[std::size_t(x)])) {
                c[x] = 0;
                h[x] = kHiddenLine;
            }
        }
    }
    work.addRows(curve.rows, curve.cols);
}

bool mapPieces(Planes& planes, PieceMap& pieces, WorkMeter& work) {
    cv::Mat centroids;
    pieces.count = cv::connectedComponentsWithStats(planes.curve, pieces.labels, pieces.stats,
                                                    centroids, 8, CV_32S);
    if (work.addRows(planes.curve.rows, planes.curve.cols)) return false;
    std::vector<char> speck(std::size_t(pieces.count), 0);
    bool any = false;
    for (int i = 1; i < pieces.count; ++i) {
        speck[std::size_t(i)] = pieces.stats.at<int>(i, cv::CC_STAT_AREA) <= kSpeckPixels;
        any = any || speck[std::size_t(i)];
    }
    if (!any) return true;
    for (int y = 0; y < planes.curve.rows; ++y) {
        int* l = pieces.labels.ptr<int>(y);
        uint8_t* c = planes.curve.ptr<uint8_t>(y);
        for (int x = 0; x < planes.curve.cols; ++x) {
            if (speck[std::size_t(l[x])]) {
                l[x] = 0;
                c[x] = 0;
            }
        }
    }
    return !work.addRows(planes.curve.rows, planes.curve.cols);
}

bool clearSpecks(Planes& planes, WorkMeter& work) {
    cv::Mat one, near;
    cv::threshold(planes.curve, one, 0, 1, cv::THRESH_BINARY);
    cv::boxFilter(one, near, CV_8U, {5, 5}, {-1, -1}, false, cv::BORDER_CONSTANT);
    if (work.addRows(planes.curve.rows, 2 * int64_t(planes.curve.cols))) return false;
    for (int y = 0; y < planes.curve.rows; ++y) {
        uint8_t* c = planes.curve.ptr<uint8_t>(y);
        const uint8_t* n = near.ptr<uint8_t>(y);
        for (int x = 0; x < planes.curve.cols; ++x)
            if (c[x] && n[x] <= kSpeckPixels) c[x] = 0;
    }
    return !work.addRows(planes.curve.rows, planes.curve.cols);
}

PieceBox pieceThrough(const Planes& planes, cv::Point p, int64_t limit, WorkMeter& work) {
    PieceBox piece;
    const cv::Mat& curve = planes.curve;
    cv::Mat seen = cv::Mat::zeros(curve.size(), CV_8U);
    std::vector<cv::Point> stack{p};
    seen.at<uint8_t>(p) = 1;
    int left = p.x, right = p.x, top = p.y, bottom = p.y;
    while (!stack.empty()) {
        const cv::Point q = stack.back();
        stack.pop_back();
        ++piece.area;
        left = std::min(left, q.x), right = std::max(right, q.x);
        top = std::min(top, q.y), bottom = std::max(bottom, q.y);
        if (piece.area > limit) {
            piece.complete = false;
            break;
        }
        if (work.add(8)) break;
        for (int dy = -1; dy <= 1; ++dy) {
            for (int dx = -1; dx <= 1; ++dx) {
                const cv::Point n(q.x + dx, q.y + dy);
                if (n.x < 0 || n.y < 0 || n.x >= curve.cols || n.y >= curve.rows) continue;
                if (!curve.at<uint8_t>(n) || seen.at<uint8_t>(n)) continue;
                seen.at<uint8_t>(n) = 1;
                stack.push_back(n);
            }
        }
    }
    piece.box = cv::Rect(left, top, right - left + 1, bottom - top + 1);
    return piece;
}

}  // namespace qf::extraction
