// The picture limit in every format the program reads: the size is taken
// from the header before anything is decoded, and a size a header cannot
// hold is refused, naming what it found.

#include <gtest/gtest.h>

#include <opencv2/imgcodecs.hpp>
#include <opencv2/imgproc.hpp>
#include <string>
#include <vector>

#include "imaging/image_file.h"
#include "jpeg_fixtures.h"
#include "picture_fixtures.h"
#include "temp_dir.h"

namespace qf {
namespace {

using test::encode;
using test::putBe32;
using test::putLe16;
using test::putLe32;
using PictureLimit = test::TempDirTest;

cv::Mat noise(int w, int h, int type) {
    cv::Mat m(h, w, type);
    cv::theRNG().state = 23;
    cv::randu(m, cv::Scalar::all(0), cv::Scalar::all(256));
    return m;
}

std::string le(uint64_t v, int n) {
    std::string b;
    for (int i = 0; i < n; ++i) b += char(v >> (8 * i) & 0xFF);
    return b;
}

// The old OS/2 BMP: a 12-byte header with 16-bit sizes, 24-bit rows bottom-up.
std::string os2Bmp(const cv::Mat& bgr) {
    const std::size_t pitch = (std::size_t(bgr.cols) * 3 + 3) & ~std::size_t(3);
    std::string b = "BM" + le(26 + pitch * std::size_t(bgr.rows), 4) + le(0, 4) + le(26, 4) +
                    le(12, 4) + le(uint64_t(bgr.cols), 2) + le(uint64_t(bgr.rows), 2) + le(1, 2) +
                    le(24, 2);
    for (int y = bgr.rows - 1; y >= 0; --y) {
        std::string row(bgr.ptr<char>(y), std::size_t(bgr.cols) * 3);
        row.resize(pitch, '\0');
        b += row;
    }
    return b;
}

// WebP's extended form: a canvas size chunk before the picture's own.
std::string extendedWebp(const std::string& lossless, uint32_t w, uint32_t h) {
    const std::string body =
        "WEBPVP8X" + le(10, 4) + le(0, 4) + le(w - 1, 3) + le(h - 1, 3) + lossless.substr(12);
    return "RIFF" + le(body.size(), 4) + body;
}

// The JPEG 2000 codestream inside a JP2 file.
std::size_t codestreamAt(const std::string& jp2) {
    return jp2.find("jp2c") + 4;
}

// PNM and the other formats OpenCV reads were decoded whatever their size
// (a 3000 x 3000 PPM over a 1-megapixel limit was read where the same PNG
// was refused). Each is measured from its header now: read at a limit of
// its size, refused one pixel under it, naming its size.
TEST_F(PictureLimit, EveryFormatIsMeasuredBeforeItIsDecoded) {
    const cv::Mat colour = noise(64, 48, CV_8UC3), grey = noise(64, 48, CV_8UC1);
    const std::string lossless = encode(".webp", colour, {cv::IMWRITE_WEBP_QUALITY, 101});
    cv::Mat cmyk(48, 64, CV_8UC4);
    cv::randu(cmyk, cv::Scalar::all(0), cv::Scalar::all(256));
    const std::string jp2 = encode(".jp2", colour);
    struct Case {
        const char* name;
        std::string bytes;
    } cases[] = {
        {"colour.ppm", encode(".ppm", colour)},
        {"grey.pgm", encode(".pgm", grey)},
        {"bilevel.pbm", encode(".pbm", grey > 128)},
        {"colour.pam", encode(".pam", colour)},
        {"colour.pfm", encode(".pfm", colour)},
        {"lossy.webp", encode(".webp", colour, {cv::IMWRITE_WEBP_QUALITY, 80})},
        {"lossless.webp", lossless},
        {"extended.webp", extendedWebp(lossless, 64, 48)},
        {"colour.ras", encode(".ras", colour)},
        {"colour.hdr", encode(".hdr", colour)},
        {"colour.jp2", jp2},
        {"colour.j2k", jp2.substr(codestreamAt(jp2))},
        {"big.tif", test::greyTiff(grey, true, 3, le(64, 2))},
        {"palette.bmp", encode(".bmp", grey)},
        {"os2.bmp", os2Bmp(colour)},
        {"cmyk.jpg", test::cmykJpeg(cmyk, false)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        writeBytes(path(c.name), c.bytes);
        const cv::Mat want = cv::imread(path(c.name), cv::IMREAD_COLOR);
        ASSERT_EQ(want.size(), cv::Size(64, 48));
        const PictureFileRead read = readPictureFile(path(c.name), 64 * 48);
        ASSERT_EQ(read.image.size(), want.size());
        EXPECT_EQ(cv::norm(read.image, want, cv::NORM_INF), 0.0);

        const PictureFileRead refused = readPictureFile(path(c.name), 64 * 48 - 1);
        EXPECT_TRUE(refused.image.empty());
        EXPECT_TRUE(refused.tooLarge);
        EXPECT_EQ(refused.width, 64);
        EXPECT_EQ(refused.height, 48);
        EXPECT_EQ(refused.reason,
                  "The picture is 64 x 48 pixels (0 megapixels); the limit is 0 megapixels.");
    }
}

// A few bytes can declare a huge picture in any of them: refused from the
// header, before any memory is taken, naming the size declared.
TEST_F(PictureLimit, HugeDeclarationsAreRefusedWithTheirSize) {
    const cv::Mat colour = noise(64, 48, CV_8UC3), grey = noise(64, 48, CV_8UC1);
    std::string ras = encode(".ras", colour);
    putBe32(ras, 4, 30000), putBe32(ras, 8, 20000);
    std::string lossy = encode(".webp", colour, {cv::IMWRITE_WEBP_QUALITY, 80});
    putLe16(lossy, 26, 16000), putLe16(lossy, 28, 16000);  // 14 bits, no scaling
    std::string lossless = encode(".webp", colour, {cv::IMWRITE_WEBP_QUALITY, 101});
    const std::string extended = extendedWebp(lossless, 30000, 20000);
    {
        const uint32_t bits = uint8_t(lossless[21]) | uint8_t(lossless[22]) << 8 |
                              uint8_t(lossless[23]) << 16 | uint32_t(uint8_t(lossless[24])) << 24;
        putLe32(lossless, 21, (bits & 0xF0000000u) | (16000 - 1) | (16000 - 1) << 14);
    }
    std::string jp2 = encode(".jp2", colour);
    putBe32(jp2, codestreamAt(jp2) + 8, 30000), putBe32(jp2, codestreamAt(jp2) + 12, 20000);
    std::string palette = encode(".bmp", grey);
    putLe32(palette, 18, 30000), putLe32(palette, 22, 20000);
    std::string os2 = os2Bmp(colour).substr(0, 64);
    putLe16(os2, 18, 30000), putLe16(os2, 20, 20000);
    cv::Mat cmyk(48, 64, CV_8UC4, cv::Scalar::all(9));
    std::string cmykJpg = test::cmykJpeg(cmyk, true);
    {
        const std::size_t sof = cmykJpg.find("\xFF\xC0");
        ASSERT_NE(sof, std::string::npos);
        cmykJpg[sof + 5] = char(20000 >> 8), cmykJpg[sof + 6] = char(20000 & 0xFF);
        cmykJpg[sof + 7] = char(30000 >> 8), cmykJpg[sof + 8] = char(30000 & 0xFF);
    }
    struct Case {
        const char* name;
        std::string bytes;
        int64_t width, height;
    } cases[] = {
        {"bomb.ppm", "P6\n# by hand\n30000 20000\n255\n" + std::string(64, '\0'), 30000, 20000},
        {"bomb.pgm", "P5 30000 20000 255 " + std::string(64, '\0'), 30000, 20000},
        {"bomb.pbm", "P4\n30000\n20000\n" + std::string(64, '\0'), 30000, 20000},
        {"bomb.pam", "P7\nWIDTH 30000\nHEIGHT 20000\nDEPTH 3\nMAXVAL 255\nENDHDR\n", 30000, 20000},
        {"bomb.pfm", "PF\n30000 20000\n-1\n" + std::string(64, '\0'), 30000, 20000},
        {"bomb.ras", ras, 30000, 20000},
        {"bomb.hdr", "#?RADIANCE\nFORMAT=32-bit_rle_rgbe\n\n-Y 20000 +X 30000\n", 30000, 20000},
        {"lossy.webp", lossy, 16000, 16000},
        {"lossless.webp", lossless, 16000, 16000},
        {"extended.webp", extended, 30000, 20000},
        {"bomb.jp2", jp2, 30000, 20000},
        {"bomb.j2k", jp2.substr(codestreamAt(jp2)), 30000, 20000},
        {"bomb.exr", test::exrDeclaring(30000, 20000), 30000, 20000},
        {"bomb-big.tif", test::greyTiff(grey, true, 16, le(300'000'000, 8)), 300'000'000, 48},
        {"palette.bmp", palette, 30000, 20000},
        {"os2.bmp", os2, 30000, 20000},
        {"cmyk.jpg", cmykJpg, 30000, 20000},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        writeBytes(path(c.name), c.bytes);
        const PictureFileRead r = readPictureFile(path(c.name), kDefaultMaxPicturePixels);
        EXPECT_TRUE(r.image.empty());
        EXPECT_TRUE(r.tooLarge);
        EXPECT_EQ(r.width, c.width);
        EXPECT_EQ(r.height, c.height);
        EXPECT_EQ(r.reason, "The picture is " +
                                pictureSizeText(c.width, c.height, kDefaultMaxPicturePixels) + ".");
    }
}

// A TIFF's width is read by the type of its field, as libtiff reads it: a
// signed or a byte field once came out as 4294967295 pixels. A field that
// cannot hold a size is refused naming its type; a size below 1, naming it.
TEST_F(PictureLimit, TiffSizeFieldsAreReadByTheirType) {
    const cv::Mat grey = noise(20, 10, CV_8UC1);
    struct Case {
        const char* name;
        bool big;
        uint16_t type;
        std::string value;
        const char* reason;  // null: read
    } cases[] = {
        {"byte", false, 1, le(20, 1), nullptr},
        {"short", false, 3, le(20, 2), nullptr},
        {"long", false, 4, le(20, 4), nullptr},
        {"sbyte", false, 6, le(20, 1), nullptr},
        {"sshort", false, 8, le(20, 2), nullptr},
        {"slong", false, 9, le(20, 4), nullptr},
        {"big short", true, 3, le(20, 2), nullptr},
        {"big long8", true, 16, le(20, 8), nullptr},
        {"big slong8", true, 17, le(20, 8), nullptr},
        {"negative sshort", false, 8, le(uint16_t(-20), 2),
         "The picture's TIFF header gives its width as -20."},
        {"zero long", false, 4, le(0, 4), "The picture's TIFF header gives its width as 0."},
        {"rational", false, 5, le(20, 4),
         "The picture's TIFF header gives its width as a field of type RATIONAL (5), which holds "
         "no size."},
        {"ascii", false, 2, "20\0", "... type ASCII (2), which holds no size."},
        {"float", false, 11, le(0x41A00000, 4), "... type FLOAT (11), which holds no size."},
        {"classic long8", false, 16, le(20, 4), "... type LONG8 (16), which holds no size."},
        {"unknown", false, 99, le(20, 4), "... type (99), which holds no size."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        writeBytes(path("grey.tif"), test::greyTiff(grey, c.big, c.type, c.value));
        const PictureFileRead r = readPictureFile(path("grey.tif"), kDefaultMaxPicturePixels);
        EXPECT_FALSE(r.tooLarge);
        if (!c.reason) {
            cv::Mat want;
            cv::cvtColor(grey, want, cv::COLOR_GRAY2BGR);
            ASSERT_EQ(r.image.size(), want.size());
            EXPECT_EQ(cv::norm(r.image, want, cv::NORM_INF), 0.0);
            continue;
        }
        EXPECT_TRUE(r.image.empty());
        const std::string reason = c.reason;
        if (reason.starts_with("..."))
            EXPECT_TRUE(r.reason.ends_with(reason.substr(4))) << r.reason;
        else
            EXPECT_EQ(r.reason, reason);
    }
    // A signed field is measured by its value, not taken for the largest one.
    writeBytes(path("wide.tif"), test::greyTiff(grey, false, 8, le(30000, 2)));
    const PictureFileRead wide = readPictureFile(path("wide.tif"), 299'999);
    EXPECT_TRUE(wide.tooLarge);
    EXPECT_EQ(wide.width, 30000);
    EXPECT_EQ(wide.height, 10);
}

}  // namespace
}  // namespace qf
