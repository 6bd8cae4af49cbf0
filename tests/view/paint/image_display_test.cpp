#include "view/paint/image_display.h"

#include <gtest/gtest.h>

#include <set>

#include "paint_test_support.h"

namespace qf {
namespace {

using namespace qf::test;

TEST(ImageDisplay, WithoutAnImageTheClientShowsTheBorderColour) {
    ViewState none;  // no current image
    ViewState empty = stateOver(cv::Mat());
    for (const ViewState* s : {&none, &empty}) {
        const QImage image = displayOf(*s, {120, 80});
        EXPECT_EQ(coloursIn(image, image.rect()), std::set<uint32_t>{kBorder});
    }
}

TEST(ImageDisplay, SmallImageAtTopLeftWithMarginsAndEdgeLine) {
    const cv::Mat picture = patternImage(100, 50);
    const QImage image = displayOf(stateOver(picture), {400, 300});
    for (int y = 0; y < 50; ++y) {
        for (int x = 0; x < 100; ++x) ASSERT_EQ(colourAt(image, x, y), pixelOf(picture, x, y));
    }
    // The edge line: row 50 from x = 0 to 100, column 100 from row 50 up to
    // row 1; its end pixel at (100, 0) is left out.
    EXPECT_EQ(coloursIn(image, QRect(0, 50, 101, 1)), std::set<uint32_t>{kBlack});
    EXPECT_EQ(coloursIn(image, QRect(100, 1, 1, 50)), std::set<uint32_t>{kBlack});
    EXPECT_EQ(colourAt(image, 100, 0), kBorder);
    // Everything else right of and below the image is margin.
    EXPECT_EQ(coloursIn(image, QRect(101, 0, 299, 300)), std::set<uint32_t>{kBorder});
    EXPECT_EQ(coloursIn(image, QRect(0, 51, 400, 249)), std::set<uint32_t>{kBorder});
}

TEST(ImageDisplay, DisplaySourceZeroShowsAWhiteAreaOfTheImageSize) {
    ViewState s = stateOver(patternImage(100, 50), 0);
    s.showPixelGrid = 1;
    s.transform = {};  // zoom 0: the grid would not show anyway; the area is what counts
    const QImage image = displayOf(s, {200, 100});
    EXPECT_EQ(coloursIn(image, QRect(0, 0, 100, 50)), std::set<uint32_t>{kWhite});
    EXPECT_EQ(coloursIn(image, QRect(0, 50, 101, 1)), std::set<uint32_t>{kBlack});
    EXPECT_EQ(coloursIn(image, QRect(101, 0, 99, 100)), std::set<uint32_t>{kBorder});
}

TEST(ImageDisplay, ImageFillingTheClientLeavesNoMarginAndNoVisibleEdge) {
    const cv::Mat picture = patternImage(300, 200);
    const QImage image = displayOf(stateOver(picture, 2, 0, {50, 40}), {200, 120});
    for (int y = 0; y < 120; ++y) {
        for (int x = 0; x < 200; ++x) {
            ASSERT_EQ(colourAt(image, x, y), pixelOf(picture, x + 50, y + 40)) << x << "," << y;
        }
    }
}

// Window pixel (x, y) shows the image pixel the mouse would find there.
TEST(ImageDisplay, ZoomedAndScrolledCropShowsTheRightSourcePixels) {
    struct Case {
        int zoom;
        IntPoint scroll;
    };
    const Case cases[] = {{0, {7, 3}},  {1, {5, 9}},   {2, {5, 6}},   {3, {13, 21}},
                          {6, {70, 1}}, {-1, {3, 8}},  {-2, {10, 5}}, {-4, {0, 0}},
                          {-3, {1, 2}}, {4, {500, 0}}, {2, {0, 0}}};
    const cv::Mat picture = patternImage(333, 277);
    const IntSize client{90, 70};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << "zoom " << c.zoom << " scroll " << c.scroll.x << "," << c.scroll.y);
        const ViewState s = stateOver(picture, 1, c.zoom, c.scroll);
        const QImage image = displayOf(s, client);
        const IntRect area = visibleImageArea(s.transform, {333, 277}, client);
        ASSERT_GT(area.width(), 0);
        for (int y = area.top; y < area.bottom; ++y) {
            for (int x = area.left; x < area.right; ++x) {
                const ImagePointResult q = ImagePointOf(s.transform, {x, y}, client, {333, 277});
                ASSERT_TRUE(q.ok);
                ASSERT_EQ(colourAt(image, x, y), pixelOf(picture, q.point.x, q.point.y))
                    << x << "," << y;
            }
        }
    }
}

TEST(ImageDisplay, SingleChannelPicturesShowAsGrey) {
    cv::Mat grey(40, 40, CV_8UC1);
    for (int y = 0; y < 40; ++y) {
        for (int x = 0; x < 40; ++x) grey.at<uint8_t>(y, x) = uint8_t(x * 6 + y);
    }
    for (int zoom : {-1, 0, 1}) {
        const ViewState s = stateOver(grey, 1, zoom);
        const QImage image = displayOf(s, {30, 30});
        for (IntPoint p : {IntPoint{0, 0}, IntPoint{7, 3}, IntPoint{19, 19}}) {
            const IntPoint q = ImagePointOf(s.transform, p, {30, 30}, {40, 40}).point;
            const uint32_t v = grey.at<uint8_t>(q.y, q.x);
            EXPECT_EQ(colourAt(image, p.x, p.y), v | v << 8 | v << 16) << "zoom " << zoom;
        }
    }
}

TEST(ImageDisplay, PartlyScrolledMagnifiedPixelKeepsItsPlace) {
    // Zoom 2, scrolled by 5: image pixel 1 covers logical 4..7, so window 0..2
    // show its last three columns and window 3 starts pixel 2.
    const cv::Mat picture = patternImage(50, 50);
    const QImage image = displayOf(stateOver(picture, 1, 2, {5, 6}), {40, 40});
    for (int x : {0, 1, 2}) EXPECT_EQ(colourAt(image, x, 0), pixelOf(picture, 1, 1));
    for (int x : {3, 4, 5, 6}) EXPECT_EQ(colourAt(image, x, 0), pixelOf(picture, 2, 1));
    EXPECT_EQ(colourAt(image, 0, 1), pixelOf(picture, 1, 1));
    EXPECT_EQ(colourAt(image, 0, 2), pixelOf(picture, 1, 2));
}

TEST(ImageDisplay, PixelGridOnlyFromZoomThreeAndOnlyOverPixels) {
    constexpr uint32_t kGrid = 0x00FF00;
    struct Case {
        int zoom;
        int displaySource;
        bool grid;
    };
    const Case cases[] = {{3, 1, true}, {4, 2, true}, {2, 1, false}, {0, 1, false}, {3, 0, false}};
    const cv::Mat picture = plainImage(20, 20, 0x808080);
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "zoom " << c.zoom << " source " << c.displaySource);
        ViewState s = stateOver(picture, c.displaySource, c.zoom);
        s.showPixelGrid = 1;
        s.pixelGridColour = kGrid;
        const QImage image = displayOf(s, {64, 64});
        if (!c.grid) {
            EXPECT_EQ(countOf(image, kGrid), 0);
            continue;
        }
        // Left column and bottom row of every magnified pixel.
        const int cell = 1 << c.zoom;
        for (int y = 0; y < 64; ++y) {
            for (int x = 0; x < 64; ++x) {
                const bool line = x % cell == 0 || y % cell == cell - 1;
                ASSERT_EQ(colourAt(image, x, y), line ? kGrid : 0x808080u) << x << "," << y;
            }
        }
    }
}

TEST(ImageDisplay, PixelGridFollowsTheImageWhenScrolled) {
    constexpr uint32_t kGrid = 0xFF0000;
    ViewState s = stateOver(plainImage(40, 40, 0x808080), 1, 3, {3, 5});
    s.showPixelGrid = 1;
    const QImage image = displayOf(s, {48, 48});
    // Cells start at logical multiples of 8: window x = 5, 13, ...; bottom
    // rows at logical 7, 15, ...: window y = 2, 10, ...
    EXPECT_EQ(columnsWith(image, 0, 0, 47, kGrid), (std::set<int>{5, 13, 21, 29, 37, 45}));
    EXPECT_EQ(rowsWith(image, 1, 0, 47, kGrid), (std::set<int>{2, 10, 18, 26, 34, 42}));
}

TEST(ImageDisplay, ImageShrunkToNothingShowsOnlyTheMargin) {
    // 10 pixels at 1/16 are no window pixel at all.
    const QImage image = displayOf(stateOver(patternImage(10, 10), 1, -4), {60, 40});
    EXPECT_EQ(coloursIn(image, image.rect()), std::set<uint32_t>{kBorder});
}

TEST(ImageDisplay, NegativeZoomUsesEveryNthPixel) {
    const cv::Mat picture = patternImage(400, 300);
    const QImage image = displayOf(stateOver(picture, 1, -2), {120, 90});
    EXPECT_EQ(colourAt(image, 0, 0), pixelOf(picture, 0, 0));
    EXPECT_EQ(colourAt(image, 1, 0), pixelOf(picture, 4, 0));
    EXPECT_EQ(colourAt(image, 99, 74), pixelOf(picture, 396, 296));
    // 400 / 4 = 100 columns of pixels, then the edge line.
    EXPECT_EQ(coloursIn(image, QRect(100, 1, 1, 75)), std::set<uint32_t>{kBlack});
    EXPECT_EQ(coloursIn(image, QRect(101, 0, 19, 90)), std::set<uint32_t>{kBorder});
}

// The widget keeps the picture reduced between repaints at negative zooms;
// what it draws from that copy must be what direct sampling draws.
TEST(ImageDisplay, ReducedCopyShowsTheSamePixelsAsSampling) {
    struct Case {
        int w, h, zoom;
        IntPoint scroll;
        IntSize client;
    } cases[] = {
        {300, 200, -1, {0, 0}, {400, 300}},  {301, 203, -1, {20, 10}, {100, 60}},
        {300, 200, -2, {0, 0}, {400, 300}},  {1000, 700, -3, {17, 9}, {90, 50}},
        {1000, 700, -4, {0, 0}, {400, 300}}, {33, 17, -4, {0, 0}, {100, 100}},
        {15, 15, -4, {0, 0}, {50, 50}},  // shrinks to nothing
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.w << "x" << c.h << " at " << c.zoom);
        const ViewState s = stateOver(patternImage(c.w, c.h), 1, c.zoom, c.scroll);
        ReducedImageCache cache;
        const QImage direct = displayOf(s, c.client);
        EXPECT_EQ(displayOf(s, c.client, &cache), direct);
        EXPECT_EQ(displayOf(s, c.client, &cache), direct);  // from the kept copy
    }
}

TEST(ImageDisplay, ReducedCopyFollowsANewPictureAndLetsGoOfTheOld) {
    ViewState s = stateOver(patternImage(400, 300), 1, -2);
    ReducedImageCache cache;
    displayOf(s, {200, 200}, &cache);
    EXPECT_EQ(s.images.inputImage.u->refcount, 2);  // kept for the next repaint

    // A new picture (as every command makes one): the display follows it.
    s.images.inputImage = cv::Mat(300, 400, CV_8UC3, cv::Scalar(10, 200, 30));
    EXPECT_EQ(displayOf(s, {200, 200}, &cache), displayOf(s, {200, 200}));
    EXPECT_EQ(colourAt(displayOf(s, {200, 200}, &cache), 5, 5),
              pixelOf(s.images.inputImage, 0, 0));

    // At 1:1, or without a picture, nothing is kept.
    s.transform = {};
    displayOf(s, {200, 200}, &cache);
    EXPECT_EQ(s.images.inputImage.u->refcount, 1);
}

}  // namespace
}  // namespace qf
