#pragma once
// Reading and writing picture files. Paths are UTF-8 (any characters the file
// system allows, Japanese folder names included).
//
// PNG, JPEG and plain BMP are read and written by the program itself (with
// the settings OpenCV's writers use, byte for byte); TIFF and every other
// format OpenCV knows go through OpenCV's codecs, loaded when first needed.

#include <cstdint>
#include <opencv2/core.hpp>
#include <string>

#include "common/atomic_file.h"

namespace qf {

// A chart photo never needs more; a picture that declares more pixels is
// refused from its header before any memory is taken for it. A tiny file can
// declare a huge picture (a decompression bomb).
inline constexpr int64_t kDefaultMaxPicturePixels = 100'000'000;

// The limit readImageFile applies, for the whole process (the window takes it
// from the settings store, the batch mode from its option).
void setMaxPicturePixels(int64_t pixels);
int64_t maxPicturePixels();

struct PictureFileRead {
    cv::Mat image;  // 8-bit BGR; empty when the picture was not read
    bool tooLarge = false;
    // As its header declares, when tooLarge; 0 when only OpenCV's own check
    // on a header not read here knew it.
    int64_t width = 0;
    int64_t height = 0;
    // Why the picture was not read, in the user's words ("The picture is
    // 3000 x 3000 pixels (9 megapixels); the limit is 1 megapixels."): set
    // when tooLarge and for every other refusal. Empty for a file that is
    // not a picture or is damaged past reading.
    std::string reason;
    // When read: damage the decoder read past ("The picture is damaged
    // (...); it is shown as it decodes."), for the output pane.
    std::string warning;
};

// Reads any picture OpenCV can decode as 8-bit, 3-channel BGR (grey, palette
// and alpha pictures are converted, EXIF orientation is applied). Anything
// that is not a regular file is refused without being opened for reading.
// The limit holds for every format: the size is read from the picture's
// header before it is decoded (for a format whose header is not read here,
// OpenCV's own limit, set from this one when its codecs load, refuses it
// from the header; what it decodes is measured all the same).
PictureFileRead readPictureFile(const std::string& path, int64_t maxPixels);

// readPictureFile with the process's limit; an empty Mat when not read.
cv::Mat readImageFile(const std::string& path);

// Millions of pixels to one decimal, without a trailing ".0": "900", "1.2".
std::string megapixelsText(int64_t pixels);

// "30000 x 30000 pixels (900 megapixels); the limit is 100 megapixels"
std::string pictureSizeText(int64_t width, int64_t height, int64_t maxPixels);

struct ImageWriteResult {
    bool ok = false;
    std::string error;  // why it failed, naming the path, when !ok
};

// Writes the image in the format the path's extension selects (bmp, jpg/jpeg,
// png, tif/tiff, and the others OpenCV writes). An unknown extension or a
// failed write is reported. The image is 8-bit BGR, or BGRX (4 channels, the
// fourth byte not written: a 32-bit canvas is written without a copy). The
// file is replaced whole or not at all (see common/atomic_file.h).
ImageWriteResult writeImageFile(const std::string& path, const cv::Mat& image);

// What encodeImageInto did. A picture it refuses (or an encoder that fails)
// is `error`, worded as writeImageFile words it; a failure of the file
// itself (it could not be made, the disk is full) is `file`, as AtomicFile
// words it, so that each caller reports it as it reports its other files.
struct ImageIntoResult {
    std::string error;
    AtomicWriteResult file{true, {}, 0};
    bool ok() const { return error.empty() && file.ok; }
};

// The file writeImageFile would write, written into the temporary file of
// `file` (which it opens) as it is encoded, never whole in memory, for
// writers that replace several files as one set: the caller commits it,
// alone or with the rest. On failure the temporary file is removed.
ImageIntoResult encodeImageInto(AtomicFile& file, const cv::Mat& image);

}  // namespace qf
