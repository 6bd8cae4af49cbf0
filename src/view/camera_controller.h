#pragma once
// The four camera devices of the view: starting, stopping and switching them,
// and the timer tick that reads a frame into the input image and rebuilds the
// output from it. At most one device runs at a time; a device, once opened,
// stays open until the controller is destroyed.

#include <QObject>
#include <array>
#include <functional>
#include <string>

#include "imaging/camera_source.h"
#include "view/view_state.h"

class QTimer;

namespace qf {

class CameraController : public QObject {
    Q_OBJECT
public:
    // repaint: after every tick, start and stop. log: replaces the text of the
    // log page (lines end in CR LF).
    CameraController(ViewState& state, std::function<void()> repaint,
                     std::function<void(const std::string&)> log, QObject* parent = nullptr);
    // Closes every open device; does not touch the view state.
    ~CameraController() override;

    // Which device index is served by a file or stream instead; read from the
    // environment at construction. Takes effect when a device is next opened.
    void setSourceMap(const CameraSourceMap& map) { m_sources = map; }

    // The device commands: start the device and stop any other, or stop it.
    void toggleDevice(int device);
    // Stops every timer; the devices stay open.
    void stopAll();

    // The capture-settings dialog's OK: stores the values, stops every
    // device, and asks the user to restart if any device is open.
    void applyCaptureSettings(const CaptureSettings& settings);

    bool running(int device) const;
    bool isOpen(int device) const;
    std::array<bool, kCameraCount> runningDevices() const;

    // One timer tick of a device.
    void grabFrame(int device);

private:
    // Start (opening if needed) or stop one device's timer.
    void setCameraRunning(int device, bool on);
    void log(const std::string& text);

    ViewState& m_state;
    std::function<void()> m_repaint;
    std::function<void(const std::string&)> m_log;
    CameraSourceMap m_sources;
    std::array<CameraSource, kCameraCount> m_cameras;
    std::array<QTimer*, kCameraCount> m_timers{};
};

}  // namespace qf
