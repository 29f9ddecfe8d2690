// Metafile files (".emf", ".wmf"): an enhanced metafile, or a Windows
// metafile behind a placeable header. The content decides, not the name.
#pragma once

#include <cstdint>
#include <span>

#include "base/Types.h"
#include "formats/MetafileBits.h"

namespace automenu {

struct LoadedMetafile {
    MetafileBits bits;
    int mm_width = 0;   // hundredths of a millimetre
    int mm_height = 0;
    int inch = 0;       // units per inch of a placeable metafile; 0 for an enhanced one
};

// Throws EInvalidGraphic "Metafile is not valid", or EReadError "Stream
// read error" for an enhanced metafile shorter than its header says.
LoadedMetafile ReadMetafile(std::span<const std::uint8_t> bytes);

// Natural size in pixels; `pixels_per_inch` is the screen's (vertical) one.
TSize MetafileNaturalSize(const LoadedMetafile& m, int pixels_per_inch);

}  // namespace automenu
