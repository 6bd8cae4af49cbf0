#include "imaging/image_file.h"

#include <unistd.h>

#include <cstring>
#include <exception>
#include <filesystem>
#include <opencv2/imgcodecs.hpp>
#include <system_error>

#include "common/atomic_file.h"
#include "common/regular_file.h"

namespace qf {

namespace fs = std::filesystem;

cv::Mat readImageFile(const std::string& path) {
    // Linux paths are bytes: the UTF-8 path reaches fopen unchanged. A FIFO or
    // a device would block the decoder's read forever.
    if (!regularFileProblem(path).empty()) return {};
    cv::Mat image;
    try {
        image = cv::imread(path, cv::IMREAD_COLOR);
    } catch (const std::exception&) {
        return {};  // a decoder refusing a damaged file, or one too large to hold
    }
    // IMREAD_COLOR converts every decoder's result to 8-bit BGR; the rest of
    // the program relies on that form.
    if (image.type() != CV_8UC3) return {};
    return image;
}

namespace {

ImageWriteResult failure(const std::string& path, const std::string& reason) {
    return {false, "Unable to save \"" + path + "\": " + reason};
}

// Why a file could not be created there, as far as the file system tells;
// else the system's own reason.
std::string writeFailureReason(const std::string& path, int errorNumber) {
    std::error_code ec;
    const fs::path p(path);
    if (fs::is_directory(p, ec)) return "it is a folder";
    const fs::path parent = p.has_parent_path() ? p.parent_path() : fs::path(".");
    if (!fs::is_directory(parent, ec)) return "the folder does not exist";
    if (::access(parent.c_str(), W_OK) != 0) return "the folder is not writable";
    if (errorNumber != 0) return std::strerror(errorNumber);
    return "the picture could not be written";
}

}  // namespace

ImageEncodeResult encodeImageFile(const std::string& path, const cv::Mat& image) {
    ImageEncodeResult r;
    const auto refuse = [&](const std::string& reason) {
        r.error = failure(path, reason).error;
        return r;
    };
    if (image.empty()) return refuse("there is no image");
    try {
        if (!cv::haveImageWriter(path)) return refuse("no picture format for this file extension");
        if (!cv::imencode(fs::path(path).extension().string(), image, r.bytes))
            return refuse("the picture could not be encoded");
    } catch (const cv::Exception& e) {
        return refuse(e.err);
    } catch (const std::exception& e) {
        return refuse(e.what());
    }
    r.ok = true;
    return r;
}

ImageWriteResult writeImageFile(const std::string& path, const cv::Mat& image) {
    const ImageEncodeResult encoded = encodeImageFile(path, image);
    if (!encoded.ok) return {false, encoded.error};
    // Through a temporary file: a full disk or a kill leaves the old picture.
    const AtomicWriteResult w = writeFileAtomically(
        path, {reinterpret_cast<const char*>(encoded.bytes.data()), encoded.bytes.size()});
    if (!w.ok) return failure(path, writeFailureReason(path, w.errorNumber));
    return {true, {}};
}

}  // namespace qf
