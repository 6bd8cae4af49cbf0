#pragma once
// Tests that change what a whole process may do (how large its files may
// grow, how many threads it may start) do their work in a forked child.

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstddef>

namespace qf::test {

// Runs `work` in a forked child, which exits with what it returns; that
// status, or -1 when no child could be made or it did not end by exiting.
template <class Work>
int exitStatusInChild(Work work) {
    const pid_t child = fork();
    if (child < 0) return -1;
    if (child == 0) _exit(work());
    int status = 0;
    if (waitpid(child, &status, 0) != child || !WIFEXITED(status)) return -1;
    return WEXITSTATUS(status);
}

// For a forked child: from here on a write past `bytes` of a file fails as
// on a full disk (the kernel's file-size limit, with its signal ignored so
// that the write itself reports EFBIG).
inline void diskFullPast(std::size_t bytes) {
    std::signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{bytes, bytes};
    setrlimit(RLIMIT_FSIZE, &limit);
}

}  // namespace qf::test
