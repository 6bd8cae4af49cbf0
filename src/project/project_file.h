#pragma once
// A project file records one digitisation: the picture, the straightening
// corners, the axes, the clicked points and the fit and graph settings, so the
// same work can be replayed without a window. JSON, UTF-8, "*.quillfen.json".

#include <string>

#include "document/document_record.h"

namespace qf {

inline constexpr const char* kProjectFormat = "quillfen-project";
// Version 2 adds "mapping.applied" (the geometry a mapping was run with, when
// the corners were moved since); version 3 adds "mapping.method",
// "mapping.sampling" and "extract"; version 4 holds several curves, each
// with its points, extraction and fit, in "series". Version 1
// files are read as before. A project is written with the lowest version that
// holds it, so that an older program refuses only what it would misread.
inline constexpr int kProjectVersion = 4;
inline constexpr const char* kProjectSuffix = ".quillfen.json";

// Which geometry a project gave. Geometry a project leaves out is placed for
// the picture's size when the picture is loaded (placeMissingGeometry).
struct GeometryGiven {
    bool corners = false;
    bool graphRect = false;
    bool axisRect = false;
    friend bool operator==(const GeometryGiven&, const GeometryGiven&) = default;
};

struct ProjectReadResult {
    bool ok = false;
    DocumentRecord project;
    GeometryGiven given;
    std::string recoveryOf;  // a recovery file: the project it is unsaved work of
    std::string error;  // one message naming the offending key when !ok
};

// Parses a project text; every key but "format", "version" and "image" may be
// missing and then keeps the program's default.
ProjectReadResult parseProject(const std::string& json);

// Reads and parses the file at path.
ProjectReadResult readProjectFile(const std::string& path);

// The project as JSON text (all keys written). A recovery file names the
// project its record is unsaved work of (empty for an untitled one).
std::string projectText(const DocumentRecord& project);
std::string recoveryText(const DocumentRecord& project, const std::string& projectPath);

// The picture's path: the image entry resolved against the project file's folder.
std::string projectImagePath(const DocumentRecord& project, const std::string& projectPath);

// The image entry to write for a picture at imagePath into a project saved at
// projectPath: relative to the project's folder when the picture lies in or
// below it, else absolute, so a folder moved as a whole still opens.
std::string imageEntryFor(const std::string& imagePath, const std::string& projectPath);

// Writes the project text, replacing an existing file only once the whole new
// one is on the disk. Returns an error message naming the file, empty on success.
std::string writeProjectFile(const std::string& path, const DocumentRecord& project);

// Places the geometry the project left out for a picture of w x h: the
// defaults the window gives a newly opened picture.
void placeMissingGeometry(DocumentRecord& project, const GeometryGiven& given, int w, int h);

}  // namespace qf
