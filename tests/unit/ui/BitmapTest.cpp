#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "support/GraphicsTestSupport.h"
#include "formats/BmpDecoder.h"
#include "support/BmpHeader.h"
#include "ui/TBitmap.h"

namespace automenu::test {
namespace {

class BitmapFiles : public PictureTest {};

// Each header form, bit depth and compression against the tools' reading.
TEST_F(BitmapFiles, DecodeLikeTheReferenceTools) {
    const char* names[] = {
        "rgb24_core",  // 12-byte header
        "rgb24_v3",    // 40
        "rgb565_v52",  // 52
        "rgb565_v56",  // 56
        "rgb24_v4",    // 108
        "rgb24_v5",    // 124
        "pal1",        "pal4", "pal8", "rle4", "rle8",
        "rgb555_bi_rgb", "rgb555", "rgb565", "rgb565_v3",  // 16 bits, plain and bit fields
        "rgb32",       "argb32",  // the fourth byte is no alpha for a bitmap
        "topdown24",
    };
    for (const char* name : names) {
        SCOPED_TRACE(name);
        TBitmap bitmap;
        bitmap.LoadFromFile(PictureFixture(std::string(name) + ".bmp"));
        const PixelImage expected = LoadReferencePng(std::string(name) + ".png");
        ASSERT_EQ(bitmap.Width(), 17);
        ASSERT_EQ(bitmap.Height(), 11);
        EXPECT_FALSE(bitmap.Image().has_alpha);
        // Scaling 5- and 6-bit channels may round one step apart.
        EXPECT_EQ(MismatchShare(bitmap.Image(), expected, 4), 0.0);
    }
}

TEST_F(BitmapFiles, FailuresHaveTheirClassAndMessage) {
    struct Row {
        const char* file;
        const std::type_info& type;
        std::string message;
    } rows[] = {
        {"not_bm_signature.bmp", typeid(EInvalidGraphic), "Bitmap image is not valid"},
        {"planes_zero.bmp", typeid(EInvalidGraphic), "Bitmap image is not valid"},
        {"width_over_limit.bmp", typeid(EInvalidGraphic), "Bitmap image is not valid"},
        {"pixel_count_over_limit.bmp", typeid(EInvalidGraphic), "Bitmap image is not valid"},
        {"rle8_top_down.bmp", typeid(EInvalidGraphic), "Bitmap image is not valid"},
        {"file_header_cut.bmp", typeid(EReadError), "Stream read error"},
        {"info_header_cut.bmp", typeid(EReadError), "Stream read error"},
        {"info_header_size_huge.bmp", typeid(EReadError), "Stream read error"},
        {"bitfield_masks_cut.bmp", typeid(EReadError), "Stream read error"},
        {"palette_cut.bmp", typeid(EReadError), "Stream read error"},
        {"missing.bmp", typeid(EFOpenError), "Cannot open file " + PictureFixture("missing.bmp")},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.file);
        TBitmap bitmap;
        bitmap.LoadFromFile(PictureFixture("pal1.bmp"));
        int changes = 0;
        bitmap.SetOnChange([&] { ++changes; });
        ExpectFailure([&] { bitmap.LoadFromFile(PictureFixture(row.file)); }, row.type, row.message);
        // The previous picture stays, untouched.
        EXPECT_EQ(bitmap.Width(), 17);
        EXPECT_EQ(changes, 0);
    }
}

TEST_F(BitmapFiles, EmptyFileIsAnEmptyBitmap) {
    TBitmap bitmap;
    bitmap.LoadFromFile(PictureFixture("empty.bmp"));
    EXPECT_TRUE(bitmap.Empty());
    EXPECT_EQ(bitmap.Width(), 0);
    EXPECT_EQ(bitmap.Height(), 0);
}

TEST_F(BitmapFiles, MissingPixelRowsReadAsBlack) {
    // Two rows short: bottom-up, so the top two rows are missing.
    TBitmap bitmap;
    bitmap.LoadFromFile(PictureFixture("pixels_cut.bmp"));
    const PixelImage expected = LoadReferencePng("rgb24_v3.png");
    const PixelImage& got = bitmap.Image();
    ASSERT_EQ(got.height, 11);
    for (int y = 0; y < got.height; ++y)
        for (int x = 0; x < got.width; ++x) {
            const std::size_t i = static_cast<std::size_t>(y) * got.width + x;
            EXPECT_EQ(got.pixels[i], y < 2 ? 0xFF000000u : expected.pixels[i]) << x << "," << y;
        }
}

TEST_F(BitmapFiles, RleRunsPastTheImageAreClipped) {
    TBitmap bitmap;
    bitmap.LoadFromFile(PictureFixture("rle8_runs_past_image.bmp"));
    EXPECT_EQ(bitmap.Width(), 17);
    EXPECT_EQ(bitmap.Height(), 11);
}

// The test platform's screen: all of a picture that can ever be seen.
constexpr TSize kScreen{1024, 768};

std::uint32_t Opaque(Rgb c) { return 0xFF000000u | (std::uint32_t{c.r} << 16) | (std::uint32_t{c.g} << 8) | c.b; }

Rgb Pattern(int x, int y) {
    return {static_cast<std::uint8_t>(x * 7), static_cast<std::uint8_t>(y * 5), static_cast<std::uint8_t>(x ^ y)};
}

// A 24-bit bitmap of the pattern, rows bottom-up or (negative height) top-down.
std::vector<std::uint8_t> PatternBitmap(int width, int height) {
    const int rows = height < 0 ? -height : height;
    const std::size_t stride = (static_cast<std::size_t>(width) * 3 + 3) & ~std::size_t{3};
    std::vector<std::uint8_t> b = testing::BmpHeader(width, height, 24);
    b.resize(54 + stride * rows);
    for (int y = 0; y < rows; ++y) {
        const int stored = height < 0 ? y : rows - 1 - y;
        for (int x = 0; x < width; ++x) {
            std::uint8_t* p = &b[54 + stride * stored + 3 * static_cast<std::size_t>(x)];
            const Rgb c = Pattern(x, y);
            p[0] = c.b;
            p[1] = c.g;
            p[2] = c.r;
        }
    }
    return b;
}

// RLE8 at 16384 x 16384 with 16 colours (index i is grey i * 0x11): the
// stream paints the bottom row, skips to the top rows by deltas, and there
// paints 3 pixels of index t + 1 on row t (t from the top), and on the top
// row a run of index 5 from x = 1020 past the held width.
constexpr int kRleSide = 16384;
std::vector<std::uint8_t> LargeRle8() {
    std::vector<std::uint8_t> b = testing::BmpHeader(kRleSide, kRleSide, 8, 1);
    testing::Put32(b, 46, 16);  // colours used
    for (std::uint32_t i = 0; i < 16; ++i) {
        const std::uint8_t v = static_cast<std::uint8_t>(i * 0x11);
        b.insert(b.end(), {v, v, v, 0});
    }
    auto op = [&b](std::initializer_list<std::uint8_t> bytes) { b.insert(b.end(), bytes); };
    op({200, 7, 0, 0});  // bottom row, not visible; end of line
    for (int row = 1; row < kRleSide - 4;) {
        const int step = std::min(255, kRleSide - 4 - row);
        op({0, 2, 0, static_cast<std::uint8_t>(step)});
        row += step;
    }
    for (int t = 3; t >= 0; --t) {
        op({3, static_cast<std::uint8_t>(t + 1)});
        if (t == 0) op({255, 0, 255, 0, 255, 0, 252, 0, 10, 5});  // to x = 1020: 4 held, 6 cut
        op({0, 0});
    }
    op({0, 1});
    return b;
}

std::uint32_t LargeRle8Pixel(int x, int y) {
    const auto grey = [](std::uint32_t i) { return 0xFF000000u | (i * 0x11) * 0x010101u; };
    if (y < 4 && x < 3) return grey(static_cast<std::uint32_t>(y + 1));
    if (y == 0 && x >= kScreen.cx - 4) return grey(5);
    return 0xFF000000u;
}

TEST_F(BitmapFiles, LargerThanTheScreenHoldsTheVisibleTopLeftPart) {
    struct Row {
        const char* name;
        std::vector<std::uint8_t> bytes;
        TSize natural;
        std::function<std::uint32_t(int, int)> pixel;  // expected at a held x, y
    } rows[] = {
        {"header only, 32767 x 8192", testing::BmpHeader(32767, 8192, 24), {32767, 8192},
         [](int, int) { return 0xFF000000u; }},
        {"RLE8 16384 x 16384", LargeRle8(), {kRleSide, kRleSide}, LargeRle8Pixel},
        {"bottom-up 1100 x 800", PatternBitmap(1100, 800), {1100, 800},
         [](int x, int y) { return Opaque(Pattern(x, y)); }},
        {"top-down 1100 x 800", PatternBitmap(1100, -800), {1100, 800},
         [](int x, int y) { return Opaque(Pattern(x, y)); }},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        TBitmap bitmap;
        bitmap.LoadFromBytes(row.bytes);
        EXPECT_EQ(bitmap.Width(), row.natural.cx);
        EXPECT_EQ(bitmap.Height(), row.natural.cy);
        const PixelImage& held = bitmap.Image();
        ASSERT_EQ(held.width, kScreen.cx);
        ASSERT_EQ(held.height, kScreen.cy);
        ASSERT_EQ(held.pixels.size(), static_cast<std::size_t>(kScreen.cx) * kScreen.cy);
        int wrong = 0;
        for (int y = 0; y < held.height; ++y)
            for (int x = 0; x < held.width; ++x)
                if (held.pixels[static_cast<std::size_t>(y) * held.width + x] != row.pixel(x, y) && ++wrong <= 3)
                    ADD_FAILURE() << "pixel " << x << "," << y;
        EXPECT_EQ(wrong, 0);
    }
}

// Inline headers for limits that need no file.
std::vector<std::uint8_t> BitmapHeader(std::int32_t width, std::int32_t height, std::uint16_t bits,
                                       std::uint32_t compression = 0) {
    std::vector<std::uint8_t> b = testing::BmpHeader(width, height, bits, compression);
    b.resize(b.size() + 1024);  // a zeroed colour table (or black pixels)
    return b;
}

TEST(BmpDecoder, LimitsAndUnsupportedForms) {
    struct Row {
        std::int32_t width, height;
        std::uint16_t bits;
        std::uint32_t compression;
        bool valid;
    } rows[] = {
        {32767, 1, 24, 0, true},      {32768, 1, 24, 0, false},   {1, -32767, 24, 0, true},
        {1, INT32_MIN, 24, 0, false}, {1024, 1024, 1, 0, true},  {16385, 16384, 24, 0, false},
        {0, 1, 24, 0, false},         {-5, 1, 24, 0, false},      {4, 4, 2, 0, false},
        {4, 4, 24, 1, false},         {4, 4, 8, 2, false},        {4, 4, 24, 3, false},
        {4, 4, 0, 5, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(::testing::Message() << row.width << "x" << row.height << " " << row.bits << " bits, "
                                        << row.compression);
        auto bytes = BitmapHeader(row.width, row.height, row.bits, row.compression);
        if (row.valid) {
            PixelImage img = DecodeBmpFile(bytes);
            EXPECT_EQ(img.width, row.width);
            // No pixel data at all: every pixel black.
            EXPECT_EQ(img.pixels.front(), 0xFF000000u);
        } else {
            ExpectFailure([&] { DecodeBmpFile(bytes); }, typeid(EInvalidGraphic), "Bitmap image is not valid");
        }
    }
}

}  // namespace
}  // namespace automenu::test
