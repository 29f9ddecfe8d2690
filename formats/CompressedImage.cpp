#include "formats/CompressedImage.h"

#include "base/Exceptions.h"
#include "formats/ByteReader.h"
#include "formats/DibDecoder.h"

namespace automenu {

namespace {

// Both formats store their numbers big-endian.
std::uint32_t Big16(ByteReader& r) {
    const std::uint32_t high = r.U8();
    return high << 8 | r.U8();
}

std::uint32_t Big32(ByteReader& r) {
    const std::uint32_t high = Big16(r);
    return high << 16 | Big16(r);
}

TSize PngSize(ByteReader& r) {
    static constexpr std::uint8_t kSignature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    for (std::uint8_t expected : kSignature)
        if (r.U8() != expected) return {};
    // The image header is the first chunk: 13 bytes.
    if (Big32(r) != 13) return {};
    for (char expected : {'I', 'H', 'D', 'R'})
        if (r.U8() != static_cast<std::uint8_t>(expected)) return {};
    const std::uint32_t width = Big32(r), height = Big32(r);
    if (width > 0x7FFFFFFF || height > 0x7FFFFFFF) return {};
    return {static_cast<int>(width), static_cast<int>(height)};
}

TSize JpegSize(ByteReader& r) {
    if (r.U8() != 0xFF || r.U8() != 0xD8) return {};
    for (;;) {
        if (r.U8() != 0xFF) return {};
        std::uint8_t marker = r.U8();
        while (marker == 0xFF) marker = r.U8();  // fill bytes
        if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7)) continue;  // no length
        if (marker == 0xD9 || marker == 0xDA) return {};  // the image ends or its data starts with no frame
        const std::uint32_t length = Big16(r);
        if (length < 2) return {};
        // Frame headers: SOF0 to SOF15 less DHT (C4), JPG (C8) and DAC (CC).
        if (marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC) {
            r.U8();  // sample precision
            const int height = static_cast<int>(Big16(r));
            const int width = static_cast<int>(Big16(r));
            return {width, height};  // a height of 0 (given later, by a DNL marker) is refused
        }
        r.Skip(length - 2);
    }
}

}  // namespace

std::string InvalidImageMessage(CompressedImageFormat format) {
    return format == CompressedImageFormat::Png ? "PNG image is not valid" : "JPEG image is not valid";
}

TSize ReadCompressedImageSize(CompressedImageFormat format, std::span<const std::uint8_t> file) {
    TSize size;
    try {
        ByteReader r(file);
        size = format == CompressedImageFormat::Png ? PngSize(r) : JpegSize(r);
    } catch (const ReadPastEnd&) {
        size = {};
    }
    if (!DibSizeAllowed(size.cx, size.cy)) throw EInvalidGraphic(InvalidImageMessage(format));
    return size;
}

}  // namespace automenu
