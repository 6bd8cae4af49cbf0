// A PDF opened as the window opens it: the page dialog first (cancelling it
// changes nothing), then the chosen page as a picture, in one undoable step,
// kept in the project and rendered again when the project is reopened.

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <opencv2/imgcodecs.hpp>

#include "app/application_window.h"
#include "app/project_controller.h"
#include "imaging/pdf_fixtures.h"
#include "support/fake_dialogs.h"
#include "view/image_view.h"

namespace qf {
namespace {

const cv::Vec3b kWhite(255, 255, 255);
const cv::Vec3b kRed(0, 0, 255);
const cv::Vec3b kBlue(255, 0, 0);

class PdfOpenTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        ASSERT_TRUE(test::writeTwoPagePdf(pdf.toStdString()));
        ASSERT_TRUE(
            cv::imwrite(png.toStdString(), cv::Mat(100, 200, CV_8UC3, cv::Scalar::all(128))));
        w.frame().show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&w.frame()));
    }
    static void settle() {
        for (int i = 0; i < 4; ++i) QCoreApplication::processEvents();
    }
    // The picture the window shows: its size and the colour at two points.
    static void expectPicture(ApplicationWindow& window, cv::Size size, cv::Point drawn,
                              cv::Vec3b colour, cv::Point paper) {
        settle();
        const cv::Mat& input = window.view().state().images.inputImage;
        ASSERT_EQ(input.size(), size);
        EXPECT_EQ(input.at<cv::Vec3b>(drawn), colour);
        EXPECT_EQ(input.at<cv::Vec3b>(paper), kWhite);
    }
    void expectPage2At144() { expectPicture(w, {144, 288}, {72, 72}, kBlue, {72, 216}); }
    Document& doc() { return w.projects().document(); }

    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("paper.pdf"));
    const QString png = dir.filePath(QStringLiteral("chart.png"));
    testing_support::FakeDialogs dialogs;
    ApplicationWindow w{dialogs, CameraSourceMap{}};
};

TEST_F(PdfOpenTest, TheChosenPageOpensAsOneUndoableStep) {
    ASSERT_TRUE(w.projects().openPicture(png));
    doc().edit("point", [](DocumentRecord& r) { r.current().points.push_back({10, 20}); });

    // Cancelled: no question of the points, the picture as it was.
    dialogs.pdfPageAnswers = {std::nullopt};
    EXPECT_FALSE(w.projects().openPicture(pdf));
    EXPECT_EQ(dialogs.pdfPageFiles, std::vector<QString>{pdf});
    EXPECT_TRUE(dialogs.questions.empty());
    settle();
    EXPECT_EQ(w.view().state().images.inputImage.size(), cv::Size(200, 100));

    dialogs.pdfPageAnswers = {PdfPageChoice{2, 144}};
    dialogs.choiceAnswers = {0};  // keep the points
    ASSERT_TRUE(w.projects().openPicture(pdf));
    EXPECT_EQ(dialogs.questions.size(), 1u);
    expectPage2At144();
    EXPECT_EQ(doc().record().image, pdf.toStdString());
    EXPECT_EQ(doc().record().page, 2);
    EXPECT_EQ(doc().record().dpi, 144);
    EXPECT_EQ(doc().record().current().points.size(), 1u);

    ASSERT_TRUE(doc().undo());
    settle();
    EXPECT_EQ(w.view().state().images.inputImage.size(), cv::Size(200, 100));
    EXPECT_EQ(doc().record().page, std::nullopt);
    ASSERT_TRUE(doc().redo());
    expectPage2At144();

    // Another page of the same paper is another picture, and so is its undo.
    dialogs.pdfPageAnswers = {PdfPageChoice{1, 72}};
    dialogs.choiceAnswers = {0};
    ASSERT_TRUE(w.projects().openPicture(pdf));
    expectPicture(w, {150, 75}, {37, 37}, kRed, {112, 37});
    ASSERT_TRUE(doc().undo());
    expectPage2At144();
    EXPECT_TRUE(dialogs.messages.empty()) << dialogs.messages.front().toStdString();
}

TEST_F(PdfOpenTest, ASavedPageIsRenderedWhenTheProjectIsReopened) {
    dialogs.pdfPageAnswers = {PdfPageChoice{2, 144}};
    ASSERT_TRUE(w.projects().openPicture(pdf));
    const QString project = dir.filePath(QStringLiteral("paper.quillfen.json"));
    dialogs.saveAnswers = {project};
    ASSERT_TRUE(w.projects().saveAs());
    QFile file(project);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray text = file.readAll();
    EXPECT_TRUE(text.contains("\"image\": \"paper.pdf\",\n  \"page\": 2,\n  \"dpi\": 144,"))
        << text.toStdString();

    testing_support::FakeDialogs otherDialogs;
    ApplicationWindow other{otherDialogs, CameraSourceMap{}};
    ASSERT_TRUE(other.projects().openPath(project));
    expectPicture(other, {144, 288}, {72, 72}, kBlue, {72, 216});
    EXPECT_TRUE(otherDialogs.pdfPageFiles.empty());  // the project names the page
    EXPECT_EQ(other.projects().document().record().page, 2);
}

}  // namespace
}  // namespace qf
