#pragma once
// What the command line asks for.

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace qf {

struct CommandLine {
    enum class Action { Window, Batch, Auto, Help, Version, Error } action = Action::Window;
    std::string imagePath;                  // Window: picture or project to open, may be empty
    std::string projectPath;                // Batch: the first project
    std::string outDir;                     // Batch, Auto: empty for the project's folder
    std::vector<std::string> picturePaths;  // Auto: the pictures to read
    int32_t model = 0;                      // Auto: --model, a ModelKind
    int32_t degree = 3;                     // Auto: --degree
    std::vector<std::string> projectPaths;  // Batch: every project, projectPath first
    int jobs = 0;                           // Batch, Auto: projects at once, 0 = processors
    bool json = false;                      // Batch: a JSON line per project
    int64_t maxPicturePixels = 0;           // Batch: --max-megapixels; 0 for the built-in limit
    bool utf8Csv = false;                   // Batch: --csv utf8
    bool wideCsv = false;                   // Batch: --wide
    std::vector<std::string> images;        // Batch: --images, the pictures for the template
    std::string error;                      // Error: what was wrong
    // Window: --camera N=SOURCE, in the order given; an empty SOURCE means
    // the real device N.
    std::vector<std::pair<int, std::string>> cameraSources;
};

CommandLine parseCommandLine(const std::vector<std::string>& args);  // without argv[0]

std::string usageText();
std::string versionText();

}  // namespace qf
