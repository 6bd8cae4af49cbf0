#pragma once
// The tables of functions the program's modules export. Program and modules
// are built together against the same OpenCV, so cv::Mat crosses the
// boundary; nothing else but plain C types does, and no exception does.

#include <cstddef>

namespace cv {
class Mat;
}

extern "C" {

// quillfen-opencv-codecs.so: OpenCV's picture codecs, for the formats the
// program does not read and write itself.
inline constexpr int kCodecsModuleVersion = 3;
enum QfReadStatus { kReadFailed = 0, kReadOk = 1, kReadTooLarge = 2 };
struct QfCodecsModule {
    // cv::imread(path, IMREAD_COLOR): kReadOk when *out holds the picture,
    // kReadTooLarge when OpenCV refused it from its header for its own
    // limit (OPENCV_IO_MAX_IMAGE_PIXELS, read once when its codecs load).
    int (*read)(const char* path, cv::Mat* out);
    // cv::imencode(extension, image) into a one-row 8-bit Mat of the file's
    // bytes; 1 on success, else 0 with a reason in `error`.
    int (*encode)(const char* extension, const cv::Mat* image, cv::Mat* bytes, char* error,
                  std::size_t errorSize);
    // Whether the path's extension names a format OpenCV can write.
    int (*canWrite)(const char* path);
};
const void* quillfen_codecs_module(int version);

// quillfen-camera.so: capture devices and video files through OpenCV's video I/O.
inline constexpr int kCameraModuleVersion = 1;
struct QfCameraModule {
    void* (*create)();
    void (*destroy)(void* capture);
    int (*openDevice)(void* capture, int index);           // Video4Linux
    int (*openSource)(void* capture, const char* source);  // a file or stream, through FFmpeg
    int (*isOpened)(void* capture);
    void (*release)(void* capture);
    int (*set)(void* capture, int property, double value);
    double (*get)(void* capture, int property);
    int (*read)(void* capture, cv::Mat* frame);  // 1 when a frame was read
};
const void* quillfen_camera_module(int version);
}
