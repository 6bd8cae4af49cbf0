// The series of a document in the window: the selector and the pane, each
// edit of a series one step that undo takes back exactly, every series drawn
// in its colour, every series extracted and fitted at once, and a project of
// several series saved and opened again.

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QListWidget>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <cmath>
#include <functional>
#include <opencv2/imgcodecs.hpp>

#include "app/application_window.h"
#include "app/output_pane.h"
#include "app/project_controller.h"
#include "app/series_controller.h"
#include "common/cp932.h"
#include "document/series_edit.h"
#include "points/calibration.h"
#include "support/fake_dialogs.h"
#include "support/full_size.h"
#include "view/image_view.h"
#include "view/series_fits.h"

namespace qf {
namespace {

using testing_support::FakeDialogs;

constexpr uint32_t kGreen = 0x00209020;
constexpr uint32_t kOrange = 0x000080F0;

class SeriesWindowTest : public testing::Test {
public:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        w.frame().resize(1100, 760);
        w.frame().show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&w.frame()));
    }

    void open(const QString& picture) {
        ASSERT_TRUE(w.projects().openPicture(picture));
        test::zoomToFullSize(view());
        QApplication::processEvents();
    }
    void openPlain() {
        const QString path = dir.filePath("plain.png");
        ASSERT_TRUE(
            cv::imwrite(path.toStdString(), cv::Mat(150, 200, CV_8UC3, cv::Scalar(235, 240, 245))));
        open(path);
    }

    ImageView& view() { return w.view(); }
    Document& doc() { return w.projects().document(); }
    const DocumentRecord& record() { return doc().record(); }
    void command(int id) {
        w.frame().triggerCommand(id);
        QApplication::processEvents();
    }
    void set(const std::function<void(DocumentRecord&)>& change) {
        doc().edit("test", change);
        QApplication::processEvents();
    }
    // Three series of a few points each in the default axis frame
    // (55,55)-(105,85): the first red, then green and orange.
    void threeSeries() {
        set([](DocumentRecord& r) {
            r.axis = AxisSettings{};
            r.series[0].name = "a";
            r.series[0].points = {{60, 80}, {70, 78}, {80, 76}, {90, 74}};
            Series b{"b", kGreen, {{60, 58}, {70, 60}, {80, 62}, {90, 64}}, {}, {}, {}};
            Series c{"c", kOrange, {{65, 70}, {75, 69}, {83, 67}, {95, 67}}, {}, {}, {}};
            b.fit.degree = c.fit.degree = r.series[0].fit.degree = 1;
            addSeries(r, b);
            addSeries(r, c);
            r.active = 0;
        });
    }

    QTemporaryDir dir;
    FakeDialogs dialogs;
    ApplicationWindow w{dialogs, CameraSourceMap{}};
};

// ---- Edits ------------------------------------------------------------------

struct EditCase {
    const char* name;
    std::function<void(SeriesWindowTest&)> run;
    std::function<bool(const DocumentRecord&)> done;
};

class SeriesEditTest : public SeriesWindowTest, public testing::WithParamInterface<EditCase> {};

TEST_P(SeriesEditTest, IsOneStepThatUndoTakesBackExactly) {
    openPlain();
    threeSeries();
    command(ID_ADD_POINTS);
    view().state().selectedPoint = 1;  // as a click in the list leaves it
    const DocumentRecord before = record();
    const std::size_t steps = doc().history().undoCount();

    GetParam().run(*this);
    const DocumentRecord after = record();
    ASSERT_TRUE(GetParam().done(after)) << GetParam().name;
    EXPECT_EQ(doc().history().undoCount(), steps + 1);
    EXPECT_EQ(view().state().doc, after);
    EXPECT_FALSE(QString::fromStdString(doc().history().undoLabel()).isEmpty());

    command(ID_EDIT_UNDO);
    EXPECT_EQ(record(), before);
    EXPECT_EQ(view().state().doc, before);
    EXPECT_EQ(w.series().selector()->count(), int(before.series.size()));
    EXPECT_EQ(w.series().selector()->currentIndex(), before.active);
    command(ID_EDIT_REDO);
    EXPECT_EQ(record(), after);
}

INSTANTIATE_TEST_SUITE_P(
    Series, SeriesEditTest,
    testing::Values(
        EditCase{"add", [](SeriesWindowTest& t) { t.command(ID_SERIES_ADD); },
                 [](const DocumentRecord& r) {
                     return r.series.size() == 4 && r.active == 3 && r.series[3].points.empty() &&
                            r.series[3].name == "系列 4" && r.series[3].colour != kGreen;
                 }},
        EditCase{"rename",
                 [](SeriesWindowTest& t) {
                     t.dialogs.textAnswers = {QStringLiteral(" 測定 1 ")};
                     t.command(ID_SERIES_RENAME);
                 },
                 [](const DocumentRecord& r) { return r.series[0].name == "測定 1"; }},
        EditCase{"recolour",
                 [](SeriesWindowTest& t) {
                     t.dialogs.colourAnswer = 0x00AA5500;
                     t.command(ID_SERIES_RECOLOUR);
                 },
                 [](const DocumentRecord& r) { return r.series[0].colour == 0x00AA5500; }},
        EditCase{"delete", [](SeriesWindowTest& t) { t.command(ID_SERIES_DELETE); },
                 [](const DocumentRecord& r) {
                     return r.series.size() == 2 && r.series[0].name == "b" && r.active == 0;
                 }},
        EditCase{"move_point",
                 [](SeriesWindowTest& t) {
                     t.dialogs.choiceAnswers = {1};  // "c" of "b", "c", cancel
                     t.command(ID_SERIES_MOVE_POINT);
                 },
                 [](const DocumentRecord& r) {
                     return r.series[0].points.size() == 3 && r.series[2].points.size() == 5 &&
                            r.series[2].points.back() == SourcePoint{70, 78};
                 }},
        EditCase{"choose_in_list",
                 [](SeriesWindowTest& t) { t.w.series().list()->setCurrentRow(2); },
                 [](const DocumentRecord& r) { return r.active == 2; }},
        EditCase{"choose_in_selector",
                 [](SeriesWindowTest& t) {
                     QComboBox* c = t.w.series().selector();
                     c->setCurrentIndex(1);
                     emit c->activated(1);
                 },
                 [](const DocumentRecord& r) { return r.active == 1; }}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(SeriesWindowTest, ALoneSeriesIsNamedWhenASecondIsAdded) {
    openPlain();
    EXPECT_EQ(w.series().selector()->itemText(0), QStringLiteral("系列 1 (0 点)"));
    EXPECT_FALSE(w.frame().isCommandEnabled(ID_SERIES_DELETE));
    command(ID_SERIES_ADD);
    ASSERT_EQ(record().series.size(), 2u);
    EXPECT_EQ(record().series[0].name, "系列 1");
    EXPECT_EQ(record().series[1].name, "系列 2");
    // Its clicks go into the new series.
    command(ID_ADD_POINTS);
    const IntPoint at = pixelCentreOf(view().state().transform, {80, 70});
    const IntPoint scroll = view().state().transform.scrollPos;
    QTest::mouseClick(view().viewport(), Qt::LeftButton, {},
                      QPoint(at.x - scroll.x, at.y - scroll.y));
    EXPECT_TRUE(record().series[0].points.empty());
    EXPECT_EQ(record().series[1].points.size(), 1u);
    EXPECT_EQ(w.series().list()->item(1)->text(), QStringLiteral("系列 2 (1 点)"));
}

// ---- Drawing ----------------------------------------------------------------

TEST_F(SeriesWindowTest, EverySeriesIsDrawnInItsColour) {
    openPlain();
    threeSeries();
    command(ID_ADD_POINTS);
    view().state().selectedPoint = -1;  // no cross-hair over the others
    const QImage shown = view().viewport()->grab().toImage();
    const ViewTransform& t = view().state().transform;
    auto at = [&](SourcePoint p) {
        const IntPoint c = pixelCentreOf(t, {p.h, p.v});
        return shown.pixelColor(c.x - t.scrollPos.x, c.y - t.scrollPos.y);
    };
    auto bgr = [](uint32_t c) {
        return QColor(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF));
    };
    for (const Series& s : record().series)
        for (const SourcePoint& p : s.points)
            EXPECT_EQ(at(p), bgr(s.colour)) << s.name << " " << p.h << "," << p.v;
}

// ---- Extraction and fit of every series ---------------------------------------

QJsonObject chartTruth(const QString& file) {
    QFile f(QStringLiteral(QF_EXTRACTION_DATA "/series.json"));
    EXPECT_TRUE(f.open(QIODevice::ReadOnly));
    for (const QJsonValue& c : QJsonDocument::fromJson(f.readAll()).array())
        if (c[QStringLiteral("file")].toString() == file) return c.toObject();
    ADD_FAILURE() << "no truth for " << file.toStdString();
    return {};
}

// The drawn function at x, from its samples.
double truthAt(const QJsonArray& samples, double x) {
    for (qsizetype i = 1; i < samples.size(); ++i) {
        const double x0 = samples[i - 1][0].toDouble(), x1 = samples[i][0].toDouble();
        if (x <= x1 || i + 1 == samples.size()) {
            const double y0 = samples[i - 1][1].toDouble(), y1 = samples[i][1].toDouble();
            return y0 + (y1 - y0) * (x - x0) / (x1 - x0);
        }
    }
    return NAN;
}

class ExtractEveryTest : public SeriesWindowTest,
                         public testing::WithParamInterface<const char*> {};

TEST_P(ExtractEveryTest, MakesOneSeriesPerCurveOnTheCurve) {
    const QString file = QString::fromLatin1(GetParam());
    const QJsonObject truth = chartTruth(file);
    open(QStringLiteral(QF_EXTRACTION_DATA "/") + file);
    const QJsonArray rect = truth[QStringLiteral("axisRect")].toArray();
    set([&](DocumentRecord& r) {
        r.axis.axisRect = {rect[0].toInt(), rect[1].toInt(), rect[2].toInt(), rect[3].toInt()};
        r.mapping.graphRect = r.axis.axisRect;
        r.axis.xMin = truth[QStringLiteral("xMin")].toDouble();
        r.axis.xMax = truth[QStringLiteral("xMax")].toDouble();
        r.axis.yMin = truth[QStringLiteral("yMin")].toDouble();
        r.axis.yMax = truth[QStringLiteral("yMax")].toDouble();
    });
    const std::size_t steps = doc().history().undoCount();
    command(ID_EXTRACT_ALL_SERIES);
    EXPECT_EQ(doc().history().undoCount(), steps + 1);

    const QJsonArray drawn = truth[QStringLiteral("series")].toArray();
    const DocumentRecord& r = record();
    ASSERT_EQ(r.series.size(), std::size_t(drawn.size()));
    const double range = r.axis.yMax - r.axis.yMin;
    // Each drawn curve is one series, every point of it within 1 % of the
    // axis range.
    for (const QJsonValue& curve : drawn) {
        const QJsonArray samples = curve[QStringLiteral("samples")].toArray();
        bool matched = false;
        for (const Series& s : r.series) {
            double worst = 0;
            for (const SourcePoint& p : s.points) {
                const double x = *calibrateX(r.axis, p.h), y = *calibrateY(r.axis, p.v);
                worst = std::max(worst, std::abs(y - truthAt(samples, x)) / range);
            }
            matched = matched || (s.points.size() >= 10 && worst < 0.01);
        }
        EXPECT_TRUE(matched) << curve[QStringLiteral("colourName")].toString().toStdString();
    }
    // Distinct colours, names of colours.
    for (std::size_t i = 0; i < r.series.size(); ++i) {
        EXPECT_FALSE(r.series[i].name.empty());
        for (std::size_t j = 0; j < i; ++j) EXPECT_NE(r.series[i].colour, r.series[j].colour);
    }
    command(ID_EDIT_UNDO);
    EXPECT_EQ(record().series.size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(Charts, ExtractEveryTest,
                         testing::Values("legend_two.png", "legend_three.png"));

TEST_F(SeriesWindowTest, FitAllGivesEachSeriesItsOwnFit) {
    openPlain();
    threeSeries();
    command(ID_FIT_ALL_SERIES);
    const ViewState& s = view().state();
    std::vector<double> slopes;
    for (const Series& x : record().series) {
        const SeriesFit* fit = fitOfSeries(s, x);
        ASSERT_NE(fit, nullptr) << x.name;
        EXPECT_EQ(fit->generated.generatedCount, 50);
        slopes.push_back(fit->result.fitCoefs[1]);
    }
    // Three different lines.
    EXPECT_NE(slopes[0], slopes[1]);
    EXPECT_NE(slopes[1], slopes[2]);
    EXPECT_EQ(s.generated.generatedX, fitOfSeries(s, record().series[0])->generated.generatedX);
    EXPECT_TRUE(w.frame().outputPane()->paneText(1).startsWith(QStringLiteral("系列: a")));

    // Another active series shows its own fit; the same fit again gives the same.
    w.series().choose(2);
    EXPECT_EQ(view().state().generated.generatedY,
              fitOfSeries(view().state(), record().series[2])->generated.generatedY);
    EXPECT_TRUE(w.frame().outputPane()->paneText(1).startsWith(QStringLiteral("系列: c")));
    const std::vector<double> before = view().state().generated.generatedY;
    command(ID_FIT_RUN);
    EXPECT_EQ(view().state().generated.generatedY, before);
}

// ---- Files --------------------------------------------------------------------

TEST_F(SeriesWindowTest, AllSeriesSaveAsOneLongFormFile) {
    openPlain();
    threeSeries();
    set([](DocumentRecord& r) { r.series[1].name = "b, \"2\""; });
    const QString csv = dir.filePath("all.csv");
    dialogs.saveAnswers = {csv};
    command(ID_SAVE_ALL_SERIES_CSV);
    QFile f(csv);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray bytes = f.readAll();
    ASSERT_TRUE(bytes.endsWith('\0'));
    const QList<QByteArray> lines = bytes.chopped(1).split('\n');
    ASSERT_EQ(lines.size(), 14);  // header, 12 points, nothing after the last CR LF
    EXPECT_EQ(lines[0], "series,x,y\r");
    // Series in order, points in theirs, a name with a comma or quote quoted.
    struct Row {
        int line;
        const char* series;
        double x, y;
    };
    for (const Row& row : {Row{1, "a", 0.1, 5.0 / 30}, Row{4, "a", 0.7, 11.0 / 30},
                           Row{5, "\"b, \"\"2\"\"\"", 0.1, 0.9}, Row{12, "c", 0.8, 0.6}}) {
        const QByteArray line = lines[row.line].chopped(1);
        const qsizetype second = line.lastIndexOf(','), first = line.lastIndexOf(',', second - 1);
        EXPECT_EQ(line.left(first), QByteArray(row.series)) << row.line;
        EXPECT_NEAR(line.mid(first + 1, second - first - 1).toDouble(), row.x, 1e-12) << row.line;
        EXPECT_NEAR(line.mid(second + 1).toDouble(), row.y, 1e-12) << row.line;
    }
    EXPECT_TRUE(dialogs.saveRequests.back().proposedName.endsWith(QStringLiteral("series.csv")));
}

TEST_F(SeriesWindowTest, ThreeSeriesProjectOpensAsSaved) {
    openPlain();
    threeSeries();
    set([](DocumentRecord& r) { r.active = 1; });
    const DocumentRecord saved = record();
    dialogs.saveAnswers = {dir.filePath("three.quillfen.json")};
    ASSERT_TRUE(w.projects().saveAs());

    FakeDialogs other;
    ApplicationWindow next{other, CameraSourceMap{}};
    ASSERT_TRUE(next.projects().openPath(dir.filePath("three.quillfen.json")));
    QApplication::processEvents();
    const DocumentRecord& opened = next.projects().document().record();
    ASSERT_EQ(opened.series.size(), 3u);
    EXPECT_EQ(opened.series, saved.series);
    EXPECT_EQ(opened.active, 1);
    EXPECT_EQ(next.series().selector()->count(), 3);
    EXPECT_EQ(next.series().selector()->currentIndex(), 1);
    EXPECT_EQ(next.series().list()->item(2)->text(), QStringLiteral("c (4 点)"));
}

}  // namespace
}  // namespace qf
