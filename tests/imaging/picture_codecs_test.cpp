#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <opencv2/imgcodecs.hpp>
#include <opencv2/imgproc.hpp>
#include <vector>

#include "imaging/image_file.h"
#include "jpeg_fixtures.h"
#include "picture_fixtures.h"
#include "temp_dir.h"

namespace qf {
namespace {

namespace fs = std::filesystem;
using test::encode;

class PictureCodecs : public test::TempDirTest {
protected:
    std::string bytesOf(const std::string& name) const {
        std::ifstream in(path(name), std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }
};

cv::Mat randomPicture(int w, int h, int type, uint64_t seed) {
    cv::Mat m(h, w, type);
    cv::theRNG().state = seed;
    cv::randu(m, cv::Scalar::all(0), cv::Scalar::all(256));
    return m;
}

// The program's own encoders write the very bytes OpenCV's do, also from a
// 32-bit canvas whose fourth byte is not part of the picture.
TEST_F(PictureCodecs, WritesWhatOpenCvWritesByteForByte) {
    const cv::Mat pictures[] = {randomPicture(33, 17, CV_8UC3, 1), randomPicture(1, 1, CV_8UC3, 2),
                                randomPicture(2, 301, CV_8UC3, 3)};
    for (const char* ext : {".png", ".jpg", ".jpeg", ".bmp", ".PNG"}) {
        for (const cv::Mat& bgr : pictures) {
            SCOPED_TRACE(std::string(ext) + " " + std::to_string(bgr.cols) + "x" +
                         std::to_string(bgr.rows));
            ASSERT_TRUE(cv::imwrite(path(std::string("opencv") + ext), bgr));
            const std::string want = bytesOf(std::string("opencv") + ext);
            const ImageWriteResult r = writeImageFile(path(std::string("own") + ext), bgr);
            ASSERT_TRUE(r.ok) << r.error;
            EXPECT_TRUE(bytesOf(std::string("own") + ext) == want);

            cv::Mat bgrx;
            cv::Mat noise = randomPicture(bgr.cols, bgr.rows, CV_8UC1, 7);
            cv::merge(std::vector<cv::Mat>{bgr, noise}, bgrx);
            ASSERT_TRUE(writeImageFile(path(std::string("bgrx") + ext), bgrx).ok);
            EXPECT_TRUE(bytesOf(std::string("bgrx") + ext) == want);
        }
    }
    // A format the program leaves to OpenCV, from a 32-bit canvas too.
    cv::Mat bgrx;
    cv::cvtColor(pictures[0], bgrx, cv::COLOR_BGR2BGRA);
    ASSERT_TRUE(writeImageFile(path("leftover.tif"), bgrx).ok);
    EXPECT_EQ(cv::norm(cv::imread(path("leftover.tif")), pictures[0], cv::NORM_INF), 0.0);
}

// Every variant reads as the pixels cv::imread(IMREAD_COLOR) gives, upright
// as the EXIF orientation says.
TEST_F(PictureCodecs, ReadsThePixelsOpenCvReads) {
    const cv::Mat colour = randomPicture(5, 3, CV_8UC3, 11);  // not square: turns show
    const cv::Mat grey = randomPicture(5, 3, CV_8UC1, 12);
    cv::Mat colour16, alpha, bilevel;
    randomPicture(5, 3, CV_8UC3, 13).convertTo(colour16, CV_16U, 257.0);
    colour16.at<cv::Vec3w>(1, 1) = cv::Vec3w(0x12FF, 0x3400, 0xFFFF);
    cv::cvtColor(colour, alpha, cv::COLOR_BGR2BGRA);
    alpha.at<cv::Vec4b>(0, 0)[3] = 0;
    bilevel = grey > 128;
    std::string topDown = encode(".bmp", colour);
    {
        // The same rows stored first row first, as a negative height says.
        const std::size_t pitch = 16, start = 54;
        std::string rows;
        for (int y = 0; y < 3; ++y) rows += topDown.substr(start + (2 - y) * pitch, pitch);
        topDown.replace(start, rows.size(), rows);
        test::putLe32(topDown, 22, uint32_t(-3));
    }
    struct Case {
        std::string name, bytes;
    };
    std::vector<Case> cases = {
        {"colour.png", encode(".png", colour)},
        {"grey.png", encode(".png", grey)},
        {"colour16.png", encode(".png", colour16)},
        {"alpha.png", encode(".png", alpha)},
        {"bilevel.png", encode(".png", bilevel, {cv::IMWRITE_PNG_BILEVEL, 1})},
        {"colour.jpg", encode(".jpg", colour)},
        {"grey.jpg", encode(".jpg", grey)},
        {"progressive.jpg", encode(".jpg", colour, {cv::IMWRITE_JPEG_PROGRESSIVE, 1})},
        {"colour.bmp", encode(".bmp", colour)},
        {"top-down.bmp", topDown},
        {"grey.bmp", encode(".bmp", grey)},  // a palette: read by OpenCV's reader
        {"colour.tif", encode(".tif", colour)},
    };
    {
        cv::Mat cmyk;
        cv::merge(std::vector<cv::Mat>{grey, randomPicture(5, 3, CV_8UC3, 14)}, cmyk);
        cases.push_back({"cmyk.jpg", test::cmykJpeg(cmyk, false)});
        cases.push_back({"ycck.jpg", test::cmykJpeg(cmyk, true)});
    }
    {
        const std::string png = encode(".png", colour);
        cases.push_back(
            {"exif6.png", png.substr(0, 33) +
                              test::pngChunk("eXIf", test::exifOrientationBlock(6, false)) +
                              png.substr(33)});
    }
    for (int orientation = 1; orientation <= 8; ++orientation) {
        for (bool bigEndian : {false, true}) {
            cases.push_back(
                {"exif" + std::to_string(orientation) + (bigEndian ? "mm" : "ii") + ".jpg",
                 test::jpegWithOrientation(colour, orientation, bigEndian)});
        }
    }
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        writeBytes(path(c.name), c.bytes);
        const cv::Mat want = cv::imread(path(c.name), cv::IMREAD_COLOR);
        ASSERT_FALSE(want.empty());
        const cv::Mat got = readImageFile(path(c.name));
        ASSERT_EQ(got.type(), CV_8UC3);
        ASSERT_EQ(got.size(), want.size());
        EXPECT_EQ(cv::norm(got, want, cv::NORM_INF), 0.0);
    }
}

// A tiny file can declare a picture of hundreds of megapixels; it is refused
// from its header, naming its size, before any memory is taken for it.
TEST_F(PictureCodecs, PicturesOverTheLimitAreRefusedFromTheirHeader) {
    std::string jpg = encode(".jpg", cv::Mat(8, 8, CV_8UC3, cv::Scalar(9, 9, 9)));
    const std::size_t sof = jpg.find("\xFF\xC0");
    ASSERT_NE(sof, std::string::npos);
    jpg[sof + 5] = char(30000 >> 8), jpg[sof + 6] = char(30000 & 0xFF);  // height
    jpg[sof + 7] = char(20000 >> 8), jpg[sof + 8] = char(20000 & 0xFF);  // width
    std::string bmp = encode(".bmp", cv::Mat(8, 8, CV_8UC3, cv::Scalar(9, 9, 9)));
    test::putLe32(bmp, 18, 30000);
    test::putLe32(bmp, 22, 30000);
    std::string tif = encode(".tif", cv::Mat(8, 8, CV_8UC3, cv::Scalar(9, 9, 9)));
    {
        // The first directory's width and length, wherever it is.
        const uint32_t ifd = uint8_t(tif[4]) | uint8_t(tif[5]) << 8 | uint8_t(tif[6]) << 16 |
                             uint32_t(uint8_t(tif[7])) << 24;
        const int count = uint8_t(tif[ifd]) | uint8_t(tif[ifd + 1]) << 8;
        for (int i = 0; i < count; ++i) {
            const std::size_t e = ifd + 2 + i * 12;
            const int tag = uint8_t(tif[e]) | uint8_t(tif[e + 1]) << 8;
            if (tag != 256 && tag != 257) continue;
            tif[e + 2] = 4, tif[e + 3] = 0;  // LONG
            test::putLe32(tif, e + 8, tag == 256 ? 40000 : 30000);
        }
    }
    struct Case {
        const char* name;
        std::string bytes;
        int64_t width, height;
    } cases[] = {
        {"bomb.png", test::pngDeclaring(30000, 30000), 30000, 30000},
        {"bomb.jpg", jpg, 20000, 30000},
        {"bomb.bmp", bmp, 30000, 30000},
        {"bomb.tif", tif, 40000, 30000},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_LT(c.bytes.size(), 4096u);
        writeBytes(path(c.name), c.bytes);
        const PictureFileRead r = readPictureFile(path(c.name), kDefaultMaxPicturePixels);
        EXPECT_TRUE(r.tooLarge);
        EXPECT_TRUE(r.image.empty());
        EXPECT_EQ(r.width, c.width);
        EXPECT_EQ(r.height, c.height);
    }
    EXPECT_EQ(pictureSizeText(30000, 30000, kDefaultMaxPicturePixels),
              "30000 x 30000 pixels (900 megapixels); the limit is 100 megapixels");

    // The limit is the limit: a 20 x 10 picture is read with 200 pixels
    // allowed and refused with 199, in every format.
    const cv::Mat small = randomPicture(20, 10, CV_8UC3, 5);
    for (const char* name : {"small.png", "small.jpg", "small.bmp", "small.tif"}) {
        SCOPED_TRACE(name);
        ASSERT_TRUE(cv::imwrite(path(name), small));
        EXPECT_FALSE(readPictureFile(path(name), 200).image.empty());
        const PictureFileRead r = readPictureFile(path(name), 199);
        EXPECT_TRUE(r.tooLarge);
        EXPECT_TRUE(r.image.empty());
    }
}

// A FIFO would block the reader for ever: refused without waiting.
TEST_F(PictureCodecs, OnlyRegularFilesAreRead) {
    ASSERT_EQ(::mkfifo(path("pipe.png").c_str(), 0600), 0);
    EXPECT_TRUE(readImageFile(path("pipe.png")).empty());
}

}  // namespace
}  // namespace qf
