// The window's work as one document: every gesture and command is one step
// that undo takes back and redo brings again, projects saved from the window
// replay to the same files in the batch mode, and nothing is lost by a failed
// open, another picture, or a close.

#include <gtest/gtest.h>

#include <QApplication>
#include <QDropEvent>
#include <QFile>
#include <QMimeData>
#include <QStatusBar>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <fstream>
#include <functional>
#include <opencv2/core.hpp>
#include <opencv2/imgcodecs.hpp>
#include <opencv2/imgproc.hpp>
#include <sstream>

#include "app/application_window.h"
#include "app/output_pane.h"
#include "app/project_controller.h"
#include "common/format.h"
#include "imaging/mapping.h"
#include "project/batch.h"
#include "project/project_file.h"
#include "settings/settings_pane.h"
#include "support/fake_dialogs.h"
#include "support/full_size.h"
#include "view/document_sync.h"
#include "window_driver.h"

namespace qf {

// Records print as their project text, so a failure shows what differs.
void PrintTo(const DocumentRecord& r, std::ostream* os) {
    *os << "\n" << projectText(r);
}

namespace {

using testing_support::chooseInPane;
using testing_support::clickOnView;
using testing_support::dragOnView;
using testing_support::enterInPane;

std::string bytesOf(const QString& path) {
    std::ifstream in(path.toStdString(), std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

// A chart-like picture: light ground, a dark curve, so that mapping changes it.
cv::Mat chart(int w, int h) {
    cv::Mat m(h, w, CV_8UC3, cv::Scalar(235, 240, 245));
    for (int x = 10; x < w - 10; ++x) {
        const int y = h - 20 - (x * x) / (w * 2);
        cv::circle(m, {x, y}, 1, cv::Scalar(40, 30, 20), cv::FILLED);
    }
    cv::rectangle(m, {20, 20}, {w - 21, h - 21}, cv::Scalar(90, 90, 90));
    return m;
}

bool samePixels(const cv::Mat& a, const cv::Mat& b) {
    return a.size() == b.size() && a.type() == b.type() &&
           (a.empty() || cv::norm(a, b, cv::NORM_INF) == 0);
}
bool samePixels(const std::pair<cv::Mat, cv::Mat>& a, const std::pair<cv::Mat, cv::Mat>& b) {
    return samePixels(a.first, b.first) && samePixels(a.second, b.second);
}

class DocumentWindowTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        picture = writePicture("chart.png", chart(160, 120));
        w.frame().resize(1000, 700);
        w.frame().show();
        w.frame().activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&w.frame()));
        ASSERT_TRUE(w.projects().openPicture(picture));
        test::zoomToFullSize(view());
        QApplication::processEvents();
        ASSERT_EQ(w.frame().windowTitle(), QStringLiteral("chart.png[*] - Quillfen"));
    }

    QString writePicture(const QString& name, const cv::Mat& m) {
        const QString path = dir.filePath(name);
        EXPECT_TRUE(cv::imwrite(path.toStdString(), m));
        return path;
    }
    QString writeText(const QString& name, const QByteArray& text) {
        QFile f(dir.filePath(name));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(text);
        return f.fileName();
    }

    ImageView& view() { return w.view(); }
    Document& doc() { return w.projects().document(); }
    const DocumentRecord& record() { return doc().record(); }
    DocumentRecord shown() { return view().state().doc; }
    void command(int id) {
        w.frame().triggerCommand(id);
        QApplication::processEvents();
    }
    SettingsGrid& grid() { return *w.properties().grid(); }
    QImage screen() { return view().viewport()->grab().toImage(); }
    // The pictures the record derives: the input as read, the working picture.
    std::pair<cv::Mat, cv::Mat> picturePixels() {
        const ImagePair& images = view().state().images;
        return {images.inputImage.clone(), outputImage(images).clone()};
    }

    void addPoints(std::initializer_list<QPoint> at) {
        command(ID_ADD_POINTS);
        for (QPoint p : at) clickOnView(view(), p);
    }

    QTemporaryDir dir;
    QString picture;
    testing_support::FakeDialogs dialogs;
    ApplicationWindow w{dialogs, CameraSourceMap{}};
};

// ---- Undo and redo ----------------------------------------------------------

// What the user does, each meant to be one step of the history. The picture
// is 160 x 120: corners (20,20)-(140,100), graph rectangle (15,15,145,105),
// axis rectangle (30,30,130,90).
enum class Op {
    MoveCorner,
    RunMapping,
    DragGraphCorner,
    DragAxisEdge,
    AddPoint1,
    AddPoint2,
    AddPoint3,
    EraseClick,
    EraseRegion,
    EditAxisValue,
    ChooseScale,
    EditFormula,
    RemoveAll,
    DeleteKey,
    OpenOtherPicture,
    ChoosePerspective,
    ChooseInterpolated,
    ExtractCurve,
    EditExtractCount,
};

class DocumentWindowUndoTest : public DocumentWindowTest {
public:
    void run(Op op) {
        switch (op) {
            case Op::MoveCorner: {
                command(ID_MAPPING_CORNERS);
                const IntPoint c = view().state().doc.mapping.corners[2];
                dragOnView(view(), {c.x, c.y}, {c.x - 6, c.y - 4});
                break;
            }
            case Op::RunMapping:
                command(ID_MAPPING_RUN);
                break;
            case Op::DragGraphCorner:
                command(ID_GRAPH_RECT);
                dragOnView(view(), {15, 15}, {8, 10});
                break;
            case Op::DragAxisEdge:
                command(ID_GRAPH_RECT);
                dragOnView(view(), {60, 30}, {60, 38});
                break;
            case Op::AddPoint1:
                addPoints({{50, 80}});
                break;
            case Op::AddPoint2:
                addPoints({{80, 70}});
                break;
            case Op::AddPoint3:
                addPoints({{110, 50}});
                break;
            case Op::EraseClick:
                command(ID_ERASE_POINTS);
                clickOnView(view(), {80, 70});
                break;
            case Op::EraseRegion:
                command(ID_ERASE_POINTS);
                dragOnView(view(), {40, 40}, {120, 90});
                break;
            case Op::EditAxisValue:
                enterInPane(grid(), PanelItem::YMax, "250");
                break;
            case Op::ChooseScale:
                chooseInPane(grid(), PanelItem::YScale, "対数");
                break;
            case Op::EditFormula:
                enterInPane(grid(), PanelItem::Basis1, "sin(x)");
                break;
            case Op::ChoosePerspective:
                chooseInPane(grid(), PanelItem::MappingMethod, "射影変換");
                break;
            case Op::ChooseInterpolated:
                chooseInPane(grid(), PanelItem::MappingSampling, "双一次補間");
                break;
            case Op::RemoveAll:
                command(ID_REMOVE_ALL_POINTS);
                break;
            case Op::ExtractCurve:
                command(ID_EXTRACT_CURVE);
                clickOnView(view(), {100, 69});
                command(ID_EXTRACT_CONFIRM);
                break;
            case Op::EditExtractCount:
                enterInPane(grid(), PanelItem::ExtractCount, "7");
                break;
            case Op::DeleteKey:
                // The add tool selects the point it hits (no step); Delete removes it.
                addPoints({{110, 50}});
                view().setFocus();
                QTest::keyClick(&view(), Qt::Key_Delete);
                break;
            case Op::OpenOtherPicture:
                dialogs.choiceAnswers.push_back(0);  // keep the points
                ASSERT_TRUE(w.projects().openPicture(writePicture("other.png", chart(200, 150))));
                break;
        }
        QApplication::processEvents();
    }
};

TEST_F(DocumentWindowUndoTest, EveryEditIsOneStepUndoneToTheStartAndRedoneToTheEnd) {
    const std::vector<std::vector<Op>> cases = {
        {Op::MoveCorner, Op::RunMapping, Op::MoveCorner, Op::RunMapping},
        {Op::DragGraphCorner, Op::DragAxisEdge, Op::RunMapping},
        {Op::AddPoint1, Op::AddPoint2, Op::AddPoint3, Op::EraseClick, Op::EraseRegion},
        {Op::AddPoint1, Op::AddPoint2, Op::RemoveAll, Op::AddPoint3},
        {Op::AddPoint1, Op::AddPoint3, Op::DeleteKey},
        {Op::EditAxisValue, Op::ChooseScale, Op::EditFormula, Op::AddPoint1},
        {Op::MoveCorner, Op::RunMapping, Op::AddPoint1, Op::OpenOtherPicture, Op::AddPoint2},
        {Op::MoveCorner, Op::ChoosePerspective, Op::RunMapping, Op::ChooseInterpolated,
         Op::RunMapping, Op::AddPoint1},
        {Op::RunMapping, Op::ChoosePerspective, Op::MoveCorner, Op::AddPoint1},
        {Op::AddPoint1, Op::EditExtractCount, Op::ExtractCurve, Op::RemoveAll, Op::ExtractCurve},
    };
    for (std::size_t c = 0; c < cases.size(); ++c) {
        SCOPED_TRACE(testing::Message() << "case " << c);
        doc().reset(DocumentRecord{});
        ASSERT_TRUE(w.projects().openPicture(picture));
        test::zoomToFullSize(view());
        QApplication::processEvents();
        // A picture opened into an untouched document is where its work starts.
        ASSERT_EQ(doc().history().undoCount(), 0u) << doc().history().undoLabel();
        ASSERT_FALSE(doc().isModified());

        std::vector<DocumentRecord> after{record()};
        std::vector<std::pair<cv::Mat, cv::Mat>> pictures{picturePixels()};
        for (Op op : cases[c]) {
            SCOPED_TRACE(testing::Message() << "op " << static_cast<int>(op));
            run(op);
            ASSERT_EQ(doc().history().undoCount(), after.size())
                << "not one step: " << doc().history().undoLabel();
            ASSERT_NE(record(), after.back());
            after.push_back(record());
            pictures.push_back(picturePixels());
        }
        for (std::size_t i = after.size() - 1; i-- > 0;) {
            SCOPED_TRACE(testing::Message() << "undo to " << i);
            command(ID_EDIT_UNDO);
            EXPECT_EQ(record(), after[i]);
            EXPECT_EQ(shown(), after[i]);
            EXPECT_TRUE(samePixels(picturePixels(), pictures[i]));
        }
        EXPECT_FALSE(doc().history().canUndo());
        EXPECT_FALSE(doc().isModified());
        for (std::size_t i = 1; i < after.size(); ++i) {
            SCOPED_TRACE(testing::Message() << "redo to " << i);
            command(ID_EDIT_REDO);
            EXPECT_EQ(record(), after[i]);
            EXPECT_EQ(shown(), after[i]);
            EXPECT_TRUE(samePixels(picturePixels(), pictures[i]));
        }
        EXPECT_FALSE(doc().history().canRedo());
    }
}

// The method chosen in the settings pane: the guide follows it at once, the
// next mapping run uses it, and a change after the run leaves the picture
// (and the points on it) alone until the mapping is run again.
TEST_F(DocumentWindowUndoTest, TheChosenMappingMethodStraightensThePicture) {
    run(Op::MoveCorner);
    run(Op::ChoosePerspective);
    const MappingGeometry& mapping = view().state().doc.mapping;
    EXPECT_EQ(record().mapping.method, MappingMethod::Perspective);
    const IntRect& g = mapping.graphRect;
    EXPECT_EQ(view().state().guide.innerQuad,
              computeInnerQuad(mapping.corners, 40.0 / g.width(), 40.0 / g.height(),
                               MappingMethod::Perspective));
    run(Op::RunMapping);
    ImagePair direct{view().state().images.inputImage, cv::Mat()};
    runMapping(direct, CurrentImage::Input, mapping);
    const cv::Mat perspective = picturePixels().second;
    EXPECT_TRUE(samePixels(perspective, direct.outputImage));
    EXPECT_EQ(record().applied->method, MappingMethod::Perspective);

    run(Op::ChooseInterpolated);
    EXPECT_EQ(record().mapping.sampling, MappingSampling::Interpolated);
    EXPECT_EQ(record().applied->sampling, MappingSampling::Nearest);
    EXPECT_TRUE(samePixels(picturePixels().second, perspective));
    run(Op::RunMapping);
    EXPECT_FALSE(samePixels(picturePixels().second, perspective));
}

// The point list's residual column shows the last fit's residuals while the
// points and axes are those it was made from, and nothing otherwise.
TEST_F(DocumentWindowUndoTest, ResidualsAreShownOnlyForThePointsTheyBelongTo) {
    addPoints({{40, 85}, {70, 75}, {100, 60}, {130, 40}});
    chooseInPane(grid(), PanelItem::Degree, "1");
    command(ID_FIT_RUN);
    const QTableWidget* list = w.frame().outputPane()->sourcePointList();
    const auto residuals = [list] {
        std::vector<std::string> texts;
        for (int r = 0; r < list->rowCount(); ++r)
            texts.push_back(list->item(r, 5) ? list->item(r, 5)->text().toStdString() : "");
        return texts;
    };
    const FitDetails& d = view().state().fitDetails;
    ASSERT_EQ(d.residuals.size(), 4u);
    std::vector<std::string> want;
    for (double r : d.residuals) want.push_back(formatG(r));
    EXPECT_EQ(residuals(), want);
    EXPECT_EQ(list->horizontalHeaderItem(5)->text(), QStringLiteral("残差"));

    addPoints({{55, 95}});  // a point the fit has not seen
    EXPECT_EQ(residuals(), std::vector<std::string>(5, ""));
    command(ID_EDIT_UNDO);
    EXPECT_EQ(residuals(), want);
    enterInPane(grid(), PanelItem::YMax, "2");  // other axes: other values
    EXPECT_EQ(residuals(), std::vector<std::string>(4, ""));
}

// The arrow keys move the selected point, or the corner last grabbed, one
// pixel (Shift: ten) per press, each press one step of the history.
TEST_F(DocumentWindowUndoTest, ArrowKeysMoveByAPixelAsOneStepEach) {
    addPoints({{50, 80}});
    view().setFocus();
    const std::size_t steps = doc().history().undoCount();
    QTest::keyClick(&view(), Qt::Key_Right);
    QTest::keyClick(&view(), Qt::Key_Up, Qt::ShiftModifier);
    EXPECT_EQ(record().current().points.at(0), (SourcePoint{51, 70}));
    EXPECT_EQ(doc().history().undoCount(), steps + 2);
    EXPECT_EQ(doc().history().undoLabel(), "キーでの移動");
    const QTableWidget* list = w.frame().outputPane()->sourcePointList();
    EXPECT_EQ(list->item(0, 3)->text(), QStringLiteral("51"));
    command(ID_EDIT_UNDO);
    EXPECT_EQ(record().current().points.at(0), (SourcePoint{51, 80}));
    EXPECT_EQ(shown(), record());

    run(Op::MoveCorner);  // grabs corner 3
    const IntPoint corner = record().mapping.corners[2];
    view().setFocus();
    QTest::keyClick(&view(), Qt::Key_Left);
    EXPECT_EQ(record().mapping.corners[2], (IntPoint{corner.x - 1, corner.y}));
    command(ID_EDIT_UNDO);
    EXPECT_EQ(record().mapping.corners[2], corner);
}

// The extraction tool: a click shows what it found without touching the
// list; the settings remake the preview; adding it is one step; Escape,
// another tool or a click on nothing leave the list as it was.
TEST_F(DocumentWindowUndoTest, ExtractedPointsArePreviewedThenAddedAsOneStep) {
    command(ID_EXTRACT_CURVE);
    EXPECT_TRUE(view().snapshot().extractMode);
    EXPECT_FALSE(w.frame().action(ID_EXTRACT_CONFIRM)->isEnabled());
    const std::size_t steps = doc().history().undoCount();
    const ExtractionPreview& preview = view().state().extractPreview;

    clickOnView(view(), {100, 69});  // on the chart's curve
    ASSERT_TRUE(preview.shown()) << (dialogs.messages.empty()
                                         ? ""
                                         : dialogs.messages.back().toStdString());
    EXPECT_EQ(preview.result.points.size(), 20u);
    EXPECT_EQ(w.frame().statusBar()->currentMessage(),
              QStringLiteral("20 点が見つかりました。Enter キーで追加、Esc キーで取り消します。"));
    EXPECT_TRUE(record().current().points.empty());
    EXPECT_EQ(doc().history().undoCount(), steps);
    EXPECT_TRUE(w.frame().action(ID_EXTRACT_CONFIRM)->isEnabled());
    // The rings are drawn where the list's crosses would be.
    const SourcePoint first = preview.result.points.front();
    EXPECT_EQ(screen().pixelColor(first.h + 5, first.v), QColor(0xC8, 0x00, 0xC8));

    enterInPane(grid(), PanelItem::ExtractCount, "12");
    EXPECT_EQ(record().current().extraction.count, 12);
    ASSERT_TRUE(preview.shown());
    const std::vector<SourcePoint> found = preview.result.points;
    EXPECT_EQ(found.size(), 12u);

    view().setFocus();
    QTest::keyClick(&view(), Qt::Key_Return);
    EXPECT_FALSE(preview.shown());
    EXPECT_EQ(record().current().points, found);
    EXPECT_EQ(doc().history().undoLabel(), "曲線の自動抽出");
    EXPECT_EQ(w.frame().outputPane()->sourcePointList()->rowCount(), 12);
    command(ID_EDIT_UNDO);
    EXPECT_TRUE(record().current().points.empty());
    EXPECT_EQ(shown(), record());

    // Dropped without a trace.
    clickOnView(view(), {100, 69});
    ASSERT_TRUE(preview.shown());
    view().setFocus();
    QTest::keyClick(&view(), Qt::Key_Escape);
    EXPECT_FALSE(preview.shown());
    clickOnView(view(), {100, 69});
    command(ID_ADD_POINTS);
    EXPECT_FALSE(preview.shown());
    EXPECT_TRUE(record().current().points.empty());

    // Nothing of that colour there: said, and nothing changes.
    command(ID_EXTRACT_CURVE);
    const std::size_t before = doc().history().undoCount();
    clickOnView(view(), {120, 35});
    EXPECT_FALSE(preview.shown());
    ASSERT_FALSE(dialogs.messages.empty());
    EXPECT_TRUE(dialogs.messages.back().startsWith(
        QStringLiteral("クリックした所の近くに曲線の色が見つかりません。")))
        << dialogs.messages.back().toStdString();
    EXPECT_EQ(doc().history().undoCount(), before);
}

// The loupe's switch is kept in the settings store for the next start.
TEST_F(DocumentWindowTest, TheLoupeSwitchIsRemembered) {
    EXPECT_TRUE(view().snapshot().showMagnifier);
    command(ID_MAGNIFIER);
    EXPECT_FALSE(view().snapshot().showMagnifier);
    EXPECT_FALSE(w.frame().action(ID_MAGNIFIER)->isChecked());
    {
        ApplicationWindow next{dialogs, CameraSourceMap{}};
        EXPECT_EQ(next.view().state().showMagnifier, 0);
    }
    command(ID_MAGNIFIER);
    ApplicationWindow again{dialogs, CameraSourceMap{}};
    EXPECT_EQ(again.view().state().showMagnifier, 1);
}

TEST_F(DocumentWindowUndoTest, TheKeysAndTheMenuFollowTheHistory) {
    QAction* undo = w.frame().action(ID_EDIT_UNDO);
    QAction* redo = w.frame().action(ID_EDIT_REDO);
    EXPECT_FALSE(undo->isEnabled());
    EXPECT_FALSE(redo->isEnabled());
    run(Op::AddPoint1);
    run(Op::AddPoint2);
    EXPECT_TRUE(undo->isEnabled());
    view().setFocus();
    QTest::keyClick(&view(), Qt::Key_Z, Qt::ControlModifier);
    QTest::keyClick(&view(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_TRUE(record().current().points.empty());
    EXPECT_FALSE(undo->isEnabled());
    EXPECT_TRUE(redo->isEnabled());
    QTest::keyClick(&view(), Qt::Key_Y, Qt::ControlModifier);
    QTest::keyClick(&view(), Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(record().current().points.size(), 2u);
    EXPECT_FALSE(redo->isEnabled());
    EXPECT_EQ(w.frame().outputPane()->sourcePointList()->rowCount(), 2);

    // Delete in a settings editor edits the text, not the selected point.
    addPoints({{80, 70}});  // selects the point there
    ASSERT_GE(view().state().selectedPoint, 0);
    enterInPane(grid(), PanelItem::YMax, "3");
    EXPECT_EQ(record().current().points.size(), 2u);
    EXPECT_EQ(record().axis.yMax, 3.0);
}

// The undo and redo commands name the step they would take back or make
// again, in the menu and the tooltip; with nothing to take they read plainly.
TEST_F(DocumentWindowUndoTest, UndoAndRedoNameTheirStep) {
    QAction* undo = w.frame().action(ID_EDIT_UNDO);
    QAction* redo = w.frame().action(ID_EDIT_REDO);
    struct Step {
        std::function<void()> act;
        const char* undoText;
        const char* undoTip;
        const char* redoText;
        const char* redoTip;
    };
    const Step steps[] = {
        {[] {}, "元に戻す(&U)", "元に戻す", "やり直し(&R)", "やり直し"},
        {[&] { run(Op::AddPoint1); }, "元に戻す: 点の追加(&U)", "元に戻す: 点の追加",
         "やり直し(&R)", "やり直し"},
        {[&] { run(Op::RemoveAll); }, "元に戻す: すべての点を削除(&U)",
         "元に戻す: すべての点を削除", "やり直し(&R)", "やり直し"},
        {[&] { command(ID_EDIT_UNDO); }, "元に戻す: 点の追加(&U)", "元に戻す: 点の追加",
         "やり直し: すべての点を削除(&R)", "やり直し: すべての点を削除"},
        {[&] { command(ID_EDIT_UNDO); }, "元に戻す(&U)", "元に戻す", "やり直し: 点の追加(&R)",
         "やり直し: 点の追加"},
        {[&] { run(Op::ChooseScale); }, "元に戻す: 設定の変更(&U)", "元に戻す: 設定の変更",
         "やり直し(&R)", "やり直し"},
    };
    for (const Step& step : steps) {
        step.act();
        SCOPED_TRACE(step.undoText);
        EXPECT_EQ(undo->text(), QString::fromUtf8(step.undoText));
        EXPECT_EQ(undo->toolTip(), QString::fromUtf8(step.undoTip));
        EXPECT_EQ(redo->text(), QString::fromUtf8(step.redoText));
        EXPECT_EQ(redo->toolTip(), QString::fromUtf8(step.redoTip));
    }
}

// ---- Projects ---------------------------------------------------------------

TEST_F(DocumentWindowTest, AProjectSavedInTheWindowReplaysToTheSameFilesInTheBatchMode) {
    command(ID_MAPPING_CORNERS);
    dragOnView(view(), {140, 100}, {134, 97});
    command(ID_MAPPING_RUN);
    enterInPane(grid(), PanelItem::XMax, "10");
    enterInPane(grid(), PanelItem::YMax, "100");
    enterInPane(grid(), PanelItem::Degree, "2");
    addPoints({{40, 85}, {60, 78}, {80, 70}, {100, 55}, {120, 40}});
    command(ID_FIT_RUN);
    ASSERT_GT(view().state().generated.generatedCount, 0);
    // A handle moved after the mapping: the points stay on the picture as mapped.
    command(ID_MAPPING_CORNERS);
    const IntPoint c = view().state().doc.mapping.corners[0];
    dragOnView(view(), {c.x, c.y}, {c.x + 3, c.y + 2});
    ASSERT_NE(record().mapping.corners, record().applied->corners);

    const QString points = dir.filePath("window-points.csv");
    const QString fit = dir.filePath("window-fit.csv");
    dialogs.saveAnswers = {points};
    command(ID_SAVE_SOURCE_POINTS);
    dialogs.saveAnswers = {fit};
    command(ID_SAVE_GENERATED_POINTS);
    const QString json = dir.filePath("window-fit.json");
    dialogs.saveAnswers = {json};
    command(ID_SAVE_FIT_JSON);
    dialogs.saveAnswers = {dir.filePath("chart")};
    command(ID_PROJECT_SAVE_AS);
    const QString project = dir.filePath("chart.quillfen.json");
    ASSERT_TRUE(QFile::exists(project));
    EXPECT_FALSE(doc().isModified());
    EXPECT_EQ(w.frame().windowTitle(), QStringLiteral("chart.quillfen.json[*] - Quillfen"));
    EXPECT_EQ(w.projects().recentProjects().value(0), project);

    std::ostringstream out, err;
    const QString batchDir = dir.filePath("batch");
    ASSERT_EQ(runBatch({project.toStdString(), batchDir.toStdString()}, out, err), 0) << err.str();
    EXPECT_EQ(bytesOf(batchDir + "/points.csv"), bytesOf(points));
    EXPECT_EQ(bytesOf(batchDir + "/fit.csv"), bytesOf(fit));
    EXPECT_EQ(bytesOf(batchDir + "/fit.json"), bytesOf(json));

    // Opened again (from the recent list), it is the same record.
    const DocumentRecord saved = record();
    command(ID_FILE_NEW);
    ASSERT_TRUE(record().image.empty());
    command(ID_FILE_MRU_FIRST);
    EXPECT_EQ(record(), saved);
    EXPECT_EQ(shown(), saved);
    EXPECT_EQ(doc().projectPath(), project);
}

TEST_F(DocumentWindowTest, AProjectOpensByItsNameFromTheCommandLineOrADrop) {
    addPoints({{50, 80}});
    dialogs.saveAnswers = {dir.filePath("a.quillfen.json")};
    ASSERT_TRUE(w.projects().saveAs());
    const DocumentRecord saved = record();
    command(ID_FILE_NEW);
    ASSERT_TRUE(w.projects().openPath(dir.filePath("a.quillfen.json")));
    EXPECT_EQ(record(), saved);
    addPoints({{60, 70}});
    EXPECT_TRUE(w.frame().isWindowModified());
    EXPECT_EQ(w.frame().windowTitle(), QStringLiteral("a.quillfen.json[*] - Quillfen"));

    // Dropped on the view, after the question about the unsaved point.
    dialogs.choiceAnswers = {1};
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(dir.filePath("a.quillfen.json"))});
    QDragEnterEvent enter(QPoint(50, 50), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(view().viewport(), &enter);  // the drop's target is who took this
    ASSERT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(50, 50), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(view().viewport(), &drop);
    EXPECT_TRUE(dialogs.choiceAnswers.empty());
    EXPECT_EQ(record(), saved);
    EXPECT_FALSE(doc().isModified());
}

// A project asking for an extraction opens with the curve's points before
// its listed ones, as the batch mode reads it; a seed on nothing is said and
// the listed points are kept.
TEST_F(DocumentWindowTest, AProjectAskingForAnExtractionOpensWithItsPoints) {
    const auto project = [this](const char* seed) {
        return writeText(QStringLiteral("extract.quillfen.json"),
                         QByteArray(R"({"format": "quillfen-project", "version": 3,
                                        "image": "chart.png", "points": [[50, 80]],
                                        "extract": {"count": 10, "seed": )") +
                             seed + "}}");
    };
    command(ID_FILE_NEW);
    ASSERT_TRUE(w.projects().openPath(project("[100, 69]")));
    ASSERT_EQ(record().current().points.size(), 11u);
    EXPECT_EQ(record().current().points.back(), (SourcePoint{50, 80}));
    const ExtractionResult r =
        extractCurve(*view().state().current(), extractionArea(record()), {100, 69}, {.count = 10});
    EXPECT_EQ(std::vector<SourcePoint>(record().current().points.begin(),
                                       record().current().points.end() - 1),
              r.points);
    EXPECT_FALSE(record().current().extractSeed);
    EXPECT_EQ(shown(), record());
    EXPECT_FALSE(doc().isModified());
    EXPECT_EQ(doc().history().undoCount(), 0u);
    EXPECT_TRUE(dialogs.messages.empty());

    command(ID_FILE_NEW);
    ASSERT_TRUE(w.projects().openPath(project("[120, 35]")));
    EXPECT_EQ(record().current().points, (std::vector<SourcePoint>{{50, 80}}));
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_TRUE(dialogs.messages[0].startsWith(
        QStringLiteral("プロジェクトの曲線を自動抽出できませんでした。\n")));
}

// ---- Nothing lost by mistake ------------------------------------------------

TEST_F(DocumentWindowTest, AFailedOpenChangesNothing) {
    command(ID_MAPPING_CORNERS);
    dragOnView(view(), {140, 100}, {130, 95});
    command(ID_MAPPING_RUN);
    addPoints({{50, 80}, {80, 70}});
    const DocumentRecord before = record();
    const QImage seen = screen();
    const std::size_t steps = doc().history().undoCount();

    QDir(dir.path()).mkdir("folder.png");
    const struct {
        QString path;
        const char* named;  // what the message must name
    } cases[] = {
        {writeText("notes.png", "not a picture"), "notes.png"},
        {dir.filePath("missing.png"), "missing.png"},
        {dir.filePath("folder.png"), "folder.png"},
        {writeText("broken.quillfen.json", "{\"format\": "), "broken.quillfen.json"},
        {writeText("lost.quillfen.json",
                   "{\"format\": \"quillfen-project\", \"version\": 2, \"image\": \"gone.png\"}"),
         "gone.png"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path.toStdString());
        dialogs.messages.clear();
        dialogs.choiceAnswers = {1};  // a project first asks about the unsaved work: drop it
        EXPECT_FALSE(w.projects().openPath(c.path));
        ASSERT_EQ(dialogs.messages.size(), 1u);
        EXPECT_TRUE(dialogs.messages[0].contains(QString::fromUtf8(c.named)))
            << dialogs.messages[0].toStdString();
        QApplication::processEvents();
        EXPECT_EQ(record(), before);
        EXPECT_EQ(shown(), before);
        EXPECT_EQ(doc().history().undoCount(), steps);
        EXPECT_EQ(screen(), seen);
        EXPECT_TRUE(w.frame().isCommandEnabled(ID_ADD_POINTS));
    }
}

TEST_F(DocumentWindowTest, AnotherPictureAsksWhetherToKeepThePoints) {
    addPoints({{50, 80}, {80, 70}});
    const DocumentRecord before = record();
    const QString other = writePicture("other.png", chart(200, 150));
    struct Case {
        std::deque<int> answers;  // keep / new / cancel, then save / discard / cancel
        bool opened;
        std::size_t points;
        bool canUndo;
    };
    const Case cases[] = {
        {{2}, false, 2, false},     // cancelled
        {{1, 2}, false, 2, false},  // a new document, but the unsaved work is kept
        {{1, 1}, true, 0, false},   // a new document, the work dropped
        {{0}, true, 2, true},       // the points stay with the new picture: one step
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "answer " << c.answers.front());
        doc().reset(before);
        doc().markModified();
        QApplication::processEvents();
        ASSERT_EQ(view().state().images.inputImage.cols, 160);
        dialogs.choiceAnswers = c.answers;
        const bool opened = w.projects().openPicture(other);
        EXPECT_EQ(opened, c.opened);
        EXPECT_EQ(record().image, (opened ? other : picture).toStdString());
        EXPECT_EQ(view().state().images.inputImage.cols, opened ? 200 : 160);
        EXPECT_EQ(record().current().points.size(), c.points);
        EXPECT_EQ(doc().history().canUndo(), c.canUndo);
        EXPECT_TRUE(dialogs.choiceAnswers.empty());
    }
    // Kept points: undo brings the first picture back.
    command(ID_EDIT_UNDO);
    EXPECT_EQ(record().image, picture.toStdString());
    EXPECT_EQ(view().state().images.inputImage.cols, 160);
}

TEST_F(DocumentWindowTest, UnsavedWorkIsNotDroppedWithoutAnAnswer) {
    addPoints({{50, 80}});
    struct Case {
        const char* action;
        std::function<bool()> act;  // whether the work was dropped
    };
    const Case cases[] = {
        {"close", [&] { return w.frame().close(); }},
        {"new",
         [&] {
             command(ID_FILE_NEW);
             return record().current().points.empty();
         }},
        {"open project",
         [&] {
             dialogs.openAnswers = {dir.filePath("none.quillfen.json")};
             command(ID_PROJECT_OPEN);
             return !dialogs.openAnswers.empty() ? false : record().current().points.empty();
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.action);
        dialogs.questions.clear();
        dialogs.choiceAnswers = {2};  // cancel
        EXPECT_FALSE(c.act());
        EXPECT_EQ(dialogs.questions.size(), 1u);
        EXPECT_EQ(record().current().points.size(), 1u);
        EXPECT_TRUE(w.frame().isVisible());
    }
    // Saving first: the question's first answer writes the project, then closes.
    dialogs.choiceAnswers = {0};
    dialogs.saveAnswers = {dir.filePath("kept")};
    EXPECT_TRUE(w.frame().close());
    const ProjectReadResult kept =
        readProjectFile(dir.filePath("kept.quillfen.json").toStdString());
    ASSERT_TRUE(kept.ok) << kept.error;
    EXPECT_EQ(kept.project.current().points.size(), 1u);
}

TEST_F(DocumentWindowTest, SaveDialogsProposeTheProjectsOrElseThePicturesName) {
    addPoints({{40, 85}, {60, 78}, {80, 70}, {100, 55}});
    command(ID_FIT_RUN);
    ASSERT_GT(view().state().generated.generatedCount, 0);
    struct Case {
        int command;
        const char* untitled;  // begun from chart.png, never saved
        const char* saved;     // saved as study.quillfen.json
    } const cases[] = {
        {ID_PROJECT_SAVE_AS, "chart.quillfen.json", "study.quillfen.json"},
        {ID_SAVE_SOURCE_POINTS, "chart.points.csv", "study.points.csv"},
        {ID_SAVE_GENERATED_POINTS, "chart.fit.csv", "study.fit.csv"},
        {ID_FILE_SAVE, "chart.working.png", "study.working.png"},
        {ID_SAVE_GENERATED_IMAGE, "chart.graph.png", "study.graph.png"},
        {ID_SAVE_FIT_JSON, "chart.fit.json", "study.fit.json"},
    };
    for (bool saved : {false, true}) {
        if (saved) {
            dialogs.saveAnswers = {dir.filePath("study")};
            command(ID_PROJECT_SAVE);
            ASSERT_EQ(doc().projectPath(), dir.filePath("study.quillfen.json"));
        }
        for (const Case& c : cases) {
            SCOPED_TRACE(c.untitled);
            dialogs.saveRequests.clear();
            dialogs.saveAnswers.clear();  // cancelled
            ASSERT_TRUE(w.frame().isCommandEnabled(c.command));
            command(c.command);
            ASSERT_EQ(dialogs.saveRequests.size(), 1u);
            EXPECT_EQ(dialogs.saveRequests[0].proposedName,
                      QString::fromUtf8(saved ? c.saved : c.untitled));
        }
    }
    // The pictures' list still offers BMP; the proposal makes PNG the type.
    command(ID_FILE_SAVE);
    EXPECT_TRUE(dialogs.saveRequests.back().filter.startsWith(QStringLiteral("BMP (*.bmp)")));
}

TEST_F(DocumentWindowTest, LeavingAPictureBegunDocumentAsksAboutItsProject) {
    const QByteArray pictureBytes = QByteArray::fromStdString(bytesOf(picture));
    addPoints({{50, 80}});
    struct Case {
        const char* action;
        std::function<void()> act;
    } const cases[] = {
        {"close", [&] { w.frame().close(); }},
        {"new", [&] { command(ID_FILE_NEW); }},
        {"open project",
         [&] {
             dialogs.openAnswers = {dir.filePath("none.quillfen.json")};
             command(ID_PROJECT_OPEN);
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.action);
        dialogs.questions.clear();
        dialogs.saveRequests.clear();
        // "Save": the dialog offers the project, and is cancelled.
        dialogs.choiceAnswers = {0};
        c.act();
        ASSERT_EQ(dialogs.questions.size(), 1u);
        EXPECT_EQ(dialogs.questions[0],
                  QStringLiteral("chart.quillfen.json への変更を保存しますか?"));
        ASSERT_EQ(dialogs.saveRequests.size(), 1u);
        EXPECT_EQ(dialogs.saveRequests[0].proposedName, QStringLiteral("chart.quillfen.json"));
        EXPECT_EQ(record().current().points.size(), 1u);
        EXPECT_EQ(QByteArray::fromStdString(bytesOf(picture)), pictureBytes);
    }
    // Without a picture there is no name to borrow: "無題".
    dialogs.choiceAnswers = {1};  // don't save
    command(ID_FILE_NEW);
    enterInPane(grid(), PanelItem::XMax, "10");
    dialogs.questions.clear();
    dialogs.choiceAnswers = {2};
    command(ID_FILE_NEW);
    ASSERT_EQ(dialogs.questions.size(), 1u);
    EXPECT_EQ(dialogs.questions[0], QStringLiteral("無題 への変更を保存しますか?"));
}

}  // namespace
}  // namespace qf
