#include "view/camera_controller.h"

#include <QCursor>
#include <QGuiApplication>
#include <QTimer>

#include "imaging/mapping.h"
#include "imaging/processing.h"
#include "view/view_commands.h"

namespace qf {
namespace {

bool validDevice(int device) {
    return device >= 0 && device < kCameraCount;
}

// Opening a device can take seconds.
class WaitCursor {
public:
    WaitCursor() : m_shown(qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
        if (m_shown) QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
    }
    ~WaitCursor() {
        if (m_shown) QGuiApplication::restoreOverrideCursor();
    }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;

private:
    bool m_shown;
};

}  // namespace

CameraController::CameraController(ViewState& state, std::function<void()> repaint,
                                   std::function<void(const std::string&)> log, QObject* parent)
    : QObject(parent),
      m_state(state),
      m_repaint(std::move(repaint)),
      m_log(std::move(log)),
      m_sources(resolveCameraSources({})) {
    for (int d = 0; d < kCameraCount; ++d) {
        m_timers[d] = new QTimer(this);
        m_timers[d]->setInterval(kCameraIntervalMs);
        connect(m_timers[d], &QTimer::timeout, this, [this, d] { grabFrame(d); });
    }
}

CameraController::~CameraController() {
    for (int d = 0; d < kCameraCount; ++d) {
        m_timers[d]->stop();
        m_cameras[d].close();
    }
}

void CameraController::log(const std::string& text) {
    if (!m_log) return;
    m_log(std::string());
    m_log(text);
}

bool CameraController::running(int device) const {
    return validDevice(device) && m_timers[device]->isActive();
}

bool CameraController::isOpen(int device) const {
    return validDevice(device) && m_cameras[device].isOpened();
}

std::array<bool, kCameraCount> CameraController::runningDevices() const {
    std::array<bool, kCameraCount> r{};
    for (int d = 0; d < kCameraCount; ++d) r[d] = running(d);
    return r;
}

void CameraController::toggleDevice(int device) {
    if (!validDevice(device)) return;
    const bool start = !running(device);
    setCameraRunning(device, start);
    // Also when the device failed to open: the command asked to switch away.
    if (start) {
        for (int d = 0; d < kCameraCount; ++d)
            if (d != device) m_timers[d]->stop();
    }
    if (m_repaint) m_repaint();
}

void CameraController::setCameraRunning(int device, bool on) {
    if (!validDevice(device)) return;
    if (!on) {
        m_timers[device]->stop();
        return;
    }
    const WaitCursor wait;
    CameraSource& camera = m_cameras[device];
    if (!camera.isOpened()) camera.open(device, m_sources[device]);
    if (!camera.isOpened()) {
        const std::string& missing = camera.moduleError();
        log(openFailureText(device) + (missing.empty() ? "" : moduleFailureText(missing)));
        return;
    }
    camera.request(m_state.capture);
    log(captureReportText(camera.reported()));
    // The output stays the picture's until the first tick rebuilds it.
    settleOutput(m_state.images);
    m_state.images.inputImage = camera.read();
    const cv::Mat& frame = m_state.images.inputImage;
    updateScrollSizes(m_state, {frame.cols, frame.rows});
    refreshDisplay(m_state);
    // Without a frame there is no size to place the geometry for; placing it
    // for 0 x 0 would collapse the user's corners and axis rectangle.
    if (!frame.empty()) {
        resetMappingForImage(frame.cols, frame.rows, m_state.doc.mapping,
                             m_state.doc.axis.axisRect);
        updateInnerQuad(m_state.doc.mapping, m_state.guide);
    }
    if (!m_timers[device]->isActive()) m_timers[device]->start();
}

void CameraController::stopAll() {
    for (int d = 0; d < kCameraCount; ++d) setCameraRunning(d, false);
}

void CameraController::applyCaptureSettings(const CaptureSettings& settings) {
    m_state.capture = settings;
    stopAll();
    for (int d = 0; d < kCameraCount; ++d) {
        if (isOpen(d)) {
            log(captureSuspendedText());
            break;
        }
    }
    if (m_repaint) m_repaint();
}

void CameraController::grabFrame(int device) {
    if (isOpen(device)) {
        settleOutput(m_state.images);
        m_state.images.inputImage = m_cameras[device].read();
        // Gated on the frame, not on the displayed image: with the output
        // shown but not yet built, gating on it would never build it.
        runProcessing(m_state.images, CurrentImage::Input);
    }
    if (m_repaint) m_repaint();
}

}  // namespace qf
