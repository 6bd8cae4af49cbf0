#pragma once
// Files are replaced whole or not at all: the new contents go to a temporary
// file in the target's folder, are flushed to the disk, and only then renamed
// over the target. A failure removes the temporary file and leaves the old
// file as it was; a kill during the write leaves at most a hidden temporary
// behind, never a cut target. The rename replaces a symbolic link at the
// target's name instead of writing through it.

#include <string>
#include <string_view>
#include <vector>

namespace qf {

struct AtomicWriteResult {
    bool ok = false;
    std::string error;    // "<path>: <system reason>" when !ok
    int errorNumber = 0;  // the system's errno, 0 when none applies
};

// One file being replaced. Writers that produce a file themselves (image
// encoders) write to tempPath(); others hand their bytes to write().
class AtomicFile {
public:
    explicit AtomicFile(std::string targetPath);
    ~AtomicFile();  // removes the temporary file unless committed
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;
    AtomicFile(AtomicFile&& other) noexcept;

    // Creates the temporary file (mode 0666 less the umask, like a plain
    // create). Must succeed before anything else is used.
    AtomicWriteResult open();
    const std::string& tempPath() const { return m_tempPath; }
    const std::string& targetPath() const { return m_target; }
    bool isOpen() const { return m_fd >= 0; }

    // Writes all bytes to the temporary file.
    AtomicWriteResult write(std::string_view bytes);
    // Flushes the temporary file (whoever wrote it) to the disk; then the
    // target may be replaced.
    AtomicWriteResult finish();
    // Renames the finished temporary file over the target (finishing it
    // first when it is still open) and flushes the folder.
    AtomicWriteResult commit();
    // The rename alone: the folder is flushed by the caller.
    AtomicWriteResult renameOverTarget();
    // Removes the temporary file; the target stays as it was.
    void discard();
    // Leaves the finished temporary file where it is, for a journal that
    // names it to complete later; returns its path.
    std::string keep();

private:
    AtomicWriteResult failure(int errorNumber, const std::string& path);

    std::string m_target;
    std::string m_tempPath;
    int m_fd = -1;
    bool m_committed = false;
};

// The whole of bytes, written to path through a temporary file.
AtomicWriteResult writeFileAtomically(const std::string& path, std::string_view bytes);

// Renames every file of a set over its target, the set written as one
// result: files still open are finished first, all at once (the file system
// flushes them together), and nothing is replaced unless every one was
// finished. Each folder is flushed once, after the renames. Returns the
// first failure; files renamed before it stay renamed.
AtomicWriteResult commitAll(std::vector<AtomicFile>& files);

// Finishes every file still open, all at once; the first failure, if any.
AtomicWriteResult finishAll(std::vector<AtomicFile>& files);

}  // namespace qf
