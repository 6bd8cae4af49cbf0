// The sizes the headers of OpenCV's other formats declare, read as its
// decoders read them, so that a picture over the limit is refused before
// OpenCV takes memory for it.

#include <cctype>
#include <climits>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "imaging/codecs/codecs.h"

namespace qf::codec {
namespace {

using Bytes = std::vector<uint8_t>;

uint32_t be32(const uint8_t* p) {
    return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3];
}
uint32_t le32(const uint8_t* p) {
    return uint32_t(p[3]) << 24 | uint32_t(p[2]) << 16 | uint32_t(p[1]) << 8 | p[0];
}
uint32_t le24(const uint8_t* p) {
    return uint32_t(p[2]) << 16 | uint32_t(p[1]) << 8 | p[0];
}
uint32_t le16(const uint8_t* p) {
    return uint32_t(p[1]) << 8 | p[0];
}

bool startsWith(const Bytes& b, const char* text, std::size_t at = 0) {
    const std::size_t n = std::strlen(text);
    return b.size() >= at + n && std::memcmp(b.data() + at, text, n) == 0;
}

// Sizes past OpenCV's int are left to it to refuse.
HeaderSize sized(int64_t width, int64_t height) {
    HeaderSize s;
    s.width = width;
    s.height = height;
    s.known = width > 0 && height > 0 && width <= INT_MAX && height <= INT_MAX;
    return s;
}

// Up to `n` bytes of the file from `at`.
Bytes bytesAt(std::FILE* f, uint64_t at, std::size_t n) {
    Bytes b(n);
    if (at > uint64_t(LONG_MAX) || std::fseek(f, long(at), SEEK_SET) != 0) return {};
    b.resize(std::fread(b.data(), 1, n, f));
    return b;
}

// Netpbm headers: numbers between blanks, '#' comments to the end of a line.
class NetpbmText {
public:
    NetpbmText(const Bytes& b, std::size_t at) : m_b(b), m_at(at) {}
    bool number(int64_t& v) {
        while (m_at < m_b.size() && (std::isspace(m_b[m_at]) || m_b[m_at] == '#')) {
            if (m_b[m_at] == '#')
                while (m_at < m_b.size() && m_b[m_at] != '\n' && m_b[m_at] != '\r') ++m_at;
            else
                ++m_at;
        }
        v = 0;
        std::size_t digits = 0;
        for (; m_at < m_b.size() && std::isdigit(m_b[m_at]); ++m_at, ++digits) {
            v = v * 10 + (m_b[m_at] - '0');
            if (v > int64_t(UINT32_MAX)) return false;
        }
        return digits > 0;
    }

private:
    const Bytes& m_b;
    std::size_t m_at;
};

// P1 to P6 (PBM, PGM, PPM) and PF, Pf (PFM): width, then height.
HeaderSize netpbmSize(const Bytes& b) {
    NetpbmText text(b, 2);
    int64_t w = 0, h = 0;
    if (!text.number(w) || !text.number(h)) return {};
    return sized(w, h);
}

// P7 (PAM): "KEY value" lines up to ENDHDR.
HeaderSize pamSize(const Bytes& b) {
    int64_t w = 0, h = 0;
    std::size_t at = 3;
    while (at < b.size()) {
        std::size_t end = at;
        while (end < b.size() && b[end] != '\n') ++end;
        const std::string line(b.begin() + long(at), b.begin() + long(end));
        at = end + 1;
        char key[16] = {};
        long long value = 0;
        if (std::sscanf(line.c_str(), " %15s", key) != 1 || key[0] == '#') continue;
        if (std::strcmp(key, "ENDHDR") == 0) return sized(w, h);
        if (std::sscanf(line.c_str(), " %*15s %lld", &value) != 1 || value > int64_t(UINT32_MAX))
            continue;
        if (std::strcmp(key, "WIDTH") == 0) w = value;
        if (std::strcmp(key, "HEIGHT") == 0) h = value;
    }
    return {};
}

// Radiance: text lines up to a blank one, then "-Y height +X width" (the
// only orientation OpenCV reads).
HeaderSize radianceSize(const Bytes& b) {
    const std::string text(b.begin(), b.end());
    const std::size_t blank = text.find("\n\n");
    if (blank == std::string::npos) return {};
    int h = 0, w = 0;
    if (std::sscanf(text.c_str() + blank + 2, "-Y %d +X %d", &h, &w) != 2) return {};
    return sized(w, h);
}

// VP8 (lossy) frame: a tag, the start code, then 14-bit width and height.
bool vp8Frame(const Bytes& b, std::size_t at, HeaderSize& s) {
    if (b.size() < at + 10 || b[at + 3] != 0x9D || b[at + 4] != 0x01 || b[at + 5] != 0x2A)
        return false;
    s = sized(le16(&b[at + 6]) & 0x3FFF, le16(&b[at + 8]) & 0x3FFF);
    return true;
}
// VP8L (lossless): a signature byte, then width - 1 and height - 1 in 14 bits each.
bool vp8lFrame(const Bytes& b, std::size_t at, HeaderSize& s) {
    if (b.size() < at + 5 || b[at] != 0x2F || b[at + 4] >> 5 != 0) return false;
    const uint32_t bits = le32(&b[at + 1]);
    s = sized((bits & 0x3FFF) + 1, (bits >> 14 & 0x3FFF) + 1);
    return true;
}

// WebP: in its RIFF container (the extended form gives the canvas size) or,
// as libwebp also reads them, a bare VP8 or VP8L stream.
bool webpSize(const Bytes& b, HeaderSize& s) {
    if (startsWith(b, "RIFF") && startsWith(b, "WEBP", 8)) {
        if (startsWith(b, "VP8 ", 12)) return vp8Frame(b, 20, s);
        if (startsWith(b, "VP8L", 12)) return vp8lFrame(b, 20, s);
        if (startsWith(b, "VP8X", 12) && b.size() >= 30) {
            s = sized(int64_t(le24(&b[24])) + 1, int64_t(le24(&b[27])) + 1);
            return true;
        }
        return false;
    }
    return vp8lFrame(b, 0, s) || vp8Frame(b, 0, s);
}

// A JPEG 2000 codestream's SIZ segment, right after its start: the image
// area's corner and its offset from the reference grid's origin.
HeaderSize codestreamSize(const Bytes& b) {
    static const uint8_t kStart[] = {0xFF, 0x4F, 0xFF, 0x51};
    if (b.size() < 24 || std::memcmp(b.data(), kStart, 4) != 0) return {};
    return sized(int64_t(be32(&b[8])) - be32(&b[16]), int64_t(be32(&b[12])) - be32(&b[20]));
}

// JP2: boxes up to the contiguous codestream box.
HeaderSize jp2Size(std::FILE* f) {
    uint64_t at = 12;  // after the signature box
    for (int i = 0; i < 1000; ++i) {
        const Bytes box = bytesAt(f, at, 16);
        if (box.size() < 8) return {};
        uint64_t length = be32(&box[0]);
        std::size_t header = 8;
        if (length == 1) {
            if (box.size() < 16) return {};
            length = uint64_t(be32(&box[8])) << 32 | be32(&box[12]);
            header = 16;
        }
        if (std::memcmp(&box[4], "jp2c", 4) == 0)
            return codestreamSize(bytesAt(f, at + header, 24));
        if (length < header) return {};  // 0: the last box runs to the end
        at += length;
    }
    return {};
}

// OpenEXR: attributes (name, type, size, value) up to an empty name; the
// data window is the picture's extent.
HeaderSize exrSize(std::FILE* f) {
    uint64_t at = 8;  // after the magic number and the version
    for (int i = 0; i < 1000; ++i) {
        const Bytes a = bytesAt(f, at, 256 + 32 + 4 + 16);
        const void* nameEnd = std::memchr(a.data(), 0, a.size());
        if (!nameEnd || nameEnd == a.data()) return {};
        const std::size_t typeAt = std::size_t(static_cast<const uint8_t*>(nameEnd) - a.data()) + 1;
        const void* typeEnd = std::memchr(a.data() + typeAt, 0, a.size() - typeAt);
        if (!typeEnd) return {};
        const std::size_t sizeAt = std::size_t(static_cast<const uint8_t*>(typeEnd) - a.data()) + 1;
        if (a.size() < sizeAt + 4) return {};
        const uint32_t size = le32(&a[sizeAt]);
        if (std::strcmp(reinterpret_cast<const char*>(a.data()), "dataWindow") == 0) {
            if (size != 16 || a.size() < sizeAt + 20) return {};
            const auto i32 = [&](std::size_t k) { return int64_t(int32_t(le32(&a[k]))); };
            const std::size_t v = sizeAt + 4;
            return sized(i32(v + 8) - i32(v) + 1, i32(v + 12) - i32(v + 4) + 1);
        }
        at += sizeAt + 4 + size;
    }
    return {};
}

}  // namespace

HeaderSize otherHeaderSize(std::FILE* f) {
    const Bytes b = bytesAt(f, 0, 64 << 10);
    if (b.size() < 4) return {};
    HeaderSize s;
    // In the order OpenCV tries its decoders.
    if (startsWith(b, "#?RGBE") || startsWith(b, "#?RADIANCE")) return radianceSize(b);
    if (webpSize(b, s)) return s;
    if (be32(b.data()) == 0x59A66A95 && b.size() >= 32)  // Sun raster
        return sized(int32_t(be32(&b[4])), int32_t(be32(&b[8])));
    if (b[0] == 'P' && std::isspace(b[2])) {
        if (b[1] >= '1' && b[1] <= '6') return netpbmSize(b);
        if (b[1] == '7') return pamSize(b);
        if (b[1] == 'F' || b[1] == 'f') return netpbmSize(b);
    }
    static const uint8_t kJp2[] = {0, 0, 0, 0x0C, 'j', 'P', ' ', ' ', '\r', '\n', 0x87, '\n'};
    if (b.size() >= 12 && std::memcmp(b.data(), kJp2, 12) == 0) return jp2Size(f);
    if (b[0] == 0xFF && b[1] == 0x4F) return codestreamSize(b);
    if (be32(b.data()) == 0x762F3101) return exrSize(f);
    return {};
}

}  // namespace qf::codec
