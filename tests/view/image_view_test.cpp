// The image view as a widget: Qt's mouse, wheel and scroll-bar events reach
// the tools at the right pixels, the scroll bars follow zoom and panning, and
// the grabbed viewport shows the image, its margins and the overlays.

#include "view/image_view.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QWheelEvent>
#include <opencv2/imgcodecs.hpp>
#include <ostream>
#include <vector>

#include "app/commands.h"
#include "support/fake_dialogs.h"
#include "support/full_size.h"
#include "view/cursors.h"
#include "view/paint/magnifier.h"
#include "view/paint/overlays.h"
#include "view/paint/paint_test_support.h"

namespace qf {

void PrintTo(const IntPoint& p, std::ostream* os) {
    *os << "(" << p.x << ", " << p.y << ")";
}
void PrintTo(const IntRect& r, std::ostream* os) {
    *os << "(" << r.left << ", " << r.top << ", " << r.right << ", " << r.bottom << ")";
}
void PrintTo(const SourcePoint& p, std::ostream* os) {
    *os << "(" << p.h << ", " << p.v << ")";
}

namespace {

using namespace qf::test;

constexpr uint32_t kGrey = 0x808080;

bool sameCursor(const QCursor& a, const QCursor& b) {
    if (a.shape() != b.shape()) return false;
    if (a.shape() != Qt::BitmapCursor) return true;
    return a.hotSpot() == b.hotSpot() && a.bitmap().toImage() == b.bitmap().toImage() &&
           a.mask().toImage() == b.mask().toImage();
}

std::vector<SourcePoint> pointsOf(const ViewState& s) {
    return {s.doc.current().points.begin(), s.doc.current().points.begin() + s.pointCount()};
}

class ImageViewTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        view.resize(300, 220);
        // The loupe beside the pointer would cover what these tests look at;
        // its own tests switch it on.
        view.state().showMagnifier = 0;
        view.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
    }

    // Writes the picture as a PNG and shows it as the window opens it.
    void open(const cv::Mat& picture) {
        const QString path = dir.filePath(QStringLiteral("picture%1.png").arg(files++));
        ASSERT_TRUE(cv::imwrite(path.toStdString(), picture));
        PictureRead read = readPicture(path.toStdString());
        ASSERT_TRUE(read.ok()) << read.message;
        view.showOpenedPicture(std::move(read.picture), path, QString::fromStdString(read.title),
                               read.warning);
        test::zoomToFullSize(view);
        scrollTo({0, 0});  // a new picture keeps the old scroll position where it can
    }
    void open(int w, int h) { open(plainImage(w, h, kGrey)); }

    void zoomTo(int z) {
        while (s().transform.zoomShift < z) view.onCommand(ID_ZOOM_IN);
        while (s().transform.zoomShift > z) view.onCommand(ID_ZOOM_OUT);
        ASSERT_EQ(s().transform.zoomShift, z);
        settle();
    }
    // Scroll bars show and hide, and the viewport resizes, only when the
    // event loop runs.
    void settle() {
        for (int i = 0; i < 4; ++i) QCoreApplication::processEvents();
    }
    // Through the scroll bars, as the user drags them.
    void scrollTo(IntPoint at) {
        settle();
        view.horizontalScrollBar()->setValue(at.x);
        view.verticalScrollBar()->setValue(at.y);
        ASSERT_EQ(s().transform.scrollPos, at);
    }
    // No tool overlay over the picture.
    void noTool() {
        s().tools.clear();
        port()->update();
    }

    QWidget* port() { return view.viewport(); }
    ViewState& s() { return view.state(); }
    IntSize client() { return {port()->width(), port()->height()}; }
    IntPoint scrollBars() {
        return {view.horizontalScrollBar()->value(), view.verticalScrollBar()->value()};
    }

    void press(QPoint at, Qt::MouseButton b = Qt::LeftButton) {
        QTest::mousePress(port(), b, {}, at);
    }
    void release(QPoint at, Qt::MouseButton b = Qt::LeftButton) {
        QTest::mouseRelease(port(), b, {}, at);
    }
    // With a button held (QTest sends no move event without one).
    void drag(QPoint to) { QTest::mouseMove(port(), to); }
    void click(QPoint at) {
        press(at);
        release(at);
    }
    void hover(QPoint at) {
        QMouseEvent e(QEvent::MouseMove, at, port()->mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                      Qt::NoModifier);
        QApplication::sendEvent(port(), &e);
    }
    void wheel(QPoint at, int delta) {
        QWheelEvent e(at, port()->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(port(), &e);
        settle();
    }
    QImage grab() { return port()->grab().toImage(); }

    testing_support::FakeDialogs dialogs;
    ImageView view{dialogs};
    QTemporaryDir dir;
    int files = 0;
};

// ---- Coordinates ----------------------------------------------------------

TEST_F(ImageViewTest, ClickAddsThePixelUnderItAtEveryZoomAndScroll) {
    open(400, 300);
    view.onCommand(ID_ADD_POINTS);
    struct Case {
        int zoom;
        IntPoint scroll;
        QPoint click;
        SourcePoint pixel;
        QPoint crossCentre;  // window centre of the pixel's cell
    };
    const Case cases[] = {
        {2, {0, 0}, {5, 9}, {1, 2}, {6, 10}},  // cell (4, 8, 8, 12)
        {2, {8, 4}, {5, 9}, {3, 3}, {6, 10}},
        {3, {3, 5}, {5, 9}, {1, 1}, {9, 7}},  // cell (5, 3, 13, 11)
        {0, {30, 20}, {5, 9}, {35, 29}, {5, 9}},
        {-2, {0, 0}, {5, 9}, {20, 36}, {5, 9}},
        {-2, {0, 0}, {2, 1}, {8, 4}, {2, 1}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << "zoom " << c.zoom << " click " << c.click.x() << "," << c.click.y());
        s().doc.current().points.clear();
        zoomTo(c.zoom);
        scrollTo(c.scroll);
        click(c.click);
        EXPECT_EQ(pointsOf(s()), std::vector<SourcePoint>{c.pixel});
        // Outside the axis rectangle: a blue cross on the pixel's cell centre.
        const QImage shown = grab();
        const QPoint arm = c.crossCentre + QPoint(4, 4);
        EXPECT_EQ(colourAt(shown, arm.x(), arm.y()), kPointOutsideColour);
    }
}

TEST_F(ImageViewTest, ClickBesideTheShrunkImageAddsNothing) {
    open(64, 48);  // 16 x 12 window pixels at zoom -2
    view.onCommand(ID_ADD_POINTS);
    zoomTo(-2);
    click({20, 5});
    click({5, 14});
    EXPECT_EQ(s().pointCount(), 0);
}

// ---- Scroll bars ----------------------------------------------------------

TEST_F(ImageViewTest, ScrollBarsSpanTheZoomedImageBeyondTheViewport) {
    struct Case {
        IntSize image;
        int zoom;
        IntSize zoomed;
    };
    const Case cases[] = {
        {{1000, 800}, 1, {2000, 1600}},  // both bars, each changing the other's room
        {{600, 100}, 0, {600, 100}},     // wider only
        {{100, 600}, 0, {100, 600}},     // taller only
        {{100, 50}, 0, {100, 50}},      {{20, 10}, -4, {1, 0}}, {{10, 10}, -4, {0, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.image.cx << "x" << c.image.cy << " at " << c.zoom);
        open(c.image.cx, c.image.cy);
        zoomTo(c.zoom);
        const int cell = c.zoom > 0 ? 1 << c.zoom : 1;
        EXPECT_EQ(s().transform.displaySize, c.zoomed);
        EXPECT_EQ(s().transform.cellSize, (IntSize{cell, cell}));
        const QScrollBar* h = view.horizontalScrollBar();
        const QScrollBar* v = view.verticalScrollBar();
        EXPECT_EQ(h->maximum(), std::max(c.zoomed.cx - client().cx, 0));
        EXPECT_EQ(v->maximum(), std::max(c.zoomed.cy - client().cy, 0));
        EXPECT_EQ(h->isVisible(), c.zoomed.cx > client().cx);
        EXPECT_EQ(v->isVisible(), c.zoomed.cy > client().cy);
        EXPECT_EQ(h->singleStep(), cell);
        EXPECT_EQ(v->singleStep(), cell);
        if (c.zoomed.cx > 0 && c.zoomed.cy > 0) {
            EXPECT_EQ(h->pageStep(), std::max(c.zoomed.cx / 16, cell));
            EXPECT_EQ(v->pageStep(), std::max(c.zoomed.cy / 16, cell));
        }
        // The far end of the range shows the image's last row and column.
        scrollTo({h->maximum(), v->maximum()});
        EXPECT_EQ(s().transform.scrollPos.x + client().cx, std::max(c.zoomed.cx, client().cx));
        EXPECT_EQ(s().transform.scrollPos.y + client().cy, std::max(c.zoomed.cy, client().cy));
    }
}

// ---- Wheel ----------------------------------------------------------------

TEST_F(ImageViewTest, WheelZoomStopsAtTheEndsOfTheRange) {
    open(400, 300);  // 25 x 18 window pixels at zoom -4
    struct Step {
        QPoint at;
        int delta;
        int zoom;
    };
    std::vector<Step> steps;
    for (int z = 1; z <= 6; ++z) steps.push_back({{10, 10}, 120, z});
    steps.push_back({{10, 10}, 120, 6});
    for (int z = 5; z >= -4; --z) steps.push_back({{10, 10}, -120, z});
    steps.push_back({{10, 10}, -120, -4});
    steps.push_back({{10, 10}, 0, -4});      // no delta, no zoom
    steps.push_back({{100, 100}, 120, -4});  // beside the image
    for (const Step& step : steps) {
        wheel(step.at, step.delta);
        ASSERT_EQ(s().transform.zoomShift, step.zoom) << "delta " << step.delta;
    }
}

TEST_F(ImageViewTest, WheelZoomKeepsThePixelUnderThePointer) {
    const cv::Mat picture = patternImage(400, 300);
    open(picture);
    noTool();
    const QPoint at(150, 100);
    const uint32_t under = pixelOf(picture, 150, 100);
    ASSERT_EQ(colourAt(grab(), at.x(), at.y()), under);
    for (int delta : {120, 120, 120, 120, -120, -120, -120, -120}) {
        wheel(at, delta);
        SCOPED_TRACE(testing::Message() << "zoom " << s().transform.zoomShift);
        EXPECT_EQ(scrollBars(), s().transform.scrollPos);
        EXPECT_EQ(colourAt(grab(), at.x(), at.y()), under);
    }
    EXPECT_EQ(s().transform.zoomShift, 0);
}

// ---- Corner tool ----------------------------------------------------------

TEST_F(ImageViewTest, CornerGrabBoxAndJump) {
    // Corners of a 160 x 120 picture: (20, 20), (140, 20), (140, 100), (20, 100).
    struct Case {
        int zoom;
        QPoint press;
        IntPoint corner0;  // after the press and a release without a move
    };
    const Case cases[] = {
        {0, {15, 15}, {15, 15}},  // the box runs from 5 before the centre...
        {0, {24, 24}, {24, 24}},  // ...to 4 after it
        {0, {25, 20}, {20, 20}}, {0, {20, 14}, {20, 20}},
        {1, {36, 36}, {18, 18}},  // centre (41, 41)
        {1, {44, 45}, {22, 22}}, {1, {46, 41}, {20, 20}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << "zoom " << c.zoom << " press " << c.press.x() << "," << c.press.y());
        open(160, 120);
        view.onCommand(ID_MAPPING_CORNERS);
        zoomTo(c.zoom);
        const Quad before = s().doc.mapping.corners;
        press(c.press);
        EXPECT_EQ(s().doc.mapping.corners[0], c.corner0);  // at once, before any move
        release(c.press);
        EXPECT_EQ(s().doc.mapping.corners[0], c.corner0);
        for (int i = 1; i < 4; ++i) EXPECT_EQ(s().doc.mapping.corners[i], before[i]);
    }
}

TEST_F(ImageViewTest, CornerDragMovesTheCornerAndItsGuide) {
    open(160, 120);
    const Quad guide = s().guide.innerQuad;
    press({140, 100});
    drag({120, 90});
    drag({110, 80});
    EXPECT_EQ(s().doc.mapping.corners[2], (IntPoint{140, 100}));  // applied on release
    release({110, 80});
    EXPECT_EQ(s().doc.mapping.corners[2], (IntPoint{110, 80}));
    EXPECT_NE(s().guide.innerQuad, guide);
}

// ---- Graph-rectangle tool -------------------------------------------------

TEST_F(ImageViewTest, GraphRectangleHandlesAxisEdgesFirst) {
    // Graph rectangle (15, 15, 145, 105), axis rectangle (30, 30, 130, 90).
    struct Case {
        QPoint press;
        int axisLeft;  // moved next to the graph rectangle's corner for one case
        GraphRectHandle handle;
        ToolCursor cursor;
    };
    const Case cases[] = {
        {{15, 15}, 30, GraphRectHandle::GraphTopLeft, ToolCursor::Cross},
        {{145, 15}, 30, GraphRectHandle::GraphTopRight, ToolCursor::Cross},
        {{145, 105}, 30, GraphRectHandle::GraphBottomRight, ToolCursor::Cross},
        {{15, 105}, 30, GraphRectHandle::GraphBottomLeft, ToolCursor::Cross},
        {{30, 5},
         30,
         GraphRectHandle::AxisLeft,
         ToolCursor::VerticalEdge},  // far above the rectangle
        {{130, 110}, 30, GraphRectHandle::AxisRight, ToolCursor::VerticalEdge},
        {{80, 90}, 30, GraphRectHandle::AxisBottom, ToolCursor::HorizontalEdge},
        {{5, 30}, 30, GraphRectHandle::AxisTop, ToolCursor::HorizontalEdge},
        {{15, 15}, 18, GraphRectHandle::AxisLeft, ToolCursor::VerticalEdge},  // edge beats corner
        {{80, 60}, 30, GraphRectHandle::None, ToolCursor::Cross},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "press " << c.press.x() << "," << c.press.y());
        open(160, 120);
        view.onCommand(ID_GRAPH_RECT);
        s().doc.axis.axisRect.left = c.axisLeft;
        const IntRect graph = s().doc.mapping.graphRect;
        const IntRect axis = s().doc.axis.axisRect;
        press(c.press);
        EXPECT_EQ(s().drag.selectedHandle, c.handle);
        EXPECT_EQ(s().drag.dragActive, c.handle != GraphRectHandle::None ? 1 : 0);
        EXPECT_TRUE(sameCursor(port()->cursor(), toolCursor(c.cursor)));
        release(c.press);
        EXPECT_EQ(s().doc.mapping.graphRect, graph);
        EXPECT_EQ(s().doc.axis.axisRect, axis);
    }
}

TEST_F(ImageViewTest, GraphRectangleDragStopsAtTheAxesAndTheAxesAtItsBorder) {
    struct Case {
        int zoom;
        QPoint press;
        QPoint to;  // one quick move: limited like every other
        IntRect graph;
        IntRect axis;
    };
    const Case cases[] = {
        // Top-left corner pulled inside stops on the axis edges, at any zoom.
        {0, {15, 15}, {100, 80}, {30, 30, 145, 105}, {30, 30, 130, 90}},
        {2, {62, 62}, {200, 170}, {30, 30, 145, 105}, {30, 30, 130, 90}},
        // Top axis edge pulled down stops 10 above the bottom one.
        {0, {60, 30}, {60, 115}, {15, 15, 145, 105}, {30, 80, 130, 90}},
        // Left axis edge pulled out reaches the graph rectangle's edge.
        {2, {122, 100}, {20, 100}, {15, 15, 145, 105}, {15, 30, 130, 90}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << "zoom " << c.zoom << " press " << c.press.x() << "," << c.press.y());
        open(160, 120);
        view.onCommand(ID_GRAPH_RECT);
        zoomTo(c.zoom);
        press(c.press);
        drag(c.to);
        release(c.to);
        EXPECT_EQ(s().doc.mapping.graphRect, c.graph);
        EXPECT_EQ(s().doc.axis.axisRect, c.axis);
    }
}

// ---- Point tools ----------------------------------------------------------

TEST_F(ImageViewTest, AddRefusesTheBorderAndSelectsAPointItHits) {
    open(40, 30);
    view.onCommand(ID_ADD_POINTS);
    zoomTo(2);  // cells of 4: hit boxes 10 x 10 around the cell centres
    struct Step {
        QPoint click;
        int count;
        int selected;
        SourcePoint last;
    };
    const Step steps[] = {
        {{2, 22}, 0, -1, {}},    // column 0
        {{158, 22}, 0, -1, {}},  // column 39
        {{22, 2}, 0, -1, {}},    // row 0
        {{22, 118}, 0, -1, {}},  // row 29
        {{42, 42}, 1, 0, {10, 10}},   {{6, 6}, 2, 1, {1, 1}},
        {{37, 37}, 2, 0, {1, 1}},    // (9, 9), in the box of (10, 10)
        {{47, 42}, 3, 2, {11, 10}},  // just right of that box
        {{46, 46}, 3, 0, {11, 10}},  // in both boxes: the first point
        {{154, 114}, 4, 3, {38, 28}},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(testing::Message() << step.click.x() << "," << step.click.y());
        click(step.click);
        ASSERT_EQ(s().pointCount(), step.count);
        EXPECT_EQ(s().selectedPoint, step.selected);
        if (step.count > 0) {
            EXPECT_EQ(s().doc.current().points[step.count - 1], step.last);
        }
    }
}

TEST_F(ImageViewTest, ErasePressRemovesEveryPointUnderIt) {
    open(160, 120);
    view.onCommand(ID_ERASE_POINTS);
    for (SourcePoint p : {SourcePoint{10, 10}, {40, 40}, {10, 10}, {13, 12}})
        addSourcePoint(s().doc.current().points, p);
    click({11, 11});
    EXPECT_EQ(pointsOf(s()), (std::vector<SourcePoint>{{40, 40}}));
}

TEST_F(ImageViewTest, EraseRegionTakesOnlyPointsStrictlyInside) {
    open(160, 120);
    view.onCommand(ID_ERASE_POINTS);
    const std::vector<SourcePoint> edges{{30, 45}, {80, 45}, {50, 30}, {50, 80}, {90, 90}};
    for (SourcePoint p : edges) addSourcePoint(s().doc.current().points, p);
    addSourcePoint(s().doc.current().points, {50, 50});
    addSourcePoint(s().doc.current().points, {31, 79});
    press({30, 30});
    drag({55, 55});
    drag({80, 80});
    EXPECT_EQ(s().pointCount(), 7);  // on release
    // The band inverts the grey picture along the cells' span, (30, 30, 81, 81).
    constexpr uint32_t kInverted = 0x7F7F7F;
    EXPECT_TRUE(coloursIn(grab(), QRect(65, 78, 1, 7)).count(kInverted));
    release({80, 80});
    EXPECT_EQ(pointsOf(s()), edges);
    EXPECT_EQ(countOf(grab(), kInverted), 0);
}

// ---- Right button ---------------------------------------------------------

TEST_F(ImageViewTest, RightPressCancelsALeftDrag) {
    struct Case {
        int tool;
        QPoint press;
        QPoint to;
    };
    const Case cases[] = {
        {ID_MAPPING_CORNERS, {20, 20}, {60, 50}},
        {ID_GRAPH_RECT, {15, 15}, {18, 19}},
        {ID_GRAPH_RECT, {30, 60}, {50, 60}},
        {ID_ERASE_POINTS, {30, 30}, {80, 80}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "tool " << c.tool);
        open(160, 120);
        view.onCommand(c.tool);
        addSourcePoint(s().doc.current().points, {50, 50});
        press(c.press);
        const ViewState pressed = s();  // a grabbed corner has already jumped
        drag(c.to);
        press(c.to, Qt::RightButton);
        release(c.to);
        release(c.to, Qt::RightButton);
        EXPECT_EQ(s().doc.mapping.corners, pressed.doc.mapping.corners);
        EXPECT_EQ(s().doc.mapping.graphRect, pressed.doc.mapping.graphRect);
        EXPECT_EQ(s().doc.axis.axisRect, pressed.doc.axis.axisRect);
        EXPECT_EQ(pointsOf(s()), pointsOf(pressed));
    }
}

TEST_F(ImageViewTest, PanningMovesOnlyAlongAxesTheImageFills) {
    struct Case {
        IntSize image;
        IntPoint scroll;  // after dragging from (100, 80) to (60, 50)
    };
    const Case cases[] = {
        {{600, 100}, {40, 0}},
        {{100, 600}, {0, 30}},
        {{600, 600}, {40, 30}},
        {{100, 100}, {0, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.image.cx << "x" << c.image.cy);
        open(c.image.cx, c.image.cy);
        press({100, 80}, Qt::RightButton);
        EXPECT_TRUE(sameCursor(port()->cursor(), toolCursor(ToolCursor::Pan)));
        drag({80, 60});
        drag({60, 50});
        EXPECT_EQ(s().transform.scrollPos, c.scroll);
        EXPECT_EQ(scrollBars(), c.scroll);
        release({60, 50}, Qt::RightButton);
        EXPECT_EQ(s().transform.panAnchor, (IntPoint{-1, -1}));
    }
}

// ---- Cursors --------------------------------------------------------------

TEST_F(ImageViewTest, HoverShowsTheToolsCursor) {
    open(160, 120);
    struct Case {
        int tool;
        QPoint at;
        ToolCursor cursor;
    };
    const Case cases[] = {
        {ID_ADD_POINTS, {80, 60}, ToolCursor::Add},
        {ID_ERASE_POINTS, {80, 60}, ToolCursor::Erase},
        {ID_GRAPH_RECT, {128, 60}, ToolCursor::VerticalEdge},
        {ID_GRAPH_RECT, {80, 33}, ToolCursor::HorizontalEdge},
        {ID_GRAPH_RECT, {80, 60}, ToolCursor::Arrow},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << "tool " << c.tool << " at " << c.at.x() << "," << c.at.y());
        view.onCommand(c.tool);
        hover(c.at);
        EXPECT_TRUE(sameCursor(port()->cursor(), toolCursor(c.cursor)));
    }
}

// ---- Painting -------------------------------------------------------------

TEST_F(ImageViewTest, MarginsTakeThePalettesInactiveBorderColour) {
    QPalette palette = view.palette();
    palette.setColor(QPalette::Inactive, QPalette::Window, QColor(0x12, 0x9A, 0x56));
    view.setPalette(palette);
    const uint32_t border = 0x569A12;
    EXPECT_EQ(coloursIn(grab(), QRect(QPoint(0, 0), port()->size())),
              std::set<uint32_t>{border});  // no image yet

    const cv::Mat picture = patternImage(100, 50);
    open(picture);
    noTool();
    struct Case {
        int displaySource;
        uint32_t at10x10;
        uint32_t at99x49;
    };
    const Case cases[] = {{1, pixelOf(picture, 10, 10), pixelOf(picture, 99, 49)},
                          {0, kWhite, kWhite}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "display " << c.displaySource);
        if (s().display.displaySource != c.displaySource) view.onCommand(ID_DISPLAY_INPUT);
        ASSERT_EQ(s().display.displaySource, c.displaySource);
        const QImage shown = grab();
        EXPECT_EQ(colourAt(shown, 10, 10), c.at10x10);
        EXPECT_EQ(colourAt(shown, 99, 49), c.at99x49);
        // Black just below and right of the image, the border colour beyond.
        EXPECT_EQ(coloursIn(shown, QRect(0, 50, 101, 1)), std::set<uint32_t>{kBlack});
        EXPECT_EQ(coloursIn(shown, QRect(100, 1, 1, 50)), std::set<uint32_t>{kBlack});
        EXPECT_EQ(coloursIn(shown, QRect(101, 0, client().cx - 101, client().cy)),
                  std::set<uint32_t>{border});
        EXPECT_EQ(coloursIn(shown, QRect(0, 51, 101, client().cy - 51)),
                  std::set<uint32_t>{border});
    }
}

TEST_F(ImageViewTest, PixelGridMarksEveryCellFromZoomThree) {
    open(40, 30);
    noTool();
    view.onCommand(ID_PIXEL_GRID_SHOW);
    constexpr uint32_t kGrid = 0xFF0000;  // blue, the default
    struct Case {
        int zoom;
        IntPoint scroll;
    };
    const Case cases[] = {{3, {0, 0}}, {3, {3, 5}}, {2, {0, 0}}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << "zoom " << c.zoom << " scroll " << c.scroll.x << "," << c.scroll.y);
        zoomTo(c.zoom);
        scrollTo(c.scroll);
        const QImage shown = grab();
        if (c.zoom < 3) {
            EXPECT_EQ(countOf(shown, kGrid), 0);
            continue;
        }
        // Cells of 8 starting at window -scroll: grid on the left column and
        // the bottom row of each, image colour inside.
        for (int cellX = 1; cellX <= 3; ++cellX) {
            for (int cellY = 1; cellY <= 3; ++cellY) {
                const int left = cellX * 8 - c.scroll.x;
                const int top = cellY * 8 - c.scroll.y;
                EXPECT_EQ(coloursIn(shown, QRect(left, top, 1, 8)), std::set<uint32_t>{kGrid});
                EXPECT_EQ(coloursIn(shown, QRect(left, top + 7, 8, 1)), std::set<uint32_t>{kGrid});
                EXPECT_EQ(coloursIn(shown, QRect(left + 1, top, 7, 7)), std::set<uint32_t>{kGrey});
            }
        }
    }
}

TEST_F(ImageViewTest, OverlayColoursOfCornersAndPoints) {
    open(160, 120);
    view.onCommand(ID_MAPPING_CORNERS);
    QImage shown = grab();
    // Handles at the corners, and the quadrilateral's outline between them.
    for (QPoint corner : {QPoint(20, 20), QPoint(140, 20), QPoint(140, 100), QPoint(20, 100)})
        EXPECT_EQ(coloursIn(shown, QRect(corner - QPoint(3, 3), QSize(7, 7))),
                  std::set<uint32_t>{kMappingOverlayColour});
    EXPECT_TRUE(coloursIn(shown, QRect(80, 18, 1, 5)).count(kMappingOverlayColour));
    EXPECT_TRUE(coloursIn(shown, QRect(18, 60, 5, 1)).count(kMappingOverlayColour));

    // Axis rectangle (30, 30, 130, 90): its right and bottom edges are outside.
    view.onCommand(ID_ADD_POINTS);
    struct Point {
        SourcePoint at;
        uint32_t colour;
    };
    const Point points[] = {{{70, 70}, kPointInsideColour},
                            {{30, 30}, kPointInsideColour},
                            {{130, 60}, kPointOutsideColour},
                            {{60, 90}, kPointOutsideColour},
                            {{10, 10}, kPointOutsideColour}};
    for (const Point& p : points) click({p.at.h, p.at.v});
    ASSERT_EQ(s().pointCount(), 5);
    shown = grab();
    for (const Point& p : points) {
        SCOPED_TRACE(testing::Message() << p.at.h << "," << p.at.v);
        for (QPoint arm : {QPoint(4, 4), QPoint(-4, 4), QPoint(4, -4)})
            EXPECT_EQ(colourAt(shown, p.at.h + arm.x(), p.at.v + arm.y()), p.colour);
    }
    EXPECT_EQ(countOf(shown, kMappingOverlayColour), 0);
}

}  // namespace
}  // namespace qf

// ---- The loupe ----------------------------------------------------------------

namespace qf {
namespace {

// A picture whose every pixel differs from its neighbours.
cv::Mat numberedPicture(int w, int h) {
    cv::Mat m(h, w, CV_8UC3);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            m.at<cv::Vec3b>(y, x) =
                cv::Vec3b(uint8_t(x * 7), uint8_t(y * 11), uint8_t(x * 3 + y * 5));
    return m;
}

// The loupe shows, block by block, exactly the picture around the pixel a
// click would take, at every zoom below its own; it keeps clear of the
// pointer, and is gone when switched off or over no picture.
TEST_F(ImageViewTest, TheLoupeShowsThePixelsAroundTheOneAClickTakes) {
    view.resize(640, 480);
    open(numberedPicture(160, 120));
    view.onCommand(ID_ADD_POINTS);
    s().showMagnifier = 1;
    const cv::Mat picture = s().current()->clone();  // what the view shows (the grey output)
    struct Case {
        int zoom;
        QPoint pointer;
    };
    const Case cases[] = {{0, {60, 40}},   {1, {300, 230}}, {-1, {30, 20}},
                          {0, {150, 110}}, {2, {600, 440}}, {0, {200, 300}}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << "zoom " << c.zoom << " at " << c.pointer.x() << "," << c.pointer.y());
        zoomTo(c.zoom);
        scrollTo({0, 0});
        hover(c.pointer);
        const ImagePointResult under =
            ImagePointOf(s().transform, {c.pointer.x(), c.pointer.y()}, client(), s().imageSize());
        const std::optional<Loupe> loupe =
            loupeFor(s(), IntPoint{c.pointer.x(), c.pointer.y()}, client());
        if (!under.ok) {
            EXPECT_FALSE(loupe);
            continue;
        }
        ASSERT_TRUE(loupe);
        EXPECT_EQ(loupe->centre, under.point);
        const QRect box(loupe->box.left, loupe->box.top, kLoupeSide, kLoupeSide);
        EXPECT_FALSE(box.adjusted(-2, -2, 2, 2).contains(c.pointer));
        const QImage shown = grab();
        int wrong = 0;
        for (int dy = -kLoupeRadius; dy <= kLoupeRadius; ++dy) {
            for (int dx = -kLoupeRadius; dx <= kLoupeRadius; ++dx) {
                const int x = under.point.x + dx, y = under.point.y + dy;
                if (x < 0 || y < 0 || x >= picture.cols || y >= picture.rows) continue;
                // A block's inner pixels (the frame and arms draw on some edges).
                const int bx = box.left() + (dx + kLoupeRadius) * kLoupeScale + 2;
                const int by = box.top() + (dy + kLoupeRadius) * kLoupeScale + 2;
                if (dx == 0 || dy == 0) continue;  // the cross-hair's row and column
                const cv::Vec3b p = picture.at<cv::Vec3b>(y, x);
                const uint32_t want = uint32_t(p[0]) << 16 | uint32_t(p[1]) << 8 | p[2];
                if (colourAt(shown, bx, by) != want && ++wrong < 4)
                    ADD_FAILURE() << "block " << dx << "," << dy;
            }
        }
        EXPECT_EQ(wrong, 0);
        // The centre pixel itself, inside its red frame.
        const cv::Vec3b p = picture.at<cv::Vec3b>(under.point.y, under.point.x);
        const int cx = box.left() + kLoupeRadius * kLoupeScale;
        const int cy = box.top() + kLoupeRadius * kLoupeScale;
        EXPECT_EQ(colourAt(shown, cx + 2, cy + 2),
                  uint32_t(p[0]) << 16 | uint32_t(p[1]) << 8 | p[2]);
        EXPECT_EQ(colourAt(shown, cx - 1, cy + 3), kPointInsideColour);
    }

    // Switched off: the same place shows the picture only.
    zoomTo(0);
    scrollTo({0, 0});
    hover({60, 40});
    const QImage on = grab();
    view.onCommand(ID_MAGNIFIER);
    EXPECT_EQ(s().showMagnifier, 0);
    EXPECT_FALSE(view.snapshot().showMagnifier);
    const QImage off = grab();
    EXPECT_NE(on, off);
    EXPECT_EQ(colourAt(off, 100, 80), colourAt(grab(), 100, 80));
    // At the loupe's own zoom the view shows pixels as large: no loupe.
    view.onCommand(ID_MAGNIFIER);
    zoomTo(3);
    EXPECT_FALSE(loupeFor(s(), IntPoint{60, 40}, client()));
    // The extraction's click wants the same look; the erase tool does not.
    zoomTo(0);
    view.onCommand(ID_EXTRACT_CURVE);
    EXPECT_TRUE(loupeFor(s(), IntPoint{60, 40}, client()));
    view.onCommand(ID_ERASE_POINTS);
    EXPECT_FALSE(loupeFor(s(), IntPoint{60, 40}, client()));
}

}  // namespace
}  // namespace qf
