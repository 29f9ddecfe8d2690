// The file checks made before any decoder sees a PNG or JPEG picture.
#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>
#include <vector>

#include "base/Exceptions.h"
#include "formats/CompressedImage.h"

namespace automenu {
namespace {

// PNG pieces with their checksums (computed by zlib's crc32).
using Bytes = std::vector<std::uint8_t>;
const Bytes kPngSignature = {0x89, 'P', 'N', 'G', 13, 10, 26, 10};
const Bytes kHeader256x2 = {0, 0, 0, 13, 'I', 'H', 'D', 'R', 0,    0,    1,    0,   0,
                            0, 0, 2, 8,  2,   0,   0,   0,   0x38, 0xAF, 0x95, 0x8E};
const Bytes kHeaderTooWide = {0, 0, 0, 13, 'I', 'H', 'D', 'R', 0x80, 0,    0,    0,   0,
                              0, 0, 1, 8,  2,   0,   0,   0,   0xDF, 0xDF, 0x1D, 0xF7};
const Bytes kEmptyData = {0, 0, 0, 0, 'I', 'D', 'A', 'T', 0x35, 0xAF, 0x06, 0x1E};
const Bytes kText = {0, 0, 0, 3, 't', 'E', 'X', 't', 'a', 0, 'b', 0xDC, 0x49, 0xA2, 0x3B};
const Bytes kTransparency = {0, 0, 0, 6, 't', 'R', 'N', 'S', 0, 0, 0, 0, 0, 0, 0x6E, 0xA6, 7, 0x91};
const Bytes kEnd = {0, 0, 0, 0, 'I', 'E', 'N', 'D', 0xAE, 0x42, 0x60, 0x82};

Bytes Join(std::initializer_list<Bytes> parts) {
    Bytes out;
    for (const Bytes& p : parts) out.insert(out.end(), p.begin(), p.end());
    return out;
}

// An image header chunk, its checksum made by PngCrc32 (which the literal
// chunks above, made by zlib, hold to the standard's).
Bytes PngHeader(std::uint32_t width, std::uint32_t height, std::uint8_t depth, std::uint8_t colour_type) {
    Bytes b = {0, 0, 0, 13, 'I', 'H', 'D', 'R'};
    for (std::uint32_t v : {width, height})
        for (int shift : {24, 16, 8, 0}) b.push_back(static_cast<std::uint8_t>(v >> shift));
    b.insert(b.end(), {depth, colour_type, 0, 0, 0});
    const std::uint32_t crc = PngCrc32(std::span(b).subspan(4));
    for (int shift : {24, 16, 8, 0}) b.push_back(static_cast<std::uint8_t>(crc >> shift));
    return b;
}

Bytes WithByteFlipped(Bytes b, std::size_t at) {
    b[at] ^= 0x01;
    return b;
}

// A JPEG file: a frame header of the marker, size and components' sampling
// factors, `scans` scans of two bytes of data, and the end marker when `end`.
Bytes Jpeg(std::uint8_t marker, int width, int height, std::vector<std::uint8_t> sampling, int scans = 1,
           bool end = true) {
    Bytes b;
    auto put = [&](std::initializer_list<int> bytes) {
        for (int v : bytes) b.push_back(static_cast<std::uint8_t>(v));
    };
    const int components = static_cast<int>(sampling.size());
    put({0xFF, 0xD8, 0xFF, marker, 0, 8 + 3 * components, 8, height >> 8, height & 0xFF, width >> 8, width & 0xFF,
         components});
    for (int i = 0; i < components; ++i) put({i + 1, sampling[static_cast<std::size_t>(i)], 0});
    for (int i = 0; i < scans; ++i) put({0xFF, 0xDA, 0, 2, 0x12, 0xFF, 0});
    if (end) put({0xFF, 0xD9});
    return b;
}
constexpr std::uint8_t kBaseline = 0xC0, kProgressive = 0xC2;

TEST(CompressedImageSize, IsReadFromTheHeaderOfAWholeFileBeforeAnyDecoding) {
    struct Row {
        const char* what;
        Bytes bytes;
        CompressedImageFormat format;
        TSize size;  // {0, 0}: refused
    } rows[] = {
        {"PNG", Join({kPngSignature, kHeader256x2, kEmptyData, kEnd}), CompressedImageFormat::Png, {256, 2}},
        {"PNG, bytes after its end",
         Join({kPngSignature, kHeader256x2, kEnd, {1, 2, 3}}),
         CompressedImageFormat::Png,
         {256, 2}},
        {"PNG, image header not first",
         Join({kPngSignature, kEmptyData, kHeader256x2, kEnd}),
         CompressedImageFormat::Png,
         {}},
        {"PNG, width past 31 bits", Join({kPngSignature, kHeaderTooWide, kEnd}), CompressedImageFormat::Png, {}},
        {"PNG without its end chunk", Join({kPngSignature, kHeader256x2, kEmptyData}), CompressedImageFormat::Png, {}},
        {"PNG, header checksum wrong",
         WithByteFlipped(Join({kPngSignature, kHeader256x2, kEnd}), 20),
         CompressedImageFormat::Png,
         {}},
        {"PNG, data checksum wrong",
         WithByteFlipped(Join({kPngSignature, kHeader256x2, kEmptyData, kEnd}), 41),
         CompressedImageFormat::Png,
         {}},
        {"PNG, chunk longer than the file",
         Join({kPngSignature, kHeader256x2, {0, 0, 1, 0, 'I', 'D', 'A', 'T'}}),
         CompressedImageFormat::Png,
         {}},
        {"PNG of 2^26 pixels",
         Join({kPngSignature, PngHeader(8192, 8192, 8, 6), kEnd}),
         CompressedImageFormat::Png,
         {8192, 8192}},
        {"PNG of more", Join({kPngSignature, PngHeader(8193, 8192, 8, 2), kEnd}), CompressedImageFormat::Png, {}},
        // 256 MiB of rows at the file's own depth.
        {"16-bit RGBA PNG of 2^25 pixels",
         Join({kPngSignature, PngHeader(8192, 4096, 16, 6), kEnd}),
         CompressedImageFormat::Png,
         {8192, 4096}},
        {"16-bit RGBA PNG of a row more",
         Join({kPngSignature, PngHeader(8192, 4097, 16, 6), kEnd}),
         CompressedImageFormat::Png,
         {}},
        {"1-bit grey PNG, 32767 x 2048",
         Join({kPngSignature, PngHeader(32767, 2048, 1, 0), kEnd}),
         CompressedImageFormat::Png,
         {32767, 2048}},
        {"PNG of colour type 5", Join({kPngSignature, PngHeader(256, 2, 8, 5), kEnd}), CompressedImageFormat::Png, {}},
        // Markers before the frame are stepped over; fill bytes and markers without length too.
        {"JPEG",
         {0xFF, 0xD8, 0xFF, 0xE0, 0, 4, 1, 2, 0xFF, 0xFF, 0xD0, 0xFF, 0xC2,
          0,    11,   8,    0,    7, 0, 9, 1, 1,    0x11, 0,    0xFF, 0xD9},
         CompressedImageFormat::Jpeg,
         {9, 7}},
        {"JPEG, tables first",
         {0xFF, 0xD8, 0xFF, 0xC4, 0, 2, 0xFF, 0xC1, 0, 11, 8, 1, 0, 1, 0, 1, 1, 0x11, 0, 0xFF, 0xD9, 0},
         CompressedImageFormat::Jpeg,
         {256, 256}},
        {"JPEG without its end marker", Jpeg(kBaseline, 9, 7, {0x11}, 1, false), CompressedImageFormat::Jpeg, {}},
        {"JPEG, sampling factor 0", Jpeg(kBaseline, 9, 7, {0x10}), CompressedImageFormat::Jpeg, {}},
        {"JPEG, frame header cut",
         {0xFF, 0xD8, 0xFF, 0xC0, 0, 11, 8, 0, 7, 0, 9, 0xFF, 0xD9},
         CompressedImageFormat::Jpeg,
         {}},
        {"JPEG of 2^26 pixels",
         Jpeg(kBaseline, 8192, 8192, {0x11, 0x11, 0x11}),
         CompressedImageFormat::Jpeg,
         {8192, 8192}},
        {"JPEG of more", Jpeg(kBaseline, 8193, 8192, {0x11}), CompressedImageFormat::Jpeg, {}},
        // Progressive: 2 bytes a coefficient, 64 a block, for every block of every component.
        {"progressive grey, 128 MiB",
         Jpeg(kProgressive, 8192, 8192, {0x11}),
         CompressedImageFormat::Jpeg,
         {8192, 8192}},
        {"progressive colour, 384 MiB",
         Jpeg(kProgressive, 8192, 8192, {0x11, 0x11, 0x11}),
         CompressedImageFormat::Jpeg,
         {}},
        {"progressive, halved colour, 192 MiB",
         Jpeg(kProgressive, 8192, 8192, {0x22, 0x11, 0x11}),
         CompressedImageFormat::Jpeg,
         {8192, 8192}},
        {"progressive colour, 836 x 836 blocks of 3 components: 255.9 MiB",
         Jpeg(kProgressive, 6688, 6681, {0x11, 0x11, 0x11}),
         CompressedImageFormat::Jpeg,
         {6688, 6681}},
        {"progressive colour, a block row more",
         Jpeg(kProgressive, 6688, 6689, {0x11, 0x11, 0x11}),
         CompressedImageFormat::Jpeg,
         {}},
        {"256 scans", Jpeg(kProgressive, 64, 64, {0x11}, 256), CompressedImageFormat::Jpeg, {64, 64}},
        {"257 scans", Jpeg(kProgressive, 64, 64, {0x11}, 257), CompressedImageFormat::Jpeg, {}},
        {"JPEG, data before any frame", {0xFF, 0xD8, 0xFF, 0xDA, 0, 2, 0xFF, 0xD9}, CompressedImageFormat::Jpeg, {}},
        {"JPEG, length under 2", {0xFF, 0xD8, 0xFF, 0xE1, 0, 1}, CompressedImageFormat::Jpeg, {}},
        {"JPEG, length past the end", {0xFF, 0xD8, 0xFF, 0xE1, 0xFF, 0xF0, 0}, CompressedImageFormat::Jpeg, {}},
        {"JPEG end only", {0xFF, 0xD9}, CompressedImageFormat::Jpeg, {}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        if (row.size.cx == 0) {
            EXPECT_THROW(ReadCompressedImageSize(row.format, row.bytes), EInvalidGraphic);
        } else {
            EXPECT_EQ(ReadCompressedImageSize(row.format, row.bytes), row.size);
        }
    }
}

TEST(PngPixelChunks, KeepOnlyWhatMakesThePixels) {
    const Bytes whole = Join({kPngSignature, kHeader256x2, kText, kTransparency, kEmptyData, kText, kEnd, {1, 2}});
    EXPECT_EQ(PngPixelChunks(whole), Join({kPngSignature, kHeader256x2, kTransparency, kEmptyData, kEnd}));
}

}  // namespace
}  // namespace automenu
