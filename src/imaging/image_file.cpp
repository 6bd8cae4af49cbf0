#include "imaging/image_file.h"

#include <unistd.h>

#include <exception>
#include <filesystem>
#include <opencv2/imgcodecs.hpp>
#include <system_error>

namespace qf {

namespace fs = std::filesystem;

cv::Mat readImageFile(const std::string& path) {
    // Linux paths are bytes: the UTF-8 path reaches fopen unchanged.
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

// Why a file could not be created there, as far as the file system tells.
std::string writeFailureReason(const std::string& path) {
    std::error_code ec;
    const fs::path p(path);
    if (fs::is_directory(p, ec)) return "it is a folder";
    const fs::path parent = p.has_parent_path() ? p.parent_path() : fs::path(".");
    if (!fs::is_directory(parent, ec)) return "the folder does not exist";
    if (::access(parent.c_str(), W_OK) != 0) return "the folder is not writable";
    if (fs::exists(p, ec) && ::access(p.c_str(), W_OK) != 0) return "the file is not writable";
    return "the picture could not be written";
}

}  // namespace

ImageWriteResult writeImageFile(const std::string& path, const cv::Mat& image) {
    if (image.empty()) return failure(path, "there is no image");
    try {
        if (!cv::haveImageWriter(path)) {
            return failure(path, "no picture format for this file extension");
        }
        if (!cv::imwrite(path, image)) return failure(path, writeFailureReason(path));
    } catch (const cv::Exception& e) {
        return failure(path, e.err);
    } catch (const std::exception& e) {
        return failure(path, e.what());
    }
    return {true, {}};
}

}  // namespace qf
