#pragma once
// Independent runs, up to N at once, each on its own thread, their results
// handed on in the order the runs were given, each as soon as it and those
// before it are done.

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <mutex>
#include <opencv2/core.hpp>
#include <optional>
#include <system_error>
#include <thread>
#include <utility>
#include <vector>

namespace qf {

// run(i) makes the result of run i on a worker; done(i, result) takes it on
// the calling thread. A single run stays on the calling thread. jobs 0: the
// number of processors.
template <typename Result, typename Run, typename Done>
void runInOrder(std::size_t count, int jobsAsked, Run run, Done done) {
    unsigned jobs = jobsAsked > 0 ? static_cast<unsigned>(jobsAsked)
                                  : std::max(1u, std::thread::hardware_concurrency());
    jobs = static_cast<unsigned>(std::min<std::size_t>(jobs, count));

    std::vector<std::optional<Result>> results(count);
    std::mutex mutex;
    std::condition_variable ready;
    std::atomic<std::size_t> next{0};
    const auto work = [&] {
        for (std::size_t i; (i = next.fetch_add(1)) < count;) {
            Result r = run(i);
            const std::lock_guard lock(mutex);
            results[i] = std::move(r);
            ready.notify_all();
        }
    };
    std::vector<std::thread> workers;
    // Runs side by side fill the processors better than OpenCV's threads
    // inside each one.
    const int openCvThreads = cv::getNumThreads();
    if (jobs > 1) cv::setNumThreads(1);
    if (count > 1) {
        for (unsigned t = 0; t < jobs; ++t) {
            try {
                workers.emplace_back(work);
            } catch (const std::system_error&) {
                break;  // no thread to spare: those started, or this one, do the rest
            }
        }
    }
    if (workers.empty()) work();

    for (std::size_t i = 0; i < count; ++i) {
        std::unique_lock lock(mutex);
        ready.wait(lock, [&] { return results[i].has_value(); });
        Result r = std::move(*results[i]);
        results[i].reset();
        lock.unlock();
        done(i, std::move(r));
    }
    for (std::thread& t : workers) t.join();
    cv::setNumThreads(openCvThreads);
}

}  // namespace qf
