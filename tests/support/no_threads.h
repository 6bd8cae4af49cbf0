#pragma once
// For a forked child: from here on no new thread can start. Each new thread
// asks for a stack larger than the process may still map (its address space
// is limited to what it maps now and `room` bytes more, enough for the work
// itself), as under a limit on processes or memory.

#include <pthread.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cstddef>
#include <fstream>

namespace qf::test {

inline void forbidNewThreads(std::size_t room) {
    pthread_attr_t huge;
    pthread_attr_init(&huge);
    pthread_attr_setstacksize(&huge, std::size_t(1) << 30);
    pthread_setattr_default_np(&huge);
    long pages = 0;
    std::ifstream("/proc/self/statm") >> pages;
    const rlim_t limit = rlim_t(pages) * rlim_t(sysconf(_SC_PAGESIZE)) + rlim_t(room);
    const rlimit r{limit, limit};
    setrlimit(RLIMIT_AS, &r);
}

}  // namespace qf::test
