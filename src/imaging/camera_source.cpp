#include "imaging/camera_source.h"

#include <climits>
#include <cmath>
#include <cstdlib>
#include <opencv2/imgproc.hpp>
#include <opencv2/videoio.hpp>

#include "common/format.h"

namespace qf {
namespace {

// A backend may report NaN, infinity or huge values for what it cannot tell;
// a plain cast of those to int is undefined.
int truncatedInt(double v) {
    if (std::isnan(v)) return 0;
    if (v >= static_cast<double>(INT_MAX)) return INT_MAX;
    if (v <= static_cast<double>(INT_MIN)) return INT_MIN;
    return static_cast<int>(v);
}

// The dialog takes unsigned values; what the user typed is what the device is asked for.
double requested(int32_t v) {
    return static_cast<double>(static_cast<uint32_t>(v));
}

// Keeps the image store's form whatever the backend delivers.
cv::Mat asBgr8(cv::Mat frame) {
    if (frame.empty()) return frame;
    if (frame.depth() != CV_8U) {
        cv::Mat scaled;
        frame.convertTo(scaled, CV_8U, frame.depth() == CV_16U ? 1.0 / 257 : 1.0);
        frame = scaled;
    }
    cv::Mat bgr;
    switch (frame.channels()) {
        case 3:
            return frame;
        case 1:
            cv::cvtColor(frame, bgr, cv::COLOR_GRAY2BGR);
            return bgr;
        case 4:
            cv::cvtColor(frame, bgr, cv::COLOR_BGRA2BGR);
            return bgr;
        default:
            return cv::Mat();
    }
}

}  // namespace

CameraSourceMap resolveCameraSources(const std::vector<std::pair<int, std::string>>& overrides) {
    CameraSourceMap map;
    for (int d = 0; d < kCameraCount; ++d) {
        const std::string name = "QUILLFEN_CAMERA" + std::to_string(d);
        if (const char* value = std::getenv(name.c_str())) map[d] = value;
    }
    for (const auto& [device, source] : overrides)
        if (device >= 0 && device < kCameraCount) map[device] = source;
    return map;
}

CameraSource::CameraSource() : m_capture(std::make_unique<cv::VideoCapture>()) {}

CameraSource::~CameraSource() = default;

bool CameraSource::open(int index, const std::string& mappedSource) {
    m_loops = !mappedSource.empty();
    try {
        if (m_loops)
            // FFmpeg reads video files and stream addresses alike; letting
            // every backend try (GStreamer, image sequences) only adds slow
            // probing, and leaks, for a source FFmpeg cannot read.
            m_capture->open(mappedSource, cv::CAP_FFMPEG);
        else
            // Cameras on Linux are Video4Linux devices. Asking every backend
            // instead also probes FireWire and USB buses through libraries
            // that leak what they find, and takes seconds without a camera.
            m_capture->open(index, cv::CAP_V4L2);
    } catch (const cv::Exception&) {
        m_capture->release();
    }
    return m_capture->isOpened();
}

bool CameraSource::isOpened() const {
    return m_capture->isOpened();
}

void CameraSource::close() {
    m_capture->release();
}

void CameraSource::request(const CaptureSettings& settings) {
    try {
        m_capture->set(cv::CAP_PROP_FRAME_WIDTH, requested(settings.m_captureWidth));
        m_capture->set(cv::CAP_PROP_FRAME_HEIGHT, requested(settings.m_captureHeight));
        m_capture->set(cv::CAP_PROP_FPS, requested(settings.m_captureFps));
    } catch (const cv::Exception&) {
        // A device that refuses is reported by what it delivers.
    }
}

CaptureReport CameraSource::reported() const {
    try {
        return {truncatedInt(m_capture->get(cv::CAP_PROP_FRAME_WIDTH)),
                truncatedInt(m_capture->get(cv::CAP_PROP_FRAME_HEIGHT)),
                truncatedInt(m_capture->get(cv::CAP_PROP_FPS))};
    } catch (const cv::Exception&) {
        return {};
    }
}

cv::Mat CameraSource::read() {
    // A fresh matrix each time: the backend copies into the one it is given,
    // which would overwrite pixels another image still shares.
    cv::Mat frame;
    if (!m_capture->isOpened()) return frame;
    try {
        if (m_capture->read(frame)) return asBgr8(frame);
        if (m_loops && m_capture->set(cv::CAP_PROP_POS_FRAMES, 0) && m_capture->read(frame))
            return asBgr8(frame);
    } catch (const cv::Exception&) {
    }
    return cv::Mat();
}

std::string captureReportText(const CaptureReport& report) {
    return "cv::VideoCapture::get\r\n"
           "CV_CAP_PROP_FRAME_WIDTH : " +
           formatD(report.width) +
           "\r\n"
           "CV_CAP_PROP_FRAME_HEIGHT : " +
           formatD(report.height) +
           "\r\n"
           "CV_CAP_PROP_FPS : " +
           formatD(report.fps) + "\r\n";
}

std::string openFailureText(int device) {
    return "cv::VideoCapture(" + formatD(device) + ")\r\nデバイス " + formatD(device) +
           " オープンできません\r\n";
}

std::string captureSuspendedText() {
    return "カメラ入力を中断しました。\r\nカメラ入力を再開して下さい。\r\n";
}

}  // namespace qf
