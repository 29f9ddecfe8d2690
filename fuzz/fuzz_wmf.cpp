// Any bytes as a placeable Windows metafile file, loaded and played (seeded with .wmf files).
#include "FuzzMetafile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzMetafile(data, size);
    return 0;
}
