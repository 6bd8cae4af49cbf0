#pragma once
// The large photographed chart the benchmarks read: 8000 x 6000 of shaded
// paper, a grid and a curve, so its files are of a realistic size, not noise.

#include <opencv2/core.hpp>
#include <opencv2/imgproc.hpp>

namespace qf::bench {

inline cv::Mat largeChartPicture() {
    const int w = 8000, h = 6000;
    cv::Mat m(h, w, CV_8UC3);
    for (int y = 0; y < h; ++y) m.row(y).setTo(cv::Scalar(200 + 40 * y / h, 210, 230 - 30 * y / h));
    for (int k = 1; k < 10; ++k) {
        cv::line(m, {w * k / 10, 0}, {w * k / 10, h}, cv::Scalar(120, 120, 120), 9);
        cv::line(m, {0, h * k / 10}, {w, h * k / 10}, cv::Scalar(120, 120, 120), 9);
    }
    for (int x = 4; x < w; x += 4) {
        const auto f = [&](int px) { return h - 1 - (h - 1) * px / w * px / w; };
        cv::line(m, {x - 4, f(x - 4)}, {x, f(x)}, cv::Scalar(30, 30, 200), 12);
    }
    return m;
}

}  // namespace qf::bench
