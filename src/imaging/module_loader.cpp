#include "imaging/module_loader.h"

#include <dlfcn.h>
#include <unistd.h>

#include <climits>
#include <cstdlib>
#include <map>
#include <mutex>
#include <vector>

namespace qf {
namespace {

std::string programFolder() {
    char buffer[PATH_MAX];
    const ssize_t n = ::readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    if (n <= 0) return {};
    const std::string exe(buffer, std::size_t(n));
    const std::size_t slash = exe.rfind('/');
    return slash == std::string::npos ? std::string() : exe.substr(0, slash);
}

std::vector<std::string> candidateFolders() {
    std::vector<std::string> folders;
    if (const char* dir = std::getenv("QUILLFEN_MODULE_DIR"); dir && *dir) {
        // Set: the only place looked at, so a test or a packager gets what it asked for.
        folders.emplace_back(dir);
        return folders;
    }
    if (const std::string exe = programFolder(); !exe.empty())
        folders.push_back(exe + "/" QF_MODULE_RELATIVE_DIR);
#ifdef QF_MODULE_BUILD_DIR
    folders.emplace_back(QF_MODULE_BUILD_DIR);
#endif
    return folders;
}

using Entry = const void* (*)(int version);

}  // namespace

LoadedModule loadModule(const std::string& fileName, const char* entryName, int version) {
    static std::mutex mutex;
    static std::map<std::string, LoadedModule> loaded;
    const std::lock_guard<std::mutex> lock(mutex);
    if (auto it = loaded.find(fileName); it != loaded.end()) return it->second;

    LoadedModule m;
    std::string tried;
    for (const std::string& folder : candidateFolders()) {
        const std::string path = folder + "/" + fileName;
        if (::access(path.c_str(), F_OK) != 0) {
            tried += (tried.empty() ? "" : ", ") + path;
            continue;
        }
        void* handle = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
        if (!handle) {
            const char* why = ::dlerror();
            m.error = why ? why : path + ": cannot be loaded";
            break;
        }
        const auto entry = reinterpret_cast<Entry>(::dlsym(handle, entryName));
        m.entry = entry ? entry(version) : nullptr;
        if (!m.entry) {
            m.error = path + ": not a module of this version of the program";
            ::dlclose(handle);
        }
        break;
    }
    if (!m.entry && m.error.empty()) m.error = fileName + " not found (looked in " + tried + ")";
    // A failure is not kept: a module installed meanwhile is found next time.
    if (m.entry) loaded[fileName] = m;
    return m;
}

}  // namespace qf
