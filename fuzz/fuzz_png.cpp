// Any bytes as a PNG picture file, checked and decoded as shown on a 1280 x
// 1024 screen. Each chunk's checksum is made right first: random bytes would
// fail there and reach nothing else. The decoder also gets files the check
// refuses, since it must stand any bytes on its own.
#include <vector>

#include "base/Exceptions.h"
#include "formats/CompressedImage.h"
#include "platform/cairo/PictureDecoders.h"

namespace {

void FixChecksums(std::vector<std::uint8_t>& png) {
    std::size_t at = 8;  // after the signature
    while (at + 12 <= png.size()) {
        const std::size_t length =
            std::size_t{png[at]} << 24 | std::size_t{png[at + 1]} << 16 | std::size_t{png[at + 2]} << 8 | png[at + 3];
        if (length > png.size() - at - 12) return;
        const std::uint32_t crc = automenu::PngCrc32({png.data() + at + 4, length + 4});
        for (int i = 0; i < 4; ++i) png[at + 8 + length + i] = static_cast<std::uint8_t>(crc >> (24 - 8 * i));
        at += 12 + length;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::vector<std::uint8_t> png(data, data + size);
    FixChecksums(png);
    try {
        automenu::ReadCompressedImageSize(automenu::CompressedImageFormat::Png, png);
    } catch (const automenu::Exception&) {}
    automenu::PixelImage out;
    automenu::platform::DecodePngPart(png, {1280, 1024}, out);
    return 0;
}
