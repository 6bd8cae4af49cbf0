// The PDF page dialog driven as the user drives it: the pages as thumbnails,
// the resolution, the size the page will have, and what is answered.

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <QTimer>

#include "imaging/image_file.h"
#include "pdf_fixtures.h"
#include "temp_dir.h"
#include "view/pdf_page_dialog.h"

namespace qf {
namespace {

class PdfPageDialogTest : public test::TempDirTest {
protected:
    void SetUp() override {
        test::TempDirTest::SetUp();
        pdf_ = path("two.pdf");
        pdfPath_ = QString::fromStdString(pdf_);
        ASSERT_TRUE(test::writeTwoPagePdf(pdf_));
    }
    static void waitForThumbnails(const PdfPageDialog& dialog, int count) {
        for (int i = 0; i < 200 && dialog.thumbnailsDrawn() < count; ++i) QTest::qWait(5);
        ASSERT_EQ(dialog.thumbnailsDrawn(), count);
    }
    static QPoint centreOf(const PdfPageDialog& dialog, int row) {
        QListWidget* list = dialog.pageList();
        return list->visualItemRect(list->item(row)).center();
    }
    // The colour of a thumbnail at (x, y) in quarters of its square.
    static QColor thumbnailColour(const PdfPageDialog& dialog, int row, int x, int y) {
        const QListWidget* list = dialog.pageList();
        const QImage image = list->item(row)->icon().pixmap(list->iconSize()).toImage();
        return image.pixelColor(image.width() * x / 4, image.height() * y / 4);
    }

    std::string pdf_;  // in the test's folder, made in SetUp
    QString pdfPath_;
};

TEST_F(PdfPageDialogTest, ThePageClickedAndTheResolutionTypedAreTheAnswer) {
    PdfPageDialog dialog(pdfPath_, {});
    dialog.show();
    ASSERT_TRUE(dialog.documentOpened());
    ASSERT_EQ(dialog.pageList()->count(), 2);
    EXPECT_EQ(dialog.choice(), (PdfPageChoice{1, 300}));
    waitForThumbnails(dialog, 2);
    // Each page's own picture: page 1 red on the left, page 2 blue on top.
    EXPECT_EQ(thumbnailColour(dialog, 0, 1, 2), QColor(Qt::red));
    EXPECT_EQ(thumbnailColour(dialog, 0, 3, 2), QColor(Qt::white));
    EXPECT_EQ(thumbnailColour(dialog, 1, 2, 1), QColor(Qt::blue));
    EXPECT_EQ(thumbnailColour(dialog, 1, 2, 3), QColor(Qt::white));

    QTest::mouseClick(dialog.pageList()->viewport(), Qt::LeftButton, {}, centreOf(dialog, 1));
    dialog.dpiBox()->selectAll();
    QTest::keyClicks(dialog.dpiBox(), QStringLiteral("150"));
    EXPECT_EQ(dialog.choice(), (PdfPageChoice{2, 150}));
    EXPECT_EQ(dialog.sizeLabel()->text().toStdString(), "150 × 300 ピクセル（0 メガピクセル）");

    QTest::mouseClick(dialog.buttons()->button(QDialogButtonBox::Ok), Qt::LeftButton);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.choice(), (PdfPageChoice{2, 150}));
}

TEST_F(PdfPageDialogTest, ADoubleClickedPageOpensAndTheInitialChoiceIsShown) {
    PdfPageDialog dialog(pdfPath_, {2, 600});
    dialog.show();
    EXPECT_EQ(dialog.choice(), (PdfPageChoice{2, 600}));
    EXPECT_EQ(dialog.sizeLabel()->text().toStdString(), "600 × 1200 ピクセル（0.7 メガピクセル）");
    // As the system sends a double click: a click, then the second press.
    QTest::mouseClick(dialog.pageList()->viewport(), Qt::LeftButton, {}, centreOf(dialog, 0));
    QTest::mouseDClick(dialog.pageList()->viewport(), Qt::LeftButton, {}, centreOf(dialog, 0));
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.choice(), (PdfPageChoice{1, 600}));
}

// Over the picture limit at the resolution chosen, the page cannot be
// opened, and the dialog names the resolution that can.
TEST_F(PdfPageDialogTest, APageOverTheLimitCannotBeChosenAndTheFittingResolutionIsNamed) {
    const int64_t saved = maxPicturePixels();
    setMaxPicturePixels(100'000);
    PdfPageDialog dialog(pdfPath_, {2, 300});
    const QString over = dialog.sizeLabel()->text();
    const bool okOver = dialog.buttons()->button(QDialogButtonBox::Ok)->isEnabled();
    dialog.dpiBox()->setValue(223);
    const bool okFitting = dialog.buttons()->button(QDialogButtonBox::Ok)->isEnabled();
    setMaxPicturePixels(saved);

    EXPECT_FALSE(okOver);
    EXPECT_TRUE(over.contains(QStringLiteral("上限の 0.1 メガピクセルを超えます")))
        << over.toStdString();
    EXPECT_TRUE(over.contains(QStringLiteral("223 dpi 以下にしてください"))) << over.toStdString();
    EXPECT_TRUE(okFitting);
}

// A file that is not an openable PDF shows no dialog: the answer is the
// choice given, and opening the page then says why.
TEST_F(PdfPageDialogTest, AFileThatIsNotAnOpenablePdfShowsNoDialog) {
    const std::string notPdf = path("notes.pdf");
    writeBytes(notPdf, "plain text");
    const std::string locked = path("locked.pdf");
    writeBytes(locked, test::lockedPdf());
    for (const std::string& file : {notPdf, locked}) {
        // A dialog shown by mistake is closed, and answers nothing.
        QTimer::singleShot(0, [] {
            if (QWidget* modal = QApplication::activeModalWidget()) modal->close();
        });
        EXPECT_EQ(choosePdfPage(nullptr, QString::fromStdString(file), {3, 200}),
                  (PdfPageChoice{3, 200}))
            << file;
    }
}

}  // namespace
}  // namespace qf
