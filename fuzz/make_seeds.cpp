// Writes the seed corpora of fuzz_picture and fuzz_extraction (committed in
// corpus/picture and corpus/extraction): small pictures of each kind the
// readers take, and charts in the extraction target's input layout.
//   cmake --build build-fuzz --target make_fuzz_seeds
//   build-fuzz/fuzz/make_fuzz_seeds fuzz/corpus

#include <opencv2/imgproc.hpp>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "picture_fixtures.h"

namespace {

namespace fs = std::filesystem;
using namespace qf::test;

void write(const fs::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
    std::printf("%s: %zu bytes\n", path.c_str(), bytes.size());
}

cv::Mat chart(int w, int h) {
    cv::Mat m(h, w, CV_8UC3, cv::Scalar(250, 250, 250));
    cv::line(m, {1, h - 2}, {w - 2, 1}, cv::Scalar(200, 60, 20), 2);
    cv::circle(m, {w / 3, h / 2}, 2, cv::Scalar(0, 0, 220), cv::FILLED);
    return m;
}

// A little-endian TIFF header and first directory declaring w x h pixels.
std::string tiffDeclaring(uint32_t w, uint32_t h) {
    std::string t("II*\0\x08\0\0\0", 8);
    const auto u16 = [&](uint16_t v) { t += {char(v & 0xFF), char(v >> 8)}; };
    const auto u32 = [&](uint32_t v) { u16(uint16_t(v)), u16(uint16_t(v >> 16)); };
    u16(2);
    u16(256), u16(4), u32(1), u32(w);
    u16(257), u16(4), u32(1), u32(h);
    u32(0);
    return t;
}

// The same in BigTIFF's form: 8-byte offsets and counts.
std::string bigTiffDeclaring(uint32_t w, uint32_t h) {
    std::string t("II+\0\x08\0\0\0", 8);
    const auto u16 = [&](uint16_t v) { t += {char(v & 0xFF), char(v >> 8)}; };
    const auto u32 = [&](uint32_t v) { u16(uint16_t(v)), u16(uint16_t(v >> 16)); };
    const auto u64 = [&](uint64_t v) { u32(uint32_t(v)), u32(uint32_t(v >> 32)); };
    u64(16);
    u64(2);
    u16(256), u16(4), u64(1), u64(w);
    u16(257), u16(4), u64(1), u64(h);
    u64(0);
    return t;
}

void pictureSeeds(const fs::path& dir) {
    const cv::Mat m = chart(16, 12);
    cv::Mat grey, bgra, deep;
    cv::cvtColor(m, grey, cv::COLOR_BGR2GRAY);
    cv::cvtColor(m, bgra, cv::COLOR_BGR2BGRA);
    m.convertTo(deep, CV_16UC3, 257);
    write(dir / "colour.png", encode(".png", m));
    write(dir / "grey.png", encode(".png", grey));
    write(dir / "alpha.png", encode(".png", bgra));
    write(dir / "deep.png", encode(".png", deep));
    write(dir / "huge.png", pngDeclaring(100000, 100000));
    write(dir / "colour.jpg", encode(".jpg", m));
    write(dir / "grey.jpg", encode(".jpg", grey));
    write(dir / "progressive.jpg", encode(".jpg", m, {cv::IMWRITE_JPEG_PROGRESSIVE, 1}));
    write(dir / "turned6.jpg", jpegWithOrientation(m, 6, false));
    write(dir / "turned3be.jpg", jpegWithOrientation(m, 3, true));
    write(dir / "colour.bmp", encode(".bmp", m));
    write(dir / "grey.bmp", encode(".bmp", grey));
    write(dir / "alpha.bmp", encode(".bmp", bgra));
    std::string topDown = encode(".bmp", m);
    putLe32(topDown, 22, uint32_t(-m.rows));
    write(dir / "topdown.bmp", topDown);
    write(dir / "colour.tif", encode(".tif", m));
    write(dir / "huge.tif", tiffDeclaring(100000, 100000));
    write(dir / "big.tif", bigTiffDeclaring(16, 12));
    // The other formats whose headers are read before OpenCV decodes them,
    // as far as this OpenCV writes them.
    cv::Mat real;
    m.convertTo(real, CV_32FC3, 1 / 255.0);
    const cv::Mat large = chart(64, 64);  // OpenJPEG's default levels need this much
    const std::pair<const char*, const cv::Mat*> others[] = {
        {".ppm", &m}, {".pgm", &grey}, {".pbm", &grey}, {".pam", &m},     {".pfm", &real},
        {".ras", &m}, {".hdr", &real}, {".webp", &m},   {".jp2", &large}, {".exr", &real}};
    for (const auto& [ext, picture] : others) {
        try {
            write(dir / (std::string("colour") + ext), encode(ext, *picture));
        } catch (const cv::Exception&) {
            std::printf("%s: not written by this OpenCV\n", ext);
        }
    }
}

// The extraction target's layout (see fuzz_extraction.cpp).
struct Chart {
    int w, h;
    int tolerance, count, gap;
    int clickX, clickY;
    int left, top, right, bottom;  // on the picture; -4 .. side + 3
    std::vector<int> pixels;       // colour 0..3 per pixel

    std::string bytes() const {
        const auto side = [](int v) { return char(v + 4); };
        // The inverse of the target's sideOf.
        const auto sideByte = [](int n) { return char(n <= 32 ? n - 2 : n - 130 + 224); };
        std::string s{sideByte(w), sideByte(h),  char(tolerance), char(count),
                      char(gap),   side(clickX), side(clickY),    side(left),
                      side(top),   side(right),  side(bottom)};
        // white ground, blue, red, black
        for (int c : {255, 255, 255, 200, 60, 20, 30, 30, 220, 0, 0, 0}) s += char(c);
        std::string bits((pixels.size() * 2 + 7) / 8, '\0');
        for (std::size_t i = 0; i < pixels.size(); ++i)
            bits[2 * i / 8] = char(bits[2 * i / 8] | pixels[i] << (2 * i % 8));
        return s + bits;
    }
    void set(int x, int y, int colour) {
        if (x >= 0 && y >= 0 && x < w && y < h) pixels[std::size_t(y * w + x)] = colour;
    }
};

Chart blank(int w, int h) {
    Chart c{w, h, 40, 20, 8, 0, 0, 0, 0, w - 1, h - 1, std::vector<int>(std::size_t(w * h), 0)};
    return c;
}

void extractionSeeds(const fs::path& dir) {
    const auto curveY = [](int x, int w, int h) { return h - 4 - x * x * (h - 8) / (w * w); };
    const auto lineChart = [&](int w, int h) {
        Chart c = blank(w, h);
        for (int x = 2; x < w - 2; ++x)
            for (int t = 0; t < 2; ++t) c.set(x, curveY(x, w, h) + t, 1);
        c.clickX = w / 2, c.clickY = curveY(w / 2, w, h);
        return c;
    };
    const Chart line = lineChart(32, 24);
    write(dir / "line.bin", line.bytes());
    // Across the edge of a mask tile.
    write(dir / "wide.bin", lineChart(150, 24).bytes());

    Chart dashed = line;
    for (int x = 2; x < 30; ++x)
        if (x % 8 >= 6)
            for (int t = 0; t < 2; ++t) dashed.set(x, curveY(x, 32, 24) + t, 0);
    dashed.gap = 3, dashed.count = 8, dashed.clickX = 15, dashed.clickY = curveY(15, 32, 24);
    write(dir / "dashed.bin", dashed.bytes());

    Chart markers = blank(32, 24);
    for (int x = 2; x < 28; x += 6)
        for (int dy = 0; dy < 3; ++dy)
            for (int dx = 0; dx < 3; ++dx) markers.set(x + dx, curveY(x, 32, 24) + dy, 2);
    markers.clickX = 15, markers.clickY = curveY(14, 32, 24) + 1;
    write(dir / "markers.bin", markers.bytes());

    // Noise of black and white at the largest settings; a grid of the
    // curve's colour under a line; a rectangle partly off the picture.
    cv::RNG rng(9);
    Chart noise = blank(32, 32);
    for (int& p : noise.pixels) p = rng.uniform(0, 2) * 3;
    noise.count = 128, noise.gap = 100, noise.clickX = 16, noise.clickY = 16;
    write(dir / "noise.bin", noise.bytes());

    Chart grid = line;
    for (int i = 0; i < 32; ++i)
        for (int k = 4; k < 32; k += 8) grid.set(k, i, 1), grid.set(i, k, 1);
    grid.gap = 30;
    write(dir / "grid.bin", grid.bytes());

    Chart off = line;
    off.left = -4, off.top = 5, off.right = 35, off.bottom = 20, off.tolerance = 255;
    off.count = 0;
    write(dir / "off.bin", off.bytes());
}

}  // namespace

int main(int argc, char** argv) {
    const fs::path root = argc > 1 ? argv[1] : "fuzz/corpus";
    fs::create_directories(root / "picture");
    fs::create_directories(root / "extraction");
    pictureSeeds(root / "picture");
    extractionSeeds(root / "extraction");
    return 0;
}
