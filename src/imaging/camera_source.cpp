#include "imaging/camera_source.h"

#include <climits>
#include <cmath>
#include <cstdlib>
#include <opencv2/imgproc.hpp>

#include "common/format.h"
#include "common/translate.h"
#include "imaging/module_abi.h"
#include "imaging/module_loader.h"

namespace qf {
namespace {

// OpenCV's capture property numbers (cv::CAP_PROP_*).
constexpr int kPosFrames = 1;
constexpr int kFrameWidth = 3;
constexpr int kFrameHeight = 4;
constexpr int kFps = 5;

constexpr const char* kCameraModuleFile = "quillfen-camera.so";

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

CameraSource::CameraSource() = default;

CameraSource::~CameraSource() {
    if (m_capture) m_module->destroy(m_capture);
}

bool CameraSource::open(int index, const std::string& mappedSource) {
    if (!m_capture) {
        const LoadedModule module =
            loadModule(kCameraModuleFile, "quillfen_camera_module", kCameraModuleVersion);
        m_moduleError = module.error;
        if (!module.entry) return false;
        m_module = static_cast<const QfCameraModule*>(module.entry);
        m_capture = m_module->create();
        if (!m_capture) return false;
    }
    m_loops = !mappedSource.empty();
    if (m_loops)
        m_module->openSource(m_capture, mappedSource.c_str());
    else
        m_module->openDevice(m_capture, index);
    return isOpened();
}

bool CameraSource::isOpened() const {
    return m_capture && m_module->isOpened(m_capture);
}

void CameraSource::close() {
    if (m_capture) m_module->release(m_capture);
}

void CameraSource::request(const CaptureSettings& settings) {
    if (!m_capture) return;
    // A device that refuses is reported by what it delivers.
    m_module->set(m_capture, kFrameWidth, requested(settings.captureWidth));
    m_module->set(m_capture, kFrameHeight, requested(settings.captureHeight));
    m_module->set(m_capture, kFps, requested(settings.captureFps));
}

CaptureReport CameraSource::reported() const {
    if (!m_capture) return {};
    return {truncatedInt(m_module->get(m_capture, kFrameWidth)),
            truncatedInt(m_module->get(m_capture, kFrameHeight)),
            truncatedInt(m_module->get(m_capture, kFps))};
}

cv::Mat CameraSource::read() {
    // A fresh matrix each time: the backend copies into the one it is given,
    // which would overwrite pixels another image still shares.
    cv::Mat frame;
    if (!isOpened()) return frame;
    if (m_module->read(m_capture, &frame)) return asBgr8(frame);
    if (m_loops && m_module->set(m_capture, kPosFrames, 0) && m_module->read(m_capture, &frame))
        return asBgr8(frame);
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
    return substitute(
        translate("qf::Messages", "cv::VideoCapture(%1)\r\nデバイス %1 オープンできません\r\n"),
        {formatD(device)});
}

std::string moduleFailureText(const std::string& reason) {
    return substitute(translate("qf::Messages", "カメラ モジュールを読み込めません: %1\r\n"),
                      {reason});
}

std::string captureSuspendedText() {
    return translate("qf::Messages",
                     "カメラ入力を中断しました。\r\nカメラ入力を再開して下さい。\r\n");
}

}  // namespace qf
