#pragma once
// Tests that change what a whole process may do (how large its files may
// grow, how many threads it may start), or that kill it in the middle of its
// work, do that work in a forked child.

#include <fcntl.h>
#include <sys/ptrace.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <csignal>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

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

// A system call a traced child is about to make.
struct ChildCall {
    pid_t pid = -1;
    long number = -1;
    std::array<uint64_t, 6> args{};

    // The NUL-terminated text at `address` in the child (at most 4096 bytes).
    std::string text(uint64_t address) const {
        std::string out;
        while (out.size() < 4096) {
            errno = 0;
            const long word = ptrace(PTRACE_PEEKDATA, pid,
                                     reinterpret_cast<void*>(address + out.size()), nullptr);
            if (errno != 0) break;
            char bytes[sizeof word];
            std::memcpy(bytes, &word, sizeof word);
            for (char b : bytes) {
                if (b == '\0') return out;
                out += b;
            }
        }
        return out;
    }
};

enum class ChildEnd { Killed, Ended, Untraceable };

// Runs `work` in a forked child and kills it (SIGKILL: no clean-up runs) as
// it enters the n-th system call that `picks` picks, before that call is
// made: a kill timed as exactly as one under strace. `meanwhile` runs while
// the child waits there. Only the thread that calls `work` is watched, not
// the threads it starts.
template <class Work, class Picks, class Meanwhile>
ChildEnd killAtCall(Work work, Picks picks, int n, Meanwhile meanwhile) {
    constexpr int kUntraceable = 121;
    const pid_t child = fork();
    if (child < 0) return ChildEnd::Untraceable;
    if (child == 0) {
        if (ptrace(PTRACE_TRACEME, 0, nullptr, nullptr) != 0) _exit(kUntraceable);
        raise(SIGSTOP);  // waits for the parent to set the tracing up
        _exit(work());
    }
    int status = 0;
    if (waitpid(child, &status, 0) != child || !WIFSTOPPED(status) ||
        ptrace(PTRACE_SETOPTIONS, child, nullptr, PTRACE_O_TRACESYSGOOD | PTRACE_O_EXITKILL) != 0) {
        kill(child, SIGKILL);
        waitpid(child, &status, 0);
        return ChildEnd::Untraceable;
    }
    int seen = 0;
    int pass = 0;  // a signal the child received, handed on
    while (ptrace(PTRACE_SYSCALL, child, nullptr, pass) == 0) {
        pass = 0;
        if (waitpid(child, &status, 0) != child) break;
        if (WIFEXITED(status) || WIFSIGNALED(status)) return ChildEnd::Ended;
        if (!WIFSTOPPED(status)) continue;
        if (WSTOPSIG(status) != (SIGTRAP | 0x80)) {
            pass = WSTOPSIG(status);
            continue;
        }
        __ptrace_syscall_info info{};
        if (ptrace(PTRACE_GET_SYSCALL_INFO, child, sizeof info, &info) <= 0 ||
            info.op != PTRACE_SYSCALL_INFO_ENTRY)
            continue;
        ChildCall call;
        call.pid = child;
        call.number = static_cast<long>(info.entry.nr);
        for (std::size_t i = 0; i < 6; ++i) call.args[i] = info.entry.args[i];
        if (picks(call) && ++seen == n) {
            meanwhile();
            kill(child, SIGKILL);
            waitpid(child, &status, 0);
            return ChildEnd::Killed;
        }
    }
    kill(child, SIGKILL);
    waitpid(child, &status, 0);
    return ChildEnd::Ended;
}

template <class Work, class Picks>
ChildEnd killAtCall(Work work, Picks picks, int n) {
    return killAtCall(work, picks, n, [] {});
}

// Picks for killAtCall: a rename whose new name starts with `prefix`, and a
// file created (opened with O_CREAT) under that name.
inline auto renamesInto(std::string prefix) {
    return [prefix](const ChildCall& c) {
        std::string to;
#ifdef SYS_rename
        if (c.number == SYS_rename) to = c.text(c.args[1]);
#endif
        if (c.number == SYS_renameat || c.number == SYS_renameat2) to = c.text(c.args[3]);
        return !to.empty() && to.rfind(prefix, 0) == 0;
    };
}

inline auto createsIn(std::string prefix) {
    return [prefix](const ChildCall& c) {
        std::string path;
#ifdef SYS_open
        if (c.number == SYS_open && (c.args[1] & O_CREAT)) path = c.text(c.args[0]);
#endif
        if (c.number == SYS_openat && (c.args[2] & O_CREAT)) path = c.text(c.args[1]);
        return !path.empty() && path.rfind(prefix, 0) == 0;
    };
}

}  // namespace qf::test
