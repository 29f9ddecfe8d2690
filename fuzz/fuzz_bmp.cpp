// Any bytes as a bitmap file: a picture or the framework's exception, nothing else.
// Decoded as shown on a 1280 x 1024 screen.
#include "base/Exceptions.h"
#include "formats/BmpDecoder.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    try {
        automenu::DecodeBmpFile({data, size}, {1280, 1024});
    } catch (const automenu::Exception&) {}
    return 0;
}
