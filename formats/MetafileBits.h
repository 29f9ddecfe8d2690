// A loaded metafile, ready to be played by a canvas.
#pragma once

#include <cstdint>
#include <vector>

#include "base/Types.h"

namespace automenu {

struct MetafileBits {
    // Enhanced metafile records (EMR_HEADER first), or the records of a
    // Windows metafile (METAHEADER first) when `enhanced` is false.
    std::vector<std::uint8_t> records;
    bool enhanced = true;
    // An enhanced metafile's header: the picture's frame in hundredths of a
    // millimetre, and the reference device's size in pixels and millimetres.
    TRect emf_frame;
    TSize emf_device_px;
    TSize emf_device_mm;
    // A Windows metafile's placeable header: the picture's bounding box in
    // its own logical units.
    TRect wmf_bounds;
};

}  // namespace automenu
