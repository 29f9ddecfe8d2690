// Raster operations: how what a record draws (the source bitmap S, the
// brush or pen P) is combined bit by bit with the pixels already there (D).
// An operation is named by the index byte of the GDI's ternary code: the
// result for P = 0xF0, S = 0xCC, D = 0xAA. Binary modes (SetROP2) are
// ternary codes that ignore S.
#pragma once

#include <cstdint>

namespace automenu::platform {

constexpr std::uint8_t kRopPatCopy = 0xF0;  // PATCOPY, R2_COPYPEN: the brush or pen alone
constexpr std::uint8_t kRopSrcCopy = 0xCC;  // SRCCOPY: the bitmap alone

// The ternary code of a binary mode (R2_BLACK 1 to R2_WHITE 16); others
// are R2_COPYPEN.
std::uint8_t RopOfMix(int mode);

constexpr bool RopUsesSource(std::uint8_t code) { return (((code >> 2) ^ code) & 0x33) != 0; }
constexpr bool RopUsesPattern(std::uint8_t code) { return (((code >> 4) ^ code) & 0x0F) != 0; }

// The operation on colours of any layout (each bit is combined on its own).
std::uint32_t ApplyRop(std::uint8_t code, std::uint32_t p, std::uint32_t s, std::uint32_t d);

// A premultiplied pixel (0xAARRGGBB) as a plain colour (0x00RRGGBB).
std::uint32_t Unpremultiplied(std::uint32_t px);

// One pixel of a picture (premultiplied 0xAARRGGBB; alpha 0 where nothing
// was drawn yet) after the operation with pattern p and source s
// (0x00RRGGBB), which cover it by `cover` (0 to 255). Where nothing was drawn
// the result stays clear when it is the destination itself (an AND with
// white, an OR with black: the transparent part of a mask pair); otherwise
// it is taken over white, the window colour the picture is usually shown on.
std::uint32_t CombinePixel(std::uint8_t code, std::uint32_t p, std::uint32_t s, std::uint32_t d, unsigned cover);

}  // namespace automenu::platform
