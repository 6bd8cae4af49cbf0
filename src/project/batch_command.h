#pragma once
// The batch mode as a command: the process set up for running without a
// display, then the projects run.

#include <functional>
#include <iosfwd>

#include "project/batch_set.h"

namespace qf {

// Draws off screen (no display is needed). Standard error carries our own
// messages only: Qt's notes about the desktop session, OpenCV's log and the
// notes libpng prints for damaged or unusual pictures are not the user's
// business, and whatever matters in them reaches the user as our message
// about the picture. Returns the exit code.
// `prepare`, when given, runs once the application object exists and before
// any project: it puts the user's language in place.
int runBatchCommand(int argc, char** argv, const BatchSetOptions& options,
                    void (*prepare)() = nullptr);

// The same process set-up around another command without a window (the
// automatic mode): `run` gets standard output and our standard error.
int runOffscreenCommand(int argc, char** argv,
                        const std::function<int(std::ostream&, std::ostream&)>& run,
                        void (*prepare)() = nullptr);

}  // namespace qf
