#pragma once
// Parts of the program that most sessions never use live in modules loaded on
// first use (the cameras with OpenCV's video I/O, OpenCV's picture codecs for
// the rarer formats): a start maps only the libraries every session needs.
//
// A module is looked for in QUILLFEN_MODULE_DIR when set, then in the
// installed module folder beside the program (../lib/quillfen from its
// folder), then in the build tree it was built in.

#include <string>

namespace qf {

struct LoadedModule {
    const void* entry = nullptr;  // what the module's entry function returned
    std::string error;            // why it could not be loaded, when entry is null
};

// Loads the module file (e.g. "quillfen-camera.so") once per process and calls
// its entry function `entryName`, which returns the module's table of
// functions for the given interface version. Once loaded, later calls return
// the same; a failure is tried again on the next call.
LoadedModule loadModule(const std::string& fileName, const char* entryName, int version);

}  // namespace qf
