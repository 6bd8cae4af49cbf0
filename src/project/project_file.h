#pragma once
// A project file records one digitisation: the picture, the straightening
// corners, the axes, the clicked points and the fit and graph settings, so the
// same work can be replayed without a window. JSON, UTF-8, "*.quillfen.json".

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "common/axis_settings.h"
#include "common/geometry.h"
#include "fit/fit_types.h"
#include "graph/graph_style.h"

namespace qf {

inline constexpr const char* kProjectFormat = "quillfen-project";
inline constexpr int kProjectVersion = 1;
inline constexpr const char* kProjectSuffix = ".quillfen.json";

struct Project {
    std::string image;  // as written: relative to the project's folder, or absolute

    // Absent geometry is placed for the picture's size when it is loaded.
    std::optional<std::array<IntPoint, 4>> corners;  // P0 top-left .. P3 bottom-left
    std::optional<IntRect> graphRect;
    bool applyMapping = false;  // run the mapping; otherwise the working image is the grey copy

    AxisSettings axis;  // values and flags; the rectangle only when axisRectGiven
    bool axisRectGiven = false;
    std::vector<SourcePoint> points;
    FitSettings fit;
    GraphStyle graph;
};

struct ProjectReadResult {
    bool ok = false;
    Project project;
    std::string error;  // one message naming the offending key when !ok
};

// Parses a project text; every key but "format", "version" and "image" may be
// missing and then keeps the program's default.
ProjectReadResult parseProject(const std::string& json);

// Reads and parses the file at path.
ProjectReadResult readProjectFile(const std::string& path);

// The project as JSON text (all keys written).
std::string projectText(const Project& project);

// The picture's path: the image entry resolved against the project file's folder.
std::string projectImagePath(const Project& project, const std::string& projectPath);

}  // namespace qf
