#include "view/tools/zoom_pan.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

#include "tool_fixtures.h"
#include "view/paint/band_geometry.h"

namespace qf {
namespace {

using namespace tools_test;

// ---- wheel, zoom commands, scrolling ----

TEST(WheelZoom, StopsAtTheEndsOfTheRange) {
    ViewState s = viewOf({200, 150});
    for (int i = 0; i < 6; ++i) EXPECT_TRUE(wheelZoom(s, {10, 10}, 120, kClient).zoomed);
    EXPECT_EQ(s.transform.zoomShift, 6);
    const ToolResult seventh = wheelZoom(s, {10, 10}, 120, kClient);
    EXPECT_FALSE(seventh.zoomed);
    EXPECT_FALSE(seventh.repaintAll);
    EXPECT_EQ(s.transform.zoomShift, 6);

    ViewState t = viewOf({2000, 1500});
    for (int i = 0; i < 5; ++i) wheelZoom(t, {10, 10}, -120, kClient);
    EXPECT_EQ(t.transform.zoomShift, -4);
    EXPECT_EQ(t.transform.displaySize, (IntSize{125, 93}));
    EXPECT_EQ(t.transform.cellSize, (IntSize{1, 1}));
}

TEST(WheelZoom, DoesNothingOffTheImageOrWithoutDelta) {
    struct Case {
        IntPoint window;
        int32_t delta;
    } cases[] = {
        {{250, 10}, 120},   // right of a 200-wide image
        {{10, 200}, -120},  // below it
        {{-1, 10}, 120},    // outside the client
        {{10, 10}, 0},      // a wheel event without a vertical turn
    };
    for (const Case& c : cases) {
        ViewState s = viewOf({200, 150}, 0);
        const ToolResult r = wheelZoom(s, c.window, c.delta, kClient);
        EXPECT_EQ(s.transform.zoomShift, 0);
        EXPECT_FALSE(r.zoomed || r.scrolled || r.repaintAll);
    }
    ViewState none;
    EXPECT_FALSE(wheelZoom(none, {10, 10}, 120, kClient).zoomed);
}

TEST(WheelZoom, KeepsThePixelUnderThePointer) {
    ViewState s = viewOf({3000, 2000}, 0);
    s.transform.scrollPos = {500, 300};
    const IntPoint pointer{123, 77};
    const int32_t steps[] = {120, 120, 120, -120, -120, -120, -120, 120};
    for (int32_t delta : steps) {
        const int32_t zoom = s.transform.zoomShift;
        const IntPoint pixel = ImagePointOf(s.transform, pointer, kClient, {3000, 2000}).point;
        const ToolResult r = wheelZoom(s, pointer, delta, kClient);
        SCOPED_TRACE(zoom);
        EXPECT_TRUE(r.zoomed);
        EXPECT_TRUE(r.scrolled);
        const ImagePointResult now = ImagePointOf(s.transform, pointer, kClient, {3000, 2000});
        ASSERT_TRUE(now.ok);
        // Zoomed out, a window pixel spans several image pixels.
        const int32_t slack = s.transform.zoomShift < 0 ? (1 << -s.transform.zoomShift) : 1;
        EXPECT_LT(std::abs(now.point.x - pixel.x), slack);
        EXPECT_LT(std::abs(now.point.y - pixel.y), slack);
    }
}

TEST(WheelZoom, ScrollStaysWithinTheRange) {
    // Near the top-left the pointer's pixel cannot stay put: the scroll
    // position would have to go negative.
    ViewState s = viewOf({3000, 2000}, 0);
    wheelZoom(s, {5, 5}, 120, kClient);
    EXPECT_EQ(s.transform.scrollPos, (IntPoint{5, 5}));
    // A picture smaller than the client never scrolls.
    ViewState small = viewOf({100, 80}, 0);
    wheelZoom(small, {90, 70}, 120, kClient);
    EXPECT_EQ(small.transform.zoomShift, 1);
    EXPECT_EQ(small.transform.scrollPos, (IntPoint{0, 0}));
}

TEST(ZoomCommands, ClampTheScrollPositionToTheNewRange) {
    ViewState s = viewOf({1000, 800}, 1);
    s.transform.scrollPos = {1600, 1300};  // the limit at zoom 1
    EXPECT_EQ(scrollLimit(s.transform, kClient), (IntSize{1600, 1300}));
    const ToolResult r = zoomOut(s, kClient);
    EXPECT_TRUE(r.zoomed);
    EXPECT_TRUE(r.scrolled);
    EXPECT_EQ(s.transform.displaySize, (IntSize{1000, 800}));
    EXPECT_EQ(s.transform.scrollPos, (IntPoint{600, 500}));
    zoomIn(s, kClient);
    EXPECT_EQ(s.transform.zoomShift, 1);
    EXPECT_EQ(s.transform.cellSize, (IntSize{2, 2}));
    EXPECT_EQ(s.transform.scrollPos, (IntPoint{600, 500}));  // only clamped, not re-aimed

    ViewState none;
    EXPECT_FALSE(zoomIn(none, kClient).zoomed);
    EXPECT_EQ(none.transform.zoomShift, 0);
}

TEST(ZoomCommands, FitToWindowTakesTheLargestStepThatShowsTheWholePicture) {
    // The client is 400 x 300.
    const struct {
        IntSize image;
        int32_t from;
        int32_t fit;
    } cases[] = {
        {{8000, 6000}, 0, -4},  // nothing fits (500 x 375 at 1/16): the smallest step
        {{6400, 4800}, 2, -4},  // 400 x 300 exactly
        {{640, 480}, -3, -1},   // 320 x 240
        {{200, 150}, 0, 1},     // 400 x 300 at 2x
        {{30, 10}, 0, 3},       // 240 x 80 at 8x; 16x is too wide
        {{5, 4}, 0, 6},         // the largest step
        {{401, 10}, 3, -1},     // one pixel too wide at 1x
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.image.cx << " x " << c.image.cy);
        ViewState s = viewOf(c.image, c.from);
        s.transform.scrollPos = {7, 5};
        zoomToFit(s, kClient);
        EXPECT_EQ(s.transform.zoomShift, c.fit);
        EXPECT_EQ(s.transform.scrollPos, (IntPoint{0, 0}));
    }
    ViewState none;
    EXPECT_FALSE(zoomToFit(none, kClient).zoomed);
}

// ---- right button: panning and cancelling ----

TEST(Panning, MovesOnlyAlongAxesWhereTheImageFillsTheClient) {
    struct Case {
        IntSize image;
        IntPoint expected;  // scroll after dragging the picture 30 left and 20 up
    } cases[] = {
        {{300, 2000}, {0, 70}},  // narrower than the client: vertical only
        {{2000, 200}, {80, 0}},  // lower than the client: horizontal only
        {{2000, 2000}, {80, 70}},
        {{400, 300}, {0, 0}},  // exactly the client's size: may pan, nothing to scroll
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.image.cx);
        ViewState s = viewOf(c.image);
        s.transform.scrollPos = {50, 50};
        clampScroll(s.transform, kClient);
        const IntPoint start = s.transform.scrollPos;
        const ToolResult down = rightButtonDown(s, {200, 150}, kClient);
        EXPECT_EQ(down.cursor, ToolCursor::Pan);
        const ToolResult move = mouseMove(s, {170, 130}, {false, true}, kClient);
        EXPECT_EQ(s.transform.scrollPos, c.expected);
        EXPECT_EQ(move.scrolled, !(c.expected == start));
        EXPECT_EQ(s.transform.panAnchor, (IntPoint{170, 130}));
        rightButtonUp(s, {170, 130}, kClient);
        EXPECT_EQ(s.transform.panAnchor, kNoAnchor);
    }
}

TEST(Panning, ClampsAtTheScrollLimits) {
    ViewState s = viewOf({500, 400});
    rightButtonDown(s, {10, 10}, kClient);
    mouseMove(s, {-390, 10}, {false, true}, kClient);  // outside the client: no pan
    EXPECT_EQ(s.transform.scrollPos, (IntPoint{0, 0}));
    mouseMove(s, {0, 0}, {false, true}, kClient);
    EXPECT_EQ(s.transform.scrollPos, (IntPoint{10, 10}));
    rightButtonDown(s, {399, 299}, kClient);
    mouseMove(s, {0, 0}, {false, true}, kClient);
    EXPECT_EQ(s.transform.scrollPos, (IntPoint{100, 100}));
}

TEST(Panning, RightPressCancelsALeftDrag) {
    // Graph rectangle: the release after the cancel changes nothing.
    ViewState g = graphRectTool();
    const IntRect axis = g.doc.axis.axisRect;
    leftButtonDown(g, centreOf(g, {55, 20}), kClient);  // the axis rectangle's left edge line
    mouseMove(g, centreOf(g, {70, 20}), {true, false}, kClient);
    const IntRect band = rubberBandArea(g);
    const ToolResult cancel = rightButtonDown(g, {0, 0}, kClient);
    EXPECT_EQ(g.drag.dragActive, 0);
    EXPECT_EQ(g.drag.dragPending, 0);
    ASSERT_EQ(cancel.repaintRects.size(), 1u);  // the band's area goes
    EXPECT_EQ(cancel.repaintRects[0], band);
    EXPECT_TRUE(rubberBandLines(g).empty());
    const ToolResult up = leftButtonUp(g, centreOf(g, {70, 20}), kClient);
    EXPECT_EQ(g.doc.axis.axisRect, axis);
    EXPECT_FALSE(up.pane.refreshAll);

    // Erase region: still pending (no move yet) and after a move.
    for (bool moved : {false, true}) {
        ViewState e = eraseTool();
        addSourcePoint(e.doc.current().points, {15, 15});
        leftButtonDown(e, {5, 5}, kClient);
        if (moved) mouseMove(e, {25, 25}, {true, false}, kClient);
        rightButtonDown(e, {0, 0}, kClient);
        mouseMove(e, {25, 25}, {true, false}, kClient);
        leftButtonUp(e, {25, 25}, kClient);
        EXPECT_EQ(e.pointCount(), 1);
    }
}

}  // namespace
}  // namespace qf
