#include "view/tools/corner_tool.h"

#include <gtest/gtest.h>

#include "imaging/mapping.h"
#include "tool_fixtures.h"
#include "view/paint/band_geometry.h"

namespace qf {
namespace {

using namespace tools_test;

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
            const IntPoint centre = centreOf(s, s.doc.mapping.corners[0]);  // (40, 40)
            const ToolResult r =
                leftButtonDown(s, {centre.x + c.offset.x, centre.y + c.offset.y}, kClient);
            EXPECT_EQ(s.drag.selectedCorner, c.grabs ? 1 : 0);
            EXPECT_EQ(s.drag.dragActive, c.grabs ? 1 : 0);
            EXPECT_EQ(r.cursor, ToolCursor::Cross);  // over the image, hit or not
        }
    }
}

TEST(CornerTool, GrabbedCornerJumpsOnThePressAndOthersStayOnTheImage) {
    ViewState s = cornerTool({200, 150});
    s.doc.mapping.corners = {{{-3, -7}, {120, 40}, {250, 180}, {40, 100}}};
    // Corner 1 (index 0) at (-3, -7) is left of the client, so take corner 4.
    const ToolResult r = leftButtonDown(s, {42, 97}, kClient);
    EXPECT_EQ(s.drag.selectedCorner, 4);
    EXPECT_TRUE(r.repaintAll);
    const Quad expected{{{0, 0}, {120, 40}, {200, 150}, {42, 97}}};  // clamped to width, height
    EXPECT_EQ(s.doc.mapping.corners, expected);

    // Released without a move: the jump stays and the guide follows it.
    MappingGuide reference = s.guide;
    updateInnerQuad(s.doc.mapping, reference);
    leftButtonUp(s, {42, 97}, kClient);
    EXPECT_EQ(s.doc.mapping.corners, expected);
    EXPECT_EQ(s.guide.innerQuad, reference.innerQuad);
    EXPECT_EQ(s.drag.dragActive, 0);
}

TEST(CornerTool, DragMovesTheCornerOnReleaseAndRecomputesTheGuide) {
    ViewState s = cornerTool({200, 150}, 1);
    dragPixels(s, {120, 100}, {{150, 120}, {170, 130}});
    EXPECT_EQ(s.doc.mapping.corners[2], (IntPoint{170, 130}));
    const Quad corners{{{40, 40}, {120, 40}, {170, 130}, {40, 100}}};
    EXPECT_EQ(s.guide.innerQuad, *computeInnerQuad(corners, 40.0 / 80, 40.0 / 60));
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
        EXPECT_EQ(s.doc.mapping.corners[1], (IntPoint{120, 40}));
    }
    s.display.displaySource = 1;
    leftButtonDown(s, {121, 41}, kClient);
    EXPECT_EQ(s.drag.dragActive, 1);
    EXPECT_EQ(s.doc.mapping.corners[1], (IntPoint{121, 41}));
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

}  // namespace
}  // namespace qf
