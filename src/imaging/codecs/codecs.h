#pragma once
// The picture codecs the program carries itself: PNG and JPEG through libpng
// and libjpeg, plain BMP by hand. They decode straight into the image store's
// 8-bit BGR form and encode with the settings OpenCV's writers use, so a file
// written here is byte for byte the one cv::imwrite would write. Everything
// else goes to OpenCV's own codecs, loaded on demand (opencv_module.h).

#include <cstdint>
#include <cstdio>
#include <opencv2/core.hpp>
#include <string>

namespace qf::codec {

enum class Status {
    Ok,
    Failed,      // damaged or not of this format
    TooLarge,    // the header declares more pixels than allowed
    Refused,     // a picture the program will not read, for the reason given
    NotHandled,  // a variant this codec leaves to OpenCV's
};

struct Decoded {
    Status status = Status::Failed;
    cv::Mat image;  // 8-bit BGR when Ok
    int64_t width = 0;
    int64_t height = 0;   // as the header declares them (also when TooLarge)
    std::string reason;   // why, when Refused: "The picture ..."
    std::string warning;  // when Ok: damage read past, "The picture is damaged (...); ..."
};

// More scans than a JPEG is refused with: encoders write about ten.
inline constexpr int kMaxJpegScans = 100;

// Each reads the whole file from its start. Pictures with more than maxPixels
// pixels are refused after reading the header, before any pixel memory is taken.
Decoded readPng(std::FILE* file, int64_t maxPixels);
Decoded readJpeg(std::FILE* file, int64_t maxPixels);
Decoded readBmp(std::FILE* file, int64_t maxPixels);

// image: 8-bit, 3 channels (BGR) or 4 (BGRX: the fourth byte is not written).
bool writePng(std::FILE* file, const cv::Mat& image);
bool writeJpeg(std::FILE* file, const cv::Mat& image);
bool writeBmp(std::FILE* file, const cv::Mat& image);

// The size of a picture as its file's header declares it.
struct HeaderSize {
    bool known = false;
    int64_t width = -1;
    int64_t height = -1;
    // A size no reader can take (a field of another type, a negative
    // number), in the user's words ("The picture's ..."); known is false.
    std::string problem;
};

// Width and height of the first picture of a TIFF file (its start, enough
// to hold the first directory); unknown when the directory is not there.
HeaderSize tiffImageSize(const uint8_t* data, std::size_t size);
// The same for a whole file: its header and first directory, wherever that is.
HeaderSize tiffFileSize(std::FILE* file);

// The size declared by the header of a file in one of the other formats
// OpenCV reads (PNM, PAM, PFM, WebP, Sun raster, Radiance, JPEG 2000,
// OpenEXR, BigTIFF), read from the file's start; unknown for any other.
HeaderSize otherHeaderSize(std::FILE* file);

// The EXIF orientation (1..8) in a TIFF-structured EXIF block, 1 when absent.
int exifOrientation(const uint8_t* data, std::size_t size);
// Turns a decoded picture upright as its EXIF orientation says.
void applyExifOrientation(int orientation, cv::Mat& image);

}  // namespace qf::codec
