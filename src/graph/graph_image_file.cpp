#include "graph/graph_image_file.h"

#include <QPainter>
#include <exception>
#include <opencv2/core.hpp>

#include "imaging/image_file.h"

namespace qf {

namespace {

cv::Mat toBgrMat(const QImage& image) {
    const QImage bgr = image.convertToFormat(QImage::Format_BGR888);
    // QImage rows are 4-byte aligned; clone into a Mat that owns its pixels.
    return cv::Mat(bgr.height(), bgr.width(), CV_8UC3, const_cast<uchar*>(bgr.constBits()),
                   static_cast<std::size_t>(bgr.bytesPerLine()))
        .clone();
}

}  // namespace

QImage renderGeneratedGraphImage(const GraphScene& scene) {
    if (scene.imageSize.cx <= 0 || scene.imageSize.cy <= 0) return {};
    QImage canvas(scene.imageSize.cx, scene.imageSize.cy, QImage::Format_RGB32);
    if (canvas.isNull()) return canvas;
    canvas.fill(Qt::white);
    GraphScene atOneToOne = scene;
    atOneToOne.view = ViewTransform{};
    QPainter painter(&canvas);
    painter.setBackground(Qt::white);
    DrawGeneratedGraph(painter, atOneToOne, scene.style.colour, scene.style.colour);
    painter.end();
    return canvas;
}

GraphImageSaveResult writeGraphImage(const QImage& image, const std::string& path) {
    if (image.isNull())
        return {false, kSaveImageFailedText, "Unable to save \"" + path + "\": there is no image"};
    try {
        const ImageWriteResult w = writeImageFile(path, toBgrMat(image));
        if (w.ok) return {true, {}, {}};
        return {false, kSaveImageFailedText, w.error};
    } catch (const std::exception& e) {
        // An encoder that throws has failed like one that reports it.
        return {false, kSaveImageFailedText, "Unable to save \"" + path + "\": " + e.what()};
    }
}

ImageEncodeResult encodeGraphImage(const QImage& image, const std::string& path) {
    if (image.isNull()) return {false, {}, "Unable to save \"" + path + "\": there is no image"};
    return encodeImageFile(path, toBgrMat(image));
}

GraphImageSaveResult SaveGeneratedGraphImage(const GraphScene& scene, const std::string& path) {
    if (scene.imageSize.cx <= 0 || scene.imageSize.cy <= 0) return {};
    // A canvas that cannot be allocated fails like a write.
    return writeGraphImage(renderGeneratedGraphImage(scene), path);
}

}  // namespace qf
