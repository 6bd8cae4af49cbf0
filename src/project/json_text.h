#pragma once
// The project file's JSON: read with limits on its shape, written with lists
// of plain values on one line.

#include <nlohmann/json.hpp>
#include <string>

namespace qf {

using Json = nlohmann::ordered_json;

// Parses text, refusing deep nesting, huge objects and too many values
// before they are built; throws nlohmann's parse errors and
// std::runtime_error with the limit that was passed.
Json parseJsonWithLimits(const std::string& text);

// The text of root, two spaces per level, ending in a line feed.
std::string jsonText(const Json& root);

}  // namespace qf
