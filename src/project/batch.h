#pragma once
// The batch mode: replays a project file without a window — load the picture,
// straighten it when asked, fit, and write the same files the window writes.

#include <chrono>
#include <cstdint>
#include <iosfwd>
#include <string>

#include "fit/fit_types.h"

namespace qf {

enum BatchExit {
    BatchOk = 0,
    // 1, 2 and 3 are the fit's own statuses.
    BatchBadInput = 4,  // bad project file, unreadable picture, failed write
    BatchUsage = 64,    // a command line that cannot be run (as sysexits' EX_USAGE)
};

struct BatchOptions {
    std::string projectPath;
    std::string outDir;            // empty: the project file's folder
    int64_t maxPicturePixels = 0;  // larger pictures are refused; 0: the built-in limit
    // How long to wait while another run writes into the output folder
    // before giving up with a message.
    std::chrono::milliseconds lockWait = std::chrono::minutes(10);
    // points.csv and fit.csv in UTF-8 with LF line ends and no final NUL, for
    // today's spreadsheets and scripts; else code page 932, CR LF and a NUL,
    // as the window writes them.
    bool utf8Csv = false;
};

// What one project's run came to.
struct ProjectRun {
    int status = BatchBadInput;
    // What went wrong, as printed on standard error (LF line ends, each line
    // complete); empty on success.
    std::string errors;
    // Damage read past in the picture, printed before the errors in the
    // same form ("quillfen: warning: PATH: ..."); the run goes on.
    std::string warnings;
    std::string report;  // the fit report (LF line ends) when status is BatchOk
    FitResult result;    // the normalisation factors and coefficients when BatchOk
    std::string outDir;  // where the files went
};

// Writes points.csv, fit.csv, fit.json, graph.png and working.png into the
// output folder as one set (see common/result_set.h): runs into one folder
// take turns, and a set an earlier run left unfinished is completed or
// removed first, so the folder never holds the files of two runs. Safe to
// call from several threads at once.
ProjectRun runProject(const BatchOptions& options);

// runProject, with the fit report to out and what went wrong to err. Returns
// the exit code.
int runBatch(const BatchOptions& options, std::ostream& out, std::ostream& err);

}  // namespace qf
