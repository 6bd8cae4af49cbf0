#pragma once
// The trace of a curve for its extraction: the pixels of the curve's colour
// reachable from the clicked one in steps that bridge gaps up to a length.
// Two ways give the same pixels: a walk from the click that reads only the
// tiles the curve crosses (quick for a curve), and a pass over the whole
// rectangle whose work grows with its area alone, not with the gap (taken
// once the walk has cost about as much).

#include <opencv2/core.hpp>

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "imaging/curve_extraction.h"

namespace qf::extraction {

// Components this small are noise, never part of a trace.
inline constexpr int kSpeckPixels = 3;
// A trace over more than this share of the rectangle (1/n) is not a curve:
// the colour is the ground's, a filled area's or noise's.
inline constexpr int kMostOfTheRectangle = 4;

// The pixels an extraction examined, and the caller's cancel hook, asked
// every so many of them.
class WorkMeter {
public:
    explicit WorkMeter(const ExtractionCancel& cancel) : cancel_(cancel) {}
    // Counts n pixels examined; true once the extraction is to stop.
    bool add(int64_t n) {
        done_ += n;
        if (done_ >= nextPoll_) {
            nextPoll_ = done_ + kPollEvery;
            if (!cancelled_ && cancel_ && cancel_()) cancelled_ = true;
        }
        return cancelled_;
    }
    // Counts a pass over rows x cols pixels a row at a time, so that the
    // hook is asked as often as if each row were counted as it was read.
    bool addRows(int64_t rows, int64_t cols) {
        for (int64_t y = 0; y < rows; ++y)
            if (add(cols)) return true;
        return cancelled_;
    }
    int64_t done() const { return done_; }
    bool cancelled() const { return cancelled_; }

private:
    static constexpr int64_t kPollEvery = 1 << 15;  // well under a millisecond of work
    const ExtractionCancel& cancel_;
    int64_t done_ = 0;
    int64_t nextPoll_ = 0;
    bool cancelled_ = false;
};

// A byte per pixel of the axis rectangle, kept in tiles that exist only
// where something was written: a curve crosses a small part of a large
// picture, and neither the work nor the memory should grow with the rest.
class Tiles {
public:
    static constexpr int kShift = 7;
    static constexpr int kTile = 1 << kShift;  // 128 x 128 pixels
    explicit Tiles(cv::Size size);

    int cols() const { return size_.width; }
    int rows() const { return size_.height; }
    uint8_t get(int x, int y) const {
        const uint8_t* t = tiles_[index(x, y)].get();
        return t ? t[offset(x, y)] : 0;
    }
    bool has(int tx, int ty) const {
        return tiles_[std::size_t(ty) * std::size_t(across_) + std::size_t(tx)] != nullptr;
    }
    uint8_t& ref(int x, int y) {
        std::unique_ptr<uint8_t[]>& t = tiles_[index(x, y)];
        if (!t) t = std::make_unique<uint8_t[]>(kTile * kTile);  // zeroed
        return t[offset(x, y)];
    }
    // The tile at tile coordinates (tx, ty) as an image of its own size.
    cv::Mat tile(int tx, int ty);

private:
    std::size_t index(int x, int y) const {
        return std::size_t(y >> kShift) * std::size_t(across_) + std::size_t(x >> kShift);
    }
    static std::size_t offset(int x, int y) {
        return std::size_t((y & (kTile - 1)) << kShift) + std::size_t(x & (kTile - 1));
    }
    cv::Size size_;
    int across_;
    std::vector<std::unique_ptr<uint8_t[]>> tiles_;
};

// The curve's colour as a mask of the axis rectangle (8-bit BGR), made tile
// by tile as the trace reaches it: converting and thresholding only what the
// curve crosses is what keeps a click quick on a large picture.
class LazyMask {
public:
    // lo and hi bound the colour in OpenCV's 8-bit Lab.
    LazyMask(const cv::Mat& roi, const cv::Scalar& lo, const cv::Scalar& hi, WorkMeter& work)
        : roi_(roi), lo_(lo), hi_(hi), work_(work), mask_(roi.size()) {}

    int cols() const { return roi_.cols; }
    int rows() const { return roi_.rows; }
    // Makes every tile the box [x0, x1] x [y0, y1] touches.
    void prepare(int x0, int y0, int x1, int y1) {
        for (int ty = y0 >> Tiles::kShift; ty <= y1 >> Tiles::kShift; ++ty)
            for (int tx = x0 >> Tiles::kShift; tx <= x1 >> Tiles::kShift; ++tx) make(tx, ty);
    }
    // Only inside a prepared box.
    bool prepared(int x, int y) const { return mask_.get(x, y) != 0; }
    bool at(int x, int y) {
        make(x >> Tiles::kShift, y >> Tiles::kShift);
        return mask_.get(x, y) != 0;
    }
    // The same mask of the whole rectangle at once (0 or 255), made in bands
    // so that a cancel is heard; empty when cancelled.
    cv::Mat whole();

private:
    void make(int tx, int ty);

    const cv::Mat& roi_;
    cv::Scalar lo_, hi_;
    WorkMeter& work_;
    Tiles mask_;
    cv::Mat lab_;
};

// The 8-connected piece of the mask through p: its bounding box and size,
// found only as far as `limit` pixels (enough to tell a speck or a marker).
struct Piece {
    int left, top, right, bottom;
    int area = 0;
    bool complete = true;  // false: larger than the limit
    int width() const { return right - left + 1; }
    int height() const { return bottom - top + 1; }
};
Piece pieceAt(LazyMask& mask, cv::Point p, int limit, WorkMeter& work);
// Whether the piece through p (a mask pixel) has kSpeckPixels pixels or fewer.
bool inSpeck(LazyMask& mask, cv::Point p, WorkMeter& work);

enum class TraceEnd { Done, TooLarge, Cancelled };

struct Trace {
    TraceEnd end = TraceEnd::Done;
    std::vector<char> columns;  // which columns it touches
    int64_t pixels = 0;
    // Which of the two ways found it: on the walk's tiles, or on a whole mask.
    std::optional<Tiles> walked;
    cv::Mat whole;  // 8-bit, non-zero on the trace

    bool on(int x, int y) const;
};

// How traceCurve goes: the walk until it has cost as much as the whole
// pass (or found the trace), then the whole pass; or only one of the two.
enum class TraceWay { Either, Walk, Whole };

// The trace through `seed` (a mask pixel outside any speck) that bridges
// gaps of up to `reach` pixels (1: touching pixels only). Specks of
// kSpeckPixels pixels or fewer are left out. Ends early when it grows over
// the share of the rectangle no curve covers, or when cancelled.
Trace traceCurve(LazyMask& mask, cv::Point seed, int reach, WorkMeter& work,
                 TraceWay way = TraceWay::Either);

}  // namespace qf::extraction
