#pragma once
// Input files must be regular files. A FIFO, a device or a socket named as a
// project or a picture would block the reader forever or feed it without end,
// so the path is checked before anything opens it.

#include <string>

namespace qf {

// Why path must not be opened for reading, empty when it may: a regular file
// (or a symbolic link to one), or nothing that can be looked at, which the
// opener then reports in its own words. The reasons read after "<path>: ".
std::string regularFileProblem(const std::string& path);

}  // namespace qf
