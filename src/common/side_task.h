#pragma once
// Work for a thread of its own, beside the caller's. When the system has no
// thread to give (a limit on processes or on memory: std::system_error),
// the work runs on the thread that asks for its result, when it asks:
// slower, never lost, and never the end of the program.

#include <future>
#include <system_error>
#include <type_traits>
#include <utility>

namespace qf {

template <typename F>
std::future<std::invoke_result_t<std::decay_t<F>>> startBeside(F&& work) {
    try {
        return std::async(std::launch::async, work);
    } catch (const std::system_error&) {
        return std::async(std::launch::deferred, std::forward<F>(work));
    }
}

}  // namespace qf
