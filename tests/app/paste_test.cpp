// A picture pasted from the clipboard opens as "open picture" opens a file:
// image data is kept as a PNG until the project is saved with it beside the
// project, and a file named on the clipboard opens as that file.

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>
#include <nlohmann/json.hpp>
#include <opencv2/imgcodecs.hpp>

#include "app/application_window.h"
#include "app/output_pane.h"
#include "app/project_controller.h"
#include "app/recovery.h"
#include "imaging/image_file.h"
#include "support/fake_dialogs.h"
#include "view/image_view.h"

namespace qf {
namespace {

// A picture whose every pixel tells where it is; the first column is
// transparent, as a chart copied from a web page often is.
QImage chartImage() {
    QImage image(120, 90, QImage::Format_ARGB32);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            image.setPixel(x, y, x == 0 ? qRgba(0, 0, 0, 0) : qRgb(2 * x, 2 * y, (x + y) % 256));
    return image;
}

// What the pasted picture must be: 8-bit BGR, the transparent column white.
cv::Mat expectedPicture() {
    const QImage image = chartImage();
    cv::Mat m(image.height(), image.width(), CV_8UC3);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QRgb c = x == 0 ? qRgb(255, 255, 255) : image.pixel(x, y);
            m.at<cv::Vec3b>(y, x) = {uchar(qBlue(c)), uchar(qGreen(c)), uchar(qRed(c))};
        }
    return m;
}

bool samePixels(const cv::Mat& a, const cv::Mat& b) {
    return a.size() == b.size() && a.type() == b.type() && cv::norm(a, b, cv::NORM_INF) == 0;
}

class PasteTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        w.frame().resize(800, 600);
        chart = dir.filePath("chart.png");
        ASSERT_TRUE(
            cv::imwrite(chart.toStdString(), cv::Mat(60, 80, CV_8UC3, cv::Scalar(9, 9, 9))));
    }
    void TearDown() override { QApplication::clipboard()->clear(); }

    // Puts the data on the clipboard and pastes it as the menu does.
    void paste(QMimeData* data) {
        QApplication::clipboard()->setMimeData(data);
        w.frame().action(ID_EDIT_PASTE)->trigger();
    }
    void pasteImage() {
        auto* data = new QMimeData;
        data->setImageData(chartImage());
        paste(data);
    }
    ViewState& s() { return w.view().state(); }
    Document& doc() { return w.projects().document(); }
    QString image() { return QString::fromStdString(doc().record().image); }

    QTemporaryDir dir;
    QString chart;
    testing_support::FakeDialogs dialogs;
    ApplicationWindow w{dialogs, CameraSourceMap{}};
};

TEST_F(PasteTest, ImageDataOpensAndIsSavedAsAPictureBesideTheProject) {
    ASSERT_TRUE(w.projects().openPicture(chart));
    doc().edit("point", [](DocumentRecord& r) { r.current().points = {{10, 20}}; });
    dialogs.choiceAnswers = {0};  // keep the points
    pasteImage();
    ASSERT_EQ(dialogs.questions.size(), 1u);  // as for a file: keep the points?
    EXPECT_TRUE(samePixels(s().images.inputImage, expectedPicture()));
    EXPECT_TRUE(w.projects().isPasted(image())) << image().toStdString();
    EXPECT_EQ(doc().record().current().points, (std::vector<SourcePoint>{{10, 20}}));
    EXPECT_EQ(w.frame().windowTitle(), QStringLiteral("貼り付けた画像[*] - Quillfen"));
    // One step, named for what it did: undo shows the file again.
    EXPECT_EQ(doc().history().undoLabel(), "画像の貼り付け");
    doc().undo();
    EXPECT_EQ(image(), chart);
    EXPECT_EQ(s().images.inputImage.cols, 80);
    doc().redo();
    EXPECT_TRUE(samePixels(s().images.inputImage, expectedPicture()));

    // The project names a PNG of the user's beside it, named as it asked.
    const QString project = dir.filePath("paper.quillfen.json");
    const QString png = dir.filePath("paper-picture.png");
    dialogs.saveAnswers = {project, png};
    w.frame().routeCommand(ID_PROJECT_SAVE_AS);
    ASSERT_EQ(dialogs.saveRequests.size(), 2u);
    EXPECT_EQ(dialogs.saveRequests[0].proposedName, QString());  // not the store's file name
    EXPECT_EQ(dialogs.saveRequests[1].proposedName, "paper-picture.png");
    EXPECT_EQ(QDir(dialogs.saveRequests[1].directory), QDir(dir.path()));
    EXPECT_FALSE(doc().isModified());
    EXPECT_TRUE(dialogs.messages.empty()) << dialogs.messages.front().toStdString();
    QFile file(project);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(nlohmann::json::parse(file.readAll().toStdString())["image"], "paper-picture.png");
    EXPECT_TRUE(samePixels(readImageFile(png.toStdString()), expectedPicture()));

    // Saved again, the picture written is the one the project names: no question.
    doc().edit("point", [](DocumentRecord& r) { r.current().points.push_back({30, 40}); });
    w.frame().routeCommand(ID_PROJECT_SAVE);
    EXPECT_EQ(dialogs.saveRequests.size(), 2u);
    EXPECT_FALSE(doc().isModified());

    // And it opens elsewhere as it was.
    ApplicationWindow other{dialogs, CameraSourceMap{}};
    ASSERT_TRUE(other.projects().openPath(project));
    EXPECT_EQ(other.projects().document().record().image, png.toStdString());
    EXPECT_TRUE(samePixels(other.view().state().images.inputImage, expectedPicture()));
    EXPECT_EQ(other.projects().document().record().current().points.size(), 2u);

    // A file opened over the points is named as such too, whatever tool is active.
    ASSERT_EQ(s().tools.tool, Tool::Corners);
    dialogs.choiceAnswers = {0};
    ASSERT_TRUE(w.projects().openPicture(chart));
    EXPECT_EQ(doc().history().undoLabel(), "画像を開く");
}

// A pasted picture exists nowhere else: it is unsaved work from the start,
// and cancelling the picture's name cancels the save.
TEST_F(PasteTest, APastedPictureIsWorkToSave) {
    pasteImage();
    EXPECT_TRUE(doc().isModified());
    // The store's name for it is no name to propose for the results.
    doc().edit("point", [](DocumentRecord& r) { r.current().points = {{10, 20}}; });
    w.frame().routeCommand(ID_SAVE_SOURCE_POINTS);  // cancelled
    ASSERT_EQ(dialogs.saveRequests.size(), 1u);
    EXPECT_EQ(dialogs.saveRequests[0].proposedName, "points.csv");
    dialogs.saveRequests.clear();
    dialogs.saveAnswers = {dir.filePath("kept.quillfen.json")};  // no name for the picture
    w.frame().routeCommand(ID_PROJECT_SAVE);
    EXPECT_TRUE(doc().isModified());
    EXPECT_FALSE(QFile::exists(dir.filePath("kept.quillfen.json")));
}

TEST_F(PasteTest, AFileNamedOnTheClipboardOpensAsThatFile) {
    const QString pdf = dir.filePath("paper.pdf");
    {
        QFile f(pdf);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("%PDF-1.4\n");
    }
    const QString url = QUrl::fromLocalFile(chart).toString();
    const struct {
        const char* what;
        std::function<void(QMimeData&)> fill;
    } cases[] = {
        {"a copied file", [&](QMimeData& m) { m.setUrls({QUrl::fromLocalFile(chart)}); }},
        {"a file URL as text", [&](QMimeData& m) { m.setText(url + "\n"); }},
        {"a path as text", [&](QMimeData& m) { m.setText(chart); }},
        {"a copied file beside its picture",
         [&](QMimeData& m) {
             m.setUrls({QUrl("https://example.org/x.png"), QUrl::fromLocalFile(chart)});
             m.setImageData(chartImage());
         }},
    };
    for (const auto& c : cases) {
        doc().reset(newDocumentRecord());
        auto* data = new QMimeData;
        c.fill(*data);
        paste(data);
        EXPECT_EQ(image(), chart) << c.what;
        EXPECT_FALSE(w.projects().isPasted(image())) << c.what;
        EXPECT_EQ(s().images.inputImage.cols, 80) << c.what;
    }
    // A PDF asks for its page, as when it is opened (cancelled here).
    auto* data = new QMimeData;
    data->setUrls({QUrl::fromLocalFile(pdf)});
    paste(data);
    ASSERT_EQ(dialogs.pdfPageFiles.size(), 1u);
    EXPECT_EQ(dialogs.pdfPageFiles[0], pdf);
    EXPECT_EQ(image(), chart);
    EXPECT_TRUE(dialogs.messages.empty());
}

// Ctrl+V on the view pastes the picture; in a text field it pastes text there.
TEST_F(PasteTest, TheKeyPastesAPictureOnTheViewAndTextInAField) {
    w.frame().show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w.frame()));
    QApplication::clipboard()->setImage(chartImage());
    w.view().setFocus();
    QTest::keyClick(&w.view(), Qt::Key_V, Qt::ControlModifier);
    EXPECT_TRUE(samePixels(s().images.inputImage, expectedPicture()));

    QApplication::clipboard()->setText(QStringLiteral("a note"));
    QPlainTextEdit* report = w.frame().outputPane()->reportText(0);
    report->setFocus();
    report->moveCursor(QTextCursor::End);
    QTest::keyClick(report, Qt::Key_V, Qt::ControlModifier);
    EXPECT_TRUE(report->toPlainText().endsWith(QStringLiteral("a note")));
    EXPECT_TRUE(dialogs.messages.empty()) << dialogs.messages.front().toStdString();
    EXPECT_TRUE(samePixels(s().images.inputImage, expectedPicture()));
}

// Over the picture limit, or with nothing to open, the work stays as it was.
TEST_F(PasteTest, APictureOverTheLimitOrNoneChangesNothing) {
    ASSERT_TRUE(w.projects().openPicture(chart));
    setMaxPicturePixels(100 * 100);  // the pasted 120 x 90 is over it
    pasteImage();
    setMaxPicturePixels(0);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_TRUE(dialogs.messages[0].contains("120 × 90")) << dialogs.messages[0].toStdString();
    auto* text = new QMimeData;
    text->setText("just words");
    paste(text);
    ASSERT_EQ(dialogs.messages.size(), 2u);
    EXPECT_EQ(image(), chart);
    EXPECT_FALSE(doc().history().canUndo());
}

// Until the project is saved, the picture is kept beside the recovery copy
// that names it: a window restoring the copy shows it and saves it as a
// pasted picture. Pictures of windows that are gone, which no copy names,
// go at the next start; a window's own go when it closes.
TEST_F(PasteTest, TheRecoveryCopyKeepsThePastedPicture) {
    const QString folder = dir.filePath("state");
    QString copy;
    QString kept;
    {
        auto store = std::make_unique<RecoveryStore>(folder);
        w.projects().setPasteStore(store.get());
        store->watch(doc());
        pasteImage();
        kept = image();
        EXPECT_EQ(QFileInfo(kept).absolutePath(), QFileInfo(folder).absoluteFilePath());
        EXPECT_TRUE(store->writeNow().isEmpty());
        copy = store->filePath();
        ASSERT_TRUE(QFile::exists(copy));
        EXPECT_EQ(QFile::permissions(kept) & (QFileDevice::ReadOther | QFileDevice::ReadGroup), 0);

        testing_support::FakeDialogs answers;
        ApplicationWindow restored{answers, CameraSourceMap{}};
        restored.projects().setPasteStore(store.get());
        ASSERT_TRUE(restored.projects().restoreRecovery(copy));
        EXPECT_TRUE(samePixels(restored.view().state().images.inputImage, expectedPicture()));
        EXPECT_TRUE(restored.projects().isPasted(
            QString::fromStdString(restored.projects().document().record().image)));
        answers.saveAnswers = {dir.filePath("back.quillfen.json"), dir.filePath("back.png")};
        restored.frame().routeCommand(ID_PROJECT_SAVE);
        EXPECT_EQ(answers.saveRequests.size(), 2u);
        EXPECT_TRUE(
            samePixels(readImageFile(dir.filePath("back.png").toStdString()), expectedPicture()));
        w.projects().setPasteStore(nullptr);
        // Keep the copy as a crash would leave it (a clean exit removes it).
        QFile::copy(copy, copy + ".kept");
    }
    EXPECT_FALSE(QFile::exists(kept));  // the window's own, gone with it

    // A crashed window's picture named by its copy stays; one no copy names goes.
    ASSERT_TRUE(QFile::rename(copy + ".kept", copy));
    const QString named = kept;
    const QString orphan = folder + "/recovery-1-2-pasted-1.png";
    for (const QString& f : {named, orphan}) ASSERT_TRUE(QFile::copy(dir.filePath("back.png"), f));
    RecoveryStore next(folder);
    const std::optional<RecoveryOffer> offer = next.nextOffer();
    ASSERT_TRUE(offer.has_value());
    EXPECT_TRUE(QFile::exists(named));
    EXPECT_FALSE(QFile::exists(orphan));
}

}  // namespace
}  // namespace qf
