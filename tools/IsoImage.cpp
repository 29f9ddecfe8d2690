#include "IsoImage.h"

#include <fstream>

namespace automenu::tool {

bool IsIsoImage(const std::filesystem::path& path) {
    constexpr std::streamoff kDescriptor = 16 * 2048 + 1;
    std::ifstream in(path, std::ios::binary);
    char id[5] = {};
    return in.seekg(kDescriptor) && in.read(id, sizeof id) && std::string_view(id, sizeof id) == "CD001";
}

}  // namespace automenu::tool
