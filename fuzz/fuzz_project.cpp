// libFuzzer target for the project reader. Any text must be read or refused
// with a message, never crash or hang; a text that is read must survive being
// written and read again unchanged.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "project/project_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const qf::ProjectReadResult first =
        qf::parseProject(std::string(reinterpret_cast<const char*>(data), size));
    if (!first.ok) {
        if (first.error.empty()) std::abort();  // a refusal always says why
        return 0;
    }
    const std::string text = qf::projectText(first.project);
    const qf::ProjectReadResult second = qf::parseProject(text);
    if (!second.ok || qf::projectText(second.project) != text) std::abort();
    return 0;
}
