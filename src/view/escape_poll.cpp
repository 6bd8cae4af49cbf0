#include "view/escape_poll.h"

#include <QGuiApplication>
#include <utility>

#ifdef QF_HAVE_X11
#include <QtGui/qguiapplication_platform.h>
#include <X11/Xlib.h>
#include <X11/keysym.h>
#endif

namespace qf {
namespace {

// Reading the clock costs tens of nanoseconds; an instruction a few. One read
// in 64 calls keeps the poll well under the cost of the work it watches.
constexpr uint32_t kCallsPerClockRead = 64;

// Asks an X11 display whether Escape is down; no without one.
KeyboardEscapePoll::Query escapeKeyQuery() {
#ifdef QF_HAVE_X11
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    Display* display = x11 ? x11->display() : nullptr;
    if (display) {
        const KeyCode code = XKeysymToKeycode(display, XK_Escape);
        if (code != 0) {
            return [display, code] {
                char keys[32] = {};
                XQueryKeymap(display, keys);
                return (keys[code / 8] & (1 << (code % 8))) != 0;
            };
        }
    }
#endif
    return [] { return false; };
}

}  // namespace

KeyboardEscapePoll::KeyboardEscapePoll()
    : KeyboardEscapePoll(escapeKeyQuery(), std::chrono::milliseconds(25),
                         [] { return std::chrono::steady_clock::now(); }) {}

KeyboardEscapePoll::KeyboardEscapePoll(Query query, std::chrono::milliseconds interval, Clock clock)
    : m_query(std::move(query)), m_interval(interval), m_clock(std::move(clock)) {}

bool KeyboardEscapePoll::escapeRequested() {
    if (m_calls++ % kCallsPerClockRead != 0) return m_held;
    const auto now = m_clock();
    if (m_asked && now - m_last < m_interval) return m_held;
    m_last = now;
    m_asked = true;
    m_held = m_query && m_query();
    return m_held;
}

}  // namespace qf
