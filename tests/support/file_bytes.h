#pragma once
// A whole file's bytes, for tests that compare what was written.

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace qf::test {

inline std::string readAll(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

}  // namespace qf::test
