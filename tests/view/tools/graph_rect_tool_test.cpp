#include "view/tools/graph_rect_tool.h"

#include <gtest/gtest.h>

#include "tool_fixtures.h"
#include "view/paint/band_geometry.h"

namespace qf {
namespace {

using namespace tools_test;

// ---- graph-rectangle tool ----
// Graph rectangle (40, 40, 120, 100), axis rectangle (55, 55, 105, 85).

TEST(GraphRectTool, HandlesAndTheirPriority) {
    struct Case {
        const char* what;
        IntPoint window;
        GraphRectHandle handle;
        ToolCursor cursor;
    } cases[] = {
        {"top-left corner", {40, 40}, GraphRectHandle::GraphTopLeft, ToolCursor::Cross},
        {"top-right corner", {124, 36}, GraphRectHandle::GraphTopRight, ToolCursor::Cross},
        {"bottom-right corner", {120, 100}, GraphRectHandle::GraphBottomRight, ToolCursor::Cross},
        {"bottom-left corner", {36, 104}, GraphRectHandle::GraphBottomLeft, ToolCursor::Cross},
        {"left edge", {58, 70}, GraphRectHandle::AxisLeft, ToolCursor::VerticalEdge},
        {"left edge line far above", {55, 5}, GraphRectHandle::AxisLeft, ToolCursor::VerticalEdge},
        {"right edge line far below",
         {101, 140},
         GraphRectHandle::AxisRight,
         ToolCursor::VerticalEdge},
        {"bottom edge line far right",
         {190, 85},
         GraphRectHandle::AxisBottom,
         ToolCursor::HorizontalEdge},
        {"top edge", {80, 50}, GraphRectHandle::AxisTop, ToolCursor::HorizontalEdge},
        {"inside, near nothing", {80, 70}, GraphRectHandle::None, ToolCursor::Cross},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ViewState s = graphRectTool();
        const ToolResult r = leftButtonDown(s, c.window, kClient);
        EXPECT_EQ(s.drag.selectedHandle, c.handle);
        EXPECT_EQ(r.cursor, c.cursor);
        EXPECT_EQ(s.drag.dragActive, c.handle != GraphRectHandle::None ? 1 : 0);
        EXPECT_EQ(s.doc.mapping.graphRect, (IntRect{40, 40, 120, 100}));  // nothing moves yet
    }

    // Near both a graph corner and an axis edge, the edge wins.
    ViewState s = graphRectTool();
    s.doc.axis.axisRect = {44, 55, 105, 85};
    leftButtonDown(s, {40, 40}, kClient);
    EXPECT_EQ(s.drag.selectedHandle, GraphRectHandle::AxisLeft);
}

TEST(GraphRectTool, EdgeTestDoesNotReachBeyondThePointer) {
    // Scrolled right, a press at the window's left border is far from the
    // left axis edge, which is off screen.
    ViewState s = graphRectTool({2000, 1500});
    s.doc.mapping.graphRect = {40, 40, 1900, 1400};
    s.doc.axis.axisRect = {55, 55, 1800, 1300};
    s.transform.scrollPos = {500, 500};
    leftButtonDown(s, {2, 100}, kClient);
    EXPECT_EQ(s.drag.selectedHandle, GraphRectHandle::None);
    leftButtonUp(s, {2, 100}, kClient);
    // Scrolled back so the edge is on screen, it is taken as usual.
    s.transform.scrollPos = {0, 500};
    leftButtonDown(s, {57, 100}, kClient);
    EXPECT_EQ(s.drag.selectedHandle, GraphRectHandle::AxisLeft);
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

TEST(GraphRectTool, LimitsAtZoomZeroAndTwo) {
    struct Case {
        const char* what;
        int32_t zoom;
        IntPoint from;    // image pixel pressed
        IntPoint target;  // image pixel the pointer goes to
        IntRect graph;
        IntRect axis;
    } cases[] = {
        // Corners pulled deep inside stop on the axis edges ...
        {"top-left in, zoom 0", 0, {40, 40}, {80, 70}, {55, 55, 120, 100}, {55, 55, 105, 85}},
        {"top-left in, zoom 2", 2, {40, 40}, {80, 70}, {55, 55, 120, 100}, {55, 55, 105, 85}},
        {"bottom-right in, zoom 0", 0, {120, 100}, {80, 70}, {40, 40, 105, 85}, {55, 55, 105, 85}},
        {"bottom-right in, zoom 2", 2, {120, 100}, {80, 70}, {40, 40, 105, 85}, {55, 55, 105, 85}},
        // ... and on the picture's first ...
        {"top-left out, zoom 0", 0, {40, 40}, {0, 0}, {0, 0, 120, 100}, {55, 55, 105, 85}},
        {"top-left out, zoom 2", 2, {40, 40}, {0, 0}, {0, 0, 120, 100}, {55, 55, 105, 85}},
        // ... and last column and row.
        {"bottom-right out, zoom 0",
         0,
         {120, 100},
         {199, 149},
         {40, 40, 199, 149},
         {55, 55, 105, 85}},
        {"bottom-right out, zoom 2",
         2,
         {120, 100},
         {199, 149},
         {40, 40, 199, 149},
         {55, 55, 105, 85}},
        // Axis edges keep 10 window pixels from the opposite edge and reach
        // the graph rectangle's border.
        {"left edge right, zoom 0", 0, {55, 70}, {150, 70}, {40, 40, 120, 100}, {95, 55, 105, 85}},
        {"left edge left, zoom 0", 0, {55, 70}, {0, 70}, {40, 40, 120, 100}, {40, 55, 105, 85}},
        {"left edge right, zoom 2", 2, {55, 70}, {150, 70}, {40, 40, 120, 100}, {103, 55, 105, 85}},
        {"right edge left, zoom 0", 0, {105, 70}, {0, 70}, {40, 40, 120, 100}, {55, 55, 65, 85}},
        {"right edge right, zoom 0", 0, {105, 70}, {199, 70}, {40, 40, 120, 100}, {55, 55, 120, 85}},
        {"bottom edge up, zoom 0", 0, {80, 85}, {80, 0}, {40, 40, 120, 100}, {55, 55, 105, 65}},
        {"bottom edge down, zoom 2", 2, {80, 85}, {80, 149}, {40, 40, 120, 100}, {55, 55, 105, 100}},
        {"top edge up, zoom 0", 0, {80, 55}, {80, 0}, {40, 40, 120, 100}, {55, 40, 105, 85}},
        {"free move, zoom 0", 0, {55, 70}, {60, 70}, {40, 40, 120, 100}, {60, 55, 105, 85}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ViewState s = graphRectTool({200, 150}, c.zoom);
        dragPixels(s, c.from, {c.from, c.target}, {1000, 800});
        EXPECT_EQ(s.doc.mapping.graphRect, c.graph);
        EXPECT_EQ(s.doc.axis.axisRect, c.axis);
    }
}

TEST(GraphRectTool, SingleJumpIsLimitedLikeEveryOtherMove) {
    ViewState s = graphRectTool();
    leftButtonDown(s, {55, 70}, kClient);  // left axis edge
    const ToolResult move = mouseMove(s, {180, 70}, {true, false}, kClient);
    EXPECT_EQ(move.cursor, ToolCursor::VerticalEdge);
    EXPECT_EQ(s.drag.dragCurrent, (IntPoint{95, 70}));
    const ToolResult up = leftButtonUp(s, {180, 70}, kClient);
    EXPECT_EQ(s.doc.axis.axisRect, (IntRect{95, 55, 105, 85}));
    EXPECT_TRUE(up.pane.refreshAll);
    EXPECT_TRUE(up.repaintAll);
}

TEST(GraphRectTool, PressAndReleaseWithoutMoveChangesNothing) {
    ViewState s = graphRectTool();
    leftButtonDown(s, {40, 40}, kClient);
    const ToolResult up = leftButtonUp(s, {40, 40}, kClient);
    EXPECT_EQ(s.doc.mapping.graphRect, (IntRect{40, 40, 120, 100}));
    EXPECT_FALSE(up.pane.refreshAll);
    EXPECT_EQ(s.drag.selectedHandle, GraphRectHandle::GraphTopLeft);
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

}  // namespace
}  // namespace qf
