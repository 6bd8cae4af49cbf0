#pragma once
// Picture files for the codec tests, made with OpenCV's encoders (the
// reference) and patched by hand where a case needs what no encoder writes:
// EXIF orientations, top-down BMPs, and headers that declare a huge picture
// over a few bytes of data.

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

}  // namespace qf::test
