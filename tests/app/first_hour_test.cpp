// The road from a picture to a formula as a new user walks it, through the
// window's own operations: the mapping puts the axes on the plot's frame,
// ticks of known value calibrate the axes, the extraction finds a curve beyond
// the axis rectangle, new documents straighten photographs in perspective, a
// reopened project shows its work, and pictures open in sight.

#include <gtest/gtest.h>

#include <QApplication>
#include <QMouseEvent>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <cmath>
#include <opencv2/imgcodecs.hpp>
#include <opencv2/imgproc.hpp>

#include "app/application_window.h"
#include "app/output_pane.h"
#include "app/project_controller.h"
#include "common/default_geometry.h"
#include "support/fake_dialogs.h"
#include "support/full_size.h"
#include "support/paint_counter.h"
#include "view/image_view.h"

namespace qf {
namespace {

// A chart as plotting programs draw one: a black frame, ticks, and a black
// curve that runs from frame to frame.
cv::Mat chart(int w, int h) {
    cv::Mat m(h, w, CV_8UC3, cv::Scalar::all(255));
    const cv::Rect frame(w / 8, h / 8, w - w / 4, h - h / 4);
    cv::rectangle(m, frame, cv::Scalar::all(0), 1);
    for (int k = 0; k <= 4; ++k) {
        const int x = frame.x + k * frame.width / 4;
        cv::line(m, {x, frame.y + frame.height}, {x, frame.y + frame.height + 5},
                 cv::Scalar::all(0));
    }
    std::vector<cv::Point> curve;
    for (int x = frame.x + 1; x < frame.x + frame.width; ++x) {
        const double t = double(x - frame.x) / frame.width;
        curve.push_back({x, frame.y + int(frame.height * (0.8 - 0.6 * t * t))});
    }
    cv::polylines(m, curve, false, cv::Scalar(200, 60, 20), 2, cv::LINE_AA);
    return m;
}

using test::PaintCounter;

class FirstHourTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        w.frame().resize(1000, 700);
        w.frame().show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&w.frame()));
    }

    QString write(const QString& name, const cv::Mat& m) {
        const QString path = dir.filePath(name);
        cv::imwrite(path.toStdString(), m);
        return path;
    }
    void open(const cv::Mat& m, bool fullSize = true) {
        ASSERT_TRUE(w.projects().openPicture(write(QStringLiteral("chart.png"), m)));
        if (fullSize) test::zoomToFullSize(view());
        settle();
    }
    // A new project, the unsaved work left unsaved.
    void startAfresh() {
        dialogs.choiceAnswers = {1};
        w.frame().routeCommand(ID_FILE_NEW);
        dialogs.choiceAnswers.clear();
    }
    void settle() {
        for (int i = 0; i < 4; ++i) QApplication::processEvents();
    }
    void click(IntPoint p) {
        QTest::mouseClick(view().viewport(), Qt::LeftButton, {}, QPoint(p.x, p.y));
        settle();
    }
    // A change made as the settings pane makes one: one step of the document.
    void edit(const std::function<void(DocumentRecord&)>& change) {
        DocumentRecord r = doc().record();
        change(r);
        doc().commit(r, "test");
        settle();
    }

    ImageView& view() { return w.view(); }
    Document& doc() { return w.projects().document(); }
    const DocumentRecord& record() { return doc().record(); }

    QTemporaryDir dir;
    testing_support::FakeDialogs dialogs;
    ApplicationWindow w{dialogs, CameraSourceMap{}};
};

// Running the mapping puts an axis rectangle the user has not moved onto the
// graph rectangle (the plot's frame, once the corners are on it); a moved
// one stays where the user put it.
TEST_F(FirstHourTest, TheMappingPutsAnUnmovedAxisRectangleOnTheFrame) {
    const IntRect moved{80, 70, 300, 200};
    for (const bool move : {false, true}) {
        SCOPED_TRACE(move);
        startAfresh();
        open(chart(400, 300));
        ASSERT_EQ(record().axis.axisRect, defaultGeometryFor(400, 300).axisRect);
        if (move) edit([&](DocumentRecord& r) { r.axis.axisRect = moved; });
        w.frame().routeCommand(ID_MAPPING_RUN);
        settle();
        EXPECT_EQ(record().axis.axisRect, move ? moved : record().mapping.graphRect);
        // The axes still read 0 to 1: the status bar says what comes next.
        EXPECT_TRUE(
            w.frame().statusBar()->currentMessage().contains(QStringLiteral("目盛りで校正")))
            << w.frame().statusBar()->currentMessage().toStdString();
    }
}

// Two ticks on each axis with their values set the axes' values at the axis
// rectangle's edges, linear or logarithmic, as one undoable step; a pair that
// cannot give an axis changes nothing and says why.
TEST_F(FirstHourTest, TicksOfKnownValueCalibrateTheAxes) {
    struct Case {
        const char* what;
        bool xLog, yLog;
        std::vector<IntPoint> clicks;
        std::deque<QString> values;
        double xMin, xMax, yMin, yMax;  // NAN: the axes stay as they were
        const char* said;               // a part of the message, or null
    };
    const IntRect axisRect{60, 40, 340, 260};
    const std::vector<IntPoint> ticks{{100, 150}, {300, 150}, {200, 250}, {200, 50}};
    const Case cases[] = {
        {"linear", false, false, ticks, {"2", "6", "−1", "3"}, 1.2, 6.8, -1.2, 3.2, nullptr},
        {"log Y",
         false,
         true,
         ticks,
         {"2", "6", "1", "100"},
         1.2,
         6.8,
         std::pow(10.0, -0.1),
         std::pow(10.0, 2.1),
         nullptr},
        {"same place",
         false,
         false,
         {{100, 150}, {100, 150}, {200, 250}, {200, 50}},
         {"2", "6", "1", "3"},
         NAN,
         NAN,
         NAN,
         NAN,
         "同じ位置"},
        {"log of zero", false, true, ticks, {"2", "6", "0", "100"}, NAN, NAN, NAN, NAN, "正の数"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        startAfresh();
        open(chart(400, 300));
        edit([&](DocumentRecord& r) {
            r.axis.axisRect = axisRect;
            r.axis.xLog = c.xLog;
            r.axis.yLog = c.yLog;
            if (c.yLog) r.axis.yMin = 1, r.axis.yMax = 10;
        });
        const AxisSettings before = record().axis;
        const std::size_t steps = doc().history().undoCount();
        dialogs.messages.clear();
        dialogs.textAnswers = c.values;
        w.frame().routeCommand(ID_CALIBRATE_TICKS);
        for (const IntPoint p : c.clicks) click(p);
        EXPECT_TRUE(dialogs.textAnswers.empty());
        if (c.said) {
            ASSERT_EQ(dialogs.messages.size(), 1u);
            EXPECT_TRUE(dialogs.messages[0].contains(QString::fromUtf8(c.said)))
                << dialogs.messages[0].toStdString();
            EXPECT_EQ(record().axis, before);
            EXPECT_EQ(doc().history().undoCount(), steps);
            continue;
        }
        EXPECT_TRUE(dialogs.messages.empty());
        const AxisSettings& a = record().axis;
        EXPECT_NEAR(a.xMin, c.xMin, 1e-9);
        EXPECT_NEAR(a.xMax, c.xMax, 1e-9);
        EXPECT_NEAR(a.yMin, c.yMin, 1e-9);
        EXPECT_NEAR(a.yMax, c.yMax, 1e-9);
        EXPECT_EQ(a.axisRect, axisRect);
        EXPECT_EQ(doc().history().undoCount(), steps + 1);
        w.frame().routeCommand(ID_EDIT_UNDO);
        EXPECT_EQ(record().axis, before);
    }
}

// Cancelling a tick's value starts the calibration again from its first tick.
TEST_F(FirstHourTest, ACancelledTickStartsTheCalibrationAgain) {
    open(chart(400, 300));
    const AxisSettings before = record().axis;
    dialogs.textAnswers = {"2", QString()};
    w.frame().routeCommand(ID_CALIBRATE_TICKS);
    click({100, 150});
    click({300, 150});
    EXPECT_TRUE(view().state().tickPicks.empty());
    EXPECT_EQ(record().axis, before);
    EXPECT_EQ(dialogs.textLabels.size(), 2u);
}

// A curve that runs beyond the axis rectangle (calibrated on inner ticks) is
// found over the whole plot area.
TEST_F(FirstHourTest, TheExtractionSearchesThePlotBeyondTheAxisRectangle) {
    open(chart(400, 300));
    edit([](DocumentRecord& r) { r.axis.axisRect = {150, 100, 250, 200}; });
    w.frame().routeCommand(ID_EXTRACT_CURVE);
    // The curve at x = 200.
    const double t = (200.0 - 50) / 300;
    click({200, 37 + int(225 * (0.8 - 0.6 * t * t))});
    const ExtractionPreview& preview = view().state().extractPreview;
    ASSERT_TRUE(preview.shown());
    int32_t left = 1000, right = 0;
    for (const SourcePoint& p : preview.result.points) {
        left = std::min(left, p.h);
        right = std::max(right, p.h);
    }
    EXPECT_LT(left, 70);
    EXPECT_GT(right, 330);
}

TEST_F(FirstHourTest, NewDocumentsStraightenInPerspective) {
    EXPECT_EQ(record().mapping.method, MappingMethod::Perspective);
    edit([](DocumentRecord& r) { r.mapping.method = MappingMethod::Bilinear; });
    startAfresh();
    EXPECT_EQ(record().mapping.method, MappingMethod::Perspective);
}

// The mapping grid drawn over the input follows the method at once.
TEST_F(FirstHourTest, TheMappingGridIsRedrawnWhenTheMethodChanges) {
    open(chart(400, 300));
    edit([](DocumentRecord& r) {
        r.mapping.corners = {{{60, 40}, {330, 70}, {350, 270}, {40, 240}}};
        r.mapping.method = MappingMethod::Bilinear;
    });
    w.frame().routeCommand(ID_MAPPING_CORNERS);
    settle();
    ASSERT_TRUE(view().state().guide.showMappingGrid);
    const QImage bilinear = view().viewport()->grab().toImage();
    PaintCounter counter;
    view().viewport()->installEventFilter(&counter);
    edit([](DocumentRecord& r) { r.mapping.method = MappingMethod::Perspective; });
    EXPECT_GT(counter.paints, 0);  // repainted, not only when next exposed
    const QImage perspective = view().viewport()->grab().toImage();
    EXPECT_NE(bilinear, perspective);
    edit([](DocumentRecord& r) { r.mapping.method = MappingMethod::Bilinear; });
    EXPECT_EQ(view().viewport()->grab().toImage(), bilinear);
}

// A saved project reopens on its working picture with its points, its fit
// made again, and the whole picture in sight.
TEST_F(FirstHourTest, AReopenedProjectShowsItsWork) {
    open(chart(400, 300));
    w.frame().routeCommand(ID_MAPPING_RUN);
    w.frame().routeCommand(ID_ADD_POINTS);
    for (const IntPoint p : {IntPoint{80, 200}, {140, 180}, {200, 150}, {260, 120}, {320, 80}})
        click(p);
    ASSERT_EQ(record().current().points.size(), 5u);
    const QString project = dir.filePath(QStringLiteral("study.quillfen.json"));
    dialogs.saveAnswers = {project};
    ASSERT_TRUE(w.projects().saveAs());

    testing_support::FakeDialogs otherDialogs;
    ApplicationWindow other{otherDialogs, CameraSourceMap{}};
    other.frame().resize(1000, 700);
    other.frame().show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&other.frame()));
    ASSERT_TRUE(other.projects().openPath(project));
    settle();
    const ViewState& s = other.view().state();
    EXPECT_EQ(s.display.displaySource, 2);  // the working picture
    EXPECT_EQ(s.tools.tool, Tool::AddPoints);
    EXPECT_EQ(s.pointCount(), 5);
    EXPECT_GT(s.generated.generatedCount, 0);
    EXPECT_TRUE(s.display.showGeneratedGraph);
    EXPECT_FALSE(other.frame().outputPane()->paneText(1).isEmpty());
    EXPECT_TRUE(otherDialogs.messages.empty());
    EXPECT_FALSE(other.projects().document().isModified());
}

// A picture opens at the largest zoom step at which it fits the window.
TEST_F(FirstHourTest, PicturesOpenFittedToTheWindow) {
    for (const IntSize size : {IntSize{2400, 1800}, IntSize{120, 90}}) {
        SCOPED_TRACE(size.cx);
        open(chart(size.cx, size.cy), false);
        const ViewState& s = view().state();
        const QSize client = view().viewport()->size();
        const auto fits = [&](int z) {
            return std::ldexp(size.cx, z) <= client.width() &&
                   std::ldexp(size.cy, z) <= client.height();
        };
        EXPECT_TRUE(fits(s.transform.zoomShift));
        EXPECT_FALSE(fits(s.transform.zoomShift + 1));
    }
}

}  // namespace
}  // namespace qf

namespace qf {
namespace {

// A dialog over the window takes the pointer without a leave event; the
// view lets the pointer go, so no loupe stays painted behind the dialog.
TEST_F(FirstHourTest, TheViewLetsThePointerGoWhenTheWindowLosesTheFocus) {
    open(chart(400, 300));
    QApplication::setActiveWindow(&w.frame());
    settle();
    if (!w.frame().isActiveWindow()) GTEST_SKIP() << "this platform does not activate windows";
    w.frame().routeCommand(ID_ADD_POINTS);
    QString pointer;
    QObject::connect(&view(), &ImageView::pointerStatus,
                     [&pointer](const QString& text) { pointer = text; });
    QMouseEvent move(QEvent::MouseMove, QPointF(150, 150), QPointF(150, 150), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(view().viewport(), &move);
    settle();
    ASSERT_TRUE(pointer.contains(QStringLiteral("150"))) << pointer.toStdString();

    QWidget dialog;
    dialog.show();
    QApplication::setActiveWindow(&dialog);
    settle();
    ASSERT_FALSE(w.frame().isActiveWindow());
    EXPECT_FALSE(pointer.contains(QStringLiteral("150"))) << pointer.toStdString();
}

}  // namespace
}  // namespace qf
