#include <algorithm>
#include <climits>
#include <iterator>
#include <vector>

#include "imaging/codecs/codecs.h"

namespace qf::codec {

namespace {

struct TiffReader {
    const uint8_t* data;
    std::size_t size;
    bool little;
    bool big = false;  // BigTIFF: 64-bit offsets and counts, 20-byte entries
    uint32_t u16(std::size_t at) const {
        return little ? uint32_t(data[at] | data[at + 1] << 8)
                      : uint32_t(data[at] << 8 | data[at + 1]);
    }
    uint32_t u32(std::size_t at) const {
        return little ? u16(at) | u16(at + 2) << 16 : u16(at) << 16 | u16(at + 2);
    }
    uint64_t u64(std::size_t at) const {
        return little ? u32(at) | uint64_t(u32(at + 4)) << 32
                      : uint64_t(u32(at)) << 32 | u32(at + 4);
    }
    std::size_t entrySize() const { return big ? 20 : 12; }
    std::size_t valueAt(std::size_t entry) const { return entry + (big ? 12 : 8); }
};

// The byte order mark of a TIFF structure; false when it has none.
bool tiffReader(const uint8_t* data, std::size_t size, TiffReader& r) {
    if (size < 8) return false;
    r = {data, size, data[0] == 'I' && data[1] == 'I'};
    return r.little || (data[0] == 'M' && data[1] == 'M');
}

// Classic TIFF (42) or BigTIFF (43, with 8-byte offsets); false for others.
bool tiffHeader(const uint8_t* data, std::size_t size, TiffReader& r) {
    if (!tiffReader(data, size, r)) return false;
    r.big = r.u16(2) == 43;
    if (!r.big) return r.u16(2) == 42;
    return size >= 16 && r.u16(4) == 8 && r.u16(6) == 0;
}

// Calls f(tag, type, entry offset) for each entry of the first directory
// that lies inside the data.
template <class F>
void forEachEntry(const TiffReader& r, F f) {
    const uint64_t ifd = r.big ? r.u64(8) : r.u32(4);
    const std::size_t countSize = r.big ? 8 : 2;
    if (r.size < countSize || ifd > r.size - countSize) return;
    const uint64_t count = r.big ? r.u64(ifd) : r.u16(ifd);
    for (uint64_t i = 0; i < count && i <= r.size / r.entrySize(); ++i) {
        const std::size_t entry = ifd + countSize + i * r.entrySize();
        if (entry + r.entrySize() > r.size) break;
        f(r.u16(entry), r.u16(entry + 2), entry);
    }
}

const char* tiffTypeName(uint32_t type) {
    static const char* const kNames[] = {"",          "BYTE",  "ASCII",     "SHORT",  "LONG",
                                         "RATIONAL",  "SBYTE", "UNDEFINED", "SSHORT", "SLONG",
                                         "SRATIONAL", "FLOAT", "DOUBLE",    "IFD",    "",
                                         "",          "LONG8", "SLONG8",    "IFD8"};
    return type < std::size(kNames) ? kNames[type] : "";
}

// A width or length held in the entry's value, as libtiff takes it: any
// whole-number type, signed ones when not negative. Anything else is a
// problem named by its field and type.
int64_t dimensionOf(const TiffReader& r, uint32_t type, std::size_t entry, const char* field,
                    std::string& problem) {
    const std::size_t at = r.valueAt(entry);
    int64_t v = 0;
    switch (type) {
        case 1:  // BYTE
            v = r.data[at];
            break;
        case 3:  // SHORT
            v = r.u16(at);
            break;
        case 4:  // LONG
            v = r.u32(at);
            break;
        case 6:  // SBYTE
            v = int8_t(r.data[at]);
            break;
        case 8:  // SSHORT
            v = int16_t(r.u16(at));
            break;
        case 9:  // SLONG
            v = int32_t(r.u32(at));
            break;
        case 16:  // LONG8, inline in BigTIFF only
        case 17:  // SLONG8
            if (r.big) {
                const uint64_t u = r.u64(at);
                v = type == 16 && u > uint64_t(INT64_MAX) ? -1 : int64_t(u);
                break;
            }
            [[fallthrough]];
        default: {
            const std::string name = tiffTypeName(type);
            problem = std::string("The picture's TIFF header gives its ") + field +
                      " as a field of type " + (name.empty() ? "" : name + " ") + "(" +
                      std::to_string(type) + "), which holds no size.";
            return -1;
        }
    }
    if (v <= 0)
        problem = std::string("The picture's TIFF header gives its ") + field + " as " +
                  std::to_string(v) + ".";
    return v;
}

}  // namespace

HeaderSize tiffImageSize(const uint8_t* data, std::size_t size) {
    TiffReader r{};
    HeaderSize s;
    if (!tiffHeader(data, size, r)) return s;
    constexpr uint32_t kWidthTag = 256, kLengthTag = 257;
    forEachEntry(r, [&](uint32_t tag, uint32_t type, std::size_t entry) {
        if ((tag != kWidthTag && tag != kLengthTag) || !s.problem.empty()) return;
        (tag == kWidthTag ? s.width : s.height) =
            dimensionOf(r, type, entry, tag == kWidthTag ? "width" : "height", s.problem);
    });
    // Sizes past OpenCV's int are left to it to refuse.
    s.known = s.problem.empty() && s.width > 0 && s.height > 0 && s.width <= INT_MAX &&
              s.height <= INT_MAX;
    return s;
}

HeaderSize tiffFileSize(std::FILE* f) {
    std::vector<uint8_t> bytes(16);
    if (std::fseek(f, 0, SEEK_SET) != 0) return {};
    const std::size_t head = std::fread(bytes.data(), 1, 16, f);
    TiffReader r{};
    if (!tiffHeader(bytes.data(), head, r)) return {};
    const std::size_t headSize = r.big ? 16 : 8, countSize = r.big ? 8 : 2;
    const uint64_t ifd = r.big ? r.u64(8) : r.u32(4);
    bytes.resize(headSize + countSize);
    if (ifd > uint64_t(LONG_MAX) || std::fseek(f, long(ifd), SEEK_SET) != 0 ||
        std::fread(&bytes[headSize], 1, countSize, f) != countSize)
        return {};
    r.data = bytes.data();
    r.size = bytes.size();
    const uint64_t entries = std::min<uint64_t>(r.big ? r.u64(headSize) : r.u16(headSize), 4096);
    bytes.resize(headSize + countSize + entries * r.entrySize());
    const std::size_t got = std::fread(&bytes[headSize + countSize], 1, entries * r.entrySize(), f);
    bytes.resize(headSize + countSize + got);
    // The directory now follows the header.
    for (std::size_t i = 0; i < (r.big ? 8 : 4); ++i) bytes[(r.big ? 8 : 4) + i] = 0;
    bytes[r.little ? (r.big ? 8 : 4) : (r.big ? 15 : 7)] = uint8_t(headSize);
    return tiffImageSize(bytes.data(), bytes.size());
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
