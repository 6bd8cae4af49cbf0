#pragma once
// The generated graph saved as a picture: drawn at 1:1 on a white canvas the
// size of the working image, so the chart sits where it sits over the image,
// and written in the format the file name's extension selects.

#include <QImage>
#include <string>

#include "common/translate.h"
#include "graph/renderer.h"
#include "imaging/image_file.h"

namespace qf {

// What the window shows when a save fails, whatever the reason.
inline constexpr const char* kSaveImageFailedText =
    QT_TRANSLATE_NOOP("qf::Messages", "Save image failed:\n80004005");

// The canvas with the graph; the scene's zoom and scroll are ignored (1:1 from
// the origin). A null image when the scene has no image.
QImage renderGeneratedGraphImage(const GraphScene& scene);

struct GraphImageSaveResult {
    bool saved = false;
    std::string message;  // for the message box; empty when there is nothing to say
    std::string reason;   // the file and the system's reason, for the batch mode's report
};

// Writes bmp, jpg/jpeg, png or tif/tiff by the path's extension. GIF is not
// offered: neither OpenCV nor Qt Gui can encode it.
GraphImageSaveResult writeGraphImage(const QImage& image, const std::string& path);

// The file writeGraphImage would write, into `file`'s temporary file (see
// encodeImageInto), for a set of files replaced together.
ImageIntoResult encodeGraphImageInto(AtomicFile& file, const QImage& image);

// Render, then write. Without an image nothing is written and nothing is said.
GraphImageSaveResult SaveGeneratedGraphImage(const GraphScene& scene, const std::string& path);

}  // namespace qf
