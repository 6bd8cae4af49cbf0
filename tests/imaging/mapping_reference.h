#pragma once
// The mapping written plainly, step by step, with a checked pixel write that
// skips destinations outside the image. The optimised version must produce
// exactly the same pixels.

#include <opencv2/core.hpp>

#include <cmath>
#include <cstdint>

#include "imaging/mapping.h"

namespace qf::test {

inline cv::Mat referenceMapping(const cv::Mat& input, const Quad& p, const IntRect& rect) {
    cv::Mat out = input.clone();
    const int64_t W = out.cols, H = out.rows;
    const int64_t L = rect.left, T = rect.top, R = rect.right, B = rect.bottom;
    const cv::Vec3b white(255, 255, 255);
    const auto put = [&](int64_t x, int64_t y, const cv::Vec3b& v) {
        if (x >= 0 && x < W && y >= 0 && y < H) out.at<cv::Vec3b>(int(y), int(x)) = v;
    };
    for (int64_t y = 0; y < T; ++y)
        for (int64_t x = 0; x < W; ++x) put(x, y, white);
    for (int64_t y = B; y < H; ++y)
        for (int64_t x = 0; x < W; ++x) put(x, y, white);
    for (int64_t y = T; y < B; ++y) {
        for (int64_t x = 0; x < L; ++x) put(x, y, white);
        for (int64_t x = R; x < W; ++x) put(x, y, white);
    }

    const int64_t lenL2 =
        int64_t(p[0].x - p[3].x) * (p[0].x - p[3].x) + int64_t(p[0].y - p[3].y) * (p[0].y - p[3].y);
    const int64_t rightY2 = int64_t(p[1].y - p[2].y) * (p[1].y - p[2].y);
    if (lenL2 < 1 || rightY2 < 1) return out;
    const int64_t gw = R - L, gh = B - T;
    if (gh <= 0) return out;
    const double lenL = std::sqrt(double(lenL2));
    const double lenR = std::abs(p[1].y - p[2].y);
    const double sLx = (double(p[3].x - p[0].x) / lenL) * lenL / double(gh);
    const double sLy = (double(p[3].y - p[0].y) / lenL) * lenL / double(gh);
    const double sRx = (double(p[2].x - p[1].x) / lenR) * lenR / double(gh);
    const double sRy = (double(p[2].y - p[1].y) / lenR) * lenR / double(gh);
    double dx = 1.0, dy = 0.0;  // first row without a direction: along the rows
    for (int64_t i = 0; i < gh; ++i) {
        const int64_t Gx = int64_t(std::trunc(double(i) * sLx + p[0].x));
        const int64_t Gy = int64_t(std::trunc(double(i) * sLy + p[0].y));
        const int64_t Hx = int64_t(std::trunc(double(i) * sRx + p[1].x));
        const int64_t Hy = int64_t(std::trunc(double(i) * sRy + p[1].y));
        const int64_t K2 = (Gx - Hx) * (Gx - Hx) + (Gy - Hy) * (Gy - Hy);
        double K = double(K2);
        if (K2 > 1) {
            K = std::sqrt(double(K2));
            dx = double(Hx - Gx) / K;
            dy = double(Hy - Gy) / K;
        }
        if (gw <= 0) continue;
        const double cx = (dx * K) / double(gw);
        const double cy = (dy * K) / double(gw);
        for (int64_t j = 0; j < gw; ++j) {
            const int64_t x = int64_t(std::trunc(double(j) * cx + double(Gx)));
            const int64_t y = int64_t(std::trunc(double(j) * cy + double(Gy)));
            if (x >= 0 && x < W && y >= 0 && y < H) {
                put(L + j, T + i, input.at<cv::Vec3b>(int(y), int(x)));
            } else {
                put(L + j, T + i, white);
            }
        }
    }
    return out;
}

}  // namespace qf::test
