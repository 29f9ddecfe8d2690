#include "formats/CompressedImage.h"

#include <algorithm>
#include <iterator>

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

// The CRC-32 of PNG chunks (ISO 3309), a byte at a time from a table.
class Crc32 {
public:
    constexpr Crc32() {
        for (std::uint32_t n = 0; n < 256; ++n) {
            std::uint32_t c = n;
            for (int k = 0; k < 8; ++k) c = c & 1 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            m_table[n] = c;
        }
    }
    std::uint32_t operator()(std::span<const std::uint8_t> bytes) const {
        std::uint32_t c = 0xFFFFFFFFu;
        for (std::uint8_t b : bytes) c = m_table[(c ^ b) & 0xFF] ^ (c >> 8);
        return c ^ 0xFFFFFFFFu;
    }

private:
    std::uint32_t m_table[256]{};
};

constexpr Crc32 kCrc32;

bool IsChunk(std::span<const std::uint8_t> type, const char (&name)[5]) {
    return std::equal(type.begin(), type.end(), name);
}

// The image header's size, after every chunk up to the end chunk has been
// found whole with its checksum: the decoders then read only the rows that
// can be seen, and a file cut or damaged past them still fails.
TSize PngSize(ByteReader& r) {
    static constexpr std::uint8_t kSignature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    for (std::uint8_t expected : kSignature)
        if (r.U8() != expected) return {};
    TSize size;
    for (bool first = true;; first = false) {
        const std::uint32_t length = Big32(r);
        if (length > 0x7FFFFFFF) return {};
        const std::size_t start = r.Position();
        const auto type = r.Take(4);
        ByteReader data = r.Sub(r.Position(), length);
        r.Skip(length);
        const std::uint32_t stored = Big32(r);
        if (kCrc32(r.Data().subspan(start, 4 + std::size_t{length})) != stored) return {};
        if (first) {
            // The image header comes first: 13 bytes.
            if (!IsChunk(type, "IHDR") || length != 13) return {};
            const std::uint32_t width = Big32(data), height = Big32(data);
            if (width > 0x7FFFFFFF || height > 0x7FFFFFFF) return {};
            size = {static_cast<int>(width), static_cast<int>(height)};
        }
        if (IsChunk(type, "IEND")) return size;  // what follows it is not read
    }
}

// The first frame header's size, once an end-of-image marker is found after
// it (a file cut short has none; what follows it is not read).
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
            // Inside coded data a 0xFF byte is followed by 0 or a restart
            // marker, so the pair FF D9 is the end marker wherever it stands.
            const auto rest = r.Data().subspan(r.Position());
            static constexpr std::uint8_t kEnd[] = {0xFF, 0xD9};
            if (std::search(rest.begin(), rest.end(), std::begin(kEnd), std::end(kEnd)) == rest.end()) return {};
            return {width, height};  // a height of 0 (given later, by a DNL marker) is refused
        }
        r.Skip(length - 2);
    }
}

}  // namespace

std::uint32_t PngCrc32(std::span<const std::uint8_t> bytes) { return kCrc32(bytes); }

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
