#include "view/paint/image_display.h"

#include <QImage>
#include <algorithm>
#include <cstring>
#include <opencv2/core.hpp>
#include <opencv2/imgproc.hpp>
#include <vector>

#include "graph/paint_support.h"

namespace qf {

namespace {

bool isEmpty(const IntRect& r) {
    return r.right <= r.left || r.bottom <= r.top;
}

IntRect intersect(const IntRect& a, const IntRect& b) {
    return {std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
            std::min(a.bottom, b.bottom)};
}

// The zoomed image in window coordinates.
IntRect imageWindowRect(const ViewTransform& view, IntSize imageSize) {
    const int32_t z = view.zoomShift;
    const IntPoint s = view.scrollPos;
    return {-s.x, -s.y, scaleToWindow(imageSize.cx, z) - s.x, scaleToWindow(imageSize.cy, z) - s.y};
}

// Pixels are handed to the painter as 32-bit BGRX (QImage::Format_RGB32),
// the layout of the window's own surface, so drawing them is a plain copy
// rather than a conversion of every pixel on each repaint.
constexpr uint32_t kOpaque = 0xFF000000u;

void toBgrx(const cv::Mat& from, cv::Mat& to) {
    switch (from.channels()) {
        case 3:
            cv::cvtColor(from, to, cv::COLOR_BGR2BGRA);
            break;
        case 1:
            cv::cvtColor(from, to, cv::COLOR_GRAY2BGRA);
            break;
        default: {
            // Format_RGB32 wants its fourth byte opaque, whatever the picture's alpha.
            cv::Mat bgr;
            cv::cvtColor(from, bgr, cv::COLOR_BGRA2BGR);
            cv::cvtColor(bgr, to, cv::COLOR_BGR2BGRA);
            break;
        }
    }
}

uint32_t bgrxAt(const uint8_t* p, int channels) {
    if (channels == 1) return kOpaque | uint32_t(p[0]) << 16 | uint32_t(p[0]) << 8 | p[0];
    return kOpaque | uint32_t(p[2]) << 16 | uint32_t(p[1]) << 8 | p[0];
}

// The pixel grid marks the left column and bottom row of every magnified
// pixel, from cells of 8 window pixels on; positions follow the zoomed image.
struct PixelGrid {
    bool on = false;
    uint32_t bgrx = 0;
};

PixelGrid pixelGridOf(const ViewState& state) {
    if (!state.showPixelGrid || state.transform.zoomShift < 3) return {};
    const uint32_t c = state.pixelGridColour;  // 0x00BBGGRR
    return {true, kOpaque | (c & 0xFF) << 16 | (c & 0xFF00) | (c >> 16 & 0xFF)};
}

// Nearest-neighbour sampling of the window area `area`: window pixel (x, y)
// shows image pixel ((x + sx, y + sy) scaled to the image), the same
// conversion the mouse uses, so what is under the cursor is what is shown.
// Only the image pixels inside the area are read. The grid goes into the
// pixels themselves: painting it as a hundred thin rectangles costs more than
// the whole picture.
cv::Mat sampleArea(const cv::Mat& image, const ViewTransform& view, const IntRect& area,
                   PixelGrid grid) {
    const int32_t z = view.zoomShift;
    const IntPoint s = view.scrollPos;
    auto sourceX = [&](int32_t x) { return scaleToImage(x + s.x, z); };
    auto sourceY = [&](int32_t y) { return scaleToImage(y + s.y, z); };
    const cv::Rect source(sourceX(area.left), sourceY(area.top),
                          sourceX(area.right - 1) - sourceX(area.left) + 1,
                          sourceY(area.bottom - 1) - sourceY(area.top) + 1);
    cv::Mat out(area.height(), area.width(), CV_8UC4);

    if (z == 0) {
        toBgrx(image(source), out);
        return out;
    }
    std::vector<int32_t> columns(static_cast<std::size_t>(area.width()));
    for (int32_t x = area.left; x < area.right; ++x) {
        columns[static_cast<std::size_t>(x - area.left)] = sourceX(x) - source.x;
    }
    cv::Mat pixels;  // the source region as BGRX, each pixel then repeated
    if (z > 0) toBgrx(image(source), pixels);
    const int channels = image.channels();
    const std::size_t elem = image.elemSize();
    const int32_t cell = cellSizeFor(z);
    const std::size_t rowBytes = static_cast<std::size_t>(out.cols) * sizeof(uint32_t);
    int32_t built = -1;  // the last row sampled from the image, grid columns included
    int32_t builtFrom = -1;
    for (int32_t y = area.top; y < area.bottom; ++y) {
        const int32_t row = y - area.top;
        auto* dst = out.ptr<uint32_t>(row);
        if (grid.on && (y + s.y) % cell == cell - 1) {
            std::fill(dst, dst + out.cols, grid.bgrx);
            continue;
        }
        const int32_t from = sourceY(y) - source.y;
        if (from == builtFrom) {
            std::memcpy(dst, out.ptr<uint32_t>(built), rowBytes);
            continue;
        }
        built = row;
        builtFrom = from;
        if (z > 0) {
            const auto* src = pixels.ptr<uint32_t>(from);
            for (int32_t c : columns) *dst++ = src[c];
        } else {
            // Reduced: every 2^-z-th pixel, converted on the way.
            const uint8_t* src = image.ptr<uint8_t>(source.y + from) + source.x * elem;
            for (int32_t c : columns) *dst++ = bgrxAt(src + c * elem, channels);
        }
        if (grid.on) {
            auto* line = out.ptr<uint32_t>(row);
            const int32_t first = (cell - (area.left + s.x) % cell) % cell;
            for (int32_t x = first; x < out.cols; x += cell) line[x] = grid.bgrx;
        }
    }
    return out;
}

// A QImage over the Mat's BGRX pixels; the Mat must outlive it.
QImage imageOver(const cv::Mat& m) {
    return QImage(m.data, m.cols, m.rows, static_cast<qsizetype>(m.step[0]), QImage::Format_RGB32);
}

// A reduced copy costs 4 bytes a pixel; beyond this many pixels (16 MB) the
// visible part is sampled directly instead.
constexpr int64_t kMaxReducedPixels = 4 << 20;

bool drawableImage(const cv::Mat& image) {
    const int channels = image.channels();
    return image.depth() == CV_8U && (channels == 1 || channels == 3 || channels == 4);
}

}  // namespace

const cv::Mat& ReducedImageCache::reducedFor(const cv::Mat& image, int32_t zoomShift) {
    const bool same = m_source.data == image.data && m_source.size() == image.size() &&
                      m_source.type() == image.type() && m_source.step == image.step &&
                      m_zoomShift == zoomShift;
    if (same) return m_reduced;
    clear();
    const int32_t w = scaleToWindow(image.cols, zoomShift);
    const int32_t h = scaleToWindow(image.rows, zoomShift);
    if (zoomShift >= 0 || w <= 0 || h <= 0 || int64_t{w} * h > kMaxReducedPixels ||
        !drawableImage(image))
        return m_reduced;
    m_reduced.create(h, w, CV_8UC4);
    const int channels = image.channels();
    const std::size_t elem = image.elemSize();
    for (int32_t y = 0; y < h; ++y) {
        const uint8_t* src = image.ptr<uint8_t>(scaleToImage(y, zoomShift));
        auto* dst = m_reduced.ptr<uint32_t>(y);
        for (int32_t x = 0; x < w; ++x)
            dst[x] =
                bgrxAt(src + static_cast<std::size_t>(scaleToImage(x, zoomShift)) * elem, channels);
    }
    m_source = image;
    m_zoomShift = zoomShift;
    return m_reduced;
}

void ReducedImageCache::clear() {
    m_source.release();
    m_reduced.release();
    m_zoomShift = 0;
}

DisplayColours displayColoursFrom(const QPalette& palette) {
    const QColor c = palette.color(QPalette::Inactive, QPalette::Window);
    return {static_cast<uint32_t>(c.red()) | static_cast<uint32_t>(c.green()) << 8 |
            static_cast<uint32_t>(c.blue()) << 16};
}

IntRect visibleImageArea(const ViewTransform& view, IntSize imageSize, IntSize clientSize) {
    if (imageSize.cx <= 0 || imageSize.cy <= 0) return {};
    const IntRect area =
        intersect(imageWindowRect(view, imageSize), {0, 0, clientSize.cx, clientSize.cy});
    return isEmpty(area) ? IntRect{} : area;
}

void paintImageDisplay(QPainter& painter, const ViewState& state, IntSize clientSize,
                       const DisplayColours& colours, ReducedImageCache* cache) {
    const QRect client(0, 0, clientSize.cx, clientSize.cy);
    const QColor border = paint::colourOf(colours.inactiveBorder);
    const cv::Mat* image = state.current();
    if (!image || image->empty()) {
        if (cache) cache->clear();
        painter.fillRect(client, border);
        return;
    }
    const ViewTransform& view = state.transform;
    const IntSize size = state.imageSize();
    const IntRect whole = imageWindowRect(view, size);

    // Margins: everything right of and below the zoomed image.
    if (whole.right < clientSize.cx) {
        const int32_t left = std::max(whole.right, 0);
        painter.fillRect(QRect(left, 0, clientSize.cx - left, clientSize.cy), border);
    }
    if (whole.bottom < clientSize.cy) {
        const int32_t top = std::max(whole.bottom, 0);
        painter.fillRect(QRect(0, top, clientSize.cx, clientSize.cy - top), border);
    }

    const IntRect area = visibleImageArea(view, size, clientSize);
    // An image that shrinks to nothing at a negative zoom shows no pixels.
    if (isEmpty(area)) return;

    const int32_t source = state.display.displaySource;
    const bool shown = (source == 1 || source == 2) && drawableImage(*image);
    const bool reduced = shown && view.zoomShift < 0 && cache;
    if (cache && !reduced) cache->clear();  // nothing to keep the picture for
    const cv::Mat* kept = reduced ? &cache->reducedFor(*image, view.zoomShift) : nullptr;
    if (kept && !kept->empty()) {
        const cv::Rect visible(area.left + view.scrollPos.x, area.top + view.scrollPos.y,
                               area.width(), area.height());
        const cv::Mat pixels = (*kept)(visible);
        painter.drawImage(QPoint(area.left, area.top), imageOver(pixels));
    } else if (shown) {
        const cv::Mat pixels = sampleArea(*image, view, area, pixelGridOf(state));
        painter.drawImage(QPoint(area.left, area.top), imageOver(pixels));
    } else {
        painter.fillRect(paint::toQRect(area), Qt::white);
    }

    // Black line just outside the bottom and right edges, drawn as lines from
    // the bottom-left to the bottom-right and on to the top-right corner that
    // leave out their end pixel: the top-right one stays uncovered.
    const QRect bottom(whole.left, whole.bottom, whole.right - whole.left + 1, 1);
    const QRect right(whole.right, whole.top + 1, 1, whole.bottom - whole.top);
    painter.fillRect(bottom.intersected(client), Qt::black);
    painter.fillRect(right.intersected(client), Qt::black);
}

}  // namespace qf
