#pragma once
// Clicking the bundled sample's curve as a careful user would: in evenly
// spaced columns of the axis rectangle on the straightened picture, the
// middle of the run of curve-coloured (blue) pixels. Shared by the sample's
// generator and the test that measures how well its fit recovers the curve.

#include <opencv2/core.hpp>

#include <vector>

#include "common/geometry.h"

namespace qf {

inline std::vector<SourcePoint> clickSampleCurve(const cv::Mat& straightened, const IntRect& a,
                                                 int count = 24) {
    std::vector<SourcePoint> points;
    for (int k = 1; k <= count; ++k) {
        const int h = a.left + (a.right - a.left) * k / (count + 1);
        int sum = 0, n = 0;
        for (int v = a.top - 10; v < a.bottom; ++v) {
            const cv::Vec3b c = straightened.at<cv::Vec3b>(v, h);
            if (c[0] > c[2] + 50) sum += v, ++n;
        }
        if (n > 0) points.push_back({h, (sum + n / 2) / n});
    }
    return points;
}

}  // namespace qf
