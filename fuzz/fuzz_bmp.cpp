// Any bytes as a bitmap file: a picture or the framework's exception, nothing else.
#include "ui/BmpDecoder.h"
#include "ui/Exceptions.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    try {
        automenu::DecodeBmpFile({data, size});
    } catch (const automenu::Exception&) {}
    return 0;
}
