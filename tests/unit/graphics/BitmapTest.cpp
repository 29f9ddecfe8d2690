#include <gtest/gtest.h>

#include "GraphicsTestSupport.h"
#include "support/BmpHeader.h"
#include "ui/BmpDecoder.h"
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
        const char* class_name;
        std::string message;
    } rows[] = {
        {"not_bm_signature.bmp", "EInvalidGraphic", "Bitmap image is not valid"},
        {"planes_zero.bmp", "EInvalidGraphic", "Bitmap image is not valid"},
        {"width_over_limit.bmp", "EInvalidGraphic", "Bitmap image is not valid"},
        {"pixel_count_over_limit.bmp", "EInvalidGraphic", "Bitmap image is not valid"},
        {"rle8_top_down.bmp", "EInvalidGraphic", "Bitmap image is not valid"},
        {"file_header_cut.bmp", "EReadError", "Stream read error"},
        {"info_header_cut.bmp", "EReadError", "Stream read error"},
        {"info_header_size_huge.bmp", "EReadError", "Stream read error"},
        {"bitfield_masks_cut.bmp", "EReadError", "Stream read error"},
        {"palette_cut.bmp", "EReadError", "Stream read error"},
        {"missing.bmp", "EFOpenError", "Cannot open file " + PictureFixture("missing.bmp")},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.file);
        TBitmap bitmap;
        bitmap.LoadFromFile(PictureFixture("pal1.bmp"));
        int changes = 0;
        bitmap.SetOnChange([&] { ++changes; });
        ExpectFailure([&] { bitmap.LoadFromFile(PictureFixture(row.file)); }, row.class_name, row.message);
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
            ExpectFailure([&] { DecodeBmpFile(bytes); }, "EInvalidGraphic", "Bitmap image is not valid");
        }
    }
}

}  // namespace
}  // namespace automenu::test
