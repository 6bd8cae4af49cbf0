#pragma once
// Reading and writing picture files. Paths are UTF-8 (any characters the file
// system allows, Japanese folder names included).

#include <opencv2/core.hpp>
#include <string>
#include <vector>

namespace qf {

// Reads any picture OpenCV can decode as 8-bit, 3-channel BGR (grey, palette
// and alpha pictures are converted). Returns an empty Mat when it cannot.
cv::Mat readImageFile(const std::string& path);

struct ImageWriteResult {
    bool ok = false;
    std::string error;  // why it failed, naming the path, when !ok
};

// Writes the image in the format the path's extension selects (bmp, jpg/jpeg,
// png, tif/tiff). An unknown extension or a failed write is reported. The file
// is replaced whole or not at all (see common/atomic_file.h).
ImageWriteResult writeImageFile(const std::string& path, const cv::Mat& image);

struct ImageEncodeResult {
    bool ok = false;
    std::vector<unsigned char> bytes;  // the file's contents
    std::string error;                 // as writeImageFile's, when !ok
};

// The file writeImageFile would write, in memory, for writers that replace
// several files as one set.
ImageEncodeResult encodeImageFile(const std::string& path, const cv::Mat& image);

}  // namespace qf
