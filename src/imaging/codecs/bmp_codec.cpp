#include <array>
#include <cstring>
#include <vector>

#include "imaging/codecs/codecs.h"

namespace qf::codec {
namespace {

uint32_t u32At(const uint8_t* p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}
uint16_t u16At(const uint8_t* p) {
    return uint16_t(p[0] | p[1] << 8);
}

void putU32(uint8_t* p, uint32_t v) {
    for (int i = 0; i < 4; ++i) p[i] = uint8_t(v >> (8 * i));
}

constexpr uint32_t kBiRgb = 0;

}  // namespace

// Only the form nearly every program writes is read here: 24 bits a pixel,
// uncompressed. Palettes, bit fields and run lengths go to OpenCV's reader.
Decoded readBmp(std::FILE* file, int64_t maxPixels) {
    Decoded d;
    std::array<uint8_t, 14 + 16> head{};
    if (std::fread(head.data(), 1, head.size(), file) != head.size()) return d;
    if (head[0] != 'B' || head[1] != 'M') return d;
    const uint32_t offset = u32At(&head[10]);
    const uint32_t headerSize = u32At(&head[14]);
    // The size as OpenCV's reader takes it, for the variants left to it too:
    // 16-bit in the old OS/2 header, 32-bit and signed (negative: top-down)
    // in the others.
    int64_t width = 0, height = 0;
    if (headerSize == 12) {
        width = u16At(&head[18]);
        height = u16At(&head[20]);
    } else if (headerSize >= 36) {
        width = int32_t(u32At(&head[18]));
        height = int32_t(u32At(&head[22]));
    }
    d.width = width;
    d.height = height < 0 ? -height : height;
    if (width > 0 && d.height > 0 && d.width > maxPixels / d.height) {
        d.status = Status::TooLarge;
        return d;
    }
    if (headerSize < 40) {
        d.status = Status::NotHandled;
        return d;
    }
    const uint16_t planes = u16At(&head[26]);
    const uint16_t bpp = u16At(&head[28]);
    std::array<uint8_t, 4> compression{};
    if (std::fread(compression.data(), 1, 4, file) != 4) return d;
    if (bpp != 24 || u32At(compression.data()) != kBiRgb || planes != 1 || width <= 0 ||
        height == 0) {
        d.status = Status::NotHandled;
        return d;
    }
    cv::Mat image;
    try {
        image.create(int(d.height), int(width), CV_8UC3);
    } catch (const cv::Exception&) {
        return d;
    }
    if (std::fseek(file, long(offset), SEEK_SET) != 0) return d;
    const std::size_t pitch = (std::size_t(width) * 3 + 3) & ~std::size_t(3);
    std::vector<uint8_t> row(pitch);
    const bool bottomUp = height > 0;
    for (int y = 0; y < image.rows; ++y) {
        if (std::fread(row.data(), 1, pitch, file) != pitch) return d;
        std::memcpy(image.ptr(bottomUp ? image.rows - 1 - y : y), row.data(),
                    std::size_t(width) * 3);
    }
    d.image = image;
    d.status = Status::Ok;
    return d;
}

// The layout OpenCV writes: 14-byte file header, 40-byte info header,
// bottom-up rows padded to 4 bytes.
bool writeBmp(std::FILE* file, const cv::Mat& image) {
    if (image.depth() != CV_8U || (image.channels() != 3 && image.channels() != 4)) return false;
    const int width = image.cols, height = image.rows;
    const std::size_t rowBytes = std::size_t(width) * 3;
    const std::size_t pitch = (rowBytes + 3) & ~std::size_t(3);
    constexpr uint32_t kHeaderSize = 14 + 40;
    const uint64_t fileSize = uint64_t(pitch) * uint64_t(height) + kHeaderSize;
    if (fileSize > uint64_t(INT32_MAX)) return false;

    std::array<uint8_t, kHeaderSize> h{};
    h[0] = 'B', h[1] = 'M';
    putU32(&h[2], uint32_t(fileSize));
    putU32(&h[10], kHeaderSize);
    putU32(&h[14], 40);
    putU32(&h[18], uint32_t(width));
    putU32(&h[22], uint32_t(height));
    h[26] = 1;   // planes
    h[28] = 24;  // bits a pixel; compression, sizes and palette counts stay 0
    if (std::fwrite(h.data(), 1, h.size(), file) != h.size()) return false;

    std::vector<uint8_t> row(pitch, 0);
    for (int y = height - 1; y >= 0; --y) {
        const uint8_t* src = image.ptr(y);
        if (image.channels() == 3) {
            std::memcpy(row.data(), src, rowBytes);
        } else {
            for (int x = 0; x < width; ++x) std::memcpy(&row[std::size_t(x) * 3], src + x * 4, 3);
        }
        if (std::fwrite(row.data(), 1, pitch, file) != pitch) return false;
    }
    return true;
}

}  // namespace qf::codec
