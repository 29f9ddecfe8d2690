// A loaded metafile, ready to be played by a canvas.
#pragma once

#include <cstdint>
#include <vector>

namespace automenu {

struct MetafileBits {
    // Enhanced metafile records (EMR_HEADER first), or the records of a
    // Windows metafile (METAHEADER first) when `enhanced` is false.
    std::vector<std::uint8_t> records;
    bool enhanced = true;
};

}  // namespace automenu
