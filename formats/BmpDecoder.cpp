#include "formats/BmpDecoder.h"

#include <new>

#include "base/Exceptions.h"
#include "formats/ByteReader.h"
#include "formats/DibDecoder.h"

namespace automenu {


namespace {

constexpr std::size_t kFileHeaderSize = 14;

[[noreturn]] void InvalidBitmap() { throw EInvalidGraphic("Bitmap image is not valid"); }

}  // namespace

void ThrowBitmapOutOfMemory() {
    throw EOSError("System Error.  Code: 8.\nNot enough memory resources are available to process this command.");
}

BmpImage DecodeBmpFile(std::span<const std::uint8_t> bytes, TSize visible) try {
    if (bytes.empty()) return {};

    ByteReader r(bytes);
    DibInfo info;
    std::span<const std::uint8_t> bits;
    try {
        auto file_header = r.Take(kFileHeaderSize);
        if (file_header[0] != 'B' || file_header[1] != 'M') InvalidBitmap();
        info.header = ReadDibHeader(r);
        if (info.header.planes != 1) InvalidBitmap();
        ReadDibMasks(r, info.header);
        info.palette = ReadDibPalette(r, info.header, DibColourCount(info.header));
    } catch (const ReadPastEnd&) {
        throw EReadError("Stream read error");
    }

    // The pixel data follows the colour table directly; its size is never
    // taken as more than what the file still holds.
    std::uint64_t size = info.header.size_image;
    if (size == 0) {
        std::int64_t height = info.header.height;
        if (height < 0) height = -height;
        size = DibStride(info.header.width, info.header.bit_count) * static_cast<std::uint64_t>(height);
    }
    if (size > r.Remaining()) size = r.Remaining();
    bits = r.Take(static_cast<std::size_t>(size));

    BmpImage result;
    if (!DecodeDibPart(info, bits, visible, result.image)) InvalidBitmap();
    const std::int64_t height = info.header.height;
    result.size = {info.header.width, static_cast<int>(height < 0 ? -height : height)};
    return result;
} catch (const std::bad_alloc&) {
    ThrowBitmapOutOfMemory();
}

PixelImage DecodeBmpFile(std::span<const std::uint8_t> bytes) {
    return DecodeBmpFile(bytes, {kMaxImageSide, kMaxImageSide}).image;
}

}  // namespace automenu
