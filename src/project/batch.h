#pragma once
// The batch mode: replays a project file without a window — load the picture,
// straighten it when asked, fit, and write the same files the window writes.

#include <chrono>
#include <cstdint>
#include <iosfwd>
#include <string>
#include <vector>

#include "document/document_record.h"
#include "fit/fit_types.h"
#include "project/project_file.h"

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
    // A project of several series also writes series-wide.csv: their Y
    // side by side on every X any of them has.
    bool wideCsv = false;
};

// One series' part of a run.
struct SeriesRun {
    std::string name;    // as the project names it
    std::string folder;  // its files' folder below the run's; empty for a project's only series
    uint32_t colour = 0;
    int status = BatchBadInput;  // its fit's status; BatchBadInput when it was not reached
    std::string errors;          // its fit's message when it failed
    std::string report;          // its fit report when the run is done
    FitResult result;
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
    // The fit report (LF line ends) when status is BatchOk; with several
    // series, each series' under a line "-- <name> --".
    std::string report;
    FitResult result;    // the active series' factors and coefficients when BatchOk
    std::string outDir;  // where the files went
    // Every series of the project, in its order (none when the project
    // could not be read).
    std::vector<SeriesRun> series;
};

// Writes points.csv, fit.csv, fit.json, graph.png and working.png into the
// output folder as one set (see common/result_set.h): runs into one folder
// take turns, and a set an earlier run left unfinished is completed or
// removed first, so the folder never holds the files of two runs. Safe to
// call from several threads at once.
//
// A project of several series writes points.csv, fit.csv and graph.png into
// a folder per series (see seriesFolderNames), and fit.json (their fits in
// "series"), series.csv (all points, long form), series-wide.csv when asked,
// and working.png into the output folder, all as one set. Each series is
// fitted; the status is the worst (highest) of theirs, and nothing is
// written unless every fit succeeds.
ProjectRun runProject(const BatchOptions& options);

// A record to replay: what a project file holds, or a template applied to
// another picture.
struct BatchRecord {
    DocumentRecord record;
    GeometryGiven given;    // the geometry the record gives; the rest is placed for the picture
    std::string imagePath;  // the picture, as the process finds it
};

// runProject on a record in memory; options.projectPath is not read and an
// empty options.outDir is the current folder.
ProjectRun runRecord(const BatchRecord& work, const BatchOptions& options);

// runProject, with the fit report to out and what went wrong to err. Returns
// the exit code.
int runBatch(const BatchOptions& options, std::ostream& out, std::ostream& err);

}  // namespace qf
