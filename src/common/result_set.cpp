#include "common/result_set.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <string_view>
#include <thread>
#include <utility>

#include "common/side_task.h"

namespace qf {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kJournalHeader = "quillfen-result-set 1\n";
// Where a folder itself cannot be locked (NFS locks only files open for writing).
constexpr const char* kLockFile = ".quillfen-set.lock";
// A journal names five files, or three per series of at most 32 and four;
// anything larger is not one of ours.
constexpr std::size_t kMaxJournalSize = 64 * 1024;

std::string reasonOf(int errorNumber) {
    return std::strerror(errorNumber);
}

AtomicWriteResult failure(const std::string& what, int errorNumber) {
    return {false, what + ": " + reasonOf(errorNumber), errorNumber};
}

fs::path folderOf(const std::string& path) {
    const fs::path folder = fs::path(path).parent_path();
    return folder.empty() ? fs::path(".") : folder;
}

void syncFolder(const fs::path& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

bool plainName(std::string_view name) {
    return !name.empty() && name != "." && name != ".." &&
           name.find_first_of(std::string_view("/\t\n\0", 4)) == std::string_view::npos;
}

// The target of a temporary file AtomicFile names ".<target>.<pid>.<16 hex
// digits>.tmp", and the process that made it; empty when the name is not one.
std::pair<std::string, long> temporaryOf(std::string_view name) {
    if (name.size() < 2 || name.front() != '.' || !name.ends_with(".tmp")) return {};
    std::string_view rest = name.substr(1, name.size() - 5);
    const auto hexDot = rest.rfind('.');
    if (hexDot == std::string_view::npos || rest.size() - hexDot - 1 != 16 ||
        !std::all_of(rest.begin() + hexDot + 1, rest.end(),
                     [](char c) { return std::isxdigit(static_cast<unsigned char>(c)); }))
        return {};
    rest = rest.substr(0, hexDot);
    const auto pidDot = rest.rfind('.');
    if (pidDot == std::string_view::npos || pidDot + 1 == rest.size() || rest.size() - pidDot > 11)
        return {};
    long pid = 0;
    for (char c : rest.substr(pidDot + 1)) {
        if (c < '0' || c > '9') return {};
        pid = pid * 10 + (c - '0');
    }
    if (pid <= 0 || pidDot == 0) return {};
    return {std::string(rest.substr(0, pidDot)), pid};
}

// A temporary file's maker still at work. This process's own are in no
// write while it holds the folder's lock.
bool running(long pid) {
    if (pid == static_cast<long>(::getpid())) return false;
    return ::kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM;
}

// A name in the set's folder, or "folder/name" one folder below it.
bool entryName(std::string_view name) {
    const auto slash = name.find('/');
    if (slash == std::string_view::npos) return plainName(name);
    return plainName(name.substr(0, slash)) && plainName(name.substr(slash + 1));
}

std::string_view folderPart(std::string_view name) {
    const auto slash = name.find('/');
    return slash == std::string_view::npos ? std::string_view() : name.substr(0, slash + 1);
}

std::string_view filePart(std::string_view name) {
    return name.substr(folderPart(name).size());
}

bool setMember(std::string_view target) {
    if (target == kResultSetJournal) return true;
    for (const char* n : kResultSetNames)
        if (target == n) return true;
    for (const char* n : kSeriesSetNames)
        if (target == n) return true;
    return false;
}

// The journal's entries (temporary name, target name), or why it is not a
// journal of ours.
struct Journal {
    std::vector<std::pair<std::string, std::string>> entries;
    std::string problem;
};

Journal parseJournal(const std::string& text) {
    Journal j;
    if (!text.starts_with(kJournalHeader)) {
        j.problem = "not a journal of this program";
        return j;
    }
    std::size_t at = kJournalHeader.size();
    while (at < text.size()) {
        const auto end = text.find('\n', at);
        const auto tab = text.find('\t', at);
        if (end == std::string::npos || tab == std::string::npos || tab > end) {
            j.problem = "a line is cut or malformed";
            return j;
        }
        std::string temp = text.substr(at, tab - at);
        std::string target = text.substr(tab + 1, end - tab - 1);
        // No temporary file: the target is a file of another shape of set
        // (one series or several), removed with the set's renames.
        const bool removal = temp.empty() && entryName(target) && setMember(filePart(target)) &&
                             filePart(target) != kResultSetJournal;
        if (!removal &&
            (!entryName(temp) || !entryName(target) || folderPart(temp) != folderPart(target) ||
             temporaryOf(filePart(temp)).first != filePart(target))) {
            j.problem = "a line names no temporary file of its target";
            return j;
        }
        j.entries.emplace_back(std::move(temp), std::move(target));
        at = end + 1;
    }
    return j;
}

// The journal's text, or nothing when there is none; a failure to read it.
AtomicWriteResult readJournal(const fs::path& path, std::string& text, bool& present) {
    present = false;
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
    if (fd < 0) {
        if (errno == ENOENT) return {true, {}, 0};
        return failure(path.string(), errno);
    }
    present = true;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) ||
        static_cast<std::size_t>(st.st_size) > kMaxJournalSize) {
        ::close(fd);
        return {false, path.string() + ": not a journal of this program; remove it to write here",
                EINVAL};
    }
    char buffer[4096];
    for (ssize_t n; (n = ::read(fd, buffer, sizeof buffer)) != 0;) {
        if (n < 0) {
            if (errno == EINTR) continue;
            const int e = errno;
            ::close(fd);
            return failure(path.string(), e);
        }
        text.append(buffer, static_cast<std::size_t>(n));
        if (text.size() > kMaxJournalSize) break;
    }
    ::close(fd);
    return {true, {}, 0};
}

// Renames what the journal names and is still waiting, then removes it.
AtomicWriteResult completeJournal(const fs::path& dir) {
    const fs::path journalPath = dir / kResultSetJournal;
    std::string text;
    bool present = false;
    if (AtomicWriteResult r = readJournal(journalPath, text, present); !r.ok || !present) return r;
    const Journal journal = parseJournal(text);
    if (!journal.problem.empty())
        return {false, journalPath.string() + ": " + journal.problem + "; remove it to write here",
                EINVAL};
    for (const auto& [temp, target] : journal.entries) {
        if (temp.empty()) {
            if (::unlink((dir / target).c_str()) != 0 && errno != ENOENT)
                return failure((dir / target).string(), errno);
            continue;
        }
        const fs::path from = dir / temp;
        struct stat st {};
        if (::lstat(from.c_str(), &st) != 0) {
            if (errno == ENOENT) continue;  // renamed before the writer stopped
            return failure(from.string(), errno);
        }
        if (::rename(from.c_str(), (dir / target).c_str()) != 0) {
            const int e = errno;
            return {false,
                    journalPath.string() + ": an interrupted set cannot be completed: " +
                        (dir / target).string() + ": " + reasonOf(e),
                    e};
        }
    }
    for (const auto& [temp, target] : journal.entries)
        if (!folderPart(target).empty()) syncFolder(dir / std::string(folderPart(target)));
    syncFolder(dir);
    if (::unlink(journalPath.c_str()) != 0 && errno != ENOENT)
        return failure(journalPath.string(), errno);
    return {true, {}, 0};
}

// Removes the temporary files of set members that writers no longer running
// left in dir; with `below`, also in its folders that hold no set of their
// own (a series' folder), whose journal's files must wait for it.
AtomicWriteResult removeLeftTemporaries(const fs::path& dir, bool below) {
    std::error_code ec;
    for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        std::error_code kind;
        if (below && it->is_directory(kind) && !it->is_symlink(kind)) {
            if (fs::exists(it->path() / kResultSetJournal, kind) || kind) continue;
            if (AtomicWriteResult r = removeLeftTemporaries(it->path(), false); !r.ok) return r;
            continue;
        }
        const auto [target, pid] = temporaryOf(name);
        if (target.empty() || !setMember(target) || running(pid)) continue;
        if (::unlink(it->path().c_str()) != 0 && errno != ENOENT)
            return failure(it->path().string(), errno);
    }
    if (ec) return {false, dir.string() + ": " + ec.message(), ec.value()};
    return {true, {}, 0};
}

}  // namespace

FolderLock::~FolderLock() {
    if (m_fd >= 0) ::close(m_fd);  // closing releases the lock
}

FolderLock::FolderLock(FolderLock&& other) noexcept : m_fd(std::exchange(other.m_fd, -1)) {}

FolderLock& FolderLock::operator=(FolderLock&& other) noexcept {
    if (this != &other) {
        if (m_fd >= 0) ::close(m_fd);
        m_fd = std::exchange(other.m_fd, -1);
    }
    return *this;
}

FolderLockResult lockFolder(const std::string& folder, std::chrono::milliseconds wait) {
    using Clock = std::chrono::steady_clock;
    const fs::path dir = folder.empty() ? fs::path(".") : fs::path(folder);
    FolderLockResult r;
    int fd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        r.error = dir.string() + ": " + reasonOf(errno);
        return r;
    }
    bool lockFile = false;
    const Clock::time_point deadline = Clock::now() + wait;
    std::chrono::milliseconds pause(1);
    for (;;) {
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
            r.lock.m_fd = fd;
            return r;
        }
        const int e = errno;
        if (e == EINTR) continue;
        if (e != EWOULDBLOCK) {
            if (!lockFile && (e == EBADF || e == ENOLCK || e == EOPNOTSUPP || e == EINVAL)) {
                ::close(fd);
                lockFile = true;
                fd = ::open((dir / kLockFile).c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW,
                            0666);
                if (fd >= 0) continue;
            }
            const int why = fd < 0 ? errno : e;
            if (fd >= 0) ::close(fd);
            r.error = dir.string() + ": cannot be locked for writing: " + reasonOf(why);
            return r;
        }
        const Clock::time_point now = Clock::now();
        if (now >= deadline) break;
        std::this_thread::sleep_for(std::min<Clock::duration>(pause, deadline - now));
        pause = std::min(pause * 2, std::chrono::milliseconds(50));
    }
    ::close(fd);
    r.busy = true;
    const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(wait).count();
    r.error = dir.string() + ": another run is writing its files into this folder" +
              (seconds > 0 ? " (waited " + std::to_string(seconds) + " s for it)" : "");
    return r;
}

AtomicWriteResult recoverResultSet(const std::string& folder) {
    const fs::path dir = folder.empty() ? fs::path(".") : fs::path(folder);
    if (AtomicWriteResult r = completeJournal(dir); !r.ok) return r;
    return removeLeftTemporaries(dir, true);
}

std::string recoverResultSetBeside(const std::string& path) {
    const fs::path dir = folderOf(path);
    std::error_code ec;
    if (!fs::is_directory(dir, ec)) return {};  // the write says what is wrong
    // A folder held by a writer now holds that writer's set, whole when it
    // is done; one that cannot be locked is left to the write's own checks.
    const FolderLockResult lock = lockFolder(dir.string(), std::chrono::milliseconds(0));
    if (!lock.lock.held()) return {};
    const AtomicWriteResult r = recoverResultSet(dir.string());
    return r.ok ? std::string() : r.error;
}

AtomicWriteResult commitResultSet(std::vector<AtomicFile>& files) {
    if (files.empty()) return {true, {}, 0};
    return commitResultSet(folderOf(files.front().targetPath()).string(), files);
}

AtomicWriteResult commitResultSet(const std::string& folder, std::vector<AtomicFile>& files,
                                  const std::vector<std::string>& removed) {
    if (files.empty()) return {true, {}, 0};
    const fs::path dir = folder.empty() ? fs::path(".") : fs::path(folder);
    std::string journal(kJournalHeader);
    std::vector<fs::path> below;  // series' folders, synced with the set's
    for (AtomicFile& f : files) {
        if (f.tempPath().empty()) return {false, f.targetPath() + ": not written", EBADF};
        const fs::path in = folderOf(f.targetPath());
        std::string prefix;
        if (in != dir) {
            const std::string sub = in.filename().string();
            if (folderOf(in.string()) != dir || !plainName(sub))
                return {false, f.targetPath() + ": not in the set's folder " + dir.string(),
                        EINVAL};
            prefix = sub + "/";
            if (std::find(below.begin(), below.end(), in) == below.end()) below.push_back(in);
        }
        const std::string temp = prefix + fs::path(f.tempPath()).filename().string();
        const std::string target = prefix + fs::path(f.targetPath()).filename().string();
        if (!entryName(target))
            return {false, f.targetPath() + ": not in the set's folder " + dir.string(), EINVAL};
        journal += temp + "\t" + target + "\n";
    }
    std::vector<fs::path> stale;
    for (const std::string& name : removed) {
        struct stat st {};
        if (!entryName(name) || !setMember(filePart(name)) ||
            ::lstat((dir / name).c_str(), &st) != 0)
            continue;
        journal += "\t" + name + "\n";
        stale.push_back(dir / name);
    }
    if (const AtomicWriteResult r = finishAll(files); !r.ok) return r;

    // From here on the set is complete on the disk: whoever finds the
    // journal finishes the renames.
    const fs::path journalPath = dir / kResultSetJournal;
    if (AtomicWriteResult r = writeFileAtomically(journalPath.string(), journal); !r.ok) return r;
    for (std::size_t i = 0; i < files.size(); ++i) {
        AtomicWriteResult r = files[i].renameOverTarget();
        if (r.ok) continue;
        for (std::size_t k = i; k < files.size(); ++k) files[k].keep();
        r.error += "; the rest of the set waits in hidden files that " + journalPath.string() +
                   " names, for the next run to complete";
        return r;
    }
    for (const fs::path& path : stale)
        if (::unlink(path.c_str()) != 0 && errno != ENOENT) {
            AtomicWriteResult r = failure(path.string(), errno);
            r.error += "; " + journalPath.string() + " names it for the next run to remove";
            return r;
        }
    for (const fs::path& sub : below) syncFolder(sub);
    syncFolder(dir);
    if (::unlink(journalPath.c_str()) != 0 && errno != ENOENT)
        return failure(journalPath.string(), errno);
    return {true, {}, 0};
}

}  // namespace qf
