#pragma once
// Picture files for the codec tests, made with OpenCV's encoders (the
// reference) and patched by hand where a case needs what no encoder writes:
// EXIF orientations, top-down BMPs, headers that declare a huge picture over
// a few bytes of data, TIFF fields of every type, JPEG scan floods.

#include <zlib.h>

#include <cstdint>
#include <opencv2/imgcodecs.hpp>
#include <string>
#include <vector>

namespace qf::test {

inline std::string encode(const std::string& ext, const cv::Mat& m,
                          const std::vector<int>& params = {}) {
    std::vector<uchar> bytes;
    cv::imencode(ext, m, bytes, params);
    return {bytes.begin(), bytes.end()};
}

inline void putBe32(std::string& s, std::size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) s[at + i] = char(v >> (24 - 8 * i));
}
inline void putLe32(std::string& s, std::size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) s[at + i] = char(v >> (8 * i));
}

// A PNG chunk with its length and CRC.
inline std::string pngChunk(const std::string& type, const std::string& data) {
    std::string c(4, '\0');
    putBe32(c, 0, uint32_t(data.size()));
    c += type + data;
    const std::string crcOf = type + data;
    std::string crc(4, '\0');
    putBe32(crc, 0,
            uint32_t(::crc32(0, reinterpret_cast<const Bytef*>(crcOf.data()), uInt(crcOf.size()))));
    return c + crc;
}

// A small real PNG whose header declares w x h pixels (its CRC kept valid).
inline std::string pngDeclaring(uint32_t w, uint32_t h) {
    std::string png = encode(".png", cv::Mat(8, 8, CV_8UC3, cv::Scalar(1, 2, 3)));
    std::string ihdr = png.substr(16, 13);  // after signature, length and "IHDR"
    putBe32(ihdr, 0, w);
    putBe32(ihdr, 4, h);
    return png.substr(0, 8) + pngChunk("IHDR", ihdr) + png.substr(8 + 25);
}

// An EXIF block (TIFF structure) holding only an orientation.
inline std::string exifOrientationBlock(int orientation, bool bigEndian) {
    std::string t = bigEndian ? std::string("MM\0*", 4) : std::string("II*\0", 4);
    auto u16 = [&](uint16_t v) {
        t += bigEndian ? std::string{char(v >> 8), char(v & 0xFF)}
                       : std::string{char(v & 0xFF), char(v >> 8)};
    };
    auto u32 = [&](uint32_t v) {
        if (bigEndian) {
            u16(uint16_t(v >> 16)), u16(uint16_t(v));
        } else {
            u16(uint16_t(v)), u16(uint16_t(v >> 16));
        }
    };
    u32(8);
    u16(1);  // one entry
    u16(0x0112), u16(3), u32(1), u16(uint16_t(orientation)), u16(0);
    u32(0);
    return t;
}

// A JPEG with an EXIF segment right after its start marker.
inline std::string jpegWithOrientation(const cv::Mat& m, int orientation, bool bigEndian) {
    const std::string jpg = encode(".jpg", m);
    const std::string payload =
        std::string("Exif\0\0", 6) + exifOrientationBlock(orientation, bigEndian);
    std::string app1 = "\xFF\xE1";
    app1 += char((payload.size() + 2) >> 8);
    app1 += char((payload.size() + 2) & 0xFF);
    return jpg.substr(0, 2) + app1 + payload + jpg.substr(2);
}

inline void putLe16(std::string& s, std::size_t at, uint32_t v) {
    s[at] = char(v & 0xFF), s[at + 1] = char(v >> 8 & 0xFF);
}

// A grey, uncompressed one-strip TIFF (classic, or BigTIFF with 8-byte
// offsets) whose width field has the given type and raw value bytes
// (little-endian, as many as the type takes).
inline std::string greyTiff(const cv::Mat& grey, bool big, uint16_t widthType,
                            const std::string& widthValue) {
    struct Entry {
        uint16_t tag, type;
        std::string value;
    };
    const auto le = [](uint64_t v, int n) {
        std::string b;
        for (int i = 0; i < n; ++i) b += char(v >> (8 * i) & 0xFF);
        return b;
    };
    const std::size_t entrySize = big ? 20 : 12, headSize = big ? 16 : 8;
    const std::vector<Entry> entries = {
        {256, widthType, widthValue},
        {257, 4, le(uint64_t(grey.rows), 4)},     // length
        {258, 3, le(8, 2)},                       // bits a sample
        {259, 3, le(1, 2)},                       // no compression
        {262, 3, le(1, 2)},                       // black is zero
        {273, 4, le(0, 4)},                       // strip offset, below
        {277, 3, le(1, 2)},                       // samples a pixel
        {278, 4, le(uint64_t(grey.rows), 4)},     // rows a strip
        {279, 4, le(uint64_t(grey.total()), 4)},  // strip bytes
    };
    const std::size_t dirSize = (big ? 8 : 2) + entries.size() * entrySize + (big ? 8 : 4);
    const uint64_t pixelsAt = headSize + dirSize;
    std::string t = big ? std::string("II+\0\x08\0\0\0", 8) + le(headSize, 8)
                        : std::string("II*\0", 4) + le(headSize, 4);
    t += le(entries.size(), big ? 8 : 2);
    for (const Entry& e : entries) {
        std::string value = e.tag == 273 ? le(pixelsAt, 4) : e.value;
        value.resize(big ? 8 : 4, '\0');
        t += le(e.tag, 2) + le(e.type, 2) + le(1, big ? 8 : 4) + value;
    }
    t += std::string(big ? 8 : 4, '\0');  // no next directory
    for (int y = 0; y < grey.rows; ++y) t.append(grey.ptr<char>(y), std::size_t(grey.cols));
    return t;
}

// A progressive JPEG whose last scan is repeated until it has `scans` scans.
inline std::string jpegWithScans(const cv::Mat& m, int scans) {
    const std::string jpg = encode(".jpg", m, {cv::IMWRITE_JPEG_PROGRESSIVE, 1});
    // A start of scan is the only FF DA: in coded data FF is followed by 00.
    int written = 0;
    for (std::size_t at = jpg.find("\xFF\xDA"); at != std::string::npos;
         at = jpg.find("\xFF\xDA", at + 2))
        ++written;
    const std::size_t last = jpg.rfind("\xFF\xDA");
    const std::string scan = jpg.substr(last, jpg.size() - 2 - last);
    std::string out = jpg.substr(0, jpg.size() - 2);
    for (int i = written; i < scans; ++i) out += scan;
    return out + "\xFF\xD9";
}

// The start of an OpenEXR file: its attributes, the data window among them,
// and no pixels.
inline std::string exrDeclaring(int32_t width, int32_t height) {
    std::string e("\x76\x2F\x31\x01\x02\0\0\0", 8);
    const auto attribute = [&](const std::string& name, const std::string& type,
                               const std::string& value) {
        e += name + '\0' + type + '\0';
        std::string size(4, '\0');
        putLe32(size, 0, uint32_t(value.size()));
        e += size + value;
    };
    attribute("channels", "chlist", std::string("Y\0\x01\0\0\0\0\0\0\0\x01\0\0\0\x01\0\0\0\0", 19));
    attribute("compression", "compression", std::string(1, '\0'));
    std::string window(16, '\0');
    putLe32(window, 8, uint32_t(width - 1));
    putLe32(window, 12, uint32_t(height - 1));
    attribute("dataWindow", "box2i", window);
    return e + '\0';
}

}  // namespace qf::test
