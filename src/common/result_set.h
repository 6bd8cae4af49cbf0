#pragma once
// A folder's result files (points.csv, fit.csv, fit.json, graph.png,
// working.png, and for several series their folders' files) are replaced as
// one set, so the folder never holds files of two runs:
//  - a writer holds the folder's lock from its first temporary file to its
//    last rename, so parallel writers take turns;
//  - once every file of a set is finished, a journal naming each temporary
//    file and its target is written before the first rename, and removed
//    after the last;
//  - whoever takes the lock next first completes a set whose journal is
//    left (a writer killed between renames) and removes the hidden temporary
//    files of writers that died before writing theirs.

#include <chrono>
#include <string>
#include <vector>

#include "common/atomic_file.h"

namespace qf {

// The files a result set may hold, and the journal's name beside them.
inline constexpr const char* kResultSetNames[] = {"points.csv", "fit.csv", "fit.json", "graph.png",
                                                  "working.png"};
inline constexpr const char* kResultSetJournal = ".quillfen-set.journal";
// A set of several series adds these beside them, and puts each series'
// points.csv, fit.csv and graph.png in a folder of its own below.
inline constexpr const char* kSeriesSetNames[] = {"series.csv", "series-wide.csv"};

struct FolderLockResult;

// The lock on a folder's result set; released when destroyed (the system
// releases it when the process ends, however it ends).
class FolderLock {
public:
    FolderLock() = default;
    ~FolderLock();
    FolderLock(FolderLock&& other) noexcept;
    FolderLock& operator=(FolderLock&& other) noexcept;
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;

    bool held() const { return m_fd >= 0; }

private:
    friend FolderLockResult lockFolder(const std::string&, std::chrono::milliseconds);
    int m_fd = -1;
};

struct FolderLockResult {
    FolderLock lock;    // held when the folder was had
    bool busy = false;  // another writer held it all the time waited
    std::string error;  // why it was not had, naming the folder
};

// Takes the folder's lock, waiting up to `wait` while another writer holds it.
FolderLockResult lockFolder(const std::string& folder, std::chrono::milliseconds wait);

// With the folder's lock held: completes a set an interrupted writer left
// named in its journal, then removes the temporary files of set members that
// writers no longer running left behind, in the folder and in its folders
// that hold no set of their own. A journal that cannot be completed
// stays, with its files, and the failure names it.
AtomicWriteResult recoverResultSet(const std::string& folder);

// For a writer of a single file (the window's saves) at path: the same
// recovery in the file's folder before the write, so that a set completed
// later cannot replace the file. A folder another writer holds now is left to
// it. Returns what went wrong, empty when nothing did.
std::string recoverResultSetBeside(const std::string& path);

// Renames every file of a set (all in one folder, whose lock the caller
// holds) over its target: finished all at once, named in the journal, then
// renamed. A failure before the journal leaves the old set; a failure after
// it leaves the journal and the files not yet renamed, for the next writer
// to complete, and says so.
AtomicWriteResult commitResultSet(std::vector<AtomicFile>& files);

// The same for a set whose files lie in `folder` or in folders directly
// below it (a series' folder); the journal is written in `folder`. Of
// `removed` (set members relative to `folder` that this set does not hold:
// the files of a set of another shape), those present are removed with the
// renames, so the folder never holds one run's files beside another's.
AtomicWriteResult commitResultSet(const std::string& folder, std::vector<AtomicFile>& files,
                                  const std::vector<std::string>& removed = {});

}  // namespace qf
