// Any bytes as an icon file: header read, then the icon built at 32 x 32
// for a 1280 x 1024 screen.
#include "base/Exceptions.h"
#include "formats/IcoDecoder.h"
#include "platform/cairo/CairoPng.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    try {
        automenu::BuildIcon({data, size}, {32, 32}, 0, {1280, 1024}, &automenu::platform::DecodePngWithCairo);
    } catch (const automenu::Exception&) {}
    return 0;
}
