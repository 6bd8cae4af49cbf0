#include "imaging/codecs/codecs.h"

namespace qf::codec {

namespace {

struct TiffReader {
    const uint8_t* data;
    std::size_t size;
    bool little;
    uint32_t u16(std::size_t at) const {
        return little ? uint32_t(data[at] | data[at + 1] << 8)
                      : uint32_t(data[at] << 8 | data[at + 1]);
    }
    uint32_t u32(std::size_t at) const {
        return little ? u16(at) | u16(at + 2) << 16 : u16(at) << 16 | u16(at + 2);
    }
};

// The byte order mark of a TIFF structure; false when it has none.
bool tiffReader(const uint8_t* data, std::size_t size, TiffReader& r) {
    if (size < 8) return false;
    r = {data, size, data[0] == 'I' && data[1] == 'I'};
    return r.little || (data[0] == 'M' && data[1] == 'M');
}

// Calls f(tag, type, entry offset) for each entry of the first directory
// that lies inside the data.
template <class F>
void forEachEntry(const TiffReader& r, F f) {
    const std::size_t ifd = r.u32(4);
    if (ifd > r.size - 2) return;
    const std::size_t count = r.u16(ifd);
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t entry = ifd + 2 + i * 12;
        if (entry + 12 > r.size) break;
        f(r.u16(entry), r.u16(entry + 2), entry);
    }
}

}  // namespace

TiffSize tiffImageSize(const uint8_t* data, std::size_t size) {
    TiffReader r{};
    TiffSize s;
    if (!tiffReader(data, size, r) || r.u16(2) != 42) return s;
    constexpr uint32_t kShort = 3, kLong = 4;
    forEachEntry(r, [&](uint32_t tag, uint32_t type, std::size_t entry) {
        if (tag != 256 && tag != 257) return;
        const int64_t v = type == kShort ? r.u16(entry + 8) : type == kLong ? r.u32(entry + 8) : -1;
        (tag == 256 ? s.width : s.height) = v;
    });
    s.known = s.width >= 0 && s.height >= 0;
    return s;
}

// Only the orientation tag of the first directory is looked at, as OpenCV's
// reader does when it turns a picture upright.
int exifOrientation(const uint8_t* data, std::size_t size) {
    TiffReader r{};
    if (!tiffReader(data, size, r)) return 1;
    int orientation = 1;
    constexpr uint32_t kOrientationTag = 0x0112;
    forEachEntry(r, [&](uint32_t tag, uint32_t, std::size_t entry) {
        if (tag != kOrientationTag || orientation != 1) return;
        const uint32_t v = r.u16(entry + 8);
        orientation = v >= 1 && v <= 8 ? int(v) : 1;
    });
    return orientation;
}

void applyExifOrientation(int orientation, cv::Mat& image) {
    switch (orientation) {
        case 2:
            cv::flip(image, image, 1);
            break;
        case 3:
            cv::flip(image, image, -1);
            break;
        case 4:
            cv::flip(image, image, 0);
            break;
        case 5:
            cv::transpose(image, image);
            break;
        case 6:
            cv::transpose(image, image);
            cv::flip(image, image, 1);
            break;
        case 7:
            cv::transpose(image, image);
            cv::flip(image, image, -1);
            break;
        case 8:
            cv::transpose(image, image);
            cv::flip(image, image, 0);
            break;
        default:
            break;
    }
}

}  // namespace qf::codec
