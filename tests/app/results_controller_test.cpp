// The fit and the result files as the user meets them in the window:
// message boxes, report pages, the tab in front, the generated graph, and
// what lands on disk.

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QImage>
#include <QPrinter>
#include <QProcess>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <filesystem>
#include <opencv2/imgcodecs.hpp>

#include "app/application_window.h"
#include "app/formula_copy_bar.h"
#include "app/output_pane.h"
#include "app/project_controller.h"
#include "common/cp932.h"
#include "common/csv_file.h"
#include "common/result_set.h"
#include "fit/report.h"
#include "points/calibration.h"
#include "points/source_point_file.h"
#include "support/child_process.h"
#include "support/fake_dialogs.h"
#include "support/full_size.h"
#include "view/image_view.h"

namespace qf {
namespace {

using testing_support::FakeDialogs;

// The window showing a 200 x 150 picture.
struct Window {
    explicit Window(const QString& picture) : Window(picture, ownDialogs) {}
    Window(const QString& picture, FakeDialogs& answers) : dialogs(answers) {
        loaded = app.projects().openPicture(picture);
        test::zoomToFullSize(view);
        view.state().doc.axis.axisRect = {55, 55, 105, 85};
    }

    // As the frame runs it, whatever its enable rule says.
    void command(int id) { app.frame().routeCommand(id); }

    // Points of y = (50x - 3) / 60 in the default axis frame (55,55)-(105,85)
    // over 0..1 x 0..1.
    void addLinePoints(int count) {
        std::vector<SourcePoint>& p = view.state().doc.current().points;
        p.clear();
        for (int i = 0; i < count; ++i) p.push_back({60 + 2 * (i % 20), 84 - i % 20});
    }

    FakeDialogs ownDialogs;
    FakeDialogs& dialogs;
    ApplicationWindow app{dialogs, CameraSourceMap{}};
    ImageView& view = app.view();
    OutputPane& pane = *app.frame().outputPane();
    bool loaded = false;
};

class ResultsControllerTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        // The CSV form chosen in an earlier test is not this one's.
        openWorkspaceStore()->remove(QStringLiteral("Workspace/CsvEncoding"));
        picture = dir.filePath("chart.png");
        cv::imwrite(picture.toStdString(), cv::Mat(150, 200, CV_8UC3, cv::Scalar(200, 210, 220)));
        w = std::make_unique<Window>(picture);
        ASSERT_TRUE(w->loaded);
    }

    void fitLine() {
        w->addLinePoints(6);
        w->view.state().doc.current().fit.degree = 1;
        w->command(ID_FIT_RUN);
        ASSERT_EQ(w->view.state().generated.generatedCount, 50);
    }

    static QByteArray fileBytes(const QString& path) {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    QTemporaryDir dir;
    QString picture;
    std::unique_ptr<Window> w;
};

TEST_F(ResultsControllerTest, EveryFitOutcomeAsTheUserSeesIt) {
    struct Case {
        const char* name;
        int points;
        void (*setUp)(ViewState&);
        bool messageBox;
        const char* outputText;  // within the page "出力"
        bool report;             // page "フィッティング出力" filled
        int tab;
        bool toolsCleared;
    } cases[] = {
        {"no points", 0, [](ViewState&) {}, false, "", false, 0, false},
        {"more than 128 points", 129, [](ViewState&) {}, false, "", false, 0, false},
        {"rejected settings", 5, [](ViewState& s) { s.doc.current().fit.graphPointCount = 1; },
         true, "グラフ作製データ数？", false, 0, true},
        {"formula error", 5,
         [](ViewState& s) {
             s.doc.current().fit.modelKind = 2;
             s.doc.current().fit.basisExpr[3] = "x * (";
         },
         true, "インタープリタ エラー", false, 0, true},
        {"solver error", 5,
         [](ViewState& s) { s.doc.axis.axisRect.right = s.doc.axis.axisRect.left; }, true,
         "最小2乗法\u3000実行エラー", false, 0, true},
        // The curve's values pass the largest double: no fit, and the reason.
        {"overflowing fit", 5,
         [](ViewState& s) {
             s.doc.axis.yMax = 1e308;
             s.doc.current().fit.modelKind = 1;
             s.doc.current().fit.degree = 1;
         },
         true, "generated point 26 of 50 is not finite (X = 0.510204, Y = INF)", false, 0, true},
        {"fitted", 5, [](ViewState& s) { s.doc.current().fit.degree = 1; }, false, "", true, 1,
         true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Window win(picture);
        FakeDialogs& dialogs = win.dialogs;
        OutputPane& pane = win.pane;
        ImageView& view = win.view;
        win.addLinePoints(c.points);
        c.setUp(view.state());
        view.state().display.showGeneratedGraph = 0;
        pane.setPaneText(1, "old report");
        pane.activateOutputTab(3);

        win.command(ID_FIT_RUN);

        EXPECT_EQ(dialogs.messages.size(), c.messageBox ? 1u : 0u);
        const QString output = pane.paneText(0);
        EXPECT_TRUE(output.contains(QString::fromUtf8(c.outputText))) << output.toStdString();
        if (c.messageBox) {
            // The box says what the page says (the page shows CR LF as lines).
            EXPECT_EQ(QString(dialogs.messages[0]).remove('\r'), output + "\n");
        } else {
            EXPECT_EQ(output, QString());
        }
        EXPECT_EQ(!pane.paneText(1).isEmpty(), c.report);
        EXPECT_EQ(pane.activeOutputTab(), c.tab);
        EXPECT_EQ(view.state().display.showGeneratedGraph, 1);
        const InteractionMode& t = view.state().tools;
        EXPECT_EQ(t.tool == Tool::None, c.toolsCleared);
        const int rows = pane.graphPointList()->rowCount();
        EXPECT_EQ(rows, c.report ? view.state().doc.current().fit.graphPointCount : 0);
    }
}

// The page shows the report as the files hold it, then the readable section.
TEST_F(ResultsControllerTest, AFittedReportMatchesTheResult) {
    fitLine();
    const ViewState& s = w->view.state();
    EXPECT_EQ(w->pane.paneText(1).toStdString() + "\n",
              QString::fromStdString(buildFitReport(s.fitResult, s.doc.current().fit.basisExpr) +
                                     readableResultsText(s.fitResult, s.fitDetails))
                  .remove('\r')
                  .toStdString());
    EXPECT_EQ(s.fitDetails.pointCount, 6);
    EXPECT_NEAR(s.fitResult.fitCoefs[0], -3.0 / 60, 1e-9);
    EXPECT_NEAR(s.fitResult.fitCoefs[1], 50.0 / 60, 1e-9);
}

TEST_F(ResultsControllerTest, SourcePointsAreWrittenAsTheFileText) {
    w->addLinePoints(3);
    const QString path = dir.filePath("points.csv");
    w->dialogs.saveAnswers = {path};
    w->command(ID_SAVE_SOURCE_POINTS);
    ASSERT_EQ(w->dialogs.saveRequests.size(), 1u);
    EXPECT_EQ(w->dialogs.saveRequests[0].defaultSuffix, "csv");
    const std::string expected =
        toCp932(sourcePointFileText(w->view.state().doc.current().points, w->view.state().doc.axis))
            .bytes;
    EXPECT_EQ(fileBytes(path).toStdString(), expected);
    EXPECT_TRUE(w->dialogs.messages.empty());
}

TEST_F(ResultsControllerTest, ResultFilesThatCannotBeWrittenSaySoAndChangeNothing) {
    fitLine();
    const QString blocked = dir.filePath("missing-folder/out.csv");
    for (int id : {ID_SAVE_SOURCE_POINTS, ID_SAVE_GENERATED_POINTS}) {
        w->dialogs.messages.clear();
        w->dialogs.saveAnswers = {blocked};
        w->command(id);
        ASSERT_EQ(w->dialogs.messages.size(), 1u) << id;
        EXPECT_TRUE(w->dialogs.messages[0].contains(blocked))
            << w->dialogs.messages[0].toStdString();
    }
    EXPECT_EQ(w->view.state().pointCount(), 6);
    EXPECT_EQ(w->view.state().generated.generatedCount, 50);
    EXPECT_FALSE(QFile::exists(blocked));
}

TEST_F(ResultsControllerTest, CancelledSavesWriteNothing) {
    fitLine();
    for (int id : {ID_SAVE_SOURCE_POINTS, ID_SAVE_GENERATED_POINTS, ID_SAVE_GENERATED_IMAGE})
        w->command(id);  // no answers queued: every dialog is cancelled
    EXPECT_EQ(w->dialogs.saveRequests.size(), 3u);
    EXPECT_TRUE(w->dialogs.messages.empty());
    EXPECT_TRUE(QDir(dir.path()).entryList({"*.csv", "*.bmp"}).isEmpty());
}

TEST_F(ResultsControllerTest, GeneratedPointsFileHoldsTheReportHeaderAndThePoints) {
    fitLine();
    const QString path = dir.filePath("graph.csv");
    w->dialogs.saveAnswers = {path};
    w->command(ID_SAVE_GENERATED_POINTS);
    const ViewState& s = w->view.state();
    EXPECT_EQ(
        fileBytes(path).toStdString(),
        toCp932(generatedGraphFileText(s.fitResult, s.generated, s.doc.current().fit.basisExpr))
            .bytes);
}

// A batch run killed between its renames leaves the rest of its set in
// hidden files its journal names, for the next writer to complete. A file of
// the set saved from the window before that was lost when the set was
// completed later; a save now completes the set first.
TEST_F(ResultsControllerTest, ASaveCompletesAnInterruptedResultSetFirst) {
    namespace fs = std::filesystem;
    fitLine();
    const fs::path out = fs::path(dir.path().toStdString()) / "out";
    fs::create_directories(out);
    // Killed as it renames fit.csv: the journal and points.csv are renamed.
    const test::ChildEnd end = test::killAtCall(
        [&] {
            const FolderLockResult lock = lockFolder(out.string(), std::chrono::seconds(0));
            std::vector<AtomicFile> files;
            for (const char* n : kResultSetNames) {
                AtomicFile f((out / n).string());
                if (!f.open().ok || !f.write(std::string("new ") + n).ok) return 1;
                files.push_back(std::move(f));
            }
            return commitResultSet(files).ok ? 0 : 1;
        },
        test::renamesInto((out / "").string()), 3);
    if (end == test::ChildEnd::Untraceable) GTEST_SKIP() << "no tracing here";
    ASSERT_EQ(end, test::ChildEnd::Killed);
    ASSERT_TRUE(fs::exists(out / kResultSetJournal));

    const QString saved = QString::fromStdString((out / "fit.csv").string());
    w->dialogs.saveAnswers = {saved};
    w->command(ID_SAVE_GENERATED_POINTS);
    EXPECT_TRUE(w->dialogs.messages.empty());
    const ViewState& s = w->view.state();
    const std::string expected =
        toCp932(generatedGraphFileText(s.fitResult, s.generated, s.doc.current().fit.basisExpr))
            .bytes;
    EXPECT_EQ(fileBytes(saved).toStdString(), expected);

    // The next writer finds nothing to complete: the save stays.
    const AtomicWriteResult later = recoverResultSet(out.string());
    ASSERT_TRUE(later.ok) << later.error;
    EXPECT_EQ(fileBytes(saved).toStdString(), expected);
    for (const char* n : kResultSetNames) {
        if (std::string(n) == "fit.csv") continue;
        EXPECT_EQ(fileBytes(QString::fromStdString((out / n).string())).toStdString(),
                  std::string("new ") + n);
    }
    EXPECT_EQ(std::distance(fs::directory_iterator(out), fs::directory_iterator()), 5);
}

TEST_F(ResultsControllerTest, GraphImageIsTheImageSizeAndLeavesTheViewAtOneToOne) {
    fitLine();
    w->command(ID_ZOOM_IN);
    w->command(ID_ZOOM_IN);
    w->view.state().transform.scrollPos = {40, 30};

    const QString path = dir.filePath("graph.png");
    w->dialogs.saveAnswers = {path};
    w->command(ID_SAVE_GENERATED_IMAGE);
    EXPECT_EQ(w->view.state().transform.zoomShift, 0);
    EXPECT_EQ(w->view.state().transform.scrollPos, (IntPoint{0, 0}));
    const QImage saved(path);
    ASSERT_FALSE(saved.isNull());
    EXPECT_EQ(saved.size(), QSize(200, 150));
    EXPECT_EQ(saved.pixelColor(10, 10), QColor(Qt::white));  // no picture, no overlays
    EXPECT_EQ(saved.pixelColor(55, 70), QColor(Qt::black));  // the frame's left edge

    // Cancelled: still reset. A name no encoder takes: the failure message.
    w->command(ID_ZOOM_IN);
    w->command(ID_SAVE_GENERATED_IMAGE);
    EXPECT_EQ(w->view.state().transform.zoomShift, 0);
    w->dialogs.saveAnswers = {dir.filePath("graph.txt")};
    w->command(ID_SAVE_GENERATED_IMAGE);
    ASSERT_EQ(w->dialogs.messages.size(), 1u);
    EXPECT_EQ(w->dialogs.messages[0], "Save image failed:\n80004005");
}

TEST_F(ResultsControllerTest, PixelGridColourFollowsTheDialog) {
    const uint32_t before = w->view.state().pixelGridColour;
    w->command(ID_PIXEL_GRID_COLOUR);  // cancelled
    EXPECT_EQ(w->view.state().pixelGridColour, before);
    w->dialogs.colourAnswer = 0x00FF00;
    w->command(ID_PIXEL_GRID_COLOUR);
    EXPECT_EQ(w->view.state().pixelGridColour, 0x00FF00u);
}

// At a negative zoom the view draws from a reduced copy it keeps between
// repaints; a command that makes a new picture must show at once.
TEST_F(ResultsControllerTest, ReducedPicturesFollowTheCommands) {
    ImageView& view = w->view;
    w->app.frame().show();
    w->command(ID_ZOOM_OUT);
    w->command(ID_ZOOM_OUT);
    w->command(ID_DISPLAY_OUTPUT);
    ASSERT_EQ(view.state().transform.zoomShift, -2);
    auto shown = [&] { return view.viewport()->grab().toImage().pixelColor(5, 5); };
    const QColor grey = shown();
    EXPECT_EQ(grey.red(), grey.blue());  // the grey rendering of (B 200, G 210, R 220)
    w->command(ID_GREY_IMAGE);           // grey off: the output is the colour picture again
    EXPECT_EQ(shown(), QColor(220, 210, 200));
    w->command(ID_RUN_PROCESSING);  // black and white
    const QColor processed = shown();
    EXPECT_TRUE(processed == QColor(Qt::white) || processed == QColor(Qt::black));
}

// Ctrl+P prints what the view shows; here into a PDF file.
TEST_F(ResultsControllerTest, PrintingWritesTheShownViewToThePrinter) {
    struct PdfDialogs : FakeDialogs {
        QString pdf;
        bool choosePrinter(QWidget*, QPrinter& printer) override {
            if (pdf.isEmpty()) return false;  // cancelled
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(pdf);
            return true;
        }
    } dialogs;
    Window win(picture, dialogs);
    ASSERT_TRUE(win.loaded);
    win.command(ID_FILE_PRINT);  // cancelled: nothing
    dialogs.pdf = dir.filePath("view.pdf");
    win.command(ID_FILE_PRINT);
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_TRUE(fileBytes(dialogs.pdf).startsWith("%PDF"));
    EXPECT_EQ(QDir(dir.path()).entryList({"*.pdf"}).size(), 1);
}

// "CSV (UTF-8)" writes the same text without the code page, the CR and the
// NUL that trip a script up; the window offers the form chosen last first,
// and the described form stays the default and byte-identical.
TEST_F(ResultsControllerTest, CsvFilesInUtf8AreReadByPythonsCsvModule) {
    fitLine();
    const ViewState& s = w->view.state();
    const std::string pointsText = sourcePointFileText(s.doc.current().points, s.doc.axis);
    const std::string graphText =
        generatedGraphFileText(s.fitResult, s.generated, s.doc.current().fit.basisExpr);
    const QString points = dir.filePath("points-utf8.csv");
    const QString graph = dir.filePath("fit-utf8.csv");
    w->dialogs.saveAnswers = {points, graph};
    w->dialogs.filterAnswers = {1};
    w->command(ID_SAVE_SOURCE_POINTS);
    w->command(ID_SAVE_GENERATED_POINTS);  // offered UTF-8, and kept
    ASSERT_EQ(w->dialogs.saveRequests.size(), 2u);
    EXPECT_EQ(w->dialogs.saveRequests[0].filterIndex, 0);
    EXPECT_EQ(w->dialogs.saveRequests[1].filterIndex, 1);
    EXPECT_EQ(w->dialogs.saveRequests[0].filter.split(";;")[1], "CSV (UTF-8)(*.csv)");
    const QByteArray bytes = fileBytes(points);
    EXPECT_EQ(bytes.toStdString(), unixLines(pointsText));
    EXPECT_FALSE(bytes.contains('\0'));
    EXPECT_FALSE(bytes.contains('\r'));
    EXPECT_EQ(fileBytes(graph).toStdString(), unixLines(graphText));

    const QString python = QStandardPaths::findExecutable(QStringLiteral("python3"));
    if (python.isEmpty()) GTEST_SKIP() << "no python3 here";
    QProcess run;
    run.start(python, {QStringLiteral(QF_CSV_ROWS_SCRIPT), points});
    ASSERT_TRUE(run.waitForFinished(60000));
    EXPECT_EQ(run.exitCode(), 0) << run.readAllStandardError().toStdString();
    const QStringList rows = QString::fromUtf8(run.readAllStandardOutput()).split('\n');
    ASSERT_EQ(rows.size(), 6 + 2) << rows.join('\n').toStdString();  // header, 6 rows, ""
    EXPECT_EQ(rows[0], "No.|X|Y|H|V");
    for (int i = 0; i < 6; ++i) {
        const auto texts = sourcePointTexts(i, s.doc.current().points[size_t(i)], s.doc.axis);
        QStringList fields;
        for (const std::string& t : texts) fields << QString::fromStdString(t);
        EXPECT_EQ(rows[i + 1], fields.join('|'));
    }

    // Back to the described form: as before, and offered first again.
    const QString described = dir.filePath("points.csv");
    w->dialogs.saveAnswers = {described, dir.filePath("again.csv")};
    w->dialogs.filterAnswers = {0};
    w->command(ID_SAVE_SOURCE_POINTS);
    w->command(ID_SAVE_SOURCE_POINTS);
    EXPECT_EQ(fileBytes(described).toStdString(), toCp932(pointsText).bytes);
    EXPECT_EQ(w->dialogs.saveRequests[3].filterIndex, 0);
}

// A point file saved in either form, or as a spreadsheet or an editor saves
// it, replaces the point list in one step that undo takes back; one with a
// point off the picture changes nothing and says which.
TEST_F(ResultsControllerTest, PointFilesReadBackInEitherForm) {
    fitLine();
    const std::vector<SourcePoint> saved = w->view.state().doc.current().points;
    const QString cp932 = dir.filePath("cp932.csv");
    const QString utf8 = dir.filePath("utf8.csv");
    w->dialogs.saveAnswers = {cp932, utf8};
    w->dialogs.filterAnswers = {0, 1};
    w->command(ID_SAVE_SOURCE_POINTS);
    w->command(ID_SAVE_SOURCE_POINTS);
    const QString edited = dir.filePath("edited.csv");
    {
        QFile f(edited);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(
            "\xEF\xBB\xBF"
            "1,0.1,0.5,60,70\r\n2,0.2,0.4,70,75\r\n");
    }
    Document& doc = w->app.projects().document();
    const struct {
        QString file;
        std::vector<SourcePoint> points;
    } cases[] = {{cp932, saved}, {utf8, saved}, {edited, {{60, 70}, {70, 75}}}};
    for (const auto& c : cases) {
        doc.edit("clear", [](DocumentRecord& r) { r.current().points.clear(); });
        w->dialogs.openAnswers = {c.file};
        w->command(ID_LOAD_SOURCE_POINTS);
        EXPECT_TRUE(w->dialogs.messages.empty()) << w->dialogs.messages.front().toStdString();
        EXPECT_EQ(w->view.state().doc.current().points, c.points) << c.file.toStdString();
        EXPECT_EQ(w->pane.sourcePointRowCount(), int(c.points.size()));
        doc.undo();
        EXPECT_TRUE(w->view.state().doc.current().points.empty());
    }

    const QString outside = dir.filePath("outside.csv");
    {
        QFile f(outside);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("H,V\n10,10\n200,10\n");  // the picture is 200 x 150
    }
    w->dialogs.openAnswers = {outside};
    w->command(ID_LOAD_SOURCE_POINTS);
    ASSERT_EQ(w->dialogs.messages.size(), 1u);
    EXPECT_TRUE(w->dialogs.messages[0].contains("(H 200, V 10)"))
        << w->dialogs.messages[0].toStdString();
    EXPECT_TRUE(w->view.state().doc.current().points.empty());
}

// Each form of the fitted formula has a button that puts it on the
// clipboard; the function sum has only the formula language's, and a fit
// that fails takes the buttons away with its report.
TEST_F(ResultsControllerTest, CopyButtonsPutEachFormulaFormOnTheClipboard) {
    fitLine();
    FormulaCopyBar* bar = w->pane.formulaCopyBar();
    ASSERT_NE(bar, nullptr);
    EXPECT_FALSE(bar->isHidden());
    const ViewState& s = w->view.state();
    const FormulaForms forms = formulaFormsOf(s.fitResult, s.fitDetails);
    const std::string expected[] = {forms.formula, forms.python, forms.spreadsheet};
    EXPECT_EQ(forms.spreadsheet.rfind("=", 0), 0u) << forms.spreadsheet;
    for (int k = 0; k < FormulaCopyBar::kForms; ++k) {
        QApplication::clipboard()->clear();
        ASSERT_FALSE(bar->button(k)->isHidden()) << k;
        QTest::mouseClick(bar->button(k), Qt::LeftButton);
        EXPECT_EQ(QApplication::clipboard()->text().toStdString(), expected[k]) << k;
        // The report shows the same text the button copies.
        EXPECT_TRUE(w->pane.paneText(1).contains(QString::fromStdString(expected[k]))) << k;
    }

    w->addLinePoints(12);
    w->view.state().doc.current().fit.modelKind = FunctionSum;
    w->command(ID_FIT_RUN);
    ASSERT_EQ(w->view.state().fitResult.fitModelKind, FunctionSum);
    EXPECT_FALSE(bar->button(0)->isHidden());
    EXPECT_TRUE(bar->button(1)->isHidden());
    EXPECT_TRUE(bar->button(2)->isHidden());
    QTest::mouseClick(bar->button(0), Qt::LeftButton);
    EXPECT_EQ(QApplication::clipboard()->text().toStdString(),
              formulaFormsOf(s.fitResult, s.fitDetails).formula);

    w->view.state().doc.current().fit.graphPointCount = 1;  // refused: no fit, no report
    w->command(ID_FIT_RUN);
    EXPECT_EQ(w->pane.paneText(1), QString());
    EXPECT_TRUE(bar->isHidden());
}

}  // namespace
}  // namespace qf
