#pragma once
// Camera devices 0..3 through OpenCV's capture, each of which may instead be
// served by a video file or a stream address (for machines without cameras,
// demonstrations and tests), and the texts the camera commands write to the
// log page.

#include <array>
#include <cstdint>
#include <opencv2/core.hpp>
#include <string>
#include <utility>
#include <vector>

#include "common/capture_settings.h"

struct QfCameraModule;

namespace qf {

inline constexpr int kCameraCount = 4;
inline constexpr int kCameraIntervalMs = 66;   // fixed; does not follow the frame rate
inline constexpr int kCameraTimerBase = 1549;  // timer identifier of device 0

// What serves each device index: empty for the real device, else a video
// file path or a stream address.
using CameraSourceMap = std::array<std::string, kCameraCount>;

// The mappings of the environment (QUILLFEN_CAMERA0..3), then the given
// (device, source) pairs in order over them; an empty source there restores
// the real device. Pairs with a device outside 0..3 are ignored.
CameraSourceMap resolveCameraSources(const std::vector<std::pair<int, std::string>>& overrides);

// The property values a device reports, truncated toward zero.
struct CaptureReport {
    int width = 0;
    int height = 0;
    int fps = 0;
};

// One capture device. Opening by index reaches the real camera; opening a
// mapped source plays it instead and starts it over at its end, so that the
// "camera" keeps delivering frames. OpenCV's exceptions stay inside.
//
// The capture itself lives in the camera module (quillfen-camera.so), loaded
// at the first open: OpenCV's video I/O and its back ends are a third of the
// libraries the program would otherwise map at every start.
class CameraSource {
public:
    CameraSource();
    ~CameraSource();
    CameraSource(const CameraSource&) = delete;
    CameraSource& operator=(const CameraSource&) = delete;

    // Opens device `index`, or `mappedSource` when that is not empty.
    bool open(int index, const std::string& mappedSource);
    // Why the last open failed when the camera module could not be loaded;
    // empty when it was loaded (a device that is absent says nothing here).
    const std::string& moduleError() const { return m_moduleError; }
    bool isOpened() const;
    void close();

    // Width, height and rate, in this order; the results are not looked at.
    void request(const CaptureSettings& settings);
    CaptureReport reported() const;

    // The next frame as 8-bit BGR in its own pixel memory, or an empty image
    // when none could be read.
    cv::Mat read();

private:
    const QfCameraModule* m_module = nullptr;
    void* m_capture = nullptr;  // the module's capture, created at the first open
    std::string m_moduleError;
    bool m_loops = false;
};

// Log page texts. Lines end in CR LF.
std::string captureReportText(const CaptureReport& report);
std::string openFailureText(int device);
// The line added to openFailureText when the camera module is missing.
std::string moduleFailureText(const std::string& reason);
std::string captureSuspendedText();

}  // namespace qf
