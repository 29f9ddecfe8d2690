#include "formats/CompressedImage.h"

#include <algorithm>
#include <vector>

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
            const std::uint32_t depth = data.U8(), colour_type = data.U8();
            if (width > 0x7FFFFFFF || height > 0x7FFFFFFF) return {};
            // Samples a pixel: grey, -, RGB, palette index, grey and alpha, -, RGBA.
            static constexpr std::uint32_t kChannels[] = {1, 0, 3, 1, 2, 0, 4};
            const std::uint32_t channels = colour_type < 7 ? kChannels[colour_type] : 0;
            if (channels == 0 || depth == 0 || depth > 16) return {};
            const std::uint64_t row_bytes = (std::uint64_t{width} * channels * depth + 7) / 8;
            if (row_bytes * height > kMaxPngSampleBytes) return {};
            size = {static_cast<int>(width), static_cast<int>(height)};
        }
        if (IsChunk(type, "IEND")) return size;  // what follows it is not read
    }
}

// The coefficients a progressive JPEG holds until its last scan: 64 of 2
// bytes for every block of every component, each component's blocks
// rounded up to whole units of its sampling factors.
struct FrameComponent {
    std::uint32_t h = 0, v = 0;
};

std::uint64_t CoefficientBytes(std::uint32_t width, std::uint32_t height, std::span<const FrameComponent> components) {
    std::uint32_t hmax = 1, vmax = 1;
    for (const FrameComponent& c : components) hmax = std::max(hmax, c.h), vmax = std::max(vmax, c.v);
    auto blocks = [](std::uint64_t samples, std::uint32_t factor, std::uint32_t max) {
        const std::uint64_t n = (samples * factor + 8 * max - 1) / (8 * max);
        return (n + factor - 1) / factor * factor;
    };
    std::uint64_t total = 0;
    for (const FrameComponent& c : components) total += blocks(width, c.h, hmax) * blocks(height, c.v, vmax) * 128;
    return total;
}

// The first frame header's size, once the rest of the file is found to hold
// an end-of-image marker (a file cut short has none; what follows it is not
// read), at most kMaxJpegScans scans and, for a progressive file, at most
// kMaxJpegCoefficientBytes of coefficients.
TSize JpegSize(ByteReader& r) {
    if (r.U8() != 0xFF || r.U8() != 0xD8) return {};
    for (;;) {
        if (r.U8() != 0xFF) return {};
        std::uint8_t marker = r.U8();
        while (marker == 0xFF) marker = r.U8();                              // fill bytes
        if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7)) continue;  // no length
        if (marker == 0xD9 || marker == 0xDA) return {};  // the image ends or its data starts with no frame
        const std::uint32_t length = Big16(r);
        if (length < 2) return {};
        // Frame headers: SOF0 to SOF15 less DHT (C4), JPG (C8) and DAC (CC).
        if (marker < 0xC0 || marker > 0xCF || marker == 0xC4 || marker == 0xC8 || marker == 0xCC) {
            r.Skip(length - 2);
            continue;
        }
        ByteReader frame = r.Sub(r.Position(), length - 2);
        frame.U8();  // sample precision
        const std::uint32_t height = Big16(frame), width = Big16(frame);
        std::vector<FrameComponent> components(frame.U8());
        for (FrameComponent& c : components) {
            frame.U8();  // identifier
            const std::uint8_t sampling = frame.U8();
            frame.U8();  // quantisation table
            c = {std::uint32_t{sampling} >> 4, std::uint32_t{sampling} & 0x0Fu};
            if (c.h < 1 || c.h > 4 || c.v < 1 || c.v > 4) return {};
        }
        if (components.empty()) return {};
        // SOF2, 6, 10 and 14 are the progressive ones.
        if ((marker & 3) == 2 && CoefficientBytes(width, height, components) > kMaxJpegCoefficientBytes) return {};
        // Inside coded data a 0xFF byte is followed by 0 or a restart marker,
        // so FF DA starts a scan and FF D9 is the end wherever they stand.
        const auto rest = r.Data().subspan(r.Position() + length - 2);
        int scans = 0;
        for (std::size_t i = 0; i + 1 < rest.size(); ++i) {
            if (rest[i] != 0xFF) continue;
            if (rest[i + 1] == 0xD9) return {static_cast<int>(width), static_cast<int>(height)};
            if (rest[i + 1] == 0xDA && ++scans > kMaxJpegScans) return {};
        }
        return {};
    }
}

}  // namespace

std::uint32_t PngCrc32(std::span<const std::uint8_t> bytes) { return kCrc32(bytes); }

std::vector<std::uint8_t> PngPixelChunks(std::span<const std::uint8_t> png) {
    std::vector<std::uint8_t> out(png.begin(), png.begin() + std::min<std::size_t>(8, png.size()));
    try {
        ByteReader r(png);
        r.Skip(8);
        while (r.Remaining() > 0) {
            const std::size_t start = r.Position();
            const std::uint32_t length = Big32(r);
            const auto type = r.Take(4);
            r.Skip(std::size_t{length} + 4);
            if (IsChunk(type, "IHDR") || IsChunk(type, "PLTE") || IsChunk(type, "tRNS") || IsChunk(type, "IDAT") ||
                IsChunk(type, "IEND"))
                out.insert(out.end(), png.begin() + static_cast<std::ptrdiff_t>(start),
                           png.begin() + static_cast<std::ptrdiff_t>(r.Position()));
            if (IsChunk(type, "IEND")) break;
        }
    } catch (const ReadPastEnd&) {}
    return out;
}

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
    if (!DibSizeAllowed(size.cx, size.cy) || std::uint64_t(size.cx) * std::uint64_t(size.cy) > kMaxCompressedPixels)
        throw EInvalidGraphic(InvalidImageMessage(format));
    return size;
}

}  // namespace automenu
