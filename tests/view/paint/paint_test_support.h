#pragma once
// A view state over a synthetic picture, painted into a QImage whose pixels
// are read back as 0x00BBGGRR.

#include <QImage>
#include <QPainter>
#include <cstdint>
#include <opencv2/core.hpp>
#include <set>

#include "graph/renderer.h"
#include "view/paint/image_display.h"
#include "view/paint/overlays.h"
#include "view/paint/view_paint.h"
#include "view/view_state.h"

#include "../../support/pixels.h"

namespace qf::test {

inline constexpr uint32_t kBorder = 0x80A0C0;     // stands for the inactive border
inline constexpr uint32_t kUnpainted = 0x123456;  // what the canvas holds before painting
inline constexpr uint32_t kWhite = 0xFFFFFF;
inline constexpr uint32_t kBlack = 0x000000;

// Image pixel (x, y) as 0x00BBGGRR from a BGR Mat.
inline uint32_t pixelOf(const cv::Mat& m, int x, int y) {
    const cv::Vec3b v = m.at<cv::Vec3b>(y, x);
    return static_cast<uint32_t>(v[2]) | static_cast<uint32_t>(v[1]) << 8 |
           static_cast<uint32_t>(v[0]) << 16;
}

// Every pixel tells its position: blue the column, green the row (both mod
// 256), red the higher bits of both.
inline cv::Mat patternImage(int w, int h) {
    cv::Mat m(h, w, CV_8UC3);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            m.at<cv::Vec3b>(y, x) =
                cv::Vec3b(uint8_t(x & 255), uint8_t(y & 255), uint8_t(((x >> 8) << 4) | (y >> 8)));
        }
    }
    return m;
}

inline cv::Mat plainImage(int w, int h, uint32_t bgr) {
    return cv::Mat(h, w, CV_8UC3, cv::Scalar((bgr >> 16) & 0xFF, (bgr >> 8) & 0xFF, bgr & 0xFF));
}

// Input and output both `image`, the given one displayed, zoom z and scroll.
inline ViewState stateOver(const cv::Mat& image, int displaySource = 1, int zoom = 0,
                           IntPoint scroll = {}) {
    ViewState s;
    s.images.inputImage = image;
    s.images.outputImage = image.clone();
    s.display.displaySource = displaySource;
    selectCurrentImage(s.display);
    s.transform.zoomShift = zoom;
    s.transform.cellSize = {cellSizeFor(zoom), cellSizeFor(zoom)};
    s.transform.scrollPos = scroll;
    return s;
}

inline QImage canvas(IntSize client) {
    QImage image(client.cx, client.cy, QImage::Format_RGB32);
    image.fill(QColor(0x56, 0x34, 0x12));
    return image;
}

inline QImage displayOf(const ViewState& s, IntSize client, ReducedImageCache* cache = nullptr) {
    QImage image = canvas(client);
    QPainter painter(&image);
    paintImageDisplay(painter, s, client, DisplayColours{kBorder}, cache);
    return image;
}

// The image display with the overlays over it, as the view paints.
inline QImage viewOf(const ViewState& s, IntSize client) {
    QImage image = canvas(client);
    QPainter painter(&image);
    paintView(painter, s, client, DisplayColours{kBorder}, defaultLabelFont());
    return image;
}

inline int countOf(const QImage& image, uint32_t colour) {
    int n = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) n += colourAt(image, x, y) == colour;
    }
    return n;
}

}  // namespace qf::test
