#include "graph/renderer.h"

#include <gtest/gtest.h>

#include <limits>
#include <set>

#include "graph_test_support.h"

namespace qf {
namespace {

using namespace qf::test;

constexpr uint32_t kGreen = 0x00FF00;

GraphStyle only(bool markers, bool lines, bool numbers) {
    GraphStyle s;
    s.showGrid = 0;
    s.showMarkers = markers;
    s.showLines = lines;
    s.showNumbers = numbers;
    return s;
}

// Pixels in the one-pixel ring around a box.
std::set<uint32_t> ringAround(const QImage& image, const QRect& box) {
    const QRect r = box.adjusted(-1, -1, 1, 1);
    std::set<uint32_t> c = coloursIn(image, QRect(r.left(), r.top(), r.width(), 1));
    c.merge(coloursIn(image, QRect(r.left(), r.bottom(), r.width(), 1)));
    c.merge(coloursIn(image, QRect(r.left(), r.top(), 1, r.height())));
    c.merge(coloursIn(image, QRect(r.right(), r.top(), 1, r.height())));
    return c;
}

TEST(Renderer, DefaultFrameAndGrid) {
    const QImage image = draw(sceneOf({160, 120}));
    // Frame on (55, 55)-(105, 85); a 2 px line covers its coordinate and the pixel before.
    for (int x = 54; x <= 105; ++x) {
        for (int y : {54, 55, 84, 85}) ASSERT_EQ(colourAt(image, x, y), kAxis) << x << "," << y;
    }
    for (int y = 54; y <= 85; ++y) {
        for (int x : {54, 55, 104, 105}) ASSERT_EQ(colourAt(image, x, y), kAxis) << x << "," << y;
    }
    // 1 px grid lines, exactly these, seen along a row and a column inside the frame.
    EXPECT_EQ(columnsWith(image, 57, 56, 103, kAxis),
              (std::set<int>{60, 65, 70, 75, 80, 85, 90, 95, 100}));
    EXPECT_EQ(rowsWith(image, 57, 56, 83, kAxis),
              (std::set<int>{58, 61, 64, 67, 70, 73, 76, 79, 82}));
    // Nothing spills outside the frame.
    EXPECT_EQ(coloursIn(image, QRect(51, 53, 60, 1)), std::set<uint32_t>{kWhite});
    EXPECT_EQ(coloursIn(image, QRect(51, 86, 60, 1)), std::set<uint32_t>{kWhite});
    EXPECT_EQ(coloursIn(image, QRect(53, 50, 1, 40)), std::set<uint32_t>{kWhite});
    EXPECT_EQ(coloursIn(image, QRect(106, 50, 1, 40)), std::set<uint32_t>{kWhite});
}

TEST(Renderer, LimitLabelsOnBoxesByDisplaySource) {
    struct Case {
        int32_t displaySource;
        uint32_t box, text;
    };
    // Over an image: white on the graph colour. On the white area: the graph
    // colour on the surface's background (green here, to tell it from the canvas).
    const Case cases[] = {{1, kAxis, kWhite}, {2, kAxis, kWhite}, {0, kGreen, kAxis}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "display source " << c.displaySource);
        GraphScene scene = sceneOf({260, 160});
        scene.axis = {-2, 10, 0.5, 1.5e6, 0, 0, {60, 40, 200, 120}};
        scene.style.showGrid = 0;
        scene.displaySource = c.displaySource;
        const QImage image = draw(scene, {.size = {260, 160}, .background = kGreen});

        const QSize m2 = textBox("-2"), m10 = textBox("10");
        const QSize m05 = textBox("0.5"), mMax = textBox("1.5E+006");
        const QRect boxes[] = {
            {QPoint(60 - m2.width() / 2, 130), m2},
            {QPoint(200 - m10.width() / 2, 130), m10},
            {QPoint(60 - m05.width() - 5, 120 - m05.height() / 2), m05},
            {QPoint(60 - mMax.width() - 5, 40 - mMax.height() / 2), mMax},
        };
        for (const QRect& box : boxes) {
            EXPECT_EQ(coloursIn(image, box), (std::set<uint32_t>{c.box, c.text}));
            EXPECT_EQ(ringAround(image, box), std::set<uint32_t>{kWhite});
        }
    }
}

TEST(Renderer, LogWrittenOnlyOnALogAxisWithoutGrid) {
    struct Case {
        int32_t xLog, yLog, grid;
        bool xMark, yMark;
    };
    const Case cases[] = {
        {1, 0, 0, true, false},  {1, 0, 1, false, false}, {0, 1, 0, false, true},
        {0, 1, 1, false, false}, {1, 1, 0, true, true},   {0, 0, 0, false, false},
    };
    const QSize log = textBox("LOG");
    const QRect xMark(QPoint(80 - log.width() / 2, 95), log);
    const QRect yMark(QPoint(55 - log.width() - 5, 70 - log.height() / 2), log);
    const auto written = std::set<uint32_t>{kAxis, kWhite};
    const auto blank = std::set<uint32_t>{kWhite};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << "xLog " << c.xLog << " yLog " << c.yLog << " grid " << c.grid);
        GraphScene scene = sceneOf({160, 120});
        scene.axis.xLog = c.xLog;
        scene.axis.yLog = c.yLog;
        scene.style.showGrid = c.grid;
        const QImage image = draw(scene);
        EXPECT_EQ(coloursIn(image, xMark), c.xMark ? written : blank);
        EXPECT_EQ(coloursIn(image, yMark), c.yMark ? written : blank);
        // The limits are labelled as they are: Xmin 0 at the left end, also on a log axis.
        EXPECT_EQ(coloursIn(image, QRect(QPoint(55 - textBox("0").width() / 2, 95), textBox("0"))),
                  written);
    }
}

TEST(Renderer, LogXDecadeGridFromAHundredthToAHundred) {
    GraphScene scene = sceneOf({480, 120});
    scene.axis = {0.01, 100, 0, 1, 1, 0, {55, 55, 455, 85}};
    const QImage image = draw(scene, {.size = {480, 120}});
    const int row = 60;  // between the horizontal grid lines at 58 and 61
    // 2 px decade lines cover their position and the pixel before it.
    for (int x : {153, 154, 254, 255, 354, 355}) EXPECT_EQ(colourAt(image, x, row), kAxis) << x;
    for (int x : {85, 102, 115, 124, 132, 139, 145, 150}) {
        EXPECT_EQ(colourAt(image, x, row), kAxis) << x;
        EXPECT_EQ(colourAt(image, x - 1, row), kWhite) << x;  // 1 px wide
    }
    // The first decade position truncates to 54, on the frame: no 2 px line there.
    EXPECT_EQ(colourAt(image, 53, row), kWhite);
    EXPECT_EQ(colourAt(image, 86, row), kWhite);
}

TEST(Renderer, MarkersAtTheLimitsAndClippedToThePlotWithoutImage) {
    struct Case {
        const char* what;
        double x, y;
        int32_t displaySource;
        QRect marker;  // pixels in the data colour; null for none
    };
    const double atRightEdge = 103.5 / 49;  // maps to column 158, at the visible edge
    const Case cases[] = {
        {"Xmax, Ymax at (P.right - 1, P.top + 1)", 1, 1, 1, QRect(101, 53, 6, 6)},
        {"Xmax, Ymax cut at P", 1, 1, 0, QRect(101, 55, 4, 4)},
        {"Xmin, Ymin at (P.left, P.bottom)", 0, 0, 1, QRect(52, 82, 6, 6)},
        {"Xmin, Ymin cut at P", 0, 0, 0, QRect(55, 82, 3, 3)},
        {"outside P over an image", 1.5, 0.5, 1, QRect(125, 68, 6, 6)},
        {"outside P without image", 1.5, 0.5, 0, QRect()},
        {"cut at the visible image", atRightEdge, 0.5, 2, QRect(155, 68, 4, 6)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const GeneratedGraph graph = graphOf({{c.x, c.y}});
        GraphScene scene = sceneOf({160, 120}, &graph);
        scene.style = only(true, false, false);
        scene.displaySource = c.displaySource;
        EXPECT_EQ(boundsOf(draw(scene), kData), c.marker);
    }
}

TEST(Renderer, LineTakesThePenOfThePointItLeadsTo) {
    // (79, 71) inside, (128, 71) outside, (94, 83) inside.
    const GeneratedGraph graph = graphOf({{0.5, 0.5}, {1.5, 0.5}, {0.8, 0.1}});
    GraphScene scene = sceneOf({160, 120}, &graph);
    scene.style = only(false, true, false);

    const QImage overImage = draw(scene);
    const auto axisOnly = std::set<uint32_t>{kAxis};
    EXPECT_EQ(coloursIn(overImage, QRect(88, 70, 4, 2)), axisOnly);   // towards the outside point
    EXPECT_EQ(coloursIn(overImage, QRect(115, 70, 2, 2)), axisOnly);  // beyond P
    const std::set<uint32_t> back = coloursIn(overImage, QRect(110, 76, 2, 2));
    EXPECT_TRUE(back.count(kData) == 1 && back.count(kAxis) == 0);  // back into P: data pen

    scene.displaySource = 0;  // the parts outside P are clipped away
    const QImage blank = draw(scene);
    EXPECT_EQ(coloursIn(blank, QRect(88, 70, 4, 2)), axisOnly);
    EXPECT_EQ(coloursIn(blank, QRect(115, 70, 2, 2)), std::set<uint32_t>{kWhite});
    EXPECT_EQ(coloursIn(blank, QRect(110, 76, 2, 2)), std::set<uint32_t>{kWhite});
}

TEST(Renderer, NumberColourFollowsThePointAndOutsideTheVisibleImageIsDropped) {
    {
        const GeneratedGraph graph = graphOf({{0.5, 0.5}, {1.5, 0.5}});
        GraphScene scene = sceneOf({160, 120}, &graph);
        scene.style = only(false, false, true);
        const QImage image = draw(scene);
        const QSize one = textBox("1");
        EXPECT_EQ(coloursIn(image, QRect(QPoint(79 - one.width() - 5, 71), one)),
                  (std::set<uint32_t>{kData, kWhite}));
        const QSize two = textBox("2");
        EXPECT_EQ(coloursIn(image, QRect(QPoint(128 - two.width() - 5, 71), two)),
                  (std::set<uint32_t>{kAxis, kWhite}));
    }
    {
        // Image 120 x 90; plot (10, 20)-(110, 80). Point 1 at column 10 would
        // put its number's box left of the image, point 3 on the bottom edge
        // below it; point 2 at (14, 27) fits.
        const GeneratedGraph graph = graphOf({{0, 0.5}, {0.05, 0.9}, {1, 0}});
        GraphScene scene = sceneOf({120, 90}, &graph);
        scene.axis.axisRect = {10, 20, 110, 80};
        scene.style = only(false, false, true);
        const QImage image = draw(scene, {.size = {120, 90}});
        const QSize box = textBox("1");
        EXPECT_EQ(coloursIn(image, QRect(0, 51, 5, box.height())), std::set<uint32_t>{kWhite});
        EXPECT_EQ(coloursIn(image, QRect(QPoint(3, 27), box)), (std::set<uint32_t>{kData, kWhite}));
        EXPECT_EQ(coloursIn(image, QRect(98, 81, box.width(), 9)), std::set<uint32_t>{kWhite});
    }
}

TEST(Renderer, UndefinedPointsAreSkipped) {
    constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
    constexpr double kInf = std::numeric_limits<double>::infinity();
    {
        const GeneratedGraph graph = graphOf({{0.2, 0.5}, {0.5, 0.5}});
        GraphScene scene = sceneOf({160, 120}, &graph);
        scene.axis.xMin = scene.axis.xMax = 0.5;
        const QImage image = draw(scene);
        EXPECT_TRUE(boundsOf(image, kData).isNull());
        EXPECT_EQ(colourAt(image, 55, 70), kAxis);  // the frame is still there
    }
    {
        // Log X from 1 to 100: -1 and 0 have no position; the curve breaks there.
        const GeneratedGraph graph =
            graphOf({{1, 0.5}, {-1, 0.5}, {0, 0.5}, {10, 0.5}, {100, 0.5}});
        GraphScene scene = sceneOf({160, 120}, &graph);
        scene.axis.xMin = 1;
        scene.axis.xMax = 100;
        scene.axis.xLog = 1;
        scene.style = only(true, true, false);
        const QImage image = draw(scene);
        EXPECT_EQ(colourAt(image, 55, 71), kData);  // markers at 55, 79, 104
        EXPECT_EQ(colourAt(image, 79, 71), kData);
        EXPECT_EQ(colourAt(image, 104, 71), kData);
        EXPECT_EQ(coloursIn(image, QRect(60, 69, 15, 4)), std::set<uint32_t>{kWhite});
        EXPECT_EQ(coloursIn(image, QRect(85, 70, 14, 2)), std::set<uint32_t>{kData});
    }
    {
        // Non-finite and far-out values, an infinite limit on a log axis and a
        // count larger than the arrays.
        GeneratedGraph graph = graphOf({{kNaN, 0.5}, {0.5, kInf}, {1e300, 0.5}, {0.5, 0.5}});
        graph.generatedCount = 1000;
        GraphScene scene = sceneOf({160, 120}, &graph);
        scene.axis.yMax = kInf;
        scene.axis.yLog = 1;
        scene.style.showNumbers = 1;
        const QImage image = draw(scene);
        EXPECT_FALSE(boundsOf(image, kData).isNull());
        EXPECT_EQ(colourAt(image, 55, 70), kAxis);
    }
}

TEST(Renderer, ZoomAndScrollMoveThePlotToCellCentres) {
    // Zoom 4x scrolled to (40, 100): (55, 55) has its cell at (180, 120)-(184, 124)
    // in the window, centre (182, 122); (105, 85) at (382, 242).
    const GeneratedGraph graph = graphOf({{1, 1}});
    GraphScene scene = sceneOf({160, 120}, &graph);
    scene.view.zoomShift = 2;
    scene.view.cellSize = {4, 4};
    scene.view.scrollPos = {40, 100};
    scene.style = only(true, false, false);
    const QImage window = draw(scene, {.size = {480, 300}, .scroll = {40, 100}});
    EXPECT_EQ(columnsWith(window, 180, 150, 400, kAxis), (std::set<int>{181, 182, 381, 382}));
    EXPECT_EQ(rowsWith(window, 300, 100, 260, kAxis), (std::set<int>{121, 122, 241, 242}));
    // (Xmax, Ymax) at (P.right - 1, P.top + 1) = (381, 123), a 6 x 6 marker.
    EXPECT_EQ(boundsOf(window, kData), QRect(378, 120, 6, 6));
}

TEST(Renderer, NothingWithoutImage) {
    const GeneratedGraph graph = graphOf({{0.5, 0.5}});
    for (const IntSize size : {IntSize{0, 120}, IntSize{160, 0}}) {
        const QImage image = draw(sceneOf(size, &graph));
        EXPECT_EQ(coloursIn(image, image.rect()), std::set<uint32_t>{kWhite});
    }
}

TEST(Renderer, RestoresThePainterState) {
    const GeneratedGraph graph = graphOf({{0.2, 0.2}, {0.8, 0.6}});
    GraphScene scene = sceneOf({160, 120}, &graph);
    scene.style.showNumbers = 1;
    scene.displaySource = 0;
    QImage image(160, 120, QImage::Format_RGB32);
    QPainter painter(&image);
    const QPen pen(Qt::green, 3);
    QFont font("Serif");
    font.setPixelSize(20);
    painter.setPen(pen);
    painter.setFont(font);
    painter.setBackgroundMode(Qt::OpaqueMode);
    painter.setRenderHint(QPainter::Antialiasing, true);
    drawGeneratedGraph(painter, scene, kData, kAxis);
    EXPECT_EQ(painter.pen(), pen);
    EXPECT_EQ(painter.font(), font);
    EXPECT_EQ(painter.backgroundMode(), Qt::OpaqueMode);
    EXPECT_TRUE(painter.testRenderHint(QPainter::Antialiasing));
    EXPECT_FALSE(painter.hasClipping());
}

}  // namespace
}  // namespace qf
