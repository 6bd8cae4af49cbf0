#pragma once
// The frame size and rate asked of a camera; the device may deliver
// something else.

#include <cstdint>

namespace qf {

struct CaptureSettings {
    int32_t captureWidth = 800;
    int32_t captureHeight = 600;
    int32_t captureFps = 30;
    bool operator==(const CaptureSettings&) const = default;
};

}  // namespace qf
