// Icon files (".ico"): the header read at load time, the directory, the
// image selection and the decoding of the chosen image.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "base/Types.h"

namespace automenu {

struct IconHeader {
    std::uint16_t reserved = 0;
    std::uint16_t type = 0;  // 0: the standard application icon, 1: icon images follow
    std::uint16_t count = 0;
};

struct IconDirEntry {
    int width = 0;   // 1..256 (a 0 byte stands for 256)
    int height = 0;
    std::uint32_t colours = 0;  // colour count word; 0 means unlimited
    std::uint32_t size = 0;
    std::uint32_t offset = 0;
};

// Reads the 6-byte header. Throws EReadError "Stream read error" under 6
// bytes and EInvalidGraphic "Icon image is not valid" for type 2 or more.
IconHeader ReadIconHeader(std::span<const std::uint8_t> bytes);

// The colour limit for a screen of the given bits per pixel times planes:
// 2^bits up to 8 bits, otherwise 0 (unlimited).
std::uint32_t IconColourLimit(int screen_bits);

// Index of the image to show for the requested size and colour limit
// (0 = unlimited). The directory must not be empty.
std::size_t SelectIconImage(const std::vector<IconDirEntry>& entries, TSize requested, std::uint32_t colour_limit);

// Decodes a whole PNG image into pixels with alpha; false when it cannot. The
// icon decoder checks the declared size first, so the decoder is only given
// images small enough to keep. PNG decoding is the platform's.
using PngDecoder = bool (*)(std::span<const std::uint8_t> png, PixelImage& out);

// The built icon: chosen entry's size and its pixels (with alpha), at most
// the visible size.
struct BuiltIcon {
    TSize size;
    PixelImage image;
};

// Builds the displayable icon from the file's bytes, holding no more than
// `visible` (each side at least 1) of its image. Throws EOutOfResources when
// the directory or the chosen image is damaged, a PNG image is larger than
// `visible`, or memory runs out.
BuiltIcon BuildIcon(std::span<const std::uint8_t> bytes, TSize requested, std::uint32_t colour_limit, TSize visible,
                    PngDecoder decode_png);

// Decodes one icon image: a DIB with its AND mask (only its top-left part
// within `visible`), or a PNG (refused when larger than `visible`). Returns
// false when the image cannot be made.
bool DecodeIconImage(std::span<const std::uint8_t> data, TSize visible, PixelImage& out, PngDecoder decode_png);

// Our standard application icon, drawn at the given size.
PixelImage StandardApplicationIcon(TSize size);

}  // namespace automenu
