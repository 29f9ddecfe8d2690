// The whole content of a file, empty when it cannot be read.
#pragma once

#include <fstream>
#include <sstream>
#include <string>

namespace automenu::testing {

inline std::string FileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

}  // namespace automenu::testing
