#pragma once
// Draws a scene onto a white QImage and reads pixels back as 0x00BBGGRR.

#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <cstdint>
#include <set>
#include <string>

#include "graph/renderer.h"

#include "../support/pixels.h"

namespace qf::test {

inline constexpr uint32_t kWhite = 0xFFFFFF;
inline constexpr uint32_t kData = 0x0000FF;  // red
inline constexpr uint32_t kAxis = 0xFF0000;  // blue

inline QColor qColour(uint32_t bgr) {
    return QColor(bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF);
}

// A scene over an image of `imageSize` with the default axes and style.
inline GraphScene sceneOf(IntSize imageSize, const GeneratedGraph* graph = nullptr) {
    GraphScene s;
    s.imageSize = imageSize;
    s.graph = graph;
    s.labelFont = defaultLabelFont();
    return s;
}

struct Canvas {
    QSize size{160, 120};
    QPoint scroll{0, 0};                  // the painter maps logical to window by -scroll
    uint32_t background = kWhite;         // the painter's background colour
    uint32_t data = kData, axis = kAxis;  // colours passed to the renderer
};

inline QImage draw(const GraphScene& scene, const Canvas& canvas = {}) {
    QImage image(canvas.size, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setBackground(qColour(canvas.background));
    painter.translate(-canvas.scroll);
    drawGeneratedGraph(painter, scene, canvas.data, canvas.axis);
    return image;
}

inline GeneratedGraph graphOf(std::initializer_list<std::pair<double, double>> points) {
    GeneratedGraph g;
    for (const auto& [x, y] : points) {
        g.generatedX.push_back(x);
        g.generatedY.push_back(y);
    }
    g.generatedCount = static_cast<int32_t>(points.size());
    return g;
}

// Bounding rectangle of the pixels of one colour (null when there are none).
inline QRect boundsOf(const QImage& image, uint32_t colour) {
    QRect bounds;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (colourAt(image, x, y) == colour) bounds |= QRect(x, y, 1, 1);
        }
    }
    return bounds;
}

// The cx x cy box a text occupies in the label font.
inline QSize textBox(const std::string& text) {
    QFont font = defaultLabelFont();
    font.setStyleStrategy(QFont::NoAntialias);
    const QFontMetrics metrics(font);
    return {metrics.horizontalAdvance(QString::fromStdString(text)), metrics.height()};
}

}  // namespace qf::test
