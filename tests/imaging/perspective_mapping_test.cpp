// The perspective mapping: a chart photographed at a tilt comes out with its
// grid where it belongs; the transform sends the corners exactly; a quad with
// no such transform maps nothing.

#include <gtest/gtest.h>

#include <opencv2/imgproc.hpp>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <optional>
#include <random>
#include <vector>

#include "imaging/mapping.h"
#include "imaging/mapping_rows.h"

namespace qf {
namespace {

constexpr double kPi = 3.14159265358979323846;

// A flat chart: grid lines every 60 pixels across (x = 100 .. 700) and every
// 40 down (y = 100 .. 500); its corners are marked 30 pixels outside them.
constexpr double kLineX0 = 100, kStepX = 60, kLineY0 = 100, kStepY = 40;
constexpr int kLines = 11;
const cv::Point2f kFlatCorners[4] = {{70, 70}, {730, 70}, {730, 530}, {70, 530}};
// The graph rectangle is as large as the marked area, so one pixel of the
// result is one pixel of the flat chart.
const IntRect kGraph{50, 40, 50 + 660, 40 + 460};

struct Tilt {
    double aboutX, aboutY, inPlane;  // degrees
};

// The corners as a camera sees the chart tilted by t, at a distance equal
// to its focal length, rounded to the pixels a user would mark.
Quad photographedCorners(const Tilt& t) {
    const double ax = t.aboutX * kPi / 180, ay = t.aboutY * kPi / 180, az = t.inPlane * kPi / 180;
    const cv::Matx33d rx(1, 0, 0, 0, std::cos(ax), -std::sin(ax), 0, std::sin(ax), std::cos(ax));
    const cv::Matx33d ry(std::cos(ay), 0, std::sin(ay), 0, 1, 0, -std::sin(ay), 0, std::cos(ay));
    const cv::Matx33d rz(std::cos(az), -std::sin(az), 0, std::sin(az), std::cos(az), 0, 0, 0, 1);
    const cv::Matx33d r = rz * ry * rx;
    constexpr double f = 1500, cx = 600, cy = 450;
    Quad q;
    for (int k = 0; k < 4; ++k) {
        const cv::Vec3d p = r * cv::Vec3d(kFlatCorners[k].x - 400.0, kFlatCorners[k].y - 300.0, 0);
        q[std::size_t(k)] = {int32_t(std::lround(f * p[0] / (p[2] + f) + cx)),
                             int32_t(std::lround(f * p[1] / (p[2] + f) + cy))};
    }
    return q;
}

// The photograph: every pixel shows the flat chart at the point the exact
// transform to the marked corners sends it to, grid lines drawn as smooth
// 1.2-pixel profiles so that their centres can be measured to a fraction of
// a pixel.
cv::Mat photograph(const Quad& corners) {
    cv::Point2f to[4];
    for (int k = 0; k < 4; ++k)
        to[k] = {float(corners[std::size_t(k)].x), float(corners[std::size_t(k)].y)};
    const cv::Matx33d back = cv::Matx33d(cv::getPerspectiveTransform(to, kFlatCorners));
    cv::Mat photo(900, 1200, CV_8UC3);
    const auto profile = [](double offset, double step, double v) {
        const double d = std::fabs(std::remainder(v - offset, step));
        return std::exp(-d * d / (2 * 1.2 * 1.2));
    };
    for (int y = 0; y < photo.rows; ++y) {
        for (int x = 0; x < photo.cols; ++x) {
            const cv::Vec3d p = back * cv::Vec3d(x, y, 1);
            const double fx = p[0] / p[2], fy = p[1] / p[2];
            double dark = 0;
            if (fy > 95 && fy < 505 && fx > 95 && fx < 705)
                dark = std::max(profile(kLineX0, kStepX, fx), profile(kLineY0, kStepY, fy));
            const auto v = uint8_t(std::lround(255 * (1 - 0.8 * dark)));
            photo.at<cv::Vec3b>(y, x) = {v, v, v};
        }
    }
    return photo;
}

// The centre of darkness of the line expected at `at`, across a window of
// the profile `value(k)` for k = at - 10 .. at + 10.
template <typename Value>
double centreOfLine(int at, Value value) {
    double sum = 0, weight = 0;
    for (int k = at - 10; k <= at + 10; ++k) {
        const double w = 255.0 - value(k);
        sum += w * k;
        weight += w;
    }
    return weight > 0 ? sum / weight : INFINITY;
}

// The largest distance of a grid line from where it belongs on the result
// (each line's position taken as the mean of its centres along its length),
// and the largest distance of a single row's or column's centre.
struct LineErrors {
    double line = 0, single = 0;
};

LineErrors gridErrors(const cv::Mat& out) {
    LineErrors e;
    const auto grey = [&out](int x, int y) { return double(out.at<cv::Vec3b>(y, x)[1]); };
    const int left = kGraph.left - int(kFlatCorners[0].x);  // result column of flat x = 0
    const int top = kGraph.top - int(kFlatCorners[0].y);
    for (int k = 0; k < kLines; ++k) {
        // Vertical lines, measured along rows that miss the horizontal ones.
        const int column = left + int(kLineX0 + k * kStepX);
        double sum = 0;
        int n = 0;
        for (int fy = 112; fy < 500; ++fy) {
            if (std::fmod(fy - kLineY0, kStepY) < 12 || std::fmod(fy - kLineY0, kStepY) > 28)
                continue;
            const double c = centreOfLine(column, [&](int x) { return grey(x, top + fy); });
            e.single = std::max(e.single, std::fabs(c - column));
            sum += c;
            ++n;
        }
        e.line = std::max(e.line, std::fabs(sum / n - column));
        // Horizontal lines, measured along columns that miss the vertical ones.
        const int row = top + int(kLineY0 + k * kStepY);
        sum = 0;
        n = 0;
        for (int fx = 112; fx < 700; ++fx) {
            if (std::fmod(fx - kLineX0, kStepX) < 12 || std::fmod(fx - kLineX0, kStepX) > 48)
                continue;
            const double c = centreOfLine(row, [&](int y) { return grey(left + fx, y); });
            e.single = std::max(e.single, std::fabs(c - row));
            sum += c;
            ++n;
        }
        e.line = std::max(e.line, std::fabs(sum / n - row));
    }
    return e;
}

cv::Mat straightened(const cv::Mat& photo, const Quad& corners, MappingMethod method,
                     MappingSampling sampling = MappingSampling::Nearest) {
    ImagePair images{photo, cv::Mat()};
    MappingGeometry m;
    m.corners = corners;
    m.graphRect = kGraph;
    m.method = method;
    m.sampling = sampling;
    runMapping(images, CurrentImage::Input, m);
    return images.outputImage;
}

TEST(PerspectiveMapping, TheGridOfATiltedChartComesOutWhereItBelongs) {
    const Tilt tilts[] = {{0, 0, 0},   {10, 0, 0},  {0, 15, 0},  {30, 0, 0},   {0, 30, 0},
                          {-30, 0, 0}, {20, 20, 0}, {30, 30, 0}, {25, -25, 8}, {0, 0, 12}};
    for (const Tilt& t : tilts) {
        SCOPED_TRACE(::testing::Message()
                     << "tilt " << t.aboutX << ", " << t.aboutY << ", " << t.inPlane);
        const Quad corners = photographedCorners(t);
        const cv::Mat photo = photograph(corners);
        const LineErrors perspective =
            gridErrors(straightened(photo, corners, MappingMethod::Perspective));
        const LineErrors interpolated = gridErrors(straightened(
            photo, corners, MappingMethod::Perspective, MappingSampling::Interpolated));
        const LineErrors bilinear =
            gridErrors(straightened(photo, corners, MappingMethod::Bilinear));
        // (A line more than 10 pixels away is not found at all: "inf".)
        std::printf(
            "tilt %5.1f %5.1f %5.1f: lines off by up to %.2f px (single rows %.2f); "
            "interpolated %.2f px (%.2f); bilinear %.2f px (%.2f)\n",
            t.aboutX, t.aboutY, t.inPlane, perspective.line, perspective.single, interpolated.line,
            interpolated.single, bilinear.line, bilinear.single);
        EXPECT_LE(perspective.line, 0.5);
        EXPECT_LE(interpolated.line, 0.1);
        EXPECT_LE(interpolated.single, 0.2);
    }
}

TEST(PerspectiveMapping, TheTransformSendsTheSquaresCornersToTheQuad) {
    std::mt19937 random(7);
    std::uniform_int_distribution<int> jitter(-150, 150);
    for (int n = 0; n < 200; ++n) {
        const Quad q{{{200 + jitter(random), 200 + jitter(random)},
                      {800 + jitter(random), 200 + jitter(random)},
                      {800 + jitter(random), 700 + jitter(random)},
                      {200 + jitter(random), 700 + jitter(random)}}};
        const std::optional<Homography> h = squareToQuad(q);
        ASSERT_TRUE(h);
        const double u[4] = {0, 1, 1, 0}, v[4] = {0, 0, 1, 1};
        for (int k = 0; k < 4; ++k) {
            EXPECT_NEAR(h->x(u[k], v[k]), q[std::size_t(k)].x, 1e-9);
            EXPECT_NEAR(h->y(u[k], v[k]), q[std::size_t(k)].y, 1e-9);
        }
        // Straight lines stay straight: the middle of the square goes to
        // where the quad's diagonals cross.
        const cv::Point2d a(q[0].x, q[0].y), b(q[2].x, q[2].y), c(q[1].x, q[1].y),
            d(q[3].x, q[3].y);
        const double s = ((c - a).cross(d - c)) / ((b - a).cross(d - c));
        const cv::Point2d cross = a + s * (b - a);
        EXPECT_NEAR(h->x(0.5, 0.5), cross.x, 1e-9);
        EXPECT_NEAR(h->y(0.5, 0.5), cross.y, 1e-9);
    }
}

TEST(PerspectiveMapping, CornersOnTheWholeImageGiveTheInput) {
    cv::Mat in(60, 80, CV_8UC3);
    cv::randu(in, cv::Scalar::all(0), cv::Scalar::all(255));
    ImagePair images{in, cv::Mat()};
    MappingGeometry m;
    m.corners = {{{0, 0}, {80, 0}, {80, 60}, {0, 60}}};
    m.graphRect = {0, 0, 80, 60};
    m.method = MappingMethod::Perspective;
    runMapping(images, CurrentImage::Input, m);
    EXPECT_EQ(cv::norm(images.outputImage, in, cv::NORM_INF), 0.0);
}

// The fast row code against the transform evaluated pixel by pixel in
// double precision, on quads that reach past the picture's borders; the row
// code works in single precision, so pixels whose sample lies within a
// hundredth of a pixel of the middle between two pixels may go either way
// and are skipped.
TEST(PerspectiveMapping, MatchesThePlainLoopOnRandomQuadrilaterals) {
    std::mt19937 random(11);
    std::uniform_int_distribution<int> spread(-60, 60);
    cv::Mat in(120, 170, CV_8UC3);
    cv::randu(in, cv::Scalar::all(0), cv::Scalar::all(255));
    for (int n = 0; n < 60; ++n) {
        MappingGeometry m;
        m.corners = {{{20 + spread(random), 15 + spread(random)},
                      {150 + spread(random), 15 + spread(random)},
                      {150 + spread(random), 105 + spread(random)},
                      {20 + spread(random), 105 + spread(random)}}};
        m.graphRect = {10 + spread(random) / 4, 8 + spread(random) / 4, 160 + spread(random),
                       110 + spread(random)};
        m.method = MappingMethod::Perspective;
        const std::optional<Homography> h = squareToQuad(m.corners);
        if (!h || m.graphRect.width() <= 0 || m.graphRect.height() <= 0) continue;
        ImagePair images{in, cv::Mat()};
        runMapping(images, CurrentImage::Input, m);
        const IntRect& r = m.graphRect;
        int wrong = 0;
        for (int y = std::max(r.top, 0); y < std::min(r.bottom, in.rows); ++y) {
            for (int x = std::max(r.left, 0); x < std::min(r.right, in.cols); ++x) {
                const double u = double(x - r.left) / r.width(), v = double(y - r.top) / r.height();
                const double sx = h->x(u, v) + 0.5, sy = h->y(u, v) + 0.5;
                if (std::fabs(sx - std::round(sx)) < 0.01 || std::fabs(sy - std::round(sy)) < 0.01)
                    continue;
                const bool inside = sx >= 0 && sx < in.cols && sy >= 0 && sy < in.rows;
                const cv::Vec3b want =
                    inside ? in.at<cv::Vec3b>(int(sy), int(sx)) : cv::Vec3b(255, 255, 255);
                if (images.outputImage.at<cv::Vec3b>(y, x) != want) ++wrong;
            }
        }
        EXPECT_EQ(wrong, 0) << "quad " << n;
    }
}

// Corners that no projective transform joins to a rectangle: the same as a
// degenerate bilinear quad, the rectangle keeps the input's pixels and the
// guide stays where it was.
TEST(PerspectiveMapping, QuadsWithoutATransformMapNothing) {
    const Quad quads[] = {
        {{{10, 10}, {90, 10}, {10, 70}, {90, 70}}},  // crossed: a bow tie
        {{{10, 10}, {90, 10}, {30, 30}, {10, 70}}},  // a corner folded inside
        {{{10, 10}, {50, 10}, {90, 10}, {10, 70}}},  // three corners on a line
        {{{40, 40}, {40, 40}, {40, 40}, {40, 40}}},  // one point
    };
    cv::Mat in(80, 100, CV_8UC3);
    cv::randu(in, cv::Scalar::all(0), cv::Scalar::all(255));
    for (const Quad& q : quads) {
        EXPECT_FALSE(squareToQuad(q));
        EXPECT_FALSE(computeInnerQuad(q, 0.1, 0.1, MappingMethod::Perspective));
        ImagePair images{in, cv::Mat()};
        MappingGeometry m;
        m.corners = q;
        m.graphRect = {20, 10, 80, 60};
        m.method = MappingMethod::Perspective;
        runMapping(images, CurrentImage::Input, m);
        const cv::Rect inside(20, 10, 60, 50);
        EXPECT_EQ(cv::norm(images.outputImage(inside), in(inside), cv::NORM_INF), 0.0);
        cv::Mat border = images.outputImage.clone();
        border(inside).setTo(cv::Scalar::all(255));
        EXPECT_EQ(cv::countNonZero(border.reshape(1) != 255), 0);
    }
    // A mirrored quad is still a quad: the chart comes out mirrored.
    EXPECT_TRUE(squareToQuad({{{90, 10}, {10, 10}, {10, 70}, {90, 70}}}));
}

TEST(PerspectiveMapping, TheGuideIsTheTransformOfTheShrunkRectangle) {
    MappingGeometry m;
    m.corners = {{{100, 120}, {520, 80}, {560, 430}, {90, 400}}};
    m.graphRect = {50, 50, 450, 350};
    m.method = MappingMethod::Perspective;
    MappingGuide g;
    updateInnerQuad(m, g);
    const std::optional<Homography> h = squareToQuad(m.corners);
    ASSERT_TRUE(h);
    const double u[4] = {0.05, 0.95, 0.95, 0.05},
                 v[4] = {20.0 / 300, 20.0 / 300, 280.0 / 300, 280.0 / 300};
    for (int k = 0; k < 4; ++k) {
        EXPECT_EQ(g.innerQuad[std::size_t(k)].x, std::lround(h->x(u[k], v[k]))) << k;
        EXPECT_EQ(g.innerQuad[std::size_t(k)].y, std::lround(h->y(u[k], v[k]))) << k;
        EXPECT_EQ(perspectiveGuidePoint(m, u[k] < 0.5 ? 0 : 1, v[k] < 0.5 ? 0 : 1),
                  g.innerQuad[std::size_t(k)]);
    }
}

}  // namespace
}  // namespace qf
