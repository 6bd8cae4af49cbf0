#pragma once
// The batch mode: replays a project file without a window — load the picture,
// straighten it when asked, fit, and write the same files the window writes.

#include <cstdint>
#include <iosfwd>
#include <string>

namespace qf {

enum BatchExit {
    BatchOk = 0,
    // 1, 2 and 3 are the fit's own statuses.
    BatchBadInput = 4,  // bad project file, unreadable picture, failed write
};

struct BatchOptions {
    std::string projectPath;
    std::string outDir;            // empty: the project file's folder
    int64_t maxPicturePixels = 0;  // larger pictures are refused; 0: the built-in limit
};

// Writes points.csv, fit.csv, graph.png and working.png into the output folder
// and the fit report to out; what went wrong goes to err. Returns the exit code.
int runBatch(const BatchOptions& options, std::ostream& out, std::ostream& err);

}  // namespace qf
