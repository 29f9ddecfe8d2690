#include "formats/IcoDecoder.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <memory>
#include <new>

#include "base/Exceptions.h"
#include "formats/ByteReader.h"
#include "formats/DibDecoder.h"

namespace automenu {


namespace {

constexpr std::size_t kHeaderSize = 6;
constexpr std::size_t kEntrySize = 16;
constexpr std::uint8_t kPngSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

[[noreturn]] void OutOfResources() { throw EOutOfResources("Out of system resources"); }

std::vector<IconDirEntry> ReadDirectory(std::span<const std::uint8_t> bytes, std::size_t count) {
    ByteReader r(bytes);
    r.Skip(kHeaderSize);
    // A count the file cannot hold is refused before anything is reserved.
    if (count * kEntrySize > r.Remaining()) throw ReadPastEnd();
    std::vector<IconDirEntry> entries;
    entries.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        IconDirEntry e;
        std::uint8_t w = r.U8();
        std::uint8_t h = r.U8();
        e.width = w == 0 ? 256 : w;
        e.height = h == 0 ? 256 : h;
        e.colours = r.U16();  // the colour count byte and the reserved byte after it
        r.U16();              // planes or hot spot
        r.U16();              // bit count or hot spot
        e.size = r.U32();
        e.offset = r.U32();
        entries.push_back(e);
    }
    return entries;
}

// Colour counts with 0 meaning "unlimited", for comparison.
std::uint64_t ColourRank(std::uint32_t colours) { return colours == 0 ? UINT64_MAX : colours; }

bool CloserOrEqual(int candidate, int current, int requested) {
    if (std::abs(candidate - requested) > std::abs(current - requested)) return false;
    // Wider than requested: only when the current choice is not narrower.
    if (candidate > requested && current < candidate) return false;
    return true;
}

std::uint32_t Be32(ByteReader& r) {
    auto b = r.Take(4);
    return (std::uint32_t{b[0]} << 24) | (std::uint32_t{b[1]} << 16) | (std::uint32_t{b[2]} << 8) | b[3];
}

// The size in the PNG's first chunk, which must be IHDR. Throws ReadPastEnd.
TSize PngDeclaredSize(std::span<const std::uint8_t> data) {
    ByteReader r(data);
    r.Skip(sizeof kPngSignature);
    r.Skip(4);  // chunk length
    auto type = r.Take(4);
    if (std::memcmp(type.data(), "IHDR", 4) != 0) return {};
    const std::uint32_t width = Be32(r);
    const std::uint32_t height = Be32(r);
    // Sizes past what an int holds are refused like any other too-large size.
    constexpr std::uint32_t kIntMax = static_cast<std::uint32_t>(std::numeric_limits<int>::max());
    return {static_cast<int>(std::min(width, kIntMax)), static_cast<int>(std::min(height, kIntMax))};
}

bool DecodePng(std::span<const std::uint8_t> data, TSize visible, PixelImage& out, PngDecoder decode_png) {
    // The declared size is checked before the PNG reader allocates for it: a
    // PNG cannot be decoded in part, so one larger than can be seen is refused.
    const TSize size = PngDeclaredSize(data);
    if (!DibSizeAllowed(size.cx, size.cy) || size.cx > visible.cx || size.cy > visible.cy) return false;
    PixelImage img;
    if (!decode_png || !decode_png(data, img)) return false;
    // What the decoder made must be what the header declared.
    if (img.width <= 0 || img.height <= 0 || img.width > size.cx || img.height > size.cy ||
        img.pixels.size() != static_cast<std::size_t>(img.width) * static_cast<std::size_t>(img.height))
        return false;
    out = std::move(img);
    return true;
}

bool DecodeDibIcon(std::span<const std::uint8_t> data, TSize visible, PixelImage& out) {
    ByteReader r(data);
    DibInfo info;
    try {
        info = ReadDibInfo(r);
    } catch (const ReadPastEnd&) {
        return false;
    }
    // The header's height covers the colour image and the mask together.
    DibInfo colour = info;
    colour.header.height = info.header.height / 2;
    const std::int64_t w = colour.header.width;
    const std::int64_t h = colour.header.height;
    if (!DibSizeAllowed(w, h)) return false;

    auto rest = r.Data().subspan(r.Position());
    const std::uint64_t xor_size = DibStride(w, colour.header.bit_count) * static_cast<std::uint64_t>(h);
    const auto xor_bits = rest.subspan(0, std::min<std::uint64_t>(xor_size, rest.size()));
    const auto mask_bits = rest.subspan(xor_bits.size());

    // 32-bit images carry alpha unless every alpha byte is zero (older
    // files), in which case the mask decides.
    bool alpha = false;
    if (colour.header.bit_count == 32) {
        for (std::size_t i = 3; i < xor_bits.size(); i += 4)
            if (xor_bits[i] != 0) { alpha = true; break; }
    }
    PixelImage img;
    if (!DecodeDibPart(colour, xor_bits, visible, img,
                                 alpha ? DibAlpha::FromData : DibAlpha::Ignore))
        return false;
    if (!alpha) {
        // Bottom-up like the colour rows; only the rows and columns held.
        const std::uint64_t mask_stride = DibStride(w, 1);
        for (std::int64_t dest_row = 0; dest_row < img.height; ++dest_row) {
            const std::uint64_t start = static_cast<std::uint64_t>(h - 1 - dest_row) * mask_stride;
            if (start + mask_stride > mask_bits.size()) continue;  // no mask: opaque
            std::uint32_t* dst = img.pixels.data() + dest_row * img.width;
            for (std::int64_t x = 0; x < img.width; ++x)
                if ((mask_bits[start + (x >> 3)] >> (7 - (x & 7))) & 1) dst[x] = 0;
        }
    }
    img.has_alpha = true;
    out = std::move(img);
    return true;
}

}  // namespace

IconHeader ReadIconHeader(std::span<const std::uint8_t> bytes) {
    if (bytes.size() < kHeaderSize) throw EReadError("Stream read error");
    ByteReader r(bytes);
    IconHeader h;
    h.reserved = r.U16();
    h.type = r.U16();
    h.count = r.U16();
    if (h.type >= 2) throw EInvalidGraphic("Icon image is not valid");
    return h;
}

std::uint32_t IconColourLimit(int screen_bits) {
    if (screen_bits >= 0 && screen_bits <= 8) return 1u << screen_bits;
    return 0;
}

std::size_t SelectIconImage(const std::vector<IconDirEntry>& entries, TSize requested, std::uint32_t colour_limit) {
    std::size_t choice = 0;
    for (std::size_t i = 1; i < entries.size(); ++i) {
        const IconDirEntry& e = entries[i];
        const IconDirEntry& c = entries[choice];
        const std::uint64_t colours = ColourRank(e.colours);
        if (colour_limit != 0 && colours > colour_limit) continue;
        if (colours < ColourRank(c.colours)) continue;
        if (!CloserOrEqual(e.width, c.width, requested.cx)) continue;
        if (!CloserOrEqual(e.height, c.height, requested.cy)) continue;
        choice = i;
    }
    return choice;
}

bool DecodeIconImage(std::span<const std::uint8_t> data, TSize visible, PixelImage& out, PngDecoder decode_png) {
    try {
        if (data.size() >= sizeof kPngSignature && std::memcmp(data.data(), kPngSignature, sizeof kPngSignature) == 0)
            return DecodePng(data, visible, out, decode_png);
    } catch (const ReadPastEnd&) {
        return false;
    }
    return DecodeDibIcon(data, visible, out);
}

BuiltIcon BuildIcon(std::span<const std::uint8_t> bytes, TSize requested, std::uint32_t colour_limit, TSize visible,
                    PngDecoder decode_png) {
    try {
        const IconHeader header = ReadIconHeader(bytes);
        if (header.type == 0)
            return {requested,
                    StandardApplicationIcon({std::min(requested.cx, visible.cx), std::min(requested.cy, visible.cy)})};

        const auto entries = ReadDirectory(bytes, header.count);
        if (entries.empty()) OutOfResources();
        const IconDirEntry& chosen = entries[SelectIconImage(entries, requested, colour_limit)];
        auto end = checked_add<std::uint64_t>(chosen.offset, chosen.size);
        if (!end || *end > bytes.size()) OutOfResources();
        BuiltIcon built;
        built.size = {chosen.width, chosen.height};
        if (!DecodeIconImage(bytes.subspan(chosen.offset, chosen.size), visible, built.image, decode_png))
            OutOfResources();
        return built;
    } catch (const ReadPastEnd&) {
        OutOfResources();
    } catch (const std::bad_alloc&) {
        OutOfResources();
    }
}

PixelImage StandardApplicationIcon(TSize size) {
    // A small application window: dark frame, blue caption bar, white body
    // with two grey lines of "content". Drawn in code, at any size.
    PixelImage img;
    img.width = std::max(size.cx, 1);
    img.height = std::max(size.cy, 1);
    img.has_alpha = true;
    img.pixels.assign(static_cast<std::size_t>(img.width) * img.height, 0);
    const int w = img.width, h = img.height;
    const int left = w / 16, right = w - 1 - w / 16;
    const int top = h / 8, bottom = h - 1 - h / 8;
    const int caption = top + std::max(2, h / 6);
    for (int y = top; y <= bottom; ++y) {
        for (int x = left; x <= right; ++x) {
            std::uint32_t c;
            if (x == left || x == right || y == top || y == bottom) c = PackArgb(255, 0x20, 0x20, 0x40);
            else if (y <= caption) c = PackArgb(255, 0x1E, 0x5A, 0xC8);
            else c = PackArgb(255, 0xFF, 0xFF, 0xFF);
            img.pixels[static_cast<std::size_t>(y) * w + x] = c;
        }
    }
    for (int line = 0; line < 2; ++line) {
        const int y = caption + (bottom - caption) * (line + 1) / 3;
        for (int x = left + w / 8; x <= right - w / 8 - line * w / 6; ++x)
            if (y > caption && y < bottom)
                img.pixels[static_cast<std::size_t>(y) * w + x] = PackArgb(255, 0xA0, 0xA0, 0xA0);
    }
    return img;
}

}  // namespace automenu
