// The assembled window: edits in the settings pane reach the view through the
// frame, with the refresh the user sees (or does not), and the pane's fit
// button runs the fit.

#include "app/application_window.h"
#include "app/series_controller.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <opencv2/imgcodecs.hpp>

#include "app/output_pane.h"
#include "app/project_controller.h"
#include "settings/property_editors.h"
#include "settings/settings_grid.h"
#include "settings/settings_pane.h"
#include "support/fake_dialogs.h"
#include "support/full_size.h"
#include "support/paint_counter.h"
#include "view/image_view.h"
#include "window_driver.h"

namespace qf {
namespace {

using I = PanelItem;

// Counts print requests; the rest is the usual fake.
struct CountingDialogs : testing_support::FakeDialogs {
    int printRequests = 0;
    bool choosePrinter(QWidget*, QPrinter&) override {
        ++printRequests;
        return false;
    }
};

using test::PaintCounter;

class ApplicationWindowTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        const QString picture = dir.filePath("chart.png");
        cv::imwrite(picture.toStdString(), cv::Mat(150, 200, CV_8UC3, cv::Scalar(200, 210, 220)));
        w.frame().resize(1000, 700);
        w.frame().show();
        w.frame().activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&w.frame()));
        ASSERT_TRUE(w.projects().openPicture(picture));
        test::zoomToFullSize(view());
        // Three points in the default axis frame (55,55)-(105,85) of 0..1 x 0..1.
        view().state().doc.axis.axisRect = {55, 55, 105, 85};
        view().onCommand(ID_ADD_POINTS);
        for (const QPoint p : {QPoint(60, 80), QPoint(80, 70), QPoint(100, 60)})
            QTest::mouseClick(view().viewport(), Qt::LeftButton, {}, p);
        ASSERT_EQ(view().state().pointCount(), 3);
        view().viewport()->installEventFilter(&paints);
        settle();
    }

    ImageView& view() { return w.view(); }
    SettingsGrid& grid() { return *w.properties().grid(); }

    void settle() {
        QApplication::processEvents();
        paints.paints = 0;
    }
    int paintsNow() {
        QApplication::processEvents();
        return paints.paints;
    }

    void enter(I item, const char* text) { testing_support::enterInPane(grid(), item, text); }
    void choose(I item, const char* text) { testing_support::chooseInPane(grid(), item, text); }

    QString sourcePointText(int row, int column) {
        auto* item = w.frame().outputPane()->sourcePointList()->item(row, column);
        return item ? item->text() : QString();
    }

    QTemporaryDir dir;
    CountingDialogs dialogs;
    ApplicationWindow w{dialogs, CameraSourceMap{}};
    PaintCounter paints;
};

TEST_F(ApplicationWindowTest, FitSettingsWaitForTheNextFitWithoutARepaint) {
    choose(I::Degree, "2");
    enter(I::Basis3, "sin(x)");
    enter(I::GraphPointCount, "300");
    EXPECT_EQ(view().state().doc.current().fit.degree, 2);
    EXPECT_EQ(view().state().doc.current().fit.basisExpr[3], "sin(x)");
    EXPECT_EQ(view().state().doc.current().fit.graphPointCount, 300);
    EXPECT_EQ(paintsNow(), 0);
}

TEST_F(ApplicationWindowTest, AnAxisChangeRevaluesThePointsAndRepaints) {
    EXPECT_EQ(sourcePointText(2, 1), "0.9");
    enter(I::XMax, "10");
    EXPECT_EQ(view().state().doc.axis.xMax, 10.0);
    EXPECT_EQ(sourcePointText(2, 1), "9");
    EXPECT_GT(paintsNow(), 0);

    settle();
    choose(I::XScale, "対数");
    EXPECT_EQ(view().state().doc.axis.xLog, 1);
    EXPECT_EQ(sourcePointText(2, 1), "<?>");  // a logarithmic axis from 0 has no values
    EXPECT_EQ(sourcePointText(2, 2), "0.833333");
    EXPECT_GT(paintsNow(), 0);
}

TEST_F(ApplicationWindowTest, AColourAloneRepaints) {
    dialogs.colourAnswer = 0x0000FF;
    QTest::mouseClick(grid().colourWidget()->otherButton(), Qt::LeftButton);
    EXPECT_EQ(view().state().doc.graph.colour, 0x0000FFu);
    EXPECT_GT(paintsNow(), 0);
}

TEST_F(ApplicationWindowTest, TheLabelFontFollowsThePaneOnlyAfterAnAcceptedEdit) {
    const QFont before = view().labelFont();
    QFont chosen("DejaVu Serif", 20);
    dialogs.fontAnswer = chosen;
    QTest::mouseClick(grid().fontWidget()->chooseButton(), Qt::LeftButton);
    EXPECT_EQ(view().labelFont(), before);  // repainted, but not yet tied to the pane
    EXPECT_GT(paintsNow(), 0);

    enter(I::YMax, "2");
    chosen.setPointSize(24);
    dialogs.fontAnswer = chosen;
    QTest::mouseClick(grid().fontWidget()->chooseButton(), Qt::LeftButton);
    EXPECT_EQ(view().labelFont().family(), chosen.family());
    EXPECT_EQ(view().labelFont().pointSize(), 24);
}

TEST_F(ApplicationWindowTest, ThePanesFitButtonRunsTheFit) {
    view().state().doc.current().fit.degree = 1;
    w.properties().refreshToolbar();
    QToolButton* fit = nullptr;
    for (auto* b : w.properties().findChildren<QToolButton*>())
        if (b->defaultAction() == w.properties().fitAction()) fit = b;
    ASSERT_NE(fit, nullptr);
    ASSERT_TRUE(fit->isEnabled());
    QTest::mouseClick(fit, Qt::LeftButton);
    EXPECT_EQ(view().state().generated.generatedCount, 50);
    EXPECT_EQ(w.frame().outputPane()->activeOutputTab(), 1);

    view().onCommand(ID_ERASE_POINTS);  // a region around all three points
    QTest::mousePress(view().viewport(), Qt::LeftButton, {}, QPoint(50, 50));
    QTest::mouseMove(view().viewport(), QPoint(80, 80));
    QTest::mouseMove(view().viewport(), QPoint(110, 90));
    QTest::mouseRelease(view().viewport(), Qt::LeftButton, {}, QPoint(110, 90));
    ASSERT_EQ(view().state().pointCount(), 0);
    EXPECT_FALSE(fit->isEnabled());
}

TEST_F(ApplicationWindowTest, F6MovesTheKeyboardThroughTheViewAndThePanes) {
    OutputPane* output = w.frame().outputPane();
    auto where = [&]() -> std::string {
        QWidget* f = QApplication::focusWidget();
        if (!f) return "nowhere";
        if (f == &view() || view().isAncestorOf(f)) return "view";
        if (output->isAncestorOf(f)) return "output";
        if (w.properties().isAncestorOf(f)) return "settings";
        if (w.series().pane()->isAncestorOf(f)) return "series";
        return "elsewhere";
    };
    view().setFocus();
    ASSERT_EQ(where(), "view");
    std::vector<std::string> forward, backward;
    for (int i = 0; i < 4; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_F6);
        forward.push_back(where());
    }
    for (int i = 0; i < 4; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_F6, Qt::ShiftModifier);
        backward.push_back(where());
    }
    EXPECT_EQ(forward, (std::vector<std::string>{"output", "settings", "series", "view"}));
    EXPECT_EQ(backward, (std::vector<std::string>{"series", "settings", "output", "view"}));
}

TEST_F(ApplicationWindowTest, CtrlPPrintsAlthoughNoMenuHoldsTheCommand) {
    view().setFocus();
    QTest::keyClick(&view(), Qt::Key_P, Qt::ControlModifier);
    EXPECT_EQ(dialogs.printRequests, 1);
}

TEST_F(ApplicationWindowTest, TheStatusBarFollowsThePointerAndFitShowsTheWholePicture) {
    QMouseEvent hover(QEvent::MouseMove, QPointF(80, 70),
                      view().viewport()->mapToGlobal(QPointF(80, 70)), Qt::NoButton, Qt::NoButton,
                      Qt::NoModifier);
    QApplication::sendEvent(view().viewport(), &hover);
    // Axis frame (55,55)-(105,85) of 0..1 x 0..1: (80, 70) is X 0.5, Y 0.5.
    EXPECT_EQ(w.frame().pointerLabel()->text(),
              QStringLiteral("(80, 70)   X 0.5   Y 0.5   倍率 100%"));

    w.frame().triggerCommand(ID_ZOOM_FIT);  // 200 x 150 in a viewport of several hundred pixels
    EXPECT_GE(view().state().transform.zoomShift, 1);
    EXPECT_TRUE(w.frame().pointerLabel()->text().endsWith(
        QStringLiteral("倍率 %1%").arg(100 << view().state().transform.zoomShift)));
}

}  // namespace
}  // namespace qf
