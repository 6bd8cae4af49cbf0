#pragma once
// The Escape key as the formula machine sees it while a fit runs. The fit runs
// on the window's thread without handling events, so the key's state is asked
// of the display server directly, and only now and then: the machine asks
// before every instruction.

#include <chrono>
#include <cstdint>
#include <functional>

#include "expr/escape.h"

namespace qf {

class KeyboardEscapePoll final : public EscapePoll {
public:
    using Query = std::function<bool()>;  // true while Escape is held down
    using Clock = std::function<std::chrono::steady_clock::time_point()>;

    // The display's keyboard every 25 ms of run time: an X11 display is
    // asked; without one (Wayland, offscreen) the key cannot be seen mid-run
    // and the poll says no.
    KeyboardEscapePoll();
    KeyboardEscapePoll(Query query, std::chrono::milliseconds interval, Clock clock);

    // The last answer of the query, asked again once the interval has passed;
    // the clock itself is read only every few calls.
    bool escapeRequested() override;

private:
    Query m_query;
    std::chrono::milliseconds m_interval;
    Clock m_clock;
    std::chrono::steady_clock::time_point m_last{};
    uint32_t m_calls = 0;
    bool m_held = false;
    bool m_asked = false;
};

// Installs a poll for as long as it lives, so every exit path removes it.
class ScopedEscapePoll {
public:
    explicit ScopedEscapePoll(EscapePoll& poll) { setEscapePoll(&poll); }
    ~ScopedEscapePoll() { setEscapePoll(nullptr); }
    ScopedEscapePoll(const ScopedEscapePoll&) = delete;
    ScopedEscapePoll& operator=(const ScopedEscapePoll&) = delete;
};

}  // namespace qf
