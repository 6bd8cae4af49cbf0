#include "graph/graph_image_file.h"

#include "common/translate.h"

#include <QPainter>
#include <exception>
#include <opencv2/core.hpp>

#include "common/page_buffer.h"
#include "imaging/image_file.h"

namespace qf {

namespace {

// The canvas's own pixels as BGRX (Format_RGB32 on a little-endian machine),
// which the picture writers take as they are: no converted copy of a
// canvas that is as large as the working picture.
cv::Mat bgrxOver(const QImage& image) {
    static_assert(Q_BYTE_ORDER == Q_LITTLE_ENDIAN, "RGB32 is stored as B, G, R, X");
    return cv::Mat(image.height(), image.width(), CV_8UC4, const_cast<uchar*>(image.constBits()),
                   static_cast<std::size_t>(image.bytesPerLine()));
}

// The canvas itself when it is 32-bit already (as the renderer draws it).
QImage rgb32(const QImage& image) {
    return image.format() == QImage::Format_RGB32 ? image
                                                  : image.convertToFormat(QImage::Format_RGB32);
}

// A canvas as large as a working picture takes its memory as pictures do
// (common/page_buffer.h); a small one is Qt's own.
QImage canvasImage(int width, int height) {
    const std::size_t bytesPerLine = std::size_t(width) * 4;
    const std::size_t bytes = bytesPerLine * std::size_t(height);
    if (bytes < kPageBufferMinimum) return QImage(width, height, QImage::Format_RGB32);
    void* block = allocatePages(bytes);
    if (!block) return {};
    struct Block {
        void* memory;
        std::size_t bytes;
    };
    return QImage(
        static_cast<uchar*>(block), width, height, qsizetype(bytesPerLine), QImage::Format_RGB32,
        [](void* info) {
            const auto* b = static_cast<Block*>(info);
            freePages(b->memory, b->bytes);
            delete b;
        },
        new Block{block, bytes});
}

}  // namespace

QImage renderGeneratedGraphImage(const GraphScene& scene) {
    if (scene.imageSize.cx <= 0 || scene.imageSize.cy <= 0) return {};
    QImage canvas = canvasImage(scene.imageSize.cx, scene.imageSize.cy);
    if (canvas.isNull()) return canvas;
    canvas.fill(Qt::white);
    GraphScene atOneToOne = scene;
    atOneToOne.view = ViewTransform{};
    QPainter painter(&canvas);
    painter.setBackground(Qt::white);
    drawGeneratedGraph(painter, atOneToOne, scene.style.colour, scene.style.colour);
    painter.end();
    return canvas;
}

GraphImageSaveResult writeGraphImage(const QImage& image, const std::string& path) {
    if (image.isNull())
        return {false, translate("qf::Messages", kSaveImageFailedText),
                "Unable to save \"" + path + "\": there is no image"};
    try {
        const ImageWriteResult w = writeImageFile(path, bgrxOver(rgb32(image)));
        if (w.ok) return {true, {}, {}};
        return {false, translate("qf::Messages", kSaveImageFailedText), w.error};
    } catch (const std::exception& e) {
        // An encoder that throws has failed like one that reports it.
        return {false, translate("qf::Messages", kSaveImageFailedText),
                "Unable to save \"" + path + "\": " + e.what()};
    }
}

ImageIntoResult encodeGraphImageInto(AtomicFile& file, const QImage& image) {
    if (image.isNull()) {
        ImageIntoResult r;
        r.error = "Unable to save \"" + file.targetPath() + "\": there is no image";
        return r;
    }
    return encodeImageInto(file, bgrxOver(rgb32(image)));
}

GraphImageSaveResult SaveGeneratedGraphImage(const GraphScene& scene, const std::string& path) {
    if (scene.imageSize.cx <= 0 || scene.imageSize.cy <= 0) return {};
    // A canvas that cannot be allocated fails like a write.
    return writeGraphImage(renderGeneratedGraphImage(scene), path);
}

}  // namespace qf
