#pragma once
// The automatic mode: each picture read by itself (frame, axes, every
// series), its project written and replayed as the batch mode replays one,
// into a folder of its own. Up to N pictures at once; their results are
// printed in the order given.

#include <cstdint>
#include <iosfwd>
#include <string>
#include <vector>

#include "project/auto_chart.h"

namespace qf {

struct AutoSetOptions {
    std::vector<std::string> pictures;
    // Each picture's project and files go into <outDir>/<picture name>/
    // (empty outDir: beside the picture).
    std::string outDir;
    int jobs = 0;  // pictures at once; 0: the number of processors
    // One JSON object per picture and line on out instead of the fit reports.
    bool json = false;
    int64_t maxPicturePixels = 0;  // larger pictures are refused; 0: the built-in limit
    bool utf8Csv = false;          // the CSV files in UTF-8 (see BatchOptions)
    bool wideCsv = false;          // series-wide.csv for pictures of several series
    AutoOptions chart;
};

// Where each picture's project and files go, in the order given.
std::vector<std::string> autoOutDirs(const AutoSetOptions& options);

// Reads every picture. A picture whose axes cannot be read gets status 4
// (BatchBadInput) with the reason, and nothing is written for it; one that
// reads gets its project, and the batch mode's files and status. The exit
// code is the highest status (BatchUsage, before anything runs, when two
// pictures would share a folder).
int runAutoSet(const AutoSetOptions& options, std::ostream& out, std::ostream& err);

}  // namespace qf
