// Any bytes as a metafile file, enhanced or placeable Windows (the reader
// tells them apart), loaded and played into a small image.
#include <cstddef>
#include <cstdint>

#include "base/Exceptions.h"
#include "formats/MetafileReader.h"
#include "platform/cairo/MetafilePlayer.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    automenu::LoadedMetafile m;
    try {
        m = automenu::ReadMetafile({data, size});
    } catch (const automenu::Exception&) {
        return 0;
    }
    automenu::platform::RenderMetafileImage(m.bits, {0, 0, 63, 47}, {64, 48}, {1280, 1024});
    return 0;
}
