#include "common/side_task.h"

#include <gtest/gtest.h>

#include <thread>

#include "../support/child_process.h"
#include "../support/no_threads.h"

namespace qf {
namespace {

TEST(SideTaskTest, WorkRunsOnAThreadOfItsOwn) {
    const std::thread::id caller = std::this_thread::get_id();
    std::future<std::thread::id> ran = startBeside([] { return std::this_thread::get_id(); });
    EXPECT_NE(ran.get(), caller);
}

// std::async threw std::system_error when no thread could be started, and
// the program ended there.
TEST(SideTaskTest, WithoutAThreadTheWorkRunsOnTheCallerWhenAskedFor) {
    const int status = test::exitStatusInChild([] {
        test::forbidNewThreads(std::size_t(256) << 20);
        const std::thread::id caller = std::this_thread::get_id();
        bool ran = false;
        std::future<std::thread::id> where = startBeside([&ran] {
            ran = true;
            return std::this_thread::get_id();
        });
        const bool deferred = !ran;  // not run until asked for
        return deferred && where.get() == caller && ran ? 0 : 1;
    });
    EXPECT_EQ(status, 0);
}

}  // namespace
}  // namespace qf
