#include "imaging/mapping_rows.h"

#include <algorithm>
#include <cmath>
#include <cstring>

// An AVX2 copy of the row loop where the compiler can dispatch on the CPU:
// it computes four samples per instruction instead of two. Not with clang,
// which does not clone function templates.
#if defined(__x86_64__) && defined(__GNUC__) && !defined(__clang__)
#define QF_ROW_CLONES __attribute__((target_clones("avx2", "default")))
#else
#define QF_ROW_CLONES
#endif

namespace qf {

namespace {

const uint8_t kWhite[4] = {255, 255, 255, 255};

// Samples per chunk of a row, and how often their input lines are requested
// ahead (8 BGR pixels are less than a cache line).
constexpr int kChunk = 256;
constexpr int kPrefetchEvery = 8;

// Rows below this many pixels are not worth handing to other threads.
constexpr int64_t kParallelPixels = 1 << 16;

bool fitsInt32(double v) {
    return v > -2147483648.0 && v < 2147483647.0;
}

// Any row, any image: 64-bit coordinates (|j * c| stays below the row's
// length and |g| within int32) and a checked byte copy.
void sampleRowChecked(const cv::Mat& in, uint8_t* dst, int64_t j0, int64_t j1,
                      const RowSamples& r) {
    const uint64_t w = uint64_t(in.cols);
    const uint64_t h = uint64_t(in.rows);
    for (int64_t j = j0; j < j1; ++j, dst += 3) {
        const double jd = double(j);
        const int64_t x = int64_t(jd * r.cx + r.g.x);
        const int64_t y = int64_t(jd * r.cy + r.g.y);
        const uint8_t* s =
            uint64_t(x) < w && uint64_t(y) < h ? in.ptr<uint8_t>(int(y)) + x * 3 : kWhite;
        std::memcpy(dst, s, 3);
    }
}

// Copies the samples of [j0, j1) chunk by chunk: the addresses of chunk c + 1
// (asked of `addresses`, which returns how many it wrote) are computed and
// prefetched before chunk c is copied, with 4-byte moves whose extra byte
// lands on the next output pixel, written right after.
template <typename Addresses>
[[gnu::always_inline]] inline void copyChunks(uint8_t* dst, int64_t j0, int64_t j1,
                                              const Addresses& addresses) {
    const uint8_t* from[2][kChunk];
    int n = addresses(j0, from[0]);
    int current = 0;
    for (int64_t base = j0; base < j1; base += kChunk) {
        const int next = base + kChunk < j1 ? addresses(base + kChunk, from[current ^ 1]) : 0;
        const uint8_t* const* f = from[current];
        for (int k = 0; k < n - 1; ++k, dst += 3) std::memcpy(dst, f[k], 4);
        std::memcpy(dst, f[n - 1], 3);
        dst += 3;
        n = next;
        current ^= 1;
    }
}

// The usual row: the source address of each sample of a chunk first (a loop
// the compiler vectorises, with int32 offsets), then 4-byte moves. Each move's
// extra byte lands on the next output pixel, written right after; the input
// is read past a sample only where a byte follows it, so the image's last
// pixel is read from a copy.
QF_ROW_CLONES void sampleRowFast(const cv::Mat& in, uint8_t* dst, int64_t j0, int64_t j1,
                                 const RowSamples& r) {
    const uint32_t w = uint32_t(in.cols);
    const uint32_t h = uint32_t(in.rows);
    const int32_t step = int32_t(in.step[0]);
    const uint8_t* src = in.data;
    const int32_t lastPixel = int32_t(h - 1) * step + int32_t(w - 1) * 3;
    uint8_t lastCopy[4] = {};
    std::memcpy(lastCopy, src + lastPixel, 3);
    const double gx = r.g.x;
    const double gy = r.g.y;
    const double cx = r.cx;
    const double cy = r.cy;
    // The samples of a skewed quadrilateral cross input rows at every few
    // pixels, a pattern the hardware prefetcher does not follow: the lines of
    // chunk c + 1 are requested before chunk c is copied. (Captures by value,
    // or the compiler cannot prove `from` aliases none of them.)
    const auto addresses = [=, &lastCopy](int64_t base, const uint8_t** from) {
        const int n = int(std::min<int64_t>(kChunk, j1 - base));
        const double jBase = double(base);
        for (int k = 0; k < n; ++k) {
            const double jd = jBase + k;
            const int32_t x = int32_t(jd * cx + gx);
            const int32_t y = int32_t(jd * cy + gy);
            const bool inside = uint32_t(x) < w && uint32_t(y) < h;
            const int32_t o = inside ? y * step + x * 3 : 0;
            from[k] = !inside ? kWhite : o == lastPixel ? lastCopy : src + o;
        }
        for (int k = 0; k < n; k += kPrefetchEvery) __builtin_prefetch(from[k]);
        return n;
    };
    copyChunks(dst, j0, j1, addresses);
}

void sampleRow(const cv::Mat& in, uint8_t* dst, int64_t j0, int64_t j1, const RowSamples& r) {
    if (j1 <= j0) return;
    // Each coordinate is monotonic along the row, so its ends bound it.
    const double first = double(j0);
    const double last = double(j1 - 1);
    const bool fast = in.step[0] * std::size_t(in.rows) < (std::size_t(1) << 31) &&
                      fitsInt32(first * r.cx + r.g.x) && fitsInt32(last * r.cx + r.g.x) &&
                      fitsInt32(first * r.cy + r.g.y) && fitsInt32(last * r.cy + r.g.y);
    if (fast) {
        sampleRowFast(in, dst, j0, j1, r);
    } else {
        sampleRowChecked(in, dst, j0, j1, r);
    }
}

// The perspective row: a division per sample, then the same chunked copy.
// The samples of a chunk are computed in single precision from its first
// sample's homogeneous coordinates (taken in double): eight per instruction
// instead of four, at a cost of about a thousandth of a pixel, so that only
// a point that close to the middle between two pixels may take the other
// one. Offset is int32_t for pictures under 2 GiB, which lets the compiler
// compute eight addresses per instruction, else int64_t.
template <typename Offset>
QF_ROW_CLONES void perspectiveRowNearest(const cv::Mat& in, uint8_t* dst, int64_t j0, int64_t j1,
                                         const PerspectiveRow& r) {
    const double w1 = in.cols + 1.0;
    const double h1 = in.rows + 1.0;
    const uint32_t uw = uint32_t(in.cols);
    const uint32_t uh = uint32_t(in.rows);
    const Offset step = Offset(in.step[0]);
    const uint8_t* src = in.data;
    const Offset lastPixel = Offset(in.rows - 1) * step + Offset(in.cols - 1) * 3;
    uint8_t lastCopy[4] = {};
    std::memcpy(lastCopy, src + lastPixel, 3);
    const PerspectiveRow q = r;
    const auto addresses = [=, &lastCopy](int64_t base, const uint8_t** from) {
        const int n = int(std::min<int64_t>(kChunk, j1 - base));
        const double jBase = double(base);
        const float fw0 = float(q.w0 + jBase * q.wj), fwj = float(q.wj);
        const float fx0 = float(q.x0 + jBase * q.xj), fxj = float(q.xj);
        const float fy0 = float(q.y0 + jBase * q.yj), fyj = float(q.yj);
        const float fw1 = float(w1), fh1 = float(h1);
        for (int k = 0; k < n; ++k) {
            const float jf = float(k);
            const float inv = 1.0f / (fw0 + jf * fwj);
            // One and a half pixels on, clamped to where a conversion is
            // defined and truncated: one more than the index of the nearest
            // pixel, 0 for any point left of or above the picture (and for
            // a point that is not a number). No branches, so that the loop
            // is vectorised.
            const float tx = std::min(std::max(0.0f, (fx0 + jf * fxj) * inv + 1.5f), fw1);
            const float ty = std::min(std::max(0.0f, (fy0 + jf * fyj) * inv + 1.5f), fh1);
            const int32_t x = int32_t(tx) - 1;
            const int32_t y = int32_t(ty) - 1;
            const bool inside = (uint32_t(x) < uw) & (uint32_t(y) < uh);
            const Offset o = Offset(y) * step + Offset(x) * 3;
            from[k] = !inside ? kWhite : o == lastPixel ? lastCopy : src + o;
        }
        for (int k = 0; k < n; k += kPrefetchEvery) __builtin_prefetch(from[k]);
        return n;
    };
    copyChunks(dst, j0, j1, addresses);
}

// The interpolated row: each chunk's points in single precision as above
// (a vectorised loop), then each output pixel blended from the four input
// pixels around its point with weights in 1/256 pixel, in integers.
QF_ROW_CLONES void perspectiveRowInterpolated(const cv::Mat& in, uint8_t* dst, int64_t j0,
                                              int64_t j1, const PerspectiveRow& r) {
    const int w = in.cols;
    const int h = in.rows;
    const float fw = float(w), fh = float(h);
    float xs[kChunk], ys[kChunk];
    for (int64_t base = j0; base < j1; base += kChunk) {
        const int n = int(std::min<int64_t>(kChunk, j1 - base));
        const double jBase = double(base);
        const float fw0 = float(r.w0 + jBase * r.wj), fwj = float(r.wj);
        const float fx0 = float(r.x0 + jBase * r.xj), fxj = float(r.xj);
        const float fy0 = float(r.y0 + jBase * r.yj), fyj = float(r.yj);
        for (int k = 0; k < n; ++k) {
            const float jf = float(k);
            const float inv = 1.0f / (fw0 + jf * fwj);
            // Kept to a range where the conversions below are defined
            // (a point that is not a number goes to -1, outside).
            xs[k] = std::min(std::max(-1.0f, (fx0 + jf * fxj) * inv), fw + 1.0f);
            ys[k] = std::min(std::max(-1.0f, (fy0 + jf * fyj) * inv), fh + 1.0f);
        }
        for (int k = 0; k < n; ++k, dst += 3) {
            const float x = xs[k], y = ys[k];
            // White where the nearest pixel lies outside the input.
            if (!(x + 0.5f >= 0.0f && x + 0.5f < fw && y + 0.5f >= 0.0f && y + 0.5f < fh)) {
                std::memcpy(dst, kWhite, 3);
                continue;
            }
            const int xi = int(std::floor(x)), yi = int(std::floor(y));
            const int ax = int((x - float(xi)) * 256.0f + 0.5f);
            const int ay = int((y - float(yi)) * 256.0f + 0.5f);
            // Beyond the border the edge pixels repeat.
            const int xa = std::clamp(xi, 0, w - 1) * 3, xb = std::clamp(xi + 1, 0, w - 1) * 3;
            const uint8_t* top = in.ptr<uint8_t>(std::clamp(yi, 0, h - 1));
            const uint8_t* bottom = in.ptr<uint8_t>(std::clamp(yi + 1, 0, h - 1));
            for (int c = 0; c < 3; ++c) {
                const int upper = top[xa + c] * (256 - ax) + top[xb + c] * ax;
                const int lower = bottom[xa + c] * (256 - ax) + bottom[xb + c] * ax;
                dst[c] = uint8_t((upper * (256 - ay) + lower * ay + 32768) >> 16);
            }
        }
    }
}

// Runs body over the rows, on several threads when the work is worth it.
template <typename Body>
void forRows(int count, int64_t rowPixels, const Body& body) {
    if (int64_t(count) * rowPixels < kParallelPixels) {
        body(cv::Range(0, count));
    } else {
        cv::parallel_for_(cv::Range(0, count), body, std::max(1.0, count / 16.0));
    }
}

}  // namespace

void sampleRows(const cv::Mat& in, cv::Mat& out, int top, int left, int64_t j0, int64_t j1,
                const std::vector<RowSamples>& rows) {
    forRows(int(rows.size()), j1 - j0, [&](const cv::Range& range) {
        for (int k = range.start; k < range.end; ++k) {
            uint8_t* dst = out.ptr<uint8_t>(top + k) + (int64_t(left) + j0) * 3;
            sampleRow(in, dst, j0, j1, rows[std::size_t(k)]);
        }
    });
}

void samplePerspectiveRows(const cv::Mat& in, cv::Mat& out, int top, int left, int64_t j0,
                           int64_t j1, const std::vector<PerspectiveRow>& rows,
                           MappingSampling sampling) {
    if (j1 <= j0) return;
    const bool small = in.step[0] * std::size_t(in.rows) < (std::size_t(1) << 31);
    forRows(int(rows.size()), j1 - j0, [&](const cv::Range& range) {
        for (int k = range.start; k < range.end; ++k) {
            uint8_t* dst = out.ptr<uint8_t>(top + k) + (int64_t(left) + j0) * 3;
            if (sampling == MappingSampling::Nearest && small) {
                perspectiveRowNearest<int32_t>(in, dst, j0, j1, rows[std::size_t(k)]);
            } else if (sampling == MappingSampling::Nearest) {
                perspectiveRowNearest<int64_t>(in, dst, j0, j1, rows[std::size_t(k)]);
            } else {
                perspectiveRowInterpolated(in, dst, j0, j1, rows[std::size_t(k)]);
            }
        }
    });
}

}  // namespace qf
