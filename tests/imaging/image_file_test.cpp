#include "imaging/image_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <opencv2/imgcodecs.hpp>
#include <vector>

#include "../support/child_process.h"
#include "../support/fifo.h"
#include "temp_dir.h"

namespace qf {
namespace {

namespace fs = std::filesystem;
using ImageFile = test::TempDirTest;

// A BMP with a colour table (1, 4 or 8 bits per pixel), written by hand since
// OpenCV writes no palette pictures. Indices are given top row first.
std::string paletteBmp(int w, int h, int bpp, const std::vector<cv::Vec3b>& palette,
                       const std::vector<int>& indices) {
    const int rowBytes = (w * bpp + 31) / 32 * 4;
    const int offset = 14 + 40 + int(palette.size()) * 4;
    std::string b = "BM";
    const auto u16 = [&](uint32_t v) { b += {char(v & 0xFF), char(v >> 8 & 0xFF)}; };
    const auto u32 = [&](uint32_t v) {
        u16(v & 0xFFFF);
        u16(v >> 16);
    };
    // File header, then the 40-byte info header (uncompressed, bottom-up).
    for (uint32_t v :
         {uint32_t(offset + rowBytes * h), 0u, uint32_t(offset), 40u, uint32_t(w), uint32_t(h)})
        u32(v);
    u16(1);
    u16(uint32_t(bpp));
    for (uint32_t v : {0u, uint32_t(rowBytes * h), 2835u, 2835u, uint32_t(palette.size()), 0u})
        u32(v);
    for (const cv::Vec3b& c : palette) b += {char(c[0]), char(c[1]), char(c[2]), '\0'};
    for (int y = h - 1; y >= 0; --y) {  // bottom-up
        std::string row(rowBytes, '\0');
        for (int x = 0; x < w; ++x) {
            const int bit = x * bpp;
            row[bit / 8] = char(row[bit / 8] | indices[y * w + x] << (8 - bpp - bit % 8));
        }
        b += row;
    }
    return b;
}

cv::Mat pattern(int w, int h, int type) {
    cv::Mat m(h, w, type);
    cv::theRNG().state = 99;
    cv::randu(m, cv::Scalar::all(0), cv::Scalar::all(256));
    return m;
}

// Every kind of picture arrives as 8-bit BGR; grey pixels as three equal channels.
TEST_F(ImageFile, ReadsEveryKindAsEightBitBgr) {
    const std::vector<cv::Vec3b> palette{{0, 0, 0}, {255, 255, 255}, {90, 90, 90}, {10, 200, 30}};
    struct Case {
        const char* name;
        std::function<void(const std::string&)> write;
        std::function<cv::Vec3b(int x, int y)> expected;  // of a 4 x 3 picture
    };
    const cv::Mat colour = pattern(4, 3, CV_8UC3);
    const cv::Mat grey = pattern(4, 3, CV_8UC1);
    const cv::Mat rgba = pattern(4, 3, CV_8UC4);
    cv::Mat grey16(3, 4, CV_16UC1, cv::Scalar(0x8080));
    grey16.at<uint16_t>(0, 0) = 0;
    grey16.at<uint16_t>(2, 3) = 0xFFFF;
    const std::vector<int> idx8{0, 1, 2, 3, 3, 2, 1, 0, 2, 2, 3, 1};
    const std::vector<int> idx1{0, 1, 1, 0, 1, 0, 0, 1, 1, 1, 0, 0};
    const Case cases[] = {
        {"colour.png", [&](auto p) { cv::imwrite(p, colour); },
         [&](int x, int y) { return colour.at<cv::Vec3b>(y, x); }},
        {"grey.png", [&](auto p) { cv::imwrite(p, grey); },
         [&](int x, int y) { return cv::Vec3b::all(grey.at<uint8_t>(y, x)); }},
        {"grey16.png", [&](auto p) { cv::imwrite(p, grey16); },
         [&](int x, int y) {
             const uint16_t v = grey16.at<uint16_t>(y, x);
             return cv::Vec3b::all(v == 0 ? 0 : v == 0xFFFF ? 255 : 128);
         }},
        {"alpha.png", [&](auto p) { cv::imwrite(p, rgba); },
         [&](int x, int y) {
             const cv::Vec4b v = rgba.at<cv::Vec4b>(y, x);
             return cv::Vec3b(v[0], v[1], v[2]);
         }},
        {"palette8.bmp", [&](auto p) { writeBytes(p, paletteBmp(4, 3, 8, palette, idx8)); },
         [&](int x, int y) { return palette[idx8[y * 4 + x]]; }},
        {"palette4.bmp", [&](auto p) { writeBytes(p, paletteBmp(4, 3, 4, palette, idx8)); },
         [&](int x, int y) { return palette[idx8[y * 4 + x]]; }},
        {"mono.bmp", [&](auto p) { writeBytes(p, paletteBmp(4, 3, 1, palette, idx1)); },
         [&](int x, int y) { return palette[idx1[y * 4 + x]]; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        c.write(path(c.name));
        const cv::Mat m = readImageFile(path(c.name));
        ASSERT_EQ(m.type(), CV_8UC3);
        ASSERT_EQ(m.size(), cv::Size(4, 3));
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 4; ++x)
                EXPECT_EQ(m.at<cv::Vec3b>(y, x), c.expected(x, y)) << "pixel " << x << "," << y;
    }
}

TEST_F(ImageFile, UnreadableFilesGiveAnEmptyImage) {
    ASSERT_TRUE(cv::imwrite(path("whole.png"), pattern(64, 48, CV_8UC3)));
    const fs::path whole = path("whole.png");
    fs::copy_file(whole, path("truncated.png"));
    fs::resize_file(path("truncated.png"), fs::file_size(whole) / 2);
    fs::copy_file(whole, path("header-only.png"));
    fs::resize_file(path("header-only.png"), 40);
    writeBytes(path("text.png"), "This is not a picture.\n");
    writeBytes(path("empty.png"), "");
    writeBytes(path("cut.bmp"),
               paletteBmp(64, 64, 8, {{0, 0, 0}}, std::vector<int>(64 * 64, 0)).substr(0, 200));
    fs::create_directory(path("folder.png"));
    for (const char* name : {"truncated.png", "header-only.png", "text.png", "empty.png", "cut.bmp",
                             "missing.png", "folder.png"}) {
        EXPECT_TRUE(readImageFile(path(name)).empty()) << name;
    }
    EXPECT_TRUE(readImageFile("").empty());
}

TEST_F(ImageFile, SavesInTheFormatOfTheExtension) {
    const cv::Mat image = pattern(33, 17, CV_8UC3);
    for (const char* name : {"a.bmp", "a.png", "a.tif", "a.tiff", "A.PNG", "a.jpg", "a.jpeg"}) {
        SCOPED_TRACE(name);
        const ImageWriteResult r = writeImageFile(path(name), image);
        ASSERT_TRUE(r.ok) << r.error;
        const cv::Mat back = readImageFile(path(name));
        ASSERT_EQ(back.type(), CV_8UC3);
        ASSERT_EQ(back.size(), image.size());
        const std::string ext = fs::path(name).extension().string();
        if (ext != ".jpg" && ext != ".jpeg") {
            EXPECT_EQ(cv::norm(back, image, cv::NORM_INF), 0.0);
        }
    }
    // The format follows the extension, not a default.
    std::ifstream bmp(path("a.bmp"), std::ios::binary), png(path("a.png"), std::ios::binary);
    char b[2] = {}, p[4] = {};
    bmp.read(b, 2), png.read(p, 4);
    EXPECT_EQ(std::string(b, 2), "BM");
    EXPECT_EQ(std::string(p, 4), "\x89PNG");
}

TEST_F(ImageFile, FailedWritesAreReportedWithPathAndReason) {
    const cv::Mat image = pattern(8, 8, CV_8UC3);
    fs::create_directory(path("taken.png"));
    writeBytes(path("plain.txt"), "a file, not a folder");
    struct Case {
        std::string path;
        cv::Mat image;
        const char* reason;
    } cases[] = {
        {path("a.xyz"), image, "extension"},
        {path("noextension"), image, "extension"},
        {path("missing/a.png"), image, "folder does not exist"},
        {path("plain.txt/a.png"), image, "folder does not exist"},
        {path("taken.png"), image, "folder"},
        {path("a.png"), cv::Mat(), "no image"},
    };
    for (const Case& c : cases) {
        const ImageWriteResult r = writeImageFile(c.path, c.image);
        EXPECT_FALSE(r.ok) << c.path;
        EXPECT_NE(r.error.find(c.path), std::string::npos) << r.error;
        EXPECT_NE(r.error.find(c.reason), std::string::npos) << r.error;
        EXPECT_FALSE(fs::is_regular_file(c.path)) << c.path;
    }
}

TEST_F(ImageFile, ReadOnlyFolderIsReported) {
    if (::geteuid() == 0) GTEST_SKIP() << "permissions do not bind root";
    fs::create_directory(path("locked"));
    fs::permissions(path("locked"), fs::perms::owner_read | fs::perms::owner_exec);
    const ImageWriteResult r = writeImageFile(path("locked/a.png"), pattern(8, 8, CV_8UC3));
    EXPECT_FALSE(r.ok);
    EXPECT_NE(r.error.find("not writable"), std::string::npos) << r.error;
}

std::string readBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

// Pictures were written straight to their name: a full disk or a kill left a
// cut picture, or none, where a good one had been. A write that fails now
// leaves the old picture whole and no temporary file; a planted link at the
// name is replaced, not written through.
TEST_F(ImageFile, APictureIsReplacedWholeOrNotAtAll) {
    const std::string old = "an older picture";
    writeBytes(path("working.png"), old);
    cv::Mat noise(600, 800, CV_8UC3);
    cv::randu(noise, 0, 255);  // about 1.4 MB of PNG, past the limit below
    const int status = test::exitStatusInChild([&] {
        test::diskFullPast(64 * 1024);
        const ImageWriteResult r = writeImageFile(path("working.png"), noise);
        return r.ok ? 0 : (r.error.find("File too large") != std::string::npos ? 7 : 1);
    });
    EXPECT_EQ(status, 7);
    EXPECT_EQ(readBytes(path("working.png")), old);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()), 1);

    writeBytes(path("elsewhere.txt"), "keep me");
    fs::create_symlink(path("elsewhere.txt"), path("graph.png"));
    ASSERT_TRUE(writeImageFile(path("graph.png"), pattern(8, 8, CV_8UC3)).ok);
    EXPECT_EQ(readBytes(path("elsewhere.txt")), "keep me");
    EXPECT_FALSE(fs::is_symlink(path("graph.png")));
    EXPECT_EQ(readImageFile(path("graph.png")).cols, 8);
}

// A FIFO blocked the decoder's read forever.
TEST_F(ImageFile, AFifoIsNotRead) {
    const test::Fifo fifo(dir_ / "pipe.png");
    ASSERT_TRUE(fifo.made());
    EXPECT_TRUE(readImageFile(fifo.path()).empty());
}

}  // namespace
}  // namespace qf
