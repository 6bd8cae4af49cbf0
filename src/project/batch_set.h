#pragma once
// Several projects in one batch run: each is independent, so up to N run at
// once, each on its own thread. Their results are printed in the order the
// projects were given, each as soon as it and those before it are done.

#include <cstdint>
#include <iosfwd>
#include <string>
#include <vector>

namespace qf {

struct ProjectRun;

struct BatchSetOptions {
    std::vector<std::string> projects;
    // One project: its files go here (empty: the project's folder). Several:
    // each into <outDir>/<project name>/ (empty outDir: beside each project).
    std::string outDir;
    int jobs = 0;  // projects at once; 0: the number of processors
    // One JSON object per project and line on out instead of the fit reports.
    bool json = false;
    int64_t maxPicturePixels = 0;  // larger pictures are refused; 0: the built-in limit
    bool utf8Csv = false;          // the CSV files in UTF-8 (see BatchOptions)
    bool wideCsv = false;          // series-wide.csv for projects of several series
    // Pictures to read with the one project in `projects` as a template: its
    // mapping, axes, extraction seeds and fit settings, without its clicked
    // points (they lie on its own picture). Each picture's files go into
    // <outDir>/<picture name>/ (empty outDir: the template's folder).
    std::vector<std::string> images;
};

// A picture's name: its file name without the last extension.
std::string pictureName(const std::string& picturePath);

// A project's name: its file name without ".quillfen.json" (or the last extension).
std::string projectName(const std::string& projectPath);

// Why a project's name cannot name its output folder (empty, "." or "..", or
// holding a path separator); empty when it can.
std::string projectNameProblem(const std::string& name);

// Where each project's files go, in the order given.
std::vector<std::string> projectOutDirs(const BatchSetOptions& options);

// What --json prints for a run: one line of JSON (project, name, picture
// for a template's run, status, message, output folder, the active series'
// fit, and with several series each one's in "series"), ending in a line
// feed.
std::string jsonLine(const std::string& project, const std::string& name, const std::string& image,
                     const ProjectRun& run);

// Runs every project (or the template on every picture); the exit code is
// the highest status of any of them (BatchUsage, before anything runs, when
// two would share a folder).
int runBatchSet(const BatchSetOptions& options, std::ostream& out, std::ostream& err);

}  // namespace qf
