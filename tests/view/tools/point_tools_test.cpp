#include "view/tools/point_tools.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <utility>
#include <vector>

#include "tool_fixtures.h"
#include "view/paint/band_geometry.h"

namespace qf {
namespace {

using namespace tools_test;

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
            EXPECT_EQ(s.pointCount(), 0);
            EXPECT_EQ(r.pane.addedRow, -1);
        }
    }
    const IntPoint accepted[] = {{1, 1}, {198, 148}, {1, 148}};
    for (IntPoint p : accepted) {
        ViewState s = addTool();
        leftButtonDown(s, p, kClient);
        EXPECT_EQ(s.pointCount(), 1);
    }
}

TEST(AddTool, AppendsAndSelectsTheNewRow) {
    ViewState s = addTool();
    leftButtonDown(s, {30, 40}, kClient);
    const ToolResult r = leftButtonDown(s, {60, 40}, kClient);
    ASSERT_EQ(s.pointCount(), 2);
    EXPECT_EQ(s.doc.current().points[1], (SourcePoint{60, 40}));
    EXPECT_EQ(r.pane.addedRow, 1);
    EXPECT_EQ(s.selectedPoint, 1);
    EXPECT_TRUE(r.repaintAll);
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
        addSourcePoint(s.doc.current().points, {10, 12});
        addSourcePoint(s.doc.current().points, {20, 12});
        const IntPoint centre = centreOf(s, {20, 12});
        const ToolResult r =
            leftButtonDown(s, {centre.x + c.offset.x, centre.y + c.offset.y}, kClient);
        EXPECT_EQ(s.pointCount(), c.selects ? 2 : 3);
        EXPECT_EQ(r.pane.selectRow, c.selects ? 1 : -1);
        EXPECT_EQ(s.selectedPoint, c.selects ? 1 : 2);
    }
}

TEST(AddTool, FullListIgnoresTheClick) {
    ViewState s = addTool({400, 300});
    for (int i = 0; i < kMaxSourcePoints; ++i)
        addSourcePoint(s.doc.current().points, {1 + i % 16 * 20, 1 + i / 16 * 15});
    const ToolResult r = leftButtonDown(s, {395, 290}, kClient);
    EXPECT_EQ(s.pointCount(), kMaxSourcePoints);
    EXPECT_EQ(r.pane.addedRow, -1);
    EXPECT_FALSE(r.repaintAll);
}

// ---- erase tool ----

TEST(EraseTool, PressRemovesEveryPointUnderIt) {
    ViewState s = eraseTool();
    addSourcePoint(s.doc.current().points, {50, 50});
    addSourcePoint(s.doc.current().points, {80, 80});
    addSourcePoint(s.doc.current().points, {52, 51});  // overlaps the first at zoom 0
    addSourcePoint(s.doc.current().points, {50, 50});
    const ToolResult r = leftButtonDown(s, {51, 50}, kClient);
    ASSERT_EQ(s.pointCount(), 1);
    EXPECT_EQ(s.doc.current().points[0], (SourcePoint{80, 80}));
    EXPECT_EQ(r.pane.removedRows, (std::vector<int32_t>{0, 1, 1}));
    EXPECT_EQ(r.pane.ensureVisibleRow, 1);
    EXPECT_TRUE(r.repaintAll);

    // Press and release without a move: only what was under the press goes.
    leftButtonUp(s, {51, 50}, kClient);
    EXPECT_EQ(s.pointCount(), 1);
}

TEST(EraseTool, RegionRemovesOnlyPointsStrictlyInside) {
    // At zoom 2 the presses at (10, 10) and (20, 20) hit few points.
    ViewState s = eraseTool({200, 150}, 2);
    const SourcePoint points[] = {{15, 15}, {10, 15}, {20, 15}, {15, 10}, {15, 20},
                                  {11, 12}, {19, 19}, {10, 20}, {25, 15}};
    for (SourcePoint p : points) addSourcePoint(s.doc.current().points, p);
    const std::vector<SourcePoint> kept{{10, 15}, {20, 15}, {15, 10}, {15, 20}, {10, 20}, {25, 15}};
    for (auto [from, to] : {std::pair{IntPoint{10, 10}, IntPoint{20, 20}},
                            std::pair{IntPoint{20, 20}, IntPoint{10, 10}}}) {
        ViewState t = s;
        const ToolResult up = dragPixels(t, from, {{17, 17}, to});
        const std::vector<SourcePoint> left(t.doc.current().points.begin(),
                                            t.doc.current().points.begin() + t.pointCount());
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
    addSourcePoint(s.doc.current().points, {8, 8});
    leftButtonDown(s, {0, 0}, kClient);
    EXPECT_EQ(s.drag.dragActive, 0);
    mouseMove(s, {10, 10}, {true, false}, kClient);
    leftButtonUp(s, {10, 10}, kClient);
    EXPECT_EQ(s.pointCount(), 1);
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

}  // namespace
}  // namespace qf
