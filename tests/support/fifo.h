#pragma once
// A named pipe for tests of readers that must refuse one. A reader that opened
// it would block until a writer came; a helper thread stands ready as that
// writer (it writes nothing and closes), so a faulty reader gets end of file
// and fails its test instead of hanging it. No timing is involved: the guard
// releases the helper by opening the pipe itself when it goes.

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <thread>

namespace qf::test {

class Fifo {
public:
    explicit Fifo(std::filesystem::path path) : path_(std::move(path)) {
        std::filesystem::remove(path_);
        made_ = ::mkfifo(path_.c_str(), 0600) == 0;
        if (made_)
            writer_ = std::thread([p = path_] {
                const int fd = ::open(p.c_str(), O_WRONLY | O_CLOEXEC);
                if (fd >= 0) ::close(fd);
            });
    }
    ~Fifo() {
        if (!made_) return;
        // Lets the writer's open return when no reader came.
        const int fd = ::open(path_.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
        writer_.join();
        if (fd >= 0) ::close(fd);
        std::filesystem::remove(path_);
    }
    Fifo(const Fifo&) = delete;
    Fifo& operator=(const Fifo&) = delete;

    bool made() const { return made_; }
    std::string path() const { return path_.string(); }

private:
    std::filesystem::path path_;
    bool made_ = false;
    std::thread writer_;
};

}  // namespace qf::test
