#include "imaging/curve_colours.h"

#include <opencv2/core/utility.hpp>
#include <opencv2/imgproc.hpp>

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace qf::extraction {
namespace {

constexpr int kLevels = 64;  // per channel in the tables
constexpr int kEntries = kLevels * kLevels * kLevels;

int quantised(const cv::Vec3b& bgr) {
    return (bgr[0] >> 2) << 12 | (bgr[1] >> 2) << 6 | bgr[2] >> 2;
}

// Lab of the middle of each 4 x 4 x 4 block of BGR, made once.
const cv::Mat& labTable() {
    static const cv::Mat table = [] {
        cv::Mat bgr(kEntries / kLevels, kLevels, CV_8UC3);
        for (int i = 0; i < kEntries; ++i) {
            bgr.at<cv::Vec3b>(i / kLevels, i % kLevels) =
                cv::Vec3b(uint8_t((i >> 12) * 4 + 2), uint8_t(((i >> 6) & 63) * 4 + 2),
                          uint8_t((i & 63) * 4 + 2));
        }
        cv::Mat lab;
        cv::cvtColor(bgr, lab, cv::COLOR_BGR2Lab);
        return lab.reshape(3, 1);
    }();
    return table;
}

}  // namespace

int labDistance(const cv::Vec3b& a, const cv::Vec3b& b) {
    return std::max({std::abs(a[0] - b[0]), std::abs(a[1] - b[1]), std::abs(a[2] - b[2])});
}

cv::Vec3b labOf(const cv::Vec3b& bgr) {
    return labTable().at<cv::Vec3b>(0, quantised(bgr));
}

cv::Vec3b bgrOf(const cv::Vec3b& lab) {
    cv::Mat bgr;
    cv::cvtColor(cv::Mat(1, 1, CV_8UC3, cv::Scalar(lab[0], lab[1], lab[2])), bgr,
                 cv::COLOR_Lab2BGR);
    return bgr.at<cv::Vec3b>(0, 0);
}

cv::Vec3b groundOf(const cv::Mat& roi, WorkMeter& work) {
    // Counted in blocks of 8 levels; the ground is the mean of the fullest.
    constexpr int kBin = 8;
    std::vector<int> count(32 * 32 * 32, 0);
    std::vector<cv::Vec3i> sum(count.size(), cv::Vec3i(0, 0, 0));
    for (int y = 0; y < roi.rows; y += 4) {
        const auto* row = roi.ptr<cv::Vec3b>(y);
        for (int x = 0; x < roi.cols; x += 4) {
            const cv::Vec3b lab = labOf(row[x]);
            const int b = (lab[0] / kBin) << 10 | (lab[1] / kBin) << 5 | lab[2] / kBin;
            ++count[std::size_t(b)];
            sum[std::size_t(b)] += cv::Vec3i(lab[0], lab[1], lab[2]);
        }
        work.add((roi.cols + 3) / 4);
    }
    const auto most = std::max_element(count.begin(), count.end()) - count.begin();
    const int n = std::max(count[std::size_t(most)], 1);
    const cv::Vec3i s = sum[std::size_t(most)];
    return cv::Vec3b(uint8_t(s[0] / n), uint8_t(s[1] / n), uint8_t(s[2] / n));
}

bool evenLighting(const cv::Mat& roi, cv::Mat& evened, WorkMeter& work) {
    // Worked on a copy of about 256 pixels a side: the lighting changes slowly.
    const double shrink = std::min(1.0, 256.0 / std::max(roi.cols, roi.rows));
    cv::Mat small;
    cv::resize(roi, small, cv::Size(), shrink, shrink, cv::INTER_AREA);
    // The median of a neighbourhood far wider than a line is the paper's
    // colour there, whatever is drawn on it (grid lines, curves, text).
    const int side = std::max(3, int(std::lround(std::max(small.cols, small.rows) / 8.0)) | 1);
    std::vector<cv::Mat> channels;
    cv::split(small, channels);
    for (cv::Mat& c : channels) cv::medianBlur(c, c, side);
    cv::Mat paper;
    cv::merge(channels, paper);
    cv::blur(paper, paper, cv::Size(side, side));
    work.add(int64_t(small.total()) * side);
    // Judged away from the edges, where the frame repeated past the border
    // fills the neighbourhood.
    const int m = side / 2 + 1;
    if (small.cols <= 2 * m || small.rows <= 2 * m) return false;
    const cv::Rect inner(m, m, small.cols - 2 * m, small.rows - 2 * m);
    double lo = 255, hi = 0;
    for (const cv::Mat& c : channels) {
        double a = 0, b = 0;
        cv::minMaxLoc(c(inner), &a, &b);
        lo = std::min(lo, a), hi = std::max(hi, b);
    }
    if (hi - lo <= kUnevenLight) return false;
    cv::resize(paper, paper, roi.size(), 0, 0, cv::INTER_LINEAR);
    cv::Mat in, light;
    roi.convertTo(in, CV_32F);
    paper.convertTo(light, CV_32F);
    cv::max(light, 1.0, light);
    cv::divide(in, light, in, 255.0);
    in.convertTo(evened, CV_8U);
    work.add(int64_t(roi.total()));
    return true;
}

int workingScale(cv::Size roi, int64_t pixels) {
    const double area = double(roi.width) * roi.height;
    return std::max(1, int(std::ceil(std::sqrt(area / double(pixels)))));
}

cv::Mat classify(const cv::Mat& roi, const std::vector<cv::Vec3b>& coloursLab, int tolerance,
                 const cv::Vec3b& ground, int scale, WorkMeter& work) {
    const auto classOf = [&](const cv::Vec3b& lab) {
        uint8_t bits = 0;
        for (std::size_t k = 0; k < coloursLab.size() && int(k) < kMaxClassColours; ++k)
            if (labDistance(lab, coloursLab[k]) <= tolerance) bits |= colourBit(int(k));
        if (!bits) {
            const int d = labDistance(lab, ground);
            bits = d > kInkDistance ? kOtherInk : d > kFaintDistance ? kFaintInk : 0;
        }
        return bits;
    };
    cv::Mat bits =
        cv::Mat::zeros((roi.rows + scale - 1) / scale, (roi.cols + scale - 1) / scale, CV_8U);
    // A large rectangle is sorted through a table of every colour's class;
    // a small one pixel by pixel, which costs less than the table.
    const bool byTable = int64_t(roi.total()) >= kEntries;
    std::vector<uint8_t> table;
    if (byTable) {
        table.resize(kEntries);
        const cv::Mat& lab = labTable();
        for (int i = 0; i < kEntries; ++i) table[std::size_t(i)] = classOf(lab.at<cv::Vec3b>(0, i));
        if (work.addRows(kLevels * kLevels, kLevels)) return {};
    }
    if (byTable) {
        // Bands of working rows, each band's rows on the pool's threads; the
        // hook is heard between bands.
        const int band = std::max(1, 256 / scale);
        for (int top = 0; top < bits.rows; top += band) {
            const int bottom = std::min(bits.rows, top + band);
            cv::parallel_for_(cv::Range(top, bottom), [&](const cv::Range& rows) {
                for (int wy = rows.start; wy < rows.end; ++wy) {
                    uint8_t* out = bits.ptr<uint8_t>(wy);
                    for (int y = wy * scale; y < std::min(roi.rows, (wy + 1) * scale); ++y) {
                        const auto* in = roi.ptr<cv::Vec3b>(y);
                        // A chart is mostly runs of one colour: a pixel like
                        // the one before it has its class.
                        cv::Vec3b last = in[0];
                        uint8_t lastClass = table[std::size_t(quantised(last))];
                        const auto classAt = [&](int x) {
                            if (in[x] != last) {
                                last = in[x];
                                lastClass = table[std::size_t(quantised(last))];
                            }
                            return lastClass;
                        };
                        if (scale == 1) {
                            for (int x = 0; x < roi.cols; ++x) out[x] = classAt(x);
                            continue;
                        }
                        int x = 0;
                        for (int wx = 0; wx < bits.cols; ++wx) {
                            uint8_t v = 0;
                            for (const int end = std::min(roi.cols, x + scale); x < end; ++x)
                                v |= classAt(x);
                            out[wx] |= v;
                        }
                    }
                }
            });
            const int64_t rows =
                std::min(int64_t(roi.rows), int64_t(bottom) * scale) - int64_t(top) * scale;
            if (work.addRows(rows, 2 * int64_t(roi.cols))) return {};
        }
        return bits;
    }
    cv::Mat labRow;
    for (int y = 0; y < roi.rows; ++y) {
        uint8_t* out = bits.ptr<uint8_t>(y / scale);
        cv::cvtColor(roi.row(y), labRow, cv::COLOR_BGR2Lab);
        const auto* lab = labRow.ptr<cv::Vec3b>(0);
        for (int x = 0; x < roi.cols; ++x) out[x / scale] |= classOf(lab[x]);
        if (work.add(2 * int64_t(roi.cols))) return {};
    }
    return bits;
}

}  // namespace qf::extraction
