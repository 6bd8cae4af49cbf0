// OpenCV's picture codecs (and through them GDAL and the libraries of every
// format they know), loaded only when a picture needs them.

#include <cstring>
#include <exception>
#include <opencv2/imgcodecs.hpp>
#include <string>
#include <vector>

#include <opencv2/core/utils/logger.hpp>

#include "imaging/module_abi.h"

namespace {

void copyError(const char* what, char* error, std::size_t size) {
    if (!error || size == 0) return;
    std::strncpy(error, what, size - 1);
    error[size - 1] = '\0';
}

int readPicture(const char* path, cv::Mat* out) {
    try {
        *out = cv::imread(path, cv::IMREAD_COLOR);
        return out->empty() ? kReadFailed : kReadOk;
    } catch (const cv::Exception& e) {
        // OpenCV's own limit, checked on the size its decoder read from the
        // header, before any pixel memory is taken.
        if (e.err.find("CV_IO_MAX_IMAGE_PIXELS") != std::string::npos) return kReadTooLarge;
        return kReadFailed;  // a decoder refusing a damaged file
    } catch (const std::exception&) {
        return kReadFailed;  // or one too large to hold
    }
}

int encodePicture(const char* extension, const cv::Mat* image, cv::Mat* bytes, char* error,
                  std::size_t errorSize) {
    try {
        std::vector<uchar> buffer;
        if (cv::imencode(extension, *image, buffer)) {
            *bytes = cv::Mat(buffer, true).reshape(1, 1);
            return 1;
        }
        copyError("the picture could not be encoded", error, errorSize);
    } catch (const cv::Exception& e) {
        copyError(e.err.c_str(), error, errorSize);
    } catch (const std::exception& e) {
        copyError(e.what(), error, errorSize);
    }
    return 0;
}

int canWrite(const char* path) {
    try {
        return cv::haveImageWriter(path) ? 1 : 0;
    } catch (const std::exception&) {
        return 0;
    }
}

const QfCodecsModule kModule{readPicture, encodePicture, canWrite};

}  // namespace

extern "C" __attribute__((visibility("default"))) const void* quillfen_codecs_module(int version) {
    // OpenCV's warnings (a file it cannot open, a device that is absent) would
    // reach standard error unformatted; the program says what failed itself.
    cv::utils::logging::setLogLevel(cv::utils::logging::LOG_LEVEL_ERROR);
    return version == kCodecsModuleVersion ? &kModule : nullptr;
}
