// A loaded metafile, ready to be played by a canvas.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/Types.h"

namespace automenu {

struct MetafileBits {
    // Enhanced metafile records (EMR_HEADER first), or the records of a
    // Windows metafile (METAHEADER first) when `enhanced` is false.
    std::vector<std::uint8_t> records;
    bool enhanced = true;
    // A Windows metafile's placeable header: the picture's bounding box in
    // its own logical units, and those units per inch.
    TRect wmf_bounds;
    int wmf_units_per_inch = 96;
};

}  // namespace automenu
