#include "view/tools/mouse_tools.h"

#include <gtest/gtest.h>

#include "tool_fixtures.h"
#include "view/tools/hit_boxes.h"

namespace qf {
namespace {

using namespace tools_test;

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
        ASSERT_EQ(s.pointCount(), 1);
        EXPECT_EQ(s.doc.current().points[0], (SourcePoint{c.pixel.x, c.pixel.y}));
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

TEST(PointerStatus, NamesThePixelTheAxisValuesAndTheZoom) {
    ViewState s = viewOf({200, 150}, 1);
    s.doc.axis.axisRect = {20, 30, 120, 130};  // X 0..1 over h 20..120, Y 0..1 over v 130..30
    s.doc.axis.xMax = 10;
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
        s.doc.axis.yLog = c.yLog;
        EXPECT_EQ(pointerStatusText(s, c.pointer, kClient), c.text);
    }
    s.transform.zoomShift = -4;
    EXPECT_EQ(pointerStatusText(s, std::nullopt, kClient), "倍率 6.25%");
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

// ---- the arrow keys ----

// Each case: a tool with something grabbed or selected, one or more steps,
// and what has moved (or stayed, at a limit).
TEST(Nudge, MovesWhatWasLastGrabbedWithinTheDragLimits) {
    // Points: the selected one, kept where a click may place a point.
    {
        ViewState s = addTool({200, 150});
        addSourcePoint(s.doc.current().points, {50, 60});
        addSourcePoint(s.doc.current().points, {100, 70});
        s.selectedPoint = 1;
        EXPECT_TRUE(nudge(s, 1, 0).repaintAll);
        EXPECT_TRUE(nudge(s, 0, -10).repaintAll);
        EXPECT_EQ(s.doc.current().points[1], (SourcePoint{101, 60}));
        EXPECT_EQ(s.doc.current().points[0], (SourcePoint{50, 60}));
        s.doc.current().points[1] = {198, 1};
        EXPECT_FALSE(nudge(s, 1, -1).repaintAll);  // at the last column and first row
        EXPECT_EQ(s.doc.current().points[1], (SourcePoint{198, 1}));
        s.selectedPoint = -1;
        EXPECT_FALSE(nudge(s, 1, 0).repaintAll);  // nothing selected
    }
    // Corners: the one last grabbed, onto the picture (its far edges included).
    {
        ViewState s = cornerTool({200, 150});
        EXPECT_FALSE(nudge(s, 1, 0).repaintAll);  // none grabbed yet
        dragPixels(s, {120, 100}, {{130, 110}});
        ASSERT_EQ(s.drag.lastCorner, 3);
        const Quad guide = s.guide.innerQuad;
        EXPECT_TRUE(nudge(s, -1, 0).repaintAll);
        EXPECT_EQ(s.doc.mapping.corners[2], (IntPoint{129, 110}));
        EXPECT_TRUE(nudge(s, -10, 0).repaintAll);
        EXPECT_EQ(s.doc.mapping.corners[2], (IntPoint{119, 110}));
        EXPECT_NE(s.guide.innerQuad, guide);  // the guide follows
        s.doc.mapping.corners[2] = {200, 150};
        EXPECT_FALSE(nudge(s, 1, 1).repaintAll);
        EXPECT_EQ(s.doc.mapping.corners[2], (IntPoint{200, 150}));
    }
    // Graph rectangle: an axis edge last grabbed stops on the graph
    // rectangle's border; at a reduced zoom a step is still one picture pixel.
    for (int32_t zoom : {0, -1, 2}) {
        SCOPED_TRACE(zoom);
        ViewState s = graphRectTool({400, 300}, zoom);
        s.doc.mapping.graphRect = {40, 40, 360, 260};
        s.doc.axis.axisRect = {80, 80, 320, 220};
        s.drag.lastHandle = GraphRectHandle::AxisLeft;  // the axis rectangle's left edge
        EXPECT_TRUE(nudge(s, 1, 0).repaintAll);
        EXPECT_EQ(s.doc.axis.axisRect.left, 81);
        EXPECT_TRUE(nudge(s, -100, 0).repaintAll);
        EXPECT_EQ(s.doc.axis.axisRect.left, s.doc.mapping.graphRect.left);
        s.drag.lastHandle =
            GraphRectHandle::GraphBottomRight;  // the graph rectangle's bottom-right corner
        EXPECT_TRUE(nudge(s, 0, 1).repaintAll);
        EXPECT_EQ(s.doc.mapping.graphRect, (IntRect{40, 40, 360, 261}));
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
