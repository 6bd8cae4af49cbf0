#include "common/regular_file.h"

#include <sys/stat.h>


namespace qf {

std::string regularFileProblem(const std::string& path) {
    if (path.empty()) return "no file name given";
    // The system would read the name only up to the NUL: another file.
    if (path.find('\0') != std::string::npos) return "the file name contains a NUL character";
    struct stat st {};
    // Nothing there, or no access: the opener reports that in its own words.
    if (::stat(path.c_str(), &st) != 0) return {};
    if (S_ISREG(st.st_mode)) return {};
    if (S_ISDIR(st.st_mode)) return "is a folder, not a file";
    if (S_ISFIFO(st.st_mode)) return "is a FIFO (named pipe), not a regular file; refused";
    if (S_ISSOCK(st.st_mode)) return "is a socket, not a regular file; refused";
    return "is a device, not a regular file; refused";
}

}  // namespace qf
