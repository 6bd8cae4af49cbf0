// Pages of PDF files opened as pictures through the Poppler module: the page
// asked for, at the resolution asked for, and refusals that say why.

#include <gtest/gtest.h>

#include <filesystem>
#include <opencv2/core.hpp>
#include <string>

#include "imaging/image_file.h"
#include "imaging/pdf_page.h"
#include "pdf_fixtures.h"
#include "temp_dir.h"

namespace qf {
namespace {

using PdfPage = test::TempDirTest;

const cv::Vec3b kWhite(255, 255, 255);
const cv::Vec3b kRed(0, 0, 255);
const cv::Vec3b kBlue(255, 0, 0);

// The page drawn, at the size its dpi gives, with its own contents: a probe
// inside each half of the page.
TEST_F(PdfPage, ThePageAskedForIsRenderedAtItsResolution) {
    // A Japanese folder name: the path reaches Poppler as the file system has it.
    std::filesystem::create_directories(dir_ / "論文");
    const std::string pdf = path("論文/図表.pdf");
    ASSERT_TRUE(test::writeTwoPagePdf(pdf));
    ASSERT_TRUE(isPdfFile(pdf));
    EXPECT_EQ(pdfPageCount(pdf).pages, 2);
    const std::string rotated = path("turned.pdf");
    test::TempDirTest::writeBytes(rotated, test::rotatedPdf());

    struct Case {
        std::string file;
        int page, dpi;
        cv::Size size;
        cv::Point drawn, paper;
        cv::Vec3b colour;
    };
    const Case cases[] = {
        {pdf, 2, 300, {300, 600}, {150, 150}, {150, 450}, kBlue},
        {pdf, 2, 150, {150, 300}, {75, 75}, {75, 225}, kBlue},
        // 150 x 75 points: 625 x 312.5 pixels at 300 dpi.
        {pdf, 1, 300, {625, 313}, {150, 150}, {475, 150}, kRed},
        {rotated, 1, 100, {100, 200}, {50, 50}, {50, 150}, kRed},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("page " + std::to_string(c.page) + " at " + std::to_string(c.dpi) + " dpi");
        const PictureRead read = readPdfPage(c.file, c.page, c.dpi);
        ASSERT_TRUE(read.ok()) << read.message;
        EXPECT_EQ(read.title, std::filesystem::path(c.file).filename().string());
        ASSERT_EQ(read.picture.type(), CV_8UC3);
        EXPECT_EQ(read.picture.size(), c.size);
        EXPECT_EQ(read.picture.at<cv::Vec3b>(c.drawn), c.colour);
        EXPECT_EQ(read.picture.at<cv::Vec3b>(c.paper), kWhite);
    }
}

// Page sizes that are not whole pixels at the chosen resolution: the size
// checked against the limit before rendering is the size rendered.
TEST_F(PdfPage, ThePredictedSizeIsTheRenderedSize) {
    const std::string pdf = path("two.pdf");
    ASSERT_TRUE(test::writeTwoPagePdf(pdf));
    const PdfDocument document(pdf);
    ASSERT_TRUE(document.ok()) << document.message();
    for (int dpi : {kMinPdfDpi, 71, 73, 100, 333, 601})
        for (int page : {1, 2}) {
            const PictureRead read = document.read(page, dpi);
            ASSERT_TRUE(read.ok()) << read.message;
            EXPECT_EQ(read.picture.size(), pdfPixelSize(document.pageSize(page), dpi))
                << "page " << page << " at " << dpi << " dpi";
        }
    const cv::Mat thumbnail = document.thumbnail(2, 64);
    EXPECT_EQ(thumbnail.size(), cv::Size(32, 64));
    EXPECT_EQ(thumbnail.at<cv::Vec3b>(16, 16), kBlue);
}

TEST_F(PdfPage, RefusalsSayWhy) {
    const std::string pdf = path("two.pdf");
    ASSERT_TRUE(test::writeTwoPagePdf(pdf));
    test::TempDirTest::writeBytes(path("picture.pdf"), "\x89PNG\r\n\x1a\n not a PDF at all");
    test::TempDirTest::writeBytes(path("damaged.pdf"), "%PDF-1.4\n1 0 obj << /Type /Cat");
    test::TempDirTest::writeBytes(path("locked.pdf"), test::lockedPdf());
    std::filesystem::create_directories(dir_ / "folder.pdf");

    struct Case {
        const char* name;
        std::string file;
        int page, dpi;
        const char* reason;
    };
    const Case cases[] = {
        {"not a PDF", path("picture.pdf"), 1, 300, "PDF ファイルではありません。"},
        {"damaged", path("damaged.pdf"), 1, 300, "PDF が壊れていて読み込めません。"},
        {"locked", path("locked.pdf"), 1, 300, "パスワードで保護された PDF です。"},
        {"missing", path("missing.pdf"), 1, 300, "ファイルが見つかりません。"},
        {"folder", path("folder.pdf"), 1, 300, "フォルダーです。"},
        {"page 0", pdf, 0, 300, "ページ 0 はありません（この PDF は 2 ページです）。"},
        {"page 3", pdf, 3, 300, "ページ 3 はありません（この PDF は 2 ページです）。"},
        {"dpi too low", pdf, 1, kMinPdfDpi - 1, "解像度 9 dpi では開けません。"},
        {"dpi too high", pdf, 1, kMaxPdfDpi + 1, "解像度 2401 dpi では開けません。"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const PictureRead read = readPdfPage(c.file, c.page, c.dpi);
        EXPECT_FALSE(read.ok());
        EXPECT_TRUE(read.picture.empty());
        EXPECT_NE(read.message.find(c.file), std::string::npos) << read.message;
        EXPECT_NE(read.message.find(c.reason), std::string::npos) << read.message;
        EXPECT_EQ(read.title.rfind("untitled", 0), 0u) << read.title;
    }
    EXPECT_EQ(pdfPageCount(path("locked.pdf")).pages, 0);
    EXPECT_FALSE(pdfPageCount(path("picture.pdf")).ok());
    EXPECT_FALSE(isPdfFile(path("picture.pdf")));
}

// The picture limit holds for pages: refused from the page's size at that
// resolution, naming the highest resolution that fits, which then opens.
TEST_F(PdfPage, APageTooLargeAtItsResolutionIsRefusedWithOneThatFits) {
    const std::string pdf = path("two.pdf");
    ASSERT_TRUE(test::writeTwoPagePdf(pdf));
    const int64_t saved = maxPicturePixels();
    setMaxPicturePixels(100'000);
    // Page 2 is 1 x 2 inches: 223 x 446 = 99458 pixels fit, 224 x 448 do not.
    const PictureRead refused = readPdfPage(pdf, 2, 300);
    const PictureRead justOver = readPdfPage(pdf, 2, 224);
    const PictureRead fits = readPdfPage(pdf, 2, 223);
    setMaxPicturePixels(saved);

    EXPECT_FALSE(refused.ok());
    EXPECT_NE(refused.message.find("300 dpi ではページが大きすぎます: 300 × 600 ピクセル（0.2 "
                                   "メガピクセル）。上限は 0.1 メガピクセルです"),
              std::string::npos)
        << refused.message;
    EXPECT_NE(refused.message.find("223 dpi 以下で開いてください。"), std::string::npos)
        << refused.message;
    EXPECT_FALSE(justOver.ok());
    ASSERT_TRUE(fits.ok()) << fits.message;
    EXPECT_EQ(fits.picture.size(), cv::Size(223, 446));
}

}  // namespace
}  // namespace qf
