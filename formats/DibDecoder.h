// Device-independent bitmap decoding: the pixel work that Windows does for
// CreateDIBitmap / StretchDIBits, done here for the bitmap and icon readers
// and for bitmap records in metafiles.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "base/Types.h"
#include "formats/ByteReader.h"

namespace automenu {

// Limits on what we agree to decode, checked before any allocation.
constexpr int kMaxImageSide = 32767;
constexpr std::uint64_t kMaxImagePixels = std::uint64_t{1} << 28;

enum DibCompression : std::uint32_t {
    BI_RGB = 0,
    BI_RLE8 = 1,
    BI_RLE4 = 2,
    BI_BITFIELDS = 3,
    BI_JPEG = 4,
    BI_PNG = 5,
    BI_ALPHABITFIELDS = 6,
};

// BITMAPINFOHEADER with the masks of the later forms; a 12-byte core header
// is converted to this form when read.
struct DibHeader {
    std::uint32_t size = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::uint16_t planes = 0;
    std::uint16_t bit_count = 0;
    std::uint32_t compression = BI_RGB;
    std::uint32_t size_image = 0;
    std::uint32_t clr_used = 0;
    std::uint32_t red_mask = 0;
    std::uint32_t green_mask = 0;
    std::uint32_t blue_mask = 0;
    std::uint32_t alpha_mask = 0;
    bool core = false;  // read from a 12-byte header (3-byte colour table entries)
};

// BITMAPINFO: the header, its masks and its colour table (0x00RRGGBB).
struct DibInfo {
    DibHeader header;
    std::vector<std::uint32_t> palette;
};

// Reads the header at the reader's position: its size field, then the rest
// of that size (a size under 4 cannot be read; fields a short header lacks
// stay zero). Throws ReadPastEnd.
DibHeader ReadDibHeader(ByteReader& r);

// After the header: the three bit-field masks a 40-byte header with
// BI_BITFIELDS at 16 or 32 bits carries after it.
void ReadDibMasks(ByteReader& r, DibHeader& h);

// The colour table entry count: clr_used, or the count implied by the bit count.
std::uint32_t DibColourCount(const DibHeader& h);

// Reads `count` colour table entries (4 bytes each, 3 for a core header);
// keeps the first 256.
std::vector<std::uint32_t> ReadDibPalette(ByteReader& r, const DibHeader& h, std::uint32_t count);

// Reads a packed BITMAPINFO (header, masks, colour table). Throws ReadPastEnd.
DibInfo ReadDibInfo(ByteReader& r);

// Bytes per row of uncompressed pixels, rounded up to whole 32-bit words;
// 0 when it would not fit.
std::uint64_t DibStride(std::int64_t width, int bit_count);

// True when the dimensions are within our limits (and not empty).
bool DibSizeAllowed(std::int64_t width, std::int64_t height);

enum class DibAlpha {
    Ignore,    // bitmaps: the fourth byte of 32-bit pixels is padding
    FromData,  // icons: 32-bit pixels carry straight alpha
};

// Decodes the pixels into an opaque (or, with FromData, alpha) image. Rows
// the data lacks read as black. Returns false for what a platform would
// refuse: unsupported bit count or compression, bad dimensions, top-down RLE.
bool DecodeDib(const DibInfo& info, std::span<const std::uint8_t> bits, PixelImage& out,
               DibAlpha alpha = DibAlpha::Ignore);

// The same, keeping only the top-left part of at most `part` (width and
// height, each at least 1): `out` is that part, however large the header
// says the bitmap is. RLE streams are still walked whole.
bool DecodeDibPart(const DibInfo& info, std::span<const std::uint8_t> bits, TSize part, PixelImage& out,
                   DibAlpha alpha = DibAlpha::Ignore);

// Premultiplied ARGB from straight components.
constexpr std::uint32_t PackArgb(std::uint32_t a, std::uint32_t r, std::uint32_t g, std::uint32_t b) {
    if (a != 255) {
        r = (r * a + 127) / 255;
        g = (g * a + 127) / 255;
        b = (b * a + 127) / 255;
    }
    return (a << 24) | (r << 16) | (g << 8) | b;
}

}  // namespace automenu
