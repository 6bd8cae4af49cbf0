#include "common/view_transform.h"

#include <gtest/gtest.h>

namespace qf {
namespace {

ViewTransform viewAt(int32_t zoomShift, IntPoint scroll = {}) {
    ViewTransform v;
    v.zoomShift = zoomShift;
    v.scrollPos = scroll;
    v.cellSize = {cellSizeFor(zoomShift), cellSizeFor(zoomShift)};
    return v;
}

struct PointCase {
    int32_t zoom;
    IntPoint scroll;
    IntPoint window;
    IntSize image;
    bool ok;
    IntPoint pixel;
};

TEST(ViewTransform, ImagePointOfShiftsByZoomAndFailsOffTheImage) {
    const IntSize client{400, 300};
    const PointCase cases[] = {
        {2, {0, 0}, {5, 9}, {100, 100}, true, {1, 2}},
        {-2, {0, 0}, {5, 9}, {21, 37}, true, {20, 36}},
        {-2, {0, 0}, {5, 9}, {20, 37}, false, {0, 0}},
        {-2, {0, 0}, {5, 9}, {21, 36}, false, {0, 0}},
        {0, {30, 40}, {5, 9}, {100, 100}, true, {35, 49}},
        {1, {30, 40}, {5, 9}, {100, 100}, true, {17, 24}},
        {0, {0, 0}, {-1, 5}, {100, 100}, false, {0, 0}},     // left of the client area
        {0, {0, 0}, {400, 5}, {1000, 1000}, false, {0, 0}},  // right edge is exclusive
        {0, {0, 0}, {5, 5}, {0, 0}, false, {0, 0}},          // no image
    };
    for (const PointCase& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << "z=" << c.zoom << " window (" << c.window.x << ", " << c.window.y << ")");
        const ImagePointResult r =
            ImagePointOf(viewAt(c.zoom, c.scroll), c.window, client, c.image);
        EXPECT_EQ(r.ok, c.ok);
        EXPECT_EQ(r.point, c.pixel);
    }
}

TEST(ViewTransform, ClampedImagePointOfClampsOntoTheImage) {
    const IntSize image{50, 40};
    const PointCase cases[] = {
        {0, {0, 0}, {500, 10}, image, true, {49, 10}}, {0, {0, 0}, {-7, 100}, image, true, {0, 39}},
        {-1, {0, 0}, {-7, -3}, image, true, {0, 0}},   {2, {0, 0}, {9, 13}, image, true, {2, 3}},
        {0, {0, 0}, {5, 5}, {0, 40}, false, {0, 0}},
    };
    for (const PointCase& c : cases) {
        SCOPED_TRACE(testing::Message() << "window (" << c.window.x << ", " << c.window.y << ")");
        const ImagePointResult r = ClampedImagePointOf(viewAt(c.zoom, c.scroll), c.window, c.image);
        EXPECT_EQ(r.ok, c.ok);
        EXPECT_EQ(r.point, c.pixel);
    }
}

TEST(ViewTransform, CellRectAndCentre) {
    struct Case {
        int32_t zoom;
        IntPoint scroll;
        IntPoint pixel;
        IntRect cell;
        IntPoint centre;
    };
    const Case cases[] = {
        {2, {0, 0}, {1, 2}, {4, 8, 8, 12}, {6, 10}},
        {3, {0, 0}, {2, 1}, {16, 8, 24, 16}, {20, 12}},  // centre 4 into an 8 x 8 cell
        {0, {0, 0}, {55, 55}, {55, 55, 56, 56}, {55, 55}},
        {-1, {0, 0}, {41, 30}, {20, 15, 21, 16}, {20, 15}},
        {2, {40, 100}, {55, 55}, {180, 120, 184, 124}, {182, 122}},
        // Halving truncates toward zero: a cell at -3..-2 has its centre at -2.
        {0, {10, 10}, {7, 7}, {-3, -3, -2, -2}, {-2, -2}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << "z=" << c.zoom << " pixel (" << c.pixel.x << ", " << c.pixel.y << ")");
        const ViewTransform v = viewAt(c.zoom, c.scroll);
        EXPECT_EQ(CellRectOf(v, c.pixel), c.cell);
        EXPECT_EQ(CellCentreOf(v, c.pixel), c.centre);
        EXPECT_EQ(pixelCentreOf(v, c.pixel),
                  (IntPoint{c.centre.x + c.scroll.x, c.centre.y + c.scroll.y}));
    }
}

TEST(ViewTransform, SpanRectCoversBothCellsInEitherOrder) {
    const ViewTransform v = viewAt(1, {1, 0});
    EXPECT_EQ(SpanRectOf(v, {3, 1}, {1, 4}), (IntRect{1, 2, 7, 10}));
    EXPECT_EQ(SpanRectOf(v, {1, 4}, {3, 1}), (IntRect{1, 2, 7, 10}));
    EXPECT_EQ(SpanRectOf(v, {2, 2}, {2, 2}), CellRectOf(v, {2, 2}));
}

TEST(ViewTransform, ScrollSizes) {
    struct Case {
        int32_t zoom;
        IntSize image;
        IntSize total, page, line, cell;
    };
    const Case cases[] = {
        {1, {1000, 800}, {2000, 1600}, {125, 100}, {2, 2}, {2, 2}},
        {-4, {20, 10}, {1, 0}, {1, 1}, {1, 1}, {1, 1}},
        {-4, {10, 10}, {0, 0}, {1, 1}, {1, 1}, {1, 1}},
        {6, {10, 3}, {640, 192}, {64, 64}, {64, 64}, {64, 64}},
        {0, {320, 48}, {320, 48}, {20, 3}, {1, 1}, {1, 1}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << "z=" << c.zoom << " image " << c.image.cx << "x" << c.image.cy);
        const ScrollSizes s = scrollSizesFor(c.zoom, c.image);
        EXPECT_EQ(s.total, c.total);
        EXPECT_EQ(s.page, c.page);
        EXPECT_EQ(s.line, c.line);
        EXPECT_EQ(s.cell, c.cell);
    }
}

TEST(ViewTransform, VisibleImageRectEndsAtTheCentreOfTheLastPixel) {
    EXPECT_EQ(visibleImageRect(viewAt(0), {160, 120}), (IntRect{0, 0, 159, 119}));
    // Last pixel (159, 119) -> cell (596, 376)..(600, 380) in the window.
    EXPECT_EQ(visibleImageRect(viewAt(2, {40, 100}), {160, 120}), (IntRect{40, 100, 638, 478}));
    EXPECT_EQ(visibleImageRect(viewAt(-1), {160, 120}), (IntRect{0, 0, 79, 59}));
}

}  // namespace
}  // namespace qf
