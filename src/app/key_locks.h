#pragma once
// The lock keys' lights, as far as the display server tells them.

#include <optional>

#include "app/main_window.h"

namespace qf {

// Caps, Num and Scroll Lock from the X server; nothing without an X11
// connection (Wayland, offscreen).
std::optional<KeyLocks> x11KeyLocks();

}  // namespace qf
