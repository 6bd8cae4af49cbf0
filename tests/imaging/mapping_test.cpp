#include "imaging/mapping.h"

#include <gtest/gtest.h>

#include <functional>
#include <limits>
#include <optional>
#include <random>
#include <vector>

#include "mapping_reference.h"

namespace qf {
namespace {

// Every pixel different, so a test sees which source pixel landed where.
cv::Mat numbered(int w, int h) {
    cv::Mat m(h, w, CV_8UC3);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            m.at<cv::Vec3b>(y, x) = cv::Vec3b(uint8_t(x), uint8_t(y), uint8_t(7 * x + 3 * y + 1));
    return m;
}

cv::Mat randomImage(int w, int h, unsigned seed) {
    cv::Mat m(h, w, CV_8UC3);
    cv::theRNG().state = seed;
    cv::randu(m, cv::Scalar::all(0), cv::Scalar::all(255));
    return m;
}

ImagePair pairOf(const cv::Mat& input) {
    return {input.clone(), input.clone()};
}

MappingGeometry quadOf(const Quad& corners, const IntRect& rect) {
    MappingGeometry m;
    m.corners = corners;
    m.graphRect = rect;
    return m;
}

// The input is used as it is laid out in memory; the output starts as a copy.
cv::Mat mapped(const cv::Mat& input, const Quad& corners, const IntRect& rect) {
    ImagePair images{input, input.clone()};
    runMapping(images, CurrentImage::Input, quadOf(corners, rect));
    return images.outputImage;
}

// Compares every output pixel with the input pixel `source` names, or with
// white where it names none.
void expectPixels(const cv::Mat& out, const cv::Mat& in,
                  const std::function<std::optional<cv::Point>(int x, int y)>& source) {
    ASSERT_EQ(out.size(), in.size());
    ASSERT_EQ(out.type(), CV_8UC3);
    int wrong = 0;
    for (int y = 0; y < out.rows; ++y) {
        for (int x = 0; x < out.cols; ++x) {
            const std::optional<cv::Point> s = source(x, y);
            const cv::Vec3b want = s ? in.at<cv::Vec3b>(*s) : cv::Vec3b(255, 255, 255);
            if (out.at<cv::Vec3b>(y, x) != want && ++wrong <= 5) {
                ADD_FAILURE() << "pixel (" << x << ", " << y << ") is " << out.at<cv::Vec3b>(y, x)
                              << ", expected " << want;
            }
        }
    }
    EXPECT_EQ(wrong, 0);
}

TEST(MappingReset, PlacesGeometryFor640x480) {
    MappingGeometry m;
    MappingGuide g;
    IntRect axis;
    resetMappingForImage(640, 480, m, axis);
    updateInnerQuad(m, g);
    EXPECT_EQ(m.corners, (Quad{{{80, 80}, {560, 80}, {560, 400}, {80, 400}}}));
    EXPECT_EQ(m.graphRect, (IntRect{60, 60, 580, 420}));
    EXPECT_EQ(axis, (IntRect{120, 120, 520, 360}));
    EXPECT_EQ(g.innerQuad, (Quad{{{98, 97}, {541, 97}, {541, 382}, {98, 382}}}));
    EXPECT_EQ(g.showMappingGrid, 1);
    EXPECT_EQ(g.mappingGridDivisions, 10);
}

TEST(MappingReset, InitialGuideIsTheOneTheInitialCornersGive) {
    const MappingGeometry m;
    const IntRect& r = m.graphRect;
    const std::optional<Quad> q = computeInnerQuad(m.corners, 40.0 / r.width(), 40.0 / r.height());
    ASSERT_TRUE(q);
    EXPECT_EQ(*q, MappingGuide{}.innerQuad);
}

// Images too small for the insets: the geometry degenerates, the guide must
// stay defined (no division by a zero width reaching an int conversion).
TEST(MappingReset, TinyAndEmptyImages) {
    struct Case {
        int w, h;
        Quad corners;
        IntRect graph;
    } cases[] = {
        {0, 0, {{{0, 0}, {0, 0}, {0, 0}, {0, 0}}}, {0, 0, 0, 0}},
        {1, 1, {{{0, 0}, {1, 0}, {1, 1}, {0, 1}}}, {0, 0, 1, 1}},
        {7, 2, {{{0, 0}, {7, 0}, {7, 2}, {0, 2}}}, {0, 0, 7, 2}},
    };
    for (const Case& c : cases) {
        MappingGeometry m;
        IntRect axis;
        resetMappingForImage(c.w, c.h, m, axis);
        EXPECT_EQ(m.corners, c.corners) << c.w << "x" << c.h;
        EXPECT_EQ(m.graphRect, c.graph) << c.w << "x" << c.h;
    }
    MappingGeometry m;
    MappingGuide g;
    IntRect axis;
    const Quad before = g.innerQuad;
    resetMappingForImage(0, 0, m, axis);
    updateInnerQuad(m, g);
    EXPECT_EQ(g.innerQuad, before);
}

TEST(InnerQuad, DegenerateQuadrilateralsLeaveTheGuideAlone) {
    const Quad leftEdgePoint{{{10, 10}, {50, 10}, {50, 40}, {10, 10}}};
    const Quad flatRightEdge{{{10, 10}, {50, 25}, {60, 25}, {10, 40}}};
    const Quad fine{{{10, 10}, {50, 10}, {50, 40}, {10, 40}}};
    EXPECT_FALSE(computeInnerQuad(leftEdgePoint, 0.5, 0.5));
    EXPECT_FALSE(computeInnerQuad(flatRightEdge, 0.5, 0.5));
    EXPECT_FALSE(computeInnerQuad(fine, std::numeric_limits<double>::infinity(), 0.5));
    EXPECT_TRUE(computeInnerQuad(fine, 0.5, 0.5));

    MappingGeometry m = quadOf(fine, {40, 40, 40, 100});  // zero-width graph rectangle
    MappingGuide g;
    const Quad before = g.innerQuad;
    updateInnerQuad(m, g);
    EXPECT_EQ(g.innerQuad, before);
    m.corners = flatRightEdge;
    m.graphRect = {0, 0, 80, 80};
    updateInnerQuad(m, g);
    EXPECT_EQ(g.innerQuad, before);
}

// Left and right edge points 1 pixel apart: K takes K squared (1) and the
// direction is along the rows, so u = 1.5 lands right of G and -0.5 left.
TEST(InnerQuad, ShortRowsUseTheFixedDirection) {
    const Quad narrow{{{10, 10}, {11, 10}, {11, 50}, {10, 50}}};
    const std::optional<Quad> q = computeInnerQuad(narrow, 3.0, 0.5);
    ASSERT_TRUE(q);
    EXPECT_EQ(*q, (Quad{{{11, 20}, {9, 20}, {9, 40}, {11, 40}}}));
}

TEST(Mapping, CornersOnTheWholeImageGiveTheInput) {
    const cv::Mat in = randomImage(37, 23, 1);
    const cv::Mat out = mapped(in, {{{0, 0}, {37, 0}, {37, 23}, {0, 23}}}, {0, 0, 37, 23});
    EXPECT_EQ(cv::norm(out, in, cv::NORM_INF), 0.0);
}

TEST(Mapping, HalfSizeQuadrilateralFillsTwoByTwoBlocks) {
    const cv::Mat in = numbered(200, 100);
    const cv::Mat out = mapped(in, {{{10, 10}, {110, 10}, {110, 60}, {10, 60}}}, {0, 0, 200, 100});
    expectPixels(out, in, [](int x, int y) { return cv::Point(10 + x / 2, 10 + y / 2); });
}

TEST(Mapping, OutsideTheGraphRectangleIsWhite) {
    const cv::Mat in = numbered(8, 6);
    // Corners on the rectangle's corners: the rectangle shows the input unchanged.
    const cv::Mat out = mapped(in, {{{1, 2}, {6, 2}, {6, 5}, {1, 5}}}, {1, 2, 6, 5});
    expectPixels(out, in, [](int x, int y) -> std::optional<cv::Point> {
        if (x < 1 || x >= 6 || y < 2 || y >= 5) return std::nullopt;
        return cv::Point(x, y);
    });
}

// The right edge on the image's border (x = width): sampling truncates, so
// the last output columns take the last input column and nothing beyond.
TEST(Mapping, RightEdgeOnTheImageBorder) {
    const cv::Mat in = numbered(8, 4);
    const cv::Mat out = mapped(in, {{{4, 0}, {8, 0}, {8, 4}, {4, 4}}}, {0, 0, 8, 4});
    expectPixels(out, in, [](int x, int y) { return cv::Point(4 + x / 2, y); });
}

// Samples left of the image: -0.5 truncates toward zero to column 0 and is
// copied, -1 and below are painted white.
TEST(Mapping, SamplesOutsideTheInputArePaintedWhite) {
    const cv::Mat in = numbered(8, 4);
    const cv::Mat out = mapped(in, {{{-2, 0}, {2, 0}, {2, 4}, {-2, 4}}}, {0, 0, 8, 4});
    const int column[8] = {-1, -1, -1, 0, 0, 0, 1, 1};
    expectPixels(out, in, [&](int x, int y) -> std::optional<cv::Point> {
        if (column[x] < 0) return std::nullopt;
        return cv::Point(column[x], y);
    });
}

TEST(Mapping, DegenerateQuadrilateralKeepsTheInputInsideTheRectangle) {
    const cv::Mat in = numbered(12, 9);
    const Quad flatRight{{{2, 2}, {10, 3}, {10, 3}, {2, 7}}};  // P1.y = P2.y
    const Quad pointLeft{{{2, 2}, {10, 2}, {10, 7}, {2, 2}}};  // P0 = P3
    for (const Quad& q : {flatRight, pointLeft}) {
        const cv::Mat out = mapped(in, q, {3, 1, 9, 8});
        expectPixels(out, in, [](int x, int y) -> std::optional<cv::Point> {
            if (x < 3 || x >= 9 || y < 1 || y >= 8) return std::nullopt;
            return cv::Point(x, y);
        });
    }
}

TEST(Mapping, EmptyOrInvertedRectangleLeavesAllWhite) {
    const cv::Mat in = numbered(10, 8);
    const Quad q{{{1, 1}, {9, 1}, {9, 7}, {1, 7}}};
    for (const IntRect& r : {IntRect{4, 2, 4, 6}, IntRect{6, 2, 3, 6}, IntRect{2, 4, 8, 4},
                             IntRect{2, 6, 8, 2}, IntRect{8, 7, 2, 1}}) {
        const cv::Mat out = mapped(in, q, r);
        EXPECT_EQ(cv::countNonZero(out.reshape(1) != 255), 0)
            << r.left << "," << r.top << "," << r.right << "," << r.bottom;
    }
}

// The editors normally keep the rectangle on the image; a rectangle reaching
// beyond it is clipped, with the samples spaced as for the whole rectangle.
TEST(Mapping, RectangleBeyondTheImageIsClipped) {
    const cv::Mat in = randomImage(40, 30, 2);
    const Quad q{{{5, 3}, {33, 6}, {36, 27}, {2, 24}}};
    for (const IntRect& r : {IntRect{-15, -9, 55, 41}, IntRect{-300, 5, 20, 25},
                             IntRect{30, 20, 90, 70}, IntRect{45, -5, 60, 10}}) {
        const cv::Mat out = mapped(in, q, r);
        EXPECT_EQ(cv::norm(out, test::referenceMapping(in, q, r), cv::NORM_INF), 0.0)
            << r.left << "," << r.top << "," << r.right << "," << r.bottom;
    }
}

TEST(Mapping, MatchesThePlainLoopOnRandomQuadrilaterals) {
    std::mt19937 rng(12345);
    for (int n = 0; n < 400; ++n) {
        const int w = 20 + int(rng() % 60), h = 15 + int(rng() % 50);
        const cv::Mat in = randomImage(w, h, unsigned(n + 10));
        const auto coord = [&](int size) { return int(rng() % unsigned(size + 21)) - 10; };
        Quad q;
        for (IntPoint& c : q) c = {coord(w), coord(h)};
        if (n % 10 == 0) q[3] = {q[0].x + int(rng() % 2), q[0].y};  // left edge 0 or 1 long
        if (n % 10 == 1) q[2].y = q[1].y;
        if (n % 10 == 2) q[1] = q[0];  // first rows shorter than two pixels
        IntRect r{coord(w), coord(h), coord(w), coord(h)};
        if (n % 3 != 0) {  // mostly well-ordered rectangles
            if (r.left > r.right) std::swap(r.left, r.right);
            if (r.top > r.bottom) std::swap(r.top, r.bottom);
        }
        const cv::Mat out = mapped(in, q, r);
        const cv::Mat want = test::referenceMapping(in, q, r);
        ASSERT_EQ(cv::norm(out, want, cv::NORM_INF), 0.0)
            << "case " << n << ": corners (" << q[0].x << "," << q[0].y << ") (" << q[1].x << ","
            << q[1].y << ") (" << q[2].x << "," << q[2].y << ") (" << q[3].x << "," << q[3].y
            << "), rect " << r.left << "," << r.top << "," << r.right << "," << r.bottom;
    }
}

// The row loop reads whole words and splits large images among threads: an
// input that ends exactly at its last pixel (the sanitizer build sees a read
// past it), an input with padded rows, and an image large enough to split.
TEST(Mapping, InputsOfEveryLayout) {
    const cv::Mat pixels = randomImage(46, 22, 4);
    std::vector<uint8_t> exact(pixels.datastart, pixels.dataend);
    const cv::Mat tight(22, 46, CV_8UC3, exact.data());
    // The bottom-right quarter at twice the size: every sample, the last
    // pixel included, is taken twice in a row.
    const Quad quarter{{{23, 11}, {46, 11}, {46, 22}, {23, 22}}};
    EXPECT_EQ(cv::norm(mapped(tight, quarter, {0, 0, 46, 22}),
                       test::referenceMapping(tight, quarter, {0, 0, 46, 22}), cv::NORM_INF),
              0.0);

    const cv::Mat padded = randomImage(90, 70, 5)(cv::Rect(7, 5, 61, 47));
    const Quad skew{{{3, 4}, {58, 1}, {60, 45}, {1, 40}}};
    EXPECT_EQ(cv::norm(mapped(padded, skew, {2, 3, 59, 44}),
                       test::referenceMapping(padded, skew, {2, 3, 59, 44}), cv::NORM_INF),
              0.0);

    const cv::Mat large = randomImage(700, 500, 6);
    const Quad photo{{{80, 70}, {640, 30}, {670, 470}, {40, 440}}};
    const IntRect rect{40, 30, 660, 470};
    EXPECT_EQ(cv::norm(mapped(large, photo, rect), test::referenceMapping(large, photo, rect),
                       cv::NORM_INF),
              0.0);
}

TEST(Mapping, NeedsAnImageAndLeavesOtherHoldersAlone) {
    const cv::Mat in = numbered(30, 20);
    const MappingGeometry m = quadOf({{{2, 2}, {28, 3}, {27, 18}, {3, 17}}}, {4, 4, 26, 16});

    ImagePair none = pairOf(in);
    const cv::Mat before = none.outputImage;
    runMapping(none, CurrentImage::None, m);
    EXPECT_EQ(none.outputImage.data, before.data);
    EXPECT_EQ(cv::norm(none.outputImage, in, cv::NORM_INF), 0.0);

    ImagePair empty;
    runMapping(empty, CurrentImage::Input, m);
    EXPECT_TRUE(empty.outputImage.empty());

    // A Mat still holding the old output keeps its pixels; the output shares
    // nothing with the input.
    ImagePair images = pairOf(in);
    const cv::Mat held = images.outputImage;
    const cv::Mat heldCopy = held.clone();
    runMapping(images, CurrentImage::Output, m);
    EXPECT_EQ(cv::norm(held, heldCopy, cv::NORM_INF), 0.0);
    EXPECT_NE(images.outputImage.data, images.inputImage.data);
    EXPECT_EQ(cv::norm(images.inputImage, in, cv::NORM_INF), 0.0);
    EXPECT_EQ(cv::norm(images.outputImage, test::referenceMapping(in, m.corners, m.graphRect),
                       cv::NORM_INF),
              0.0);
}

}  // namespace
}  // namespace qf
