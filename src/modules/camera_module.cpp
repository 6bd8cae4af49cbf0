// Capture devices and video files through OpenCV's video I/O, whose back ends
// (V4L2, FFmpeg, GStreamer and their libraries) are loaded only when the user
// first starts a camera.

#include <exception>
#include <opencv2/videoio.hpp>

#include <opencv2/core/utils/logger.hpp>

#include "imaging/module_abi.h"

namespace {

cv::VideoCapture* capture(void* c) {
    return static_cast<cv::VideoCapture*>(c);
}

void* create() {
    try {
        return new cv::VideoCapture();
    } catch (const std::exception&) {
        return nullptr;
    }
}

void destroy(void* c) {
    delete capture(c);
}

int openDevice(void* c, int index) {
    try {
        // Cameras on Linux are Video4Linux devices. Asking every backend
        // instead also probes FireWire and USB buses through libraries that
        // leak what they find, and takes seconds without a camera.
        return capture(c)->open(index, cv::CAP_V4L2) ? 1 : 0;
    } catch (const std::exception&) {
        capture(c)->release();
        return 0;
    }
}

int openSource(void* c, const char* source) {
    try {
        // FFmpeg reads video files and stream addresses alike; letting every
        // backend try (GStreamer, image sequences) only adds slow probing,
        // and leaks, for a source FFmpeg cannot read.
        return capture(c)->open(source, cv::CAP_FFMPEG) ? 1 : 0;
    } catch (const std::exception&) {
        capture(c)->release();
        return 0;
    }
}

int isOpened(void* c) {
    return capture(c)->isOpened() ? 1 : 0;
}

void release(void* c) {
    try {
        capture(c)->release();
    } catch (const std::exception&) {
    }
}

int set(void* c, int property, double value) {
    try {
        return capture(c)->set(property, value) ? 1 : 0;
    } catch (const std::exception&) {
        return 0;
    }
}

double get(void* c, int property) {
    try {
        return capture(c)->get(property);
    } catch (const std::exception&) {
        return 0.0;
    }
}

int read(void* c, cv::Mat* frame) {
    try {
        return capture(c)->read(*frame) ? 1 : 0;
    } catch (const std::exception&) {
        return 0;
    }
}

const QfCameraModule kModule{create,  destroy, openDevice, openSource, isOpened,
                             release, set,     get,        read};

}  // namespace

extern "C" __attribute__((visibility("default"))) const void* quillfen_camera_module(int version) {
    // OpenCV's warnings (a file it cannot open, a device that is absent) would
    // reach standard error unformatted; the program says what failed itself.
    cv::utils::logging::setLogLevel(cv::utils::logging::LOG_LEVEL_ERROR);
    return version == kCameraModuleVersion ? &kModule : nullptr;
}
