#include "common/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <future>
#include <random>

#include "common/side_task.h"

namespace qf {
namespace {

std::string reasonOf(int errorNumber) {
    return std::strerror(errorNumber);
}

// A name beside the target that no other writer picks: hidden, with the
// process id and a random part.
std::string temporaryNameFor(const std::string& target) {
    const std::filesystem::path p(target);
    static thread_local std::mt19937_64 random{std::random_device{}()};
    char suffix[48];
    std::snprintf(suffix, sizeof suffix, ".%ld.%016llx.tmp", static_cast<long>(getpid()),
                  static_cast<unsigned long long>(random()));
    const std::string name = "." + p.filename().string() + suffix;
    return (p.parent_path() / name).string();
}

// The folder a file's name is in ("." for a bare name).
std::filesystem::path folderOf(const std::string& path) {
    std::filesystem::path folder = std::filesystem::path(path).parent_path();
    return folder.empty() ? std::filesystem::path(".") : folder;
}

// Makes a rename inside the folder last across a power cut.
void syncFolder(const std::filesystem::path& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

}  // namespace

AtomicFile::AtomicFile(std::string targetPath) : m_target(std::move(targetPath)) {}

AtomicFile::AtomicFile(AtomicFile&& other) noexcept
    : m_target(std::move(other.m_target)),
      m_tempPath(std::move(other.m_tempPath)),
      m_fd(other.m_fd),
      m_committed(other.m_committed) {
    other.m_fd = -1;
    other.m_tempPath.clear();
    other.m_committed = true;
}

AtomicFile::~AtomicFile() {
    if (!m_committed) discard();
}

AtomicWriteResult AtomicFile::failure(int errorNumber, const std::string& path) {
    return {false, path + ": " + reasonOf(errorNumber), errorNumber};
}

AtomicWriteResult AtomicFile::open() {
    if (m_target.empty()) return {false, "no file name given", ENOENT};
    // A folder at the target's name would take the rename's place silently.
    struct stat st {};
    if (::lstat(m_target.c_str(), &st) == 0 && S_ISDIR(st.st_mode))
        return failure(EISDIR, m_target);
    const bool replacesFile = ::lstat(m_target.c_str(), &st) == 0 && S_ISREG(st.st_mode);
    // The rename needs only the folder's permission; a file its owner made
    // read-only stays as protected as a plain write would leave it.
    if (replacesFile && ::access(m_target.c_str(), W_OK) != 0) return failure(EACCES, m_target);
    for (int attempt = 0; attempt < 8; ++attempt) {
        m_tempPath = temporaryNameFor(m_target);
        m_fd = ::open(m_tempPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (m_fd >= 0) {
            // The new file keeps the permissions the user gave the old one.
            if (replacesFile) ::fchmod(m_fd, st.st_mode & 07777);
            return {true, {}, 0};
        }
        if (errno != EEXIST) break;
    }
    const int e = errno;
    m_tempPath.clear();
    return failure(e, m_target);
}

AtomicWriteResult AtomicFile::write(std::string_view bytes) {
    if (m_fd < 0) return failure(EBADF, m_target);
    const char* p = bytes.data();
    std::size_t left = bytes.size();
    while (left > 0) {
        const ssize_t n = ::write(m_fd, p, left);
        if (n < 0) {
            if (errno == EINTR) continue;
            return failure(errno, m_target);
        }
        p += n;
        left -= static_cast<std::size_t>(n);
    }
    return {true, {}, 0};
}

AtomicWriteResult AtomicFile::finish() {
    if (m_fd < 0) return failure(EBADF, m_target);
    // A full disk can surface only here, on the flush or the close.
    if (::fsync(m_fd) != 0 && errno != EINVAL && errno != EROFS) {
        const int e = errno;
        ::close(m_fd);
        m_fd = -1;
        return failure(e, m_target);
    }
    const int closed = ::close(m_fd);
    m_fd = -1;
    if (closed != 0) return failure(errno, m_target);
    return {true, {}, 0};
}

AtomicWriteResult AtomicFile::commit() {
    if (m_fd >= 0) {
        const AtomicWriteResult f = finish();
        if (!f.ok) return f;
    }
    const AtomicWriteResult r = renameOverTarget();
    if (r.ok) syncFolder(folderOf(m_target));
    return r;
}

AtomicWriteResult AtomicFile::renameOverTarget() {
    if (m_fd >= 0 || m_tempPath.empty()) return failure(EBADF, m_target);
    // A file the encoder never created, or cut short by another process, is
    // no result.
    struct stat st {};
    if (::stat(m_tempPath.c_str(), &st) != 0) return failure(errno, m_target);
    if (::rename(m_tempPath.c_str(), m_target.c_str()) != 0) return failure(errno, m_target);
    m_committed = true;
    m_tempPath.clear();
    return {true, {}, 0};
}

void AtomicFile::discard() {
    if (m_fd >= 0) {
        ::close(m_fd);
        m_fd = -1;
    }
    if (!m_tempPath.empty()) {
        ::unlink(m_tempPath.c_str());
        m_tempPath.clear();
    }
}

std::string AtomicFile::keep() {
    std::string kept = m_tempPath;
    m_tempPath.clear();
    m_committed = true;
    return kept;
}

AtomicWriteResult writeFileAtomically(const std::string& path, std::string_view bytes) {
    AtomicFile file(path);
    AtomicWriteResult r = file.open();
    if (r.ok) r = file.write(bytes);
    if (r.ok) r = file.finish();
    if (r.ok) r = file.commit();
    return r;
}

AtomicWriteResult finishAll(std::vector<AtomicFile>& files) {
    // Flushed side by side: each flush waits for the disk, and the file
    // system commits waiting flushes together.
    std::vector<std::future<AtomicWriteResult>> flushes;
    flushes.reserve(files.size());
    for (AtomicFile& f : files)
        flushes.push_back(startBeside([&f] {
            return f.isOpen() ? f.finish() : AtomicWriteResult{true, {}, 0};
        }));
    AtomicWriteResult first{true, {}, 0};
    for (std::future<AtomicWriteResult>& flush : flushes) {
        const AtomicWriteResult r = flush.get();
        if (first.ok && !r.ok) first = r;
    }
    return first;
}

AtomicWriteResult commitAll(std::vector<AtomicFile>& files) {
    for (AtomicFile& f : files) {
        if (f.tempPath().empty()) return {false, f.targetPath() + ": not written", EBADF};
    }
    if (const AtomicWriteResult r = finishAll(files); !r.ok) return r;
    std::vector<std::filesystem::path> folders;
    for (AtomicFile& f : files) {
        const AtomicWriteResult r = f.renameOverTarget();
        if (!r.ok) return r;
        const std::filesystem::path folder = folderOf(f.targetPath());
        if (std::find(folders.begin(), folders.end(), folder) == folders.end())
            folders.push_back(folder);
    }
    for (const std::filesystem::path& folder : folders) syncFolder(folder);
    return {true, {}, 0};
}

}  // namespace qf
