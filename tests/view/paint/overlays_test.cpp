#include "view/paint/overlays.h"

#include <gtest/gtest.h>

#include <QFontMetrics>
#include <optional>
#include <set>
#include <string>

#include "paint_test_support.h"
#include "view/paint/rubber_band.h"
#include "view/view_commands.h"

namespace qf {
namespace {

using namespace qf::test;

constexpr uint32_t kMapping = kMappingOverlayColour;
constexpr uint32_t kGraphRect = kGraphRectOverlayColour;
constexpr uint32_t kRed = kPointInsideColour;
constexpr uint32_t kBlue = kPointOutsideColour;
constexpr uint32_t kGrey = 0x808080;

QSize textBox(const std::string& text) {
    QFont font = defaultLabelFont();
    font.setStyleStrategy(QFont::NoAntialias);
    const QFontMetrics metrics(font);
    return {metrics.horizontalAdvance(QString::fromStdString(text)), metrics.height()};
}

// A grey picture with one tool active and the image it needs displayed.
ViewState withTool(Tool tool, IntSize size = {160, 120}, int zoom = 0, IntPoint scroll = {}) {
    const int source = tool == Tool::Corners ? 1 : 2;
    ViewState s = stateOver(plainImage(size.cx, size.cy, kGrey), source, zoom, scroll);
    selectTool(s, tool);
    return s;
}

TEST(MappingOverlay, CornerHandlesWithBracketsAndOutlines) {
    ViewState s = withTool(Tool::Corners);
    s.guide.showMappingGrid = 0;
    const QImage image = viewOf(s, {160, 120});
    // Corner (40, 40): the square 35..44 filled, its 1 px outline dotted.
    EXPECT_EQ(coloursIn(image, QRect(36, 36, 8, 8)), std::set<uint32_t>{kMapping});
    EXPECT_EQ(coloursIn(image, QRect(35, 35, 10, 1)), (std::set<uint32_t>{kBlack, kWhite}));
    EXPECT_NE(colourAt(image, 35, 35), colourAt(image, 36, 35));
    // Bracket of corner 0: (45, 33) -> (33, 33) -> (33, 45), 2 px wide.
    for (int x : {34, 40, 44})
        EXPECT_EQ(rowsWith(image, x, 30, 34, kMapping), (std::set<int>{32, 33}));
    for (int y : {36, 44})
        EXPECT_EQ(columnsWith(image, y, 29, 34, kMapping), (std::set<int>{32, 33}));
    // Bracket of corner 2 at (120, 100): (115, 107) -> (127, 107) -> (127, 95).
    EXPECT_EQ(rowsWith(image, 118, 106, 110, kMapping), (std::set<int>{106, 107}));
    EXPECT_EQ(columnsWith(image, 97, 125, 130, kMapping), (std::set<int>{126, 127}));
    // Outlines of the corners' and the guide quadrilateral, between the handles.
    EXPECT_EQ(rowsWith(image, 80, 36, 44, kMapping), (std::set<int>{39, 40}));
    EXPECT_EQ(rowsWith(image, 80, 56, 64, kMapping), (std::set<int>{59, 60}));
    EXPECT_EQ(columnsWith(image, 70, 95, 105, kMapping), (std::set<int>{99, 100}));
    // Nothing of the other overlays.
    EXPECT_EQ(countOf(image, kGraphRect), 0);
    EXPECT_EQ(countOf(image, kBlue), 0);
}

TEST(MappingOverlay, OnlyWithTheCornerToolOnTheInputImage) {
    struct Case {
        Tool tool;
        int displaySource;
        bool shown;
    };
    const Case cases[] = {{Tool::Corners, 1, true},
                          {Tool::Corners, 2, false},
                          {Tool::Corners, 0, false},
                          {Tool::None, 1, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << "tool " << static_cast<int>(c.tool) << " source " << c.displaySource);
        ViewState s = withTool(Tool::Corners);
        s.tools.tool = c.tool;
        s.display.displaySource = c.displaySource;
        selectCurrentImage(s.display);
        EXPECT_EQ(countOf(viewOf(s, {160, 120}), kMapping) > 0, c.shown);
    }
}

// Corners and graph rectangle chosen so the guide is 20 px inside the corners:
// (60, 60)-(320, 240); ten divisions of 26 px across and 18 px down.
ViewState gridScene() {
    ViewState s = withTool(Tool::Corners, {400, 300});
    s.doc.mapping.corners = {{{40, 40}, {340, 40}, {340, 260}, {40, 260}}};
    s.doc.mapping.graphRect = {40, 40, 340, 260};
    updateInnerQuad(s.doc.mapping, s.guide);
    return s;
}

TEST(MappingOverlay, GridDividesTheGuideQuadrilateral) {
    ViewState s = gridScene();
    ASSERT_EQ(s.guide.innerQuad[0], (IntPoint{60, 60}));
    ASSERT_EQ(s.guide.innerQuad[2], (IntPoint{320, 240}));
    std::set<int> columns{59, 60, 319, 320};  // the guide's own left and right edges
    std::set<int> rows{59, 60, 239, 240};
    for (int i = 1; i < 10; ++i) {
        columns.insert({60 + 26 * i - 1, 60 + 26 * i});
        rows.insert({60 + 18 * i - 1, 60 + 18 * i});
    }
    const QImage on = viewOf(s, {400, 300});
    EXPECT_EQ(columnsWith(on, 70, 50, 330, kMapping), columns);
    EXPECT_EQ(rowsWith(on, 73, 50, 250, kMapping), rows);

    s.guide.showMappingGrid = 0;
    const QImage off = viewOf(s, {400, 300});
    EXPECT_EQ(columnsWith(off, 70, 50, 330, kMapping), (std::set<int>{59, 60, 319, 320}));
}

// A chart leaning away at the top: with the perspective method the grid's
// rows of equal chart steps crowd towards the far edge, and the guide
// follows the transform.
TEST(MappingOverlay, PerspectiveGridCrowdsTowardsTheFarEdge) {
    ViewState s = withTool(Tool::Corners, {400, 300});
    s.doc.mapping.corners = {{{120, 40}, {280, 40}, {360, 260}, {40, 260}}};
    s.doc.mapping.graphRect = {40, 40, 340, 260};
    s.doc.mapping.method = MappingMethod::Perspective;
    updateInnerQuad(s.doc.mapping, s.guide);
    EXPECT_EQ(s.guide.innerQuad[0], perspectiveGuidePoint(s.doc.mapping, 0, 0));
    EXPECT_EQ(s.guide.innerQuad[2], perspectiveGuidePoint(s.doc.mapping, 1, 1));
    const QImage image = viewOf(s, {400, 300});
    // The horizontal lines (level: the quad is symmetric) where they cross a
    // column between two vertical ones.
    std::vector<int> lines;
    for (int y = 45; y < 258; ++y) {
        const bool here = colourAt(image, 206, y) == kMapping;
        const bool above = colourAt(image, 206, y - 1) == kMapping;
        if (here && !above) lines.push_back(y);
    }
    ASSERT_EQ(lines.size(), 11u);  // ten grid rows and the guide's bottom edge
    for (std::size_t i = 0; i < 10; ++i) {
        const std::optional<IntPoint> p = perspectiveGuidePoint(s.doc.mapping, 0.5, i / 10.0);
        ASSERT_TRUE(p);
        EXPECT_NEAR(lines[i], p->y, 1) << i;
    }
    for (std::size_t i = 2; i < lines.size(); ++i)
        EXPECT_GT(lines[i] - lines[i - 1], lines[i - 1] - lines[i - 2] - 1) << i;
    EXPECT_GT(lines[10] - lines[9], lines[1] - lines[0] + 4);

    // The bilinear grid of the same corners has equal steps.
    s.doc.mapping.method = MappingMethod::Bilinear;
    updateInnerQuad(s.doc.mapping, s.guide);
    EXPECT_NE(viewOf(s, {400, 300}), image);
}

TEST(MappingOverlay, NoGridOnADegenerateGuide) {
    const Quad guides[] = {
        {{{60, 60}, {320, 150}, {320, 151}, {60, 240}}},  // right edge rises by one pixel
        {{{60, 60}, {320, 60}, {320, 240}, {61, 60}}},    // left edge one pixel long
    };
    for (const Quad& guide : guides) {
        ViewState s = gridScene();
        s.guide.innerQuad = guide;
        const QImage on = viewOf(s, {400, 300});
        s.guide.showMappingGrid = 0;
        EXPECT_EQ(on, viewOf(s, {400, 300})) << guide[1].y << "," << guide[3].x;
    }
}

TEST(MappingOverlay, ZoomedCornersSitAtTheirCellCentres) {
    // At zoom 3 the corner (40, 40) is drawn at (324, 324) - scroll.
    ViewState s = withTool(Tool::Corners, {160, 120}, 3, {300, 290});
    s.guide.showMappingGrid = 0;
    const QImage image = viewOf(s, {200, 200});
    EXPECT_EQ(coloursIn(image, QRect(24 - 4, 34 - 4, 8, 8)), std::set<uint32_t>{kMapping});
    EXPECT_EQ(colourAt(image, 24 - 5, 34 - 5), colourAt(image, 24 + 4, 34 + 4));  // same parity
}

TEST(GraphRectOverlay, RectangleAxisLinesAndHandles) {
    // A window larger than the image: the names at its middle fall outside
    // the image and are left out, so only the lines and handles show.
    const QImage image = viewOf(withTool(Tool::GraphRect), {320, 240});
    // Graph rectangle (40, 40, 120, 100); axis lines at x = 55, 105 and
    // y = 85, 55 run across the whole graph rectangle.
    EXPECT_EQ(columnsWith(image, 47, 30, 130, kGraphRect),
              (std::set<int>{39, 40, 54, 55, 104, 105, 119, 120}));
    EXPECT_EQ(rowsWith(image, 47, 30, 110, kGraphRect),
              (std::set<int>{39, 40, 54, 55, 84, 85, 99, 100}));
    EXPECT_EQ(coloursIn(image, QRect(116, 96, 8, 8)), std::set<uint32_t>{kGraphRect});
    EXPECT_EQ(rowsWith(image, 122, 104, 110, kGraphRect), (std::set<int>{106, 107}));
    EXPECT_EQ(countOf(image, kMapping), 0);
    EXPECT_EQ(countOf(image, kBlue), 0);
}

TEST(GraphRectOverlay, AxisNamesAtTheMiddleOfTheWindow) {
    const QImage image = viewOf(withTool(Tool::GraphRect), {160, 120});
    // The middle is (80, 60); each name white on a light-blue box beside its line.
    const QSize xmin = textBox("Xmin"), xmax = textBox("Xmax");
    const QSize ymin = textBox("Ymin"), ymax = textBox("Ymax");
    const QRect boxes[] = {{QPoint(55 - xmin.width(), 60), xmin},
                           {QPoint(105, 60), xmax},
                           {QPoint(80, 85), ymin},
                           {QPoint(80, 55 - ymax.height()), ymax}};
    for (const QRect& box : boxes) {
        SCOPED_TRACE(testing::Message() << box.x() << "," << box.y());
        const std::set<uint32_t> colours = coloursIn(image, box);
        EXPECT_TRUE(colours.count(kWhite));
        EXPECT_TRUE(colours.count(kGraphRect));
    }
}

TEST(GraphRectOverlay, NamesLeavingTheVisibleImageAreDroppedNotClipped) {
    // Image and window 200 x 150, middle (100, 75); the visible image ends at
    // the centre of the last pixel, (199, 149).
    ViewState s = withTool(Tool::GraphRect, {200, 150});
    s.doc.mapping.graphRect = {10, 10, 195, 145};
    s.doc.axis.axisRect = {20, 60, 190, 140};
    const QImage image = viewOf(s, {200, 150});
    const QSize xmin = textBox("Xmin"), xmax = textBox("Xmax");
    const QSize ymin = textBox("Ymin"), ymax = textBox("Ymax");
    ASSERT_GT(xmin.width(), 20);
    ASSERT_GT(ymin.height(), 9);
    struct Case {
        const char* name;
        QRect box;
        bool shown;
    };
    const Case cases[] = {
        {"Xmin", {QPoint(20 - xmin.width(), 75), xmin}, false},  // starts left of the image
        {"Xmax", {QPoint(190, 75), xmax}, false},                // ends right of it
        {"Ymin", {QPoint(100, 140), ymin}, false},               // ends below it
        {"Ymax", {QPoint(100, 60 - ymax.height()), ymax}, true},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(coloursIn(image, c.box).count(kWhite) > 0, c.shown) << c.name;
    }
}

TEST(SourcePointOverlay, CrossesRedInsideBlueOutsideTheAxisRectangle) {
    ViewState s = withTool(Tool::AddPoints);
    // Axis rectangle (55, 55, 105, 85): its right and bottom edges are outside.
    struct Point {
        IntPoint at;
        uint32_t colour;
    };
    const Point points[] = {{{70, 70}, kRed},
                            {{105, 70}, kBlue},
                            {{80, 85}, kBlue},
                            {{55, 55}, kRed},
                            {{20, 100}, kBlue}};
    for (const Point& p : points) addSourcePoint(s.doc.current().points, {p.at.x, p.at.y});
    const QImage image = viewOf(s, {160, 120});
    for (const Point& p : points) {
        SCOPED_TRACE(testing::Message() << p.at.x << "," << p.at.y);
        // The arms' outer ends, away from the frame's lines.
        EXPECT_EQ(colourAt(image, p.at.x + 4, p.at.y + 4), p.colour);
        EXPECT_EQ(colourAt(image, p.at.x + 4, p.at.y - 4), p.colour);
        EXPECT_EQ(colourAt(image, p.at.x - 4, p.at.y - 4), p.colour);
    }
    // The axis frame in blue.
    EXPECT_EQ(colourAt(image, 90, 55), kBlue);
    EXPECT_EQ(colourAt(image, 55, 75), kBlue);
}

TEST(SourcePointOverlay, ShownOnTheOutputWhateverTheTool) {
    struct Case {
        Tool tool;
        int displaySource;
        bool shown;
    };
    const Case cases[] = {{Tool::AddPoints, 2, true},  {Tool::ErasePoints, 2, true},
                          {Tool::AddPoints, 1, false}, {Tool::GraphRect, 2, true},
                          {Tool::None, 2, true},       {Tool::Corners, 1, false}};
    for (const Case& c : cases) {
        ViewState s = withTool(c.tool);
        s.display.displaySource = c.displaySource;
        selectCurrentImage(s.display);
        addSourcePoint(s.doc.current().points, {70, 70});
        EXPECT_EQ(countOf(viewOf(s, {160, 120}), kRed) > 0, c.shown)
            << static_cast<int>(c.tool) << " on " << c.displaySource;
    }
}

TEST(SourcePointOverlay, CrossHairOnlyForTheSelectedPointInside) {
    struct Case {
        IntPoint point;
        int32_t selected;
        bool crossHair;
    };
    const Case cases[] = {{{70, 70}, 0, true}, {{70, 70}, -1, false}, {{105, 70}, 0, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.point.x << " selected " << c.selected);
        ViewState s = withTool(Tool::AddPoints);
        addSourcePoint(s.doc.current().points, {c.point.x, c.point.y});
        s.selectedPoint = c.selected;
        const QImage image = viewOf(s, {160, 120});
        // 1 px lines across the plot area: x = 70 from 55 to 84, y = 70 from 55 to 104.
        const std::set<int> column = rowsWith(image, c.point.x, 57, 64, kRed);
        const std::set<int> row = columnsWith(image, c.point.y, 57, 64, kRed);
        if (c.crossHair) {
            EXPECT_EQ(column, (std::set<int>{57, 58, 59, 60, 61, 62, 63, 64}));
            EXPECT_EQ(row, (std::set<int>{57, 58, 59, 60, 61, 62, 63, 64}));
            EXPECT_EQ(columnsWith(image, 78, 68, 72, kRed), (std::set<int>{70}));
        } else {
            EXPECT_TRUE(column.empty());
            EXPECT_TRUE(row.empty());
        }
    }
}

TEST(SourcePointOverlay, NumbersLeftOfTheCrossOrDropped) {
    ViewState s = withTool(Tool::AddPoints);
    addSourcePoint(s.doc.current().points, {70, 70});
    addSourcePoint(s.doc.current().points, {30, 100});
    const QSize three = textBox("3"), four = textBox("4");
    const int h = three.width() + 4;  // the number would start at x = -1
    addSourcePoint(s.doc.current().points, {h, 40});
    addSourcePoint(s.doc.current().points, {60, 115});  // ... or end below the visible image
    const QImage image = viewOf(s, {160, 120});
    const QSize one = textBox("1"), two = textBox("2");
    EXPECT_TRUE(coloursIn(image, QRect(QPoint(70 - one.width() - 5, 70), one)).count(kRed));
    EXPECT_TRUE(coloursIn(image, QRect(QPoint(30 - two.width() - 5, 100), two)).count(kBlue));
    // Left of the crosses' arms, where the numbers would have been.
    EXPECT_EQ(coloursIn(image, QRect(0, 40, h - 7, three.height())), std::set<uint32_t>{kGrey});
    EXPECT_EQ(coloursIn(image, QRect(60 - four.width() - 5, 115, four.width() - 2, 5)),
              std::set<uint32_t>{kGrey});
}

TEST(SourcePointOverlay, PointsAtCellCentresWhenZoomed) {
    // Zoom 3: point (10, 10) covers the cell 80..87, centre 84; scrolled by 20.
    ViewState s = withTool(Tool::AddPoints, {160, 120}, 3, {20, 20});
    addSourcePoint(s.doc.current().points, {10, 10});
    const QImage image = viewOf(s, {200, 200});
    EXPECT_EQ(colourAt(image, 64 - 4, 64 - 4), kBlue);
    EXPECT_EQ(colourAt(image, 64 + 4, 64 + 4), kBlue);
    EXPECT_EQ(colourAt(image, 64 + 4, 64 - 5), kBlue);
    // At 1/2 the point sits at the scaled position itself.
    ViewState half = withTool(Tool::AddPoints, {160, 120}, -1);
    addSourcePoint(half.doc.current().points, {140, 20});
    const QImage small = viewOf(half, {100, 80});
    EXPECT_EQ(colourAt(small, 70 + 4, 10 + 4), kBlue);
    EXPECT_EQ(colourAt(small, 70 - 4, 10 - 4), kBlue);
}

TEST(RubberBand, FollowsTheDragOfEachTool) {
    ViewState corners = withTool(Tool::Corners);
    corners.drag.dragActive = 1;
    corners.drag.selectedCorner = 1;
    corners.drag.dragCurrent = {30, 20};
    const auto cornerLines = rubberBandLines(corners);
    ASSERT_EQ(cornerLines.size(), 2u);  // the corners and the guide
    EXPECT_EQ(cornerLines[0].front(), (IntPoint{30, 20}));
    EXPECT_EQ(cornerLines[0][1], (IntPoint{120, 40}));

    corners.drag.dragPending = 1;  // not moved since the press
    EXPECT_TRUE(rubberBandLines(corners).empty());
    corners.drag.dragPending = 0;
    corners.drag.selectedCorner = 0;  // pressed beside every corner
    EXPECT_TRUE(rubberBandLines(corners).empty());

    ViewState rect = withTool(Tool::GraphRect);
    rect.drag.dragActive = 1;
    rect.drag.selectedHandle = GraphRectHandle::AxisLeft;
    rect.drag.dragCurrent = {60, 70};
    EXPECT_EQ(rubberBandLines(rect), (std::vector<std::vector<IntPoint>>{{{60, 40}, {60, 100}}}));
    rect.drag.selectedHandle = GraphRectHandle::GraphBottomRight;
    EXPECT_EQ(
        rubberBandLines(rect),
        (std::vector<std::vector<IntPoint>>{{{60, 70}, {40, 70}, {40, 40}, {60, 40}, {60, 70}}}));

    ViewState erase = withTool(Tool::ErasePoints);
    erase.drag.dragActive = 1;
    erase.drag.dragStart = {10, 12};  // spans the cells (10, 12, 30, 40)
    erase.drag.dragCurrent = {29, 39};
    const QImage image = viewOf(erase, {160, 120});
    // Inverted grey under a 2 px pen along the band's outline.
    constexpr uint32_t kInverted = 0x7F7F7F;
    EXPECT_EQ(rowsWith(image, 20, 8, 16, kInverted), (std::set<int>{11, 12}));
    EXPECT_EQ(columnsWith(image, 25, 26, 34, kInverted), (std::set<int>{29, 30}));
}

// The generated graph lies under the points and the axis frame, which stay
// visible over its frame and grid.
TEST(ViewPaint, OverlaysOverTheGeneratedGraph) {
    ViewState s = withTool(Tool::AddPoints);
    s.doc.graph.colour = 0x00FF00;
    addSourcePoint(s.doc.current().points, {80, 70});
    for (int shown : {1, 0}) {
        SCOPED_TRACE(shown);
        s.display.showGeneratedGraph = shown;
        const QImage image = viewOf(s, {160, 120});
        EXPECT_EQ(colourAt(image, 90, 55), kBlue);  // the axis frame over the graph's frame
        EXPECT_EQ(colourAt(image, 80, 70), kRed);   // the point's cross
    }
}

// The labels the axis reading saw: each boxed, the used ones with their value
// written above (white on the box's colour), the others struck through; shown
// on the working picture only, and only while the axes are those it left.
TEST(ReadLabelOverlay, UsedLabelsValuedRejectedOnesStruckThrough) {
    const auto scene = [] {
        ViewState s = withTool(Tool::None);
        AxisLabelsShown shown;
        shown.labels = {{{30, 90, 45, 100}, "5", 5, true, true, false},
                        {{100, 90, 115, 100}, "S", 0, false, false, false}};
        shown.axis = s.doc.axis;
        s.readLabels = shown;
        return s;
    };
    {
        const QImage image = viewOf(scene(), {160, 120});
        EXPECT_EQ(colourAt(image, 28, 95), kLabelUsedColour);  // the used one's box
        EXPECT_EQ(colourAt(image, 37, 95), kGrey);             // not struck through
        EXPECT_GT(countOf(image, kWhite), 0);                  // its value
        EXPECT_EQ(colourAt(image, 98, 95), kLabelRejectedColour);
        EXPECT_EQ(colourAt(image, 107, 95), kLabelRejectedColour);  // the strike
    }
    struct Case {
        const char* what;
        void (*change)(ViewState&);
    };
    const Case hidden[] = {
        {"axes changed", [](ViewState& s) { s.doc.axis.xMax = 2; }},
        {"input shown",
         [](ViewState& s) {
             s.display.displaySource = 1;
             selectCurrentImage(s.display);
         }},
    };
    for (const Case& c : hidden) {
        SCOPED_TRACE(c.what);
        ViewState s = scene();
        c.change(s);
        const QImage image = viewOf(s, {160, 120});
        EXPECT_EQ(countOf(image, kLabelUsedColour), 0);
        EXPECT_EQ(countOf(image, kLabelRejectedColour), 0);
    }
}

}  // namespace
}  // namespace qf
