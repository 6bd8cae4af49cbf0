#include "common/side_task.h"

#include <gtest/gtest.h>
#include <pthread.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <thread>

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
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        // New threads ask for stacks larger than the process may still map.
        pthread_attr_t huge;
        pthread_attr_init(&huge);
        pthread_attr_setstacksize(&huge, std::size_t(1) << 30);
        pthread_setattr_default_np(&huge);
        long pages = 0;
        std::ifstream("/proc/self/statm") >> pages;
        const rlim_t room = rlim_t(pages) * rlim_t(sysconf(_SC_PAGESIZE)) + (rlim_t(256) << 20);
        const rlimit limit{room, room};
        setrlimit(RLIMIT_AS, &limit);

        const std::thread::id caller = std::this_thread::get_id();
        bool ran = false;
        std::future<std::thread::id> where = startBeside([&ran] {
            ran = true;
            return std::this_thread::get_id();
        });
        const bool deferred = !ran;  // not run until asked for
        _exit(deferred && where.get() == caller && ran ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
}

}  // namespace
}  // namespace qf
