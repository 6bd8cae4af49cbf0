// The axes read from a chart's own frame and tick labels, through the
// window's command: set as one undoable step with the labels kept for
// drawing, or refused with the axis named and nothing changed.

#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <cmath>
#include <cstdlib>
#include <iostream>
#include <opencv2/imgcodecs.hpp>
#include <opencv2/imgproc.hpp>

#include "app/application_window.h"
#include "app/project_controller.h"
#include "reading/ocr_engine.h"
#include "support/fake_dialogs.h"
#include "view/image_view.h"

namespace qf {
namespace {

const QString kSource = QStringLiteral(QF_SOURCE_DIR);

// The chart set's truth for one picture: per axis the values at two pixels.
struct AxisTruth {
    double min, max, pixelMin, pixelMax;
    double at(double pixel) const {
        return min + (pixel - pixelMin) / (pixelMax - pixelMin) * (max - min);
    }
};

std::pair<AxisTruth, AxisTruth> truthOf(const QString& file) {
    QFile f(kSource + QStringLiteral("/tests/data/reading/charts.json"));
    if (!f.open(QIODevice::ReadOnly)) return {};
    for (const QJsonValue& v : QJsonDocument::fromJson(f.readAll()).array()) {
        const QJsonObject c = v.toObject();
        if (c[QStringLiteral("file")].toString() != file) continue;
        auto axis = [&](const char* name) {
            const QJsonObject a = c[QLatin1String(name)].toObject();
            return AxisTruth{
                a[QStringLiteral("min")].toDouble(), a[QStringLiteral("max")].toDouble(),
                a[QStringLiteral("pixelMin")].toDouble(), a[QStringLiteral("pixelMax")].toDouble()};
        };
        return {axis("x"), axis("y")};
    }
    return {};
}

// A photograph's frame corners as the chart set's script placed them.
std::vector<QPointF> cornersOf(const QString& file) {
    QFile f(kSource + QStringLiteral("/tests/data/reading/charts.json"));
    if (!f.open(QIODevice::ReadOnly)) return {};
    for (const QJsonValue& v : QJsonDocument::fromJson(f.readAll()).array()) {
        const QJsonObject c = v.toObject();
        if (c[QStringLiteral("file")].toString() != file) continue;
        std::vector<QPointF> corners;
        for (const QJsonValue& p : c[QStringLiteral("corners")].toArray())
            corners.emplace_back(p.toArray()[0].toDouble(), p.toArray()[1].toDouble());
        return corners;
    }
    return {};
}

class ReadAxesTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        w.frame().resize(1000, 700);
        w.frame().show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&w.frame()));
    }
    static void skipWithoutOcr() {
        if (std::string why; !ocrAvailable(&why))
            GTEST_SKIP() << "text recognition is not available: " << why;
    }
    void open(const cv::Mat& m) {
        const QString path = dir.filePath(QStringLiteral("chart.png"));
        cv::imwrite(path.toStdString(), m);
        ASSERT_TRUE(w.projects().openPicture(path));
        settle();
    }
    void readAxesNow() {
        dialogs.messages.clear();
        w.frame().routeCommand(ID_READ_AXES);
        settle();
    }
    void settle() {
        for (int i = 0; i < 4; ++i) QApplication::processEvents();
    }
    const ViewState& state() { return w.view().state(); }
    Document& doc() { return w.projects().document(); }
    const AxisSettings& axis() { return doc().record().axis; }

    QTemporaryDir dir;
    testing_support::FakeDialogs dialogs;
    ApplicationWindow w{dialogs, CameraSourceMap{}};
};

TEST_F(ReadAxesTest, ReadsAPlainChartAsOneUndoableStep) {
    skipWithoutOcr();
    const QString file = QStringLiteral("mpl_linear.png");
    const auto [tx, ty] = truthOf(file);
    ASSERT_GT(tx.max - tx.min, 0) << "no truth for the chart";
    ASSERT_TRUE(w.projects().openPicture(kSource + QStringLiteral("/tests/data/reading/") + file));
    settle();
    const AxisSettings before = axis();
    const std::size_t steps = doc().history().undoCount();

    readAxesNow();
    EXPECT_TRUE(dialogs.messages.empty()) << dialogs.messages.front().toStdString();
    const AxisSettings a = axis();
    const IntRect& r = a.axisRect;
    EXPECT_FALSE(a.xLog);
    EXPECT_FALSE(a.yLog);
    const double xTol = 0.002 * (tx.max - tx.min), yTol = 0.002 * (ty.max - ty.min);
    EXPECT_NEAR(a.xMin, tx.at(r.left), xTol);
    EXPECT_NEAR(a.xMax, tx.at(r.right), xTol);
    EXPECT_NEAR(a.yMin, ty.at(r.bottom), yTol);
    EXPECT_NEAR(a.yMax, ty.at(r.top), yTol);
    EXPECT_EQ(doc().history().undoCount(), steps + 1);

    // What was read stays to be drawn over the working picture, which is shown.
    ASSERT_TRUE(state().readLabels.has_value());
    EXPECT_EQ(state().display.displaySource, 2);
    int used = 0;
    for (const ReadLabel& l : state().readLabels->labels) used += l.used ? 1 : 0;
    EXPECT_GE(used, 6);
    const QImage drawn = w.view().viewport()->grab().toImage();
    const auto kept = state().readLabels;
    w.view().state().readLabels.reset();
    EXPECT_NE(w.view().viewport()->grab().toImage(), drawn);
    w.view().state().readLabels = kept;
    const QString said = w.frame().statusBar()->currentMessage();
    EXPECT_TRUE(said.contains(QStringLiteral("目盛りラベルから校正しました")))
        << said.toStdString();

    // One undo gives the axes back, and the labels no longer describe them.
    w.frame().routeCommand(ID_EDIT_UNDO);
    settle();
    EXPECT_EQ(axis(), before);
    EXPECT_FALSE(state().readLabels.has_value());

    // Another tool ends the drawing too; the axes stay read.
    readAxesNow();
    ASSERT_TRUE(state().readLabels.has_value());
    w.frame().routeCommand(ID_ADD_POINTS);
    settle();
    EXPECT_FALSE(state().readLabels.has_value());
    EXPECT_EQ(axis(), a);
}

// A picture without a chart, or a frame without labels, changes nothing and
// the message names the axis and why.
TEST_F(ReadAxesTest, ARefusalChangesNothingAndNamesTheAxis) {
    cv::Mat blank(300, 400, CV_8UC3, cv::Scalar::all(255));
    cv::Mat unlabelled = blank.clone();
    cv::rectangle(unlabelled, cv::Rect(50, 40, 300, 220), cv::Scalar::all(0), 2);
    for (int k = 0; k <= 4; ++k) {
        cv::line(unlabelled, {50 + 75 * k, 260}, {50 + 75 * k, 266}, cv::Scalar::all(0), 2);
        cv::line(unlabelled, {44, 40 + 55 * k}, {50, 40 + 55 * k}, cv::Scalar::all(0), 2);
    }
    struct Case {
        const char* what;
        const cv::Mat& picture;
        bool needsOcr;
        const char* said;
    };
    const Case cases[] = {
        {"blank", blank, false, "X 軸と Y 軸を読み取れませんでした: 軸の線が見つかりません。"},
        {"no labels", unlabelled, true, "X 軸"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        if (c.needsOcr && !ocrAvailable()) continue;
        open(c.picture);
        const AxisSettings before = axis();
        const std::size_t steps = doc().history().undoCount();
        const Tool tool = state().tools.tool;
        readAxesNow();
        ASSERT_EQ(dialogs.messages.size(), 1u);
        EXPECT_TRUE(dialogs.messages[0].contains(QString::fromUtf8(c.said)))
            << dialogs.messages[0].toStdString();
        EXPECT_TRUE(dialogs.messages[0].contains(QStringLiteral("軸は変えていません")));
        EXPECT_EQ(axis(), before);
        EXPECT_EQ(doc().history().undoCount(), steps);
        if (!c.needsOcr) {
            EXPECT_EQ(state().tools.tool, tool);  // nothing read, nothing to show
        }
    }
}

// The bundled sample, a photographed chart: its project straightens it in
// perspective and calibrates the axes by hand. Its corners lie just outside
// the frame, so the straightened picture keeps only the Y labels' last
// digits; the reading straightens the photograph again with a margin and
// reads every label, and agrees with the hand calibration. QF_DUMP_WORKING
// names a file to write the straightened picture to.
TEST_F(ReadAxesTest, TheSamplesStraightenedPicture) {
    skipWithoutOcr();
    ASSERT_TRUE(w.projects().openPath(kSource + QStringLiteral("/samples/chart.quillfen.json")));
    settle();
    const AxisSettings hand = axis();
    const IntRect& h = hand.axisRect;
    const AxisTruth tx{hand.xMin, hand.xMax, double(h.left), double(h.right)};
    const AxisTruth ty{hand.yMin, hand.yMax, double(h.bottom), double(h.top)};
    readAxesNow();
    if (const char* dump = std::getenv("QF_DUMP_WORKING"))
        cv::imwrite(dump, outputImage(state().images));
    const AxisSettings a = axis();
    const IntRect& r = a.axisRect;
    std::cout << "sample: "
              << (dialogs.messages.empty() ? std::string("read")
                                           : dialogs.messages.front().toStdString())
              << "\n  axis rectangle " << r.left << ' ' << r.top << ' ' << r.right << ' '
              << r.bottom << " (by hand " << h.left << ' ' << h.top << ' ' << h.right << ' '
              << h.bottom << ")\n  x " << a.xMin << " .. " << a.xMax << " (by hand there "
              << tx.at(r.left) << " .. " << tx.at(r.right) << ")\n  y " << a.yMin << " .. "
              << a.yMax << " (by hand there " << ty.at(r.bottom) << " .. " << ty.at(r.top) << ")\n";
    if (state().readLabels)
        for (const ReadLabel& l : state().readLabels->labels)
            std::cout << "  label '" << l.text << "' " << l.value << (l.used ? " used" : "")
                      << "\n";
    ASSERT_TRUE(dialogs.messages.empty()) << dialogs.messages.front().toStdString();
    ASSERT_TRUE(state().readLabels);
    int xUsed = 0, yUsed = 0;
    for (const ReadLabel& l : state().readLabels->labels) {
        if (!l.used) continue;
        // Each label shown where it is on the working picture: the X labels
        // below the axis rectangle, the Y labels left of it.
        const bool below = l.box.top > r.bottom;
        (below ? xUsed : yUsed) += 1;
        EXPECT_TRUE(below || l.box.right < r.left) << l.text;
    }
    EXPECT_EQ(xUsed, 11);
    EXPECT_EQ(yUsed, 11);
    const double xTol = 0.002 * (hand.xMax - hand.xMin), yTol = 0.002 * (hand.yMax - hand.yMin);
    EXPECT_NEAR(a.xMin, tx.at(r.left), xTol);
    EXPECT_NEAR(a.xMax, tx.at(r.right), xTol);
    EXPECT_NEAR(a.yMin, ty.at(r.bottom), yTol);
    EXPECT_NEAR(a.yMax, ty.at(r.top), yTol);
}

// The mapping's corners go onto a photographed plot's frame in one undoable
// step: a frame drawn on four sides, and one with only the left and bottom
// axes, whose other corners are inferred.
TEST_F(ReadAxesTest, DetectsThePhotographedFramesCorners) {
    for (const char* file : {"photo_gp_ylog.jpg", "photo_mpl_nospines.jpg"}) {
        SCOPED_TRACE(file);
        const QString name = QString::fromLatin1(file);
        const std::vector<QPointF> truth = cornersOf(name);
        ASSERT_EQ(truth.size(), 4u) << "no truth for the photograph";
        ASSERT_TRUE(
            w.projects().openPicture(kSource + QStringLiteral("/tests/data/reading/") + name));
        settle();
        const MappingGeometry before = doc().record().mapping;
        const std::size_t steps = doc().history().undoCount();

        w.frame().routeCommand(ID_DETECT_FRAME);
        settle();
        const Quad& placed = doc().record().mapping.corners;
        for (std::size_t k = 0; k < 4; ++k) {
            EXPECT_LE(std::hypot(placed[k].x - truth[k].x(), placed[k].y - truth[k].y()), 4.0)
                << "corner " << k << " at " << placed[k].x << ',' << placed[k].y;
        }
        EXPECT_EQ(doc().history().undoCount(), steps + 1);
        // Shown on the input picture with the corner tool, as placed.
        EXPECT_EQ(state().doc.mapping.corners, placed);
        EXPECT_EQ(state().tools.tool, Tool::Corners);
        EXPECT_EQ(state().display.displaySource, 1);
        EXPECT_TRUE(dialogs.messages.empty());

        w.frame().routeCommand(ID_EDIT_UNDO);
        settle();
        EXPECT_EQ(doc().record().mapping, before);
        EXPECT_EQ(state().doc.mapping, before);
    }
}

// No click from photograph to axes: the frame's corners, the mapping, and the
// axes read around the straightened plot, whose graph rectangle (the frame)
// carries the chart's own limits.
TEST_F(ReadAxesTest, ADetectedFrameStraightensAndReads) {
    skipWithoutOcr();
    const QString name = QStringLiteral("photo_gp_linear.jpg");
    const auto [tx, ty] = truthOf(name);
    ASSERT_GT(tx.max - tx.min, 0) << "no truth for the photograph";
    ASSERT_TRUE(w.projects().openPicture(kSource + QStringLiteral("/tests/data/reading/") + name));
    settle();
    for (int id : {ID_DETECT_FRAME, ID_MAPPING_RUN, ID_READ_AXES}) {
        dialogs.messages.clear();
        w.frame().routeCommand(id);
        settle();
        ASSERT_TRUE(dialogs.messages.empty()) << id << ": " << dialogs.messages[0].toStdString();
    }
    const AxisSettings& a = axis();
    const IntRect& g = doc().record().mapping.graphRect;
    const IntRect& r = a.axisRect;
    const auto at = [](double v0, double v1, double p0, double p1, double p) {
        return v0 + (p - p0) / (p1 - p0) * (v1 - v0);
    };
    const double xTol = 0.005 * (tx.max - tx.min), yTol = 0.005 * (ty.max - ty.min);
    EXPECT_NEAR(at(a.xMin, a.xMax, r.left, r.right, g.left), tx.min, xTol);
    EXPECT_NEAR(at(a.xMin, a.xMax, r.left, r.right, g.right), tx.max, xTol);
    EXPECT_NEAR(at(a.yMin, a.yMax, r.bottom, r.top, g.bottom), ty.min, yTol);
    EXPECT_NEAR(at(a.yMin, a.yMax, r.bottom, r.top, g.top), ty.max, yTol);
}

// No frame: the status bar says so and the corners stay where they were.
TEST_F(ReadAxesTest, NoFrameLeavesTheCornersAndSaysWhy) {
    cv::Mat page(400, 560, CV_8UC3, cv::Scalar::all(255));
    cv::putText(page, "no chart here", {60, 200}, cv::FONT_HERSHEY_SIMPLEX, 1.2, cv::Scalar::all(0),
                2);
    open(page);
    const MappingGeometry before = doc().record().mapping;
    const std::size_t steps = doc().history().undoCount();
    w.frame().routeCommand(ID_DETECT_FRAME);
    settle();
    EXPECT_EQ(doc().record().mapping, before);
    EXPECT_EQ(doc().history().undoCount(), steps);
    const QString said = w.frame().statusBar()->currentMessage();
    EXPECT_TRUE(
        said.contains(QStringLiteral("枠を検出できませんでした: グラフの枠が見つかりません。")))
        << said.toStdString();
    EXPECT_TRUE(dialogs.messages.empty());
}

}  // namespace
}  // namespace qf
