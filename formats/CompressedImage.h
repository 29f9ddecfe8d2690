// PNG and JPEG picture files: what is read of them before the platform's
// decoder sees them. Both systems hand the decoding to a library of their
// own (libpng and libjpeg on Linux, the imaging component on Windows); the
// size a file declares is read and held to the bitmaps' limits here, so
// both accept and refuse the same files and no decoder is asked for more.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "base/Types.h"

namespace automenu {

enum class CompressedImageFormat { Png, Jpeg };

// The failure of a file that is not a picture of its kind, worded as the
// other kinds' failures: "PNG image is not valid", "JPEG image is not valid".
std::string InvalidImageMessage(CompressedImageFormat format);

// At most 2^26 pixels (8192 x 8192), and a PNG's rows at its own sample
// depth at most 256 MiB (a 16-bit RGBA PNG: 2^25 pixels): the imaging
// component on Windows decodes a whole picture at that depth, and this holds
// it to what a 256 MiB bitmap file costs.
constexpr std::uint64_t kMaxCompressedPixels = std::uint64_t{1} << 26;
constexpr std::uint64_t kMaxPngSampleBytes = std::uint64_t{1} << 28;
// A progressive JPEG's coefficients, held until its last scan, and its
// scans, each of which walks the whole picture again.
constexpr std::uint64_t kMaxJpegCoefficientBytes = std::uint64_t{1} << 28;
constexpr int kMaxJpegScans = 256;

// The pixel size the file declares: a PNG's image header, a JPEG's first
// frame header. Throws EInvalidGraphic with the kind's message when the file
// does not begin as that kind, declares an empty size or one beyond the
// limits (32767 a side, kMaxCompressedPixels, and the JPEG limits above), or
// is not whole: a PNG must have all its chunks up to the end chunk, each with
// its checksum; a JPEG must have an end marker after its frame header.
// Decoders then read only the rows that can be seen, and a file damaged past
// them fails all the same.
TSize ReadCompressedImageSize(CompressedImageFormat format, std::span<const std::uint8_t> file);

// The checksum of a PNG chunk: the CRC-32 of its type and data.
std::uint32_t PngCrc32(std::span<const std::uint8_t> bytes);

// A PNG file found whole by ReadCompressedImageSize, with only the chunks
// that make its pixels (image header, palette, transparency, data, end):
// text, colour profiles and private chunks change no pixel we draw, and a
// decoder that reads them all could be made to spend time and memory on them.
std::vector<std::uint8_t> PngPixelChunks(std::span<const std::uint8_t> png);

}  // namespace automenu
