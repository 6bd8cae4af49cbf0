#include "view/tools/mouse_tools.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "imaging/mapping.h"

namespace qf {
namespace {

constexpr IntSize kClient{400, 300};
constexpr IntPoint kNoAnchor{-1, -1};

enum class Shown { Input = 1, Output = 2 };

// A view showing a w x h picture at zoom z, scrolled to the top-left.
ViewState viewOf(IntSize image, int32_t zoom = 0, Shown shown = Shown::Input) {
    ViewState s;
    s.images.inputImage = cv::Mat(image.cy, image.cx, CV_8UC3, cv::Scalar(255, 255, 255));
    s.images.outputImage = s.images.inputImage.clone();
    s.display.displaySource = static_cast<int>(shown);
    s.display.currentImage = shown == Shown::Output ? CurrentImage::Output : CurrentImage::Input;
    s.transform.zoomShift = zoom;
    const ScrollSizes sizes = scrollSizesFor(zoom, image);
    s.transform.displaySize = sizes.total;
    s.transform.cellSize = sizes.cell;
    return s;
}

ViewState withTool(Shown shown, void (*set)(InteractionMode&), IntSize image = {200, 150},
                   int32_t zoom = 0) {
    ViewState s = viewOf(image, zoom, shown);
    s.tools.clear();
    set(s.tools);
    return s;
}

ViewState cornerTool(IntSize image = {200, 150}, int32_t zoom = 0) {
    return withTool(
        Shown::Input, [](InteractionMode& m) { m.cornerMode = 1; }, image, zoom);
}
ViewState graphRectTool(IntSize image = {200, 150}, int32_t zoom = 0) {
    return withTool(
        Shown::Output, [](InteractionMode& m) { m.graphRectMode = 1; }, image, zoom);
}
ViewState addTool(IntSize image = {200, 150}, int32_t zoom = 0) {
    return withTool(
        Shown::Output, [](InteractionMode& m) { m.addPointsMode = 1; }, image, zoom);
}
ViewState eraseTool(IntSize image = {200, 150}, int32_t zoom = 0) {
    return withTool(
        Shown::Output, [](InteractionMode& m) { m.erasePointsMode = 1; }, image, zoom);
}

IntPoint centreOf(const ViewState& s, IntPoint image) {
    return CellCentreOf(s.transform, image);
}

// Press at one pixel's centre, move through the others' centres, release at
// the last.
ToolResult dragPixels(ViewState& s, IntPoint from, std::initializer_list<IntPoint> through,
                      IntSize client = kClient) {
    leftButtonDown(s, centreOf(s, from), client);
    IntPoint last = from;
    for (IntPoint p : through) {
        mouseMove(s, centreOf(s, p), {true, false}, client);
        last = p;
    }
    return leftButtonUp(s, centreOf(s, last), client);
}

// ---- conversions the tools rely on ----

TEST(ToolConversions, PressesLandOnTheShiftedPixel) {
    struct Case {
        int32_t zoom;
        IntSize image;
        IntPoint window;
        bool ok;
        IntPoint pixel;
    } cases[] = {
        {2, {200, 150}, {5, 9}, true, {1, 2}},
        {-2, {200, 150}, {5, 9}, true, {20, 36}},
        {-2, {21, 37}, {5, 9}, true, {20, 36}},
        {-2, {20, 37}, {5, 9}, false, {0, 0}},  // one column short
        {-2, {21, 36}, {5, 9}, false, {0, 0}},  // one row short
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.zoom);
        const ViewState s = viewOf(c.image, c.zoom);
        const ImagePointResult r = ImagePointOf(s.transform, c.window, kClient, c.image);
        EXPECT_EQ(r.ok, c.ok);
        EXPECT_EQ(r.point, c.pixel);
    }
    const ViewState z2 = viewOf({200, 150}, 2);
    EXPECT_EQ(CellRectOf(z2.transform, {1, 2}), (IntRect{4, 8, 8, 12}));
    EXPECT_EQ(ClampedImagePointOf(z2.transform, {1000, 5}, {200, 150}).point, (IntPoint{199, 1}));
}

TEST(ToolConversions, AddToolStoresThePressedPixelAtEveryZoom) {
    struct Case {
        int32_t zoom;
        IntPoint scroll;
        IntPoint window;
        IntPoint pixel;
    } cases[] = {
        {2, {0, 0}, {5, 9}, {1, 2}},    {2, {40, 80}, {5, 9}, {11, 22}},
        {-2, {0, 0}, {5, 9}, {20, 36}}, {-2, {10, 3}, {5, 9}, {60, 48}},
        {0, {7, 0}, {5, 9}, {12, 9}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.zoom);
        ViewState s = addTool({400, 300}, c.zoom);
        s.transform.scrollPos = c.scroll;
        leftButtonDown(s, c.window, kClient);
        ASSERT_EQ(s.points.pointCount, 1);
        EXPECT_EQ(s.points.points[0], (SourcePoint{c.pixel.x, c.pixel.y}));
    }
}

TEST(ToolConversions, BoxesAreTenWindowPixelsHalfOpen) {
    EXPECT_EQ(handleBox({40, 40}), (IntRect{35, 35, 45, 45}));
    struct Case {
        int32_t zoom;
        IntRect box;
    } cases[] = {
        {0, {5, 15, 15, 25}},       // cell 1 x 1, centre (10, 20)
        {2, {37, 77, 47, 87}},      // cell 4 x 4 at (40, 80), centre (42, 82)
        {4, {160, 320, 176, 336}},  // cell 16 x 16 is big enough by itself
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.zoom);
        const ViewState s = viewOf({200, 150}, c.zoom);
        EXPECT_EQ(hitBoxOf(s.transform, {10, 20}), c.box);
    }
}

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
        {{8000, 6000}, 0, -4},      // nothing fits (500 x 375 at 1/16): the smallest step
        {{6400, 4800}, 2, -4},      // 400 x 300 exactly
        {{640, 480}, -3, -1},       // 320 x 240
        {{200, 150}, 0, 1},         // 400 x 300 at 2x
        {{30, 10}, 0, 3},           // 240 x 80 at 8x; 16x is too wide
        {{5, 4}, 0, 6},             // the largest step
        {{401, 10}, 3, -1},         // one pixel too wide at 1x
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

TEST(PointerStatus, NamesThePixelTheAxisValuesAndTheZoom) {
    ViewState s = viewOf({200, 150}, 1);
    s.axis.axisRect = {20, 30, 120, 130};  // X 0..1 over h 20..120, Y 0..1 over v 130..30
    s.axis.xMax = 10;
    const struct {
        std::optional<IntPoint> pointer;
        int32_t yLog;
        const char* text;
    } cases[] = {
        {IntPoint{40, 260}, 0, "(20, 130)   X 0   Y 0   倍率 200%"},
        {IntPoint{141, 61}, 0, "(70, 30)   X 5   Y 1   倍率 200%"},
        {IntPoint{141, 61}, 1, "(70, 30)   X 5   Y <?> (対数)   倍率 200%"},  // log of 0..1
        {std::nullopt, 0, "倍率 200%"},
        {IntPoint{405, 10}, 0, "倍率 200%"},  // beside the picture
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        s.axis.yLog = c.yLog;
        EXPECT_EQ(pointerStatusText(s, c.pointer, kClient), c.text);
    }
    s.transform.zoomShift = -4;
    EXPECT_EQ(pointerStatusText(s, std::nullopt, kClient), "倍率 6.25%");
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
        EXPECT_EQ(down.capture, MouseCapture::Grab);
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
    const IntRect axis = g.axis.axisRect;
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
    EXPECT_EQ(g.axis.axisRect, axis);
    EXPECT_FALSE(up.pane.refreshAll);

    // Erase region: still pending (no move yet) and after a move.
    for (bool moved : {false, true}) {
        ViewState e = eraseTool();
        e.points.add({15, 15});
        leftButtonDown(e, {5, 5}, kClient);
        if (moved) mouseMove(e, {25, 25}, {true, false}, kClient);
        rightButtonDown(e, {0, 0}, kClient);
        mouseMove(e, {25, 25}, {true, false}, kClient);
        leftButtonUp(e, {25, 25}, kClient);
        EXPECT_EQ(e.points.pointCount, 1);
    }
}

// ---- corner tool ----

TEST(CornerTool, GrabBoxAroundTheCellCentre) {
    struct Case {
        IntPoint offset;
        bool grabs;
    } cases[] = {
        {{-5, -5}, true}, {{4, 4}, true},  {{4, -5}, true},  {{0, 0}, true},
        {{5, 0}, false},  {{0, 5}, false}, {{-6, 0}, false}, {{0, -6}, false},
    };
    for (int32_t zoom : {0, 2}) {
        for (const Case& c : cases) {
            SCOPED_TRACE(testing::Message() << zoom << " " << c.offset.x << "," << c.offset.y);
            ViewState s = cornerTool({200, 150}, zoom);
            const IntPoint centre = centreOf(s, s.mapping.geometry.corners[0]);  // (40, 40)
            const ToolResult r =
                leftButtonDown(s, {centre.x + c.offset.x, centre.y + c.offset.y}, kClient);
            EXPECT_EQ(s.drag.selectedCorner, c.grabs ? 1 : 0);
            EXPECT_EQ(s.drag.dragActive, c.grabs ? 1 : 0);
            EXPECT_EQ(r.capture, c.grabs ? MouseCapture::Grab : MouseCapture::Keep);
            EXPECT_EQ(r.cursor, ToolCursor::Cross);  // over the image, hit or not
        }
    }
}

TEST(CornerTool, GrabbedCornerJumpsOnThePressAndOthersStayOnTheImage) {
    ViewState s = cornerTool({200, 150});
    s.mapping.geometry.corners = {{{-3, -7}, {120, 40}, {250, 180}, {40, 100}}};
    // Corner 1 (index 0) at (-3, -7) is left of the client, so take corner 4.
    const ToolResult r = leftButtonDown(s, {42, 97}, kClient);
    EXPECT_EQ(s.drag.selectedCorner, 4);
    EXPECT_TRUE(r.repaintAll);
    const Quad expected{{{0, 0}, {120, 40}, {200, 150}, {42, 97}}};  // clamped to width, height
    EXPECT_EQ(s.mapping.geometry.corners, expected);

    // Released without a move: the jump stays and the guide follows it.
    MappingQuad reference = s.mapping;
    updateInnerQuad(reference);
    leftButtonUp(s, {42, 97}, kClient);
    EXPECT_EQ(s.mapping.geometry.corners, expected);
    EXPECT_EQ(s.mapping.innerQuad, reference.innerQuad);
    EXPECT_EQ(s.drag.dragActive, 0);
}

TEST(CornerTool, DragMovesTheCornerOnReleaseAndRecomputesTheGuide) {
    ViewState s = cornerTool({200, 150}, 1);
    dragPixels(s, {120, 100}, {{150, 120}, {170, 130}});
    EXPECT_EQ(s.mapping.geometry.corners[2], (IntPoint{170, 130}));
    const Quad corners{{{40, 40}, {120, 40}, {170, 130}, {40, 100}}};
    EXPECT_EQ(s.mapping.innerQuad, *computeInnerQuad(corners, 40.0 / 80, 40.0 / 60));
    EXPECT_EQ(s.drag.leftDownPoint, kNoAnchor);
    EXPECT_EQ(s.drag.dragCurrent, (IntPoint{0, 0}));
    EXPECT_EQ(s.drag.selectedCorner, 3);  // kept until the next press
}

TEST(CornerTool, BandShowsTheMovedQuadrilateralAndItsGuide) {
    ViewState s = cornerTool();
    leftButtonDown(s, {120, 40}, kClient);
    EXPECT_TRUE(rubberBandLines(s).empty());  // nothing drawn before the first move
    const ToolResult first = mouseMove(s, {130, 30}, {true, false}, kClient);
    const auto lines = rubberBandLines(s);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0],
              (std::vector<IntPoint>{{40, 40}, {130, 30}, {120, 100}, {40, 100}, {40, 40}}));
    EXPECT_EQ(lines[1].size(), 5u);
    ASSERT_EQ(first.repaintRects.size(), 1u);
    EXPECT_EQ(first.repaintRects[0], (IntRect{38, 28, 133, 103}));
    const ToolResult second = mouseMove(s, {140, 40}, {true, false}, kClient);
    ASSERT_EQ(second.repaintRects.size(), 2u);  // the previous band, then the new one
    EXPECT_EQ(second.repaintRects[0], first.repaintRects[0]);
    leftButtonUp(s, {140, 40}, kClient);
    EXPECT_TRUE(rubberBandLines(s).empty());
}

TEST(CornerTool, OnlyWhileTheInputImageIsShown) {
    ViewState s = cornerTool();
    for (int source : {2, 0}) {
        s.display.displaySource = source;
        leftButtonDown(s, {120, 40}, kClient);
        EXPECT_EQ(s.drag.dragActive, 0);
        EXPECT_EQ(s.mapping.geometry.corners[1], (IntPoint{120, 40}));
    }
    s.display.displaySource = 1;
    leftButtonDown(s, {121, 41}, kClient);
    EXPECT_EQ(s.drag.dragActive, 1);
    EXPECT_EQ(s.mapping.geometry.corners[1], (IntPoint{121, 41}));
}

TEST(CornerTool, PressRecordsTheWindowPointButNothingElseOffTheImage) {
    ViewState s = cornerTool({100, 80});
    const ToolResult beside = leftButtonDown(s, {150, 40}, kClient);
    EXPECT_EQ(s.drag.leftDownPoint, (IntPoint{150, 40}));
    EXPECT_TRUE(beside.takeFocus);
    EXPECT_EQ(beside.cursor, ToolCursor::Unchanged);
    const ToolResult outside = leftButtonDown(s, {450, 40}, kClient);
    EXPECT_EQ(s.drag.leftDownPoint, (IntPoint{450, 40}));
    EXPECT_FALSE(outside.takeFocus);
    EXPECT_EQ(s.drag.dragActive, 0);
}

// ---- graph-rectangle tool ----
// Graph rectangle (40, 40, 120, 100), axis rectangle (55, 55, 105, 85).

TEST(GraphRectTool, HandlesAndTheirPriority) {
    struct Case {
        const char* what;
        IntPoint window;
        int32_t handle;
        ToolCursor cursor;
    } cases[] = {
        {"top-left corner", {40, 40}, 1, ToolCursor::Cross},
        {"top-right corner", {124, 36}, 2, ToolCursor::Cross},
        {"bottom-right corner", {120, 100}, 3, ToolCursor::Cross},
        {"bottom-left corner", {36, 104}, 4, ToolCursor::Cross},
        {"left edge", {58, 70}, 5, ToolCursor::VerticalEdge},
        {"left edge line far above", {55, 5}, 5, ToolCursor::VerticalEdge},
        {"right edge line far below", {101, 140}, 6, ToolCursor::VerticalEdge},
        {"bottom edge line far right", {190, 85}, 7, ToolCursor::HorizontalEdge},
        {"top edge", {80, 50}, 8, ToolCursor::HorizontalEdge},
        {"inside, near nothing", {80, 70}, 0, ToolCursor::Cross},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ViewState s = graphRectTool();
        const ToolResult r = leftButtonDown(s, c.window, kClient);
        EXPECT_EQ(s.drag.selectedHandle, c.handle);
        EXPECT_EQ(r.cursor, c.cursor);
        EXPECT_EQ(s.drag.dragActive, c.handle != 0 ? 1 : 0);
        EXPECT_EQ(r.capture, c.handle != 0 ? MouseCapture::Grab : MouseCapture::Keep);
        EXPECT_EQ(s.mapping.geometry.graphRect, (IntRect{40, 40, 120, 100}));  // nothing moves yet
    }

    // Near both a graph corner and an axis edge, the edge wins.
    ViewState s = graphRectTool();
    s.axis.axisRect = {44, 55, 105, 85};
    leftButtonDown(s, {40, 40}, kClient);
    EXPECT_EQ(s.drag.selectedHandle, 5);
}

TEST(GraphRectTool, EdgeTestDoesNotReachBeyondThePointer) {
    // Scrolled right, a press at the window's left border is far from the
    // left axis edge, which is off screen.
    ViewState s = graphRectTool({2000, 1500});
    s.mapping.geometry.graphRect = {40, 40, 1900, 1400};
    s.axis.axisRect = {55, 55, 1800, 1300};
    s.transform.scrollPos = {500, 500};
    leftButtonDown(s, {2, 100}, kClient);
    EXPECT_EQ(s.drag.selectedHandle, 0);
    leftButtonUp(s, {2, 100}, kClient);
    // Scrolled back so the edge is on screen, it is taken as usual.
    s.transform.scrollPos = {0, 500};
    leftButtonDown(s, {57, 100}, kClient);
    EXPECT_EQ(s.drag.selectedHandle, 5);
}

TEST(GraphRectTool, HoverCursorNamesTheEdgeUnderThePointer) {
    struct Case {
        IntPoint window;
        ToolCursor cursor;
    } cases[] = {
        {{53, 70}, ToolCursor::VerticalEdge},   {{109, 10}, ToolCursor::VerticalEdge},
        {{80, 89}, ToolCursor::HorizontalEdge}, {{80, 70}, ToolCursor::Arrow},
        {{40, 40}, ToolCursor::Arrow},  // a corner shows no special cursor
    };
    for (const Case& c : cases) {
        ViewState s = graphRectTool();
        EXPECT_EQ(mouseMove(s, c.window, {}, kClient).cursor, c.cursor);
    }
}

TEST(GraphRectTool, LimitsKeepTenWindowPixelsAtZoomZeroAndTwo) {
    struct Case {
        const char* what;
        int32_t zoom;
        IntPoint from;    // image pixel pressed
        IntPoint target;  // image pixel the pointer goes to
        IntRect graph;
        IntRect axis;
    } cases[] = {
        // Corners pulled deep inside stop 10 window pixels outside the axis edges.
        {"top-left in, zoom 0", 0, {40, 40}, {80, 70}, {45, 45, 120, 100}, {55, 55, 105, 85}},
        {"top-left in, zoom 2", 2, {40, 40}, {80, 70}, {53, 53, 120, 100}, {55, 55, 105, 85}},
        {"bottom-right in, zoom 0", 0, {120, 100}, {80, 70}, {40, 40, 115, 95}, {55, 55, 105, 85}},
        {"bottom-right in, zoom 2", 2, {120, 100}, {80, 70}, {40, 40, 108, 88}, {55, 55, 105, 85}},
        // ... and 10 window pixels from the window's top-left ...
        {"top-left out, zoom 0", 0, {40, 40}, {0, 0}, {10, 10, 120, 100}, {55, 55, 105, 85}},
        {"top-left out, zoom 2", 2, {40, 40}, {0, 0}, {2, 2, 120, 100}, {55, 55, 105, 85}},
        // ... and inside the last image column and row.
        {"bottom-right out, zoom 0",
         0,
         {120, 100},
         {199, 149},
         {40, 40, 189, 139},
         {55, 55, 105, 85}},
        {"bottom-right out, zoom 2",
         2,
         {120, 100},
         {199, 149},
         {40, 40, 197, 147},
         {55, 55, 105, 85}},
        // Axis edges keep away from the opposite edge and from the graph rectangle.
        {"left edge right, zoom 0", 0, {55, 70}, {150, 70}, {40, 40, 120, 100}, {95, 55, 105, 85}},
        {"left edge left, zoom 0", 0, {55, 70}, {0, 70}, {40, 40, 120, 100}, {50, 55, 105, 85}},
        {"left edge right, zoom 2", 2, {55, 70}, {150, 70}, {40, 40, 120, 100}, {103, 55, 105, 85}},
        {"right edge left, zoom 0", 0, {105, 70}, {0, 70}, {40, 40, 120, 100}, {55, 55, 65, 85}},
        {"bottom edge up, zoom 0", 0, {80, 85}, {80, 0}, {40, 40, 120, 100}, {55, 55, 105, 65}},
        {"bottom edge down, zoom 2", 2, {80, 85}, {80, 149}, {40, 40, 120, 100}, {55, 55, 105, 98}},
        {"top edge up, zoom 0", 0, {80, 55}, {80, 0}, {40, 40, 120, 100}, {55, 50, 105, 85}},
        {"free move, zoom 0", 0, {55, 70}, {60, 70}, {40, 40, 120, 100}, {60, 55, 105, 85}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ViewState s = graphRectTool({200, 150}, c.zoom);
        dragPixels(s, c.from, {c.from, c.target}, {1000, 800});
        EXPECT_EQ(s.mapping.geometry.graphRect, c.graph);
        EXPECT_EQ(s.axis.axisRect, c.axis);
    }
}

TEST(GraphRectTool, SingleJumpIsLimitedLikeEveryOtherMove) {
    ViewState s = graphRectTool();
    leftButtonDown(s, {55, 70}, kClient);  // left axis edge
    const ToolResult move = mouseMove(s, {180, 70}, {true, false}, kClient);
    EXPECT_EQ(move.cursor, ToolCursor::VerticalEdge);
    EXPECT_EQ(s.drag.dragCurrent, (IntPoint{95, 70}));
    const ToolResult up = leftButtonUp(s, {180, 70}, kClient);
    EXPECT_EQ(s.axis.axisRect, (IntRect{95, 55, 105, 85}));
    EXPECT_TRUE(up.pane.refreshAll);
    EXPECT_EQ(up.capture, MouseCapture::Release);
    EXPECT_TRUE(up.repaintAll);
}

TEST(GraphRectTool, PressAndReleaseWithoutMoveChangesNothing) {
    ViewState s = graphRectTool();
    leftButtonDown(s, {40, 40}, kClient);
    const ToolResult up = leftButtonUp(s, {40, 40}, kClient);
    EXPECT_EQ(s.mapping.geometry.graphRect, (IntRect{40, 40, 120, 100}));
    EXPECT_FALSE(up.pane.refreshAll);
    EXPECT_EQ(s.drag.selectedHandle, 1);
}

TEST(GraphRectTool, BandsFollowTheHandle) {
    ViewState s = graphRectTool();
    leftButtonDown(s, {40, 40}, kClient);
    mouseMove(s, {30, 20}, {true, false}, kClient);
    EXPECT_EQ(rubberBandLines(s), (std::vector<std::vector<IntPoint>>{
                                      {{30, 20}, {120, 20}, {120, 100}, {30, 100}, {30, 20}}}));
    leftButtonUp(s, {30, 20}, kClient);

    leftButtonDown(s, {80, 85}, kClient);  // bottom axis edge
    mouseMove(s, {300, 80}, {true, false}, kClient);
    EXPECT_EQ(rubberBandLines(s), (std::vector<std::vector<IntPoint>>{{{30, 80}, {120, 80}}}));
}

// ---- add tool ----

TEST(AddTool, RefusesTheBorderRowsAndColumns) {
    const IntPoint refused[] = {{0, 50}, {199, 50}, {50, 0}, {50, 149}, {0, 0}, {199, 149}};
    for (IntPoint p : refused) {
        SCOPED_TRACE(testing::Message() << p.x << "," << p.y);
        for (int32_t zoom : {0, 2}) {
            ViewState s = addTool({200, 150}, zoom);
            s.transform.scrollPos = {std::max(0, p.x * (zoom == 2 ? 4 : 1) - 200),
                                       std::max(0, p.y * (zoom == 2 ? 4 : 1) - 150)};
            const ToolResult r = leftButtonDown(s, centreOf(s, p), kClient);
            EXPECT_EQ(s.points.pointCount, 0);
            EXPECT_EQ(r.pane.addedRow, -1);
        }
    }
    const IntPoint accepted[] = {{1, 1}, {198, 148}, {1, 148}};
    for (IntPoint p : accepted) {
        ViewState s = addTool();
        leftButtonDown(s, p, kClient);
        EXPECT_EQ(s.points.pointCount, 1);
    }
}

TEST(AddTool, AppendsAndSelectsTheNewRow) {
    ViewState s = addTool();
    leftButtonDown(s, {30, 40}, kClient);
    const ToolResult r = leftButtonDown(s, {60, 40}, kClient);
    ASSERT_EQ(s.points.pointCount, 2);
    EXPECT_EQ(s.points.points[1], (SourcePoint{60, 40}));
    EXPECT_EQ(r.pane.addedRow, 1);
    EXPECT_EQ(s.points.selectedPoint, 1);
    EXPECT_TRUE(r.repaintAll);
    EXPECT_EQ(r.capture, MouseCapture::Keep);  // no drag
    EXPECT_EQ(s.drag.dragActive, 0);
}

TEST(AddTool, PressOnAnExistingPointSelectsIt) {
    struct Case {
        int32_t zoom;
        IntPoint offset;  // window pixels from the point's cell centre
        bool selects;
    } cases[] = {
        {0, {-5, -5}, true}, {0, {4, 4}, true},  {0, {5, 0}, false},
        {0, {0, -6}, false}, {2, {-5, 4}, true}, {2, {5, 0}, false},
        {4, {-8, -8}, true}, {4, {7, 7}, true},  {4, {8, 0}, false},  // the 16-pixel cell itself
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.zoom << " " << c.offset.x << "," << c.offset.y);
        ViewState s = addTool({200, 150}, c.zoom);
        s.points.add({10, 12});
        s.points.add({20, 12});
        const IntPoint centre = centreOf(s, {20, 12});
        const ToolResult r =
            leftButtonDown(s, {centre.x + c.offset.x, centre.y + c.offset.y}, kClient);
        EXPECT_EQ(s.points.pointCount, c.selects ? 2 : 3);
        EXPECT_EQ(r.pane.selectRow, c.selects ? 1 : -1);
        EXPECT_EQ(s.points.selectedPoint, c.selects ? 1 : 2);
    }
}

TEST(AddTool, FullListIgnoresTheClick) {
    ViewState s = addTool({400, 300});
    for (int i = 0; i < kMaxSourcePoints; ++i) s.points.add({1 + i % 16 * 20, 1 + i / 16 * 15});
    const ToolResult r = leftButtonDown(s, {395, 290}, kClient);
    EXPECT_EQ(s.points.pointCount, kMaxSourcePoints);
    EXPECT_EQ(r.pane.addedRow, -1);
    EXPECT_FALSE(r.repaintAll);
}

// ---- erase tool ----

TEST(EraseTool, PressRemovesEveryPointUnderIt) {
    ViewState s = eraseTool();
    s.points.add({50, 50});
    s.points.add({80, 80});
    s.points.add({52, 51});  // overlaps the first at zoom 0
    s.points.add({50, 50});
    const ToolResult r = leftButtonDown(s, {51, 50}, kClient);
    ASSERT_EQ(s.points.pointCount, 1);
    EXPECT_EQ(s.points.points[0], (SourcePoint{80, 80}));
    EXPECT_EQ(r.pane.removedRows, (std::vector<int32_t>{0, 1, 1}));
    EXPECT_EQ(r.pane.ensureVisibleRow, 1);
    EXPECT_TRUE(r.repaintAll);
    EXPECT_EQ(r.capture, MouseCapture::Keep);

    // Press and release without a move: only what was under the press goes.
    leftButtonUp(s, {51, 50}, kClient);
    EXPECT_EQ(s.points.pointCount, 1);
}

TEST(EraseTool, RegionRemovesOnlyPointsStrictlyInside) {
    // At zoom 2 the presses at (10, 10) and (20, 20) hit few points.
    ViewState s = eraseTool({200, 150}, 2);
    const SourcePoint points[] = {{15, 15}, {10, 15}, {20, 15}, {15, 10}, {15, 20},
                                  {11, 12}, {19, 19}, {10, 20}, {25, 15}};
    for (SourcePoint p : points) s.points.add(p);
    const std::vector<SourcePoint> kept{{10, 15}, {20, 15}, {15, 10}, {15, 20}, {10, 20}, {25, 15}};
    for (auto [from, to] : {std::pair{IntPoint{10, 10}, IntPoint{20, 20}},
                            std::pair{IntPoint{20, 20}, IntPoint{10, 10}}}) {
        ViewState t = s;
        const ToolResult up = dragPixels(t, from, {{17, 17}, to});
        const std::vector<SourcePoint> left(t.points.points.begin(),
                                            t.points.points.begin() + t.points.pointCount);
        EXPECT_EQ(left, kept);
        EXPECT_EQ(up.pane.ensureVisibleRow, -1);
        EXPECT_TRUE(up.repaintAll);
        if (from == IntPoint{10, 10}) {
            EXPECT_EQ(up.pane.removedRows, (std::vector<int32_t>{0, 4, 4}));
        } else {
            // (19, 19) went with the press on (20, 20).
            EXPECT_EQ(up.pane.removedRows, (std::vector<int32_t>{0, 4}));
        }
    }
}

TEST(EraseTool, RegionNeedsAPressInsideTheInnerArea) {
    ViewState s = eraseTool();
    s.points.add({8, 8});
    leftButtonDown(s, {0, 0}, kClient);
    EXPECT_EQ(s.drag.dragActive, 0);
    mouseMove(s, {10, 10}, {true, false}, kClient);
    leftButtonUp(s, {10, 10}, kClient);
    EXPECT_EQ(s.points.pointCount, 1);
}

TEST(EraseTool, BandIsTheSpanOfTheTwoCells) {
    ViewState s = eraseTool({200, 150}, 2);
    leftButtonDown(s, {42, 42}, kClient);                                    // pixel (10, 10)
    const ToolResult move = mouseMove(s, {22, 82}, {true, false}, kClient);  // pixel (5, 20)
    EXPECT_EQ(move.cursor, ToolCursor::Cross);
    EXPECT_EQ(s.drag.rubberBand, (IntRect{20, 40, 44, 84}));
    EXPECT_EQ(
        rubberBandLines(s),
        (std::vector<std::vector<IntPoint>>{{{20, 40}, {44, 40}, {44, 84}, {20, 84}, {20, 40}}}));
    // Outside the client the region still follows, clamped onto the image.
    mouseMove(s, {-50, 900}, {true, false}, kClient);
    EXPECT_EQ(s.drag.dragCurrent, (IntPoint{0, 149}));
}

TEST(ToolCursors, HoverShowsTheToolsCursor) {
    ViewState add = addTool();
    EXPECT_EQ(mouseMove(add, {50, 50}, {}, kClient).cursor, ToolCursor::Add);
    ViewState erase = eraseTool();
    EXPECT_EQ(mouseMove(erase, {50, 50}, {}, kClient).cursor, ToolCursor::Erase);
    ViewState corner = cornerTool();
    EXPECT_EQ(mouseMove(corner, {50, 50}, {}, kClient).cursor, ToolCursor::Arrow);
    erase.display.displaySource = 1;  // the tool is not effective on the input
    EXPECT_EQ(mouseMove(erase, {50, 50}, {}, kClient).cursor, ToolCursor::Arrow);
    ViewState none;
    EXPECT_EQ(mouseMove(none, {50, 50}, {}, kClient).cursor, ToolCursor::Unchanged);
}

}  // namespace
}  // namespace qf

// ---- the arrow keys ----

namespace qf {
namespace {

// Each case: a tool with something grabbed or selected, one or more steps,
// and what has moved (or stayed, at a limit).
TEST(Nudge, MovesWhatWasLastGrabbedWithinTheDragLimits) {
    // Points: the selected one, kept where a click may place a point.
    {
        ViewState s = addTool({200, 150});
        s.points.add({50, 60});
        s.points.add({100, 70});
        s.points.selectedPoint = 1;
        EXPECT_TRUE(nudge(s, 1, 0).repaintAll);
        EXPECT_TRUE(nudge(s, 0, -10).repaintAll);
        EXPECT_EQ(s.points.points[1], (SourcePoint{101, 60}));
        EXPECT_EQ(s.points.points[0], (SourcePoint{50, 60}));
        s.points.points[1] = {198, 1};
        EXPECT_FALSE(nudge(s, 1, -1).repaintAll);  // at the last column and first row
        EXPECT_EQ(s.points.points[1], (SourcePoint{198, 1}));
        s.points.selectedPoint = -1;
        EXPECT_FALSE(nudge(s, 1, 0).repaintAll);  // nothing selected
    }
    // Corners: the one last grabbed, onto the picture (its far edges included).
    {
        ViewState s = cornerTool({200, 150});
        EXPECT_FALSE(nudge(s, 1, 0).repaintAll);  // none grabbed yet
        dragPixels(s, {120, 100}, {{130, 110}});
        ASSERT_EQ(s.drag.lastCorner, 3);
        const Quad guide = s.mapping.innerQuad;
        EXPECT_TRUE(nudge(s, -1, 0).repaintAll);
        EXPECT_EQ(s.mapping.geometry.corners[2], (IntPoint{129, 110}));
        EXPECT_TRUE(nudge(s, -10, 0).repaintAll);
        EXPECT_EQ(s.mapping.geometry.corners[2], (IntPoint{119, 110}));
        EXPECT_NE(s.mapping.innerQuad, guide);  // the guide follows
        s.mapping.geometry.corners[2] = {200, 150};
        EXPECT_FALSE(nudge(s, 1, 1).repaintAll);
        EXPECT_EQ(s.mapping.geometry.corners[2], (IntPoint{200, 150}));
    }
    // Graph rectangle: an axis edge last grabbed, kept clear of the next
    // edge; at a reduced zoom a step is still one picture pixel.
    for (int32_t zoom : {0, -1, 2}) {
        SCOPED_TRACE(zoom);
        ViewState s = graphRectTool({400, 300}, zoom);
        s.mapping.geometry.graphRect = {40, 40, 360, 260};
        s.axis.axisRect = {80, 80, 320, 220};
        s.drag.lastHandle = 5;  // the axis rectangle's left edge
        EXPECT_TRUE(nudge(s, 1, 0).repaintAll);
        EXPECT_EQ(s.axis.axisRect.left, 81);
        EXPECT_TRUE(nudge(s, -100, 0).repaintAll);
        EXPECT_GT(s.axis.axisRect.left, s.mapping.geometry.graphRect.left);
        EXPECT_LT(s.axis.axisRect.left, 80);
        s.drag.lastHandle = 3;  // the graph rectangle's bottom-right corner
        EXPECT_TRUE(nudge(s, 0, 1).repaintAll);
        EXPECT_EQ(s.mapping.geometry.graphRect, (IntRect{40, 40, 360, 261}));
    }
    // Nothing moves while a drag is under way or with no tool at work.
    {
        ViewState s = cornerTool({200, 150});
        s.drag.lastCorner = 1;
        s.drag.dragActive = 1;
        EXPECT_FALSE(nudge(s, 1, 0).repaintAll);
        s.drag.dragActive = 0;
        s.tools.clear();
        EXPECT_FALSE(nudge(s, 1, 0).repaintAll);
    }
}

}  // namespace
}  // namespace qf
