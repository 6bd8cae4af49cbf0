#include "project/batch_command.h"

#include <fcntl.h>
#include <unistd.h>

#include <QGuiApplication>
#include <iostream>
#include <opencv2/core/utils/logger.hpp>
#include <streambuf>
#include <string>

namespace qf {
namespace {

// Sanitizer reports go to standard error and must stay visible.
#if defined(__SANITIZE_ADDRESS__)
constexpr bool kSanitized = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool kSanitized = true;
#else
constexpr bool kSanitized = false;
#endif
#else
constexpr bool kSanitized = false;
#endif

int g_messageFd = 2;  // where our messages go

void writeAll(int fd, const char* p, std::size_t n) {
    while (n > 0) {
        const ssize_t w = ::write(fd, p, n);
        if (w < 0) {
            if (errno == EINTR) continue;
            return;
        }
        p += w;
        n -= static_cast<std::size_t>(w);
    }
}

// An output stream's buffer over a file descriptor, written out at each flush.
class FdBuffer : public std::streambuf {
public:
    explicit FdBuffer(int fd) : fd_(fd) {}
    ~FdBuffer() override { sync(); }

protected:
    int_type overflow(int_type c) override {
        if (c != traits_type::eof()) pending_ += static_cast<char>(c);
        if (c == '\n') sync();
        return traits_type::not_eof(c);
    }
    std::streamsize xsputn(const char* s, std::streamsize n) override {
        pending_.append(s, static_cast<std::size_t>(n));
        return n;
    }
    int sync() override {
        writeAll(fd_, pending_.data(), pending_.size());
        pending_.clear();
        return 0;
    }

private:
    int fd_;
    std::string pending_;
};

// Moves standard error aside: our messages keep the real one, the libraries'
// writes to descriptor 2 go nowhere.
int keepStandardErrorForUs() {
    if (kSanitized) return 2;
    const int ours = ::fcntl(2, F_DUPFD_CLOEXEC, 3);
    const int null = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
    if (ours < 0 || null < 0) {
        if (ours >= 0) ::close(ours);
        if (null >= 0) ::close(null);
        return 2;
    }
    ::dup2(null, 2);
    ::close(null);
    return ours;
}

}  // namespace

int runOffscreenCommand(int argc, char** argv,
                        const std::function<int(std::ostream&, std::ostream&)>& run,
                        void (*prepare)()) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    cv::utils::logging::setLogLevel(cv::utils::logging::LOG_LEVEL_SILENT);
    g_messageFd = keepStandardErrorForUs();
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& m) {
        if (type != QtCriticalMsg && type != QtFatalMsg) return;
        const std::string line = "quillfen: " + m.toStdString() + "\n";
        writeAll(g_messageFd, line.data(), line.size());
    });
    FdBuffer buffer(g_messageFd);
    std::ostream err(&buffer);
    QGuiApplication app(argc, argv);
    if (prepare) prepare();
    const int status = run(std::cout, err);
    std::cout.flush();
    err.flush();
    return status;
}

int runBatchCommand(int argc, char** argv, const BatchSetOptions& options, void (*prepare)()) {
    return runOffscreenCommand(
        argc, argv,
        [&options](std::ostream& out, std::ostream& err) { return runBatchSet(options, out, err); },
        prepare);
}

}  // namespace qf
